// The program started through its entry, splash window and all, on the
// headless backend with stepped time: every demo script is reached the way a
// user reaches it (a key in the category box, a click in the title list) and
// its page compared byte for byte with the expected one; then the main window
// is closed and what the program leaves behind is checked.
#include "app/Main.h"
#include "app/Program.h"
#include "app/Settings.h"
#include "app/Splash.h"
#include "app/TempFiles.h"
#include "app/tests/ScratchFolder.h"
#include "platform/core/Clock.h"
#include "platform/core/IniFiles.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/Grids.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/tests/VisualTestSupport.h"
#include "platform/win/Focus.h"
#include "platform/win/Hooks.h"
#include "platform/win/ListBoxControl.h"
#include "platform/win/Messages.h"
#include "platform/win/WindowPlacement.h"
#include "platform/win/WindowPos.h"
#include "platform/win/Windows.h"

#include <filesystem>
#include <set>

namespace {

const std::string expectedPages = QUORVANE_EXPECTED_PAGES_DIR "/";

class WholeProgramTest : public VisualTest {
protected:
    ProgramFolderLock lock{SettingsFileName() + ".lock"};
    ScratchFolder scratch;
    std::string iniName = SettingsFileName();

    void SetUp() override {
        VisualTest::SetUp();
        setenv("TMPDIR", scratch.Path().c_str(), 1);
        std::remove(iniName.c_str());
        UseSteppedClock(true);
    }
    void TearDown() override {
        UseSteppedClock(false);
        std::remove(iniName.c_str());
        VisualTest::TearDown();
    }

    // Runs the program; `Steps` runs once the message loop waits for the user
    // and ends by closing the main window.
    void runProgram(std::function<void()> Steps) {
        backend.SetIdleHandler([this, Steps] {
            backend.SetIdleHandler([] { FAIL() << "the program waited for input after its steps"; });
            Steps();
        });
        EXPECT_EQ(WinMain(), 0);
    }

    // The next category, chosen with the down arrow in the focused category box.
    void nextCategory() {
        SetFocus(MainForm->TypeComboBox->Handle());
        backend.PressKey(VK_DOWN);
        HeadlessBackend::ProcessMessages();
    }
    void clickTitle(Integer Index) {
        RECT item{};
        SendMessageA(MainForm->TitleBox->Handle(), LB_GETITEMRECT, Index, reinterpret_cast<LPARAM>(&item));
        backend.Click(MainForm->TitleBox->Handle(), TPoint{item.Left + 5, (item.Top + item.Bottom) / 2});
        HeadlessBackend::ProcessMessages();
    }
};

std::set<std::string> filesIn(const std::string& Folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(Folder))
        names.insert(std::filesystem::relative(entry.path(), Folder).string());
    return names;
}

TEST_F(WholeProgramTest, EveryDemoScriptIsReachedByKeyAndClickAndItsPageComposedAsExpected) {
    const DWORD started = GetTickCount();
    DWORD runReached = 0;
    std::string tempDir;
    std::set<AnsiString> scriptsSeen;
    TRect closedBounds;
    runProgram([&] {
        runReached = GetTickCount();
        EXPECT_EQ(SplashForm, nullptr);
        tempDir = TempDir;
        const Integer categories = MainForm->TypeComboBox->Items()->Count();
        for (Integer category = 0; category < categories; ++category) {
            if (category > 0) nextCategory();
            SCOPED_TRACE(MainForm->TypeComboBox->Text());
            EXPECT_EQ(MainForm->TypeComboBox->ItemIndex(), category);
            for (Integer title = 0; title < MainForm->TitleBox->Items()->Count(); ++title) {
                clickTitle(title);
                ASSERT_EQ(MainForm->TitleBox->ItemIndex(), title);
                const AnsiString id = MainForm->StringGrid1->Cells(0, title + 1);
                SCOPED_TRACE(id);
                scriptsSeen.insert(id);
                EXPECT_EQ(ReadFile(tempDir + PreviewPageFile),
                          ReadFile(expectedPages + Format("%.2d.htm", {StrToInt(id)})));
            }
        }
        MainForm->SetBounds(30, 40, 810, 560);
        closedBounds = MainForm->BoundsRect();
        MainForm->Close();
    });

    EXPECT_GE(runReached - started, 2700u) << "the splash window's pauses";
    EXPECT_EQ(scriptsSeen.size(), 30u);
    const TQuorvaneSettings written = ReadSettings(TIniFile(iniName));
    EXPECT_EQ(TRect(written.Left, written.Top, written.Left + written.Width, written.Top + written.Height),
              closedBounds);
    EXPECT_EQ(written.LangFile, "English.lng");
    EXPECT_EQ(written.LastDBase, "demo.zelk");
    ASSERT_FALSE(tempDir.empty());
    EXPECT_EQ(filesIn(tempDir), std::set<std::string>{}) << "left in the temporary folder";
}

// What the program reads from its own folder, which must be complete there
// (the display test runs a copy of it).
TEST(ProgramFolderTest, HoldsWhatTheProgramReads) {
    const std::filesystem::path folder = QUORVANE_PROGRAM_FOLDER;
    for (const char* item : {"Quorvane", "demo.zelk", "Color/Palettes/Palette1.bmp", "Color/Palettes/Palette2.bmp",
                             "Color/Help/English.htm", "Lang/English.lng", "Lang/German.lng", "Help/English.htm"})
        EXPECT_TRUE(std::filesystem::is_regular_file(folder / item)) << item;
    EXPECT_FALSE(std::filesystem::is_empty(folder / "Scripts")) << "the demo scripts' attached files";
#ifdef QUORVANE_WEB_ENGINE_MODULE
    EXPECT_TRUE(std::filesystem::is_regular_file(folder / QUORVANE_WEB_ENGINE_MODULE));
#endif
}

// Where the flying caption bar was shown, frame by frame, and whether the
// main window was on screen then.
struct BarFrame {
    TRect rect;
    bool mainWindowShown;
};
std::vector<BarFrame> barFrames;

LRESULT watchCaptionBar(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    char16_t name[32] = {};
    if (code >= 0 && sent->message == WM_WINDOWPOSCHANGED && GetClassNameW(sent->hwnd, name, 32) > 0 &&
        WideString(name) == AnimatedCaptionClass && IsWindowVisible(sent->hwnd)) {
        RECT rect;
        GetWindowRect(sent->hwnd, &rect);
        barFrames.push_back({rect, MainForm && IsWindowVisible(MainForm->Handle())});
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(WholeProgramTest, TheMainWindowsCaptionFliesOutOfItsCentreAndBackIntoIt) {
    barFrames.clear();
    HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, watchCaptionBar, nullptr, GetCurrentThreadId());
    TRect bounds;
    std::size_t framesAtRun = 0;
    runProgram([&] {
        framesAtRun = barFrames.size();
        bounds = MainForm->BoundsRect();
        MainForm->Close();
    });
    UnhookWindowsHookEx(hook);

    const TRect centre{bounds.Left + bounds.Width() / 2, bounds.Top + bounds.Height() / 2,
                       bounds.Left + bounds.Width() / 2, bounds.Top + bounds.Height() / 2};
    ASSERT_EQ(framesAtRun, 11u) << "opening";
    ASSERT_EQ(barFrames.size(), 22u) << "closing";
    EXPECT_EQ(barFrames[0].rect, centre);
    EXPECT_FALSE(barFrames[0].mainWindowShown) << "the caption flies before the window appears";
    for (const TRect& full : {barFrames[10].rect, barFrames[11].rect}) {
        EXPECT_EQ(full.Left, bounds.Left);
        EXPECT_EQ(full.Top, bounds.Top);
        EXPECT_EQ(full.Right, bounds.Right);
    }
    EXPECT_EQ(barFrames[21].rect, centre);
}

} // namespace
