#include "data/date_time.h"

#include <cmath>
#include <cstdio>

#include "data/data_error.h"

namespace tabulix::data {

namespace {

constexpr double kMillisecondsPerDay = 86400000.0;

bool isLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

// Reads exactly `count` digits at `pos`, advancing it.
bool digits(std::string_view text, std::size_t& pos, int count, int& value) {
    if (pos + static_cast<std::size_t>(count) > text.size()) return false;
    value = 0;
    for (int i = 0; i < count; ++i) {
        const char c = text[pos + static_cast<std::size_t>(i)];
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    pos += static_cast<std::size_t>(count);
    return true;
}

bool parseTime(std::string_view text, std::size_t& pos, CivilDateTime& out) {
    if (!digits(text, pos, 2, out.hour) || pos >= text.size() || text[pos] != ':') return false;
    ++pos;
    if (!digits(text, pos, 2, out.minute)) return false;
    if (pos < text.size() && text[pos] == ':') {
        ++pos;
        if (!digits(text, pos, 2, out.second)) return false;
        if (pos < text.size() && text[pos] == '.') {
            ++pos;
            // Fractions finer than milliseconds are read and dropped.
            int scale = 100;
            const std::size_t start = pos;
            while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
                out.millisecond += (text[pos] - '0') * scale;
                scale /= 10;
                ++pos;
            }
            if (pos == start) return false;
        }
    }
    return out.hour < 24 && out.minute < 60 && out.second < 60;
}

}  // namespace

bool isValidDate(int year, int month, int day) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
    const int last = kDays[month - 1] + (month == 2 && isLeap(year) ? 1 : 0);
    return day <= last;
}

automation::Date toAutomationDate(const CivilDateTime& value) {
    const double days = value.year == 0 ? 0.0 : automation::Date::fromYmd(value.year, value.month, value.day).serial;
    const double time =
        ((value.hour * 60.0 + value.minute) * 60.0 + value.second) * 1000.0 + value.millisecond;
    // Before 1899-12-30 the serial's fraction still counts forward from midnight (OLE rule).
    return automation::Date{days < 0 ? days - time / kMillisecondsPerDay : days + time / kMillisecondsPerDay};
}

bool isDateInRange(automation::Date date) {
    // 0100-01-01 and 9999-12-31 23:59:59.999.
    return date.serial >= -657434.0 && date.serial < 2958466.0;
}

CivilDateTime fromAutomationDate(automation::Date date) {
    if (!isDateInRange(date))
        throw EDatabaseError("the date serial " + std::to_string(date.serial) + " lies outside the years 100 to 9999");
    CivilDateTime out;
    double whole = std::trunc(date.serial);
    double fraction = std::fabs(date.serial - whole);
    long long ms = std::llround(fraction * kMillisecondsPerDay);
    if (ms >= static_cast<long long>(kMillisecondsPerDay)) {
        ms = 0;
        whole += date.serial < 0 ? -1 : 1;
    }
    // Civil date from days since 1970-01-01 (proleptic Gregorian).
    long long z = static_cast<long long>(whole) - 25569 + 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    out.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    out.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    out.year = static_cast<int>(yoe + era * 400 + (out.month <= 2 ? 1 : 0));
    out.millisecond = static_cast<int>(ms % 1000);
    out.second = static_cast<int>(ms / 1000 % 60);
    out.minute = static_cast<int>(ms / 60000 % 60);
    out.hour = static_cast<int>(ms / 3600000);
    return out;
}

std::optional<automation::Date> parseIsoDateTime(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    CivilDateTime value;
    std::size_t pos = 0;
    if (text.size() >= 5 && text[2] == ':') {
        if (!parseTime(text, pos, value) || pos != text.size()) return std::nullopt;
        return toAutomationDate(value);
    }
    if (!digits(text, pos, 4, value.year) || pos >= text.size() || text[pos++] != '-' ||
        !digits(text, pos, 2, value.month) || pos >= text.size() || text[pos++] != '-' ||
        !digits(text, pos, 2, value.day) || !isValidDate(value.year, value.month, value.day))
        return std::nullopt;
    if (pos < text.size()) {
        if (text[pos] != 'T' && text[pos] != ' ') return std::nullopt;
        ++pos;
        if (!parseTime(text, pos, value)) return std::nullopt;
        if (pos < text.size() && text[pos] == 'Z') ++pos;
        if (pos != text.size()) return std::nullopt;
    }
    return toAutomationDate(value);
}

std::string formatIsoDate(automation::Date date) {
    const CivilDateTime v = fromAutomationDate(date);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", v.year, v.month, v.day);
    return buffer;
}

std::string formatIsoTime(automation::Date date) {
    const CivilDateTime v = fromAutomationDate(date);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d:%02d", v.hour, v.minute, v.second);
    return buffer;
}

std::string formatIsoDateTime(automation::Date date) {
    const CivilDateTime v = fromAutomationDate(date);
    if (v.hour == 0 && v.minute == 0 && v.second == 0 && v.millisecond == 0) return formatIsoDate(date);
    return formatIsoDate(date) + " " + formatIsoTime(date);
}

}  // namespace tabulix::data
