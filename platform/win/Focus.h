// Keyboard focus and activation: SetFocus with WM_KILLFOCUS and WM_SETFOCUS,
// activating top-level windows with WM_NCACTIVATE, WM_ACTIVATE and (when the
// program as a whole gains or loses activation) WM_ACTIVATEAPP.
#pragma once

#include "platform/win/WinUser.h"
#include "platform/win/WindowObjects.h"

// Activates the window's top-level window first when it is not active.
HWND SetFocus(HWND window);
HWND GetFocus();
HWND SetActiveWindow(HWND window);
HWND GetActiveWindow();
HWND GetForegroundWindow();
BOOL SetForegroundWindow(HWND window);

// ---- For the window units ----

// `how` is WA_ACTIVE or WA_CLICKACTIVE; a null window deactivates the program.
void ActivateWindow(Window& window, WPARAM how);
void DeactivateThread(ThreadState& thread);
// Activation moves on when the active window is hidden.
void LeaveHiddenWindow(Window& window);
// Focus, capture and activation leave a window that is about to be destroyed.
void LeaveWindowBeforeDestruction(Window& window);
void LeaveDisabledWindow(Window& window);
// 1 for a minimised window: the high word of WM_ACTIVATE's wParam.
WORD IsIconicWindow(HWND window);
// Drops every reference the thread keeps to a destroyed window.
void ForgetWindowInput(ThreadState& thread, HWND window);
