#include "date_serial.h"

namespace tabulix::spreadsheet::numfmt {
namespace {

constexpr long kSerialOfUnixEpoch = 25569;  // 1970-01-01

// Proleptic Gregorian date of a count of days since 1970-01-01.
CivilDate civilFromDays(long z) {
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const long doe = z - era * 146097;
    const long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long mp = (5 * doy + 2) / 153;
    const long d = doy - (153 * mp + 2) / 5 + 1;
    const long m = mp < 10 ? mp + 3 : mp - 9;
    const long y = yoe + era * 400 + (m <= 2 ? 1 : 0);
    return {static_cast<int>(y), static_cast<int>(m), static_cast<int>(d)};
}

}  // namespace

CivilDate dateOfSerial(long serialDay) {
    if (serialDay <= 0) return {1900, 1, 0};
    if (serialDay == 60) return {1900, 2, 29};
    // Before the phantom leap day the serials run one day ahead of the real count.
    const long shift = serialDay < 60 ? 1 : 0;
    return civilFromDays(serialDay - kSerialOfUnixEpoch + shift);
}

int weekdayOfSerial(long serialDay) { return static_cast<int>((serialDay + 6) % 7); }

}  // namespace tabulix::spreadsheet::numfmt
