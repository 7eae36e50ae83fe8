// The mouse: capture (SetCapture with WM_CAPTURECHANGED), the way a raw mouse
// event becomes a client or non-client message for the window under the
// pointer (WM_NCHITTEST, WM_SETCURSOR, WM_MOUSEACTIVATE, double clicks for
// CS_DBLCLKS classes within the system's time and distance), the wheel (sent
// to the focus window), and TrackMouseEvent's WM_MOUSELEAVE and WM_MOUSEHOVER.
#pragma once

#include "platform/win/WinUser.h"
#include "platform/win/WindowObjects.h"

HWND SetCapture(HWND window);
BOOL ReleaseCapture();
HWND GetCapture();
BOOL TrackMouseEvent(TRACKMOUSEEVENT* request);

// ---- For the window units ----

// Finds the target of a queued mouse event; false drops it.
bool ResolveMouseInput(ThreadState& thread, InputEvent& event);
// Hooks and, when removing, the side effects; false when the event is discarded.
bool AcceptMouseInput(ThreadState& thread, InputEvent& event, bool removing);
void ServiceMouseHover(ThreadState& thread);
DWORD MillisecondsToMouseHover(ThreadState& thread);
// The MK_ flags of the buttons and keys held now.
WPARAM MouseKeyFlags();
