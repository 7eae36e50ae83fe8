#include "app/BareNames.h"

#include <gtest/gtest.h>

namespace {

TEST(BareNamesTest, TheBareNameIsTheTextAfterTheLastSeparatorOfEitherKind) {
    struct Case {
        const char* entry;
        const char* bare;
    } cases[] = {
        {"\\Scripts\\Images\\tile.gif", "tile.gif"},
        {"/Scripts/Images/tile.gif", "tile.gif"},
        {"\\Scripts/mixed\\name.png", "name.png"},
        {"plain.gif", "plain.gif"},
        {"", ""},
        {"\\Scripts\\", ""},
        {"\\Scripts\\.", ""},
        {"..", ""},
        {"\\a\\..", ""},
        {"\\a\\...", "..."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        EXPECT_EQ(BareName(c.entry), c.bare);
    }
}

TEST(BareNamesTest, OnlyEntriesBelowTheProgramFolderMayBeAttached) {
    struct Case {
        const char* entry;
        bool attachable;
    } cases[] = {
        {"\\Scripts\\Images\\tile.gif", true},
        {"\\x..y\\a..b.gif", true},
        {"\\Scripts\\..\\..\\secret.txt", false},
        {"..\\secret.txt", false},
        {"\\Scripts/../x.gif", false},
        {"C:\\Windows\\win.ini", false},
        {"\\\\host\\share\\x.gif", false},
        {"//host/share/x.gif", false},
        {"", false},
        {"\\Scripts\\", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        EXPECT_EQ(IsAttachableEntry(c.entry), c.attachable);
    }
    EXPECT_FALSE(IsAttachableEntry(AnsiString("..\0x", 4)));
    EXPECT_FALSE(IsAttachableEntry(AnsiString("\\a.gif\0", 7)));
}

TEST(BareNamesTest, AnAttachedFileLiesBelowTheProgramFolderWithOrWithoutALeadingSeparator) {
    struct Case {
        const char* entry;
        const char* path;
    } cases[] = {
        {"\\Scripts\\Images\\tile.gif", "/app/Scripts/Images/tile.gif"},
        {"Scripts\\tile.gif", "/app/Scripts/tile.gif"},
        {"-sibling/secret.txt", "/app/-sibling/secret.txt"},
        {"....", "/app/...."},
        {"x\\Sc..\\y", "/app/x/Sc../y"},
        {"\\a\\.\\\\b", "/app/a/b"},
        {"\\..\\x", ""},
        {"C:\\x", ""},
        {"\\\\host\\x", ""},
        {"\\Scripts\\", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        EXPECT_EQ(AttachedFilePath("/app", c.entry), c.path);
    }
}

TEST(BareNamesTest, AfterLastSeparatorKeepsANameWithoutFolder) {
    EXPECT_EQ(AfterLastSeparator("C:\\Data\\mine.zelk"), "mine.zelk");
    EXPECT_EQ(AfterLastSeparator("/home/ann/mine.quorvane"), "mine.quorvane");
    EXPECT_EQ(AfterLastSeparator("demo.zelk"), "demo.zelk");
}

} // namespace
