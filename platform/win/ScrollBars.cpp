// Scroll-bar geometry, drawing and mouse tracking.
#include "platform/win/ScrollBars.h"

#include "platform/win/Drawing.h"
#include "platform/win/Edges.h"
#include "platform/win/Gdi.h"
#include "platform/win/Messages.h"
#include "platform/win/Mouse.h"
#include "platform/win/Painting.h"
#include "platform/win/SysColors.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/Timers.h"
#include "platform/win/WindowPos.h"
#include "platform/win/WindowTree.h"
#include "platform/win/Windows.h"

#include <algorithm>

namespace {

enum ScrollBarPart { NoPart, LineUpArrow, PageUpArea, Thumb, PageDownArea, LineDownArrow };

constexpr int minimumThumb = 8;
// The timer that repeats a held arrow or page area; ids this high are the system's own.
constexpr UINT_PTR repeatTimerId = 0xFFFA;
constexpr UINT firstRepeatDelay = 400;
constexpr UINT repeatInterval = 50;

struct BarGeometry {
    bool vertical = true;
    TRect bar;
    TRect upArrow;
    TRect downArrow;
    // Along the bar: where the track starts and ends, and the thumb, or an empty thumb.
    int trackStart = 0;
    int trackEnd = 0;
    int thumbStart = 0;
    int thumbEnd = 0;
};

ScrollBarState& stateOf(Window& window, int bar) {
    return bar == SB_VERT ? window.verticalBar : window.horizontalBar;
}

int maximumPosition(const ScrollBarState& state) {
    return std::max(state.minimum, state.maximum - std::max<int>(static_cast<int>(state.page) - 1, 0));
}

bool canScroll(const ScrollBarState& state) {
    return maximumPosition(state) > state.minimum;
}

int along(const TRect& rect, bool vertical, bool end) {
    return vertical ? (end ? rect.Bottom : rect.Top) : (end ? rect.Right : rect.Left);
}

BarGeometry geometryOf(const TRect& bar, bool vertical, const ScrollBarState& state, int position) {
    BarGeometry geometry;
    geometry.vertical = vertical;
    geometry.bar = bar;
    int length = vertical ? bar.Height() : bar.Width();
    int thickness = vertical ? bar.Width() : bar.Height();
    int arrow = std::min(thickness, length / 2);
    if (vertical) {
        geometry.upArrow = {bar.Left, bar.Top, bar.Right, bar.Top + arrow};
        geometry.downArrow = {bar.Left, bar.Bottom - arrow, bar.Right, bar.Bottom};
    } else {
        geometry.upArrow = {bar.Left, bar.Top, bar.Left + arrow, bar.Bottom};
        geometry.downArrow = {bar.Right - arrow, bar.Top, bar.Right, bar.Bottom};
    }
    geometry.trackStart = along(geometry.upArrow, vertical, true);
    geometry.trackEnd = along(geometry.downArrow, vertical, false);
    int track = geometry.trackEnd - geometry.trackStart;
    if (!canScroll(state) || state.disabledArrows == ESB_DISABLE_BOTH) return geometry;
    int range = state.maximum - state.minimum + 1;
    int thumb =
        state.page == 0
            ? thickness
            : std::max(static_cast<int>(static_cast<long long>(track) * state.page / range), minimumThumb);
    if (thumb > track) return geometry;
    int span = maximumPosition(state) - state.minimum;
    int offset = static_cast<int>(static_cast<long long>(track - thumb) * (position - state.minimum) / span);
    geometry.thumbStart = geometry.trackStart + offset;
    geometry.thumbEnd = geometry.thumbStart + thumb;
    return geometry;
}

bool hasThumb(const BarGeometry& geometry) {
    return geometry.thumbEnd > geometry.thumbStart;
}

TRect partRect(const BarGeometry& geometry, ScrollBarPart part) {
    auto span = [&](int start, int end) {
        return geometry.vertical ? TRect{geometry.bar.Left, start, geometry.bar.Right, end}
                                 : TRect{start, geometry.bar.Top, end, geometry.bar.Bottom};
    };
    int thumbStart = hasThumb(geometry) ? geometry.thumbStart : geometry.trackEnd;
    int thumbEnd = hasThumb(geometry) ? geometry.thumbEnd : geometry.trackEnd;
    switch (part) {
    case LineUpArrow:
        return geometry.upArrow;
    case LineDownArrow:
        return geometry.downArrow;
    case PageUpArea:
        return span(geometry.trackStart, thumbStart);
    case Thumb:
        return span(thumbStart, thumbEnd);
    case PageDownArea:
        return span(thumbEnd, geometry.trackEnd);
    default:
        return {};
    }
}

ScrollBarPart partAt(const BarGeometry& geometry, POINT point) {
    for (ScrollBarPart part : {LineUpArrow, LineDownArrow, Thumb, PageUpArea, PageDownArea})
        if (RectContains(partRect(geometry, part), point)) return part;
    return NoPart;
}

TRect barRect(const NonClientLayout& layout, int bar) {
    return bar == SB_VERT ? layout.verticalBar : layout.horizontalBar;
}

BarGeometry geometryOfWindowBar(Window& window, int bar) {
    ScrollBarState& state = stateOf(window, bar);
    int position = state.tracking ? state.trackPosition : state.position;
    return geometryOf(barRect(LayoutNonClient(window), bar), bar == SB_VERT, state, position);
}

// ---- Drawing ----

void paintBar(HDC dc, const BarGeometry& geometry, const ScrollBarState& state, bool windowEnabled) {
    if (IsEmptyRect(geometry.bar)) return;
    bool enabled = windowEnabled && canScroll(state);
    bool upEnabled = enabled && !(state.disabledArrows & ESB_DISABLE_LTUP);
    bool downEnabled = enabled && !(state.disabledArrows & ESB_DISABLE_RTDN);
    DrawScrollBarArrow(dc, geometry.upArrow, geometry.vertical, false, upEnabled,
                       state.pushedPart == LineUpArrow);
    DrawScrollBarArrow(dc, geometry.downArrow, geometry.vertical, true, downEnabled,
                       state.pushedPart == LineDownArrow);
    for (ScrollBarPart part : {PageUpArea, PageDownArea}) {
        RECT area = partRect(geometry, part);
        bool pushed = state.pushedPart == part;
        FillRect(dc, &area, GetSysColorBrush(pushed ? COLOR_3DDKSHADOW : COLOR_SCROLLBAR));
    }
    if (hasThumb(geometry)) {
        RECT thumb = partRect(geometry, Thumb);
        DrawFrameControl(dc, &thumb, DFC_BUTTON, DFCS_BUTTONPUSH);
    }
}

void repaintBar(Window& window, int bar) {
    if (!IsShowing(window)) return;
    HDC dc = GetDCEx(window.handle, nullptr, DCX_WINDOW | DCX_CACHE);
    if (!dc) return;
    paintBar(dc, geometryOfWindowBar(window, bar), stateOf(window, bar), !(window.style & WS_DISABLED));
    ReleaseDC(window.handle, dc);
}

// ---- Settings ----

DWORD styleBit(int bar) {
    return bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL;
}

void showBar(Window& window, int bar, bool show) {
    DWORD bits = bar == SB_BOTH ? (WS_VSCROLL | WS_HSCROLL) : styleBit(bar);
    DWORD style = show ? window.style | bits : window.style & ~bits;
    if (style == window.style) return;
    window.style = style;
    SetWindowPos(window.handle, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void clamp(ScrollBarState& state) {
    state.maximum = std::max(state.maximum, state.minimum);
    UINT range = static_cast<UINT>(state.maximum - state.minimum) + 1;
    state.page = std::min(state.page, range);
    state.position = std::clamp(state.position, state.minimum, maximumPosition(state));
}

int setWindowScrollInfo(Window& window, int bar, const SCROLLINFO& info, bool redraw) {
    ScrollBarState& state = stateOf(window, bar);
    if (info.fMask & SIF_RANGE) {
        state.minimum = info.nMin;
        state.maximum = info.nMax;
    }
    if (info.fMask & SIF_PAGE) state.page = info.nPage;
    if (info.fMask & SIF_POS) state.position = info.nPos;
    clamp(state);
    if (info.fMask & (SIF_RANGE | SIF_PAGE)) {
        bool needed = canScroll(state);
        if (info.fMask & SIF_DISABLENOSCROLL) {
            state.disabledArrows = needed ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH;
            showBar(window, bar, true);
        } else {
            if (needed) state.disabledArrows = ESB_ENABLE_BOTH;
            showBar(window, bar, needed);
        }
    }
    if (redraw && (window.style & styleBit(bar))) repaintBar(window, bar);
    return state.position;
}

bool isWindowBar(int bar) {
    return bar == SB_HORZ || bar == SB_VERT;
}

// ---- Tracking ----

WORD codeForPart(ScrollBarPart part) {
    switch (part) {
    case LineUpArrow:
        return SB_LINEUP;
    case LineDownArrow:
        return SB_LINEDOWN;
    case PageUpArea:
        return SB_PAGEUP;
    default:
        return SB_PAGEDOWN;
    }
}

struct Tracking {
    Window* window;
    HWND handle;
    int bar;
    UINT message;
    ScrollBarPart part;
    // The point in window coordinates where the mouse is now.
    POINT point;
    int grabOffset = 0;
    bool finished = false;
};

POINT windowPointOf(const Window& window, POINT screen) {
    TPoint origin = WindowOriginOnScreen(window);
    return {screen.x - origin.x, screen.y - origin.y};
}

void notify(Tracking& tracking, WORD code, int position) {
    SendMessageW(tracking.handle, tracking.message, MAKEWPARAM(code, static_cast<WORD>(position)), 0);
}

// Whether a held arrow or page area still acts: the page areas stop once the thumb reaches the pointer.
bool stillActs(Tracking& tracking) {
    if (!IsWindow(tracking.handle)) return false;
    BarGeometry geometry = geometryOfWindowBar(*tracking.window, tracking.bar);
    return partAt(geometry, tracking.point) == tracking.part;
}

void repeatPart(Tracking& tracking) {
    if (stillActs(tracking)) notify(tracking, codeForPart(tracking.part), 0);
}

void dragThumb(Tracking& tracking) {
    Window& window = *tracking.window;
    ScrollBarState& state = stateOf(window, tracking.bar);
    BarGeometry geometry = geometryOf(barRect(LayoutNonClient(window), tracking.bar), tracking.bar == SB_VERT,
                                      state, state.minimum);
    int thumb = geometry.thumbEnd - geometry.thumbStart;
    int room = geometry.trackEnd - geometry.trackStart - thumb;
    int pointer = tracking.bar == SB_VERT ? tracking.point.y : tracking.point.x;
    int start = std::clamp(pointer - tracking.grabOffset, geometry.trackStart, geometry.trackStart + room);
    int span = maximumPosition(state) - state.minimum;
    int position =
        state.minimum +
        (room > 0 ? static_cast<int>((static_cast<long long>(start - geometry.trackStart) * span + room / 2) /
                                     room)
                  : 0);
    if (position == state.trackPosition) return;
    state.trackPosition = position;
    repaintBar(window, tracking.bar);
    notify(tracking, SB_THUMBTRACK, position);
}

bool handleTrackingMessage(Tracking& tracking, MSG& msg) {
    Window* window = FindWindowObject(tracking.handle);
    if (!window) {
        tracking.finished = true;
        return false;
    }
    switch (msg.message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP: {
        POINT screen = msg.pt;
        tracking.point = windowPointOf(*window, screen);
        if (tracking.part == Thumb)
            dragThumb(tracking);
        else
            stateOf(*window, tracking.bar).pushedPart = stillActs(tracking) ? tracking.part : NoPart;
        if (msg.message == WM_LBUTTONUP) tracking.finished = true;
        return true;
    }
    case WM_TIMER:
        if (msg.hwnd != tracking.handle || msg.wParam != repeatTimerId) return false;
        SetTimer(tracking.handle, repeatTimerId, repeatInterval, nullptr);
        repeatPart(tracking);
        return true;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
        return true;
    default:
        if (GetCapture() != tracking.handle) tracking.finished = true;
        return false;
    }
}

void finishTracking(Tracking& tracking) {
    KillTimer(tracking.handle, repeatTimerId);
    Window* window = FindWindowObject(tracking.handle);
    if (GetCapture() == tracking.handle) ReleaseCapture();
    if (!window) return;
    ScrollBarState& state = stateOf(*window, tracking.bar);
    state.pushedPart = NoPart;
    if (tracking.part == Thumb) {
        int position = state.trackPosition;
        state.tracking = false;
        notify(tracking, SB_THUMBPOSITION, position);
    }
    if (IsWindow(tracking.handle)) {
        repaintBar(*window, tracking.bar);
        notify(tracking, SB_ENDSCROLL, 0);
    }
}

bool arrowDisabled(const ScrollBarState& state, ScrollBarPart part) {
    if (part == LineUpArrow || part == PageUpArea) return state.disabledArrows & ESB_DISABLE_LTUP;
    if (part == LineDownArrow || part == PageDownArea) return state.disabledArrows & ESB_DISABLE_RTDN;
    return state.disabledArrows == ESB_DISABLE_BOTH;
}

} // namespace

int SetScrollInfo(HWND handle, int bar, const SCROLLINFO* info, BOOL redraw) {
    if (!info) return 0;
    if (bar == SB_CTL)
        return static_cast<int>(
            SendMessageW(handle, SBM_SETSCROLLINFO, redraw, reinterpret_cast<LPARAM>(info)));
    Window* window = WindowOrError(handle);
    if (!window || !isWindowBar(bar)) return 0;
    return setWindowScrollInfo(*window, bar, *info, redraw);
}

BOOL GetScrollInfo(HWND handle, int bar, SCROLLINFO* info) {
    if (!info) return FALSE;
    if (bar == SB_CTL)
        return SendMessageW(handle, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(info)) ? TRUE : FALSE;
    Window* window = WindowOrError(handle);
    if (!window || !isWindowBar(bar)) return FALSE;
    const ScrollBarState& state = stateOf(*window, bar);
    if (info->fMask & SIF_RANGE) {
        info->nMin = state.minimum;
        info->nMax = state.maximum;
    }
    if (info->fMask & SIF_PAGE) info->nPage = state.page;
    if (info->fMask & SIF_POS) info->nPos = state.position;
    if (info->fMask & SIF_TRACKPOS) info->nTrackPos = state.tracking ? state.trackPosition : state.position;
    return TRUE;
}

int SetScrollPos(HWND window, int bar, int position, BOOL redraw) {
    int previous = GetScrollPos(window, bar);
    SCROLLINFO info;
    info.fMask = SIF_POS;
    info.nPos = position;
    SetScrollInfo(window, bar, &info, redraw);
    return previous;
}

int GetScrollPos(HWND window, int bar) {
    SCROLLINFO info;
    info.fMask = SIF_POS;
    return GetScrollInfo(window, bar, &info) ? info.nPos : 0;
}

BOOL SetScrollRange(HWND window, int bar, int minimum, int maximum, BOOL redraw) {
    SCROLLINFO info;
    info.fMask = SIF_RANGE;
    info.nMin = minimum;
    info.nMax = maximum;
    SetScrollInfo(window, bar, &info, redraw);
    return TRUE;
}

BOOL GetScrollRange(HWND window, int bar, LPINT minimum, LPINT maximum) {
    SCROLLINFO info;
    info.fMask = SIF_RANGE;
    if (!GetScrollInfo(window, bar, &info)) return FALSE;
    if (minimum) *minimum = info.nMin;
    if (maximum) *maximum = info.nMax;
    return TRUE;
}

BOOL ShowScrollBar(HWND handle, int bar, BOOL show) {
    if (bar == SB_CTL) return ShowWindow(handle, show ? SW_SHOW : SW_HIDE), TRUE;
    Window* window = WindowOrError(handle);
    if (!window || (bar != SB_HORZ && bar != SB_VERT && bar != SB_BOTH)) return FALSE;
    showBar(*window, bar, show);
    return TRUE;
}

BOOL EnableScrollBar(HWND handle, UINT bar, UINT arrows) {
    if (bar == static_cast<UINT>(SB_CTL))
        return SendMessageW(handle, SBM_ENABLE_ARROWS, arrows, 0) ? TRUE : FALSE;
    Window* window = WindowOrError(handle);
    if (!window) return FALSE;
    bool changed = false;
    for (int each : {SB_HORZ, SB_VERT}) {
        if (bar != static_cast<UINT>(each) && bar != static_cast<UINT>(SB_BOTH)) continue;
        ScrollBarState& state = stateOf(*window, each);
        changed |= state.disabledArrows != arrows;
        state.disabledArrows = arrows;
        if (window->style & styleBit(each)) repaintBar(*window, each);
    }
    return changed ? TRUE : FALSE;
}

void PaintWindowScrollBars(Window& window, HDC windowDC, const NonClientLayout& layout) {
    bool enabled = !(window.style & WS_DISABLED);
    for (int bar : {SB_HORZ, SB_VERT}) {
        ScrollBarState& state = stateOf(window, bar);
        paintBar(windowDC,
                 geometryOf(barRect(layout, bar), bar == SB_VERT, state,
                            state.tracking ? state.trackPosition : state.position),
                 state, enabled);
    }
    if (!IsEmptyRect(layout.sizeBox)) {
        RECT box = layout.sizeBox;
        FillRect(windowDC, &box, GetSysColorBrush(COLOR_3DFACE));
    }
}

void TrackWindowScrollBar(Window& window, int bar, POINT screen) {
    ScrollBarState& state = stateOf(window, bar);
    BarGeometry geometry = geometryOfWindowBar(window, bar);
    POINT point = windowPointOf(window, screen);
    ScrollBarPart part = partAt(geometry, point);
    if (part == NoPart || !canScroll(state) || arrowDisabled(state, part) || (window.style & WS_DISABLED))
        return;
    Tracking tracking{&window, window.handle,
                      bar,     static_cast<UINT>(bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL),
                      part,    point};
    SetCapture(window.handle);
    if (part == Thumb) {
        state.tracking = true;
        state.trackPosition = state.position;
        tracking.grabOffset = (bar == SB_VERT ? point.y : point.x) - geometry.thumbStart;
        notify(tracking, SB_THUMBTRACK, state.position);
    } else {
        state.pushedPart = part;
        repaintBar(window, bar);
        notify(tracking, codeForPart(part), 0);
        SetTimer(window.handle, repeatTimerId, firstRepeatDelay, nullptr);
    }
    RunModalLoop([&] { return tracking.finished; },
                 [&](MSG& msg) { return handleTrackingMessage(tracking, msg); });
    finishTracking(tracking);
}

std::optional<int> ScrolledPosition(const SCROLLINFO& info, WORD code, int line) {
    switch (code) {
    case SB_LINEUP:
        return info.nPos - line;
    case SB_LINEDOWN:
        return info.nPos + line;
    case SB_PAGEUP:
        return info.nPos - static_cast<int>(info.nPage);
    case SB_PAGEDOWN:
        return info.nPos + static_cast<int>(info.nPage);
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        return info.nTrackPos;
    case SB_TOP:
        return info.nMin;
    case SB_BOTTOM:
        return info.nMax;
    default:
        return std::nullopt;
    }
}

namespace {

constexpr int arrowGlyphHeight = 4;

void drawArrowGlyph(HDC dc, const TRect& button, bool vertical, bool towardsEnd, bool enabled) {
    HBRUSH brush = GetSysColorBrush(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
    int centreX = (button.Left + button.Right) / 2, centreY = (button.Top + button.Bottom) / 2;
    for (int row = 0; row < arrowGlyphHeight; ++row) {
        int half = towardsEnd ? arrowGlyphHeight - 1 - row : row;
        int offset = row - arrowGlyphHeight / 2;
        RECT line = vertical
                        ? TRect{centreX - half - 1, centreY + offset, centreX + half, centreY + offset + 1}
                        : TRect{centreX + offset, centreY - half - 1, centreX + offset + 1, centreY + half};
        FillRect(dc, &line, brush);
    }
}

} // namespace

void DrawScrollBarArrow(HDC dc, const TRect& button, bool vertical, bool towardsEnd, bool enabled,
                        bool pushed) {
    if (IsEmptyRect(button)) return;
    RECT face = button;
    DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED | DFCS_FLAT : 0));
    TRect glyph = pushed ? OffsetRectBy(button, 1, 1) : button;
    drawArrowGlyph(dc, glyph, vertical, towardsEnd, enabled);
}
