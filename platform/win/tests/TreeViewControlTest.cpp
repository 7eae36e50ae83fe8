#include "CommonControlTestSupport.h"

#include "platform/win/Messages.h"

#include <cstring>

using namespace control_tests;
using namespace window_tests;

namespace {

class TreeViewTest : public ControlTest {
protected:
    HWND parent = nullptr;
    HWND tree = nullptr;
    HTREEITEM fruit = nullptr;
    HTREEITEM apple = nullptr;
    HTREEITEM cherry = nullptr;
    HTREEITEM vegetables = nullptr;

    void makeTree(bool ansiParent) {
        parent = ansiParent ? AnsiParent(400, 300) : WideParent(400, 300);
        tree = Control(WC_TREEVIEWW,
                       TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_EDITLABELS | TVS_SHOWSELALWAYS,
                       parent, {10, 10, 260, 210});
        fruit = insertA(TVI_ROOT, TVI_LAST, "Fruit", 1);
        cherry = insertW(fruit, TVI_LAST, u"Cherry", 3);
        apple = insertW(fruit, TVI_FIRST, u"Apple", 2);
        vegetables = insertA(TVI_ROOT, TVI_LAST, "Gem\xFCse", 4);
        HeardLog().clear();
    }

    LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageW(tree, message, wParam, lParam);
    }

    HTREEITEM insertA(HTREEITEM under, HTREEITEM after, const char* text, LPARAM param) {
        TVINSERTSTRUCTA insert;
        insert.hParent = under;
        insert.hInsertAfter = after;
        insert.item.mask = TVIF_TEXT | TVIF_PARAM;
        insert.item.pszText = const_cast<char*>(text);
        insert.item.lParam = param;
        return reinterpret_cast<HTREEITEM>(send(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    }
    HTREEITEM insertW(HTREEITEM under, HTREEITEM after, const WCHAR* text, LPARAM param) {
        TVINSERTSTRUCTW insert;
        insert.hParent = under;
        insert.hInsertAfter = after;
        insert.item.mask = TVIF_TEXT | TVIF_PARAM;
        insert.item.pszText = const_cast<WCHAR*>(text);
        insert.item.lParam = param;
        return reinterpret_cast<HTREEITEM>(send(TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    }
    WideString textOf(HTREEITEM item) {
        WCHAR buffer[64] = {};
        TVITEMW read;
        read.mask = TVIF_TEXT;
        read.hItem = item;
        read.pszText = buffer;
        read.cchTextMax = 64;
        send(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&read));
        return buffer;
    }
    HTREEITEM next(UINT flag, HTREEITEM item = nullptr) {
        return reinterpret_cast<HTREEITEM>(send(TVM_GETNEXTITEM, flag, reinterpret_cast<LPARAM>(item)));
    }
    bool rectOf(HTREEITEM item, RECT& rect, bool textOnly = true) {
        *reinterpret_cast<HTREEITEM*>(&rect) = item;
        return send(TVM_GETITEMRECT, textOnly, reinterpret_cast<LPARAM>(&rect)) != 0;
    }
    void DoubleClickAt(POINT point) {
        Click(tree, point);
        Click(tree, point);
        ProcessMessages();
    }
    POINT centreOf(HTREEITEM item) {
        RECT rect;
        rectOf(item, rect);
        return {rect.Left + 3, rect.Top + rect.Height() / 2};
    }
};

// Records the selection and expansion a tree view reports.
struct TreeLog {
    std::vector<std::string> lines;
    bool refuse = false;
    LRESULT operator()(NMHDR* header) {
        auto* info = reinterpret_cast<NMTREEVIEWW*>(header);
        // Clicks come as a bare NMHDR: the tree view fields are read only for its own codes.
        auto to = [info] { return std::to_string(info->itemNew.lParam); };
        switch (header->code) {
        case TVN_SELCHANGINGA:
        case TVN_SELCHANGINGW:
            lines.push_back((header->code == TVN_SELCHANGINGW ? "changingW " : "changingA ") +
                            std::to_string(info->itemOld.lParam) + ">" + to() + " by " +
                            std::to_string(info->action));
            return refuse;
        case TVN_SELCHANGEDA:
        case TVN_SELCHANGEDW:
            lines.push_back("changed " + to());
            return 0;
        case TVN_ITEMEXPANDINGW:
            lines.push_back("expanding " + to() + " " + std::to_string(info->action));
            return refuse;
        case TVN_ITEMEXPANDEDW:
            lines.push_back("expanded " + to());
            return 0;
        default:
            return 0;
        }
    }
};

TEST_F(TreeViewTest, ItemsKeepTheirPlaceTextAndNeighbours) {
    makeTree(false);
    EXPECT_EQ(send(TVM_GETCOUNT), 4);
    EXPECT_EQ(next(TVGN_ROOT), fruit);
    EXPECT_EQ(next(TVGN_CHILD, fruit), apple);
    EXPECT_EQ(next(TVGN_NEXT, apple), cherry);
    EXPECT_EQ(next(TVGN_PREVIOUS, cherry), apple);
    EXPECT_EQ(next(TVGN_PARENT, cherry), fruit);
    EXPECT_EQ(next(TVGN_PARENT, fruit), nullptr);
    EXPECT_EQ(next(TVGN_NEXT, fruit), vegetables);
    EXPECT_EQ(textOf(vegetables), u"Gem\u00FCse");
    char ansi[16] = {};
    TVITEMA read;
    read.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN;
    read.hItem = fruit;
    read.pszText = ansi;
    read.cchTextMax = 16;
    EXPECT_TRUE(send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&read)));
    EXPECT_STREQ(ansi, "Fruit");
    EXPECT_EQ(read.lParam, 1);
    EXPECT_EQ(read.cChildren, 1);
    HTREEITEM banana = insertW(fruit, TVI_SORT, u"banana", 5);
    EXPECT_EQ(next(TVGN_NEXT, apple), banana);
    HTREEITEM after = insertW(fruit, apple, u"Apricot", 6);
    EXPECT_EQ(next(TVGN_NEXT, apple), after);
    // A handle of no item of the tree is refused.
    read.hItem = reinterpret_cast<HTREEITEM>(&read);
    EXPECT_FALSE(send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&read)));
}

TEST_F(TreeViewTest, ExpandingShowsTheChildrenAndMayBeRefused) {
    makeTree(false);
    TreeLog log;
    NotifyAnswer() = std::ref(log);
    RECT rect;
    EXPECT_FALSE(rectOf(apple, rect));
    EXPECT_TRUE(send(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(fruit)));
    EXPECT_TRUE(rectOf(apple, rect));
    EXPECT_TRUE(send(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(fruit), TVIS_EXPANDED));
    EXPECT_FALSE(send(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(vegetables)));
    log.refuse = true;
    EXPECT_FALSE(send(TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(fruit)));
    EXPECT_TRUE(rectOf(apple, rect));
    EXPECT_EQ(log.lines, (std::vector<std::string>{"expanding 1 2", "expanded 1", "expanding 1 1"}));
    EXPECT_EQ(next(TVGN_NEXTVISIBLE, fruit), apple);
    EXPECT_EQ(next(TVGN_LASTVISIBLE), vegetables);
}

TEST_F(TreeViewTest, ClicksAndKeysSelectAndTheCodesFollowTheParent) {
    for (bool ansiParent : {false, true}) {
        makeTree(ansiParent);
        TreeLog log;
        NotifyAnswer() = std::ref(log);
        Click(tree, centreOf(vegetables));
        ProcessMessages();
        EXPECT_EQ(next(TVGN_CARET), vegetables);
        SetFocus(tree);
        PressKey(VK_UP);
        PressKey(VK_RIGHT);
        PressKey(VK_RIGHT);
        ProcessMessages();
        EXPECT_EQ(next(TVGN_CARET), apple);
        const std::string changing = ansiParent ? "changingA " : "changingW ";
        const std::vector<std::string> expected{changing + "0>4 by 1", "changed 4",
                                                changing + "4>1 by 2", "changed 1",
                                                changing + "1>2 by 2", "changed 2"};
        std::vector<std::string> selections;
        for (const std::string& line : log.lines)
            if (line.rfind("expand", 0) != 0) selections.push_back(line);
        EXPECT_EQ(selections, expected);
        log.refuse = true;
        PressKey(VK_DOWN);
        ProcessMessages();
        EXPECT_EQ(next(TVGN_CARET), apple);
        // Left goes to the parent, and a collapsed parent takes the selection from its child.
        log.refuse = false;
        PressKey(VK_LEFT);
        ProcessMessages();
        EXPECT_EQ(next(TVGN_CARET), fruit);
        send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(cherry));
        send(TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(fruit));
        EXPECT_EQ(next(TVGN_CARET), fruit);
        NotifyAnswer() = nullptr;
        DestroyWindow(parent);
    }
}

TEST_F(TreeViewTest, TheButtonTogglesAndADoubleClickToo) {
    makeTree(false);
    RECT row;
    rectOf(fruit, row, false);
    RECT label;
    rectOf(fruit, label);
    Click(tree, {label.Left - 10, row.Top + row.Height() / 2});
    ProcessMessages();
    EXPECT_TRUE(send(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(fruit), TVIS_EXPANDED));
    EXPECT_EQ(next(TVGN_CARET), nullptr);
    DoubleClickAt(centreOf(fruit));
    EXPECT_FALSE(send(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(fruit), TVIS_EXPANDED));
}

TEST_F(TreeViewTest, CallbackTextsAndDeletions) {
    makeTree(true);
    TVINSERTSTRUCTW insert;
    insert.hParent = TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    insert.item.pszText = LPSTR_TEXTCALLBACKW();
    insert.item.lParam = 9;
    HTREEITEM asked =
        reinterpret_cast<HTREEITEM>(send(TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    std::vector<HTREEITEM> deleted;
    NotifyAnswer() = [&](NMHDR* header) -> LRESULT {
        if (header->code == TVN_GETDISPINFOA) {
            auto* info = reinterpret_cast<NMTVDISPINFOA*>(header);
            if (info->item.mask & TVIF_TEXT) std::strcpy(info->item.pszText, "from the parent");
        }
        if (header->code == TVN_DELETEITEMA)
            deleted.push_back(reinterpret_cast<NMTREEVIEWA*>(header)->itemOld.hItem);
        return 0;
    };
    EXPECT_EQ(textOf(asked), u"from the parent");
    send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(apple));
    EXPECT_TRUE(send(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(fruit)));
    EXPECT_EQ(deleted, (std::vector<HTREEITEM>{cherry, apple, fruit}));
    EXPECT_EQ(send(TVM_GETCOUNT), 2);
    EXPECT_EQ(next(TVGN_CARET), vegetables);
    deleted.clear();
    send(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    EXPECT_EQ(deleted.size(), 2u);
    EXPECT_EQ(send(TVM_GETCOUNT), 0);
    EXPECT_EQ(next(TVGN_CARET), nullptr);
}

int byParamDescending(LPARAM first, LPARAM second, LPARAM) {
    return static_cast<int>(second - first);
}

TEST_F(TreeViewTest, SortingAndLabelEditing) {
    makeTree(false);
    insertW(fruit, TVI_LAST, u"banana", 5);
    send(TVM_SORTCHILDREN, 0, reinterpret_cast<LPARAM>(fruit));
    EXPECT_EQ(textOf(next(TVGN_CHILD, fruit)), u"Apple");
    EXPECT_EQ(textOf(next(TVGN_NEXT, next(TVGN_CHILD, fruit))), u"banana");
    TVSORTCB sort;
    sort.hParent = fruit;
    sort.lpfnCompare = &byParamDescending;
    send(TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
    EXPECT_EQ(textOf(next(TVGN_CHILD, fruit)), u"banana");

    WideString ended;
    HWND editorSeenAtStart = nullptr;
    NotifyAnswer() = [&](NMHDR* header) -> LRESULT {
        // The parent can take the edit's window while it hears of the start.
        if (header->code == TVN_BEGINLABELEDITW)
            editorSeenAtStart = reinterpret_cast<HWND>(send(TVM_GETEDITCONTROL, 0, 0));
        if (header->code != TVN_ENDLABELEDITW) return 0;
        auto* info = reinterpret_cast<NMTVDISPINFOW*>(header);
        ended = info->item.pszText ? info->item.pszText : u"(cancelled)";
        return TRUE;
    };
    HWND edit = reinterpret_cast<HWND>(send(TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(vegetables)));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(editorSeenAtStart, edit);
    SetWindowTextW(edit, u"Gem\u00FCse und Kr\u00E4uter");
    PressKey(VK_RETURN);
    ProcessMessages();
    EXPECT_EQ(ended, u"Gem\u00FCse und Kr\u00E4uter");
    EXPECT_EQ(textOf(vegetables), u"Gem\u00FCse und Kr\u00E4uter");
    std::vector<UINT> codes = NotificationCodes();
    EXPECT_EQ(std::count(codes.begin(), codes.end(), TVN_BEGINLABELEDITW), 1);
}

} // namespace
