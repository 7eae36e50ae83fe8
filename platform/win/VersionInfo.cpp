#include "platform/win/VersionInfo.h"

#include "platform/core/CodePages.h"
#include "platform/core/FileUtils.h"
#include "platform/win/LastError.h"

#include <cerrno>
#include <sys/stat.h>

namespace {

DWORD versionInfoSize(const WideString& fileName, DWORD* handle) {
    if (handle) *handle = 0;
    const std::string nativeName = NativeFileName(fileName);
    struct stat status;
    if (fileName.empty() || ::stat(nativeName.c_str(), &status) != 0)
        SetLastError(fileName.empty() ? ERROR_FILE_NOT_FOUND : OSErrorForPath(errno, nativeName));
    else
        SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
    return 0;
}

WideString wideOf(LPCSTR text) {
    return text ? AnsiToWide(text) : WideString();
}

WideString wideOf(LPCWSTR text) {
    return text ? WideString(text) : WideString();
}

BOOL noValue(void** buffer, UINT* length) {
    if (buffer) *buffer = nullptr;
    if (length) *length = 0;
    return FALSE;
}

} // namespace

DWORD GetFileVersionInfoSizeA(LPCSTR fileName, DWORD* handle) {
    return versionInfoSize(wideOf(fileName), handle);
}

DWORD GetFileVersionInfoSizeW(LPCWSTR fileName, DWORD* handle) {
    return versionInfoSize(wideOf(fileName), handle);
}

BOOL GetFileVersionInfoA(LPCSTR fileName, DWORD, DWORD, void*) {
    return versionInfoSize(wideOf(fileName), nullptr) != 0;
}

BOOL GetFileVersionInfoW(LPCWSTR fileName, DWORD, DWORD, void*) {
    return versionInfoSize(wideOf(fileName), nullptr) != 0;
}

BOOL VerQueryValueA(const void*, LPCSTR, void** buffer, UINT* length) {
    return noValue(buffer, length);
}

BOOL VerQueryValueW(const void*, LPCWSTR, void** buffer, UINT* length) {
    return noValue(buffer, length);
}
