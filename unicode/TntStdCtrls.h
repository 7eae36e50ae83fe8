// The standard controls with UTF-16 text: the edit and the memo, the label,
// the push button, the check box, the radio button, the scroll bar, the group
// box and the static text. Windowed ones have Unicode windows; the label and
// the group box paint their wide captions; hot keys are found in the wide
// captions.
#pragma once

#include "platform/vcl/EditCtrls.h"
#include "platform/vcl/StdCtrls.h"
#include "unicode/TntActnList.h"
#include "unicode/TntClasses.h"
#include "unicode/TntControls.h"
#include "unicode/TntSysUtils.h"

#include <functional>
#include <memory>

// What every control of the layer adds to its framework class: the wide
// hint, its form-resource properties, and the wide action links.
template <typename Base> class TTntHinted : public Base {
public:
    using Base::Base;
    WideString Hint() { return TntControl_GetHint(this); }
    void SetHint(const WideString& Value) { TntControl_SetHint(this, Value); }
    // A hint an action link supplies is the action's to write, not the form resource's.
    bool IsHintStored() const { return TntControl_IsHintStored(const_cast<TTntHinted*>(this)); }
    void DefineProperties(TFiler* Filer) override {
        Base::DefineProperties(Filer);
        TntPersistent_AfterInherited_DefineProperties(Filer, this);
    }

protected:
    void ActionChange(TObject* Sender, bool CheckDefaults) override {
        TntControl_BeforeInherited_ActionChange(this, Sender, CheckDefaults);
        Base::ActionChange(Sender, CheckDefaults);
    }
    TControlActionLinkClass GetActionLinkClass() override {
        return TntControl_GetActionLinkClass(this, Base::GetActionLinkClass());
    }
};

// A control of the layer with a wide caption besides.
template <typename Base> class TTntCaptioned : public TTntHinted<Base> {
public:
    using TTntHinted<Base>::TTntHinted;
    WideString Caption() { return TntControl_GetText(this); }
    void SetCaption(const WideString& Value) { TntControl_SetText(this, Value); }
    bool IsCaptionStored() const { return TntControl_IsCaptionStored(const_cast<TTntCaptioned*>(this)); }
};

// ---- What the edit-like controls share ----------------------------------------------------------

void TntCustomEdit_CreateWindowHandle(TCustomEdit* Edit, const TCreateParams& Params);
// Gives the new window the wide password character.
void TntCustomEdit_AfterInherited_CreateWnd(TCustomEdit* Edit, WideChar PasswordChar);
// The selection in UTF-16 units on both roads (on the ANSI road the window counts bytes).
Integer TntCustomEdit_GetSelStart(TCustomEdit* Edit);
void TntCustomEdit_SetSelStart(TCustomEdit* Edit, Integer Value);
Integer TntCustomEdit_GetSelLength(TCustomEdit* Edit);
void TntCustomEdit_SetSelLength(TCustomEdit* Edit, Integer Value);
WideString TntCustomEdit_GetSelText(TCustomEdit* Edit);
void TntCustomEdit_SetSelText(TCustomEdit* Edit, const WideString& Value);
// The ANSI form of a password character: itself below 256, else "*".
char TntPasswordCharSubstitute(WideChar Value);
// Runs Setter with Control's window handle hidden from the framework (its
// setters then only record their values); the handle comes back on every
// path, also when Setter throws.
void WithWindowHandleHidden(TWinControl* Control, const std::function<void()>& Setter);

// ---- Edit and memo ------------------------------------------------------------------------------

class TTntCustomEdit : public TTntHinted<TCustomEdit> {
public:
    using TTntHinted::TTntHinted;
    WideString Text() { return TntControl_GetText(this); }
    void SetText(const WideString& Value) { TntControl_SetText(this, Value); }
    // A change through the framework's ANSI PasswordChar wins over the wide one.
    WideChar PasswordChar();
    void SetPasswordChar(WideChar Value);
    Integer GetSelStart() override { return TntCustomEdit_GetSelStart(this); }
    void SetSelStart(Integer Value) override { TntCustomEdit_SetSelStart(this, Value); }
    Integer GetSelLength() override { return TntCustomEdit_GetSelLength(this); }
    void SetSelLength(Integer Value) override { TntCustomEdit_SetSelLength(this, Value); }
    using TCustomEdit::SetSelText;
    WideString SelText() { return TntCustomEdit_GetSelText(this); }
    void SetSelText(const WideString& Value) { TntCustomEdit_SetSelText(this, Value); }

protected:
    void CreateWindowHandle(const TCreateParams& Params) override;
    void CreateWnd() override;

private:
    WideChar passwordChar_ = 0;
};

class TTntEdit : public TTntCustomEdit {
public:
    using TTntCustomEdit::TTntCustomEdit;
};

// The character position where line Index of a Unicode edit window starts
// (-1 past the last line), and the length of that line; StartPos -1 stands
// for TntMemo_LineStart. Both assert the Unicode platform.
Integer TntMemo_LineStart(HWND Handle, Integer Index);
Integer TntMemo_LineLength(HWND Handle, Integer Index, Integer StartPos = -1);

// The wide lines of a memo, read and written in its Unicode window (the
// framework's ANSI lines serve a window that is not Unicode).
class TTntMemoStrings : public TTntStrings {
public:
    explicit TTntMemoStrings(TCustomMemo* AMemo) : memo_(AMemo) {}
    // EOutOfResources "Line too long" for a line above 65535 characters.
    WideString Get(Integer Index) const override;
    Integer GetCount() const override;
    void Put(Integer Index, const WideString& S) override;
    void Insert(Integer Index, const WideString& S) override;
    void Delete(Integer Index) override;
    void Clear() override;
    // In rich-edit mode the joined lines, else the memo's whole text.
    WideString GetTextStr() const override;
    // With the line breaks of LineBreakStyle; an equal text leaves the window alone.
    void SetTextStr(const WideString& Value) override;

    // Set for a rich edit's lines: inserted lines take the style's breaks and
    // an insertion the window does not take whole raises EOutOfResources.
    bool RichEditMode() const { return richEditMode_; }
    void SetRichEditMode(bool Value) { richEditMode_ = Value; }
    TTntTextLineBreakStyle LineBreakStyle() const { return lineBreakStyle_; }
    void SetLineBreakStyle(TTntTextLineBreakStyle Value) { lineBreakStyle_ = Value; }

protected:
    void SetUpdateState(bool Updating) override;

private:
    bool unicodeWindow() const;
    HWND window() const { return memo_->Handle(); }
    void insertRichText(Integer Position, const WideString& Text);

    TCustomMemo* memo_;
    bool richEditMode_ = false;
    TTntTextLineBreakStyle lineBreakStyle_ = tlbsCRLF;
};

class TTntCustomMemo : public TTntHinted<TCustomMemo> {
public:
    explicit TTntCustomMemo(TComponent* AOwner);
    ~TTntCustomMemo() override;
    WideString Text() { return TntControl_GetText(this); }
    void SetText(const WideString& Value) { TntControl_SetText(this, Value); }
    TTntStrings* Lines() const { return lines_.get(); }
    void SetLines(TTntStrings* Value) { lines_->Assign(Value); }
    Integer GetSelStart() override { return TntCustomEdit_GetSelStart(this); }
    void SetSelStart(Integer Value) override { TntCustomEdit_SetSelStart(this, Value); }
    Integer GetSelLength() override { return TntCustomEdit_GetSelLength(this); }
    void SetSelLength(Integer Value) override { TntCustomEdit_SetSelLength(this, Value); }
    using TCustomMemo::SetSelText;
    WideString SelText() { return TntCustomEdit_GetSelText(this); }
    void SetSelText(const WideString& Value) { TntCustomEdit_SetSelText(this, Value); }

protected:
    void CreateWindowHandle(const TCreateParams& Params) override;

private:
    std::unique_ptr<TTntMemoStrings> lines_;
};

class TTntMemo : public TTntCustomMemo {
public:
    using TTntCustomMemo::TTntCustomMemo;
};

class TTntCustomLabel : public TTntCaptioned<TCustomLabel> {
public:
    using TTntCaptioned::TTntCaptioned;
    void Dispatch(TMessage& Message) override;

protected:
    virtual WideString GetWideLabelText() { return Caption(); }
    // The wide text (embossed when disabled); the framework's on the ANSI road.
    void DoDrawText(TRect& Rect, Integer Flags) override;
};

class TTntLabel : public TTntCustomLabel {
public:
    using TTntCustomLabel::TTntCustomLabel;
};

class TTntButton : public TTntCaptioned<TButton> {
public:
    using TTntCaptioned::TTntCaptioned;
    // Its wide hot key clicks it.
    void Dispatch(TMessage& Message) override;

protected:
    void CreateWindowHandle(const TCreateParams& Params) override;
};

class TTntCustomCheckBox : public TTntCaptioned<TCustomCheckBox> {
public:
    using TTntCaptioned::TTntCaptioned;
    // Its wide hot key focuses it, and toggles it once it has the focus.
    void Dispatch(TMessage& Message) override;

protected:
    void CreateWindowHandle(const TCreateParams& Params) override;
};

class TTntCheckBox : public TTntCustomCheckBox {
public:
    using TTntCustomCheckBox::TTntCustomCheckBox;
};

class TTntRadioButton : public TTntCaptioned<TRadioButton> {
public:
    using TTntCaptioned::TTntCaptioned;
    // Its wide hot key focuses it.
    void Dispatch(TMessage& Message) override;

protected:
    void CreateWindowHandle(const TCreateParams& Params) override;
};

class TTntScrollBar : public TTntHinted<TScrollBar> {
public:
    using TTntHinted::TTntHinted;

protected:
    void CreateWindowHandle(const TCreateParams& Params) override;
};

class TTntCustomGroupBox : public TTntCaptioned<TCustomGroupBox> {
public:
    using TTntCaptioned::TTntCaptioned;
    // Its wide hot key selects its first child.
    void Dispatch(TMessage& Message) override;

protected:
    void CreateWindowHandle(const TCreateParams& Params) override;
    // The frame, and the wide caption over its top line (at the right end when right to left).
    void Paint() override;
};

class TTntGroupBox : public TTntCustomGroupBox {
public:
    using TTntCustomGroupBox::TTntCustomGroupBox;
};

class TTntCustomStaticText : public TTntCaptioned<TCustomStaticText> {
public:
    explicit TTntCustomStaticText(TComponent* AOwner);
    // Its wide hot key focuses FocusControl.
    void Dispatch(TMessage& Message) override;

protected:
    void CreateWindowHandle(const TCreateParams& Params) override;
    // With AutoSize: the extent of the wide caption plus two borders on each side.
    void AdjustBounds() override;
};

class TTntStaticText : public TTntCustomStaticText {
public:
    using TTntCustomStaticText::TTntCustomStaticText;
};
