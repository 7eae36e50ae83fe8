#include "VisualTestSupport.h"

#include "platform/vcl/Filers.h"
#include "platform/vcl/TreeViews.h"
#include "platform/win/Messages.h"

namespace {

using TreeViewsTest = VisualTest;

struct TTreeEvents : TObject {
    std::vector<std::string> lines;
    bool allow = true;
    static std::string nameOf(TTreeNode* Node) { return Node ? Node->Text() : "none"; }
    void Changing(TObject*, TTreeNode* Node, bool& AllowChange) {
        lines.push_back("changing " + nameOf(Node));
        AllowChange = allow;
    }
    void Change(TObject*, TTreeNode* Node) { lines.push_back("change " + nameOf(Node)); }
    void Expanding(TObject*, TTreeNode* Node, bool& AllowExpansion) {
        lines.push_back("expanding " + nameOf(Node));
        AllowExpansion = allow;
    }
    void Expanded(TObject*, TTreeNode* Node) { lines.push_back("expanded " + nameOf(Node)); }
    void Deletion(TObject*, TTreeNode* Node) { lines.push_back("delete " + nameOf(Node)); }
};

struct TreeFixture {
    // Declared first so that it outlives the form: freeing the tree reports its deletions.
    TTreeEvents events;
    std::unique_ptr<TForm> form;
    TTreeView* tree = nullptr;
    TTreeNode* effects = nullptr;
    TTreeNode* clock = nullptr;
    TTreeNode* snow = nullptr;
    TTreeNode* menus = nullptr;

    explicit TreeFixture(std::unique_ptr<TForm> Form) : form(std::move(Form)) {
        tree = new TTreeView(form.get());
        tree->SetParent(form.get());
        tree->SetBounds(5, 5, 250, 180);
        tree->SetHideSelection(false);
        effects = tree->Items()->Add(nullptr, "Effects");
        snow = tree->Items()->AddChild(effects, "Snow");
        clock = tree->Items()->AddChildFirst(effects, "Clock");
        menus = tree->Items()->Add(effects, "Menus");
        tree->OnChanging = TTVChangingEvent(&events, &TTreeEvents::Changing);
        tree->OnChange = TTVChangedEvent(&events, &TTreeEvents::Change);
        tree->OnExpanding = TTVExpandingEvent(&events, &TTreeEvents::Expanding);
        tree->OnExpanded = TTVExpandedEvent(&events, &TTreeEvents::Expanded);
        tree->OnDeletion = TTVChangedEvent(&events, &TTreeEvents::Deletion);
        form->Show();
        Application->ProcessMessages();
    }

    WideString windowText(TTreeNode* Node) {
        WCHAR buffer[64] = {};
        TVITEMW item;
        item.mask = TVIF_TEXT;
        item.hItem = Node->ItemId();
        item.pszText = buffer;
        item.cchTextMax = 64;
        SendMessageW(tree->Handle(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        return buffer;
    }

    TPoint centreOf(TTreeNode* Node) {
        TRect rect = Node->DisplayRect(true);
        return {rect.Left + 3, rect.Top + rect.Height() / 2};
    }
};

TEST_F(TreeViewsTest, NodesReachTheWindowInTheirOrder) {
    TreeFixture f(plainForm());
    EXPECT_EQ(f.tree->Items()->Count(), 4);
    EXPECT_EQ(f.effects->getFirstChild(), f.clock);
    EXPECT_EQ(f.clock->getNextSibling(), f.snow);
    EXPECT_EQ(f.effects->GetNext(), f.clock);
    EXPECT_EQ(f.menus->GetPrev(), f.snow);
    EXPECT_EQ(f.snow->Level(), 1);
    EXPECT_EQ(f.menus->AbsoluteIndex(), 3);
    EXPECT_EQ(f.windowText(f.snow), u"Snow");
    EXPECT_EQ(SendMessageA(f.tree->Handle(), TVM_GETCOUNT, 0, 0), 4);
    auto child = reinterpret_cast<HTREEITEM>(SendMessageA(f.tree->Handle(), TVM_GETNEXTITEM, TVGN_CHILD,
                                                          reinterpret_cast<LPARAM>(f.effects->ItemId())));
    EXPECT_EQ(child, f.clock->ItemId());
    f.snow->SetText("Snowfall");
    EXPECT_EQ(f.windowText(f.snow), u"Snowfall");
}

TEST_F(TreeViewsTest, DeletingTheSelectedNodeSelectsItsNeighbourOrParent) {
    TreeFixture f(plainForm());
    f.snow->SetSelected(true);
    EXPECT_EQ(f.tree->FindNextToSelect(), f.clock) << "no next sibling: the one before";
    f.snow->Delete();
    EXPECT_EQ(f.tree->Selected(), f.clock);
    EXPECT_EQ(f.tree->FindNextToSelect(), f.effects) << "an only child: its parent";
    f.clock->Delete();
    EXPECT_EQ(f.tree->Selected(), f.effects);
    EXPECT_EQ(f.tree->FindNextToSelect(), f.menus);
}

TEST_F(TreeViewsTest, ClicksKeysAndExpandingGoThroughTheEvents) {
    TreeFixture f(plainForm());
    backend.Click(f.tree->Handle(), f.centreOf(f.effects));
    Application->ProcessMessages();
    EXPECT_EQ(f.tree->Selected(), f.effects);
    backend.PressKey(VK_RIGHT);
    backend.PressKey(VK_RIGHT);
    backend.PressKey(VK_DOWN);
    Application->ProcessMessages();
    EXPECT_EQ(f.tree->Selected(), f.snow);
    EXPECT_TRUE(f.effects->Expanded());
    EXPECT_EQ(f.events.lines,
              (std::vector<std::string>{"changing Effects", "change Effects", "expanding Effects",
                                        "expanded Effects", "changing Clock", "change Clock", "changing Snow",
                                        "change Snow"}));
    f.events.lines.clear();
    f.events.allow = false;
    backend.PressKey(VK_UP);
    Application->ProcessMessages();
    EXPECT_EQ(f.tree->Selected(), f.snow);
    f.effects->Collapse(false);
    f.events.allow = true;
    EXPECT_FALSE(f.effects->Expanded());
    f.effects->Expand(false);
    EXPECT_TRUE(f.effects->Expanded());
}

// Notes the node the tree calls selected when its context menu is asked for.
struct TContextMenuWatch : TObject {
    TTreeView* tree = nullptr;
    std::vector<std::string> selected;
    void Popup(TObject*, TPoint, bool&) { selected.push_back(TTreeEvents::nameOf(tree->Selected())); }
};

TEST_F(TreeViewsTest, RightClickSelectMakesTheClickedNodeSelectedForItsContextMenu) {
    TreeFixture f(plainForm());
    f.tree->SetSelected(f.effects);
    TContextMenuWatch watch;
    watch.tree = f.tree;
    f.tree->OnContextPopup = TContextPopupEvent(&watch, &TContextMenuWatch::Popup);
    const TPoint onMenus = f.centreOf(f.menus);
    backend.Click(f.tree->Handle(), onMenus, MouseButton::Right);
    Application->ProcessMessages();
    f.tree->SetRightClickSelect(true);
    backend.Click(f.tree->Handle(), onMenus, MouseButton::Right);
    Application->ProcessMessages();
    EXPECT_EQ(watch.selected, (std::vector<std::string>{"Effects", "Menus"}));
    EXPECT_EQ(f.tree->Selected(), f.effects) << "the selection itself stays";
}

TEST_F(TreeViewsTest, TheTreeSurvivesANewWindowAndSorts) {
    TreeFixture f(plainForm());
    f.effects->Expand(false);
    f.tree->SetSelected(f.snow);
    f.tree->SetShowLines(false);
    Application->ProcessMessages();
    EXPECT_TRUE(f.effects->Expanded());
    EXPECT_EQ(f.tree->Selected(), f.snow);
    EXPECT_EQ(f.windowText(f.clock), u"Clock");
    f.tree->Items()->AddChild(f.effects, "Aurora");
    f.tree->AlphaSort();
    EXPECT_EQ(f.effects->getFirstChild()->Text(), "Aurora");
    EXPECT_EQ(f.effects->GetLastChild(), f.snow);
    f.menus->MoveTo(f.clock, naAddChild);
    EXPECT_EQ(f.clock->getFirstChild(), f.menus);
    EXPECT_EQ(f.menus->Level(), 2);
}

TEST_F(TreeViewsTest, TextFormLoadsSavesAndRefusesBadLevels) {
    TreeFixture f(plainForm());
    f.snow->Delete();
    EXPECT_EQ(f.events.lines, (std::vector<std::string>{"delete Snow"}));
    f.tree->Items()->AddChild(f.clock, "Analog");
    TStringStream saved("");
    f.tree->SaveToStream(&saved);
    EXPECT_EQ(saved.DataString(), "Effects\r\n\tClock\r\n\t\tAnalog\r\nMenus\r\n");

    f.events.lines.clear();
    TStringStream text("Root\r\n\tChild\r\n\t\tGrandchild\r\n Second child\r\nTop\r\n");
    f.tree->LoadFromStream(&text);
    EXPECT_EQ(f.events.lines,
              (std::vector<std::string>{"delete Menus", "delete Analog", "delete Clock", "delete Effects"}));
    ASSERT_EQ(f.tree->Items()->Count(), 5);
    TTreeNode* root = f.tree->Items()->GetFirstNode();
    EXPECT_EQ(root->Count(), 2);
    EXPECT_EQ(root->Item(1)->Text(), "Second child");
    EXPECT_EQ(root->getNextSibling()->Text(), "Top");

    TStringStream bad("Top\r\n\t\tToo deep\r\n");
    try {
        f.tree->LoadFromStream(&bad);
        ADD_FAILURE() << "no error";
    } catch (const ETreeViewError& error) {
        EXPECT_EQ(error.Message, "Invalid level (2) for item \"Too deep\"");
    }
}

TEST_F(TreeViewsTest, TheNodesTravelThroughAFormResourceAsData) {
    TForm form(nullptr);
    form.SetName("Host");
    auto* tree = new TTreeView(&form);
    tree->SetName("Tree");
    tree->SetParent(&form);
    TTreeNode* first = tree->Items()->Add(nullptr, "first");
    tree->Items()->AddChildObject(first, "child", reinterpret_cast<void*>(7))->SetImageIndex(2);
    tree->Items()->Add(first, "second");
    const AnsiString text = WriteComponentText(&form);
    ASSERT_NE(text.find("Items.Data = {"), AnsiString::npos) << text;

    TForm read(nullptr);
    ReadComponentText(text, &read);
    auto* copy = static_cast<TTreeView*>(read.FindComponent("Tree"));
    ASSERT_NE(copy, nullptr);
    ASSERT_EQ(copy->Items()->Count(), 3);
    EXPECT_EQ(copy->Items()->Item(1)->Text(), "child");
    EXPECT_EQ(copy->Items()->Item(1)->Parent(), copy->Items()->Item(0));
    EXPECT_EQ(copy->Items()->Item(1)->ImageIndex(), 2);
    EXPECT_EQ(copy->Items()->Item(1)->Data(), reinterpret_cast<void*>(7));
    EXPECT_EQ(copy->Items()->Item(2)->Text(), "second");

    TMemoryStream damaged;
    const std::int32_t claimed[] = {1, 900};
    damaged.WriteBuffer(claimed, sizeof claimed);
    damaged.SetPosition(0);
    EXPECT_THROW(copy->Items()->ReadData(&damaged), EReadError);
    EXPECT_EQ(copy->Items()->Count(), 0);

    TTreeView empty(nullptr);
    EXPECT_EQ(WriteComponentText(&empty).find("Items.Data"), AnsiString::npos);
}

} // namespace
