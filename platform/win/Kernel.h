// Kernel calls of the process: the error mode and the locale's string
// comparison.
#pragma once

#include "platform/win/WinTypes.h"

constexpr UINT SEM_FAILCRITICALERRORS = 0x0001;
constexpr UINT SEM_NOGPFAULTERRORBOX = 0x0002;
constexpr UINT SEM_NOALIGNMENTFAULTEXCEPT = 0x0004;
constexpr UINT SEM_NOOPENFILEERRORBOX = 0x8000;

// Kept and returned by the next call; no system dialog is ever shown here,
// so the mode changes nothing.
UINT SetErrorMode(UINT mode);

// The user locale's comparison (as CompareString): <0, 0 or >0. A null
// string sorts before every other, two null strings are equal.
int lstrcmpW(LPCWSTR string1, LPCWSTR string2);
int lstrcmpiW(LPCWSTR string1, LPCWSTR string2);
