// Actions and action lists: a list updating a menu item and a button that
// show its action, execution through the list, the action and its clients,
// radio groups, the going of an action, and actions read from a form resource.
#include "VisualTestSupport.h"

#include "platform/vcl/ActnList.h"
#include "platform/vcl/Filers.h"
#include "platform/vcl/Buttons.h"
#include "platform/vcl/ListViews.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/ToolBars.h"

namespace {

class TDocument : public TObject {
public:
    bool dirty = false;
    std::vector<std::string> log;
    void SaveExecute(TObject*) { log.push_back("save"); }
    void SaveUpdate(TObject* Sender) { static_cast<TCustomAction*>(Sender)->SetEnabled(dirty); }
    void Executed(TObject* Sender) { log.push_back(static_cast<TComponent*>(Sender)->Name()); }
    void ListExecute(TBasicAction* Action, bool& Handled) {
        log.push_back("list " + Action->Name());
        Handled = Action->Name() == "Taken";
    }
};

class ActnListTest : public VisualTest {};

TEST_F(ActnListTest, AnActionListUpdatesAMenuItemAndAButton) {
    TDocument document;
    auto form = plainForm();
    auto* list = new TActionList(form.get());
    auto* save = new TAction(form.get());
    save->SetActionList(list);
    save->SetCaption("&Save");
    save->SetHint("Save the page");
    save->SetShortCut(scCtrl | 'S');
    save->SetOnExecute(TNotifyEvent(&document, &TDocument::SaveExecute));
    save->OnUpdate = TNotifyEvent(&document, &TDocument::SaveUpdate);
    auto* menu = new TPopupMenu(form.get());
    auto* item = new TMenuItem(form.get());
    menu->Items()->Add(item);
    item->SetAction(save);
    auto* button = child<TButton>(form.get(), alNone, {10, 10, 90, 35});
    button->SetAction(save);
    form->Show();
    Application->ProcessMessages();
    EXPECT_EQ(item->Caption(), "&Save");
    EXPECT_EQ(item->ShortCut(), scCtrl | 'S');
    EXPECT_EQ(item->Hint(), "Save the page");
    EXPECT_EQ(button->Caption(), "&Save");
    EXPECT_EQ(button->Action(), save);

    list->UpdateActions();
    EXPECT_FALSE(item->Enabled());
    EXPECT_FALSE(button->Enabled());
    EXPECT_EQ(GetMenuState(menu->Handle(), 0, MF_BYPOSITION) & MF_GRAYED, MF_GRAYED);
    document.dirty = true;
    UpdateControlActions(form.get());
    EXPECT_TRUE(button->Enabled());
    EXPECT_TRUE(item->Enabled());

    // Opening the menu updates the actions of its items.
    document.dirty = false;
    menu->DispatchPopup(menu->Handle());
    EXPECT_FALSE(item->Enabled());
    document.dirty = true;
    list->UpdateActions();

    EXPECT_TRUE(menu->DispatchCommand(item->Command()));
    backend.Click(button->Handle(), {5, 5});
    Application->ProcessMessages();
    EXPECT_EQ(document.log, (std::vector<std::string>{"save", "save"}));

    save->SetCaption("Save &As");
    EXPECT_EQ(item->Caption(), "Save &As");
    EXPECT_EQ(button->Caption(), "Save &As");
    EXPECT_FALSE(item->IsCaptionStored());
    // A client that shows a caption of its own keeps it.
    button->SetCaption("Mine");
    save->SetCaption("Store");
    EXPECT_EQ(button->Caption(), "Mine");
    // The menu gave the caption its automatic hot key, and it still follows the action.
    EXPECT_EQ(item->Caption(), "&Store");
    save->SetCaption("Keep");
    EXPECT_EQ(item->Caption(), "&Keep");

    delete save;
    EXPECT_EQ(item->Action(), nullptr);
    EXPECT_EQ(button->Action(), nullptr);
    EXPECT_TRUE(item->IsCaptionStored());
}

TEST_F(ActnListTest, ExecutionGoesToTheListFirstAndGroupsKeepOneChecked) {
    TDocument document;
    TActionList list(nullptr);
    list.OnExecute = TActionEvent(&document, &TDocument::ListExecute);
    std::vector<std::unique_ptr<TAction>> actions;
    for (const char* name : {"Left", "Right", "Taken"}) {
        actions.push_back(std::make_unique<TAction>(nullptr));
        TAction& action = *actions.back();
        action.SetName(name);
        action.SetActionList(&list);
        action.SetOnExecute(TNotifyEvent(&document, &TDocument::Executed));
    }
    TAction& left = *actions[0];
    TAction& right = *actions[1];
    for (TAction* grouped : {&left, &right}) {
        grouped->SetGroupIndex(1);
        grouped->SetAutoCheck(true);
    }
    EXPECT_TRUE(left.Execute());
    EXPECT_TRUE(left.Checked());
    EXPECT_TRUE(right.Execute());
    EXPECT_TRUE(right.Checked());
    EXPECT_FALSE(left.Checked());
    EXPECT_TRUE(actions[2]->Execute());
    EXPECT_EQ(document.log,
              (std::vector<std::string>{"list Left", "Left", "list Right", "Right", "list Taken"}));
    EXPECT_EQ(list.ActionCount(), 3);
    EXPECT_EQ(actions[2]->Index(), 2);
    EXPECT_THROW(list.Actions(3), EListError);

    // Without a handler or a target an action is disabled; a disabled one does nothing.
    TAction idle(nullptr);
    EXPECT_FALSE(idle.Execute());
    EXPECT_FALSE(idle.Enabled());
}

// A hook on the application window and a target that takes the action.
class TActionWatcher : public TObject {
public:
    std::vector<UINT> seen;
    bool Hook(TMessage& Message) {
        if (Message.Msg == CM_ACTIONEXECUTE || Message.Msg == CM_ACTIONUPDATE) seen.push_back(Message.Msg);
        return false;
    }
};

class TTargetedAction : public TAction {
public:
    using TAction::TAction;
    TObject* executedOn = nullptr;
    bool HandlesTarget(TObject* Target) override { return dynamic_cast<TCustomForm*>(Target) != nullptr; }
    void ExecuteTarget(TObject* Target) override { executedOn = Target; }
};

TEST_F(ActnListTest, TargetsAreReachedThroughTheApplicationWindow) {
    auto form = plainForm();
    form->Show();
    TActionWatcher watcher;
    Application->HookMainWindow(TWindowHook(&watcher, &TActionWatcher::Hook));
    TTargetedAction action(nullptr);
    EXPECT_TRUE(action.Execute());
    Application->UnhookMainWindow(TWindowHook(&watcher, &TActionWatcher::Hook));
    EXPECT_EQ(action.executedOn, form.get());
    EXPECT_EQ(watcher.seen, (std::vector<UINT>{CM_ACTIONUPDATE, CM_ACTIONEXECUTE}));
}

class TActionForm : public TForm {
public:
    using TForm::TForm;
    TAction* Action1 = nullptr;
    TMenuItem* Item1 = nullptr;
    int runs = 0;
    void Action1Execute(TObject*) { ++runs; }
};

const TClass actionFormClass = DescribeClass<TActionForm, TForm>([](TClassBuilder<TActionForm>& c) {
    c.Field("Action1", &TActionForm::Action1);
    c.Field("Item1", &TActionForm::Item1);
    c.Method("Action1Execute", &TActionForm::Action1Execute);
});

TEST_F(ActnListTest, ActionsAndTheirClientsAreReadFromAFormResource) {
    TActionForm form(nullptr);
    ReadComponentText("object ActionForm: TActionForm\n"
                      "  object ActionList1: TActionList\n"
                      "    object Action1: TAction\n"
                      "      Caption = '&Go'\n"
                      "      ShortCut = 16455\n"
                      "      OnExecute = Action1Execute\n"
                      "    end\n"
                      "  end\n"
                      "  object PopupMenu1: TPopupMenu\n"
                      "    object Item1: TMenuItem\n"
                      "      Action = Action1\n"
                      "    end\n"
                      "  end\n"
                      "end\n",
                      &form);
    ASSERT_NE(form.Action1, nullptr);
    ASSERT_NE(form.Item1, nullptr);
    EXPECT_EQ(form.Action1->ActionList(), form.FindComponent("ActionList1"));
    EXPECT_EQ(form.Item1->Caption(), "&Go");
    EXPECT_EQ(form.Item1->ShortCut(), scCtrl | 'G');
    form.Item1->Click();
    EXPECT_EQ(form.runs, 1);
    EXPECT_EQ(WriteComponentText(&form).find("Caption = '&Go'"),
              WriteComponentText(&form).rfind("Caption = '&Go'"));
}

TEST_F(ActnListTest, AssigningAnActionCopiesWhatItsClientsShowAndItsHandlers) {
    TDocument document;
    TAction source(nullptr);
    source.SetCaption("&Save");
    source.SetHint("Save|Saves the file");
    source.SetEnabled(false);
    source.SetImageIndex(3);
    source.SetShortCut(scCtrl | 'S');
    source.SetOnExecute(TNotifyEvent(&document, &TDocument::SaveExecute));
    source.OnUpdate = TNotifyEvent(&document, &TDocument::SaveUpdate);
    TAction copy(nullptr);
    copy.Assign(&source);
    EXPECT_EQ(copy.Caption(), "&Save");
    EXPECT_EQ(copy.Hint(), "Save|Saves the file");
    EXPECT_FALSE(copy.Enabled());
    EXPECT_EQ(copy.ImageIndex(), 3);
    EXPECT_EQ(copy.ShortCut(), scCtrl | 'S');
    EXPECT_TRUE(copy.OnExecute() == source.OnExecute());
    EXPECT_TRUE(copy.OnUpdate == source.OnUpdate);
    TStringList notAnAction;
    EXPECT_THROW(notAnAction.Assign(&copy), EConvertError);
}

TEST_F(ActnListTest, EachControlKindMakesItsOwnLink) {
    TAction action(nullptr);
    struct Case {
        std::function<TControl*()> make;
        TClass link;
    };
    const Case cases[] = {
        {[] { return new TMark(nullptr); }, ClassOf<TControlActionLink>()},
        {[] { return new TBox(nullptr); }, ClassOf<TWinControlActionLink>()},
        {[] { return new TCheckBox(nullptr); }, ClassOf<TButtonActionLink>()},
        {[] { return new TListView(nullptr); }, ClassOf<TListViewActionLink>()},
        {[] { return new TComboBoxEx(nullptr); }, ClassOf<TComboBoxExActionLink>()},
        {[] { return new TSpeedButton(nullptr); }, ClassOf<TSpeedButtonActionLink>()},
        {[] { return new TToolButton(nullptr); }, ClassOf<TToolButtonActionLink>()},
    };
    for (const Case& c : cases) {
        std::unique_ptr<TControl> control(c.make());
        control->SetAction(&action);
        EXPECT_EQ(ClassTypeOf(control->ActionLink()), c.link) << c.link->ClassName();
    }
}

TEST_F(ActnListTest, CheckBoxesAndSpeedButtonsFollowTheActionsCheck) {
    TAction action(nullptr);
    action.SetGroupIndex(3);
    TCheckBox box(nullptr);
    TSpeedButton button(nullptr);
    box.SetAction(&action);
    button.SetAction(&action);
    EXPECT_EQ(button.GroupIndex(), 3);
    action.SetChecked(true);
    EXPECT_TRUE(box.Checked());
    EXPECT_TRUE(button.Down());
    box.SetChecked(false);
    action.SetChecked(false);
    EXPECT_FALSE(box.Checked());
}

} // namespace
