// Feeds arbitrary text to the number-format parser (in both notations) and to the cell-name
// parser. Refusals are AutomationErrors; anything else escaping, a crash or a sanitizer report is
// a fault. Checks on top: a parsed format shows every value without throwing, its file code reads
// back as itself, and a parsed cell name formats back to the same cell.
//
// Input: 2 bytes choose the locale, 8 bytes are the value to show, the rest is the text.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "automation/automation_error.h"
#include "spreadsheet/numfmt/number_format.h"
#if TABULIX_FUZZ_CELL_NAMES
#include "spreadsheet/cells/cell_address.h"
#endif

using namespace tabulix;
using spreadsheet::NumberConventions;
using spreadsheet::NumberFormat;

namespace {

constexpr automation::Lcid kLocales[] = {0x0000, 0x0409, 0x0C0A, 0x0407, 0x040C, 0x080A, 0x0807, 0x0816};

void fuzzNumberFormat(std::string_view code, automation::Lcid lcid, double value) {
    NumberFormat format;
    try {
        format = NumberFormat::parse(code, lcid);
    } catch (const automation::AutomationError&) {
        return;
    }
    for (const NumberConventions& c : {NumberConventions{}, spreadsheet::conventionsFor(0x0C0A), NumberConventions{',', ' '}}) {
        (void)format.display(value, c);
        (void)format.displayForFit(value, c);
        (void)format.display(-value, c);
        (void)format.display(0.0, c);
    }
    (void)format.displayText(code);
    (void)format.displayTextForFit(code);
    (void)format.isDateTime();
    const NumberFormat reread = NumberFormat::parse(format.fileCode(), 0x0409);  // must not throw
    if (reread.fileCode() != format.fileCode()) std::abort();
}

#if TABULIX_FUZZ_CELL_NAMES
void fuzzCellName(std::string_view text) {
    try {
        const spreadsheet::CellAddress a = spreadsheet::parseCellName(text);
        if (!(spreadsheet::parseCellName(spreadsheet::cellName(a)) == a)) std::abort();
    } catch (const automation::AutomationError&) {
    }
    try {
        const spreadsheet::CellRect r = spreadsheet::parseRangeRef(text);
        if (!(spreadsheet::parseRangeRef(spreadsheet::rangeName(r)) == r)) std::abort();
    } catch (const automation::AutomationError&) {
    }
}
#endif

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 10) return 0;
    const automation::Lcid lcid = kLocales[data[0] % std::size(kLocales)] ^ (data[1] == 0xFF ? 0x0400u : 0u);
    double value;
    std::memcpy(&value, data + 2, sizeof value);
    const std::string_view text(reinterpret_cast<const char*>(data + 10), size - 10);
    fuzzNumberFormat(text, lcid, value);
#if TABULIX_FUZZ_CELL_NAMES
    fuzzCellName(text);
#endif
    return 0;
}
