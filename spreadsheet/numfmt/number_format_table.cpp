#include "spreadsheet/numfmt/number_format_table.h"

namespace tabulix::spreadsheet {

NumberFormatTable::NumberFormatTable() {
    formats_.push_back(NumberFormat::general());
    byCode_.emplace(formats_.back().fileCode(), kGeneral);
}

NumberFormatTable::Id NumberFormatTable::intern(const NumberFormat& format) {
    if (format.isGeneral()) return kGeneral;
    const auto [it, added] = byCode_.emplace(format.fileCode(), static_cast<Id>(formats_.size()));
    if (added) formats_.push_back(format);
    return it->second;
}

NumberFormatTable::Id NumberFormatTable::internFileCode(const std::string& code) {
    if (const auto it = byCode_.find(code); it != byCode_.end()) return it->second;
    const Id id = intern(NumberFormat::parse(code, automation::kLcidEnglishUS));
    byCode_.emplace(code, id);  // the code as given, when parsing wrote it differently
    return id;
}

namespace {

// The primary language of a locale identifier (its low ten bits).
unsigned language(automation::Lcid lcid) { return lcid & 0x3FF; }

constexpr unsigned kEnglish = 0x09;

}  // namespace

std::string dateFormatCode(automation::Lcid lcid, bool withTime) {
    if (lcid == automation::kLcidEnglishUS) return withTime ? "m/d/yyyy h:mm" : "m/d/yyyy";
    return withTime ? "dd/mm/yyyy h:mm" : "dd/mm/yyyy";
}

std::string currencyFormatCode(automation::Lcid lcid) {
    if (lcid == automation::kLcidEnglishUS) return "\"$\"#,##0.00";
    if (lcid == 0x0809) return "\"\xC2\xA3\"#,##0.00";  // English (United Kingdom): pound sign
    if (language(lcid) == kEnglish) return "\"$\"#,##0.00";
    // The euro after the amount, as the Spanish default (and the fallback) writes it.
    return "#,##0.00\\ \"\xE2\x82\xAC\"";
}

}  // namespace tabulix::spreadsheet
