// Decimal marks and thousands separators of Windows locale identifiers.

#include "spreadsheet/numfmt/number_format.h"

namespace tabulix::spreadsheet {
namespace {

constexpr NumberConventions kPoint{'.', ','};
constexpr NumberConventions kCommaPoint{',', '.'};
constexpr NumberConventions kCommaSpace{',', ' '};
constexpr NumberConventions kPointApostrophe{'.', '\''};

// Variants that differ from the rest of their language.
struct Exception {
    automation::Lcid lcid;
    NumberConventions conventions;
};

constexpr Exception kExceptions[] = {
    // Spanish of Mexico, Guatemala, Panama, Dominican Republic, Peru, El Salvador, Honduras,
    // Nicaragua, Puerto Rico and the United States write decimals with a point.
    {0x080A, kPoint}, {0x100A, kPoint}, {0x180A, kPoint}, {0x1C0A, kPoint}, {0x280A, kPoint},
    {0x440A, kPoint}, {0x480A, kPoint}, {0x4C0A, kPoint}, {0x500A, kPoint}, {0x540A, kPoint},
    {0x0807, kPointApostrophe},  // German (Switzerland)
    {0x1407, kPointApostrophe},  // German (Liechtenstein)
    {0x100C, kPointApostrophe},  // French (Switzerland)
    {0x0810, kPointApostrophe},  // Italian (Switzerland)
    {0x080C, kCommaPoint},       // French (Belgium)
    {0x0816, kCommaSpace},       // Portuguese (Portugal)
};

struct Language {
    unsigned primary;
    NumberConventions conventions;
};

constexpr Language kCommaLanguages[] = {
    {0x0A, kCommaPoint},  // Spanish
    {0x07, kCommaPoint},  // German
    {0x0C, kCommaSpace},  // French
    {0x10, kCommaPoint},  // Italian
    {0x16, kCommaPoint},  // Portuguese (Brazil)
    {0x13, kCommaPoint},  // Dutch
    {0x03, kCommaPoint},  // Catalan
    {0x2D, kCommaPoint},  // Basque
    {0x56, kCommaPoint},  // Galician
    {0x06, kCommaPoint},  // Danish
    {0x1D, kCommaSpace},  // Swedish
    {0x14, kCommaSpace},  // Norwegian
    {0x0B, kCommaSpace},  // Finnish
    {0x19, kCommaSpace},  // Russian
    {0x15, kCommaSpace},  // Polish
    {0x05, kCommaSpace},  // Czech
    {0x1B, kCommaSpace},  // Slovak
    {0x0E, kCommaSpace},  // Hungarian
    {0x1F, kCommaPoint},  // Turkish
    {0x08, kCommaPoint},  // Greek
    {0x18, kCommaPoint},  // Romanian
    {0x21, kCommaPoint},  // Indonesian
    {0x24, kCommaPoint},  // Slovenian
    {0x1A, kCommaPoint},  // Croatian / Serbian
};

}  // namespace

NumberConventions conventionsFor(automation::Lcid lcid) {
    NumberConventions result = kPoint;
    bool found = false;
    for (const Exception& e : kExceptions) {
        if (e.lcid == lcid) {
            result = e.conventions;
            found = true;
        }
    }
    const unsigned primary = lcid & 0x3FF;
    if (!found) {
        for (const Language& l : kCommaLanguages)
            if (l.primary == primary) result = l.conventions;
    }
    if (primary == 0x0A) result.dateNames = DateLanguage::Spanish;
    return result;
}

bool isCommaDecimal(automation::Lcid lcid) { return conventionsFor(lcid).decimal == ','; }

}  // namespace tabulix::spreadsheet
