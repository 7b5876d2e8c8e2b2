#pragma once
/// @file
/// The framework's standard text-to-number conversions. A text that is not a number raises
/// EConvertError with the framework's message, e.g. "'AB' is not a valid integer value".

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "framework/export.h"

namespace tabulix::framework {

/// @brief A text that is not a number: "'AB' is not a valid integer value".
/// @threads Thrown on the thread of the failed call.
class TABULIX_API EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// Decimal (optionally signed, leading blanks allowed) or "$"/"0x" hexadecimal, 32-bit range.
TABULIX_API std::int32_t StrToInt(std::string_view text);
/// As StrToInt, giving `fallback` instead of raising.
TABULIX_API std::int32_t StrToIntDef(std::string_view text, std::int32_t fallback);

}  // namespace tabulix::framework
