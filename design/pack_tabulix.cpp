#include "design/pack_tabulix.h"

#include <QDialog>

#include "component/formula_tabulix.h"
#include "component/tabulix.h"
#include "data/data_set.h"
#include "design/property_tabulix.h"

namespace tabulix::design {

extern const char* const kBitmapTTabulix[];

using component::TFormulaTabulix;
using component::TTabulix;

void TPropertyFormulaTabulix::Edit() {
    auto* formulas = dynamic_cast<TFormulaTabulix*>(GetOrdValue());
    if (!formulas) return;
    TTabulix* owner = formulas->Owner();
    data::TDataSet* dataSet = owner ? owner->Datos() : nullptr;
    if (!dataSet) {
        Designer().ErrorBox(kSinDatos);
        return;
    }
    const data::TFieldList& fields = dataSet->FieldList();
    if (fields.Count() == 0) {
        Designer().ErrorBox(kSinCampos);
        return;
    }

    TfrmPropertyTabulix dialog;  // destroyed on every way out, also when a step fails
    for (const data::TField* field : fields) dialog.cb.push_back(field->FieldName());
    dialog.list = formulas->Lines();
    dialog.Formulas = formulas;
    dialog.ShowModal = [this](QDialog& d) { return Designer().ShowModal(d); };
    Designer().ShowModal(dialog);
    dialog.RethrowFillError();

    framework::TStringList edited;
    for (const std::string& line : dialog.list) edited.Add(line);
    formulas->Assign(edited);
    SetOrdValue(formulas);
}

TPropertyAttributes TPropertyFormulaTabulix::GetAttributes() const { return {paDialog, paReadOnly}; }

std::string TPropertyFormulaTabulix::GetValue() const { return "[TFormulaTabulix]"; }

}  // namespace tabulix::design

using namespace tabulix;

void Register(design::DesignHost& host) {
    host.RegisterComponents("Tabulix", {design::ComponentClass{"TTabulix", [](framework::TComponent* owner) {
                                                                   return new component::TTabulix(owner);
                                                               }}});
    host.RegisterPropertyEditor("TFormulaTabulix", "", "Formulas",
                                [](design::DesignHost& h, std::vector<framework::TComponent*> components,
                                   std::string propertyName) -> std::unique_ptr<design::TPropertyEditor> {
                                    return std::make_unique<design::TPropertyFormulaTabulix>(h, std::move(components),
                                                                                             std::move(propertyName));
                                });
}

const design::PackageInfo& GetPackageInfo() {
    static const design::PackageInfo info{
        .name = "PackTabulix",
        .description = "Tabulix: traspaso de DataSets a hojas de cálculo",
        .contains = {"PackTabulix", "PropertyTabulix", "PropertyTabulixItem"},
        // The component unit Tabulix and the framework are the host's: the package uses the
        // host process's copies so that both share one class registry.
        .requires_ = {"Qt6Widgets", "tabulix_framework", "tabulix_data", "tabulix_automation",
                      "tabulix_component (Tabulix)"},
        .designOnly = false,
        .runOnly = false,
        .version = {1, 0, 0, 0, "Español (España)", 0x0C0A, 1252, "", "", ""},
        .bitmaps = {{"TTABULIX", design::kBitmapTTabulix}},
    };
    return info;
}
