#pragma once
// Internal: calendar dates of the spreadsheet's serial day numbers (1900 date system).
//
// Serial 1 is 1900-01-01. The spreadsheet counts a 29 February 1900 that never was (serial 60),
// so from serial 61 (1900-03-01) on, serials are days since 1899-12-30; serial 0 shows as the
// day before 1900-01-01, written 1900-01-00.

#ifndef TABULIX_ROOM_NUMFMT
#error "an internal header of spreadsheet/numfmt/: outside it, include its public headers"
#endif

namespace tabulix::spreadsheet::numfmt {

struct CivilDate {
    int year = 1900;
    int month = 1;
    int day = 0;
};

inline constexpr long kLastSerialDay = 2958465;  // 9999-12-31

// Date of a whole serial day, 0 to kLastSerialDay.
CivilDate dateOfSerial(long serialDay);
// Day of the week, 0 for Sunday, as the spreadsheet counts it (serial 1 is a Sunday).
int weekdayOfSerial(long serialDay);

}  // namespace tabulix::spreadsheet::numfmt
