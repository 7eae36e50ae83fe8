// The framework's menus: TMenuItem trees (captions with "&" hot keys and "-"
// lines, shortcuts, checks and radio groups, images, owner drawing, actions)
// that build the system's menus and rebuild them after every change; the
// main menu a form shows in its frame, pop-up menus shown at a point or on a
// right click, the hidden window that receives the pop-ups' messages, and the
// shortcut texts with the framework's key names.
#pragma once

#include "platform/vcl/ActnList.h"
#include "platform/vcl/Pictures.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/win/Menus.h"

#include <memory>
#include <vector>

class TCustomForm;
class TMenu;
class TMenuItem;
class TPopupMenu;

class EMenuError : public Exception {
public:
    using Exception::Exception;
};

enum TMenuBreak { mbNone, mbBreak, mbBarBreak };
// Automatic hot keys and line reduction: on, off, or as the parent has them.
enum TMenuAutoFlag { maAutomatic, maManual, maParent };
using TMenuItemAutoFlag = TMenuAutoFlag;
enum TFindItemKind { fkCommand, fkHandle, fkShortCut };
enum TPopupAlignment { paLeft, paRight, paCenter };
enum TTrackButton { tbRightButton, tbLeftButton };

using TMenuChangeEvent = Closure<void(TObject* Sender, TMenuItem* Source, bool Rebuild)>;
using TMenuDrawItemEvent =
    Closure<void(TObject* Sender, TCanvas* ACanvas, const TRect& ARect, bool Selected)>;
using TAdvancedMenuDrawItemEvent =
    Closure<void(TObject* Sender, TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State)>;
using TMenuMeasureItemEvent =
    Closure<void(TObject* Sender, TCanvas* ACanvas, Integer& Width, Integer& Height)>;

// ---- Shortcuts and hot keys ---------------------------------------------------------

TShortCut ShortCut(Word Key, TShiftState Shift);
void ShortCutToKey(TShortCut ShortCut, Word& Key, TShiftState& Shift);
// "Shift+", "Ctrl+" and "Alt+" in that order before the key's name: "A",
// "5", "F1", "Enter", "Esc", "Space", "BkSp", "Tab", "PgUp", "PgDn",
// "End", "Home", "Left", "Up", "Right", "Down", "Ins", "Del"; empty for a key without a name.
AnsiString ShortCutToText(TShortCut ShortCut);
// The modifier words may come in any order ("^" stands for "Ctrl+"); the
// key's name is compared without regard to case. 0 for an unknown name.
TShortCut TextToShortCut(const AnsiString& Text);
// The shortcut of a key message (its key and the shift state of its key data).
TShortCut ShortCutFromMessage(const TMessage& Message);

constexpr char cHotkey = '&';
constexpr const char* cLineCaption = "-";
// The caption without its "&" marks ("&&" stays as one "&").
AnsiString StripHotkey(const AnsiString& Text);
// The character after the hot-key mark, or empty.
AnsiString GetHotkey(const AnsiString& Text);
// Equal once the hot-key marks are taken out, without regard to case.
bool AnsiSameCaption(const AnsiString& Text1, const AnsiString& Text2);

// ---- Menu items ------------------------------------------------------------------------

// The link of a menu item: caption, checked, enabled, group, help, hint,
// image, shortcut and visibility follow the action while the item shows
// the action's value, and the item's click runs the action.
class TMenuActionLink : public TActionLink {
public:
    explicit TMenuActionLink(TMenuItem* AClient);
    TMenuItem* MenuItem() const { return item_; }
    bool IsCaptionLinked() override;
    bool IsCheckedLinked() override;
    bool IsEnabledLinked() override;
    bool IsGroupIndexLinked() override;
    bool IsHelpContextLinked() override;
    bool IsHintLinked() override;
    bool IsImageIndexLinked() override;
    bool IsShortCutLinked() override;
    bool IsVisibleLinked() override;
    bool IsOnExecuteLinked() override;
    void SetAutoCheck(bool Value) override;
    void SetCaption(const AnsiString& Value) override;
    void SetChecked(bool Value) override;
    void SetEnabled(bool Value) override;
    void SetGroupIndex(Integer Value) override;
    void SetHelpContext(Integer Value) override;
    void SetHint(const AnsiString& Value) override;
    void SetImageIndex(Integer Value) override;
    void SetShortCut(TShortCut Value) override;
    void SetVisible(bool Value) override;
    void SetOnExecute(TNotifyEvent Value) override;

private:
    TMenuItem* item_;
};

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* AOwner);
    // Leaves its parent and frees its own items.
    ~TMenuItem() override;

    // ---- The items below it ----
    Integer Count() const { return static_cast<Integer>(items_.size()); }
    // EMenuError "Menu index out of range" outside the list.
    TMenuItem* Items(Integer Index) const;
    // EMenuError "Menu inserted twice" for an item that has a parent already.
    void Add(TMenuItem* Item);
    void Insert(Integer Index, TMenuItem* Item);
    // Takes the item out without freeing it.
    void Delete(Integer Index);
    void Remove(TMenuItem* Item);
    // Frees every item below.
    void Clear();
    Integer IndexOf(const TMenuItem* Item) const;
    // The item whose caption is the same once hot keys are stripped, or null.
    TMenuItem* Find(const AnsiString& ACaption) const;
    TMenuItem* Parent() const { return parent_; }
    Integer MenuIndex() const;
    void SetMenuIndex(Integer Value);
    // The menu the item belongs to, through its parents.
    TMenu* GetParentMenu() const;
    // An item right in a main menu's bar.
    bool IsTopLevelOfMainMenu() const;

    // ---- What it shows ----
    const AnsiString& Caption() const { return caption_; }
    void SetCaption(const AnsiString& Value);
    // A caption of "-" makes a separator line.
    bool IsLine() const { return caption_ == cLineCaption; }
    bool Checked() const { return checked_; }
    // Checking a radio item unchecks the other radio items of its group.
    void SetChecked(bool Value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool Value);
    bool Visible() const { return visible_; }
    void SetVisible(bool Value);
    bool Default() const { return default_; }
    void SetDefault(bool Value);
    bool RadioItem() const { return radioItem_; }
    void SetRadioItem(bool Value);
    Byte GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(Byte Value);
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut Value);
    const AnsiString& Hint() const { return hint_; }
    void SetHint(const AnsiString& Value) { hint_ = Value; }
    Integer ImageIndex() const { return imageIndex_; }
    void SetImageIndex(Integer Value);
    // Made on first use; the item is owner-drawn while it holds a picture.
    TBitmap* Bitmap();
    void SetBitmap(TBitmap* Value);
    bool HasBitmap() const { return bitmap_ && !bitmap_->Empty(); }
    TMenuBreak Break() const { return break_; }
    void SetBreak(TMenuBreak Value);
    bool AutoCheck() const { return autoCheck_; }
    void SetAutoCheck(bool Value) { autoCheck_ = Value; }
    TMenuItemAutoFlag AutoHotkeys() const { return autoHotkeys_; }
    void SetAutoHotkeys(TMenuItemAutoFlag Value);
    TMenuItemAutoFlag AutoLineReduction() const { return autoLineReduction_; }
    void SetAutoLineReduction(TMenuItemAutoFlag Value);
    Integer HelpContext() const { return helpContext_; }
    void SetHelpContext(Integer Value) { helpContext_ = Value; }

    // ---- Actions ----
    TBasicAction* Action() const { return actionLink_ ? actionLink_->Action() : nullptr; }
    void SetAction(TBasicAction* Value);
    TMenuActionLink* ActionLink() const { return actionLink_.get(); }
    // The action's values (with CheckDefaults only into values still at their defaults).
    virtual void ActionChange(TObject* Sender, bool CheckDefaults);
    // The link made when an action is set; descendants give their own.
    virtual std::unique_ptr<TMenuActionLink> CreateActionLink();
    // Updates the item's action, and those of the items below (before a sub-menu opens).
    virtual void InitiateAction();
    void InitiateActions();

    // ---- The system's menu ----
    // The sub-menu handle (made with the items below on first use).
    HMENU Handle();
    bool HandleAllocated() const { return handle_ != nullptr; }
    // The command the item's WM_COMMAND carries, unique in the program.
    Word Command() const { return command_; }
    // Whether the item is drawn by the framework rather than the system.
    bool IsOwnerDrawn() const;

    // AutoCheck, then the action (through its link) or OnClick.
    virtual void Click();
    // Owner drawing: measures the caption, shortcut and picture, then
    // OnMeasureItem; draws with OnAdvancedDrawItem, OnDrawItem or in the
    // classic look.
    virtual void MeasureItem(TCanvas* ACanvas, Integer& Width, Integer& Height);
    virtual void DrawItem(TCanvas* ACanvas, const TRect& ARect, bool Selected);
    virtual void AdvancedDrawItem(TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State, bool TopLevel);
    // After a change: with Rebuild, the system's items of the parent are
    // made again; then the menu hears of it (TMenu::DoChange).
    virtual void MenuChanged(bool Rebuild);

    TNotifyEvent OnClick;
    TMenuDrawItemEvent OnDrawItem;
    // Stored tests of the published properties: values an action supplies are not written.
    bool IsCaptionStored() const;
    bool IsCheckedStored() const;
    bool IsEnabledStored() const;
    bool IsHintStored() const;
    bool IsImageIndexStored() const;
    bool IsShortCutStored() const;
    bool IsVisibleStored() const;
    TAdvancedMenuDrawItemEvent OnAdvancedDrawItem;
    TMenuMeasureItemEvent OnMeasureItem;

    // ---- Streaming: items nest in their parent item or menu ----
    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* Value) override;
    void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
    // The text of an owner-drawn item, as DrawItem puts it in Rect with DrawText flags.
    virtual void DoDrawText(TCanvas* ACanvas, const AnsiString& ACaption, TRect& Rect, bool Selected,
                            UINT Flags);

private:
    friend class TMenu;
    // Empties the sub-menu handle and appends the visible items again.
    void rebuildHandle();
    void appendTo(HMENU Menu);
    AnsiString systemText() const;
    void rethinkHotkeys();
    std::vector<TMenuItem*> itemsToShow();
    TMenuAutoFlag effectiveAutoHotkeys() const;
    TMenuAutoFlag effectiveAutoLineReduction() const;
    void uncheckRadioGroup();
    void changed(bool Rebuild);
    void structureChanged(bool CountChanged);
    void drawClassic(TCanvas* ACanvas, TRect ARect, TOwnerDrawState State, bool TopLevel);
    bool hasValidImage() const;

    std::vector<TMenuItem*> items_;
    TMenuItem* parent_ = nullptr;
    // Set on the root item of a menu.
    TMenu* menu_ = nullptr;
    HMENU handle_ = nullptr;
    Word command_ = 0;
    AnsiString caption_;
    bool checked_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    bool default_ = false;
    bool radioItem_ = false;
    Byte groupIndex_ = 0;
    TShortCut shortCut_ = scNone;
    AnsiString hint_;
    Integer imageIndex_ = -1;
    std::unique_ptr<TBitmap> bitmap_;
    TMenuBreak break_ = mbNone;
    bool autoCheck_ = false;
    TMenuItemAutoFlag autoHotkeys_ = maParent;
    TMenuItemAutoFlag autoLineReduction_ = maParent;
    Integer helpContext_ = 0;
    std::unique_ptr<TMenuActionLink> actionLink_;
};

// ---- Menus ------------------------------------------------------------------------------

class TMenu : public TComponent {
public:
    explicit TMenu(TComponent* AOwner);
    ~TMenu() override;

    // The root item: its items are the menu's.
    TMenuItem* Items() const { return items_.get(); }
    HMENU Handle() { return GetHandle(); }
    virtual HMENU GetHandle();
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* Value);
    // Owner-drawn items (also whenever the menu has images).
    bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool Value);
    // Hot keys are given to captions without one (maAutomatic, the default).
    TMenuAutoFlag AutoHotkeys() const { return autoHotkeys_; }
    void SetAutoHotkeys(TMenuAutoFlag Value);
    // Lines at either end of a menu and lines after lines are left out.
    TMenuAutoFlag AutoLineReduction() const { return autoLineReduction_; }
    void SetAutoLineReduction(TMenuAutoFlag Value);
    TBiDiMode BiDiMode() const { return biDiMode_; }
    void SetBiDiMode(TBiDiMode Value) { biDiMode_ = Value; }
    bool ParentBiDiMode() const { return parentBiDiMode_; }
    void SetParentBiDiMode(bool Value) { parentBiDiMode_ = Value; }
    // Right to left: owner-drawn items put their picture at the right and
    // read right to left; a pop-up opens to the other side of its point.
    bool IsRightToLeft() const { return biDiMode_ != bdLeftToRight; }
    // Whether the menu's items are drawn by the framework.
    bool IsOwnerDraw() const { return ownerDraw_ || images_; }

    // The item of a command, a sub-menu handle or a shortcut, through every level.
    TMenuItem* FindItem(UINT_PTR Value, TFindItemKind Kind) const;
    // WM_COMMAND of an item: its Click. False when no item has the command.
    bool DispatchCommand(Word ACommand);
    // WM_INITMENUPOPUP: the item whose sub-menu opens updates its items'
    // actions and hears Click. False when no item has the handle.
    bool DispatchPopup(HMENU AMenu);
    // A key message (WM_KEYDOWN, CN_KEYDOWN) that is the shortcut of an
    // enabled item clicks it; true then.
    bool IsShortCut(TMessage& Message);
    // WM_MENUCHAR: the item of that hot key among the open menu's items.
    void ProcessMenuChar(TMessage& Message);
    // The menu messages its owner window gets (WM_COMMAND of items,
    // WM_INITMENUPOPUP, WM_MENUSELECT, WM_MENUCHAR, and WM_MEASUREITEM and
    // WM_DRAWITEM of owner-drawn items); true when the message was the menu's.
    bool HandleMenuMessage(TMessage& Message);

    TMenuChangeEvent OnChange;

    void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Loaded() override;

protected:
    // After every change of an item (and its rebuild): OnChange.
    virtual void DoChange(TMenuItem* Source, bool Rebuild);
    // The handle of the root item: a menu bar or a pop-up.
    virtual HMENU createRootHandle();

private:
    friend class TMenuItem;
    void imagesChanged(TObject* Sender);
    void measureItem(MEASUREITEMSTRUCT& Measure);
    void drawItem(const DRAWITEMSTRUCT& Draw);
    void showHint(WPARAM WParam, LPARAM LParam);

    std::unique_ptr<TMenuItem> items_;
    TCustomImageList* images_ = nullptr;
    std::unique_ptr<TChangeLink> imageChangeLink_;
    bool ownerDraw_ = false;
    TMenuAutoFlag autoHotkeys_ = maAutomatic;
    TMenuAutoFlag autoLineReduction_ = maAutomatic;
    TBiDiMode biDiMode_ = bdLeftToRight;
    bool parentBiDiMode_ = true;
};

// A form's menu bar.
class TMainMenu : public TMenu {
public:
    explicit TMainMenu(TComponent* AOwner);
    ~TMainMenu() override;
    // The window whose bar shows the menu.
    HWND WindowHandle() const { return windowHandle_; }
    void SetWindowHandle(HWND Value);
    void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
    // Redraws the window's bar.
    void DoChange(TMenuItem* Source, bool Rebuild) override;
    HMENU createRootHandle() override;

private:
    friend void SetFormMenu(TCustomForm* Form, TMainMenu* Menu);
    void attachToForm(TCustomForm* Form);
    void detachFromForm();
    void formWindowProc(TMessage& Message);
    void formShortCut(TMessage& Message, bool& Handled);

    HWND windowHandle_ = nullptr;
    TCustomForm* form_ = nullptr;
    TWndMethod formPreviousWindowProc_;
};

// The menu a form shows in its frame. The form unit lies below this one, so
// the menu holds the link: it puts itself into the form's window, takes the
// form's menu messages (in front of the form's WindowProc, also after the
// window is made again) and, while the form has no OnShortCut of its own,
// answers the form's shortcut keys. Null takes the form's menu away.
void SetFormMenu(TCustomForm* Form, TMainMenu* Menu);
TMainMenu* GetFormMenu(TCustomForm* Form);

class TPopupMenu : public TMenu {
public:
    explicit TPopupMenu(TComponent* AOwner);
    ~TPopupMenu() override;

    // OnPopup, then the menu at a screen point; a chosen item's Click follows
    // once its WM_COMMAND is dispatched.
    virtual void Popup(Integer X, Integer Y);
    TPoint PopupPoint() const { return popupPoint_; }
    TComponent* PopupComponent() const { return popupComponent_; }
    void SetPopupComponent(TComponent* Value);
    TPopupAlignment Alignment() const { return alignment_; }
    void SetAlignment(TPopupAlignment Value) { alignment_ = Value; }
    // Shown by a right click on a control that names it as its PopupMenu.
    bool AutoPopup() const { return autoPopup_; }
    void SetAutoPopup(bool Value) { autoPopup_ = Value; }
    TTrackButton TrackButton() const { return trackButton_; }
    void SetTrackButton(TTrackButton Value) { trackButton_ = Value; }
    Integer HelpContext() const { return helpContext_; }
    void SetHelpContext(Integer Value) { helpContext_ = Value; }

    TNotifyEvent OnPopup;
    void Notification(TComponent* AComponent, TOperation Operation) override;

protected:
    virtual void DoPopup(TObject* Sender);

private:
    TPoint popupPoint_{-1, -1};
    TComponent* popupComponent_ = nullptr;
    TPopupAlignment alignment_ = paLeft;
    bool autoPopup_ = true;
    TTrackButton trackButton_ = tbRightButton;
    Integer helpContext_ = 0;
};

// The pop-up menus of the program and the hidden window that receives
// their messages while one is open; the messages go to each menu in turn.
class TPopupList : public TObject {
public:
    TPopupList() = default;
    ~TPopupList() override;
    void Add(TPopupMenu* Menu);
    void Remove(TPopupMenu* Menu);
    Integer Count() const { return static_cast<Integer>(menus_.size()); }
    TPopupMenu* Items(Integer Index) const { return menus_[static_cast<std::size_t>(Index)]; }
    // Made while the list holds a menu.
    HWND Window() const { return window_; }

protected:
    // Each menu's HandleMenuMessage until one takes it; the rest goes to DefWindowProc.
    virtual void WndProc(TMessage& Message);

private:
    void mainWndProc(TMessage& Message);

    std::vector<TPopupMenu*> menus_;
    HWND window_ = nullptr;
};

// The list whose window pop-up menus are shown for; a unit may put its own in its place.
extern TPopupList* PopupList;

// Items made in code, without an owner.
TMenuItem* NewItem(const AnsiString& ACaption, TShortCut AShortCut, bool AChecked, bool AEnabled,
                   TNotifyEvent AOnClick, Integer AHelpContext, const AnsiString& AName);
TMenuItem* NewSubMenu(const AnsiString& ACaption, Integer AHelpContext, const AnsiString& AName,
                      std::initializer_list<TMenuItem*> Items, bool AEnabled = true);
TMenuItem* NewLine();
