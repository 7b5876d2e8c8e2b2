#include "data/data_classes.h"

#include "data/csv_table.h"
#include "data/database.h"
#include "data/field_classes.h"
#include "data/odbc_query.h"
#include "data/pg_query.h"
#include "data/sqlite_query.h"
#include "data/table.h"
#include "framework/class_registry.h"

namespace tabulix::data {

void RegisterDataClasses() {
    using framework::RegisterClass;
    RegisterClass<TDatabase>("TDatabase");
    RegisterClass<TTable>("TTable");
    RegisterClass<TSQLiteQuery>("TSQLiteQuery");
    RegisterClass<TCsvTable>("TCsvTable");
    RegisterClass<TPgQuery>("TPgQuery");
    RegisterClass<TOdbcQuery>("TOdbcQuery");
    RegisterClass<TStringField>("TStringField");
    RegisterClass<TWideStringField>("TWideStringField");
    RegisterClass<TGuidField>("TGuidField");
    RegisterClass<TIntegerField>("TIntegerField");
    RegisterClass<TSmallintField>("TSmallintField");
    RegisterClass<TWordField>("TWordField");
    RegisterClass<TAutoIncField>("TAutoIncField");
    RegisterClass<TLargeintField>("TLargeintField");
    RegisterClass<TFloatField>("TFloatField");
    RegisterClass<TCurrencyField>("TCurrencyField");
    RegisterClass<TBCDField>("TBCDField");
    RegisterClass<TBooleanField>("TBooleanField");
    RegisterClass<TDateTimeField>("TDateTimeField");
    RegisterClass<TDateField>("TDateField");
    RegisterClass<TTimeField>("TTimeField");
    RegisterClass<TBlobField>("TBlobField");
    RegisterClass<TMemoField>("TMemoField");
    RegisterClass<TGraphicField>("TGraphicField");
    RegisterClass<TADTField>("TADTField");
}

}  // namespace tabulix::data
