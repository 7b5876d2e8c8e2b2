// The sample table as the demonstration declares it: a database with a relative PATH, the
// table, and nine persistent fields created and set up the way the form reader does it (class
// registry, AdoptChild, published properties).

#include <gtest/gtest.h>

#include <cstdlib>

#include "data/data_classes.h"
#include "data/database.h"
#include "data/field_classes.h"
#include "data/table.h"
#include "framework/class_registry.h"
#include "framework/property_list.h"

namespace tabulix::data {
namespace {

using automation::Variant;
using framework::FormValue;
using framework::PropertyList;

std::filesystem::path demoFolder() {
    const char* source = std::getenv("TABULIX_SOURCE_DIR");
    return std::filesystem::path(source ? source : ".") / "demo";
}

void setProperty(framework::TPersistent& object, const std::string& name, const FormValue& value) {
    PropertyList properties = PropertyList::Of(object);
    const framework::Property* property = properties.Find(name);
    ASSERT_NE(property, nullptr) << object.ClassName() << "." << name;
    property->Set(value);
}

struct FieldSpec {
    const char* className;
    const char* fieldName;
    const char* label;
    const char* format;
};

class DemoTable : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterDataClasses();
        auto& registry = framework::ClassRegistry::Instance();
        db = dynamic_cast<TDatabase*>(registry.Create("TDatabase", form));
        db->SetName("DB");
        db->BeginLoading();
        setProperty(*db, "DatabaseName", FormValue::Str("DB"));
        setProperty(*db, "DriverName", FormValue::Str("STANDARD"));
        setProperty(*db, "Params", FormValue::Lines({"PATH=.", "ENABLE BCD=FALSE", "DEFAULT DRIVER=DBASE"}));
        setProperty(*db, "SessionName", FormValue::Str("Default"));
        db->SetBaseFolder(demoFolder());

        taula = dynamic_cast<TTable*>(registry.Create("TTable", form));
        taula->SetName("Taula");
        taula->BeginLoading();
        setProperty(*taula, "DatabaseName", FormValue::Str("DB"));
        setProperty(*taula, "TableName", FormValue::Str("Demo.DBF"));
        setProperty(*taula, "Active", FormValue::Ident("True"));  // kept until loading ends
        const FieldSpec specs[] = {
            {"TStringField", "COD_ARTI", "Código Articulo", nullptr},
            {"TStringField", "DESC_ARTI", "Descripción", nullptr},
            {"TFloatField", "VENTAS_ENE", "Ventas Enero", "###,###,##0.00"},
            {"TFloatField", "VENTAS_FEB", nullptr, "###,###,##0.00"},
            {"TFloatField", "VENTAS_MAR", nullptr, "###,###,##0.00"},
            {"TFloatField", "STOC_ACT", "Estoc Actual", "###,##0.00"},
            {"TFloatField", "PVP", "Preu Venta", nullptr},
            {"TBooleanField", "ACTIVO", "Activo??", nullptr},
            {"TStringField", "OTROS", "Comentarios Varios", nullptr},
        };
        for (const FieldSpec& spec : specs) {
            framework::TComponent* child = registry.Create(spec.className, *taula);
            child->SetName(std::string("Taula") + spec.fieldName);
            taula->AdoptChild(child);
            setProperty(*child, "FieldName", FormValue::Str(spec.fieldName));
            if (spec.label) setProperty(*child, "DisplayLabel", FormValue::Str(spec.label));
            if (spec.format) setProperty(*child, "DisplayFormat", FormValue::Str(spec.format));
        }
        setProperty(*taula->FieldByName("COD_ARTI"), "Alignment", FormValue::Ident("taRightJustify"));
        setProperty(*taula->FieldByName("COD_ARTI"), "Size", FormValue::Int(8));
        setProperty(*taula->FieldByName("OTROS"), "Size", FormValue::Int(10));
        setProperty(*taula->FieldByName("PVP"), "Currency", FormValue::Ident("True"));
        ASSERT_FALSE(taula->Active());
        db->EndLoading();
        taula->EndLoading();
    }

    framework::TComponent form{nullptr};
    TDatabase* db = nullptr;
    TTable* taula = nullptr;
};

TEST_F(DemoTable, OpensWithItsNinePersistentFieldsAndEighteenArticles) {
    ASSERT_TRUE(taula->Active());
    EXPECT_EQ(taula->CodePage(), 1252);
    ASSERT_EQ(taula->FieldCount(), 9);
    ASSERT_EQ(taula->FieldList().Count(), 9);
    const char* names[] = {"COD_ARTI", "DESC_ARTI", "VENTAS_ENE", "VENTAS_FEB", "VENTAS_MAR",
                           "STOC_ACT", "PVP",       "ACTIVO",     "OTROS"};
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(taula->Fields(i)->FieldName(), names[i]);
        EXPECT_EQ(taula->FieldList()[i], taula->Fields(i));
        EXPECT_TRUE(taula->Fields(i)->Visible());
    }
    EXPECT_EQ(taula->FieldByName("VENTAS_FEB")->DisplayLabel(), "VENTAS_FEB");
    EXPECT_EQ(taula->FieldByName("COD_ARTI")->DisplayLabel(), "Código Articulo");
    EXPECT_EQ(taula->FieldByName("COD_ARTI")->Alignment(), TAlignment::taRightJustify);
    EXPECT_EQ(taula->FieldByName("ACTIVO")->Alignment(), TAlignment::taLeftJustify);
    EXPECT_TRUE(dynamic_cast<TFloatField*>(taula->FieldByName("PVP"))->Currency());
    EXPECT_FALSE(dynamic_cast<TFloatField*>(taula->FieldByName("STOC_ACT"))->Currency());
    EXPECT_EQ(dynamic_cast<TNumericField*>(taula->FieldByName("STOC_ACT"))->DisplayFormat(), "###,##0.00");

    EXPECT_EQ(taula->RecordCount(), 18);
    int count = 0;
    std::vector<std::string> descriptions;
    for (taula->First(); !taula->Eof(); taula->Next()) {
        ++count;
        descriptions.push_back(taula->FieldByName("DESC_ARTI")->AsString());
        for (TField* field : taula->FieldList()) field->Value();  // every value reads
    }
    EXPECT_EQ(count, 18);
    EXPECT_EQ(descriptions[0], "Camión de juguete");
    EXPECT_EQ(descriptions[1], "Piñata");
    EXPECT_EQ(descriptions[2], "Jamón ibérico");
    taula->First();
    EXPECT_EQ(taula->FieldByName("VENTAS_ENE")->Value(), Variant(1520.5));
    EXPECT_EQ(taula->FieldByName("ACTIVO")->Value(), Variant(true));
    EXPECT_EQ(taula->FieldByName("OTROS")->AsString(), "Novedad");
}

TEST_F(DemoTable, PublishesWhatTheFormFileStores) {
    auto names = [](framework::TPersistent& object) {
        std::vector<std::string> out;
        const PropertyList properties = PropertyList::Of(object);
        for (const auto& property : properties.Items())
            if (property.IsStored()) out.push_back(property.Name());
        return out;
    };
    EXPECT_EQ(names(*db),
              (std::vector<std::string>{"Connected", "DatabaseName", "DriverName", "Params", "SessionName"}));
    EXPECT_EQ(names(*taula), (std::vector<std::string>{"Active", "DatabaseName", "TableName"}));
    db->Close();
    EXPECT_FALSE(taula->Active());
    EXPECT_EQ(names(*db), (std::vector<std::string>{"DatabaseName", "DriverName", "Params", "SessionName"}));
    EXPECT_EQ(names(*taula), (std::vector<std::string>{"DatabaseName", "TableName"}));
    EXPECT_EQ(names(*taula->FieldByName("COD_ARTI")),
              (std::vector<std::string>{"Alignment", "DisplayLabel", "FieldName", "Size"}));
    EXPECT_EQ(names(*taula->FieldByName("VENTAS_FEB")), (std::vector<std::string>{"FieldName", "DisplayFormat"}));
    EXPECT_EQ(names(*taula->FieldByName("PVP")), (std::vector<std::string>{"DisplayLabel", "FieldName", "Currency"}));
    EXPECT_EQ(taula->GetChildren().size(), 9u);
    EXPECT_EQ(taula->GetChildren()[8], taula->FieldByName("OTROS"));

    // Only fields nest inside a data set.
    framework::TComponent stray(nullptr);
    EXPECT_THROW(taula->AdoptChild(&stray), EDatabaseError);
    EXPECT_TRUE(framework::ClassRegistry::Instance().IsRegistered("TCurrencyField"));
    EXPECT_TRUE(framework::ClassRegistry::Instance().IsRegistered("TSQLiteQuery"));
}

}  // namespace
}  // namespace tabulix::data
