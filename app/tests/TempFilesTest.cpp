#include "ScratchFolder.h"

#include "app/TempFiles.h"
#include "platform/core/Classes.h"

namespace {

class TempFilesTest : public ::testing::Test {
protected:
    ScratchFolder root;
    std::string appDir = root / "program";
    std::string tempDir = root / "temp/";
    std::string canary = root / "canary.txt";

    void SetUp() override {
        std::filesystem::create_directories(root / "program");
        std::filesystem::create_directories(root / "temp");
        WriteFile(appDir + "/Scripts/Images/a.gif", std::string("GIF89a\0\x01\xff", 9));
        WriteFile(appDir + "/Scripts/Images/b.png", "png bytes");
        WriteFile(canary, "keep me");
    }

    static std::unique_ptr<TStringList> entries(std::initializer_list<const char*> Lines) {
        auto list = std::make_unique<TStringList>();
        for (const char* line : Lines)
            list->Add(line);
        return list;
    }
};

TEST_F(TempFilesTest, AttachedFilesAreCopiedByteEqualAndListedWithCrLf) {
    auto files = entries({"\\Scripts\\Images\\a.gif", "\\Scripts\\Images\\b.png"});
    const std::vector<AnsiString> names = CopyAttachedFiles(appDir, tempDir, *files);
    EXPECT_EQ(names, (std::vector<AnsiString>{"a.gif", "b.png"}));
    EXPECT_EQ(ReadFile(tempDir + "a.gif"), ReadFile(appDir + "/Scripts/Images/a.gif"));
    EXPECT_EQ(ReadFile(tempDir + "b.png"), "png bytes");
    EXPECT_EQ(ReadFile(tempDir + "Att.lst"), "a.gif\r\nb.png\r\n");
}

TEST_F(TempFilesTest, AMissingFileIsStillListedAndNoEntriesWriteNoList) {
    auto files = entries({"\\Scripts\\gone.gif"});
    EXPECT_EQ(CopyAttachedFiles(appDir, tempDir, *files), std::vector<AnsiString>{"gone.gif"});
    EXPECT_EQ(ReadFile(tempDir + "Att.lst"), "gone.gif\r\n");
    DeleteAttachedFiles(tempDir);

    TStringList none;
    EXPECT_TRUE(CopyAttachedFiles(appDir, tempDir, none).empty());
    EXPECT_FALSE(Exists(tempDir + "Att.lst"));
}

TEST_F(TempFilesTest, EntriesLeadingOutOfTheProgramFolderAreNeitherCopiedNorListed) {
    auto files = entries(
        {"\\..\\canary.txt", "", "\\Scripts\\Images\\a.gif", "/etc/../../canary.txt", "C:\\canary.txt"});
    EXPECT_EQ(CopyAttachedFiles(appDir, tempDir, *files), std::vector<AnsiString>{"a.gif"});
    EXPECT_FALSE(Exists(tempDir + "canary.txt"));
    EXPECT_EQ(ReadFile(tempDir + "Att.lst"), "a.gif\r\n");
}

// The program folder's neighbours "program-sibling" and "program....": an
// entry joined to the folder without a separator would reach them.
TEST_F(TempFilesTest, EntriesAreJoinedToTheProgramFolderWithASeparator) {
    WriteFile(root / "program-sibling/secret.txt", "secret");
    WriteFile(root / "program....", "secret too");
    auto files = entries({"-sibling/secret.txt", "....", "Scripts\\Images\\a.gif"});
    EXPECT_EQ(CopyAttachedFiles(appDir, tempDir, *files), (std::vector<AnsiString>{"secret.txt", "....", "a.gif"}));
    EXPECT_FALSE(Exists(tempDir + "secret.txt"));
    EXPECT_FALSE(Exists(tempDir + "...."));
    EXPECT_EQ(ReadFile(tempDir + "a.gif"), ReadFile(appDir + "/Scripts/Images/a.gif"));
}

TEST_F(TempFilesTest, DeletingRemovesTheListedCopiesOnlyInsideTheTemporaryFolder) {
    WriteFile(tempDir + "a.gif", "copy");
    WriteFile(tempDir + "other.txt", "not listed");
    WriteFile(tempDir + "Att.lst",
              "a.gif\r\n..\\canary.txt\r\n../canary.txt\r\n" + canary + "\r\n\r\n..\r\n.\r\n");
    DeleteAttachedFiles(tempDir);
    EXPECT_FALSE(Exists(tempDir + "a.gif"));
    EXPECT_FALSE(Exists(tempDir + "Att.lst"));
    EXPECT_TRUE(Exists(tempDir + "other.txt"));
    EXPECT_EQ(ReadFile(canary), "keep me");
}

TEST_F(TempFilesTest, WithoutAListNothingIsDeleted) {
    WriteFile(tempDir + "a.gif", "copy");
    DeleteAttachedFiles(tempDir);
    EXPECT_TRUE(Exists(tempDir + "a.gif"));
}

} // namespace
