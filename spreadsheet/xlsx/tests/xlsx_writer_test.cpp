// The one-pass workbook writer: deflate chunks joined into one stream, the escaping that keeps
// every part well-formed, and whole files read back by libzip (which checks every part's
// checksum) and by openpyxl.

#include <gtest/gtest.h>
#include <fcntl.h>
#include <libdeflate.h>
#include <unistd.h>
#include <zip.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "automation/automation_error.h"
#include "spreadsheet/model/tests/spreadsheet_test_support.h"
#include "spreadsheet/xlsx/xlsx_export.h"
#include "chart_xlsx_reader.h"
#include "deflate_chunks.h"
#include "xlsx_package.h"
#include "xml_text.h"

using namespace tabulix::spreadsheet;
using namespace tabulix::spreadsheet::testing;
namespace fs = std::filesystem;

namespace {

std::string inflate(const std::vector<std::uint8_t>& stream, std::size_t size) {
    std::string out(size, '\0');
    libdeflate_decompressor* d = libdeflate_alloc_decompressor();
    std::size_t got = 0;
    const libdeflate_result r = libdeflate_deflate_decompress(d, stream.data(), stream.size(), out.data(), size, &got);
    libdeflate_free_decompressor(d);
    if (r != LIBDEFLATE_SUCCESS) return "<damaged stream>";
    out.resize(got);
    return out;
}

// Compresses `data` in chunks of `chunk` bytes, the last one final, as the zip writer does.
std::vector<std::uint8_t> deflateInChunks(const std::string& data, std::size_t chunk, int level) {
    ChunkDeflater deflater(level);
    std::vector<std::uint8_t> out;
    std::size_t at = 0;
    while (data.size() - at > chunk) {
        deflater.compress(data.data() + at, chunk, false, out);
        at += chunk;
    }
    deflater.compress(data.data() + at, data.size() - at, true, out);
    return out;
}

std::string sheetLikeXml(std::size_t rows) {
    std::string xml;
    std::mt19937 random(7);
    for (std::size_t r = 1; r <= rows; ++r) {
        xml += "<row r=\"" + std::to_string(r) + "\"><c r=\"A" + std::to_string(r) + "\" s=\"3\"><v>" +
               std::to_string(random() % 100000 / 100.0) + "</v></c><c r=\"B" + std::to_string(r) +
               "\" t=\"s\"><v>" + std::to_string(random() % 50) + "</v></c></row>";
    }
    return xml;
}

}  // namespace

TEST(ChunkedDeflate, JoinedChunksInflateToTheWholeInput) {
    std::mt19937 random(11);
    std::string noise(300000, '\0');
    for (char& c : noise) c = static_cast<char>(random());  // incompressible: stored blocks
    const std::string xml = sheetLikeXml(40000);
    const std::string mixed = xml.substr(0, 100000) + noise.substr(0, 70000) + xml.substr(100000, 200000);
    struct Case {
        const std::string* data;
        std::size_t chunk;
        int level;
    };
    const Case cases[] = {
        {&xml, 1 << 20, 6},  {&xml, 65536, 1},   {&xml, 333333, 12}, {&xml, 4097, 6}, {&noise, 100000, 6},
        {&noise, 1000, 0},   {&mixed, 90000, 6}, {&xml, 1, 6},
    };
    for (const Case& c : cases) {
        if (c.chunk == 1) {
            // Single bytes, with the longest code lengths the compressor picks for them.
            const std::string tiny = c.data->substr(0, 3000);
            EXPECT_EQ(inflate(deflateInChunks(tiny, 1, c.level), tiny.size()), tiny);
            continue;
        }
        SCOPED_TRACE("chunk " + std::to_string(c.chunk) + " level " + std::to_string(c.level));
        const std::vector<std::uint8_t> joined = deflateInChunks(*c.data, c.chunk, c.level);
        EXPECT_TRUE(inflate(joined, c.data->size()) == *c.data);
    }
    // An empty part, and a part whose last chunk is empty.
    EXPECT_EQ(inflate(deflateInChunks("", 100, 6), 10), "");
    ChunkDeflater deflater(6);
    std::vector<std::uint8_t> out;
    deflater.compress(xml.data(), 5000, false, out);
    deflater.compress(xml.data(), 0, true, out);
    EXPECT_EQ(inflate(out, 5000), xml.substr(0, 5000));
}

TEST(ChunkedDeflate, ABrokenStreamIsRefusedNotJoined) {
    ChunkDeflater deflater(6);
    std::vector<std::uint8_t> whole;
    const std::string xml = sheetLikeXml(2000);
    deflater.compress(xml.data(), xml.size(), true, whole);
    std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(whole.size() / 2));
    EXPECT_THROW(openDeflateStream(cut), std::runtime_error);
    std::vector<std::uint8_t> reserved = {0x07, 0x00};  // a final block of the reserved type
    EXPECT_THROW(openDeflateStream(reserved), std::runtime_error);
    std::vector<std::uint8_t> empty;
    EXPECT_THROW(openDeflateStream(empty), std::runtime_error);
}

TEST(XmlText, PlainRunsAreCopiedAndEveryOtherByteIsHandledInPlace) {
    const auto xml = [](std::string_view in) {
        std::string out = "[";
        appendXmlText(out, in);
        return out;
    };
    EXPECT_EQ(xml("Se\xC3\xB1or \xE2\x82\xAC \xF0\x9F\x98\x80 & <b>"),
              "[Se\xC3\xB1or \xE2\x82\xAC \xF0\x9F\x98\x80 &amp; &lt;b&gt;");
    // Malformed sequences at the very end, and a surrogate, replaced byte by byte.
    EXPECT_EQ(xml("end\xE2\x82"), "[end\xEF\xBF\xBD\xEF\xBF\xBD");
    EXPECT_EQ(xml("\xED\xA0\x80x"), "[\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBDx");
    EXPECT_EQ(xml("a\xEF\xBF\xBF" "b_x00e9_c_"), "[a_xFFFF_b_x005F_x00e9_c_");
    EXPECT_EQ(xml(std::string_view("\0\x1F\t\n\r", 5)), "[_x0000__x001F_\t\n_x000D_");
}

class SavedPackage : public SpreadsheetTest {
protected:
    SavedPackage() : SpreadsheetTest(&writeXlsx) {}
    void SetUp() override {
        SpreadsheetTest::SetUp();
        folder = fs::temp_directory_path() / ("package-test-" + std::to_string(::getpid()));
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    fs::path save(const std::string& name) {
        const fs::path file = folder / name;
        book->saveAs(file.string());
        return file;
    }

    fs::path folder;
};

TEST_F(SavedPackage, ASheetOfManyChunksReadsBackWhole) {
    // About 6 MiB of sheet XML: several chunks joined into one stream; libzip checks the checksum.
    constexpr std::uint32_t kRows = 60000;
    for (std::uint32_t r = 1; r <= kRows; ++r) {
        sheet->setValue({{r, 1}, {r, 1}}, Variant(r * 0.25), tabulix::automation::kLcidEnglishUS);
        sheet->setValue({{r, 2}, {r, 2}}, Variant("texto " + std::to_string(r % 977)), tabulix::automation::kLcidEnglishUS);
    }
    const fs::path file = save("big.xlsx");
    const auto entries = zipEntries(file.string());
    const std::string& xml = entries.at("xl/worksheets/sheet1.xml");
    EXPECT_GT(xml.size(), 3 * (std::size_t{1} << 20));
    EXPECT_NE(xml.find("<c r=\"A60000\"><v>15000</v></c>"), std::string::npos);
    EXPECT_NE(xml.find("<dimension ref=\"A1:B60000\"/>"), std::string::npos);
    EXPECT_EQ(xml.substr(xml.size() - 12), "</worksheet>");
    EXPECT_NE(xml.find("<c r=\"B977\" t=\"inlineStr\"><is><t>texto 0</t></is></c>"), std::string::npos);
    // The same workbook saved again gives the same bytes.
    const fs::path again = save("again.xlsx");
    std::ifstream a(file, std::ios::binary), b(again, std::ios::binary);
    EXPECT_TRUE(std::equal(std::istreambuf_iterator<char>(a), {}, std::istreambuf_iterator<char>(b), {}));
    // A device that fills up while chunks wait on both threads fails the save with the reason.
    const int full = ::open("/dev/full", O_WRONLY);
    if (full < 0) GTEST_SKIP() << "/dev/full is not available";
    try {
        writeXlsxPackage(*book, full);
        ADD_FAILURE() << "a workbook was written to a full device";
    } catch (const tabulix::automation::AutomationError& e) {
        EXPECT_NE(std::string(e.what()).find("No space left"), std::string::npos) << e.what();
    }
    ::close(full);
}

TEST_F(SavedPackage, AwkwardTextsAndNamesGiveWellFormedPartsThatReadBack) {
    putValue("A1", Variant(std::string("bell\x07 nul\0 end", 14)));
    putValue("A2", Variant("bad \xFF\xC3 bytes"));
    putValue("A3", Variant("  padded & <tagged>\r\n"));
    sheet->setName("A&B <\"c\">");
    const fs::path file = save("awkward.xlsx");
    if (std::system("/usr/bin/python3 -c 'import openpyxl' 2>/dev/null") != 0)
        GTEST_SKIP() << "python3 with openpyxl is not available";
    const fs::path script = folder / "read.py";
    std::ofstream(script) << "import sys, zipfile, xml.dom.minidom, openpyxl\n"
                             "z = zipfile.ZipFile(sys.argv[1])\n"
                             "for n in z.namelist(): xml.dom.minidom.parseString(z.read(n))\n"
                             "ws = openpyxl.load_workbook(sys.argv[1]).worksheets[0]\n"
                             "out = open(sys.argv[2], 'w', encoding='utf-8', newline='')\n"
                             "out.write(ws.title + '|')\n"
                             "out.write('|'.join(ws.cell(r, 1).value for r in range(1, 4)))\n";
    const fs::path result = folder / "read.txt";
    ASSERT_EQ(std::system(("/usr/bin/python3 " + script.string() + " " + file.string() + " " + result.string()).c_str()), 0);
    std::ifstream in(result, std::ios::binary);
    const std::string read((std::istreambuf_iterator<char>(in)), {});
    // openpyxl leaves the "_xHHHH_" escapes of cell texts as they are.
    EXPECT_EQ(read,
              "A&B <\"c\">|bell_x0007_ nul_x0000_ end|bad \xEF\xBF\xBD\xEF\xBF\xBD bytes|  padded & <tagged>_x000D_\n");
}
