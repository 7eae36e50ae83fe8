// The slider's layout (the stretched ruler, the thumb and the tick area),
// the conversions between values and thumb offsets, its input and its
// double-buffered painting.
#include "rx/RXSlider.h"

#include "platform/core/SysUtils.h"
#include "platform/vcl/Filers.h"
#include "platform/vcl/Forms.h"
#include "platform/win/Bitmaps.h"
#include "platform/win/Blit.h"
#include "platform/win/Cursors.h"
#include "platform/win/Gdi.h"
#include "platform/win/Painting.h"
#include "platform/win/Timers.h"
#include "rx/RXCtrls.h"

#include <cmath>

namespace {

const char* const defaultImageNames[] = {"W95_HTB", "W95_HRL", "W95_VTB", "W95_VRL"};
constexpr Integer DefaultWidth = 150;
constexpr Integer DefaultHeight = 40;
// The ruler starts this far in from the slider's edge.
constexpr Integer Indent = 6;
constexpr Integer RulerPressMargin = 3;
constexpr UINT_PTR TrackTimerId = 1;
constexpr UINT TrackPause = 400;
constexpr Integer TickLength = 3;
constexpr Integer ExtremeTickLength = 5;
constexpr Integer FocusInset = 2;
const char* const IncrementRangeMessage = "Value must be between %d and %d";

Integer nearest(double Value) {
    return static_cast<Integer>(std::nearbyint(Value));
}

TRect shrunk(const TRect& Rect, Integer By) {
    return {Rect.Left + By, Rect.Top + By, Rect.Right - By, Rect.Bottom - By};
}

bool inside(const TRect& Rect, TPoint P) {
    return P.x >= Rect.Left && P.x < Rect.Right && P.y >= Rect.Top && P.y < Rect.Bottom;
}

} // namespace

TRxCustomSlider::TRxCustomSlider(TComponent* AOwner) : TCustomControl(AOwner), ruler_(std::make_unique<TBitmap>()) {
    RegisterRxResources();
    SetControlStyle(TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks});
    SetBounds(Left(), Top(), DefaultWidth, DefaultHeight);
    SetTabStop(true);
    SetControlState(ControlState() + TControlState{csCreating});
    for (Integer index = siHThumb; index <= siVRuler; ++index) {
        images_[index] = std::make_unique<TBitmap>();
        loadDefaultImage(static_cast<TSliderImage>(index));
        images_[index]->OnChange = TNotifyEvent(this, &TRxCustomSlider::ImageChanged);
    }
    AdjustElements();
    SetControlState(ControlState() - TControlState{csCreating});
}

TRxCustomSlider::~TRxCustomSlider() {
    for (auto& image : images_)
        image->OnChange = nullptr;
}

void TRxCustomSlider::loadDefaultImage(TSliderImage Index) {
    images_[Index]->LoadFromResourceName(nullptr, defaultImageNames[Index]);
}

void TRxCustomSlider::ImageChanged(TObject*) {
    if (!ControlState().Contains(csCreating)) AdjustElements();
}

void TRxCustomSlider::SetImage(TSliderImage Index, TBitmap* Value) {
    if (Value) {
        images_[Index]->Assign(Value);
        userImages_.Include(Index);
        return;
    }
    loadDefaultImage(Index);
    userImages_.Exclude(Index);
    if (ComponentState().Contains(csReading)) return;
    options_.Exclude(Index == siHRuler || Index == siVRuler ? soRulerOpaque : soThumbOpaque);
    Invalidate();
}

// ---- Layout --------------------------------------------------------------------------------

TRect TRxCustomSlider::GetSliderRect() {
    const TRect client{0, 0, Width(), Height()};
    return bevelStyle_ == bvNone ? client : shrunk(client, bevelWidth_);
}

Integer TRxCustomSlider::thumbLength() const {
    if (orientation_ == soHorizontal) return images_[siHThumb]->Width() / numThumbStates_;
    return images_[siVThumb]->Height();
}

Integer TRxCustomSlider::rulerLength() const {
    const Integer stretched = orientation_ == soHorizontal ? ruler_->Width() : ruler_->Height();
    return stretched - thumbLength();
}

Integer TRxCustomSlider::axisStart() {
    const TRect slider = GetSliderRect();
    return (orientation_ == soHorizontal ? slider.Left : slider.Top) + Indent;
}

// The ruler picture at the slider's length: its start edge, its middle
// repeated, and its end edge.
void TRxCustomSlider::stretchRuler() {
    const bool horizontal = orientation_ == soHorizontal;
    TBitmap* source = images_[horizontal ? siHRuler : siVRuler].get();
    const TRect slider = GetSliderRect();
    const Integer sourceLength = horizontal ? source->Width() : source->Height();
    const Integer thickness = horizontal ? source->Height() : source->Width();
    const Integer length = Max((horizontal ? slider.Width() : slider.Height()) - 2 * Indent, 0);
    auto stretched = std::make_unique<TBitmap>();
    const Integer middle = sourceLength - 2 * edgeSize_;
    if (middle <= 0) {
        // A picture without a middle cannot repeat: it is drawn as it is.
        stretched->Assign(source);
        ruler_ = std::move(stretched);
        return;
    }
    if (horizontal)
        stretched->SetSize(length, thickness);
    else
        stretched->SetSize(thickness, length);
    const Integer target = length - 2 * edgeSize_;
    const Integer count = target / middle + 1;
    const Integer rest = target % middle;
    auto copyPiece = [&](Integer From, Integer To, Integer At) {
        const TRect piece = horizontal ? TRect{From, 0, To, thickness} : TRect{0, From, thickness, To};
        const Integer size = To - From;
        const TRect place = horizontal ? TRect{At, 0, At + size, thickness} : TRect{0, At, thickness, At + size};
        stretched->Canvas()->CopyRect(place, source->Canvas(), piece);
    };
    for (Integer i = 0; i < count; ++i) {
        if (i == 0)
            copyPiece(0, sourceLength - edgeSize_, 0);
        else if (i < count - 1)
            copyPiece(edgeSize_, edgeSize_ + middle, edgeSize_ + i * middle);
        else
            copyPiece(edgeSize_ + middle - rest, sourceLength, edgeSize_ + i * middle);
    }
    stretched->SetTransparentColor(source->TransparentColor() & 0x00FFFFFF);
    ruler_ = std::move(stretched);
}

void TRxCustomSlider::AdjustElements() {
    const Integer remembered = value_;
    stretchRuler();
    const TRect slider = GetSliderRect();
    const Integer x = slider.Left + Indent;
    const Integer y = slider.Top + Indent;
    const Integer rulerWidth = ruler_->Width();
    const Integer rulerHeight = ruler_->Height();
    if (orientation_ == soHorizontal) {
        const Integer thumbWidth = thumbLength();
        const Integer thumbHeight = images_[siHThumb]->Height();
        const Integer across = Max(thumbHeight, rulerHeight);
        thumbRect_ = {x, y + (across - thumbHeight) / 2, 0, 0};
        rulerOrigin_ = {x, y + (across - rulerHeight) / 2};
        thumbRect_.Right = thumbRect_.Left + thumbWidth;
        thumbRect_.Bottom = thumbRect_.Top + thumbHeight;
        pointsRect_ = {rulerOrigin_.x, y + across + 1, rulerOrigin_.x + rulerWidth, slider.Height() - 1};
    } else {
        const Integer thumbWidth = images_[siVThumb]->Width() / numThumbStates_;
        const Integer thumbHeight = thumbLength();
        const Integer across = Max(thumbWidth, rulerWidth);
        thumbRect_ = {x + (across - thumbWidth) / 2, y, 0, 0};
        rulerOrigin_ = {x + (across - rulerWidth) / 2, y};
        thumbRect_.Right = thumbRect_.Left + thumbWidth;
        thumbRect_.Bottom = thumbRect_.Top + thumbHeight;
        pointsRect_ = {x + across + 1, rulerOrigin_.y, slider.Width() - 1, rulerOrigin_.y + rulerHeight};
    }
    SetValue(remembered);
    Invalidate();
}

// ---- Values and offsets ----------------------------------------------------------------------

// An empty range or a ruler no longer than the thumb puts the thumb at the axis start.
Integer TRxCustomSlider::GetOffsetByValue(Integer Value) {
    const Integer start = axisStart();
    const Integer length = rulerLength();
    Integer along = 0;
    if (range() > 0 && length > 0) along = nearest(static_cast<double>(length) * (Value - minValue_) / range());
    Integer offset = start + along;
    if (orientation_ == soVertical) {
        const TRect slider = GetSliderRect();
        offset = slider.Top + slider.Bottom - offset - thumbLength();
    }
    return Max(offset, start);
}

// ... and reads every offset as MinValue.
Integer TRxCustomSlider::GetValueByOffset(Integer Offset) {
    if (orientation_ == soVertical) Offset = ClientHeight() - Offset - thumbLength();
    const Integer length = rulerLength();
    if (range() <= 0 || length <= 0) return minValue_;
    Integer value = nearest(static_cast<double>(Offset - axisStart()) * range() / length);
    if (!options_.Contains(soSmooth)) value = nearest(static_cast<double>(value) / increment_) * increment_;
    return Min(Max(value, 0) + minValue_, maxValue_);
}

void TRxCustomSlider::invalidateThumb() {
    if (!HandleAllocated()) return;
    const RECT rect = thumbRect_;
    InvalidateRect(Handle(), &rect, !ControlStyle().Contains(csOpaque));
}

void TRxCustomSlider::moveThumb(Integer Offset) {
    invalidateThumb();
    if (orientation_ == soHorizontal) {
        thumbRect_.Right = Offset + thumbRect_.Width();
        thumbRect_.Left = Offset;
    } else {
        thumbRect_.Bottom = Offset + thumbRect_.Height();
        thumbRect_.Top = Offset;
    }
    invalidateThumb();
}

// Moves the thumb to the offset of the nearest value it can show; while
// sliding, that value becomes the slider's.
void TRxCustomSlider::placeThumbAt(Integer Offset) {
    const Integer start = axisStart();
    const Integer end = start + Max(rulerLength(), 0);
    Offset = Min(Max(Offset, start), end);
    const Integer value = GetValueByOffset(Offset);
    moveThumb(Min(Max(GetOffsetByValue(value), start), end));
    if (!sliding_ || value == value_) return;
    value_ = value;
    Change();
}

void TRxCustomSlider::SetValue(Integer Value) {
    Value = Max(minValue_, Min(Value, maxValue_));
    const bool changed = Value != value_;
    value_ = Value;
    moveThumb(GetOffsetByValue(Value));
    if (changed) Change();
}

void TRxCustomSlider::setRange(Integer Min, Integer Max) {
    const bool reading = ComponentState().Contains(csReading);
    if (!reading && Max <= Min) return;
    minValue_ = Min;
    maxValue_ = Max;
    if (!reading && maxValue_ < minValue_ + increment_) increment_ = maxValue_ - minValue_;
    if (options_.Contains(soShowPoints)) Invalidate();
    SetValue(value_);
    RangeChanged();
}

void TRxCustomSlider::SetMinValue(Integer Value) {
    if (Value != minValue_) setRange(Value, maxValue_);
}

void TRxCustomSlider::SetMaxValue(Integer Value) {
    if (Value != maxValue_) setRange(minValue_, Value);
}

void TRxCustomSlider::SetIncrement(Integer Value) {
    if (!ComponentState().Contains(csReading) && (Value < 1 || Value > range()))
        throw Exception(Format(IncrementRangeMessage, {1, range()}));
    if (Value <= 0) return;
    increment_ = Value;
    SetValue(value_);
    Invalidate();
}

void TRxCustomSlider::SetOrientation(TSliderOrientation Value) {
    if (orientation_ == Value) return;
    orientation_ = Value;
    AdjustElements();
    if (!ComponentState().Contains(csLoading)) SetBounds(Left(), Top(), Height(), Width());
}

void TRxCustomSlider::SetOptions(TSliderOptions Value) {
    if (options_ == Value) return;
    options_ = Value;
    Invalidate();
}

void TRxCustomSlider::SetBevelStyle(TBevelCut Value) {
    if (bevelStyle_ == Value) return;
    bevelStyle_ = Value;
    AdjustElements();
    Repaint();
}

void TRxCustomSlider::SetEdgeSize(Integer Value) {
    TBitmap* source = images_[orientation_ == soHorizontal ? siHRuler : siVRuler].get();
    const Integer length = orientation_ == soHorizontal ? source->Width() : source->Height();
    if (length <= 2 * Value || Value == edgeSize_) return;
    edgeSize_ = Value;
    AdjustElements();
}

void TRxCustomSlider::SetNumThumbStates(TNumThumbStates Value) {
    if (numThumbStates_ == Value || Value < 1 || Value > 2) return;
    numThumbStates_ = Value;
    AdjustElements();
}

void TRxCustomSlider::Change() {
    if (OnChange) OnChange(this);
}

void TRxCustomSlider::Changed() {
    if (OnChanged) OnChanged(this);
}

// ---- Input ---------------------------------------------------------------------------------

void TRxCustomSlider::jump(TJumpMode Mode) {
    switch (Mode) {
    case jmHome:
        SetValue(minValue_);
        break;
    case jmEnd:
        SetValue(maxValue_);
        break;
    case jmNext:
    case jmPrior: {
        const Integer steps = nearest(static_cast<double>(value_) / increment_);
        const Integer target = steps * increment_ + (Mode == jmNext ? increment_ : -increment_);
        const Integer clamped = Max(minValue_, Min(target, maxValue_));
        if (clamped != value_) SetValue(clamped);
        break;
    }
    case jmNone:
        break;
    }
}

void TRxCustomSlider::KeyDown(Word& Key, TShiftState Shift) {
    TJumpMode mode = jmNone;
    if (Shift.Empty()) {
        const bool horizontal = orientation_ == soHorizontal;
        if (Key == VK_HOME) mode = jmHome;
        if (Key == VK_END) mode = jmEnd;
        if ((horizontal && Key == VK_RIGHT) || (!horizontal && Key == VK_UP)) mode = jmNext;
        if ((horizontal && Key == VK_LEFT) || (!horizontal && Key == VK_DOWN)) mode = jmPrior;
    }
    if (mode != jmNone && CanModify()) {
        Key = 0;
        jump(mode);
        Changed();
    }
    TCustomControl::KeyDown(Key, Shift);
}

TRxCustomSlider::TJumpMode TRxCustomSlider::sideOfThumb(TPoint P) const {
    if (orientation_ == soHorizontal) {
        if (P.x < thumbRect_.Left) return jmPrior;
        if (P.x >= thumbRect_.Right) return jmNext;
        return jmNone;
    }
    if (P.y < thumbRect_.Top) return jmNext;
    if (P.y >= thumbRect_.Bottom) return jmPrior;
    return jmNone;
}

void TRxCustomSlider::trackStep() {
    if (sideOfThumb(mousePos_) != startJump_) return;
    jump(startJump_);
    if (timerActive_ || !HandleAllocated()) return;
    SetTimer(Handle(), TrackTimerId, TrackPause, nullptr);
    timerActive_ = true;
}

void TRxCustomSlider::stopTracking() {
    if (!tracking_) return;
    if (timerActive_ && HandleAllocated()) KillTimer(Handle(), TrackTimerId);
    timerActive_ = false;
    tracking_ = false;
    SetMouseCapture(false);
    Changed();
}

void TRxCustomSlider::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || Shift.Contains(ssDouble)) return;
    if (CanFocus()) SetFocus();
    const TPoint point{X, Y};
    if (inside(thumbRect_, point)) {
        ThumbMouseDown(Button, Shift, X, Y);
        return;
    }
    TRect pressable{rulerOrigin_.x, rulerOrigin_.y, rulerOrigin_.x + ruler_->Width(),
                    rulerOrigin_.y + ruler_->Height()};
    if (orientation_ == soHorizontal) {
        pressable.Top -= RulerPressMargin;
        pressable.Bottom += RulerPressMargin;
    } else {
        pressable.Left -= RulerPressMargin;
        pressable.Right += RulerPressMargin;
    }
    if (!inside(pressable, point) || !CanModify()) return;
    SetMouseCapture(true);
    tracking_ = true;
    mousePos_ = point;
    startJump_ = sideOfThumb(point);
    trackStep();
}

void TRxCustomSlider::MouseMove(TShiftState Shift, Integer X, Integer Y) {
    if (Shift.Contains(ssLeft) && sliding_)
        ThumbMouseMove(Shift, X, Y);
    else if (tracking_)
        mousePos_ = {X, Y};
    TCustomControl::MouseMove(Shift, X, Y);
}

void TRxCustomSlider::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
    stopTracking();
    if (sliding_) ThumbMouseUp(Button, Shift, X, Y);
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TRxCustomSlider::ThumbMouseDown(TMouseButton Button, TShiftState, Integer X, Integer Y) {
    if (CanFocus()) SetFocus();
    if (Button != mbLeft || !CanModify()) return;
    sliding_ = true;
    thumbDown_ = true;
    hitOffset_ = orientation_ == soHorizontal ? X - thumbRect_.Left : Y - thumbRect_.Top;
    invalidateThumb();
    Update();
}

void TRxCustomSlider::ThumbMouseMove(TShiftState Shift, Integer X, Integer Y) {
    if (!Shift.Contains(ssLeft) || !CanModify()) return;
    placeThumbAt((orientation_ == soHorizontal ? X : Y) - hitOffset_);
}

void TRxCustomSlider::ThumbMouseUp(TMouseButton Button, TShiftState, Integer, Integer) {
    if (Button != mbLeft) return;
    sliding_ = false;
    thumbDown_ = false;
    invalidateThumb();
    Update();
    if (CanModify()) Changed();
}

// ---- Painting ------------------------------------------------------------------------------

void TRxCustomSlider::DrawPoints(Integer PointsStep, Integer PointsHeight, Integer ExtremePointsHeight) {
    const Integer length = rulerLength();
    if (PointsStep <= 0 || range() <= 0 || length <= 0) return;
    TCanvas* canvas = Canvas();
    canvas->Pen()->SetColor(clWindowText);
    Integer multiplier = 1;
    while (true) {
        const Integer count = nearest(static_cast<double>(range()) / (multiplier * PointsStep));
        const Integer spacing = count < 1 ? length : length / count;
        if (spacing >= 4 || spacing >= length) break;
        ++multiplier;
    }
    const Integer ticks = nearest(static_cast<double>(range()) / (multiplier * PointsStep)) + 1;
    const Integer half = thumbLength() / 2;
    for (Integer i = 0; i < ticks; ++i) {
        const bool last = i == ticks - 1;
        const Integer value = last ? maxValue_ : minValue_ + i * multiplier * PointsStep;
        const Integer tick = i == 0 || last ? ExtremePointsHeight : PointsHeight;
        const Integer offset = GetOffsetByValue(value) + half;
        if (orientation_ == soHorizontal) {
            canvas->MoveTo(offset, pointsRect_.Top);
            canvas->LineTo(offset, pointsRect_.Top + tick);
        } else {
            canvas->MoveTo(pointsRect_.Left, offset);
            canvas->LineTo(pointsRect_.Left + tick, offset);
        }
    }
}

void TRxCustomSlider::Paint() {
    TCanvas* canvas = Canvas();
    TPoint thumbOrigin{thumbRect_.Left, thumbRect_.Top};
    const bool copy = ControlState().Contains(csPaintCopy);
    if (copy) {
        const Integer offset = GetOffsetByValue(GetSliderValue());
        (orientation_ == soHorizontal ? thumbOrigin.x : thumbOrigin.y) = offset;
    }
    TRect client{0, 0, Width(), Height()};
    if (bevelStyle_ != bvNone) {
        const bool lowered = bevelStyle_ == bvLowered;
        Frame3D(canvas, client, lowered ? clBtnShadow : clBtnHighlight, lowered ? clBtnHighlight : clBtnShadow,
                bevelWidth_);
    }
    if (ControlStyle().Contains(csOpaque)) {
        canvas->Brush()->SetColor(Color());
        canvas->Brush()->SetStyle(bsSolid);
        canvas->FillRect(client);
    }
    if (!ruler_->Empty() && ruler_->Width() > 0 && ruler_->Height() > 0)
        DrawTransparentBitmap(canvas, rulerOrigin_.x, rulerOrigin_.y, ruler_.get(),
                              options_.Contains(soRulerOpaque) ? clNone : ruler_->TransparentColor() & 0x00FFFFFF);
    if (options_.Contains(soShowFocus) && focused_ && !ComponentState().Contains(csDesigning))
        canvas->DrawFocusRect(shrunk(GetSliderRect(), FocusInset));
    if (options_.Contains(soShowPoints)) {
        if (OnDrawPoints)
            OnDrawPoints(this);
        else
            DrawPoints(increment_, TickLength, ExtremeTickLength);
    }
    TBitmap* thumb = images_[orientation_ == soHorizontal ? siHThumb : siVThumb].get();
    const Integer stateWidth = thumb->Width() / numThumbStates_;
    const bool second = numThumbStates_ > 1 && ((!copy && thumbDown_) || !Enabled());
    const Integer left = second ? stateWidth : 0;
    DrawTransparentBitmapRect(canvas, thumbOrigin.x, thumbOrigin.y, stateWidth, thumb->Height(), thumb,
                              {left, 0, left + stateWidth, thumb->Height()},
                              options_.Contains(soThumbOpaque) ? clNone : thumb->TransparentColor() & 0x00FFFFFF);
}

// Painted into memory first, then copied in one go.
void TRxCustomSlider::wmPaint(TMessage& Message) {
    if (paintingToMemory_) {
        TCustomControl::Dispatch(Message);
        return;
    }
    const TRect client = ClientRect();
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, Max(client.Width(), 1), Max(client.Height(), 1));
    ReleaseDC(nullptr, screen);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    Canvas()->Lock();
    auto release = [&] {
        paintingToMemory_ = false;
        Canvas()->Unlock();
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
    };
    try {
        Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), reinterpret_cast<LPARAM>(memory));
        paintingToMemory_ = true;
        TMessage inner{WM_PAINT, reinterpret_cast<WPARAM>(memory), 0, 0};
        TCustomControl::Dispatch(inner);
        paintingToMemory_ = false;
        HDC target = reinterpret_cast<HDC>(Message.WParam);
        PAINTSTRUCT paint;
        if (!target) target = BeginPaint(Handle(), &paint);
        BitBlt(target, 0, 0, client.Width(), client.Height(), memory, 0, 0, SRCCOPY);
        if (!Message.WParam) EndPaint(Handle(), &paint);
    } catch (...) {
        release();
        throw;
    }
    release();
}

// ---- Messages ------------------------------------------------------------------------------

void TRxCustomSlider::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_GETDLGCODE:
        Message.Result = DLGC_WANTARROWS;
        break;
    case WM_SIZE:
        TCustomControl::Dispatch(Message);
        if (!ComponentState().Contains(csReading)) AdjustElements();
        break;
    case WM_PAINT:
        wmPaint(Message);
        break;
    case WM_TIMER:
        if (Message.WParam == TrackTimerId && tracking_)
            trackStep();
        else
            TCustomControl::Dispatch(Message);
        break;
    case WM_SETCURSOR: {
        TPoint cursor = ScreenToClient(Mouse->CursorPos());
        if (!ComponentState().Contains(csDesigning) && inside(thumbRect_, cursor)) {
            ::SetCursor(Screen->Cursors(crHand));
            Message.Result = 1;
        } else {
            TCustomControl::Dispatch(Message);
        }
        break;
    }
    case CM_ENABLEDCHANGED:
        TCustomControl::Dispatch(Message);
        invalidateThumb();
        break;
    case CM_FOCUSCHANGED: {
        TCustomControl::Dispatch(Message);
        const bool focused = reinterpret_cast<TControl*>(Message.LParam) == this;
        if (focused == focused_) break;
        focused_ = focused;
        if (options_.Contains(soShowFocus)) Invalidate();
        break;
    }
    default:
        TCustomControl::Dispatch(Message);
    }
}

// ---- Streaming -----------------------------------------------------------------------------

void TRxCustomSlider::readUserImages(TStream* Stream) {
    Byte bits = 0;
    Stream->ReadBuffer(&bits, 1);
    userImages_ = TSliderImages::FromBits(bits);
}

void TRxCustomSlider::writeUserImages(TStream* Stream) {
    const auto bits = static_cast<Byte>(userImages_.Bits());
    Stream->WriteBuffer(&bits, 1);
}

void TRxCustomSlider::DefineProperties(TFiler* Filer) {
    TCustomControl::DefineProperties(Filer);
    bool hasData = !userImages_.Empty();
    if (auto* ancestor = dynamic_cast<TRxCustomSlider*>(Filer->Ancestor()))
        hasData = ancestor->userImages_ != userImages_;
    Filer->DefineBinaryProperty("UserImages", TStreamProc(this, &TRxCustomSlider::readUserImages),
                                TStreamProc(this, &TRxCustomSlider::writeUserImages), hasData);
}

namespace {

const TTypeInfo* const orientationType =
    DefineEnum<TSliderOrientation>("TSliderOrientation", {"soHorizontal", "soVertical"});
const TTypeInfo* const optionType = DefineEnum<TSliderOption>(
    "TSliderOption", {"soShowFocus", "soShowPoints", "soSmooth", "soRulerOpaque", "soThumbOpaque"});

const TClass customSliderClass = DescribeClass<TRxCustomSlider, TCustomControl>();

const TClass sliderClass = DescribeClass<TRxSlider, TRxCustomSlider>([](TClassBuilder<TRxSlider>& c) {
    using T = TRxSlider;
    c.Property("BevelStyle", &T::BevelStyle, &T::SetBevelStyle).Default(bvNone);
    c.Property("ImageHThumb", &T::ImageHThumb, &T::SetImageHThumb).Stored(&T::IsHThumbStored);
    c.Property("ImageHRuler", &T::ImageHRuler, &T::SetImageHRuler).Stored(&T::IsHRulerStored);
    c.Property("ImageVThumb", &T::ImageVThumb, &T::SetImageVThumb).Stored(&T::IsVThumbStored);
    c.Property("ImageVRuler", &T::ImageVRuler, &T::SetImageVRuler).Stored(&T::IsVRulerStored);
    c.Property("Increment", &T::Increment, &T::SetIncrement).Default(10);
    c.Property("MinValue", &T::MinValue, &T::SetMinValue).Default(0);
    c.Property("MaxValue", &T::MaxValue, &T::SetMaxValue).Default(100);
    c.Property("NumThumbStates", &T::NumThumbStates, &T::SetNumThumbStates).Default(TNumThumbStates{2});
    c.Property("Orientation", &T::Orientation, &T::SetOrientation).Default(soHorizontal);
    c.Property("EdgeSize", &T::EdgeSize, &T::SetEdgeSize).Default(2);
    c.Property("Options", &T::Options, &T::SetOptions)
        .Default(TSliderOptions{soShowFocus, soShowPoints, soSmooth});
    c.Property("ParentColor", &T::ParentColor, &T::SetParentColor).Default(true);
    c.Property("TabStop", &T::TabStop, &T::SetTabStop).Default(true);
    c.Property("Value", &T::Value, &T::SetValue).Default(0);
    c.Property("OnChange", &T::OnChange, &T::OnChange);
    c.Property("OnChanged", &T::OnChanged, &T::OnChanged);
    c.Property("OnDrawPoints", &T::OnDrawPoints, &T::OnDrawPoints);
});

struct RegisterSliderClasses {
    RegisterSliderClasses() { RegisterClasses({ClassOf<TRxSlider>()}); }
} registerSliderClasses;

} // namespace
