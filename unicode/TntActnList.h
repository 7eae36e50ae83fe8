// Actions with UTF-16 captions and hints. A wide action (one that offers
// ITntAction) keeps its wide texts in a helper component it owns, beside the
// framework's ANSI texts; the wide links carry the wide texts to controls,
// also when a new text has the same ANSI form as the old one.
#pragma once

#include "platform/vcl/ActnList.h"

// The mark of an action that carries wide texts.
class ITntAction {
public:
    virtual ~ITntAction() = default;
};

// ---- Action side -------------------------------------------------------------------------------

// A framework action that is not wide is read and written through its ANSI texts.
WideString TntAction_GetCaption(TCustomAction* Action);
void TntAction_SetCaption(TCustomAction* Action, const WideString& Value);
// While the action hands a new caption to its links: the new wide caption; else Default.
WideString TntAction_GetNewCaption(TCustomAction* Action, const WideString& Default);
WideString TntAction_GetHint(TCustomAction* Action);
void TntAction_SetHint(TCustomAction* Action, const WideString& Value);
WideString TntAction_GetNewHint(TCustomAction* Action, const WideString& Default);
// A wide action's Assign, after the framework's: the wide caption and hint of
// a source action, or the wide text and hint of a source control.
void TntAction_AfterInherited_Assign(TCustomAction* Action, TPersistent* Source);

// ---- Control side --------------------------------------------------------------------------------

// A wide control's ActionChange calls it before the framework's: the wide
// caption and hint of a wide action (with CheckDefaults only into a caption
// that is empty or the control's name, and an empty hint).
void TntControl_BeforeInherited_ActionChange(TControl* Control, TObject* Sender, bool CheckDefaults);

// The shared bodies of the wide links: besides the framework's answer, the
// client must show the action's wide text; a linked client gets the new wide text.
bool TntActionLink_IsCaptionLinked(bool InheritedResult, TBasicAction* Action, TControl* Client);
bool TntActionLink_IsHintLinked(bool InheritedResult, TBasicAction* Action, TControl* Client);
void TntActionLink_SetCaption(bool IsLinked, TBasicAction* Action, TControl* Client, const AnsiString& Value);
void TntActionLink_SetHint(bool IsLinked, TBasicAction* Action, TControl* Client, const AnsiString& Value);

// The link class of a wide control: the wide twin of InheritedLinkClass
// for the control's kind (EAssertionFailed when the twin does not derive
// from InheritedLinkClass).
TControlActionLinkClass TntControl_GetActionLinkClass(TControl* Control, TControlActionLinkClass InheritedLinkClass);

// The wide twin of a framework link class: the same link, with the wide texts.
template <typename Base> class TTntActionLink : public Base {
public:
    using Base::Base;
    bool IsCaptionLinked() override {
        return TntActionLink_IsCaptionLinked(Base::IsCaptionLinked(), this->Action(), this->Control());
    }
    bool IsHintLinked() override {
        return TntActionLink_IsHintLinked(Base::IsHintLinked(), this->Action(), this->Control());
    }
    void SetCaption(const AnsiString& Value) override {
        TntActionLink_SetCaption(IsCaptionLinked(), this->Action(), this->Control(), Value);
    }
    void SetHint(const AnsiString& Value) override {
        TntActionLink_SetHint(IsHintLinked(), this->Action(), this->Control(), Value);
    }
};

class TTntControlActionLink : public TTntActionLink<TControlActionLink> {
public:
    using TTntActionLink::TTntActionLink;
};
class TTntWinControlActionLink : public TTntActionLink<TWinControlActionLink> {
public:
    using TTntActionLink::TTntActionLink;
};
class TTntButtonActionLink : public TTntActionLink<TButtonActionLink> {
public:
    using TTntActionLink::TTntActionLink;
};
class TTntListViewActionLink : public TTntActionLink<TListViewActionLink> {
public:
    using TTntActionLink::TTntActionLink;
};
class TTntComboBoxExActionLink : public TTntActionLink<TComboBoxExActionLink> {
public:
    using TTntActionLink::TTntActionLink;
};
class TTntSpeedButtonActionLink : public TTntActionLink<TSpeedButtonActionLink> {
public:
    using TTntActionLink::TTntActionLink;
};
class TTntToolButtonActionLink : public TTntActionLink<TToolButtonActionLink> {
public:
    using TTntActionLink::TTntActionLink;
};

// ---- Wide actions ---------------------------------------------------------------------------------

class TTntCustomAction : public TCustomAction, public ITntAction {
public:
    using TCustomAction::TCustomAction;
    WideString Caption() { return TntAction_GetCaption(this); }
    void SetCaption(const WideString& Value) { TntAction_SetCaption(this, Value); }
    WideString Hint() { return TntAction_GetHint(this); }
    void SetHint(const WideString& Value) { TntAction_SetHint(this, Value); }
    void Assign(TPersistent* Source) override;
    void DefineProperties(TFiler* Filer) override;
};

class TTntAction : public TAction, public ITntAction {
public:
    using TAction::TAction;
    WideString Caption() { return TntAction_GetCaption(this); }
    void SetCaption(const WideString& Value) { TntAction_SetCaption(this, Value); }
    WideString Hint() { return TntAction_GetHint(this); }
    void SetHint(const WideString& Value) { TntAction_SetHint(this, Value); }
    void Assign(TPersistent* Source) override;
    void DefineProperties(TFiler* Filer) override;
};
