#pragma once
// A workbook whose texts hold everything XML cannot carry as it is: bytes that are not UTF-8,
// every control character, the noncharacters U+FFFE and U+FFFF, text that looks like the file
// format's own "_xHHHH_" escapes, markup characters; in cells, a formula and its result, a font
// name, a number format, a merged area, a sheet name and a chart's titles and labels.

#include <string>
#include <utility>
#include <vector>

#include "automation/dispids.h"
#include "automation/variant.h"

namespace tabulix::spreadsheet::testing {

// Cell texts as they are put, and as the cell holds them afterwards.
inline std::vector<std::pair<std::string, std::string>> hostileTexts() {
    std::string controls;
    for (int c = 0; c < 0x20; ++c) controls += static_cast<char>(c);
    controls += '\x7F';
    const std::string R = "\xEF\xBF\xBD";  // U+FFFD, one for each byte that begins no character
    return {
        {"A\xC3\x28\xFF" "B", "A\xEF\xBF\xBD(\xEF\xBF\xBD" "B"},
        {controls, controls},
        {"_x0041_ _X00e9_ _x12G4_ __x0000__", "_x0041_ _X00e9_ _x12G4_ __x0000__"},
        {"<&>\"' ]]> &amp;", "<&>\"' ]]> &amp;"},
        {"\xEF\xBF\xBE\xEF\xBF\xBF", "\xEF\xBF\xBE\xEF\xBF\xBF"},
        {"l\xC3\xADnea\runo\r\ndos", "l\xC3\xADnea\runo\r\ndos"},
        {"\xED\xA0\x80 surrogate, \xC0\xAF overlong, \xF4\x90\x80\x80 beyond",
         R + R + R + " surrogate, " + R + R + " overlong, " + R + R + R + R + " beyond"},
    };
}

// Fills the active sheet of `book` and adds a chart sheet of it.
inline void fillHostileWorkbook(const automation::DispatchPtr& book) {
    namespace dispid = automation::dispid;
    using automation::Variant;
    const automation::DispatchPtr sheet = book->get(dispid::ActiveSheet).toObject();
    auto range = [&](const std::string& first, const std::string& last) {
        return sheet->get(dispid::Range, {Variant(first), Variant(last)}).toObject();
    };
    sheet->put(dispid::Name, Variant("Hoja <&> \"\xC3\xB1\""));
    const auto texts = hostileTexts();
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::string row = std::to_string(i + 1);
        range("A" + row, "A" + row)->put(dispid::Value, Variant(texts[i].first));
        range("B" + row, "B" + row)->put(dispid::Value, Variant(10.5 * static_cast<double>(i + 1)));
    }
    range("C1", "C1")->put(dispid::Formula, Variant(std::string("=\"a\x01\" & A2 & \"\xFF<\"")));
    range("B1", "B7")->put(dispid::NumberFormat, Variant("#,##0.00\" <&> \xE2\x82\xAC\""),
                           automation::kLcidEnglishUS);
    range("A1", "A7")->get(dispid::Font).toObject()->put(dispid::Name, Variant(std::string("Cali\x01" "bri <&>\xFF")));
    range("A10", "C10")->put(dispid::Value, Variant(std::string("merged \x02\xFE")));
    range("A10", "C10")->call(dispid::Merge, {Variant(1)});
    const automation::DispatchPtr chart =
        book->get(dispid::Sheets)
            .toObject()
            ->call(dispid::Add, {Variant::missing(), Variant::missing(), Variant(1), Variant(-4109)})
            .toObject();
    chart->call(dispid::ChartWizard,
                {Variant(range("A1", "B7")), Variant(3), Variant::missing(), Variant(2), Variant(1), Variant(0),
                 Variant(true), Variant(std::string("T\x03\xC3 <&>")), Variant(std::string("cat\x1F")),
                 Variant(std::string("_x0041_")), Variant(std::string("\xEF\xBF\xBF"))});
}

}  // namespace tabulix::spreadsheet::testing
