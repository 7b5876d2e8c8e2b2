#pragma once
/// @file
/// TFormulaTabulix: the formula records of a TTabulix, one record per line. A record has eight
/// fields separated by ";" (no quoting):
///   Campo;Formula;Columna;IncrementoFila;Texto;Situacion;Alineacion;FormulaPropia
/// e.g. "VENTAS_ENE;0;C;1;TOTAL VENTAS MENSUALES:;0;2;". The list turns a record into the formula
/// text of its result cell, expanding the placeholders "#Fnn#" (the result cell of record nn) and
/// "#T_FIELD#" (the data range of a field in the last transfer) through its owner.
///
/// Thread rule: the list belongs to its TTabulix and is used on that component's thread.

#include <cstdint>
#include <string>

#include "framework/export.h"
#include "framework/string_list.h"

namespace tabulix::component {

class TTabulix;

/// @brief The formula records of a TTabulix, one record per line, and the formulas they make.
///
/// A record is eight fields separated by ";" (no quoting):
/// `Campo;Formula;Columna;IncrementoFila;Texto;Situacion;Alineacion;FormulaPropia`, such as
/// "VENTAS_ENE;0;C;1;TOTAL VENTAS MENSUALES:;0;2;". The list turns a record into the formula
/// of its result cell, expanding the placeholders "#Fnn#" (the result cell of record nn) and
/// "#T_FIELD#" (the field's data range in the last transfer) through its owner. Records are
/// numbered from 1.
/// @threads Used from the thread of its owning component.
class TABULIX_API TFormulaTabulix : public framework::TStringList {
public:
    /// Makes an empty list.
    /// @param owner the component that owns the list and answers its cell and range lookups.
    explicit TFormulaTabulix(TTabulix* owner);

    std::string ClassName() const override { return "TFormulaTabulix"; }
    /// The component that owns the list.
    TTabulix* Owner() const { return owner_; }

    /// Removes every record.
    void EliminarFormulas() { Clear(); }
    /// The number of records.
    std::int32_t CuantasFormulas() const { return Count(); }
    /// Whether NombreFuncion gives the Spanish names ("SUMA") or the spreadsheet's ("SUM"): true
    /// until a formula is built, which uses the spreadsheet's.
    bool VersionCastellana() const { return castellano_; }

    /// One field of a record text.
    /// @param record the record text.
    /// @param n the field, from 1.
    /// @return the field, or an empty text when n < 1 or the record has fewer fields.
    static std::string ElementoFormula(const std::string& record, std::int32_t n);

    /// Field 1 of record i, the field the record refers to; empty above the last record.
    /// @param i the record, from 1.
    /// @throws framework::EStringListError for i below 1.
    std::string Campo(std::int32_t i) const;
    /// Field 3 of record i, the column of its result cell; empty above the last record.
    /// @param i the record, from 1.
    /// @throws framework::EStringListError for i below 1.
    std::string Columna(std::int32_t i) const;
    /// Field 4 of record i, the result cell's rows below the last data row; 0 above the last record.
    /// @param i the record, from 1.
    /// @throws framework::EStringListError for i below 1.
    /// @throws framework::EConvertError when the field is not an integer.
    std::int32_t IncrementoFila(std::int32_t i) const;
    /// Field 5 of record i, its caption; empty above the last record.
    /// @param i the record, from 1.
    /// @throws framework::EStringListError for i below 1.
    std::string Texto(std::int32_t i) const;
    /// Field 6 of record i, where the caption goes: 0 left, 1 right, 2 above, 3 below; 0 above the
    /// last record.
    /// @param i the record, from 1.
    /// @throws framework::EStringListError for i below 1.
    /// @throws framework::EConvertError when the field is not an integer.
    std::int32_t Situacion(std::int32_t i) const;
    /// Field 7 of record i, the caption's alignment: 0 left, 1 centre, 2 right; 0 above the last
    /// record.
    /// @param i the record, from 1.
    /// @throws framework::EStringListError for i below 1.
    /// @throws framework::EConvertError when the field is not an integer.
    std::int32_t Alineacion(std::int32_t i) const;

    /// The name of a built-in function, Spanish or English by VersionCastellana.
    /// @param code 0 sum, 1 average, 2 maximum, 3 minimum.
    /// @return the name, or an empty text for any other code.
    std::string NombreFuncion(std::int32_t code) const;

    /// The formula of record i over its field's data rows of the last transfer: the built-in
    /// function over the field's range, or for code 4 its own formula, expanded.
    /// @param i the record, from 1.
    /// @throws framework::EStringListError for i outside the list.
    /// @throws framework::EConvertError for a number field that is not an integer.
    std::string Formula(std::int32_t i);
    /// The formula of record i's built-in function over a given block ("=SUM(B5:D9)").
    /// @param i the record, from 1; only its function code is used.
    /// @param firstColumn the block's first column.
    /// @param firstRow the block's first row.
    /// @param lastColumn the block's last column.
    /// @param lastRow the block's last row.
    /// @throws framework::EStringListError for i outside the list.
    /// @throws framework::EConvertError for a function code that is not an integer.
    std::string Formula(std::int32_t i, std::int32_t firstColumn, std::int32_t firstRow, std::int32_t lastColumn,
                        std::int32_t lastRow);

    /// A formula text upper-cased (text constants too) with its placeholders expanded: first
    /// "#Fnn#" (the result cell of record nn), then "#T_FIELD#" (the field's data range of the last
    /// transfer; an empty text for a field not transferred). Broken placeholders are dropped.
    /// @param text the formula.
    std::string FormulaPropia(const std::string& text) const;
    /// Field 8 of record i, its own formula, expanded as the other FormulaPropia does.
    /// @param i the record, from 1.
    /// @throws framework::EStringListError for i outside the list.
    std::string FormulaPropia(std::int32_t i) const;

private:
    const std::string& record(std::int32_t i) const { return Strings(i - 1); }
    std::string field(std::int32_t i, std::int32_t n) const;
    std::int32_t numberField(std::int32_t i, std::int32_t n) const;
    std::string englishName(std::int32_t code);
    std::string summary(std::int32_t i, const std::string& range);

    TTabulix* owner_;
    bool castellano_ = true;
};

}  // namespace tabulix::component
