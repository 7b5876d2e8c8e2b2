#include "design/host/designer_setup.h"

#include "data/csv_table.h"
#include "data/database.h"
#include "data/odbc_query.h"
#include "data/pg_query.h"
#include "data/sqlite_query.h"
#include "data/table.h"
#include "design/host/designer_host.h"
#include "ui/embedded_spreadsheet_window.h"
#include "ui/spreadsheet_window.h"

namespace tabulix::design {

namespace fs = std::filesystem;
using framework::TComponent;

void RegisterDataAccessPalette(DesignerHost& host) {
    host.RegisterComponents(
        "Data Access",
        {ComponentClass{"TDatabase", [](TComponent* owner) -> TComponent* { return new data::TDatabase(owner); }},
         ComponentClass{"TTable", [](TComponent* owner) -> TComponent* { return new data::TTable(owner); }},
         ComponentClass{"TSQLiteQuery",
                        [](TComponent* owner) -> TComponent* { return new data::TSQLiteQuery(owner); }},
         ComponentClass{"TCsvTable", [](TComponent* owner) -> TComponent* { return new data::TCsvTable(owner); }},
         ComponentClass{"TPgQuery", [](TComponent* owner) -> TComponent* { return new data::TPgQuery(owner); }},
         ComponentClass{"TOdbcQuery", [](TComponent* owner) -> TComponent* { return new data::TOdbcQuery(owner); }}});
}

std::vector<fs::path> DefaultPackages(const fs::path& programFolder) {
    const char* const kLibrary = "libPackTabulix.so";
    const fs::path candidates[] = {
        programFolder / kLibrary,
        programFolder / ".." / "lib" / kLibrary,
        programFolder / ".." / TABULIX_INSTALLED_PACKAGE_DIR / kLibrary,
        fs::path(TABULIX_PACKAGE_DIR) / kLibrary,
    };
    for (const fs::path& candidate : candidates) {
        std::error_code error;
        if (fs::is_regular_file(candidate, error)) return {candidate.lexically_normal()};
    }
    return {};
}

void ShowRunningSpreadsheetWindow() {
    if (ui::SpreadsheetWindow* window = ui::runningSpreadsheetWindow()) {
        window->show();
        window->raise();
        window->activateWindow();
    }
}

}  // namespace tabulix::design
