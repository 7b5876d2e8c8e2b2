#include <gtest/gtest.h>

#include <climits>
#include <stdexcept>

#include "framework/color.h"
#include "framework/font.h"

namespace fw = tabulix::framework;

TEST(Font, DefaultsAreTheToolkitsAndSizeFollowsHeightAt96Dpi) {
    fw::TFont font;
    EXPECT_EQ(font.Name(), "MS Sans Serif");
    EXPECT_EQ(font.Height(), -11);
    EXPECT_EQ(font.Size(), 8);
    EXPECT_EQ(font.Color(), fw::clWindowText);
    EXPECT_TRUE(font.Style().Empty());
    EXPECT_EQ(font.Charset(), fw::DEFAULT_CHARSET);
    EXPECT_EQ(font.Pitch(), fw::fpDefault);

    // Character heights of 13, 16 and 27 pixels are 10, 12 and 20 points.
    for (auto [height, size] : {std::pair{-13, 10}, {-16, 12}, {-27, 20}, {-11, 8}, {-1, 1}, {0, 0}, {16, 12}, {27, 20}}) {
        font.SetHeight(height);
        EXPECT_EQ(font.Size(), size) << height;
    }
    for (auto [size, height] : {std::pair{8, -11}, {10, -13}, {12, -16}, {20, -27}, {9, -12}, {-12, 16}}) {
        font.SetSize(size);
        EXPECT_EQ(font.Height(), height) << size;
    }
}

// Heights and sizes stay where converting between them, or taking a height's absolute value,
// fits an int; the conversions themselves take any int without overflowing.
TEST(Font, HeightsAndSizesStayWhereTheirArithmeticFits) {
    fw::TFont font;
    font.SetHeight(-fw::kMaxFontHeight);
    EXPECT_EQ(font.Size(), fw::kMaxFontSize);
    font.SetSize(-fw::kMaxFontSize);
    EXPECT_EQ(font.Height(), fw::kMaxFontHeight);
    EXPECT_THROW(font.SetHeight(INT_MIN), std::out_of_range);
    EXPECT_THROW(font.SetHeight(fw::kMaxFontHeight + 1), std::out_of_range);
    EXPECT_THROW(font.SetSize(INT_MAX), std::out_of_range);
    EXPECT_EQ(font.Height(), fw::kMaxFontHeight) << "a refused value changes nothing";

    EXPECT_EQ(fw::FontSizeFromHeight(INT_MIN), 1610612736);
    EXPECT_EQ(fw::FontSizeFromHeight(INT_MAX), 1610612735);
    EXPECT_EQ(fw::FontHeightFromSize(INT_MAX), INT_MIN);
    EXPECT_EQ(fw::FontHeightFromSize(INT_MIN), INT_MAX);
}

TEST(Font, AssignCopiesEveryAttributeAndTellsListeners) {
    fw::TFont source;
    source.SetName("Tahoma");
    source.SetHeight(-27);
    source.SetColor(fw::clTeal);
    source.SetStyle({fw::fsBold, fw::fsItalic});
    source.SetCharset(fw::ANSI_CHARSET);
    source.SetPitch(fw::fpFixed);
    int changes = 0;
    fw::TFont target;
    target.OnChange = [&] { ++changes; };
    target.Assign(source);
    EXPECT_TRUE(target.SameAs(source));
    EXPECT_EQ(changes, 1);
    target.SetColor(fw::clTeal);
    EXPECT_EQ(changes, 1);  // no change, no notice
    target.SetColor(fw::clRed);
    EXPECT_EQ(changes, 2);
    EXPECT_FALSE(target.SameAs(source));
    EXPECT_TRUE(target.Style().Contains(fw::fsBold));
    EXPECT_FALSE(target.Style().Contains(fw::fsUnderline));
}

TEST(Color, ConstantsNamesAndNumbers) {
    EXPECT_EQ(fw::clWindowText, static_cast<fw::TColor>(0x80000008u));
    EXPECT_EQ(fw::clBtnFace, static_cast<fw::TColor>(0x8000000Fu));
    EXPECT_EQ(fw::RGB(192, 192, 192), fw::clSilver);
    EXPECT_EQ(fw::RGB(0, 128, 128), fw::clTeal);
    EXPECT_EQ(fw::RGB(128, 0, 128), fw::clPurple);
    EXPECT_TRUE(fw::IsSystemColor(fw::clWindowText));
    EXPECT_FALSE(fw::IsSystemColor(fw::clWhite));

    EXPECT_EQ(fw::ColorToString(fw::clSilver), "clSilver");
    EXPECT_EQ(fw::ColorToString(fw::clWindowText), "clWindowText");
    EXPECT_EQ(fw::ColorToString(0x123456), "1193046");
    EXPECT_EQ(fw::StringToColor("CLSILVER"), fw::clSilver);
    EXPECT_EQ(fw::StringToColor("1193046"), 0x123456);
    EXPECT_EQ(fw::StringToColor("$80000008"), fw::clWindowText);
    EXPECT_EQ(fw::StringToColor("-2147483640"), fw::clWindowText);
    EXPECT_THROW(fw::StringToColor("clPink"), std::invalid_argument);
    EXPECT_THROW(fw::StringToColor("$1FFFFFFFF"), std::invalid_argument);
    EXPECT_THROW(fw::StringToColor(""), std::invalid_argument);
    for (const fw::IdentEntry& e : fw::ColorIdents())
        EXPECT_EQ(fw::StringToColor(fw::ColorToString(static_cast<fw::TColor>(e.value))), e.value) << e.name;
}
