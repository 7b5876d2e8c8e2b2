#include "framework/currency_settings.h"

#include <gtest/gtest.h>

#include <locale.h>

namespace fw = tabulix::framework;

namespace {
bool installed(const char* name) {
    locale_t loc = newlocale(LC_MONETARY_MASK, name, static_cast<locale_t>(0));
    if (loc == static_cast<locale_t>(0)) return false;
    freelocale(loc);
    return true;
}
}  // namespace

TEST(CurrencySettings, LocalesThatGiveNothingFallBackToSpanishSpain) {
    const fw::CurrencySettings spanish;
    EXPECT_EQ(spanish.CurrencyString, "\u20AC");
    EXPECT_EQ(spanish.CurrencyFormat, 3);
    EXPECT_EQ(spanish.CurrencyDecimals, 2);
    EXPECT_EQ(spanish.DecimalSeparator, ",");
    EXPECT_EQ(spanish.ThousandSeparator, ".");
    for (const char* name : {"", "C", "POSIX", "C.UTF-8", "C.utf8", "xx_NOWHERE.UTF-8"})
        EXPECT_EQ(fw::CurrencySettingsForLocale(name), spanish) << name;
}

TEST(CurrencySettings, InstalledLocalesGiveTheirOwnSettings) {
    if (!installed("en_US.UTF-8") || !installed("es_ES.UTF-8")) GTEST_SKIP() << "en_US/es_ES locales not installed";
    fw::CurrencySettings us = fw::CurrencySettingsForLocale("en_US.UTF-8");
    EXPECT_EQ(us.CurrencyString, "$");
    EXPECT_EQ(us.CurrencyFormat, 0);
    EXPECT_EQ(us.DecimalSeparator, ".");
    EXPECT_EQ(us.ThousandSeparator, ",");
    fw::CurrencySettings es = fw::CurrencySettingsForLocale("es_ES.UTF-8");
    EXPECT_EQ(es.CurrencyString, "\u20AC");
    EXPECT_EQ(es.CurrencyFormat, 3);
    EXPECT_EQ(es.DecimalSeparator, ",");
}

TEST(CurrencySettings, LocaleIdentifiersFromLocaleNames) {
    EXPECT_EQ(fw::LocaleIdFromName("es_ES.UTF-8"), 0x0C0Au);
    EXPECT_EQ(fw::LocaleIdFromName("en_US"), 0x0409u);
    EXPECT_EQ(fw::LocaleIdFromName("de_DE.UTF-8@euro"), 0x0407u);
    EXPECT_EQ(fw::LocaleIdFromName("fr-FR"), 0x040Cu);
    EXPECT_EQ(fw::LocaleIdFromName("ca_ES"), 0x0403u);
    EXPECT_EQ(fw::LocaleIdFromName("en_GB"), 0x0809u);
    EXPECT_EQ(fw::LocaleIdFromName("de"), 0x0407u);
    EXPECT_EQ(fw::LocaleIdFromName("de_BE"), 0x0407u);
    for (const char* none : {"", "C", "POSIX", "C.UTF-8", "xx_YY", "english"})
        EXPECT_EQ(fw::LocaleIdFromName(none), 0x0C0Au) << none;
}

TEST(CurrencySettings, ProcessSettingsAreWritable) {
    const fw::CurrencySettings saved = fw::Currency();
    fw::CurrencySettings pesetas = saved;
    pesetas.CurrencyString = "Pts";
    fw::SetCurrency(pesetas);
    EXPECT_EQ(fw::Currency().CurrencyString, "Pts");
    fw::SetCurrency(saved);
}
