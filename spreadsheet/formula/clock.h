#pragma once
// Today's date for TODAY(), injectable so that tests and reproducible runs can fix it.

namespace tabulix::spreadsheet::formula {

class Clock {
public:
    virtual ~Clock() = default;
    // Today as a spreadsheet date serial: days since 1899-12-30 (1 January 1900 is 2).
    virtual int todaySerial() const = 0;
};

// The local date of the machine.
class SystemClock : public Clock {
public:
    int todaySerial() const override;
};

// The date serial of a calendar date (proleptic Gregorian).
int dateSerial(int year, int month, int day);

}  // namespace tabulix::spreadsheet::formula
