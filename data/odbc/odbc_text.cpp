#include "data/odbc/odbc_text.h"

#include "framework/utf8_text.h"

namespace tabulix::data {

OdbcText toOdbcText(std::string_view utf8) {
    OdbcText out;
    out.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const auto decoded = framework::utf8::decode(utf8, at);
        const char32_t c = decoded ? decoded->codePoint : U'\uFFFD';
        at += decoded ? decoded->length : 1;
        if (c >= 0x10000) {
            out.push_back(static_cast<SQLWCHAR>(0xD800 + ((c - 0x10000) >> 10)));
            out.push_back(static_cast<SQLWCHAR>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<SQLWCHAR>(c));
        }
    }
    return out;
}

std::string fromOdbcText(const SQLWCHAR* text, std::size_t units) {
    std::string out;
    out.reserve(units);
    for (std::size_t i = 0; i < units; ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = U'\uFFFD';
        }
        framework::utf8::append(out, c);
    }
    return out;
}

}  // namespace tabulix::data
