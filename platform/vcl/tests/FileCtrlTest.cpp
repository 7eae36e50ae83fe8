#include "VisualTestSupport.h"

#include "platform/core/FileUtils.h"
#include "platform/vcl/FileCtrl.h"
#include "platform/win/Messages.h"

#include <filesystem>
#include <fstream>

namespace {

using Lines = std::vector<std::string>;

Lines itemsOf(TStrings* Strings) {
    Lines lines;
    for (Integer i = 0; i < Strings->Count(); ++i)
        lines.push_back(Strings->Strings(i));
    return lines;
}

// A folder of a few files and one subfolder, and the current directory put back afterwards.
class FileCtrlTest : public VisualTest {
protected:
    std::unique_ptr<TForm> form = plainForm(400, 300);
    AnsiString previousDirectory = GetCurrentDir();
    std::filesystem::path folder =
        std::filesystem::path(GetTempFolder()) / ("file-controls-" + std::to_string(GetCurrentProcessId()));
    void SetUp() override {
        VisualTest::SetUp();
        std::filesystem::create_directories(folder / "Sub");
        for (const char* name : {"a.TXT", "b.txt", "c.log", "d.dat", "Sub/inner.txt"})
            std::ofstream(folder / name) << "x";
    }
    void TearDown() override {
        form.reset();
        SetCurrentDir(previousDirectory);
        std::filesystem::remove_all(folder);
        VisualTest::TearDown();
    }
    AnsiString path() const { return folder.string(); }
};

struct ChangeLog : TObject {
    std::vector<std::string> changes;
    void Changed(TObject* Sender) { changes.push_back(static_cast<TComponent*>(Sender)->Name()); }
};

TEST_F(FileCtrlTest, AFileListShowsTheFilesOfItsFolderThatMatchAnyOfItsMasks) {
    auto* files = child<TFileListBox>(form.get(), alNone, {10, 10, 150, 100});
    files->SetMask("*.txt;*.LOG");
    files->SetDirectory(path());
    EXPECT_EQ(itemsOf(files->Items()), (Lines{"a.TXT", "b.txt", "c.log"}));
    // Setting the folder made it the current directory.
    EXPECT_EQ(GetCurrentDir(), path());
    files->SetMask("*.dat");
    EXPECT_EQ(itemsOf(files->Items()), Lines{"d.dat"});
    files->SetMask("*.*;*.txt");
    EXPECT_EQ(itemsOf(files->Items()), (Lines{"a.TXT", "b.txt", "c.log", "d.dat"}));
    files->SetFileType({ftNormal, ftDirectory});
    EXPECT_EQ(itemsOf(files->Items()).front(), "[Sub]");
}

TEST_F(FileCtrlTest, FoldersAreEnteredRelativeToTheCurrentOneAndBadOnesRefused) {
    auto* files = child<TFileListBox>(form.get(), alNone, {10, 10, 150, 100});
    files->SetMask("*.txt");
    files->SetDirectory(path());
    files->SetDirectory("Sub");
    EXPECT_EQ(files->Directory(), path() + "/Sub");
    EXPECT_EQ(itemsOf(files->Items()), Lines{"inner.txt"});
    try {
        files->SetDirectory("missing");
        FAIL() << "a missing folder was entered";
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.ErrorCode, 3);
    }
    EXPECT_EQ(files->Directory(), path() + "/Sub");
    EXPECT_EQ(itemsOf(files->Items()), Lines{"inner.txt"});
    files->SetDirectory("..");
    EXPECT_EQ(files->Directory(), path());
}

TEST_F(FileCtrlTest, ChoosingAFileNamesItAndTellsOnChange) {
    auto* files = child<TFileListBox>(form.get(), alNone, {10, 10, 150, 100});
    files->SetName("Files");
    auto* edit = child<TEdit>(form.get(), alNone, {10, 120, 150, 21});
    ChangeLog log;
    files->OnChange = TNotifyEvent(&log, &ChangeLog::Changed);
    files->SetMask("*.txt");
    files->SetDirectory(path());
    files->SetFileEdit(edit);
    EXPECT_EQ(files->FileName(), "");
    EXPECT_EQ(edit->Text(), "*.txt");
    EXPECT_TRUE(log.changes.empty());
    form->Show();
    Application->ProcessMessages();
    TRect second = files->ItemRect(1);
    backend.Click(files->Handle(), {5, second.Top + 2});
    Application->ProcessMessages();
    EXPECT_EQ(files->FileName(), path() + "/b.txt");
    EXPECT_EQ(edit->Text(), "b.txt");
    EXPECT_EQ(log.changes, Lines{"Files"});
    // Clicking the chosen file again changes nothing.
    backend.MouseDown(files->Handle(), {60, second.Top + 2});
    backend.MouseUp(files->Handle(), {60, second.Top + 2});
    Application->ProcessMessages();
    EXPECT_EQ(log.changes.size(), 1u);
    files->SetFileName(path() + "/Sub/inner.txt");
    EXPECT_EQ(files->Directory(), path() + "/Sub");
    EXPECT_EQ(files->ItemIndex(), 0);
    EXPECT_EQ(log.changes.size(), 2u);
}

TEST_F(FileCtrlTest, AFilterComboGivesItsMasksToItsFileList) {
    auto* files = child<TFileListBox>(form.get(), alNone, {10, 10, 150, 100});
    files->SetDirectory(path());
    auto* filter = child<TFilterComboBox>(form.get(), alNone, {10, 120, 150, 21});
    filter->SetFilter("Texts (*.txt)|*.txt|Logs and data|*.log;*.dat");
    filter->SetFileList(files);
    filter->HandleNeeded();
    EXPECT_EQ(itemsOf(filter->Items()), (Lines{"Texts (*.txt)", "Logs and data"}));
    EXPECT_EQ(filter->Mask(), "*.txt");
    EXPECT_EQ(itemsOf(files->Items()), (Lines{"a.TXT", "b.txt"}));
    form->Show();
    filter->SetFocus();
    backend.PressKey(VK_DOWN);
    Application->ProcessMessages();
    EXPECT_EQ(filter->Mask(), "*.log;*.dat");
    EXPECT_EQ(itemsOf(files->Items()), (Lines{"c.log", "d.dat"}));
}

TEST_F(FileCtrlTest, ADirectoryListShowsThePathAndEntersAFolderOnDoubleClick) {
    auto* folders = child<TDirectoryListBox>(form.get(), alNone, {10, 10, 200, 200});
    auto* files = child<TFileListBox>(form.get(), alNone, {220, 10, 150, 100});
    folders->SetDirectory(path());
    folders->SetFileList(files);
    Lines items = itemsOf(folders->Items());
    ASSERT_GE(items.size(), 3u);
    EXPECT_EQ(items.front(), "/");
    EXPECT_EQ(folders->GetItemPath(folders->ItemIndex()), path());
    EXPECT_EQ(items.back().substr(items.back().find_first_not_of(' ')), "Sub");
    form->Show();
    Application->ProcessMessages();
    auto last = static_cast<Integer>(items.size()) - 1;
    backend.DoubleClick(folders->Handle(), {10, folders->ItemRect(last).Top + 2});
    Application->ProcessMessages();
    EXPECT_EQ(folders->Directory(), path() + "/Sub");
    EXPECT_EQ(files->Directory(), path() + "/Sub");
    EXPECT_EQ(GetCurrentDir(), path() + "/Sub");
}

} // namespace
