#pragma once
// A fixture for tests that drive the spreadsheet window as a user would: every test starts a
// fresh embedded application with its window, and a RecordingUi answers message boxes.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <memory>

#include "automation/application_provider.h"
#include "framework/ui_services.h"
#include "spreadsheet/embedded_spreadsheet.h"
#include "spreadsheet/model/application.h"
#include "spreadsheet/model/workbook.h"
#include "spreadsheet/model/worksheet.h"
#include "ui/embedded_spreadsheet_window.h"
#include "ui/spreadsheet_window.h"

namespace tabulix::ui::testing {

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        automation::shutDownRunningApplication();
        installEmbeddedSpreadsheetWithWindow();
        app = spreadsheet::runningEmbeddedApplication();
        window = runningSpreadsheetWindow();
        ASSERT_NE(window, nullptr);
    }

    void TearDown() override {
        app.reset();
        automation::shutDownRunningApplication();
        QCoreApplication::processEvents();
    }

    // Lets the window take in what the model reported.
    void settle() {
        window->applyPendingChanges();
        QCoreApplication::processEvents();
        // Closed cell editors and removed pages go by deleteLater, which needs this outside
        // an event loop.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Clicks the tab at `index` of a tab bar as a user would.
    static void clickTab(QTabBar* tabs, int index) {
        ASSERT_NE(tabs, nullptr);
        ASSERT_LT(index, tabs->count());
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
    }

    static spreadsheet::CellAddress cell(const char* name) { return spreadsheet::parseCellName(name); }

    framework::RecordingUi ui;
    std::shared_ptr<spreadsheet::Application> app;
    SpreadsheetWindow* window = nullptr;
};

// A shown window holding one new workbook: `book`, and `sheet`, its first worksheet.
class ShownWorkbookTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        app->setVisible(true);
        book = app->addWorkbook();
        sheet = std::static_pointer_cast<spreadsheet::Worksheet>(book->sheetAt(1));
    }

    std::shared_ptr<spreadsheet::Workbook> book;
    std::shared_ptr<spreadsheet::Worksheet> sheet;
};

}  // namespace tabulix::ui::testing
