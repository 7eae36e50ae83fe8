#include "platform/core/FileUtils.h"

#include "TestFolder.h"
#include "platform/core/SysUtils.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct PathCase {
    AnsiString (*function)(const AnsiString&);
    const char* input;
    const char* expected;
};

// Sets an environment variable for one test and puts the old value back.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnvironment() {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

mode_t modeOf(const std::string& path) {
    struct stat info {};
    ::lstat(path.c_str(), &info);
    return info.st_mode;
}

std::vector<AnsiString> search(const AnsiString& path, Integer attributes) {
    std::vector<AnsiString> names;
    TSearchRec found;
    for (Integer result = FindFirst(path, attributes, found); result == 0; result = FindNext(found))
        names.push_back(found.Name);
    FindClose(found);
    return names;
}

} // namespace

TEST(Paths, TakeBothSeparators) {
    const PathCase cases[] = {
        {ExtractFilePath, "C:\\dir\\f.txt", "C:\\dir\\"},
        {ExtractFilePath, "/a/b/c.txt", "/a/b/"},
        {ExtractFilePath, "c.txt", ""},
        {ExtractFileDir, "/a/b\\c.txt", "/a/b"},
        {ExtractFileDir, "/c.txt", "/"},
        {ExtractFileName, "a\\b/c.txt", "c.txt"},
        {ExtractFileName, "dir/", ""},
        {ExtractFileExt, "x.tar.gz", ".gz"},
        {ExtractFileExt, "a.b/c", ""},
        {ExtractFileExt, "dir.d\\file", ""},
        {ExtractFileExt, "/home/.profile", ".profile"},
        {IncludeTrailingBackslash, "/tmp", "/tmp/"},
        {IncludeTrailingBackslash, "/tmp/", "/tmp/"},
        {IncludeTrailingBackslash, "x\\", "x\\"},
        {ExcludeTrailingBackslash, "x\\", "x"},
        {ExcludeTrailingPathDelimiter, "/a/", "/a"},
        {ExpandFileName, "/a/./b/../c\\d", "/a/c/d"},
        {ExpandFileName, "/../x/", "/x/"},
    };
    for (const PathCase& c : cases)
        EXPECT_EQ(c.function(c.input), c.expected) << c.input;
    EXPECT_EQ(ChangeFileExt("/p/Quorvane", ".ini"), "/p/Quorvane.ini");
    EXPECT_EQ(ChangeFileExt("a.b\\c.txt", ""), "a.b\\c");
    EXPECT_EQ(ExpandFileName("x\\y"), GetCurrentDir() + "/x/y");
    EXPECT_TRUE(IsPathDelimiter("a\\b", 2));
    EXPECT_FALSE(IsPathDelimiter("a\\b", 4));
}

TEST(Files, ExistenceDeleteAndFolders) {
    TestFolder folder;
    folder.write("f.txt", "x");
    EXPECT_TRUE(FileExists(folder / "f.txt"));
    EXPECT_FALSE(FileExists(folder.path()));
    EXPECT_TRUE(DirectoryExists(folder.path()));
    EXPECT_FALSE(DirectoryExists(folder / "f.txt"));
    EXPECT_FALSE(FileExists(""));

    EXPECT_TRUE(ForceDirectories(folder.path() + "a\\b/c"));
    EXPECT_TRUE(DirectoryExists(folder / "a/b/c"));
    EXPECT_TRUE(ForceDirectories(folder / "a/b/c/"));
    EXPECT_THROW(ForceDirectories(""), Exception);
    EXPECT_FALSE(CreateDir(folder / "a"));
    EXPECT_EQ(GetLastOSError(), OSErrorCode::AlreadyExists);

    EXPECT_FALSE(DeleteFile(folder / "a"));
    EXPECT_TRUE(DirectoryExists(folder / "a"));
    EXPECT_FALSE(DeleteFile(folder / "missing"));
    EXPECT_EQ(GetLastOSError(), OSErrorCode::FileNotFound);
    EXPECT_FALSE(DeleteFile(folder / "nowhere/missing"));
    EXPECT_EQ(GetLastOSError(), OSErrorCode::PathNotFound);
    EXPECT_TRUE(DeleteFile(folder / "f.txt"));
    EXPECT_FALSE(FileExists(folder / "f.txt"));
    EXPECT_FALSE(RemoveDir(folder / "a"));
    EXPECT_EQ(GetLastOSError(), OSErrorCode::DirectoryNotEmpty);

    // Names are ANSI text in the program and UTF-8 on disk.
    folder.write("caf\xC3\xA9.txt", "");
    EXPECT_TRUE(FileExists(folder.path() + "caf\xE9.txt"));

    const AnsiString saved = GetCurrentDir();
    EXPECT_TRUE(SetCurrentDir(folder / "a\\b"));
    EXPECT_EQ(GetCurrentDir(), folder / "a/b");
    EXPECT_TRUE(FileExists("../../caf\xE9.txt"));
    EXPECT_TRUE(SetCurrentDir(saved));
    EXPECT_FALSE(SetCurrentDir(folder / "missing"));
}

TEST(Files, CopyFileNeverLosesData) {
    TestFolder folder;
    folder.write("src.txt", "source");
    ::chmod((folder / "src.txt").c_str(), 0640);
    EXPECT_TRUE(CopyFile(folder / "src.txt", folder / "dst.txt", true));
    EXPECT_EQ(folder.read("dst.txt"), "source");
    EXPECT_EQ(modeOf(folder / "dst.txt") & 0777, 0640u);
    struct stat source {
    }, copy{};
    ::stat((folder / "src.txt").c_str(), &source);
    ::stat((folder / "dst.txt").c_str(), &copy);
    EXPECT_EQ(copy.st_mtim.tv_sec, source.st_mtim.tv_sec);

    folder.write("dst.txt", "old");
    EXPECT_FALSE(CopyFile(folder / "src.txt", folder / "dst.txt", true));
    EXPECT_EQ(GetLastOSError(), OSErrorCode::FileExists);
    EXPECT_EQ(folder.read("dst.txt"), "old");
    EXPECT_TRUE(CopyFile(folder / "src.txt", folder.path() + "dst.txt", false));
    EXPECT_EQ(folder.read("dst.txt"), "source");

    EXPECT_FALSE(CopyFile(folder / "src.txt", folder / "./src.txt", false));
    EXPECT_EQ(GetLastOSError(), OSErrorCode::SharingViolation);
    EXPECT_EQ(folder.read("src.txt"), "source");
    EXPECT_FALSE(CopyFile(folder / "missing", folder / "x", false));
    EXPECT_EQ(GetLastOSError(), OSErrorCode::FileNotFound);
    EXPECT_FALSE(CopyFile(folder.path(), folder / "x", false));
    EXPECT_EQ(GetLastOSError(), OSErrorCode::AccessDenied);
    EXPECT_FALSE(CopyFile(folder / "src.txt", folder / "no/such/dst", false));

    // No helper files are left behind.
    EXPECT_EQ(search(folder / "*", faAnyFile).size(), 4u); // ".", "..", src.txt, dst.txt
}

TEST(Files, RenameFileRefusesToOverwrite) {
    TestFolder folder;
    folder.write("a", "A");
    folder.write("b", "B");
    EXPECT_FALSE(RenameFile(folder / "a", folder / "b"));
    EXPECT_EQ(GetLastOSError(), OSErrorCode::AlreadyExists);
    EXPECT_EQ(folder.read("a"), "A");
    EXPECT_EQ(folder.read("b"), "B");
    EXPECT_TRUE(RenameFile(folder / "a", folder.path() + "c"));
    EXPECT_EQ(folder.read("c"), "A");
    EXPECT_FALSE(FileExists(folder / "a"));
    EXPECT_FALSE(RenameFile(folder / "a", folder / "d"));
    EXPECT_EQ(GetLastOSError(), OSErrorCode::FileNotFound);
}

TEST(Files, FindFirstMatchesMasksWithoutRegardToCase) {
    TestFolder folder;
    for (const char* name : {"b.LNG", "a.lng", "c.txt", ".hidden.lng", "noext"})
        folder.write(name, "12345");
    ::mkdir((folder / "sub.lng").c_str(), 0700);
    EXPECT_EQ(search(folder / "*.lng", 0), (std::vector<AnsiString>{"a.lng", "b.LNG"}));
    EXPECT_EQ(search(folder.path() + "*.LNG", faAnyFile),
              (std::vector<AnsiString>{".hidden.lng", "a.lng", "b.LNG", "sub.lng"}));
    EXPECT_EQ(search(folder / "*.", 0), (std::vector<AnsiString>{"noext"}));

    TSearchRec found;
    ASSERT_EQ(FindFirst(folder / "c.*", faAnyFile, found), 0);
    EXPECT_EQ(found.Name, "c.txt");
    EXPECT_EQ(found.Size, 5);
    EXPECT_EQ(found.Attr & faDirectory, 0);
    EXPECT_GT(found.Time, 0);
    EXPECT_EQ(FindNext(found), static_cast<Integer>(OSErrorCode::NoMoreFiles));
    FindClose(found);
    EXPECT_EQ(FindFirst(folder / "*.xyz", faAnyFile, found), static_cast<Integer>(OSErrorCode::FileNotFound));
    EXPECT_EQ(FindFirst(folder / "missing/*.*", faAnyFile, found),
              static_cast<Integer>(OSErrorCode::PathNotFound));

    const std::tuple<const char*, const char*, bool> masks[] = {
        {"Readme", "*.*", true},       {"a.b", "*.", false},
        {"abc", "*.", true},           {"abc", "abc.*", true},
        {"x.lng", "?.LNG", true},      {"xy.lng", "?.lng", false},
        {"a.txt.bak", "*.txt", false}, {"\xE9t\xE9.txt", "\xC9T*", true},
    };
    for (const auto& [name, mask, matches] : masks)
        EXPECT_EQ(MatchesFileMask(name, mask), matches) << name << " " << mask;

    ::chmod((folder / "c.txt").c_str(), 0444);
    EXPECT_EQ(FileGetAttr(folder / "c.txt") & (faReadOnly | faHidden), faReadOnly);
    EXPECT_EQ(FileGetAttr(folder / ".hidden.lng") & faHidden, faHidden);
    EXPECT_EQ(FileGetAttr(folder / "sub.lng/") & faDirectory, faDirectory);
    EXPECT_EQ(FileGetAttr(folder / "missing"), -1);
}

TEST(Files, HandlesReadWriteAndSeek) {
    TestFolder folder;
    const THandle created = FileCreate(folder / "h.bin");
    ASSERT_NE(created, InvalidHandle);
    EXPECT_EQ(FileWrite(created, "abcdef", 6), 6);
    EXPECT_EQ(FileSeek(created, -2, 2), 4);
    char bytes[4] = {};
    EXPECT_EQ(FileRead(created, bytes, 4), 2);
    EXPECT_EQ(FileSeek(created, -1, 0), -1);
    EXPECT_EQ(GetLastOSError(), OSErrorCode::NegativeSeek);
    FileClose(created);
    EXPECT_EQ(FileOpen(folder / "missing", fmOpenRead), InvalidHandle);
    EXPECT_EQ(FileOpen(folder.path(), fmOpenRead), InvalidHandle);
    EXPECT_EQ(GetLastOSError(), OSErrorCode::AccessDenied);
}

TEST(SpecialFolders, TheProgramFolderIsTheExecutablesFolder) {
    EXPECT_EQ(ExtractFileName(ProgramFileName()), "platform_core_tests");
    EXPECT_EQ(ProgramFolder(), ExtractFileDir(ProgramFileName()));
    EXPECT_TRUE(DirectoryExists(ProgramFolder()));
    EXPECT_NE(ProgramFolder().back(), '/');
}

TEST(SpecialFolders, TheTemporaryFolderIsPrivateToTheUser) {
    TestFolder base;
    const std::string own = base / ("quorvane-" + std::to_string(::geteuid()));
    ScopedEnvironment tmpdir("TMPDIR", base.path());

    const AnsiString temp = GetTempFolder();
    EXPECT_EQ(temp, own + "/");
    EXPECT_EQ(modeOf(own) & 0777, 0700u);
    EXPECT_EQ(GetTempFolder(), temp);

    // A folder of ours that others may enter is closed before it is used.
    ::chmod(own.c_str(), 0777);
    EXPECT_EQ(GetTempFolder(), temp);
    EXPECT_EQ(modeOf(own) & 0777, 0700u);

    // Something else in its place is refused and another name is taken.
    ::rmdir(own.c_str());
    base.write("quorvane-" + std::to_string(::geteuid()), "not a folder");
    EXPECT_EQ(GetTempFolder(), own + "-1/");
    ::mkdir((base / "elsewhere").c_str(), 0700);
    ::rmdir((own + "-1").c_str());
    ::symlink((base / "elsewhere").c_str(), (own + "-1").c_str());
    EXPECT_EQ(GetTempFolder(), own + "-2/");
    if (::geteuid() == 0) {
        // Only the superuser can make a folder that belongs to someone else.
        constexpr uid_t nobody = 65534;
        ::chown((own + "-2").c_str(), nobody, nobody);
        EXPECT_EQ(GetTempFolder(), own + "-3/");
    }
}

TEST(SpecialFolders, TheTemporaryFolderFallsBackToTmp) {
    const std::string expected = "/tmp/quorvane-" + std::to_string(::geteuid());
    for (const std::optional<std::string>& value :
         {std::optional<std::string>(), std::optional<std::string>("/no/such/folder"),
          std::optional<std::string>("relative")}) {
        ScopedEnvironment tmpdir("TMPDIR", value);
        const AnsiString temp = GetTempFolder();
        EXPECT_TRUE(temp.starts_with(expected)) << temp;
        EXPECT_EQ(temp.back(), '/');
        EXPECT_TRUE(DirectoryExists(temp));
    }
}
