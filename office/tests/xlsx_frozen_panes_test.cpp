#include "office/xlsx_frozen_panes.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <zip.h>

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace tabulix::office {
namespace {

namespace fs = std::filesystem;

// A sheetView as LibreOffice Calc's export writes it.
constexpr const char* kCalcView =
    R"(<sheetView showFormulas="false" showGridLines="true" tabSelected="true" view="normal" topLeftCell="A1" )"
    R"(zoomScale="100" workbookViewId="0"><selection pane="topLeft" activeCell="A1" activeCellId="0" sqref="A1"/>)"
    R"(</sheetView>)";

std::string sheetPart(const std::string& view, std::size_t rows) {
    std::string xml =
        R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
        R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" )"
        R"(xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">)"
        R"(<sheetPr filterMode="false"><pageSetUpPr fitToPage="false"/></sheetPr><dimension ref="A1:B9"/>)"
        "<sheetViews>" + view + "</sheetViews><sheetData>";
    for (std::size_t r = 1; r <= rows; ++r)
        xml += "<row r=\"" + std::to_string(r) + "\"><c r=\"A" + std::to_string(r) + "\" t=\"n\"><v>" +
               std::to_string(r * 7919 % 1000) + "</v></c></row>";
    return xml + "</sheetData></worksheet>";
}

using Parts = std::vector<std::pair<std::string, std::string>>;

// Three sheets whose parts are not numbered in sheet order, one reached by an absolute target,
// the middle one large enough to be read in many pieces.
Parts calcWorkbook() {
    return {
        {"[Content_Types].xml", "<Types/>"},
        {"xl/workbook.xml",
         R"(<workbook xmlns:rel="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><sheets>)"
         R"(<sheet name="Uno" sheetId="1" state="visible" rel:id="rId3"/><sheet name="Dos &gt; 1" sheetId="2" rel:id='rId2'/>)"
         R"(<sheet name="Tres" sheetId="3" rel:id="rId4"/></sheets></workbook>)"},
        {"xl/_rels/workbook.xml.rels",
         R"(<Relationships><Relationship Id="rId1" Target="styles.xml"/>)"
         R"(<Relationship Id="rId2" Target="/xl/worksheets/sheet1.xml"/><Relationship Id="rId3" Target="worksheets/sheet2.xml"/>)"
         R"(<Relationship Id="rId4" Target="worksheets/sheet3.xml"/></Relationships>)"},
        {"xl/worksheets/sheet1.xml", sheetPart(kCalcView, 40000)},
        {"xl/worksheets/sheet2.xml", sheetPart(kCalcView, 3)},
        {"xl/worksheets/sheet3.xml", sheetPart(R"(<sheetView workbookViewId="0"/>)", 2)},
        {"xl/styles.xml", "<styleSheet/>"},
    };
}

class SavedPanes : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("tabulix-panes-" + std::to_string(getpid()));
        fs::create_directories(folder_);
        path_ = folder_ / "book.xlsx";
    }
    void TearDown() override { fs::remove_all(folder_); }

    void write(const Parts& parts) {
        int error = 0;
        zip_t* zip = zip_open(path_.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
        ASSERT_NE(zip, nullptr);
        for (const auto& [name, text] : parts) {
            zip_source_t* source = zip_source_buffer(zip, text.data(), text.size(), 0);
            ASSERT_GE(zip_file_add(zip, name.c_str(), source, 0), 0);
        }
        ASSERT_EQ(zip_close(zip), 0);
    }

    // Each entry's name, content and stored (compressed) bytes, in the package's order.
    struct Entry {
        std::string name, text, stored;
    };
    std::vector<Entry> read() const {
        int error = 0;
        zip_t* zip = zip_open(path_.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
        EXPECT_NE(zip, nullptr) << "not a valid zip archive";
        std::vector<Entry> entries;
        if (!zip) return entries;
        for (zip_int64_t i = 0; i < zip_get_num_entries(zip, 0); ++i) {
            Entry entry{zip_get_name(zip, i, 0), readEntry(zip, i, 0), readEntry(zip, i, ZIP_FL_COMPRESSED)};
            entries.push_back(std::move(entry));
        }
        zip_discard(zip);
        return entries;
    }

    std::string bytes() const {
        std::ifstream in(path_, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }

    fs::path folder_, path_;

private:
    static std::string readEntry(zip_t* zip, zip_int64_t index, zip_flags_t flags) {
        zip_file_t* file = zip_fopen_index(zip, index, flags);
        std::string text;
        char buffer[4096];
        for (zip_int64_t got; file && (got = zip_fread(file, buffer, sizeof buffer)) > 0;)
            text.append(buffer, static_cast<std::size_t>(got));
        if (file) zip_fclose(file);
        return text;
    }
};

TEST_F(SavedPanes, FrozenSheetsGetTheirPaneAndEveryOtherByteStays) {
    const Parts parts = calcWorkbook();
    write(parts);
    const std::vector<Entry> before = read();

    // The first sheet (sheet2.xml) with column A and rows 1-2 frozen; the second (sheet1.xml,
    // large) scrolled to row 100 with 3 rows frozen from row 90; the third untouched.
    addFrozenPanes(path_, {{0, FrozenPanes{0, 0, 1, 2, 1, 2}}, {1, FrozenPanes{0, 89, 0, 3, 0, 99}}});

    const std::vector<Entry> after = read();
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < after.size(); ++i) {
        ASSERT_EQ(after[i].name, before[i].name) << "the parts' order changed";
        if (after[i].name == "xl/worksheets/sheet1.xml" || after[i].name == "xl/worksheets/sheet2.xml") continue;
        EXPECT_EQ(after[i].stored, before[i].stored) << after[i].name << " was rewritten";
    }

    const std::string kept = R"(<sheetView showFormulas="false" showGridLines="true" tabSelected="true" view="normal")"
                             R"( zoomScale="100" workbookViewId="0")";
    EXPECT_EQ(after[4].text,
              sheetPart(kept + R"( topLeftCell="A1"><pane xSplit="1" ySplit="2" topLeftCell="B3")"
                               R"( activePane="bottomRight" state="frozen"/><selection pane="bottomRight"/></sheetView>)",
                        3));
    EXPECT_EQ(after[3].text,
              sheetPart(kept + R"( topLeftCell="A90"><pane ySplit="3" topLeftCell="A100")"
                               R"( activePane="bottomLeft" state="frozen"/><selection pane="bottomLeft"/></sheetView>)",
                        40000));
}

TEST_F(SavedPanes, EmptyViewsAndColumnsOnly) {
    write(calcWorkbook());
    addFrozenPanes(path_, {{2, FrozenPanes{2, 0, 3, 0, 5, 0}}});
    EXPECT_EQ(read()[5].text,
              sheetPart(R"(<sheetView workbookViewId="0" topLeftCell="C1"><pane xSplit="3" topLeftCell="F1")"
                        R"( activePane="topRight" state="frozen"/><selection pane="topRight"/></sheetView>)",
                        2));

    // Nothing frozen: the file is not touched at all.
    const std::string unchanged = bytes();
    addFrozenPanes(path_, {});
    EXPECT_EQ(bytes(), unchanged);
}

TEST_F(SavedPanes, WhatCannotBeCompletedIsRefusedAndTheFileStaysAsItWas) {
    const auto refused = [&](const std::map<std::size_t, FrozenPanes>& panes, const std::string& expected) {
        const std::string was = bytes();
        try {
            addFrozenPanes(path_, panes);
            ADD_FAILURE() << "no error, expected " << expected;
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(expected), std::string::npos) << e.what();
        }
        EXPECT_EQ(bytes(), was);
    };

    write(calcWorkbook());
    refused({{3, FrozenPanes{}}}, "no sheet 4");

    Parts parts = calcWorkbook();
    parts[4].second = sheetPart("", 1);  // no sheetView at all
    write(parts);
    refused({{0, FrozenPanes{0, 0, 0, 1, 0, 1}}}, "xl/worksheets/sheet2.xml has no sheetView");

    parts = calcWorkbook();
    parts[4].second = sheetPart(R"(<sheetView workbookViewId="0">)", 1);  // never ended
    write(parts);
    refused({{0, FrozenPanes{0, 0, 0, 1, 0, 1}}}, "without its end");

    parts = calcWorkbook();
    parts[1].second = R"(<workbook><sheets><sheet name="Uno" sheetId="1" r:id="rId9"/></sheets></workbook>)";
    write(parts);
    refused({{0, FrozenPanes{0, 0, 0, 1, 0, 1}}}, "names a sheet without a part");

    std::ofstream(path_, std::ios::binary | std::ios::trunc) << "PK\x03\x04 not a package";
    refused({{0, FrozenPanes{0, 0, 0, 1, 0, 1}}}, "not a workbook");
}

}  // namespace
}  // namespace tabulix::office
