// Painting: update regions, WM_PAINT (made only when the queue is otherwise
// empty), BeginPaint/EndPaint with WM_NCPAINT and WM_ERASEBKGND, RedrawWindow,
// scrolling a window's pixels, and the device contexts of windows. Every
// top-level window keeps its own pixels; a child draws on its top-level
// window's pixels, clipped to its place, its ancestors and its window region.
#pragma once

#include "platform/win/PixelSurface.h"
#include "platform/win/WinUser.h"
#include "platform/win/WindowObjects.h"

#include <memory>

// Rectangles and regions in client coordinates; null means the whole client area.
BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);
BOOL InvalidateRgn(HWND window, HRGN region, BOOL erase);
BOOL ValidateRect(HWND window, const RECT* rect);
BOOL ValidateRgn(HWND window, HRGN region);
BOOL GetUpdateRect(HWND window, LPRECT rect, BOOL erase);
int GetUpdateRgn(HWND window, HRGN region, BOOL erase);
HDC BeginPaint(HWND window, PAINTSTRUCT* paint);
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);
// Paints the window and its children now when they have something to paint.
BOOL UpdateWindow(HWND window);
BOOL RedrawWindow(HWND window, const RECT* rect, HRGN region, UINT flags);
// Moves the pixels of the client area (or of `scroll`) by dx, dy inside
// `clip`, and invalidates (and erases) what was uncovered. Without a scroll
// rectangle the child windows move too. The caret is taken off meanwhile.
BOOL ScrollWindow(HWND window, int dx, int dy, const RECT* scroll, const RECT* clip);
int ScrollWindowEx(HWND window, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN update,
                   LPRECT updateRect, UINT flags);
// DCX_WINDOW, DCX_CLIPCHILDREN, DCX_CLIPSIBLINGS, DCX_INTERSECTRGN and
// DCX_EXCLUDERGN (regions in screen coordinates), DCX_INTERSECTUPDATE,
// DCX_EXCLUDEUPDATE and DCX_VALIDATE. Released with ReleaseDC.
HDC GetDCEx(HWND window, HRGN clip, DWORD flags);

// A copy of the pixels of a window (or of its client area) as they are now.
std::shared_ptr<PixelSurface> CaptureWindowPixels(HWND window, bool clientOnly);
// The desktop as the windows make it up: the desktop colour, or the
// desktop's image where one is given, with every visible top-level window
// drawn over it, bottom first, inside its region.
void ComposeScreen(const TRect& rect, PixelSurface& screen, const PixelSurface* desktopImage = nullptr);

// ---- For the window units ----

// Lets GetDC and GetWindowDC of the graphics layer find windows' pixels.
void RegisterWindowDrawingAreas();

// The first window of the thread (parents first) that needs WM_PAINT; frames
// that alone need painting are painted on the way.
HWND WindowNeedingPaint(ThreadState& thread, HWND filter);
// Hands the changed pixels of the thread's top-level windows to the backend.
void PresentPendingPixels(ThreadState& thread);
// Invalidates what the window covers, in its parent (or, for a top-level
// window, nothing: its pixels are its own).
void InvalidateWindowArea(Window& window);
// Invalidates the window, its frame and its children, with erasing.
void InvalidateWholeWindow(Window& window);
void ResizeWindowSurface(Window& window);
// Marks a rectangle of the window (window coordinates) as changed for the backend.
void NoteChangedPixels(Window& window, const TRect& windowRect);
// The surface a window draws on and where its client area lies on it.
std::shared_ptr<PixelSurface> SurfaceOf(Window& window, TPoint& clientOrigin);
// The part of the client area that may be drawn on, in client coordinates.
Region VisibleClientRegion(const Window& window);
