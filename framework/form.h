#pragma once
// Root classes for form files: TForm (a window's non-visual contents) and TDataModule. A program
// whose form file names its own form class registers it as a TForm with that class name, so the
// file reads and writes back unchanged:
//     ClassRegistry::Instance().Register("TForm1", [](TComponent* o) { return new TForm(o, "TForm1"); });
// Published properties: Tag, and Caption (stored when not empty).
//
// Thread rule: a form and the components it owns are used by one thread at a time; form files
// may be read on several threads at once, each into forms of its own (framework/form_reader.h).

#include <string>

#include "framework/component.h"

namespace tabulix::framework {

class TForm : public TComponent {
public:
    explicit TForm(TComponent* owner, std::string className = "TForm");

    std::string ClassName() const override { return className_; }
    void DefineProperties(PropertyList& properties) override;

    std::string Caption;

private:
    std::string className_;
};

class TDataModule : public TComponent {
public:
    explicit TDataModule(TComponent* owner) : TComponent(owner) {}
    std::string ClassName() const override { return "TDataModule"; }
};

}  // namespace tabulix::framework
