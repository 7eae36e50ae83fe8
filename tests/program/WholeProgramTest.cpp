// The program started through its entry, splash window and all, on the
// headless backend with stepped time, and every demo script taken through
// the road a user takes: a key in the category box, a click in the title
// list, the wizard opened, new values entered and applied, the page
// exported. Pages are compared byte for byte with the expected ones and
// exported files with their originals; then the main window is closed and
// what the program leaves behind is checked.
#include "app/Main.h"
#include "app/Program.h"
#include "app/Settings.h"
#include "app/Splash.h"
#include "app/TempFiles.h"
#include "app/WizardDefinitions.h"
#include "app/tests/ScratchFolder.h"
#include "components/ColorPickerButton.h"
#include "gl/glGrBox.h"
#include "platform/core/Classes.h"
#include "platform/core/Clock.h"
#include "platform/core/CodePages.h"
#include "platform/core/IniFiles.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/Grids.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/ToolBars.h"
#include "platform/vcl/tests/VisualTestSupport.h"
#include "platform/win/Focus.h"
#include "platform/win/Hooks.h"
#include "platform/win/ListBoxControl.h"
#include "platform/win/MessageBox.h"
#include "platform/win/Messages.h"
#include "platform/win/WindowPlacement.h"
#include "platform/win/WindowPos.h"
#include "platform/win/WindowTree.h"
#include "platform/win/Windows.h"
#include "rx/RXSpin.h"
#include "rx/ToolEdit.h"
#include "unicode/TntStdCtrls.h"

#include <deque>
#include <filesystem>
#include <set>

namespace {

const std::string expectedPages = QUORVANE_EXPECTED_PAGES_DIR "/";
const std::filesystem::path programFolder = QUORVANE_PROGRAM_FOLDER;
const char* const chosenPicture = "chosen picture.gif";

// The values the expected "-changed" pages hold (make_pages.py).
WideString changedText(Integer Row) {
    return AnsiToWide("Text " + std::to_string(Row) + ": caf\xe9 \x80 & <b>");
}
TColor pickedColour(Integer Row) {
    return static_cast<TColor>((0xA0 + Row) << 16 | 0x20 << 8 | 16 * Row);
}
AnsiString pastedColour(Integer Row) {
    return "#ABCD0" + std::to_string(Row);
}

struct SeenMessageBox {
    WideString caption;
    WideString text;
};

WideString windowText(HWND Window) {
    std::vector<WCHAR> buffer(GetWindowTextLengthW(Window) + 1);
    GetWindowTextW(Window, buffer.data(), static_cast<int>(buffer.size()));
    return buffer.data();
}

class WholeProgramTest : public VisualTest {
public:
    ProgramFolderLock lock{SettingsFileName() + ".lock"};
    ScratchFolder scratch;
    std::string iniName = SettingsFileName();
    std::deque<std::function<void()>> steps;
    std::vector<SeenMessageBox> boxes;

    void SetUp() override {
        VisualTest::SetUp();
        std::filesystem::create_directories(scratch / "temp");
        setenv("TMPDIR", (scratch / "temp").c_str(), 1);
        std::remove(iniName.c_str());
        UseSteppedClock(true);
    }
    void TearDown() override {
        UseSteppedClock(false);
        std::remove(iniName.c_str());
        VisualTest::TearDown();
    }

    // Runs the program. Whenever its message loop waits for the user, a
    // message box shown is read and answered with Enter, or else the next
    // step runs; a step may add steps. The last one closes the main window.
    void runProgram(std::vector<std::function<void()>> Steps) {
        steps.assign(Steps.begin(), Steps.end());
        backend.SetIdleHandler([this] {
            if (HWND box = FindWindowW(MessageBoxClassName, nullptr)) {
                boxes.push_back({windowText(box), windowText(FindWindowExW(box, nullptr, MessageBoxTextClassName,
                                                                           nullptr))});
                backend.PressKey(VK_RETURN);
                return;
            }
            if (steps.empty()) {
                ADD_FAILURE() << "the program waited for input after its steps";
                MainForm->Close();
                return;
            }
            const std::function<void()> step = std::move(steps.front());
            steps.pop_front();
            step();
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
    // A click in the middle of `Control`, on the window under it.
    void clickCentre(TControl* Control) {
        TWinControl* window = dynamic_cast<TWinControl*>(Control);
        const TPoint centre{Control->Width() / 2, Control->Height() / 2};
        if (window) return backend.Click(window->Handle(), centre);
        const TRect bounds = Control->BoundsRect();
        backend.Click(Control->Parent()->Handle(), TPoint{bounds.Left + centre.x, bounds.Top + centre.y});
    }
    std::string page() const { return ReadFile(TempDir + PreviewPageFile); }
};

std::set<std::string> filesIn(const std::string& Folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(Folder))
        names.insert(std::filesystem::relative(entry.path(), Folder).string());
    return names;
}

// Every demo script in turn, with the wizard's values changed as the
// expected "-changed" pages have them and the page exported.
class DemoWalk {
public:
    DemoWalk(WholeProgramTest& Test, HeadlessBackend& Backend, const ScratchFolder& Scratch)
        : test_(Test), backend_(Backend), scratch_(Scratch) {
        WriteFile(scratch_ / (std::string("pictures/") + chosenPicture), "GIF89a chosen");
    }

    // The step that shows the next script, or closes the main window after the last.
    void NextScript();

    std::set<AnsiString> ScriptsSeen;
    Integer FilesExported = 0;

private:
    template <typename T> static T* control(const char* Prefix, Integer Row) {
        return static_cast<T*>(MainForm->WizardControl(Prefix, Row));
    }
    void changeValue(const TWizardDefinition& Definition);
    void showAndExport();
    void checkExport(const AnsiString& Id, const std::string& Folder, std::size_t BoxesBefore);
    std::string originalOf(const AnsiString& Name) const;

    WholeProgramTest& test_;
    HeadlessBackend& backend_;
    const ScratchFolder& scratch_;
    Integer category_ = 0;
    Integer title_ = 0;
};

TPoint centreOf(const TRect& Rect) {
    return {(Rect.Left + Rect.Right) / 2, (Rect.Top + Rect.Bottom) / 2};
}

std::string numberOf(const AnsiString& Id) {
    return Format("%.2d", {StrToInt(Id)});
}

void DemoWalk::NextScript() {
    TMainForm* form = MainForm;
    while (title_ >= form->TitleBox->Items()->Count()) {
        if (category_ + 1 >= form->TypeComboBox->Items()->Count()) return;
        ++category_;
        title_ = 0;
        test_.nextCategory();
        ASSERT_EQ(form->TypeComboBox->ItemIndex(), category_);
    }
    showAndExport();
    ++title_;
}

void DemoWalk::showAndExport() {
    TMainForm* form = MainForm;
    test_.clickTitle(title_);
    ASSERT_EQ(form->TitleBox->ItemIndex(), title_);
    const AnsiString id = form->StringGrid1->Cells(0, title_ + 1);
    SCOPED_TRACE("script " + id);
    ScriptsSeen.insert(id);
    const std::string number = numberOf(id);
    EXPECT_EQ(test_.page(), ReadFile(expectedPages + number + ".htm")) << "the defaults";

    ASSERT_TRUE(form->WizGroupBox->Collapsed());
    backend_.Click(form->WizGroupBox->Handle(), centreOf(form->WizGroupBox->CaptionRect()));
    HeadlessBackend::ProcessMessages();
    ASSERT_FALSE(form->WizGroupBox->Collapsed());
    for (Integer line = 0; line < form->WizardLines->Count(); ++line)
        if (std::optional<TWizardDefinition> definition = ParseWizardLine((*form->WizardLines)[line]))
            changeValue(*definition);
    test_.clickCentre(static_cast<TControl*>(form->FindComponent("WizApplytBtn")));
    HeadlessBackend::ProcessMessages();
    EXPECT_EQ(test_.page(), ReadFile(expectedPages + number + "-changed.htm")) << "the values applied";

    // The export's message box is answered once the message loop waits.
    const std::string folder = scratch_ / ("export" + number + "/");
    ForceDirectories(folder);
    backend_.AnswerFileDialog({AnsiToWide(folder + "page.htm")});
    test_.clickCentre(form->ExportButton);
    const std::size_t boxesBefore = test_.boxes.size();
    test_.steps.push_front([this] { NextScript(); });
    test_.steps.push_front([this, id, folder, boxesBefore] { checkExport(id, folder, boxesBefore); });
}

void DemoWalk::changeValue(const TWizardDefinition& Definition) {
    const Integer row = Definition.Row;
    switch (Definition.Kind) {
    case TWizardKind::Text: {
        auto* edit = control<TTntEdit>("WTextEdit", row);
        edit->SetFocus();
        edit->SelectAll();
        backend_.TypeText(changedText(row));
        HeadlessBackend::ProcessMessages();
        break;
    }
    case TWizardKind::Colour:
        if (row % 2) {
            control<TColorPickerButton>("WColorBtn", row)->SetSelectionColor(pickedColour(row));
        } else {
            // Pasted over the edit's text with its button, as from the colour tab.
            auto* edit = control<TComboEdit>("WColorEdit", row);
            edit->SelectAll();
            Clipboard()->SetAsText(pastedColour(row));
            edit->Button()->Click();
        }
        break;
    case TWizardKind::Number:
        control<TRxSpinEdit>("WIntEdit", row)->SetText(IntToStr(40 + row));
        break;
    case TWizardKind::File:
        if (row != 1) break;
        backend_.AnswerFileDialog({AnsiToWide(scratch_ / (std::string("pictures/") + chosenPicture))});
        control<TFilenameEdit>("WFilenameEdit", row)->Button()->Click();
        break;
    }
}

std::string DemoWalk::originalOf(const AnsiString& Name) const {
    if (Name == chosenPicture) return ReadFile(scratch_ / (std::string("pictures/") + chosenPicture));
    return ReadFile((programFolder / "Scripts/Images" / Name).string());
}

void DemoWalk::checkExport(const AnsiString& Id, const std::string& Folder, std::size_t BoxesBefore) {
    TMainForm* form = MainForm;
    SCOPED_TRACE("script " + Id);
    const std::string changed = ReadFile(expectedPages + numberOf(Id) + "-changed.htm");
    EXPECT_EQ(ReadFile(Folder + "page.htm"), changed);
    EXPECT_EQ(WideToAnsi(backend_.OpenedUrls().back()), Folder + "page.htm");
    std::set<std::string> expected{"page.htm"};
    if (Exists(TempDir + AttachedListFile)) {
        TStringList listed;
        listed.LoadFromFile(TempDir + AttachedListFile);
        for (Integer index = 0; index < listed.Count(); ++index, ++FilesExported) {
            expected.insert(listed[index]);
            EXPECT_EQ(ReadFile(Folder + listed[index]), originalOf(listed[index])) << listed[index];
        }
        ASSERT_EQ(test_.boxes.size(), BoxesBefore + 1);
        EXPECT_EQ(test_.boxes.back().caption, u"Export");
        EXPECT_EQ(WideToAnsi(test_.boxes.back().text),
                  "Following files: \n\n" + listed.Text() + "\n\nalso exported in: \n\n" + Folder);
    } else {
        EXPECT_EQ(test_.boxes.size(), BoxesBefore);
    }
    EXPECT_EQ(filesIn(Folder), expected);

    // Closing the wizard applies its values once more.
    backend_.Click(form->WizGroupBox->Handle(), centreOf(form->WizGroupBox->CaptionRect()));
    HeadlessBackend::ProcessMessages();
    EXPECT_TRUE(form->WizGroupBox->Collapsed());
    EXPECT_EQ(test_.page(), changed);
}

TEST_F(WholeProgramTest, EveryDemoScriptIsReachedByKeyAndClickAndItsPageComposedAsExpected) {
    const DWORD started = GetTickCount();
    DWORD runReached = 0;
    std::string tempDir;
    TRect closedBounds;
    DemoWalk walk(*this, backend, scratch);
    runProgram({
        [&] {
            runReached = GetTickCount();
            EXPECT_EQ(SplashForm, nullptr);
            tempDir = TempDir;
            walk.NextScript();
        },
        [&] {
            MainForm->SetBounds(30, 40, 810, 560);
            closedBounds = MainForm->BoundsRect();
            MainForm->Close();
        },
    });

    EXPECT_GE(runReached - started, 2700u) << "the splash window's pauses";
    EXPECT_EQ(walk.ScriptsSeen.size(), 30u);
    EXPECT_EQ(boxes.size(), 6u) << "one note for each export with files";
    EXPECT_EQ(walk.FilesExported, 13) << "the six scripts' files, row 1's replaced by the picture chosen";
    const TQuorvaneSettings written = ReadSettings(TIniFile(iniName));
    EXPECT_EQ(Rect(written.Left, written.Top, written.Left + written.Width, written.Top + written.Height),
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
    runProgram({[&] {
        framesAtRun = barFrames.size();
        bounds = MainForm->BoundsRect();
        MainForm->Close();
    }});
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
