#pragma once
// The storage types a data source reports for its columns, and the description of one column
// (a field definition) from which default fields are created and persistent fields are checked.

#include <string>
#include <string_view>
#include <vector>

namespace tabulix::data {

enum class TFieldType {
    ftUnknown,
    ftString,
    ftWideString,
    ftGuid,
    ftSmallint,
    ftInteger,
    ftWord,
    ftAutoInc,
    ftLargeint,
    ftFloat,
    ftCurrency,
    ftBCD,
    ftBoolean,
    ftDate,
    ftTime,
    ftDateTime,
    ftBlob,
    ftMemo,
    ftGraphic,
    ftADT,
};

std::string_view fieldTypeName(TFieldType type);

// One column of a data source. `size` is the width of text columns (0 when unbounded) or the
// decimals of BCD columns; an ADT column groups its child columns and holds no value itself.
// `displayFormat`: the format a default field of a numeric or date column shows its values
// with, when the source knows one (a decimal column's scale).
struct TFieldDef {
    std::string name;
    TFieldType dataType = TFieldType::ftUnknown;
    int size = 0;
    int precision = 0;
    std::vector<TFieldDef> children;
    std::string displayFormat = {};
};

}  // namespace tabulix::data
