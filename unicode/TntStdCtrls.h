// The standard controls with UTF-16 text: the edit, the label, the push
// button, the check box and the group box. Windowed ones have Unicode
// windows; the label and the group box paint their wide captions; hot keys
// are found in the wide captions.
#pragma once

#include "platform/vcl/EditCtrls.h"
#include "platform/vcl/StdCtrls.h"
#include "unicode/TntClasses.h"
#include "unicode/TntControls.h"

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
