// The slider: a focusable, bitmap-drawn track bar. A ruler picture is
// stretched to the control's length (its two ends kept), a thumb picture
// moves along it, tick marks and a focus rectangle are optional. The value
// follows thumb drags, presses on the ruler (repeating while held) and the
// arrow, Home and End keys. TRxSlider publishes TRxCustomSlider.
#pragma once

#include "platform/vcl/Controls.h"
#include "platform/vcl/ExtCtrls.h"

#include <array>
#include <memory>

enum TSliderOrientation { soHorizontal, soVertical };
enum TSliderOption { soShowFocus, soShowPoints, soSmooth, soRulerOpaque, soThumbOpaque };
using TSliderOptions = TSet<TSliderOption>;
// The four pictures: thumb and ruler of each orientation.
enum TSliderImage { siHThumb, siHRuler, siVThumb, siVRuler };
using TSliderImages = TSet<TSliderImage>;
using TNumThumbStates = Byte;

class TRxCustomSlider : public TCustomControl {
public:
    explicit TRxCustomSlider(TComponent* AOwner);
    ~TRxCustomSlider() override;

    Integer Value() const { return value_; }
    // Clamped to MinValue .. MaxValue; the thumb moves there.
    void SetValue(Integer Value);
    Integer MinValue() const { return minValue_; }
    void SetMinValue(Integer Value);
    Integer MaxValue() const { return maxValue_; }
    void SetMaxValue(Integer Value);
    Integer Increment() const { return increment_; }
    // Exception "Value must be between 1 and %d" outside 1 .. MaxValue - MinValue.
    void SetIncrement(Integer Value);
    TSliderOrientation Orientation() const { return orientation_; }
    void SetOrientation(TSliderOrientation Value);
    TSliderOptions Options() const { return options_; }
    void SetOptions(TSliderOptions Value);
    TBevelCut BevelStyle() const { return bevelStyle_; }
    void SetBevelStyle(TBevelCut Value);
    Integer EdgeSize() const { return edgeSize_; }
    void SetEdgeSize(Integer Value);
    TNumThumbStates NumThumbStates() const { return numThumbStates_; }
    void SetNumThumbStates(TNumThumbStates Value);
    TBitmap* Image(TSliderImage Index) const { return images_[Index].get(); }
    // Null brings the default picture back and drops the matching opaque option.
    void SetImage(TSliderImage Index, TBitmap* Value);
    TBitmap* ImageHThumb() const { return Image(siHThumb); }
    void SetImageHThumb(TBitmap* Value) { SetImage(siHThumb, Value); }
    TBitmap* ImageHRuler() const { return Image(siHRuler); }
    void SetImageHRuler(TBitmap* Value) { SetImage(siHRuler, Value); }
    TBitmap* ImageVThumb() const { return Image(siVThumb); }
    void SetImageVThumb(TBitmap* Value) { SetImage(siVThumb, Value); }
    TBitmap* ImageVRuler() const { return Image(siVRuler); }
    void SetImageVRuler(TBitmap* Value) { SetImage(siVRuler, Value); }
    // Which pictures the user gave (streamed as "UserImages").
    TSliderImages UserImages() const { return userImages_; }
    bool IsHThumbStored() const { return userImages_.Contains(siHThumb); }
    bool IsHRulerStored() const { return userImages_.Contains(siHRuler); }
    bool IsVThumbStored() const { return userImages_.Contains(siVThumb); }
    bool IsVRulerStored() const { return userImages_.Contains(siVRuler); }
    TRect ThumbRect() const { return thumbRect_; }
    TPoint RulerOrigin() const { return rulerOrigin_; }
    TBitmap* Ruler() const { return ruler_.get(); }
    // The thumb's offset along the axis for a value, and the value of an offset.
    Integer GetOffsetByValue(Integer Value);
    Integer GetValueByOffset(Integer Offset);

    void DefineProperties(TFiler* Filer) override;
    void Dispatch(TMessage& Message) override;

    TNotifyEvent OnChange;
    TNotifyEvent OnChanged;
    TNotifyEvent OnDrawPoints;

protected:
    virtual bool CanModify() { return true; }
    virtual TRect GetSliderRect();
    virtual Integer GetSliderValue() { return value_; }
    virtual void AdjustElements();
    virtual void RangeChanged() {}
    virtual void ThumbMouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
    virtual void ThumbMouseMove(TShiftState Shift, Integer X, Integer Y);
    virtual void ThumbMouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
    virtual void DrawPoints(Integer PointsStep, Integer PointsHeight, Integer ExtremePointsHeight);
    virtual void Change();
    virtual void Changed();
    void Paint() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;

private:
    // What a key or a press on the ruler does.
    enum TJumpMode : Byte { jmNone, jmHome, jmEnd, jmNext, jmPrior };

    void ImageChanged(TObject* Sender);
    void loadDefaultImage(TSliderImage Index);
    void stretchRuler();
    Integer thumbLength() const;
    Integer rulerLength() const;
    Integer axisStart();
    Integer range() const { return maxValue_ - minValue_; }
    void setRange(Integer Min, Integer Max);
    void placeThumbAt(Integer Offset);
    void moveThumb(Integer Offset);
    void invalidateThumb();
    void jump(TJumpMode Mode);
    TJumpMode sideOfThumb(TPoint P) const;
    void trackStep();
    void stopTracking();
    void wmPaint(TMessage& Message);
    void readUserImages(TStream* Stream);
    void writeUserImages(TStream* Stream);

    TSliderImages userImages_;
    std::array<std::unique_ptr<TBitmap>, 4> images_;
    Integer edgeSize_ = 2;
    std::unique_ptr<TBitmap> ruler_;
    bool paintingToMemory_ = false;
    TPoint rulerOrigin_;
    TRect thumbRect_;
    bool thumbDown_ = false;
    TNumThumbStates numThumbStates_ = 2;
    TRect pointsRect_;
    TSliderOrientation orientation_ = soHorizontal;
    TSliderOptions options_{soShowFocus, soShowPoints, soSmooth};
    TBevelCut bevelStyle_ = bvNone;
    Integer bevelWidth_ = 1;
    Integer minValue_ = 0;
    Integer maxValue_ = 100;
    Integer increment_ = 10;
    Integer value_ = 0;
    Integer hitOffset_ = 0;
    bool focused_ = false;
    bool sliding_ = false;
    bool tracking_ = false;
    bool timerActive_ = false;
    TPoint mousePos_;
    TJumpMode startJump_ = jmNone;
};

class TRxSlider : public TRxCustomSlider {
public:
    using TRxCustomSlider::TRxCustomSlider;
};
