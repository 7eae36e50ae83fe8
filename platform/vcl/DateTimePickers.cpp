#include "platform/vcl/DateTimePickers.h"

#include "platform/vcl/Components.h"
#include "platform/vcl/TypInfo.h"
#include "platform/win/CommonControls.h"
#include "platform/win/Messages.h"

#include <cmath>

namespace {

constexpr double MillisecondsPerDay = 86400000.0;
constexpr Integer DefaultPickerWidth = 186;
constexpr Integer DefaultPickerHeight = 21;
constexpr Integer DefaultCalendarWidth = 191;
constexpr Integer DefaultCalendarHeight = 154;
// Day 0 of TDateTime, 30 December 1899, in days from 1 March of year 0.
constexpr long DateTimeEpoch = 693899;

// Days from 1 March of year 0 (the proleptic Gregorian calendar), and back.
long daysFromCivil(long year, long month, long day) {
    year -= month <= 2 ? 1 : 0;
    const long era = (year >= 0 ? year : year - 399) / 400;
    const long yearOfEra = year - era * 400;
    const long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    return era * 146097 + yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
}

void civilFromDays(long days, long& year, long& month, long& day) {
    const long era = (days >= 0 ? days : days - 146096) / 146097;
    const long dayOfEra = days - era * 146097;
    const long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long shiftedMonth = (5 * dayOfYear + 2) / 153;
    day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
    month = shiftedMonth + (shiftedMonth < 10 ? 3 : -9);
    year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
}

} // namespace

SYSTEMTIME DateTimeToSystemTime(TDateTime DateTime) {
    // Rounded as a whole, so that a hair before midnight is the next day's 0:00, not 24:00.
    const long long millisecondsPerDay = static_cast<long long>(MillisecondsPerDay);
    const long long total = std::llround(DateTime * MillisecondsPerDay);
    long long whole = total / millisecondsPerDay;
    long long milliseconds = total % millisecondsPerDay;
    if (milliseconds < 0) {
        milliseconds += millisecondsPerDay;
        --whole;
    }
    long year = 0;
    long month = 0;
    long day = 0;
    civilFromDays(static_cast<long>(whole) + DateTimeEpoch, year, month, day);
    SYSTEMTIME time;
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    time.wDayOfWeek = DayOfWeekOf(static_cast<int>(year), static_cast<int>(month), static_cast<int>(day));
    time.wHour = static_cast<WORD>(milliseconds / 3600000);
    time.wMinute = static_cast<WORD>(milliseconds / 60000 % 60);
    time.wSecond = static_cast<WORD>(milliseconds / 1000 % 60);
    time.wMilliseconds = static_cast<WORD>(milliseconds % 1000);
    return time;
}

TDateTime SystemTimeToDateTime(const SYSTEMTIME& SystemTime) {
    const long days = daysFromCivil(SystemTime.wYear, SystemTime.wMonth, SystemTime.wDay) - DateTimeEpoch;
    const double milliseconds = ((SystemTime.wHour * 60.0 + SystemTime.wMinute) * 60.0 + SystemTime.wSecond) * 1000.0 +
                                SystemTime.wMilliseconds;
    return static_cast<double>(days) + milliseconds / MillisecondsPerDay;
}

// ---- TDateTimePicker ---------------------------------------------------------------------------

TDateTimePicker::TDateTimePicker(TComponent* AOwner) : TWinControl(AOwner), dateTime_(Now()) {
    SetBounds(Left(), Top(), DefaultPickerWidth, DefaultPickerHeight);
    SetTabStop(true);
    RegisterCommonControlClasses();
}

void TDateTimePicker::SetDateTime(TDateTime Value) {
    if (dateTime_ == Value) return;
    dateTime_ = Value;
    sendTime();
}

TDate TDateTimePicker::Date() const {
    return std::floor(dateTime_);
}

void TDateTimePicker::SetDate(TDate Value) {
    SetDateTime(std::floor(Value) + Time());
}

TTime TDateTimePicker::Time() const {
    return dateTime_ - std::floor(dateTime_);
}

void TDateTimePicker::SetTime(TTime Value) {
    SetDateTime(Date() + (Value - std::floor(Value)));
}

void TDateTimePicker::SetChecked(bool Value) {
    if (checked_ == Value) return;
    checked_ = Value;
    sendTime();
}

void TDateTimePicker::SetShowCheckbox(bool Value) {
    if (showCheckbox_ == Value) return;
    showCheckbox_ = Value;
    RecreateWnd();
}

void TDateTimePicker::SetKind(TDateTimeKind Value) {
    if (kind_ == Value) return;
    kind_ = Value;
    RecreateWnd();
}

void TDateTimePicker::SetDateFormat(TDTDateFormat Value) {
    if (dateFormat_ == Value) return;
    dateFormat_ = Value;
    RecreateWnd();
}

void TDateTimePicker::SetDateMode(TDTDateMode Value) {
    if (dateMode_ == Value) return;
    dateMode_ = Value;
    RecreateWnd();
}

void TDateTimePicker::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, DATETIMEPICK_CLASSA);
    if (showCheckbox_) Params.Style |= DTS_SHOWNONE;
    if (dateMode_ == dmUpDown) Params.Style |= DTS_UPDOWN;
    if (kind_ == dtkTime)
        Params.Style |= DTS_TIMEFORMAT;
    else if (dateFormat_ == dfLong)
        Params.Style |= DTS_LONGDATEFORMAT;
}

void TDateTimePicker::CreateWnd() {
    TWinControl::CreateWnd();
    sendTime();
}

// Without a check box the picker always has its date.
void TDateTimePicker::sendTime() {
    if (!HandleAllocated()) return;
    if (showCheckbox_ && !checked_) {
        SendMessageA(Handle(), DTM_SETSYSTEMTIME, GDT_NONE, 0);
        return;
    }
    const SYSTEMTIME time = DateTimeToSystemTime(dateTime_);
    SendMessageA(Handle(), DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
}

void TDateTimePicker::Dispatch(TMessage& Message) {
    if (Message.Msg == CN_NOTIFY) {
        CNNotify(Message);
        return;
    }
    TWinControl::Dispatch(Message);
}

void TDateTimePicker::CNNotify(TMessage& Message) {
    const auto* header = reinterpret_cast<const NMHDR*>(Message.LParam);
    if (header->code != DTN_DATETIMECHANGE) return;
    const auto* change = reinterpret_cast<const NMDATETIMECHANGE*>(Message.LParam);
    checked_ = change->dwFlags == GDT_VALID;
    if (checked_) dateTime_ = SystemTimeToDateTime(change->st);
    Change();
}

void TDateTimePicker::Change() {
    if (OnChange) OnChange(this);
}

// ---- TMonthCalendar ------------------------------------------------------------------------------

TMonthCalendar::TMonthCalendar(TComponent* AOwner) : TWinControl(AOwner), date_(std::floor(Now())) {
    SetBounds(Left(), Top(), DefaultCalendarWidth, DefaultCalendarHeight);
    SetTabStop(true);
    RegisterCommonControlClasses();
}

void TMonthCalendar::SetDate(TDate Value) {
    date_ = std::floor(Value);
    if (!HandleAllocated()) return;
    const SYSTEMTIME time = DateTimeToSystemTime(date_);
    SendMessageA(Handle(), MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&time));
}

void TMonthCalendar::BoldDays(std::initializer_list<LongWord> Days, LongWord& MonthBoldInfo) {
    for (LongWord day : Days)
        if (day >= 1 && day <= 31) MonthBoldInfo |= 1u << (day - 1);
}

void TMonthCalendar::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, MONTHCAL_CLASSA);
    Params.Style |= MCS_DAYSTATE;
}

void TMonthCalendar::CreateWnd() {
    TWinControl::CreateWnd();
    SetDate(date_);
}

void TMonthCalendar::Dispatch(TMessage& Message) {
    if (Message.Msg == CN_NOTIFY) {
        CNNotify(Message);
        return;
    }
    TWinControl::Dispatch(Message);
}

void TMonthCalendar::CNNotify(TMessage& Message) {
    const auto* header = reinterpret_cast<const NMHDR*>(Message.LParam);
    if (header->code == MCN_GETDAYSTATE) {
        getDayStates(*reinterpret_cast<NMDAYSTATE*>(Message.LParam));
    } else if (header->code == MCN_SELCHANGE) {
        date_ = SystemTimeToDateTime(reinterpret_cast<const NMSELCHANGE*>(Message.LParam)->stSelStart);
    }
}

// Each month of the request, from its first, in turn; without OnGetMonthInfo none is bold.
void TMonthCalendar::getDayStates(NMDAYSTATE& Request) {
    for (int i = 0; i < Request.cDayState; ++i) {
        LongWord bold = 0;
        const LongWord month = (Request.stStart.wMonth - 1 + i) % 12 + 1;
        if (OnGetMonthInfo) OnGetMonthInfo(this, month, bold);
        Request.prgDayState[i] = bold;
    }
}

// ---- Published properties -----------------------------------------------------------------

namespace {

const TClass dateTimePickerClass =
    DescribeClass<TDateTimePicker, TWinControl>([](TClassBuilder<TDateTimePicker>& c) {
        c.Property("Checked", &TDateTimePicker::Checked, &TDateTimePicker::SetChecked).Default(true);
        c.Property("DateFormat", &TDateTimePicker::DateFormat, &TDateTimePicker::SetDateFormat).Default(dfShort);
        c.Property("DateMode", &TDateTimePicker::DateMode, &TDateTimePicker::SetDateMode).Default(dmComboBox);
        c.Property("Kind", &TDateTimePicker::Kind, &TDateTimePicker::SetKind).Default(dtkDate);
        c.Property("ShowCheckbox", &TDateTimePicker::ShowCheckbox, &TDateTimePicker::SetShowCheckbox)
            .Default(false);
        c.Property("OnChange", &TDateTimePicker::OnChange, &TDateTimePicker::OnChange);
    });

const TClass monthCalendarClass = DescribeClass<TMonthCalendar, TWinControl>([](TClassBuilder<TMonthCalendar>& c) {
    c.Property("OnGetMonthInfo", &TMonthCalendar::OnGetMonthInfo, &TMonthCalendar::OnGetMonthInfo);
});

struct RegisterDateClasses {
    RegisterDateClasses() { RegisterClasses({dateTimePickerClass, monthCalendarClass}); }
} registerDateClasses;

} // namespace
