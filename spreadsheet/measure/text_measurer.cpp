#include "spreadsheet/measure/text_measurer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <optional>
#include <unordered_map>
#include <vector>

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include FT_TRUETYPE_TABLES_H

#include "spreadsheet/cells/utf8.h"

namespace tabulix::spreadsheet {
namespace {

constexpr double kDpi = 96.0;
constexpr double kMinPoints = 1.0;
constexpr double kMaxPoints = 409.0;
constexpr double kEstimateEm = 0.6;
constexpr double kEstimateLineEm = 1.2;  // a line of a font that cannot be loaded
constexpr const char* kFallbackFamily = "DejaVu Sans";
constexpr const char* kFallbackFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

double usablePoints(double points) {
    if (!std::isfinite(points)) return 11.0;
    return std::clamp(points, kMinPoints, kMaxPoints);
}

std::string lowerAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

struct FontFile {
    std::string path;
    int index = 0;
    bool embolden = false;  // bold asked for, but the file is a regular weight
};

}  // namespace

// One font at one size and style, with the advances measured so far.
class MeasuredFont {
public:
    MeasuredFont(FT_Face face, double pixelSize, bool embolden, std::string file)
        : face_(face), pixelSize_(pixelSize), file_(std::move(file)) {
        ascii_.fill(-1);
        // Synthetic bold widens each glyph by the stroke FreeType adds, at least a pixel.
        if (embolden) extraBold_ = std::max(1, static_cast<int>(std::ceil(pixelSize / 24.0)));
    }
    ~MeasuredFont() {
        if (face_) FT_Done_Face(face_);
    }
    MeasuredFont(const MeasuredFont&) = delete;
    MeasuredFont& operator=(const MeasuredFont&) = delete;

    const std::string& file() const { return file_; }
    int lineHeight() const {
        if (!face_) return static_cast<int>(std::ceil(kEstimateLineEm * pixelSize_));
        double ascent = face_->ascender, descent = -face_->descender;
        if (const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face_, FT_SFNT_OS2));
            os2 && os2->usWinAscent + os2->usWinDescent > 0) {
            ascent = os2->usWinAscent;
            descent = os2->usWinDescent;
        }
        const double scale = pixelSize_ / face_->units_per_EM;
        return static_cast<int>(std::lround(ascent * scale) + std::lround(descent * scale));
    }
    bool hasGlyph(char32_t c) const { return face_ && FT_Get_Char_Index(face_, c) != 0; }

    // Advance of c in whole pixels; a character the font lacks takes fallback's advance when
    // fallback has it, else the font's missing-glyph box.
    int advance(char32_t c, MeasuredFont* fallback) {
        if (c < 128 && ascii_[c] >= 0) return ascii_[c];
        if (c >= 128) {
            const auto it = others_.find(c);
            if (it != others_.end()) return it->second;
        }
        int width;
        if (fallback && fallback != this && !hasGlyph(c) && fallback->hasGlyph(c))
            width = fallback->advance(c, nullptr);
        else
            width = measure(c);
        if (c < 128)
            ascii_[c] = width;
        else
            others_.emplace(c, width);
        return width;
    }

private:
    int measure(char32_t c) const {
        if (c < 0x20 || c == 0x7F) return 0;
        const int estimate = static_cast<int>(std::ceil(kEstimateEm * pixelSize_));
        if (!face_) return estimate;
        FT_Fixed units = 0;
        if (FT_Get_Advance(face_, FT_Get_Char_Index(face_, c), FT_LOAD_NO_SCALE, &units) != 0) return estimate;
        const int pixels = static_cast<int>(std::lround(static_cast<double>(units) * pixelSize_ / face_->units_per_EM));
        return pixels + (pixels > 0 ? extraBold_ : 0);
    }

    FT_Face face_;
    double pixelSize_;
    int extraBold_ = 0;
    std::string file_;
    std::array<int, 128> ascii_{};
    std::unordered_map<char32_t, int> others_;
};

struct TextMeasurer::Impl {
    FT_Library library = nullptr;
    FcConfig* config = nullptr;
    // Fonts by the file that measures them, and the font each request (name, size, style) found:
    // many names come to one file, and a face is loaded once for all of them, however many names
    // a workbook uses.
    std::unordered_map<std::string, std::unique_ptr<MeasuredFont>> fontsByFile;
    std::unordered_map<std::string, MeasuredFont*> fonts;

    Impl() {
        if (FT_Init_FreeType(&library) != 0) library = nullptr;
        config = FcInitLoadConfigAndFonts();
    }
    ~Impl() {
        fonts.clear();
        fontsByFile.clear();  // faces before the library that made them
        if (library) FT_Done_FreeType(library);
        if (config) FcConfigDestroy(config);
    }

    // fontconfig's best match for the family and style; it falls back on its own defaults.
    std::optional<FontFile> match(const std::string& family, bool bold, bool italic) const {
        if (!config) return std::nullopt;
        FcPattern* pattern = FcPatternCreate();
        if (!pattern) return std::nullopt;
        if (!family.empty()) FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
        FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
        FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        FcConfigSubstitute(config, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        FcPattern* found = FcFontMatch(config, pattern, &result);
        FcPatternDestroy(pattern);
        if (!found) return std::nullopt;
        std::optional<FontFile> file;
        FcChar8* path = nullptr;
        if (FcPatternGetString(found, FC_FILE, 0, &path) == FcResultMatch && path) {
            file = FontFile{reinterpret_cast<const char*>(path)};
            int index = 0;
            if (FcPatternGetInteger(found, FC_INDEX, 0, &index) == FcResultMatch) file->index = index;
            FcBool embolden = FcFalse;
            if (FcPatternGetBool(found, FC_EMBOLDEN, 0, &embolden) == FcResultMatch) file->embolden = embolden == FcTrue;
        }
        FcPatternDestroy(found);
        return file;
    }

    FT_Face load(const FontFile& file) const {
        if (!library) return nullptr;
        FT_Face face = nullptr;
        if (FT_New_Face(library, file.path.c_str(), file.index, &face) != 0) return nullptr;
        if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) {
            FT_Done_Face(face);
            return nullptr;
        }
        return face;
    }

    // The font measured last, to spare the lookup when a run of cells shares a font.
    FontSpec lastSpec;
    MeasuredFont* lastFont = nullptr;

    MeasuredFont& font(const FontSpec& spec) {
        if (lastFont && spec.sizePoints == lastSpec.sizePoints && spec.bold == lastSpec.bold &&
            spec.italic == lastSpec.italic && spec.name == lastSpec.name)
            return *lastFont;
        MeasuredFont& found = lookUp(spec);
        lastSpec = spec;
        lastFont = &found;
        return found;
    }

    MeasuredFont& lookUp(const FontSpec& spec) {
        const double points = usablePoints(spec.sizePoints);
        const std::string key = lowerAscii(spec.name) + '\n' + std::to_string(std::lround(points * 64.0)) +
                                (spec.bold ? 'b' : '-') + (spec.italic ? 'i' : '-');
        auto it = fonts.find(key);
        if (it != fonts.end()) return *it->second;

        const double pixelSize = points * kDpi / 72.0;
        const std::string size = '\n' + std::to_string(std::lround(points * 64.0));
        std::vector<FontFile> candidates;
        if (auto best = match(spec.name, spec.bold, spec.italic)) candidates.push_back(*best);
        if (auto dejavu = match(kFallbackFamily, spec.bold, spec.italic)) candidates.push_back(*dejavu);
        candidates.push_back(FontFile{kFallbackFile, 0, spec.bold});
        MeasuredFont* measured = nullptr;
        for (const FontFile& file : candidates) {
            const std::string fileKey =
                file.path + '\n' + std::to_string(file.index) + size + (file.embolden ? "b" : "-");
            if (auto known = fontsByFile.find(fileKey); known != fontsByFile.end()) {
                measured = known->second.get();
                break;
            }
            if (FT_Face face = load(file)) {
                measured = fontsByFile
                               .emplace(fileKey, std::make_unique<MeasuredFont>(face, pixelSize, file.embolden, file.path))
                               .first->second.get();
                break;
            }
        }
        if (!measured) {
            auto& estimate = fontsByFile["" + size];
            if (!estimate) estimate = std::make_unique<MeasuredFont>(nullptr, pixelSize, false, std::string());
            measured = estimate.get();
        }
        return *fonts.emplace(key, measured).first->second;
    }

    // The font that stands in for characters a font lacks.
    MeasuredFont* fallbackFor(const FontSpec& spec) {
        return &font(FontSpec{kFallbackFamily, spec.sizePoints, spec.bold, spec.italic});
    }
};

TextMeasurer::TextMeasurer() : impl_(std::make_unique<Impl>()) {}

TextMeasurer::~TextMeasurer() = default;

double TextMeasurer::widthPixels(std::string_view utf8, const FontSpec& spec) {
    MeasuredFont& font = impl_->font(spec);
    MeasuredFont* fallback = nullptr;
    long widest = 0;
    long line = 0;
    for (std::size_t at = 0; at < utf8.size();) {
        const char32_t c = utf8::next(utf8, at);
        if (c == U'\n') {
            widest = std::max(widest, line);
            line = 0;
            continue;
        }
        if (c >= 128 && !font.hasGlyph(c) && !fallback) fallback = impl_->fallbackFor(spec);
        line += font.advance(c, fallback);
    }
    return static_cast<double>(std::max(widest, line));
}

double TextMeasurer::maxDigitWidthPixels(const FontSpec& spec) {
    MeasuredFont& font = impl_->font(spec);
    int widest = 0;
    for (char32_t c = U'0'; c <= U'9'; ++c) widest = std::max(widest, font.advance(c, nullptr));
    return widest;
}

double TextMeasurer::lineHeightPixels(const FontSpec& spec) { return impl_->font(spec).lineHeight(); }

std::string TextMeasurer::fontFileFor(const FontSpec& spec) { return impl_->font(spec).file(); }

}  // namespace tabulix::spreadsheet
