// Transfer benchmark through LibreOffice Calc: the same TTabulix transfer (nine fields of the
// demonstration's kinds, its title, headings, attribute sets and formula records) into the
// embedded spreadsheet and into Calc over the UNO bridge, each followed by its save as .xlsx.
// Every automation call becomes one or more round trips to the soffice process; nothing is
// batched, so the component's call sequence is the same in both runs.
//
//   calc_transfer_bench [--records N]...   (default: 1000 and 10000)

#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "automation/application_provider.h"
#include "automation/connection.h"
#include "automation/dispids.h"
#include "component/tabulix.h"
#include "data/field_classes.h"
#include "data/memory_data_set.h"
#include "office/calc_provider.h"
#include "spreadsheet/embedded_spreadsheet.h"

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
    for (const char* line : {"VENTAS_ENE;0;C;1;TOTAL VENTAS MENSUALES:;0;2;", "VENTAS_FEB;0;D;1;;0;0;",
                             "VENTAS_MAR;0;E;1;;0;0;", "VENTAS_MAR;4;E;3;TOTAL VENTAS:;0;2;=(#F01#+#F02#+#F03#)",
                             "VENTAS_MAR;4;E;4;TOTAL VENTAS CON IVA:;0;2;=#F04#*1.16"})
        tabulix.Formulas().Add(line);
}

// CPU seconds the soffice process has used so far (0 when there is none).
double sofficeCpu() {
    const int pid = office::CalcProcessId();
    if (pid <= 0) return 0;
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text;
    std::getline(stat, text);
    const auto close = text.rfind(')');
    if (close == std::string::npos) return 0;
    std::vector<std::string> fields;
    std::string field;
    for (std::size_t i = close + 2; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == ' ') {
            fields.push_back(field);
            field.clear();
        } else {
            field += text[i];
        }
    }
    if (fields.size() < 13) return 0;
    return (std::atof(fields[11].c_str()) + std::atof(fields[12].c_str())) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

struct Result {
    double transfer = 0;
    double save = 0;
    double suiteCpu = 0;
};

double since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

Result run(data::TMemoryDataSet& set, const fs::path& file) {
    component::TTabulix tabulix(nullptr);
    tabulix.SetDatos(&set);
    configure(tabulix);
    const double cpuBefore = sofficeCpu();
    const auto start = Clock::now();
    tabulix.TraspasarNuevoLibro();
    Result result;
    result.transfer = since(start);
    const auto saving = Clock::now();
    tabulix.ExcelWorkbook()->Object()->call(automation::dispid::SaveAs, {Variant(file.string())});
    result.save = since(saving);
    result.suiteCpu = sofficeCpu() - cpuBefore;
    tabulix.ExcelWorkbook()->Object()->call(automation::dispid::Close, {Variant(false)});
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--records" && i + 1 < argc) sizes.push_back(std::atoi(argv[++i]));
        else {
            std::fprintf(stderr, "usage: calc_transfer_bench [--records N]...\n");
            return 2;
        }
    }
    if (sizes.empty()) sizes = {1000, 10000};
    const office::CalcOptions options = office::CalcOptionsFromEnvironment();
    if (const std::string reason = office::CalcUnavailableReason(options); !reason.empty()) {
        std::fprintf(stderr, "calc_transfer_bench: %s\n", reason.c_str());
        return 1;
    }
    const fs::path folder = fs::temp_directory_path() / ("calc_transfer_bench-" + std::to_string(getpid()));
    fs::create_directories(folder);
    try {
        for (int records : sizes) {
            auto set = makeDataSet(records);
            automation::shutDownRunningApplication();
            spreadsheet::installEmbeddedSpreadsheet();
            const Result embedded = run(*set, folder / "embedded.xlsx");
            automation::shutDownRunningApplication();
            office::InstallCalcProvider(options);
            const auto starting = Clock::now();
            automation::attachOrStartApplication();  // a soffice of its own for each size, started untimed
            std::printf("soffice start-up and connection: %.2f s\n", since(starting));
            const Result calc = run(*set, folder / "calc.xlsx");
            std::printf("%6d records: embedded %7.2f s transfer %5.2f s save | Calc %8.2f s transfer %5.2f s save"
                        " (soffice %.2f s cpu) | Calc / embedded transfer: %.0fx\n",
                        records, embedded.transfer, embedded.save, calc.transfer, calc.save, calc.suiteCpu,
                        calc.transfer / embedded.transfer);
            std::fflush(stdout);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "calc_transfer_bench: %s\n", e.what());
        office::ShutDownCalc();
        fs::remove_all(folder);
        return 1;
    }
    office::ShutDownCalc();
    fs::remove_all(folder);
    return 0;
}
