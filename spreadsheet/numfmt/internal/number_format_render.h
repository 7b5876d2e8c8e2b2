#pragma once
// Internal: the text of one section of a number format for a value.

#ifndef TABULIX_ROOM_NUMFMT
#error "an internal header of spreadsheet/numfmt/: outside it, include its public headers"
#endif

#include <string>
#include <string_view>

#include "spreadsheet/numfmt/number_format.h"
#include "number_format_model.h"

namespace tabulix::spreadsheet::numfmt {

// How the text is meant: to show it, or to measure the room a cell needs for it.
enum class Purpose { Show, Fit };

// What the spreadsheet shows in place of a date that has no calendar day (negative, past 9999).
inline constexpr std::string_view kNoDate = "########";

// General: at most 11 characters (sign aside), in scientific notation when the decimals would lose
// the number. magnitude is the absolute value.
std::string generalText(double magnitude, const NumberConventions& conventions);
// The same text, always worked out from the 15-digit rounding (generalText takes a shortcut for
// numbers with a short exact form); kept apart so that the two can be checked against each other.
std::string roundedGeneralText(double magnitude, const NumberConventions& conventions);

std::string numberSectionText(const Section& section, double magnitude, const NumberConventions& conventions,
                              Purpose purpose);
std::string fractionSectionText(const Section& section, double magnitude, const NumberConventions& conventions,
                                Purpose purpose);
// Writes the digit (or padding) for the placeholder at index among places placeholders, filled
// from the right; the leftmost placeholder also takes every digit that has no placeholder.
void placeDigit(std::string& out, const std::string& digits, int places, int index, char placeholder, bool grouping,
                char separator, Purpose purpose);
std::string dateSectionText(const Section& section, double serial, const NumberConventions& conventions,
                            Purpose purpose);
std::string textSectionText(const Section& section, std::string_view text, Purpose purpose);

}  // namespace tabulix::spreadsheet::numfmt
