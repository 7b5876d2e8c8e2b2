#include "component/tabulix.h"

#include "automation/dispids.h"
#include "component/tabulix_error.h"
#include "data/data_set.h"
#include "framework/currency_settings.h"
#include "framework/property_list.h"
#include "framework/ui_services.h"

namespace tabulix::component {

using automation::Variant;
namespace dispid = automation::dispid;
namespace xl = automation::xl;

namespace {
constexpr const char* kReplaceDataSetQuestion =
    "Si modifica la fuente de Datos se eliminaran todas las Formulas creadas.\r"
    "\xC2\xBF"
    "Desea modificar la fuente de datos?";

// Frees a connection that an event handler replaced while an operation was using it. A handler
// that dropped every connection (DesconectarLibro) has freed it already, so it is freed only
// while the component still owns it.
void freeIfOwned(const framework::TComponent& owner, framework::TComponent* connection) {
    for (int i = 0; i < owner.ComponentCount(); ++i)
        if (owner.Components(i) == connection) {
            delete connection;
            return;
        }
}
}  // namespace

TTabulix::TTabulix(framework::TComponent* owner)
    : TComponent(owner),
      lcid_(framework::UserDefaultLocaleId()),
      formulas_(std::make_unique<TFormulaTabulix>(this)),
      formulasFormatoLiteral_(std::make_unique<TAtributosCasilla>()),
      formulasFormatoResultado_(std::make_unique<TAtributosCasilla>()),
      cabeceraFormato_(std::make_unique<TAtributosCasilla>()),
      tituloFormato_(std::make_unique<TAtributosCasilla>()),
      datosFormato_(std::make_unique<TAtributosCasilla>()),
      impresion_(std::make_unique<TImpresionTabulix>()),
      documento_(std::make_unique<TDocumentoTabulix>()) {}

TTabulix::~TTabulix() {
    // Freeing a connection only disconnects it: the application and its workbooks stay open.
    release(chart_);
    release(worksheet_);
    release(workbook_);
    release(application_);
    thread_.reset();
    if (datos_) RemoveFreeNotification(datos_);
    datosFormato_.reset();
    tituloFormato_.reset();
    cabeceraFormato_.reset();
    formulasFormatoLiteral_.reset();
    formulasFormatoResultado_.reset();
    formulas_.reset();
}

void TTabulix::DefineProperties(framework::PropertyList& p) {
    TComponent::DefineProperties(p);
    p.Reference<data::TDataSet>("Datos", [this] { return datos_; }, [this](data::TDataSet* d) { SetDatos(d); });
    p.Object("CabeceraFormato", *cabeceraFormato_);
    p.Boolean("CabeceraMostrar", CabeceraMostrar).Default(true);
    p.Object("TituloFormato", *tituloFormato_);
    p.Boolean("ComaEsDecimal", ComaEsDecimal).Default(true);
    p.Object("DatosFormato", *datosFormato_);
    p.Integer("FilaInicial", FilaInicial).Default(1);
    p.Text("NombreHoja", NombreHoja);
    p.Text("Titulo", Titulo);
    p.StringList("Formulas", *formulas_);
    p.Object("FormulasFormatoLiteral", *formulasFormatoLiteral_);
    p.Object("FormulasFormatoResultado", *formulasFormatoResultado_);
    p.Boolean("AutoAjustarColumnasDatos", AutoAjustarColumnasDatos);
    p.Boolean("AutoAjustarFormulas", AutoAjustarFormulas);
    p.Boolean("AutoAjustarFormulasTexto", AutoAjustarFormulasTexto);
    p.Boolean("TituloCombinarCentrar", TituloCombinarCentrar);
    p.Boolean("VerConstruccion", VerConstruccion);
    p.Boolean("ActivarAlCreate", ActivarAlCreate);
    p.Boolean("InmovilizarCabecera", InmovilizarCabecera).Default(false);
    p.Integer<std::int32_t>(
         "InmovilizarColumnas", [this] { return InmovilizarColumnas; },
         [this](std::int32_t columns) {
             if (columns < 0 || columns > 16383)
                 throw framework::PropertyValueError("InmovilizarColumnas va de 0 a 16383, no " +
                                                     std::to_string(columns));
             InmovilizarColumnas = columns;
         })
        .Default(0);
    p.Boolean("Autofiltro", Autofiltro).Default(false);
    p.Boolean("NombrarRangos", NombrarRangos).Default(false);
    p.Object("Impresion", *impresion_);
    p.Object("Documento", *documento_);
}

void TTabulix::Loaded() {
    TComponent::Loaded();
    if (!IsDesigning() && ActivarAlCreate) Activar();
}

void TTabulix::Notification(framework::TComponent* component, framework::TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != framework::TOperation::opRemove) return;
    // The data set went away: forget it without asking; the formula records stay.
    if (component == datos_) datos_ = nullptr;
    if (component == application_) {
        application_ = nullptr;
        thread_.reset();
    }
    if (component == workbook_) workbook_ = nullptr;
    if (component == worksheet_) worksheet_ = nullptr;
    if (component == chart_) chart_ = nullptr;
}

void TTabulix::SetDatos(data::TDataSet* dataSet) {
    if (datos_ && dataSet != datos_) {
        const auto answer = framework::CurrentUi().MessageDlg(kReplaceDataSetQuestion, "",
                                                              framework::TMsgDlgType::mtConfirmation,
                                                              framework::mbYesNo);
        if (answer == framework::TModalResult::mrNo) return;
        formulas_->EliminarFormulas();
    }
    if (datos_ == dataSet) return;
    if (datos_) RemoveFreeNotification(datos_);
    datos_ = dataSet;
    if (datos_) FreeNotification(datos_);
}

void TTabulix::SetVisible(bool visible) {
    requireOwnThread("SetVisible");
    if (!application_) return;
    automation::DispatchPtr app = application_->Object();
    app->put(dispid::Visible, Variant(visible), lcid_);
    app->put(dispid::WindowState, Variant(xl::Maximized), lcid_);
}

void TTabulix::Activar() {
    requireOwnThread("Activar");
    auto* connection = new automation::ApplicationConnection(this);
    connection->OnSheetActivate = [this](automation::Connection& sender, Variant& sheet) {
        OnHojaActivada(sender, sheet);
    };
    connection->OnWorkbookActivate = [this](automation::Connection& sender, Variant& workbook) {
        OnFullaActivada(sender, workbook);
    };
    automation::ApplicationConnection* previous = application_;
    application_ = connection;
    if (!thread_) thread_ = automation::ThreadOwner::ofCurrentThread();
    // The earlier connection can go at once unless one of its event handlers is running.
    if (previous && applicationHandlersRunning_ == 0) delete previous;
}

void TTabulix::CrearLibro() {
    requireOwnThread("CrearLibro");
    release(workbook_);
    release(worksheet_);
    release(chart_);
    if (!application_) Activar();
    primeraFilaDatos_ = 0;
    ultimaFilaDatos_ = 0;

    auto* workbook = new automation::WorkbookConnection(this);
    auto* worksheet = new automation::WorksheetConnection(this);
    workbook_ = workbook;
    worksheet_ = worksheet;
    workbook->OnBeforeClose = [this](automation::Connection& sender, Variant& cancel) {
        DesconectarLibro(sender, cancel);
    };

    // Adding the workbook activates it, and the workbook-activated handler (ActivarLibro) then
    // puts connections of its own to the new workbook in place of the ones made here. Those are
    // dropped instead of connected: a duplicate left bound to this workbook's before-close event
    // would drop every connection when this workbook closes, even after a later CrearLibro has
    // moved the component to another workbook.
    automation::DispatchPtr app = application_->Object();
    automation::DispatchPtr workbooks = app->get(dispid::Workbooks).toObject();
    automation::DispatchPtr book = workbooks->call(dispid::Add, {Variant(xl::WBATWorksheet)}, lcid_).toObject();
    if (workbook_ == workbook)
        workbook->ConnectTo(book);
    else
        freeIfOwned(*this, workbook);
    automation::DispatchPtr sheets = book->get(dispid::Worksheets).toObject();
    automation::DispatchPtr sheet = sheets->get(dispid::Item, {Variant(std::int32_t{1})}).toObject();
    if (worksheet_ == worksheet)
        worksheet->ConnectTo(sheet);
    else
        freeIfOwned(*this, worksheet);
}

void TTabulix::CrearHoja() {
    requireOwnThread("CrearHoja");
    if (!workbook_) return;
    release(worksheet_);
    primeraFilaDatos_ = 0;
    ultimaFilaDatos_ = 0;
    auto* worksheet = new automation::WorksheetConnection(this);
    worksheet_ = worksheet;
    automation::DispatchPtr sheets = workbook_->Object()->get(dispid::Sheets).toObject();
    const Variant args[] = {Variant::missing(), Variant::missing(), Variant(std::int32_t{1}), Variant(xl::Worksheet)};
    worksheet->ConnectTo(sheets->invoke(dispid::Add, automation::InvokeKind::Method, args, lcid_).toObject());
}

void TTabulix::GuardarLibro(const std::string& fichero) {
    if (!workbook_ || !workbook_->IsConnected()) throw ETabulixError("GuardarLibro: no workbook is connected");
    workbook_->Object()->call(dispid::SaveAs, {Variant(fichero)}, lcid_);
}

void TTabulix::DesconectarLibro(automation::Connection& /*sender*/, Variant& /*cancel*/) {
    if (worksheet_) worksheet_->Disconnect();
    if (chart_) chart_->Disconnect();
    if (workbook_) workbook_->Disconnect();
    release(worksheet_);
    release(chart_);
    release(workbook_);
    release(application_);
    thread_.reset();
    primeraFilaDatos_ = 0;
    ultimaFilaDatos_ = 0;
}

automation::DispatchPtr TTabulix::rangeOf(const std::string& first, const std::string& last) {
    // A worksheet connection left without a sheet (the active sheet was a chart) counts as none.
    if (!worksheet_ || !worksheet_->IsConnected()) return nullptr;
    return worksheet_->Object()->get(dispid::Range, {Variant(first), Variant(last)}).toObject();
}

}  // namespace tabulix::component
