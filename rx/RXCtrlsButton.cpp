// The speed button of the Rx controls: its glyph object, which makes each
// state's picture once and keeps it in an image list of a cache shared by
// every button, and the button's painting and mouse handling.
#include "rx/RXCtrls.h"

#include "platform/core/CodePages.h"
#include "platform/vcl/ActnList.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/ImgList.h"
#include "platform/vcl/Menus.h"
#include "platform/win/DrawText.h"
#include "platform/win/Messages.h"

#include <algorithm>
#include <vector>

// ---- The glyph cache ---------------------------------------------------------------

// An image list whose slots are handed out and given back one by one.
class TGlyphList : public TImageList {
public:
    TGlyphList(Integer AWidth, Integer AHeight) : TImageList(AWidth, AHeight) {}

    // The first free slot takes the image; the list grows when none is free.
    Integer AddMaskedSlot(TBitmap* Image, TColor MaskColor) {
        auto freeSlot = std::find(used_.begin(), used_.end(), false);
        const auto index = static_cast<Integer>(freeSlot - used_.begin());
        if (freeSlot == used_.end()) {
            AddMasked(Image, MaskColor);
            used_.push_back(true);
        } else {
            ReplaceMasked(index, Image, MaskColor);
            *freeSlot = true;
        }
        ++usedCount_;
        return index;
    }

    void ReleaseSlot(Integer Index) {
        if (Index < 0 || Index >= static_cast<Integer>(used_.size()) || !used_[Index]) return;
        used_[Index] = false;
        --usedCount_;
    }

    Integer UsedCount() const { return usedCount_; }

private:
    std::vector<bool> used_;
    Integer usedCount_ = 0;
};

namespace {

// One glyph list per image size, shared by every button; it exists while some list does.
class TGlyphCache {
public:
    TGlyphList* GetList(Integer Width, Integer Height) {
        for (auto& list : lists_)
            if (list->Width() == Width && list->Height() == Height) return list.get();
        lists_.push_back(std::make_unique<TGlyphList>(Width, Height));
        return lists_.back().get();
    }
    void ReturnList(TGlyphList* List) {
        std::erase_if(lists_, [List](const auto& list) { return list.get() == List; });
    }
    bool Empty() const { return lists_.empty(); }

private:
    std::vector<std::unique_ptr<TGlyphList>> lists_;
};

std::unique_ptr<TGlyphCache> glyphCache;

TGlyphList* glyphListOfSize(Integer Width, Integer Height) {
    if (!glyphCache) glyphCache = std::make_unique<TGlyphCache>();
    return glyphCache->GetList(Width, Height);
}

void returnGlyphList(TGlyphList* List) {
    glyphCache->ReturnList(List);
    if (glyphCache->Empty()) glyphCache.reset();
}

constexpr Integer MaxGlyphs = 5;
// The drop-down mark: rows of 7, 5, 3 and 1 pixels, and the room it takes
// beside the text or the glyph.
constexpr Integer MarkWidth = 7;
constexpr Integer MarkHeight = 4;
constexpr Integer MarkTextReserve = 9;
constexpr Integer MarkGlyphReserve = 6;
// The grey of an inactive flat button's glyph: the eye's weights out of 256.
constexpr Integer RedWeight = 77;
constexpr Integer GreenWeight = 150;
constexpr Integer BlueWeight = 29;
constexpr TColor PaletteRelative = 0x02000000;

TColor grayOf(TColor Color) {
    const Integer gray = (RedWeight * GetRValue(Color) + GreenWeight * GetGValue(Color) +
                          BlueWeight * GetBValue(Color)) >> 8;
    return static_cast<TColor>(RGB(gray, gray, gray));
}

// Every pixel grey but those of the two colours kept.
void makeGray(TBitmap* Image, TColor Keep1, TColor Keep2) {
    TCanvas* canvas = Image->Canvas();
    for (Integer y = 0; y < Image->Height(); ++y)
        for (Integer x = 0; x < Image->Width(); ++x) {
            const TColor pixel = canvas->Pixels(x, y);
            if (pixel != Keep1 && pixel != Keep2) canvas->SetPixels(x, y, grayOf(pixel));
        }
}

TRect shrink(const TRect& Rect, Integer By) {
    return {Rect.Left + By, Rect.Top + By, Rect.Right - By, Rect.Bottom - By};
}

// The caption's lines, each shortened with "..." to Width.
AnsiString shortenLines(const AnsiString& Caption, TCanvas* Canvas, Integer Width) {
    AnsiString result;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = Caption.find('\n', start);
        AnsiString line = Caption.substr(start, end == AnsiString::npos ? AnsiString::npos : end - start);
        const bool carriageReturn = !line.empty() && line.back() == '\r';
        if (carriageReturn) line.pop_back();
        result += ShortenText(line, Canvas, Width);
        if (end == AnsiString::npos) return result;
        result += carriageReturn ? "\r\n" : "\n";
        start = end + 1;
    }
}

} // namespace

// ---- TRxButtonGlyph --------------------------------------------------------------------

TRxButtonGlyph::TRxButtonGlyph() : original_(std::make_unique<TBitmap>()) {
    std::fill(std::begin(indexes_), std::end(indexes_), -1);
    original_->OnChange = TNotifyEvent(this, &TRxButtonGlyph::GlyphChanged);
}

TRxButtonGlyph::~TRxButtonGlyph() {
    original_->OnChange = nullptr;
    Invalidate();
}

void TRxButtonGlyph::SetGlyph(TBitmap* Value) {
    if (Value) {
        original_->Assign(Value);
    } else {
        TBitmap empty;
        original_->Assign(&empty);
    }
}

void TRxButtonGlyph::GlyphChanged(TObject*) {
    Invalidate();
    transparentColor_ = original_->TransparentColor() & ~PaletteRelative;
    // A glyph without height (cleared while a form is read) keeps its count.
    if (original_->Height() > 0 && original_->Width() % original_->Height() == 0) {
        Integer count = original_->Width() / original_->Height();
        numGlyphs_ = static_cast<TRxNumGlyphs>(count > MaxGlyphs || count < 1 ? 1 : count);
    }
    if (OnChange) OnChange(this);
}

void TRxButtonGlyph::SetNumGlyphs(TRxNumGlyphs Value) {
    if (Value == 0 || Value == numGlyphs_) return;
    Invalidate();
    numGlyphs_ = Value;
    if (OnChange) OnChange(this);
}

void TRxButtonGlyph::SetWordWrap(bool Value) {
    if (wordWrap_ == Value) return;
    wordWrap_ = Value;
    if (OnChange) OnChange(this);
}

void TRxButtonGlyph::SetAlignment(TAlignment Value) {
    if (alignment_ == Value) return;
    alignment_ = Value;
    if (OnChange) OnChange(this);
}

TPoint TRxButtonGlyph::GlyphSize() const {
    if (original_->Empty() || original_->Height() == 0) return {0, 0};
    return {original_->Width() / numGlyphs_, original_->Height()};
}

void TRxButtonGlyph::Invalidate() {
    for (Integer& index : indexes_) {
        if (index != -1 && glyphList_) glyphList_->ReleaseSlot(index);
        index = -1;
    }
    if (glyphList_ && glyphList_->UsedCount() == 0) {
        returnGlyphList(glyphList_);
        glyphList_ = nullptr;
    }
}

std::unique_ptr<TBitmap> TRxButtonGlyph::stateImage(TRxButtonState State, TColor& MaskColor) {
    const TPoint size = GlyphSize();
    auto image = std::make_unique<TBitmap>();
    image->SetSize(size.x, size.y);
    TCanvas* canvas = image->Canvas();
    canvas->Brush()->SetColor(clBtnFace);
    canvas->FillRect({0, 0, size.x, size.y});
    auto copyImage = [&](Integer Number) {
        if (Number >= numGlyphs_) Number = 0;
        canvas->CopyRect({0, 0, size.x, size.y}, original_->Canvas(),
                         {Number * size.x, 0, (Number + 1) * size.x, size.y});
    };
    MaskColor = transparentColor_;
    switch (State) {
    case rbsDisabled:
        if (numGlyphs_ > 1) {
            copyImage(rbsDisabled);
            break;
        }
        copyImage(0);
        // Black, a glyph's usual outline, is what the disabled look embosses.
        image = CreateDisabledBitmapEx(image.get(), clBlack);
        MaskColor = ColorToRGB(clBtnFace);
        break;
    case rbsInactive:
        if (numGlyphs_ == MaxGlyphs) {
            copyImage(rbsInactive);
            break;
        }
        copyImage(0);
        makeGray(image.get(), transparentColor_, ColorToRGB(clBtnFace));
        break;
    default:
        copyImage(State);
    }
    return image;
}

Integer TRxButtonGlyph::CreateButtonGlyph(TRxButtonState State) {
    if (State == rbsDown && numGlyphs_ < 3) State = rbsUp;
    if (indexes_[State] != -1) return indexes_[State];
    const TPoint size = GlyphSize();
    if (size.x == 0 || size.y == 0) return -1;
    if (!glyphList_) glyphList_ = glyphListOfSize(size.x, size.y);
    TColor maskColor = clNone;
    std::unique_ptr<TBitmap> image = stateImage(State, maskColor);
    original_->Dormant();
    indexes_[State] = glyphList_->AddMaskedSlot(image.get(), maskColor);
    return indexes_[State];
}

void TRxButtonGlyph::drawGlyph(TCanvas* Canvas, const TPoint& At, TRxButtonState State) {
    const Integer index = CreateButtonGlyph(State);
    if (index != -1) glyphList_->Draw(Canvas, At.x, At.y, index);
}

void TRxButtonGlyph::drawCaption(TCanvas* Canvas, TRect Rect, const AnsiString& Caption,
                                 TRxButtonState State, UINT Flags) {
    Canvas->Brush()->SetStyle(bsClear);
    auto drawIn = [&](TColor Color, Integer Shift) {
        Canvas->Font()->SetColor(Color);
        Canvas->RequiredState(TCanvasState{csHandleValid, csFontValid, csBrushValid});
        RECT r{Rect.Left + Shift, Rect.Top + Shift, Rect.Right + Shift, Rect.Bottom + Shift};
        DrawTextA(Canvas->Handle(), Caption.c_str(), static_cast<int>(Caption.size()), &r, Flags);
    };
    if (State == rbsDisabled) {
        drawIn(clBtnHighlight, 1);
        drawIn(clBtnShadow, 0);
    } else {
        drawIn(clBtnText, 0);
    }
}

namespace {

struct ButtonParts {
    TPoint glyph;
    TRect text;
};

// Places glyph and text of the given sizes in a client area of Client along
// the layout's direction, with Margin and Spacing (-1 shares the free space).
ButtonParts placeParts(TPoint Client, TPoint Glyph, TPoint Text, TButtonLayout Layout, Integer Margin,
                       Integer Spacing) {
    const bool horizontal = Layout == blGlyphLeft || Layout == blGlyphRight;
    auto along = [&](TPoint P) { return horizontal ? P.x : P.y; };
    auto across = [&](TPoint P) { return horizontal ? P.y : P.x; };
    const Integer total = along(Client);
    const Integer glyphLength = along(Glyph);
    const Integer textLength = along(Text);
    if (glyphLength == 0 || textLength == 0) Spacing = 0;
    if (Margin == -1 && Spacing == -1) {
        Spacing = (total - glyphLength - textLength) / 3;
        Margin = Spacing;
    } else if (Margin == -1) {
        Margin = (total - glyphLength - Spacing - textLength) / 2;
    } else if (Spacing == -1) {
        Spacing = (total - Margin - glyphLength - textLength) / 2;
    }
    Integer glyphStart = Margin;
    Integer textStart = glyphStart + glyphLength + Spacing;
    if (Layout == blGlyphRight || Layout == blGlyphBottom) {
        glyphStart = total - Margin - glyphLength;
        textStart = glyphStart - Spacing - textLength;
    }
    const Integer glyphAcross = (across(Client) - across(Glyph)) / 2;
    const Integer textAcross = (across(Client) - across(Text)) / 2;
    ButtonParts parts;
    parts.glyph = horizontal ? TPoint{glyphStart, glyphAcross} : TPoint{glyphAcross, glyphStart};
    const TPoint textOrigin = horizontal ? TPoint{textStart, textAcross} : TPoint{textAcross, textStart};
    parts.text = {textOrigin.x, textOrigin.y, textOrigin.x + Text.x, textOrigin.y + Text.y};
    return parts;
}

} // namespace

TRect TRxButtonGlyph::Draw(TCanvas* Canvas, const TRect& Client, const TPoint& Offset,
                           const AnsiString& Caption, TButtonLayout Layout, Integer Margin, Integer Spacing,
                           bool DropDownMark, TRxButtonState State) {
    const TPoint glyph = GlyphSize();
    const TPoint client{RectWidth(Client), RectHeight(Client)};
    const Integer reserved = (Margin != -1 ? Margin : 0) + (Spacing != -1 ? Spacing : 0);
    TPoint textSpace = client;
    if (Layout == blGlyphLeft || Layout == blGlyphRight)
        textSpace.x -= glyph.x + reserved + (DropDownMark ? MarkTextReserve : 0);
    else
        textSpace.y -= glyph.y + reserved;
    textSpace = {Max(textSpace.x, 0), Max(textSpace.y, 0)};
    const AnsiString text = wordWrap_ ? Caption : shortenLines(Caption, Canvas, textSpace.x);
    const UINT wrap = wordWrap_ ? DT_WORDBREAK : 0;
    RECT measured{0, 0, textSpace.x, 0};
    if (!text.empty())
        DrawTextA(Canvas->Handle(), text.c_str(), static_cast<int>(text.size()), &measured,
                  DT_CALCRECT | DT_CENTER | wrap);
    const TPoint textSize =
        text.empty() ? TPoint{0, 0} : TPoint{Min(measured.Right, textSpace.x), Min(measured.Bottom, textSpace.y)};
    // The mark takes room after the text, or after the glyph.
    const bool markAfterText = glyph.x == 0 || Layout == blGlyphLeft;
    TPoint placedGlyph = glyph;
    TPoint placedText = textSize;
    if (DropDownMark && markAfterText) placedText.x += MarkTextReserve;
    if (DropDownMark && !markAfterText) placedGlyph.x += MarkGlyphReserve;
    ButtonParts parts = placeParts(client, placedGlyph, placedText, Layout, Margin, Spacing);
    const TPoint shift{Client.Left + Offset.x, Client.Top + Offset.y};
    const TPoint glyphAt{parts.glyph.x + shift.x, parts.glyph.y + shift.y};
    drawGlyph(Canvas, glyphAt, State);
    TRect textRect{parts.text.Left + shift.x, parts.text.Top + shift.y, parts.text.Left + shift.x + textSize.x,
                   parts.text.Top + shift.y + textSize.y};
    static constexpr UINT alignmentFlags[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    if (!text.empty()) drawCaption(Canvas, textRect, text, State, alignmentFlags[alignment_] | wrap);
    if (DropDownMark) {
        TPoint markAt;
        if (!markAfterText)
            markAt = {glyphAt.x + glyph.x + 1, glyphAt.y + glyph.y / 2};
        else if (!text.empty())
            markAt = {textRect.Right + 3, (textRect.Top + textRect.Bottom) / 2};
        else
            markAt = {Client.Left + Offset.x + (client.x - MarkWidth) / 2, Client.Top + Offset.y + client.y / 2};
        drawDropDownMark(Canvas, markAt, State == rbsDisabled);
    }
    return textRect;
}

// A downward triangle, its top row at Position's height.
void TRxButtonGlyph::drawDropDownMark(TCanvas* Canvas, const TPoint& Position, bool Disabled) {
    auto drawIn = [&](TColor Color, Integer Shift) {
        for (Integer row = 0; row < MarkHeight; ++row) {
            const Integer left = Position.x + Shift + row;
            const Integer y = Position.y + Shift + row;
            for (Integer x = left; x < left + MarkWidth - 2 * row; ++x)
                Canvas->SetPixels(x, y, ColorToRGB(Color));
        }
    };
    if (Disabled) {
        drawIn(clBtnHighlight, 1);
        drawIn(clBtnShadow, 0);
    } else {
        drawIn(clBtnText, 0);
    }
}

// ---- TRxSpeedButton ---------------------------------------------------------------------

namespace {

constexpr Integer DefaultButtonSize = 25;

// The dither of a button held down in a group: button face and highlight in a checkerboard.
TBitmap* ditherPattern() {
    static std::unique_ptr<TBitmap> pattern;
    if (!pattern) {
        pattern = std::make_unique<TBitmap>();
        pattern->SetSize(8, 8);
    }
    for (Integer y = 0; y < 8; ++y)
        for (Integer x = 0; x < 8; ++x)
            pattern->Canvas()->SetPixels(x, y, (x + y) % 2 ? ColorToRGB(clBtnHighlight) : ColorToRGB(clBtnFace));
    return pattern.get();
}

} // namespace

TRxSpeedButton::TRxSpeedButton(TComponent* AOwner)
    : TGraphicControl(AOwner), glyph_(std::make_unique<TRxButtonGlyph>()),
      drawImage_(std::make_unique<TBitmap>()) {
    RegisterRxResources();
    SetBounds(0, 0, DefaultButtonSize, DefaultButtonSize);
    SetControlStyle(TControlStyle{csCaptureMouse, csOpaque, csDoubleClicks, csReplicatable});
    glyph_->OnChange = TNotifyEvent(this, &TRxSpeedButton::GlyphChanged);
    SetParentFont(true);
    SetParentShowHint(false);
    SetShowHint(true);
}

TRxSpeedButton::~TRxSpeedButton() {
    glyph_->OnChange = nullptr;
    SetDropDownMenu(nullptr);
}

void TRxSpeedButton::Notification(TComponent* AComponent, TOperation Operation) {
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == dropDownMenu_) {
        dropDownMenu_ = nullptr;
        Invalidate();
    }
}

void TRxSpeedButton::SetDropDownMenu(TPopupMenu* Value) {
    if (dropDownMenu_ == Value) return;
    if (dropDownMenu_) dropDownMenu_->RemoveFreeNotification(this);
    dropDownMenu_ = Value;
    if (Value) Value->FreeNotification(this);
    if (markDropDown_) Invalidate();
}

void TRxSpeedButton::SetMarkDropDown(bool Value) {
    if (markDropDown_ == Value) return;
    markDropDown_ = Value;
    if (dropDownMenu_) Invalidate();
}

void TRxSpeedButton::SetTransparent(bool Value) {
    if (transparent_ == Value) return;
    transparent_ = Value;
    Invalidate();
}

void TRxSpeedButton::GlyphChanged(TObject*) {
    Invalidate();
}

void TRxSpeedButton::SetGlyph(TBitmap* Value) {
    glyph_->SetGlyph(Value);
    Invalidate();
}

void TRxSpeedButton::SetNumGlyphs(TRxNumGlyphs Value) {
    glyph_->SetNumGlyphs(Value);
}

void TRxSpeedButton::SetAlignment(TAlignment Value) {
    glyph_->SetAlignment(Value);
}

void TRxSpeedButton::SetWordWrap(bool Value) {
    glyph_->SetWordWrap(Value);
}

void TRxSpeedButton::SetAllowAllUp(bool Value) {
    if (allowAllUp_ == Value) return;
    allowAllUp_ = Value;
    updateExclusive();
}

void TRxSpeedButton::SetAllowTimer(bool Value) {
    allowTimer_ = Value;
    if (!Value) repeatTimer_.reset();
}

void TRxSpeedButton::SetGroupIndex(Integer Value) {
    if (groupIndex_ == Value) return;
    groupIndex_ = Value;
    updateExclusive();
}

void TRxSpeedButton::SetDown(bool Value) {
    if (groupIndex_ == 0) Value = false;
    if (Value == down_) return;
    if (down_ && !allowAllUp_) return;
    down_ = Value;
    if (Value) {
        if (state_ == rbsUp) Invalidate();
        state_ = rbsExclusive;
        updateExclusive();
    } else {
        state_ = rbsUp;
        Repaint();
    }
}

void TRxSpeedButton::updateExclusive() {
    if (groupIndex_ == 0 || !Parent()) return;
    TMessage message{CM_BUTTONPRESSED, static_cast<WPARAM>(groupIndex_), reinterpret_cast<LPARAM>(this), 0};
    Parent()->Broadcast(message);
}

void TRxSpeedButton::SetFlat(bool Value) {
    if (flat_ == Value) return;
    flat_ = Value;
    Invalidate();
}

void TRxSpeedButton::SetGrayedInactive(bool Value) {
    if (grayedInactive_ == Value) return;
    grayedInactive_ = Value;
    Invalidate();
}

void TRxSpeedButton::SetLayout(TButtonLayout Value) {
    if (layout_ == Value) return;
    layout_ = Value;
    Invalidate();
}

void TRxSpeedButton::SetMargin(Integer Value) {
    if (Value == margin_ || Value < -1) return;
    margin_ = Value;
    Invalidate();
}

void TRxSpeedButton::SetSpacing(Integer Value) {
    if (Value == spacing_) return;
    spacing_ = Value;
    Invalidate();
}

void TRxSpeedButton::SetStyle(TButtonStyle Value) {
    if (style_ == Value) return;
    style_ = Value;
    Invalidate();
}

void TRxSpeedButton::setState(TRxButtonState Value) {
    if (state_ == Value) return;
    state_ = Value;
    Invalidate();
}

TRxButtonState TRxSpeedButton::paintState() const {
    if (state_ != rbsDisabled && flat_ && !mouseInControl_ && !ComponentState().Contains(csDesigning))
        return rbsInactive;
    return state_;
}

void TRxSpeedButton::drawFrame(TCanvas* Canvas, TRect& Rect, bool Pressed, bool NewStyle) {
    if (!Pressed) {
        if (NewStyle && flat_) {
            Frame3D(Canvas, Rect, clBtnHighlight, clBtnShadow, 1);
        } else if (NewStyle) {
            Frame3D(Canvas, Rect, clBtnHighlight, clWindowFrame, 1);
            Frame3D(Canvas, Rect, clBtnFace, clBtnShadow, 1);
        } else if (flat_) {
            Frame3D(Canvas, Rect, clBtnHighlight, clWindowFrame, 1);
        } else {
            Frame3D(Canvas, Rect, clWindowFrame, clWindowFrame, 1);
            Frame3D(Canvas, Rect, clBtnHighlight, clBtnShadow, 1);
        }
    } else if (NewStyle) {
        Frame3D(Canvas, Rect, clWindowFrame, clBtnHighlight, 1);
        if (!flat_) Frame3D(Canvas, Rect, clBtnShadow, clBtnFace, 1);
    } else if (flat_) {
        Frame3D(Canvas, Rect, clWindowFrame, clBtnHighlight, 1);
    } else {
        Frame3D(Canvas, Rect, clWindowFrame, clWindowFrame, 1);
        Canvas->Pen()->SetColor(clBtnShadow);
        Canvas->Polyline({{Rect.Left, Rect.Bottom - 1}, {Rect.Left, Rect.Top}, {Rect.Right, Rect.Top}});
    }
    Rect = shrink(Rect, 1);
}

void TRxSpeedButton::Paint() {
    if (!Enabled()) {
        state_ = rbsDisabled;
        dragging_ = false;
    } else if (state_ == rbsDisabled) {
        state_ = down_ && groupIndex_ != 0 ? rbsExclusive : rbsUp;
    }
    const TRxButtonState painted = paintState();
    drawImage_->SetSize(Width(), Height());
    TCanvas* canvas = drawImage_->Canvas();
    canvas->Font()->Assign(Font());
    canvas->Brush()->SetColor(clBtnFace);
    canvas->Brush()->SetStyle(bsSolid);
    TRect rect{0, 0, Width(), Height()};
    canvas->FillRect(rect);
    if (transparent_) CopyParentImage(this, canvas);
    const bool newStyle = style_ == bsNew || (style_ == bsAutoDetect && NewStyleControls);
    if (painted != rbsInactive || state_ == rbsExclusive)
        drawFrame(canvas, rect, state_ == rbsDown || state_ == rbsExclusive, newStyle);
    else
        rect = shrink(rect, 2);
    if (state_ == rbsExclusive && !transparent_ && (!flat_ || painted == rbsInactive)) {
        canvas->Brush()->SetBitmap(ditherPattern());
        canvas->FillRect(rect);
        canvas->Brush()->SetBitmap(nullptr);
    }
    const TRxButtonState glyphState = state_ == rbsDisabled || !grayedInactive_ ? state_ : painted;
    PaintGlyph(canvas, rect, glyphState);
    Canvas()->Draw(0, 0, drawImage_.get());
}

void TRxSpeedButton::PaintGlyph(TCanvas* Canvas, const TRect& ARect, TRxButtonState AState) {
    const bool pressed = state_ == rbsDown || state_ == rbsExclusive;
    const TPoint offset = pressed ? TPoint{1, 1} : TPoint{0, 0};
    glyph_->Draw(Canvas, ARect, offset, Caption(), layout_, margin_, spacing_, markDropDown_ && dropDownMenu_,
                 AState);
}

void TRxSpeedButton::MouseEnter() {
    if (OnMouseEnter) OnMouseEnter(this);
}

void TRxSpeedButton::MouseLeave() {
    if (OnMouseLeave) OnMouseLeave(this);
}

void TRxSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft || !Enabled() || menuTracking_) return;
    if (state_ != rbsDown) setState(rbsDown);
    dragging_ = true;
    if (dropDownMenu_ && dropDownMenu_->AutoPopup()) {
        popUpDropDownMenu();
        return;
    }
    if (!allowTimer_) return;
    if (!repeatTimer_) repeatTimer_ = std::make_unique<TTimer>(nullptr);
    repeatTimer_->SetOnTimer(TNotifyEvent(this, &TRxSpeedButton::TimerExpired));
    repeatTimer_->SetInterval(initPause_);
    repeatTimer_->SetEnabled(true);
}

TPoint TRxSpeedButton::dropDownMenuPoint() const {
    const bool below = menuPosition_ == dmpBottom;
    switch (dropDownMenu_->Alignment()) {
    case paLeft:
        return below ? TPoint{-1, Height()} : TPoint{Width(), -1};
    case paRight:
        return below ? TPoint{Width() + 1, Height()} : TPoint{-1, -1};
    case paCenter:
        break;
    }
    return {Width() / 2, Height()};
}

// The menu runs its own loop; the press that opened it ends as a release
// that clicks nothing, and the press that closed it on the button is dropped
// so that it does not open the menu again.
void TRxSpeedButton::popUpDropDownMenu() {
    const TPoint at = ClientToScreen(dropDownMenuPoint());
    if (TCustomForm* form = GetParentForm(this)) form->SendCancelMode(nullptr);
    menuTracking_ = true;
    struct EndTracking {
        TRxSpeedButton* button;
        ~EndTracking() { button->menuTracking_ = false; }
    } endTracking{this};
    try {
        dropDownMenu_->Popup(at.x, at.y);
    } catch (...) {
        MouseUp(mbLeft, {}, -1, -1);
        throw;
    }
    MouseUp(mbLeft, {}, -1, -1);
    removePendingPresses();
}

void TRxSpeedButton::removePendingPresses() {
    if (!Parent() || !Parent()->HandleAllocated()) return;
    const HWND window = Parent()->Handle();
    MSG message;
    while (PeekMessageA(&message, window, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, PM_NOREMOVE)) {
        const Integer x = static_cast<SmallInt>(LOWORD(message.lParam));
        const Integer y = static_cast<SmallInt>(HIWORD(message.lParam));
        const bool inside = x >= Left() && x < Left() + Width() && y >= Top() && y < Top() + Height();
        if (message.message == WM_LBUTTONUP || !inside) return;
        PeekMessageA(&message, window, message.message, message.message, PM_REMOVE);
    }
}

void TRxSpeedButton::TimerExpired(TObject*) {
    repeatTimer_->SetInterval(repeatInterval_);
    if (state_ != rbsDown || !MouseCapture()) return;
    try {
        Click();
    } catch (...) {
        repeatTimer_->SetEnabled(false);
        throw;
    }
}

void TRxSpeedButton::MouseMove(TShiftState Shift, Integer X, Integer Y) {
    TGraphicControl::MouseMove(Shift, X, Y);
    if (!dragging_) return;
    const bool inside = X >= 0 && X < ClientWidth() && Y >= 0 && Y <= ClientHeight();
    if (inside)
        setState(down_ ? rbsExclusive : rbsDown);
    else
        setState(down_ ? rbsExclusive : rbsUp);
}

void TRxSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (repeatTimer_) repeatTimer_->SetEnabled(false);
    if (!dragging_) return;
    dragging_ = false;
    const bool doClick = X >= 0 && X < ClientWidth() && Y >= 0 && Y <= ClientHeight();
    if (groupIndex_ == 0) {
        state_ = rbsUp;
        mouseInControl_ = false;
        Invalidate();
    } else if (doClick) {
        SetDown(!down_);
        if (down_) Repaint();
    } else {
        if (down_) state_ = rbsExclusive;
        Repaint();
    }
    if (doClick) Click();
    checkMouseInControl();
}

void TRxSpeedButton::Click() {
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(modalResult_);
    TGraphicControl::Click();
}

void TRxSpeedButton::checkMouseInControl() {
    if (!Parent() || !Enabled() || !Visible() || dragging_) return;
    const TPoint cursor = Mouse->CursorPos();
    const bool inside = FindDragTarget(cursor, true) == this;
    if (inside == mouseInControl_) return;
    TMessage message{inside ? CM_MOUSEENTER : CM_MOUSELEAVE, 0, 0, 0};
    Perform(message.Msg, 0, 0);
}

void TRxSpeedButton::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case CM_BUTTONPRESSED: {
        auto* sender = reinterpret_cast<TRxSpeedButton*>(Message.LParam);
        if (static_cast<Integer>(Message.WParam) != groupIndex_ || sender == this) break;
        if (sender->Down() && down_) {
            down_ = false;
            state_ = rbsUp;
            Invalidate();
        }
        allowAllUp_ = sender->AllowAllUp();
        break;
    }
    case CM_MOUSEENTER:
        TGraphicControl::Dispatch(Message);
        if (mouseInControl_ || !Enabled()) break;
        mouseInControl_ = true;
        if (flat_) Repaint();
        MouseEnter();
        break;
    case CM_MOUSELEAVE:
        TGraphicControl::Dispatch(Message);
        if (!mouseInControl_ || !Enabled()) break;
        mouseInControl_ = false;
        if (flat_) Invalidate();
        MouseLeave();
        break;
    case CM_SYSCOLORCHANGE:
        glyph_->Invalidate();
        Invalidate();
        break;
    case CM_DIALOGCHAR:
        cmDialogChar(Message);
        break;
    case CM_ENABLEDCHANGED:
        TGraphicControl::Dispatch(Message);
        Repaint();
        checkMouseInControl();
        break;
    case CM_VISIBLECHANGED:
        TGraphicControl::Dispatch(Message);
        checkMouseInControl();
        break;
    case WM_LBUTTONDBLCLK:
        TGraphicControl::Dispatch(Message);
        if (down_) DblClick();
        break;
    case CM_FONTCHANGED:
    case CM_TEXTCHANGED:
        TGraphicControl::Dispatch(Message);
        Invalidate();
        break;
    default:
        TGraphicControl::Dispatch(Message);
    }
}

// ---- Action ------------------------------------------------------------------------------------

namespace {

// A button of a group stays down while its action is checked.
class TRxSpeedButtonActionLink : public TControlActionLink {
public:
    using TControlActionLink::TControlActionLink;
    bool IsCheckedLinked() override {
        auto* action = dynamic_cast<TCustomAction*>(Action());
        return TControlActionLink::IsCheckedLinked() && action && button()->Down() == action->Checked();
    }
    void SetChecked(bool Value) override {
        if (IsCheckedLinked()) button()->SetDown(Value);
    }

private:
    TRxSpeedButton* button() const { return static_cast<TRxSpeedButton*>(Control()); }
};

const TClass rxSpeedButtonActionLinkClass = DescribeClass<TRxSpeedButtonActionLink, TControlActionLink>();

} // namespace

TControlActionLinkClass TRxSpeedButton::GetActionLinkClass() {
    return ActionLinkClassOf<TRxSpeedButtonActionLink>();
}

void TRxSpeedButton::ActionChange(TObject* Sender, bool CheckDefaults) {
    TGraphicControl::ActionChange(Sender, CheckDefaults);
    auto* action = dynamic_cast<TCustomAction*>(Sender);
    if (!action) return;
    if (!CheckDefaults || !down_) SetDown(action->Checked());
    if (Glyph()->Empty()) glyphFromActionImage(action);
}

// The image is drawn over fuchsia, which the glyph then leaves out.
void TRxSpeedButton::glyphFromActionImage(TCustomAction* Action) {
    TCustomActionList* list = Action->ActionList();
    TCustomImageList* images = list ? list->Images() : nullptr;
    if (!images || Action->ImageIndex() < 0 || Action->ImageIndex() >= images->Count()) return;
    TBitmap glyph;
    glyph.SetSize(images->Width(), images->Height());
    glyph.Canvas()->Brush()->SetColor(clFuchsia);
    glyph.Canvas()->FillRect({0, 0, images->Width(), images->Height()});
    images->Draw(glyph.Canvas(), 0, 0, Action->ImageIndex());
    SetGlyph(&glyph);
}

// ---- Published properties ------------------------------------------------------------------

namespace {

const TTypeInfo* const dropDownMenuPosType =
    DefineEnum<TRxDropDownMenuPos>("TRxDropDownMenuPos", {"dmpBottom", "dmpRight"});
const TTypeInfo* const buttonStyleType =
    DefineEnum<TButtonStyle>("TButtonStyle", {"bsAutoDetect", "bsWin31", "bsNew"});
const TTypeInfo* const buttonLayoutType = DefineEnum<TButtonLayout>(
    "TButtonLayout", {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"});

const TClass rxSpeedButtonClass =
    DescribeClass<TRxSpeedButton, TGraphicControl>([](TClassBuilder<TRxSpeedButton>& c) {
        using T = TRxSpeedButton;
        c.Property("Alignment", &T::Alignment, &T::SetAlignment).Default(taCenter);
        c.Property("AllowAllUp", &T::AllowAllUp, &T::SetAllowAllUp).Default(false);
        c.Property("AllowTimer", &T::AllowTimer, &T::SetAllowTimer).Default(false);
        c.Property("GroupIndex", &T::GroupIndex, &T::SetGroupIndex).Default(0);
        c.Property("Down", &T::Down, &T::SetDown).Default(false);
        c.Property("DropDownMenu", &T::DropDownMenu, &T::SetDropDownMenu);
        c.Property("MenuPosition", &T::MenuPosition, &T::SetMenuPosition).Default(dmpBottom);
        c.Property("Caption", &T::Caption, &T::SetCaption);
        c.Property("Flat", &T::Flat, &T::SetFlat).Default(false);
        c.Property("Glyph", &T::Glyph, &T::SetGlyph);
        c.Property("GrayedInactive", &T::GrayedInactive, &T::SetGrayedInactive).Default(true);
        c.Property("InitPause", &T::InitPause, &T::SetInitPause).Default(Word{500});
        c.Property("Layout", &T::Layout, &T::SetLayout).Default(blGlyphTop);
        c.Property("Margin", &T::Margin, &T::SetMargin).Default(-1);
        c.Property("MarkDropDown", &T::MarkDropDown, &T::SetMarkDropDown).Default(true);
        c.Property("ModalResult", &T::ModalResult, &T::SetModalResult).Default(0);
        c.Property("NumGlyphs", &T::NumGlyphs, &T::SetNumGlyphs).Default(TRxNumGlyphs{1});
        c.Property("ParentShowHint", &T::ParentShowHint, &T::SetParentShowHint).Default(false);
        c.Property("RepeatInterval", &T::RepeatInterval, &T::SetRepeatInterval).Default(Word{100});
        c.Property("ShowHint", &T::ShowHint, &T::SetShowHint).Default(true);
        c.Property("Spacing", &T::Spacing, &T::SetSpacing).Default(1);
        c.Property("Style", &T::Style, &T::SetStyle).Default(bsAutoDetect);
        c.Property("Transparent", &T::Transparent, &T::SetTransparent).Default(false);
        c.Property("WordWrap", &T::WordWrap, &T::SetWordWrap).Default(false);
        c.Property("OnMouseEnter", &T::OnMouseEnter, &T::OnMouseEnter);
        c.Property("OnMouseLeave", &T::OnMouseLeave, &T::OnMouseLeave);
    });

struct RegisterSpeedButton {
    RegisterSpeedButton() { RegisterClass(rxSpeedButtonClass); }
} registerSpeedButton;

} // namespace

void TRxSpeedButton::cmDialogChar(TMessage& Message) {
    const AnsiString hotkey = GetHotkey(Caption());
    if (Enabled() && !hotkey.empty() &&
        AnsiCharUpper(hotkey[0]) == AnsiCharUpper(static_cast<AnsiChar>(TWMKey(Message).CharCode()))) {
        Click();
        Message.Result = 1;
        return;
    }
    TGraphicControl::Dispatch(Message);
}
