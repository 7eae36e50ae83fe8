// The tool bar control class (ToolbarWindow32): a row (or rows) of buttons
// with images from an image list and optional captions, separators, check
// buttons and groups of them, pressed with the mouse; a click reaches the
// parent as WM_COMMAND with the button's command id. Flat bars raise the
// button under the mouse.
#pragma once

#include "platform/win/CommCtrl.h"

void RegisterToolBarClass();
