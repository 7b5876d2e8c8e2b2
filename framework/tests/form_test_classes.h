#pragma once
// Small classes with one published property of every kind, for the form file tests.

#include <string>
#include <vector>

#include "framework/component.h"
#include "framework/font.h"
#include "framework/graphics_object.h"
#include "framework/property_list.h"
#include "framework/string_list.h"

namespace formtest {

namespace fw = tabulix::framework;

// Objects of the test classes alive now; a read that fails must bring it back to where it was.
inline int live = 0;
// What Loaded() calls saw, in order.
inline std::vector<std::string> journal;

enum Weight : std::uint8_t { wThin, wMedium, wThick };  // fixed type: a test stores a stray ordinal
enum Edge { eLeft, eRight, eTop, eBottom };
enum Shade { shLight, shDark };

class TTestPart : public fw::TGraphicsObject {
public:
    TTestPart() { ++live; }
    ~TTestPart() override { --live; }
    std::string ClassName() const override { return "TTestPart"; }
    void DefineProperties(fw::PropertyList& p) override {
        p.Object("Fuente", fuente);
        p.Color("Background", background);
        p.Enumeration("Shade", shade, {"shLight", "shDark"}).Default(shLight);
    }
    fw::TFont fuente;
    fw::TColor background = fw::clWhite;
    Shade shade = shLight;
};

class TTestField : public fw::TComponent {
public:
    explicit TTestField(fw::TComponent* owner) : TComponent(owner) { ++live; }
    ~TTestField() override { --live; }
    std::string ClassName() const override { return "TTestField"; }
    void DefineProperties(fw::PropertyList& p) override {
        TComponent::DefineProperties(p);
        p.Text("FieldName", fieldName);
        p.Text("DisplayLabel", displayLabel);
        p.Integer("Size", size).Default(0);
    }
    std::string fieldName, displayLabel;
    int size = 0;

protected:
    void Loaded() override { journal.push_back("Loaded " + Name()); }
};

// Takes nested TTestField objects as its fields and refuses anything else.
class TTestTable : public fw::TComponent {
public:
    explicit TTestTable(fw::TComponent* owner) : TComponent(owner) { ++live; }
    ~TTestTable() override { --live; }
    std::string ClassName() const override { return "TTestTable"; }
    void DefineProperties(fw::PropertyList& p) override {
        TComponent::DefineProperties(p);
        p.Text("TableName", tableName);
    }
    void AdoptChild(fw::TComponent* child) override {
        auto* field = dynamic_cast<TTestField*>(child);
        if (!field) throw std::invalid_argument("only fields nest in a table");
        fields.push_back(field);
    }
    std::vector<fw::TComponent*> GetChildren() const override { return {fields.begin(), fields.end()}; }

    std::string tableName;
    std::vector<TTestField*> fields;

protected:
    void Loaded() override { journal.push_back("Loaded " + Name()); }
    void Notification(fw::TComponent* c, fw::TOperation op) override {
        if (op == fw::TOperation::opRemove) std::erase(fields, c);
    }
};

class TTestWidget : public fw::TComponent {
public:
    explicit TTestWidget(fw::TComponent* owner) : TComponent(owner) { ++live; }
    ~TTestWidget() override { --live; }
    std::string ClassName() const override { return "TTestWidget"; }
    void DefineProperties(fw::PropertyList& p) override {
        TComponent::DefineProperties(p);
        p.Reference<TTestTable>("Datos", [this] { return datos; }, [this](TTestTable* t) { SetDatos(t); });
        p.Reference("Key", key);
        p.Boolean("Flag", flag).Default(true);
        p.Integer<std::int32_t>("Count", [this] { return count; },
                                [this](std::int32_t v) {
                                    loadingWhenSet = IsLoading();
                                    count = v;
                                });
        p.Integer("Big", big).Default(0);
        p.Float("Ratio", ratio);
        p.Float("Whole", whole).Default(0.0);
        p.Text("Caption", caption);
        p.Text("Long", longText);
        p.Enumeration("Weight", weight, {"wThin", "wMedium", "wThick"}).Default(wThin);
        p.Set("Edges", edges, {"eLeft", "eRight", "eTop", "eBottom"});
        p.Set("NoEdges", noEdges, {"eLeft", "eRight", "eTop", "eBottom"});
        p.Color("Colour", colour);
        p.Color("Odd", odd).Default(fw::clBlack);
        p.Color("System", system);
        p.Object("Part", part);
        p.StringList("Lines", lines);
        p.Reference("Partner", partner);
        p.Boolean("FailOnLoad", failOnLoad).Default(false);
    }

    void SetDatos(TTestTable* t) {
        if (datos) datos->RemoveFreeNotification(this);
        datos = t;
        if (datos) datos->FreeNotification(this);
    }

    TTestTable* datos = nullptr;
    TTestField* key = nullptr;
    bool flag = true;
    std::int32_t count = 0;
    std::int64_t big = 0;
    double ratio = 0;
    double whole = 0;
    std::string caption, longText;
    Weight weight = wThin;
    fw::SetOf<Edge> edges;
    std::uint8_t noEdges = 0;
    fw::TColor colour = fw::clWhite, odd = fw::clBlack, system = fw::clBtnFace;
    TTestPart part;
    fw::TStringList lines;
    TTestWidget* partner = nullptr;
    bool failOnLoad = false;
    bool loadingWhenSet = false;

protected:
    void Loaded() override {
        journal.push_back("Loaded " + Name() + (datos ? " Datos=" + datos->Name() : "") + (IsDesigning() ? " designing" : ""));
        if (failOnLoad) throw std::runtime_error("cannot start " + Name());
    }
    void Notification(fw::TComponent* c, fw::TOperation op) override {
        if (op == fw::TOperation::opRemove && c == datos) datos = nullptr;
    }
};

class TTestForm : public fw::TComponent {
public:
    explicit TTestForm(fw::TComponent* owner) : TComponent(owner) { ++live; }
    ~TTestForm() override { --live; }
    std::string ClassName() const override { return "TTestForm"; }

protected:
    void Loaded() override { journal.push_back("Loaded " + Name()); }
};

void RegisterTestClasses();

}  // namespace formtest
