// Writes one report with charts of every kind, through the embedded spreadsheet or through Calc,
// for scripts/calc_compare_reports.py to compare the two workbooks:
//   calc_chart_report embedded|calc OUT.xlsx
// A sales table (two label columns, three months), then a chart sheet of each of the thirteen
// kinds, by columns and by rows, and charts with two lines of category labels and of series
// names, of texts and of numbers.

#include <cstring>
#include <iostream>
#include <string>

#include "automation/connection.h"
#include "automation/dispids.h"
#include "component/tabulix.h"
#include "data/memory_data_set.h"
#include "office/calc_provider.h"
#include "spreadsheet/embedded_spreadsheet.h"

using namespace tabulix;
using automation::Variant;
using component::TColumna_Fila;
using component::TTipoGrafico;

namespace {

const char* const kKindNames[] = {"xlColumn", "xl3DColumn", "xlLine", "xl3DLine", "xlBar",     "xl3DBar", "xlSurface",
                                  "xl3DSurface", "xlPie",   "xl3DPie", "xlArea", "xl3DArea", "xlRadar"};

std::unique_ptr<data::TMemoryDataSet> sales() {
    auto set = std::make_unique<data::TMemoryDataSet>();
    set->SetName("Ventas");
    set->AddFieldDef("ARTICULO", data::TFieldType::ftString, 20);
    set->AddFieldDef("ZONA", data::TFieldType::ftString, 10);
    for (const char* month : {"ENERO", "FEBRERO", "MARZO"}) set->AddFieldDef(month, data::TFieldType::ftFloat);
    const char* zones[] = {"Norte", "Sur", "Este"};
    for (int r = 1; r <= 5; ++r)
        set->AppendRecord({Variant("Art\xC3\xAD" "culo " + std::to_string(r)), Variant(zones[r % 3]),
                           Variant(r * 10.5), Variant(r * 3.0 + 1), Variant(100.0 - r * 7.25)});
    set->Open();
    return set;
}

void report(const std::string& output) {
    auto set = sales();
    component::TTabulix tabulix(nullptr);
    tabulix.SetDatos(set.get());
    tabulix.Titulo = "VENTAS POR ZONA";
    tabulix.NombreHoja = "Ventas";
    tabulix.TraspasarNuevoLibro();
    const std::string heading = std::to_string(tabulix.PrimeraFilaDatos() - 1);
    const std::string last = std::to_string(tabulix.UltimaFilaDatos());
    for (int kind = 0; kind <= static_cast<int>(TTipoGrafico::xlRadar); ++kind) {
        const bool byRows = kind % 2 == 1;
        tabulix.CrearGrafico(kKindNames[kind], "B" + heading, "E" + last, static_cast<TTipoGrafico>(kind),
                             byRows ? TColumna_Fila::xlEnFila : TColumna_Fila::xlEnColumna, "Ventas de " + std::string(kKindNames[kind]),
                             "Zonas", "Euros", "Meses", 1, 1, kind % 3 != 0);
    }
    // Two columns of category labels (article and zone), one row of series names.
    tabulix.CrearGrafico("Dos categorias", "A" + heading, "E" + last, TTipoGrafico::xlColumn, TColumna_Fila::xlEnColumna,
                         "Dos columnas de categor\xC3\xAD" "as", "", "", "", 2, 1, true);
    // By rows: two columns of series names, one row of categories.
    tabulix.CrearGrafico("Dos nombres", "A" + heading, "E" + last, TTipoGrafico::xlLine, TColumna_Fila::xlEnFila,
                         "", "Meses", "Euros", "", 1, 2, true);
    // Two rows of series names (the headings and the first record's numbers), and by rows two
    // rows of categories: label lines are labels whatever they hold.
    tabulix.CrearGrafico("Dos filas de nombres", "B" + heading, "E" + last, TTipoGrafico::xlArea,
                         TColumna_Fila::xlEnColumna, "", "", "", "", 1, 2, true);
    tabulix.CrearGrafico("Dos filas de categorias", "B" + heading, "E" + last, TTipoGrafico::xlRadar,
                         TColumna_Fila::xlEnFila, "", "", "", "", 2, 1, false);
    tabulix.ExcelWorkbook()->Object()->call(automation::dispid::SaveAs, {Variant(output)});
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 || (std::strcmp(argv[1], "embedded") != 0 && std::strcmp(argv[1], "calc") != 0)) {
        std::cerr << "usage: calc_chart_report embedded|calc OUT.xlsx\n";
        return 2;
    }
    const bool calc = std::strcmp(argv[1], "calc") == 0;
    try {
        if (calc)
            office::InstallCalcProvider(office::CalcOptionsFromEnvironment());
        else
            spreadsheet::installEmbeddedSpreadsheet();
        report(argv[2]);
    } catch (const std::exception& e) {
        std::cerr << "calc_chart_report: " << e.what() << "\n";
        if (calc) office::ShutDownCalc();
        return 1;
    }
    if (calc) office::ShutDownCalc();
    return 0;
}
