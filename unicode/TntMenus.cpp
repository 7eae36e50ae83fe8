#include "unicode/TntMenus.h"

#include "platform/core/CodePages.h"
#include "platform/core/SysUtils.h"
#include "platform/win/Keyboard.h"
#include "platform/win/LastError.h"
#include "unicode/TntActnList.h"
#include "unicode/TntClasses.h"
#include "unicode/TntControls.h"
#include "unicode/TntForms.h"
#include "unicode/TntSystem.h"

namespace {

constexpr WideChar HotkeyMark = u'&';
constexpr const char* SSyncHotKeyFailed = "Internal Error: SyncHotKeyPosition Failed (\"%s\" <> \"%s\").";
constexpr const char* SNoItemForImage = "TNT Internal Error: ItemHasValidImage: item = nil";
constexpr std::u16string_view ShiftWord = u"Shift+";
constexpr std::u16string_view CtrlWord = u"Ctrl+";
constexpr std::u16string_view CtrlMark = u"^";
constexpr std::u16string_view AltWord = u"Alt+";
constexpr Word FirstShortCutKey = 8;
// Key codes above 255 would only repeat lower ones.
constexpr Word LastShortCutKey = 255;
constexpr TShortCut KeyMask = 0xFF;
// The room GetMenuItemInfoW is given for an item's text.
constexpr UINT MenuTextBufferLength = 80;
constexpr UINT NotTextTypes = MFT_BITMAP | MFT_SEPARATOR | MFT_OWNERDRAW;

// A Far-East bracketed hot key "(&F)": the "&" at I with "(" before and ")" two after.
bool isBracketedHotkey(const WideString& Text, std::size_t I) {
    return SysLocaleFarEast && I >= 1 && I + 2 < Text.size() && Text[I - 1] == u'(' && Text[I + 2] == u')';
}

bool takeWord(WideString& Text, std::u16string_view Word) {
    if (!Text.starts_with(Word)) return false;
    Text.erase(0, Word.size());
    return true;
}

// The framework names these keys itself.
bool hasFrameworkName(Word Key) {
    switch (Key) {
    case VK_BACK:
    case VK_TAB:
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_SPACE:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
    case VK_INSERT:
    case VK_DELETE:
        return true;
    default:
        return Key >= VK_F1 && Key <= VK_F24;
    }
}

bool isCharacterKey(Word Key) {
    return (Key >= '0' && Key <= '9') || (Key >= 'A' && Key <= 'Z') ||
           (Key >= VK_NUMPAD0 && Key <= VK_NUMPAD9);
}

WideString keyNameOf(Word Key) {
    if (hasFrameworkName(Key)) return AnsiToWide(ShortCutToText(Key));
    if (isCharacterKey(Key)) {
        const UINT character = MapVirtualKeyW(Key, MAPVK_VK_TO_CHAR);
        return character ? WideString(1, static_cast<WideChar>(character)) : WideString();
    }
    return AnsiToWide(ShortCutToText(Key));
}

// The ANSI caption's hot-key marks, copied into the wide caption (Source is
// the ANSI caption widened, Dest the wide caption).
void syncHotKeyPosition(const WideString& Source, WideString& Dest) {
    if (WideToAnsi(Source) == WideToAnsi(Dest)) return;
    if (WideToAnsi(WideStripHotkey(Source)) != WideToAnsi(WideStripHotkey(Dest))) return;
    Dest = WideStripHotkey(Dest);
    for (std::size_t i = 0; i < Source.size();) {
        if (Source[i] != HotkeyMark) {
            ++i;
        } else if (isBracketedHotkey(Source, i)) {
            Dest.insert(i - 1, Source.substr(i - 1, 4));
            i += 3;
        } else {
            Dest.insert(i, 1, HotkeyMark);
            i += 2;
        }
    }
    if (WideToAnsi(Source) != WideToAnsi(Dest))
        throw ETntInternalError(Format(SSyncHotKeyFailed, {WideToAnsi(Source), WideToAnsi(Dest)}));
}

bool isReadingOrDestroying(const TComponent* Component) {
    const TComponentState state = Component->ComponentState();
    return state.Contains(csReading) || state.Contains(csDestroying);
}

WideString menuItemText(HMENU Menu, UINT Command) {
    const int length = GetMenuStringW(Menu, Command, nullptr, 0, MF_BYCOMMAND);
    WideString text(static_cast<std::size_t>(std::max(length, 0)) + 1, u'\0');
    const int copied = GetMenuStringW(Menu, Command, text.data(), length + 1, MF_BYCOMMAND);
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return text;
}

// The type of a text item, or nothing for bitmaps, lines and owner-drawn items.
bool textItemType(HMENU Menu, UINT Command, MENUITEMINFOW& Info) {
    WCHAR buffer[MenuTextBufferLength];
    Info.cbSize = MENUITEMINFO_SIZE_VERSION_400W;
    Info.fMask = MIIM_TYPE;
    Info.dwTypeData = buffer;
    Info.cch = MenuTextBufferLength;
    return GetMenuItemInfoW(Menu, Command, FALSE, &Info) && (Info.fType & NotTextTypes) == 0;
}

TMenuItem* firstRootItem(TMenu* Menu) {
    return Menu && Menu->Items()->Count() > 0 ? Menu->Items()->Items(0) : nullptr;
}

// The framework's popup list with a window whose menu messages also set the
// wide application hint.
class TTntPopupList : public TPopupList {
public:
    TPopupList* savedPopupList = PopupList;

protected:
    void WndProc(TMessage& Message) override;

private:
    TMenuItem* selectedItem(const TMessage& Message);
};

TTntPopupList& tntPopupList() {
    static TTntPopupList list;
    return list;
}

TMenuItem* TTntPopupList::selectedItem(const TMessage& Message) {
    const auto menu = reinterpret_cast<HMENU>(Message.LParam);
    const Word flags = HIWORD(Message.WParam);
    for (Integer i = 0; i < Count(); ++i) {
        TMenuItem* item = nullptr;
        if (!(flags & MF_POPUP))
            item = Items(i)->FindItem(LOWORD(Message.WParam), fkCommand);
        else if (menu)
            item = Items(i)->FindItem(reinterpret_cast<UINT_PTR>(GetSubMenu(menu, LOWORD(Message.WParam))),
                                      fkHandle);
        if (item) return item;
    }
    return nullptr;
}

void TTntPopupList::WndProc(TMessage& Message) {
    if (Message.Msg == WM_MENUSELECT) {
        if (TMenuItem* item = selectedItem(Message)) {
            TntApplication()->SetHint(WideGetLongHint(WideGetMenuItemHint(item)));
            return;
        }
        TntApplication()->SetHint(WideString());
    } else if (Message.Msg == WM_ENTERMENULOOP) {
        PopupList = savedPopupList;
        for (Integer i = 0; i < Count(); ++i)
            FixMenuBiDiProblem(Items(i));
    }
    TPopupList::WndProc(Message);
}

} // namespace

// ---- Shortcuts and hot keys ----------------------------------------------------------------

TShortCut MessageToShortCut(const TMessage& Message) {
    return ShortCutFromMessage(Message);
}

WideString WideShortCutToText(TShortCut ShortCut) {
    if (!Win32PlatformIsUnicode) return AnsiToWide(::ShortCutToText(ShortCut));
    const WideString name = keyNameOf(static_cast<Word>(ShortCut & KeyMask));
    if (name.empty()) return {};
    WideString text;
    if (ShortCut & scShift) text += ShiftWord;
    if (ShortCut & scCtrl) text += CtrlWord;
    if (ShortCut & scAlt) text += AltWord;
    return text + name;
}

TShortCut WideTextToShortCut(WideString Text) {
    TShortCut modifiers = scNone;
    for (bool found = true; found;) {
        found = true;
        if (takeWord(Text, ShiftWord))
            modifiers |= scShift;
        else if (takeWord(Text, CtrlMark) || takeWord(Text, CtrlWord))
            modifiers |= scCtrl;
        else if (takeWord(Text, AltWord))
            modifiers |= scAlt;
        else
            found = false;
    }
    if (Text.empty()) return scNone;
    for (Word key = FirstShortCutKey; key <= LastShortCutKey; ++key)
        if (LocaleCompareWide(WideShortCutToText(key), Text, true) == 0) return key | modifiers;
    return scNone;
}

WideString WideGetHotkey(const WideString& Caption) {
    WideString hotkey;
    for (std::size_t i = 0; i + 1 < Caption.size(); ++i) {
        if (Caption[i] != HotkeyMark) continue;
        if (Caption[i + 1] != HotkeyMark) hotkey = Caption.substr(i + 1, 1);
        ++i;
    }
    return hotkey;
}

WideString WideStripHotkey(const WideString& Caption) {
    WideString text = Caption;
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] != HotkeyMark) {
            ++i;
        } else if (isBracketedHotkey(text, i)) {
            text.erase(i - 1, 4);
            i = i >= 2 ? i - 2 : 0;
        } else {
            text.erase(i, 1);
            ++i;
        }
    }
    return text;
}

bool WideSameCaption(const WideString& Text1, const WideString& Text2) {
    return LocaleCompareWide(WideStripHotkey(Text1), WideStripHotkey(Text2), true) == 0;
}

WideString WideGetMenuItemCaption(TMenuItem* Item) {
    if (auto* wide = dynamic_cast<TTntMenuItem*>(Item)) return wide->Caption();
    return AnsiToWide(Item->Caption());
}

WideString WideGetMenuItemHint(TMenuItem* Item) {
    if (auto* wide = dynamic_cast<TTntMenuItem*>(Item)) return wide->Hint();
    return AnsiToWide(Item->Hint());
}

bool MenuItemHasBitmap(TMenuItem* Item) {
    return Item->HasBitmap();
}

bool ItemHasValidImage(TMenuItem* Item) {
    if (!Item) throw ETntInternalError(SNoItemForImage);
    TMenu* menu = Item->GetParentMenu();
    TCustomImageList* images = menu ? menu->Images() : nullptr;
    const bool inList = images && Item->ImageIndex() >= 0 && Item->ImageIndex() < images->Count();
    return inList || MenuItemHasBitmap(Item);
}

void FixMenuBiDiProblem(TMenu* Menu) {
    if (!SysLocaleMiddleEast) return;
    if (auto* first = dynamic_cast<TTntMenuItem*>(firstRootItem(Menu))) first->UpdateMenuString(Menu);
}

// ---- TTntMenuItem ------------------------------------------------------------------------------

WideString TTntMenuItem::Caption() {
    const AnsiString ansi = TMenuItem::Caption();
    syncHotKeyPosition(AnsiToWide(ansi), caption_);
    return GetSyncedWideString(caption_, ansi);
}

void TTntMenuItem::SetCaption(const WideString& Value) {
    Caption();
    SetSyncedWideString(Value, caption_, TMenuItem::Caption(),
                        TSetAnsiStrEvent(this, &TTntMenuItem::setInheritedCaption));
}

WideString TTntMenuItem::Hint() {
    return GetSyncedWideString(hint_, TMenuItem::Hint());
}

void TTntMenuItem::SetHint(const WideString& Value) {
    SetSyncedWideString(Value, hint_, TMenuItem::Hint(),
                        TSetAnsiStrEvent(this, &TTntMenuItem::setInheritedHint));
}

bool TTntMenuItem::IsCaptionStored() const {
    return !ActionLink() || !ActionLink()->IsCaptionLinked();
}

bool TTntMenuItem::IsHintStored() const {
    return !ActionLink() || !ActionLink()->IsHintLinked();
}

TTntMenuItem* TTntMenuItem::Find(const WideString& ACaption) {
    for (Integer i = 0; i < Count(); ++i)
        if (WideSameCaption(WideGetMenuItemCaption(Items(i)), ACaption))
            return dynamic_cast<TTntMenuItem*>(Items(i));
    return nullptr;
}

void TTntMenuItem::UpdateMenuString(TMenu* ParentMenu) {
    if (!Win32PlatformIsUnicode || !Parent() || !ParentMenu || isReadingOrDestroying(this) || !Visible())
        return;
    const HMENU menu = Parent()->Handle();
    MENUITEMINFOW info;
    if (!textItemType(menu, Command(), info)) return;
    WideString wanted = Caption();
    if (Count() == 0 && ShortCut() != scNone && !IsTopLevelOfMainMenu())
        wanted += u"\t" + WideShortCutToText(ShortCut());
    if (menuItemText(menu, Command()) == wanted) return;
    if (!textItemType(menu, Command(), info)) return;
    info.fMask = MIIM_TYPE;
    info.dwTypeData = wanted.data();
    info.cch = static_cast<UINT>(wanted.size());
    if (!SetMenuItemInfoW(menu, Command(), FALSE, &info)) RaiseLastOSError();
    auto* mainMenu = dynamic_cast<TMainMenu*>(ParentMenu);
    if (Parent() == ParentMenu->Items() && mainMenu && mainMenu->WindowHandle())
        DrawMenuBar(mainMenu->WindowHandle());
}

void TTntMenuItem::ActionChange(TObject* Sender, bool CheckDefaults) {
    auto* action = dynamic_cast<TCustomAction*>(Sender);
    if (action && dynamic_cast<ITntAction*>(action)) {
        if (!CheckDefaults || Caption().empty()) SetCaption(TntAction_GetCaption(action));
        if (!CheckDefaults || Hint().empty()) SetHint(TntAction_GetHint(action));
    }
    TMenuItem::ActionChange(Sender, CheckDefaults);
}

std::unique_ptr<TMenuActionLink> TTntMenuItem::CreateActionLink() {
    return std::make_unique<TTntMenuActionLink>(this);
}

void TTntMenuItem::MenuChanged(bool Rebuild) {
    if (ignoreMenuChanged_) return;
    TMenuItem::MenuChanged(Rebuild);
    UpdateMenuStrings(this, GetParentMenu());
    FixMenuBiDiProblem(GetParentMenu());
}

void TTntMenuItem::Loaded() {
    TMenuItem::Loaded();
    UpdateMenuString(GetParentMenu());
}

void TTntMenuItem::DefineProperties(TFiler* Filer) {
    TMenuItem::DefineProperties(Filer);
    TntPersistent_AfterInherited_DefineProperties(Filer, this);
}

void UpdateMenuStrings(TMenuItem* Item, TMenu* ParentMenu) {
    if (isReadingOrDestroying(Item)) return;
    for (Integer i = Item->Count() - 1; i >= 0; --i)
        UpdateMenuStrings(Item->Items(i), ParentMenu);
    if (auto* wide = dynamic_cast<TTntMenuItem*>(Item)) wide->UpdateMenuString(ParentMenu);
}

// ---- TTntMenuActionLink -----------------------------------------------------------------------

TTntMenuActionLink::TTntMenuActionLink(TMenuItem* AClient) : TMenuActionLink(AClient) {}

TTntMenuItem* TTntMenuActionLink::wideItem() const {
    auto* item = dynamic_cast<TTntMenuItem*>(MenuItem());
    if (!item) throw EInvalidCast(SInvalidCast);
    return item;
}

bool TTntMenuActionLink::IsCaptionLinked() {
    auto* action = dynamic_cast<TCustomAction*>(Action());
    if (!action) throw EInvalidCast(SInvalidCast);
    return TMenuActionLink::IsCaptionLinked() &&
           WideSameCaption(TntAction_GetCaption(action), wideItem()->Caption());
}

bool TTntMenuActionLink::IsHintLinked() {
    auto* action = dynamic_cast<TCustomAction*>(Action());
    if (!action) throw EInvalidCast(SInvalidCast);
    return TMenuActionLink::IsHintLinked() && TntAction_GetHint(action) == wideItem()->Hint();
}

void TTntMenuActionLink::SetCaption(const AnsiString& Value) {
    if (!IsCaptionLinked()) return;
    auto* action = static_cast<TCustomAction*>(Action());
    wideItem()->SetCaption(TntAction_GetNewCaption(action, AnsiToWide(Value)));
}

void TTntMenuActionLink::SetHint(const AnsiString& Value) {
    if (!IsHintLinked()) return;
    auto* action = static_cast<TCustomAction*>(Action());
    wideItem()->SetHint(TntAction_GetNewHint(action, AnsiToWide(Value)));
}

// ---- Menus ---------------------------------------------------------------------------------------

HMENU TTntMainMenu::GetHandle() {
    const bool fresh = !Items()->HandleAllocated();
    const HMENU handle = TMainMenu::GetHandle();
    if (fresh) UpdateMenuStrings(Items(), this);
    return handle;
}

void TTntMainMenu::DoChange(TMenuItem* Source, bool Rebuild) {
    TMainMenu::DoChange(Source, Rebuild);
    if (Items()->HandleAllocated()) UpdateMenuStrings(Items(), this);
}

TTntPopupMenu::TTntPopupMenu(TComponent* AOwner) : TPopupMenu(AOwner) {
    TTntPopupList& list = tntPopupList();
    list.savedPopupList->Remove(this);
    list.Add(this);
}

TTntPopupMenu::~TTntPopupMenu() {
    TTntPopupList& list = tntPopupList();
    list.Remove(this);
    list.savedPopupList->Add(this);
}

void TTntPopupMenu::Popup(Integer X, Integer Y) {
    TTntPopupList& list = tntPopupList();
    PopupList = &list;
    try {
        TPopupMenu::Popup(X, Y);
    } catch (...) {
        PopupList = list.savedPopupList;
        throw;
    }
    PopupList = list.savedPopupList;
}

void TTntPopupMenu::DoChange(TMenuItem* Source, bool Rebuild) {
    TPopupMenu::DoChange(Source, Rebuild);
    if (Items()->HandleAllocated()) UpdateMenuStrings(Items(), this);
}

// ---- Items made in code ------------------------------------------------------------------------------

TTntMenuItem* WideNewItem(const WideString& ACaption, TShortCut AShortCut, bool AChecked, bool AEnabled,
                          TNotifyEvent AOnClick, Integer AHelpContext, const AnsiString& AName) {
    auto* item = new TTntMenuItem(nullptr);
    item->SetCaption(ACaption);
    item->SetShortCut(AShortCut);
    item->SetChecked(AChecked);
    item->SetEnabled(AEnabled);
    item->OnClick = AOnClick;
    item->SetHelpContext(AHelpContext);
    item->SetName(AName);
    return item;
}

TTntMenuItem* WideNewSubMenu(const WideString& ACaption, Integer AHelpContext, const AnsiString& AName,
                             std::initializer_list<TMenuItem*> Items, bool AEnabled) {
    auto* item = new TTntMenuItem(nullptr);
    for (TMenuItem* child : Items)
        item->Add(child);
    item->SetCaption(ACaption);
    item->SetHelpContext(AHelpContext);
    item->SetName(AName);
    item->SetEnabled(AEnabled);
    return item;
}

namespace {
const TClass tntMenuItemClass = DescribeClass<TTntMenuItem, TMenuItem>([](TClassBuilder<TTntMenuItem>& c) {
    c.Property("Caption", &TTntMenuItem::Caption, &TTntMenuItem::SetCaption);
    c.Property("Hint", &TTntMenuItem::Hint, &TTntMenuItem::SetHint);
});
const TClass tntMainMenuClass = DescribeClass<TTntMainMenu, TMainMenu>();
const TClass tntPopupMenuClass = DescribeClass<TTntPopupMenu, TPopupMenu>();
} // namespace
