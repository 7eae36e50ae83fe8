// The notify-event form of the editor's method chains, and the option objects
// and pictures of the gutter.
#include "editor/SynEditMiscClasses.h"

#include "platform/core/SysUtils.h"

#include <algorithm>

void TSynNotifyEventChain::DoFire(const TNotifyEvent& AEvent) {
    AEvent(Sender);
}

// ---- Option objects ----------------------------------------------------------------

namespace {

constexpr const char* GutterFontName = "Courier New";
constexpr Integer GutterFontSize = 8;
constexpr Integer DefaultDigitCount = 4;
constexpr Integer MinDigitCount = 2;
constexpr Integer MaxDigitCount = 12;
constexpr Integer DefaultLeftOffset = 16;
constexpr Integer DefaultRightOffset = 2;
constexpr Integer DefaultGutterWidth = 30;
constexpr Integer DefaultGradientSteps = 48;
constexpr Integer MinGradientSteps = 2;
// Pixels of the gutter's border beside the line numbers.
constexpr Integer LineNumberBorder = 2;
constexpr Integer DefaultBookmarkLeftMargin = 2;
constexpr Integer DefaultBookmarkXoffset = 12;

// The middle of a picture Height rows high in a line of LineHeight rows:
// the rows to take from the picture and the row of the line they go to.
struct VerticalPlacement {
    Integer SourceTop;
    Integer Rows;
    Integer DestTop;
};

VerticalPlacement placeInLine(Integer Height, Integer Y, Integer LineHeight) {
    if (LineHeight >= Height) return {0, Height, Y + (LineHeight - Height) / 2};
    return {(Height - LineHeight) / 2, LineHeight, Y};
}

// The bitmaps of the picture strips, shared by name among all strips.
struct SharedBitmap {
    Integer RefCount;
    AnsiString Name;
    std::unique_ptr<TBitmap> Bitmap;
};
using SharedBitmaps = std::vector<SharedBitmap>;

std::unique_ptr<SharedBitmaps>& sharedBitmaps() {
    static std::unique_ptr<SharedBitmaps> list;
    return list;
}

TBitmap* acquireSharedBitmap(HINSTANCE Module, const AnsiString& Name) {
    const AnsiString key = UpperCase(Name);
    auto& list = sharedBitmaps();
    if (list)
        for (SharedBitmap& entry : *list)
            if (entry.Name == key) {
                ++entry.RefCount;
                return entry.Bitmap.get();
            }
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->LoadFromResourceName(Module, Name);
    if (!list) list = std::make_unique<SharedBitmaps>();
    list->push_back(SharedBitmap{1, key, std::move(bitmap)});
    return list->back().Bitmap.get();
}

void releaseSharedBitmap(TBitmap* Bitmap) {
    auto& list = sharedBitmaps();
    if (!list) return;
    auto entry = std::find_if(list->begin(), list->end(),
                              [Bitmap](const SharedBitmap& shared) { return shared.Bitmap.get() == Bitmap; });
    if (entry == list->end() || --entry->RefCount > 0) return;
    list->erase(entry);
    if (list->empty()) list.reset();
}

// The published properties, as form resources set them.
const TClass describedSelectedColor =
    DescribeClass<TSynSelectedColor, TPersistent>([](TClassBuilder<TSynSelectedColor>& c) {
        c.Property("Background", &TSynSelectedColor::Background, &TSynSelectedColor::SetBackground)
            .Type(TypeInfoColor())
            .Default(clHighlight);
        c.Property("Foreground", &TSynSelectedColor::Foreground, &TSynSelectedColor::SetForeground)
            .Type(TypeInfoColor())
            .Default(clHighlightText);
    });

const TClass describedGutter = DescribeClass<TSynGutter, TPersistent>([](TClassBuilder<TSynGutter>& c) {
    DefineEnum<TSynGutterBorderStyle>("TSynGutterBorderStyle", {"gbsNone", "gbsMiddle", "gbsRight"});
    c.Property("AutoSize", &TSynGutter::AutoSize, &TSynGutter::SetAutoSize).Default(false);
    c.Property("BorderStyle", &TSynGutter::BorderStyle, &TSynGutter::SetBorderStyle).Default(gbsMiddle);
    c.Property("Color", &TSynGutter::Color, &TSynGutter::SetColor).Type(TypeInfoColor()).Default(clBtnFace);
    c.Property("BorderColor", &TSynGutter::BorderColor, &TSynGutter::SetBorderColor)
        .Type(TypeInfoColor())
        .Default(clWindow);
    c.Property("Cursor", &TSynGutter::Cursor, &TSynGutter::SetCursor)
        .Type(TypeInfoCursor())
        .Default(crDefault);
    c.Property("DigitCount", &TSynGutter::DigitCount, &TSynGutter::SetDigitCount).Default(DefaultDigitCount);
    c.Property("Font", &TSynGutter::Font, &TSynGutter::SetFont);
    c.Property("LeadingZeros", &TSynGutter::LeadingZeros, &TSynGutter::SetLeadingZeros).Default(false);
    c.Property("LeftOffset", &TSynGutter::LeftOffset, &TSynGutter::SetLeftOffset).Default(DefaultLeftOffset);
    c.Property("RightOffset", &TSynGutter::RightOffset, &TSynGutter::SetRightOffset)
        .Default(DefaultRightOffset);
    c.Property("ShowLineNumbers", &TSynGutter::ShowLineNumbers, &TSynGutter::SetShowLineNumbers)
        .Default(false);
    c.Property("UseFontStyle", &TSynGutter::UseFontStyle, &TSynGutter::SetUseFontStyle).Default(true);
    c.Property("Visible", &TSynGutter::Visible, &TSynGutter::SetVisible).Default(true);
    c.Property("Width", &TSynGutter::Width, &TSynGutter::SetWidth).Default(DefaultGutterWidth);
    c.Property("ZeroStart", &TSynGutter::ZeroStart, &TSynGutter::SetZeroStart).Default(false);
    c.Property("LineNumberStart", &TSynGutter::LineNumberStart, &TSynGutter::SetLineNumberStart).Default(1);
    c.Property("Gradient", &TSynGutter::Gradient, &TSynGutter::SetGradient).Default(false);
    c.Property("GradientStartColor", &TSynGutter::GradientStartColor, &TSynGutter::SetGradientStartColor)
        .Type(TypeInfoColor())
        .Default(clWindow);
    c.Property("GradientEndColor", &TSynGutter::GradientEndColor, &TSynGutter::SetGradientEndColor)
        .Type(TypeInfoColor())
        .Default(clBtnFace);
    c.Property("GradientSteps", &TSynGutter::GradientSteps, &TSynGutter::SetGradientSteps)
        .Default(DefaultGradientSteps);
});

const TClass describedGlyph = DescribeClass<TSynGlyph, TPersistent>([](TClassBuilder<TSynGlyph>& c) {
    c.Property("Glyph", &TSynGlyph::Glyph, &TSynGlyph::SetGlyph);
    c.Property("MaskColor", &TSynGlyph::MaskColor, &TSynGlyph::SetMaskColor)
        .Type(TypeInfoColor())
        .Default(clNone);
    c.Property("Visible", &TSynGlyph::Visible, &TSynGlyph::SetVisible).Default(true);
});

} // namespace

// ---- TSynSelectedColor ---------------------------------------------------------------

void TSynSelectedColor::Assign(TPersistent* Source) {
    auto* source = dynamic_cast<TSynSelectedColor*>(Source);
    if (!source) return TPersistent::Assign(Source);
    background_ = source->background_;
    foreground_ = source->foreground_;
    changed();
}

void TSynSelectedColor::SetBackground(TColor Value) {
    if (background_ == Value) return;
    background_ = Value;
    changed();
}

void TSynSelectedColor::SetForeground(TColor Value) {
    if (foreground_ == Value) return;
    foreground_ = Value;
    changed();
}

void TSynSelectedColor::changed() {
    if (OnChange) OnChange(this);
}

// ---- TSynGutter ----------------------------------------------------------------------

TSynGutter::TSynGutter()
    : font_(std::make_unique<TFont>()), digitCount_(DefaultDigitCount),
      autoSizeDigitCount_(DefaultDigitCount), leftOffset_(DefaultLeftOffset),
      rightOffset_(DefaultRightOffset), width_(DefaultGutterWidth), gradientSteps_(DefaultGradientSteps) {
    font_->SetName(GutterFontName);
    font_->SetSize(GutterFontSize);
    font_->SetStyle({});
    font_->OnChange = TNotifyEvent(this, &TSynGutter::FontChanged);
}

TSynGutter::~TSynGutter() = default;

void TSynGutter::Assign(TPersistent* Source) {
    auto* source = dynamic_cast<TSynGutter*>(Source);
    if (!source) return TPersistent::Assign(Source);
    // The font's own change event would announce the copy before it is complete.
    font_->OnChange = nullptr;
    font_->Assign(source->font_.get());
    font_->OnChange = TNotifyEvent(this, &TSynGutter::FontChanged);
    autoSize_ = source->autoSize_;
    borderStyle_ = source->borderStyle_;
    color_ = source->color_;
    borderColor_ = source->borderColor_;
    digitCount_ = source->digitCount_;
    autoSizeDigitCount_ = source->autoSizeDigitCount_;
    leadingZeros_ = source->leadingZeros_;
    leftOffset_ = source->leftOffset_;
    rightOffset_ = source->rightOffset_;
    showLineNumbers_ = source->showLineNumbers_;
    useFontStyle_ = source->useFontStyle_;
    visible_ = source->visible_;
    width_ = source->width_;
    zeroStart_ = source->zeroStart_;
    lineNumberStart_ = source->lineNumberStart_;
    gradient_ = source->gradient_;
    gradientStartColor_ = source->gradientStartColor_;
    gradientEndColor_ = source->gradientEndColor_;
    gradientSteps_ = source->gradientSteps_;
    changed();
}

Integer TSynGutter::shiftedLineNumber(Integer Line) const {
    if (zeroStart_) return Line - 1;
    if (lineNumberStart_ > 1) return Line + lineNumberStart_ - 1;
    return Line;
}

void TSynGutter::AutoSizeDigitCount(Integer LinesCount) {
    if (!(visible_ && autoSize_ && showLineNumbers_)) {
        autoSizeDigitCount_ = digitCount_;
        return;
    }
    const auto digits = static_cast<Integer>(IntToStr(shiftedLineNumber(LinesCount)).size());
    update(autoSizeDigitCount_, std::max(digits, digitCount_));
}

AnsiString TSynGutter::FormatLineNumber(Integer Line) const {
    AnsiString number = IntToStr(shiftedLineNumber(Line));
    const auto field = static_cast<std::size_t>(std::max(autoSizeDigitCount_, 0));
    if (number.size() < field) number.insert(0, field - number.size(), ' ');
    if (leadingZeros_)
        for (std::size_t i = 0; i + 1 < field && number[i] == ' '; ++i)
            number[i] = '0';
    return number;
}

Integer TSynGutter::RealGutterWidth(Integer CharWidth) const {
    if (!visible_) return 0;
    if (showLineNumbers_)
        return autoSizeDigitCount_ * CharWidth + leftOffset_ + rightOffset_ + LineNumberBorder;
    return width_;
}

void TSynGutter::SetAutoSize(bool Value) {
    update(autoSize_, Value);
}

void TSynGutter::SetBorderStyle(TSynGutterBorderStyle Value) {
    borderStyle_ = Value;
    changed();
}

void TSynGutter::SetColor(TColor Value) {
    update(color_, Value);
}

void TSynGutter::SetBorderColor(TColor Value) {
    update(borderColor_, Value);
}

void TSynGutter::SetDigitCount(Integer Value) {
    Value = std::clamp(Value, MinDigitCount, MaxDigitCount);
    if (digitCount_ == Value) return;
    digitCount_ = Value;
    autoSizeDigitCount_ = Value;
    changed();
}

void TSynGutter::SetLeadingZeros(bool Value) {
    update(leadingZeros_, Value);
}

void TSynGutter::SetLeftOffset(Integer Value) {
    update(leftOffset_, std::max(Value, 0));
}

void TSynGutter::SetRightOffset(Integer Value) {
    update(rightOffset_, std::max(Value, 0));
}

void TSynGutter::SetShowLineNumbers(bool Value) {
    update(showLineNumbers_, Value);
}

void TSynGutter::SetUseFontStyle(bool Value) {
    update(useFontStyle_, Value);
}

void TSynGutter::SetVisible(bool Value) {
    update(visible_, Value);
}

void TSynGutter::SetWidth(Integer Value) {
    update(width_, std::max(Value, 0));
}

void TSynGutter::SetZeroStart(bool Value) {
    update(zeroStart_, Value);
}

void TSynGutter::SetLineNumberStart(Integer Value) {
    Value = std::max(Value, 0);
    if (lineNumberStart_ == Value) return;
    lineNumberStart_ = Value;
    zeroStart_ = Value == 0;
    changed();
}

void TSynGutter::SetGradient(bool Value) {
    update(gradient_, Value);
}

void TSynGutter::SetGradientStartColor(TColor Value) {
    update(gradientStartColor_, Value);
}

void TSynGutter::SetGradientEndColor(TColor Value) {
    update(gradientEndColor_, Value);
}

void TSynGutter::SetGradientSteps(Integer Value) {
    update(gradientSteps_, std::max(Value, MinGradientSteps));
}

void TSynGutter::changed() {
    if (OnChange) OnChange(this);
}

void TSynGutter::FontChanged(TObject*) {
    changed();
}

// ---- TSynBookMarkOpt -----------------------------------------------------------------

TSynBookMarkOpt::TSynBookMarkOpt(TComponent* AOwner)
    : owner_(AOwner), leftMargin_(DefaultBookmarkLeftMargin), xoffset_(DefaultBookmarkXoffset) {}

void TSynBookMarkOpt::Assign(TPersistent* Source) {
    auto* source = dynamic_cast<TSynBookMarkOpt*>(Source);
    if (!source) return TPersistent::Assign(Source);
    bookmarkImages_ = source->bookmarkImages_;
    watchImages();
    drawBookmarksFirst_ = source->drawBookmarksFirst_;
    enableKeys_ = source->enableKeys_;
    glyphsVisible_ = source->glyphsVisible_;
    leftMargin_ = source->leftMargin_;
    xoffset_ = source->xoffset_;
    changed();
}

void TSynBookMarkOpt::SetBookmarkImages(TImageList* Value) {
    if (bookmarkImages_ == Value) return;
    bookmarkImages_ = Value;
    watchImages();
    changed();
}

void TSynBookMarkOpt::SetDrawBookmarksFirst(bool Value) {
    update(drawBookmarksFirst_, Value);
}

void TSynBookMarkOpt::SetGlyphsVisible(bool Value) {
    update(glyphsVisible_, Value);
}

void TSynBookMarkOpt::SetLeftMargin(Integer Value) {
    update(leftMargin_, Value);
}

void TSynBookMarkOpt::SetXoffset(Integer Value) {
    update(xoffset_, Value);
}

void TSynBookMarkOpt::changed() {
    if (OnChange) OnChange(this);
}

// The owner must hear when the list it draws from is freed.
void TSynBookMarkOpt::watchImages() {
    if (bookmarkImages_ && owner_) bookmarkImages_->FreeNotification(owner_);
}

// ---- TSynGlyph -----------------------------------------------------------------------

TSynGlyph::TSynGlyph(HINSTANCE aModule, const AnsiString& aName, TColor aMaskColor)
    : internalMaskColor_(clNone), glyph_(std::make_unique<TBitmap>()) {
    if (!aName.empty()) {
        internalGlyph_ = std::make_unique<TBitmap>();
        internalGlyph_->LoadFromResourceName(aModule, aName);
        internalMaskColor_ = aMaskColor;
    }
    glyph_->OnChange = TNotifyEvent(this, &TSynGlyph::GlyphChange);
}

TSynGlyph::~TSynGlyph() = default;

void TSynGlyph::Assign(TPersistent* Source) {
    auto* source = dynamic_cast<TSynGlyph*>(Source);
    if (!source) return TPersistent::Assign(Source);
    // The bitmap's own change event would announce the copy before it is complete.
    glyph_->OnChange = nullptr;
    glyph_->Assign(source->glyph_.get());
    glyph_->OnChange = TNotifyEvent(this, &TSynGlyph::GlyphChange);
    if (source->internalGlyph_) {
        if (!internalGlyph_) internalGlyph_ = std::make_unique<TBitmap>();
        internalGlyph_->Assign(source->internalGlyph_.get());
    } else {
        internalGlyph_.reset();
    }
    internalMaskColor_ = source->internalMaskColor_;
    maskColor_ = source->maskColor_;
    visible_ = source->visible_;
    changed();
}

TBitmap* TSynGlyph::pictureInUse(TColor& maskColor) const {
    if (!glyph_->Empty()) {
        maskColor = maskColor_;
        return glyph_.get();
    }
    maskColor = internalMaskColor_;
    return internalGlyph_ && !internalGlyph_->Empty() ? internalGlyph_.get() : nullptr;
}

void TSynGlyph::Draw(TCanvas* aCanvas, Integer aX, Integer aY, Integer aLineHeight) {
    TColor maskColor = clNone;
    TBitmap* picture = pictureInUse(maskColor);
    if (!picture) return;
    const VerticalPlacement rows = placeInLine(picture->Height(), aY, aLineHeight);
    const Integer width = picture->Width();
    aCanvas->BrushCopy(Rect(aX, rows.DestTop, aX + width, rows.DestTop + rows.Rows), picture,
                       Rect(0, rows.SourceTop, width, rows.SourceTop + rows.Rows), maskColor);
}

void TSynGlyph::SetGlyph(TBitmap* Value) {
    glyph_->Assign(Value);
}

void TSynGlyph::SetMaskColor(TColor Value) {
    if (maskColor_ == Value) return;
    maskColor_ = Value;
    changed();
}

void TSynGlyph::SetVisible(bool Value) {
    if (visible_ == Value) return;
    visible_ = Value;
    changed();
}

Integer TSynGlyph::Width() const {
    TColor maskColor = clNone;
    TBitmap* picture = pictureInUse(maskColor);
    return picture ? picture->Width() : 0;
}

Integer TSynGlyph::Height() const {
    TColor maskColor = clNone;
    TBitmap* picture = pictureInUse(maskColor);
    return picture ? picture->Height() : 0;
}

void TSynGlyph::changed() {
    if (OnChange) OnChange(this);
}

void TSynGlyph::GlyphChange(TObject*) {
    changed();
}

// ---- TSynInternalImage -----------------------------------------------------------------

TSynInternalImage::TSynInternalImage(HINSTANCE aModule, const AnsiString& Name, Integer Count)
    : images_(acquireSharedBitmap(aModule, Name)), count_(Count) {
    width_ = Count > 0 ? (images_->Width() + Count / 2) / Count : 0;
    height_ = images_->Height();
}

TSynInternalImage::~TSynInternalImage() {
    releaseSharedBitmap(images_);
}

bool TSynInternalImage::placePicture(Integer Number, Integer X, Integer Y, Integer LineHeight, TRect& Dest,
                                     TRect& Source) const {
    if (Number < 0 || Number >= count_) return false;
    const VerticalPlacement rows = placeInLine(height_, Y, LineHeight);
    Source = Rect(Number * width_, rows.SourceTop, (Number + 1) * width_, rows.SourceTop + rows.Rows);
    Dest = Rect(X, rows.DestTop, X + width_, rows.DestTop + rows.Rows);
    return true;
}

void TSynInternalImage::Draw(TCanvas* ACanvas, Integer Number, Integer X, Integer Y, Integer LineHeight) {
    TRect dest, source;
    if (!placePicture(Number, X, Y, LineHeight, dest, source)) return;
    ACanvas->CopyRect(dest, images_->Canvas(), source);
}

void TSynInternalImage::DrawTransparent(TCanvas* ACanvas, Integer Number, Integer X, Integer Y,
                                        Integer LineHeight, TColor TransparentColor) {
    TRect dest, source;
    if (!placePicture(Number, X, Y, LineHeight, dest, source)) return;
    // A brush copy with a clear brush leaves the canvas alone where the picture has the colour.
    TBrush* brush = ACanvas->Brush();
    const TBrushStyle previousStyle = brush->Style();
    brush->SetStyle(bsClear);
    ACanvas->BrushCopy(dest, images_, source, TransparentColor);
    brush->SetStyle(previousStyle);
}
