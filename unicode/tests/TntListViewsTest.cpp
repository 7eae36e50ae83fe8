// The wide list view: wide and ANSI texts kept together, a window made
// again, sorting and finding by wide captions, an in-place edit typed wide,
// and the window's text requests.
#include "platform/vcl/tests/VisualTestSupport.h"

#include "platform/core/CodePages.h"
#include "platform/win/CommonControls.h"
#include "platform/win/Kernel.h"
#include "platform/win/Messages.h"
#include "platform/win/Windows.h"
#include "unicode/TntForms.h"
#include "unicode/TntListViews.h"
#include "unicode/TntSystem.h"

#include <numeric>
#include <string>
#include <vector>

namespace {

class ListViewsTest : public VisualTest {
protected:
    // The list's parent is wide, so that the list notifies in UTF-16.
    std::unique_ptr<TTntForm> form = std::make_unique<TTntForm>(nullptr);
    TTntListView* list = nullptr;

    void SetUp() override {
        VisualTest::SetUp();
        // The program's start puts the hook in that dispatches typed characters wide.
        InitializeTntForms();
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 400, 300);
        list = child<TTntListView>(form.get(), alClient, {0, 0, 400, 300});
        list->SetViewStyle(vsReport);
        list->Columns()->Add()->SetCaption(u"名前");
        list->Columns()->Add()->SetCaption(u"都市");
        list->Columns()->Add()->SetCaption(u"国");
    }
    void TearDown() override {
        form.reset();
        VisualTest::TearDown();
    }

    TTntListItem* add(const WideString& Caption, std::initializer_list<WideString> SubItems = {}) {
        TTntListItem* item = list->Items()->Add();
        item->SetCaption(Caption);
        for (const WideString& text : SubItems)
            item->SubItems()->Add(text);
        return item;
    }

    WideString windowText(Integer Index, Integer SubItem) {
        WCHAR buffer[64] = {};
        LVITEMW item;
        item.iSubItem = SubItem;
        item.pszText = buffer;
        item.cchTextMax = 64;
        SendMessageW(list->Handle(), LVM_GETITEMTEXTW, static_cast<WPARAM>(Index),
                     reinterpret_cast<LPARAM>(&item));
        return buffer;
    }

    WideString columnText(Integer Index) {
        WCHAR buffer[64] = {};
        LVCOLUMNW column;
        column.mask = LVCF_TEXT;
        column.pszText = buffer;
        column.cchTextMax = 64;
        SendMessageW(list->Handle(), LVM_GETCOLUMNW, static_cast<WPARAM>(Index),
                     reinterpret_cast<LPARAM>(&column));
        return buffer;
    }

    std::vector<WideString> captions() {
        std::vector<WideString> result;
        for (Integer i = 0; i < list->Items()->Count(); ++i)
            result.push_back(list->Items()->Item(i)->Caption());
        return result;
    }

    std::vector<WideString> windowCaptions() {
        std::vector<WideString> result;
        for (Integer i = 0; i < list->Items()->Count(); ++i)
            result.push_back(windowText(i, 0));
        return result;
    }
};

TEST_F(ListViewsTest, AnAnsiWriteReplacesOnlyTheWideTextItChanges) {
    form->Show();
    TTntListItem* item = add(u"東京", {u"日本", u"中国"});
    EXPECT_EQ(item->TListItem::SubItems()->Strings(1), "??") << "wide changes reach the ANSI list";

    item->TListItem::SubItems()->SetStrings(1, "Paris");
    EXPECT_EQ(item->SubItems()->Strings(1), u"Paris");
    EXPECT_EQ(item->SubItems()->Strings(0), u"日本") << "an unchanged ANSI form keeps its wide text";
    EXPECT_EQ(windowText(0, 2), u"Paris");
    EXPECT_EQ(windowText(0, 1), u"日本");

    item->TListItem::SubItems()->Add("new");
    EXPECT_EQ(item->SubItems()->Count(), 3);
    EXPECT_EQ(item->SubItems()->Strings(2), u"new");
    item->TListItem::SubItems()->Delete(0);
    EXPECT_EQ(item->SubItems()->Count(), 2);
    EXPECT_EQ(item->SubItems()->Strings(0), u"Paris");

    item->TListItem::SetCaption("Rome");
    EXPECT_EQ(item->Caption(), u"Rome");
    EXPECT_EQ(windowText(0, 0), u"Rome");
}

TEST_F(ListViewsTest, AWindowMadeAgainKeepsTheWideTexts) {
    form->Show();
    add(u"一", {u"二", u"三"});
    add(u"四", {u"五"});
    list->SetMultiSelect(true);
    list->HandleNeeded();
    EXPECT_EQ(windowCaptions(), (std::vector<WideString>{u"一", u"四"}));
    EXPECT_EQ(windowText(0, 1), u"二");
    EXPECT_EQ(windowText(0, 2), u"三");
    EXPECT_EQ(windowText(1, 1), u"五");
    EXPECT_EQ(windowText(1, 2), u"");
    EXPECT_EQ(columnText(0), u"名前");
    EXPECT_EQ(columnText(2), u"国");

    list->Columns()->Items(1)->SetCaption(u"町");
    EXPECT_EQ(columnText(1), u"町") << "a new wide caption with the same ANSI form";
}

TEST_F(ListViewsTest, SortingWithoutOnCompareOrdersByTheWideCaptions) {
    form->Show();
    // One ANSI form ("?") for every caption.
    add(u"γ");
    add(u"α");
    add(u"β");
    list->AlphaSort();
    EXPECT_EQ(captions(), (std::vector<WideString>{u"α", u"β", u"γ"}));
    EXPECT_EQ(windowCaptions(), captions());

    struct TReversed {
        void Compare(TObject*, TListItem* A, TListItem* B, Integer, Integer& Result) {
            Result = -lstrcmpW(static_cast<TTntListItem*>(A)->Caption().c_str(),
                               static_cast<TTntListItem*>(B)->Caption().c_str());
        }
    } reversed;
    list->OnCompare = TLVCompareEvent(&reversed, &TReversed::Compare);
    list->AlphaSort();
    EXPECT_EQ(captions(), (std::vector<WideString>{u"γ", u"β", u"α"}));
}

TEST_F(ListViewsTest, FindCaptionByWideText) {
    form->Show();
    add(u"東京");
    add(u"東北");
    add(u"大阪");
    struct Case {
        Integer start;
        WideString value;
        bool partial;
        bool inclusive;
        bool wrap;
        Integer found;
    };
    const Case cases[] = {
        {0, u"東", true, true, false, 0},    {0, u"東", true, false, false, 1},
        {1, u"東", true, false, false, -1},  {1, u"東", true, false, true, 0},
        {0, u"東", false, true, false, -1},  {0, u"大阪", false, true, false, 2},
        {2, u"大阪", false, true, false, 2}, {2, u"大阪", false, false, false, -1},
        {2, u"大阪", false, false, true, 2}, {0, u"京都", true, true, true, -1},
    };
    for (const Case& c : cases) {
        TTntListItem* item = list->FindCaption(c.start, c.value, c.partial, c.inclusive, c.wrap);
        EXPECT_EQ(item ? item->Index() : -1, c.found)
            << c.start << " " << UTF8Encode(c.value) << " partial " << c.partial << " inclusive "
            << c.inclusive << " wrap " << c.wrap;
    }
}

struct TEditLog {
    WideString edited;
    std::vector<WideChar> pressed;
    void Edited(TObject*, TTntListItem*, WideString& S) {
        edited = S;
        S += u"!";
    }
    void KeyPress(TObject*, char& Key) { pressed.push_back(static_cast<Byte>(Key)); }
};

TEST_F(ListViewsTest, AssigningAWideItemCopiesItsWideTextsAndImages) {
    form->Show();
    TTntListItem* source = add(u"東京", {u"日本"});
    source->SetOverlayIndex(2);
    source->SetStateIndex(1);
    source->SetIndent(1);
    TTntListItem* copy = add(u"");
    copy->Assign(source);
    EXPECT_EQ(copy->Caption(), u"東京");
    EXPECT_EQ(copy->SubItems()->Strings(0), u"日本");
    EXPECT_EQ(copy->OverlayIndex(), 2);
    EXPECT_EQ(copy->StateIndex(), 1);
    EXPECT_EQ(SendMessageW(list->Handle(), LVM_GETITEMSTATE, 1, LVIS_OVERLAYMASK), 3 << 8)
        << "the window holds the overlay as its index + 1";
}

class TMarkedItem : public TTntListItem {
public:
    using TTntListItem::TTntListItem;
};
const TClass MarkedItemClass = DescribeClass<TMarkedItem, TTntListItem>();

TEST_F(ListViewsTest, OnCreateItemClassNamesTheClassOfNewItemsWhichMustBeWide) {
    struct TClasses {
        TListItemClass next = ListItemClassOf<TMarkedItem>();
        void Choose(TObject*, TListItemClass& ItemClass) { ItemClass = next; }
    } classes;
    list->OnCreateItemClass = TLVCreateItemClassEvent(&classes, &TClasses::Choose);
    EXPECT_NE(dynamic_cast<TMarkedItem*>(add(u"印")), nullptr);
    classes.next = ListItemClassOf<TListItem>();
    try {
        list->Items()->Add();
        ADD_FAILURE() << "a framework item in a wide list";
    } catch (const ETntInternalError& error) {
        EXPECT_EQ(error.Message,
                  "Internal Error: OnCreateItemClass.ItemClass must inherit from TTntListItem.");
    }
    EXPECT_EQ(list->Items()->Count(), 1);
}

TEST_F(ListViewsTest, CheckBoxesComeWithSubItemImagesAndInfoTips) {
    form->Show();
    auto extendedStyle = [&] {
        return static_cast<DWORD>(SendMessageW(list->Handle(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    };
    constexpr DWORD withCheckBoxes = LVS_EX_CHECKBOXES | LVS_EX_SUBITEMIMAGES | LVS_EX_INFOTIP;
    // The framework's check boxes would take the place of the other two.
    EXPECT_EQ(extendedStyle() & withCheckBoxes, LVS_EX_SUBITEMIMAGES | LVS_EX_INFOTIP);
    list->SetCheckboxes(true);
    EXPECT_EQ(extendedStyle() & withCheckBoxes, withCheckBoxes);
    EXPECT_EQ(columnText(0), u"名前")
        << "the empty column put in and taken out leaves the columns as they were";
    EXPECT_EQ(columnText(2), u"国");
    LVCOLUMNW fourth;
    EXPECT_EQ(SendMessageW(list->Handle(), LVM_GETCOLUMNW, 3, reinterpret_cast<LPARAM>(&fourth)), FALSE);
}

TEST_F(ListViewsTest, AnInPlaceEditTypedWideReachesOnEdited) {
    form->Show();
    TTntListItem* item = add(u"古い");
    TEditLog log;
    list->OnEdited = TTntLVEditedEvent(&log, &TEditLog::Edited);
    list->OnKeyPress = TKeyPressEvent(&log, &TEditLog::KeyPress);
    list->SetFocus();
    HWND edit = reinterpret_cast<HWND>(SendMessageW(list->Handle(), LVM_EDITLABELW, 0, 0));
    ASSERT_NE(edit, nullptr);
    backend.TypeText(u"新Ω");
    Application->ProcessMessages();
    EXPECT_EQ(log.pressed, (std::vector<WideChar>{255, 255}))
        << "the editor's keys reach the list view's handlers";
    backend.PressKey(VK_RETURN);
    Application->ProcessMessages();
    EXPECT_EQ(log.edited, u"新Ω");
    EXPECT_EQ(item->Caption(), u"新Ω!");
    EXPECT_EQ(windowText(0, 0), u"新Ω!");
    EXPECT_FALSE(list->IsEditing());
}

TEST_F(ListViewsTest, TheWindowsTextRequestGetsAtMostTheBufferLessOne) {
    form->Show();
    TTntListItem* item = add(u"東京", {u"日本"});
    struct Case {
        Integer subItem;
        int size;
        WideString received;
    };
    const Case cases[] = {
        {0, 0, u"####"},
        {0, 1, WideString(1, u'\0') + u"###"},
        {0, 2, WideString(u"東") + u'\0' + u"##"},
        {1, 8, WideString(u"日本") + u'\0' + u"#"},
        {2, 8, WideString(1, u'\0') + u"###"},
    };
    for (const Case& c : cases) {
        WCHAR buffer[] = u"####";
        NMLVDISPINFOW info;
        info.hdr.hwndFrom = list->Handle();
        info.hdr.code = LVN_GETDISPINFOW;
        info.item.mask = LVIF_TEXT | LVIF_PARAM;
        info.item.iSubItem = c.subItem;
        info.item.lParam = reinterpret_cast<LPARAM>(static_cast<TListItem*>(item));
        info.item.pszText = buffer;
        info.item.cchTextMax = c.size;
        list->Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
        EXPECT_EQ(WideString(buffer, 4), c.received) << c.subItem << " " << c.size;
        EXPECT_EQ(info.hdr.code, LVN_GETDISPINFOW);
        EXPECT_EQ(info.item.mask, LVIF_TEXT | LVIF_PARAM);
    }
}

TEST_F(ListViewsTest, AnOwnerDataItemShowsOnlyTheWideTextsOnDataGaveIt) {
    struct TData {
        void Fill(TObject*, TListItem* Item) {
            auto* item = static_cast<TTntListItem*>(Item);
            item->SetCaption(Item->Index() == 0 ? u"東京" : u"大阪");
            if (Item->Index() == 0) item->SubItems()->Add(u"日本");
        }
    } data;
    list->SetOwnerData(true);
    list->OnData = TLVOwnerDataEvent(&data, &TData::Fill);
    list->SetItemCount(2);
    form->Show();
    EXPECT_EQ(windowText(0, 0), u"東京");
    EXPECT_EQ(windowText(0, 1), u"日本");
    EXPECT_EQ(windowText(1, 0), u"大阪");
    EXPECT_EQ(windowText(1, 1), u"") << "no sub-item left from the item before";
}

// An owner-data list holds no texts: a wide search is answered by the wide
// OnDataFind, else by the framework's with the ANSI text.
TEST_F(ListViewsTest, AnOwnerDataListFindsThroughTheWideOnDataFind) {
    struct TFinder {
        std::vector<WideString> wide;
        std::vector<AnsiString> ansi;
        void FindWide(TObject*, TItemFind Find, const WideString& FindString, const TPoint&, void*, Integer,
                      TSearchDirection, bool, Integer& Index) {
            wide.push_back(FindString);
            Index = Find == ifPartialString && FindString == u"大" ? 1 : -1;
        }
        void FindAnsi(TObject*, TItemFind, const AnsiString& FindString, const TPoint&, void*, Integer,
                      TSearchDirection, bool, Integer& Index) {
            ansi.push_back(FindString);
            Index = 0;
        }
    } finder;
    list->SetOwnerData(true);
    list->SetItemCount(2);
    form->Show();
    list->OnDataFind = TTntLVOwnerDataFindEvent(&finder, &TFinder::FindWide);
    TTntListItem* found = list->FindCaption(0, u"大", true, true, false);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->Index(), 1);
    EXPECT_EQ(list->FindCaption(0, u"京都", false, true, false), nullptr);
    EXPECT_EQ(finder.wide, (std::vector<WideString>{u"大", u"京都"}));

    list->OnDataFind = nullptr;
    list->TCustomListView::OnDataFind = TLVOwnerDataFindEvent(&finder, &TFinder::FindAnsi);
    found = list->FindCaption(0, u"Köln", false, true, false);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->Index(), 0);
    EXPECT_EQ(finder.ansi, std::vector<AnsiString>{WideToAnsi(u"Köln")});
}

// The dark pixels of each column of an item's row, left to right.
std::vector<int> inkColumns(HWND Window, const TRect& Row) {
    std::vector<int> columns;
    for (Integer x = Row.Left; x < Row.Left + 120; ++x) {
        int dark = 0;
        for (Integer y = Row.Top; y < Row.Bottom; ++y) {
            const TColor colour = PixelAt(Window, {x, y});
            dark += (colour & 0xFF) < 0x60 && ((colour >> 8) & 0xFF) < 0x60 && ((colour >> 16) & 0xFF) < 0x60;
        }
        columns.push_back(dark);
    }
    return columns;
}

TEST_F(ListViewsTest, AnOwnerDrawnRowWithoutOnDrawItemShowsTheWideCaption) {
    add(u"Яблоко", {u"Москва"});
    add(u"??????");
    list->SetColor(clWhite);
    list->SetOwnerDraw(true);
    form->Show();
    Application->ProcessMessages();
    const std::vector<int> wide =
        inkColumns(list->Handle(), list->Items()->Item(0)->DisplayRect(LVIR_BOUNDS));
    const std::vector<int> ansi =
        inkColumns(list->Handle(), list->Items()->Item(1)->DisplayRect(LVIR_BOUNDS));
    EXPECT_GT(std::accumulate(wide.begin(), wide.end(), 0), 10);
    EXPECT_NE(wide, ansi) << "the caption is drawn wide, not as its ANSI form";
    EXPECT_EQ(wide[0] + wide[1], 0) << "the caption starts two pixels in";
}

struct TTipEvents : TObject {
    std::vector<AnsiString> offered;
    void Tip(TObject*, TListItem*, AnsiString& InfoTip) {
        offered.push_back(InfoTip);
        InfoTip = "Fruit";
    }
};

TEST_F(ListViewsTest, AnInfoTipAskedInUtf16IsAnsweredByTheFrameworksOnInfoTip) {
    add(u"Яблоко из сада");
    TTipEvents events;
    list->OnInfoTip = TLVInfoTipEvent(&events, &TTipEvents::Tip);
    list->Columns()->Items(0)->SetWidth(30);
    form->Show();
    Application->ProcessMessages();
    auto* tip = reinterpret_cast<HWND>(SendMessageW(list->Handle(), LVM_GETTOOLTIPS, 0, 0));
    ASSERT_NE(tip, nullptr);
    const TRect label = list->Items()->Item(0)->DisplayRect(LVIR_LABEL);
    backend.MoveMouse(list->Handle(), {label.Left + 4, label.Top + label.Height() / 2});
    Application->ProcessMessages();
    SendMessageW(tip, WM_TIMER, 1, 0);
    EXPECT_TRUE(IsWindowVisible(tip));
    EXPECT_EQ(events.offered, std::vector<AnsiString>{WideToAnsi(u"Яблоко из сада")});

    // The record the window sends gets the answer back in UTF-16, under its own code.
    events.offered.clear();
    WCHAR text[64] = {};
    NMLVGETINFOTIPW info;
    info.hdr.hwndFrom = list->Handle();
    info.hdr.code = LVN_GETINFOTIPW;
    info.pszText = text;
    info.cchTextMax = 64;
    info.iItem = 0;
    std::char_traits<WCHAR>::copy(text, u"Яблоко из сада", 15);
    SendMessageW(form->Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(events.offered, std::vector<AnsiString>{WideToAnsi(u"Яблоко из сада")});
    EXPECT_EQ(WideString(text), u"Fruit");
    EXPECT_EQ(info.hdr.code, LVN_GETINFOTIPW);
}

} // namespace
