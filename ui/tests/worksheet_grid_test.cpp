// The worksheet grid driven with the mouse and the keyboard, checked against the model, the
// formula bar and what is drawn.
#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>

#include "ui/tests/window_fixture.h"
#include "ui/cell_painter.h"
#include "ui/worksheet_grid.h"
#include "ui/worksheet_model.h"
#include "ui/worksheet_view.h"

using namespace tabulix;
using namespace tabulix::ui;
using namespace tabulix::ui::testing;
using automation::Variant;

namespace {

class WorksheetGridTest : public ShownWorkbookTest {
protected:
    void put(const char* name, const Variant& v) {
        const auto at = cell(name);
        sheet->setValue({at, at}, v, automation::kLcidSpanishSpain);
    }

    WorksheetView& view() {
        settle();
        auto* v = qobject_cast<WorksheetView*>(window->activeSheetView());
        EXPECT_NE(v, nullptr);
        return *v;
    }
    WorksheetGrid& grid() { return *view().grid(); }

    void click(int row, int column, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mouseClick(grid().viewport(), Qt::LeftButton, modifiers, grid().cellRect(row, column).center());
    }
    void clickRowHeader(int row) {
        QTest::mouseClick(grid().viewport(), Qt::LeftButton, {},
                          QPoint(grid().rowHeaderWidth() / 2, grid().cellRect(row, 0).center().y()));
    }
    void clickColumnHeader(int column) {
        QTest::mouseClick(grid().viewport(), Qt::LeftButton, {},
                          QPoint(grid().cellRect(0, column).center().x(), grid().columnHeaderHeight() / 2));
    }
    void key(int k, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(&grid(), static_cast<Qt::Key>(k), modifiers);
    }
    std::pair<int, int> current() { return {grid().currentRow(), grid().currentColumn()}; }
    std::string selected() { return spreadsheet::rangeName(grid().selection()); }

    // Dark pixels (text) inside a rectangle of the grid as drawn.
    int inkIn(const QRect& rect) {
        const QImage image = grid().viewport()->grab().toImage();
        int ink = 0;
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x)
                if (image.rect().contains(x, y) && qGray(image.pixel(x, y)) < 100) ++ink;
        return ink;
    }

};

TEST_F(WorksheetGridTest, ClicksSelectCellsRangesRowsAndColumns) {
    put("B3", Variant("Turrón"));
    click(2, 1);
    EXPECT_EQ(current(), std::make_pair(2, 1));
    EXPECT_EQ(view().nameBox()->text(), "B3");
    EXPECT_EQ(view().formulaBar()->text(), QString::fromUtf8("Turrón"));

    click(5, 3, Qt::ShiftModifier);  // extends from the current cell, which stays
    EXPECT_EQ(selected(), "B3:D6");
    EXPECT_EQ(current(), std::make_pair(2, 1));

    clickRowHeader(4);
    EXPECT_EQ(grid().selection().first.row, 5u);
    EXPECT_EQ(grid().selection().last.row, 5u);
    EXPECT_EQ(grid().selection().first.column, 1u);
    EXPECT_EQ(static_cast<int>(grid().selection().last.column), view().model().columnCount());
    EXPECT_EQ(grid().currentRow(), 4);

    clickColumnHeader(2);
    EXPECT_EQ(grid().selection().first.row, 1u);
    EXPECT_EQ(static_cast<int>(grid().selection().last.row), view().model().rowCount());
    EXPECT_EQ(grid().currentColumn(), 2);

    // The corner selects the whole sheet; a header is no cell.
    QTest::mouseClick(grid().viewport(), Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(selected(), spreadsheet::rangeName({{1, 1}, {static_cast<std::uint32_t>(view().model().rowCount()),
                                                           static_cast<std::uint32_t>(view().model().columnCount())}}));
    EXPECT_EQ(grid().cellAt(QPoint(2, 2)), std::make_pair(-1, -1));
}

TEST_F(WorksheetGridTest, KeysMoveAndExtendAndJumpToTheEdgeOfTheData) {
    for (const char* name : {"A1", "A2", "A3", "A4", "A9"}) put(name, Variant(1.0));
    put("F12", Variant("fin"));
    grid().setCurrentCell(0, 0);
    key(Qt::Key_Down);
    key(Qt::Key_Right);
    EXPECT_EQ(current(), std::make_pair(1, 1));
    key(Qt::Key_Left);
    key(Qt::Key_Up);
    key(Qt::Key_Up);  // stops at the first row
    EXPECT_EQ(current(), std::make_pair(0, 0));

    key(Qt::Key_Down, Qt::ShiftModifier);
    key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(selected(), "A1:B2");
    EXPECT_EQ(current(), std::make_pair(0, 0));

    key(Qt::Key_Down, Qt::ControlModifier);  // to the end of the filled block
    EXPECT_EQ(current(), std::make_pair(3, 0));
    key(Qt::Key_Down, Qt::ControlModifier);  // across the empty cells to the next filled one
    EXPECT_EQ(current(), std::make_pair(8, 0));
    key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(current(), std::make_pair(11, 5));
    key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(current(), std::make_pair(0, 0));
    key(Qt::Key_Tab);
    key(Qt::Key_Tab);
    key(Qt::Key_Return);
    EXPECT_EQ(current(), std::make_pair(1, 2));
    key(Qt::Key_Home);
    EXPECT_EQ(current(), std::make_pair(1, 0));
    key(Qt::Key_PageDown);
    EXPECT_GT(grid().currentRow(), 10);
    EXPECT_GT(grid().firstVisibleRow(), 0);
    EXPECT_EQ(view().nameBox()->text(), QString("A%1").arg(grid().currentRow() + 1));
}

TEST_F(WorksheetGridTest, AMergedAreaIsOneCellToClickMoveAndSelect) {
    put("A1", Variant("Título"));
    sheet->merge(spreadsheet::parseRangeRef("A1:C2"), false);
    click(1, 2);  // inside the area: its top-left cell is current
    EXPECT_EQ(current(), std::make_pair(0, 0));
    EXPECT_EQ(selected(), "A1:C2");
    EXPECT_EQ(grid().cellRect(1, 2), grid().cellRect(0, 0));
    key(Qt::Key_Right);  // leaves from its far side
    EXPECT_EQ(current(), std::make_pair(0, 3));
    key(Qt::Key_Left);
    EXPECT_EQ(current(), std::make_pair(0, 0));
    key(Qt::Key_Down);
    EXPECT_EQ(current(), std::make_pair(2, 0));
    // A selection that cuts the area takes it in whole.
    key(Qt::Key_Right, Qt::ShiftModifier);
    key(Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(selected(), "A1:C3");
}

TEST_F(WorksheetGridTest, TypingEditsThroughTheModelAndEscapeOrARefusalKeepsTheCell) {
    put("A1", Variant(5.0));
    grid().setCurrentCell(1, 0);
    QTest::keyClick(&grid(), '=');  // the first key opens the editor, which then has the focus
    ASSERT_NE(grid().editor(), nullptr);
    EXPECT_EQ(grid().editor()->objectName(), "cellEditor");
    QTest::keyClicks(grid().editor(), "A1*3+1");
    EXPECT_EQ(grid().editor()->text(), "=A1*3+1");
    QTest::keyClick(grid().editor(), Qt::Key_Return);
    EXPECT_EQ(grid().editor(), nullptr);
    EXPECT_EQ(sheet->value(cell("A2")), Variant(16.0));
    EXPECT_EQ(current(), std::make_pair(2, 0));  // Enter moves down

    // F2 opens the formula as it is; Escape leaves it.
    grid().setCurrentCell(1, 0);
    key(Qt::Key_F2);
    ASSERT_NE(grid().editor(), nullptr);
    EXPECT_EQ(grid().editor()->text(), "=A1*3+1");
    QTest::keyClicks(grid().editor(), "00");
    QTest::keyClick(grid().editor(), Qt::Key_Escape);
    EXPECT_EQ(grid().editor(), nullptr);
    EXPECT_EQ(*sheet->formulaText(cell("A2")), "=A1*3+1");

    // Tab puts the entry and moves right; a refused formula shows the message and stays.
    QTest::keyClicks(&grid(), "7");
    QTest::keyClick(grid().editor(), Qt::Key_Tab);
    EXPECT_EQ(sheet->value(cell("A2")), Variant(7.0));
    EXPECT_EQ(current(), std::make_pair(1, 1));
    QTest::keyClick(&grid(), '=');
    QTest::keyClicks(grid().editor(), "SUMA(");
    QTest::keyClick(grid().editor(), Qt::Key_Return);
    ASSERT_EQ(ui.Boxes().size(), 1u);
    EXPECT_TRUE(sheet->value(cell("B2")).isEmpty());
    EXPECT_EQ(current(), std::make_pair(1, 1));
    EXPECT_EQ(grid().editor(), nullptr);

    // A double click edits the cell clicked.
    QTest::mouseDClick(grid().viewport(), Qt::LeftButton, {}, grid().cellRect(0, 0).center());
    ASSERT_NE(grid().editor(), nullptr);
    EXPECT_EQ(grid().editor()->text(), "5");
}

TEST_F(WorksheetGridTest, DeleteEmptiesTheSelectionAndCtrlCCopiesItAsShown) {
    put("A1", Variant("Art\xC3\xAD" "culo"));
    put("B1", Variant(2.5));
    put("A2", Variant("Mesa"));
    const auto b2 = cell("B2");
    sheet->setFormula({b2, b2}, Variant("=B1*2"), automation::kLcidSpanishSpain);
    sheet->setNumberFormat({b2, b2}, "0,00", automation::kLcidSpanishSpain);

    click(0, 0);
    click(1, 1, Qt::ShiftModifier);
    key('C', Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "Art\xC3\xAD" "culo\t2,5\nMesa\t5,00\n");

    // The whole sheet copies its used part only.
    QTest::mouseClick(grid().viewport(), Qt::LeftButton, {}, QPoint(2, 2));
    key('C', Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text().count('\n'), 2);

    click(1, 1);
    key(Qt::Key_Delete);
    EXPECT_TRUE(sheet->value(b2).isEmpty());
    EXPECT_EQ(sheet->formulaText(b2), nullptr);
    EXPECT_EQ(sheet->value(cell("A2")), Variant("Mesa"));  // outside the selection
    sheet->setValue({b2, b2}, Variant(3.0), automation::kLcidSpanishSpain);
    EXPECT_EQ(view().grid()->editor(), nullptr);
    grid().setCurrentCell(1, 1);
    key('C', Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "3,00\n") << "the format stayed";

    clickRowHeader(0);
    key(Qt::Key_Delete);
    EXPECT_TRUE(sheet->value(cell("A1")).isEmpty());
    EXPECT_TRUE(sheet->value(cell("B1")).isEmpty());
    EXPECT_TRUE(ui.Boxes().empty());
}

TEST_F(WorksheetGridTest, RowsFitTheFaceDrawnWhereTheSheetsFontIsMissing) {
    // A face no machine has: the sheet fits the row to one stand-in, Qt may draw another.
    const auto a1 = cell("A1"), a3 = cell("A3");
    put("A1", Variant("Descripci\xC3\xB3n gjpqy"));
    put("A2", Variant("normal"));
    put("A3", Variant("a mano gjpqy"));
    for (auto at : {a1, a3})
        sheet->restyle({at, at}, [](spreadsheet::CellStyle& style) {
            style.font.name = "Fuente Que No Existe";
            style.font.size = 20;
        });
    sheet->setRowHeight(3, 3, 12.0);
    settle();
    const QFont drawn = qtFontOf(sheet->cellStyle(a1).font, grid().viewport()->logicalDpiY());
    EXPECT_GE(grid().rowHeight(0), QFontMetrics(drawn).height() + 2) << "the drawn face's descenders fit";
    EXPECT_GE(grid().rowHeight(1), QFontMetrics(grid().font()).height()) << "a row of the default font";
    EXPECT_EQ(grid().rowHeight(2), 16) << "a height set by hand stays as set";

    // Changes after the first layout follow the same rule.
    put("A4", Variant("gjpqy"));
    const auto a4 = cell("A4");
    sheet->restyle({a4, a4}, [](spreadsheet::CellStyle& style) {
        style.font.name = "Otra Fuente Que No Existe";
        style.font.size = 26;
    });
    settle();
    const QFont larger = qtFontOf(sheet->cellStyle(a4).font, grid().viewport()->logicalDpiY());
    EXPECT_GE(grid().rowHeight(3), QFontMetrics(larger).height() + 2);
}

TEST_F(WorksheetGridTest, FrozenRowsAndColumnsStayWhileTheRestScrollsToRowHalfAMillion) {
    put("A1", Variant("T\xC3\xADtulo"));
    for (const char* name : {"A2", "B2", "C2", "F2"}) put(name, Variant(name));
    put("A600000", Variant(1.0));
    put("F500000", Variant("fila 500000"));
    settle();
    grid().setFrozen(2, 1);
    grid().setFilterButtons(spreadsheet::parseRangeRef("A2:F2"));
    EXPECT_EQ(grid().verticalScrollBar()->minimum(), 2) << "the scroll bars move what is not frozen";
    EXPECT_EQ(grid().horizontalScrollBar()->minimum(), 1);

    grid().scrollToTopLeft(499'999, 4);
    EXPECT_EQ(grid().firstVisibleRow(), 499'999);
    EXPECT_EQ(grid().firstVisibleColumn(), 4);
    const int top = grid().columnHeaderHeight(), left = grid().rowHeaderWidth();
    EXPECT_EQ(grid().cellRect(0, 0).topLeft(), QPoint(left, top)) << "the title stays at the top left";
    EXPECT_EQ(grid().cellRect(1, 0).top(), top + grid().rowHeight(0));
    const int belowFrozen = top + grid().rowHeight(0) + grid().rowHeight(1);
    EXPECT_EQ(grid().cellRect(499'999, 5).top(), belowFrozen);
    EXPECT_EQ(grid().cellRect(499'999, 4).left(), left + grid().columnWidth(0)) << "column A stays at the left";
    EXPECT_EQ(grid().cellRect(1, 5).top(), grid().cellRect(1, 0).top()) << "a heading scrolls sideways only";

    // The mouse finds the frozen cells and the scrolled ones where they are drawn.
    EXPECT_EQ(grid().cellAt(QPoint(left + 3, top + grid().rowHeight(0) + 3)), std::make_pair(1, 0));
    EXPECT_EQ(grid().cellAt(grid().cellRect(499'999, 5).center()), std::make_pair(499'999, 5));
    click(499'999, 5);
    EXPECT_EQ(view().formulaBar()->text(), "fila 500000");
    EXPECT_EQ(grid().firstVisibleRow(), 499'999) << "a click on a shown cell does not scroll";

    // Filter buttons sit in the heading cells that are shown: A (frozen) and F, not B or C.
    EXPECT_TRUE(grid().cellRect(1, 0).contains(grid().filterButtonRect(1, 0)));
    EXPECT_TRUE(grid().cellRect(1, 5).contains(grid().filterButtonRect(1, 5)));
    EXPECT_TRUE(grid().filterButtonRect(1, 2).isEmpty()) << "column C is scrolled out of view";
    EXPECT_TRUE(grid().filterButtonRect(2, 0).isEmpty()) << "only the heading row has buttons";
    const QImage drawn = grid().viewport()->grab().toImage();
    const QRect button = grid().filterButtonRect(1, 5);
    EXPECT_LT(qGray(drawn.pixel(button.center())), 128) << "the button's arrow is drawn";
    EXPECT_LT(qGray(drawn.pixel(left + 40, belowFrozen - 1)), 160) << "a darker line under the frozen rows";

    // Moving up from the first scrolled row scrolls back; Ctrl+Home goes to the first cell past
    // the frozen ones and to the top.
    key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(current(), std::make_pair(2, 1));
    EXPECT_EQ(grid().firstVisibleRow(), 2);
    key(Qt::Key_Up);
    EXPECT_EQ(current(), std::make_pair(1, 1));
    EXPECT_EQ(grid().firstVisibleRow(), 2) << "a frozen row is always in view";

    grid().setFrozen(0, 0);
    EXPECT_EQ(grid().verticalScrollBar()->minimum(), 0);
    grid().setFilterButtons(std::nullopt);
    EXPECT_TRUE(grid().filterButtonRect(1, 0).isEmpty());
}

TEST_F(WorksheetGridTest, TheWindowShowsTheSheetsFrozenPanesAndFilter) {
    put("A2", Variant("Uno"));
    put("C2", Variant("Tres"));
    settle();
    spreadsheet::Panes panes;
    panes.splitRows = 2;
    panes.splitColumns = 1;
    panes.frozen = true;
    sheet->setPanes(panes);
    sheet->setAutoFilter(spreadsheet::parseRangeRef("A2:C40"));
    settle();
    EXPECT_EQ(grid().frozenRows(), 2);
    EXPECT_EQ(grid().frozenColumns(), 1);
    EXPECT_FALSE(grid().filterButtonRect(1, 2).isEmpty()) << "the heading cells carry the buttons";
    EXPECT_TRUE(grid().filterButtonRect(2, 2).isEmpty()) << "the data rows do not";

    // A split that is not frozen scrolls with the rest; taking the filter off takes its buttons.
    panes.frozen = false;
    sheet->setPanes(panes);
    sheet->setAutoFilter(std::nullopt);
    settle();
    EXPECT_EQ(grid().frozenRows(), 0);
    EXPECT_EQ(grid().frozenColumns(), 0);
    EXPECT_TRUE(grid().filterButtonRect(1, 2).isEmpty());
}

TEST_F(WorksheetGridTest, AMillionRowSheetScrollsToItsEndWithRowNumbersThatFit) {
    put("A1", Variant("primera"));
    put("A1000000", Variant(1.0e6));
    put("B999990", Variant("cerca del final"));
    sheet->setRowHeight(999'995, 999'995, 30.0);
    settle();
    EXPECT_EQ(view().model().rowCount(), 1'000'100);

    // Ctrl+Down crosses the million empty cells; Ctrl+Home comes back.
    grid().setCurrentCell(0, 0);
    key(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(current(), std::make_pair(999'999, 0));
    EXPECT_EQ(view().nameBox()->text(), "A1000000");
    EXPECT_GT(grid().firstVisibleRow(), 999'900);
    key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(grid().firstVisibleRow(), 0);

    // Scrolled to row 999,990 as the scroll bar does: the row under the first line is it.
    grid().verticalScrollBar()->setValue(999'989);
    EXPECT_EQ(grid().firstVisibleRow(), 999'989);
    const QPoint firstLine(grid().rowHeaderWidth() + 5, grid().columnHeaderHeight() + 3);
    EXPECT_EQ(grid().cellAt(firstLine), std::make_pair(999'989, 0));
    EXPECT_EQ(grid().rowHeight(999'994), 40);
    EXPECT_EQ(grid().cellRect(999'995, 0).top() - grid().cellRect(999'994, 0).top(), 40);
    click(999'989, 1);
    EXPECT_EQ(view().formulaBar()->text(), "cerca del final");
    clickRowHeader(999'999);
    EXPECT_EQ(grid().selection().first.row, 1'000'000u);

    // The row numbers fit their header: the widest the sheet can show.
    const QFontMetrics metrics(grid().font());
    EXPECT_GE(grid().rowHeaderWidth(), metrics.horizontalAdvance(WorksheetGrid::rowLabel(1'000'099)) + 4);
    EXPECT_EQ(WorksheetGrid::rowLabel(999'989), "999990");
    EXPECT_EQ(WorksheetGrid::columnLabel(27), "AB");
    EXPECT_EQ(WorksheetGrid::columnLabel(16383), "XFD");
}

TEST_F(WorksheetGridTest, TextsSpillIntoEmptyNeighboursAndTitlesCentreInTheirArea) {
    put("A2", Variant("Un texto bastante más largo que su columna"));
    put("A3", Variant("Un texto bastante más largo que su columna"));
    put("B3", Variant(1.0));
    put("A5", Variant("Centrado"));
    sheet->merge(spreadsheet::parseRangeRef("A5:E5"), false);
    sheet->restyle(spreadsheet::parseRangeRef("A5:E5"),
                   [](spreadsheet::CellStyle& s) { s.alignment = spreadsheet::HorizontalAlignment::Center; });
    settle();
    grid().setCurrentCell(10, 10);  // the selection frame away from what is looked at
    const QRect b2 = grid().cellRect(1, 1).adjusted(2, 2, -2, -2);
    const QRect c3 = grid().cellRect(2, 2).adjusted(2, 2, -2, -2);
    EXPECT_GT(inkIn(b2), 10) << "the text goes on over B2";
    EXPECT_EQ(inkIn(c3), 0) << "B3 holds a value: the text stops at A3";

    const QRect area = grid().cellRect(4, 0);
    EXPECT_EQ(area, grid().cellRect(4, 4));
    EXPECT_EQ(area.width(), grid().cellRect(4, 4).width());
    const QRect a5 = grid().cellRect(4, 0).adjusted(2, 2, 0, -2);
    const QRect middle(area.center().x() - 20, area.top() + 2, 40, area.height() - 4);
    EXPECT_EQ(inkIn(QRect(a5.left(), a5.top(), grid().columnWidth(0) - 4, a5.height())), 0);
    EXPECT_GT(inkIn(middle), 10);
}

TEST_F(WorksheetGridTest, FollowsAutomationWhileShown) {
    grid().setCurrentCell(0, 0);
    put("A1", Variant(3.0));
    settle();
    EXPECT_EQ(view().formulaBar()->text(), "3");
    const int defaultWidth = grid().columnWidth(1);
    sheet->setColumnWidth(2, 2, 30.0);
    sheet->setRowHeight(4, 4, 45.0);
    settle();
    EXPECT_GT(grid().columnWidth(1), 2 * defaultWidth);
    EXPECT_EQ(grid().rowHeight(3), 60);
    // A write far beyond the shown sheet grows it, and the grid can go there.
    put("AD40000", Variant(1.0));
    settle();
    grid().setCurrentCell(39'999, 29);
    EXPECT_EQ(current(), std::make_pair(39'999, 29));
    EXPECT_EQ(view().nameBox()->text(), "AD40000");
    EXPECT_TRUE(grid().viewport()->rect().contains(grid().cellRect(39'999, 29).center()));
}

}  // namespace
