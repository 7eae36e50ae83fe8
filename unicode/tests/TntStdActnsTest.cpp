// The wide standard actions: wide captions and hints through form resources
// and Assign, what the open-with action copies, and the delete action with
// and without a selection.
#include "platform/vcl/tests/VisualTestSupport.h"

#include "platform/vcl/Filers.h"
#include "platform/win/Messages.h"
#include "platform/win/Windows.h"
#include "unicode/TntStdActns.h"
#include "unicode/TntStdCtrls.h"

namespace {

const char* const CaptionedActions[] = {"TTntEditAction",
                                        "TTntEditCut",
                                        "TTntEditCopy",
                                        "TTntEditPaste",
                                        "TTntEditSelectAll",
                                        "TTntEditUndo",
                                        "TTntEditDelete",
                                        "TTntWindowAction",
                                        "TTntWindowClose",
                                        "TTntWindowCascade",
                                        "TTntWindowTileHorizontal",
                                        "TTntWindowTileVertical",
                                        "TTntWindowMinimizeAll",
                                        "TTntWindowArrange",
                                        "TTntHelpAction",
                                        "TTntHelpContents",
                                        "TTntHelpTopicSearch",
                                        "TTntHelpOnHelp",
                                        "TTntHelpContextAction",
                                        "TTntFileOpen",
                                        "TTntFileOpenWith",
                                        "TTntFileSaveAs",
                                        "TTntFilePrintSetup",
                                        "TTntFileExit",
                                        "TTntSearchFind",
                                        "TTntSearchReplace",
                                        "TTntSearchFindFirst",
                                        "TTntSearchFindNext",
                                        "TTntFontEdit",
                                        "TTntColorSelect",
                                        "TTntPrintDlg"};
const char* const UncaptionedActions[] = {"TTntCommonDialogAction", "TTntFileAction", "TTntSearchAction",
                                          "TTntHintAction"};

const WideString Caption = u"保存(&S)";
const WideString Hint = u"保存|ファイルを保存します";

TCustomAction* makeAction(const char* ClassName, TComponent* Owner) {
    TClass type = FindClass(ClassName);
    EXPECT_NE(type, nullptr) << ClassName;
    auto* action = dynamic_cast<TCustomAction*>(type->CreateComponent(Owner));
    EXPECT_NE(dynamic_cast<ITntAction*>(action), nullptr) << ClassName;
    return action;
}

TEST(WideStandardActions, CaptionsAndHintsSurviveAFormResourceAndAssign) {
    TForm source(nullptr);
    source.SetName("Holder");
    auto* list = new TActionList(&source);
    list->SetName("Actions");
    std::vector<AnsiString> names;
    for (const char* className : CaptionedActions) {
        TCustomAction* action = makeAction(className, &source);
        names.push_back(AnsiString("Action") + std::to_string(names.size()));
        action->SetName(names.back());
        action->SetActionList(list);
        TntAction_SetCaption(action, Caption);
        TntAction_SetHint(action, Hint);
    }
    TForm target(nullptr);
    ReadComponentText(WriteComponentText(&source), &target);
    for (std::size_t i = 0; i < names.size(); ++i) {
        auto* action = dynamic_cast<TCustomAction*>(target.FindComponent(names[i]));
        ASSERT_NE(action, nullptr) << CaptionedActions[i];
        EXPECT_EQ(TntAction_GetCaption(action), Caption) << CaptionedActions[i];
        EXPECT_EQ(TntAction_GetHint(action), Hint) << CaptionedActions[i];
    }

    std::vector<const char*> all(std::begin(CaptionedActions), std::end(CaptionedActions));
    all.insert(all.end(), std::begin(UncaptionedActions), std::end(UncaptionedActions));
    for (const char* className : all) {
        std::unique_ptr<TCustomAction> from(makeAction(className, nullptr));
        std::unique_ptr<TCustomAction> to(makeAction(className, nullptr));
        TntAction_SetCaption(from.get(), Caption);
        TntAction_SetHint(from.get(), Hint);
        to->Assign(from.get());
        EXPECT_EQ(TntAction_GetCaption(to.get()), Caption) << className;
        EXPECT_EQ(TntAction_GetHint(to.get()), Hint) << className;
    }
}

// The published Dialog of a wide file action is its wide dialog; the
// framework's save-as accessor, which names a class the wide dialog does not
// derive from, answers none rather than a miscast object.
TEST(WideStandardActions, FileActionsPublishTheirWideDialog) {
    const std::pair<const char*, const char*> actions[] = {
        {"TTntFileOpen", "TTntOpenDialog"},
        {"TTntFileOpenWith", "TTntOpenDialog"},
        {"TTntFileSaveAs", "TTntSaveDialog"},
    };
    for (const auto& [actionClass, dialogClass] : actions) {
        std::unique_ptr<TCustomAction> action(makeAction(actionClass, nullptr));
        const TPropInfo* dialog = GetPropInfo(action.get(), "Dialog");
        ASSERT_NE(dialog, nullptr) << actionClass;
        EXPECT_EQ(dialog->PropType->Name, AnsiString(dialogClass)) << actionClass;
        EXPECT_EQ(GetObjectProp(action.get(), dialog)->ClassName(), AnsiString(dialogClass)) << actionClass;
    }
    TTntFileSaveAs saveAs(nullptr);
    EXPECT_EQ(static_cast<TFileSaveAs&>(saveAs).Dialog(), nullptr);
    EXPECT_NE(saveAs.Dialog(), nullptr);
}

class TDialogEvents : public TObject {
public:
    void Before(TObject*) {}
    void Accept(TObject*) {}
    void Cancel(TObject*) {}
};

TEST(WideStandardActions, AssigningAnOpenWithActionCopiesItsFileAndDialogEvents) {
    TDialogEvents events;
    TTntFileOpenWith source(nullptr);
    source.SetFileName("/srv/site/index.htm");
    source.BeforeExecute = TNotifyEvent(&events, &TDialogEvents::Before);
    source.OnAccept = TNotifyEvent(&events, &TDialogEvents::Accept);
    source.OnCancel = TNotifyEvent(&events, &TDialogEvents::Cancel);
    source.SetCaption(u"開く");
    TTntFileOpenWith copy(nullptr);
    copy.Assign(&source);
    EXPECT_EQ(copy.FileName(), "/srv/site/index.htm");
    EXPECT_TRUE(copy.BeforeExecute == source.BeforeExecute);
    EXPECT_TRUE(copy.OnAccept == source.OnAccept);
    EXPECT_TRUE(copy.OnCancel == source.OnCancel);
    EXPECT_EQ(copy.Caption(), u"開く");
    EXPECT_NE(copy.Dialog(), nullptr) << "a wide open dialog";
}

class WideEditDelete : public VisualTest {};

TEST_F(WideEditDelete, DeletesTheSelectionOrTheCharacterAfterTheCaret) {
    struct Case {
        const char* name;
        WideString text;
        DWORD start;
        DWORD end;
        WideString expected;
    };
    const Case cases[] = {
        {"selection", u"日本語の文", 1, 3, u"日の文"},
        {"none", u"日本語", 1, 1, u"日語"},
        {"surrogate pair", u"a\U0001F600b", 1, 1, u"ab"},
        {"at the end", u"日本", 2, 2, u"日本"},
    };
    auto form = plainForm();
    auto* edit = child<TTntEdit>(form.get(), alNone, {10, 10, 200, 24});
    form->Show();
    TTntEditDelete action(nullptr);
    action.SetControl(edit);
    for (const Case& item : cases) {
        edit->SetText(item.text);
        SendMessageW(edit->Handle(), EM_SETSEL, item.start, item.end);
        action.SetEnabled(false);
        action.UpdateTarget(edit);
        EXPECT_TRUE(action.Enabled()) << item.name;
        action.ExecuteTarget(edit);
        EXPECT_EQ(edit->Text(), item.expected) << item.name;
    }
}

} // namespace
