// Sounds. There is no sound device here: every sound fails to play.
#pragma once

#include "platform/win/WinTypes.h"

constexpr UINT SND_SYNC = 0x0000;
constexpr UINT SND_ASYNC = 0x0001;
constexpr UINT SND_NODEFAULT = 0x0002;
constexpr UINT SND_MEMORY = 0x0004;
constexpr UINT SND_LOOP = 0x0008;
constexpr UINT SND_NOSTOP = 0x0010;

// Plays nothing and returns FALSE, as Windows does without a sound device.
BOOL sndPlaySoundA(LPCSTR sound, UINT flags);
BOOL sndPlaySoundW(LPCWSTR sound, UINT flags);
