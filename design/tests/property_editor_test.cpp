// The Formulas property editor and the package's registration, driven through a scripted host:
// the checks before the dialog opens, the field names and records handed to the dialogs, and the
// records written back with the form marked modified.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QTreeWidget>

#include "component/tabulix.h"
#include "data/field_classes.h"
#include "data/memory_data_set.h"
#include "design/pack_tabulix.h"
#include "design/property_tabulix.h"
#include "design/property_tabulix_item.h"
#include "design/tests/dialog_driver.h"
#include "framework/convert.h"
#include "framework/form.h"

namespace tabulix::design {
namespace {

using testing::Click;
using testing::ScriptedHost;
using testing::TreeLines;

class FormulasEditor : public ::testing::Test {
protected:
    FormulasEditor() : form(nullptr) {
        dataSet = new data::TMemoryDataSet(&form);
        dataSet->SetName("Taula");
        tabulix = new component::TTabulix(&form);
        tabulix->SetName("de");
    }
    void addField(const std::string& name, bool visible = true) {
        auto* field = new data::TStringField(dataSet);
        field->SetFieldName(name);
        field->SetVisible(visible);
    }
    std::unique_ptr<TPropertyEditor> editor() {
        return std::make_unique<TPropertyFormulaTabulix>(host, std::vector<framework::TComponent*>{tabulix}, "Formulas");
    }
    static TfrmPropertyTabulix& listDialog(QDialog& d) { return dynamic_cast<TfrmPropertyTabulix&>(d); }
    static TfrmPropertyTabulixItem& itemDialog(QDialog& d) { return dynamic_cast<TfrmPropertyTabulixItem&>(d); }

    framework::TForm form;
    data::TMemoryDataSet* dataSet;
    component::TTabulix* tabulix;
    ScriptedHost host;
};

TEST_F(FormulasEditor, RegisterPutsTheComponentOnItsPageAndTheEditorOnFormulas) {
    Register(host);
    ASSERT_EQ(host.components.size(), 1u);
    EXPECT_EQ(host.components[0].page, "Tabulix");
    EXPECT_EQ(host.components[0].className, "TTabulix");
    std::unique_ptr<framework::TComponent> placed(host.components[0].factory(nullptr));
    EXPECT_EQ(placed->ClassName(), "TTabulix");
    ASSERT_EQ(host.editors.size(), 1u);
    EXPECT_EQ(host.editors[0].propertyType, "TFormulaTabulix");
    EXPECT_EQ(host.editors[0].componentClass, "") << "on components of any class";
    EXPECT_EQ(host.editors[0].propertyName, "Formulas");
    auto made = host.editors[0].factory(host, {tabulix}, "Formulas");
    EXPECT_NE(dynamic_cast<TPropertyFormulaTabulix*>(made.get()), nullptr);
}

TEST_F(FormulasEditor, PackageInformation) {
    const PackageInfo& info = GetPackageInfo();
    EXPECT_EQ(info.name, "PackTabulix");
    EXPECT_FALSE(info.description.empty());
    EXPECT_EQ(info.description.find('\n'), std::string::npos);
    EXPECT_EQ(info.version.major * 1000 + info.version.minor * 100 + info.version.release * 10 + info.version.build,
              1000);
    EXPECT_EQ(info.version.languageId, 0x0C0Au);
    EXPECT_EQ(info.version.codePage, 1252u);
    EXPECT_FALSE(info.designOnly);
    EXPECT_FALSE(info.runOnly);
    ASSERT_EQ(info.bitmaps.size(), 1u);
    EXPECT_EQ(info.bitmaps[0].first, "TTABULIX");
    EXPECT_STREQ(info.bitmaps[0].second[0], "24 24 9 1") << "24 x 24, at most 16 colours";
}

TEST_F(FormulasEditor, ValueTextAndAttributes) {
    auto e = editor();
    EXPECT_EQ(e->GetValue(), "[TFormulaTabulix]");
    tabulix->Formulas().Add("VENTAS_FEB;0;D;1;;0;0;");
    EXPECT_EQ(e->GetValue(), "[TFormulaTabulix]");
    EXPECT_EQ(e->GetAttributes(), (TPropertyAttributes{paDialog, paReadOnly}));
    EXPECT_EQ(e->GetOrdValue(), &tabulix->Formulas());
}

TEST_F(FormulasEditor, WithoutDatosOrFieldsOnlyTheMessage) {
    tabulix->Formulas().Add("VENTAS_FEB;0;D;1;;0;0;");
    editor()->Edit();
    ASSERT_EQ(host.errors, std::vector<std::string>{"No hay un fuente de datos asignada a DATOS."});

    tabulix->SetDatos(dataSet);
    editor()->Edit();
    ASSERT_EQ(host.errors.size(), 2u);
    EXPECT_EQ(host.errors[1], "Debe crear los campos en la fuente de informació DATOS.");
    EXPECT_TRUE(host.shownDialogs.empty());
    EXPECT_EQ(host.modified, 0);
    EXPECT_EQ(tabulix->Formulas().Lines(), std::vector<std::string>{"VENTAS_FEB;0;D;1;;0;0;"});
}

TEST_F(FormulasEditor, OpeningAndClosingWithoutChangesStoresTheListAndMarksTheForm) {
    addField("VENTAS_FEB");
    tabulix->SetDatos(dataSet);
    tabulix->Formulas().Add("VENTAS_FEB;0;D;1;;0;0;");
    host.scripts.push_back([](QDialog& d) {
        EXPECT_EQ(TreeLines(*listDialog(d).Tree).size(), 1u);
        Click(*listDialog(d).BitBtn3);
    });
    editor()->Edit();
    EXPECT_EQ(host.shownDialogs, std::vector<std::string>{"Editor de Formulas"});
    EXPECT_EQ(host.modified, 1);
    EXPECT_EQ(tabulix->Formulas().Lines(), std::vector<std::string>{"VENTAS_FEB;0;D;1;;0;0;"});
}

TEST_F(FormulasEditor, EveryFieldIsOfferedHiddenOnesToo) {
    addField("COD_ARTI");
    addField("OCULTO", false);
    addField("VENTAS_ENE");
    tabulix->SetDatos(dataSet);
    std::vector<std::string> offered;
    host.scripts.push_back([](QDialog& d) { Click(*listDialog(d).BitBtn2); });
    host.scripts.push_back([&offered](QDialog& d) {
        QComboBox& campo = *itemDialog(d).Campo;
        for (int i = 0; i < campo.count(); ++i) offered.push_back(campo.itemText(i).toStdString());
        itemDialog(d).Campo->setCurrentIndex(1);
        Click(*itemDialog(d).BitBtn1);
    });
    editor()->Edit();
    EXPECT_EQ(offered, (std::vector<std::string>{"COD_ARTI", "OCULTO", "VENTAS_ENE"}));
    EXPECT_EQ(tabulix->Formulas().Lines(), std::vector<std::string>{"OCULTO;0;A;1;;0;0;"});
    EXPECT_EQ(host.shownDialogs, (std::vector<std::string>{"Editor de Formulas", "Propiedades Formula"}));
}

TEST_F(FormulasEditor, ARecordTheDialogCannotShowLeavesThePropertyAlone) {
    addField("A");
    tabulix->SetDatos(dataSet);
    tabulix->Formulas().Add("A;no;A;1;;0;0;");
    EXPECT_THROW(editor()->Edit(), framework::EConvertError);
    EXPECT_EQ(tabulix->Formulas().Lines(), std::vector<std::string>{"A;no;A;1;;0;0;"});
    EXPECT_EQ(host.modified, 0);
}

}  // namespace
}  // namespace tabulix::design
