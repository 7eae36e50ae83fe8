// The framework's common controls: tab and page controls, status bar,
// progress bar, track bar and up-down control over the system's classes.
#include "platform/vcl/ComCtrls.h"

#include "platform/core/CodePages.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Idents.h"
#include "platform/vcl/StdActns.h"
#include "platform/win/CommonControls.h"
#include "platform/win/Focus.h"
#include "platform/win/Keyboard.h"
#include "platform/win/Messages.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/Windows.h"

#include <algorithm>

namespace {

constexpr const char* STabFailSet = "Failed to set tab \"%s\" at index %d";
constexpr const char* STabFailDelete = "Failed to delete tab at index %d";
constexpr const char* STabFailClear = "Failed to clear tab control";
constexpr const char* SPageIndexError =
    "%d is an invalid PageIndex value.  PageIndex must be between 0 and %d";

constexpr Integer defaultStatusBarHeight = 19;
constexpr Integer defaultProgressWidth = 150;
constexpr Integer defaultProgressHeight = 16;
constexpr Integer defaultTabControlWidth = 289;
constexpr Integer defaultTabControlHeight = 193;
constexpr Integer defaultTrackBarLength = 150;
constexpr Integer defaultTrackBarBreadth = 45;
constexpr AnsiChar acceleratorMark = '&';

// A character code of a key message as one byte of the ANSI code page:
// codes below 256 are such bytes; a 16-bit character (a Unicode window's)
// is its byte there, or 0 when it has none, never its low byte.
AnsiChar ansiCharOfKey(Word Key) {
    if (Key < 256) return static_cast<AnsiChar>(Key);
    const WideString wide(1, static_cast<WideChar>(Key));
    const AnsiString ansi = WideToAnsi(wide);
    return ansi.size() == 1 && AnsiToWide(ansi) == wide ? ansi[0] : '\0';
}

// Whether Key is the accelerator ("&" before it) of Caption, ignoring case.
bool IsAccel(Word Key, const AnsiString& Caption) {
    for (std::size_t i = 0; i + 1 < Caption.size(); ++i) {
        if (Caption[i] != acceleratorMark) continue;
        if (Caption[i + 1] == acceleratorMark) {
            ++i;
            continue;
        }
        return AnsiCharUpper(Caption[i + 1]) == AnsiCharUpper(ansiCharOfKey(Key));
    }
    return false;
}

// The control and every parent up to its form can take the focus.
bool CanFocusAll(TWinControl* Control) {
    for (TWinControl* control = Control; control; control = control->Parent())
        if (!control->Visible() || !control->Enabled()) return false;
    return true;
}

} // namespace

// ---- Image lists --------------------------------------------------------------------------

int TImageListHandle::ImageCount() const {
    return list_->Count();
}

SIZE TImageListHandle::ImageSize() const {
    return {list_->Width(), list_->Height()};
}

void TImageListHandle::DrawImage(HDC dc, int index, int x, int y, UINT style) {
    list_->DrawEx(dc, index, x, y, CLR_NONE, CLR_DEFAULT, style);
}

void TImageListHandle::DrawDisabledImage(HDC dc, int index, int x, int y) {
    TCanvas canvas;
    canvas.SetHandle(dc);
    list_->Draw(&canvas, x, y, index, false);
    canvas.SetHandle(nullptr);
}

TControlImages::TControlImages(TNotifyEvent OnChange) : link_(std::make_unique<TChangeLink>()) {
    link_->OnChange = OnChange;
}

TControlImages::~TControlImages() {
    if (list_) list_->UnRegisterChanges(link_.get());
}

void TControlImages::Set(TCustomImageList* Value) {
    if (Value == list_) return;
    if (list_) list_->UnRegisterChanges(link_.get());
    list_ = Value;
    retired_ = std::move(handle_);
    if (list_) {
        list_->RegisterChanges(link_.get());
        handle_ = std::make_unique<TImageListHandle>(list_);
    }
}

// ---- The tab list -------------------------------------------------------------------------

class TCustomTabControl::TabList : public TStrings {
public:
    explicit TabList(TCustomTabControl* Control) : control_(Control) {}

    AnsiString Get(Integer Index) const override { return at(Index).text; }
    Integer GetCount() const override { return static_cast<Integer>(tabs_.size()); }
    TObject* GetObject(Integer Index) const override { return at(Index).object; }

    void Put(Integer Index, const AnsiString& S) override {
        at(Index).text = S;
        if (!control_->HandleAllocated()) return;
        TCITEMA item = textItem(Index, S);
        if (!SendMessageA(control_->Handle(), TCM_SETITEMA, static_cast<WPARAM>(Index),
                          reinterpret_cast<LPARAM>(&item)))
            throw EListError(Format(STabFailSet, {S, Index}));
        control_->TabsChanged();
    }

    void PutObject(Integer Index, TObject* AObject) override {
        at(Index).object = AObject;
        if (control_->HandleAllocated()) sendObject(Index);
    }

    void Insert(Integer Index, const AnsiString& S) override {
        if (Index < 0 || Index > GetCount()) Error(SListIndexError, Index);
        tabs_.insert(tabs_.begin() + Index, Tab{S, nullptr});
        if (!control_->HandleAllocated()) return;
        sendInsert(Index);
        control_->UpdateTabImages();
        control_->TabsChanged();
    }

    void Delete(Integer Index) override {
        at(Index);
        tabs_.erase(tabs_.begin() + Index);
        if (!control_->HandleAllocated()) return;
        if (!SendMessageA(control_->Handle(), TCM_DELETEITEM, static_cast<WPARAM>(Index), 0))
            throw EListError(Format(STabFailDelete, {Index}));
        control_->UpdateTabImages();
        control_->TabsChanged();
    }

    void Clear() override {
        tabs_.clear();
        if (!control_->HandleAllocated()) return;
        if (!SendMessageA(control_->Handle(), TCM_DELETEALLITEMS, 0, 0)) throw EListError(STabFailClear);
        control_->TabsChanged();
    }

    // A new window is given every tab.
    void SendAll() {
        for (Integer i = 0; i < GetCount(); ++i) {
            sendInsert(i);
            if (at(i).object) sendObject(i);
        }
    }

protected:
    void SetUpdateState(bool Updating) override {
        if (!control_->HandleAllocated()) return;
        SendMessageA(control_->Handle(), WM_SETREDRAW, !Updating, 0);
        if (!Updating) {
            control_->Invalidate();
            control_->TabsChanged();
        }
    }

private:
    struct Tab {
        AnsiString text;
        TObject* object = nullptr;
    };

    Tab& at(Integer Index) {
        if (Index < 0 || Index >= GetCount()) Error(SListIndexError, Index);
        return tabs_[static_cast<std::size_t>(Index)];
    }
    const Tab& at(Integer Index) const {
        if (Index < 0 || Index >= GetCount()) Error(SListIndexError, Index);
        return tabs_[static_cast<std::size_t>(Index)];
    }

    TCITEMA textItem(Integer Index, const AnsiString& S) const {
        TCITEMA item;
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        if (control_->UseRightToLeftReading()) item.mask |= TCIF_RTLREADING;
        item.pszText = const_cast<char*>(S.c_str());
        item.iImage = control_->GetImageIndex(Index);
        return item;
    }

    void sendInsert(Integer Index) {
        const AnsiString text = at(Index).text;
        TCITEMA item = textItem(Index, text);
        if (SendMessageA(control_->Handle(), TCM_INSERTITEMA, static_cast<WPARAM>(Index),
                         reinterpret_cast<LPARAM>(&item)) < 0)
            throw EListError(Format(STabFailSet, {text, Index}));
    }

    void sendObject(Integer Index) {
        TCITEMA item;
        item.mask = TCIF_PARAM;
        item.lParam = reinterpret_cast<LPARAM>(at(Index).object);
        SendMessageA(control_->Handle(), TCM_SETITEMA, static_cast<WPARAM>(Index),
                     reinterpret_cast<LPARAM>(&item));
    }

    TCustomTabControl* control_;
    std::vector<Tab> tabs_;
};

// ---- TCustomTabControl --------------------------------------------------------------------

TCustomTabControl::TCustomTabControl(TComponent* AOwner)
    : TWinControl(AOwner), tabs_(std::make_unique<TabList>(this)),
      images_(TNotifyEvent(this, &TCustomTabControl::imagesChanged)), canvas_(std::make_unique<TCanvas>()) {
    SetControlStyle(TControlStyle{csAcceptsControls, csDoubleClicks});
    SetBounds(Left(), Top(), defaultTabControlWidth, defaultTabControlHeight);
    SetTabStop(true);
    RegisterCommonControlClasses();
}

TCustomTabControl::~TCustomTabControl() = default;

TStrings* TCustomTabControl::Tabs() const {
    return tabs_.get();
}

void TCustomTabControl::SetTabs(TStrings* Value) {
    tabs_->Assign(Value);
}

Integer TCustomTabControl::TabIndex() {
    if (!HandleAllocated()) return savedTabIndex_;
    return static_cast<Integer>(SendMessageA(Handle(), TCM_GETCURSEL, 0, 0));
}

void TCustomTabControl::SetTabIndex(Integer Value) {
    savedTabIndex_ = Value;
    if (HandleAllocated()) SendMessageA(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(Value), 0);
}

void TCustomTabControl::SetMultiLine(bool Value) {
    if (multiLine_ == Value) return;
    multiLine_ = Value;
    RecreateWnd();
}

void TCustomTabControl::SetTabPosition(TTabPosition Value) {
    if (tabPosition_ == Value) return;
    tabPosition_ = Value;
    RecreateWnd();
}

void TCustomTabControl::SetStyle(TTabStyle Value) {
    if (style_ == Value) return;
    style_ = Value;
    RecreateWnd();
}

void TCustomTabControl::SetTabHeight(Integer Value) {
    if (tabHeight_ == Value) return;
    tabHeight_ = Value;
    applyTabSize();
}

void TCustomTabControl::SetTabWidth(Integer Value) {
    if (tabWidth_ == Value) return;
    const bool fixedChanged = (tabWidth_ == 0) != (Value == 0);
    tabWidth_ = Value;
    if (fixedChanged)
        RecreateWnd();
    else
        applyTabSize();
}

void TCustomTabControl::SetHotTrack(bool Value) {
    if (hotTrack_ == Value) return;
    hotTrack_ = Value;
    RecreateWnd();
}

void TCustomTabControl::SetRaggedRight(bool Value) {
    if (raggedRight_ == Value) return;
    raggedRight_ = Value;
    RecreateWnd();
}

void TCustomTabControl::SetScrollOpposite(bool Value) {
    if (scrollOpposite_ == Value) return;
    scrollOpposite_ = Value;
    RecreateWnd();
}

void TCustomTabControl::SetOwnerDraw(bool Value) {
    if (ownerDraw_ == Value) return;
    ownerDraw_ = Value;
    RecreateWnd();
}

void TCustomTabControl::SetImages(TCustomImageList* Value) {
    if (Value == images_.List()) return;
    if (images_.List()) images_.List()->RemoveFreeNotification(this);
    images_.Set(Value);
    if (Value) Value->FreeNotification(this);
    imagesChanged(Value);
}

void TCustomTabControl::imagesChanged(TObject*) {
    if (!HandleAllocated()) return;
    SendMessageA(Handle(), TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_.Handle()));
    UpdateTabImages();
    TabsChanged();
}

void TCustomTabControl::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == images_.List()) SetImages(nullptr);
}

void TCustomTabControl::applyTabSize() {
    if (HandleAllocated())
        SendMessageA(Handle(), TCM_SETITEMSIZE, 0,
                     MAKELPARAM(static_cast<WORD>(tabWidth_), static_cast<WORD>(tabHeight_)));
    TabsChanged();
}

void TCustomTabControl::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, WC_TABCONTROLA);
    if (multiLine_) Params.Style |= TCS_MULTILINE;
    if (style_ != tsTabs) Params.Style |= TCS_BUTTONS;
    if (style_ == tsFlatButtons) Params.Style |= TCS_FLATBUTTONS;
    if (tabWidth_ > 0) Params.Style |= TCS_FIXEDWIDTH;
    if (hotTrack_) Params.Style |= TCS_HOTTRACK;
    if (raggedRight_) Params.Style |= TCS_RAGGEDRIGHT;
    if (scrollOpposite_) Params.Style |= TCS_SCROLLOPPOSITE;
    if (ownerDraw_) Params.Style |= TCS_OWNERDRAWFIXED;
    if (tabPosition_ == tpBottom || tabPosition_ == tpRight) Params.Style |= TCS_BOTTOM;
    if (tabPosition_ == tpLeft || tabPosition_ == tpRight) Params.Style |= TCS_VERTICAL;
    Params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TCustomTabControl::CreateWnd() {
    TWinControl::CreateWnd();
    if (images_.Handle())
        SendMessageA(Handle(), TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_.Handle()));
    if (tabHeight_ != 0 || tabWidth_ != 0)
        SendMessageA(Handle(), TCM_SETITEMSIZE, 0,
                     MAKELPARAM(static_cast<WORD>(tabWidth_), static_cast<WORD>(tabHeight_)));
    tabs_->SendAll();
    SendMessageA(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(savedTabIndex_), 0);
    TabsChanged();
}

void TCustomTabControl::DestroyWnd() {
    savedTabIndex_ = TabIndex();
    TWinControl::DestroyWnd();
}

TRect TCustomTabControl::DisplayRect() {
    TRect rect = ClientRect();
    if (HandleAllocated()) SendMessageA(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&rect));
    return rect;
}

void TCustomTabControl::AdjustClientRect(TRect& Rect) {
    TWinControl::AdjustClientRect(Rect);
    if (HandleAllocated()) Rect = DisplayRect();
}

TRect TCustomTabControl::TabRect(Integer Index) {
    TRect rect;
    if (HandleAllocated())
        SendMessageA(Handle(), TCM_GETITEMRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&rect));
    return rect;
}

Integer TCustomTabControl::IndexOfTabAt(Integer X, Integer Y) {
    if (!HandleAllocated()) return -1;
    TCHITTESTINFO hit;
    hit.pt = {X, Y};
    return static_cast<Integer>(SendMessageA(Handle(), TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}

Integer TCustomTabControl::RowCount() {
    return HandleAllocated() ? static_cast<Integer>(SendMessageA(Handle(), TCM_GETROWCOUNT, 0, 0)) : 0;
}

bool TCustomTabControl::CanChange() {
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    return allow;
}

bool TCustomTabControl::CanShowTab(Integer) {
    return true;
}

void TCustomTabControl::Change() {
    if (OnChange) OnChange(this);
}

void TCustomTabControl::DrawTab(Integer TabIndex, const TRect& Rect, bool Active) {
    if (OnDrawTab)
        OnDrawTab(this, TabIndex, Rect, Active);
    else
        canvas_->FillRect(Rect);
}

Integer TCustomTabControl::GetImageIndex(Integer TabIndex) {
    Integer index = TabIndex;
    if (OnGetImageIndex) OnGetImageIndex(this, TabIndex, index);
    return index;
}

void TCustomTabControl::UpdateTabImages() {
    if (!HandleAllocated()) return;
    for (Integer i = 0; i < tabs_->Count(); ++i) {
        TCITEMA item;
        item.mask = TCIF_IMAGE;
        item.iImage = GetImageIndex(i);
        SendMessageA(Handle(), TCM_SETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
}

void TCustomTabControl::TabsChanged() {
    if (HandleAllocated()) Realign();
}

void TCustomTabControl::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CN_NOTIFY:
        cnNotify(Message);
        break;
    case CN_DRAWITEM:
        cnDrawItem(Message);
        break;
    case CM_DIALOGCHAR:
        cmDialogChar(Message);
        break;
    case CM_FONTCHANGED:
        TWinControl::Dispatch(Message);
        TabsChanged();
        break;
    default:
        TWinControl::Dispatch(Message);
    }
}

void TCustomTabControl::cnNotify(TMessage& Message) {
    const auto* header = reinterpret_cast<const NMHDR*>(Message.LParam);
    switch (header->code) {
    case TCN_SELCHANGING:
        Message.Result = CanChange() ? 0 : 1;
        break;
    case TCN_SELCHANGE:
        Change();
        break;
    default:
        break;
    }
}

void TCustomTabControl::cnDrawItem(TMessage& Message) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam);
    canvas_->Lock();
    canvas_->SetHandle(item->hDC);
    canvas_->SetFont(Font());
    canvas_->SetBrush(Brush());
    DrawTab(static_cast<Integer>(item->itemID), item->rcItem, (item->itemState & ODS_SELECTED) != 0);
    canvas_->SetHandle(nullptr);
    canvas_->Unlock();
    Message.Result = 1;
}

// The accelerator of a tab's caption selects it, as a click would.
void TCustomTabControl::cmDialogChar(TMessage& Message) {
    const Word key = TWMKey(Message).CharCode();
    for (Integer i = 0; i < tabs_->Count(); ++i) {
        if (!IsAccel(key, tabs_->Get(i)) || !CanShowTab(i) || !CanFocusAll(this)) continue;
        Message.Result = 1;
        if (CanChange()) {
            SetTabIndex(i);
            Change();
        }
        return;
    }
    TWinControl::Dispatch(Message);
}

// ---- TTabSheet ----------------------------------------------------------------------------

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner) {
    SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls});
    SetAlign(alClient);
    SetVisible(false);
}

TTabSheet::~TTabSheet() {
    if (!DestructionPrepared()) BeforeDestruction();
}

void TTabSheet::BeforeDestruction() {
    if (pageControl_) pageControl_->removePage(this);
    TWinControl::BeforeDestruction();
}

void TTabSheet::SetPageControl(TPageControl* Value) {
    if (Value == pageControl_) return;
    if (pageControl_) pageControl_->removePage(this);
    TWinControl::SetParent(Value);
    if (Value) Value->insertPage(this);
}

void TTabSheet::SetParent(TWinControl* AParent) {
    if (auto* pageControl = dynamic_cast<TPageControl*>(AParent)) {
        SetPageControl(pageControl);
        return;
    }
    if (pageControl_) pageControl_->removePage(this);
    TWinControl::SetParent(AParent);
}

Integer TTabSheet::PageIndex() const {
    if (!pageControl_) return -1;
    const auto& pages = pageControl_->pages_;
    return static_cast<Integer>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(Integer Value) {
    if (pageControl_) pageControl_->movePage(this, Value);
}

Integer TTabSheet::TabIndex() const {
    if (!tabShowing_ || !pageControl_) return -1;
    Integer index = 0;
    for (TTabSheet* page : pageControl_->pages_) {
        if (page == this) return index;
        if (page->tabShowing_) ++index;
    }
    return -1;
}

void TTabSheet::SetTabVisible(bool Value) {
    if (tabVisible_ == Value) return;
    tabVisible_ = Value;
    if (pageControl_) pageControl_->updateTabShowing(this);
}

void TTabSheet::SetImageIndex(Integer Value) {
    if (imageIndex_ == Value) return;
    imageIndex_ = Value;
    if (pageControl_ && tabShowing_) pageControl_->UpdateTabImages();
}

void TTabSheet::SetHighlighted(bool Value) {
    if (highlighted_ == Value) return;
    highlighted_ = Value;
    if (pageControl_ && tabShowing_ && pageControl_->HandleAllocated())
        SendMessageA(pageControl_->Handle(), TCM_HIGHLIGHTITEM, static_cast<WPARAM>(TabIndex()), Value);
}

void TTabSheet::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CM_TEXTCHANGED:
        TWinControl::Dispatch(Message);
        if (pageControl_) pageControl_->updateTab(this);
        break;
    // Showing has already changed when this message comes.
    case CM_SHOWINGCHANGED:
        TWinControl::Dispatch(Message);
        if (Showing())
            DoShow();
        else
            DoHide();
        break;
    default:
        TWinControl::Dispatch(Message);
    }
}

void TTabSheet::DoShow() {
    if (OnShow) OnShow(this);
}

void TTabSheet::DoHide() {
    if (OnHide) OnHide(this);
}

// ---- TPageControl -------------------------------------------------------------------------

TPageControl::TPageControl(TComponent* AOwner) : TCustomTabControl(AOwner) {
    SetControlStyle(TControlStyle{csDoubleClicks, csOpaque});
}

TPageControl::~TPageControl() {
    if (!DestructionPrepared()) BeforeDestruction();
}

void TPageControl::BeforeDestruction() {
    for (TTabSheet* page : pages_)
        page->pageControl_ = nullptr;
    pages_.clear();
    activePage_ = nullptr;
    TCustomTabControl::BeforeDestruction();
}

TTabSheet* TPageControl::Pages(Integer Index) const {
    if (Index < 0 || Index >= PageCount()) throw EListError(Format(SListIndexError, {Index}));
    return pages_[static_cast<std::size_t>(Index)];
}

Integer TPageControl::ActivePageIndex() const {
    return activePage_ ? activePage_->PageIndex() : -1;
}

void TPageControl::SetActivePageIndex(Integer Value) {
    SetActivePage(Value >= 0 && Value < PageCount() ? Pages(Value) : nullptr);
}

void TPageControl::SetActivePage(TTabSheet* Page) {
    if (Page && Page->pageControl_ != this) return;
    changeActivePage(Page);
    if (!Page) SetTabIndex(-1);
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible) {
    const Integer count = PageCount();
    if (count == 0) return nullptr;
    auto found = std::find(pages_.begin(), pages_.end(), CurPage);
    Integer start =
        found == pages_.end() ? (GoForward ? count - 1 : 0) : static_cast<Integer>(found - pages_.begin());
    Integer index = start;
    do {
        index = GoForward ? (index + 1) % count : (index + count - 1) % count;
        TTabSheet* page = pages_[static_cast<std::size_t>(index)];
        if (!CheckTabVisible || page->TabVisible()) return page;
    } while (index != start);
    return nullptr;
}

void TPageControl::SelectNextPage(bool GoForward, bool CheckTabVisible) {
    TTabSheet* page = FindNextPage(activePage_, GoForward, CheckTabVisible);
    if (!page || page == activePage_ || !CanChange()) return;
    SetTabIndex(page->TabIndex());
    Change();
}

void TPageControl::ShowControl(TControl* AControl) {
    if (auto* page = dynamic_cast<TTabSheet*>(AControl); page && page->pageControl_ == this)
        SetActivePage(page);
    TCustomTabControl::ShowControl(AControl);
}

void TPageControl::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
    for (TTabSheet* page : pages_)
        if (page->Owner() == Root) Proc(page);
}

void TPageControl::CreateWnd() {
    TCustomTabControl::CreateWnd();
    if (activePage_) SetTabIndex(activePage_->TabIndex());
}

void TPageControl::Loaded() {
    TCustomTabControl::Loaded();
    if (!activePage_) {
        for (TTabSheet* page : pages_)
            if (page->TabVisible()) {
                changeActivePage(page);
                break;
            }
    }
}

bool TPageControl::CanShowTab(Integer TabIndex) {
    TTabSheet* page = pageForTab(TabIndex);
    return page && page->Enabled();
}

void TPageControl::Change() {
    if (TTabSheet* page = pageForTab(TabIndex())) changeActivePage(page);
    TCustomTabControl::Change();
}

Integer TPageControl::GetImageIndex(Integer TabIndex) {
    Integer index = TCustomTabControl::GetImageIndex(TabIndex);
    if (!OnGetImageIndex)
        if (TTabSheet* page = pageForTab(TabIndex)) index = page->ImageIndex();
    return index;
}

TTabSheet* TPageControl::pageForTab(Integer TabIndex) const {
    if (TabIndex < 0) return nullptr;
    Integer index = 0;
    for (TTabSheet* page : pages_) {
        if (!page->tabShowing_) continue;
        if (index == TabIndex) return page;
        ++index;
    }
    return nullptr;
}

void TPageControl::insertPage(TTabSheet* Page) {
    pages_.push_back(Page);
    Page->pageControl_ = this;
    updateTabShowing(Page);
    // The first page shown is the active one until someone picks another.
    if (!activePage_ && Page->TabVisible() && !ComponentState().Contains(csLoading)) changeActivePage(Page);
}

void TPageControl::removePage(TTabSheet* Page) {
    TTabSheet* next = FindNextPage(Page, true, true);
    if (next == Page) next = nullptr;
    if (Page->tabShowing_) {
        const Integer tab = Page->TabIndex();
        Page->tabShowing_ = false;
        Tabs()->Delete(tab);
    }
    Page->pageControl_ = nullptr;
    pages_.erase(std::remove(pages_.begin(), pages_.end(), Page), pages_.end());
    if (activePage_ == Page) {
        activePage_ = nullptr;
        if (!ComponentState().Contains(csDestroying)) SetActivePage(next);
    } else if (activePage_) {
        SetTabIndex(activePage_->TabIndex());
    }
}

void TPageControl::movePage(TTabSheet* Page, Integer NewIndex) {
    const Integer current = Page->PageIndex();
    if (NewIndex < 0 || NewIndex >= PageCount())
        throw EListError(Format(SPageIndexError, {NewIndex, PageCount() - 1}));
    if (NewIndex == current) return;
    const bool showing = Page->tabShowing_;
    if (showing) {
        Tabs()->Delete(Page->TabIndex());
        Page->tabShowing_ = false;
    }
    pages_.erase(pages_.begin() + current);
    pages_.insert(pages_.begin() + NewIndex, Page);
    if (showing) updateTabShowing(Page);
    if (activePage_) SetTabIndex(activePage_->TabIndex());
}

void TPageControl::updateTab(TTabSheet* Page) {
    if (Page->tabShowing_) Tabs()->Put(Page->TabIndex(), Page->Caption());
}

void TPageControl::updateTabShowing(TTabSheet* Page) {
    const bool show = Page->tabVisible_;
    if (show == Page->tabShowing_) return;
    if (show) {
        Page->tabShowing_ = true;
        Tabs()->InsertObject(Page->TabIndex(), Page->Caption(), Page);
    } else {
        const Integer tab = Page->TabIndex();
        Page->tabShowing_ = false;
        Tabs()->Delete(tab);
    }
    SetTabIndex(activePage_ ? activePage_->TabIndex() : -1);
}

// The new page shows before the old one hides; the focus leaves a page that goes.
void TPageControl::changeActivePage(TTabSheet* Page) {
    if (activePage_ == Page) return;
    TCustomForm* form = GetParentForm(this);
    if (form && activePage_ && form->ActiveControl() && activePage_->ContainsControl(form->ActiveControl()) &&
        CanFocus())
        SetFocus();
    if (Page) {
        Page->BringToFront();
        Page->SetVisible(true);
    }
    if (activePage_) activePage_->SetVisible(false);
    activePage_ = Page;
    if (Page) SetTabIndex(Page->TabIndex());
}

void TPageControl::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CM_DIALOGKEY:
        cmDialogKey(Message);
        break;
    case CM_DIALOGCHAR:
        cmDialogChar(Message);
        break;
    case CM_DOCKCLIENT:
        cmDockClient(Message);
        break;
    case CM_DOCKNOTIFICATION:
        cmDockNotification(Message);
        break;
    default:
        TCustomTabControl::Dispatch(Message);
    }
}

void TPageControl::cmDockClient(TMessage& Message) {
    Message.Result = 0;
    auto* source = reinterpret_cast<TDragDockObject*>(Message.WParam);
    TControl* client = source->Control();
    std::unique_ptr<TTabSheet> sheet = NewDockSheet(client);
    sheet->SetPageControl(this);
    newDockSheet_ = sheet.get();
    try {
        client->Dock(this, source->DockRect);
    } catch (...) {
        newDockSheet_ = nullptr;
        throw;
    }
    newDockSheet_ = nullptr;
    TTabSheet* page = sheet.release();
    page->SetTabVisible(client->Visible());
    if (client->Visible()) SetActivePage(page);
    client->SetAlign(alClient);
}

std::unique_ptr<TTabSheet> TPageControl::NewDockSheet(TControl* Client) {
    auto sheet = std::make_unique<TTabSheet>(this);
    if (auto* form = dynamic_cast<TCustomForm*>(Client)) sheet->SetCaption(form->Caption());
    return sheet;
}

void TPageControl::DoAddDockClient(TControl* Client, const TRect&) {
    if (newDockSheet_) Client->SetParent(newDockSheet_);
}

TTabSheet* TPageControl::GetPageFromDockClient(TControl* Client) const {
    for (TTabSheet* page : pages_)
        if (Client->Parent() == page && Client->HostDockSite() == this) return page;
    return nullptr;
}

void TPageControl::cmDockNotification(TMessage& Message) {
    auto* client = reinterpret_cast<TControl*>(Message.WParam);
    const auto& notice = *reinterpret_cast<const TDockNotifyRec*>(Message.LParam);
    TTabSheet* page = GetPageFromDockClient(client);
    if (!page) return;
    if (notice.ClientMsg == WM_SETTEXT) {
        // The tab shows the caption's first line.
        const auto* text = reinterpret_cast<const char*>(notice.MsgLParam);
        AnsiString caption = text ? text : "";
        caption = caption.substr(0, caption.find_first_of("\r\n"));
        page->SetCaption(caption);
    } else if (notice.ClientMsg == CM_VISIBLECHANGED) {
        page->SetTabVisible(notice.MsgWParam != 0);
    }
}

// Ctrl+Tab and Ctrl+Shift+Tab turn the pages while the focus is in the control.
void TPageControl::cmDialogKey(TMessage& Message) {
    const Word key = TWMKey(Message).CharCode();
    if (key == VK_TAB && GetKeyState(VK_CONTROL) < 0 && HandleAllocated() &&
        (Focused() || IsChild(Handle(), GetFocus()))) {
        SelectNextPage(GetKeyState(VK_SHIFT) >= 0);
        Message.Result = 1;
        return;
    }
    TCustomTabControl::Dispatch(Message);
}

// A page's accelerator turns to it; pages without a tab take no part.
void TPageControl::cmDialogChar(TMessage& Message) {
    const Word key = TWMKey(Message).CharCode();
    for (TTabSheet* page : pages_) {
        const Integer tab = page->TabIndex();
        if (tab < 0 || !IsAccel(key, page->Caption()) || !CanShowTab(tab) || !CanFocusAll(this)) continue;
        Message.Result = 1;
        if (CanChange()) {
            SetTabIndex(tab);
            Change();
        }
        return;
    }
    TWinControl::Dispatch(Message);
}

// ---- Status bar ---------------------------------------------------------------------------

TStatusPanel::TStatusPanel(TCollection* Collection) : TCollectionItem(Collection) {}

void TStatusPanel::Assign(TPersistent* Source) {
    auto* panel = dynamic_cast<TStatusPanel*>(Source);
    if (!panel) {
        TCollectionItem::Assign(Source);
        return;
    }
    text_ = panel->text_;
    width_ = panel->width_;
    alignment_ = panel->alignment_;
    bevel_ = panel->bevel_;
    style_ = panel->style_;
    biDiMode_ = panel->biDiMode_;
    parentBiDiMode_ = panel->parentBiDiMode_;
    Changed(true);
}

AnsiString TStatusPanel::GetDisplayName() {
    return text_.empty() ? TCollectionItem::GetDisplayName() : text_;
}

void TStatusPanel::SetText(const AnsiString& Value) {
    if (text_ == Value) return;
    text_ = Value;
    Changed(false);
}

void TStatusPanel::SetWidth(Integer Value) {
    if (width_ == Value) return;
    width_ = Value;
    Changed(true);
}

void TStatusPanel::SetAlignment(TAlignment Value) {
    if (alignment_ == Value) return;
    alignment_ = Value;
    Changed(false);
}

void TStatusPanel::SetBevel(TStatusPanelBevel Value) {
    if (bevel_ == Value) return;
    bevel_ = Value;
    Changed(false);
}

void TStatusPanel::SetStyle(TStatusPanelStyle Value) {
    if (style_ == Value) return;
    style_ = Value;
    Changed(false);
}

void TStatusPanel::SetBiDiMode(TBiDiMode Value) {
    if (biDiMode_ == Value) return;
    biDiMode_ = Value;
    parentBiDiMode_ = false;
    Changed(false);
}

void TStatusPanel::SetParentBiDiMode(bool Value) {
    if (parentBiDiMode_ == Value) return;
    parentBiDiMode_ = Value;
    Changed(false);
}

TStatusPanels::TStatusPanels(TCustomStatusBar* StatusBar, TClass PanelClass)
    : TCollection(PanelClass), statusBar_(StatusBar) {}

TStatusPanel* TStatusPanels::AddItem(TStatusPanel* Item, Integer Index) {
    TStatusPanel* panel = Index < 0 || Index >= Count() ? Add() : Insert(Index);
    if (Item) panel->Assign(Item);
    return panel;
}

TPersistent* TStatusPanels::GetOwner() {
    return statusBar_;
}

void TStatusPanels::Update(TCollectionItem* Item) {
    if (Item)
        statusBar_->UpdatePanel(Item->Index(), false);
    else
        statusBar_->UpdatePanels(true, true);
}

TCustomStatusBar::TCustomStatusBar(TComponent* AOwner)
    : TWinControl(AOwner), canvas_(std::make_unique<TCanvas>()) {
    SetControlStyle(
        TControlStyle{csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque, csAcceptsControls});
    SetColor(clBtnFace);
    SetBounds(Left(), Top(), Width(), defaultStatusBarHeight);
    SetAlign(alBottom);
    applySystemFont();
    RegisterCommonControlClasses();
}

TCustomStatusBar::~TCustomStatusBar() = default;

TStatusPanels* TCustomStatusBar::Panels() const {
    // Made on first use, so that a descendant's CreatePanels is the one called.
    if (!panels_) panels_.reset(const_cast<TCustomStatusBar*>(this)->CreatePanels());
    return panels_.get();
}

bool TCustomStatusBar::DoHint() {
    if (!OnHint) return false;
    OnHint(this);
    return true;
}

bool TCustomStatusBar::ExecuteAction(TBasicAction* Action) {
    auto* hint = dynamic_cast<THintAction*>(Action);
    if (!autoHint_ || !hint || DoHint()) return TWinControl::ExecuteAction(Action);
    if (simplePanel_ || Panels()->Count() == 0)
        SetSimpleText(hint->Hint());
    else
        Panels()->Items(0)->SetText(hint->Hint());
    return true;
}

TStatusPanels* TCustomStatusBar::CreatePanels() {
    return new TStatusPanels(this, GetPanelClass());
}

TStatusPanelClass TCustomStatusBar::GetPanelClass() {
    TStatusPanelClass panelClass = ClassOf<TStatusPanel>();
    if (OnCreatePanelClass) OnCreatePanelClass(this, panelClass);
    return panelClass;
}

void TCustomStatusBar::SetSimplePanel(bool Value) {
    if (simplePanel_ == Value) return;
    simplePanel_ = Value;
    if (!HandleAllocated()) return;
    SendMessageA(Handle(), SB_SIMPLE, Value, 0);
    if (Value)
        SendMessageA(Handle(), SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(simpleText_.c_str()));
}

void TCustomStatusBar::SetSimpleText(const AnsiString& Value) {
    if (simpleText_ == Value) return;
    simpleText_ = Value;
    if (HandleAllocated())
        SendMessageA(Handle(), SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(simpleText_.c_str()));
}

void TCustomStatusBar::SetSizeGrip(bool Value) {
    if (sizeGrip_ == Value) return;
    sizeGrip_ = Value;
    RecreateWnd();
}

void TCustomStatusBar::SetUseSystemFont(bool Value) {
    if (useSystemFont_ == Value) return;
    useSystemFont_ = Value;
    if (Value) applySystemFont();
}

void TCustomStatusBar::applySystemFont() {
    if (!useSystemFont_) return;
    NONCLIENTMETRICSA metrics;
    metrics.cbSize = offsetof(NONCLIENTMETRICSA, iPaddedBorderWidth);
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) return;
    Font()->SetName(metrics.lfStatusFont.lfFaceName);
    Font()->SetHeight(metrics.lfStatusFont.lfHeight);
}

void TCustomStatusBar::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, STATUSCLASSNAMEA);
    // The framework places the bar itself (Align).
    Params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE;
    TCustomForm* form = GetParentForm(this);
    if (sizeGrip_ && form && (form->BorderStyle() == bsSizeable || form->BorderStyle() == bsSizeToolWin))
        Params.Style |= SBARS_SIZEGRIP;
}

void TCustomStatusBar::CreateWnd() {
    TWinControl::CreateWnd();
    UpdatePanels(true, true);
    if (!simplePanel_) return;
    SendMessageA(Handle(), SB_SIMPLE, TRUE, 0);
    SendMessageA(Handle(), SB_SETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(simpleText_.c_str()));
}

// Each panel ends where the next begins; the last one takes the rest of the bar.
void TCustomStatusBar::UpdatePanels(bool UpdateRects, bool UpdateText) {
    if (!HandleAllocated()) return;
    const Integer count = Panels()->Count();
    if (UpdateRects) {
        std::vector<int> edges;
        Integer edge = 0;
        for (Integer i = 0; i + 1 < count; ++i) {
            edge += Panels()->Items(i)->Width();
            edges.push_back(edge);
        }
        edges.push_back(-1);
        SendMessageA(Handle(), SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    }
    if (!UpdateText) return;
    if (count == 0) {
        SendMessageA(Handle(), SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(""));
        return;
    }
    for (Integer i = 0; i < count; ++i)
        UpdatePanel(i, false);
}

// A centred text starts with one tab, a right-aligned one with two.
void TCustomStatusBar::UpdatePanel(Integer Index, bool Repaint) {
    if (!HandleAllocated()) return;
    TStatusPanel* panel = Panels()->Items(Index);
    TAlignment alignment = panel->Alignment();
    if (panel->UseRightToLeftAlignment() && alignment != taCenter)
        alignment = alignment == taLeftJustify ? taRightJustify : taLeftJustify;
    AnsiString text = panel->Text();
    if (alignment == taCenter)
        text = "\t" + text;
    else if (alignment == taRightJustify)
        text = "\t\t" + text;
    WPARAM flags = static_cast<WPARAM>(Index);
    if (panel->Bevel() == pbNone)
        flags |= SBT_NOBORDERS;
    else if (panel->Bevel() == pbRaised)
        flags |= SBT_POPOUT;
    if (panel->UseRightToLeftReading()) flags |= SBT_RTLREADING;
    if (panel->Style() == psOwnerDraw) {
        SendMessageA(Handle(), SB_SETTEXTA, flags | SBT_OWNERDRAW, reinterpret_cast<LPARAM>(panel));
    } else {
        SendMessageA(Handle(), SB_SETTEXTA, flags, reinterpret_cast<LPARAM>(text.c_str()));
    }
    if (Repaint) Invalidate();
}

// OnHint, when there is one, takes the hint in place of the bar, and the
// action goes on to other targets.
void TCustomStatusBar::Dispatch(TMessage& Message) {
    if (Message.Msg == CN_DRAWITEM)
        cnDrawItem(Message);
    else
        TWinControl::Dispatch(Message);
}

void TCustomStatusBar::cnDrawItem(TMessage& Message) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam);
    canvas_->Lock();
    canvas_->SetHandle(item->hDC);
    canvas_->SetFont(Font());
    canvas_->SetBrush(Brush());
    if (static_cast<Integer>(item->itemID) < Panels()->Count())
        DrawPanel(Panels()->Items(static_cast<Integer>(item->itemID)), item->rcItem);
    canvas_->SetHandle(nullptr);
    canvas_->Unlock();
    Message.Result = 1;
}

void TCustomStatusBar::DrawPanel(TStatusPanel* Panel, const TRect& Rect) {
    if (OnDrawPanel)
        OnDrawPanel(this, Panel, Rect);
    else
        canvas_->FillRect(Rect);
}

// ---- TProgressBar -------------------------------------------------------------------------

TProgressBar::TProgressBar(TComponent* AOwner) : TWinControl(AOwner) {
    SetBounds(Left(), Top(), defaultProgressWidth, defaultProgressHeight);
    RegisterCommonControlClasses();
}

void TProgressBar::SetMin(Integer Value) {
    if (min_ == Value) return;
    min_ = Value;
    sendRange();
}

void TProgressBar::SetMax(Integer Value) {
    if (max_ == Value) return;
    max_ = Value;
    sendRange();
}

Integer TProgressBar::Position() {
    if (HandleAllocated()) position_ = static_cast<Integer>(SendMessageA(Handle(), PBM_GETPOS, 0, 0));
    return position_;
}

void TProgressBar::SetPosition(Integer Value) {
    position_ = Value;
    if (HandleAllocated()) SendMessageA(Handle(), PBM_SETPOS, static_cast<WPARAM>(Value), 0);
}

void TProgressBar::SetStep(Integer Value) {
    if (step_ == Value) return;
    step_ = Value;
    if (HandleAllocated()) SendMessageA(Handle(), PBM_SETSTEP, static_cast<WPARAM>(Value), 0);
}

void TProgressBar::SetSmooth(bool Value) {
    if (smooth_ == Value) return;
    smooth_ = Value;
    RecreateWnd();
}

void TProgressBar::SetOrientation(TProgressBarOrientation Value) {
    if (orientation_ == Value) return;
    orientation_ = Value;
    RecreateWnd();
}

void TProgressBar::StepIt() {
    if (HandleAllocated())
        SendMessageA(Handle(), PBM_STEPIT, 0, 0);
    else
        position_ = position_ + step_ > max_ ? min_ : position_ + step_;
}

void TProgressBar::StepBy(Integer Delta) {
    if (HandleAllocated())
        SendMessageA(Handle(), PBM_DELTAPOS, static_cast<WPARAM>(Delta), 0);
    else
        position_ = std::clamp(position_ + Delta, min_, std::max(min_, max_));
}

void TProgressBar::sendRange() {
    if (HandleAllocated()) SendMessageA(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
}

void TProgressBar::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, PROGRESS_CLASSA);
    if (smooth_) Params.Style |= PBS_SMOOTH;
    if (orientation_ == pbVertical) Params.Style |= PBS_VERTICAL;
}

void TProgressBar::CreateWnd() {
    TWinControl::CreateWnd();
    sendRange();
    SendMessageA(Handle(), PBM_SETSTEP, static_cast<WPARAM>(step_), 0);
    SendMessageA(Handle(), PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

void TProgressBar::DestroyWnd() {
    Position();
    TWinControl::DestroyWnd();
}

// ---- TTrackBar ----------------------------------------------------------------------------

TTrackBar::TTrackBar(TComponent* AOwner) : TWinControl(AOwner) {
    SetBounds(Left(), Top(), defaultTrackBarLength, defaultTrackBarBreadth);
    SetTabStop(true);
    RegisterCommonControlClasses();
}

void TTrackBar::SetMin(Integer Value) {
    if (min_ == Value) return;
    min_ = Value;
    sendRange();
}

void TTrackBar::SetMax(Integer Value) {
    if (max_ == Value) return;
    max_ = Value;
    sendRange();
}

void TTrackBar::sendRange() {
    if (!HandleAllocated()) return;
    SendMessageA(Handle(), TBM_SETRANGEMIN, FALSE, min_);
    SendMessageA(Handle(), TBM_SETRANGEMAX, TRUE, max_);
}

Integer TTrackBar::Position() {
    if (HandleAllocated()) position_ = static_cast<Integer>(SendMessageA(Handle(), TBM_GETPOS, 0, 0));
    return position_;
}

void TTrackBar::SetPosition(Integer Value) {
    position_ = Value;
    if (HandleAllocated()) SendMessageA(Handle(), TBM_SETPOS, TRUE, Value);
}

void TTrackBar::SetLineSize(Integer Value) {
    lineSize_ = Value;
    if (HandleAllocated()) SendMessageA(Handle(), TBM_SETLINESIZE, 0, Value);
}

void TTrackBar::SetPageSize(Integer Value) {
    pageSize_ = Value;
    if (HandleAllocated()) SendMessageA(Handle(), TBM_SETPAGESIZE, 0, Value);
}

void TTrackBar::SetFrequency(Integer Value) {
    frequency_ = Value;
    if (HandleAllocated()) SendMessageA(Handle(), TBM_SETTICFREQ, static_cast<WPARAM>(Value), 0);
}

void TTrackBar::SetSelStart(Integer Value) {
    selStart_ = Value;
    sendSelection();
}

void TTrackBar::SetSelEnd(Integer Value) {
    selEnd_ = Value;
    sendSelection();
}

void TTrackBar::sendSelection() {
    if (!HandleAllocated()) return;
    if (selStart_ == 0 && selEnd_ == 0) {
        SendMessageA(Handle(), TBM_CLEARSEL, TRUE, 0);
        return;
    }
    SendMessageA(Handle(), TBM_SETSELSTART, FALSE, selStart_);
    SendMessageA(Handle(), TBM_SETSELEND, TRUE, selEnd_);
}

void TTrackBar::SetThumbLength(Integer Value) {
    thumbLength_ = Value;
    if (HandleAllocated()) SendMessageA(Handle(), TBM_SETTHUMBLENGTH, static_cast<WPARAM>(Value), 0);
}

void TTrackBar::SetSliderVisible(bool Value) {
    if (sliderVisible_ == Value) return;
    sliderVisible_ = Value;
    RecreateWnd();
}

void TTrackBar::SetOrientation(TTrackBarOrientation Value) {
    if (orientation_ == Value) return;
    orientation_ = Value;
    if (!ComponentState().Contains(csLoading)) SetBounds(Left(), Top(), Height(), Width());
    RecreateWnd();
}

void TTrackBar::SetTickMarks(TTickMark Value) {
    if (tickMarks_ == Value) return;
    tickMarks_ = Value;
    RecreateWnd();
}

void TTrackBar::SetTickStyle(TTickStyle Value) {
    if (tickStyle_ == Value) return;
    tickStyle_ = Value;
    RecreateWnd();
}

void TTrackBar::SetTick(Integer Value) {
    if (HandleAllocated()) SendMessageA(Handle(), TBM_SETTIC, 0, Value);
}

void TTrackBar::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, TRACKBAR_CLASSA);
    Params.Style |= TBS_ENABLESELRANGE | TBS_FIXEDLENGTH;
    if (orientation_ == trVertical) Params.Style |= TBS_VERT;
    if (tickMarks_ == tmTopLeft)
        Params.Style |= TBS_TOP;
    else if (tickMarks_ == tmBoth)
        Params.Style |= TBS_BOTH;
    if (tickStyle_ == tsNone)
        Params.Style |= TBS_NOTICKS;
    else if (tickStyle_ == tsAuto)
        Params.Style |= TBS_AUTOTICKS;
    if (!sliderVisible_) Params.Style |= TBS_NOTHUMB;
}

void TTrackBar::CreateWnd() {
    TWinControl::CreateWnd();
    sendRange();
    SendMessageA(Handle(), TBM_SETLINESIZE, 0, lineSize_);
    SendMessageA(Handle(), TBM_SETPAGESIZE, 0, pageSize_);
    SendMessageA(Handle(), TBM_SETTICFREQ, static_cast<WPARAM>(frequency_), 0);
    SendMessageA(Handle(), TBM_SETTHUMBLENGTH, static_cast<WPARAM>(thumbLength_), 0);
    sendSelection();
    SendMessageA(Handle(), TBM_SETPOS, TRUE, position_);
}

void TTrackBar::DestroyWnd() {
    Position();
    TWinControl::DestroyWnd();
}

void TTrackBar::Dispatch(TMessage& Message) {
    if (Message.Msg == CN_HSCROLL || Message.Msg == CN_VSCROLL) {
        Position();
        Changed();
        Message.Result = 0;
        return;
    }
    TWinControl::Dispatch(Message);
}

void TTrackBar::Changed() {
    if (OnChange) OnChange(this);
}

// ---- TCustomUpDown -------------------------------------------------------------------------

TCustomUpDown::TCustomUpDown(TComponent* AOwner) : TWinControl(AOwner) {
    SetBounds(Left(), Top(), GetSystemMetrics(SM_CXVSCROLL), 2 * GetSystemMetrics(SM_CYVSCROLL));
    RegisterCommonControlClasses();
}

void TCustomUpDown::SetAssociate(TWinControl* Value) {
    if (Value == associate_) return;
    if (Value && (Value == this || Value == Parent())) return;
    if (associate_) associate_->RemoveFreeNotification(this);
    associate_ = Value;
    if (associate_) associate_->FreeNotification(this);
    if (HandleAllocated()) sendBuddy();
}

void TCustomUpDown::sendBuddy() {
    HWND buddy = associate_ && associate_->Parent() ? associate_->Handle() : nullptr;
    SendMessageA(Handle(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
}

void TCustomUpDown::Notification(TComponent* AComponent, TOperation Operation) {
    TWinControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == associate_) {
        associate_ = nullptr;
        if (HandleAllocated()) SendMessageA(Handle(), UDM_SETBUDDY, 0, 0);
    }
}

void TCustomUpDown::SetAlignButton(TUDAlignButton Value) {
    if (alignButton_ == Value) return;
    alignButton_ = Value;
    RecreateWnd();
}

void TCustomUpDown::SetArrowKeys(bool Value) {
    if (arrowKeys_ == Value) return;
    arrowKeys_ = Value;
    RecreateWnd();
}

void TCustomUpDown::SetIncrement(Integer Value) {
    if (increment_ == Value) return;
    increment_ = Value;
    if (!HandleAllocated()) return;
    UDACCEL accelerator{0, static_cast<UINT>(increment_)};
    SendMessageA(Handle(), UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accelerator));
}

void TCustomUpDown::SetMin(SmallInt Value) {
    if (min_ == Value) return;
    min_ = Value;
    if (HandleAllocated()) SendMessageA(Handle(), UDM_SETRANGE32, static_cast<WPARAM>(min_), max_);
}

void TCustomUpDown::SetMax(SmallInt Value) {
    if (max_ == Value) return;
    max_ = Value;
    if (HandleAllocated()) SendMessageA(Handle(), UDM_SETRANGE32, static_cast<WPARAM>(min_), max_);
}

SmallInt TCustomUpDown::Position() {
    if (HandleAllocated())
        position_ = static_cast<SmallInt>(LOWORD(SendMessageA(Handle(), UDM_GETPOS, 0, 0)));
    return position_;
}

void TCustomUpDown::SetPosition(SmallInt Value) {
    position_ = Value;
    if (HandleAllocated()) SendMessageA(Handle(), UDM_SETPOS, 0, MAKELPARAM(static_cast<WORD>(Value), 0));
}

void TCustomUpDown::SetOrientation(TUDOrientation Value) {
    if (orientation_ == Value) return;
    orientation_ = Value;
    if (!ComponentState().Contains(csLoading)) SetBounds(Left(), Top(), Height(), Width());
    RecreateWnd();
}

void TCustomUpDown::SetThousands(bool Value) {
    if (thousands_ == Value) return;
    thousands_ = Value;
    RecreateWnd();
}

void TCustomUpDown::SetWrap(bool Value) {
    if (wrap_ == Value) return;
    wrap_ = Value;
    RecreateWnd();
}

void TCustomUpDown::CreateParams(TCreateParams& Params) {
    TWinControl::CreateParams(Params);
    CreateSubClass(Params, UPDOWN_CLASSA);
    Params.Style |= UDS_SETBUDDYINT | (alignButton_ == udLeft ? UDS_ALIGNLEFT : UDS_ALIGNRIGHT);
    if (orientation_ == udHorizontal) Params.Style |= UDS_HORZ;
    if (arrowKeys_) Params.Style |= UDS_ARROWKEYS;
    if (!thousands_) Params.Style |= UDS_NOTHOUSANDS;
    if (wrap_) Params.Style |= UDS_WRAP;
}

void TCustomUpDown::CreateWnd() {
    TWinControl::CreateWnd();
    SendMessageA(Handle(), UDM_SETRANGE32, static_cast<WPARAM>(min_), max_);
    UDACCEL accelerator{0, static_cast<UINT>(increment_)};
    SendMessageA(Handle(), UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accelerator));
    if (associate_) sendBuddy();
    SendMessageA(Handle(), UDM_SETPOS, 0, MAKELPARAM(static_cast<WORD>(position_), 0));
}

void TCustomUpDown::DestroyWnd() {
    Position();
    TWinControl::DestroyWnd();
}

bool TCustomUpDown::DoCanChange(SmallInt NewValue, Integer Delta) {
    bool allow = true;
    const TUpDownDirection direction = Delta > 0 ? updUp : Delta < 0 ? updDown : updNone;
    if (OnChanging) OnChanging(this, allow);
    if (OnChangingEx) OnChangingEx(this, allow, NewValue, direction);
    return allow;
}

void TCustomUpDown::Click(TUDBtnType Button) {
    if (OnClick) OnClick(this, Button);
}

void TCustomUpDown::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CN_NOTIFY:
        cnNotify(Message);
        break;
    case CN_HSCROLL:
    case CN_VSCROLL:
        cnScroll(Message);
        break;
    default:
        TWinControl::Dispatch(Message);
    }
}

void TCustomUpDown::cnNotify(TMessage& Message) {
    auto* change = reinterpret_cast<NMUPDOWN*>(Message.LParam);
    if (change->hdr.code != UDN_DELTAPOS) return;
    lastDelta_ = change->iDelta;
    Message.Result =
        DoCanChange(static_cast<SmallInt>(change->iPos + change->iDelta), change->iDelta) ? 0 : 1;
}

// A step that moved the position is a click on the button of its direction.
void TCustomUpDown::cnScroll(TMessage& Message) {
    if (LOWORD(Message.WParam) != SB_THUMBPOSITION) return;
    const auto position = static_cast<SmallInt>(HIWORD(Message.WParam));
    if (position == position_) return;
    position_ = position;
    Click(lastDelta_ > 0 ? btNext : btPrev);
}

// ---- Published properties -----------------------------------------------------------------

namespace {

const TTypeInfo* const tabPositionType =
    DefineEnum<TTabPosition>("TTabPosition", {"tpTop", "tpBottom", "tpLeft", "tpRight"});
const TTypeInfo* const tabStyleType =
    DefineEnum<TTabStyle>("TTabStyle", {"tsTabs", "tsButtons", "tsFlatButtons"});
const TTypeInfo* const alignmentType =
    DefineEnum<TAlignment>("TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"});
const TTypeInfo* const panelStyleType =
    DefineEnum<TStatusPanelStyle>("TStatusPanelStyle", {"psText", "psOwnerDraw"});
const TTypeInfo* const panelBevelType =
    DefineEnum<TStatusPanelBevel>("TStatusPanelBevel", {"pbNone", "pbLowered", "pbRaised"});
const TTypeInfo* const progressOrientationType =
    DefineEnum<TProgressBarOrientation>("TProgressBarOrientation", {"pbHorizontal", "pbVertical"});

template <typename T> void describeTabControl(TClassBuilder<T>& c) {
    c.Property("HotTrack", &T::HotTrack, &T::SetHotTrack).Default(false);
    c.Property("Images", &T::Images, &T::SetImages);
    c.Property("MultiLine", &T::MultiLine, &T::SetMultiLine).Default(false);
    c.Property("OwnerDraw", &T::OwnerDraw, &T::SetOwnerDraw).Default(false);
    c.Property("RaggedRight", &T::RaggedRight, &T::SetRaggedRight).Default(false);
    c.Property("ScrollOpposite", &T::ScrollOpposite, &T::SetScrollOpposite).Default(false);
    c.Property("Style", &T::Style, &T::SetStyle).Default(tsTabs);
    c.Property("TabHeight", &T::TabHeight, &T::SetTabHeight).Default(0);
    c.Property("TabPosition", &T::TabPosition, &T::SetTabPosition).Default(tpTop);
    c.Property("TabWidth", &T::TabWidth, &T::SetTabWidth).Default(0);
    c.Property("OnChange", &T::OnChange, &T::OnChange);
    c.Property("OnChanging", &T::OnChanging, &T::OnChanging);
    c.Property("OnDrawTab", &T::OnDrawTab, &T::OnDrawTab);
    c.Property("OnGetImageIndex", &T::OnGetImageIndex, &T::OnGetImageIndex);
}

const TClass customTabControlClass = DescribeClass<TCustomTabControl, TWinControl>();

const TClass tabControlClass =
    DescribeClass<TTabControl, TCustomTabControl>([](TClassBuilder<TTabControl>& c) {
        describeTabControl(c);
        c.Property("Tabs", &TTabControl::Tabs, &TTabControl::SetTabs);
        c.Property("TabIndex", &TTabControl::TabIndex, &TTabControl::SetTabIndex).Default(-1);
    });

const TClass tabSheetClass = DescribeClass<TTabSheet, TWinControl>([](TClassBuilder<TTabSheet>& c) {
    c.Property("Caption", &TTabSheet::Caption, &TTabSheet::SetCaption);
    c.Property("Highlighted", &TTabSheet::Highlighted, &TTabSheet::SetHighlighted).Default(false);
    c.Property("ImageIndex", &TTabSheet::ImageIndex, &TTabSheet::SetImageIndex).Default(0);
    c.Property("PageIndex", &TTabSheet::PageIndex, &TTabSheet::SetPageIndex).Stored(false);
    c.Property("TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible).Default(true);
    c.Property("OnHide", &TTabSheet::OnHide, &TTabSheet::OnHide);
    c.Property("OnShow", &TTabSheet::OnShow, &TTabSheet::OnShow);
});

const TClass pageControlClass =
    DescribeClass<TPageControl, TCustomTabControl>([](TClassBuilder<TPageControl>& c) {
        describeTabControl(c);
        c.Property("ActivePage", &TPageControl::ActivePage, &TPageControl::SetActivePage);
    });

const TClass statusPanelClass =
    DescribeClass<TStatusPanel, TCollectionItem>([](TClassBuilder<TStatusPanel>& c) {
        c.Property("Alignment", &TStatusPanel::Alignment, &TStatusPanel::SetAlignment).Default(taLeftJustify);
        c.Property("Bevel", &TStatusPanel::Bevel, &TStatusPanel::SetBevel).Default(pbLowered);
        c.Property("BiDiMode", &TStatusPanel::BiDiMode, &TStatusPanel::SetBiDiMode).Default(bdLeftToRight);
        c.Property("ParentBiDiMode", &TStatusPanel::ParentBiDiMode, &TStatusPanel::SetParentBiDiMode)
            .Default(true);
        c.Property("Style", &TStatusPanel::Style, &TStatusPanel::SetStyle).Default(psText);
        c.Property("Text", &TStatusPanel::Text, &TStatusPanel::SetText);
        c.Property("Width", &TStatusPanel::Width, &TStatusPanel::SetWidth);
    });

const TClass statusPanelsClass = DescribeClass<TStatusPanels, TCollection>();

const TClass customStatusBarClass = DescribeClass<TCustomStatusBar, TWinControl>();
const TClass statusBarClass = DescribeClass<TStatusBar, TCustomStatusBar>(
    [](TClassBuilder<TStatusBar>& c) { DescribeStatusBarProperties(c); });

const TClass progressBarClass = DescribeClass<TProgressBar, TWinControl>([](TClassBuilder<TProgressBar>& c) {
    c.Property("Max", &TProgressBar::Max, &TProgressBar::SetMax).Default(100);
    c.Property("Min", &TProgressBar::Min, &TProgressBar::SetMin).Default(0);
    c.Property("Orientation", &TProgressBar::Orientation, &TProgressBar::SetOrientation)
        .Default(pbHorizontal);
    c.Property("Position", &TProgressBar::Position, &TProgressBar::SetPosition).Default(0);
    c.Property("Smooth", &TProgressBar::Smooth, &TProgressBar::SetSmooth).Default(false);
    c.Property("Step", &TProgressBar::Step, &TProgressBar::SetStep).Default(10);
});

const TTypeInfo* const trackBarOrientationType =
    DefineEnum<TTrackBarOrientation>("TTrackBarOrientation", {"trHorizontal", "trVertical"});
const TTypeInfo* const tickMarkType =
    DefineEnum<TTickMark>("TTickMark", {"tmBottomRight", "tmTopLeft", "tmBoth"});
const TTypeInfo* const tickStyleType = DefineEnum<TTickStyle>("TTickStyle", {"tsNone", "tsAuto", "tsManual"});
const TTypeInfo* const alignButtonType = DefineEnum<TUDAlignButton>("TUDAlignButton", {"udLeft", "udRight"});
const TTypeInfo* const upDownOrientationType =
    DefineEnum<TUDOrientation>("TUDOrientation", {"udHorizontal", "udVertical"});
const TTypeInfo* const buttonTypeType = DefineEnum<TUDBtnType>("TUDBtnType", {"btNext", "btPrev"});
const TTypeInfo* const directionType =
    DefineEnum<TUpDownDirection>("TUpDownDirection", {"updNone", "updUp", "updDown"});

const TClass trackBarClass = DescribeClass<TTrackBar, TWinControl>([](TClassBuilder<TTrackBar>& c) {
    c.Property("Frequency", &TTrackBar::Frequency, &TTrackBar::SetFrequency).Default(1);
    c.Property("LineSize", &TTrackBar::LineSize, &TTrackBar::SetLineSize).Default(1);
    c.Property("Max", &TTrackBar::Max, &TTrackBar::SetMax).Default(10);
    c.Property("Min", &TTrackBar::Min, &TTrackBar::SetMin).Default(0);
    c.Property("Orientation", &TTrackBar::Orientation, &TTrackBar::SetOrientation).Default(trHorizontal);
    c.Property("PageSize", &TTrackBar::PageSize, &TTrackBar::SetPageSize).Default(2);
    c.Property("Position", &TTrackBar::Position, &TTrackBar::SetPosition).Default(0);
    c.Property("SelEnd", &TTrackBar::SelEnd, &TTrackBar::SetSelEnd).Default(0);
    c.Property("SelStart", &TTrackBar::SelStart, &TTrackBar::SetSelStart).Default(0);
    c.Property("SliderVisible", &TTrackBar::SliderVisible, &TTrackBar::SetSliderVisible).Default(true);
    c.Property("ThumbLength", &TTrackBar::ThumbLength, &TTrackBar::SetThumbLength).Default(20);
    c.Property("TickMarks", &TTrackBar::TickMarks, &TTrackBar::SetTickMarks).Default(tmBottomRight);
    c.Property("TickStyle", &TTrackBar::TickStyle, &TTrackBar::SetTickStyle).Default(tsAuto);
    c.Property("OnChange", &TTrackBar::OnChange, &TTrackBar::OnChange);
});

const TClass customUpDownClass = DescribeClass<TCustomUpDown, TWinControl>();
const TClass upDownClass = DescribeClass<TUpDown, TCustomUpDown>([](TClassBuilder<TUpDown>& c) {
    c.Property("AlignButton", &TUpDown::AlignButton, &TUpDown::SetAlignButton).Default(udRight);
    c.Property("ArrowKeys", &TUpDown::ArrowKeys, &TUpDown::SetArrowKeys).Default(true);
    c.Property("Associate", &TUpDown::Associate, &TUpDown::SetAssociate);
    c.Property("Increment", &TUpDown::Increment, &TUpDown::SetIncrement).Default(1);
    c.Property("Max", &TUpDown::Max, &TUpDown::SetMax).Default(100);
    c.Property("Min", &TUpDown::Min, &TUpDown::SetMin).Default(0);
    c.Property("Orientation", &TUpDown::Orientation, &TUpDown::SetOrientation).Default(udVertical);
    c.Property("Position", &TUpDown::Position, &TUpDown::SetPosition).Default(0);
    c.Property("Thousands", &TUpDown::Thousands, &TUpDown::SetThousands).Default(true);
    c.Property("Wrap", &TUpDown::Wrap, &TUpDown::SetWrap).Default(false);
    c.Property("OnChanging", &TUpDown::OnChanging, &TUpDown::OnChanging);
    c.Property("OnChangingEx", &TUpDown::OnChangingEx, &TUpDown::OnChangingEx);
    c.Property("OnClick", &TUpDown::OnClick, &TUpDown::OnClick);
});

struct RegisterCommonControlClassesForStreaming {
    RegisterCommonControlClassesForStreaming() {
        RegisterClasses({tabControlClass, tabSheetClass, pageControlClass, statusBarClass, progressBarClass,
                         trackBarClass, upDownClass});
    }
} registerCommonControlClassesForStreaming;

} // namespace
