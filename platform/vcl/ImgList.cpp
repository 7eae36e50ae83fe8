// Image lists kept as one colour image and one mask per entry, drawn through
// the canvas's device context the way the common controls draw theirs.
#include "platform/vcl/ImgList.h"

#include "platform/win/Bitmaps.h"
#include "platform/win/Blit.h"
#include "platform/win/Gdi.h"
#include "platform/win/SysColors.h"

#include <algorithm>

namespace {

constexpr const char* SImageIndexError = "Invalid ImageList Index";
constexpr const char* SReplaceImage = "Unable to Replace Image";
constexpr const char* SInvalidImageSize = "Invalid image size";

constexpr Integer DefaultImageSize = 16;
constexpr int FocusBlendPercent = 25;
constexpr int SelectedBlendPercent = 50;
constexpr int FullPercent = 100;
// The destination is kept where the source is black and takes the brush where it is white.
constexpr DWORD PaintBrushWhereSourceWhite = 0x00E20746;

// Indexed by TDrawingStyle.
constexpr UINT DrawingStyleFlags[] = {ILD_FOCUS, ILD_SELECTED, ILD_NORMAL, ILD_TRANSPARENT};

const TTypeInfo* const drawingStyleType =
    DefineEnum<TDrawingStyle>("TDrawingStyle", {"dsFocus", "dsSelected", "dsNormal", "dsTransparent"});
const TTypeInfo* const imageTypeType = DefineEnum<TImageType>("TImageType", {"itImage", "itMask"});

const TClass describedCustomImageList = DescribeClass<TCustomImageList, TComponent>();
const TClass describedImageList = DescribeClass<TImageList, TCustomImageList>([](TClassBuilder<TImageList>&
                                                                                     c) {
    c.Property("BkColor", &TCustomImageList::BkColor, &TCustomImageList::SetBkColor)
        .Type(TypeInfoColor())
        .Default(clNone);
    c.Property("BlendColor", &TCustomImageList::BlendColor, &TCustomImageList::SetBlendColor)
        .Type(TypeInfoColor())
        .Default(clNone);
    c.Property("DrawingStyle", &TCustomImageList::DrawingStyle, &TCustomImageList::SetDrawingStyle)
        .Default(dsNormal);
    c.Property("Height", &TCustomImageList::Height, &TCustomImageList::SetHeight).Default(DefaultImageSize);
    c.Property("ImageType", &TCustomImageList::ImageType, &TCustomImageList::SetImageType).Default(itImage);
    c.Property("Masked", &TCustomImageList::Masked, &TCustomImageList::SetMasked).Default(true);
    c.Property("Width", &TCustomImageList::Width, &TCustomImageList::SetWidth).Default(DefaultImageSize);
    c.Property("OnChange", &TCustomImageList::OnChange, &TCustomImageList::OnChange);
});

COLORREF colorRefOf(TColor color) {
    if (color == clNone) return CLR_NONE;
    if (color == clDefault) return CLR_DEFAULT;
    return static_cast<COLORREF>(ColorToRGB(color));
}

bool isTransparent(const PixelSurface* mask, int x, int y) {
    return mask && mask->At(x, y) == PixelWhite;
}

Byte blendChannel(Pixel pixel, Pixel colour, int shift, int percent) {
    int channel = static_cast<int>((pixel >> shift) & 0xFF);
    int blended = static_cast<int>((colour >> shift) & 0xFF);
    return static_cast<Byte>((channel * (FullPercent - percent) + blended * percent) / FullPercent);
}

void blendOpaquePixels(PixelSurface& picture, const PixelSurface* mask, Pixel colour, int percent) {
    constexpr int redShift = 16, greenShift = 8, blueShift = 0;
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x) {
            if (isTransparent(mask, x, y)) continue;
            Pixel pixel = picture.At(x, y);
            picture.Set(x, y,
                        (Pixel(blendChannel(pixel, colour, redShift, percent)) << redShift) |
                            (Pixel(blendChannel(pixel, colour, greenShift, percent)) << greenShift) |
                            blendChannel(pixel, colour, blueShift, percent));
        }
}

void fillTransparentPixels(PixelSurface& picture, const PixelSurface& mask, Pixel colour) {
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            if (isTransparent(&mask, x, y)) picture.Set(x, y, colour);
}

// A bitmap over the surface, for the device context of its canvas.
std::unique_ptr<TBitmap> bitmapOver(std::shared_ptr<PixelSurface> surface) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetHandle(CreateBitmapFromSurface(std::move(surface)));
    return bitmap;
}

// Paints the colour through the white pixels of the monochrome stamp.
void stampWith(HDC dc, Integer x, Integer y, TColor color, TBitmap* stamp) {
    HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(color)));
    HGDIOBJ previousBrush = SelectObject(dc, brush);
    COLORREF textColor = SetTextColor(dc, RGB(0, 0, 0));
    COLORREF backgroundColor = SetBkColor(dc, RGB(255, 255, 255));
    BitBlt(dc, x, y, stamp->Width(), stamp->Height(), stamp->Canvas()->Handle(), 0, 0,
           PaintBrushWhereSourceWhite);
    SetTextColor(dc, textColor);
    SetBkColor(dc, backgroundColor);
    SelectObject(dc, previousBrush);
    DeleteObject(brush);
}

} // namespace

// ---- TChangeLink --------------------------------------------------------------------

TChangeLink::~TChangeLink() {
    if (sender_) sender_->UnRegisterChanges(this);
}

void TChangeLink::Change() {
    if (OnChange) OnChange(sender_);
}

// ---- TCustomImageList ---------------------------------------------------------------

TCustomImageList::TCustomImageList(TComponent* AOwner)
    : TComponent(AOwner), width_(DefaultImageSize), height_(DefaultImageSize) {}

TCustomImageList::TCustomImageList(Integer AWidth, Integer AHeight) : TCustomImageList(nullptr) {
    setSize(AWidth, AHeight);
}

// The controls showing the list let go of it in their free notification,
// which unregisters their change links: the links must still be there.
TCustomImageList::~TCustomImageList() {
    Destroying();
    RemoveFreeNotifications();
    for (TChangeLink* link : links_)
        link->sender_ = nullptr;
}

void TCustomImageList::Change() {
    std::vector<TChangeLink*> links = links_;
    for (TChangeLink* link : links)
        link->Change();
    if (OnChange) OnChange(this);
}

void TCustomImageList::RegisterChanges(TChangeLink* Value) {
    if (Value->sender_) Value->sender_->UnRegisterChanges(Value);
    Value->sender_ = this;
    links_.push_back(Value);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* Value) {
    std::erase(links_, Value);
    Value->sender_ = nullptr;
}

void TCustomImageList::setSize(Integer AWidth, Integer AHeight) {
    if (AWidth < 1 || AHeight < 1) throw EInvalidOperation(SInvalidImageSize);
    if (AWidth == width_ && AHeight == height_) return;
    width_ = AWidth;
    height_ = AHeight;
    images_.clear();
    Change();
}

// Pixels outside the source are transparent in a masked list.
std::vector<TCustomImageList::Image> TCustomImageList::cut(TBitmap* image, TBitmap* mask, bool keyed,
                                                           Pixel key) const {
    std::vector<Image> pieces;
    if (!image || image->Empty()) return pieces;
    std::shared_ptr<PixelSurface> source = BitmapSurface(image->Handle());
    std::shared_ptr<PixelSurface> maskSource =
        mask && !mask->Empty() ? BitmapSurface(mask->Handle()) : nullptr;
    if (source->IsMonochrome()) key = NearestMonochrome(key);
    int count = std::max(1, source->Width() / width_);
    for (int piece = 0; piece < count; ++piece) {
        Image cutImage{std::make_shared<PixelSurface>(width_, height_), nullptr};
        if (masked_) {
            cutImage.mask = std::make_shared<PixelSurface>(width_, height_, true);
            cutImage.mask->Fill(PixelWhite);
        }
        int left = piece * width_;
        for (int y = 0; y < std::min(height_, source->Height()); ++y)
            for (int x = 0; x < std::min(width_, source->Width() - left); ++x) {
                Pixel pixel = source->At(left + x, y) & PixelColourMask;
                bool transparent = keyed ? pixel == key
                                         : maskSource && left + x < maskSource->Width() &&
                                               y < maskSource->Height() &&
                                               maskSource->At(left + x, y) == PixelWhite;
                // Keyed pixels turn black, as the common controls leave them.
                cutImage.colour->Set(x, y, keyed && transparent && masked_ ? PixelBlack : pixel);
                if (cutImage.mask) cutImage.mask->Set(x, y, transparent ? PixelWhite : PixelBlack);
            }
        pieces.push_back(std::move(cutImage));
    }
    return pieces;
}

std::vector<TCustomImageList::Image> TCustomImageList::cutMasked(TBitmap* image, TColor maskColor) const {
    if (image && maskColor == clDefault) maskColor = image->TransparentColor();
    bool keyed = maskColor != clNone;
    Pixel key = keyed ? PixelFromColorRef(static_cast<COLORREF>(ColorToRGB(maskColor))) : PixelBlack;
    return cut(image, nullptr, keyed, key);
}

Integer TCustomImageList::append(std::vector<Image> pieces) {
    if (pieces.empty()) return -1;
    Integer first = Count();
    images_.insert(images_.end(), pieces.begin(), pieces.end());
    Change();
    return first;
}

Integer TCustomImageList::Add(TBitmap* Image, TBitmap* Mask) {
    return append(cut(Image, Mask, false, PixelBlack));
}

Integer TCustomImageList::AddMasked(TBitmap* Image, TColor MaskColor) {
    return append(cutMasked(Image, MaskColor));
}

void TCustomImageList::checkIndex(Integer Index) const {
    if (Index < 0 || Index >= Count()) throw EInvalidOperation(SImageIndexError);
}

void TCustomImageList::replace(Integer Index, std::vector<Image> pieces) {
    checkIndex(Index);
    if (pieces.empty()) throw EInvalidOperation(SReplaceImage);
    images_[Index] = pieces.front();
    Change();
}

void TCustomImageList::Replace(Integer Index, TBitmap* Image, TBitmap* Mask) {
    replace(Index, cut(Image, Mask, false, PixelBlack));
}

void TCustomImageList::ReplaceMasked(Integer Index, TBitmap* NewImage, TColor MaskColor) {
    replace(Index, cutMasked(NewImage, MaskColor));
}

void TCustomImageList::Delete(Integer Index) {
    if (Index == -1) return Clear();
    checkIndex(Index);
    images_.erase(images_.begin() + Index);
    Change();
}

void TCustomImageList::Clear() {
    images_.clear();
    Change();
}

void TCustomImageList::Draw(TCanvas* Canvas, Integer X, Integer Y, Integer Index, bool Enabled) {
    Draw(Canvas, X, Y, Index, drawingStyle_, imageType_, Enabled);
}

void TCustomImageList::Draw(TCanvas* Canvas, Integer X, Integer Y, Integer Index, TDrawingStyle ADrawingStyle,
                            TImageType AImageType, bool Enabled) {
    if (Index < 0 || Index >= Count()) return;
    Canvas->Changing();
    HDC dc = Canvas->Handle();
    if (Enabled) {
        UINT style = DrawingStyleFlags[ADrawingStyle] | (AImageType == itMask ? ILD_MASK : 0);
        DrawEx(dc, Index, X, Y, colorRefOf(bkColor_), colorRefOf(blendColor_), style);
    } else {
        drawDisabled(dc, images_[Index], X, Y);
    }
    Canvas->Changed();
}

// The mask is copied as it is (black opaque, white transparent, in the
// context's text and background colours); an image is blended with the
// foreground, then laid on the background colour or drawn through its mask.
bool TCustomImageList::DrawEx(HDC DC, Integer Index, Integer X, Integer Y, COLORREF Background,
                              COLORREF Foreground, UINT Style) {
    if (Index < 0 || Index >= Count()) return false;
    const Image& image = images_[Index];
    if (Style & ILD_MASK) {
        std::shared_ptr<PixelSurface> mask = image.mask;
        if (!mask) mask = std::make_shared<PixelSurface>(width_, height_, true);
        BitBlt(DC, X, Y, width_, height_, bitmapOver(mask)->Canvas()->Handle(), 0, 0, SRCCOPY);
        return true;
    }
    if (Background == CLR_DEFAULT) Background = colorRefOf(bkColor_);
    if (Foreground == CLR_DEFAULT) Foreground = GetSysColor(COLOR_HIGHLIGHT);
    bool transparent = image.mask && ((Style & ILD_TRANSPARENT) || Background == CLR_NONE);
    std::shared_ptr<PixelSurface> picture = image.colour->Copy();
    if ((Style & (ILD_BLEND25 | ILD_BLEND50)) && Foreground != CLR_NONE)
        blendOpaquePixels(*picture, image.mask.get(), PixelFromColorRef(Foreground),
                          (Style & ILD_BLEND50) ? SelectedBlendPercent : FocusBlendPercent);
    std::unique_ptr<TBitmap> pictureBitmap = bitmapOver(picture);
    if (transparent) {
        TRect whole{0, 0, width_, height_};
        TransparentStretchBlt(DC, Rect(X, Y, X + width_, Y + height_), pictureBitmap->Canvas()->Handle(),
                              whole, bitmapOver(image.mask)->Canvas()->Handle());
        return true;
    }
    if (image.mask) fillTransparentPixels(*picture, *image.mask, PixelFromColorRef(Background));
    BitBlt(DC, X, Y, width_, height_, pictureBitmap->Canvas()->Handle(), 0, 0, SRCCOPY);
    return true;
}

// The embossed look: the image's dark opaque pixels in the highlight colour
// one pixel down and right, then in the shadow colour in place.
void TCustomImageList::drawDisabled(HDC dc, const Image& image, Integer X, Integer Y) {
    auto stamp = std::make_shared<PixelSurface>(width_, height_, true);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            if (!isTransparent(image.mask.get(), x, y) &&
                NearestMonochrome(image.colour->At(x, y)) == PixelBlack)
                stamp->Set(x, y, PixelWhite);
    std::unique_ptr<TBitmap> stampBitmap = bitmapOver(stamp);
    stampWith(dc, X + 1, Y + 1, clBtnHighlight, stampBitmap.get());
    stampWith(dc, X, Y, clBtnShadow, stampBitmap.get());
}

void TCustomImageList::GetBitmap(Integer Index, TBitmap* Image) {
    if (!Image) return;
    Image->SetSize(width_, height_);
    Draw(Image->Canvas(), 0, 0, Index);
}

void TCustomImageList::SetBkColor(TColor Value) {
    if (Value == bkColor_) return;
    bkColor_ = Value;
    Change();
}

void TCustomImageList::SetBlendColor(TColor Value) {
    if (Value == blendColor_) return;
    blendColor_ = Value;
    Change();
}

void TCustomImageList::SetDrawingStyle(TDrawingStyle Value) {
    if (Value == drawingStyle_) return;
    drawingStyle_ = Value;
    Change();
}

void TCustomImageList::SetImageType(TImageType Value) {
    if (Value == imageType_) return;
    imageType_ = Value;
    Change();
}

// The images stay: they lose their masks, or get masks that show them whole.
void TCustomImageList::SetMasked(bool Value) {
    if (Value == masked_) return;
    masked_ = Value;
    for (Image& image : images_)
        image.mask = Value ? std::make_shared<PixelSurface>(width_, height_, true) : nullptr;
    Change();
}
