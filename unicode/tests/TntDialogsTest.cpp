// The wide dialogs: the file dialogs' properties, the request the system
// gets and the names it gives back, the message form's layout, buttons and
// Ctrl+C text, and the input box; pictures of a message form and an input
// query for a person to look at.
#include "platform/vcl/tests/VisualTestSupport.h"

#include "platform/core/CodePages.h"
#include "platform/core/FileUtils.h"
#include "platform/win/Focus.h"
#include "platform/win/Messages.h"
#include "platform/win/Windows.h"
#include "unicode/TntClipBrd.h"
#include "unicode/TntDialogs.h"
#include "unicode/TntStdCtrls.h"
#include "unicode/TntSystem.h"

#include <deque>
#include <filesystem>
#include <functional>

namespace {

// build/screenshots: the tests run from the build folder's bin folder.
std::filesystem::path screenshotFolder() {
    std::filesystem::path folder = std::filesystem::path(ProgramFolder()).parent_path() / "screenshots";
    std::filesystem::create_directories(folder);
    return folder;
}

class DialogsTest : public VisualTest {
protected:
    std::deque<std::function<void()>> steps;

    // Typed characters above 255 reach the wide edits through the layer's message hook.
    void SetUp() override {
        VisualTest::SetUp();
        InitializeTntForms();
    }
    void TearDown() override {
        steps.clear();
        VisualTest::TearDown();
    }
    // One step each time a modal form waits for input; with none left, Esc.
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
};

// ---- File dialogs ----

class TNamesDialog : public TTntOpenDialog {
public:
    using TTntOpenDialog::TTntOpenDialog;
    void Take(const WideString& Buffer, DWORD Flags = OFN_EXPLORER) {
        std::vector<WideChar> text(Buffer.begin(), Buffer.end());
        text.resize(text.size() + 2, u'\0');
        OPENFILENAMEW request;
        request.lpstrFile = text.data();
        request.nMaxFile = static_cast<DWORD>(text.size() - 2);
        request.Flags = Flags;
        GetFileNamesW(request);
    }
};

TEST_F(DialogsTest, InitialDirLosesOneTrailingDelimiterButNotADrivesOrTheRoot) {
    const std::pair<WideString, WideString> cases[] = {
        {u"C:\\", u"C:\\"}, {u"C:\\Temp\\", u"C:\\Temp"},     {u"/srv/site/", u"/srv/site"}, {u"/", u"/"},
        {u"\\", u"\\"},     {u"/srv/データ", u"/srv/データ"},
    };
    TTntOpenDialog dialog(nullptr);
    for (const auto& [given, kept] : cases) {
        dialog.SetInitialDir(given);
        EXPECT_EQ(dialog.InitialDir(), kept) << UTF8Encode(given);
    }
}

TEST_F(DialogsTest, SeveralChosenNamesBecomeFullPaths) {
    struct Case {
        WideString buffer;
        std::vector<WideString> files;
    };
    const Case cases[] = {
        {WideString(u"C:\\Docs\0a.txt\0b.txt", 19), {u"C:\\Docs\\a.txt", u"C:\\Docs\\b.txt"}},
        {WideString(u"/srv/site\0a\0/tmp/b", 18), {u"/srv/site/a", u"/tmp/b"}},
        {WideString(u"C:\\\0D:\\x.txt\0\\y", 15), {u"D:\\x.txt", u"\\y"}},
        {u"/srv/一つ.txt", {u"/srv/一つ.txt"}},
    };
    TNamesDialog dialog(nullptr);
    dialog.SetOptions(dialog.Options() + TOpenOptions{ofAllowMultiSelect});
    for (const Case& item : cases) {
        dialog.Files()->Clear();
        dialog.Take(item.buffer);
        std::vector<WideString> files;
        for (Integer i = 0; i < dialog.Files()->Count(); ++i)
            files.push_back(dialog.Files()->Strings(i));
        EXPECT_EQ(files, item.files);
        EXPECT_EQ(dialog.FileName(), item.files.front());
    }
    dialog.Files()->Clear();
    dialog.Take(u"C:\\Docs a.txt b.txt", 0);
    EXPECT_EQ(dialog.Files()->Count(), 2) << "old-style dialogs separate with blanks";
}

TEST_F(DialogsTest, TheSystemGetsTheWideRequestAndGivesTheNamesBack) {
    TTntOpenDialog dialog(nullptr);
    dialog.SetFilter(u"Text|*.txt|All|*.*");
    dialog.SetTitle(u"ファイルを開く");
    dialog.SetFileName(u"古い.txt");
    dialog.SetOptions(dialog.Options() + TOpenOptions{ofAllowMultiSelect, ofNoChangeDir});
    backend.AnswerFileDialog({u"/srv/site/新しい.txt", u"/srv/site/二.txt"}, 2);
    ASSERT_TRUE(dialog.Execute());
    const FileDialogRequest request = backend.LastFileDialog();
    EXPECT_EQ(request.Filters,
              (std::vector<std::pair<WideString, WideString>>{{u"Text", u"*.txt"}, {u"All", u"*.*"}}));
    EXPECT_EQ(request.Title, u"ファイルを開く");
    EXPECT_EQ(request.FileName, u"古い.txt");
    EXPECT_EQ(dialog.FileName(), u"/srv/site/新しい.txt");
    ASSERT_EQ(dialog.Files()->Count(), 2);
    EXPECT_EQ(dialog.Files()->Strings(1), u"/srv/site/二.txt");
    EXPECT_EQ(dialog.FilterIndex(), 2);

    ASSERT_FALSE(dialog.Execute()) << "no answer queued: cancelled";
    EXPECT_EQ(dialog.FileName(), u"/srv/site/新しい.txt");
    EXPECT_EQ(dialog.Files()->Count(), 0) << "emptied as the dialog starts";
}

TEST_F(DialogsTest, WithoutAnInitialFolderTheDialogCanBeMadeToStartInTheCurrentOne) {
    TTntOpenDialog dialog(nullptr);
    for (const bool force : {true, false}) {
        ForceCurrentDirectory = force;
        backend.AnswerFileDialog({u"/srv/a.txt"}, 1);
        ASSERT_TRUE(dialog.Execute());
        EXPECT_EQ(backend.LastFileDialog().InitialDirectory,
                  force ? WideString(u".") : UTF8Decode(std::filesystem::current_path().string()))
            << force;
        dialog.SetFileName(u"");
    }
    dialog.SetInitialDir(u"/srv/site");
    ForceCurrentDirectory = true;
    backend.AnswerFileDialog({u"/srv/a.txt"}, 1);
    ASSERT_TRUE(dialog.Execute());
    ForceCurrentDirectory = false;
    EXPECT_EQ(backend.LastFileDialog().InitialDirectory, u"/srv/site");
}

class TCanCloseLog {
public:
    std::vector<WideString> asked;
    TTntOpenDialog* dialog = nullptr;
    void CanClose(TObject*, bool& CanClose) {
        asked.push_back(dialog->FileName());
        CanClose = asked.size() > 1;
    }
};

TEST_F(DialogsTest, ARefusalOfOnCanCloseKeepsTheDialogOpen) {
    TTntSaveDialog dialog(nullptr);
    TCanCloseLog log;
    log.dialog = &dialog;
    dialog.OnCanClose = TCloseQueryEvent(&log, &TCanCloseLog::CanClose);
    dialog.SetOptions(dialog.Options() + TOpenOptions{ofNoChangeDir});
    backend.AnswerFileDialog({u"/tmp/最初.txt"});
    backend.AnswerFileDialog({u"/tmp/二番目.txt"});
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(log.asked, (std::vector<WideString>{u"/tmp/最初.txt", u"/tmp/二番目.txt"}));
    EXPECT_EQ(dialog.FileName(), u"/tmp/二番目.txt");
    EXPECT_EQ(dialog.Files()->Count(), 1);
}

TEST_F(DialogsTest, TheNameChosenIsReadWholeWhileTheDialogRuns) {
    const WideString longName = u"/srv/" + WideString(300, u'長') + u".txt";
    struct TReader {
        TTntOpenDialog* dialog = nullptr;
        WideString seen;
        void CanClose(TObject*, bool&) { seen = dialog->FileName(); }
    } reader;
    TTntOpenDialog dialog(nullptr);
    reader.dialog = &dialog;
    dialog.OnCanClose = TCloseQueryEvent(&reader, &TReader::CanClose);
    dialog.SetOptions(dialog.Options() + TOpenOptions{ofNoChangeDir, ofAllowMultiSelect});
    backend.AnswerFileDialog({longName});
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(reader.seen, longName);
    EXPECT_EQ(dialog.Handle(), nullptr) << "no dialog window once it is over";
}

// ---- Message form ----

TEST_F(DialogsTest, DefaultAndCancelButtonsFollowTheButtonsPresent) {
    struct Case {
        TMsgDlgButtons buttons;
        const char* defaultName; // "" for none
        const char* cancelName;
    };
    const Case cases[] = {
        {{mbYes, mbNo}, "Yes", "No"},
        {{mbOK, mbCancel}, "OK", "Cancel"},
        {{mbYes, mbNo, mbCancel}, "Yes", "Cancel"},
        {{mbAbort, mbRetry, mbIgnore}, "Retry", ""},
        {{mbAbort, mbIgnore}, "", ""},
        {{mbOK}, "OK", "OK"},
    };
    for (const Case& item : cases) {
        std::unique_ptr<TTntMessageForm> form(WideCreateMessageDialog(u"質問", mtConfirmation, item.buttons));
        std::string defaults, cancels;
        for (Integer i = 0; i < form->ComponentCount(); ++i)
            if (auto* button = dynamic_cast<TTntButton*>(form->Components(i))) {
                if (button->Default()) defaults += button->Name();
                if (button->Cancel()) cancels += button->Name();
            }
        EXPECT_EQ(defaults, item.defaultName);
        EXPECT_EQ(cancels, item.cancelName);
    }
}

WideString longMessage() {
    WideString text;
    for (int i = 0; i < 100; ++i)
        text += u"語語語 ";
    return text;
}

TEST_F(DialogsTest, TheMessageFormIsSizedByItsTextIconAndButtons) {
    auto clientSize = [](const WideString& Msg, TMsgDlgType Type, TMsgDlgButtons Buttons) {
        std::unique_ptr<TTntMessageForm> form(WideCreateMessageDialog(Msg, Type, Buttons));
        return TPoint{form->ClientWidth(), form->ClientHeight()};
    };
    const TPoint plain = clientSize(u"短い", mtCustom, {mbOK});
    const TPoint withIcon = clientSize(u"短い", mtWarning, {mbOK});
    EXPECT_GT(withIcon.y, plain.y) << "the icon is higher than one line";
    const TPoint longText = clientSize(longMessage(), mtWarning, {mbOK});
    EXPECT_LE(longText.x, Screen->Width() / 2 + 32 + 100) << "the text wraps at half the screen";
    EXPECT_GT(longText.y, withIcon.y);
    const TPoint manyButtons = clientSize(u"短い", mtCustom, {mbYes, mbNo, mbAll, mbNoToAll, mbYesToAll});
    EXPECT_GT(manyButtons.x, plain.x) << "the button group sets the width";

    std::unique_ptr<TTntMessageForm> form(WideCreateMessageDialog(u"短い", mtWarning, {mbOK, mbCancel}));
    EXPECT_NE(form->FindComponent("Image"), nullptr);
    auto* label = dynamic_cast<TControl*>(form->FindComponent("Message"));
    ASSERT_NE(label, nullptr);
    auto* image = dynamic_cast<TControl*>(form->FindComponent("Image"));
    EXPECT_GT(label->Left(), image->Left() + image->Width()) << "the text stands right of the icon";
    auto* ok = dynamic_cast<TControl*>(form->FindComponent("OK"));
    auto* cancel = dynamic_cast<TControl*>(form->FindComponent("Cancel"));
    EXPECT_EQ(ok->Width(), cancel->Width());
    EXPECT_EQ(ok->Left() + cancel->Left() + cancel->Width(), form->ClientWidth()) << "the group is centred";
}

TEST_F(DialogsTest, CtrlCCopiesTheFramedTextWithoutHotKeyMarks) {
    std::unique_ptr<TTntMessageForm> form(
        WideCreateMessageDialog(u"保存しますか?", mtConfirmation, {mbYes, mbNo, mbCancel}));
    Word key = 'C';
    form->OnKeyDown(form.get(), key, TShiftState{ssCtrl});
    const WideString divider = u"---------------------------\r\n";
    EXPECT_EQ(TntClipboard()->AsWideText(), divider + u"Confirm\r\n" + divider + u"保存しますか?\r\n" +
                                                divider + u"Yes   No   Cancel   \r\n" + divider);
}

TEST_F(DialogsTest, AnUnknownTypeOrButtonIsAnInternalError) {
    EXPECT_THROW(WideCreateMessageDialog(u"x", static_cast<TMsgDlgType>(7), {mbOK}), ETntInternalError);
}

TEST_F(DialogsTest, TheMessageDialogAnswersWithTheButtonPressed) {
    runSteps();
    steps = {[this] { backend.PressKey(VK_RETURN); }};
    EXPECT_EQ(WideMessageDlg(u"続けますか?", mtConfirmation, {mbYes, mbNo}, 0), mrYes);
    steps = {[this] { backend.PressKey(VK_ESCAPE); }};
    EXPECT_EQ(WideMessageDlg(u"続けますか?", mtConfirmation, {mbYes, mbNo}, 0), mrNo);
}

// The Help button asks the application's help for the dialog's topic, with
// the dialog's help file as the current one.
TEST_F(DialogsTest, TheHelpButtonAsksForTheDialogsTopicInItsHelpFile) {
    struct THelpLog {
        std::vector<std::pair<Word, Integer>> requests;
        AnsiString helpFile;
        bool Help(Word Command, Integer Data, bool&) {
            requests.emplace_back(Command, Data);
            helpFile = Application->CurrentHelpFile();
            return true;
        }
    } log;
    Application->OnHelp = THelpEvent(&log, &THelpLog::Help);
    runSteps();
    steps = {[this] { backend.PressKey(VK_TAB); }, [this] { backend.PressKey(VK_SPACE); }};
    EXPECT_EQ(WideMessageDlgPosHelp(u"Справка?", mtInformation, {mbOK, mbHelp}, 42, -1, -1, u"справка.hlp"),
              mrOk)
        << "Esc: OK is the cancel button";
    Application->OnHelp = nullptr;
    EXPECT_EQ(log.requests, (std::vector<std::pair<Word, Integer>>{{HELP_CONTEXT, 42}}));
    EXPECT_EQ(log.helpFile, WideToAnsi(u"справка.hlp"));
}

TEST_F(DialogsTest, AFormattedMessageShowsItsArguments) {
    WideString shown;
    runSteps();
    steps = {[&] {
        auto* form = dynamic_cast<TTntMessageForm*>(Screen->ActiveCustomForm());
        ASSERT_NE(form, nullptr);
        shown = form->Message()->Caption();
        backend.PressKey(VK_RETURN);
    }};
    WideShowMessageFmt(u"%s: %d 件", {TVarRec(WideString(u"東京")), TVarRec(3)});
    EXPECT_EQ(shown, u"東京: 3 件");
}

TEST_F(DialogsTest, TheInputBoxGivesTheTypedTextOrTheDefault) {
    runSteps();
    steps = {[this] {
        backend.TypeText(u"東京都");
        backend.PressKey(VK_RETURN);
    }};
    EXPECT_EQ(WideInputBox(u"名前", u"名前を入力:", u"元"), u"東京都");
    steps = {[this] {
        backend.TypeText(u"捨てる");
        backend.PressKey(VK_ESCAPE);
    }};
    EXPECT_EQ(WideInputBox(u"名前", u"名前を入力:", u"元"), u"元");
}

TEST_F(DialogsTest, PicturesOfAMessageFormAndAnInputQuery) {
    std::unique_ptr<TTntMessageForm> form(WideCreateMessageDialog(
        u"ファイル「報告書.txt」は変更されています。保存しますか?", mtConfirmation, {mbYes, mbNo, mbCancel}));
    form->Show();
    Application->ProcessMessages();
    EXPECT_TRUE(backend.SavePng(form->Handle(), (screenshotFolder() / "unicode-message-form.png").string()));
    form.reset();

    runSteps();
    steps = {[this] {
        HWND active = GetActiveWindow();
        EXPECT_TRUE(backend.SavePng(active, (screenshotFolder() / "unicode-input-query.png").string()));
        backend.PressKey(VK_ESCAPE);
    }};
    WideString value = u"山田太郎";
    EXPECT_FALSE(WideInputQuery(u"利用者", u"お名前を入力してください:", value));
    EXPECT_EQ(value, u"山田太郎");
}

} // namespace
