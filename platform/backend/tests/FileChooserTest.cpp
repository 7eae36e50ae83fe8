// The calls that go to the backend's chooser: a file dialog's hook seeing
// the dialog start and judging each choice, and the folder chooser with the
// item list it hands out.
#include "BackendTestSupport.h"
#include "platform/core/CodePages.h"
#include "platform/win/CommonDialogs.h"
#include "platform/win/ShellFolders.h"

#include <string>
#include <vector>

namespace {

// What the hook saw and how it answers: each choice refused while refusals are left.
struct HookRecord {
    std::vector<std::string> events;
    int refusals = 0;
};
HookRecord* hookRecord = nullptr;

std::string asked(HWND dialog, UINT question) {
    const LRESULT size = SendMessageW(GetParent(dialog), question, 0, 0);
    if (size <= 0) return "none";
    std::vector<WCHAR> text(static_cast<std::size_t>(size));
    SendMessageW(GetParent(dialog), question, text.size(), reinterpret_cast<LPARAM>(text.data()));
    return UTF8Encode(WideString(text.data()));
}

UINT_PTR recordingHook(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        const auto* request = reinterpret_cast<const OPENFILENAMEW*>(lParam);
        hookRecord->events.push_back("init " + std::to_string(request->lCustData) + " " +
                                     asked(dialog, CDM_GETFILEPATH));
        return 1;
    }
    if (message != WM_NOTIFY) return 0;
    const auto* notify = reinterpret_cast<const OFNOTIFYW*>(lParam);
    if (notify->hdr.code != CDN_FILEOK) return 0;
    hookRecord->events.push_back("ok " + UTF8Encode(WideString(notify->lpOFN->lpstrFile)) + " | " +
                                 asked(dialog, CDM_GETFILEPATH) + " | " + asked(dialog, CDM_GETSPEC) + " | " +
                                 asked(dialog, CDM_GETFOLDERPATH));
    const bool refuse = hookRecord->refusals > 0;
    if (refuse) --hookRecord->refusals;
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, refuse ? 1 : 0);
    return 1;
}

class FileChooserTest : public HeadlessTest {
protected:
    void SetUp() override { hookRecord = &record; }
    void TearDown() override {
        hookRecord = nullptr;
        HeadlessTest::TearDown();
    }

    OPENFILENAMEW hookedRequest(DWORD flags) {
        OPENFILENAMEW request;
        request.lpstrFile = file;
        request.nMaxFile = 300;
        request.Flags = flags | OFN_ENABLEHOOK;
        request.lpfnHook = recordingHook;
        request.lCustData = 42;
        return request;
    }

    HookRecord record;
    WCHAR file[300] = {};
};

TEST_F(FileChooserTest, TheHookSeesTheStartAndARefusedChoiceBringsTheChooserBack) {
    record.refusals = 1;
    backend.AnswerFileDialog({u"/srv/first.txt"});
    backend.AnswerFileDialog({u"/srv/site/second.txt"});
    OPENFILENAMEW request = hookedRequest(OFN_EXPLORER);
    ASSERT_TRUE(GetOpenFileNameW(&request));
    EXPECT_EQ(WideString(file), u"/srv/site/second.txt");
    EXPECT_EQ(record.events, (std::vector<std::string>{
                                 "init 42 none", "ok /srv/first.txt | /srv/first.txt | first.txt | /srv",
                                 "ok /srv/site/second.txt | /srv/site/second.txt | second.txt | /srv/site"}));
}

TEST_F(FileChooserTest, SeveralNamesAreAskedForInQuotesAndACancelEndsWithoutAChoice) {
    record.refusals = 1;
    backend.AnswerFileDialog({u"/srv/a.txt", u"/srv/b.txt"});
    OPENFILENAMEW request = hookedRequest(OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_NOCHANGEDIR);
    EXPECT_FALSE(GetOpenFileNameW(&request));
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    ASSERT_EQ(record.events.size(), 2u);
    EXPECT_EQ(record.events[1], "ok /srv | /srv\\\"a.txt\" \"b.txt\" | \"a.txt\" \"b.txt\" | /srv");
}

TEST_F(FileChooserTest, AnOldStyleHookOnlySeesTheStart) {
    backend.AnswerFileDialog({u"/srv/first.txt"});
    OPENFILENAMEW request = hookedRequest(OFN_NOCHANGEDIR);
    ASSERT_TRUE(GetOpenFileNameW(&request));
    EXPECT_EQ(record.events, (std::vector<std::string>{"init 42 none"}));
}

TEST_F(FileChooserTest, TheFolderChooserHandsOutAnItemListOfTheFolder) {
    backend.AnswerFileDialog({u"/srv/\u65E5\u672C/site"});
    WCHAR displayName[kernel32::MAX_PATH] = {};
    BROWSEINFOW info;
    info.pszDisplayName = displayName;
    info.lpszTitle = u"Pick a folder";
    PIDLIST_ABSOLUTE list = SHBrowseForFolderW(&info);
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(backend.LastFileDialog().ChooseFolder);
    EXPECT_EQ(backend.LastFileDialog().Title, u"Pick a folder");
    EXPECT_EQ(WideString(displayName), u"site");
    WCHAR path[kernel32::MAX_PATH] = {};
    EXPECT_TRUE(SHGetPathFromIDListW(list, path));
    EXPECT_EQ(WideString(path), u"/srv/\u65E5\u672C/site");

    // The list is where the next chooser starts.
    info.pidlRoot = list;
    EXPECT_EQ(SHBrowseForFolderW(&info), nullptr);
    EXPECT_EQ(backend.LastFileDialog().InitialDirectory, u"/srv/\u65E5\u672C/site");
    CoTaskMemFree(list);
}

} // namespace
