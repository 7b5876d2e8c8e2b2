#pragma once
// Shared set-up of the spreadsheet tests: an application with one workbook, and short forms of
// automation calls.

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "automation/dispids.h"
#include "automation/variant.h"
#include "spreadsheet/model/application.h"
#include "spreadsheet/model/range.h"
#include "spreadsheet/model/workbook.h"
#include "spreadsheet/model/worksheet.h"

namespace tabulix::spreadsheet::testing {

using automation::DispatchPtr;
using automation::Variant;
namespace dispid = automation::dispid;

inline DispatchPtr object(const Variant& v) { return v.toObject(); }

class SpreadsheetTest : public ::testing::Test {
protected:
    // Tests that save give the file writer; the model alone cannot save.
    explicit SpreadsheetTest(WorkbookWriter writer = nullptr) : writer_(writer) {}

    void SetUp() override {
        app = Application::create(automation::kLcidSpanishSpain, writer_);
        book = app->addWorkbook();
        sheet = std::static_pointer_cast<Worksheet>(book->sheets().front());
    }

    // The Range object of sheet.Range(first, last) through the dispatch entry.
    DispatchPtr range(const std::string& first, const std::string& last) {
        return object(sheet->get(dispid::Range, {Variant(first), Variant(last)}));
    }
    DispatchPtr range(const std::string& cell) { return range(cell, cell); }

    void putValue(const std::string& cell, const Variant& value,
                  automation::Lcid lcid = automation::kLcidSpanishSpain) {
        range(cell)->put(dispid::Value, value, lcid);
    }

    std::shared_ptr<Application> app;
    std::shared_ptr<Workbook> book;
    std::shared_ptr<Worksheet> sheet;

private:
    WorkbookWriter writer_;
};

}  // namespace tabulix::spreadsheet::testing
