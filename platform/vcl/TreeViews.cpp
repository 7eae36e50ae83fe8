// The framework's tree view: nodes kept by the framework, shown by the
// system's tree view window through text and image callbacks.
#include "platform/vcl/TreeViews.h"

#include "platform/core/CodePages.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/Filers.h"
#include "platform/win/CommonControls.h"
#include "platform/win/Cursors.h"
#include "platform/win/Messages.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

constexpr const char* SInvalidLevel = "Invalid level (%d) for item \"%s\"";
constexpr Integer defaultTreeViewWidth = 121;
constexpr Integer defaultTreeViewHeight = 97;
constexpr int stateImageShift = 12;
constexpr char levelMark = '\t';

// The node of a window item.
TTreeNode* nodeOf(LPARAM Param) {
    return reinterpret_cast<TTreeNode*>(Param);
}

// ---- Node records ----

// A node record: image, selected, state and overlay index, data and child
// count as 32-bit values, then the text's length byte.
constexpr Integer RecordFieldsSize = 6 * 4;
constexpr Integer RecordFixedSize = RecordFieldsSize + 1;
constexpr std::size_t LongestRecordText = 255;
// Deeper trees than this in a form resource are taken as damage.
constexpr Integer DeepestLevel = 1024;

struct NodeRecord {
    std::int32_t imageIndex = -1;
    std::int32_t selectedIndex = -1;
    std::int32_t stateIndex = -1;
    std::int32_t overlayIndex = -1;
    std::int32_t data = 0;
    std::int32_t count = 0;
};

void writeInteger(TStream* Stream, std::int32_t Value) {
    Stream->WriteBuffer(&Value, sizeof Value);
}

void writeNode(TStream* Stream, TTreeNode* Node, const std::function<std::string(TTreeNode*)>& TextOf) {
    std::string text = TextOf(Node);
    text.resize(std::min(text.size(), LongestRecordText));
    writeInteger(Stream, RecordFixedSize + static_cast<std::int32_t>(text.size()));
    writeInteger(Stream, Node->ImageIndex());
    writeInteger(Stream, Node->SelectedIndex());
    writeInteger(Stream, Node->StateIndex());
    writeInteger(Stream, -1);
    writeInteger(Stream, static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(Node->Data())));
    writeInteger(Stream, Node->Count());
    const auto length = static_cast<Byte>(text.size());
    Stream->WriteBuffer(&length, 1);
    Stream->WriteBuffer(text.data(), static_cast<Integer>(text.size()));
    for (Integer i = 0; i < Node->Count(); ++i)
        writeNode(Stream, Node->Item(i), TextOf);
}

// Reads the records of a stream, trusting no size, length or count it finds.
class NodeReader {
public:
    NodeReader(TStream* Stream, TTreeNodes* Nodes,
               const std::function<void(TTreeNode*, const std::string&)>& SetText)
        : stream_(Stream), nodes_(Nodes), setText_(SetText) {}

    void ReadNodes() {
        const std::int32_t count = readInteger();
        checkCount(count);
        for (std::int32_t i = 0; i < count; ++i)
            readNode(nullptr, 0);
    }

private:
    [[noreturn]] static void damaged() { throw EReadError(SReadError); }
    Int64 left() { return stream_->Size() - stream_->Position(); }
    std::int32_t readInteger() {
        if (left() < 4) damaged();
        std::int32_t value = 0;
        stream_->ReadBuffer(&value, sizeof value);
        return value;
    }
    // Every node takes at least its size and its fixed fields.
    void checkCount(std::int32_t Count) {
        if (Count < 0 || Count > left() / (4 + RecordFixedSize)) damaged();
    }
    void readNode(TTreeNode* Parent, Integer Level) {
        if (Level > DeepestLevel) damaged();
        const std::int32_t size = readInteger();
        if (size < RecordFixedSize || size > left()) damaged();
        NodeRecord record;
        stream_->ReadBuffer(&record, RecordFieldsSize);
        Byte length = 0;
        stream_->ReadBuffer(&length, 1);
        if (size != RecordFixedSize + length) damaged();
        std::string text(length, '\0');
        stream_->ReadBuffer(text.data(), length);
        checkCount(record.count);
        TTreeNode* node = nodes_->AddChildObject(
            Parent, AnsiString(), reinterpret_cast<void*>(static_cast<std::intptr_t>(record.data)));
        setText_(node, text);
        node->SetImageIndex(record.imageIndex);
        node->SetSelectedIndex(record.selectedIndex);
        node->SetStateIndex(record.stateIndex);
        for (std::int32_t i = 0; i < record.count; ++i)
            readNode(node, Level + 1);
    }

    TStream* stream_;
    TTreeNodes* nodes_;
    const std::function<void(TTreeNode*, const std::string&)>& setText_;
};

} // namespace

// ---- TTreeNode ----------------------------------------------------------------------------

TTreeNode::TTreeNode(TTreeNodes* AOwner) : owner_(AOwner) {}

TTreeNode::~TTreeNode() = default;

TCustomTreeView* TTreeNode::TreeView() const {
    return owner_ ? owner_->Owner() : nullptr;
}

void TTreeNode::Assign(TPersistent* Source) {
    auto* node = dynamic_cast<TTreeNode*>(Source);
    if (!node) {
        TPersistent::Assign(Source);
        return;
    }
    SetText(node->text_);
    data_ = node->data_;
    SetImageIndex(node->imageIndex_);
    SetSelectedIndex(node->selectedIndex_);
    SetStateIndex(node->stateIndex_);
    SetHasChildren(node->hasChildren_);
}

// The window asks for the text and images again.
void TTreeNode::update() {
    TCustomTreeView* view = TreeView();
    if (!item_ || !view || !view->HandleAllocated()) return;
    TVITEMA item;
    item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.hItem = item_;
    item.pszText = LPSTR_TEXTCALLBACKA();
    item.iImage = I_IMAGECALLBACK;
    item.iSelectedImage = I_IMAGECALLBACK;
    SendMessageA(view->Handle(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    view->Invalidate();
}

void TTreeNode::SetText(const AnsiString& Value) {
    text_ = Value;
    update();
}

void TTreeNode::SetImageIndex(Integer Value) {
    imageIndex_ = Value;
    update();
}

void TTreeNode::SetSelectedIndex(Integer Value) {
    selectedIndex_ = Value;
    update();
}

void TTreeNode::SetStateIndex(Integer Value) {
    stateIndex_ = Value;
    TCustomTreeView* view = TreeView();
    if (!item_ || !view || !view->HandleAllocated()) return;
    TVITEMA item;
    item.mask = TVIF_STATE;
    item.hItem = item_;
    item.stateMask = TVIS_STATEIMAGEMASK;
    item.state = Value >= 0 ? static_cast<UINT>(Value) << stateImageShift : 0;
    SendMessageA(view->Handle(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void TTreeNode::SetHasChildren(bool Value) {
    hasChildren_ = Value;
    TCustomTreeView* view = TreeView();
    if (!item_ || !view || !view->HandleAllocated()) return;
    TVITEMA item;
    item.mask = TVIF_CHILDREN;
    item.hItem = item_;
    item.cChildren = Value ? 1 : 0;
    SendMessageA(view->Handle(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

std::vector<std::unique_ptr<TTreeNode>>& TTreeNode::siblings() const {
    return owner_->childrenOf(parent_);
}

TTreeNode* TTreeNode::Item(Integer Index) const {
    if (Index < 0 || Index >= Count()) throw EListError(Format(SListIndexError, {Index}));
    return children_[static_cast<std::size_t>(Index)].get();
}

TTreeNode* TTreeNode::getFirstChild() const {
    return children_.empty() ? nullptr : children_.front().get();
}

TTreeNode* TTreeNode::GetLastChild() const {
    return children_.empty() ? nullptr : children_.back().get();
}

Integer TTreeNode::Index() const {
    if (!owner_) return -1;
    const auto& list = siblings();
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].get() == this) return static_cast<Integer>(i);
    return -1;
}

TTreeNode* TTreeNode::getNextSibling() const {
    const Integer index = Index();
    const auto& list = siblings();
    return index >= 0 && index + 1 < static_cast<Integer>(list.size())
               ? list[static_cast<std::size_t>(index) + 1].get()
               : nullptr;
}

TTreeNode* TTreeNode::getPrevSibling() const {
    const Integer index = Index();
    return index > 0 ? siblings()[static_cast<std::size_t>(index) - 1].get() : nullptr;
}

TTreeNode* TTreeNode::GetNext() const {
    if (!children_.empty()) return children_.front().get();
    for (const TTreeNode* node = this; node; node = node->parent_)
        if (TTreeNode* next = node->getNextSibling()) return next;
    return nullptr;
}

TTreeNode* TTreeNode::GetPrev() const {
    TTreeNode* previous = getPrevSibling();
    if (!previous) return parent_;
    while (!previous->children_.empty())
        previous = previous->children_.back().get();
    return previous;
}

TTreeNode* TTreeNode::GetNextVisible() const {
    if (Expanded() && !children_.empty()) return children_.front().get();
    for (const TTreeNode* node = this; node; node = node->parent_)
        if (TTreeNode* next = node->getNextSibling()) return next;
    return nullptr;
}

TTreeNode* TTreeNode::GetPrevVisible() const {
    TTreeNode* previous = getPrevSibling();
    if (!previous) return parent_;
    while (previous->Expanded() && !previous->children_.empty())
        previous = previous->children_.back().get();
    return previous;
}

Integer TTreeNode::Level() const {
    Integer level = 0;
    for (const TTreeNode* node = parent_; node; node = node->parent_)
        ++level;
    return level;
}

Integer TTreeNode::AbsoluteIndex() const {
    Integer index = 0;
    for (TTreeNode* node = owner_->GetFirstNode(); node && node != this; node = node->GetNext())
        ++index;
    return index;
}

bool TTreeNode::Expanded() const {
    TCustomTreeView* view = TreeView();
    if (!item_ || !view || !view->HandleAllocated()) return wasExpanded_;
    return SendMessageA(view->Handle(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item_), TVIS_EXPANDED) !=
           0;
}

void TTreeNode::SetExpanded(bool Value) {
    if (Value)
        Expand(false);
    else
        Collapse(false);
}

void TTreeNode::Expand(bool Recurse) {
    wasExpanded_ = true;
    TCustomTreeView* view = TreeView();
    if (item_ && view && view->HandleAllocated())
        SendMessageA(view->Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item_));
    if (Recurse)
        for (auto& child : children_)
            child->Expand(true);
}

void TTreeNode::Collapse(bool Recurse) {
    wasExpanded_ = false;
    TCustomTreeView* view = TreeView();
    if (item_ && view && view->HandleAllocated())
        SendMessageA(view->Handle(), TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(item_));
    if (Recurse)
        for (auto& child : children_)
            child->Collapse(true);
}

bool TTreeNode::Selected() const {
    TCustomTreeView* view = TreeView();
    return view && view->Selected() == this;
}

void TTreeNode::SetSelected(bool Value) {
    if (TCustomTreeView* view = TreeView()) view->SetSelected(Value ? this : nullptr);
}

bool TTreeNode::IsVisible() const {
    for (const TTreeNode* node = parent_; node; node = node->parent_)
        if (!node->Expanded()) return false;
    return true;
}

void TTreeNode::Delete() {
    if (owner_) owner_->Delete(this);
}

void TTreeNode::DeleteChildren() {
    while (!children_.empty())
        children_.back()->Delete();
}

void TTreeNode::MakeVisible() {
    TCustomTreeView* view = TreeView();
    if (item_ && view && view->HandleAllocated())
        SendMessageA(view->Handle(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item_));
}

bool TTreeNode::EditText() {
    TCustomTreeView* view = TreeView();
    return item_ && view && view->HandleAllocated() &&
           SendMessageA(view->Handle(), TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(item_)) != 0;
}

TRect TTreeNode::DisplayRect(bool TextOnly) const {
    TRect rect;
    TCustomTreeView* view = TreeView();
    if (!item_ || !view || !view->HandleAllocated()) return rect;
    // The message takes the item in the first bytes of the rectangle it fills.
    static_assert(sizeof(item_) <= sizeof(rect));
    std::memcpy(static_cast<void*>(&rect), &item_, sizeof(item_));
    if (!SendMessageA(view->Handle(), TVM_GETITEMRECT, TextOnly, reinterpret_cast<LPARAM>(&rect)))
        return TRect();
    return rect;
}

void TTreeNode::MoveTo(TTreeNode* Destination, TNodeAttachMode Mode) {
    if (Destination == this) return;
    for (TTreeNode* node = Destination; node; node = node->parent_)
        if (node == this) return;
    TTreeNodes* nodes = owner_;
    std::unique_ptr<TTreeNode> moved = nodes->detach(this);
    nodes->attach(std::move(moved), Destination, Mode);
}

// ---- TTreeNodes ---------------------------------------------------------------------------

TTreeNodes::TTreeNodes(TCustomTreeView* AOwner) : owner_(AOwner) {}

TTreeNodes::~TTreeNodes() = default;

void TTreeNodes::WriteRecords(TStream* Stream, const TRecordTextOf& TextOf) {
    Integer roots = 0;
    for (TTreeNode* node = GetFirstNode(); node; node = node->getNextSibling())
        ++roots;
    writeInteger(Stream, roots);
    for (TTreeNode* node = GetFirstNode(); node; node = node->getNextSibling())
        writeNode(Stream, node, TextOf);
}

void TTreeNodes::ReadRecords(TStream* Stream, const TSetRecordText& SetText) {
    BeginUpdate();
    try {
        Clear();
        NodeReader(Stream, this, SetText).ReadNodes();
    } catch (...) {
        Clear();
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TTreeNodes::WriteData(TStream* Stream) {
    WriteRecords(Stream, [](TTreeNode* Node) { return std::string(Node->Text()); });
}

void TTreeNodes::ReadData(TStream* Stream) {
    ReadRecords(Stream, [](TTreeNode* Node, const std::string& Bytes) { Node->SetText(Bytes); });
}

bool TTreeNodes::dataToBeWritten(TFiler* Filer) {
    auto* ancestor = dynamic_cast<TTreeNodes*>(Filer->Ancestor());
    if (!ancestor) return Count() > 0;
    if (ancestor->Count() != Count()) return true;
    for (Integer i = 0; i < Count(); ++i)
        if (Item(i)->Text() != ancestor->Item(i)->Text() || Item(i)->Data() != ancestor->Item(i)->Data())
            return true;
    return false;
}

void TTreeNodes::DefineProperties(TFiler* Filer) {
    TPersistent::DefineProperties(Filer);
    Filer->DefineBinaryProperty("Data", TStreamProc(this, &TTreeNodes::ReadData),
                                TStreamProc(this, &TTreeNodes::WriteData), dataToBeWritten(Filer));
}

void TTreeNodes::Assign(TPersistent* Source) {
    auto* source = dynamic_cast<TTreeNodes*>(Source);
    if (!source) {
        TPersistent::Assign(Source);
        return;
    }
    BeginUpdate();
    Clear();
    std::vector<std::pair<TTreeNode*, TTreeNode*>> pending;
    for (TTreeNode* node = source->GetFirstNode(); node; node = node->GetNext()) {
        TTreeNode* parent = nullptr;
        for (const auto& [from, to] : pending)
            if (from == node->Parent()) parent = to;
        TTreeNode* copy = AddChild(parent, node->Text());
        copy->Assign(node);
        pending.emplace_back(node, copy);
    }
    EndUpdate();
}

std::vector<std::unique_ptr<TTreeNode>>& TTreeNodes::childrenOf(TTreeNode* Parent) {
    return Parent ? Parent->children_ : roots_;
}

TTreeNode* TTreeNodes::AddObject(TTreeNode* Sibling, const AnsiString& S, void* Ptr) {
    return AddNode(Sibling, S, Ptr, naAdd);
}

TTreeNode* TTreeNodes::AddObjectFirst(TTreeNode* Sibling, const AnsiString& S, void* Ptr) {
    return AddNode(Sibling, S, Ptr, naAddFirst);
}

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* Parent, const AnsiString& S, void* Ptr) {
    return AddNode(Parent, S, Ptr, naAddChild);
}

TTreeNode* TTreeNodes::AddChildObjectFirst(TTreeNode* Parent, const AnsiString& S, void* Ptr) {
    return AddNode(Parent, S, Ptr, naAddChildFirst);
}

TTreeNode* TTreeNodes::InsertObject(TTreeNode* Sibling, const AnsiString& S, void* Ptr) {
    return AddNode(Sibling, S, Ptr, naInsert);
}

TTreeNode* TTreeNodes::AddNode(TTreeNode* Relative, const AnsiString& S, void* Ptr, TNodeAttachMode Mode) {
    std::unique_ptr<TTreeNode> node(owner_->CreateNode());
    node->owner_ = this;
    node->text_ = S;
    node->data_ = Ptr;
    return attach(std::move(node), Relative, Mode);
}

// Relative is a sibling for naAdd, naAddFirst and naInsert, the parent for the child modes.
TTreeNode* TTreeNodes::attach(std::unique_ptr<TTreeNode> Node, TTreeNode* Relative, TNodeAttachMode Mode) {
    const bool childMode = Mode == naAddChild || Mode == naAddChildFirst;
    TTreeNode* parent = childMode ? Relative : Relative ? Relative->parent_ : nullptr;
    auto& list = childrenOf(parent);
    std::size_t position = list.size();
    if (Mode == naAddFirst || Mode == naAddChildFirst) position = 0;
    if (Mode == naInsert && Relative)
        position = static_cast<std::size_t>(std::max<Integer>(0, Relative->Index()));
    Node->parent_ = parent;
    TTreeNode* attached = Node.get();
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(position), std::move(Node));
    if (owner_->HandleAllocated()) sendTree(attached);
    return attached;
}

// The node and its children leave the window and the tree, and are given back.
std::unique_ptr<TTreeNode> TTreeNodes::detach(TTreeNode* Node) {
    if (Node->item_ && owner_->HandleAllocated()) {
        HTREEITEM item = Node->item_;
        forgetItems(Node);
        SendMessageA(owner_->Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item));
    }
    auto& list = childrenOf(Node->parent_);
    auto found = std::find_if(list.begin(), list.end(),
                              [Node](const auto& candidate) { return candidate.get() == Node; });
    std::unique_ptr<TTreeNode> detached = std::move(*found);
    list.erase(found);
    if (Node->parent_ && Node->parent_->children_.empty()) Node->parent_->wasExpanded_ = false;
    Node->parent_ = nullptr;
    return detached;
}

// A node reaches the window after its previous sibling, with callback texts and images.
void TTreeNodes::sendNode(TTreeNode* Node) {
    TVINSERTSTRUCTA insert;
    insert.hParent = Node->parent_ ? Node->parent_->item_ : TVI_ROOT;
    TTreeNode* previous = Node->getPrevSibling();
    insert.hInsertAfter = previous ? previous->item_ : TVI_FIRST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    insert.item.pszText = LPSTR_TEXTCALLBACKA();
    insert.item.iImage = I_IMAGECALLBACK;
    insert.item.iSelectedImage = I_IMAGECALLBACK;
    insert.item.lParam = reinterpret_cast<LPARAM>(Node);
    if (Node->hasChildren_) {
        insert.item.mask |= TVIF_CHILDREN;
        insert.item.cChildren = 1;
    }
    if (Node->stateIndex_ >= 0) {
        insert.item.mask |= TVIF_STATE;
        insert.item.stateMask = TVIS_STATEIMAGEMASK;
        insert.item.state = static_cast<UINT>(Node->stateIndex_) << stateImageShift;
    }
    Node->item_ = reinterpret_cast<HTREEITEM>(
        SendMessageA(owner_->Handle(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

void TTreeNodes::sendTree(TTreeNode* Node) {
    sendNode(Node);
    for (auto& child : Node->children_)
        sendTree(child.get());
    if (Node->wasExpanded_ && !Node->children_.empty())
        SendMessageA(owner_->Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(Node->item_));
}

void TTreeNodes::forgetItems(TTreeNode* Parent) {
    for (auto& child : childrenOf(Parent)) {
        child->item_ = nullptr;
        forgetItems(child.get());
    }
    if (Parent) Parent->item_ = nullptr;
}

void TTreeNodes::notifyDeletion(TTreeNode* Node) {
    Node->deleting_ = true;
    for (auto& child : Node->children_)
        notifyDeletion(child.get());
    owner_->Delete(Node);
}

void TTreeNodes::Delete(TTreeNode* Node) {
    if (!Node || Node->owner_ != this) return;
    if (owner_->HandleAllocated() && Node->Selected()) owner_->SetSelected(owner_->FindNextToSelect());
    notifyDeletion(Node);
    if (owner_->savedSelection_ == Node) owner_->savedSelection_ = nullptr;
    detach(Node);
}

void TTreeNodes::Clear() {
    BeginUpdate();
    while (!roots_.empty())
        Delete(roots_.back().get());
    EndUpdate();
}

Integer TTreeNodes::Count() const {
    Integer count = 0;
    for (TTreeNode* node = GetFirstNode(); node; node = node->GetNext())
        ++count;
    return count;
}

TTreeNode* TTreeNodes::Item(Integer Index) const {
    Integer at = 0;
    for (TTreeNode* node = GetFirstNode(); node; node = node->GetNext(), ++at)
        if (at == Index) return node;
    throw EListError(Format(SListIndexError, {Index}));
}

TTreeNode* TTreeNodes::GetFirstNode() const {
    return roots_.empty() ? nullptr : roots_.front().get();
}

TTreeNode* TTreeNodes::GetNode(HTREEITEM ItemId) const {
    for (TTreeNode* node = GetFirstNode(); node; node = node->GetNext())
        if (node->item_ == ItemId) return node;
    return nullptr;
}

void TTreeNodes::BeginUpdate() {
    if (updateCount_++ == 0 && owner_->HandleAllocated())
        SendMessageA(owner_->Handle(), WM_SETREDRAW, FALSE, 0);
}

void TTreeNodes::EndUpdate() {
    if (updateCount_ == 0 || --updateCount_ != 0 || !owner_->HandleAllocated()) return;
    SendMessageA(owner_->Handle(), WM_SETREDRAW, TRUE, 0);
    owner_->Invalidate();
}

// ---- TCustomTreeView ----------------------------------------------------------------------

TCustomTreeView::TCustomTreeView(TComponent* AOwner)
    : TWinControl(AOwner), images_(TNotifyEvent(this, &TCustomTreeView::imagesChanged)),
      stateImages_(TNotifyEvent(this, &TCustomTreeView::imagesChanged)) {
    SetControlStyle(TControlStyle{csCaptureMouse, csClickEvents, csDoubleClicks});
    SetBounds(Left(), Top(), defaultTreeViewWidth, defaultTreeViewHeight);
    SetTabStop(true);
    RegisterCommonControlClasses();
}

TCustomTreeView::~TCustomTreeView() {
    if (!DestructionPrepared()) BeforeDestruction();
}

// The nodes go before the window, so that OnDeletion still finds the control whole.
void TCustomTreeView::BeforeDestruction() {
    Items()->Clear();
    TWinControl::BeforeDestruction();
}

TTreeNodes* TCustomTreeView::Items() const {
    if (!items_) items_.reset(const_cast<TCustomTreeView*>(this)->CreateNodes());
    return items_.get();
}

TTreeNode* TCustomTreeView::CreateNode() {
    return new TTreeNode(Items());
}

TTreeNodes* TCustomTreeView::CreateNodes() {
    return new TTreeNodes(this);
}

TTreeNode* TCustomTreeView::Selected() {
    if (rightClickNode_) return rightClickNode_;
    if (!HandleAllocated()) return savedSelection_;
    auto item = reinterpret_cast<HTREEITEM>(SendMessageA(Handle(), TVM_GETNEXTITEM, TVGN_CARET, 0));
    return item ? Items()->GetNode(item) : nullptr;
}

void TCustomTreeView::SetSelected(TTreeNode* Value) {
    if (!HandleAllocated()) {
        savedSelection_ = Value;
        return;
    }
    SendMessageA(Handle(), TVM_SELECTITEM, TVGN_CARET,
                 reinterpret_cast<LPARAM>(Value ? Value->item_ : nullptr));
}

TTreeNode* TCustomTreeView::TopItem() {
    if (!HandleAllocated()) return nullptr;
    auto item = reinterpret_cast<HTREEITEM>(SendMessageA(Handle(), TVM_GETNEXTITEM, TVGN_FIRSTVISIBLE, 0));
    return item ? Items()->GetNode(item) : nullptr;
}

TTreeNode* TCustomTreeView::DropTarget() {
    if (!HandleAllocated()) return nullptr;
    auto item = reinterpret_cast<HTREEITEM>(SendMessageA(Handle(), TVM_GETNEXTITEM, TVGN_DROPHILITE, 0));
    return item ? Items()->GetNode(item) : nullptr;
}

Integer TCustomTreeView::Indent() {
    if (HandleAllocated()) indent_ = static_cast<Integer>(SendMessageA(Handle(), TVM_GETINDENT, 0, 0));
    return indent_;
}

void TCustomTreeView::SetIndent(Integer Value) {
    indent_ = Value;
    if (HandleAllocated()) SendMessageA(Handle(), TVM_SETINDENT, static_cast<WPARAM>(Value), 0);
}

void TCustomTreeView::sendStyle() {
    if (HandleAllocated()) RecreateWnd();
}

void TCustomTreeView::SetShowButtons(bool Value) {
    if (showButtons_ == Value) return;
    showButtons_ = Value;
    sendStyle();
}

void TCustomTreeView::SetShowLines(bool Value) {
    if (showLines_ == Value) return;
    showLines_ = Value;
    sendStyle();
}

void TCustomTreeView::SetShowRoot(bool Value) {
    if (showRoot_ == Value) return;
    showRoot_ = Value;
    sendStyle();
}

void TCustomTreeView::SetReadOnly(bool Value) {
    if (readOnly_ == Value) return;
    readOnly_ = Value;
    sendStyle();
}

void TCustomTreeView::SetHideSelection(bool Value) {
    if (hideSelection_ == Value) return;
    hideSelection_ = Value;
    sendStyle();
}

void TCustomTreeView::SetRowSelect(bool Value) {
    if (rowSelect_ == Value) return;
    rowSelect_ = Value;
    sendStyle();
}

void TCustomTreeView::SetAutoExpand(bool Value) {
    if (autoExpand_ == Value) return;
    autoExpand_ = Value;
    sendStyle();
}

void TCustomTreeView::SetToolTips(bool Value) {
    if (toolTips_ == Value) return;
    toolTips_ = Value;
    sendStyle();
}

void TCustomTreeView::setImageList(TControlImages& Images, TCustomImageList* Value) {
    if (Images.List() == Value) return;
    if (Images.List()) Images.List()->RemoveFreeNotification(this);
    Images.Set(Value);
    if (Value) Value->FreeNotification(this);
    imagesChanged(Value);
}

void TCustomTreeView::SetImages(TCustomImageList* Value) {
    setImageList(images_, Value);
}

void TCustomTreeView::SetStateImages(TCustomImageList* Value) {
    setImageList(stateImages_, Value);
}

void TCustomTreeView::imagesChanged(TObject*) {
    if (!HandleAllocated()) return;
    SendMessageA(Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images_.Handle()));
    SendMessageA(Handle(), TVM_SETIMAGELIST, TVSIL_STATE, reinterpret_cast<LPARAM>(stateImages_.Handle()));
}

void TCustomTreeView::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == Images()) SetImages(nullptr);
    if (AComponent == StateImages()) SetStateImages(nullptr);
}

void TCustomTreeView::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, WC_TREEVIEWA);
    Params.ExStyle |= WS_EX_CLIENTEDGE;
    if (showButtons_) Params.Style |= TVS_HASBUTTONS;
    if (showLines_) Params.Style |= TVS_HASLINES;
    if (showRoot_) Params.Style |= TVS_LINESATROOT;
    if (!readOnly_) Params.Style |= TVS_EDITLABELS;
    if (!hideSelection_) Params.Style |= TVS_SHOWSELALWAYS;
    if (rowSelect_) Params.Style |= TVS_FULLROWSELECT;
    if (autoExpand_) Params.Style |= TVS_SINGLEEXPAND;
    if (!toolTips_) Params.Style |= TVS_NOTOOLTIPS;
    Params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

// The window is given every node again, with what was expanded and selected.
void TCustomTreeView::CreateWnd() {
    TWinControl::CreateWnd();
    SendMessageA(Handle(), TVM_SETINDENT, static_cast<WPARAM>(indent_), 0);
    imagesChanged(nullptr);
    for (auto& root : Items()->roots_)
        Items()->sendTree(root.get());
    if (TTreeNode* selection = std::exchange(savedSelection_, nullptr)) SetSelected(selection);
}

void TCustomTreeView::DestroyWnd() {
    for (TTreeNode* node = Items()->GetFirstNode(); node; node = node->GetNext())
        node->wasExpanded_ = node->Expanded();
    savedSelection_ = Selected();
    // The window's deletion notices find no node: the nodes stay with the framework.
    Items()->forgetItems(nullptr);
    TWinControl::DestroyWnd();
}

TTreeNode* TCustomTreeView::GetNodeAt(Integer X, Integer Y) {
    if (!HandleAllocated()) return nullptr;
    TVHITTESTINFO hit;
    hit.pt = {X, Y};
    auto item =
        reinterpret_cast<HTREEITEM>(SendMessageA(Handle(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return item && (hit.flags & (TVHT_ONITEM | TVHT_ONITEMBUTTON)) ? Items()->GetNode(item) : nullptr;
}

bool TCustomTreeView::IsEditing() {
    return editing_;
}

void TCustomTreeView::FullExpand() {
    for (auto& root : Items()->roots_)
        root->Expand(true);
}

void TCustomTreeView::FullCollapse() {
    for (auto& root : Items()->roots_)
        root->Collapse(true);
}

int TCustomTreeView::defaultSort(LPARAM First, LPARAM Second, LPARAM SortParam) {
    auto* view = reinterpret_cast<TCustomTreeView*>(SortParam);
    if (view->OnCompare) {
        Integer compare = 0;
        view->OnCompare(view, nodeOf(First), nodeOf(Second), 0, compare);
        return compare;
    }
    return AnsiCompareText(nodeOf(First)->Text(), nodeOf(Second)->Text());
}

bool TCustomTreeView::AlphaSort(bool Recurse) {
    return CustomSort(&TCustomTreeView::defaultSort, reinterpret_cast<LPARAM>(this), Recurse);
}

bool TCustomTreeView::CustomSort(PFNTVCOMPARE SortProc, LPARAM Data, bool Recurse) {
    if (!HandleAllocated()) return false;
    if (!SortProc) return AlphaSort(Recurse);
    TVSORTCB sort;
    sort.hParent = TVI_ROOT;
    sort.lpfnCompare = SortProc;
    sort.lParam = Data;
    SendMessageA(Handle(), TVM_SORTCHILDRENCB, Recurse, reinterpret_cast<LPARAM>(&sort));
    followWindowOrder(nullptr, Recurse);
    return true;
}

void TCustomTreeView::followWindowOrder(TTreeNode* Parent, bool Recurse) {
    auto& list = Items()->childrenOf(Parent);
    std::vector<std::unique_ptr<TTreeNode>> ordered;
    auto item =
        reinterpret_cast<HTREEITEM>(SendMessageA(Handle(), TVM_GETNEXTITEM, Parent ? TVGN_CHILD : TVGN_ROOT,
                                                 reinterpret_cast<LPARAM>(Parent ? Parent->item_ : nullptr)));
    while (item) {
        auto found = std::find_if(list.begin(), list.end(),
                                  [item](const auto& node) { return node && node->item_ == item; });
        if (found != list.end()) ordered.push_back(std::move(*found));
        item = reinterpret_cast<HTREEITEM>(
            SendMessageA(Handle(), TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
    }
    if (ordered.size() == list.size()) list = std::move(ordered);
    if (Recurse)
        for (auto& child : list)
            if (child) followWindowOrder(child.get(), true);
}

// ---- Text form ----

void TCustomTreeView::SaveToFile(const AnsiString& FileName) {
    TFileStream stream(FileName, fmCreate);
    SaveToStream(&stream);
}

void TCustomTreeView::SaveToStream(TStream* Stream) {
    TStringList lines;
    for (TTreeNode* node = Items()->GetFirstNode(); node; node = node->GetNext())
        lines.Add(AnsiString(static_cast<std::size_t>(node->Level()), levelMark) + node->Text());
    lines.SaveToStream(Stream);
}

void TCustomTreeView::LoadFromFile(const AnsiString& FileName) {
    TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&stream);
}

// Leading tabs and spaces give a line's level: the same as the node before
// makes a sibling, one more a child, fewer a sibling further up. A jump of
// more than one level is an error.
void TCustomTreeView::LoadFromStream(TStream* Stream) {
    TStringList lines;
    lines.LoadFromStream(Stream);
    Items()->BeginUpdate();
    try {
        Items()->Clear();
        TTreeNode* previous = nullptr;
        Integer previousLevel = 0;
        for (Integer i = 0; i < lines.Count(); ++i) {
            const AnsiString line = lines.Strings(i);
            std::size_t start = 0;
            while (start < line.size() && (line[start] == levelMark || line[start] == ' '))
                ++start;
            const auto level = static_cast<Integer>(start);
            const AnsiString text = line.substr(start);
            if (!previous) {
                if (level != 0) throw ETreeViewError(Format(SInvalidLevel, {level, text}));
                previous = Items()->AddChild(nullptr, text);
            } else if (level == previousLevel) {
                previous = Items()->Add(previous, text);
            } else if (level == previousLevel + 1) {
                previous = Items()->AddChild(previous, text);
            } else if (level < previousLevel) {
                TTreeNode* sibling = previous;
                while (sibling->Level() > level)
                    sibling = sibling->Parent();
                previous = Items()->Add(sibling, text);
            } else {
                throw ETreeViewError(Format(SInvalidLevel, {level, text}));
            }
            previousLevel = level;
        }
    } catch (...) {
        Items()->EndUpdate();
        throw;
    }
    Items()->EndUpdate();
}

// ---- Events ----

bool TCustomTreeView::CanChange(TTreeNode* Node) {
    bool allow = true;
    if (OnChanging) OnChanging(this, Node, allow);
    return allow;
}

void TCustomTreeView::Change(TTreeNode* Node) {
    if (OnChange) OnChange(this, Node);
}

bool TCustomTreeView::CanExpand(TTreeNode* Node) {
    bool allow = true;
    if (OnExpanding) OnExpanding(this, Node, allow);
    return allow;
}

void TCustomTreeView::Expand(TTreeNode* Node) {
    if (OnExpanded) OnExpanded(this, Node);
}

bool TCustomTreeView::CanCollapse(TTreeNode* Node) {
    bool allow = true;
    if (OnCollapsing) OnCollapsing(this, Node, allow);
    return allow;
}

void TCustomTreeView::Collapse(TTreeNode* Node) {
    if (OnCollapsed) OnCollapsed(this, Node);
}

bool TCustomTreeView::CanEdit(TTreeNode* Node) {
    bool allow = true;
    if (OnEditing) OnEditing(this, Node, allow);
    return allow;
}

void TCustomTreeView::Edit(TTreeNode* Node, AnsiString& S) {
    if (OnEdited) OnEdited(this, Node, S);
    Node->text_ = S;
}

TTreeNode* TCustomTreeView::FindNextToSelect() {
    TTreeNode* selected = Selected();
    if (!selected) return nullptr;
    if (TTreeNode* next = selected->getNextSibling()) return next;
    if (TTreeNode* previous = selected->getPrevSibling()) return previous;
    return selected->Parent();
}

void TCustomTreeView::Delete(TTreeNode* Node) {
    if (OnDeletion) OnDeletion(this, Node);
}

void TCustomTreeView::Dispatch(TMessage& Message) {
    if (Message.Msg == CN_NOTIFY)
        cnNotify(Message);
    else
        TWinControl::Dispatch(Message);
}

// With RightClickSelect the node under the mouse is the selected one for as
// long as its context menu is asked for (OnContextPopup, the popup menu).
LRESULT TCustomTreeView::contextMenuOfRightClick() {
    POINT cursor;
    GetCursorPos(&cursor);
    const TPoint client = ScreenToClient({cursor.x, cursor.y});
    rightClickNode_ = GetNodeAt(client.x, client.y);
    try {
        Perform(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Handle()), MAKELPARAM(cursor.x, cursor.y));
    } catch (...) {
        rightClickNode_ = nullptr;
        throw;
    }
    rightClickNode_ = nullptr;
    return 1;
}

// The framework answers the window's ANSI notifications; the UTF-16 ones are the Unicode layer's.
void TCustomTreeView::cnNotify(TMessage& Message) {
    auto* header = reinterpret_cast<NMHDR*>(Message.LParam);
    auto* info = reinterpret_cast<NMTREEVIEWA*>(header);
    switch (header->code) {
    case TVN_GETDISPINFOA:
        getDispInfo(*reinterpret_cast<NMTVDISPINFOA*>(header));
        break;
    case TVN_SELCHANGINGA:
        Message.Result = info->itemNew.hItem && !CanChange(nodeOf(info->itemNew.lParam)) ? 1 : 0;
        break;
    case NM_RCLICK:
        Message.Result = rightClickSelect_ ? contextMenuOfRightClick() : 0;
        break;
    case TVN_SELCHANGEDA:
        Change(info->itemNew.hItem ? nodeOf(info->itemNew.lParam) : nullptr);
        break;
    case TVN_ITEMEXPANDINGA:
        expanding(Message, *info);
        break;
    case TVN_ITEMEXPANDEDA: {
        TTreeNode* node = nodeOf(info->itemNew.lParam);
        node->wasExpanded_ = info->action == TVE_EXPAND;
        if (info->action == TVE_EXPAND)
            Expand(node);
        else
            Collapse(node);
        break;
    }
    case TVN_BEGINLABELEDITA: {
        auto* edit = reinterpret_cast<NMTVDISPINFOA*>(header);
        Message.Result = CanEdit(nodeOf(edit->item.lParam)) ? 0 : 1;
        editing_ = Message.Result == 0;
        break;
    }
    case TVN_ENDLABELEDITA: {
        editing_ = false;
        auto* edit = reinterpret_cast<NMTVDISPINFOA*>(header);
        if (edit->item.pszText) {
            AnsiString text = edit->item.pszText;
            TTreeNode* node = nodeOf(edit->item.lParam);
            this->Edit(node, text);
            node->update();
        }
        Message.Result = 0;
        break;
    }
    default:
        break;
    }
}

void TCustomTreeView::expanding(TMessage& Message, const NMTREEVIEWA& Info) {
    TTreeNode* node = nodeOf(Info.itemNew.lParam);
    const bool allowed = Info.action == TVE_EXPAND ? CanExpand(node) : CanCollapse(node);
    Message.Result = allowed ? 0 : 1;
}

void TCustomTreeView::getDispInfo(NMTVDISPINFOA& Info) {
    TTreeNode* node = nodeOf(Info.item.lParam);
    if (!node) return;
    if (Info.item.mask & TVIF_TEXT)
        CopyText(AnsiToWide(node->Text()), Info.item.pszText, Info.item.cchTextMax);
    if (Info.item.mask & TVIF_IMAGE) {
        if (OnGetImageIndex) OnGetImageIndex(this, node);
        Info.item.iImage = node->ImageIndex();
    }
    if (Info.item.mask & TVIF_SELECTEDIMAGE) {
        if (OnGetSelectedIndex) OnGetSelectedIndex(this, node);
        Info.item.iSelectedImage = node->SelectedIndex();
    }
}

// ---- Published properties -----------------------------------------------------------------

namespace {

const TTypeInfo* const attachModeType = DefineEnum<TNodeAttachMode>(
    "TNodeAttachMode", {"naAdd", "naAddFirst", "naAddChild", "naAddChildFirst", "naInsert"});

const TClass customTreeViewClass = DescribeClass<TCustomTreeView, TWinControl>();

const TClass treeNodesClass = DescribeClass<TTreeNodes, TPersistent>();

const TClass treeViewClass = DescribeClass<TTreeView, TCustomTreeView>([](TClassBuilder<TTreeView>& c) {
    c.Property("AutoExpand", &TTreeView::AutoExpand, &TTreeView::SetAutoExpand).Default(false);
    c.Property("HideSelection", &TTreeView::HideSelection, &TTreeView::SetHideSelection).Default(true);
    c.Property("Images", &TTreeView::Images, &TTreeView::SetImages);
    c.Property("Indent", &TTreeView::Indent, &TTreeView::SetIndent);
    c.Property("Items", &TTreeView::Items, &TTreeView::SetItems);
    c.Property("ReadOnly", &TTreeView::ReadOnly, &TTreeView::SetReadOnly).Default(false);
    c.Property("RightClickSelect", &TTreeView::RightClickSelect, &TTreeView::SetRightClickSelect)
        .Default(false);
    c.Property("RowSelect", &TTreeView::RowSelect, &TTreeView::SetRowSelect).Default(false);
    c.Property("ShowButtons", &TTreeView::ShowButtons, &TTreeView::SetShowButtons).Default(true);
    c.Property("ShowLines", &TTreeView::ShowLines, &TTreeView::SetShowLines).Default(true);
    c.Property("ShowRoot", &TTreeView::ShowRoot, &TTreeView::SetShowRoot).Default(true);
    c.Property("StateImages", &TTreeView::StateImages, &TTreeView::SetStateImages);
    c.Property("ToolTips", &TTreeView::ToolTips, &TTreeView::SetToolTips).Default(true);
    c.Property("OnChange", &TTreeView::OnChange, &TTreeView::OnChange);
    c.Property("OnChanging", &TTreeView::OnChanging, &TTreeView::OnChanging);
    c.Property("OnCollapsed", &TTreeView::OnCollapsed, &TTreeView::OnCollapsed);
    c.Property("OnCollapsing", &TTreeView::OnCollapsing, &TTreeView::OnCollapsing);
    c.Property("OnCompare", &TTreeView::OnCompare, &TTreeView::OnCompare);
    c.Property("OnDeletion", &TTreeView::OnDeletion, &TTreeView::OnDeletion);
    c.Property("OnEdited", &TTreeView::OnEdited, &TTreeView::OnEdited);
    c.Property("OnEditing", &TTreeView::OnEditing, &TTreeView::OnEditing);
    c.Property("OnExpanded", &TTreeView::OnExpanded, &TTreeView::OnExpanded);
    c.Property("OnExpanding", &TTreeView::OnExpanding, &TTreeView::OnExpanding);
    c.Property("OnGetImageIndex", &TTreeView::OnGetImageIndex, &TTreeView::OnGetImageIndex);
    c.Property("OnGetSelectedIndex", &TTreeView::OnGetSelectedIndex, &TTreeView::OnGetSelectedIndex);
});

struct RegisterTreeViewClasses {
    RegisterTreeViewClasses() { RegisterClass(treeViewClass); }
} registerTreeViewClasses;

} // namespace
