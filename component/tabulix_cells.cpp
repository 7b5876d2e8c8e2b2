#include "automation/dispids.h"
#include "component/cell_names.h"
#include "component/tabulix.h"
#include "data/data_set.h"
#include "framework/text_compare.h"

namespace tabulix::component {

using automation::Variant;
namespace dispid = automation::dispid;

std::string TTabulix::Casilla(std::int32_t column, std::int32_t row) const {
    return CellName(static_cast<std::uint16_t>(column), static_cast<std::uint16_t>(row));
}

std::string TTabulix::Casilla(char columnLetter, std::int32_t row) const {
    return CellName(columnLetter, static_cast<std::uint16_t>(row));
}

std::string TTabulix::ColumnaExcel(std::int32_t column) const { return ColumnLetters(column); }

std::string TTabulix::Columna(std::int32_t column) const { return column < 1 ? " " : ColumnLetters(column); }

std::string TTabulix::MovCasilla(const std::string& cellName, std::int32_t columns, std::int32_t rows) const {
    return ShiftCellName(cellName, columns, rows);
}

std::int32_t TTabulix::ColumnaCampo(const std::string& fieldName) const {
    if (!datos_) return 0;
    std::string wanted = fieldName;
    for (char& c : wanted) c = framework::upperAscii(c);
    std::int32_t column = 1;
    for (int i = 0; i < datos_->FieldCount(); ++i) {
        const data::TField& field = *datos_->Fields(i);
        std::string name = field.FieldName();
        for (char& c : name) c = framework::upperAscii(c);
        if (name == wanted) return field.Visible() ? column : 0;
        if (field.Visible()) ++column;
    }
    return 0;
}

std::string TTabulix::RangoCampo(const std::string& fieldName) const {
    if (primeraFilaDatos_ == 0 && ultimaFilaDatos_ == 0) return {};
    const std::int32_t column = ColumnaCampo(fieldName);
    if (column == 0) return {};
    const std::string letters = Columna(column);
    return letters + std::to_string(primeraFilaDatos_) + ":" + letters + std::to_string(ultimaFilaDatos_);
}

std::string TTabulix::CasillaFormula(std::int32_t record) const {
    try {
        const std::string column = formulas_->Columna(record);
        const std::int64_t row = static_cast<std::int64_t>(formulas_->IncrementoFila(record)) + ultimaFilaDatos_;
        return column + std::to_string(row);
    } catch (const std::exception&) {
        // An index error or a row increment that is not a number: no cell.
        return {};
    }
}

void TTabulix::ValorCasilla(const std::string& cellName, const Variant& value) {
    requireOwnThread("ValorCasilla");
    automation::DispatchPtr range = rangeOf(cellName, cellName);
    if (!range) return;
    range->put(dispid::Value, value);
}

void TTabulix::FormulaCasilla(const std::string& cellName, const std::string& formula) {
    requireOwnThread("FormulaCasilla");
    if (!worksheet_ || !worksheet_->IsConnected()) return;
    const std::string text = formulas_->FormulaPropia(formula);
    automation::DispatchPtr range = rangeOf(cellName, cellName);
    if (!range) return;
    range->put(dispid::Formula, Variant(text));
}

}  // namespace tabulix::component
