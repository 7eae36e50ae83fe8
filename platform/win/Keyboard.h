// The keyboard: key state (per thread as of the last message retrieved, and
// "asynchronous" as the keys are now), keybd_event, the way a raw key event
// becomes WM_KEYDOWN or WM_SYSKEYDOWN for the focus window, and
// TranslateMessage, which posts WM_CHAR or WM_SYSCHAR with the characters the
// key types (the backend's, or those of the United States layout).
#pragma once

#include "platform/win/WinUser.h"
#include "platform/win/WindowObjects.h"

// High bit: down; low bit: toggled (an odd number of presses).
SHORT GetKeyState(int virtualKey);
// High bit: down now; low bit: pressed since the previous call.
SHORT GetAsyncKeyState(int virtualKey);
BOOL GetKeyboardState(BYTE* state);
BOOL SetKeyboardState(const BYTE* state);
void keybd_event(BYTE virtualKey, BYTE scanCode, DWORD flags, ULONG_PTR extraInfo);
BOOL TranslateMessage(const MSG* msg);

constexpr UINT MAPVK_VK_TO_VSC = 0;
constexpr UINT MAPVK_VSC_TO_VK = 1;
constexpr UINT MAPVK_VK_TO_CHAR = 2;
// The United States layout's scan codes and unshifted characters.
UINT MapVirtualKeyA(UINT code, UINT mapType);
UINT MapVirtualKeyW(UINT code, UINT mapType);
// The key (low byte) and shift state (high byte: 1 Shift, 2 Ctrl) that types
// the character on the United States layout; -1 when none does.
SHORT VkKeyScanA(CHAR character);
SHORT VkKeyScanW(WCHAR character);
// The name of the key of a key message's data (scan code in bits 16 to 23,
// extended key in bit 24; bit 25 makes the left and right Shift, Ctrl and
// Alt one key), as the United States layout names it: "Esc", "Page Up",
// "Num 7", "A". Copies at most size - 1 characters and a terminating zero;
// returns the characters copied, 0 for a key without a name.
int GetKeyNameTextW(LONG keyData, LPWSTR buffer, int size);
int GetKeyNameTextA(LONG keyData, LPSTR buffer, int size);

// ---- For the window units ----

bool ResolveKeyboardInput(ThreadState& thread, InputEvent& event);
bool AcceptKeyboardInput(ThreadState& thread, InputEvent& event, bool removing);
void SetAsyncKeyDown(UINT virtualKey, bool down);
bool IsAsyncKeyDown(UINT virtualKey);
