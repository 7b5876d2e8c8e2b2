#include "framework/color.h"

#include <array>
#include <charconv>
#include <stdexcept>

#include "framework/printable.h"
#include "framework/text_compare.h"

namespace tabulix::framework {

namespace {
constexpr std::array<IdentEntry, 43> kColors{{
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clNone, "clNone"},
    {clDefault, "clDefault"},
    {clScrollBar, "clScrollBar"},
    {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"},
    {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"},
}};
}  // namespace

bool IsSystemColor(TColor color) { return (static_cast<std::uint32_t>(color) & 0xFF000000u) == 0x80000000u; }

std::span<const IdentEntry> ColorIdents() { return kColors; }

std::optional<std::string> ColorToIdent(TColor color) { return IdentOf(kColors, color); }

std::optional<TColor> IdentToColor(std::string_view name) {
    auto v = ValueOfIdent(kColors, name);
    if (!v) return std::nullopt;
    return static_cast<TColor>(*v);
}

std::string ColorToString(TColor color) {
    if (auto name = ColorToIdent(color)) return *name;
    return std::to_string(color);
}

TColor StringToColor(std::string_view text) {
    if (auto c = IdentToColor(text)) return *c;
    std::string_view digits = text;
    bool negative = false;
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    int base = 10;
    if (digits.starts_with("$")) {
        base = 16;
        digits.remove_prefix(1);
    } else if (digits.starts_with("0x") || digits.starts_with("0X")) {
        base = 16;
        digits.remove_prefix(2);
    }
    std::int64_t value = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size())
        throw std::invalid_argument("'" + printable(text) + "' is not a valid colour");
    if (negative) value = -value;
    // Hexadecimal colours are bit patterns: $80000008 is clWindowText.
    if (base == 16 && !negative && value <= 0xFFFFFFFFll) return static_cast<TColor>(static_cast<std::uint32_t>(value));
    if (value < INT32_MIN || value > INT32_MAX)
        throw std::invalid_argument("'" + printable(text) + "' is not a valid colour");
    return static_cast<TColor>(value);
}

std::optional<std::string> IdentOf(std::span<const IdentEntry> idents, std::int64_t value) {
    for (const IdentEntry& e : idents)
        if (e.value == value) return std::string(e.name);
    return std::nullopt;
}

std::optional<std::int64_t> ValueOfIdent(std::span<const IdentEntry> idents, std::string_view name) {
    for (const IdentEntry& e : idents)
        if (sameText(e.name, name)) return e.value;
    return std::nullopt;
}

}  // namespace tabulix::framework
