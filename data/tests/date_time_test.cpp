#include <gtest/gtest.h>

#include "data/date_time.h"

namespace tabulix::data {
namespace {

TEST(DateTime, IsoTextRoundTripsAndImpossibleDatesAreRefused) {
    const auto date = parseIsoDateTime("2024-02-29");
    ASSERT_TRUE(date);
    EXPECT_EQ(*date, automation::Date::fromYmd(2024, 2, 29));
    EXPECT_EQ(formatIsoDate(*date), "2024-02-29");
    EXPECT_EQ(formatIsoDateTime(*parseIsoDateTime(" 2024-03-15T23:59:59.5 ")), "2024-03-15 23:59:59");
    EXPECT_EQ(formatIsoDateTime(*parseIsoDateTime("1899-12-30 06:00")), "1899-12-30 06:00:00");
    EXPECT_EQ(formatIsoDateTime(*parseIsoDateTime("1800-01-01 12:00")), "1800-01-01 12:00:00");
    EXPECT_EQ(formatIsoTime(*parseIsoDateTime("08:15:30")), "08:15:30");
    for (const char* bad : {"2023-02-29", "2024-13-01", "2024-00-10", "2024-1-1", "24-01-01", "2024-01-01 25:00",
                            "2024-01-01x", "", "hoy", "2024-01-01 10:00:"})
        EXPECT_FALSE(parseIsoDateTime(bad)) << bad;
    EXPECT_TRUE(isValidDate(2000, 2, 29));
    EXPECT_FALSE(isValidDate(1900, 2, 29));
}

}  // namespace
}  // namespace tabulix::data
