#include "editor/SynEditMiscClasses.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

// Listeners that write their name into a shared log.
struct Listener : TObject {
    Listener(std::string name, std::string& log) : name(std::move(name)), log(log) {}
    void Changed(TObject* sender) {
        log += name;
        lastSender = sender;
    }
    void Fails(TObject*) {
        log += name + "!";
        throw EConvertError("listener " + name + " failed");
    }
    void ThrowsNonException(TObject*) { throw std::runtime_error("not a framework exception"); }
    TNotifyEvent changed() { return TNotifyEvent(this, &Listener::Changed); }
    TNotifyEvent fails() { return TNotifyEvent(this, &Listener::Fails); }

    std::string name;
    std::string& log;
    TObject* lastSender = nullptr;
};

// What the chain's exception handler saw and decided.
struct Policy : TObject {
    void Handle(TObject* sender, Exception& e, bool& doContinue) {
        chain = sender;
        messages += e.Message + ";";
        doContinue = keepGoing;
        if (fail) throw std::runtime_error("handler broke");
    }
    TSynExceptionEvent handler() { return TSynExceptionEvent(this, &Policy::Handle); }
    bool keepGoing = true;
    bool fail = false;
    TObject* chain = nullptr;
    std::string messages;
};

struct ChainTest : testing::Test {
    std::string log;
    TObject sender;
    TSynNotifyEventChain chain{&sender};
    Listener a{"a", log}, b{"b", log}, c{"c", log};
};

} // namespace

TEST_F(ChainTest, FiresEveryListenerInOrderWithTheCurrentSender) {
    chain.Add(a.changed());
    chain.Add(b.changed());
    chain.Fire();
    EXPECT_EQ(log, "ab");
    EXPECT_EQ(a.lastSender, &sender);
    TObject other;
    chain.Sender = &other;
    chain.Fire();
    EXPECT_EQ(b.lastSender, &other);
}

TEST_F(ChainTest, DuplicatesAreCalledTwiceAndOneRemoveTakesThemAll) {
    chain.Add(a.changed());
    chain.Add(b.changed());
    chain.Add(a.changed());
    chain.Fire();
    EXPECT_EQ(log, "aba");
    chain.Remove(a.changed());
    log.clear();
    chain.Fire();
    EXPECT_EQ(log, "b");
}

TEST_F(ChainTest, RefusesAnUnassignedEvent) {
    try {
        chain.Add(TNotifyEvent());
        FAIL() << "Add accepted an unassigned event";
    } catch (const ESynMethodChain& e) {
        EXPECT_EQ(e.Message, "TSynNotifyEventChain.Entry : the parameter `AEvent' must be specified.");
    }
    try {
        chain.Remove(nullptr);
        FAIL() << "Remove accepted an unassigned event";
    } catch (const ESynMethodChain& e) {
        EXPECT_EQ(e.Message, "TSynNotifyEventChain.Remove: the parameter `AEvent' must be specified.");
    }
}

TEST_F(ChainTest, ListenerAddedWhileFiringIsCalledInTheSamePass) {
    struct Adder : TObject {
        TSynNotifyEventChain* chain;
        TNotifyEvent late;
        void Add(TObject*) {
            if (late) chain->Add(late);
            late = nullptr;
        }
    } adder;
    adder.chain = &chain;
    adder.late = c.changed();
    chain.Add(TNotifyEvent(&adder, &Adder::Add));
    chain.Fire();
    EXPECT_EQ(log, "c");
}

TEST_F(ChainTest, ExceptionWithoutHandlerStopsTheChainAndReachesTheCaller) {
    chain.Add(a.changed());
    chain.Add(b.fails());
    chain.Add(c.changed());
    EXPECT_THROW(chain.Fire(), EConvertError);
    EXPECT_EQ(log, "ab!");
}

TEST_F(ChainTest, HandlerDecidesWhetherTheChainGoesOn) {
    Policy policy;
    chain.ExceptionHandler = policy.handler();
    chain.Add(a.fails());
    chain.Add(b.changed());
    chain.Fire();
    EXPECT_EQ(log, "a!b");
    EXPECT_EQ(policy.chain, &chain);
    EXPECT_EQ(policy.messages, "listener a failed;");

    log.clear();
    policy.keepGoing = false;
    chain.Fire();
    EXPECT_EQ(log, "a!");
}

TEST_F(ChainTest, FailingHandlerBecomesAChainError) {
    Policy policy;
    policy.fail = true;
    chain.ExceptionHandler = policy.handler();
    chain.Add(a.fails());
    chain.Add(b.changed());
    try {
        chain.Fire();
        FAIL() << "the handler's failure was swallowed";
    } catch (const ESynMethodChain& e) {
        EXPECT_EQ(e.Message,
                  "TSynNotifyEventChain.DoHandleException : MUST NOT occur any kind of exception in "
                  "ExceptionHandler");
    }
    EXPECT_EQ(log, "a!");
}

TEST_F(ChainTest, ObjectsOutsideTheExceptionFamilyBypassTheHandler) {
    Policy policy;
    chain.ExceptionHandler = policy.handler();
    chain.Add(TNotifyEvent(&a, &Listener::ThrowsNonException));
    chain.Add(b.changed());
    EXPECT_THROW(chain.Fire(), std::runtime_error);
    EXPECT_EQ(log, "");
    EXPECT_EQ(policy.messages, "");
}
