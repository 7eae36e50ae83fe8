// The system colours of the classic Windows scheme and their brushes.
#pragma once

#include "platform/win/WinTypes.h"

// COLOR_SCROLLBAR (0) .. COLOR_MENUBAR (30); other indexes give 0.
DWORD GetSysColor(int index);
// A shared brush of the colour, never deleted; null for an unknown index.
HBRUSH GetSysColorBrush(int index);
