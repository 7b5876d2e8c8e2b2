#pragma once
// The texts a server query (PostgreSQL, ODBC) sends: its SQL, checked before any server sees it
// (one statement that reads), and its parameters' values. Used by TPgQuery and TOdbcQuery; not
// part of the library's interface.

#include <optional>
#include <string>

#include "automation/variant.h"

namespace tabulix::data {

// The statement of `sql` without the blanks, comments and semicolons that may follow it. Raises
// EDatabaseError (after `who`) when the text holds no statement, more than one, or one that
// does not begin as a reading statement does (SELECT, WITH, VALUES, TABLE, or a parenthesis).
// Quotes ('...', "...", E'...\'...', $tag$...$tag$) and comments (--, nested /* */) are skipped
// over, so a semicolon inside them is part of the statement.
std::string readingStatement(const std::string& sql, const std::string& who);

// A parameter's value as SQL text: numbers in C notation, Booleans as true/false, dates as ISO
// date-times, currency with four decimals; nullopt for Null and Empty (SQL NULL).
std::optional<std::string> parameterText(const automation::Variant& value);

}  // namespace tabulix::data
