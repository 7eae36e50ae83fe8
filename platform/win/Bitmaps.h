// Bitmaps: colour bitmaps of 32 bits per pixel, monochrome bitmaps of one bit,
// 32-bit DIB sections, and the copying of DIB scan lines in and out. The pixel
// surface behind a bitmap is open to the layers above (image lists, the
// framework's bitmap, saving to files).
#pragma once

#include "platform/win/PixelSurface.h"
#include "platform/win/WinTypes.h"

#include <memory>

// 1 bit per pixel gives a monochrome bitmap, 24 or 32 a colour one; a zero
// width or height gives the shared 1 x 1 monochrome bitmap. `bits` rows are
// padded to two bytes.
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitCount, const void* bits);
HBITMAP CreateBitmapIndirect(const BITMAP* bitmap);
// Monochrome when the DC draws on a monochrome bitmap (as a new memory DC does).
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
// 32 bits per pixel only; `bits` receives the pixels, which stay valid until
// the bitmap is deleted.
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                         DWORD offset);
// Fills in the header when `bits` is null; copies scan lines out at 1, 24 or 32 bits.
int GetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits, BITMAPINFO* info, UINT usage);
// Copies scan lines in from 1, 4, 8, 16, 24 or 32 bits, or run-length encoded ones.
int SetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, const void* bits, const BITMAPINFO* info,
              UINT usage);

// The pixels of a bitmap, shared with it; null for an unknown handle.
std::shared_ptr<PixelSurface> BitmapSurface(HBITMAP bitmap);
// A bitmap handle that draws on the given surface.
HBITMAP CreateBitmapFromSurface(std::shared_ptr<PixelSurface> surface);
