// TRxPopupMenu: a popup menu that measures and draws its own items (the
// system's menu font, check marks, glyphs or images, the disabled look,
// button-like bevels and a coloured left margin). While it is tracked, its
// messages go to a hidden window that this unit keeps for every such menu.
#pragma once

#include "platform/vcl/Controls.h"
#include "platform/vcl/ImgList.h"
#include "platform/vcl/Menus.h"

#include <functional>
#include <memory>

enum TRxMenuStyle { msStandard, msOwnerDraw, msBtnLowered, msBtnRaised };

class TRxPopupMenu;
using TDrawMenuItemEvent =
    Closure<void(TRxPopupMenu* Sender, TMenuItem* Item, const TRect& Rect, TOwnerDrawState State)>;
using TMeasureMenuItemEvent =
    Closure<void(TRxPopupMenu* Sender, TMenuItem* Item, Integer& Width, Integer& Height)>;
using TDrawMarginEvent = Closure<void(TRxPopupMenu* Sender, const TRect& Rect)>;
using TItemParamsEvent = Closure<void(TRxPopupMenu* Sender, TMenuItem* Item, TOwnerDrawState State,
                                      TFont* AFont, TColor& Color, TGraphic*& Graphic, Integer& NumGlyphs)>;
using TItemImageEvent =
    Closure<void(TRxPopupMenu* Sender, TMenuItem* Item, TOwnerDrawState State, Integer& ImageIndex)>;

class TRxPopupMenu : public TPopupMenu {
public:
    explicit TRxPopupMenu(TComponent* AOwner);
    ~TRxPopupMenu() override;

    TRxMenuStyle Style() const { return style_; }
    void SetStyle(TRxMenuStyle Value);
    bool ShowCheckMarks() const { return showCheckMarks_; }
    void SetShowCheckMarks(bool Value) { showCheckMarks_ = Value; }
    // The least width kept left of the text for glyphs.
    Cardinal MinTextOffset() const { return minTextOffset_; }
    void SetMinTextOffset(Cardinal Value) { minTextOffset_ = Value; }
    // A strip left of the menu's own items, painted by DrawMargin.
    Cardinal LeftMargin() const { return leftMargin_; }
    void SetLeftMargin(Cardinal Value) { leftMargin_ = Value; }
    // The menu's own image list: the items draw their ImageIndex from it, and
    // a list that holds images makes the menu owner-drawn at once.
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* Value);
    // The mouse pointer shown while the menu is open (crDefault: the system's).
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor Value) { cursor_ = Value; }
    // Whether the items are drawn here: a style other than msStandard, or images.
    bool IsOwnerDrawMenu();
    TCanvas* Canvas() const { return canvas_.get(); }

    void Popup(Integer X, Integer Y) override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    TDrawMenuItemEvent OnDrawItem;
    TMeasureMenuItemEvent OnMeasureItem;
    TDrawMarginEvent OnDrawMargin;
    TItemParamsEvent OnGetItemParams;
    TItemImageEvent OnGetImageIndex;

    // The list window's handlers: true when the item is one of this menu's.
    bool HandleMeasureItem(MEASUREITEMSTRUCT& Measure);
    bool HandleDrawItem(DRAWITEMSTRUCT& Draw);

protected:
    virtual void DrawItem(TMenuItem* Item, const TRect& Rect, TOwnerDrawState State);
    virtual void DrawMargin(const TRect& ARect);
    virtual void RefreshMenu(bool AOwnerDraw);
    virtual void MeasureItem(TMenuItem* Item, Integer& Width, Integer& Height);
    virtual void GetItemParams(TMenuItem* Item, TOwnerDrawState State, TFont* AFont, TColor& Color,
                               TGraphic*& Graphic, Integer& NumGlyphs);
    virtual void GetImageIndex(TMenuItem* Item, TOwnerDrawState State, Integer& ImageIndex);

private:
    struct ItemLook;
    void ImageListChange(TObject* Sender);
    void ownerDrawChanging(const std::function<void()>& Change);
    void measure(TMenuItem* Item, Integer& Width, Integer& Height);
    void standardDrawItem(TMenuItem* Item, TRect Rect, TOwnerDrawState State, TGraphic* Graphic,
                          Integer NumGlyphs, Integer ImageIndex);
    void drawCheck(const ItemLook& Look, TMenuItem* Item, TPoint At);
    void drawMenuBitmap(Integer X, Integer Y, TBitmap* Bitmap, const ItemLook& Look);
    void drawDisabledBitmap(Integer X, Integer Y, TBitmap* Bitmap, const ItemLook& Look);
    void drawCheckedBackground(TRect Box, const ItemLook& Look);
    void drawGlyphBox(TMenuItem* Item, const TRect& Rect, Integer Reserve, TGraphic* Graphic,
                      Integer NumGlyphs, Integer ImageIndex, const ItemLook& Look, Integer& TextOffset);
    void drawSeparator(const TRect& Rect);
    void drawItemText(TMenuItem* Item, const TRect& Rect, Integer TextOffset, const ItemLook& Look);
    void setMenuFont(TFont* Font, TMenuItem* Item);
    static TBiDiMode biDiModeAt(const TPoint& Point);

    TRxMenuStyle style_ = msStandard;
    std::unique_ptr<TCanvas> canvas_;
    bool showCheckMarks_ = true;
    Cardinal minTextOffset_ = 0;
    Cardinal leftMargin_ = 0;
    TCursor cursor_ = crDefault;
    TPoint popupPoint_{-1, -1};
    TCustomImageList* images_ = nullptr;
    std::unique_ptr<TChangeLink> imageChangeLink_;
};
