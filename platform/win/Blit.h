// Block transfers: PatBlt, BitBlt and StretchBlt with any ternary raster
// operation, and the Windows rules for copying between colour and monochrome
// surfaces: to monochrome, source pixels of the source DC's background colour
// become white and all others black; from monochrome, black takes the
// destination DC's text colour and white its background colour.
#pragma once

#include "platform/win/WinTypes.h"

BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop);
BOOL BitBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
            DWORD rop);
// Widths or heights of different signs mirror the image; the DC's stretch mode
// decides how shrinking merges pixels (BLACKONWHITE ANDs, WHITEONBLACK ORs,
// COLORONCOLOR drops, HALFTONE averages).
BOOL StretchBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                int sourceWidth, int sourceHeight, DWORD rop);
