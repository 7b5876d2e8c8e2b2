#include "component/documento_tabulix.h"

#include "framework/property_list.h"

namespace tabulix::component {

void TDocumentoTabulix::DefineProperties(framework::PropertyList& p) {
    p.Text("Titulo", Titulo);
    p.Text("Asunto", Asunto);
    p.Text("Autor", Autor);
    p.Text("Compania", Compania);
}

void TDocumentoTabulix::Assign(const TDocumentoTabulix& source) {
    Titulo = source.Titulo;
    Asunto = source.Asunto;
    Autor = source.Autor;
    Compania = source.Compania;
}

}  // namespace tabulix::component
