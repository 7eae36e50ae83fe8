// The input method: contexts that work and hold the composition window and
// font the program sets, and report no composition unless the backend
// delivered one (DeliverComposition), whose result then arrives as
// WM_IME_STARTCOMPOSITION, WM_IME_COMPOSITION and WM_IME_ENDCOMPOSITION.
#pragma once

#include "platform/win/WinUser.h"

HIMC ImmGetContext(HWND window);
BOOL ImmReleaseContext(HWND window, HIMC context);
// Bytes (ANSI) or bytes of UTF-16 (wide) of the string asked for; with a zero
// size, the size needed. 0 when there is none; IMM_ERROR_NODATA for other kinds.
LONG ImmGetCompositionStringA(HIMC context, DWORD index, LPVOID buffer, DWORD size);
LONG ImmGetCompositionStringW(HIMC context, DWORD index, LPVOID buffer, DWORD size);
BOOL ImmSetCompositionWindow(HIMC context, const COMPOSITIONFORM* form);
BOOL ImmGetCompositionWindow(HIMC context, COMPOSITIONFORM* form);
BOOL ImmSetCompositionFontA(HIMC context, const LOGFONTA* font);
BOOL ImmSetCompositionFontW(HIMC context, const LOGFONTW* font);
BOOL ImmGetOpenStatus(HIMC context);
BOOL ImmSetOpenStatus(HIMC context, BOOL open);

// ---- For the window units ----

// The characters of a finished composition, for DefWindowProc's WM_IME_COMPOSITION.
WideString CompositionResultOf(HWND window);
