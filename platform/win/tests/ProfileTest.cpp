#include "platform/win/Profile.h"

#include "platform/core/tests/TestFolder.h"
#include "platform/win/LastError.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/stat.h>

namespace {

class ProfileTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder.write("win.ini", "[windows]\r\n"
                                "; a remark\r\n"
                                "Beep = yes \r\n"
                                "Device=\"  quoted  \"\r\n"
                                "Empty=\r\n"
                                "\r\n"
                                "[Fonts]\r\n"
                                "Arial=arial.ttf\r\n");
        SetProfileFile(profileFile);
    }
    void TearDown() override { SetProfileFile(""); }

    std::string read(const char* section, const char* key, const char* fallback, DWORD size, DWORD& length) {
        std::string buffer(size + 4, '#');
        length = GetProfileStringA(section, key, fallback, buffer.data(), size);
        return buffer.substr(0, size);
    }

    TestFolder folder;
    std::string profileFile = folder / "win.ini";
};

TEST_F(ProfileTest, ReadsValuesKeyListsAndDefaultsWithTheirLengthsAndErrors) {
    using namespace std::string_literals;
    struct Case {
        const char* section;
        const char* key;
        const char* fallback;
        DWORD size;
        std::string expected;
        DWORD length;
        DWORD error;
    } cases[] = {
        {"WINDOWS", "beep", "x", 10, "yes\0"s, 3, ERROR_SUCCESS},
        {"windows", "Device", nullptr, 20, "  quoted  \0"s, 10, ERROR_SUCCESS},
        {"windows", "Empty", "fallback", 2, "\0"s, 0, ERROR_SUCCESS},
        {"windows", "missing", "fallback  ", 20, "fallback\0"s, 8, ERROR_FILE_NOT_FOUND},
        {"nowhere", "Beep", nullptr, 4, "\0"s, 0, ERROR_FILE_NOT_FOUND},
        // A value cut to the buffer.
        {"windows", "Device", nullptr, 5, "  qu\0"s, 4, ERROR_SUCCESS},
        {"windows", "missing", "fallback", 4, "fal\0"s, 3, ERROR_FILE_NOT_FOUND},
        // Key and section lists, whole and cut: the last name cut, then two nulls.
        {"windows", nullptr, nullptr, 30, "Beep\0Device\0Empty\0\0"s, 18, ERROR_SUCCESS},
        {"windows", nullptr, nullptr, 9, "Beep\0De\0\0"s, 7, ERROR_SUCCESS},
        {nullptr, nullptr, nullptr, 20, "windows\0Fonts\0\0"s, 14, ERROR_SUCCESS},
        {"nowhere", nullptr, "ignored", 4, "\0\0"s, 0, ERROR_FILE_NOT_FOUND},
    };
    for (const Case& c : cases) {
        SetLastError(12345);
        DWORD length = 0;
        const std::string got = read(c.section, c.key, c.fallback, c.size, length);
        const std::string context = std::string(c.section ? c.section : "(null)") + "/" +
                                    (c.key ? c.key : "(null)") + " in " + std::to_string(c.size);
        EXPECT_EQ(got.substr(0, c.expected.size()), c.expected) << context;
        EXPECT_EQ(length, c.length) << context;
        EXPECT_EQ(GetLastError(), c.error) << context;
    }
}

TEST_F(ProfileTest, WideCallsGoThroughTheAnsiCodePage) {
    ASSERT_TRUE(WriteProfileStringW(u"Fonts", u"Caf\u00e9", u"\u00e9t\u00e9 \u0416"));
    EXPECT_NE(folder.read("win.ini").find("Caf\xe9=\xe9t\xe9 ?"), std::string::npos);
    WCHAR buffer[16];
    EXPECT_EQ(GetProfileStringW(u"FONTS", u"caf\u00e9", nullptr, buffer, 16), 5u);
    EXPECT_EQ(std::u16string(buffer), u"\u00e9t\u00e9 ?");
    EXPECT_EQ(GetProfileStringW(u"Fonts", u"Caf\u00e9", nullptr, buffer, 3), 2u);
    EXPECT_EQ(std::u16string(buffer), u"\u00e9t");
}

TEST_F(ProfileTest, WritesChangeAddAndDeleteOnlyWhatTheyName) {
    EXPECT_TRUE(WriteProfileStringA("Windows", "beep", "no"));
    EXPECT_TRUE(WriteProfileStringA("FontSubstitutes", "MS Shell Dlg", "MS Sans Serif"));
    EXPECT_TRUE(WriteProfileStringA("windows", "Empty", nullptr));
    EXPECT_TRUE(WriteProfileStringA("fonts", nullptr, nullptr));
    EXPECT_TRUE(WriteProfileStringA("absent", "key", nullptr));
    EXPECT_EQ(folder.read("win.ini"), "[windows]\r\n"
                                      "; a remark\r\n"
                                      "Beep=no\r\n"
                                      "Device=\"  quoted  \"\r\n"
                                      "\r\n"
                                      "[FontSubstitutes]\r\n"
                                      "MS Shell Dlg=MS Sans Serif\r\n");
}

TEST_F(ProfileTest, AProfileThatCannotBeWrittenIsKeptAndTheReasonReported) {
    const std::string before = folder.read("win.ini");
    ::chmod(profileFile.c_str(), 0400);
    EXPECT_FALSE(WriteProfileStringA("windows", "Beep", "no"));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(WriteProfileStringA("windows", nullptr, nullptr));
    EXPECT_EQ(folder.read("win.ini"), before);

    SetLastError(ERROR_SUCCESS);
    EXPECT_FALSE(WriteProfileStringA(nullptr, "Beep", "no"));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    // Nothing waits in a cache to be written.
    EXPECT_TRUE(WriteProfileStringA(nullptr, nullptr, nullptr));
}

TEST_F(ProfileTest, TheFirstWriteMakesTheConfigurationFolderPrivately) {
    const std::string nested = folder / "config/quorvane/win.ini";
    SetProfileFile(nested);
    char buffer[8];
    EXPECT_EQ(GetProfileStringA("windows", "Beep", "none", buffer, 8), 4u);
    ASSERT_TRUE(WriteProfileStringA("windows", "Beep", "yes"));
    EXPECT_EQ(folder.read("config/quorvane/win.ini"), "[windows]\r\nBeep=yes\r\n");
    struct stat status {};
    ASSERT_EQ(::stat((folder / "config").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u);
}

} // namespace
