#include "framework/font.h"

#include <array>
#include <cstdlib>

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

// a * b / c rounded to the nearest integer, halves away from zero.
int mulDiv(int a, int b, int c) {
    long long n = static_cast<long long>(a) * b;
    long long q = (std::llabs(n) * 2 + c) / (2LL * c);
    return static_cast<int>(n < 0 ? -q : q);
}
}  // namespace

std::span<const IdentEntry> CharsetIdents() { return kCharsets; }

int FontHeightFromSize(int size) { return -mulDiv(size, 96, 72); }

int FontSizeFromHeight(int height) { return height < 0 ? mulDiv(-height, 72, 96) : mulDiv(height, 72, 96); }

void TFont::DefineProperties(PropertyList& p) {
    p.Integer<TFontCharset>("Charset", [this] { return charset_; }, [this](TFontCharset v) { SetCharset(v); })
        .Idents(kCharsets);
    p.Color("Color", [this] { return color_; }, [this](TColor v) { SetColor(v); });
    p.Integer<int>("Height", [this] { return height_; }, [this](int v) { SetHeight(v); });
    p.Text("Name", [this] { return name_; }, [this](std::string v) { SetName(v); }).AlwaysStored();
    p.Enumeration<TFontPitch>("Pitch", [this] { return pitch_; }, [this](TFontPitch v) { SetPitch(v); },
                              {"fpDefault", "fpVariable", "fpFixed"})
        .Default(fpDefault);
    p.Integer<int>("Size", [this] { return Size(); }, [this](int v) { SetSize(v); }).NeverStored();
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
    if (height_ == height) return;
    height_ = height;
    Changed();
}

void TFont::SetSize(int size) { SetHeight(FontHeightFromSize(size)); }

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
