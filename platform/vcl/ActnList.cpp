// Actions, action lists and the links of controls.
#include "platform/vcl/ActnList.h"

#include "platform/core/SysUtils.h"
#include "platform/vcl/Buttons.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/ListViews.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/ToolBars.h"
#include "platform/win/Messages.h"

#include <algorithm>
#include <map>

namespace {

bool offerTo(TComponent* Target, UINT Msg, TBasicAction* Action) {
    if (!Target) return false;
    return Msg == CM_ACTIONEXECUTE ? Target->ExecuteAction(Action) : Target->UpdateAction(Action);
}

// The visible controls of a showing container, depth first, until one takes the action.
bool offerToClients(TWinControl* Container, UINT Msg, TBasicAction* Action) {
    if (!Container->Showing()) return false;
    for (Integer i = 0; i < Container->ControlCount(); ++i) {
        TControl* control = Container->Controls(i);
        if (control->Visible() && offerTo(control, Msg, Action)) return true;
        auto* container = dynamic_cast<TWinControl*>(control);
        if (container && offerToClients(container, Msg, Action)) return true;
    }
    return false;
}

// A showing form offers the action to its active control, itself, then every
// visible control on it.
bool offerToForm(TCustomForm* Form, UINT Msg, TBasicAction* Action) {
    if (!Form || !Form->Showing()) return false;
    return offerTo(Form->ActiveControl(), Msg, Action) || offerTo(Form, Msg, Action) ||
           offerToClients(Form, Msg, Action);
}

// The application window hands the action to its targets (and whoever hooks
// that window sees it first).
bool sendToApplication(UINT Msg, TBasicAction* Action) {
    return SendMessageA(Application->Handle(), Msg, 0, reinterpret_cast<LPARAM>(Action)) == 1;
}

TCustomAction* customActionOf(TBasicActionLink* Link) {
    return dynamic_cast<TCustomAction*>(Link->Action());
}

} // namespace

bool DispatchActionToTargets(UINT Msg, TBasicAction* Action) {
    TCustomForm* active = Screen->ActiveCustomForm();
    TCustomForm* main = Application->MainForm();
    return offerToForm(active, Msg, Action) || (main != active && offerToForm(main, Msg, Action)) ||
           offerTo(Application.get(), Msg, Action);
}

// ---- TBasicActionLink -------------------------------------------------------------

TBasicActionLink::~TBasicActionLink() {
    if (action_) action_->UnRegisterChanges(this);
}

void TBasicActionLink::SetAction(TBasicAction* Value) {
    if (Value == action_) return;
    if (action_) action_->UnRegisterChanges(this);
    action_ = Value;
    if (action_) action_->RegisterChanges(this);
}

bool TBasicActionLink::Execute(TComponent* Target) {
    TBasicAction* action = action_;
    if (!action) return false;
    action->SetActionComponent(Target);
    bool result = false;
    try {
        result = action->Execute();
    } catch (...) {
        if (action_ == action) action->SetActionComponent(nullptr);
        throw;
    }
    // The handler may have unlinked the client or freed the action.
    if (action_ == action) action->SetActionComponent(nullptr);
    return result;
}

bool TBasicActionLink::Update() {
    return action_ && action_->Update();
}

// ---- TActionLink ---------------------------------------------------------------------

bool TActionLink::IsCaptionLinked() {
    return customActionOf(this) != nullptr;
}
bool TActionLink::IsCheckedLinked() {
    return customActionOf(this) != nullptr;
}
bool TActionLink::IsEnabledLinked() {
    return customActionOf(this) != nullptr;
}
bool TActionLink::IsGroupIndexLinked() {
    return customActionOf(this) != nullptr;
}
bool TActionLink::IsHelpContextLinked() {
    return customActionOf(this) != nullptr;
}
bool TActionLink::IsHintLinked() {
    return customActionOf(this) != nullptr;
}
bool TActionLink::IsImageIndexLinked() {
    return customActionOf(this) != nullptr;
}
bool TActionLink::IsShortCutLinked() {
    return customActionOf(this) != nullptr;
}
bool TActionLink::IsVisibleLinked() {
    return customActionOf(this) != nullptr;
}

// ---- TBasicAction ----------------------------------------------------------------------

TBasicAction::TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}

TBasicAction::~TBasicAction() {
    while (!clients_.empty())
        clients_.back()->SetAction(nullptr);
}

bool TBasicAction::HandlesTarget(TObject*) {
    return false;
}

void TBasicAction::UpdateTarget(TObject*) {}
void TBasicAction::ExecuteTarget(TObject*) {}

bool TBasicAction::Execute() {
    if (!onExecute_) return false;
    onExecute_(this);
    return true;
}

bool TBasicAction::Update() {
    if (!OnUpdate) return false;
    OnUpdate(this);
    return true;
}

void TBasicAction::RegisterChanges(TBasicActionLink* Value) {
    if (std::find(clients_.begin(), clients_.end(), Value) == clients_.end()) clients_.push_back(Value);
}

void TBasicAction::UnRegisterChanges(TBasicActionLink* Value) {
    std::erase(clients_, Value);
}

void TBasicAction::SetOnExecute(TNotifyEvent Value) {
    if (Value == onExecute_) return;
    for (TBasicActionLink* client : std::vector<TBasicActionLink*>(clients_))
        client->SetOnExecute(Value);
    onExecute_ = Value;
    Change();
}

void TBasicAction::Change() {
    if (OnChange) OnChange(this);
}

void TBasicAction::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == actionComponent_) actionComponent_ = nullptr;
}

// ---- TContainedAction -------------------------------------------------------------------

TContainedAction::~TContainedAction() {
    SetActionList(nullptr);
}

void TContainedAction::SetActionList(TCustomActionList* Value) {
    if (Value == actionList_) return;
    if (actionList_) actionList_->removeAction(this);
    actionList_ = Value;
    if (actionList_) actionList_->addAction(this);
}

void TContainedAction::SetCategory(const AnsiString& Value) {
    if (Value == category_) return;
    category_ = Value;
    if (actionList_) actionList_->changed();
}

Integer TContainedAction::Index() const {
    if (!actionList_) return -1;
    const auto& actions = actionList_->actions_;
    auto found = std::find(actions.begin(), actions.end(), this);
    return found == actions.end() ? -1 : static_cast<Integer>(found - actions.begin());
}

void TContainedAction::SetIndex(Integer Value) {
    Integer current = Index();
    if (current < 0 || Value == current) return;
    auto& actions = actionList_->actions_;
    Value = std::clamp<Integer>(Value, 0, static_cast<Integer>(actions.size()) - 1);
    actions.erase(actions.begin() + current);
    actions.insert(actions.begin() + Value, this);
    actionList_->changed();
}

bool TContainedAction::Execute() {
    return (actionList_ && actionList_->ExecuteAction(this)) || TBasicAction::Execute() ||
           sendToApplication(CM_ACTIONEXECUTE, this);
}

bool TContainedAction::Update() {
    return (actionList_ && actionList_->UpdateAction(this)) || TBasicAction::Update() ||
           sendToApplication(CM_ACTIONUPDATE, this);
}

void TContainedAction::Change() {
    TBasicAction::Change();
    if (actionList_) actionList_->changed();
}

TComponent* TContainedAction::GetParentComponent() const {
    return actionList_;
}

void TContainedAction::SetParentComponent(TComponent* Value) {
    if (auto* list = dynamic_cast<TCustomActionList*>(Value)) SetActionList(list);
}

// ---- TCustomAction ------------------------------------------------------------------------

TCustomAction::TCustomAction(TComponent* AOwner) : TContainedAction(AOwner) {}

void TCustomAction::AssignTo(TPersistent* Dest) {
    auto* action = dynamic_cast<TCustomAction*>(Dest);
    if (!action) {
        TContainedAction::AssignTo(Dest);
        return;
    }
    action->SetAutoCheck(autoCheck_);
    action->SetCaption(caption_);
    action->SetChecked(checked_);
    action->SetEnabled(enabled_);
    action->SetGroupIndex(groupIndex_);
    action->SetHelpContext(helpContext_);
    action->SetHint(hint_);
    action->SetImageIndex(imageIndex_);
    action->SetShortCut(shortCut_);
    action->SetVisible(visible_);
    action->SetOnExecute(OnExecute());
    action->OnUpdate = OnUpdate;
}

void TCustomAction::SetCaption(const AnsiString& Value) {
    if (Value == caption_) return;
    forEachActionLink([&](TActionLink& link) { link.SetCaption(Value); });
    caption_ = Value;
    Change();
}

void TCustomAction::SetChecked(bool Value) {
    if (Value == checked_) return;
    forEachActionLink([&](TActionLink& link) { link.SetChecked(Value); });
    checked_ = Value;
    if (checked_) uncheckGroup();
    Change();
}

void TCustomAction::uncheckGroup() {
    if (groupIndex_ <= 0 || !ActionList()) return;
    for (Integer index = 0; index < ActionList()->ActionCount(); ++index) {
        auto* other = dynamic_cast<TCustomAction*>(ActionList()->Actions(index));
        if (other && other != this && other->groupIndex_ == groupIndex_) other->SetChecked(false);
    }
}

void TCustomAction::SetEnabled(bool Value) {
    if (Value == enabled_) return;
    forEachActionLink([&](TActionLink& link) { link.SetEnabled(Value); });
    enabled_ = Value;
    Change();
}

void TCustomAction::SetGroupIndex(Integer Value) {
    if (Value == groupIndex_) return;
    forEachActionLink([&](TActionLink& link) { link.SetGroupIndex(Value); });
    groupIndex_ = Value;
    if (checked_) uncheckGroup();
    Change();
}

void TCustomAction::SetHelpContext(Integer Value) {
    if (Value == helpContext_) return;
    forEachActionLink([&](TActionLink& link) { link.SetHelpContext(Value); });
    helpContext_ = Value;
    Change();
}

void TCustomAction::SetHint(const AnsiString& Value) {
    if (Value == hint_) return;
    forEachActionLink([&](TActionLink& link) { link.SetHint(Value); });
    hint_ = Value;
    Change();
}

void TCustomAction::SetImageIndex(Integer Value) {
    if (Value == imageIndex_) return;
    forEachActionLink([&](TActionLink& link) { link.SetImageIndex(Value); });
    imageIndex_ = Value;
    Change();
}

void TCustomAction::SetShortCut(TShortCut Value) {
    if (Value == shortCut_) return;
    forEachActionLink([&](TActionLink& link) { link.SetShortCut(Value); });
    shortCut_ = Value;
    Change();
}

void TCustomAction::SetVisible(bool Value) {
    if (Value == visible_) return;
    forEachActionLink([&](TActionLink& link) { link.SetVisible(Value); });
    visible_ = Value;
    Change();
}

void TCustomAction::SetAutoCheck(bool Value) {
    if (Value == autoCheck_) return;
    forEachActionLink([&](TActionLink& link) { link.SetAutoCheck(Value); });
    autoCheck_ = Value;
    Change();
}

bool TCustomAction::Execute() {
    Update();
    if (!enabled_) return false;
    if (autoCheck_ && (!checked_ || groupIndex_ == 0)) SetChecked(!checked_);
    return TContainedAction::Execute();
}

bool TCustomAction::Update() {
    bool handled = TContainedAction::Update();
    if (!handled && enabled_ && disableIfNoHandler_ && !OnExecute()) SetEnabled(false);
    return handled;
}

// ---- TCustomActionList ----------------------------------------------------------------------

TCustomActionList::~TCustomActionList() {
    // The form that handles OnChange may be going as well.
    OnChange = nullptr;
    while (!actions_.empty())
        delete actions_.back();
}

TContainedAction* TCustomActionList::Actions(Integer Index) const {
    if (Index < 0 || Index >= ActionCount()) throw EListError(Format(SListIndexError, {Index}));
    return actions_[static_cast<std::size_t>(Index)];
}

void TCustomActionList::SetImages(TCustomImageList* Value) {
    if (Value == images_) return;
    if (images_) images_->RemoveFreeNotification(this);
    images_ = Value;
    if (images_) images_->FreeNotification(this);
    changed();
}

bool TCustomActionList::ExecuteAction(TBasicAction* Action) {
    bool handled = false;
    if (OnExecute) OnExecute(Action, handled);
    return handled;
}

bool TCustomActionList::UpdateAction(TBasicAction* Action) {
    bool handled = false;
    if (OnUpdate) OnUpdate(Action, handled);
    return handled;
}

void TCustomActionList::UpdateActions() {
    for (TContainedAction* action : std::vector<TContainedAction*>(actions_))
        action->Update();
}

void TCustomActionList::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
    for (TContainedAction* action : actions_)
        if (action->Owner() == Root) Proc(action);
}

void TCustomActionList::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == images_) images_ = nullptr;
}

void TCustomActionList::addAction(TContainedAction* Action) {
    actions_.push_back(Action);
    changed();
}

void TCustomActionList::removeAction(TContainedAction* Action) {
    std::erase(actions_, Action);
    if (!ComponentState().Contains(csDestroying)) changed();
}

void TCustomActionList::changed() {
    if (OnChange) OnChange(this);
}

// ---- Controls ----------------------------------------------------------------------------------

bool TControlActionLink::IsCaptionLinked() {
    TCustomAction* action = customActionOf(this);
    return TActionLink::IsCaptionLinked() && control_->Caption() == action->Caption();
}

bool TControlActionLink::IsEnabledLinked() {
    TCustomAction* action = customActionOf(this);
    return TActionLink::IsEnabledLinked() && control_->Enabled() == action->Enabled();
}

bool TControlActionLink::IsHintLinked() {
    TCustomAction* action = customActionOf(this);
    return TActionLink::IsHintLinked() && control_->Hint() == action->Hint();
}

bool TControlActionLink::IsVisibleLinked() {
    TCustomAction* action = customActionOf(this);
    return TActionLink::IsVisibleLinked() && control_->Visible() == action->Visible();
}

bool TControlActionLink::IsOnExecuteLinked() {
    return Action() && control_->OnClick == Action()->OnExecute();
}

void TControlActionLink::SetCaption(const AnsiString& Value) {
    if (IsCaptionLinked()) control_->SetCaption(Value);
}

void TControlActionLink::SetEnabled(bool Value) {
    if (IsEnabledLinked()) control_->SetEnabled(Value);
}

void TControlActionLink::SetHint(const AnsiString& Value) {
    if (IsHintLinked()) control_->SetHint(Value);
}

void TControlActionLink::SetVisible(bool Value) {
    if (IsVisibleLinked()) control_->SetVisible(Value);
}

void TControlActionLink::SetOnExecute(TNotifyEvent Value) {
    if (IsOnExecuteLinked()) control_->OnClick = Value;
}

bool TButtonActionLink::IsCheckedLinked() {
    auto* button = dynamic_cast<TButtonControl*>(Control());
    return TWinControlActionLink::IsCheckedLinked() && button &&
           button->Checked() == customActionOf(this)->Checked();
}

void TButtonActionLink::SetChecked(bool Value) {
    if (IsCheckedLinked()) static_cast<TButtonControl*>(Control())->SetChecked(Value);
}

bool TSpeedButtonActionLink::IsCheckedLinked() {
    auto* button = dynamic_cast<TSpeedButton*>(Control());
    return TControlActionLink::IsCheckedLinked() && button && button->Down() == customActionOf(this)->Checked();
}

bool TSpeedButtonActionLink::IsGroupIndexLinked() {
    auto* button = dynamic_cast<TSpeedButton*>(Control());
    return TControlActionLink::IsGroupIndexLinked() && button &&
           button->GroupIndex() == customActionOf(this)->GroupIndex();
}

void TSpeedButtonActionLink::SetChecked(bool Value) {
    if (IsCheckedLinked()) static_cast<TSpeedButton*>(Control())->SetDown(Value);
}

void TSpeedButtonActionLink::SetGroupIndex(Integer Value) {
    if (IsGroupIndexLinked()) static_cast<TSpeedButton*>(Control())->SetGroupIndex(Value);
}

void ControlActionChange(TControl* Control, TBasicAction* Sender, bool CheckDefaults) {
    auto* action = dynamic_cast<TCustomAction*>(Sender);
    if (!action) return;
    AnsiString caption = Control->Caption();
    if (!CheckDefaults || caption.empty() || caption == Control->Name())
        Control->SetCaption(action->Caption());
    if (!CheckDefaults || Control->Enabled()) Control->SetEnabled(action->Enabled());
    if (!CheckDefaults || Control->Hint().empty()) Control->SetHint(action->Hint());
    if (!CheckDefaults || Control->Visible()) Control->SetVisible(action->Visible());
    if (!CheckDefaults || !Control->OnClick) Control->OnClick = action->OnExecute();
}

// ---- The link class of each control kind ------------------------------------------------------------

TControlActionLinkClass TWinControl::GetActionLinkClass() {
    return ActionLinkClassOf<TWinControlActionLink>();
}

void TButtonControl::ActionChange(TObject* Sender, bool CheckDefaults) {
    TWinControl::ActionChange(Sender, CheckDefaults);
    auto* action = dynamic_cast<TCustomAction*>(Sender);
    if (action && (!CheckDefaults || !Checked())) SetChecked(action->Checked());
}

TControlActionLinkClass TButtonControl::GetActionLinkClass() {
    return ActionLinkClassOf<TButtonActionLink>();
}

void TSpeedButton::ActionChange(TObject* Sender, bool CheckDefaults) {
    TGraphicControl::ActionChange(Sender, CheckDefaults);
    auto* action = dynamic_cast<TCustomAction*>(Sender);
    if (!action) return;
    if (!CheckDefaults || GroupIndex() == 0) SetGroupIndex(action->GroupIndex());
    if (!CheckDefaults || !Down()) SetDown(action->Checked());
}

TControlActionLinkClass TSpeedButton::GetActionLinkClass() {
    return ActionLinkClassOf<TSpeedButtonActionLink>();
}

TControlActionLinkClass TToolButton::GetActionLinkClass() {
    return ActionLinkClassOf<TToolButtonActionLink>();
}

TControlActionLinkClass TCustomListView::GetActionLinkClass() {
    return ActionLinkClassOf<TListViewActionLink>();
}

TControlActionLinkClass TComboBoxEx::GetActionLinkClass() {
    return ActionLinkClassOf<TComboBoxExActionLink>();
}

void UpdateControlActions(TControl* Control) {
    if (Control->Visible()) Control->InitiateAction();
    if (auto* parent = dynamic_cast<TWinControl*>(Control))
        for (Integer index = 0; index < parent->ControlCount(); ++index)
            UpdateControlActions(parent->Controls(index));
}

// ---- Streaming ------------------------------------------------------------------------------------

namespace {

// The links' records: their names and parents tell the link classes apart.
const TClass basicActionLinkClass = DescribeClass<TBasicActionLink, TObject>();
const TClass actionLinkClass = DescribeClass<TActionLink, TBasicActionLink>();
const TClass controlActionLinkClass = DescribeClass<TControlActionLink, TActionLink>();
const TClass winControlActionLinkClass = DescribeClass<TWinControlActionLink, TControlActionLink>();
const TClass buttonActionLinkClass = DescribeClass<TButtonActionLink, TWinControlActionLink>();
const TClass listViewActionLinkClass = DescribeClass<TListViewActionLink, TWinControlActionLink>();
const TClass comboBoxExActionLinkClass = DescribeClass<TComboBoxExActionLink, TWinControlActionLink>();
const TClass speedButtonActionLinkClass = DescribeClass<TSpeedButtonActionLink, TControlActionLink>();
const TClass toolButtonActionLinkClass = DescribeClass<TToolButtonActionLink, TControlActionLink>();

const TClass basicActionClass = DescribeClass<TBasicAction, TComponent>([](TClassBuilder<TBasicAction>& c) {
    c.Property("OnExecute", &TBasicAction::OnExecute, &TBasicAction::SetOnExecute);
    c.Property("OnUpdate", &TBasicAction::OnUpdate, &TBasicAction::OnUpdate);
});

const TClass containedActionClass =
    DescribeClass<TContainedAction, TBasicAction>([](TClassBuilder<TContainedAction>& c) {
        c.Property("Category", &TContainedAction::Category, &TContainedAction::SetCategory);
    });

const TClass customActionClass =
    DescribeClass<TCustomAction, TContainedAction>([](TClassBuilder<TCustomAction>& c) {
        c.Property("AutoCheck", &TCustomAction::AutoCheck, &TCustomAction::SetAutoCheck).Default(false);
        c.Property("Caption", &TCustomAction::Caption, &TCustomAction::SetCaption);
        c.Property("Checked", &TCustomAction::Checked, &TCustomAction::SetChecked).Default(false);
        c.Property("Enabled", &TCustomAction::Enabled, &TCustomAction::SetEnabled).Default(true);
        c.Property("GroupIndex", &TCustomAction::GroupIndex, &TCustomAction::SetGroupIndex).Default(0);
        c.Property("HelpContext", &TCustomAction::HelpContext, &TCustomAction::SetHelpContext).Default(0);
        c.Property("Hint", &TCustomAction::Hint, &TCustomAction::SetHint);
        c.Property("ImageIndex", &TCustomAction::ImageIndex, &TCustomAction::SetImageIndex).Default(-1);
        c.Property("ShortCut", &TCustomAction::ShortCut, &TCustomAction::SetShortCut)
            .Type(TypeInfoShortCut())
            .Default(0);
        c.Property("Visible", &TCustomAction::Visible, &TCustomAction::SetVisible).Default(true);
    });

const TClass actionClass = DescribeClass<TAction, TCustomAction>();

const TClass customActionListClass =
    DescribeClass<TCustomActionList, TComponent>([](TClassBuilder<TCustomActionList>& c) {
        c.Property("Images", &TCustomActionList::Images, &TCustomActionList::SetImages);
        c.Property("OnChange", &TCustomActionList::OnChange, &TCustomActionList::OnChange);
        c.Property("OnExecute", &TCustomActionList::OnExecute, &TCustomActionList::OnExecute);
        c.Property("OnUpdate", &TCustomActionList::OnUpdate, &TCustomActionList::OnUpdate);
    });

const TClass actionListClass = DescribeClass<TActionList, TCustomActionList>();

struct RegisterActionClasses {
    RegisterActionClasses() { RegisterClasses({ClassOf<TActionList>(), ClassOf<TAction>()}); }
} registerActionClasses;

} // namespace
