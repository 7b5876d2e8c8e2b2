#pragma once
/// @file
/// The storage types a data source reports for its columns, and the description of one column
/// (a field definition) from which default fields are created and persistent fields are checked.

#include <string>
#include <string_view>
#include <vector>

#include "framework/export.h"

namespace tabulix::data {

/// The storage type of a column, as its source reports it.
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

/// The name of a type, as messages write it ("ftString").
/// @param type the type.
TABULIX_API std::string_view fieldTypeName(TFieldType type);

/// @brief One column of a data source, from which default fields are created and against which
/// persistent fields are checked.
/// @threads A value.
struct TABULIX_API TFieldDef {
    /// The column's name.
    std::string name;
    /// The column's type.
    TFieldType dataType = TFieldType::ftUnknown;
    /// The width of a text column (0 when unbounded), or the decimals of a BCD column.
    int size = 0;
    /// The digits of a BCD column.
    int precision = 0;
    /// The child columns of an ADT column, which holds no value itself.
    std::vector<TFieldDef> children;
    /// The format a default field of a numeric or date column shows its values with, when the
    /// source knows one (a decimal column's scale); empty otherwise.
    std::string displayFormat = {};
};

}  // namespace tabulix::data
