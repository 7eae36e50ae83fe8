// The pager class (SysPager): a window that shows part of one child window
// wider (PGS_HORZ) or taller (PGS_VERT) than itself, with a button at either
// end that scrolls the child. The parent gives the child's full size
// (PGN_CALCSIZE) whenever the pager lays out and may change each scroll's
// distance (PGN_SCROLL). The buttons are shown only when the child does not
// fit; scrolling while the mouse rests on a button (PGS_AUTOSCROLL) and
// drag-and-drop scrolling are not built.
#pragma once

#include "platform/win/CommCtrl.h"

void RegisterPageScrollerClass();
