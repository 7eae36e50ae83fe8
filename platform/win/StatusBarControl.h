// The status bar control class (msctls_statusbar32): a strip of parts along
// the bottom of its parent, each with a text (left, centred and right-aligned
// pieces split at tabs), a border style, an icon or owner drawing, a simple
// mode with one text of its own, and a size grip, in the classic look.
#pragma once

#include "platform/win/CommCtrl.h"

void RegisterStatusBarClass();
