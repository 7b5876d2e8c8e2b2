#pragma once
// Number formats as Calc keeps them. Every format is registered in the suite's system locale,
// which the session fixes to English: its notation is the file's, and the file gets no locale
// tag ("[$-409]") for it. Values that bring a format along (dates, amounts, Booleans) get the
// same format codes as in the embedded spreadsheet.

#include <string>

#include <com/sun/star/util/XNumberFormats.hpp>

#include "automation/dispatch.h"
#include "automation/variant.h"

namespace tabulix::office {

namespace css = com::sun::star;

// The format a value brings into a cell that still has the general format: none, Calc's Boolean
// format (which makes the file keep the cell as a Boolean), or a format code.
struct ImpliedFormat {
    enum class Kind { None, Boolean, Code };
    Kind kind = Kind::None;
    std::string code;  // Kind::Code: in the file's notation
    bool operator==(const ImpliedFormat&) const = default;
};

// The format `value` brings along, as the embedded spreadsheet gives it for the locale `lcid`:
// a date "dd/mm/yyyy" ("m/d/yyyy" in English (United States)), with " h:mm" when it has a time
// of day; an amount the locale's currency format.
ImpliedFormat impliedFormatOf(const automation::Variant& value, automation::Lcid lcid);

// The key of the format code `code` (file notation), registered when new. Raises
// css::util::MalformedNumberFormatException for a code Calc cannot read.
sal_Int32 formatKey(const css::uno::Reference<css::util::XNumberFormats>& formats, const std::string& code);

// The key of an implied format (not Kind::None).
sal_Int32 impliedFormatKey(const css::uno::Reference<css::util::XNumberFormats>& formats, const ImpliedFormat& implied);

}  // namespace tabulix::office
