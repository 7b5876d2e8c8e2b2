#include "framework/font.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <stdexcept>

#include "framework/property_list.h"

namespace tabulix::framework {

namespace {
constexpr std::array<IdentEntry, 19> kCharsets{{
    {ANSI_CHARSET, "ANSI_CHARSET"},
    {DEFAULT_CHARSET, "DEFAULT_CHARSET"},
    {SYMBOL_CHARSET, "SYMBOL_CHARSET"},
    {MAC_CHARSET, "MAC_CHARSET"},
    {SHIFTJIS_CHARSET, "SHIFTJIS_CHARSET"},
    {HANGEUL_CHARSET, "HANGEUL_CHARSET"},
    {JOHAB_CHARSET, "JOHAB_CHARSET"},
    {GB2312_CHARSET, "GB2312_CHARSET"},
    {CHINESEBIG5_CHARSET, "CHINESEBIG5_CHARSET"},
    {GREEK_CHARSET, "GREEK_CHARSET"},
    {TURKISH_CHARSET, "TURKISH_CHARSET"},
    {VIETNAMESE_CHARSET, "VIETNAMESE_CHARSET"},
    {HEBREW_CHARSET, "HEBREW_CHARSET"},
    {ARABIC_CHARSET, "ARABIC_CHARSET"},
    {BALTIC_CHARSET, "BALTIC_CHARSET"},
    {RUSSIAN_CHARSET, "RUSSIAN_CHARSET"},
    {THAI_CHARSET, "THAI_CHARSET"},
    {EASTEUROPE_CHARSET, "EASTEUROPE_CHARSET"},
    {OEM_CHARSET, "OEM_CHARSET"},
}};

// a * b / c rounded to the nearest integer, halves away from zero, clamped to an int. In 64 bits:
// an int times a small factor cannot overflow there.
int mulDiv(std::int64_t a, std::int64_t b, std::int64_t c) {
    const std::int64_t n = a * b;
    const std::int64_t q = ((n < 0 ? -n : n) * 2 + c) / (2 * c);
    return static_cast<int>(std::clamp<std::int64_t>(n < 0 ? -q : q, INT_MIN, INT_MAX));
}

void checkRange(const char* what, int value, int limit) {
    if (value < -limit || value > limit)
        throw std::out_of_range("font " + std::string(what) + " " + std::to_string(value) + " is out of range (" +
                                std::to_string(-limit) + ".." + std::to_string(limit) + ")");
}
}  // namespace

std::span<const IdentEntry> CharsetIdents() { return kCharsets; }

int FontHeightFromSize(int size) { return mulDiv(-static_cast<std::int64_t>(size), 96, 72); }

int FontSizeFromHeight(int height) {
    const std::int64_t pixels = height;
    return mulDiv(pixels < 0 ? -pixels : pixels, 72, 96);
}

void TFont::DefineProperties(PropertyList& p) {
    p.Integer<TFontCharset>("Charset", [this] { return charset_; }, [this](TFontCharset v) { SetCharset(v); })
        .Idents(kCharsets);
    p.Color("Color", [this] { return color_; }, [this](TColor v) { SetColor(v); });
    p.Integer<int>("Height", [this] { return height_; }, [this](int v) { SetHeight(v); })
        .Range(-kMaxFontHeight, kMaxFontHeight);
    p.Text("Name", [this] { return name_; }, [this](std::string v) { SetName(v); }).AlwaysStored();
    p.Enumeration<TFontPitch>("Pitch", [this] { return pitch_; }, [this](TFontPitch v) { SetPitch(v); },
                              {"fpDefault", "fpVariable", "fpFixed"})
        .Default(fpDefault);
    p.Integer<int>("Size", [this] { return Size(); }, [this](int v) { SetSize(v); })
        .Range(-kMaxFontSize, kMaxFontSize)
        .NeverStored();
    p.Set<TFontStyles>("Style", [this] { return style_; }, [this](TFontStyles v) { SetStyle(v); },
                       {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"});
}

void TFont::Assign(const TFont& source) {
    if (&source == this) return;
    name_ = source.name_;
    height_ = source.height_;
    color_ = source.color_;
    style_ = source.style_;
    charset_ = source.charset_;
    pitch_ = source.pitch_;
    Changed();
}

bool TFont::SameAs(const TFont& o) const {
    return name_ == o.name_ && height_ == o.height_ && color_ == o.color_ && style_ == o.style_ &&
           charset_ == o.charset_ && pitch_ == o.pitch_;
}

void TFont::SetName(const std::string& name) {
    if (name_ == name) return;
    name_ = name;
    Changed();
}

void TFont::SetHeight(int height) {
    checkRange("height", height, kMaxFontHeight);
    if (height_ == height) return;
    height_ = height;
    Changed();
}

void TFont::SetSize(int size) {
    checkRange("size", size, kMaxFontSize);
    SetHeight(FontHeightFromSize(size));
}

void TFont::SetColor(TColor color) {
    if (color_ == color) return;
    color_ = color;
    Changed();
}

void TFont::SetStyle(TFontStyles style) {
    if (style_ == style) return;
    style_ = style;
    Changed();
}

void TFont::SetCharset(TFontCharset charset) {
    if (charset_ == charset) return;
    charset_ = charset;
    Changed();
}

void TFont::SetPitch(TFontPitch pitch) {
    if (pitch_ == pitch) return;
    pitch_ = pitch;
    Changed();
}

}  // namespace tabulix::framework
