// Writes the workbook of hostile texts (see hostile_workbook.h) for the schema check.
// Usage: hostile_workbook FILE.xlsx

#include <cstdio>

#include "automation/automation_error.h"
#include "spreadsheet/embedded_spreadsheet.h"
#include "spreadsheet/model/application.h"
#include "spreadsheet/model/workbook.h"
#include "spreadsheet/xlsx/tests/hostile_workbook.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: hostile_workbook FILE.xlsx\n");
        return 2;
    }
    try {
        auto app = tabulix::spreadsheet::createEmbeddedApplication();
        const auto book = app->addWorkbook();
        tabulix::spreadsheet::testing::fillHostileWorkbook(book);
        book->saveAs(argv[1]);
    } catch (const tabulix::automation::AutomationError& e) {
        std::fprintf(stderr, "hostile_workbook: %s\n", e.what());
        return 1;
    }
    return 0;
}
