#include "spreadsheet/formula/recalculator.h"

#include <algorithm>

namespace tabulix::spreadsheet::formula {

// The formulas to recompute and who reads whom among them (edge a -> b: b reads a's cell), and
// the working space of Tarjan's algorithm. Kept between recalculations to spare allocations.
struct Recalculator::Scratch {
    std::vector<std::uint32_t> slots;  // node -> formula slot
    std::vector<std::vector<std::uint32_t>> readers;
    std::unordered_map<std::uint32_t, std::uint32_t> nodeOf;
    std::vector<std::uint32_t> queue;

    std::vector<std::uint32_t> index, low, stack;
    std::vector<bool> onStack;
    std::vector<std::pair<std::uint32_t, std::size_t>> frames;  // node, next edge
    std::vector<std::uint32_t> componentNodes;                  // components one after another
    std::vector<std::size_t> componentEnds;

    void clear() {
        for (std::size_t i = 0; i < slots.size(); ++i) readers[i].clear();
        slots.clear();
        nodeOf.clear();
        queue.clear();
    }

    std::uint32_t node(std::uint32_t slot) {
        auto [it, inserted] = nodeOf.try_emplace(slot, static_cast<std::uint32_t>(slots.size()));
        if (inserted) {
            slots.push_back(slot);
            if (readers.size() < slots.size()) readers.emplace_back();
            queue.push_back(it->second);
        }
        return it->second;
    }

    // Tarjan's strongly connected components without recursion. Components come out readers
    // first: every component is emitted after all components that read it.
    void findComponents() {
        constexpr std::uint32_t kUnvisited = UINT32_MAX;
        const std::size_t n = slots.size();
        index.assign(n, kUnvisited);
        low.assign(n, 0);
        onStack.assign(n, false);
        stack.clear();
        frames.clear();
        componentNodes.clear();
        componentEnds.clear();
        std::uint32_t counter = 0;
        auto open = [&](std::uint32_t v) {
            index[v] = low[v] = counter++;
            stack.push_back(v);
            onStack[v] = true;
            frames.emplace_back(v, 0);
        };
        for (std::uint32_t start = 0; start < n; ++start) {
            if (index[start] != kUnvisited) continue;
            open(start);
            while (!frames.empty()) {
                auto& [v, next] = frames.back();
                if (next < readers[v].size()) {
                    const std::uint32_t w = readers[v][next++];
                    if (index[w] == kUnvisited)
                        open(w);  // invalidates v and next; nothing below uses them
                    else if (onStack[w])
                        low[v] = std::min(low[v], index[w]);
                    continue;
                }
                const std::uint32_t finished = v;
                frames.pop_back();
                if (!frames.empty()) low[frames.back().first] = std::min(low[frames.back().first], low[finished]);
                if (low[finished] != index[finished]) continue;
                std::uint32_t w;
                do {
                    w = stack.back();
                    stack.pop_back();
                    onStack[w] = false;
                    componentNodes.push_back(w);
                } while (w != finished);
                componentEnds.push_back(componentNodes.size());
            }
        }
    }
};

Recalculator::Recalculator(FormulaHost& host, const Clock& clock)
    : host_(host), evaluator_(host, clock), scratch_(std::make_unique<Scratch>()) {}

Recalculator::~Recalculator() = default;

Recalculator::Batch::~Batch() {
    if (--recalculator_.batchDepth_ == 0) recalculator_.flush();
}

std::uint64_t Recalculator::key(const CellPosition& at) {
    return (std::uint64_t(std::uint32_t(at.sheet)) << 36) | (std::uint64_t(at.row) << 15) | std::uint64_t(at.column);
}

void Recalculator::registerDependencies(std::uint32_t slot) {
    FormulaCell& cell = cells_[slot];
    cell.dependencies.clear();
    for (const Reference& ref : cell.formula.references()) {
        int sheet = cell.at.sheet;
        if (ref.sheetName != Reference::kOwnSheet) {
            auto index = host_.sheetIndex(cell.formula.text(ref.sheetName));
            if (!index) continue;  // evaluates to #REF!; nothing to watch
            sheet = *index;
        }
        cell.dependencies.push_back(Dependency{sheet, ref.rect});
        index_.add(slot, sheet, ref.rect);
    }
    if (cell.formula.isVolatile()) volatileSlots_.insert(slot);
}

void Recalculator::unregisterDependencies(std::uint32_t slot) {
    for (const Dependency& dependency : cells_[slot].dependencies) index_.remove(slot, dependency.sheet, dependency.rect);
    cells_[slot].dependencies.clear();
    volatileSlots_.erase(slot);
}

void Recalculator::setFormula(const CellPosition& at, Formula formula) {
    auto [it, inserted] = slotAt_.try_emplace(key(at), 0);
    if (inserted) {
        if (freeSlots_.empty()) {
            it->second = static_cast<std::uint32_t>(cells_.size());
            cells_.emplace_back();
        } else {
            it->second = freeSlots_.back();
            freeSlots_.pop_back();
        }
    } else {
        unregisterDependencies(it->second);
    }
    const std::uint32_t slot = it->second;
    cells_[slot].at = at;
    cells_[slot].formula = std::move(formula);
    cells_[slot].alive = true;
    registerDependencies(slot);
    pendingFormulas_.push_back(slot);
    if (batchDepth_ == 0) flush();
}

void Recalculator::removeFormula(const CellPosition& at) {
    auto it = slotAt_.find(key(at));
    if (it == slotAt_.end()) return;
    const std::uint32_t slot = it->second;
    unregisterDependencies(slot);
    cells_[slot].formula = Formula();
    cells_[slot].alive = false;
    freeSlots_.push_back(slot);
    slotAt_.erase(it);
}

void Recalculator::cellChanged(const CellPosition& at) {
    if (slotAt_.empty()) return;  // nothing can depend on it
    pendingCells_.push_back(at);
    if (batchDepth_ == 0) flush();
}

void Recalculator::recalculateAll() {
    index_.clear();
    volatileSlots_.clear();
    std::vector<std::uint32_t> all;
    for (const auto& [cellKey, slot] : slotAt_) {
        registerDependencies(slot);
        all.push_back(slot);
    }
    recalculate({}, all);
}

const Formula* Recalculator::formulaAt(const CellPosition& at) const {
    auto it = slotAt_.find(key(at));
    return it == slotAt_.end() ? nullptr : &cells_[it->second].formula;
}

void Recalculator::flush() {
    std::vector<CellPosition> changedCells;
    std::vector<std::uint32_t> changedFormulas;
    changedCells.swap(pendingCells_);
    changedFormulas.swap(pendingFormulas_);
    // A formula removed later in the same batch is gone; its slot may even hold another one,
    // which was queued itself.
    std::erase_if(changedFormulas, [&](std::uint32_t slot) { return !cells_[slot].alive; });
    if (!changedCells.empty() || !changedFormulas.empty()) recalculate(changedCells, changedFormulas);
}

void Recalculator::recalculate(const std::vector<CellPosition>& changedCells,
                               const std::vector<std::uint32_t>& changedFormulas) {
    Scratch& graph = *scratch_;
    graph.clear();
    for (std::uint32_t slot : changedFormulas) graph.node(slot);
    for (std::uint32_t slot : volatileSlots_) graph.node(slot);
    for (const CellPosition& at : changedCells)
        index_.forEachReader(at.sheet, at.row, at.column, [&](std::uint32_t reader) { graph.node(reader); });
    for (std::size_t next = 0; next < graph.queue.size(); ++next) {
        const std::uint32_t node = graph.queue[next];
        const CellPosition at = cells_[graph.slots[node]].at;
        index_.forEachReader(at.sheet, at.row, at.column, [&](std::uint32_t reader) {
            const std::uint32_t readerNode = graph.node(reader);
            graph.readers[node].push_back(readerNode);
        });
    }
    auto evaluate = [&](std::uint32_t node, bool circular) {
        const FormulaCell& cell = cells_[graph.slots[node]];
        const Value result = circular ? Value(kCircularReferenceError) : evaluator_.evaluate(cell.formula, cell.at);
        host_.setFormulaResult(cell.at.sheet, cell.at.row, cell.at.column, result);
    };
    if (graph.slots.size() == 1 && graph.readers[0].empty()) {  // the common case: one formula, no readers
        evaluate(0, false);
        return;
    }
    graph.findComponents();
    for (std::size_t c = graph.componentEnds.size(); c-- > 0;) {
        const std::size_t begin = c == 0 ? 0 : graph.componentEnds[c - 1], end = graph.componentEnds[c];
        const std::uint32_t first = graph.componentNodes[begin];
        const auto& readers = graph.readers[first];
        const bool circular = end - begin > 1 || std::find(readers.begin(), readers.end(), first) != readers.end();
        for (std::size_t i = begin; i < end; ++i) evaluate(graph.componentNodes[i], circular);
    }
}

}  // namespace tabulix::spreadsheet::formula
