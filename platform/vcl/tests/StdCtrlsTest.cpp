#include "VisualTestSupport.h"

#include "platform/vcl/Filers.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/win/Focus.h"
#include "platform/win/Fonts.h"
#include "platform/win/Gdi.h"
#include "platform/win/ListBoxControl.h"
#include "platform/win/ScrollBarControl.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/Messages.h"
#include "platform/win/Painting.h"
#include "platform/win/WindowPos.h"
#include "platform/win/Windows.h"

#include <filesystem>

namespace {

// Records the events of the controls it is connected to, by control name.
struct TEventLog : TObject {
    std::vector<std::string> lines;
    void Add(TObject* Sender, const std::string& What) {
        lines.push_back(static_cast<TComponent*>(Sender)->Name() + " " + What);
    }
    void Click(TObject* Sender) { Add(Sender, "Click"); }
    void DblClick(TObject* Sender) { Add(Sender, "DblClick"); }
    void Change(TObject* Sender) { Add(Sender, "Change"); }
    void Select(TObject* Sender) { Add(Sender, "Select"); }
    void DropDown(TObject* Sender) { Add(Sender, "DropDown"); }
    void CloseUp(TObject* Sender) { Add(Sender, "CloseUp"); }
    void DrawItem(TWinControl* Control, Integer Index, const TRect& Rect, TOwnerDrawState State) {
        Add(Control, "Draw " + std::to_string(Index) + (State.Contains(odSelected) ? " selected" : "") +
                         (State.Contains(odComboBoxEdit) ? " field" : ""));
        auto* canvas = dynamic_cast<TCustomListBox*>(Control)
                           ? static_cast<TCustomListBox*>(Control)->Canvas()
                           : static_cast<TCustomComboBox*>(Control)->Canvas();
        canvas->FillRect(Rect);
    }
    void MeasureItem(TWinControl* Control, Integer Index, Integer& Height) {
        Add(Control, "Measure " + std::to_string(Index));
        Height = 10 + Index * 4;
    }
};

class StdCtrlsTest : public VisualTest {
protected:
    std::unique_ptr<TForm> form = plainForm(400, 300);
    TEventLog log;

    template <typename T> T* make(const char* Name, Place Bounds) {
        T* control = child<T>(form.get(), alNone, Bounds);
        control->SetName(Name);
        return control;
    }
    void show() {
        form->Show();
        Application->ProcessMessages();
    }
    void pump() { Application->ProcessMessages(); }
    void click(TWinControl* Control, POINT Point) {
        backend.Click(Control->Handle(), Point);
        pump();
    }
    void press(UINT Key, std::initializer_list<UINT> Modifiers = {}) {
        backend.PressKey(Key, Modifiers);
        pump();
    }
    std::vector<std::string> takeLog() { return std::exchange(log.lines, {}); }
};

using Lines = std::vector<std::string>;

// ---- Buttons ----

TEST_F(StdCtrlsTest, ButtonsClickAndAnswerEnterEscapeAndTheirAccelerator) {
    auto* ok = make<TButton>("Ok", {10, 10, 75, 25});
    auto* cancel = make<TButton>("Cancel", {100, 10, 75, 25});
    auto* other = make<TCheckBox>("Other", {10, 50, 100, 17});
    ok->SetCaption("&Ok");
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    cancel->SetCancel(true);
    cancel->SetCaption("Cancel");
    ok->OnClick = TNotifyEvent(&log, &TEventLog::Click);
    cancel->OnClick = TNotifyEvent(&log, &TEventLog::Click);
    show();
    click(ok, {10, 10});
    EXPECT_EQ(form->ModalResult(), mrOk);
    other->SetFocus();
    press(VK_RETURN);
    press(VK_ESCAPE);
    press('O', {VK_MENU});
    EXPECT_EQ(takeLog(), (Lines{"Ok Click", "Ok Click", "Cancel Click", "Ok Click"}));
    // While another button has the focus, it is the one Enter clicks.
    cancel->SetFocus();
    pump();
    EXPECT_EQ(GetWindowLongA(ok->Handle(), GWL_STYLE) & 0xF, 0);
    press(VK_RETURN);
    EXPECT_EQ(takeLog(), Lines{"Cancel Click"});
}

// A 16-bit character (from a Unicode window) is the accelerator of its
// character in the ANSI code page, never of its low byte.
TEST_F(StdCtrlsTest, AWideAcceleratorCharacterCountsByItsAnsiForm) {
    auto* apply = make<TButton>("Apply", {10, 10, 75, 25});
    auto* euro = make<TButton>("Euro", {100, 10, 75, 25});
    apply->SetCaption("&Apply");
    euro->SetCaption("&\x80 sign");
    apply->OnClick = TNotifyEvent(&log, &TEventLog::Click);
    euro->OnClick = TNotifyEvent(&log, &TEventLog::Click);
    show();
    EXPECT_EQ(apply->Perform(CM_DIALOGCHAR, 0x0141, 0), 0); // its low byte is "A"
    EXPECT_EQ(euro->Perform(CM_DIALOGCHAR, 0x20AC, 0), 1);
    EXPECT_EQ(apply->Perform(CM_DIALOGCHAR, 'a', 0), 1);
    EXPECT_EQ(takeLog(), (Lines{"Euro Click", "Apply Click"}));
}

TEST_F(StdCtrlsTest, CheckBoxesToggleByMouseKeyAndAccelerator) {
    auto* box = make<TCheckBox>("Box", {10, 10, 120, 17});
    box->SetCaption("&Show");
    box->OnClick = TNotifyEvent(&log, &TEventLog::Click);
    show();
    click(box, {5, 8});
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(SendMessageA(box->Handle(), 0x00F0, 0, 0), 1);
    press(VK_SPACE);
    EXPECT_FALSE(box->Checked());
    press('S', {VK_MENU});
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(takeLog(), (Lines{"Box Click", "Box Click", "Box Click"}));
    // The program's changes fire OnClick too; grayed comes only when allowed.
    box->SetChecked(false);
    EXPECT_EQ(takeLog(), Lines{"Box Click"});
    box->SetAllowGrayed(true);
    click(box, {5, 8});
    EXPECT_EQ(box->State(), cbGrayed);
    click(box, {60, 8});
    EXPECT_EQ(box->State(), cbChecked);
}

TEST_F(StdCtrlsTest, RadioButtonsUncheckTheirSiblings) {
    auto* first = make<TRadioButton>("First", {10, 10, 100, 17});
    auto* second = make<TRadioButton>("Second", {10, 30, 100, 17});
    first->OnClick = TNotifyEvent(&log, &TEventLog::Click);
    second->OnClick = TNotifyEvent(&log, &TEventLog::Click);
    first->SetChecked(true);
    show();
    click(second, {5, 8});
    EXPECT_FALSE(first->Checked());
    EXPECT_TRUE(second->Checked());
    EXPECT_TRUE(second->TabStop());
    EXPECT_FALSE(first->TabStop());
    EXPECT_EQ(SendMessageA(first->Handle(), 0x00F0, 0, 0), 0);
    EXPECT_EQ(takeLog(), (Lines{"First Click", "Second Click"}));
}

// ---- Labels, group boxes and static text ----

TEST_F(StdCtrlsTest, ALabelSizesItselfToItsTextAndFocusesItsControlOnItsAccelerator) {
    auto* label = make<TLabel>("Label", {10, 10, 200, 40});
    auto* edit = make<TEdit>("Edit", {10, 60, 100, 21});
    auto* other = make<TButton>("Other", {10, 100, 75, 25});
    label->SetCaption("&Name");
    Integer oneLine = label->Height();
    EXPECT_LT(label->Width(), 60);
    EXPECT_GT(oneLine, 8);
    label->SetCaption("&");
    EXPECT_EQ(label->Height(), oneLine);
    label->SetCaption("");
    EXPECT_EQ(label->Height(), oneLine);
    // Right alignment keeps the right edge where it was.
    label->SetCaption("Wide caption text");
    Integer right = label->Left() + label->Width();
    label->SetAlignment(taRightJustify);
    label->SetCaption("Short");
    EXPECT_EQ(label->Left() + label->Width(), right);

    label->SetCaption("&Name");
    label->SetFocusControl(edit);
    show();
    other->SetFocus();
    press('N', {VK_MENU});
    EXPECT_TRUE(edit->Focused());
    delete edit;
    EXPECT_EQ(label->FocusControl(), nullptr);
}

TEST_F(StdCtrlsTest, ADisabledLabelIsEmbossedAndATransparentOneLeavesItsBackground) {
    form->SetColor(clWhite);
    auto* label = make<TLabel>("Label", {10, 10, 0, 0});
    label->SetCaption("Ab");
    label->SetColor(clYellow);
    show();
    HWND window = form->Handle();
    EXPECT_EQ(PixelAt(window, {label->Left() + label->Width() - 1, label->Top() + 1}), clYellow);
    label->SetTransparent(true);
    pump();
    EXPECT_EQ(PixelAt(window, {label->Left() + label->Width() - 1, label->Top() + 1}), clWhite);
    // Disabled, the text is grey over white instead of dark.
    auto darkest = [&] {
        std::shared_ptr<PixelSurface> pixels = backend.Capture(window, true);
        Integer lowest = 3 * 255;
        for (Integer x = label->Left(); x <= label->Left() + label->Width(); ++x)
            for (Integer y = label->Top(); y <= label->Top() + label->Height(); ++y) {
                auto colour = static_cast<TColor>(ColorRefFromPixel(pixels->At(x, y) & PixelColourMask));
                lowest = std::min<Integer>(lowest, (colour & 0xFF) + ((colour >> 8) & 0xFF) +
                                                       ((colour >> 16) & 0xFF));
            }
        return lowest;
    };
    EXPECT_LT(darkest(), 3 * 64);
    label->SetEnabled(false);
    pump();
    Integer shadowSum = 3 * GetRValue(static_cast<COLORREF>(ColorToRGB(clBtnShadow)));
    EXPECT_GE(darkest(), shadowSum - 3 * 16);
    EXPECT_LT(darkest(), 3 * 200);
}

TEST_F(StdCtrlsTest, GroupBoxesHoldControlsBelowTheirCaptionAndSelectThemByAccelerator) {
    auto* group = make<TGroupBox>("Group", {10, 10, 200, 120});
    group->SetCaption("&Options");
    auto* inner = new TCheckBox(form.get());
    inner->SetName("Inner");
    inner->SetParent(group);
    inner->SetAlign(alTop);
    auto* other = make<TButton>("Other", {10, 150, 75, 25});
    show();
    EXPECT_GT(inner->Top(), 8);
    EXPECT_EQ(inner->Left(), 2);
    EXPECT_EQ(inner->Width(), 200 - 4);
    other->SetFocus();
    press('O', {VK_MENU});
    EXPECT_TRUE(inner->Focused());
}

TEST_F(StdCtrlsTest, StaticTextFitsItsCaptionAndFocusesItsControl) {
    auto* text = make<TStaticText>("Text", {10, 10, 0, 0});
    text->SetCaption("&Static");
    SIZE extent;
    HDC dc = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, text->Font()->Handle());
    GetTextExtentPoint32A(dc, "&Static", 7, &extent);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(text->Width(), extent.cx + 4);
    EXPECT_EQ(text->Height(), extent.cy + 4);
    auto* edit = make<TEdit>("Edit", {10, 60, 100, 21});
    text->SetFocusControl(edit);
    text->OnClick = TNotifyEvent(&log, &TEventLog::Click);
    show();
    press('S', {VK_MENU});
    EXPECT_TRUE(edit->Focused());
    click(text, {2, 2});
    EXPECT_EQ(takeLog(), Lines{"Text Click"});
}

// ---- List boxes ----

TEST_F(StdCtrlsTest, ListBoxItemsSelectionAndEvents) {
    auto* list = make<TListBox>("List", {10, 10, 150, 100});
    list->SetSorted(true);
    for (const char* item : {"pear", "Apple", "fig"})
        list->Items()->Add(item);
    EXPECT_EQ(list->Items()->Text(), "Apple\r\nfig\r\npear\r\n");
    EXPECT_EQ(list->Items()->IndexOf("FIG"), 1);
    list->Items()->SetObjects(2, list);
    list->OnClick = TNotifyEvent(&log, &TEventLog::Click);
    list->OnDblClick = TNotifyEvent(&log, &TEventLog::DblClick);
    show();
    TRect second = list->ItemRect(1);
    click(list, {5, second.Top + 2});
    EXPECT_EQ(list->ItemIndex(), 1);
    EXPECT_TRUE(list->Selected(1));
    backend.DoubleClick(list->Handle(), {5, second.Top + 2});
    pump();
    press(VK_DOWN);
    EXPECT_EQ(list->ItemIndex(), 2);
    // The list reports every click it ends, on the selected item too; the
    // press after the first click makes the double click.
    EXPECT_EQ(takeLog(), (Lines{"List Click", "List DblClick", "List Click", "List Click", "List Click"}));
    list->SetItemIndex(0);
    EXPECT_TRUE(takeLog().empty());
    EXPECT_EQ(list->ItemAtPos({5, second.Top + 2}, true), 1);
    EXPECT_EQ(list->ItemAtPos({5, 95}, true), -1);
    EXPECT_THROW(list->Items()->Strings(9), EStringListError);
    EXPECT_THROW(list->Selected(9), EListError);

    // Making the window again keeps the items, their objects and the selection.
    list->SetSorted(false);
    list->SetItemIndex(2);
    list->SetMultiSelect(true);
    EXPECT_EQ(list->Items()->Count(), 3);
    EXPECT_EQ(list->Items()->Objects(2), list);
    EXPECT_EQ(list->ItemIndex(), 2);
    list->SetSelected(0, true);
    list->SetSelected(2, true);
    EXPECT_EQ(list->SelCount(), 2);
}

TEST_F(StdCtrlsTest, OwnerDrawnListBoxesDrawAndMeasureThroughTheirEvents) {
    auto* fixed = make<TListBox>("Fixed", {10, 10, 150, 100});
    fixed->SetStyle(lbOwnerDrawFixed);
    fixed->SetItemHeight(20);
    fixed->OnDrawItem = TDrawItemEvent(&log, &TEventLog::DrawItem);
    for (const char* item : {"one", "two"})
        fixed->Items()->Add(item);
    fixed->SetItemIndex(1);
    EXPECT_EQ(fixed->ItemRect(1).Top, 20);
    auto* variable = make<TListBox>("Variable", {170, 10, 150, 100});
    variable->SetStyle(lbOwnerDrawVariable);
    variable->OnMeasureItem = TMeasureItemEvent(&log, &TEventLog::MeasureItem);
    for (const char* item : {"one", "two", "three"})
        variable->Items()->Add(item);
    EXPECT_EQ(variable->ItemRect(2).Top, 10 + 14);
    EXPECT_EQ(takeLog(), (Lines{"Variable Measure 0", "Variable Measure 1", "Variable Measure 2"}));
    show();
    takeLog();
    fixed->Repaint();
    EXPECT_EQ(takeLog(), (Lines{"Fixed Draw 0", "Fixed Draw 1 selected"}));
}

TEST_F(StdCtrlsTest, AVirtualListBoxAsksOnDataForItsTexts) {
    auto* list = make<TListBox>("List", {10, 10, 150, 100});
    list->SetStyle(lbVirtual);
    struct Data : TObject {
        void Get(TWinControl*, Integer Index, AnsiString& Text) { Text = "item " + std::to_string(Index); }
    } data;
    list->OnData = TLBGetDataEvent(&data, &Data::Get);
    list->SetCount(1000);
    EXPECT_EQ(list->Count(), 1000);
    EXPECT_EQ(list->Items()->Strings(999), "item 999");
    char buffer[32] = {};
    EXPECT_EQ(SendMessageA(list->Handle(), LB_GETTEXT, 1000, reinterpret_cast<LPARAM>(buffer)), LB_ERR);
    EXPECT_THROW(list->Items()->Add("x"), EOutOfResources);
    list->SetItemIndex(3);
    // A new window keeps the number of items and the choice.
    list->SetIntegralHeight(true);
    EXPECT_EQ(list->Count(), 1000);
    EXPECT_EQ(list->ItemIndex(), 3);
    auto* copy = make<TListBox>("Copy", {200, 10, 150, 100});
    list->CopySelection(copy);
    EXPECT_EQ(copy->Items()->Text(), "item 3\r\n");
    TListBox plain(nullptr);
    EXPECT_THROW(plain.SetCount(3), EListError);
}

// ---- Combo boxes ----

TEST_F(StdCtrlsTest, ADropDownListChangesByKeysAndMouseAndReportsTheSelection) {
    auto* combo = make<TComboBox>("Combo", {10, 10, 150, 21});
    combo->SetStyle(csDropDownList);
    for (const char* item : {"one", "two", "three"})
        combo->Items()->Add(item);
    combo->OnChange = TNotifyEvent(&log, &TEventLog::Change);
    combo->OnClick = TNotifyEvent(&log, &TEventLog::Click);
    combo->OnDropDown = TNotifyEvent(&log, &TEventLog::DropDown);
    combo->OnCloseUp = TNotifyEvent(&log, &TEventLog::CloseUp);
    show();
    combo->SetFocus();
    press(VK_DOWN);
    EXPECT_EQ(combo->ItemIndex(), 0);
    EXPECT_EQ(combo->Text(), "one");
    // Without OnSelect, a choice is a change.
    EXPECT_EQ(takeLog(), (Lines{"Combo Click", "Combo Change"}));
    combo->OnSelect = TNotifyEvent(&log, &TEventLog::Select);
    click(combo, {10, 10});
    EXPECT_TRUE(combo->DroppedDown());
    // The list shows every item: three rows and its border.
    TRect list;
    GetWindowRect(combo->ListHandle(), &list);
    EXPECT_EQ(list.Height(), 3 * combo->ItemHeight() + 2);
    TRect third;
    SendMessageA(combo->ListHandle(), LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&third));
    backend.Click(combo->ListHandle(), {5, third.Top + 2});
    pump();
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_EQ(takeLog(), (Lines{"Combo DropDown", "Combo CloseUp", "Combo Click", "Combo Select"}));
    // Typing searches the items.
    press('T');
    EXPECT_EQ(combo->Text(), "two");
    combo->SetItemIndex(0);
    EXPECT_EQ(combo->Text(), "one");
}

TEST_F(StdCtrlsTest, ADropDownCompletesTypedTextAndKeepsItsKeysEvents) {
    auto* combo = make<TComboBox>("Combo", {10, 10, 150, 21});
    for (const char* item : {"Apple", "Banana"})
        combo->Items()->Add(item);
    combo->OnChange = TNotifyEvent(&log, &TEventLog::Change);
    std::vector<Word> keys;
    struct KeyRecorder : TObject {
        std::vector<Word>* keys;
        void KeyDown(TObject*, Word& Key, TShiftState) { keys->push_back(Key); }
    } recorder;
    recorder.keys = &keys;
    combo->OnKeyDown = TKeyEvent(&recorder, &KeyRecorder::KeyDown);
    show();
    combo->SetFocus();
    EXPECT_TRUE(combo->Focused());
    EXPECT_EQ(GetFocus(), combo->EditHandle());
    press('B');
    EXPECT_EQ(combo->Text(), "Banana");
    EXPECT_EQ(combo->SelStart(), 1);
    EXPECT_EQ(combo->SelLength(), 5);
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_FALSE(keys.empty());
    combo->SetAutoComplete(false);
    combo->SelectAll();
    combo->SetSelText("x");
    EXPECT_EQ(combo->Text(), "x");
    EXPECT_EQ(takeLog().back(), "Combo Change");
    // Recreating the window keeps items, choice and text.
    combo->SetItemIndex(0);
    combo->SetSorted(true);
    EXPECT_EQ(combo->Items()->Count(), 2);
    EXPECT_EQ(combo->ItemIndex(), 0);
    EXPECT_EQ(combo->Text(), "Apple");
    combo->Items()->Clear();
    EXPECT_EQ(combo->Text(), "Apple");
}

TEST_F(StdCtrlsTest, OwnerDrawnCombosDrawTheirFieldAndItems) {
    auto* combo = make<TComboBox>("Combo", {10, 10, 150, 21});
    combo->SetStyle(csOwnerDrawFixed);
    combo->SetItemHeight(18);
    combo->OnDrawItem = TDrawItemEvent(&log, &TEventLog::DrawItem);
    for (const char* item : {"one", "two"})
        combo->Items()->Add(item);
    combo->SetItemIndex(1);
    EXPECT_EQ(combo->ItemHeight(), 18);
    EXPECT_EQ(SendMessageA(combo->Handle(), CB_GETITEMHEIGHT, 0, 0), 18);
    show();
    combo->Repaint();
    EXPECT_EQ(takeLog().back(), "Combo Draw 1 selected field");
    combo->SetDroppedDown(true);
    UpdateWindow(combo->ListHandle());
    EXPECT_EQ(takeLog(), (Lines{"Combo Draw 0", "Combo Draw 1 selected"}));
    combo->SetDroppedDown(false);
}

// ---- Form resources ----

TEST_F(StdCtrlsTest, TheControlsAreReadFromFormResources) {
    TForm read(nullptr);
    ReadComponentText("object Main: TForm\n"
                      "  Left = 0\n  Top = 0\n  Width = 400\n  Height = 300\n"
                      "  object Caption: TLabel\n    Left = 8\n    Top = 8\n    Caption = '&Name'\n"
                      "    Layout = tlCenter\n    WordWrap = True\n  end\n"
                      "  object Go: TButton\n    Left = 8\n    Top = 30\n    Caption = 'Go'\n"
                      "    Default = True\n    ModalResult = 1\n  end\n"
                      "  object Export: TCheckBox\n    Left = 8\n    Top = 60\n    Caption = 'Export'\n"
                      "    State = cbChecked\n  end\n"
                      "  object Choice: TRadioButton\n    Left = 8\n    Top = 80\n    Checked = True\n  end\n"
                      "  object Frame: TGroupBox\n    Left = 150\n    Top = 8\n    Caption = 'Frame'\n  end\n"
                      "  object Note: TStaticText\n    Left = 8\n    Top = 100\n    Caption = 'Note'\n"
                      "    BorderStyle = sbsSunken\n  end\n"
                      "  object Titles: TListBox\n    Left = 8\n    Top = 130\n    Sorted = True\n"
                      "    Items.Strings = (\n      'b'\n      'a')\n  end\n"
                      "  object Kinds: TComboBox\n    Left = 150\n    Top = 130\n    Style = csDropDownList\n"
                      "    DropDownCount = 12\n    Items.Strings = (\n      'x'\n      'y')\n  end\n"
                      "end\n",
                      &read);
    auto* label = static_cast<TLabel*>(read.FindComponent("Caption"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->Caption(), "&Name");
    EXPECT_EQ(label->Layout(), tlCenter);
    EXPECT_TRUE(label->WordWrap());
    auto* go = static_cast<TButton*>(read.FindComponent("Go"));
    EXPECT_TRUE(go->Default());
    EXPECT_EQ(go->ModalResult(), mrOk);
    EXPECT_TRUE(static_cast<TCheckBox*>(read.FindComponent("Export"))->Checked());
    EXPECT_TRUE(static_cast<TRadioButton*>(read.FindComponent("Choice"))->Checked());
    EXPECT_EQ(static_cast<TGroupBox*>(read.FindComponent("Frame"))->Caption(), "Frame");
    EXPECT_EQ(static_cast<TStaticText*>(read.FindComponent("Note"))->BorderStyle(), sbsSunken);
    auto* titles = static_cast<TListBox*>(read.FindComponent("Titles"));
    EXPECT_EQ(titles->Items()->Text(), "a\r\nb\r\n");
    auto* kinds = static_cast<TComboBox*>(read.FindComponent("Kinds"));
    EXPECT_EQ(kinds->Style(), csDropDownList);
    EXPECT_EQ(kinds->DropDownCount(), 12);
    EXPECT_EQ(kinds->Items()->Count(), 2);
}


// ---- TScrollBar ----------------------------------------------------------------------------

class ScrollBarTest : public VisualTest {
protected:
    std::unique_ptr<TForm> form = plainForm(300, 200);
    TScrollBar* bar = nullptr;
    std::vector<std::string> events;

    void SetUp() override {
        VisualTest::SetUp();
        bar = child<TScrollBar>(form.get(), alNone, {10, 10, 200, 17});
        bar->SetName("Bar");
        bar->OnChange = TNotifyEvent(this, &ScrollBarTest::changed);
        bar->OnScroll = TScrollEvent(this, &ScrollBarTest::scrolled);
        form->Show();
        Application->ProcessMessages();
    }
    void changed(TObject*) { events.push_back("change " + std::to_string(bar->Position())); }
    void scrolled(TObject*, TScrollCode Code, Integer& Position) {
        events.push_back("scroll " + std::to_string(Code) + " " + std::to_string(Position));
        if (Code == scPageDown) Position = 50;
    }
    void click(TPoint At) {
        backend.Click(bar->Handle(), At);
        Application->ProcessMessages();
    }
};

TEST_F(ScrollBarTest, PropertiesStayInRangeAndReachTheWindow) {
    bar->SetPosition(500);
    EXPECT_EQ(bar->Position(), 100);
    EXPECT_EQ(GetScrollPos(bar->Handle(), SB_CTL), 100);
    bar->SetMax(50);
    EXPECT_EQ(bar->Position(), 50);
    Integer low = 0;
    Integer high = 0;
    GetScrollRange(bar->Handle(), SB_CTL, &low, &high);
    EXPECT_EQ(high, 50);
    EXPECT_EQ(events, (std::vector<std::string>{"change 100", "change 50"}));
    bar->SetPageSize(10);
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_PAGE;
    GetScrollInfo(bar->Handle(), SB_CTL, &info);
    EXPECT_EQ(info.nPage, 10u);
    try {
        bar->SetMax(5);
        ADD_FAILURE() << "a maximum below the page size";
    } catch (const EInvalidOperation& error) {
        EXPECT_STREQ(error.what(), "Scrollbar property out of range");
    }
    EXPECT_THROW(bar->SetParams(0, 20, 10), EInvalidOperation);
}

TEST_F(ScrollBarTest, ArrowsAndPageClicksMoveBySmallAndLargeChange) {
    bar->SetSmallChange(3);
    bar->SetLargeChange(13);
    click({5, 8});
    EXPECT_EQ(bar->Position(), 0) << "the up arrow at the minimum";
    click({195, 8});
    EXPECT_EQ(bar->Position(), 3);
    click({150, 8});
    EXPECT_EQ(bar->Position(), 50) << "the scroll handler moved it on";
    EXPECT_EQ(events, (std::vector<std::string>{"scroll 0 0", "scroll 8 0", "scroll 1 3", "change 3",
                                                "scroll 8 3", "scroll 3 16", "change 50", "scroll 8 50"}));
}

TEST_F(ScrollBarTest, TurningTheKindTurnsTheSize) {
    bar->SetKind(sbVertical);
    // A vertical bar is right-aligned: its window takes the system's width.
    EXPECT_EQ(bar->Width(), GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(bar->Height(), 200);
    EXPECT_TRUE(GetWindowLongA(bar->Handle(), GWL_STYLE) & SBS_VERT);
}

TEST_F(ScrollBarTest, ThePageSizeSizesTheThumb) {
    auto* paged = child<TScrollBar>(form.get(), alNone, {10, 40, 200, 17});
    paged->SetPageSize(50);
    paged->SetPosition(25);
    form->SetColor(clWhite);
    Application->ProcessMessages();
    // Arrows of 16 pixels; the thumb spans half of the 168-pixel track from its quarter on.
    const TColor face = ColorToRGB(clBtnFace);
    EXPECT_EQ(PixelAt(form->Handle(), {10 + 16 + 42 + 10, 40 + 8}), face);
    const std::filesystem::path path = std::filesystem::path(ProgramFolder()).parent_path() / "scroll-bar.png";
    ASSERT_TRUE(backend.SavePng(form->Handle(), path.string()));
}

TEST_F(ScrollBarTest, ScrollBarsAreReadFromFormResources) {
    TForm read(nullptr);
    ReadComponentText("object Main: TForm\n  Width = 300\n  Height = 200\n"
                      "  object Zoom: TScrollBar\n    Left = 0\n    Top = 0\n    Width = 17\n"
                      "    Height = 100\n    Kind = sbVertical\n    Min = 10\n    Max = 400\n"
                      "    Position = 20\n    LargeChange = 40\n    PageSize = 30\n  end\nend\n",
                      &read);
    auto* zoom = static_cast<TScrollBar*>(read.FindComponent("Zoom"));
    ASSERT_NE(zoom, nullptr);
    EXPECT_EQ(zoom->Kind(), sbVertical);
    EXPECT_EQ(zoom->Height(), 100) << "a kind read from a resource keeps the size read";
    EXPECT_EQ(zoom->Min(), 10);
    EXPECT_EQ(zoom->Max(), 400);
    EXPECT_EQ(zoom->Position(), 20);
    EXPECT_EQ(zoom->LargeChange(), 40);
    EXPECT_EQ(zoom->PageSize(), 30);
}

} // namespace
