// Moving several windows at once (BeginDeferWindowPos, DeferWindowPos,
// EndDeferWindowPos) and the animation of a window moving between two
// rectangles.
#pragma once

#include "platform/win/WinTypes.h"

struct DeferredWindowPositions;
using HDWP = DeferredWindowPositions*;

// An empty set of moves, with room for `count` of them (more may follow);
// null with ERROR_INVALID_PARAMETER for a negative count.
HDWP BeginDeferWindowPos(int count);
// Adds one move with SetWindowPos's parameters and returns the set (the
// handle to use from now on). For an unknown window the set is freed and
// the result is null, with ERROR_INVALID_WINDOW_HANDLE.
HDWP DeferWindowPos(HDWP positions, HWND window, HWND insertAfter, int x, int y, int width, int height,
                    UINT flags);
// Makes every move, in the order given, and frees the set; FALSE when any
// move failed or the handle is unknown.
BOOL EndDeferWindowPos(HDWP positions);

constexpr int IDANI_OPEN = 1;
constexpr int IDANI_CAPTION = 3;

// IDANI_CAPTION flies a title bar bearing `window`'s text from `from` to `to`
// over the other windows, in frames a few milliseconds apart (Sleep, so that
// stepped time runs through it at once), and takes it away again before it
// returns; the bar never takes the activation. Other animations draw nothing,
// as on the system. FALSE with ERROR_INVALID_PARAMETER without both rectangles.
BOOL DrawAnimatedRects(HWND window, int animation, const RECT* from, const RECT* to);
// The class of the bar that the caption animation flies.
inline constexpr const char16_t* AnimatedCaptionClass = u"AnimatedCaption";
