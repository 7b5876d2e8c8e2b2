#include "sheet_setup_xml.h"

#include <cstdio>

#include "spreadsheet/measure/column_width.h"
#include "spreadsheet/model/defined_names.h"
#include "spreadsheet/model/workbook.h"
#include "spreadsheet/model/worksheet.h"
#include "xml_text.h"

namespace tabulix::spreadsheet {

namespace {

// Twentieths of a point, the unit of a split that is not frozen, for the heading row and column.
constexpr double kHeadingRowTwips = 15 * 20;
constexpr double kHeadingColumnTwips = 26 * 0.75 * 20;
constexpr double kDigitPixels = 7;  // of the default font

std::string decimal(double value) {
    char digits[32];
    std::snprintf(digits, sizeof digits, "%.10g", value);
    return digits;
}

std::string attribute(std::string_view name, std::string_view value) {
    std::string out = " ";
    out += name;
    out += "=\"";
    appendXmlText(out, value);
    return out + "\"";
}

// The split as the window draws it: the heading plus the rows (columns) of the first pane.
std::pair<double, double> splitTwips(const Worksheet& sheet, const Panes& panes) {
    double x = 0, y = 0;
    if (panes.splitColumns != 0) {
        x = kHeadingColumnTwips;
        for (std::uint32_t c = 0; c < panes.splitColumns; ++c)
            x += columnPixelsForWidth(sheet.columnWidth(panes.topLeft.column + c), kDigitPixels) * 0.75 * 20;
    }
    if (panes.splitRows != 0) {
        y = kHeadingRowTwips;
        for (std::uint32_t r = 0; r < panes.splitRows; ++r) y += sheet.rowHeight(panes.topLeft.row + r) * 20;
    }
    return {x, y};
}

std::string paneXml(const Worksheet& sheet, const Panes& panes) {
    std::string xml = "<pane";
    if (panes.frozen) {
        if (panes.splitColumns != 0) xml += attribute("xSplit", std::to_string(panes.splitColumns));
        if (panes.splitRows != 0) xml += attribute("ySplit", std::to_string(panes.splitRows));
    } else {
        const auto [x, y] = splitTwips(sheet, panes);
        if (x != 0) xml += attribute("xSplit", decimal(x));
        if (y != 0) xml += attribute("ySplit", decimal(y));
    }
    xml += attribute("topLeftCell", cellName(panes.scrollingCell()));
    const char* pane = panes.splitRows == 0 ? "topRight" : panes.splitColumns == 0 ? "bottomLeft" : "bottomRight";
    xml += attribute("activePane", pane);
    xml += attribute("state", panes.frozen ? "frozen" : "split");
    xml += "/><selection";
    xml += attribute("pane", pane);
    return xml + "/>";
}

// A header or footer: each part that holds something after its section code.
std::string headerFooterText(const std::array<std::string, 3>& parts) {
    static constexpr const char* kCodes[] = {"&L", "&C", "&R"};
    std::string text;
    for (std::size_t i = 0; i < parts.size(); ++i)
        if (!parts[i].empty()) text += kCodes[i] + parts[i];
    return text;
}

std::string definedName(std::string_view name, std::optional<std::size_t> sheet, bool hidden,
                        std::string_view reference) {
    std::string xml = "<definedName" + attribute("name", name);
    if (sheet) xml += attribute("localSheetId", std::to_string(*sheet));
    if (hidden) xml += attribute("hidden", "1");
    xml += ">";
    appendXmlText(xml, reference);
    return xml + "</definedName>";
}

}  // namespace

std::string sheetPropertiesXml(const Worksheet& sheet) {
    return sheet.pageLayout().zoom ? std::string() : R"(<sheetPr><pageSetUpPr fitToPage="1"/></sheetPr>)";
}

std::string sheetViewsXml(const Worksheet& sheet, bool selected) {
    const Panes& panes = sheet.panes();
    std::string xml = "<sheetViews><sheetView";
    if (selected) xml += R"( tabSelected="1")";
    if (panes.topLeft != CellAddress{}) xml += attribute("topLeftCell", cellName(panes.topLeft));
    xml += R"( workbookViewId="0")";
    if (!panes.isSplit()) return xml + "/></sheetViews>";
    return xml + ">" + paneXml(sheet, panes) + "</sheetView></sheetViews>";
}

std::string autoFilterXml(const Worksheet& sheet) {
    if (!sheet.autoFilter()) return {};
    return "<autoFilter" + attribute("ref", rangeName(*sheet.autoFilter())) + "/>";
}

std::string pageLayoutXml(const Worksheet& sheet) {
    const PageLayout& page = sheet.pageLayout();
    std::string xml;
    if (page.hasDefaultMargins()) {
        xml = R"(<pageMargins left="0.7" right="0.7" top="0.75" bottom="0.75" header="0.3" footer="0.3"/>)";
    } else {
        const auto inches = [](double points) { return decimal(points / 72.0); };
        xml = "<pageMargins" + attribute("left", inches(page.leftMargin)) + attribute("right", inches(page.rightMargin)) +
              attribute("top", inches(page.topMargin)) + attribute("bottom", inches(page.bottomMargin)) +
              attribute("header", inches(page.headerMargin)) + attribute("footer", inches(page.footerMargin)) + "/>";
    }
    std::string setup;
    if (page.paperSize != 0) setup += attribute("paperSize", std::to_string(page.paperSize));
    if (page.zoom && *page.zoom != 100) setup += attribute("scale", std::to_string(*page.zoom));
    if (!page.zoom)
        setup += attribute("fitToWidth", std::to_string(page.fitWide)) + attribute("fitToHeight", std::to_string(page.fitTall));
    if (page.orientation != PageOrientation::Default)
        setup += attribute("orientation", page.orientation == PageOrientation::Landscape ? "landscape" : "portrait");
    if (!setup.empty()) xml += "<pageSetup" + setup + "/>";
    const std::string header = headerFooterText(page.header), footer = headerFooterText(page.footer);
    if (!header.empty() || !footer.empty()) {
        xml += "<headerFooter>";
        if (!header.empty()) {
            xml += "<oddHeader>";
            appendXmlText(xml, header);
            xml += "</oddHeader>";
        }
        if (!footer.empty()) {
            xml += "<oddFooter>";
            appendXmlText(xml, footer);
            xml += "</oddFooter>";
        }
        xml += "</headerFooter>";
    }
    return xml;
}

std::string definedNamesXml(const Workbook& book) {
    std::string names;
    for (const DefinedName& name : book.names().all())
        names += definedName(name.name, std::nullopt, name.hidden, DefinedNames::reference(name));
    const auto& sheets = book.sheets();
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        const auto* sheet = dynamic_cast<const Worksheet*>(sheets[i].get());
        if (!sheet) continue;
        if (sheet->autoFilter())
            names += definedName("_xlnm._FilterDatabase", i, true, absoluteReference(sheet->name(), *sheet->autoFilter()));
        const PageLayout& page = sheet->pageLayout();
        if (page.hasTitleRows()) {
            const std::string rows = quotedSheetName(sheet->name()) + "!$" + std::to_string(page.titleFirstRow) +
                                     ":$" + std::to_string(page.titleLastRow);
            names += definedName("_xlnm.Print_Titles", i, false, rows);
        }
    }
    return names.empty() ? names : "<definedNames>" + names + "</definedNames>";
}

}  // namespace tabulix::spreadsheet
