#include "VisualTestSupport.h"

#include "platform/vcl/ListViews.h"
#include "platform/win/Focus.h"
#include "platform/win/Messages.h"
#include "platform/win/Painting.h"
#include "platform/win/WindowPos.h"
#include "platform/win/Windows.h"

#include <typeinfo>

namespace {

using ListViewsTest = VisualTest;

struct TListEvents : TObject {
    std::vector<std::string> lines;
    bool allow = true;
    void Changing(TObject*, TListItem* Item, TItemChange, bool& AllowChange) {
        lines.push_back("changing " + Item->Caption());
        AllowChange = allow;
    }
    void Select(TObject*, TListItem* Item, bool Selected) {
        lines.push_back((Selected ? "select " : "unselect ") + Item->Caption());
    }
    void Deletion(TObject*, TListItem* Item) { lines.push_back("delete " + Item->Caption()); }
    void Column(TObject*, TListColumn* Column) { lines.push_back("column " + Column->Caption()); }
    void Edited(TObject*, TListItem*, AnsiString& S) { S = "[" + S + "]"; }
    void Compare(TObject*, TListItem* Item1, TListItem* Item2, Integer, Integer& Compare) {
        Compare =
            static_cast<Integer>(Item2->Caption().size()) - static_cast<Integer>(Item1->Caption().size());
    }
};

struct ListFixture {
    std::unique_ptr<TForm> form;
    TListView* list = nullptr;
    TListEvents events;

    explicit ListFixture(std::unique_ptr<TForm> Form) : form(std::move(Form)) {
        list = new TListView(form.get());
        list->SetParent(form.get());
        list->SetBounds(5, 5, 280, 180);
        list->SetViewStyle(vsReport);
        list->SetHideSelection(false);
        list->Columns()->Add()->SetCaption("Title");
        list->Columns()->Add()->SetCaption("Category");
        for (const char* title : {"Clock", "Snow", "Menu", "Rollover"}) {
            TListItem* item = list->Items()->Add();
            item->SetCaption(title);
            item->SubItems()->Add(std::string(title) + " effects");
        }
        list->OnChanging = TLVChangingEvent(&events, &TListEvents::Changing);
        list->OnSelectItem = TLVSelectItemEvent(&events, &TListEvents::Select);
        list->OnDeletion = TLVDeletedEvent(&events, &TListEvents::Deletion);
        list->OnColumnClick = TLVColumnClickEvent(&events, &TListEvents::Column);
        list->OnEdited = TLVEditedEvent(&events, &TListEvents::Edited);
        form->Show();
        Application->ProcessMessages();
    }

    WideString windowText(Integer Index, Integer Sub) {
        WCHAR buffer[64] = {};
        LVITEMW item;
        item.iSubItem = Sub;
        item.pszText = buffer;
        item.cchTextMax = 64;
        SendMessageW(list->Handle(), LVM_GETITEMTEXTW, static_cast<WPARAM>(Index),
                     reinterpret_cast<LPARAM>(&item));
        return buffer;
    }

    TPoint centreOf(Integer Index) {
        TRect rect = list->Items()->Item(Index)->DisplayRect(LVIR_LABEL);
        return {rect.Left + 4, rect.Top + rect.Height() / 2};
    }
};

TEST_F(ListViewsTest, TheWindowShowsTheFrameworksItemsAndColumns) {
    ListFixture f(plainForm());
    EXPECT_EQ(SendMessageA(f.list->Handle(), LVM_GETITEMCOUNT, 0, 0), 4);
    EXPECT_EQ(f.windowText(1, 0), u"Snow");
    EXPECT_EQ(f.windowText(1, 1), u"Snow effects");
    f.list->Items()->Item(1)->SetCaption("Snowfall");
    f.list->Items()->Item(1)->SubItems()->SetStrings(0, "Seasonal");
    EXPECT_EQ(f.windowText(1, 0), u"Snowfall");
    EXPECT_EQ(f.windowText(1, 1), u"Seasonal");
    char header[16] = {};
    LVCOLUMNA column;
    column.mask = LVCF_TEXT;
    column.pszText = header;
    column.cchTextMax = 16;
    SendMessageA(f.list->Handle(), LVM_GETCOLUMNA, 1, reinterpret_cast<LPARAM>(&column));
    EXPECT_STREQ(header, "Category");
    f.list->Columns()->Items(0)->SetWidth(120);
    EXPECT_EQ(SendMessageA(f.list->Handle(), LVM_GETCOLUMNWIDTH, 0, 0), 120);
    // A new window keeps the items.
    f.list->SetMultiSelect(true);
    Application->ProcessMessages();
    EXPECT_EQ(f.windowText(3, 0), u"Rollover");
}

TEST_F(ListViewsTest, ClicksAndKeysSelectThroughTheEvents) {
    ListFixture f(plainForm());
    backend.Click(f.list->Handle(), f.centreOf(1));
    Application->ProcessMessages();
    EXPECT_EQ(f.list->Selected(), f.list->Items()->Item(1));
    EXPECT_EQ(f.events.lines, (std::vector<std::string>{"changing Snow", "select Snow"}));
    f.events.lines.clear();
    backend.PressKey(VK_DOWN);
    Application->ProcessMessages();
    EXPECT_EQ(f.list->Selected(), f.list->Items()->Item(2));
    EXPECT_EQ(f.events.lines,
              (std::vector<std::string>{"changing Snow", "unselect Snow", "changing Menu", "select Menu"}));
    f.events.lines.clear();
    f.events.allow = false;
    backend.PressKey(VK_UP);
    Application->ProcessMessages();
    EXPECT_EQ(f.list->Selected(), f.list->Items()->Item(2));
    EXPECT_TRUE(f.list->Items()->Item(2)->Focused());
    EXPECT_EQ(f.list->SelCount(), 1);
}

TEST_F(ListViewsTest, SortingDeletingAndColumnClicks) {
    ListFixture f(plainForm());
    f.list->OnCompare = TLVCompareEvent(&f.events, &TListEvents::Compare);
    EXPECT_TRUE(f.list->AlphaSort());
    EXPECT_EQ(f.list->Items()->Item(0)->Caption(), "Rollover");
    EXPECT_EQ(f.windowText(0, 0), u"Rollover");
    EXPECT_EQ(f.list->Items()->Item(3)->Caption().size(), 4u);
    f.list->OnCompare = nullptr;
    f.list->AlphaSort();
    EXPECT_EQ(f.list->Items()->Item(0)->Caption(), "Clock");
    EXPECT_EQ(f.list->FindCaption(0, "men", true, true, false), f.list->Items()->Item(1));

    backend.Click(f.list->Handle(), {75, 6});
    Application->ProcessMessages();
    f.list->Items()->Item(0)->Delete();
    EXPECT_EQ(f.list->Items()->Count(), 3);
    EXPECT_EQ(SendMessageA(f.list->Handle(), LVM_GETITEMCOUNT, 0, 0), 3);
    f.list->Items()->Clear();
    EXPECT_EQ(f.events.lines, (std::vector<std::string>{"column Category", "delete Clock", "delete Snow",
                                                        "delete Rollover", "delete Menu"}));
}

TEST_F(ListViewsTest, EditingALabelGoesThroughOnEdited) {
    ListFixture f(plainForm());
    HWND edit = reinterpret_cast<HWND>(SendMessageA(f.list->Handle(), LVM_EDITLABELA, 2, 0));
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(f.list->IsEditing());
    SetWindowTextA(edit, "Dropdown");
    backend.PressKey(VK_RETURN);
    Application->ProcessMessages();
    EXPECT_FALSE(f.list->IsEditing());
    EXPECT_EQ(f.list->Items()->Item(2)->Caption(), "[Dropdown]");
    EXPECT_EQ(f.windowText(2, 0), u"[Dropdown]");
}

TEST_F(ListViewsTest, AnOwnerDataListAsksOnDataForTheItemAtEachIndex) {
    auto form = plainForm();
    auto* list = new TListView(form.get());
    list->SetParent(form.get());
    list->SetBounds(5, 5, 280, 180);
    list->SetViewStyle(vsReport);
    list->Columns()->Add()->SetCaption("Title");
    list->SetOwnerData(true);
    struct TData {
        void Fill(TObject*, TListItem* Item) { Item->SetCaption("Row " + std::to_string(Item->Index())); }
    } data;
    list->OnData = TLVOwnerDataEvent(&data, &TData::Fill);
    list->SetItemCount(3);
    form->Show();
    Application->ProcessMessages();
    EXPECT_EQ(list->Items()->Item(2)->Caption(), "Row 2");
    WCHAR buffer[16] = {};
    LVITEMW item;
    item.pszText = buffer;
    item.cchTextMax = 16;
    SendMessageW(list->Handle(), LVM_GETITEMTEXTW, 1, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(WideString(buffer), u"Row 1");

    // The list holds no texts: OnDataFind answers a search, told what to find and from where.
    struct TFind {
        std::vector<AnsiString> asked;
        void Find(TObject*, TItemFind Find, const AnsiString& FindString, const TPoint&, void*,
                  Integer StartIndex, TSearchDirection, bool Wrap, Integer& Index) {
            asked.push_back(FindString + " " + std::to_string(Find) + " " + std::to_string(StartIndex) + " " +
                            std::to_string(Wrap));
            Index = FindString == "Row 2" ? 2 : -1;
        }
    } find;
    list->OnDataFind = TLVOwnerDataFindEvent(&find, &TFind::Find);
    TListItem* found = list->FindCaption(1, "Row 2", false, true, true);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->Index(), 2);
    EXPECT_EQ(list->FindCaption(0, "Row", true, false, false), nullptr);
    EXPECT_EQ(find.asked, (std::vector<AnsiString>{"Row 2 2 1 1", "Row 1 1 0"}));
}

class TTaggedItem : public TListItem {
public:
    using TListItem::TListItem;
};
const TClass TaggedItemClass = DescribeClass<TTaggedItem, TListItem>();

TEST_F(ListViewsTest, OnCreateItemClassNamesTheClassOfNewItems) {
    TListView list(nullptr);
    struct TClasses {
        void Choose(TObject*, TListItemClass& ItemClass) { ItemClass = ListItemClassOf<TTaggedItem>(); }
    } classes;
    TListItem* plain = list.Items()->Add();
    EXPECT_EQ(typeid(*plain), typeid(TListItem));
    list.OnCreateItemClass = TLVCreateItemClassEvent(&classes, &TClasses::Choose);
    TListItem* tagged = list.Items()->Add();
    EXPECT_EQ(typeid(*tagged), typeid(TTaggedItem));
}

// Text ink, smoothed or not: dark in all three colours.
bool darkInk(TColor Colour) {
    return (Colour & 0xFF) < 0x60 && ((Colour >> 8) & 0xFF) < 0x60 && ((Colour >> 16) & 0xFF) < 0x60;
}

struct TRowPainter : TObject {
    std::vector<std::string> drawn;
    void Draw(TCustomListView* Sender, TListItem* Item, const TRect& Rect, TOwnerDrawState State) {
        drawn.push_back(Item->Caption());
        Sender->Canvas()->Brush()->SetColor(State.Contains(odSelected) ? clRed : clBlue);
        Sender->Canvas()->FillRect(Rect);
    }
    std::vector<std::string> offered;
    void Tip(TObject*, TListItem* Item, AnsiString& InfoTip) {
        offered.push_back(InfoTip);
        InfoTip = "About " + Item->Caption();
    }
};

TEST_F(ListViewsTest, AnOwnerDrawnReportListDrawsEachRowThroughOnDrawItem) {
    ListFixture f(plainForm());
    TRowPainter painter;
    f.list->OnDrawItem = TLVDrawItemEvent(&painter, &TRowPainter::Draw);
    f.list->SetOwnerDraw(true);
    f.list->Items()->Item(1)->SetSelected(true);
    Application->ProcessMessages();
    const TRect second = f.list->Items()->Item(1)->DisplayRect(LVIR_BOUNDS);
    EXPECT_EQ(PixelAt(f.list->Handle(), {second.Left + 20, second.Top + second.Height() / 2}), clRed);
    const TRect third = f.list->Items()->Item(2)->DisplayRect(LVIR_BOUNDS);
    EXPECT_EQ(PixelAt(f.list->Handle(), {third.Left + 20, third.Top + third.Height() / 2}), clBlue);
    EXPECT_NE(std::find(painter.drawn.begin(), painter.drawn.end(), "Rollover"), painter.drawn.end());

    // Without a handler the row is the brush's colour with the caption on it, no sub-items.
    f.list->OnDrawItem = nullptr;
    f.list->SetColor(clYellow);
    f.list->Items()->Item(1)->SetSelected(false);
    InvalidateRect(f.list->Handle(), nullptr, TRUE);
    Application->ProcessMessages();
    const TRect first = f.list->Items()->Item(0)->DisplayRect(LVIR_BOUNDS);
    EXPECT_EQ(PixelAt(f.list->Handle(), {first.Left + 60, first.Top + 1}), clYellow);
    Integer dark = 0;
    Integer darkInSubItem = 0;
    for (Integer y = first.Top; y < first.Bottom; ++y)
        for (Integer x = first.Left; x < first.Right; ++x) {
            const bool isDark = darkInk(PixelAt(f.list->Handle(), {x, y}));
            dark += isDark ? 1 : 0;
            darkInSubItem += isDark && x > f.list->Columns()->Items(0)->Width() ? 1 : 0;
        }
    EXPECT_GT(dark, 10);
    EXPECT_EQ(darkInSubItem, 0);
}

TEST_F(ListViewsTest, RestingTheMouseOnAnItemShowsTheTipOnInfoTipGives) {
    ListFixture f(plainForm());
    TRowPainter events;
    f.list->OnInfoTip = TLVInfoTipEvent(&events, &TRowPainter::Tip);
    f.list->Columns()->Items(0)->SetWidth(30);
    Application->ProcessMessages();
    auto* tip = reinterpret_cast<HWND>(SendMessageA(f.list->Handle(), LVM_GETTOOLTIPS, 0, 0));
    ASSERT_NE(tip, nullptr);
    backend.MoveMouse(f.list->Handle(), f.centreOf(3));
    Application->ProcessMessages();
    EXPECT_FALSE(IsWindowVisible(tip));
    SendMessageW(tip, WM_TIMER, 1, 0);
    EXPECT_TRUE(IsWindowVisible(tip));
    EXPECT_EQ(events.offered, std::vector<std::string>{"Rollover"});
    RECT shown;
    GetWindowRect(tip, &shown);
    EXPECT_GT(shown.Width(), 60);

    // The next item's tip follows once the mouse rests on it; its caption fits, so it starts empty.
    f.list->Columns()->Items(0)->SetWidth(150);
    backend.MoveMouse(f.list->Handle(), f.centreOf(1));
    Application->ProcessMessages();
    EXPECT_FALSE(IsWindowVisible(tip));
    SendMessageW(tip, WM_TIMER, 1, 0);
    EXPECT_TRUE(IsWindowVisible(tip));
    EXPECT_EQ(events.offered, (std::vector<std::string>{"Rollover", ""}));
}

} // namespace
