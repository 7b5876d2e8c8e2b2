#include "framework/dialogs.h"

#include "framework/property_list.h"

namespace tabulix::framework {

void TFontDialog::DefineProperties(PropertyList& properties) {
    TComponent::DefineProperties(properties);
    properties.Object("Font", font_);
    properties.Integer("MinFontSize", MinFontSize).Default(0);
    properties.Integer("MaxFontSize", MaxFontSize).Default(0);
}

void TColorDialog::DefineProperties(PropertyList& properties) {
    TComponent::DefineProperties(properties);
    properties.Color("Color", Color);
}

}  // namespace tabulix::framework
