// Formulas in worksheets through the automation entry: refusal of texts the engine does not
// accept, results at once, recalculation when precedents change, references to other sheets,
// loops, and fitting columns to what formulas show.

#include <gtest/gtest.h>

#include "automation/automation_error.h"
#include "spreadsheet_test_support.h"
#include "workbook_formulas.h"

using namespace tabulix::spreadsheet;
using namespace tabulix::spreadsheet::testing;
using tabulix::automation::AutomationError;
using tabulix::automation::ErrorValue;
using tabulix::automation::InvokeKind;

namespace {

Variant errorVariant(CellError error) {
    return Variant(ErrorValue{static_cast<std::int32_t>(0x800A0000u) | static_cast<std::int32_t>(error)});
}

}  // namespace

class WorksheetFormulas : public SpreadsheetTest {
protected:
    void putFormula(const std::string& cell, const std::string& text) {
        range(cell)->put(dispid::Formula, Variant(text));
    }
    void putFormula(Worksheet& on, const std::string& cell, const std::string& text) {
        object(on.get(dispid::Range, {Variant(cell)}))->put(dispid::Formula, Variant(text));
    }
    Variant valueOf(const std::string& cell) { return range(cell)->get(dispid::Value); }
    Variant valueOf(Worksheet& on, const std::string& cell) {
        return object(on.get(dispid::Range, {Variant(cell)}))->get(dispid::Value);
    }
    std::string formulaOf(const std::string& cell) { return range(cell)->get(dispid::Formula).toText(); }

    std::shared_ptr<Worksheet> addWorksheet() {
        return std::static_pointer_cast<Worksheet>(book->addSheets(SheetType::Worksheet));
    }
};

TEST_F(WorksheetFormulas, RefusedTextsLeaveTheCellAsItWasAndSayWhy) {
    putValue("A1", Variant(5));
    object(range("A1")->get(dispid::Font))->put(dispid::Bold, Variant(true));
    putFormula("B1", "=A1*2");
    const std::pair<const char*, const char*> refused[] = {
        {"=SUM(", "position 6"}, {"=1+", "position 4"}, {"=FOO(A1)", "FOO"}, {"=A0", "position 2"},
        {"=SUM(A1,", "position 9"}, {"=(1", "position 4"}, {"=1 2", "position 4"},
    };
    for (const auto& [text, detail] : refused) {
        for (const char* cell : {"A1", "B1", "C1"}) {
            try {
                putFormula(cell, text);
                ADD_FAILURE() << text << " was accepted in " << cell;
            } catch (const AutomationError& e) {
                const std::string message = e.what();
                EXPECT_EQ(message.rfind("Range.Formula: ", 0), 0u) << message;
                EXPECT_NE(message.find(text), std::string::npos) << message;
                EXPECT_NE(message.find(detail), std::string::npos) << message;
                EXPECT_NE(message.find(std::string("cell ") + cell), std::string::npos) << message;
            }
        }
    }
    EXPECT_EQ(valueOf("A1"), Variant(5.0));
    EXPECT_EQ(formulaOf("A1"), "5");
    EXPECT_TRUE(sheet->cellStyle({1, 1}).font.bold);
    EXPECT_EQ(formulaOf("B1"), "=A1*2");
    EXPECT_EQ(valueOf("B1"), Variant(10.0));
    EXPECT_EQ(sheet->cells().find({1, 3}), nullptr);  // not even a blank cell was made
    // The formula that stayed still follows its precedent.
    putValue("A1", Variant(6));
    EXPECT_EQ(valueOf("B1"), Variant(12.0));
}

TEST_F(WorksheetFormulas, ResultsOfEveryKindAreThereAtOnce) {
    putValue("A1", Variant(2));
    putValue("A2", Variant("texto"));
    putFormula("B1", "=sum(a1, 3) * 2");
    putFormula("B2", "=A2&\"!\"");
    putFormula("B3", "=A1>1");
    putFormula("B4", "=A1/0");
    putFormula("B5", "=A2+1");
    putFormula("B6", "=C99");
    EXPECT_EQ(valueOf("B1"), Variant(10.0));
    EXPECT_EQ(valueOf("B2"), Variant("texto!"));
    EXPECT_EQ(valueOf("B3"), Variant(true));
    EXPECT_EQ(valueOf("B4"), errorVariant(CellError::Div0));
    EXPECT_EQ(valueOf("B5"), errorVariant(CellError::Value));
    EXPECT_EQ(valueOf("B6"), Variant(0.0));  // an empty cell reads as 0
    // Formula gives the text as written; the file gets it in English notation without "=".
    EXPECT_EQ(formulaOf("B1"), "=sum(a1, 3) * 2");
    EXPECT_EQ(sheet->fileFormulaText({1, 2}), "SUM(A1,3)*2");
    EXPECT_EQ(sheet->displayedText({3, 2}), "VERDADERO");
    // A date format shows a formula's number as a date, and Value returns a date.
    range("B7")->put(dispid::NumberFormat, Variant("dd/mm/yyyy"));
    putFormula("B7", "=45366+A1");
    EXPECT_EQ(valueOf("B7").type(), tabulix::automation::VariantType::Date);
    EXPECT_EQ(sheet->displayedText({7, 2}), "17/03/2024");
}

TEST_F(WorksheetFormulas, DependentsFollowEveryChangeOfTheirPrecedents) {
    putValue("A1", Variant(1));
    putValue("A2", Variant(2));
    putFormula("A3", "=A1+A2");
    putFormula("A4", "=A3*10");
    putFormula("A5", "=SUM(A1:A4)");
    putFormula("B1", "=SUM(A:A)");
    EXPECT_EQ(valueOf("A5"), Variant(36.0));
    putValue("A1", Variant(5));  // a value put
    EXPECT_EQ(valueOf("A3"), Variant(7.0));
    EXPECT_EQ(valueOf("A4"), Variant(70.0));
    EXPECT_EQ(valueOf("A5"), Variant(84.0));
    EXPECT_EQ(valueOf("B1"), Variant(84.0 + 84.0));
    putValue("A2", Variant());  // cleared
    EXPECT_EQ(valueOf("A3"), Variant(5.0));
    putFormula("A2", "=A1*2");  // a precedent that becomes a formula
    EXPECT_EQ(valueOf("A3"), Variant(15.0));
    range("A1")->put(dispid::Formula, Variant("3"));  // a typed entry through Formula
    EXPECT_EQ(valueOf("A2"), Variant(6.0));
    EXPECT_EQ(valueOf("A4"), Variant(90.0));
    range("A1", "A2")->put(dispid::Value, Variant(1));  // several cells at once
    EXPECT_EQ(valueOf("A3"), Variant(2.0));
    EXPECT_EQ(valueOf("A5"), Variant(1.0 + 1.0 + 2.0 + 20.0));
    putValue("A1", Variant("x"));  // text in arithmetic
    EXPECT_EQ(valueOf("A3"), errorVariant(CellError::Value));
    EXPECT_EQ(valueOf("A4"), errorVariant(CellError::Value));
    putValue("A1", errorVariant(CellError::NA));
    EXPECT_EQ(valueOf("A5"), errorVariant(CellError::NA));
    range("A1", "A2")->put(dispid::Formula, Variant(""));  // cleared through Formula
    EXPECT_EQ(valueOf("A3"), Variant(0.0));
    EXPECT_EQ(valueOf("A4"), Variant(0.0));
}

TEST_F(WorksheetFormulas, AValuePutOverAFormulaRemovesIt) {
    putValue("A1", Variant(4));
    putFormula("A2", "=A1*2");
    putFormula("A3", "=A2+1");
    putValue("A2", Variant(7));
    EXPECT_EQ(sheet->formulaText({2, 1}), nullptr);
    EXPECT_EQ(formulaOf("A2"), "7");
    EXPECT_EQ(valueOf("A3"), Variant(8.0));
    putValue("A1", Variant(100));  // no longer read by A2
    EXPECT_EQ(valueOf("A2"), Variant(7.0));
    EXPECT_EQ(book->formulas().formulaCount(), 1u);
    // Data stays data: a text beginning with "=" put as a value is no formula.
    putValue("A2", Variant("=A1"));
    EXPECT_EQ(valueOf("A2"), Variant("=A1"));
    EXPECT_EQ(valueOf("A3"), errorVariant(CellError::Value));
    putValue("A2", Variant());
    EXPECT_EQ(valueOf("A3"), Variant(1.0));
}

TEST_F(WorksheetFormulas, ReferencesToOtherSheetsFollowThoseSheets) {
    auto second = addWorksheet();  // Hoja2, now before Hoja1
    second->put(dispid::Name, Variant("Ventas 2024"));
    putValue("A1", Variant(10));
    object(second->get(dispid::Range, {Variant("B2")}))->put(dispid::Value, Variant(3));
    putFormula(*second, "C1", "=Hoja1!A1*2");
    putFormula(*second, "C2", "=hoja1!$a$1+'Ventas 2024'!B2");
    putFormula("B1", "='ventas 2024'!C2+1");
    putFormula("B2", "=Hoja7!A1");
    EXPECT_EQ(valueOf(*second, "C1"), Variant(20.0));
    EXPECT_EQ(valueOf(*second, "C2"), Variant(13.0));
    EXPECT_EQ(valueOf("B1"), Variant(14.0));
    EXPECT_EQ(valueOf("B2"), errorVariant(CellError::Ref));  // no such sheet
    putValue("A1", Variant(1));
    EXPECT_EQ(valueOf(*second, "C1"), Variant(2.0));
    EXPECT_EQ(valueOf("B1"), Variant(5.0));
    // Sheets added before the others leave every formula with its own sheet; a formula that
    // named a sheet not there yet finds it once it is added.
    std::shared_ptr<Worksheet> added;
    for (int i = 0; i < 5; ++i) added = addWorksheet();
    EXPECT_EQ(added->name(), "Hoja7");
    EXPECT_EQ(book->positionOf(*added), 1);
    object(added->get(dispid::Range, {Variant("A1")}))->put(dispid::Value, Variant(42));
    EXPECT_EQ(valueOf("B2"), Variant(42.0));
    putValue("A1", Variant(2));
    EXPECT_EQ(valueOf(*second, "C1"), Variant(4.0));
    EXPECT_EQ(valueOf("B1"), Variant(6.0));
    EXPECT_EQ(sheet->fileFormulaText({1, 2}), "'ventas 2024'!C2+1");
    // Formulas name sheets: renaming one breaks the formulas naming the old name and mends
    // those naming the new one.
    putFormula("B3", "=Hoja8!A1+1");
    EXPECT_EQ(valueOf("B3"), errorVariant(CellError::Ref));
    added->put(dispid::Name, Variant("Hoja8"));
    EXPECT_EQ(valueOf("B2"), errorVariant(CellError::Ref));
    EXPECT_EQ(valueOf("B3"), Variant(43.0));
    object(added->get(dispid::Range, {Variant("A1")}))->put(dispid::Value, Variant(1));
    EXPECT_EQ(valueOf("B3"), Variant(2.0));
}

TEST_F(WorksheetFormulas, LoopsGiveAnErrorAndLongChainsDoNotExhaustTheStack) {
    putFormula("A1", "=B1+1");
    putFormula("B1", "=A1+1");
    putFormula("C1", "=C1");
    putFormula("D1", "=A1*2");
    for (const char* cell : {"A1", "B1", "C1", "D1"})
        EXPECT_EQ(valueOf(cell), errorVariant(CellError::Ref)) << cell;
    putValue("B1", Variant(1));  // the loop is broken
    EXPECT_EQ(valueOf("A1"), Variant(2.0));
    EXPECT_EQ(valueOf("D1"), Variant(4.0));

    constexpr int kChain = 20000;
    auto e = [](int row, const char* before = "", const char* after = "") {
        std::string text = before;
        text += 'E';
        text += std::to_string(row);
        text += after;
        return text;
    };
    putValue("E1", Variant(1));
    for (int row = 2; row <= kChain; ++row)
        sheet->setFormula(parseRangeRef(e(row)), Variant(e(row - 1, "=", "+1")), tabulix::automation::kLcidSpanishSpain);
    EXPECT_EQ(valueOf(e(kChain)), Variant(double(kChain)));
    putValue("E1", Variant(0));
    EXPECT_EQ(valueOf(e(kChain)), Variant(double(kChain - 1)));
    putFormula("E1", e(kChain, "="));  // closes the whole chain into a loop
    EXPECT_EQ(valueOf(e(kChain / 2)), errorVariant(CellError::Ref));
}

TEST_F(WorksheetFormulas, MergingMovesAFormulaWithItsText) {
    putValue("A1", Variant(3));
    putFormula("D1", "=A1*2");
    putFormula("E1", "=C1+D1");
    range("C1", "D1")->call(dispid::Merge);
    EXPECT_EQ(formulaOf("C1"), "=A1*2");
    EXPECT_EQ(sheet->formulaText({1, 4}), nullptr);
    EXPECT_EQ(valueOf("E1"), Variant(6.0));
    putValue("A1", Variant(5));
    EXPECT_EQ(valueOf("C1"), Variant(10.0));
    EXPECT_EQ(valueOf("E1"), Variant(10.0));
    EXPECT_EQ(book->formulas().formulaCount(), 2u);
}

TEST_F(WorksheetFormulas, AutoFitMeasuresWhatAFormulaShows) {
    range("A1", "B1")->put(dispid::NumberFormat, Variant("#,##0.00"), tabulix::automation::kLcidEnglishUS);
    putValue("C1", Variant(1234.5));
    putFormula("A1", "=C1*1000");
    putValue("B1", Variant(1234500));
    auto fit = [&](const char* first, const char* last) {
        object(range(first, last)->get(dispid::Columns))->call(dispid::AutoFit);
    };
    fit("A1", "B1");
    EXPECT_EQ(sheet->displayedText({1, 1}), "1.234.500,00");
    EXPECT_GT(sheet->columnWidth(1), Worksheet::kDefaultColumnWidth);
    EXPECT_EQ(sheet->columnWidth(1), sheet->columnWidth(2));
    // The width follows the result after it changes.
    const double before = sheet->columnWidth(1);
    putValue("C1", Variant(1.5));
    putValue("B1", Variant(1500));
    fit("A1", "B1");
    EXPECT_EQ(sheet->displayedText({1, 1}), "1.500,00");
    EXPECT_EQ(sheet->columnWidth(1), sheet->columnWidth(2));
    EXPECT_LT(sheet->columnWidth(1), before);
    // A long formula that shows a short text gets a narrow column.
    putFormula("D1", "=IF(C1>0,\"ok\",\"a much longer text than the result\")");
    fit("D1", "D1");
    EXPECT_LT(sheet->columnWidth(4), Worksheet::kDefaultColumnWidth);
}
