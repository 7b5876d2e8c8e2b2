#pragma once
// The columns of an ODBC result: their field types, from the SQL types the driver describes, and
// the reading of a value of each with SQLGetData. Used by TOdbcQuery; not part of the library's
// interface.
//
//   SQL_SMALLINT, SQL_TINYINT, SQL_INTEGER, SQL_BIGINT  TSmallintField, TIntegerField, TLargeintField
//   SQL_REAL, SQL_FLOAT, SQL_DOUBLE                      TFloatField
//   SQL_DECIMAL, SQL_NUMERIC with scale <= 4 and
//     precision - scale <= 14                           TBCDField (exact), display format with s decimals
//   SQL_DECIMAL, SQL_NUMERIC otherwise                   TFloatField
//   SQL_BIT                                              TBooleanField
//   SQL_TYPE_DATE, SQL_TYPE_TIME, SQL_TYPE_TIMESTAMP     TDateField, TTimeField, TDateTimeField
//   SQL_BINARY, SQL_VARBINARY, SQL_LONGVARBINARY         TBlobField ("(BLOB, N bytes)")
//   text and anything else (GUIDs, intervals, ...)       TStringField, as the driver writes it

#include <sql.h>
#include <sqlext.h>

#include <string>

#include "automation/variant.h"
#include "data/field_type.h"

namespace tabulix::data {

// How a column's values are read.
enum class OdbcReading { Integer, Double, Decimal, DecimalAsDouble, Bit, Date, Time, Timestamp, Binary, Text };

struct OdbcColumn {
    TFieldDef def;
    OdbcReading reading = OdbcReading::Text;
};

OdbcColumn odbcColumn(const std::string& name, SQLSMALLINT type, SQLULEN size, SQLSMALLINT decimals);

// The value of column `number` (1-based) of the current row of `statement`; Null for SQL NULL.
// Raises std::invalid_argument saying what a value is not, std::runtime_error with the driver's
// diagnostics when the driver fails (both caught and told with the place by the caller).
automation::Variant odbcValue(SQLHSTMT statement, SQLUSMALLINT number, OdbcReading reading);

}  // namespace tabulix::data
