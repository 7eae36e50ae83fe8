// Numeric spin edits: TRxSpinButton (a square button split along its
// diagonal into an up and a down half, repeating while held), TRxUpDown (the
// common up-down control as the other kind of button) and TRxSpinEdit (an
// edit whose text is a number that the buttons and the arrow keys step by
// Increment between MinValue and MaxValue).
#pragma once

#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/EditCtrls.h"

#include <memory>

class TTimer;

enum TSpinButtonState { sbNotDown, sbTopDown, sbBottomDown };

class TRxSpinButton : public TGraphicControl {
public:
    explicit TRxSpinButton(TComponent* AOwner);
    ~TRxSpinButton() override;

    TBitmap* UpGlyph() const { return upGlyph_.get(); }
    // Null reloads the program's arrow picture.
    void SetUpGlyph(TBitmap* Value);
    TBitmap* DownGlyph() const { return downGlyph_.get(); }
    void SetDownGlyph(TBitmap* Value);
    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* Value);
    TSpinButtonState State() const { return state_; }

    void Dispatch(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    TNotifyEvent OnTopClick;
    TNotifyEvent OnBottomClick;

protected:
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
    void TopClick();
    void BottomClick();

private:
    void GlyphChanged(TObject* Sender);
    void TimerExpired(TObject* Sender);
    void DrawAllBitmap();
    void DrawBitmap(TBitmap* Bitmap, TSpinButtonState ForState);
    TSpinButtonState halfAt(Integer X, Integer Y) const;
    void setState(TSpinButtonState Value);
    void clickHalf(TSpinButtonState Half);

    TSpinButtonState state_ = sbNotDown;
    std::unique_ptr<TBitmap> upGlyph_;
    std::unique_ptr<TBitmap> downGlyph_;
    bool dragging_ = false;
    bool facesStale_ = true;
    std::unique_ptr<TBitmap> upFace_;
    std::unique_ptr<TBitmap> downFace_;
    std::unique_ptr<TBitmap> notDownFace_;
    std::unique_ptr<TTimer> repeatTimer_;
    TSpinButtonState lastState_ = sbNotDown;
    TWinControl* focusControl_ = nullptr;
};

class TRxUpDown : public TCustomUpDown {
public:
    explicit TRxUpDown(TComponent* AOwner);
    ~TRxUpDown() override;
    void Dispatch(TMessage& Message) override;

private:
    void scroll(TMessage& Message);
    bool scrolling_ = false;
};

enum TSpinButtonKind { bkStandard, bkDiagonal };

// The whole (64-bit) and floating values a spin edit holds.
using TSpinValue = long double;

class TRxSpinEdit : public TCustomEdit {
public:
    // Inside the class: the stream reader has a value type of its own.
    enum TValueType { vtInt, vtFloat, vtHex };

    explicit TRxSpinEdit(TComponent* AOwner);
    ~TRxSpinEdit() override;

    // The text read by ValueType; text that does not parse reads as MinValue.
    TSpinValue Value();
    // Clamped, then written as the text.
    void SetValue(TSpinValue NewValue);
    TSpinValue MinValue() const { return minValue_; }
    void SetMinValue(TSpinValue Value) { minValue_ = Value; }
    TSpinValue MaxValue() const { return maxValue_; }
    void SetMaxValue(TSpinValue Value) { maxValue_ = Value; }
    TSpinValue Increment() const { return increment_; }
    void SetIncrement(TSpinValue Value) { increment_ = Value; }
    Byte Decimal() const { return decimal_; }
    void SetDecimal(Byte Value);
    TValueType ValueType() const { return valueType_; }
    void SetValueType(TValueType Value);
    bool EditorEnabled() const { return editorEnabled_; }
    void SetEditorEnabled(bool Value) { editorEnabled_ = Value; }
    bool ArrowKeys() const { return arrowKeys_; }
    void SetArrowKeys(bool Value);
    TSpinButtonKind ButtonKind() const { return buttonKind_; }
    void SetButtonKind(TSpinButtonKind Value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment Value);
    TRxSpinButton* SpinButton() const { return button_; }
    // Within the limits (none when MinValue equals MaxValue).
    TSpinValue CheckValue(TSpinValue NewValue) const;
    // Stored tests of the published values.
    bool IsIncrementStored() const { return increment_ != 1; }
    bool IsMinValueStored() const { return minValue_ != 0; }
    bool IsMaxValueStored() const { return maxValue_ != 0; }
    bool IsValueStored() const { return const_cast<TRxSpinEdit*>(this)->Value() != 0; }

    void Dispatch(TMessage& Message) override;

    TNotifyEvent OnTopClick;
    TNotifyEvent OnBottomClick;

protected:
    virtual bool IsValidChar(char Key);
    virtual void UpClick(TObject* Sender);
    virtual void DownClick(TObject* Sender);
    void Change() override;
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void KeyDown(Word& Key, TShiftState Shift) override;
    void KeyPress(char& Key) override;

private:
    void UpDownClick(TObject* Sender, TUDBtnType Button);
    TSpinButtonKind GetButtonKind() const;
    Integer GetButtonWidth() const;
    Integer GetMinHeight();
    void RecreateButton();
    void ResizeButton();
    void SetEditRect();
    void step(TSpinValue Delta, const TNotifyEvent& Event);
    void wmSize(TMessage& Message);

    TAlignment alignment_ = taLeftJustify;
    TSpinValue minValue_ = 0;
    TSpinValue maxValue_ = 0;
    TSpinValue increment_ = 1;
    Byte decimal_ = 2;
    bool changing_ = false;
    bool editorEnabled_ = true;
    TValueType valueType_ = vtInt;
    TRxSpinButton* button_ = nullptr;
    TWinControl* buttonHost_ = nullptr;
    bool arrowKeys_ = true;
    TSpinButtonKind buttonKind_ = bkDiagonal;
    TRxUpDown* upDown_ = nullptr;
};
