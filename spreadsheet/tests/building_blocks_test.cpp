#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "automation/automation_error.h"
#include "spreadsheet/cell_style.h"
#include "spreadsheet/colour.h"
#include "spreadsheet/string_pool.h"
#include "spreadsheet/text_utils.h"

using namespace tabulix::spreadsheet;
using tabulix::automation::AutomationError;

TEST(StringPool, KeepsEachTextOnceThroughGrowthAndEndsTextsWithNul) {
    StringPool pool;
    std::vector<StringPool::Id> ids;
    for (int i = 0; i < 50000; ++i) ids.push_back(pool.intern("text " + std::to_string(i)));
    EXPECT_EQ(pool.size(), 50000u);
    for (int i = 0; i < 50000; i += 997) {
        EXPECT_EQ(pool.intern("text " + std::to_string(i)), ids[static_cast<std::size_t>(i)]);
        EXPECT_EQ(pool.text(ids[static_cast<std::size_t>(i)]), "text " + std::to_string(i));
    }
    EXPECT_EQ(pool.size(), 50000u);
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
