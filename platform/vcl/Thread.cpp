#include "platform/vcl/Thread.h"

#include "platform/core/Clock.h"

#include <chrono>
#include <condition_variable>
#include <deque>

namespace {

// Guarded by stateMutex.
TNotifyEvent wakeMainThread;

// One call handed to the main thread, waiting there.
struct SyncRequest {
    TThreadMethod method;
    std::exception_ptr error;
    bool done = false;
};

// Every thread's state and the queue of calls for the main thread share one
// lock and one condition: threads are few and their changes rare, and a main
// thread waiting for a worker must also wake for the worker's calls.
std::mutex& stateMutex() {
    static std::mutex mutex;
    return mutex;
}
std::condition_variable& stateChanged() {
    static std::condition_variable condition;
    return condition;
}
std::deque<SyncRequest*>& syncQueue() {
    static std::deque<SyncRequest*> queue;
    return queue;
}

// Static set-up runs on the thread that starts the program.
const std::thread::id mainThreadId = std::this_thread::get_id();

// Taking the lock between the clock's step and the notice means a sleeper
// that has just read the old time is already waiting when the notice comes.
void wakeSleepersOnClockSteps() {
    std::lock_guard lock(stateMutex());
    stateChanged().notify_all();
}
const bool clockListened = (AddClockListener(wakeSleepersOnClockSteps), true);

} // namespace

void SetWakeMainThread(TNotifyEvent Value) {
    std::lock_guard lock(stateMutex());
    wakeMainThread = Value;
}

bool IsMainThread() {
    return std::this_thread::get_id() == mainThreadId;
}

bool CheckSynchronize() {
    if (!IsMainThread()) return false;
    std::unique_lock lock(stateMutex());
    if (syncQueue().empty()) return false;
    std::deque<SyncRequest*> pending;
    pending.swap(syncQueue());
    lock.unlock();
    for (SyncRequest* request : pending) {
        try {
            request->method();
        } catch (...) {
            // Carried back to the worker that asked for the call.
            request->error = std::current_exception();
        }
        std::lock_guard done(stateMutex());
        request->done = true;
    }
    stateChanged().notify_all();
    return true;
}

TThread::TThread(bool CreateSuspended) : createSuspended_(CreateSuspended) {}

TThread::~TThread() {
    if (thread_.joinable() && isWorker()) {
        // A FreeOnTerminate worker freeing itself: it is about to return.
        thread_.detach();
        return;
    }
    if (!thread_.joinable()) return;
    {
        std::lock_guard lock(stateMutex());
        terminated_ = true;
        suspendCount_ = 0;
    }
    stateChanged().notify_all();
    WaitFor();
    thread_.join();
}

void TThread::AfterConstruction() {
    if (!createSuspended_) Resume();
}

void TThread::Terminate() {
    {
        std::lock_guard lock(stateMutex());
        terminated_ = true;
    }
    stateChanged().notify_all();
}

bool TThread::Terminated() const {
    std::lock_guard lock(stateMutex());
    return terminated_;
}

bool TThread::Finished() const {
    std::lock_guard lock(stateMutex());
    return finished_;
}

bool TThread::FreeOnTerminate() const {
    std::lock_guard lock(stateMutex());
    return freeOnTerminate_;
}

void TThread::SetFreeOnTerminate(bool Value) {
    std::lock_guard lock(stateMutex());
    freeOnTerminate_ = Value;
}

bool TThread::Suspended() const {
    std::lock_guard lock(stateMutex());
    return suspendCount_ > 0;
}

void TThread::Suspend() {
    std::unique_lock lock(stateMutex());
    ++suspendCount_;
    if (workerId_ == std::this_thread::get_id()) waitWhileSuspended(lock);
}

void TThread::Resume() {
    {
        std::lock_guard lock(stateMutex());
        if (suspendCount_ == 0) return;
        --suspendCount_;
        if (suspendCount_ > 0 || started_) {
            stateChanged().notify_all();
            return;
        }
        started_ = true;
    }
    // The first resume starts the worker, which waits until thread_ holds it.
    thread_ = std::thread(&TThread::run, this);
    {
        std::lock_guard lock(stateMutex());
        launched_ = true;
    }
    stateChanged().notify_all();
}

bool TThread::isWorker() const {
    std::lock_guard lock(stateMutex());
    return workerId_ == std::this_thread::get_id();
}

void TThread::waitWhileSuspended(std::unique_lock<std::mutex>& Lock) {
    stateChanged().wait(Lock, [this] { return suspendCount_ == 0; });
}

LongWord TThread::WaitFor() {
    std::unique_lock lock(stateMutex());
    while (!finished_) {
        if (IsMainThread() && !syncQueue().empty()) {
            lock.unlock();
            CheckSynchronize();
            lock.lock();
            continue;
        }
        stateChanged().wait(lock);
    }
    return static_cast<LongWord>(returnValue_);
}

bool TThread::Sleep(DWORD Milliseconds) {
    std::unique_lock lock(stateMutex());
    DWORD deadline = ClockMilliseconds() + Milliseconds;
    while (!terminated_) {
        if (suspendCount_ > 0) {
            stateChanged().wait(lock, [this] { return suspendCount_ == 0 || terminated_; });
            deadline = ClockMilliseconds() + Milliseconds;
            continue;
        }
        const auto remaining = static_cast<Integer>(deadline - ClockMilliseconds());
        if (remaining <= 0) return true;
        // Stepped time moves only when a listener below tells everyone.
        if (IsClockStepped())
            stateChanged().wait(lock);
        else
            stateChanged().wait_for(lock, std::chrono::milliseconds(remaining));
    }
    return false;
}

void TThread::Synchronize(TThread* AThread, TThreadMethod Method) {
    if (IsMainThread()) {
        Method();
        return;
    }
    SyncRequest request{Method, nullptr, false};
    TNotifyEvent wake;
    {
        std::unique_lock lock(stateMutex());
        // A suspended worker stops here before handing the call over.
        if (AThread && AThread->workerId_ == std::this_thread::get_id()) AThread->waitWhileSuspended(lock);
        syncQueue().push_back(&request);
        wake = wakeMainThread;
    }
    stateChanged().notify_all();
    if (wake) wake(AThread);
    std::unique_lock lock(stateMutex());
    stateChanged().wait(lock, [&request] { return request.done; });
    lock.unlock();
    if (request.error) std::rethrow_exception(request.error);
}

void TThread::DoTerminate() {
    if (OnTerminate) Synchronize(TThreadMethod(this, &TThread::callOnTerminate));
}

void TThread::callOnTerminate() {
    OnTerminate(this);
}

void TThread::run() {
    bool skipExecute;
    {
        std::unique_lock lock(stateMutex());
        workerId_ = std::this_thread::get_id();
        stateChanged().wait(lock, [this] { return launched_ && suspendCount_ == 0; });
        skipExecute = terminated_;
    }
    if (!skipExecute) {
        try {
            Execute();
        } catch (...) {
            fatalException_ = std::current_exception();
        }
    }
    const bool freeThread = FreeOnTerminate();
    try {
        DoTerminate();
    } catch (...) {
        // Nothing above the worker could take it; the thread ends all the same.
        if (!fatalException_) fatalException_ = std::current_exception();
    }
    {
        std::lock_guard lock(stateMutex());
        finished_ = true;
    }
    stateChanged().notify_all();
    if (freeThread) delete this;
}
