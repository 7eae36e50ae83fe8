// Menu items and menus over the system's menu handles. An item's sub-menu
// handle is made on first use and made again (emptied and refilled) after
// every change of the items in it.
#include "platform/vcl/Menus.h"

#include "platform/core/SysUtils.h"
#include "platform/vcl/Forms.h"
#include "platform/win/DefWindowProc.h"
#include "platform/win/DrawText.h"
#include "platform/win/Gdi.h"
#include "platform/win/Messages.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <map>
#include <set>

namespace {

constexpr const char* SMenuIndexError = "Menu index out of range";
constexpr const char* SMenuReinserted = "Menu inserted twice";
constexpr const char* SShiftWord = "Shift+";
constexpr const char* SCtrlWord = "Ctrl+";
constexpr const char* SAltWord = "Alt+";
constexpr const char* SCtrlMark = "^";
constexpr WORD menuClosedFlags = 0xFFFF;
constexpr TShortCut keyMask = 0x00FF;
constexpr Word firstNamedKey = 8;
constexpr Word lastNamedKey = 255;
// Room around an owner-drawn item's parts, in pixels.
constexpr Integer glyphMargin = 1;
constexpr Integer textGap = 2;
constexpr Integer shortcutGap = 10;
constexpr Integer textPadding = 4;
constexpr Integer bitmapGlyphWidth = 16;
constexpr Integer topLevelPadding = 6;

struct KeyName {
    Word Key;
    const char* Name;
};

constexpr KeyName keyNames[] = {
    {VK_BACK, "BkSp"},  {VK_TAB, "Tab"},     {VK_RETURN, "Enter"}, {VK_ESCAPE, "Esc"}, {VK_SPACE, "Space"},
    {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"},   {VK_END, "End"},      {VK_HOME, "Home"},  {VK_LEFT, "Left"},
    {VK_UP, "Up"},      {VK_RIGHT, "Right"}, {VK_DOWN, "Down"},    {VK_INSERT, "Ins"}, {VK_DELETE, "Del"},
};

AnsiString keyName(Word key) {
    for (const KeyName& entry : keyNames)
        if (entry.Key == key) return entry.Name;
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
        return AnsiString(1, static_cast<char>(key));
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9)
        return AnsiString(1, static_cast<char>('0' + key - VK_NUMPAD0));
    if (key >= VK_F1 && key <= VK_F24) return "F" + IntToStr(key - VK_F1 + 1);
    return {};
}

bool takeWord(AnsiString& text, const char* word) {
    AnsiString prefix(word);
    if (text.size() < prefix.size() || !SameText(text.substr(0, prefix.size()), prefix)) return false;
    text.erase(0, prefix.size());
    return true;
}

// ---- Commands ----

std::set<Word>& usedCommands() {
    static std::set<Word> commands;
    return commands;
}

Word allocateCommand() {
    std::set<Word>& used = usedCommands();
    Word command = 1;
    while (used.count(command))
        ++command;
    used.insert(command);
    return command;
}

void releaseCommand(Word command) {
    usedCommands().erase(command);
}

bool isDestroying(const TComponent* component) {
    return component && component->ComponentState().Contains(csDestroying);
}

bool isHotkeyCandidate(char character) {
    auto byte = static_cast<unsigned char>(character);
    return (byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z');
}

char upper(char character) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(character)));
}

void rebuildTree(TMenuItem* item);

} // namespace

// ---- Shortcuts and hot keys ------------------------------------------------------------

TShortCut ShortCut(Word Key, TShiftState Shift) {
    if (Key & ~keyMask) return scNone;
    TShortCut result = Key;
    if (Shift.Contains(ssShift)) result |= scShift;
    if (Shift.Contains(ssCtrl)) result |= scCtrl;
    if (Shift.Contains(ssAlt)) result |= scAlt;
    return result;
}

void ShortCutToKey(TShortCut ShortCut, Word& Key, TShiftState& Shift) {
    Key = ShortCut & keyMask;
    Shift = {};
    if (ShortCut & scShift) Shift.Include(ssShift);
    if (ShortCut & scCtrl) Shift.Include(ssCtrl);
    if (ShortCut & scAlt) Shift.Include(ssAlt);
}

AnsiString ShortCutToText(TShortCut ShortCut) {
    AnsiString name = keyName(ShortCut & keyMask);
    if (name.empty()) return {};
    AnsiString text;
    if (ShortCut & scShift) text += SShiftWord;
    if (ShortCut & scCtrl) text += SCtrlWord;
    if (ShortCut & scAlt) text += SAltWord;
    return text + name;
}

TShortCut TextToShortCut(const AnsiString& Text) {
    AnsiString rest = Text;
    TShortCut modifiers = scNone;
    for (bool found = true; found;) {
        found = true;
        if (takeWord(rest, SShiftWord))
            modifiers |= scShift;
        else if (takeWord(rest, SCtrlMark) || takeWord(rest, SCtrlWord))
            modifiers |= scCtrl;
        else if (takeWord(rest, SAltWord))
            modifiers |= scAlt;
        else
            found = false;
    }
    if (rest.empty()) return scNone;
    for (Word key = firstNamedKey; key <= lastNamedKey; ++key) {
        AnsiString name = keyName(key);
        if (!name.empty() && SameText(name, rest)) return key | modifiers;
    }
    return scNone;
}

TShortCut ShortCutFromMessage(const TMessage& Message) {
    return ShortCut(LOWORD(Message.WParam), KeyDataToShiftState(static_cast<LongInt>(Message.LParam)));
}

AnsiString StripHotkey(const AnsiString& Text) {
    AnsiString result;
    for (std::size_t index = 0; index < Text.size(); ++index) {
        if (Text[index] == cHotkey && index + 1 < Text.size()) ++index;
        if (Text[index] != cHotkey || (index > 0 && Text[index - 1] == cHotkey)) result += Text[index];
    }
    return result;
}

AnsiString GetHotkey(const AnsiString& Text) {
    AnsiString hotkey;
    for (std::size_t index = 0; index + 1 < Text.size(); ++index) {
        if (Text[index] != cHotkey) continue;
        if (Text[index + 1] != cHotkey) hotkey = AnsiString(1, Text[index + 1]);
        ++index;
    }
    return hotkey;
}

bool AnsiSameCaption(const AnsiString& Text1, const AnsiString& Text2) {
    return AnsiSameText(StripHotkey(Text1), StripHotkey(Text2));
}

// ---- TMenuActionLink ---------------------------------------------------------------------

TMenuActionLink::TMenuActionLink(TMenuItem* AClient) : TActionLink(AClient), item_(AClient) {}

namespace {
TCustomAction* customAction(TBasicActionLink* link) {
    return dynamic_cast<TCustomAction*>(link->Action());
}
} // namespace

// Automatic hot keys may have marked the item's caption.
bool TMenuActionLink::IsCaptionLinked() {
    return TActionLink::IsCaptionLinked() && AnsiSameCaption(item_->Caption(), customAction(this)->Caption());
}
bool TMenuActionLink::IsCheckedLinked() {
    return TActionLink::IsCheckedLinked() && item_->Checked() == customAction(this)->Checked();
}
bool TMenuActionLink::IsEnabledLinked() {
    return TActionLink::IsEnabledLinked() && item_->Enabled() == customAction(this)->Enabled();
}
bool TMenuActionLink::IsGroupIndexLinked() {
    return TActionLink::IsGroupIndexLinked() && item_->GroupIndex() == customAction(this)->GroupIndex();
}
bool TMenuActionLink::IsHelpContextLinked() {
    return TActionLink::IsHelpContextLinked() && item_->HelpContext() == customAction(this)->HelpContext();
}
bool TMenuActionLink::IsHintLinked() {
    return TActionLink::IsHintLinked() && item_->Hint() == customAction(this)->Hint();
}
bool TMenuActionLink::IsImageIndexLinked() {
    return TActionLink::IsImageIndexLinked() && item_->ImageIndex() == customAction(this)->ImageIndex();
}
bool TMenuActionLink::IsShortCutLinked() {
    return TActionLink::IsShortCutLinked() && item_->ShortCut() == customAction(this)->ShortCut();
}
bool TMenuActionLink::IsVisibleLinked() {
    return TActionLink::IsVisibleLinked() && item_->Visible() == customAction(this)->Visible();
}
bool TMenuActionLink::IsOnExecuteLinked() {
    return Action() && item_->OnClick == Action()->OnExecute();
}

void TMenuActionLink::SetAutoCheck(bool Value) {
    if (customAction(this)) item_->SetAutoCheck(Value);
}
void TMenuActionLink::SetCaption(const AnsiString& Value) {
    if (IsCaptionLinked()) item_->SetCaption(Value);
}
void TMenuActionLink::SetChecked(bool Value) {
    if (IsCheckedLinked()) item_->SetChecked(Value);
}
void TMenuActionLink::SetEnabled(bool Value) {
    if (IsEnabledLinked()) item_->SetEnabled(Value);
}
void TMenuActionLink::SetGroupIndex(Integer Value) {
    if (IsGroupIndexLinked()) item_->SetGroupIndex(static_cast<Byte>(Value));
}
void TMenuActionLink::SetHelpContext(Integer Value) {
    if (IsHelpContextLinked()) item_->SetHelpContext(Value);
}
void TMenuActionLink::SetHint(const AnsiString& Value) {
    if (IsHintLinked()) item_->SetHint(Value);
}
void TMenuActionLink::SetImageIndex(Integer Value) {
    if (IsImageIndexLinked()) item_->SetImageIndex(Value);
}
void TMenuActionLink::SetShortCut(TShortCut Value) {
    if (IsShortCutLinked()) item_->SetShortCut(Value);
}
void TMenuActionLink::SetVisible(bool Value) {
    if (IsVisibleLinked()) item_->SetVisible(Value);
}
void TMenuActionLink::SetOnExecute(TNotifyEvent Value) {
    if (IsOnExecuteLinked()) item_->OnClick = Value;
}

// ---- TMenuItem: the items below ------------------------------------------------------------

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), command_(allocateCommand()) {}

TMenuItem::~TMenuItem() {
    Destroying();
    while (!items_.empty())
        delete items_.back();
    if (parent_) parent_->Remove(this);
    actionLink_.reset();
    if (handle_) DestroyMenu(handle_);
    releaseCommand(command_);
}

TMenuItem* TMenuItem::Items(Integer Index) const {
    if (Index < 0 || Index >= Count()) throw EMenuError(SMenuIndexError);
    return items_[static_cast<std::size_t>(Index)];
}

void TMenuItem::Add(TMenuItem* Item) {
    Insert(Count(), Item);
}

void TMenuItem::Insert(Integer Index, TMenuItem* Item) {
    if (Item->parent_) throw EMenuError(SMenuReinserted);
    if (Index < 0 || Index > Count()) throw EMenuError(SMenuIndexError);
    items_.insert(items_.begin() + Index, Item);
    Item->parent_ = this;
    structureChanged(items_.size() == 1);
}

void TMenuItem::Delete(Integer Index) {
    TMenuItem* item = Items(Index);
    items_.erase(items_.begin() + Index);
    item->parent_ = nullptr;
    structureChanged(items_.empty());
}

void TMenuItem::Remove(TMenuItem* Item) {
    Integer index = IndexOf(Item);
    if (index >= 0) Delete(index);
}

void TMenuItem::Clear() {
    while (!items_.empty())
        delete items_.back();
}

Integer TMenuItem::IndexOf(const TMenuItem* Item) const {
    auto found = std::find(items_.begin(), items_.end(), Item);
    return found == items_.end() ? -1 : static_cast<Integer>(found - items_.begin());
}

TMenuItem* TMenuItem::Find(const AnsiString& ACaption) const {
    for (TMenuItem* item : items_)
        if (AnsiSameCaption(item->caption_, ACaption)) return item;
    return nullptr;
}

Integer TMenuItem::MenuIndex() const {
    return parent_ ? parent_->IndexOf(this) : -1;
}

void TMenuItem::SetMenuIndex(Integer Value) {
    if (!parent_) return;
    TMenuItem* parent = parent_;
    Integer count = parent->Count();
    Value = std::clamp<Integer>(Value, 0, count - 1);
    if (Value == MenuIndex()) return;
    parent->items_.erase(parent->items_.begin() + MenuIndex());
    parent->items_.insert(parent->items_.begin() + Value, this);
    parent->structureChanged(false);
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* item = this;
    while (item->parent_)
        item = item->parent_;
    return item->menu_;
}

bool TMenuItem::IsTopLevelOfMainMenu() const {
    return parent_ && parent_->menu_ && dynamic_cast<TMainMenu*>(parent_->menu_);
}

// Adding the first item or removing the last changes the parent's entry too:
// it opens a sub-menu, or no longer.
void TMenuItem::structureChanged(bool CountChanged) {
    if (isDestroying(this)) return;
    rebuildHandle();
    MenuChanged(CountChanged);
}

// ---- TMenuItem: what it shows -------------------------------------------------------------------

void TMenuItem::changed(bool Rebuild) {
    if (!isDestroying(this)) MenuChanged(Rebuild);
}

void TMenuItem::SetCaption(const AnsiString& Value) {
    if (Value == caption_) return;
    caption_ = Value;
    changed(true);
}

void TMenuItem::SetChecked(bool Value) {
    if (Value == checked_) return;
    checked_ = Value;
    if (checked_ && radioItem_) uncheckRadioGroup();
    changed(true);
}

void TMenuItem::uncheckRadioGroup() {
    if (!parent_) return;
    for (TMenuItem* sibling : parent_->items_)
        if (sibling != this && sibling->radioItem_ && sibling->groupIndex_ == groupIndex_)
            sibling->SetChecked(false);
}

void TMenuItem::SetEnabled(bool Value) {
    if (Value == enabled_) return;
    enabled_ = Value;
    changed(true);
}

void TMenuItem::SetVisible(bool Value) {
    if (Value == visible_) return;
    visible_ = Value;
    changed(true);
}

// One default item per menu.
void TMenuItem::SetDefault(bool Value) {
    if (Value == default_) return;
    if (Value && parent_)
        for (TMenuItem* sibling : parent_->items_)
            if (sibling != this) sibling->default_ = false;
    default_ = Value;
    changed(true);
}

void TMenuItem::SetRadioItem(bool Value) {
    if (Value == radioItem_) return;
    radioItem_ = Value;
    if (checked_ && radioItem_) uncheckRadioGroup();
    changed(true);
}

void TMenuItem::SetGroupIndex(Byte Value) {
    if (Value == groupIndex_) return;
    groupIndex_ = Value;
    if (checked_ && radioItem_) uncheckRadioGroup();
    changed(true);
}

void TMenuItem::SetShortCut(TShortCut Value) {
    if (Value == shortCut_) return;
    shortCut_ = Value;
    changed(true);
}

void TMenuItem::SetImageIndex(Integer Value) {
    if (Value == imageIndex_) return;
    imageIndex_ = Value;
    changed(true);
}

TBitmap* TMenuItem::Bitmap() {
    if (!bitmap_) bitmap_ = std::make_unique<TBitmap>();
    return bitmap_.get();
}

void TMenuItem::SetBitmap(TBitmap* Value) {
    Bitmap()->Assign(Value);
    changed(true);
}

void TMenuItem::SetBreak(TMenuBreak Value) {
    if (Value == break_) return;
    break_ = Value;
    changed(true);
}

void TMenuItem::SetAutoHotkeys(TMenuItemAutoFlag Value) {
    if (Value == autoHotkeys_) return;
    autoHotkeys_ = Value;
    changed(true);
}

void TMenuItem::SetAutoLineReduction(TMenuItemAutoFlag Value) {
    if (Value == autoLineReduction_) return;
    autoLineReduction_ = Value;
    changed(true);
}

bool TMenuItem::IsCaptionStored() const {
    return !actionLink_ || !actionLink_->IsCaptionLinked();
}
bool TMenuItem::IsCheckedStored() const {
    return !actionLink_ || !actionLink_->IsCheckedLinked();
}
bool TMenuItem::IsEnabledStored() const {
    return !actionLink_ || !actionLink_->IsEnabledLinked();
}
bool TMenuItem::IsHintStored() const {
    return !actionLink_ || !actionLink_->IsHintLinked();
}
bool TMenuItem::IsImageIndexStored() const {
    return !actionLink_ || !actionLink_->IsImageIndexLinked();
}
bool TMenuItem::IsShortCutStored() const {
    return !actionLink_ || !actionLink_->IsShortCutLinked();
}
bool TMenuItem::IsVisibleStored() const {
    return !actionLink_ || !actionLink_->IsVisibleLinked();
}

// ---- TMenuItem: actions ----------------------------------------------------------------------------

void TMenuItem::SetAction(TBasicAction* Value) {
    if (!Value) {
        actionLink_.reset();
        return;
    }
    if (!actionLink_) actionLink_ = CreateActionLink();
    actionLink_->SetAction(Value);
    Value->FreeNotification(this);
    ActionChange(Value, ComponentState().Contains(csLoading));
}

std::unique_ptr<TMenuActionLink> TMenuItem::CreateActionLink() {
    return std::make_unique<TMenuActionLink>(this);
}

void TMenuItem::ActionChange(TObject* Sender, bool CheckDefaults) {
    auto* action = dynamic_cast<TCustomAction*>(Sender);
    if (!action) return;
    if (!CheckDefaults || !autoCheck_) SetAutoCheck(action->AutoCheck());
    if (!CheckDefaults || caption_.empty()) SetCaption(action->Caption());
    if (!CheckDefaults || !checked_) SetChecked(action->Checked());
    if (!CheckDefaults || enabled_) SetEnabled(action->Enabled());
    if (!CheckDefaults || helpContext_ == 0) SetHelpContext(action->HelpContext());
    if (!CheckDefaults || hint_.empty()) SetHint(action->Hint());
    if (radioItem_ && (!CheckDefaults || groupIndex_ == 0))
        SetGroupIndex(static_cast<Byte>(action->GroupIndex()));
    if (!CheckDefaults || imageIndex_ == -1) SetImageIndex(action->ImageIndex());
    if (!CheckDefaults || shortCut_ == scNone) SetShortCut(action->ShortCut());
    if (!CheckDefaults || visible_) SetVisible(action->Visible());
    if (!CheckDefaults || !OnClick) OnClick = action->OnExecute();
}

void TMenuItem::InitiateAction() {
    if (actionLink_) actionLink_->Update();
}

void TMenuItem::InitiateActions() {
    for (TMenuItem* item : std::vector<TMenuItem*>(items_))
        item->InitiateAction();
}

void TMenuItem::Click() {
    if (!enabled_) return;
    auto* action = dynamic_cast<TCustomAction*>(Action());
    if (autoCheck_ && !(action && action->AutoCheck())) SetChecked(!checked_);
    if (OnClick && Action() && !(OnClick == Action()->OnExecute()))
        OnClick(this);
    else if (actionLink_)
        actionLink_->Execute(this);
    else if (OnClick)
        OnClick(this);
}

// ---- TMenuItem: the system's menu -------------------------------------------------------------------

HMENU TMenuItem::Handle() {
    if (handle_) return handle_;
    handle_ = menu_ ? menu_->createRootHandle() : CreatePopupMenu();
    rebuildHandle();
    return handle_;
}

bool TMenuItem::IsOwnerDrawn() const {
    TMenu* menu = GetParentMenu();
    return (menu && menu->IsOwnerDraw()) || HasBitmap();
}

TMenuAutoFlag TMenuItem::effectiveAutoHotkeys() const {
    if (autoHotkeys_ != maParent) return autoHotkeys_;
    if (parent_) return parent_->effectiveAutoHotkeys();
    return menu_ ? menu_->AutoHotkeys() : maAutomatic;
}

TMenuAutoFlag TMenuItem::effectiveAutoLineReduction() const {
    if (autoLineReduction_ != maParent) return autoLineReduction_;
    if (parent_) return parent_->effectiveAutoLineReduction();
    return menu_ ? menu_->AutoLineReduction() : maAutomatic;
}

// Captions without a hot key get the first letter or digit that no other
// item of the menu uses.
void TMenuItem::rethinkHotkeys() {
    if (effectiveAutoHotkeys() != maAutomatic) return;
    std::set<char> used;
    for (TMenuItem* item : items_) {
        AnsiString hotkey = GetHotkey(item->caption_);
        if (!hotkey.empty()) used.insert(upper(hotkey[0]));
    }
    for (TMenuItem* item : items_) {
        if (item->IsLine() || !item->visible_ || !GetHotkey(item->caption_).empty()) continue;
        AnsiString& caption = item->caption_;
        for (std::size_t index = 0; index < caption.size(); ++index) {
            if (!isHotkeyCandidate(caption[index]) || used.count(upper(caption[index]))) continue;
            used.insert(upper(caption[index]));
            caption.insert(index, 1, cHotkey);
            break;
        }
    }
}

// The visible items; with line reduction, no line at either end and none after another.
std::vector<TMenuItem*> TMenuItem::itemsToShow() {
    std::vector<TMenuItem*> shown;
    bool reduce = effectiveAutoLineReduction() == maAutomatic;
    for (TMenuItem* item : items_) {
        if (!item->visible_) continue;
        if (reduce && item->IsLine() && (shown.empty() || shown.back()->IsLine())) continue;
        shown.push_back(item);
    }
    if (reduce && !shown.empty() && shown.back()->IsLine()) shown.pop_back();
    return shown;
}

AnsiString TMenuItem::systemText() const {
    if (shortCut_ == scNone || !items_.empty() || IsTopLevelOfMainMenu()) return caption_;
    return caption_ + "\t" + ShortCutToText(shortCut_);
}

void TMenuItem::appendTo(HMENU Menu) {
    MENUITEMINFOA info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
    info.fType = IsLine() ? MFT_SEPARATOR : MFT_STRING;
    if (radioItem_) info.fType |= MFT_RADIOCHECK;
    if (break_ == mbBreak) info.fType |= MFT_MENUBREAK;
    if (break_ == mbBarBreak) info.fType |= MFT_MENUBARBREAK;
    if (IsOwnerDrawn()) info.fType |= MFT_OWNERDRAW;
    info.fState = (checked_ ? MFS_CHECKED : 0) | (enabled_ ? 0 : MFS_GRAYED) | (default_ ? MFS_DEFAULT : 0);
    info.wID = command_;
    info.hSubMenu = items_.empty() ? nullptr : Handle();
    AnsiString text = systemText();
    info.dwTypeData = text.data();
    InsertMenuItemA(Menu, static_cast<UINT>(-1), TRUE, &info);
}

void TMenuItem::rebuildHandle() {
    if (!handle_ || isDestroying(this)) return;
    while (GetMenuItemCount(handle_) > 0)
        RemoveMenu(handle_, 0, MF_BYPOSITION);
    rethinkHotkeys();
    for (TMenuItem* item : itemsToShow())
        item->appendTo(handle_);
}

void TMenuItem::MenuChanged(bool Rebuild) {
    if (Rebuild && parent_) parent_->rebuildHandle();
    TMenuItem* root = this;
    while (root->parent_)
        root = root->parent_;
    if (root->menu_ && !isDestroying(root->menu_)) root->menu_->DoChange(parent_ ? this : nullptr, Rebuild);
}

// ---- TMenuItem: owner drawing ----------------------------------------------------------------------

bool TMenuItem::hasValidImage() const {
    TMenu* menu = GetParentMenu();
    return menu && menu->Images() && imageIndex_ >= 0 && imageIndex_ < menu->Images()->Count();
}

void TMenuItem::MeasureItem(TCanvas* ACanvas, Integer& Width, Integer& Height) {
    TMenu* menu = GetParentMenu();
    TCustomImageList* images = menu ? menu->Images() : nullptr;
    if (IsLine()) {
        Width = textPadding;
        Height = GetSystemMetrics(SM_CYMENU) / 2;
    } else {
        if (default_) ACanvas->Font()->SetStyle(ACanvas->Font()->Style() + TFontStyles{fsBold});
        TSize text = ACanvas->TextExtent(StripHotkey(caption_));
        bool topLevel = IsTopLevelOfMainMenu();
        Integer glyph = images ? images->Width() : (HasBitmap() ? bitmapGlyphWidth : 0);
        Width = text.cx + glyph + 2 * textGap + (topLevel ? topLevelPadding : textPadding);
        if (!topLevel && shortCut_ != scNone)
            Width += ACanvas->TextWidth(ShortCutToText(shortCut_)) + shortcutGap;
        Height = std::max<Integer>(text.cy + textPadding, GetSystemMetrics(SM_CYMENU) - 2);
        if (images) Height = std::max<Integer>(Height, images->Height() + textPadding);
    }
    if (OnMeasureItem) OnMeasureItem(this, ACanvas, Width, Height);
}

void TMenuItem::DrawItem(TCanvas* ACanvas, const TRect& ARect, bool Selected) {
    if (OnDrawItem)
        OnDrawItem(this, ACanvas, ARect, Selected);
    else
        drawClassic(ACanvas, ARect, Selected ? TOwnerDrawState{odSelected} : TOwnerDrawState{}, false);
}

void TMenuItem::AdvancedDrawItem(TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State, bool TopLevel) {
    if (OnAdvancedDrawItem)
        OnAdvancedDrawItem(this, ACanvas, ARect, State);
    else if (OnDrawItem)
        DrawItem(ACanvas, ARect, State.Contains(odSelected));
    else
        drawClassic(ACanvas, ARect, State, TopLevel);
}

// The classic look: the highlight behind a selected item, the image (or the
// bitmap, or a check mark) in a column at the left, then the caption and,
// right-aligned, the shortcut.
void TMenuItem::drawClassic(TCanvas* ACanvas, TRect ARect, TOwnerDrawState State, bool TopLevel) {
    bool selected = State.Contains(odSelected);
    ACanvas->Brush()->SetStyle(bsSolid);
    ACanvas->Brush()->SetColor(selected ? clHighlight : clMenu);
    ACanvas->FillRect(ARect);
    if (IsLine()) {
        Integer middle = (ARect.Top + ARect.Bottom) / 2 - 1;
        ACanvas->Pen()->SetColor(clBtnShadow);
        ACanvas->MoveTo(ARect.Left, middle);
        ACanvas->LineTo(ARect.Right, middle);
        ACanvas->Pen()->SetColor(clBtnHighlight);
        ACanvas->MoveTo(ARect.Left, middle + 1);
        ACanvas->LineTo(ARect.Right, middle + 1);
        return;
    }
    TMenu* menu = GetParentMenu();
    TCustomImageList* images = menu ? menu->Images() : nullptr;
    const bool rightToLeft = menu && menu->IsRightToLeft();
    Integer glyphWidth = images ? images->Width() : (HasBitmap() || !TopLevel ? bitmapGlyphWidth : 0);
    TRect glyph{ARect.Left + glyphMargin, ARect.Top, ARect.Left + glyphMargin + glyphWidth, ARect.Bottom};
    if (rightToLeft)
        glyph = {ARect.Right - glyphMargin - glyphWidth, ARect.Top, ARect.Right - glyphMargin, ARect.Bottom};
    if (hasValidImage()) {
        images->Draw(ACanvas, glyph.Left, ARect.Top + (ARect.Height() - images->Height()) / 2, imageIndex_,
                     enabled_);
    } else if (HasBitmap()) {
        ACanvas->Draw(glyph.Left, ARect.Top + (ARect.Height() - bitmap_->Height()) / 2, bitmap_.get());
    } else if (checked_ && glyphWidth > 0) {
        TColor colour = selected ? clHighlightText : clMenuText;
        DrawMenuGlyph(ACanvas->Handle(), glyph, radioItem_ ? DFCS_MENUBULLET : DFCS_MENUCHECK,
                      static_cast<COLORREF>(ColorToRGB(colour)));
    }
    TRect text{glyph.Right + textGap, ARect.Top, ARect.Right - textGap, ARect.Bottom};
    if (rightToLeft) text = {ARect.Left + textGap, ARect.Top, glyph.Left - textGap, ARect.Bottom};
    if (TopLevel && glyphWidth == 0) text.Left = ARect.Left;
    UINT flags =
        DT_EXPANDTABS | DT_SINGLELINE | DT_VCENTER | (TopLevel && glyphWidth == 0 ? DT_CENTER : DT_LEFT);
    if (rightToLeft && !(TopLevel && glyphWidth == 0)) flags |= DT_RIGHT | DT_RTLREADING;
    if (State.Contains(odNoAccel)) flags |= DT_HIDEPREFIX;
    DoDrawText(ACanvas, caption_, text, selected, flags);
    if (TopLevel || shortCut_ == scNone) return;
    // The shortcut sits at the far end from the caption.
    TRect shortcut{text.Left, ARect.Top, ARect.Right - shortcutGap, ARect.Bottom};
    UINT shortcutFlags = DT_RIGHT | DT_SINGLELINE | DT_VCENTER;
    if (rightToLeft) {
        shortcut = {ARect.Left + shortcutGap, ARect.Top, text.Right, ARect.Bottom};
        shortcutFlags = DT_LEFT | DT_SINGLELINE | DT_VCENTER;
    }
    DoDrawText(ACanvas, ShortCutToText(shortCut_), shortcut, selected, shortcutFlags);
}

void TMenuItem::DoDrawText(TCanvas* ACanvas, const AnsiString& ACaption, TRect& Rect, bool Selected,
                           UINT Flags) {
    AnsiString text = ACaption;
    if ((Flags & DT_CALCRECT) && (text.empty() || text == "&")) text += ' ';
    ACanvas->Brush()->SetStyle(bsClear);
    if (default_) ACanvas->Font()->SetStyle(ACanvas->Font()->Style() + TFontStyles{fsBold});
    ACanvas->Font()->SetColor(Selected ? clHighlightText : clMenuText);
    if (!enabled_) {
        if (!Selected) {
            ACanvas->Font()->SetColor(clBtnHighlight);
            TRect shadow{Rect.Left + 1, Rect.Top + 1, Rect.Right + 1, Rect.Bottom + 1};
            ACanvas->RequiredState({csHandleValid, csFontValid, csBrushValid});
            DrawTextA(ACanvas->Handle(), text.c_str(), static_cast<int>(text.size()), &shadow, Flags);
        }
        bool sameColours = ColorToRGB(clHighlight) == ColorToRGB(clBtnShadow);
        ACanvas->Font()->SetColor(Selected && sameColours ? clBtnHighlight : clBtnShadow);
    }
    ACanvas->RequiredState({csHandleValid, csFontValid, csBrushValid});
    DrawTextA(ACanvas->Handle(), text.c_str(), static_cast<int>(text.size()), &Rect, Flags);
}

// ---- TMenuItem: streaming --------------------------------------------------------------------

TComponent* TMenuItem::GetParentComponent() const {
    if (!parent_) return nullptr;
    if (parent_->menu_) return parent_->menu_;
    return parent_;
}

void TMenuItem::SetParentComponent(TComponent* Value) {
    if (parent_) parent_->Remove(this);
    if (auto* menu = dynamic_cast<TMenu*>(Value))
        menu->Items()->Add(this);
    else if (auto* item = dynamic_cast<TMenuItem*>(Value))
        item->Add(this);
}

void TMenuItem::GetChildren(const TGetChildProc& Proc, TComponent*) {
    for (TMenuItem* item : items_)
        Proc(item);
}

void TMenuItem::Loaded() {
    TComponent::Loaded();
    if (Action()) ActionChange(Action(), true);
}

void TMenuItem::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && actionLink_ && AComponent == actionLink_->Action()) SetAction(nullptr);
}

// ---- TMenu ---------------------------------------------------------------------------------------

namespace {

// After the owner-draw switch or the images changed, every level is made again.
void rebuildTree(TMenuItem* item) {
    for (Integer index = 0; index < item->Count(); ++index)
        rebuildTree(item->Items(index));
    if (item->HandleAllocated()) item->MenuChanged(true);
}

TMenuItem* findInTree(TMenuItem* item, UINT_PTR value, TFindItemKind kind) {
    bool match = false;
    switch (kind) {
    case fkCommand:
        match = item->Command() == value;
        break;
    case fkHandle:
        match = item->HandleAllocated() && reinterpret_cast<UINT_PTR>(item->Handle()) == value;
        break;
    case fkShortCut:
        match = item->ShortCut() != scNone && item->ShortCut() == value;
        break;
    }
    if (match) return item;
    for (Integer index = 0; index < item->Count(); ++index)
        if (TMenuItem* found = findInTree(item->Items(index), value, kind)) return found;
    return nullptr;
}

} // namespace

TMenu::TMenu(TComponent* AOwner)
    : TComponent(AOwner), items_(std::make_unique<TMenuItem>(nullptr)),
      imageChangeLink_(std::make_unique<TChangeLink>()) {
    items_->menu_ = this;
    imageChangeLink_->OnChange = TNotifyEvent(this, &TMenu::imagesChanged);
}

TMenu::~TMenu() {
    Destroying();
    SetImages(nullptr);
    items_.reset();
}

HMENU TMenu::GetHandle() {
    return items_->Handle();
}

HMENU TMenu::createRootHandle() {
    return CreatePopupMenu();
}

void TMenu::imagesChanged(TObject*) {
    rebuildTree(items_.get());
}

void TMenu::SetImages(TCustomImageList* Value) {
    if (Value == images_) return;
    if (images_) {
        images_->UnRegisterChanges(imageChangeLink_.get());
        images_->RemoveFreeNotification(this);
    }
    images_ = Value;
    if (images_) {
        images_->RegisterChanges(imageChangeLink_.get());
        images_->FreeNotification(this);
    }
    if (!isDestroying(this)) rebuildTree(items_.get());
}

void TMenu::SetOwnerDraw(bool Value) {
    if (Value == ownerDraw_) return;
    ownerDraw_ = Value;
    rebuildTree(items_.get());
}

void TMenu::SetAutoHotkeys(TMenuAutoFlag Value) {
    if (Value == autoHotkeys_) return;
    autoHotkeys_ = Value;
    rebuildTree(items_.get());
}

void TMenu::SetAutoLineReduction(TMenuAutoFlag Value) {
    if (Value == autoLineReduction_) return;
    autoLineReduction_ = Value;
    rebuildTree(items_.get());
}

TMenuItem* TMenu::FindItem(UINT_PTR Value, TFindItemKind Kind) const {
    return findInTree(items_.get(), Value, Kind);
}

bool TMenu::DispatchCommand(Word ACommand) {
    TMenuItem* item = FindItem(ACommand, fkCommand);
    if (!item || item == items_.get()) return false;
    item->Click();
    return true;
}

bool TMenu::DispatchPopup(HMENU AMenu) {
    TMenuItem* item = FindItem(reinterpret_cast<UINT_PTR>(AMenu), fkHandle);
    if (!item) return false;
    item->InitiateActions();
    item->Click();
    return true;
}

bool TMenu::IsShortCut(TMessage& Message) {
    TShortCut shortCut = ShortCutFromMessage(Message);
    if ((shortCut & keyMask) == 0) return false;
    TMenuItem* item = FindItem(shortCut, fkShortCut);
    if (!item || item == items_.get()) return false;
    item->InitiateAction();
    if (!item->Enabled()) return false;
    item->Click();
    return true;
}

void TMenu::ProcessMenuChar(TMessage& Message) {
    TMenuItem* parent = FindItem(static_cast<UINT_PTR>(Message.LParam), fkHandle);
    if (!parent) return;
    AnsiString typed(1, upper(static_cast<char>(LOWORD(Message.WParam))));
    std::vector<TMenuItem*> shown = parent->itemsToShow();
    std::vector<Integer> matches;
    for (std::size_t index = 0; index < shown.size(); ++index)
        if (SameText(GetHotkey(shown[index]->Caption()), typed))
            matches.push_back(static_cast<Integer>(index));
    if (matches.empty()) return;
    WORD action = matches.size() == 1 ? MNC_EXECUTE : MNC_SELECT;
    Message.Result = static_cast<LRESULT>(MAKELONG(static_cast<WORD>(matches.front()), action));
}

void TMenu::showHint(WPARAM WParam, LPARAM LParam) {
    TMenuItem* item = nullptr;
    auto menu = reinterpret_cast<HMENU>(LParam);
    WORD flags = HIWORD(WParam);
    if (menu && flags != menuClosedFlags) {
        if (flags & MF_POPUP)
            item = FindItem(reinterpret_cast<UINT_PTR>(GetSubMenu(menu, LOWORD(WParam))), fkHandle);
        else
            item = FindItem(LOWORD(WParam), fkCommand);
    }
    Application->SetHint(item ? GetLongHint(item->Hint()) : AnsiString());
}

void TMenu::measureItem(MEASUREITEMSTRUCT& Measure) {
    TMenuItem* item = FindItem(Measure.itemID, fkCommand);
    if (!item) return;
    HDC screen = GetDC(nullptr);
    int saved = SaveDC(screen);
    TCanvas canvas;
    canvas.SetHandle(screen);
    canvas.SetFont(Screen->MenuFont());
    auto width = static_cast<Integer>(Measure.itemWidth);
    auto height = static_cast<Integer>(Measure.itemHeight);
    item->MeasureItem(&canvas, width, height);
    Measure.itemWidth = static_cast<UINT>(std::max(width, 0));
    Measure.itemHeight = static_cast<UINT>(std::max(height, 0));
    canvas.SetHandle(nullptr);
    RestoreDC(screen, saved);
    ReleaseDC(nullptr, screen);
}

void TMenu::drawItem(const DRAWITEMSTRUCT& Draw) {
    TMenuItem* item = FindItem(Draw.itemID, fkCommand);
    if (!item) return;
    int saved = SaveDC(Draw.hDC);
    TCanvas canvas;
    canvas.SetHandle(Draw.hDC);
    canvas.SetFont(Screen->MenuFont());
    item->AdvancedDrawItem(&canvas, Draw.rcItem, OwnerDrawStateOf(Draw.itemState),
                           item->IsTopLevelOfMainMenu());
    canvas.SetHandle(nullptr);
    RestoreDC(Draw.hDC, saved);
}

bool TMenu::HandleMenuMessage(TMessage& Message) {
    switch (Message.Msg) {
    case WM_COMMAND:
        return HIWORD(Message.WParam) == 0 && Message.LParam == 0 && DispatchCommand(LOWORD(Message.WParam));
    case WM_INITMENUPOPUP:
        return DispatchPopup(reinterpret_cast<HMENU>(Message.WParam));
    case WM_MENUSELECT: {
        auto menu = reinterpret_cast<HMENU>(Message.LParam);
        bool closing = !menu && HIWORD(Message.WParam) == menuClosedFlags;
        bool ours = closing || FindItem(reinterpret_cast<UINT_PTR>(menu), fkHandle);
        if (ours) showHint(Message.WParam, Message.LParam);
        return ours;
    }
    case WM_MENUCHAR:
        ProcessMenuChar(Message);
        return Message.Result != 0;
    case WM_MEASUREITEM: {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
        if (!measure || measure->CtlType != ODT_MENU || !FindItem(measure->itemID, fkCommand)) return false;
        measureItem(*measure);
        Message.Result = 1;
        return true;
    }
    case WM_DRAWITEM: {
        auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
        if (!draw || draw->CtlType != ODT_MENU || !FindItem(draw->itemID, fkCommand)) return false;
        drawItem(*draw);
        Message.Result = 1;
        return true;
    }
    default:
        return false;
    }
}

void TMenu::DoChange(TMenuItem* Source, bool Rebuild) {
    if (OnChange) OnChange(this, Source, Rebuild);
}

void TMenu::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
    items_->GetChildren(Proc, Root);
}

void TMenu::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == images_) SetImages(nullptr);
}

void TMenu::Loaded() {
    TComponent::Loaded();
    if (items_->HandleAllocated()) rebuildTree(items_.get());
}

// ---- TMainMenu ---------------------------------------------------------------------------------

namespace {

std::map<TCustomForm*, TMainMenu*>& formMenus() {
    static std::map<TCustomForm*, TMainMenu*> menus;
    return menus;
}

} // namespace

TMainMenu::TMainMenu(TComponent* AOwner) : TMenu(AOwner) {}

TMainMenu::~TMainMenu() {
    detachFromForm();
    SetWindowHandle(nullptr);
}

HMENU TMainMenu::createRootHandle() {
    return CreateMenu();
}

void TMainMenu::SetWindowHandle(HWND Value) {
    if (windowHandle_ && windowHandle_ != Value && IsWindow(windowHandle_) &&
        GetMenu(windowHandle_) == Handle())
        SetMenu(windowHandle_, nullptr);
    windowHandle_ = Value;
    if (windowHandle_) SetMenu(windowHandle_, Handle());
}

void TMainMenu::DoChange(TMenuItem* Source, bool Rebuild) {
    TMenu::DoChange(Source, Rebuild);
    if (windowHandle_ && IsWindow(windowHandle_)) DrawMenuBar(windowHandle_);
}

// The form is being destroyed and its window is gone already: only the link is forgotten.
void TMainMenu::Notification(TComponent* AComponent, TOperation Operation) {
    TMenu::Notification(AComponent, Operation);
    if (Operation != opRemove || AComponent != form_) return;
    formMenus().erase(form_);
    form_ = nullptr;
    windowHandle_ = nullptr;
}

void TMainMenu::attachToForm(TCustomForm* Form) {
    form_ = Form;
    formMenus()[Form] = this;
    Form->FreeNotification(this);
    formPreviousWindowProc_ = Form->WindowProc;
    Form->WindowProc = TWndMethod(this, &TMainMenu::formWindowProc);
    if (!Form->OnShortCut) Form->OnShortCut = TShortCutEvent(this, &TMainMenu::formShortCut);
    if (Form->HandleAllocated()) SetWindowHandle(Form->WindowHandle());
}

void TMainMenu::detachFromForm() {
    TCustomForm* form = std::exchange(form_, nullptr);
    if (!form) return;
    formMenus().erase(form);
    if (form->WindowProc == TWndMethod(this, &TMainMenu::formWindowProc))
        form->WindowProc = formPreviousWindowProc_;
    if (form->OnShortCut == TShortCutEvent(this, &TMainMenu::formShortCut)) form->OnShortCut = nullptr;
    form->RemoveFreeNotification(this);
    SetWindowHandle(nullptr);
}

// The form's messages: the menu's own first, the rest to the form. The
// highlighted item's hint is the form's to show (TCustomForm::WMMenuSelect).
// Only the window's creation and end are looked at afterwards, since other
// messages (CM_RELEASE) may free the form and this menu with it.
void TMainMenu::formWindowProc(TMessage& Message) {
    if (Message.Msg != WM_MENUSELECT && HandleMenuMessage(Message)) return;
    TWndMethod previous = formPreviousWindowProc_;
    UINT message = Message.Msg;
    previous(Message);
    if (message == WM_CREATE && form_) SetWindowHandle(form_->WindowHandle());
    if (message == WM_NCDESTROY) windowHandle_ = nullptr;
}

void TMainMenu::formShortCut(TMessage& Message, bool& Handled) {
    Handled = IsShortCut(Message);
}

void SetFormMenu(TCustomForm* Form, TMainMenu* Menu) {
    if (!Form) return;
    TMainMenu* current = GetFormMenu(Form);
    if (current == Menu) return;
    if (current) current->detachFromForm();
    if (!Menu) return;
    Menu->detachFromForm();
    Menu->attachToForm(Form);
}

TMainMenu* GetFormMenu(TCustomForm* Form) {
    auto found = formMenus().find(Form);
    return found == formMenus().end() ? nullptr : found->second;
}

// ---- TPopupMenu ------------------------------------------------------------------------------------

namespace {

TPopupList& defaultPopupList() {
    static TPopupList list;
    return list;
}

UINT alignmentFlags(TPopupAlignment alignment) {
    switch (alignment) {
    case paRight:
        return TPM_RIGHTALIGN;
    case paCenter:
        return TPM_CENTERALIGN;
    default:
        return TPM_LEFTALIGN;
    }
}

// A right click on a control with a pop-up menu shows it there.
bool showControlPopup(TComponent* Menu, TControl* Control, TPoint ScreenPos) {
    auto* popup = dynamic_cast<TPopupMenu*>(Menu);
    if (!popup || !popup->AutoPopup()) return false;
    popup->SetPopupComponent(Control);
    popup->Popup(ScreenPos.x, ScreenPos.y);
    return true;
}

struct InstallPopupMenuHook {
    InstallPopupMenuHook() { PopupMenuHook = &showControlPopup; }
} installPopupMenuHook;

} // namespace

TPopupList* PopupList = &defaultPopupList();

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {
    PopupList->Add(this);
}

TPopupMenu::~TPopupMenu() {
    PopupList->Remove(this);
}

void TPopupMenu::Popup(Integer X, Integer Y) {
    popupPoint_ = {X, Y};
    DoPopup(this);
    HMENU handle = Items()->Handle();
    // A right-to-left menu opens the other way.
    TPopupAlignment alignment = alignment_;
    if (IsRightToLeft() && alignment != paCenter) alignment = alignment == paLeft ? paRight : paLeft;
    UINT flags =
        alignmentFlags(alignment) | (trackButton_ == tbRightButton ? TPM_RIGHTBUTTON : TPM_LEFTBUTTON);
    TrackPopupMenu(handle, flags, X, Y, 0, PopupList->Window(), nullptr);
}

void TPopupMenu::DoPopup(TObject* Sender) {
    if (OnPopup) OnPopup(Sender);
}

void TPopupMenu::SetPopupComponent(TComponent* Value) {
    if (popupComponent_) popupComponent_->RemoveFreeNotification(this);
    popupComponent_ = Value;
    if (popupComponent_) popupComponent_->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
    TMenu::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == popupComponent_) popupComponent_ = nullptr;
}

// ---- TPopupList ------------------------------------------------------------------------------------

TPopupList::~TPopupList() {
    if (window_) DeallocateHWnd(window_);
}

void TPopupList::Add(TPopupMenu* Menu) {
    menus_.push_back(Menu);
    if (!window_) window_ = AllocateHWnd(TWndMethod(this, &TPopupList::mainWndProc));
}

void TPopupList::Remove(TPopupMenu* Menu) {
    std::erase(menus_, Menu);
    if (menus_.empty() && window_) DeallocateHWnd(std::exchange(window_, nullptr));
}

void TPopupList::mainWndProc(TMessage& Message) {
    try {
        WndProc(Message);
    } catch (...) {
        Application->HandleException(this);
    }
}

void TPopupList::WndProc(TMessage& Message) {
    for (TPopupMenu* menu : std::vector<TPopupMenu*>(menus_))
        if (menu->HandleMenuMessage(Message)) return;
    if (Message.Msg == WM_MENUSELECT) Application->SetHint({});
    Message.Result = DefWindowProcA(window_, Message.Msg, Message.WParam, Message.LParam);
}

// ---- Items made in code ------------------------------------------------------------------------------

TMenuItem* NewItem(const AnsiString& ACaption, TShortCut AShortCut, bool AChecked, bool AEnabled,
                   TNotifyEvent AOnClick, Integer AHelpContext, const AnsiString& AName) {
    auto* item = new TMenuItem(nullptr);
    item->SetCaption(ACaption);
    item->SetShortCut(AShortCut);
    item->SetChecked(AChecked);
    item->SetEnabled(AEnabled);
    item->OnClick = AOnClick;
    item->SetHelpContext(AHelpContext);
    item->SetName(AName);
    return item;
}

TMenuItem* NewSubMenu(const AnsiString& ACaption, Integer AHelpContext, const AnsiString& AName,
                      std::initializer_list<TMenuItem*> Items, bool AEnabled) {
    auto* item = new TMenuItem(nullptr);
    for (TMenuItem* child : Items)
        item->Add(child);
    item->SetCaption(ACaption);
    item->SetHelpContext(AHelpContext);
    item->SetName(AName);
    item->SetEnabled(AEnabled);
    return item;
}

TMenuItem* NewLine() {
    auto* item = new TMenuItem(nullptr);
    item->SetCaption(cLineCaption);
    return item;
}

// ---- Streaming --------------------------------------------------------------------------------------

namespace {

const TTypeInfo* const menuBreakType =
    DefineEnum<TMenuBreak>("TMenuBreak", {"mbNone", "mbBreak", "mbBarBreak"});
const TTypeInfo* const menuAutoFlagType =
    DefineEnum<TMenuAutoFlag>("TMenuAutoFlag", {"maAutomatic", "maManual", "maParent"});
const TTypeInfo* const popupAlignmentType =
    DefineEnum<TPopupAlignment>("TPopupAlignment", {"paLeft", "paRight", "paCenter"});
const TTypeInfo* const trackButtonType =
    DefineEnum<TTrackButton>("TTrackButton", {"tbRightButton", "tbLeftButton"});

const TClass menuItemClass = DescribeClass<TMenuItem, TComponent>([](TClassBuilder<TMenuItem>& c) {
    c.Property("Action", &TMenuItem::Action, &TMenuItem::SetAction);
    c.Property("AutoCheck", &TMenuItem::AutoCheck, &TMenuItem::SetAutoCheck).Default(false);
    c.Property("AutoHotkeys", &TMenuItem::AutoHotkeys, &TMenuItem::SetAutoHotkeys).Default(maParent);
    c.Property("AutoLineReduction", &TMenuItem::AutoLineReduction, &TMenuItem::SetAutoLineReduction)
        .Default(maParent);
    c.Property("Bitmap", &TMenuItem::Bitmap, &TMenuItem::SetBitmap).Stored(&TMenuItem::HasBitmap);
    c.Property("Break", &TMenuItem::Break, &TMenuItem::SetBreak).Default(mbNone);
    c.Property("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption).Stored(&TMenuItem::IsCaptionStored);
    c.Property("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked)
        .Default(false)
        .Stored(&TMenuItem::IsCheckedStored);
    c.Property("Default", &TMenuItem::Default, &TMenuItem::SetDefault).Default(false);
    c.Property("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled)
        .Default(true)
        .Stored(&TMenuItem::IsEnabledStored);
    c.Property("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex).Default(0);
    c.Property("HelpContext", &TMenuItem::HelpContext, &TMenuItem::SetHelpContext).Default(0);
    c.Property("Hint", &TMenuItem::Hint, &TMenuItem::SetHint).Stored(&TMenuItem::IsHintStored);
    c.Property("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex)
        .Default(-1)
        .Stored(&TMenuItem::IsImageIndexStored);
    c.Property("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem).Default(false);
    c.Property("ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut)
        .Type(TypeInfoShortCut())
        .Default(0)
        .Stored(&TMenuItem::IsShortCutStored);
    c.Property("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible)
        .Default(true)
        .Stored(&TMenuItem::IsVisibleStored);
    c.Property("OnAdvancedDrawItem", &TMenuItem::OnAdvancedDrawItem, &TMenuItem::OnAdvancedDrawItem);
    c.Property("OnClick", &TMenuItem::OnClick, &TMenuItem::OnClick);
    c.Property("OnDrawItem", &TMenuItem::OnDrawItem, &TMenuItem::OnDrawItem);
    c.Property("OnMeasureItem", &TMenuItem::OnMeasureItem, &TMenuItem::OnMeasureItem);
});

const TClass menuClass = DescribeClass<TMenu, TComponent>([](TClassBuilder<TMenu>& c) {
    c.Property("AutoHotkeys", &TMenu::AutoHotkeys, &TMenu::SetAutoHotkeys).Default(maAutomatic);
    c.Property("AutoLineReduction", &TMenu::AutoLineReduction, &TMenu::SetAutoLineReduction)
        .Default(maAutomatic);
    c.Property("BiDiMode", &TMenu::BiDiMode, &TMenu::SetBiDiMode).Default(bdLeftToRight);
    c.Property("Images", &TMenu::Images, &TMenu::SetImages);
    c.Property("OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw).Default(false);
    c.Property("ParentBiDiMode", &TMenu::ParentBiDiMode, &TMenu::SetParentBiDiMode).Default(true);
    c.Property("OnChange", &TMenu::OnChange, &TMenu::OnChange);
});

const TClass mainMenuClass = DescribeClass<TMainMenu, TMenu>();

const TClass popupMenuClass = DescribeClass<TPopupMenu, TMenu>([](TClassBuilder<TPopupMenu>& c) {
    c.Property("Alignment", &TPopupMenu::Alignment, &TPopupMenu::SetAlignment).Default(paLeft);
    c.Property("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup).Default(true);
    c.Property("HelpContext", &TPopupMenu::HelpContext, &TPopupMenu::SetHelpContext).Default(0);
    c.Property("TrackButton", &TPopupMenu::TrackButton, &TPopupMenu::SetTrackButton).Default(tbRightButton);
    c.Property("OnPopup", &TPopupMenu::OnPopup, &TPopupMenu::OnPopup);
});

struct RegisterMenuClasses {
    RegisterMenuClasses() {
        RegisterClasses({ClassOf<TMainMenu>(), ClassOf<TPopupMenu>(), ClassOf<TMenuItem>()});
    }
} registerMenuClasses;

} // namespace
