#pragma once
/// @file
/// The process-wide regional settings that number formats use (the framework's CurrencyString,
/// CurrencyFormat, ... globals), and the user's default locale identifier.
///
/// Both come from the operating system's locale for the user: the first of the environment
/// variables LC_ALL, LC_MONETARY (LC_NUMERIC for the separators and the locale identifier) and
/// LANG that is set. Where that gives nothing (unset, "C", "POSIX", "C.UTF-8", or a locale that
/// is not installed), the settings are those of Spanish (Spain): "€" after the amount with a
/// space (CurrencyFormat 3), 2 decimals, decimal separator ",", thousands separator ".", and
/// locale identifier 0x0C0A.

#include <cstdint>
#include <string>
#include <string_view>

#include "framework/export.h"

namespace tabulix::framework {

/// @brief The regional settings number formats use: the currency symbol and its place, the
/// decimals of amounts, the separators.
/// @threads A value; Currency() returns a copy of the process's settings.
struct TABULIX_API CurrencySettings {
    std::string CurrencyString = "\u20AC";  ///< the currency symbol, UTF-8
    /// Placement of the symbol: 0 "€1", 1 "1€", 2 "€ 1", 3 "1 €".
    int CurrencyFormat = 3;
    /// The decimals of an amount.
    int CurrencyDecimals = 2;
    /// The decimal separator.
    std::string DecimalSeparator = ",";
    /// The thousands separator.
    std::string ThousandSeparator = ".";

    /// Whether two settings are the same in every member.
    bool operator==(const CurrencySettings&) const = default;
};

/// The settings of the process, read from the user's locale at first use. Guarded: any thread
/// reads a consistent copy, and a program may set its own (its currency symbol, say) at any
/// time, which transfers started afterwards use.
TABULIX_API CurrencySettings Currency();
/// Replaces the settings of the process.
/// @param settings the new settings.
TABULIX_API void SetCurrency(CurrencySettings settings);

/// The settings of a named locale ("es_ES.UTF-8", "en_US", ...). Currency settings from
/// LC_MONETARY of that locale and separators from LC_NUMERIC; the Spanish fallback above where
/// the name is empty, C or POSIX, or the locale is not installed.
TABULIX_API CurrencySettings CurrencySettingsForLocale(const std::string& localeName);

/// The locale identifier of a locale name: es_ES -> 0x0C0A, en_US -> 0x0409, de_DE -> 0x0407,
/// fr_FR -> 0x040C, ... The encoding and modifier (".UTF-8", "@euro") are ignored and "-" may
/// stand for "_"; a language without a known territory takes the language's main locale
/// ("de" -> 0x0407). Empty, C, POSIX and unknown names give 0x0C0A.
TABULIX_API std::uint32_t LocaleIdFromName(std::string_view localeName);

/// The user's default locale identifier, from the environment as described above.
TABULIX_API std::uint32_t UserDefaultLocaleId();

/// The user's locale name for a category ("LC_MONETARY", "LC_NUMERIC"): LC_ALL, then the
/// category's variable, then LANG; empty when none is set.
TABULIX_API std::string UserLocaleName(const char* categoryVariable);

}  // namespace tabulix::framework
