#pragma once
// A worksheet as a Qt table model. Nothing is copied: every question reads the cell store, so a
// sheet of a million rows opens at once. The model spans the used part of the sheet plus room to
// type into, and grows when cells beyond it are written.

#include <QAbstractTableModel>
#include <QString>
#include <memory>
#include <optional>

#include "automation/dispatch.h"

#include "spreadsheet/cells/cell_address.h"
#include "spreadsheet/cells/cell_style.h"

namespace tabulix::spreadsheet {
class Worksheet;
}

namespace tabulix::ui {

// What one cell shows.
struct CellLook {
    QString text;  // as the number format gives it
    const spreadsheet::CellStyle* style = nullptr;
    bool number = false;   // a number (drawn right-aligned under General, "####" when too wide)
    bool centred = false;  // a Boolean or an error value (centred under General)
};

// What a user typed, in the text the spreadsheet reads as a typed entry: numbers and the words
// TRUE/FALSE of the display locale become the spreadsheet's own ("2,5" -> "2.5", "VERDADERO" ->
// "TRUE" in Spanish); formulas and everything else stay as typed.
QString entryAsWritten(const QString& typed, automation::Lcid lcid);

class WorksheetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Rows and columns shown beyond the used part of the sheet, and the least shown.
    static constexpr int kSpareRows = 100;
    static constexpr int kSpareColumns = 10;
    static constexpr int kMinRows = 200;
    static constexpr int kMinColumns = 52;  // A to AZ

    explicit WorksheetModel(std::shared_ptr<spreadsheet::Worksheet> sheet, QObject* parent = nullptr);

    const std::shared_ptr<spreadsheet::Worksheet>& sheet() const { return sheet_; }
    // False once the sheet has left its workbook (deleted, or the workbook closed).
    bool isAttached() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Puts what the user typed as the spreadsheet does: a text starting with "=" is a formula,
    // anything else a typed entry. A refused text shows the spreadsheet's message and leaves
    // the cell as it was (returns false).
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    CellLook look(int row, int column) const;
    // True when the cell holds a value or a formula.
    bool hasContent(int row, int column) const;
    // The last row and the last column that hold something (0-based; 0 when the sheet is empty).
    std::pair<int, int> lastUsedCell() const;
    // The text the formula bar and the cell editor start from: the formula, or the value as
    // the user would type it.
    QString entryText(int row, int column) const;
    // Puts `text` into the cell; returns the spreadsheet's message when it refuses it.
    std::optional<QString> enter(int row, int column, const QString& text);
    // Empties the cells of `rect` (1-based) that lie in the used part of the sheet, keeping
    // their formats, as the Delete key does.
    void clearContents(const spreadsheet::CellRect& rect);
    // The cells of `rect` that lie in the used part of the sheet as they are shown, a tab
    // between columns and a line end after each row: what a copy puts on the clipboard.
    QString shownText(const spreadsheet::CellRect& rect) const;

    static spreadsheet::CellAddress addressOf(int row, int column) {
        return {static_cast<std::uint32_t>(row) + 1, static_cast<std::uint32_t>(column) + 1};
    }

    // Cells of rect changed: grows the model when they lie beyond it and tells the views.
    void cellsChanged(const spreadsheet::CellRect& rect);

private:
    std::shared_ptr<spreadsheet::Worksheet> sheet_;
    int rows_;
    int columns_;
};

}  // namespace tabulix::ui
