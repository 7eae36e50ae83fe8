// Worker threads in the framework's manner: a TThread descendant overrides
// Execute, the main thread's message loop runs the calls a worker hands it
// through Synchronize, and a worker can be suspended and resumed.
#pragma once

#include "platform/core/System.h"

#include <exception>
#include <mutex>
#include <thread>

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

using TThreadMethod = Closure<void()>;

// Suspension is cooperative: the operating system gives no safe way to stop
// another thread at an arbitrary instruction. A suspended worker stops at its
// next suspension point (the start of Execute, Synchronize and Sleep), and a
// thread that suspends itself stops at once.
class TThread : public TObject {
public:
    // The worker starts suspended in any case: a C++ base constructor cannot
    // run a descendant's Execute. AfterConstruction (NewThread calls it)
    // starts one that was not asked to stay suspended.
    explicit TThread(bool CreateSuspended);
    // A worker still running is terminated, resumed and waited for. A
    // descendant whose Execute uses its own members ends the worker in its
    // own destructor (Terminate, then WaitFor), before those members go.
    ~TThread() override;

    void AfterConstruction();

    // Asks Execute to end: it is its business to look at Terminated.
    void Terminate();
    // Waits until Execute has returned; the result is ReturnValue. On the main
    // thread the Synchronize calls of the worker run meanwhile.
    LongWord WaitFor();
    // Counted: as many Resume calls as Suspend calls run the worker again.
    void Suspend();
    void Resume();
    bool Suspended() const;
    bool Finished() const;

    // May be set from another thread while the worker runs; the worker reads
    // it once Execute has returned.
    bool FreeOnTerminate() const;
    void SetFreeOnTerminate(bool Value);
    // Kept for the descendants that ask; the threads of this system all run
    // at the normal priority.
    TThreadPriority Priority() const { return priority_; }
    void SetPriority(TThreadPriority Value) { priority_ = Value; }
    // The exception that ended Execute, if any.
    std::exception_ptr FatalException() const { return fatalException_; }
    // Runs on the main thread once Execute has returned.
    TNotifyEvent OnTerminate;

    // Runs Method on the main thread while the calling thread waits; an
    // exception it raises is raised again in the calling thread. Called on
    // the main thread it runs Method at once.
    static void Synchronize(TThread* AThread, TThreadMethod Method);

protected:
    virtual void Execute() = 0;
    // Calls OnTerminate through Synchronize.
    virtual void DoTerminate();
    void Synchronize(TThreadMethod Method) { Synchronize(this, Method); }
    // Waits Milliseconds or until the thread is terminated. While the thread
    // is suspended the wait is held, and after Resume it starts over. False
    // when it ended because the thread was terminated.
    bool Sleep(DWORD Milliseconds);
    bool Terminated() const;
    Integer ReturnValue() const { return returnValue_; }
    void SetReturnValue(Integer Value) { returnValue_ = Value; }

private:
    void run();
    bool isWorker() const;
    // Blocks while suspended (the calling worker's own suspension point).
    void waitWhileSuspended(std::unique_lock<std::mutex>& Lock);
    void callOnTerminate();

    std::thread thread_;
    std::thread::id workerId_;
    bool started_ = false;
    bool launched_ = false;
    Integer suspendCount_ = 1;
    bool createSuspended_;
    bool terminated_ = false;
    bool finished_ = false;
    bool freeOnTerminate_ = false;
    TThreadPriority priority_ = tpNormal;
    Integer returnValue_ = 0;
    std::exception_ptr fatalException_;
};

// Makes a worker as the framework's constructor does: the object first,
// then AfterConstruction, which starts it unless it was made suspended.
template <typename T, typename... Args> T* NewThread(Args&&... args) {
    T* thread = new T(std::forward<Args>(args)...);
    thread->AfterConstruction();
    return thread;
}

// Runs the calls waiting for the main thread; true when there were any. The
// application's message loop calls it; so may a program's own wait loop.
bool CheckSynchronize();
// Told when a worker hands the main thread a call, so that a main thread
// waiting for messages wakes up; the application sets it when it is made,
// which may be while workers run, hence the setter.
void SetWakeMainThread(TNotifyEvent Value);
// Whether the caller is the main thread: the one that started the program.
bool IsMainThread();
