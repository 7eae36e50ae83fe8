// 8-bit text as the graphics calls receive it: Windows-1252 bytes turned into
// UTF-16 code units for drawing and measuring.
#pragma once

#include "platform/win/WinTypes.h"

// `count` bytes, or up to the terminating NUL when it is negative.
WideString WideFromAnsi(const char* text, int count);
WCHAR WideFromAnsiChar(Byte character);
