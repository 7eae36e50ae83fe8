// The scrolling containers: how a control scroll bar maps its range and
// position onto the window's bar, how the range follows the children, and
// the scroll box's border.
#include "platform/vcl/ScrollBoxes.h"

#include "platform/win/Painting.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <type_traits>

namespace {

constexpr TScrollBarInc MaxIncrement = 32767;
constexpr Integer ScrollBoxWidth = 185;
constexpr Integer ScrollBoxHeight = 41;

// Raises a flag or count for the length of a scope, exceptions included.
template <typename T> class Raised {
public:
    explicit Raised(T& Value) : value_(Value), saved_(Value) {
        if constexpr (std::is_same_v<T, bool>)
            value_ = true;
        else
            ++value_;
    }
    ~Raised() { value_ = saved_; }
    Raised(const Raised&) = delete;
    Raised& operator=(const Raised&) = delete;

private:
    T& value_;
    T saved_;
};

} // namespace

// ---- TControlScrollBar ------------------------------------------------------------------

TControlScrollBar::TControlScrollBar(TScrollingWinControl* Control, TScrollBarKind Kind)
    : control_(Control), kind_(Kind) {}

void TControlScrollBar::Assign(TPersistent* Source) {
    auto* other = dynamic_cast<TControlScrollBar*>(Source);
    if (!other) {
        TPersistent::Assign(Source);
        return;
    }
    SetVisible(other->visible_);
    SetRange(other->range_);
    SetPosition(other->position_);
    SetIncrement(other->increment_);
    margin_ = other->margin_;
    tracking_ = other->tracking_;
}

int TControlScrollBar::barCode() const {
    return kind_ == sbHorizontal ? SB_HORZ : SB_VERT;
}

bool TControlScrollBar::reading() const {
    return control_->ComponentState().Contains(csReading) || control_->ComponentState().Contains(csLoading);
}

void TControlScrollBar::SetIncrement(TScrollBarInc Value) {
    if (Value < 1 || Value > MaxIncrement) return;
    increment_ = Value;
}

void TControlScrollBar::SetPosition(Integer Value) {
    if (reading()) {
        position_ = Value;
        return;
    }
    Value = std::clamp(Value, 0, calcRange_);
    if (Value != position_) {
        const Integer oldPosition = position_;
        position_ = Value;
        if (kind_ == sbHorizontal)
            control_->ScrollBy(oldPosition - Value, 0);
        else
            control_->ScrollBy(0, oldPosition - Value);
    }
    if (control_->HandleAllocated() && GetScrollPos(control_->Handle(), barCode()) != position_)
        SetScrollPos(control_->Handle(), barCode(), position_, TRUE);
}

void TControlScrollBar::SetRange(Integer Value) {
    control_->autoScroll_ = false;
    DoSetRange(Value);
}

void TControlScrollBar::DoSetRange(Integer Value) {
    range_ = std::max(Value, 0);
    control_->UpdateScrollBars();
}

void TControlScrollBar::SetVisible(bool Value) {
    visible_ = Value;
    control_->UpdateScrollBars();
}

bool TControlScrollBar::IsScrollBarVisible() const {
    if (!control_->HandleAllocated()) return visible_ && range_ > ControlSize(false, false);
    const LONG style = GetWindowLongA(control_->WindowHandle(), GWL_STYLE);
    return visible_ && (style & (kind_ == sbHorizontal ? WS_HSCROLL : WS_VSCROLL)) != 0;
}

// A window with a plain border has its bars inside the border, which the
// system metrics count once already.
Integer TControlScrollBar::ControlSize(bool ControlSB, bool AssumeSB) const {
    LONG style = 0;
    if (control_->HandleAllocated()) style = GetWindowLongA(control_->WindowHandle(), GWL_STYLE);
    const Integer borderAdjust = (style & (WS_BORDER | WS_THICKFRAME)) != 0 ? 1 : 0;
    auto adjustment = [&](DWORD otherBarStyle, int metric) {
        if (ControlSB) return 0;
        const bool otherShown = (style & otherBarStyle) != 0;
        if (AssumeSB && !otherShown) return -(GetSystemMetrics(metric) - borderAdjust);
        if (!AssumeSB && otherShown) return GetSystemMetrics(metric) - borderAdjust;
        return 0;
    };
    if (kind_ == sbVertical) return control_->ClientHeight() + adjustment(WS_HSCROLL, SM_CYHSCROLL);
    return control_->ClientWidth() + adjustment(WS_VSCROLL, SM_CXVSCROLL);
}

void TControlScrollBar::Update(bool ControlSB, bool AssumeSB) {
    const Integer size = ControlSize(ControlSB, AssumeSB);
    calcRange_ = visible_ ? std::max(range_ - size, 0) : 0;
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    info.nMin = 0;
    info.nMax = calcRange_ > 0 ? range_ : 0;
    info.nPage = static_cast<UINT>(size + 1);
    info.nPos = position_;
    info.nTrackPos = position_;
    SetScrollInfo(control_->Handle(), barCode(), &info, TRUE);
    SetPosition(position_);
    pageIncrement_ = ControlSize(true, false) * 9 / 10;
}

void TControlScrollBar::ScrollMessage(WORD ScrollCode, Integer ThumbPosition) {
    switch (ScrollCode) {
    case SB_LINEUP:
        SetPosition(position_ - increment_);
        break;
    case SB_LINEDOWN:
        SetPosition(position_ + increment_);
        break;
    case SB_PAGEUP:
        SetPosition(position_ - pageIncrement_);
        break;
    case SB_PAGEDOWN:
        SetPosition(position_ + pageIncrement_);
        break;
    case SB_THUMBPOSITION:
        SetPosition(ThumbPosition);
        break;
    case SB_THUMBTRACK:
        if (tracking_) SetPosition(ThumbPosition);
        break;
    case SB_TOP:
        SetPosition(0);
        break;
    case SB_BOTTOM:
        SetPosition(calcRange_);
        break;
    default:
        break;
    }
}

// ---- TScrollingWinControl ---------------------------------------------------------------

TScrollingWinControl::TScrollingWinControl(TComponent* AOwner)
    : TWinControl(AOwner), horzScrollBar_(std::make_unique<TControlScrollBar>(this, sbHorizontal)),
      vertScrollBar_(std::make_unique<TControlScrollBar>(this, sbVertical)) {}

TScrollingWinControl::~TScrollingWinControl() = default;

void TScrollingWinControl::SetAutoScroll(bool Value) {
    if (autoScroll_ == Value) return;
    autoScroll_ = Value;
    if (Value) {
        CalcAutoRange();
    } else {
        horzScrollBar_->DoSetRange(0);
        vertScrollBar_->DoSetRange(0);
    }
}

// A child counts towards the range when it stays at its place on the
// near edge; children aligned to the far edge add their size.
void TScrollingWinControl::CalcAutoRange() {
    if (!autoScroll_ || autoRangeCount_ > 0) return;
    Integer horzRange = 0;
    Integer horzMargin = 0;
    Integer vertRange = 0;
    Integer vertMargin = 0;
    const bool autoScrollEnabled = !AutoSize();
    for (Integer i = 0; autoScrollEnabled && i < ControlCount(); ++i) {
        TControl* control = Controls(i);
        if (!control->Visible()) continue;
        const TAlign align = control->Align();
        const TAnchors anchors = control->Anchors();
        if (align == alLeft || (align == alNone && (anchors * TAnchors{akLeft, akRight}) == TAnchors{akLeft}))
            horzRange = std::max(horzRange, horzScrollBar_->Position() + control->Left() + control->Width());
        else if (align == alRight)
            horzMargin += control->Width();
        if (align == alTop || (align == alNone && (anchors * TAnchors{akTop, akBottom}) == TAnchors{akTop}))
            vertRange = std::max(vertRange, vertScrollBar_->Position() + control->Top() + control->Height());
        else if (align == alBottom)
            vertMargin += control->Height();
    }
    horzScrollBar_->DoSetRange(horzRange + horzMargin);
    vertScrollBar_->DoSetRange(vertRange + vertMargin);
}

// Whether one bar shows decides the room the other has.
void TScrollingWinControl::UpdateScrollBars() {
    if (updatingScrollBars_ || !HandleAllocated()) return;
    Raised<bool> updating(updatingScrollBars_);
    if (vertScrollBar_->NeedsScrollBarVisible()) {
        horzScrollBar_->Update(false, true);
        vertScrollBar_->Update(true, false);
    } else if (horzScrollBar_->NeedsScrollBarVisible()) {
        vertScrollBar_->Update(false, true);
        horzScrollBar_->Update(true, false);
    } else {
        vertScrollBar_->Update(false, false);
        horzScrollBar_->Update(true, false);
    }
}

void TScrollingWinControl::ScrollInView(TControl* AControl) {
    if (!AControl) return;
    const Integer horzMargin = horzScrollBar_->Margin();
    const Integer vertMargin = vertScrollBar_->Margin();
    const TRect client = AControl->ClientRect();
    const TPoint topLeft =
        ScreenToClient(AControl->ClientToScreen({client.Left - horzMargin, client.Top - vertMargin}));
    const TPoint bottomRight =
        ScreenToClient(AControl->ClientToScreen({client.Right + horzMargin, client.Bottom + vertMargin}));
    auto bringIn = [](TControlScrollBar* bar, Integer nearEdge, Integer farEdge, Integer room) {
        if (nearEdge < 0) {
            bar->SetPosition(bar->Position() + nearEdge);
        } else if (farEdge > room) {
            if (farEdge - nearEdge > room) farEdge = nearEdge + room;
            bar->SetPosition(bar->Position() + farEdge - room);
        }
    };
    bringIn(horzScrollBar_.get(), topLeft.x, bottomRight.x, ClientWidth());
    bringIn(vertScrollBar_.get(), topLeft.y, bottomRight.y, ClientHeight());
}

void TScrollingWinControl::AutoScrollInView(TControl* AControl) {
    if (AControl && !AControl->ComponentState().Contains(csLoading) && !ComponentState().Contains(csLoading))
        ScrollInView(AControl);
}

void TScrollingWinControl::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TScrollingWinControl::CreateWnd() {
    TWinControl::CreateWnd();
    UpdateScrollBars();
}

void TScrollingWinControl::AlignControls(TControl* AControl, TRect& Rect) {
    CalcAutoRange();
    TWinControl::AlignControls(AControl, Rect);
}

void TScrollingWinControl::AdjustClientRect(TRect& Rect) {
    const Integer left = -horzScrollBar_->Position();
    const Integer top = -vertScrollBar_->Position();
    Rect = {left, top, left + std::max(horzScrollBar_->Range(), ClientWidth()),
            top + std::max(vertScrollBar_->Range(), ClientHeight())};
    TWinControl::AdjustClientRect(Rect);
}

// A notch of the wheel the handlers leave alone scrolls a line of the arrows
// per wheel line; Shift turns it sideways.
bool TScrollingWinControl::wheelScroll(TShiftState Shift, Integer Notches) {
    TControlScrollBar* bar = Shift.Contains(ssShift) ? horzScrollBar_.get() : vertScrollBar_.get();
    if (!bar->IsScrollBarVisible()) return false;
    bar->SetPosition(bar->Position() + Notches * bar->Increment() * Mouse->WheelScrollLines());
    return true;
}

bool TScrollingWinControl::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
    return TWinControl::DoMouseWheelDown(Shift, MousePos) || wheelScroll(Shift, 1);
}

bool TScrollingWinControl::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
    return TWinControl::DoMouseWheelUp(Shift, MousePos) || wheelScroll(Shift, -1);
}

void TScrollingWinControl::scrollMessage(TMessage& Message, TControlScrollBar* Bar) {
    if (Message.LParam != 0 || !Bar->Visible()) {
        TWinControl::Dispatch(Message);
        return;
    }
    Bar->ScrollMessage(LOWORD(Message.WParam), static_cast<SHORT>(HIWORD(Message.WParam)));
}

// The realignment of the resize computes no range; the range is computed
// once afterwards, and the bars updated once.
void TScrollingWinControl::wmSize(TMessage& Message) {
    {
        Raised<Integer> suppressed(autoRangeCount_);
        TWinControl::Dispatch(Message);
    }
    {
        Raised<bool> updating(updatingScrollBars_);
        CalcAutoRange();
    }
    if (horzScrollBar_->Visible() || vertScrollBar_->Visible()) UpdateScrollBars();
}

void TScrollingWinControl::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_HSCROLL:
        scrollMessage(Message, horzScrollBar_.get());
        break;
    case WM_VSCROLL:
        scrollMessage(Message, vertScrollBar_.get());
        break;
    case WM_SIZE:
        wmSize(Message);
        break;
    default:
        TWinControl::Dispatch(Message);
    }
}

// ---- TScrollBox --------------------------------------------------------------------------

TScrollBox::TScrollBox(TComponent* AOwner) : TScrollingWinControl(AOwner) {
    SetControlStyle(TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks});
    SetBounds(Left(), Top(), ScrollBoxWidth, ScrollBoxHeight);
}

void TScrollBox::SetBorderStyle(TBorderStyle Value) {
    if (borderStyle_ == Value) return;
    borderStyle_ = Value;
    RecreateWnd();
}

void TScrollBox::CreateParams(TCreateParams& Params) {
    TScrollingWinControl::CreateParams(Params);
    if (borderStyle_ != bsSingle) return;
    if (Ctl3D())
        Params.ExStyle |= WS_EX_CLIENTEDGE;
    else
        Params.Style |= WS_BORDER;
}

void TScrollBox::Dispatch(TMessage& Message) {
    if (Message.Msg == CM_CTL3DCHANGED && borderStyle_ == bsSingle) {
        TScrollingWinControl::Dispatch(Message);
        RecreateWnd();
        return;
    }
    TScrollingWinControl::Dispatch(Message);
}

// ---- Published properties ------------------------------------------------------------------

namespace {

const TClass controlScrollBarClass =
    DescribeClass<TControlScrollBar, TPersistent>([](TClassBuilder<TControlScrollBar>& c) {
        c.Property("Increment", &TControlScrollBar::Increment, &TControlScrollBar::SetIncrement).Default(8);
        c.Property("Margin", &TControlScrollBar::Margin, &TControlScrollBar::SetMargin).Default(0);
        c.Property("Range", &TControlScrollBar::Range, &TControlScrollBar::SetRange).Default(0);
        c.Property("Position", &TControlScrollBar::Position, &TControlScrollBar::SetPosition).Default(0);
        c.Property("Tracking", &TControlScrollBar::Tracking, &TControlScrollBar::SetTracking).Default(false);
        c.Property("Visible", &TControlScrollBar::Visible, &TControlScrollBar::SetVisible).Default(true);
    });

const TClass scrollingWinControlClass =
    DescribeClass<TScrollingWinControl, TWinControl>([](TClassBuilder<TScrollingWinControl>& c) {
        c.Property("AutoScroll", &TScrollingWinControl::AutoScroll, &TScrollingWinControl::SetAutoScroll)
            .Default(true);
        c.Property("HorzScrollBar", &TScrollingWinControl::HorzScrollBar);
        c.Property("VertScrollBar", &TScrollingWinControl::VertScrollBar);
    });

const TClass scrollBoxClass = DescribeClass<TScrollBox, TScrollingWinControl>([](TClassBuilder<TScrollBox>& c) {
    c.Property("BorderStyle", &TScrollBox::BorderStyle, &TScrollBox::SetBorderStyle).Default(bsSingle);
});

struct RegisterScrollBoxes {
    RegisterScrollBoxes() { RegisterClass(ClassOf<TScrollBox>()); }
} registerScrollBoxes;

} // namespace
