#include "framework/property_list.h"

#include <gtest/gtest.h>

#include "framework/string_list.h"

namespace fw = tabulix::framework;
using fw::FormValue;
using fw::PropertyValueError;

namespace {

enum class Weight : std::uint8_t { thin, medium, thick };
enum class Edge { left, right, top, bottom };

class Sample : public fw::TComponent {
public:
    using TComponent::TComponent;
    std::string ClassName() const override { return "TSample"; }
    void DefineProperties(fw::PropertyList& p) override {
        TComponent::DefineProperties(p);
        p.Boolean("Flag", flag).Default(true);
        p.Integer("Small", small);
        p.Integer("Percent", percent).Range(0, 100);
        p.Integer<std::int32_t>("Checked", [this] { return checked; },
                                [this](std::int32_t v) {
                                    if (v < 0) throw std::invalid_argument("must not be negative");
                                    checked = v;
                                });
        p.Float("Ratio", ratio);
        p.Text("Caption", caption);
        p.Enumeration("Weight", weight, {"wThin", "wMedium", "wThick"}).Default(Weight::thin);
        p.Set("Edges", edges, {"eLeft", "eRight", "eTop", "eBottom"});
        p.Set("Bits", bits, {"b0", "b1"});
        p.Color("Colour", colour);
        p.StringList("Lines", lines);
        p.Reference("Other", other);
    }
    bool flag = true;
    std::int16_t small = 0;
    std::int32_t percent = 0;
    std::int32_t checked = 0;
    double ratio = 0;
    std::string caption;
    Weight weight = Weight::thin;
    fw::SetOf<Edge> edges;
    std::uint8_t bits = 0;
    fw::TColor colour = fw::clBlack;
    fw::TStringList lines;
    Sample* other = nullptr;
};

}  // namespace

TEST(PropertyList, ValuesConvertBothWaysAndStoredRulesFollowTheValue) {
    Sample s(nullptr);
    auto p = fw::PropertyList::Of(s);
    ASSERT_EQ(p.Count(), 13u);
    EXPECT_EQ(p.Items()[0].Name(), "Tag");
    EXPECT_EQ(p.Find("colour"), p.Find("Colour"));
    EXPECT_EQ(p.Find("Nope"), nullptr);

    EXPECT_FALSE(p.Find("Tag")->IsStored());
    EXPECT_FALSE(p.Find("Flag")->IsStored());
    EXPECT_TRUE(p.Find("Small")->IsStored());
    EXPECT_FALSE(p.Find("Caption")->IsStored());
    EXPECT_FALSE(p.Find("Weight")->IsStored());
    EXPECT_FALSE(p.Find("Lines")->IsStored());
    EXPECT_FALSE(p.Find("Other")->IsStored());

    p.Find("Flag")->Set(FormValue::Ident("false"));
    p.Find("Weight")->Set(FormValue::Ident("wThick"));
    p.Find("Edges")->Set(FormValue::SetOfNames({"eTop", "eLeft"}));
    p.Find("Colour")->Set(FormValue::Ident("clSilver"));
    p.Find("Ratio")->Set(FormValue::Int(3));
    p.Find("Lines")->Set(FormValue::Lines({"a", "b"}));
    EXPECT_FALSE(s.flag);
    EXPECT_EQ(s.weight, Weight::thick);
    EXPECT_EQ(s.edges, (fw::SetOf<Edge>{Edge::left, Edge::top}));
    EXPECT_EQ(s.colour, fw::clSilver);
    EXPECT_EQ(s.ratio, 3.0);
    EXPECT_EQ(s.lines.Count(), 2);
    EXPECT_TRUE(p.Find("Flag")->IsStored());
    EXPECT_TRUE(p.Find("Weight")->IsStored());

    EXPECT_EQ(p.Find("Edges")->Get(), FormValue::SetOfNames({"eLeft", "eTop"}));
    EXPECT_EQ(p.Find("Colour")->Get(), FormValue::Ident("clSilver"));
    s.colour = 0x123456;
    EXPECT_EQ(p.Find("Colour")->Get(), FormValue::Int(0x123456));
    p.Find("Colour")->Set(FormValue::Int(0x80000008ll));
    EXPECT_EQ(s.colour, fw::clWindowText);
}

TEST(PropertyList, ValuesThatDoNotFitAreRefusedWithAReason) {
    Sample s(nullptr);
    auto p = fw::PropertyList::Of(s);
    auto reason = [&](const char* name, const FormValue& v) {
        try {
            p.Find(name)->Set(v);
        } catch (const PropertyValueError& e) {
            return std::string(e.what());
        }
        return std::string("accepted");
    };
    EXPECT_EQ(reason("Small", FormValue::Int(40000)), "value 40000 out of range (-32768..32767)");
    EXPECT_EQ(reason("Percent", FormValue::Int(101)), "value 101 out of range (0..100)");
    EXPECT_EQ(reason("Percent", FormValue::Int(INT64_MIN)), "value -9223372036854775808 out of range (0..100)");
    EXPECT_EQ(p.Find("Percent")->Maximum(), 100);
    EXPECT_EQ(s.percent, 0);
    EXPECT_EQ(reason("Flag", FormValue::Int(1)), "expected True or False, found the number 1");
    EXPECT_EQ(reason("Caption", FormValue::Ident("x")), "expected a string, found 'x'");
    EXPECT_EQ(reason("Weight", FormValue::Ident("wHeavy")), "bad value 'wHeavy' (expected one of wThin, wMedium, wThick)");
    EXPECT_EQ(reason("Edges", FormValue::SetOfNames({"eLeft", "eUp"})),
              "bad set member 'eUp' (expected one of eLeft, eRight, eTop, eBottom)");
    EXPECT_EQ(reason("Colour", FormValue::Ident("clPink")), "'clPink' is not a colour name");
    EXPECT_EQ(reason("Lines", FormValue::Str("a")), "expected a list ( ... ) of strings, found a string");
    EXPECT_EQ(s.edges, fw::SetOf<Edge>{});
    EXPECT_THROW(p.Find("Checked")->Set(FormValue::Int(-1)), std::invalid_argument);

    s.weight = static_cast<Weight>(7);
    EXPECT_THROW(p.Find("Weight")->Get(), PropertyValueError);
    s.bits = 0x80;
    EXPECT_THROW(p.Find("Bits")->Get(), PropertyValueError);
    s.ratio = 1.0 / 0.0;
    EXPECT_THROW(p.Find("Ratio")->Get(), PropertyValueError);
}

TEST(PropertyList, ReferencesCheckTheClassAndDuplicateNamesAreRefused) {
    Sample s(nullptr), t(nullptr);
    fw::TComponent plain(nullptr);
    plain.SetName("Plain");
    auto p = fw::PropertyList::Of(s);
    const fw::Property* other = p.Find("Other");
    EXPECT_TRUE(other->Accepts(&t));
    EXPECT_FALSE(other->Accepts(&plain));
    other->SetReferenced(&t);
    EXPECT_EQ(s.other, &t);
    EXPECT_TRUE(other->IsStored());
    EXPECT_THROW(other->SetReferenced(&plain), PropertyValueError);
    EXPECT_EQ(s.other, &t);
    other->SetReferenced(nullptr);
    EXPECT_EQ(s.other, nullptr);

    fw::PropertyList twice("TTwice");
    bool b = false;
    twice.Boolean("Same", b);
    EXPECT_THROW(twice.Boolean("same", b), std::logic_error);
    EXPECT_THROW(twice.Boolean("Dotted.Name", b), std::logic_error);
}
