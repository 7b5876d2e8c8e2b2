#include "data/data_set.h"

#include <algorithm>

#include "data/field_classes.h"
#include "data/shown_text.h"
#include "framework/property_list.h"
#include "framework/text_compare.h"

namespace tabulix::data {

using automation::Variant;

namespace {

std::string upperName(const std::string& name) {
    std::string upper(name);
    for (char& c : upper) c = framework::upperAscii(c);
    return upper;
}

std::string describeColumn(const TFieldDef& def) {
    std::string text = "'" + shown(def.name) + "' of type " + std::string(fieldTypeName(def.dataType));
    if (def.size > 0 && (def.dataType == TFieldType::ftString || def.dataType == TFieldType::ftWideString))
        text += "(" + std::to_string(def.size) + ")";
    return text;
}

}  // namespace

// --- TFieldList ---

TField* TFieldList::Fields(int index) const {
    if (index < 0 || index >= Count())
        throw EDatabaseError("Field index " + std::to_string(index) + " out of range (" + std::to_string(Count()) +
                             " fields)");
    return fields_[static_cast<std::size_t>(index)];
}

TField* TFieldList::Find(const std::string& name) const {
    if (name.empty()) return nullptr;
    for (TField* field : fields_)
        if (framework::sameText(field->ParentField() ? field->FullName() : field->FieldName(), name)) return field;
    return nullptr;
}

// --- TDataSet ---

TDataSet::TDataSet(framework::TComponent* owner) : TComponent(owner) {}

TDataSet::~TDataSet() {
    for (TField* field : persistent_) field->dataSet_ = nullptr;
    persistent_.clear();
    for (auto& field : defaultFields_) {
        field->dataSet_ = nullptr;
        field->parent_ = nullptr;
        if (auto* object = dynamic_cast<TObjectField*>(field.get())) object->children_.clear();
    }
    defaultFields_.clear();
}

void TDataSet::DefineProperties(framework::PropertyList& p) {
    TComponent::DefineProperties(p);
    p.Boolean("Active", [this] { return Active(); }, [this](bool v) { SetActive(v); }).Default(false);
}

void TDataSet::AdoptChild(framework::TComponent* child) {
    auto* field = dynamic_cast<TField*>(child);
    if (!field)
        throw EDatabaseError("Data set " + DisplayName() + " can only hold fields, not a " + child->ClassName());
    field->SetDataSet(this);
}

std::vector<framework::TComponent*> TDataSet::GetChildren() const {
    std::vector<framework::TComponent*> children;
    for (TField* field : persistent_)
        if (!field->ParentField() && field->Owner() == this) children.push_back(field);
    return children;
}

std::string TDataSet::DisplayName() const { return Name().empty() ? ClassName() : shown(Name()); }

void TDataSet::checkInactive(const std::string& operation) const {
    if (Active()) throw EDatabaseError("Cannot " + operation + " while data set " + DisplayName() + " is open");
}

void TDataSet::checkActive(const std::string& operation) const {
    if (!Active()) throw EDatabaseError("Cannot " + operation + ": data set " + DisplayName() + " is closed");
}

void TDataSet::SetActive(bool value) {
    if (IsLoading()) {
        streamedActive_ = value;
        return;
    }
    if (value)
        Open();
    else
        Close();
}

void TDataSet::Loaded() {
    TComponent::Loaded();
    if (streamedActive_) {
        streamedActive_ = false;
        Open();
    }
}

void TDataSet::Open() {
    if (Active()) return;
    state_ = TDataSetState::dsOpening;
    warnings_.clear();
    try {
        fieldDefs_ = InternalOpen();
        bindFields();
        hasRecord_ = InternalFirst();
        eof_ = !hasRecord_;
        bof_ = true;
        recNo_ = hasRecord_ ? 1 : 0;
        state_ = TDataSetState::dsBrowse;
    } catch (...) {
        state_ = TDataSetState::dsInactive;
        unbindFields();
        fieldDefs_.clear();
        InternalClose();
        throw;
    }
    DataChanged();
}

void TDataSet::Close() {
    if (!Active()) return;
    InternalClose();
    state_ = TDataSetState::dsInactive;
    unbindFields();
    fieldDefs_.clear();
    bookmarks_.clear();
    eof_ = bof_ = true;
    hasRecord_ = false;
    recNo_ = 0;
    DataChanged();
}

// --- fields ---

void TDataSet::addPersistent(TField* field) {
    if (std::find(persistent_.begin(), persistent_.end(), field) == persistent_.end()) persistent_.push_back(field);
    rebuildFieldLists();
}

void TDataSet::removePersistent(TField* field) {
    std::erase(persistent_, field);
    rebuildFieldLists();
}

void TDataSet::rebuildFieldLists() {
    std::vector<TField*> all;
    if (!persistent_.empty())
        all = persistent_;
    else
        for (auto& field : defaultFields_) all.push_back(field.get());
    fields_.fields_.clear();
    fieldList_.fields_.clear();
    auto addTree = [this](auto& self, TField* field) -> void {
        fieldList_.fields_.push_back(field);
        if (auto* object = dynamic_cast<TObjectField*>(field))
            for (TField* child : object->children_) self(self, child);
    };
    for (TField* field : all) {
        if (field->ParentField()) continue;
        fields_.fields_.push_back(field);
        addTree(addTree, field);
    }
}

TField* TDataSet::FieldByName(const std::string& name) const {
    if (TField* field = FindField(name)) return field;
    throw EDatabaseError("Field '" + shown(name) + "' not found in data set " + DisplayName());
}

void TDataSet::bindFields() {
    if (persistent_.empty()) {
        int column = 0;
        createDefaultFields(fieldDefs_, nullptr, column);
        rebuildFieldLists();
        return;
    }
    // Every column by its full name, with its leaf index (-1 for groups).
    std::map<std::string, std::pair<int, const TFieldDef*>> columns;
    int leaf = 0;
    auto index = [&](auto& self, const std::vector<TFieldDef>& defs, const std::string& prefix) -> void {
        for (const TFieldDef& def : defs) {
            const std::string name = prefix + def.name;
            if (def.dataType == TFieldType::ftADT) {
                columns.emplace(upperName(name), std::make_pair(-1, &def));
                self(self, def.children, name + ".");
            } else {
                columns.emplace(upperName(name), std::make_pair(leaf++, &def));
            }
        }
    };
    index(index, fieldDefs_, "");
    std::map<std::string, const TField*> seen;
    for (TField* field : fieldList_) {
        const std::string key = upperName(field->FullName());
        if (!seen.emplace(key, field).second)
            throw EDatabaseError("Data set " + DisplayName() + " has two fields named '" + shown(field->FullName()) + "'");
        bindPersistent(*field, columns);
    }
}

void TDataSet::bindPersistent(TField& field, const std::map<std::string, std::pair<int, const TFieldDef*>>& columns) {
    const std::string name = field.FullName();
    if (name.empty()) throw EDatabaseError("Data set " + DisplayName() + " has a persistent field without a name");
    const auto it = columns.find(upperName(name));
    if (it == columns.end())
        throw EDatabaseError("Field '" + shown(name) + "' of data set " + DisplayName() + " has no column '" + shown(name) + "' in " +
                             SourceDescription());
    const TFieldDef& def = *it->second.second;
    if (!field.CanHold(def))
        throw EDatabaseError("Field '" + shown(name) + "' (" + field.ClassName() + (field.Size() > 0 && dynamic_cast<TStringField*>(&field) ? ", size " + std::to_string(field.Size()) : std::string()) +
                             ") of data set " + DisplayName() + " cannot hold column " + describeColumn(def) + " of " +
                             SourceDescription());
    field.bind(it->second.first, def.dataType);
}

void TDataSet::createDefaultFields(const std::vector<TFieldDef>& defs, TObjectField* parent, int& column) {
    for (const TFieldDef& def : defs) {
        std::unique_ptr<TField> owned = createDefaultField(def.dataType);
        TField* field = owned.get();
        defaultFields_.push_back(std::move(owned));
        field->fieldName_ = def.name;
        field->size_ = def.size;
        field->dataSet_ = this;
        if (def.precision > 0) {
            if (auto* f = dynamic_cast<TFloatField*>(field)) f->SetPrecision(def.precision);
            if (auto* b = dynamic_cast<TBCDField*>(field)) b->SetPrecision(def.precision);
        }
        if (!def.displayFormat.empty()) {
            if (auto* n = dynamic_cast<TNumericField*>(field)) n->SetDisplayFormat(def.displayFormat);
            if (auto* d = dynamic_cast<TDateTimeField*>(field)) d->SetDisplayFormat(def.displayFormat);
        }
        if (parent) {
            field->parent_ = parent;
            parent->children_.push_back(field);
        }
        if (auto* object = dynamic_cast<TObjectField*>(field))
            createDefaultFields(def.children, object, column);
        else
            field->bind(column++, def.dataType);
    }
}

void TDataSet::unbindFields() {
    for (TField* field : persistent_) field->unbind();
    for (auto& field : defaultFields_) {
        field->dataSet_ = nullptr;
        field->parent_ = nullptr;
        if (auto* object = dynamic_cast<TObjectField*>(field.get())) object->children_.clear();
    }
    defaultFields_.clear();
    rebuildFieldLists();
}

Variant TDataSet::ColumnValue(int fieldNo) const {
    if (!hasRecord_) return Variant::null();
    return InternalValue(fieldNo);
}

// --- walking ---

void TDataSet::First() {
    checkActive("go to the first record");
    hasRecord_ = InternalFirst();
    bof_ = true;
    eof_ = !hasRecord_;
    recNo_ = hasRecord_ ? 1 : 0;
    scrolled();
}

void TDataSet::Next() {
    checkActive("go to the next record");
    if (eof_) return;
    if (InternalNext()) {
        ++recNo_;
        bof_ = false;
        scrolled();
    } else {
        eof_ = true;
    }
}

std::int64_t TDataSet::RecordCount() {
    checkActive("count the records");
    return InternalRecordCount();
}

std::optional<std::int64_t> TDataSet::KnownRecordCount() {
    if (!Active()) return std::nullopt;
    return InternalKnownRecordCount();
}

void TDataSet::CursorMovedTo(std::int64_t recNo) {
    hasRecord_ = true;
    recNo_ = recNo;
    eof_ = bof_ = false;
    scrolled();
}

// --- bookmarks ---

TBookmark TDataSet::GetBookmark() {
    if (!Active() || !hasRecord_) return TBookmark();
    const std::uint64_t id = nextBookmark_++;
    bookmarks_.emplace(id, SavedPosition{InternalKey(), recNo_});
    return TBookmark(this, id);
}

bool TDataSet::BookmarkValid(const TBookmark& bookmark) const {
    return !bookmark.IsEmpty() && bookmark.owner_ == this && bookmarks_.contains(bookmark.id_);
}

void TDataSet::GotoBookmark(const TBookmark& bookmark) {
    if (bookmark.IsEmpty()) return;
    checkActive("go to a bookmark");
    if (!BookmarkValid(bookmark))
        throw EDatabaseError("Bookmark not found in data set " + DisplayName() +
                             ": it was freed, taken before the data set was last opened, or belongs to another "
                             "data set");
    const SavedPosition& saved = bookmarks_.at(bookmark.id_);
    InternalGotoKey(saved.key);
    hasRecord_ = true;
    recNo_ = saved.recNo;
    eof_ = bof_ = false;
    scrolled();
}

void TDataSet::FreeBookmark(const TBookmark& bookmark) {
    if (bookmark.owner_ != this) return;
    const auto saved = bookmarks_.find(bookmark.id_);
    if (saved == bookmarks_.end()) return;
    const std::int64_t key = saved->second.key;
    bookmarks_.erase(saved);
    if (Active()) InternalFreeKey(key);
}

// --- attached controls ---

void TDataSet::DisableControls() {
    if (disableCount_++ == 0) changedWhileDisabled_ = false;
}

void TDataSet::EnableControls() {
    if (disableCount_ == 0) return;
    if (--disableCount_ > 0) return;
    if (!Active() && !changedWhileDisabled_) return;
    for (IDataSetObserver* observer : std::vector<IDataSetObserver*>(observers_)) observer->DataSetChanged(*this);
}

void TDataSet::AttachObserver(IDataSetObserver* observer) {
    if (observer && std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
        observers_.push_back(observer);
}

void TDataSet::DetachObserver(IDataSetObserver* observer) { std::erase(observers_, observer); }

void TDataSet::scrolled() {
    if (disableCount_ > 0) {
        changedWhileDisabled_ = true;
        return;
    }
    for (IDataSetObserver* observer : std::vector<IDataSetObserver*>(observers_)) observer->DataSetScrolled(*this);
}

void TDataSet::DataChanged() {
    if (disableCount_ > 0) {
        changedWhileDisabled_ = true;
        return;
    }
    for (IDataSetObserver* observer : std::vector<IDataSetObserver*>(observers_)) observer->DataSetChanged(*this);
}

}  // namespace tabulix::data
