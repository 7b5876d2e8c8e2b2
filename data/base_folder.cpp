#include "data/base_folder.h"

#include "data/csv_table.h"
#include "data/database.h"
#include "data/sqlite_query.h"

namespace tabulix::data {

void SetBaseFolders(framework::TComponent& root, const std::filesystem::path& folder) {
    if (auto* database = dynamic_cast<TDatabase*>(&root)) database->SetBaseFolder(folder);
    if (auto* query = dynamic_cast<TSQLiteQuery*>(&root)) query->SetBaseFolder(folder);
    if (auto* table = dynamic_cast<TCsvTable*>(&root)) table->SetBaseFolder(folder);
    for (int i = 0; i < root.ComponentCount(); ++i) SetBaseFolders(*root.Components(i), folder);
}

}  // namespace tabulix::data
