#pragma once
// TDocumentoTabulix: the document properties the transfer gives the workbook (title, subject,
// author, company). When any of them is set the transfer also stamps the workbook's creation
// and modification times; when none is, the workbook's properties are left alone.
//
// Thread rule: part of its TTabulix, used on that component's thread.

#include <string>

#include "framework/persistent.h"

namespace tabulix::component {

class TDocumentoTabulix : public framework::TPersistent {
public:
    std::string ClassName() const override { return "TDocumentoTabulix"; }
    void DefineProperties(framework::PropertyList& properties) override;

    void Assign(const TDocumentoTabulix& source);
    bool Activo() const { return !Titulo.empty() || !Asunto.empty() || !Autor.empty() || !Compania.empty(); }

    std::string Titulo;
    std::string Asunto;
    std::string Autor;
    std::string Compania;
};

}  // namespace tabulix::component
