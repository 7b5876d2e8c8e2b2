#pragma once
// The object inspector: the published properties of the selected component, one row each, in
// the order its property list gives them, with an editor fitting the property's kind (texts,
// numbers, Booleans, enumerations, sets, colours, fonts, string lists, references to other
// components, nested objects) or the editor a package registered for it. The names of the
// properties that the form file would store now are bold: the form writer's Stored rules decide.
//
// Every change goes through the property's own setter; a value the property refuses is
// reported in an error box and the row shows the property's value again.

#include <QTreeWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/component.h"
#include "framework/property_list.h"

namespace tabulix::design {

class DesignerHost;
class TPropertyEditor;

class ObjectInspector : public QTreeWidget {
public:
    ObjectInspector(DesignerHost& host, QWidget* parent = nullptr);
    ~ObjectInspector() override;

    // Shows the properties of `component` (null: none); `root` is the form, whose components
    // a reference may name.
    void Inspect(framework::TComponent* component, framework::TComponent* root);
    framework::TComponent* Inspected() const { return component_; }

    // Re-reads every shown value (after a change made elsewhere).
    void Refresh();

    // The row of a property by its dotted path ("Titulo", "TituloFormato.Fuente.Name"), or
    // null. Rows of set members are "Path.member".
    QTreeWidgetItem* Row(const QString& path) const;
    // The editing widget of a row (a line edit, a drop-down list, or a frame that holds one
    // and the ellipsis button, named "ellipsis").
    QWidget* Editor(const QString& path) const;

    // A value changed: the form is modified.
    std::function<void()> OnChanged;
    // The component was renamed.
    std::function<void()> OnRenamed;

private:
    void addProperties(QTreeWidgetItem* parent, framework::TPersistent& object, const QString& path);
    void addRow(QTreeWidgetItem* parent, framework::TPersistent& object, const framework::Property& property,
                const QString& path);
    void addNameRow();
    QTreeWidgetItem* newRow(QTreeWidgetItem* parent, const QString& name, const QString& path);
    // Runs a change; a refusal is shown in an error box. Every row is re-read either way.
    void apply(const std::function<void()>& change);
    void editStringList(framework::TStringList& list, const QString& title);

    DesignerHost& host_;
    framework::TComponent* component_ = nullptr;
    framework::TComponent* root_ = nullptr;
    int generation_ = 0;  // counts Inspect calls: handlers of rows already removed do nothing
    std::vector<std::function<void()>> refreshers_;
    std::vector<std::unique_ptr<TPropertyEditor>> editors_;
};

}  // namespace tabulix::design
