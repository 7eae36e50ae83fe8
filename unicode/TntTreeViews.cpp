#include "unicode/TntTreeViews.h"

#include "platform/core/CodePages.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/Filers.h"
#include "platform/vcl/ObjectInstances.h"
#include "platform/win/CommonControls.h"
#include "platform/win/Kernel.h"
#include "platform/win/Messages.h"
#include "platform/win/Windows.h"
#include "unicode/TntComCtrls.h"
#include "unicode/TntListViews.h"
#include "unicode/TntSystem.h"

#include <cstdint>
#include <cstring>
#include <utility>

namespace {

// The framework's own text order, learnt from the first sort it asks a wide
// tree view for; sorts with it are done by the wide texts instead.
PFNTVCOMPARE defaultCompare = nullptr;

template <typename T> T* checkedCast(TObject* Object) {
    auto* result = dynamic_cast<T*>(Object);
    if (Object && !result) throw EInvalidCast(SInvalidCast);
    return result;
}

TTntTreeNode* wideNode(TTreeNode* Node) {
    return checkedCast<TTntTreeNode>(Node);
}

constexpr const char* SInvalidLevel = "Invalid level (%d) for item \"%s\"";
constexpr WideChar LevelMark = u'\t';

// ---- The "Utf8Data" form ----

constexpr std::size_t LongestText = 255;
const std::string Utf8Mark = "\xEF\xBB\xBF";

// The mark and the UTF-8 form of Text, shortened a character at a time until it fits in 255 bytes.
std::string markedUtf8(const WideString& Text) {
    WideString text = Text.substr(0, LongestText);
    std::string bytes = Utf8Mark + UTF8Encode(text);
    while (bytes.size() > LongestText) {
        text.pop_back();
        bytes = Utf8Mark + UTF8Encode(text);
    }
    return bytes;
}

WideString textOfRecord(const std::string& Bytes) {
    if (Bytes.compare(0, Utf8Mark.size(), Utf8Mark) == 0) return UTF8Decode(Bytes.substr(Utf8Mark.size()));
    return AnsiToWide(Bytes);
}

// ---- Text form ----

// The leading tabs and blanks of a line: its level.
Integer levelOf(const WideString& Line, WideString& Text) {
    std::size_t start = 0;
    while (start < Line.size() && (Line[start] == LevelMark || Line[start] == u' '))
        ++start;
    Text = Line.substr(start);
    return static_cast<Integer>(start);
}

} // namespace

// ---- TTntTreeNode ----------------------------------------------------------------------------------

WideString TTntTreeNode::Text() {
    return GetSyncedWideString(text_, TTreeNode::Text());
}

void TTntTreeNode::SetText(const WideString& Value) {
    SetSyncedWideString(Value, text_, TTreeNode::Text(), TSetAnsiStrEvent(this, &TTntTreeNode::setAnsiText));
}

TTntTreeNode* TTntTreeNode::Parent() const {
    return wideNode(TTreeNode::Parent());
}
TTntTreeNode* TTntTreeNode::Item(Integer Index) const {
    return wideNode(TTreeNode::Item(Index));
}
TTntTreeNode* TTntTreeNode::getFirstChild() const {
    return wideNode(TTreeNode::getFirstChild());
}
TTntTreeNode* TTntTreeNode::GetLastChild() const {
    return wideNode(TTreeNode::GetLastChild());
}
TTntTreeNode* TTntTreeNode::getNextSibling() const {
    return wideNode(TTreeNode::getNextSibling());
}
TTntTreeNode* TTntTreeNode::getPrevSibling() const {
    return wideNode(TTreeNode::getPrevSibling());
}
TTntTreeNode* TTntTreeNode::GetNextChild(TTreeNode* Value) const {
    return wideNode(TTreeNode::GetNextChild(Value));
}
TTntTreeNode* TTntTreeNode::GetPrevChild(TTreeNode* Value) const {
    return wideNode(TTreeNode::GetPrevChild(Value));
}
TTntTreeNode* TTntTreeNode::GetNext() const {
    return wideNode(TTreeNode::GetNext());
}
TTntTreeNode* TTntTreeNode::GetPrev() const {
    return wideNode(TTreeNode::GetPrev());
}
TTntTreeNode* TTntTreeNode::GetNextVisible() const {
    return wideNode(TTreeNode::GetNextVisible());
}
TTntTreeNode* TTntTreeNode::GetPrevVisible() const {
    return wideNode(TTreeNode::GetPrevVisible());
}
TTntTreeNodes* TTntTreeNode::Owner() const {
    return checkedCast<TTntTreeNodes>(TTreeNode::Owner());
}
TTntCustomTreeView* TTntTreeNode::TreeView() const {
    return checkedCast<TTntCustomTreeView>(TTreeNode::TreeView());
}

bool TTntTreeNode::IsEqual(TTntTreeNode* Node) {
    return Text() == Node->Text() && Data() == Node->Data();
}

void TTntTreeNode::Assign(TPersistent* Source) {
    TTreeNode::Assign(Source);
    if (auto* node = dynamic_cast<TTntTreeNode*>(Source); node && !Deleting()) SetText(node->Text());
}

// ---- TTntTreeNodes ---------------------------------------------------------------------------------

TTntTreeNode* TTntTreeNodes::AddNode(TTreeNode* Relative, const WideString& S, void* Ptr,
                                     TNodeAttachMode Mode) {
    auto* node = static_cast<TTntTreeNode*>(TTreeNodes::AddNode(Relative, AnsiString(), Ptr, Mode));
    node->SetText(S);
    return node;
}

TTntTreeNode* TTntTreeNodes::GetFirstNode() const {
    return static_cast<TTntTreeNode*>(TTreeNodes::GetFirstNode());
}

TTntTreeNode* TTntTreeNodes::Item(Integer Index) const {
    return static_cast<TTntTreeNode*>(TTreeNodes::Item(Index));
}

void TTntTreeNodes::Assign(TPersistent* Source) {
    auto* source = dynamic_cast<TTntTreeNodes*>(Source);
    if (!source) {
        TTreeNodes::Assign(Source);
        return;
    }
    TTntMemoryStream stream;
    source->WriteData(&stream);
    stream.SetPosition(0);
    ReadData(&stream);
}

void TTntTreeNodes::WriteData(TStream* Stream) {
    WriteRecords(Stream,
                 [](TTreeNode* Node) { return markedUtf8(static_cast<TTntTreeNode*>(Node)->Text()); });
}

// A text without the mark is ANSI, as the framework writes it.
void TTntTreeNodes::ReadData(TStream* Stream) {
    ReadRecords(Stream, [](TTreeNode* Node, const std::string& Bytes) {
        static_cast<TTntTreeNode*>(Node)->SetText(textOfRecord(Bytes));
    });
}

// Written when there is no ancestor and there are nodes, or when the ancestor's nodes differ.
bool TTntTreeNodes::dataToBeWritten(TFiler* Filer) {
    auto* ancestor = dynamic_cast<TTntTreeNodes*>(Filer->Ancestor());
    if (!ancestor) return Count() > 0;
    if (ancestor->Count() != Count()) return true;
    for (Integer i = 0; i < Count(); ++i)
        if (!Item(i)->IsEqual(ancestor->Item(i))) return true;
    return false;
}

void TTntTreeNodes::DefineProperties(TFiler* Filer) {
    TTreeNodes::DefineProperties(Filer);
    Filer->DefineBinaryProperty("Utf8Data", TStreamProc(this, &TTntTreeNodes::ReadData),
                                TStreamProc(this, &TTntTreeNodes::WriteData), dataToBeWritten(Filer));
}

// ---- TTntCustomTreeView ------------------------------------------------------------------------------

TTntCustomTreeView::TTntCustomTreeView(TComponent* AOwner)
    : TTntHinted(AOwner),
      editorInstance_(MakeObjectInstance(TWndMethod(this, &TTntCustomTreeView::editorWndProc))) {}

TTntCustomTreeView::~TTntCustomTreeView() {
    FreeObjectInstance(editorInstance_);
}

TTntTreeNodes* TTntCustomTreeView::Items() const {
    return static_cast<TTntTreeNodes*>(TCustomTreeView::Items());
}

TTntTreeNode* TTntCustomTreeView::Selected() {
    return wideNode(TCustomTreeView::Selected());
}

TTntTreeNode* TTntCustomTreeView::TopItem() {
    return wideNode(TCustomTreeView::TopItem());
}

TTntTreeNode* TTntCustomTreeView::DropTarget() {
    return wideNode(TCustomTreeView::DropTarget());
}

TTntTreeNode* TTntCustomTreeView::GetNodeAt(Integer X, Integer Y) {
    return wideNode(TCustomTreeView::GetNodeAt(X, Y));
}

TTntTreeNode* TTntCustomTreeView::FindNextToSelect() {
    return wideNode(TCustomTreeView::FindNextToSelect());
}

TTreeNode* TTntCustomTreeView::CreateNode() {
    return new TTntTreeNode(Items());
}

TTreeNodes* TTntCustomTreeView::CreateNodes() {
    return new TTntTreeNodes(this);
}

void TTntCustomTreeView::CreateWindowHandle(const TCreateParams& Params) {
    CreateUnicodeHandle_ComCtl(this, Params, WC_TREEVIEWW);
}

// The framework's sort by text is asked for once, so that its compare function is known.
void TTntCustomTreeView::CreateWnd() {
    TTntHinted::CreateWnd();
    if (!Win32PlatformIsUnicode || defaultCompare) return;
    capturingDefaultSort_ = true;
    try {
        AlphaSort(true);
    } catch (...) {
        capturingDefaultSort_ = false;
        throw;
    }
    capturingDefaultSort_ = false;
}

TTntTreeNode* TTntCustomTreeView::GetNodeFromItem(const TVITEMW& Item) {
    if (!Items()->GetFirstNode()) return nullptr;
    if (Item.mask & TVIF_PARAM) return reinterpret_cast<TTntTreeNode*>(Item.lParam);
    return static_cast<TTntTreeNode*>(Items()->GetNode(Item.hItem));
}

void TTntCustomTreeView::SaveToFile(const WideString& FileName) {
    TTntFileStream stream(FileName, fmCreate);
    SaveToStream(&stream);
}

void TTntCustomTreeView::SaveToStream(TStream* Stream) {
    TTntStringList lines;
    for (TTreeNode* node = Items()->GetFirstNode(); node; node = node->GetNext())
        lines.Add(WideString(static_cast<std::size_t>(node->Level()), LevelMark) +
                  static_cast<TTntTreeNode*>(node)->Text());
    lines.SaveToStream(Stream);
}

void TTntCustomTreeView::LoadFromFile(const WideString& FileName) {
    TTntFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&stream);
}

// Relative to the node before: the same level makes a sibling, one deeper a
// child, a shallower one a sibling of the ancestor at that level.
void TTntCustomTreeView::LoadFromStream(TStream* Stream) {
    TTntStringList lines;
    lines.LoadFromStream(Stream);
    TTntTreeNodes* nodes = Items();
    nodes->BeginUpdate();
    try {
        nodes->Clear();
        TTreeNode* previous = nullptr;
        for (Integer i = 0; i < lines.Count(); ++i) {
            WideString text;
            const Integer level = levelOf(lines.Strings(i), text);
            if (!previous) {
                previous = nodes->AddChild(nullptr, text);
            } else if (level == previous->Level()) {
                previous = nodes->AddChild(previous->Parent(), text);
            } else if (level == previous->Level() + 1) {
                previous = nodes->AddChild(previous, text);
            } else if (level < previous->Level()) {
                TTreeNode* ancestor = previous->Parent();
                while (ancestor->Level() > level)
                    ancestor = ancestor->Parent();
                previous = nodes->AddChild(ancestor->Parent(), text);
            } else {
                throw ETreeViewError(Format(SInvalidLevel, {level, WideToAnsi(text)}));
            }
        }
    } catch (...) {
        nodes->EndUpdate();
        throw;
    }
    nodes->EndUpdate();
}

void TTntCustomTreeView::WndProc(TMessage& Message) {
    if (Message.Msg == TVM_SORTCHILDRENCB)
        sortChildren(Message);
    else
        TTntHinted::WndProc(Message);
}

void TTntCustomTreeView::sortChildren(TMessage& Message) {
    auto* sort = reinterpret_cast<TVSORTCB*>(Message.LParam);
    if (capturingDefaultSort_) {
        if (sort) defaultCompare = sort->lpfnCompare;
        return;
    }
    if (!Win32PlatformIsUnicode || !sort || !defaultCompare || sort->lpfnCompare != defaultCompare) {
        TTntHinted::WndProc(Message);
        return;
    }
    TVSORTCB wide = *sort;
    wide.lpfnCompare = &TTntCustomTreeView::wideCompare;
    TMessage wideMessage{TVM_SORTCHILDRENCB, Message.WParam, reinterpret_cast<LPARAM>(&wide), 0};
    TTntHinted::WndProc(wideMessage);
    Message.Result = wideMessage.Result;
}

// The framework sorts with the tree view as its parameter.
int TTntCustomTreeView::wideCompare(LPARAM First, LPARAM Second, LPARAM SortParam) {
    Assert(Win32PlatformIsUnicode);
    auto* view = reinterpret_cast<TCustomTreeView*>(SortParam);
    auto* first = reinterpret_cast<TTreeNode*>(First);
    auto* second = reinterpret_cast<TTreeNode*>(Second);
    if (view->OnCompare) {
        Integer compare = 0;
        view->OnCompare(view, first, second, 0, compare);
        return compare;
    }
    return lstrcmpW(wideNode(first)->Text().c_str(), wideNode(second)->Text().c_str());
}

void TTntCustomTreeView::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CM_HINTSHOW:
        ProcessCMHintShowMsg(Message);
        TTntHinted::Dispatch(Message);
        return;
    case CN_NOTIFY:
        cnNotify(Message);
        return;
    default:
        TTntHinted::Dispatch(Message);
    }
}

namespace {

// The UTF-16 notifications whose records the framework reads as its ANSI ones.
UINT ansiCodeOf(UINT Code) {
    switch (Code) {
    case TVN_DELETEITEMW:
        return TVN_DELETEITEMA;
    case TVN_BEGINDRAGW:
        return TVN_BEGINDRAGA;
    case TVN_ITEMEXPANDEDW:
        return TVN_ITEMEXPANDEDA;
    case TVN_ITEMEXPANDINGW:
        return TVN_ITEMEXPANDINGA;
    case TVN_SELCHANGINGW:
        return TVN_SELCHANGINGA;
    case TVN_SELCHANGEDW:
        return TVN_SELCHANGEDA;
    default:
        return Code;
    }
}

} // namespace

void TTntCustomTreeView::cnNotify(TMessage& Message) {
    auto* header = reinterpret_cast<NMHDR*>(Message.LParam);
    switch (header->code) {
    case TVN_GETDISPINFOW:
        getDispInfo(Message);
        return;
    case TVN_SETDISPINFOW: {
        auto& info = *reinterpret_cast<NMTVDISPINFOW*>(header);
        if (TTntTreeNode* node = GetNodeFromItem(info.item); node && (info.item.mask & TVIF_TEXT))
            node->SetText(TextOf(info.item.pszText));
        return;
    }
    case TVN_BEGINLABELEDITW:
        beginLabelEdit(Message);
        return;
    case TVN_ENDLABELEDITW:
        endLabelEdit(Message);
        return;
    default:
        dispatchAs(Message, ansiCodeOf(header->code));
    }
}

// The framework reads the record under the ANSI code; the code is restored on every path.
void TTntCustomTreeView::dispatchAs(TMessage& Message, UINT AnsiCode) {
    auto* header = reinterpret_cast<NMHDR*>(Message.LParam);
    const UINT code = std::exchange(header->code, AnsiCode);
    try {
        TTntHinted::Dispatch(Message);
    } catch (...) {
        header->code = code;
        throw;
    }
    header->code = code;
}

// The framework gives the images; the text comes wide, at most the buffer's size less one.
void TTntCustomTreeView::getDispInfo(TMessage& Message) {
    auto& info = *reinterpret_cast<NMTVDISPINFOW*>(Message.LParam);
    const UINT mask = info.item.mask;
    info.item.mask &= ~static_cast<UINT>(TVIF_TEXT);
    try {
        dispatchAs(Message, TVN_GETDISPINFOA);
    } catch (...) {
        info.item.mask = mask;
        throw;
    }
    info.item.mask = mask;
    TTntTreeNode* node = GetNodeFromItem(info.item);
    if (node && (mask & TVIF_TEXT)) CopyText(node->Text(), info.item.pszText, info.item.cchTextMax);
}

// No editing while a node is dragged or when the framework's editing test
// refuses; an accepted edit's editor passes its keys through the tree
// view's key handling.
void TTntCustomTreeView::beginLabelEdit(TMessage& Message) {
    if (Dragging()) {
        Message.Result = 1;
        return;
    }
    dispatchAs(Message, TVN_BEGINLABELEDITA);
    if (Message.Result != 0) return;
    editor_ = reinterpret_cast<HWND>(SendMessageW(Handle(), TVM_GETEDITCONTROL, 0, 0));
    if (!editor_) return;
    editorPrevious_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(editor_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editorInstance_)));
}

void TTntCustomTreeView::editorWndProc(TMessage& Message) {
    TntLabelEditor_WndProc(this, editor_, editorPrevious_, Message);
}

// The framework hears of the end without the text (it reads ANSI); the text
// goes through the wide OnEdited, else the framework's, into the wide text.
// Without a text the edit was cancelled.
void TTntCustomTreeView::endLabelEdit(TMessage& Message) {
    auto& info = *reinterpret_cast<NMTVDISPINFOW*>(Message.LParam);
    WCHAR* text = std::exchange(info.item.pszText, nullptr);
    try {
        dispatchAs(Message, TVN_ENDLABELEDITA);
    } catch (...) {
        info.item.pszText = text;
        throw;
    }
    info.item.pszText = text;
    Message.Result = 0;
    TTntTreeNode* node = GetNodeFromItem(info.item);
    if (!node || !text) return;
    WideString edited = text;
    if (OnEdited) {
        OnEdited(this, node, edited);
    } else if (TCustomTreeView::OnEdited) {
        AnsiString ansi = WideToAnsi(edited);
        TCustomTreeView::OnEdited(this, node, ansi);
        edited = AnsiToWide(ansi);
    }
    node->SetText(edited);
}

namespace {
const TClass tntTreeNodesClass = DescribeClass<TTntTreeNodes, TPersistent>();
const TClass tntTreeViewClass =
    DescribeClass<TTntTreeView, TCustomTreeView>([](TClassBuilder<TTntTreeView>& c) {
        c.Property("Items", &TTntTreeView::Items, &TTntTreeView::SetItems);
        c.Property("Hint", &TTntTreeView::Hint, &TTntTreeView::SetHint).Stored(&TTntTreeView::IsHintStored);
    });

struct RegisterTntTreeView {
    RegisterTntTreeView() { RegisterClass(tntTreeViewClass); }
} registerTntTreeView;
} // namespace
