// The tooltip: its tools, the delays before a tip shows and goes, the tip's
// text, size and place, and its drawing.
#include "platform/win/ToolTipControl.h"

#include "platform/win/CommonControls.h"
#include "platform/win/Cursors.h"
#include "platform/win/DrawText.h"
#include "platform/win/Drawing.h"
#include "platform/win/Gdi.h"
#include "platform/win/Messages.h"
#include "platform/win/SysColors.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/Timers.h"
#include "platform/win/WindowPos.h"
#include "platform/win/WindowTree.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace {

constexpr COLORREF defaultColour = 0xFFFFFFFF;
constexpr UINT defaultInitialDelay = 500;
constexpr UINT defaultAutoPopDelay = 5000;
constexpr UINT defaultReshowDelay = 100;
constexpr UINT_PTR initialTimer = 1;
constexpr UINT_PTR autoPopTimer = 2;
constexpr int defaultMargin = 2;
// A tip appears this far below the mouse pointer.
constexpr int belowCursor = 20;

struct Tool {
    UINT flags = 0;
    HWND window = nullptr;
    UINT_PTR id = 0;
    RECT rect;
    WideString text;
    bool callback = false;
    LPARAM param = 0;
    HINSTANCE instance = nullptr;
};

// Relays a subclassed tool window's mouse messages to its tooltip.
struct MouseRelay {
    HWND window = nullptr;
    HWND toolTip = nullptr;
    bool unicode = false;
    WNDPROC previous = nullptr;
    WNDPROC procedure = nullptr;
};

class ToolTip : public DrawnControl {
public:
    using DrawnControl::DrawnControl;
    ~ToolTip() override {
        for (auto& relay : relays_)
            release(*relay);
    }
    ToolTip(const ToolTip&) = delete;
    ToolTip& operator=(const ToolTip&) = delete;

protected:
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case TTM_ADDTOOLA:
            return addTool(reinterpret_cast<const TTTOOLINFOA*>(lParam));
        case TTM_ADDTOOLW:
            return addTool(reinterpret_cast<const TTTOOLINFOW*>(lParam));
        case TTM_DELTOOLA:
        case TTM_DELTOOLW:
            deleteTool(reinterpret_cast<const TTTOOLINFOW*>(lParam));
            return 0;
        case TTM_NEWTOOLRECTA:
        case TTM_NEWTOOLRECTW:
            if (Tool* tool = find(reinterpret_cast<const TTTOOLINFOW*>(lParam)))
                tool->rect = reinterpret_cast<const TTTOOLINFOW*>(lParam)->rect;
            return 0;
        case TTM_UPDATETIPTEXTA:
            return updateText(reinterpret_cast<const TTTOOLINFOA*>(lParam));
        case TTM_UPDATETIPTEXTW:
            return updateText(reinterpret_cast<const TTTOOLINFOW*>(lParam));
        case TTM_GETTEXTA:
            return getText(static_cast<int>(wParam), reinterpret_cast<TTTOOLINFOA*>(lParam));
        case TTM_GETTEXTW:
            return getText(static_cast<int>(wParam), reinterpret_cast<TTTOOLINFOW*>(lParam));
        case TTM_SETTOOLINFOA:
            return setToolInfo(reinterpret_cast<const TTTOOLINFOA*>(lParam));
        case TTM_SETTOOLINFOW:
            return setToolInfo(reinterpret_cast<const TTTOOLINFOW*>(lParam));
        case TTM_GETTOOLINFOA:
            return getToolInfo(find(reinterpret_cast<const TTTOOLINFOA*>(lParam)),
                               reinterpret_cast<TTTOOLINFOA*>(lParam));
        case TTM_GETTOOLINFOW:
            return getToolInfo(find(reinterpret_cast<const TTTOOLINFOW*>(lParam)),
                               reinterpret_cast<TTTOOLINFOW*>(lParam));
        case TTM_ENUMTOOLSA:
            return getToolInfo(toolAt(static_cast<int>(wParam)), reinterpret_cast<TTTOOLINFOA*>(lParam));
        case TTM_ENUMTOOLSW:
            return getToolInfo(toolAt(static_cast<int>(wParam)), reinterpret_cast<TTTOOLINFOW*>(lParam));
        case TTM_GETCURRENTTOOLA:
            return lParam ? getToolInfo(current(), reinterpret_cast<TTTOOLINFOA*>(lParam))
                          : current() != nullptr;
        case TTM_GETCURRENTTOOLW:
            return lParam ? getToolInfo(current(), reinterpret_cast<TTTOOLINFOW*>(lParam))
                          : current() != nullptr;
        case TTM_GETTOOLCOUNT:
            return static_cast<LRESULT>(tools_.size());
        case TTM_HITTESTA:
        case TTM_HITTESTW:
            return hitTest(reinterpret_cast<TTHITTESTINFOW*>(lParam));
        case TTM_WINDOWFROMPOINT:
            return lParam
                       ? reinterpret_cast<LRESULT>(WindowFromPoint(*reinterpret_cast<const POINT*>(lParam)))
                       : 0;
        case TTM_RELAYEVENT:
            if (lParam) relay(*reinterpret_cast<const MSG*>(lParam));
            return 0;
        case TTM_ACTIVATE:
            active_ = wParam != 0;
            if (!active_) hide();
            return 0;
        case TTM_SETDELAYTIME:
            setDelay(wParam, static_cast<int>(static_cast<SHORT>(LOWORD(lParam))));
            return 0;
        case TTM_GETDELAYTIME:
            return wParam == TTDT_AUTOPOP  ? autoPopDelay_
                   : wParam == TTDT_RESHOW ? reshowDelay_
                                           : initialDelay_;
        case TTM_SETTIPBKCOLOR:
            backgroundColour_ = static_cast<COLORREF>(wParam);
            Invalidate();
            return 0;
        case TTM_GETTIPBKCOLOR:
            return backgroundColour();
        case TTM_SETTIPTEXTCOLOR:
            textColour_ = static_cast<COLORREF>(wParam);
            Invalidate();
            return 0;
        case TTM_GETTIPTEXTCOLOR:
            return textColour();
        case TTM_SETMAXTIPWIDTH:
            return std::exchange(maxWidth_, static_cast<int>(lParam));
        case TTM_GETMAXTIPWIDTH:
            return maxWidth_;
        case TTM_SETMARGIN:
            if (lParam) margin_ = *reinterpret_cast<const RECT*>(lParam);
            return 0;
        case TTM_GETMARGIN:
            if (lParam) *reinterpret_cast<RECT*>(lParam) = margin_;
            return 0;
        case TTM_POP:
            hide();
            return 0;
        case TTM_POPUP:
            if (Tool* tool = current()) show(*tool, cursorPosition());
            return 0;
        case TTM_UPDATE:
            if (shown_ && current()) show(*current(), shownAt_);
            return 0;
        case TTM_TRACKACTIVATE:
            track(wParam != 0, reinterpret_cast<const TTTOOLINFOW*>(lParam));
            return 0;
        case TTM_TRACKPOSITION:
            trackPosition_ = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (tracking_ && current()) show(*current(), trackPosition_);
            return 0;
        case WM_TIMER:
            timer(wParam);
            return 0;
        case WM_NCHITTEST:
            return HTTRANSPARENT;
        case WM_DESTROY:
            for (auto& relay : relays_)
                release(*relay);
            relays_.clear();
            return Default(message, wParam, lParam);
        default:
            return Default(message, wParam, lParam);
        }
    }

private:
    // ---- Tools ----

    template <typename Char> static bool sameTool(const Tool& tool, const TTTOOLINFO_T<Char>& info) {
        return tool.window == info.hwnd && tool.id == info.uId;
    }

    template <typename Char> Tool* find(const TTTOOLINFO_T<Char>* info) {
        if (!info) return nullptr;
        for (Tool& tool : tools_)
            if (sameTool(tool, *info)) return &tool;
        return nullptr;
    }

    Tool* toolAt(int index) {
        return index >= 0 && index < static_cast<int>(tools_.size())
                   ? &tools_[static_cast<std::size_t>(index)]
                   : nullptr;
    }

    Tool* current() { return currentIndex_ >= 0 ? toolAt(currentIndex_) : nullptr; }

    template <typename Char> void applyText(Tool& tool, const Char* text) {
        tool.callback = text == reinterpret_cast<const Char*>(static_cast<INT_PTR>(-1));
        tool.text = tool.callback || !text || reinterpret_cast<UINT_PTR>(text) <= 0xFFFF ? WideString()
                                                                                         : TextOf(text);
    }

    template <typename Char> LRESULT addTool(const TTTOOLINFO_T<Char>* info) {
        if (!info || find(info)) return FALSE;
        Tool tool;
        tool.flags = info->uFlags;
        tool.window = info->hwnd;
        tool.id = info->uId;
        tool.rect = info->rect;
        tool.param = info->lParam;
        tool.instance = info->hinst;
        applyText(tool, info->lpszText);
        tools_.push_back(tool);
        if (tool.flags & TTF_SUBCLASS)
            subclass((tool.flags & TTF_IDISHWND) ? reinterpret_cast<HWND>(tool.id) : tool.window);
        return TRUE;
    }

    void deleteTool(const TTTOOLINFOW* info) {
        Tool* tool = find(info);
        if (!tool) return;
        const auto index = static_cast<int>(tool - tools_.data());
        if (index == currentIndex_) hide();
        tools_.erase(tools_.begin() + index);
        if (currentIndex_ > index)
            --currentIndex_;
        else if (currentIndex_ == index)
            currentIndex_ = -1;
    }

    template <typename Char> LRESULT updateText(const TTTOOLINFO_T<Char>* info) {
        Tool* tool = find(info);
        if (!tool) return 0;
        applyText(*tool, info->lpszText);
        if (shown_ && tool == current()) show(*tool, shownAt_);
        return 0;
    }

    template <typename Char> LRESULT setToolInfo(const TTTOOLINFO_T<Char>* info) {
        Tool* tool = find(info);
        if (!tool) return 0;
        tool->flags = info->uFlags;
        tool->rect = info->rect;
        tool->param = info->lParam;
        applyText(*tool, info->lpszText);
        return 0;
    }

    template <typename Char> LRESULT getToolInfo(const Tool* tool, TTTOOLINFO_T<Char>* info) {
        if (!tool || !info) return FALSE;
        info->uFlags = tool->flags;
        info->hwnd = tool->window;
        info->uId = tool->id;
        info->rect = tool->rect;
        info->lParam = tool->param;
        info->hinst = tool->instance;
        if (tool->callback)
            info->lpszText = reinterpret_cast<Char*>(static_cast<INT_PTR>(-1));
        else if (info->lpszText)
            CopyText(tool->text, info->lpszText, static_cast<int>(tool->text.size()) + 1);
        return TRUE;
    }

    template <typename Char> LRESULT getText(int size, TTTOOLINFO_T<Char>* info) {
        Tool* tool = find(info);
        if (!tool || !info->lpszText) return 0;
        const WideString text = textOf(*tool);
        return CopyText(text, info->lpszText, size > 0 ? size : static_cast<int>(text.size()) + 1);
    }

    LRESULT hitTest(TTHITTESTINFOW* info) {
        if (!info) return FALSE;
        const int index = toolAt(info->hwnd, info->pt);
        if (index < 0) return FALSE;
        getToolInfo(toolAt(index), &info->ti);
        return TRUE;
    }

    // The tool under a point of a window's client area.
    int toolAt(HWND window, POINT point) const {
        for (std::size_t i = 0; i < tools_.size(); ++i) {
            const Tool& tool = tools_[i];
            if (tool.flags & TTF_IDISHWND) {
                if (reinterpret_cast<HWND>(tool.id) == window) return static_cast<int>(i);
            } else if (tool.window == window && PointInRect(tool.rect, point)) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }

    // ---- Texts ----

    // A callback text is asked of the tool's window, in the form it reads.
    WideString textOf(const Tool& tool) {
        if (!tool.callback) return tool.text;
        HWND target = tool.window;
        const bool unicode =
            target && SendMessageW(target, WM_NOTIFYFORMAT, reinterpret_cast<WPARAM>(Window()), NF_QUERY) ==
                          NFR_UNICODE;
        if (unicode) {
            NMTTDISPINFOW info;
            info.lParam = tool.param;
            info.uFlags = tool.flags;
            notifyTool(info.hdr, tool, TTN_GETDISPINFOW);
            return info.lpszText && info.lpszText != reinterpret_cast<WCHAR*>(static_cast<INT_PTR>(-1)) &&
                           reinterpret_cast<UINT_PTR>(info.lpszText) > 0xFFFF
                       ? TextOf(info.lpszText)
                       : TextOf(info.szText);
        }
        NMTTDISPINFOA info;
        info.lParam = tool.param;
        info.uFlags = tool.flags;
        notifyTool(info.hdr, tool, TTN_GETDISPINFOA);
        return info.lpszText && reinterpret_cast<UINT_PTR>(info.lpszText) > 0xFFFF ? TextOf(info.lpszText)
                                                                                   : TextOf(info.szText);
    }

    // Tooltips tell the tool's window, with the tool's id in idFrom.
    LRESULT notifyTool(NMHDR& header, const Tool& tool, UINT code) {
        header.hwndFrom = Window();
        header.idFrom = tool.id;
        header.code = code;
        return tool.window ? SendMessageW(tool.window, WM_NOTIFY, tool.id, reinterpret_cast<LPARAM>(&header))
                           : 0;
    }

    // ---- Showing and hiding ----

    void setDelay(WPARAM which, int milliseconds) {
        const bool automatic = milliseconds < 0 || which == TTDT_AUTOMATIC;
        const UINT base = automatic ? defaultInitialDelay : static_cast<UINT>(milliseconds);
        switch (which) {
        case TTDT_AUTOMATIC:
            initialDelay_ = base;
            autoPopDelay_ = base * 10;
            reshowDelay_ = base / 5;
            break;
        case TTDT_INITIAL:
            initialDelay_ = automatic ? defaultInitialDelay : base;
            break;
        case TTDT_AUTOPOP:
            autoPopDelay_ = automatic ? defaultAutoPopDelay : base;
            break;
        case TTDT_RESHOW:
            reshowDelay_ = automatic ? defaultReshowDelay : base;
            break;
        default:
            break;
        }
    }

    POINT cursorPosition() const {
        POINT point;
        GetCursorPos(&point);
        return {point.x, point.y + belowCursor};
    }

    // Moving onto another tool restarts the wait; a press hides the tip.
    void relay(const MSG& msg) {
        if (!active_ || tracking_) return;
        switch (msg.message) {
        case WM_MOUSEMOVE: {
            const int index = toolAt(msg.hwnd, PointFromLParam(msg.lParam));
            if (index == currentIndex_ && (shown_ || waiting_)) return;
            const bool wasShown = shown_;
            hide();
            currentIndex_ = index;
            if (index < 0) return;
            waiting_ = true;
            SetTimer(Window(), initialTimer, wasShown ? reshowDelay_ : initialDelay_, nullptr);
            break;
        }
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            hide();
            currentIndex_ = -1;
            break;
        default:
            break;
        }
    }

    void timer(WPARAM id) {
        KillTimer(Window(), id);
        if (id == initialTimer) {
            waiting_ = false;
            if (Tool* tool = current()) show(*tool, cursorPosition());
        } else if (id == autoPopTimer) {
            hide();
        }
    }

    void show(Tool& tool, POINT at) {
        tipText_ = textOf(tool);
        if (tipText_.empty()) return hide();
        const SIZE size = tipSize();
        shownAt_ = at;
        NMHDR header;
        const bool placed = notifyTool(header, tool, TTN_SHOW) != 0;
        const UINT flags = SWP_NOACTIVATE | SWP_SHOWWINDOW | (placed ? SWP_NOMOVE : 0);
        SetWindowPos(Window(), HWND_TOPMOST, at.x, at.y, size.cx, size.cy, flags);
        Invalidate();
        shown_ = true;
        if (!tracking_) SetTimer(Window(), autoPopTimer, autoPopDelay_, nullptr);
    }

    void hide() {
        KillTimer(Window(), initialTimer);
        KillTimer(Window(), autoPopTimer);
        waiting_ = false;
        if (!shown_) return;
        shown_ = false;
        ShowWindow(Window(), SW_HIDE);
        if (Tool* tool = current()) {
            NMHDR header;
            notifyTool(header, *tool, TTN_POP);
        }
    }

    template <typename Info> void track(bool on, const Info* info) {
        if (!on) {
            tracking_ = false;
            hide();
            return;
        }
        Tool* tool = find(info);
        if (!tool) return;
        currentIndex_ = static_cast<int>(tool - tools_.data());
        tracking_ = true;
        show(*tool, trackPosition_);
    }

    SIZE tipSize() const {
        FontMeasure measure(Font());
        RECT text{0, 0, maxWidth_ > 0 ? maxWidth_ : 0, 0};
        const UINT format = DT_CALCRECT | DT_NOPREFIX | (maxWidth_ > 0 ? DT_WORDBREAK : DT_SINGLELINE);
        DrawTextW(measure.DC(), tipText_.c_str(), static_cast<int>(tipText_.size()), &text, format);
        return {text.Width() + margin_.Left + margin_.Right + 2 * (defaultMargin + 1),
                text.Height() + margin_.Top + margin_.Bottom + 2 * (defaultMargin + 1)};
    }

    // ---- Subclassed tool windows ----

    void subclass(HWND window) {
        if (!window || !IsWindow(window)) return;
        for (const auto& relay : relays_)
            if (relay->window == window) return;
        auto relay = std::make_shared<MouseRelay>();
        relay->window = window;
        relay->toolTip = Window();
        relay->unicode = IsWindowUnicode(window) != FALSE;
        relay->procedure =
            CreateWindowProcObject([relay](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
                if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST && relay->toolTip &&
                    IsWindow(relay->toolTip)) {
                    MSG msg;
                    msg.hwnd = hwnd;
                    msg.message = message;
                    msg.wParam = wParam;
                    msg.lParam = lParam;
                    SendMessageW(relay->toolTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
                }
                return relay->unicode ? CallWindowProcW(relay->previous, hwnd, message, wParam, lParam)
                                      : CallWindowProcA(relay->previous, hwnd, message, wParam, lParam);
            });
        relay->previous = reinterpret_cast<WNDPROC>(
            relay->unicode
                ? SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(relay->procedure))
                : SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(relay->procedure)));
        relays_.push_back(std::move(relay));
    }

    // A relay still last in its window's chain comes out; otherwise it stays there and only passes messages
    // on.
    static void release(MouseRelay& relay) {
        relay.toolTip = nullptr;
        if (!IsWindow(relay.window)) return;
        const LONG_PTR current = relay.unicode ? GetWindowLongPtrW(relay.window, GWLP_WNDPROC)
                                               : GetWindowLongPtrA(relay.window, GWLP_WNDPROC);
        if (reinterpret_cast<WNDPROC>(current) != relay.procedure) return;
        if (relay.unicode)
            SetWindowLongPtrW(relay.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(relay.previous));
        else
            SetWindowLongPtrA(relay.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(relay.previous));
        FreeWindowProcObject(relay.procedure);
    }

    // ---- Drawing ----

    COLORREF backgroundColour() const {
        return backgroundColour_ == defaultColour ? GetSysColor(COLOR_INFOBK) : backgroundColour_;
    }
    COLORREF textColour() const {
        return textColour_ == defaultColour ? GetSysColor(COLOR_INFOTEXT) : textColour_;
    }

    void Paint(HDC dc) override {
        const RECT client = ClientRect();
        FillSolidRect(dc, client, backgroundColour());
        HBRUSH frame = CreateSolidBrush(GetSysColor(COLOR_WINDOWFRAME));
        FrameRect(dc, &client, frame);
        DeleteObject(frame);
        HGDIOBJ previous = SelectObject(dc, Font());
        const int inset = defaultMargin + 1;
        RECT text{client.Left + inset + margin_.Left, client.Top + inset + margin_.Top,
                  client.Right - inset - margin_.Right, client.Bottom - inset - margin_.Bottom};
        DrawTextIn(dc, tipText_, text, DT_NOPREFIX | (maxWidth_ > 0 ? DT_WORDBREAK : DT_SINGLELINE),
                   textColour());
        SelectObject(dc, previous);
    }

    std::vector<Tool> tools_;
    std::vector<std::shared_ptr<MouseRelay>> relays_;
    int currentIndex_ = -1;
    bool active_ = true;
    bool shown_ = false;
    bool waiting_ = false;
    bool tracking_ = false;
    POINT trackPosition_;
    POINT shownAt_;
    WideString tipText_;
    UINT initialDelay_ = defaultInitialDelay;
    UINT autoPopDelay_ = defaultAutoPopDelay;
    UINT reshowDelay_ = defaultReshowDelay;
    COLORREF backgroundColour_ = defaultColour;
    COLORREF textColour_ = defaultColour;
    int maxWidth_ = -1;
    RECT margin_;
};

} // namespace

void RegisterToolTipClass() {
    RegisterControlClass(TOOLTIPS_CLASSW, &CommonControlProcedure<ToolTip>, CS_SAVEBITS | CS_DROPSHADOW,
                         COLOR_INFOBK);
}
