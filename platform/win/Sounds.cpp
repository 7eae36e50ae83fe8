// Sounds without a sound device.
#include "platform/win/Sounds.h"

BOOL sndPlaySoundA(LPCSTR, UINT) {
    return FALSE;
}

BOOL sndPlaySoundW(LPCWSTR, UINT) {
    return FALSE;
}
