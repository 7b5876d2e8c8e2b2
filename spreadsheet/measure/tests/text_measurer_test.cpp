#include "spreadsheet/measure/text_measurer.h"

#include <cmath>
#include <fstream>
#include <limits>
#include <string>

#include <gtest/gtest.h>

using namespace tabulix::spreadsheet;

namespace {

const FontSpec kCalibri{"Calibri", 11.0};

}  // namespace

TEST(TextMeasurer, DefaultWorkbookFontHasTheSpreadsheetsDigitWidth) {
    TextMeasurer m;
    EXPECT_EQ(m.maxDigitWidthPixels(kCalibri), 7.0);
    EXPECT_EQ(m.maxDigitWidthPixels(FontSpec{"Carlito", 11.0}), 7.0);
    EXPECT_EQ(m.maxDigitWidthPixels(FontSpec{"Calibri", 11.0, true}), 7.0);  // digits keep their width in bold
    EXPECT_NE(m.fontFileFor(kCalibri).find("Carlito"), std::string::npos);
    EXPECT_EQ(m.widthPixels("0000000000", kCalibri), 70.0);
}

TEST(TextMeasurer, WidthsGrowWithTextSizeAndWeight) {
    TextMeasurer m;
    const std::string text = "Importe total del mes";
    double previous = 0.0;
    for (std::size_t n = 1; n <= text.size(); ++n) {
        const double w = m.widthPixels(text.substr(0, n), kCalibri);
        EXPECT_GE(w, previous) << n;
        previous = w;
    }
    EXPECT_GT(m.widthPixels("ab", kCalibri), m.widthPixels("a", kCalibri));
    EXPECT_EQ(m.widthPixels("", kCalibri), 0.0);

    EXPECT_GT(m.widthPixels(text, FontSpec{"Calibri", 11.0, true}), m.widthPixels(text, kCalibri));
    EXPECT_GT(m.widthPixels(text, FontSpec{"Calibri", 14.0}), m.widthPixels(text, kCalibri));
    EXPECT_LT(m.widthPixels(text, FontSpec{"Calibri", 8.0}), m.widthPixels(text, kCalibri));
    EXPECT_GT(m.widthPixels("WWW", kCalibri), m.widthPixels("iii", kCalibri));
}

TEST(TextMeasurer, TextDetails) {
    TextMeasurer m;
    // The widest line of several; control characters take no room.
    EXPECT_EQ(m.widthPixels("short\nmuch longer line\nmid", kCalibri), m.widthPixels("much longer line", kCalibri));
    EXPECT_EQ(m.widthPixels("a\tb", kCalibri), m.widthPixels("ab", kCalibri));
    // Accented letters are measured as single characters, and malformed bytes still take room.
    EXPECT_GT(m.widthPixels("Gráfico", kCalibri), m.widthPixels("Grfico", kCalibri));
    EXPECT_LT(m.widthPixels("é", kCalibri), 2 * m.widthPixels("e", kCalibri) + 1);
    EXPECT_GT(m.widthPixels("\xFF\xFE", kCalibri), 0.0);
    // A character the font lacks is measured in DejaVu Sans, which has it (Carlito has no stars).
    EXPECT_EQ(m.widthPixels("\u2605", kCalibri), m.widthPixels("\u2605", FontSpec{"DejaVu Sans", 11.0}));
    EXPECT_EQ(m.widthPixels("a\u2605a", kCalibri), 2 * m.widthPixels("a", kCalibri) + m.widthPixels("\u2605", kCalibri));
}

TEST(TextMeasurer, FontsThatDoNotExistFallBackAndNeverFail) {
    TextMeasurer m;
    const FontSpec unknown{"No Such Font Family 12345", 11.0};
    EXPECT_FALSE(m.fontFileFor(unknown).empty());
    EXPECT_GT(m.widthPixels("Hola", unknown), 0.0);
    EXPECT_GT(m.maxDigitWidthPixels(unknown), 0.0);
    for (const char* windowsFont : {"Tahoma", "MS Sans Serif", "Arial", ""}) {
        EXPECT_GT(m.widthPixels("Hola", FontSpec{windowsFont, 10.0}), 0.0) << windowsFont;
    }
    // Sizes outside what a cell can have are taken as the nearest possible size.
    EXPECT_EQ(m.widthPixels("Hola", FontSpec{"Calibri", -3.0}), m.widthPixels("Hola", FontSpec{"Calibri", 1.0}));
    EXPECT_EQ(m.widthPixels("Hola", FontSpec{"Calibri", 1e9}), m.widthPixels("Hola", FontSpec{"Calibri", 409.0}));
    EXPECT_GT(m.widthPixels("Hola", FontSpec{"Calibri", std::numeric_limits<double>::quiet_NaN()}), 0.0);
    // Measurers are independent of each other.
    TextMeasurer other;
    EXPECT_EQ(other.widthPixels("Hola", kCalibri), m.widthPixels("Hola", kCalibri));
}

TEST(ColumnWidth, DefaultWidthIsSixtyFourPixels) {
    EXPECT_EQ(columnPixelsForWidth(8.43, 7), 64);
    EXPECT_DOUBLE_EQ(columnWidthForPixels(64 - kCellPaddingPixels, 7), 8.43);
    EXPECT_DOUBLE_EQ(fileColumnWidth(8.43, 7), 9.140625);
    EXPECT_EQ(columnPixelsForWidth(0, 7), 0);
    EXPECT_EQ(columnPixelsForWidth(1, 7), 12);
    EXPECT_EQ(columnPixelsForWidth(0.5, 7), 6);
    EXPECT_EQ(columnWidthForPixels(0, 7), 0.0);
    EXPECT_EQ(columnWidthForPixels(-5, 7), 0.0);
    EXPECT_EQ(columnWidthForPixels(std::nan(""), 7), 0.0);
    EXPECT_EQ(columnWidthForPixels(1e12, 7), kMaxColumnWidthChars);
    EXPECT_DOUBLE_EQ(columnWidthForPixels(59, 0), 8.43);  // an unusable digit width counts as 7
}

TEST(ColumnWidth, FittedColumnsHoldTheirTextWithoutWaste) {
    for (const double mdw : {5.0, 6.0, 7.0, 8.0, 9.0, 11.0, 14.0}) {
        // Up to the widest column there is (255 characters).
        for (int text = 1; text <= kMaxColumnWidthChars * mdw; ++text) {
            const double width = columnWidthForPixels(text - 0.25, mdw);
            const int pixels = columnPixelsForWidth(width, mdw);
            ASSERT_GE(pixels, text + kCellPaddingPixels) << "mdw " << mdw << ", text " << text;
            if (width >= 1.0) {
                ASSERT_LE(pixels, text + kCellPaddingPixels + 1) << "mdw " << mdw << ", text " << text;
                ASSERT_DOUBLE_EQ(std::round(width * 100) / 100, width);
            }
            // The spreadsheet reads the stored width back as the same pixels.
            const double stored = fileColumnWidth(width, mdw);
            if (width >= 1.0) {
                const int read = static_cast<int>(std::trunc((256 * stored + std::trunc(128 / mdw)) / 256 * mdw));
                ASSERT_EQ(read, pixels) << "mdw " << mdw << ", text " << text;
            }
        }
    }
}

namespace {
// Under AddressSanitizer freed memory waits in its quarantine, so resident memory says nothing
// about what the code keeps.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

// Resident memory of this process in KiB, from /proc (0 where there is none).
long residentKib() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}
}  // namespace

// A workbook may name thousands of fonts that all come to the same file: the file is loaded once,
// not once a name (a face costs tens of KiB).
TEST(TextMeasurer, ManyFontNamesOfOneFileShareIt) {
    TextMeasurer m;
    const double expected = m.widthPixels("Importe", FontSpec{"Sin Fuente 0", 11.0});
    const long before = residentKib();
    for (int i = 1; i < 2000; ++i) {
        ASSERT_EQ(m.widthPixels("Importe", FontSpec{"Sin Fuente " + std::to_string(i), 11.0}), expected);
    }
    if (kAddressSanitizer) GTEST_SKIP() << "resident memory not bounded under AddressSanitizer (quarantine and shadow memory)";
    if (before > 0) EXPECT_LT(residentKib() - before, 20 * 1024);
}
