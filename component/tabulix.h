#pragma once
/// @file
/// TTabulix, the component that lays the records of a data set out in a spreadsheet workbook.
///
/// Thread rule: a component belongs to the thread that connects it (Activar, or the first
/// operation that needs the spreadsheet), which uses that thread's application, until its
/// connections are gone again (the connected workbook closed, or the component freed). Every
/// operation that reaches the spreadsheet refuses another thread before it changes anything,
/// with an AutomationError (kWrongThread) naming the operation and both threads. Components on
/// different threads, each with its own data set, run in parallel. A data set is used by one
/// thread at a time.

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
#include "framework/export.h"
#include "framework/font.h"
#include "framework/string_list.h"

namespace tabulix::data {
class TDataSet;
class TField;
class TNumericField;
}  // namespace tabulix::data

namespace tabulix::component {

/// @brief Lays the records of a data set out in a spreadsheet workbook.
///
/// One call (Traspasar, TraspasarNuevoLibro, TraspasarNuevaHoja) writes a title row, a row of
/// headings, one row per record with one column per visible field, the attribute sets of each
/// part, the fields' alignments and number formats, fitted columns and the summary lines of the
/// formula records. Around that the component names and writes single cells, formats blocks of
/// cells, builds charts, and lists and activates the open workbooks and sheets.
///
/// The component reaches the spreadsheet only through the automation layer, so it drives
/// whichever application the program installed (spreadsheet::installEmbeddedSpreadsheet for the
/// embedded spreadsheet). It owns its formula list, its five attribute sets and its four
/// connections (application, workbook, worksheet, chart sheet); it refers to its data set
/// without owning it and forgets it when the data set is destroyed. Destroying the component or
/// a connection never closes the application or its workbooks.
///
/// An operation that needs a connection the component does not have returns without effect.
/// Errors of the spreadsheet arrive as automation::AutomationError, errors of the data set as
/// data::EDatabaseError, the component's own as ETabulixError; work done before the error stays
/// done. Rows and columns count from 1; cell names are the spreadsheet's ("A1", "AB12"); field,
/// workbook and sheet names compare ignoring the letter case of a to z.
///
/// @threads Belongs to the thread that connects it (Activar, or the first operation that needs
/// the spreadsheet), whose application it uses; from another thread every operation that reaches
/// the spreadsheet is refused with AutomationError (kWrongThread). The spreadsheet's events reach
/// it on its thread; components on different threads run in parallel.
class TABULIX_API TTabulix : public framework::TComponent {
public:
    /// Makes a component with the default settings and no connection.
    /// @param owner frees the component with itself; nullptr leaves that to the caller.
    explicit TTabulix(framework::TComponent* owner);
    /// Frees the connections (the application and its workbooks stay open), the formula list
    /// and the attribute sets.
    ~TTabulix() override;

    std::string ClassName() const override { return "TTabulix"; }
    void DefineProperties(framework::PropertyList& properties) override;

    // --- Published properties -------------------------------------------------------------
    /// The data set to transfer (published as `Datos`), or nullptr.
    data::TDataSet* Datos() const { return datos_; }
    /// Sets the data set to transfer; the component does not own it and forgets it when it is
    /// destroyed. Replacing a data set the component already has asks the user first (Yes/No,
    /// through framework::CurrentUi): No keeps the data set and the formula records; Yes empties
    /// the formula records. Without a window nobody is asked and the answer is No, unless the
    /// program set another through framework::DefaultUi().SetAnswer.
    /// @param dataSet the data set, or nullptr for none.
    void SetDatos(data::TDataSet* dataSet);

    /// The formula records, one per line (published as `Formulas`).
    TFormulaTabulix& Formulas() { return *formulas_; }
    /// The formula records, read-only.
    const TFormulaTabulix& Formulas() const { return *formulas_; }
    /// How the heading row looks (published as `CabeceraFormato`).
    TAtributosCasilla& CabeceraFormato() { return *cabeceraFormato_; }
    /// How the title row looks (published as `TituloFormato`).
    TAtributosCasilla& TituloFormato() { return *tituloFormato_; }
    /// How the data block looks (published as `DatosFormato`).
    TAtributosCasilla& DatosFormato() { return *datosFormato_; }
    /// How the formula records' captions look (published as `FormulasFormatoLiteral`).
    TAtributosCasilla& FormulasFormatoLiteral() { return *formulasFormatoLiteral_; }
    /// How the formula records' result cells look (published as `FormulasFormatoResultado`).
    TAtributosCasilla& FormulasFormatoResultado() { return *formulasFormatoResultado_; }

    bool CabeceraMostrar = true;  ///< Writes the heading row (each field's DisplayLabel).
    bool ComaEsDecimal = true;  ///< Sends number formats in comma-decimal notation (FormatoEsp).
    std::int32_t FilaInicial = 1;  ///< The first sheet row the transfer uses (below 1: row 1).
    std::string NombreHoja = "Datos";  ///< The name the transfer gives the worksheet.
    std::string Titulo;  ///< The title written above the data; no title row when empty.
    bool AutoAjustarColumnasDatos = true;  ///< Fits the data columns to their contents.
    bool AutoAjustarFormulas = true;  ///< Widens the columns of the formula results to fit.
    bool AutoAjustarFormulasTexto = false;  ///< Widens the columns of the formula captions to fit.
    bool TituloCombinarCentrar = true;  ///< Merges the title over the data's columns and centres it.
    bool VerConstruccion = false;  ///< Shows the application while the transfer runs.
    bool ActivarAlCreate = false;  ///< Connects to the application as soon as a form file is loaded.

    // --- The finish of a transferred report: every default leaves the workbook as it was ---
    /// Freezes the rows above the data block (title and headings) in the sheet's window.
    bool InmovilizarCabecera = false;
    /// Freezes the first N columns as well (0: none).
    std::int32_t InmovilizarColumnas = 0;
    /// An autofilter over the heading row and the data block (needs the heading row).
    bool Autofiltro = false;
    /// Names the data block after the sheet, and each formula result after the block name plus
    /// "_F" and the record's two-digit number (Datos_F01), so that other formulas can use them.
    bool NombrarRangos = false;
    /// The print set-up the transfer gives the sheet (published as `Impresion`).
    TImpresionTabulix& Impresion() { return *impresion_; }
    /// The document properties the transfer gives the workbook (published as `Documento`).
    TDocumentoTabulix& Documento() { return *documento_; }

    // --- Run-time state ---------------------------------------------------------------------
    /// The sheet row of the first data record of the last transfer; 0 before any transfer and
    /// after CrearLibro or CrearHoja.
    std::int32_t PrimeraFilaDatos() const { return primeraFilaDatos_; }
    /// The sheet row of the last data record of the last transfer; 0 as for PrimeraFilaDatos.
    std::int32_t UltimaFilaDatos() const { return ultimaFilaDatos_; }
    /// The locale identifier sent with the calls that depend on it: the user's (LC_NUMERIC),
    /// Spanish (Spain) when the system gives none.
    automation::Lcid LocaleId() const { return lcid_; }
    /// Whether CrearGrafico is running: the sheet changes it makes do not move the connections.
    bool ConstruyendoGrafico() const { return construyendoGrafico_; }

    /// The connection to the application, or nullptr.
    automation::ApplicationConnection* ExcelApplication() const { return application_; }
    /// The connection to the connected workbook (GuardarLibro saves it), or nullptr.
    automation::WorkbookConnection* ExcelWorkbook() const { return workbook_; }
    /// The connection to the worksheet every cell operation works on, or nullptr.
    automation::WorksheetConnection* ExcelWorksheet() const { return worksheet_; }
    /// The connection to the chart sheet last built or activated, or nullptr.
    automation::ChartConnection* ExcelChart() const { return chart_; }

    /// Told of the records written during a transfer: every 1000 records and after the last,
    /// with the records done and the data set's record count (-1 when it does not know it).
    std::function<void(std::int64_t done, std::int64_t total)> OnProgreso;
    /// The formula records the last transfer could not place (emptied when a transfer starts), in
    /// record order; each is also told to OnFalloFormula as it fails, and the transfer goes on.
    const std::vector<TFalloFormula>& FallosFormulas() const { return fallosFormulas_; }
    /// Told of each formula record the transfer cannot place, as it fails (see FallosFormulas).
    std::function<void(const TFalloFormula&)> OnFalloFormula;

    // --- Connection ----------------------------------------------------------------------------
    /// Shows the application's window maximised, or hides it; without an application connection
    /// nothing happens.
    /// @param visible true to show it.
    /// @throws automation::AutomationError when the application refuses.
    void SetVisible(bool visible);
    /// Connects to the running application, starting it through the installed provider when
    /// none runs, and follows the user's activations of sheets and workbooks from then on.
    /// @throws automation::AutomationError when no provider is installed or the start fails.
    void Activar();
    /// Adds a workbook of one worksheet and connects to both, connecting to the application
    /// first when needed; the earlier workbook stays open. The data rows go back to 0.
    /// @throws automation::AutomationError when the application refuses.
    void CrearLibro();
    /// Adds a worksheet before the active sheet of the connected workbook and connects to it;
    /// without a workbook nothing happens. The data rows go back to 0.
    /// @throws automation::AutomationError when the application refuses.
    void CrearHoja();
    /// Saves the connected workbook as an .xlsx file through the application's SaveAs (".xlsx"
    /// is added to a name without extension). The embedded spreadsheet writes it under a
    /// temporary name beside the file and renames it into place, so that a failed save leaves
    /// the previous file as it was.
    /// @param fichero the file's path.
    /// @throws ETabulixError without a workbook connection.
    /// @throws automation::AutomationError (saying why) when the save fails.
    void GuardarLibro(const std::string& fichero);
    /// Handler of the connected workbook's before-close event: drops every connection and the
    /// data rows. Called by the workbook connection, not by programs.
    /// @param sender the workbook connection.
    /// @param cancel the event's cancel flag, left as it is.
    void DesconectarLibro(automation::Connection& sender, automation::Variant& cancel);

    // --- Transfer ---------------------------------------------------------------------------
    /// Lays the data set out on the connected worksheet from row FilaInicial: names the sheet
    /// NombreHoja (or NombreHoja, a dot and its own name when that is taken), writes the title,
    /// the headings and every record, applies the attribute sets, the fields' alignments and
    /// number formats, fits the columns, places the formula records and finishes the report
    /// (frozen panes, filter, print set-up, document properties, names, as set). A formula
    /// record that cannot be placed (a formula the spreadsheet cannot read, a field the data set
    /// does not have) is kept in FallosFormulas and told to OnFalloFormula, and the others are
    /// still placed. The data set's current record is the same afterwards.
    /// @throws ETabulixError without a connected worksheet, without Datos, with a closed data
    ///   set, when the first data row would lie beyond the sheet, or when the worksheet goes
    ///   away during the transfer.
    /// @throws automation::AutomationError when the spreadsheet refuses a value (the message
    ///   names the data set, record, field and cell).
    /// @throws data::EDatabaseError when the data set cannot be read.
    void Traspasar();
    /// With an open data set, CrearLibro then Traspasar; otherwise nothing.
    /// @throws as CrearLibro and Traspasar.
    void TraspasarNuevoLibro();
    /// With an open data set, CrearHoja (CrearLibro when no workbook is connected) then
    /// Traspasar; otherwise nothing.
    /// @throws as CrearHoja, CrearLibro and Traspasar.
    void TraspasarNuevaHoja();

    // --- Cell names and single cells ----------------------------------------------------------
    /// The name of a cell: Casilla(28, 3) is "AB3".
    /// @param column the column, taken as a 16-bit unsigned number.
    /// @param row the row, taken as a 16-bit unsigned number.
    std::string Casilla(std::int32_t column, std::int32_t row) const;
    /// The name of a cell from its column letter: Casilla('c', 7) is "C7".
    /// @param columnLetter the column's letter, upper-cased.
    /// @param row the row, taken as a 16-bit unsigned number.
    std::string Casilla(char columnLetter, std::int32_t row) const;
    /// The letters of a column: ColumnaExcel(28) is "AB".
    /// @param column the column, from 1.
    std::string ColumnaExcel(std::int32_t column) const;
    /// The column's letters, or a blank for a column below 1.
    /// @param column the column.
    std::string Columna(std::int32_t column) const;
    /// The name of the cell so many columns and rows away from another.
    /// @param cellName the starting cell.
    /// @param columns columns to the right (negative: to the left).
    /// @param rows rows down (negative: up).
    std::string MovCasilla(const std::string& cellName, std::int32_t columns, std::int32_t rows) const;
    /// The sheet column a field is transferred into, counting the visible fields only.
    /// @param fieldName the field's FieldName, letter case ignored.
    /// @return the column, or 0 for a hidden or unknown field or without Datos.
    std::int32_t ColumnaCampo(const std::string& fieldName) const;
    /// The field's data cells of the last transfer, such as "C3:C20".
    /// @param fieldName the field's FieldName, letter case ignored.
    /// @return the range, or an empty text before a transfer or for a field not transferred.
    std::string RangoCampo(const std::string& fieldName) const;
    /// The result cell of a formula record over the last transfer, such as "E24".
    /// @param record the record, from 1.
    /// @return the cell, or an empty text for a record that does not exist or whose row field
    ///   is not a number.
    std::string CasillaFormula(std::int32_t record) const;
    /// Writes a value into a cell of the connected worksheet: a number, a date, a Boolean, or a
    /// text, kept as text even when it begins with "=". Without a worksheet nothing happens.
    /// @param cellName the cell.
    /// @param value the value.
    /// @throws automation::AutomationError for a cell name outside A1:XFD1048576 or a value the
    ///   spreadsheet refuses.
    void ValorCasilla(const std::string& cellName, const automation::Variant& value);
    /// Writes a formula into a cell of the connected worksheet, upper-cased and with its
    /// placeholders expanded as TFormulaTabulix::FormulaPropia does ("#F04#" the result cell of
    /// record 4, "#T_FIELD#" the field's data range). Without a worksheet nothing happens.
    /// @param cellName the cell.
    /// @param formula the formula, in the spreadsheet's English notation ("=SUM(A1:A3)").
    /// @throws automation::AutomationError for a bad cell name or a formula the spreadsheet
    ///   cannot read (the cell is left as it was).
    void FormulaCasilla(const std::string& cellName, const std::string& formula);

    // --- Workbooks and sheets -------------------------------------------------------------------
    /// The names of the open workbooks, in the application's order.
    /// @return a new list the caller owns; empty without an application connection.
    std::unique_ptr<framework::TStringList> Libros();
    /// The names of the connected workbook's sheets, worksheets and chart sheets, in order.
    /// @return a new list the caller owns; empty without a workbook connection.
    /// @throws automation::AutomationError for a sheet that is neither kind.
    std::unique_ptr<framework::TStringList> Hojas();
    /// Activates an open workbook and connects to it and to its active sheet (a worksheet as
    /// the worksheet, a chart sheet as the chart). An unknown name does nothing.
    /// @param name the workbook's name, letter case ignored.
    void ActivarLibro(const std::string& name);
    /// Activates a sheet of the connected workbook and connects to it (a worksheet as the
    /// worksheet, a chart sheet as the chart). An unknown name does nothing.
    /// @param name the sheet's name, letter case ignored.
    void ActivarHoja(const std::string& name);
    /// Handler of the application's sheet-activated event: connects to the sheet the user
    /// activated, except while a chart is being built. Called by the application connection.
    /// @param sender the application connection.
    /// @param sheet the activated sheet.
    void OnHojaActivada(automation::Connection& sender, automation::Variant& sheet);
    /// Handler of the application's workbook-activated event: connects to the workbook the user
    /// activated, except while a chart is being built. Called by the application connection.
    /// @param sender the application connection.
    /// @param workbook the activated workbook.
    void OnFullaActivada(automation::Connection& sender, automation::Variant& workbook);

    // --- Formatting ------------------------------------------------------------------------------
    /// Gives a cell of the connected worksheet the font, background and border lines of an
    /// attribute set. Without a worksheet nothing happens.
    /// @param cellName the cell.
    /// @param attributes the attribute set; the caller keeps it.
    /// @throws automation::AutomationError for a bad cell name.
    void AsignarAtributosCasilla(const std::string& cellName, const TAtributosCasilla& attributes);
    /// Gives a block of cells the font, background and border lines of an attribute set: the
    /// inside lines on every cell or between the block's rows and columns, the outline on its
    /// outer edges. Without a worksheet nothing happens.
    /// @param first one corner of the block.
    /// @param last the opposite corner.
    /// @param attributes the attribute set; the caller keeps it.
    /// @throws automation::AutomationError for a bad cell name.
    void AsignarAtributosCasilla(const std::string& first, const std::string& last, const TAtributosCasilla& attributes);
    /// Gives a cell a font's name, colour, size, bold, italic and underline.
    /// @param cellName the cell.
    /// @param font the font; the caller keeps it.
    /// @throws automation::AutomationError for a bad cell name.
    void AsignarFuente(const std::string& cellName, const framework::TFont& font);
    /// Gives a block of cells a font's name, colour, size, bold, italic and underline.
    /// @param first one corner of the block.
    /// @param last the opposite corner.
    /// @param font the font; the caller keeps it.
    /// @throws automation::AutomationError for a bad cell name.
    void AsignarFuente(const std::string& first, const std::string& last, const framework::TFont& font);
    /// Fits the widths of a block's columns to their contents (the displayed texts, measured
    /// with the cells' fonts).
    /// @param first one corner of the block.
    /// @param last the opposite corner.
    /// @throws automation::AutomationError for a bad cell name.
    void AutoAjustarSeleccion(const std::string& first, const std::string& last);

    // --- Number formats ---------------------------------------------------------------------------
    /// Gives a block the field's horizontal alignment and, for a numeric field, its number
    /// format (as the other AsignarFormatoNumerico).
    /// @param first one corner of the block.
    /// @param last the opposite corner.
    /// @param field the field whose Alignment and DisplayFormat are used.
    /// @throws automation::AutomationError for a bad cell name or a format the spreadsheet
    ///   cannot read.
    void AsignarFormato(const std::string& first, const std::string& last, const data::TField& field);
    /// Gives a block the field's DisplayFormat, or for a currency field a currency format with
    /// the symbol of the user's locale and the decimals of the display format.
    /// @param first one corner of the block.
    /// @param last the opposite corner.
    /// @param field the numeric field.
    /// @throws automation::AutomationError for a bad cell name or format.
    void AsignarFormatoNumerico(const std::string& first, const std::string& last, const data::TNumericField& field);
    /// Gives a cell a number format.
    /// @param cellName the cell.
    /// @param format the format, written with "," for thousands and "." for decimals
    ///   ("#,##0.00"); sent in comma-decimal notation while ComaEsDecimal is true.
    /// @param currency true for the locale's currency format with the decimals of `format`.
    /// @throws automation::AutomationError for a bad cell name or format.
    void AsignarFormatoNumerico(const std::string& cellName, const std::string& format, bool currency);
    /// Gives a block of cells a number format, as the form for one cell does.
    /// @param first one corner of the block.
    /// @param last the opposite corner.
    /// @param format the format, written with "," for thousands and "." for decimals.
    /// @param currency true for the locale's currency format with the decimals of `format`.
    /// @throws automation::AutomationError for a bad cell name or format.
    void AsignarFormatoNumerico(const std::string& first, const std::string& last, const std::string& format,
                                bool currency);
    /// A number format in comma-decimal notation: "," and "." exchanged outside quoted literal
    /// text and backslash escapes ("###,##0.00" gives "###.##0,00").
    /// @param format the format.
    std::string FormatoEsp(const std::string& format) const;

    // --- Charts --------------------------------------------------------------------------------------
    /// Adds a chart sheet before the active sheet of the connected workbook and draws a chart of
    /// a block of the connected worksheet on it; the worksheet stays connected and active again
    /// afterwards, and ExcelChart is connected to the chart sheet. Without a worksheet nothing
    /// happens.
    /// @param sheetName the chart sheet's name; when the workbook refuses it, the name, a dot
    ///   and the sheet's default name.
    /// @param firstCorner one corner of the block to draw.
    /// @param secondCorner the opposite corner.
    /// @param type the kind of chart.
    /// @param orientation xlEnFila: each row is a series; xlEnColumna: each column is one.
    /// @param title the chart's title; empty for none.
    /// @param categoryTitle the title of the category axis.
    /// @param valueTitle the title of the value axis.
    /// @param extraTitle the title of a 3-D chart's third axis.
    /// @param categoryLabels how many of the block's first rows (or columns) hold the category
    ///   labels.
    /// @param seriesLabels how many of the block's first columns (or rows) hold the series names.
    /// @param legend true to show a legend.
    /// @throws ETabulixError for a chart type outside TTipoGrafico, or without a workbook.
    /// @throws automation::AutomationError for a bad cell name or a block the spreadsheet cannot
    ///   draw.
    void CrearGrafico(const std::string& sheetName, const std::string& firstCorner, const std::string& secondCorner,
                      TTipoGrafico type, TColumna_Fila orientation, const std::string& title,
                      const std::string& categoryTitle, const std::string& valueTitle, const std::string& extraTitle,
                      std::int32_t categoryLabels, std::int32_t seriesLabels, bool legend);

protected:
    /// Connects to the application when ActivarAlCreate is set (not while designing).
    void Loaded() override;
    /// Forgets the data set or a connection that is being destroyed.
    void Notification(framework::TComponent* component, framework::TOperation operation) override;

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
    // The filter buttons go on before the columns are fitted (the headings get room for them).
    void putFilterButtons(const ReportBlock& block);
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
