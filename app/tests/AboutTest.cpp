#include "ScratchFolder.h"

#include "app/About.h"
#include "app/Gradient.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/Pictures.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/Thread.h"
#include "platform/vcl/tests/VisualTestSupport.h"
#include "platform/win/Fonts.h"
#include "platform/win/SystemInfo.h"
#include "rx/RXCtrls.h"

#include <chrono>
#include <optional>
#include <thread>

namespace {

class AboutTest : public VisualTest {
protected:
    std::unique_ptr<TAboutForm> about;

    void TearDown() override {
        about.reset();
        SetReportedVersion(VER_PLATFORM_WIN32_NT, 5, 1, 2600);
        SetReportedMemoryStatus(std::nullopt);
        ThousandSeparator = ',';
        VisualTest::TearDown();
    }
    TAboutForm& open() {
        about.reset(NewForm<TAboutForm>(nullptr));
        return *about;
    }
    static MEMORYSTATUS memory(SIZE_T TotalPhysical, DWORD Load) {
        MEMORYSTATUS status;
        status.dwTotalPhys = TotalPhysical;
        status.dwMemoryLoad = Load;
        return status;
    }
};

TEST_F(AboutTest, TheSystemIsNamedByItsPlatformAndVersion) {
    const struct {
        DWORD platform;
        DWORD major;
        DWORD minor;
        const char* name;
        const char* version;
    } cases[] = {
        {0, 3, 1, "Windows Win32s", "3.1"}, {1, 4, 10, "Windows 9x", "4.10"},
        {2, 5, 0, "Windows 2000", "5.0"},   {2, 5, 1, "Windows XP", "5.1"},
        {2, 5, 2, "Windows 2003", "5.2"},   {2, 6, 0, "Windows NT", "6.0"},
        {2, 4, 0, "Windows NT", "4.0"},     {3, 5, 1, "Unknown", "5.1"},
        {1, 5, 1, "Windows 9x", "5.1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetReportedVersion(c.platform, c.major, c.minor, 2195);
        open();
        EXPECT_EQ(about->Label1->Caption(), c.name);
        EXPECT_EQ(about->Label2->Caption(), c.version);
        EXPECT_EQ(about->Label3->Caption(), "2195");
    }
    SetReportedServicePack(u"Linux 6.1.0");
    open();
    EXPECT_EQ(about->Label4->Caption(), "Linux 6.1.0");
}

// Memory in kibibytes with the locale's thousands separator, beyond 4 GB too.
TEST_F(AboutTest, TheMemoryFiguresUseTheLocalesSeparator) {
    const struct {
        SIZE_T bytes;
        DWORD load;
        char separator;
        const char* total;
        const char* inUse;
    } cases[] = {
        {SIZE_T(8) << 30, 42, ',', "8,388,608 kB", "42 %"},
        {SIZE_T(8) << 30, 100, '.', "8.388.608 kB", "100 %"},
        {SIZE_T(512) << 20, 7, ',', "524,288 kB", "7 %"},
        {1023, 0, ',', " kB", "0 %"},
        {0, 0, ',', " kB", "0 %"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.total);
        ThousandSeparator = c.separator;
        SetReportedMemoryStatus(memory(c.bytes, c.load));
        open();
        EXPECT_EQ(about->Label5->Caption(), c.total);
        EXPECT_EQ(about->Label6->Caption(), c.inUse);
    }
}

TEST_F(AboutTest, TheGradientGrowsBlueFasterThanTheSplashWindows) {
    open().Show();
    Application->ProcessMessages();
    ASSERT_EQ(about->ClientWidth(), 305);
    // Tall enough for the last line's descenders below y 312.
    ASSERT_EQ(about->ClientHeight(), 326);
    EXPECT_EQ(GradientColor(0, 190, 305, 323, 445), 0x059600);
    for (const POINT point :
         {POINT{0, 0}, POINT{300, 100}, POINT{150, 190}, POINT{304, 325}, POINT{250, 180}}) {
        SCOPED_TRACE(std::to_string(point.x) + "," + std::to_string(point.y));
        EXPECT_EQ(PixelAt(about->Handle(), point), GradientColor(point.x, point.y, 305, 326, 445));
    }
    ForceDirectories(QUORVANE_SCREENSHOTS_DIR);
    EXPECT_TRUE(backend.SavePng(about->Handle(), QUORVANE_SCREENSHOTS_DIR "/about.png"));
}

// The thanks line scrolls on the black panel, without a bevel, whole: the
// foot of its letters shows in the 19-pixel panel.
TEST_F(AboutTest, TheThanksLineScrollsWholeOnTheBlackPanel) {
    open().Show();
    Application->ProcessMessages();
    TSecretPanel* panel = about->SecretPanel1;
    TBitmap probe;
    probe.Canvas()->SetFont(panel->Font());
    TEXTMETRICA metrics{};
    GetTextMetricsA(probe.Canvas()->Handle(), &metrics);
    const Integer lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
    const TRect text = panel->TextRect();
    EXPECT_GE(text.Height(), lineHeight);
    const auto at = [&](Integer X, Integer Y) {
        return PixelAt(about->Handle(), {panel->Left() + X, panel->Top() + Y});
    };
    EXPECT_EQ(at(0, 0), clBlack) << "the panel has a bevel";
    EXPECT_EQ(at(panel->Width() - 1, panel->Height() - 1), clBlack) << "the panel has a bevel";
    // One capture a look: the line moves on while the panel is searched.
    const auto footShows = [&] {
        const std::shared_ptr<PixelSurface> shown = Headless().Capture(about->Handle(), true);
        for (Integer y = text.Top + lineHeight * 3 / 4; y < panel->Height(); ++y)
            for (Integer x = 0; x < panel->Width(); ++x)
                if (ColorRefFromPixel(shown->Row(panel->Top() + y)[panel->Left() + x] & PixelColourMask) ==
                    static_cast<COLORREF>(clLime))
                    return true;
        return false;
    };
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!footShows() && std::chrono::steady_clock::now() < limit) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        CheckSynchronize();
        Application->ProcessMessages();
    }
    EXPECT_TRUE(footShows()) << "the line's lower part never showed";
}

// Only the window's own surface closes it.
TEST_F(AboutTest, AClickOnTheWindowClosesItButNotOneOnALabel) {
    open().Show();
    Application->ProcessMessages();
    backend.Click(about->Handle(), {about->Label9->Left() + 5, about->Label9->Top() + 5});
    Application->ProcessMessages();
    EXPECT_TRUE(about->Visible());
    backend.Click(about->Handle(), {300, 5});
    Application->ProcessMessages();
    EXPECT_FALSE(about->Visible());
}

TEST_F(AboutTest, TheLinkOpensTheHomePage) {
    open().Show();
    Application->ProcessMessages();
    const std::size_t before = backend.OpenedUrls().size();
    backend.Click(about->Handle(), {about->HyperLink->Left() + 5, about->HyperLink->Top() + 5});
    Application->ProcessMessages();
    ASSERT_EQ(backend.OpenedUrls().size(), before + 1);
    EXPECT_EQ(backend.OpenedUrls().back(), u"http://www.example.com/");
    EXPECT_TRUE(about->Visible());
}

} // namespace
