// The spreadsheet's own window beside the demonstration: it shows what the buttons do and the
// component follows what the user activates in it.

#include <QTabBar>
#include <QTabWidget>

#include "component/tabulix.h"
#include "demo/tests/demo_window_fixture.h"
#include "ui/embedded_spreadsheet_window.h"
#include "ui/spreadsheet_window.h"

namespace tabulix::demo::testing {
namespace {

class SpreadsheetWindowTest : public DemoWindowTest {
protected:
    void SetUp() override {
        DemoWindowTest::SetUp();
        open();
    }

    static ui::SpreadsheetWindow* window() {
        ui::SpreadsheetWindow* running = ui::runningSpreadsheetWindow();
        if (running) running->applyPendingChanges();
        QCoreApplication::processEvents();
        return running;
    }

    // The name on the window's page that is shown.
    static std::string shownWorkbook() {
        QTabWidget* pages = window()->workbookPages();
        return pages->tabText(pages->currentIndex()).toStdString();
    }
};

TEST_F(SpreadsheetWindowTest, ShowsTheTransferAndFollowsShowAndHide) {
    click("Button1");
    ASSERT_NE(window(), nullptr);
    EXPECT_TRUE(window()->isVisible()) << "Ver Construcción shows the spreadsheet";
    click("Button18");
    EXPECT_FALSE(window()->isVisible());
    click("Button2");
    EXPECT_TRUE(window()->isVisible());
    click("Button17");
    EXPECT_FALSE(window()->isVisible());
    click("Button4");
    EXPECT_TRUE(window()->isVisible());
}

TEST_F(SpreadsheetWindowTest, FollowsTheWorkbookActivatedFromTheList) {
    click("Button1");
    click("Button16");
    ASSERT_EQ(app()->workbooks().size(), 2u);
    const std::string first = app()->workbooks()[0]->name();
    EXPECT_NE(shownWorkbook(), first);

    click("Button12");
    list("Libros")->setCurrentIndex(0);
    click("Button13");
    EXPECT_EQ(shownWorkbook(), first);
    EXPECT_EQ(list("Hojas")->currentText().toStdString(), "Ejemplo");
}

TEST_F(SpreadsheetWindowTest, TheComponentFollowsASheetTheUserActivatesInTheWindow) {
    click("Button1");
    click("Button3");  // a new sheet, active and the component's
    ui::SpreadsheetWindow* spreadsheet = window();
    ASSERT_NE(spreadsheet, nullptr);
    QTabBar* tabs = spreadsheet->sheetTabs(spreadsheet->workbookPages()->currentIndex());
    ASSERT_NE(tabs, nullptr);
    int data = -1;
    for (int i = 0; i < tabs->count(); ++i)
        if (tabs->tabText(i) == "Ejemplo") data = i;
    ASSERT_GE(data, 0);
    ASSERT_NE(activeSheet()->name(), "Ejemplo");

    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(data).center());
    window();
    EXPECT_EQ(activeSheet()->name(), "Ejemplo");

    control<QRadioButton>("f3")->setChecked(true);
    type("Edit13", "K1");
    type("Edit14", "aqui");
    click("Button6");
    EXPECT_EQ(activeSheet()->value(cell("K1")).toText(), "aqui") << "the write missed the sheet the user chose";
}

}  // namespace
}  // namespace tabulix::demo::testing
