#include "automation/automation_error.h"
#include "automation/dispids.h"
#include "component/tabulix.h"
#include "component/tabulix_error.h"

namespace tabulix::component {

using automation::DispatchPtr;
using automation::Variant;
namespace dispid = automation::dispid;
namespace xl = automation::xl;

void TTabulix::CrearGrafico(const std::string& sheetName, const std::string& firstCorner,
                            const std::string& secondCorner, TTipoGrafico type, TColumna_Fila orientation,
                            const std::string& title, const std::string& categoryTitle, const std::string& valueTitle,
                            const std::string& extraTitle, std::int32_t categoryLabels, std::int32_t seriesLabels,
                            bool legend) {
    requireOwnThread("CrearGrafico");
    if (!worksheet_ || !worksheet_->IsConnected()) return;
    if (static_cast<std::size_t>(type) >= TTipoGraficoValor.size())
        throw ETabulixError("CrearGrafico: unknown chart type " + std::to_string(static_cast<int>(type)));
    release(chart_);
    auto* chart = new automation::ChartConnection(this);
    chart_ = chart;

    // While the flag is set the sheet changes made here do not move the component's
    // connections; the data sheet is active again before it is cleared.
    construyendoGrafico_ = true;
    auto closing = [this] {
        if (worksheet_ && worksheet_->IsConnected()) worksheet_->Object()->call(dispid::Activate);
        construyendoGrafico_ = false;
    };
    try {
        DispatchPtr source = rangeOf(firstCorner, secondCorner);
        if (!workbook_ || !workbook_->IsConnected())
            throw ETabulixError("CrearGrafico: no workbook is connected to add the chart sheet to");
        DispatchPtr sheets = workbook_->Object()->get(dispid::Sheets).toObject();
        const Variant addArgs[] = {Variant::missing(), Variant::missing(), Variant(std::int32_t{1}), Variant(xl::Chart)};
        DispatchPtr sheet = sheets->invoke(dispid::Add, automation::InvokeKind::Method, addArgs, lcid_).toObject();
        chart->ConnectTo(sheet);
        try {
            sheet->put(dispid::Name, Variant(sheetName));
        } catch (const std::exception&) {
            sheet->put(dispid::Name, Variant(sheetName + "." + sheet->get(dispid::Name).toText()));
        }
        const Variant wizardArgs[] = {Variant(source),
                                      Variant(TTipoGraficoValor[static_cast<std::size_t>(type)]),
                                      Variant::missing(),
                                      Variant(static_cast<std::int32_t>(orientation) + 1),
                                      Variant(categoryLabels),
                                      Variant(seriesLabels),
                                      Variant(legend),
                                      Variant(title),
                                      Variant(categoryTitle),
                                      Variant(valueTitle),
                                      Variant(extraTitle)};
        sheet->invoke(dispid::ChartWizard, automation::InvokeKind::Method, wizardArgs, lcid_);
    } catch (...) {
        try {
            closing();
        } catch (...) {
            construyendoGrafico_ = false;  // the error that stopped the chart is the one to report
        }
        throw;
    }
    closing();
}

}  // namespace tabulix::component
