#include "component/impresion_tabulix.h"

#include "framework/property_list.h"

namespace tabulix::component {

void TImpresionTabulix::DefineProperties(framework::PropertyList& p) {
    p.Enumeration("Orientacion", Orientacion, {"opSinCambio", "opAutomatica", "opVertical", "opHorizontal"})
        .Default(TOrientacionPagina::opSinCambio);
    p.Integer<std::int32_t>(
         "PaginasAncho", [this] { return PaginasAncho; },
         [this](std::int32_t pages) {
             if (pages < 0 || pages > 255)
                 throw framework::PropertyValueError("PaginasAncho va de 0 a 255 (0: sin ajuste), no " +
                                                     std::to_string(pages));
             PaginasAncho = pages;
         })
        .Default(0);
    p.Boolean("RepetirCabecera", RepetirCabecera).Default(false);
    p.Boolean("EncabezadoPie", EncabezadoPie).Default(false);
    const auto margin = [&p](const char* name, double& field) {
        p.Float(
             name, [&field] { return field; },
             [name, &field](double cm) {
                 if (!(cm >= 0 && cm <= 10))
                     throw framework::PropertyValueError(std::string(name) +
                                                         " va de 0 a 10 cm (0: el margen de la aplicaci\xC3\xB3n)");
                 field = cm;
             })
            .Default(0.0);
    };
    margin("MargenIzquierdo", MargenIzquierdo);
    margin("MargenDerecho", MargenDerecho);
    margin("MargenSuperior", MargenSuperior);
    margin("MargenInferior", MargenInferior);
}

void TImpresionTabulix::Assign(const TImpresionTabulix& source) {
    Orientacion = source.Orientacion;
    PaginasAncho = source.PaginasAncho;
    RepetirCabecera = source.RepetirCabecera;
    EncabezadoPie = source.EncabezadoPie;
    MargenIzquierdo = source.MargenIzquierdo;
    MargenDerecho = source.MargenDerecho;
    MargenSuperior = source.MargenSuperior;
    MargenInferior = source.MargenInferior;
}

bool TImpresionTabulix::Activa() const {
    return Orientacion != TOrientacionPagina::opSinCambio || PaginasAncho > 0 || RepetirCabecera || EncabezadoPie ||
           MargenIzquierdo > 0 || MargenDerecho > 0 || MargenSuperior > 0 || MargenInferior > 0;
}

}  // namespace tabulix::component
