// The owner-drawn popup menu: its measuring and drawing, and the hidden
// window whose procedure hands each menu message to the menus in the order
// they were made, the first one that knows the item taking it.
#include "rx/RxMenus.h"

#include "platform/core/CodePages.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/ObjectInstances.h"
#include "platform/win/Blit.h"
#include "platform/win/Cursors.h"
#include "platform/win/DefWindowProc.h"
#include "platform/win/DrawText.h"
#include "platform/win/Edges.h"
#include "platform/win/Gdi.h"
#include "platform/win/Icons.h"
#include "platform/win/StandardControls.h"
#include "platform/win/SystemInfo.h"
#include "rx/RXCtrls.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

const char* const LineCaption = "-";
const char* const TwoTabs = "\t\t";
constexpr Integer MinSeparatorHeight = 9;
// A glyph or image gets 2 pixels beside it and 4 above and below together.
constexpr Integer GlyphMargin = 2;
constexpr Integer GlyphVerticalMargin = 4;
constexpr Integer MaxMultiGlyphs = 5;
constexpr Byte MarginGradientSteps = 32;
constexpr Integer MarginEdge = 3;

// The hidden window of every owner-drawn popup menu.
class RxPopupList {
public:
    RxPopupList() = default;
    ~RxPopupList() {
        if (window_) DeallocateHWnd(window_);
    }
    void Add(TRxPopupMenu* Menu) {
        if (menus_.empty()) window_ = AllocateHWnd(TWndMethod(this, &RxPopupList::WndProc));
        menus_.push_back(Menu);
    }
    void Remove(TRxPopupMenu* Menu) {
        std::erase(menus_, Menu);
        if (!menus_.empty() || !window_) return;
        DeallocateHWnd(window_);
        window_ = nullptr;
    }
    HWND Window() const { return window_; }
    // The menu whose TrackPopupMenu runs: it gives the pointer its Cursor.
    TRxPopupMenu* Tracked = nullptr;

private:
    void WndProc(TMessage& Message) {
        if (Message.Msg == WM_ENTERIDLE && Message.WParam == MSGF_MENU) showTrackedCursor();
        for (TRxPopupMenu* menu : menus_)
            if (handle(menu, Message)) return;
        if (Message.Msg == WM_MENUSELECT) Application->SetHint("");
        Message.Result = DefWindowProcA(window_, Message.Msg, Message.WParam, Message.LParam);
    }

    // The menu loop asks the owner for the pointer whenever it waits.
    void showTrackedCursor() const {
        if (Tracked && Tracked->Cursor() != crDefault) ::SetCursor(Screen->Cursors(Tracked->Cursor()));
    }

    static bool handle(TRxPopupMenu* Menu, TMessage& Message) {
        switch (Message.Msg) {
        case WM_INITMENUPOPUP:
            return Menu->DispatchPopup(reinterpret_cast<HMENU>(Message.WParam));
        case WM_MEASUREITEM: {
            auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
            if (measure->CtlType != ODT_MENU || !Menu->IsOwnerDrawMenu() || !Menu->HandleMeasureItem(*measure))
                return false;
            Message.Result = 1;
            return true;
        }
        case WM_DRAWITEM: {
            auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
            if (draw->CtlType != ODT_MENU || !Menu->IsOwnerDrawMenu() || !Menu->HandleDrawItem(*draw)) return false;
            Message.Result = 1;
            return true;
        }
        case WM_COMMAND:
            return Menu->DispatchCommand(LOWORD(Message.WParam));
        case WM_HELP: {
            const auto* help = reinterpret_cast<const HELPINFO*>(Message.LParam);
            const auto menu = reinterpret_cast<UINT_PTR>(help->hItemHandle);
            if (reinterpret_cast<UINT_PTR>(Menu->Items()->Handle()) != menu && !Menu->FindItem(menu, fkHandle))
                return false;
            TMenuItem* item = Menu->FindItem(static_cast<UINT_PTR>(help->iCtrlId), fkCommand);
            if (!item) item = Menu->FindItem(menu, fkHandle);
            if (item) Application->HelpContext(item->HelpContext());
            return true;
        }
        case WM_MENUSELECT: {
            // An item with a sub-menu is named by its position in the menu that holds it.
            const bool popup = HIWORD(Message.WParam) & MF_POPUP;
            const auto subMenu = [&] {
                return reinterpret_cast<UINT_PTR>(
                    GetSubMenu(reinterpret_cast<HMENU>(Message.LParam), LOWORD(Message.WParam)));
            };
            TMenuItem* item = popup ? Menu->FindItem(subMenu(), fkHandle)
                                    : Menu->FindItem(LOWORD(Message.WParam), fkCommand);
            if (!item) return false;
            Application->SetHint(GetLongHint(item->Hint()));
            return true;
        }
        case WM_MENUCHAR: {
            auto menu = static_cast<UINT_PTR>(Message.LParam);
            if (reinterpret_cast<UINT_PTR>(Menu->Items()->Handle()) != menu && !Menu->FindItem(menu, fkHandle))
                return false;
            Menu->ProcessMenuChar(Message);
            return true;
        }
        default:
            return false;
        }
    }

    std::vector<TRxPopupMenu*> menus_;
    HWND window_ = nullptr;
};

std::unique_ptr<RxPopupList> popupList;

Integer checkMarkWidth() {
    return LOWORD(static_cast<DWORD>(GetMenuCheckMarkDimensions()));
}

Integer checkMarkHeight() {
    return HIWORD(static_cast<DWORD>(GetMenuCheckMarkDimensions()));
}

// The room between the menu's edge and a check mark.
Integer marginOffset() {
    return static_cast<Integer>(std::nearbyint(0.3 * checkMarkWidth()));
}

Integer defaultItemHeight() {
    return GetSystemMetrics(SM_CYMENU) - (NewStyleControls ? 2 : 0);
}

bool isPopupItem(TMenuItem* Item) {
    return !Item->IsTopLevelOfMainMenu();
}

// The widest caption with two tabs, and the widest shortcut with a blank, among the item's siblings.
std::pair<Integer, Integer> siblingColumns(TCanvas* Canvas, TMenuItem* Item) {
    auto captionWidth = [&](TMenuItem* I) { return Canvas->TextWidth(DelChars(I->Caption(), '&') + TwoTabs); };
    auto shortcutWidth = [&](TMenuItem* I) { return Canvas->TextWidth(ShortCutToText(I->ShortCut()) + " "); };
    if (!Item->Parent() || Item->ShortCut() == scNone) return {captionWidth(Item), shortcutWidth(Item)};
    std::pair<Integer, Integer> widest{0, 0};
    for (Integer i = 0; i < Item->Parent()->Count(); ++i) {
        TMenuItem* sibling = Item->Parent()->Items(i);
        widest.first = std::max(widest.first, captionWidth(sibling));
        widest.second = std::max(widest.second, shortcutWidth(sibling));
    }
    return widest;
}

// The glyph of a bitmap strip of 2 to 5 pictures is one of them; an icon
// keeps the size of its own image.
TPoint graphicSize(TGraphic* Graphic, Integer NumGlyphs) {
    if (auto* icon = dynamic_cast<TIcon*>(Graphic)) return GetIconSize(icon->Handle());
    TPoint size{Graphic->Width(), Graphic->Height()};
    if (dynamic_cast<TBitmap*>(Graphic) && NumGlyphs >= 2 && NumGlyphs <= MaxMultiGlyphs) size.x /= NumGlyphs;
    return size;
}

} // namespace

// What the drawing of one item depends on.
struct TRxPopupMenu::ItemLook {
    bool popup;
    bool selected;
    bool disabled;
    bool highlight;
    bool etched;
    TColor grayColor;
};

TRxPopupMenu::TRxPopupMenu(TComponent* AOwner)
    : TPopupMenu(AOwner), canvas_(std::make_unique<TCanvas>()),
      imageChangeLink_(std::make_unique<TChangeLink>()) {
    if (!popupList) popupList = std::make_unique<RxPopupList>();
    popupList->Add(this);
    imageChangeLink_->OnChange = TNotifyEvent(this, &TRxPopupMenu::ImageListChange);
}

TRxPopupMenu::~TRxPopupMenu() {
    if (images_) images_->UnRegisterChanges(imageChangeLink_.get());
    style_ = msStandard;
    popupList->Remove(this);
}

bool TRxPopupMenu::IsOwnerDrawMenu() {
    return style_ != msStandard || (images_ && images_->Count() > 0);
}

// Runs a change and follows a new outcome of IsOwnerDrawMenu at once.
void TRxPopupMenu::ownerDrawChanging(const std::function<void()>& Change) {
    const bool ownerDrawn = IsOwnerDrawMenu();
    Change();
    if (IsOwnerDrawMenu() != ownerDrawn) RefreshMenu(!ownerDrawn);
}

void TRxPopupMenu::SetImages(TCustomImageList* Value) {
    if (images_ == Value) return;
    ownerDrawChanging([&] {
        if (images_) {
            images_->UnRegisterChanges(imageChangeLink_.get());
            images_->RemoveFreeNotification(this);
        }
        images_ = Value;
        if (!Value) return;
        Value->RegisterChanges(imageChangeLink_.get());
        Value->FreeNotification(this);
    });
}

void TRxPopupMenu::ImageListChange(TObject*) {
    // The list has already changed: its count before is unknown, so the
    // outcome is set afresh.
    RefreshMenu(IsOwnerDrawMenu());
}

void TRxPopupMenu::Notification(TComponent* AComponent, TOperation Operation) {
    TPopupMenu::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == images_) SetImages(nullptr);
}

void TRxPopupMenu::RefreshMenu(bool AOwnerDraw) {
    SetOwnerDraw(AOwnerDraw && !ComponentState().Contains(csDesigning));
}

void TRxPopupMenu::SetStyle(TRxMenuStyle Value) {
    if (style_ == Value) return;
    ownerDrawChanging([&] { style_ = Value; });
}

void TRxPopupMenu::Loaded() {
    TPopupMenu::Loaded();
    if (IsOwnerDrawMenu()) RefreshMenu(true);
}

// On a right-to-left system, a menu that follows its parent reads and opens
// as the control under the point does, else as the application.
void TRxPopupMenu::Popup(Integer X, Integer Y) {
    popupPoint_ = {X, Y};
    struct RestoreParentBiDiMode {
        TRxPopupMenu* menu;
        bool value;
        ~RestoreParentBiDiMode() { menu->SetParentBiDiMode(value); }
    } restore{this, ParentBiDiMode()};
    if (SysLocaleMiddleEast && ParentBiDiMode()) SetBiDiMode(biDiModeAt({X, Y}));
    DoPopup(this);
    if (IsOwnerDrawMenu()) RefreshMenu(true);
    struct EndTracking {
        ~EndTracking() { popupList->Tracked = nullptr; }
    } endTracking;
    popupList->Tracked = this;
    TPopupAlignment alignment = Alignment();
    if (SysLocaleMiddleEast && BiDiMode() == bdRightToLeft && alignment != paCenter)
        alignment = alignment == paLeft ? paRight : paLeft;
    static constexpr UINT alignments[] = {TPM_LEFTALIGN, TPM_RIGHTALIGN, TPM_CENTERALIGN};
    UINT flags = alignments[alignment];
    if (TrackButton() == tbRightButton) flags |= TPM_RIGHTBUTTON;
    TrackPopupMenu(Items()->Handle(), flags, X, Y, 0, popupList->Window(), nullptr);
}

TBiDiMode TRxPopupMenu::biDiModeAt(const TPoint& Point) {
    TWinControl* window = FindVCLWindow(Point);
    if (!window) return Application->BiDiMode();
    TControl* child = window->ControlAtPos(window->ScreenToClient(Point), false);
    return (child ? child : window)->BiDiMode();
}

void TRxPopupMenu::MeasureItem(TMenuItem* Item, Integer& Width, Integer& Height) {
    if (OnMeasureItem) OnMeasureItem(this, Item, Width, Height);
}

void TRxPopupMenu::GetItemParams(TMenuItem* Item, TOwnerDrawState State, TFont* AFont, TColor& Color,
                                 TGraphic*& Graphic, Integer& NumGlyphs) {
    if (OnGetItemParams) OnGetItemParams(this, Item, State, AFont, Color, Graphic, NumGlyphs);
    if (Item && Item->IsLine()) Graphic = nullptr;
}

void TRxPopupMenu::GetImageIndex(TMenuItem* Item, TOwnerDrawState State, Integer& ImageIndex) {
    if (Images() && Item && !Item->IsLine() && OnGetImageIndex) OnGetImageIndex(this, Item, State, ImageIndex);
}

// The system's menu font, bold for the default item.
void TRxPopupMenu::setMenuFont(TFont* Font, TMenuItem* Item) {
    Font->Assign(Screen->MenuFont());
    Font->SetColor(clMenuText);
    if (Item->Default()) Font->SetStyle(Font->Style() + TFontStyles{fsBold});
}

// ---- Measuring -------------------------------------------------------------------------------

bool TRxPopupMenu::HandleMeasureItem(MEASUREITEMSTRUCT& Measure) {
    TMenuItem* item = FindItem(Measure.itemID, fkCommand);
    if (!item) return false;
    Measure.itemData = reinterpret_cast<ULONG_PTR>(item);
    HDC screen = GetDC(nullptr);
    canvas_->SetHandle(screen);
    Integer width = 0;
    Integer height = 0;
    try {
        measure(item, width, height);
    } catch (...) {
        canvas_->SetHandle(nullptr);
        ReleaseDC(nullptr, screen);
        throw;
    }
    canvas_->SetHandle(nullptr);
    ReleaseDC(nullptr, screen);
    Measure.itemWidth = static_cast<UINT>(width);
    Measure.itemHeight = static_cast<UINT>(height);
    return true;
}

void TRxPopupMenu::measure(TMenuItem* Item, Integer& Width, Integer& Height) {
    setMenuFont(canvas_->Font(), Item);
    TColor background = canvas_->Brush()->Color();
    TGraphic* graphic = nullptr;
    Integer numGlyphs = 1;
    GetItemParams(Item, {}, canvas_->Font(), background, graphic, numGlyphs);
    Integer imageIndex = Item->ImageIndex();
    GetImageIndex(Item, {}, imageIndex);
    const bool popup = isPopupItem(Item);
    const Integer margin = marginOffset();
    Height = defaultItemHeight();
    Width = popup ? 2 * margin : 0;
    Integer reserve = 0;
    if (popup) {
        reserve = static_cast<Integer>(minTextOffset_);
        if (Images()) reserve = std::max(reserve, Images()->Width() + GlyphMargin);
        const auto [captionWidth, shortcutWidth] = siblingColumns(canvas_.get(), Item);
        Width += captionWidth + shortcutWidth;
        if (Item->Count() > 0) Width += canvas_->TextWidth(TwoTabs);
        if (showCheckMarks_) Width += checkMarkWidth();
    } else {
        Width += canvas_->TextWidth(DelChars(Item->Caption(), '&'));
    }
    if (Item->IsLine()) {
        Height = std::max(canvas_->TextHeight(LineCaption) / 2, MinSeparatorHeight);
        return;
    }
    Height = std::max(Height, canvas_->TextHeight(Item->Caption()));
    const bool validImage = Images() && imageIndex >= 0 && imageIndex < Images()->Count();
    const Integer nonPopupMargin = popup ? 0 : margin;
    if (Images() && (popup || validImage)) {
        Width += std::max(Images()->Width() + GlyphMargin, reserve) + nonPopupMargin;
        if (validImage) Height = std::max(Height, Images()->Height() + GlyphVerticalMargin);
    } else if (graphic && !graphic->Empty()) {
        const TPoint glyph = graphicSize(graphic, numGlyphs);
        Width += std::max(glyph.x + GlyphMargin, reserve) + nonPopupMargin;
        Height = std::max(Height, glyph.y + GlyphVerticalMargin);
    } else if (reserve > 0) {
        Width += reserve + nonPopupMargin;
    }
    MeasureItem(Item, Width, Height);
    if (Item->Parent() == Items()) Width += static_cast<Integer>(leftMargin_) + 1;
}

// ---- Drawing -----------------------------------------------------------------------------------

bool TRxPopupMenu::HandleDrawItem(DRAWITEMSTRUCT& Draw) {
    TMenuItem* item = FindItem(Draw.itemID, fkCommand);
    if (!item) return false;
    Draw.itemData = reinterpret_cast<ULONG_PTR>(item);
    const int saved = SaveDC(Draw.hDC);
    canvas_->SetHandle(Draw.hDC);
    try {
        const bool topLevel = item->Parent() == Items();
        if (topLevel && leftMargin_ > 0 && (Draw.itemAction & ODA_DRAWENTIRE)) {
            TRect margin = canvas_->ClipRect();
            margin.Left = 0;
            margin.Right = static_cast<Integer>(leftMargin_);
            DrawMargin(margin);
        }
        const TOwnerDrawState state = OwnerDrawStateOf(Draw.itemState);
        setMenuFont(canvas_->Font(), item);
        canvas_->Brush()->SetColor(clMenu);
        if (state.Contains(odSelected) && style_ != msBtnLowered && style_ != msBtnRaised) {
            canvas_->Brush()->SetColor(clHighlight);
            canvas_->Font()->SetColor(clHighlightText);
        }
        TRect rect = Draw.rcItem;
        if (topLevel) rect.Left += static_cast<Integer>(leftMargin_) + 1;
        IntersectClipRect(Draw.hDC, rect.Left, rect.Top, rect.Right, rect.Bottom);
        DrawItem(item, rect, state);
    } catch (...) {
        canvas_->SetHandle(nullptr);
        RestoreDC(Draw.hDC, saved);
        throw;
    }
    canvas_->SetHandle(nullptr);
    RestoreDC(Draw.hDC, saved);
    return true;
}

void TRxPopupMenu::DrawItem(TMenuItem* Item, const TRect& Rect, TOwnerDrawState State) {
    if (!canvas_->HandleAllocated()) return;
    TColor background = canvas_->Brush()->Color();
    TGraphic* graphic = nullptr;
    Integer numGlyphs = 1;
    GetItemParams(Item, State, canvas_->Font(), background, graphic, numGlyphs);
    if (background != clNone) {
        canvas_->Brush()->SetColor(background);
        canvas_->FillRect(Rect);
    }
    if (OnDrawItem) {
        OnDrawItem(this, Item, Rect, State);
        return;
    }
    Integer imageIndex = Item->ImageIndex();
    GetImageIndex(Item, State, imageIndex);
    standardDrawItem(Item, Rect, State, graphic, numGlyphs, imageIndex);
}

void TRxPopupMenu::DrawMargin(const TRect& ARect) {
    if (OnDrawMargin) {
        OnDrawMargin(this, ARect);
        return;
    }
    TRect gradient = ARect;
    if (NewStyleControls) gradient.Right -= MarginEdge;
    const TColor endColor = RGB(GetRValue(clBlue) / 4, GetGValue(clBlue) / 4, GetBValue(clBlue) / 4);
    GradientFillRect(canvas_.get(), gradient, clBlue, endColor, fdTopToBottom, MarginGradientSteps);
    if (!NewStyleControls) return;
    canvas_->Pen()->SetColor(clBtnShadow);
    canvas_->MoveTo(ARect.Right - 2, ARect.Top);
    canvas_->LineTo(ARect.Right - 2, ARect.Bottom);
    canvas_->Pen()->SetColor(clBtnHighlight);
    canvas_->MoveTo(ARect.Right - 1, ARect.Top);
    canvas_->LineTo(ARect.Right - 1, ARect.Bottom);
}

// Monochrome pictures are stamped in the DC's colours; a disabled one is
// embossed, its highlight one pixel down and right when etched.
void TRxPopupMenu::drawDisabledBitmap(Integer X, Integer Y, TBitmap* Bitmap, const ItemLook& Look) {
    if (!Bitmap->Monochrome()) {
        std::unique_ptr<TBitmap> disabled =
            CreateDisabledBitmap(Bitmap, clBlack, clMenu, Look.etched, Look.grayColor, clBtnHighlight);
        DrawTransparentBitmap(canvas_.get(), X, Y, disabled.get(), ColorToRGB(clMenu));
        return;
    }
    HDC dc = canvas_->Handle();
    auto stamp = [&](Integer AtX, Integer AtY, TColor Color) {
        HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(Color)));
        const HGDIOBJ oldBrush = SelectObject(dc, brush);
        const COLORREF oldText = SetTextColor(dc, RGB(255, 255, 255));
        const COLORREF oldBack = SetBkColor(dc, RGB(0, 0, 0));
        BitBlt(dc, AtX, AtY, Bitmap->Width(), Bitmap->Height(), Bitmap->Canvas()->Handle(), 0, 0, ROP_DSPDxax);
        SetTextColor(dc, oldText);
        SetBkColor(dc, oldBack);
        SelectObject(dc, oldBrush);
        DeleteObject(brush);
    };
    if (Look.etched) stamp(X + 1, Y + 1, clBtnHighlight);
    stamp(X, Y, Look.grayColor);
}

void TRxPopupMenu::drawMenuBitmap(Integer X, Integer Y, TBitmap* Bitmap, const ItemLook& Look) {
    if (Look.disabled)
        drawDisabledBitmap(X, Y, Bitmap, Look);
    else if (Bitmap->Monochrome() && !Look.highlight)
        BitBlt(canvas_->Handle(), X, Y, Bitmap->Width(), Bitmap->Height(), Bitmap->Canvas()->Handle(), 0, 0, SRCCOPY);
    else
        DrawTransparentBitmap(canvas_.get(), X, Y, Bitmap, Bitmap->TransparentColor() & 0x00FFFFFF);
}

void TRxPopupMenu::drawCheck(const ItemLook& Look, TMenuItem* Item, TPoint At) {
    const Integer width = checkMarkWidth();
    const Integer height = checkMarkHeight();
    TBitmap check;
    check.SetMonochrome(true);
    check.SetSize(width, height);
    RECT area{0, 0, width, height};
    DrawFrameControl(check.Canvas()->Handle(), &area, DFC_MENU, Item->RadioItem() ? DFCS_MENUBULLET : DFCS_MENUCHECK);
    drawMenuBitmap(At.x, At.y, &check, Look);
}

void TRxPopupMenu::drawCheckedBackground(TRect Box, const ItemLook& Look) {
    ++Box.Top;
    --Box.Bottom;
    const TColor saved = canvas_->Brush()->Color();
    if (Look.selected) {
        canvas_->Brush()->SetColor(clBtnFace);
        canvas_->FillRect(Box);
    } else {
        TBitmap pattern;
        pattern.SetSize(8, 8);
        for (Integer y = 0; y < 8; ++y)
            for (Integer x = 0; x < 8; ++x)
                pattern.Canvas()->SetPixels(x, y, ColorToRGB((x + y) % 2 ? clBtnHighlight : clBtnFace));
        canvas_->Brush()->SetBitmap(&pattern);
        canvas_->FillRect(Box);
        canvas_->Brush()->SetBitmap(nullptr);
    }
    canvas_->Brush()->SetColor(saved);
    Frame3D(canvas_.get(), Box, Look.grayColor, clBtnHighlight, 1);
}

void TRxPopupMenu::drawGlyphBox(TMenuItem* Item, const TRect& Rect, Integer Reserve, TGraphic* Graphic,
                                Integer NumGlyphs, Integer ImageIndex, const ItemLook& Look, Integer& TextOffset) {
    const Integer margin = marginOffset();
    const bool validImage = Images() && ImageIndex >= 0 && ImageIndex < Images()->Count();
    TPoint glyph{0, 0};
    if (validImage)
        glyph = {Images()->Width(), Images()->Height()};
    else if (Graphic && !Graphic->Empty())
        glyph = graphicSize(Graphic, NumGlyphs);
    const bool hasGlyph = glyph.x > 0;
    if (!hasGlyph && Reserve <= 0) return;
    const Integer boxWidth = hasGlyph ? std::max(glyph.x + GlyphMargin, Reserve) : Reserve;
    const TRect box{Rect.Left + TextOffset - 1, Rect.Top, Rect.Left + TextOffset - 1 + boxWidth + 2, Rect.Bottom};
    if (Look.highlight) drawCheckedBackground(box, Look);
    const TPoint at{Rect.Left + TextOffset + (boxWidth - glyph.x) / 2, (Rect.Top + Rect.Bottom - glyph.y) / 2};
    if (validImage) {
        if (Look.disabled)
            ImageListDrawDisabled(Images(), canvas_.get(), at.x, at.y, ImageIndex, clBtnHighlight, Look.grayColor,
                                  Look.etched);
        else
            Images()->Draw(canvas_.get(), at.x, at.y, ImageIndex);
    } else if (auto* bitmap = dynamic_cast<TBitmap*>(Graphic); bitmap && NumGlyphs >= 2 && NumGlyphs <= MaxMultiGlyphs) {
        Integer number = Look.disabled ? 1 : Item->Checked() ? 3 : Look.selected ? 2 : 0;
        if (number >= NumGlyphs) number = 0;
        TBitmap cell;
        AssignBitmapCell(bitmap, &cell, NumGlyphs, 1, number);
        DrawTransparentBitmap(canvas_.get(), at.x, at.y, &cell, cell.TransparentColor() & 0x00FFFFFF);
    } else if (bitmap) {
        drawMenuBitmap(at.x, at.y, bitmap, Look);
    } else if (auto* icon = dynamic_cast<TIcon*>(Graphic)) {
        DrawIconEx(canvas_->Handle(), at.x, at.y, icon->Handle(), glyph.x, glyph.y, 0, nullptr, DI_NORMAL);
    } else if (Graphic) {
        canvas_->Draw(at.x, at.y, Graphic);
    } else if (Look.highlight) {
        drawCheck(Look, Item,
                  {box.Left + 2 + (Reserve - checkMarkWidth()) / 2,
                   (Rect.Top + Rect.Bottom - checkMarkHeight()) / 2 + 1});
    }
    TextOffset += boxWidth + margin;
}

void TRxPopupMenu::drawItemText(TMenuItem* Item, const TRect& Rect, Integer TextOffset, const ItemLook& Look) {
    canvas_->Brush()->SetStyle(bsClear);
    const Integer top = (Rect.Top + Rect.Bottom - canvas_->TextHeight("Ay")) / 2;
    const bool shortcut = Item->ShortCut() != scNone && Item->Count() == 0 && Look.popup;
    const Integer shortcutLeft = Rect.Left + TextOffset + siblingColumns(canvas_.get(), Item).first;
    const AnsiString shortcutText = ShortCutToText(Item->ShortCut());
    const UINT format = DT_EXPANDTABS | DT_SINGLELINE | (IsRightToLeft() ? DT_RIGHT | DT_RTLREADING : 0);
    auto drawIn = [&](TColor Color, Integer Shift) {
        if (Color != clNone) canvas_->Font()->SetColor(Color);
        canvas_->RequiredState(TCanvasState{csHandleValid, csFontValid, csBrushValid});
        RECT text{Rect.Left + TextOffset + Shift, top + Shift, Rect.Right + Shift, Rect.Bottom + Shift};
        DrawTextA(canvas_->Handle(), Item->Caption().c_str(), static_cast<int>(Item->Caption().size()), &text,
                  format);
        if (!shortcut) return;
        RECT keys{shortcutLeft + Shift, top + Shift, Rect.Right + Shift, Rect.Bottom + Shift};
        DrawTextA(canvas_->Handle(), shortcutText.c_str(), static_cast<int>(shortcutText.size()), &keys,
                  DT_EXPANDTABS | DT_SINGLELINE);
    };
    if (!Look.disabled) {
        drawIn(clNone, 0);
        return;
    }
    if (Look.etched) drawIn(clBtnHighlight, 1);
    drawIn(Look.grayColor, 0);
}

void TRxPopupMenu::standardDrawItem(TMenuItem* Item, TRect Rect, TOwnerDrawState State, TGraphic* Graphic,
                                    Integer NumGlyphs, Integer ImageIndex) {
    const bool bevelled = style_ == msBtnLowered || style_ == msBtnRaised;
    ItemLook look{};
    look.popup = isPopupItem(Item);
    look.selected = State.Contains(odSelected);
    look.disabled = !Item->Enabled() || State.Contains(odDisabled) || State.Contains(odGrayed);
    look.highlight = Item->Checked() && look.popup && !showCheckMarks_ && !bevelled;
    const bool plainSelection = look.selected && (!look.popup || !bevelled);
    HDC dc = canvas_->Handle();
    const bool grayShows = GetNearestColor(dc, static_cast<COLORREF>(ColorToRGB(clGrayText))) !=
                           GetNearestColor(dc, static_cast<COLORREF>(ColorToRGB(clHighlight)));
    look.etched = NewStyleControls && !(plainSelection && grayShows);
    look.grayColor = look.selected && !bevelled ? clGrayText : clBtnShadow;
    const Integer margin = marginOffset();
    Integer textOffset = look.popup ? 2 * margin + (showCheckMarks_ ? checkMarkWidth() : 2) : margin + 2;
    Integer reserve = look.popup ? static_cast<Integer>(minTextOffset_) : 0;
    if (look.selected && bevelled) {
        TRect frame = Rect;
        const bool lowered = style_ == msBtnLowered;
        Frame3D(canvas_.get(), frame, lowered ? clBtnShadow : clBtnHighlight, lowered ? clBtnHighlight : clBtnShadow,
                1);
    }
    if (Item->Checked() && look.popup && showCheckMarks_)
        drawCheck(look, Item,
                  {Rect.Left + (textOffset - checkMarkWidth()) / 2, (Rect.Top + Rect.Bottom - checkMarkHeight()) / 2});
    if (Images() && look.popup) reserve = std::max(reserve, Images()->Width() + GlyphMargin);
    if (!showCheckMarks_ && ((Graphic && !Graphic->Empty()) || reserve > 0)) textOffset = margin;
    drawGlyphBox(Item, Rect, reserve, Graphic, NumGlyphs, ImageIndex, look, textOffset);
    if (Item->IsLine()) {
        drawSeparator(Rect);
        return;
    }
    drawItemText(Item, Rect, textOffset, look);
}

// An etched line in the newer look, a plain double line in the older one.
void TRxPopupMenu::drawSeparator(const TRect& Rect) {
    const Integer y = (Rect.Top + Rect.Bottom) / 2 - 1;
    auto line = [&](Integer AtY, TColor Color) {
        canvas_->Pen()->SetColor(Color);
        canvas_->MoveTo(Rect.Left, AtY);
        canvas_->LineTo(Rect.Right, AtY);
    };
    if (!NewStyleControls) {
        canvas_->Pen()->SetWidth(2);
        line(y + 1, clMenuText);
        return;
    }
    canvas_->Pen()->SetWidth(1);
    line(y, clBtnShadow);
    line(y + 1, clBtnHighlight);
}

// ---- Published properties ------------------------------------------------------------------

namespace {

const TTypeInfo* const menuStyleType =
    DefineEnum<TRxMenuStyle>("TRxMenuStyle", {"msStandard", "msOwnerDraw", "msBtnLowered", "msBtnRaised"});

const TClass rxPopupMenuClass = DescribeClass<TRxPopupMenu, TPopupMenu>([](TClassBuilder<TRxPopupMenu>& c) {
    using T = TRxPopupMenu;
    c.Property("LeftMargin", &T::LeftMargin, &T::SetLeftMargin).Default(Cardinal{0});
    c.Property("MinTextOffset", &T::MinTextOffset, &T::SetMinTextOffset).Default(Cardinal{0});
    c.Property("Style", &T::Style, &T::SetStyle).Default(msStandard);
    c.Property("ShowCheckMarks", &T::ShowCheckMarks, &T::SetShowCheckMarks).Default(true);
    c.Property("Cursor", &T::Cursor, &T::SetCursor).Type(TypeInfoCursor()).Default(crDefault);
    c.Property("OwnerDraw", &T::OwnerDraw, &T::SetOwnerDraw).Stored(false);
    c.Property("Images", &T::Images, &T::SetImages);
    c.Property("OnGetImageIndex", &T::OnGetImageIndex, &T::OnGetImageIndex);
    c.Property("OnDrawItem", &T::OnDrawItem, &T::OnDrawItem);
    c.Property("OnDrawMargin", &T::OnDrawMargin, &T::OnDrawMargin);
    c.Property("OnGetItemParams", &T::OnGetItemParams, &T::OnGetItemParams);
    c.Property("OnMeasureItem", &T::OnMeasureItem, &T::OnMeasureItem);
});

struct RegisterMenuClasses {
    RegisterMenuClasses() { RegisterClasses({ClassOf<TRxPopupMenu>()}); }
} registerMenuClasses;

} // namespace
