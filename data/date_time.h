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

/// @brief A date and time by its parts.
/// @threads A value.
struct TABULIX_API CivilDateTime {
    int year = 0;         ///< The year.
    int month = 0;        ///< The month, 1 to 12.
    int day = 0;          ///< The day of the month, 1 to 31.
    int hour = 0;         ///< The hour, 0 to 23.
    int minute = 0;       ///< The minute, 0 to 59.
    int second = 0;       ///< The second, 0 to 59.
    int millisecond = 0;  ///< The millisecond, 0 to 999.
};

/// Whether a day exists (in the proleptic Gregorian calendar).
/// @param year the year.
/// @param month the month.
/// @param day the day.
TABULIX_API bool isValidDate(int year, int month, int day);
/// Whether a serial is a date of the years 100 to 9999, the range automation dates cover.
/// @param date the date.
TABULIX_API bool isDateInRange(automation::Date date);
/// The automation date of a date and time.
/// @param value the parts.
TABULIX_API automation::Date toAutomationDate(const CivilDateTime& value);
/// The parts of an automation date.
/// @param date the date.
/// @throws EDatabaseError for a date outside the years 100 to 9999.
TABULIX_API CivilDateTime fromAutomationDate(automation::Date date);

/// Reads "YYYY-MM-DD", optionally followed by "T" or " " and "HH:MM[:SS[.fff]]", or "HH:MM[:SS]"
/// alone (a time of day on day 0). Surrounding blanks are allowed.
/// @param text the text.
/// @return the date, or nothing for any other text, including an impossible date (2023-02-30).
TABULIX_API std::optional<automation::Date> parseIsoDateTime(std::string_view text);

/// "YYYY-MM-DD".
/// @param date the date.
TABULIX_API std::string formatIsoDate(automation::Date date);
/// "HH:MM:SS".
/// @param date the date, of which the time of day is written.
TABULIX_API std::string formatIsoTime(automation::Date date);
/// The date alone when there is no time of day, else "YYYY-MM-DD HH:MM:SS".
/// @param date the date.
TABULIX_API std::string formatIsoDateTime(automation::Date date);

}  // namespace tabulix::data
