#pragma once
// Saving a Calc document as an .xlsx file the way the embedded spreadsheet saves: the same file
// names (".xlsx" added to a name without extension, other extensions refused), the same
// replacement of the file as one step (its permissions kept, symbolic links followed, nothing
// broken left behind) and the same messages. Calc writes into a private file first.

#include <filesystem>
#include <string>

#include <com/sun/star/frame/XModel.hpp>

namespace tabulix::office {

// Saves `document` as `path`, through `scratch` (a file in a private folder). Returns the path
// written. Raises AutomationError "Cannot save "path": reason".
std::filesystem::path saveWorkbook(const com::sun::star::uno::Reference<com::sun::star::frame::XModel>& document,
                                   const std::string& path, const std::filesystem::path& scratch);

}  // namespace tabulix::office
