// Texts that XML cannot carry as they are, and the length limit of a cell's text.

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "automation/automation_error.h"
#include "spreadsheet/model/tests/spreadsheet_test_support.h"
#include "spreadsheet/xlsx/tests/chart_xlsx_reader.h"
#include "spreadsheet/xlsx/tests/hostile_workbook.h"
#include "spreadsheet/xlsx/tests/well_formed_parts.h"
#include "spreadsheet/xlsx/xlsx_export.h"
#include "xml_text.h"

using namespace tabulix::spreadsheet;
using namespace tabulix::spreadsheet::testing;
using tabulix::automation::AutomationError;
namespace fs = std::filesystem;

namespace {

class HostileText : public SpreadsheetTest {
protected:
    HostileText() : SpreadsheetTest(&writeXlsx) {}
    void SetUp() override {
        SpreadsheetTest::SetUp();
        folder = fs::temp_directory_path() / ("hostile-text-" + std::to_string(::getpid()));
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string text(const std::string& cell) { return *sheet->value(parseCellName(cell)).getIf<std::string>(); }

    fs::path folder;
};

// The text a reader gets from a saved cell: XML entities and the file's "_xHHHH_" escapes decoded.
std::string readerText(std::string text) {
    text = unescapeXml(std::move(text));
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "_x") == 0 && i + 7 <= text.size() && text[i + 6] == '_' &&
            text.find_first_not_of("0123456789ABCDEFabcdef", i + 2) == i + 6) {
            const unsigned long code = std::stoul(text.substr(i + 2, 4), nullptr, 16);
            if (code < 0x80) {
                out += static_cast<char>(code);
            } else if (code >= 0xF000) {  // only U+FFFE and U+FFFF are escaped up there
                out += "\xEF\xBF";
                out += static_cast<char>(0x80 | (code & 0x3F));
            }
            i += 6;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace

TEST_F(HostileText, EveryPartIsWellFormedAndEveryValidTextComesBackAsItWasPut) {
    fillHostileWorkbook(book);
    const auto texts = hostileTexts();
    for (std::size_t i = 0; i < texts.size(); ++i)
        EXPECT_EQ(text("A" + std::to_string(i + 1)), texts[i].second) << "row " << i + 1;

    const std::string path = (folder / "hostil.xlsx").string();
    book->saveAs(path);
    EXPECT_EQ(malformedParts(path), std::vector<std::string>{});

    const auto entries = zipEntries(path);
    const std::string& xml = entries.at("xl/worksheets/sheet1.xml");
    const std::vector<std::string> saved = between(xml, "<t>", "</t>");
    for (const auto& entry : texts) {
        const std::string& held = entry.second;
        EXPECT_NE(std::find_if(saved.begin(), saved.end(), [&](const std::string& t) { return readerText(t) == held; }),
                  saved.end())
            << "no saved cell reads back as \"" << held << "\"";
    }
    // The NUL of the control characters does not cut the text short.
    EXPECT_NE(xml.find("_x0000__x0001_"), std::string::npos);
    EXPECT_NE(entries.at("xl/styles.xml").find("Cali_x0001_bri &lt;&amp;&gt;\xEF\xBF\xBD"), std::string::npos);
}

TEST(XmlText, EscapesOnlyWhatXmlCannotHold) {
    EXPECT_EQ(fileText("Se\xC3\xB1or \t\n ok"), "Se\xC3\xB1or \t\n ok");
    EXPECT_EQ(fileText(std::string("a\0b\rc", 5)), "a_x0000_b_x000D_c");
    EXPECT_EQ(fileText("_x0041_ _x004_ _xZZZZ_"), "_x005F_x0041_ _x004_ _xZZZZ_");
    EXPECT_EQ(fileText("\xEF\xBF\xBE\xFF"), "_xFFFE_\xEF\xBF\xBD");
    std::string out;
    appendXmlText(out, "<a href=\"x\">&</a>");
    EXPECT_EQ(out, "&lt;a href=&quot;x&quot;&gt;&amp;&lt;/a&gt;");
}

TEST_F(HostileText, SheetNamesRefuseControlCharacters) {
    EXPECT_THROW(sheet->setName(std::string("Hoja\x01")), AutomationError);
    EXPECT_THROW(sheet->setName(std::string("Ho\0ja", 5)), AutomationError);
    EXPECT_NO_THROW(sheet->setName("Hoja & <otra>"));
}

TEST_F(HostileText, CellTextLimitCountsUtf16CodeUnits) {
    const std::string emoji = "\xF0\x9F\x98\x80";  // U+1F600: two UTF-16 code units
    putValue("A1", Variant(std::string(32767, 'x')));
    EXPECT_EQ(text("A1").size(), 32767u);
    EXPECT_THROW(putValue("A2", Variant(std::string(32766, 'x') + emoji)), AutomationError);
    putValue("A3", Variant(std::string(32765, 'x') + emoji));
    EXPECT_EQ(text("A3").size(), 32765u + 4u);
    std::string emojis;
    for (int i = 0; i < 16383; ++i) emojis += emoji;
    putValue("A4", Variant(emojis + "x"));
    EXPECT_THROW(putValue("A5", Variant(emojis + "xy")), AutomationError);
    try {
        putValue("A5", Variant(emojis + emoji));
        ADD_FAILURE() << "a text of 32768 code units was accepted";
    } catch (const AutomationError& e) {
        EXPECT_NE(std::string(e.what()).find("32768"), std::string::npos) << e.what();
    }
}
