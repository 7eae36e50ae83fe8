#include "platform/win/SystemInfo.h"

#include "platform/core/CodePages.h"
#include "platform/win/Gdi.h"
#include "platform/win/LastError.h"

#include <gtest/gtest.h>

#include <pwd.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cctype>
#include <cstring>
#include <string>

TEST(SystemMetrics, ClassicValuesAtNinetySixDotsPerInch) {
    struct Case {
        int index;
        int value;
    };
    const Case cases[] = {
        {SM_CXVSCROLL, 16},     {SM_CYVSCROLL, 16},  {SM_CYHSCROLL, 16},
        {SM_CXHSCROLL, 16},     {SM_CXBORDER, 1},    {SM_CYBORDER, 1},
        {SM_CXEDGE, 2},         {SM_CYEDGE, 2},      {SM_CXDLGFRAME, 3},
        {SM_CXFRAME, 4},        {SM_CXDRAG, 4},      {SM_CYDRAG, 4},
        {SM_CXDOUBLECLK, 4},    {SM_CYDOUBLECLK, 4}, {SM_CYCAPTION, 19},
        {SM_CYMENU, 19},        {SM_CXSIZE, 18},     {SM_CXICON, 32},
        {SM_CYICON, 32},        {SM_CXSMICON, 16},   {SM_CXMENUCHECK, 13},
        {SM_CMOUSEBUTTONS, 3},  {SM_CMONITORS, 1},   {SM_DBCSENABLED, 0},
        {SM_MIDEASTENABLED, 0}, {12345, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetSystemMetrics(c.index), c.value) << c.index;
    EXPECT_EQ(GetDoubleClickTime(), 500u);
    EXPECT_EQ(GetCaretBlinkTime(), 530u);

    SetSystemLocaleFlags(true, true);
    EXPECT_EQ(GetSystemMetrics(SM_DBCSENABLED), 1);
    EXPECT_EQ(GetSystemMetrics(SM_MIDEASTENABLED), 1);
    SetSystemLocaleFlags(false, false);
}

TEST(SystemMetrics, ScreenAndWorkAreaFollowTheDisplay) {
    const SIZE previous = ScreenSize();
    ScreenPixelReader backend = SetScreenPixelReader(nullptr, 800, 600);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 800);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 600);
    RECT area;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0));
    EXPECT_EQ(area, Rect(0, 0, 800, 600));

    SetWorkArea(Rect(0, 0, 800, 570));
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0));
    EXPECT_EQ(area, Rect(0, 0, 800, 570));
    EXPECT_EQ(GetSystemMetrics(SM_CYFULLSCREEN), 570 - 19);
    EXPECT_EQ(GetSystemMetrics(SM_CXMAXIMIZED), 808);
    SetWorkArea(RECT{});
    SetScreenPixelReader(backend, previous.cx, previous.cy);
}

TEST(SystemParameters, NonClientMetricsFillOnlyTheCallersStructure) {
    NONCLIENTMETRICSA metrics;
    metrics.cbSize = 340;
    metrics.iPaddedBorderWidth = 77;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 340, &metrics, 0));
    EXPECT_EQ(metrics.cbSize, 340u);
    EXPECT_STREQ(metrics.lfMessageFont.lfFaceName, "Tahoma");
    EXPECT_EQ(metrics.lfMessageFont.lfHeight, -11);
    EXPECT_EQ(metrics.lfMenuFont.lfWeight, FW_NORMAL);
    EXPECT_EQ(metrics.lfCaptionFont.lfWeight, FW_BOLD);
    EXPECT_EQ(metrics.iScrollWidth, 16);
    EXPECT_EQ(metrics.iPaddedBorderWidth, 77);

    NONCLIENTMETRICSW wide;
    wide.cbSize = sizeof wide;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof wide, &wide, 0));
    EXPECT_EQ(std::u16string(wide.lfStatusFont.lfFaceName), u"Tahoma");
    wide.cbSize = 100;
    EXPECT_FALSE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, 100, &wide, 0));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

    UINT lines = 0;
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0));
    EXPECT_EQ(lines, 3u);
    EXPECT_FALSE(SystemParametersInfoA(0xFFFF, 0, &lines, 0));
}

TEST(SystemVersion, AnNtFiveOnePlatformUnlessATestFixesAnother) {
    OSVERSIONINFOA info;
    info.dwOSVersionInfoSize = 148;
    ASSERT_TRUE(GetVersionExA(&info));
    EXPECT_EQ(info.dwPlatformId, VER_PLATFORM_WIN32_NT);
    EXPECT_EQ(info.dwMajorVersion, 5u);
    EXPECT_EQ(info.dwMinorVersion, 1u);
    EXPECT_EQ(info.dwBuildNumber, 2600u);
    utsname kernel{};
    ASSERT_EQ(uname(&kernel), 0);
    // "Linux 6.1.0" of a release "6.1.0-18-amd64".
    const std::string servicePack = info.szCSDVersion;
    EXPECT_EQ(servicePack.rfind(std::string(kernel.sysname) + " ", 0), 0u) << servicePack;
    EXPECT_EQ(std::string(kernel.release).rfind(servicePack.substr(std::strlen(kernel.sysname) + 1), 0), 0u);

    OSVERSIONINFOEXW extended;
    extended.dwOSVersionInfoSize = sizeof extended;
    SetReportedVersion(VER_PLATFORM_WIN32_NT, 6, 0, 6000);
    SetReportedServicePack(WideString(200, u'x').replace(0, 15, u"Service Pack 2 "));
    ASSERT_TRUE(GetVersionExW(&extended));
    EXPECT_EQ(extended.dwMajorVersion, 6u);
    EXPECT_EQ(extended.wProductType, VER_NT_WORKSTATION);
    // Cut to the field, which keeps its terminator.
    EXPECT_EQ(WideString(extended.szCSDVersion).size(), 127u);
    EXPECT_EQ(WideString(extended.szCSDVersion).substr(0, 15), u"Service Pack 2 ");
    SetReportedVersion(VER_PLATFORM_WIN32_NT, 5, 1, 2600);
    SetReportedServicePack(servicePack.empty() ? u"" : AnsiToWide(servicePack));

    info.dwOSVersionInfoSize = 100;
    EXPECT_FALSE(GetVersionExA(&info));
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
}

TEST(SystemMemory, StatusComesFromTheKernel) {
    MEMORYSTATUS status;
    status.dwLength = 32;
    GlobalMemoryStatus(&status);
    EXPECT_EQ(status.dwLength, sizeof(MEMORYSTATUS));
    EXPECT_GT(status.dwTotalPhys, 0u);
    EXPECT_LE(status.dwAvailPhys, status.dwTotalPhys);
    EXPECT_GE(status.dwTotalPageFile, status.dwTotalPhys);
    EXPECT_LE(status.dwMemoryLoad, 100u);
    EXPECT_LT(status.dwAvailVirtual, status.dwTotalVirtual);

    MEMORYSTATUS fixed;
    fixed.dwMemoryLoad = 40;
    fixed.dwTotalPhys = 512u << 20;
    SetReportedMemoryStatus(fixed);
    GlobalMemoryStatus(&status);
    SetReportedMemoryStatus(std::nullopt);
    EXPECT_EQ(status.dwLength, sizeof(MEMORYSTATUS));
    EXPECT_EQ(status.dwMemoryLoad, 40u);
    EXPECT_EQ(status.dwTotalPhys, SIZE_T{512} << 20);
}

TEST(SystemNames, UserAndComputerNamesWithTheirBufferRules) {
    const passwd* entry = getpwuid(geteuid());
    ASSERT_NE(entry, nullptr);
    const std::string user = entry->pw_name;

    char name[64];
    DWORD size = 1;
    EXPECT_FALSE(GetUserNameA(name, &size));
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(size, user.size() + 1);
    size = sizeof name;
    ASSERT_TRUE(GetUserNameA(name, &size));
    EXPECT_EQ(name, user);
    EXPECT_EQ(size, user.size() + 1);

    char16_t computer[MAX_COMPUTERNAME_LENGTH + 1];
    size = 1;
    EXPECT_FALSE(GetComputerNameW(computer, &size));
    EXPECT_EQ(GetLastError(), ERROR_BUFFER_OVERFLOW);
    const DWORD needed = size;
    size = MAX_COMPUTERNAME_LENGTH + 1;
    ASSERT_TRUE(GetComputerNameW(computer, &size));
    EXPECT_EQ(size + 1, needed);
    for (DWORD i = 0; i < size; ++i)
        EXPECT_FALSE(computer[i] >= u'a' && computer[i] <= u'z');
}

TEST(SystemLocale, CodePagesFollowTheLanguage) {
    char text[8];
    EXPECT_EQ(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, text, sizeof text), 5);
    EXPECT_STREQ(text, "1252");
    struct Case {
        LCID locale;
        const char* codePage;
    };
    for (const Case& c : {Case{0x0419, "1251"}, Case{0x0411, "932"}, Case{0x0804, "936"}, Case{0x0404, "950"},
                          Case{0x0407, "1252"}}) {
        ASSERT_GT(GetLocaleInfoA(c.locale, LOCALE_IDEFAULTANSICODEPAGE, text, sizeof text), 0);
        EXPECT_STREQ(text, c.codePage) << c.locale;
    }
    char16_t wide[8];
    EXPECT_EQ(GetLocaleInfoW(GetThreadLocale(), LOCALE_SMONGROUPING, wide, 8), 4);
    EXPECT_EQ(std::u16string(wide), u"3;0");
    EXPECT_EQ(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SCURRENCY, nullptr, 0), 2);
    EXPECT_EQ(GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, text, 2), 0);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(GetLocaleInfoA(LOCALE_USER_DEFAULT, 0x7777, text, sizeof text), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_FLAGS);

    EXPECT_EQ(GetACP(), 1252u);
    EXPECT_EQ(reinterpret_cast<UINT_PTR>(GetKeyboardLayout(0)) & 0xFFFF, 0x0409u);
    SetKeyboardLanguage(0x0419);
    const auto language = static_cast<LCID>(reinterpret_cast<UINT_PTR>(GetKeyboardLayout(0)) & 0xFFFF);
    GetLocaleInfoA(language, LOCALE_IDEFAULTANSICODEPAGE, text, sizeof text);
    EXPECT_STREQ(text, "1251");
    SetKeyboardLanguage(0x0409);
}

TEST(SystemSound, MessageBeepGoesToTheHandler) {
    std::vector<UINT> beeps;
    SetBeepHandler([&](UINT type) { beeps.push_back(type); });
    EXPECT_TRUE(MessageBeep(0));
    EXPECT_TRUE(MessageBeep(0x40));
    SetBeepHandler(nullptr);
    EXPECT_TRUE(MessageBeep(0));
    EXPECT_EQ(beeps, (std::vector<UINT>{0, 0x40}));
}
