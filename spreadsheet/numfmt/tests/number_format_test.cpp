#include "spreadsheet/numfmt/number_format.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "automation/automation_error.h"
#include "framework/printable.h"
#include "number_format_render.h"

using namespace tabulix::spreadsheet;
using tabulix::automation::AutomationError;

namespace {

constexpr tabulix::automation::Lcid kSpanish = 0x0C0A;
constexpr tabulix::automation::Lcid kEnglish = 0x0409;
const NumberConventions kPoint{'.', ','};
const NumberConventions kComma{',', '.', DateLanguage::Spanish};

std::string show(std::string_view code, double value, const NumberConventions& c = kPoint) {
    return NumberFormat::parse(code, kEnglish).display(value, c);
}

// The message of the error that parsing code raises, or "" when it parses.
std::string refusal(std::string_view code, tabulix::automation::Lcid lcid = kEnglish) {
    try {
        NumberFormat::parse(code, lcid);
    } catch (const AutomationError& e) {
        return e.what();
    }
    return {};
}

}  // namespace

TEST(NumberFormatNotation, CommaDecimalLocaleSwapsPointAndCommaOfNumbers) {
    EXPECT_EQ(NumberFormat::parse("###.###.##0,00", kSpanish).fileCode(), "###,###,##0.00");
    EXPECT_EQ(NumberFormat::parse("0,00%", kSpanish).fileCode(), "0.00%");
    EXPECT_EQ(NumberFormat::parse("#.##0,00;(#.##0,00)", 0x0407).fileCode(), "#,##0.00;(#,##0.00)");
    EXPECT_EQ(NumberFormat::parse("[>=1,5]0,0;0", kSpanish).fileCode(), "[>=1.5]0.0;0");
    // Point-decimal and neutral locales keep the code as written.
    EXPECT_EQ(NumberFormat::parse("###,###,##0.00", kEnglish).fileCode(), "###,###,##0.00");
    EXPECT_EQ(NumberFormat::parse("#,##0.00", 0).fileCode(), "#,##0.00");
    EXPECT_EQ(NumberFormat::parse("#,##0.00", 0x080A).fileCode(), "#,##0.00");  // Spanish (Mexico)
}

TEST(NumberFormatNotation, LiteralPointsAndCommasAreNotConverted) {
    EXPECT_EQ(NumberFormat::parse("#.##0,00 \"kg.\"", kSpanish).fileCode(), "#,##0.00 \"kg.\"");
    EXPECT_EQ(NumberFormat::parse("0,0\\.", kSpanish).fileCode(), "0.0\\.");
    EXPECT_EQ(NumberFormat::parse("#.##0,00 [$€-C0A]", kSpanish).fileCode(), "#,##0.00 [$€-C0A]");
    // In dates a point is a separator in every notation; only the mark of fractional seconds converts.
    EXPECT_EQ(NumberFormat::parse("dd.mm.yyyy", kSpanish).fileCode(), "dd.mm.yyyy");
    EXPECT_EQ(NumberFormat::parse("hh:mm:ss,00", kSpanish).fileCode(), "hh:mm:ss.00");
    EXPECT_EQ(NumberFormat::parse("@\", sin más\"", kSpanish).fileCode(), "@\", sin más\"");
}

TEST(NumberFormatNotation, BothNotationsDisplayAlike) {
    const NumberFormat spanish = NumberFormat::parse("###.###.##0,00", kSpanish);
    const NumberFormat english = NumberFormat::parse("###,###,##0.00", kEnglish);
    EXPECT_EQ(spanish, english);
    EXPECT_EQ(spanish.display(1234567.891, kComma), "1.234.567,89");
    EXPECT_EQ(english.display(1234567.891, kPoint), "1,234,567.89");
    // The file code read back in the file's notation is the same format.
    EXPECT_EQ(NumberFormat::parse(spanish.fileCode(), kEnglish).fileCode(), spanish.fileCode());
}

TEST(NumberFormatNotation, GeneralAndEmptyCodes) {
    for (const char* code : {"", "General", "general", "GENERAL"}) {
        const NumberFormat f = NumberFormat::parse(code, kSpanish);
        EXPECT_TRUE(f.isGeneral()) << code;
        EXPECT_EQ(f.fileCode(), "General") << code;
    }
    EXPECT_TRUE(NumberFormat().isGeneral());
    EXPECT_FALSE(NumberFormat::parse("0", kEnglish).isGeneral());
}

TEST(NumberFormatNotation, CodesAreCaseInsensitiveAndCopiesAreEqual) {
    EXPECT_EQ(show("YYYY-MM-DD HH:MM", 45292.75), "2024-01-01 18:00");
    EXPECT_EQ(show("0.00e+00", 12345), "1.23e+04");
    EXPECT_EQ(show("0 E", 5), "5 E");  // without a sign E is a letter
    EXPECT_EQ(show("[RED]0;[color10]-0", -2), "-2");
    const NumberFormat original = NumberFormat::parse("#,##0.00;[Red]-#,##0.00", kEnglish);
    const NumberFormat copy = original;
    EXPECT_EQ(copy, original);
    EXPECT_EQ(copy.display(-1, kPoint), original.display(-1, kPoint));
    EXPECT_FALSE(original == NumberFormat::general());
}

TEST(NumberFormatDisplay, ConventionsChooseTheMarks) {
    const NumberFormat f = NumberFormat::parse("#,##0.00", kEnglish);
    EXPECT_EQ(f.display(1234.5, kComma), "1.234,50");
    EXPECT_EQ(f.display(1234.5, kPoint), "1,234.50");
    EXPECT_EQ(f.display(1234.5, NumberConventions{',', ' '}), "1 234,50");
    EXPECT_EQ(conventionsFor(kSpanish).decimal, ',');
    EXPECT_EQ(conventionsFor(kSpanish).grouping, '.');
    EXPECT_EQ(conventionsFor(0x0407).decimal, ',');
    EXPECT_EQ(conventionsFor(kEnglish).decimal, '.');
    EXPECT_EQ(conventionsFor(0).decimal, '.');
    EXPECT_EQ(conventionsFor(0x080A).decimal, '.');
    EXPECT_EQ(conventionsFor(0x0807).decimal, '.');
    EXPECT_EQ(conventionsFor(0x0807).grouping, '\'');
    EXPECT_EQ(conventionsFor(0x040C).grouping, ' ');
    EXPECT_EQ(conventionsFor(0x2C0A).decimal, ',');  // Spanish (Argentina)
    EXPECT_EQ(conventionsFor(0x2C0A).dateNames, DateLanguage::Spanish);
    EXPECT_EQ(conventionsFor(0x0407).dateNames, DateLanguage::English);
    EXPECT_TRUE(isCommaDecimal(kSpanish));
    EXPECT_FALSE(isCommaDecimal(0x080A));
}

TEST(NumberFormatDisplay, DigitPlaceholders) {
    EXPECT_EQ(show("#,##0", 1234567), "1,234,567");
    EXPECT_EQ(show("#,##0", 0), "0");
    EXPECT_EQ(show("#,###", 0), "");
    EXPECT_EQ(show("00000", 42), "00042");
    EXPECT_EQ(show("000,000", 5), "000,005");
    EXPECT_EQ(show("0", 123456), "123456");  // more digits than placeholders
    EXPECT_EQ(show("000-00-0000", 123456789), "123-45-6789");
    EXPECT_EQ(show("0.0#", 1.5), "1.5");
    EXPECT_EQ(show("0.0#", 1.25), "1.25");
    EXPECT_EQ(show("#.##", 1), "1.");
    EXPECT_EQ(show(".00", 0.5), ".50");
    EXPECT_EQ(show(".00", 12.5), "12.50");
    EXPECT_EQ(show("??0.0?", 2.5), "  2.5 ");
    EXPECT_EQ(show("\"$\"#,##0.00", 1234.5), "$1,234.50");
    EXPECT_EQ(show("0 \"units\"", 3), "3 units");
    EXPECT_EQ(show("(0)", 7), "(7)");
    EXPECT_EQ(show("0.00", 1e20), "100000000000000000000.00");
}

TEST(NumberFormatDisplay, RoundsHalfAwayFromZeroOnTheDecimalDigits) {
    EXPECT_EQ(show("0", 2.5), "3");
    EXPECT_EQ(show("0", -2.5), "-3");
    EXPECT_EQ(show("0.00", 2.675), "2.68");  // binary 2.67499999...
    EXPECT_EQ(show("0.00", 1.005), "1.01");
    EXPECT_EQ(show("0.0", 0.05), "0.1");
    EXPECT_EQ(show("0.00", 9.999), "10.00");
    EXPECT_EQ(show("#,##0", 999.5), "1,000");
    EXPECT_EQ(show("0", -0.4), "-0");
}

TEST(NumberFormatDisplay, SectionsForNegativeZeroAndText) {
    EXPECT_EQ(show("0.00;(0.00)", -5), "(5.00)");
    EXPECT_EQ(show("0.00;(0.00)", 0), "0.00");
    EXPECT_EQ(show("0;-0;\"zero\"", 0), "zero");
    EXPECT_EQ(show("0;-0;\"zero\"", -3), "-3");
    EXPECT_EQ(show("0;[Red]0", -3), "3");
    EXPECT_EQ(show("0;;", -3), "");
    EXPECT_EQ(show("0;;", 3), "3");
    EXPECT_EQ(show("0", -1234), "-1234");
    EXPECT_EQ(show("\"$\"0", -5), "-$5");
    EXPECT_EQ(show("\"nothing\"", -5), "-nothing");

    const NumberFormat withText = NumberFormat::parse("0;-0;0;\"Text: \"@", kEnglish);
    EXPECT_EQ(withText.displayText("abc"), "Text: abc");
    EXPECT_EQ(withText.display(5, kPoint), "5");
    EXPECT_EQ(NumberFormat::parse("0;-0;0;\"n/a\"", kEnglish).displayText("abc"), "n/a");
    EXPECT_EQ(NumberFormat::parse("0.00", kEnglish).displayText("abc"), "abc");
    EXPECT_EQ(NumberFormat::general().displayText("=not a formula"), "=not a formula");

    const NumberFormat text = NumberFormat::parse("@", kEnglish);
    EXPECT_TRUE(text.isText());
    EXPECT_EQ(text.display(1234.5, kComma), "1234,5");
    EXPECT_EQ(NumberFormat::parse("0.0;@\" kg\"", kEnglish).displayText("5"), "5 kg");
}

TEST(NumberFormatDisplay, Conditions) {
    const std::string code = "[Blue][>=1000]#,##0\" big\";[<0]0\" below\";0\" small\"";
    EXPECT_EQ(show(code, 1500), "1,500 big");
    EXPECT_EQ(show(code, -5), "5 below");
    EXPECT_EQ(show(code, 10), "10 small");
    EXPECT_EQ(show("[=1]\"one\";0", 1), "one");
    EXPECT_EQ(show("[=1]\"one\";0", 2), "2");
    EXPECT_EQ(show("[<=-1]\"low\";[>=1]\"high\"", 0), "########");
}

TEST(NumberFormatDisplay, ConditionalSectionsWriteTheirOwnSignOnlyForNegativesAlone) {
    EXPECT_EQ(show("[<0]\"neg\";[>0]\"pos\";\"zero\"", -1), "neg");
    EXPECT_EQ(show("[<0]\"neg\";[>0]\"pos\";\"zero\"", 0), "zero");
    EXPECT_EQ(show("[>=1000]#,##0,\"K\";0", -1234.5), "-1235");
    EXPECT_EQ(show("[>=1000]#,##0,\"K\";0", 1234.5), "1K");
    EXPECT_EQ(show("[>=0]0.0;(0.0)", -2.5), "(2.5)");
    EXPECT_EQ(show("[<=-1]0\" low\";0", -3), "3 low");
    EXPECT_EQ(show("[<5]0;0", -3), "-3");  // [<5] also takes positives
}

TEST(NumberFormatDisplay, Fractions) {
    EXPECT_EQ(show("# ?/?", 0.5), "1/2");
    EXPECT_EQ(show("# ?/?", 1234.5), "1234 1/2");
    EXPECT_EQ(show("# ?/?", -1234.5), "-1234 1/2");
    EXPECT_EQ(show("# ?/?", 3.14159), "3 1/7");
    EXPECT_EQ(show("# ?/?", 1), "1    ");  // no fraction: blanks as wide as one
    EXPECT_EQ(show("# ?/?", 1.99), "2    ");
    EXPECT_EQ(show("# ?\?/??", 3.14159), "3 14/99");
    EXPECT_EQ(show("# ?\?/??", 0.5), " 1/2 ");
    EXPECT_EQ(show("# ?/8", 1), "1    ");
    EXPECT_EQ(show("# ?/8", 2.25), "2 2/8");
    EXPECT_EQ(show("# ?\?/100", 1.99), "1 99/100");
    EXPECT_EQ(show("?/?", 1.5), "3/2");  // no whole part: improper
    // Scaled past the double range: the largest number, never text without digits.
    EXPECT_TRUE(show("#0%%%% #0 ?/8", 5e303).starts_with("179769313486232")) << show("#0%%%% #0 ?/8", 5e303);
    EXPECT_EQ(show("?/?", 3.14159), "22/7");
    EXPECT_EQ(show("?/?", 0), "0/1");
    EXPECT_EQ(show("?/8", 0.3), "2/8");
    EXPECT_EQ(show("0 0/0", 0.5), "0 1/2");
    EXPECT_EQ(show("0 0/0", 1), "1 0/1");  // '0' placeholders show a zero fraction
    EXPECT_EQ(show("?/4", 0), "0/4");
    EXPECT_EQ(show("# ??\?/???", 0.333), "332/997");
    EXPECT_EQ(show("\"x\"# ?/?", 1.25), "x1 1/4");
    EXPECT_EQ(show("# ?/?", 1e20), "100000000000000000000    ");
    // An improper fraction whose numerator passes what whole numbers hold (1e12 * 5e9).
    EXPECT_EQ(show("?/5000000000", 1e12), "5000000000000000000000/5000000000");
    EXPECT_EQ(show("?/5000000000", 1e9 + 0.5), "5000000002500000000/5000000000");
    EXPECT_EQ(NumberFormat::parse("# ?/?", kEnglish).fileCode(), "# ?/?");
    // A slash that follows no digit placeholder is a literal.
    EXPECT_EQ(show("0\"/\"0", 12), "1/2");
    EXPECT_EQ(show("dd/mm/yyyy", 45000), "15/03/2023");
    // Measured as wide as the widest it can show.
    const NumberFormat f = NumberFormat::parse("# ?\?/??", kEnglish);
    EXPECT_EQ(f.displayForFit(0.5, kPoint), " 01/20");
    EXPECT_EQ(f.displayForFit(2, kPoint), "2 00000");
}

TEST(NumberFormatDisplay, LocaleTagNamesDaysAndMonthsInItsLanguage) {
    EXPECT_EQ(show("[$-C0A]dddd d \\de mmmm \\de yyyy", 45000), "mi\xC3\xA9rcoles 15 de marzo de 2023");
    EXPECT_EQ(show("[$-C0A]ddd d mmm", 45000), "mi\xC3\xA9 15 mar");
    EXPECT_EQ(show("[$-409]dddd, mmmm d, yyyy", 45000, kComma), "Wednesday, March 15, 2023");
    EXPECT_EQ(show("[$-80A]mmmm", 45000), "marzo");  // Spanish of Mexico
    EXPECT_EQ(show("dddd", 45000, kComma), "mi\xC3\xA9rcoles");  // no tag: the reader's language
    EXPECT_EQ(show("[$-407]mmmm", 45000), "March");  // a language without names here keeps the reader's
    EXPECT_EQ(show("[$\xE2\x82\xAC-C0A]#,##0.00", 5), "\xE2\x82\xAC" "5.00");
}

TEST(NumberFormatDisplay, PercentScientificAndThousandsScaling) {
    EXPECT_EQ(show("0%", 0.256), "26%");
    EXPECT_EQ(show("0.00%", 0.07), "7.00%");
    EXPECT_EQ(show("0.0%", -0.0125), "-1.3%");
    EXPECT_EQ(NumberFormat::parse("0,00%", kSpanish).display(0.5, kComma), "50,00%");

    EXPECT_EQ(show("0.00E+00", 12345), "1.23E+04");
    EXPECT_EQ(show("0.00E+00", 0.00012345), "1.23E-04");
    EXPECT_EQ(show("0.00E-00", 12345), "1.23E04");
    EXPECT_EQ(show("0.00E+00", 0), "0.00E+00");
    EXPECT_EQ(show("0.00E+00", 999900), "1.00E+06");
    EXPECT_EQ(show("0.00E+00", -12345), "-1.23E+04");
    EXPECT_EQ(show("##0.0E+0", 12345), "12.3E+3");
    EXPECT_EQ(show("##0.0E+0", 0.0123), "12.3E-3");
    EXPECT_EQ(show("00.00E+00", 12345), "12.35E+03");
    EXPECT_EQ(show("0.0E+0", 1e100), "1.0E+100");
    EXPECT_EQ(NumberFormat::parse("0,00E+00", kSpanish).display(12345, kComma), "1,23E+04");

    EXPECT_EQ(show("#,##0,", 1234567), "1,235");
    EXPECT_EQ(show("0.0,,", 1234567), "1.2");
    EXPECT_EQ(show("#,##0.0,,\" M\"", 2500000), "2.5 M");
    EXPECT_EQ(NumberFormat::parse("#.##0.", kSpanish).display(1234567, kComma), "1.235");
}

TEST(NumberFormatDisplay, CurrencyCodes) {
    EXPECT_EQ(NumberFormat::parse("#.##0,00 \"€\"", kSpanish).display(1234.5, kComma), "1.234,50 €");
    EXPECT_EQ(NumberFormat::parse("\"€\" #.##0,00", kSpanish).display(1234.5, kComma), "€ 1.234,50");
    EXPECT_EQ(NumberFormat::parse("#.##0,00 [$€-C0A]", kSpanish).display(1234.5, kComma), "1.234,50 €");
    EXPECT_EQ(show("[$$-409]#,##0.00", 1234.5), "$1,234.50");
    EXPECT_EQ(show("[$-C0A]0.00", 1.5), "1.50");
    EXPECT_EQ(show("[$USD] 0", 3), "USD 3");
    EXPECT_EQ(show("#,##0.00 \"€\";[Red]-#,##0.00 \"€\"", -1234.5), "-1,234.50 €");
    EXPECT_EQ(show("#,##0.00 €", 2), "2.00 €");  // a bare symbol is a literal

    // Accounting layout: "_-" keeps the room of a minus sign, "* " fills the cell.
    const NumberFormat accounting = NumberFormat::parse("_-* #,##0.00 \"€\"_-;-* #,##0.00 \"€\"_-", kEnglish);
    EXPECT_EQ(accounting.display(1234.5, kComma), " 1.234,50 € ");
    EXPECT_EQ(accounting.displayForFit(1234.5, kComma), "-1.234,50 €-");
    EXPECT_EQ(accounting.display(-1234.5, kComma), "-1.234,50 € ");
}

TEST(NumberFormatDisplay, FitTextKeepsTheRoomOfPaddingAndQuestionMarks) {
    const NumberFormat f = NumberFormat::parse("#,##0_);(#,##0)", kEnglish);
    EXPECT_EQ(f.display(1234, kPoint), "1,234 ");
    EXPECT_EQ(f.displayForFit(1234, kPoint), "1,234)");
    EXPECT_EQ(f.display(-1234, kPoint), "(1,234)");
    EXPECT_EQ(NumberFormat::parse("??0.0?", kEnglish).displayForFit(2.5, kPoint), "002.50");
    EXPECT_EQ(NumberFormat::parse("**0", kEnglish).displayForFit(5, kPoint), "5");
    EXPECT_EQ(NumberFormat::parse("@_)", kEnglish).displayTextForFit("ab"), "ab)");
}

TEST(NumberFormatDates, CalendarDates) {
    EXPECT_EQ(show("yyyy-mm-dd", 45292), "2024-01-01");
    EXPECT_EQ(show("dd/mm/yyyy", 45350), "28/02/2024");
    EXPECT_EQ(show("d/m/yy", 45351), "29/2/24");
    EXPECT_EQ(show("d-mmm-yy", 45292), "1-Jan-24");
    EXPECT_EQ(show("dddd, mmmm d, yyyy", 45292), "Monday, January 1, 2024");
    EXPECT_EQ(show("ddd mmmmm", 45292), "Mon J");
    EXPECT_EQ(show("dddd, d \"de\" mmmm \"de\" yyyy", 45292, kComma), "lunes, 1 de enero de 2024");
    EXPECT_EQ(show("ddd d mmm", 45296, kComma), "vie 5 ene");
    EXPECT_EQ(NumberFormat::parse("DD.MM.YYYY", 0x0407).display(45292, kComma), "01.01.2024");
    EXPECT_EQ(show("yyyy-mm-dd", 2958465), "9999-12-31");
    EXPECT_TRUE(NumberFormat::parse("dd/mm/yyyy", kEnglish).isDateTime());
    EXPECT_FALSE(NumberFormat::parse("0.00", kEnglish).isDateTime());
}

TEST(NumberFormatDates, SerialsOfTheNineteenHundredSystem) {
    EXPECT_EQ(show("yyyy-mm-dd", 1), "1900-01-01");
    EXPECT_EQ(show("yyyy-mm-dd", 59), "1900-02-28");
    EXPECT_EQ(show("yyyy-mm-dd", 60), "1900-02-29");  // the spreadsheet's phantom leap day
    EXPECT_EQ(show("yyyy-mm-dd", 61), "1900-03-01");
    EXPECT_EQ(show("yyyy-mm-dd", 0), "1900-01-00");
    EXPECT_EQ(show("yyyy-mm-dd", 36526), "2000-01-01");
    EXPECT_EQ(show("dddd", 61), "Thursday");
    EXPECT_EQ(show("dddd", 1), "Sunday");
    EXPECT_EQ(show("yyyy-mm-dd", -1), "########");
    EXPECT_EQ(show("yyyy-mm-dd", 2958466), "########");
    EXPECT_EQ(show("yyyy-mm-dd", std::numeric_limits<double>::infinity()), "#NUM!");
}

TEST(NumberFormatDates, TimesAndElapsedTime) {
    EXPECT_EQ(show("h:mm AM/PM", 0.75), "6:00 PM");
    EXPECT_EQ(show("h:mm am/pm", 0.25), "6:00 am");
    EXPECT_EQ(show("hh:mm A/P", 0), "12:00 A");
    EXPECT_EQ(show("hh:mm:ss", 0.5 + 1.4 / 86400), "12:00:01");
    EXPECT_EQ(show("hh:mm:ss", 0.99999999), "00:00:00");  // rounds into the next day
    EXPECT_EQ(show("hh:mm", 0.5 + 59.6 / 86400), "12:01");
    EXPECT_EQ(show("mm:ss.00", 75.127 / 86400), "01:15.13");
    EXPECT_EQ(show("mm:ss.0", 75.127 / 86400, kComma), "01:15,1");
    EXPECT_EQ(show("[h]:mm", 1.5), "36:00");
    EXPECT_EQ(show("[mm]:ss", 1.0 / 24), "60:00");
    EXPECT_EQ(show("[ss]", 0.5), "43200");
    // "m" is minutes after hours or before seconds, months elsewhere.
    EXPECT_EQ(show("m/d/yyyy h:mm", 45292.5 + 5.0 / 1440), "1/1/2024 12:05");
    EXPECT_EQ(show("m:ss", 61.0 / 86400), "1:01");
    EXPECT_EQ(show("h \"h\" m", 45292 + 3.0 / 24 + 7.0 / 1440), "3 h 7");
}

TEST(NumberFormatGeneral, ElevenCharactersLikeTheSpreadsheet) {
    const NumberFormat g = NumberFormat::general();
    EXPECT_EQ(g.display(1234.5, kComma), "1234,5");
    EXPECT_EQ(g.display(1234.5, kPoint), "1234.5");
    EXPECT_EQ(g.display(1e20, kPoint), "1E+20");
    EXPECT_EQ(g.display(0.1 + 0.2, kComma), "0,3");
    EXPECT_EQ(g.display(0, kPoint), "0");
    EXPECT_EQ(g.display(-1.5, kPoint), "-1.5");
    EXPECT_EQ(g.display(12345678901.0, kPoint), "12345678901");
    EXPECT_EQ(g.display(123456789012.0, kPoint), "1.23457E+11");
    EXPECT_EQ(g.display(99999999999.5, kPoint), "1E+11");
    EXPECT_EQ(g.display(1234567890.123, kPoint), "1234567890");
    EXPECT_EQ(g.display(1.0 / 3, kPoint), "0.333333333");
    EXPECT_EQ(g.display(2.0 / 3, kPoint), "0.666666667");
    EXPECT_EQ(g.display(123.456789012, kPoint), "123.456789");
    EXPECT_EQ(g.display(0.0001, kPoint), "0.0001");
    EXPECT_EQ(g.display(0.00001, kPoint), "0.00001");
    EXPECT_EQ(g.display(1.23456789e-7, kPoint), "1.23457E-07");
    EXPECT_EQ(g.display(1e-300, kPoint), "1E-300");
    EXPECT_EQ(g.display(-1e300, kPoint), "-1E+300");
    EXPECT_EQ(g.display(std::nan(""), kPoint), "#NUM!");
    EXPECT_EQ(show("General;-General", -2.5), "-2.5");
    EXPECT_EQ(show("\"Total: \"General", 0.5), "Total: 0.5");
}

// General takes a shortcut for numbers with a short exact form; it must show exactly what the
// rounding from 15 digits shows, at every boundary of the eleven characters.
TEST(NumberFormatGeneral, TheShortcutShowsWhatTheRoundingShows) {
    std::mt19937_64 random(20261207);
    auto check = [](double magnitude) {
        ASSERT_EQ(numfmt::generalText(magnitude, kComma), numfmt::roundedGeneralText(magnitude, kComma)) << magnitude;
    };
    for (double edge : {1.0, 9.999999999, 10.0, 0.1, 0.0001, 0.00009999, 0.000123456789, 0.123456789, 0.1234567891,
                        1234567890.5, 12345678901.0, 99999999999.0, 99999999999.5, 100000000000.0, 0.30000000000000004,
                        2.675, 1e-5, 5e-324, 1.7976931348623157e308})
        check(edge);
    std::uniform_int_distribution<std::int64_t> cents(0, 10'000'000'000LL);
    std::uniform_int_distribution<int> scale(0, 12);
    std::uniform_int_distribution<std::uint64_t> bits;
    for (int i = 0; i < 200'000; ++i) {
        // Report-like values (whole units, cents, a few decimals), then any double at all.
        check(static_cast<double>(cents(random)) / std::pow(10.0, scale(random)));
        double any;
        const std::uint64_t b = bits(random) & 0x7FFF'FFFF'FFFF'FFFFULL;
        std::memcpy(&any, &b, sizeof any);
        if (std::isfinite(any) && any > 0) check(any);
        check(std::ldexp(static_cast<double>(bits(random) >> 11), -static_cast<int>(bits(random) % 80)));
    }
}

TEST(NumberFormatErrors, MalformedCodesAreRefusedWithCodeAndPosition) {
    auto expectRefused = [](std::string_view code, std::string_view problem, int position,
                            tabulix::automation::Lcid lcid = kEnglish) {
        const std::string message = refusal(code, lcid);
        // The code as messages show values: shortened when long.
        EXPECT_NE(message.find("\"" + tabulix::framework::printable(code) + "\""), std::string::npos) << message;
        EXPECT_NE(message.find(problem), std::string::npos) << message;
        EXPECT_NE(message.find("position " + std::to_string(position)), std::string::npos) << message;
    };
    expectRefused("0.00 \"abc", "unterminated quoted text", 6);
    expectRefused("0;0;0;0;0", "more than four sections", 8);
    expectRefused("[Blu]0", "unknown code in brackets", 1);
    expectRefused("0[Red", "unterminated bracket", 2);
    expectRefused("0[Re[d]", "unterminated bracket", 2);
    expectRefused("[]0", "unknown code in brackets", 1);
    expectRefused("[Color99]0", "colour number", 1);
    expectRefused("[>abc]0", "needs a number", 1);
    expectRefused("[>1][<5]0", "second condition", 5);
    expectRefused("0\\", "backslash", 2);
    expectRefused("0_", "'_'", 2);
    expectRefused("0*", "'*'", 2);
    expectRefused("@;0", "last section", 1);
    expectRefused("€€\"x", "unterminated quoted text", 3);  // positions count characters, not bytes
    expectRefused("[>1.5]0", "unexpected '.'", 4, kSpanish);
    expectRefused(std::string(256, '0'), "longer than 255", 256);
    EXPECT_NE(refusal(std::string("0\x01", 2)).find("control character"), std::string::npos);
    EXPECT_NE(refusal("0\xC3(").find("invalid UTF-8"), std::string::npos);
    EXPECT_EQ(refusal(std::string(255, '0')), "");
    EXPECT_EQ(refusal(";;;"), "");
}
