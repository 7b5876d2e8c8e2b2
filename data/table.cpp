#include "data/table.h"

#include "data/database.h"
#include "data/dbf_reader.h"
#include "data/shown_text.h"
#include "framework/property_list.h"

namespace tabulix::data {

TTable::TTable(framework::TComponent* owner) : TDataSet(owner) {}

TTable::~TTable() { Close(); }

void TTable::DefineProperties(framework::PropertyList& p) {
    TDataSet::DefineProperties(p);
    p.Text("DatabaseName", [this] { return databaseName_; }, [this](std::string v) { SetDatabaseName(v); });
    p.Text("TableName", [this] { return tableName_; }, [this](std::string v) { SetTableName(v); });
    p.Integer<int>("CodePage", [this] { return requestedCodePage_; }, [this](int v) { SetCodePage(v); }).Default(0);
    p.Boolean("IgnoreMissingMemoFile", [this] { return ignoreMissingMemoFile_; },
              [this](bool v) { SetIgnoreMissingMemoFile(v); })
        .Default(false);
}

void TTable::SetCodePage(int page) {
    if (Active()) throw EDatabaseError("Cannot change the code page of table " + DisplayName() + " while it is open");
    if (page < 0) throw EDatabaseError("Table " + DisplayName() + ": " + std::to_string(page) + " is not a code page");
    requestedCodePage_ = page;
}

void TTable::SetIgnoreMissingMemoFile(bool value) {
    if (Active())
        throw EDatabaseError("Cannot change IgnoreMissingMemoFile of table " + DisplayName() + " while it is open");
    ignoreMissingMemoFile_ = value;
}

void TTable::SetDatabaseName(const std::string& name) {
    if (Active()) throw EDatabaseError("Cannot change the database of table " + DisplayName() + " while it is open");
    databaseName_ = name;
}

void TTable::SetTableName(const std::string& name) {
    if (Active()) throw EDatabaseError("Cannot change the table name of " + DisplayName() + " while it is open");
    tableName_ = name;
}

int TTable::CodePage() const { return reader_ ? reader_->codePage() : requestedCodePage_; }

std::string TTable::CodePageOrigin() const { return reader_ ? reader_->codePageOrigin() : std::string(); }

std::vector<std::filesystem::path> TTable::SourceFiles() const {
    if (!reader_) return {};
    std::vector<std::filesystem::path> files{reader_->path()};
    if (reader_->hasMemoFile()) files.push_back(reader_->memoPath());
    return files;
}

std::string TTable::SourceDescription() const {
    return file_.empty() ? "table " + shown(tableName_) : "table " + shownPath(file_);
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
            throw EDatabaseError("Table " + DisplayName() + ": there is no database named '" + shown(databaseName_) +
                                 "' and no folder of that name");
        folder = databaseName_;
    }
    std::filesystem::path file = folder / tableName_;
    if (!file.has_extension()) file += ".dbf";
    file_ = file;
    options.codePage = requestedCodePage_;
    options.ignoreMissingMemoFile = ignoreMissingMemoFile_;
    reader_ = std::make_unique<DbfReader>(file, options);
    file_ = reader_->path();
    if (const std::int64_t uncounted = reader_->uncountedRecords(); uncounted > 0)
        Warn("Table " + file_.string() + ": its header counts " + std::to_string(reader_->recordCount()) +
             (reader_->recordCount() == 1 ? " record" : " records") + " but the file holds " +
             std::to_string(uncounted) + " more after them, which are not read");
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
