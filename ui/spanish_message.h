#pragma once
// The text a Spanish program shows for an error. The component's own messages are Spanish
// already; the lower layers (form files, data sets, the spreadsheet, conversions) write theirs
// in English, so they are shown after a Spanish sentence that says what failed, never in place
// of it: the detail (file, line, record, cell) stays as the layer gave it.

#include <exception>
#include <string>

namespace tabulix::ui {

std::string SpanishMessage(const std::exception& error);

}  // namespace tabulix::ui
