#pragma once
/// @file
/// TFontDialog and TColorDialog as a form holds them: the choice a font or colour dialog keeps
/// between its runs (the font, the colour), stored in form files like any component. Showing a
/// dialog belongs to the program's windowing toolkit: it starts from this choice and writes the
/// user's confirmed choice back.
///
/// Published properties: TFontDialog Font (always), MinFontSize and MaxFontSize (when not 0: no
/// limit); TColorDialog Color (always).

#include <cstdint>

#include "framework/color.h"
#include "framework/component.h"
#include "framework/export.h"
#include "framework/font.h"

namespace tabulix::framework {

/// @brief The font a font dialog keeps between its runs, stored in form files. Showing the
/// dialog belongs to the program's windowing toolkit.
/// @threads As TComponent.
class TABULIX_API TFontDialog : public TComponent {
public:
    /// Makes a dialog component with the default font and no size limits.
    /// @param owner frees it with itself, or nullptr.
    explicit TFontDialog(TComponent* owner) : TComponent(owner) {}

    std::string ClassName() const override { return "TFontDialog"; }
    void DefineProperties(PropertyList& properties) override;

    /// The chosen font.
    TFont& Font() { return font_; }
    /// The chosen font, read-only.
    const TFont& Font() const { return font_; }

    /// The smallest size offered, in points; 0 for no limit.
    std::int32_t MinFontSize = 0;
    /// The largest size offered, in points; 0 for no limit.
    std::int32_t MaxFontSize = 0;

private:
    TFont font_;
};

/// @brief The colour a colour dialog keeps between its runs, stored in form files.
/// @threads As TComponent.
class TABULIX_API TColorDialog : public TComponent {
public:
    /// Makes a dialog component with black chosen.
    /// @param owner frees it with itself, or nullptr.
    explicit TColorDialog(TComponent* owner) : TComponent(owner) {}

    std::string ClassName() const override { return "TColorDialog"; }
    void DefineProperties(PropertyList& properties) override;

    /// The chosen colour.
    TColor Color = clBlack;
};

}  // namespace tabulix::framework
