// Keys of the X keyboard as virtual keys, and the URIs the web view loads.
#include "platform/backend/gtk/KeyMapping.h"
#include "platform/backend/gtk/GtkWebView.h"
#include "platform/win/WinUser.h"

#include <gdk/gdkkeysyms.h>
#include <gtest/gtest.h>

namespace {

// X key codes of the United States layout's keys (evdev numbering plus 8).
constexpr unsigned keyQ = 24, keySemicolon = 47, key7 = 16, keypad7 = 79, keyAltGr = 108;

struct KeyCase {
    const char* what;
    unsigned keysym;
    unsigned baseKeysym;
    unsigned hardwareCode;
    UINT code;
    bool extended;
    bool withControl;
};

TEST(KeyMapping, KeysBecomeTheVirtualKeysOfTheirMeaningOrPlace) {
    const KeyCase cases[] = {
        {"a letter typed with Shift", GDK_KEY_Q, GDK_KEY_q, keyQ, 'Q', false, false},
        {"the A of an AZERTY layout, where Q is on a US keyboard", GDK_KEY_a, GDK_KEY_a, keyQ, 'A', false,
         false},
        {"a digit under Shift is still the digit key", GDK_KEY_ampersand, GDK_KEY_7, key7, '7', false, false},
        {"the keypad with Num Lock on", GDK_KEY_KP_7, GDK_KEY_KP_Home, keypad7, VK_NUMPAD0 + 7, false, false},
        {"the keypad with Num Lock off", GDK_KEY_KP_Home, GDK_KEY_KP_Home, keypad7, VK_HOME, false, false},
        {"the arrow block is extended", GDK_KEY_Left, GDK_KEY_Left, 113, VK_LEFT, true, false},
        {"Shift+Tab", GDK_KEY_ISO_Left_Tab, GDK_KEY_Tab, 23, VK_TAB, false, false},
        {"AltGr comes with Ctrl", GDK_KEY_ISO_Level3_Shift, GDK_KEY_ISO_Level3_Shift, keyAltGr, VK_RMENU,
         true, true},
        {"right Alt of a US layout", GDK_KEY_Alt_R, GDK_KEY_Alt_R, keyAltGr, VK_RMENU, true, false},
        {"a national letter goes by its place", GDK_KEY_odiaeresis, GDK_KEY_odiaeresis, keySemicolon,
         VK_OEM_1, false, false},
        {"F12", GDK_KEY_F12, GDK_KEY_F12, 96, VK_F12, false, false},
        {"an unknown key nowhere", 0x1234567, 0x1234567, 0, 0, false, false},
    };
    for (const KeyCase& key : cases) {
        VirtualKey mapped = VirtualKeyOf(key.keysym, key.baseKeysym, key.hardwareCode);
        EXPECT_EQ(mapped.code, key.code) << key.what;
        EXPECT_EQ(mapped.extended, key.extended) << key.what;
        EXPECT_EQ(mapped.withControl, key.withControl) << key.what;
    }
}

} // namespace
