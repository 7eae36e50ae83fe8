// The framework's date controls: the date and time picker and the month
// calendar over the system's classes, and the conversions between
// TDateTime and SYSTEMTIME they share.
#pragma once

#include "platform/core/SysUtils.h"
#include "platform/vcl/Controls.h"
#include "platform/win/CommCtrl.h"

using TDate = TDateTime;
using TTime = TDateTime;

SYSTEMTIME DateTimeToSystemTime(TDateTime DateTime);
TDateTime SystemTimeToDateTime(const SYSTEMTIME& SystemTime);

// ---- Date and time picker --------------------------------------------------------------------

enum TDateTimeKind { dtkDate, dtkTime };
enum TDTDateFormat { dfShort, dfLong };
enum TDTDateMode { dmComboBox, dmUpDown };

// One date and time; with ShowCheckbox, Checked says whether there is one.
// OnChange follows the user's changes as the window reports them.
class TDateTimePicker : public TWinControl {
public:
    explicit TDateTimePicker(TComponent* AOwner);

    TDateTime DateTime() const { return dateTime_; }
    void SetDateTime(TDateTime Value);
    TDate Date() const;
    void SetDate(TDate Value);
    TTime Time() const;
    void SetTime(TTime Value);
    bool Checked() const { return checked_; }
    void SetChecked(bool Value);
    bool ShowCheckbox() const { return showCheckbox_; }
    void SetShowCheckbox(bool Value);
    TDateTimeKind Kind() const { return kind_; }
    void SetKind(TDateTimeKind Value);
    TDTDateFormat DateFormat() const { return dateFormat_; }
    void SetDateFormat(TDTDateFormat Value);
    TDTDateMode DateMode() const { return dateMode_; }
    void SetDateMode(TDTDateMode Value);

    void Dispatch(TMessage& Message) override;

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    virtual void Change();
    // The window's notifications reflected back (DTN_DATETIMECHANGE).
    virtual void CNNotify(TMessage& Message);

private:
    void sendTime();

    TDateTime dateTime_;
    bool checked_ = true;
    bool showCheckbox_ = false;
    TDateTimeKind kind_ = dtkDate;
    TDTDateFormat dateFormat_ = dfShort;
    TDTDateMode dateMode_ = dmComboBox;
};

// ---- Month calendar --------------------------------------------------------------------------

// Month is 1 to 12; bit n - 1 of MonthBoldInfo shows day n bold.
using TOnGetMonthInfoEvent = Closure<void(TObject* Sender, LongWord Month, LongWord& MonthBoldInfo)>;

// One month to pick a date from; OnGetMonthInfo names the days shown bold
// whenever a month comes into view; Date follows the user's choice.
class TMonthCalendar : public TWinControl {
public:
    explicit TMonthCalendar(TComponent* AOwner);

    TDate Date() const { return date_; }
    void SetDate(TDate Value);
    // Sets the bits of Days (1 to 31) in MonthBoldInfo.
    void BoldDays(std::initializer_list<LongWord> Days, LongWord& MonthBoldInfo);

    void Dispatch(TMessage& Message) override;

    TOnGetMonthInfoEvent OnGetMonthInfo;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    // The window's notifications reflected back (MCN_GETDAYSTATE, MCN_SELCHANGE).
    virtual void CNNotify(TMessage& Message);

private:
    void getDayStates(NMDAYSTATE& Request);

    TDate date_;
};
