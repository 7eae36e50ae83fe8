// The common controls of the layer whose only text is their hint (track
// bar, progress bar, up-down, page scroller) and the date controls, whose
// Unicode windows need two repairs: the picker's first click tells the
// framework the check box's state, and the calendar's bold days are asked
// for again once the window is made.
#pragma once

#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/DateTimePickers.h"
#include "platform/vcl/PageScrollers.h"
#include "unicode/TntStdCtrls.h"

class TTntTrackBar : public TTntHinted<TTrackBar> {
public:
    using TTntHinted::TTntHinted;

protected:
    void CreateWindowHandle(const TCreateParams& Params) override;
};

class TTntProgressBar : public TTntHinted<TProgressBar> {
public:
    using TTntHinted::TTntHinted;

protected:
    void CreateWindowHandle(const TCreateParams& Params) override;
};

class TTntCustomUpDown : public TTntHinted<TCustomUpDown> {
public:
    using TTntHinted::TTntHinted;

protected:
    void CreateWindowHandle(const TCreateParams& Params) override;
};

class TTntUpDown : public TTntCustomUpDown {
public:
    using TTntCustomUpDown::TTntCustomUpDown;
};

class TTntPageScroller : public TTntHinted<TPageScroller> {
public:
    using TTntHinted::TTntHinted;

protected:
    void CreateWindowHandle(const TCreateParams& Params) override;
};

class TTntDateTimePicker : public TTntHinted<TDateTimePicker> {
public:
    using TTntHinted::TTntHinted;
    // After the first left click on a picker with a check box, the window's
    // state is reported as a DTN_DATETIMECHANGE of its own.
    void Dispatch(TMessage& Message) override;

protected:
    void CreateWindowHandle(const TCreateParams& Params) override;
    // Checked outlives the window.
    void CreateWnd() override;

private:
    void reportCheckState();

    bool firstClickRepaired_ = false;
};

class TTntMonthCalendar : public TTntHinted<TMonthCalendar> {
public:
    using TTntHinted::TTntHinted;
    TDate Date() const;
    void SetDate(TDate Value);
    // Asks OnGetMonthInfo for the months in view and shows their bold days.
    void ForceGetMonthInfo();

protected:
    void CreateWindowHandle(const TCreateParams& Params) override;
    void CreateWnd() override;
};
