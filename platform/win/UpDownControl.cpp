// The up-down control: range and position, steps with their notifications, the buddy window, input and
// drawing.
#include "platform/win/UpDownControl.h"

#include "platform/core/CodePages.h"
#include "platform/win/CommonControls.h"
#include "platform/win/Drawing.h"
#include "platform/win/Edges.h"
#include "platform/win/Focus.h"
#include "platform/win/Messages.h"
#include "platform/win/Mouse.h"
#include "platform/win/SysColors.h"
#include "platform/win/Timers.h"
#include "platform/win/WindowPos.h"
#include "platform/win/WindowTree.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <utility>
#include <vector>

namespace {

// The range an up-down starts with: its minimum above its maximum, so that
// the up arrow counts down until someone sets a range.
constexpr int defaultMinimum = 100;
constexpr int defaultMaximum = 0;
constexpr UINT_PTR repeatTimerId = 1;
constexpr UINT firstRepeatDelay = 500;
constexpr UINT repeatInterval = 100;
constexpr int millisecondsPerSecond = 1000;
constexpr int decimalBase = 10;
constexpr int hexadecimalBase = 16;
constexpr int digitsPerGroup = 3;
constexpr WCHAR thousandsSeparator = u',';

const std::vector<UDACCEL> defaultAccelerators{{0, 1}, {2, 5}, {5, 20}};

enum class Arrow { None, Up, Down };

// Passes the buddy's arrow keys to its up-down; outlives neither side's window
// as long as it is installed, and forwards only once the up-down is gone.
struct BuddyHook {
    HWND buddy = nullptr;
    HWND upDown = nullptr;
    bool unicode = false;
    WNDPROC previous = nullptr;
    WNDPROC procedure = nullptr;

    LRESULT Message(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const {
        const bool arrow = wParam == VK_UP || wParam == VK_DOWN;
        if (arrow && upDown && IsWindow(upDown) && (message == WM_KEYDOWN || message == WM_KEYUP))
            return SendMessageW(upDown, message, wParam, lParam);
        return unicode ? CallWindowProcW(previous, window, message, wParam, lParam)
                       : CallWindowProcA(previous, window, message, wParam, lParam);
    }
};

class UpDown : public DrawnControl {
public:
    using DrawnControl::DrawnControl;
    ~UpDown() override { releaseBuddy(); }

protected:
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_CREATE:
            if (HasStyle(UDS_AUTOBUDDY)) setBuddy(GetWindow(Window(), GW_HWNDPREV));
            return Default(message, wParam, lParam);
        case UDM_SETRANGE:
            setRange(static_cast<SHORT>(HIWORD(static_cast<UINT_PTR>(lParam))),
                     static_cast<SHORT>(LOWORD(static_cast<UINT_PTR>(lParam))));
            return 0;
        case UDM_GETRANGE:
            return MAKELONG(static_cast<WORD>(maximum_), static_cast<WORD>(minimum_));
        case UDM_SETRANGE32:
            setRange(static_cast<int>(wParam), static_cast<int>(lParam));
            return 0;
        case UDM_GETRANGE32:
            if (wParam) *reinterpret_cast<int*>(wParam) = minimum_;
            if (lParam) *reinterpret_cast<int*>(lParam) = maximum_;
            return 0;
        case UDM_SETPOS:
            return setPosition(static_cast<SHORT>(LOWORD(static_cast<UINT_PTR>(lParam))));
        case UDM_SETPOS32:
            return setPosition(static_cast<int>(lParam));
        case UDM_GETPOS: {
            const bool valid = readBuddy();
            return MAKELONG(static_cast<WORD>(position_), valid ? 0 : 1);
        }
        case UDM_GETPOS32: {
            const bool valid = readBuddy();
            if (lParam) *reinterpret_cast<BOOL*>(lParam) = !valid;
            return position_;
        }
        case UDM_SETBUDDY:
            return reinterpret_cast<LRESULT>(setBuddy(reinterpret_cast<HWND>(wParam)));
        case UDM_GETBUDDY:
            return reinterpret_cast<LRESULT>(buddy_);
        case UDM_SETACCEL:
            return setAccelerators(static_cast<UINT>(wParam), reinterpret_cast<const UDACCEL*>(lParam));
        case UDM_GETACCEL:
            return getAccelerators(static_cast<UINT>(wParam), reinterpret_cast<UDACCEL*>(lParam));
        case UDM_SETBASE:
            return setBase(static_cast<int>(wParam));
        case UDM_GETBASE:
            return base_;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS;
        case WM_KEYDOWN:
            keyDown(static_cast<UINT>(wParam));
            return 0;
        case WM_KEYUP:
            if (keyHeld_ &&
                (wParam == VK_UP || wParam == VK_DOWN || wParam == VK_LEFT || wParam == VK_RIGHT)) {
                keyHeld_ = false;
                report(SB_ENDSCROLL);
            }
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            mouseDown(PointFromLParam(lParam));
            return 0;
        case WM_LBUTTONUP:
            mouseUp();
            return 0;
        case WM_CAPTURECHANGED:
            stopPress();
            return 0;
        case WM_TIMER:
            if (wParam == repeatTimerId) repeat();
            return 0;
        case WM_ENABLE:
        case WM_SIZE:
            Invalidate();
            return 0;
        case WM_DESTROY:
            releaseBuddy();
            return Default(message, wParam, lParam);
        default:
            return Default(message, wParam, lParam);
        }
    }

private:
    bool horizontal() const { return HasStyle(UDS_HORZ); }
    int lowest() const { return std::min(minimum_, maximum_); }
    int highest() const { return std::max(minimum_, maximum_); }

    // ---- Values ----

    void setRange(int minimum, int maximum) {
        minimum_ = minimum;
        maximum_ = maximum;
        position_ = std::clamp(position_, lowest(), highest());
    }

    LRESULT setPosition(int position) {
        const int previous = position_;
        position_ = std::clamp(position, lowest(), highest());
        showInBuddy();
        return previous;
    }

    LRESULT setAccelerators(UINT count, const UDACCEL* accelerators) {
        if (!accelerators || count == 0) return FALSE;
        accelerators_.assign(accelerators, accelerators + count);
        std::sort(accelerators_.begin(), accelerators_.end(),
                  [](const UDACCEL& a, const UDACCEL& b) { return a.nSec < b.nSec; });
        return TRUE;
    }

    LRESULT getAccelerators(UINT count, UDACCEL* accelerators) const {
        if (accelerators)
            for (UINT i = 0; i < std::min<UINT>(count, static_cast<UINT>(accelerators_.size())); ++i)
                accelerators[i] = accelerators_[i];
        return static_cast<LRESULT>(accelerators_.size());
    }

    LRESULT setBase(int base) {
        if (base != decimalBase && base != hexadecimalBase) return 0;
        const int previous = std::exchange(base_, base);
        showInBuddy();
        return previous;
    }

    // The step for how long the button has been held.
    int increment() const {
        const DWORD held = (CurrentMilliseconds() - pressStart_) / millisecondsPerSecond;
        int step = static_cast<int>(accelerators_.front().nInc);
        for (const UDACCEL& accelerator : accelerators_)
            if (accelerator.nSec <= held) step = static_cast<int>(accelerator.nInc);
        return step;
    }

    // One step as the arrow asks: the parent may change or refuse it; the
    // parent hears of it even when the position stays at its end.
    void step(Arrow arrow) {
        readBuddy();
        const int direction = (arrow == Arrow::Up) == (maximum_ >= minimum_) ? 1 : -1;
        NMUPDOWN change;
        change.iPos = position_;
        change.iDelta = direction * increment();
        if (Notify(change.hdr, UDN_DELTAPOS)) return;
        position_ = moved(position_, change.iDelta);
        showInBuddy();
        report(SB_THUMBPOSITION);
    }

    int moved(int position, int delta) const {
        const long long target = static_cast<long long>(position) + delta;
        if (target > highest()) return HasStyle(UDS_WRAP) ? lowest() : highest();
        if (target < lowest()) return HasStyle(UDS_WRAP) ? highest() : lowest();
        return static_cast<int>(target);
    }

    void report(WORD code) const {
        HWND parent = NotifyWindow();
        if (!parent) return;
        SendMessageW(parent, horizontal() ? WM_HSCROLL : WM_VSCROLL,
                     MAKEWPARAM(code, static_cast<WORD>(position_)), reinterpret_cast<LPARAM>(Window()));
    }

    // ---- The buddy ----

    HWND setBuddy(HWND buddy) {
        HWND previous = buddy_;
        releaseBuddy();
        buddy_ = buddy;
        if (!buddy_) return previous;
        if (HasStyle(UDS_ALIGNRIGHT) || HasStyle(UDS_ALIGNLEFT)) alignWithBuddy();
        if (HasStyle(UDS_ARROWKEYS)) hookBuddy();
        showInBuddy();
        return previous;
    }

    // The up-down takes its place at the buddy's side and the buddy gives up that width.
    void alignWithBuddy() {
        HWND parent = GetParent(Window());
        RECT buddyRect;
        GetWindowRect(buddy_, &buddyRect);
        POINT topLeft{buddyRect.Left, buddyRect.Top};
        ScreenToClient(parent, &topLeft);
        RECT own;
        GetWindowRect(Window(), &own);
        const int width = own.Width();
        const int buddyWidth = std::max(0, buddyRect.Width() - width);
        const bool right = HasStyle(UDS_ALIGNRIGHT);
        SetWindowPos(buddy_, nullptr, right ? topLeft.x : topLeft.x + width, topLeft.y, buddyWidth,
                     buddyRect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
        SetWindowPos(Window(), nullptr, right ? topLeft.x + buddyWidth : topLeft.x, topLeft.y, width,
                     buddyRect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    }

    void hookBuddy() {
        auto hook = std::make_shared<BuddyHook>();
        hook->buddy = buddy_;
        hook->upDown = Window();
        hook->unicode = IsWindowUnicode(buddy_) != FALSE;
        hook->procedure =
            CreateWindowProcObject([hook](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
                return hook->Message(window, message, wParam, lParam);
            });
        hook->previous = reinterpret_cast<WNDPROC>(
            hook->unicode
                ? SetWindowLongPtrW(buddy_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hook->procedure))
                : SetWindowLongPtrA(buddy_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hook->procedure)));
        hook_ = hook;
    }

    // The hook comes out of the buddy's chain when it is still last in it;
    // otherwise it stays there and only passes messages on.
    void releaseBuddy() {
        if (!hook_) return;
        std::shared_ptr<BuddyHook> hook = std::exchange(hook_, nullptr);
        hook->upDown = nullptr;
        if (!IsWindow(hook->buddy)) return;
        const LONG_PTR current = hook->unicode ? GetWindowLongPtrW(hook->buddy, GWLP_WNDPROC)
                                               : GetWindowLongPtrA(hook->buddy, GWLP_WNDPROC);
        if (reinterpret_cast<WNDPROC>(current) != hook->procedure) return;
        if (hook->unicode)
            SetWindowLongPtrW(hook->buddy, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hook->previous));
        else
            SetWindowLongPtrA(hook->buddy, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hook->previous));
        FreeWindowProcObject(hook->procedure);
    }

    WideString formatted(int value) const {
        if (base_ == hexadecimalBase) {
            const AnsiString digits = [value] {
                char buffer[16];
                std::snprintf(buffer, sizeof buffer, "%X", static_cast<unsigned>(value));
                return AnsiString(buffer);
            }();
            return u"0x" + AnsiToWide(digits);
        }
        WideString digits = AnsiToWide(std::to_string(value < 0 ? -static_cast<long long>(value) : value));
        if (!HasStyle(UDS_NOTHOUSANDS))
            for (int at = static_cast<int>(digits.size()) - digitsPerGroup; at > 0; at -= digitsPerGroup)
                digits.insert(static_cast<std::size_t>(at), 1, thousandsSeparator);
        return value < 0 ? u"-" + digits : digits;
    }

    void showInBuddy() const {
        if (!buddy_ || !HasStyle(UDS_SETBUDDYINT) || !IsWindow(buddy_)) return;
        SetWindowTextW(buddy_, formatted(position_).c_str());
    }

    // Takes the position from the buddy's text; false when the text is no number.
    bool readBuddy() {
        if (!buddy_ || !HasStyle(UDS_SETBUDDYINT) || !IsWindow(buddy_)) return true;
        WCHAR text[64] = {};
        GetWindowTextW(buddy_, text, 64);
        long long value = 0;
        if (!parse(text, value) || value < lowest() || value > highest()) return false;
        position_ = static_cast<int>(value);
        return true;
    }

    bool parse(const WideString& text, long long& value) const {
        WideString digits;
        for (WCHAR c : text)
            if (c != thousandsSeparator && c != u' ') digits += c;
        bool negative = !digits.empty() && digits.front() == u'-';
        if (negative) digits.erase(0, 1);
        int base = base_;
        if (digits.size() > 2 && digits[0] == u'0' && (digits[1] == u'x' || digits[1] == u'X')) {
            digits.erase(0, 2);
            base = hexadecimalBase;
        }
        if (digits.empty()) return false;
        value = 0;
        for (WCHAR c : digits) {
            int digit = c >= u'0' && c <= u'9'   ? c - u'0'
                        : c >= u'A' && c <= u'F' ? c - u'A' + 10
                        : c >= u'a' && c <= u'f' ? c - u'a' + 10
                                                 : base;
            if (digit >= base) return false;
            value = value * base + digit;
            if (value > INT32_MAX) return false;
        }
        if (negative) value = -value;
        return true;
    }

    // ---- Input ----

    RECT arrowRect(Arrow arrow) const {
        const RECT client = ClientRect();
        if (horizontal()) {
            const int middle = client.Width() / 2;
            return arrow == Arrow::Down ? RECT{0, 0, middle, client.Bottom}
                                        : RECT{middle, 0, client.Right, client.Bottom};
        }
        const int middle = client.Height() / 2;
        return arrow == Arrow::Up ? RECT{0, 0, client.Right, middle}
                                  : RECT{0, middle, client.Right, client.Bottom};
    }

    void mouseDown(POINT point) {
        if (!Enabled()) return;
        pressed_ = PointInRect(arrowRect(Arrow::Up), point) ? Arrow::Up : Arrow::Down;
        pressStart_ = CurrentMilliseconds();
        SetCapture(Window());
        Invalidate();
        step(pressed_);
        SetTimer(Window(), repeatTimerId, firstRepeatDelay, nullptr);
    }

    void repeat() {
        if (pressed_ == Arrow::None) return;
        step(pressed_);
        SetTimer(Window(), repeatTimerId, repeatInterval, nullptr);
    }

    void mouseUp() {
        if (pressed_ == Arrow::None) return;
        stopPress();
        if (GetCapture() == Window()) ReleaseCapture();
        report(SB_ENDSCROLL);
    }

    void stopPress() {
        if (pressed_ == Arrow::None) return;
        pressed_ = Arrow::None;
        KillTimer(Window(), repeatTimerId);
        Invalidate();
    }

    void keyDown(UINT key) {
        if (!HasStyle(UDS_ARROWKEYS) || !Enabled()) return;
        const bool up = horizontal() ? key == VK_RIGHT || key == VK_UP : key == VK_UP;
        const bool down = horizontal() ? key == VK_LEFT || key == VK_DOWN : key == VK_DOWN;
        if (!up && !down) return;
        if (!keyHeld_) pressStart_ = CurrentMilliseconds();
        keyHeld_ = true;
        step(up ? Arrow::Up : Arrow::Down);
    }

    // ---- Drawing ----

    void Paint(HDC dc) override {
        for (Arrow arrow : {Arrow::Up, Arrow::Down}) {
            RECT button = arrowRect(arrow);
            FillSolidRect(dc, button, GetSysColor(COLOR_BTNFACE));
            RECT edge = button;
            DrawEdge(dc, &edge, pressed_ == arrow ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_SOFT);
            const ArrowDirection direction =
                horizontal() ? (arrow == Arrow::Up ? ArrowDirection::Right : ArrowDirection::Left)
                             : (arrow == Arrow::Up ? ArrowDirection::Up : ArrowDirection::Down);
            // A pressed arrow moves down and right by a pixel, as a pressed button's face does.
            const int shift = pressed_ == arrow ? 1 : 0;
            DrawArrowGlyph(
                dc, {button.Left + shift, button.Top + shift, button.Right + shift, button.Bottom + shift},
                direction, GetSysColor(Enabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
        }
    }

    int minimum_ = defaultMinimum;
    int maximum_ = defaultMaximum;
    int position_ = 0;
    int base_ = decimalBase;
    std::vector<UDACCEL> accelerators_ = defaultAccelerators;
    HWND buddy_ = nullptr;
    std::shared_ptr<BuddyHook> hook_;
    Arrow pressed_ = Arrow::None;
    bool keyHeld_ = false;
    DWORD pressStart_ = 0;
};

} // namespace

void RegisterUpDownClass() {
    RegisterControlClass(UPDOWN_CLASSW, &CommonControlProcedure<UpDown>, CS_HREDRAW | CS_VREDRAW,
                         COLOR_BTNFACE);
}
