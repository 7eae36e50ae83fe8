// Window procedures as tokens: a plain function or a bound method becomes a
// WNDPROC value that can be stored in a window, compared and called. A window's
// procedure slot also remembers whether it was installed through an ANSI or a
// wide call; reading it through the other kind gives a conversion handle that
// stands for the pair, as Windows hands out.
#pragma once

#include "platform/win/WinUser.h"

// Whether a procedure expects ANSI (Windows-1252) or UTF-16 text in its messages.
enum class CharSet { Ansi, Wide };

// The same token for the same function, for the life of the process.
WNDPROC WindowProcFromFunction(WindowProcFunction function);
// A token that calls `method`; it lives until FreeWindowProcObject.
WNDPROC CreateWindowProcObject(WindowProcMethod method);
void FreeWindowProcObject(WNDPROC procedure);

// ---- For the window units ----

// What a window or class keeps: the token and the charset of the call that installed it.
struct ProcedureSlot {
    WNDPROC procedure = nullptr;
    CharSet charSet = CharSet::Wide;
};

// The value GetWindowLongPtrA/W (or GetClassLongPtrA/W) reports for a slot:
// the token itself when the charsets match, else the slot's conversion handle.
WNDPROC ProcedureAsSeenBy(const ProcedureSlot& slot, CharSet reader);
// The slot that SetWindowLongPtrA/W installs for a value: a conversion handle
// brings back its original token and charset, any other token takes `writer`.
ProcedureSlot ProcedureSetBy(WNDPROC value, CharSet writer);
// Calls a token (a conversion handle calls its original) without converting.
LRESULT InvokeProcedure(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The original token and charset of a conversion handle; false for other tokens.
bool IsConversionHandle(WNDPROC procedure, ProcedureSlot& original);
bool IsValidProcedure(WNDPROC procedure);
