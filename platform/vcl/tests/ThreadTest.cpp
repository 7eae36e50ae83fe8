#include "platform/vcl/Thread.h"

#include "platform/core/Clock.h"
#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

namespace {

using namespace std::chrono_literals;

// Runs the main thread's side until Done holds or a generous time passed.
template <typename Predicate> bool pumpUntil(Predicate Done) {
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (!Done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        if (!CheckSynchronize()) std::this_thread::sleep_for(1ms);
    }
    return true;
}

// Hands the main thread a call that records where it ran, and what the
// worker saw once Synchronize returned.
class TRecordingThread : public TThread {
public:
    TRecordingThread() : TThread(true) {}
    ~TRecordingThread() override {
        Terminate();
        WaitFor();
    }
    std::thread::id ranOn;
    bool sawResult = false;
    bool raise = false;

protected:
    void Execute() override {
        Synchronize(TThreadMethod(this, &TRecordingThread::OnMainThread));
        sawResult = ranOn != std::thread::id();
    }

private:
    void OnMainThread() {
        ranOn = std::this_thread::get_id();
        if (raise) throw EConvertError("raised on the main thread");
    }
};

class TSleepingThread : public TThread {
public:
    TSleepingThread() : TThread(true) {}
    ~TSleepingThread() override {
        Terminate();
        WaitFor();
    }
    std::atomic<int> ticks = 0;

protected:
    void Execute() override {
        while (Sleep(20))
            ++ticks;
    }
};

class TSelfFreeingThread : public TThread {
public:
    explicit TSelfFreeingThread(std::atomic<bool>& Destroyed) : TThread(false), destroyed_(Destroyed) {
        SetFreeOnTerminate(true);
    }
    ~TSelfFreeingThread() override { destroyed_ = true; }

protected:
    void Execute() override {}

private:
    std::atomic<bool>& destroyed_;
};

struct TerminateListener : TObject {
    std::thread::id ranOn;
    void ThreadTerminated(TObject*) { Run(); }
    void Run() { ranOn = std::this_thread::get_id(); }
};

struct WakeCounter : TObject {
    std::atomic<int> calls = 0;
    void Wake(TObject*) { ++calls; }
};

} // namespace

TEST(Thread, SynchronizeRunsTheCallOnTheMainThreadWhileTheWorkerWaits) {
    WakeCounter wake;
    SetWakeMainThread(TNotifyEvent(&wake, &WakeCounter::Wake));
    TRecordingThread thread;
    thread.Resume();
    EXPECT_TRUE(pumpUntil([&] { return thread.Finished(); }));
    SetWakeMainThread(nullptr);

    EXPECT_EQ(thread.ranOn, std::this_thread::get_id());
    EXPECT_TRUE(thread.sawResult);
    EXPECT_GE(wake.calls, 1);
}

TEST(Thread, WaitForOnTheMainThreadRunsTheWorkersCalls) {
    TRecordingThread thread;
    thread.Resume();
    thread.WaitFor();
    EXPECT_EQ(thread.ranOn, std::this_thread::get_id());
}

TEST(Thread, AnExceptionOfTheSynchronizedCallReachesTheWorker) {
    TRecordingThread thread;
    thread.raise = true;
    thread.Resume();
    thread.WaitFor();
    EXPECT_FALSE(thread.sawResult);
    ASSERT_TRUE(thread.FatalException());
    EXPECT_THROW(std::rethrow_exception(thread.FatalException()), EConvertError);
}

TEST(Thread, ASuspendedWorkerHoldsItsSleepUntilResumed) {
    TSleepingThread thread;
    EXPECT_TRUE(thread.Suspended());
    std::this_thread::sleep_for(60ms);
    EXPECT_EQ(thread.ticks, 0);

    thread.Resume();
    EXPECT_TRUE(pumpUntil([&] { return thread.ticks >= 2; }));
    thread.Suspend();
    thread.Suspend();
    const int held = thread.ticks;
    std::this_thread::sleep_for(100ms);
    EXPECT_LE(thread.ticks, held + 1);

    // Suspension is counted: one Resume is not enough for two Suspends.
    thread.Resume();
    EXPECT_TRUE(thread.Suspended());
    thread.Resume();
    EXPECT_FALSE(thread.Suspended());
    EXPECT_TRUE(pumpUntil([&] { return thread.ticks >= held + 3; }));
}

TEST(Thread, ASleepUnderSteppedTimeEndsWhenTheClockIsMovedPastIt) {
    UseSteppedClock(true);
    const DWORD start = ClockMilliseconds();
    TSleepingThread thread;
    thread.Resume();
    EXPECT_TRUE(pumpUntil([&] {
        AdvanceClock(5);
        return thread.ticks >= 3;
    }));
    // Three sleeps of 20 ms each took at least that much of the stepped clock.
    EXPECT_GE(ClockMilliseconds() - start, 60u);
    thread.Terminate();
    thread.WaitFor();
    UseSteppedClock(false);
}

TEST(Thread, TerminateEndsASleepAtOnce) {
    TSleepingThread thread;
    thread.Resume();
    const auto start = std::chrono::steady_clock::now();
    thread.Terminate();
    thread.WaitFor();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    EXPECT_TRUE(thread.Finished());
}

TEST(Thread, AFreeOnTerminateWorkerFreesItselfAfterOnTerminateRanOnTheMainThread) {
    std::atomic<bool> destroyed = false;
    TerminateListener listener;
    auto* thread = new TSelfFreeingThread(destroyed);
    thread->OnTerminate = TNotifyEvent(&listener, &TerminateListener::ThreadTerminated);
    thread->AfterConstruction();
    EXPECT_TRUE(pumpUntil([&] { return destroyed.load(); }));
    EXPECT_EQ(listener.ranOn, std::this_thread::get_id());
}

TEST(Thread, SynchronizeOnTheMainThreadCallsAtOnce) {
    TerminateListener listener;
    TThread::Synchronize(nullptr, TThreadMethod(&listener, &TerminateListener::Run));
    EXPECT_EQ(listener.ranOn, std::this_thread::get_id());
}
