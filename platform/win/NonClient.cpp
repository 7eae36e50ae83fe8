// Non-client layout and drawing. The metrics are the system's (classic, 96
// dots per inch): frame 4 or 3 pixels, border 1, client edge 2, caption 19,
// caption buttons 16 x 14, scroll bars 16.
#include "platform/win/NonClient.h"

#include "platform/win/DrawText.h"
#include "platform/win/Drawing.h"
#include "platform/win/Edges.h"
#include "platform/win/Fonts.h"
#include "platform/win/Gdi.h"
#include "platform/win/Painting.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/SysColors.h"
#include "platform/win/SystemInfo.h"

#include <algorithm>

namespace {

constexpr int toolCaptionHeight = 15;
constexpr int captionButtonMargin = 2;
constexpr int captionTextIndent = 3;
constexpr int smallIconSize = 16;
constexpr int glyphInset = 4;

bool hasCaption(DWORD style) {
    return (style & WS_CAPTION) == WS_CAPTION;
}

int frameWidthOf(DWORD style, DWORD exStyle) {
    if (style & WS_THICKFRAME) return GetSystemMetrics(SM_CXFRAME);
    if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME)) return GetSystemMetrics(SM_CXDLGFRAME);
    if (style & WS_BORDER) return GetSystemMetrics(SM_CXBORDER);
    return 0;
}

int edgeWidthOf(DWORD exStyle) {
    int width = 0;
    if (exStyle & WS_EX_CLIENTEDGE) width += GetSystemMetrics(SM_CXEDGE);
    if (exStyle & WS_EX_STATICEDGE) width += GetSystemMetrics(SM_CXBORDER);
    return width;
}

TRect deflate(const TRect& rect, int amount) {
    TRect result{rect.Left + amount, rect.Top + amount, rect.Right - amount, rect.Bottom - amount};
    result.Right = std::max(result.Right, result.Left);
    result.Bottom = std::max(result.Bottom, result.Top);
    return result;
}

void layoutCaptionButtons(NonClientLayout& layout, DWORD style, DWORD exStyle) {
    if (!(style & WS_SYSMENU)) return;
    int height = layout.caption.Height() - 2 * captionButtonMargin - 1;
    int width = height + 2;
    int right = layout.caption.Right - captionButtonMargin;
    int top = layout.caption.Top + captionButtonMargin;
    layout.closeButton = {right - width, top, right, top + height};
    right = layout.closeButton.Left - captionButtonMargin;
    if ((style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) && !(exStyle & WS_EX_TOOLWINDOW)) {
        layout.maximizeButton = {right - width, top, right, top + height};
        layout.minimizeButton = {right - 2 * width, top, right - width, top + height};
    }
    if (!(exStyle & (WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW))) {
        int iconTop = layout.caption.Top + (layout.caption.Height() - smallIconSize) / 2;
        layout.systemIcon = {layout.caption.Left + captionButtonMargin, iconTop,
                             layout.caption.Left + captionButtonMargin + smallIconSize,
                             iconTop + smallIconSize};
    }
}

void layoutScrollBars(NonClientLayout& layout, DWORD style) {
    TRect& client = layout.client;
    int barWidth = GetSystemMetrics(SM_CXVSCROLL);
    int barHeight = GetSystemMetrics(SM_CYHSCROLL);
    bool vertical = (style & WS_VSCROLL) && client.Width() >= barWidth;
    bool horizontal = (style & WS_HSCROLL) && client.Height() >= barHeight;
    if (vertical) client.Right -= barWidth;
    if (horizontal) client.Bottom -= barHeight;
    if (vertical) layout.verticalBar = {client.Right, client.Top, client.Right + barWidth, client.Bottom};
    if (horizontal)
        layout.horizontalBar = {client.Left, client.Bottom, client.Right, client.Bottom + barHeight};
    if (vertical && horizontal)
        layout.sizeBox = {client.Right, client.Bottom, client.Right + barWidth, client.Bottom + barHeight};
}

HFONT captionFont() {
    static HFONT font = [] {
        NONCLIENTMETRICSW metrics;
        metrics.cbSize = sizeof metrics;
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        return CreateFontIndirectW(&metrics.lfCaptionFont);
    }();
    return font;
}

void drawLine(HDC dc, int x1, int y1, int x2, int y2) {
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

void drawCaptionButton(HDC dc, const TRect& button, WPARAM command) {
    if (IsEmptyRect(button)) return;
    RECT face = button;
    DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH);
    HGDIOBJ previous = SelectObject(dc, GetStockObject(BLACK_PEN));
    TRect glyph{button.Left + glyphInset, button.Top + glyphInset - 1, button.Right - glyphInset,
                button.Bottom - glyphInset};
    switch (command) {
    case SC_CLOSE:
        for (int offset = 0; offset < 2; ++offset) {
            drawLine(dc, glyph.Left + offset, glyph.Top, glyph.Right + offset - 1, glyph.Bottom);
            drawLine(dc, glyph.Right + offset - 2, glyph.Top, glyph.Left + offset - 1, glyph.Bottom);
        }
        break;
    case SC_MAXIMIZE:
        Rectangle(dc, glyph.Left, glyph.Top, glyph.Right, glyph.Bottom);
        drawLine(dc, glyph.Left, glyph.Top + 1, glyph.Right, glyph.Top + 1);
        break;
    default:
        drawLine(dc, glyph.Left, glyph.Bottom - 1, glyph.Right - 2, glyph.Bottom - 1);
        drawLine(dc, glyph.Left, glyph.Bottom - 2, glyph.Right - 2, glyph.Bottom - 2);
        break;
    }
    SelectObject(dc, previous);
}

void paintFrame(HDC dc, const Window& window, const NonClientLayout& layout) {
    RECT outer = layout.window;
    if (layout.frameWidth > 1) {
        DrawEdge(dc, &outer, EDGE_RAISED, BF_RECT | BF_ADJUST);
        HBRUSH face = GetSysColorBrush(layout.sizingFrame ? COLOR_ACTIVEBORDER : COLOR_3DFACE);
        for (int ring = 2; ring < layout.frameWidth; ++ring) {
            FrameRect(dc, &outer, face);
            outer = deflate(outer, 1);
        }
    } else if (layout.frameWidth == 1) {
        FrameRect(dc, &outer, GetSysColorBrush(COLOR_WINDOWFRAME));
    }
    (void)window;
}

void paintCaption(HDC dc, const Window& window, const NonClientLayout& layout) {
    if (IsEmptyRect(layout.caption)) return;
    bool active = window.captionActive;
    RECT band = layout.caption;
    band.Bottom -= 1;
    FillRect(dc, &band, GetSysColorBrush(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
    RECT line{layout.caption.Left, layout.caption.Bottom - 1, layout.caption.Right, layout.caption.Bottom};
    FillRect(dc, &line, GetSysColorBrush(COLOR_3DFACE));
    RECT text = band;
    text.Left =
        (IsEmptyRect(layout.systemIcon) ? layout.caption.Left : layout.systemIcon.Right) + captionTextIndent;
    int rightmost = layout.caption.Right;
    for (const TRect& button : {layout.minimizeButton, layout.closeButton})
        if (!IsEmptyRect(button)) rightmost = std::min(rightmost, button.Left);
    text.Right = rightmost - captionTextIndent;
    HGDIOBJ previousFont = SelectObject(dc, captionFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    DrawTextW(dc, window.text.c_str(), static_cast<int>(window.text.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    SelectObject(dc, previousFont);
    drawCaptionButton(dc, layout.closeButton, SC_CLOSE);
    drawCaptionButton(dc, layout.maximizeButton, SC_MAXIMIZE);
    drawCaptionButton(dc, layout.minimizeButton, SC_MINIMIZE);
}

MenuBarHandlers& menuBarHandlers() {
    static MenuBarHandlers handlers;
    return handlers;
}

int menuBarHeight(HWND window, DWORD style, int width) {
    const MenuBarHandlers& handlers = menuBarHandlers();
    if (!window || (style & WS_CHILD) || !handlers.height) return 0;
    return handlers.height(window, width);
}

void paintMenuBar(HDC dc, const Window& window, const NonClientLayout& layout) {
    const MenuBarHandlers& handlers = menuBarHandlers();
    if (IsEmptyRect(layout.menuBar) || !handlers.paint) return;
    handlers.paint(window.handle, dc, layout.menuBar);
}

NonClientLayout layoutNonClient(DWORD style, DWORD exStyle, int width, int height, HWND menuWindow) {
    NonClientLayout layout;
    layout.window = {0, 0, std::max(width, 0), std::max(height, 0)};
    layout.frameWidth = frameWidthOf(style, exStyle);
    layout.sizingFrame = style & WS_THICKFRAME;
    TRect inner = deflate(layout.window, layout.frameWidth);
    if (hasCaption(style)) {
        int captionHeight = (exStyle & WS_EX_TOOLWINDOW) ? toolCaptionHeight : GetSystemMetrics(SM_CYCAPTION);
        captionHeight = std::min(captionHeight, inner.Height());
        layout.caption = {inner.Left, inner.Top, inner.Right, inner.Top + captionHeight};
        inner.Top += captionHeight;
        layoutCaptionButtons(layout, style, exStyle);
    }
    int barHeight = std::min(menuBarHeight(menuWindow, style, inner.Width()), inner.Height());
    if (barHeight > 0) {
        layout.menuBar = {inner.Left, inner.Top, inner.Right, inner.Top + barHeight};
        inner.Top += barHeight;
    }
    layout.edgeArea = inner;
    layout.client = deflate(inner, edgeWidthOf(exStyle));
    layoutScrollBars(layout, style);
    return layout;
}

void paintEdges(HDC dc, const Window& window, const NonClientLayout& layout) {
    RECT area = layout.edgeArea;
    if (window.exStyle & WS_EX_CLIENTEDGE) DrawEdge(dc, &area, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    if (window.exStyle & WS_EX_STATICEDGE) DrawEdge(dc, &area, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
}

} // namespace

NonClientLayout LayoutNonClient(DWORD style, DWORD exStyle, int width, int height) {
    return layoutNonClient(style, exStyle, width, height, nullptr);
}

NonClientLayout LayoutNonClient(const Window& window) {
    return layoutNonClient(window.style, window.exStyle, window.rect.Width(), window.rect.Height(),
                           window.handle);
}

TRect NonClientMargins(DWORD style, DWORD exStyle) {
    constexpr int roomy = 1000;
    NonClientLayout layout = LayoutNonClient(style, exStyle, roomy, roomy);
    return {layout.client.Left, layout.client.Top, roomy - layout.client.Right, roomy - layout.client.Bottom};
}

TRect ClientRectOfWindowRect(DWORD style, DWORD exStyle, const TRect& windowRect) {
    NonClientLayout layout = LayoutNonClient(style, exStyle, windowRect.Width(), windowRect.Height());
    return OffsetRectBy(layout.client, windowRect.Left, windowRect.Top);
}

TRect ClientRectOfWindow(const Window& window, const TRect& windowRect) {
    NonClientLayout layout =
        layoutNonClient(window.style, window.exStyle, windowRect.Width(), windowRect.Height(), window.handle);
    return OffsetRectBy(layout.client, windowRect.Left, windowRect.Top);
}

LRESULT NonClientHitTest(const Window& window, POINT screen) {
    TPoint origin = WindowOriginOnScreen(window);
    POINT point{screen.x - origin.x, screen.y - origin.y};
    NonClientLayout layout = LayoutNonClient(window);
    if (!RectContains(layout.window, point)) return HTNOWHERE;
    if (window.windowRegion && !window.windowRegion->Contains(point.x, point.y)) return HTNOWHERE;
    if (RectContains(window.clientRect, point)) return HTCLIENT;
    if (RectContains(layout.verticalBar, point)) return HTVSCROLL;
    if (RectContains(layout.horizontalBar, point)) return HTHSCROLL;
    if (RectContains(layout.sizeBox, point)) return layout.sizingFrame ? HTBOTTOMRIGHT : HTNOWHERE;
    if (RectContains(layout.closeButton, point)) return HTCLOSE;
    if (RectContains(layout.maximizeButton, point)) return HTMAXBUTTON;
    if (RectContains(layout.minimizeButton, point)) return HTMINBUTTON;
    if (RectContains(layout.menuBar, point)) return HTMENU;
    if (RectContains(layout.systemIcon, point)) return HTSYSMENU;
    if (RectContains(layout.caption, point)) return HTCAPTION;
    if (!layout.sizingFrame || (window.style & (WS_MAXIMIZE | WS_MINIMIZE)))
        return RectContains(layout.edgeArea, point) ? HTNOWHERE : HTBORDER;
    int corner = GetSystemMetrics(SM_CXSIZE);
    bool left = point.x < layout.frameWidth, right = point.x >= layout.window.Right - layout.frameWidth;
    bool top = point.y < layout.frameWidth, bottom = point.y >= layout.window.Bottom - layout.frameWidth;
    bool nearLeft = point.x < corner, nearRight = point.x >= layout.window.Right - corner;
    bool nearTop = point.y < corner, nearBottom = point.y >= layout.window.Bottom - corner;
    if ((top && nearLeft) || (left && nearTop)) return HTTOPLEFT;
    if ((top && nearRight) || (right && nearTop)) return HTTOPRIGHT;
    if ((bottom && nearLeft) || (left && nearBottom)) return HTBOTTOMLEFT;
    if ((bottom && nearRight) || (right && nearBottom)) return HTBOTTOMRIGHT;
    if (left) return HTLEFT;
    if (right) return HTRIGHT;
    if (top) return HTTOP;
    if (bottom) return HTBOTTOM;
    return HTNOWHERE;
}

void PaintNonClient(Window& window) {
    NonClientLayout layout = LayoutNonClient(window);
    if (layout.client == layout.window) return;
    HDC dc = GetDCEx(window.handle, nullptr, DCX_WINDOW | DCX_CACHE);
    if (!dc) return;
    ExcludeClipRect(dc, window.clientRect.Left, window.clientRect.Top, window.clientRect.Right,
                    window.clientRect.Bottom);
    paintFrame(dc, window, layout);
    paintCaption(dc, window, layout);
    paintMenuBar(dc, window, layout);
    paintEdges(dc, window, layout);
    PaintWindowScrollBars(window, dc, layout);
    ReleaseDC(window.handle, dc);
}

void SetMenuBarHandlers(MenuBarHandlers handlers) {
    menuBarHandlers() = std::move(handlers);
}

void TrackMenuBar(HWND window, WPARAM command, LPARAM lParam) {
    const MenuBarHandlers& handlers = menuBarHandlers();
    if (handlers.track) handlers.track(window, command, lParam);
}
