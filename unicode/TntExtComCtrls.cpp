#include "unicode/TntExtComCtrls.h"

#include "platform/vcl/TypInfo.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/DialogKeys.h"
#include "platform/win/Messages.h"
#include "unicode/TntComCtrls.h"
#include "unicode/TntSystem.h"

#include <cmath>
#include <vector>

namespace {

// A notification as the window would send it, for the framework's handler.
template <typename Record> TMessage notification(HWND Window, Record& Notification, UINT Code) {
    NMHDR& header = reinterpret_cast<NMHDR&>(Notification);
    header.hwndFrom = Window;
    header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(Window));
    header.code = Code;
    TMessage message{};
    message.Msg = CN_NOTIFY;
    message.WParam = header.idFrom;
    message.LParam = reinterpret_cast<LPARAM>(&Notification);
    return message;
}

} // namespace

void TTntTrackBar::CreateWindowHandle(const TCreateParams& Params) {
    CreateUnicodeHandle_ComCtl(this, Params, TRACKBAR_CLASSW);
}

void TTntProgressBar::CreateWindowHandle(const TCreateParams& Params) {
    CreateUnicodeHandle_ComCtl(this, Params, PROGRESS_CLASSW);
}

void TTntCustomUpDown::CreateWindowHandle(const TCreateParams& Params) {
    CreateUnicodeHandle_ComCtl(this, Params, UPDOWN_CLASSW);
}

void TTntPageScroller::CreateWindowHandle(const TCreateParams& Params) {
    CreateUnicodeHandle_ComCtl(this, Params, WC_PAGESCROLLERW);
}

// ---- Date and time picker ----

void TTntDateTimePicker::CreateWindowHandle(const TCreateParams& Params) {
    CreateUnicodeHandle_ComCtl(this, Params, DATETIMEPICK_CLASSW);
}

void TTntDateTimePicker::CreateWnd() {
    firstClickRepaired_ = false;
    const bool checked = Checked();
    TDateTimePicker::CreateWnd();
    SetChecked(checked);
}

void TTntDateTimePicker::Dispatch(TMessage& Message) {
    TTntHinted::Dispatch(Message);
    if (Message.Msg == WM_LBUTTONDOWN && ShowCheckbox() && !firstClickRepaired_) {
        firstClickRepaired_ = true;
        reportCheckState();
    }
}

void TTntDateTimePicker::reportCheckState() {
    SYSTEMTIME time;
    const LRESULT state = SendMessageW(Handle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
    if (state == GDT_ERROR) return;
    NMDATETIMECHANGE change;
    change.dwFlags = static_cast<DWORD>(state);
    change.st = state == static_cast<LRESULT>(GDT_NONE) ? SYSTEMTIME{} : time;
    TMessage message = notification(Handle(), change, DTN_DATETIMECHANGE);
    CNNotify(message);
}

// ---- Month calendar ----

void TTntMonthCalendar::CreateWindowHandle(const TCreateParams& Params) {
    CreateUnicodeHandle_ComCtl(this, Params, MONTHCAL_CLASSW);
}

void TTntMonthCalendar::CreateWnd() {
    TMonthCalendar::CreateWnd();
    if (Win32PlatformIsUnicode) ForceGetMonthInfo();
}

TDate TTntMonthCalendar::Date() const {
    return std::floor(TMonthCalendar::Date());
}

void TTntMonthCalendar::SetDate(TDate Value) {
    TMonthCalendar::SetDate(std::floor(Value));
}

void TTntMonthCalendar::ForceGetMonthInfo() {
    SYSTEMTIME range[2];
    const auto months = static_cast<int>(
        SendMessageW(Handle(), MCM_GETMONTHRANGE, GMR_DAYSTATE, reinterpret_cast<LPARAM>(range)));
    std::vector<MONTHDAYSTATE> states(static_cast<std::size_t>(std::max(months, 0)));
    NMDAYSTATE request;
    request.stStart = range[0];
    request.cDayState = months;
    request.prgDayState = states.data();
    TMessage message = notification(Handle(), request, MCN_GETDAYSTATE);
    CNNotify(message);
    SendMessageW(Handle(), MCM_SETDAYSTATE, static_cast<WPARAM>(months), reinterpret_cast<LPARAM>(states.data()));
}

namespace {

template <typename T> void describeHint(TClassBuilder<T>& c) {
    c.Property("Hint", &T::Hint, &T::SetHint).Stored(&T::IsHintStored);
}

const TClass tntTrackBarClass = DescribeClass<TTntTrackBar, TTrackBar>(describeHint<TTntTrackBar>);
const TClass tntProgressBarClass = DescribeClass<TTntProgressBar, TProgressBar>(describeHint<TTntProgressBar>);
const TClass tntCustomUpDownClass = DescribeClass<TTntCustomUpDown, TCustomUpDown>();
const TClass tntUpDownClass = DescribeClass<TTntUpDown, TTntCustomUpDown>(describeHint<TTntUpDown>);
const TClass tntPageScrollerClass = DescribeClass<TTntPageScroller, TPageScroller>(describeHint<TTntPageScroller>);
const TClass tntDateTimePickerClass =
    DescribeClass<TTntDateTimePicker, TDateTimePicker>(describeHint<TTntDateTimePicker>);
const TClass tntMonthCalendarClass = DescribeClass<TTntMonthCalendar, TMonthCalendar>(describeHint<TTntMonthCalendar>);

} // namespace
