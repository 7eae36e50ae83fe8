// What the program learns about the system: metrics and parameters with the
// classic Windows values at 96 dots per inch, the version it reports, memory,
// user and computer names, the locale (English, United States) and the beep.
// The values a test or the backend may fix have setters at the end.
#pragma once

#include "platform/win/WinTypes.h"

#include <cstddef>
#include <functional>
#include <optional>

using LCID = DWORD;
using LANGID = WORD;
using LCTYPE = DWORD;
using SIZE_T = std::size_t;
using LPDWORD = DWORD*;
struct HKL__;
using HKL = HKL__*;

// ---- Metrics --------------------------------------------------------------------

constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXVSCROLL = 2;
constexpr int SM_CYHSCROLL = 3;
constexpr int SM_CYCAPTION = 4;
constexpr int SM_CXBORDER = 5;
constexpr int SM_CYBORDER = 6;
constexpr int SM_CXDLGFRAME = 7;
constexpr int SM_CYDLGFRAME = 8;
constexpr int SM_CXFIXEDFRAME = SM_CXDLGFRAME;
constexpr int SM_CYFIXEDFRAME = SM_CYDLGFRAME;
constexpr int SM_CYVTHUMB = 9;
constexpr int SM_CXHTHUMB = 10;
constexpr int SM_CXICON = 11;
constexpr int SM_CYICON = 12;
constexpr int SM_CXCURSOR = 13;
constexpr int SM_CYCURSOR = 14;
constexpr int SM_CYMENU = 15;
constexpr int SM_CXFULLSCREEN = 16;
constexpr int SM_CYFULLSCREEN = 17;
constexpr int SM_MOUSEPRESENT = 19;
constexpr int SM_CYVSCROLL = 20;
constexpr int SM_CXHSCROLL = 21;
constexpr int SM_SWAPBUTTON = 23;
constexpr int SM_CXMIN = 28;
constexpr int SM_CYMIN = 29;
constexpr int SM_CXSIZE = 30;
constexpr int SM_CYSIZE = 31;
constexpr int SM_CXFRAME = 32;
constexpr int SM_CYFRAME = 33;
constexpr int SM_CXSIZEFRAME = SM_CXFRAME;
constexpr int SM_CYSIZEFRAME = SM_CYFRAME;
constexpr int SM_CXMINTRACK = 34;
constexpr int SM_CYMINTRACK = 35;
constexpr int SM_CXDOUBLECLK = 36;
constexpr int SM_CYDOUBLECLK = 37;
constexpr int SM_DBCSENABLED = 42;
constexpr int SM_CMOUSEBUTTONS = 43;
constexpr int SM_CXEDGE = 45;
constexpr int SM_CYEDGE = 46;
constexpr int SM_CXSMICON = 49;
constexpr int SM_CYSMICON = 50;
constexpr int SM_CXMENUSIZE = 54;
constexpr int SM_CYMENUSIZE = 55;
constexpr int SM_CXMAXIMIZED = 61;
constexpr int SM_CYMAXIMIZED = 62;
constexpr int SM_CXDRAG = 68;
constexpr int SM_CYDRAG = 69;
constexpr int SM_CXMENUCHECK = 71;
constexpr int SM_CYMENUCHECK = 72;
constexpr int SM_MIDEASTENABLED = 74;
constexpr int SM_MOUSEWHEELPRESENT = 75;
constexpr int SM_XVIRTUALSCREEN = 76;
constexpr int SM_YVIRTUALSCREEN = 77;
constexpr int SM_CXVIRTUALSCREEN = 78;
constexpr int SM_CYVIRTUALSCREEN = 79;
constexpr int SM_CMONITORS = 80;
constexpr int SM_SAMEDISPLAYFORMAT = 81;
constexpr int SM_CXFOCUSBORDER = 83;
constexpr int SM_CYFOCUSBORDER = 84;

// 0 for an index it does not know, as Windows answers.
int GetSystemMetrics(int index);

UINT GetDoubleClickTime();
UINT GetCaretBlinkTime();

// ---- System parameters ----------------------------------------------------------

constexpr UINT SPI_GETNONCLIENTMETRICS = 0x0029;
constexpr UINT SPI_GETWORKAREA = 0x0030;
constexpr UINT SPI_GETWHEELSCROLLLINES = 0x0068;

struct NONCLIENTMETRICSA {
    UINT cbSize = 0;
    int iBorderWidth = 0;
    int iScrollWidth = 0;
    int iScrollHeight = 0;
    int iCaptionWidth = 0;
    int iCaptionHeight = 0;
    LOGFONTA lfCaptionFont;
    int iSmCaptionWidth = 0;
    int iSmCaptionHeight = 0;
    LOGFONTA lfSmCaptionFont;
    int iMenuWidth = 0;
    int iMenuHeight = 0;
    LOGFONTA lfMenuFont;
    LOGFONTA lfStatusFont;
    LOGFONTA lfMessageFont;
    // Present only when cbSize counts it (newer callers).
    int iPaddedBorderWidth = 0;
};

struct NONCLIENTMETRICSW {
    UINT cbSize = 0;
    int iBorderWidth = 0;
    int iScrollWidth = 0;
    int iScrollHeight = 0;
    int iCaptionWidth = 0;
    int iCaptionHeight = 0;
    LOGFONTW lfCaptionFont;
    int iSmCaptionWidth = 0;
    int iSmCaptionHeight = 0;
    LOGFONTW lfSmCaptionFont;
    int iMenuWidth = 0;
    int iMenuHeight = 0;
    LOGFONTW lfMenuFont;
    LOGFONTW lfStatusFont;
    LOGFONTW lfMessageFont;
    int iPaddedBorderWidth = 0;
};

// SPI_GETWHEELSCROLLLINES (UINT*), SPI_GETWORKAREA (RECT*) and
// SPI_GETNONCLIENTMETRICS (the structure, with cbSize set with or without
// iPaddedBorderWidth); FALSE with ERROR_INVALID_PARAMETER otherwise.
BOOL SystemParametersInfoA(UINT action, UINT uiParam, LPVOID pvParam, UINT winIni);
BOOL SystemParametersInfoW(UINT action, UINT uiParam, LPVOID pvParam, UINT winIni);

// ---- Version --------------------------------------------------------------------

constexpr DWORD VER_PLATFORM_WIN32s = 0;
constexpr DWORD VER_PLATFORM_WIN32_WINDOWS = 1;
constexpr DWORD VER_PLATFORM_WIN32_NT = 2;
constexpr BYTE VER_NT_WORKSTATION = 1;

struct OSVERSIONINFOA {
    DWORD dwOSVersionInfoSize = 0;
    DWORD dwMajorVersion = 0;
    DWORD dwMinorVersion = 0;
    DWORD dwBuildNumber = 0;
    DWORD dwPlatformId = 0;
    CHAR szCSDVersion[128] = {};
};
static_assert(sizeof(OSVERSIONINFOA) == 148);

struct OSVERSIONINFOW {
    DWORD dwOSVersionInfoSize = 0;
    DWORD dwMajorVersion = 0;
    DWORD dwMinorVersion = 0;
    DWORD dwBuildNumber = 0;
    DWORD dwPlatformId = 0;
    WCHAR szCSDVersion[128] = {};
};

struct OSVERSIONINFOEXA : OSVERSIONINFOA {
    WORD wServicePackMajor = 0;
    WORD wServicePackMinor = 0;
    WORD wSuiteMask = 0;
    BYTE wProductType = 0;
    BYTE wReserved = 0;
};

struct OSVERSIONINFOEXW : OSVERSIONINFOW {
    WORD wServicePackMajor = 0;
    WORD wServicePackMinor = 0;
    WORD wSuiteMask = 0;
    BYTE wProductType = 0;
    BYTE wReserved = 0;
};
static_assert(sizeof(OSVERSIONINFOEXA) == 156 && sizeof(OSVERSIONINFOEXW) == 284);

// dwOSVersionInfoSize must name the plain or the extended structure; FALSE
// with ERROR_INSUFFICIENT_BUFFER otherwise.
BOOL GetVersionExA(OSVERSIONINFOA* info);
BOOL GetVersionExW(OSVERSIONINFOW* info);

// ---- Memory, user and computer --------------------------------------------------

struct MEMORYSTATUS {
    DWORD dwLength = 0;
    DWORD dwMemoryLoad = 0;
    SIZE_T dwTotalPhys = 0;
    SIZE_T dwAvailPhys = 0;
    SIZE_T dwTotalPageFile = 0;
    SIZE_T dwAvailPageFile = 0;
    SIZE_T dwTotalVirtual = 0;
    SIZE_T dwAvailVirtual = 0;
};

// From the kernel's figures: physical memory and its available part, memory
// plus swap as the page file, the process's address space. Sets dwLength.
void GlobalMemoryStatus(MEMORYSTATUS* status);

// *size counts characters with the terminator: on success the name's, on
// failure (ERROR_INSUFFICIENT_BUFFER) the size needed.
BOOL GetUserNameA(LPSTR buffer, LPDWORD size);
BOOL GetUserNameW(LPWSTR buffer, LPDWORD size);

constexpr DWORD MAX_COMPUTERNAME_LENGTH = 15;
// The host name as a Windows computer name (its first label, upper case, at
// most 15 characters). *size counts characters: on success the name's without
// its terminator, on failure (ERROR_BUFFER_OVERFLOW) the size needed with it.
BOOL GetComputerNameA(LPSTR buffer, LPDWORD size);
BOOL GetComputerNameW(LPWSTR buffer, LPDWORD size);

BOOL MessageBeep(UINT type);

// ---- Locale and code pages ------------------------------------------------------

constexpr LCID LOCALE_NEUTRAL = 0x0000;
constexpr LCID LOCALE_USER_DEFAULT = 0x0400;
constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x0800;

constexpr LCTYPE LOCALE_NOUSEROVERRIDE = 0x80000000;
constexpr LCTYPE LOCALE_SCURRENCY = 0x00000014;
constexpr LCTYPE LOCALE_SMONDECIMALSEP = 0x00000016;
constexpr LCTYPE LOCALE_SMONTHOUSANDSEP = 0x00000017;
constexpr LCTYPE LOCALE_SMONGROUPING = 0x00000018;
constexpr LCTYPE LOCALE_ICURRDIGITS = 0x00000019;
constexpr LCTYPE LOCALE_ICURRENCY = 0x0000001B;
constexpr LCTYPE LOCALE_INEGCURR = 0x0000001C;
constexpr LCTYPE LOCALE_ILZERO = 0x00000012;
constexpr LCTYPE LOCALE_IDEFAULTANSICODEPAGE = 0x00001004;

// The user, system and thread locale: English (United States).
LCID GetUserDefaultLCID();
LCID GetSystemDefaultLCID();
LCID GetThreadLocale();

// The code pages come from the locale's language; the other values are the
// user locale's for every locale. Returns the characters written with the
// terminator (the size needed when size is 0); 0 with
// ERROR_INSUFFICIENT_BUFFER or ERROR_INVALID_FLAGS for an unknown type.
int GetLocaleInfoA(LCID locale, LCTYPE type, LPSTR buffer, int size);
int GetLocaleInfoW(LCID locale, LCTYPE type, LPWSTR buffer, int size);

// The ANSI code page: 1252.
UINT GetACP();
// The input language in the low word, the layout in the high word; the same
// for every thread.
HKL GetKeyboardLayout(DWORD threadId);

// ---- Values fixed by the backend or by tests ------------------------------------
// The screen size is the one the graphics layer knows (SetScreenPixelReader).

// The part of the screen windows are maximised into; an empty rectangle
// (the default) means the whole screen.
void SetWorkArea(const RECT& area);
// The version GetVersionEx reports: NT 5.1, build 2600, by default.
void SetReportedVersion(DWORD platformId, DWORD majorVersion, DWORD minorVersion, DWORD buildNumber);
// The service-pack text (szCSDVersion) GetVersionEx reports, at most 127
// characters. By default the kernel's name and release, as "Linux 6.1.0", so
// that a program showing the system version tells the system as it is.
void SetReportedServicePack(const WideString& text);
// A fixed answer for GlobalMemoryStatus (dwLength is set all the same);
// none returns to the kernel's figures.
void SetReportedMemoryStatus(const std::optional<MEMORYSTATUS>& status);
// SM_DBCSENABLED and SM_MIDEASTENABLED (both off by default).
void SetSystemLocaleFlags(bool farEast, bool middleEast);
// The input language of GetKeyboardLayout (0x0409 by default).
void SetKeyboardLanguage(LANGID language);
// What MessageBeep does; by default nothing (a headless system has no sound).
using BeepHandler = std::function<void(UINT type)>;
void SetBeepHandler(BeepHandler handler);
