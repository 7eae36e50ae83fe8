// The wide tree view: "Utf8Data" through a form resource, its length limit
// and damaged records, the tree as indented text, wide texts in the window,
// and a window made again.
#include "platform/vcl/tests/VisualTestSupport.h"

#include "platform/core/CodePages.h"
#include "platform/vcl/Filers.h"
#include "platform/win/CommonControls.h"
#include "platform/win/Messages.h"
#include "platform/win/Windows.h"
#include "unicode/TntForms.h"
#include "unicode/TntTreeViews.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

// The tree's parent is wide, so that the tree notifies in UTF-16.
class TTreeForm : public TTntForm {
public:
    using TTntForm::TTntForm;
    TTntTreeView* Tree = nullptr;
};
const TClass TreeFormClass = DescribeClass<TTreeForm, TTntForm>(
    [](TClassBuilder<TTreeForm>& c) { c.Field("Tree", &TTreeForm::Tree); });

class TreeViewsTest : public VisualTest {
protected:
    std::unique_ptr<TTreeForm> form = std::make_unique<TTreeForm>(nullptr);
    TTntTreeView* tree = nullptr;
    void SetUp() override {
        VisualTest::SetUp();
        form->SetName("TreeForm");
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 300, 300);
        tree = child<TTntTreeView>(form.get(), alClient, {0, 0, 300, 300});
        tree->SetName("Tree");
    }
    void TearDown() override {
        form.reset();
        VisualTest::TearDown();
    }
};

// Each node as its level in dots and its text.
std::vector<WideString> outline(TTntTreeNodes* Nodes) {
    std::vector<WideString> lines;
    for (TTreeNode* node = Nodes->GetFirstNode(); node; node = node->GetNext())
        lines.push_back(WideString(static_cast<std::size_t>(node->Level()), u'.') +
                        static_cast<TTntTreeNode*>(node)->Text());
    return lines;
}

void fillSample(TTntTreeNodes* Nodes) {
    TTntTreeNode* fruit = Nodes->Add(nullptr, u"果物");
    Nodes->AddChild(fruit, u"りんご")->SetImageIndex(3);
    TTntTreeNode* citrus = Nodes->AddChild(fruit, u"柑橘");
    Nodes->AddChild(citrus, u"みかん");
    Nodes->Add(fruit, u"野菜 Ω");
}

TEST_F(TreeViewsTest, Utf8DataCarriesTheWideNodesThroughAFormResource) {
    fillSample(tree->Items());
    const AnsiString text = WriteComponentText(form.get());
    const std::size_t ansiData = text.find("Items.Data = {");
    ASSERT_NE(ansiData, AnsiString::npos) << text;
    EXPECT_GT(text.find("Items.Utf8Data = {"), ansiData) << "the wide nodes come last and win";

    TTreeForm copy(nullptr);
    ReadComponentText(text, &copy);
    ASSERT_NE(copy.Tree, nullptr);
    EXPECT_EQ(outline(copy.Tree->Items()), outline(tree->Items()));
    EXPECT_EQ(copy.Tree->Items()->Item(1)->ImageIndex(), 3);

    TTntTreeView assigned(nullptr);
    assigned.Items()->Assign(tree->Items());
    EXPECT_EQ(outline(assigned.Items()), outline(tree->Items()));
}

TEST_F(TreeViewsTest, ALongTextIsShortenedToWhatFits255Bytes) {
    tree->Items()->Add(nullptr, WideString(200, u'語'));
    TTntMemoryStream stream;
    tree->Items()->WriteData(&stream);
    stream.SetPosition(0);
    TTntTreeView copy(nullptr);
    copy.Items()->ReadData(&stream);
    EXPECT_EQ(copy.Items()->GetFirstNode()->Text(), WideString(84, u'語'));
}

std::string int32(std::int32_t Value) {
    return std::string(reinterpret_cast<const char*>(&Value), 4);
}

// One record: its size, six fields, the length byte and the text.
std::string record(std::int32_t Size, std::int32_t Children, Byte Length, const std::string& Text) {
    std::string bytes = int32(Size);
    for (std::int32_t field : {-1, -1, -1, -1, 0})
        bytes += int32(field);
    return bytes + int32(Children) + static_cast<char>(Length) + Text;
}

TEST_F(TreeViewsTest, DamagedRecordsAreAReadErrorAndLeaveNoNodes) {
    struct Case {
        const char* name;
        std::string bytes;
    };
    const std::string good = record(26, 0, 1, "a");
    std::string chain;
    for (int level = 0; level < 1100; ++level)
        chain += record(26, 1, 1, "a");
    const Case cases[] = {
        {"size beyond the data", int32(1) + record(900, 0, 1, "a")},
        {"size below a record", int32(1) + record(10, 0, 1, "a")},
        {"length byte beyond the size", int32(1) + record(26, 0, 40, "a")},
        {"children that are not there", int32(1) + record(26, 5, 1, "a")},
        {"negative child count", int32(1) + record(26, -1, 1, "a")},
        {"more top nodes than records", int32(3) + good},
        {"cut inside a record", int32(1) + good.substr(0, 10)},
        {"deeper than 1024 levels", int32(1) + chain + good},
    };
    for (const Case& item : cases) {
        fillSample(tree->Items());
        TTntMemoryStream stream;
        stream.WriteBuffer(item.bytes.data(), static_cast<Integer>(item.bytes.size()));
        stream.SetPosition(0);
        EXPECT_THROW(tree->Items()->ReadData(&stream), EReadError) << item.name;
        EXPECT_EQ(tree->Items()->Count(), 0) << item.name;
    }
    TTntMemoryStream stream;
    const std::string bytes = int32(1) + good;
    stream.WriteBuffer(bytes.data(), static_cast<Integer>(bytes.size()));
    stream.SetPosition(0);
    tree->Items()->ReadData(&stream);
    EXPECT_EQ(outline(tree->Items()), std::vector<WideString>{u"a"}) << "an unmarked text is ANSI";
}

TEST_F(TreeViewsTest, TheTreeAsIndentedTextLoadsAndSaves) {
    struct Case {
        WideString text;
        std::vector<WideString> nodes;
        const char* error;
    };
    const Case cases[] = {
        {u"a\r\n\tb\r\n\t\tc\r\n\td\r\ne\r\n", {u"a", u".b", u"..c", u".d", u"e"}, nullptr},
        {u"a\r\n b\r\n\tc\r\n", {u"a", u".b", u".c"}, nullptr},
        {u"a\r\n\tb\r\n\t\tc\r\nd\r\n", {u"a", u".b", u"..c", u"d"}, nullptr},
        {u"\tа\r\n\tб\r\n", {u"а", u".б"}, nullptr},
        {u"a\r\n\t\tx\r\n", {}, "Invalid level (2) for item \"x\""},
    };
    for (const Case& item : cases) {
        TTntStringList lines;
        lines.SetText(item.text);
        TTntMemoryStream stream;
        lines.SaveToStream(&stream);
        stream.SetPosition(0);
        if (item.nodes.empty()) {
            try {
                tree->LoadFromStream(&stream);
                ADD_FAILURE() << item.error;
            } catch (const ETreeViewError& error) {
                EXPECT_EQ(error.Message, item.error);
            }
            continue;
        }
        tree->LoadFromStream(&stream);
        EXPECT_EQ(outline(tree->Items()), item.nodes) << UTF8Encode(item.text);
    }

    fillSample(tree->Items());
    TTntMemoryStream saved;
    tree->SaveToStream(&saved);
    saved.SetPosition(0);
    TTntTreeView copy(nullptr);
    copy.LoadFromStream(&saved);
    EXPECT_EQ(outline(copy.Items()), outline(tree->Items()));
}

// The window shows the wide text of a node it asks for.
WideString windowText(TTntTreeView* Tree, TTreeNode* Node, int BufferSize = 64) {
    std::vector<WCHAR> buffer(static_cast<std::size_t>(std::max(BufferSize, 1)), u'#');
    TVITEMW item;
    item.mask = TVIF_TEXT;
    item.hItem = Node->ItemId();
    item.pszText = buffer.data();
    item.cchTextMax = BufferSize;
    SendMessageW(Tree->Handle(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return WideString(buffer.data(), std::find(buffer.begin(), buffer.end(), u'\0') - buffer.begin());
}

TEST_F(TreeViewsTest, AWindowMadeAgainKeepsEveryTextUnderCollapsedNodesToo) {
    form->Show();
    TTntTreeNodes* nodes = tree->Items();
    // Different texts with one ANSI form ("?"), some under collapsed nodes.
    TTntTreeNode* first = nodes->Add(nullptr, u"一");
    nodes->AddChild(first, u"二");
    nodes->AddChild(first, u"三");
    TTntTreeNode* second = nodes->Add(first, u"四");
    nodes->AddChild(second, u"五");
    first->Expand(false);
    const std::vector<WideString> before = outline(nodes);
    tree->RecreateWnd();
    tree->HandleNeeded();
    EXPECT_EQ(outline(nodes), before);
    for (TTreeNode* node = nodes->GetFirstNode(); node; node = node->GetNext())
        EXPECT_EQ(windowText(tree, node), static_cast<TTntTreeNode*>(node)->Text());
    EXPECT_TRUE(first->Expanded());
    EXPECT_FALSE(second->Expanded());
    EXPECT_EQ(windowText(tree, first, 2), u"一") << "at most the buffer's size less one";

    WCHAR untouched[] = u"##";
    NMTVDISPINFOW info;
    info.hdr.hwndFrom = tree->Handle();
    info.hdr.code = TVN_GETDISPINFOW;
    info.item.mask = TVIF_TEXT | TVIF_PARAM;
    info.item.lParam = reinterpret_cast<LPARAM>(first);
    info.item.pszText = untouched;
    info.item.cchTextMax = 0;
    tree->Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(WideString(untouched), u"##") << "a buffer of no characters receives nothing";
}

TEST_F(TreeViewsTest, AnEditedLabelBecomesTheWideText) {
    struct TEdits {
        void Edited(TObject*, TTntTreeNode*, WideString& S) { S += u"!"; }
    } edits;
    form->Show();
    TTntTreeNode* node = tree->Items()->Add(nullptr, u"古い");
    tree->OnEdited = TTntTVEditedEvent(&edits, &TEdits::Edited);
    WCHAR text[] = u"新しい";
    NMTVDISPINFOW info;
    info.hdr.hwndFrom = tree->Handle();
    info.hdr.code = TVN_ENDLABELEDITW;
    info.item.mask = TVIF_TEXT | TVIF_PARAM;
    info.item.lParam = reinterpret_cast<LPARAM>(node);
    info.item.pszText = text;
    tree->Perform(CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(node->Text(), u"新しい!");
    EXPECT_EQ(windowText(tree, node), u"新しい!");
}

// Under a parent that is not a Unicode window the tree still notifies in
// UTF-16, so the window shows the wide texts.
TEST_F(TreeViewsTest, UnderAPlainFormTheWindowShowsTheWideTexts) {
    auto plain = plainForm();
    auto* plainTree = child<TTntTreeView>(plain.get(), alClient, {0, 0, 300, 200});
    plain->Show();
    TTntTreeNode* node = plainTree->Items()->Add(nullptr, u"Яблоко");
    EXPECT_EQ(windowText(plainTree, node), u"Яблоко");
}

TEST_F(TreeViewsTest, SortingOrdersByTheWideTexts) {
    auto plain = plainForm();
    auto* plainTree = child<TTntTreeView>(plain.get(), alClient, {0, 0, 300, 200});
    plain->Show();
    TTntTreeNodes* nodes = plainTree->Items();
    for (const char16_t* text : {u"Щука", u"Банан", u"Апельсин", u"Вишня"})
        nodes->Add(nullptr, text);
    nodes->AddChild(nodes->Item(1), u"Яма");
    nodes->AddChild(nodes->Item(1), u"Ель");
    ASSERT_TRUE(plainTree->AlphaSort(true));
    const std::vector<WideString> sorted{u"Апельсин", u"Банан", u".Ель", u".Яма", u"Вишня", u"Щука"};
    EXPECT_EQ(outline(nodes), sorted);
    std::vector<WideString> shown;
    for (TTntTreeNode* node = nodes->GetFirstNode(); node; node = node->GetNext())
        shown.push_back(WideString(static_cast<std::size_t>(node->Level()), u'.') +
                        windowText(plainTree, node));
    EXPECT_EQ(shown, sorted);
}

// The in-place editor's keys pass the tree view's key handling, characters
// beyond ANSI as 255 with the real one kept, and the typed text comes back wide.
TEST_F(TreeViewsTest, AnInPlaceEditTypedWideBecomesTheNodesText) {
    struct TLog {
        std::vector<WideChar> pressed;
        void KeyPress(TObject*, char& Key) { pressed.push_back(static_cast<unsigned char>(Key)); }
    } log;
    InitializeTntForms();
    form->Show();
    TTntTreeNode* node = tree->Items()->Add(nullptr, u"Старое");
    tree->OnKeyPress = TKeyPressEvent(&log, &TLog::KeyPress);
    tree->SetFocus();
    HWND edit = reinterpret_cast<HWND>(
        SendMessageW(tree->Handle(), TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(node->ItemId())));
    ASSERT_NE(edit, nullptr);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    backend.TypeText(u"Новое");
    Application->ProcessMessages();
    EXPECT_EQ(log.pressed, std::vector<WideChar>(5, 255))
        << "the editor's keys reach the tree view's handlers";
    backend.PressKey(VK_RETURN);
    Application->ProcessMessages();
    EXPECT_EQ(node->Text(), u"Новое");
    EXPECT_EQ(windowText(tree, node), u"Новое");
    EXPECT_FALSE(tree->IsEditing());
}

// Deleting the selected node selects what FindNextToSelect names.
class TFirstNodeTree : public TTntTreeView {
public:
    using TTntTreeView::TTntTreeView;
    TTntTreeNode* FindNextToSelect() override { return Items()->GetFirstNode(); }
};

TEST_F(TreeViewsTest, DeletingTheSelectedNodeSelectsTheNextToSelect) {
    form->Show();
    TTntTreeNodes* nodes = tree->Items();
    TTntTreeNode* first = nodes->Add(nullptr, u"一");
    TTntTreeNode* second = nodes->Add(nullptr, u"二");
    TTntTreeNode* third = nodes->Add(nullptr, u"三");
    second->SetSelected(true);
    second->Delete();
    EXPECT_EQ(tree->Selected(), third) << "the next sibling";
    third->Delete();
    EXPECT_EQ(tree->Selected(), first) << "else the one before";
    EXPECT_EQ(first->getNextSibling(), nullptr);

    auto* own = child<TFirstNodeTree>(form.get(), alNone, {0, 0, 100, 100});
    own->Items()->Add(nullptr, u"a");
    own->Items()->Add(nullptr, u"b");
    TTntTreeNode* last = own->Items()->Add(nullptr, u"c");
    last->SetSelected(true);
    last->Delete();
    EXPECT_EQ(own->Selected(), own->Items()->GetFirstNode());
}

} // namespace
