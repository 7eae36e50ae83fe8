// Text output: TextOut and ExtTextOut with the DC's font, colours, background
// mode, text alignment and extra character spacing. Glyphs are rendered once
// per font and then drawn from a cache.
#pragma once

#include "platform/win/WinTypes.h"

BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int count);
BOOL TextOutW(HDC dc, int x, int y, LPCWSTR text, int count);
// ETO_OPAQUE fills `rect` with the background colour, ETO_CLIPPED clips the
// text to it; `distances` gives each character's advance (the DC's extra
// spacing is then not added).
BOOL ExtTextOutA(HDC dc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT count,
                 const INT* distances);
BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count,
                 const INT* distances);
