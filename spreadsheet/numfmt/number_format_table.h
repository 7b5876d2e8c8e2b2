#pragma once
// The number formats used by a workbook's cells, each kept once; id 0 is General.

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "automation/dispatch.h"
#include "spreadsheet/numfmt/number_format.h"

namespace tabulix::spreadsheet {

class NumberFormatTable {
public:
    using Id = std::uint32_t;
    static constexpr Id kGeneral = 0;

    NumberFormatTable();
    Id intern(const NumberFormat& format);
    // The id of a code in the file's notation, parsed only the first time it is seen.
    Id internFileCode(const std::string& code);
    const NumberFormat& format(Id id) const { return formats_[id]; }
    std::size_t size() const { return formats_.size(); }

private:
    std::vector<NumberFormat> formats_;
    std::unordered_map<std::string, Id> byCode_;
};

// The formats a spreadsheet gives a cell that receives a date or a currency amount while its
// format is General, in the file's notation and following the caller's locale.
std::string dateFormatCode(automation::Lcid lcid, bool withTime);
std::string currencyFormatCode(automation::Lcid lcid);

}  // namespace tabulix::spreadsheet
