#pragma once
/// @file
/// Reading form files: creates the objects a form file describes and sets their published
/// properties (see form_notation.h for the notation, property_list.h for the properties).
///
/// How a file is read:
///  1. The whole file is parsed first; a syntax error creates nothing.
///  2. The root object is created through the class registry (ReadForm) or is the caller's
///     (ReadFormInto; the file's class must be the root's class). Nested objects are created
///     through the class registry with the enclosing object as owner, named, and offered to the
///     enclosing object with AdoptChild (component.h). Every component gets BeginLoading() as
///     soon as it exists, then its properties are set in file order: dotted paths walk into
///     sub-objects (TituloFormato.Fuente.Name), Name.Strings fills a string list.
///  3. References (Datos = Taula) are set after the whole file is read. A name is looked up
///     among the root's own components, then the root itself, then every nested object read
///     (in creation order); "Form1.Taula" (root name first) is accepted too.
///  4. EndLoading() (which calls Loaded()) runs on every component read, in creation order:
///     the root first, then each object before the objects nested in it. Every reference and
///     property of the whole file is in place by then.
///
/// Errors: FormFileError naming the file, the line and what was expected ("unknown class
/// 'TFoo'", "unknown property 'Colour' of TAtributosCasilla", "unterminated string", "expected
/// 'end' of object 'de' (begun at line 12)", "TituloFormato.LiniasContorno: bad set member
/// 'lcArriba' (expected one of ...)"). A failed read leaves nothing behind: ReadForm destroys
/// everything it created; ReadFormInto destroys every component it created and ends the root's
/// loading state without Loaded (the root's own properties set before the error stay set).
/// An exception thrown by a Loaded() passes through unchanged, after the same clean-up.
///
/// Thread rule: several threads may read form files at once, each creating objects of its own
/// (the class registry is guarded); a thread uses the objects it read.

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "framework/component.h"
#include "framework/export.h"
#include "framework/form_file_error.h"

namespace tabulix::framework {

/// @brief How a form is read.
/// @threads A value.
struct TABULIX_API FormReadOptions {
    /// Read as the form designer does: every component read is designing, so Loaded() knows
    /// not to act (a component that connects on loading stays unconnected).
    bool designing = false;
};

/// Reads a form held in `text`; `fileName` names it in messages. Returns the root.
TABULIX_API std::unique_ptr<TComponent> ReadForm(std::string_view text, const std::string& fileName,
                                     const FormReadOptions& options = {});
/// Reads a form file; an unreadable file raises FormFileError at line 0.
TABULIX_API std::unique_ptr<TComponent> ReadFormFile(const std::filesystem::path& path, const FormReadOptions& options = {});

/// Reads a form into an existing root (a program's own form object): the file's root class
/// must be the root's ClassName(); the root takes the file's name and properties and owns the
/// components read.
TABULIX_API void ReadFormInto(TComponent& root, std::string_view text, const std::string& fileName,
                  const FormReadOptions& options = {});
/// Reads a form file into an existing root, as ReadFormInto does.
/// @param root the program's own form object.
/// @param path the form file.
/// @param options how to read it.
/// @throws FormFileError naming the file and line, or line 0 when the file cannot be read.
TABULIX_API void ReadFormFileInto(TComponent& root, const std::filesystem::path& path, const FormReadOptions& options = {});

/// The class of a form text's root object ("object Form1: TForm1" gives "TForm1"), or empty when
/// the text does not start like a form. Programs that read forms of classes they do not know
/// register the class as a TForm first.
TABULIX_API std::string RootClassOf(std::string_view text);

}  // namespace tabulix::framework
