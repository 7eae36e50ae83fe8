// The framework's standard controls over the system's control classes:
// labels (painted by the framework), buttons, check boxes and radio buttons,
// group boxes, static texts, list boxes and combo boxes. Each windowed one
// subclasses its system class, talks to it in the ANSI messages the framework
// sends, and hears back through the CN_ messages its parent reflects.
#pragma once

#include "platform/core/Classes.h"
#include "platform/vcl/Controls.h"
// The edit controls belong to this unit too; TAlignment comes with them.
#include "platform/vcl/EditCtrls.h"

#include <memory>

class TCustomForm;

enum TTextLayout { tlTop, tlCenter, tlBottom };
enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
enum TStaticBorderStyle { sbsNone, sbsSingle, sbsSunken };
// The virtual styles hold only a number of items (Count) whose texts OnData gives.
enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable, lbVirtual, lbVirtualOwnerDraw };
enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

// The state of an owner-drawn item (the ODS_ flags).
enum TOwnerDrawStateItem {
    odSelected,
    odGrayed,
    odDisabled,
    odChecked,
    odFocused,
    odDefault,
    odHotLight,
    odInactive,
    odNoAccel,
    odNoFocusRect,
    odReserved1,
    odReserved2,
    odComboBoxEdit
};
using TOwnerDrawState = TSet<TOwnerDrawStateItem>;

using TDrawItemEvent =
    Closure<void(TWinControl* Control, Integer Index, const TRect& Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = Closure<void(TWinControl* Control, Integer Index, Integer& Height)>;
using TLBGetDataEvent = Closure<void(TWinControl* Control, Integer Index, AnsiString& Data)>;

// The owner-draw state of an ODS_ combination.
TOwnerDrawState OwnerDrawStateOf(UINT ItemState);

// ---- Labels ---------------------------------------------------------------------------

// Text painted on the parent, with an accelerator that focuses FocusControl.
class TCustomLabel : public TGraphicControl {
public:
    explicit TCustomLabel(TComponent* AOwner);

    AnsiString Caption() { return Text(); }
    void SetCaption(const AnsiString& Value) { SetText(Value); }
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment Value);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout Value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool Value);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool Value);
    // A transparent label paints only its text over what lies behind it.
    bool Transparent() const { return !ControlStyle().Contains(csOpaque); }
    void SetTransparent(bool Value);
    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* Value);

    void Dispatch(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
    // The text the label shows (its caption); descendants may show another.
    virtual AnsiString GetLabelText();
    // Draws (or with DT_CALCRECT measures) the label's text into Rect.
    virtual void DoDrawText(TRect& Rect, Integer Flags);
    void Paint() override;
    void AdjustSize() override;
    void Loaded() override;
    // With AutoSize, the size of the text (keeping the right edge or the
    // middle in place for right or centred alignment).
    virtual void AdjustBounds();

private:
    void cmDialogChar(TMessage& Message);
    Integer textFlags() const;

    TAlignment alignment_ = taLeftJustify;
    TTextLayout layout_ = tlTop;
    bool wordWrap_ = false;
    bool showAccelChar_ = true;
    TWinControl* focusControl_ = nullptr;
};

class TLabel : public TCustomLabel {
public:
    using TCustomLabel::TCustomLabel;
};

// ---- Buttons ----------------------------------------------------------------------------

// What push buttons, check boxes and radio buttons share: a click reported
// by the window comes back as BN_CLICKED, and a press on an unfocused button
// first moves the focus there (a refused focus swallows the press).
class TButtonControl : public TWinControl {
public:
    explicit TButtonControl(TComponent* AOwner);
    virtual bool Checked() { return false; }
    virtual void SetChecked(bool Value) { (void)Value; }
    void WndProc(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;

protected:
    // The control is checked with the action.
    void ActionChange(TObject* Sender, bool CheckDefaults) override;
    TControlActionLinkClass GetActionLinkClass() override;
    // Set while the button takes the focus from a click, so that the
    // window's own click is not reported twice.
    bool ClicksDisabled() const { return clicksDisabled_; }
    void SetClicksDisabled(bool Value) { clicksDisabled_ = Value; }
    void CreateParams(TCreateParams& Params) override;

private:
    void cnCtlColor(TMessage& Message);
    bool clicksDisabled_ = false;
};

class TButton : public TButtonControl {
public:
    explicit TButton(TComponent* AOwner);

    AnsiString Caption() { return Text(); }
    void SetCaption(const AnsiString& Value) { SetText(Value); }
    // Enter clicks the default button unless another button has the focus.
    bool Default() const { return default_; }
    void SetDefault(bool Value);
    // Esc clicks a cancel button.
    bool Cancel() const { return cancel_; }
    void SetCancel(bool Value) { cancel_ = Value; }
    // Clicking the button of a modal form closes the form with this result.
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult Value) { modalResult_ = Value; }
    void Click() override;
    void Dispatch(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;

private:
    void cmDialogKey(TMessage& Message);
    void cmDialogChar(TMessage& Message);
    void cmFocusChanged(TMessage& Message);
    // Shows the button as the one Enter clicks.
    void setButtonStyle(bool IsDefault);

    bool default_ = false;
    bool cancel_ = false;
    // The button shows (and answers Enter) as the default one now.
    bool active_ = false;
    TModalResult modalResult_ = mrNone;
};

// A check box with two or (AllowGrayed) three states. Changing the state,
// by the user or the program, fires OnClick.
class TCustomCheckBox : public TButtonControl {
public:
    explicit TCustomCheckBox(TComponent* AOwner);

    AnsiString Caption() { return Text(); }
    void SetCaption(const AnsiString& Value) { SetText(Value); }
    // taRightJustify puts the text right of the box, taLeftJustify left of it.
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment Value);
    bool AllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool Value) { allowGrayed_ = Value; }
    TCheckBoxState State() const { return state_; }
    virtual void SetState(TCheckBoxState Value);
    bool Checked() override { return state_ == cbChecked; }
    void SetChecked(bool Value) override { SetState(Value ? cbChecked : cbUnchecked); }
    void Dispatch(TMessage& Message) override;

protected:
    // The user's click: unchecked, (grayed,) checked, unchecked.
    virtual void Toggle();
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;

private:
    void cmDialogChar(TMessage& Message);

    TAlignment alignment_ = taRightJustify;
    bool allowGrayed_ = false;
    TCheckBoxState state_ = cbUnchecked;
};

class TCheckBox : public TCustomCheckBox {
public:
    using TCustomCheckBox::TCustomCheckBox;
};

// A radio button: checking it unchecks the radio buttons beside it (same parent).
class TRadioButton : public TButtonControl {
public:
    explicit TRadioButton(TComponent* AOwner);

    AnsiString Caption() { return Text(); }
    void SetCaption(const AnsiString& Value) { SetText(Value); }
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment Value);
    bool Checked() override { return checked_; }
    void SetChecked(bool Value) override;
    void Dispatch(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;

private:
    void cmDialogChar(TMessage& Message);
    void uncheckSiblings();

    TAlignment alignment_ = taRightJustify;
    bool checked_ = false;
};

// ---- Group boxes -------------------------------------------------------------------------

// A captioned frame that holds controls; its accelerator selects the first of them.
class TCustomGroupBox : public TCustomControl {
public:
    explicit TCustomGroupBox(TComponent* AOwner);
    AnsiString Caption() { return Text(); }
    void SetCaption(const AnsiString& Value) { SetText(Value); }
    void Dispatch(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void AdjustClientRect(TRect& Rect) override;
    void Paint() override;

private:
    void cmDialogChar(TMessage& Message);
};

class TGroupBox : public TCustomGroupBox {
public:
    using TCustomGroupBox::TCustomGroupBox;
};

// ---- Static text ------------------------------------------------------------------------

// Text in a window of its own (a STATIC control), optionally framed.
class TCustomStaticText : public TWinControl {
public:
    explicit TCustomStaticText(TComponent* AOwner);

    AnsiString Caption() { return Text(); }
    void SetCaption(const AnsiString& Value) { SetText(Value); }
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment Value);
    TStaticBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TStaticBorderStyle Value);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool Value);
    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* Value);

    void Dispatch(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Loaded() override;
    void AdjustSize() override;
    // With AutoSize: the text's extent plus two borders' width on each side.
    virtual void AdjustBounds();

private:
    void cmDialogChar(TMessage& Message);

    TAlignment alignment_ = taLeftJustify;
    TStaticBorderStyle borderStyle_ = sbsNone;
    bool showAccelChar_ = true;
    TWinControl* focusControl_ = nullptr;
};

class TStaticText : public TCustomStaticText {
public:
    using TCustomStaticText::TCustomStaticText;
};

// ---- List controls ------------------------------------------------------------------------

// What list boxes and combo boxes share: a current item, adding items with
// their objects, and working on the selection.
class TCustomListControl : public TWinControl {
public:
    using TWinControl::TWinControl;
    virtual Integer ItemIndex() = 0;
    virtual void SetItemIndex(Integer Value) = 0;
    virtual void AddItem(const AnsiString& Item, TObject* AObject) = 0;
    virtual void Clear() = 0;
    virtual void ClearSelection() = 0;
    // Adds the selected item(s) with their objects to Destination.
    virtual void CopySelection(TCustomListControl* Destination) = 0;
    virtual void DeleteSelected() = 0;
    virtual void SelectAll() = 0;
};

// ---- List boxes --------------------------------------------------------------------------

// A list of texts with an object each. The items live in the window; they
// are kept aside while the window is made again.
class TCustomListBox : public TCustomListControl {
public:
    explicit TCustomListBox(TComponent* AOwner);
    ~TCustomListBox() override;

    TStrings* Items() const { return items_.get(); }
    void SetItems(TStrings* Value) { items_->Assign(Value); }
    // The selected item (a multi-select list: the item with the focus); -1 for none.
    Integer ItemIndex() override;
    void SetItemIndex(Integer Value) override;
    bool Selected(Integer Index);
    void SetSelected(Integer Index, bool Value);
    Integer SelCount();
    Integer TopIndex();
    void SetTopIndex(Integer Value);
    // The number of items; only a virtual list is given it.
    Integer Count();
    void SetCount(Integer Value);
    void AddItem(const AnsiString& Item, TObject* AObject) override;
    void Clear() override;
    void ClearSelection() override;
    void CopySelection(TCustomListControl* Destination) override;
    void DeleteSelected() override;
    void SelectAll() override;
    // The item at a client point; with Existing, -1 beyond the last item.
    Integer ItemAtPos(const TPoint& Pos, bool Existing);
    TRect ItemRect(Integer Index);

    TListBoxStyle Style() const { return style_; }
    void SetStyle(TListBoxStyle Value);
    bool Sorted() const { return sorted_; }
    void SetSorted(bool Value);
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool Value);
    bool ExtendedSelect() const { return extendedSelect_; }
    void SetExtendedSelect(bool Value);
    bool IntegralHeight() const { return integralHeight_; }
    void SetIntegralHeight(bool Value);
    Integer ItemHeight();
    void SetItemHeight(Integer Value);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle Value);
    TCanvas* Canvas() const { return canvas_.get(); }

    void Dispatch(TMessage& Message) override;

    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;
    TLBGetDataEvent OnData;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    bool IsVirtual() const { return style_ == lbVirtual || style_ == lbVirtualOwnerDraw; }
    // The text of an item of a virtual list: OnData.
    virtual AnsiString DoGetData(Integer Index);
    // Draws one owner-drawn item: OnDrawItem, or the item's text.
    virtual void DrawItem(Integer Index, const TRect& Rect, TOwnerDrawState State);
    // The height of one item of a variable owner-drawn list: OnMeasureItem.
    virtual void MeasureItem(Integer Index, Integer& Height);

private:
    class ListBoxStrings;
    friend class ListBoxStrings;
    void cnCommand(TMessage& Message);
    void cnDrawItem(TMessage& Message);
    void cnMeasureItem(TMessage& Message);
    void cnCtlColor(TMessage& Message);
    // LB_GETTEXT and LB_GETTEXTLEN of a virtual list, answered from OnData.
    void virtualText(TMessage& Message);

    std::unique_ptr<TStrings> items_;
    std::unique_ptr<TCanvas> canvas_;
    // The items (or a virtual list's count), top and selection kept while the window is made again.
    std::unique_ptr<TStringList> savedItems_;
    Integer savedCount_ = 0;
    Integer savedTopIndex_ = 0;
    Integer savedItemIndex_ = -1;
    TListBoxStyle style_ = lbStandard;
    bool sorted_ = false;
    bool multiSelect_ = false;
    bool extendedSelect_ = true;
    bool integralHeight_ = false;
    Integer itemHeight_ = 16;
    TBorderStyle borderStyle_ = bsSingle;
};

class TListBox : public TCustomListBox {
public:
    using TCustomListBox::TCustomListBox;
};

// ---- Combo boxes ---------------------------------------------------------------------------

// An edit field (or a chosen item) over a list that drops down. The edit
// field and the list are windows of their own; their keys and mouse
// messages pass through ComboWndProc so that the combo box's events see them.
class TCustomComboBox : public TCustomListControl {
public:
    explicit TCustomComboBox(TComponent* AOwner);
    ~TCustomComboBox() override;

    TStrings* Items() const { return items_.get(); }
    virtual void SetItems(TStrings* Value) { items_->Assign(Value); }
    Integer ItemIndex() override;
    void SetItemIndex(Integer Value) override;
    void AddItem(const AnsiString& Item, TObject* AObject) override;
    void Clear() override;
    void ClearSelection() override { SetItemIndex(-1); }
    void CopySelection(TCustomListControl* Destination) override;
    void DeleteSelected() override;
    bool DroppedDown();
    void SetDroppedDown(bool Value);
    // The selection in the edit field.
    Integer SelStart();
    void SetSelStart(Integer Value);
    Integer SelLength();
    void SetSelLength(Integer Value);
    AnsiString SelText();
    void SetSelText(const AnsiString& Value);
    // Selects the whole text of the edit field.
    void SelectAll() override;

    TComboBoxStyle Style() const { return style_; }
    virtual void SetStyle(TComboBoxStyle Value);
    bool Sorted() const { return sorted_; }
    void SetSorted(bool Value);
    // How many items the dropped list shows at most.
    Integer DropDownCount() const { return dropDownCount_; }
    void SetDropDownCount(Integer Value) { dropDownCount_ = Value; }
    Integer MaxLength() const { return maxLength_; }
    void SetMaxLength(Integer Value);
    virtual Integer ItemHeight();
    virtual void SetItemHeight(Integer Value);
    // Typing selects the first item that starts with what was typed.
    bool AutoComplete() const { return autoComplete_; }
    void SetAutoComplete(bool Value) { autoComplete_ = Value; }
    // Typing drops the list first.
    bool AutoDropDown() const { return autoDropDown_; }
    void SetAutoDropDown(bool Value) { autoDropDown_ = Value; }
    TCanvas* Canvas() const { return canvas_.get(); }
    // The windows of the edit field (null for the list styles) and of the list.
    HWND EditHandle() const { return editHandle_; }
    HWND ListHandle() const { return listHandle_; }

    bool Focused();
    void Dispatch(TMessage& Message) override;

    TNotifyEvent OnChange;
    TNotifyEvent OnSelect;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;
    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void KeyPress(char& Key) override;
    // The messages of the edit field and the list pass here first; the
    // default hands the keys to the combo box's key events and the rest to
    // the child's own procedure.
    virtual void ComboWndProc(TMessage& Message, HWND ComboWnd, WNDPROC ComboProc);
    // The edit field's text changed (or, without OnSelect, an item was chosen): OnChange.
    virtual void Change();
    // The user chose an item: OnSelect, or OnChange without one.
    virtual void Select();
    virtual void DropDown();
    virtual void CloseUp();
    virtual void DrawItem(Integer Index, const TRect& Rect, TOwnerDrawState State);
    virtual void MeasureItem(Integer Index, Integer& Height);
    // The window procedures the edit field and the list are subclassed with,
    // and the procedures they had before, which ComboWndProc passes messages on to.
    WNDPROC EditInstance() const { return editInstance_; }
    WNDPROC ListInstance() const { return listInstance_; }
    WNDPROC DefaultEditProc() const { return defaultEditProc_; }
    void SetDefaultEditProc(WNDPROC Value) { defaultEditProc_ = Value; }
    WNDPROC DefaultListProc() const { return defaultListProc_; }
    void SetDefaultListProc(WNDPROC Value) { defaultListProc_ = Value; }

private:
    class ComboBoxStrings;
    friend class ComboBoxStrings;
    void editWndProc(TMessage& Message);
    void listWndProc(TMessage& Message);
    void cnCommand(TMessage& Message);
    void cnDrawItem(TMessage& Message);
    void cnMeasureItem(TMessage& Message);
    void cnCtlColor(TMessage& Message);
    // Sizes the dropped list for DropDownCount items.
    void adjustDropDown();
    void subclassChildren();
    bool completeTyping(char Key);

    std::unique_ptr<TStrings> items_;
    std::unique_ptr<TCanvas> canvas_;
    std::unique_ptr<TStringList> savedItems_;
    Integer savedItemIndex_ = -1;
    AnsiString savedText_;
    HWND editHandle_ = nullptr;
    HWND listHandle_ = nullptr;
    WNDPROC editInstance_ = nullptr;
    WNDPROC listInstance_ = nullptr;
    WNDPROC defaultEditProc_ = nullptr;
    WNDPROC defaultListProc_ = nullptr;
    TComboBoxStyle style_ = csDropDown;
    bool sorted_ = false;
    Integer dropDownCount_ = 8;
    Integer maxLength_ = 0;
    Integer itemHeight_ = 16;
    bool autoComplete_ = true;
    bool autoDropDown_ = false;
    // The incremental search of the list styles: what was typed, and when.
    AnsiString searchText_;
    DWORD searchTime_ = 0;
};

class TComboBox : public TCustomComboBox {
public:
    using TCustomComboBox::TCustomComboBox;
};

// The extended combo box, bare: a combo box with a link class of its own
// (items with images are not part of this framework).
class TComboBoxEx : public TCustomComboBox {
public:
    using TCustomComboBox::TCustomComboBox;

protected:
    TControlActionLinkClass GetActionLinkClass() override;
};

// ---- TScrollBar ------------------------------------------------------------------------

// What moved a scroll bar: the SB_ codes of WM_HSCROLL and WM_VSCROLL in order.
enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };
// The handler may change where the bar goes.
using TScrollEvent = Closure<void(TObject* Sender, TScrollCode ScrollCode, Integer& ScrollPos)>;

// The system's SCROLLBAR control. Position stays within Min and Max;
// arrows move it by SmallChange, clicks beside the thumb by LargeChange.
class TScrollBar : public TWinControl {
public:
    explicit TScrollBar(TComponent* AOwner);

    // Changing the kind turns the bar's size round.
    TScrollBarKind Kind() const { return kind_; }
    void SetKind(TScrollBarKind Value);
    Integer Min() const { return min_; }
    void SetMin(Integer Value) { SetParams(position_, Value, max_); }
    Integer Max() const { return max_; }
    void SetMax(Integer Value) { SetParams(position_, min_, Value); }
    Integer Position() const { return position_; }
    void SetPosition(Integer Value) { SetParams(Value, min_, max_); }
    // The thumb's share of the range; 0 for the classic square thumb.
    Integer PageSize() const { return pageSize_; }
    void SetPageSize(Integer Value);
    SmallInt SmallChange() const { return smallChange_; }
    void SetSmallChange(SmallInt Value) { smallChange_ = Value; }
    SmallInt LargeChange() const { return largeChange_; }
    void SetLargeChange(SmallInt Value) { largeChange_ = Value; }
    // Sets all three at once; EInvalidOperation "Scrollbar property out of
    // range" when Max is below Min or PageSize. Position is brought within.
    void SetParams(Integer APosition, Integer AMin, Integer AMax);
    void Dispatch(TMessage& Message) override;

    TNotifyEvent OnChange;
    TScrollEvent OnScroll;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    virtual void Change();
    virtual void Scroll(TScrollCode ScrollCode, Integer& ScrollPos);

private:
    void doScroll(TMessage& Message);

    TScrollBarKind kind_ = sbHorizontal;
    Integer min_ = 0;
    Integer max_ = 100;
    Integer position_ = 0;
    Integer pageSize_ = 0;
    SmallInt smallChange_ = 1;
    SmallInt largeChange_ = 1;
};
