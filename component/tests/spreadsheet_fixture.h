#pragma once
// A GoogleTest fixture for tests that drive the component against the embedded spreadsheet:
// every test starts a fresh embedded application (nothing left over from an earlier test) whose
// call journal records each automation call made on its objects.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "automation/application_provider.h"
#include "automation/call_journal.h"
#include "automation/connection.h"
#include "spreadsheet/cells/cell_address.h"
#include "spreadsheet/embedded_spreadsheet.h"
#include "spreadsheet/model/application.h"
#include "spreadsheet/model/workbook.h"
#include "spreadsheet/model/worksheet.h"

namespace tabulix::component::testing {

class EmbeddedSpreadsheetTest : public ::testing::Test {
protected:
    void SetUp() override {
        automation::shutDownRunningApplication();
        spreadsheet::installEmbeddedSpreadsheet();
        app = spreadsheet::runningEmbeddedApplication();
        journal = &app->enableCallJournal();
    }

    // Components are test locals, gone by now; the application goes with the last reference.
    void TearDown() override {
        journal = nullptr;
        app.reset();
        automation::shutDownRunningApplication();
    }

    // The cell `name` ("B3") of a worksheet, for reading values, formulas and styles.
    static spreadsheet::CellAddress cell(const std::string& name) { return spreadsheet::parseCellName(name); }

    // The embedded worksheet a connection is connected to (nullptr when it is another kind).
    static std::shared_ptr<spreadsheet::Worksheet> worksheetOf(automation::Connection& connection) {
        return std::dynamic_pointer_cast<spreadsheet::Worksheet>(connection.Object());
    }

    // The calls journaled since the last journal->clear(), one line each, such as
    // "Range.Value put [Text("x")] lcid=0x0C0A".
    std::vector<std::string> calls() const {
        std::vector<std::string> lines;
        for (const automation::JournalEntry& entry : journal->entries()) lines.push_back(entry.describe());
        return lines;
    }

    std::shared_ptr<spreadsheet::Application> app;  // the running application
    automation::CallJournal* journal = nullptr;     // app's journal, recording from the start
};

}  // namespace tabulix::component::testing
