#include "office/calc_chart.h"

#include <atomic>

#include <com/sun/star/awt/Rectangle.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/chart/ChartDataRowSource.hpp>
#include <com/sun/star/chart/XAxisXSupplier.hpp>
#include <com/sun/star/chart/XAxisYSupplier.hpp>
#include <com/sun/star/chart/XAxisZSupplier.hpp>
#include <com/sun/star/chart/XChartDocument.hpp>
#include <com/sun/star/chart/XDiagram.hpp>
#include <com/sun/star/document/XEmbeddedObjectSupplier.hpp>
#include <com/sun/star/drawing/XShape.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/table/XTableChart.hpp>
#include <com/sun/star/table/XTableCharts.hpp>
#include <com/sun/star/table/XTableChartsSupplier.hpp>

#include "office/calc_chart_series.h"
#include "office/calc_range.h"
#include "office/calc_sheet.h"
#include "office/uno_text.h"

namespace tabulix::office {

using css::uno::Reference;
using css::uno::UNO_QUERY_THROW;

namespace {

struct DiagramKind {
    std::int32_t gallery;
    const char* service;
    bool bars = false;   // horizontal bars rather than columns
    bool threeD = false;
    bool deep = false;   // series one behind the other, along a series axis
};

// As in the application, 3-D columns, lines and areas stand their series one behind the other;
// 3-D bars and pies do not. Calc has no surface charts: both surfaces become deep 3-D areas, the
// nearest it has.
constexpr DiagramKind kKinds[] = {
    {3, "com.sun.star.chart.BarDiagram"},
    {-4100, "com.sun.star.chart.BarDiagram", false, true, true},
    {4, "com.sun.star.chart.LineDiagram"},
    {-4101, "com.sun.star.chart.LineDiagram", false, true, true},
    {2, "com.sun.star.chart.BarDiagram", true},
    {-4099, "com.sun.star.chart.BarDiagram", true, true},
    {83, "com.sun.star.chart.AreaDiagram", false, true, true},
    {-4103, "com.sun.star.chart.AreaDiagram", false, true, true},
    {5, "com.sun.star.chart.PieDiagram"},
    {-4102, "com.sun.star.chart.PieDiagram", false, true},
    {1, "com.sun.star.chart.AreaDiagram"},
    {-4098, "com.sun.star.chart.AreaDiagram", false, true, true},
    {-4151, "com.sun.star.chart.NetDiagram"},
};

// A chart sheet is about one landscape page: the chart covers it from the top left corner.
constexpr sal_Int32 kChartWidth = 25000;  // 1/100 mm
constexpr sal_Int32 kChartHeight = 16000;

void setTitle(const Reference<css::uno::XInterface>& title, const std::string& text) {
    Reference<css::beans::XPropertySet>(title, UNO_QUERY_THROW)->setPropertyValue("String", css::uno::Any(toUno(text)));
}

}  // namespace

void runChartWizard(const CalcCall& call, CalcSheet& chartSheet) {
    call.expectCount(1, 11);
    const auto* source = dynamic_cast<const CalcRange*>(call.arg(0).toObject().get());
    if (!source) call.fail("argument 1 must be a range");
    const std::int32_t gallery = call.given(1) ? call.int32(1) : 3;
    const DiagramKind* kind = nullptr;
    for (const DiagramKind& k : kKinds)
        if (k.gallery == gallery) kind = &k;
    if (!kind) call.fail(std::to_string(gallery) + " is not a chart gallery");
    const std::int32_t plotBy = call.given(3) ? call.int32(3) : 2;
    if (plotBy != 1 && plotBy != 2) call.fail("plot by is 1 (rows) or 2 (columns), not " + std::to_string(plotBy));
    const bool byRows = plotBy == 1;
    const std::int32_t categoryLabels = call.given(4) ? call.int32(4) : 1;
    const std::int32_t seriesLabels = call.given(5) ? call.int32(5) : 1;
    const bool legend = !call.given(6) || call.boolean(6);
    const std::string title = call.given(7) ? call.text(7) : std::string();
    const std::string categoryTitle = call.given(8) ? call.text(8) : std::string();
    const std::string valueTitle = call.given(9) ? call.text(9) : std::string();
    const std::string extraTitle = call.given(10) ? call.text(10) : std::string();

    const css::table::CellRangeAddress block = source->address();
    const SeriesLayout layout{block, sheetName(source->sheet()->sheet()), byRows, categoryLabels, seriesLabels};
    if (const std::string problem = labelCountProblem(layout); !problem.empty()) call.fail(problem);
    // Calc's first reading of the block takes one line of labels each way; the series are laid
    // out afterwards as the counts say.
    const bool columnHeaders = byRows ? categoryLabels > 0 : seriesLabels > 0;
    const bool rowHeaders = byRows ? seriesLabels > 0 : categoryLabels > 0;

    static std::atomic<int> counter{0};
    const rtl::OUString name = toUno("TabulixChart" + std::to_string(++counter));
    const Reference<css::table::XTableCharts> charts =
        Reference<css::table::XTableChartsSupplier>(chartSheet.sheet(), UNO_QUERY_THROW)->getCharts();
    // A second ChartWizard on the same sheet replaces its chart.
    const auto existing = charts->getElementNames();
    for (const rtl::OUString& old : existing) charts->removeByName(old);
    const css::uno::Sequence<css::table::CellRangeAddress> ranges(&block, 1);
    charts->addNewByName(name, css::awt::Rectangle(0, 0, kChartWidth, kChartHeight), ranges, columnHeaders, rowHeaders);

    const Reference<css::table::XTableChart> chart(charts->getByName(name), UNO_QUERY_THROW);
    const Reference<css::chart::XChartDocument> document(
        Reference<css::document::XEmbeddedObjectSupplier>(chart, UNO_QUERY_THROW)->getEmbeddedObject(),
        UNO_QUERY_THROW);
    const Reference<css::chart::XDiagram> diagram(
        Reference<css::lang::XMultiServiceFactory>(document, UNO_QUERY_THROW)
            ->createInstance(rtl::OUString::createFromAscii(kind->service)),
        UNO_QUERY_THROW);
    document->setDiagram(diagram);
    const Reference<css::beans::XPropertySet> diagramProps(diagram, UNO_QUERY_THROW);
    diagramProps->setPropertyValue("DataRowSource", css::uno::Any(byRows ? css::chart::ChartDataRowSource_ROWS
                                                                          : css::chart::ChartDataRowSource_COLUMNS));
    // The direction after the dimension: turning a diagram 3-D sets its bars upright again.
    if (kind->threeD) diagramProps->setPropertyValue("Dim3D", css::uno::Any(true));
    if (kind->deep) diagramProps->setPropertyValue("Deep", css::uno::Any(true));
    if (kind->bars) diagramProps->setPropertyValue("Vertical", css::uno::Any(true));
    setChartSeries(chartSheet.session().context(), Reference<css::chart2::XChartDocument>(document, UNO_QUERY_THROW), layout);

    const Reference<css::beans::XPropertySet> documentProps(document, UNO_QUERY_THROW);
    documentProps->setPropertyValue("HasLegend", css::uno::Any(legend));
    documentProps->setPropertyValue("HasMainTitle", css::uno::Any(!title.empty()));
    if (!title.empty()) setTitle(document->getTitle(), title);
    const bool hasAxes = std::string_view(kind->service) != "com.sun.star.chart.PieDiagram";
    if (!hasAxes) return;
    diagramProps->setPropertyValue("HasXAxisTitle", css::uno::Any(!categoryTitle.empty()));
    if (!categoryTitle.empty())
        setTitle(Reference<css::chart::XAxisXSupplier>(diagram, UNO_QUERY_THROW)->getXAxisTitle(), categoryTitle);
    diagramProps->setPropertyValue("HasYAxisTitle", css::uno::Any(!valueTitle.empty()));
    if (!valueTitle.empty())
        setTitle(Reference<css::chart::XAxisYSupplier>(diagram, UNO_QUERY_THROW)->getYAxisTitle(), valueTitle);
    if (kind->deep && !extraTitle.empty()) {
        diagramProps->setPropertyValue("HasZAxisTitle", css::uno::Any(true));
        setTitle(Reference<css::chart::XAxisZSupplier>(diagram, UNO_QUERY_THROW)->getZAxisTitle(), extraTitle);
    }
}

}  // namespace tabulix::office
