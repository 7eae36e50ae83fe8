// Menus with UTF-16 captions and hints. The framework builds the system's
// menus from ANSI captions; after every change of a wide menu each wide item
// writes its UTF-16 caption into the system's item with the wide menu calls.
// Also the wide shortcut texts and hot-key routines the other units use.
#pragma once

#include "platform/vcl/Menus.h"

// ---- Shortcuts and hot keys ----------------------------------------------------------------

// The shortcut of a key message: its key with the shift state of its key data.
TShortCut MessageToShortCut(const TMessage& Message);
// "Shift+", "Ctrl+" and "Alt+" before the key's name: the framework's names
// for the keys it names, the keyboard's characters for letters and digits.
WideString WideShortCutToText(TShortCut ShortCut);
// The modifier words come off in any order and number ("^" is "Ctrl+");
// the key's name is compared without case. 0 for an unknown name.
TShortCut WideTextToShortCut(WideString Text);
// The hot-key character (after the last "&" not doubled), or empty.
WideString WideGetHotkey(const WideString& Caption);
// The caption without hot-key marks ("&&" becomes "&"); on a Far-East
// system locale a bracketed hot key such as "(&F)" goes whole.
WideString WideStripHotkey(const WideString& Caption);
// Equal once hot keys are stripped, without regard to case.
bool WideSameCaption(const WideString& Text1, const WideString& Text2);
// The wide caption (hint) of a wide item; any other item's ANSI one, widened.
WideString WideGetMenuItemCaption(TMenuItem* Item);
WideString WideGetMenuItemHint(TMenuItem* Item);
bool MenuItemHasBitmap(TMenuItem* Item);
// The menu's images hold the item's image, or the item has a picture.
bool ItemHasValidImage(TMenuItem* Item);
// The owner-drawn items of the menu bar that have no drawing of their own
// (no draw event, no valid image) become plain text items showing their
// (wide) caption, so the system draws them like the bar's other items.
void NoOwnerDrawTopLevelItems(TMainMenu* Menu);
// On a Middle-East system locale the first item of a wide menu writes its
// caption again (the system loses it when the menu's reading order changes).
void FixMenuBiDiProblem(TMenu* Menu);

// ---- Items and menus ---------------------------------------------------------------------------

class TTntMenuItem : public TMenuItem {
public:
    using TMenuItem::TMenuItem;

    // The wide caption, with the "&" the framework's automatic hot keys put in the ANSI one.
    WideString Caption();
    void SetCaption(const WideString& Value);
    WideString Hint();
    void SetHint(const WideString& Value);
    bool IsCaptionStored() const;
    bool IsHintStored() const;
    // The child whose caption is the same ignoring hot keys and case, or null.
    TTntMenuItem* Find(const WideString& ACaption);
    // Writes the wide caption (and shortcut) into the system's item when it differs.
    void UpdateMenuString(TMenu* ParentMenu);

    // Owner drawing: the framework draws the item without text, then the
    // wide caption and shortcut are drawn (right to left when the menu reads so).
    void AdvancedDrawItem(TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State,
                          bool TopLevel) override;
    void MeasureItem(TCanvas* ACanvas, Integer& Width, Integer& Height) override;
    void DoDrawText(TCanvas* ACanvas, const WideString& ACaption, TRect& Rect, bool Selected, UINT Flags);
protected:
    // The framework's 8-bit drawing stays beside the wide one above.
    using TMenuItem::DoDrawText;

public:
    Integer MeasureItemTextWidth(TCanvas* ACanvas, const WideString& Text);
    // The DrawText alignment of the parent menu (a pop-up's Alignment; left otherwise).
    UINT GetAlignmentDrawStyle() const;

    void ActionChange(TObject* Sender, bool CheckDefaults) override;
    std::unique_ptr<TMenuActionLink> CreateActionLink() override;
    void MenuChanged(bool Rebuild) override;
    void Loaded() override;
    void DefineProperties(TFiler* Filer) override;

private:
    void setInheritedCaption(const AnsiString& Value) { TMenuItem::SetCaption(Value); }
    void setInheritedHint(const AnsiString& Value) { TMenuItem::SetHint(Value); }
    void drawWithoutText(TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State, bool TopLevel);
    void drawWideText(TCanvas* ACanvas, TRect ARect, TOwnerDrawState State, bool TopLevel);
    TRect glyphRect(const TRect& ARect, bool TopLevel, bool& HasGlyph);

    bool ignoreMenuChanged_ = false;
    WideString caption_;
    WideString hint_;
};

// The link of a wide item: captions compare with WideSameCaption, hints exactly.
class TTntMenuActionLink : public TMenuActionLink {
public:
    explicit TTntMenuActionLink(TMenuItem* AClient);
    bool IsCaptionLinked() override;
    bool IsHintLinked() override;
    void SetCaption(const AnsiString& Value) override;
    void SetHint(const AnsiString& Value) override;

private:
    TTntMenuItem* wideItem() const;
};

// Writes the wide strings of Item's children (last first) and of Item.
void UpdateMenuStrings(TMenuItem* Item, TMenu* ParentMenu);

class TTntMainMenu : public TMainMenu {
public:
    using TMainMenu::TMainMenu;
    HMENU GetHandle() override;

protected:
    void DoChange(TMenuItem* Source, bool Rebuild) override;
};

class TTntPopupMenu : public TPopupMenu {
public:
    // The menu's messages go to the layer's popup list, which sets the wide application hint.
    explicit TTntPopupMenu(TComponent* AOwner);
    ~TTntPopupMenu() override;
    void Popup(Integer X, Integer Y) override;

protected:
    void DoChange(TMenuItem* Source, bool Rebuild) override;
};

// Items made in code, without an owner.
TTntMenuItem* WideNewItem(const WideString& ACaption, TShortCut AShortCut, bool AChecked, bool AEnabled,
                          TNotifyEvent AOnClick, Integer AHelpContext, const AnsiString& AName);
TTntMenuItem* WideNewSubMenu(const WideString& ACaption, Integer AHelpContext, const AnsiString& AName,
                             std::initializer_list<TMenuItem*> Items, bool AEnabled = true);
