#include "ScratchFolder.h"

#include "app/Main.h"
#include "app/Program.h"
#include "app/Settings.h"
#include "app/Splash.h"
#include "platform/core/Clock.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/tests/VisualTestSupport.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/Gdi.h"
#include "platform/win/Hooks.h"
#include "platform/win/Messages.h"
#include "platform/win/Regions.h"
#include "platform/win/WindowPos.h"
#include "platform/win/Windows.h"

#include <cstdio>
#include <cstdlib>

namespace {

class SplashTest : public VisualTest {};

TEST_F(SplashTest, TheGradientRunsRedAcrossGreenDownAndBlueWrapsBelow) {
    struct Case {
        Integer x, y;
        TColor color;
    } cases[] = {
        {0, 0, 0x000000}, {450, 0, 0x0000FE}, {0, 154, 0xFFB200}, {0, 155, 0x01B300}, {450, 219, 0x6BFDFE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        EXPECT_EQ(SplashGradientColor(c.x, c.y, 451, 220), c.color);
    }
}

TEST_F(SplashTest, TheWindowIsPaintedWithTheGradientInARoundedRegion) {
    std::unique_ptr<TSplashForm> splash(NewForm<TSplashForm>(nullptr));
    EXPECT_EQ(splash->ClientWidth(), 451);
    EXPECT_EQ(splash->ClientHeight(), 220);
    EXPECT_EQ(SendMessageA(splash->ProgressBar1->Handle(), PBM_GETBARCOLOR, 0, 0), 0x0000FFFF);
    splash->Show();
    Application->ProcessMessages();
    for (TPoint point : {TPoint{440, 120}, TPoint{300, 200}, TPoint{20, 210}})
        EXPECT_EQ(PixelAt(splash->Handle(), point), SplashGradientColor(point.x, point.y, 451, 220));

    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(splash->Handle(), region), 0);
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    EXPECT_FALSE(PtInRegion(region, 450, 219));
    EXPECT_TRUE(PtInRegion(region, 20, 0));
    EXPECT_TRUE(PtInRegion(region, 225, 110));
    DeleteObject(region);
}

// What the program's entry did at each progress step, seen from a hook on
// the messages sent to windows.
struct Step {
    DWORD time;
    LRESULT positionBefore;
    bool mainFormMade;
    bool mainFormShown;
};
std::vector<Step> steps;
// When the splash window went: the end of the last pause.
DWORD splashGoneTime = 0;

LRESULT watchSteps(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code >= 0 && sent->message == WM_DESTROY && SplashForm && sent->hwnd == SplashForm->Handle())
        splashGoneTime = GetTickCount();
    if (code >= 0 && sent->message == PBM_DELTAPOS && SplashForm) {
        steps.push_back({GetTickCount(), SendMessageA(sent->hwnd, PBM_GETPOS, 0, 0),
                         MainForm && MainForm->HandleAllocated(),
                         MainForm && IsWindowVisible(MainForm->Handle())});
        EXPECT_EQ(sent->wParam, 1u);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(SplashTest, TheEntryMakesTheMainWindowThenStepsTheBarToEightAndShowsTheWindowAtRun) {
    const std::string iniName = SettingsFileName();
    ProgramFolderLock lock(iniName + ".lock");
    ScratchFolder temporary;
    setenv("TMPDIR", temporary.Path().c_str(), 1);
    bool splashGoneAtRun = false;
    bool mainShownAtRun = false;
    UseSteppedClock(true);
    backend.SetIdleHandler([&] {
        backend.SetIdleHandler(nullptr);
        splashGoneAtRun = SplashForm == nullptr;
        mainShownAtRun = MainForm && IsWindowVisible(MainForm->Handle());
        MainForm->Close();
    });
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, watchSteps, nullptr, GetCurrentThreadId());
    EXPECT_EQ(WinMain(), 0);
    UnhookWindowsHookEx(hook);
    UseSteppedClock(false);
    std::remove(iniName.c_str());

    ASSERT_EQ(steps.size(), SplashPauses.size());
    for (std::size_t i = 0; i < steps.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(steps[i].positionBefore, static_cast<LRESULT>(i));
        EXPECT_TRUE(steps[i].mainFormMade);
        EXPECT_FALSE(steps[i].mainFormShown);
        const DWORD next = i + 1 < steps.size() ? steps[i + 1].time : splashGoneTime;
        EXPECT_EQ(next - steps[i].time, SplashPauses[i]);
    }
    EXPECT_TRUE(splashGoneAtRun);
    EXPECT_TRUE(mainShownAtRun);
}

} // namespace
