#pragma once
/// @file
/// TDataSet: a cursor over the records of a data source, with the fields that show the current
/// record. Concrete data sets (memory, dBASE table, SQLite query) supply the source through the
/// protected Internal* members; everything else (state, fields and their binding, walking,
/// bookmarks, attached controls) lives here.
///
/// Reading forward. A data set may read its records from the source as the cursor moves instead
/// of holding them (a query on a database, a file). Every such data set keeps this contract, so
/// that a walk cannot fail once it has read its records (a transfer goes back to its bookmark
/// after writing every row) and a report never mixes two states of the source:
///   - One state of the source for as long as the data set is open. Open takes a snapshot (on a
///     database: a read transaction, begun before the statement is prepared and ended by Close)
///     and every walk, count and bookmark of this opening reads that snapshot; what others commit
///     meanwhile shows at the next Open. A source that cannot give a snapshot (a plain file)
///     says so in its header.
///   - The statement runs once per walk. Open runs it and stays on the first record (looking
///     ahead there when the columns' types need it), so that a First right after Open runs
///     nothing again; a later First starts a new run on the same snapshot.
///   - RecordCount is exact for the snapshot and is worked out at most once per opening: from
///     the rows when a walk has passed the last one, else by counting beside the rows (a count
///     statement on the same snapshot), which may cost as much as the statement itself.
///     KnownRecordCount gives the count only where it comes without running the statement or a
///     count on the server again (nullopt otherwise; a local file may pass over its records
///     once to count them); progress displays ask that one, never RecordCount.
///   - A bookmark keeps its record. GotoBookmark shows the very record the bookmark was taken on
///     without running anything, and cannot fail while the data set is open. Moving on from it
///     (Next) runs the statement again up to that record; a statement whose rows differ from run
///     to run (random(), the current time) raises then, naming the row, instead of showing rows
///     of two runs. The same holds for reading the last record again after Next passed it.
///   - Memory stays bounded by a few records (plus one per bookmark) unless the data set is
///     asked to keep its rows.
/// A data set that holds every record itself (in memory) keeps all of this trivially.
///
/// Thread rule: a data set, its fields and its controls are used by one thread at a time (the
/// thread of the component that transfers it); give each thread its own. Data sets on different
/// threads share nothing, also when they read the same file.

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "automation/variant.h"
#include "data/data_error.h"
#include "data/field.h"
#include "data/field_type.h"
#include "framework/component.h"
#include "framework/export.h"

namespace tabulix::data {

/// A data set's state: closed, open for reading, or opening.
enum class TDataSetState { dsInactive, dsBrowse, dsOpening };

/// @brief A saved position of a data set. Opaque; valid until FreeBookmark or until the data
/// set closes. The empty bookmark (no current record when it was taken) is accepted by
/// GotoBookmark and FreeBookmark and does nothing.
/// @threads Used with its data set.
class TABULIX_API TBookmark {
public:
    TBookmark() = default;
    /// Whether the bookmark was taken without a current record.
    bool IsEmpty() const { return id_ == 0; }

private:
    friend class TDataSet;
    TBookmark(const void* owner, std::uint64_t id) : owner_(owner), id_(id) {}
    const void* owner_ = nullptr;
    std::uint64_t id_ = 0;
};

/// @brief What a control attached to a data set (a grid, an edit) hears of its changes.
/// @threads Told on the thread that moves the data set.
class TABULIX_API IDataSetObserver {
public:
    virtual ~IDataSetObserver() = default;
    /// The current record moved. Not called while controls are disabled.
    virtual void DataSetScrolled(TDataSet& dataSet) = 0;
    /// Anything may have changed: opened, closed, or controls enabled again after a pass.
    virtual void DataSetChanged(TDataSet& dataSet) = 0;
};

/// @brief Fields in order.
/// @threads Used with its data set.
class TABULIX_API TFieldList {
public:
    /// The number of fields.
    int Count() const { return static_cast<int>(fields_.size()); }
    /// A field.
    /// @param index from 0.
    /// @throws EDatabaseError for an index outside 0 to Count() - 1.
    TField* Fields(int index) const;
    /// A field, as Fields.
    /// @param index from 0.
    TField* operator[](int index) const { return Fields(index); }
    /// Looks up by FieldName (or FullName for nested fields), ASCII letter case ignored.
    TField* Find(const std::string& name) const;

    /// The first field, for range-for loops.
    auto begin() const { return fields_.begin(); }
    /// Past the last field.
    auto end() const { return fields_.end(); }

private:
    friend class TDataSet;
    friend class TField;
    std::vector<TField*> fields_;
};

/// @brief A cursor over the records of a data source, with the fields that show the current
/// record: what a transfer reads.
///
/// Concrete data sets (TMemoryDataSet, TTable, TSQLiteQuery) supply the source through the
/// protected Internal* members and close themselves in their destructors (the source must be
/// released while those members still exist).
/// @threads A data set and its fields are used from one thread at a time.
class TABULIX_API TDataSet : public framework::TComponent {
public:
    /// Makes a closed data set.
    /// @param owner frees it with itself, or nullptr.
    explicit TDataSet(framework::TComponent* owner);
    ~TDataSet() override;

    std::string ClassName() const override { return "TDataSet"; }
    /// Published: Active (stored when true).
    void DefineProperties(framework::PropertyList& properties) override;
    /// Form files nest a data set's persistent fields inside it; any other class is refused.
    void AdoptChild(framework::TComponent* child) override;
    /// The persistent top-level fields this data set owns, in field order.
    std::vector<framework::TComponent*> GetChildren() const override;
    /// The component name, or the class name when it has none (for messages).
    std::string DisplayName() const;

    /// The data set's state.
    TDataSetState State() const { return state_; }
    /// Whether the data set is open.
    bool Active() const { return state_ != TDataSetState::dsInactive; }
    /// While the data set is being loaded from a form file the request is kept and carried out
    /// when loading ends.
    void SetActive(bool value);
    /// Opens the source, binds the persistent fields to its columns (or creates default fields)
    /// and moves to the first record.
    /// @throws EDatabaseError naming the source and the problem (a file that cannot be read, a
    ///   persistent field its column does not fit, ...).
    void Open();
    /// Closes the source; default fields are destroyed, bookmarks forgotten.
    void Close();

    /// Top-level fields by 0-based index.
    int FieldCount() const { return fields_.Count(); }
    /// A top-level field.
    /// @param index from 0.
    /// @throws EDatabaseError for an index outside 0 to FieldCount() - 1.
    TField* Fields(int index) const { return fields_.Fields(index); }
    /// Every field, nested ones after their parent, in field order.
    const TFieldList& FieldList() const { return fieldList_; }
    /// The field of a name, or nullptr.
    /// @param name the FieldName (FullName of a nested field), ASCII letter case ignored.
    TField* FindField(const std::string& name) const { return fieldList_.Find(name); }
    /// Raises "Field 'X' not found in data set Name" when there is none.
    TField* FieldByName(const std::string& name) const;

    /// The columns of the source; filled while the data set is open.
    const std::vector<TFieldDef>& FieldDefs() const { return fieldDefs_; }

    /// Persistent fields are the fields created for this data set before it opens. A data set
    /// without any creates default fields at Open.
    bool HasPersistentFields() const { return !persistent_.empty(); }

    /// Moves to the first record.
    /// @throws EDatabaseError when the data set is closed or the source cannot be read.
    void First();
    /// Moves to the next record; after the last one Eof becomes true and the record stays.
    /// @throws EDatabaseError when the data set is closed or the source cannot be read.
    void Next();
    /// Whether a move went past the last record (true at once for an empty data set).
    bool Eof() const { return eof_; }
    /// Whether the cursor is at the first record.
    bool Bof() const { return bof_; }
    /// Whether there is no current record.
    bool IsEmpty() const { return !hasRecord_; }
    /// 1-based position of the current record among the records (0 when there is none).
    std::int64_t RecNo() const { return hasRecord_ ? recNo_ : 0; }
    /// The number of records of this opening (see the contract above: it may have to count).
    /// @throws EDatabaseError when the data set is closed or the source cannot be counted.
    std::int64_t RecordCount();
    /// The number of records when it is known without counting them again (a progress display
    /// asks this one); nullopt otherwise.
    std::optional<std::int64_t> KnownRecordCount();

    /// The current position, to come back to with GotoBookmark.
    TBookmark GetBookmark();
    /// Comes back to a saved position.
    /// @param bookmark what GetBookmark returned.
    /// @throws EDatabaseError for a bookmark of another data set or one already freed.
    void GotoBookmark(const TBookmark& bookmark);
    /// Frees a saved position.
    /// @param bookmark what GetBookmark returned.
    void FreeBookmark(const TBookmark& bookmark);
    /// Whether a bookmark can be gone to.
    /// @param bookmark what GetBookmark returned.
    bool BookmarkValid(const TBookmark& bookmark) const;

    /// Detaches attached controls from record moves; calls nest, and the last EnableControls
    /// tells the observers once that the data set changed. An unmatched EnableControls does
    /// nothing (it runs in cleanup paths that must not fail).
    void DisableControls();
    /// Ends one DisableControls.
    void EnableControls();
    /// Whether the attached controls are detached from record moves.
    bool ControlsDisabled() const { return disableCount_ > 0; }
    /// Attaches a control, which must outlive its attachment.
    /// @param observer the control.
    void AttachObserver(IDataSetObserver* observer);
    /// Detaches a control.
    /// @param observer the control.
    void DetachObserver(IDataSetObserver* observer);

    /// The value of a bound column in the current record; Null when there is no current record.
    automation::Variant ColumnValue(int fieldNo) const;

    /// What the last Open noticed about the source and read past, for a program to tell its user
    /// (a dBASE file holding more records than its header counts). Cleared by Open.
    const std::vector<std::string>& Warnings() const { return warnings_; }
    /// The files the open data set reads (table, memo file, database); empty for a data set held
    /// in memory.
    virtual std::vector<std::filesystem::path> SourceFiles() const { return {}; }

protected:
    /// Opens the source and returns its columns. Called with the data set still inactive.
    virtual std::vector<TFieldDef> InternalOpen() = 0;
    /// Releases the source.
    virtual void InternalClose() = 0;
    /// Moves to the first record; false when there is none.
    virtual bool InternalFirst() = 0;
    /// Moves to the record after the current one; false (and stays put) when there is none.
    virtual bool InternalNext() = 0;
    /// A key for the current record that InternalGotoKey understands.
    virtual std::int64_t InternalKey() const = 0;
    /// Moves to the record of a key InternalKey gave.
    /// @param key the key.
    virtual void InternalGotoKey(std::int64_t key) = 0;
    /// The bookmark that took `key` was freed (a data set that keeps something per key drops it).
    virtual void InternalFreeKey(std::int64_t /*key*/) {}
    /// The number of records of the source in this opening.
    virtual std::int64_t InternalRecordCount() = 0;
    /// The number of records when the source knows it without counting; nullopt otherwise.
    virtual std::optional<std::int64_t> InternalKnownRecordCount() = 0;
    /// The value of leaf column `column` (0-based, in depth-first order of the definitions).
    virtual automation::Variant InternalValue(int column) const = 0;

    void Loaded() override;
    /// Subclasses that append records while open move the cursor to them with this.
    void CursorMovedTo(std::int64_t recNo);
    /// Tells observers that the data set changed (respecting disabled controls).
    void DataChanged();

    /// Called from InternalOpen.
    void Warn(std::string text) { warnings_.push_back(std::move(text)); }

    /// Names the source in error messages ("table /data/Demo.DBF").
    virtual std::string SourceDescription() const { return "the source of data set " + DisplayName(); }

private:
    friend class TField;
    void addPersistent(TField* field);
    void removePersistent(TField* field);
    void checkInactive(const std::string& operation) const;
    void checkActive(const std::string& operation) const;
    void bindFields();
    void bindPersistent(TField& field, const std::map<std::string, std::pair<int, const TFieldDef*>>& columns);
    void createDefaultFields(const std::vector<TFieldDef>& defs, class TObjectField* parent, int& column);
    void rebuildFieldLists();
    void unbindFields();
    void scrolled();

    TDataSetState state_ = TDataSetState::dsInactive;
    bool streamedActive_ = false;
    bool eof_ = true;
    bool bof_ = true;
    bool hasRecord_ = false;
    std::int64_t recNo_ = 0;

    std::vector<TFieldDef> fieldDefs_;
    std::vector<TField*> persistent_;                   // borrowed: fields detach themselves when destroyed
    std::vector<std::unique_ptr<TField>> defaultFields_;  // owned while open
    TFieldList fields_;
    TFieldList fieldList_;

    struct SavedPosition {
        std::int64_t key;
        std::int64_t recNo;
    };
    std::map<std::uint64_t, SavedPosition> bookmarks_;
    std::uint64_t nextBookmark_ = 1;

    int disableCount_ = 0;
    bool changedWhileDisabled_ = false;
    std::vector<IDataSetObserver*> observers_;  // borrowed
    std::vector<std::string> warnings_;
};

}  // namespace tabulix::data
