#include <gtest/gtest.h>

#include "data/field_classes.h"
#include "data/memory_data_set.h"

namespace tabulix::data {
namespace {

using automation::Variant;

// Three articles: CODE (string), QTY (integer), PRICE (float).
void fillArticles(TMemoryDataSet& ds) {
    ds.AddFieldDef("CODE", TFieldType::ftString, 8);
    ds.AddFieldDef("QTY", TFieldType::ftInteger);
    ds.AddFieldDef("PRICE", TFieldType::ftFloat);
    ds.AppendRecord({"A1", 10, 1.5});
    ds.AppendRecord({"B2", Variant::null(), 2.25});
    ds.AppendRecord({"C3", 30, Variant::null()});
}

struct RecordingObserver : IDataSetObserver {
    int scrolls = 0;
    int changes = 0;
    void DataSetScrolled(TDataSet&) override { ++scrolls; }
    void DataSetChanged(TDataSet&) override { ++changes; }
};

TEST(DataSetWalk, VisitsEveryRecordOnceInOrder) {
    TMemoryDataSet ds;
    fillArticles(ds);
    ds.Open();
    EXPECT_EQ(ds.State(), TDataSetState::dsBrowse);
    EXPECT_EQ(ds.RecordCount(), 3);
    std::vector<std::string> seen;
    std::vector<std::int64_t> recNos;
    for (ds.First(); !ds.Eof(); ds.Next()) {
        seen.push_back(ds.FieldByName("code")->AsString());
        recNos.push_back(ds.RecNo());
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"A1", "B2", "C3"}));
    EXPECT_EQ(recNos, (std::vector<std::int64_t>{1, 2, 3}));
    // Next at the end stays on the last record.
    ds.Next();
    EXPECT_TRUE(ds.Eof());
    EXPECT_EQ(ds.FieldByName("CODE")->AsString(), "C3");
}

TEST(DataSetWalk, EmptyDataSetIsAtBothEndsWithNullValues) {
    TMemoryDataSet ds;
    ds.AddFieldDef("CODE", TFieldType::ftString, 8);
    ds.Open();
    EXPECT_TRUE(ds.Eof());
    EXPECT_TRUE(ds.Bof());
    EXPECT_EQ(ds.RecNo(), 0);
    EXPECT_TRUE(ds.Fields(0)->IsNull());
    EXPECT_TRUE(ds.GetBookmark().IsEmpty());
    ds.GotoBookmark(ds.GetBookmark());  // the empty bookmark does nothing
    EXPECT_TRUE(ds.Eof());
}

TEST(DataSetWalk, ClosedDataSetRefusesWalkingAndReading) {
    TMemoryDataSet ds;
    ds.SetName("Taula");
    fillArticles(ds);
    auto* code = new TStringField(&ds);
    code->SetFieldName("CODE");
    EXPECT_THROW(ds.First(), EDatabaseError);
    EXPECT_THROW(ds.RecordCount(), EDatabaseError);
    try {
        code->Value();
        FAIL() << "no error";
    } catch (const EDatabaseError& e) {
        EXPECT_STREQ(e.what(), "Cannot read field 'CODE': data set Taula is closed");
    }
}

TEST(DataSetWalk, DefaultFieldsLiveWhileOpen) {
    TMemoryDataSet ds;
    fillArticles(ds);
    EXPECT_EQ(ds.FieldCount(), 0);
    ds.Open();
    EXPECT_EQ(ds.FieldCount(), 3);
    EXPECT_FALSE(ds.HasPersistentFields());
    EXPECT_NE(dynamic_cast<TStringField*>(ds.Fields(0)), nullptr);
    EXPECT_EQ(ds.Fields(0)->Size(), 8);
    ds.Close();
    EXPECT_EQ(ds.FieldCount(), 0);
    ds.SetActive(true);
    EXPECT_TRUE(ds.Active());
    EXPECT_EQ(ds.FieldCount(), 3);
}

TEST(DataSetValues, TypesAndNulls) {
    TMemoryDataSet ds;
    fillArticles(ds);
    ds.Open();
    TField* qty = ds.FieldByName("QTY");
    TField* price = ds.FieldByName("PRICE");
    EXPECT_EQ(qty->Value(), Variant(std::int32_t{10}));
    EXPECT_EQ(price->Value(), Variant(1.5));
    EXPECT_EQ(price->AsString(), "1.5");
    ds.Next();
    EXPECT_TRUE(qty->IsNull());
    EXPECT_EQ(qty->AsString(), "");
    EXPECT_TRUE(qty->Value().isNull());
}

TEST(DataSetFields, LookupsAndUnknownNames) {
    TMemoryDataSet ds;
    ds.SetName("Taula");
    fillArticles(ds);
    ds.Open();
    EXPECT_EQ(ds.FieldCount(), 3);
    EXPECT_EQ(ds.FieldList().Count(), 3);
    EXPECT_EQ(ds.FindField("price"), ds.Fields(2));
    EXPECT_EQ(ds.FindField("NOPE"), nullptr);
    EXPECT_EQ(ds.FindField(""), nullptr);
    try {
        ds.FieldByName("NOPE");
        FAIL() << "no error";
    } catch (const EDatabaseError& e) {
        EXPECT_STREQ(e.what(), "Field 'NOPE' not found in data set Taula");
    }
    EXPECT_EQ(ds.Fields(1)->Index(), 1);
    EXPECT_THROW(ds.Fields(3), EDatabaseError);
    EXPECT_THROW(ds.Fields(-1), EDatabaseError);
}

TEST(DataSetFields, DisplayLabelFallsBackToFieldName) {
    TStringField field;
    field.SetFieldName("COD_ARTI");
    EXPECT_EQ(field.DisplayLabel(), "COD_ARTI");
    field.SetDisplayLabel("Código Articulo");
    EXPECT_EQ(field.DisplayLabel(), "Código Articulo");
    field.SetDisplayLabel("");
    EXPECT_EQ(field.DisplayLabel(), "COD_ARTI");
    EXPECT_TRUE(field.Visible());
}

TEST(DataSetFields, DefaultAlignmentAndClassTree) {
    const auto right = TAlignment::taRightJustify;
    const auto left = TAlignment::taLeftJustify;
    EXPECT_EQ(TStringField().Alignment(), left);
    EXPECT_EQ(TWideStringField().Alignment(), left);
    EXPECT_EQ(TGuidField().Alignment(), left);
    EXPECT_EQ(TIntegerField().Alignment(), right);
    EXPECT_EQ(TSmallintField().Alignment(), right);
    EXPECT_EQ(TWordField().Alignment(), right);
    EXPECT_EQ(TAutoIncField().Alignment(), right);
    EXPECT_EQ(TLargeintField().Alignment(), right);
    EXPECT_EQ(TFloatField().Alignment(), right);
    EXPECT_EQ(TCurrencyField().Alignment(), right);
    EXPECT_EQ(TBCDField().Alignment(), right);
    EXPECT_EQ(TBooleanField().Alignment(), left);
    EXPECT_EQ(TDateTimeField().Alignment(), left);
    EXPECT_EQ(TDateField().Alignment(), left);
    EXPECT_EQ(TTimeField().Alignment(), left);
    EXPECT_EQ(TBlobField().Alignment(), left);
    EXPECT_EQ(TMemoField().Alignment(), left);
    EXPECT_EQ(TGraphicField().Alignment(), left);
    EXPECT_EQ(TADTField().Alignment(), left);

    TStringField code;
    code.SetAlignment(right);
    EXPECT_EQ(code.Alignment(), right);
    EXPECT_EQ(code.DefaultAlignment(), left);

    TCurrencyField money;
    TFloatField plain;
    TBCDField bcd;
    EXPECT_TRUE(money.Currency());
    EXPECT_FALSE(plain.Currency());
    EXPECT_FALSE(bcd.Currency());
    const TField* asField = &money;
    EXPECT_NE(dynamic_cast<const TFloatField*>(asField), nullptr);
    EXPECT_NE(dynamic_cast<const TNumericField*>(asField), nullptr);
    asField = &bcd;
    EXPECT_EQ(dynamic_cast<const TFloatField*>(asField), nullptr);
    EXPECT_NE(dynamic_cast<const TNumericField*>(asField), nullptr);
    TSmallintField small;
    asField = &small;
    EXPECT_NE(dynamic_cast<const TIntegerField*>(asField), nullptr);
    TDateField date;
    asField = &date;
    EXPECT_EQ(dynamic_cast<const TNumericField*>(asField), nullptr);
}

TEST(DataSetBookmarks, ReturnAfterAWalkAndAfterAnErrorMidWalk) {
    TMemoryDataSet ds;
    fillArticles(ds);
    ds.Open();
    ds.Next();  // on B2
    TBookmark mark = ds.GetBookmark();
    for (ds.First(); !ds.Eof(); ds.Next()) {
    }
    ds.GotoBookmark(mark);
    EXPECT_EQ(ds.FieldByName("CODE")->AsString(), "B2");
    EXPECT_EQ(ds.RecNo(), 2);
    EXPECT_FALSE(ds.Eof());

    // A walk that fails halfway (an unknown field on the third record) returns just the same.
    try {
        ds.DisableControls();
        for (ds.First(); !ds.Eof(); ds.Next())
            if (ds.RecNo() == 3) ds.FieldByName("MISSING");
        FAIL() << "no error";
    } catch (const EDatabaseError&) {
        ds.GotoBookmark(mark);
        ds.FreeBookmark(mark);
        ds.EnableControls();
    }
    EXPECT_EQ(ds.FieldByName("CODE")->AsString(), "B2");
    EXPECT_FALSE(ds.ControlsDisabled());

    // Freed bookmarks, bookmarks of another data set and bookmarks from before a reopen are refused.
    EXPECT_FALSE(ds.BookmarkValid(mark));
    EXPECT_THROW(ds.GotoBookmark(mark), EDatabaseError);
    TMemoryDataSet other;
    fillArticles(other);
    other.Open();
    TBookmark foreign = other.GetBookmark();
    EXPECT_THROW(ds.GotoBookmark(foreign), EDatabaseError);
    TBookmark old = ds.GetBookmark();
    ds.Close();
    ds.Open();
    EXPECT_THROW(ds.GotoBookmark(old), EDatabaseError);
    ds.FreeBookmark(old);  // harmless
}

TEST(DataSetControls, NestedDisableKeepsObserversSilentUntilTheLastEnable) {
    TMemoryDataSet ds;
    fillArticles(ds);
    RecordingObserver observer;
    ds.AttachObserver(&observer);
    ds.Open();
    EXPECT_EQ(observer.changes, 1);
    ds.Next();
    EXPECT_EQ(observer.scrolls, 1);

    ds.DisableControls();
    ds.DisableControls();
    ds.First();
    ds.Next();
    ds.EnableControls();
    ds.Next();
    EXPECT_TRUE(ds.ControlsDisabled());
    EXPECT_EQ(observer.scrolls, 1);
    EXPECT_EQ(observer.changes, 1);
    ds.EnableControls();
    EXPECT_FALSE(ds.ControlsDisabled());
    EXPECT_EQ(observer.scrolls, 1);
    EXPECT_EQ(observer.changes, 2);  // once, at the last EnableControls

    ds.EnableControls();  // unmatched: ignored
    EXPECT_EQ(observer.changes, 2);
    ds.First();
    EXPECT_EQ(observer.scrolls, 2);

    ds.DetachObserver(&observer);
    ds.Next();
    EXPECT_EQ(observer.scrolls, 2);
}

TEST(DataSetPersistentFields, BindByNameIgnoringCaseAndKeepSettings) {
    TMemoryDataSet ds;
    fillArticles(ds);
    // Declared in another order than the columns, without QTY.
    auto* price = new TCurrencyField(&ds);
    price->SetFieldName("price");
    price->SetDisplayLabel("Precio");
    price->SetDisplayFormat("###,##0.00");
    auto* code = new TStringField(&ds);
    code->SetFieldName("Code");
    code->SetSize(8);
    code->SetAlignment(TAlignment::taRightJustify);
    EXPECT_TRUE(ds.HasPersistentFields());
    ds.Open();
    EXPECT_EQ(ds.FieldCount(), 2);
    EXPECT_EQ(ds.Fields(0), price);
    EXPECT_EQ(ds.Fields(1), code);
    EXPECT_EQ(price->Value(), Variant(1.5));
    EXPECT_EQ(price->DataType(), TFieldType::ftFloat);
    EXPECT_EQ(ds.FindField("QTY"), nullptr);
    ds.Close();
    // They survive Close and keep their settings.
    EXPECT_EQ(ds.FieldCount(), 2);
    EXPECT_EQ(price->DisplayLabel(), "Precio");
    ds.Open();
    EXPECT_EQ(code->AsString(), "A1");
    EXPECT_THROW(code->SetFieldName("X"), EDatabaseError);
    EXPECT_THROW(new TIntegerField(&ds), EDatabaseError);  // no new fields while open
    ds.Close();
    delete code;
    EXPECT_EQ(ds.FieldCount(), 1);
}

TEST(DataSetPersistentFields, FieldsOwnedElsewhereJoinThroughSetDataSet) {
    framework::TComponent form(nullptr);
    TMemoryDataSet* ds = new TMemoryDataSet(&form);
    fillArticles(*ds);
    auto* qty = new TIntegerField(&form);
    qty->SetFieldName("QTY");
    qty->SetDataSet(ds);
    ds->Open();
    EXPECT_EQ(qty->Value(), Variant(std::int32_t{10}));
    EXPECT_EQ(qty->Index(), 0);
    ds->Close();
    delete ds;  // the field outlives its data set safely
    EXPECT_EQ(qty->DataSet(), nullptr);
    EXPECT_THROW(qty->Value(), EDatabaseError);
}

TEST(DataSetPersistentFields, MissingOrIncompatibleColumnsFailOpenAndLeaveItClosed) {
    TMemoryDataSet ds;
    ds.SetName("Taula");
    fillArticles(ds);
    auto* wrong = new TIntegerField(&ds);
    wrong->SetFieldName("CODE");
    try {
        ds.Open();
        FAIL() << "no error";
    } catch (const EDatabaseError& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find("'CODE'"), std::string::npos) << message;
        EXPECT_NE(message.find("TIntegerField"), std::string::npos) << message;
        EXPECT_NE(message.find("ftString"), std::string::npos) << message;
        EXPECT_NE(message.find("Taula"), std::string::npos) << message;
    }
    EXPECT_FALSE(ds.Active());
    EXPECT_EQ(wrong->FieldNo(), -1);

    wrong->SetFieldName("GONE");
    try {
        ds.Open();
        FAIL() << "no error";
    } catch (const EDatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find("no column 'GONE'"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(ds.Active());

    // A string field narrower than its column would cut texts; a float field cannot hold every
    // 64-bit integer.
    delete wrong;
    auto* narrow = new TStringField(&ds);
    narrow->SetFieldName("CODE");
    narrow->SetSize(4);
    EXPECT_THROW(ds.Open(), EDatabaseError);
    narrow->SetSize(8);
    ds.Open();
    EXPECT_EQ(narrow->AsString(), "A1");
    ds.Close();

    TMemoryDataSet big;
    big.AddFieldDef("N", TFieldType::ftLargeint);
    (new TFloatField(&big))->SetFieldName("N");
    EXPECT_THROW(big.Open(), EDatabaseError);

    TMemoryDataSet twice;
    fillArticles(twice);
    (new TStringField(&twice))->SetFieldName("CODE");
    (new TStringField(&twice))->SetFieldName("code");
    EXPECT_THROW(twice.Open(), EDatabaseError);
}

TEST(DataSetNestedFields, FieldListFlattensObjectFieldsInOrder) {
    TMemoryDataSet ds;
    ds.AddFieldDef("ID", TFieldType::ftInteger);
    TFieldDef address{"ADDRESS", TFieldType::ftADT, 0, 0, {}};
    address.children.push_back({"STREET", TFieldType::ftString, 30, 0, {}});
    address.children.push_back({"CITY", TFieldType::ftString, 20, 0, {}});
    ds.AddFieldDef(address);
    ds.AddFieldDef("ACTIVE", TFieldType::ftBoolean);
    ds.AppendRecord({1, "Calle Mayor 1", "Madrid", true});
    ds.Open();
    EXPECT_EQ(ds.FieldCount(), 3);
    ASSERT_EQ(ds.FieldList().Count(), 5);
    std::vector<std::string> names;
    for (TField* f : ds.FieldList()) names.push_back(f->FullName());
    EXPECT_EQ(names, (std::vector<std::string>{"ID", "ADDRESS", "ADDRESS.STREET", "ADDRESS.CITY", "ACTIVE"}));
    EXPECT_EQ(ds.FieldByName("address.city")->AsString(), "Madrid");
    EXPECT_EQ(ds.FieldByName("ACTIVE")->Value(), Variant(true));
    EXPECT_TRUE(ds.FieldByName("ADDRESS")->IsNull());
    EXPECT_EQ(ds.FieldByName("ADDRESS")->AsString(), "(ADT)");
    EXPECT_EQ(ds.FieldByName("ADDRESS.CITY")->Index(), 1);
    ds.Close();

    // The same as persistent fields, bound by full name.
    auto* adt = new TADTField(&ds);
    adt->SetFieldName("ADDRESS");
    auto* city = new TStringField(&ds);
    city->SetFieldName("CITY");
    city->SetParentField(adt);
    ds.Open();
    EXPECT_EQ(ds.FieldCount(), 1);
    EXPECT_EQ(ds.FieldList().Count(), 2);
    EXPECT_EQ(city->AsString(), "Madrid");
}

TEST(MemoryDataSet, RefusesValuesItsColumnsCannotHoldAndKeepsTheRecordsWhole) {
    TMemoryDataSet ds;
    ds.SetName("Mem");
    fillArticles(ds);
    try {
        ds.AppendRecord({"D4", "many", 1.0});
        FAIL() << "no error";
    } catch (const EDatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find("column 'QTY'"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("record 4"), std::string::npos) << e.what();
    }
    EXPECT_EQ(ds.StoredRecordCount(), 3);
    EXPECT_THROW(ds.AppendRecord({"D4", 1}), EDatabaseError);
    EXPECT_THROW(ds.AddFieldDef("MORE", TFieldType::ftString), EDatabaseError);

    TMemoryDataSet small;
    small.AddFieldDef("S", TFieldType::ftSmallint);
    EXPECT_THROW(small.AppendRecord({40000}), EDatabaseError);
    EXPECT_THROW(small.AddFieldDef("s", TFieldType::ftInteger), EDatabaseError);

    // Appending to an open data set moves to the new record.
    ds.Open();
    ds.AppendRecord({"D4", 4, 4.5});
    EXPECT_EQ(ds.RecNo(), 4);
    EXPECT_EQ(ds.FieldByName("CODE")->AsString(), "D4");
    EXPECT_EQ(ds.RecordCount(), 4);
}

TEST(MemoryDataSet, HoldsEveryValueType) {
    TMemoryDataSet ds;
    ds.AddFieldDef("BIG", TFieldType::ftLargeint);
    ds.AddFieldDef("AMOUNT", TFieldType::ftBCD, 2);
    ds.AddFieldDef("MONEY", TFieldType::ftCurrency);
    ds.AddFieldDef("WHEN", TFieldType::ftDate);
    ds.AddFieldDef("AT", TFieldType::ftDateTime);
    ds.AddFieldDef("NOTE", TFieldType::ftMemo);
    ds.AppendRecord({std::int64_t{1} << 40, 12.345, 9.99, automation::Date::fromYmd(2024, 2, 29),
                     automation::Date{45000.5}, "línea 1\nlínea 2"});
    ds.Open();
    EXPECT_EQ(ds.Fields(0)->Value(), Variant(std::int64_t{1} << 40));
    EXPECT_EQ(ds.Fields(1)->Value(), Variant(automation::Currency{123450}));
    EXPECT_NE(dynamic_cast<TCurrencyField*>(ds.Fields(2)), nullptr);
    EXPECT_TRUE(dynamic_cast<TCurrencyField*>(ds.Fields(2))->Currency());
    EXPECT_EQ(ds.Fields(3)->AsString(), "2024-02-29");
    EXPECT_EQ(ds.Fields(4)->AsString(), "2023-03-15 12:00:00");
    EXPECT_EQ(ds.Fields(5)->AsString(), "línea 1\nlínea 2");
}

}  // namespace
}  // namespace tabulix::data
