// The tab control class (SysTabControl32): a row (or rows) of tabs or
// buttons above (or below) a framed display area; the user picks a tab with
// the mouse or the arrow keys, and the parent may refuse the change
// (TCN_SELCHANGING) before it hears of it (TCN_SELCHANGE). Tabs that do not
// fit on one row are scrolled with two arrow buttons.
#pragma once

#include "platform/win/CommCtrl.h"

void RegisterTabControlClass();
