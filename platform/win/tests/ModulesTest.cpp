// Loading libraries by name: the built-in table, its name forms, and the failures.
#include "platform/win/Modules.h"
#include "platform/win/LastError.h"
#include "platform/win/Windows.h"

#include <gtest/gtest.h>

namespace {

TEST(Modules, TheRichEditLibraryLoadsUnderEveryFormOfItsName) {
    const HMODULE module = LoadLibraryW(u"RICHED20.DLL");
    ASSERT_NE(module, nullptr);
    EXPECT_NE(module, GetModuleHandleW(nullptr));
    EXPECT_EQ(LoadLibraryW(u"riched20"), module);
    EXPECT_EQ(LoadLibraryA("C:\\Windows\\System32\\RichEd20.dll"), module);
    EXPECT_EQ(LoadLibraryExW(u"/usr/lib/riched20.dll", nullptr, 0), module);
    EXPECT_TRUE(FreeLibrary(module));
}

TEST(Modules, OtherLibrariesAreNotFound) {
    for (const char16_t* name :
         {u"KERNEL32.DLL", u"RICHED20.EXE", u"", static_cast<const char16_t*>(nullptr)}) {
        SetLastError(0);
        EXPECT_EQ(LoadLibraryW(name), nullptr);
        EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
    }
    SetLastError(0);
    EXPECT_FALSE(FreeLibrary(GetModuleHandleW(nullptr)));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

} // namespace

TEST(Modules, NoStringIsFoundAndTheBufferIsEmptied) {
    WCHAR wide[8] = u"stale";
    SetLastError(0);
    EXPECT_EQ(LoadStringW(GetModuleHandleW(nullptr), 65099, wide, 8), 0);
    EXPECT_EQ(wide[0], 0);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_TYPE_NOT_FOUND);
    char ansi[4] = "old";
    EXPECT_EQ(LoadStringA(nullptr, 1, ansi, 0), 0);
    EXPECT_EQ(ansi[0], 'o');
}
