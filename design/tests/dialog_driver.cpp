#include "design/tests/dialog_driver.h"

#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <QTreeWidget>

namespace tabulix::design::testing {

int RunScripted(QDialog& dialog, const DialogScript& script) {
    dialog.setResult(0);
    dialog.show();
    QApplication::processEvents();
    if (script) script(dialog);
    if (dialog.isVisible()) dialog.reject();
    QApplication::processEvents();
    return dialog.result();
}

void Click(QWidget& button) { QTest::mouseClick(&button, Qt::LeftButton); }

void Choose(QComboBox& list, int index) {
    list.setCurrentIndex(index);
    emit list.activated(index);
}

void ScriptedHost::RegisterComponents(const std::string& page, const std::vector<ComponentClass>& classes) {
    for (const ComponentClass& c : classes) components.push_back({page, c.className, c.factory});
}

void ScriptedHost::RegisterPropertyEditor(const std::string& propertyType, const std::string& componentClass,
                                          const std::string& propertyName, PropertyEditorFactory factory) {
    editors.push_back({propertyType, componentClass, propertyName, std::move(factory)});
}

int RunNextScript(std::deque<DialogScript>& scripts, std::vector<std::string>& shown, QDialog& dialog) {
    shown.push_back(dialog.windowTitle().toStdString());
    DialogScript script;
    if (!scripts.empty()) {
        script = std::move(scripts.front());
        scripts.pop_front();
    }
    return RunScripted(dialog, script);
}

int ScriptedHost::ShowModal(QDialog& dialog) { return RunNextScript(scripts, shownDialogs, dialog); }

std::vector<std::string> TreeLines(const QTreeWidget& tree) {
    std::vector<std::string> lines;
    for (int i = 0; i < tree.topLevelItemCount(); ++i) lines.push_back(tree.topLevelItem(i)->text(0).toStdString());
    return lines;
}

}  // namespace tabulix::design::testing
