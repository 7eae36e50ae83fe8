// The tool bar: buttons and their strings, layout in rows, pressing and checking, and drawing.
#include "platform/win/ToolBarControl.h"

#include "platform/win/Bitmaps.h"
#include "platform/win/CommonControls.h"
#include "platform/win/DrawText.h"
#include "platform/win/Drawing.h"
#include "platform/win/Edges.h"
#include "platform/win/Gdi.h"
#include "platform/win/Messages.h"
#include "platform/win/Mouse.h"
#include "platform/win/SysColors.h"
#include "platform/win/WindowPos.h"
#include "platform/win/WindowTree.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

constexpr SIZE defaultBitmapSize{16, 15};
// A button is this much bigger than its image, and its text this far from the edges.
constexpr int buttonPaddingX = 7;
constexpr int buttonPaddingY = 7;
constexpr int textPadding = 3;
constexpr int defaultSeparatorWidth = 8;
constexpr int dividerHeight = 2;
constexpr int dropDownArrowWidth = 14;
constexpr UINT textDrawFlags = DT_CENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX;
constexpr int stringIndexLimit = 0x10000;

struct Button {
    int image = 0;
    int command = 0;
    BYTE state = 0;
    BYTE style = 0;
    DWORD_PTR data = 0;
    // The index of a string of the bar's list, or -1.
    INT_PTR stringIndex = -1;
    // A text given with the button itself.
    WideString ownText;
    bool hasOwnText = false;
    // A width given with TBIF_SIZE, else 0.
    int width = 0;
    RECT rect;
};

class ToolBar : public DrawnControl {
public:
    using DrawnControl::DrawnControl;

protected:
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_CREATE:
            resizeToParent();
            return Default(message, wParam, lParam);
        case TB_BUTTONSTRUCTSIZE:
            return 0;
        case TB_ADDBUTTONSA:
        case TB_ADDBUTTONSW:
            return addButtons(static_cast<int>(wParam), reinterpret_cast<const TBBUTTON*>(lParam),
                              message == TB_ADDBUTTONSW);
        case TB_INSERTBUTTONA:
        case TB_INSERTBUTTONW:
            return insertButton(static_cast<int>(wParam), reinterpret_cast<const TBBUTTON*>(lParam),
                                message == TB_INSERTBUTTONW);
        case TB_DELETEBUTTON:
            return deleteButton(static_cast<int>(wParam));
        case TB_GETBUTTON:
            return getButton(static_cast<int>(wParam), reinterpret_cast<TBBUTTON*>(lParam));
        case TB_BUTTONCOUNT:
            return static_cast<LRESULT>(buttons_.size());
        case TB_COMMANDTOINDEX:
            return indexOf(static_cast<int>(wParam));
        case TB_GETITEMRECT:
            return getRect(static_cast<int>(wParam), reinterpret_cast<RECT*>(lParam));
        case TB_GETRECT:
            return getRect(indexOf(static_cast<int>(wParam)), reinterpret_cast<RECT*>(lParam));
        case TB_CHECKBUTTON:
            return changeState(static_cast<int>(wParam), TBSTATE_CHECKED, LOWORD(lParam) != 0);
        case TB_ENABLEBUTTON:
            return changeState(static_cast<int>(wParam), TBSTATE_ENABLED, LOWORD(lParam) != 0);
        case TB_PRESSBUTTON:
            return changeState(static_cast<int>(wParam), TBSTATE_PRESSED, LOWORD(lParam) != 0);
        case TB_HIDEBUTTON:
            return changeState(static_cast<int>(wParam), TBSTATE_HIDDEN, LOWORD(lParam) != 0);
        case TB_INDETERMINATE:
            return changeState(static_cast<int>(wParam), TBSTATE_INDETERMINATE, LOWORD(lParam) != 0);
        case TB_MARKBUTTON:
            return changeState(static_cast<int>(wParam), TBSTATE_MARKED, LOWORD(lParam) != 0);
        case TB_ISBUTTONCHECKED:
            return hasState(static_cast<int>(wParam), TBSTATE_CHECKED);
        case TB_ISBUTTONENABLED:
            return hasState(static_cast<int>(wParam), TBSTATE_ENABLED);
        case TB_ISBUTTONPRESSED:
            return hasState(static_cast<int>(wParam), TBSTATE_PRESSED);
        case TB_ISBUTTONHIDDEN:
            return hasState(static_cast<int>(wParam), TBSTATE_HIDDEN);
        case TB_ISBUTTONINDETERMINATE:
            return hasState(static_cast<int>(wParam), TBSTATE_INDETERMINATE);
        case TB_ISBUTTONHIGHLIGHTED:
            return hasState(static_cast<int>(wParam), TBSTATE_MARKED);
        case TB_SETSTATE:
            return setState(static_cast<int>(wParam), static_cast<BYTE>(LOWORD(lParam)));
        case TB_GETSTATE: {
            const int index = indexOf(static_cast<int>(wParam));
            return index < 0 ? -1 : buttonAt(index).state;
        }
        case TB_ADDSTRINGA:
            return wParam ? -1 : addStrings(reinterpret_cast<const char*>(lParam));
        case TB_ADDSTRINGW:
            return wParam ? -1 : addStrings(reinterpret_cast<const WCHAR*>(lParam));
        case TB_SETBUTTONSIZE:
            buttonSize_ = {std::max<LONG>(1, LOWORD(lParam)), std::max<LONG>(1, HIWORD(lParam))};
            explicitButtonSize_ = true;
            relayout();
            return TRUE;
        case TB_GETBUTTONSIZE: {
            const SIZE size = buttonSize();
            return MAKELONG(static_cast<WORD>(size.cx), static_cast<WORD>(size.cy));
        }
        case TB_SETBITMAPSIZE:
            bitmapSize_ = {LOWORD(lParam), HIWORD(lParam)};
            relayout();
            return TRUE;
        case TB_AUTOSIZE:
            relayout();
            resizeToParent();
            return 0;
        case TB_SETIMAGELIST:
            return exchangeImages(images_, lParam);
        case TB_GETIMAGELIST:
            return reinterpret_cast<LRESULT>(images_);
        case TB_SETHOTIMAGELIST:
            return exchangeImages(hotImages_, lParam);
        case TB_GETHOTIMAGELIST:
            return reinterpret_cast<LRESULT>(hotImages_);
        case TB_SETDISABLEDIMAGELIST:
            return exchangeImages(disabledImages_, lParam);
        case TB_GETDISABLEDIMAGELIST:
            return reinterpret_cast<LRESULT>(disabledImages_);
        case TB_SETSTYLE:
            SetWindowLongW(Window(), GWL_STYLE, static_cast<LONG>(lParam));
            relayout();
            return 0;
        case TB_GETSTYLE:
            return Style();
        case TB_SETEXTENDEDSTYLE:
            return std::exchange(extendedStyle_, static_cast<DWORD>(lParam));
        case TB_GETEXTENDEDSTYLE:
            return extendedStyle_;
        case TB_SETINDENT:
            indent_ = static_cast<int>(wParam);
            relayout();
            return TRUE;
        case TB_SETMAXTEXTROWS:
            maxTextRows_ = static_cast<int>(wParam);
            relayout();
            return TRUE;
        case TB_GETTEXTROWS:
            return maxTextRows_;
        case TB_SETBUTTONINFOA:
            return setButtonInfo(static_cast<int>(wParam), reinterpret_cast<const TBBUTTONINFOA*>(lParam));
        case TB_SETBUTTONINFOW:
            return setButtonInfo(static_cast<int>(wParam), reinterpret_cast<const TBBUTTONINFOW*>(lParam));
        case TB_GETBUTTONINFOA:
            return getButtonInfo(static_cast<int>(wParam), reinterpret_cast<TBBUTTONINFOA*>(lParam));
        case TB_GETBUTTONINFOW:
            return getButtonInfo(static_cast<int>(wParam), reinterpret_cast<TBBUTTONINFOW*>(lParam));
        case TB_GETBUTTONTEXTA:
            return buttonText(static_cast<int>(wParam), reinterpret_cast<char*>(lParam));
        case TB_GETBUTTONTEXTW:
            return buttonText(static_cast<int>(wParam), reinterpret_cast<WCHAR*>(lParam));
        case TB_HITTEST:
            return lParam ? hitTest(*reinterpret_cast<const POINT*>(lParam)) : -1;
        case TB_GETROWS:
            return rows_;
        case TB_SETPARENT: {
            HWND previous = NotifyWindow();
            SetNotifyWindow(reinterpret_cast<HWND>(wParam));
            return reinterpret_cast<LRESULT>(previous);
        }
        case TB_GETHOTITEM:
            return hot_;
        case TB_SETHOTITEM: {
            const int previous = hot_;
            setHot(static_cast<int>(wParam));
            return previous;
        }
        case TB_GETMAXSIZE:
            if (lParam) *reinterpret_cast<SIZE*>(lParam) = contentSize();
            return TRUE;
        case TB_SETDRAWTEXTFLAGS: {
            const DWORD previous = drawTextFlags_;
            drawTextFlags_ =
                (drawTextFlags_ & ~static_cast<DWORD>(wParam)) | (static_cast<DWORD>(lParam) & wParam);
            return previous;
        }
        case TB_SETTOOLTIPS:
            tooltips_ = reinterpret_cast<HWND>(wParam);
            return 0;
        case TB_GETTOOLTIPS:
            return reinterpret_cast<LRESULT>(tooltips_);
        case TB_SETCMDID:
            if (!validIndex(static_cast<int>(wParam))) return FALSE;
            buttonAt(static_cast<int>(wParam)).command = static_cast<int>(lParam);
            return TRUE;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            mouseDown(PointFromLParam(lParam));
            return 0;
        case WM_MOUSEMOVE:
            mouseMove(PointFromLParam(lParam));
            return 0;
        case WM_LBUTTONUP:
            mouseUp(PointFromLParam(lParam));
            return 0;
        case WM_MOUSELEAVE:
            tracking_ = false;
            if (pressed_ < 0) setHot(-1);
            return 0;
        case WM_CAPTURECHANGED:
            cancelPress();
            return 0;
        case WM_SIZE:
            relayout();
            return 0;
        case WM_STYLECHANGED:
        case WM_SETFONT:
            relayout();
            return 0;
        default:
            return Default(message, wParam, lParam);
        }
    }

private:
    bool validIndex(int index) const { return index >= 0 && index < static_cast<int>(buttons_.size()); }
    Button& buttonAt(int index) { return buttons_[static_cast<std::size_t>(index)]; }
    const Button& buttonAt(int index) const { return buttons_[static_cast<std::size_t>(index)]; }
    bool flat() const { return HasStyle(TBSTYLE_FLAT); }
    bool list() const { return HasStyle(TBSTYLE_LIST); }
    static bool isSeparator(const Button& button) { return (button.style & TBSTYLE_SEP) != 0; }
    static bool isHidden(const Button& button) { return (button.state & TBSTATE_HIDDEN) != 0; }

    int indexOf(int command) const {
        for (int i = 0; i < static_cast<int>(buttons_.size()); ++i)
            if (buttonAt(i).command == command) return i;
        return -1;
    }

    // ---- Buttons and strings ----

    Button makeButton(const TBBUTTON& source, bool wide) {
        Button button;
        button.image = source.iBitmap;
        button.command = source.idCommand;
        button.state = source.fsState;
        button.style = source.fsStyle;
        button.data = source.dwData;
        if (source.iString == -1 || (source.iString >= 0 && source.iString < stringIndexLimit)) {
            button.stringIndex = source.iString;
        } else {
            button.hasOwnText = true;
            button.ownText = wide ? TextOf(reinterpret_cast<const WCHAR*>(source.iString))
                                  : TextOf(reinterpret_cast<const char*>(source.iString));
        }
        return button;
    }

    LRESULT addButtons(int count, const TBBUTTON* source, bool wide) {
        if (!source || count < 0) return FALSE;
        for (int i = 0; i < count; ++i)
            buttons_.push_back(makeButton(source[i], wide));
        relayout();
        return TRUE;
    }

    LRESULT insertButton(int index, const TBBUTTON* source, bool wide) {
        if (!source) return FALSE;
        if (index < 0 || index > static_cast<int>(buttons_.size())) index = static_cast<int>(buttons_.size());
        buttons_.insert(buttons_.begin() + index, makeButton(*source, wide));
        if (hot_ >= index) ++hot_;
        relayout();
        return TRUE;
    }

    LRESULT deleteButton(int index) {
        if (!validIndex(index)) return FALSE;
        NMTOOLBARA info;
        info.iItem = buttonAt(index).command;
        Notify(info.hdr, TBN_DELETINGBUTTON);
        buttons_.erase(buttons_.begin() + index);
        if (hot_ == index)
            hot_ = -1;
        else if (hot_ > index)
            --hot_;
        if (pressed_ == index)
            cancelPress();
        else if (pressed_ > index)
            --pressed_;
        relayout();
        return TRUE;
    }

    LRESULT getButton(int index, TBBUTTON* target) const {
        if (!target || !validIndex(index)) return FALSE;
        const Button& button = buttonAt(index);
        target->iBitmap = button.image;
        target->idCommand = button.command;
        target->fsState = button.state;
        target->fsStyle = button.style;
        target->dwData = button.data;
        target->iString = button.hasOwnText ? -1 : button.stringIndex;
        return TRUE;
    }

    // A list of strings, each ended by a NUL, the list by another.
    template <typename Char> LRESULT addStrings(const Char* list) {
        if (!list) return -1;
        const auto first = static_cast<LRESULT>(strings_.size());
        for (const Char* text = list; *text;) {
            const WideString piece = TextOf(text);
            strings_.push_back(piece);
            while (*text)
                ++text;
            ++text;
        }
        relayout();
        return first;
    }

    WideString textOf(const Button& button) const {
        if (button.hasOwnText) return button.ownText;
        if (button.stringIndex >= 0 && button.stringIndex < static_cast<INT_PTR>(strings_.size()))
            return strings_[static_cast<std::size_t>(button.stringIndex)];
        return {};
    }

    template <typename Char> LRESULT buttonText(int command, Char* buffer) const {
        const int index = indexOf(command);
        if (index < 0) return -1;
        const WideString text = textOf(buttonAt(index));
        if (buffer) CopyText(text, buffer, static_cast<int>(text.size()) + 1);
        return static_cast<LRESULT>(text.size());
    }

    LRESULT changeState(int command, BYTE flag, bool on) {
        const int index = indexOf(command);
        if (index < 0) return FALSE;
        BYTE state = buttonAt(index).state;
        state = on ? static_cast<BYTE>(state | flag) : static_cast<BYTE>(state & ~flag);
        if (flag == TBSTATE_CHECKED && on) uncheckGroupOf(index);
        return setState(command, state);
    }

    LRESULT hasState(int command, BYTE flag) const {
        const int index = indexOf(command);
        return index >= 0 && (buttonAt(index).state & flag) != 0;
    }

    LRESULT setState(int command, BYTE state) {
        const int index = indexOf(command);
        if (index < 0) return FALSE;
        Button& button = buttonAt(index);
        const bool layoutChanges = ((button.state ^ state) & (TBSTATE_HIDDEN | TBSTATE_WRAP)) != 0;
        button.state = state;
        if (layoutChanges)
            relayout();
        else
            InvalidateRect(button.rect);
        return TRUE;
    }

    // The buttons next to each other with TBSTYLE_GROUP form a group.
    std::pair<int, int> groupOf(int index) const {
        int first = index;
        int last = index;
        while (first > 0 && (buttonAt(first - 1).style & TBSTYLE_GROUP) && !isSeparator(buttonAt(first - 1)))
            --first;
        while (last + 1 < static_cast<int>(buttons_.size()) && (buttonAt(last + 1).style & TBSTYLE_GROUP) &&
               !isSeparator(buttonAt(last + 1)))
            ++last;
        return {first, last};
    }

    void uncheckGroupOf(int index) {
        if (!(buttonAt(index).style & TBSTYLE_GROUP)) return;
        const auto [first, last] = groupOf(index);
        for (int i = first; i <= last; ++i)
            if (i != index && (buttonAt(i).state & TBSTATE_CHECKED)) {
                buttonAt(i).state &= static_cast<BYTE>(~TBSTATE_CHECKED);
                InvalidateRect(buttonAt(i).rect);
            }
    }

    template <typename Char> LRESULT setButtonInfo(int id, const TBBUTTONINFO_T<Char>* info) {
        if (!info) return FALSE;
        const int index = (info->dwMask & TBIF_BYINDEX) ? id : indexOf(id);
        if (!validIndex(index)) return FALSE;
        Button& button = buttonAt(index);
        if (info->dwMask & TBIF_COMMAND) button.command = info->idCommand;
        if (info->dwMask & TBIF_IMAGE) button.image = info->iImage;
        if (info->dwMask & TBIF_STATE) button.state = info->fsState;
        if (info->dwMask & TBIF_STYLE) button.style = info->fsStyle;
        if (info->dwMask & TBIF_LPARAM) button.data = info->lParam;
        if (info->dwMask & TBIF_SIZE) button.width = info->cx;
        if (info->dwMask & TBIF_TEXT) {
            button.hasOwnText = true;
            button.ownText = TextOf(info->pszText);
        }
        relayout();
        return TRUE;
    }

    template <typename Char> LRESULT getButtonInfo(int id, TBBUTTONINFO_T<Char>* info) const {
        if (!info) return -1;
        const int index = (info->dwMask & TBIF_BYINDEX) ? id : indexOf(id);
        if (!validIndex(index)) return -1;
        const Button& button = buttonAt(index);
        if (info->dwMask & TBIF_COMMAND) info->idCommand = button.command;
        if (info->dwMask & TBIF_IMAGE) info->iImage = button.image;
        if (info->dwMask & TBIF_STATE) info->fsState = button.state;
        if (info->dwMask & TBIF_STYLE) info->fsStyle = button.style;
        if (info->dwMask & TBIF_LPARAM) info->lParam = button.data;
        if (info->dwMask & TBIF_SIZE) info->cx = static_cast<WORD>(button.rect.Width());
        if (info->dwMask & TBIF_TEXT) CopyText(textOf(button), info->pszText, info->cchText);
        return index;
    }

    LRESULT exchangeImages(HIMAGELIST& slot, LPARAM lParam) {
        HIMAGELIST previous = std::exchange(slot, reinterpret_cast<HIMAGELIST>(lParam));
        relayout();
        return reinterpret_cast<LRESULT>(previous);
    }

    // ---- Layout ----

    SIZE imageSize() const { return images_ ? images_->ImageSize() : bitmapSize_; }
    bool showsText() const {
        if (maxTextRows_ == 0) return false;
        for (const Button& button : buttons_)
            if (!textOf(button).empty()) return true;
        return false;
    }

    SIZE buttonSize() const {
        if (explicitButtonSize_) return buttonSize_;
        const SIZE image = imageSize();
        SIZE size{image.cx + buttonPaddingX, image.cy + buttonPaddingY};
        if (!showsText()) return size;
        FontMeasure measure(Font());
        const int textHeight = FontHeight();
        int textWidth = 0;
        for (const Button& button : buttons_)
            textWidth = std::max(textWidth, static_cast<int>(TextExtent(measure.DC(), textOf(button)).cx));
        if (list())
            return {size.cx + textWidth + textPadding, std::max(size.cy, textHeight + buttonPaddingY)};
        return {std::max(size.cx, textWidth + 2 * textPadding), size.cy + textHeight};
    }

    int widthOf(const Button& button, SIZE standard) const {
        if (isSeparator(button)) return button.image > 0 ? button.image : defaultSeparatorWidth;
        if (button.width > 0) return button.width;
        int width = standard.cx;
        if ((button.style & TBSTYLE_AUTOSIZE) && list()) {
            FontMeasure measure(Font());
            width =
                imageSize().cx + buttonPaddingX + TextExtent(measure.DC(), textOf(button)).cx + textPadding;
        }
        if ((button.style & TBSTYLE_DROPDOWN) && (extendedStyle_ & TBSTYLE_EX_DRAWDDARROWS))
            width += dropDownArrowWidth;
        return width;
    }

    int top() const { return HasStyle(CCS_NODIVIDER) ? 0 : dividerHeight; }

    void relayout() {
        const SIZE standard = buttonSize();
        const RECT client = ClientRect();
        int x = indent_;
        int y = top();
        rows_ = buttons_.empty() ? 0 : 1;
        const bool wrapable = HasStyle(TBSTYLE_WRAPABLE);
        for (Button& button : buttons_) {
            if (isHidden(button)) {
                button.rect = {};
                continue;
            }
            const int width = widthOf(button, standard);
            if (wrapable && x > indent_ && x + width > client.Right && !isSeparator(button)) {
                x = indent_;
                y += standard.cy;
                ++rows_;
            }
            button.rect = {x, y, x + width, y + standard.cy};
            x += width;
            if (button.state & TBSTATE_WRAP) {
                x = indent_;
                y += standard.cy;
                ++rows_;
            }
        }
        Invalidate();
    }

    SIZE contentSize() const {
        SIZE size{0, 0};
        for (const Button& button : buttons_) {
            size.cx = std::max(size.cx, static_cast<LONG>(button.rect.Right));
            size.cy = std::max(size.cy, static_cast<LONG>(button.rect.Bottom));
        }
        return size;
    }

    // Unless told not to, the bar lies along the top of its parent, as high as its rows.
    void resizeToParent() {
        if (HasStyle(CCS_NORESIZE)) return;
        HWND parent = GetParent(Window());
        if (!parent) return;
        RECT parentRect;
        GetClientRect(parent, &parentRect);
        const int height = std::max(1, rows_) * buttonSize().cy + top() + dividerHeight;
        RECT own;
        GetWindowRect(Window(), &own);
        POINT topLeft{own.Left, own.Top};
        ScreenToClient(parent, &topLeft);
        const bool noMove = HasStyle(CCS_NOPARENTALIGN) || HasStyle(CCS_NOMOVEY);
        const int y = noMove                                 ? topLeft.y
                      : (Style() & CCS_BOTTOM) == CCS_BOTTOM ? parentRect.Bottom - height
                                                             : 0;
        const int x = HasStyle(CCS_NOPARENTALIGN) ? topLeft.x : 0;
        const int width = HasStyle(CCS_NOPARENTALIGN) ? own.Width() : parentRect.Width();
        SetWindowPos(Window(), nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    }

    LRESULT getRect(int index, RECT* rect) const {
        if (!rect || !validIndex(index) || isHidden(buttonAt(index))) return FALSE;
        *rect = buttonAt(index).rect;
        return TRUE;
    }

    // The button's index; a separator's as its complement; -1 beside every button.
    LRESULT hitTest(POINT point) const {
        for (int i = 0; i < static_cast<int>(buttons_.size()); ++i) {
            const Button& button = buttonAt(i);
            if (isHidden(button) || !PointInRect(button.rect, point)) continue;
            return isSeparator(button) ? ~i : i;
        }
        return -1;
    }

    int buttonAtPoint(POINT point) const {
        const LRESULT hit = hitTest(point);
        return hit >= 0 ? static_cast<int>(hit) : -1;
    }

    // ---- Mouse ----

    bool pressable(int index) const {
        if (!validIndex(index)) return false;
        const Button& button = buttonAt(index);
        return !isSeparator(button) && (button.state & TBSTATE_ENABLED) && Enabled();
    }

    bool onDropDownArrow(int index, POINT point) const {
        const Button& button = buttonAt(index);
        if (!(button.style & TBSTYLE_DROPDOWN)) return false;
        if (!(extendedStyle_ & TBSTYLE_EX_DRAWDDARROWS)) return true;
        return point.x >= button.rect.Right - dropDownArrowWidth;
    }

    void mouseDown(POINT point) {
        const int index = buttonAtPoint(point);
        if (!pressable(index)) return;
        if (onDropDownArrow(index, point)) {
            dropDown(index);
            return;
        }
        pressed_ = index;
        buttonAt(index).state |= TBSTATE_PRESSED;
        InvalidateRect(buttonAt(index).rect);
        SetCapture(Window());
    }

    void dropDown(int index) {
        NMTOOLBARA info;
        info.iItem = buttonAt(index).command;
        info.rcButton = buttonAt(index).rect;
        Notify(info.hdr, TBN_DROPDOWN);
    }

    void mouseMove(POINT point) {
        if (pressed_ >= 0) {
            Button& button = buttonAt(pressed_);
            const bool inside = PointInRect(button.rect, point);
            const BYTE state = inside ? static_cast<BYTE>(button.state | TBSTATE_PRESSED)
                                      : static_cast<BYTE>(button.state & ~TBSTATE_PRESSED);
            if (state != button.state) {
                button.state = state;
                InvalidateRect(button.rect);
            }
            return;
        }
        if (!flat()) return;
        const int index = buttonAtPoint(point);
        setHot(pressable(index) ? index : -1);
        if (!tracking_) {
            TRACKMOUSEEVENT track;
            track.dwFlags = TME_LEAVE;
            track.hwndTrack = Window();
            tracking_ = TrackMouseEvent(&track) != FALSE;
        }
    }

    // A release over the pressed button clicks it: a check button turns over
    // (one of a group turns on and the others off) before the parent hears of it.
    void mouseUp(POINT point) {
        if (pressed_ < 0) return;
        const int index = pressed_;
        pressed_ = -1;
        if (GetCapture() == Window()) ReleaseCapture();
        if (!validIndex(index)) return;
        Button& button = buttonAt(index);
        button.state &= static_cast<BYTE>(~TBSTATE_PRESSED);
        InvalidateRect(button.rect);
        if (!PointInRect(button.rect, point)) return;
        if (button.style & TBSTYLE_CHECK) {
            const bool grouped = (button.style & TBSTYLE_GROUP) != 0;
            if (!grouped || !(button.state & TBSTATE_CHECKED)) {
                button.state ^= TBSTATE_CHECKED;
                if (button.state & TBSTATE_CHECKED) uncheckGroupOf(index);
            }
        }
        NotifyCommand(0, static_cast<WORD>(button.command));
    }

    void cancelPress() {
        if (pressed_ < 0) return;
        if (validIndex(pressed_)) {
            buttonAt(pressed_).state &= static_cast<BYTE>(~TBSTATE_PRESSED);
            InvalidateRect(buttonAt(pressed_).rect);
        }
        pressed_ = -1;
    }

    void setHot(int index) {
        if (index == hot_) return;
        NMTBHOTITEM info;
        info.idOld = validIndex(hot_) ? buttonAt(hot_).command : 0;
        info.idNew = validIndex(index) ? buttonAt(index).command : 0;
        info.dwFlags = HICF_MOUSE | (index < 0 ? HICF_LEAVING : 0);
        if (Notify(info.hdr, TBN_HOTITEMCHANGE)) return;
        if (validIndex(hot_)) InvalidateRect(buttonAt(hot_).rect);
        hot_ = index;
        if (validIndex(hot_)) InvalidateRect(buttonAt(hot_).rect);
    }

    // ---- Drawing ----

    void Paint(HDC dc) override {
        const RECT client = ClientRect();
        FillSolidRect(dc, client, GetSysColor(COLOR_BTNFACE));
        if (!HasStyle(CCS_NODIVIDER)) {
            FillSolidRect(dc, {0, 0, client.Right, 1}, GetSysColor(COLOR_BTNSHADOW));
            FillSolidRect(dc, {0, 1, client.Right, 2}, GetSysColor(COLOR_BTNHIGHLIGHT));
        }
        HGDIOBJ previousFont = SelectObject(dc, Font());
        for (int i = 0; i < static_cast<int>(buttons_.size()); ++i)
            if (!isHidden(buttonAt(i))) paintButton(dc, i);
        SelectObject(dc, previousFont);
    }

    void paintButton(HDC dc, int index) {
        const Button& button = buttonAt(index);
        if (isSeparator(button)) {
            if (flat()) paintSeparator(dc, button.rect);
            return;
        }
        const bool pressed = (button.state & TBSTATE_PRESSED) != 0;
        const bool checked = (button.state & TBSTATE_CHECKED) != 0;
        const bool enabled = (button.state & TBSTATE_ENABLED) && Enabled();
        RECT face = button.rect;
        if ((button.style & TBSTYLE_DROPDOWN) && (extendedStyle_ & TBSTYLE_EX_DRAWDDARROWS))
            face.Right -= dropDownArrowWidth;
        if (checked && !pressed) fillChecked(dc, InflatedRect(face, -1, -1));
        if (button.state & TBSTATE_MARKED)
            FillSolidRect(dc, InflatedRect(face, -1, -1), GetSysColor(COLOR_HIGHLIGHT));
        paintFrame(dc, face, pressed || checked, enabled && index == hot_);
        const int shift = pressed || checked ? 1 : 0;
        paintImage(dc, button, face, shift, enabled, index == hot_);
        paintText(dc, button, face, shift, enabled);
        if (face.Right != button.rect.Right)
            paintDropArrow(dc, {face.Right, face.Top, button.rect.Right, face.Bottom}, pressed);
    }

    void paintFrame(HDC dc, const RECT& face, bool down, bool hot) {
        RECT edge = face;
        if (flat()) {
            if (down)
                DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
            else if (hot)
                DrawEdge(dc, &edge, BDR_RAISEDINNER, BF_RECT);
            return;
        }
        DrawEdge(dc, &edge, down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_SOFT);
    }

    // A checked button's face: a fine dither of the light colours.
    static void fillChecked(HDC dc, const RECT& rect) {
        const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
        const COLORREF face = GetSysColor(COLOR_BTNFACE);
        HBITMAP pattern = CreateBitmap(2, 2, 1, 32, nullptr);
        HDC memory = CreateCompatibleDC(dc);
        HGDIOBJ previous = SelectObject(memory, pattern);
        SetPixel(memory, 0, 0, light);
        SetPixel(memory, 1, 1, light);
        SetPixel(memory, 1, 0, face);
        SetPixel(memory, 0, 1, face);
        SelectObject(memory, previous);
        DeleteDC(memory);
        HBRUSH brush = CreatePatternBrush(pattern);
        FillRect(dc, &rect, brush);
        DeleteObject(brush);
        DeleteObject(pattern);
    }

    void paintImage(HDC dc, const Button& button, const RECT& face, int shift, bool enabled, bool hot) {
        HIMAGELIST images = !enabled && disabledImages_ ? disabledImages_
                            : hot && hotImages_         ? hotImages_
                                                        : images_;
        if (!images || button.image < 0 || button.image >= images->ImageCount()) return;
        const SIZE size = images->ImageSize();
        const bool text = showsText() && !textOf(button).empty();
        int x = face.Left + (face.Width() - size.cx) / 2;
        int y = face.Top + (face.Height() - size.cy) / 2;
        if (text && list())
            x = face.Left + buttonPaddingX / 2;
        else if (text)
            y = face.Top + buttonPaddingY / 2;
        if (!enabled && !disabledImages_)
            images->DrawDisabledImage(dc, button.image, x + shift, y + shift);
        else
            images->DrawImage(dc, button.image, x + shift, y + shift, ImageDrawTransparent);
    }

    void paintText(HDC dc, const Button& button, const RECT& face, int shift, bool enabled) {
        if (!showsText()) return;
        const WideString text = textOf(button);
        if (text.empty()) return;
        const SIZE image = imageSize();
        RECT area = list() ? RECT{face.Left + buttonPaddingX / 2 + image.cx + textPadding, face.Top,
                                  face.Right - textPadding, face.Bottom}
                           : RECT{face.Left + textPadding, face.Top + buttonPaddingY / 2 + image.cy,
                                  face.Right - textPadding, face.Bottom - 1};
        area = {area.Left + shift, area.Top + shift, area.Right + shift, area.Bottom + shift};
        const UINT format = textDrawFlags | (list() ? DT_VCENTER | DT_LEFT : DT_TOP);
        if (!enabled) {
            DrawTextIn(dc, text, {area.Left + 1, area.Top + 1, area.Right + 1, area.Bottom + 1}, format,
                       GetSysColor(COLOR_BTNHIGHLIGHT));
            DrawTextIn(dc, text, area, format, GetSysColor(COLOR_BTNSHADOW));
            return;
        }
        DrawTextIn(dc, text, area, format, GetSysColor(COLOR_BTNTEXT));
    }

    void paintDropArrow(HDC dc, RECT rect, bool pressed) {
        if (!flat()) {
            RECT edge = rect;
            DrawEdge(dc, &edge, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_SOFT);
        }
        DrawArrowGlyph(dc, rect, ArrowDirection::Down, GetSysColor(COLOR_BTNTEXT));
    }

    static void paintSeparator(HDC dc, const RECT& rect) {
        const int x = rect.Left + rect.Width() / 2 - 1;
        FillSolidRect(dc, {x, rect.Top + 1, x + 1, rect.Bottom - 1}, GetSysColor(COLOR_BTNSHADOW));
        FillSolidRect(dc, {x + 1, rect.Top + 1, x + 2, rect.Bottom - 1}, GetSysColor(COLOR_BTNHIGHLIGHT));
    }

    std::vector<Button> buttons_;
    std::vector<WideString> strings_;
    SIZE buttonSize_{0, 0};
    bool explicitButtonSize_ = false;
    SIZE bitmapSize_ = defaultBitmapSize;
    HIMAGELIST images_ = nullptr;
    HIMAGELIST hotImages_ = nullptr;
    HIMAGELIST disabledImages_ = nullptr;
    DWORD extendedStyle_ = 0;
    DWORD drawTextFlags_ = 0;
    int indent_ = 0;
    int maxTextRows_ = 1;
    int rows_ = 0;
    int hot_ = -1;
    int pressed_ = -1;
    bool tracking_ = false;
    HWND tooltips_ = nullptr;
};

} // namespace

void RegisterToolBarClass() {
    RegisterControlClass(TOOLBARCLASSNAMEW, &CommonControlProcedure<ToolBar>, CS_DBLCLKS, COLOR_BTNFACE);
}
