// The member table and argument handling the applications' objects share: what a caller is told
// when a call does not fit the member.
#include <gtest/gtest.h>

#include <functional>

#include "automation/member_object.h"

using namespace tabulix::automation;

namespace {

// "Width" (get/put a number) and "Resize" (a method of two whole numbers, the second optional).
class Box : public MemberObject {
public:
    std::string_view typeName() const override { return "Box"; }
    double width = 1.0;

protected:
    std::span<const Member> members() const override {
        static constexpr Member kMembers[] = {{"Width", 7}, {"Resize", 8}};
        return kMembers;
    }
    Variant doInvoke(DispId id, InvokeKind kind, std::span<const Variant> args, Lcid lcid) override {
        const MemberCall call(*this, id, kind, args, lcid);
        switch (call.id()) {
            case 7:
                if (call.isPut()) {
                    width = call.valueNumber();
                    return {};
                }
                return Variant(width);
            case 8:
                call.noPut();
                call.expectCount(1, 2);
                width = call.int32(0) * (call.given(1) ? call.int32(1) : 1);
                return {};
            default: call.wrongKind();
        }
    }
};

std::string refusal(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const AutomationError& e) {
        return e.what();
    }
    return "(accepted)";
}

}  // namespace

TEST(MemberObject, NamesIgnoreCaseAndEveryRefusalNamesObjectAndMember) {
    auto box = std::make_shared<Box>();
    EXPECT_EQ(box->idOfName("wIdTh"), 7);
    EXPECT_EQ(box->nameOfId(8), "Resize");
    box->put("width", Variant(4.5));
    EXPECT_EQ(box->get(7).toDouble(), 4.5);
    box->call(8, {Variant(3), Variant::missing()});
    EXPECT_EQ(box->width, 3.0);

    EXPECT_EQ(refusal([&] { box->get("Height"); }), "Box has no member named \"Height\"");
    EXPECT_EQ(refusal([&] { box->get(0x99); }), "Box has no member with DispID 0x99");
    EXPECT_EQ(refusal([&] { box->put(8, Variant(1)); }), "Box.Resize: cannot be assigned");
    EXPECT_EQ(refusal([&] { box->call(8); }), "Box.Resize: expected 1 to 2 arguments, got 0");
    EXPECT_EQ(refusal([&] { box->call(8, {Variant::missing()}); }), "Box.Resize: argument 1 is required");
    EXPECT_NE(refusal([&] { box->call(8, {Variant("ancho")}); }).find("Box.Resize: argument 1: "), std::string::npos);
    EXPECT_NE(refusal([&] { box->put(7, Variant("ancho")); }).find("Box.Width: the value: "), std::string::npos);
    EXPECT_EQ(refusal([&] { box->invoke(7, InvokeKind::PropertyPut, {}); }), "Box.Width: a property put needs a value");
    EXPECT_EQ(box->width, 3.0);
}
