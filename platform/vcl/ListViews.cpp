// The framework's list view: items and columns kept by the framework, shown
// by the system's list view window through text and image callbacks.
#include "platform/vcl/ListViews.h"

#include "platform/core/CodePages.h"
#include "platform/core/SysUtils.h"
#include "platform/win/CommonControls.h"
#include "platform/win/Gdi.h"
#include "platform/win/Messages.h"
#include "platform/win/Windows.h"

#include <algorithm>

namespace {

constexpr Integer defaultListViewWidth = 250;
constexpr Integer defaultListViewHeight = 150;
constexpr UINT checkedState = 2u << 12;
constexpr UINT uncheckedState = 1u << 12;
// Where an item's overlay image (its index + 1) sits in its state.
constexpr int OverlayShift = 8;
// The default drawing of an owner-drawn row writes the caption this far in.
constexpr Integer ownerDrawnTextIndent = 2;

int alignmentFormat(TAlignment Alignment) {
    switch (Alignment) {
    case taRightJustify:
        return LVCFMT_RIGHT;
    case taCenter:
        return LVCFMT_CENTER;
    default:
        return LVCFMT_LEFT;
    }
}

} // namespace

// ---- TListColumn --------------------------------------------------------------------------

TListColumn::TListColumn(TCollection* Collection) : TCollectionItem(Collection) {}

TListColumn::~TListColumn() = default;

TCustomListView* TListColumn::listView() const {
    auto* columns = dynamic_cast<TListColumns*>(Collection());
    return columns ? columns->Owner() : nullptr;
}

void TListColumn::Assign(TPersistent* Source) {
    auto* column = dynamic_cast<TListColumn*>(Source);
    if (!column) {
        TCollectionItem::Assign(Source);
        return;
    }
    caption_ = column->caption_;
    width_ = column->Width();
    alignment_ = column->alignment_;
    imageIndex_ = column->imageIndex_;
    Changed(false);
}

AnsiString TListColumn::GetDisplayName() {
    return caption_.empty() ? TCollectionItem::GetDisplayName() : caption_;
}

void TListColumn::SetCaption(const AnsiString& Value) {
    if (caption_ == Value) return;
    caption_ = Value;
    Changed(false);
}

Integer TListColumn::Width() {
    TCustomListView* view = listView();
    if (view && view->HandleAllocated() && view->ViewStyle() == vsReport)
        width_ = static_cast<Integer>(
            SendMessageA(view->Handle(), LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(Index()), 0));
    return width_;
}

void TListColumn::SetWidth(Integer Value) {
    width_ = Value;
    Changed(false);
}

void TListColumn::SetAlignment(TAlignment Value) {
    if (alignment_ == Value) return;
    alignment_ = Value;
    Changed(false);
}

void TListColumn::SetImageIndex(Integer Value) {
    if (imageIndex_ == Value) return;
    imageIndex_ = Value;
    Changed(false);
}

TListColumns::TListColumns(TCustomListView* AOwner, TClass ColumnClass)
    : TCollection(ColumnClass), owner_(AOwner) {}

TPersistent* TListColumns::GetOwner() {
    return owner_;
}

void TListColumns::Update(TCollectionItem* Item) {
    if (Item)
        owner_->updateColumn(Item->Index());
    else
        owner_->updateColumns();
}

// ---- TListItem ----------------------------------------------------------------------------

TListItem::TListItem(TListItems* AOwner) : owner_(AOwner), subItems_(std::make_unique<TStringList>()) {
    subItems_->OnChange = TNotifyEvent(this, &TListItem::subItemsChanged);
}

TListItem::~TListItem() = default;

void TListItem::Assign(TPersistent* Source) {
    auto* item = dynamic_cast<TListItem*>(Source);
    if (!item) {
        TPersistent::Assign(Source);
        return;
    }
    SetCaption(item->caption_);
    data_ = item->data_;
    SetImageIndex(item->imageIndex_);
    SetIndent(item->indent_);
    SetOverlayIndex(item->overlayIndex_);
    SetStateIndex(item->stateIndex_);
    subItems_->Assign(item->subItems_.get());
}

TCustomListView* TListItem::ListView() const {
    return owner_ ? owner_->Owner() : nullptr;
}

Integer TListItem::Index() const {
    return owner_ ? owner_->IndexOf(this) : ownerDataIndex_;
}

// The window asks for the texts and images again when told that they changed.
void TListItem::SetCaption(const AnsiString& Value) {
    caption_ = Value;
    Update();
}

void TListItem::subItemsChanged(TObject*) {
    TCustomListView* view = ListView();
    if (!view || !view->HandleAllocated() || Index() < 0) return;
    const Integer count = std::max(subItems_->Count(), subItemCount_);
    for (Integer i = 0; i < count; ++i) {
        LVITEMA item;
        item.iSubItem = i + 1;
        item.pszText = LPSTR_TEXTCALLBACKA();
        SendMessageA(view->Handle(), LVM_SETITEMTEXTA, static_cast<WPARAM>(Index()),
                     reinterpret_cast<LPARAM>(&item));
    }
    subItemCount_ = subItems_->Count();
}

void TListItem::SetImageIndex(Integer Value) {
    imageIndex_ = Value;
    Update();
}

void TListItem::SetStateIndex(Integer Value) {
    stateIndex_ = Value;
    if (Value >= 0) setState(static_cast<UINT>(Value + 1) << 12, LVIS_STATEIMAGEMASK);
}

void TListItem::SetOverlayIndex(Integer Value) {
    overlayIndex_ = Value;
    setState(static_cast<UINT>(Value + 1) << OverlayShift, LVIS_OVERLAYMASK);
}

void TListItem::SetIndent(Integer Value) {
    indent_ = Value;
    Update();
}

// Without a window the state is kept for the window to come.
void TListItem::setState(UINT State, UINT Mask) {
    keptState_ = (keptState_ & ~Mask) | (State & Mask);
    keptMask_ |= Mask;
    TCustomListView* view = ListView();
    if (!view || !view->HandleAllocated() || Index() < 0) return;
    LVITEMA item;
    item.state = State;
    item.stateMask = Mask;
    SendMessageA(view->Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(Index()),
                 reinterpret_cast<LPARAM>(&item));
}

bool TListItem::hasState(UINT State, UINT Mask) const {
    TCustomListView* view = ListView();
    if (!view || !view->HandleAllocated() || Index() < 0) return (keptState_ & Mask) == State;
    return static_cast<UINT>(
               SendMessageA(view->Handle(), LVM_GETITEMSTATE, static_cast<WPARAM>(Index()), Mask)) == State;
}

bool TListItem::Selected() const {
    return hasState(LVIS_SELECTED, LVIS_SELECTED);
}

void TListItem::SetSelected(bool Value) {
    setState(Value ? LVIS_SELECTED : 0, LVIS_SELECTED);
}

bool TListItem::Focused() const {
    return hasState(LVIS_FOCUSED, LVIS_FOCUSED);
}

void TListItem::SetFocused(bool Value) {
    setState(Value ? LVIS_FOCUSED : 0, LVIS_FOCUSED);
}

bool TListItem::Checked() const {
    return hasState(checkedState, LVIS_STATEIMAGEMASK);
}

void TListItem::SetChecked(bool Value) {
    setState(Value ? checkedState : uncheckedState, LVIS_STATEIMAGEMASK);
}

void TListItem::Delete() {
    if (owner_) owner_->remove(this);
}

void TListItem::MakeVisible(bool PartialOK) {
    TCustomListView* view = ListView();
    if (view && view->HandleAllocated())
        SendMessageA(view->Handle(), LVM_ENSUREVISIBLE, static_cast<WPARAM>(Index()), PartialOK);
}

TRect TListItem::DisplayRect(Integer Code) const {
    TRect rect;
    rect.Left = Code;
    TCustomListView* view = ListView();
    if (view && view->HandleAllocated())
        SendMessageA(view->Handle(), LVM_GETITEMRECT, static_cast<WPARAM>(Index()),
                     reinterpret_cast<LPARAM>(&rect));
    return rect;
}

void TListItem::Update() {
    TCustomListView* view = ListView();
    if (!view || !view->HandleAllocated() || Index() < 0) return;
    LVITEMA item;
    item.pszText = LPSTR_TEXTCALLBACKA();
    SendMessageA(view->Handle(), LVM_SETITEMTEXTA, static_cast<WPARAM>(Index()),
                 reinterpret_cast<LPARAM>(&item));
    SendMessageA(view->Handle(), LVM_UPDATE, static_cast<WPARAM>(Index()), 0);
}

// ---- TListItems ---------------------------------------------------------------------------

TListItems::TListItems(TCustomListView* AOwner) : owner_(AOwner) {}

TListItems::~TListItems() {
    for (auto& item : items_)
        item->owner_ = nullptr;
}

void TListItems::Assign(TPersistent* Source) {
    auto* source = dynamic_cast<TListItems*>(Source);
    if (!source) {
        TPersistent::Assign(Source);
        return;
    }
    BeginUpdate();
    Clear();
    for (Integer i = 0; i < source->Count(); ++i)
        Add()->Assign(source->Item(i));
    EndUpdate();
}

TListItem* TListItems::Add() {
    return Insert(Count());
}

TListItem* TListItems::Insert(Integer Index) {
    if (Index < 0 || Index > Count()) throw EListError(Format(SListIndexError, {Index}));
    std::unique_ptr<TListItem> item(owner_->CreateListItem());
    item->owner_ = this;
    TListItem* created = item.get();
    items_.insert(items_.begin() + Index, std::move(item));
    if (owner_->HandleAllocated()) sendItem(Index);
    owner_->InsertItem(created);
    return created;
}

TListItem* TListItems::AddItem(TListItem* Item, Integer Index) {
    TListItem* created = Index < 0 || Index >= Count() ? Add() : Insert(Index);
    if (Item) created->Assign(Item);
    return created;
}

// Items reach the window with callback texts and images; the item is the lParam.
void TListItems::sendItem(Integer Index) {
    TListItem* source = Item(Index);
    LVITEMA item;
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = Index;
    item.pszText = LPSTR_TEXTCALLBACKA();
    item.iImage = I_IMAGECALLBACK;
    item.lParam = reinterpret_cast<LPARAM>(source);
    SendMessageA(owner_->Handle(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    source->subItemCount_ = 0;
    if (source->SubItems()->Count() > 0) source->subItemsChanged(source->SubItems());
    if (source->StateIndex() >= 0) source->SetStateIndex(source->StateIndex());
    if (source->keptMask_ != 0) source->setState(source->keptState_, source->keptMask_);
}

void TListItems::sendAll() {
    for (Integer i = 0; i < Count(); ++i)
        sendItem(i);
}

void TListItems::Delete(Integer Index) {
    remove(Item(Index));
}

void TListItems::remove(TListItem* Item) {
    const Integer index = IndexOf(Item);
    if (index < 0) return;
    owner_->Delete(Item);
    if (owner_->HandleAllocated())
        SendMessageA(owner_->Handle(), LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
    items_.erase(items_.begin() + index);
}

void TListItems::Clear() {
    BeginUpdate();
    while (Count() > 0)
        Delete(Count() - 1);
    EndUpdate();
}

Integer TListItems::Count() const {
    if (owner_->OwnerData()) return owner_->ownerDataCount_;
    return static_cast<Integer>(items_.size());
}

TListItem* TListItems::Item(Integer Index) const {
    if (owner_->OwnerData()) return owner_->OwnerDataItem(Index);
    if (Index < 0 || Index >= static_cast<Integer>(items_.size()))
        throw EListError(Format(SListIndexError, {Index}));
    return items_[static_cast<std::size_t>(Index)].get();
}

Integer TListItems::IndexOf(const TListItem* Value) const {
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i].get() == Value) return static_cast<Integer>(i);
    return -1;
}

void TListItems::BeginUpdate() {
    if (updateCount_++ == 0 && owner_->HandleAllocated())
        SendMessageA(owner_->Handle(), WM_SETREDRAW, FALSE, 0);
}

void TListItems::EndUpdate() {
    if (updateCount_ == 0 || --updateCount_ != 0 || !owner_->HandleAllocated()) return;
    SendMessageA(owner_->Handle(), WM_SETREDRAW, TRUE, 0);
    owner_->Invalidate();
}

void TListItems::followWindowOrder() {
    if (!owner_->HandleAllocated()) return;
    std::vector<std::unique_ptr<TListItem>> ordered;
    for (Integer i = 0; i < static_cast<Integer>(items_.size()); ++i) {
        LVITEMA item;
        item.mask = LVIF_PARAM;
        item.iItem = i;
        SendMessageA(owner_->Handle(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        auto found = std::find_if(items_.begin(), items_.end(), [&](const auto& candidate) {
            return candidate && reinterpret_cast<LPARAM>(candidate.get()) == item.lParam;
        });
        if (found != items_.end()) ordered.push_back(std::move(*found));
    }
    if (ordered.size() == items_.size()) items_ = std::move(ordered);
}

// ---- TCustomListView ----------------------------------------------------------------------

TCustomListView::TCustomListView(TComponent* AOwner)
    : TWinControl(AOwner),
      largeImages_(std::make_unique<TControlImages>(TNotifyEvent(this, &TCustomListView::imagesChanged))),
      smallImages_(std::make_unique<TControlImages>(TNotifyEvent(this, &TCustomListView::imagesChanged))),
      stateImages_(std::make_unique<TControlImages>(TNotifyEvent(this, &TCustomListView::imagesChanged))),
      canvas_(std::make_unique<TCanvas>()) {
    SetControlStyle(TControlStyle{csCaptureMouse, csClickEvents, csDoubleClicks});
    SetBounds(Left(), Top(), defaultListViewWidth, defaultListViewHeight);
    SetTabStop(true);
    RegisterCommonControlClasses();
}

TCustomListView::~TCustomListView() = default;

TListItems* TCustomListView::Items() const {
    if (!items_) items_.reset(const_cast<TCustomListView*>(this)->CreateListItems());
    return items_.get();
}

TListColumns* TCustomListView::Columns() const {
    if (!columns_) columns_.reset(const_cast<TCustomListView*>(this)->CreateListColumns());
    return columns_.get();
}

TListColumns* TCustomListView::CreateListColumns() {
    return new TListColumns(this, ClassOf<TListColumn>());
}

TListItem* TCustomListView::CreateListItem() {
    TListItemClass itemClass = ListItemClassOf<TListItem>();
    if (OnCreateItemClass) OnCreateItemClass(this, itemClass);
    return itemClass->Create(Items());
}

TListItems* TCustomListView::CreateListItems() {
    return new TListItems(this);
}

void TCustomListView::SetViewStyle(TViewStyle Value) {
    if (viewStyle_ == Value) return;
    viewStyle_ = Value;
    if (!HandleAllocated()) return;
    const DWORD style = static_cast<DWORD>(GetWindowLongA(Handle(), GWL_STYLE)) & ~LVS_TYPEMASK;
    SetWindowLongA(Handle(), GWL_STYLE,
                   static_cast<LONG>(style | static_cast<DWORD>(Value == vsIcon        ? LVS_ICON
                                                                : Value == vsSmallIcon ? LVS_SMALLICON
                                                                : Value == vsList      ? LVS_LIST
                                                                                       : LVS_REPORT)));
    Invalidate();
}

void TCustomListView::SetMultiSelect(bool Value) {
    if (multiSelect_ == Value) return;
    multiSelect_ = Value;
    RecreateWnd();
}

void TCustomListView::SetReadOnly(bool Value) {
    if (readOnly_ == Value) return;
    readOnly_ = Value;
    RecreateWnd();
}

void TCustomListView::SetRowSelect(bool Value) {
    rowSelect_ = Value;
    sendExtendedStyle();
}

void TCustomListView::SetGridLines(bool Value) {
    gridLines_ = Value;
    sendExtendedStyle();
}

void TCustomListView::SetCheckboxes(bool Value) {
    checkboxes_ = Value;
    sendExtendedStyle();
}

void TCustomListView::SetOwnerDraw(bool Value) {
    if (ownerDraw_ == Value) return;
    ownerDraw_ = Value;
    RecreateWnd();
}

void TCustomListView::SetShowColumnHeaders(bool Value) {
    if (showColumnHeaders_ == Value) return;
    showColumnHeaders_ = Value;
    RecreateWnd();
}

void TCustomListView::SetColumnClick(bool Value) {
    if (columnClick_ == Value) return;
    columnClick_ = Value;
    RecreateWnd();
}

void TCustomListView::SetHideSelection(bool Value) {
    if (hideSelection_ == Value) return;
    hideSelection_ = Value;
    RecreateWnd();
}

void TCustomListView::SetOwnerData(bool Value) {
    if (ownerData_ == Value) return;
    Items()->Clear();
    ownerData_ = Value;
    RecreateWnd();
}

void TCustomListView::SetSortType(TSortType Value) {
    if (sortType_ == Value) return;
    sortType_ = Value;
    if (sortType_ != stNone) AlphaSort();
}

void TCustomListView::sendExtendedStyle() {
    if (!HandleAllocated()) return;
    // Check boxes take the place of sub-item images and info tips.
    DWORD style = checkboxes_ ? LVS_EX_CHECKBOXES : LVS_EX_SUBITEMIMAGES | LVS_EX_INFOTIP;
    if (rowSelect_) style |= LVS_EX_FULLROWSELECT;
    if (gridLines_) style |= LVS_EX_GRIDLINES;
    SendMessageA(Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(style));
}

TCustomImageList* TCustomListView::LargeImages() const {
    return largeImages_->List();
}

TCustomImageList* TCustomListView::SmallImages() const {
    return smallImages_->List();
}

TCustomImageList* TCustomListView::StateImages() const {
    return stateImages_->List();
}

void TCustomListView::setImageList(TControlImages& Images, TCustomImageList* Value) {
    if (Images.List() == Value) return;
    if (Images.List()) Images.List()->RemoveFreeNotification(this);
    Images.Set(Value);
    if (Value) Value->FreeNotification(this);
    imagesChanged(Value);
}

void TCustomListView::SetLargeImages(TCustomImageList* Value) {
    setImageList(*largeImages_, Value);
}

void TCustomListView::SetSmallImages(TCustomImageList* Value) {
    setImageList(*smallImages_, Value);
}

void TCustomListView::SetStateImages(TCustomImageList* Value) {
    setImageList(*stateImages_, Value);
}

void TCustomListView::imagesChanged(TObject*) {
    if (HandleAllocated()) sendImages();
}

void TCustomListView::sendImages() {
    SendMessageA(Handle(), LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(largeImages_->Handle()));
    SendMessageA(Handle(), LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(smallImages_->Handle()));
    SendMessageA(Handle(), LVM_SETIMAGELIST, LVSIL_STATE, reinterpret_cast<LPARAM>(stateImages_->Handle()));
}

void TCustomListView::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == LargeImages()) SetLargeImages(nullptr);
    if (AComponent == SmallImages()) SetSmallImages(nullptr);
    if (AComponent == StateImages()) SetStateImages(nullptr);
}

void TCustomListView::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, WC_LISTVIEWA);
    Params.ExStyle |= WS_EX_CLIENTEDGE;
    Params.Style |= viewStyle_ == vsIcon        ? LVS_ICON
                    : viewStyle_ == vsSmallIcon ? LVS_SMALLICON
                    : viewStyle_ == vsList      ? LVS_LIST
                                                : LVS_REPORT;
    if (!multiSelect_) Params.Style |= LVS_SINGLESEL;
    if (!readOnly_) Params.Style |= LVS_EDITLABELS;
    if (!hideSelection_) Params.Style |= LVS_SHOWSELALWAYS;
    if (!showColumnHeaders_) Params.Style |= LVS_NOCOLUMNHEADER;
    if (!columnClick_) Params.Style |= LVS_NOSORTHEADER;
    if (ownerData_) Params.Style |= LVS_OWNERDATA;
    if (ownerDraw_) Params.Style |= LVS_OWNERDRAWFIXED;
    Params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TCustomListView::CreateWnd() {
    TWinControl::CreateWnd();
    sendExtendedStyle();
    sendImages();
    updateColumns();
    if (ownerData_)
        SendMessageA(Handle(), LVM_SETITEMCOUNT, static_cast<WPARAM>(ownerDataCount_), 0);
    else
        Items()->sendAll();
}

// The items' states go with the window; the items keep them for the next one.
void TCustomListView::DestroyWnd() {
    if (!ownerData_) {
        constexpr UINT kept = LVIS_SELECTED | LVIS_FOCUSED | LVIS_STATEIMAGEMASK;
        for (Integer i = 0; i < Items()->Count(); ++i) {
            TListItem* item = Items()->Item(i);
            item->keptState_ =
                static_cast<UINT>(SendMessageA(Handle(), LVM_GETITEMSTATE, static_cast<WPARAM>(i), kept));
            item->keptMask_ = kept;
        }
    }
    TWinControl::DestroyWnd();
}

void TCustomListView::updateColumns() {
    if (!HandleAllocated()) return;
    while (SendMessageA(Handle(), LVM_DELETECOLUMN, 0, 0)) {
    }
    for (Integer i = 0; i < Columns()->Count(); ++i)
        sendColumn(i, LVM_INSERTCOLUMNA);
}

void TCustomListView::updateColumn(Integer Index) {
    if (HandleAllocated()) sendColumn(Index, LVM_SETCOLUMNA);
}

void TCustomListView::sendColumn(Integer Index, UINT Message) {
    TListColumn* source = Columns()->Items(Index);
    LVCOLUMNA column;
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    const AnsiString caption = source->Caption();
    column.pszText = const_cast<char*>(caption.c_str());
    column.cx = source->width_;
    column.fmt = alignmentFormat(source->Alignment());
    column.iSubItem = Index;
    SendMessageA(Handle(), Message, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&column));
}

TListItem* TCustomListView::Selected() {
    if (!HandleAllocated()) return nullptr;
    const auto index =
        static_cast<Integer>(SendMessageA(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    return index >= 0 && index < Items()->Count() ? Items()->Item(index) : nullptr;
}

void TCustomListView::SetSelected(TListItem* Value) {
    if (!HandleAllocated()) return;
    LVITEMA none;
    none.stateMask = LVIS_SELECTED;
    SendMessageA(Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
    if (Value) {
        Value->SetSelected(true);
        Value->SetFocused(true);
    }
}

TListItem* TCustomListView::ItemFocused() {
    if (!HandleAllocated()) return nullptr;
    const auto index =
        static_cast<Integer>(SendMessageA(Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    return index >= 0 && index < Items()->Count() ? Items()->Item(index) : nullptr;
}

void TCustomListView::SetItemFocused(TListItem* Value) {
    if (Value) Value->SetFocused(true);
}

Integer TCustomListView::SelCount() {
    return HandleAllocated() ? static_cast<Integer>(SendMessageA(Handle(), LVM_GETSELECTEDCOUNT, 0, 0)) : 0;
}

Integer TCustomListView::ItemCount() {
    return Items()->Count();
}

void TCustomListView::SetItemCount(Integer Value) {
    if (!ownerData_) return;
    ownerDataCount_ = std::max(Value, 0);
    if (HandleAllocated()) SendMessageA(Handle(), LVM_SETITEMCOUNT, static_cast<WPARAM>(ownerDataCount_), 0);
}

TListItem* TCustomListView::OwnerDataItem(Integer Index) {
    if (Index < 0 || Index >= ownerDataCount_) throw EListError(Format(SListIndexError, {Index}));
    if (!ownerDataItem_) {
        ownerDataItem_.reset(CreateListItem());
        ownerDataItem_->owner_ = nullptr;
    }
    ownerDataItem_->ownerDataIndex_ = Index;
    ownerDataItem_->SetCaption("");
    ownerDataItem_->SubItems()->Clear();
    ownerDataItem_->imageIndex_ = -1;
    OwnerDataFetch(ownerDataItem_.get());
    return ownerDataItem_.get();
}

bool TCustomListView::OwnerDataFetch(TListItem* Item) {
    if (!OnData) return false;
    OnData(this, Item);
    return true;
}

Integer TCustomListView::OwnerDataFind(TItemFind Find, const AnsiString& FindString,
                                       const TPoint& FindPosition, void* FindData, Integer StartIndex,
                                       TSearchDirection Direction, bool Wrap) {
    Integer index = -1;
    if (OnDataFind)
        OnDataFind(this, Find, FindString, FindPosition, FindData, StartIndex, Direction, Wrap, index);
    return index;
}

namespace {

TItemFind itemFindOf(UINT Flags) {
    if (Flags & LVFI_PARAM) return ifData;
    if (Flags & LVFI_PARTIAL) return ifPartialString;
    if (Flags & LVFI_STRING) return ifExactString;
    return ifNearest;
}

TSearchDirection searchDirectionOf(UINT Key) {
    switch (Key) {
    case VK_LEFT:
        return sdLeft;
    case VK_RIGHT:
        return sdRight;
    case VK_UP:
        return sdAbove;
    case VK_DOWN:
        return sdBelow;
    default:
        return sdAll;
    }
}

} // namespace

void TCustomListView::ownerDataFind(TMessage& Message, const NMLVFINDITEMA& Info) {
    const LVFINDINFOA& find = Info.lvfi;
    const AnsiString text = (find.flags & (LVFI_STRING | LVFI_PARTIAL)) && find.psz ? find.psz : "";
    Message.Result = OwnerDataFind(itemFindOf(find.flags), text, {find.pt.x, find.pt.y},
                                   reinterpret_cast<void*>(find.lParam), Info.iStart,
                                   searchDirectionOf(find.vkDirection), (find.flags & LVFI_WRAP) != 0);
}

TListItem* TCustomListView::TopItem() {
    if (!HandleAllocated()) return nullptr;
    const auto index = static_cast<Integer>(SendMessageA(Handle(), LVM_GETTOPINDEX, 0, 0));
    return index >= 0 && index < Items()->Count() ? Items()->Item(index) : nullptr;
}

Integer TCustomListView::VisibleRowCount() {
    return HandleAllocated() ? static_cast<Integer>(SendMessageA(Handle(), LVM_GETCOUNTPERPAGE, 0, 0)) : 0;
}

TListItem* TCustomListView::GetItemAt(Integer X, Integer Y) {
    if (!HandleAllocated()) return nullptr;
    LVHITTESTINFO hit;
    hit.pt = {X, Y};
    const auto index =
        static_cast<Integer>(SendMessageA(Handle(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return index >= 0 && index < Items()->Count() ? Items()->Item(index) : nullptr;
}

TListItem* TCustomListView::FindCaption(Integer StartIndex, const AnsiString& Value, bool Partial,
                                        bool Inclusive, bool Wrap) {
    if (!HandleAllocated()) return nullptr;
    LVFINDINFOA find;
    find.flags = LVFI_STRING | (Partial ? LVFI_PARTIAL : 0) | (Wrap ? LVFI_WRAP : 0);
    find.psz = Value.c_str();
    const Integer start = Inclusive ? StartIndex - 1 : StartIndex;
    const auto index = static_cast<Integer>(
        SendMessageA(Handle(), LVM_FINDITEMA, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(&find)));
    return index >= 0 && index < Items()->Count() ? Items()->Item(index) : nullptr;
}

TListItem* TCustomListView::FindData(Integer StartIndex, void* Value, bool Inclusive, bool Wrap) {
    const Integer count = Items()->Count();
    const Integer first = Inclusive ? StartIndex : StartIndex + 1;
    for (Integer step = 0; step < count; ++step) {
        const Integer index = first + step;
        if (index >= count && !Wrap) break;
        TListItem* item = Items()->Item(index % count);
        if (item->Data() == Value) return item;
    }
    return nullptr;
}

// The framework's own comparison: OnCompare, else the captions.
int TCustomListView::defaultSort(LPARAM First, LPARAM Second, LPARAM SortParam) {
    auto* view = reinterpret_cast<TCustomListView*>(SortParam);
    auto* first = reinterpret_cast<TListItem*>(First);
    auto* second = reinterpret_cast<TListItem*>(Second);
    if (view->OnCompare) {
        Integer compare = 0;
        view->OnCompare(view, first, second, 0, compare);
        return compare;
    }
    return AnsiCompareText(first->Caption(), second->Caption());
}

bool TCustomListView::AlphaSort() {
    return CustomSort(&TCustomListView::defaultSort, reinterpret_cast<LPARAM>(this));
}

bool TCustomListView::CustomSort(PFNLVCOMPARE SortProc, LPARAM LParam) {
    if (!HandleAllocated()) return false;
    if (!SortProc) return AlphaSort();
    const bool sorted = SendMessageA(Handle(), LVM_SORTITEMS, static_cast<WPARAM>(LParam),
                                     reinterpret_cast<LPARAM>(SortProc)) != 0;
    Items()->followWindowOrder();
    return sorted;
}

void TCustomListView::Scroll(Integer DX, Integer DY) {
    if (HandleAllocated()) SendMessageA(Handle(), LVM_SCROLL, static_cast<WPARAM>(DX), DY);
}

void TCustomListView::UpdateItems(Integer FirstIndex, Integer LastIndex) {
    if (HandleAllocated())
        SendMessageA(Handle(), LVM_REDRAWITEMS, static_cast<WPARAM>(FirstIndex), LastIndex);
}

bool TCustomListView::IsEditing() {
    return editing_;
}

Integer TCustomListView::StringWidth(const AnsiString& S) {
    return HandleAllocated() ? static_cast<Integer>(SendMessageA(Handle(), LVM_GETSTRINGWIDTHA, 0,
                                                                 reinterpret_cast<LPARAM>(S.c_str())))
                             : 0;
}

bool TCustomListView::CanChange(TListItem* Item, TItemChange Change) {
    bool allow = true;
    if (OnChanging) OnChanging(this, Item, Change, allow);
    return allow;
}

void TCustomListView::Change(TListItem* Item, TItemChange Change) {
    if (OnChange) OnChange(this, Item, Change);
}

bool TCustomListView::CanEdit(TListItem* Item) {
    bool allow = true;
    if (OnEditing) OnEditing(this, Item, allow);
    return allow;
}

void TCustomListView::Edit(TListItem* Item, AnsiString& S) {
    if (OnEdited) OnEdited(this, Item, S);
    Item->caption_ = S;
}

void TCustomListView::ColClick(TListColumn* Column) {
    if (OnColumnClick) OnColumnClick(this, Column);
}

void TCustomListView::Delete(TListItem* Item) {
    if (OnDeletion) OnDeletion(this, Item);
}

void TCustomListView::InsertItem(TListItem* Item) {
    if (OnInsert) OnInsert(this, Item);
}

void TCustomListView::Dispatch(TMessage& Message) {
    if (Message.Msg == CN_NOTIFY)
        cnNotify(Message);
    else if (Message.Msg == CN_DRAWITEM)
        cnDrawItem(Message);
    else
        TWinControl::Dispatch(Message);
}

void TCustomListView::DrawItem(TListItem* Item, const TRect& Rect, TOwnerDrawState State) {
    if (OnDrawItem) {
        OnDrawItem(this, Item, Rect, State);
        return;
    }
    canvas_->FillRect(Rect);
    canvas_->TextOut(Rect.Left + ownerDrawnTextIndent, Rect.Top, Item->Caption());
}

// The canvas draws on the row's device context with the control's font and
// brush only while the row is drawn; the context is left as it was found.
void TCustomListView::cnDrawItem(TMessage& Message) {
    const auto& row = *reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam);
    const int saved = SaveDC(row.hDC);
    canvas_->SetHandle(row.hDC);
    canvas_->SetFont(Font());
    canvas_->SetBrush(Brush());
    try {
        TListItem* item = itemOf(static_cast<Integer>(row.itemID), 0);
        if (item)
            DrawItem(item, row.rcItem, OwnerDrawStateOf(row.itemState));
        else
            canvas_->FillRect(row.rcItem);
    } catch (...) {
        canvas_->SetHandle(nullptr);
        RestoreDC(row.hDC, saved);
        throw;
    }
    canvas_->SetHandle(nullptr);
    RestoreDC(row.hDC, saved);
    Message.Result = 1;
}

void TCustomListView::getInfoTip(NMLVGETINFOTIPA& Info) {
    TListItem* item = itemOf(Info.iItem, Info.lParam);
    if (!item || !OnInfoTip) return;
    AnsiString tip = Info.pszText ? AnsiString(Info.pszText) : AnsiString();
    OnInfoTip(this, item, tip);
    CopyText(AnsiToWide(tip), Info.pszText, Info.cchTextMax);
}

TListItem* TCustomListView::itemOf(Integer Index, LPARAM Param) {
    if (ownerData_) return Index >= 0 && Index < ownerDataCount_ ? OwnerDataItem(Index) : nullptr;
    if (Param) return reinterpret_cast<TListItem*>(Param);
    return Index >= 0 && Index < Items()->Count() ? Items()->Item(Index) : nullptr;
}

// The framework answers the window's ANSI notifications; the UTF-16 ones are the Unicode layer's.
void TCustomListView::cnNotify(TMessage& Message) {
    auto* header = reinterpret_cast<NMHDR*>(Message.LParam);
    switch (header->code) {
    case LVN_GETDISPINFOA:
        getDispInfo(*reinterpret_cast<NMLVDISPINFOA*>(header));
        break;
    case LVN_ITEMCHANGING:
        itemChanging(Message, *reinterpret_cast<NMLISTVIEW*>(header));
        break;
    case LVN_ITEMCHANGED:
        itemChanged(*reinterpret_cast<NMLISTVIEW*>(header));
        break;
    case LVN_COLUMNCLICK: {
        const Integer column = reinterpret_cast<NMLISTVIEW*>(header)->iSubItem;
        if (column >= 0 && column < Columns()->Count()) ColClick(Columns()->Items(column));
        break;
    }
    case LVN_BEGINLABELEDITA: {
        auto* info = reinterpret_cast<NMLVDISPINFOA*>(header);
        TListItem* item = itemOf(info->item.iItem, info->item.lParam);
        Message.Result = item && CanEdit(item) ? 0 : 1;
        editing_ = Message.Result == 0;
        break;
    }
    case LVN_ENDLABELEDITA:
        endEdit(*reinterpret_cast<NMLVDISPINFOA*>(header));
        Message.Result = 0;
        break;
    case LVN_ODFINDITEMA:
        ownerDataFind(Message, *reinterpret_cast<NMLVFINDITEMA*>(header));
        break;
    case LVN_GETINFOTIPA:
        getInfoTip(*reinterpret_cast<NMLVGETINFOTIPA*>(header));
        break;
    default:
        break;
    }
}

void TCustomListView::getDispInfo(NMLVDISPINFOA& Info) {
    TListItem* item = itemOf(Info.item.iItem, Info.item.lParam);
    if (!item) return;
    if (Info.item.mask & LVIF_TEXT) {
        const Integer sub = Info.item.iSubItem;
        const AnsiString text = sub == 0                              ? item->Caption()
                                : sub - 1 < item->SubItems()->Count() ? item->SubItems()->Strings(sub - 1)
                                                                      : AnsiString();
        CopyText(AnsiToWide(text), Info.item.pszText, Info.item.cchTextMax);
    }
    if (Info.item.mask & LVIF_IMAGE) Info.item.iImage = item->ImageIndex();
    if (Info.item.mask & LVIF_INDENT) Info.item.iIndent = item->Indent();
}

void TCustomListView::itemChanging(TMessage& Message, const NMLISTVIEW& Change) {
    if (!(Change.uChanged & LVIF_STATE)) return;
    TListItem* item = itemOf(Change.iItem, Change.lParam);
    Message.Result = item && !CanChange(item, ctState) ? 1 : 0;
}

void TCustomListView::itemChanged(const NMLISTVIEW& Change) {
    if (!(Change.uChanged & LVIF_STATE)) return;
    TListItem* item = itemOf(Change.iItem, Change.lParam);
    if (!item) return;
    this->Change(item, ctState);
    const bool wasSelected = (Change.uOldState & LVIS_SELECTED) != 0;
    const bool isSelected = (Change.uNewState & LVIS_SELECTED) != 0;
    if (wasSelected != isSelected && OnSelectItem) OnSelectItem(this, item, isSelected);
}

// A cancelled edit carries no text; an accepted one becomes the caption.
void TCustomListView::endEdit(NMLVDISPINFOA& Info) {
    editing_ = false;
    TListItem* item = itemOf(Info.item.iItem, Info.item.lParam);
    if (!item || !Info.item.pszText) return;
    AnsiString text = Info.item.pszText;
    Edit(item, text);
    item->Update();
}

// ---- Published properties -----------------------------------------------------------------

namespace {

const TTypeInfo* const viewStyleType =
    DefineEnum<TViewStyle>("TViewStyle", {"vsIcon", "vsSmallIcon", "vsList", "vsReport"});
const TTypeInfo* const sortTypeType =
    DefineEnum<TSortType>("TSortType", {"stNone", "stData", "stText", "stBoth"});
const TTypeInfo* const itemChangeType =
    DefineEnum<TItemChange>("TItemChange", {"ctText", "ctImage", "ctState"});

const TClass listColumnClass = DescribeClass<TListColumn, TCollectionItem>([](TClassBuilder<TListColumn>& c) {
    c.Property("Alignment", &TListColumn::Alignment, &TListColumn::SetAlignment).Default(taLeftJustify);
    c.Property("Caption", &TListColumn::Caption, &TListColumn::SetCaption);
    c.Property("ImageIndex", &TListColumn::ImageIndex, &TListColumn::SetImageIndex).Default(-1);
    c.Property("Width", &TListColumn::Width, &TListColumn::SetWidth).Default(50);
});

const TClass listColumnsClass = DescribeClass<TListColumns, TCollection>();
const TClass listItemClass = DescribeClass<TListItem, TPersistent>();
const TClass customListViewClass = DescribeClass<TCustomListView, TWinControl>();

const TClass listViewClass = DescribeClass<TListView, TCustomListView>([](TClassBuilder<TListView>& c) {
    DescribeListViewProperties(c);
    c.Property("OnChange", &TListView::OnChange, &TListView::OnChange);
    c.Property("OnChanging", &TListView::OnChanging, &TListView::OnChanging);
    c.Property("OnColumnClick", &TListView::OnColumnClick, &TListView::OnColumnClick);
    c.Property("OnCompare", &TListView::OnCompare, &TListView::OnCompare);
    c.Property("OnData", &TListView::OnData, &TListView::OnData);
    c.Property("OnDataFind", &TListView::OnDataFind, &TListView::OnDataFind);
    c.Property("OnCreateItemClass", &TListView::OnCreateItemClass, &TListView::OnCreateItemClass);
    c.Property("OnDeletion", &TListView::OnDeletion, &TListView::OnDeletion);
    c.Property("OnDrawItem", &TListView::OnDrawItem, &TListView::OnDrawItem);
    c.Property("OnInfoTip", &TListView::OnInfoTip, &TListView::OnInfoTip);
    c.Property("OnEdited", &TListView::OnEdited, &TListView::OnEdited);
    c.Property("OnEditing", &TListView::OnEditing, &TListView::OnEditing);
    c.Property("OnInsert", &TListView::OnInsert, &TListView::OnInsert);
    c.Property("OnSelectItem", &TListView::OnSelectItem, &TListView::OnSelectItem);
});

struct RegisterListViewClasses {
    RegisterListViewClasses() { RegisterClass(listViewClass); }
} registerListViewClasses;

} // namespace
