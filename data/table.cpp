#include "data/table.h"

#include "data/database.h"
#include "data/dbf_reader.h"
#include "framework/property_list.h"

namespace tabulix::data {

TTable::TTable(framework::TComponent* owner) : TDataSet(owner) {}

TTable::~TTable() { Close(); }

void TTable::DefineProperties(framework::PropertyList& p) {
    TDataSet::DefineProperties(p);
    p.Text("DatabaseName", [this] { return databaseName_; }, [this](std::string v) { SetDatabaseName(v); });
    p.Text("TableName", [this] { return tableName_; }, [this](std::string v) { SetTableName(v); });
}

void TTable::SetDatabaseName(const std::string& name) {
    if (Active()) throw EDatabaseError("Cannot change the database of table " + DisplayName() + " while it is open");
    databaseName_ = name;
}

void TTable::SetTableName(const std::string& name) {
    if (Active()) throw EDatabaseError("Cannot change the table name of " + DisplayName() + " while it is open");
    tableName_ = name;
}

int TTable::CodePage() const { return reader_ ? reader_->codePage() : 0; }

std::string TTable::SourceDescription() const {
    return file_.empty() ? "table " + tableName_ : "table " + file_.string();
}

std::vector<TFieldDef> TTable::InternalOpen() {
    if (tableName_.empty()) throw EDatabaseError("Table " + DisplayName() + " has no TableName");
    if (databaseName_.empty()) throw EDatabaseError("Table " + DisplayName() + " has no DatabaseName");
    std::filesystem::path folder;
    DbfOptions options;
    if (TDatabase* database = TDatabase::Find(databaseName_, Owner())) {
        database->Open();
        folder = database->Directory();
        options.enableBcd = database->EnableBcd();
        database_ = database;
    } else {
        std::error_code error;
        if (!std::filesystem::is_directory(databaseName_, error))
            throw EDatabaseError("Table " + DisplayName() + ": there is no database named '" + databaseName_ +
                                 "' and no folder of that name");
        folder = databaseName_;
    }
    std::filesystem::path file = folder / tableName_;
    if (!file.has_extension()) file += ".dbf";
    file_ = file;
    reader_ = std::make_unique<DbfReader>(file, options);
    file_ = reader_->path();
    if (database_) {
        database_->AttachDataSet(this);
        FreeNotification(database_);
    }
    current_ = -1;
    liveCount_ = -1;
    return reader_->fieldDefs();
}

void TTable::InternalClose() {
    reader_.reset();
    if (database_) {
        database_->DetachDataSet(this);
        RemoveFreeNotification(database_);
        database_ = nullptr;
    }
    current_ = -1;
}

void TTable::Notification(framework::TComponent* component, framework::TOperation operation) {
    TDataSet::Notification(component, operation);
    if (operation == framework::TOperation::opRemove && component == database_) {
        Close();
        database_ = nullptr;
    }
}

bool TTable::seekLive(std::int64_t from) {
    try {
        for (std::int64_t index = from; index < reader_->recordCount(); ++index) {
            reader_->load(index);
            if (!reader_->deleted()) {
                current_ = index;
                return true;
            }
        }
    } catch (...) {
        if (current_ >= 0) reader_->load(current_);
        throw;
    }
    if (current_ >= 0) reader_->load(current_);
    return false;
}

bool TTable::InternalFirst() {
    current_ = -1;
    return seekLive(0);
}

bool TTable::InternalNext() { return current_ >= 0 && seekLive(current_ + 1); }

void TTable::InternalGotoKey(std::int64_t key) {
    reader_->load(key);
    current_ = key;
}

std::int64_t TTable::InternalRecordCount() {
    if (liveCount_ < 0) {
        std::int64_t count = 0;
        try {
            for (std::int64_t index = 0; index < reader_->recordCount(); ++index) {
                reader_->load(index);
                if (!reader_->deleted()) ++count;
            }
        } catch (...) {
            if (current_ >= 0) reader_->load(current_);
            throw;
        }
        if (current_ >= 0) reader_->load(current_);
        liveCount_ = count;
    }
    return liveCount_;
}

automation::Variant TTable::InternalValue(int column) const { return reader_->value(column); }

}  // namespace tabulix::data
