// Wide actions: the wide texts beside the framework's ANSI ones, the links
// that carry them to wide clients even when the ANSI form does not change,
// and what a control takes from an action when it is linked.
#include "platform/vcl/tests/VisualTestSupport.h"

#include "platform/core/CodePages.h"
#include "unicode/TntActnList.h"
#include "unicode/TntControls.h"
#include "unicode/TntMenus.h"
#include "unicode/TntStdActns.h"

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

} // namespace
