#include "platform/core/Clock.h"
#include "platform/core/SysUtils.h"

#include <gtest/gtest.h>

#include <atomic>

namespace {

class SteppedClock : public testing::Test {
protected:
    void SetUp() override { UseSteppedClock(true); }
    void TearDown() override { UseSteppedClock(false); }
};

} // namespace

TEST_F(SteppedClock, SleepMovesTheClockAtOnceAndEveryReaderSeesIt) {
    const DWORD start = GetTickCount();
    EXPECT_EQ(ClockMilliseconds(), start);
    Sleep(300);
    EXPECT_EQ(GetTickCount() - start, 300u);
    AdvanceClock(50);
    EXPECT_EQ(ClockMilliseconds() - start, 350u);
}

TEST_F(SteppedClock, ListenersHearEveryStepAndTheReturnToRealTime) {
    static std::atomic<int> heard = 0;
    heard = 0;
    AddClockListener([] { ++heard; });
    AdvanceClock(10);
    Sleep(10);
    EXPECT_EQ(heard, 2);
    UseSteppedClock(false);
    EXPECT_EQ(heard, 3);
    EXPECT_FALSE(IsClockStepped());
    // Real time takes no orders.
    AdvanceClock(10);
    EXPECT_EQ(heard, 3);
}
