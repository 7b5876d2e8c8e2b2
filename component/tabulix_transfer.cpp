#include <cmath>
#include <optional>
#include <vector>

#include "automation/automation_error.h"
#include "automation/dispids.h"
#include "component/cell_names.h"
#include "component/tabulix.h"
#include "component/tabulix_error.h"
#include "data/data_set.h"
#include "framework/printable.h"
#include "framework/ui_services.h"

namespace tabulix::component {

using automation::DispatchPtr;
using automation::Variant;
namespace dispid = automation::dispid;
namespace xl = automation::xl;

namespace {

// The last row of a worksheet, in the workbook format of every application the component drives.
constexpr std::int64_t kLastSheetRow = 1048576;

// Column number of a record's column text: letters are read as the spreadsheet names columns
// (so "AB" is 28); anything else by its first character, as a one-letter name would be.
std::int64_t columnNumberOf(const std::string& column) {
    if (column.empty()) return 0;
    std::int64_t number = 0;
    for (char c : column) {
        const char up = c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
        if (up < 'A' || up > 'Z' || number > 100000) return static_cast<unsigned char>(column[0]) - 64;
        number = number * 26 + (up - 'A' + 1);
    }
    return number;
}

// Caption alignment codes 0, 1, 2 are left, centre and right; other codes set no alignment.
std::optional<std::int32_t> captionAlignment(std::int32_t code) {
    static constexpr std::int32_t codes[] = {xl::HAlignLeft, xl::HAlignCenter, xl::HAlignRight};
    if (code < 0 || code > 2) return std::nullopt;
    return codes[code];
}

}  // namespace

void TTabulix::TraspasarNuevoLibro() {
    requireOwnThread("TraspasarNuevoLibro");
    if (!datos_ || !datos_->Active()) return;
    CrearLibro();
    Traspasar();
}

void TTabulix::TraspasarNuevaHoja() {
    requireOwnThread("TraspasarNuevaHoja");
    if (!datos_ || !datos_->Active()) return;
    if (workbook_) CrearHoja();
    else CrearLibro();
    Traspasar();
}

DispatchPtr TTabulix::transferRange(const std::string& first, const std::string& last) {
    DispatchPtr range = rangeOf(first, last);
    // An event (the user closing the workbook) can drop the worksheet in the middle.
    if (!range) throw ETabulixError("the worksheet was disconnected during the transfer");
    return range;
}

void TTabulix::putCell(const std::string& cell, automation::DispId member, const Variant& value) {
    transferRange(cell, cell)->put(member, value);
}

template <class What>
void TTabulix::putNamedCell(const std::string& cell, const Variant& value, What what) {
    try {
        putCell(cell, dispid::Value, value);
    } catch (const automation::AutomationError& error) {
        // The application names only the call; say which value it refused and where.
        throw automation::AutomationError(what() + ", cell " + cell + ": " + error.what(), error.scode());
    }
}

std::string TTabulix::dataSetName() const {
    const auto files = datos_->SourceFiles();
    if (!files.empty()) return framework::quotedPath(files.front());
    return "data set '" + framework::printable(datos_->DisplayName()) + "'";
}

void TTabulix::widenOnlyFit(const std::string& cell) {
    const double before = transferRange(cell, cell)->get(dispid::ColumnWidth).toDouble();
    const double rounded = std::nearbyint(before);  // halves to the even neighbour
    transferRange(cell, cell)->get(dispid::Columns).toObject()->call(dispid::AutoFit);
    const double after = transferRange(cell, cell)->get(dispid::ColumnWidth).toDouble();
    if (after < rounded) transferRange(cell, cell)->put(dispid::ColumnWidth, Variant(rounded));
}

void TTabulix::Traspasar() {
    requireOwnThread("Traspasar");
    if (!worksheet_ || !worksheet_->IsConnected())
        throw ETabulixError("Traspasar: no worksheet is connected (CrearLibro or CrearHoja makes one)");
    if (!datos_) throw ETabulixError("Traspasar: Datos holds no data set");
    if (!datos_->Active())
        throw ETabulixError("Traspasar: the data set '" + framework::printable(datos_->DisplayName()) +
                            "' is not open");

    // Rows are counted in 64 bits: FilaInicial may be anything up to INT32_MAX.
    const std::int64_t r0 = FilaInicial >= 1 ? FilaInicial : 1;
    const bool hasTitle = !Titulo.empty();
    const std::int64_t headingRow = hasTitle ? r0 + 1 : r0;
    const std::int64_t firstRow = r0 + (hasTitle ? 1 : 0) + (CabeceraMostrar ? 1 : 0);
    if (firstRow > kLastSheetRow)
        throw ETabulixError("Traspasar: FilaInicial " + std::to_string(FilaInicial) + " puts the first data row at " +
                            std::to_string(firstRow) + ", beyond the last row of a worksheet (" +
                            std::to_string(kLastSheetRow) + ")");
    framework::ScopedCursor hourglass(framework::crHourGlass);
    fallosFormulas_.clear();

    // The sheet name; when refused (a sheet of that name exists), the name plus the sheet's own.
    {
        DispatchPtr sheet = worksheet_->Object();
        try {
            sheet->put(dispid::Name, Variant(NombreHoja));
        } catch (const automation::AutomationError&) {
            sheet->put(dispid::Name, Variant(NombreHoja + "." + sheet->get(dispid::Name).toText()));
        }
    }
    SetVisible(VerConstruccion);

    if (hasTitle)
        putNamedCell("A" + std::to_string(r0), Variant(Titulo), [] { return std::string("the title (Titulo)"); });

    std::vector<data::TField*> visible;
    for (data::TField* field : datos_->FieldList())
        if (field->Visible()) visible.push_back(field);
    std::vector<std::string> letters;
    for (std::size_t c = 1; c <= visible.size(); ++c) letters.push_back(ColumnaExcel(static_cast<std::int32_t>(c)));
    const std::string lastLetters = ColumnaExcel(static_cast<std::int32_t>(visible.size()));

    if (CabeceraMostrar)
        for (std::size_t c = 0; c < visible.size(); ++c)
            putNamedCell(letters[c] + std::to_string(headingRow), Variant(visible[c]->DisplayLabel()), [&] {
                return "the heading of field " + framework::printable(visible[c]->FieldName());
            });

    const std::int32_t lastRow = writeRecords(visible, letters, static_cast<std::int32_t>(firstRow));

    const std::string r0Text = std::to_string(r0);
    if (hasTitle) {
        const std::string first = "A" + r0Text, last = lastLetters + r0Text;
        if (TituloCombinarCentrar) {
            transferRange(first, last)->put(dispid::ShrinkToFit, Variant(false));
            transferRange(first, last)->put(dispid::MergeCells, Variant(false));
            transferRange(first, first)->put(dispid::HorizontalAlignment, Variant(xl::HAlignCenter));
            transferRange(first, last)->call(dispid::Merge, {Variant(std::int32_t{1})});
        }
        AsignarAtributosCasilla(first, last, *tituloFormato_);
    }
    if (CabeceraMostrar)
        AsignarAtributosCasilla("A" + std::to_string(headingRow), lastLetters + std::to_string(headingRow),
                                *cabeceraFormato_);
    AsignarAtributosCasilla("A" + std::to_string(firstRow), lastLetters + std::to_string(lastRow), *datosFormato_);
    ultimaFilaDatos_ = lastRow;

    const std::string firstText = std::to_string(firstRow), lastText = std::to_string(lastRow);
    for (std::size_t c = 0; c < visible.size(); ++c)
        AsignarFormato(letters[c] + firstText, letters[c] + lastText, *visible[c]);

    ReportBlock block{r0, CabeceraMostrar ? headingRow : 0, firstRow, lastRow, letters, {}};
    putFilterButtons(block);
    const std::string fitFrom = std::to_string(CabeceraMostrar ? headingRow : firstRow);
    if (AutoAjustarColumnasDatos)
        for (std::size_t c = 0; c < visible.size(); ++c)
            transferRange(letters[c] + fitFrom, letters[c] + lastText)->get(dispid::Columns).toObject()->call(dispid::AutoFit);

    for (std::int32_t i = 1; i <= formulas_->CuantasFormulas(); ++i) {
        std::string result = placeFormulaRecord(i);
        if (!result.empty()) block.results.emplace_back(i, std::move(result));
    }
    finishReport(block);
}

void TTabulix::formulaFailed(std::int32_t record, std::string formula, const std::string& cell, std::string reason) {
    fallosFormulas_.push_back({record, formulas_->Strings(record - 1), std::move(formula), cell, std::move(reason)});
    if (OnFalloFormula) OnFalloFormula(fallosFormulas_.back());
}

std::int32_t TTabulix::writeRecords(const std::vector<data::TField*>& visible, const std::vector<std::string>& letters,
                                    std::int32_t firstRow) {
    const data::TBookmark bookmark = datos_->GetBookmark();
    auto restore = [&] {
        datos_->GotoBookmark(bookmark);
        datos_->FreeBookmark(bookmark);
        datos_->EnableControls();
    };
    std::int64_t row = firstRow;
    try {
        datos_->DisableControls();
        datos_->First();
        primeraFilaDatos_ = firstRow;
        // Counting a query's rows costs as much as running it again: the total only when known.
        const std::int64_t total = OnProgreso ? datos_->KnownRecordCount().value_or(-1) : -1;
        std::int64_t done = 0;
        while (!datos_->Eof()) {
            const std::string rowText = std::to_string(row);
            for (std::size_t c = 0; c < visible.size(); ++c) {
                const Variant value = visible[c]->Value();
                putNamedCell(letters[c] + rowText, value, [&] {
                    return dataSetName() + ", record " + std::to_string(datos_->RecNo()) + ", field " +
                           framework::printable(visible[c]->FieldName());
                });
            }
            ++row;
            datos_->Next();
            if (OnProgreso && (++done % 1000 == 0 || datos_->Eof())) OnProgreso(done, total);
        }
    } catch (...) {
        try {
            restore();
        } catch (...) {
            // The error that stopped the pass is the one to report.
        }
        throw;
    }
    restore();
    return static_cast<std::int32_t>(row - 1);
}

std::string TTabulix::placeFormulaRecord(std::int32_t i) {
    const std::int64_t row = static_cast<std::int64_t>(formulas_->IncrementoFila(i)) + ultimaFilaDatos_;
    const std::string column = formulas_->Columna(i);
    const std::string resultCell = column + std::to_string(row);
    const std::string field = formulas_->Campo(i);
    std::string placed;

    if (ColumnaCampo(field) == 0) {
        formulaFailed(i, "", resultCell,
                      datos_->FindField(field) ? "the field '" + framework::printable(field) + "' is hidden"
                                               : "the data set has no field '" + framework::printable(field) + "'");
    } else {
        // A formula the spreadsheet refuses, or any other failure of this record's result,
        // leaves the cell as it was and goes on with the caption and the next record.
        std::string formula;
        try {
            formula = formulas_->Formula(i);
            putCell(resultCell, dispid::Formula, Variant(formula));
            placed = resultCell;
            AsignarFormato(resultCell, resultCell, *datos_->FieldByName(field));
            AsignarAtributosCasilla(resultCell, resultCell, *formulasFormatoResultado_);
            if (AutoAjustarFormulas) widenOnlyFit(resultCell);
        } catch (const std::exception& e) {
            formulaFailed(i, formula, resultCell, e.what());
        }
    }

    const std::string caption = formulas_->Texto(i);
    if (caption.empty() || column.empty()) return placed;
    std::int64_t k = columnNumberOf(column);
    std::int64_t m = row;
    switch (formulas_->Situacion(i)) {
        case 0: --k; break;
        case 1: ++k; break;
        case 2: --m; break;
        case 3: ++m; break;
        default: return {};  // the caption replaces the record's own result
    }
    if (k <= 0 || m <= 0 || k > INT32_MAX) return placed;
    const std::string captionCell = ColumnaExcel(static_cast<std::int32_t>(k)) + std::to_string(m);
    putCell(captionCell, dispid::Value, Variant(caption));
    AsignarAtributosCasilla(captionCell, captionCell, *formulasFormatoLiteral_);
    if (const auto alignment = captionAlignment(formulas_->Alineacion(i)))
        putCell(captionCell, dispid::HorizontalAlignment, Variant(*alignment));
    if (AutoAjustarFormulasTexto) widenOnlyFit(captionCell);
    return placed;
}

}  // namespace tabulix::component
