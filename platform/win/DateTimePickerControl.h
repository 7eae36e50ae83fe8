// The date and time picker class (SysDateTimePick32): one date and time in
// the user locale's short or long date or time format, with an optional
// check box (DTS_SHOWNONE) that tells whether there is a date at all.
// DTM_GETSYSTEMTIME and DTM_SETSYSTEMTIME read and write it; the user's
// changes (the check box by mouse or space bar, the day by the up and down
// arrow keys) reach the parent as DTN_DATETIMECHANGE. There is no drop-down
// calendar: the button is drawn and does nothing.
#pragma once

#include "platform/win/CommCtrl.h"

void RegisterDateTimePickerClass();

// The text the picker shows for `time` with its style's format (DTS_ bits).
WideString FormatPickerTime(const SYSTEMTIME& time, DWORD style);
