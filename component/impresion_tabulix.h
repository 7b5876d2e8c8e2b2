#pragma once
/// @file
/// TImpresionTabulix: how the transferred sheet prints.
///
/// Thread rule: part of its TTabulix, used on that component's thread.

#include <cstdint>

#include "framework/export.h"
#include "framework/persistent.h"

namespace tabulix::component {

/// The page's orientation.
enum class TOrientacionPagina : std::uint8_t {
    opSinCambio,   ///< Leaves the application's orientation.
    opAutomatica,  ///< Landscape when the data block's columns are wider than a portrait page.
    opVertical,    ///< Portrait.
    opHorizontal,  ///< Landscape.
};

/// @brief How the transferred sheet prints, published as TTabulix's `Impresion`: its
/// orientation, a fit to a number of pages wide, the title and heading rows repeated on every
/// page, a header with the title and a footer with the date and "Página X de Y", and the margins.
///
/// Every member's default leaves the application's own page set-up untouched.
/// @threads Belongs to its component's thread.
class TABULIX_API TImpresionTabulix : public framework::TPersistent {
public:
    std::string ClassName() const override { return "TImpresionTabulix"; }
    /// Publishes the members below, each stored when it is not its default. Reading a form
    /// file refuses a PaginasAncho outside 0 to 255 and a margin outside 0 to 10 cm.
    /// @param properties the list to add them to.
    void DefineProperties(framework::PropertyList& properties) override;

    /// Copies every member of another set.
    /// @param source the set to copy.
    void Assign(const TImpresionTabulix& source);
    /// Whether any member asks for a change of the page set-up.
    bool Activa() const;

    TOrientacionPagina Orientacion = TOrientacionPagina::opSinCambio;  ///< The page's orientation.
    std::int32_t PaginasAncho = 0;  ///< Pages the sheet is scaled to fit across, 0 to 255; 0 prints at 100%.
    bool RepetirCabecera = false;  ///< Prints the title and heading rows on every page.
    bool EncabezadoPie = false;  ///< The title in the page header, the date and page numbers in the footer.
    double MargenIzquierdo = 0;  ///< Left margin in centimetres; 0 keeps the application's.
    double MargenDerecho = 0;  ///< Right margin in centimetres; 0 keeps the application's.
    double MargenSuperior = 0;  ///< Top margin in centimetres; 0 keeps the application's.
    double MargenInferior = 0;  ///< Bottom margin in centimetres; 0 keeps the application's.
};

}  // namespace tabulix::component
