#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "automation/automation_error.h"
#include "spreadsheet/cells/block_pool.h"
#include "spreadsheet/cells/cell_store.h"
#include "spreadsheet/cells/cell_style.h"
#include "spreadsheet/cells/colour.h"
#include "spreadsheet/cells/string_pool.h"
#include "spreadsheet/cells/text_utils.h"

using namespace tabulix::spreadsheet;
using tabulix::automation::AutomationError;

TEST(StringPool, KeepsRepeatedTextsOnceAndEndsTextsWithNul) {
    StringPool pool;
    // A column of a few values repeated over many cells stores each value once.
    const char* families[] = {"Herramientas", "Jardín", "Pinturas", "Electricidad", "Fontanería"};
    std::vector<StringPool::Id> familyIds;
    for (const char* family : families) familyIds.push_back(pool.intern(family));
    for (int i = 0; i < 100000; ++i) ASSERT_EQ(pool.intern(families[i % 5]), familyIds[static_cast<std::size_t>(i % 5)]);
    EXPECT_EQ(pool.size(), 5u);
    // With distinct texts in between (a row of a code and a family), still next to never again.
    for (int i = 0; i < 100000; ++i) {
        pool.intern("code " + std::to_string(i));
        pool.intern(families[i % 5]);
    }
    EXPECT_LE(pool.size(), 5u + 100000u + 100u);
    // Distinct texts all read back, however many came after them.
    std::vector<StringPool::Id> ids;
    for (int i = 0; i < 50000; ++i) ids.push_back(pool.intern("text " + std::to_string(i)));
    for (int i = 0; i < 50000; i += 997) {
        EXPECT_EQ(pool.text(ids[static_cast<std::size_t>(i)]), "text " + std::to_string(i));
        EXPECT_EQ(pool.text(pool.intern("text " + std::to_string(i))), "text " + std::to_string(i));
    }
    // A text met again right after it was stored keeps its id.
    EXPECT_EQ(pool.intern("text 49999"), ids.back());
    const StringPool::Id empty = pool.intern("");
    EXPECT_EQ(pool.intern(""), empty);
    EXPECT_EQ(pool.text(empty), "");
    // Texts larger than an arena block, and texts with embedded NULs, are kept whole.
    const std::string big(300000, 'x');
    const StringPool::Id bigId = pool.intern(big);
    EXPECT_EQ(pool.text(bigId), big);
    EXPECT_EQ(pool.text(bigId).data()[big.size()], '\0');
    const std::string withNul("a\0b", 3);
    EXPECT_NE(pool.intern(withNul), pool.intern("a"));
    EXPECT_EQ(pool.text(pool.intern(withNul)), withNul);
    EXPECT_EQ(std::strlen(pool.text(ids[7]).data()), pool.text(ids[7]).size());
}

// Texts are packed into blocks of 1 MiB behind a length prefix: texts across many blocks, prefix
// lengths of one to three bytes, and a text larger than a block all read back whole.
TEST(StringPool, TextsAcrossBlocksAndLargerThanABlockReadBackWhole) {
    StringPool pool;
    std::vector<std::pair<StringPool::Id, std::string>> kept;
    for (int i = 0; i < 30000; ++i) {
        const std::size_t length = static_cast<std::size_t>(i % 7 == 0 ? 100 + i % 300 : i % 50 == 1 ? 20000 + i % 5 : i % 40);
        std::string text(length, static_cast<char>('a' + i % 26));
        text += std::to_string(i);
        kept.emplace_back(pool.intern(text), std::move(text));
    }
    const std::string huge(3u << 20, 'h');
    kept.emplace_back(pool.intern(huge), huge);
    kept.emplace_back(pool.intern("after the huge one"), "after the huge one");
    for (const auto& [id, text] : kept) {
        ASSERT_EQ(pool.text(id), text);
        ASSERT_EQ(pool.text(id).data()[text.size()], '\0');
    }
    // Met again long after, a text may be stored anew; it reads back the same.
    for (const auto& [id, text] : kept) ASSERT_EQ(pool.text(pool.intern(text)), text);
}

// A run of a row is the cells of exactly its columns, in order, whatever the row held before:
// gaps filled, cells before and after it left alone and not counted twice.
TEST(CellStore, RunsOfARowHoldExactlyTheirColumns) {
    CellStore store;
    store.obtain({3, 2}).number = 2.0;
    store.obtain({3, 5}).number = 5.0;
    store.obtain({3, 9}).number = 9.0;
    std::span<Cell> run = store.obtainRun(3, 2, 6);
    ASSERT_EQ(run.size(), 5u);
    for (std::size_t i = 0; i < run.size(); ++i) EXPECT_EQ(run[i].column0, i + 1);
    EXPECT_EQ(run[0].number, 2.0);
    EXPECT_EQ(run[3].number, 5.0);
    EXPECT_EQ(run[1].kind, CellKind::Blank);
    EXPECT_EQ(store.cellCount(), 6u);  // B..F and I
    // Already complete: the same cells, nothing added.
    EXPECT_EQ(store.obtainRun(3, 2, 6).data(), store.obtainRun(3, 2, 6).data());
    EXPECT_EQ(store.cellCount(), 6u);
    // A run over an empty row, and one of a single column beyond the last cell.
    EXPECT_EQ(store.obtainRun(1000, 1, 3).size(), 3u);
    EXPECT_EQ(store.obtainRun(3, 12, 12).front().column0, 11u);
    EXPECT_EQ(store.row(3).back().column0, 11u);
    EXPECT_EQ(store.cellCount(), 10u);
}

// Objects made from a pool reuse each other's memory, and the pool lives as long as any of them,
// even when its owner lets go first (a worksheet closed while a client holds one of its ranges).
TEST(BlockPool, RecyclesBlocksAndOutlivesItsOwner) {
    struct Probe {
        explicit Probe(int v, int* alive) : value(v), alive(alive) { ++*alive; }
        ~Probe() { --*alive; }
        int value;
        int* alive;
    };
    int alive = 0;
    auto pool = std::make_shared<BlockPool>();
    const void* first = nullptr;
    {
        auto a = std::allocate_shared<Probe>(PoolAllocator<Probe>(pool), 1, &alive);
        first = a.get();
    }
    auto b = std::allocate_shared<Probe>(PoolAllocator<Probe>(pool), 2, &alive);
    EXPECT_EQ(b.get(), first);
    std::vector<std::shared_ptr<Probe>> many;
    for (int i = 0; i < 200; ++i) many.push_back(std::allocate_shared<Probe>(PoolAllocator<Probe>(pool), i, &alive));
    pool.reset();
    many.clear();
    EXPECT_EQ(b->value, 2);
    b.reset();
    EXPECT_EQ(alive, 0);
}

// Rows written one after another take about the room of their cells, also when their lengths
// vary (a record with an empty field writes one cell less); a row that grows after others were
// written keeps its cells in order.
TEST(CellStore, RowsTakeTheRoomOfTheirCellsAndKeepThemWhenTheyGrowLater) {
    CellStore store;
    const std::uint32_t rows = 20000;
    for (std::uint32_t r = 1; r <= rows; ++r)
        for (std::uint32_t c = 1; c <= 9; ++c)
            if (c != 9 || r % 10 != 0) store.obtain({r, c}).number = r * 100.0 + c;
    const std::size_t cellBytes = store.cellCount() * sizeof(Cell);
    EXPECT_LT(store.memoryUse(), cellBytes + cellBytes / 20 + (rows / 256 + 1) * 4500 + 40000);
    // Row 5 now takes cells before, between and after its own.
    store.obtain({5, 12}).number = -12;
    store.obtain({5, 11}).number = -11;
    for (std::uint32_t c = 1; c <= 9; ++c) store.obtain({5, c});
    const std::span<const Cell> five = store.row(5);
    ASSERT_EQ(five.size(), 11u);
    for (std::size_t i = 0; i < 9; ++i) EXPECT_EQ(five[i].number, 500.0 + static_cast<double>(i + 1));
    EXPECT_EQ(five[9].number, -11);
    EXPECT_EQ(five[10].number, -12);
    EXPECT_EQ(store.row(6)[8].number, 609);
    EXPECT_EQ(store.row(10).size(), 8u);
}

TEST(StyleTable, InternsEqualStylesOnceAndRemembersFormatChanges) {
    StyleTable table;
    EXPECT_EQ(table.size(), 1u);
    CellStyle bold;
    bold.font.bold = true;
    const StyleTable::Id a = table.intern(bold);
    EXPECT_EQ(table.intern(bold), a);
    CellStyle framed = bold;
    framed.border(CellSide::Top) = BorderLine{BorderWeight::Thick, 0};
    EXPECT_NE(table.intern(framed), a);
    const StyleTable::Id dated = table.withNumberFormat(a, 3);
    EXPECT_EQ(table.style(dated).numberFormat, 3u);
    EXPECT_TRUE(table.style(dated).font.bold);
    EXPECT_EQ(table.withNumberFormat(a, 3), dated);
    EXPECT_EQ(table.style(a).numberFormat, 0u);
}

TEST(Colour, ExplicitAndSystemColoursResolveOthersAreRefused) {
    EXPECT_EQ(rgbFromColourValue(0x0000FF), 0xFF0000u);  // red is the low byte
    EXPECT_EQ(rgbFromColourValue(0xFF0000), 0x0000FFu);
    EXPECT_EQ(rgbFromColourValue(0xC0C0C0), 0xC0C0C0u);
    EXPECT_EQ(rgbFromColourValue(0), 0u);
    EXPECT_EQ(rgbFromColourValue(-2147483640), 0x000000u);    // 0x80000008 window text, as a signed value
    EXPECT_EQ(rgbFromColourValue(0x80000005ll), 0xFFFFFFu);   // window
    EXPECT_EQ(rgbFromColourValue(0x8000000Fll), 0xF0F0F0u);   // button face
    for (long long bad : {-1ll, 0x1000000ll, 0x80000019ll, 0x800000FFll, 0x1FFFFFFFll, 0x100000000ll})
        EXPECT_THROW(rgbFromColourValue(bad), AutomationError) << bad;
    EXPECT_EQ(colourValueFromRgb(0xFF0000), 0x0000FF);
}

TEST(TextUtils, Utf8ChecksAndCaseFolding) {
    EXPECT_TRUE(isValidUtf8("Gr\xC3\xA1" "fico \xE2\x82\xAC \xF0\x9F\x98\x80"));
    for (const char* bad : {"\xC3", "\xC0\x80", "\xE0\x80\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xFF", "a\x80"})
        EXPECT_FALSE(isValidUtf8(bad)) << bad;
    EXPECT_EQ(codePointCount("Gr\xC3\xA1" "fico1"), 8u);
    EXPECT_EQ(foldCase("HOJA1"), "hoja1");
    EXPECT_EQ(foldCase("GR\xC3\x81" "FICO \xC3\x91"), "gr\xC3\xA1" "fico \xC3\xB1");  // Á -> á, Ñ -> ñ
    EXPECT_EQ(foldCase("\xC3\x97"), "\xC3\x97");  // the multiplication sign has no case
    EXPECT_EQ(foldCase("\xC5\x81\xC3\x93\xC5\xBD"), "\xC5\x82\xC3\xB3\xC5\xBE");  // ŁÓŽ -> łóž
    EXPECT_EQ(foldCase("\xD0\x90\xCE\xA3"), "\xD0\xB0\xCF\x83");  // Cyrillic A, Greek Sigma
    EXPECT_EQ(foldCase("a\xFF" "B"), "a\xFF" "b");  // malformed bytes pass through
}
