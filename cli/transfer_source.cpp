#include "cli/transfer_source.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

#include "component/component_classes.h"
#include "component/tabulix.h"
#include "data/csv_table.h"
#include "data/data_classes.h"
#include "data/database.h"
#include "data/odbc_query.h"
#include "data/pg_query.h"
#include "data/sqlite_query.h"
#include "data/table.h"
#include "framework/class_registry.h"
#include "framework/form.h"
#include "framework/form_file_error.h"
#include "framework/form_reader.h"
#include "framework/printable.h"
#include "framework/text_compare.h"

namespace tabulix::cli {

namespace fs = std::filesystem;
using component::TTabulix;
using framework::ClassRegistry;
using framework::TComponent;

namespace {

std::string quoted(const fs::path& path) { return framework::quotedPath(path); }

// Refuses what is not a regular file the program can read, with the system's reason.
void requireReadableFile(const fs::path& file, const std::string& what) {
    std::error_code error;
    const fs::file_status status = fs::status(file, error);
    if (!fs::exists(status)) throw SourceError(what + " " + quoted(file) + " does not exist");
    if (!fs::is_regular_file(status)) throw SourceError(what + " " + quoted(file) + " is not a file");
    if (::access(file.c_str(), R_OK) != 0)
        throw SourceError("cannot read " + what + " " + quoted(file) + ": " + std::strerror(errno));
}

std::string readText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw SourceError("cannot open the form file " + quoted(file) + ": " + std::strerror(errno));
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) throw SourceError("cannot read the form file " + quoted(file) + ": " + std::strerror(errno));
    return text.str();
}

// The folder of the form file this thread is reading, or null. Databases and queries need it
// before their stored Connected or Active is carried out, which happens inside the read; it is
// the thread's own, so that several threads read form files of different folders at once.
thread_local const fs::path* loadingFolder = nullptr;

class BaseFolderForLoading {
public:
    explicit BaseFolderForLoading(const fs::path& folder) : folder_(folder) { loadingFolder = &folder_; }
    ~BaseFolderForLoading() { loadingFolder = nullptr; }
    BaseFolderForLoading(const BaseFolderForLoading&) = delete;
    BaseFolderForLoading& operator=(const BaseFolderForLoading&) = delete;

private:
    fs::path folder_;
};

// The data classes that read files, made with the folder of the form file being read.
void registerFolderAwareClasses() {
    ClassRegistry& registry = ClassRegistry::Instance();
    registry.Register("TDatabase", [](TComponent* owner) -> TComponent* {
        auto* database = new data::TDatabase(owner);
        if (loadingFolder) database->SetBaseFolder(*loadingFolder);
        return database;
    });
    registry.Register("TSQLiteQuery", [](TComponent* owner) -> TComponent* {
        auto* query = new data::TSQLiteQuery(owner);
        if (loadingFolder) query->SetBaseFolder(*loadingFolder);
        return query;
    });
    registry.Register("TCsvTable", [](TComponent* owner) -> TComponent* {
        auto* table = new data::TCsvTable(owner);
        if (loadingFolder) table->SetBaseFolder(*loadingFolder);
        return table;
    });
}

void collectTabulix(TComponent& owner, std::vector<TTabulix*>& found) {
    for (int i = 0; i < owner.ComponentCount(); ++i) {
        TComponent* child = owner.Components(i);
        if (auto* tabulix = dynamic_cast<TTabulix*>(child)) found.push_back(tabulix);
        collectTabulix(*child, found);
    }
}

std::string nameList(const std::vector<TTabulix*>& components) {
    std::string names;
    for (const TTabulix* c : components) {
        if (!names.empty()) names += ", ";
        names += c->Name().empty() ? "(unnamed)" : c->Name();
    }
    return names;
}

TTabulix& chooseTabulix(TComponent& root, const std::string& name, const fs::path& file) {
    std::vector<TTabulix*> found;
    collectTabulix(root, found);
    if (found.empty()) throw SourceError("the form file " + quoted(file) + " holds no TTabulix component");
    if (!name.empty()) {
        for (TTabulix* c : found)
            if (framework::sameText(c->Name(), name)) return *c;
        throw SourceError("the form file " + quoted(file) + " has no TTabulix named '" + framework::printable(name) +
                          "'; its TTabulix components: " +
                          framework::printable(nameList(found), framework::kPrintableMessageLength));
    }
    if (found.size() > 1)
        throw SourceError("the form file " + quoted(file) + " holds several TTabulix components (" +
                          framework::printable(nameList(found), framework::kPrintableMessageLength) +
                          "): choose one with --component NAME");
    return *found.front();
}

std::string componentName(const TTabulix& tabulix) {
    return tabulix.Name().empty() ? "the TTabulix" : "component '" + framework::printable(tabulix.Name()) + "'";
}

// The form file's component: a failure names the form file, the data set and the component.
void openDataOf(TTabulix& tabulix, const fs::path& formFile) {
    const std::string where = framework::printable(formFile.string(), framework::kPrintablePathLength);
    data::TDataSet* dataSet = tabulix.Datos();
    if (!dataSet) throw SourceError(where + ": " + componentName(tabulix) + " has no data set (Datos is not set)");
    if (dataSet->Active()) return;
    try {
        dataSet->Open();
    } catch (const std::exception& e) {
        throw SourceError(where + ": cannot open the data set '" + framework::printable(dataSet->DisplayName()) +
                          "' of " + componentName(tabulix) + ": " + e.what());
    }
}

// A root for the components of a --dbf or --sqlite run; a failure names the file the user gave
// (`what` it is), not the components made for it.
TransferSource defaultSource(std::unique_ptr<TComponent> root, data::TDataSet* dataSet, const std::string& title,
                             const std::string& what, const fs::path& file) {
    auto* tabulix = new TTabulix(root.get());
    tabulix->SetName("Tabulix");
    tabulix->SetDatos(dataSet);
    tabulix->Titulo = title;
    try {
        dataSet->Open();
    } catch (const std::exception& e) {
        throw SourceError("cannot read " + what + " " + quoted(file) + ": " + e.what());
    }
    return TransferSource{std::move(root), tabulix};
}

}  // namespace

void RegisterProgramClasses() {
    data::RegisterDataClasses();
    registerFolderAwareClasses();
    component::RegisterComponentClasses();
}

TransferSource LoadFormSource(const fs::path& formFile, const std::string& componentName) {
    requireReadableFile(formFile, "the form file");
    const std::string text = readText(formFile);
    const std::string rootClass = framework::RootClassOf(text);
    ClassRegistry& registry = ClassRegistry::Instance();
    if (!rootClass.empty() && !registry.IsRegistered(rootClass))
        registry.Register(rootClass, [rootClass](TComponent* owner) -> TComponent* {
            return new framework::TForm(owner, rootClass);
        });

    std::unique_ptr<TComponent> root;
    {
        BaseFolderForLoading baseFolder(fs::absolute(formFile).parent_path());
        try {
            root = framework::ReadForm(text, formFile.string());
        } catch (const framework::FormFileError&) {
            throw;
        } catch (const std::exception& e) {
            throw SourceError(framework::printable(formFile.string(), framework::kPrintablePathLength) +
                              ": cannot load the form: " + e.what());
        }
    }
    TTabulix& tabulix = chooseTabulix(*root, componentName, formFile);
    openDataOf(tabulix, formFile);
    return TransferSource{std::move(root), &tabulix};
}

TransferSource DbfSource(const fs::path& file, const std::string& title, int codePage) {
    requireReadableFile(file, "the dBASE file");
    auto root = std::make_unique<framework::TForm>(nullptr);
    root->SetName("Tabulix");
    auto* table = new data::TTable(root.get());
    table->SetName("Tabla");
    table->SetDatabaseName(fs::absolute(file).parent_path().string());
    table->SetTableName(file.filename().string());
    table->SetCodePage(codePage);
    return defaultSource(std::move(root), table, title, "the dBASE file", file);
}

TransferSource CsvSource(const fs::path& file, const std::string& delimiter, int codePage, const std::string& title) {
    requireReadableFile(file, "the CSV file");
    auto root = std::make_unique<framework::TForm>(nullptr);
    root->SetName("Tabulix");
    auto* table = new data::TCsvTable(root.get());
    table->SetName("Tabla");
    table->SetFileName(fs::absolute(file).string());
    table->SetDelimiter(delimiter);
    table->SetCodePage(codePage);
    return defaultSource(std::move(root), table, title, "the CSV file", file);
}

namespace {

// A server query with the default settings.
template <class Query>
TransferSource serverQuerySource(const std::string& connection, const std::string& sql, const std::string& title) {
    auto root = std::make_unique<framework::TForm>(nullptr);
    root->SetName("Tabulix");
    auto* query = new Query(root.get());
    query->SetName("Consulta");
    auto* tabulix = new TTabulix(root.get());
    tabulix->SetName("Tabulix");
    tabulix->SetDatos(query);
    tabulix->Titulo = title;
    // The messages name server and database themselves, and never the connection text: it may
    // hold a password.
    try {
        query->SetConnectionString(connection);
        query->SQL().SetText(sql);
        query->Open();
    } catch (const std::exception& e) {
        throw SourceError(e.what());
    }
    return TransferSource{std::move(root), tabulix};
}

}  // namespace

TransferSource PgSource(const std::string& connection, const std::string& sql, const std::string& title) {
    return serverQuerySource<data::TPgQuery>(connection, sql, title);
}

TransferSource OdbcSource(const std::string& connection, const std::string& sql, const std::string& title) {
    return serverQuerySource<data::TOdbcQuery>(connection, sql, title);
}

TransferSource SqliteSource(const fs::path& file, const std::string& sql, const std::string& title,
                            bool keepRowsInMemory) {
    requireReadableFile(file, "the SQLite database");
    auto root = std::make_unique<framework::TForm>(nullptr);
    root->SetName("Tabulix");
    auto* query = new data::TSQLiteQuery(root.get());
    query->SetName("Consulta");
    query->SetFileName(fs::absolute(file).string());
    query->SQL().SetText(sql);
    query->SetKeepRowsInMemory(keepRowsInMemory);
    return defaultSource(std::move(root), query, title, "the SQLite database", file);
}

TransferSource LoadSource(const CommandLine& line) {
    switch (line.source) {
        case SourceKind::DbfFile: return DbfSource(line.input, line.title, line.codePage);
        case SourceKind::CsvFile: return CsvSource(line.input, line.delimiter, line.codePage, line.title);
        case SourceKind::SqliteQuery: return SqliteSource(line.input, line.sql, line.title, line.keepRowsInMemory);
        case SourceKind::PgQuery: return PgSource(line.connection, line.sql, line.title);
        case SourceKind::OdbcQuery: return OdbcSource(line.connection, line.sql, line.title);
        case SourceKind::FormFile: break;
    }
    return LoadFormSource(line.input, line.component);
}

}  // namespace tabulix::cli
