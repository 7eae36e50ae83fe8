// The standard controls with UTF-16 text: the edit, the label, the push
// button, the check box and the group box. Windowed ones have Unicode
// windows; the label and the group box paint their wide captions; hot keys
// are found in the wide captions.
#pragma once

#include "platform/vcl/EditCtrls.h"
#include "platform/vcl/StdCtrls.h"
#include "unicode/TntClasses.h"
#include "unicode/TntControls.h"

#include <memory>

// What every captioned control of the layer adds to its framework class: the
// wide caption and hint, and their form-resource properties.
template <typename Base> class TTntCaptioned : public Base {
public:
    using Base::Base;
    WideString Caption() { return TntControl_GetText(this); }
    void SetCaption(const WideString& Value) { TntControl_SetText(this, Value); }
    WideString Hint() { return TntControl_GetHint(this); }
    void SetHint(const WideString& Value) { TntControl_SetHint(this, Value); }
    void DefineProperties(TFiler* Filer) override {
        Base::DefineProperties(Filer);
        TntPersistent_AfterInherited_DefineProperties(Filer, this);
    }
};

class TTntCustomEdit : public TCustomEdit {
public:
    using TCustomEdit::TCustomEdit;
    WideString Text() { return TntControl_GetText(this); }
    void SetText(const WideString& Value) { TntControl_SetText(this, Value); }
    WideString Hint() { return TntControl_GetHint(this); }
    void SetHint(const WideString& Value) { TntControl_SetHint(this, Value); }
    void DefineProperties(TFiler* Filer) override;

protected:
    void CreateWindowHandle(const TCreateParams& Params) override;
};

class TTntEdit : public TTntCustomEdit {
public:
    using TTntCustomEdit::TTntCustomEdit;
};

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
    WideString GetTextStr() const override;
    // With CR LF line breaks; an equal text leaves the window alone.
    void SetTextStr(const WideString& Value) override;

protected:
    void SetUpdateState(bool Updating) override;

private:
    bool unicodeWindow() const;
    HWND window() const { return memo_->Handle(); }

    TCustomMemo* memo_;
};

class TTntCustomMemo : public TCustomMemo {
public:
    explicit TTntCustomMemo(TComponent* AOwner);
    ~TTntCustomMemo() override;
    WideString Text() { return TntControl_GetText(this); }
    void SetText(const WideString& Value) { TntControl_SetText(this, Value); }
    WideString Hint() { return TntControl_GetHint(this); }
    void SetHint(const WideString& Value) { TntControl_SetHint(this, Value); }
    TTntStrings* Lines() const { return lines_.get(); }
    void SetLines(TTntStrings* Value) { lines_->Assign(Value); }
    void DefineProperties(TFiler* Filer) override;

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
