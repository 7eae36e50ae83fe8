#include "platform/vcl/PageScrollers.h"

#include "platform/vcl/Components.h"
#include "platform/vcl/TypInfo.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/CommonControls.h"
#include "platform/win/Messages.h"

namespace {

constexpr Integer DefaultScrollerWidth = 150;
constexpr Integer DefaultScrollerHeight = 45;

TShiftState shiftOfKeys(WORD Keys) {
    TShiftState shift;
    if (Keys & MK_SHIFT) shift.Include(ssShift);
    if (Keys & MK_CONTROL) shift.Include(ssCtrl);
    return shift;
}

} // namespace

TPageScroller::TPageScroller(TComponent* AOwner) : TWinControl(AOwner) {
    SetBounds(Left(), Top(), DefaultScrollerWidth, DefaultScrollerHeight);
    SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls});
    RegisterCommonControlClasses();
}

void TPageScroller::SetControl(TWinControl* Value) {
    if (control_ == Value) return;
    if (control_) control_->RemoveFreeNotification(this);
    control_ = Value;
    if (control_) {
        control_->FreeNotification(this);
        control_->SetParent(this);
    }
    sendChild();
}

void TPageScroller::SetOrientation(TPageScrollerOrientation Value) {
    if (orientation_ == Value) return;
    orientation_ = Value;
    RecreateWnd();
}

void TPageScroller::SetButtonSize(Integer Value) {
    if (buttonSize_ == Value) return;
    buttonSize_ = Value;
    if (HandleAllocated()) SendMessageA(Handle(), PGM_SETBUTTONSIZE, 0, buttonSize_);
}

void TPageScroller::SetMargin(Integer Value) {
    if (margin_ == Value) return;
    margin_ = Value;
    if (HandleAllocated()) SendMessageA(Handle(), PGM_SETBORDER, 0, margin_);
}

Integer TPageScroller::Position() {
    if (HandleAllocated()) position_ = static_cast<Integer>(SendMessageA(Handle(), PGM_GETPOS, 0, 0));
    return position_;
}

void TPageScroller::SetPosition(Integer Value) {
    position_ = Value;
    if (HandleAllocated()) SendMessageA(Handle(), PGM_SETPOS, 0, position_);
}

void TPageScroller::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, WC_PAGESCROLLERA);
    if (orientation_ == soHorizontal) Params.Style |= PGS_HORZ;
}

void TPageScroller::CreateWnd() {
    TWinControl::CreateWnd();
    SendMessageA(Handle(), PGM_SETBUTTONSIZE, 0, buttonSize_);
    SendMessageA(Handle(), PGM_SETBORDER, 0, margin_);
    sendChild();
    SendMessageA(Handle(), PGM_SETPOS, 0, position_);
}

void TPageScroller::sendChild() {
    if (!HandleAllocated()) return;
    SendMessageA(Handle(), PGM_SETCHILD, 0, reinterpret_cast<LPARAM>(control_ ? control_->Handle() : nullptr));
}

void TPageScroller::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == control_) {
        control_ = nullptr;
        sendChild();
    }
}

void TPageScroller::Dispatch(TMessage& Message) {
    if (Message.Msg == CN_NOTIFY) {
        CNNotify(Message);
        return;
    }
    TWinControl::Dispatch(Message);
}

// The control's own size along the scroller is its full length.
void TPageScroller::CNNotify(TMessage& Message) {
    const auto* header = reinterpret_cast<const NMHDR*>(Message.LParam);
    if (header->code == PGN_CALCSIZE && control_) {
        auto* size = reinterpret_cast<NMPGCALCSIZE*>(Message.LParam);
        if (size->dwFlag == PGF_CALCWIDTH) size->iWidth = control_->Width();
        if (size->dwFlag == PGF_CALCHEIGHT) size->iHeight = control_->Height();
    } else if (header->code == PGN_SCROLL && OnScroll) {
        auto* scroll = reinterpret_cast<NMPGSCROLL*>(Message.LParam);
        Integer delta = scroll->iScroll;
        OnScroll(this, shiftOfKeys(scroll->fwKeys), scroll->iXpos, scroll->iYpos, orientation_, delta);
        scroll->iScroll = delta;
    }
}

namespace {

const TClass pageScrollerClass = DescribeClass<TPageScroller, TWinControl>([](TClassBuilder<TPageScroller>& c) {
    c.Property("ButtonSize", &TPageScroller::ButtonSize, &TPageScroller::SetButtonSize).Default(12);
    c.Property("Control", &TPageScroller::Control, &TPageScroller::SetControl);
    c.Property("Margin", &TPageScroller::Margin, &TPageScroller::SetMargin).Default(0);
    c.Property("Orientation", &TPageScroller::Orientation, &TPageScroller::SetOrientation).Default(soHorizontal);
    c.Property("Position", &TPageScroller::Position, &TPageScroller::SetPosition).Default(0);
    c.Property("OnScroll", &TPageScroller::OnScroll, &TPageScroller::OnScroll);
});

struct RegisterPageScrollerClass {
    RegisterPageScrollerClass() { RegisterClass(pageScrollerClass); }
} registerPageScrollerClass;

} // namespace
