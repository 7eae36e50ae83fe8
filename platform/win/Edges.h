// The classic three-dimensional look: DrawEdge with every BDR_ and BF_
// combination, and DrawFrameControl for the push button and the menu glyphs.
#pragma once

#include "platform/win/WinTypes.h"

// Outer then inner layer, one pixel each; top and left in the lighter colour
// of a raised edge, bottom and right owning the corners they share with them.
// BF_ADJUST shrinks `rect` by the layers drawn.
BOOL DrawEdge(HDC dc, LPRECT rect, UINT edge, UINT flags);
// DFC_BUTTON with DFCS_BUTTONPUSH (DFCS_PUSHED, DFCS_FLAT, DFCS_MONO,
// DFCS_ADJUSTRECT); DFC_MENU with DFCS_MENUCHECK, DFCS_MENUBULLET,
// DFCS_MENUARROW and DFCS_MENUARROWRIGHT, drawn black on white so that the
// result serves as a mask. Other kinds return FALSE.
BOOL DrawFrameControl(HDC dc, LPRECT rect, UINT type, UINT state);
