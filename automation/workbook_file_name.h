#pragma once

#include <string>

namespace tabulix::automation {

// The file a workbook save writes for the name a caller gave: ".xlsx" is added to a name without
// extension, other extensions are refused (every application here writes .xlsx only), and names
// longer than the system allows are refused. Both applications name their files this way, so a
// report saves under the same name whichever one made it. Throws AutomationError.
std::string WorkbookFileName(const std::string& path);

}  // namespace tabulix::automation
