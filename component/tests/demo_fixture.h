#pragma once
// A component set up like the demonstration's: nine fields, the six formula records, and a
// seam to set the data rows as a transfer would.

#include <memory>

#include "component/tabulix.h"
#include "data/field_classes.h"
#include "data/memory_data_set.h"
#include "framework/ui_services.h"

namespace tabulix::component::testing {

// Exposes the data-row seam of TTabulix.
class TestableTabulix : public TTabulix {
public:
    using TTabulix::TTabulix;
    using TTabulix::Loaded;
    using TTabulix::SetDataRows;
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

}  // namespace tabulix::component::testing
