// The floating-point spin edit: an edit field for a value between MinValue
// and MaxValue, shown with Precision decimals, with up and down arrows, a
// small button that drops down a track bar while it is dragged, and a bar
// gauge along its bottom edge that a press or drag also sets
// (TVellSpinEdit, its gauge TAGauge and the track bar's form TVellPopupForm).
#pragma once

#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/EditCtrls.h"
#include "platform/vcl/Forms.h"

class TPanel;
class TSpeedButton;
class TVellSpinEdit;

// The thin bar along the edit's bottom edge: as long as the value is far
// into its range, in a colour blended from GaugeBeginColor to GaugeEndColor.
class TAGauge : public TCustomControl {
public:
    TAGauge(TComponent* AOwner, TVellSpinEdit* Edit);
    void Dispatch(TMessage& Message) override;

    TColor GaugeBeginColor() const { return beginColor_; }
    void SetGaugeBeginColor(TColor Value);
    TColor GaugeEndColor() const { return endColor_; }
    void SetGaugeEndColor(TColor Value);
    // The step that presses and drags snap the value to; 0 for none.
    double IncrementGauge() const { return incrementGauge_; }
    void SetIncrementGauge(double Value) { incrementGauge_ = Value; }
    // A value the bar grows from in both directions, when it lies in the range.
    double GaugeAroundCenter() const { return aroundCenter_; }
    void SetGaugeAroundCenter(double Value);

    // What the bar looks like inside R: its span, colour and centre mark.
    struct TBar {
        bool Drawn = false;
        Integer Left = 0;
        Integer Right = 0;
        TColor Color = clBlack;
        // The x of the centre mark, or -1 without one.
        Integer CenterX = -1;
    };
    TBar BarIn(const TRect& R) const;
    // The value a press at X sets; false when the gauge or its range is empty.
    bool ValueAt(Integer X, double& Value) const;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;

private:
    void applyPosition(Integer X);
    void paintAsBar(TCanvas* Canvas, const TRect& R);

    TVellSpinEdit* edit_;
    TColor beginColor_;
    TColor endColor_ = 0x0000FF;
    double incrementGauge_ = 0;
    double aroundCenter_ = 0;
    // A left press on the gauge is being followed.
    bool tracking_ = false;
};

// The borderless form the track bar drops down in, above every window.
class TVellPopupForm : public TForm {
public:
    using TForm::TForm;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
};

class TVellSpinEdit : public TCustomEdit {
public:
    explicit TVellSpinEdit(TComponent* AOwner);
    ~TVellSpinEdit() override;
    void Dispatch(TMessage& Message) override;
    void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;

    // A text that is not a number reads as MinValue, an empty one or "-" as
    // 0; reading never changes the text.
    double Value();
    // Clamped, and shown with Precision decimals.
    void SetValue(double V);
    // V within [MinValue, MaxValue], or V itself when the two are equal.
    double CheckValue(double V) const;
    double MinValue() const { return minValue_; }
    void SetMinValue(double Value);
    double MaxValue() const { return maxValue_; }
    void SetMaxValue(double Value);
    // Both 0: the gauge spans MinValue to MaxValue.
    double GaugeMinValue() const { return gaugeMinValue_; }
    void SetGaugeMinValue(double Value);
    double GaugeMaxValue() const { return gaugeMaxValue_; }
    void SetGaugeMaxValue(double Value);
    double GaugeAroundCenter() const;
    void SetGaugeAroundCenter(double Value);
    double Increment() const { return increment_; }
    void SetIncrement(double Value) { increment_ = Value; }
    double IncrementGauge() const;
    void SetIncrementGauge(double Value);
    TColor GaugeBeginColor() const;
    void SetGaugeBeginColor(TColor Value);
    TColor GaugeEndColor() const;
    void SetGaugeEndColor(TColor Value);
    // Decimals shown, 0 to 6.
    Integer Precision() const { return precision_; }
    void SetPrecision(Integer Value);
    Integer GaugeHeight() const { return gaugeHeight_; }
    void SetGaugeHeight(Integer Value);
    // The dropped-down track bar's length, 50 to 300.
    Integer TrackBarWidth() const { return trackBarWidth_; }
    void SetTrackBarWidth(Integer Value);
    TTrackBarOrientation TrackBarOrientation() const { return trackBarOrientation_; }
    void SetTrackBarOrientation(TTrackBarOrientation Value);
    // Whether the drop-down button is there.
    bool TrackBarEnabled() const { return trackBarEnabled_; }
    void SetTrackBarEnabled(bool Value);
    // Whether pasting and cutting reach the text.
    bool EditorEnabled() const { return editorEnabled_; }
    void SetEditorEnabled(bool Value) { editorEnabled_ = Value; }

    // The height the font and the gauge need.
    Integer GetMinHeight();
    TAGauge* Gauge() const { return gauge_; }
    TUpDown* UpDown() const { return upDown_; }
    TSpeedButton* Button() const { return button_; }
    TTrackBar* TrackBar() const { return trackBar_; }
    TVellPopupForm* PopupForm() const { return popupForm_; }
    // The value range the gauge shows.
    void GaugeRange(double& Min, double& Max) const;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void Change() override;
    void KeyDown(Word& Key, TShiftState Shift) override;

private:
    friend class TAGauge;
    void UpDownClick(TObject* Sender, TUDBtnType Button);
    void SpeedButtonMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
    void SpeedButtonMouseMove(TObject* Sender, TShiftState Shift, Integer X, Integer Y);
    void SpeedButtonMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
    void OnFormShow(TObject* Sender);
    void UpdateFormView();
    void SetButtonHandle();
    void SetEditRect();
    // Writes V (clamped) as the text, whatever the text is now.
    void showValue(double V);
    bool textIsNumber();
    AnsiString valuePattern() const;
    void selectAllUnlessPressed();
    bool loading() const { return ComponentState().Contains(csLoading); }
    void cmExit(TMessage& Message);
    void wmSize(TMessage& Message);

    TVellPopupForm* popupForm_ = nullptr;
    TTrackBar* trackBar_ = nullptr;
    TAGauge* gauge_ = nullptr;
    double minValue_ = 0;
    double maxValue_ = 100;
    double gaugeMinValue_ = 0;
    double gaugeMaxValue_ = 0;
    double increment_ = 1;
    bool trackBarEnabled_ = true;
    bool editorEnabled_ = true;
    TTrackBarOrientation trackBarOrientation_ = trHorizontal;
    // The arrows stop at the ends instead of wrapping round.
    bool wrap_ = false;
    Integer precision_ = 2;
    Integer gaugeHeight_ = 5;
    Integer trackBarWidth_ = 150;
    TUpDown* upDown_ = nullptr;
    TSpeedButton* button_ = nullptr;
    TPanel* buttonPanel_ = nullptr;
    TPoint pressPoint_;
    Integer trackBarBreadth_ = 0;
};
