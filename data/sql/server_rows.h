#pragma once
// ServerRows: the rows of an open server query (PostgreSQL, ODBC) as TServerQuery reads them,
// each reader keeping the forward-reading contract of data/data_set.h. Not part of the library's
// interface.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "automation/variant.h"
#include "data/field_type.h"

namespace tabulix::data {

class ServerRows {
public:
    virtual ~ServerRows() = default;

    virtual std::vector<TFieldDef> columns() const = 0;
    // The query, server and database, for messages ("PostgreSQL query Consulta (host ...)").
    virtual const std::string& where() const = 0;

    virtual bool first() = 0;
    virtual bool next() = 0;
    virtual std::int64_t bookmark() = 0;
    virtual void gotoBookmark(std::int64_t key) = 0;
    virtual void freeBookmark(std::int64_t key) = 0;
    virtual std::int64_t count() = 0;
    virtual std::optional<std::int64_t> knownCount() const = 0;
    // The value of `column` in the current row; Null for SQL NULL or before the first row.
    virtual automation::Variant value(int column) const = 0;
};

}  // namespace tabulix::data
