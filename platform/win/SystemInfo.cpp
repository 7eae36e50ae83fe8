// The fixed answers are tables of the classic values; the live ones come from
// the graphics layer (screen size), the kernel (/proc) and the user database.
#include "platform/win/SystemInfo.h"

#include "platform/core/CodePages.h"
#include "platform/win/Gdi.h"
#include "platform/win/LastError.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <mutex>
#include <optional>
#include <pwd.h>
#include <sstream>
#include <string>
#include <sys/utsname.h>
#include <unistd.h>
#include <vector>

namespace {

// ---- Settable state -----------------------------------------------------------------

constexpr LANGID EnglishUnitedStates = 0x0409;
constexpr int KeyboardLayoutShift = 16;
constexpr DWORD DefaultMajorVersion = 5;
constexpr DWORD DefaultMinorVersion = 1;
constexpr DWORD DefaultBuildNumber = 2600;

struct SystemSettings {
    std::mutex mutex;
    RECT workArea;
    DWORD platformId = VER_PLATFORM_WIN32_NT;
    DWORD majorVersion = DefaultMajorVersion;
    DWORD minorVersion = DefaultMinorVersion;
    DWORD buildNumber = DefaultBuildNumber;
    bool farEast = false;
    bool middleEast = false;
    LANGID keyboardLanguage = EnglishUnitedStates;
    BeepHandler beep;
    std::optional<WideString> servicePack;
    std::optional<MEMORYSTATUS> memoryStatus;
};

SystemSettings& settings() {
    static SystemSettings state;
    return state;
}

// ---- Metrics ----------------------------------------------------------------------

struct ClassicMetric {
    int index;
    int value;
};

constexpr int ScrollBarSize = 16;
constexpr int CaptionHeight = 19;
constexpr int CaptionButtonSize = 18;
constexpr int FixedFrame = 3;
constexpr int SizingFrame = 4;
constexpr int IconSize = 32;
constexpr int SmallIconSize = 16;
constexpr int MenuHeight = 19;
constexpr int MenuCheckSize = 13;
constexpr int DoubleClickArea = 4;
constexpr int DragThreshold = 4;
constexpr int MinimumWindowWidth = 112;
constexpr int MinimumWindowHeight = 27;
constexpr int MouseButtons = 3;

constexpr ClassicMetric ClassicMetrics[] = {
    {SM_CXVSCROLL, ScrollBarSize},
    {SM_CYHSCROLL, ScrollBarSize},
    {SM_CYVSCROLL, ScrollBarSize},
    {SM_CXHSCROLL, ScrollBarSize},
    {SM_CYVTHUMB, ScrollBarSize},
    {SM_CXHTHUMB, ScrollBarSize},
    {SM_CYCAPTION, CaptionHeight},
    {SM_CXSIZE, CaptionButtonSize},
    {SM_CYSIZE, CaptionButtonSize},
    {SM_CXBORDER, 1},
    {SM_CYBORDER, 1},
    {SM_CXEDGE, 2},
    {SM_CYEDGE, 2},
    {SM_CXFOCUSBORDER, 1},
    {SM_CYFOCUSBORDER, 1},
    {SM_CXDLGFRAME, FixedFrame},
    {SM_CYDLGFRAME, FixedFrame},
    {SM_CXFRAME, SizingFrame},
    {SM_CYFRAME, SizingFrame},
    {SM_CXICON, IconSize},
    {SM_CYICON, IconSize},
    {SM_CXCURSOR, IconSize},
    {SM_CYCURSOR, IconSize},
    {SM_CXSMICON, SmallIconSize},
    {SM_CYSMICON, SmallIconSize},
    {SM_CYMENU, MenuHeight},
    {SM_CXMENUSIZE, CaptionButtonSize},
    {SM_CYMENUSIZE, CaptionButtonSize},
    {SM_CXMENUCHECK, MenuCheckSize},
    {SM_CYMENUCHECK, MenuCheckSize},
    {SM_CXDOUBLECLK, DoubleClickArea},
    {SM_CYDOUBLECLK, DoubleClickArea},
    {SM_CXDRAG, DragThreshold},
    {SM_CYDRAG, DragThreshold},
    {SM_CXMIN, MinimumWindowWidth},
    {SM_CYMIN, MinimumWindowHeight},
    {SM_CXMINTRACK, MinimumWindowWidth},
    {SM_CYMINTRACK, MinimumWindowHeight},
    {SM_MOUSEPRESENT, 1},
    {SM_MOUSEWHEELPRESENT, 1},
    {SM_CMOUSEBUTTONS, MouseButtons},
    {SM_SWAPBUTTON, 0},
    {SM_CMONITORS, 1},
    {SM_SAMEDISPLAYFORMAT, 1},
    {SM_XVIRTUALSCREEN, 0},
    {SM_YVIRTUALSCREEN, 0},
};

constexpr UINT DoubleClickTime = 500;
constexpr UINT CaretBlinkTime = 530;

RECT currentWorkArea() {
    SystemSettings& state = settings();
    std::lock_guard lock(state.mutex);
    if (state.workArea.Width() > 0 && state.workArea.Height() > 0) return state.workArea;
    const SIZE screen = ScreenSize();
    return {0, 0, screen.cx, screen.cy};
}

std::optional<int> screenMetric(int index) {
    const SIZE screen = ScreenSize();
    switch (index) {
    case SM_CXSCREEN:
    case SM_CXVIRTUALSCREEN:
        return screen.cx;
    case SM_CYSCREEN:
    case SM_CYVIRTUALSCREEN:
        return screen.cy;
    case SM_CXFULLSCREEN:
        return currentWorkArea().Width();
    case SM_CYFULLSCREEN:
        return currentWorkArea().Height() - CaptionHeight;
    case SM_CXMAXIMIZED:
        return currentWorkArea().Width() + 2 * SizingFrame;
    case SM_CYMAXIMIZED:
        return currentWorkArea().Height() + 2 * SizingFrame;
    default:
        return std::nullopt;
    }
}

std::optional<int> localeMetric(int index) {
    SystemSettings& state = settings();
    std::lock_guard lock(state.mutex);
    if (index == SM_DBCSENABLED) return state.farEast ? 1 : 0;
    if (index == SM_MIDEASTENABLED) return state.middleEast ? 1 : 0;
    return std::nullopt;
}

// ---- Non-client metrics -------------------------------------------------------------

constexpr int BorderWidth = 1;
constexpr int SmallCaptionWidth = 12;
constexpr int SmallCaptionHeight = 15;
constexpr LONG InterfaceFontHeight = -11;
constexpr char InterfaceFontFace[] = "Tahoma";

template <typename LogFont> LogFont interfaceFont(LONG weight) {
    LogFont font{};
    font.lfHeight = InterfaceFontHeight;
    font.lfWeight = weight;
    font.lfCharSet = ANSI_CHARSET;
    std::copy(std::begin(InterfaceFontFace), std::end(InterfaceFontFace), font.lfFaceName);
    return font;
}

template <typename Metrics, typename LogFont> bool fillNonClientMetrics(Metrics* target) {
    constexpr UINT sizeWithoutPadding = offsetof(Metrics, iPaddedBorderWidth);
    if (!target || (target->cbSize != sizeWithoutPadding && target->cbSize != sizeof(Metrics))) return false;
    Metrics metrics;
    metrics.cbSize = target->cbSize;
    metrics.iBorderWidth = BorderWidth;
    metrics.iScrollWidth = ScrollBarSize;
    metrics.iScrollHeight = ScrollBarSize;
    metrics.iCaptionWidth = CaptionButtonSize;
    metrics.iCaptionHeight = CaptionButtonSize;
    metrics.lfCaptionFont = interfaceFont<LogFont>(FW_BOLD);
    metrics.iSmCaptionWidth = SmallCaptionWidth;
    metrics.iSmCaptionHeight = SmallCaptionHeight;
    metrics.lfSmCaptionFont = interfaceFont<LogFont>(FW_BOLD);
    metrics.iMenuWidth = CaptionButtonSize;
    metrics.iMenuHeight = CaptionButtonSize;
    metrics.lfMenuFont = interfaceFont<LogFont>(FW_NORMAL);
    metrics.lfStatusFont = interfaceFont<LogFont>(FW_NORMAL);
    metrics.lfMessageFont = interfaceFont<LogFont>(FW_NORMAL);
    // Only the part the caller's structure has room for is written.
    std::memcpy(static_cast<void*>(target), &metrics, target->cbSize);
    return true;
}

constexpr UINT WheelScrollLines = 3;

template <typename Metrics, typename LogFont> BOOL systemParametersInfo(UINT action, LPVOID parameter) {
    bool answered = false;
    if (action == SPI_GETWHEELSCROLLLINES && parameter) {
        *static_cast<UINT*>(parameter) = WheelScrollLines;
        answered = true;
    } else if (action == SPI_GETWORKAREA && parameter) {
        *static_cast<RECT*>(parameter) = currentWorkArea();
        answered = true;
    } else if (action == SPI_GETNONCLIENTMETRICS) {
        answered = fillNonClientMetrics<Metrics, LogFont>(static_cast<Metrics*>(parameter));
    }
    if (!answered) SetLastError(ERROR_INVALID_PARAMETER);
    return answered ? TRUE : FALSE;
}

// ---- Version ----------------------------------------------------------------------

// "Linux 6.1.0": the kernel's name and the numbered part of its release.
WideString kernelNameAndRelease() {
    utsname names{};
    if (uname(&names) != 0) return {};
    std::string release = names.release;
    release.erase(std::min(release.find_first_not_of("0123456789."), release.size()));
    return AnsiToWide(std::string(names.sysname) + " " + release);
}

// The last of the 128 characters stays the terminator.
template <typename Character, std::size_t Size>
void copyServicePack(const WideString& text, Character (&target)[Size]) {
    if constexpr (sizeof(Character) == 1) {
        const AnsiString narrow = WideToAnsi(text);
        std::copy_n(narrow.begin(), std::min(narrow.size(), Size - 1), target);
    } else {
        std::copy_n(text.begin(), std::min(text.size(), Size - 1), target);
    }
}

template <typename Plain, typename Extended> BOOL getVersion(Plain* info) {
    if (!info ||
        (info->dwOSVersionInfoSize != sizeof(Plain) && info->dwOSVersionInfoSize != sizeof(Extended))) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    SystemSettings& state = settings();
    std::lock_guard lock(state.mutex);
    info->dwMajorVersion = state.majorVersion;
    info->dwMinorVersion = state.minorVersion;
    info->dwBuildNumber = state.buildNumber;
    info->dwPlatformId = state.platformId;
    std::fill(std::begin(info->szCSDVersion), std::end(info->szCSDVersion), 0);
    copyServicePack(state.servicePack ? *state.servicePack : kernelNameAndRelease(), info->szCSDVersion);
    if (info->dwOSVersionInfoSize == sizeof(Extended)) {
        auto* extended = static_cast<Extended*>(info);
        extended->wServicePackMajor = 0;
        extended->wServicePackMinor = 0;
        extended->wSuiteMask = 0;
        extended->wProductType = VER_NT_WORKSTATION;
        extended->wReserved = 0;
    }
    return TRUE;
}

// ---- Memory -----------------------------------------------------------------------

constexpr SIZE_T BytesPerKibibyte = 1024;
// The user part of a 64-bit address space on Linux: 128 TiB less one page.
constexpr SIZE_T UserAddressSpace = (SIZE_T{1} << 47) - 4096;
constexpr SIZE_T PercentScale = 100;

// The "Name: value kB" lines of a /proc file, in bytes.
std::map<std::string, SIZE_T> readKernelFigures(const char* path) {
    std::map<std::string, SIZE_T> figures;
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line)) {
        const std::size_t colon = line.find(':');
        if (colon == std::string::npos) continue;
        std::istringstream value(line.substr(colon + 1));
        SIZE_T amount = 0;
        std::string unit;
        if (!(value >> amount)) continue;
        value >> unit;
        figures[line.substr(0, colon)] = unit == "kB" ? amount * BytesPerKibibyte : amount;
    }
    return figures;
}

SIZE_T figure(const std::map<std::string, SIZE_T>& figures, const std::string& name) {
    auto found = figures.find(name);
    return found == figures.end() ? 0 : found->second;
}

SIZE_T availablePhysicalMemory(const std::map<std::string, SIZE_T>& figures) {
    if (figures.contains("MemAvailable")) return figure(figures, "MemAvailable");
    // Kernels before 3.14 do not estimate it; free memory plus caches comes close.
    return figure(figures, "MemFree") + figure(figures, "Buffers") + figure(figures, "Cached");
}

// ---- User and computer names --------------------------------------------------------

constexpr std::size_t UserEntrySizeWhenUnknown = 16384;
constexpr std::size_t HostNameCapacity = 256;

WideString userName() {
    const long suggested = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? static_cast<std::size_t>(suggested) : UserEntrySizeWhenUnknown);
    passwd entry{};
    passwd* result = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &result) == 0 && result)
        return UTF8Decode(result->pw_name);
    for (const char* variable : {"USER", "LOGNAME"})
        if (const char* value = std::getenv(variable); value && *value) return UTF8Decode(value);
    return UTF8Decode(std::to_string(geteuid()));
}

WideString computerName() {
    char host[HostNameCapacity] = {};
    if (gethostname(host, sizeof host - 1) != 0) return u"LOCALHOST";
    std::string name(host);
    name = name.substr(0, name.find('.')).substr(0, MAX_COMPUTERNAME_LENGTH);
    WideString wide = UTF8Decode(name);
    std::transform(wide.begin(), wide.end(), wide.begin(), WideCharUpper);
    return wide;
}

template <typename Char, typename Text> void copyWithTerminator(const Text& text, Char* buffer) {
    std::copy(text.begin(), text.end(), buffer);
    buffer[text.size()] = 0;
}

// *size in and out counts the terminator.
template <typename Char, typename Text> BOOL copyUserName(const Text& name, Char* buffer, LPDWORD size) {
    if (!size) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const DWORD needed = static_cast<DWORD>(name.size() + 1);
    const bool fits = buffer && *size >= needed;
    *size = needed;
    if (!fits) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    copyWithTerminator(name, buffer);
    return TRUE;
}

// *size counts the terminator going in and on failure, not on success.
template <typename Char, typename Text> BOOL copyComputerName(const Text& name, Char* buffer, LPDWORD size) {
    if (!size) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!buffer || *size < name.size() + 1) {
        *size = static_cast<DWORD>(name.size() + 1);
        SetLastError(ERROR_BUFFER_OVERFLOW);
        return FALSE;
    }
    copyWithTerminator(name, buffer);
    *size = static_cast<DWORD>(name.size());
    return TRUE;
}

// ---- Locale -----------------------------------------------------------------------

constexpr LCTYPE LocaleTypeFlags = 0xC0000000; // LOCALE_NOUSEROVERRIDE and LOCALE_USE_CP_ACP
constexpr LANGID PrimaryLanguageMask = 0x03FF;
constexpr UINT WesternEuropeanCodePage = 1252;

struct LanguageCodePage {
    LANGID primaryLanguage;
    UINT codePage;
};

// The ANSI code page of each language whose page is not the Western European one.
constexpr LanguageCodePage LanguageCodePages[] = {
    {0x01, 1256}, {0x02, 1251}, {0x05, 1250}, {0x08, 1253}, {0x0D, 1255}, {0x0E, 1250},
    {0x11, 932},  {0x12, 949},  {0x15, 1250}, {0x18, 1250}, {0x19, 1251}, {0x1A, 1250},
    {0x1B, 1250}, {0x1C, 1250}, {0x1E, 874},  {0x1F, 1254}, {0x20, 1256}, {0x22, 1251},
    {0x23, 1251}, {0x24, 1250}, {0x25, 1257}, {0x26, 1257}, {0x27, 1257}, {0x29, 1256},
    {0x2A, 1258}, {0x2F, 1251}, {0x3F, 1251}, {0x40, 1251}, {0x44, 1251}, {0x50, 1251},
};

constexpr LANGID ChineseLanguage = 0x04;
constexpr LANGID ChinesePeoplesRepublic = 0x0804;
constexpr LANGID ChineseSingapore = 0x1004;
constexpr UINT SimplifiedChineseCodePage = 936;
constexpr UINT TraditionalChineseCodePage = 950;

UINT ansiCodePageOfLanguage(LANGID language) {
    const LANGID primary = language & PrimaryLanguageMask;
    if (primary == ChineseLanguage)
        return language == ChinesePeoplesRepublic || language == ChineseSingapore
                   ? SimplifiedChineseCodePage
                   : TraditionalChineseCodePage;
    for (const LanguageCodePage& entry : LanguageCodePages)
        if (entry.primaryLanguage == primary) return entry.codePage;
    return WesternEuropeanCodePage;
}

LANGID languageOf(LCID locale) {
    const LANGID language = static_cast<LANGID>(locale);
    if (locale == LOCALE_NEUTRAL || locale == LOCALE_USER_DEFAULT || locale == LOCALE_SYSTEM_DEFAULT)
        return EnglishUnitedStates;
    return language;
}

struct LocaleValue {
    LCTYPE type;
    const char* text;
};

constexpr LocaleValue UserLocaleValues[] = {
    {LOCALE_SCURRENCY, "$"},      {LOCALE_SMONDECIMALSEP, "."}, {LOCALE_SMONTHOUSANDSEP, ","},
    {LOCALE_SMONGROUPING, "3;0"}, {LOCALE_ICURRDIGITS, "2"},    {LOCALE_ICURRENCY, "0"},
    {LOCALE_INEGCURR, "0"},       {LOCALE_ILZERO, "1"},
};

std::optional<std::string> localeValue(LCID locale, LCTYPE type) {
    type &= ~LocaleTypeFlags;
    if (type == LOCALE_IDEFAULTANSICODEPAGE)
        return std::to_string(ansiCodePageOfLanguage(languageOf(locale)));
    for (const LocaleValue& entry : UserLocaleValues)
        if (entry.type == type) return entry.text;
    return std::nullopt;
}

template <typename Char> int getLocaleInfo(LCID locale, LCTYPE type, Char* buffer, int size) {
    const std::optional<std::string> value = localeValue(locale, type);
    if (!value) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    const int needed = static_cast<int>(value->size() + 1);
    if (size == 0) return needed;
    if (!buffer || size < needed) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    copyWithTerminator(*value, buffer);
    return needed;
}

} // namespace

int GetSystemMetrics(int index) {
    for (const ClassicMetric& metric : ClassicMetrics)
        if (metric.index == index) return metric.value;
    if (std::optional<int> value = screenMetric(index)) return *value;
    return localeMetric(index).value_or(0);
}

UINT GetDoubleClickTime() {
    return DoubleClickTime;
}

UINT GetCaretBlinkTime() {
    return CaretBlinkTime;
}

BOOL SystemParametersInfoA(UINT action, UINT, LPVOID pvParam, UINT) {
    return systemParametersInfo<NONCLIENTMETRICSA, LOGFONTA>(action, pvParam);
}

BOOL SystemParametersInfoW(UINT action, UINT, LPVOID pvParam, UINT) {
    return systemParametersInfo<NONCLIENTMETRICSW, LOGFONTW>(action, pvParam);
}

BOOL GetVersionExA(OSVERSIONINFOA* info) {
    return getVersion<OSVERSIONINFOA, OSVERSIONINFOEXA>(info);
}

BOOL GetVersionExW(OSVERSIONINFOW* info) {
    return getVersion<OSVERSIONINFOW, OSVERSIONINFOEXW>(info);
}

void GlobalMemoryStatus(MEMORYSTATUS* status) {
    if (!status) return;
    {
        SystemSettings& state = settings();
        std::lock_guard lock(state.mutex);
        if (state.memoryStatus) {
            *status = *state.memoryStatus;
            status->dwLength = sizeof(MEMORYSTATUS);
            return;
        }
    }
    const auto memory = readKernelFigures("/proc/meminfo");
    const auto process = readKernelFigures("/proc/self/status");
    MEMORYSTATUS result;
    result.dwLength = sizeof(MEMORYSTATUS);
    result.dwTotalPhys = figure(memory, "MemTotal");
    result.dwAvailPhys = std::min(availablePhysicalMemory(memory), result.dwTotalPhys);
    result.dwTotalPageFile = result.dwTotalPhys + figure(memory, "SwapTotal");
    result.dwAvailPageFile = result.dwAvailPhys + figure(memory, "SwapFree");
    result.dwTotalVirtual = UserAddressSpace;
    result.dwAvailVirtual = UserAddressSpace - std::min(figure(process, "VmSize"), UserAddressSpace);
    if (result.dwTotalPhys > 0)
        result.dwMemoryLoad =
            static_cast<DWORD>((result.dwTotalPhys - result.dwAvailPhys) * PercentScale / result.dwTotalPhys);
    *status = result;
}

BOOL GetUserNameA(LPSTR buffer, LPDWORD size) {
    return copyUserName(WideToAnsi(userName()), buffer, size);
}

BOOL GetUserNameW(LPWSTR buffer, LPDWORD size) {
    return copyUserName(userName(), buffer, size);
}

BOOL GetComputerNameA(LPSTR buffer, LPDWORD size) {
    return copyComputerName(WideToAnsi(computerName()), buffer, size);
}

BOOL GetComputerNameW(LPWSTR buffer, LPDWORD size) {
    return copyComputerName(computerName(), buffer, size);
}

BOOL MessageBeep(UINT type) {
    BeepHandler handler;
    {
        SystemSettings& state = settings();
        std::lock_guard lock(state.mutex);
        handler = state.beep;
    }
    if (handler) handler(type);
    return TRUE;
}

LCID GetUserDefaultLCID() {
    return EnglishUnitedStates;
}

LCID GetSystemDefaultLCID() {
    return EnglishUnitedStates;
}

LCID GetThreadLocale() {
    return EnglishUnitedStates;
}

int GetLocaleInfoA(LCID locale, LCTYPE type, LPSTR buffer, int size) {
    return getLocaleInfo(locale, type, buffer, size);
}

int GetLocaleInfoW(LCID locale, LCTYPE type, LPWSTR buffer, int size) {
    return getLocaleInfo(locale, type, buffer, size);
}

UINT GetACP() {
    return SystemAnsiCodePage;
}

HKL GetKeyboardLayout(DWORD) {
    SystemSettings& state = settings();
    std::lock_guard lock(state.mutex);
    // The layout of a language's own keyboard carries the language's number too.
    const UINT_PTR language = state.keyboardLanguage;
    return reinterpret_cast<HKL>(language | (language << KeyboardLayoutShift));
}

void SetWorkArea(const RECT& area) {
    SystemSettings& state = settings();
    std::lock_guard lock(state.mutex);
    state.workArea = area;
}

void SetReportedVersion(DWORD platformId, DWORD majorVersion, DWORD minorVersion, DWORD buildNumber) {
    SystemSettings& state = settings();
    std::lock_guard lock(state.mutex);
    state.platformId = platformId;
    state.majorVersion = majorVersion;
    state.minorVersion = minorVersion;
    state.buildNumber = buildNumber;
}

void SetReportedServicePack(const WideString& text) {
    SystemSettings& state = settings();
    std::lock_guard lock(state.mutex);
    state.servicePack = text;
}

void SetReportedMemoryStatus(const std::optional<MEMORYSTATUS>& status) {
    SystemSettings& state = settings();
    std::lock_guard lock(state.mutex);
    state.memoryStatus = status;
}

void SetSystemLocaleFlags(bool farEast, bool middleEast) {
    SystemSettings& state = settings();
    std::lock_guard lock(state.mutex);
    state.farEast = farEast;
    state.middleEast = middleEast;
}

void SetKeyboardLanguage(LANGID language) {
    SystemSettings& state = settings();
    std::lock_guard lock(state.mutex);
    state.keyboardLanguage = language;
}

void SetBeepHandler(BeepHandler handler) {
    SystemSettings& state = settings();
    std::lock_guard lock(state.mutex);
    state.beep = std::move(handler);
}
