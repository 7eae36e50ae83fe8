// Extra key and mouse handlers of one editor: plug-ins subscribe here and see
// (or swallow) input before the editor's own processing.
#pragma once

#include "editor/SynEditKeyConst.h"
#include "editor/SynEditTypes.h"
#include "platform/core/System.h"

#include <vector>

using TMouseCursorEvent = Closure<void(TObject* Sender, const TBufferCoord& aLineCharPos, TCursor& aCursor)>;

// An ordered list of methods; a method may be added more than once.
template <typename Method> class TMethodList : public TObject {
public:
    void Add(const Method& AMethod) { items_.push_back(AMethod); }

    // Removes the most recently added occurrence of the method, if any.
    void Remove(const Method& AMethod) {
        for (std::size_t i = items_.size(); i-- > 0;) {
            if (items_[i] == AMethod) {
                items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(i));
                return;
            }
        }
    }

    Integer GetCount() const { return static_cast<Integer>(items_.size()); }
    Method GetItem(Integer Index) const { return items_.at(static_cast<std::size_t>(Index)); }

private:
    std::vector<Method> items_;
};

class TSynEditKbdHandler : public TObject {
public:
    void AddKeyDownHandler(const TKeyEvent& Handler) { keyDownChain_.Add(Handler); }
    void RemoveKeyDownHandler(const TKeyEvent& Handler) { keyDownChain_.Remove(Handler); }
    void AddKeyUpHandler(const TKeyEvent& Handler) { keyUpChain_.Add(Handler); }
    void RemoveKeyUpHandler(const TKeyEvent& Handler) { keyUpChain_.Remove(Handler); }
    void AddKeyPressHandler(const TKeyPressEvent& Handler) { keyPressChain_.Add(Handler); }
    void RemoveKeyPressHandler(const TKeyPressEvent& Handler) { keyPressChain_.Remove(Handler); }
    void AddMouseDownHandler(const TMouseEvent& Handler) { mouseDownChain_.Add(Handler); }
    void RemoveMouseDownHandler(const TMouseEvent& Handler) { mouseDownChain_.Remove(Handler); }
    void AddMouseUpHandler(const TMouseEvent& Handler) { mouseUpChain_.Add(Handler); }
    void RemoveMouseUpHandler(const TMouseEvent& Handler) { mouseUpChain_.Remove(Handler); }
    void AddMouseCursorHandler(const TMouseCursorEvent& Handler) { mouseCursorChain_.Add(Handler); }
    void RemoveMouseCursorHandler(const TMouseCursorEvent& Handler) { mouseCursorChain_.Remove(Handler); }

    // Each runs its chain from the newest handler to the oldest. A chain that
    // is already running (a handler caused the same event again) is not
    // entered a second time. Key handlers stop once Key is 0 or NUL.
    void ExecuteKeyDown(TObject* Sender, Word& Key, TShiftState Shift);
    void ExecuteKeyUp(TObject* Sender, Word& Key, TShiftState Shift);
    void ExecuteKeyPress(TObject* Sender, char& Key);
    void ExecuteMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
    void ExecuteMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
    void ExecuteMouseCursor(TObject* Sender, const TBufferCoord& aLineCharPos, TCursor& aCursor);

private:
    TMethodList<TKeyPressEvent> keyPressChain_;
    TMethodList<TKeyEvent> keyDownChain_;
    TMethodList<TKeyEvent> keyUpChain_;
    TMethodList<TMouseEvent> mouseDownChain_;
    TMethodList<TMouseEvent> mouseUpChain_;
    TMethodList<TMouseCursorEvent> mouseCursorChain_;
    bool inKeyPress_ = false;
    bool inKeyDown_ = false;
    bool inKeyUp_ = false;
    bool inMouseDown_ = false;
    bool inMouseUp_ = false;
    bool inMouseCursor_ = false;
};
