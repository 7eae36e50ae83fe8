#include "CommonControlTestSupport.h"

#include "platform/win/Messages.h"

#include <cstring>

using namespace control_tests;
using namespace window_tests;

namespace {

class ListViewTest : public ControlTest {
protected:
    HWND parent = nullptr;
    HWND list = nullptr;

    HWND makeList(bool ansiParent, DWORD style) {
        parent = ansiParent ? AnsiParent(400, 300) : WideParent(400, 300);
        list = Control(WC_LISTVIEWW, style, parent, {10, 10, 310, 210});
        return list;
    }
    LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageW(list, message, wParam, lParam);
    }

    void addColumns() {
        LVCOLUMNA name;
        name.mask = LVCF_TEXT | LVCF_WIDTH;
        name.pszText = const_cast<char*>("Name");
        name.cx = 100;
        EXPECT_EQ(send(LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&name)), 0);
        LVCOLUMNW size;
        size.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        size.pszText = const_cast<WCHAR*>(u"Gr\u00F6\u00DFe");
        size.cx = 80;
        size.fmt = LVCFMT_RIGHT;
        EXPECT_EQ(send(LVM_INSERTCOLUMNW, 1, reinterpret_cast<LPARAM>(&size)), 1);
    }

    int addItem(const char* caption, LPARAM param, int index = 1000) {
        LVITEMA item;
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = index;
        item.pszText = const_cast<char*>(caption);
        item.lParam = param;
        return static_cast<int>(send(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    }

    WideString textOf(int index, int sub) {
        WCHAR buffer[64] = {};
        LVITEMW item;
        item.iSubItem = sub;
        item.pszText = buffer;
        item.cchTextMax = 64;
        send(LVM_GETITEMTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        return buffer;
    }

    POINT centreOf(int index) {
        RECT rect;
        rect.Left = LVIR_LABEL;
        send(LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
        return {rect.Left + 5, rect.Top + rect.Height() / 2};
    }

    UINT state(int index) {
        return static_cast<UINT>(
            send(LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_SELECTED | LVIS_FOCUSED));
    }
};

// Records the state changes a list view reports, as "changing 1 0>3".
struct ChangeLog {
    std::vector<std::string> lines;
    bool refuse = false;
    LRESULT operator()(NMHDR* header) {
        if (header->code != LVN_ITEMCHANGING && header->code != LVN_ITEMCHANGED) return 0;
        auto* change = reinterpret_cast<NMLISTVIEW*>(header);
        lines.push_back(std::string(header->code == LVN_ITEMCHANGING ? "changing " : "changed ") +
                        std::to_string(change->iItem) + " " + std::to_string(change->uOldState) + ">" +
                        std::to_string(change->uNewState));
        return header->code == LVN_ITEMCHANGING && refuse;
    }
};

TEST_F(ListViewTest, ItemsAndColumnsAreFilledAndReadInBothForms) {
    makeList(false, LVS_REPORT);
    addColumns();
    EXPECT_EQ(addItem("Apfel", 11), 0);
    EXPECT_EQ(addItem("Birne", 12), 1);
    LVITEMW sub;
    sub.iSubItem = 1;
    sub.pszText = const_cast<WCHAR*>(u"\u20AC 3");
    EXPECT_TRUE(send(LVM_SETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&sub)));
    EXPECT_EQ(send(LVM_GETITEMCOUNT), 2);
    EXPECT_EQ(textOf(0, 0), u"Apfel");
    EXPECT_EQ(textOf(0, 1), u"\u20AC 3");
    char ansi[16] = {};
    LVITEMA read;
    read.iSubItem = 1;
    read.pszText = ansi;
    read.cchTextMax = 16;
    EXPECT_EQ(send(LVM_GETITEMTEXTA, 0, reinterpret_cast<LPARAM>(&read)), 3);
    EXPECT_STREQ(ansi, "\x80 3");
    LVCOLUMNA column;
    char header[16] = {};
    column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH;
    column.pszText = header;
    column.cchTextMax = 16;
    EXPECT_TRUE(send(LVM_GETCOLUMNA, 1, reinterpret_cast<LPARAM>(&column)));
    EXPECT_STREQ(header, "Gr\xF6\xDF"
                         "e");
    EXPECT_EQ(column.fmt, LVCFMT_RIGHT);
    EXPECT_EQ(send(LVM_GETCOLUMNWIDTH, 0), 100);
    LVITEMA param;
    param.mask = LVIF_PARAM;
    param.iItem = 1;
    send(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&param));
    EXPECT_EQ(param.lParam, 12);
    EXPECT_EQ(NotificationCodes(), (std::vector<UINT>{LVN_INSERTITEM, LVN_INSERTITEM}));
}

TEST_F(ListViewTest, CallbackTextsAreAskedForInTheParentsForm) {
    for (bool ansiParent : {true, false}) {
        makeList(ansiParent, LVS_REPORT);
        addColumns();
        LVITEMW item;
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.pszText = LPSTR_TEXTCALLBACKW();
        item.lParam = 5;
        send(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        std::vector<UINT> asked;
        NotifyAnswer() = [&](NMHDR* header) -> LRESULT {
            if (header->code == LVN_GETDISPINFOA) {
                auto* info = reinterpret_cast<NMLVDISPINFOA*>(header);
                asked.push_back(header->code);
                std::strcpy(info->item.pszText, info->item.iSubItem == 0 ? "caf\xE9" : "sub");
            } else if (header->code == LVN_GETDISPINFOW) {
                auto* info = reinterpret_cast<NMLVDISPINFOW*>(header);
                asked.push_back(header->code);
                EXPECT_EQ(info->item.lParam, 5);
                std::u16string text = info->item.iSubItem == 0 ? u"\u0436" : u"sub";
                std::copy(text.begin(), text.end(), info->item.pszText);
                info->item.pszText[text.size()] = 0;
            }
            return 0;
        };
        EXPECT_EQ(textOf(0, 0), ansiParent ? u"caf\u00E9" : u"\u0436");
        EXPECT_EQ(asked, std::vector<UINT>{ansiParent ? LVN_GETDISPINFOA : LVN_GETDISPINFOW});
        // Once the framework says so, the notifications come in UTF-16.
        if (ansiParent) {
            send(CCM_SETUNICODEFORMAT, TRUE);
            asked.clear();
            EXPECT_EQ(textOf(0, 0), u"\u0436");
            EXPECT_EQ(asked, std::vector<UINT>{LVN_GETDISPINFOW});
        }
        NotifyAnswer() = nullptr;
        DestroyWindow(parent);
    }
}

TEST_F(ListViewTest, ClicksAndKeysSelectWithTheParentAskedFirst) {
    makeList(false, LVS_REPORT | LVS_SHOWSELALWAYS);
    addColumns();
    for (int i = 0; i < 4; ++i)
        addItem(("Item " + std::to_string(i)).c_str(), i);
    ChangeLog log;
    NotifyAnswer() = std::ref(log);
    Click(list, centreOf(1));
    ProcessMessages();
    EXPECT_EQ(state(1), LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"changing 1 0>3", "changed 1 0>3"}));
    EXPECT_EQ(NotificationCodes().back(), NM_CLICK);

    log.lines.clear();
    PressKey(VK_DOWN);
    ProcessMessages();
    EXPECT_EQ(state(1), 0u);
    EXPECT_EQ(state(2), LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"changing 1 3>0", "changed 1 3>0", "changing 2 0>3",
                                                   "changed 2 0>3"}));

    PressKey(VK_DOWN, {VK_SHIFT});
    ProcessMessages();
    EXPECT_EQ(send(LVM_GETSELECTEDCOUNT), 2);
    EXPECT_EQ(send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 2);
    EXPECT_EQ(send(LVM_GETNEXTITEM, 2, LVNI_SELECTED), 3);
    EXPECT_EQ(send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), 3);

    DeliverKey(VK_CONTROL, true);
    Click(list, centreOf(0));
    DeliverKey(VK_CONTROL, false);
    ProcessMessages();
    EXPECT_EQ(send(LVM_GETSELECTEDCOUNT), 3);

    log.refuse = true;
    Click(list, centreOf(1));
    ProcessMessages();
    EXPECT_EQ(send(LVM_GETSELECTEDCOUNT), 3);
    EXPECT_EQ(state(1), 0u);
}

TEST_F(ListViewTest, SingleSelectionAndSetItemStateForEveryItem) {
    makeList(false, LVS_REPORT | LVS_SINGLESEL);
    addColumns();
    for (int i = 0; i < 3; ++i)
        addItem("x", i);
    LVITEMA selected;
    selected.stateMask = LVIS_SELECTED;
    selected.state = LVIS_SELECTED;
    send(LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&selected));
    send(LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&selected));
    EXPECT_EQ(send(LVM_GETSELECTEDCOUNT), 1);
    EXPECT_EQ(send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 2);
    selected.state = 0;
    send(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&selected));
    EXPECT_EQ(send(LVM_GETSELECTEDCOUNT), 0);
}

int byParamDescending(LPARAM first, LPARAM second, LPARAM) {
    return static_cast<int>(second - first);
}

TEST_F(ListViewTest, SortingFindingAndDeleting) {
    makeList(false, LVS_REPORT);
    addColumns();
    addItem("Banana", 1);
    addItem("apple", 3);
    addItem("Cherry", 2);
    EXPECT_TRUE(send(LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(&byParamDescending)));
    EXPECT_EQ(textOf(0, 0), u"apple");
    EXPECT_EQ(textOf(2, 0), u"Banana");

    LVFINDINFOW find;
    find.flags = LVFI_STRING;
    find.psz = u"CHERRY";
    EXPECT_EQ(send(LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)), 1);
    find.flags = LVFI_PARTIAL;
    find.psz = u"ban";
    EXPECT_EQ(send(LVM_FINDITEMW, 2, reinterpret_cast<LPARAM>(&find)), -1);
    find.flags = LVFI_PARTIAL | LVFI_WRAP;
    EXPECT_EQ(send(LVM_FINDITEMW, 2, reinterpret_cast<LPARAM>(&find)), 2);
    LVFINDINFOA byParam;
    byParam.flags = LVFI_PARAM;
    byParam.lParam = 2;
    EXPECT_EQ(send(LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&byParam)), 1);

    HeardLog().clear();
    send(LVM_DELETEITEM, 0);
    EXPECT_EQ(NotificationCodes(), std::vector<UINT>{LVN_DELETEITEM});
    HeardLog().clear();
    NotifyAnswer() = [](NMHDR* header) -> LRESULT { return header->code == LVN_DELETEALLITEMS; };
    send(LVM_DELETEALLITEMS);
    EXPECT_EQ(NotificationCodes(), std::vector<UINT>{LVN_DELETEALLITEMS});
    EXPECT_EQ(send(LVM_GETITEMCOUNT), 0);
}

TEST_F(ListViewTest, AHeaderClickAndALabelEdit) {
    makeList(true, LVS_REPORT | LVS_EDITLABELS);
    addColumns();
    addItem("Old", 1);
    ProcessMessages();
    Click(list, {150, 5});
    ProcessMessages();
    std::vector<Heard> clicks;
    for (const Heard& heard : HeardOf(WM_NOTIFY))
        if (heard.code == LVN_COLUMNCLICK) clicks.push_back(heard);
    ASSERT_EQ(clicks.size(), 1u);

    std::string ended;
    NotifyAnswer() = [&](NMHDR* header) -> LRESULT {
        if (header->code == LVN_ENDLABELEDITA) {
            auto* info = reinterpret_cast<NMLVDISPINFOA*>(header);
            ended = info->item.pszText ? info->item.pszText : "(cancelled)";
            return TRUE;
        }
        return 0;
    };
    HWND edit = reinterpret_cast<HWND>(send(LVM_EDITLABELW, 0));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(reinterpret_cast<HWND>(send(LVM_GETEDITCONTROL)), edit);
    EXPECT_EQ(GetFocus(), edit);
    SetWindowTextW(edit, u"N\u00E9w");
    PressKey(VK_RETURN);
    ProcessMessages();
    EXPECT_EQ(ended, "N\xE9w");
    EXPECT_EQ(textOf(0, 0), u"N\u00E9w");
    EXPECT_FALSE(IsWindow(edit));
    EXPECT_EQ(GetFocus(), list);

    edit = reinterpret_cast<HWND>(send(LVM_EDITLABELW, 0));
    SetWindowTextW(edit, u"Other");
    PressKey(VK_ESCAPE);
    ProcessMessages();
    EXPECT_EQ(ended, "(cancelled)");
    EXPECT_EQ(textOf(0, 0), u"N\u00E9w");
    std::vector<UINT> codes = NotificationCodes();
    EXPECT_EQ(std::count(codes.begin(), codes.end(), LVN_BEGINLABELEDITA), 2);
}

// The parent hears of the edit while the edit's window is there to take; a refusal closes it.
TEST_F(ListViewTest, TheEditExistsWhileTheParentHearsOfIt) {
    makeList(true, LVS_REPORT | LVS_EDITLABELS);
    addColumns();
    addItem("Old", 1);
    ProcessMessages();
    HWND heardEdit = nullptr;
    LRESULT refuse = FALSE;
    NotifyAnswer() = [&](NMHDR* header) -> LRESULT {
        if (header->code != LVN_BEGINLABELEDITA) return 0;
        heardEdit = reinterpret_cast<HWND>(send(LVM_GETEDITCONTROL));
        return refuse;
    };
    HWND edit = reinterpret_cast<HWND>(send(LVM_EDITLABELW, 0));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(heardEdit, edit);
    PressKey(VK_ESCAPE);
    ProcessMessages();

    refuse = TRUE;
    SetFocus(list);
    EXPECT_EQ(send(LVM_EDITLABELW, 0), 0);
    EXPECT_NE(heardEdit, nullptr);
    EXPECT_FALSE(IsWindow(heardEdit));
    EXPECT_EQ(send(LVM_GETEDITCONTROL), 0);
    EXPECT_EQ(GetFocus(), list);
}

TEST_F(ListViewTest, CheckBoxesOwnerDataAndTheListView) {
    makeList(false, LVS_REPORT | LVS_OWNERDATA);
    addColumns();
    send(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
    send(LVM_SETITEMCOUNT, 50);
    EXPECT_EQ(send(LVM_GETITEMCOUNT), 50);
    int asked = 0;
    NotifyAnswer() = [&](NMHDR* header) -> LRESULT {
        if (header->code != LVN_GETDISPINFOW) return 0;
        auto* info = reinterpret_cast<NMLVDISPINFOW*>(header);
        if (info->item.mask & LVIF_TEXT) {
            ++asked;
            info->item.pszText[0] = static_cast<WCHAR>(u'A' + info->item.iItem % 26);
            info->item.pszText[1] = 0;
        }
        return 0;
    };
    EXPECT_EQ(textOf(27, 0), u"B");
    UpdateWindow(list);
    EXPECT_GT(asked, 1);
    EXPECT_LT(asked, 60);
    RECT box;
    box.Left = LVIR_BOUNDS;
    send(LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&box));
    Click(list, {box.Left + 6, box.Top + box.Height() / 2});
    ProcessMessages();
    EXPECT_EQ(send(LVM_GETITEMSTATE, 1, LVIS_STATEIMAGEMASK), 2u << 12);

    HWND small = Control(WC_LISTVIEWW, LVS_LIST, parent, {0, 220, 300, 280});
    LVITEMW item;
    item.mask = LVIF_TEXT;
    item.pszText = const_cast<WCHAR*>(u"entry");
    for (int i = 0; i < 12; ++i) {
        item.iItem = i;
        SendMessageW(small, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    RECT first;
    RECT fifth;
    first.Left = fifth.Left = LVIR_BOUNDS;
    SendMessageW(small, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    SendMessageW(small, LVM_GETITEMRECT, 4, reinterpret_cast<LPARAM>(&fifth));
    // Items run down a column, then on in the next one.
    EXPECT_GT(fifth.Left, first.Left);
    EXPECT_EQ(fifth.Top % first.Height(), 0);
}

// An owner-drawn report list takes its row height from the parent and leaves
// each row to the parent: selected rows red, the others blue.
TEST_F(ListViewTest, AnOwnerDrawnReportListHasItsParentMeasureAndPaintEachRow) {
    constexpr COLORREF red = 0x0000FF;
    constexpr COLORREF blue = 0xFF0000;
    std::vector<UINT> measuredTypes;
    MeasureItemHandler() = [&](MEASUREITEMSTRUCT* measure) {
        measuredTypes.push_back(measure->CtlType);
        EXPECT_EQ(measure->CtlID, 7u);
        EXPECT_GT(measure->itemHeight, 0u);
        measure->itemHeight = 24;
    };
    std::vector<DRAWITEMSTRUCT> drawn;
    DrawItemHandler() = [&](DRAWITEMSTRUCT* item) {
        drawn.push_back(*item);
        FillSolidRect(item->hDC, item->rcItem, (item->itemState & ODS_SELECTED) ? red : blue);
    };
    makeList(false, LVS_REPORT | LVS_OWNERDRAWFIXED | LVS_SHOWSELALWAYS);
    addColumns();
    for (int i = 0; i < 3; ++i)
        addItem("row", 100 + i);
    LVITEMA selected;
    selected.stateMask = LVIS_SELECTED;
    selected.state = LVIS_SELECTED;
    send(LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&selected));

    RECT row;
    row.Left = LVIR_BOUNDS;
    send(LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
    EXPECT_EQ(row.Height(), 24);
    EXPECT_EQ(Pixel(list, {row.Left + 40, row.Top + 12}), red);
    EXPECT_EQ(Pixel(list, {row.Left + 40, row.Top - 12}), blue);
    EXPECT_EQ(Pixel(list, {row.Left + 40, row.Bottom + 12}), blue);
    EXPECT_EQ(measuredTypes, std::vector<UINT>{ODT_LISTVIEW});
    ASSERT_GE(drawn.size(), 3u);
    const DRAWITEMSTRUCT& second = drawn[1];
    EXPECT_EQ(second.CtlType, ODT_LISTVIEW);
    EXPECT_EQ(second.itemID, 1u);
    EXPECT_EQ(second.itemAction, ODA_DRAWENTIRE);
    EXPECT_EQ(second.itemState & ODS_SELECTED, ODS_SELECTED);
    EXPECT_EQ(second.hwndItem, list);
    EXPECT_EQ(second.itemData, 101u);
    EXPECT_EQ(second.rcItem.Top, row.Top);
    EXPECT_EQ(second.rcItem.Right, row.Right);

    // A new font asks for the height again.
    send(WM_SETFONT, 0, TRUE);
    send(LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
    EXPECT_EQ(measuredTypes.size(), 2u);
}

} // namespace
