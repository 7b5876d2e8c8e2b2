#pragma once
// Small UTF-8 helpers for names: validity, length in characters, case folding for comparisons.

#include <cstddef>
#include <string>
#include <string_view>

namespace tabulix::spreadsheet {

bool isValidUtf8(std::string_view text);
// Number of code points of valid UTF-8 text.
std::size_t codePointCount(std::string_view text);
// Lower-cases the letters of the Latin, Greek and Cyrillic alphabets so that names can be
// compared ignoring letter case ("HOJA1" and "hoja1", "GRÁFICO1" and "gráfico1").
std::string foldCase(std::string_view text);

}  // namespace tabulix::spreadsheet
