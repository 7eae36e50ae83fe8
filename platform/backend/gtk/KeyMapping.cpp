// Keysyms to virtual-key codes. The keysym numbers come from GDK's list,
// which is plain constants and so mixes with the window system's headers.
#include "platform/backend/gtk/KeyMapping.h"

#include "platform/win/Keyboard.h"
#include "platform/win/WinUser.h"

#include <gdk/gdkkeysyms.h>

#include <array>

namespace {

struct NamedKey {
    unsigned keysym;
    UINT code;
    bool extended;
    bool withControl = false;
};

constexpr std::array namedKeys{
    NamedKey{GDK_KEY_BackSpace, VK_BACK, false},
    NamedKey{GDK_KEY_Tab, VK_TAB, false},
    NamedKey{GDK_KEY_ISO_Left_Tab, VK_TAB, false},
    NamedKey{GDK_KEY_Return, VK_RETURN, false},
    NamedKey{GDK_KEY_Escape, VK_ESCAPE, false},
    NamedKey{GDK_KEY_space, VK_SPACE, false},
    NamedKey{GDK_KEY_Pause, VK_PAUSE, false},
    NamedKey{GDK_KEY_Print, VK_SNAPSHOT, true},
    NamedKey{GDK_KEY_Scroll_Lock, VK_SCROLL, false},
    NamedKey{GDK_KEY_Num_Lock, VK_NUMLOCK, true},
    NamedKey{GDK_KEY_Caps_Lock, VK_CAPITAL, false},
    NamedKey{GDK_KEY_Insert, VK_INSERT, true},
    NamedKey{GDK_KEY_Delete, VK_DELETE, true},
    NamedKey{GDK_KEY_Home, VK_HOME, true},
    NamedKey{GDK_KEY_End, VK_END, true},
    NamedKey{GDK_KEY_Page_Up, VK_PRIOR, true},
    NamedKey{GDK_KEY_Page_Down, VK_NEXT, true},
    NamedKey{GDK_KEY_Left, VK_LEFT, true},
    NamedKey{GDK_KEY_Up, VK_UP, true},
    NamedKey{GDK_KEY_Right, VK_RIGHT, true},
    NamedKey{GDK_KEY_Down, VK_DOWN, true},
    NamedKey{GDK_KEY_Shift_L, VK_LSHIFT, false},
    NamedKey{GDK_KEY_Shift_R, VK_RSHIFT, false},
    NamedKey{GDK_KEY_Control_L, VK_LCONTROL, false},
    NamedKey{GDK_KEY_Control_R, VK_RCONTROL, true},
    NamedKey{GDK_KEY_Alt_L, VK_LMENU, false},
    NamedKey{GDK_KEY_Alt_R, VK_RMENU, true},
    NamedKey{GDK_KEY_Meta_L, VK_LMENU, false},
    NamedKey{GDK_KEY_ISO_Level3_Shift, VK_RMENU, true, true},
    NamedKey{GDK_KEY_Super_L, VK_LWIN, true},
    NamedKey{GDK_KEY_Super_R, VK_RWIN, true},
    NamedKey{GDK_KEY_Menu, VK_APPS, true},
    NamedKey{GDK_KEY_minus, VK_OEM_MINUS, false},
    NamedKey{GDK_KEY_equal, VK_OEM_PLUS, false},
    NamedKey{GDK_KEY_bracketleft, VK_OEM_4, false},
    NamedKey{GDK_KEY_bracketright, VK_OEM_6, false},
    NamedKey{GDK_KEY_backslash, VK_OEM_5, false},
    NamedKey{GDK_KEY_semicolon, VK_OEM_1, false},
    NamedKey{GDK_KEY_apostrophe, VK_OEM_7, false},
    NamedKey{GDK_KEY_grave, VK_OEM_3, false},
    NamedKey{GDK_KEY_comma, VK_OEM_COMMA, false},
    NamedKey{GDK_KEY_period, VK_OEM_PERIOD, false},
    NamedKey{GDK_KEY_slash, VK_OEM_2, false},
    NamedKey{GDK_KEY_less, VK_OEM_102, false},
    NamedKey{GDK_KEY_KP_Enter, VK_RETURN, true},
    NamedKey{GDK_KEY_KP_Divide, VK_DIVIDE, true},
    NamedKey{GDK_KEY_KP_Multiply, VK_MULTIPLY, false},
    NamedKey{GDK_KEY_KP_Subtract, VK_SUBTRACT, false},
    NamedKey{GDK_KEY_KP_Add, VK_ADD, false},
    NamedKey{GDK_KEY_KP_Separator, VK_SEPARATOR, false},
    NamedKey{GDK_KEY_KP_Decimal, VK_DECIMAL, false},
    NamedKey{GDK_KEY_KP_Delete, VK_DELETE, false},
    NamedKey{GDK_KEY_KP_Insert, VK_INSERT, false},
    NamedKey{GDK_KEY_KP_Home, VK_HOME, false},
    NamedKey{GDK_KEY_KP_End, VK_END, false},
    NamedKey{GDK_KEY_KP_Page_Up, VK_PRIOR, false},
    NamedKey{GDK_KEY_KP_Page_Down, VK_NEXT, false},
    NamedKey{GDK_KEY_KP_Left, VK_LEFT, false},
    NamedKey{GDK_KEY_KP_Up, VK_UP, false},
    NamedKey{GDK_KEY_KP_Right, VK_RIGHT, false},
    NamedKey{GDK_KEY_KP_Down, VK_DOWN, false},
    NamedKey{GDK_KEY_KP_Begin, VK_CLEAR, false},
};

// X servers number their keys as the kernel does, plus 8; the kernel's
// numbers are the PC keyboard's scan codes for the main block.
constexpr unsigned evdevOffset = 8;

bool isKeypad(unsigned keysym) {
    return keysym >= GDK_KEY_KP_Space && keysym <= GDK_KEY_KP_Equal;
}

UINT letterOrDigit(unsigned keysym) {
    if (keysym >= GDK_KEY_a && keysym <= GDK_KEY_z) return 'A' + (keysym - GDK_KEY_a);
    if (keysym >= GDK_KEY_A && keysym <= GDK_KEY_Z) return 'A' + (keysym - GDK_KEY_A);
    if (keysym >= GDK_KEY_0 && keysym <= GDK_KEY_9) return '0' + (keysym - GDK_KEY_0);
    if (keysym >= GDK_KEY_KP_0 && keysym <= GDK_KEY_KP_9) return VK_NUMPAD0 + (keysym - GDK_KEY_KP_0);
    if (keysym >= GDK_KEY_F1 && keysym <= GDK_KEY_F24) return VK_F1 + (keysym - GDK_KEY_F1);
    return 0;
}

} // namespace

VirtualKey VirtualKeyOf(unsigned keysym, unsigned baseKeysym, unsigned hardwareCode) {
    unsigned meaning = isKeypad(keysym) ? keysym : baseKeysym;
    if (UINT code = letterOrDigit(meaning)) return {code, false};
    for (const NamedKey& named : namedKeys)
        if (named.keysym == meaning) return {named.code, named.extended, named.withControl};
    if (hardwareCode <= evdevOffset) return {};
    return {MapVirtualKeyW(hardwareCode - evdevOffset, MAPVK_VSC_TO_VK), false};
}
