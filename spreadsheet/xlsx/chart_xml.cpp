#include "chart_xml.h"

#include <charconv>
#include <cmath>
#include <memory>
#include <variant>
#include <vector>

#include "automation/automation_error.h"
#include "spreadsheet/model/chart_model.h"
#include "spreadsheet/model/workbook.h"
#include "spreadsheet/model/worksheet.h"
#include "spreadsheet/numfmt/number_format_table.h"
#include "xml_text.h"

namespace tabulix::spreadsheet {

namespace {

// Axis ids only have to be unique within the chart.
constexpr int kCategoryAxis = 50010001;
constexpr int kValueAxis = 50010002;
constexpr int kSeriesAxis = 50010003;

std::string number(double value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

// The cells of a rectangle that is one line of cells, in order.
std::vector<CellAddress> lineCells(const CellRect& line) {
    std::vector<CellAddress> cells;
    for (std::uint32_t r = line.first.row; r <= line.last.row; ++r)
        for (std::uint32_t c = line.first.column; c <= line.last.column; ++c) cells.push_back({r, c});
    return cells;
}

class ChartXml {
public:
    ChartXml(const ChartModel& chart, const Worksheet* data) : chart_(chart), data_(data) {}

    std::string build() {
        out_ += R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
                "\n"
                R"(<c:chartSpace xmlns:c="http://schemas.openxmlformats.org/drawingml/2006/chart" )"
                R"(xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main" )"
                R"(xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">)";
        out_ += R"(<c:date1904 val="0"/><c:lang val="es-ES"/><c:roundedCorners val="0"/><c:chart>)";
        if (!chart_.title.empty()) {
            title(chart_.title, false);
            out_ += R"(<c:autoTitleDeleted val="0"/>)";
        } else {
            // Without this a one-series chart would show the series name as its title.
            out_ += R"(<c:autoTitleDeleted val="1"/>)";
        }
        view3D();
        out_ += "<c:plotArea><c:layout/>";
        plot();
        axes();
        out_ += "</c:plotArea>";
        if (chart_.hasLegend) out_ += R"(<c:legend><c:legendPos val="r"/><c:overlay val="0"/></c:legend>)";
        out_ += R"(<c:plotVisOnly val="1"/><c:dispBlanksAs val="gap"/></c:chart></c:chartSpace>)";
        return std::move(out_);
    }

private:
    ChartKind kind() const { return chart_.kind; }
    bool byRows() const { return chart_.plotBy == PlotBy::Rows; }

    void val(std::string_view element, std::string_view value) {
        out_ += "<c:";
        out_ += element;
        out_ += " val=\"";
        appendXmlText(out_, value);
        out_ += "\"/>";
    }
    void val(std::string_view element, int value) { val(element, std::to_string(value)); }

    void title(const std::string& text, bool vertical) {
        out_ += "<c:title><c:tx><c:rich>";
        out_ += vertical ? R"(<a:bodyPr rot="-5400000" vert="horz"/>)" : "<a:bodyPr/>";
        out_ += "<a:lstStyle/><a:p><a:r><a:t>";
        appendXmlText(out_, text);
        out_ += R"(</a:t></a:r></a:p></c:rich></c:tx><c:overlay val="0"/></c:title>)";
    }

    void view3D() {
        struct View {
            int rotX, rotY;
            bool rightAngles;
            int perspective;
        };
        View v{};
        switch (kind()) {
            case ChartKind::Column3D:
            case ChartKind::Line3D:
            case ChartKind::Area3D:
            case ChartKind::Surface3D: v = {15, 20, false, 30}; break;
            case ChartKind::Bar3D: v = {15, 20, true, 0}; break;
            case ChartKind::Pie3D: v = {30, 0, false, 30}; break;
            case ChartKind::Surface: v = {90, 0, false, 0}; break;  // seen from above
            default: return;
        }
        out_ += "<c:view3D>";
        val("rotX", v.rotX);
        val("rotY", v.rotY);
        val("rAngAx", v.rightAngles ? 1 : 0);
        if (!v.rightAngles) val("perspective", v.perspective);
        out_ += "</c:view3D>";
    }

    static std::string_view plotElement(ChartKind kind) {
        switch (kind) {
            case ChartKind::Column:
            case ChartKind::Bar: return "barChart";
            case ChartKind::Column3D:
            case ChartKind::Bar3D: return "bar3DChart";
            case ChartKind::Line: return "lineChart";
            case ChartKind::Line3D: return "line3DChart";
            case ChartKind::Area: return "areaChart";
            case ChartKind::Area3D: return "area3DChart";
            case ChartKind::Pie: return "pieChart";
            case ChartKind::Pie3D: return "pie3DChart";
            case ChartKind::Radar: return "radarChart";
            case ChartKind::Surface: return "surfaceChart";
            case ChartKind::Surface3D: return "surface3DChart";
        }
        return "barChart";
    }

    void plot() {
        const std::string_view element = plotElement(kind());
        out_ += "<c:";
        out_ += element;
        out_ += ">";
        switch (kind()) {
            case ChartKind::Column:
            case ChartKind::Bar:
            case ChartKind::Bar3D:
                val("barDir", kind() == ChartKind::Column ? "col" : "bar");
                val("grouping", "clustered");
                break;
            case ChartKind::Column3D:
                // A true 3-D column chart: each series in its own row along the depth axis.
                val("barDir", "col");
                val("grouping", "standard");
                break;
            case ChartKind::Line:
            case ChartKind::Line3D:
            case ChartKind::Area:
            case ChartKind::Area3D: val("grouping", "standard"); break;
            case ChartKind::Radar: val("radarStyle", "marker"); break;
            case ChartKind::Surface:
            case ChartKind::Surface3D: val("wireframe", 0); break;
            case ChartKind::Pie:
            case ChartKind::Pie3D: break;
        }
        if (kind() != ChartKind::Surface && kind() != ChartKind::Surface3D)
            val("varyColors", kind() == ChartKind::Pie || kind() == ChartKind::Pie3D ? 1 : 0);
        int index = 0;
        for (const ChartSeries& s : chart_.series) series(s, index++);
        switch (kind()) {
            case ChartKind::Column:
            case ChartKind::Bar: val("gapWidth", 150); break;
            case ChartKind::Column3D:
            case ChartKind::Bar3D:
                val("gapWidth", 150);
                val("shape", "box");
                break;
            case ChartKind::Line: val("marker", 1); break;
            case ChartKind::Pie: val("firstSliceAng", 0); break;
            default: break;
        }
        if (hasAxes(kind())) {
            val("axId", kCategoryAxis);
            val("axId", kValueAxis);
            if (hasSeriesAxis(kind())) val("axId", kSeriesAxis);
        }
        out_ += "</c:";
        out_ += element;
        out_ += ">";
    }

    void series(const ChartSeries& s, int index) {
        out_ += "<c:ser>";
        val("idx", index);
        val("order", index);
        out_ += "<c:tx>";
        if (s.cells.name) {
            out_ += "<c:strRef>";
            formula(*s.cells.name);
            out_ += R"(<c:strCache><c:ptCount val="1"/><c:pt idx="0"><c:v>)";
            std::string joined;
            for (CellAddress at : lineCells(*s.cells.name)) {
                const std::string text = shown(at);
                if (text.empty()) continue;
                if (!joined.empty()) joined += ' ';
                joined += text;
            }
            appendXmlText(out_, joined);
            out_ += "</c:v></c:pt></c:strCache></c:strRef>";
        } else {
            out_ += "<c:v>";
            appendXmlText(out_, s.literalName);
            out_ += "</c:v>";
        }
        out_ += "</c:tx>";
        if (kind() == ChartKind::Line || kind() == ChartKind::Radar) {
            out_ += "<c:marker>";
            val("symbol", kind() == ChartKind::Line ? "none" : "auto");
            out_ += "</c:marker>";
        }
        if (s.cells.categories) categories(*s.cells.categories);
        values(s.cells.values);
        if (kind() == ChartKind::Line || kind() == ChartKind::Line3D) val("smooth", 0);
        out_ += "</c:ser>";
    }

    void formula(const CellRect& rect) {
        out_ += "<c:f>";
        appendXmlText(out_, sheetReference(data_->name(), rect));
        out_ += "</c:f>";
    }

    std::string shown(CellAddress at) const { return data_->displayedText(at); }

    // The number format of a cell in the file's notation.
    std::string formatCodeOf(CellAddress at) const {
        const Workbook& book = data_->workbook();
        return book.numberFormats().format(data_->cellStyle(at).numberFormat).fileCode();
    }

    // The value axis shows its numbers as the first series' values are shown.
    std::string valueAxisFormat() const {
        if (!data_ || chart_.series.empty()) return "General";
        return formatCodeOf(chart_.series.front().cells.values.first);
    }

    // One line of labels as a string cache.
    void labelPoints(const std::vector<CellAddress>& cells) {
        val("ptCount", static_cast<int>(cells.size()));
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const std::string text = shown(cells[i]);
            if (text.empty()) continue;
            out_ += "<c:pt idx=\"" + std::to_string(i) + "\"><c:v>";
            appendXmlText(out_, text);
            out_ += "</c:v></c:pt>";
        }
    }

    void categories(const CellRect& labels) {
        out_ += "<c:cat>";
        const std::uint32_t levels = byRows() ? labels.rowCount() : labels.columnCount();
        if (levels == 1) {
            out_ += "<c:strRef>";
            formula(labels);
            out_ += "<c:strCache>";
            labelPoints(lineCells(labels));
            out_ += "</c:strCache></c:strRef>";
        } else {
            // Several label lines make nested categories; the line next to the values is the
            // innermost level and comes first.
            out_ += "<c:multiLvlStrRef>";
            formula(labels);
            out_ += "<c:multiLvlStrCache>";
            val("ptCount", static_cast<int>(byRows() ? labels.columnCount() : labels.rowCount()));
            for (std::uint32_t level = levels; level-- > 0;) {
                const CellRect line = byRows() ? CellRect{{labels.first.row + level, labels.first.column},
                                                          {labels.first.row + level, labels.last.column}}
                                               : CellRect{{labels.first.row, labels.first.column + level},
                                                          {labels.last.row, labels.first.column + level}};
                const std::vector<CellAddress> cells = lineCells(line);
                out_ += "<c:lvl>";
                for (std::size_t i = 0; i < cells.size(); ++i) {
                    const std::string text = shown(cells[i]);
                    if (text.empty()) continue;
                    out_ += "<c:pt idx=\"" + std::to_string(i) + "\"><c:v>";
                    appendXmlText(out_, text);
                    out_ += "</c:v></c:pt>";
                }
                out_ += "</c:lvl>";
            }
            out_ += "</c:multiLvlStrCache></c:multiLvlStrRef>";
        }
        out_ += "</c:cat>";
    }

    void values(const CellRect& cells) {
        out_ += "<c:val><c:numRef>";
        formula(cells);
        // The cache keeps the cells' number format: the series' first cell's for all, and its
        // own for a point whose cell differs.
        const std::vector<CellAddress> points = lineCells(cells);
        const std::string seriesFormat = formatCodeOf(points.front());
        out_ += "<c:numCache><c:formatCode>";
        appendXmlText(out_, seriesFormat);
        out_ += "</c:formatCode>";
        val("ptCount", static_cast<int>(points.size()));
        // Cells without a number are gaps, as the chart draws them.
        for (std::size_t i = 0; i < points.size(); ++i) {
            const CellValue v = data_->cellValue(points[i]);
            const double* n = std::get_if<double>(&v);
            if (!n || !std::isfinite(*n)) continue;
            out_ += "<c:pt idx=\"" + std::to_string(i) + "\"";
            if (const std::string own = formatCodeOf(points[i]); own != seriesFormat) {
                out_ += " formatCode=\"";
                appendXmlText(out_, own);
                out_ += "\"";
            }
            out_ += "><c:v>" + number(*n) + "</c:v></c:pt>";
        }
        out_ += "</c:numCache></c:numRef></c:val>";
    }

    void axisCommon(int id, std::string_view position, bool gridlines, const std::string& axisTitle) {
        val("axId", id);
        out_ += R"(<c:scaling><c:orientation val="minMax"/></c:scaling><c:delete val="0"/>)";
        val("axPos", position);
        if (gridlines) out_ += "<c:majorGridlines/>";
        if (!axisTitle.empty()) title(axisTitle, position == "l");
    }
    void ticks() { out_ += R"(<c:majorTickMark val="out"/><c:minorTickMark val="none"/><c:tickLblPos val="nextTo"/>)"; }

    void axes() {
        if (!hasAxes(kind())) return;
        // Bars lie along the left axis and grow to the right.
        const bool horizontal = kind() == ChartKind::Bar || kind() == ChartKind::Bar3D;
        out_ += "<c:catAx>";
        axisCommon(kCategoryAxis, horizontal ? "l" : "b", kind() == ChartKind::Radar, chart_.categoryTitle);
        out_ += R"(<c:numFmt formatCode="General" sourceLinked="1"/>)";
        ticks();
        val("crossAx", kValueAxis);
        out_ += R"(<c:crosses val="autoZero"/><c:auto val="1"/><c:lblAlgn val="ctr"/><c:lblOffset val="100"/>)"
                R"(<c:noMultiLvlLbl val="0"/></c:catAx>)";

        out_ += "<c:valAx>";
        axisCommon(kValueAxis, horizontal ? "b" : "l", true, chart_.valueTitle);
        out_ += R"(<c:numFmt formatCode=")";
        appendXmlText(out_, valueAxisFormat());
        out_ += R"(" sourceLinked="1"/>)";
        ticks();
        val("crossAx", kCategoryAxis);
        out_ += R"(<c:crosses val="autoZero"/>)";
        const bool betweenCategories = kind() != ChartKind::Area && kind() != ChartKind::Area3D &&
                                       kind() != ChartKind::Surface && kind() != ChartKind::Surface3D;
        val("crossBetween", betweenCategories ? "between" : "midCat");
        out_ += "</c:valAx>";

        if (!hasSeriesAxis(kind())) return;
        out_ += "<c:serAx>";
        axisCommon(kSeriesAxis, "b", false, chart_.seriesTitle);
        ticks();
        val("crossAx", kValueAxis);
        out_ += R"(<c:crosses val="autoZero"/></c:serAx>)";
    }

    const ChartModel& chart_;
    const Worksheet* data_;
    std::string out_;
};

}  // namespace

std::string chartPartXml(const ChartModel& chart) {
    const std::shared_ptr<Worksheet> data = chart.dataSheet.lock();
    if (!data || !data->isAttached())
        throw automation::AutomationError("the worksheet that holds the chart's data is no longer in a workbook");
    return ChartXml(chart, data.get()).build();
}

std::string emptyChartPartXml() {
    ChartModel empty;
    empty.hasLegend = false;
    return ChartXml(empty, nullptr).build();
}

}  // namespace tabulix::spreadsheet
