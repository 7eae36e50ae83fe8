// The global atom table: case-insensitive names shared through 16-bit
// numbers. String atoms count from 0xC000 and are reference counted; smaller
// numbers are integer atoms, written "#<number>" or passed with MAKEINTATOM.
#pragma once

#include "platform/win/WinTypes.h"

constexpr ATOM MAXINTATOM = 0xC000;

// An integer atom given where a name is expected: it converts to either kind
// of name pointer, whose value (below 0x10000) carries the number.
struct IntegerAtomName {
    WORD atom;
    operator LPCSTR() const { return reinterpret_cast<LPCSTR>(static_cast<UINT_PTR>(atom)); }
    operator LPCWSTR() const { return reinterpret_cast<LPCWSTR>(static_cast<UINT_PTR>(atom)); }
};
constexpr IntegerAtomName MAKEINTATOM(WORD atom) {
    return {atom};
}
// Whether a name pointer carries an integer rather than the address of a text.
bool IsIntegerAtomName(const void* name);

// Adds a reference to the name's atom, creating it when new. Names are at most
// 255 characters; 0 with ERROR_INVALID_PARAMETER for a longer or empty name
// and for an integer outside 1..0xBFFF.
ATOM GlobalAddAtomA(LPCSTR name);
ATOM GlobalAddAtomW(LPCWSTR name);
// Drops one reference; the atom goes with its last one. 0 on success (always
// for integer atoms), the atom itself with ERROR_INVALID_HANDLE when unknown.
ATOM GlobalDeleteAtom(ATOM atom);
// The atom of a name without adding a reference; 0 with ERROR_FILE_NOT_FOUND.
ATOM GlobalFindAtomA(LPCSTR name);
ATOM GlobalFindAtomW(LPCWSTR name);
// Copies the name (or "#<number>" for an integer atom), cut to size - 1
// characters, with its terminator; returns the characters copied, 0 on failure.
UINT GlobalGetAtomNameA(ATOM atom, LPSTR buffer, int size);
UINT GlobalGetAtomNameW(ATOM atom, LPWSTR buffer, int size);
