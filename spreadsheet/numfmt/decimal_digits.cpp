#include "decimal_digits.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace tabulix::spreadsheet::numfmt {

DecimalDigits DecimalDigits::fromDouble(double value) {
    DecimalDigits d;
    value = std::fabs(value);
    if (value == 0.0) return d;
    // A value scaled past the double range (percent signs, fixed denominators) shows as the
    // largest number there is rather than as text that holds no digits.
    if (!std::isfinite(value)) value = std::numeric_limits<double>::max();
    char buf[40];
    // "d.dddddddddddddde+XX": 15 significant digits, correctly rounded from the binary value.
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
    (void)ec;
    const std::string_view text(buf, static_cast<std::size_t>(end - buf));
    const std::size_t e = text.find('e');
    d.digits_ = std::string(1, text[0]) + std::string(text.substr(2, e - 2));
    int exponent = 0;
    std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(), exponent);
    d.point_ = exponent + 1;
    while (!d.digits_.empty() && d.digits_.back() == '0') d.digits_.pop_back();
    return d;
}

void DecimalDigits::shift(int powers) {
    if (!isZero()) point_ += powers;
}

void DecimalDigits::roundToDecimals(int decimals) { keepLeading(static_cast<long>(point_) + decimals); }

void DecimalDigits::roundToSignificant(int digits) { keepLeading(digits); }

void DecimalDigits::keepLeading(long count) {
    if (count >= static_cast<long>(digits_.size())) return;
    if (count < 0) {
        digits_.clear();
        point_ = 0;
        return;
    }
    const bool up = digits_[static_cast<std::size_t>(count)] >= '5';
    digits_.resize(static_cast<std::size_t>(count));
    if (up) {
        long i = count - 1;
        while (i >= 0 && digits_[static_cast<std::size_t>(i)] == '9') digits_[static_cast<std::size_t>(i--)] = '0';
        if (i < 0) {
            digits_.insert(digits_.begin(), '1');
            ++point_;
        } else {
            ++digits_[static_cast<std::size_t>(i)];
        }
    }
    while (!digits_.empty() && digits_.back() == '0') digits_.pop_back();
    if (digits_.empty()) point_ = 0;
}

std::string DecimalDigits::integerDigits() const {
    if (point_ <= 0) return {};
    std::string out = digits_.substr(0, static_cast<std::size_t>(point_));
    out.append(static_cast<std::size_t>(point_) - out.size(), '0');
    return out;
}

std::string DecimalDigits::fractionDigits(int count) const {
    std::string out;
    out.reserve(static_cast<std::size_t>(count > 0 ? count : 0));
    for (int k = 0; k < count; ++k) {
        const long index = static_cast<long>(point_) + k;
        out += (index >= 0 && index < static_cast<long>(digits_.size())) ? digits_[static_cast<std::size_t>(index)] : '0';
    }
    return out;
}

int DecimalDigits::decimalsUsed() const {
    const int used = static_cast<int>(digits_.size()) - point_;
    return used > 0 ? used : 0;
}

}  // namespace tabulix::spreadsheet::numfmt
