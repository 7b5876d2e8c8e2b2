#pragma once
// Keeps the formulas of a workbook and their results current. It knows which cells each formula
// reads; when a cell changes it recomputes the formulas that depend on it, directly or through
// other formulas, each after the formulas it reads, and writes the results through the host.
//
// A formula that depends on itself, directly or through others, gets kCircularReferenceError,
// as does every formula in the same loop; formulas that merely read such a cell get that error
// by propagation. Nothing recurses, so long chains and loops cannot exhaust the stack.
//
// How a cell store drives it:
//   - a formula put:  parse first (a refused text leaves the cell alone), then setFormula();
//   - a value put or a cleared cell:  removeFormula() if the cell held one, then cellChanged();
//   - several puts at once:  hold a Batch while making them; the work is done once at the end;
//   - saving:  the results are already stored through FormulaHost::setFormulaResult().

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "spreadsheet/formula/clock.h"
#include "spreadsheet/formula/dependency_index.h"
#include "spreadsheet/formula/evaluator.h"
#include "spreadsheet/formula/formula.h"
#include "spreadsheet/formula/formula_host.h"

namespace tabulix::spreadsheet::formula {

// The value of formulas caught in a circular reference: #REF!, an error every .xlsx reader knows.
inline constexpr ErrorCode kCircularReferenceError = ErrorCode::Ref;

class Recalculator {
public:
    // Both are borrowed and must outlive the recalculator.
    Recalculator(FormulaHost& host, const Clock& clock);
    ~Recalculator();

    // Puts `formula` at `at`, replacing any formula there, then computes it and its dependents.
    void setFormula(const CellPosition& at, Formula formula);
    // Forgets the formula at `at`, if any. Its dependents are recomputed by the cellChanged()
    // call that follows when the cell gets its new content.
    void removeFormula(const CellPosition& at);
    // A cell without a formula changed: recomputes the formulas that depend on it.
    void cellChanged(const CellPosition& at);
    // Recomputes every formula, reading sheet names anew (a sheet added since may now be found).
    void recalculateAll();

    // The formula at `at`, or nullptr.
    const Formula* formulaAt(const CellPosition& at) const;
    std::size_t formulaCount() const { return slotAt_.size(); }

    // While a Batch lives, changes are collected; its destruction computes them all at once.
    class Batch {
    public:
        explicit Batch(Recalculator& recalculator) : recalculator_(recalculator) { ++recalculator_.batchDepth_; }
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        Recalculator& recalculator_;
    };

private:
    struct Dependency {
        int sheet;
        CellRect rect;
    };
    struct FormulaCell {
        CellPosition at;
        Formula formula;
        std::vector<Dependency> dependencies;
        bool alive = false;
    };

    static std::uint64_t key(const CellPosition& at);
    void registerDependencies(std::uint32_t slot);
    void unregisterDependencies(std::uint32_t slot);
    void flush();
    void recalculate(const std::vector<CellPosition>& changedCells, const std::vector<std::uint32_t>& changedFormulas);

    struct Scratch;

    FormulaHost& host_;
    Evaluator evaluator_;
    std::unique_ptr<Scratch> scratch_;
    std::vector<FormulaCell> cells_;
    std::vector<std::uint32_t> freeSlots_;
    std::unordered_map<std::uint64_t, std::uint32_t> slotAt_;
    std::unordered_set<std::uint32_t> volatileSlots_;
    DependencyIndex index_;

    int batchDepth_ = 0;
    std::vector<CellPosition> pendingCells_;
    std::vector<std::uint32_t> pendingFormulas_;
};

}  // namespace tabulix::spreadsheet::formula
