#pragma once
// A fixture that shows the demonstration window on the demonstration's form file against a fresh
// embedded spreadsheet, with message boxes recorded, and finds its controls by name.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "automation/application_provider.h"
#include "demo/demo_window.h"
#include "demo/spreadsheet_setup.h"
#include "framework/currency_settings.h"
#include "framework/ui_services.h"
#include "spreadsheet/cells/cell_address.h"
#include "spreadsheet/embedded_spreadsheet.h"
#include "spreadsheet/model/application.h"
#include "spreadsheet/model/workbook.h"
#include "spreadsheet/model/worksheet.h"

namespace tabulix::demo::testing {

inline std::filesystem::path sourceDemoFolder() {
    const char* source = std::getenv("TABULIX_SOURCE_DIR");
    return std::filesystem::path(source ? source : ".") / "demo";
}

class DemoWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        automation::shutDownRunningApplication();
        InstallDemoSpreadsheet();
        currency_ = framework::Currency();
    }

    void TearDown() override {
        form.reset();
        automation::shutDownRunningApplication();
        framework::SetCurrency(currency_);
    }

    // Creates and shows the window (its start-up runs then).
    void open(const std::filesystem::path& formFile = sourceDemoFolder() / "DemoTabulix.form") {
        form = std::make_unique<TForm1>(formFile);
        form->show();
    }

    template <class T>
    T* control(const char* name) const {
        T* found = form->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << "no control named " << name;
        return found;
    }
    QLineEdit* edit(const char* name) const { return control<QLineEdit>(name); }
    QComboBox* list(const char* name) const { return control<QComboBox>(name); }
    QCheckBox* check(const char* name) const { return control<QCheckBox>(name); }
    std::string textOf(const char* name) const { return edit(name)->text().toStdString(); }

    void click(const char* name) {
        QAbstractButton* button = control<QAbstractButton>(name);
        ASSERT_TRUE(button->isEnabled()) << name << " is disabled";
        QTest::mouseClick(button, Qt::LeftButton);
    }
    void type(const char* name, const QString& text) {
        QLineEdit* target = edit(name);
        target->clear();
        QTest::keyClicks(target, text);
    }

    // The running spreadsheet's active workbook and worksheet (null when there is none).
    static std::shared_ptr<spreadsheet::Application> app() { return spreadsheet::runningEmbeddedApplication(); }
    static std::shared_ptr<spreadsheet::Workbook> activeBook() { return app()->activeWorkbook(); }
    static std::shared_ptr<spreadsheet::Worksheet> activeSheet() {
        auto book = activeBook();
        return book ? std::dynamic_pointer_cast<spreadsheet::Worksheet>(book->activeSheet()) : nullptr;
    }
    static spreadsheet::CellAddress cell(const std::string& name) { return spreadsheet::parseCellName(name); }

    // Error boxes shown so far.
    const std::vector<framework::RecordingUi::Box>& boxes() const { return ui.Boxes(); }

    framework::RecordingUi ui;
    std::unique_ptr<TForm1> form;

private:
    framework::CurrencySettings currency_;
};

}  // namespace tabulix::demo::testing
