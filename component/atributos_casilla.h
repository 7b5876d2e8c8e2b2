#pragma once
// TAtributosCasilla: how a block of cells is to look: its font, an optional background colour,
// and which border lines to draw, with one weight and colour for the inside lines and one for
// the outline. The set owns its font for its whole life; SetFuente copies into it.
//
// Thread rule: a set belongs to its component's thread (component/tabulix.h); a set of one's own
// is used by one thread at a time.

#include <cstdint>
#include <memory>

#include "component/enumerations.h"
#include "framework/color.h"
#include "framework/font.h"
#include "framework/graphics_object.h"

namespace tabulix::component {

class TAtributosCasilla : public framework::TGraphicsObject {
public:
    TAtributosCasilla();
    ~TAtributosCasilla() override;

    std::string ClassName() const override { return "TAtributosCasilla"; }
    void DefineProperties(framework::PropertyList& properties) override;

    // Copies every attribute of `source`, its font included.
    void Assign(const TAtributosCasilla& source);

    const framework::TFont& Fuente() const { return *fuente_; }
    framework::TFont& Fuente() { return *fuente_; }
    // Copies the attributes of `font` into the set's own font; the caller keeps `font`.
    void SetFuente(const framework::TFont& font);

    framework::TColor ColorFondo = framework::clWhite;
    bool ColorFondoActivado = false;
    TLiniasInterior LiniasInterior;
    TLiniasContorno LiniasContorno;
    TGrosorLinia LiniasInteriorGrosor = TGrosorLinia::glDelgada;
    TGrosorLinia LiniasContornoGrosor = TGrosorLinia::glDelgada;
    framework::TColor LiniasInteriorColor = framework::clBlack;
    framework::TColor LiniasContornoColor = framework::clBlack;

    // The spreadsheet's border weight codes: 2 thin, -4138 medium, 4 thick (1, hairline, for
    // any other value).
    std::int32_t GrosorInterior() const { return WeightCode(LiniasInteriorGrosor); }
    std::int32_t GrosorContorno() const { return WeightCode(LiniasContornoGrosor); }
    static std::int32_t WeightCode(TGrosorLinia weight);

private:
    std::unique_ptr<framework::TFont> fuente_;
};

}  // namespace tabulix::component
