#include "component/atributos_casilla.h"

#include "framework/property_list.h"

namespace tabulix::component {

TAtributosCasilla::TAtributosCasilla() : fuente_(std::make_unique<framework::TFont>()) {}

TAtributosCasilla::~TAtributosCasilla() = default;

void TAtributosCasilla::DefineProperties(framework::PropertyList& p) {
    p.Object("Fuente", *fuente_);
    p.Color("ColorFondo", ColorFondo);
    p.Boolean("ColorFondoActivado", ColorFondoActivado);
    p.Set("LiniasInterior", LiniasInterior,
          {"liFiloIzquierdo", "liFiloDerecho", "liFiloSuperior", "liFiloInferior", "liDiagonalAbajo",
           "liDiagonalArriba", "liInteriorVertical", "liInteriorHorizontal"});
    p.Set("LiniasContorno", LiniasContorno, {"lcIzquierda", "lcDerecha", "lcSuperior", "lcInferior"});
    p.Enumeration("LiniasInteriorGrosor", LiniasInteriorGrosor, {"glDelgada", "glMedia", "glGruesa"})
        .Default(TGrosorLinia::glDelgada);
    p.Enumeration("LiniasContornoGrosor", LiniasContornoGrosor, {"glDelgada", "glMedia", "glGruesa"})
        .Default(TGrosorLinia::glDelgada);
    p.Color("LiniasInteriorColor", LiniasInteriorColor);
    p.Color("LiniasContornoColor", LiniasContornoColor);
}

void TAtributosCasilla::Assign(const TAtributosCasilla& source) {
    if (&source == this) return;
    SetFuente(*source.fuente_);
    ColorFondo = source.ColorFondo;
    ColorFondoActivado = source.ColorFondoActivado;
    LiniasInterior = source.LiniasInterior;
    LiniasContorno = source.LiniasContorno;
    LiniasInteriorGrosor = source.LiniasInteriorGrosor;
    LiniasContornoGrosor = source.LiniasContornoGrosor;
    LiniasInteriorColor = source.LiniasInteriorColor;
    LiniasContornoColor = source.LiniasContornoColor;
}

void TAtributosCasilla::SetFuente(const framework::TFont& font) {
    if (!fuente_) fuente_ = std::make_unique<framework::TFont>();
    fuente_->Assign(font);
}

std::int32_t TAtributosCasilla::WeightCode(TGrosorLinia weight) {
    switch (weight) {
        case TGrosorLinia::glDelgada: return 2;
        case TGrosorLinia::glMedia: return -4138;
        case TGrosorLinia::glGruesa: return 4;
    }
    return 1;
}

}  // namespace tabulix::component
