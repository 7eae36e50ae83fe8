#include "unicode/TntActnList.h"

#include "platform/core/CodePages.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/Buttons.h"
#include "platform/vcl/ListViews.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/ToolBars.h"
#include "unicode/TntClasses.h"
#include "unicode/TntControls.h"

namespace {

// The wide texts of one wide action. While the action hands a new ANSI text
// to its links, the links read the old wide text as the action's and take
// the new one.
class TCustomActionHelper : public TComponent {
public:
    explicit TCustomActionHelper(TCustomAction* AAction) : TComponent(AAction), action(AAction) {}

    // One of the two wide texts with its state while a new value is being set.
    struct WideText {
        WideString value;
        bool settingNew = false;
        WideString oldValue;
        AnsiString newAnsi;
    };

    void SetAnsiCaption(const AnsiString& Value) { writeAnsi(caption, Value, &TCustomAction::SetCaption); }
    void SetAnsiHint(const AnsiString& Value) { writeAnsi(hint, Value, &TCustomAction::SetHint); }

    TCustomAction* action;
    WideText caption;
    WideText hint;

private:
    // An empty write stands for a new text with the old ANSI form: the links
    // then see the old caption as empty too.
    void writeAnsi(WideText& Text, const AnsiString& Value,
                   void (TCustomAction::*Setter)(const AnsiString&)) {
        (action->*Setter)(Value);
        if (Value.empty() && !Text.newAnsi.empty()) Text.oldValue.clear();
    }
};

bool isWideAction(TCustomAction* Action) {
    Assert(Action != nullptr);
    return dynamic_cast<ITntAction*>(Action) != nullptr;
}

TCustomActionHelper* helperOf(TCustomAction* Action) {
    for (Integer i = 0; i < Action->ComponentCount(); ++i)
        if (auto* helper = dynamic_cast<TCustomActionHelper*>(Action->Components(i))) return helper;
    return new TCustomActionHelper(Action);
}

using TextOf = TCustomActionHelper::WideText TCustomActionHelper::*;
using AnsiGetter = const AnsiString& (TCustomAction::*)() const;

bool settingNew(const TCustomActionHelper::WideText& Text, const AnsiString& Current) {
    return Text.settingNew && Current != Text.newAnsi;
}

WideString getText(TCustomAction* Action, TextOf Field, AnsiGetter Ansi) {
    if (!isWideAction(Action)) return AnsiToWide((Action->*Ansi)());
    const AnsiString current = (Action->*Ansi)();
    TCustomActionHelper::WideText& text = helperOf(Action)->*Field;
    if (settingNew(text, current)) return text.oldValue;
    return GetSyncedWideString(text.value, current);
}

void setText(TCustomAction* Action, const WideString& Value, TextOf Field, AnsiGetter Ansi,
             void (TCustomAction::*AnsiSetter)(const AnsiString&),
             void (TCustomActionHelper::*Writer)(const AnsiString&)) {
    if (!isWideAction(Action)) {
        (Action->*AnsiSetter)(WideToAnsi(Value));
        return;
    }
    TCustomActionHelper* helper = helperOf(Action);
    TCustomActionHelper::WideText& text = helper->*Field;
    text.oldValue = getText(Action, Field, Ansi);
    text.newAnsi = WideToAnsi(Value);
    text.settingNew = true;
    try {
        SetSyncedWideString(Value, text.value, (Action->*Ansi)(), TSetAnsiStrEvent(helper, Writer));
    } catch (...) {
        text.settingNew = false;
        throw;
    }
    text.settingNew = false;
}

WideString getNewText(TCustomAction* Action, const WideString& Default, TextOf Field, AnsiGetter Ansi) {
    if (!isWideAction(Action)) return Default;
    TCustomActionHelper::WideText& text = helperOf(Action)->*Field;
    return settingNew(text, (Action->*Ansi)()) ? text.value : Default;
}

TCustomAction* customActionOf(TBasicAction* Action) {
    auto* action = dynamic_cast<TCustomAction*>(Action);
    if (!action) throw EInvalidCast("Invalid class typecast");
    return action;
}

} // namespace

// ---- Action side -------------------------------------------------------------------------------

WideString TntAction_GetCaption(TCustomAction* Action) {
    return getText(Action, &TCustomActionHelper::caption, &TCustomAction::Caption);
}

void TntAction_SetCaption(TCustomAction* Action, const WideString& Value) {
    setText(Action, Value, &TCustomActionHelper::caption, &TCustomAction::Caption, &TCustomAction::SetCaption,
            &TCustomActionHelper::SetAnsiCaption);
}

WideString TntAction_GetNewCaption(TCustomAction* Action, const WideString& Default) {
    return getNewText(Action, Default, &TCustomActionHelper::caption, &TCustomAction::Caption);
}

WideString TntAction_GetHint(TCustomAction* Action) {
    return getText(Action, &TCustomActionHelper::hint, &TCustomAction::Hint);
}

void TntAction_SetHint(TCustomAction* Action, const WideString& Value) {
    setText(Action, Value, &TCustomActionHelper::hint, &TCustomAction::Hint, &TCustomAction::SetHint,
            &TCustomActionHelper::SetAnsiHint);
}

WideString TntAction_GetNewHint(TCustomAction* Action, const WideString& Default) {
    return getNewText(Action, Default, &TCustomActionHelper::hint, &TCustomAction::Hint);
}

// ---- Control side --------------------------------------------------------------------------------

void TntControl_BeforeInherited_ActionChange(TControl* Control, TObject* Sender, bool CheckDefaults) {
    auto* action = dynamic_cast<TCustomAction*>(Sender);
    if (!action || !dynamic_cast<ITntAction*>(action)) return;
    const WideString text = TntControl_GetText(Control);
    if (!CheckDefaults || text.empty() || text == AnsiToWide(Control->Name()))
        TntControl_SetText(Control, TntAction_GetCaption(action));
    if (!CheckDefaults || TntControl_GetHint(Control).empty())
        TntControl_SetHint(Control, TntAction_GetHint(action));
}

bool TntActionLink_IsCaptionLinked(bool InheritedResult, TBasicAction* Action, TControl* Client) {
    return InheritedResult && TntAction_GetCaption(customActionOf(Action)) == TntControl_GetText(Client);
}

bool TntActionLink_IsHintLinked(bool InheritedResult, TBasicAction* Action, TControl* Client) {
    return InheritedResult && TntAction_GetHint(customActionOf(Action)) == TntControl_GetHint(Client);
}

void TntActionLink_SetCaption(bool IsLinked, TBasicAction* Action, TControl* Client,
                              const AnsiString& Value) {
    if (IsLinked)
        TntControl_SetText(Client, TntAction_GetNewCaption(customActionOf(Action), AnsiToWide(Value)));
}

void TntActionLink_SetHint(bool IsLinked, TBasicAction* Action, TControl* Client, const AnsiString& Value) {
    if (IsLinked) TntControl_SetHint(Client, TntAction_GetNewHint(customActionOf(Action), AnsiToWide(Value)));
}

namespace {

TControlActionLinkClass wideLinkClassOf(TControl* Control) {
    if (dynamic_cast<TCustomListView*>(Control)) return ActionLinkClassOf<TTntListViewActionLink>();
    if (dynamic_cast<TComboBoxEx*>(Control)) return ActionLinkClassOf<TTntComboBoxExActionLink>();
    if (dynamic_cast<TSpeedButton*>(Control)) return ActionLinkClassOf<TTntSpeedButtonActionLink>();
    if (dynamic_cast<TToolButton*>(Control)) return ActionLinkClassOf<TTntToolButtonActionLink>();
    if (dynamic_cast<TButtonControl*>(Control)) return ActionLinkClassOf<TTntButtonActionLink>();
    if (dynamic_cast<TWinControl*>(Control)) return ActionLinkClassOf<TTntWinControlActionLink>();
    return ActionLinkClassOf<TTntControlActionLink>();
}

} // namespace

TControlActionLinkClass TntControl_GetActionLinkClass(TControl* Control, TControlActionLinkClass InheritedLinkClass) {
    TControlActionLinkClass linkClass = wideLinkClassOf(Control);
    Assert(linkClass->ClassType()->ClassParent() == InheritedLinkClass->ClassType());
    return linkClass;
}

// ---- Wide actions ---------------------------------------------------------------------------------

void TntAction_AfterInherited_Assign(TCustomAction* Action, TPersistent* Source) {
    if (auto* action = dynamic_cast<TCustomAction*>(Source)) {
        TntAction_SetCaption(Action, TntAction_GetCaption(action));
        TntAction_SetHint(Action, TntAction_GetHint(action));
    } else if (auto* control = dynamic_cast<TControl*>(Source)) {
        TntAction_SetCaption(Action, TntControl_GetText(control));
        TntAction_SetHint(Action, TntControl_GetHint(control));
    }
}

void TTntCustomAction::Assign(TPersistent* Source) {
    TCustomAction::Assign(Source);
    TntAction_AfterInherited_Assign(this, Source);
}

void TTntAction::Assign(TPersistent* Source) {
    TAction::Assign(Source);
    TntAction_AfterInherited_Assign(this, Source);
}

void TTntCustomAction::DefineProperties(TFiler* Filer) {
    TCustomAction::DefineProperties(Filer);
    TntPersistent_AfterInherited_DefineProperties(Filer, this);
}

void TTntAction::DefineProperties(TFiler* Filer) {
    TAction::DefineProperties(Filer);
    TntPersistent_AfterInherited_DefineProperties(Filer, this);
}

namespace {
const TClass tntControlActionLinkClass = DescribeClass<TTntControlActionLink, TControlActionLink>();
const TClass tntWinControlActionLinkClass = DescribeClass<TTntWinControlActionLink, TWinControlActionLink>();
const TClass tntButtonActionLinkClass = DescribeClass<TTntButtonActionLink, TButtonActionLink>();
const TClass tntListViewActionLinkClass = DescribeClass<TTntListViewActionLink, TListViewActionLink>();
const TClass tntComboBoxExActionLinkClass = DescribeClass<TTntComboBoxExActionLink, TComboBoxExActionLink>();
const TClass tntSpeedButtonActionLinkClass = DescribeClass<TTntSpeedButtonActionLink, TSpeedButtonActionLink>();
const TClass tntToolButtonActionLinkClass = DescribeClass<TTntToolButtonActionLink, TToolButtonActionLink>();
const TClass tntCustomActionClass = DescribeClass<TTntCustomAction, TCustomAction>();
const TClass tntActionClass = DescribeClass<TTntAction, TAction>([](TClassBuilder<TTntAction>& c) {
    c.Property("Caption", &TTntAction::Caption, &TTntAction::SetCaption);
    c.Property("Hint", &TTntAction::Hint, &TTntAction::SetHint);
});
} // namespace
