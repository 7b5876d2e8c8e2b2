#pragma once
// Texts to and from ODBC's wide functions (UTF-16 in SQLWCHAR units under unixODBC), so that
// what a driver receives and returns does not depend on the locale. Used by TOdbcQuery; not part
// of the library's interface.

#include <sql.h>
#include <sqlext.h>

#include <string>
#include <string_view>

namespace tabulix::data {

using OdbcText = std::basic_string<SQLWCHAR>;

// Malformed UTF-8 goes as U+FFFD.
OdbcText toOdbcText(std::string_view utf8);
// `units` code units; unpaired surrogates come back as U+FFFD.
std::string fromOdbcText(const SQLWCHAR* text, std::size_t units);

}  // namespace tabulix::data
