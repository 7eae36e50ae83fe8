// The caret: one per thread, created hidden (hide count 1), shown by
// ShowCaret once every HideCaret has been matched, blinking by inverting its
// pixels every GetCaretBlinkTime() milliseconds of the backend's clock, and
// taken off while its window paints or scrolls.
#pragma once

#include "platform/win/WinUser.h"
#include "platform/win/WindowObjects.h"

// `bitmap` null gives a solid caret, (HBITMAP)1 a grey one, else the bitmap's
// image (its size wins over width and height).
BOOL CreateCaret(HWND window, HBITMAP bitmap, int width, int height);
BOOL DestroyCaret();
// A null window means the caret of any window of the calling thread.
BOOL ShowCaret(HWND window);
BOOL HideCaret(HWND window);
BOOL SetCaretPos(int x, int y);
BOOL GetCaretPos(LPPOINT point);

// ---- For the window units ----

void DestroyCaretOf(ThreadState& thread, HWND window);
// Takes the caret off the window's pixels until ResumeCaret (painting, scrolling).
void SuspendCaret(ThreadState& thread, HWND window);
void ResumeCaret(ThreadState& thread, HWND window);
// The caret moves with the pixels when it lies in the scrolled rectangle.
void MoveCaretWithScroll(ThreadState& thread, HWND window, const TRect& scrolled, int dx, int dy);
void ServiceCaretBlink(ThreadState& thread);
DWORD MillisecondsToCaretBlink(ThreadState& thread);
