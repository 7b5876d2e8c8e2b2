// Repairing outside text to valid UTF-8, and echoing it in messages.

#include <gtest/gtest.h>

#include "framework/printable.h"
#include "framework/utf8_text.h"

namespace tabulix::framework {
namespace {

const std::string kReplacement = "\xEF\xBF\xBD";

TEST(Utf8Text, SanitizeReplacesEachBadByteAndKeepsEverythingElse) {
    EXPECT_EQ(utf8::sanitize("Fran\xC3\xA7" "ais \xF0\x9F\x98\x80"), "Fran\xC3\xA7" "ais \xF0\x9F\x98\x80");
    EXPECT_EQ(utf8::sanitize("A\xC3\x28\xFF" "B"), "A" + kReplacement + "(" + kReplacement + "B");
    EXPECT_EQ(utf8::sanitize(std::string("a\0b", 3)), std::string("a\0b", 3));
    // Overlong forms, surrogates, values past U+10FFFF and cut sequences are bad bytes too.
    EXPECT_EQ(utf8::sanitize("\xC0\xAF"), kReplacement + kReplacement);
    EXPECT_EQ(utf8::sanitize("\xED\xA0\x80"), kReplacement + kReplacement + kReplacement);
    EXPECT_EQ(utf8::sanitize("\xF4\x90\x80\x80"), kReplacement + kReplacement + kReplacement + kReplacement);
    EXPECT_EQ(utf8::sanitize("x\xE2\x82"), "x" + kReplacement + kReplacement);
    EXPECT_TRUE(utf8::isValid(utf8::sanitize("\xE2\x82\xFF\x80")));
    EXPECT_FALSE(utf8::isValid("\xE2\x82"));
}

TEST(Printable, EscapesWhatCannotBeShownAndShortensLongValues) {
    EXPECT_EQ(printable("Camión"), "Camión");
    EXPECT_EQ(printable(std::string("a\0b\n\x7F\xFF", 6)), "a\\x00b\\x0A\\x7F\\xFF");
    const std::string huge(5'000'000, 'x');
    const std::string shown = printable(huge);
    EXPECT_EQ(shown, std::string(kPrintableLength, 'x') + "... (5000000 bytes)");
    // Characters are counted, not bytes: a long Spanish text is not cut inside a character.
    EXPECT_EQ(printable("ñññññ", 3), "ñññ... (10 bytes)");
}

TEST(Printable, EscapesWhatATerminalWouldActOnEvenWhenItIsWellFormed) {
    EXPECT_EQ(printable("\x1B[2J"), "\\x1B[2J");
    EXPECT_EQ(printable("a\xC2\x9B" "31mb"), "a\\u{009B}31mb");       // C1 control sequence introducer
    EXPECT_EQ(printable("txt.\xE2\x80\xAE" "fdp"), "txt.\\u{202E}fdp");  // right-to-left override
    EXPECT_EQ(printable("\xE2\x81\xA6x\xE2\x80\xA8"), "\\u{2066}x\\u{2028}");
    EXPECT_EQ(printable("\xE2\x82\xAC \xEF\xBB\xBF"), "\xE2\x82\xAC \xEF\xBB\xBF");  // other characters stay
}

TEST(Printable, PathsKeepTheirBeginningAndTheirFileName) {
    EXPECT_EQ(quotedPath("/tmp/informe\n.xlsx"), "\"/tmp/informe\\x0A.xlsx\"");
    const std::string name(250, 'n');
    EXPECT_EQ(quotedPath("/tmp/" + name + ".xlsx"), "\"/tmp/" + name + ".xlsx\"");
    const std::string deep = "/" + std::string(3000, 'd') + "/ventas.xlsx";
    const std::string shown = quotedPath(deep);
    EXPECT_LT(shown.size(), kPrintablePathLength + 40);
    EXPECT_TRUE(shown.starts_with("\"/ddd")) << shown;
    EXPECT_TRUE(shown.ends_with("/ventas.xlsx\"")) << shown;
    EXPECT_NE(shown.find("(3013 bytes)"), std::string::npos) << shown;
}

}  // namespace
}  // namespace tabulix::framework
