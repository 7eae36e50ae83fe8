// A timer component with the interface of the framework's TTimer that ticks
// either from a window timer on the main thread or from a worker thread of
// its own, which waits out the interval and hands each tick to the main
// thread (SyncEvent) or runs it where it is.
#pragma once

#include "platform/vcl/Components.h"
#include "platform/vcl/ObjectInstances.h"
#include "platform/vcl/Thread.h"

class TRxTimer;

// The worker of one TRxTimer. It is never suspended: the timer starts and
// stops it through a condition it waits on with the interval as time-out, so
// a stop takes effect at once, also in the middle of a wait. Its timer ends
// it and frees it, except from inside a tick, where it frees itself.
class TTimerThread : public TThread {
public:
    explicit TTimerThread(TRxTimer* Timer);

protected:
    void Execute() override;
    // EAbort is ignored; anything else goes to Application.OnException or,
    // without one, to the error box, on the main thread.
    void HandleException();

private:
    friend class TRxTimer;
    void tick(bool Synchronized);
    void synchronizedTick();
    void reportException();
    // Runs Method on the main thread while the worker waits.
    void handToMainThread(TThreadMethod Method);
    bool tickStillWanted() const;

    // The fields below are shared with the main thread under the timers' lock.
    TRxTimer* owner_;
    Cardinal interval_ = 1000;
    bool syncEvent_ = true;
    bool running_ = false;
    bool closing_ = false;
    DWORD deadline_ = 0;
    // Moves on at each start and stop, so a tick due to an earlier run is dropped.
    Cardinal generation_ = 0;
    Cardinal tickGeneration_ = 0;
    bool ticking_ = false;
    bool waitingForMainThread_ = false;
    bool runningOnMainThread_ = false;
    std::exception_ptr exception_;
};

class TRxTimer : public TComponent {
public:
    explicit TRxTimer(TComponent* AOwner);
    // Wakes the worker and waits for it to end, which it does at once; freed
    // from inside a tick, returns without waiting. Either way the worker never
    // reads the timer or calls OnTimer afterwards.
    ~TRxTimer() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool Value);
    // Milliseconds; 0 stops the timer.
    Cardinal Interval() const { return interval_; }
    void SetInterval(Cardinal Value);
    TNotifyEvent OnTimer() const { return onTimer_; }
    // A timer without a handler does not run.
    void SetOnTimer(TNotifyEvent Value);
    // Threaded mode: whether OnTimer runs on the main thread (true) or on the
    // worker, where it must not touch the user interface.
    bool SyncEvent() const { return syncEvent_; }
    void SetSyncEvent(bool Value);
    // False: window timer 1 of a hidden window drives the ticks.
    bool Threaded() const { return threaded_; }
    void SetThreaded(bool Value);
    // Given to the worker, which like every thread of this system runs at the
    // normal priority.
    TThreadPriority ThreadPriority() const { return threadPriority_; }
    void SetThreadPriority(TThreadPriority Value);

    // For code running on the worker: runs Method on the main thread while
    // the worker waits; elsewhere runs it at once. A synchronised call of a
    // tick after which the timer was stopped or destroyed is dropped.
    void SynchronizedCall(TThreadMethod Method);

    // True from the moment a tick of the worker is due until it has run;
    // code stepping the clock waits for false before stepping again.
    bool TickDue() const;

protected:
    // Fires OnTimer while enabled and not being destroyed.
    virtual void Timer();

private:
    friend class TTimerThread;
    // The one place where the mode changes: stops whatever ran, then starts
    // what the properties ask for.
    void UpdateTimer();
    bool wantsTicks() const;
    void stopWorker();
    void startWorker();
    void stopWindowTimer();
    void WndProc(TMessage& Message);

    bool enabled_ = true;
    Cardinal interval_ = 1000;
    TNotifyEvent onTimer_;
    HWND windowHandle_ = nullptr;
    bool syncEvent_ = true;
    bool threaded_ = true;
    TTimerThread* worker_;
    bool workerLaunched_ = false;
    TThreadPriority threadPriority_ = tpNormal;
};
