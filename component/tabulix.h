#pragma once
// TTabulix: lays the records of a data set out in a spreadsheet workbook (title, headings, a
// formatted data block, fitted columns and summary formulas), writes and formats single cells,
// builds charts and moves between the open workbooks and sheets. It reaches the spreadsheet only
// through the automation layer and owns its four connections (application, workbook, worksheet,
// chart sheet), its formula list and its five attribute sets; it refers to its data set without
// owning it and forgets it when the data set is destroyed.
//
// The operations are grouped by concern across several source files:
//   tabulix.cpp             life, properties, connections (Activar, CrearLibro, CrearHoja, ...)
//   tabulix_cells.cpp       cell names and single-cell writes
//   tabulix_format.cpp      attribute sets, fonts, column fitting and number formats
//   tabulix_transfer.cpp    the transfer
//   tabulix_finish.cpp      the finish of a transferred report (panes, filter, printing,
//                           document properties, defined names)
//   tabulix_navigation.cpp  listing and activating workbooks and sheets
//   tabulix_chart.cpp       charts
//
// Thread rule: a component belongs to the thread that connects it (Activar, or the first
// operation that needs the spreadsheet), which uses that thread's application, until its
// connections are gone again (the connected workbook closed, or the component freed). Every
// operation that reaches the spreadsheet refuses another thread before it changes anything,
// with an AutomationError (kWrongThread) naming the operation and both threads. Components on
// different threads, each with its own data set, run in parallel. A data set is used by one
// thread at a time.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "automation/connection.h"
#include "automation/dispatch.h"
#include "automation/thread_owner.h"
#include "component/atributos_casilla.h"
#include "component/documento_tabulix.h"
#include "component/enumerations.h"
#include "component/formula_failure.h"
#include "component/formula_tabulix.h"
#include "component/impresion_tabulix.h"
#include "framework/component.h"
#include "framework/font.h"
#include "framework/string_list.h"

namespace tabulix::data {
class TDataSet;
class TField;
class TNumericField;
}  // namespace tabulix::data

namespace tabulix::component {

class TTabulix : public framework::TComponent {
public:
    explicit TTabulix(framework::TComponent* owner);
    ~TTabulix() override;

    std::string ClassName() const override { return "TTabulix"; }
    void DefineProperties(framework::PropertyList& properties) override;

    // --- Published properties -------------------------------------------------------------
    data::TDataSet* Datos() const { return datos_; }
    // Replacing a data set the component already has asks the user first (Yes/No): No keeps
    // the data set and the formula records; Yes empties the formula records. Without a window
    // nobody is asked and the answer is No, unless the program set another through
    // framework::DefaultUi().SetAnswer.
    void SetDatos(data::TDataSet* dataSet);

    TFormulaTabulix& Formulas() { return *formulas_; }
    const TFormulaTabulix& Formulas() const { return *formulas_; }
    TAtributosCasilla& CabeceraFormato() { return *cabeceraFormato_; }
    TAtributosCasilla& TituloFormato() { return *tituloFormato_; }
    TAtributosCasilla& DatosFormato() { return *datosFormato_; }
    TAtributosCasilla& FormulasFormatoLiteral() { return *formulasFormatoLiteral_; }
    TAtributosCasilla& FormulasFormatoResultado() { return *formulasFormatoResultado_; }

    bool CabeceraMostrar = true;
    bool ComaEsDecimal = true;
    std::int32_t FilaInicial = 1;
    std::string NombreHoja = "Datos";
    std::string Titulo;
    bool AutoAjustarColumnasDatos = true;
    bool AutoAjustarFormulas = true;
    bool AutoAjustarFormulasTexto = false;
    bool TituloCombinarCentrar = true;
    bool VerConstruccion = false;
    bool ActivarAlCreate = false;

    // The finish of a transferred report; every default leaves the workbook as it was without.
    // Freezes the rows above the data block (title and headings) in the sheet's window.
    bool InmovilizarCabecera = false;
    // Freezes the first N columns as well (0: none).
    std::int32_t InmovilizarColumnas = 0;
    // An autofilter over the heading row and the data block (needs the heading row).
    bool Autofiltro = false;
    // Names the data block after the sheet, and each formula result after the block name plus
    // "_F" and the record's two-digit number (Datos_F01), so that other formulas can use them.
    bool NombrarRangos = false;
    TImpresionTabulix& Impresion() { return *impresion_; }
    TDocumentoTabulix& Documento() { return *documento_; }

    // --- Run-time state ---------------------------------------------------------------------
    // Sheet rows of the first and last data record of the last transfer; 0 when none.
    std::int32_t PrimeraFilaDatos() const { return primeraFilaDatos_; }
    std::int32_t UltimaFilaDatos() const { return ultimaFilaDatos_; }
    automation::Lcid LocaleId() const { return lcid_; }
    bool ConstruyendoGrafico() const { return construyendoGrafico_; }

    // The connections, or nullptr where the component has none.
    automation::ApplicationConnection* ExcelApplication() const { return application_; }
    automation::WorkbookConnection* ExcelWorkbook() const { return workbook_; }
    automation::WorksheetConnection* ExcelWorksheet() const { return worksheet_; }
    automation::ChartConnection* ExcelChart() const { return chart_; }

    // Told of the records done (and the total when known, else -1) during a transfer.
    std::function<void(std::int64_t done, std::int64_t total)> OnProgreso;
    // The formula records the last transfer could not place (emptied when a transfer starts), in
    // record order; each is also told to OnFalloFormula as it fails, and the transfer goes on.
    const std::vector<TFalloFormula>& FallosFormulas() const { return fallosFormulas_; }
    std::function<void(const TFalloFormula&)> OnFalloFormula;

    // --- Connection ----------------------------------------------------------------------------
    void SetVisible(bool visible);
    void Activar();
    void CrearLibro();
    void CrearHoja();
    // Saves the connected workbook as an .xlsx file through the application's SaveAs (".xlsx"
    // is added to a name without extension). The embedded spreadsheet writes it under a
    // temporary name beside the file and renames it into place, so that a failed save leaves
    // the previous file as it was. Raises ETabulixError without a workbook connection, and
    // the application's automation::AutomationError (saying why) when the save fails.
    void GuardarLibro(const std::string& fichero);
    // Handler of the connected workbook's before-close event: drops every connection.
    void DesconectarLibro(automation::Connection& sender, automation::Variant& cancel);

    // --- Transfer ---------------------------------------------------------------------------
    void Traspasar();
    void TraspasarNuevoLibro();
    void TraspasarNuevaHoja();

    // --- Cell names and single cells ----------------------------------------------------------
    // Column and row are taken as 16-bit unsigned numbers.
    std::string Casilla(std::int32_t column, std::int32_t row) const;
    std::string Casilla(char columnLetter, std::int32_t row) const;
    std::string ColumnaExcel(std::int32_t column) const;
    // The column's letters, or a blank for a column below 1.
    std::string Columna(std::int32_t column) const;
    std::string MovCasilla(const std::string& cellName, std::int32_t columns, std::int32_t rows) const;
    std::int32_t ColumnaCampo(const std::string& fieldName) const;
    std::string RangoCampo(const std::string& fieldName) const;
    std::string CasillaFormula(std::int32_t record) const;
    void ValorCasilla(const std::string& cellName, const automation::Variant& value);
    void FormulaCasilla(const std::string& cellName, const std::string& formula);

    // --- Workbooks and sheets -------------------------------------------------------------------
    std::unique_ptr<framework::TStringList> Libros();
    std::unique_ptr<framework::TStringList> Hojas();
    void ActivarLibro(const std::string& name);
    void ActivarHoja(const std::string& name);
    void OnHojaActivada(automation::Connection& sender, automation::Variant& sheet);
    void OnFullaActivada(automation::Connection& sender, automation::Variant& workbook);

    // --- Formatting ------------------------------------------------------------------------------
    void AsignarAtributosCasilla(const std::string& cellName, const TAtributosCasilla& attributes);
    void AsignarAtributosCasilla(const std::string& first, const std::string& last, const TAtributosCasilla& attributes);
    void AsignarFuente(const std::string& cellName, const framework::TFont& font);
    void AsignarFuente(const std::string& first, const std::string& last, const framework::TFont& font);
    void AutoAjustarSeleccion(const std::string& first, const std::string& last);

    // --- Number formats ---------------------------------------------------------------------------
    void AsignarFormato(const std::string& first, const std::string& last, const data::TField& field);
    void AsignarFormatoNumerico(const std::string& first, const std::string& last, const data::TNumericField& field);
    void AsignarFormatoNumerico(const std::string& cellName, const std::string& format, bool currency);
    void AsignarFormatoNumerico(const std::string& first, const std::string& last, const std::string& format,
                                bool currency);
    // Exchanges "," and "." outside quoted literal text and backslash escapes.
    std::string FormatoEsp(const std::string& format) const;

    // --- Charts --------------------------------------------------------------------------------------
    void CrearGrafico(const std::string& sheetName, const std::string& firstCorner, const std::string& secondCorner,
                      TTipoGrafico type, TColumna_Fila orientation, const std::string& title,
                      const std::string& categoryTitle, const std::string& valueTitle, const std::string& extraTitle,
                      std::int32_t categoryLabels, std::int32_t seriesLabels, bool legend);

protected:
    void Loaded() override;
    void Notification(framework::TComponent* component, framework::TOperation operation) override;

    // Sets the data rows as a transfer would; for tests of the lookups that depend on them.
    void SetDataRows(std::int32_t first, std::int32_t last) {
        primeraFilaDatos_ = first;
        ultimaFilaDatos_ = last;
    }

private:
    // The worksheet's range between two cell names, or nullptr without a worksheet connection.
    automation::DispatchPtr rangeOf(const std::string& first, const std::string& last);
    // Transfer steps.
    automation::DispatchPtr transferRange(const std::string& first, const std::string& last);
    void putCell(const std::string& cell, automation::DispId member, const automation::Variant& value);
    // Sets a cell's Value; a refusal names `what()` (the value's origin) and the cell.
    template <class What>
    void putNamedCell(const std::string& cell, const automation::Variant& value, What what);
    // The data set as messages name it: its file when it reads one, else its name.
    std::string dataSetName() const;
    void widenOnlyFit(const std::string& cell);
    std::int32_t writeRecords(const std::vector<data::TField*>& visible, const std::vector<std::string>& letters,
                              std::int32_t firstRow);
    // The cell the record's formula went into, or an empty text when it got none.
    std::string placeFormulaRecord(std::int32_t record);
    // Where the last transfer put its parts, for the finish.
    struct ReportBlock {
        std::int64_t firstSheetRow = 0;  // the title row, else the heading row, else the first data row
        std::int64_t headingRow = 0;     // 0 without a heading row
        std::int64_t firstRow = 0;
        std::int64_t lastRow = 0;
        std::vector<std::string> letters;  // of the data columns
        std::vector<std::pair<std::int32_t, std::string>> results;  // record number, result cell
    };
    void finishReport(const ReportBlock& block);
    void freezePanes(std::int32_t rows, std::int32_t columns);
    void setUpPages(const ReportBlock& block);
    void setDocumentProperties();
    void nameRanges(const ReportBlock& block);
    void formulaFailed(std::int32_t record, std::string formula, const std::string& cell, std::string reason);

    // Refuses a thread other than the one the component is connected on (see the thread rule).
    void requireOwnThread(std::string_view operation) const {
        if (thread_ && !thread_->isCurrent()) thread_->refuse("TTabulix." + std::string(operation), "the component");
    }

    // The currency number format for a field or format text with that display format.
    std::string currencyFormat(const std::string& displayFormat) const;
    // The locale whose notation the number formats sent are written in, by ComaEsDecimal.
    automation::Lcid formatNotationLcid() const;
    // Frees an owned connection; the member is cleared first, so that the notification of
    // its destruction finds nothing left to clear.
    template <class C>
    static void release(C*& connection) {
        C* doomed = connection;
        connection = nullptr;
        delete doomed;
    }

    data::TDataSet* datos_ = nullptr;
    automation::Lcid lcid_;
    std::unique_ptr<TFormulaTabulix> formulas_;
    std::unique_ptr<TAtributosCasilla> formulasFormatoLiteral_;
    std::unique_ptr<TAtributosCasilla> formulasFormatoResultado_;
    std::unique_ptr<TAtributosCasilla> cabeceraFormato_;
    std::unique_ptr<TAtributosCasilla> tituloFormato_;
    std::unique_ptr<TAtributosCasilla> datosFormato_;
    std::unique_ptr<TImpresionTabulix> impresion_;
    std::unique_ptr<TDocumentoTabulix> documento_;

    // Owned as components (freed with the component, or released earlier); nullptr when absent.
    automation::ApplicationConnection* application_ = nullptr;
    automation::WorkbookConnection* workbook_ = nullptr;
    automation::WorksheetConnection* worksheet_ = nullptr;
    automation::ChartConnection* chart_ = nullptr;
    // The thread that connected the application connection; null while there is none.
    std::shared_ptr<const automation::ThreadOwner> thread_;

    std::int32_t primeraFilaDatos_ = 0;
    std::int32_t ultimaFilaDatos_ = 0;
    std::vector<TFalloFormula> fallosFormulas_;
    bool construyendoGrafico_ = false;
    // Handlers of the application connection's events now running (they may nest).
    int applicationHandlersRunning_ = 0;
};

}  // namespace tabulix::component
