#include "office/calc_number_formats.h"

#include <cmath>

#include <com/sun/star/lang/Locale.hpp>
#include <com/sun/star/util/NumberFormat.hpp>
#include <com/sun/star/util/XNumberFormatTypes.hpp>

#include "office/uno_text.h"

namespace tabulix::office {

using automation::VariantType;
using css::uno::Reference;

namespace {

constexpr automation::Lcid kEnglishUnitedKingdom = 0x0809;
constexpr unsigned kEnglish = 0x09;

bool english(automation::Lcid lcid) { return (lcid & 0x3FF) == kEnglish; }

std::string dateCode(automation::Lcid lcid, bool withTime) {
    if (lcid == automation::kLcidEnglishUS) return withTime ? "m/d/yyyy h:mm" : "m/d/yyyy";
    return withTime ? "dd/mm/yyyy h:mm" : "dd/mm/yyyy";
}

std::string currencyCode(automation::Lcid lcid) {
    if (lcid == kEnglishUnitedKingdom) return "\"\xC2\xA3\"#,##0.00";
    if (english(lcid)) return "\"$\"#,##0.00";
    return "#,##0.00\\ \"\xE2\x82\xAC\"";  // the euro after the amount
}

}  // namespace

ImpliedFormat impliedFormatOf(const automation::Variant& value, automation::Lcid lcid) {
    switch (value.type()) {
        case VariantType::Boolean: return {ImpliedFormat::Kind::Boolean, {}};
        case VariantType::Currency: return {ImpliedFormat::Kind::Code, currencyCode(lcid)};
        case VariantType::Date: {
            const double serial = value.toDouble();
            return {ImpliedFormat::Kind::Code, dateCode(lcid, serial != std::floor(serial))};
        }
        default: return {};
    }
}

sal_Int32 formatKey(const Reference<css::util::XNumberFormats>& formats, const std::string& code) {
    const css::lang::Locale system;  // empty: the suite's system locale
    const sal_Int32 key = formats->queryKey(toUno(code), system, false);
    return key >= 0 ? key : formats->addNew(toUno(code), system);
}

sal_Int32 impliedFormatKey(const Reference<css::util::XNumberFormats>& formats, const ImpliedFormat& implied) {
    if (implied.kind == ImpliedFormat::Kind::Boolean)
        return Reference<css::util::XNumberFormatTypes>(formats, css::uno::UNO_QUERY_THROW)
            ->getStandardFormat(css::util::NumberFormat::LOGICAL, css::lang::Locale());
    return formatKey(formats, implied.code);
}

}  // namespace tabulix::office
