// The wide combo and list boxes: item operations on UTF-16 items, windows
// made again, the incremental search and completion, Enter in a dropped
// list and the order of the selection events.
#include "platform/vcl/tests/VisualTestSupport.h"

#include "platform/core/Clock.h"
#include "platform/core/CodePages.h"
#include "platform/win/ComboBoxControl.h"
#include "platform/win/ListBoxControl.h"
#include "platform/win/Messages.h"
#include "platform/win/WindowProcedures.h"
#include "platform/win/Windows.h"
#include "unicode/TntListBoxes.h"
#include "unicode/TntSystem.h"

#include <functional>
#include <string>
#include <vector>

namespace {

const WideString Tokyo = u"東京";
const WideString Osaka = u"大阪";
const WideString Kyoto = u"京都";
const WideString Nara = u"奈良";

// A combo box whose edit field's own procedure is watched, and whose events are logged.
class TWatchedCombo : public TTntComboBox {
public:
    using TTntComboBox::TTntComboBox;
    std::vector<std::string> events;
    std::vector<WideString> textsSeen;
    std::vector<UINT> charsReachingEdit;

    void Watch() {
        OnClick = TNotifyEvent(this, &TWatchedCombo::clicked);
        OnChange = TNotifyEvent(this, &TWatchedCombo::changed);
        watched() = this;
        original() = DefaultEditProc();
        SetDefaultEditProc(WindowProcFromFunction(&TWatchedCombo::editProc));
    }

private:
    void clicked(TObject*) {
        events.push_back("Click");
        textsSeen.push_back(Text());
    }
    void changed(TObject*) { events.push_back("Change"); }
    static TWatchedCombo*& watched() {
        static TWatchedCombo* combo = nullptr;
        return combo;
    }
    static WNDPROC& original() {
        static WNDPROC procedure = nullptr;
        return procedure;
    }
    static LRESULT editProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
        if (Msg == WM_CHAR) watched()->charsReachingEdit.push_back(static_cast<UINT>(WParam));
        return CallWindowProcW(original(), Window, Msg, WParam, LParam);
    }
};
const TClass WatchedComboClass = DescribeClass<TWatchedCombo, TTntComboBox>();

class ListBoxesTest : public VisualTest {
protected:
    std::unique_ptr<TForm> form = plainForm(400, 300);
    void TearDown() override {
        form.reset();
        UseSteppedClock(false);
        VisualTest::TearDown();
    }
    TWatchedCombo* combo(TComboBoxStyle Style, std::initializer_list<WideString> Items) {
        auto* control = child<TWatchedCombo>(form.get(), alNone, {10, 10, 150, 24});
        control->SetStyle(Style);
        form->Show();
        for (const WideString& item : Items)
            control->Items()->Add(item);
        return control;
    }
    TTntListBox* listBox(std::initializer_list<WideString> Items) {
        auto* control = child<TTntListBox>(form.get(), alNone, {10, 50, 150, 120});
        form->Show();
        for (const WideString& item : Items)
            control->Items()->Add(item);
        return control;
    }
    static void type(HWND Window, WideChar Char) { SendMessageW(Window, WM_CHAR, Char, 0); }
};

TObject* tag(std::intptr_t Value) {
    return reinterpret_cast<TObject*>(Value);
}

std::vector<WideString> itemsOf(TTntStrings* Items) {
    std::vector<WideString> items;
    for (Integer i = 0; i < Items->Count(); ++i)
        items.push_back(Items->Strings(i));
    return items;
}

struct ItemCase {
    const char* name;
    std::function<void(TTntStrings*)> operation;
    std::vector<WideString> expected;
    // The item data of each line afterwards (1, 2, 3 in the beginning).
    std::vector<std::intptr_t> data;
};

const std::vector<ItemCase> ItemCases = {
    {"Add", [](TTntStrings* s) { s->Add(Nara); }, {Tokyo, Osaka, Kyoto, Nara}, {1, 2, 3, 0}},
    {"Insert", [](TTntStrings* s) { s->Insert(1, Nara); }, {Tokyo, Nara, Osaka, Kyoto}, {1, 0, 2, 3}},
    {"Put", [](TTntStrings* s) { s->Put(1, Nara); }, {Tokyo, Nara, Kyoto}, {1, 2, 3}},
    {"Exchange", [](TTntStrings* s) { s->Exchange(0, 2); }, {Kyoto, Osaka, Tokyo}, {3, 2, 1}},
    {"Move", [](TTntStrings* s) { s->Move(0, 2); }, {Osaka, Kyoto, Tokyo}, {2, 3, 1}},
    {"Delete", [](TTntStrings* s) { s->Delete(0); }, {Osaka, Kyoto}, {2, 3}},
};

template <typename Control> void runItemCases(Control* control) {
    for (const ItemCase& item : ItemCases) {
        control->Items()->Clear();
        for (std::intptr_t i = 1; i <= 3; ++i)
            control->Items()->AddObject(std::vector<WideString>{Tokyo, Osaka, Kyoto}[i - 1], tag(i));
        item.operation(control->Items());
        EXPECT_EQ(itemsOf(control->Items()), item.expected) << item.name;
        for (Integer i = 0; i < control->Items()->Count(); ++i)
            EXPECT_EQ(control->Items()->Objects(i), tag(item.data[static_cast<std::size_t>(i)]))
                << item.name << " " << i;
        EXPECT_EQ(control->Items()->IndexOf(item.expected.back()),
                  static_cast<Integer>(item.expected.size()) - 1)
            << item.name;
        EXPECT_EQ(control->Items()->IndexOf(u"札幌"), -1) << item.name;
    }
}

TEST_F(ListBoxesTest, ItemOperationsKeepJapaneseItemsAndTheirData) {
    runItemCases(combo(csDropDown, {}));
    runItemCases(listBox({}));
}

TEST_F(ListBoxesTest, ListBoxLinesKeepTheSelectionWhenPutExchangedOrMoved) {
    TTntListBox* list = listBox({Tokyo, Osaka, Kyoto});
    list->SetItemIndex(1);
    list->Items()->Put(1, Nara);
    EXPECT_EQ(list->ItemIndex(), 1);
    list->Items()->Exchange(1, 2);
    EXPECT_EQ(list->ItemIndex(), 2);
    EXPECT_EQ(list->Items()->Strings(2), Nara);
    EXPECT_THROW(list->Items()->Strings(7), EStringListError);
}

TEST_F(ListBoxesTest, ClearingTheComboItemsKeepsItsText) {
    TWatchedCombo* box = combo(csDropDown, {Tokyo, Osaka});
    box->SetText(u"日本語のテキスト");
    box->Items()->Clear();
    EXPECT_EQ(box->Items()->Count(), 0);
    EXPECT_EQ(box->Text(), u"日本語のテキスト");
}

TEST_F(ListBoxesTest, WindowsMadeAgainKeepWideItemsIndexAndText) {
    TWatchedCombo* box = combo(csDropDown, {Tokyo, Osaka, Kyoto});
    box->SetItemIndex(2);
    box->SetText(u"京都府");
    box->RecreateWnd();
    EXPECT_EQ(itemsOf(box->Items()), (std::vector<WideString>{Tokyo, Osaka, Kyoto}));
    EXPECT_EQ(box->ItemIndex(), 2);
    EXPECT_EQ(box->Text(), u"京都府");

    box->SetItemIndex(1);
    box->SetStyle(csDropDownList);
    EXPECT_EQ(box->ItemIndex(), 1);
    EXPECT_EQ(box->Text(), Osaka);

    TTntListBox* list = listBox({Tokyo, Osaka, Kyoto, Nara});
    list->SetItemIndex(3);
    list->RecreateWnd();
    EXPECT_EQ(itemsOf(list->Items()), (std::vector<WideString>{Tokyo, Osaka, Kyoto, Nara}));
    EXPECT_EQ(list->ItemIndex(), 3);
}

TEST_F(ListBoxesTest, KeysOfADropDownListSearchTogetherUntil1250MillisecondsPass) {
    UseSteppedClock(true);
    TWatchedCombo* box = combo(csDropDownList, {u"ая", u"я", u"яа"});
    box->SetFocus();
    type(box->Handle(), u'я');
    EXPECT_EQ(box->ItemIndex(), 1);
    AdvanceClock(1249);
    type(box->Handle(), u'а');
    EXPECT_EQ(box->ItemIndex(), 2) << "one search text: \"яа\"";

    AdvanceClock(1250);
    type(box->Handle(), u'а');
    EXPECT_EQ(box->ItemIndex(), 0) << "a new search: \"а\"";
}

TEST_F(ListBoxesTest, TypingCompletesTheTextAndSelectsTheRest) {
    TWatchedCombo* box = combo(csDropDown, {u"xyz", u"abc", u"abd"});
    box->SetFocus();
    type(box->EditHandle(), u'a');
    type(box->EditHandle(), u'b');
    EXPECT_EQ(box->Text(), u"abc");
    EXPECT_EQ(box->SelStart(), 2);
    EXPECT_EQ(box->SelLength(), 1);
    EXPECT_EQ(box->SelText(), u"c");
    EXPECT_EQ(box->ItemIndex(), 1);
}

// Finds the item whose last character is the one typed.
class TEndingCombo : public TTntComboBox, public ITntComboFindString {
public:
    using TTntComboBox::TTntComboBox;
    Integer FindString(const WideString& Value, Integer StartPos) override {
        for (Integer i = StartPos + 1; i < Items()->Count(); ++i)
            if (Items()->Strings(i).ends_with(Value.back())) return i;
        return CB_ERR;
    }
};

TEST_F(ListBoxesTest, AComboThatFindsItsOwnItemsIsAskedWhileTyping) {
    auto* box = child<TEndingCombo>(form.get(), alNone, {10, 10, 150, 24});
    box->SetStyle(csDropDownList);
    form->Show();
    for (const char16_t* item : {u"ая", u"яб", u"бв"})
        box->Items()->Add(item);
    box->SetFocus();
    type(box->Handle(), u'б');
    EXPECT_EQ(box->ItemIndex(), 1);
}

TEST_F(ListBoxesTest, EnterInADroppedListClosesItWithoutReachingTheEdit) {
    TWatchedCombo* box = combo(csDropDown, {Tokyo, Osaka});
    box->Watch();
    box->SetDroppedDown(true);
    ASSERT_TRUE(box->DroppedDown());
    type(box->EditHandle(), u'\r');
    EXPECT_FALSE(box->DroppedDown());
    EXPECT_TRUE(box->charsReachingEdit.empty());
    type(box->EditHandle(), u'\r');
    EXPECT_EQ(box->charsReachingEdit, std::vector<UINT>{u'\r'}) << "a closed list passes Enter on";
}

TEST_F(ListBoxesTest, ChoosingAnItemSetsTheWideTextThenClicksThenChanges) {
    TWatchedCombo* box = combo(csDropDown, {Tokyo, Osaka});
    box->Watch();
    SendMessageW(box->Handle(), CB_SETCURSEL, 1, 0);
    box->Perform(CN_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE), reinterpret_cast<LPARAM>(box->Handle()));
    EXPECT_EQ(box->events, (std::vector<std::string>{"Click", "Change"}));
    EXPECT_EQ(box->textsSeen, std::vector<WideString>{Osaka});
}

TEST_F(ListBoxesTest, AVirtualListGivesItsWideTexts) {
    struct TData {
        void data(TWinControl*, Integer Index, WideString& Text) { Text = Index == 0 ? Tokyo : Osaka; }
    } source;
    TTntListBox* list = listBox({});
    list->SetStyle(lbVirtual);
    list->SetCount(2);
    EXPECT_EQ(SendMessageW(list->Handle(), LB_GETTEXTLEN, 1, 0), LB_ERR) << "no data event";
    list->OnDataW = TTntLBGetDataEvent(&source, &TData::data);
    WideChar buffer[8] = {};
    EXPECT_EQ(SendMessageW(list->Handle(), LB_GETTEXT, 1, reinterpret_cast<LPARAM>(buffer)), 2);
    EXPECT_EQ(WideString(buffer), Osaka);
    EXPECT_EQ(SendMessageW(list->Handle(), LB_GETTEXTLEN, 2, 0), LB_ERR) << "beyond the count";
}

} // namespace
