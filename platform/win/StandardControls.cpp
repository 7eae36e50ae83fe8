// Registration of the standard control classes and what their units share.
#include "platform/win/StandardControls.h"

#include "platform/win/ButtonControl.h"
#include "platform/win/ComboBoxControl.h"
#include "platform/win/Cursors.h"
#include "platform/win/DefWindowProc.h"
#include "platform/win/DrawText.h"
#include "platform/win/EditControl.h"
#include "platform/win/Fonts.h"
#include "platform/win/Gdi.h"
#include "platform/win/ListBoxControl.h"
#include "platform/win/Messages.h"
#include "platform/win/ScrollBarControl.h"
#include "platform/win/StaticControl.h"
#include "platform/win/SysColors.h"
#include "platform/win/Windows.h"

#include <algorithm>

namespace {

struct StandardClass {
    const WCHAR* name;
    WindowProcFunction procedure;
    UINT style;
};

const StandardClass standardClasses[] = {
    {u"Button", ButtonWindowProc, CS_DBLCLKS | CS_PARENTDC | CS_HREDRAW | CS_VREDRAW},
    {u"Static", StaticWindowProc, CS_DBLCLKS | CS_PARENTDC},
    {u"ListBox", ListBoxWindowProc, CS_DBLCLKS | CS_PARENTDC},
    {u"ComboLBox", ListBoxWindowProc, CS_DBLCLKS | CS_SAVEBITS},
    {u"ComboBox", ComboBoxWindowProc, CS_DBLCLKS | CS_PARENTDC | CS_HREDRAW | CS_VREDRAW},
};

void registerClass(const StandardClass& standard) {
    WNDCLASSEXW existing;
    if (GetClassInfoExW(nullptr, standard.name, &existing)) return;
    WNDCLASSEXW windowClass;
    windowClass.style = standard.style;
    windowClass.lpfnWndProc = WindowProcFromFunction(standard.procedure);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = standard.name;
    RegisterSystemClassW(&windowClass);
}

} // namespace

void RegisterStandardControlClasses() {
    for (const StandardClass& standard : standardClasses)
        registerClass(standard);
    RegisterEditControlClass();
    RegisterScrollBarControlClass();
}

LRESULT NotifyParent(HWND control, WORD code) {
    HWND parent = GetParent(control);
    if (!parent) return 0;
    WORD id = LOWORD(static_cast<UINT_PTR>(GetWindowLongPtrW(control, GWLP_ID)));
    return SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
}

HBRUSH ControlColourBrush(HWND control, HDC dc, UINT message) {
    HWND parent = GetParent(control);
    WPARAM wParam = reinterpret_cast<WPARAM>(dc);
    LPARAM lParam = reinterpret_cast<LPARAM>(control);
    LRESULT brush = parent ? SendMessageW(parent, message, wParam, lParam) : 0;
    if (!brush) brush = DefWindowProcW(control, message, wParam, lParam);
    return reinterpret_cast<HBRUSH>(brush);
}

WideString ControlText(HWND control) {
    int length = GetWindowTextLengthW(control);
    WideString text(static_cast<std::size_t>(length) + 1, 0);
    int copied = GetWindowTextW(control, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return text;
}

HFONT ControlFont(HFONT font) {
    return font ? font : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
}

int ControlFontHeight(HWND control, HFONT font) {
    HDC dc = GetDC(control);
    HGDIOBJ previous = SelectObject(dc, ControlFont(font));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return std::max(static_cast<int>(metrics.tmHeight), 1);
}

void DrawDisabledText(HDC dc, const WideString& text, RECT rect, UINT format) {
    COLORREF previous = GetTextColor(dc);
    int mode = SetBkMode(dc, TRANSPARENT);
    int length = static_cast<int>(text.size());
    RECT shifted{rect.Left + 1, rect.Top + 1, rect.Right + 1, rect.Bottom + 1};
    SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
    DrawTextW(dc, text.c_str(), length, &shifted, format);
    SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    DrawTextW(dc, text.c_str(), length, &rect, format);
    SetTextColor(dc, previous);
    SetBkMode(dc, mode);
}
