// The up-down control class (msctls_updown32): two arrow buttons that step a
// position through a range (wrapping if asked), repeating and speeding up
// while held; the parent may change or refuse each step (UDN_DELTAPOS) and
// hears of it as WM_VSCROLL (WM_HSCROLL) with SB_THUMBPOSITION. A buddy
// window can show the position as its text and pass the arrow keys on.
#pragma once

#include "platform/win/CommCtrl.h"

void RegisterUpDownClass();
