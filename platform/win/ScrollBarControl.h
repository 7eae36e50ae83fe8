// The system's SCROLLBAR control class: a horizontal or vertical scroll bar
// that is a window of its own, painted in the classic look. Its range, page
// and position are set with the SBM_ messages (or SetScrollInfo with SB_CTL);
// the mouse and the arrow keys send WM_HSCROLL or WM_VSCROLL to its parent
// with the control's handle, and the parent moves the thumb.
#pragma once

#include "platform/win/WinUser.h"

// ---- Scroll bar control styles --------------------------------------------------

constexpr DWORD SBS_HORZ = 0x0000;
constexpr DWORD SBS_VERT = 0x0001;
// At creation the bar takes the standard thickness at this edge of the rectangle given.
constexpr DWORD SBS_TOPALIGN = 0x0002;
constexpr DWORD SBS_LEFTALIGN = 0x0002;
constexpr DWORD SBS_BOTTOMALIGN = 0x0004;
constexpr DWORD SBS_RIGHTALIGN = 0x0004;

// The class name, as Windows spells it.
constexpr const WCHAR* ScrollBarClassName = u"ScrollBar";

// Registers the class once per process; later calls do nothing.
void RegisterScrollBarControlClass();
