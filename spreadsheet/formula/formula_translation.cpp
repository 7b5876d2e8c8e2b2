// Moving a formula to another cell: relative references follow, absolute ones stay.

#include <utility>

#include "spreadsheet/formula/formula.h"
#include "spreadsheet/formula/value.h"

namespace tabulix::spreadsheet::formula {

namespace {

// Moves the relative coordinates of `ref`; false when one leaves the sheet.
bool move(Reference& ref, int rows, int columns) {
    CellRect& r = ref.rect;
    if (ref.shape != Reference::Shape::Columns) {
        if (!ref.firstRowAbsolute) r.firstRow += rows;
        if (!ref.lastRowAbsolute) r.lastRow += rows;
    }
    if (ref.shape != Reference::Shape::Rows) {
        if (!ref.firstColumnAbsolute) r.firstColumn += columns;
        if (!ref.lastColumnAbsolute) r.lastColumn += columns;
    }
    auto inside = [](int n, int max) { return n >= 1 && n <= max; };
    if (!inside(r.firstRow, kMaxRows) || !inside(r.lastRow, kMaxRows) || !inside(r.firstColumn, kMaxColumns) ||
        !inside(r.lastColumn, kMaxColumns))
        return false;
    // With one corner fixed and the other moving, the corners may cross ("$A$5:A6" moved up 3).
    if (r.firstRow > r.lastRow) {
        std::swap(r.firstRow, r.lastRow);
        std::swap(ref.firstRowAbsolute, ref.lastRowAbsolute);
    }
    if (r.firstColumn > r.lastColumn) {
        std::swap(r.firstColumn, r.lastColumn);
        std::swap(ref.firstColumnAbsolute, ref.lastColumnAbsolute);
    }
    return true;
}

}  // namespace

Formula Formula::translated(int rows, int columns) const {
    Formula moved = *this;
    moved.references_.clear();
    for (Token& token : moved.tokens_) {
        if (token.kind != TokenKind::Reference) continue;
        Reference ref = references_[token.operand];
        if (move(ref, rows, columns)) {
            token.operand = static_cast<std::uint32_t>(moved.references_.size());
            moved.references_.push_back(ref);
        } else {  // gone from the formula's references, so nothing watches it
            token.kind = TokenKind::Error;
            token.operand = static_cast<std::uint32_t>(ErrorCode::Ref);
        }
    }
    return moved;
}

}  // namespace tabulix::spreadsheet::formula
