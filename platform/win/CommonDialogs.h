// The common dialogs: open and save (the backend's file chooser, which a
// test answers in the headless backend), colour and font (modal dialog
// windows of our own) and find and replace (modeless windows of our own that
// report to their owner with the registered FINDMSGSTRING message).
#pragma once

#include "platform/win/WinUser.h"

#include <functional>
#include <vector>

// While a modal dialog waits for input its owner receives WM_ENTERIDLE with
// this wParam and the dialog's window in lParam.
constexpr WPARAM MSGF_DIALOGBOX = 0;

// ---- Errors (CommDlgExtendedError) --------------------------------------------------

constexpr DWORD CDERR_DIALOGFAILURE = 0xFFFF;
constexpr DWORD CDERR_STRUCTSIZE = 0x0001;
constexpr DWORD CDERR_INITIALIZATION = 0x0002;
constexpr DWORD FNERR_BUFFERTOOSMALL = 0x3003;
constexpr DWORD FRERR_BUFFERLENGTHZERO = 0x4001;
// 0 after a dialog the user cancelled or that succeeded.
DWORD CommDlgExtendedError();

// ---- Open and save ------------------------------------------------------------------

constexpr DWORD OFN_READONLY = 0x00000001;
constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
constexpr DWORD OFN_NOCHANGEDIR = 0x00000008;
constexpr DWORD OFN_SHOWHELP = 0x00000010;
constexpr DWORD OFN_ENABLEHOOK = 0x00000020;
constexpr DWORD OFN_ENABLETEMPLATE = 0x00000040;
constexpr DWORD OFN_ENABLETEMPLATEHANDLE = 0x00000080;
constexpr DWORD OFN_NOVALIDATE = 0x00000100;
constexpr DWORD OFN_ALLOWMULTISELECT = 0x00000200;
constexpr DWORD OFN_EXTENSIONDIFFERENT = 0x00000400;
constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;
constexpr DWORD OFN_CREATEPROMPT = 0x00002000;
constexpr DWORD OFN_SHAREAWARE = 0x00004000;
constexpr DWORD OFN_NOREADONLYRETURN = 0x00008000;
constexpr DWORD OFN_NOTESTFILECREATE = 0x00010000;
constexpr DWORD OFN_NONETWORKBUTTON = 0x00020000;
constexpr DWORD OFN_NOLONGNAMES = 0x00040000;
constexpr DWORD OFN_EXPLORER = 0x00080000;
constexpr DWORD OFN_NODEREFERENCELINKS = 0x00100000;
constexpr DWORD OFN_LONGNAMES = 0x00200000;
constexpr DWORD OFN_ENABLEINCLUDENOTIFY = 0x00400000;
constexpr DWORD OFN_ENABLESIZING = 0x00800000;
constexpr DWORD OFN_DONTADDTORECENT = 0x02000000;
constexpr DWORD OFN_FORCESHOWHIDDEN = 0x10000000;

// The colour, font and find dialogs take no hooks or templates; the file
// dialogs call their hook (below).
using LPOFNHOOKPROC = UINT_PTR (*)(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
using LPCCHOOKPROC = LPOFNHOOKPROC;
using LPCFHOOKPROC = LPOFNHOOKPROC;
using LPFRHOOKPROC = LPOFNHOOKPROC;

template <typename Char> struct OPENFILENAME_T {
    DWORD lStructSize = sizeof(OPENFILENAME_T);
    HWND hwndOwner = nullptr;
    HINSTANCE hInstance = nullptr;
    // Pairs of a description and its patterns ("*.txt;*.log"), each ended by
    // a zero, the list by a second one.
    const Char* lpstrFilter = nullptr;
    Char* lpstrCustomFilter = nullptr;
    DWORD nMaxCustFilter = 0;
    // 1-based.
    DWORD nFilterIndex = 0;
    Char* lpstrFile = nullptr;
    DWORD nMaxFile = 0;
    Char* lpstrFileTitle = nullptr;
    DWORD nMaxFileTitle = 0;
    const Char* lpstrInitialDir = nullptr;
    const Char* lpstrTitle = nullptr;
    DWORD Flags = 0;
    WORD nFileOffset = 0;
    WORD nFileExtension = 0;
    const Char* lpstrDefExt = nullptr;
    LPARAM lCustData = 0;
    LPOFNHOOKPROC lpfnHook = nullptr;
    const Char* lpTemplateName = nullptr;
    void* pvReserved = nullptr;
    DWORD dwReserved = 0;
    DWORD FlagsEx = 0;
};
using OPENFILENAMEA = OPENFILENAME_T<char>;
using OPENFILENAMEW = OPENFILENAME_T<WCHAR>;
// The older record, which ends before pvReserved.
constexpr DWORD OPENFILENAME_SIZE_VERSION_400A = offsetof(OPENFILENAMEA, pvReserved);
constexpr DWORD OPENFILENAME_SIZE_VERSION_400W = offsetof(OPENFILENAMEW, pvReserved);

// ---- File dialog hooks ----

// The extra bytes of a dialog window and the slots in them.
constexpr int DLGWINDOWEXTRA = 30;
constexpr int DWLP_MSGRESULT = 0;
constexpr int DWLP_DLGPROC = DWLP_MSGRESULT + static_cast<int>(sizeof(LRESULT));
constexpr int DWLP_USER = DWLP_DLGPROC + static_cast<int>(sizeof(void*));
constexpr int DWL_MSGRESULT = DWLP_MSGRESULT;

// What a hook may ask the chooser (its hook window's parent) while it runs:
// the full name chosen, its name part, and its folder. wParam is the
// buffer's size in characters, lParam the buffer; the answer is the size
// the text needs with its terminator (copied only when it fits), or a
// negative number when nothing is chosen yet. Several names come as their
// folder and the names in double quotes ("folder\\"a" "b"; the name
// part "a" "b").
constexpr UINT CDM_FIRST = WM_USER + 100;
constexpr UINT CDM_GETSPEC = CDM_FIRST + 0;
constexpr UINT CDM_GETFILEPATH = CDM_FIRST + 1;
constexpr UINT CDM_GETFOLDERPATH = CDM_FIRST + 2;

constexpr UINT CDN_FIRST = static_cast<UINT>(-601);
constexpr UINT CDN_FILEOK = CDN_FIRST - 5;

template <typename Char> struct OFNOTIFY_T {
    NMHDR hdr;
    OPENFILENAME_T<Char>* lpOFN = nullptr;
    Char* pszFile = nullptr;
};
using OFNOTIFYA = OFNOTIFY_T<char>;
using OFNOTIFYW = OFNOTIFY_T<WCHAR>;

// Ask the backend's file chooser, and again while OFN_FILEMUSTEXIST or
// OFN_PATHMUSTEXIST finds the answer missing or, with OFN_ENABLEHOOK, the
// hook refuses it. The hook runs in a child dialog window of the chooser:
// it receives WM_INITDIALOG (lParam the record) before the chooser shows
// and, with OFN_EXPLORER, WM_NOTIFY with CDN_FILEOK (an OFNOTIFY, lpstrFile
// already holding the answer) after each choice; a non-zero DWLP_MSGRESULT
// then refuses the choice and the chooser is shown again. A name without an extension
// gets lpstrDefExt. lpstrFile receives the full name or, for several files
// of OFN_ALLOWMULTISELECT, the folder and the names, each ended by a zero
// (a blank without OFN_EXPLORER), the list by a second zero. Unless
// OFN_NOCHANGEDIR, the chosen file's folder becomes the current one. FALSE
// when cancelled (CommDlgExtendedError 0) or the buffer is too small
// (FNERR_BUFFERTOOSMALL, its first characters holding the size needed).
// The chooser asks itself before a save dialog replaces a file.
BOOL GetOpenFileNameA(OPENFILENAMEA* request);
BOOL GetOpenFileNameW(OPENFILENAMEW* request);
BOOL GetSaveFileNameA(OPENFILENAMEA* request);
BOOL GetSaveFileNameW(OPENFILENAMEW* request);

// What the framework's dialogs add to the system's through a hook there: for
// the next open or save dialog of this thread, names its name field offers
// in a drop-down list, a preview of the picture selected, and what its Help
// button does (no button without it). The dialog uses them up.
struct FileDialogExtras {
    std::vector<WideString> History;
    bool PicturePreview = false;
    std::function<void()> Help;
};
void SetNextFileDialogExtras(FileDialogExtras Extras);

// ---- Colour ---------------------------------------------------------------------------

constexpr DWORD CC_RGBINIT = 0x00000001;
constexpr DWORD CC_FULLOPEN = 0x00000002;
constexpr DWORD CC_PREVENTFULLOPEN = 0x00000004;
constexpr DWORD CC_SHOWHELP = 0x00000008;
constexpr DWORD CC_ENABLEHOOK = 0x00000010;
constexpr DWORD CC_ENABLETEMPLATE = 0x00000020;
constexpr DWORD CC_SOLIDCOLOR = 0x00000080;
constexpr DWORD CC_ANYCOLOR = 0x00000100;

template <typename Char> struct CHOOSECOLOR_T {
    DWORD lStructSize = sizeof(CHOOSECOLOR_T);
    HWND hwndOwner = nullptr;
    HWND hInstance = nullptr;
    COLORREF rgbResult = 0;
    // Sixteen custom colours, kept between calls by the caller.
    COLORREF* lpCustColors = nullptr;
    DWORD Flags = 0;
    LPARAM lCustData = 0;
    LPCCHOOKPROC lpfnHook = nullptr;
    const Char* lpTemplateName = nullptr;
};
using CHOOSECOLORA = CHOOSECOLOR_T<char>;
using CHOOSECOLORW = CHOOSECOLOR_T<WCHAR>;
constexpr int CustomColourCount = 16;

// The controls of the colour dialog: the red, green and blue fields, "Add to
// Custom Colors", and the first basic and custom colour (the others follow
// in rows of eight; clicking one chooses it).
constexpr int COLOR_RED = 706;
constexpr int COLOR_GREEN = 707;
constexpr int COLOR_BLUE = 708;
constexpr int COLOR_ADD = 712;

// A modal dialog of 48 basic colours, the caller's 16 custom colours, the
// red, green and blue values and a preview; rgbResult receives the colour.
BOOL ChooseColorA(CHOOSECOLORA* request);
BOOL ChooseColorW(CHOOSECOLORW* request);

// ---- Font ---------------------------------------------------------------------------------

constexpr DWORD CF_SCREENFONTS = 0x00000001;
constexpr DWORD CF_PRINTERFONTS = 0x00000002;
constexpr DWORD CF_BOTH = CF_SCREENFONTS | CF_PRINTERFONTS;
constexpr DWORD CF_SHOWHELP = 0x00000004;
constexpr DWORD CF_ENABLEHOOK = 0x00000008;
constexpr DWORD CF_ENABLETEMPLATE = 0x00000010;
constexpr DWORD CF_INITTOLOGFONTSTRUCT = 0x00000040;
constexpr DWORD CF_USESTYLE = 0x00000080;
constexpr DWORD CF_EFFECTS = 0x00000100;
constexpr DWORD CF_APPLY = 0x00000200;
constexpr DWORD CF_ANSIONLY = 0x00000400;
constexpr DWORD CF_NOVECTORFONTS = 0x00000800;
constexpr DWORD CF_NOSIMULATIONS = 0x00001000;
constexpr DWORD CF_LIMITSIZE = 0x00002000;
constexpr DWORD CF_FIXEDPITCHONLY = 0x00004000;
constexpr DWORD CF_WYSIWYG = 0x00008000;
constexpr DWORD CF_FORCEFONTEXIST = 0x00010000;
constexpr DWORD CF_SCALABLEONLY = 0x00020000;
constexpr DWORD CF_TTONLY = 0x00040000;
constexpr DWORD CF_NOFACESEL = 0x00080000;
constexpr DWORD CF_NOSTYLESEL = 0x00100000;
constexpr DWORD CF_NOSIZESEL = 0x00200000;

constexpr WORD BOLD_FONTTYPE = 0x0100;
constexpr WORD ITALIC_FONTTYPE = 0x0200;
constexpr WORD REGULAR_FONTTYPE = 0x0400;
constexpr WORD SCREEN_FONTTYPE = 0x2000;

template <typename Char, typename LogFont> struct CHOOSEFONT_T {
    DWORD lStructSize = sizeof(CHOOSEFONT_T);
    HWND hwndOwner = nullptr;
    HDC hDC = nullptr;
    LogFont* lpLogFont = nullptr;
    // Tenths of a point.
    INT iPointSize = 0;
    DWORD Flags = 0;
    COLORREF rgbColors = 0;
    LPARAM lCustData = 0;
    LPCFHOOKPROC lpfnHook = nullptr;
    const Char* lpTemplateName = nullptr;
    HINSTANCE hInstance = nullptr;
    Char* lpszStyle = nullptr;
    WORD nFontType = 0;
    INT nSizeMin = 0;
    INT nSizeMax = 0;
};
using CHOOSEFONTA = CHOOSEFONT_T<char, LOGFONTA>;
using CHOOSEFONTW = CHOOSEFONT_T<WCHAR, LOGFONTW>;

// The controls of the font dialog: the lists of faces, styles ("Regular",
// "Italic", "Bold", "Bold Italic") and sizes, and the strike-out and
// underline boxes of CF_EFFECTS.
constexpr int lst1 = 0x0460;
constexpr int lst2 = 0x0461;
constexpr int lst3 = 0x0462;
constexpr int chx1 = 0x0410;
constexpr int chx2 = 0x0411;

// A modal dialog that starts from lpLogFont with CF_INITTOLOGFONTSTRUCT and
// fills it, iPointSize and nFontType in; the colour of CF_EFFECTS stays.
BOOL ChooseFontA(CHOOSEFONTA* request);
BOOL ChooseFontW(CHOOSEFONTW* request);

// ---- Find and replace ------------------------------------------------------------------

constexpr DWORD FR_DOWN = 0x00000001;
constexpr DWORD FR_WHOLEWORD = 0x00000002;
constexpr DWORD FR_MATCHCASE = 0x00000004;
constexpr DWORD FR_FINDNEXT = 0x00000008;
constexpr DWORD FR_REPLACE = 0x00000010;
constexpr DWORD FR_REPLACEALL = 0x00000020;
constexpr DWORD FR_DIALOGTERM = 0x00000040;
constexpr DWORD FR_SHOWHELP = 0x00000080;
constexpr DWORD FR_ENABLEHOOK = 0x00000100;
constexpr DWORD FR_ENABLETEMPLATE = 0x00000200;
constexpr DWORD FR_NOUPDOWN = 0x00000400;
constexpr DWORD FR_NOMATCHCASE = 0x00000800;
constexpr DWORD FR_NOWHOLEWORD = 0x00001000;
constexpr DWORD FR_HIDEUPDOWN = 0x00004000;
constexpr DWORD FR_HIDEMATCHCASE = 0x00008000;
constexpr DWORD FR_HIDEWHOLEWORD = 0x00010000;

template <typename Char> struct FINDREPLACE_T {
    DWORD lStructSize = sizeof(FINDREPLACE_T);
    HWND hwndOwner = nullptr;
    HINSTANCE hInstance = nullptr;
    DWORD Flags = 0;
    Char* lpstrFindWhat = nullptr;
    Char* lpstrReplaceWith = nullptr;
    WORD wFindWhatLen = 0;
    WORD wReplaceWithLen = 0;
    LPARAM lCustData = 0;
    LPFRHOOKPROC lpfnHook = nullptr;
    const Char* lpTemplateName = nullptr;
};
using FINDREPLACEA = FINDREPLACE_T<char>;
using FINDREPLACEW = FINDREPLACE_T<WCHAR>;

// The message the find and replace dialogs send their owner (wParam 0,
// lParam the caller's record, its Flags telling what the user asked for).
inline constexpr const char* FINDMSGSTRINGA = "commdlg_FindReplace";
inline constexpr const WCHAR* FINDMSGSTRINGW = u"commdlg_FindReplace";

// The controls of the find and replace dialogs: the find and replace texts,
// the whole-word and match-case boxes, the up and down buttons, and
// "Replace" and "Replace All" (IDOK is "Find Next").
constexpr int edt1 = 0x0480;
constexpr int edt2 = 0x0481;
constexpr int rad1 = 0x0420;
constexpr int rad2 = 0x0421;
constexpr int psh1 = 0x0400;
constexpr int psh2 = 0x0401;

// Show a modeless dialog and return its window; the record must live as
// long as the dialog. Closing it sends FR_DIALOGTERM. Null for a record of
// the wrong size (CDERR_STRUCTSIZE), without an owner window
// (CDERR_DIALOGFAILURE) or without room for the find text (FRERR_BUFFERLENGTHZERO).
HWND FindTextA(FINDREPLACEA* request);
HWND FindTextW(FINDREPLACEW* request);
HWND ReplaceTextA(FINDREPLACEA* request);
HWND ReplaceTextW(FINDREPLACEW* request);

// A message number (0xC000 .. 0xFFFF) that is the same for the same name in
// the whole program, as the system's registered messages are.
UINT RegisterWindowMessageA(LPCSTR name);
UINT RegisterWindowMessageW(LPCWSTR name);

// The window class of these dialogs, for finding them.
inline constexpr const WCHAR* CommonDialogClassName = u"CommonDialogWindow";
