// Actions: commands kept apart from the controls and menu items that invoke
// them. An action (TBasicAction and its descendants) carries a caption, hint,
// enabled and checked state, shortcut and image; action links pass every
// change on to their clients (controls, menu items) and run the action when
// the client is clicked. Executing and updating go to the action list, then
// the action's own OnExecute/OnUpdate, then the focused control and the active
// form, which standard actions (StdActns) serve as targets.
#pragma once

#include "platform/vcl/Controls.h"
#include "platform/vcl/ImgList.h"

#include <memory>
#include <vector>

class TBasicAction;
class TCustomActionList;

// The modifier bits of a TShortCut (Idents.h): the virtual key is in the low byte.
constexpr TShortCut scNone = 0;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;

// ---- Links --------------------------------------------------------------------

// What ties a client (a control, a menu item) to an action: the action tells
// its links about changes, the client executes the action through its link.
class TBasicActionLink : public TObject {
public:
    explicit TBasicActionLink(TObject* AClient) : client_(AClient) {}
    ~TBasicActionLink() override;
    TBasicAction* Action() const { return action_; }
    virtual void SetAction(TBasicAction* Value);
    TObject* Client() const { return client_; }
    // The action's Execute; false when there is no action.
    virtual bool Execute(TComponent* Target = nullptr);
    virtual bool Update();
    virtual bool IsOnExecuteLinked() { return true; }
    virtual void SetOnExecute(TNotifyEvent) {}

private:
    TObject* client_;
    TBasicAction* action_ = nullptr;
};

// A link whose action may be a TCustomAction: each property is "linked"
// while the client shows the action's value, and the setters pass a new
// value on to the client only then.
class TActionLink : public TBasicActionLink {
public:
    using TBasicActionLink::TBasicActionLink;
    virtual bool IsCaptionLinked();
    virtual bool IsCheckedLinked();
    virtual bool IsEnabledLinked();
    virtual bool IsGroupIndexLinked();
    virtual bool IsHelpContextLinked();
    virtual bool IsHintLinked();
    virtual bool IsImageIndexLinked();
    virtual bool IsShortCutLinked();
    virtual bool IsVisibleLinked();
    virtual void SetAutoCheck(bool) {}
    virtual void SetCaption(const AnsiString&) {}
    virtual void SetChecked(bool) {}
    virtual void SetEnabled(bool) {}
    virtual void SetGroupIndex(Integer) {}
    virtual void SetHelpContext(Integer) {}
    virtual void SetHint(const AnsiString&) {}
    virtual void SetImageIndex(Integer) {}
    virtual void SetShortCut(TShortCut) {}
    virtual void SetVisible(bool) {}
};

// ---- Actions ------------------------------------------------------------------

class TBasicAction : public TComponent {
public:
    explicit TBasicAction(TComponent* AOwner);
    // Every link is told the action is gone.
    ~TBasicAction() override;

    // Targets the focused control or the active form may be: standard
    // actions say which they serve and act on them.
    virtual bool HandlesTarget(TObject* Target);
    virtual void UpdateTarget(TObject* Target);
    virtual void ExecuteTarget(TObject* Target);
    // OnExecute; false when it is not assigned.
    virtual bool Execute();
    // OnUpdate; false when it is not assigned.
    virtual bool Update();
    void RegisterChanges(TBasicActionLink* Value);
    void UnRegisterChanges(TBasicActionLink* Value);
    // The client that executes the action now.
    TComponent* ActionComponent() const { return actionComponent_; }
    void SetActionComponent(TComponent* Value) { actionComponent_ = Value; }
    const TNotifyEvent& OnExecute() const { return onExecute_; }
    // The links hear of it, so that clients showing the old handler take the new one.
    void SetOnExecute(TNotifyEvent Value);
    TNotifyEvent OnUpdate;
    // After any property changed (the clients have heard of it through their links).
    TNotifyEvent OnChange;
    void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
    // OnChange.
    virtual void Change();
    const std::vector<TBasicActionLink*>& Clients() const { return clients_; }
    // Calls Apply for each link that is a TActionLink.
    template <typename F> void forEachActionLink(F Apply) const {
        for (TBasicActionLink* client : std::vector<TBasicActionLink*>(clients_))
            if (auto* link = dynamic_cast<TActionLink*>(client)) Apply(*link);
    }

private:
    std::vector<TBasicActionLink*> clients_;
    TComponent* actionComponent_ = nullptr;
    TNotifyEvent onExecute_;
};

// An action that belongs to an action list.
class TContainedAction : public TBasicAction {
public:
    using TBasicAction::TBasicAction;
    ~TContainedAction() override;
    TCustomActionList* ActionList() const { return actionList_; }
    void SetActionList(TCustomActionList* Value);
    const AnsiString& Category() const { return category_; }
    void SetCategory(const AnsiString& Value);
    // The position in the action list, -1 without one.
    Integer Index() const;
    void SetIndex(Integer Value);

    // The list's OnExecute, then OnExecute, then the focused control and the
    // active form as targets; true when one of them took it.
    bool Execute() override;
    // The same order with OnUpdate and UpdateTarget.
    bool Update() override;

    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* Value) override;

protected:
    // The list hears of it too (its OnChange).
    void Change() override;

private:
    TCustomActionList* actionList_ = nullptr;
    AnsiString category_;
};

// An action with the properties its clients show.
class TCustomAction : public TContainedAction {
public:
    explicit TCustomAction(TComponent* AOwner);

    // Each setter tells the links the new value before it keeps it.
    const AnsiString& Caption() const { return caption_; }
    void SetCaption(const AnsiString& Value);
    bool Checked() const { return checked_; }
    // Checking an action of a group (GroupIndex above 0) unchecks the others
    // of the group in the same list.
    void SetChecked(bool Value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool Value);
    Integer GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(Integer Value);
    Integer HelpContext() const { return helpContext_; }
    void SetHelpContext(Integer Value);
    const AnsiString& Hint() const { return hint_; }
    void SetHint(const AnsiString& Value);
    Integer ImageIndex() const { return imageIndex_; }
    void SetImageIndex(Integer Value);
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut Value);
    bool Visible() const { return visible_; }
    void SetVisible(bool Value);
    // Executing toggles Checked (or checks the action of a group).
    bool AutoCheck() const { return autoCheck_; }
    void SetAutoCheck(bool Value);
    // An update that finds no handler and no target leaves the action
    // enabled only when it has an OnExecute.
    bool DisableIfNoHandler() const { return disableIfNoHandler_; }
    void SetDisableIfNoHandler(bool Value) { disableIfNoHandler_ = Value; }

    // Updates first; runs only when enabled.
    bool Execute() override;
    bool Update() override;

protected:
    // Into another TCustomAction: the shown values (AutoCheck, Caption,
    // Checked, Enabled, GroupIndex, HelpContext, Hint, ImageIndex, ShortCut,
    // Visible) and OnExecute and OnUpdate.
    void AssignTo(TPersistent* Dest) override;

private:
    void uncheckGroup();

    AnsiString caption_;
    bool checked_ = false;
    bool enabled_ = true;
    Integer groupIndex_ = 0;
    Integer helpContext_ = 0;
    AnsiString hint_;
    Integer imageIndex_ = -1;
    TShortCut shortCut_ = scNone;
    bool visible_ = true;
    bool autoCheck_ = false;
    bool disableIfNoHandler_ = true;
};

class TAction : public TCustomAction {
public:
    using TCustomAction::TCustomAction;
};

// What the application window does with CM_ACTIONEXECUTE (CM_ACTIONUPDATE):
// the active form, then the main form, offers the action to its active
// control, itself and its visible controls (ExecuteAction, UpdateAction),
// then the application; true when one took it.
bool DispatchActionToTargets(UINT Msg, TBasicAction* Action);

// ---- Action lists -------------------------------------------------------------

using TActionEvent = Closure<void(TBasicAction* Action, bool& Handled)>;

class TCustomActionList : public TComponent {
public:
    using TComponent::TComponent;
    ~TCustomActionList() override;

    Integer ActionCount() const { return static_cast<Integer>(actions_.size()); }
    // EListError "List index out of bounds (%d)" outside the list.
    TContainedAction* Actions(Integer Index) const;
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* Value);
    // OnExecute (OnUpdate): true when the handler said it handled the action.
    bool ExecuteAction(TBasicAction* Action) override;
    bool UpdateAction(TBasicAction* Action) override;
    // Every action's Update, as the idle time does it.
    void UpdateActions();

    TActionEvent OnExecute;
    TActionEvent OnUpdate;
    TNotifyEvent OnChange;

    // The actions are written nested in the list.
    void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    friend class TContainedAction;
    void addAction(TContainedAction* Action);
    void removeAction(TContainedAction* Action);
    void changed();

    std::vector<TContainedAction*> actions_;
    TCustomImageList* images_ = nullptr;
};

class TActionList : public TCustomActionList {
public:
    using TCustomActionList::TCustomActionList;
};

// ---- Controls -----------------------------------------------------------------

// The link of a control: the control shows the action's caption, enabled
// state, hint and visibility, and its click runs the action's OnExecute.
class TControlActionLink : public TActionLink {
public:
    explicit TControlActionLink(TControl* AClient) : TActionLink(AClient), control_(AClient) {}
    TControl* Control() const { return control_; }
    bool IsCaptionLinked() override;
    bool IsEnabledLinked() override;
    bool IsHintLinked() override;
    bool IsVisibleLinked() override;
    bool IsOnExecuteLinked() override;
    void SetCaption(const AnsiString& Value) override;
    void SetEnabled(bool Value) override;
    void SetHint(const AnsiString& Value) override;
    void SetVisible(bool Value) override;
    void SetOnExecute(TNotifyEvent Value) override;

private:
    TControl* control_;
};

// The link of a windowed control.
class TWinControlActionLink : public TControlActionLink {
public:
    using TControlActionLink::TControlActionLink;
};

// The link of a button, check box or radio button: the control is checked
// with the action.
class TButtonActionLink : public TWinControlActionLink {
public:
    using TWinControlActionLink::TWinControlActionLink;
    bool IsCheckedLinked() override;
    void SetChecked(bool Value) override;
};

// The links of list views and extended combo boxes: what the windowed
// control's link does (this framework has no list actions).
class TListViewActionLink : public TWinControlActionLink {
public:
    using TWinControlActionLink::TWinControlActionLink;
};

class TComboBoxExActionLink : public TWinControlActionLink {
public:
    using TWinControlActionLink::TWinControlActionLink;
};

// The link of a speed button: the button of a group stays down with a checked action.
class TSpeedButtonActionLink : public TControlActionLink {
public:
    using TControlActionLink::TControlActionLink;
    bool IsCheckedLinked() override;
    bool IsGroupIndexLinked() override;
    void SetChecked(bool Value) override;
    void SetGroupIndex(Integer Value) override;
};

class TToolButtonActionLink : public TControlActionLink {
public:
    using TControlActionLink::TControlActionLink;
};

// A class of control action links: the class's record (name and parent
// class) and how it makes a link for a control.
class TControlActionLinkClassInfo {
public:
    TControlActionLinkClassInfo(TClass Class, TControlActionLink* (*Create)(TControl* Client))
        : class_(Class), create_(Create) {}
    TClass ClassType() const { return class_; }
    TControlActionLink* Create(TControl* Client) const { return create_(Client); }

private:
    TClass class_;
    TControlActionLink* (*create_)(TControl* Client);
};

template <typename Link> TControlActionLinkClass ActionLinkClassOf() {
    static const TControlActionLinkClassInfo info(
        ClassOf<Link>(), [](TControl* Client) -> TControlActionLink* { return new Link(Client); });
    return &info;
}

// The control's Action property by another name, for code that reads better
// with a free function.
inline void SetControlAction(TControl* Control, TBasicAction* Action) {
    Control->SetAction(Action);
}
inline TBasicAction* GetControlAction(TControl* Control) {
    return Control->Action();
}
inline TControlActionLink* GetControlActionLink(TControl* Control) {
    return Control->ActionLink();
}
// What a control takes from an action (the framework's ActionChange): with
// CheckDefaults only the values the control still has at their defaults.
void ControlActionChange(TControl* Control, TBasicAction* Sender, bool CheckDefaults);
// Updates the actions of Control and of every visible control on it, as the
// idle time does for the forms (TCustomForm::UpdateActions).
void UpdateControlActions(TControl* Control);
