// Region handles: rectangles, rounded rectangles, ellipses and polygons,
// combined, tested, moved and painted. The window layer reaches the region
// behind a handle through RegionOfHandle.
#pragma once

#include "platform/win/Region.h"
#include "platform/win/WinTypes.h"

HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const RECT* rect);
HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
HRGN CreateEllipticRgn(int left, int top, int right, int bottom);
HRGN CreateEllipticRgnIndirect(const RECT* rect);
HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode);
BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom);

// destination = first (mode) second; returns the result's kind or ERROR.
int CombineRgn(HRGN destination, HRGN first, HRGN second, int mode);
BOOL PtInRegion(HRGN region, int x, int y);
BOOL RectInRegion(HRGN region, const RECT* rect);
BOOL EqualRgn(HRGN first, HRGN second);
int OffsetRgn(HRGN region, int dx, int dy);
int GetRgnBox(HRGN region, LPRECT rect);

// The region is in logical coordinates.
BOOL FillRgn(HDC dc, HRGN region, HBRUSH brush);
// A frame `width` pixels wide at the left and right edges and `height` at the top and bottom.
BOOL FrameRgn(HDC dc, HRGN region, HBRUSH brush, int width, int height);

// A copy of the region behind a handle, or an empty region for an unknown handle.
Region RegionOfHandle(HRGN region);
HRGN CreateRegionHandle(const Region& region);
