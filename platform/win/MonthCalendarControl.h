// The month calendar class (SysMonthCal32): one month in a grid of six weeks
// from Sunday, led and followed by days of the months before and after, a
// title with buttons to the months on either side and, unless MCS_NOTODAY,
// a line with today's date. A click selects a day (MCN_SELCHANGE, then
// MCN_SELECT). With MCS_DAYSTATE the parent is asked which days to show bold
// (MCN_GETDAYSTATE) when the window is made and whenever other months come
// into view; MCM_SETDAYSTATE sets them from outside.
#pragma once

#include "platform/win/CommCtrl.h"

void RegisterMonthCalendarClass();
