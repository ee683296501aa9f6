// Handlers are compared by their function, never by the object they are bound to.
#include <gtest/gtest.h>

#include "HidEvents.h"

namespace leeb::test {
namespace {

struct Target {
    void A(THidDevice*) { ++calls; }
    void B(THidDevice*) { ++calls; }
    int calls = 0;
};

void FreeA(THidDevice*) {}
void FreeB(THidDevice*) {}

TEST(HidEventTest, IdentityIsTheFunctionAlone) {
    Target x;
    Target y;
    const int tagA = 0;
    const int tagB = 0;
    struct Case {
        THidPlugEvent left;
        THidPlugEvent right;
        bool same;
    };
    const Case cases[] = {
        {THidPlugEvent::Bind(&x, &Target::A), THidPlugEvent::Bind(&y, &Target::A), true},
        {THidPlugEvent::Bind(&x, &Target::A), THidPlugEvent::Bind(&x, &Target::B), false},
        {THidPlugEvent::Function(&FreeA), THidPlugEvent::Function(&FreeA), true},
        {THidPlugEvent::Function(&FreeA), THidPlugEvent::Function(&FreeB), false},
        {THidPlugEvent::Tagged(&tagA, [](THidDevice*) {}),
         THidPlugEvent::Tagged(&tagA, [](THidDevice*) {}), true},
        {THidPlugEvent::Tagged(&tagA, [](THidDevice*) {}),
         THidPlugEvent::Tagged(&tagB, [](THidDevice*) {}), false},
        {THidPlugEvent{}, THidPlugEvent{}, true},
        {THidPlugEvent{}, THidPlugEvent::Bind(&x, &Target::A), false},
        {THidPlugEvent::Function(nullptr), THidPlugEvent{}, true},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(cases[i].left.SameFunction(cases[i].right), cases[i].same) << "case " << i;
        EXPECT_EQ(cases[i].right.SameFunction(cases[i].left), cases[i].same) << "case " << i;
    }
}

TEST(HidEventTest, BoundEventCallsItsObject) {
    Target x;
    Target y;
    THidPlugEvent event = THidPlugEvent::Bind(&y, &Target::B);
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
