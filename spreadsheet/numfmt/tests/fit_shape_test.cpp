// Numbers of one fit shape must show texts that differ only in their digits, or AutoFit, which
// measures one number per shape, would fit a column too narrow for the others.

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <map>
#include <random>
#include <string>

#include "spreadsheet/numfmt/number_format.h"

using namespace tabulix::spreadsheet;

namespace {

// The text with every digit replaced by '9': equal for texts of one shape.
std::string pattern(std::string text) {
    for (char& c : text)
        if (std::isdigit(static_cast<unsigned char>(c))) c = '9';
    return text;
}

}  // namespace

TEST(FitShape, NumbersOfOneShapeShowTheSameTextButForTheirDigits) {
    const char* codes[] = {"#,##0.00", "###,###,##0.00", "0", "0.000%", "#,##0.00 \"\xE2\x82\xAC\"",
                           "#,##0.00;[Red]-#,##0.00", "0.0;(0.0);\"cero\"", "#,##0,", "000000", "$#,##0_);($#,##0)"};
    std::mt19937_64 random(3);
    const NumberConventions conventions;
    for (const char* code : codes) {
        SCOPED_TRACE(code);
        const NumberFormat format = NumberFormat::parse(code, tabulix::automation::kLcidEnglishUS);
        std::map<std::uint32_t, std::string> seen;
        int shaped = 0;
        for (int i = 0; i < 20000; ++i) {
            // Magnitudes from 1e-4 to 1e12, both signs, many near the rounding edges.
            const double magnitude = std::pow(10.0, static_cast<double>(random() % 1600) / 100.0 - 4.0);
            double value = (random() % 2 ? -1 : 1) * magnitude;
            if (i % 4 == 0) value = std::round(value * 100.0) / 100.0 + (random() % 2 ? 0.005 : -0.005);
            if (i % 7 == 0) value = std::pow(10.0, static_cast<double>(random() % 8)) - 0.0005;
            const std::optional<std::uint32_t> shape = format.fitShape(value);
            if (!shape) continue;
            ++shaped;
            const std::string text = pattern(format.displayForFit(value, conventions));
            const auto [it, added] = seen.emplace(*shape, text);
            if (!added) {
                ASSERT_EQ(it->second, text) << "value " << value;
            }
        }
        EXPECT_GT(shaped, 5000);  // many numbers are shaped, or the cache would not help
    }
}

TEST(FitShape, FormatsWhoseWidthDependsOnMoreThanDigitsHaveNoShape) {
    const char* codes[] = {"General", "0.0#", "# ?/?", "0.00E+00", "dd/mm/yyyy", "[<0]\"neg\";0.00", "@", "0.??"};
    for (const char* code : codes) {
        const NumberFormat format = NumberFormat::parse(code, tabulix::automation::kLcidEnglishUS);
        EXPECT_FALSE(format.fitShape(1234.5).has_value()) << code;
    }
    const NumberFormat money = NumberFormat::parse("#,##0.00", tabulix::automation::kLcidEnglishUS);
    EXPECT_EQ(money.fitShape(1234.5), money.fitShape(8765.25));
    EXPECT_NE(money.fitShape(1234.5), money.fitShape(12345.5));
    EXPECT_NE(money.fitShape(1234.5), money.fitShape(-1234.5));
    EXPECT_FALSE(money.fitShape(999.999).has_value());  // rounds to 1,000.00
    EXPECT_FALSE(money.fitShape(0.004).has_value());
}
