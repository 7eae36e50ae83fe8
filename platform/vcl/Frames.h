// Frames: a group of controls designed once in a form resource of its own
// class and placed on forms like a single control, as often as needed.
#pragma once

#include "platform/vcl/ScrollBoxes.h"

// A scrolling container that builds its controls from the form resource of
// its class (and of its ancestors below TFrame). Made through its class, as a
// form resource makes it, it reads that resource by itself; code that makes
// one with new uses NewFrame.
class TCustomFrame : public TScrollingWinControl {
public:
    explicit TCustomFrame(TComponent* AOwner);
    // Reads the form resource, once. EResNotFound "Resource %s not found"
    // for a class below TFrame that has none.
    void AfterConstruction();
    // The frame's own components without a parent (menus, action lists)
    // belong to it when the frame itself is written.
    void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
    // A form resource holding the frame inline names the frame's own
    // components inside it: they are looked up in, and made for, the frame.
    TComponent* GetChildOwner() override;

private:
    bool resourceLoaded_ = false;
};

class TFrame : public TCustomFrame {
public:
    using TCustomFrame::TCustomFrame;
};

template <typename T> T* NewFrame(TComponent* AOwner) {
    T* frame = new T(AOwner);
    try {
        frame->AfterConstruction();
    } catch (...) {
        delete frame;
        throw;
    }
    return frame;
}
