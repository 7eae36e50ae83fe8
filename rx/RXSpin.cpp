// The spin button draws its three faces (up half pressed, down half pressed,
// nothing pressed) once into bitmaps and repeats a held half's click on a
// timer; the spin edit reads and writes its value as its text.
#include "rx/RXSpin.h"

#include "platform/core/SysUtils.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/win/EditControl.h"
#include "platform/win/Focus.h"
#include "platform/win/Gdi.h"
#include "platform/win/Messages.h"
#include "platform/win/SystemInfo.h"
#include "rx/RXCtrls.h"

#include <cmath>
#include <limits>

namespace {

const char* const UpGlyphName = "RXSPINUP";
const char* const DownGlyphName = "RXSPINDOWN";
constexpr Integer DefaultSpinButtonSize = 20;
constexpr UINT FirstRepeatPause = 400;
constexpr UINT RepeatPause = 100;
constexpr Integer MaxDefaultButtonWidth = 15;
constexpr char Backspace = 8;
constexpr char Enter = 13;
constexpr char Escape = 27;

// The nearest integer, a half going to the even neighbour.
Integer nearest(double Value) {
    return static_cast<Integer>(std::nearbyint(Value));
}

Int64 nearestInt64(TSpinValue Value) {
    constexpr auto lowest = static_cast<TSpinValue>(std::numeric_limits<Int64>::min());
    constexpr auto highest = static_cast<TSpinValue>(std::numeric_limits<Int64>::max());
    if (Value <= lowest) return std::numeric_limits<Int64>::min();
    if (Value >= highest) return std::numeric_limits<Int64>::max();
    return std::llrint(Value);
}

// Hexadecimal text holds a negative number as its 32-bit pattern
// ("FFFFFFFF" for -1), and text of up to eight digits reads back that way;
// longer text and numbers beyond 32 bits keep all their digits.
constexpr std::size_t Int32HexDigits = 8;
constexpr Int64 Int32Span = Int64{1} << 32;

AnsiString hexText(Int64 Value) {
    if (Value < 0 && Value >= std::numeric_limits<Integer>::min())
        return IntToHex(static_cast<Integer>(Value), 1);
    return IntToHex(Value, 1);
}

Int64 hexTextValue(const AnsiString& Text, Int64 Value) {
    const bool int32Text = Text.size() <= Int32HexDigits;
    return int32Text && Value > std::numeric_limits<Integer>::max() ? Value - Int32Span : Value;
}

void loadGlyph(TBitmap* Glyph, const char* Name) {
    Glyph->LoadFromResourceName(nullptr, Name);
}

Integer DefaultButtonWidth() {
    return Min(GetSystemMetrics(SM_CXVSCROLL), MaxDefaultButtonWidth);
}

} // namespace

// ---- TRxSpinButton --------------------------------------------------------------------

TRxSpinButton::TRxSpinButton(TComponent* AOwner)
    : TGraphicControl(AOwner), upGlyph_(std::make_unique<TBitmap>()), downGlyph_(std::make_unique<TBitmap>()),
      upFace_(std::make_unique<TBitmap>()), downFace_(std::make_unique<TBitmap>()),
      notDownFace_(std::make_unique<TBitmap>()) {
    SetBounds(0, 0, DefaultSpinButtonSize, DefaultSpinButtonSize);
    loadGlyph(upGlyph_.get(), UpGlyphName);
    loadGlyph(downGlyph_.get(), DownGlyphName);
    upGlyph_->OnChange = TNotifyEvent(this, &TRxSpinButton::GlyphChanged);
    downGlyph_->OnChange = TNotifyEvent(this, &TRxSpinButton::GlyphChanged);
}

TRxSpinButton::~TRxSpinButton() {
    upGlyph_->OnChange = nullptr;
    downGlyph_->OnChange = nullptr;
}

void TRxSpinButton::GlyphChanged(TObject*) {
    facesStale_ = true;
    Invalidate();
}

void TRxSpinButton::SetUpGlyph(TBitmap* Value) {
    if (Value)
        upGlyph_->Assign(Value);
    else
        loadGlyph(upGlyph_.get(), UpGlyphName);
}

void TRxSpinButton::SetDownGlyph(TBitmap* Value) {
    if (Value)
        downGlyph_->Assign(Value);
    else
        loadGlyph(downGlyph_.get(), DownGlyphName);
}

void TRxSpinButton::SetFocusControl(TWinControl* Value) {
    focusControl_ = Value;
    if (Value) Value->FreeNotification(this);
}

void TRxSpinButton::Notification(TComponent* AComponent, TOperation Operation) {
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == focusControl_) focusControl_ = nullptr;
}

void TRxSpinButton::DrawBitmap(TBitmap* Bitmap, TSpinButtonState ForState) {
    const Integer w = Width();
    const Integer h = Height();
    Bitmap->SetSize(w, h);
    TCanvas* canvas = Bitmap->Canvas();
    canvas->Pen()->SetWidth(1);
    canvas->Brush()->SetColor(clBtnFace);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->FillRect({0, 0, w, h});
    canvas->Pen()->SetColor(clWindowFrame);
    canvas->Rectangle(0, 0, w, h);
    canvas->Polyline({{-1, h}, {w, -1}});
    const bool upPressed = ForState == sbTopDown;
    canvas->Pen()->SetColor(upPressed ? clBtnShadow : clBtnHighlight);
    canvas->Polyline({{1, h - 4}, {1, 1}, {w - 3, 1}});
    canvas->Pen()->SetColor(upPressed ? clBtnHighlight : clBtnShadow);
    if (!upPressed) canvas->Polyline({{1, h - 3}, {w - 2, 0}});
    const bool downPressed = ForState == sbBottomDown;
    canvas->Pen()->SetColor(downPressed ? clBtnHighlight : clBtnShadow);
    canvas->Polyline({{2, h - 2}, {w - 2, h - 2}, {w - 2, 1}});
    canvas->Pen()->SetColor(downPressed ? clBtnShadow : clBtnHighlight);
    canvas->Polyline({{2, h - 2}, {w - 1, 1}});
    auto drawGlyph = [&](TBitmap* Glyph, Integer X, Integer Y) {
        canvas->BrushCopy({X, Y, X + Glyph->Width(), Y + Glyph->Height()}, Glyph,
                          {0, 0, Glyph->Width(), Glyph->Height()}, Glyph->TransparentColor());
    };
    const Integer gw = upGlyph_->Width();
    const Integer gh = upGlyph_->Height();
    const Integer shift = upPressed ? 2 : 1;
    drawGlyph(upGlyph_.get(), nearest(w / 4.0 - gw / 2.0) + shift, nearest(h / 4.0 - gh / 2.0) + shift);
    const Integer dw = downGlyph_->Width();
    const Integer dh = downGlyph_->Height();
    drawGlyph(downGlyph_.get(), nearest(3.0 * w / 4.0 - dw / 2.0) - 1, nearest(3.0 * h / 4.0 - dh / 2.0) - 1);
    if (downPressed) {
        canvas->Pen()->SetColor(clBtnShadow);
        canvas->Polyline({{3, h - 2}, {w - 1, 2}});
    }
}

void TRxSpinButton::DrawAllBitmap() {
    DrawBitmap(upFace_.get(), sbTopDown);
    DrawBitmap(downFace_.get(), sbBottomDown);
    DrawBitmap(notDownFace_.get(), sbNotDown);
    facesStale_ = false;
}

void TRxSpinButton::Paint() {
    if (!Enabled() && !ComponentState().Contains(csDesigning)) dragging_ = false;
    if (facesStale_ || notDownFace_->Width() != Width() || notDownFace_->Height() != Height()) DrawAllBitmap();
    TBitmap* face = state_ == sbTopDown ? upFace_.get() : state_ == sbBottomDown ? downFace_.get() : notDownFace_.get();
    Canvas()->Draw(0, 0, face);
}

// Points on the diagonal belong to the up half.
TSpinButtonState TRxSpinButton::halfAt(Integer X, Integer Y) const {
    const double diagonal = Height() - static_cast<double>(Height()) / Width() * X;
    return Y > diagonal ? sbBottomDown : sbTopDown;
}

void TRxSpinButton::setState(TSpinButtonState Value) {
    if (state_ == Value) return;
    state_ = Value;
    Repaint();
}

void TRxSpinButton::clickHalf(TSpinButtonState Half) {
    if (Half == sbTopDown)
        TopClick();
    else
        BottomClick();
}

void TRxSpinButton::TopClick() {
    if (OnTopClick) OnTopClick(this);
    if (!ControlState().Contains(csLButtonDown)) state_ = sbNotDown;
}

void TRxSpinButton::BottomClick() {
    if (OnBottomClick) OnBottomClick(this);
    if (!ControlState().Contains(csLButtonDown)) state_ = sbNotDown;
}

void TRxSpinButton::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !Enabled()) return;
    if (focusControl_ && focusControl_->TabStop() && focusControl_->CanFocus() &&
        GetFocus() != focusControl_->Handle())
        focusControl_->SetFocus();
    if (state_ == sbNotDown) {
        lastState_ = halfAt(X, Y);
        const TSpinButtonState before = state_;
        state_ = lastState_;
        clickHalf(lastState_);
        if (state_ != before) Repaint();
    }
    if (!repeatTimer_) repeatTimer_ = std::make_unique<TTimer>(nullptr);
    repeatTimer_->SetOnTimer(TNotifyEvent(this, &TRxSpinButton::TimerExpired));
    repeatTimer_->SetInterval(FirstRepeatPause);
    repeatTimer_->SetEnabled(true);
    dragging_ = true;
}

void TRxSpinButton::MouseMove(TShiftState Shift, Integer X, Integer Y) {
    TGraphicControl::MouseMove(Shift, X, Y);
    if (!dragging_) return;
    const bool inside = X >= 0 && X <= Width() && Y >= 0 && Y <= Height();
    setState(inside && halfAt(X, Y) == lastState_ ? lastState_ : sbNotDown);
}

void TRxSpinButton::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (repeatTimer_) repeatTimer_->SetEnabled(false);
    if (!dragging_) return;
    dragging_ = false;
    if (X >= 0 && X <= Width() && Y >= 0 && Y <= Height()) {
        lastState_ = sbNotDown;
        setState(sbNotDown);
    }
}

void TRxSpinButton::TimerExpired(TObject*) {
    repeatTimer_->SetInterval(RepeatPause);
    if (state_ == sbNotDown || !MouseCapture()) return;
    try {
        clickHalf(state_);
    } catch (...) {
        repeatTimer_->SetEnabled(false);
        throw;
    }
}

void TRxSpinButton::Dispatch(TMessage& Message) {
    if (Message.Msg == CM_ENABLEDCHANGED) {
        TGraphicControl::Dispatch(Message);
        facesStale_ = true;
        Invalidate();
        return;
    }
    TGraphicControl::Dispatch(Message);
}

// ---- TRxUpDown ---------------------------------------------------------------------------

TRxUpDown::TRxUpDown(TComponent* AOwner) : TCustomUpDown(AOwner) {
    SetOrientation(udVertical);
    SetMin(-1);
    SetMax(1);
    SetPosition(0);
}

TRxUpDown::~TRxUpDown() {
    OnClick = nullptr;
}

// Every arrow press is one step: the position goes back to 0 after each.
void TRxUpDown::scroll(TMessage& Message) {
    if (LOWORD(Message.WParam) != SB_THUMBPOSITION || scrolling_) return;
    scrolling_ = true;
    try {
        const auto position = static_cast<SmallInt>(HIWORD(Message.WParam));
        if (position > 0) Click(btNext);
        if (position < 0) Click(btPrev);
        if (HandleAllocated()) SendMessageA(Handle(), UDM_SETPOS, 0, 0);
    } catch (...) {
        scrolling_ = false;
        throw;
    }
    scrolling_ = false;
}

void TRxUpDown::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CN_HSCROLL:
    case CN_VSCROLL:
        scroll(Message);
        break;
    case WM_SIZE:
        TCustomUpDown::Dispatch(Message);
        if (Width() != DefaultButtonWidth()) SetWidth(DefaultButtonWidth());
        break;
    default:
        TCustomUpDown::Dispatch(Message);
    }
}

// ---- TRxSpinEdit -------------------------------------------------------------------------

TRxSpinEdit::TRxSpinEdit(TComponent* AOwner) : TCustomEdit(AOwner) {
    RegisterRxResources();
    SetText("0");
    SetControlStyle(ControlStyle() - TControlStyle{csSetCaption});
    RecreateButton();
}

TRxSpinEdit::~TRxSpinEdit() {
    changing_ = true;
}

TSpinValue TRxSpinEdit::Value() {
    const AnsiString text = Text();
    if (valueType_ == vtFloat) {
        double value = 0;
        return TryStrToFloat(text, value) ? value : minValue_;
    }
    Int64 value = 0;
    if (!TryStrToInt64(valueType_ == vtHex ? "$" + text : text, value)) return std::trunc(minValue_);
    if (valueType_ == vtHex) value = hexTextValue(text, value);
    return static_cast<TSpinValue>(value);
}

void TRxSpinEdit::SetValue(TSpinValue NewValue) {
    const TSpinValue value = CheckValue(NewValue);
    switch (valueType_) {
    case vtFloat:
        SetText(FloatToStrF(static_cast<double>(value), ffFixed, 15, decimal_));
        break;
    case vtHex:
        SetText(hexText(nearestInt64(value)));
        break;
    case vtInt:
        SetText(IntToStr(nearestInt64(value)));
        break;
    }
}

TSpinValue TRxSpinEdit::CheckValue(TSpinValue NewValue) const {
    if (minValue_ == maxValue_) return NewValue;
    if (NewValue < minValue_) return minValue_;
    if (NewValue > maxValue_) return maxValue_;
    return NewValue;
}

void TRxSpinEdit::SetDecimal(Byte Value) {
    if (decimal_ == Value) return;
    decimal_ = Value;
    SetValue(this->Value());
}

void TRxSpinEdit::SetValueType(TValueType Value) {
    if (valueType_ == Value) return;
    valueType_ = Value;
    SetValue(this->Value());
    if (Value == vtInt || Value == vtHex) {
        increment_ = std::nearbyint(increment_);
        if (increment_ == 0) increment_ = 1;
    }
}

void TRxSpinEdit::SetArrowKeys(bool Value) {
    arrowKeys_ = Value;
    ResizeButton();
}

void TRxSpinEdit::SetButtonKind(TSpinButtonKind Value) {
    const TSpinButtonKind previous = buttonKind_;
    buttonKind_ = Value;
    if (GetButtonKind() == previous) return;
    RecreateButton();
    ResizeButton();
    SetEditRect();
}

void TRxSpinEdit::SetAlignment(TAlignment Value) {
    if (alignment_ == Value) return;
    alignment_ = Value;
    RecreateWnd();
}

TSpinButtonKind TRxSpinEdit::GetButtonKind() const {
    return NewStyleControls ? buttonKind_ : bkDiagonal;
}

Integer TRxSpinEdit::GetButtonWidth() const {
    if (upDown_) return upDown_->Width();
    if (button_) return button_->Width();
    return DefaultButtonWidth();
}

void TRxSpinEdit::RecreateButton() {
    if (ComponentState().Contains(csDestroying)) return;
    delete button_;
    button_ = nullptr;
    delete buttonHost_;
    buttonHost_ = nullptr;
    delete upDown_;
    upDown_ = nullptr;
    if (GetButtonKind() == bkStandard) {
        upDown_ = new TRxUpDown(this);
        upDown_->SetVisible(true);
        upDown_->SetBounds(0, 0, DefaultButtonWidth(), Height());
        upDown_->SetAlign(upDown_->UseRightToLeftAlignment() ? alLeft : alRight);
        upDown_->SetParent(this);
        upDown_->OnClick = TUDClickEvent(this, &TRxSpinEdit::UpDownClick);
        return;
    }
    buttonHost_ = new TWinControl(this);
    buttonHost_->SetVisible(true);
    buttonHost_->SetParent(this);
    buttonHost_->SetBounds(0, 0, Height(), Height());
    button_ = new TRxSpinButton(this);
    button_->SetVisible(true);
    button_->SetParent(buttonHost_);
    button_->SetFocusControl(this);
    button_->OnTopClick = TNotifyEvent(this, &TRxSpinEdit::UpClick);
    button_->OnBottomClick = TNotifyEvent(this, &TRxSpinEdit::DownClick);
    button_->SetBounds(0, 0, buttonHost_->Width(), buttonHost_->Height());
}

void TRxSpinEdit::ResizeButton() {
    if (upDown_) {
        upDown_->SetWidth(DefaultButtonWidth());
        upDown_->SetAlign(UseRightToLeftAlignment() ? alLeft : alRight);
        return;
    }
    if (!button_) return;
    const Integer w = Width();
    const Integer h = Height();
    const bool framed = NewStyleControls && Ctl3D() && BorderStyle() == bsSingle;
    TRect r = framed ? TRect{w - h - 1, -1, w - 4, h - 4} : TRect{w - h, 0, w, h};
    if (UseRightToLeftAlignment()) r = framed ? TRect{-1, r.Top, h - 4, r.Bottom} : TRect{0, r.Top, h, r.Bottom};
    buttonHost_->SetBoundsRect(r);
    button_->SetBounds(0, 0, buttonHost_->Width(), buttonHost_->Height());
}

void TRxSpinEdit::SetEditRect() {
    if (!HandleAllocated()) return;
    const Integer buttonWidth = GetButtonWidth();
    RECT rect = UseRightToLeftAlignment() ? RECT{buttonWidth + 1, 0, ClientWidth() - 1, ClientHeight() + 1}
                                          : RECT{0, 0, ClientWidth() - buttonWidth - 2, ClientHeight() + 1};
    SendMessageA(Handle(), EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&rect));
}

Integer TRxSpinEdit::GetMinHeight() {
    return ScreenCharacterHeight(Font()->Handle()) + 4 * GetSystemMetrics(SM_CYBORDER) + 1;
}

void TRxSpinEdit::CreateParams(TCreateParams& Params) {
    TCustomEdit::CreateParams(Params);
    static constexpr DWORD leftToRight[] = {ES_LEFT, ES_RIGHT, ES_CENTER};
    static constexpr DWORD rightToLeft[] = {ES_RIGHT, ES_LEFT, ES_CENTER};
    Params.Style |= ES_MULTILINE | WS_CLIPCHILDREN |
                    (UseRightToLeftAlignment() ? rightToLeft : leftToRight)[alignment_];
}

void TRxSpinEdit::CreateWnd() {
    TCustomEdit::CreateWnd();
    SetEditRect();
}

void TRxSpinEdit::wmSize(TMessage& Message) {
    TCustomEdit::Dispatch(Message);
    const Integer least = GetMinHeight();
    if (Height() < least) {
        SetHeight(least);
        return;
    }
    ResizeButton();
    SetEditRect();
}

bool TRxSpinEdit::IsValidChar(char Key) {
    AnsiString allowed = "+-0123456789";
    const AnsiString text = Text();
    if (valueType_ == vtFloat) {
        if (text.find(DecimalSeparator) == AnsiString::npos) allowed += DecimalSeparator;
        if (UpperCase(text).find('E') == AnsiString::npos) allowed += "eE";
    } else if (valueType_ == vtHex) {
        allowed += "ABCDEFabcdef";
    }
    const bool control = static_cast<unsigned char>(Key) < 32;
    const bool valid = allowed.find(Key) != AnsiString::npos || control;
    if (!editorEnabled_ && valid) return control && Key != Backspace;
    return valid;
}

void TRxSpinEdit::KeyDown(Word& Key, TShiftState Shift) {
    TCustomEdit::KeyDown(Key, Shift);
    if (!arrowKeys_ || (Key != VK_UP && Key != VK_DOWN)) return;
    if (Key == VK_UP)
        UpClick(this);
    else
        DownClick(this);
    Key = 0;
}

void TRxSpinEdit::KeyPress(char& Key) {
    if (!IsValidChar(Key)) {
        Key = 0;
        MessageBeep(0);
    }
    if (Key == 0) return;
    TCustomEdit::KeyPress(Key);
    if (Key != Enter && Key != Escape) return;
    // The form's default and cancel buttons hear Enter and Escape.
    if (TCustomForm* form = GetParentForm(this)) form->Perform(CM_DIALOGKEY, static_cast<Byte>(Key), 0);
    if (Key == Enter) Key = 0;
}

void TRxSpinEdit::Change() {
    if (!changing_) TCustomEdit::Change();
}

void TRxSpinEdit::step(TSpinValue Delta, const TNotifyEvent& Event) {
    if (ReadOnly()) {
        MessageBeep(0);
        return;
    }
    changing_ = true;
    const AnsiString before = Text();
    try {
        SetValue(Value() + Delta);
    } catch (...) {
        changing_ = false;
        throw;
    }
    changing_ = false;
    if (CompareText(Text(), before) != 0) {
        SetModified(true);
        Change();
    }
    if (Event) Event(this);
}

void TRxSpinEdit::UpClick(TObject*) {
    step(increment_, OnTopClick);
}

void TRxSpinEdit::DownClick(TObject*) {
    step(-increment_, OnBottomClick);
}

void TRxSpinEdit::UpDownClick(TObject*, TUDBtnType Button) {
    if (TabStop() && CanFocus()) SetFocus();
    if (Button == btNext)
        UpClick(this);
    else
        DownClick(this);
}

void TRxSpinEdit::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_SIZE:
        wmSize(Message);
        break;
    case WM_PASTE:
    case WM_CUT:
        if (editorEnabled_ && !ReadOnly()) TCustomEdit::Dispatch(Message);
        break;
    case CM_ENTER:
        if (AutoSelect() && !ControlState().Contains(csLButtonDown)) SelectAll();
        TCustomEdit::Dispatch(Message);
        break;
    case CM_EXIT: {
        TCustomEdit::Dispatch(Message);
        const TSpinValue value = Value();
        if (CheckValue(value) != value) SetValue(value);
        break;
    }
    case CM_ENABLEDCHANGED:
        TCustomEdit::Dispatch(Message);
        if (upDown_) {
            upDown_->SetEnabled(Enabled());
            ResizeButton();
        } else if (button_) {
            button_->SetEnabled(Enabled());
        }
        break;
    case CM_FONTCHANGED:
    case CM_CTL3DCHANGED:
    case CM_BIDIMODECHANGED:
        TCustomEdit::Dispatch(Message);
        ResizeButton();
        SetEditRect();
        break;
    default:
        TCustomEdit::Dispatch(Message);
    }
}

// ---- Published properties ------------------------------------------------------------------

namespace {

const TTypeInfo* const valueTypeType = DefineEnum<TRxSpinEdit::TValueType>("TValueType", {"vtInt", "vtFloat", "vtHex"});
const TTypeInfo* const buttonKindType = DefineEnum<TSpinButtonKind>("TSpinButtonKind", {"bkStandard", "bkDiagonal"});

const TClass spinButtonClass = DescribeClass<TRxSpinButton, TGraphicControl>([](TClassBuilder<TRxSpinButton>& c) {
    c.Property("DownGlyph", &TRxSpinButton::DownGlyph, &TRxSpinButton::SetDownGlyph);
    c.Property("UpGlyph", &TRxSpinButton::UpGlyph, &TRxSpinButton::SetUpGlyph);
    c.Property("FocusControl", &TRxSpinButton::FocusControl, &TRxSpinButton::SetFocusControl);
    c.Property("OnTopClick", &TRxSpinButton::OnTopClick, &TRxSpinButton::OnTopClick);
    c.Property("OnBottomClick", &TRxSpinButton::OnBottomClick, &TRxSpinButton::OnBottomClick);
});

const TClass upDownClass = DescribeClass<TRxUpDown, TCustomUpDown>([](TClassBuilder<TRxUpDown>& c) {
    c.Property("OnClick", &TRxUpDown::OnClick, &TRxUpDown::OnClick);
});

const TClass spinEditClass = DescribeClass<TRxSpinEdit, TCustomEdit>([](TClassBuilder<TRxSpinEdit>& c) {
    using T = TRxSpinEdit;
    c.Property("Alignment", &T::Alignment, &T::SetAlignment).Default(taLeftJustify);
    c.Property("ArrowKeys", &T::ArrowKeys, &T::SetArrowKeys).Default(true);
    c.Property("ButtonKind", &T::ButtonKind, &T::SetButtonKind).Default(bkDiagonal);
    c.Property("Decimal", &T::Decimal, &T::SetDecimal).Default(Byte{2});
    c.Property("EditorEnabled", &T::EditorEnabled, &T::SetEditorEnabled).Default(true);
    c.Property("Increment", &T::Increment, &T::SetIncrement).Stored(&T::IsIncrementStored);
    c.Property("MaxValue", &T::MaxValue, &T::SetMaxValue).Stored(&T::IsMaxValueStored);
    c.Property("MinValue", &T::MinValue, &T::SetMinValue).Stored(&T::IsMinValueStored);
    c.Property("ValueType", &T::ValueType, &T::SetValueType).Default(TRxSpinEdit::vtInt);
    c.Property("Value", &T::Value, &T::SetValue).Stored(&T::IsValueStored);
    c.Property("OnTopClick", &T::OnTopClick, &T::OnTopClick);
    c.Property("OnBottomClick", &T::OnBottomClick, &T::OnBottomClick);
});

struct RegisterSpinClasses {
    RegisterSpinClasses() {
        RegisterClasses({ClassOf<TRxSpinButton>(), ClassOf<TRxUpDown>(), ClassOf<TRxSpinEdit>()});
    }
} registerSpinClasses;

} // namespace
