#pragma once
// Driving modal dialogs in tests without blocking: a "modal display" that shows the dialog,
// runs a script on it (clicks, key presses, checks) and returns the result the dialog closed
// with; a dialog the script leaves open is cancelled. ScriptedHost is a design host whose
// modal display takes the next script from a queue, so nested dialogs (the item dialog inside
// the list dialog) are scripted in the order they open.

#include <QComboBox>
#include <QDialog>
#include <QTreeWidget>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "design/design_host.h"
#include "framework/component.h"
#include "framework/ui_services.h"

namespace tabulix::design::testing {

using DialogScript = std::function<void(QDialog&)>;

int RunScripted(QDialog& dialog, const DialogScript& script);
// Shows `dialog` with the next script of `scripts` (none left: it is cancelled) and records its
// window title in `shown`.
int RunNextScript(std::deque<DialogScript>& scripts, std::vector<std::string>& shown, QDialog& dialog);

// Clicks a button as the user does.
void Click(QWidget& button);
// Chooses entry `index` of a drop-down list as the user does (emits activated).
void Choose(QComboBox& list, int index);

class ScriptedHost : public DesignHost {
public:
    void RegisterComponents(const std::string& page, const std::vector<ComponentClass>& classes) override;
    void RegisterPropertyEditor(const std::string& propertyType, const std::string& componentClass,
                                const std::string& propertyName, PropertyEditorFactory factory) override;
    void ErrorBox(const std::string& text) override { errors.push_back(text); }
    int ShowModal(QDialog& dialog) override;
    void Modified() override { ++modified; }

    std::deque<DialogScript> scripts;
    std::vector<std::string> errors;
    std::vector<std::string> shownDialogs;  // window titles, in the order they were shown
    int modified = 0;

    struct Registration {
        std::string page, className;
        framework::ClassRegistry::Factory factory;
    };
    std::vector<Registration> components;
    struct EditorRegistration {
        std::string propertyType, componentClass, propertyName;
        PropertyEditorFactory factory;
    };
    std::vector<EditorRegistration> editors;
};

// The texts of the top-level nodes of a tree, in order.
std::vector<std::string> TreeLines(const QTreeWidget& tree);

}  // namespace tabulix::design::testing
