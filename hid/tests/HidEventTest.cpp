// Handlers are compared by their function, never by the object they are bound to.
#include <gtest/gtest.h>

#include "HidEvents.h"

namespace leeb::test {
namespace {

struct Target {
    void A(HidDevice*) { ++calls; }
    void B(HidDevice*) { ++calls; }
    int calls = 0;
};

void FreeA(HidDevice*) {}
void FreeB(HidDevice*) {}

TEST(HidEventTest, IdentityIsTheFunctionAlone) {
    Target x;
    Target y;
    const int tagA = 0;
    const int tagB = 0;
    struct Case {
        HidPlugEvent left;
        HidPlugEvent right;
        bool same;
    };
    const Case cases[] = {
        {HidPlugEvent::Bind(&x, &Target::A), HidPlugEvent::Bind(&y, &Target::A), true},
        {HidPlugEvent::Bind(&x, &Target::A), HidPlugEvent::Bind(&x, &Target::B), false},
        {HidPlugEvent::Function(&FreeA), HidPlugEvent::Function(&FreeA), true},
        {HidPlugEvent::Function(&FreeA), HidPlugEvent::Function(&FreeB), false},
        {HidPlugEvent::Tagged(&tagA, [](HidDevice*) {}),
         HidPlugEvent::Tagged(&tagA, [](HidDevice*) {}), true},
        {HidPlugEvent::Tagged(&tagA, [](HidDevice*) {}),
         HidPlugEvent::Tagged(&tagB, [](HidDevice*) {}), false},
        {HidPlugEvent{}, HidPlugEvent{}, true},
        {HidPlugEvent{}, HidPlugEvent::Bind(&x, &Target::A), false},
        {HidPlugEvent::Function(nullptr), HidPlugEvent{}, true},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(cases[i].left.SameFunction(cases[i].right), cases[i].same) << "case " << i;
        EXPECT_EQ(cases[i].right.SameFunction(cases[i].left), cases[i].same) << "case " << i;
    }
}

TEST(HidEventTest, BoundEventCallsItsObject) {
    Target x;
    Target y;
    HidPlugEvent event = HidPlugEvent::Bind(&y, &Target::B);
    EXPECT_TRUE(event.Assigned());
    event(nullptr);
    EXPECT_EQ(x.calls, 0);
    EXPECT_EQ(y.calls, 1);
    EXPECT_EQ(event.Object(), &y);
    event = nullptr;
    EXPECT_FALSE(event);
}

}  // namespace
}  // namespace leeb::test
