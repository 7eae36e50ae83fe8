// The X keyboard's keys as the window system's virtual-key codes: named keys
// by their keysym, letters and digits by what the layout puts on them (so
// the key typing "A" is VK_A on every layout), the keypad by its Num Lock
// meaning, and any other key by its place on the keyboard.
#pragma once

#include "platform/win/WinTypes.h"

struct VirtualKey {
    UINT code = 0;
    // The keys the enhanced keyboard added (arrows, the block above them,
    // right Ctrl and Alt, keypad Enter and divide) carry the extended flag.
    bool extended = false;
    // AltGr goes down and up together with the left Ctrl, as on the Windows
    // layouts that have it, so that the program sees Ctrl+Alt and not a
    // menu key.
    bool withControl = false;
};

// `keysym` is the key's meaning with the modifiers held, `baseKeysym` its
// meaning without them, `hardwareCode` the X key code.
VirtualKey VirtualKeyOf(unsigned keysym, unsigned baseKeysym, unsigned hardwareCode);
