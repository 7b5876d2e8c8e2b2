#pragma once
/// @file
/// TDocumentoTabulix: the document properties the transfer gives the workbook.
///
/// Thread rule: part of its TTabulix, used on that component's thread.

#include <string>

#include "framework/export.h"
#include "framework/persistent.h"

namespace tabulix::component {

/// @brief The document properties the transfer gives the workbook (title, subject, author,
/// company), published as TTabulix's `Documento`.
///
/// When any of them is set the transfer also stamps the workbook's creation and modification
/// times; when none is, the workbook's properties are left alone. Texts are UTF-8.
/// @threads Belongs to its component's thread.
class TABULIX_API TDocumentoTabulix : public framework::TPersistent {
public:
    std::string ClassName() const override { return "TDocumentoTabulix"; }
    /// Publishes Titulo, Asunto, Autor and Compania, each stored when not empty.
    /// @param properties the list to add them to.
    void DefineProperties(framework::PropertyList& properties) override;

    /// Copies every property of another set.
    /// @param source the set to copy.
    void Assign(const TDocumentoTabulix& source);
    /// Whether any property is set, so that the transfer writes them.
    bool Activo() const { return !Titulo.empty() || !Asunto.empty() || !Autor.empty() || !Compania.empty(); }

    std::string Titulo;    ///< The document's title.
    std::string Asunto;    ///< Its subject.
    std::string Autor;     ///< Its author.
    std::string Compania;  ///< The author's company.
};

}  // namespace tabulix::component
