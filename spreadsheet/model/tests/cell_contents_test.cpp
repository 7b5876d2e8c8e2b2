#include <gtest/gtest.h>

#include <cmath>

#include "automation/automation_error.h"
#include "spreadsheet/numfmt/number_format_table.h"
#include "spreadsheet_test_support.h"

using namespace tabulix::spreadsheet;
using namespace tabulix::spreadsheet::testing;
using tabulix::automation::AutomationError;
using tabulix::automation::Currency;
using tabulix::automation::Date;
using tabulix::automation::ErrorValue;
using tabulix::automation::VariantType;

class CellContents : public SpreadsheetTest {
protected:
    std::string formatCode(const std::string& cell) {
        return range(cell)->get(dispid::NumberFormat).toText();
    }
};

TEST_F(CellContents, ValuesOfEveryKindReadBackAsStored) {
    putValue("A1", Variant(42));
    putValue("A2", Variant(std::int64_t{1} << 40));
    putValue("A3", Variant(-2.5));
    putValue("A4", Variant("texto"));
    putValue("A5", Variant(true));
    putValue("A6", Variant(ErrorValue{static_cast<std::int32_t>(0x800A07FAu)}));  // #N/A
    putValue("A7", Variant(std::nan("")));
    EXPECT_EQ(range("A1")->get(dispid::Value), Variant(42.0));
    EXPECT_EQ(range("A2")->get(dispid::Value), Variant(1099511627776.0));
    EXPECT_EQ(range("A3")->get(dispid::Value), Variant(-2.5));
    EXPECT_EQ(range("A4")->get(dispid::Value), Variant("texto"));
    EXPECT_EQ(range("A5")->get(dispid::Value), Variant(true));
    EXPECT_EQ(sheet->cellValue({6, 1}), CellValue(CellError::NA));
    EXPECT_EQ(sheet->cellValue({7, 1}), CellValue(CellError::Num));  // not a number cannot be stored as one
    EXPECT_TRUE(range("B1")->get(dispid::Value).isEmpty());
    // Empty and Null clear the contents but keep the format.
    object(range("A1")->get(dispid::Font))->put(dispid::Bold, Variant(true));
    putValue("A1", Variant());
    putValue("A4", Variant::null());
    EXPECT_TRUE(range("A1")->get(dispid::Value).isEmpty());
    EXPECT_TRUE(range("A4")->get(dispid::Value).isEmpty());
    EXPECT_TRUE(sheet->cellStyle({1, 1}).font.bold);
    // Refused values leave the cell as it was.
    EXPECT_THROW(putValue("A3", Variant(ErrorValue{5})), AutomationError);
    EXPECT_THROW(putValue("A3", Variant::missing()), AutomationError);
    EXPECT_THROW(putValue("A3", Variant(DispatchPtr(book))), AutomationError);
    EXPECT_THROW(putValue("A3", Variant(std::string(32768, 'x'))), AutomationError);
    EXPECT_EQ(range("A3")->get(dispid::Value), Variant(-2.5));
    EXPECT_THROW(range("A1", "A2")->get(dispid::Value), AutomationError);
}

TEST_F(CellContents, TextBeginningWithEqualsStaysTextThroughValue) {
    putValue("A1", Variant("=SUM(B1:B3)"));
    EXPECT_EQ(range("A1")->get(dispid::Value), Variant("=SUM(B1:B3)"));
    EXPECT_EQ(sheet->formulaText({1, 1}), nullptr);
    putValue("A2", Variant("00123"));  // data stays data: no number made of it
    EXPECT_EQ(range("A2")->get(dispid::Value).type(), VariantType::Text);
    // Formula makes a formula; plain entries through Formula become typed values.
    range("A3")->put(dispid::Formula, Variant("=SUM(B1:B3)"));
    ASSERT_NE(sheet->formulaText({3, 1}), nullptr);
    EXPECT_EQ(*sheet->formulaText({3, 1}), "=SUM(B1:B3)");
    EXPECT_EQ(range("A3")->get(dispid::Formula), Variant("=SUM(B1:B3)"));
    EXPECT_EQ(range("A3")->get(dispid::Value), Variant(0.0));  // calculated at once: B1:B3 are empty
    sheet->setFormulaResult({3, 1}, 6.0);
    EXPECT_EQ(range("A3")->get(dispid::Value), Variant(6.0));
    range("A4")->put(dispid::Formula, Variant("12.5"));
    range("A5")->put(dispid::Formula, Variant("true"));
    range("A6")->put(dispid::Formula, Variant("'12"));
    EXPECT_EQ(range("A4")->get(dispid::Value), Variant(12.5));
    EXPECT_EQ(range("A5")->get(dispid::Value), Variant(true));
    EXPECT_EQ(range("A6")->get(dispid::Value), Variant("12"));
    EXPECT_EQ(range("A4")->get(dispid::Formula), Variant("12.5"));
    // Overwriting a formula with a value drops the formula.
    putValue("A3", Variant(1));
    EXPECT_EQ(sheet->formulaText({3, 1}), nullptr);
    EXPECT_THROW(sheet->setFormulaResult({3, 1}, 2.0), AutomationError);
    EXPECT_THROW(range("A1", "A2")->put(dispid::Formula, Variant("=B1")), AutomationError);
    int formulas = 0;
    range("C1")->put(dispid::Formula, Variant("=A1*2"));
    sheet->forEachFormula([&](CellAddress at, const std::string& text) {
        EXPECT_EQ(at, (CellAddress{1, 3}));
        EXPECT_EQ(text, "=A1*2");
        ++formulas;
    });
    EXPECT_EQ(formulas, 1);
}

TEST_F(CellContents, DatesAndCurrencyGetFormatsWhileTheFormatIsGeneral) {
    putValue("A1", Variant(Date::fromYmd(2024, 3, 15)));
    putValue("A2", Variant(Date{45366.5}));
    putValue("A3", Variant(Currency::fromDouble(12.5)));
    putValue("A4", Variant(Date::fromYmd(2024, 3, 15)), tabulix::automation::kLcidEnglishUS);
    EXPECT_EQ(formatCode("A1"), "dd/mm/yyyy");
    EXPECT_EQ(formatCode("A2"), "dd/mm/yyyy h:mm");
    EXPECT_EQ(formatCode("A4"), "m/d/yyyy");
    EXPECT_NE(formatCode("A3").find("0.00"), std::string::npos) << formatCode("A3");
    EXPECT_NE(formatCode("A3").find("\xE2\x82\xAC"), std::string::npos) << formatCode("A3");  // euro sign
    EXPECT_EQ(range("A1")->get(dispid::Value), Variant(Date::fromYmd(2024, 3, 15)));
    EXPECT_EQ(range("A3")->get(dispid::Value), Variant(12.5));
    // A format already chosen is kept.
    range("B1")->put(dispid::NumberFormat, Variant("0.000"), tabulix::automation::kLcidEnglishUS);
    putValue("B1", Variant(Currency::fromDouble(3)));
    putValue("B2", Variant(Currency::fromDouble(3)));
    EXPECT_EQ(formatCode("B1"), "0.000");
    // Plain numbers do not change a format, nor does a number replacing a date.
    putValue("A1", Variant(7));
    EXPECT_EQ(formatCode("A1"), "dd/mm/yyyy");
    putValue("C1", Variant(7));
    EXPECT_EQ(formatCode("C1"), "General");
    // The displayed text follows the format.
    EXPECT_EQ(sheet->displayedText({4, 1}), "3/15/2024");
}

TEST_F(CellContents, NumberFormatsAreReadInTheCallersNotation) {
    range("A1")->put(dispid::NumberFormat, Variant("#.##0,00"), tabulix::automation::kLcidSpanishSpain);
    range("A2")->put(dispid::NumberFormat, Variant("#,##0.00"), tabulix::automation::kLcidEnglishUS);
    range("A3")->put(dispid::NumberFormat, Variant(""), tabulix::automation::kLcidSpanishSpain);
    EXPECT_EQ(formatCode("A1"), "#,##0.00");
    EXPECT_EQ(formatCode("A2"), "#,##0.00");
    EXPECT_EQ(formatCode("A3"), "General");
    EXPECT_EQ(sheet->cellStyle({1, 1}).numberFormat, sheet->cellStyle({2, 1}).numberFormat);  // one table entry
    putValue("A1", Variant(1234.5));
    EXPECT_EQ(sheet->displayedText({1, 1}), "1.234,50");  // shown with the application's conventions
    try {
        range("A4")->put(dispid::NumberFormat, Variant("0.00\""), tabulix::automation::kLcidEnglishUS);
        ADD_FAILURE() << "an unterminated quote was accepted";
    } catch (const AutomationError& e) {
        EXPECT_NE(std::string(e.what()).find("Range.NumberFormat"), std::string::npos) << e.what();
    }
}

TEST_F(CellContents, PlainNumericCellsStayCompact) {
    for (std::uint32_t r = 1; r <= 2000; ++r)
        for (std::uint32_t c = 1; c <= 9; ++c) sheet->setValue(CellRect{{r, c}, {r, c}}, Variant(r * 0.5 + c), 0);
    const double perCell = static_cast<double>(sheet->cells().memoryUse()) / sheet->cells().cellCount();
    EXPECT_LE(perCell, 24.0 + 4096.0 * 8 / 18000);  // cells and rows, plus the fixed block index
    // Writing out of order keeps each row sorted.
    sheet->setValue(CellRect{{5000, 3}, {5000, 3}}, Variant(3), 0);
    sheet->setValue(CellRect{{5000, 1}, {5000, 1}}, Variant(1), 0);
    sheet->setValue(CellRect{{5000, 2}, {5000, 2}}, Variant(2), 0);
    const auto row = sheet->cells().row(5000);
    ASSERT_EQ(row.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(row[i].column0, i);
}
