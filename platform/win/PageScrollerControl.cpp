// The pager: the child's size and position, the two buttons and their clicks.
#include "platform/win/PageScrollerControl.h"

#include "platform/win/CommonControls.h"
#include "platform/win/Edges.h"
#include "platform/win/Gdi.h"
#include "platform/win/Messages.h"
#include "platform/win/SysColors.h"
#include "platform/win/WindowPos.h"
#include "platform/win/WindowObjects.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <utility>

namespace {

constexpr int defaultButtonSize = 12;
constexpr COLORREF defaultColour = 0xFF000000;

class PageScroller : public DrawnControl {
public:
    using DrawnControl::DrawnControl;

protected:
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case PGM_SETCHILD:
            child_ = reinterpret_cast<HWND>(lParam);
            position_ = 0;
            recalculate();
            return 0;
        case PGM_RECALCSIZE:
            recalculate();
            return 0;
        case PGM_SETPOS:
            setPosition(static_cast<int>(lParam));
            return 0;
        case PGM_GETPOS:
            return position_;
        case PGM_SETBUTTONSIZE: {
            const int previous = std::exchange(buttonSize_, std::max(static_cast<int>(lParam), 0));
            recalculate();
            return previous;
        }
        case PGM_GETBUTTONSIZE:
            return buttonSize_;
        case PGM_SETBORDER: {
            const int previous = std::exchange(border_, std::max(static_cast<int>(lParam), 0));
            recalculate();
            return previous;
        }
        case PGM_GETBORDER:
            return border_;
        case PGM_SETBKCOLOR: {
            const COLORREF previous = std::exchange(background_, static_cast<COLORREF>(lParam));
            Invalidate();
            return previous;
        }
        case PGM_GETBKCOLOR:
            return background_;
        case PGM_GETBUTTONSTATE:
            return buttonState(static_cast<int>(lParam));
        case WM_SIZE:
        case WM_STYLECHANGED:
            recalculate();
            return Default(message, wParam, lParam);
        case WM_NCCALCSIZE: {
            const LRESULT result = Default(message, wParam, lParam);
            RECT& client = wParam ? reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0]
                                  : *reinterpret_cast<RECT*>(lParam);
            if (scrolls_) (horizontal() ? client.Left : client.Top) += buttonSize_;
            if (scrolls_) (horizontal() ? client.Right : client.Bottom) -= buttonSize_;
            return result;
        }
        case WM_NCHITTEST: {
            const LRESULT hit = Default(message, wParam, lParam);
            return hit == HTNOWHERE || hit == HTBORDER ? HTCLIENT : hit;
        }
        case WM_NCPAINT:
            Default(message, wParam, lParam);
            paintButtons();
            return 0;
        case WM_LBUTTONDOWN:
            click(PointFromLParam(lParam));
            return 0;
        default:
            return Default(message, wParam, lParam);
        }
    }

private:
    bool horizontal() const { return HasStyle(PGS_HORZ); }
    // The whole window's length; the buttons take its ends when the child does not fit.
    int length() const {
        RECT window;
        GetWindowRect(Window(), &window);
        return horizontal() ? window.Width() : window.Height();
    }
    // The child is seen between the two buttons and inside the border.
    int view() const { return std::max(length() - 2 * ((scrolls_ ? buttonSize_ : 0) + border_), 0); }
    int furthest() const { return std::max(content_ - view(), 0); }

    // The parent names the child's size along the pager; across it the child fills the pager.
    void recalculate() {
        if (!child_ || !IsWindow(child_)) return;
        RECT bounds;
        GetWindowRect(child_, &bounds);
        NMPGCALCSIZE size;
        size.dwFlag = horizontal() ? PGF_CALCWIDTH : PGF_CALCHEIGHT;
        size.iWidth = bounds.Width();
        size.iHeight = bounds.Height();
        Notify(size.hdr, PGN_CALCSIZE);
        content_ = std::max(horizontal() ? size.iWidth : size.iHeight, 0);
        const bool scrolls = content_ > length() - 2 * border_;
        if (scrolls != scrolls_) {
            scrolls_ = scrolls;
            SetWindowPos(Window(), nullptr, 0, 0, 0, 0,
                         SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        position_ = std::clamp(position_, 0, furthest());
        placeChild();
    }

    void placeChild() {
        const RECT client = ClientRect();
        const int offset = border_ - position_;
        const int across = std::max((horizontal() ? client.Height() : client.Width()) - 2 * border_, 0);
        if (horizontal())
            SetWindowPos(child_, nullptr, offset, border_, content_, across, SWP_NOZORDER | SWP_NOACTIVATE);
        else
            SetWindowPos(child_, nullptr, border_, offset, across, content_, SWP_NOZORDER | SWP_NOACTIVATE);
        Invalidate();
        SendMessageW(Window(), WM_NCPAINT, 1, 0);
    }

    void setPosition(int position) {
        position_ = std::clamp(position, 0, furthest());
        if (child_ && IsWindow(child_)) placeChild();
    }

    LRESULT buttonState(int button) const {
        if (!scrolls_) return PGF_INVISIBLE;
        const bool atEnd = button == PGB_TOPORLEFT ? position_ == 0 : position_ >= furthest();
        return atEnd ? PGF_GRAYED : PGF_NORMAL;
    }

    // In client coordinates: the buttons lie just outside the client area.
    RECT buttonRect(int button) const {
        const RECT client = ClientRect();
        if (horizontal())
            return button == PGB_TOPORLEFT ? RECT{-buttonSize_, client.Top, 0, client.Bottom}
                                           : RECT{client.Right, client.Top, client.Right + buttonSize_, client.Bottom};
        return button == PGB_TOPORLEFT ? RECT{client.Left, -buttonSize_, client.Right, 0}
                                       : RECT{client.Left, client.Bottom, client.Right, client.Bottom + buttonSize_};
    }

    // The parent hears of the scroll first and may change its distance (the view by default).
    void click(POINT point) {
        for (int button : {PGB_TOPORLEFT, PGB_BOTTOMORRIGHT}) {
            if (buttonState(button) != PGF_NORMAL || !PointInRect(buttonRect(button), point)) continue;
            NMPGSCROLL scroll;
            scroll.rcParent = ClientRect();
            const bool back = button == PGB_TOPORLEFT;
            scroll.iDir = horizontal() ? (back ? PGF_SCROLLLEFT : PGF_SCROLLRIGHT) : (back ? PGF_SCROLLUP : PGF_SCROLLDOWN);
            scroll.iXpos = horizontal() ? position_ : 0;
            scroll.iYpos = horizontal() ? 0 : position_;
            scroll.iScroll = view();
            Notify(scroll.hdr, PGN_SCROLL);
            setPosition(back ? position_ - scroll.iScroll : position_ + scroll.iScroll);
            return;
        }
    }

    COLORREF background() const {
        return background_ == defaultColour ? GetSysColor(COLOR_BTNFACE) : background_;
    }

    void Paint(HDC dc) override { FillSolidRect(dc, ClientRect(), background()); }

    // In the window's coordinates, which start the button's width before the client's.
    void paintButtons() {
        if (!scrolls_) return;
        HDC dc = GetWindowDC(Window());
        const int shiftX = horizontal() ? buttonSize_ : 0;
        const int shiftY = horizontal() ? 0 : buttonSize_;
        for (int button : {PGB_TOPORLEFT, PGB_BOTTOMORRIGHT}) {
            const RECT rect = OffsetRectBy(buttonRect(button), shiftX, shiftY);
            FillSolidRect(dc, rect, background());
            const bool back = button == PGB_TOPORLEFT;
            const ArrowDirection direction = horizontal() ? (back ? ArrowDirection::Left : ArrowDirection::Right)
                                                          : (back ? ArrowDirection::Up : ArrowDirection::Down);
            DrawArrowGlyph(dc, rect, direction,
                           GetSysColor(buttonState(button) == PGF_GRAYED ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
        }
        ReleaseDC(Window(), dc);
    }

    HWND child_ = nullptr;
    bool scrolls_ = false;
    int content_ = 0;
    int position_ = 0;
    int buttonSize_ = defaultButtonSize;
    int border_ = 0;
    COLORREF background_ = defaultColour;
};

} // namespace

void RegisterPageScrollerClass() {
    RegisterControlClass(WC_PAGESCROLLERW, &CommonControlProcedure<PageScroller>, CS_HREDRAW | CS_VREDRAW,
                         COLOR_BTNFACE);
}
