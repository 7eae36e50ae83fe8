// How objects receive window messages: the message record that travels
// through the framework's handlers, window procedures that call a method of
// an object (object instances), and hidden utility windows whose messages
// go to a method.
#pragma once

#include "platform/core/System.h"
#include "platform/win/WinUser.h"

// A window message as the framework's handlers see it; Result is the window
// procedure's answer.
struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;

    Word WParamLo() const { return LOWORD(WParam); }
    Word WParamHi() const { return HIWORD(WParam); }
    Word LParamLo() const { return LOWORD(static_cast<UINT_PTR>(LParam)); }
    Word LParamHi() const { return HIWORD(static_cast<UINT_PTR>(LParam)); }
};

using TWndMethod = Closure<void(TMessage& Message)>;

// A window procedure (the token our window layer calls) that hands each
// message to Method and answers with its Result. It lives until
// FreeObjectInstance.
WNDPROC MakeObjectInstance(TWndMethod Method);
void FreeObjectInstance(WNDPROC ObjectInstance);

// A hidden window of the utility class whose messages go to Method (or to
// DefWindowProc without one), for objects that need timers or posted
// messages without being controls.
HWND AllocateHWnd(TWndMethod Method);
// Destroys the window and frees its object instance.
void DeallocateHWnd(HWND Wnd);

// The program's module, as the framework's HInstance.
HINSTANCE HInstance();
