// Bitmap creation and DIB scan-line transfer.
#include "platform/win/Bitmaps.h"

#include "platform/win/DibFormat.h"
#include "platform/win/GdiObjects.h"

#include <cstring>

namespace {

constexpr UINT monochromeBits = 1;
constexpr UINT trueColourBits = 24;
constexpr UINT colourBits = 32;
constexpr std::size_t infoHeaderSize = sizeof(BITMAPINFOHEADER);
constexpr std::size_t colourTableLimit = 256;
constexpr int largestDimension = 1 << 15;

bool acceptableSize(int width, int height) {
    return width > 0 && height > 0 && width <= largestDimension && height <= largestDimension;
}

std::size_t createBitmapStride(int width, UINT bitCount) {
    return ((width * bitCount + 15) / 16) * 2;
}

void loadCreateBitmapBits(PixelSurface& surface, UINT bitCount, const Byte* bits) {
    std::size_t stride = createBitmapStride(surface.Width(), bitCount);
    for (int y = 0; y < surface.Height(); ++y) {
        const Byte* row = bits + static_cast<std::size_t>(y) * stride;
        for (int x = 0; x < surface.Width(); ++x) {
            Pixel pixel;
            if (bitCount == monochromeBits)
                pixel = ((row[x >> 3] >> (7 - (x & 7))) & 1) ? PixelWhite : PixelBlack;
            else if (bitCount == trueColourBits)
                pixel = (Pixel(row[3 * x + 2]) << 16) | (Pixel(row[3 * x + 1]) << 8) | row[3 * x];
            else
                pixel = (Pixel(row[4 * x + 2]) << 16) | (Pixel(row[4 * x + 1]) << 8) | row[4 * x];
            surface.Set(x, y, pixel);
        }
    }
}

// A BITMAPINFO is followed by its colour table; its true size is only known from the header.
std::size_t infoBytesAvailable(const BITMAPINFO* info) {
    std::size_t entries = info->bmiHeader.biBitCount <= 8 ? colourTableLimit : 0;
    std::size_t masks = info->bmiHeader.biCompression == BI_BITFIELDS ? 3 * sizeof(DWORD) : 0;
    return info->bmiHeader.biSize + masks + entries * sizeof(RGBQUAD);
}

void describeBitmap(const PixelSurface& surface, BITMAPINFOHEADER& header) {
    header.biSize = infoHeaderSize;
    header.biWidth = surface.Width();
    header.biHeight = surface.Height();
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(surface.IsMonochrome() ? monochromeBits : colourBits);
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(DibStride(surface.Width(), header.biBitCount) * surface.Height());
}

void writeMonochromeColourTable(BITMAPINFO* info) {
    info->bmiColors[0] = RGBQUAD{0, 0, 0, 0};
    (&info->bmiColors[0])[1] = RGBQUAD{255, 255, 255, 0};
}

HBITMAP createDibSection(const BITMAPINFOHEADER& header, int width, int height, void** bits);

} // namespace

HBITMAP CreateBitmapFromSurface(std::shared_ptr<PixelSurface> surface) {
    if (!surface) return nullptr;
    return InsertBitmap(std::move(surface));
}

std::shared_ptr<PixelSurface> BitmapSurface(HBITMAP bitmapHandle) {
    GdiLock lock(GdiMutex());
    BitmapObject* bitmap = LookupBitmap(bitmapHandle);
    return bitmap ? bitmap->surface : nullptr;
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitCount, const void* bits) {
    if (width == 0 || height == 0) return DefaultBitmap();
    UINT totalBits = planes * bitCount;
    if (!acceptableSize(width, height) ||
        (totalBits != monochromeBits && totalBits != trueColourBits && totalBits != colourBits))
        return nullptr;
    return NullWhenOutOfMemory([&] {
        auto surface = std::make_shared<PixelSurface>(width, height, totalBits == monochromeBits);
        if (bits) loadCreateBitmapBits(*surface, totalBits, static_cast<const Byte*>(bits));
        return CreateBitmapFromSurface(std::move(surface));
    });
}

HBITMAP CreateBitmapIndirect(const BITMAP* bitmap) {
    if (!bitmap) return nullptr;
    return CreateBitmap(bitmap->bmWidth, bitmap->bmHeight, bitmap->bmPlanes, bitmap->bmBitsPixel,
                        bitmap->bmBits);
}

HBITMAP CreateCompatibleBitmap(HDC dcHandle, int width, int height) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(dcHandle);
    if (!dc) return nullptr;
    if (width == 0 || height == 0) return DefaultBitmap();
    if (!acceptableSize(width, height)) return nullptr;
    bool monochrome = dc->surface && dc->surface->IsMonochrome();
    return NullWhenOutOfMemory(
        [&] { return CreateBitmapFromSurface(std::make_shared<PixelSurface>(width, height, monochrome)); });
}

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* info, UINT usage, void** bits, HANDLE, DWORD) {
    if (bits) *bits = nullptr;
    if (!info || usage != DIB_RGB_COLORS) return nullptr;
    const BITMAPINFOHEADER& header = info->bmiHeader;
    int width = header.biWidth, height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    bool plainLayout = header.biCompression == BI_RGB ||
                       (header.biCompression == BI_BITFIELDS &&
                        std::memcmp(reinterpret_cast<const Byte*>(info) + header.biSize,
                                    "\x00\x00\xFF\x00\x00\xFF\x00\x00\xFF\x00\x00\x00", 12) == 0);
    if (header.biBitCount != colourBits || !plainLayout || !acceptableSize(width, height)) return nullptr;
    GdiLock lock(GdiMutex());
    return NullWhenOutOfMemory([&] { return createDibSection(header, width, height, bits); });
}

namespace {

HBITMAP createDibSection(const BITMAPINFOHEADER& header, int width, int height, void** bits) {
    auto object = std::make_unique<BitmapObject>();
    std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    object->dibBits = std::make_unique<Pixel[]>(count);
    Pixel* memory = object->dibBits.get();
    bool topDown = header.biHeight < 0;
    Pixel* firstRow = topDown ? memory : memory + static_cast<std::size_t>(height - 1) * width;
    object->surface = std::make_shared<PixelSurface>(width, height, firstRow, topDown ? width : -width);
    BITMAPINFOHEADER stored = header;
    stored.biSizeImage = static_cast<DWORD>(count * sizeof(Pixel));
    object->dibHeader = stored;
    if (bits) *bits = memory;
    return static_cast<HBITMAP>(InsertObject(std::move(object)));
}

} // namespace

int GetDIBits(HDC, HBITMAP bitmapHandle, UINT start, UINT lines, LPVOID bits, BITMAPINFO* info, UINT usage) {
    GdiLock lock(GdiMutex());
    BitmapObject* bitmap = LookupBitmap(bitmapHandle);
    if (!bitmap || !info || usage != DIB_RGB_COLORS) return 0;
    const PixelSurface& surface = *bitmap->surface;
    BITMAPINFOHEADER& header = info->bmiHeader;
    if (!bits && header.biBitCount == 0) {
        describeBitmap(surface, header);
        return surface.Height();
    }
    int bitCount = header.biBitCount;
    if (bitCount != static_cast<int>(monochromeBits) && bitCount != static_cast<int>(trueColourBits) &&
        bitCount != static_cast<int>(colourBits))
        return 0;
    header.biSizeImage = static_cast<DWORD>(DibStride(surface.Width(), bitCount) * surface.Height());
    if (bitCount == static_cast<int>(monochromeBits)) writeMonochromeColourTable(info);
    if (!bits) return surface.Height();
    bool topDown = header.biHeight < 0;
    std::vector<Byte> encoded = EncodeDibScanLines(surface, bitCount, topDown, {PixelBlack, PixelWhite});
    std::size_t stride = DibStride(surface.Width(), bitCount);
    UINT available = static_cast<UINT>(surface.Height());
    if (start >= available) return 0;
    UINT copied = std::min(lines, available - start);
    std::memcpy(bits, encoded.data() + start * stride, copied * stride);
    return static_cast<int>(copied);
}

int SetDIBits(HDC, HBITMAP bitmapHandle, UINT start, UINT lines, const void* bits, const BITMAPINFO* info,
              UINT usage) {
    GdiLock lock(GdiMutex());
    BitmapObject* bitmap = LookupBitmap(bitmapHandle);
    if (!bitmap || !info || !bits || usage != DIB_RGB_COLORS) return 0;
    DibLayout layout;
    if (!ReadDibLayout(reinterpret_cast<const Byte*>(info), infoBytesAvailable(info), layout)) return 0;
    PixelSurface& surface = *bitmap->surface;
    if (layout.width != surface.Width() || layout.height != surface.Height()) return 0;
    std::size_t size = layout.compression == BI_RLE4 || layout.compression == BI_RLE8
                           ? info->bmiHeader.biSizeImage
                           : DibStride(layout.width, layout.bitCount) * lines;
    if (!DecodeDibScanLines(layout, static_cast<const Byte*>(bits), size, static_cast<int>(start),
                            static_cast<int>(lines), surface))
        return 0;
    return static_cast<int>(lines);
}
