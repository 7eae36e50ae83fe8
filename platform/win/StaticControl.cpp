// The STATIC class. Text statics ask their parent for colours with
// WM_CTLCOLORSTATIC and fill their whole client area; image statics take the
// size of their image unless told to centre or stretch it.
#include "platform/win/StaticControl.h"

#include "platform/win/Bitmaps.h"
#include "platform/win/Blit.h"
#include "platform/win/DefWindowProc.h"
#include "platform/win/DrawText.h"
#include "platform/win/Drawing.h"
#include "platform/win/Edges.h"
#include "platform/win/Gdi.h"
#include "platform/win/Icons.h"
#include "platform/win/Messages.h"
#include "platform/win/Painting.h"
#include "platform/win/StandardControls.h"
#include "platform/win/SysColors.h"
#include "platform/win/WindowPos.h"
#include "platform/win/Windows.h"

#include <memory>
#include <unordered_map>

namespace {

struct StaticState {
    HFONT font = nullptr;
    HICON icon = nullptr;
    HBITMAP bitmap = nullptr;
};

thread_local std::unordered_map<HWND, std::unique_ptr<StaticState>> staticStates;

StaticState& stateOf(HWND window) {
    auto& slot = staticStates[window];
    if (!slot) slot = std::make_unique<StaticState>();
    return *slot;
}

DWORD styleOf(HWND window) {
    return static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
}

DWORD typeOf(HWND window) {
    return styleOf(window) & SS_TYPEMASK;
}

bool isImage(DWORD type) {
    return type == SS_ICON || type == SS_BITMAP;
}

TRect clientRect(HWND window) {
    TRect rect;
    GetClientRect(window, &rect);
    return rect;
}

void redraw(HWND window) {
    InvalidateRect(window, nullptr, TRUE);
}

// ---- Images ----

SIZE bitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) return {0, 0};
    return {info.bmWidth, info.bmHeight};
}

SIZE iconSize(HICON icon) {
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return {0, 0};
    SIZE size = bitmapSize(info.hbmColor ? info.hbmColor : info.hbmMask);
    // A monochrome icon keeps its AND and XOR halves in one mask.
    if (!info.hbmColor) size.cy /= 2;
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return size;
}

SIZE imageSize(HWND window) {
    const StaticState& state = stateOf(window);
    return typeOf(window) == SS_ICON ? iconSize(state.icon) : bitmapSize(state.bitmap);
}

void fitToImage(HWND window) {
    if (styleOf(window) & (SS_CENTERIMAGE | SS_REALSIZECONTROL)) return;
    SIZE size = imageSize(window);
    if (size.cx <= 0 || size.cy <= 0) return;
    TRect outer;
    GetWindowRect(window, &outer);
    TRect inner = clientRect(window);
    SetWindowPos(window, nullptr, 0, 0, size.cx + outer.Width() - inner.Width(),
                 size.cy + outer.Height() - inner.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Returns the image that was there before.
LRESULT setImage(HWND window, UINT kind, HANDLE image) {
    StaticState& state = stateOf(window);
    DWORD type = typeOf(window);
    LRESULT previous = 0;
    if (kind == IMAGE_ICON && type == SS_ICON) {
        previous = reinterpret_cast<LRESULT>(state.icon);
        state.icon = static_cast<HICON>(image);
    } else if (kind == IMAGE_BITMAP && type == SS_BITMAP) {
        previous = reinterpret_cast<LRESULT>(state.bitmap);
        state.bitmap = static_cast<HBITMAP>(image);
    } else {
        return 0;
    }
    fitToImage(window);
    redraw(window);
    return previous;
}

LRESULT getImage(HWND window, UINT kind) {
    const StaticState& state = stateOf(window);
    if (kind == IMAGE_ICON) return reinterpret_cast<LRESULT>(state.icon);
    if (kind == IMAGE_BITMAP) return reinterpret_cast<LRESULT>(state.bitmap);
    return 0;
}

// Where the image goes: the control's corner, its middle, or all of it.
TRect imagePlace(HWND window, SIZE size) {
    TRect client = clientRect(window);
    DWORD style = styleOf(window);
    if (style & SS_REALSIZECONTROL) return client;
    TRect place{client.Left, client.Top, client.Left + size.cx, client.Top + size.cy};
    if (style & SS_CENTERIMAGE)
        place = OffsetRectBy(place, (client.Width() - size.cx) / 2, (client.Height() - size.cy) / 2);
    return place;
}

void paintImage(HWND window, HDC dc) {
    const StaticState& state = stateOf(window);
    SIZE size = imageSize(window);
    if (size.cx <= 0 || size.cy <= 0) return;
    TRect place = imagePlace(window, size);
    if (typeOf(window) == SS_ICON) {
        DrawIconEx(dc, place.Left, place.Top, state.icon, place.Width(), place.Height(), 0, nullptr,
                   DI_NORMAL);
        return;
    }
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(source, state.bitmap);
    StretchBlt(dc, place.Left, place.Top, place.Width(), place.Height(), source, 0, 0, size.cx, size.cy,
               SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
}

// ---- Text and shapes ----

UINT textFormat(DWORD style) {
    UINT format = DT_EXPANDTABS;
    switch (style & SS_TYPEMASK) {
    case SS_CENTER:
        format |= DT_CENTER | DT_WORDBREAK;
        break;
    case SS_RIGHT:
        format |= DT_RIGHT | DT_WORDBREAK;
        break;
    case SS_SIMPLE:
        format = DT_LEFT | DT_SINGLELINE;
        break;
    case SS_LEFTNOWORDWRAP:
        format |= DT_LEFT;
        break;
    default:
        format |= DT_LEFT | DT_WORDBREAK;
    }
    if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
    if (style & SS_CENTERIMAGE) format = (format & ~DT_WORDBREAK) | DT_SINGLELINE | DT_VCENTER;
    if (style & SS_ENDELLIPSIS) format = (format & ~DT_WORDBREAK) | DT_END_ELLIPSIS;
    return format;
}

void paintText(HWND window, HDC dc) {
    TRect rect = clientRect(window);
    WideString text = ControlText(window);
    UINT format = textFormat(styleOf(window));
    SetBkMode(dc, TRANSPARENT);
    if (IsWindowEnabled(window))
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
    else
        DrawDisabledText(dc, text, rect, format);
}

int fillColourOf(DWORD type) {
    switch (type) {
    case SS_BLACKRECT:
    case SS_BLACKFRAME:
        return COLOR_WINDOWFRAME;
    case SS_GRAYRECT:
    case SS_GRAYFRAME:
        return COLOR_BTNSHADOW;
    default:
        return COLOR_WINDOW;
    }
}

void paintShape(HWND window, HDC dc, DWORD type) {
    TRect rect = clientRect(window);
    HBRUSH brush = GetSysColorBrush(fillColourOf(type));
    switch (type) {
    case SS_BLACKRECT:
    case SS_GRAYRECT:
    case SS_WHITERECT:
        FillRect(dc, &rect, brush);
        break;
    case SS_BLACKFRAME:
    case SS_GRAYFRAME:
    case SS_WHITEFRAME:
        FrameRect(dc, &rect, brush);
        break;
    case SS_ETCHEDHORZ:
        DrawEdge(dc, &rect, EDGE_ETCHED, BF_TOP);
        break;
    case SS_ETCHEDVERT:
        DrawEdge(dc, &rect, EDGE_ETCHED, BF_LEFT);
        break;
    case SS_ETCHEDFRAME:
        DrawEdge(dc, &rect, EDGE_ETCHED, BF_RECT);
        break;
    }
}

void paintOwnerDrawn(HWND window, HDC dc) {
    DRAWITEMSTRUCT item;
    item.CtlType = ODT_STATIC;
    item.CtlID = static_cast<UINT>(GetWindowLongPtrW(window, GWLP_ID));
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = IsWindowEnabled(window) ? 0 : ODS_DISABLED;
    item.hwndItem = window;
    item.hDC = dc;
    item.rcItem = clientRect(window);
    HWND parent = GetParent(window);
    if (parent) SendMessageW(parent, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
}

bool paintsBackground(DWORD type) {
    return type <= SS_RIGHT || type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP || isImage(type);
}

void paint(HWND window, HDC dc) {
    int saved = SaveDC(dc);
    SelectObject(dc, ControlFont(stateOf(window).font));
    DWORD type = typeOf(window);
    if (paintsBackground(type)) {
        TRect rect = clientRect(window);
        FillRect(dc, &rect, ControlColourBrush(window, dc, WM_CTLCOLORSTATIC));
    }
    if (type == SS_OWNERDRAW)
        paintOwnerDrawn(window, dc);
    else if (isImage(type))
        paintImage(window, dc);
    else if (paintsBackground(type))
        paintText(window, dc);
    else
        paintShape(window, dc, type);
    RestoreDC(dc, saved);
}

LRESULT onPaint(HWND window) {
    PAINTSTRUCT paintStruct;
    HDC dc = BeginPaint(window, &paintStruct);
    if (dc) paint(window, dc);
    EndPaint(window, &paintStruct);
    return 0;
}

LRESULT onNonClientCreate(HWND window, WPARAM wParam, LPARAM lParam) {
    if (styleOf(window) & SS_SUNKEN) {
        LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
        SetWindowLongW(window, GWL_EXSTYLE, exStyle | static_cast<LONG>(WS_EX_STATICEDGE));
    }
    // The text of an image static names a resource, which is not shown as text.
    return DefWindowProcW(window, WM_NCCREATE, wParam, lParam);
}

LRESULT onSetText(HWND window, WPARAM wParam, LPARAM lParam) {
    LRESULT result = DefWindowProcW(window, WM_SETTEXT, wParam, lParam);
    if (!isImage(typeOf(window))) redraw(window);
    return result;
}

LRESULT onEnable(HWND window, WPARAM enabled) {
    if (styleOf(window) & SS_NOTIFY) NotifyParent(window, enabled ? STN_ENABLE : STN_DISABLE);
    redraw(window);
    return 0;
}

} // namespace

LRESULT StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE:
        return onNonClientCreate(window, wParam, lParam);
    case WM_NCDESTROY:
        staticStates.erase(window);
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_NCHITTEST:
        if (!(styleOf(window) & SS_NOTIFY)) return HTTRANSPARENT;
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_GETDLGCODE:
        return DLGC_STATIC;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        return onPaint(window);
    case WM_PRINTCLIENT:
        paint(window, reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_SETTEXT:
        return onSetText(window, wParam, lParam);
    case WM_ENABLE:
        return onEnable(window, wParam);
    case WM_SIZE:
        redraw(window);
        return 0;
    case WM_SETFONT:
        stateOf(window).font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam)) redraw(window);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(stateOf(window).font);
    case WM_LBUTTONDOWN:
        if (styleOf(window) & SS_NOTIFY) NotifyParent(window, STN_CLICKED);
        return 0;
    case WM_LBUTTONDBLCLK:
        if (styleOf(window) & SS_NOTIFY) NotifyParent(window, STN_DBLCLK);
        return 0;
    case STM_SETICON:
        return setImage(window, IMAGE_ICON, reinterpret_cast<HANDLE>(wParam));
    case STM_GETICON:
        return getImage(window, IMAGE_ICON);
    case STM_SETIMAGE:
        return setImage(window, static_cast<UINT>(wParam), reinterpret_cast<HANDLE>(lParam));
    case STM_GETIMAGE:
        return getImage(window, static_cast<UINT>(wParam));
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}
