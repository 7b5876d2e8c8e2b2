#pragma once
/// @file
/// Writing form files: the inverse of form_reader.h. The root and every component it nests
/// (GetChildren(), classes in the class registry only) are written with their stored
/// properties (the Stored rules of property_list.h), two spaces of indentation per level:
///
///     object Form1: TForm
///       object de: TTabulix
///         Datos = Taula
///         CabeceraFormato.ColorFondo = clSilver
///         Formulas.Strings = (
///           'VENTAS_ENE;0;C;1;TOTAL VENTAS MENSUALES:;0;2;'
///           'VENTAS_FEB;0;D;1;;0;0;')
///       end
///     end
///
/// Texts are written ASCII-safe: characters outside printable ASCII as \#code (Unicode code
/// point), strings longer than 64 characters split with +. Reading what the writer wrote and
/// writing it again gives the same text.
///
/// Errors (FormWriteError): a reference to a component outside the form or without a name, a
/// value that has no notation (see Property::Get), a text that is not valid UTF-8.
///
/// Thread rule: writing reads the form it is given and nothing else, so several threads may write
/// forms of their own at once.

#include <filesystem>
#include <iosfwd>
#include <string>

#include "framework/component.h"
#include "framework/export.h"
#include "framework/form_file_error.h"

namespace tabulix::framework {

/// A form as text.
/// @param root the form's root.
/// @throws FormWriteError for a value that cannot be written.
TABULIX_API std::string WriteForm(TComponent& root);
/// Writes a form to a stream.
/// @param out the stream.
/// @param root the form's root.
/// @throws FormWriteError for a value that cannot be written.
TABULIX_API void WriteForm(std::ostream& out, TComponent& root);
/// Writes a form file, replacing `path` in one step, so that a failed write leaves any earlier
/// file as it was; a symbolic link stays a link to the rewritten file.
/// @param path the file.
/// @param root the form's root.
/// @throws FormWriteError naming the file, for a value that cannot be written or when the file
///         cannot be.
TABULIX_API void WriteFormFile(const std::filesystem::path& path, TComponent& root);

}  // namespace tabulix::framework
