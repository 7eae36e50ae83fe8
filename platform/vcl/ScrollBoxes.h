// Scrolling containers: TControlScrollBar (one of the window's own scroll
// bars, described in the children's coordinates), TScrollingWinControl (a
// windowed control whose children scroll with those bars and the wheel, its
// range computed from the children when AutoScroll is on) and TScrollBox,
// the bordered one that form resources hold.
#pragma once

#include "platform/vcl/Controls.h"

#include <memory>

using TScrollBarInc = Integer;

class TScrollingWinControl;

class TControlScrollBar : public TPersistent {
public:
    TControlScrollBar(TScrollingWinControl* Control, TScrollBarKind Kind);
    void Assign(TPersistent* Source) override;

    TScrollBarKind Kind() const { return kind_; }
    // Pixels one arrow click scrolls, 1 to 32767.
    TScrollBarInc Increment() const { return increment_; }
    void SetIncrement(TScrollBarInc Value);
    // Pixels left round a control that ScrollInView brings into view.
    Word Margin() const { return margin_; }
    void SetMargin(Word Value) { margin_ = Value; }
    // How far the children are scrolled, 0 to Range less the client size;
    // setting it scrolls them.
    Integer Position() const { return position_; }
    void SetPosition(Integer Value);
    // The extent of the scrolled area. Setting it turns the control's AutoScroll off.
    Integer Range() const { return range_; }
    void SetRange(Integer Value);
    // Whether the bar may show; it shows while Range exceeds the client size.
    bool Visible() const { return visible_; }
    void SetVisible(bool Value);
    // Whether dragging the thumb scrolls at once or only when it is let go.
    bool Tracking() const { return tracking_; }
    void SetTracking(bool Value) { tracking_ = Value; }
    // Position while the bar shows, 0 otherwise.
    Integer ScrollPos() const { return IsScrollBarVisible() ? position_ : 0; }
    bool IsScrollBarVisible() const;

    // The framework's internal ways in, for the scrolling control.
    // WM_HSCROLL or WM_VSCROLL of the window's own bar.
    void ScrollMessage(WORD ScrollCode, Integer ThumbPosition);
    // Sets the range without touching AutoScroll.
    void DoSetRange(Integer Value);
    // The client size along the bar: ControlSB counts the bars as they are;
    // otherwise AssumeSB counts the other bar as shown, or not.
    Integer ControlSize(bool ControlSB, bool AssumeSB) const;
    bool NeedsScrollBarVisible() const { return range_ > ControlSize(false, false); }
    // Hands the window's bar its range, page and position.
    void Update(bool ControlSB, bool AssumeSB);

private:
    int barCode() const;
    // Reads Position while the control is being read from a form resource.
    bool reading() const;

    TScrollingWinControl* control_;
    TScrollBarKind kind_;
    TScrollBarInc increment_ = 8;
    Word margin_ = 0;
    Integer position_ = 0;
    Integer range_ = 0;
    // How far the children can scroll: Range less the client size, at least 0.
    Integer calcRange_ = 0;
    Integer pageIncrement_ = 80;
    bool visible_ = true;
    bool tracking_ = false;
};

class TScrollingWinControl : public TWinControl {
public:
    explicit TScrollingWinControl(TComponent* AOwner);
    ~TScrollingWinControl() override;

    bool AutoScroll() const { return autoScroll_; }
    void SetAutoScroll(bool Value);
    TControlScrollBar* HorzScrollBar() const { return horzScrollBar_.get(); }
    void SetHorzScrollBar(TControlScrollBar* Value) { horzScrollBar_->Assign(Value); }
    TControlScrollBar* VertScrollBar() const { return vertScrollBar_.get(); }
    void SetVertScrollBar(TControlScrollBar* Value) { vertScrollBar_->Assign(Value); }
    // Scrolls so that AControl (a descendant), with the bars' margins round
    // it, lies inside the client area, as far as it fits.
    void ScrollInView(TControl* AControl);
    // Brings a descendant that took the focus into view, unless either is being read.
    virtual void AutoScrollInView(TControl* AControl);
    // Fits the range to the children (AutoScroll) and updates both bars.
    void UpdateScrollBars();
    void Dispatch(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void AlignControls(TControl* AControl, TRect& Rect) override;
    // The children's area starts at minus the positions and spans the ranges.
    void AdjustClientRect(TRect& Rect) override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;
    // Sets the ranges from the children when AutoScroll is on.
    void CalcAutoRange();

private:
    friend class TControlScrollBar;
    void scrollMessage(TMessage& Message, TControlScrollBar* Bar);
    bool wheelScroll(TShiftState Shift, Integer Notches);
    void wmSize(TMessage& Message);

    std::unique_ptr<TControlScrollBar> horzScrollBar_;
    std::unique_ptr<TControlScrollBar> vertScrollBar_;
    bool autoScroll_ = true;
    // While above zero, the children's alignment computes no range.
    Integer autoRangeCount_ = 0;
    bool updatingScrollBars_ = false;
};

// A scrolling container with a sunken border.
class TScrollBox : public TScrollingWinControl {
public:
    explicit TScrollBox(TComponent* AOwner);
    // bsNone or bsSingle.
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle Value);
    void Dispatch(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;

private:
    TBorderStyle borderStyle_ = bsSingle;
};
