// The month calendar: the month shown, the selection, the bold days and the drawing.
#include "platform/win/MonthCalendarControl.h"

#include "platform/win/CommonControls.h"
#include "platform/win/DateTimePickerControl.h"
#include "platform/win/Edges.h"
#include "platform/win/Fonts.h"
#include "platform/win/Gdi.h"
#include "platform/win/SysColors.h"
#include "platform/win/WindowObjects.h"

#include "platform/core/CodePages.h"

#include <array>
#include <optional>
#include <string>
#include <utility>

namespace {

// The months that have days in the grid: the one before, the one shown, the one after.
constexpr int monthsInGrid = 3;
constexpr int weeksInGrid = 6;
constexpr int daysInWeek = 7;
constexpr int cellPadding = 6;
constexpr int titlePadding = 6;

const WCHAR* const dayAbbreviations[] = {u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"};
const WCHAR* const monthNames[] = {u"January", u"February", u"March",     u"April",   u"May",      u"June",
                                   u"July",    u"August",   u"September", u"October", u"November", u"December"};

SYSTEMTIME dateOnly(const SYSTEMTIME& time) {
    SYSTEMTIME date;
    date.wYear = time.wYear;
    date.wMonth = time.wMonth;
    date.wDay = time.wDay;
    date.wDayOfWeek = DayOfWeekOf(time.wYear, time.wMonth, time.wDay);
    return date;
}

class MonthCalendar : public DrawnControl {
public:
    explicit MonthCalendar(HWND window) : DrawnControl(window) {
        SYSTEMTIME now;
        GetLocalTime(&now);
        today_ = dateOnly(now);
        selected_ = today_;
        shown_ = FirstOfMonth(today_);
    }
    ~MonthCalendar() override {
        if (boldFont_) DeleteObject(boldFont_);
    }

protected:
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_CREATE:
            askDayStates();
            return Default(message, wParam, lParam);
        case MCM_GETCURSEL:
            if (!lParam) return FALSE;
            *reinterpret_cast<SYSTEMTIME*>(lParam) = selected_;
            return TRUE;
        case MCM_SETCURSEL:
            return lParam && select(*reinterpret_cast<const SYSTEMTIME*>(lParam), false);
        case MCM_GETMONTHRANGE:
            return monthRange(static_cast<DWORD>(wParam), reinterpret_cast<SYSTEMTIME*>(lParam));
        case MCM_SETDAYSTATE:
            return setDayStates(static_cast<int>(wParam), reinterpret_cast<const MONTHDAYSTATE*>(lParam));
        case MCM_GETTODAY:
            if (!lParam) return FALSE;
            *reinterpret_cast<SYSTEMTIME*>(lParam) = today_;
            return TRUE;
        case MCM_SETTODAY:
            if (lParam) today_ = dateOnly(*reinterpret_cast<const SYSTEMTIME*>(lParam));
            Invalidate();
            return 0;
        case MCM_GETMINREQRECT:
            if (!lParam) return FALSE;
            *reinterpret_cast<RECT*>(lParam) = {0, 0, gridLeft() * 2 + cellWidth() * daysInWeek, bottomOfToday()};
            return TRUE;
        case MCM_HITTEST:
            return lParam ? hitTest(*reinterpret_cast<MCHITTESTINFO*>(lParam)) : 0;
        case WM_LBUTTONDOWN:
            click(PointFromLParam(lParam));
            return 0;
        case WM_SETFONT:
            if (boldFont_) DeleteObject(std::exchange(boldFont_, nullptr));
            Invalidate();
            return Default(message, wParam, lParam);
        default:
            return Default(message, wParam, lParam);
        }
    }

private:
    // ---- Dates in the grid ----

    // The first day in the grid: the Sunday before the first of the month
    // (a whole week before when the month starts on a Sunday).
    SYSTEMTIME firstInGrid() const {
        const SYSTEMTIME previous = FirstOfMonth(shown_, -1);
        const int leading = shown_.wDayOfWeek == 0 ? daysInWeek : shown_.wDayOfWeek;
        SYSTEMTIME first = previous;
        first.wDay = static_cast<WORD>(DaysInMonth(previous.wYear, previous.wMonth) - leading + 1);
        first.wDayOfWeek = 0;
        return first;
    }

    // The date in cell `index` (0 to 41) and which of the three months it belongs to.
    std::pair<SYSTEMTIME, int> dateInCell(int index) const {
        const SYSTEMTIME first = firstInGrid();
        const int leading = DaysInMonth(first.wYear, first.wMonth) - first.wDay + 1;
        const int inMonth = DaysInMonth(shown_.wYear, shown_.wMonth);
        int month = 0;
        int day = first.wDay + index;
        if (index >= leading) {
            month = index - leading < inMonth ? 1 : 2;
            day = month == 1 ? index - leading + 1 : index - leading - inMonth + 1;
        }
        SYSTEMTIME date = FirstOfMonth(shown_, month - 1);
        date.wDay = static_cast<WORD>(day);
        date.wDayOfWeek = static_cast<WORD>(index % daysInWeek);
        return {date, month};
    }

    LRESULT monthRange(DWORD flag, SYSTEMTIME* range) const {
        if (flag == GMR_VISIBLE) {
            if (range) {
                range[0] = shown_;
                range[1] = shown_;
                range[1].wDay = static_cast<WORD>(DaysInMonth(shown_.wYear, shown_.wMonth));
                range[1].wDayOfWeek = DayOfWeekOf(range[1].wYear, range[1].wMonth, range[1].wDay);
            }
            return 1;
        }
        if (range) {
            range[0] = dateInCell(0).first;
            range[1] = dateInCell(weeksInGrid * daysInWeek - 1).first;
        }
        return monthsInGrid;
    }

    // ---- Bold days ----

    LRESULT setDayStates(int count, const MONTHDAYSTATE* states) {
        if (count != monthsInGrid || !states) return FALSE;
        for (int i = 0; i < monthsInGrid; ++i)
            dayStates_[static_cast<std::size_t>(i)] = states[i];
        Invalidate();
        return TRUE;
    }

    // The parent fills in the states of the three months, starting with the first of the month before.
    void askDayStates() {
        dayStates_.fill(0);
        if (!HasStyle(MCS_DAYSTATE)) return;
        std::array<MONTHDAYSTATE, monthsInGrid> states{};
        NMDAYSTATE request;
        request.stStart = FirstOfMonth(shown_, -1);
        request.cDayState = monthsInGrid;
        request.prgDayState = states.data();
        Notify(request.nmhdr, MCN_GETDAYSTATE);
        dayStates_ = states;
        Invalidate();
    }

    bool isBold(const SYSTEMTIME& date, int month) const {
        return (dayStates_[static_cast<std::size_t>(month)] >> (date.wDay - 1)) & 1;
    }

    // ---- Selection and input ----

    bool select(const SYSTEMTIME& date, bool byUser) {
        if (!IsValidSystemTime(date)) return false;
        selected_ = dateOnly(date);
        const SYSTEMTIME month = FirstOfMonth(selected_);
        if (DateKey(month) != DateKey(shown_)) {
            shown_ = month;
            askDayStates();
        }
        Invalidate();
        if (byUser) {
            NMSELCHANGE change;
            change.stSelStart = selected_;
            change.stSelEnd = selected_;
            Notify(change.nmhdr, MCN_SELCHANGE);
            NMSELCHANGE chosen = change;
            Notify(chosen.nmhdr, MCN_SELECT);
        }
        return true;
    }

    void showMonth(int months) {
        shown_ = FirstOfMonth(shown_, months);
        askDayStates();
    }

    void click(POINT point) {
        MCHITTESTINFO hit;
        hit.pt = point;
        hitTest(hit);
        if (hit.uHit == MCHT_TITLEBTNPREV)
            showMonth(-1);
        else if (hit.uHit == MCHT_TITLEBTNNEXT)
            showMonth(1);
        else if (hit.uHit == MCHT_CALENDARDATE || hit.uHit == MCHT_TODAYLINK)
            select(hit.st, true);
    }

    LRESULT hitTest(MCHITTESTINFO& hit) const {
        hit.uHit = MCHT_NOWHERE;
        const POINT point = hit.pt;
        if (point.y >= 0 && point.y < titleHeight()) {
            hit.uHit = MCHT_TITLE;
            if (point.x < buttonWidth()) hit.uHit = MCHT_TITLEBTNPREV;
            if (point.x >= ClientRect().Right - buttonWidth()) hit.uHit = MCHT_TITLEBTNNEXT;
        } else if (const std::optional<int> cell = cellAt(point)) {
            hit.uHit = MCHT_CALENDARDATE;
            hit.st = dateInCell(*cell).first;
        } else if (!HasStyle(MCS_NOTODAY) && point.y >= gridBottom() && point.y < bottomOfToday()) {
            hit.uHit = MCHT_TODAYLINK;
            hit.st = today_;
        }
        return hit.uHit;
    }

    // ---- Layout ----

    int lineHeight() const { return FontHeight(); }
    int titleHeight() const { return lineHeight() + titlePadding * 2; }
    int buttonWidth() const { return lineHeight() + titlePadding; }
    int cellWidth() const {
        FontMeasure measure(Font());
        return TextExtent(measure.DC(), u"Wed").cx + cellPadding;
    }
    int cellHeight() const { return lineHeight() + 2; }
    int gridLeft() const { return cellPadding; }
    int gridTop() const { return titleHeight() + cellHeight(); }
    int gridBottom() const { return gridTop() + cellHeight() * weeksInGrid; }
    int bottomOfToday() const { return gridBottom() + (HasStyle(MCS_NOTODAY) ? 0 : cellHeight() + cellPadding); }

    RECT cellRect(int index) const {
        const int left = gridLeft() + (index % daysInWeek) * cellWidth();
        const int top = gridTop() + (index / daysInWeek) * cellHeight();
        return {left, top, left + cellWidth(), top + cellHeight()};
    }

    std::optional<int> cellAt(POINT point) const {
        if (point.x < gridLeft() || point.y < gridTop() || point.y >= gridBottom()) return std::nullopt;
        const int column = (point.x - gridLeft()) / cellWidth();
        if (column >= daysInWeek) return std::nullopt;
        return (point.y - gridTop()) / cellHeight() * daysInWeek + column;
    }

    // ---- Drawing ----

    HFONT boldFont() {
        if (!boldFont_) {
            LOGFONTW font{};
            GetObjectW(Font(), sizeof font, &font);
            font.lfWeight = FW_BOLD;
            boldFont_ = CreateFontIndirectW(&font);
        }
        return boldFont_;
    }

    void Paint(HDC dc) override {
        const RECT client = ClientRect();
        FillSolidRect(dc, client, GetSysColor(COLOR_WINDOW));
        const HGDIOBJ previousFont = SelectObject(dc, Font());
        paintTitle(dc, client);
        paintDays(dc);
        if (!HasStyle(MCS_NOTODAY)) {
            const RECT line{gridLeft(), gridBottom() + cellPadding / 2, client.Right, bottomOfToday()};
            DrawTextIn(dc, u"Today: " + FormatPickerTime(today_, DTS_SHORTDATEFORMAT), line,
                       DT_SINGLELINE | DT_VCENTER | DT_LEFT, GetSysColor(COLOR_WINDOWTEXT));
        }
        SelectObject(dc, previousFont);
    }

    void paintTitle(HDC dc, const RECT& client) const {
        const RECT title{client.Left, client.Top, client.Right, client.Top + titleHeight()};
        FillSolidRect(dc, title, GetSysColor(COLOR_ACTIVECAPTION));
        const COLORREF text = GetSysColor(COLOR_CAPTIONTEXT);
        const WideString caption =
            WideString(monthNames[shown_.wMonth - 1]) + u" " + AnsiToWide(std::to_string(shown_.wYear));
        DrawTextIn(dc, caption, title, DT_SINGLELINE | DT_VCENTER | DT_CENTER, text);
        DrawArrowGlyph(dc, {title.Left, title.Top, title.Left + buttonWidth(), title.Bottom}, ArrowDirection::Left,
                       text);
        DrawArrowGlyph(dc, {title.Right - buttonWidth(), title.Top, title.Right, title.Bottom},
                       ArrowDirection::Right, text);
        for (int day = 0; day < daysInWeek; ++day) {
            const RECT header = OffsetRectBy(cellRect(day), 0, -cellHeight());
            DrawTextIn(dc, dayAbbreviations[day], header, DT_SINGLELINE | DT_VCENTER | DT_RIGHT,
                       GetSysColor(COLOR_ACTIVECAPTION));
        }
    }

    void paintDays(HDC dc) {
        for (int index = 0; index < weeksInGrid * daysInWeek; ++index) {
            const auto [date, month] = dateInCell(index);
            const RECT cell = cellRect(index);
            const bool selected = DateKey(date) == DateKey(selected_) && month == 1;
            if (selected) FillSolidRect(dc, cell, GetSysColor(COLOR_HIGHLIGHT));
            if (DateKey(date) == DateKey(today_) && !HasStyle(MCS_NOTODAYCIRCLE)) {
                RECT circle = cell;
                DrawEdge(dc, &circle, BDR_SUNKENOUTER, BF_RECT);
            }
            const COLORREF colour = selected     ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                    : month == 1 ? GetSysColor(COLOR_WINDOWTEXT)
                                                 : GetSysColor(COLOR_GRAYTEXT);
            const HGDIOBJ previous = SelectObject(dc, isBold(date, month) ? boldFont() : Font());
            RECT text = cell;
            text.Right -= cellPadding / 2;
            DrawTextIn(dc, AnsiToWide(std::to_string(date.wDay)), text, DT_SINGLELINE | DT_VCENTER | DT_RIGHT,
                       colour);
            SelectObject(dc, previous);
        }
    }

    SYSTEMTIME today_;
    SYSTEMTIME selected_;
    // The first of the month shown.
    SYSTEMTIME shown_;
    std::array<MONTHDAYSTATE, monthsInGrid> dayStates_{};
    HFONT boldFont_ = nullptr;
};

} // namespace

void RegisterMonthCalendarClass() {
    RegisterControlClass(MONTHCAL_CLASSW, &CommonControlProcedure<MonthCalendar>, CS_HREDRAW | CS_VREDRAW,
                         COLOR_WINDOW);
}
