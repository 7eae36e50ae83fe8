// The window manager's types, structures and constants with their Windows
// names and values: messages, styles, window and class slots, input codes,
// painting, scroll bars, hooks, message boxes and the input method. The calls
// that use them are declared by the window units (Windows.h, Messages.h, ...).
#pragma once

#include "platform/win/LastError.h"
#include "platform/win/WinTypes.h"

#include <functional>

// ---- Handles and callbacks --------------------------------------------------

struct HINSTANCE__;
using HINSTANCE = HINSTANCE__*;
using HMODULE = HINSTANCE;
struct HMENU__;
using HMENU = HMENU__*;
struct HHOOK__;
using HHOOK = HHOOK__*;
struct HDROP__;
using HDROP = HDROP__*;
struct HIMC__;
using HIMC = HIMC__*;

// A window procedure is a comparable token rather than a code address: a plain
// function and a bound object method (WindowProcedures.h) are both tokens, so
// that subclassing needs no executable stubs. Tokens pass through the LONG_PTR
// slots of GetWindowLongPtr and GetClassLongPtr unchanged.
struct WindowProcedure;
using WNDPROC = WindowProcedure*;
using WindowProcFunction = LRESULT (*)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
using WindowProcMethod = std::function<LRESULT(HWND window, UINT message, WPARAM wParam, LPARAM lParam)>;

using HOOKPROC = LRESULT (*)(int code, WPARAM wParam, LPARAM lParam);
using TIMERPROC = void (*)(HWND window, UINT message, UINT_PTR id, DWORD time);
using WNDENUMPROC = BOOL (*)(HWND window, LPARAM lParam);
using LPINT = int*;
using LPDWORD = DWORD*;

// ---- Word packing -----------------------------------------------------------

constexpr WORD LOWORD(UINT_PTR value) {
    return static_cast<WORD>(value & 0xFFFF);
}
constexpr WORD HIWORD(UINT_PTR value) {
    return static_cast<WORD>((value >> 16) & 0xFFFF);
}
constexpr BYTE LOBYTE(UINT_PTR value) {
    return static_cast<BYTE>(value & 0xFF);
}
constexpr DWORD MAKELONG(WORD low, WORD high) {
    return static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16);
}
constexpr WPARAM MAKEWPARAM(WORD low, WORD high) {
    return MAKELONG(low, high);
}
constexpr LPARAM MAKELPARAM(WORD low, WORD high) {
    return static_cast<LPARAM>(MAKELONG(low, high));
}
constexpr int GET_X_LPARAM(LPARAM value) {
    return static_cast<SHORT>(LOWORD(static_cast<UINT_PTR>(value)));
}
constexpr int GET_Y_LPARAM(LPARAM value) {
    return static_cast<SHORT>(HIWORD(static_cast<UINT_PTR>(value)));
}
constexpr SHORT GET_WHEEL_DELTA_WPARAM(WPARAM value) {
    return static_cast<SHORT>(HIWORD(value));
}
constexpr WORD GET_KEYSTATE_WPARAM(WPARAM value) {
    return LOWORD(value);
}

// Integer resource names travel in name pointers, as below 0x10000 values.
inline LPCSTR MAKEINTRESOURCEA(WORD id) {
    return reinterpret_cast<LPCSTR>(static_cast<UINT_PTR>(id));
}
inline LPCWSTR MAKEINTRESOURCEW(WORD id) {
    return reinterpret_cast<LPCWSTR>(static_cast<UINT_PTR>(id));
}
inline bool IS_INTRESOURCE(const void* name) {
    return reinterpret_cast<UINT_PTR>(name) <= 0xFFFF;
}

// ---- Error codes of the window manager --------------------------------------

constexpr DWORD ERROR_INVALID_WINDOW_HANDLE = 1400;
constexpr DWORD ERROR_INVALID_MENU_HANDLE = 1401;
constexpr DWORD ERROR_INVALID_CURSOR_HANDLE = 1402;
constexpr DWORD ERROR_CANNOT_FIND_WND_CLASS = 1407;
constexpr DWORD ERROR_WINDOW_OF_OTHER_THREAD = 1408;
constexpr DWORD ERROR_CLASS_ALREADY_EXISTS = 1410;
constexpr DWORD ERROR_CLASS_DOES_NOT_EXIST = 1411;
constexpr DWORD ERROR_CLASS_HAS_WINDOWS = 1412;
constexpr DWORD ERROR_INVALID_INDEX = 1413;
constexpr DWORD ERROR_NO_SCROLLBARS = 1447;
constexpr DWORD ERROR_INVALID_HOOK_HANDLE = 1404;
constexpr DWORD ERROR_INVALID_HOOK_FILTER = 1426;
constexpr DWORD ERROR_INVALID_THREAD_ID = 1444;
constexpr DWORD ERROR_MESSAGE_SYNC_ONLY = 1159;
constexpr DWORD ERROR_NOT_ENOUGH_QUOTA = 1816;
constexpr DWORD ERROR_INVALID_SHOWWIN_COMMAND = 1449;

// ---- Messages ---------------------------------------------------------------

constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_MOVE = 0x0003;
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_ACTIVATE = 0x0006;
constexpr UINT WM_SETFOCUS = 0x0007;
constexpr UINT WM_KILLFOCUS = 0x0008;
constexpr UINT WM_ENABLE = 0x000A;
constexpr UINT WM_SETREDRAW = 0x000B;
constexpr UINT WM_SETTEXT = 0x000C;
constexpr UINT WM_GETTEXT = 0x000D;
constexpr UINT WM_GETTEXTLENGTH = 0x000E;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUERYENDSESSION = 0x0011;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_QUERYOPEN = 0x0013;
constexpr UINT WM_ERASEBKGND = 0x0014;
constexpr UINT WM_SYSCOLORCHANGE = 0x0015;
constexpr UINT WM_ENDSESSION = 0x0016;
constexpr UINT WM_SHOWWINDOW = 0x0018;
constexpr UINT WM_WININICHANGE = 0x001A;
constexpr UINT WM_SETTINGCHANGE = WM_WININICHANGE;
constexpr UINT WM_ACTIVATEAPP = 0x001C;
constexpr UINT WM_FONTCHANGE = 0x001D;
constexpr UINT WM_CANCELMODE = 0x001F;
constexpr UINT WM_SETCURSOR = 0x0020;
constexpr UINT WM_MOUSEACTIVATE = 0x0021;
constexpr UINT WM_CHILDACTIVATE = 0x0022;
constexpr UINT WM_GETMINMAXINFO = 0x0024;
constexpr UINT WM_NEXTDLGCTL = 0x0028;
constexpr UINT WM_DRAWITEM = 0x002B;
constexpr UINT WM_MEASUREITEM = 0x002C;
constexpr UINT WM_DELETEITEM = 0x002D;
constexpr UINT WM_VKEYTOITEM = 0x002E;
constexpr UINT WM_CHARTOITEM = 0x002F;
constexpr UINT WM_SETFONT = 0x0030;
constexpr UINT WM_GETFONT = 0x0031;
constexpr UINT WM_QUERYDRAGICON = 0x0037;
constexpr UINT WM_COMPAREITEM = 0x0039;
constexpr UINT WM_WINDOWPOSCHANGING = 0x0046;
constexpr UINT WM_WINDOWPOSCHANGED = 0x0047;
constexpr UINT WM_COPYDATA = 0x004A;
constexpr UINT WM_NOTIFY = 0x004E;
constexpr UINT WM_INPUTLANGCHANGEREQUEST = 0x0050;
constexpr UINT WM_INPUTLANGCHANGE = 0x0051;
constexpr UINT WM_HELP = 0x0053;
constexpr UINT WM_NOTIFYFORMAT = 0x0055;
constexpr UINT WM_CONTEXTMENU = 0x007B;
constexpr UINT WM_STYLECHANGING = 0x007C;
constexpr UINT WM_STYLECHANGED = 0x007D;
constexpr UINT WM_DISPLAYCHANGE = 0x007E;
constexpr UINT WM_GETICON = 0x007F;
constexpr UINT WM_SETICON = 0x0080;
constexpr UINT WM_NCCREATE = 0x0081;
constexpr UINT WM_NCDESTROY = 0x0082;
constexpr UINT WM_NCCALCSIZE = 0x0083;
constexpr UINT WM_NCHITTEST = 0x0084;
constexpr UINT WM_NCPAINT = 0x0085;
constexpr UINT WM_NCACTIVATE = 0x0086;
constexpr UINT WM_GETDLGCODE = 0x0087;
constexpr UINT WM_NCMOUSEMOVE = 0x00A0;
constexpr UINT WM_NCLBUTTONDOWN = 0x00A1;
constexpr UINT WM_NCLBUTTONUP = 0x00A2;
constexpr UINT WM_NCLBUTTONDBLCLK = 0x00A3;
constexpr UINT WM_NCRBUTTONDOWN = 0x00A4;
constexpr UINT WM_NCRBUTTONUP = 0x00A5;
constexpr UINT WM_NCRBUTTONDBLCLK = 0x00A6;
constexpr UINT WM_NCMBUTTONDOWN = 0x00A7;
constexpr UINT WM_NCMBUTTONUP = 0x00A8;
constexpr UINT WM_NCMBUTTONDBLCLK = 0x00A9;

constexpr UINT WM_KEYFIRST = 0x0100;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_CHAR = 0x0102;
constexpr UINT WM_DEADCHAR = 0x0103;
constexpr UINT WM_SYSKEYDOWN = 0x0104;
constexpr UINT WM_SYSKEYUP = 0x0105;
constexpr UINT WM_SYSCHAR = 0x0106;
constexpr UINT WM_SYSDEADCHAR = 0x0107;
constexpr UINT WM_KEYLAST = 0x0108;
constexpr UINT WM_IME_STARTCOMPOSITION = 0x010D;
constexpr UINT WM_IME_ENDCOMPOSITION = 0x010E;
constexpr UINT WM_IME_COMPOSITION = 0x010F;
constexpr UINT WM_IME_KEYLAST = 0x010F;
constexpr UINT WM_INITDIALOG = 0x0110;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_SYSCOMMAND = 0x0112;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_HSCROLL = 0x0114;
constexpr UINT WM_VSCROLL = 0x0115;
constexpr UINT WM_INITMENU = 0x0116;
constexpr UINT WM_INITMENUPOPUP = 0x0117;
constexpr UINT WM_MENUSELECT = 0x011F;
constexpr UINT WM_MENUCHAR = 0x0120;
constexpr UINT WM_ENTERIDLE = 0x0121;
constexpr UINT WM_CTLCOLORMSGBOX = 0x0132;
constexpr UINT WM_CTLCOLOREDIT = 0x0133;
constexpr UINT WM_CTLCOLORLISTBOX = 0x0134;
constexpr UINT WM_CTLCOLORBTN = 0x0135;
constexpr UINT WM_CTLCOLORDLG = 0x0136;
constexpr UINT WM_CTLCOLORSCROLLBAR = 0x0137;
constexpr UINT WM_CTLCOLORSTATIC = 0x0138;

constexpr UINT WM_MOUSEFIRST = 0x0200;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_RBUTTONDBLCLK = 0x0206;
constexpr UINT WM_MBUTTONDOWN = 0x0207;
constexpr UINT WM_MBUTTONUP = 0x0208;
constexpr UINT WM_MBUTTONDBLCLK = 0x0209;
constexpr UINT WM_MOUSEWHEEL = 0x020A;
constexpr UINT WM_MOUSELAST = 0x020A;
constexpr UINT WM_PARENTNOTIFY = 0x0210;
constexpr UINT WM_ENTERMENULOOP = 0x0211;
constexpr UINT WM_EXITMENULOOP = 0x0212;
constexpr UINT WM_SIZING = 0x0214;
constexpr UINT WM_CAPTURECHANGED = 0x0215;
constexpr UINT WM_MOVING = 0x0216;
constexpr UINT WM_ENTERSIZEMOVE = 0x0231;
constexpr UINT WM_EXITSIZEMOVE = 0x0232;
constexpr UINT WM_DROPFILES = 0x0233;
constexpr UINT WM_IME_SETCONTEXT = 0x0281;
constexpr UINT WM_IME_NOTIFY = 0x0282;
constexpr UINT WM_IME_CONTROL = 0x0283;
constexpr UINT WM_IME_COMPOSITIONFULL = 0x0284;
constexpr UINT WM_IME_SELECT = 0x0285;
constexpr UINT WM_IME_CHAR = 0x0286;
constexpr UINT WM_IME_KEYDOWN = 0x0290;
constexpr UINT WM_IME_KEYUP = 0x0291;
constexpr UINT WM_NCMOUSEHOVER = 0x02A0;
constexpr UINT WM_MOUSEHOVER = 0x02A1;
constexpr UINT WM_NCMOUSELEAVE = 0x02A2;
constexpr UINT WM_MOUSELEAVE = 0x02A3;
constexpr UINT WM_CUT = 0x0300;
constexpr UINT WM_COPY = 0x0301;
constexpr UINT WM_PASTE = 0x0302;
constexpr UINT WM_CLEAR = 0x0303;
constexpr UINT WM_UNDO = 0x0304;
constexpr UINT WM_PRINT = 0x0317;
constexpr UINT WM_PRINTCLIENT = 0x0318;
constexpr UINT WM_USER = 0x0400;
constexpr UINT WM_APP = 0x8000;

// Edit control messages (those that carry text are converted between ANSI and UTF-16).
constexpr UINT EM_GETSEL = 0x00B0;
constexpr UINT EM_SETSEL = 0x00B1;
constexpr UINT EM_GETRECT = 0x00B2;
constexpr UINT EM_SETRECT = 0x00B3;
constexpr UINT EM_SETRECTNP = 0x00B4;
constexpr UINT EM_SCROLL = 0x00B5;
constexpr UINT EM_LINESCROLL = 0x00B6;
constexpr UINT EM_SCROLLCARET = 0x00B7;
constexpr UINT EM_GETMODIFY = 0x00B8;
constexpr UINT EM_SETMODIFY = 0x00B9;
constexpr UINT EM_GETLINECOUNT = 0x00BA;
constexpr UINT EM_LINEINDEX = 0x00BB;
constexpr UINT EM_GETTHUMB = 0x00BE;
constexpr UINT EM_LINELENGTH = 0x00C1;
constexpr UINT EM_REPLACESEL = 0x00C2;
constexpr UINT EM_GETLINE = 0x00C4;
constexpr UINT EM_LIMITTEXT = 0x00C5;
constexpr UINT EM_CANUNDO = 0x00C6;
constexpr UINT EM_UNDO = 0x00C7;
constexpr UINT EM_LINEFROMCHAR = 0x00C9;
constexpr UINT EM_SETTABSTOPS = 0x00CB;
constexpr UINT EM_SETPASSWORDCHAR = 0x00CC;
constexpr UINT EM_EMPTYUNDOBUFFER = 0x00CD;
constexpr UINT EM_GETFIRSTVISIBLELINE = 0x00CE;
constexpr UINT EM_SETREADONLY = 0x00CF;
constexpr UINT EM_GETPASSWORDCHAR = 0x00D2;
constexpr UINT EM_SETMARGINS = 0x00D3;
constexpr UINT EM_GETMARGINS = 0x00D4;
constexpr UINT EM_GETLIMITTEXT = 0x00D5;
constexpr UINT EM_POSFROMCHAR = 0x00D6;
constexpr UINT EM_CHARFROMPOS = 0x00D7;

// Scroll bar control messages.
constexpr UINT SBM_SETPOS = 0x00E0;
constexpr UINT SBM_GETPOS = 0x00E1;
constexpr UINT SBM_SETRANGE = 0x00E2;
constexpr UINT SBM_GETRANGE = 0x00E3;
constexpr UINT SBM_ENABLE_ARROWS = 0x00E4;
constexpr UINT SBM_SETRANGEREDRAW = 0x00E6;
constexpr UINT SBM_SETSCROLLINFO = 0x00E9;
constexpr UINT SBM_GETSCROLLINFO = 0x00EA;

// Combo box messages.
constexpr UINT CB_GETEDITSEL = 0x0140;
constexpr UINT CB_LIMITTEXT = 0x0141;
constexpr UINT CB_SETEDITSEL = 0x0142;
constexpr UINT CB_ADDSTRING = 0x0143;
constexpr UINT CB_DELETESTRING = 0x0144;
constexpr UINT CB_DIR = 0x0145;
constexpr UINT CB_GETCOUNT = 0x0146;
constexpr UINT CB_GETCURSEL = 0x0147;
constexpr UINT CB_GETLBTEXT = 0x0148;
constexpr UINT CB_GETLBTEXTLEN = 0x0149;
constexpr UINT CB_INSERTSTRING = 0x014A;
constexpr UINT CB_RESETCONTENT = 0x014B;
constexpr UINT CB_FINDSTRING = 0x014C;
constexpr UINT CB_SELECTSTRING = 0x014D;
constexpr UINT CB_SETCURSEL = 0x014E;
constexpr UINT CB_SHOWDROPDOWN = 0x014F;
constexpr UINT CB_GETITEMDATA = 0x0150;
constexpr UINT CB_SETITEMDATA = 0x0151;
constexpr UINT CB_GETDROPPEDCONTROLRECT = 0x0152;
constexpr UINT CB_SETITEMHEIGHT = 0x0153;
constexpr UINT CB_GETITEMHEIGHT = 0x0154;
constexpr UINT CB_SETEXTENDEDUI = 0x0155;
constexpr UINT CB_GETEXTENDEDUI = 0x0156;
constexpr UINT CB_GETDROPPEDSTATE = 0x0157;
constexpr UINT CB_FINDSTRINGEXACT = 0x0158;
constexpr UINT CB_GETTOPINDEX = 0x015B;
constexpr UINT CB_SETTOPINDEX = 0x015C;
constexpr UINT CB_GETDROPPEDWIDTH = 0x015F;
constexpr UINT CB_SETDROPPEDWIDTH = 0x0160;

// List box messages.
constexpr UINT LB_ADDSTRING = 0x0180;
constexpr UINT LB_INSERTSTRING = 0x0181;
constexpr UINT LB_DELETESTRING = 0x0182;
constexpr UINT LB_RESETCONTENT = 0x0184;
constexpr UINT LB_SETSEL = 0x0185;
constexpr UINT LB_SETCURSEL = 0x0186;
constexpr UINT LB_GETSEL = 0x0187;
constexpr UINT LB_GETCURSEL = 0x0188;
constexpr UINT LB_GETTEXT = 0x0189;
constexpr UINT LB_GETTEXTLEN = 0x018A;
constexpr UINT LB_GETCOUNT = 0x018B;
constexpr UINT LB_SELECTSTRING = 0x018C;
constexpr UINT LB_DIR = 0x018D;
constexpr UINT LB_GETTOPINDEX = 0x018E;
constexpr UINT LB_FINDSTRING = 0x018F;
constexpr UINT LB_GETSELCOUNT = 0x0190;
constexpr UINT LB_GETSELITEMS = 0x0191;
constexpr UINT LB_SETTABSTOPS = 0x0192;
constexpr UINT LB_GETHORIZONTALEXTENT = 0x0193;
constexpr UINT LB_SETHORIZONTALEXTENT = 0x0194;
constexpr UINT LB_SETCOLUMNWIDTH = 0x0195;
constexpr UINT LB_ADDFILE = 0x0196;
constexpr UINT LB_SETTOPINDEX = 0x0197;
constexpr UINT LB_GETITEMRECT = 0x0198;
constexpr UINT LB_GETITEMDATA = 0x0199;
constexpr UINT LB_SETITEMDATA = 0x019A;
constexpr UINT LB_SELITEMRANGE = 0x019B;
constexpr UINT LB_SETANCHORINDEX = 0x019C;
constexpr UINT LB_GETANCHORINDEX = 0x019D;
constexpr UINT LB_SETCARETINDEX = 0x019E;
constexpr UINT LB_GETCARETINDEX = 0x019F;
constexpr UINT LB_SETITEMHEIGHT = 0x01A0;
constexpr UINT LB_GETITEMHEIGHT = 0x01A1;
constexpr UINT LB_FINDSTRINGEXACT = 0x01A2;
constexpr UINT LB_SETCOUNT = 0x01A7;
constexpr UINT LB_ITEMFROMPOINT = 0x01A9;

// Owner-drawn list and combo boxes hold item data instead of strings, unless
// they also have the HASSTRINGS style.
constexpr DWORD LBS_OWNERDRAWFIXED = 0x0010;
constexpr DWORD LBS_OWNERDRAWVARIABLE = 0x0020;
constexpr DWORD LBS_HASSTRINGS = 0x0040;
constexpr DWORD CBS_OWNERDRAWFIXED = 0x0010;
constexpr DWORD CBS_OWNERDRAWVARIABLE = 0x0020;
constexpr DWORD CBS_HASSTRINGS = 0x0200;

// ---- Window styles ----------------------------------------------------------

constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_MINIMIZE = 0x20000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_CLIPSIBLINGS = 0x04000000;
constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
constexpr DWORD WS_MAXIMIZE = 0x01000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_DLGFRAME = 0x00400000;
constexpr DWORD WS_VSCROLL = 0x00200000;
constexpr DWORD WS_HSCROLL = 0x00100000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_GROUP = 0x00020000;
constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;
constexpr DWORD WS_TILED = WS_OVERLAPPED;
constexpr DWORD WS_ICONIC = WS_MINIMIZE;
constexpr DWORD WS_SIZEBOX = WS_THICKFRAME;
constexpr DWORD WS_OVERLAPPEDWINDOW =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr DWORD WS_POPUPWINDOW = WS_POPUP | WS_BORDER | WS_SYSMENU;
constexpr DWORD WS_CHILDWINDOW = WS_CHILD;

constexpr DWORD WS_EX_DLGMODALFRAME = 0x00000001;
constexpr DWORD WS_EX_NOPARENTNOTIFY = 0x00000004;
constexpr DWORD WS_EX_TOPMOST = 0x00000008;
constexpr DWORD WS_EX_ACCEPTFILES = 0x00000010;
constexpr DWORD WS_EX_TRANSPARENT = 0x00000020;
constexpr DWORD WS_EX_MDICHILD = 0x00000040;
constexpr DWORD WS_EX_TOOLWINDOW = 0x00000080;
constexpr DWORD WS_EX_WINDOWEDGE = 0x00000100;
constexpr DWORD WS_EX_CLIENTEDGE = 0x00000200;
constexpr DWORD WS_EX_CONTEXTHELP = 0x00000400;
constexpr DWORD WS_EX_RIGHT = 0x00001000;
constexpr DWORD WS_EX_RTLREADING = 0x00002000;
constexpr DWORD WS_EX_LEFTSCROLLBAR = 0x00004000;
constexpr DWORD WS_EX_CONTROLPARENT = 0x00010000;
constexpr DWORD WS_EX_STATICEDGE = 0x00020000;
constexpr DWORD WS_EX_APPWINDOW = 0x00040000;
constexpr DWORD WS_EX_LAYERED = 0x00080000;
constexpr DWORD WS_EX_NOINHERITLAYOUT = 0x00100000;
constexpr DWORD WS_EX_LAYOUTRTL = 0x00400000;
constexpr DWORD WS_EX_COMPOSITED = 0x02000000;
constexpr DWORD WS_EX_NOACTIVATE = 0x08000000;
constexpr DWORD WS_EX_OVERLAPPEDWINDOW = WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE;
constexpr DWORD WS_EX_PALETTEWINDOW = WS_EX_WINDOWEDGE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST;

constexpr UINT CS_VREDRAW = 0x0001;
constexpr UINT CS_HREDRAW = 0x0002;
constexpr UINT CS_DBLCLKS = 0x0008;
constexpr UINT CS_OWNDC = 0x0020;
constexpr UINT CS_CLASSDC = 0x0040;
constexpr UINT CS_PARENTDC = 0x0080;
constexpr UINT CS_NOCLOSE = 0x0200;
constexpr UINT CS_SAVEBITS = 0x0800;
constexpr UINT CS_BYTEALIGNCLIENT = 0x1000;
constexpr UINT CS_BYTEALIGNWINDOW = 0x2000;
constexpr UINT CS_GLOBALCLASS = 0x4000;
constexpr UINT CS_DROPSHADOW = 0x00020000;

constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000);

// ---- Window and class slots -------------------------------------------------

constexpr int GWLP_WNDPROC = -4;
constexpr int GWL_WNDPROC = GWLP_WNDPROC;
constexpr int GWLP_HINSTANCE = -6;
constexpr int GWLP_HWNDPARENT = -8;
constexpr int GWLP_ID = -12;
constexpr int GWL_ID = GWLP_ID;
constexpr int GWL_STYLE = -16;
constexpr int GWL_EXSTYLE = -20;
constexpr int GWLP_USERDATA = -21;
constexpr int GWL_USERDATA = GWLP_USERDATA;

constexpr int GCLP_MENUNAME = -8;
constexpr int GCLP_HBRBACKGROUND = -10;
constexpr int GCLP_HCURSOR = -12;
constexpr int GCLP_HICON = -14;
constexpr int GCLP_HMODULE = -16;
constexpr int GCL_CBWNDEXTRA = -18;
constexpr int GCL_CBCLSEXTRA = -20;
constexpr int GCLP_WNDPROC = -24;
constexpr int GCL_STYLE = -26;
constexpr int GCW_ATOM = -32;
constexpr int GCLP_HICONSM = -34;

// ---- Window relations, positions and showing --------------------------------

constexpr UINT GW_HWNDFIRST = 0;
constexpr UINT GW_HWNDLAST = 1;
constexpr UINT GW_HWNDNEXT = 2;
constexpr UINT GW_HWNDPREV = 3;
constexpr UINT GW_OWNER = 4;
constexpr UINT GW_CHILD = 5;
constexpr UINT GW_ENABLEDPOPUP = 6;

constexpr UINT GA_PARENT = 1;
constexpr UINT GA_ROOT = 2;
constexpr UINT GA_ROOTOWNER = 3;

constexpr UINT CWP_ALL = 0x0000;
constexpr UINT CWP_SKIPINVISIBLE = 0x0001;
constexpr UINT CWP_SKIPDISABLED = 0x0002;
constexpr UINT CWP_SKIPTRANSPARENT = 0x0004;

inline const HWND HWND_TOP = nullptr;
inline const HWND HWND_BOTTOM = reinterpret_cast<HWND>(1);
inline const HWND HWND_TOPMOST = reinterpret_cast<HWND>(-1);
inline const HWND HWND_NOTOPMOST = reinterpret_cast<HWND>(-2);
inline const HWND HWND_MESSAGE = reinterpret_cast<HWND>(-3);
inline const HWND HWND_BROADCAST = reinterpret_cast<HWND>(0xFFFF);

constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOREDRAW = 0x0008;
constexpr UINT SWP_NOACTIVATE = 0x0010;
constexpr UINT SWP_FRAMECHANGED = 0x0020;
constexpr UINT SWP_DRAWFRAME = SWP_FRAMECHANGED;
constexpr UINT SWP_SHOWWINDOW = 0x0040;
constexpr UINT SWP_HIDEWINDOW = 0x0080;
constexpr UINT SWP_NOCOPYBITS = 0x0100;
constexpr UINT SWP_NOOWNERZORDER = 0x0200;
constexpr UINT SWP_NOREPOSITION = SWP_NOOWNERZORDER;
constexpr UINT SWP_NOSENDCHANGING = 0x0400;
constexpr UINT SWP_DEFERERASE = 0x2000;
constexpr UINT SWP_ASYNCWINDOWPOS = 0x4000;

constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_NORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOWMAXIMIZED = 3;
constexpr int SW_MAXIMIZE = 3;
constexpr int SW_SHOWNOACTIVATE = 4;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_SHOWMINNOACTIVE = 7;
constexpr int SW_SHOWNA = 8;
constexpr int SW_RESTORE = 9;
constexpr int SW_SHOWDEFAULT = 10;
constexpr int SW_FORCEMINIMIZE = 11;

constexpr WPARAM SIZE_RESTORED = 0;
constexpr WPARAM SIZE_MINIMIZED = 1;
constexpr WPARAM SIZE_MAXIMIZED = 2;
constexpr WPARAM SIZE_MAXSHOW = 3;
constexpr WPARAM SIZE_MAXHIDE = 4;

constexpr WPARAM WA_INACTIVE = 0;
constexpr WPARAM WA_ACTIVE = 1;
constexpr WPARAM WA_CLICKACTIVE = 2;

constexpr LRESULT MA_ACTIVATE = 1;
constexpr LRESULT MA_ACTIVATEANDEAT = 2;
constexpr LRESULT MA_NOACTIVATE = 3;
constexpr LRESULT MA_NOACTIVATEANDEAT = 4;

// WM_NCCALCSIZE answers.
constexpr LRESULT WVR_ALIGNTOP = 0x0010;
constexpr LRESULT WVR_REDRAW = 0x0300;

constexpr WPARAM SC_SIZE = 0xF000;
constexpr WPARAM SC_MOVE = 0xF010;
constexpr WPARAM SC_MINIMIZE = 0xF020;
constexpr WPARAM SC_MAXIMIZE = 0xF030;
constexpr WPARAM SC_NEXTWINDOW = 0xF040;
constexpr WPARAM SC_PREVWINDOW = 0xF050;
constexpr WPARAM SC_CLOSE = 0xF060;
constexpr WPARAM SC_VSCROLL = 0xF070;
constexpr WPARAM SC_HSCROLL = 0xF080;
constexpr WPARAM SC_MOUSEMENU = 0xF090;
constexpr WPARAM SC_KEYMENU = 0xF100;
constexpr WPARAM SC_RESTORE = 0xF120;
constexpr WPARAM SC_TASKLIST = 0xF130;
constexpr WPARAM SC_DEFAULT = 0xF160;

constexpr WPARAM ICON_SMALL = 0;
constexpr WPARAM ICON_BIG = 1;

constexpr LRESULT NFR_ANSI = 1;
constexpr LRESULT NFR_UNICODE = 2;
constexpr LPARAM NF_QUERY = 3;
constexpr LPARAM NF_REQUERY = 4;

constexpr LRESULT DLGC_WANTARROWS = 0x0001;
constexpr LRESULT DLGC_WANTTAB = 0x0002;
constexpr LRESULT DLGC_WANTALLKEYS = 0x0004;
constexpr LRESULT DLGC_WANTMESSAGE = 0x0004;
constexpr LRESULT DLGC_HASSETSEL = 0x0008;
constexpr LRESULT DLGC_DEFPUSHBUTTON = 0x0010;
constexpr LRESULT DLGC_UNDEFPUSHBUTTON = 0x0020;
constexpr LRESULT DLGC_RADIOBUTTON = 0x0040;
constexpr LRESULT DLGC_WANTCHARS = 0x0080;
constexpr LRESULT DLGC_STATIC = 0x0100;
constexpr LRESULT DLGC_BUTTON = 0x2000;

// ---- Hit-test codes ---------------------------------------------------------

constexpr LRESULT HTERROR = -2;
constexpr LRESULT HTTRANSPARENT = -1;
constexpr LRESULT HTNOWHERE = 0;
constexpr LRESULT HTCLIENT = 1;
constexpr LRESULT HTCAPTION = 2;
constexpr LRESULT HTSYSMENU = 3;
constexpr LRESULT HTGROWBOX = 4;
constexpr LRESULT HTSIZE = HTGROWBOX;
constexpr LRESULT HTMENU = 5;
constexpr LRESULT HTHSCROLL = 6;
constexpr LRESULT HTVSCROLL = 7;
constexpr LRESULT HTMINBUTTON = 8;
constexpr LRESULT HTMAXBUTTON = 9;
constexpr LRESULT HTLEFT = 10;
constexpr LRESULT HTRIGHT = 11;
constexpr LRESULT HTTOP = 12;
constexpr LRESULT HTTOPLEFT = 13;
constexpr LRESULT HTTOPRIGHT = 14;
constexpr LRESULT HTBOTTOM = 15;
constexpr LRESULT HTBOTTOMLEFT = 16;
constexpr LRESULT HTBOTTOMRIGHT = 17;
constexpr LRESULT HTBORDER = 18;
constexpr LRESULT HTCLOSE = 20;
constexpr LRESULT HTHELP = 21;

// ---- Message retrieval ------------------------------------------------------

constexpr UINT PM_NOREMOVE = 0x0000;
constexpr UINT PM_REMOVE = 0x0001;
constexpr UINT PM_NOYIELD = 0x0002;

constexpr UINT QS_KEY = 0x0001;
constexpr UINT QS_MOUSEMOVE = 0x0002;
constexpr UINT QS_MOUSEBUTTON = 0x0004;
constexpr UINT QS_POSTMESSAGE = 0x0008;
constexpr UINT QS_TIMER = 0x0010;
constexpr UINT QS_PAINT = 0x0020;
constexpr UINT QS_SENDMESSAGE = 0x0040;
constexpr UINT QS_HOTKEY = 0x0080;
constexpr UINT QS_ALLPOSTMESSAGE = 0x0100;
constexpr UINT QS_MOUSE = QS_MOUSEMOVE | QS_MOUSEBUTTON;
constexpr UINT QS_INPUT = QS_MOUSE | QS_KEY;
constexpr UINT QS_ALLEVENTS = QS_INPUT | QS_POSTMESSAGE | QS_TIMER | QS_PAINT | QS_HOTKEY;
constexpr UINT QS_ALLINPUT = QS_ALLEVENTS | QS_SENDMESSAGE;

constexpr UINT PM_QS_INPUT = QS_INPUT << 16;
constexpr UINT PM_QS_POSTMESSAGE = (QS_POSTMESSAGE | QS_HOTKEY | QS_TIMER) << 16;
constexpr UINT PM_QS_PAINT = QS_PAINT << 16;
constexpr UINT PM_QS_SENDMESSAGE = QS_SENDMESSAGE << 16;

constexpr DWORD INFINITE = 0xFFFFFFFF;
constexpr DWORD WAIT_OBJECT_0 = 0;
constexpr DWORD WAIT_TIMEOUT = 258;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;
constexpr DWORD MWMO_INPUTAVAILABLE = 0x0004;

constexpr UINT USER_TIMER_MINIMUM = 0x0000000A;
constexpr UINT USER_TIMER_MAXIMUM = 0x7FFFFFFF;

// ---- Hooks ------------------------------------------------------------------

constexpr int WH_KEYBOARD = 2;
constexpr int WH_GETMESSAGE = 3;
constexpr int WH_CALLWNDPROC = 4;
constexpr int WH_MOUSE = 7;

constexpr int HC_ACTION = 0;
constexpr int HC_NOREMOVE = 3;

// ---- Painting ---------------------------------------------------------------

constexpr UINT RDW_INVALIDATE = 0x0001;
constexpr UINT RDW_INTERNALPAINT = 0x0002;
constexpr UINT RDW_ERASE = 0x0004;
constexpr UINT RDW_VALIDATE = 0x0008;
constexpr UINT RDW_NOINTERNALPAINT = 0x0010;
constexpr UINT RDW_NOERASE = 0x0020;
constexpr UINT RDW_NOCHILDREN = 0x0040;
constexpr UINT RDW_ALLCHILDREN = 0x0080;
constexpr UINT RDW_UPDATENOW = 0x0100;
constexpr UINT RDW_ERASENOW = 0x0200;
constexpr UINT RDW_FRAME = 0x0400;
constexpr UINT RDW_NOFRAME = 0x0800;

constexpr UINT SW_SCROLLCHILDREN = 0x0001;
constexpr UINT SW_INVALIDATE = 0x0002;
constexpr UINT SW_ERASE = 0x0004;
constexpr UINT SW_SMOOTHSCROLL = 0x0010;

constexpr DWORD DCX_WINDOW = 0x00000001;
constexpr DWORD DCX_CACHE = 0x00000002;
constexpr DWORD DCX_NORESETATTRS = 0x00000004;
constexpr DWORD DCX_CLIPCHILDREN = 0x00000008;
constexpr DWORD DCX_CLIPSIBLINGS = 0x00000010;
constexpr DWORD DCX_PARENTCLIP = 0x00000020;
constexpr DWORD DCX_EXCLUDERGN = 0x00000040;
constexpr DWORD DCX_INTERSECTRGN = 0x00000080;
constexpr DWORD DCX_EXCLUDEUPDATE = 0x00000100;
constexpr DWORD DCX_INTERSECTUPDATE = 0x00000200;
constexpr DWORD DCX_LOCKWINDOWUPDATE = 0x00000400;
// GetDC's own flag: clip as the window's WS_CLIPCHILDREN and WS_CLIPSIBLINGS
// say. Without it GetDCEx clips only as its flags ask.
constexpr DWORD DCX_USESTYLE = 0x00010000;
constexpr DWORD DCX_VALIDATE = 0x00200000;

// ---- Scroll bars ------------------------------------------------------------

constexpr int SB_HORZ = 0;
constexpr int SB_VERT = 1;
constexpr int SB_CTL = 2;
constexpr int SB_BOTH = 3;

constexpr WORD SB_LINEUP = 0;
constexpr WORD SB_LINELEFT = 0;
constexpr WORD SB_LINEDOWN = 1;
constexpr WORD SB_LINERIGHT = 1;
constexpr WORD SB_PAGEUP = 2;
constexpr WORD SB_PAGELEFT = 2;
constexpr WORD SB_PAGEDOWN = 3;
constexpr WORD SB_PAGERIGHT = 3;
constexpr WORD SB_THUMBPOSITION = 4;
constexpr WORD SB_THUMBTRACK = 5;
constexpr WORD SB_TOP = 6;
constexpr WORD SB_LEFT = 6;
constexpr WORD SB_BOTTOM = 7;
constexpr WORD SB_RIGHT = 7;
constexpr WORD SB_ENDSCROLL = 8;

constexpr UINT SIF_RANGE = 0x0001;
constexpr UINT SIF_PAGE = 0x0002;
constexpr UINT SIF_POS = 0x0004;
constexpr UINT SIF_DISABLENOSCROLL = 0x0008;
constexpr UINT SIF_TRACKPOS = 0x0010;
constexpr UINT SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

constexpr UINT ESB_ENABLE_BOTH = 0x0000;
constexpr UINT ESB_DISABLE_LTUP = 0x0001;
constexpr UINT ESB_DISABLE_RTDN = 0x0002;
constexpr UINT ESB_DISABLE_BOTH = 0x0003;
constexpr UINT ESB_DISABLE_LEFT = ESB_DISABLE_LTUP;
constexpr UINT ESB_DISABLE_UP = ESB_DISABLE_LTUP;
constexpr UINT ESB_DISABLE_RIGHT = ESB_DISABLE_RTDN;
constexpr UINT ESB_DISABLE_DOWN = ESB_DISABLE_RTDN;

// ---- Keyboard and mouse -----------------------------------------------------

constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_RBUTTON = 0x0002;
constexpr WPARAM MK_SHIFT = 0x0004;
constexpr WPARAM MK_CONTROL = 0x0008;
constexpr WPARAM MK_MBUTTON = 0x0010;

constexpr int WHEEL_DELTA = 120;

constexpr DWORD TME_HOVER = 0x00000001;
constexpr DWORD TME_LEAVE = 0x00000002;
constexpr DWORD TME_NONCLIENT = 0x00000010;
constexpr DWORD TME_QUERY = 0x40000000;
constexpr DWORD TME_CANCEL = 0x80000000;
constexpr DWORD HOVER_DEFAULT = 0xFFFFFFFF;

constexpr DWORD KEYEVENTF_EXTENDEDKEY = 0x0001;
constexpr DWORD KEYEVENTF_KEYUP = 0x0002;

// Key message lParam bits.
constexpr LPARAM KF_EXTENDED_BIT = 1 << 24;
constexpr LPARAM KF_ALTDOWN_BIT = 1 << 29;
constexpr LPARAM KF_REPEAT_BIT = 1 << 30;
constexpr LPARAM KF_UP_BIT = static_cast<LPARAM>(1u << 31);

constexpr UINT VK_LBUTTON = 0x01;
constexpr UINT VK_RBUTTON = 0x02;
constexpr UINT VK_CANCEL = 0x03;
constexpr UINT VK_MBUTTON = 0x04;
constexpr UINT VK_BACK = 0x08;
constexpr UINT VK_TAB = 0x09;
constexpr UINT VK_CLEAR = 0x0C;
constexpr UINT VK_RETURN = 0x0D;
constexpr UINT VK_SHIFT = 0x10;
constexpr UINT VK_CONTROL = 0x11;
constexpr UINT VK_MENU = 0x12;
constexpr UINT VK_PAUSE = 0x13;
constexpr UINT VK_CAPITAL = 0x14;
constexpr UINT VK_ESCAPE = 0x1B;
constexpr UINT VK_SPACE = 0x20;
constexpr UINT VK_PRIOR = 0x21;
constexpr UINT VK_NEXT = 0x22;
constexpr UINT VK_END = 0x23;
constexpr UINT VK_HOME = 0x24;
constexpr UINT VK_LEFT = 0x25;
constexpr UINT VK_UP = 0x26;
constexpr UINT VK_RIGHT = 0x27;
constexpr UINT VK_DOWN = 0x28;
constexpr UINT VK_SELECT = 0x29;
constexpr UINT VK_PRINT = 0x2A;
constexpr UINT VK_EXECUTE = 0x2B;
constexpr UINT VK_SNAPSHOT = 0x2C;
constexpr UINT VK_INSERT = 0x2D;
constexpr UINT VK_DELETE = 0x2E;
constexpr UINT VK_HELP = 0x2F;
constexpr UINT VK_LWIN = 0x5B;
constexpr UINT VK_RWIN = 0x5C;
constexpr UINT VK_APPS = 0x5D;
constexpr UINT VK_NUMPAD0 = 0x60;
constexpr UINT VK_NUMPAD9 = 0x69;
constexpr UINT VK_MULTIPLY = 0x6A;
constexpr UINT VK_ADD = 0x6B;
constexpr UINT VK_SEPARATOR = 0x6C;
constexpr UINT VK_SUBTRACT = 0x6D;
constexpr UINT VK_DECIMAL = 0x6E;
constexpr UINT VK_DIVIDE = 0x6F;
constexpr UINT VK_F1 = 0x70;
constexpr UINT VK_F2 = 0x71;
constexpr UINT VK_F3 = 0x72;
constexpr UINT VK_F4 = 0x73;
constexpr UINT VK_F5 = 0x74;
constexpr UINT VK_F6 = 0x75;
constexpr UINT VK_F7 = 0x76;
constexpr UINT VK_F8 = 0x77;
constexpr UINT VK_F9 = 0x78;
constexpr UINT VK_F10 = 0x79;
constexpr UINT VK_F11 = 0x7A;
constexpr UINT VK_F12 = 0x7B;
constexpr UINT VK_F24 = 0x87;
constexpr UINT VK_NUMLOCK = 0x90;
constexpr UINT VK_SCROLL = 0x91;
constexpr UINT VK_LSHIFT = 0xA0;
constexpr UINT VK_RSHIFT = 0xA1;
constexpr UINT VK_LCONTROL = 0xA2;
constexpr UINT VK_RCONTROL = 0xA3;
constexpr UINT VK_LMENU = 0xA4;
constexpr UINT VK_RMENU = 0xA5;
constexpr UINT VK_OEM_1 = 0xBA;
constexpr UINT VK_OEM_PLUS = 0xBB;
constexpr UINT VK_OEM_COMMA = 0xBC;
constexpr UINT VK_OEM_MINUS = 0xBD;
constexpr UINT VK_OEM_PERIOD = 0xBE;
constexpr UINT VK_OEM_2 = 0xBF;
constexpr UINT VK_OEM_3 = 0xC0;
constexpr UINT VK_OEM_4 = 0xDB;
constexpr UINT VK_OEM_5 = 0xDC;
constexpr UINT VK_OEM_6 = 0xDD;
constexpr UINT VK_OEM_7 = 0xDE;
constexpr UINT VK_OEM_102 = 0xE2;
constexpr UINT VK_PROCESSKEY = 0xE5;

// ---- Cursors ----------------------------------------------------------------

// An integer resource name where a name is expected: it converts to either
// kind of name pointer, as MAKEINTRESOURCE gives it.
struct IntegerResourceName {
    WORD id;
    operator LPCSTR() const { return MAKEINTRESOURCEA(id); }
    operator LPCWSTR() const { return MAKEINTRESOURCEW(id); }
};

constexpr IntegerResourceName IDC_ARROW{32512};
constexpr IntegerResourceName IDC_IBEAM{32513};
constexpr IntegerResourceName IDC_WAIT{32514};
constexpr IntegerResourceName IDC_CROSS{32515};
constexpr IntegerResourceName IDC_UPARROW{32516};
constexpr IntegerResourceName IDC_SIZE{32640};
constexpr IntegerResourceName IDC_ICON{32641};
constexpr IntegerResourceName IDC_SIZENWSE{32642};
constexpr IntegerResourceName IDC_SIZENESW{32643};
constexpr IntegerResourceName IDC_SIZEWE{32644};
constexpr IntegerResourceName IDC_SIZENS{32645};
constexpr IntegerResourceName IDC_SIZEALL{32646};
constexpr IntegerResourceName IDC_NO{32648};
constexpr IntegerResourceName IDC_HAND{32649};
constexpr IntegerResourceName IDC_APPSTARTING{32650};
constexpr IntegerResourceName IDC_HELP{32651};

// ---- Message boxes ----------------------------------------------------------

constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_OKCANCEL = 0x00000001;
constexpr UINT MB_ABORTRETRYIGNORE = 0x00000002;
constexpr UINT MB_YESNOCANCEL = 0x00000003;
constexpr UINT MB_YESNO = 0x00000004;
constexpr UINT MB_RETRYCANCEL = 0x00000005;
constexpr UINT MB_CANCELTRYCONTINUE = 0x00000006;
constexpr UINT MB_ICONHAND = 0x00000010;
constexpr UINT MB_ICONQUESTION = 0x00000020;
constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
constexpr UINT MB_ICONASTERISK = 0x00000040;
constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr UINT MB_ICONERROR = MB_ICONHAND;
constexpr UINT MB_ICONSTOP = MB_ICONHAND;
constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;
constexpr UINT MB_DEFBUTTON1 = 0x00000000;
constexpr UINT MB_DEFBUTTON2 = 0x00000100;
constexpr UINT MB_DEFBUTTON3 = 0x00000200;
constexpr UINT MB_DEFBUTTON4 = 0x00000300;
constexpr UINT MB_APPLMODAL = 0x00000000;
constexpr UINT MB_SYSTEMMODAL = 0x00001000;
constexpr UINT MB_TASKMODAL = 0x00002000;
constexpr UINT MB_HELP = 0x00004000;
constexpr UINT MB_SETFOREGROUND = 0x00010000;
constexpr UINT MB_TOPMOST = 0x00040000;
constexpr UINT MB_RIGHT = 0x00080000;
constexpr UINT MB_RTLREADING = 0x00100000;
constexpr UINT MB_TYPEMASK = 0x0000000F;
constexpr UINT MB_ICONMASK = 0x000000F0;
constexpr UINT MB_DEFMASK = 0x00000F00;
constexpr UINT MB_MODEMASK = 0x00003000;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;
constexpr int IDCLOSE = 8;
constexpr int IDHELP = 9;
constexpr int IDTRYAGAIN = 10;
constexpr int IDCONTINUE = 11;

// ---- Input method -----------------------------------------------------------

constexpr DWORD GCS_COMPSTR = 0x0008;
constexpr DWORD GCS_RESULTSTR = 0x0800;
constexpr DWORD CFS_DEFAULT = 0x0000;
constexpr DWORD CFS_RECT = 0x0001;
constexpr DWORD CFS_POINT = 0x0002;
constexpr DWORD CFS_FORCE_POSITION = 0x0020;
constexpr WPARAM IMN_SETOPENSTATUS = 0x0008;
constexpr WPARAM IMN_SETCOMPOSITIONFONT = 0x000A;
constexpr WPARAM IMN_SETCOMPOSITIONWINDOW = 0x000B;
constexpr LONG IMM_ERROR_NODATA = -1;

// ---- Structures -------------------------------------------------------------

// The head of every WM_NOTIFY record.
struct NMHDR {
    HWND hwndFrom = nullptr;
    UINT_PTR idFrom = 0;
    UINT code = 0;
};

struct MSG {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    DWORD time = 0;
    POINT pt;
};
using LPMSG = MSG*;

// WM_HELP's lParam: what help is asked about.
constexpr int HELPINFO_WINDOW = 0x0001;
constexpr int HELPINFO_MENUITEM = 0x0002;
// WinHelp's commands, as help requests name them.
constexpr UINT HELP_CONTEXT = 0x0001;

struct HELPINFO {
    UINT cbSize = sizeof(HELPINFO);
    int iContextType = 0;
    // A menu item's command, or a control's identifier.
    int iCtrlId = 0;
    // The menu (HELPINFO_MENUITEM) or the window.
    HANDLE hItemHandle = nullptr;
    ULONG_PTR dwContextId = 0;
    POINT MousePos;
};
using LPHELPINFO = HELPINFO*;

template <typename Char> struct WNDCLASS_T {
    UINT style = 0;
    WNDPROC lpfnWndProc = nullptr;
    int cbClsExtra = 0;
    int cbWndExtra = 0;
    HINSTANCE hInstance = nullptr;
    HICON hIcon = nullptr;
    HCURSOR hCursor = nullptr;
    HBRUSH hbrBackground = nullptr;
    const Char* lpszMenuName = nullptr;
    const Char* lpszClassName = nullptr;
};
using WNDCLASSA = WNDCLASS_T<char>;
using WNDCLASSW = WNDCLASS_T<WCHAR>;

template <typename Char> struct WNDCLASSEX_T {
    UINT cbSize = sizeof(WNDCLASSEX_T);
    UINT style = 0;
    WNDPROC lpfnWndProc = nullptr;
    int cbClsExtra = 0;
    int cbWndExtra = 0;
    HINSTANCE hInstance = nullptr;
    HICON hIcon = nullptr;
    HCURSOR hCursor = nullptr;
    HBRUSH hbrBackground = nullptr;
    const Char* lpszMenuName = nullptr;
    const Char* lpszClassName = nullptr;
    HICON hIconSm = nullptr;
};
using WNDCLASSEXA = WNDCLASSEX_T<char>;
using WNDCLASSEXW = WNDCLASSEX_T<WCHAR>;

template <typename Char> struct CREATESTRUCT_T {
    LPVOID lpCreateParams = nullptr;
    HINSTANCE hInstance = nullptr;
    HMENU hMenu = nullptr;
    HWND hwndParent = nullptr;
    int cy = 0;
    int cx = 0;
    int y = 0;
    int x = 0;
    LONG style = 0;
    const Char* lpszName = nullptr;
    const Char* lpszClass = nullptr;
    DWORD dwExStyle = 0;
};
using CREATESTRUCTA = CREATESTRUCT_T<char>;
using CREATESTRUCTW = CREATESTRUCT_T<WCHAR>;

struct WINDOWPOS {
    HWND hwnd = nullptr;
    HWND hwndInsertAfter = nullptr;
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    UINT flags = 0;
};

struct NCCALCSIZE_PARAMS {
    RECT rgrc[3];
    WINDOWPOS* lppos = nullptr;
};

struct MINMAXINFO {
    POINT ptReserved;
    POINT ptMaxSize;
    POINT ptMaxPosition;
    POINT ptMinTrackSize;
    POINT ptMaxTrackSize;
};

struct STYLESTRUCT {
    DWORD styleOld = 0;
    DWORD styleNew = 0;
};

struct PAINTSTRUCT {
    HDC hdc = nullptr;
    BOOL fErase = FALSE;
    RECT rcPaint;
    BOOL fRestore = FALSE;
    BOOL fIncUpdate = FALSE;
    BYTE rgbReserved[32] = {};
};

struct SCROLLINFO {
    UINT cbSize = sizeof(SCROLLINFO);
    UINT fMask = 0;
    int nMin = 0;
    int nMax = 0;
    UINT nPage = 0;
    int nPos = 0;
    int nTrackPos = 0;
};

struct CWPSTRUCT {
    LPARAM lParam = 0;
    WPARAM wParam = 0;
    UINT message = 0;
    HWND hwnd = nullptr;
};

struct MOUSEHOOKSTRUCT {
    POINT pt;
    HWND hwnd = nullptr;
    UINT wHitTestCode = 0;
    ULONG_PTR dwExtraInfo = 0;
};

struct TRACKMOUSEEVENT {
    DWORD cbSize = sizeof(TRACKMOUSEEVENT);
    DWORD dwFlags = 0;
    HWND hwndTrack = nullptr;
    DWORD dwHoverTime = 0;
};

struct COMPOSITIONFORM {
    DWORD dwStyle = 0;
    POINT ptCurrentPos;
    RECT rcArea;
};
