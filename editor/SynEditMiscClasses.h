// Multicast events of the editor: a chain of methods that are all called when
// the chain fires, with a policy for exceptions raised by one of them.
#pragma once

#include "platform/core/Exceptions.h"
#include "platform/core/System.h"

#include <vector>

class ESynMethodChain : public Exception {
public:
    using Exception::Exception;
};

// Called with the chain and the exception a listener raised; leaving
// DoContinue true lets the chain go on with the next listener.
using TSynExceptionEvent = Closure<void(TObject* Sender, Exception& E, bool& DoContinue)>;

template <typename Event> class TSynMethodChain : public TObject {
public:
    // Subscribes a method; the same method may be subscribed more than once.
    void Add(const Event& AEvent) {
        if (!AEvent)
            throw ESynMethodChain(ClassName() + ".Entry : the parameter `AEvent' must be specified.");
        entries_.push_back(AEvent);
    }

    // Unsubscribes every occurrence of the method.
    void Remove(const Event& AEvent) {
        if (!AEvent)
            throw ESynMethodChain(ClassName() + ".Remove: the parameter `AEvent' must be specified.");
        for (std::size_t i = entries_.size(); i-- > 0;)
            if (entries_[i] == AEvent) entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(i));
    }

    // Calls every listener in order, including listeners subscribed while firing.
    void Fire() {
        for (std::size_t position = 0; position < entries_.size(); ++position) {
            // A copy: the listener may change the chain while it runs.
            const Event entry = entries_[position];
            try {
                DoFire(entry);
            } catch (Exception& e) {
                if (!DoHandleException(e)) return;
            }
        }
    }

    TSynExceptionEvent ExceptionHandler;

protected:
    virtual void DoFire(const Event& AEvent) = 0;

    // Runs inside Fire's handler for E: without an ExceptionHandler E passes
    // on, otherwise the handler decides whether the chain goes on.
    virtual bool DoHandleException(Exception& E) {
        if (!ExceptionHandler) throw;
        bool doContinue = true;
        try {
            ExceptionHandler(this, E, doContinue);
        } catch (...) {
            throw ESynMethodChain(
                ClassName() +
                ".DoHandleException : MUST NOT occur any kind of exception in ExceptionHandler");
        }
        return doContinue;
    }

private:
    std::vector<Event> entries_;
};

// A chain of notify events, each called with the chain's current Sender.
class TSynNotifyEventChain : public TSynMethodChain<TNotifyEvent> {
public:
    explicit TSynNotifyEventChain(TObject* ASender = nullptr) : Sender(ASender) {}

    TObject* Sender;

protected:
    void DoFire(const TNotifyEvent& AEvent) override;
};
