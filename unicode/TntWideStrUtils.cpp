// Null-terminated UTF-16 routines; comparisons and case mapping go through the
// layer's wrappers so that they follow the locale.
#include "unicode/TntWideStrUtils.h"

#include "platform/core/CodePages.h"
#include "platform/core/SysUtils.h"
#include "platform/win/SystemInfo.h"
#include "unicode/TntWindows.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

using Traits = std::char_traits<WideChar>;

constexpr Cardinal SizeWordBytes = sizeof(Cardinal);
constexpr int NullTerminated = -1;

Cardinal* sizeWordOf(const WideChar* text) {
    return reinterpret_cast<Cardinal*>(reinterpret_cast<char*>(const_cast<WideChar*>(text)) - SizeWordBytes);
}

int limitedLength(const WideChar* text, Cardinal maxLen) {
    return static_cast<int>(std::min(WStrLen(text), maxLen));
}

Integer compare(const WideChar* first, int firstCount, const WideChar* second, int secondCount, DWORD flags) {
    return Tnt_CompareStringW(GetThreadLocale(), flags, first, firstCount, second, secondCount) - 2;
}

} // namespace

WideChar* WStrAlloc(Cardinal Size) {
    const Cardinal blockBytes = Size * sizeof(WideChar) + SizeWordBytes;
    auto* block = static_cast<char*>(std::calloc(1, blockBytes));
    if (!block) throw EOutOfMemory(SOutOfMemory);
    std::memcpy(block, &blockBytes, SizeWordBytes);
    return reinterpret_cast<WideChar*>(block + SizeWordBytes);
}

Cardinal WStrBufSize(const WideChar* Str) {
    return (*sizeWordOf(Str) - SizeWordBytes) / sizeof(WideChar);
}

WideChar* WStrNew(const WideChar* Str) {
    if (!Str) return nullptr;
    const Cardinal length = WStrLen(Str);
    return WStrMove(WStrAlloc(length + 1), Str, length + 1);
}

void WStrDispose(WideChar* Str) {
    if (Str) std::free(sizeWordOf(Str));
}

WideChar* WStrMove(WideChar* Dest, const WideChar* Source, Cardinal Count) {
    std::memmove(Dest, Source, Count * sizeof(WideChar));
    return Dest;
}

Cardinal WStrLen(const WideChar* Str) {
    return static_cast<Cardinal>(Traits::length(Str));
}

WideChar* WStrEnd(const WideChar* Str) {
    return const_cast<WideChar*>(Str) + WStrLen(Str);
}

WideChar* WStrCopy(WideChar* Dest, const WideChar* Source) {
    return WStrMove(Dest, Source, WStrLen(Source) + 1);
}

WideChar* WStrLCopy(WideChar* Dest, const WideChar* Source, Cardinal MaxLen) {
    Cardinal count = 0;
    while (count < MaxLen && Source[count])
        ++count;
    WStrMove(Dest, Source, count);
    Dest[count] = 0;
    return Dest;
}

WideChar* WStrECopy(WideChar* Dest, const WideChar* Source) {
    return WStrEnd(WStrCopy(Dest, Source));
}

WideChar* WStrPCopy(WideChar* Dest, const AnsiString& Source) {
    return WStrCopy(Dest, AnsiToWide(Source).c_str());
}

WideChar* WStrPLCopy(WideChar* Dest, const AnsiString& Source, Cardinal MaxLen) {
    return WStrLCopy(Dest, AnsiToWide(Source).c_str(), MaxLen);
}

WideChar* WStrCat(WideChar* Dest, const WideChar* Source) {
    WStrCopy(WStrEnd(Dest), Source);
    return Dest;
}

WideChar* WStrLCat(WideChar* Dest, const WideChar* Source, Cardinal MaxLen) {
    const Cardinal length = WStrLen(Dest);
    // A Dest already MaxLen long or longer takes nothing (the count must not go negative).
    if (length < MaxLen) WStrLCopy(Dest + length, Source, MaxLen - length);
    return Dest;
}

Integer WStrComp(const WideChar* Str1, const WideChar* Str2) {
    return compare(Str1, NullTerminated, Str2, NullTerminated, 0);
}

Integer WStrIComp(const WideChar* Str1, const WideChar* Str2) {
    return compare(Str1, NullTerminated, Str2, NullTerminated, kernel32::NORM_IGNORECASE);
}

Integer WStrLComp(const WideChar* Str1, const WideChar* Str2, Cardinal MaxLen) {
    return compare(Str1, limitedLength(Str1, MaxLen), Str2, limitedLength(Str2, MaxLen), 0);
}

Integer WStrLIComp(const WideChar* Str1, const WideChar* Str2, Cardinal MaxLen) {
    return compare(Str1, limitedLength(Str1, MaxLen), Str2, limitedLength(Str2, MaxLen),
                   kernel32::NORM_IGNORECASE);
}

WideChar* WStrLower(WideChar* Str) {
    Tnt_CharLowerBuffW(Str, WStrLen(Str));
    return Str;
}

WideChar* WStrUpper(WideChar* Str) {
    Tnt_CharUpperBuffW(Str, WStrLen(Str));
    return Str;
}

WideChar* WStrPos(const WideChar* Str1, const WideChar* Str2) {
    if (!Str1 || !Str2 || !*Str1 || !*Str2) return nullptr;
    const std::u16string_view text(Str1), pattern(Str2);
    const std::size_t found = text.find(pattern);
    return found == std::u16string_view::npos ? nullptr : const_cast<WideChar*>(Str1) + found;
}

WideChar* WideStrScan(const WideChar* Str, WideChar Chr) {
    for (;; ++Str) {
        if (*Str == Chr) return const_cast<WideChar*>(Str);
        if (!*Str) return nullptr;
    }
}

WideChar* WStrRScan(const WideChar* Str, WideChar Chr) {
    const WideChar* found = nullptr;
    for (;; ++Str) {
        if (*Str == Chr) found = Str;
        if (!*Str) return const_cast<WideChar*>(found);
    }
}

WideString WStrPas(const WideChar* Str) {
    return Str ? WideString(Str) : WideString();
}
