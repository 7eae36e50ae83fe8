// Wide actions: the wide texts beside the framework's ANSI ones, the links
// that carry them to wide clients even when the ANSI form does not change,
// and what a control takes from an action when it is linked.
#include "platform/vcl/tests/VisualTestSupport.h"

#include "platform/core/CodePages.h"
#include "unicode/TntActnList.h"
#include "unicode/TntControls.h"
#include "unicode/TntListBoxes.h"
#include "unicode/TntMenus.h"
#include "unicode/TntRichEdits.h"
#include "unicode/TntStdActns.h"
#include "unicode/TntStdCtrls.h"
#include "unicode/TntTreeViews.h"

#include "platform/vcl/Buttons.h"
#include "platform/vcl/ListViews.h"
#include "platform/vcl/ToolBars.h"

namespace {

TEST(WideActions, ANewTextWithTheSameAnsiFormStillReachesTheLinkedItems) {
    TTntAction action(nullptr);
    TTntMenuItem item(nullptr);
    action.SetCaption(u"A");
    item.SetAction(&action);
    EXPECT_EQ(item.Caption(), u"A");
    action.SetCaption(u"Ж");
    EXPECT_EQ(item.Caption(), u"Ж");
    EXPECT_EQ(action.TCustomAction::Caption(), "?");
    action.SetCaption(u"Щ");
    EXPECT_EQ(action.Caption(), u"Щ");
    EXPECT_EQ(item.Caption(), u"Щ");
    action.SetHint(u"Подсказка");
    EXPECT_EQ(item.Hint(), u"Подсказка");
}

TEST(WideActions, AnItemWithItsOwnCaptionKeepsItAndStopsFollowing) {
    TTntAction action(nullptr);
    TTntMenuItem item(nullptr);
    action.SetCaption(u"Ж");
    item.SetAction(&action);
    item.SetCaption(u"Своё");
    action.SetCaption(u"Щ");
    EXPECT_EQ(item.Caption(), u"Своё");
}

TEST(WideActions, AFrameworkActionIsReadThroughItsAnsiTextsWithoutAHelper) {
    TAction action(nullptr);
    action.SetCaption("Caf\xE9");
    EXPECT_EQ(TntAction_GetCaption(&action), u"Caf\u00E9");
    TntAction_SetHint(&action, u"Ж");
    EXPECT_EQ(action.Hint(), "?");
    EXPECT_EQ(action.ComponentCount(), 0);
    EXPECT_THROW(TntAction_GetCaption(nullptr), EAssertionFailed);
}

TEST(WideActions, AssigningAWideActionCopiesItsWideTexts) {
    TTntAction source(nullptr);
    source.SetCaption(u"Файл");
    source.SetHint(u"Откр|Открывает файл");
    TTntAction copy(nullptr);
    copy.Assign(&source);
    EXPECT_EQ(copy.Caption(), u"Файл");
    EXPECT_EQ(copy.Hint(), u"Откр|Открывает файл");
    TTntCustomAction custom(nullptr);
    custom.Assign(&source);
    EXPECT_EQ(custom.Caption(), u"Файл");
    TTntEditCut cut(nullptr);
    cut.Assign(&source);
    EXPECT_EQ(cut.Hint(), u"Откр|Открывает файл");

    TAction ansiSource(nullptr);
    ansiSource.SetCaption("Caf\xE9");
    copy.Assign(&ansiSource);
    EXPECT_EQ(copy.Caption(), u"Caf\u00E9");
}

TEST_F(VisualTest, TheWideListControlsTreeAndRichEditFollowAWideActionsHint) {
    auto form = plainForm();
    TTntAction action(nullptr);
    action.SetHint(u"Подсказка");
    const std::vector<TControl*> controls{
        child<TTntComboBox>(form.get(), alNone, {0, 0, 80, 22}),
        child<TTntListBox>(form.get(), alNone, {0, 30, 80, 40}),
        child<TTntTreeView>(form.get(), alNone, {0, 80, 80, 40}),
        child<TTntRichEdit>(form.get(), alNone, {0, 130, 80, 40}),
    };
    for (TControl* control : controls) {
        control->SetAction(&action);
        EXPECT_EQ(TntControl_GetHint(control), u"Подсказка") << control->ClassName();
    }
    action.SetHint(u"Другая");
    for (TControl* control : controls)
        EXPECT_EQ(TntControl_GetHint(control), u"Другая") << control->ClassName();
}

TEST_F(VisualTest, AControlNamedAsItsCaptionTakesTheActionsCaptionButKeepsItsOwnHint) {
    auto form = plainForm();
    auto* label = child<TMark>(form.get(), alNone, {0, 0, 10, 10});
    label->SetName("Label1");
    TntControl_SetText(label, u"Label1");
    TntControl_SetHint(label, u"своя");
    TTntAction action(nullptr);
    action.SetCaption(u"Действие");
    action.SetHint(u"чужая");
    TntControl_BeforeInherited_ActionChange(label, &action, true);
    EXPECT_EQ(TntControl_GetText(label), u"Действие");
    EXPECT_EQ(TntControl_GetHint(label), u"своя");
    TntControl_SetText(label, u"другое");
    TntControl_BeforeInherited_ActionChange(label, &action, true);
    EXPECT_EQ(TntControl_GetText(label), u"другое");
    TntControl_BeforeInherited_ActionChange(label, &action, false);
    EXPECT_EQ(TntControl_GetHint(label), u"чужая");
}

TEST(WideActions, TheWideHintActionCarriesAWideHint) {
    TTntHintAction action(nullptr);
    action.SetHint(u"Строка состояния");
    EXPECT_EQ(action.Hint(), u"Строка состояния");
    EXPECT_EQ(action.THintAction::Hint(), WideToAnsi(u"Строка состояния"));
}

// Wide controls of every kind for the link-class table.
class TWideComboBoxEx : public TTntHinted<TComboBoxEx> {
public:
    using TTntHinted::TTntHinted;
};
class TWideListView : public TTntHinted<TListView> {
public:
    using TTntHinted::TTntHinted;
};
class TWideSpeedButton : public TTntHinted<TSpeedButton> {
public:
    using TTntHinted::TTntHinted;
};
class TWideToolButton : public TTntHinted<TToolButton> {
public:
    using TTntHinted::TTntHinted;
};

TEST(WideActionLinks, EachControlKindGetsTheWideTwinOfItsLinkClass) {
    TTntAction action(nullptr);
    action.SetCaption(u"Действие");
    struct Case {
        std::function<TControl*()> make;
        TClass link;
    };
    const Case cases[] = {
        {[] { return new TTntLabel(nullptr); }, ClassOf<TTntControlActionLink>()},
        {[] { return new TTntEdit(nullptr); }, ClassOf<TTntWinControlActionLink>()},
        {[] { return new TTntButton(nullptr); }, ClassOf<TTntButtonActionLink>()},
        {[] { return new TTntCheckBox(nullptr); }, ClassOf<TTntButtonActionLink>()},
        {[] { return new TTntRadioButton(nullptr); }, ClassOf<TTntButtonActionLink>()},
        {[] { return new TWideListView(nullptr); }, ClassOf<TTntListViewActionLink>()},
        {[] { return new TWideComboBoxEx(nullptr); }, ClassOf<TTntComboBoxExActionLink>()},
        {[] { return new TWideSpeedButton(nullptr); }, ClassOf<TTntSpeedButtonActionLink>()},
        {[] { return new TWideToolButton(nullptr); }, ClassOf<TTntToolButtonActionLink>()},
    };
    for (const Case& c : cases) {
        std::unique_ptr<TControl> control(c.make());
        control->SetAction(&action);
        EXPECT_EQ(ClassTypeOf(control->ActionLink()), c.link) << c.link->ClassName();
        EXPECT_EQ(TntControl_GetText(control.get()), u"Действие") << c.link->ClassName();
        action.SetCaption(u"Щ");
        EXPECT_EQ(TntControl_GetText(control.get()), u"Щ") << c.link->ClassName();
        action.SetCaption(u"Действие");
        control->SetAction(nullptr);
    }
}

TEST(WideActionLinks, ATwinThatDoesNotDeriveFromTheFrameworksLinkIsAnError) {
    TTntLabel label(nullptr);
    EXPECT_THROW(TntControl_GetActionLinkClass(&label, ActionLinkClassOf<TWinControlActionLink>()),
                 EAssertionFailed);
}

TEST(WideActionLinks, AButtonIsCheckedWithItsAction) {
    TTntAction action(nullptr);
    TTntCheckBox box(nullptr);
    box.SetAction(&action);
    action.SetChecked(true);
    EXPECT_TRUE(box.Checked());
}

} // namespace
