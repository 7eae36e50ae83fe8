// The process's error mode and the lstrcmp family over the core's locale comparison.
#include "platform/win/Kernel.h"

#include "platform/core/CodePages.h"

#include <atomic>

namespace {

std::atomic<UINT> errorMode{0};

int compare(LPCWSTR string1, LPCWSTR string2, bool ignoreCase) {
    if (!string1 || !string2) return (string1 ? 1 : 0) - (string2 ? 1 : 0);
    const Integer order = LocaleCompareWide(string1, string2, ignoreCase);
    return order < 0 ? -1 : order > 0 ? 1 : 0;
}

} // namespace

UINT SetErrorMode(UINT mode) {
    return errorMode.exchange(mode);
}

int lstrcmpW(LPCWSTR string1, LPCWSTR string2) {
    return compare(string1, string2, false);
}

int lstrcmpiW(LPCWSTR string1, LPCWSTR string2) {
    return compare(string1, string2, true);
}
