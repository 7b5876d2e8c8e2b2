// Writing a large sheet: the embedded spreadsheet driven through its automation entry (a Range
// lookup by cell name and a Value put per cell, a few range-wide formats, SaveAs) against the
// same workbook written directly with libxlsxwriter in its default mode. Each side runs in its
// own child process so that the peak memory figures are separate.
// Usage: sheet_write_bench [ROWS [FOLDER]]

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xlsxwriter.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "automation/dispids.h"
#include "automation/variant.h"
#include "spreadsheet/embedded_spreadsheet.h"
#include "spreadsheet/model/application.h"

using namespace tabulix::automation;

namespace {

constexpr int kColumns = 9;
constexpr const char* kHeadings[kColumns] = {"Artículo", "Familia", "Precio", "Unidades", "Importe",
                                             "Activo",   "Código",  "Descuento", "Revisado"};
constexpr const char* kFamilies[] = {"Ferretería", "Jardín", "Pintura", "Electricidad", "Fontanería"};

enum class Kind { Text, Number, Boolean };

// The value of one data cell: texts, numbers and Booleans mixed over the nine columns.
struct CellData {
    Kind kind;
    double number = 0;
    bool boolean = false;
    const char* text = nullptr;
};

CellData cellData(long row, int column, char* buffer, std::size_t size) {
    switch (column) {
        case 0: std::snprintf(buffer, size, "Artículo número %ld", row); return {Kind::Text, 0, false, buffer};
        case 1: return {Kind::Text, 0, false, kFamilies[row % 5]};
        case 2: return {Kind::Number, 1.25 + (row % 997) * 0.5};
        case 3: return {Kind::Number, static_cast<double>(row % 250)};
        case 4: return {Kind::Number, (1.25 + (row % 997) * 0.5) * (row % 250)};
        case 5: return {Kind::Boolean, 0, row % 3 != 0};
        case 6: std::snprintf(buffer, size, "C-%05ld", row % 20000); return {Kind::Text, 0, false, buffer};
        case 7: return {Kind::Number, (row % 20) / 100.0};
        default: return {Kind::Boolean, 0, row % 7 == 0};
    }
}

DispatchPtr rangeOf(const DispatchPtr& sheet, const std::string& first, const std::string& last) {
    return sheet->get(dispid::Range, {Variant(first), Variant(last)}).toObject();
}

// Our whole path: automation calls into the embedded spreadsheet, then SaveAs.
void writeThroughAutomation(long rows, const std::string& path) {
    DispatchPtr app = tabulix::spreadsheet::createEmbeddedApplication();
    DispatchPtr book = app->get(dispid::Workbooks).toObject()->call(dispid::Add, {Variant(xl::WBATWorksheet)}).toObject();
    DispatchPtr sheet = book->get(dispid::Worksheets).toObject()->get(dispid::Item, {Variant(1)}).toObject();
    char letter[2] = {'A', 0};
    char name[32];
    char text[64];
    Variant args[2];
    for (int c = 0; c < kColumns; ++c) {
        letter[0] = static_cast<char>('A' + c);
        const std::string cell = std::string(letter) + "1";
        rangeOf(sheet, cell, cell)->put(dispid::Value, Variant(kHeadings[c]), kLcidSpanishSpain);
    }
    for (long r = 2; r <= rows + 1; ++r) {
        for (int c = 0; c < kColumns; ++c) {
            std::snprintf(name, sizeof name, "%c%ld", 'A' + c, r);
            args[0] = Variant(name);
            args[1] = args[0];
            DispatchPtr range = sheet->invoke(dispid::Range, InvokeKind::PropertyGet, args).toObject();
            const CellData d = cellData(r, c, text, sizeof text);
            Variant value = d.kind == Kind::Text ? Variant(d.text) : d.kind == Kind::Number ? Variant(d.number)
                                                                                            : Variant(d.boolean);
            range->invoke(dispid::Value, InvokeKind::PropertyPut, std::span<const Variant>(&value, 1),
                          kLcidSpanishSpain);
        }
    }
    const std::string last = std::to_string(rows + 1);
    DispatchPtr heading = rangeOf(sheet, "A1", "I1");
    heading->get(dispid::Font).toObject()->put(dispid::Bold, Variant(true));
    heading->get(dispid::Interior).toObject()->put(dispid::Color, Variant(0xC0C0C0));
    rangeOf(sheet, "C2", "E" + last)->put(dispid::NumberFormat, Variant("#.##0,00"), kLcidSpanishSpain);
    rangeOf(sheet, "H2", "H" + last)->put(dispid::NumberFormat, Variant("0%"), kLcidSpanishSpain);
    rangeOf(sheet, "G2", "G" + last)->put(dispid::HorizontalAlignment, Variant(xl::HAlignCenter));
    book->call(dispid::SaveAs, {Variant(path)});
}

// The reference: the same workbook written straight into libxlsxwriter's default mode.
void writeDirectly(long rows, const std::string& path) {
    lxw_workbook* wb = workbook_new(path.c_str());
    lxw_worksheet* ws = workbook_add_worksheet(wb, "Hoja1");
    lxw_format* heading = workbook_add_format(wb);
    format_set_bold(heading);
    format_set_pattern(heading, LXW_PATTERN_SOLID);
    format_set_fg_color(heading, 0xC0C0C0);
    lxw_format* amount = workbook_add_format(wb);
    format_set_num_format(amount, "#,##0.00");
    lxw_format* percent = workbook_add_format(wb);
    format_set_num_format(percent, "0%");
    lxw_format* centred = workbook_add_format(wb);
    format_set_align(centred, LXW_ALIGN_CENTER);
    for (int c = 0; c < kColumns; ++c) worksheet_write_string(ws, 0, static_cast<lxw_col_t>(c), kHeadings[c], heading);
    char text[64];
    for (long r = 2; r <= rows + 1; ++r) {
        for (int c = 0; c < kColumns; ++c) {
            const CellData d = cellData(r, c, text, sizeof text);
            lxw_format* f = (c >= 2 && c <= 4) ? amount : c == 7 ? percent : c == 6 ? centred : nullptr;
            const auto row = static_cast<lxw_row_t>(r - 1);
            const auto col = static_cast<lxw_col_t>(c);
            if (d.kind == Kind::Text)
                worksheet_write_string(ws, row, col, d.text, f);
            else if (d.kind == Kind::Number)
                worksheet_write_number(ws, row, col, d.number, f);
            else
                worksheet_write_boolean(ws, row, col, d.boolean, f);
        }
    }
    if (workbook_close(wb) != LXW_NO_ERROR) std::exit(1);
}

struct Run {
    double seconds = 0;     // wall clock
    double cpuSeconds = 0;  // user + system: steadier than wall time on a shared machine
    long peakKb = 0;
};

Run runInChild(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child < 0) {
        std::perror("fork");
        std::exit(1);
    }
    if (child == 0) {
        try {
            work();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s\n", e.what());
            _exit(1);
        }
        _exit(0);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    const auto end = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "a benchmark run failed\n");
        std::exit(1);
    }
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return Run{std::chrono::duration<double>(end - start).count(),
               seconds(usage.ru_utime) + seconds(usage.ru_stime), usage.ru_maxrss};
}

}  // namespace

int main(int argc, char** argv) {
    const long rows = argc > 1 ? std::atol(argv[1]) : 100000;
    const std::string folder = argc > 2 ? argv[2] : "/tmp";
    const std::string ours = folder + "/sheet_write_bench_automation.xlsx";
    const std::string theirs = folder + "/sheet_write_bench_direct.xlsx";
    const double cells = static_cast<double>(rows) * kColumns;

    const Run automation = runInChild([&] { writeThroughAutomation(rows, ours); });
    const Run direct = runInChild([&] { writeDirectly(rows, theirs); });

    std::printf("%ld rows x %d columns = %.0f cells\n", rows, kColumns, cells);
    const auto line = [&](const char* what, const Run& run) {
        std::printf("%-46s %7.2f s wall %7.2f s cpu %9.0f cells/s (cpu)  peak %6.1f MB\n", what, run.seconds,
                    run.cpuSeconds, cells / run.cpuSeconds, run.peakKb / 1024.0);
    };
    line("embedded spreadsheet via automation + SaveAs:", automation);
    line("libxlsxwriter direct (default mode):", direct);
    std::printf("time ratio (ours / direct): %.2f cpu, %.2f wall  (target <= 1.00)\n",
                automation.cpuSeconds / direct.cpuSeconds, automation.seconds / direct.seconds);
    std::printf("memory ratio (ours / direct): %.2f  (target <= 0.50)\n",
                static_cast<double>(automation.peakKb) / static_cast<double>(direct.peakKb));
    std::remove(ours.c_str());
    std::remove(theirs.c_str());
    return 0;
}
