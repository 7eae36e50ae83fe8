// Files without a version resource, which every file here is.
#include "platform/win/VersionInfo.h"

#include "platform/core/tests/TestFolder.h"
#include "platform/win/LastError.h"

#include <gtest/gtest.h>

namespace {

TEST(VersionInfo, AFileHasNoVersionResourceAndAMissingFileIsNotFound) {
    TestFolder folder;
    folder.write("program", "#!/bin/sh\n");
    const std::string existing = folder / "program";
    const std::pair<std::string, DWORD> cases[] = {
        {existing, ERROR_RESOURCE_TYPE_NOT_FOUND},
        {folder / "missing.exe", ERROR_FILE_NOT_FOUND},
        {folder / "no/such/folder.exe", ERROR_PATH_NOT_FOUND},
    };
    for (const auto& [name, error] : cases) {
        DWORD handle = 5;
        SetLastError(0);
        EXPECT_EQ(GetFileVersionInfoSizeA(name.c_str(), &handle), 0u);
        EXPECT_EQ(GetLastError(), error);
        EXPECT_EQ(handle, 0u);
        char block[16];
        SetLastError(0);
        EXPECT_FALSE(GetFileVersionInfoA(name.c_str(), 0, sizeof block, block));
        EXPECT_EQ(GetLastError(), error);
    }
    void* value = &folder;
    UINT length = 9;
    EXPECT_FALSE(VerQueryValueW(nullptr, u"\\StringFileInfo\\040904E4\\FileVersion", &value, &length));
    EXPECT_EQ(value, nullptr);
    EXPECT_EQ(length, 0u);
}

} // namespace
