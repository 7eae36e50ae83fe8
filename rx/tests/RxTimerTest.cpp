#include "rx/RxTimer.h"
#include "rx/tests/RxTestSupport.h"
#include "rx/tests/RxWatchdog.h"

#include "platform/core/Clock.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

using namespace std::chrono_literals;

namespace {

// One tick as a handler saw it: when, on which thread.
struct Tick {
    DWORD at;
    bool onMainThread;
};

class TTickLog : public TObject {
public:
    DWORD start = ClockMilliseconds();
    std::function<void(TRxTimer*)> during;

    void OnTimer(TObject* Sender) {
        {
            std::lock_guard lock(mutex_);
            ticks_.push_back({ClockMilliseconds() - start, IsMainThread()});
        }
        if (during) during(static_cast<TRxTimer*>(Sender));
    }
    TNotifyEvent handler() { return TNotifyEvent(this, &TTickLog::OnTimer); }
    std::vector<DWORD> times() {
        std::lock_guard lock(mutex_);
        std::vector<DWORD> result;
        for (const Tick& tick : ticks_) result.push_back(tick.at);
        return result;
    }
    std::vector<Tick> ticks() {
        std::lock_guard lock(mutex_);
        return ticks_;
    }

private:
    std::mutex mutex_;
    std::vector<Tick> ticks_;
};

// Runs what the worker hands the main thread until no tick is due any more.
bool settle(TRxTimer& Timer) {
    const auto limit = std::chrono::steady_clock::now() + 10s;
    while (Timer.TickDue()) {
        if (std::chrono::steady_clock::now() > limit) return false;
        if (!CheckSynchronize()) std::this_thread::yield();
    }
    Application->ProcessMessages();
    return true;
}

class RxTimerTest : public ::testing::Test {
protected:
    // The log's times count from the stepped clock's start, not the real clock's.
    void SetUp() override {
        UseSteppedClock(true);
        log.start = ClockMilliseconds();
    }
    void TearDown() override {
        Application->ProcessMessages();
        UseSteppedClock(false);
    }
    void step(TRxTimer& Timer, DWORD Milliseconds) {
        AdvanceClock(Milliseconds);
        ASSERT_TRUE(settle(Timer));
    }
    void steps(TRxTimer& Timer, int Count, DWORD Milliseconds) {
        for (int i = 0; i < Count; ++i) step(Timer, Milliseconds);
    }
    TTickLog log;
};

struct ModeCase {
    bool threaded;
    bool enabled;
    Cardinal interval;
    bool handler;
    bool ticks;
};

TEST_F(RxTimerTest, TicksOnlyWithAnIntervalEnabledAndAHandlerInEitherMode) {
    const ModeCase cases[] = {
        {true, true, 50, true, true},     {false, true, 50, true, true},   {true, false, 50, true, false},
        {false, false, 50, true, false},  {true, true, 0, true, false},    {false, true, 0, true, false},
        {true, true, 50, false, false},   {false, true, 50, false, false}, {true, false, 0, false, false},
        {false, false, 0, false, false},
    };
    for (const ModeCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "threaded " << c.threaded << " enabled " << c.enabled << " interval "
                                        << c.interval << " handler " << c.handler);
        TTickLog caseLog;
        TRxTimer timer(nullptr);
        timer.SetThreaded(c.threaded);
        timer.SetEnabled(c.enabled);
        timer.SetInterval(c.interval);
        if (c.handler) timer.SetOnTimer(caseLog.handler());
        steps(timer, 3, 50);
        const std::vector<DWORD> expected = c.ticks ? std::vector<DWORD>{50, 100, 150} : std::vector<DWORD>{};
        EXPECT_EQ(caseLog.times(), expected);
    }
}

TEST_F(RxTimerTest, TheFirstTickComesOneFullIntervalAfterEnabling) {
    TRxTimer timer(nullptr);
    timer.SetEnabled(false);
    timer.SetInterval(50);
    timer.SetOnTimer(log.handler());
    step(timer, 30);
    timer.SetEnabled(true);
    step(timer, 49);
    EXPECT_TRUE(log.times().empty());
    step(timer, 1);
    EXPECT_EQ(log.times(), std::vector<DWORD>{80});
}

TEST_F(RxTimerTest, AStopInTheMiddleOfAWaitPreventsTheTick) {
    for (bool threaded : {true, false}) {
        TTickLog caseLog;
        TRxTimer timer(nullptr);
        timer.SetThreaded(threaded);
        timer.SetInterval(50);
        timer.SetOnTimer(caseLog.handler());
        step(timer, 30);
        timer.SetEnabled(false);
        steps(timer, 4, 50);
        EXPECT_TRUE(caseLog.times().empty()) << "threaded " << threaded;
        // Enabled again, the wait starts over.
        timer.SetEnabled(true);
        step(timer, 40);
        step(timer, 10);
        EXPECT_EQ(caseLog.times(), std::vector<DWORD>{280}) << "threaded " << threaded;
    }
}

TEST_F(RxTimerTest, SwitchingThreadedOffWhileRunningHandsTheTicksToTheWindowTimer) {
    TRxTimer timer(nullptr);
    timer.SetSyncEvent(false);
    timer.SetInterval(50);
    timer.SetOnTimer(log.handler());
    step(timer, 50);
    timer.SetThreaded(false);
    step(timer, 50);
    timer.SetThreaded(true);
    step(timer, 50);
    const std::vector<Tick> ticks = log.ticks();
    ASSERT_EQ(ticks.size(), 3u);
    EXPECT_FALSE(ticks[0].onMainThread);
    EXPECT_TRUE(ticks[1].onMainThread);
    EXPECT_FALSE(ticks[2].onMainThread);
    EXPECT_EQ(log.times(), (std::vector<DWORD>{50, 100, 150}));
}

TEST_F(RxTimerTest, AssigningTheHandlerStartsTheTimerAndClearingItStopsIt) {
    TRxTimer timer(nullptr);
    timer.SetInterval(50);
    step(timer, 50);
    timer.SetOnTimer(log.handler());
    step(timer, 50);
    timer.SetOnTimer(nullptr);
    steps(timer, 2, 50);
    EXPECT_EQ(log.times(), std::vector<DWORD>{100});
}

TEST_F(RxTimerTest, SyncEventChoosesTheThreadTheHandlerRunsOn) {
    for (bool sync : {true, false}) {
        TTickLog caseLog;
        TRxTimer timer(nullptr);
        timer.SetSyncEvent(sync);
        timer.SetInterval(20);
        timer.SetOnTimer(caseLog.handler());
        steps(timer, 2, 20);
        const std::vector<Tick> ticks = caseLog.ticks();
        ASSERT_EQ(ticks.size(), 2u);
        for (const Tick& tick : ticks) EXPECT_EQ(tick.onMainThread, sync);
    }
}

// Records what reaches Application.OnException.
class TExceptionLog : public TObject {
public:
    TExceptionLog() { Application->OnException = TExceptionEvent(this, &TExceptionLog::Caught); }
    ~TExceptionLog() override { Application->OnException = nullptr; }
    void Caught(TObject* Sender, Exception& E) {
        senders.push_back(Sender);
        messages.push_back(E.Message);
        onMainThread.push_back(IsMainThread());
    }
    std::vector<TObject*> senders;
    std::vector<std::string> messages;
    std::vector<bool> onMainThread;
};

TEST_F(RxTimerTest, HandlerExceptionsAreReportedOnTheMainThreadAndTheTimerKeepsRunning) {
    struct Case {
        bool threaded;
        bool sync;
    };
    for (const Case c : {Case{false, true}, Case{true, false}, Case{true, true}}) {
        SCOPED_TRACE(testing::Message() << "threaded " << c.threaded << " sync " << c.sync);
        TExceptionLog caught;
        TTickLog caseLog;
        int count = 0;
        caseLog.during = [&count](TRxTimer*) {
            if (++count == 1) throw EAbort("quiet");
            throw Exception("tick failed");
        };
        TRxTimer timer(nullptr);
        timer.SetThreaded(c.threaded);
        timer.SetSyncEvent(c.sync);
        timer.SetInterval(10);
        timer.SetOnTimer(caseLog.handler());
        steps(timer, 3, 10);
        EXPECT_EQ(caseLog.times().size(), 3u);
        EXPECT_EQ(caught.messages, (std::vector<std::string>{"tick failed", "tick failed"}));
        EXPECT_EQ(caught.onMainThread, (std::vector<bool>{true, true}));
        // Unsynchronised ticks report with the worker as the sender.
        ASSERT_FALSE(caught.senders.empty());
        EXPECT_EQ(caught.senders[0] == &timer, !(c.threaded && !c.sync));
    }
}

TEST_F(RxTimerTest, StreamsItsSixPropertiesWithTheirDefaults) {
    TRxTimer timer(nullptr);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_EQ(timer.Interval(), 1000u);
    EXPECT_TRUE(timer.SyncEvent());
    EXPECT_TRUE(timer.Threaded());
    EXPECT_EQ(timer.ThreadPriority(), tpNormal);
    EXPECT_NE(GetClass("TRxTimer"), nullptr);
}

// ---- Stress: run under the sanitizers too ---------------------------------------

TEST_F(RxTimerTest, DestroyingARunningTimerNeverHangsNorCallsTheHandlerAfterwards) {
    Watchdog watchdog(60s);
    for (bool sync : {true, false}) {
        for (int round = 0; round < 200; ++round) {
            std::atomic<bool> destroyed = false;
            std::atomic<bool> lateCall = false;
            TTickLog roundLog;
            roundLog.during = [&](TRxTimer*) {
                if (destroyed) lateCall = true;
            };
            auto* timer = new TRxTimer(nullptr);
            timer->SetSyncEvent(sync);
            timer->SetInterval(1);
            timer->SetOnTimer(roundLog.handler());
            AdvanceClock(1 + round % 3);
            if (round % 2) CheckSynchronize();
            delete timer;
            destroyed = true;
            for (int i = 0; i < 3; ++i) CheckSynchronize();
            EXPECT_FALSE(lateCall);
        }
    }
}

TEST_F(RxTimerTest, DisablingFromInsideATickNeverHangs) {
    Watchdog watchdog(60s);
    for (bool sync : {true, false}) {
        for (int round = 0; round < 100; ++round) {
            TTickLog roundLog;
            roundLog.during = [](TRxTimer* Timer) { Timer->SetEnabled(false); };
            TRxTimer timer(nullptr);
            timer.SetSyncEvent(sync);
            timer.SetInterval(5);
            timer.SetOnTimer(roundLog.handler());
            step(timer, 5);
            steps(timer, 2, 5);
            EXPECT_EQ(roundLog.times().size(), 1u);
        }
    }
}

} // namespace
