// Writes a sample sales report through the spreadsheet's automation entry, the way a client
// drives it: title merged across the table, headings bold on a fill, formatted numbers, a date,
// a Boolean, borders, a total formula, fitted columns. Usage: sample_workbook OUT.xlsx

#include <cstdio>
#include <exception>
#include <string>

#include "automation/application_provider.h"
#include "automation/dispids.h"
#include "automation/variant.h"
#include "spreadsheet/embedded_spreadsheet.h"

using namespace tabulix::automation;

namespace {

constexpr Lcid kLcid = kLcidSpanishSpain;

DispatchPtr cells(const DispatchPtr& sheet, const std::string& first, const std::string& last) {
    return sheet->get(dispid::Range, {Variant(first), Variant(last)}, kLcid).toObject();
}

void setBorder(const DispatchPtr& range, int index, int weight) {
    DispatchPtr border = range->get(dispid::Borders).toObject()->get(dispid::Item, {Variant(index)}).toObject();
    border->put(dispid::Weight, Variant(weight), kLcid);
    border->put(dispid::Color, Variant(0), kLcid);
}

struct Article {
    const char* code;
    const char* name;
    double january;
    double february;
    int day;
    bool active;
};

constexpr Article kArticles[] = {
    {"A-001", "Tornillos de acero inoxidable", 1234.5, 987.25, 15, true},
    {"A-002", "Tuercas", 56.75, 1210.0, 3, false},
    {"B-010", "Arandelas", 12045.8, 9876.54, 28, true},
    {"B-011", "Clavos", 0.5, 18.0, 9, true},
    {"C-100", "Brocas para hormig\xC3\xB3n", 76543.21, 65432.1, 21, false},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUT.xlsx\n", argv[0]);
        return 2;
    }
    try {
        tabulix::spreadsheet::installEmbeddedSpreadsheet();
        DispatchPtr app = attachOrStartApplication();
        DispatchPtr book =
            app->get(dispid::Workbooks).toObject()->call(dispid::Add, {Variant(xl::WBATWorksheet)}, kLcid).toObject();
        DispatchPtr sheet = book->get(dispid::Worksheets).toObject()->get(dispid::Item, {Variant(1)}).toObject();
        sheet->put(dispid::Name, Variant("Ventas"), kLcid);

        // Title, merged and centred over the table.
        cells(sheet, "A1", "A1")->put(dispid::Value, Variant("Informe de ventas"), kLcid);
        DispatchPtr title = cells(sheet, "A1", "F1");
        title->put(dispid::HorizontalAlignment, Variant(xl::HAlignCenter), kLcid);
        title->call(dispid::Merge, {Variant(1)}, kLcid);
        DispatchPtr titleFont = title->get(dispid::Font).toObject();
        titleFont->put(dispid::Bold, Variant(true), kLcid);
        titleFont->put(dispid::Size, Variant(14), kLcid);

        // Headings: bold on a silver fill, framed.
        const char* headings[] = {"C\xC3\xB3" "digo", "Art\xC3\xAD" "culo", "Enero", "Febrero", "Fecha", "Activo"};
        const char* columns[] = {"A", "B", "C", "D", "E", "F"};
        for (int i = 0; i < 6; ++i)
            cells(sheet, std::string(columns[i]) + "3", std::string(columns[i]) + "3")
                ->put(dispid::Value, Variant(headings[i]), kLcid);
        DispatchPtr heading = cells(sheet, "A3", "F3");
        heading->get(dispid::Font).toObject()->put(dispid::Bold, Variant(true), kLcid);
        heading->get(dispid::Interior).toObject()->put(dispid::Color, Variant(0xC0C0C0), kLcid);

        // Data rows, one cell at a time.
        int row = 4;
        for (const Article& a : kArticles) {
            const std::string r = std::to_string(row);
            cells(sheet, "A" + r, "A" + r)->put(dispid::Value, Variant(a.code), kLcid);
            cells(sheet, "B" + r, "B" + r)->put(dispid::Value, Variant(a.name), kLcid);
            cells(sheet, "C" + r, "C" + r)->put(dispid::Value, Variant(a.january), kLcid);
            cells(sheet, "D" + r, "D" + r)->put(dispid::Value, Variant(a.february), kLcid);
            cells(sheet, "E" + r, "E" + r)->put(dispid::Value, Variant(Date::fromYmd(2024, 1, a.day)), kLcid);
            cells(sheet, "F" + r, "F" + r)->put(dispid::Value, Variant(a.active), kLcid);
            ++row;
        }
        const std::string last = std::to_string(row - 1);
        const std::string total = std::to_string(row);

        // Totals row with formulas; numbers in the caller's (Spanish) notation.
        cells(sheet, "B" + total, "B" + total)->put(dispid::Value, Variant("Total"), kLcid);
        cells(sheet, "C" + total, "C" + total)->put(dispid::Formula, Variant("=SUM(C4:C" + last + ")"), kLcid);
        cells(sheet, "D" + total, "D" + total)->put(dispid::Formula, Variant("=SUM(D4:D" + last + ")"), kLcid);
        cells(sheet, "C4", "D" + total)->put(dispid::NumberFormat, Variant("#.##0,00"), kLcid);
        cells(sheet, "A4", "A" + last)->put(dispid::HorizontalAlignment, Variant(xl::HAlignLeft), kLcid);

        // Thin lines between the rows, a thick outline around headings and data.
        DispatchPtr table = cells(sheet, "A3", "F" + last);
        setBorder(table, xl::InsideHorizontal, xl::Thin);
        for (int edge : {xl::EdgeLeft, xl::EdgeTop, xl::EdgeBottom, xl::EdgeRight}) setBorder(table, edge, xl::Thick);

        // Columns fitted to headings and data (not to the title); one fixed width.
        cells(sheet, "A3", "F" + total)->get(dispid::Columns).toObject()->call(dispid::AutoFit, {}, kLcid);
        cells(sheet, "G1", "G1")->put(dispid::ColumnWidth, Variant(15), kLcid);

        // A second sheet placed before the first; the report stays the active sheet.
        DispatchPtr notes = book->get(dispid::Sheets)
                                .toObject()
                                ->call(dispid::Add, {Variant::missing(), Variant::missing(), Variant(1),
                                                     Variant(xl::Worksheet)},
                                       kLcid)
                                .toObject();
        notes->put(dispid::Name, Variant("Notas"), kLcid);
        cells(notes, "A1", "A1")->put(dispid::Value, Variant("=no es una f\xC3\xB3rmula"), kLcid);
        // Merged blocks over several rows, one beside other cells and one over otherwise empty rows.
        cells(notes, "A3", "A3")->put(dispid::Value, Variant("bloque"), kLcid);
        cells(notes, "C4", "C4")->put(dispid::Value, Variant(7), kLcid);
        cells(notes, "A3", "B5")->put(dispid::MergeCells, Variant(true), kLcid);
        cells(notes, "A10", "A10")->put(dispid::Value, Variant("otro bloque"), kLcid);
        cells(notes, "A10", "C12")->call(dispid::Merge, {}, kLcid);
        cells(notes, "D20", "D20")->put(dispid::Value, Variant("fin"), kLcid);

        // A chart sheet of the sales by article: names as categories, one series per month.
        DispatchPtr chart = book->get(dispid::Sheets)
                                .toObject()
                                ->call(dispid::Add, {Variant::missing(), Variant::missing(), Variant(1),
                                                     Variant(xl::Chart)},
                                       kLcid)
                                .toObject();
        chart->put(dispid::Name, Variant("Gr\xC3\xA1" "fico de ventas"), kLcid);
        chart->call(dispid::ChartWizard,
                    {Variant(cells(sheet, "B3", "D" + last)), Variant(3), Variant::missing(), Variant(2), Variant(1),
                     Variant(1), Variant(true), Variant("Ventas por art\xC3\xAD" "culo"), Variant("Art\xC3\xAD" "culo"),
                     Variant("Euros"), Variant("")},
                    kLcid);
        sheet->call(dispid::Activate, {}, kLcid);

        book->call(dispid::SaveAs, {Variant(std::string(argv[1]))}, kLcid);
        shutDownRunningApplication();
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "sample_workbook: %s\n", e.what());
        return 1;
    }
}
