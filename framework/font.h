#pragma once
/// @file
/// TFont: the toolkit's font: face name, size (points) or height (pixels at 96 dots per inch),
/// colour, style, character set and pitch. The height is what is kept; the size is derived:
///   Height = -round(Size * 96 / 72)                 (a negative height is the character height)
///   Size   = round(-Height * 72 / 96) for Height < 0, round(Height * 72 / 96) otherwise
/// with halves rounded away from zero. A new font is "MS Sans Serif", Height -11 (8 points),
/// clWindowText, no style, DEFAULT_CHARSET, fpDefault. Heights are kept within
/// ±kMaxFontHeight (sizes within ±kMaxFontSize), so that every conversion and every absolute value
/// of a height fits an int: SetHeight and SetSize refuse others with std::out_of_range, and a form
/// file giving one is refused naming the property.
///
/// Published properties, in stored order: Charset (by name, e.g. ANSI_CHARSET), Color, Height,
/// Name and Style are always stored; Pitch only when not fpDefault; Size is never stored (it is
/// read when a file gives it).
///
/// Thread rule: one thread at a time, like the component or set that owns the font.

#include <cstdint>
#include <span>
#include <string>

#include "framework/color.h"
#include "framework/export.h"
#include "framework/graphics_object.h"
#include "framework/ident_map.h"
#include "framework/set_of.h"

namespace tabulix::framework {

/// A font's style attributes: bold, italic, underlined, struck out.
enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
/// A set of style attributes.
using TFontStyles = SetOf<TFontStyle>;

/// A font's pitch: the face's own, proportional or fixed.
enum TFontPitch { fpDefault, fpVariable, fpFixed };

/// A font's character set, by the toolkit's numbers.
using TFontCharset = std::uint8_t;
/// The character sets, by the toolkit's numbers.
///@{
constexpr TFontCharset ANSI_CHARSET = 0;
constexpr TFontCharset DEFAULT_CHARSET = 1;
constexpr TFontCharset SYMBOL_CHARSET = 2;
constexpr TFontCharset MAC_CHARSET = 77;
constexpr TFontCharset SHIFTJIS_CHARSET = 128;
constexpr TFontCharset HANGEUL_CHARSET = 129;
constexpr TFontCharset JOHAB_CHARSET = 130;
constexpr TFontCharset GB2312_CHARSET = 134;
constexpr TFontCharset CHINESEBIG5_CHARSET = 136;
constexpr TFontCharset GREEK_CHARSET = 161;
constexpr TFontCharset TURKISH_CHARSET = 162;
constexpr TFontCharset VIETNAMESE_CHARSET = 163;
constexpr TFontCharset HEBREW_CHARSET = 177;
constexpr TFontCharset ARABIC_CHARSET = 178;
constexpr TFontCharset BALTIC_CHARSET = 186;
constexpr TFontCharset RUSSIAN_CHARSET = 204;
constexpr TFontCharset THAI_CHARSET = 222;
constexpr TFontCharset EASTEUROPE_CHARSET = 238;
constexpr TFontCharset OEM_CHARSET = 255;
///@}

/// The character set names, for form files.
TABULIX_API std::span<const IdentEntry> CharsetIdents();

/// The largest height a font keeps, in pixels (either sign).
inline constexpr int kMaxFontHeight = 32767;
/// The largest size a font keeps, in points: the size of a height of kMaxFontHeight.
inline constexpr int kMaxFontSize = 24575;

/// The height in pixels at 96 dots per inch of a size in points: -round(size * 96 / 72); a
/// result beyond an int's range is clamped to it.
/// @param size the size in points.
TABULIX_API int FontHeightFromSize(int size);
/// The size in points of a height in pixels: round(-height * 72 / 96) for a negative height (the
/// character height), round(height * 72 / 96) otherwise.
/// @param height the height in pixels.
TABULIX_API int FontSizeFromHeight(int height);

/// @brief A font: face name, height (or size), colour, style, character set and pitch.
///
/// A new font is "MS Sans Serif", Height -11 (8 points), clWindowText, no style,
/// DEFAULT_CHARSET, fpDefault. Every setter calls OnChange when the value changes.
/// @threads A font is used from one thread at a time.
class TABULIX_API TFont : public TGraphicsObject {
public:
    /// Makes a font with the defaults.
    TFont() = default;

    std::string ClassName() const override { return "TFont"; }
    void DefineProperties(PropertyList& properties) override;

    /// Copies every attribute of `source` (not its OnChange).
    void Assign(const TFont& source);
    /// Whether two fonts have the same attributes.
    /// @param other the other font.
    bool SameAs(const TFont& other) const;

    /// The face name.
    const std::string& Name() const { return name_; }
    /// Sets the face name.
    /// @param name the face name, such as "Tahoma".
    void SetName(const std::string& name);
    /// The height in pixels at 96 dots per inch; negative for the character height.
    int Height() const { return height_; }
    /// Sets the height.
    /// @param height pixels at 96 dots per inch; negative for the character height.
    /// @throws std::out_of_range beyond ±kMaxFontHeight.
    void SetHeight(int height);
    /// The size in points, derived from the height.
    int Size() const { return FontSizeFromHeight(height_); }
    /// Sets the size in points (as a height: FontHeightFromSize).
    /// @param size the size in points.
    /// @throws std::out_of_range beyond ±kMaxFontSize.
    void SetSize(int size);
    /// The colour of the text.
    TColor Color() const { return color_; }
    /// Sets the colour of the text.
    /// @param color the colour.
    void SetColor(TColor color);
    /// The style attributes.
    TFontStyles Style() const { return style_; }
    /// Sets the style attributes.
    /// @param style the set of attributes, such as {fsBold, fsItalic}.
    void SetStyle(TFontStyles style);
    /// The character set.
    TFontCharset Charset() const { return charset_; }
    /// Sets the character set.
    /// @param charset the character set.
    void SetCharset(TFontCharset charset);
    /// The pitch.
    TFontPitch Pitch() const { return pitch_; }
    /// Sets the pitch.
    /// @param pitch the pitch.
    void SetPitch(TFontPitch pitch);

private:
    std::string name_ = "MS Sans Serif";
    int height_ = -11;
    TColor color_ = clWindowText;
    TFontStyles style_;
    TFontCharset charset_ = DEFAULT_CHARSET;
    TFontPitch pitch_ = fpDefault;
};

}  // namespace tabulix::framework
