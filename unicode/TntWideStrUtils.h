// Null-terminated UTF-16 text: the wide counterparts of the class library's
// null-terminated string routines. Blocks made by WStrAlloc carry their size
// in a word just before the text.
#pragma once

#include "platform/core/Types.h"

// A block for Size characters; the text pointer it returns is freed by WStrDispose.
WideChar* WStrAlloc(Cardinal Size);
// The characters the block of Str can hold.
Cardinal WStrBufSize(const WideChar* Str);
// A copy of Str in a new block; null for null.
WideChar* WStrNew(const WideChar* Str);
void WStrDispose(WideChar* Str);

// Moves Count characters (the ranges may overlap); returns Dest.
WideChar* WStrMove(WideChar* Dest, const WideChar* Source, Cardinal Count);
Cardinal WStrLen(const WideChar* Str);
WideChar* WStrEnd(const WideChar* Str);
WideChar* WStrCopy(WideChar* Dest, const WideChar* Source);
// Copies at most MaxLen characters and a terminator.
WideChar* WStrLCopy(WideChar* Dest, const WideChar* Source, Cardinal MaxLen);
// Copies Source and returns the end of Dest.
WideChar* WStrECopy(WideChar* Dest, const WideChar* Source);
// ANSI text converted through the system code page, then copied.
WideChar* WStrPCopy(WideChar* Dest, const AnsiString& Source);
WideChar* WStrPLCopy(WideChar* Dest, const AnsiString& Source, Cardinal MaxLen);
WideChar* WStrCat(WideChar* Dest, const WideChar* Source);
// Appends so that Dest holds at most MaxLen characters; nothing when it already does.
WideChar* WStrLCat(WideChar* Dest, const WideChar* Source, Cardinal MaxLen);

// The thread locale's order (case-insensitive for the I forms), at most
// MaxLen characters of each; <0, 0 or >0.
Integer WStrComp(const WideChar* Str1, const WideChar* Str2);
Integer WStrIComp(const WideChar* Str1, const WideChar* Str2);
Integer WStrLComp(const WideChar* Str1, const WideChar* Str2, Cardinal MaxLen);
Integer WStrLIComp(const WideChar* Str1, const WideChar* Str2, Cardinal MaxLen);

// Case mapping in place; return Str.
WideChar* WStrLower(WideChar* Str);
WideChar* WStrUpper(WideChar* Str);

// First occurrence of Str2 in Str1, by exact comparison; null when either is null or empty.
WideChar* WStrPos(const WideChar* Str1, const WideChar* Str2);
// First Chr in Str; null when the terminator comes first.
WideChar* WideStrScan(const WideChar* Str, WideChar Chr);
// Last Chr in Str; the terminator for U+0000.
WideChar* WStrRScan(const WideChar* Str, WideChar Chr);
WideString WStrPas(const WideChar* Str);

// The class library's names for the same routines.
inline WideChar* StrAllocW(Cardinal Size) {
    return WStrAlloc(Size);
}
inline Cardinal StrBufSizeW(const WideChar* Str) {
    return WStrBufSize(Str);
}
inline WideChar* StrNewW(const WideChar* Str) {
    return WStrNew(Str);
}
inline void StrDisposeW(WideChar* Str) {
    WStrDispose(Str);
}
inline WideChar* StrMoveW(WideChar* Dest, const WideChar* Source, Cardinal Count) {
    return WStrMove(Dest, Source, Count);
}
inline Cardinal StrLenW(const WideChar* Str) {
    return WStrLen(Str);
}
inline WideChar* StrEndW(const WideChar* Str) {
    return WStrEnd(Str);
}
inline WideChar* StrCopyW(WideChar* Dest, const WideChar* Source) {
    return WStrCopy(Dest, Source);
}
inline WideChar* StrLCopyW(WideChar* Dest, const WideChar* Source, Cardinal MaxLen) {
    return WStrLCopy(Dest, Source, MaxLen);
}
inline WideChar* StrECopyW(WideChar* Dest, const WideChar* Source) {
    return WStrECopy(Dest, Source);
}
inline WideChar* StrPCopyW(WideChar* Dest, const AnsiString& Source) {
    return WStrPCopy(Dest, Source);
}
inline WideChar* StrPLCopyW(WideChar* Dest, const AnsiString& Source, Cardinal MaxLen) {
    return WStrPLCopy(Dest, Source, MaxLen);
}
inline WideChar* StrCatW(WideChar* Dest, const WideChar* Source) {
    return WStrCat(Dest, Source);
}
inline WideChar* StrLCatW(WideChar* Dest, const WideChar* Source, Cardinal MaxLen) {
    return WStrLCat(Dest, Source, MaxLen);
}
inline Integer StrCompW(const WideChar* Str1, const WideChar* Str2) {
    return WStrComp(Str1, Str2);
}
inline Integer StrICompW(const WideChar* Str1, const WideChar* Str2) {
    return WStrIComp(Str1, Str2);
}
inline Integer StrLCompW(const WideChar* Str1, const WideChar* Str2, Cardinal MaxLen) {
    return WStrLComp(Str1, Str2, MaxLen);
}
inline Integer StrLICompW(const WideChar* Str1, const WideChar* Str2, Cardinal MaxLen) {
    return WStrLIComp(Str1, Str2, MaxLen);
}
inline WideChar* StrLowerW(WideChar* Str) {
    return WStrLower(Str);
}
inline WideChar* StrUpperW(WideChar* Str) {
    return WStrUpper(Str);
}
inline WideChar* StrPosW(const WideChar* Str1, const WideChar* Str2) {
    return WStrPos(Str1, Str2);
}
inline WideChar* StrScanW(const WideChar* Str, WideChar Chr) {
    return WideStrScan(Str, Chr);
}
inline WideChar* StrRScanW(const WideChar* Str, WideChar Chr) {
    return WStrRScan(Str, Chr);
}
inline WideString StrPasW(const WideChar* Str) {
    return WStrPas(Str);
}
