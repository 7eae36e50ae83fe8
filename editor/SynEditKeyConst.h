// Virtual-key codes and the keyboard and mouse input types the editor
// receives: key codes are the operating system's, shift states and events
// are the control framework's.
#pragma once

#include "editor/SynEditTypes.h"
#include "platform/core/System.h"

constexpr Word VK_LBUTTON = 0x01;
constexpr Word VK_RBUTTON = 0x02;
constexpr Word VK_CANCEL = 0x03;
constexpr Word VK_MBUTTON = 0x04;
constexpr Word VK_BACK = 0x08;
constexpr Word VK_TAB = 0x09;
constexpr Word VK_CLEAR = 0x0C;
constexpr Word VK_RETURN = 0x0D;
constexpr Word VK_SHIFT = 0x10;
constexpr Word VK_CONTROL = 0x11;
constexpr Word VK_MENU = 0x12;
constexpr Word VK_PAUSE = 0x13;
constexpr Word VK_CAPITAL = 0x14;
constexpr Word VK_KANA = 0x15;
constexpr Word VK_JUNJA = 0x17;
constexpr Word VK_FINAL = 0x18;
constexpr Word VK_KANJI = 0x19;
constexpr Word VK_ESCAPE = 0x1B;
constexpr Word VK_CONVERT = 0x1C;
constexpr Word VK_NONCONVERT = 0x1D;
constexpr Word VK_ACCEPT = 0x1E;
constexpr Word VK_MODECHANGE = 0x1F;
constexpr Word VK_SPACE = 0x20;
constexpr Word VK_PRIOR = 0x21;
constexpr Word VK_NEXT = 0x22;
constexpr Word VK_END = 0x23;
constexpr Word VK_HOME = 0x24;
constexpr Word VK_LEFT = 0x25;
constexpr Word VK_UP = 0x26;
constexpr Word VK_RIGHT = 0x27;
constexpr Word VK_DOWN = 0x28;
constexpr Word VK_SELECT = 0x29;
constexpr Word VK_PRINT = 0x2A;
constexpr Word VK_EXECUTE = 0x2B;
constexpr Word VK_SNAPSHOT = 0x2C;
constexpr Word VK_INSERT = 0x2D;
constexpr Word VK_DELETE = 0x2E;
constexpr Word VK_HELP = 0x2F;
// The digit and letter keys are their upper-case ASCII codes, '0'..'9' and 'A'..'Z'.
constexpr Word VK_LWIN = 0x5B;
constexpr Word VK_RWIN = 0x5C;
constexpr Word VK_APPS = 0x5D;
constexpr Word VK_NUMPAD0 = 0x60;
constexpr Word VK_NUMPAD1 = 0x61;
constexpr Word VK_NUMPAD2 = 0x62;
constexpr Word VK_NUMPAD3 = 0x63;
constexpr Word VK_NUMPAD4 = 0x64;
constexpr Word VK_NUMPAD5 = 0x65;
constexpr Word VK_NUMPAD6 = 0x66;
constexpr Word VK_NUMPAD7 = 0x67;
constexpr Word VK_NUMPAD8 = 0x68;
constexpr Word VK_NUMPAD9 = 0x69;
constexpr Word VK_MULTIPLY = 0x6A;
constexpr Word VK_ADD = 0x6B;
constexpr Word VK_SEPARATOR = 0x6C;
constexpr Word VK_SUBTRACT = 0x6D;
constexpr Word VK_DECIMAL = 0x6E;
constexpr Word VK_DIVIDE = 0x6F;
constexpr Word VK_F1 = 0x70;
constexpr Word VK_F2 = 0x71;
constexpr Word VK_F3 = 0x72;
constexpr Word VK_F4 = 0x73;
constexpr Word VK_F5 = 0x74;
constexpr Word VK_F6 = 0x75;
constexpr Word VK_F7 = 0x76;
constexpr Word VK_F8 = 0x77;
constexpr Word VK_F9 = 0x78;
constexpr Word VK_F10 = 0x79;
constexpr Word VK_F11 = 0x7A;
constexpr Word VK_F12 = 0x7B;
constexpr Word VK_F13 = 0x7C;
constexpr Word VK_F14 = 0x7D;
constexpr Word VK_F15 = 0x7E;
constexpr Word VK_F16 = 0x7F;
constexpr Word VK_F17 = 0x80;
constexpr Word VK_F18 = 0x81;
constexpr Word VK_F19 = 0x82;
constexpr Word VK_F20 = 0x83;
constexpr Word VK_F21 = 0x84;
constexpr Word VK_F22 = 0x85;
constexpr Word VK_F23 = 0x86;
constexpr Word VK_F24 = 0x87;
constexpr Word VK_NUMLOCK = 0x90;
constexpr Word VK_SCROLL = 0x91;

// Modifier keys and mouse buttons held during an input event; the ordinals
// are the bit positions of the 8-bit set.
enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSynSet<TShiftStateItem>;

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// A mouse-cursor shape; 0 is the control's default cursor.
using TCursor = SmallInt;
constexpr TCursor crDefault = 0;

using TKeyEvent = Closure<void(TObject* Sender, Word& Key, TShiftState Shift)>;
using TKeyPressEvent = Closure<void(TObject* Sender, char& Key)>;
using TMouseEvent =
    Closure<void(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y)>;
