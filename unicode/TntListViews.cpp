#include "unicode/TntListViews.h"

#include "platform/core/CodePages.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/ObjectInstances.h"
#include "platform/win/CommonControls.h"
#include "platform/win/Kernel.h"
#include "platform/win/Messages.h"
#include "platform/win/Windows.h"
#include "unicode/TntComCtrls.h"
#include "unicode/TntGraphics.h"
#include "unicode/TntSystem.h"

#include <utility>
#include <vector>

namespace {

// The length of the buffer the incremental search text is read into.
constexpr int SearchStringLength = 1024;
// The default drawing of an owner-drawn row writes the caption this far in.
constexpr Integer captionIndent = 2;
constexpr const char* SItemClassNotWide =
    "Internal Error: OnCreateItemClass.ItemClass must inherit from TTntListItem.";

// The framework's own caption comparison, learnt from the first sort it asks
// a wide list view for; sorts with it are done by the wide captions instead.
PFNLVCOMPARE defaultCompare = nullptr;

template <typename T> T* checkedCast(TObject* Object) {
    auto* result = dynamic_cast<T*>(Object);
    if (Object && !result) throw EInvalidCast(SInvalidCast);
    return result;
}

// A wide change of the list view an item belongs to, for as long as it lives.
class WideChange {
public:
    explicit WideChange(TListItem* Item) : view_(dynamic_cast<TTntCustomListView*>(Item->ListView())) {
        if (view_) view_->BeginChangingWideItem();
    }
    ~WideChange() {
        if (view_) view_->EndChangingWideItem();
    }
    WideChange(const WideChange&) = delete;
    WideChange& operator=(const WideChange&) = delete;

private:
    TTntCustomListView* view_;
};

} // namespace

// ---- TTntListColumn ----------------------------------------------------------------------------

WideString TTntListColumn::Caption() {
    return GetSyncedWideString(caption_, TListColumn::Caption());
}

void TTntListColumn::SetCaption(const WideString& Value) {
    SetSyncedWideString(Value, caption_, TListColumn::Caption(),
                        TSetAnsiStrEvent(this, &TTntListColumn::setAnsiCaption));
}

void TTntListColumn::Assign(TPersistent* Source) {
    TListColumn::Assign(Source);
    if (auto* wide = dynamic_cast<TTntListColumn*>(Source))
        SetCaption(wide->Caption());
    else if (auto* column = dynamic_cast<TListColumn*>(Source))
        SetCaption(AnsiToWide(column->Caption()));
}

void TTntListColumn::DefineProperties(TFiler* Filer) {
    TListColumn::DefineProperties(Filer);
    TntPersistent_AfterInherited_DefineProperties(Filer, this);
}

TTntListColumns::TTntListColumns(TCustomListView* AOwner) : TListColumns(AOwner, ClassOf<TTntListColumn>()) {}

TTntListColumn* TTntListColumns::Add() {
    return checkedCast<TTntListColumn>(TListColumns::Add());
}

TTntListColumn* TTntListColumns::Items(Integer Index) const {
    return checkedCast<TTntListColumn>(TListColumns::Items(Index));
}

// ---- TWideSubItems -----------------------------------------------------------------------------

TStrings* TWideSubItems::ansiSubItems() const {
    return owner_->TListItem::SubItems();
}

void TWideSubItems::mirrored(const std::function<void()>& Wide, const std::function<void()>& Ansi) {
    WideChange change(owner_);
    Wide();
    if (!ignoreAnsi_) Ansi();
}

TObject* TWideSubItems::GetObject(Integer Index) const {
    return ansiSubItems()->Objects(Index);
}

void TWideSubItems::PutObject(Integer Index, TObject* AObject) {
    ansiSubItems()->SetObjects(Index, AObject);
}

void TWideSubItems::Put(Integer Index, const WideString& S) {
    mirrored([&] { TTntStringList::Put(Index, S); },
             [&] { ansiSubItems()->SetStrings(Index, WideToAnsi(S)); });
}

Integer TWideSubItems::AddObject(const WideString& S, TObject* AObject) {
    Integer index = -1;
    mirrored([&] { index = TTntStringList::AddObject(S, nullptr); },
             [&] { ansiSubItems()->AddObject(WideToAnsi(S), AObject); });
    return index;
}

void TWideSubItems::Clear() {
    mirrored([&] { TTntStringList::Clear(); }, [&] { ansiSubItems()->Clear(); });
}

void TWideSubItems::Delete(Integer Index) {
    mirrored([&] { TTntStringList::Delete(Index); }, [&] { ansiSubItems()->Delete(Index); });
}

void TWideSubItems::InsertObject(Integer Index, const WideString& S, TObject* AObject) {
    mirrored([&] { TTntStringList::InsertObject(Index, S, nullptr); },
             [&] { ansiSubItems()->InsertObject(Index, WideToAnsi(S), AObject); });
}

void TWideSubItems::Exchange(Integer Index1, Integer Index2) {
    mirrored([&] { TTntStringList::Exchange(Index1, Index2); },
             [&] { ansiSubItems()->Exchange(Index1, Index2); });
}

void TWideSubItems::SetUpdateState(bool Updating) {
    TTntStringList::SetUpdateState(Updating);
    if (Updating)
        ansiSubItems()->BeginUpdate();
    else
        ansiSubItems()->EndUpdate();
}

// ---- TTntListItem ------------------------------------------------------------------------------

TTntListItem::TTntListItem(TListItems* AOwner)
    : TListItem(AOwner), subItems_(std::make_unique<TWideSubItems>(this)) {}

TTntListItem::~TTntListItem() = default;

WideString TTntListItem::Caption() {
    return GetSyncedWideString(caption_, TListItem::Caption());
}

void TTntListItem::SetCaption(const WideString& Value) {
    WideChange change(this);
    SetSyncedWideString(Value, caption_, TListItem::Caption(),
                        TSetAnsiStrEvent(this, &TTntListItem::setAnsiCaption));
}

void TTntListItem::Assign(TPersistent* Source) {
    auto* item = dynamic_cast<TTntListItem*>(Source);
    if (!item) {
        TListItem::Assign(Source);
        return;
    }
    SetCaption(item->Caption());
    SetData(item->Data());
    SetImageIndex(item->ImageIndex());
    SetIndent(item->Indent());
    SetOverlayIndex(item->OverlayIndex());
    SetStateIndex(item->StateIndex());
    subItems_->Assign(item->SubItems());
    SetChecked(item->Checked());
}

void TTntListItem::followAnsiCaption() {
    caption_ = Caption();
}

void TTntListItem::followAnsiSubItems() {
    TStrings* ansi = TListItem::SubItems();
    subItems_->ignoreAnsi_ = true;
    try {
        while (subItems_->Count() > ansi->Count())
            subItems_->Delete(subItems_->Count() - 1);
        for (Integer i = 0; i < ansi->Count(); ++i) {
            const AnsiString& text = ansi->Strings(i);
            if (i == subItems_->Count())
                subItems_->Add(AnsiToWide(text));
            else if (WideToAnsi(subItems_->Strings(i)) != text)
                subItems_->SetStrings(i, AnsiToWide(text));
        }
    } catch (...) {
        subItems_->ignoreAnsi_ = false;
        throw;
    }
    subItems_->ignoreAnsi_ = false;
}

// ---- TTntListItems -----------------------------------------------------------------------------

TTntListItem* TTntListItems::Add() {
    return checkedCast<TTntListItem>(TListItems::Add());
}

TTntListItem* TTntListItems::Insert(Integer Index) {
    return checkedCast<TTntListItem>(TListItems::Insert(Index));
}

TTntListItem* TTntListItems::AddItem(TListItem* Item, Integer Index) {
    return checkedCast<TTntListItem>(TListItems::AddItem(Item, Index));
}

TTntListItem* TTntListItems::Item(Integer Index) const {
    return checkedCast<TTntListItem>(TListItems::Item(Index));
}

// ---- TTntCustomListView ------------------------------------------------------------------------

TTntCustomListView::TTntCustomListView(TComponent* AOwner)
    : TTntHinted(AOwner),
      editorInstance_(MakeObjectInstance(TWndMethod(this, &TTntCustomListView::editorWndProc))) {}

TTntCustomListView::~TTntCustomListView() {
    FreeObjectInstance(editorInstance_);
}

TTntListItems* TTntCustomListView::Items() const {
    return static_cast<TTntListItems*>(TCustomListView::Items());
}

TTntListColumns* TTntCustomListView::Columns() const {
    return static_cast<TTntListColumns*>(TCustomListView::Columns());
}

TListItem* TTntCustomListView::CreateListItem() {
    TListItemClass itemClass = ListItemClassOf<TTntListItem>();
    if (OnCreateItemClass) OnCreateItemClass(this, itemClass);
    if (!itemClass->ClassType()->InheritsFrom(ClassOf<TTntListItem>()))
        throw ETntInternalError(SItemClassNotWide);
    return itemClass->Create(TCustomListView::Items());
}

TListItems* TTntCustomListView::CreateListItems() {
    return new TTntListItems(this);
}

TListColumns* TTntCustomListView::CreateListColumns() {
    return new TTntListColumns(this);
}

TTntListItem* TTntCustomListView::Selected() {
    return checkedCast<TTntListItem>(TCustomListView::Selected());
}

TTntListItem* TTntCustomListView::ItemFocused() {
    return checkedCast<TTntListItem>(TCustomListView::ItemFocused());
}

TTntListItem* TTntCustomListView::TopItem() {
    return checkedCast<TTntListItem>(TCustomListView::TopItem());
}

void TTntCustomListView::EndChangingWideItem() {
    if (wideChanges_ > 0) --wideChanges_;
}

void TTntCustomListView::CreateWindowHandle(const TCreateParams& Params) {
    CreateUnicodeHandle_ComCtl(this, Params, u"SysListView32");
}

// The framework's sort by caption is asked for once, so that its compare
// function is known. An empty column put in and taken out again has the
// window settle its header before the first column of the framework.
void TTntCustomListView::CreateWnd() {
    TTntHinted::CreateWnd();
    if (!Win32PlatformIsUnicode) return;
    LVCOLUMNA empty;
    SendMessageA(Handle(), LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&empty));
    SendMessageA(Handle(), LVM_DELETECOLUMN, 0, 0);
    if (defaultCompare) return;
    capturingDefaultSort_ = true;
    try {
        AlphaSort();
    } catch (...) {
        capturingDefaultSort_ = false;
        throw;
    }
    capturingDefaultSort_ = false;
}

bool TTntCustomListView::OwnerDataFetch(TListItem* Item) {
    if (auto* item = dynamic_cast<TTntListItem*>(Item)) {
        item->caption_.clear();
        item->followAnsiSubItems();
    }
    return TTntHinted::OwnerDataFetch(Item);
}

Integer TTntCustomListView::OwnerDataFind(TItemFind Find, const AnsiString& FindString,
                                          const TPoint& FindPosition, void* FindData, Integer StartIndex,
                                          TSearchDirection Direction, bool Wrap) {
    const WideString text = findingWide_ ? findText_ : AnsiToWide(FindString);
    return OwnerDataFindW(Find, text, FindPosition, FindData, StartIndex, Direction, Wrap);
}

Integer TTntCustomListView::OwnerDataFindW(TItemFind Find, const WideString& FindString,
                                           const TPoint& FindPosition, void* FindData, Integer StartIndex,
                                           TSearchDirection Direction, bool Wrap) {
    if (!OnDataFind)
        return TTntHinted::OwnerDataFind(Find, WideToAnsi(FindString), FindPosition, FindData, StartIndex,
                                         Direction, Wrap);
    Integer index = -1;
    OnDataFind(this, Find, FindString, FindPosition, FindData, StartIndex, Direction, Wrap, index);
    return index;
}

TTntListItem* TTntCustomListView::itemAt(Integer Index, LPARAM Param) {
    if (OwnerData())
        return Index >= 0 && Index < Items()->Count() ? checkedCast<TTntListItem>(OwnerDataItem(Index))
                                                      : nullptr;
    if (Param) return checkedCast<TTntListItem>(reinterpret_cast<TListItem*>(Param));
    return Index >= 0 && Index < Items()->Count() ? Items()->Item(Index) : nullptr;
}

TTntListItem* TTntCustomListView::FindCaption(Integer StartIndex, const WideString& Value, bool Partial,
                                              bool Inclusive, bool Wrap) {
    if (!Win32PlatformIsUnicode)
        return checkedCast<TTntListItem>(
            TCustomListView::FindCaption(StartIndex, WideToAnsi(Value), Partial, Inclusive, Wrap));
    if (!HandleAllocated()) return nullptr;
    LVFINDINFOW find;
    find.flags = LVFI_STRING | (Partial ? LVFI_PARTIAL : 0) | (Wrap ? LVFI_WRAP : 0);
    find.psz = Value.c_str();
    const Integer start = Inclusive ? StartIndex - 1 : StartIndex;
    const auto index = static_cast<Integer>(
        SendMessageW(Handle(), LVM_FINDITEMW, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(&find)));
    return index >= 0 && index < Items()->Count() ? Items()->Item(index) : nullptr;
}

Integer TTntCustomListView::StringWidth(const WideString& S) {
    if (!Win32PlatformIsUnicode) return TCustomListView::StringWidth(WideToAnsi(S));
    if (!HandleAllocated()) return 0;
    return static_cast<Integer>(
        SendMessageW(Handle(), LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(S.c_str())));
}

WideString TTntCustomListView::GetSearchString() {
    if (!HandleAllocated()) return {};
    if (!Win32PlatformIsUnicode) {
        std::vector<char> buffer(SearchStringLength, '\0');
        SendMessageA(Handle(), LVM_GETISEARCHSTRINGA, 0, reinterpret_cast<LPARAM>(buffer.data()));
        return AnsiToWide(buffer.data());
    }
    std::vector<WCHAR> buffer(SearchStringLength, u'\0');
    SendMessageW(Handle(), LVM_GETISEARCHSTRINGW, 0, reinterpret_cast<LPARAM>(buffer.data()));
    return buffer.data();
}

TTntListItem* TTntCustomListView::AddItem(const WideString& Caption, TObject* Data) {
    TTntListItem* item = Items()->Add();
    item->SetCaption(Caption);
    item->SetData(Data);
    return item;
}

void TTntCustomListView::CopySelection(TCustomListControl* Destination) {
    for (Integer i = 0; i < Items()->Count(); ++i) {
        TTntListItem* item = Items()->Item(i);
        if (item->Selected())
            WideListControl_AddItem(Destination, item->Caption(), static_cast<TObject*>(item->Data()));
    }
}

// ---- What the framework sends its window -------------------------------------------------------

void TTntCustomListView::WndProc(TMessage& Message) {
    const bool watching = HandleAllocated() && wideChanges_ == 0;
    switch (Message.Msg) {
    case LVM_SETITEMTEXTA:
        if (watching && !OwnerData()) ansiItemTextSet(Message);
        if (Win32PlatformIsUnicode &&
            reinterpret_cast<LVITEMA*>(Message.LParam)->pszText == LPSTR_TEXTCALLBACKA()) {
            Message.Result = SendMessageW(Handle(), LVM_SETITEMTEXTW, Message.WParam, Message.LParam);
            return;
        }
        break;
    case LVM_UPDATE:
        if (watching && !OwnerData()) ansiItemUpdated(Message);
        break;
    case LVM_SETCOLUMNA:
    case LVM_INSERTCOLUMNA:
        ansiColumnSet(Message);
        return;
    case LVM_SORTITEMS:
        sortItems(Message);
        return;
    case LVM_SETEXTENDEDLISTVIEWSTYLE:
        // Check boxes come with sub-item images and info tips.
        if (Checkboxes()) Message.LParam |= LVS_EX_SUBITEMIMAGES | LVS_EX_INFOTIP;
        break;
    default:
        break;
    }
    TTntHinted::WndProc(Message);
}

void TTntCustomListView::ansiItemTextSet(const TMessage& Message) {
    const auto index = static_cast<Integer>(Message.WParam);
    if (index < 0 || index >= Items()->Count()) return;
    TTntListItem* item = Items()->Item(index);
    if (reinterpret_cast<const LVITEMA*>(Message.LParam)->iSubItem == 0)
        item->followAnsiCaption();
    else
        item->followAnsiSubItems();
}

void TTntCustomListView::ansiItemUpdated(const TMessage& Message) {
    const auto index = static_cast<Integer>(Message.WParam);
    if (index >= 0 && index < Items()->Count()) Items()->Item(index)->followAnsiSubItems();
}

// A column's ANSI caption that changes its wide caption's ANSI form replaces
// it; the window is given the wide caption.
void TTntCustomListView::ansiColumnSet(TMessage& Message) {
    auto& column = *reinterpret_cast<LVCOLUMNA*>(Message.LParam);
    const auto index = static_cast<Integer>(Message.WParam);
    if (!(column.mask & LVCF_TEXT) || index < 0 || index >= Columns()->Count()) {
        TTntHinted::WndProc(Message);
        return;
    }
    TTntListColumn* source = Columns()->Items(index);
    const AnsiString ansi = column.pszText ? column.pszText : "";
    if (WideToAnsi(source->caption_) != ansi) source->caption_ = AnsiToWide(ansi);
    if (!Win32PlatformIsUnicode) {
        TTntHinted::WndProc(Message);
        return;
    }
    WideString caption = source->Caption();
    LVCOLUMNW wide;
    wide.mask = column.mask;
    wide.fmt = column.fmt;
    wide.cx = column.cx;
    wide.pszText = caption.data();
    wide.iSubItem = column.iSubItem;
    wide.iImage = column.iImage;
    wide.iOrder = column.iOrder;
    Message.Result =
        SendMessageW(Handle(), Message.Msg == LVM_SETCOLUMNA ? LVM_SETCOLUMNW : LVM_INSERTCOLUMNW,
                     Message.WParam, reinterpret_cast<LPARAM>(&wide));
}

void TTntCustomListView::sortItems(TMessage& Message) {
    const auto compare = reinterpret_cast<PFNLVCOMPARE>(Message.LParam);
    if (capturingDefaultSort_) {
        defaultCompare = compare;
        return;
    }
    if (!Win32PlatformIsUnicode || !defaultCompare || compare != defaultCompare) {
        TTntHinted::WndProc(Message);
        return;
    }
    TMessage wide{LVM_SORTITEMS, Message.WParam, reinterpret_cast<LPARAM>(&TTntCustomListView::wideCompare),
                  0};
    TTntHinted::WndProc(wide);
    Message.Result = wide.Result;
}

// The framework sorts with the list view as its parameter.
int TTntCustomListView::wideCompare(LPARAM First, LPARAM Second, LPARAM SortParam) {
    Assert(Win32PlatformIsUnicode);
    auto* view = static_cast<TTntCustomListView*>(reinterpret_cast<TCustomListView*>(SortParam));
    auto* first = reinterpret_cast<TListItem*>(First);
    auto* second = reinterpret_cast<TListItem*>(Second);
    if (view->OnCompare) {
        Integer compare = 0;
        view->OnCompare(view, first, second, 0, compare);
        return compare;
    }
    return lstrcmpW(checkedCast<TTntListItem>(first)->Caption().c_str(),
                    checkedCast<TTntListItem>(second)->Caption().c_str());
}

// ---- What the window reports -------------------------------------------------------------------

void TTntCustomListView::Dispatch(TMessage& Message) {
    if (Message.Msg == CN_NOTIFY && Win32PlatformIsUnicode)
        cnNotify(Message);
    else
        TTntHinted::Dispatch(Message);
}

void TTntCustomListView::cnNotify(TMessage& Message) {
    switch (reinterpret_cast<NMHDR*>(Message.LParam)->code) {
    case LVN_GETDISPINFOW:
        getDispInfo(Message);
        return;
    case LVN_BEGINLABELEDITW:
        beginLabelEdit(Message);
        return;
    case LVN_ENDLABELEDITW:
        endLabelEdit(Message);
        return;
    case LVN_ODFINDITEMW:
        ownerDataFindW(Message);
        return;
    case LVN_GETINFOTIPW:
        getInfoTipW(Message);
        return;
    default:
        TTntHinted::Dispatch(Message);
    }
}

// The framework answers the tip under the ANSI code; it reads and writes an
// ANSI text, so it is given the record in ANSI form and its answer comes back wide.
void TTntCustomListView::getInfoTipW(TMessage& Message) {
    auto& wide = *reinterpret_cast<NMLVGETINFOTIPW*>(Message.LParam);
    if (!wide.pszText || wide.cchTextMax <= 0) return;
    NMLVGETINFOTIPA ansi;
    ansi.hdr = wide.hdr;
    ansi.hdr.code = LVN_GETINFOTIPA;
    ansi.dwFlags = wide.dwFlags;
    ansi.iItem = wide.iItem;
    ansi.iSubItem = wide.iSubItem;
    ansi.lParam = wide.lParam;
    std::vector<char> text(static_cast<std::size_t>(wide.cchTextMax) * 2 + 1);
    ansi.pszText = text.data();
    ansi.cchTextMax = static_cast<int>(text.size());
    CopyText(WideString(wide.pszText), ansi.pszText, ansi.cchTextMax);
    TMessage ansiMessage = Message;
    ansiMessage.LParam = reinterpret_cast<LPARAM>(&ansi);
    TTntHinted::Dispatch(ansiMessage);
    CopyText(TextOf(ansi.pszText), wide.pszText, wide.cchTextMax);
    Message.Result = ansiMessage.Result;
}

void TTntCustomListView::DrawItem(TListItem* Item, const TRect& Rect, TOwnerDrawState State) {
    if (OnDrawItem) {
        OnDrawItem(this, Item, Rect, State);
        return;
    }
    Canvas()->FillRect(Rect);
    WideCanvasTextOut(Canvas(), Rect.Left + captionIndent, Rect.Top,
                      checkedCast<TTntListItem>(Item)->Caption());
}

// The framework reads the record under the ANSI code; the code is restored on every path.
void TTntCustomListView::dispatchAs(TMessage& Message, UINT AnsiCode) {
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

// The framework gives images, state and indent; the text comes wide, at most
// the buffer's size less one (nothing into a buffer of no characters).
void TTntCustomListView::getDispInfo(TMessage& Message) {
    auto& info = *reinterpret_cast<NMLVDISPINFOW*>(Message.LParam);
    const UINT mask = info.item.mask;
    info.item.mask &= ~LVIF_TEXT;
    try {
        dispatchAs(Message, LVN_GETDISPINFOA);
    } catch (...) {
        info.item.mask = mask;
        throw;
    }
    info.item.mask = mask;
    if (!(mask & LVIF_TEXT) || !info.item.pszText || info.item.cchTextMax <= 0) return;
    TTntListItem* item = itemAt(info.item.iItem, info.item.lParam);
    if (!item) return;
    const Integer sub = info.item.iSubItem;
    const WideString text = sub == 0                              ? item->Caption()
                            : sub - 1 < item->SubItems()->Count() ? item->SubItems()->Strings(sub - 1)
                                                                  : WideString();
    CopyText(text, info.item.pszText, info.item.cchTextMax);
}

// The framework answers the request under its ANSI code; a text to find
// reaches OwnerDataFind wide, not through the record.
void TTntCustomListView::ownerDataFindW(TMessage& Message) {
    auto& find = reinterpret_cast<NMLVFINDITEMW*>(Message.LParam)->lvfi;
    if (!(find.flags & (LVFI_STRING | LVFI_PARTIAL))) {
        dispatchAs(Message, LVN_ODFINDITEMA);
        return;
    }
    findText_ = TextOf(find.psz);
    findingWide_ = true;
    const WCHAR* text = std::exchange(find.psz, nullptr);
    try {
        dispatchAs(Message, LVN_ODFINDITEMA);
    } catch (...) {
        find.psz = text;
        findingWide_ = false;
        findText_.clear();
        throw;
    }
    find.psz = text;
    findingWide_ = false;
    findText_.clear();
}

// The framework's editing test decides; an accepted edit's editor passes its
// keys through the list view's key handling.
void TTntCustomListView::beginLabelEdit(TMessage& Message) {
    dispatchAs(Message, LVN_BEGINLABELEDITA);
    if (Message.Result != 0) return;
    editor_ = reinterpret_cast<HWND>(SendMessageW(Handle(), LVM_GETEDITCONTROL, 0, 0));
    if (!editor_) return;
    editorPrevious_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(editor_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editorInstance_)));
}

// The framework hears of the end without the text (it reads ANSI); the text
// goes through the wide OnEdited, else the framework's, into the wide caption.
void TTntCustomListView::endLabelEdit(TMessage& Message) {
    auto& info = *reinterpret_cast<NMLVDISPINFOW*>(Message.LParam);
    WCHAR* text = std::exchange(info.item.pszText, nullptr);
    try {
        dispatchAs(Message, LVN_ENDLABELEDITA);
    } catch (...) {
        info.item.pszText = text;
        throw;
    }
    info.item.pszText = text;
    if (!text || info.item.iItem == -1) return;
    TTntListItem* item = itemAt(info.item.iItem, info.item.lParam);
    if (!item) return;
    WideString edited = text;
    if (OnEdited) {
        OnEdited(this, item, edited);
    } else if (TCustomListView::OnEdited) {
        AnsiString ansi = WideToAnsi(edited);
        TCustomListView::OnEdited(this, item, ansi);
        edited = AnsiToWide(ansi);
    }
    item->SetCaption(edited);
}

void TTntCustomListView::editorWndProc(TMessage& Message) {
    TntLabelEditor_WndProc(this, editor_, editorPrevious_, Message);
}

void TntLabelEditor_WndProc(TWinControl* View, HWND Editor, WNDPROC Previous, TMessage& Message) {
    Assert(Win32PlatformIsUnicode);
    switch (Message.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (View->DoKeyDown(Message)) return;
        break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (View->DoKeyUp(Message)) return;
        break;
    case WM_CHAR: {
        MakeWMCharMsgSafeForAnsi(Message);
        const bool handled = View->DoKeyPress(Message);
        RestoreWMCharMsg(Message);
        if (handled) return;
        break;
    }
    case CN_KEYDOWN:
    case CN_CHAR:
    case CN_SYSKEYDOWN:
    case CN_SYSCHAR:
        View->WndProc(Message);
        return;
    default:
        break;
    }
    Message.Result = CallWindowProcW(Previous, Editor, Message.Msg, Message.WParam, Message.LParam);
}

namespace {
const TClass tntListColumnClass =
    DescribeClass<TTntListColumn, TListColumn>([](TClassBuilder<TTntListColumn>& c) {
        c.Property("Caption", &TTntListColumn::Caption, &TTntListColumn::SetCaption);
    });
const TClass tntListColumnsClass = DescribeClass<TTntListColumns, TListColumns>();
const TClass tntListItemClass = DescribeClass<TTntListItem, TListItem>();
const TClass tntListViewClass =
    DescribeClass<TTntListView, TCustomListView>([](TClassBuilder<TTntListView>& c) {
        DescribeListViewProperties(c);
        c.Property("Hint", &TTntListView::Hint, &TTntListView::SetHint).Stored(&TTntListView::IsHintStored);
    });

struct RegisterTntListView {
    RegisterTntListView() { RegisterClass(tntListViewClass); }
} registerTntListView;
} // namespace
