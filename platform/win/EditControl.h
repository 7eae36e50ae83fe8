// The system's EDIT control class: single-line and multi-line text fields
// painted in the classic look, with the caret, selection by mouse and keys,
// clipboard and one-step undo, word wrap, the ES_ styles, the EM_ messages and
// the EN_ notifications its parent receives through WM_COMMAND. The text is
// kept as UTF-16; ANSI callers get it converted by the message layer.
#pragma once

#include "platform/win/WinUser.h"

#include <functional>
#include <optional>

// ---- Edit control styles ------------------------------------------------------

constexpr DWORD ES_LEFT = 0x0000;
constexpr DWORD ES_CENTER = 0x0001;
constexpr DWORD ES_RIGHT = 0x0002;
constexpr DWORD ES_MULTILINE = 0x0004;
constexpr DWORD ES_UPPERCASE = 0x0008;
constexpr DWORD ES_LOWERCASE = 0x0010;
constexpr DWORD ES_PASSWORD = 0x0020;
constexpr DWORD ES_AUTOVSCROLL = 0x0040;
constexpr DWORD ES_AUTOHSCROLL = 0x0080;
constexpr DWORD ES_NOHIDESEL = 0x0100;
constexpr DWORD ES_OEMCONVERT = 0x0400;
constexpr DWORD ES_READONLY = 0x0800;
constexpr DWORD ES_WANTRETURN = 0x1000;
constexpr DWORD ES_NUMBER = 0x2000;

// ---- Notifications (the high word of WM_COMMAND's wParam) -----------------------

constexpr WORD EN_SETFOCUS = 0x0100;
constexpr WORD EN_KILLFOCUS = 0x0200;
constexpr WORD EN_CHANGE = 0x0300;
constexpr WORD EN_UPDATE = 0x0400;
constexpr WORD EN_ERRSPACE = 0x0500;
constexpr WORD EN_MAXTEXT = 0x0501;
constexpr WORD EN_HSCROLL = 0x0601;
constexpr WORD EN_VSCROLL = 0x0602;

// ---- Message arguments --------------------------------------------------------

constexpr UINT EM_SETLIMITTEXT = EM_LIMITTEXT;
// EM_SETMARGINS: which margins to set, or margins suited to the font.
constexpr WPARAM EC_LEFTMARGIN = 0x0001;
constexpr WPARAM EC_RIGHTMARGIN = 0x0002;
constexpr WPARAM EC_USEFONTINFO = 0xFFFF;

// The class name, as Windows spells it.
constexpr const WCHAR* EditClassName = u"Edit";

// Registers the class once per process; later calls do nothing.
void RegisterEditControlClass();

// For the controls built on this class (the rich edit): the window paints its
// background in its own colour (the system's window colour when none) and
// its text in the window text colour, instead of asking its parent with
// WM_CTLCOLOREDIT; and it shows or hides its selection whatever the focus.
void PaintEditBackgroundItself(HWND edit, std::optional<COLORREF> colour);
void ShowEditSelection(HWND edit, bool shown);
// Notifications for which `wanted` answers false are not sent to the parent.
void FilterEditNotifications(HWND edit, std::function<bool(WORD code)> wanted);
