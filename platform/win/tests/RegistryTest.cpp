#include "platform/win/Registry.h"

#include "platform/core/tests/TestFolder.h"
#include "platform/win/LastError.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <sys/time.h>
#include <vector>

namespace {

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override { SetRegistryFile(registryFile); }
    void TearDown() override { SetRegistryFile(folder / "unused"); }

    // Reads the file again, as the next start of the program would.
    void reopen() { SetRegistryFile(registryFile); }

    HKEY create(HKEY parent, const char* path, REGSAM access = KEY_ALL_ACCESS) {
        HKEY key = nullptr;
        EXPECT_EQ(RegCreateKeyExA(parent, path, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key,
                                  nullptr),
                  ERROR_SUCCESS);
        return key;
    }
    HKEY open(HKEY parent, const char* path, REGSAM access = KEY_READ) {
        HKEY key = nullptr;
        EXPECT_EQ(RegOpenKeyExA(parent, path, 0, access, &key), ERROR_SUCCESS) << path;
        return key;
    }

    TestFolder folder;
    std::string registryFile = folder / "config/quorvane/registry";
};

std::vector<BYTE> bytes(const void* data, std::size_t size) {
    const auto* first = static_cast<const BYTE*>(data);
    return std::vector<BYTE>(first, first + size);
}

std::vector<BYTE> wideBytes(const std::u16string& text) {
    return bytes(text.c_str(), (text.size() + 1) * sizeof(char16_t));
}

struct StoredValue {
    std::u16string name;
    DWORD type;
    std::vector<BYTE> data;
};

std::vector<BYTE> queryW(HKEY key, const char16_t* name, DWORD* type = nullptr) {
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExW(key, name, nullptr, type, nullptr, &size), ERROR_SUCCESS);
    std::vector<BYTE> data(size);
    EXPECT_EQ(RegQueryValueExW(key, name, nullptr, type, data.data(), &size), ERROR_SUCCESS);
    return data;
}

} // namespace

TEST_F(RegistryTest, EveryKindOfValueSurvivesTheFile) {
    const DWORD number = 0xFFFFFFFE;
    const BYTE blob[] = {0x00, 0xFF, 0x10};
    const std::u16string awkwardText = u"quote \" back\\slash %u0041 tab\t line\nbreak \u20AC \U0001F600";
    const std::vector<StoredValue> values = {
        {u"AppDir", REG_SZ, wideBytes(u"/home/me/Quorvane/")},
        {u"", REG_SZ, wideBytes(u"default value")},
        {u"Count", REG_DWORD, bytes(&number, sizeof number)},
        {u"Blob", REG_BINARY, bytes(blob, sizeof blob)},
        {u"Path", REG_EXPAND_SZ, wideBytes(u"%HOME%\\bin")},
        {u"List", REG_MULTI_SZ, bytes(u"a\0bc\0\0", 12)},
        {u"Unterminated", REG_SZ, bytes(u"abc", 6)},
        {u"Odd bytes", REG_SZ, bytes("abc", 3)},
        {u"Empty", REG_BINARY, {}},
        {u"name \"with\" \\ and \u00E9\n", REG_SZ, wideBytes(awkwardText)},
        {u"lone \xD800 surrogate", REG_SZ, wideBytes(u"\xDC00")},
    };
    HKEY key = create(HKEY_CURRENT_USER, "Software\\Maker\\Quorvane");
    for (const StoredValue& value : values)
        ASSERT_EQ(RegSetValueExW(key, value.name.c_str(), 0, value.type, value.data.data(),
                                 static_cast<DWORD>(value.data.size())),
                  ERROR_SUCCESS);
    RegCloseKey(create(HKEY_CURRENT_USER, "Software\\Maker\\Empty [key] %41"));
    RegCloseKey(key);

    reopen();
    key = open(HKEY_CURRENT_USER, "software\\MAKER\\quorvane");
    for (std::size_t i = 0; i < values.size(); ++i) {
        char16_t name[300];
        DWORD nameSize = 300;
        DWORD type = 0;
        BYTE data[300];
        DWORD dataSize = sizeof data;
        ASSERT_EQ(RegEnumValueW(key, static_cast<DWORD>(i), name, &nameSize, nullptr, &type, data, &dataSize),
                  ERROR_SUCCESS);
        EXPECT_EQ(std::u16string(name, nameSize), values[i].name);
        EXPECT_EQ(type, values[i].type);
        EXPECT_EQ(bytes(data, dataSize), values[i].data) << i;
    }
    RegCloseKey(key);
    RegCloseKey(open(HKEY_CURRENT_USER, "Software\\Maker\\Empty [key] %41"));

    const std::string text = folder.read("config/quorvane/registry");
    EXPECT_EQ(text.rfind("Quorvane registry 1\n", 0), 0u);
    EXPECT_NE(text.find("[Software\\Maker\\Quorvane]\n\"AppDir\" = sz:\"/home/me/Quorvane/\"\n"),
              std::string::npos);
    EXPECT_NE(text.find("\"Count\" = dword:4294967294\n"), std::string::npos);
    EXPECT_NE(text.find("[Software\\Maker\\Empty [key] %u002541]\n"), std::string::npos);
}

TEST_F(RegistryTest, AnsiCallsConvertStringsThroughTheCodePage) {
    HKEY key = create(HKEY_CURRENT_USER, "Software\\Caf\xE9");
    const char text[] = "Stra\xDF"
                        "e \x80";
    ASSERT_EQ(RegSetValueExA(key, "Name", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text),
              ERROR_SUCCESS);
    const DWORD binary = 0x80;
    ASSERT_EQ(
        RegSetValueExA(key, "Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&binary), sizeof binary),
        ERROR_SUCCESS);
    RegCloseKey(key);

    key = open(HKEY_CURRENT_USER, "SOFTWARE\\CAF\xC9");
    EXPECT_EQ(queryW(key, u"name"), wideBytes(u"Stra\u00DFe \u20AC"));
    DWORD size = 0;
    DWORD type = 0;
    ASSERT_EQ(RegQueryValueExA(key, "NAME", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, sizeof text);
    char back[32] = {};
    ASSERT_EQ(RegQueryValueExA(key, "Name", nullptr, nullptr, reinterpret_cast<BYTE*>(back), &size),
              ERROR_SUCCESS);
    EXPECT_STREQ(back, text);
    EXPECT_EQ(queryW(key, u"Number"), bytes(&binary, sizeof binary));
    RegCloseKey(key);
}

TEST_F(RegistryTest, QueriesReportSizesAndMissingValues) {
    HKEY key = create(HKEY_CURRENT_USER, "Software\\Sizes");
    const char16_t text[] = u"twelve chars";
    ASSERT_EQ(RegSetValueExW(key, u"Text", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text),
              ERROR_SUCCESS);
    BYTE small[4];
    DWORD size = sizeof small;
    EXPECT_EQ(RegQueryValueExW(key, u"Text", nullptr, nullptr, small, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, sizeof text);
    EXPECT_EQ(RegQueryValueExW(key, u"Missing", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegQueryValueExW(key, nullptr, nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegQueryValueExW(key, u"Text", nullptr, nullptr, small, nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegQueryValueExW(key, u"Text", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);

    // Setting a value again under another case keeps its first name and place.
    const DWORD one = 1;
    ASSERT_EQ(RegSetValueExW(key, u"Second", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), 4),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, u"TEXT", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), 4),
              ERROR_SUCCESS);
    char16_t name[16];
    DWORD nameSize = 16;
    DWORD type = 0;
    ASSERT_EQ(RegEnumValueW(key, 0, name, &nameSize, nullptr, &type, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(std::u16string(name), u"Text");
    EXPECT_EQ(type, REG_DWORD);
    RegCloseKey(key);
}

TEST_F(RegistryTest, EnumerationAndKeyInformation) {
    HKEY key = create(HKEY_CURRENT_USER, "Software\\Listing");
    for (const char* name : {"gamma", "Alpha", "beta\\inner", "Beta"})
        RegCloseKey(create(key, name));
    const BYTE data[10] = {};
    RegSetValueExA(key, "Zed", 0, REG_BINARY, data, 10);
    RegSetValueExA(key, "Ab", 0, REG_BINARY, data, 2);

    std::vector<std::string> names;
    char name[16];
    for (DWORD index = 0;; ++index) {
        DWORD size = sizeof name;
        const LSTATUS status = RegEnumKeyExA(key, index, name, &size, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) break;
        ASSERT_EQ(status, ERROR_SUCCESS);
        EXPECT_EQ(size, std::strlen(name));
        names.push_back(name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Alpha", "beta", "gamma"}));
    DWORD tooSmall = 5;
    EXPECT_EQ(RegEnumKeyExA(key, 0, name, &tooSmall, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);

    DWORD subKeys = 0, longestKey = 0, values = 0, longestName = 0, largestData = 0;
    ASSERT_EQ(RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeys, &longestKey, nullptr, &values,
                               &longestName, &largestData, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(subKeys, 3u);
    EXPECT_EQ(longestKey, 5u);
    EXPECT_EQ(values, 2u);
    EXPECT_EQ(longestName, 3u);
    EXPECT_EQ(largestData, 10u);
    DWORD valueNameSize = sizeof name;
    ASSERT_EQ(RegEnumValueA(key, 1, name, &valueNameSize, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_STREQ(name, "Ab");
    EXPECT_EQ(RegEnumValueA(key, 2, name, &valueNameSize, nullptr, nullptr, nullptr, nullptr),
              ERROR_NO_MORE_ITEMS);
    RegCloseKey(key);
}

TEST_F(RegistryTest, CreatingReportsWhetherTheKeyIsNew) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"Software\\New\\Deep", 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    RegCloseKey(key);
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"SOFTWARE\\new\\deep\\", 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    RegCloseKey(key);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
}

TEST_F(RegistryTest, ErrorsOfPathsRightsAndTheMachineKey) {
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "\\Software", 0, KEY_READ, &key), ERROR_BAD_PATHNAME);
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\\\Gap", 0, KEY_READ, &key), ERROR_BAD_PATHNAME);
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Missing", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr);
    EXPECT_EQ(RegOpenKeyExA(reinterpret_cast<HKEY>(0x1234), "", 0, KEY_READ, &key), ERROR_INVALID_HANDLE);

    RegCloseKey(create(HKEY_CURRENT_USER, "Software\\ReadOnly"));
    key = open(HKEY_CURRENT_USER, "Software\\ReadOnly", KEY_READ);
    const DWORD value = 1;
    EXPECT_EQ(RegSetValueExA(key, "V", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4),
              ERROR_ACCESS_DENIED);
    HKEY child = nullptr;
    EXPECT_EQ(RegCreateKeyExA(key, "Child", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child, nullptr),
              ERROR_ACCESS_DENIED);
    RegCloseKey(key);

    key = open(HKEY_LOCAL_MACHINE, "", KEY_ALL_ACCESS);
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\CLSID", 0, KEY_READ, &child),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegCreateKeyExA(key, "SOFTWARE", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child, nullptr),
              ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegSetValueExA(key, "V", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4),
              ERROR_ACCESS_DENIED);
    RegCloseKey(key);
}

TEST_F(RegistryTest, DeletingKeysAndValues) {
    HKEY parent = create(HKEY_CURRENT_USER, "Software\\Doomed");
    HKEY leaf = create(parent, "Leaf");
    const DWORD value = 7;
    RegSetValueExA(parent, "Keep", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
    RegSetValueExA(parent, "Drop", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);

    EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Doomed"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteKeyA(parent, "Missing"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteKeyA(parent, "LEAF"), ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(leaf, "Late", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4),
              ERROR_KEY_DELETED);
    RegCloseKey(leaf);
    EXPECT_EQ(RegDeleteValueA(parent, "drop"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteValueA(parent, "drop"), ERROR_FILE_NOT_FOUND);
    RegCloseKey(parent);

    reopen();
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Doomed\\Leaf", 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
    parent = open(HKEY_CURRENT_USER, "Software\\Doomed");
    EXPECT_EQ(queryW(parent, u"Keep"), bytes(&value, 4));
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(parent, "Drop", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
    RegCloseKey(parent);
}

TEST_F(RegistryTest, AChangeThatCannotBeSavedIsUndone) {
    folder.write("not-a-folder", "");
    SetRegistryFile(folder / "not-a-folder/registry");
    HKEY key = nullptr;
    EXPECT_NE(
        RegCreateKeyExA(HKEY_CURRENT_USER, "Software", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
        ERROR_SUCCESS);
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    const DWORD value = 1;
    EXPECT_NE(RegSetValueExA(HKEY_CURRENT_USER, "V", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4),
              ERROR_SUCCESS);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(HKEY_CURRENT_USER, "V", nullptr, nullptr, nullptr, &size),
              ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, ADamagedFileKeepsWhatCanBeReadAndIsBackedUp) {
    const std::string damaged = "Quorvane registry 1\n"
                                "[Software\\Good]\n"
                                "\"Fine\" = dword:5\n"
                                "\"Broken\" = dword:five\n"
                                "[Software\\\\Bad]\n"
                                "\"Lost\" = dword:6\n";
    std::filesystem::create_directories(folder / "config/quorvane");
    folder.write("config/quorvane/registry", damaged);
    reopen();
    HKEY key = open(HKEY_CURRENT_USER, "Software\\Good", KEY_ALL_ACCESS);
    const DWORD five = 5;
    EXPECT_EQ(queryW(key, u"Fine"), bytes(&five, 4));
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "Broken", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegSetValueExA(key, "New", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&five), 4),
              ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(folder.read("config/quorvane/registry.bak"), damaged);
}

// A timer signal without SA_RESTART, every 50 microseconds while it lives:
// every slow system call in between may end early with EINTR.
class SignalStorm {
public:
    SignalStorm() {
        struct sigaction action {};
        action.sa_handler = [](int) {};
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGALRM, &action, &previous_);
        const itimerval every{{0, 50}, {0, 50}};
        ::setitimer(ITIMER_REAL, &every, nullptr);
    }
    ~SignalStorm() {
        const itimerval off{};
        ::setitimer(ITIMER_REAL, &off, nullptr);
        ::sigaction(SIGALRM, &previous_, nullptr);
    }
    SignalStorm(const SignalStorm&) = delete;
    SignalStorm& operator=(const SignalStorm&) = delete;

private:
    struct sigaction previous_ {};
};

// Signals interrupt the copy of a damaged file now and then: the change
// goes through all the same and the backup is always the whole file.
TEST_F(RegistryTest, TheBackupOfADamagedFileOutlastsSignals) {
    std::string damaged = "Quorvane registry 1\n";
    for (int line = 0; line < 2000; ++line)
        damaged += "\"Broken" + std::to_string(line) + "\" = dword:five\n";
    std::filesystem::create_directories(folder / "config/quorvane");
    const DWORD value = 1;
    for (int attempt = 0; attempt < 100; ++attempt) {
        folder.write("config/quorvane/registry", damaged);
        std::filesystem::remove(registryFile + ".bak");
        reopen();
        LSTATUS status = ERROR_SUCCESS;
        {
            SignalStorm storm;
            status = RegSetValueExA(HKEY_CURRENT_USER, "V", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
        }
        ASSERT_EQ(status, ERROR_SUCCESS) << "attempt " << attempt;
        ASSERT_EQ(folder.read("config/quorvane/registry.bak"), damaged) << "attempt " << attempt;
    }
}

// A folder, or a file that cannot be read, stands where the registry file
// should be: every call answers "access denied" and none takes it as empty.
TEST_F(RegistryTest, AnUnreadableFileDeniesAccessWithoutThrowing) {
    std::filesystem::create_directories(registryFile);
    reopen();
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &key), ERROR_ACCESS_DENIED);
    EXPECT_EQ(
        RegCreateKeyExA(HKEY_CURRENT_USER, "Software", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
        ERROR_ACCESS_DENIED);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(HKEY_CURRENT_USER, "V", nullptr, nullptr, nullptr, &size), ERROR_ACCESS_DENIED);
    const DWORD value = 1;
    EXPECT_EQ(RegSetValueExA(HKEY_CURRENT_USER, "V", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4),
              ERROR_ACCESS_DENIED);
    EXPECT_TRUE(std::filesystem::is_directory(registryFile));

    if (::geteuid() == 0) return; // root reads every file
    std::filesystem::remove(registryFile);
    folder.write("config/quorvane/registry", "Quorvane registry 1\n[Software]\n");
    ::chmod(registryFile.c_str(), 0200);
    reopen();
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &key), ERROR_ACCESS_DENIED);
}

TEST_F(RegistryTest, AWriteGoesThroughASymbolicLink) {
    std::filesystem::create_directories(folder / "config/quorvane");
    folder.write("real-registry", "Quorvane registry 1\n[Software\\Old]\n");
    std::filesystem::create_symlink(folder / "real-registry", registryFile);
    reopen();
    RegCloseKey(create(HKEY_CURRENT_USER, "Software\\New"));
    EXPECT_TRUE(std::filesystem::is_symlink(registryFile));
    reopen();
    RegCloseKey(open(HKEY_CURRENT_USER, "Software\\Old"));
    RegCloseKey(open(HKEY_CURRENT_USER, "Software\\New"));
}

// Names no path can reach are damaged lines: skipped with their values, and
// the file kept aside before it is rewritten.
TEST_F(RegistryTest, KeyNamesThatNoCallCanAddressAreRefused) {
    const std::string tooLong(256, 'x');
    const std::string text = "Quorvane registry 1\n"
                             "[Software\\Back%u005Cslash]\n\"A\" = dword:1\n"
                             "[Software\\Nul%u0000]\n\"B\" = dword:2\n"
                             "[Software\\" + tooLong + "]\n\"C\" = dword:3\n"
                             "[Software\\" + tooLong.substr(1) + "]\n\"D\" = dword:4\n";
    std::filesystem::create_directories(folder / "config/quorvane");
    folder.write("config/quorvane/registry", text);
    reopen();
    HKEY software = open(HKEY_CURRENT_USER, "Software", KEY_ALL_ACCESS);
    DWORD subKeys = 0;
    EXPECT_EQ(RegQueryInfoKeyA(software, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(subKeys, 1u) << "only the name of 255 characters";
    RegCloseKey(create(software, "Added"));
    RegCloseKey(software);
    EXPECT_EQ(folder.read("config/quorvane/registry.bak"), text);
}
