#include "spreadsheet/formula/clock.h"

#include <chrono>
#include <ctime>

namespace tabulix::spreadsheet::formula {

int dateSerial(int year, int month, int day) {
    using namespace std::chrono;
    const sys_days date{std::chrono::year{year} / std::chrono::month{static_cast<unsigned>(month)} /
                        std::chrono::day{static_cast<unsigned>(day)}};
    const sys_days epoch{std::chrono::year{1899} / December / 30};
    return static_cast<int>((date - epoch).count());
}

int SystemClock::todaySerial() const {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return dateSerial(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

}  // namespace tabulix::spreadsheet::formula
