#include "platform/win/SystemTime.h"

#include <ctime>

void GetLocalTime(SYSTEMTIME* time) {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    time->wYear = static_cast<WORD>(local.tm_year + 1900);
    time->wMonth = static_cast<WORD>(local.tm_mon + 1);
    time->wDayOfWeek = static_cast<WORD>(local.tm_wday);
    time->wDay = static_cast<WORD>(local.tm_mday);
    time->wHour = static_cast<WORD>(local.tm_hour);
    time->wMinute = static_cast<WORD>(local.tm_min);
    time->wSecond = static_cast<WORD>(local.tm_sec);
    time->wMilliseconds = static_cast<WORD>(now.tv_nsec / 1000000);
}

int DaysInMonth(int year, int month) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[(month - 1) % 12];
}

// Zeller's congruence, moved so that 0 is Sunday.
WORD DayOfWeekOf(int year, int month, int day) {
    if (month < 3) {
        month += 12;
        --year;
    }
    const int k = year % 100;
    const int j = year / 100;
    const int h = (day + 13 * (month + 1) / 5 + k + k / 4 + j / 4 + 5 * j) % 7;
    return static_cast<WORD>((h + 6) % 7);
}

bool IsValidSystemTime(const SYSTEMTIME& time) {
    return time.wYear >= 1601 && time.wYear <= 30827 && time.wMonth >= 1 && time.wMonth <= 12 && time.wDay >= 1 &&
           time.wDay <= DaysInMonth(time.wYear, time.wMonth) && time.wHour < 24 && time.wMinute < 60 &&
           time.wSecond < 60 && time.wMilliseconds < 1000;
}

long DateKey(const SYSTEMTIME& time) {
    return static_cast<long>(time.wYear) * 10000 + time.wMonth * 100 + time.wDay;
}

SYSTEMTIME FirstOfMonth(const SYSTEMTIME& time, int months) {
    const int index = time.wYear * 12 + (time.wMonth - 1) + months;
    SYSTEMTIME first;
    first.wYear = static_cast<WORD>(index / 12);
    first.wMonth = static_cast<WORD>(index % 12 + 1);
    first.wDay = 1;
    first.wDayOfWeek = DayOfWeekOf(first.wYear, first.wMonth, 1);
    return first;
}
