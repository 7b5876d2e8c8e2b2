#pragma once
/// @file
/// Root classes for form files: TForm (a window's non-visual contents) and TDataModule. A program
/// whose form file names its own form class registers it as a TForm with that class name, so the
/// file reads and writes back unchanged:
///     ClassRegistry::Instance().Register("TForm1", [](TComponent* o) { return new TForm(o, "TForm1"); });
/// Published properties: Tag, and Caption (stored when not empty).
///
/// Thread rule: a form and the components it owns are used by one thread at a time; form files
/// may be read on several threads at once, each into forms of its own (framework/form_reader.h).

#include <string>

#include "framework/component.h"
#include "framework/export.h"

namespace tabulix::framework {

/// @brief The root of a form file: a window's non-visual contents, under the program's own
/// form class name.
/// @threads As TComponent.
class TABULIX_API TForm : public TComponent {
public:
    /// Makes an empty form.
    /// @param owner frees it with itself, or nullptr (a form's root usually has none).
    /// @param className the class name form files give it, such as "TForm1".
    explicit TForm(TComponent* owner, std::string className = "TForm");

    std::string ClassName() const override { return className_; }
    void DefineProperties(PropertyList& properties) override;

    /// The window's caption (published, stored when not empty).
    std::string Caption;

private:
    std::string className_;
};

/// @brief The root of a form file that holds only non-visual components.
/// @threads As TComponent.
class TABULIX_API TDataModule : public TComponent {
public:
    /// Makes an empty data module.
    /// @param owner frees it with itself, or nullptr.
    explicit TDataModule(TComponent* owner) : TComponent(owner) {}
    std::string ClassName() const override { return "TDataModule"; }
};

}  // namespace tabulix::framework
