// A data module read from a form file: the database, the table with its nested persistent
// fields, and a query; then written back.

#include <gtest/gtest.h>

#include "data/base_folder.h"
#include "data/data_classes.h"
#include "data/database.h"
#include "data/field_classes.h"
#include "data/sqlite_query.h"
#include "data/table.h"
#include "data/tests/dbf_fixture.h"
#include "framework/form_file_error.h"
#include "framework/form_reader.h"
#include "framework/form_writer.h"

namespace tabulix::data {
namespace {

using testing::DbfFixture;
using testing::TempFolder;

constexpr const char* kForm = R"(object Datos: TDataModule
  object DB: TDatabase
    DatabaseName = 'DB'
    DriverName = 'STANDARD'
    Params.Strings = (
      'PATH=tablas'
      'ENABLE BCD=FALSE'
      'DEFAULT DRIVER=DBASE')
    SessionName = 'Default'
  end
  object Taula: TTable
    DatabaseName = 'DB'
    TableName = 'Ventas.dbf'
    object TaulaCODIGO: TStringField
      Alignment = taRightJustify
      DisplayLabel = 'C'#243'digo'
      FieldName = 'CODIGO'
      Size = 6
    end
    object TaulaDIRECCION: TADTField
      FieldName = 'DIRECCION'
      object TaulaDIRECCIONCIUDAD: TStringField
        FieldName = 'CIUDAD'
      end
    end
    object TaulaIMPORTE: TFloatField
      FieldName = 'IMPORTE'
      DisplayFormat = '###,##0.00'
      Currency = True
    end
  end
end
)";

TEST(DataFormFile, NestedPersistentFieldsAreReadAndWrittenBack) {
    RegisterDataClasses();
    TempFolder folder;
    std::filesystem::create_directories(folder / "tablas");
    DbfFixture dbf({{"CODIGO", 'C', 6}, {"IMPORTE", 'N', 10, 2}});
    dbf.add({"X1", "12.50"});
    dbf.write(folder / "tablas" / "VENTAS.DBF");

    std::unique_ptr<framework::TComponent> root = framework::ReadForm(kForm, "Datos.form");
    SetBaseFolders(*root, folder.path());
    auto* taula = dynamic_cast<TTable*>(root->FindComponent("Taula"));
    ASSERT_NE(taula, nullptr);
    ASSERT_EQ(taula->FieldCount(), 3);
    ASSERT_EQ(taula->FieldList().Count(), 4);
    EXPECT_EQ(taula->FieldList()[2]->FullName(), "DIRECCION.CIUDAD");
    auto* code = dynamic_cast<TStringField*>(taula->Fields(0));
    ASSERT_NE(code, nullptr);
    EXPECT_EQ(code->DisplayLabel(), "Código");
    EXPECT_EQ(code->Size(), 6);
    EXPECT_EQ(code->Alignment(), TAlignment::taRightJustify);
    EXPECT_TRUE(dynamic_cast<TFloatField*>(taula->Fields(2))->Currency());

    // The table has no DIRECCION group: the open fails naming the field, and nothing opens.
    try {
        taula->Open();
        FAIL() << "opened";
    } catch (const EDatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find("Field 'DIRECCION'"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(taula->Active());
    delete taula->FieldByName("DIRECCION");
    EXPECT_EQ(taula->FieldCount(), 2);
    taula->Open();
    EXPECT_EQ(taula->FieldByName("IMPORTE")->Value(), automation::Variant(12.5));
    taula->Close();
    dynamic_cast<TDatabase*>(root->FindComponent("DB"))->Close();

    const std::string written = framework::WriteForm(*root);
    EXPECT_NE(written.find("    object TaulaCODIGO: TStringField\n"), std::string::npos) << written;
    EXPECT_NE(written.find("'PATH=tablas'"), std::string::npos) << written;
    EXPECT_NE(written.find("Currency = True"), std::string::npos) << written;
    EXPECT_EQ(written.find("Active"), std::string::npos) << written;
    EXPECT_EQ(written.find("Connected"), std::string::npos) << written;
    std::unique_ptr<framework::TComponent> again = framework::ReadForm(written, "again.form");
    EXPECT_EQ(framework::WriteForm(*again), written);
}

TEST(DataFormFile, AQueryWritesItsModeOnlyWhenItKeepsItsRowsInMemory) {
    RegisterDataClasses();
    const char* form = R"(object Datos: TDataModule
  object Consulta: TSQLiteQuery
    FileName = 'ventas.sqlite'
    SQL.Strings = (
      'SELECT * FROM ventas')
    KeepRowsInMemory = True
  end
end
)";
    std::unique_ptr<framework::TComponent> root = framework::ReadForm(form, "Datos.form");
    auto* query = dynamic_cast<TSQLiteQuery*>(root->FindComponent("Consulta"));
    ASSERT_NE(query, nullptr);
    EXPECT_TRUE(query->KeepRowsInMemory());
    EXPECT_EQ(framework::WriteForm(*root), form);
    query->SetKeepRowsInMemory(false);
    EXPECT_EQ(framework::WriteForm(*root).find("KeepRowsInMemory"), std::string::npos);
}

TEST(DataFormFile, OnlyFieldsNestInsideADataSet) {
    RegisterDataClasses();
    const char* form = R"(object Datos: TDataModule
  object Taula: TTable
    object Otra: TDatabase
    end
  end
end
)";
    try {
        framework::ReadForm(form, "bad.form");
        FAIL() << "read";
    } catch (const framework::FormFileError& e) {
        EXPECT_NE(std::string(e.what()).find("only hold fields"), std::string::npos) << e.what();
    }
}

}  // namespace
}  // namespace tabulix::data
