#include "platform/core/System.h"

#include <gtest/gtest.h>

namespace {

struct Counter : TObject {
    int clicks = 0;
    TObject* lastSender = nullptr;
    void Click(TObject* sender) {
        ++clicks;
        lastSender = sender;
    }
    void Other(TObject*) {}
    int Twice(int value) const { return 2 * value; }
    void Bump(int& value) { ++value; }
};

struct DerivedCounter : Counter {};

} // namespace

TEST(Closure, IsUnassignedUntilBound) {
    TNotifyEvent event;
    EXPECT_FALSE(event);
    EXPECT_TRUE(event == nullptr);
    Counter counter;
    event = TNotifyEvent(&counter, &Counter::Click);
    ASSERT_TRUE(event);
    event(&counter);
    EXPECT_EQ(counter.clicks, 1);
    EXPECT_EQ(counter.lastSender, &counter);
}

TEST(Closure, ComparesByCodeAndByData) {
    Counter a, b;
    TNotifyEvent aClick(&a, &Counter::Click), aClickAgain(&a, &Counter::Click);
    TNotifyEvent bClick(&b, &Counter::Click), aOther(&a, &Counter::Other);
    EXPECT_EQ(aClick, aClickAgain);
    EXPECT_NE(aClick, bClick);
    EXPECT_TRUE(aClick.SameCode(bClick));
    EXPECT_NE(aClick, aOther);
    EXPECT_FALSE(aClick.SameCode(aOther));
    EXPECT_EQ(aClick.Data(), &a);
}

TEST(Closure, BindsInheritedConstAndReferenceMethods) {
    DerivedCounter derived;
    TNotifyEvent click(&derived, &Counter::Click);
    click(nullptr);
    EXPECT_EQ(derived.clicks, 1);

    Closure<int(int)> twice(static_cast<const Counter*>(&derived), &Counter::Twice);
    EXPECT_EQ(twice(21), 42);

    int value = 1;
    Closure<void(int&)> bump(&derived, &Counter::Bump);
    bump(value);
    EXPECT_EQ(value, 2);
}
