#include "design/design_host.h"

#include <stdexcept>

#include "framework/property_list.h"
#include "framework/string_list.h"

namespace tabulix::design {

using framework::PropertyKind;
using framework::PropertyList;

namespace {

// The edited property of one component; raises when the component has none of that name.
framework::Property propertyOf(framework::TComponent& component, const std::string& name) {
    const PropertyList properties = PropertyList::Of(component);
    const framework::Property* property = properties.Find(name);
    if (!property) throw std::invalid_argument("no property '" + name + "' in " + component.ClassName());
    return *property;
}

}  // namespace

TPropertyEditor::TPropertyEditor(DesignHost& host, std::vector<framework::TComponent*> components,
                                 std::string propertyName)
    : host_(host), components_(std::move(components)), propertyName_(std::move(propertyName)) {
    if (components_.empty()) throw std::invalid_argument("a property editor needs a component");
}

framework::TPersistent* TPropertyEditor::GetOrdValue() const {
    const framework::Property property = propertyOf(*components_.front(), propertyName_);
    if (property.Kind() == PropertyKind::StringList) return property.List();
    if (property.Kind() == PropertyKind::Object) return property.Object();
    return nullptr;
}

void TPropertyEditor::SetOrdValue(framework::TPersistent* value) {
    for (framework::TComponent* component : components_) {
        const framework::Property property = propertyOf(*component, propertyName_);
        if (property.Kind() != PropertyKind::StringList) continue;  // object properties hold their own object
        framework::TStringList* list = property.List();
        auto* lines = dynamic_cast<framework::TStringList*>(value);
        if (list && lines && list != lines) list->Assign(*lines);
    }
    host_.Modified();
}

std::string TClassProperty::GetValue() const {
    const framework::TPersistent* value = GetOrdValue();
    return "(" + (value ? value->ClassName() : std::string("nil")) + ")";
}

}  // namespace tabulix::design
