// The floating-point spin edit: reading and writing the value as text, the
// arrows and the arrow keys, the drop-down track bar dragged from its
// button, and the gauge along the bottom edge.
#include "components/VellSpinEdit.h"

#include "platform/core/SysUtils.h"
#include "platform/vcl/Buttons.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Pictures.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/Fonts.h"
#include "platform/win/Gdi.h"
#include "platform/win/Keyboard.h"
#include "platform/win/Messages.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <cmath>

namespace {

// Posted after each step: the arrows go back to the middle of their range,
// so that both stay usable.
constexpr UINT ResetUpDownMessage = 0x0D00;
constexpr SmallInt UpDownMiddle = 50;
constexpr Integer TrackBarSteps = 1000;
constexpr Integer TrackBarTickFrequency = 50;
constexpr Integer TrackBarThumbLength = 15;
constexpr Integer TrackBarPanelBorder = 4;
// The popup form is the track bar's default breadth less this.
constexpr Integer TrackBarBreadthTrim = 10;
constexpr Integer ButtonWidth = 13;
constexpr Integer MinPrecision = 0;
constexpr Integer MaxPrecision = 6;
constexpr Integer MinTrackBarWidth = 50;
constexpr Integer MaxTrackBarWidth = 300;
constexpr Integer BlendScale = 256;
constexpr double EmptyRange = 100;
// The button becomes the only member of this group while it is held down.
constexpr Integer HeldButtonGroup = 1;

Integer roundAway(double Value) {
    return static_cast<Integer>(std::round(Value));
}

double snapped(double Value, double Step) {
    return Step > 0 ? std::round(Value / Step) * Step : Value;
}

double rangeOrDefault(double Min, double Max) {
    return Max - Min > 0 ? Max - Min : EmptyRange;
}

TColor blend(TColor Begin, TColor End, Integer Factor) {
    const Integer from = ColorToRGB(Begin);
    const Integer to = ColorToRGB(End);
    Integer result = 0;
    for (int shift : {0, 8, 16}) {
        const Integer a = (from >> shift) & 0xFF;
        const Integer b = (to >> shift) & 0xFF;
        result |= ((a + (b - a) * Factor / BlendScale) & 0xFF) << shift;
    }
    return result;
}

} // namespace

// ---- TAGauge -----------------------------------------------------------------------------------------

TAGauge::TAGauge(TComponent* AOwner, TVellSpinEdit* Edit)
    : TCustomControl(AOwner), edit_(Edit), beginColor_(clHighlight) {}

void TAGauge::SetGaugeBeginColor(TColor Value) {
    if (Value == beginColor_) return;
    beginColor_ = Value;
    Invalidate();
}

void TAGauge::SetGaugeEndColor(TColor Value) {
    if (Value == endColor_) return;
    endColor_ = Value;
    Invalidate();
}

void TAGauge::SetGaugeAroundCenter(double Value) {
    if (Value == aroundCenter_) return;
    aroundCenter_ = Value;
    Invalidate();
}

// Presses and the bar both use the gauge's own range.
TAGauge::TBar TAGauge::BarIn(const TRect& R) const {
    double min, max;
    edit_->GaugeRange(min, max);
    const double range = rangeOrDefault(min, max);
    const double value = edit_->Value();
    const Integer W = R.Width() - 1;
    const Integer X = std::min(roundAway((value - min) * W / range + 1), W);
    const double centre = aroundCenter_;
    TBar bar;
    if (min <= centre && centre < max) {
        const Integer CX = std::min(roundAway((centre - min) * W / range + 1), W);
        bar.Left = R.Left + std::min(CX, X);
        bar.Right = R.Left + std::max(CX, X);
        bar.Drawn = value != centre;
    } else {
        bar.Left = R.Left;
        bar.Right = R.Left + X;
        bar.Drawn = X > 0;
    }
    const bool centreInside = min < centre && centre < max;
    double factor;
    if (centreInside) {
        factor = value <= centre ? (centre - value) * BlendScale / (centre - min) + 1
                                 : (value - centre) * BlendScale / (max - centre) + 1;
        bar.CenterX = R.Left + std::min(roundAway((centre - min) * W / range + 1), W);
    } else {
        factor = (value - min) * BlendScale / range + 1;
    }
    // Values beyond the bounds keep the end colours.
    bar.Color = blend(beginColor_, endColor_, std::clamp(roundAway(factor), 0, BlendScale));
    return bar;
}

// A gauge too narrow to divide by sets nothing.
bool TAGauge::ValueAt(Integer X, double& Value) const {
    double min, max;
    edit_->GaugeRange(min, max);
    const Integer usable = Width() - 2;
    if (max - min <= 0 || usable <= 0) return false;
    Value = X > 0 ? snapped(X * (max - min) / usable + min, incrementGauge_) : min;
    return true;
}

void TAGauge::applyPosition(Integer X) {
    double value;
    if (ValueAt(X, value)) edit_->SetValue(value);
}

void TAGauge::paintAsBar(TCanvas* Canvas, const TRect& R) {
    Canvas->Brush()->SetColor(edit_->Color());
    Canvas->FillRect(R);
    const TBar bar = BarIn(R);
    if (bar.Drawn) {
        Canvas->Brush()->SetColor(bar.Color);
        Canvas->FillRect({bar.Left, R.Top, bar.Right, R.Bottom});
    }
    if (bar.CenterX >= 0) {
        Canvas->Pen()->SetColor(clWindowFrame);
        Canvas->MoveTo(bar.CenterX, R.Top);
        Canvas->LineTo(bar.CenterX, R.Top + R.Height() + 1);
    }
}

// Drawn off screen in a button-face frame and copied in one piece.
void TAGauge::Paint() {
    TBitmap buffer;
    buffer.SetSize(Width(), Height());
    TCanvas* canvas = buffer.Canvas();
    canvas->Brush()->SetColor(clBtnFace);
    canvas->FillRect({0, 0, Width(), Height()});
    paintAsBar(canvas, {1, 1, Width() - 1, Height() - 1});
    Canvas()->Draw(0, 0, &buffer);
}

void TAGauge::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    tracking_ = true;
    applyPosition(X);
    if (edit_->CanFocus()) edit_->SetFocus();
    edit_->SetSelLength(0);
}

void TAGauge::MouseMove(TShiftState Shift, Integer X, Integer Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    if (tracking_) applyPosition(X);
}

void TAGauge::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
    TCustomControl::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft || !tracking_) return;
    tracking_ = false;
    applyPosition(X);
    if (edit_->AutoSelect()) edit_->SelectAll();
}

void TAGauge::Dispatch(TMessage& Message) {
    if (Message.Msg == WM_ERASEBKGND) {
        Message.Result = 1;
        return;
    }
    TCustomControl::Dispatch(Message);
}

// ---- TVellPopupForm ----------------------------------------------------------------------------------

void TVellPopupForm::CreateParams(TCreateParams& Params) {
    TForm::CreateParams(Params);
    Params.Style &= ~(WS_POPUP | WS_CAPTION | WS_THICKFRAME);
    Params.Style |= WS_CHILD;
    Params.ExStyle |= WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_WINDOWEDGE;
}

void TVellPopupForm::CreateWnd() {
    TForm::CreateWnd();
    ::SetParent(WindowHandle(), GetDesktopWindow());
}

// ---- TVellSpinEdit: construction and layout ----------------------------------------------------------

TVellSpinEdit::TVellSpinEdit(TComponent* AOwner) : TCustomEdit(AOwner) {
    buttonPanel_ = new TPanel(this);
    buttonPanel_->SetBevelOuter(bvNone);
    buttonPanel_->SetColor(clBtnFace);
    buttonPanel_->SetParent(this);
    gauge_ = new TAGauge(this, this);
    gauge_->SetParent(this);

    upDown_ = new TUpDown(this);
    upDown_->SetBounds(1, 1, 13, 17);
    upDown_->SetArrowKeys(true);
    upDown_->SetMin(0);
    upDown_->SetMax(100);
    upDown_->SetPosition(1);
    upDown_->SetIncrement(1);
    upDown_->OnClick = TUDClickEvent(this, &TVellSpinEdit::UpDownClick);
    upDown_->SetParent(buttonPanel_);

    button_ = new TSpeedButton(this);
    button_->SetBounds(15, 1, ButtonWidth, button_->Height());
    button_->SetNumGlyphs(1);
    button_->OnMouseDown = TMouseEvent(this, &TVellSpinEdit::SpeedButtonMouseDown);
    button_->OnMouseMove = TMouseMoveEvent(this, &TVellSpinEdit::SpeedButtonMouseMove);
    button_->OnMouseUp = TMouseEvent(this, &TVellSpinEdit::SpeedButtonMouseUp);
    button_->SetParent(buttonPanel_);

    popupForm_ = new TVellPopupForm(this);
    popupForm_->SetFormStyle(fsStayOnTop);
    popupForm_->OnShow = TNotifyEvent(this, &TVellSpinEdit::OnFormShow);
    auto* trackPanel = new TPanel(popupForm_);
    trackPanel->SetBorderWidth(TrackBarPanelBorder);
    trackPanel->SetAlign(alClient);
    trackPanel->SetParent(popupForm_);
    trackBar_ = new TTrackBar(popupForm_);
    trackBarBreadth_ = trackBar_->Height() - TrackBarBreadthTrim;
    trackBar_->SetMin(0);
    trackBar_->SetMax(TrackBarSteps);
    trackBar_->SetFrequency(TrackBarTickFrequency);
    trackBar_->SetTabStop(false);
    trackBar_->SetAlign(alClient);
    trackBar_->SetThumbLength(TrackBarThumbLength);
    trackBar_->SetTickMarks(tmTopLeft);
    trackBar_->SetParent(trackPanel);

    SetButtonHandle();
    SetCursor(crArrow);
    SetValue(0);
    increment_ = 1.0;
}

TVellSpinEdit::~TVellSpinEdit() = default;

void TVellSpinEdit::CreateParams(TCreateParams& Params) {
    TCustomEdit::CreateParams(Params);
    Params.Style |= WS_CLIPCHILDREN;
}

void TVellSpinEdit::CreateWnd() {
    TCustomEdit::CreateWnd();
    SetEditRect();
}

void TVellSpinEdit::SetEditRect() {
    if (!HandleAllocated()) return;
    RECT R{0, 0, ClientWidth(), ClientHeight() + 1};
    SendMessageA(WindowHandle(), EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&R));
}

Integer TVellSpinEdit::GetMinHeight() {
    HDC dc = GetDC(nullptr);
    TEXTMETRICA system{};
    GetTextMetricsA(dc, &system);
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    const Integer smaller = std::min(system.tmHeight, metrics.tmHeight);
    return metrics.tmHeight + smaller / 4 + 4 * GetSystemMetrics(SM_CYBORDER) + 2 + gaugeHeight_ + 1;
}

// The arrows and the button sit at the right end above the gauge.
void TVellSpinEdit::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
    if (buttonPanel_ && upDown_ && button_ && gauge_) {
        const Integer buttonWidth = button_->Visible() ? button_->Width() : 0;
        const Integer panelHeight = AHeight - 3 - gaugeHeight_ - 1;
        buttonPanel_->SetBounds(AWidth - 4 - upDown_->Width() - buttonWidth - 3, 0,
                                upDown_->Width() + buttonWidth + 3, panelHeight);
        upDown_->SetHeight(panelHeight - 2);
        button_->SetHeight(panelHeight - 2);
        gauge_->SetBounds(0, AHeight - 4 - gaugeHeight_ - 1, AWidth - 4, gaugeHeight_ + 2);
    }
    TCustomEdit::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TVellSpinEdit::wmSize(TMessage& Message) {
    TCustomEdit::Dispatch(Message);
    const Integer minHeight = GetMinHeight();
    if (Height() < minHeight)
        SetHeight(minHeight);
    else if (upDown_ && button_)
        SetEditRect();
}

// ---- Value -------------------------------------------------------------------------------------------

bool TVellSpinEdit::textIsNumber() {
    double value;
    return TryStrToFloat(Text(), value);
}

double TVellSpinEdit::Value() {
    const AnsiString text = Text();
    if (text.empty() || text == "-") return 0;
    double value;
    return TryStrToFloat(text, value) ? value : minValue_;
}

double TVellSpinEdit::CheckValue(double V) const {
    if (maxValue_ == minValue_) return V;
    if (V < minValue_) return minValue_;
    if (V > maxValue_) return maxValue_;
    return V;
}

AnsiString TVellSpinEdit::valuePattern() const {
    return "0." + AnsiString(precision_, '0');
}

// A text that does not show a number is replaced even by the value it reads as.
void TVellSpinEdit::SetValue(double V) {
    if (textIsNumber() && Value() == V) return;
    showValue(V);
}

void TVellSpinEdit::showValue(double V) {
    SetText(FormatFloat(valuePattern(), CheckValue(V)));
    gauge_->Invalidate();
    if (popupForm_->Visible()) UpdateFormView();
    if (!loading() && OnChange) OnChange(this);
}

void TVellSpinEdit::SetMinValue(double Value) {
    if (Value == minValue_) return;
    minValue_ = Value;
    if (this->Value() < minValue_) SetValue(minValue_);
    gauge_->Invalidate();
}

void TVellSpinEdit::SetMaxValue(double Value) {
    if (Value == maxValue_) return;
    maxValue_ = Value;
    if (this->Value() > maxValue_) SetValue(maxValue_);
    gauge_->Invalidate();
}

void TVellSpinEdit::SetGaugeMinValue(double Value) {
    if (Value == gaugeMinValue_) return;
    gaugeMinValue_ = Value;
    gauge_->Invalidate();
}

void TVellSpinEdit::SetGaugeMaxValue(double Value) {
    if (Value == gaugeMaxValue_) return;
    gaugeMaxValue_ = Value;
    gauge_->Invalidate();
}

void TVellSpinEdit::GaugeRange(double& Min, double& Max) const {
    const bool ownBounds = gaugeMinValue_ != 0 || gaugeMaxValue_ != 0;
    Min = ownBounds ? gaugeMinValue_ : minValue_;
    Max = ownBounds ? gaugeMaxValue_ : maxValue_;
}

double TVellSpinEdit::GaugeAroundCenter() const {
    return gauge_->GaugeAroundCenter();
}
void TVellSpinEdit::SetGaugeAroundCenter(double Value) {
    gauge_->SetGaugeAroundCenter(Value);
}
double TVellSpinEdit::IncrementGauge() const {
    return gauge_->IncrementGauge();
}
void TVellSpinEdit::SetIncrementGauge(double Value) {
    gauge_->SetIncrementGauge(Value);
}
TColor TVellSpinEdit::GaugeBeginColor() const {
    return gauge_->GaugeBeginColor();
}
void TVellSpinEdit::SetGaugeBeginColor(TColor Value) {
    gauge_->SetGaugeBeginColor(Value);
}
TColor TVellSpinEdit::GaugeEndColor() const {
    return gauge_->GaugeEndColor();
}
void TVellSpinEdit::SetGaugeEndColor(TColor Value) {
    gauge_->SetGaugeEndColor(Value);
}

void TVellSpinEdit::SetPrecision(Integer Value) {
    Value = std::clamp(Value, MinPrecision, MaxPrecision);
    if (Value == precision_) return;
    precision_ = Value;
    SetText(FormatFloat(valuePattern(), this->Value()));
}

void TVellSpinEdit::SetGaugeHeight(Integer Value) {
    if (Value == gaugeHeight_) return;
    gaugeHeight_ = Value;
    SetBounds(Left(), Top(), Width(), Height());
}

void TVellSpinEdit::SetTrackBarWidth(Integer Value) {
    trackBarWidth_ = std::clamp(Value, MinTrackBarWidth, MaxTrackBarWidth);
}

void TVellSpinEdit::SetTrackBarOrientation(TTrackBarOrientation Value) {
    if (Value == trackBarOrientation_) return;
    trackBarOrientation_ = Value;
    SetButtonHandle();
}

void TVellSpinEdit::SetTrackBarEnabled(bool Value) {
    if (Value == trackBarEnabled_) return;
    trackBarEnabled_ = Value;
    button_->SetVisible(Value);
    SetBounds(Left(), Top(), Width(), Height());
    SetEditRect();
    Invalidate();
}

void TVellSpinEdit::SetButtonHandle() {
    const bool horizontal = trackBarOrientation_ == trHorizontal;
    trackBar_->SetOrientation(trackBarOrientation_);
    TBitmap glyph;
    glyph.LoadFromResourceName(HInstance(), horizontal ? "DropDown" : "DropLeft");
    button_->SetGlyph(&glyph);
    if (horizontal)
        popupForm_->SetBounds(popupForm_->Left(), popupForm_->Top(), trackBarWidth_, trackBarBreadth_);
    else
        popupForm_->SetBounds(popupForm_->Left(), popupForm_->Top(), trackBarBreadth_, trackBarWidth_);
}

// ---- Arrows and keys ---------------------------------------------------------------------------------

void TVellSpinEdit::UpDownClick(TObject*, TUDBtnType Button) {
    const double value = Value();
    if (Button == btNext) {
        if (maxValue_ - increment_ > value)
            SetValue(value + increment_);
        else
            SetValue(wrap_ ? minValue_ : maxValue_);
    } else {
        if (minValue_ + increment_ < value)
            SetValue(value - increment_);
        else
            SetValue(wrap_ ? maxValue_ : minValue_);
    }
    if (HandleAllocated()) PostMessageA(WindowHandle(), ResetUpDownMessage, 0, 0);
    selectAllUnlessPressed();
    gauge_->Invalidate();
}

void TVellSpinEdit::selectAllUnlessPressed() {
    if (AutoSelect() && GetKeyState(VK_LBUTTON) >= 0) SelectAll();
}

void TVellSpinEdit::KeyDown(Word& Key, TShiftState Shift) {
    if (Key == VK_UP || Key == VK_DOWN) {
        UpDownClick(upDown_, Key == VK_UP ? btNext : btPrev);
        Key = 0;
    }
    TCustomEdit::KeyDown(Key, Shift);
}

void TVellSpinEdit::Change() {
    gauge_->Invalidate();
    if (!loading() && OnChange) OnChange(this);
}

// Leaving the field clamps the value and shows a text that was not a number as the value it read as.
void TVellSpinEdit::cmExit(TMessage& Message) {
    TCustomEdit::Dispatch(Message);
    const double value = Value();
    const double checked = CheckValue(value);
    if (checked != value || !textIsNumber()) showValue(checked);
}

void TVellSpinEdit::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CM_EXIT:
        cmExit(Message);
        break;
    case WM_SIZE:
        wmSize(Message);
        break;
    case WM_PASTE:
    case WM_CUT:
        if (editorEnabled_ && !ReadOnly()) TCustomEdit::Dispatch(Message);
        break;
    case ResetUpDownMessage:
        upDown_->SetPosition(UpDownMiddle);
        break;
    default:
        TCustomEdit::Dispatch(Message);
    }
}

// ---- The drop-down track bar -------------------------------------------------------------------------

void TVellSpinEdit::SpeedButtonMouseDown(TObject*, TMouseButton Button, TShiftState, Integer X, Integer Y) {
    if (Button != mbLeft) return;
    pressPoint_ = button_->ClientToScreen({X, Y});
    const TPoint origin = button_->ClientToScreen({0, 0});
    const Integer left = trackBarOrientation_ == trHorizontal ? origin.x : origin.x + button_->Width();
    popupForm_->SetBounds(left, origin.y + button_->Height(), popupForm_->Width(), popupForm_->Height());
    UpdateFormView();
}

void TVellSpinEdit::UpdateFormView() {
    const double range = rangeOrDefault(minValue_, maxValue_);
    Integer position = std::min(static_cast<Integer>(std::trunc((Value() - minValue_) * TrackBarSteps / range)),
                                TrackBarSteps);
    if (trackBarOrientation_ == trVertical) position = trackBar_->Max() - position;
    trackBar_->SetPosition(position);
    if (trackBarOrientation_ == trHorizontal)
        popupForm_->SetWidth(trackBarWidth_);
    else
        popupForm_->SetHeight(trackBarWidth_);
    if (CanFocus()) SetFocus();
    SetSelLength(0);
    popupForm_->Show();
}

// The form moves so that the thumb lies under the pointer.
void TVellSpinEdit::OnFormShow(TObject*) {
    RECT thumb{};
    SendMessageA(trackBar_->Handle(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    if (trackBarOrientation_ == trHorizontal)
        popupForm_->SetLeft(pressPoint_.x - thumb.Left - thumb.Width() / 2 - 4);
    else
        popupForm_->SetTop(pressPoint_.y - thumb.Top - thumb.Height() / 2 - 4);
    button_->SetGroupIndex(HeldButtonGroup);
    button_->SetAllowAllUp(true);
    button_->SetDown(true);
}

// The pointer's place along the channel sets the value; a channel no longer
// than the thumb sets nothing.
void TVellSpinEdit::SpeedButtonMouseMove(TObject*, TShiftState, Integer X, Integer Y) {
    if (!popupForm_->Visible()) return;
    RECT channel{}, thumb{};
    SendMessageA(trackBar_->Handle(), TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    SendMessageA(trackBar_->Handle(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    const TPoint origin = trackBar_->ClientToScreen({0, 0});
    const TPoint pointer = button_->ClientToScreen({X, Y});
    Integer length, offset;
    if (trackBarOrientation_ == trHorizontal) {
        length = channel.Width() - thumb.Width();
        offset = pointer.x - (origin.x + channel.Left + thumb.Width() / 2);
    } else {
        // A vertical track bar reports its channel turned on its side.
        channel = {channel.Top, channel.Left, channel.Bottom, channel.Right};
        length = channel.Height() - thumb.Height();
        offset = length - (pointer.y - (origin.y + channel.Top + thumb.Height() / 2));
    }
    if (length <= 0) return;
    offset = std::clamp(offset, 0, length);
    SetValue(snapped(offset * (maxValue_ - minValue_) / length + minValue_, IncrementGauge()));
}

void TVellSpinEdit::SpeedButtonMouseUp(TObject*, TMouseButton Button, TShiftState, Integer, Integer) {
    if (Button != mbLeft) return;
    popupForm_->Hide();
    button_->SetDown(false);
    button_->SetGroupIndex(0);
    selectAllUnlessPressed();
}

// ---- Published properties ----------------------------------------------------------------------------

namespace {

const TClass vellSpinEditClass = DescribeClass<TVellSpinEdit, TCustomEdit>([](TClassBuilder<TVellSpinEdit>& c) {
    using E = TVellSpinEdit;
    c.Property("AutoSelect", &E::AutoSelect, &E::SetAutoSelect).Default(true);
    c.Property("EditorEnabled", &E::EditorEnabled, &E::SetEditorEnabled).Default(true);
    c.Property("GaugeAroundCenter", &E::GaugeAroundCenter, &E::SetGaugeAroundCenter);
    c.Property("GaugeBeginColor", &E::GaugeBeginColor, &E::SetGaugeBeginColor).Type(TypeInfoColor());
    c.Property("GaugeEndColor", &E::GaugeEndColor, &E::SetGaugeEndColor).Type(TypeInfoColor());
    c.Property("GaugeHeight", &E::GaugeHeight, &E::SetGaugeHeight).Default(5);
    c.Property("GaugeMaxValue", &E::GaugeMaxValue, &E::SetGaugeMaxValue);
    c.Property("GaugeMinValue", &E::GaugeMinValue, &E::SetGaugeMinValue);
    c.Property("Increment", &E::Increment, &E::SetIncrement);
    c.Property("IncrementGauge", &E::IncrementGauge, &E::SetIncrementGauge);
    c.Property("MaxValue", &E::MaxValue, &E::SetMaxValue);
    c.Property("MinValue", &E::MinValue, &E::SetMinValue);
    c.Property("Precision", &E::Precision, &E::SetPrecision).Default(2);
    c.Property("ReadOnly", &E::ReadOnly, &E::SetReadOnly).Default(false);
    c.Property("TrackBarEnabled", &E::TrackBarEnabled, &E::SetTrackBarEnabled).Default(true);
    c.Property("TrackBarOrientation", &E::TrackBarOrientation, &E::SetTrackBarOrientation).Default(trHorizontal);
    c.Property("TrackBarWidth", &E::TrackBarWidth, &E::SetTrackBarWidth).Default(150);
    c.Property("Value", &E::Value, &E::SetValue);
    c.Property("OnChange", &E::OnChange, &E::OnChange);
});

struct RegisterVellSpinEdit {
    RegisterVellSpinEdit() { RegisterClass(vellSpinEditClass); }
} registerVellSpinEdit;

} // namespace
