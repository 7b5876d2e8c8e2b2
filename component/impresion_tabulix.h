#pragma once
// TImpresionTabulix: how the transferred sheet prints: its orientation (set, or chosen from the
// width of the data block), a fit to a number of pages wide, the title and heading rows repeated
// on every page, a header with the title and a footer with the date and "Página X de Y", and the
// margins. Every member's default leaves the application's own page set-up untouched.
//
// Thread rule: part of its TTabulix, used on that component's thread.

#include <cstdint>

#include "framework/persistent.h"

namespace tabulix::component {

// opSinCambio leaves the application's orientation; opAutomatica turns the page to landscape when
// the data block's columns are wider than a portrait page.
enum class TOrientacionPagina : std::uint8_t { opSinCambio, opAutomatica, opVertical, opHorizontal };

class TImpresionTabulix : public framework::TPersistent {
public:
    std::string ClassName() const override { return "TImpresionTabulix"; }
    void DefineProperties(framework::PropertyList& properties) override;

    void Assign(const TImpresionTabulix& source);
    // Whether any member asks for a change of the page set-up.
    bool Activa() const;

    TOrientacionPagina Orientacion = TOrientacionPagina::opSinCambio;
    // Pages the sheet is scaled to fit across; 0 prints at 100%.
    std::int32_t PaginasAncho = 0;
    bool RepetirCabecera = false;
    bool EncabezadoPie = false;
    // Centimetres; 0 keeps the application's margin on that side.
    double MargenIzquierdo = 0;
    double MargenDerecho = 0;
    double MargenSuperior = 0;
    double MargenInferior = 0;
};

}  // namespace tabulix::component
