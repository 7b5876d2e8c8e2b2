#pragma once
// The main window of tabulix-designer: the palette pages of the registered components above a
// tree of the form's components and the object inspector of the selected one. It opens and
// saves form files (the title bar marks unsaved changes), places a component from the palette
// on the form, deletes the selected one (references to it are cleared through free
// notification), and previews a TTabulix: it runs TraspasarNuevoLibro and shows the
// spreadsheet's window.

#include <QMainWindow>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "framework/component.h"

class QAction;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace tabulix::design {

class DesignerHost;
class FormDocument;
class ObjectInspector;

class DesignerWindow : public QMainWindow {
public:
    explicit DesignerWindow(DesignerHost& host, QWidget* parent = nullptr);
    ~DesignerWindow() override;

    // Builds the palette pages from what the host holds now (after packages are loaded).
    void RebuildPalette();

    // File operations; failures are reported in an error box and return false.
    void NewForm();
    bool OpenForm(const std::filesystem::path& file);
    bool SaveForm();
    bool SaveFormAs(const std::filesystem::path& file);

    // Creates a component of a palette class on the form and selects it.
    framework::TComponent* PlaceComponent(const std::string& className);
    void DeleteSelected();
    void Preview();

    void Select(framework::TComponent* component);
    framework::TComponent* Selected() const;
    framework::TComponent& Root() const;
    bool IsModified() const;
    const std::filesystem::path& FormPath() const;

    ObjectInspector& Inspector() const { return *inspector_; }
    QTreeWidget& ComponentTree() const { return *tree_; }
    QTabWidget& Palette() const { return *palette_; }

    // Shows the spreadsheet application's window after a preview; set by the program.
    std::function<void()> ShowSpreadsheet;
    // Asks for a file name (open or save); a test replaces the file dialogs with this.
    std::function<std::filesystem::path(bool save)> AskFileName;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void setDocument(std::unique_ptr<FormDocument> document);
    void rebuildTree();
    void formChanged();
    void updateTitle();
    void updateActions();
    // Asks whether to save unsaved changes; false when the user cancels.
    bool confirmDiscard();

    DesignerHost& host_;
    std::unique_ptr<FormDocument> document_;
    QTabWidget* palette_;
    QTreeWidget* tree_;
    ObjectInspector* inspector_;
    QAction* deleteAction_;
    QAction* previewAction_;
};

}  // namespace tabulix::design
