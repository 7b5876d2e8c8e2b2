#pragma once
/// @file
/// TColor: a 32-bit signed colour value. An explicit colour is 0x00BBGGRR (red in the lowest
/// byte, also the spreadsheet's own encoding); a value with high byte 0x80 names a system colour
/// (clWindowText = 0x80000008). Form files write a colour by its constant name when one
/// matches and as a decimal number otherwise.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "framework/export.h"
#include "framework/ident_map.h"

namespace tabulix::framework {

/// A colour: 0x00BBGGRR for an explicit colour, 0x80000000 plus an index for a system colour.
using TColor = std::int32_t;

/// The explicit colour of red, green and blue parts.
/// @param r red, 0 to 255.
/// @param g green, 0 to 255.
/// @param b blue, 0 to 255.
constexpr TColor RGB(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return static_cast<TColor>(r | (g << 8) | (b << 16));
}

/// The standard colours.
///@{
constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
///@}
/// No colour.
constexpr TColor clNone = 0x1FFFFFFF;
/// The default colour of whatever is coloured.
constexpr TColor clDefault = 0x20000000;

/// The system colour of an index: 0x80000000 plus the index.
/// @param index the system colour index.
constexpr TColor SystemColor(int index) { return static_cast<TColor>(0x80000000u | static_cast<std::uint32_t>(index)); }
/// The system colours.
///@{
constexpr TColor clScrollBar = SystemColor(0);
constexpr TColor clBackground = SystemColor(1);
constexpr TColor clActiveCaption = SystemColor(2);
constexpr TColor clInactiveCaption = SystemColor(3);
constexpr TColor clMenu = SystemColor(4);
constexpr TColor clWindow = SystemColor(5);
constexpr TColor clWindowFrame = SystemColor(6);
constexpr TColor clMenuText = SystemColor(7);
constexpr TColor clWindowText = SystemColor(8);
constexpr TColor clCaptionText = SystemColor(9);
constexpr TColor clActiveBorder = SystemColor(10);
constexpr TColor clInactiveBorder = SystemColor(11);
constexpr TColor clAppWorkSpace = SystemColor(12);
constexpr TColor clHighlight = SystemColor(13);
constexpr TColor clHighlightText = SystemColor(14);
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clBtnShadow = SystemColor(16);
constexpr TColor clGrayText = SystemColor(17);
constexpr TColor clBtnText = SystemColor(18);
constexpr TColor clInactiveCaptionText = SystemColor(19);
constexpr TColor clBtnHighlight = SystemColor(20);
constexpr TColor cl3DDkShadow = SystemColor(21);
constexpr TColor cl3DLight = SystemColor(22);
constexpr TColor clInfoText = SystemColor(23);
constexpr TColor clInfoBk = SystemColor(24);
///@}

/// Whether a colour names a system colour (high byte 0x80).
/// @param color the colour.
TABULIX_API bool IsSystemColor(TColor color);

/// Every named colour constant, standard colours first, then system colours.
TABULIX_API std::span<const IdentEntry> ColorIdents();
/// The name of a colour constant: "clSilver" for 0xC0C0C0.
/// @param color the colour.
/// @return the name, or nullopt when no constant has that value.
TABULIX_API std::optional<std::string> ColorToIdent(TColor color);
/// The value of a colour constant.
/// @param name the constant's name, letter case ignored.
/// @return the value, or nullopt when there is no such constant.
TABULIX_API std::optional<TColor> IdentToColor(std::string_view name);
/// A colour as form files write it: the constant's name, else the decimal number.
/// @param color the colour.
TABULIX_API std::string ColorToString(TColor color);
/// A colour from a constant name or a number (decimal, or hexadecimal after "$" or "0x").
/// @param text the text.
/// @throws std::invalid_argument "'xyz' is not a valid colour" for anything else.
TABULIX_API TColor StringToColor(std::string_view text);

}  // namespace tabulix::framework
