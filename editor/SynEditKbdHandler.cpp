// Running the editor's extra key and mouse handlers, newest first, with a
// guard per chain against re-entry.
#include "editor/SynEditKbdHandler.h"

namespace {

// Set while a chain runs; cleared however the run ends.
class ChainGuard {
public:
    explicit ChainGuard(bool& running) : running_(running) { running_ = true; }
    ChainGuard(const ChainGuard&) = delete;
    ChainGuard& operator=(const ChainGuard&) = delete;
    ~ChainGuard() { running_ = false; }

private:
    bool& running_;
};

// Calls the handlers from the newest to the oldest while `goOn()` holds.
template <typename Method, typename GoOn, typename... Args>
void runChain(const TMethodList<Method>& chain, bool& running, GoOn goOn, Args&... args) {
    if (running) return;
    ChainGuard guard(running);
    for (Integer i = chain.GetCount() - 1; i >= 0 && goOn(); --i) {
        // A handler may have removed others of the chain.
        if (i >= chain.GetCount()) continue;
        chain.GetItem(i)(args...);
    }
}

constexpr auto always = [] { return true; };

} // namespace

void TSynEditKbdHandler::ExecuteKeyDown(TObject* Sender, Word& Key, TShiftState Shift) {
    runChain(
        keyDownChain_, inKeyDown_, [&Key] { return Key != 0; }, Sender, Key, Shift);
}

void TSynEditKbdHandler::ExecuteKeyUp(TObject* Sender, Word& Key, TShiftState Shift) {
    runChain(
        keyUpChain_, inKeyUp_, [&Key] { return Key != 0; }, Sender, Key, Shift);
}

void TSynEditKbdHandler::ExecuteKeyPress(TObject* Sender, char& Key) {
    runChain(
        keyPressChain_, inKeyPress_, [&Key] { return Key != '\0'; }, Sender, Key);
}

void TSynEditKbdHandler::ExecuteMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X,
                                          Integer Y) {
    runChain(mouseDownChain_, inMouseDown_, always, Sender, Button, Shift, X, Y);
}

void TSynEditKbdHandler::ExecuteMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X,
                                        Integer Y) {
    runChain(mouseUpChain_, inMouseUp_, always, Sender, Button, Shift, X, Y);
}

void TSynEditKbdHandler::ExecuteMouseCursor(TObject* Sender, const TBufferCoord& aLineCharPos,
                                            TCursor& aCursor) {
    runChain(mouseCursorChain_, inMouseCursor_, always, Sender, aLineCharPos, aCursor);
}
