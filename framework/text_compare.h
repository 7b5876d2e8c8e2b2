#pragma once
// Text comparison the way the framework compares names: ASCII letters a to z ignore case,
// every other byte compares as is.

#include <string_view>

namespace tabulix::framework {

constexpr char upperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// <0, 0 or >0 like strcmp, ignoring ASCII letter case.
int compareText(std::string_view a, std::string_view b);
bool sameText(std::string_view a, std::string_view b);

}  // namespace tabulix::framework
