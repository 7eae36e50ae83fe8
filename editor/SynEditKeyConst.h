// Virtual-key codes and the keyboard and mouse input types the editor
// receives: key codes are the operating system's, shift states and events
// are the control framework's.
#pragma once

#include "editor/SynEditTypes.h"
#include "platform/core/System.h"
#include "platform/vcl/Controls.h"
#include "platform/win/WinUser.h"

// The operating system's key codes come from its header; these are the ones it leaves out.

constexpr Word VK_KANA = 0x15;
constexpr Word VK_JUNJA = 0x17;
constexpr Word VK_FINAL = 0x18;
constexpr Word VK_KANJI = 0x19;
constexpr Word VK_CONVERT = 0x1C;
constexpr Word VK_NONCONVERT = 0x1D;
constexpr Word VK_ACCEPT = 0x1E;
constexpr Word VK_MODECHANGE = 0x1F;
// The digit and letter keys are their upper-case ASCII codes, '0'..'9' and 'A'..'Z'.
constexpr Word VK_NUMPAD1 = 0x61;
constexpr Word VK_NUMPAD2 = 0x62;
constexpr Word VK_NUMPAD3 = 0x63;
constexpr Word VK_NUMPAD4 = 0x64;
constexpr Word VK_NUMPAD5 = 0x65;
constexpr Word VK_NUMPAD6 = 0x66;
constexpr Word VK_NUMPAD7 = 0x67;
constexpr Word VK_NUMPAD8 = 0x68;
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
