// SYSTEMTIME, the local time in it, and the calendar arithmetic the date
// controls share (the Gregorian calendar throughout).
#pragma once

#include "platform/win/WinTypes.h"

struct SYSTEMTIME {
    WORD wYear = 0;
    WORD wMonth = 0;
    // 0 is Sunday.
    WORD wDayOfWeek = 0;
    WORD wDay = 0;
    WORD wHour = 0;
    WORD wMinute = 0;
    WORD wSecond = 0;
    WORD wMilliseconds = 0;
};

void GetLocalTime(SYSTEMTIME* time);

int DaysInMonth(int year, int month);
// 0 is Sunday.
WORD DayOfWeekOf(int year, int month, int day);
// Year 1601 to 30827, month, day and time of day in range.
bool IsValidSystemTime(const SYSTEMTIME& time);
// The date part only, as a number that orders dates.
long DateKey(const SYSTEMTIME& time);
// The first day of the month `months` away from the month of `time`.
SYSTEMTIME FirstOfMonth(const SYSTEMTIME& time, int months = 0);
