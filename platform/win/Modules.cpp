#include "platform/win/Modules.h"

#include "platform/core/CodePages.h"
#include "platform/win/LastError.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <array>
#include <cwctype>

namespace {

struct BuiltInModule {
    const char16_t* name;
    HMODULE handle;
};

// Module handles are the modules' base addresses; these stay clear of the program's.
const std::array<BuiltInModule, 1> BuiltInModules = {{
    {u"RICHED20.DLL", reinterpret_cast<HMODULE>(0x48000000)},
}};

// The upper-case file name part, with ".DLL" when it has no extension.
WideString moduleNameOf(const WideString& FileName) {
    const std::size_t separator = FileName.find_last_of(u"\\/");
    WideString name = separator == WideString::npos ? FileName : FileName.substr(separator + 1);
    std::transform(name.begin(), name.end(), name.begin(),
                   [](char16_t c) { return c < 0x80 ? static_cast<char16_t>(std::towupper(c)) : c; });
    if (name.find(u'.') == WideString::npos) name += u".DLL";
    return name;
}

template <typename Char> int missingString(Char* buffer, int bufferMax) {
    if (buffer && bufferMax > 0) buffer[0] = 0;
    SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
    return 0;
}

} // namespace

HMODULE LoadLibraryW(LPCWSTR fileName) {
    if (fileName) {
        const WideString name = moduleNameOf(fileName);
        for (const BuiltInModule& module : BuiltInModules)
            if (name == module.name) return module.handle;
    }
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

HMODULE LoadLibraryA(LPCSTR fileName) {
    if (!fileName) return LoadLibraryW(nullptr);
    const WideString name = AnsiToWide(fileName);
    return LoadLibraryW(name.c_str());
}

HMODULE LoadLibraryExW(LPCWSTR fileName, HANDLE, DWORD) {
    return LoadLibraryW(fileName);
}

BOOL FreeLibrary(HMODULE module) {
    for (const BuiltInModule& builtIn : BuiltInModules)
        if (module == builtIn.handle) return TRUE;
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
}

int LoadStringA(HINSTANCE, UINT, LPSTR buffer, int bufferMax) {
    return missingString(buffer, bufferMax);
}

int LoadStringW(HINSTANCE, UINT, LPWSTR buffer, int bufferMax) {
    return missingString(buffer, bufferMax);
}
