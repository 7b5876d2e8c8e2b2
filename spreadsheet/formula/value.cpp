#include "spreadsheet/formula/value.h"

#include <array>
#include <utility>

#include "spreadsheet/formula/number_text.h"
#include "spreadsheet/formula/text_rules.h"

namespace tabulix::spreadsheet::formula {

namespace {

constexpr std::array<std::pair<ErrorCode, std::string_view>, 7> kErrorTexts{{
    {ErrorCode::Null, "#NULL!"},
    {ErrorCode::Div0, "#DIV/0!"},
    {ErrorCode::Value, "#VALUE!"},
    {ErrorCode::Ref, "#REF!"},
    {ErrorCode::Name, "#NAME?"},
    {ErrorCode::Num, "#NUM!"},
    {ErrorCode::NA, "#N/A"},
}};

}  // namespace

std::string_view errorText(ErrorCode error) {
    for (const auto& [code, text] : kErrorTexts)
        if (code == error) return text;
    return "#VALUE!";
}

std::optional<ErrorCode> errorFromText(std::string_view text) {
    for (const auto& [code, name] : kErrorTexts)
        if (equalsIgnoringCase(text, name)) return code;
    return std::nullopt;
}

std::string Value::describe() const {
    switch (kind()) {
    case Kind::Empty: return "(empty)";
    case Kind::Number: return numberToText(number());
    case Kind::Text: return '"' + text() + '"';
    case Kind::Boolean: return boolean() ? "TRUE" : "FALSE";
    case Kind::Error: return std::string(errorText(error()));
    }
    return {};
}

}  // namespace tabulix::spreadsheet::formula
