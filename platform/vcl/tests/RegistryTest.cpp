#include "platform/vcl/Registry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace {

// Each test gets a registry file of its own in a fresh folder.
class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("quorvane-registry-" + std::to_string(getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        SetRegistryFile((folder_ / "registry").string());
    }
    void TearDown() override {
        SetRegistryFile("");
        std::filesystem::remove_all(folder_);
    }
    // Drops what was read, so the next call reads the file again.
    void reloadFromFile() { SetRegistryFile((folder_ / "registry").string()); }

    AnsiString errorOf(const std::function<void()>& action) {
        try {
            action();
        } catch (const ERegistryException& error) {
            return error.Message;
        }
        return "no error";
    }

    std::filesystem::path folder_;
};

} // namespace

TEST_F(RegistryTest, ValuesSurviveAFreshReadOfTheFile) {
    {
        TRegistry registry;
        ASSERT_TRUE(registry.OpenKey("Software\\Marrowind\\Quorvane", true));
        registry.WriteString("AppDir", "C:\\Programs\\Quorvane");
        registry.WriteInteger("Count", -42);
        registry.WriteBool("Wrap", true);
        registry.WriteString("Empty", "");
    }
    reloadFromFile();

    TRegistry registry;
    ASSERT_TRUE(registry.OpenKeyReadOnly("\\Software\\Marrowind\\Quorvane"));
    EXPECT_EQ(registry.CurrentPath(), "Software\\Marrowind\\Quorvane");
    EXPECT_EQ(registry.ReadString("AppDir"), "C:\\Programs\\Quorvane");
    EXPECT_EQ(registry.ReadInteger("Count"), -42);
    EXPECT_TRUE(registry.ReadBool("Wrap"));
    EXPECT_EQ(registry.ReadString("Empty"), "");
    EXPECT_EQ(registry.GetDataType("Count"), rdInteger);
    EXPECT_TRUE(registry.ValueExists("appdir"));
    EXPECT_FALSE(registry.ValueExists("Missing"));

    TStringList names;
    registry.GetValueNames(&names);
    EXPECT_EQ(names.CommaText(), "AppDir,Count,Wrap,Empty");
}

TEST_F(RegistryTest, KeysOpenRelativeToTheOpenKeyOrFromTheRoot) {
    TRegistry registry;
    EXPECT_FALSE(registry.OpenKey("Software\\Nowhere", false));
    EXPECT_EQ(registry.CurrentKey(), nullptr);
    ASSERT_TRUE(registry.OpenKey("Software", true));
    ASSERT_TRUE(registry.OpenKey("Marrowind", true));
    EXPECT_EQ(registry.CurrentPath(), "Software\\Marrowind");
    EXPECT_TRUE(registry.CreateKey("Beta"));
    EXPECT_TRUE(registry.CreateKey("Alpha\\Deep"));
    EXPECT_TRUE(registry.KeyExists("Alpha\\Deep"));
    EXPECT_TRUE(registry.KeyExists("\\Software\\Marrowind\\Beta"));
    EXPECT_FALSE(registry.KeyExists("Gamma"));

    TStringList names;
    registry.GetKeyNames(&names);
    EXPECT_EQ(names.CommaText(), "Alpha,Beta");
    EXPECT_TRUE(registry.HasSubKeys());

    ASSERT_TRUE(registry.OpenKey("\\Software", false));
    EXPECT_EQ(registry.CurrentPath(), "Software");
    registry.CloseKey();
    EXPECT_EQ(registry.CurrentPath(), "");
}

TEST_F(RegistryTest, DeleteKeyTakesEverythingBelowIt) {
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey("Software\\Doomed\\Inner\\Innermost", true));
    registry.WriteInteger("Value", 1);
    registry.CloseKey();

    EXPECT_TRUE(registry.DeleteKey("Software\\Doomed"));
    EXPECT_FALSE(registry.KeyExists("Software\\Doomed"));
    EXPECT_TRUE(registry.KeyExists("Software"));
    EXPECT_FALSE(registry.DeleteKey("Software\\Doomed"));
}

TEST_F(RegistryTest, DeleteValueRemovesOnlyThatValue) {
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey("Software\\Values", true));
    registry.WriteInteger("Keep", 1);
    registry.WriteInteger("Drop", 2);
    EXPECT_TRUE(registry.DeleteValue("Drop"));
    EXPECT_FALSE(registry.DeleteValue("Drop"));
    EXPECT_FALSE(registry.ValueExists("Drop"));
    EXPECT_EQ(registry.ReadInteger("Keep"), 1);
}

TEST_F(RegistryTest, ReportsFailuresWithTheFrameworksTexts) {
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey("Software\\Typed", true));
    registry.WriteString("Text", "abc");
    registry.WriteInteger("Number", 5);
    registry.CloseKey();

    ASSERT_TRUE(registry.OpenKeyReadOnly("Software\\Typed"));
    EXPECT_EQ(registry.ReadString("Missing"), "");
    EXPECT_EQ(errorOf([&] { registry.ReadInteger("Text"); }), "Invalid data type for 'Text'");
    EXPECT_EQ(errorOf([&] { registry.ReadString("Number"); }), "Invalid data type for 'Number'");
    EXPECT_EQ(errorOf([&] { registry.ReadInteger("Missing"); }), "Failed to get data for 'Missing'");
    EXPECT_EQ(errorOf([&] { registry.WriteInteger("Number", 6); }), "Failed to set data for 'Number'");

    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_EQ(registry.CurrentKey(), nullptr);
    EXPECT_EQ(errorOf([&] { registry.CreateKey("Software\\X"); }), "Failed to create key Software\\X");
}
