#include "ui/worksheet_model.h"

#include <QRegularExpression>
#include <algorithm>

#include "automation/automation_error.h"
#include "framework/ui_services.h"
#include "spreadsheet/model/application.h"
#include "spreadsheet/model/workbook.h"
#include "spreadsheet/model/worksheet.h"
#include "spreadsheet/numfmt/number_format.h"

namespace tabulix::ui {

using spreadsheet::CellAddress;
using spreadsheet::CellKind;
using spreadsheet::CellRect;

namespace {

// The last used row and column of a sheet (0 when it has no cells).
std::pair<std::uint32_t, std::uint32_t> usedExtent(const spreadsheet::Worksheet& sheet) {
    std::uint32_t lastRow = 0, lastColumn = 0;
    sheet.cells().forEachRow([&](std::uint32_t row, std::span<const spreadsheet::Cell> cells) {
        lastRow = row;
        lastColumn = std::max<std::uint32_t>(lastColumn, cells.back().column0 + 1u);
    });
    for (const CellRect& m : sheet.merges()) {
        lastRow = std::max(lastRow, m.last.row);
        lastColumn = std::max(lastColumn, m.last.column);
    }
    if (!sheet.columnWidths().empty()) lastColumn = std::max(lastColumn, sheet.columnWidths().rbegin()->first);
    return {lastRow, lastColumn};
}

// `rect` cut to the used part of the sheet; nullopt when nothing of it is used.
std::optional<CellRect> usedPart(const spreadsheet::Worksheet& sheet, const CellRect& rect) {
    const auto [lastRow, lastColumn] = usedExtent(sheet);
    if (lastRow == 0 || rect.first.row > lastRow || rect.first.column > lastColumn) return std::nullopt;
    return CellRect{rect.first, {std::min(rect.last.row, lastRow), std::min(rect.last.column, lastColumn)}};
}

int rowsFor(std::uint32_t lastRow) {
    return static_cast<int>(std::clamp<std::uint64_t>(std::uint64_t{lastRow} + WorksheetModel::kSpareRows,
                                                      WorksheetModel::kMinRows, spreadsheet::kMaxRows));
}

int columnsFor(std::uint32_t lastColumn) {
    return static_cast<int>(std::clamp<std::uint64_t>(std::uint64_t{lastColumn} + WorksheetModel::kSpareColumns,
                                                      WorksheetModel::kMinColumns, spreadsheet::kMaxColumns));
}

bool spanishWords(automation::Lcid lcid) { return (lcid & 0x3FF) == 0x0A; }

}  // namespace

QString entryAsWritten(const QString& typed, automation::Lcid lcid) {
    if (typed.startsWith(QChar('=')) || typed.startsWith(QChar('\''))) return typed;
    if (spreadsheet::isCommaDecimal(lcid)) {
        // "1.234,5" or "2,5": a number as a comma-decimal user writes it.
        static const QRegularExpression grouped(QStringLiteral("^[+-]?\\d{1,3}(\\.\\d{3})+(,\\d+)?$"));
        static const QRegularExpression plain(QStringLiteral("^[+-]?(\\d+(,\\d*)?|,\\d+)$"));
        const QString trimmed = typed.trimmed();
        if (!trimmed.isEmpty() && (grouped.match(trimmed).hasMatch() || plain.match(trimmed).hasMatch())) {
            QString number = trimmed;
            number.remove(QChar('.')).replace(QChar(','), QChar('.'));
            return number;
        }
    }
    if (spanishWords(lcid)) {
        if (typed.compare(QStringLiteral("VERDADERO"), Qt::CaseInsensitive) == 0) return QStringLiteral("TRUE");
        if (typed.compare(QStringLiteral("FALSO"), Qt::CaseInsensitive) == 0) return QStringLiteral("FALSE");
    }
    return typed;
}

WorksheetModel::WorksheetModel(std::shared_ptr<spreadsheet::Worksheet> sheet, QObject* parent)
    : QAbstractTableModel(parent), sheet_(std::move(sheet)) {
    const auto [lastRow, lastColumn] = usedExtent(*sheet_);
    rows_ = rowsFor(lastRow);
    columns_ = columnsFor(lastColumn);
}

bool WorksheetModel::isAttached() const { return sheet_->isAttached(); }

int WorksheetModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int WorksheetModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : columns_; }

CellLook WorksheetModel::look(int row, int column) const {
    CellLook result;
    if (!isAttached()) return result;
    const CellAddress at = addressOf(row, column);
    const spreadsheet::Cell* cell = sheet_->cells().find(at);
    const spreadsheet::Workbook& book = sheet_->workbook();
    result.style = &book.styles().style(cell ? cell->style : spreadsheet::StyleTable::kDefault);
    if (!cell || cell->kind == CellKind::Blank) return result;
    const spreadsheet::CellValue value = sheet_->cellValue(at);
    result.number = std::holds_alternative<double>(value);
    result.centred = std::holds_alternative<bool>(value) || std::holds_alternative<spreadsheet::CellError>(value);
    result.text = QString::fromStdString(sheet_->displayedText(at));
    return result;
}

bool WorksheetModel::hasContent(int row, int column) const {
    if (!isAttached()) return false;
    const spreadsheet::Cell* cell = sheet_->cells().find(addressOf(row, column));
    return cell && cell->kind != CellKind::Blank;
}

std::pair<int, int> WorksheetModel::lastUsedCell() const {
    if (!isAttached()) return {0, 0};
    const auto [lastRow, lastColumn] = usedExtent(*sheet_);
    return {std::max(0, static_cast<int>(lastRow) - 1), std::max(0, static_cast<int>(lastColumn) - 1)};
}

QString WorksheetModel::entryText(int row, int column) const {
    if (!isAttached()) return {};
    const CellAddress at = addressOf(row, column);
    const spreadsheet::Cell* cell = sheet_->cells().find(at);
    if (!cell) return {};
    QString text = QString::fromStdString(sheet_->formula(at).toText());
    const auto* app = sheet_->workbook().application();
    const automation::Lcid lcid = app ? app->displayLocale() : automation::kLcidSpanishSpain;
    // Numbers and Booleans in the words and decimal mark of the display locale, as typed.
    if (cell->kind == CellKind::Number && spreadsheet::isCommaDecimal(lcid)) text.replace(QChar('.'), QChar(','));
    if (cell->kind == CellKind::Boolean && spanishWords(lcid))
        text = cell->boolean ? QStringLiteral("VERDADERO") : QStringLiteral("FALSO");
    return text;
}

std::optional<QString> WorksheetModel::enter(int row, int column, const QString& text) {
    if (!isAttached()) return QStringLiteral("La hoja ya no forma parte de un libro abierto");
    const CellAddress at = addressOf(row, column);
    auto* app = sheet_->workbook().application();
    const automation::Lcid lcid = app ? app->displayLocale() : automation::kLcidSpanishSpain;
    try {
        sheet_->setFormula(CellRect{at, at}, automation::Variant(entryAsWritten(text, lcid).toStdString()), lcid);
    } catch (const automation::AutomationError& e) {
        return QString::fromStdString(e.what());
    }
    return std::nullopt;
}

void WorksheetModel::clearContents(const CellRect& rect) {
    if (!isAttached()) return;
    const auto used = usedPart(*sheet_, rect);
    if (!used) return;
    auto* app = sheet_->workbook().application();
    sheet_->setValue(*used, automation::Variant(), app ? app->displayLocale() : automation::kLcidSpanishSpain);
}

QString WorksheetModel::shownText(const CellRect& rect) const {
    if (!isAttached()) return {};
    const auto used = usedPart(*sheet_, rect);
    if (!used) return {};
    QString text;
    for (std::uint32_t row = used->first.row; row <= used->last.row; ++row) {
        for (std::uint32_t column = used->first.column; column <= used->last.column; ++column) {
            if (column > used->first.column) text += QLatin1Char('\t');
            text += look(static_cast<int>(row) - 1, static_cast<int>(column) - 1).text;
        }
        text += QLatin1Char('\n');
    }
    return text;
}

QVariant WorksheetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    switch (role) {
        case Qt::DisplayRole: return look(index.row(), index.column()).text;
        case Qt::EditRole: return entryText(index.row(), index.column());
        default: return {};
    }
}

bool WorksheetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole) return false;
    if (const auto refused = enter(index.row(), index.column(), value.toString())) {
        framework::CurrentUi().MessageDlg(refused->toStdString(), "", framework::TMsgDlgType::mtError,
                                          framework::mbOKOnly);
        return false;
    }
    return true;
}

QVariant WorksheetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal)
        return QString::fromStdString(spreadsheet::columnLetters(static_cast<std::uint32_t>(section) + 1));
    return QString::number(section + 1);
}

Qt::ItemFlags WorksheetModel::flags(const QModelIndex& index) const {
    if (!index.isValid() || !isAttached()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

void WorksheetModel::cellsChanged(const CellRect& rect) {
    const int rows = std::max(rows_, rowsFor(rect.last.row));
    const int columns = std::max(columns_, columnsFor(rect.last.column));
    if (rows > rows_) {
        beginInsertRows({}, rows_, rows - 1);
        rows_ = rows;
        endInsertRows();
    }
    if (columns > columns_) {
        beginInsertColumns({}, columns_, columns - 1);
        columns_ = columns;
        endInsertColumns();
    }
    // Only the cells themselves: an editor open on another cell keeps what the user typed.
    // (Formulas elsewhere that read them are repainted by the view.)
    emit dataChanged(index(static_cast<int>(rect.first.row) - 1, static_cast<int>(rect.first.column) - 1),
                     index(std::min<int>(static_cast<int>(rect.last.row), rows_) - 1,
                           std::min<int>(static_cast<int>(rect.last.column), columns_) - 1));
}

}  // namespace tabulix::ui
