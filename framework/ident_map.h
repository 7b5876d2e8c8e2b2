#pragma once
/// @file
/// Named integer values: how an integer property (a colour, a character set) can be written in
/// a form file by a constant name instead of a number.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "framework/export.h"

namespace tabulix::framework {

/// @brief A named integer value.
/// @threads A value.
struct TABULIX_API IdentEntry {
    /// The value.
    std::int64_t value;
    /// The constant's name.
    const char* name;
};

/// First name with that value; nullopt when none.
TABULIX_API std::optional<std::string> IdentOf(std::span<const IdentEntry> idents, std::int64_t value);
/// Value of a name, ignoring ASCII letter case; nullopt when none.
TABULIX_API std::optional<std::int64_t> ValueOfIdent(std::span<const IdentEntry> idents, std::string_view name);

}  // namespace tabulix::framework
