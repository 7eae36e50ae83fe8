#include "colour/Zoom.h"

#include "platform/core/Clock.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/tests/VisualTestSupport.h"
#include "platform/win/Gdi.h"
#include "platform/win/Messages.h"
#include "platform/win/Regions.h"
#include "platform/win/WinUser.h"
#include "platform/win/WindowPos.h"
#include "platform/win/Windows.h"
#include "unicode/TntStdCtrls.h"

#include <filesystem>
#include <functional>

namespace {

constexpr TSize Lens{150, 150};
constexpr TSize Screen1024{1024, 768};

struct SourceCase {
    TPoint pointer;
    Integer zoom;
    TRect expected;
};

TEST(MagnifierSourceRect, EnlargesAnAreaAroundThePointerAndStaysOnTheScreen) {
    const SourceCase cases[] = {
        {{500, 400}, 4, {491, 391, 509, 409}},    // 18 x 18 at z = 4
        {{500, 400}, 7, {495, 395, 505, 405}},    // 10 x 10 at z = 7
        {{500, 400}, 1, {463, 363, 537, 437}},    // 74 x 74 at z = 1
        {{0, 0}, 4, {0, 0, 18, 18}},              // top-left corner
        {{3, 400}, 4, {0, 391, 18, 409}},         // left edge
        {{500, 2}, 4, {491, 0, 509, 18}},         // top edge
        {{1023, 400}, 4, {1006, 391, 1024, 409}}, // right edge
        {{500, 767}, 1, {463, 694, 537, 768}},    // bottom edge
    };
    for (const SourceCase& c : cases)
        EXPECT_EQ(MagnifierSourceRect(c.pointer, c.zoom, Lens, Screen1024), c.expected)
            << c.pointer.x << "," << c.pointer.y << " z=" << c.zoom;
}

// The colour page as the magnifier sees it; ZoomFactor can run a step in
// the middle of a tick.
struct FakeColourPage : TZoomHost {
    Integer zoom = 4;
    std::vector<TColor> picked;
    AnsiString text;
    int activations = 0;
    int zoomQueries = 0;
    std::function<void()> duringTick;
    Integer ZoomFactor() override {
        ++zoomQueries;
        if (duringTick) std::exchange(duringTick, nullptr)();
        return zoom;
    }
    void ZoomColorPicked(TColor Color) override { picked.push_back(Color); }
    void ZoomTextPicked(const AnsiString& Text) override { text = Text; }
    void ActivateMainWindow() override { ++activations; }
};

// A screen whose every pixel tells its place: red x, green y, blue 77.
Pixel screenPixel(int X, int Y) {
    return static_cast<Pixel>((X & 0xFF) << 16 | (Y & 0xFF) << 8 | 77);
}
TColor screenColor(int X, int Y) {
    return static_cast<TColor>(ColorRefFromPixel(screenPixel(X, Y)));
}

class ZoomTest : public VisualTest {
protected:
    FakeColourPage page;
    TZoomForm* zoom = nullptr;

    // Ticks are run by the tests alone: the timer's own ticks wait for a
    // clock that never moves, however slow the machine.
    void SetUp() override {
        VisualTest::SetUp();
        UseSteppedClock(true);
        auto screen = std::make_shared<PixelSurface>(Screen1024.cx, Screen1024.cy);
        for (int y = 0; y < Screen1024.cy; ++y)
            for (int x = 0; x < Screen1024.cx; ++x)
                screen->Set(x, y, screenPixel(x, y));
        backend.SetScreenImage(screen);
        zoom = NewForm<TZoomForm>(Application, page);
        zoom->Show();
        zoom->SetTop(0);
        zoom->SetLeft(Screen1024.cx - TZoomForm::LensSize);
        HeadlessBackend::ProcessMessages();
    }
    void TearDown() override {
        if (zoom) zoom->CloseAndFree();
        HeadlessBackend::ProcessMessages();
        backend.SetScreenImage(nullptr);
        UseSteppedClock(false);
        VisualTest::TearDown();
    }
    TColor lensPixel(int X, int Y) const { return zoom->Image1->Canvas()->Pixels(X, Y); }
};

TEST_F(ZoomTest, TheWindowIsALensAboveARoundedTab) {
    EXPECT_EQ(zoom->ClientWidth(), 150);
    EXPECT_EQ(zoom->ClientHeight(), 177);
    EXPECT_EQ(zoom->FormStyle(), fsStayOnTop);
    EXPECT_EQ(GetWindowLongPtrA(zoom->Handle(), GWLP_HWNDPARENT), 0);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(zoom->Handle(), region), 0);
    const std::pair<POINT, bool> points[] = {
        {{75, 75}, true},   {{2, 2}, false},     {{147, 147}, false}, {{75, 1}, true},   {{10, 165}, true},
        {{125, 165}, true}, {{140, 165}, false}, {{1, 151}, false},   {{65, 175}, true}, {{65, 177}, false},
    };
    for (const auto& [point, inside] : points)
        EXPECT_EQ(PtInRegion(region, point.x, point.y) != 0, inside) << point.x << "," << point.y;
    DeleteObject(region);
}

TEST_F(ZoomTest, ATickEnlargesTheScreenAroundThePointerAndReportsTheColourBesideIt) {
    const POINT pointer{500, 400};
    backend.MoveMouse(pointer);
    zoom->Timer1Timer(zoom->Timer1);

    // z = 4: (491, 391) .. (509, 409) stretched over 150 x 150.
    const TRect source = MagnifierSourceRect({pointer.x, pointer.y}, 4, Lens, Screen1024);
    auto enlarged = [&](int X, int Y) {
        return screenColor(source.Left + X * source.Width() / 150, source.Top + Y * source.Height() / 150);
    };
    for (const POINT p : {POINT{40, 40}, POINT{100, 50}, POINT{50, 100}, POINT{100, 100}, POINT{74, 20}})
        EXPECT_EQ(lensPixel(p.x, p.y), enlarged(p.x, p.y)) << p.x << "," << p.y;

    // The cross-hair, inverted and dotted, is centred at 2 z (pointer - source corner) = (72, 72).
    int inverted = 0;
    for (int x = 72 - 37; x < 72 + 37; ++x)
        if (lensPixel(x, 72) == (enlarged(x, 72) ^ 0xFFFFFF)) ++inverted;
    EXPECT_GT(inverted, 20);
    EXPECT_EQ(lensPixel(72 + 45, 72), enlarged(72 + 45, 72));
    // The lens ring.
    EXPECT_NE(lensPixel(1, 74), enlarged(1, 74));
    // The window shows the buffer.
    EXPECT_EQ(PixelAt(zoom->Handle(), {40, 40}), enlarged(40, 40));

    ASSERT_EQ(page.picked.size(), 1u);
    EXPECT_EQ(page.picked.back(), screenColor(499, 399));
    EXPECT_EQ(page.text, "#F38F4D");
    EXPECT_EQ(zoom->ZoomColorEdit->Text(), "#F38F4D");
    EXPECT_EQ(zoom->Shape1->Brush()->Color(), screenColor(499, 399));

    HeadlessBackend::ProcessMessages();
    std::filesystem::create_directories(QUORVANE_SCREENSHOTS_DIR);
    EXPECT_TRUE(backend.SavePng(zoom->Handle(), QUORVANE_SCREENSHOTS_DIR "/magnifier.png"));
}

TEST_F(ZoomTest, AtTheTopLeftCornerTheCrossHairMovesTowardsTheCorner) {
    backend.MoveMouse(POINT{2, 3});
    zoom->Timer1Timer(zoom->Timer1);
    // The source starts at (0, 0): the centre is (16, 24), not the lens's middle.
    int inverted = 0;
    for (int x = 0; x < 16 + 37; ++x)
        if (lensPixel(x, 24) == (screenColor(x * 18 / 150, 24 * 18 / 150) ^ 0xFFFFFF)) ++inverted;
    EXPECT_GT(inverted, 10);
    EXPECT_EQ(page.picked.back(), screenColor(1, 2));
}

// The pointer is over another program, which may well have the keyboard.
TEST_F(ZoomTest, EscPressedInAnyProgramStopsTheCapture) {
    backend.MoveMouse(POINT{300, 300});
    backend.HoldKeyOnDesktop(VK_ESCAPE, true);
    zoom->Timer1Timer(zoom->Timer1);
    backend.HoldKeyOnDesktop(VK_ESCAPE, false);
    EXPECT_FALSE(zoom->CaptureLabel->Visible());
    EXPECT_FALSE(zoom->Timer1->Enabled());
}

TEST_F(ZoomTest, EscStopsTheCaptureAndActivationResumesIt) {
    backend.MoveMouse(POINT{300, 300});
    backend.PressKey(VK_ESCAPE);
    zoom->Timer1Timer(zoom->Timer1);
    EXPECT_FALSE(zoom->CaptureLabel->Visible());
    EXPECT_FALSE(zoom->Timer1->Enabled());

    auto other = plainForm();
    other->Show();
    HeadlessBackend::ProcessMessages();
    backend.Click(zoom->Handle(), {75, 75}, MouseButton::Right);
    HeadlessBackend::ProcessMessages();
    EXPECT_TRUE(zoom->CaptureLabel->Visible());
    EXPECT_TRUE(zoom->Timer1->Enabled());
}

TEST_F(ZoomTest, AnEscPressedBeforeTheLensIsActivatedDoesNotStopIt) {
    backend.MoveMouse(POINT{300, 300});
    auto other = plainForm();
    other->Show();
    HeadlessBackend::ProcessMessages();
    backend.PressKey(VK_ESCAPE);
    HeadlessBackend::ProcessMessages();
    backend.Click(zoom->Handle(), {75, 75}, MouseButton::Right);
    HeadlessBackend::ProcessMessages();
    zoom->Timer1Timer(zoom->Timer1);
    EXPECT_TRUE(zoom->CaptureLabel->Visible());
    EXPECT_TRUE(zoom->Timer1->Enabled());
}

TEST_F(ZoomTest, ATickNeverStartsInsideAnother) {
    page.duringTick = [this] { zoom->Timer1Timer(zoom->Timer1); };
    zoom->Timer1Timer(zoom->Timer1);
    EXPECT_EQ(page.zoomQueries, 1);
    EXPECT_EQ(page.picked.size(), 1u);
}

// The close arrives from the messages the tick lets through: the window goes
// once the tick has returned, and the tick reports nothing more.
TEST_F(ZoomTest, AWindowClosedDuringATickIsFreedAfterIt) {
    TZoomForm* closing = zoom;
    const HWND window = closing->Handle();
    page.duringTick = [&] {
        PostMessageA(window, WM_NULL, 0, 0);
        zoom->CloseAndFree();
        zoom = nullptr;
    };
    closing->Timer1Timer(closing->Timer1);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(page.picked.empty());
    HeadlessBackend::ProcessMessages();
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(ZoomTest, TheWindowIsDraggedByItsBody) {
    const TPoint before{zoom->Left(), zoom->Top()};
    bool moved = false;
    backend.SetIdleHandler([&] {
        if (std::exchange(moved, true)) return;
        backend.MoveMouse(zoom->Handle(), {50, 90});
        backend.MouseUp(zoom->Handle(), {50, 90});
    });
    backend.MouseDown(zoom->Handle(), {60, 60});
    HeadlessBackend::ProcessMessages();
    EXPECT_TRUE(moved);
    EXPECT_EQ(zoom->Left(), before.x - 10);
    EXPECT_EQ(zoom->Top(), before.y + 30);
}

TEST_F(ZoomTest, ADoubleClickBringsTheMainWindow) {
    zoom->FormDblClick(zoom);
    EXPECT_EQ(page.activations, 1);
}

} // namespace
