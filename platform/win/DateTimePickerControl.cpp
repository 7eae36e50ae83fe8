// The date and time picker: its one value, the check box and the drawing.
#include "platform/win/DateTimePickerControl.h"

#include "platform/core/CodePages.h"
#include "platform/win/CommonControls.h"
#include "platform/win/Drawing.h"
#include "platform/win/Edges.h"
#include "platform/win/Focus.h"
#include "platform/win/Gdi.h"
#include "platform/win/Keyboard.h"
#include "platform/win/SysColors.h"
#include "platform/win/SystemInfo.h"

#include <cstdio>
#include <string>

namespace {

constexpr int checkBoxSize = 13;
constexpr int padding = 2;
constexpr int noon = 12;

const char* const monthNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                  "July",    "August",   "September", "October", "November", "December"};
const char* const dayNames[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

// The user locale (English, United States): M/d/yyyy, dddd, MMMM d, yyyy and h:mm:ss tt.
std::string formatted(const SYSTEMTIME& time, DWORD style) {
    char text[64];
    if ((style & DTS_TIMEFORMAT) == DTS_TIMEFORMAT) {
        const int hour = time.wHour % noon == 0 ? noon : time.wHour % noon;
        std::snprintf(text, sizeof text, "%d:%02d:%02d %s", hour, time.wMinute, time.wSecond,
                      time.wHour < noon ? "AM" : "PM");
    } else if (style & DTS_LONGDATEFORMAT) {
        std::snprintf(text, sizeof text, "%s, %s %d, %d", dayNames[time.wDayOfWeek % 7],
                      monthNames[(time.wMonth + 11) % 12], time.wDay, time.wYear);
    } else {
        std::snprintf(text, sizeof text, "%d/%d/%d", time.wMonth, time.wDay, time.wYear);
    }
    return text;
}

SYSTEMTIME withDayMoved(SYSTEMTIME time, int days) {
    int day = time.wDay + days;
    int month = time.wMonth;
    int year = time.wYear;
    while (day < 1) {
        if (--month < 1) {
            month = 12;
            --year;
        }
        day += DaysInMonth(year, month);
    }
    while (day > DaysInMonth(year, month)) {
        day -= DaysInMonth(year, month);
        if (++month > 12) {
            month = 1;
            ++year;
        }
    }
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    time.wDayOfWeek = DayOfWeekOf(year, month, day);
    return time;
}

class DateTimePicker : public DrawnControl {
public:
    explicit DateTimePicker(HWND window) : DrawnControl(window) { GetLocalTime(&time_); }

protected:
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case DTM_GETSYSTEMTIME:
            return getTime(reinterpret_cast<SYSTEMTIME*>(lParam));
        case DTM_SETSYSTEMTIME:
            return setTime(static_cast<DWORD>(wParam), reinterpret_cast<const SYSTEMTIME*>(lParam));
        case WM_LBUTTONDOWN:
            SetFocus(Window());
            if (HasStyle(DTS_SHOWNONE) && PointInRect(checkBoxRect(), PointFromLParam(lParam))) toggleCheck();
            return 0;
        case WM_KEYDOWN:
            keyDown(wParam);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_ENABLE:
        case WM_SIZE:
        case WM_STYLECHANGED:
            Invalidate();
            return Default(message, wParam, lParam);
        default:
            return Default(message, wParam, lParam);
        }
    }

private:
    bool hasDate() const { return checked_ || !HasStyle(DTS_SHOWNONE); }

    LRESULT getTime(SYSTEMTIME* time) const {
        if (!time) return GDT_ERROR;
        if (!hasDate()) return GDT_NONE;
        *time = time_;
        return GDT_VALID;
    }

    // Set from outside: no notification, as the system does.
    LRESULT setTime(DWORD flag, const SYSTEMTIME* time) {
        if (flag == GDT_NONE) {
            if (!HasStyle(DTS_SHOWNONE)) return FALSE;
            checked_ = false;
        } else {
            if (flag != GDT_VALID || !time || !IsValidSystemTime(*time)) return FALSE;
            time_ = *time;
            time_.wDayOfWeek = DayOfWeekOf(time_.wYear, time_.wMonth, time_.wDay);
            checked_ = true;
        }
        Invalidate();
        return TRUE;
    }

    void toggleCheck() {
        checked_ = !checked_;
        Invalidate();
        notifyChange();
    }

    void keyDown(WPARAM key) {
        if (key == VK_SPACE && HasStyle(DTS_SHOWNONE)) {
            toggleCheck();
        } else if ((key == VK_UP || key == VK_DOWN) && hasDate()) {
            time_ = withDayMoved(time_, key == VK_UP ? 1 : -1);
            Invalidate();
            notifyChange();
        }
    }

    void notifyChange() {
        NMDATETIMECHANGE change;
        change.dwFlags = hasDate() ? GDT_VALID : GDT_NONE;
        change.st = time_;
        Notify(change.nmhdr, DTN_DATETIMECHANGE);
    }

    RECT interior() const { return InflatedRect(ClientRect(), -padding, -padding); }

    RECT checkBoxRect() const {
        const RECT inside = interior();
        const int top = inside.Top + (inside.Height() - checkBoxSize) / 2;
        return {inside.Left + padding, top, inside.Left + padding + checkBoxSize, top + checkBoxSize};
    }

    RECT buttonRect() const {
        const RECT inside = interior();
        return {inside.Right - GetSystemMetrics(SM_CXVSCROLL), inside.Top, inside.Right, inside.Bottom};
    }

    void Paint(HDC dc) override {
        RECT rect = ClientRect();
        DrawEdge(dc, &rect, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
        FillSolidRect(dc, rect, GetSysColor(Enabled() ? COLOR_WINDOW : COLOR_BTNFACE));
        RECT text = rect;
        text.Left += padding;
        if (HasStyle(DTS_SHOWNONE)) {
            paintCheckBox(dc);
            text.Left = checkBoxRect().Right + padding;
        }
        paintButton(dc);
        text.Right = buttonRect().Left;
        const COLORREF colour = Enabled() && hasDate() ? GetSysColor(COLOR_WINDOWTEXT) : GetSysColor(COLOR_GRAYTEXT);
        SelectObject(dc, Font());
        DrawTextIn(dc, FormatPickerTime(time_, Style()), text, DT_SINGLELINE | DT_VCENTER | DT_LEFT, colour);
    }

    void paintCheckBox(HDC dc) const {
        RECT box = checkBoxRect();
        DrawEdge(dc, &box, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
        FillSolidRect(dc, box, GetSysColor(COLOR_WINDOW));
        if (!checked_) return;
        // The tick: down to the bottom third, then up to the top right.
        const HGDIOBJ previous = SelectObject(dc, GetStockObject(BLACK_PEN));
        for (int thickness = 0; thickness < 2; ++thickness) {
            MoveToEx(dc, box.Left + 1, box.Top + 4 + thickness, nullptr);
            LineTo(dc, box.Left + 3, box.Top + 6 + thickness);
            LineTo(dc, box.Right - 1, box.Top + thickness);
        }
        SelectObject(dc, previous);
    }

    void paintButton(HDC dc) const {
        RECT button = buttonRect();
        FillSolidRect(dc, button, GetSysColor(COLOR_BTNFACE));
        if (HasStyle(DTS_UPDOWN)) {
            const int middle = button.Top + button.Height() / 2;
            DrawArrowGlyph(dc, {button.Left, button.Top, button.Right, middle}, ArrowDirection::Up,
                           GetSysColor(COLOR_BTNTEXT));
            DrawArrowGlyph(dc, {button.Left, middle, button.Right, button.Bottom}, ArrowDirection::Down,
                           GetSysColor(COLOR_BTNTEXT));
        } else {
            DrawEdge(dc, &button, EDGE_RAISED, BF_RECT | BF_ADJUST);
            DrawArrowGlyph(dc, button, ArrowDirection::Down, GetSysColor(COLOR_BTNTEXT));
        }
    }

    SYSTEMTIME time_;
    bool checked_ = true;
};

} // namespace

WideString FormatPickerTime(const SYSTEMTIME& time, DWORD style) {
    return AnsiToWide(formatted(time, style));
}

void RegisterDateTimePickerClass() {
    RegisterControlClass(DATETIMEPICK_CLASSW, &CommonControlProcedure<DateTimePicker>, CS_HREDRAW | CS_VREDRAW,
                         COLOR_WINDOW);
}
