#pragma once
/// @file
/// TMemoryDataSet: a data set whose columns are defined and whose records are appended from
/// code. Values are kept column by column in typed arrays (text in one shared buffer), so that a
/// million records of a few columns take tens of megabytes, not hundreds.
///
/// Thread rule: one thread at a time (data/data_set.h), also for appending.

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "data/data_set.h"
#include "framework/export.h"

namespace tabulix::data {

/// @brief A data set whose columns are defined and whose records are appended from code.
/// @threads As TDataSet.
class TABULIX_API TMemoryDataSet : public TDataSet {
public:
    /// Makes an empty, closed data set without columns.
    /// @param owner frees it with itself, or nullptr.
    explicit TMemoryDataSet(framework::TComponent* owner = nullptr);
    /// Closes the data set and frees its records.
    ~TMemoryDataSet() override;

    std::string ClassName() const override { return "TMemoryDataSet"; }

    /// Adds a column; an ADT column takes its child columns from `def.children`.
    /// @param def the column.
    /// @throws EDatabaseError once records exist or while open, or for a column without a name
    ///   or type or with the name of another.
    void AddFieldDef(TFieldDef def);
    /// Adds a column.
    /// @param name the column's name.
    /// @param type its type.
    /// @param size the width of a text column (0: unbounded).
    /// @throws EDatabaseError as the other AddFieldDef.
    void AddFieldDef(const std::string& name, TFieldType type, int size = 0);
    /// The columns, in order.
    const std::vector<TFieldDef>& Definitions() const { return definitions_; }

    /// Appends one record: one value per leaf column in definition order (an ADT column's children
    /// in its place). Null is allowed anywhere. While open, the new record becomes the current one.
    /// @param values the values.
    /// @throws EDatabaseError for a wrong number of values, or naming the column when a value
    ///   does not fit it; nothing is appended then.
    void AppendRecord(std::initializer_list<automation::Variant> values);
    /// Appends one record, as the other AppendRecord.
    /// @param values the values.
    /// @throws EDatabaseError naming the column when a value does not fit it; nothing is appended.
    void AppendRecord(const std::vector<automation::Variant>& values);
    /// The number of records held.
    std::int64_t StoredRecordCount() const { return count_; }
    /// Drops every record (not the columns).
    void EmptyDataSet();

protected:
    std::vector<TFieldDef> InternalOpen() override;
    void InternalClose() override {}
    bool InternalFirst() override;
    bool InternalNext() override;
    std::int64_t InternalKey() const override { return current_; }
    void InternalGotoKey(std::int64_t key) override;
    std::int64_t InternalRecordCount() override { return count_; }
    std::optional<std::int64_t> InternalKnownRecordCount() override { return count_; }
    automation::Variant InternalValue(int column) const override;
    std::string SourceDescription() const override { return "the memory data set " + DisplayName(); }

private:
    class Column;
    void addLeafColumns(const TFieldDef& def, const std::string& prefix);

    std::vector<TFieldDef> definitions_;
    std::vector<std::unique_ptr<Column>> columns_;  // leaf columns, depth-first
    std::int64_t count_ = 0;
    std::int64_t current_ = -1;
};

}  // namespace tabulix::data
