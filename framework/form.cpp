#include "framework/form.h"

#include "framework/property_list.h"

namespace tabulix::framework {

TForm::TForm(TComponent* owner, std::string className) : TComponent(owner), className_(std::move(className)) {}

void TForm::DefineProperties(PropertyList& properties) {
    TComponent::DefineProperties(properties);
    properties.Text("Caption", Caption);
}

}  // namespace tabulix::framework
