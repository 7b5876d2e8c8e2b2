#pragma once
// A component set up like the demonstration's: nine fields and the six formula records; and
// data rows given to a component by a real transfer, for the lookups that depend on them.

#include <memory>
#include <string>
#include <vector>

#include "automation/application_provider.h"
#include "automation/dispids.h"
#include "component/tabulix.h"
#include "data/field_classes.h"
#include "data/memory_data_set.h"
#include "framework/ui_services.h"
#include "spreadsheet/embedded_spreadsheet.h"

namespace tabulix::component::testing {

// Exposes Loaded, which the form reader calls.
class TestableTabulix : public TTabulix {
public:
    using TTabulix::TTabulix;
    using TTabulix::Loaded;
};

inline const char* const kDemoRecords[] = {
    "VENTAS_ENE;0;C;1;TOTAL VENTAS MENSUALES:;0;2;",
    "VENTAS_FEB;0;D;1;;0;0;",
    "VENTAS_MAR;0;E;1;;0;0;",
    "VENTAS_MAR;4;E;3;TOTAL VENTAS:;0;2;=(#F01#+#F02#+#F03#)",
    "VENTAS_MAR;4;E;4;TOTAL VENTAS CON IVA:;0;2;=#F04#*1.16",
    "VENTAS_MAR;4;E;5;Desviaci\xC3\xB3n Estandard Ventas Enero:;0;2;=STDEV(#T_VENTAS_ENE#)",
};

// The nine columns of the sample table, in order, as an empty memory data set.
inline std::unique_ptr<data::TMemoryDataSet> MakeDemoDataSet() {
    auto set = std::make_unique<data::TMemoryDataSet>();
    set->SetName("Taula");
    set->AddFieldDef("COD_ARTI", data::TFieldType::ftString, 8);
    set->AddFieldDef("DESC_ARTI", data::TFieldType::ftString, 20);
    set->AddFieldDef("VENTAS_ENE", data::TFieldType::ftFloat);
    set->AddFieldDef("VENTAS_FEB", data::TFieldType::ftFloat);
    set->AddFieldDef("VENTAS_MAR", data::TFieldType::ftFloat);
    set->AddFieldDef("STOC_ACT", data::TFieldType::ftFloat);
    set->AddFieldDef("PVP", data::TFieldType::ftFloat);
    set->AddFieldDef("ACTIVO", data::TFieldType::ftBoolean);
    set->AddFieldDef("OTROS", data::TFieldType::ftString, 10);
    return set;
}

// A component whose Datos is the (open) demo data set and whose formulas are the six records.
struct DemoComponent {
    framework::RecordingUi ui;
    std::unique_ptr<data::TMemoryDataSet> dataSet = MakeDemoDataSet();
    std::unique_ptr<TestableTabulix> tabulix = std::make_unique<TestableTabulix>(nullptr);

    DemoComponent() {
        dataSet->Open();
        tabulix->SetDatos(dataSet.get());
        for (const char* record : kDemoRecords) tabulix->Formulas().Add(record);
    }
    ~DemoComponent() { tabulix.reset(); }
};

// Gives the component the data rows first..last by transferring that many records, without
// title or headings, from row `first` of its worksheet (a new workbook when it has none, the
// embedded spreadsheet when no application is installed). A component without Datos transfers
// a column of its own and is left without Datos again; one with a memory data set has its
// records replaced by blank ones. The settings and the sheet's name are as they were.
inline void TransferRows(TTabulix& tabulix, std::int32_t first, std::int32_t last) {
    if (!automation::hasApplicationProvider()) spreadsheet::installEmbeddedSpreadsheet();
    data::TMemoryDataSet ownRows;
    auto* rows = dynamic_cast<data::TMemoryDataSet*>(tabulix.Datos());
    if (!rows) {
        ownRows.AddFieldDef("N", data::TFieldType::ftInteger);
        tabulix.SetDatos(&ownRows);
        rows = &ownRows;
    }
    rows->Close();
    rows->EmptyDataSet();
    const std::vector<automation::Variant> blank(rows->Definitions().size(), automation::Variant::null());
    for (std::int32_t row = first; row <= last; ++row) rows->AppendRecord(blank);
    rows->Open();

    if (!tabulix.ExcelWorksheet()) tabulix.CrearLibro();
    const automation::DispatchPtr sheet = tabulix.ExcelWorksheet()->Object();
    const std::string sheetName = sheet->get(automation::dispid::Name).toText();
    const std::int32_t filaInicial = tabulix.FilaInicial;
    const bool cabeceraMostrar = tabulix.CabeceraMostrar;
    const std::string titulo = tabulix.Titulo;
    tabulix.FilaInicial = first;
    tabulix.CabeceraMostrar = false;
    tabulix.Titulo.clear();
    tabulix.Traspasar();
    tabulix.FilaInicial = filaInicial;
    tabulix.CabeceraMostrar = cabeceraMostrar;
    tabulix.Titulo = titulo;
    sheet->put(automation::dispid::Name, automation::Variant(sheetName));
}

// Three records under a heading much wider than its numbers and a heading much narrower than
// its texts: what a filter's buttons need room beside, and what they do not.
inline std::unique_ptr<data::TMemoryDataSet> MakeWideHeadingDataSet() {
    auto set = std::make_unique<data::TMemoryDataSet>();
    set->AddFieldDef("IMPORTE_TOTAL_DEL_MES", data::TFieldType::ftInteger);
    set->AddFieldDef("NOTA", data::TFieldType::ftString, 60);
    for (int r = 1; r <= 3; ++r)
        set->AppendRecord(
            {automation::Variant(r), automation::Variant("Un texto de datos bastante m\xC3\xA1s ancho que su cabecera")});
    set->Open();
    return set;
}

}  // namespace tabulix::component::testing
