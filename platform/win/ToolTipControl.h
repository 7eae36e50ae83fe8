// The tooltip control class (tooltips_class32): a small pop-up window that
// shows the text of a tool (a window or a rectangle of one) when the mouse
// rests on it, from the mouse messages relayed to it or taken from the tool
// window itself; texts may be asked of the tool's window (TTN_GETDISPINFO),
// and a tip may also be shown and moved at will (tracking).
#pragma once

#include "platform/win/CommCtrl.h"

void RegisterToolTipClass();
