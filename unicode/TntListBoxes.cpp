#include "unicode/TntListBoxes.h"

#include "platform/core/CodePages.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/Forms.h"
#include "platform/win/ComboBoxControl.h"
#include "platform/win/ListBoxControl.h"
#include "platform/win/Messages.h"
#include "platform/win/Windows.h"
#include "unicode/TntGraphics.h"
#include "unicode/TntSystem.h"
#include "unicode/TntWindows.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr const char* SInsertLineError = "Unable to insert a line";
constexpr const char* SAutoCompleteStyleError = "Internal Error: TntCombo_AutoCompleteKeyPress is only for "
                                                "csSimple and csDropDown style combo boxes.";
// Keys typed into a drop-down list within this time make one search text.
constexpr DWORD IncrementalSearchPause = 1250;
constexpr Integer ItemTextIndent = 2;
constexpr WideChar Backspace = 8;
constexpr WideChar Tab = 9;
constexpr WideChar Enter = 13;
constexpr WideChar Escape = 27;

Integer insertedIndex(LRESULT Index) {
    if (Index < 0) throw EOutOfResources(SInsertLineError);
    return static_cast<Integer>(Index);
}

LPARAM textParam(const WideString& S) {
    return reinterpret_cast<LPARAM>(S.c_str());
}

// The text of an item read through a length message and a text message; empty on an error.
template <typename Send>
WideString itemText(Send send, UINT LengthMsg, UINT TextMsg, Integer Index, LRESULT ErrorValue) {
    const LRESULT length = send(LengthMsg, static_cast<WPARAM>(Index), 0);
    if (length == ErrorValue || length < 0) return {};
    WideString text(static_cast<std::size_t>(length) + 1, u'\0');
    send(TextMsg, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(std::char_traits<WideChar>::length(text.c_str()));
    return text;
}

bool hasEditPart(TComboBoxStyle Style) {
    return Style == csDropDown || Style == csSimple;
}

bool isUnicodeWindow(TWinControl* Control) {
    return Win32PlatformIsUnicode && IsWindowUnicode(Control->Handle());
}

// Sets the combo box's edit selection with UTF-16 positions.
void setEditSelection(TCustomComboBox* Combo, Integer Start, Integer End) {
    SendMessageW(Combo->Handle(), CB_SETEDITSEL, 0, MAKELPARAM(Start, End));
}

} // namespace

// ---- TTntComboBoxStrings ------------------------------------------------------------------------

bool TTntComboBoxStrings::unicodeWindow() const {
    return isUnicodeWindow(comboBox_);
}

LRESULT TTntComboBoxStrings::send(UINT Msg, WPARAM WParam, LPARAM LParam) const {
    return SendMessageW(comboBox_->Handle(), Msg, WParam, LParam);
}

WideString TTntComboBoxStrings::Get(Integer Index) const {
    if (!unicodeWindow()) return AnsiToWide(comboBox_->Items()->Strings(Index));
    return itemText([this](UINT Msg, WPARAM W, LPARAM L) { return send(Msg, W, L); }, CB_GETLBTEXTLEN,
                    CB_GETLBTEXT, Index, CB_ERR);
}

Integer TTntComboBoxStrings::GetCount() const {
    return comboBox_->Items()->Count();
}

TObject* TTntComboBoxStrings::GetObject(Integer Index) const {
    return comboBox_->Items()->Objects(Index);
}

void TTntComboBoxStrings::PutObject(Integer Index, TObject* AObject) {
    comboBox_->Items()->SetObjects(Index, AObject);
}

Integer TTntComboBoxStrings::Add(const WideString& S) {
    if (!unicodeWindow()) return comboBox_->Items()->Add(WideToAnsi(S));
    return insertedIndex(send(CB_ADDSTRING, 0, textParam(S)));
}

void TTntComboBoxStrings::Insert(Integer Index, const WideString& S) {
    if (!unicodeWindow()) {
        comboBox_->Items()->Insert(Index, WideToAnsi(S));
        return;
    }
    insertedIndex(send(CB_INSERTSTRING, static_cast<WPARAM>(Index), textParam(S)));
}

Integer TTntComboBoxStrings::IndexOf(const WideString& S) const {
    if (!unicodeWindow()) return comboBox_->Items()->IndexOf(WideToAnsi(S));
    const LRESULT found = send(CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), textParam(S));
    return found == CB_ERR ? -1 : static_cast<Integer>(found);
}

void TTntComboBoxStrings::Delete(Integer Index) {
    comboBox_->Items()->Delete(Index);
}

void TTntComboBoxStrings::Clear() {
    if (!unicodeWindow()) {
        comboBox_->Items()->Clear();
        return;
    }
    const WideString text = TntControl_GetText(comboBox_);
    send(CB_RESETCONTENT);
    TntControl_SetText(comboBox_, text);
    comboBox_->Update();
}

void TTntComboBoxStrings::SetUpdateState(bool Updating) {
    if (Updating)
        comboBox_->Items()->BeginUpdate();
    else
        comboBox_->Items()->EndUpdate();
}

// ---- TTntListBoxStrings ----------------------------------------------------------------------------

bool TTntListBoxStrings::unicodeWindow() const {
    return isUnicodeWindow(listBox_);
}

LRESULT TTntListBoxStrings::send(UINT Msg, WPARAM WParam, LPARAM LParam) const {
    return SendMessageW(listBox_->Handle(), Msg, WParam, LParam);
}

WideString TTntListBoxStrings::Get(Integer Index) const {
    if (!unicodeWindow()) return AnsiToWide(listBox_->Items()->Strings(Index));
    if (send(LB_GETTEXTLEN, static_cast<WPARAM>(Index)) == LB_ERR) Error(SListIndexError, Index);
    return itemText([this](UINT Msg, WPARAM W, LPARAM L) { return send(Msg, W, L); }, LB_GETTEXTLEN,
                    LB_GETTEXT, Index, LB_ERR);
}

Integer TTntListBoxStrings::GetCount() const {
    return listBox_->Items()->Count();
}

TObject* TTntListBoxStrings::GetObject(Integer Index) const {
    return listBox_->Items()->Objects(Index);
}

void TTntListBoxStrings::PutObject(Integer Index, TObject* AObject) {
    listBox_->Items()->SetObjects(Index, AObject);
}

Integer TTntListBoxStrings::Add(const WideString& S) {
    if (!unicodeWindow()) return listBox_->Items()->Add(WideToAnsi(S));
    return insertedIndex(send(LB_ADDSTRING, 0, textParam(S)));
}

void TTntListBoxStrings::Insert(Integer Index, const WideString& S) {
    if (!unicodeWindow()) {
        listBox_->Items()->Insert(Index, WideToAnsi(S));
        return;
    }
    insertedIndex(send(LB_INSERTSTRING, static_cast<WPARAM>(Index), textParam(S)));
}

Integer TTntListBoxStrings::IndexOf(const WideString& S) const {
    if (!unicodeWindow()) return listBox_->Items()->IndexOf(WideToAnsi(S));
    const LRESULT found = send(LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), textParam(S));
    return found == LB_ERR ? -1 : static_cast<Integer>(found);
}

void TTntListBoxStrings::Put(Integer Index, const WideString& S) {
    if (!unicodeWindow()) {
        listBox_->Items()->Put(Index, WideToAnsi(S));
        return;
    }
    const Integer selected = listBox_->ItemIndex();
    TObject* data = GetObject(Index);
    PutObject(Index, nullptr);
    Delete(Index);
    InsertObject(Index, S, nullptr);
    PutObject(Index, data);
    listBox_->SetItemIndex(selected);
}

void TTntListBoxStrings::Delete(Integer Index) {
    listBox_->Items()->Delete(Index);
}

void TTntListBoxStrings::Clear() {
    listBox_->Items()->Clear();
}

void TTntListBoxStrings::Exchange(Integer Index1, Integer Index2) {
    if (Index1 == Index2) return;
    BeginUpdate();
    try {
        const Integer selected = listBox_->ItemIndex();
        const WideString first = Get(Index1);
        TObject* firstData = GetObject(Index1);
        Put(Index1, Get(Index2));
        PutObject(Index1, GetObject(Index2));
        Put(Index2, first);
        PutObject(Index2, firstData);
        if (selected == Index1)
            listBox_->SetItemIndex(Index2);
        else if (selected == Index2)
            listBox_->SetItemIndex(Index1);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TTntListBoxStrings::Move(Integer CurIndex, Integer NewIndex) {
    if (CurIndex == NewIndex) return;
    BeginUpdate();
    try {
        const WideString line = Get(CurIndex);
        TObject* data = GetObject(CurIndex);
        PutObject(CurIndex, nullptr);
        Delete(CurIndex);
        Insert(NewIndex, line);
        PutObject(NewIndex, data);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TTntListBoxStrings::SetUpdateState(bool Updating) {
    if (Updating)
        listBox_->Items()->BeginUpdate();
    else
        listBox_->Items()->EndUpdate();
}

// ---- Combo box: typing ------------------------------------------------------------------------------

// Finds the first item that starts with Search and makes it the current
// one; edit styles show Search followed by the rest of the item, the rest selected.
bool matchComboItem(TTntCustomComboBox* Combo, const WideString& Search, bool UniqueMatchOnly,
                    bool PreserveDataEntryCase) {
    auto find = [&](Integer After) {
        if (auto* finder = dynamic_cast<ITntComboFindString*>(Combo))
            return finder->FindString(Search, After);
        return static_cast<Integer>(
            SendMessageW(Combo->Handle(), CB_FINDSTRING, static_cast<WPARAM>(After), textParam(Search)));
    };
    Integer index = find(-1);
    if (index != CB_ERR && UniqueMatchOnly && find(index) != index) index = CB_ERR;
    if (index == CB_ERR) return false;
    const bool changed = Combo->ItemIndex() != index;
    Combo->SetItemIndex(index);
    if (hasEditPart(Combo->Style())) {
        if (PreserveDataEntryCase) {
            const WideString item = Combo->Items()->Strings(index);
            Combo->SetText(Search + item.substr(std::min(Search.size(), item.size())));
        }
        setEditSelection(Combo, static_cast<Integer>(Search.size()),
                         static_cast<Integer>(Combo->Text().size()));
    }
    if (changed) {
        Combo->Click();
        Combo->Change();
    }
    return true;
}

namespace {

void closeDropDownOnTab(TTntCustomComboBox* Combo) {
    if (Combo->AutoDropDown() && Combo->DroppedDown()) Combo->SetDroppedDown(false);
}

// Drops the list without losing what the edit field holds and selects.
void dropDownPreservingSelection(TTntCustomComboBox* Combo) {
    const WideString text = Combo->Text();
    const Integer start = Combo->SelStart();
    const Integer length = Combo->SelLength();
    Combo->SetDroppedDown(true);
    Combo->SetText(text);
    setEditSelection(Combo, start, start + length);
}

void consume(TMessage& Message) {
    SetWideCharForWMCharMsg(Message, 0);
}

} // namespace

bool TntCombo_AutoCompleteKeyPress(TTntCustomComboBox* Combo, TMessage& Message) {
    if (!hasEditPart(Combo->Style())) throw ETntInternalError(SAutoCompleteStyleError);
    if (!Combo->AutoComplete()) return false;
    const WideChar key = GetWideCharFromWMCharMsg(Message);
    if (key == Backspace || key == Escape) return false;
    if (key == Tab) {
        closeDropDownOnTab(Combo);
        return false;
    }
    if (Combo->AutoDropDown() && !Combo->DroppedDown()) dropDownPreservingSelection(Combo);
    const WideString text = Combo->Text();
    const Integer start = Combo->SelStart();
    if (static_cast<std::size_t>(start + Combo->SelLength()) < text.size()) return false;
    const WideString search = text.substr(0, static_cast<std::size_t>(start)) + key;
    if (!matchComboItem(Combo, search, Combo->AutoCompleteUniqueMatchOnly(),
                        Combo->AutoCompletePreserveDataEntryCase()))
        return false;
    consume(Message);
    return true;
}

bool TntCombo_AutoSearchKeyPress(TTntCustomComboBox* Combo, TMessage& Message) {
    if (hasEditPart(Combo->Style()) || !Combo->AutoComplete()) return false;
    const WideChar key = GetWideCharFromWMCharMsg(Message);
    if (key == Backspace) {
        if (!Combo->searchText_.empty()) Combo->searchText_.pop_back();
        return false;
    }
    if (key == Tab) {
        closeDropDownOnTab(Combo);
        return false;
    }
    if (key == Escape) return false;
    if (Combo->AutoDropDown() && !Combo->DroppedDown()) Combo->SetDroppedDown(true);
    const DWORD now = GetTickCount();
    if (now - Combo->searchTime_ >= IncrementalSearchPause) Combo->searchText_.clear();
    Combo->searchTime_ = now;
    if (!matchComboItem(Combo, Combo->searchText_ + key, false, true)) return false;
    Combo->searchText_ += key;
    consume(Message);
    return true;
}

namespace {

LRESULT callPrevious(WNDPROC Procedure, HWND Window, const TMessage& Message, bool Unicode) {
    return Unicode ? CallWindowProcW(Procedure, Window, Message.Msg, Message.WParam, Message.LParam)
                   : CallWindowProcA(Procedure, Window, Message.Msg, Message.WParam, Message.LParam);
}

} // namespace

bool TntCombo_ComboWndProc(TTntCustomComboBox* Combo, TMessage& Message, HWND ComboWnd, WNDPROC ComboProc) {
    const bool unicodeChild = Win32PlatformIsUnicode && IsWindowUnicode(ComboWnd);
    bool handled = false;
    try {
        if (Message.Msg == WM_CHAR) {
            handled = true;
            if (unicodeChild) MakeWMCharMsgSafeForAnsi(Message);
            bool consumed = Combo->DoKeyPress(Message);
            if (!consumed) {
                TMessage copy = Message;
                Combo->DoEditCharMsg(copy);
                consumed = GetWideCharFromWMCharMsg(copy) == 0;
            }
            if (unicodeChild) RestoreWMCharMsg(Message);
            if (consumed) return handled;
            const WideChar key = GetWideCharFromWMCharMsg(Message);
            if ((key == Enter || key == Escape) && Combo->DroppedDown())
                Combo->SetDroppedDown(false);
            else
                Message.Result = callPrevious(ComboProc, ComboWnd, Message, unicodeChild);
        } else if (unicodeChild && (IsTextMessage(Message.Msg) || Message.Msg == EM_REPLACESEL ||
                                    Message.Msg == WM_IME_COMPOSITION)) {
            handled = true;
            Message.Result =
                CallWindowProcW(ComboProc, ComboWnd, Message.Msg, Message.WParam, Message.LParam);
        } else if (unicodeChild && Message.Msg == WM_IME_CHAR) {
            handled = true;
            Message.Result = SendMessageW(ComboWnd, WM_CHAR, Message.WParam, Message.LParam);
        }
    } catch (const Exception&) {
        // The child's window procedure must not be left by an exception: the
        // application reports it as for any other handler.
        Application->HandleException(Combo);
    }
    return handled;
}

void TntCombo_CNCommand(TTntCustomComboBox* Combo, TMessage& Message) {
    if (HIWORD(Message.WParam) != CBN_SELCHANGE) {
        Combo->TCustomComboBox::Dispatch(Message);
        return;
    }
    const Integer selected = Combo->ItemIndex();
    if (selected >= 0) Combo->SetText(Combo->Items()->Strings(selected));
    Combo->Click();
    Combo->Change();
    Message.Result = 1;
}

void TntCombo_DefaultDrawItem(TCanvas* Canvas, Integer Index, const TRect& Rect, TTntStrings* Items) {
    Canvas->FillRect(Rect);
    if (Index >= 0) WideCanvasTextOut(Canvas, Rect.Left + ItemTextIndent, Rect.Top, Items->Strings(Index));
}

// ---- TTntCustomComboBox ------------------------------------------------------------------------------

TTntCustomComboBox::TTntCustomComboBox(TComponent* AOwner)
    : TTntHinted(AOwner), items_(std::make_unique<TTntComboBoxStrings>(this)) {}

TTntCustomComboBox::~TTntCustomComboBox() {
    // The window goes while the wide items still exist: its children call in until then.
    DestroyHandle();
}

void TTntCustomComboBox::CreateWindowHandle(const TCreateParams& Params) {
    CreateUnicodeHandle(this, Params, u"COMBOBOX");
}

void TTntCustomComboBox::DestroyWnd() {
    if (!Win32PlatformIsUnicode) {
        TCustomComboBox::DestroyWnd();
        return;
    }
    const WideString text = TntControl_GetText(this);
    if (!ComponentState().Contains(csDestroying) && items_->Count() > 0) {
        saveItems_ = std::make_unique<TTntStringList>();
        saveItems_->Assign(items_.get());
        saveItemIndex_ = ItemIndex();
        SendMessageW(Handle(), CB_RESETCONTENT, 0, 0);
    }
    TCustomComboBox::DestroyWnd();
    TntControl_SetStoredText(this, text);
}

void TTntCustomComboBox::CreateWnd() {
    const AnsiString ansiText = TControl::Text();
    TCustomComboBox::CreateWnd();
    if (!Win32PlatformIsUnicode) {
        TControl::SetText(ansiText);
        return;
    }
    resubclassChildren();
    restoreSavedItems();
    TntControl_SetText(this, TntControl_GetStoredText(this, AnsiToWide(TControl::Text())));
}

// The edit field and the list become Unicode windows: their own procedures
// are read again as Unicode ones, so that UTF-16 text passes through unharmed.
void TTntCustomComboBox::resubclassChildren() {
    if (HWND edit = EditHandle()) {
        SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefaultEditProc()));
        SetDefaultEditProc(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(edit, GWLP_WNDPROC)));
        SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditInstance()));
    }
    if (HWND list = ListHandle()) {
        SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefaultListProc()));
        SetDefaultListProc(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(list, GWLP_WNDPROC)));
        SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListInstance()));
    }
}

// A saved index beyond the restored items falls to the last one.
void TTntCustomComboBox::restoreSavedItems() {
    if (!saveItems_) return;
    std::unique_ptr<TTntStringList> saved = std::move(saveItems_);
    items_->Assign(saved.get());
    if (saveItemIndex_ != -1) {
        const Integer index = std::min(saveItemIndex_, items_->Count() - 1);
        SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
    saveItemIndex_ = -1;
}

void TTntCustomComboBox::ComboWndProc(TMessage& Message, HWND ComboWnd, WNDPROC ComboProc) {
    if (!TntCombo_ComboWndProc(this, Message, ComboWnd, ComboProc))
        TCustomComboBox::ComboWndProc(Message, ComboWnd, ComboProc);
}

void TTntCustomComboBox::DoEditCharMsg(TMessage& Message) {
    TntCombo_AutoCompleteKeyPress(this, Message);
}

void TTntCustomComboBox::KeyPress(char& Key) {
    const bool autoComplete = AutoComplete();
    SetAutoComplete(false);
    try {
        TCustomComboBox::KeyPress(Key);
    } catch (...) {
        SetAutoComplete(autoComplete);
        throw;
    }
    SetAutoComplete(autoComplete);
}

void TTntCustomComboBox::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CM_HINTSHOW:
        ProcessCMHintShowMsg(Message);
        TCustomComboBox::Dispatch(Message);
        return;
    case CN_COMMAND:
        TntCombo_CNCommand(this, Message);
        return;
    case WM_CHAR:
        if (!TntCombo_AutoSearchKeyPress(this, Message)) TCustomComboBox::Dispatch(Message);
        return;
    default:
        TCustomComboBox::Dispatch(Message);
    }
}

void TTntCustomComboBox::DrawItem(Integer Index, const TRect& Rect, TOwnerDrawState State) {
    if (OnDrawItem)
        OnDrawItem(this, Index, Rect, State);
    else
        TntCombo_DefaultDrawItem(Canvas(), Index, Rect, items_.get());
}

void TTntCustomComboBox::AddItem(const WideString& Item, TObject* AObject) {
    items_->AddObject(Item, AObject);
}

void TTntCustomComboBox::CopySelection(TCustomListControl* Destination) {
    const Integer selected = ItemIndex();
    if (selected >= 0)
        WideListControl_AddItem(Destination, items_->Strings(selected), items_->Objects(selected));
}

Integer TTntCustomComboBox::SelStart() {
    if (!isUnicodeWindow(this)) return TCustomComboBox::SelStart();
    return LOWORD(static_cast<UINT_PTR>(SendMessageW(Handle(), CB_GETEDITSEL, 0, 0)));
}

void TTntCustomComboBox::SetSelStart(Integer Value) {
    setEditSelection(this, Value, Value);
}

Integer TTntCustomComboBox::SelLength() {
    if (!isUnicodeWindow(this)) return TCustomComboBox::SelLength();
    const auto selection = static_cast<UINT_PTR>(SendMessageW(Handle(), CB_GETEDITSEL, 0, 0));
    return HIWORD(selection) - LOWORD(selection);
}

void TTntCustomComboBox::SetSelLength(Integer Value) {
    const Integer start = SelStart();
    setEditSelection(this, start, start + Value);
}

WideString TTntCustomComboBox::SelText() {
    if (Win32PlatformIsUnicode && !hasEditPart(Style())) return {};
    const WideString text = Text();
    const auto start = static_cast<std::size_t>(SelStart());
    if (start >= text.size()) return {};
    return text.substr(start, static_cast<std::size_t>(SelLength()));
}

void TTntCustomComboBox::SetSelText(const WideString& Value) {
    if (!Win32PlatformIsUnicode) {
        TCustomComboBox::SetSelText(WideToAnsi(Value));
        return;
    }
    if (!hasEditPart(Style()) || !HandleAllocated() || !EditHandle()) return;
    SendMessageW(EditHandle(), EM_REPLACESEL, 0, textParam(Value));
}

// ---- TTntCustomListBox -------------------------------------------------------------------------------

void TntListBox_DrawItem_Text(TCustomListBox* ListBox, TCanvas* Canvas, const WideString& Text, TRect Rect) {
    const bool rightToLeft = ListBox->UseRightToLeftAlignment();
    if (rightToLeft)
        Rect.Right -= ItemTextIndent;
    else
        Rect.Left += ItemTextIndent;
    UINT flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    flags = static_cast<UINT>(ListBox->DrawTextBiDiModeFlags(static_cast<Integer>(flags)));
    Canvas->RequiredState({csHandleValid, csFontValid, csBrushValid});
    Tnt_DrawTextW(Canvas->Handle(), Text.c_str(), static_cast<int>(Text.size()), &Rect, flags);
}

TTntCustomListBox::TTntCustomListBox(TComponent* AOwner)
    : TTntHinted(AOwner), items_(std::make_unique<TTntListBoxStrings>(this)) {}

TTntCustomListBox::~TTntCustomListBox() {
    DestroyHandle();
}

void TTntCustomListBox::CreateWindowHandle(const TCreateParams& Params) {
    CreateUnicodeHandle(this, Params, u"LISTBOX");
}

void TTntCustomListBox::DestroyWnd() {
    if (Win32PlatformIsUnicode && !IsVirtual() && !ComponentState().Contains(csDestroying) &&
        items_->Count() > 0) {
        saveItems_ = std::make_unique<TTntStringList>();
        saveItems_->Assign(items_.get());
        saveTopIndex_ = TopIndex();
        saveItemIndex_ = ItemIndex();
        SendMessageW(Handle(), LB_RESETCONTENT, 0, 0);
    }
    TCustomListBox::DestroyWnd();
}

void TTntCustomListBox::CreateWnd() {
    TCustomListBox::CreateWnd();
    if (!saveItems_) return;
    std::unique_ptr<TTntStringList> saved = std::move(saveItems_);
    items_->Assign(saved.get());
    SetTopIndex(saveTopIndex_);
    SetItemIndex(saveItemIndex_);
    saveTopIndex_ = 0;
    saveItemIndex_ = -1;
}

WideString TTntCustomListBox::virtualItem(Integer Index, bool& Found) {
    Found = true;
    WideString text;
    if (OnDataW) {
        OnDataW(this, Index, text);
        return text;
    }
    if (OnData) {
        AnsiString ansi;
        OnData(this, Index, ansi);
        return AnsiToWide(ansi);
    }
    Found = false;
    return text;
}

// Without a data event, or outside the count, LB_ERR.
void TTntCustomListBox::virtualText(TMessage& Message) {
    const auto index = static_cast<Integer>(Message.WParam);
    bool found = false;
    WideString text;
    if (index >= 0 && index < Count()) text = virtualItem(index, found);
    if (!found) {
        Message.Result = LB_ERR;
        return;
    }
    if (Win32PlatformIsUnicode) {
        if (Message.Msg == LB_GETTEXT && Message.LParam)
            std::memcpy(reinterpret_cast<WideChar*>(Message.LParam), text.c_str(),
                        (text.size() + 1) * sizeof(WideChar));
        Message.Result = static_cast<LRESULT>(text.size());
        return;
    }
    const AnsiString ansi = WideToAnsi(text);
    if (Message.Msg == LB_GETTEXT && Message.LParam)
        std::memcpy(reinterpret_cast<char*>(Message.LParam), ansi.c_str(), ansi.size() + 1);
    Message.Result = static_cast<LRESULT>(ansi.size());
}

void TTntCustomListBox::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CM_HINTSHOW:
        ProcessCMHintShowMsg(Message);
        TCustomListBox::Dispatch(Message);
        return;
    case LB_GETTEXT:
    case LB_GETTEXTLEN:
        if (IsVirtual()) {
            virtualText(Message);
            return;
        }
        TCustomListBox::Dispatch(Message);
        return;
    default:
        TCustomListBox::Dispatch(Message);
    }
}

void TTntCustomListBox::DrawItem(Integer Index, const TRect& Rect, TOwnerDrawState State) {
    if (OnDrawItem) {
        OnDrawItem(this, Index, Rect, State);
        return;
    }
    Canvas()->FillRect(Rect);
    if (Index < items_->Count()) TntListBox_DrawItem_Text(this, Canvas(), items_->Strings(Index), Rect);
}

void TTntCustomListBox::AddItem(const WideString& Item, TObject* AObject) {
    items_->AddObject(Item, AObject);
}

void TTntCustomListBox::CopySelection(TCustomListControl* Destination) {
    for (Integer i = 0; i < items_->Count(); ++i)
        if (Selected(i)) WideListControl_AddItem(Destination, items_->Strings(i), items_->Objects(i));
}

namespace {
const TClass tntComboBoxClass =
    DescribeClass<TTntComboBox, TCustomComboBox>([](TClassBuilder<TTntComboBox>& c) {
        c.Property("Text", &TTntComboBox::Text, &TTntComboBox::SetText);
        c.Property("Hint", &TTntComboBox::Hint, &TTntComboBox::SetHint).Stored(&TTntComboBox::IsHintStored);
    });
const TClass tntListBoxClass = DescribeClass<TTntListBox, TCustomListBox>([](TClassBuilder<TTntListBox>& c) {
    c.Property("Hint", &TTntListBox::Hint, &TTntListBox::SetHint).Stored(&TTntListBox::IsHintStored);
});
} // namespace
