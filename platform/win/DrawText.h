// Formatted text in a rectangle: DrawTextA/W with line breaks, word wrapping,
// alignment, tab expansion, "&" prefixes and end ellipses, or only measuring
// (DT_CALCRECT). Right-to-left reading order changes nothing for the fonts
// this layer provides.
#pragma once

#include "platform/win/WinTypes.h"

// `count` characters, or up to the terminating NUL when it is -1. Returns the
// height of the text, or with DT_VCENTER or DT_BOTTOM the offset from the
// rectangle's top to the bottom of the drawn text; 0 on failure.
int DrawTextA(HDC dc, LPCSTR text, int count, LPRECT rect, UINT format);
int DrawTextW(HDC dc, LPCWSTR text, int count, LPRECT rect, UINT format);
