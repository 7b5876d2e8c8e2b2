#include "design/host/designer_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "component/tabulix.h"
#include "data/data_set.h"
#include "design/host/designer_host.h"
#include "design/host/form_document.h"
#include "design/host/property_grid.h"
#include "framework/class_registry.h"
#include "framework/ui_services.h"

namespace tabulix::design {

namespace fs = std::filesystem;
using framework::TComponent;

namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }

// The palette picture of a class that brings none: its initials on a tile.
QPixmap defaultPicture(const std::string& className) {
    QPixmap picture(24, 24);
    picture.fill(QColor(0xC0, 0xC0, 0xC0));
    QPainter painter(&picture);
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.setBrush(QColor(0xFF, 0xFF, 0xE0));
    painter.drawRect(2, 2, 19, 19);
    QString initials;
    for (std::size_t i = 1; i < className.size() && initials.size() < 2; ++i)
        if (std::isupper(static_cast<unsigned char>(className[i]))) initials += QChar(className[i]);
    QFont font("DejaVu Sans");
    font.setPixelSize(10);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(0, 0, 0x80));
    painter.drawText(QRect(2, 2, 20, 20), Qt::AlignCenter, initials);
    return picture;
}

TComponent* componentOf(const QTreeWidgetItem* item) {
    return item ? static_cast<TComponent*>(item->data(0, Qt::UserRole).value<void*>()) : nullptr;
}

void errorBox(const std::string& text) {
    framework::CurrentUi().MessageDlg(text, "", framework::TMsgDlgType::mtError, framework::mbOKOnly);
}

}  // namespace

DesignerWindow::DesignerWindow(DesignerHost& host, QWidget* parent) : QMainWindow(parent), host_(host) {
    host_.OnModified = [this] { formChanged(); };
    AskFileName = [this](bool save) -> fs::path {
        const QString filter = "Form files (*.form);;All files (*)";
        const QString name = save ? QFileDialog::getSaveFileName(this, "Save form", {}, filter)
                                  : QFileDialog::getOpenFileName(this, "Open form", {}, filter);
        return fs::path(name.toStdString());
    };

    QMenu* file = menuBar()->addMenu("&File");
    file->addAction("&New", QKeySequence::New, this, [this] {
        if (confirmDiscard()) NewForm();
    });
    file->addAction("&Open...", QKeySequence::Open, this, [this] {
        if (!confirmDiscard()) return;
        const fs::path name = AskFileName(false);
        if (!name.empty()) OpenForm(name);
    });
    file->addAction("&Save", QKeySequence::Save, this, [this] { SaveForm(); });
    file->addAction("Save &As...", QKeySequence::SaveAs, this, [this] {
        const fs::path name = AskFileName(true);
        if (!name.empty()) SaveFormAs(name);
    });
    file->addSeparator();
    file->addAction("E&xit", QKeySequence::Quit, this, [this] { close(); });
    QMenu* component = menuBar()->addMenu("&Component");
    deleteAction_ = component->addAction("&Delete", QKeySequence::Delete, this, [this] { DeleteSelected(); });
    previewAction_ = component->addAction("&Preview", QKeySequence(Qt::Key_F9), this, [this] { Preview(); });
    previewAction_->setObjectName("Preview");

    palette_ = new QTabWidget;
    palette_->setObjectName("Palette");
    palette_->setFixedHeight(66);

    tree_ = new QTreeWidget;
    tree_->setObjectName("ComponentTree");
    tree_->setHeaderLabel("Components");
    connect(tree_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
        inspector_->Inspect(componentOf(current), document_ ? &document_->Root() : nullptr);
        updateActions();
    });

    inspector_ = new ObjectInspector(host_);
    inspector_->setObjectName("ObjectInspector");
    inspector_->OnChanged = [this] { formChanged(); };
    inspector_->OnRenamed = [this] { rebuildTree(); };

    auto* split = new QSplitter;
    split->addWidget(tree_);
    split->addWidget(inspector_);
    split->setStretchFactor(0, 2);
    split->setStretchFactor(1, 3);

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(palette_);
    layout->addWidget(split, 1);
    setCentralWidget(central);
    statusBar();
    resize(900, 680);

    RebuildPalette();
    NewForm();
}

DesignerWindow::~DesignerWindow() {
    host_.OnModified = nullptr;
    inspector_->Inspect(nullptr, nullptr);
}

void DesignerWindow::RebuildPalette() {
    palette_->clear();
    for (const DesignerHost::PalettePage& page : host_.Pages()) {
        auto* bar = new QToolBar;
        bar->setIconSize(QSize(24, 24));
        for (const DesignerHost::PaletteEntry& entry : page.entries) {
            const QPixmap picture = entry.picture ? QPixmap(entry.picture) : defaultPicture(entry.className);
            auto* action = new QAction(QIcon(picture), qt(entry.className), bar);
            action->setObjectName(qt(entry.className));
            action->setToolTip(qt(entry.className));
            const std::string className = entry.className;
            connect(action, &QAction::triggered, this, [this, className] { PlaceComponent(className); });
            bar->addAction(action);
        }
        palette_->addTab(bar, qt(page.name));
    }
}

void DesignerWindow::setDocument(std::unique_ptr<FormDocument> document) {
    inspector_->Inspect(nullptr, nullptr);
    document_ = std::move(document);
    rebuildTree();
    updateTitle();
}

void DesignerWindow::NewForm() { setDocument(std::make_unique<FormDocument>()); }

bool DesignerWindow::OpenForm(const fs::path& file) {
    try {
        setDocument(FormDocument::Open(file));
        statusBar()->showMessage(qt("Opened " + file.string()), 5000);
        return true;
    } catch (const std::exception& e) {
        errorBox(e.what());
        return false;
    }
}

bool DesignerWindow::SaveForm() {
    if (document_->Path().empty()) {
        const fs::path name = AskFileName(true);
        return !name.empty() && SaveFormAs(name);
    }
    return SaveFormAs(document_->Path());
}

bool DesignerWindow::SaveFormAs(const fs::path& file) {
    try {
        document_->SaveAs(file);
        updateTitle();
        statusBar()->showMessage(qt("Saved " + file.string()), 5000);
        return true;
    } catch (const std::exception& e) {
        errorBox("cannot save the form: " + std::string(e.what()));
        return false;
    }
}

TComponent* DesignerWindow::PlaceComponent(const std::string& className) {
    try {
        TComponent& root = document_->Root();
        const std::string name = document_->UniqueName(className);
        TComponent* placed = framework::ClassRegistry::Instance().Create(className, root);
        placed->SetName(name);
        placed->SetDesigning(true);
        rebuildTree();
        Select(placed);
        formChanged();
        return placed;
    } catch (const std::exception& e) {
        errorBox(e.what());
        return nullptr;
    }
}

void DesignerWindow::DeleteSelected() {
    TComponent* doomed = Selected();
    if (!doomed || doomed == &document_->Root()) return;
    inspector_->Inspect(nullptr, nullptr);
    delete doomed;  // its owner forgets it; whoever asked for free notification clears its reference
    rebuildTree();
    formChanged();
}

void DesignerWindow::Preview() {
    auto* tabulix = dynamic_cast<component::TTabulix*>(Selected());
    if (!tabulix) {
        errorBox("Select a TTabulix component to preview its transfer.");
        return;
    }
    data::TDataSet* dataSet = tabulix->Datos();
    if (!dataSet) {
        errorBox("The component " + tabulix->Name() + " has no data set (Datos) to transfer.");
        return;
    }
    // At design time the data set is normally closed: open it for the transfer only.
    const bool wasOpen = dataSet->Active();
    try {
        if (!wasOpen) dataSet->Open();
        tabulix->TraspasarNuevoLibro();
        statusBar()->showMessage(qt("Transferred " + dataSet->DisplayName() + " with " + tabulix->Name()), 5000);
    } catch (const std::exception& e) {
        errorBox("The preview of " + tabulix->Name() + " failed: " + e.what());
    }
    if (!wasOpen && dataSet->Active()) dataSet->Close();
    if (ShowSpreadsheet) ShowSpreadsheet();
}

void DesignerWindow::Select(TComponent* component) {
    QList<QTreeWidgetItem*> pending{tree_->topLevelItem(0)};
    while (!pending.isEmpty()) {
        QTreeWidgetItem* item = pending.takeFirst();
        if (!item) continue;
        if (componentOf(item) == component) {
            tree_->setCurrentItem(item);
            return;
        }
        for (int i = 0; i < item->childCount(); ++i) pending << item->child(i);
    }
}

TComponent* DesignerWindow::Selected() const { return componentOf(tree_->currentItem()); }
TComponent& DesignerWindow::Root() const { return document_->Root(); }
bool DesignerWindow::IsModified() const { return document_->IsModified(); }
const fs::path& DesignerWindow::FormPath() const { return document_->Path(); }

void DesignerWindow::rebuildTree() {
    TComponent* selected = Selected();
    {
        QSignalBlocker quiet(tree_);
        tree_->clear();
        auto add = [](auto& self, QTreeWidgetItem* item, TComponent& component) -> void {
            item->setText(0, qt(component.Name() + ": " + component.ClassName()));
            item->setData(0, Qt::UserRole, QVariant::fromValue(static_cast<void*>(&component)));
            for (TComponent* child : component.GetChildren())
                if (framework::ClassRegistry::Instance().IsRegistered(child->ClassName()))
                    self(self, new QTreeWidgetItem(item), *child);
        };
        auto* rootItem = new QTreeWidgetItem(tree_);
        add(add, rootItem, document_->Root());
        tree_->expandAll();
    }
    const std::vector<TComponent*> all = ComponentsOf(document_->Root());
    const bool stillThere = selected == &document_->Root() ||
                            std::find(all.begin(), all.end(), selected) != all.end();
    Select(stillThere && selected ? selected : &document_->Root());
    if (tree_->currentItem() && componentOf(tree_->currentItem()) != inspector_->Inspected())
        inspector_->Inspect(componentOf(tree_->currentItem()), &document_->Root());
    updateActions();
}

void DesignerWindow::formChanged() {
    document_->SetModified();
    inspector_->Refresh();
    updateTitle();
}

void DesignerWindow::updateTitle() {
    const std::string name = document_->Path().empty() ? "Untitled" : document_->Path().filename().string();
    setWindowTitle(qt(name) + "[*] - tabulix-designer");
    setWindowModified(document_->IsModified());
}

void DesignerWindow::updateActions() {
    TComponent* selected = Selected();
    deleteAction_->setEnabled(selected && document_ && selected != &document_->Root());
    previewAction_->setEnabled(dynamic_cast<component::TTabulix*>(selected) != nullptr);
}

bool DesignerWindow::confirmDiscard() {
    if (!document_ || !document_->IsModified()) return true;
    const auto answer = framework::CurrentUi().MessageDlg("The form has unsaved changes. Save them first?", "",
                                                          framework::TMsgDlgType::mtConfirmation,
                                                          framework::mbYesNoCancel);
    if (answer == framework::TModalResult::mrCancel) return false;
    if (answer == framework::TModalResult::mrYes) return SaveForm();
    return true;
}

void DesignerWindow::closeEvent(QCloseEvent* event) {
    if (confirmDiscard()) event->accept();
    else event->ignore();
}

}  // namespace tabulix::design
