#include "rx/RxTimer.h"

#include "platform/core/Clock.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/ObjectInstances.h"
#include "platform/vcl/Pictures.h"
#include "platform/vcl/TypInfo.h"
#include "platform/win/DefWindowProc.h"
#include "platform/win/Timers.h"

#include <chrono>
#include <condition_variable>

namespace {

constexpr UINT_PTR TimerId = 1;
constexpr const char* SNoTimers = "Not enough timers available";

// All timers and their workers share one lock and one condition: the state
// they guard changes a few times per tick, and stepped time has to wake
// every waiting worker at once.
std::mutex& timersLock() {
    static std::mutex mutex;
    return mutex;
}
std::condition_variable& timersChanged() {
    static std::condition_variable condition;
    return condition;
}

// Taking the lock between the clock's step and the notice means a worker
// that has just read the old time is already waiting when the notice comes.
void wakeWorkersOnClockSteps() {
    std::lock_guard lock(timersLock());
    timersChanged().notify_all();
}
const bool clockListened = (AddClockListener(wakeWorkersOnClockSteps), true);

Integer millisecondsUntil(DWORD Deadline) {
    return static_cast<Integer>(Deadline - ClockMilliseconds());
}

} // namespace

// ---- TTimerThread -----------------------------------------------------------------

TTimerThread::TTimerThread(TRxTimer* Timer) : TThread(true), owner_(Timer) {}

void TTimerThread::Execute() {
    std::unique_lock lock(timersLock());
    while (!closing_) {
        if (!running_) {
            timersChanged().wait(lock);
            continue;
        }
        const Integer remaining = millisecondsUntil(deadline_);
        if (remaining > 0) {
            // Stepped time moves only when the clock listener tells everyone.
            if (IsClockStepped())
                timersChanged().wait(lock);
            else
                timersChanged().wait_for(lock, std::chrono::milliseconds(remaining));
            continue;
        }
        ticking_ = true;
        tickGeneration_ = generation_;
        const bool synchronized = syncEvent_;
        lock.unlock();
        tick(synchronized);
        lock.lock();
        ticking_ = false;
        // The next wait starts after the tick, so ticks never pile up.
        if (generation_ == tickGeneration_) deadline_ = ClockMilliseconds() + interval_;
        timersChanged().notify_all();
    }
}

void TTimerThread::tick(bool Synchronized) {
    if (Synchronized) {
        handToMainThread(TThreadMethod(this, &TTimerThread::synchronizedTick));
        return;
    }
    // The owner stays while the tick runs: stopping waits for an unsynchronised tick.
    TRxTimer* owner;
    {
        std::lock_guard lock(timersLock());
        owner = owner_;
    }
    try {
        owner->Timer();
    } catch (...) {
        exception_ = std::current_exception();
        HandleException();
    }
}

bool TTimerThread::tickStillWanted() const {
    return owner_ && running_ && !closing_ && generation_ == tickGeneration_;
}

// On the main thread: the timer may have been stopped or destroyed since the
// worker asked, and a terminating application gets no more ticks.
void TTimerThread::synchronizedTick() {
    TRxTimer* owner;
    {
        std::lock_guard lock(timersLock());
        if (!tickStillWanted()) return;
        owner = owner_;
    }
    if (Application->Terminated()) return;
    try {
        owner->Timer();
    } catch (...) {
        Application->HandleException(owner);
    }
}

void TTimerThread::HandleException() {
    handToMainThread(TThreadMethod(this, &TTimerThread::reportException));
}

void TTimerThread::reportException() {
    try {
        std::rethrow_exception(exception_);
    } catch (...) {
        Application->HandleException(this);
    }
    exception_ = nullptr;
}

void TTimerThread::handToMainThread(TThreadMethod Method) {
    {
        std::lock_guard lock(timersLock());
        waitingForMainThread_ = true;
    }
    timersChanged().notify_all();
    // Marks the call while it runs on the main thread, so that a stop made
    // from inside it does not wait for this worker, which waits for the stop.
    struct OnMainThread {
        TTimerThread* worker;
        TThreadMethod method;
        void run() {
            {
                std::lock_guard lock(timersLock());
                worker->runningOnMainThread_ = true;
            }
            struct Unmark {
                TTimerThread* worker;
                ~Unmark() {
                    std::lock_guard lock(timersLock());
                    worker->runningOnMainThread_ = false;
                }
            } unmark{worker};
            method();
        }
    } call{this, Method};
    struct Unwait {
        TTimerThread* worker;
        ~Unwait() {
            std::lock_guard lock(timersLock());
            worker->waitingForMainThread_ = false;
        }
    } unwait{this};
    Synchronize(TThreadMethod(&call, &OnMainThread::run));
}

// ---- TRxTimer ---------------------------------------------------------------------

TRxTimer::TRxTimer(TComponent* AOwner) : TComponent(AOwner), worker_(NewThread<TTimerThread>(this)) {}

TRxTimer::~TRxTimer() {
    {
        std::lock_guard lock(timersLock());
        enabled_ = false;
        onTimer_ = nullptr;
    }
    stopWindowTimer();
    stopWorker();
    bool waitForWorker;
    {
        std::lock_guard lock(timersLock());
        worker_->owner_ = nullptr;
        worker_->closing_ = true;
        // A worker waiting for the caller (the timer freed from inside its own
        // tick, or on another thread) cannot be waited for: it frees itself as
        // it ends. Otherwise it is woken and ends at once, so that no thread
        // outlives its timer, nor the program's exit.
        waitForWorker = !workerLaunched_ || (IsMainThread() && !worker_->runningOnMainThread_);
        if (!waitForWorker) worker_->SetFreeOnTerminate(true);
    }
    timersChanged().notify_all();
    if (!waitForWorker) return;
    if (workerLaunched_) worker_->WaitFor();
    delete worker_;
}

void TRxTimer::SetEnabled(bool Value) {
    if (enabled_ == Value) return;
    {
        std::lock_guard lock(timersLock());
        enabled_ = Value;
    }
    UpdateTimer();
}

void TRxTimer::SetInterval(Cardinal Value) {
    if (interval_ == Value) return;
    interval_ = Value;
    UpdateTimer();
}

void TRxTimer::SetOnTimer(TNotifyEvent Value) {
    const bool assignedBefore = static_cast<bool>(onTimer_);
    {
        std::lock_guard lock(timersLock());
        onTimer_ = Value;
    }
    if (assignedBefore != static_cast<bool>(Value)) UpdateTimer();
}

void TRxTimer::SetSyncEvent(bool Value) {
    std::lock_guard lock(timersLock());
    syncEvent_ = Value;
    worker_->syncEvent_ = Value;
}

void TRxTimer::SetThreaded(bool Value) {
    if (threaded_ == Value) return;
    threaded_ = Value;
    UpdateTimer();
}

void TRxTimer::SetThreadPriority(TThreadPriority Value) {
    if (threadPriority_ == Value) return;
    threadPriority_ = Value;
    if (threaded_) UpdateTimer();
}

bool TRxTimer::wantsTicks() const {
    return interval_ != 0 && enabled_ && onTimer_;
}

void TRxTimer::UpdateTimer() {
    if (threaded_) {
        stopWindowTimer();
        stopWorker();
        if (!wantsTicks()) return;
        worker_->SetPriority(threadPriority_);
        startWorker();
        return;
    }
    stopWorker();
    if (windowHandle_)
        KillTimer(windowHandle_, TimerId);
    else
        windowHandle_ = AllocateHWnd(TWndMethod(this, &TRxTimer::WndProc));
    if (wantsTicks() && !SetTimer(windowHandle_, TimerId, interval_, nullptr)) throw EOutOfResources(SNoTimers);
}

void TRxTimer::startWorker() {
    {
        std::lock_guard lock(timersLock());
        worker_->interval_ = interval_;
        worker_->syncEvent_ = syncEvent_;
        worker_->running_ = true;
        ++worker_->generation_;
        worker_->deadline_ = ClockMilliseconds() + interval_;
    }
    timersChanged().notify_all();
    if (!workerLaunched_) {
        workerLaunched_ = true;
        worker_->Resume();
    }
}

// Waits for a tick in progress on the worker, running the calls it hands the
// main thread meanwhile, except when the tick is waiting for the caller: a
// stop from the worker's own handler or from a call it handed over.
void TRxTimer::stopWorker() {
    std::unique_lock lock(timersLock());
    worker_->running_ = false;
    ++worker_->generation_;
    timersChanged().notify_all();
    if (!workerLaunched_ || !IsMainThread()) return;
    while (worker_->ticking_ && !worker_->runningOnMainThread_) {
        if (worker_->waitingForMainThread_) {
            lock.unlock();
            if (!CheckSynchronize()) std::this_thread::yield();
            lock.lock();
            continue;
        }
        timersChanged().wait(lock);
    }
}

void TRxTimer::stopWindowTimer() {
    if (!windowHandle_) return;
    KillTimer(windowHandle_, TimerId);
    DeallocateHWnd(windowHandle_);
    windowHandle_ = nullptr;
}

void TRxTimer::SynchronizedCall(TThreadMethod Method) {
    if (IsMainThread() || !workerLaunched_) {
        Method();
        return;
    }
    struct Checked {
        TTimerThread* worker;
        TThreadMethod method;
        void run() {
            {
                std::lock_guard lock(timersLock());
                if (!worker->tickStillWanted()) return;
            }
            method();
        }
    } call{worker_, Method};
    worker_->handToMainThread(TThreadMethod(&call, &Checked::run));
}

bool TRxTimer::TickDue() const {
    std::lock_guard lock(timersLock());
    return worker_->ticking_ || (worker_->running_ && millisecondsUntil(worker_->deadline_) <= 0);
}

void TRxTimer::Timer() {
    if (IsMainThread() && ComponentState().Contains(csDestroying)) return;
    TNotifyEvent handler;
    {
        std::lock_guard lock(timersLock());
        if (!enabled_) return;
        handler = onTimer_;
    }
    if (handler) handler(this);
}

// A handler's exception is reported and the timer keeps running.
void TRxTimer::WndProc(TMessage& Message) {
    if (Message.Msg != WM_TIMER) {
        Message.Result = DefWindowProcA(windowHandle_, Message.Msg, Message.WParam, Message.LParam);
        return;
    }
    try {
        Timer();
    } catch (...) {
        Application->HandleException(this);
    }
}

namespace {

const TTypeInfo* const threadPriorityType = DefineEnum<TThreadPriority>(
    "TThreadPriority", {"tpIdle", "tpLowest", "tpLower", "tpNormal", "tpHigher", "tpHighest", "tpTimeCritical"});

const TClass rxTimerClass = DescribeClass<TRxTimer, TComponent>([](TClassBuilder<TRxTimer>& c) {
    using T = TRxTimer;
    c.Property("Enabled", &T::Enabled, &T::SetEnabled).Default(true);
    c.Property("Interval", &T::Interval, &T::SetInterval).Default(1000);
    c.Property("OnTimer", &T::OnTimer, &T::SetOnTimer);
    c.Property("SyncEvent", &T::SyncEvent, &T::SetSyncEvent).Default(true);
    c.Property("Threaded", &T::Threaded, &T::SetThreaded).Default(true);
    c.Property("ThreadPriority", &T::ThreadPriority, &T::SetThreadPriority).Default(tpNormal);
});

struct RegisterTimerClass {
    RegisterTimerClass() { RegisterClasses({ClassOf<TRxTimer>()}); }
} registerTimerClass;

} // namespace
