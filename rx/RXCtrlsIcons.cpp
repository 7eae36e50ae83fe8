// Icons at the system's icon size: the image of an icon file that suits the
// screen's colours, read from the file itself and stretched, and the size of
// an icon. A file whose counts, offsets or sizes do not fit gives the
// standard application icon.
#include "rx/RXCtrls.h"

#include "platform/core/Classes.h"
#include "platform/win/Bitmaps.h"
#include "platform/win/Blit.h"
#include "platform/win/DibFormat.h"
#include "platform/win/Gdi.h"
#include "platform/win/Icons.h"
#include "platform/win/ResourceImages.h"
#include "platform/win/SystemInfo.h"

#include <vector>

namespace {

constexpr std::size_t DirectorySize = 6;
constexpr std::size_t EntrySize = 16;
constexpr std::size_t EntryColorCount = 2;
constexpr std::size_t EntryBytes = 8;
constexpr std::size_t EntryOffset = 12;
constexpr Word IconType = 1;
constexpr Integer TrueColourBits = 24;
const char* const OutOfResourcesMessage = "Out of system resources";

Word readWord(const Byte* Data) {
    return static_cast<Word>(Data[0] | (Data[1] << 8));
}

DWORD readDword(const Byte* Data) {
    return static_cast<DWORD>(readWord(Data)) | (static_cast<DWORD>(readWord(Data + 2)) << 16);
}

HICON standardIcon() {
    return LoadIconA(nullptr, IDI_APPLICATION);
}

Integer screenColourBits() {
    HDC screen = GetDC(nullptr);
    const Integer bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    ReleaseDC(nullptr, screen);
    return bits;
}

// The colour image and the AND mask of one icon image, at their own size.
struct IconImage {
    std::shared_ptr<PixelSurface> colour;
    std::shared_ptr<PixelSurface> mask;
};

bool readIconImage(const Byte* Data, std::size_t Size, IconImage& Image) {
    DibLayout layout;
    if (!ReadDibLayout(Data, Size, layout) || layout.height < 2 || layout.width < 1) return false;
    layout.height /= 2;
    const std::size_t available = Size - layout.headerBytes;
    const Byte* bits = Data + layout.headerBytes;
    const std::size_t colourBytes = DibStride(layout.width, layout.bitCount) * static_cast<std::size_t>(layout.height);
    const std::size_t maskStride = DibStride(layout.width, 1);
    if (available < colourBytes + maskStride * static_cast<std::size_t>(layout.height)) return false;
    Image.colour = std::make_shared<PixelSurface>(layout.width, layout.height);
    if (!DecodeDibScanLines(layout, bits, colourBytes, 0, layout.height, *Image.colour)) return false;
    Image.mask = std::make_shared<PixelSurface>(layout.width, layout.height, true);
    for (int y = 0; y < layout.height; ++y) {
        const Byte* row = bits + colourBytes + maskStride * static_cast<std::size_t>(layout.height - 1 - y);
        for (int x = 0; x < layout.width; ++x)
            Image.mask->Set(x, y, (row[x / 8] & (0x80 >> (x % 8))) ? PixelWhite : PixelBlack);
    }
    return true;
}

// The surface stretched to Width x Height through the GDI, as the icon will be drawn.
std::shared_ptr<PixelSurface> stretched(std::shared_ptr<PixelSurface> Source, Integer Width, Integer Height) {
    HBITMAP source = CreateBitmapFromSurface(Source);
    HBITMAP target = Source->IsMonochrome() ? CreateBitmap(Width, Height, 1, 1, nullptr)
                                            : CreateBitmap(Width, Height, 1, 32, nullptr);
    HDC sourceDC = CreateCompatibleDC(nullptr);
    HDC targetDC = CreateCompatibleDC(nullptr);
    std::shared_ptr<PixelSurface> result;
    if (source && target && sourceDC && targetDC) {
        const HGDIOBJ oldSource = SelectObject(sourceDC, source);
        const HGDIOBJ oldTarget = SelectObject(targetDC, target);
        SetStretchBltMode(targetDC, COLORONCOLOR);
        StretchBlt(targetDC, 0, 0, Width, Height, sourceDC, 0, 0, Source->Width(), Source->Height(), SRCCOPY);
        SelectObject(sourceDC, oldSource);
        SelectObject(targetDC, oldTarget);
        result = BitmapSurface(target);
    }
    if (sourceDC) DeleteDC(sourceDC);
    if (targetDC) DeleteDC(targetDC);
    if (source) DeleteObject(source);
    if (target) DeleteObject(target);
    if (!result) throw EOutOfResources(OutOfResourcesMessage);
    return result;
}

// CreateIcon's rows: padded to two bytes; the AND mask's set bits transparent.
std::vector<Byte> maskBits(const PixelSurface& Mask) {
    const std::size_t stride = (static_cast<std::size_t>(Mask.Width()) + 15) / 16 * 2;
    std::vector<Byte> bits(stride * static_cast<std::size_t>(Mask.Height()));
    for (int y = 0; y < Mask.Height(); ++y)
        for (int x = 0; x < Mask.Width(); ++x)
            if (Mask.At(x, y) == PixelWhite) bits[stride * y + x / 8] |= static_cast<Byte>(0x80 >> (x % 8));
    return bits;
}

std::vector<Byte> colourBits(const PixelSurface& Colour) {
    std::vector<Byte> bits;
    bits.reserve(static_cast<std::size_t>(Colour.Width()) * Colour.Height() * 4);
    for (int y = 0; y < Colour.Height(); ++y)
        for (int x = 0; x < Colour.Width(); ++x) {
            const Pixel pixel = Colour.At(x, y) & PixelColourMask;
            for (int shift = 0; shift < 32; shift += 8)
                bits.push_back(static_cast<Byte>(pixel >> shift));
        }
    return bits;
}

} // namespace

Integer IconEntryForDepth(std::span<const Byte> ColorCounts, Integer BitsPerPixel) {
    const Integer colours = BitsPerPixel == TrueColourBits ? 0 : static_cast<Word>(1u << (BitsPerPixel % 32));
    Integer candidate = -1;
    for (Integer i = 0; i < static_cast<Integer>(ColorCounts.size()); ++i) {
        const Integer count = ColorCounts[i];
        if (count == colours) return i;
        if (candidate < 0 && count <= colours)
            candidate = i;
        else if (candidate >= 0 && count > ColorCounts[candidate])
            candidate = i;
    }
    return candidate < 0 ? 0 : candidate;
}

TPoint GetIconSize(HICON Icon) {
    ICONINFO info{};
    TPoint size{GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON)};
    if (!GetIconInfo(Icon, &info)) return size;
    if (auto colour = info.hbmColor ? BitmapSurface(info.hbmColor) : nullptr)
        size = {colour->Width(), colour->Height()};
    else if (auto mask = info.hbmMask ? BitmapSurface(info.hbmMask) : nullptr)
        size = {mask->Width(), mask->Height() / 2};
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return size;
}

HICON CreateRealSizeIcon(TIcon* Icon) {
    TMemoryStream stream;
    Icon->SaveToStream(&stream);
    const auto* data = static_cast<const Byte*>(stream.Memory());
    const auto size = static_cast<std::size_t>(stream.Size());
    if (size < DirectorySize) return standardIcon();
    const Word type = readWord(data + 2);
    if (type == 0) return standardIcon();
    if (type != IconType) return CopyIcon(Icon->Handle());
    const std::size_t count = readWord(data + 4);
    if (count == 0 || DirectorySize + EntrySize * count > size) return standardIcon();
    std::vector<Byte> colorCounts;
    for (std::size_t i = 0; i < count; ++i)
        colorCounts.push_back(data[DirectorySize + EntrySize * i + EntryColorCount]);
    const Byte* entry = data + DirectorySize + EntrySize * IconEntryForDepth(colorCounts, screenColourBits());
    const std::size_t bytes = readDword(entry + EntryBytes);
    const std::size_t offset = readDword(entry + EntryOffset);
    IconImage image;
    if (offset > size || bytes > size - offset || !readIconImage(data + offset, bytes, image)) return standardIcon();
    const Integer width = GetSystemMetrics(SM_CXICON);
    const Integer height = GetSystemMetrics(SM_CYICON);
    const std::vector<Byte> andBits = maskBits(*stretched(image.mask, width, height));
    const std::vector<Byte> xorBits = colourBits(*stretched(image.colour, width, height));
    return CreateIcon(nullptr, width, height, 1, 32, andBits.data(), xorBits.data());
}
