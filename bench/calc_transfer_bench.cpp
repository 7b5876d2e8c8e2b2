// Transfer benchmark through LibreOffice Calc, against the script a user would write by hand:
// the same table (title, bold headings, 20,000 records of nine columns, a number format per
// column, fitted widths, saved as .xlsx) put into Calc by a TTabulix transfer through the Calc
// provider, and by bench/calc_uno_script.py over Python-UNO (one setDataArray per block of
// rows). Each side starts a soffice of its own, fills it, saves and ends it; the two run in
// turn, round by round, and every round's ratio is the provider's wall time over the script's.
//
//   calc_transfer_bench [--records N] [--rounds N] [--shown] [--script PATH]
//   calc_transfer_bench --provider-only [--records N] [--shown]
//
// --shown transfers with VerConstruccion (the rows shown as they arrive). --provider-only makes
// one provider run and nothing else, so that an outside timer can pair the whole process with
// the script's (python3 bench/calc_uno_script.py --records N --output FILE.xlsx).

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "automation/application_provider.h"
#include "automation/connection.h"
#include "automation/dispids.h"
#include "component/tabulix.h"
#include "data/field_classes.h"
#include "data/memory_data_set.h"
#include "office/calc_provider.h"

using namespace tabulix;
namespace fs = std::filesystem;
using automation::Variant;
using Clock = std::chrono::steady_clock;

namespace {

std::unique_ptr<data::TMemoryDataSet> makeDataSet(int records) {
    auto set = std::make_unique<data::TMemoryDataSet>();
    set->SetName("Taula");
    const char* texts[] = {"COD_ARTI", "DESC_ARTI", "OTROS"};
    set->AddFieldDef(texts[0], data::TFieldType::ftString, 8);
    set->AddFieldDef(texts[1], data::TFieldType::ftString, 20);
    for (const char* name : {"VENTAS_ENE", "VENTAS_FEB", "VENTAS_MAR", "STOC_ACT", "PVP"})
        set->AddFieldDef(name, data::TFieldType::ftFloat);
    set->AddFieldDef("ACTIVO", data::TFieldType::ftBoolean);
    set->AddFieldDef(texts[2], data::TFieldType::ftString, 10);
    for (int i = 0; i < records; ++i) {
        const double x = std::fmod(i * 7919.37, 50000.0);
        set->AppendRecord({Variant("A" + std::to_string(100000 + i)), Variant("Articulo " + std::to_string(i)),
                           Variant(x), Variant(x / 2), Variant(x / 3), Variant(static_cast<double>(i % 500)),
                           Variant(std::round(x) / 100.0), Variant(i % 3 != 0), Variant("Lote " + std::to_string(i % 97))});
    }
    set->Open();
    for (int c = 2; c <= 5; ++c)
        if (auto* number = dynamic_cast<data::TFloatField*>(set->Fields(c))) number->SetDisplayFormat("###,###,##0.00");
    if (auto* price = dynamic_cast<data::TFloatField*>(set->Fields(6))) price->SetCurrency(true);
    return set;
}

void configure(component::TTabulix& tabulix) {
    tabulix.Titulo = "ARTICULOS EMPRESA";
    tabulix.NombreHoja = "Ejemplo";
}

struct Run {
    double start = 0, transfer = 0, save = 0, end = 0;
    double total() const { return start + transfer + save + end; }
};

double since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

Run runProvider(data::TMemoryDataSet& set, const fs::path& file, bool shown) {
    Run run;
    auto mark = Clock::now();
    auto lap = [&mark] {
        const double seconds = since(mark);
        mark = Clock::now();
        return seconds;
    };
    automation::attachOrStartApplication();
    run.start = lap();
    {
        component::TTabulix tabulix(nullptr);
        tabulix.SetDatos(&set);
        configure(tabulix);
        tabulix.VerConstruccion = shown;
        tabulix.TraspasarNuevoLibro();
        run.transfer = lap();
        tabulix.ExcelWorkbook()->Object()->call(automation::dispid::SaveAs, {Variant(file.string())});
        run.save = lap();
    }
    office::ShutDownCalc();
    run.end = lap();
    return run;
}

// The script's wall time, from its start to its exit; what it prints goes to our output.
double runScript(const fs::path& script, int records, const fs::path& file) {
    const std::string command = "/usr/bin/python3 '" + script.string() + "' --records " + std::to_string(records) +
                                " --output '" + file.string() + "'";
    const auto start = Clock::now();
    const int status = std::system(command.c_str());
    const double seconds = since(start);
    if (status != 0) throw std::runtime_error(command + " failed (status " + std::to_string(status) + ")");
    return seconds;
}

std::string loadAverage() {
    std::ifstream in("/proc/loadavg");
    std::string one, five, fifteen;
    in >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Provider and script in turn, round by round, each round's ratio and the medians printed.
void runRounds(data::TMemoryDataSet& set, const fs::path& folder, const fs::path& script, int records, int rounds,
               bool shown) {
    std::printf("%d records x 9 columns, %s, %d rounds; load average %s\n", records,
                shown ? "shown (VerConstruccion)" : "hidden", rounds, loadAverage().c_str());
    std::vector<double> ratios, providerTimes, scriptTimes;
    for (int round = 1; round <= rounds; ++round) {
        const Run provider = runProvider(set, folder / "provider.xlsx", shown);
        std::fflush(stdout);
        const double scripted = runScript(script, records, folder / "script.xlsx");
        providerTimes.push_back(provider.total());
        scriptTimes.push_back(scripted);
        ratios.push_back(provider.total() / scripted);
        std::printf("round %d: provider %6.2f s (start %.2f, transfer %.2f, save %.2f, end %.2f) | script %6.2f s"
                    " | provider / script %.2fx\n",
                    round, provider.total(), provider.start, provider.transfer, provider.save, provider.end,
                    scripted, ratios.back());
        std::fflush(stdout);
    }
    std::printf("median: provider %.2f s, script %.2f s, provider / script %.2fx (%s); load average %s\n",
                median(providerTimes), median(scriptTimes), median(ratios), shown ? "shown" : "hidden",
                loadAverage().c_str());
}

}  // namespace

int main(int argc, char** argv) {
    int records = 20000, rounds = 3;
    bool shown = false, providerOnly = false;
    fs::path script = TABULIX_CALC_UNO_SCRIPT;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--records" && i + 1 < argc) records = std::atoi(argv[++i]);
        else if (option == "--rounds" && i + 1 < argc) rounds = std::atoi(argv[++i]);
        else if (option == "--script" && i + 1 < argc) script = argv[++i];
        else if (option == "--shown") shown = true;
        else if (option == "--provider-only") providerOnly = true;
        else {
            std::fprintf(stderr, "usage: calc_transfer_bench [--records N] [--rounds N] [--shown] [--script PATH]\n"
                                 "       calc_transfer_bench --provider-only [--records N] [--shown]\n");
            return 2;
        }
    }
    if (records < 1 || rounds < 1) {
        std::fprintf(stderr, "calc_transfer_bench: --records and --rounds take a number above 0\n");
        return 2;
    }
    const office::CalcOptions options = office::CalcOptionsFromEnvironment();
    if (const std::string reason = office::CalcUnavailableReason(options); !reason.empty()) {
        std::fprintf(stderr, "calc_transfer_bench: %s\n", reason.c_str());
        return 1;
    }
    const fs::path folder = fs::temp_directory_path() / ("calc_transfer_bench-" + std::to_string(getpid()));
    fs::create_directories(folder);
    int status = 0;
    try {
        auto set = makeDataSet(records);
        office::InstallCalcProvider(options);
        if (providerOnly) {
            const Run provider = runProvider(*set, folder / "provider.xlsx", shown);
            std::printf("provider %.2f s (start %.2f, transfer %.2f, save %.2f, end %.2f)\n", provider.total(),
                        provider.start, provider.transfer, provider.save, provider.end);
        } else {
            runRounds(*set, folder, script, records, rounds, shown);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "calc_transfer_bench: %s\n", e.what());
        office::ShutDownCalc();
        status = 1;
    }
    fs::remove_all(folder);
    return status;
}
