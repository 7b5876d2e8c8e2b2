#include "framework/currency_settings.h"

#include <langinfo.h>
#include <locale.h>

#include <array>
#include <climits>
#include <cstdlib>
#include <mutex>

#include "framework/text_compare.h"

namespace tabulix::framework {

namespace {

struct LocaleId {
    const char* name;
    std::uint32_t id;
};

// Language-territory pairs; the first entry of each language is its main locale.
constexpr std::array<LocaleId, 62> kLocaleIds{{
    {"es_ES", 0x0C0A}, {"es_MX", 0x080A}, {"es_AR", 0x2C0A}, {"es_CO", 0x240A}, {"es_CL", 0x340A},
    {"es_PE", 0x280A}, {"es_VE", 0x200A}, {"es_US", 0x540A}, {"ca_ES", 0x0403}, {"eu_ES", 0x042D},
    {"gl_ES", 0x0456}, {"en_US", 0x0409}, {"en_GB", 0x0809}, {"en_AU", 0x0C09}, {"en_CA", 0x1009},
    {"en_NZ", 0x1409}, {"en_IE", 0x1809}, {"en_ZA", 0x1C09}, {"en_IN", 0x4009}, {"de_DE", 0x0407},
    {"de_CH", 0x0807}, {"de_AT", 0x0C07}, {"de_LU", 0x1007}, {"fr_FR", 0x040C}, {"fr_BE", 0x080C},
    {"fr_CA", 0x0C0C}, {"fr_CH", 0x100C}, {"fr_LU", 0x140C}, {"it_IT", 0x0410}, {"it_CH", 0x0810},
    {"pt_PT", 0x0816}, {"pt_BR", 0x0416}, {"nl_NL", 0x0413}, {"nl_BE", 0x0813}, {"da_DK", 0x0406},
    {"sv_SE", 0x041D}, {"sv_FI", 0x081D}, {"nb_NO", 0x0414}, {"nn_NO", 0x0814}, {"fi_FI", 0x040B},
    {"is_IS", 0x040F}, {"pl_PL", 0x0415}, {"cs_CZ", 0x0405}, {"sk_SK", 0x041B}, {"hu_HU", 0x040E},
    {"ro_RO", 0x0418}, {"bg_BG", 0x0402}, {"hr_HR", 0x041A}, {"sl_SI", 0x0424}, {"el_GR", 0x0408},
    {"tr_TR", 0x041F}, {"ru_RU", 0x0419}, {"uk_UA", 0x0422}, {"he_IL", 0x040D}, {"ar_SA", 0x0401},
    {"ja_JP", 0x0411}, {"ko_KR", 0x0412}, {"zh_CN", 0x0804}, {"zh_TW", 0x0404}, {"zh_HK", 0x0C04},
    {"th_TH", 0x041E}, {"vi_VN", 0x042A},
}};

constexpr std::uint32_t kSpanishSpain = 0x0C0A;

// "es_ES.UTF-8@euro" -> "es_ES"; "es-es" -> "es_ES" (letter case as the table has it).
std::string baseName(std::string_view name) {
    std::size_t end = name.find_first_of(".@");
    std::string base(name.substr(0, end));
    for (char& c : base)
        if (c == '-') c = '_';
    return base;
}

bool givesNothing(std::string_view name) {
    std::string base = baseName(name);
    return base.empty() || base == "C" || base == "POSIX";
}

}  // namespace

std::string UserLocaleName(const char* categoryVariable) {
    for (const char* variable : {"LC_ALL", categoryVariable, "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value) return value;
    }
    return {};
}

std::uint32_t LocaleIdFromName(std::string_view localeName) {
    if (givesNothing(localeName)) return kSpanishSpain;
    std::string base = baseName(localeName);
    for (const LocaleId& entry : kLocaleIds)
        if (sameText(entry.name, base)) return entry.id;
    std::string language = base.substr(0, base.find('_'));
    for (const LocaleId& entry : kLocaleIds)
        if (sameText(std::string_view(entry.name).substr(0, 2), language) && language.size() == 2) return entry.id;
    return kSpanishSpain;
}

std::uint32_t UserDefaultLocaleId() { return LocaleIdFromName(UserLocaleName("LC_NUMERIC")); }

CurrencySettings CurrencySettingsForLocale(const std::string& localeName) {
    CurrencySettings settings;
    if (givesNothing(localeName)) return settings;
    locale_t loc = newlocale(LC_MONETARY_MASK | LC_NUMERIC_MASK, localeName.c_str(), static_cast<locale_t>(0));
    if (loc == static_cast<locale_t>(0)) return settings;

    std::string symbol = nl_langinfo_l(CURRENCY_SYMBOL, loc);
    if (!symbol.empty()) {
        settings.CurrencyString = symbol;
        const char precedes = *nl_langinfo_l(P_CS_PRECEDES, loc);
        const char separated = *nl_langinfo_l(P_SEP_BY_SPACE, loc);
        const bool before = precedes == 1;
        const bool space = separated != CHAR_MAX && separated >= 1;
        settings.CurrencyFormat = (before ? 0 : 1) + (space ? 2 : 0);
        const char digits = *nl_langinfo_l(FRAC_DIGITS, loc);
        if (digits != CHAR_MAX && digits >= 0) settings.CurrencyDecimals = digits;
    }
    std::string decimal = nl_langinfo_l(RADIXCHAR, loc);
    if (!decimal.empty()) {
        settings.DecimalSeparator = decimal;
        settings.ThousandSeparator = nl_langinfo_l(THOUSEP, loc);
    }
    freelocale(loc);
    return settings;
}

namespace {
struct ProcessCurrency {
    std::mutex lock;
    CurrencySettings settings;
};

ProcessCurrency& processCurrency() {
    static ProcessCurrency instance = [] {
        CurrencySettings s = CurrencySettingsForLocale(UserLocaleName("LC_MONETARY"));
        CurrencySettings numeric = CurrencySettingsForLocale(UserLocaleName("LC_NUMERIC"));
        s.DecimalSeparator = numeric.DecimalSeparator;
        s.ThousandSeparator = numeric.ThousandSeparator;
        return ProcessCurrency{{}, std::move(s)};
    }();
    return instance;
}
}  // namespace

CurrencySettings Currency() {
    ProcessCurrency& p = processCurrency();
    const std::lock_guard<std::mutex> hold(p.lock);
    return p.settings;
}

void SetCurrency(CurrencySettings settings) {
    ProcessCurrency& p = processCurrency();
    const std::lock_guard<std::mutex> hold(p.lock);
    p.settings = std::move(settings);
}

}  // namespace tabulix::framework
