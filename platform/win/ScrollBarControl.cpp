// The SCROLLBAR class: the bar's values and their clamping (those of a
// window's own scroll bars), its geometry and drawing, and the modal tracking
// of a press on an arrow, a page area or the thumb.
#include "platform/win/ScrollBarControl.h"

#include "platform/win/ScrollBars.h"

#include "platform/win/Cursors.h"
#include "platform/win/DefWindowProc.h"
#include "platform/win/Drawing.h"
#include "platform/win/Edges.h"
#include "platform/win/Messages.h"
#include "platform/win/Mouse.h"
#include "platform/win/Painting.h"
#include "platform/win/StandardControls.h"
#include "platform/win/SysColors.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/Timers.h"
#include "platform/win/WindowPos.h"
#include "platform/win/WindowTree.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

namespace {

enum class Part { None, LineUpArrow, PageUpArea, Thumb, PageDownArea, LineDownArrow };

constexpr int minimumThumb = 8;
// The timer that repeats a held arrow or page area.
constexpr UINT_PTR repeatTimerId = 0xFFFB;
constexpr UINT firstRepeatDelay = 400;
constexpr UINT repeatInterval = 50;

struct BarState {
    HWND window = nullptr;
    // A scroll bar control starts with an empty range.
    int minimum = 0;
    int maximum = 0;
    UINT page = 0;
    int position = 0;
    int trackPosition = 0;
    bool tracking = false;
    UINT disabledArrows = ESB_ENABLE_BOTH;
    Part pushed = Part::None;
};

using StatePointer = std::shared_ptr<BarState>;

struct StateTable {
    std::mutex mutex;
    std::map<HWND, StatePointer> states;
};

StateTable& stateTable() {
    static StateTable table;
    return table;
}

StatePointer stateOf(HWND window) {
    StateTable& table = stateTable();
    std::lock_guard lock(table.mutex);
    auto found = table.states.find(window);
    return found == table.states.end() ? nullptr : found->second;
}

bool isVertical(HWND window) {
    return (GetWindowLongPtrW(window, GWL_STYLE) & SBS_VERT) != 0;
}

// ---- Values ----------------------------------------------------------------------

int maximumPosition(const BarState& state) {
    return std::max(state.minimum, state.maximum - std::max<int>(static_cast<int>(state.page) - 1, 0));
}

bool canScroll(const BarState& state) {
    return maximumPosition(state) > state.minimum;
}

void clamp(BarState& state) {
    state.maximum = std::max(state.maximum, state.minimum);
    UINT range = static_cast<UINT>(state.maximum - state.minimum) + 1;
    state.page = std::min(state.page, range);
    state.position = std::clamp(state.position, state.minimum, maximumPosition(state));
}

void repaint(const BarState& state) {
    InvalidateRect(state.window, nullptr, TRUE);
}

int setScrollInfo(BarState& state, const SCROLLINFO& info, bool redraw) {
    if (info.fMask & SIF_RANGE) {
        state.minimum = info.nMin;
        state.maximum = info.nMax;
    }
    if (info.fMask & SIF_PAGE) state.page = info.nPage;
    if (info.fMask & SIF_POS) state.position = info.nPos;
    clamp(state);
    if (info.fMask & (SIF_RANGE | SIF_PAGE)) {
        if (canScroll(state))
            state.disabledArrows = ESB_ENABLE_BOTH;
        else if (info.fMask & SIF_DISABLENOSCROLL)
            state.disabledArrows = ESB_DISABLE_BOTH;
    }
    if (redraw) repaint(state);
    return state.position;
}

BOOL getScrollInfo(const BarState& state, SCROLLINFO* info) {
    if (!info) return FALSE;
    if (info->fMask & SIF_RANGE) {
        info->nMin = state.minimum;
        info->nMax = state.maximum;
    }
    if (info->fMask & SIF_PAGE) info->nPage = state.page;
    if (info->fMask & SIF_POS) info->nPos = state.position;
    if (info->fMask & SIF_TRACKPOS) info->nTrackPos = state.tracking ? state.trackPosition : state.position;
    return TRUE;
}

// Returns the previous position.
int setPosition(BarState& state, int position, bool redraw) {
    int previous = state.position;
    SCROLLINFO info;
    info.fMask = SIF_POS;
    info.nPos = position;
    setScrollInfo(state, info, redraw);
    return previous;
}

int setRange(BarState& state, int minimum, int maximum, bool redraw) {
    int previous = state.position;
    SCROLLINFO info;
    info.fMask = SIF_RANGE;
    info.nMin = minimum;
    info.nMax = maximum;
    setScrollInfo(state, info, redraw);
    return previous;
}

BOOL enableArrows(BarState& state, UINT arrows) {
    if (state.disabledArrows == arrows) return FALSE;
    state.disabledArrows = arrows;
    repaint(state);
    return TRUE;
}

// ---- Geometry --------------------------------------------------------------------

struct Geometry {
    bool vertical = true;
    TRect bar;
    TRect upArrow;
    TRect downArrow;
    // Along the bar: where the track starts and ends, and the thumb (empty when there is none).
    int trackStart = 0;
    int trackEnd = 0;
    int thumbStart = 0;
    int thumbEnd = 0;
};

int along(const TRect& rect, bool vertical, bool end) {
    return vertical ? (end ? rect.Bottom : rect.Top) : (end ? rect.Right : rect.Left);
}

void placeArrows(Geometry& geometry) {
    const TRect& bar = geometry.bar;
    int length = geometry.vertical ? bar.Height() : bar.Width();
    int thickness = geometry.vertical ? bar.Width() : bar.Height();
    int arrow = std::min(thickness, length / 2);
    if (geometry.vertical) {
        geometry.upArrow = {bar.Left, bar.Top, bar.Right, bar.Top + arrow};
        geometry.downArrow = {bar.Left, bar.Bottom - arrow, bar.Right, bar.Bottom};
    } else {
        geometry.upArrow = {bar.Left, bar.Top, bar.Left + arrow, bar.Bottom};
        geometry.downArrow = {bar.Right - arrow, bar.Top, bar.Right, bar.Bottom};
    }
    geometry.trackStart = along(geometry.upArrow, geometry.vertical, true);
    geometry.trackEnd = along(geometry.downArrow, geometry.vertical, false);
}

// The thumb is as long as the page is to the range (the bar's thickness without a page).
void placeThumb(Geometry& geometry, const BarState& state, int position) {
    if (!canScroll(state) || state.disabledArrows == ESB_DISABLE_BOTH) return;
    int track = geometry.trackEnd - geometry.trackStart;
    int thickness = geometry.vertical ? geometry.bar.Width() : geometry.bar.Height();
    int range = state.maximum - state.minimum + 1;
    int thumb =
        state.page == 0
            ? thickness
            : std::max(static_cast<int>(static_cast<long long>(track) * state.page / range), minimumThumb);
    if (thumb > track) return;
    int span = maximumPosition(state) - state.minimum;
    int offset = static_cast<int>(static_cast<long long>(track - thumb) * (position - state.minimum) / span);
    geometry.thumbStart = geometry.trackStart + offset;
    geometry.thumbEnd = geometry.thumbStart + thumb;
}

Geometry geometryAt(const BarState& state, int position) {
    Geometry geometry;
    geometry.vertical = isVertical(state.window);
    RECT client{};
    GetClientRect(state.window, &client);
    geometry.bar = client;
    placeArrows(geometry);
    placeThumb(geometry, state, position);
    return geometry;
}

Geometry geometryOf(const BarState& state) {
    return geometryAt(state, state.tracking ? state.trackPosition : state.position);
}

bool hasThumb(const Geometry& geometry) {
    return geometry.thumbEnd > geometry.thumbStart;
}

TRect partRect(const Geometry& geometry, Part part) {
    auto span = [&](int start, int end) {
        return geometry.vertical ? TRect{geometry.bar.Left, start, geometry.bar.Right, end}
                                 : TRect{start, geometry.bar.Top, end, geometry.bar.Bottom};
    };
    int thumbStart = hasThumb(geometry) ? geometry.thumbStart : geometry.trackEnd;
    int thumbEnd = hasThumb(geometry) ? geometry.thumbEnd : geometry.trackEnd;
    switch (part) {
    case Part::LineUpArrow:
        return geometry.upArrow;
    case Part::LineDownArrow:
        return geometry.downArrow;
    case Part::PageUpArea:
        return span(geometry.trackStart, thumbStart);
    case Part::Thumb:
        return span(thumbStart, thumbEnd);
    case Part::PageDownArea:
        return span(thumbEnd, geometry.trackEnd);
    default:
        return {};
    }
}

bool contains(const TRect& rect, POINT point) {
    return point.x >= rect.Left && point.x < rect.Right && point.y >= rect.Top && point.y < rect.Bottom;
}

Part partAt(const Geometry& geometry, POINT point) {
    for (Part part :
         {Part::LineUpArrow, Part::LineDownArrow, Part::Thumb, Part::PageUpArea, Part::PageDownArea})
        if (contains(partRect(geometry, part), point)) return part;
    return Part::None;
}

// ---- Drawing ---------------------------------------------------------------------

void paintBar(const BarState& state, HDC dc) {
    Geometry geometry = geometryOf(state);
    bool enabled = IsWindowEnabled(state.window) && canScroll(state);
    bool upEnabled = enabled && !(state.disabledArrows & ESB_DISABLE_LTUP);
    bool downEnabled = enabled && !(state.disabledArrows & ESB_DISABLE_RTDN);
    DrawScrollBarArrow(dc, geometry.upArrow, geometry.vertical, false, upEnabled,
                       state.pushed == Part::LineUpArrow);
    DrawScrollBarArrow(dc, geometry.downArrow, geometry.vertical, true, downEnabled,
                       state.pushed == Part::LineDownArrow);
    // The parent chooses the brush of the track.
    HBRUSH track = ControlColourBrush(state.window, dc, WM_CTLCOLORSCROLLBAR);
    for (Part part : {Part::PageUpArea, Part::PageDownArea}) {
        RECT area = partRect(geometry, part);
        FillRect(dc, &area, state.pushed == part ? GetSysColorBrush(COLOR_3DDKSHADOW) : track);
    }
    if (hasThumb(geometry)) {
        RECT thumb = partRect(geometry, Part::Thumb);
        DrawFrameControl(dc, &thumb, DFC_BUTTON, DFCS_BUTTONPUSH);
    }
}

void paint(const BarState& state) {
    PAINTSTRUCT paintStruct;
    HDC dc = BeginPaint(state.window, &paintStruct);
    if (!dc) return;
    paintBar(state, dc);
    EndPaint(state.window, &paintStruct);
}

// ---- Notifications and tracking ----------------------------------------------------

void notifyParent(HWND window, WORD code, int position) {
    HWND parent = GetParent(window);
    if (!parent) return;
    SendMessageW(parent, isVertical(window) ? WM_VSCROLL : WM_HSCROLL,
                 MAKEWPARAM(code, static_cast<WORD>(position)), reinterpret_cast<LPARAM>(window));
}

WORD codeForPart(Part part) {
    switch (part) {
    case Part::LineUpArrow:
        return SB_LINEUP;
    case Part::LineDownArrow:
        return SB_LINEDOWN;
    case Part::PageUpArea:
        return SB_PAGEUP;
    default:
        return SB_PAGEDOWN;
    }
}

bool arrowDisabled(const BarState& state, Part part) {
    if (part == Part::LineUpArrow || part == Part::PageUpArea) return state.disabledArrows & ESB_DISABLE_LTUP;
    if (part == Part::LineDownArrow || part == Part::PageDownArea)
        return state.disabledArrows & ESB_DISABLE_RTDN;
    return state.disabledArrows == ESB_DISABLE_BOTH;
}

struct Tracking {
    StatePointer state;
    Part part = Part::None;
    // Where the mouse is now, in client coordinates.
    POINT point;
    int grabOffset = 0;
    bool finished = false;
};

// A held page area stops acting once the thumb reaches the pointer.
bool stillActs(const Tracking& tracking) {
    return IsWindow(tracking.state->window) &&
           partAt(geometryOf(*tracking.state), tracking.point) == tracking.part;
}

void dragThumb(Tracking& tracking) {
    BarState& state = *tracking.state;
    Geometry geometry = geometryAt(state, state.minimum);
    int thumb = geometry.thumbEnd - geometry.thumbStart;
    int room = geometry.trackEnd - geometry.trackStart - thumb;
    int pointer = geometry.vertical ? tracking.point.y : tracking.point.x;
    int start = std::clamp(pointer - tracking.grabOffset, geometry.trackStart, geometry.trackStart + room);
    int span = maximumPosition(state) - state.minimum;
    int position =
        state.minimum +
        (room > 0 ? static_cast<int>((static_cast<long long>(start - geometry.trackStart) * span + room / 2) /
                                     room)
                  : 0);
    if (position == state.trackPosition) return;
    state.trackPosition = position;
    repaint(state);
    notifyParent(state.window, SB_THUMBTRACK, position);
}

POINT clientPointOf(HWND window, POINT screen) {
    ScreenToClient(window, &screen);
    return screen;
}

bool handleTrackingMessage(Tracking& tracking, MSG& msg) {
    BarState& state = *tracking.state;
    if (!IsWindow(state.window)) {
        tracking.finished = true;
        return false;
    }
    switch (msg.message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
        tracking.point = clientPointOf(state.window, msg.pt);
        if (tracking.part == Part::Thumb) {
            dragThumb(tracking);
        } else {
            Part pushed = stillActs(tracking) ? tracking.part : Part::None;
            if (pushed != state.pushed) repaint(state);
            state.pushed = pushed;
        }
        if (msg.message == WM_LBUTTONUP) tracking.finished = true;
        return true;
    case WM_TIMER:
        if (msg.hwnd != state.window || msg.wParam != repeatTimerId) return false;
        SetTimer(state.window, repeatTimerId, repeatInterval, nullptr);
        if (stillActs(tracking)) notifyParent(state.window, codeForPart(tracking.part), 0);
        return true;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
        return true;
    default:
        if (GetCapture() != state.window) tracking.finished = true;
        return false;
    }
}

void finishTracking(Tracking& tracking) {
    BarState& state = *tracking.state;
    HWND window = state.window;
    KillTimer(window, repeatTimerId);
    if (GetCapture() == window) ReleaseCapture();
    state.pushed = Part::None;
    if (tracking.part == Part::Thumb) {
        state.tracking = false;
        if (IsWindow(window)) notifyParent(window, SB_THUMBPOSITION, state.trackPosition);
    }
    if (!IsWindow(window)) return;
    repaint(state);
    notifyParent(window, SB_ENDSCROLL, 0);
}

void startTracking(const StatePointer& state, POINT point) {
    Geometry geometry = geometryOf(*state);
    Part part = partAt(geometry, point);
    if (part == Part::None || !canScroll(*state) || arrowDisabled(*state, part)) return;
    Tracking tracking{state, part, point};
    SetCapture(state->window);
    if (part == Part::Thumb) {
        state->tracking = true;
        state->trackPosition = state->position;
        tracking.grabOffset = (geometry.vertical ? point.y : point.x) - geometry.thumbStart;
        notifyParent(state->window, SB_THUMBTRACK, state->position);
    } else {
        state->pushed = part;
        repaint(*state);
        notifyParent(state->window, codeForPart(part), 0);
        SetTimer(state->window, repeatTimerId, firstRepeatDelay, nullptr);
    }
    RunModalLoop([&] { return tracking.finished; },
                 [&](MSG& msg) { return handleTrackingMessage(tracking, msg); });
    finishTracking(tracking);
}

// ---- Keyboard --------------------------------------------------------------------

// The SB_ code of a key, or -1 for keys the bar does not use.
int codeForKey(UINT key) {
    switch (key) {
    case VK_UP:
    case VK_LEFT:
        return SB_LINEUP;
    case VK_DOWN:
    case VK_RIGHT:
        return SB_LINEDOWN;
    case VK_PRIOR:
        return SB_PAGEUP;
    case VK_NEXT:
        return SB_PAGEDOWN;
    case VK_HOME:
        return SB_TOP;
    case VK_END:
        return SB_BOTTOM;
    default:
        return -1;
    }
}

// ---- The window procedure ------------------------------------------------------------

// SBS_TOPALIGN and its kin give the bar the standard thickness at one edge of the rectangle.
void alignToEdge(HWND window, const CREATESTRUCTW& create) {
    DWORD style = static_cast<DWORD>(create.style);
    bool vertical = style & SBS_VERT;
    bool first = style & SBS_TOPALIGN;
    bool last = style & SBS_BOTTOMALIGN;
    if (!first && !last) return;
    TRect rect{create.x, create.y, create.x + create.cx, create.y + create.cy};
    if (vertical) {
        int width = GetSystemMetrics(SM_CXVSCROLL);
        rect = first ? TRect{rect.Left, rect.Top, rect.Left + width, rect.Bottom}
                     : TRect{rect.Right - width, rect.Top, rect.Right, rect.Bottom};
    } else {
        int height = GetSystemMetrics(SM_CYHSCROLL);
        rect = first ? TRect{rect.Left, rect.Top, rect.Right, rect.Top + height}
                     : TRect{rect.Left, rect.Bottom - height, rect.Right, rect.Bottom};
    }
    MoveWindow(window, rect.Left, rect.Top, rect.Width(), rect.Height(), FALSE);
}

void createState(HWND window) {
    auto state = std::make_shared<BarState>();
    state->window = window;
    StateTable& table = stateTable();
    std::lock_guard lock(table.mutex);
    table.states[window] = std::move(state);
}

void destroyState(HWND window) {
    StateTable& table = stateTable();
    std::lock_guard lock(table.mutex);
    table.states.erase(window);
}

std::optional<LRESULT> barMessage(const StatePointer& state, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        alignToEdge(state->window, *reinterpret_cast<const CREATESTRUCTW*>(lParam));
        return 0;
    case SBM_SETPOS:
        return setPosition(*state, static_cast<int>(wParam), lParam != 0);
    case SBM_GETPOS:
        return state->position;
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW:
        return setRange(*state, static_cast<int>(wParam), static_cast<int>(lParam),
                        message == SBM_SETRANGEREDRAW);
    case SBM_GETRANGE:
        if (wParam) *reinterpret_cast<LPINT>(wParam) = state->minimum;
        if (lParam) *reinterpret_cast<LPINT>(lParam) = state->maximum;
        return 0;
    case SBM_ENABLE_ARROWS:
        return enableArrows(*state, static_cast<UINT>(wParam));
    case SBM_SETSCROLLINFO:
        if (!lParam) return 0;
        return setScrollInfo(*state, *reinterpret_cast<const SCROLLINFO*>(lParam), wParam != 0);
    case SBM_GETSCROLLINFO:
        return getScrollInfo(*state, reinterpret_cast<SCROLLINFO*>(lParam));
    case WM_PAINT:
        paint(*state);
        return 0;
    case WM_ERASEBKGND:
        // WM_PAINT covers every pixel.
        return 1;
    case WM_ENABLE:
    case WM_SIZE:
        repaint(*state);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        startTracking(state, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_KEYDOWN:
        if (int code = codeForKey(static_cast<UINT>(wParam)); code >= 0)
            notifyParent(state->window, static_cast<WORD>(code), 0);
        return 0;
    case WM_KEYUP:
        if (codeForKey(static_cast<UINT>(wParam)) >= 0) notifyParent(state->window, SB_ENDSCROLL, 0);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS;
    default:
        return std::nullopt;
    }
}

LRESULT scrollBarProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) createState(window);
    if (message == WM_NCDESTROY) destroyState(window);
    if (StatePointer state = stateOf(window))
        if (std::optional<LRESULT> result = barMessage(state, message, wParam, lParam)) return *result;
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

void RegisterScrollBarControlClass() {
    static const bool registered = [] {
        WNDCLASSEXW windowClass;
        windowClass.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
        windowClass.lpfnWndProc = WindowProcFromFunction(scrollBarProcedure);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = ScrollBarClassName;
        return RegisterSystemClassW(&windowClass) != 0;
    }();
    (void)registered;
}
