// The date controls over their windows: the picker's value and check box,
// the calendar's bold days and choice, and the TDateTime conversions.
#include "platform/vcl/tests/VisualTestSupport.h"

#include "platform/vcl/DateTimePickers.h"
#include "platform/win/DateTimePickerControl.h"
#include "platform/win/Messages.h"
#include "platform/win/PixelSurface.h"

#include <vector>

namespace {

class TDateLog : public TObject {
public:
    Integer changes = 0;
    std::vector<LongWord> monthsAsked;
    void Changed(TObject*) { ++changes; }
    void MonthInfo(TObject*, LongWord Month, LongWord& Bold) {
        monthsAsked.push_back(Month);
        Bold = Month == 4 ? (1u << 14) | (1u << 0) : Month == 3 ? 1u << 29 : 0;
    }
};

TDateTime dateOf(int Year, int Month, int Day) {
    SYSTEMTIME time;
    time.wYear = static_cast<WORD>(Year);
    time.wMonth = static_cast<WORD>(Month);
    time.wDay = static_cast<WORD>(Day);
    return SystemTimeToDateTime(time);
}

TEST(DateTimeConversionsTest, DatesAndTimesConvertBothWays) {
    struct Case {
        WORD year, month, day, hour, minute;
        TDateTime expected;
    };
    const Case cases[] = {
        {1899, 12, 30, 0, 0, 0.0},
        {1900, 3, 1, 0, 0, 61.0},
        {2000, 2, 29, 12, 0, 36585.5},
        {2026, 12, 11, 6, 0, 46367.25},
        {1601, 1, 1, 0, 0, -109205.0},
    };
    for (const Case& item : cases) {
        SYSTEMTIME time;
        time.wYear = item.year;
        time.wMonth = item.month;
        time.wDay = item.day;
        time.wHour = item.hour;
        time.wMinute = item.minute;
        EXPECT_DOUBLE_EQ(SystemTimeToDateTime(time), item.expected) << item.year << "-" << item.month;
        const SYSTEMTIME back = DateTimeToSystemTime(item.expected);
        EXPECT_EQ(back.wYear, item.year);
        EXPECT_EQ(back.wMonth, item.month);
        EXPECT_EQ(back.wDay, item.day);
        EXPECT_EQ(back.wHour, item.hour);
        EXPECT_EQ(back.wDayOfWeek, DayOfWeekOf(item.year, item.month, item.day));
    }
    EXPECT_EQ(DayOfWeekOf(2026, 12, 11), 5) << "a Friday";

    const SYSTEMTIME midnight = DateTimeToSystemTime(46367.0 - 1e-10);
    EXPECT_EQ(midnight.wDay, 11);
    EXPECT_EQ(midnight.wHour, 0);
    const SYSTEMTIME beforeTheEpoch = DateTimeToSystemTime(-0.25);
    EXPECT_EQ(beforeTheEpoch.wDay, 29);
    EXPECT_EQ(beforeTheEpoch.wHour, 18);
}

class DateTimePickerTest : public VisualTest {
protected:
    std::unique_ptr<TForm> form = plainForm(300, 200);
    TDateTimePicker* picker = child<TDateTimePicker>(form.get(), alNone, {10, 10, 200, 24});
    TDateLog log;
    void SetUp() override {
        VisualTest::SetUp();
        picker->OnChange = TNotifyEvent(&log, &TDateLog::Changed);
        picker->SetDateTime(dateOf(2024, 2, 28) + 0.5);
        form->Show();
    }

    DWORD windowTime(SYSTEMTIME& Time) {
        return static_cast<DWORD>(SendMessageA(picker->Handle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&Time)));
    }
};

TEST_F(DateTimePickerTest, TheWindowKeepsTheDateAndTheCheckBoxItsPresence) {
    SYSTEMTIME time;
    ASSERT_EQ(windowTime(time), GDT_VALID);
    EXPECT_EQ(time.wDay, 28);
    EXPECT_EQ(time.wHour, 12);
    EXPECT_EQ(SendMessageA(picker->Handle(), DTM_GETSYSTEMTIME, 0, 0), GDT_ERROR);
    EXPECT_EQ(SendMessageA(picker->Handle(), DTM_SETSYSTEMTIME, GDT_NONE, 0), FALSE) << "no check box";
    picker->SetShowCheckbox(true);
    picker->SetChecked(false);
    EXPECT_EQ(windowTime(time), GDT_NONE);
    picker->SetChecked(true);
    EXPECT_EQ(windowTime(time), GDT_VALID);
    EXPECT_EQ(log.changes, 0) << "set from the program, not the user";
    SYSTEMTIME invalid = time;
    invalid.wDay = 30;
    EXPECT_EQ(SendMessageA(picker->Handle(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&invalid)), FALSE);
}

TEST_F(DateTimePickerTest, TheUsersChangesReachTheFramework) {
    picker->SetShowCheckbox(true);
    backend.Click(picker->Handle(), {8, 12});
    Application->ProcessMessages();
    EXPECT_FALSE(picker->Checked()) << "the check box was clicked";
    EXPECT_EQ(log.changes, 1);
    SendMessageA(picker->Handle(), WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_TRUE(picker->Checked());
    SendMessageA(picker->Handle(), WM_KEYDOWN, VK_UP, 0);
    SendMessageA(picker->Handle(), WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(picker->Date(), dateOf(2024, 3, 1)) << "a leap day on the way";
    EXPECT_DOUBLE_EQ(picker->Time(), 0.5);
    EXPECT_EQ(log.changes, 4);
}

TEST(DateTimePickerFormatTest, TheFormatsAreTheUserLocales) {
    SYSTEMTIME time;
    time.wYear = 2026;
    time.wMonth = 12;
    time.wDay = 11;
    time.wDayOfWeek = 5;
    time.wHour = 15;
    time.wMinute = 4;
    time.wSecond = 9;
    EXPECT_EQ(FormatPickerTime(time, DTS_SHORTDATEFORMAT), u"12/11/2026");
    EXPECT_EQ(FormatPickerTime(time, DTS_LONGDATEFORMAT), u"Friday, December 11, 2026");
    EXPECT_EQ(FormatPickerTime(time, DTS_TIMEFORMAT), u"3:04:09 PM");
    time.wHour = 0;
    EXPECT_EQ(FormatPickerTime(time, DTS_TIMEFORMAT), u"12:04:09 AM");
}

class MonthCalendarTest : public VisualTest {
protected:
    std::unique_ptr<TForm> form = plainForm(300, 260);
    TMonthCalendar* calendar = child<TMonthCalendar>(form.get(), alNone, {0, 0, 260, 220});
    TDateLog log;
    void SetUp() override {
        VisualTest::SetUp();
        calendar->SetDate(dateOf(2026, 3, 10));
        calendar->OnGetMonthInfo = TOnGetMonthInfoEvent(&log, &TDateLog::MonthInfo);
        calendar->OnClick = TNotifyEvent(&log, &TDateLog::Changed);
        form->Show();
    }
    std::pair<int, SYSTEMTIME> range() {
        SYSTEMTIME dates[2];
        const auto count = static_cast<int>(
            SendMessageA(calendar->Handle(), MCM_GETMONTHRANGE, GMR_DAYSTATE, reinterpret_cast<LPARAM>(dates)));
        return {count, dates[0]};
    }
};

TEST_F(MonthCalendarTest, TheGridRunsFromTheMonthBeforeToTheMonthAfter) {
    const auto [count, first] = range();
    EXPECT_EQ(count, 3);
    EXPECT_EQ(first.wMonth, 2);
    EXPECT_EQ(first.wDay, 22) << "1 March 2026 is a Sunday: a whole week of February before it";
    SYSTEMTIME visible[2];
    EXPECT_EQ(SendMessageA(calendar->Handle(), MCM_GETMONTHRANGE, GMR_VISIBLE, reinterpret_cast<LPARAM>(visible)), 1);
    EXPECT_EQ(visible[1].wDay, 31);
}

TEST_F(MonthCalendarTest, BoldDaysComeFromOnGetMonthInfoWhenOtherMonthsShow) {
    log.monthsAsked.clear();
    SYSTEMTIME april;
    april.wYear = 2026;
    april.wMonth = 4;
    april.wDay = 2;
    SendMessageA(calendar->Handle(), MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&april));
    EXPECT_EQ(log.monthsAsked, (std::vector<LongWord>{3, 4, 5}));
    const int withBoldDays = DarkPixels(calendar->Handle());
    const MONTHDAYSTATE none[3] = {};
    EXPECT_EQ(SendMessageA(calendar->Handle(), MCM_SETDAYSTATE, 3, reinterpret_cast<LPARAM>(none)), TRUE);
    Application->ProcessMessages();
    EXPECT_LT(DarkPixels(calendar->Handle()), withBoldDays) << "30 March, 1 and 15 April were bold";
    EXPECT_EQ(SendMessageA(calendar->Handle(), MCM_SETDAYSTATE, 2, reinterpret_cast<LPARAM>(none)), FALSE);
}

// Where the calendar shows a date of the month shown, found through MCM_HITTEST.
POINT pointOfDay(HWND Calendar, WORD Day) {
    MCHITTESTINFO hit;
    for (hit.pt.y = 0; hit.pt.y < 220; hit.pt.y += 2)
        for (hit.pt.x = 0; hit.pt.x < 260; hit.pt.x += 4) {
            SendMessageA(Calendar, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
            if (hit.uHit == MCHT_CALENDARDATE && hit.st.wDay == Day && hit.st.wMonth == 3) return hit.pt;
        }
    return {-1, -1};
}

TEST_F(MonthCalendarTest, AClickedDayBecomesTheDate) {
    MCHITTESTINFO hit;
    hit.pt = pointOfDay(calendar->Handle(), 20);
    ASSERT_GE(hit.pt.x, 0);
    backend.Click(calendar->Handle(), hit.pt);
    Application->ProcessMessages();
    EXPECT_EQ(calendar->Date(), dateOf(2026, 3, 20));
    EXPECT_EQ(log.changes, 1);
    hit.pt = {2, 2};
    SendMessageA(calendar->Handle(), MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    EXPECT_EQ(hit.uHit, MCHT_TITLEBTNPREV);
    backend.Click(calendar->Handle(), hit.pt);
    Application->ProcessMessages();
    EXPECT_EQ(range().second.wMonth, 1) << "February shows, January's end before it";
}

} // namespace
