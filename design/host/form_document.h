#pragma once
// The form the designer edits: its components (read as the designer reads them, every one
// designing), the file it came from, and whether it changed since it was opened or saved.

#include <filesystem>
#include <memory>
#include <string>

#include "framework/component.h"

namespace tabulix::design {

class FormDocument {
public:
    // An empty form "Form1" of class TForm1, not yet saved.
    FormDocument();
    // Reads a form file. A root class nobody registered (a program's own form class) is read
    // as a plain form of that class name. Relative database and query paths are taken from
    // the file's folder. Raises framework::FormFileError (file, line, reason) on a bad file.
    static std::unique_ptr<FormDocument> Open(const std::filesystem::path& file);

    framework::TComponent& Root() const { return *root_; }
    const std::filesystem::path& Path() const { return path_; }
    bool IsModified() const { return modified_; }
    void SetModified(bool value = true) { modified_ = value; }

    // Writes the form through a temporary file renamed over the target, so a failed save
    // leaves the earlier file whole; clears the modified mark.
    void SaveAs(const std::filesystem::path& file);
    void Save() { SaveAs(path_); }

    // A name for a new component of `className` that no component of the form has:
    // "Tabulix1", "Table2", ...
    std::string UniqueName(const std::string& className) const;

private:
    FormDocument(std::unique_ptr<framework::TComponent> root, std::filesystem::path path);

    std::unique_ptr<framework::TComponent> root_;
    std::filesystem::path path_;
    bool modified_ = false;
};

// Every component the form holds below `root` (nested ones after their owner), in order.
std::vector<framework::TComponent*> ComponentsOf(const framework::TComponent& root);

}  // namespace tabulix::design
