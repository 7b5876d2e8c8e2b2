#include <gtest/gtest.h>

#include "data/code_page.h"
#include "data/data_error.h"

namespace tabulix::data {
namespace {

TEST(CodePage, TablesConvertTheUpperHalf) {
    EXPECT_EQ(CodePage(1252).toUtf8("Espa\xF1" "a \x80 \x93" "cita\x94"), "España € “cita”");
    EXPECT_EQ(CodePage(1252).toUtf8("\x81\x8D"), "\u0081\u008D");  // undefined bytes keep their code point
    EXPECT_EQ(CodePage(850).toUtf8("Espa\xA4" "a \xA5 \x82\xA0\xA1\xA2\xA3"), "España Ñ éáíóú");
    EXPECT_EQ(CodePage(437).toUtf8("\xA4\xE1\xE0"), "ñßα");
    EXPECT_EQ(CodePage(CodePage::kLatin1).toUtf8("\xE9\x80"), "é\u0080");
    EXPECT_EQ(CodePage(1252).toUtf8(""), "");
}

TEST(CodePage, Utf8IsCheckedAndOtherPagesGoThroughIconv) {
    EXPECT_EQ(CodePage(CodePage::kUtf8).toUtf8("ñ ok"), "ñ ok");
    EXPECT_EQ(CodePage(CodePage::kUtf8).toUtf8("a\xFF" "b\xC3"), "a\uFFFD" "b\uFFFD");
    EXPECT_EQ(CodePage(CodePage::kUtf8).toUtf8("\xC0\xAF"), "\uFFFD\uFFFD");  // overlong
    EXPECT_EQ(CodePage(1250).toUtf8("\x8A\xE8"), "Šč");
    EXPECT_EQ(CodePage(852).toUtf8("\xA5"), "ą");
    EXPECT_THROW(CodePage(12345), EDatabaseError);
}

TEST(CodePage, NamesAndLanguageDrivers) {
    EXPECT_EQ(CodePage::forLanguageDriver(0x57), 1252);
    EXPECT_EQ(CodePage::forLanguageDriver(0x03), 1252);
    EXPECT_EQ(CodePage::forLanguageDriver(0x02), 850);
    EXPECT_EQ(CodePage::forLanguageDriver(0x37), 850);
    EXPECT_EQ(CodePage::forLanguageDriver(0x01), 437);
    EXPECT_EQ(CodePage::forLanguageDriver(0x64), 852);
    EXPECT_EQ(CodePage::forLanguageDriver(0xC9), 1251);
    EXPECT_EQ(CodePage::forLanguageDriver(0x00), std::nullopt);

    EXPECT_EQ(CodePage::fromName("1252"), 1252);
    EXPECT_EQ(CodePage::fromName(" ANSI 1252\r\n"), 1252);
    EXPECT_EQ(CodePage::fromName("windows-1252"), 1252);
    EXPECT_EQ(CodePage::fromName("cp850"), 850);
    EXPECT_EQ(CodePage::fromName("OEM 437"), 437);
    EXPECT_EQ(CodePage::fromName("UTF-8"), CodePage::kUtf8);
    EXPECT_EQ(CodePage::fromName("8859_1"), CodePage::kLatin1);
    EXPECT_EQ(CodePage::fromName("LDID/87"), 1252);
    EXPECT_EQ(CodePage::fromName("LDID/999"), std::nullopt);
    EXPECT_EQ(CodePage::fromName("klingon"), std::nullopt);
    EXPECT_EQ(CodePage::fromName(""), std::nullopt);
    EXPECT_EQ(CodePage::fromName("-5"), std::nullopt);
}

}  // namespace
}  // namespace tabulix::data
