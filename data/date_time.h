#pragma once
/// @file
/// Dates and times as the data sets carry them: automation dates (days since 1899-12-30, the
/// fraction is the time of day), read from and written as ISO text.

#include <optional>
#include <string>
#include <string_view>

#include "automation/variant.h"
#include "framework/export.h"

namespace tabulix::data {

struct TABULIX_API CivilDateTime {
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0, millisecond = 0;
};

TABULIX_API bool isValidDate(int year, int month, int day);
/// Whether a serial is a date of the years 100 to 9999, the range automation dates cover.
TABULIX_API bool isDateInRange(automation::Date date);
TABULIX_API automation::Date toAutomationDate(const CivilDateTime& value);
/// Raises EDatabaseError for a date out of range.
TABULIX_API CivilDateTime fromAutomationDate(automation::Date date);

/// "YYYY-MM-DD", optionally followed by "T" or " " and "HH:MM[:SS[.fff]]"; or "HH:MM[:SS]" alone
/// (a time of day on day 0). Surrounding blanks are allowed; anything else, including an
/// impossible date such as 2023-02-30, gives nothing.
TABULIX_API std::optional<automation::Date> parseIsoDateTime(std::string_view text);

TABULIX_API std::string formatIsoDate(automation::Date date);
TABULIX_API std::string formatIsoTime(automation::Date date);
/// The date alone when there is no time of day, else "YYYY-MM-DD HH:MM:SS".
TABULIX_API std::string formatIsoDateTime(automation::Date date);

}  // namespace tabulix::data
