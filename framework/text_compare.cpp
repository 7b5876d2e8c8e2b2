#include "framework/text_compare.h"

#include <algorithm>

namespace tabulix::framework {

int compareText(std::string_view a, std::string_view b) {
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        auto x = static_cast<unsigned char>(upperAscii(a[i]));
        auto y = static_cast<unsigned char>(upperAscii(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool sameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && compareText(a, b) == 0;
}

}  // namespace tabulix::framework
