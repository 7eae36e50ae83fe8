#include "platform/vcl/Resources.h"

#include <gtest/gtest.h>

// The fixtures under tests/resources/ are embedded into this test program by
// cmake/EmbedResources.cmake, as resources/ is into the program.

TEST(Resources, FindsFilesByNameAndKindIgnoringCase) {
    struct Case {
        const char* name;
        TResourceKind kind;
        const char* path;
    };
    const Case cases[] = {
        {"TTestForm", rkForm, "TestForm.dfm"},
        {"ttestchildform", rkForm, "TestChildForm.dfm"},
        {"TESTGLYPH", rkBitmap, "Glyphs/TESTGLYPH.bmp"},
        {"testglyph", rkBitmap, "Glyphs/TESTGLYPH.bmp"},
        {"Glyphs\\notes.txt", rkData, "Glyphs/notes.txt"},
        {"notes", rkData, "Glyphs/notes.txt"},
    };
    for (const Case& c : cases) {
        const TResourceFile* found = FindResource(c.name, c.kind);
        ASSERT_NE(found, nullptr) << c.name;
        EXPECT_EQ(found->Path, c.path);
        EXPECT_EQ(found->Kind, c.kind);
    }
    EXPECT_EQ(FindResource("TestForm", rkForm), nullptr) << "a form is found by its class, not its file";
    EXPECT_EQ(FindResource("TESTGLYPH", rkIcon), nullptr);
}

TEST(Resources, HoldTheFilesBytes) {
    EXPECT_EQ(GetResource("notes", rkData).Text(), "hello");
    const TResourceFile& glyph = GetResource("TESTGLYPH", rkBitmap);
    ASSERT_EQ(glyph.Data.size(), 4u);
    EXPECT_EQ(glyph.Data[3], 0x01);
    EXPECT_EQ(GetResource("TTestForm", rkForm).Text().substr(0, 29), "object TestForm: TTestForm\n  ");
}

TEST(Resources, MissingResourceRaisesResNotFound) {
    try {
        GetResource("NOWHERE", rkBitmap);
        FAIL();
    } catch (const EResNotFound& error) {
        EXPECT_EQ(error.Message, "Resource NOWHERE not found");
    }
}

TEST(Resources, Win32CallsFindDataResourcesByName) {
    HRSRC notes = FindResourceA(nullptr, "NOTES", RT_RCDATA);
    ASSERT_NE(notes, nullptr);
    EXPECT_EQ(SizeofResource(nullptr, notes), 5u);
    void* data = LoadResource(nullptr, notes);
    EXPECT_EQ(std::string(static_cast<const char*>(LockResource(data)), 5), "hello");
    EXPECT_EQ(FreeResource(data), 0);
    EXPECT_EQ(FindResourceA(nullptr, "TESTGLYPH", RT_RCDATA), nullptr) << "a bitmap is not data";
    EXPECT_EQ(FindResourceA(nullptr, "notes", reinterpret_cast<const char*>(std::uintptr_t{2})), nullptr);
    EXPECT_EQ(FindResourceA(nullptr, reinterpret_cast<const char*>(std::uintptr_t{7}), RT_RCDATA), nullptr);
    EXPECT_EQ(LoadResource(nullptr, nullptr), nullptr);
}
