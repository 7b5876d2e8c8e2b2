// The window driven as a user drives it, checked against the model and a connected component.
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>

#include "component/tabulix.h"
#include "ui/tests/window_fixture.h"
#include "ui/workbook_page.h"
#include "ui/worksheet_grid.h"
#include "ui/worksheet_model.h"
#include "ui/worksheet_view.h"

using namespace tabulix;
using namespace tabulix::ui;
using namespace tabulix::ui::testing;
using automation::Variant;

namespace {

class SpreadsheetWindowTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        app->setVisible(true);
    }

    spreadsheet::Worksheet& activeWorksheet() {
        return static_cast<spreadsheet::Worksheet&>(*app->activeWorkbook()->activeSheet());
    }
    WorksheetView* activeWorksheetView() { return qobject_cast<WorksheetView*>(window->activeSheetView()); }

    // Selects a cell of the shown worksheet, types `text` over it and presses Enter, as a user does.
    void typeInto(const char* name, const QString& text) {
        WorksheetView* view = activeWorksheetView();
        ASSERT_NE(view, nullptr);
        ASSERT_FALSE(text.isEmpty());
        const auto at = cell(name);
        WorksheetGrid* grid = view->grid();
        grid->setCurrentCell(static_cast<int>(at.row) - 1, static_cast<int>(at.column) - 1);
        grid->setFocus();
        QTest::keyClicks(grid, text.left(1));  // the first key opens the cell's editor
        // The open editor: closed ones linger hidden until deleted.
        QLineEdit* editor = nullptr;
        for (QLineEdit* line : grid->viewport()->findChildren<QLineEdit*>())
            if (line->isVisible()) editor = line;
        ASSERT_NE(editor, nullptr);
        QTest::keyClicks(editor, text.mid(1));
        QTest::keyClick(editor, Qt::Key_Return);
        settle();
    }
};

TEST_F(SpreadsheetWindowTest, FollowsVisibleAndWindowState) {
    EXPECT_TRUE(window->isVisible());
    app->setWindowState(-4137);
    EXPECT_TRUE(window->isMaximized());
    app->setWindowState(-4140);
    EXPECT_TRUE(window->isMinimized());
    app->setWindowState(-4143);
    EXPECT_FALSE(window->isMinimized() || window->isMaximized());
    app->setVisible(false);
    EXPECT_FALSE(window->isVisible());

    // Closing the window hides the application, whose workbooks stay open.
    app->setVisible(true);
    app->addWorkbook();
    window->close();
    EXPECT_FALSE(app->visible());
    EXPECT_EQ(app->workbooks().size(), 1u);
}

TEST_F(SpreadsheetWindowTest, ShowsOnePagePerWorkbookAndOneTabPerSheetInOrder) {
    auto first = app->addWorkbook();
    auto second = app->addWorkbook();
    second->addSheets(spreadsheet::SheetType::Worksheet);  // before the active one: "Hoja2", "Hoja1"
    second->addSheets(spreadsheet::SheetType::Chart, nullptr, second->sheetAt(2).get());
    QTabWidget* pages = window->workbookPages();
    ASSERT_EQ(pages->count(), 2);
    EXPECT_EQ(pages->tabText(0), "Libro1");
    EXPECT_EQ(pages->tabText(1), "Libro2");
    EXPECT_EQ(pages->currentIndex(), 1);
    QTabBar* tabs = window->sheetTabs(1);
    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(0), "Hoja2");
    EXPECT_EQ(tabs->tabText(1), "Hoja1");
    EXPECT_EQ(tabs->tabText(2), QString::fromUtf8("Gráfico1"));
    EXPECT_EQ(tabs->currentIndex(), 2);

    // Automation renames a sheet and activates another workbook: the window follows.
    second->sheetAt(1)->setName("Ventas");
    EXPECT_EQ(tabs->tabText(0), "Ventas");
    first->activate();
    EXPECT_EQ(pages->currentIndex(), 0);
    EXPECT_EQ(window->windowTitle(), "Libro1 - Tabulix");
}

TEST_F(SpreadsheetWindowTest, ClickingASheetTabActivatesTheSheetForTheComponent) {
    component::TTabulix tabulix(nullptr);
    tabulix.CrearLibro();
    tabulix.CrearHoja();  // "Hoja2" before "Hoja1", active
    QTabBar* tabs = window->sheetTabs(0);
    ASSERT_EQ(tabs->count(), 2);
    clickTab(tabs, 1);
    EXPECT_EQ(app->activeWorkbook()->activeSheet()->name(), "Hoja1");
    tabulix.ValorCasilla("B2", Variant("escrito"));
    auto& hoja1 = static_cast<spreadsheet::Worksheet&>(*app->activeWorkbook()->sheetNamed("Hoja1"));
    auto& hoja2 = static_cast<spreadsheet::Worksheet&>(*app->activeWorkbook()->sheetNamed("Hoja2"));
    EXPECT_EQ(hoja1.value(cell("B2")), Variant("escrito"));
    EXPECT_TRUE(hoja2.value(cell("B2")).isEmpty());
    EXPECT_EQ(tabs->currentIndex(), 1);
}

TEST_F(SpreadsheetWindowTest, SwitchingPagesMovesTheComponentsWorkbook) {
    component::TTabulix tabulix(nullptr);
    tabulix.CrearLibro();
    tabulix.CrearLibro();
    ASSERT_EQ(window->workbookPages()->count(), 2);
    clickTab(window->workbookPages()->tabBar(), 0);
    EXPECT_EQ(app->activeWorkbook()->name(), "Libro1");
    tabulix.ValorCasilla("A1", Variant(7.0));
    auto& sheet = static_cast<spreadsheet::Worksheet&>(*app->workbookNamed("Libro1")->sheetAt(1));
    EXPECT_EQ(sheet.value(cell("A1")), Variant(7.0));
}

TEST_F(SpreadsheetWindowTest, ClosingAPageClosesTheWorkbookUnlessAHandlerCancels) {
    component::TTabulix tabulix(nullptr);
    tabulix.CrearLibro();
    ASSERT_NE(tabulix.ExcelWorkbook(), nullptr);

    // A handler of before-close that cancels: the workbook and its page stay.
    struct Canceller : automation::EventSink {
        void onEvent(automation::DispId, std::span<Variant> args) override {
            if (!args.empty()) args[0] = Variant(true);
        }
    } canceller;
    auto book = app->activeWorkbook();
    const auto cookie = book->events()->advise(canceller);
    emit window->workbookPages()->tabCloseRequested(0);
    EXPECT_EQ(app->workbooks().size(), 1u);
    EXPECT_EQ(window->workbookPages()->count(), 1);
    book->events()->unadvise(cookie);

    emit window->workbookPages()->tabCloseRequested(0);
    QCoreApplication::processEvents();
    EXPECT_TRUE(app->workbooks().empty());
    EXPECT_EQ(window->workbookPages()->count(), 0);
    EXPECT_EQ(tabulix.ExcelWorkbook(), nullptr);
    EXPECT_EQ(tabulix.ExcelWorksheet(), nullptr);
}

TEST_F(SpreadsheetWindowTest, TypingPutsValuesAndFormulasAndRecalculatesDependents) {
    app->addWorkbook();
    typeInto("A1", "2,5");
    typeInto("A2", "=A1*2");
    spreadsheet::Worksheet& sheet = activeWorksheet();
    EXPECT_EQ(sheet.value(cell("A1")), Variant(2.5));
    EXPECT_EQ(*sheet.formulaText(cell("A2")), "=A1*2");
    EXPECT_EQ(sheet.value(cell("A2")), Variant(5.0));
    typeInto("A1", "4");
    EXPECT_EQ(sheet.value(cell("A2")), Variant(8.0));
    WorksheetView* view = activeWorksheetView();
    EXPECT_EQ(view->model().look(1, 0).text, "8");

    // The formula bar shows the selected cell's formula.
    view->grid()->setCurrentCell(1, 0);
    EXPECT_EQ(view->formulaBar()->text(), "=A1*2");

    // A formula the spreadsheet refuses: its message is shown and the cell keeps its content.
    typeInto("A2", "=1+");
    ASSERT_EQ(ui.Boxes().size(), 1u);
    EXPECT_NE(ui.Boxes()[0].text.find("Range.Formula"), std::string::npos) << ui.Boxes()[0].text;
    EXPECT_EQ(*sheet.formulaText(cell("A2")), "=A1*2");
}

TEST_F(SpreadsheetWindowTest, SaveAsWritesTheActiveWorkbookAndReportsAFailure) {
    auto book = app->addWorkbook();
    static_cast<spreadsheet::Worksheet&>(*book->sheetAt(1)).setValue({cell("A1"), cell("A1")}, Variant(1.0), 0x0C0A);
    QTemporaryDir dir;
    const QString path = dir.filePath("informe");
    window->setSaveFileNameAsker([&] { return path; });
    window->saveAsInteractively();
    EXPECT_TRUE(QFile::exists(path + ".xlsx"));
    EXPECT_EQ(window->workbookPages()->tabText(0), "informe.xlsx");
    EXPECT_TRUE(ui.Boxes().empty());

    window->setSaveFileNameAsker([&] { return dir.filePath("no/such/folder/x.xlsx"); });
    window->saveAsInteractively();
    ASSERT_EQ(ui.Boxes().size(), 1u);
    EXPECT_EQ(ui.Boxes()[0].type, framework::TMsgDlgType::mtError);

    window->setSaveFileNameAsker([] { return QString(); });  // cancelled: nothing happens
    window->saveAsInteractively();
    EXPECT_EQ(ui.Boxes().size(), 1u);
}

}  // namespace
