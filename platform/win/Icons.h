// Icons as the graphics layer draws them: an AND mask and a colour image
// (or, for a monochrome icon, one mask holding the AND and XOR halves).
#pragma once

#include "platform/win/WinTypes.h"

// The bitmaps are copied; the caller keeps and deletes its own.
HICON CreateIconIndirect(const ICONINFO* info);
// `andBits` is a monochrome image, `xorBits` one of `bitsPerPixel` (1, 24 or
// 32) bits; rows are padded to two bytes. The instance is not used.
HICON CreateIcon(HANDLE instance, int width, int height, BYTE planes, BYTE bitsPerPixel, const BYTE* andBits,
                 const BYTE* xorBits);
HICON CopyIcon(HICON icon);
// Fills `info` with new copies of the icon's bitmaps, which the caller deletes.
BOOL GetIconInfo(HICON icon, ICONINFO* info);
BOOL DestroyIcon(HICON icon);
// Sizes of 0 take the icon's own size (with DI_DEFAULTSIZE, 32 x 32); a brush
// fills the area first; DI_MASK ANDs the mask, DI_IMAGE XORs (or, without
// DI_MASK, copies) the image.
BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int width, int height, UINT step, HBRUSH background,
                UINT flags);
