// The combo box and the list box with UTF-16 items: the items live wide in
// Unicode windows and are seen through TTntStrings; the combo box's edit
// field takes UTF-16 characters, completes typing and searches its list
// wide; both keep their wide items, selection and text when their windows
// are made again. Without a Unicode window they work on the framework's
// ANSI items.
#pragma once

#include "platform/vcl/StdCtrls.h"
#include "unicode/TntClasses.h"
#include "unicode/TntControls.h"
#include "unicode/TntStdCtrls.h"

#include <memory>

class TTntCustomComboBox;
class TTntCustomListBox;

using TTntLBGetDataEvent = Closure<void(TWinControl* Control, Integer Index, WideString& Data)>;

// ---- Item lists -------------------------------------------------------------------------------

// A combo box that finds its items itself: typing matches through it in
// place of the window's CB_FINDSTRING.
class ITntComboFindString {
public:
    virtual ~ITntComboFindString() = default;
    // The first item after StartPos (-1: from the start) that Value
    // begins, or CB_ERR.
    virtual Integer FindString(const WideString& Value, Integer StartPos) = 0;
};

class TTntComboBoxStrings : public TTntStrings {
public:
    explicit TTntComboBoxStrings(TCustomComboBox* ComboBox) : comboBox_(ComboBox) {}
    TCustomComboBox* ComboBox() const { return comboBox_; }

    WideString Get(Integer Index) const override;
    Integer GetCount() const override;
    TObject* GetObject(Integer Index) const override;
    void PutObject(Integer Index, TObject* AObject) override;
    // EOutOfResources "Unable to insert a line" when the window refuses the item.
    Integer Add(const WideString& S) override;
    void Insert(Integer Index, const WideString& S) override;
    Integer IndexOf(const WideString& S) const override;
    void Delete(Integer Index) override;
    // The items go; the combo box's text stays.
    void Clear() override;

protected:
    void SetUpdateState(bool Updating) override;

private:
    bool unicodeWindow() const;
    LRESULT send(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0) const;

    TCustomComboBox* comboBox_;
};

class TTntListBoxStrings : public TTntStrings {
public:
    explicit TTntListBoxStrings(TCustomListBox* ListBox) : listBox_(ListBox) {}
    TCustomListBox* ListBox() const { return listBox_; }
    void SetListBox(TCustomListBox* Value) { listBox_ = Value; }

    // EStringListError "List index out of bounds" outside the items.
    WideString Get(Integer Index) const override;
    Integer GetCount() const override;
    TObject* GetObject(Integer Index) const override;
    void PutObject(Integer Index, TObject* AObject) override;
    Integer Add(const WideString& S) override;
    void Insert(Integer Index, const WideString& S) override;
    Integer IndexOf(const WideString& S) const override;
    // The line keeps its item data, and the selection stays where it was.
    void Put(Integer Index, const WideString& S) override;
    void Delete(Integer Index) override;
    void Clear() override;
    // Lines move with their item data; the selection follows its line.
    void Exchange(Integer Index1, Integer Index2) override;
    void Move(Integer CurIndex, Integer NewIndex) override;

protected:
    void SetUpdateState(bool Updating) override;

private:
    bool unicodeWindow() const;
    LRESULT send(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0) const;

    TCustomListBox* listBox_;
};

// ---- Combo box ----------------------------------------------------------------------------------

class TTntCustomComboBox : public TTntHinted<TCustomComboBox>, public IWideCustomListControl {
public:
    explicit TTntCustomComboBox(TComponent* AOwner);
    ~TTntCustomComboBox() override;

    TTntStrings* Items() const { return items_.get(); }
    // The wide list beside the framework's, which stays reachable.
    using TCustomComboBox::SetItems;
    virtual void SetItems(TTntStrings* Value) { items_->Assign(Value); }
    using TCustomComboBox::AddItem;
    void AddItem(const WideString& Item, TObject* AObject) override;
    void CopySelection(TCustomListControl* Destination) override;

    WideString Text() { return TntControl_GetText(this); }
    void SetText(const WideString& Value) { TntControl_SetText(this, Value); }
    // The selection in the edit field, in UTF-16 units. The list styles have no selected text.
    Integer SelStart();
    void SetSelStart(Integer Value);
    Integer SelLength();
    void SetSelLength(Integer Value);
    WideString SelText();
    void SetSelText(const WideString& Value);

    void Dispatch(TMessage& Message) override;

protected:
    void CreateWindowHandle(const TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void ComboWndProc(TMessage& Message, HWND ComboWnd, WNDPROC ComboProc) override;
    // The framework's own completion stays off: the wide one runs instead.
    void KeyPress(char& Key) override;
    void DrawItem(Integer Index, const TRect& Rect, TOwnerDrawState State) override;
    // A character typed into the edit field, after the key events: completion.
    virtual void DoEditCharMsg(TMessage& Message);
    // Completion picks an item only when one item alone starts with the typed text.
    virtual bool AutoCompleteUniqueMatchOnly() const { return false; }
    // Completion keeps the typed characters as typed, only the rest comes from the item.
    virtual bool AutoCompletePreserveDataEntryCase() const { return true; }

private:
    friend bool TntCombo_AutoCompleteKeyPress(TTntCustomComboBox* Combo, TMessage& Message);
    friend bool TntCombo_AutoSearchKeyPress(TTntCustomComboBox* Combo, TMessage& Message);
    friend bool TntCombo_ComboWndProc(TTntCustomComboBox* Combo, TMessage& Message, HWND ComboWnd,
                                      WNDPROC ComboProc);
    friend void TntCombo_CNCommand(TTntCustomComboBox* Combo, TMessage& Message);
    friend bool matchComboItem(TTntCustomComboBox* Combo, const WideString& Search, bool UniqueMatchOnly,
                               bool PreserveDataEntryCase);
    void resubclassChildren();
    void restoreSavedItems();

    std::unique_ptr<TTntComboBoxStrings> items_;
    std::unique_ptr<TTntStringList> saveItems_;
    Integer saveItemIndex_ = -1;
    WideString searchText_;
    DWORD searchTime_ = 0;
};

class TTntComboBox : public TTntCustomComboBox {
public:
    using TTntCustomComboBox::TTntCustomComboBox;
};

// The incremental search of the list styles (AutoComplete on): the typed
// characters build a search text that starts afresh after 1250 ms without a
// key. True when the character picked an item (it is then consumed).
bool TntCombo_AutoSearchKeyPress(TTntCustomComboBox* Combo, TMessage& Message);
// The completion of the edit styles (AutoComplete on): the text before the
// caret plus the character picks the first item starting with it, and the
// rest of the item is selected. True when the character was consumed.
// ETntInternalError for the list styles.
bool TntCombo_AutoCompleteKeyPress(TTntCustomComboBox* Combo, TMessage& Message);
// The messages of the edit field and the list before the framework sees
// them; true when handled here.
bool TntCombo_ComboWndProc(TTntCustomComboBox* Combo, TMessage& Message, HWND ComboWnd, WNDPROC ComboProc);
// CBN_SELCHANGE: the chosen item's wide text, then Click and Change.
void TntCombo_CNCommand(TTntCustomComboBox* Combo, TMessage& Message);
void TntCombo_DefaultDrawItem(TCanvas* Canvas, Integer Index, const TRect& Rect, TTntStrings* Items);

// ---- List box ------------------------------------------------------------------------------------

class TTntCustomListBox : public TTntHinted<TCustomListBox>, public IWideCustomListControl {
public:
    explicit TTntCustomListBox(TComponent* AOwner);
    ~TTntCustomListBox() override;

    TTntStrings* Items() const { return items_.get(); }
    void SetItems(TTntStrings* Value) { items_->Assign(Value); }
    using TCustomListBox::AddItem;
    void AddItem(const WideString& Item, TObject* AObject) override;
    void CopySelection(TCustomListControl* Destination) override;

    void Dispatch(TMessage& Message) override;

    // The wide texts of a virtual list (before the framework's OnData).
    TTntLBGetDataEvent OnDataW;

protected:
    void CreateWindowHandle(const TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void DrawItem(Integer Index, const TRect& Rect, TOwnerDrawState State) override;

private:
    // LB_GETTEXT and LB_GETTEXTLEN of a virtual list.
    void virtualText(TMessage& Message);
    WideString virtualItem(Integer Index, bool& Found);

    std::unique_ptr<TTntListBoxStrings> items_;
    std::unique_ptr<TTntStringList> saveItems_;
    Integer saveTopIndex_ = 0;
    Integer saveItemIndex_ = -1;
};

class TTntListBox : public TTntCustomListBox {
public:
    using TTntCustomListBox::TTntCustomListBox;
};

// Draws a list box's item text: single line, vertically centred, 2 pixels in
// from the reading side.
void TntListBox_DrawItem_Text(TCustomListBox* ListBox, TCanvas* Canvas, const WideString& Text, TRect Rect);
