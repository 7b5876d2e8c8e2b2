#include <gtest/gtest.h>

#include "automation/automation_error.h"
#include "spreadsheet/formula/tests/workbook_fixture.h"

namespace tabulix::spreadsheet::formula::testing {
namespace {

std::string canonical(const std::string& text) { return Formula::parse(text).canonicalText(); }

std::string refusal(const std::string& text) {
    try {
        Formula::parse(text);
    } catch (const automation::AutomationError& e) {
        return e.what();
    }
    return "accepted";
}

using Precedence = WorkbookFixture;

TEST_F(Precedence, OperatorsBindAsInSpreadsheets) {
    EXPECT_EQ(number(eval("=-2^2")), 4);       // unary minus before ^
    EXPECT_EQ(number(eval("=2^3^2")), 64);     // ^ is left-associative
    EXPECT_EQ(number(eval("=0-2^2")), -4);     // binary minus after ^
    EXPECT_EQ(number(eval("=2^-1")), 0.5);
    EXPECT_EQ(number(eval("=1+2*3")), 7);
    EXPECT_EQ(number(eval("=(1+2)*3")), 9);
    EXPECT_EQ(number(eval("=10-4-3")), 3);
    EXPECT_EQ(number(eval("=12/2/3")), 2);
    EXPECT_DOUBLE_EQ(number(eval("=50%*2")), 1.0);
    EXPECT_DOUBLE_EQ(number(eval("=-2%")), -0.02);
    EXPECT_DOUBLE_EQ(number(eval("=2^200%")), 4);  // % before ^
    EXPECT_EQ(number(eval("=--3")), 3);
    EXPECT_EQ(number(eval("=2*-3")), -6);
    EXPECT_EQ(eval("=1+2&\"x\""), Value("3x"));  // & after +
    EXPECT_EQ(eval("=\"a\"&1=\"a1\""), Value(true));  // = after &
    EXPECT_EQ(eval("=1<2=TRUE"), Value(true));        // comparisons chain left to right
    EXPECT_EQ(number(eval("= 1 +\t2 ")), 3);
}

TEST(FormulaText, LiteralsAreReadInEveryNotation) {
    EXPECT_EQ(canonical("=1"), "1");
    EXPECT_EQ(canonical("=1.5"), "1.5");
    EXPECT_EQ(canonical("=.5"), "0.5");
    EXPECT_EQ(canonical("=1E3"), "1000");
    EXPECT_EQ(canonical("=1e-3"), "0.001");
    EXPECT_EQ(canonical("=2.5E+300"), "2.5E+300");
    EXPECT_EQ(canonical("=01"), "1");
    EXPECT_EQ(canonical("=1."), "1");
    EXPECT_EQ(canonical("=\"say \"\"hi\"\"\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(canonical("=\"\""), "\"\"");
    EXPECT_EQ(canonical("=true"), "TRUE");
    EXPECT_EQ(canonical("=False"), "FALSE");
    EXPECT_EQ(canonical("=#n/a"), "#N/A");
    EXPECT_EQ(canonical("=#DIV/0!+#value!"), "#DIV/0!+#VALUE!");
}

TEST(FormulaText, CanonicalFormKeepsStructureAndUpperCasesNames) {
    EXPECT_EQ(canonical("=sum(c3:c20)"), "SUM(C3:C20)");
    EXPECT_EQ(canonical("=(C21+D21+E21)"), "(C21+D21+E21)");
    EXPECT_EQ(canonical("=E23*1.16"), "E23*1.16");
    EXPECT_EQ(canonical("=stdev( C3:C20 )"), "STDEV(C3:C20)");
}

TEST(FormulaText, ReferencesInAllShapes) {
    EXPECT_EQ(canonical("=$a$1+a$1+$a1"), "$A$1+A$1+$A1");
    EXPECT_EQ(canonical("=XFD1048576"), "XFD1048576");
    EXPECT_EQ(canonical("=SUM(B5:A1)"), "SUM(A1:B5)");
    EXPECT_EQ(canonical("=SUM($B5:A$1)"), "SUM(A$1:$B5)");
    EXPECT_EQ(canonical("=SUM(c:c)"), "SUM(C:C)");
    EXPECT_EQ(canonical("=SUM($3:5)"), "SUM($3:5)");
    EXPECT_EQ(canonical("=Hoja1!A1"), "Hoja1!A1");
    EXPECT_EQ(canonical("='Mi hoja'!A1:B2"), "'Mi hoja'!A1:B2");
    EXPECT_EQ(canonical("='it''s'!A1"), "'it''s'!A1");
    EXPECT_EQ(canonical("='A1'!B2"), "'A1'!B2");  // bare, the name would read as a cell
    EXPECT_EQ(canonical("='Año'!B2"), "Año!B2");
    EXPECT_EQ(canonical("=Año!B2"), "Año!B2");
    EXPECT_EQ(canonical("='2024'!B2"), "'2024'!B2");

    Formula f = Formula::parse("=SUM(Hoja1!$C$3:C20)");
    ASSERT_EQ(f.references().size(), 1u);
    const Reference& ref = f.references()[0];
    EXPECT_EQ(ref.rect, (CellRect{3, 3, 20, 3}));
    EXPECT_EQ(f.text(ref.sheetName), "Hoja1");
    EXPECT_TRUE(ref.firstRowAbsolute && ref.firstColumnAbsolute && !ref.lastRowAbsolute);
    EXPECT_EQ(Formula::parse("=A:B").references()[0].rect, (CellRect{1, 1, kMaxRows, 2}));
    EXPECT_EQ(Formula::parse("=2:3").references()[0].rect, (CellRect{2, 1, 3, kMaxColumns}));
}

TEST(FormulaText, CanonicalTextParsesBackToTheSameText) {
    for (const char* text : {"=-2^2+(3-4)%*SUM(A1:B2,,\"x\")", "=IF(A1<>\"\",LEFT(A1,2)&\"-\",#N/A)",
                             "=1-(-1)", "=+A1", "=1--1", "=SUMPRODUCT((A1:A3>0)*B1:B3)", "='a b'!C:C"}) {
        const std::string once = canonical(text);
        EXPECT_EQ(canonical("=" + once), once) << text;
    }
}

TEST(FormulaText, CopiesToOtherCellsMoveRelativeReferences) {
    const Formula f = Formula::parse("=SUM(B1:B3)+$C$1+D$2+$E3+'Mi hoja'!A1+SUM(F:F)+SUM(2:2)");
    EXPECT_EQ(f.translated(2, 1).canonicalText(), "SUM(C3:C5)+$C$1+E$2+$E5+'Mi hoja'!B3+SUM(G:G)+SUM(4:4)");
    EXPECT_EQ(f.translated(0, 0).canonicalText(), f.canonicalText());
    EXPECT_EQ(Formula::parse("=A2+$A$1").translated(-1, 0).canonicalText(), "A1+$A$1");
    EXPECT_EQ(Formula::parse("=A2+$A$1").translated(-2, 0).canonicalText(), "#REF!+$A$1");
    EXPECT_EQ(Formula::parse("=XFD1").translated(0, 1).canonicalText(), "#REF!");
    EXPECT_EQ(Formula::parse("=SUM($A$5:A6)").translated(-3, 0).canonicalText(), "SUM($A3:A$5)")
        << "rows and columns are ordered each with their own \"$\"";
    const Formula moved = Formula::parse("=A1+B1").translated(0, -1);
    EXPECT_EQ(moved.canonicalText(), "#REF!+A1");
    ASSERT_EQ(moved.references().size(), 1u) << "a reference that fell off is not watched";
    EXPECT_EQ(moved.references()[0].rect, (CellRect{1, 1, 1, 1}));
}

TEST(FormulaText, FunctionsAreKnownByNameInAnyCase) {
    EXPECT_EQ(canonical("=average(1,2)"), "AVERAGE(1,2)");
    EXPECT_EQ(canonical("=Today()"), "TODAY()");
    EXPECT_TRUE(Formula::parse("=TODAY()").isVolatile());
    EXPECT_FALSE(Formula::parse("=SUM(1)").isVolatile());
}

TEST(Refusal, BrokenTextsNameTheProblemAndItsPosition) {
    EXPECT_EQ(refusal("=SUM("), "Formula \"=SUM(\" refused at position 6: expected an argument or \")\"");
    EXPECT_EQ(refusal("=1+"), "Formula \"=1+\" refused at position 4: expected a value");
    EXPECT_EQ(refusal("=FOO(A1)"), "Formula \"=FOO(A1)\" refused at position 2: unknown function FOO");
    EXPECT_EQ(refusal("=A0"), "Formula \"=A0\" refused at position 2: A0 is not a valid cell reference");
    EXPECT_EQ(refusal("=SUM()"), "Formula \"=SUM()\" refused at position 2: SUM needs at least 1 argument");
    EXPECT_EQ(refusal("=\"abc"), "Formula \"=\"abc\" refused at position 2: the text is not closed with a double quote");
    EXPECT_EQ(refusal("SUM(A1)"), "Formula \"SUM(A1)\" refused at position 1: a formula must begin with \"=\"");
    EXPECT_EQ(refusal(""), "Formula \"\" refused at position 1: a formula must begin with \"=\"");
    EXPECT_EQ(refusal("="), "Formula \"=\" refused at position 2: the formula is empty");
}

TEST(Refusal, MalformedStructure) {
    for (const char* text : {"=(1+2", "=1+2)", "=SUM(1,2", "=SUM(1;2)", "=1 2", "=*2", "=A1:", "=A1:5", "=A:1",
                             "=Hoja1!", "=Hoja1!FOO", "='Mi hoja'A1", "='unclosed!A1", "=''!A1", "=1E", "=1E+",
                             "=#FOO!", "=XFE1", "=A1048577", "=XFD1048577", "=FOO", "=A$", "=$$1", "=A1..B2",
                             "=ROUND(1)", "=ROUND(1,2,3)", "=TODAY(1)", "=ABS()", "=OR()", "=1E400", "=@A1", "={1,2}"})
        EXPECT_NE(refusal(text), "accepted") << text;
    EXPECT_NE(refusal("=" + std::string(9000, '1')), "accepted");
    EXPECT_NE(refusal("=" + std::string(70, '(') + "1" + std::string(70, ')')), "accepted");
    EXPECT_EQ(refusal("=" + std::string(60, '(') + "1" + std::string(60, ')')), "accepted");
    EXPECT_EQ(refusal("=" + std::string(5000, '-') + "1"), "accepted") << "signs do not nest";
}

TEST(Refusal, PositionsCountCharactersNotBytes) {
    EXPECT_EQ(refusal("=\"ñá\"+FOO(1)"), "Formula \"=\"ñá\"+FOO(1)\" refused at position 7: unknown function FOO");
    EXPECT_NE(refusal("=SUM(1,2").find("position 9: expected \",\" or \")\""), std::string::npos);
    EXPECT_NE(refusal("=(1+2").find("position 6: expected \")\""), std::string::npos);
    EXPECT_NE(refusal("=1+2)").find("position 5: unexpected \")\""), std::string::npos);
}

TEST(Refusal, FormulaTextsOfTheSummaryLines) {
    // Built-in summaries and own formulas, and what unresolved placeholders leave behind.
    for (const char* text : {"=SUM(C3:C20)", "=AVERAGE(D3:D20)", "=MAX(E3:E20)", "=MIN(C3:C20)",
                             "=(C21+D21+E21)", "=E23*1.16", "=STDEV(C3:C20)", "=+1", "=01", "=SUM(,)"})
        EXPECT_EQ(refusal(text), "accepted") << text;
    // Before any transfer the rows are 0, and a field without a column has the letter "@".
    for (const char* text : {"=SUM()", "=MAX()", "=SUM(C0:C0)", "=SUM(@3:@20)", "=STDEV()"})
        EXPECT_NE(refusal(text), "accepted") << text;
}

TEST_F(Precedence, RefusedFormulaLeavesTheCellAsItWas) {
    putFormula("B1", "=1+1");
    EXPECT_THROW(putFormula("B1", "=SUM("), automation::AutomationError);
    EXPECT_EQ(get("B1"), Value(2.0));
    ASSERT_NE(recalculator.formulaAt(at("B1")), nullptr);
    EXPECT_EQ(recalculator.formulaAt(at("B1"))->canonicalText(), "1+1");
}

}  // namespace
}  // namespace tabulix::spreadsheet::formula::testing
