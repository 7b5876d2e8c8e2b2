// Writes a workbook of charts for the chart check: the demonstration's sales sheet, its chart
// as the demonstration builds it ("Grafica": columns, by rows, one label row and one label
// column, legend, four titles) and one chart sheet of every kind, named by its gallery name,
// plotting the three months by columns. The sales show as the demonstration shows them.
// Usage: chart_sample_workbook FILE.xlsx

#include <cstdio>
#include <string>

#include "automation/application_provider.h"
#include "spreadsheet/embedded_spreadsheet.h"
#include "spreadsheet/model/chart_kind.h"
#include "spreadsheet/model/tests/chart_demo_sheet.h"

using namespace tabulix;
using automation::DispatchPtr;
using automation::Variant;
namespace dispid = automation::dispid;
namespace xl = automation::xl;

namespace {

DispatchPtr addChart(const DispatchPtr& book, const std::string& name) {
    DispatchPtr chart =
        book->get(dispid::Sheets)
            .toObject()
            ->call(dispid::Add, {Variant::missing(), Variant::missing(), Variant(1), Variant(xl::Chart)})
            .toObject();
    chart->put(dispid::Name, Variant(name));
    return chart;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: chart_sample_workbook FILE.xlsx\n");
        return 2;
    }
    try {
        spreadsheet::installEmbeddedSpreadsheet();
        DispatchPtr app = automation::attachOrStartApplication();
        DispatchPtr book = app->get(dispid::Workbooks).toObject()->call(dispid::Add, {Variant(xl::WBATWorksheet)}).toObject();
        DispatchPtr sheet = book->get(dispid::ActiveSheet).toObject();
        sheet->put(dispid::Name, Variant("Ejemplo"));
        spreadsheet::testing::fillDemoSalesSheet(sheet);
        // The sales in the demonstration's display format, which the charts' values and axes keep.
        sheet->get(dispid::Range, {Variant("C3"), Variant("E20")})
            .toObject()
            ->put(dispid::NumberFormat, Variant("###,###,##0.00"), automation::kLcidEnglishUS);
        DispatchPtr block = sheet->get(dispid::Range, {Variant("B2"), Variant("E20")}).toObject();

        for (std::int32_t code : spreadsheet::galleryCodes()) {
            const auto kind = *spreadsheet::chartKindOfGallery(code);
            addChart(book, std::string(spreadsheet::galleryName(kind)))
                ->call(dispid::ChartWizard,
                       {Variant(block), Variant(code), Variant::missing(), Variant(2), Variant(1), Variant(1),
                        Variant(true), Variant("Ventas por mes"), Variant("Art\xC3\xAD" "culo"), Variant("Euros"),
                        Variant("Mes")});
        }
        addChart(book, "Grafica")
            ->call(dispid::ChartWizard,
                   {Variant(block), Variant(3), Variant::missing(), Variant(1), Variant(1), Variant(1), Variant(true),
                    Variant("Titulo grafica"), Variant("Eje Categoria."), Variant("Eje Valores"),
                    Variant("Eje extra 3d")});
        sheet->call(dispid::Activate);
        book->call(dispid::SaveAs, {Variant(std::string(argv[1]))});
        automation::shutDownRunningApplication();
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "chart_sample_workbook: %s\n", e.what());
        return 1;
    }
}
