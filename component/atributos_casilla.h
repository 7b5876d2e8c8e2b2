#pragma once
/// @file
/// TAtributosCasilla: how a block of cells is to look: its font, an optional background colour,
/// and which border lines to draw, with one weight and colour for the inside lines and one for
/// the outline. The set owns its font for its whole life; SetFuente copies into it.
///
/// Thread rule: a set belongs to its component's thread (component/tabulix.h); a set of one's own
/// is used by one thread at a time.

#include <cstdint>
#include <memory>

#include "component/enumerations.h"
#include "framework/color.h"
#include "framework/export.h"
#include "framework/font.h"
#include "framework/graphics_object.h"

namespace tabulix::component {

/// @brief How a block of cells is to look: font, background colour and border lines.
///
/// TTabulix has five of them (title, headings, data, formula captions, formula results), and a
/// program makes its own for AsignarAtributosCasilla. The set owns its font.
/// @threads Used from one thread at a time, like the component that holds it.
class TABULIX_API TAtributosCasilla : public framework::TGraphicsObject {
public:
    /// Makes a set with the defaults: "MS Sans Serif" 8 points, no background, no lines, thin
    /// black lines when some are chosen.
    TAtributosCasilla();
    /// Frees the set and its font.
    ~TAtributosCasilla() override;

    std::string ClassName() const override { return "TAtributosCasilla"; }
    void DefineProperties(framework::PropertyList& properties) override;

    /// Copies every attribute of `source`, its font included.
    void Assign(const TAtributosCasilla& source);

    /// The font of the cells, read-only.
    const framework::TFont& Fuente() const { return *fuente_; }
    /// The font of the cells, to change in place.
    framework::TFont& Fuente() { return *fuente_; }
    /// Copies the attributes of `font` into the set's own font; the caller keeps `font`.
    void SetFuente(const framework::TFont& font);

    /// The background colour, applied only while ColorFondoActivado is true.
    framework::TColor ColorFondo = framework::clWhite;
    /// Whether the cells get ColorFondo as their background.
    bool ColorFondoActivado = false;
    /// Lines of every cell (its edges and diagonals) and between the block's rows and columns.
    TLiniasInterior LiniasInterior;
    /// The outer edges of the block that get a line.
    TLiniasContorno LiniasContorno;
    /// The weight of the inside lines.
    TGrosorLinia LiniasInteriorGrosor = TGrosorLinia::glDelgada;
    /// The weight of the outline.
    TGrosorLinia LiniasContornoGrosor = TGrosorLinia::glDelgada;
    /// The colour of the inside lines.
    framework::TColor LiniasInteriorColor = framework::clBlack;
    /// The colour of the outline.
    framework::TColor LiniasContornoColor = framework::clBlack;

    /// The spreadsheet's border weight code of the inside lines: 2 thin, -4138 medium, 4 thick.
    std::int32_t GrosorInterior() const { return WeightCode(LiniasInteriorGrosor); }
    /// The spreadsheet's border weight code of the outline.
    std::int32_t GrosorContorno() const { return WeightCode(LiniasContornoGrosor); }
    /// The spreadsheet's border weight code of a weight: 2 thin, -4138 medium, 4 thick (1, a
    /// hairline, for a value outside the enumeration).
    /// @param weight the weight.
    static std::int32_t WeightCode(TGrosorLinia weight);

private:
    std::unique_ptr<framework::TFont> fuente_;
};

}  // namespace tabulix::component
