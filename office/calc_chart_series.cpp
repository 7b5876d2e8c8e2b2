#include "office/calc_chart_series.h"

#include <vector>

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/chart2/ScaleData.hpp>
#include <com/sun/star/chart2/XAxis.hpp>
#include <com/sun/star/chart2/XChartTypeContainer.hpp>
#include <com/sun/star/chart2/XColorScheme.hpp>
#include <com/sun/star/chart2/XCoordinateSystemContainer.hpp>
#include <com/sun/star/chart2/XDataSeriesContainer.hpp>
#include <com/sun/star/chart2/data/LabeledDataSequence.hpp>
#include <com/sun/star/chart2/data/XDataProvider.hpp>
#include <com/sun/star/chart2/data/XDataSink.hpp>
#include <com/sun/star/lang/XMultiComponentFactory.hpp>

#include "office/uno_text.h"

namespace tabulix::office {

using css::uno::Any;
using css::uno::Reference;
using css::uno::Sequence;
using css::uno::UNO_QUERY_THROW;

namespace {

std::string columnLetters(sal_Int32 column) {
    std::string letters;
    for (sal_Int32 n = column + 1; n > 0; n = (n - 1) / 26) letters.insert(letters.begin(), char('A' + (n - 1) % 26));
    return letters;
}

std::string cellName(sal_Int32 column, sal_Int32 row) { return columnLetters(column) + std::to_string(row + 1); }

// Calc's own notation of a range of the sheet: $'Sheet'.$A$1:$B$2.
std::string rangeText(const std::string& sheet, sal_Int32 firstColumn, sal_Int32 firstRow, sal_Int32 lastColumn,
                      sal_Int32 lastRow) {
    std::string quoted = "'";
    for (char c : sheet) quoted += c == '\'' ? std::string("''") : std::string(1, c);
    quoted += "'";
    return "$" + quoted + ".$" + columnLetters(firstColumn) + "$" + std::to_string(firstRow + 1) + ":$" +
           columnLetters(lastColumn) + "$" + std::to_string(lastRow + 1);
}

struct Lines {
    sal_Int32 count, points;  // series lines (columns by columns, rows by rows), and cells along them
};

Lines linesOf(const SeriesLayout& layout) {
    const sal_Int32 columns = layout.block.EndColumn - layout.block.StartColumn + 1;
    const sal_Int32 rows = layout.block.EndRow - layout.block.StartRow + 1;
    return layout.byRows ? Lines{rows, columns} : Lines{columns, rows};
}

// The range of lines [firstLine, lastLine] x points [firstPoint, lastPoint], in sheet terms.
std::string part(const SeriesLayout& layout, sal_Int32 firstLine, sal_Int32 lastLine, sal_Int32 firstPoint,
                 sal_Int32 lastPoint) {
    const auto& b = layout.block;
    if (layout.byRows)
        return rangeText(layout.sheet, b.StartColumn + firstPoint, b.StartRow + firstLine, b.StartColumn + lastPoint,
                         b.StartRow + lastLine);
    return rangeText(layout.sheet, b.StartColumn + firstLine, b.StartRow + firstPoint, b.StartColumn + lastLine,
                     b.StartRow + lastPoint);
}

Reference<css::chart2::data::XLabeledDataSequence> labeled(
    const Reference<css::uno::XComponentContext>& context, const Reference<css::chart2::data::XDataProvider>& provider,
    const std::string& values, const char* role, const std::string& label) {
    const auto sequence = [&](const std::string& range, const char* sequenceRole) {
        const Reference<css::chart2::data::XDataSequence> data = provider->createDataSequenceByRangeRepresentation(toUno(range));
        Reference<css::beans::XPropertySet>(data, UNO_QUERY_THROW)
            ->setPropertyValue("Role", Any(rtl::OUString::createFromAscii(sequenceRole)));
        return data;
    };
    const Reference<css::chart2::data::XLabeledDataSequence> result(css::chart2::data::LabeledDataSequence::create(context),
                                                                     UNO_QUERY_THROW);
    result->setValues(sequence(values, role));
    if (!label.empty()) result->setLabel(sequence(label, "label"));
    return result;
}

}  // namespace

std::string labelCountProblem(const SeriesLayout& layout) {
    const Lines lines = linesOf(layout);
    const auto& b = layout.block;
    const std::string block = cellName(b.StartColumn, b.StartRow) + ":" + cellName(b.EndColumn, b.EndRow);
    const std::string by = layout.byRows ? "plotted by rows" : "plotted by columns";
    const auto check = [&](sal_Int32 given, const char* what, int argument, sal_Int32 count, const char* word) {
        const std::string where = std::string(what) + " (argument " + std::to_string(argument) + ")";
        if (given < 0) return "the " + where + " must be 0 or more, not " + std::to_string(given);
        if (given >= count)
            return "the " + where + " is " + std::to_string(given) + ", which leaves no " + word +
                   " of values in the block " + block + " (" + std::to_string(count) + " " + word +
                   (count == 1 ? "" : "s") + ", " + by + ")";
        return std::string();
    };
    std::string problem = check(layout.categoryLabels, "category label count", 5, lines.count,
                                layout.byRows ? "row" : "column");
    if (problem.empty())
        problem = check(layout.seriesLabels, "series label count", 6, lines.points, layout.byRows ? "column" : "row");
    return problem;
}

void setChartSeries(const Reference<css::uno::XComponentContext>& context,
                    const Reference<css::chart2::XChartDocument>& chart, const SeriesLayout& layout) {
    const Lines lines = linesOf(layout);
    const Reference<css::chart2::data::XDataProvider> provider = chart->getDataProvider();
    const Reference<css::chart2::XDiagram> diagram = chart->getFirstDiagram();
    const Reference<css::chart2::XCoordinateSystem> system =
        Reference<css::chart2::XCoordinateSystemContainer>(diagram, UNO_QUERY_THROW)->getCoordinateSystems()[0];
    const Reference<css::chart2::XDataSeriesContainer> container(
        Reference<css::chart2::XChartTypeContainer>(system, UNO_QUERY_THROW)->getChartTypes()[0], UNO_QUERY_THROW);

    // The series Calc made are given their new data in turn (they keep their looks); more are
    // made as needed, coloured from the diagram's scheme.
    const Sequence<Reference<css::chart2::XDataSeries>> existing = container->getDataSeries();
    const sal_Int32 count = lines.count - layout.categoryLabels;
    Sequence<Reference<css::chart2::XDataSeries>> series(count);
    const sal_Int32 firstValue = layout.seriesLabels;
    for (sal_Int32 i = 0; i < count; ++i) {
        Reference<css::chart2::XDataSeries> one;
        if (i < existing.getLength()) {
            one = existing[i];
        } else {
            one.set(context->getServiceManager()->createInstanceWithContext("com.sun.star.chart2.DataSeries", context),
                    UNO_QUERY_THROW);
            Reference<css::beans::XPropertySet>(one, UNO_QUERY_THROW)
                ->setPropertyValue("Color", Any(diagram->getDefaultColorScheme()->getColorByIndex(i)));
        }
        const sal_Int32 line = layout.categoryLabels + i;
        const std::string name =
            layout.seriesLabels > 0 ? part(layout, line, line, 0, layout.seriesLabels - 1) : std::string();
        const Reference<css::chart2::data::XLabeledDataSequence> values =
            labeled(context, provider, part(layout, line, line, firstValue, lines.points - 1), "values-y", name);
        Reference<css::chart2::data::XDataSink>(one, UNO_QUERY_THROW)->setData(Sequence(&values, 1));
        series.getArray()[i] = one;
    }
    container->setDataSeries(series);

    const Reference<css::chart2::XAxis> axis = system->getAxisByDimension(0, 0);
    css::chart2::ScaleData scale = axis->getScaleData();
    scale.Categories.clear();
    if (layout.categoryLabels > 0)
        scale.Categories = labeled(context, provider,
                                   part(layout, 0, layout.categoryLabels - 1, firstValue, lines.points - 1),
                                   "categories", std::string());
    axis->setScaleData(scale);
}

}  // namespace tabulix::office
