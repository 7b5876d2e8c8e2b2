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

class TABULIX_API TFontDialog : public TComponent {
public:
    explicit TFontDialog(TComponent* owner) : TComponent(owner) {}

    std::string ClassName() const override { return "TFontDialog"; }
    void DefineProperties(PropertyList& properties) override;

    TFont& Font() { return font_; }
    const TFont& Font() const { return font_; }

    /// Limits of the sizes offered, in points; 0 means none.
    std::int32_t MinFontSize = 0;
    std::int32_t MaxFontSize = 0;

private:
    TFont font_;
};

class TABULIX_API TColorDialog : public TComponent {
public:
    explicit TColorDialog(TComponent* owner) : TComponent(owner) {}

    std::string ClassName() const override { return "TColorDialog"; }
    void DefineProperties(PropertyList& properties) override;

    TColor Color = clBlack;
};

}  // namespace tabulix::framework
