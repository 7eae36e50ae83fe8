// The track bar: range, position, ticks and selection, the geometry of channel and thumb, input and drawing.
#include "platform/win/TrackBarControl.h"

#include "platform/win/CommonControls.h"
#include "platform/win/Drawing.h"
#include "platform/win/Edges.h"
#include "platform/win/Focus.h"
#include "platform/win/Gdi.h"
#include "platform/win/Messages.h"
#include "platform/win/Mouse.h"
#include "platform/win/SysColors.h"
#include "platform/win/Timers.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

constexpr int defaultMaximum = 100;
constexpr int defaultPageSize = 20;
constexpr int defaultThumbLength = 20;
// Room kept at each end of the channel and its thickness.
constexpr int channelMargin = 8;
constexpr int channelThickness = 4;
constexpr int tickLength = 3;
constexpr int endTickLength = 4;
constexpr int tickGap = 2;
constexpr UINT_PTR repeatTimerId = 1;
constexpr UINT firstRepeatDelay = 400;
constexpr UINT repeatInterval = 100;

class TrackBar : public DrawnControl {
public:
    using DrawnControl::DrawnControl;

protected:
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case TBM_GETPOS:
            return position_;
        case TBM_SETPOS:
            setPosition(static_cast<int>(lParam));
            return 0;
        case TBM_GETRANGEMIN:
            return minimum_;
        case TBM_GETRANGEMAX:
            return maximum_;
        case TBM_SETRANGE:
            setRange(static_cast<SHORT>(LOWORD(static_cast<UINT_PTR>(lParam))),
                     static_cast<SHORT>(HIWORD(static_cast<UINT_PTR>(lParam))));
            return 0;
        case TBM_SETRANGEMIN:
            setRange(static_cast<int>(lParam), maximum_);
            return 0;
        case TBM_SETRANGEMAX:
            setRange(minimum_, static_cast<int>(lParam));
            return 0;
        case TBM_SETTICFREQ:
            frequency_ = std::max(1, static_cast<int>(wParam));
            Invalidate();
            return 0;
        case TBM_SETTIC:
            return setTic(static_cast<int>(lParam));
        case TBM_GETTIC:
            return validTic(static_cast<int>(wParam)) ? tics_[wParam] : -1;
        case TBM_GETTICPOS:
            return validTic(static_cast<int>(wParam)) ? tickPixel(tics_[wParam]) : -1;
        case TBM_GETNUMTICS:
            return HasStyle(TBS_NOTICKS) ? 0 : static_cast<LRESULT>(allTicks().size());
        case TBM_GETPTICS:
            return tics_.empty() ? 0 : reinterpret_cast<LRESULT>(tics_.data());
        case TBM_CLEARTICS:
            tics_.clear();
            if (wParam) Invalidate();
            return 0;
        case TBM_SETSEL:
            selectionStart_ = static_cast<SHORT>(LOWORD(static_cast<UINT_PTR>(lParam)));
            selectionEnd_ = static_cast<SHORT>(HIWORD(static_cast<UINT_PTR>(lParam)));
            if (wParam) Invalidate();
            return 0;
        case TBM_SETSELSTART:
            selectionStart_ = static_cast<int>(lParam);
            if (wParam) Invalidate();
            return 0;
        case TBM_SETSELEND:
            selectionEnd_ = static_cast<int>(lParam);
            if (wParam) Invalidate();
            return 0;
        case TBM_GETSELSTART:
            return selectionStart_;
        case TBM_GETSELEND:
            return selectionEnd_;
        case TBM_CLEARSEL:
            selectionStart_ = selectionEnd_ = -1;
            if (wParam) Invalidate();
            return 0;
        case TBM_SETPAGESIZE:
            return std::exchange(pageSize_, static_cast<int>(lParam));
        case TBM_GETPAGESIZE:
            return pageSize_;
        case TBM_SETLINESIZE:
            return std::exchange(lineSize_, static_cast<int>(lParam));
        case TBM_GETLINESIZE:
            return lineSize_;
        case TBM_GETTHUMBRECT:
            if (lParam) *reinterpret_cast<RECT*>(lParam) = thumbRect();
            return 0;
        case TBM_GETCHANNELRECT:
            if (lParam) *reinterpret_cast<RECT*>(lParam) = reportedChannelRect();
            return 0;
        case TBM_SETTHUMBLENGTH:
            thumbLength_ = static_cast<int>(wParam);
            Invalidate();
            return 0;
        case TBM_GETTHUMBLENGTH:
            return thumbLength();
        case TBM_SETBUDDY:
            return reinterpret_cast<LRESULT>(
                std::exchange(wParam ? leftBuddy_ : rightBuddy_, reinterpret_cast<HWND>(lParam)));
        case TBM_GETBUDDY:
            return reinterpret_cast<LRESULT>(wParam ? leftBuddy_ : rightBuddy_);
        case TBM_SETTOOLTIPS:
            tooltips_ = reinterpret_cast<HWND>(wParam);
            return 0;
        case TBM_GETTOOLTIPS:
            return reinterpret_cast<LRESULT>(tooltips_);
        case TBM_SETTIPSIDE:
            return std::exchange(tipSide_, static_cast<int>(wParam));
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS;
        case WM_KEYDOWN:
            keyDown(static_cast<UINT>(wParam));
            return 0;
        case WM_KEYUP:
            if (isMovementKey(static_cast<UINT>(wParam))) report(TB_ENDTRACK);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            mouseDown(PointFromLParam(lParam));
            return 0;
        case WM_MOUSEMOVE:
            if (dragging_) drag(PointFromLParam(lParam));
            return 0;
        case WM_LBUTTONUP:
            mouseUp();
            return 0;
        case WM_CAPTURECHANGED:
            endPress();
            return 0;
        case WM_TIMER:
            if (wParam == repeatTimerId) repeatPage();
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_ENABLE:
        case WM_SIZE:
        case WM_STYLECHANGED:
            Invalidate();
            return 0;
        default:
            return Default(message, wParam, lParam);
        }
    }

private:
    bool vertical() const { return HasStyle(TBS_VERT); }
    bool validTic(int index) const { return index >= 0 && index < static_cast<int>(tics_.size()); }
    int range() const { return maximum_ - minimum_; }

    // ---- Values ----

    void setPosition(int position) {
        position = std::clamp(position, minimum_, std::max(minimum_, maximum_));
        if (position == position_) return;
        position_ = position;
        Invalidate();
    }

    void setRange(int minimum, int maximum) {
        minimum_ = minimum;
        maximum_ = maximum;
        position_ = std::clamp(position_, minimum_, std::max(minimum_, maximum_));
        Invalidate();
    }

    LRESULT setTic(int position) {
        if (position < minimum_ || position > maximum_) return FALSE;
        tics_.insert(std::upper_bound(tics_.begin(), tics_.end(), position), position);
        Invalidate();
        return TRUE;
    }

    // The ticks drawn: the ends, the set ticks and, with TBS_AUTOTICKS, one per frequency step.
    std::vector<int> allTicks() const {
        std::vector<int> ticks{minimum_};
        if (HasStyle(TBS_AUTOTICKS))
            for (int value = minimum_ + frequency_; value < maximum_; value += frequency_)
                ticks.push_back(value);
        ticks.insert(ticks.end(), tics_.begin(), tics_.end());
        if (maximum_ != minimum_) ticks.push_back(maximum_);
        std::sort(ticks.begin(), ticks.end());
        ticks.erase(std::unique(ticks.begin(), ticks.end()), ticks.end());
        return ticks;
    }

    // ---- Geometry (computed across for a vertical bar) ----

    int thumbLength() const {
        if (HasStyle(TBS_FIXEDLENGTH) && thumbLength_ > 0) return thumbLength_;
        const RECT client = ClientRect();
        const int across = vertical() ? client.Width() : client.Height();
        return std::clamp(across - 2 * (tickLength + tickGap) - 4, 8, defaultThumbLength);
    }

    int thumbBreadth() const { return thumbLength() / 2 + 1; }

    bool ticksBefore() const { return !HasStyle(TBS_NOTICKS) && (HasStyle(TBS_TOP) || HasStyle(TBS_BOTH)); }
    bool ticksAfter() const { return !HasStyle(TBS_NOTICKS) && (!HasStyle(TBS_TOP) || HasStyle(TBS_BOTH)); }

    // Where the thumb starts across the bar.
    int thumbAcross() const {
        const RECT client = ClientRect();
        const int across = vertical() ? client.Width() : client.Height();
        const int tickSpace = tickLength + tickGap;
        const int content = thumbLength() + (ticksBefore() ? tickSpace : 0) + (ticksAfter() ? tickSpace : 0);
        return std::max(0, (across - content) / 2) + (ticksBefore() ? tickSpace : 0);
    }

    // The channel along the bar: [start, end) along, [top, bottom) across.
    struct Span {
        int start, end;
    };

    Span channelAlong() const {
        const RECT client = ClientRect();
        const int length = vertical() ? client.Height() : client.Width();
        return {channelMargin, std::max(channelMargin + thumbBreadth(), length - channelMargin)};
    }

    int usableLength() const {
        const Span channel = channelAlong();
        return std::max(1, channel.end - channel.start - thumbBreadth());
    }

    int thumbStart(int position) const {
        if (range() <= 0) return channelAlong().start;
        return channelAlong().start +
               static_cast<int>(static_cast<long long>(position - minimum_) * usableLength() / range());
    }

    // The centre of a value's thumb, along the bar.
    int tickPixel(int value) const { return thumbStart(value) + thumbBreadth() / 2; }

    RECT makeRect(int alongStart, int alongEnd, int acrossStart, int acrossEnd) const {
        return vertical() ? RECT{acrossStart, alongStart, acrossEnd, alongEnd}
                          : RECT{alongStart, acrossStart, alongEnd, acrossEnd};
    }

    RECT thumbRect() const {
        const int along = thumbStart(position_);
        const int across = thumbAcross();
        return makeRect(along, along + thumbBreadth(), across, across + thumbLength());
    }

    RECT channelRect() const {
        const Span channel = channelAlong();
        const int across = thumbAcross() + (thumbLength() - channelThickness) / 2;
        return makeRect(channel.start, channel.end, across, across + channelThickness);
    }

    // As the system reports it, the channel of a vertical bar comes back as if the bar lay horizontally.
    RECT reportedChannelRect() const {
        const RECT channel = channelRect();
        if (!vertical()) return channel;
        return {channel.Top, channel.Left, channel.Bottom, channel.Right};
    }

    int valueAt(int along) const {
        const int offset = std::clamp(along - channelAlong().start, 0, usableLength());
        const int value =
            minimum_ + static_cast<int>((static_cast<long long>(offset) * range() + usableLength() / 2) /
                                        usableLength());
        return std::clamp(value, minimum_, std::max(minimum_, maximum_));
    }

    int alongOf(POINT point) const { return vertical() ? point.y : point.x; }

    // ---- Reports ----

    void report(WORD code) const {
        HWND parent = NotifyWindow();
        if (!parent) return;
        const WORD position =
            (code == TB_THUMBTRACK || code == TB_THUMBPOSITION) ? static_cast<WORD>(position_) : 0;
        SendMessageW(parent, vertical() ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, position),
                     reinterpret_cast<LPARAM>(Window()));
    }

    void moveBy(int delta, WORD code) {
        setPosition(position_ + delta);
        report(code);
    }

    // ---- Keys ----

    static bool isMovementKey(UINT key) {
        return key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN || key == VK_PRIOR ||
               key == VK_NEXT || key == VK_HOME || key == VK_END;
    }

    void keyDown(UINT key) {
        switch (key) {
        case VK_LEFT:
        case VK_UP:
            moveBy(-lineSize_, TB_LINEUP);
            break;
        case VK_RIGHT:
        case VK_DOWN:
            moveBy(lineSize_, TB_LINEDOWN);
            break;
        case VK_PRIOR:
            moveBy(-pageSize_, TB_PAGEUP);
            break;
        case VK_NEXT:
            moveBy(pageSize_, TB_PAGEDOWN);
            break;
        case VK_HOME:
            setPosition(minimum_);
            report(TB_TOP);
            break;
        case VK_END:
            setPosition(maximum_);
            report(TB_BOTTOM);
            break;
        default:
            break;
        }
    }

    // ---- Mouse ----

    void mouseDown(POINT point) {
        if (GetFocus() != Window()) SetFocus(Window());
        SetCapture(Window());
        if (PointInRect(thumbRect(), point) && !HasStyle(TBS_NOTHUMB)) {
            dragging_ = true;
            dragOffset_ = alongOf(point) - thumbStart(position_);
            return;
        }
        pressTarget_ = alongOf(point);
        paging_ = true;
        repeatPage();
        SetTimer(Window(), repeatTimerId, firstRepeatDelay, nullptr);
    }

    // A page towards the point held, until the thumb reaches it.
    void repeatPage() {
        if (!paging_) return;
        const int thumb = thumbStart(position_);
        if (pressTarget_ < thumb)
            moveBy(-pageSize_, TB_PAGEUP);
        else if (pressTarget_ >= thumb + thumbBreadth())
            moveBy(pageSize_, TB_PAGEDOWN);
        SetTimer(Window(), repeatTimerId, repeatInterval, nullptr);
    }

    void drag(POINT point) {
        const int value = valueAt(alongOf(point) - dragOffset_);
        if (value == position_) return;
        setPosition(value);
        report(TB_THUMBTRACK);
    }

    void mouseUp() {
        if (!dragging_ && !paging_) return;
        const bool wasDragging = dragging_;
        endPress();
        if (wasDragging) report(TB_THUMBPOSITION);
        report(TB_ENDTRACK);
        if (GetCapture() == Window()) ReleaseCapture();
    }

    void endPress() {
        dragging_ = false;
        paging_ = false;
        KillTimer(Window(), repeatTimerId);
    }

    // ---- Drawing ----

    void Paint(HDC dc) override {
        const RECT client = ClientRect();
        FillSolidRect(dc, client, GetSysColor(COLOR_BTNFACE));
        paintChannel(dc);
        if (!HasStyle(TBS_NOTICKS)) paintTicks(dc);
        if (!HasStyle(TBS_NOTHUMB)) paintThumb(dc);
        if (GetFocus() == Window()) {
            RECT focus = client;
            DrawFocusRect(dc, &focus);
        }
    }

    void paintChannel(HDC dc) {
        RECT channel = channelRect();
        DrawEdge(dc, &channel, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
        FillSolidRect(dc, channel, GetSysColor(COLOR_WINDOW));
        if (HasStyle(TBS_ENABLESELRANGE) && selectionStart_ >= 0 && selectionEnd_ > selectionStart_) {
            const RECT whole = channelRect();
            const int across = vertical() ? whole.Left : whole.Top;
            RECT selection = makeRect(tickPixel(selectionStart_), tickPixel(selectionEnd_), across + 1,
                                      across + channelThickness - 1);
            FillSolidRect(dc, selection, GetSysColor(COLOR_HIGHLIGHT));
        }
    }

    void paintTicks(HDC dc) {
        const std::vector<int> ticks = allTicks();
        const int before = thumbAcross() - tickGap;
        const int after = thumbAcross() + thumbLength() + tickGap;
        const COLORREF colour = GetSysColor(COLOR_BTNTEXT);
        for (int value : ticks) {
            const int along = tickPixel(value);
            const int length = (value == minimum_ || value == maximum_) ? endTickLength : tickLength;
            if (ticksBefore()) FillSolidRect(dc, makeRect(along, along + 1, before - length, before), colour);
            if (ticksAfter()) FillSolidRect(dc, makeRect(along, along + 1, after, after + length), colour);
        }
    }

    // A raised block; with ticks on one side only, it points towards them.
    void paintThumb(HDC dc) {
        RECT thumb = thumbRect();
        const COLORREF face = Enabled() ? GetSysColor(COLOR_BTNFACE) : GetSysColor(COLOR_3DLIGHT);
        FillSolidRect(dc, thumb, face);
        const bool pointed = ticksBefore() != ticksAfter();
        if (!pointed) {
            DrawEdge(dc, &thumb, EDGE_RAISED, BF_RECT | BF_SOFT);
            return;
        }
        const int tip = thumbBreadth() / 2;
        RECT body = thumb;
        if (vertical()) {
            if (ticksAfter())
                body.Right -= tip;
            else
                body.Left += tip;
        } else {
            if (ticksAfter())
                body.Bottom -= tip;
            else
                body.Top += tip;
        }
        RECT edge = body;
        DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT | BF_SOFT);
        paintPoint(dc, body, tip);
    }

    // The point of the thumb: two slanted edges from the body to the tip.
    void paintPoint(HDC dc, const RECT& body, int tip) {
        const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
        const COLORREF dark = GetSysColor(COLOR_3DDKSHADOW);
        const COLORREF face = GetSysColor(COLOR_BTNFACE);
        const int breadth = thumbBreadth();
        for (int step = 0; step < tip; ++step) {
            const int from = step;
            const int to = breadth - step;
            if (to <= from) break;
            if (vertical()) {
                const int x = ticksAfter() ? body.Right + step : body.Left - step - 1;
                FillSolidRect(dc, {x, body.Top + from, x + 1, body.Top + to}, face);
                FillSolidRect(dc, {x, body.Top + from, x + 1, body.Top + from + 1}, light);
                FillSolidRect(dc, {x, body.Top + to - 1, x + 1, body.Top + to}, dark);
            } else {
                const int y = ticksAfter() ? body.Bottom + step : body.Top - step - 1;
                FillSolidRect(dc, {body.Left + from, y, body.Left + to, y + 1}, face);
                FillSolidRect(dc, {body.Left + from, y, body.Left + from + 1, y + 1}, light);
                FillSolidRect(dc, {body.Left + to - 1, y, body.Left + to, y + 1}, dark);
            }
        }
    }

    int minimum_ = 0;
    int maximum_ = defaultMaximum;
    int position_ = 0;
    int lineSize_ = 1;
    int pageSize_ = defaultPageSize;
    int frequency_ = 1;
    std::vector<int> tics_;
    int selectionStart_ = -1;
    int selectionEnd_ = -1;
    int thumbLength_ = 0;
    HWND leftBuddy_ = nullptr;
    HWND rightBuddy_ = nullptr;
    HWND tooltips_ = nullptr;
    int tipSide_ = 0;
    bool dragging_ = false;
    int dragOffset_ = 0;
    bool paging_ = false;
    int pressTarget_ = 0;
};

} // namespace

void RegisterTrackBarClass() {
    RegisterControlClass(TRACKBAR_CLASSW, &CommonControlProcedure<TrackBar>, CS_HREDRAW | CS_VREDRAW,
                         COLOR_BTNFACE);
}
