// Formula engine throughput: 100,000 formulas "=SUM(Cn:Cm)" over a 100,000-row column, parsed,
// registered and evaluated through a host, then one precedent changed and everything
// recalculated. The reference is the same sums computed directly over an array of doubles in
// the same run; the ratio says what parsing, dependency tracking and the host interface cost.

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "spreadsheet/formula/recalculator.h"

using namespace tabulix::spreadsheet::formula;

namespace {

constexpr int kRows = 100000;
constexpr int kMaxWindow = 100;
constexpr int kDataColumn = 3;    // C
constexpr int kResultColumn = 4;  // D

// One sheet kept as dense columns, the way a cell store keeps a data block.
class ColumnHost : public FormulaHost {
public:
    ColumnHost() : columns_(kResultColumn + 1, std::vector<Value>(kRows + 1)) {}

    void set(int row, int column, Value value) { columns_[column][row] = std::move(value); }
    const Value& get(int row, int column) const { return columns_[column][row]; }

    std::optional<int> sheetIndex(std::string_view) const override { return 0; }
    Value cellValue(int, int row, int column) const override {
        return inside(row, column) ? columns_[column][row] : Value();
    }
    void forEachFilledCell(int, const CellRect& rect, const CellVisitor& visit) const override {
        for (int column = rect.firstColumn; column <= rect.lastColumn && column <= kResultColumn; ++column)
            for (int row = rect.firstRow; row <= rect.lastRow && row <= kRows; ++row)
                if (!columns_[column][row].isEmpty()) visit(row, column, columns_[column][row]);
    }
    void setFormulaResult(int, int row, int column, const Value& result) override {
        if (inside(row, column)) columns_[column][row] = result;
    }

private:
    static bool inside(int row, int column) { return row >= 1 && row <= kRows && column >= 1 && column <= kResultColumn; }
    std::vector<std::vector<Value>> columns_;
};

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

long peakMemoryKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace

int main() {
    std::mt19937 random(20240315);
    std::uniform_real_distribution<double> amount(-1000.0, 5000.0);
    std::uniform_int_distribution<int> window(1, kMaxWindow);

    ColumnHost host;
    std::vector<double> data(kRows + 1);
    for (int row = 1; row <= kRows; ++row) {
        data[row] = amount(random);
        host.set(row, kDataColumn, data[row]);
    }
    std::vector<std::pair<int, int>> ranges(kRows + 1);
    std::vector<std::string> texts(kRows + 1);
    long long cellsRead = 0;
    for (int row = 1; row <= kRows; ++row) {
        const int last = std::min(kRows, row + window(random) - 1);
        ranges[row] = {row, last};
        texts[row] = "=SUM(C" + std::to_string(row) + ":C" + std::to_string(last) + ")";
        cellsRead += last - row + 1;
    }

    // Reference: the same sums straight from an array.
    auto start = std::chrono::steady_clock::now();
    std::vector<double> expected(kRows + 1);
    for (int row = 1; row <= kRows; ++row) {
        double sum = 0;
        for (int r = ranges[row].first; r <= ranges[row].second; ++r) sum += data[r];
        expected[row] = sum;
    }
    const double referenceSeconds = secondsSince(start);

    start = std::chrono::steady_clock::now();
    std::vector<Formula> formulas;
    formulas.reserve(kRows + 1);
    formulas.emplace_back();
    for (int row = 1; row <= kRows; ++row) formulas.push_back(Formula::parse(texts[row]));
    const double parseSeconds = secondsSince(start);

    SystemClock clock;
    Recalculator recalculator(host, clock);
    start = std::chrono::steady_clock::now();
    for (int row = 1; row <= kRows; ++row)
        recalculator.setFormula(CellPosition{0, row, kResultColumn}, std::move(formulas[row]));
    const double evaluateSeconds = secondsSince(start);

    int wrong = 0;
    for (int row = 1; row <= kRows; ++row) {
        const Value& result = host.get(row, kResultColumn);
        if (!result.isNumber() || std::abs(result.number() - expected[row]) > 1e-6 * (1 + std::abs(expected[row]))) ++wrong;
    }

    // One precedent changes: only the formulas whose window holds it are recomputed.
    constexpr int kChangedRow = kRows / 2;
    host.set(kChangedRow, kDataColumn, 1.0);
    start = std::chrono::steady_clock::now();
    recalculator.cellChanged(CellPosition{0, kChangedRow, kDataColumn});
    const double changeSeconds = secondsSince(start);
    int dependents = 0;
    for (int row = 1; row <= kRows; ++row) dependents += ranges[row].first <= kChangedRow && kChangedRow <= ranges[row].second;

    start = std::chrono::steady_clock::now();
    recalculator.recalculateAll();
    const double allSeconds = secondsSince(start);

    const double total = parseSeconds + evaluateSeconds;
    std::printf("formulas                 %d  =SUM(Cn:Cm), windows of 1..%d rows (%.1f cells on average)\n", kRows,
                kMaxWindow, double(cellsRead) / kRows);
    std::printf("parse                    %.3f s  %.0f formulas/s\n", parseSeconds, kRows / parseSeconds);
    std::printf("register and evaluate    %.3f s  %.0f formulas/s\n", evaluateSeconds, kRows / evaluateSeconds);
    std::printf("parse and evaluate       %.3f s  %.0f formulas/s\n", total, kRows / total);
    std::printf("reference (plain sums)   %.4f s  ratio %.1f\n", referenceSeconds, total / referenceSeconds);
    std::printf("one precedent changed    %.4f s  %d formulas recomputed\n", changeSeconds, dependents);
    std::printf("recalculate all          %.3f s  %.0f formulas/s\n", allSeconds, kRows / allSeconds);
    std::printf("peak memory              %.1f MiB\n", peakMemoryKiB() / 1024.0);
    if (wrong) std::printf("WRONG RESULTS            %d\n", wrong);
    return wrong ? 1 : 0;
}
