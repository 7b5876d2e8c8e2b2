#pragma once
// Compensated (Neumaier) summation: long columns of money amounts add up without the drift of
// a plain running sum. Internal to the formula engine.

#include <cmath>

namespace tabulix::spreadsheet::formula {

class AccurateSum {
public:
    void add(double x) {
        const double t = sum_ + x;
        compensation_ += std::fabs(sum_) >= std::fabs(x) ? (sum_ - t) + x : (x - t) + sum_;
        sum_ = t;
    }
    double value() const { return sum_ + compensation_; }

private:
    double sum_ = 0.0;
    double compensation_ = 0.0;
};

}  // namespace tabulix::spreadsheet::formula
