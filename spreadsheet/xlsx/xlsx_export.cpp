#include "spreadsheet/xlsx/xlsx_export.h"

#include "automation/automation_error.h"
#include "automation/workbook_file_name.h"
#include "framework/atomic_file.h"
#include "framework/printable.h"
#include "xlsx_package.h"

namespace tabulix::spreadsheet {

using automation::AutomationError;


std::string writeXlsx(const Workbook& book, const std::string& path, const SaveProgress& progress) {
    const std::string target = automation::WorkbookFileName(path);
    try {
        framework::AtomicFile file(target);
        writeXlsxPackage(book, file.Descriptor(), progress);
        file.Commit();
    } catch (const std::exception& e) {
        throw AutomationError("Cannot save " + framework::quotedPath(target) + ": " + e.what());
    }
    return target;
}

}  // namespace tabulix::spreadsheet
