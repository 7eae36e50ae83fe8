// The progress bar: range and position bookkeeping and the classic drawing.
#include "platform/win/ProgressBarControl.h"

#include "platform/win/CommonControls.h"
#include "platform/win/Edges.h"
#include "platform/win/Painting.h"
#include "platform/win/SysColors.h"

#include <algorithm>
#include <utility>

namespace {

// The CLR_DEFAULT value: the colour the control takes from the system colours.
constexpr COLORREF defaultColour = 0xFF000000;
constexpr int defaultMaximum = 100;
constexpr int defaultStep = 10;
constexpr int blockGap = 2;

class ProgressBar : public DrawnControl {
public:
    using DrawnControl::DrawnControl;

protected:
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case PBM_SETRANGE:
            return setRange(LOWORD(static_cast<UINT_PTR>(lParam)), HIWORD(static_cast<UINT_PTR>(lParam)));
        case PBM_SETRANGE32:
            return setRange(static_cast<int>(wParam), static_cast<int>(lParam));
        case PBM_GETRANGE:
            return getRange(wParam != 0, reinterpret_cast<PBRANGE*>(lParam));
        case PBM_SETPOS:
            return setPosition(static_cast<int>(wParam));
        case PBM_DELTAPOS:
            return setPosition(position_ + static_cast<int>(wParam));
        case PBM_GETPOS:
            return position_;
        case PBM_SETSTEP:
            return std::exchange(step_, static_cast<int>(wParam));
        case PBM_GETSTEP:
            return step_;
        case PBM_STEPIT:
            return stepIt();
        case PBM_SETBARCOLOR:
            return setColour(barColour_, static_cast<COLORREF>(lParam));
        case PBM_GETBARCOLOR:
            return barColour_;
        case PBM_SETBKCOLOR:
            return setColour(backgroundColour_, static_cast<COLORREF>(lParam));
        case PBM_GETBKCOLOR:
            return backgroundColour_;
        case WM_SIZE:
        case WM_STYLECHANGED:
            Invalidate();
            return 0;
        default:
            return Default(message, wParam, lParam);
        }
    }

private:
    LRESULT setRange(int low, int high) {
        const LRESULT previous = MAKELONG(static_cast<WORD>(low_), static_cast<WORD>(high_));
        if (low == low_ && high == high_) return previous;
        low_ = low;
        high_ = high;
        position_ = std::clamp(position_, std::min(low_, high_), std::max(low_, high_));
        Invalidate();
        return previous;
    }

    LRESULT getRange(bool wantLow, PBRANGE* range) const {
        if (range) *range = {low_, high_};
        return wantLow ? low_ : high_;
    }

    LRESULT setPosition(int position) {
        const int previous = position_;
        position = std::clamp(position, std::min(low_, high_), std::max(low_, high_));
        if (position != position_) {
            position_ = position;
            repaintNow();
        }
        return previous;
    }

    // Going past either end starts over from the other one.
    LRESULT stepIt() {
        const int previous = position_;
        int position = position_ + step_;
        if (position > high_) position = low_;
        if (position < low_) position = high_;
        position_ = position;
        if (position_ != previous) repaintNow();
        return previous;
    }

    // A moved bar is drawn at once, so that it advances also while its
    // program does its work without handling messages.
    void repaintNow() {
        Invalidate();
        UpdateWindow(Window());
    }

    LRESULT setColour(COLORREF& colour, COLORREF value) {
        const COLORREF previous = std::exchange(colour, value);
        Invalidate();
        return previous;
    }

    COLORREF barColour() const {
        return barColour_ == defaultColour ? GetSysColor(COLOR_HIGHLIGHT) : barColour_;
    }
    COLORREF backgroundColour() const {
        return backgroundColour_ == defaultColour ? GetSysColor(COLOR_BTNFACE) : backgroundColour_;
    }

    void Paint(HDC dc) override {
        RECT rect = ClientRect();
        DrawEdge(dc, &rect, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
        FillSolidRect(dc, rect, backgroundColour());
        rect = InflatedRect(rect, -1, -1);
        paintBar(dc, rect);
    }

    // The filled part runs from the left (from the bottom when vertical).
    void paintBar(HDC dc, const RECT& interior) {
        const bool vertical = HasStyle(PBS_VERTICAL);
        const int length = vertical ? interior.Height() : interior.Width();
        const int range = high_ - low_;
        if (length <= 0 || range == 0) return;
        const int filled = static_cast<int>(static_cast<long long>(position_ - low_) * length / range);
        if (filled <= 0) return;
        if (HasStyle(PBS_SMOOTH)) {
            fillAlong(dc, interior, vertical, 0, filled);
            return;
        }
        const int thickness = vertical ? interior.Width() : interior.Height();
        const int block = std::max(1, thickness * 2 / 3);
        for (int start = 0; start < filled; start += block + blockGap)
            fillAlong(dc, interior, vertical, start, std::min(start + block, length));
    }

    void fillAlong(HDC dc, const RECT& interior, bool vertical, int from, int to) {
        RECT part = vertical
                        ? RECT{interior.Left, interior.Bottom - to, interior.Right, interior.Bottom - from}
                        : RECT{interior.Left + from, interior.Top, interior.Left + to, interior.Bottom};
        FillSolidRect(dc, part, barColour());
    }

    int low_ = 0;
    int high_ = defaultMaximum;
    int position_ = 0;
    int step_ = defaultStep;
    COLORREF barColour_ = defaultColour;
    COLORREF backgroundColour_ = defaultColour;
};

} // namespace

void RegisterProgressBarClass() {
    RegisterControlClass(PROGRESS_CLASSW, &CommonControlProcedure<ProgressBar>, CS_HREDRAW | CS_VREDRAW,
                         COLOR_BTNFACE);
}
