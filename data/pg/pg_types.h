#pragma once
// PostgreSQL column types as field types, and the reading of a value in PostgreSQL's text output
// (with DateStyle ISO and lc_monetary C, as TPgQuery sets its session) as a value of its field.
// Used by TPgQuery; not part of the library's interface.
//
//   smallint, integer, bigint, oid           TSmallintField, TIntegerField, TLargeintField
//   real, double precision                   TFloatField
//   numeric(p,s) with s <= 4, p - s <= 14     TBCDField (exact), display format with s decimals
//   numeric otherwise                        TFloatField
//   money                                    TCurrencyField
//   boolean                                  TBooleanField
//   date, time, time with time zone          TDateField, TTimeField (the zone is dropped)
//   timestamp, timestamp with time zone      TDateTimeField (in the session's time zone)
//   bytea                                    TBlobField ("(BLOB, N bytes)")
//   char(n), varchar(n), text, name          TStringField (size n when declared)
//   anything else (json, jsonb, uuid, arrays, intervals, network types, ...) TStringField, as
//   PostgreSQL writes it

#include <string>
#include <string_view>

#include "automation/variant.h"
#include "data/field_type.h"

namespace tabulix::data {

// Type OID and type modifier of a result column.
TFieldDef pgFieldDef(const std::string& name, unsigned int type, int modifier);

// The value of a column of `type` read as its field type; raises std::invalid_argument saying
// what the text is not ("is not a date of the years 100 to 9999").
automation::Variant pgValue(std::string_view text, unsigned int type, TFieldType fieldType);

}  // namespace tabulix::data
