// The process-wide calls without a subsystem of their own: the error mode,
// lstrcmp, sounds, deferred window positions, the caption animation and key
// names.
#include "WindowTestSupport.h"

#include "platform/core/Clock.h"
#include "platform/core/SysUtils.h"
#include "platform/win/Focus.h"
#include "platform/win/Hooks.h"
#include "platform/win/Kernel.h"
#include "platform/win/LastError.h"
#include "platform/win/Sounds.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/WindowPlacement.h"
#include "platform/win/WindowTree.h"

namespace {

using namespace window_tests;

TEST(Kernel, TheErrorModeIsKeptAndReturned) {
    const UINT original = SetErrorMode(SEM_FAILCRITICALERRORS);
    EXPECT_EQ(SetErrorMode(SEM_NOOPENFILEERRORBOX), static_cast<UINT>(SEM_FAILCRITICALERRORS));
    SetErrorMode(original);
}

TEST(Kernel, LstrcmpComparesAsTheLocaleDoes) {
    struct Case {
        const char16_t* a;
        const char16_t* b;
        int exact;
        int ignoringCase;
    };
    for (const Case& c : {Case{u"apple", u"apple", 0, 0}, Case{u"apple", u"Apple", -1, 0},
                          Case{u"apple", u"banana", -1, -1}, Case{u"b", u"A", 1, 1},
                          Case{u"co-op", u"coop", 1, 1}, Case{nullptr, u"a", -1, -1},
                          Case{nullptr, nullptr, 0, 0}, Case{u"", nullptr, 1, 1}}) {
        EXPECT_EQ(lstrcmpW(c.a, c.b), c.exact);
        EXPECT_EQ(lstrcmpiW(c.a, c.b), c.ignoringCase);
    }
}

TEST(Kernel, NoSoundPlays) {
    EXPECT_FALSE(sndPlaySoundW(u"SystemAsterisk", SND_ASYNC | SND_NODEFAULT));
    EXPECT_FALSE(sndPlaySoundA(nullptr, SND_SYNC));
}

TEST(Kernel, KeyNamesFollowScanCodeAndExtendedBit) {
    struct Case {
        LONG data;
        const char16_t* name;
    };
    constexpr LONG extended = 1 << 24;
    constexpr LONG dontCare = 1 << 25;
    for (const Case& c : {Case{0x01 << 16, u"Esc"}, Case{0x1E << 16, u"A"}, Case{0x47 << 16, u"Num 7"},
                          Case{(0x47 << 16) | extended, u"Home"}, Case{(0x1D << 16) | extended, u"Right Ctrl"},
                          Case{(0x1D << 16) | extended | dontCare, u"Ctrl"},
                          Case{(0x36 << 16) | dontCare, u"Shift"}, Case{0x3B << 16, u"F1"},
                          Case{(0x53 << 16) | extended, u"Delete"}, Case{0x7F << 16, u""}}) {
        WCHAR buffer[32] = {u'x'};
        const int copied = GetKeyNameTextW(c.data, buffer, 32);
        EXPECT_EQ(WideString(buffer), WideString(c.name));
        EXPECT_EQ(copied, static_cast<int>(WideString(c.name).size()));
    }
    WCHAR shortBuffer[4];
    EXPECT_EQ(GetKeyNameTextW(0x49 << 16 | extended, shortBuffer, 4), 3);
    EXPECT_EQ(WideString(shortBuffer), u"Pag");
    char ansi[8];
    EXPECT_EQ(GetKeyNameTextA(0x39 << 16, ansi, 8), 5);
    EXPECT_STREQ(ansi, "Space");
}

class DeferWindowPosTest : public WindowTest {};

TEST_F(DeferWindowPosTest, MovesWaitForTheEndAndApplyInOrder) {
    HWND first = Create("first", WS_POPUP);
    HWND second = Create("second", WS_POPUP);
    HDWP positions = BeginDeferWindowPos(2);
    ASSERT_NE(positions, nullptr);
    positions = DeferWindowPos(positions, first, nullptr, 5, 6, 50, 40, SWP_NOZORDER);
    positions = DeferWindowPos(positions, second, nullptr, 100, 7, 30, 20, SWP_NOZORDER);
    positions = DeferWindowPos(positions, first, nullptr, 8, 9, 0, 0, SWP_NOZORDER | SWP_NOSIZE);
    RECT rect;
    GetWindowRect(first, &rect);
    EXPECT_EQ(rect, (TRect{10, 10, 210, 160})) << "nothing moves before the end";
    EXPECT_TRUE(EndDeferWindowPos(positions));
    GetWindowRect(first, &rect);
    EXPECT_EQ(rect, (TRect{8, 9, 58, 49}));
    GetWindowRect(second, &rect);
    EXPECT_EQ(rect, (TRect{100, 7, 130, 27}));
    EXPECT_FALSE(EndDeferWindowPos(positions)) << "the set is gone";
}

TEST_F(DeferWindowPosTest, AnUnknownWindowFreesTheSet) {
    HDWP positions = BeginDeferWindowPos(1);
    SetLastError(0);
    EXPECT_EQ(DeferWindowPos(positions, reinterpret_cast<HWND>(0x7777), nullptr, 0, 0, 1, 1, 0), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    EXPECT_FALSE(EndDeferWindowPos(positions));
    EXPECT_EQ(BeginDeferWindowPos(-1), nullptr);
}

// Each place the flying caption bar is shown at, and when.
struct BarFrame {
    TRect rect;
    DWORD time;
};
std::vector<BarFrame> barFrames;

LRESULT watchCaptionBar(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    char16_t name[32] = {};
    if (code >= 0 && sent->message == WM_WINDOWPOSCHANGED && GetClassNameW(sent->hwnd, name, 32) > 0 &&
        WideString(name) == AnimatedCaptionClass && IsWindowVisible(sent->hwnd)) {
        RECT rect;
        GetWindowRect(sent->hwnd, &rect);
        barFrames.push_back({rect, GetTickCount()});
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

class DrawAnimatedRectsTest : public WindowTest {
protected:
    HHOOK hook = nullptr;
    void SetUp() override {
        WindowTest::SetUp();
        barFrames.clear();
        UseSteppedClock(true);
        hook = SetWindowsHookExW(WH_CALLWNDPROC, watchCaptionBar, nullptr, GetCurrentThreadId());
    }
    void TearDown() override {
        UnhookWindowsHookEx(hook);
        UseSteppedClock(false);
        WindowTest::TearDown();
    }
};

TEST_F(DrawAnimatedRectsTest, TheCaptionFliesFromOneRectangleToTheOtherAndGoesWithoutTakingActivation) {
    HWND window = Create("animated", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    SetActiveWindow(window);
    const RECT from{300, 200, 300, 200};
    const RECT to{100, 100, 500, 300};
    const DWORD started = GetTickCount();
    EXPECT_TRUE(DrawAnimatedRects(window, IDANI_CAPTION, &from, &to));
    EXPECT_EQ(GetTickCount() - started, 165u) << "eleven frames of 15 ms";
    ASSERT_EQ(barFrames.size(), 11u);
    EXPECT_EQ(barFrames.front().rect, (TRect{300, 200, 300, 200}));
    EXPECT_EQ(barFrames[5].rect.Left, 200);
    EXPECT_EQ(barFrames[5].rect.Right, 400);
    const TRect last = barFrames.back().rect;
    EXPECT_EQ(last.Left, 100);
    EXPECT_EQ(last.Top, 100);
    EXPECT_EQ(last.Right, 500);
    EXPECT_GE(last.Height(), GetSystemMetrics(SM_CYCAPTION)) << "a whole title bar";
    EXPECT_LT(last.Height(), 200);
    for (std::size_t frame = 1; frame < barFrames.size(); ++frame)
        EXPECT_EQ(barFrames[frame].time - barFrames[frame - 1].time, 15u);
    EXPECT_EQ(FindWindowW(AnimatedCaptionClass, nullptr), nullptr) << "the bar is gone";
    EXPECT_EQ(GetActiveWindow(), window);
}

TEST_F(DrawAnimatedRectsTest, OtherAnimationsDrawNothingAndMissingRectanglesFail) {
    const RECT rect{0, 0, 10, 10};
    EXPECT_TRUE(DrawAnimatedRects(nullptr, IDANI_OPEN, &rect, &rect));
    EXPECT_TRUE(barFrames.empty());
    SetLastError(0);
    EXPECT_FALSE(DrawAnimatedRects(nullptr, IDANI_CAPTION, nullptr, &rect));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

} // namespace
