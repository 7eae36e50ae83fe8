// The glyph and caption of the colour picker button: their layout beside
// the drop-down part, the rectangle left for the colour indicator, and one
// image per button state kept in image lists that buttons with images of the
// same size share.
#include "components/ColorPickerButton.h"
#include "components/ColorPickerSupport.h"

#include "platform/core/Classes.h"
#include "platform/vcl/Pictures.h"
#include "platform/win/DrawText.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

using namespace ColorPickerButton;

namespace {

constexpr Integer MaxNumGlyphs = 4;
constexpr Integer IndicatorBarHeight = 6;
constexpr Integer IndicatorGap = 2;
constexpr Integer GlyphIndicatorGap = 4;
constexpr TColor DisabledGrey = 0x808080;

bool sideBySide(TButtonLayout Layout) {
    return Layout == blGlyphLeft || Layout == blGlyphRight;
}

} // namespace

namespace ColorPickerButton {

// An image list of one size whose slots are handed out and given back one by one.
class TGlyphList : public TImageList {
public:
    TGlyphList(Integer AWidth, Integer AHeight);
    ~TGlyphList() override;
    // Takes the lowest free slot; the index of the slot.
    Integer AddMasked(TBitmap* Image, TColor MaskColor);
    void Delete(Integer Index);
    Integer UsedCount() const { return usedCount_; }

private:
    std::unique_ptr<TBits> used_;
    Integer usedCount_ = 0;
};

// The glyph lists of every holder, one or more per image size.
class TGlyphCache : public TObject {
public:
    ~TGlyphCache() override;
    // The latest list of that size, made when there is none.
    TGlyphList* GetList(Integer AWidth, Integer AHeight);
    // Frees the list once it holds no image.
    void ReturnList(TGlyphList* List);
    bool Empty() const { return lists_.empty(); }

private:
    std::vector<TGlyphList*> lists_;
};

// ---- TGlyphList --------------------------------------------------------------------------------------

TGlyphList::TGlyphList(Integer AWidth, Integer AHeight)
    : TImageList(AWidth, AHeight), used_(std::make_unique<TBits>()) {}

TGlyphList::~TGlyphList() = default;

// A freed slot keeps its old image until it is handed out again.
Integer TGlyphList::AddMasked(TBitmap* Image, TColor MaskColor) {
    Integer index = used_->OpenBit();
    if (index < Count())
        ReplaceMasked(index, Image, MaskColor);
    else
        index = TImageList::AddMasked(Image, MaskColor);
    used_->SetBits(index, true);
    ++usedCount_;
    return index;
}

void TGlyphList::Delete(Integer Index) {
    if (Index < 0 || Index >= used_->Size() || !used_->Bits(Index)) return;
    used_->SetBits(Index, false);
    --usedCount_;
}

// ---- TGlyphCache -------------------------------------------------------------------------------------

TGlyphCache::~TGlyphCache() {
    for (TGlyphList* list : lists_)
        delete list;
}

TGlyphList* TGlyphCache::GetList(Integer AWidth, Integer AHeight) {
    for (auto it = lists_.rbegin(); it != lists_.rend(); ++it)
        if ((*it)->Width() == AWidth && (*it)->Height() == AHeight) return *it;
    lists_.push_back(new TGlyphList(AWidth, AHeight));
    return lists_.back();
}

void TGlyphCache::ReturnList(TGlyphList* List) {
    if (!List || List->UsedCount() != 0) return;
    std::erase(lists_, List);
    delete List;
}

} // namespace ColorPickerButton

using ColorPickerButton::TGlyphCache;

namespace {

// One cache for all holders: made by the first, freed with the last list.
TGlyphCache* glyphCache = nullptr;

TGlyphCache& cache() {
    if (!glyphCache) glyphCache = new TGlyphCache;
    return *glyphCache;
}

} // namespace

// ---- TButtonGlyph ------------------------------------------------------------------------------------

TButtonGlyph::TButtonGlyph() : original_(std::make_unique<TBitmap>()) {
    original_->OnChange = TNotifyEvent(this, &TButtonGlyph::GlyphChanged);
    cache();
}

TButtonGlyph::~TButtonGlyph() {
    original_->OnChange = {};
    Invalidate();
    if (glyphCache && glyphCache->Empty()) {
        delete glyphCache;
        glyphCache = nullptr;
    }
}

void TButtonGlyph::Invalidate() {
    for (Integer& index : indexes_) {
        if (index != -1 && glyphList_) glyphList_->Delete(index);
        index = -1;
    }
    if (glyphList_) cache().ReturnList(glyphList_);
    glyphList_ = nullptr;
}

// A bitmap whose width is a whole multiple of its height holds that many
// images side by side, up to four.
void TButtonGlyph::SetGlyph(TBitmap* Value) {
    Invalidate();
    original_->Assign(Value);
    if (!Value || Value->Height() <= 0) return;
    transparentColor_ = Value->TransparentColor();
    if (Value->Width() % Value->Height() != 0) return;
    Integer count = Value->Width() / Value->Height();
    if (count > MaxNumGlyphs) count = 1;
    SetNumGlyphs(count);
}

void TButtonGlyph::SetNumGlyphs(Integer Value) {
    if (Value == numGlyphs_ || Value < 1 || Value > MaxNumGlyphs) return;
    Invalidate();
    numGlyphs_ = Value;
    GlyphChanged(original_.get());
}

void TButtonGlyph::GlyphChanged(TObject*) {
    transparentColor_ = original_->TransparentColor();
    Invalidate();
    if (OnChange) OnChange(this);
}

// ---- Images ------------------------------------------------------------------------------------------

Integer TButtonGlyph::CreateButtonGlyph(TButtonState State) {
    if (State == bsDown && numGlyphs_ < 3) State = bsUp;
    if (indexes_[State] != -1) return indexes_[State];
    if (original_->Width() == 0 || original_->Height() == 0) return -1;
    const Integer width = original_->Width() / numGlyphs_;
    const Integer height = original_->Height();
    if (!glyphList_) glyphList_ = cache().GetList(width, height);
    TBitmap image;
    image.SetSize(width, height);
    image.Canvas()->Brush()->SetColor(clBtnFace);
    image.Canvas()->FillRect({0, 0, width, height});
    const Integer slice = static_cast<Integer>(State) < numGlyphs_ ? static_cast<Integer>(State) : 0;
    const TRect source{slice * width, 0, (slice + 1) * width, height};
    if (State == bsDisabled) {
        if (numGlyphs_ > 1)
            paintDisabledSlice(image, source);
        else
            embossImage(image, width, height);
        indexes_[State] = glyphList_->AddMasked(&image, clDefault);
    } else {
        image.Canvas()->CopyRect({0, 0, width, height}, original_->Canvas(), source);
        const TColor maskColor = original_->TransparentMode() == tmFixed ? transparentColor_ : clDefault;
        indexes_[State] = glyphList_->AddMasked(&image, maskColor);
    }
    original_->Dormant();
    return indexes_[State];
}

// The glyph's own disabled image, its white, grey and transparent pixels
// turned into the button's highlight, shadow and face colours.
void TButtonGlyph::paintDisabledSlice(TBitmap& Image, const TRect& Source) {
    TCanvas* target = Image.Canvas();
    TCanvas* original = original_->Canvas();
    target->CopyRect({0, 0, Source.Width(), Source.Height()}, original, Source);
    const Integer transparent = ColorToRGB(transparentColor_);
    for (Integer y = 0; y < Source.Height(); ++y) {
        for (Integer x = 0; x < Source.Width(); ++x) {
            const TColor pixel = original->Pixels(Source.Left + x, y);
            if (pixel == clWhite) target->SetPixels(x, y, clBtnHighlight);
            if (pixel == DisabledGrey) target->SetPixels(x, y, clBtnShadow);
            if (pixel == transparent) target->SetPixels(x, y, clBtnFace);
        }
    }
}

// An embossed outline of the image's dark pixels (the white ones of a
// monochrome glyph): highlight one pixel down and right, shadow on top.
void TButtonGlyph::embossImage(TBitmap& Image, Integer Width, Integer Height) {
    TCanvas* target = Image.Canvas();
    TCanvas* original = original_->Canvas();
    const TColor ink = original_->Monochrome() ? clWhite : clBlack;
    for (const auto& [offset, color] : {std::pair{1, clBtnHighlight}, std::pair{0, clBtnShadow}}) {
        for (Integer y = 0; y + offset < Height; ++y)
            for (Integer x = 0; x + offset < Width; ++x)
                if (original->Pixels(x, y) == ink) target->SetPixels(x + offset, y + offset, color);
    }
}

// ---- Layout and drawing ------------------------------------------------------------------------------

TPlacedGlyph TButtonGlyph::calcLayout(TCanvas* Canvas, const TRect& Client, const TPoint& Offset,
                                      const AnsiString& Caption, TButtonLayout Layout, Integer Margin,
                                      Integer Spacing, Integer DropDownWidth, Integer BiDiFlags) {
    if (BiDiFlags & DT_RIGHT) {
        if (Layout == blGlyphLeft)
            Layout = blGlyphRight;
        else if (Layout == blGlyphRight)
            Layout = blGlyphLeft;
    }
    const TPoint clientSize{Client.Width() - DropDownWidth, Client.Height()};
    TPoint glyphSize{0, 0};
    if (!original_->Empty()) glyphSize = {original_->Width() / numGlyphs_, original_->Height()};
    TPlacedGlyph placed;
    TPoint textSize{0, 0};
    if (!Caption.empty()) {
        placed.TextBounds = {0, 0, Client.Width(), 0};
        DrawTextA(Canvas->Handle(), Caption.c_str(), -1, &placed.TextBounds, DT_CALCRECT | BiDiFlags);
        textSize = {placed.TextBounds.Width(), placed.TextBounds.Height()};
    }
    TPoint textPos{0, 0};
    const bool horizontal = sideBySide(Layout);
    // The axis the glyph and the text follow each other on, and the one they are centred on.
    auto along = [horizontal](TPoint& P) -> Integer& { return horizontal ? P.x : P.y; };
    auto across = [horizontal](TPoint& P) -> Integer& { return horizontal ? P.y : P.x; };
    TPoint size = clientSize;
    across(placed.GlyphPos) = (across(size) - across(glyphSize) + 1) / 2;
    across(textPos) = (across(size) - across(textSize) + 1) / 2;
    if (textSize.x == 0 || glyphSize.x == 0) Spacing = 0;
    const Integer room = along(size);
    if (Margin == -1) {
        if (Spacing == -1) {
            Margin = (room - (along(glyphSize) + along(textSize))) / 3;
            Spacing = Margin;
        } else {
            Margin = (room - (along(glyphSize) + Spacing + along(textSize)) + 1) / 2;
        }
    } else if (Spacing == -1) {
        Spacing = (room - (Margin + along(glyphSize)) - along(textSize)) / 2;
    }
    if (Layout == blGlyphLeft || Layout == blGlyphTop) {
        along(placed.GlyphPos) = Margin;
        along(textPos) = Margin + along(glyphSize) + Spacing;
    } else {
        along(placed.GlyphPos) = room - Margin - along(glyphSize);
        along(textPos) = along(placed.GlyphPos) - Spacing - along(textSize);
    }
    placed.GlyphPos = {placed.GlyphPos.x + Client.Left + Offset.x, placed.GlyphPos.y + Client.Top + Offset.y};
    placed.TextBounds = MovedRect(placed.TextBounds, textPos.x + Client.Left + Offset.x,
                                     textPos.y + Client.Top + Offset.y);
    return placed;
}

TRect TButtonGlyph::indicatorRect(const TRect& Client, const TPlacedGlyph& Placed, const AnsiString& Caption,
                                  TButtonLayout Layout, Integer DropDownWidth) const {
    if (!Caption.empty()) {
        const TRect& text = Placed.TextBounds;
        TRect R{text.Left, text.Bottom, text.Right, text.Bottom + IndicatorBarHeight};
        if (R.Bottom + IndicatorGap > Client.Bottom) R.Bottom = Client.Bottom - IndicatorGap;
        return R;
    }
    TRect R = Client;
    R.Right -= DropDownWidth + IndicatorGap;
    R = InflatedRect(R, -IndicatorGap, -IndicatorGap);
    if (original_->Width() <= 0 || original_->Height() <= 0) return R;
    const Integer glyphWidth = original_->Width() / numGlyphs_;
    const Integer glyphHeight = original_->Height();
    const TPoint at = Placed.GlyphPos;
    switch (Layout) {
    case blGlyphLeft:
        R.Left = at.x + glyphWidth + GlyphIndicatorGap;
        R.Top = at.y;
        R.Bottom = at.y + glyphHeight;
        break;
    case blGlyphRight:
        R.Right = at.x - GlyphIndicatorGap;
        R.Top = at.y;
        R.Bottom = at.y + glyphHeight;
        break;
    case blGlyphTop:
        R.Top = at.y + glyphHeight + GlyphIndicatorGap;
        break;
    case blGlyphBottom:
        R.Bottom = at.y - GlyphIndicatorGap;
        break;
    }
    return R;
}

void TButtonGlyph::drawGlyph(TCanvas* Canvas, const TPoint& GlyphPos, TButtonState State, bool Transparent) {
    if (original_->Width() == 0 || original_->Height() == 0) return;
    const Integer index = CreateButtonGlyph(State);
    if (index < 0) return;
    if (!Transparent && State != bsExclusive)
        glyphList_->DrawEx(Canvas->Handle(), index, GlyphPos.x, GlyphPos.y,
                           static_cast<COLORREF>(ColorToRGB(clBtnFace)), CLR_NONE, ILD_NORMAL);
    else
        glyphList_->DrawEx(Canvas->Handle(), index, GlyphPos.x, GlyphPos.y, CLR_NONE, CLR_NONE, ILD_TRANSPARENT);
}

void TButtonGlyph::drawCaption(TCanvas* Canvas, const AnsiString& Caption, TRect TextBounds, TButtonState State,
                               Integer BiDiFlags) {
    if (Caption.empty()) return;
    Canvas->Brush()->SetStyle(bsClear);
    const UINT format = DT_CENTER | DT_VCENTER | static_cast<UINT>(BiDiFlags);
    auto drawText = [&](const TRect& Bounds) {
        Canvas->RequiredState({csHandleValid, csFontValid, csBrushValid});
        TRect R = Bounds;
        DrawTextA(Canvas->Handle(), Caption.c_str(), -1, &R, format);
    };
    if (State == bsDisabled) {
        const TColor fontColor = Canvas->Font()->Color();
        Canvas->Font()->SetColor(clBtnHighlight);
        drawText(MovedRect(TextBounds, 1, 1));
        Canvas->Font()->SetColor(clBtnShadow);
        drawText(TextBounds);
        Canvas->Font()->SetColor(fontColor);
    } else {
        drawText(TextBounds);
    }
}

TRect TButtonGlyph::Draw(TCanvas* Canvas, const TRect& Client, const TPoint& Offset, const AnsiString& Caption,
                         TButtonLayout Layout, Integer Margin, Integer Spacing, TButtonState State,
                         bool Transparent, Integer DropDownWidth, Integer BiDiFlags) {
    const TPlacedGlyph placed =
        calcLayout(Canvas, Client, Offset, Caption, Layout, Margin, Spacing, DropDownWidth, BiDiFlags);
    drawGlyph(Canvas, placed.GlyphPos, State, Transparent);
    drawCaption(Canvas, Caption, placed.TextBounds, State, BiDiFlags);
    return indicatorRect(Client, placed, Caption, Layout, DropDownWidth);
}
