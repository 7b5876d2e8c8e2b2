// Builds a small random workbook from the input (texts of arbitrary bytes in cells, numbers,
// formulas, number formats, fonts, merged areas, sheet names, a chart sheet) through the
// spreadsheet's automation entry, saves it and reads every part back with a strict XML parser.
// Refused calls are AutomationErrors and fine; a save that fails, a part that is not well-formed
// XML, a crash or a sanitizer report is a fault.

#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "automation/automation_error.h"
#include "automation/dispids.h"
#include "automation/variant.h"
#include "spreadsheet/embedded_spreadsheet.h"
#include "spreadsheet/model/application.h"
#include "spreadsheet/model/chart_kind.h"
#include "spreadsheet/model/workbook.h"
#include "spreadsheet/xlsx/tests/well_formed_parts.h"

using namespace tabulix;
using automation::DispatchPtr;
using automation::Variant;
namespace dispid = automation::dispid;
namespace fs = std::filesystem;

namespace {

// One folder per process, removed when the process ends however the run stops normally.
struct Folder {
    Folder() : path(fs::path("/dev/shm") / ("tabulix-xlsx-fuzz-" + std::to_string(::getpid()))) {
        fs::create_directories(path);
    }
    ~Folder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    fs::path path;
};

std::string cellName(FuzzedDataProvider& in) {
    return std::string(1, static_cast<char>('A' + in.ConsumeIntegralInRange(0, 4))) +
           std::to_string(in.ConsumeIntegralInRange(1, 8));
}

DispatchPtr range(const DispatchPtr& sheet, FuzzedDataProvider& in) {
    const std::string first = cellName(in);
    const std::string last = in.ConsumeBool() ? first : cellName(in);
    return sheet->get(dispid::Range, {Variant(first), Variant(last)}).toObject();
}

void step(const DispatchPtr& book, const DispatchPtr& sheet, FuzzedDataProvider& in) {
    const auto lcid = in.ConsumeBool() ? automation::kLcidEnglishUS : automation::kLcidSpanishSpain;
    switch (in.ConsumeIntegralInRange(0, 8)) {
        case 0: range(sheet, in)->put(dispid::Value, Variant(in.ConsumeRandomLengthString(64)), lcid); break;
        case 1: range(sheet, in)->put(dispid::Value, Variant(in.ConsumeFloatingPoint<double>()), lcid); break;
        case 2: range(sheet, in)->put(dispid::Formula, Variant("=" + in.ConsumeRandomLengthString(48)), lcid); break;
        case 3: range(sheet, in)->put(dispid::NumberFormat, Variant(in.ConsumeRandomLengthString(32)), lcid); break;
        case 4: {
            const DispatchPtr font = range(sheet, in)->get(dispid::Font).toObject();
            font->put(dispid::Name, Variant(in.ConsumeRandomLengthString(24)));
            font->put(dispid::Size, Variant(in.ConsumeIntegralInRange(1, 409)));
            font->put(dispid::Bold, Variant(in.ConsumeBool()));
            break;
        }
        case 5: range(sheet, in)->call(dispid::Merge, {Variant(static_cast<int>(in.ConsumeBool()))}); break;
        case 6: sheet->put(dispid::Name, Variant(in.ConsumeRandomLengthString(40))); break;
        case 7: range(sheet, in)->put(dispid::Value, Variant(in.ConsumeBool()), lcid); break;
        case 8: {
            const DispatchPtr chart =
                book->get(dispid::Sheets)
                    .toObject()
                    ->call(dispid::Add, {Variant::missing(), Variant::missing(), Variant(1), Variant(automation::xl::Chart)})
                    .toObject();
            const auto codes = spreadsheet::galleryCodes();
            const std::int32_t gallery = codes[in.ConsumeIntegralInRange<std::size_t>(0, codes.size() - 1)];
            const DispatchPtr source = range(sheet, in);
            chart->call(dispid::ChartWizard,
                        {Variant(source), Variant(gallery), Variant::missing(), Variant(in.ConsumeIntegralInRange(1, 2)),
                         Variant(in.ConsumeIntegralInRange(0, 2)), Variant(in.ConsumeIntegralInRange(0, 2)),
                         Variant(in.ConsumeBool()), Variant(in.ConsumeRandomLengthString(24)),
                         Variant(in.ConsumeRandomLengthString(24)), Variant(in.ConsumeRandomLengthString(24)),
                         Variant(in.ConsumeRandomLengthString(24))});
            sheet->call(dispid::Activate);
            break;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Folder folder;
    // One application for every run (its font metrics load once); each run has its own workbook.
    static const std::shared_ptr<spreadsheet::Application> app =
        spreadsheet::createEmbeddedApplication(automation::kLcidSpanishSpain);
    FuzzedDataProvider in(data, size);
    const std::shared_ptr<spreadsheet::Workbook> book = app->addWorkbook();
    struct Closer {
        spreadsheet::Workbook& book;
        ~Closer() { book.close(); }
    } closer{*book};
    const DispatchPtr sheet = book->get(dispid::ActiveSheet).toObject();
    for (int steps = 0; steps < 12 && in.remaining_bytes() > 0; ++steps) {
        try {
            step(book, sheet, in);
        } catch (const automation::AutomationError&) {
        }
    }
    const std::string path = (folder.path / "book.xlsx").string();
    try {
        book->saveAs(path);
    } catch (const automation::AutomationError& e) {
        std::fprintf(stderr, "save failed: %s\n", e.what());
        std::abort();
    }
    for (const std::string& problem : spreadsheet::testing::malformedParts(path)) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        std::abort();
    }
    return 0;
}
