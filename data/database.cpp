#include "data/database.h"

#include <algorithm>
#include <mutex>
#include <thread>

#include "data/data_error.h"
#include "data/data_set.h"
#include "data/shown_text.h"
#include "framework/property_list.h"
#include "framework/text_compare.h"

namespace tabulix::data {

namespace {

// Every thread's databases, in creation order, each with the thread that made it.
struct Sessions {
    struct Entry {
        TDatabase* database;
        std::thread::id thread;
    };
    std::mutex lock;
    std::vector<Entry> entries;
};

Sessions& sessions() {
    static Sessions instance;
    return instance;
}

std::string upperAscii(std::string text) {
    for (char& c : text) c = framework::upperAscii(c);
    return text;
}

}  // namespace

TDatabase::TDatabase(framework::TComponent* owner) : TComponent(owner) {
    Sessions& s = sessions();
    const std::lock_guard<std::mutex> hold(s.lock);
    s.entries.push_back({this, std::this_thread::get_id()});
}

TDatabase::~TDatabase() {
    Close();
    Sessions& s = sessions();
    const std::lock_guard<std::mutex> hold(s.lock);
    std::erase_if(s.entries, [this](const Sessions::Entry& e) { return e.database == this; });
}

void TDatabase::DefineProperties(framework::PropertyList& p) {
    TComponent::DefineProperties(p);
    p.Boolean("Connected", [this] { return connected_; }, [this](bool v) { SetConnected(v); }).Default(false);
    p.Text("DatabaseName", [this] { return databaseName_; }, [this](std::string v) { SetDatabaseName(v); });
    p.Text("DriverName", [this] { return driverName_; }, [this](std::string v) { SetDriverName(v); });
    p.StringList("Params", params_);
    p.Text("SessionName", sessionName_);
}

std::string TDatabase::displayName() const {
    if (!databaseName_.empty()) return shown(databaseName_);
    return Name().empty() ? std::string("(unnamed)") : shown(Name());
}

void TDatabase::checkDisconnected(const std::string& what) const {
    if (connected_) throw EDatabaseError("Cannot change " + what + " of database " + displayName() + " while it is connected");
}

void TDatabase::SetDatabaseName(const std::string& name) {
    checkDisconnected("the name");
    databaseName_ = name;
}

void TDatabase::SetDriverName(const std::string& name) {
    checkDisconnected("the driver");
    driverName_ = name;
}

void TDatabase::SetConnected(bool value) {
    if (IsLoading()) {
        streamedConnected_ = value;
        return;
    }
    if (value)
        Open();
    else
        Close();
}

void TDatabase::Loaded() {
    TComponent::Loaded();
    if (streamedConnected_) {
        streamedConnected_ = false;
        Open();
    }
}

void TDatabase::Open() {
    if (connected_) return;
    const std::string who = "Database " + displayName();
    if (!driverName_.empty() && !framework::sameText(driverName_, "STANDARD"))
        throw EDatabaseError(who + ": driver '" + shown(driverName_) + "' is not available (only STANDARD, for dBASE tables)");
    const std::string driver = params_.Values("DEFAULT DRIVER");
    if (!driver.empty() && !framework::sameText(driver, "DBASE"))
        throw EDatabaseError(who + ": default driver '" + shown(driver) + "' is not available (only DBASE)");
    const std::string bcd = upperAscii(params_.Values("ENABLE BCD"));
    if (!bcd.empty() && bcd != "TRUE" && bcd != "FALSE")
        throw EDatabaseError(who + ": ENABLE BCD must be TRUE or FALSE, not '" + shown(params_.Values("ENABLE BCD")) + "'");

    std::string path = params_.Values("PATH");
    std::replace(path.begin(), path.end(), '\\', '/');
    std::filesystem::path folder(path.empty() ? std::string(".") : path);
    if (folder.is_relative()) {
        const std::filesystem::path base = baseFolder_.empty() ? std::filesystem::current_path() : baseFolder_;
        folder = base / folder;
    }
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error))
        throw EDatabaseError(who + ": the folder " + shownPath(folder) + " (PATH=" + shown(params_.Values("PATH")) +
                             ") does not exist");
    directory_ = std::filesystem::weakly_canonical(folder, error);
    if (error) directory_ = folder.lexically_normal();
    enableBcd_ = bcd == "TRUE";
    connected_ = true;
}

void TDatabase::Close() {
    if (!connected_) return;
    for (TDataSet* dataSet : std::vector<TDataSet*>(dataSets_)) dataSet->Close();
    dataSets_.clear();
    connected_ = false;
    directory_.clear();
}

TDatabase* TDatabase::Find(const std::string& name, const framework::TComponent* owner) {
    if (name.empty()) return nullptr;
    if (owner)
        for (int i = 0; i < owner->ComponentCount(); ++i)
            if (auto* database = dynamic_cast<TDatabase*>(owner->Components(i));
                database && framework::sameText(database->databaseName_, name))
                return database;
    Sessions& s = sessions();
    const std::lock_guard<std::mutex> hold(s.lock);
    for (const Sessions::Entry& e : s.entries)
        if (e.thread == std::this_thread::get_id() && framework::sameText(e.database->databaseName_, name))
            return e.database;
    return nullptr;
}

void TDatabase::AttachDataSet(TDataSet* dataSet) {
    if (std::find(dataSets_.begin(), dataSets_.end(), dataSet) == dataSets_.end()) dataSets_.push_back(dataSet);
}

void TDatabase::DetachDataSet(TDataSet* dataSet) { std::erase(dataSets_, dataSet); }

}  // namespace tabulix::data
