// CSV files as data sets: quoting, byte-order marks and code pages, delimiters, the types worked
// out from the values or declared in the form, damaged records named by line and column, and
// walking with bookmarks.

#include <gtest/gtest.h>

#include <fstream>

#include "data/csv_table.h"
#include "data/data_classes.h"
#include "data/date_time.h"
#include "data/field_classes.h"
#include "data/tests/dbf_fixture.h"
#include "framework/form_reader.h"
#include "framework/form_writer.h"

namespace tabulix::data {
namespace {

using automation::Variant;
using testing::TempFolder;

class CsvTableTest : public ::testing::Test {
protected:
    // Writes `bytes` as the table's file and opens it.
    void open(const std::string& bytes) {
        write(bytes);
        table.Open();
    }
    void write(const std::string& bytes) {
        std::ofstream(folder / "datos.csv", std::ios::binary) << bytes;
        table.SetBaseFolder(folder.path());
        table.SetFileName("datos.csv");
    }
    std::string openError(const std::string& bytes) {
        write(bytes);
        return errorOf([&] { table.Open(); });
    }
    template <class Action> std::string errorOf(Action action) {
        try {
            action();
        } catch (const EDatabaseError& e) {
            return e.what();
        }
        return "(none)";
    }
    // Every record's values in field order, walked from the first.
    std::vector<std::vector<Variant>> rows() {
        std::vector<std::vector<Variant>> all;
        for (table.First(); !table.Eof(); table.Next()) {
            all.emplace_back();
            for (int f = 0; f < table.FieldCount(); ++f) all.back().push_back(table.Fields(f)->Value());
        }
        return all;
    }

    TempFolder folder;
    TCsvTable table;
};

TEST_F(CsvTableTest, QuotedValuesKeepDelimitersQuotesAndLineBreaks) {
    open("code,note,amount\r\n"
         "A1,\"one, two\",1\r\n"
         "A2,\"say \"\"hi\"\"\",2\r\n"
         "A3,\"first line\r\nsecond line\",3\r\n"
         "A4,,4");  // no line break at the end
    ASSERT_EQ(table.FieldCount(), 3);
    const auto all = rows();
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all[0][1], Variant("one, two"));
    EXPECT_EQ(all[1][1], Variant("say \"hi\""));
    EXPECT_EQ(all[2][1], Variant("first line\nsecond line"));
    EXPECT_TRUE(all[3][1].isNull());
    EXPECT_EQ(all[3][2], Variant(std::int64_t{4}));
    EXPECT_EQ(table.RecordCount(), 4);
}

TEST_F(CsvTableTest, ByteOrderMarksAndCodePages) {
    // A UTF-8 mark is not part of the first heading.
    open("\xEF\xBB\xBFnombre;ciudad\nPi\xC3\xB1" "a;M\xC3\xA1laga\n");
    EXPECT_EQ(table.Fields(0)->FieldName(), "nombre");
    EXPECT_EQ(table.CodePage(), 65001);
    EXPECT_EQ(table.Fields(1)->Value(), Variant("Málaga"));
    EXPECT_EQ(table.Delimiter(), ';');
    table.Close();

    // Bytes that are not UTF-8 are read as Windows-1252 unless a page is declared.
    open("nombre\nPi\xF1" "a\n");
    EXPECT_EQ(table.CodePage(), 1252);
    EXPECT_NE(table.CodePageOrigin().find("detected"), std::string::npos);
    EXPECT_EQ(table.Fields(0)->Value(), Variant("Piña"));
    table.Close();
    table.SetCodePage(850);
    open("nombre\nPi\xA4" "a\n");
    EXPECT_EQ(table.Fields(0)->Value(), Variant("Piña"));
    EXPECT_EQ(table.CodePageOrigin(), "declared");
    table.Close();

    const std::string utf16 = openError(std::string("\xFF\xFE" "a\0,\0b\0", 8));
    EXPECT_NE(utf16.find("UTF-16"), std::string::npos) << utf16;
}

TEST_F(CsvTableTest, DelimitersAreDetectedOrDeclared) {
    open("a\tb;c\tx\n1\t2;3\t4\n");
    EXPECT_EQ(table.Delimiter(), '\t');
    EXPECT_EQ(table.FieldCount(), 3);
    EXPECT_EQ(table.Fields(1)->Value(), Variant("2;3"));
    table.Close();
    table.SetDelimiter(";");
    open("a\tb;c\tx\n1\t2;3\t4\n");
    EXPECT_EQ(table.FieldCount(), 2);
    table.Close();
    EXPECT_NE(errorOf([&] { table.SetDelimiter("\""); }).find("one character"), std::string::npos);
    table.SetDelimiter("tab");
    EXPECT_EQ(table.RequestedDelimiter(), "TAB");
}

TEST_F(CsvTableTest, TypesComeFromTheValues) {
    open("entero;punto;coma;codigo;activo;fecha;momento;hora;texto;vacio\n"
         "12;1.5;1,5;007;true;2024-03-01;2024-03-01 10:30;08:15;abc;\n"
         "-3;2;2;010;No;2024-12-31;2024-12-31;23:59:59;12;\n"
         ";;;;;;;;;\n");
    const auto type = [&](const char* name) { return table.FieldByName(name)->DataType(); };
    EXPECT_EQ(type("entero"), TFieldType::ftLargeint);
    EXPECT_EQ(type("punto"), TFieldType::ftFloat);
    EXPECT_EQ(type("coma"), TFieldType::ftFloat);
    EXPECT_EQ(type("codigo"), TFieldType::ftString);  // leading zeros are kept
    EXPECT_EQ(type("activo"), TFieldType::ftBoolean);
    EXPECT_EQ(type("fecha"), TFieldType::ftDate);
    EXPECT_EQ(type("momento"), TFieldType::ftDateTime);
    EXPECT_EQ(type("hora"), TFieldType::ftTime);
    EXPECT_EQ(type("texto"), TFieldType::ftString);
    EXPECT_EQ(type("vacio"), TFieldType::ftString);

    const auto all = rows();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0][1], Variant(1.5));
    EXPECT_EQ(all[0][2], Variant(1.5));
    EXPECT_EQ(all[1][2], Variant(2.0));
    EXPECT_EQ(all[0][3], Variant("007"));
    EXPECT_EQ(all[1][4], Variant(false));
    EXPECT_EQ(formatIsoDateTime(all[0][6].toDate()), "2024-03-01 10:30:00");
    EXPECT_EQ(formatIsoTime(all[1][7].toDate()), "23:59:59");
    // Empty values are nulls (empty cells), whatever the type.
    for (std::size_t c = 0; c < all[2].size(); ++c) EXPECT_TRUE(all[2][c].isNull()) << c;
}

TEST_F(CsvTableTest, DeclaredSeparatorsAndDateOrders) {
    // With a decimal comma declared, "1.5" no longer reads as a number.
    table.SetDecimalSeparator(",");
    table.SetDateOrder("DMY");
    open("importe;punto;fecha\n1234,5;1.5;31/12/2024\n7;2.5;1.3.2024 12:00\n");
    EXPECT_EQ(table.FieldByName("importe")->DataType(), TFieldType::ftFloat);
    EXPECT_EQ(table.FieldByName("punto")->DataType(), TFieldType::ftString);
    EXPECT_EQ(table.FieldByName("fecha")->DataType(), TFieldType::ftDateTime);
    EXPECT_EQ(table.FieldByName("importe")->Value(), Variant(1234.5));
    EXPECT_EQ(formatIsoDate(table.FieldByName("fecha")->Value().toDate()), "2024-12-31");
    table.Next();
    EXPECT_EQ(formatIsoDateTime(table.FieldByName("fecha")->Value().toDate()), "2024-03-01 12:00:00");
    table.Close();
    // Without a date order, 31/12/2024 is a text: it could be read either way.
    table.SetDateOrder("");
    open("fecha\n31/12/2024\n");
    EXPECT_EQ(table.Fields(0)->DataType(), TFieldType::ftString);
    EXPECT_NE(errorOf([&] { table.Close(), table.SetDateOrder("DD/MM"); }).find("DMY, MDY or YMD"), std::string::npos);
}

TEST_F(CsvTableTest, PersistentFieldsDeclareTheirColumnsTypes) {
    auto* code = new TFloatField(&table);
    code->SetFieldName("codigo");
    auto* name = new TStringField(&table);
    name->SetFieldName("importe");
    open("codigo;importe;otro\n007,50;12;x\n1;3,25;y\n");
    ASSERT_EQ(table.FieldCount(), 2);
    EXPECT_EQ(code->Value(), Variant(7.5));
    EXPECT_EQ(name->Value(), Variant("12"));
    table.Next();
    EXPECT_EQ(code->Value(), Variant(1.0));
    EXPECT_EQ(name->Value(), Variant("3,25"));
}

TEST_F(CsvTableTest, DamagedRecordsNameTheirLineAndColumn) {
    // A quoted value with a line break moves the lines on: the damage is on line 4.
    std::string message = openError("a,b\n1,\"x\ny\"\n2,\"z\"q\n");
    EXPECT_NE(message.find("datos.csv"), std::string::npos) << message;
    EXPECT_NE(message.find("line 4, column 2 (b), character 6: text after the closing quote"), std::string::npos)
        << message;

    message = openError("a,b\n1,2\n3,\"never closed\n4,5\n");
    EXPECT_NE(message.find("line 3, column 2 (b), character 3: the quoted value that begins here does not end"),
              std::string::npos)
        << message;

    message = openError("a,b,c\n1,2,3\n4,5\n");
    EXPECT_NE(message.find("line 3: 2 values where the header names 3 columns"), std::string::npos) << message;
    message = openError("a,b\n1,2,3\n");
    EXPECT_NE(message.find("line 2, column 3: a 3rd value"), std::string::npos) << message;

    // A value past the records the types were worked out from.
    std::string bytes = "id;importe\n";
    for (int i = 0; i < 1100; ++i) bytes += std::to_string(i) + ";" + std::to_string(i) + ",5\n";
    bytes += "1100;n/a\n";
    open(bytes);
    message = errorOf([&] {
        for (table.First(); !table.Eof(); table.Next()) table.Fields(1)->Value();
    });
    EXPECT_NE(message.find("line 1102, column 2 (importe): 'n/a' is not a number"), std::string::npos) << message;
}

TEST_F(CsvTableTest, HeadingsWithoutHeaderLineAndRepeatedNames) {
    open("x,x,\n1,2,3\n");
    EXPECT_EQ(table.Fields(1)->FieldName(), "x_2");
    EXPECT_EQ(table.Fields(2)->FieldName(), "COLUMN3");
    table.Close();
    table.SetHeaderLine(false);
    open("1,2\n\n3,4\n");
    EXPECT_EQ(table.Fields(0)->FieldName(), "COLUMN1");
    EXPECT_EQ(rows().size(), 2u);  // the empty line is no record
    table.Close();
    EXPECT_NE(openError("").find("empty"), std::string::npos);
}

TEST_F(CsvTableTest, BookmarksCountsAndWalksKeepTheirRecords) {
    std::string bytes = "n,texto\n";
    for (int i = 1; i <= 50; ++i) bytes += std::to_string(i) + ",\"linea\n" + std::to_string(i) + "\"\n";
    open(bytes);
    EXPECT_EQ(table.RecordCount(), 50);
    for (int i = 1; i < 10; ++i) table.Next();
    const TBookmark mark = table.GetBookmark();
    while (!table.Eof()) table.Next();
    EXPECT_EQ(table.Fields(0)->Value(), Variant(std::int64_t{50}));
    table.GotoBookmark(mark);
    EXPECT_EQ(table.Fields(0)->Value(), Variant(std::int64_t{10}));
    EXPECT_EQ(table.RecNo(), 10);
    table.Next();
    EXPECT_EQ(table.Fields(1)->Value(), Variant("linea\n11"));
    table.FreeBookmark(mark);
    EXPECT_EQ(rows().size(), 50u);

    // The file rewritten while open: going back refuses rather than mix two files.
    const TBookmark again = table.GetBookmark();
    std::ofstream(folder / "datos.csv", std::ios::binary | std::ios::app) << "51,x\n";
    table.GotoBookmark(again);  // never fails: the record is kept
    EXPECT_NE(errorOf([&] { table.First(); }).find("changed while the table was open"), std::string::npos);
}

TEST(CsvTableForm, AFormFileDeclaresTheTableAndWritesItBack) {
    RegisterDataClasses();
    const char* form = R"(object Datos: TDataModule
  object Ventas: TCsvTable
    FileName = 'ventas.csv'
    Delimiter = ';'
    CodePage = 1252
    HeaderLine = False
    DecimalSeparator = ','
    DateOrder = 'DMY'
    object VentasCOLUMN1: TStringField
      FieldName = 'COLUMN1'
      Size = 20
    end
  end
end
)";
    std::unique_ptr<framework::TComponent> root = framework::ReadForm(form, "Datos.form");
    auto* table = dynamic_cast<TCsvTable*>(root->FindComponent("Ventas"));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->RequestedCodePage(), 1252);
    EXPECT_FALSE(table->HeaderLine());
    EXPECT_EQ(framework::WriteForm(*root), form);
}

}  // namespace
}  // namespace tabulix::data
