// libFuzzer target for the registry file: the input is the file. What loads
// must survive a change and a reload: the whole tree (keys, value names,
// types and data) is the same afterwards, plus the value that was set.
#include "platform/win/LastError.h"
#include "platform/win/Registry.h"
#include "tests/FuzzCheck.h"
#include "tests/FuzzScratchFile.h"

#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr DWORD NameBufferLength = 16384;
const std::u16string WrittenKey = u"Software\\Fuzz";
const std::u16string WrittenValue = u"Written";

// One line per key and per value, in enumeration order.
using Tree = std::vector<std::u16string>;

std::u16string hexOf(const std::vector<BYTE>& data) {
    static const char16_t digits[] = u"0123456789abcdef";
    std::u16string text;
    for (BYTE byte : data) {
        text += digits[byte >> 4];
        text += digits[byte & 15];
    }
    return text;
}

void listValues(HKEY key, const std::u16string& path, Tree& tree) {
    std::vector<WCHAR> name(NameBufferLength);
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = NameBufferLength;
        DWORD type = 0;
        DWORD size = 0;
        if (RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            return;
        std::vector<BYTE> data(size);
        nameLength = NameBufferLength;
        fuzzCheck(RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type, data.data(), &size) ==
                      ERROR_SUCCESS,
                  "an enumerated value reads");
        tree.push_back(path + u"|" + std::u16string(name.data(), nameLength) + u"|" +
                       std::u16string(1, static_cast<char16_t>(type)) + hexOf(data));
    }
}

void listKey(HKEY key, const std::u16string& path, Tree& tree) {
    tree.push_back(path);
    listValues(key, path, tree);
    std::vector<WCHAR> name(NameBufferLength);
    for (DWORD index = 0;; ++index) {
        DWORD nameLength = NameBufferLength;
        if (RegEnumKeyExW(key, index, name.data(), &nameLength, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            return;
        const std::u16string child(name.data(), nameLength);
        HKEY sub = nullptr;
        fuzzCheck(RegOpenKeyExW(key, reinterpret_cast<LPCWSTR>(child.c_str()), 0, KEY_READ, &sub) == ERROR_SUCCESS,
                  "every enumerated key opens by its name");
        listKey(sub, path + u"\\" + child, tree);
        RegCloseKey(sub);
    }
}

Tree treeOf() {
    Tree tree;
    listKey(HKEY_CURRENT_USER, u"", tree);
    return tree;
}

std::u16string upperAscii(std::u16string text) {
    for (char16_t& unit : text)
        if (unit >= u'a' && unit <= u'z') unit = static_cast<char16_t>(unit - u'a' + u'A');
    return text;
}

// The value set here may replace one of the same name in another letter case.
bool isWrittenValue(const std::u16string& line) {
    return upperAscii(line).starts_with(upperAscii(u"\\" + WrittenKey + u"|" + WrittenValue + u"|"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    static const FuzzScratchFile scratch("registry-fuzz", "registry");
    const std::string& path = scratch.path();
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(Data), static_cast<std::streamsize>(Size));
    SetRegistryFile(path);
    const Tree before = treeOf();

    HKEY key = nullptr;
    fuzzCheck(RegCreateKeyExW(HKEY_CURRENT_USER, reinterpret_cast<LPCWSTR>(WrittenKey.c_str()), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr) == ERROR_SUCCESS,
              "a key can be created");
    const DWORD value = 42;
    fuzzCheck(RegSetValueExW(key, reinterpret_cast<LPCWSTR>(WrittenValue.c_str()), 0, REG_DWORD,
                             reinterpret_cast<const BYTE*>(&value), sizeof value) == ERROR_SUCCESS,
              "a value can be set");
    RegCloseKey(key);
    const Tree changed = treeOf();

    SetRegistryFile(path);
    fuzzCheck(treeOf() == changed, "a reload gives back what was written");
    for (const std::u16string& line : before)
        fuzzCheck(std::find(changed.begin(), changed.end(), line) != changed.end() || isWrittenValue(line),
                  "a change keeps everything else");
    return 0;
}
