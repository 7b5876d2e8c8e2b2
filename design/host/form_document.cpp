#include "design/host/form_document.h"

#include <fstream>
#include <sstream>

#include "data/base_folder.h"
#include "framework/class_registry.h"
#include "framework/form.h"
#include "framework/form_file_error.h"
#include "framework/form_reader.h"
#include "framework/form_writer.h"
#include "framework/text_compare.h"

namespace tabulix::design {

namespace fs = std::filesystem;
using framework::ClassRegistry;
using framework::TComponent;

namespace {

void registerFormClass(const std::string& className) {
    ClassRegistry& registry = ClassRegistry::Instance();
    if (className.empty() || registry.IsRegistered(className)) return;
    registry.Register(className, [className](TComponent* owner) -> TComponent* {
        return new framework::TForm(owner, className);
    });
}

void collect(const TComponent& owner, std::vector<TComponent*>& found) {
    for (TComponent* child : owner.GetChildren()) {
        if (!ClassRegistry::Instance().IsRegistered(child->ClassName())) continue;  // helpers are not stored
        found.push_back(child);
        collect(*child, found);
    }
}

}  // namespace

FormDocument::FormDocument() {
    registerFormClass("TForm1");
    root_ = ClassRegistry::Instance().CreateRoot("TForm1");
    root_->SetName("Form1");
    root_->SetDesigning(true);
}

FormDocument::FormDocument(std::unique_ptr<TComponent> root, fs::path path)
    : root_(std::move(root)), path_(std::move(path)) {}

std::unique_ptr<FormDocument> FormDocument::Open(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw framework::FormFileError(file.string(), 0, "cannot open the form file");
    std::ostringstream text;
    text << in.rdbuf();
    registerFormClass(framework::RootClassOf(text.str()));
    auto root = framework::ReadForm(text.str(), file.string(), framework::FormReadOptions{.designing = true});
    data::SetBaseFolders(*root, fs::absolute(file).parent_path());
    return std::unique_ptr<FormDocument>(new FormDocument(std::move(root), file));
}

void FormDocument::SaveAs(const fs::path& file) {
    framework::WriteFormFile(file, *root_);
    path_ = file;
    modified_ = false;
}

std::string FormDocument::UniqueName(const std::string& className) const {
    std::string base = className.size() > 1 && (className[0] == 'T' || className[0] == 't') ? className.substr(1)
                                                                                              : className;
    const std::vector<TComponent*> all = ComponentsOf(*root_);
    for (int n = 1;; ++n) {
        const std::string name = base + std::to_string(n);
        bool taken = false;
        for (const TComponent* c : all) taken = taken || framework::sameText(c->Name(), name);
        if (!taken) return name;
    }
}

std::vector<TComponent*> ComponentsOf(const TComponent& root) {
    std::vector<TComponent*> found;
    collect(root, found);
    return found;
}

}  // namespace tabulix::design
