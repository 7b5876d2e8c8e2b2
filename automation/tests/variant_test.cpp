#include <gtest/gtest.h>

#include "automation/automation_error.h"
#include "automation/variant.h"

using namespace tabulix::automation;

TEST(Variant, KindsKeepTheirType) {
    EXPECT_EQ(Variant().type(), VariantType::Empty);
    EXPECT_EQ(Variant::null().type(), VariantType::Null);
    EXPECT_EQ(Variant::missing().type(), VariantType::Missing);
    EXPECT_EQ(Variant(true).type(), VariantType::Boolean);
    EXPECT_EQ(Variant(std::int32_t{5}).type(), VariantType::Int32);
    EXPECT_EQ(Variant(std::int64_t{5}).type(), VariantType::Int64);
    EXPECT_EQ(Variant(2.5).type(), VariantType::Double);
    EXPECT_EQ(Variant(Currency{12345}).type(), VariantType::Currency);
    EXPECT_EQ(Variant(Date{1.0}).type(), VariantType::Date);
    EXPECT_EQ(Variant("x").type(), VariantType::Text);
    EXPECT_EQ(Variant(ErrorValue{7}).type(), VariantType::Error);
}

TEST(Variant, NumericConversions) {
    EXPECT_EQ(Variant("42").toInt32(), 42);
    EXPECT_DOUBLE_EQ(Variant(" 1.5 ").toDouble(), 1.5);
    EXPECT_EQ(Variant(2.5).toInt32(), 2);  // banker's rounding
    EXPECT_EQ(Variant(3.5).toInt32(), 4);
    EXPECT_EQ(Variant(true).toInt32(), -1);
    EXPECT_EQ(Variant().toInt32(), 0);
    EXPECT_THROW(Variant("abc").toDouble(), AutomationError);
    EXPECT_THROW(Variant("12abc").toInt32(), AutomationError);
    EXPECT_THROW(Variant(std::int64_t{1} << 40).toInt32(), AutomationError);
    EXPECT_THROW(Variant::null().toDouble(), AutomationError);
}

TEST(Variant, CurrencyIsFixedPointWithFourDecimals) {
    EXPECT_EQ(Currency::fromDouble(1234.5).scaled, 12345000);
    EXPECT_EQ(Currency::fromDouble(0.00005).scaled, 1);  // rounds half away from zero
    EXPECT_DOUBLE_EQ(Variant(Currency{12345000}).toDouble(), 1234.5);
    EXPECT_THROW(Currency::fromDouble(1e300), AutomationError);
}

TEST(Variant, DatesCountFromTheOleEpoch) {
    EXPECT_DOUBLE_EQ(Date::fromYmd(1899, 12, 30).serial, 0.0);
    EXPECT_DOUBLE_EQ(Date::fromYmd(1900, 3, 1).serial, 61.0);
    EXPECT_DOUBLE_EQ(Date::fromYmd(2026, 12, 7).serial, 46363.0);
}

TEST(Variant, TextUsesFifteenSignificantDigits) {
    EXPECT_EQ(Variant(0.1 + 0.2).toText(), "0.3");
    EXPECT_EQ(Variant(1e20).toText(), "1e+20");
    EXPECT_EQ(Variant(false).toText(), "False");
    EXPECT_EQ(Variant("Año").describe(), "Text(\"Año\")");
}
