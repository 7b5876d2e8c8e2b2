#pragma once
// TFormulaTabulix: the formula records of a TTabulix, one record per line. A record has eight
// fields separated by ";" (no quoting):
//   Campo;Formula;Columna;IncrementoFila;Texto;Situacion;Alineacion;FormulaPropia
// e.g. "VENTAS_ENE;0;C;1;TOTAL VENTAS MENSUALES:;0;2;". The list turns a record into the formula
// text of its result cell, expanding the placeholders "#Fnn#" (the result cell of record nn) and
// "#T_FIELD#" (the data range of a field in the last transfer) through its owner.
//
// Thread rule: the list belongs to its TTabulix and is used on that component's thread.

#include <cstdint>
#include <string>

#include "framework/string_list.h"

namespace tabulix::component {

class TTabulix;

class TFormulaTabulix : public framework::TStringList {
public:
    // `owner` is the component that owns the list; it answers the cell and range lookups.
    explicit TFormulaTabulix(TTabulix* owner);

    std::string ClassName() const override { return "TFormulaTabulix"; }
    TTabulix* Owner() const { return owner_; }

    void EliminarFormulas() { Clear(); }
    std::int32_t CuantasFormulas() const { return Count(); }
    // Whether NombreFuncion gives the Spanish names ("SUMA") or the spreadsheet's ("SUM").
    bool VersionCastellana() const { return castellano_; }

    // Field n (1-based) of a record text; empty when n < 1 or the record has fewer fields.
    static std::string ElementoFormula(const std::string& record, std::int32_t n);

    // Field accessors of record i (1-based). Above the last record the texts are empty and the
    // numbers 0; below 1 the list's index error is raised; a number field that is not an integer
    // raises framework::EConvertError.
    std::string Campo(std::int32_t i) const;
    std::string Columna(std::int32_t i) const;
    std::int32_t IncrementoFila(std::int32_t i) const;
    std::string Texto(std::int32_t i) const;
    std::int32_t Situacion(std::int32_t i) const;
    std::int32_t Alineacion(std::int32_t i) const;

    // Name of function code 0..3 (Spanish or English by VersionCastellana); empty for others.
    std::string NombreFuncion(std::int32_t code) const;

    // Formula text of record i over its field's data rows of the last transfer (code 4: its own
    // formula, expanded). Any i outside the list raises the list's index error.
    std::string Formula(std::int32_t i);
    // The same over a given range; the record supplies only its function code.
    std::string Formula(std::int32_t i, std::int32_t firstColumn, std::int32_t firstRow, std::int32_t lastColumn,
                        std::int32_t lastRow);

    // Upper-cases the text and expands its placeholders.
    std::string FormulaPropia(const std::string& text) const;
    // Field 8 of record i, expanded; any i outside the list raises the list's index error.
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
