// Lines, shapes and rectangle fills with the Windows pixel rules: right and
// bottom edges are exclusive, LineTo does not draw its end point, pens and
// shape fills go through the DC's mix mode (ROP2), rectangle fills do not.
#pragma once

#include "platform/win/WinTypes.h"

BOOL MoveToEx(HDC dc, int x, int y, LPPOINT previous);
BOOL LineTo(HDC dc, int x, int y);
BOOL GetCurrentPositionEx(HDC dc, LPPOINT position);
BOOL Polyline(HDC dc, const POINT* points, int count);
// Filled by the DC's polygon fill mode (ALTERNATE or WINDING), outlined by its pen.
BOOL Polygon(HDC dc, const POINT* points, int count);

// The shapes' bounding boxes exclude right and bottom; with the null pen the
// filled shape is one pixel smaller in width and height.
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
BOOL Ellipse(HDC dc, int left, int top, int right, int bottom);
// Counter-clockwise from the radial through (xStart, yStart) to the one
// through (xEnd, yEnd); equal radials give the whole ellipse.
BOOL Arc(HDC dc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);
BOOL Pie(HDC dc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);

// The brush may also be a system colour index plus one.
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
int FrameRect(HDC dc, const RECT* rect, HBRUSH brush);
BOOL InvertRect(HDC dc, const RECT* rect);
// Inverts every other pixel of the rectangle's border; a second call restores it.
BOOL DrawFocusRect(HDC dc, const RECT* rect);

// The colour set (CLR_INVALID outside the clip region).
COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);
BOOL SetPixelV(HDC dc, int x, int y, COLORREF color);
// CLR_INVALID outside the clip region.
COLORREF GetPixel(HDC dc, int x, int y);
