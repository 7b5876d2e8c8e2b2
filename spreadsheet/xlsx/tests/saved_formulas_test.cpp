// Formulas saved with their typed results: each kind of result in the type the file gives it,
// read back as XML and, where openpyxl is installed, by openpyxl without recalculating.

#include <gtest/gtest.h>

#include <unistd.h>
#include <zip.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>

#include "spreadsheet/model/tests/spreadsheet_test_support.h"
#include "spreadsheet/xlsx/xlsx_export.h"

using namespace tabulix::spreadsheet;
using namespace tabulix::spreadsheet::testing;
using tabulix::automation::ErrorValue;
namespace fs = std::filesystem;

namespace {

Variant errorVariant(CellError error) {
    return Variant(ErrorValue{static_cast<std::int32_t>(0x800A0000u) | static_cast<std::int32_t>(error)});
}

// The <c> element of `cell` in a worksheet part, or "" when the part has none.
std::string cellXml(const std::string& sheetXml, const std::string& cell) {
    const std::size_t start = sheetXml.find("<c r=\"" + cell + "\"");
    if (start == std::string::npos) return {};
    const std::size_t selfClosed = sheetXml.find("/>", start);
    const std::size_t end = sheetXml.find("</c>", start);
    if (selfClosed < end && selfClosed < sheetXml.find('>', start) + 1) return sheetXml.substr(start, selfClosed + 2 - start);
    return sheetXml.substr(start, end + 4 - start);
}

std::string zipEntry(const fs::path& file, const std::string& name) {
    int code = 0;
    zip_t* archive = zip_open(file.c_str(), ZIP_RDONLY, &code);
    if (!archive) return {};
    std::string content;
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat(archive, name.c_str(), 0, &stat) == 0) {
        content.resize(stat.size);
        if (zip_file_t* entry = zip_fopen(archive, name.c_str(), 0)) {
            zip_fread(entry, content.data(), stat.size);
            zip_fclose(entry);
        }
    }
    zip_discard(archive);
    return content;
}

}  // namespace

class SavedFormulas : public SpreadsheetTest {
protected:
    SavedFormulas() : SpreadsheetTest(&writeXlsx) {}

    void SetUp() override {
        SpreadsheetTest::SetUp();
        folder = fs::temp_directory_path() / ("formula-save-test-" + std::to_string(::getpid()));
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    // Values openpyxl reads without recalculating, one "cell=repr" line each; empty when
    // openpyxl cannot run here.
    std::map<std::string, std::string> readWithOpenpyxl(const fs::path& file, const std::string& sheetName) {
        const fs::path script = folder / "read.py";
        std::ofstream(script) << "import sys\n"
                                 "try:\n"
                                 "    import openpyxl\n"
                                 "except ImportError:\n"
                                 "    sys.exit(77)\n"
                                 "book = openpyxl.load_workbook(sys.argv[1], data_only=True)\n"
                                 "for row in book[sys.argv[2]].iter_rows():\n"
                                 "    for cell in row:\n"
                                 "        if cell.value is not None:\n"
                                 "            print(f'{cell.coordinate}={cell.value!r}')\n";
        std::map<std::string, std::string> values;
        if (!fs::exists("/usr/bin/python3")) return values;
        const std::string command =
            "/usr/bin/python3 '" + script.string() + "' '" + file.string() + "' '" + sheetName + "'";
        FILE* pipe = ::popen(command.c_str(), "r");
        if (!pipe) return values;
        char line[512];
        while (std::fgets(line, sizeof line, pipe)) {
            std::string text(line);
            while (!text.empty() && text.back() == '\n') text.pop_back();
            const std::size_t equals = text.find('=');
            if (equals != std::string::npos) values[text.substr(0, equals)] = text.substr(equals + 1);
        }
        ::pclose(pipe);
        return values;
    }

    void putFormula(const std::string& cell, const std::string& text) {
        range(cell)->put(dispid::Formula, Variant(text));
    }
    std::shared_ptr<Worksheet> addWorksheet() {
        return std::static_pointer_cast<Worksheet>(book->addSheets(SheetType::Worksheet));
    }

    fs::path folder;
};

TEST_F(SavedFormulas, ResultsOfEveryKindAreSavedWithTheirOwnType) {
    // A chart sheet first and a second worksheet: the formulas' worksheet is the file's second.
    book->addSheets(SheetType::Chart);
    auto data = addWorksheet();
    data->put(dispid::Name, Variant("Datos"));
    sheet->put(dispid::Name, Variant("Resumen"));
    object(data->get(dispid::Range, {Variant("A1")}))->put(dispid::Value, Variant(4));
    object(data->get(dispid::Range, {Variant("A2")}))->put(dispid::Value, Variant(6));
    putFormula("A1", "=sum(Datos!A1:A2)");
    putFormula("A2", "=\"Total: \"&A1");
    putFormula("A3", "=A1>5");
    putFormula("A4", "=A1<5");
    putFormula("A5", "=A1/0");
    putFormula("A6", "=#n/a");
    putValue("A7", errorVariant(CellError::Value));  // an error value without a formula
    putFormula("A8", "=\"\"");
    putFormula("A9", "=ROUND(A1/3,2)");
    range("A1")->put(dispid::NumberFormat, Variant("#,##0.00"));
    putFormula("C1", "=A3");  // a merged cell: the file writer declares its area separately
    range("C1", "D2")->call(dispid::Merge);
    const fs::path file = folder / "formulas.xlsx";
    book->saveAs(file.string());

    const std::string xml = zipEntry(file, "xl/worksheets/sheet2.xml");
    ASSERT_FALSE(xml.empty());
    EXPECT_NE(cellXml(xml, "A1").find("<f>SUM(Datos!A1:A2)</f><v>10</v>"), std::string::npos) << cellXml(xml, "A1");
    EXPECT_NE(cellXml(xml, "A2").find("t=\"str\""), std::string::npos) << cellXml(xml, "A2");
    EXPECT_NE(cellXml(xml, "A2").find("<v>Total: 10</v>"), std::string::npos) << cellXml(xml, "A2");
    EXPECT_NE(cellXml(xml, "A3").find("t=\"b\""), std::string::npos) << cellXml(xml, "A3");
    EXPECT_NE(cellXml(xml, "A3").find("<v>1</v>"), std::string::npos) << cellXml(xml, "A3");
    EXPECT_NE(cellXml(xml, "A4").find("<v>0</v>"), std::string::npos) << cellXml(xml, "A4");
    EXPECT_NE(cellXml(xml, "A5").find("t=\"e\""), std::string::npos) << cellXml(xml, "A5");
    EXPECT_NE(cellXml(xml, "A5").find("<v>#DIV/0!</v>"), std::string::npos) << cellXml(xml, "A5");
    EXPECT_NE(cellXml(xml, "A7").find("t=\"e\""), std::string::npos) << cellXml(xml, "A7");
    EXPECT_NE(cellXml(xml, "A7").find("<v>#VALUE!</v>"), std::string::npos) << cellXml(xml, "A7");
    EXPECT_NE(cellXml(xml, "C1").find("t=\"b\""), std::string::npos) << cellXml(xml, "C1");
    EXPECT_EQ(zipEntry(file, "xl/worksheets/sheet1.xml").find("t=\"e\""), std::string::npos);

    const std::map<std::string, std::string> read = readWithOpenpyxl(file, "Resumen");
    if (read.empty()) GTEST_SKIP() << "openpyxl is not available: the saved file was checked as XML only";
    const std::map<std::string, std::string> expected = {
        {"A1", "10"},         {"A2", "'Total: 10'"}, {"A3", "True"},  {"A4", "False"},
        {"A5", "'#DIV/0!'"}, {"A6", "'#N/A'"},      {"A7", "'#VALUE!'"}, {"A9", "3.33"}, {"C1", "True"},
    };
    for (const auto& [cell, value] : expected) {
        const auto it = read.find(cell);
        ASSERT_NE(it, read.end()) << cell << " has no cached value";
        EXPECT_EQ(it->second, value) << cell;
    }
}
