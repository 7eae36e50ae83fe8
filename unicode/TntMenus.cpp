#include "unicode/TntMenus.h"

#include "platform/core/CodePages.h"
#include "platform/core/SysUtils.h"
#include "platform/win/Keyboard.h"
#include "platform/win/LastError.h"
#include "unicode/TntActnList.h"
#include "unicode/TntClasses.h"
#include "unicode/TntControls.h"
#include "unicode/TntForms.h"
#include "unicode/TntSysUtils.h"
#include "unicode/TntSystem.h"
#include "unicode/TntWindows.h"

#include <algorithm>
#include <vector>

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
// GetKeyNameTextW: the room for a key's name, and where the scan code sits in its key data.
constexpr int KeyNameLength = 256;
constexpr int ScanCodeShift = 16;
// The room GetMenuItemInfoW is given for an item's text.
constexpr UINT MenuTextBufferLength = 80;
constexpr UINT NotTextTypes = MFT_BITMAP | MFT_SEPARATOR | MFT_OWNERDRAW;
// Owner drawing: the width of an item's picture, and the shortcut's distance from the item's end.
constexpr Integer BitmapGlyphWidth = 16;
constexpr Integer ShortCutMargin = 10;

// Version 4.1 and later; the NT family from version 5.
bool isNewerSystem() {
    return CheckWin32Version(4, 1);
}
bool isNewerNTSystem() {
    return CheckWin32Version(5, 0) && Win32PlatformIsUnicode;
}

bool menuReadsRightToLeft(TMenuItem* Item) {
    TMenu* menu = Item->GetParentMenu();
    return menu && menu->IsRightToLeft();
}

void offsetRect(TRect& Rect, Integer Dx, Integer Dy) {
    Rect = {Rect.Left + Dx, Rect.Top + Dy, Rect.Right + Dx, Rect.Bottom + Dy};
}

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

// The keyboard's own name of the key's scan code (none without a scan code).
WideString scanCodeName(Word Key) {
    const UINT scanCode = MapVirtualKeyW(Key, MAPVK_VK_TO_VSC);
    if (scanCode == 0) return {};
    std::vector<WCHAR> buffer(KeyNameLength, u'\0');
    const int length =
        GetKeyNameTextW(static_cast<LONG>(scanCode << ScanCodeShift), buffer.data(), KeyNameLength);
    return WideString(buffer.data(), static_cast<std::size_t>(std::max(length, 0)));
}

WideString keyNameOf(Word Key) {
    if (hasFrameworkName(Key)) return AnsiToWide(ShortCutToText(Key));
    if (isCharacterKey(Key)) {
        const UINT character = MapVirtualKeyW(Key, MAPVK_VK_TO_CHAR);
        return character ? WideString(1, static_cast<WideChar>(character)) : WideString();
    }
    return scanCodeName(Key);
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

namespace {

bool hasOwnDrawing(TMenuItem* Item) {
    return Item->OnAdvancedDrawItem || Item->OnDrawItem || ItemHasValidImage(Item);
}

void showAsText(HMENU Bar, UINT Position, UINT Type, TMenuItem* Item) {
    auto* wideItem = dynamic_cast<TTntMenuItem*>(Item);
    if (wideItem && Win32PlatformIsUnicode) {
        WideString caption = wideItem->Caption();
        MENUITEMINFOW info;
        info.fMask = MIIM_FTYPE | MIIM_STRING;
        info.fType = Type & ~MFT_OWNERDRAW;
        info.dwTypeData = caption.data();
        SetMenuItemInfoW(Bar, Position, TRUE, &info);
        return;
    }
    AnsiString caption = Item->Caption();
    MENUITEMINFOA info;
    info.fMask = MIIM_FTYPE | MIIM_STRING;
    info.fType = Type & ~MFT_OWNERDRAW;
    info.dwTypeData = caption.data();
    SetMenuItemInfoA(Bar, Position, TRUE, &info);
}

} // namespace

void NoOwnerDrawTopLevelItems(TMainMenu* Menu) {
    if (!isNewerSystem()) return;
    HMENU bar = Menu->Handle();
    for (UINT position = 0;; ++position) {
        MENUITEMINFOA info;
        info.fMask = MIIM_FTYPE | MIIM_ID;
        if (!GetMenuItemInfoA(bar, position, TRUE, &info)) return;
        if (!(info.fType & MFT_OWNERDRAW)) continue;
        TMenuItem* item = Menu->FindItem(info.wID, fkCommand);
        if (item && !hasOwnDrawing(item)) showAsText(bar, position, info.fType, item);
    }
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

// ---- TTntMenuItem: owner drawing ----------------------------------------------------------------

UINT TTntMenuItem::GetAlignmentDrawStyle() const {
    auto* popup = dynamic_cast<TPopupMenu*>(GetParentMenu());
    if (!popup) return DT_LEFT;
    switch (popup->Alignment()) {
    case paRight:
        return DT_RIGHT;
    case paCenter:
        return DT_CENTER;
    default:
        return DT_LEFT;
    }
}

void TTntMenuItem::DoDrawText(TCanvas* ACanvas, const WideString& ACaption, TRect& Rect, bool Selected,
                              UINT Flags) {
    if (!Win32PlatformIsUnicode || IsLine()) {
        TMenuItem::DoDrawText(ACanvas, WideToAnsi(ACaption), Rect, Selected, Flags);
        return;
    }
    if (menuReadsRightToLeft(this)) Flags |= DT_RIGHT | DT_RTLREADING;
    WideString text = ACaption;
    if ((Flags & DT_CALCRECT) && (text.empty() || text == u"&")) text += u' ';
    ACanvas->Brush()->SetStyle(bsClear);
    if (Default()) ACanvas->Font()->SetStyle(ACanvas->Font()->Style() + TFontStyles{fsBold});
    if (!Enabled()) {
        if (!Selected) {
            ACanvas->Font()->SetColor(clBtnHighlight);
            TRect shadow{Rect.Left + 1, Rect.Top + 1, Rect.Right + 1, Rect.Bottom + 1};
            ACanvas->RequiredState({csHandleValid, csFontValid, csBrushValid});
            Tnt_DrawTextW(ACanvas->Handle(), text.c_str(), static_cast<int>(text.size()), &shadow, Flags);
        }
        const bool sameColours = ColorToRGB(clHighlight) == ColorToRGB(clBtnShadow);
        ACanvas->Font()->SetColor(Selected && sameColours ? clBtnHighlight : clBtnShadow);
    }
    ACanvas->RequiredState({csHandleValid, csFontValid, csBrushValid});
    Tnt_DrawTextW(ACanvas->Handle(), text.c_str(), static_cast<int>(text.size()), &Rect, Flags);
}

Integer TTntMenuItem::MeasureItemTextWidth(TCanvas* ACanvas, const WideString& Text) {
    TRect rect{0, 0, 0, 0};
    DoDrawText(ACanvas, Text, rect, false,
               GetAlignmentDrawStyle() | DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_SINGLELINE);
    return rect.Width();
}

// The framework measures the ANSI caption and shortcut; the widths of the wide ones replace them.
void TTntMenuItem::MeasureItem(TCanvas* ACanvas, Integer& Width, Integer& Height) {
    if (!Win32PlatformIsUnicode || IsLine()) {
        TMenuItem::MeasureItem(ACanvas, Width, Height);
        return;
    }
    const TMenuMeasureItemEvent event = OnMeasureItem;
    OnMeasureItem = nullptr;
    try {
        TMenuItem::MeasureItem(ACanvas, Width, Height);
    } catch (...) {
        OnMeasureItem = event;
        throw;
    }
    OnMeasureItem = event;
    Width += MeasureItemTextWidth(ACanvas, Caption()) -
             MeasureItemTextWidth(ACanvas, AnsiToWide(TMenuItem::Caption()));
    if (ShortCut() != scNone)
        Width += MeasureItemTextWidth(ACanvas, WideShortCutToText(ShortCut())) -
                 MeasureItemTextWidth(ACanvas, AnsiToWide(::ShortCutToText(ShortCut())));
    if (OnMeasureItem) OnMeasureItem(this, ACanvas, Width, Height);
}

void TTntMenuItem::AdvancedDrawItem(TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State,
                                    bool TopLevel) {
    TMenu* menu = GetParentMenu();
    const bool drawnByEvent =
        menu && (menu->OwnerDraw() || menu->Images()) && (OnAdvancedDrawItem || OnDrawItem);
    if (!Win32PlatformIsUnicode || IsLine() || drawnByEvent) {
        TMenuItem::AdvancedDrawItem(ACanvas, ARect, State, TopLevel);
        return;
    }
    drawWithoutText(ACanvas, ARect, State, TopLevel);
    drawWideText(ACanvas, ARect, State, TopLevel);
}

// The framework draws the background, picture and check; the caption and
// shortcut are taken away meanwhile without rebuilding the menu.
void TTntMenuItem::drawWithoutText(TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State,
                                   bool TopLevel) {
    const WideString caption = Caption();
    const AnsiString ansiCaption = TMenuItem::Caption();
    const TShortCut shortCut = ShortCut();
    auto putBack = [&] {
        ignoreMenuChanged_ = true;
        TMenuItem::SetCaption(ansiCaption);
        TMenuItem::SetShortCut(shortCut);
        caption_ = caption;
        ignoreMenuChanged_ = false;
    };
    ignoreMenuChanged_ = true;
    TMenuItem::SetCaption(AnsiString());
    TMenuItem::SetShortCut(scNone);
    ignoreMenuChanged_ = false;
    try {
        TMenuItem::AdvancedDrawItem(ACanvas, ARect, State, TopLevel);
    } catch (...) {
        putBack();
        throw;
    }
    putBack();
}

TRect TTntMenuItem::glyphRect(const TRect& ARect, bool TopLevel, bool& HasGlyph) {
    TMenu* menu = GetParentMenu();
    TCustomImageList* images = menu ? menu->Images() : nullptr;
    const bool validIndex = images && ImageIndex() >= 0 && ImageIndex() < images->Count();
    const bool drawsImage = images && (validIndex || (Checked() && !HasBitmap()));
    TRect glyph{ARect.Left + 1, ARect.Top, ARect.Left + 1, ARect.Bottom};
    HasGlyph = drawsImage || HasBitmap();
    if (drawsImage)
        glyph.Right = glyph.Left + images->Width();
    else if (HasBitmap())
        glyph.Right = glyph.Left + BitmapGlyphWidth;
    else if (images && !TopLevel)
        glyph.Right = glyph.Left + images->Width();
    if (HasGlyph && Checked()) ++glyph.Left;
    if (menuReadsRightToLeft(this))
        glyph = {ARect.Right - (glyph.Right - ARect.Left), glyph.Top, ARect.Right - (glyph.Left - ARect.Left),
                 glyph.Bottom};
    glyph.Left -= 1;
    glyph.Right += 2;
    return glyph;
}

void TTntMenuItem::drawWideText(TCanvas* ACanvas, TRect ARect, TOwnerDrawState State, bool TopLevel) {
    const bool selected = State.Contains(odSelected);
    const bool rightToLeft = menuReadsRightToLeft(this);
    const Integer itemLeft = ARect.Left;
    bool hasGlyph = false;
    const TRect glyph = glyphRect(ARect, TopLevel, hasGlyph);
    if (selected && !(TopLevel && isNewerSystem())) ACanvas->Brush()->SetColor(clHighlight);
    if (TopLevel && !selected && isNewerSystem()) offsetRect(ARect, 0, -1);
    if (rightToLeft)
        ARect.Right = glyph.Left - 1;
    else
        ARect.Left = glyph.Right + 1;
    ARect.Left += 2;
    ARect.Right -= 1;
    UINT style = GetAlignmentDrawStyle() | DT_EXPANDTABS | DT_SINGLELINE;
    if (State.Contains(odNoAccel) && isNewerNTSystem()) style |= DT_HIDEPREFIX;
    if (State.Contains(odDefault)) ACanvas->Font()->SetStyle(ACanvas->Font()->Style() + TFontStyles{fsBold});
    const TRect saved = ARect;
    TRect text = ARect;
    DoDrawText(ACanvas, Caption(), text, selected, style | DT_CALCRECT | DT_NOCLIP);
    if (rightToLeft) {
        text.Left = saved.Left;
        text.Right = saved.Right;
    }
    offsetRect(text, 0, (saved.Height() - text.Height()) / 2);
    if (TopLevel && selected && isNewerSystem()) offsetRect(text, 1, 0);
    DoDrawText(ACanvas, Caption(), text, selected, style);
    if (ShortCut() == scNone || TopLevel) return;
    const WideString shortCutText = WideShortCutToText(ShortCut());
    TRect shortCutRect{text.Right, text.Top, saved.Right - ShortCutMargin, text.Bottom};
    if (rightToLeft) {
        shortCutRect.Left = itemLeft + ShortCutMargin;
        shortCutRect.Right = shortCutRect.Left + MeasureItemTextWidth(ACanvas, shortCutText);
    }
    DoDrawText(ACanvas, shortCutText, shortCutRect, selected, DT_RIGHT);
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
