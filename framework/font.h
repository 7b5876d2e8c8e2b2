#pragma once
// TFont: the toolkit's font: face name, size (points) or height (pixels at 96 dots per inch),
// colour, style, character set and pitch. The height is what is kept; the size is derived:
//   Height = -round(Size * 96 / 72)                 (a negative height is the character height)
//   Size   = round(-Height * 72 / 96) for Height < 0, round(Height * 72 / 96) otherwise
// with halves rounded away from zero. A new font is "MS Sans Serif", Height -11 (8 points),
// clWindowText, no style, DEFAULT_CHARSET, fpDefault. Heights are kept within
// ±kMaxFontHeight (sizes within ±kMaxFontSize), so that every conversion and every absolute value
// of a height fits an int: SetHeight and SetSize refuse others with std::out_of_range, and a form
// file giving one is refused naming the property.
//
// Published properties, in stored order: Charset (by name, e.g. ANSI_CHARSET), Color, Height,
// Name and Style are always stored; Pitch only when not fpDefault; Size is never stored (it is
// read when a file gives it).
//
// Thread rule: one thread at a time, like the component or set that owns the font.

#include <cstdint>
#include <span>
#include <string>

#include "framework/color.h"
#include "framework/graphics_object.h"
#include "framework/ident_map.h"
#include "framework/set_of.h"

namespace tabulix::framework {

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = SetOf<TFontStyle>;

enum TFontPitch { fpDefault, fpVariable, fpFixed };

using TFontCharset = std::uint8_t;
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

// The character set names, for form files.
std::span<const IdentEntry> CharsetIdents();

inline constexpr int kMaxFontHeight = 32767;
inline constexpr int kMaxFontSize = 24575;  // the size of a height of kMaxFontHeight

// The conversions between points and pixels at 96 dots per inch described above; any int is
// converted (results beyond an int's range are clamped to it).
int FontHeightFromSize(int size);
int FontSizeFromHeight(int height);

class TFont : public TGraphicsObject {
public:
    TFont() = default;

    std::string ClassName() const override { return "TFont"; }
    void DefineProperties(PropertyList& properties) override;

    // Copies every attribute of `source` (not its OnChange).
    void Assign(const TFont& source);
    bool SameAs(const TFont& other) const;

    const std::string& Name() const { return name_; }
    void SetName(const std::string& name);
    int Height() const { return height_; }
    void SetHeight(int height);
    int Size() const { return FontSizeFromHeight(height_); }
    void SetSize(int size);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles style);
    TFontCharset Charset() const { return charset_; }
    void SetCharset(TFontCharset charset);
    TFontPitch Pitch() const { return pitch_; }
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
