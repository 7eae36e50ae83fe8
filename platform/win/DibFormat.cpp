// Decoding and encoding of DIB scan lines.
#include "platform/win/DibFormat.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <unordered_map>

namespace {

constexpr std::size_t coreHeaderSize = 12;
constexpr std::size_t infoHeaderSize = 40;
constexpr std::size_t maskBytes = 12;
constexpr int largestDimension = 1 << 15;
constexpr std::size_t largestPixelCount = std::size_t{1} << 26;
constexpr std::array<DWORD, 3> masks555 = {0x7C00, 0x03E0, 0x001F};
constexpr std::array<DWORD, 3> masks888 = {0x00FF0000, 0x0000FF00, 0x000000FF};

DWORD readDword(const Byte* at) {
    return at[0] | (at[1] << 8) | (at[2] << 16) | (DWORD(at[3]) << 24);
}
WORD readWord(const Byte* at) {
    return static_cast<WORD>(at[0] | (at[1] << 8));
}

Pixel pixelOf(Byte red, Byte green, Byte blue) {
    return (Pixel(red) << 16) | (Pixel(green) << 8) | blue;
}

bool readCoreHeader(const Byte* info, std::size_t available, DibLayout& layout) {
    layout.width = readWord(info + 4);
    int height = static_cast<SHORT>(readWord(info + 6));
    layout.height = height;
    layout.bitCount = readWord(info + 10);
    std::size_t entries = layout.bitCount <= 8 ? (std::size_t{1} << layout.bitCount) : 0;
    if (coreHeaderSize + 3 * entries > available) return false;
    for (std::size_t i = 0; i < entries; ++i) {
        const Byte* entry = info + coreHeaderSize + 3 * i;
        layout.colours.push_back(pixelOf(entry[2], entry[1], entry[0]));
    }
    layout.headerBytes = coreHeaderSize + 3 * entries;
    return true;
}

bool readInfoHeader(const Byte* info, std::size_t available, DibLayout& layout) {
    std::size_t headerSize = readDword(info);
    if (headerSize < infoHeaderSize || headerSize > available) return false;
    layout.width = static_cast<LONG>(readDword(info + 4));
    LONG height = static_cast<LONG>(readDword(info + 8));
    layout.topDown = height < 0;
    layout.height = height == std::numeric_limits<LONG>::min() ? 0 : (height < 0 ? -height : height);
    layout.bitCount = readWord(info + 14);
    layout.compression = readDword(info + 16);
    DWORD coloursUsed = readDword(info + 32);
    std::size_t offset = headerSize;
    if (layout.compression == BI_BITFIELDS) {
        // The masks follow a plain info header and are part of the longer ones.
        const Byte* masks = headerSize == infoHeaderSize ? info + offset : info + infoHeaderSize;
        if (headerSize == infoHeaderSize) offset += maskBytes;
        if (offset > available) return false;
        for (std::size_t i = 0; i < 3; ++i)
            layout.masks[i] = readDword(masks + 4 * i);
    } else {
        layout.masks = layout.bitCount == 16 ? masks555 : masks888;
    }
    std::size_t entries =
        layout.bitCount <= 8 ? (coloursUsed ? coloursUsed : (std::size_t{1} << layout.bitCount)) : 0;
    if (entries > 256 || offset + 4 * entries > available) return false;
    for (std::size_t i = 0; i < entries; ++i) {
        const Byte* entry = info + offset + 4 * i;
        layout.colours.push_back(pixelOf(entry[2], entry[1], entry[0]));
    }
    layout.headerBytes = offset + 4 * entries;
    return true;
}

bool layoutIsSupported(const DibLayout& layout) {
    if (layout.width <= 0 || layout.height <= 0 || layout.width > largestDimension ||
        layout.height > largestDimension ||
        static_cast<std::size_t>(layout.width) * static_cast<std::size_t>(layout.height) > largestPixelCount)
        return false;
    switch (layout.compression) {
    case BI_RGB:
        return layout.bitCount == 1 || layout.bitCount == 4 || layout.bitCount == 8 ||
               layout.bitCount == 16 || layout.bitCount == 24 || layout.bitCount == 32;
    case BI_RLE8:
        return layout.bitCount == 8 && !layout.topDown;
    case BI_RLE4:
        return layout.bitCount == 4 && !layout.topDown;
    case BI_BITFIELDS:
        return layout.bitCount == 16 || layout.bitCount == 32;
    default:
        return false;
    }
}

Byte maskedChannel(DWORD value, DWORD mask) {
    if (mask == 0) return 0;
    int shift = std::countr_zero(mask);
    DWORD maximum = mask >> shift;
    DWORD channel = (value & mask) >> shift;
    return static_cast<Byte>((channel * 255 + maximum / 2) / maximum);
}

Pixel colourAt(const DibLayout& layout, std::size_t index) {
    return index < layout.colours.size() ? layout.colours[index] : PixelBlack;
}

Pixel decodePixel(const DibLayout& layout, const Byte* row, int x) {
    switch (layout.bitCount) {
    case 1:
        return colourAt(layout, (row[x >> 3] >> (7 - (x & 7))) & 1);
    case 4:
        return colourAt(layout, (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F);
    case 8:
        return colourAt(layout, row[x]);
    case 16: {
        DWORD value = readWord(row + 2 * x);
        return pixelOf(maskedChannel(value, layout.masks[0]), maskedChannel(value, layout.masks[1]),
                       maskedChannel(value, layout.masks[2]));
    }
    case 24:
        return pixelOf(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
    default: {
        DWORD value = readDword(row + 4 * x);
        return pixelOf(maskedChannel(value, layout.masks[0]), maskedChannel(value, layout.masks[1]),
                       maskedChannel(value, layout.masks[2]));
    }
    }
}

int surfaceRowOfScanLine(const DibLayout& layout, int scanLine) {
    return layout.topDown ? scanLine : layout.height - 1 - scanLine;
}

void storePixel(PixelSurface& target, int x, int y, Pixel pixel) {
    if (x < target.Width() && y >= 0 && y < target.Height())
        target.Set(x, y, target.IsMonochrome() ? NearestMonochrome(pixel) : pixel);
}

// Run-length decoding: pairs of (count, index) runs and escapes for line end,
// image end, position jumps and literal runs padded to a word.
class RunLengthDecoder {
public:
    RunLengthDecoder(const DibLayout& layout, const Byte* bits, std::size_t size, PixelSurface& target)
        : layout_(layout), bits_(bits), size_(size), target_(target) {}

    bool Decode() {
        target_.Fill(colourAt(layout_, 0));
        while (position_ + 2 <= size_) {
            Byte count = bits_[position_++], value = bits_[position_++];
            if (count > 0)
                run(count, value);
            else if (!escape(value))
                return finished_;
        }
        return false;
    }

private:
    bool fourBits() const { return layout_.bitCount == 4; }

    void put(std::size_t index) {
        storePixel(target_, x_, surfaceRowOfScanLine(layout_, line_), colourAt(layout_, index));
        ++x_;
    }

    void run(int count, Byte value) {
        for (int i = 0; i < count; ++i)
            put(fourBits() ? ((i & 1) ? value & 0x0F : value >> 4) : value);
    }

    bool escape(Byte code) {
        constexpr Byte endOfLine = 0, endOfBitmap = 1, delta = 2;
        switch (code) {
        case endOfLine:
            x_ = 0;
            ++line_;
            return true;
        case endOfBitmap:
            finished_ = true;
            return false;
        case delta:
            if (position_ + 2 > size_) return false;
            x_ += bits_[position_++];
            line_ += bits_[position_++];
            return true;
        default:
            return literal(code);
        }
    }

    bool literal(int count) {
        std::size_t bytes = fourBits() ? (count + 1) / 2 : count;
        if (position_ + bytes > size_) return false;
        for (int i = 0; i < count; ++i) {
            Byte value = bits_[position_ + (fourBits() ? i / 2 : i)];
            put(fourBits() ? ((i & 1) ? value & 0x0F : value >> 4) : value);
        }
        position_ += bytes + (bytes & 1);
        return true;
    }

    const DibLayout& layout_;
    const Byte* bits_;
    std::size_t size_;
    PixelSurface& target_;
    std::size_t position_ = 0;
    int x_ = 0;
    int line_ = 0;
    bool finished_ = false;
};

std::size_t nearestPaletteIndex(const std::vector<Pixel>& palette, Pixel pixel) {
    std::size_t best = 0;
    long bestDistance = std::numeric_limits<long>::max();
    for (std::size_t i = 0; i < palette.size(); ++i) {
        long distance = 0;
        for (int shift : {0, 8, 16}) {
            long difference = long((palette[i] >> shift) & 0xFF) - long((pixel >> shift) & 0xFF);
            distance += difference * difference;
        }
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

class PaletteIndexer {
public:
    explicit PaletteIndexer(const std::vector<Pixel>& palette) : palette_(palette) {}
    std::size_t IndexOf(Pixel pixel) {
        pixel &= PixelColourMask;
        auto found = cache_.find(pixel);
        if (found != cache_.end()) return found->second;
        std::size_t index = nearestPaletteIndex(palette_, pixel);
        cache_.emplace(pixel, index);
        return index;
    }

private:
    const std::vector<Pixel>& palette_;
    std::unordered_map<Pixel, std::size_t> cache_;
};

void encodeRow(const Pixel* row, int width, int bitCount, PaletteIndexer& indexer, Byte* out) {
    for (int x = 0; x < width; ++x) {
        Pixel pixel = row[x];
        switch (bitCount) {
        case 1:
            out[x >> 3] |= static_cast<Byte>((indexer.IndexOf(pixel) & 1) << (7 - (x & 7)));
            break;
        case 4:
            out[x >> 1] |= static_cast<Byte>((indexer.IndexOf(pixel) & 0x0F) << ((x & 1) ? 0 : 4));
            break;
        case 8:
            out[x] = static_cast<Byte>(indexer.IndexOf(pixel));
            break;
        case 24:
            out[3 * x] = static_cast<Byte>(pixel);
            out[3 * x + 1] = static_cast<Byte>(pixel >> 8);
            out[3 * x + 2] = static_cast<Byte>(pixel >> 16);
            break;
        default:
            std::memcpy(out + 4 * x, &pixel, sizeof pixel);
            out[4 * x + 3] = 0;
            break;
        }
    }
}

} // namespace

std::size_t DibStride(int width, int bitCount) {
    return ((static_cast<std::size_t>(width) * static_cast<std::size_t>(bitCount) + 31) / 32) * 4;
}

bool ReadDibLayout(const Byte* info, std::size_t available, DibLayout& layout) {
    layout = DibLayout();
    if (!info || available < 4) return false;
    std::size_t headerSize = readDword(info);
    bool read = headerSize == coreHeaderSize && available >= coreHeaderSize
                    ? readCoreHeader(info, available, layout)
                    : readInfoHeader(info, available, layout);
    return read && layoutIsSupported(layout);
}

bool DecodeDibScanLines(const DibLayout& layout, const Byte* bits, std::size_t size, int firstLine,
                        int lineCount, PixelSurface& target) {
    if (!bits) return false;
    if (layout.compression == BI_RLE8 || layout.compression == BI_RLE4)
        return RunLengthDecoder(layout, bits, size, target).Decode();
    std::size_t stride = DibStride(layout.width, layout.bitCount);
    int lastLine = std::min(firstLine + lineCount, layout.height);
    for (int line = std::max(firstLine, 0); line < lastLine; ++line) {
        std::size_t offset = static_cast<std::size_t>(line - firstLine) * stride;
        if (offset + stride > size) return false;
        int y = surfaceRowOfScanLine(layout, line);
        for (int x = 0; x < layout.width; ++x)
            storePixel(target, x, y, decodePixel(layout, bits + offset, x));
    }
    return true;
}

std::vector<Byte> EncodeDibScanLines(const PixelSurface& source, int bitCount, bool topDown,
                                     const std::vector<Pixel>& palette) {
    bool indexed = bitCount == 1 || bitCount == 4 || bitCount == 8;
    if (!indexed && bitCount != 24 && bitCount != 32) return {};
    std::size_t stride = DibStride(source.Width(), bitCount);
    std::vector<Byte> bytes(stride * static_cast<std::size_t>(source.Height()), 0);
    PaletteIndexer indexer(palette);
    for (int line = 0; line < source.Height(); ++line) {
        int y = topDown ? line : source.Height() - 1 - line;
        encodeRow(source.Row(y), source.Width(), bitCount, indexer,
                  bytes.data() + static_cast<std::size_t>(line) * stride);
    }
    return bytes;
}
