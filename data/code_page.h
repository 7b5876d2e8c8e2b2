#pragma once
// Conversion of the 8-bit texts of data files to UTF-8. Windows-1252, DOS 850 and DOS 437 (the
// pages dBASE files of Spanish and Western users come in) use tables of their own; other pages
// go through the C library's iconv.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tabulix::data {

class CodePage {
public:
    static constexpr int kWindows1252 = 1252;
    static constexpr int kUtf8 = 65001;
    static constexpr int kLatin1 = 28591;

    // Raises EDatabaseError when the page cannot be converted on this system.
    explicit CodePage(int number);
    CodePage(CodePage&&) noexcept;
    CodePage& operator=(CodePage&&) noexcept;
    ~CodePage();

    int number() const { return number_; }
    // Every byte sequence converts: bytes the page leaves undefined keep their code point, and
    // invalid sequences of multi-byte pages become U+FFFD.
    std::string toUtf8(std::string_view bytes) const;

    // The page of a dBASE language-driver byte; nothing for 0 or an unknown byte.
    static std::optional<int> forLanguageDriver(std::uint8_t driver);
    // The page named by a code-page text as .cpg files hold it ("1252", "ANSI 1252", "CP850",
    // "UTF-8", "8859_1", "windows-1252", "LDID/87"); nothing when the text names no page.
    static std::optional<int> fromName(std::string_view name);

private:
    struct Iconv;
    int number_;
    const char16_t* table_ = nullptr;  // upper half (0x80-0xFF) for the table pages
    std::unique_ptr<Iconv> iconv_;
};

}  // namespace tabulix::data
