// The dialog components over the headless backend: file dialogs answered by
// the test with their filters and default extension, the colour, font and
// replace dialogs worked through their controls, and the message and input boxes.
#include "VisualTestSupport.h"

#include "platform/core/CodePages.h"
#include "platform/vcl/Dialogs.h"
#include "platform/win/ButtonControl.h"
#include "platform/win/DialogKeys.h"
#include "platform/win/MessageBox.h"
#include "platform/win/Messages.h"
#include "platform/win/WindowTree.h"
#include "platform/win/Windows.h"

#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>

namespace {

class DialogsTest : public VisualTest {
protected:
    // A folder of each test's own, as ctest runs the tests side by side.
    std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        ("quorvane-dialogs-test-" +
         std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::path startFolder = std::filesystem::current_path();
    std::deque<std::function<void()>> steps;

    void SetUp() override {
        VisualTest::SetUp();
        std::filesystem::create_directories(folder);
    }
    void TearDown() override {
        std::filesystem::current_path(startFolder);
        std::filesystem::remove_all(folder);
        VisualTest::TearDown();
    }

    // One step each time a dialog waits for input; with none left, Esc.
    void runSteps() {
        backend.SetIdleHandler([this] {
            if (steps.empty()) {
                backend.PressKey(VK_ESCAPE);
                return;
            }
            auto step = std::move(steps.front());
            steps.pop_front();
            step();
        });
    }

    WideString file(const std::string& name, bool create = true) {
        std::filesystem::path path = folder / name;
        if (create) std::ofstream(path) << name;
        return UTF8Decode(path.string());
    }

    static HWND openDialog() { return FindWindowW(CommonDialogClassName, nullptr); }
};

TEST_F(DialogsTest, ASaveDialogGetsItsFiltersAndAddsTheDefaultExtension) {
    TSaveDialog dialog(nullptr);
    dialog.SetFilter("WebPage (*.htm,*.html)|*.htm;*.html|All files|*.*");
    dialog.SetDefaultExt("htm");
    dialog.SetFileName("temp");
    dialog.SetOptions({ofOverwritePrompt, ofHideReadOnly, ofEnableSizing});
    backend.AnswerFileDialog({file("page", false)}, 1);
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.FileName(), WideToAnsi(file("page.htm", false)));
    EXPECT_FALSE(dialog.Options().Contains(ofExtensionDifferent));
    EXPECT_EQ(std::filesystem::current_path(), folder);
    FileDialogRequest asked = backend.LastFileDialog();
    EXPECT_TRUE(asked.Save);
    ASSERT_EQ(asked.Filters.size(), 2u);
    EXPECT_EQ(asked.Filters[0].first, u"WebPage (*.htm,*.html)");
    EXPECT_EQ(asked.Filters[0].second, u"*.htm;*.html");
    EXPECT_EQ(asked.Filters[1].second, u"*.*");
    EXPECT_EQ(asked.DefaultExtension, u"htm");
    EXPECT_EQ(asked.FileName, u"temp");

    std::filesystem::current_path(startFolder);
    dialog.SetOptions(dialog.Options() + TOpenOptions{ofNoChangeDir});
    backend.AnswerFileDialog({file("other.html", false)}, 2);
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.FileName(), WideToAnsi(file("other.html", false)));
    EXPECT_EQ(dialog.FilterIndex(), 2);
    EXPECT_EQ(std::filesystem::current_path(), startFolder);
    EXPECT_TRUE(dialog.Options().Contains(ofExtensionDifferent));
}

TEST_F(DialogsTest, AnOpenDialogTakesSeveralFilesAndAsksAgainForAMissingOne) {
    TOpenDialog dialog(nullptr);
    dialog.SetOptions({ofAllowMultiSelect, ofFileMustExist});
    dialog.SetInitialDir(folder.string());
    backend.AnswerFileDialog({file("missing.txt", false)});
    backend.AnswerFileDialog({file("one.txt"), file("two.txt")});
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(backend.LastFileDialog().InitialDirectory, UTF8Decode(folder.string()));
    ASSERT_EQ(dialog.Files()->Count(), 2);
    EXPECT_EQ(dialog.Files()->Strings(0), WideToAnsi(file("one.txt", false)));
    EXPECT_EQ(dialog.Files()->Strings(1), WideToAnsi(file("two.txt", false)));
    EXPECT_EQ(dialog.FileName(), dialog.Files()->Strings(0));

    AnsiString before = dialog.FileName();
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.FileName(), before);
}

TEST_F(DialogsTest, WithoutAnInitialFolderTheDialogCanBeMadeToStartInTheCurrentOne) {
    TOpenDialog dialog(nullptr);
    for (const bool force : {true, false}) {
        ForceCurrentDirectory = force;
        backend.AnswerFileDialog({file("one.txt")});
        ASSERT_TRUE(dialog.Execute());
        EXPECT_EQ(backend.LastFileDialog().InitialDirectory,
                  force ? WideString(u".") : UTF8Decode(std::filesystem::current_path().string()))
            << force;
        dialog.SetFileName("");
    }
}

// Without an initial folder, or a folder in the file name, the dialog starts
// in the current folder, not wherever the chooser last was.
TEST_F(DialogsTest, AnOpenDialogWithoutAnInitialFolderStartsInTheCurrentFolder) {
    std::filesystem::current_path(folder);
    TOpenDialog dialog(nullptr);
    dialog.SetFileName("start.txt");
    backend.AnswerFileDialog({file("start.txt")});
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(backend.LastFileDialog().InitialDirectory,
              UTF8Decode(std::filesystem::canonical(folder).string()));
}

TEST_F(DialogsTest, ATooSmallBufferReportsTheSizeNeeded) {
    WCHAR buffer[4] = {};
    OPENFILENAMEW request;
    request.lpstrFile = buffer;
    request.nMaxFile = 4;
    WideString name = file("long-name.txt");
    backend.AnswerFileDialog({name});
    EXPECT_FALSE(GetOpenFileNameW(&request));
    EXPECT_EQ(CommDlgExtendedError(), FNERR_BUFFERTOOSMALL);
    EXPECT_EQ(buffer[0], name.size() + 2);
}

TEST_F(DialogsTest, TheColourDialogReturnsTheColourAndTheCustomColours) {
    TColorDialog dialog(nullptr);
    dialog.SetColor(clRed);
    steps = {[&] {
        HWND window = openDialog();
        ASSERT_NE(window, nullptr);
        SetWindowTextW(GetDlgItem(window, COLOR_GREEN), u"128");
        SendMessageW(window, WM_COMMAND, MAKEWPARAM(COLOR_ADD, BN_CLICKED), 0);
        backend.PressKey(VK_RETURN);
    }};
    runSteps();
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Color(), static_cast<TColor>(RGB(255, 128, 0)));
    EXPECT_EQ(dialog.CustomColors()->Values("ColorA"), "0080FF");
    EXPECT_EQ(dialog.CustomColors()->Count(), 16);
    EXPECT_FALSE(dialog.Execute());
}

TEST_F(DialogsTest, TheFontDialogChangesTheFont) {
    TFontDialog dialog(nullptr);
    dialog.Font()->SetName("Arial");
    dialog.Font()->SetSize(10);
    steps = {[&] {
        HWND window = openDialog();
        SendMessageW(GetDlgItem(window, lst1), LB_SELECTSTRING, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(u"Times New Roman"));
        SendMessageW(GetDlgItem(window, lst2), LB_SETCURSEL, 2, 0);
        SendMessageW(GetDlgItem(window, lst3), LB_SELECTSTRING, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(u"14"));
        SendMessageW(GetDlgItem(window, chx1), BM_SETCHECK, BST_CHECKED, 0);
        backend.PressKey(VK_RETURN);
    }};
    runSteps();
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Font()->Name(), "Times New Roman");
    EXPECT_EQ(dialog.Font()->Size(), 14);
    EXPECT_EQ(dialog.Font()->Style(), (TFontStyles{fsBold, fsStrikeOut}));
}

TEST_F(DialogsTest, TheReplaceDialogRaisesItsEventsWithTheTextsAndOptions) {
    struct Log : TObject {
        std::vector<std::string> events;
        TReplaceDialog* dialog = nullptr;
        void Find(TObject*) { events.push_back("find " + dialog->FindText()); }
        void Replace(TObject*) {
            events.push_back("replace " + dialog->FindText() + " with " + dialog->ReplaceText() +
                             (dialog->Options().Contains(frReplaceAll) ? " all" : ""));
        }
        void Closed(TObject*) { events.push_back("closed"); }
    } log;
    TReplaceDialog dialog(nullptr);
    log.dialog = &dialog;
    dialog.OnFind = TNotifyEvent(&log, &Log::Find);
    dialog.OnReplace = TNotifyEvent(&log, &Log::Replace);
    dialog.OnClose = TNotifyEvent(&log, &Log::Closed);
    dialog.SetFindText("cat");
    dialog.SetReplaceText("dog");
    dialog.SetOptions({frDown, frHideWholeWord});
    ASSERT_TRUE(dialog.Execute());
    HWND window = dialog.Handle();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(GetDlgItem(window, chx1), nullptr);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    SetWindowTextW(GetDlgItem(window, edt1), u"bird");
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(psh2, BN_CLICKED), 0);
    dialog.CloseDialog();
    Application->ProcessMessages();
    EXPECT_EQ(log.events, (std::vector<std::string>{"find cat", "replace bird with dog all", "closed"}));
    EXPECT_EQ(dialog.Handle(), nullptr);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(DialogsTest, MessageAndInputBoxesAnswerWithTheUsersChoice) {
    steps = {[&] { backend.PressKey('N'); }};
    runSteps();
    EXPECT_EQ(MessageDlg("Replace it?", mtConfirmation, {mbYes, mbNo}, 0), mrNo);
    HWND box = nullptr;
    steps = {[&] {
        box = FindWindowW(MessageBoxClassName, nullptr);
        backend.PressKey(VK_RETURN);
    }};
    ShowMessage("Done");
    ASSERT_NE(box, nullptr);

    AnsiString value = "old";
    steps = {[&] {
        backend.TypeText(u"new");
        backend.PressKey(VK_RETURN);
    }};
    EXPECT_TRUE(InputQuery("Name", "Your name:", value));
    EXPECT_EQ(value, "new");
    steps.clear();
    EXPECT_EQ(InputBox("Name", "Your name:", "kept"), "kept");
}

} // namespace
