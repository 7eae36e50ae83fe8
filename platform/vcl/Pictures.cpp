// Bitmaps, icons and pictures over the graphics layer's pixel surfaces, the
// icon file format, and the canvas's brush copy, which masks a bitmap the
// same way transparent drawing does.
#include "platform/vcl/Pictures.h"

#include "platform/core/SysUtils.h"
#include "platform/vcl/Filers.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/Resources.h"
#include "platform/win/BitmapFiles.h"
#include "platform/win/Bitmaps.h"
#include "platform/win/Blit.h"
#include "platform/win/Clipboard.h"
#include "platform/win/DibFormat.h"
#include "platform/win/Gdi.h"
#include "platform/win/Icons.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <typeinfo>

namespace {

constexpr const char* SInvalidBitmap = "Bitmap image is not valid";
constexpr const char* SInvalidIcon = "Icon image is not valid";
constexpr const char* SChangeIconSize = "Cannot change the size of an icon";
constexpr const char* SOutOfResources = "Out of system resources";
constexpr const char* SUnknownExtension = "Unknown picture file extension (.%s)";

constexpr TColor PaletteRelativeFlag = 0x02000000;
// Where the operation paints the brush: the destination is kept where the
// source is black and takes the brush where it is white.
constexpr DWORD PaintBrushWhereSourceWhite = 0x00E20746;

constexpr std::size_t BitmapFileHeaderSize = 14;
constexpr std::size_t CoreHeaderSize = 12;
constexpr std::size_t CoreBitCountOffset = 10;
constexpr std::size_t InfoBitCountOffset = 14;
constexpr int ColourBitCount = 32;
constexpr int MonochromeBitCount = 1;
constexpr int FallbackBitCount = 24;

constexpr int SystemIconSize = 32;
constexpr WORD IconResourceType = 1;
constexpr std::size_t IconDirectorySize = 6;
constexpr std::size_t IconEntrySize = 16;
constexpr std::size_t InfoHeaderSize = 40;
// A width or height byte of 0 in the icon directory means 256.
constexpr int LargestIconDimension = 256;

const TClass describedGraphic = DescribeClass<TGraphic, TPersistent>();
const TClass describedBitmap = DescribeClass<TBitmap, TGraphic>();
const TClass describedIcon = DescribeClass<TIcon, TGraphic>();
const TClass describedPicture = DescribeClass<TPicture, TPersistent>();

WORD readWord(const Byte* at) {
    return static_cast<WORD>(at[0] | (at[1] << 8));
}
DWORD readDword(const Byte* at) {
    return at[0] | (at[1] << 8) | (at[2] << 16) | (DWORD(at[3]) << 24);
}
void appendWord(std::vector<Byte>& out, WORD value) {
    out.push_back(static_cast<Byte>(value));
    out.push_back(static_cast<Byte>(value >> 8));
}
void appendDword(std::vector<Byte>& out, DWORD value) {
    appendWord(out, static_cast<WORD>(value));
    appendWord(out, static_cast<WORD>(value >> 16));
}

// A memory device context with a bitmap over the surface selected, for as long as it lives.
class SurfaceDC {
public:
    explicit SurfaceDC(std::shared_ptr<PixelSurface> surface)
        : bitmap_(CreateBitmapFromSurface(std::move(surface))), dc_(CreateCompatibleDC(nullptr)),
          previous_(SelectObject(dc_, bitmap_)) {}
    ~SurfaceDC() {
        SelectObject(dc_, previous_);
        DeleteDC(dc_);
        DeleteObject(bitmap_);
    }
    SurfaceDC(const SurfaceDC&) = delete;
    SurfaceDC& operator=(const SurfaceDC&) = delete;
    HDC Handle() const { return dc_; }

private:
    HBITMAP bitmap_;
    HDC dc_;
    HGDIOBJ previous_;
};

// White where the image has the key colour, black elsewhere. A monochrome
// image is compared with the key as it would land on it.
std::shared_ptr<PixelSurface> maskOf(const PixelSurface& image, Pixel key) {
    auto mask = std::make_shared<PixelSurface>(image.Width(), image.Height(), true);
    if (image.IsMonochrome()) key = NearestMonochrome(key);
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            mask->Set(x, y, (image.At(x, y) & PixelColourMask) == key ? PixelWhite : PixelBlack);
    return mask;
}

Pixel pixelOfColor(TColor color) {
    return PixelFromColorRef(static_cast<COLORREF>(ColorToRGB(color)));
}

void copyOverlap(const PixelSurface& from, PixelSurface& to) {
    int width = std::min(from.Width(), to.Width());
    int height = std::min(from.Height(), to.Height());
    for (int y = 0; y < height; ++y)
        std::copy_n(from.Row(y), width, to.Row(y));
}

TPixelFormat formatOfBitCount(int bitCount) {
    switch (bitCount) {
    case 1:
        return pf1bit;
    case 4:
        return pf4bit;
    case 8:
        return pf8bit;
    case 16:
        return pf16bit;
    case 24:
        return pf24bit;
    case 32:
        return pf32bit;
    default:
        return pfDevice;
    }
}

// The depth a bitmap is saved at; there is no 16-bit encoder, so those get 24.
int bitCountOfFormat(TPixelFormat format) {
    switch (format) {
    case pf1bit:
        return MonochromeBitCount;
    case pf4bit:
        return 4;
    case pf8bit:
        return 8;
    case pf32bit:
        return ColourBitCount;
    default:
        return FallbackBitCount;
    }
}

int bitCountOfBitmapFile(const std::vector<Byte>& file) {
    const Byte* info = file.data() + BitmapFileHeaderSize;
    bool coreHeader = readDword(info) == CoreHeaderSize;
    return readWord(info + (coreHeader ? CoreBitCountOffset : InfoBitCountOffset));
}

std::vector<Byte> readRest(TStream* stream) {
    Int64 available = std::max<Int64>(stream->Size() - stream->Position(), 0);
    std::vector<Byte> bytes(static_cast<std::size_t>(available));
    stream->ReadBuffer(bytes.data(), static_cast<Integer>(bytes.size()));
    return bytes;
}

void writeBytes(TStream* stream, const std::vector<Byte>& bytes) {
    stream->WriteBuffer(bytes.data(), static_cast<Integer>(bytes.size()));
}

} // namespace

// ---- TGraphic ---------------------------------------------------------------------

void TGraphic::SetTransparent(bool Value) {
    if (Value == transparent_) return;
    transparent_ = Value;
    Changed(this);
}

void TGraphic::SetModified(bool Value) {
    if (Value)
        Changed(this);
    else
        modified_ = false;
}

void TGraphic::Changed(TObject*) {
    modified_ = true;
    if (OnChange) OnChange(this);
}

void TGraphic::LoadFromFile(const AnsiString& FileName) {
    TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&stream);
}

void TGraphic::SaveToFile(const AnsiString& FileName) {
    TFileStream stream(FileName, fmCreate);
    SaveToStream(&stream);
}

namespace {
constexpr const char* SIconToClipboard = "Clipboard does not support Icons";
constexpr const char* SUnknownClipboardFormat = "Unsupported clipboard format";
} // namespace

void TGraphic::LoadFromClipboardFormat(Word, HANDLE) {
    throw EInvalidGraphic(SUnknownClipboardFormat);
}

bool TGraphic::Equals(TGraphic* Graphic) {
    if (!Graphic || typeid(*Graphic) != typeid(*this)) return false;
    if (Empty() || Graphic->Empty()) return Empty() && Graphic->Empty();
    TMemoryStream mine;
    TMemoryStream theirs;
    SaveToStream(&mine);
    Graphic->SaveToStream(&theirs);
    return mine.Size() == theirs.Size() &&
           std::memcmp(mine.Memory(), theirs.Memory(), static_cast<std::size_t>(mine.Size())) == 0;
}

void TGraphic::DefineProperties(TFiler* Filer) {
    auto* ancestor = dynamic_cast<TGraphic*>(Filer->Ancestor());
    bool hasData = ancestor ? !Equals(ancestor) : !Empty();
    Filer->DefineBinaryProperty("Data", TStreamProc(this, &TGraphic::ReadData),
                                TStreamProc(this, &TGraphic::WriteData), hasData);
}

// ---- TBitmap ------------------------------------------------------------------------

// The bitmap's canvas draws through a memory device context that holds the
// bitmap's handle; the bitmap frees the context whenever its image is replaced.
class TBitmap::TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap* bitmap) : bitmap_(bitmap) {}
    ~TBitmapCanvas() override { FreeContext(); }

    // Waits for a thread that draws on the canvas, then lets go of the context.
    void FreeContext() {
        if (!dc_) return;
        Lock();
        SetHandle(nullptr);
        if (previous_) SelectObject(dc_, previous_);
        DeleteDC(dc_);
        dc_ = nullptr;
        previous_ = nullptr;
        Unlock();
    }

protected:
    void CreateHandle() override {
        dc_ = CreateCompatibleDC(nullptr);
        if (HBITMAP bitmap = bitmap_->Handle()) previous_ = SelectObject(dc_, bitmap);
        SetHandle(dc_);
    }

private:
    TBitmap* bitmap_;
    HDC dc_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

TBitmap::TBitmap() = default;

TBitmap::~TBitmap() {
    canvas_.reset();
    freeMask();
    if (handle_) DeleteObject(handle_);
}

void TBitmap::freeContext() {
    if (canvas_) canvas_->FreeContext();
}

void TBitmap::freeMask() {
    if (mask_) DeleteObject(mask_);
    mask_ = nullptr;
}

void TBitmap::setImage(std::shared_ptr<PixelSurface> image, HBITMAP handle) {
    freeContext();
    freeMask();
    if (handle_ && handle_ != handle) DeleteObject(handle_);
    handle_ = handle;
    image_ = std::move(image);
    if (!image_) return;
    width_ = image_->Width();
    height_ = image_->Height();
    monochrome_ = image_->IsMonochrome();
}

void TBitmap::Changed(TObject* Sender) {
    freeMask();
    TGraphic::Changed(Sender);
}

void TBitmap::Assign(TPersistent* Source) {
    if (!Source) {
        setImage(nullptr, nullptr);
        width_ = height_ = 0;
        return Changed(this);
    }
    auto* bitmap = dynamic_cast<TBitmap*>(Source);
    if (!bitmap) return TGraphic::Assign(Source);
    if (bitmap == this) return;
    setImage(bitmap->image_ ? bitmap->image_->Copy() : nullptr, nullptr);
    width_ = bitmap->width_;
    height_ = bitmap->height_;
    monochrome_ = bitmap->monochrome_;
    pixelFormat_ = bitmap->pixelFormat_;
    handleType_ = bitmap->handleType_;
    transparentMode_ = bitmap->transparentMode_;
    transparentColor_ = bitmap->transparentColor_;
    transparent_ = bitmap->transparent_;
    Changed(this);
}

void TBitmap::SetSize(Integer AWidth, Integer AHeight) {
    AWidth = std::max(AWidth, 0);
    AHeight = std::max(AHeight, 0);
    if (AWidth == width_ && AHeight == height_) return;
    std::shared_ptr<PixelSurface> image;
    HBITMAP handle = nullptr;
    if (AWidth > 0 && AHeight > 0) {
        handle = CreateBitmap(AWidth, AHeight, 1, monochrome_ ? MonochromeBitCount : ColourBitCount, nullptr);
        if (!handle) throw EOutOfResources(SOutOfResources);
        image = BitmapSurface(handle);
        image->Fill(PixelWhite);
        if (image_) copyOverlap(*image_, *image);
    }
    setImage(std::move(image), handle);
    width_ = AWidth;
    height_ = AHeight;
    Changed(this);
}

TCanvas* TBitmap::Canvas() {
    if (!canvas_) {
        canvas_ = std::make_unique<TBitmapCanvas>(this);
        canvas_->OnChange = TNotifyEvent(this, &TBitmap::Changed);
    }
    return canvas_.get();
}

HBITMAP TBitmap::Handle() {
    if (!handle_ && image_) handle_ = CreateBitmapFromSurface(image_);
    return handle_;
}

void TBitmap::SetHandle(HBITMAP Value) {
    if (Value == handle_) return;
    std::shared_ptr<PixelSurface> image = Value ? BitmapSurface(Value) : nullptr;
    setImage(image, image ? Value : nullptr);
    if (!image) width_ = height_ = 0;
    Changed(this);
}

// A handle may own the pixels its surface shows (a DIB section's bits), so
// the bitmap keeps a copy of its own when the handle goes.
HBITMAP TBitmap::ReleaseHandle() {
    HBITMAP released = Handle();
    if (!released) return nullptr;
    freeContext();
    image_ = image_->Copy();
    handle_ = nullptr;
    return released;
}

void TBitmap::Dormant() {
    if (!handle_) return;
    freeContext();
    image_ = image_->Copy();
    DeleteObject(handle_);
    handle_ = nullptr;
}

HBITMAP TBitmap::MaskHandle() {
    freeMask();
    if (image_) mask_ = CreateBitmapFromSurface(maskOf(*image_, maskKey()));
    return mask_;
}

Pixel TBitmap::maskKey() const {
    return pixelOfColor(TransparentColor());
}

void TBitmap::SetMonochrome(bool Value) {
    if (Value == monochrome_) return;
    monochrome_ = Value;
    if (image_) {
        Pixel white = canvas_ ? pixelOfColor(canvas_->Brush()->Color()) : PixelWhite;
        auto converted = std::make_shared<PixelSurface>(width_, height_, Value);
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) {
                Pixel pixel = image_->At(x, y);
                converted->Set(x, y,
                               !Value                               ? pixel
                               : (pixel & PixelColourMask) == white ? PixelWhite
                                                                    : PixelBlack);
            }
        setImage(std::move(converted), nullptr);
    }
    Changed(this);
}

void TBitmap::SetPixelFormat(TPixelFormat Value) {
    if (Value == pf1bit) return SetMonochrome(true);
    pixelFormat_ = Value;
    SetMonochrome(false);
}

TColor TBitmap::TransparentColor() const {
    if (transparentMode_ == tmFixed) return transparentColor_;
    if (!image_) return clDefault;
    TColor corner =
        monochrome_ ? clWhite : static_cast<TColor>(ColorRefFromPixel(image_->At(0, height_ - 1)));
    return corner | PaletteRelativeFlag;
}

void TBitmap::SetTransparentColor(TColor Value) {
    if (Value == transparentColor_) return;
    transparentMode_ = Value == clDefault ? tmAuto : tmFixed;
    transparentColor_ = Value;
    Changed(this);
}

void TBitmap::SetTransparentMode(TTransparentMode Value) {
    if (Value == transparentMode_) return;
    SetTransparentColor(Value == tmAuto ? clDefault : TransparentColor());
}

void TBitmap::LoadFromResourceName(HINSTANCE, const AnsiString& ResName) {
    const TResourceFile& resource = GetResource(ResName, rkBitmap);
    TMemoryStream stream;
    stream.WriteBuffer(resource.Data.data(), static_cast<Integer>(resource.Data.size()));
    stream.SetPosition(0);
    LoadFromStream(&stream);
}

// Reads as far as the file header's size says, so that a bitmap can sit
// inside a longer stream; a header without a size takes the rest.
void TBitmap::LoadFromClipboardFormat(Word AFormat, HANDLE AData) {
    BITMAP info{};
    const auto source = static_cast<HBITMAP>(AData);
    if (AFormat != CF_BITMAP || !source || !GetObjectA(source, sizeof(info), &info))
        throw EInvalidGraphic(SUnknownClipboardFormat);
    SetMonochrome(info.bmBitsPixel == 1);
    SetSize(info.bmWidth, info.bmHeight);
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(memory, source);
    BitBlt(Canvas()->Handle(), 0, 0, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
}

void TBitmap::LoadFromStream(TStream* Stream) {
    std::vector<Byte> file(BitmapFileHeaderSize);
    if (Stream->Read(file.data(), BitmapFileHeaderSize) != BitmapFileHeaderSize || file[0] != 'B' ||
        file[1] != 'M')
        throw EInvalidGraphic(SInvalidBitmap);
    DWORD fileSize = readDword(file.data() + 2);
    Int64 available = Stream->Size() - Stream->Position();
    Int64 rest = fileSize > BitmapFileHeaderSize ? fileSize - BitmapFileHeaderSize : available;
    if (rest > available) throw EInvalidGraphic(SInvalidBitmap);
    file.resize(BitmapFileHeaderSize + static_cast<std::size_t>(rest));
    Stream->ReadBuffer(file.data() + BitmapFileHeaderSize, static_cast<Integer>(rest));
    std::shared_ptr<PixelSurface> image = DecodeBmp(file.data(), file.size());
    if (!image) throw EInvalidGraphic(SInvalidBitmap);
    pixelFormat_ = formatOfBitCount(bitCountOfBitmapFile(file));
    setImage(std::move(image), nullptr);
    Changed(this);
}

// An image with more colours than its format indexes is saved at 24 bits.
void TBitmap::SaveToStream(TStream* Stream) {
    if (!image_) return;
    std::vector<Byte> file = EncodeBmp(*image_, bitCountOfFormat(PixelFormat()));
    if (file.empty()) file = EncodeBmp(*image_, FallbackBitCount);
    writeBytes(Stream, file);
}

void TBitmap::ReadData(TStream* Stream) {
    Byte size[sizeof(DWORD)];
    Stream->ReadBuffer(size, sizeof(size));
    if (readDword(size) != 0) return LoadFromStream(Stream);
    Assign(nullptr);
}

void TBitmap::WriteData(TStream* Stream) {
    TMemoryStream file;
    SaveToStream(&file);
    std::vector<Byte> size;
    appendDword(size, static_cast<DWORD>(file.Size()));
    writeBytes(Stream, size);
    file.SaveToStream(Stream);
}

std::unique_ptr<TGraphic> TBitmap::Clone() {
    auto copy = std::make_unique<TBitmap>();
    copy->Assign(this);
    return copy;
}

void TBitmap::Draw(TCanvas* ACanvas, const TRect& Rect) {
    if (!image_) return;
    HDC destination = ACanvas->Handle();
    int previousMode = monochrome_ ? 0 : SetStretchBltMode(destination, COLORONCOLOR);
    SurfaceDC source(image_);
    TRect whole{0, 0, width_, height_};
    if (Transparent()) {
        SurfaceDC mask(maskOf(*image_, maskKey()));
        TransparentStretchBlt(destination, Rect, source.Handle(), whole, mask.Handle());
    } else {
        StretchBlt(destination, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), source.Handle(), 0, 0,
                   width_, height_, static_cast<DWORD>(ACanvas->CopyMode()));
    }
    if (previousMode) SetStretchBltMode(destination, previousMode);
}

void TCanvas::BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor Color) {
    if (!Bitmap || Bitmap->Empty()) return;
    Changing();
    RequiredState({csHandleValid, csBrushValid});
    std::shared_ptr<PixelSurface> image = BitmapSurface(Bitmap->Handle());
    SurfaceDC source(image);
    SurfaceDC mask(maskOf(*image, pixelOfColor(Color)));
    if (brush_->Style() == bsClear) {
        TransparentStretchBlt(handle_, Dest, source.Handle(), Source, mask.Handle());
    } else {
        auto blit = [&](HDC from, DWORD rop) {
            StretchBlt(handle_, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), from, Source.Left,
                       Source.Top, Source.Width(), Source.Height(), rop);
        };
        blit(source.Handle(), SRCCOPY);
        COLORREF textColor = SetTextColor(handle_, RGB(0, 0, 0));
        COLORREF backgroundColor = SetBkColor(handle_, RGB(255, 255, 255));
        blit(mask.Handle(), PaintBrushWhereSourceWhite);
        SetTextColor(handle_, textColor);
        SetBkColor(handle_, backgroundColor);
    }
    Changed();
}

// ---- Icon files ------------------------------------------------------------------------

namespace {

struct IconEntry {
    int width;
    int bitCount;
    const Byte* image;
    std::size_t size;
};

std::vector<IconEntry> readIconDirectory(const std::vector<Byte>& file) {
    if (file.size() < IconDirectorySize || readWord(&file[0]) != 0 || readWord(&file[2]) != IconResourceType)
        return {};
    std::size_t count = readWord(&file[4]);
    if (IconDirectorySize + count * IconEntrySize > file.size()) return {};
    std::vector<IconEntry> entries;
    for (std::size_t i = 0; i < count; ++i) {
        const Byte* entry = &file[IconDirectorySize + i * IconEntrySize];
        std::size_t size = readDword(entry + 8);
        std::size_t offset = readDword(entry + 12);
        if (size == 0 || offset > file.size() || size > file.size() - offset) continue;
        entries.push_back(
            {entry[0] ? entry[0] : LargestIconDimension, readWord(entry + 6), &file[offset], size});
    }
    return entries;
}

// The image nearest the system icon size, the deepest of those.
const IconEntry* bestIconEntry(const std::vector<IconEntry>& entries) {
    auto distance = [](const IconEntry& entry) { return std::abs(entry.width - SystemIconSize); };
    auto better = [&](const IconEntry& a, const IconEntry& b) {
        return distance(a) != distance(b) ? distance(a) < distance(b) : a.bitCount > b.bitCount;
    };
    auto best = std::min_element(entries.begin(), entries.end(), better);
    return best == entries.end() ? nullptr : &*best;
}

struct IconImage {
    std::shared_ptr<PixelSurface> colour;
    std::shared_ptr<PixelSurface> mask;
};

// An icon image is a DIB of twice the icon's height: the colour rows, then
// the AND mask at one bit per pixel. Compressed (PNG) images are not read.
bool decodeIconImage(const IconEntry& entry, IconImage& image) {
    DibLayout layout;
    if (!ReadDibLayout(entry.image, entry.size, layout) || layout.compression != BI_RGB || layout.topDown ||
        layout.width <= 0 || layout.height < 2 || layout.headerBytes > entry.size)
        return false;
    int width = layout.width, height = layout.height / 2;
    DibLayout colourLayout = layout;
    colourLayout.height = height;
    const Byte* bits = entry.image + layout.headerBytes;
    std::size_t bitsSize = entry.size - layout.headerBytes;
    image.colour = std::make_shared<PixelSurface>(width, height);
    if (!DecodeDibScanLines(colourLayout, bits, bitsSize, 0, height, *image.colour)) return false;
    std::size_t colourBytes = DibStride(width, layout.bitCount) * static_cast<std::size_t>(height);
    DibLayout maskLayout;
    maskLayout.width = width;
    maskLayout.height = height;
    maskLayout.bitCount = MonochromeBitCount;
    maskLayout.colours = {PixelBlack, PixelWhite};
    image.mask = std::make_shared<PixelSurface>(width, height, true);
    return colourBytes <= bitsSize &&
           DecodeDibScanLines(maskLayout, bits + colourBytes, bitsSize - colourBytes, 0, height, *image.mask);
}

HICON createIcon(const IconImage& image) {
    HBITMAP colour = CreateBitmapFromSurface(image.colour);
    HBITMAP mask = CreateBitmapFromSurface(image.mask);
    ICONINFO info{TRUE, 0, 0, mask, colour};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(colour);
    DeleteObject(mask);
    return icon;
}

std::shared_ptr<PixelSurface> rowsOf(const PixelSurface& from, int firstRow, int rowCount, bool monochrome) {
    auto rows = std::make_shared<PixelSurface>(from.Width(), rowCount, monochrome);
    for (int y = 0; y < rowCount; ++y)
        std::copy_n(from.Row(firstRow + y), from.Width(), rows->Row(y));
    return rows;
}

// A monochrome icon has no colour bitmap: its mask holds the AND rows, then the XOR rows.
bool iconImageOf(HICON icon, IconImage& image) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return false;
    std::shared_ptr<PixelSurface> mask = BitmapSurface(info.hbmMask);
    std::shared_ptr<PixelSurface> colour = info.hbmColor ? BitmapSurface(info.hbmColor) : nullptr;
    DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (!mask) return false;
    int height = colour ? colour->Height() : mask->Height() / 2;
    image.mask = rowsOf(*mask, 0, height, true);
    image.colour = colour ? colour : rowsOf(*mask, height, height, false);
    return true;
}

std::vector<Byte> encodeIconFile(const IconImage& image) {
    int width = image.colour->Width(), height = image.colour->Height();
    std::vector<Byte> colourBits = EncodeDibScanLines(*image.colour, ColourBitCount, false, {});
    std::vector<Byte> maskBits =
        EncodeDibScanLines(*image.mask, MonochromeBitCount, false, {PixelBlack, PixelWhite});
    DWORD bitsSize = static_cast<DWORD>(colourBits.size() + maskBits.size());
    std::vector<Byte> file;
    appendWord(file, 0);
    appendWord(file, IconResourceType);
    appendWord(file, 1);
    file.push_back(static_cast<Byte>(width % LargestIconDimension));
    file.push_back(static_cast<Byte>(height % LargestIconDimension));
    appendWord(file, 0);
    appendWord(file, 1);
    appendWord(file, ColourBitCount);
    appendDword(file, static_cast<DWORD>(InfoHeaderSize) + bitsSize);
    appendDword(file, static_cast<DWORD>(IconDirectorySize + IconEntrySize));
    appendDword(file, static_cast<DWORD>(InfoHeaderSize));
    appendDword(file, static_cast<DWORD>(width));
    appendDword(file, static_cast<DWORD>(2 * height));
    appendWord(file, 1);
    appendWord(file, ColourBitCount);
    appendDword(file, BI_RGB);
    appendDword(file, bitsSize);
    for (int unused = 0; unused < 4; ++unused)
        appendDword(file, 0);
    file.insert(file.end(), colourBits.begin(), colourBits.end());
    file.insert(file.end(), maskBits.begin(), maskBits.end());
    return file;
}

} // namespace

// ---- TIcon -------------------------------------------------------------------------------

TIcon::TIcon() {
    transparent_ = true;
}

TIcon::~TIcon() {
    destroyHandle();
}

void TIcon::destroyHandle() {
    if (handle_) DestroyIcon(handle_);
    handle_ = nullptr;
}

void TIcon::Assign(TPersistent* Source) {
    if (!Source) {
        destroyHandle();
        file_.clear();
        return Changed(this);
    }
    auto* icon = dynamic_cast<TIcon*>(Source);
    if (!icon) return TGraphic::Assign(Source);
    if (icon == this) return;
    destroyHandle();
    handle_ = icon->handle_ ? CopyIcon(icon->handle_) : nullptr;
    size_ = icon->size_;
    file_ = icon->file_;
    Changed(this);
}

Integer TIcon::Width() const {
    return handle_ ? size_.cx : SystemIconSize;
}

Integer TIcon::Height() const {
    return handle_ ? size_.cy : SystemIconSize;
}

void TIcon::SetWidth(Integer Value) {
    if (Value != Width()) throw EInvalidGraphicOperation(SChangeIconSize);
}

void TIcon::SetHeight(Integer Value) {
    if (Value != Height()) throw EInvalidGraphicOperation(SChangeIconSize);
}

void TIcon::SetHandle(HICON Value) {
    if (Value == handle_) return;
    destroyHandle();
    file_.clear();
    handle_ = Value;
    IconImage image;
    size_ =
        Value && iconImageOf(Value, image) ? SIZE{image.colour->Width(), image.colour->Height()} : SIZE{0, 0};
    Changed(this);
}

HICON TIcon::ReleaseHandle() {
    HICON released = handle_;
    handle_ = nullptr;
    file_.clear();
    return released;
}

void TIcon::LoadFromStream(TStream* Stream) {
    std::vector<Byte> file = readRest(Stream);
    std::vector<IconEntry> entries = readIconDirectory(file);
    const IconEntry* entry = bestIconEntry(entries);
    IconImage image;
    if (!entry || !decodeIconImage(*entry, image)) throw EInvalidGraphic(SInvalidIcon);
    HICON icon = createIcon(image);
    if (!icon) throw EOutOfResources(SOutOfResources);
    destroyHandle();
    handle_ = icon;
    size_ = {image.colour->Width(), image.colour->Height()};
    file_ = std::move(file);
    Changed(this);
}

void TIcon::SaveToStream(TStream* Stream) {
    if (!file_.empty()) return writeBytes(Stream, file_);
    IconImage image;
    if (handle_ && iconImageOf(handle_, image)) writeBytes(Stream, encodeIconFile(image));
}

std::unique_ptr<TGraphic> TIcon::Clone() {
    auto copy = std::make_unique<TIcon>();
    copy->Assign(this);
    return copy;
}

void TIcon::Draw(TCanvas* ACanvas, const TRect& Rect) {
    if (!handle_) return;
    DrawIconEx(ACanvas->Handle(), Rect.Left, Rect.Top, handle_, Rect.Width(), Rect.Height(), 0, nullptr,
               DI_NORMAL);
}

void TIcon::LoadFromClipboardFormat(Word, HANDLE) {
    throw EInvalidGraphic(SIconToClipboard);
}

// ---- TPicture ------------------------------------------------------------------------------

namespace {

struct GraphicKind {
    const char* extension;
    const char* className;
    const char* description;
    std::unique_ptr<TGraphic> (*create)();
};

template <typename T> std::unique_ptr<TGraphic> createGraphic() {
    return std::make_unique<T>();
}

const GraphicKind GraphicKinds[] = {
    {"bmp", "TBitmap", "Bitmaps", &createGraphic<TBitmap>},
    {"ico", "TIcon", "Icons", &createGraphic<TIcon>},
};

const GraphicKind* graphicKindOfExtension(const AnsiString& extension) {
    for (const GraphicKind& kind : GraphicKinds)
        if (SameText(kind.extension, extension)) return &kind;
    return nullptr;
}

const GraphicKind* graphicKindOfClass(const AnsiString& className) {
    for (const GraphicKind& kind : GraphicKinds)
        if (SameText(kind.className, className)) return &kind;
    return nullptr;
}

using GraphicFactory = std::unique_ptr<TGraphic> (*)();

std::map<Word, GraphicFactory>& clipboardFormats() {
    static std::map<Word, GraphicFactory> formats{{CF_BITMAP, &createGraphic<TBitmap>}};
    return formats;
}

bool sameGraphic(TGraphic* a, TGraphic* b) {
    if (!a || !b) return a == b;
    return a->Equals(b);
}

} // namespace

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::takeGraphic(std::unique_ptr<TGraphic> graphic) {
    graphic_ = std::move(graphic);
    if (graphic_) graphic_->OnChange = TNotifyEvent(this, &TPicture::Changed);
    Changed(this);
}

void TPicture::Changed(TObject*) {
    if (OnChange) OnChange(this);
}

void TPicture::SetGraphic(TGraphic* Value) {
    takeGraphic(Value ? Value->Clone() : nullptr);
}

TBitmap* TPicture::Bitmap() {
    if (!dynamic_cast<TBitmap*>(graphic_.get())) takeGraphic(std::make_unique<TBitmap>());
    return static_cast<TBitmap*>(graphic_.get());
}

TIcon* TPicture::Icon() {
    if (!dynamic_cast<TIcon*>(graphic_.get())) takeGraphic(std::make_unique<TIcon>());
    return static_cast<TIcon*>(graphic_.get());
}

void TPicture::Assign(TPersistent* Source) {
    if (!Source) return takeGraphic(nullptr);
    if (auto* picture = dynamic_cast<TPicture*>(Source)) return SetGraphic(picture->Graphic());
    if (auto* graphic = dynamic_cast<TGraphic*>(Source)) return SetGraphic(graphic);
    TPersistent::Assign(Source);
}

void TPicture::AssignTo(TPersistent* Dest) {
    auto* graphic = dynamic_cast<TGraphic*>(Dest);
    const TGraphic* current = graphic_.get();
    if (graphic && (!current || typeid(*graphic) == typeid(*current))) return graphic->Assign(graphic_.get());
    TPersistent::AssignTo(Dest);
}

void TPicture::LoadFromFile(const AnsiString& FileName) {
    AnsiString extension = ExtractFileExt(FileName);
    if (!extension.empty()) extension.erase(0, 1);
    const GraphicKind* kind = graphicKindOfExtension(extension);
    if (!kind) throw EInvalidGraphic(Format(SUnknownExtension, {extension}));
    std::unique_ptr<TGraphic> graphic = kind->create();
    graphic->LoadFromFile(FileName);
    takeGraphic(std::move(graphic));
}

AnsiString GraphicFilter() {
    AnsiString masks;
    AnsiString each;
    for (const GraphicKind& kind : GraphicKinds) {
        const AnsiString mask = AnsiString("*.") + kind.extension;
        masks += (masks.empty() ? "" : ";") + mask;
        each += AnsiString("|") + kind.description + " (" + mask + ")|" + mask;
    }
    return "All (" + masks + ")|" + masks + each;
}

void TPicture::registerClipboardFormat(Word AFormat, std::unique_ptr<TGraphic> (*Create)()) {
    clipboardFormats()[AFormat] = Create;
}

bool TPicture::SupportsClipboardFormat(Word AFormat) {
    return clipboardFormats().contains(AFormat);
}

void TPicture::LoadFromClipboardFormat(Word AFormat, HANDLE AData) {
    const auto format = clipboardFormats().find(AFormat);
    if (format == clipboardFormats().end()) throw EInvalidGraphic(SUnknownClipboardFormat);
    std::unique_ptr<TGraphic> graphic = format->second();
    graphic->LoadFromClipboardFormat(AFormat, AData);
    takeGraphic(std::move(graphic));
}

void TPicture::SaveToFile(const AnsiString& FileName) {
    if (graphic_) graphic_->SaveToFile(FileName);
}

void TPicture::DefineProperties(TFiler* Filer) {
    auto* ancestor = dynamic_cast<TPicture*>(Filer->Ancestor());
    bool hasData =
        ancestor ? !sameGraphic(graphic_.get(), ancestor->Graphic()) : graphic_ && !graphic_->Empty();
    Filer->DefineBinaryProperty("Data", TStreamProc(this, &TPicture::ReadData),
                                TStreamProc(this, &TPicture::WriteData), hasData);
}

// The graphic's class name as a short string, then the graphic's own data. A
// graphic of a class we cannot read (a JPEG image, say) is left out rather
// than failing the whole form.
void TPicture::ReadData(TStream* Stream) {
    Byte length = 0;
    Stream->ReadBuffer(&length, 1);
    AnsiString className(length, '\0');
    Stream->ReadBuffer(className.data(), length);
    const GraphicKind* kind = graphicKindOfClass(className);
    if (!kind) return takeGraphic(nullptr);
    std::unique_ptr<TGraphic> graphic = kind->create();
    graphic->ReadData(Stream);
    takeGraphic(std::move(graphic));
}

void TPicture::WriteData(TStream* Stream) {
    if (!graphic_) return;
    AnsiString className = graphic_->ClassName();
    Byte length = static_cast<Byte>(className.size());
    Stream->WriteBuffer(&length, 1);
    Stream->WriteBuffer(className.data(), length);
    graphic_->WriteData(Stream);
}
