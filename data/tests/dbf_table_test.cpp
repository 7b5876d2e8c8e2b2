#include <gtest/gtest.h>

#include "data/database.h"
#include "data/dbf_reader.h"
#include "data/field_classes.h"
#include "data/table.h"
#include "data/tests/dbf_fixture.h"

namespace tabulix::data {
namespace {

using automation::Variant;
using testing::DbfFieldSpec;
using testing::DbfFixture;
using testing::TempFolder;

const std::vector<DbfFieldSpec> kArticleFields = {
    {"CODE", 'C', 8}, {"NAME", 'C', 20}, {"QTY", 'N', 5}, {"BIG", 'N', 12}, {"PRICE", 'N', 10, 2},
    {"RATE", 'F', 8, 3}, {"ACTIVE", 'L', 1}, {"SINCE", 'D', 8},
};

// Windows-1252 bytes: "Camión" (0xF3), "Piñata" (0xF1), "Jamón ibérico".
DbfFixture articles(std::uint8_t languageDriver = 0x57) {
    DbfFixture dbf(kArticleFields, 0x03, languageDriver);
    dbf.add({"A001", "Cami\xF3n", "3", "12345678901", "1234.50", "0.125", "T", "20240315"});
    dbf.add({"A002", "Pi\xF1" "ata", "", "", "", "", "?", ""});          // blanks are nulls
    dbf.add({"A003", "borrado", "1", "1", "1.00", "1", "F", "20240101"}, true);  // deleted
    dbf.add({"A004", "Jam\xF3n ib\xE9rico", "-7", "-1", "-0.50", "2.5e1", "y", "19991231"});
    dbf.add({"A005", "", "0", "0", "0.00", "0", "n", "00000000"});
    return dbf;
}

std::unique_ptr<TTable> openTable(const TempFolder& folder, const std::string& tableName) {
    auto table = std::make_unique<TTable>();
    table->SetName("Taula");
    table->SetDatabaseName(folder.path().string());
    table->SetTableName(tableName);
    table->Open();
    return table;
}

std::string openError(const TempFolder& folder, const std::string& tableName) {
    TTable table;
    table.SetName("Taula");
    table.SetDatabaseName(folder.path().string());
    table.SetTableName(tableName);
    try {
        table.Open();
    } catch (const EDatabaseError& e) {
        EXPECT_FALSE(table.Active());
        return e.what();
    }
    return "(opened)";
}

TEST(DbfTable, ReadsEveryColumnTypeSkipsDeletedRecordsAndConvertsText) {
    TempFolder folder;
    articles().write(folder / "ARTICLES.DBF");
    auto table = openTable(folder, "articles");  // no extension, other letter case
    TTable& t = *table;
    EXPECT_EQ(t.CodePage(), 1252);
    ASSERT_EQ(t.FieldCount(), 8);
    EXPECT_NE(dynamic_cast<TStringField*>(t.Fields(0)), nullptr);
    EXPECT_EQ(t.Fields(0)->Size(), 8);
    EXPECT_NE(dynamic_cast<TIntegerField*>(t.Fields(2)), nullptr);
    EXPECT_NE(dynamic_cast<TLargeintField*>(t.Fields(3)), nullptr);
    EXPECT_NE(dynamic_cast<TFloatField*>(t.Fields(4)), nullptr);
    EXPECT_NE(dynamic_cast<TFloatField*>(t.Fields(5)), nullptr);
    EXPECT_NE(dynamic_cast<TBooleanField*>(t.Fields(6)), nullptr);
    EXPECT_NE(dynamic_cast<TDateField*>(t.Fields(7)), nullptr);
    EXPECT_EQ(t.RecordCount(), 4);

    std::vector<std::string> names;
    for (t.First(); !t.Eof(); t.Next()) names.push_back(t.FieldByName("NAME")->AsString());
    EXPECT_EQ(names, (std::vector<std::string>{"Camión", "Piñata", "Jamón ibérico", ""}));

    t.First();
    EXPECT_EQ(t.FieldByName("QTY")->Value(), Variant(std::int32_t{3}));
    EXPECT_EQ(t.FieldByName("BIG")->Value(), Variant(std::int64_t{12345678901}));
    EXPECT_EQ(t.FieldByName("PRICE")->Value(), Variant(1234.5));
    EXPECT_EQ(t.FieldByName("RATE")->Value(), Variant(0.125));
    EXPECT_EQ(t.FieldByName("ACTIVE")->Value(), Variant(true));
    EXPECT_EQ(t.FieldByName("SINCE")->AsString(), "2024-03-15");
    t.Next();
    for (const char* name : {"QTY", "BIG", "PRICE", "RATE", "ACTIVE", "SINCE"})
        EXPECT_TRUE(t.FieldByName(name)->IsNull()) << name;
    t.Next();  // the deleted A003 is skipped
    EXPECT_EQ(t.FieldByName("CODE")->AsString(), "A004");
    EXPECT_EQ(t.RecNo(), 3);
    EXPECT_EQ(t.FieldByName("QTY")->Value(), Variant(std::int32_t{-7}));
    EXPECT_EQ(t.FieldByName("RATE")->Value(), Variant(25.0));
    EXPECT_EQ(t.FieldByName("ACTIVE")->Value(), Variant(true));
    t.Next();
    EXPECT_EQ(t.FieldByName("ACTIVE")->Value(), Variant(false));
    EXPECT_TRUE(t.FieldByName("SINCE")->IsNull());  // 00000000
    EXPECT_EQ(t.FieldByName("PRICE")->Value(), Variant(0.0));
}

TEST(DbfTable, BookmarksSurviveAWalkAcrossDeletedRecords) {
    TempFolder folder;
    articles().write(folder / "a.dbf");
    auto table = openTable(folder, "a.dbf");
    table->Next();
    table->Next();  // A004, after the deleted record
    TBookmark mark = table->GetBookmark();
    for (table->First(); !table->Eof(); table->Next()) {
    }
    EXPECT_EQ(table->RecordCount(), 4);  // counting keeps the position too
    table->GotoBookmark(mark);
    EXPECT_EQ(table->FieldByName("CODE")->AsString(), "A004");
    EXPECT_EQ(table->RecNo(), 3);
    table->Next();
    EXPECT_EQ(table->FieldByName("CODE")->AsString(), "A005");
    table->FreeBookmark(mark);
}

TEST(DbfTable, CodePageComesFromTheLanguageDriverOrTheCpgFile) {
    TempFolder folder;
    // DOS 850: 0xA4 is ñ, 0xA2 is ó, 0x82 is é.
    DbfFixture dos({{"NAME", 'C', 20}}, 0x03, 0x02);
    dos.add({"Pi\xA4" "ata cami\xA2n caf\x82"});
    dos.write(folder / "dos.dbf");
    auto table = openTable(folder, "dos.dbf");
    EXPECT_EQ(table->CodePage(), 850);
    EXPECT_EQ(table->Fields(0)->AsString(), "Piñata camión café");

    // No language driver: Windows-1252, unless a .cpg file says otherwise.
    DbfFixture plain({{"NAME", 'C', 10}}, 0x03, 0x00);
    plain.add({"\xA4\x80"});
    plain.write(folder / "plain.dbf");
    table = openTable(folder, "plain.dbf");
    EXPECT_EQ(table->CodePage(), 1252);
    EXPECT_EQ(table->Fields(0)->AsString(), "¤€");
    table->Close();
    DbfFixture::writeFile(folder / "PLAIN.CPG", "OEM 850\r\n");
    table = openTable(folder, "plain.dbf");
    EXPECT_EQ(table->CodePage(), 850);
    EXPECT_EQ(table->Fields(0)->AsString(), "ñÇ");
    table->Close();

    DbfFixture::writeFile(folder / "plain.cpg", "klingon");
    std::filesystem::remove(folder / "PLAIN.CPG");
    const std::string message = openError(folder, "plain.dbf");
    EXPECT_NE(message.find("klingon"), std::string::npos) << message;
    EXPECT_NE(message.find("plain.dbf"), std::string::npos) << message;
}

// A table that declares no code page: UTF-8 when its texts are, Windows-1252 otherwise; a page
// named on the table overrides whatever the file says.
TEST(DbfTable, UndeclaredCodePageIsUtf8WhenTheTextsAreUtf8) {
    TempFolder folder;
    DbfFixture utf8({{"NAME", 'C', 12}, {"QTY", 'N', 3}}, 0x03, 0x00);
    utf8.add({"plain", "1"});
    utf8.add({"Fran\xC3\xA7" "ais", "2"});
    utf8.add({"abcd\xE2\x82\xAC\xE2\x82\xAC\xE2\x82", "3"});  // a euro sign cut by the column's width
    utf8.write(folder / "utf8.dbf");
    auto table = openTable(folder, "utf8.dbf");
    EXPECT_EQ(table->CodePage(), CodePage::kUtf8);
    EXPECT_NE(table->CodePageOrigin().find("UTF-8"), std::string::npos) << table->CodePageOrigin();
    table->Next();
    EXPECT_EQ(table->Fields(0)->AsString(), "Français");
    table->Close();

    // One byte that is no UTF-8 anywhere in the file decides for the default page.
    DbfFixture mixed({{"NAME", 'C', 12}}, 0x03, 0x00);
    mixed.add({"Fran\xC3\xA7" "ais"});
    mixed.add({"Cami\xF3n"});
    mixed.write(folder / "mixed.dbf");
    table = openTable(folder, "mixed.dbf");
    EXPECT_EQ(table->CodePage(), 1252);
    EXPECT_EQ(table->Fields(0)->AsString(), "FranÃ§ais");
    table->Close();

    // Plain ASCII stays on the default page; so does a table that declares its page.
    DbfFixture ascii({{"NAME", 'C', 12}}, 0x03, 0x00);
    ascii.add({"plain"});
    ascii.write(folder / "ascii.dbf");
    EXPECT_EQ(openTable(folder, "ascii.dbf")->CodePage(), 1252);
    DbfFixture declared({{"NAME", 'C', 12}}, 0x03, 0x57);
    declared.add({"Fran\xC3\xA7" "ais"});
    declared.write(folder / "declared.dbf");
    EXPECT_EQ(openTable(folder, "declared.dbf")->CodePage(), 1252);

    // Memo texts count as much as character columns.
    const auto blocks = testing::writeDbase3Memo(folder / "memo.dbt", {"\xC3\xB1"});
    DbfFixture memo({{"NOTE", 'M', 10}}, 0x83, 0x00);
    memo.add({std::to_string(blocks[0])});
    memo.write(folder / "memo.dbf");
    table = openTable(folder, "memo.dbf");
    EXPECT_EQ(table->Fields(0)->AsString(), "ñ");
    table->Close();

    TTable named;
    named.SetDatabaseName(folder.path().string());
    named.SetTableName("declared.dbf");
    named.SetCodePage(CodePage::kUtf8);
    EXPECT_EQ(named.CodePage(), CodePage::kUtf8);
    named.Open();
    EXPECT_EQ(named.Fields(0)->AsString(), "Français");
    EXPECT_EQ(named.CodePageOrigin(), "as asked");
    EXPECT_THROW(named.SetCodePage(850), EDatabaseError);
}

// LibreOffice's own sample table declares no code page and holds UTF-8 texts.
TEST(DbfTable, LibreOfficeBiblioReadsAsUtf8) {
    const std::filesystem::path biblio = "/usr/lib/libreoffice/presets/database/biblio/biblio.dbf";
    if (!std::filesystem::exists(biblio)) GTEST_SKIP() << "LibreOffice's biblio.dbf is not installed";
    TTable table;
    table.SetDatabaseName(biblio.parent_path().string());
    table.SetTableName(biblio.filename().string());
    table.Open();
    EXPECT_EQ(table.CodePage(), CodePage::kUtf8);
    int found = 0;
    for (; !table.Eof(); table.Next())
        for (int f = 0; f < table.FieldCount(); ++f) {
            const std::string text = table.Fields(f)->AsString();
            EXPECT_EQ(text.find("\xC3\x83"), std::string::npos) << "UTF-8 read as Windows-1252: " << text;
            if (text.find("Rechtschreibprüfung") != std::string::npos || text.find("Français") != std::string::npos)
                ++found;
        }
    EXPECT_GT(found, 0);
}

TEST(DbfTable, RecordsPastTheHeaderCountAreNotReadButReported) {
    TempFolder folder;
    DbfFixture dbf({{"NAME", 'C', 5}});
    dbf.add({"one"}).add({"two"}).add({"three"});
    dbf.recordCount = 1;
    dbf.write(folder / "short.dbf");
    auto table = openTable(folder, "short.dbf");
    EXPECT_EQ(table->RecordCount(), 1);
    ASSERT_EQ(table->Warnings().size(), 1u);
    EXPECT_NE(table->Warnings()[0].find("2 more"), std::string::npos) << table->Warnings()[0];
    EXPECT_NE(table->Warnings()[0].find("short.dbf"), std::string::npos) << table->Warnings()[0];
    table->Close();

    dbf.recordCount = 3;
    dbf.write(folder / "short.dbf");
    table = openTable(folder, "short.dbf");
    EXPECT_TRUE(table->Warnings().empty());
    ASSERT_EQ(table->SourceFiles().size(), 1u);
    EXPECT_EQ(table->SourceFiles()[0].filename(), "short.dbf");
}

TEST(DbfTable, MemoTextsComeFromTheDbtFileWhichMustBeThere) {
    TempFolder folder;
    const auto blocks = testing::writeDbase3Memo(folder / "notes.dbt", {"Primera l\xEDnea\r\nsegunda", "corta"});
    DbfFixture dbf({{"ID", 'N', 3}, {"NOTE", 'M', 10}}, 0x83);
    dbf.add({"1", std::to_string(blocks[0])});
    dbf.add({"2", ""});
    dbf.add({"3", std::to_string(blocks[1])});
    dbf.write(folder / "notes.dbf");
    auto table = openTable(folder, "notes.dbf");
    ASSERT_NE(dynamic_cast<TMemoField*>(table->FieldByName("NOTE")), nullptr);
    EXPECT_EQ(table->FieldByName("NOTE")->AsString(), "Primera línea\r\nsegunda");
    table->Next();
    EXPECT_TRUE(table->FieldByName("NOTE")->IsNull());
    table->Next();
    EXPECT_EQ(table->FieldByName("NOTE")->AsString(), "corta");
    table->Close();

    // A memo block past the end of the memo file is an error on that value, not a crash.
    DbfFixture bad({{"NOTE", 'M', 10}}, 0x83);
    bad.add({"999"});
    bad.write(folder / "notes.dbf");
    table = openTable(folder, "notes.dbf");
    try {
        table->Fields(0)->Value();
        FAIL() << "no error";
    } catch (const EDatabaseError& e) {
        EXPECT_NE(std::string(e.what()).find("record 1, column NOTE"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("notes.dbt"), std::string::npos) << e.what();
    }
    table->Close();

    // Without its memo file the table is refused, naming the file, unless the memos may go.
    std::filesystem::remove(folder / "notes.dbt");
    const std::string message = openError(folder, "notes.dbf");
    EXPECT_NE(message.find("notes.dbt"), std::string::npos) << message;
    EXPECT_NE(message.find("missing"), std::string::npos) << message;
    TTable withoutMemos;
    withoutMemos.SetDatabaseName(folder.path().string());
    withoutMemos.SetTableName("notes.dbf");
    withoutMemos.SetIgnoreMissingMemoFile(true);
    withoutMemos.Open();
    EXPECT_TRUE(withoutMemos.Fields(0)->IsNull());
}

TEST(DbfTable, DbaseFourMemosCarryTheirLength) {
    TempFolder folder;
    std::string memo(512, '\0');
    memo[20] = 0x00;  // block size 512 (0x0200)
    memo[21] = 0x02;
    std::string block = std::string("\xFF\xFF\x08\x00", 4) + std::string("\x0D\x00\x00\x00", 4) + "hola\x1A";
    block.resize(512, '\0');
    DbfFixture::writeFile(folder / "four.dbt", memo + block);
    DbfFixture dbf({{"NOTE", 'M', 10}}, 0x8B);
    dbf.add({"1"});
    dbf.write(folder / "four.dbf");
    auto table = openTable(folder, "four.dbf");
    EXPECT_EQ(table->Fields(0)->AsString(), "hola\x1A");  // the length counts, not the end mark
}

TEST(DbfTable, BadValuesRaiseNamingFileRecordAndColumn) {
    TempFolder folder;
    DbfFixture dbf({{"WHEN", 'D', 8}, {"OK", 'L', 1}, {"N", 'N', 6}, {"P", 'N', 8, 2}});
    dbf.add({"20240315", "T", "12", "1.5"});
    dbf.add({"20230230", "X", "12x", "*****"});
    dbf.add({"2024031", "T", "12.0", "1.5"});
    dbf.write(folder / "bad.dbf");
    auto table = openTable(folder, "bad.dbf");
    table->Next();
    auto expectError = [&](const char* field, const char* text) {
        try {
            table->FieldByName(field)->Value();
            ADD_FAILURE() << field << ": no error";
        } catch (const EDatabaseError& e) {
            const std::string message = e.what();
            EXPECT_NE(message.find("bad.dbf, record 2, column " + std::string(field)), std::string::npos) << message;
            EXPECT_NE(message.find(text), std::string::npos) << message;
        }
    };
    expectError("WHEN", "'20230230' is not a valid date");
    expectError("OK", "'X' is not a logical value");
    expectError("N", "'12x' is not a whole number");
    expectError("P", "did not fit");
    table->Next();
    EXPECT_THROW(table->FieldByName("WHEN")->Value(), EDatabaseError);  // a blank inside a date
    EXPECT_EQ(table->FieldByName("N")->Value(), Variant(std::int32_t{12}));  // "12.0" is whole
}

TEST(DbfTable, DamagedHeadersAreRefusedWithTheFileName) {
    TempFolder folder;
    auto expectRefused = [&](const DbfFixture& dbf, const std::string& problem) {
        dbf.write(folder / "damaged.dbf");
        const std::string message = openError(folder, "damaged.dbf");
        EXPECT_NE(message.find("damaged.dbf"), std::string::npos) << message;
        EXPECT_NE(message.find(problem), std::string::npos) << message;
    };
    DbfFixture base({{"A", 'C', 4}, {"B", 'N', 3}});
    base.add({"x", "1"}).add({"y", "2"});

    DbfFixture tooMany = base;
    tooMany.recordCount = 1000;
    expectRefused(tooMany, "announces 1000 records");
    DbfFixture huge = base;
    huge.recordCount = 0xFFFFFFFFu;
    expectRefused(huge, "records");
    DbfFixture longRecords = base;
    longRecords.recordLength = 60000;
    expectRefused(longRecords, "records of 60000 bytes");
    DbfFixture shortRecords = base;
    shortRecords.recordLength = 4;
    expectRefused(shortRecords, "need 8 bytes per record");
    DbfFixture shortHeader = base;
    shortHeader.headerLength = 32 + 32 + 8;  // the second descriptor runs past the header
    expectRefused(shortHeader, "runs past the end of the header");
    DbfFixture headerPastEnd = base;
    headerPastEnd.headerLength = 5000;
    expectRefused(headerPastEnd, "header length 5000");
    DbfFixture noColumns({});
    expectRefused(noColumns, "");
    DbfFixture version({{"A", 'C', 4}}, 0x47);
    expectRefused(version, "unknown version byte");
    DbfFixture zeroWidth({{"A", 'C', 0}});
    expectRefused(zeroWidth, "width 0");
    DbfFixture wideDate({{"D", 'D', 9}});
    expectRefused(wideDate, "is a date but 9 wide");
    DbfFixture decimals({{"N", 'N', 4, 6}});
    expectRefused(decimals, "6 decimals in a width of 4");

    DbfFixture::writeFile(folder / "empty.dbf", "");
    EXPECT_NE(openError(folder, "empty.dbf").find("only 0 bytes"), std::string::npos);
    DbfFixture::writeFile(folder / "tiny.dbf", "\x03\x01");
    EXPECT_NE(openError(folder, "tiny.dbf").find("only 2 bytes"), std::string::npos);
    EXPECT_NE(openError(folder, "missing.dbf").find("does not exist"), std::string::npos);

    // A missing end-of-file mark and trailing bytes do no harm.
    DbfFixture noMark = base;
    noMark.endMark = false;
    noMark.write(folder / "ok.dbf");
    EXPECT_EQ(openTable(folder, "ok.dbf")->RecordCount(), 2);

    // Unsupported column types are named.
    DbfFixture binary({{"PIC", 'B', 10}});
    binary.write(folder / "binary.dbf");
    EXPECT_NE(openError(folder, "binary.dbf").find("has type 'B'"), std::string::npos);
}

TEST(DbfTable, DatabaseResolvesRelativePathsAgainstItsBaseFolder) {
    TempFolder folder;
    std::filesystem::create_directories(folder / "Demo");
    articles().write(folder / "Demo" / "Demo.DBF");
    framework::TComponent form(nullptr);
    auto* db = new TDatabase(&form);
    db->SetName("DB");
    db->SetDatabaseName("DB");
    db->Params().Add("PATH=Demo\\");
    db->Params().Add("ENABLE BCD=FALSE");
    db->Params().Add("DEFAULT DRIVER=DBASE");
    db->SetBaseFolder(folder.path());
    auto* taula = new TTable(&form);
    taula->SetName("Taula");
    taula->SetDatabaseName("db");
    taula->SetTableName("Demo.DBF");
    taula->Open();  // connects the database on demand
    EXPECT_TRUE(db->Connected());
    EXPECT_EQ(db->Directory(), std::filesystem::weakly_canonical(folder / "Demo"));
    EXPECT_EQ(taula->Database(), db);
    EXPECT_EQ(taula->RecordCount(), 4);
    EXPECT_THROW(db->SetDatabaseName("OTHER"), EDatabaseError);
    db->Close();  // closes its tables first
    EXPECT_FALSE(taula->Active());

    // ENABLE BCD=TRUE makes numeric columns with decimals BCD fields.
    db->Params().SetValues("ENABLE BCD", "TRUE");
    taula->Open();
    auto* price = dynamic_cast<TBCDField*>(taula->FieldByName("PRICE"));
    ASSERT_NE(price, nullptr);
    EXPECT_EQ(price->Value(), Variant(automation::Currency{12345000}));
    EXPECT_NE(dynamic_cast<TFloatField*>(taula->FieldByName("RATE")), nullptr);  // F stays float
    taula->Close();
    db->Close();

    auto failure = [&](const char* name, const char* value) {
        db->Params().SetValues(name, value);
        try {
            db->Open();
            ADD_FAILURE() << name << "=" << value << " accepted";
        } catch (const EDatabaseError& e) {
            EXPECT_NE(std::string(e.what()).find("Database DB"), std::string::npos) << e.what();
        }
        EXPECT_FALSE(db->Connected());
    };
    failure("PATH", "c:\\tabulix\\Nowhere\\");
    db->Params().SetValues("PATH", "Demo");
    failure("DEFAULT DRIVER", "PARADOX");
    db->Params().SetValues("DEFAULT DRIVER", "DBASE");
    failure("ENABLE BCD", "MAYBE");
    db->Params().SetValues("ENABLE BCD", "FALSE");
    db->SetDriverName("INTRBASE");
    EXPECT_THROW(db->Open(), EDatabaseError);
    db->SetDriverName("STANDARD");
    db->Open();

    // Deleting the database closes the table and forgets it.
    taula->Open();
    delete db;
    EXPECT_FALSE(taula->Active());
    taula->SetDatabaseName("DB");
    try {
        taula->Open();
        FAIL() << "opened without a database";
    } catch (const EDatabaseError& e) {
        EXPECT_STREQ(e.what(), "Table Taula: there is no database named 'DB' and no folder of that name");
    }
}

TEST(DbfTable, TablesOfOtherOwnersFindTheDatabaseInTheSession) {
    TempFolder folder;
    articles().write(folder / "a.dbf");
    framework::TComponent dataModule(nullptr);
    auto* db = new TDatabase(&dataModule);
    db->SetDatabaseName("Ventas");
    db->Params().Add("PATH=" + folder.path().string());  // absolute: the base folder plays no part
    db->SetBaseFolder("/nonexistent");
    framework::TComponent form(nullptr);
    auto* table = new TTable(&form);
    table->SetDatabaseName("VENTAS");
    table->SetTableName("A.DBF");
    table->Open();
    EXPECT_EQ(table->Database(), db);
    EXPECT_TRUE(table->Bof());
    table->Next();
    EXPECT_FALSE(table->Bof());
    EXPECT_EQ(TDatabase::Find("ventas", nullptr), db);
    EXPECT_EQ(TDatabase::Find("Compras", &form), nullptr);
}

TEST(DbfTable, PersistentFieldsBindAndCheckTheirColumns) {
    TempFolder folder;
    articles().write(folder / "a.dbf");
    TTable table;
    table.SetName("Taula");
    table.SetDatabaseName(folder.path().string());
    table.SetTableName("a.dbf");
    auto* code = new TStringField(&table);
    code->SetFieldName("CODE");
    code->SetSize(8);
    auto* price = new TFloatField(&table);
    price->SetFieldName("PRICE");
    price->SetCurrency(true);
    table.Open();
    EXPECT_EQ(table.FieldCount(), 2);
    EXPECT_EQ(price->Value(), Variant(1234.5));
    table.Close();

    auto* wrong = new TIntegerField(&table);
    wrong->SetFieldName("NAME");
    try {
        table.Open();
        FAIL() << "opened";
    } catch (const EDatabaseError& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find("Field 'NAME' (TIntegerField)"), std::string::npos) << message;
        EXPECT_NE(message.find("column 'NAME' of type ftString(20)"), std::string::npos) << message;
        EXPECT_NE(message.find("a.dbf"), std::string::npos) << message;
    }
    EXPECT_FALSE(table.Active());
    wrong->SetFieldName("NOPE");
    EXPECT_THROW(table.Open(), EDatabaseError);
    delete wrong;
    table.Open();
    EXPECT_TRUE(table.Active());
}

TEST(DbfReader, LargeFilesAreReadOneRecordAtATime) {
    TempFolder folder;
    DbfFixture dbf({{"N", 'N', 8}});
    for (int i = 0; i < 5000; ++i) dbf.add({std::to_string(i)}, i % 3 == 0);
    dbf.write(folder / "many.dbf");
    DbfReader reader(folder / "many.dbf");
    EXPECT_EQ(reader.recordCount(), 5000);
    reader.load(4999);
    EXPECT_EQ(reader.value(0), Variant(std::int32_t{4999}));
    EXPECT_THROW(reader.load(5000), EDatabaseError);
    EXPECT_THROW(reader.load(-1), EDatabaseError);
    auto table = openTable(folder, "many.dbf");
    std::int64_t sum = 0;
    for (table->First(); !table->Eof(); table->Next()) sum += table->Fields(0)->Value().toInt64();
    std::int64_t expected = 0;
    for (int i = 0; i < 5000; ++i)
        if (i % 3 != 0) expected += i;
    EXPECT_EQ(sum, expected);
    EXPECT_EQ(table->RecNo(), table->RecordCount());
}

}  // namespace
}  // namespace tabulix::data
