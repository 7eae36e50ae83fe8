// The progress bar control class (msctls_progress32): a range, a position, a
// step, bar and background colours, drawn as blocks or as a smooth bar,
// horizontal or vertical, in the classic look.
#pragma once

#include "platform/win/CommCtrl.h"

void RegisterProgressBarClass();
