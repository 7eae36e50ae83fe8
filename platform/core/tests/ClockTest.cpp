#include "platform/core/Clock.h"
#include "platform/core/SysUtils.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>

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

// The setting is read once in a process, so each case asks a process of its own.
TEST(FixedPauses, QuorvaneNoPausesTurnsSleepOffUnlessItIsZero) {
    using namespace std::chrono_literals;
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (const auto& [setting, pauses] : {std::pair{"1", false}, std::pair{"0", true}}) {
        setenv("QUORVANE_NO_PAUSES", setting, 1);
        EXPECT_EXIT(
            {
                const auto started = std::chrono::steady_clock::now();
                Sleep(300);
                const bool paused = std::chrono::steady_clock::now() - started >= 300ms;
                std::exit(paused == pauses ? 0 : 1);
            },
            testing::ExitedWithCode(0), "")
            << "QUORVANE_NO_PAUSES=" << setting;
    }
    unsetenv("QUORVANE_NO_PAUSES");
}
