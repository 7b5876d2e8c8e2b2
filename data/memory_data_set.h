#pragma once
// TMemoryDataSet: a data set whose columns are defined and whose records are appended from
// code. Values are kept column by column in typed arrays (text in one shared buffer), so that a
// million records of a few columns take tens of megabytes, not hundreds.
//
// Thread rule: one thread at a time (data/data_set.h), also for appending.

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "data/data_set.h"

namespace tabulix::data {

class TMemoryDataSet : public TDataSet {
public:
    explicit TMemoryDataSet(framework::TComponent* owner = nullptr);
    ~TMemoryDataSet() override;

    std::string ClassName() const override { return "TMemoryDataSet"; }

    // Adds a column; refused once records exist or while open. An ADT column takes its child
    // columns from `def.children`.
    void AddFieldDef(TFieldDef def);
    void AddFieldDef(const std::string& name, TFieldType type, int size = 0);
    const std::vector<TFieldDef>& Definitions() const { return definitions_; }

    // Appends one record: one value per leaf column in definition order (children of an ADT
    // column in place of the ADT column). Null is allowed anywhere. A value that its column
    // cannot hold raises, naming the column, and nothing is appended. While open, the new
    // record becomes the current one.
    void AppendRecord(std::initializer_list<automation::Variant> values);
    void AppendRecord(const std::vector<automation::Variant>& values);
    std::int64_t StoredRecordCount() const { return count_; }
    // Drops every record (not the columns).
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
