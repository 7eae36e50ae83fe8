// Graphics objects and device contexts with the Windows names and behaviour:
// pens, brushes, fonts, bitmaps, palettes and regions as handles; memory,
// window and screen device contexts with their state, origins and clipping.
// The drawing, text, bitmap and region calls live in their own units.
#pragma once

#include "platform/win/PixelSurface.h"
#include "platform/win/Region.h"
#include "platform/win/WinTypes.h"

#include <functional>
#include <memory>

// ---- Objects ----------------------------------------------------------------

HPEN CreatePen(int style, int width, COLORREF color);
HPEN CreatePenIndirect(const LOGPEN* logPen);
HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreateHatchBrush(int hatch, COLORREF color);
// The brush copies the bitmap, which may be deleted afterwards.
HBRUSH CreatePatternBrush(HBITMAP bitmap);
HBRUSH CreateBrushIndirect(const LOGBRUSH* logBrush);
HGDIOBJ GetStockObject(int index);

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
// Stock objects are never deleted; an object still selected into a device
// context is deleted when it is deselected.
BOOL DeleteObject(HGDIOBJ object);
int GetObjectA(HGDIOBJ object, int size, LPVOID buffer);
int GetObjectW(HGDIOBJ object, int size, LPVOID buffer);
DWORD GetObjectType(HGDIOBJ object);
HGDIOBJ GetCurrentObject(HDC dc, UINT type);

// The device is true-colour: palettes only resolve PALETTEINDEX colours.
HPALETTE CreatePalette(const LOGPALETTE* logPalette);
HPALETTE SelectPalette(HDC dc, HPALETTE palette, BOOL forceBackground);
UINT RealizePalette(HDC dc);
UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, PALETTEENTRY* entries);

// ---- Device contexts --------------------------------------------------------

// A memory DC with the 1 x 1 monochrome default bitmap selected.
HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
int SaveDC(HDC dc);
BOOL RestoreDC(HDC dc, int savedDC);
// A window's client area (GetDC) or whole window (GetWindowDC); null gives the screen.
HDC GetDC(HWND window);
HDC GetWindowDC(HWND window);
int ReleaseDC(HWND window, HDC dc);
HWND WindowFromDC(HDC dc);

COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
int SetBkMode(HDC dc, int mode);
int GetBkMode(HDC dc);
int SetROP2(HDC dc, int mixMode);
int GetROP2(HDC dc);
int SetPolyFillMode(HDC dc, int mode);
int GetPolyFillMode(HDC dc);
int SetStretchBltMode(HDC dc, int mode);
int GetStretchBltMode(HDC dc);
UINT SetTextAlign(HDC dc, UINT align);
UINT GetTextAlign(HDC dc);
int SetTextCharacterExtra(HDC dc, int extra);
int GetTextCharacterExtra(HDC dc);
// Only MM_TEXT: one logical unit is one pixel.
int SetMapMode(HDC dc, int mode);
int GetMapMode(HDC dc);

BOOL SetWindowOrgEx(HDC dc, int x, int y, LPPOINT previous);
BOOL GetWindowOrgEx(HDC dc, LPPOINT origin);
BOOL OffsetWindowOrgEx(HDC dc, int dx, int dy, LPPOINT previous);
BOOL SetViewportOrgEx(HDC dc, int x, int y, LPPOINT previous);
BOOL GetViewportOrgEx(HDC dc, LPPOINT origin);
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, LPPOINT previous);
BOOL SetBrushOrgEx(HDC dc, int x, int y, LPPOINT previous);
BOOL GetBrushOrgEx(HDC dc, LPPOINT origin);
BOOL LPtoDP(HDC dc, LPPOINT points, int count);
BOOL DPtoLP(HDC dc, LPPOINT points, int count);

// BITSPIXEL is 1 for a memory DC drawing on a monochrome bitmap, the depth
// given to SetDeviceColourDepth when there is one, 32 otherwise.
int GetDeviceCaps(HDC dc, int index);
// Makes a DC report fewer colour bits (8, say), as one of an old display
// would, so that code that leaves out effects on such displays can be tried;
// 0 returns to the DC's own depth. Drawing itself is unchanged.
BOOL SetDeviceColourDepth(HDC dc, int bitsPerPixel);
// The colour the DC can show nearest to `color`: black or white on a
// monochrome bitmap, the colour itself otherwise; CLR_INVALID for an unknown DC.
COLORREF GetNearestColor(HDC dc, COLORREF color);
BOOL GdiFlush();

// ---- Clipping ---------------------------------------------------------------
// Clip regions are given in device coordinates, clip rectangles in logical ones.

int SelectClipRgn(HDC dc, HRGN region);
int ExtSelectClipRgn(HDC dc, HRGN region, int mode);
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom);
int OffsetClipRgn(HDC dc, int dx, int dy);
int GetClipBox(HDC dc, LPRECT rect);
// 1 with the clip region copied into `region`, 0 when the DC has none, -1 on error.
int GetClipRgn(HDC dc, HRGN region);
BOOL PtVisible(HDC dc, int x, int y);
BOOL RectVisible(HDC dc, const RECT* rect);

// ---- Surfaces of windows and the screen ---------------------------------------
// The window layer tells the graphics layer where a window's pixels are; the
// backend tells it how to read the screen.

struct WindowDrawingArea {
    std::shared_ptr<PixelSurface> surface;
    // Where the DC's point (0, 0) lies on the surface.
    TPoint origin;
    // What may be drawn on, in the DC's coordinates.
    Region visible;
};
// Fills `area` for the window's client area or, with `wholeWindow`, the whole window.
using WindowDrawingAreaLookup = std::function<bool(HWND window, bool wholeWindow, WindowDrawingArea& area)>;
// Returns the lookup it replaces, so that a stand-in can give it back.
WindowDrawingAreaLookup SetWindowDrawingAreaLookup(WindowDrawingAreaLookup lookup);
// A DC on a drawing area, as BeginPaint gives one; freed with DeleteDC.
HDC CreateDrawingAreaDC(HWND window, const WindowDrawingArea& area);

// Copies the screen's pixels of `rect` into the same place of `screen`.
using ScreenPixelReader = std::function<void(const TRect& rect, PixelSurface& screen)>;
// Returns the reader it replaces, so that a stand-in can give it back.
ScreenPixelReader SetScreenPixelReader(ScreenPixelReader reader, int screenWidth, int screenHeight);
SIZE ScreenSize();
