#pragma once
// The form designer's design-time interface, as a package sees it: the host registers component
// classes on its palette and property editors for the properties it lists, shows error boxes and
// runs dialogs modally. A package's exported `Register(DesignHost&)` is called once when the
// host loads it; the objects registered then live as long as the host process.
//
// Property editors: the host creates one editor per property row it shows, through the factory
// registered for the property's type and name, and destroys it when the row goes away. The base
// classes below carry what every editor shares (which components, which property, reading and
// storing the value); an editor overrides what it shows and how it edits.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/class_registry.h"
#include "framework/component.h"
#include "framework/persistent.h"
#include "framework/set_of.h"

class QDialog;

namespace tabulix::design {

// What the host offers for a property row.
enum TPropertyAttribute {
    paValueList,      // a drop-down list of values
    paSubProperties,  // expands into the members of the value
    paDialog,         // an ellipsis button that calls Edit
    paMultiSelect,    // shown when several components are selected
    paReadOnly,       // the value text cannot be typed over
};
using TPropertyAttributes = framework::SetOf<TPropertyAttribute>;

class DesignHost;

class TPropertyEditor {
public:
    // `components`: the selected components (at least one); `propertyName`: the edited property
    // of each of them.
    TPropertyEditor(DesignHost& host, std::vector<framework::TComponent*> components, std::string propertyName);
    virtual ~TPropertyEditor() = default;
    TPropertyEditor(const TPropertyEditor&) = delete;
    TPropertyEditor& operator=(const TPropertyEditor&) = delete;

    virtual void Edit() {}
    virtual TPropertyAttributes GetAttributes() const { return {}; }
    virtual std::string GetValue() const { return {}; }

    DesignHost& Designer() const { return host_; }
    const std::vector<framework::TComponent*>& Components() const { return components_; }
    const std::string& PropertyName() const { return propertyName_; }

    // The object the property of the first selected component holds (an object or string list
    // property), or null.
    framework::TPersistent* GetOrdValue() const;
    // Stores `value` into the property of every selected component (a string list is assigned
    // line by line unless it is the component's own list) and tells the host that the designed
    // form changed.
    void SetOrdValue(framework::TPersistent* value);

private:
    DesignHost& host_;
    std::vector<framework::TComponent*> components_;
    std::string propertyName_;
};

// The editor of class-typed properties (objects and string lists): shows the class name in
// brackets and expands into sub-properties.
class TClassProperty : public TPropertyEditor {
public:
    using TPropertyEditor::TPropertyEditor;
    TPropertyAttributes GetAttributes() const override { return {paSubProperties, paReadOnly}; }
    std::string GetValue() const override;
};

// A class the package puts on the palette: its name and how to create one on a form.
struct ComponentClass {
    std::string className;
    framework::ClassRegistry::Factory factory;
};

using PropertyEditorFactory = std::function<std::unique_ptr<TPropertyEditor>(
    DesignHost& host, std::vector<framework::TComponent*> components, std::string propertyName)>;

class DesignHost {
public:
    virtual ~DesignHost() = default;

    // Shows the classes on palette page `page` and lets the host create and store them.
    virtual void RegisterComponents(const std::string& page, const std::vector<ComponentClass>& classes) = 0;
    // Uses `factory` for every shown property whose value is of class `propertyType` and whose
    // name is `propertyName` (ASCII letter case ignored), on components of `componentClass`
    // (empty: any class).
    virtual void RegisterPropertyEditor(const std::string& propertyType, const std::string& componentClass,
                                        const std::string& propertyName, PropertyEditorFactory factory) = 0;
    // A modal error box with one OK button.
    virtual void ErrorBox(const std::string& text) = 0;
    // Shows `dialog` modally and returns its result (QDialog::Accepted or Rejected).
    virtual int ShowModal(QDialog& dialog) = 0;
    // The designed form changed.
    virtual void Modified() = 0;
};

}  // namespace tabulix::design
