// The common controls' class names, messages, styles, structures and
// notification codes with their Windows names and values: progress bar,
// status bar, tab control, track bar, up-down, tool bar, list view, tree view,
// rich edit and tooltips, and the WM_NOTIFY header they all share.
#pragma once

#include "platform/win/CommonDialogs.h"
#include "platform/win/EditControl.h"
#include "platform/win/StandardControls.h"
#include "platform/win/SystemTime.h"
#include "platform/win/WinUser.h"

using DWORD_PTR = ULONG_PTR;

// ---- Class names --------------------------------------------------------------

inline constexpr const char* PROGRESS_CLASSA = "msctls_progress32";
inline constexpr const WCHAR* PROGRESS_CLASSW = u"msctls_progress32";
inline constexpr const char* STATUSCLASSNAMEA = "msctls_statusbar32";
inline constexpr const WCHAR* STATUSCLASSNAMEW = u"msctls_statusbar32";
inline constexpr const char* WC_TABCONTROLA = "SysTabControl32";
inline constexpr const WCHAR* WC_TABCONTROLW = u"SysTabControl32";
inline constexpr const char* TRACKBAR_CLASSA = "msctls_trackbar32";
inline constexpr const WCHAR* TRACKBAR_CLASSW = u"msctls_trackbar32";
inline constexpr const char* UPDOWN_CLASSA = "msctls_updown32";
inline constexpr const WCHAR* UPDOWN_CLASSW = u"msctls_updown32";
inline constexpr const char* TOOLBARCLASSNAMEA = "ToolbarWindow32";
inline constexpr const WCHAR* TOOLBARCLASSNAMEW = u"ToolbarWindow32";
inline constexpr const char* WC_LISTVIEWA = "SysListView32";
inline constexpr const WCHAR* WC_LISTVIEWW = u"SysListView32";
inline constexpr const char* WC_TREEVIEWA = "SysTreeView32";
inline constexpr const WCHAR* WC_TREEVIEWW = u"SysTreeView32";
inline constexpr const char* TOOLTIPS_CLASSA = "tooltips_class32";
inline constexpr const WCHAR* TOOLTIPS_CLASSW = u"tooltips_class32";
inline constexpr const char* RICHEDIT_CLASSA = "RichEdit20A";
inline constexpr const WCHAR* RICHEDIT_CLASSW = u"RichEdit20W";

// ---- Initialisation -------------------------------------------------------------

struct INITCOMMONCONTROLSEX {
    DWORD dwSize = sizeof(INITCOMMONCONTROLSEX);
    DWORD dwICC = 0;
};

constexpr DWORD ICC_LISTVIEW_CLASSES = 0x00000001;
constexpr DWORD ICC_TREEVIEW_CLASSES = 0x00000002;
constexpr DWORD ICC_BAR_CLASSES = 0x00000004;
constexpr DWORD ICC_TAB_CLASSES = 0x00000008;
constexpr DWORD ICC_UPDOWN_CLASS = 0x00000010;
constexpr DWORD ICC_PROGRESS_CLASS = 0x00000020;
constexpr DWORD ICC_HOTKEY_CLASS = 0x00000040;
constexpr DWORD ICC_ANIMATE_CLASS = 0x00000080;
constexpr DWORD ICC_WIN95_CLASSES = 0x000000FF;
constexpr DWORD ICC_DATE_CLASSES = 0x00000100;
constexpr DWORD ICC_USEREX_CLASSES = 0x00000200;
constexpr DWORD ICC_COOL_CLASSES = 0x00000400;
constexpr DWORD ICC_INTERNET_CLASSES = 0x00000800;
constexpr DWORD ICC_PAGESCROLLER_CLASS = 0x00001000;
constexpr DWORD ICC_NATIVEFNTCTL_CLASS = 0x00002000;
constexpr DWORD ICC_STANDARD_CLASSES = 0x00004000;
constexpr DWORD ICC_LINK_CLASS = 0x00008000;

// ---- Messages every common control answers ----------------------------------------

constexpr UINT CCM_FIRST = 0x2000;
constexpr UINT CCM_SETBKCOLOR = CCM_FIRST + 1;
constexpr UINT CCM_SETCOLORSCHEME = CCM_FIRST + 2;
constexpr UINT CCM_GETCOLORSCHEME = CCM_FIRST + 3;
constexpr UINT CCM_GETDROPTARGET = CCM_FIRST + 4;
constexpr UINT CCM_SETUNICODEFORMAT = CCM_FIRST + 5;
constexpr UINT CCM_GETUNICODEFORMAT = CCM_FIRST + 6;
constexpr UINT CCM_SETVERSION = CCM_FIRST + 7;
constexpr UINT CCM_GETVERSION = CCM_FIRST + 8;
constexpr UINT CCM_SETNOTIFYWINDOW = CCM_FIRST + 9;

// Common control styles (tool bar and status bar placement).
constexpr DWORD CCS_TOP = 0x00000001;
constexpr DWORD CCS_NOMOVEY = 0x00000002;
constexpr DWORD CCS_BOTTOM = 0x00000003;
constexpr DWORD CCS_NORESIZE = 0x00000004;
constexpr DWORD CCS_NOPARENTALIGN = 0x00000008;
constexpr DWORD CCS_ADJUSTABLE = 0x00000020;
constexpr DWORD CCS_NODIVIDER = 0x00000040;
constexpr DWORD CCS_VERT = 0x00000080;

// ---- Notifications ------------------------------------------------------------------

// Notification codes are negative numbers carried in an unsigned field.
constexpr UINT NotificationCode(int value) {
    return static_cast<UINT>(value);
}

constexpr UINT NM_OUTOFMEMORY = NotificationCode(-1);
constexpr UINT NM_CLICK = NotificationCode(-2);
constexpr UINT NM_DBLCLK = NotificationCode(-3);
constexpr UINT NM_RETURN = NotificationCode(-4);
constexpr UINT NM_RCLICK = NotificationCode(-5);
constexpr UINT NM_RDBLCLK = NotificationCode(-6);
constexpr UINT NM_SETFOCUS = NotificationCode(-7);
constexpr UINT NM_KILLFOCUS = NotificationCode(-8);
constexpr UINT NM_CUSTOMDRAW = NotificationCode(-12);
constexpr UINT NM_HOVER = NotificationCode(-13);
constexpr UINT NM_NCHITTEST = NotificationCode(-14);
constexpr UINT NM_KEYDOWN = NotificationCode(-15);
constexpr UINT NM_RELEASEDCAPTURE = NotificationCode(-16);
constexpr UINT NM_SETCURSOR = NotificationCode(-17);
constexpr UINT NM_CHAR = NotificationCode(-18);

// The text pointer that asks the parent for the text (LVN_GETDISPINFO and the like).
inline LPSTR LPSTR_TEXTCALLBACKA() {
    return reinterpret_cast<LPSTR>(static_cast<INT_PTR>(-1));
}
inline LPWSTR LPSTR_TEXTCALLBACKW() {
    return reinterpret_cast<LPWSTR>(static_cast<INT_PTR>(-1));
}
constexpr int I_IMAGECALLBACK = -1;
constexpr int I_IMAGENONE = -2;

// The owner-drawn tab control's and list view's WM_DRAWITEM and WM_MEASUREITEM
// (DRAWITEMSTRUCT and MEASUREITEMSTRUCT are the standard controls').
constexpr UINT ODT_TAB = 101;
constexpr UINT ODT_LISTVIEW = 102;

// ---- Image lists ------------------------------------------------------------------
// The controls draw images by index and ask their size; the framework's image
// list (or anything else) stands behind the handle.

class ImageListSource {
public:
    virtual ~ImageListSource() = default;
    virtual int ImageCount() const = 0;
    virtual SIZE ImageSize() const = 0;
    // `style` takes the ILD_ drawing flags.
    virtual void DrawImage(HDC dc, int index, int x, int y, UINT style) = 0;
    // Greyed, as a disabled control shows it.
    virtual void DrawDisabledImage(HDC dc, int index, int x, int y) = 0;
};
using HIMAGELIST = ImageListSource*;

// The ILD_NORMAL, ILD_TRANSPARENT and ILD_SELECTED values the controls draw with.
constexpr UINT ImageDrawNormal = 0x0000;
constexpr UINT ImageDrawTransparent = 0x0001;
constexpr UINT ImageDrawSelected = 0x0004;

// ---- Progress bar ---------------------------------------------------------------------

constexpr UINT PBM_SETRANGE = WM_USER + 1;
constexpr UINT PBM_SETPOS = WM_USER + 2;
constexpr UINT PBM_DELTAPOS = WM_USER + 3;
constexpr UINT PBM_SETSTEP = WM_USER + 4;
constexpr UINT PBM_STEPIT = WM_USER + 5;
constexpr UINT PBM_SETRANGE32 = WM_USER + 6;
constexpr UINT PBM_GETRANGE = WM_USER + 7;
constexpr UINT PBM_GETPOS = WM_USER + 8;
constexpr UINT PBM_SETBARCOLOR = WM_USER + 9;
constexpr UINT PBM_SETBKCOLOR = CCM_SETBKCOLOR;
constexpr UINT PBM_GETSTEP = WM_USER + 13;
constexpr UINT PBM_GETBKCOLOR = WM_USER + 14;
constexpr UINT PBM_GETBARCOLOR = WM_USER + 15;

constexpr DWORD PBS_SMOOTH = 0x01;
constexpr DWORD PBS_VERTICAL = 0x04;

struct PBRANGE {
    int iLow = 0;
    int iHigh = 0;
};

// ---- Status bar ------------------------------------------------------------------------

constexpr UINT SB_SETTEXTA = WM_USER + 1;
constexpr UINT SB_GETTEXTA = WM_USER + 2;
constexpr UINT SB_GETTEXTLENGTHA = WM_USER + 3;
constexpr UINT SB_SETPARTS = WM_USER + 4;
constexpr UINT SB_GETPARTS = WM_USER + 6;
constexpr UINT SB_GETBORDERS = WM_USER + 7;
constexpr UINT SB_SETMINHEIGHT = WM_USER + 8;
constexpr UINT SB_SIMPLE = WM_USER + 9;
constexpr UINT SB_GETRECT = WM_USER + 10;
constexpr UINT SB_SETTEXTW = WM_USER + 11;
constexpr UINT SB_GETTEXTLENGTHW = WM_USER + 12;
constexpr UINT SB_GETTEXTW = WM_USER + 13;
constexpr UINT SB_ISSIMPLE = WM_USER + 14;
constexpr UINT SB_SETICON = WM_USER + 15;
constexpr UINT SB_GETICON = WM_USER + 20;
constexpr UINT SB_SETBKCOLOR = CCM_SETBKCOLOR;

constexpr DWORD SBARS_SIZEGRIP = 0x0100;
constexpr DWORD SBARS_TOOLTIPS = 0x0800;

// Flags in the high byte of SB_SETTEXT's wParam (and of SB_GETTEXT's answer).
constexpr UINT SBT_NOBORDERS = 0x0100;
constexpr UINT SBT_POPOUT = 0x0200;
constexpr UINT SBT_RTLREADING = 0x0400;
constexpr UINT SBT_NOTABPARSING = 0x0800;
constexpr UINT SBT_OWNERDRAW = 0x1000;
// The part index that stands for the simple-mode text.
constexpr UINT SB_SIMPLEID = 0x00FF;
constexpr UINT SBN_SIMPLEMODECHANGE = NotificationCode(-880);

// ---- Tab control -----------------------------------------------------------------------

constexpr UINT TCM_FIRST = 0x1300;
constexpr UINT TCM_GETIMAGELIST = TCM_FIRST + 2;
constexpr UINT TCM_SETIMAGELIST = TCM_FIRST + 3;
constexpr UINT TCM_GETITEMCOUNT = TCM_FIRST + 4;
constexpr UINT TCM_GETITEMA = TCM_FIRST + 5;
constexpr UINT TCM_SETITEMA = TCM_FIRST + 6;
constexpr UINT TCM_INSERTITEMA = TCM_FIRST + 7;
constexpr UINT TCM_DELETEITEM = TCM_FIRST + 8;
constexpr UINT TCM_DELETEALLITEMS = TCM_FIRST + 9;
constexpr UINT TCM_GETITEMRECT = TCM_FIRST + 10;
constexpr UINT TCM_GETCURSEL = TCM_FIRST + 11;
constexpr UINT TCM_SETCURSEL = TCM_FIRST + 12;
constexpr UINT TCM_HITTEST = TCM_FIRST + 13;
constexpr UINT TCM_SETITEMEXTRA = TCM_FIRST + 14;
constexpr UINT TCM_ADJUSTRECT = TCM_FIRST + 40;
constexpr UINT TCM_SETITEMSIZE = TCM_FIRST + 41;
constexpr UINT TCM_REMOVEIMAGE = TCM_FIRST + 42;
constexpr UINT TCM_SETPADDING = TCM_FIRST + 43;
constexpr UINT TCM_GETROWCOUNT = TCM_FIRST + 44;
constexpr UINT TCM_GETTOOLTIPS = TCM_FIRST + 45;
constexpr UINT TCM_SETTOOLTIPS = TCM_FIRST + 46;
constexpr UINT TCM_GETCURFOCUS = TCM_FIRST + 47;
constexpr UINT TCM_SETCURFOCUS = TCM_FIRST + 48;
constexpr UINT TCM_SETMINTABWIDTH = TCM_FIRST + 49;
constexpr UINT TCM_DESELECTALL = TCM_FIRST + 50;
constexpr UINT TCM_HIGHLIGHTITEM = TCM_FIRST + 51;
constexpr UINT TCM_SETEXTENDEDSTYLE = TCM_FIRST + 52;
constexpr UINT TCM_GETEXTENDEDSTYLE = TCM_FIRST + 53;
constexpr UINT TCM_GETITEMW = TCM_FIRST + 60;
constexpr UINT TCM_SETITEMW = TCM_FIRST + 61;
constexpr UINT TCM_INSERTITEMW = TCM_FIRST + 62;

constexpr DWORD TCS_SCROLLOPPOSITE = 0x0001;
constexpr DWORD TCS_BOTTOM = 0x0002;
constexpr DWORD TCS_RIGHT = 0x0002;
constexpr DWORD TCS_MULTISELECT = 0x0004;
constexpr DWORD TCS_FLATBUTTONS = 0x0008;
constexpr DWORD TCS_FORCEICONLEFT = 0x0010;
constexpr DWORD TCS_FORCELABELLEFT = 0x0020;
constexpr DWORD TCS_HOTTRACK = 0x0040;
constexpr DWORD TCS_VERTICAL = 0x0080;
constexpr DWORD TCS_TABS = 0x0000;
constexpr DWORD TCS_BUTTONS = 0x0100;
constexpr DWORD TCS_SINGLELINE = 0x0000;
constexpr DWORD TCS_MULTILINE = 0x0200;
constexpr DWORD TCS_RIGHTJUSTIFY = 0x0000;
constexpr DWORD TCS_FIXEDWIDTH = 0x0400;
constexpr DWORD TCS_RAGGEDRIGHT = 0x0800;
constexpr DWORD TCS_FOCUSONBUTTONDOWN = 0x1000;
constexpr DWORD TCS_OWNERDRAWFIXED = 0x2000;
constexpr DWORD TCS_TOOLTIPS = 0x4000;
constexpr DWORD TCS_FOCUSNEVER = 0x8000;

constexpr UINT TCIF_TEXT = 0x0001;
constexpr UINT TCIF_IMAGE = 0x0002;
constexpr UINT TCIF_RTLREADING = 0x0004;
constexpr UINT TCIF_PARAM = 0x0008;
constexpr UINT TCIF_STATE = 0x0010;

constexpr DWORD TCIS_BUTTONPRESSED = 0x0001;
constexpr DWORD TCIS_HIGHLIGHTED = 0x0002;

constexpr UINT TCHT_NOWHERE = 0x0001;
constexpr UINT TCHT_ONITEMICON = 0x0002;
constexpr UINT TCHT_ONITEMLABEL = 0x0004;
constexpr UINT TCHT_ONITEM = TCHT_ONITEMICON | TCHT_ONITEMLABEL;

constexpr UINT TCN_KEYDOWN = NotificationCode(-550);
constexpr UINT TCN_SELCHANGE = NotificationCode(-551);
constexpr UINT TCN_SELCHANGING = NotificationCode(-552);

template <typename Char> struct TCITEM_T {
    UINT mask = 0;
    DWORD dwState = 0;
    DWORD dwStateMask = 0;
    Char* pszText = nullptr;
    int cchTextMax = 0;
    int iImage = -1;
    LPARAM lParam = 0;
};
using TCITEMA = TCITEM_T<char>;
using TCITEMW = TCITEM_T<WCHAR>;

struct TCHITTESTINFO {
    POINT pt;
    UINT flags = 0;
};

struct NMTCKEYDOWN {
    NMHDR hdr;
    WORD wVKey = 0;
    UINT flags = 0;
};

// ---- Track bar --------------------------------------------------------------------------

constexpr UINT TBM_GETPOS = WM_USER;
constexpr UINT TBM_GETRANGEMIN = WM_USER + 1;
constexpr UINT TBM_GETRANGEMAX = WM_USER + 2;
constexpr UINT TBM_GETTIC = WM_USER + 3;
constexpr UINT TBM_SETTIC = WM_USER + 4;
constexpr UINT TBM_SETPOS = WM_USER + 5;
constexpr UINT TBM_SETRANGE = WM_USER + 6;
constexpr UINT TBM_SETRANGEMIN = WM_USER + 7;
constexpr UINT TBM_SETRANGEMAX = WM_USER + 8;
constexpr UINT TBM_CLEARTICS = WM_USER + 9;
constexpr UINT TBM_SETSEL = WM_USER + 10;
constexpr UINT TBM_SETSELSTART = WM_USER + 11;
constexpr UINT TBM_SETSELEND = WM_USER + 12;
constexpr UINT TBM_GETPTICS = WM_USER + 14;
constexpr UINT TBM_GETTICPOS = WM_USER + 15;
constexpr UINT TBM_GETNUMTICS = WM_USER + 16;
constexpr UINT TBM_GETSELSTART = WM_USER + 17;
constexpr UINT TBM_GETSELEND = WM_USER + 18;
constexpr UINT TBM_CLEARSEL = WM_USER + 19;
constexpr UINT TBM_SETTICFREQ = WM_USER + 20;
constexpr UINT TBM_SETPAGESIZE = WM_USER + 21;
constexpr UINT TBM_GETPAGESIZE = WM_USER + 22;
constexpr UINT TBM_SETLINESIZE = WM_USER + 23;
constexpr UINT TBM_GETLINESIZE = WM_USER + 24;
constexpr UINT TBM_GETTHUMBRECT = WM_USER + 25;
constexpr UINT TBM_GETCHANNELRECT = WM_USER + 26;
constexpr UINT TBM_SETTHUMBLENGTH = WM_USER + 27;
constexpr UINT TBM_GETTHUMBLENGTH = WM_USER + 28;
constexpr UINT TBM_SETTOOLTIPS = WM_USER + 29;
constexpr UINT TBM_GETTOOLTIPS = WM_USER + 30;
constexpr UINT TBM_SETTIPSIDE = WM_USER + 31;
constexpr UINT TBM_SETBUDDY = WM_USER + 32;
constexpr UINT TBM_GETBUDDY = WM_USER + 33;

constexpr DWORD TBS_AUTOTICKS = 0x0001;
constexpr DWORD TBS_VERT = 0x0002;
constexpr DWORD TBS_HORZ = 0x0000;
constexpr DWORD TBS_TOP = 0x0004;
constexpr DWORD TBS_BOTTOM = 0x0000;
constexpr DWORD TBS_LEFT = 0x0004;
constexpr DWORD TBS_RIGHT = 0x0000;
constexpr DWORD TBS_BOTH = 0x0008;
constexpr DWORD TBS_NOTICKS = 0x0010;
constexpr DWORD TBS_ENABLESELRANGE = 0x0020;
constexpr DWORD TBS_FIXEDLENGTH = 0x0040;
constexpr DWORD TBS_NOTHUMB = 0x0080;
constexpr DWORD TBS_TOOLTIPS = 0x0100;
constexpr DWORD TBS_REVERSED = 0x0200;

// The scroll codes of the WM_HSCROLL and WM_VSCROLL a track bar sends.
constexpr WORD TB_LINEUP = 0;
constexpr WORD TB_LINEDOWN = 1;
constexpr WORD TB_PAGEUP = 2;
constexpr WORD TB_PAGEDOWN = 3;
constexpr WORD TB_THUMBPOSITION = 4;
constexpr WORD TB_THUMBTRACK = 5;
constexpr WORD TB_TOP = 6;
constexpr WORD TB_BOTTOM = 7;
constexpr WORD TB_ENDTRACK = 8;

// ---- Up-down -------------------------------------------------------------------------------

constexpr UINT UDM_SETRANGE = WM_USER + 101;
constexpr UINT UDM_GETRANGE = WM_USER + 102;
constexpr UINT UDM_SETPOS = WM_USER + 103;
constexpr UINT UDM_GETPOS = WM_USER + 104;
constexpr UINT UDM_SETBUDDY = WM_USER + 105;
constexpr UINT UDM_GETBUDDY = WM_USER + 106;
constexpr UINT UDM_SETACCEL = WM_USER + 107;
constexpr UINT UDM_GETACCEL = WM_USER + 108;
constexpr UINT UDM_SETBASE = WM_USER + 109;
constexpr UINT UDM_GETBASE = WM_USER + 110;
constexpr UINT UDM_SETRANGE32 = WM_USER + 111;
constexpr UINT UDM_GETRANGE32 = WM_USER + 112;
constexpr UINT UDM_SETPOS32 = WM_USER + 113;
constexpr UINT UDM_GETPOS32 = WM_USER + 114;

constexpr DWORD UDS_WRAP = 0x0001;
constexpr DWORD UDS_SETBUDDYINT = 0x0002;
constexpr DWORD UDS_ALIGNRIGHT = 0x0004;
constexpr DWORD UDS_ALIGNLEFT = 0x0008;
constexpr DWORD UDS_AUTOBUDDY = 0x0010;
constexpr DWORD UDS_ARROWKEYS = 0x0020;
constexpr DWORD UDS_HORZ = 0x0040;
constexpr DWORD UDS_NOTHOUSANDS = 0x0080;
constexpr DWORD UDS_HOTTRACK = 0x0100;

constexpr int UD_MAXVAL = 0x7FFF;
constexpr int UD_MINVAL = -UD_MAXVAL;

constexpr UINT UDN_DELTAPOS = NotificationCode(-722);

struct UDACCEL {
    UINT nSec = 0;
    UINT nInc = 0;
};

struct NMUPDOWN {
    NMHDR hdr;
    int iPos = 0;
    int iDelta = 0;
};

// ---- Tool bar --------------------------------------------------------------------------------

constexpr UINT TB_ENABLEBUTTON = WM_USER + 1;
constexpr UINT TB_CHECKBUTTON = WM_USER + 2;
constexpr UINT TB_PRESSBUTTON = WM_USER + 3;
constexpr UINT TB_HIDEBUTTON = WM_USER + 4;
constexpr UINT TB_INDETERMINATE = WM_USER + 5;
constexpr UINT TB_MARKBUTTON = WM_USER + 6;
constexpr UINT TB_ISBUTTONENABLED = WM_USER + 9;
constexpr UINT TB_ISBUTTONCHECKED = WM_USER + 10;
constexpr UINT TB_ISBUTTONPRESSED = WM_USER + 11;
constexpr UINT TB_ISBUTTONHIDDEN = WM_USER + 12;
constexpr UINT TB_ISBUTTONINDETERMINATE = WM_USER + 13;
constexpr UINT TB_ISBUTTONHIGHLIGHTED = WM_USER + 14;
constexpr UINT TB_SETSTATE = WM_USER + 17;
constexpr UINT TB_GETSTATE = WM_USER + 18;
constexpr UINT TB_ADDBITMAP = WM_USER + 19;
constexpr UINT TB_ADDBUTTONSA = WM_USER + 20;
constexpr UINT TB_INSERTBUTTONA = WM_USER + 21;
constexpr UINT TB_DELETEBUTTON = WM_USER + 22;
constexpr UINT TB_GETBUTTON = WM_USER + 23;
constexpr UINT TB_BUTTONCOUNT = WM_USER + 24;
constexpr UINT TB_COMMANDTOINDEX = WM_USER + 25;
constexpr UINT TB_ADDSTRINGA = WM_USER + 28;
constexpr UINT TB_GETITEMRECT = WM_USER + 29;
constexpr UINT TB_BUTTONSTRUCTSIZE = WM_USER + 30;
constexpr UINT TB_SETBUTTONSIZE = WM_USER + 31;
constexpr UINT TB_SETBITMAPSIZE = WM_USER + 32;
constexpr UINT TB_AUTOSIZE = WM_USER + 33;
constexpr UINT TB_GETTOOLTIPS = WM_USER + 35;
constexpr UINT TB_SETTOOLTIPS = WM_USER + 36;
constexpr UINT TB_SETPARENT = WM_USER + 37;
constexpr UINT TB_SETROWS = WM_USER + 39;
constexpr UINT TB_GETROWS = WM_USER + 40;
constexpr UINT TB_SETCMDID = WM_USER + 42;
constexpr UINT TB_GETBUTTONTEXTA = WM_USER + 45;
constexpr UINT TB_SETINDENT = WM_USER + 47;
constexpr UINT TB_SETIMAGELIST = WM_USER + 48;
constexpr UINT TB_GETIMAGELIST = WM_USER + 49;
constexpr UINT TB_GETRECT = WM_USER + 51;
constexpr UINT TB_SETHOTIMAGELIST = WM_USER + 52;
constexpr UINT TB_GETHOTIMAGELIST = WM_USER + 53;
constexpr UINT TB_SETDISABLEDIMAGELIST = WM_USER + 54;
constexpr UINT TB_GETDISABLEDIMAGELIST = WM_USER + 55;
constexpr UINT TB_SETSTYLE = WM_USER + 56;
constexpr UINT TB_GETSTYLE = WM_USER + 57;
constexpr UINT TB_GETBUTTONSIZE = WM_USER + 58;
constexpr UINT TB_SETBUTTONWIDTH = WM_USER + 59;
constexpr UINT TB_SETMAXTEXTROWS = WM_USER + 60;
constexpr UINT TB_GETTEXTROWS = WM_USER + 61;
constexpr UINT TB_GETBUTTONINFOW = WM_USER + 63;
constexpr UINT TB_SETBUTTONINFOW = WM_USER + 64;
constexpr UINT TB_GETBUTTONINFOA = WM_USER + 65;
constexpr UINT TB_SETBUTTONINFOA = WM_USER + 66;
constexpr UINT TB_INSERTBUTTONW = WM_USER + 67;
constexpr UINT TB_ADDBUTTONSW = WM_USER + 68;
constexpr UINT TB_HITTEST = WM_USER + 69;
constexpr UINT TB_SETDRAWTEXTFLAGS = WM_USER + 70;
constexpr UINT TB_GETHOTITEM = WM_USER + 71;
constexpr UINT TB_SETHOTITEM = WM_USER + 72;
constexpr UINT TB_GETBUTTONTEXTW = WM_USER + 75;
constexpr UINT TB_ADDSTRINGW = WM_USER + 77;
constexpr UINT TB_GETMAXSIZE = WM_USER + 83;
constexpr UINT TB_SETEXTENDEDSTYLE = WM_USER + 84;
constexpr UINT TB_GETEXTENDEDSTYLE = WM_USER + 85;

constexpr BYTE TBSTATE_CHECKED = 0x01;
constexpr BYTE TBSTATE_PRESSED = 0x02;
constexpr BYTE TBSTATE_ENABLED = 0x04;
constexpr BYTE TBSTATE_HIDDEN = 0x08;
constexpr BYTE TBSTATE_INDETERMINATE = 0x10;
constexpr BYTE TBSTATE_WRAP = 0x20;
constexpr BYTE TBSTATE_ELLIPSES = 0x40;
constexpr BYTE TBSTATE_MARKED = 0x80;

// Button styles (BTNS_ in later headers).
constexpr BYTE TBSTYLE_BUTTON = 0x00;
constexpr BYTE TBSTYLE_SEP = 0x01;
constexpr BYTE TBSTYLE_CHECK = 0x02;
constexpr BYTE TBSTYLE_GROUP = 0x04;
constexpr BYTE TBSTYLE_CHECKGROUP = TBSTYLE_GROUP | TBSTYLE_CHECK;
constexpr BYTE TBSTYLE_DROPDOWN = 0x08;
constexpr BYTE TBSTYLE_AUTOSIZE = 0x10;
constexpr BYTE TBSTYLE_NOPREFIX = 0x20;
// Window styles of the tool bar itself.
constexpr DWORD TBSTYLE_TOOLTIPS = 0x0100;
constexpr DWORD TBSTYLE_WRAPABLE = 0x0200;
constexpr DWORD TBSTYLE_ALTDRAG = 0x0400;
constexpr DWORD TBSTYLE_FLAT = 0x0800;
constexpr DWORD TBSTYLE_LIST = 0x1000;
constexpr DWORD TBSTYLE_CUSTOMERASE = 0x2000;
constexpr DWORD TBSTYLE_TRANSPARENT = 0x8000;
constexpr DWORD TBSTYLE_EX_DRAWDDARROWS = 0x0001;

constexpr DWORD TBIF_IMAGE = 0x00000001;
constexpr DWORD TBIF_TEXT = 0x00000002;
constexpr DWORD TBIF_STATE = 0x00000004;
constexpr DWORD TBIF_STYLE = 0x00000008;
constexpr DWORD TBIF_LPARAM = 0x00000010;
constexpr DWORD TBIF_COMMAND = 0x00000020;
constexpr DWORD TBIF_SIZE = 0x00000040;
constexpr DWORD TBIF_BYINDEX = 0x80000000;

constexpr UINT TBN_DROPDOWN = NotificationCode(-710);
// The parent's answer to TBN_DROPDOWN when it has handled it.
constexpr LRESULT TBDDRET_DEFAULT = 0;
constexpr UINT TBN_HOTITEMCHANGE = NotificationCode(-713);
constexpr UINT TBN_DELETINGBUTTON = NotificationCode(-715);

struct TBBUTTON {
    int iBitmap = 0;
    int idCommand = 0;
    BYTE fsState = 0;
    BYTE fsStyle = 0;
    BYTE bReserved[6] = {};
    DWORD_PTR dwData = 0;
    // A string index, or a pointer to the text (ANSI or UTF-16 as the message says).
    INT_PTR iString = 0;
};

template <typename Char> struct TBBUTTONINFO_T {
    UINT cbSize = sizeof(TBBUTTONINFO_T);
    DWORD dwMask = 0;
    int idCommand = 0;
    int iImage = 0;
    BYTE fsState = 0;
    BYTE fsStyle = 0;
    WORD cx = 0;
    DWORD_PTR lParam = 0;
    Char* pszText = nullptr;
    int cchText = 0;
};
using TBBUTTONINFOA = TBBUTTONINFO_T<char>;
using TBBUTTONINFOW = TBBUTTONINFO_T<WCHAR>;

struct NMTOOLBARA {
    NMHDR hdr;
    int iItem = 0;
    TBBUTTON tbButton;
    int cchText = 0;
    LPSTR pszText = nullptr;
    RECT rcButton;
};

struct NMTBHOTITEM {
    NMHDR hdr;
    int idOld = 0;
    int idNew = 0;
    DWORD dwFlags = 0;
};
constexpr DWORD HICF_MOUSE = 0x00000001;
constexpr DWORD HICF_LEAVING = 0x00000020;

// ---- List view ----------------------------------------------------------------------------------

constexpr UINT LVM_FIRST = 0x1000;
constexpr UINT LVM_GETBKCOLOR = LVM_FIRST + 0;
constexpr UINT LVM_SETBKCOLOR = LVM_FIRST + 1;
constexpr UINT LVM_GETIMAGELIST = LVM_FIRST + 2;
constexpr UINT LVM_SETIMAGELIST = LVM_FIRST + 3;
constexpr UINT LVM_GETITEMCOUNT = LVM_FIRST + 4;
constexpr UINT LVM_GETITEMA = LVM_FIRST + 5;
constexpr UINT LVM_SETITEMA = LVM_FIRST + 6;
constexpr UINT LVM_INSERTITEMA = LVM_FIRST + 7;
constexpr UINT LVM_DELETEITEM = LVM_FIRST + 8;
constexpr UINT LVM_DELETEALLITEMS = LVM_FIRST + 9;
constexpr UINT LVM_GETCALLBACKMASK = LVM_FIRST + 10;
constexpr UINT LVM_SETCALLBACKMASK = LVM_FIRST + 11;
constexpr UINT LVM_GETNEXTITEM = LVM_FIRST + 12;
constexpr UINT LVM_FINDITEMA = LVM_FIRST + 13;
constexpr UINT LVM_GETITEMRECT = LVM_FIRST + 14;
constexpr UINT LVM_SETITEMPOSITION = LVM_FIRST + 15;
constexpr UINT LVM_GETITEMPOSITION = LVM_FIRST + 16;
constexpr UINT LVM_GETSTRINGWIDTHA = LVM_FIRST + 17;
constexpr UINT LVM_HITTEST = LVM_FIRST + 18;
constexpr UINT LVM_ENSUREVISIBLE = LVM_FIRST + 19;
constexpr UINT LVM_SCROLL = LVM_FIRST + 20;
constexpr UINT LVM_REDRAWITEMS = LVM_FIRST + 21;
constexpr UINT LVM_ARRANGE = LVM_FIRST + 22;
constexpr UINT LVM_EDITLABELA = LVM_FIRST + 23;
constexpr UINT LVM_GETEDITCONTROL = LVM_FIRST + 24;
constexpr UINT LVM_GETCOLUMNA = LVM_FIRST + 25;
constexpr UINT LVM_SETCOLUMNA = LVM_FIRST + 26;
constexpr UINT LVM_INSERTCOLUMNA = LVM_FIRST + 27;
constexpr UINT LVM_DELETECOLUMN = LVM_FIRST + 28;
constexpr UINT LVM_GETCOLUMNWIDTH = LVM_FIRST + 29;
constexpr UINT LVM_SETCOLUMNWIDTH = LVM_FIRST + 30;
constexpr UINT LVM_GETHEADER = LVM_FIRST + 31;
constexpr UINT LVM_GETVIEWRECT = LVM_FIRST + 34;
constexpr UINT LVM_GETTEXTCOLOR = LVM_FIRST + 35;
constexpr UINT LVM_SETTEXTCOLOR = LVM_FIRST + 36;
constexpr UINT LVM_GETTEXTBKCOLOR = LVM_FIRST + 37;
constexpr UINT LVM_SETTEXTBKCOLOR = LVM_FIRST + 38;
constexpr UINT LVM_GETTOPINDEX = LVM_FIRST + 39;
constexpr UINT LVM_GETCOUNTPERPAGE = LVM_FIRST + 40;
constexpr UINT LVM_GETORIGIN = LVM_FIRST + 41;
constexpr UINT LVM_UPDATE = LVM_FIRST + 42;
constexpr UINT LVM_SETITEMSTATE = LVM_FIRST + 43;
constexpr UINT LVM_GETITEMSTATE = LVM_FIRST + 44;
constexpr UINT LVM_GETITEMTEXTA = LVM_FIRST + 45;
constexpr UINT LVM_SETITEMTEXTA = LVM_FIRST + 46;
constexpr UINT LVM_SETITEMCOUNT = LVM_FIRST + 47;
constexpr UINT LVM_SORTITEMS = LVM_FIRST + 48;
constexpr UINT LVM_GETSELECTEDCOUNT = LVM_FIRST + 50;
constexpr UINT LVM_GETITEMSPACING = LVM_FIRST + 51;
constexpr UINT LVM_GETISEARCHSTRINGA = LVM_FIRST + 52;
constexpr UINT LVM_SETEXTENDEDLISTVIEWSTYLE = LVM_FIRST + 54;
constexpr UINT LVM_GETEXTENDEDLISTVIEWSTYLE = LVM_FIRST + 55;
constexpr UINT LVM_GETSUBITEMRECT = LVM_FIRST + 56;
constexpr UINT LVM_SUBITEMHITTEST = LVM_FIRST + 57;
constexpr UINT LVM_GETSELECTIONMARK = LVM_FIRST + 66;
constexpr UINT LVM_SETSELECTIONMARK = LVM_FIRST + 67;
constexpr UINT LVM_SETTOOLTIPS = LVM_FIRST + 74;
constexpr UINT LVM_GETITEMW = LVM_FIRST + 75;
constexpr UINT LVM_GETTOOLTIPS = LVM_FIRST + 78;
constexpr UINT LVM_SETITEMW = LVM_FIRST + 76;
constexpr UINT LVM_INSERTITEMW = LVM_FIRST + 77;
constexpr UINT LVM_FINDITEMW = LVM_FIRST + 83;
constexpr UINT LVM_GETSTRINGWIDTHW = LVM_FIRST + 87;
constexpr UINT LVM_GETCOLUMNW = LVM_FIRST + 95;
constexpr UINT LVM_SETCOLUMNW = LVM_FIRST + 96;
constexpr UINT LVM_INSERTCOLUMNW = LVM_FIRST + 97;
constexpr UINT LVM_GETITEMTEXTW = LVM_FIRST + 115;
constexpr UINT LVM_SETITEMTEXTW = LVM_FIRST + 116;
constexpr UINT LVM_GETISEARCHSTRINGW = LVM_FIRST + 117;
constexpr UINT LVM_EDITLABELW = LVM_FIRST + 118;

constexpr DWORD LVS_ICON = 0x0000;
constexpr DWORD LVS_REPORT = 0x0001;
constexpr DWORD LVS_SMALLICON = 0x0002;
constexpr DWORD LVS_LIST = 0x0003;
constexpr DWORD LVS_TYPEMASK = 0x0003;
constexpr DWORD LVS_SINGLESEL = 0x0004;
constexpr DWORD LVS_SHOWSELALWAYS = 0x0008;
constexpr DWORD LVS_SORTASCENDING = 0x0010;
constexpr DWORD LVS_SORTDESCENDING = 0x0020;
constexpr DWORD LVS_SHAREIMAGELISTS = 0x0040;
constexpr DWORD LVS_NOLABELWRAP = 0x0080;
constexpr DWORD LVS_AUTOARRANGE = 0x0100;
constexpr DWORD LVS_EDITLABELS = 0x0200;
constexpr DWORD LVS_OWNERDRAWFIXED = 0x0400;
constexpr DWORD LVS_ALIGNLEFT = 0x0800;
constexpr DWORD LVS_OWNERDATA = 0x1000;
constexpr DWORD LVS_NOSCROLL = 0x2000;
constexpr DWORD LVS_NOCOLUMNHEADER = 0x4000;
constexpr DWORD LVS_NOSORTHEADER = 0x8000;

constexpr DWORD LVS_EX_GRIDLINES = 0x00000001;
constexpr DWORD LVS_EX_SUBITEMIMAGES = 0x00000002;
constexpr DWORD LVS_EX_CHECKBOXES = 0x00000004;
constexpr DWORD LVS_EX_TRACKSELECT = 0x00000008;
constexpr DWORD LVS_EX_HEADERDRAGDROP = 0x00000010;
constexpr DWORD LVS_EX_FULLROWSELECT = 0x00000020;
constexpr DWORD LVS_EX_ONECLICKACTIVATE = 0x00000040;
constexpr DWORD LVS_EX_TWOCLICKACTIVATE = 0x00000080;
constexpr DWORD LVS_EX_INFOTIP = 0x00000400;

constexpr UINT LVIF_TEXT = 0x0001;
constexpr UINT LVIF_IMAGE = 0x0002;
constexpr UINT LVIF_PARAM = 0x0004;
constexpr UINT LVIF_STATE = 0x0008;
constexpr UINT LVIF_INDENT = 0x0010;
constexpr UINT LVIF_NORECOMPUTE = 0x0800;
constexpr UINT LVIF_DI_SETITEM = 0x1000;

constexpr UINT LVIS_FOCUSED = 0x0001;
constexpr UINT LVIS_SELECTED = 0x0002;
constexpr UINT LVIS_CUT = 0x0004;
constexpr UINT LVIS_DROPHILITED = 0x0008;
constexpr UINT LVIS_OVERLAYMASK = 0x0F00;
constexpr UINT LVIS_STATEIMAGEMASK = 0xF000;

constexpr UINT LVNI_ALL = 0x0000;
constexpr UINT LVNI_FOCUSED = 0x0001;
constexpr UINT LVNI_SELECTED = 0x0002;
constexpr UINT LVNI_CUT = 0x0004;
constexpr UINT LVNI_DROPHILITED = 0x0008;
constexpr UINT LVNI_ABOVE = 0x0100;
constexpr UINT LVNI_BELOW = 0x0200;
constexpr UINT LVNI_TOLEFT = 0x0400;
constexpr UINT LVNI_TORIGHT = 0x0800;

constexpr int LVIR_BOUNDS = 0;
constexpr int LVIR_ICON = 1;
constexpr int LVIR_LABEL = 2;
constexpr int LVIR_SELECTBOUNDS = 3;

constexpr UINT LVHT_NOWHERE = 0x0001;
constexpr UINT LVHT_ONITEMICON = 0x0002;
constexpr UINT LVHT_ONITEMLABEL = 0x0004;
constexpr UINT LVHT_ONITEMSTATEICON = 0x0008;
constexpr UINT LVHT_ONITEM = LVHT_ONITEMICON | LVHT_ONITEMLABEL | LVHT_ONITEMSTATEICON;
constexpr UINT LVHT_ABOVE = 0x0008;
constexpr UINT LVHT_BELOW = 0x0010;
constexpr UINT LVHT_TORIGHT = 0x0020;
constexpr UINT LVHT_TOLEFT = 0x0040;

constexpr UINT LVCF_FMT = 0x0001;
constexpr UINT LVCF_WIDTH = 0x0002;
constexpr UINT LVCF_TEXT = 0x0004;
constexpr UINT LVCF_SUBITEM = 0x0008;
constexpr UINT LVCF_IMAGE = 0x0010;
constexpr UINT LVCF_ORDER = 0x0020;

constexpr int LVCFMT_LEFT = 0x0000;
constexpr int LVCFMT_RIGHT = 0x0001;
constexpr int LVCFMT_CENTER = 0x0002;
constexpr int LVCFMT_JUSTIFYMASK = 0x0003;

constexpr int LVSCW_AUTOSIZE = -1;
constexpr int LVSCW_AUTOSIZE_USEHEADER = -2;

constexpr UINT LVFI_PARAM = 0x0001;
constexpr UINT LVFI_STRING = 0x0002;
constexpr UINT LVFI_PARTIAL = 0x0008;
constexpr UINT LVFI_WRAP = 0x0020;
constexpr UINT LVFI_NEARESTXY = 0x0040;

constexpr int LVSIL_NORMAL = 0;
constexpr int LVSIL_SMALL = 1;
constexpr int LVSIL_STATE = 2;

constexpr UINT LVN_ITEMCHANGING = NotificationCode(-100);
constexpr UINT LVN_ITEMCHANGED = NotificationCode(-101);
constexpr UINT LVN_INSERTITEM = NotificationCode(-102);
constexpr UINT LVN_DELETEITEM = NotificationCode(-103);
constexpr UINT LVN_DELETEALLITEMS = NotificationCode(-104);
constexpr UINT LVN_BEGINLABELEDITA = NotificationCode(-105);
constexpr UINT LVN_ENDLABELEDITA = NotificationCode(-106);
constexpr UINT LVN_COLUMNCLICK = NotificationCode(-108);
constexpr UINT LVN_BEGINDRAG = NotificationCode(-109);
constexpr UINT LVN_BEGINRDRAG = NotificationCode(-111);
constexpr UINT LVN_ODCACHEHINT = NotificationCode(-113);
constexpr UINT LVN_ITEMACTIVATE = NotificationCode(-114);
constexpr UINT LVN_ODSTATECHANGED = NotificationCode(-115);
constexpr UINT LVN_GETDISPINFOA = NotificationCode(-150);
constexpr UINT LVN_SETDISPINFOA = NotificationCode(-151);
constexpr UINT LVN_ODFINDITEMA = NotificationCode(-152);
constexpr UINT LVN_KEYDOWN = NotificationCode(-155);
constexpr UINT LVN_GETINFOTIPA = NotificationCode(-157);
constexpr UINT LVN_GETINFOTIPW = NotificationCode(-158);
constexpr UINT LVN_BEGINLABELEDITW = NotificationCode(-175);
constexpr UINT LVN_ENDLABELEDITW = NotificationCode(-176);
constexpr UINT LVN_GETDISPINFOW = NotificationCode(-177);
constexpr UINT LVN_SETDISPINFOW = NotificationCode(-178);
constexpr UINT LVN_ODFINDITEMW = NotificationCode(-179);

template <typename Char> struct LVITEM_T {
    UINT mask = 0;
    int iItem = 0;
    int iSubItem = 0;
    UINT state = 0;
    UINT stateMask = 0;
    Char* pszText = nullptr;
    int cchTextMax = 0;
    int iImage = 0;
    LPARAM lParam = 0;
    int iIndent = 0;
};
using LVITEMA = LVITEM_T<char>;
using LVITEMW = LVITEM_T<WCHAR>;

template <typename Char> struct LVCOLUMN_T {
    UINT mask = 0;
    int fmt = 0;
    int cx = 0;
    Char* pszText = nullptr;
    int cchTextMax = 0;
    int iSubItem = 0;
    int iImage = 0;
    int iOrder = 0;
};
using LVCOLUMNA = LVCOLUMN_T<char>;
using LVCOLUMNW = LVCOLUMN_T<WCHAR>;

template <typename Char> struct LVFINDINFO_T {
    UINT flags = 0;
    const Char* psz = nullptr;
    LPARAM lParam = 0;
    POINT pt;
    UINT vkDirection = 0;
};
using LVFINDINFOA = LVFINDINFO_T<char>;
using LVFINDINFOW = LVFINDINFO_T<WCHAR>;

struct LVHITTESTINFO {
    POINT pt;
    UINT flags = 0;
    int iItem = -1;
    int iSubItem = 0;
};

struct NMLISTVIEW {
    NMHDR hdr;
    int iItem = -1;
    int iSubItem = 0;
    UINT uNewState = 0;
    UINT uOldState = 0;
    UINT uChanged = 0;
    POINT ptAction;
    LPARAM lParam = 0;
};

struct NMITEMACTIVATE {
    NMHDR hdr;
    int iItem = -1;
    int iSubItem = 0;
    UINT uNewState = 0;
    UINT uOldState = 0;
    UINT uChanged = 0;
    POINT ptAction;
    LPARAM lParam = 0;
    UINT uKeyFlags = 0;
};

template <typename Char> struct NMLVDISPINFO_T {
    NMHDR hdr;
    LVITEM_T<Char> item;
};
using NMLVDISPINFOA = NMLVDISPINFO_T<char>;
using NMLVDISPINFOW = NMLVDISPINFO_T<WCHAR>;

template <typename Char> struct NMLVFINDITEM_T {
    NMHDR hdr;
    int iStart = 0;
    LVFINDINFO_T<Char> lvfi;
};
using NMLVFINDITEMA = NMLVFINDITEM_T<char>;
using NMLVFINDITEMW = NMLVFINDITEM_T<WCHAR>;

// LVN_GETINFOTIP: the list view offers the item's text in pszText when the
// item shows it cut short, else an empty text and LVGIT_UNFOLDED.
constexpr DWORD LVGIT_UNFOLDED = 0x0001;
template <typename Char> struct NMLVGETINFOTIP_T {
    NMHDR hdr;
    DWORD dwFlags = 0;
    Char* pszText = nullptr;
    int cchTextMax = 0;
    int iItem = -1;
    int iSubItem = 0;
    LPARAM lParam = 0;
};
using NMLVGETINFOTIPA = NMLVGETINFOTIP_T<char>;
using NMLVGETINFOTIPW = NMLVGETINFOTIP_T<WCHAR>;

struct NMLVKEYDOWN {
    NMHDR hdr;
    WORD wVKey = 0;
    UINT flags = 0;
};

// LVM_SORTITEMS compares the lParam values of two items.
using PFNLVCOMPARE = int (*)(LPARAM first, LPARAM second, LPARAM sortParam);

// ---- Tree view ---------------------------------------------------------------------------------

struct TreeItem;
using HTREEITEM = TreeItem*;

inline HTREEITEM TreeItemConstant(INT_PTR value) {
    return reinterpret_cast<HTREEITEM>(value);
}
inline const HTREEITEM TVI_ROOT = TreeItemConstant(-0x10000);
inline const HTREEITEM TVI_FIRST = TreeItemConstant(-0x0FFFF);
inline const HTREEITEM TVI_LAST = TreeItemConstant(-0x0FFFE);
inline const HTREEITEM TVI_SORT = TreeItemConstant(-0x0FFFD);

constexpr UINT TV_FIRST = 0x1100;
constexpr UINT TVM_INSERTITEMA = TV_FIRST + 0;
constexpr UINT TVM_DELETEITEM = TV_FIRST + 1;
constexpr UINT TVM_EXPAND = TV_FIRST + 2;
constexpr UINT TVM_GETITEMRECT = TV_FIRST + 4;
constexpr UINT TVM_GETCOUNT = TV_FIRST + 5;
constexpr UINT TVM_GETINDENT = TV_FIRST + 6;
constexpr UINT TVM_SETINDENT = TV_FIRST + 7;
constexpr UINT TVM_GETIMAGELIST = TV_FIRST + 8;
constexpr UINT TVM_SETIMAGELIST = TV_FIRST + 9;
constexpr UINT TVM_GETNEXTITEM = TV_FIRST + 10;
constexpr UINT TVM_SELECTITEM = TV_FIRST + 11;
constexpr UINT TVM_GETITEMA = TV_FIRST + 12;
constexpr UINT TVM_SETITEMA = TV_FIRST + 13;
constexpr UINT TVM_EDITLABELA = TV_FIRST + 14;
constexpr UINT TVM_GETEDITCONTROL = TV_FIRST + 15;
constexpr UINT TVM_GETVISIBLECOUNT = TV_FIRST + 16;
constexpr UINT TVM_HITTEST = TV_FIRST + 17;
constexpr UINT TVM_CREATEDRAGIMAGE = TV_FIRST + 18;
constexpr UINT TVM_SORTCHILDREN = TV_FIRST + 19;
constexpr UINT TVM_ENSUREVISIBLE = TV_FIRST + 20;
constexpr UINT TVM_SORTCHILDRENCB = TV_FIRST + 21;
constexpr UINT TVM_ENDEDITLABELNOW = TV_FIRST + 22;
constexpr UINT TVM_GETISEARCHSTRINGA = TV_FIRST + 23;
constexpr UINT TVM_SETTOOLTIPS = TV_FIRST + 24;
constexpr UINT TVM_GETTOOLTIPS = TV_FIRST + 25;
constexpr UINT TVM_SETITEMHEIGHT = TV_FIRST + 27;
constexpr UINT TVM_GETITEMHEIGHT = TV_FIRST + 28;
constexpr UINT TVM_SETBKCOLOR = TV_FIRST + 29;
constexpr UINT TVM_SETTEXTCOLOR = TV_FIRST + 30;
constexpr UINT TVM_GETBKCOLOR = TV_FIRST + 31;
constexpr UINT TVM_GETTEXTCOLOR = TV_FIRST + 32;
constexpr UINT TVM_GETITEMSTATE = TV_FIRST + 39;
constexpr UINT TVM_SETLINECOLOR = TV_FIRST + 40;
constexpr UINT TVM_GETLINECOLOR = TV_FIRST + 41;
constexpr UINT TVM_INSERTITEMW = TV_FIRST + 50;
constexpr UINT TVM_GETITEMW = TV_FIRST + 62;
constexpr UINT TVM_SETITEMW = TV_FIRST + 63;
constexpr UINT TVM_GETISEARCHSTRINGW = TV_FIRST + 64;
constexpr UINT TVM_EDITLABELW = TV_FIRST + 65;

constexpr DWORD TVS_HASBUTTONS = 0x0001;
constexpr DWORD TVS_HASLINES = 0x0002;
constexpr DWORD TVS_LINESATROOT = 0x0004;
constexpr DWORD TVS_EDITLABELS = 0x0008;
constexpr DWORD TVS_DISABLEDRAGDROP = 0x0010;
constexpr DWORD TVS_SHOWSELALWAYS = 0x0020;
constexpr DWORD TVS_RTLREADING = 0x0040;
constexpr DWORD TVS_NOTOOLTIPS = 0x0080;
constexpr DWORD TVS_CHECKBOXES = 0x0100;
constexpr DWORD TVS_TRACKSELECT = 0x0200;
constexpr DWORD TVS_SINGLEEXPAND = 0x0400;
constexpr DWORD TVS_INFOTIP = 0x0800;
constexpr DWORD TVS_FULLROWSELECT = 0x1000;
constexpr DWORD TVS_NOSCROLL = 0x2000;
constexpr DWORD TVS_NONEVENHEIGHT = 0x4000;
constexpr DWORD TVS_NOHSCROLL = 0x8000;

constexpr UINT TVIF_TEXT = 0x0001;
constexpr UINT TVIF_IMAGE = 0x0002;
constexpr UINT TVIF_PARAM = 0x0004;
constexpr UINT TVIF_STATE = 0x0008;
constexpr UINT TVIF_HANDLE = 0x0010;
constexpr UINT TVIF_SELECTEDIMAGE = 0x0020;
constexpr UINT TVIF_CHILDREN = 0x0040;
constexpr UINT TVIF_INTEGRAL = 0x0080;
constexpr UINT TVIF_DI_SETITEM = 0x1000;

constexpr UINT TVIS_SELECTED = 0x0002;
constexpr UINT TVIS_CUT = 0x0004;
constexpr UINT TVIS_DROPHILITED = 0x0008;
constexpr UINT TVIS_BOLD = 0x0010;
constexpr UINT TVIS_EXPANDED = 0x0020;
constexpr UINT TVIS_EXPANDEDONCE = 0x0040;
constexpr UINT TVIS_OVERLAYMASK = 0x0F00;
constexpr UINT TVIS_STATEIMAGEMASK = 0xF000;

constexpr int I_CHILDRENCALLBACK = -1;

constexpr UINT TVE_COLLAPSE = 0x0001;
constexpr UINT TVE_EXPAND = 0x0002;
constexpr UINT TVE_TOGGLE = 0x0003;
constexpr UINT TVE_ACTIONMASK = 0x0003;
constexpr UINT TVE_COLLAPSERESET = 0x8000;

constexpr UINT TVGN_ROOT = 0x0000;
constexpr UINT TVGN_NEXT = 0x0001;
constexpr UINT TVGN_PREVIOUS = 0x0002;
constexpr UINT TVGN_PARENT = 0x0003;
constexpr UINT TVGN_CHILD = 0x0004;
constexpr UINT TVGN_FIRSTVISIBLE = 0x0005;
constexpr UINT TVGN_NEXTVISIBLE = 0x0006;
constexpr UINT TVGN_PREVIOUSVISIBLE = 0x0007;
constexpr UINT TVGN_DROPHILITE = 0x0008;
constexpr UINT TVGN_CARET = 0x0009;
constexpr UINT TVGN_LASTVISIBLE = 0x000A;

constexpr int TVSIL_NORMAL = 0;
constexpr int TVSIL_STATE = 2;

constexpr UINT TVHT_NOWHERE = 0x0001;
constexpr UINT TVHT_ONITEMICON = 0x0002;
constexpr UINT TVHT_ONITEMLABEL = 0x0004;
constexpr UINT TVHT_ONITEMINDENT = 0x0008;
constexpr UINT TVHT_ONITEMBUTTON = 0x0010;
constexpr UINT TVHT_ONITEMRIGHT = 0x0020;
constexpr UINT TVHT_ONITEMSTATEICON = 0x0040;
constexpr UINT TVHT_ONITEM = TVHT_ONITEMICON | TVHT_ONITEMLABEL | TVHT_ONITEMSTATEICON;
constexpr UINT TVHT_ABOVE = 0x0100;
constexpr UINT TVHT_BELOW = 0x0200;
constexpr UINT TVHT_TORIGHT = 0x0400;
constexpr UINT TVHT_TOLEFT = 0x0800;

// How a selection change came about (NMTREEVIEW's action).
constexpr UINT TVC_UNKNOWN = 0x0000;
constexpr UINT TVC_BYMOUSE = 0x0001;
constexpr UINT TVC_BYKEYBOARD = 0x0002;

constexpr UINT TVN_SELCHANGINGA = NotificationCode(-401);
constexpr UINT TVN_SELCHANGEDA = NotificationCode(-402);
constexpr UINT TVN_GETDISPINFOA = NotificationCode(-403);
constexpr UINT TVN_SETDISPINFOA = NotificationCode(-404);
constexpr UINT TVN_ITEMEXPANDINGA = NotificationCode(-405);
constexpr UINT TVN_ITEMEXPANDEDA = NotificationCode(-406);
constexpr UINT TVN_BEGINDRAGA = NotificationCode(-407);
constexpr UINT TVN_BEGINRDRAGA = NotificationCode(-408);
constexpr UINT TVN_DELETEITEMA = NotificationCode(-409);
constexpr UINT TVN_BEGINLABELEDITA = NotificationCode(-410);
constexpr UINT TVN_ENDLABELEDITA = NotificationCode(-411);
constexpr UINT TVN_KEYDOWN = NotificationCode(-412);
constexpr UINT TVN_SELCHANGINGW = NotificationCode(-450);
constexpr UINT TVN_SELCHANGEDW = NotificationCode(-451);
constexpr UINT TVN_GETDISPINFOW = NotificationCode(-452);
constexpr UINT TVN_SETDISPINFOW = NotificationCode(-453);
constexpr UINT TVN_ITEMEXPANDINGW = NotificationCode(-454);
constexpr UINT TVN_ITEMEXPANDEDW = NotificationCode(-455);
constexpr UINT TVN_BEGINDRAGW = NotificationCode(-456);
constexpr UINT TVN_BEGINRDRAGW = NotificationCode(-457);
constexpr UINT TVN_DELETEITEMW = NotificationCode(-458);
constexpr UINT TVN_BEGINLABELEDITW = NotificationCode(-459);
constexpr UINT TVN_ENDLABELEDITW = NotificationCode(-460);

template <typename Char> struct TVITEM_T {
    UINT mask = 0;
    HTREEITEM hItem = nullptr;
    UINT state = 0;
    UINT stateMask = 0;
    Char* pszText = nullptr;
    int cchTextMax = 0;
    int iImage = 0;
    int iSelectedImage = 0;
    int cChildren = 0;
    LPARAM lParam = 0;
};
using TVITEMA = TVITEM_T<char>;
using TVITEMW = TVITEM_T<WCHAR>;

template <typename Char> struct TVITEMEX_T {
    UINT mask = 0;
    HTREEITEM hItem = nullptr;
    UINT state = 0;
    UINT stateMask = 0;
    Char* pszText = nullptr;
    int cchTextMax = 0;
    int iImage = 0;
    int iSelectedImage = 0;
    int cChildren = 0;
    LPARAM lParam = 0;
    int iIntegral = 0;
};

template <typename Char> struct TVINSERTSTRUCT_T {
    HTREEITEM hParent = nullptr;
    HTREEITEM hInsertAfter = nullptr;
    union {
        TVITEMEX_T<Char> itemex;
        TVITEM_T<Char> item;
    };
    TVINSERTSTRUCT_T() : itemex() {}
};
using TVINSERTSTRUCTA = TVINSERTSTRUCT_T<char>;
using TVINSERTSTRUCTW = TVINSERTSTRUCT_T<WCHAR>;

template <typename Char> struct NMTREEVIEW_T {
    NMHDR hdr;
    UINT action = 0;
    TVITEM_T<Char> itemOld;
    TVITEM_T<Char> itemNew;
    POINT ptDrag;
};
using NMTREEVIEWA = NMTREEVIEW_T<char>;
using NMTREEVIEWW = NMTREEVIEW_T<WCHAR>;

template <typename Char> struct NMTVDISPINFO_T {
    NMHDR hdr;
    TVITEM_T<Char> item;
};
using NMTVDISPINFOA = NMTVDISPINFO_T<char>;
using NMTVDISPINFOW = NMTVDISPINFO_T<WCHAR>;

struct NMTVKEYDOWN {
    NMHDR hdr;
    WORD wVKey = 0;
    UINT flags = 0;
};

struct TVHITTESTINFO {
    POINT pt;
    UINT flags = 0;
    HTREEITEM hItem = nullptr;
};

using PFNTVCOMPARE = int (*)(LPARAM first, LPARAM second, LPARAM sortParam);

struct TVSORTCB {
    HTREEITEM hParent = nullptr;
    PFNTVCOMPARE lpfnCompare = nullptr;
    LPARAM lParam = 0;
};

// ---- Tooltips -----------------------------------------------------------------------------------

constexpr UINT TTM_ACTIVATE = WM_USER + 1;
constexpr UINT TTM_SETDELAYTIME = WM_USER + 3;
constexpr UINT TTM_ADDTOOLA = WM_USER + 4;
constexpr UINT TTM_DELTOOLA = WM_USER + 5;
constexpr UINT TTM_NEWTOOLRECTA = WM_USER + 6;
constexpr UINT TTM_RELAYEVENT = WM_USER + 7;
constexpr UINT TTM_GETTOOLINFOA = WM_USER + 8;
constexpr UINT TTM_SETTOOLINFOA = WM_USER + 9;
constexpr UINT TTM_HITTESTA = WM_USER + 10;
constexpr UINT TTM_GETTEXTA = WM_USER + 11;
constexpr UINT TTM_UPDATETIPTEXTA = WM_USER + 12;
constexpr UINT TTM_GETTOOLCOUNT = WM_USER + 13;
constexpr UINT TTM_ENUMTOOLSA = WM_USER + 14;
constexpr UINT TTM_GETCURRENTTOOLA = WM_USER + 15;
constexpr UINT TTM_WINDOWFROMPOINT = WM_USER + 16;
constexpr UINT TTM_TRACKACTIVATE = WM_USER + 17;
constexpr UINT TTM_TRACKPOSITION = WM_USER + 18;
constexpr UINT TTM_SETTIPBKCOLOR = WM_USER + 19;
constexpr UINT TTM_SETTIPTEXTCOLOR = WM_USER + 20;
constexpr UINT TTM_GETDELAYTIME = WM_USER + 21;
constexpr UINT TTM_GETTIPBKCOLOR = WM_USER + 22;
constexpr UINT TTM_GETTIPTEXTCOLOR = WM_USER + 23;
constexpr UINT TTM_SETMAXTIPWIDTH = WM_USER + 24;
constexpr UINT TTM_GETMAXTIPWIDTH = WM_USER + 25;
constexpr UINT TTM_SETMARGIN = WM_USER + 26;
constexpr UINT TTM_GETMARGIN = WM_USER + 27;
constexpr UINT TTM_POP = WM_USER + 28;
constexpr UINT TTM_UPDATE = WM_USER + 29;
constexpr UINT TTM_POPUP = WM_USER + 34;
constexpr UINT TTM_ADDTOOLW = WM_USER + 50;
constexpr UINT TTM_DELTOOLW = WM_USER + 51;
constexpr UINT TTM_NEWTOOLRECTW = WM_USER + 52;
constexpr UINT TTM_GETTOOLINFOW = WM_USER + 53;
constexpr UINT TTM_SETTOOLINFOW = WM_USER + 54;
constexpr UINT TTM_HITTESTW = WM_USER + 55;
constexpr UINT TTM_GETTEXTW = WM_USER + 56;
constexpr UINT TTM_UPDATETIPTEXTW = WM_USER + 57;
constexpr UINT TTM_ENUMTOOLSW = WM_USER + 58;
constexpr UINT TTM_GETCURRENTTOOLW = WM_USER + 59;

constexpr DWORD TTS_ALWAYSTIP = 0x01;
constexpr DWORD TTS_NOPREFIX = 0x02;

constexpr UINT TTF_IDISHWND = 0x0001;
constexpr UINT TTF_CENTERTIP = 0x0002;
constexpr UINT TTF_RTLREADING = 0x0004;
constexpr UINT TTF_SUBCLASS = 0x0010;
constexpr UINT TTF_TRACK = 0x0020;
constexpr UINT TTF_ABSOLUTE = 0x0080;
constexpr UINT TTF_TRANSPARENT = 0x0100;
constexpr UINT TTF_DI_SETITEM = 0x8000;

constexpr WPARAM TTDT_AUTOMATIC = 0;
constexpr WPARAM TTDT_RESHOW = 1;
constexpr WPARAM TTDT_AUTOPOP = 2;
constexpr WPARAM TTDT_INITIAL = 3;

constexpr UINT TTN_GETDISPINFOA = NotificationCode(-520);
constexpr UINT TTN_NEEDTEXTA = TTN_GETDISPINFOA;
constexpr UINT TTN_SHOW = NotificationCode(-521);
constexpr UINT TTN_POP = NotificationCode(-522);
constexpr UINT TTN_GETDISPINFOW = NotificationCode(-530);
constexpr UINT TTN_NEEDTEXTW = TTN_GETDISPINFOW;

template <typename Char> struct TTTOOLINFO_T {
    UINT cbSize = sizeof(TTTOOLINFO_T);
    UINT uFlags = 0;
    HWND hwnd = nullptr;
    UINT_PTR uId = 0;
    RECT rect;
    HINSTANCE hinst = nullptr;
    Char* lpszText = nullptr;
    LPARAM lParam = 0;
    void* lpReserved = nullptr;
};
using TTTOOLINFOA = TTTOOLINFO_T<char>;
using TTTOOLINFOW = TTTOOLINFO_T<WCHAR>;
using TOOLINFOA = TTTOOLINFOA;
using TOOLINFOW = TTTOOLINFOW;

template <typename Char> struct NMTTDISPINFO_T {
    NMHDR hdr;
    Char* lpszText = nullptr;
    Char szText[80] = {};
    HINSTANCE hinst = nullptr;
    UINT uFlags = 0;
    LPARAM lParam = 0;
};
using NMTTDISPINFOA = NMTTDISPINFO_T<char>;
using NMTTDISPINFOW = NMTTDISPINFO_T<WCHAR>;

template <typename Char> struct TTHITTESTINFO_T {
    HWND hwnd = nullptr;
    POINT pt;
    TTTOOLINFO_T<Char> ti;
};
using TTHITTESTINFOA = TTHITTESTINFO_T<char>;
using TTHITTESTINFOW = TTHITTESTINFO_T<WCHAR>;

// ---- Rich edit ------------------------------------------------------------------------------------

constexpr UINT EM_CANPASTE = WM_USER + 50;
constexpr UINT EM_EXGETSEL = WM_USER + 52;
constexpr UINT EM_EXLIMITTEXT = WM_USER + 53;
constexpr UINT EM_EXLINEFROMCHAR = WM_USER + 54;
constexpr UINT EM_EXSETSEL = WM_USER + 55;
constexpr UINT EM_FINDTEXT = WM_USER + 56;
constexpr UINT EM_GETCHARFORMAT = WM_USER + 58;
constexpr UINT EM_GETEVENTMASK = WM_USER + 59;
constexpr UINT EM_GETPARAFORMAT = WM_USER + 61;
constexpr UINT EM_GETSELTEXT = WM_USER + 62;
constexpr UINT EM_HIDESELECTION = WM_USER + 63;
constexpr UINT EM_SELECTIONTYPE = WM_USER + 66;
constexpr UINT EM_SETBKGNDCOLOR = WM_USER + 67;
constexpr UINT EM_SETCHARFORMAT = WM_USER + 68;
constexpr UINT EM_SETEVENTMASK = WM_USER + 69;
constexpr UINT EM_SETPARAFORMAT = WM_USER + 71;
constexpr UINT EM_SETTARGETDEVICE = WM_USER + 72;
constexpr UINT EM_FORMATRANGE = WM_USER + 57;
constexpr UINT EM_STREAMIN = WM_USER + 73;
constexpr UINT EM_STREAMOUT = WM_USER + 74;
constexpr UINT EM_GETTEXTRANGE = WM_USER + 75;
constexpr UINT EM_FINDTEXTEX = WM_USER + 79;
constexpr UINT EM_SETUNDOLIMIT = WM_USER + 82;
constexpr UINT EM_REDO = WM_USER + 84;
constexpr UINT EM_CANREDO = WM_USER + 85;
constexpr UINT EM_SETTEXTMODE = WM_USER + 89;
constexpr UINT EM_GETTEXTMODE = WM_USER + 90;
constexpr UINT EM_AUTOURLDETECT = WM_USER + 91;
constexpr UINT EM_GETAUTOURLDETECT = WM_USER + 92;
constexpr UINT EM_GETTEXTEX = WM_USER + 94;
constexpr UINT EM_GETTEXTLENGTHEX = WM_USER + 95;
constexpr UINT EM_SETTEXTEX = WM_USER + 97;
constexpr UINT EM_FINDTEXTW = WM_USER + 123;
constexpr UINT EM_FINDTEXTEXW = WM_USER + 124;
constexpr UINT EM_SETEDITSTYLE = WM_USER + 204;
constexpr UINT EM_GETEDITSTYLE = WM_USER + 205;

constexpr DWORD ENM_NONE = 0x00000000;
constexpr DWORD ENM_CHANGE = 0x00000001;
constexpr DWORD ENM_UPDATE = 0x00000002;
constexpr DWORD ENM_SCROLL = 0x00000004;
constexpr DWORD ENM_KEYEVENTS = 0x00010000;
constexpr DWORD ENM_MOUSEEVENTS = 0x00020000;
constexpr DWORD ENM_REQUESTRESIZE = 0x00040000;
constexpr DWORD ENM_SELCHANGE = 0x00080000;
constexpr DWORD ENM_PROTECTED = 0x00200000;
constexpr DWORD ENM_LINK = 0x04000000;

// Rich edit notifications through WM_NOTIFY.
constexpr UINT EN_MSGFILTER = 0x0700;
constexpr UINT EN_REQUESTRESIZE = 0x0701;
constexpr UINT EN_SELCHANGE = 0x0702;
constexpr UINT EN_PROTECTED = 0x0704;
constexpr UINT EN_LINK = 0x070B;

constexpr DWORD SES_USEAIMM = 64;

constexpr DWORD GT_DEFAULT = 0;
constexpr DWORD GT_USECRLF = 1;
constexpr DWORD GT_SELECTION = 2;
constexpr DWORD GTL_DEFAULT = 0;
constexpr DWORD GTL_USECRLF = 1;
constexpr DWORD GTL_PRECISE = 2;
constexpr DWORD GTL_CLOSE = 4;
constexpr DWORD GTL_NUMCHARS = 8;
constexpr DWORD GTL_NUMBYTES = 16;
constexpr DWORD ST_DEFAULT = 0;
constexpr DWORD ST_KEEPUNDO = 1;
constexpr DWORD ST_SELECTION = 2;

constexpr UINT SF_TEXT = 0x0001;
constexpr UINT SF_RTF = 0x0002;
constexpr UINT SF_RTFNOOBJS = 0x0003;
constexpr UINT SF_TEXTIZED = 0x0004;
constexpr UINT SF_UNICODE = 0x0010;
constexpr UINT SF_USECODEPAGE = 0x0020;
constexpr UINT SFF_PLAINRTF = 0x4000;
constexpr UINT SFF_SELECTION = 0x8000;

constexpr int TM_PLAINTEXT = 1;
constexpr int TM_RICHTEXT = 2;

// The search flags FR_DOWN, FR_WHOLEWORD and FR_MATCHCASE are the find dialog's.

constexpr WORD SEL_EMPTY = 0x0000;
constexpr WORD SEL_TEXT = 0x0001;

struct CHARRANGE {
    LONG cpMin = 0;
    LONG cpMax = 0;
};

// EM_FORMATRANGE: the text range chrg laid out into rc (twips) on hdc.
struct FORMATRANGE {
    HDC hdc = nullptr;
    HDC hdcTarget = nullptr;
    RECT rc{};
    RECT rcPage{};
    CHARRANGE chrg;
};

template <typename Char> struct TEXTRANGE_T {
    CHARRANGE chrg;
    Char* lpstrText = nullptr;
};
using TEXTRANGEA = TEXTRANGE_T<char>;
using TEXTRANGEW = TEXTRANGE_T<WCHAR>;

template <typename Char> struct FINDTEXT_T {
    CHARRANGE chrg;
    const Char* lpstrText = nullptr;
};
using FINDTEXTA = FINDTEXT_T<char>;
using FINDTEXTW = FINDTEXT_T<WCHAR>;

template <typename Char> struct FINDTEXTEX_T {
    CHARRANGE chrg;
    const Char* lpstrText = nullptr;
    CHARRANGE chrgText;
};
using FINDTEXTEXA = FINDTEXTEX_T<char>;
using FINDTEXTEXW = FINDTEXTEX_T<WCHAR>;

struct GETTEXTEX {
    DWORD cb = 0;
    DWORD flags = 0;
    UINT codepage = 0;
    LPCSTR lpDefaultChar = nullptr;
    BOOL* lpUsedDefChar = nullptr;
};

struct GETTEXTLENGTHEX {
    DWORD flags = 0;
    UINT codepage = 0;
};

struct SETTEXTEX {
    DWORD flags = 0;
    UINT codepage = 0;
};

// The stream callback hands over (or takes) up to `count` bytes and reports how many in `done`; non-zero
// stops.
using EDITSTREAMCALLBACK = DWORD (*)(DWORD_PTR cookie, BYTE* buffer, LONG count, LONG* done);

struct EDITSTREAM {
    DWORD_PTR dwCookie = 0;
    DWORD dwError = 0;
    EDITSTREAMCALLBACK pfnCallback = nullptr;
};

struct ENLINK {
    NMHDR nmhdr;
    UINT msg = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    CHARRANGE chrg;
};

struct MSGFILTER {
    NMHDR nmhdr;
    UINT msg = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

struct SELCHANGE {
    NMHDR nmhdr;
    CHARRANGE chrg;
    WORD seltyp = 0;
};

constexpr DWORD CFM_BOLD = 0x00000001;
constexpr DWORD CFM_ITALIC = 0x00000002;
constexpr DWORD CFM_UNDERLINE = 0x00000004;
constexpr DWORD CFM_STRIKEOUT = 0x00000008;
constexpr DWORD CFM_PROTECTED = 0x00000010;
constexpr DWORD CFM_LINK = 0x00000020;
constexpr DWORD CFM_SIZE = 0x80000000;
constexpr DWORD CFM_COLOR = 0x40000000;
constexpr DWORD CFM_FACE = 0x20000000;
constexpr DWORD CFM_CHARSET = 0x08000000;
constexpr DWORD CFM_OFFSET = 0x10000000;
constexpr DWORD CFE_BOLD = CFM_BOLD;
constexpr DWORD CFE_ITALIC = CFM_ITALIC;
constexpr DWORD CFE_UNDERLINE = CFM_UNDERLINE;
constexpr DWORD CFE_STRIKEOUT = CFM_STRIKEOUT;
constexpr DWORD CFE_PROTECTED = CFM_PROTECTED;
constexpr DWORD CFE_LINK = CFM_LINK;
constexpr DWORD CFE_AUTOCOLOR = 0x40000000;
constexpr WPARAM SCF_DEFAULT = 0x0000;
constexpr WPARAM SCF_SELECTION = 0x0001;
constexpr WPARAM SCF_ALL = 0x0004;

template <typename Char> struct CHARFORMAT_T {
    UINT cbSize = sizeof(CHARFORMAT_T);
    DWORD dwMask = 0;
    DWORD dwEffects = 0;
    // In twips (1/1440 inch).
    LONG yHeight = 0;
    LONG yOffset = 0;
    COLORREF crTextColor = 0;
    BYTE bCharSet = 0;
    BYTE bPitchAndFamily = 0;
    Char szFaceName[LF_FACESIZE] = {};
};
using CHARFORMATA = CHARFORMAT_T<char>;
using CHARFORMATW = CHARFORMAT_T<WCHAR>;

constexpr DWORD PFM_STARTINDENT = 0x00000001;
constexpr DWORD PFM_RIGHTINDENT = 0x00000002;
constexpr DWORD PFM_OFFSET = 0x00000004;
constexpr DWORD PFM_ALIGNMENT = 0x00000008;
constexpr DWORD PFM_TABSTOPS = 0x00000010;
constexpr DWORD PFM_NUMBERING = 0x00000020;
constexpr DWORD PFM_OFFSETINDENT = 0x80000000;
constexpr WORD PFA_LEFT = 1;
constexpr WORD PFA_RIGHT = 2;
constexpr WORD PFA_CENTER = 3;

struct PARAFORMAT {
    UINT cbSize = sizeof(PARAFORMAT);
    DWORD dwMask = 0;
    WORD wNumbering = 0;
    WORD wEffects = 0;
    LONG dxStartIndent = 0;
    LONG dxRightIndent = 0;
    LONG dxOffset = 0;
    WORD wAlignment = 0;
    SHORT cTabCount = 0;
    LONG rgxTabs[32] = {};
};

// ---- Calls ------------------------------------------------------------------------------------------

void InitCommonControls();
// Registers the classes ICC_ flags name; false for a bad size.
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init);

int ImageList_GetImageCount(HIMAGELIST list);
BOOL ImageList_GetIconSize(HIMAGELIST list, int* width, int* height);
BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style);

// ---- Date and time picker (SysDateTimePick32) ----

inline constexpr const char* DATETIMEPICK_CLASSA = "SysDateTimePick32";
inline constexpr const WCHAR* DATETIMEPICK_CLASSW = u"SysDateTimePick32";

constexpr DWORD DTS_UPDOWN = 0x0001;
constexpr DWORD DTS_SHOWNONE = 0x0002;
constexpr DWORD DTS_SHORTDATEFORMAT = 0x0000;
constexpr DWORD DTS_LONGDATEFORMAT = 0x0004;
constexpr DWORD DTS_TIMEFORMAT = 0x0009;
constexpr DWORD DTS_RIGHTALIGN = 0x0020;

constexpr UINT DTM_FIRST = 0x1000;
constexpr UINT DTM_GETSYSTEMTIME = DTM_FIRST + 1;
constexpr UINT DTM_SETSYSTEMTIME = DTM_FIRST + 2;
constexpr UINT DTM_GETRANGE = DTM_FIRST + 3;
constexpr UINT DTM_SETRANGE = DTM_FIRST + 4;

constexpr LRESULT GDT_ERROR = -1;
constexpr DWORD GDT_VALID = 0;
constexpr DWORD GDT_NONE = 1;
constexpr DWORD GDTR_MIN = 0x0001;
constexpr DWORD GDTR_MAX = 0x0002;

constexpr UINT DTN_DATETIMECHANGE = NotificationCode(-759);
constexpr UINT DTN_DROPDOWN = NotificationCode(-754);
constexpr UINT DTN_CLOSEUP = NotificationCode(-753);

struct NMDATETIMECHANGE {
    NMHDR nmhdr;
    DWORD dwFlags = GDT_VALID;
    SYSTEMTIME st;
};

// ---- Month calendar (SysMonthCal32) ----

inline constexpr const char* MONTHCAL_CLASSA = "SysMonthCal32";
inline constexpr const WCHAR* MONTHCAL_CLASSW = u"SysMonthCal32";

constexpr DWORD MCS_DAYSTATE = 0x0001;
constexpr DWORD MCS_MULTISELECT = 0x0002;
constexpr DWORD MCS_WEEKNUMBERS = 0x0004;
constexpr DWORD MCS_NOTODAYCIRCLE = 0x0008;
constexpr DWORD MCS_NOTODAY = 0x0010;

constexpr UINT MCM_FIRST = 0x1000;
constexpr UINT MCM_GETCURSEL = MCM_FIRST + 1;
constexpr UINT MCM_SETCURSEL = MCM_FIRST + 2;
constexpr UINT MCM_GETMONTHRANGE = MCM_FIRST + 7;
constexpr UINT MCM_SETDAYSTATE = MCM_FIRST + 8;
constexpr UINT MCM_GETMINREQRECT = MCM_FIRST + 9;
constexpr UINT MCM_SETTODAY = MCM_FIRST + 12;
constexpr UINT MCM_GETTODAY = MCM_FIRST + 13;
constexpr UINT MCM_HITTEST = MCM_FIRST + 14;

constexpr DWORD GMR_VISIBLE = 0;
constexpr DWORD GMR_DAYSTATE = 1;

constexpr UINT MCN_SELCHANGE = NotificationCode(-749);
constexpr UINT MCN_GETDAYSTATE = NotificationCode(-747);
constexpr UINT MCN_SELECT = NotificationCode(-746);

// Bit n - 1 set: day n of the month is shown bold.
using MONTHDAYSTATE = DWORD;

struct NMDAYSTATE {
    NMHDR nmhdr;
    SYSTEMTIME stStart;
    int cDayState = 0;
    MONTHDAYSTATE* prgDayState = nullptr;
};

struct NMSELCHANGE {
    NMHDR nmhdr;
    SYSTEMTIME stSelStart;
    SYSTEMTIME stSelEnd;
};

constexpr UINT MCHT_TITLE = 0x00010000;
constexpr UINT MCHT_CALENDAR = 0x00020000;
constexpr UINT MCHT_TODAYLINK = 0x00030000;
constexpr UINT MCHT_NEXT = 0x01000000;
constexpr UINT MCHT_PREV = 0x02000000;
constexpr UINT MCHT_NOWHERE = 0x00000000;
constexpr UINT MCHT_CALENDARDATE = MCHT_CALENDAR | 0x0001;
constexpr UINT MCHT_TITLEBTNNEXT = MCHT_TITLE | MCHT_NEXT | 0x0003;
constexpr UINT MCHT_TITLEBTNPREV = MCHT_TITLE | MCHT_PREV | 0x0003;

struct MCHITTESTINFO {
    UINT cbSize = sizeof(MCHITTESTINFO);
    POINT pt{};
    UINT uHit = 0;
    SYSTEMTIME st;
};

// ---- Pager (SysPager) ----

inline constexpr const char* WC_PAGESCROLLERA = "SysPager";
inline constexpr const WCHAR* WC_PAGESCROLLERW = u"SysPager";

constexpr DWORD PGS_VERT = 0x0000;
constexpr DWORD PGS_HORZ = 0x0001;
constexpr DWORD PGS_AUTOSCROLL = 0x0002;
constexpr DWORD PGS_DRAGNDROP = 0x0004;

constexpr UINT PGM_FIRST = 0x1400;
constexpr UINT PGM_SETCHILD = PGM_FIRST + 1;
constexpr UINT PGM_RECALCSIZE = PGM_FIRST + 2;
constexpr UINT PGM_SETBKCOLOR = PGM_FIRST + 4;
constexpr UINT PGM_GETBKCOLOR = PGM_FIRST + 5;
constexpr UINT PGM_SETBORDER = PGM_FIRST + 6;
constexpr UINT PGM_GETBORDER = PGM_FIRST + 7;
constexpr UINT PGM_SETPOS = PGM_FIRST + 8;
constexpr UINT PGM_GETPOS = PGM_FIRST + 9;
constexpr UINT PGM_SETBUTTONSIZE = PGM_FIRST + 10;
constexpr UINT PGM_GETBUTTONSIZE = PGM_FIRST + 11;
constexpr UINT PGM_GETBUTTONSTATE = PGM_FIRST + 12;

constexpr int PGB_TOPORLEFT = 0;
constexpr int PGB_BOTTOMORRIGHT = 1;
constexpr DWORD PGF_INVISIBLE = 0;
constexpr DWORD PGF_NORMAL = 1;
constexpr DWORD PGF_GRAYED = 2;
constexpr DWORD PGF_DEPRESSED = 4;
constexpr DWORD PGF_HOT = 8;

constexpr UINT PGN_SCROLL = NotificationCode(-901);
constexpr UINT PGN_CALCSIZE = NotificationCode(-902);

constexpr DWORD PGF_CALCWIDTH = 1;
constexpr DWORD PGF_CALCHEIGHT = 2;
constexpr int PGF_SCROLLUP = 1;
constexpr int PGF_SCROLLDOWN = 2;
constexpr int PGF_SCROLLLEFT = 4;
constexpr int PGF_SCROLLRIGHT = 8;

struct NMPGCALCSIZE {
    NMHDR hdr;
    DWORD dwFlag = 0;
    int iWidth = 0;
    int iHeight = 0;
};

struct NMPGSCROLL {
    NMHDR hdr;
    WORD fwKeys = 0;
    RECT rcParent{};
    int iDir = 0;
    int iXpos = 0;
    int iYpos = 0;
    int iScroll = 0;
};
