// BMP: a 14-byte file header, an info header with its colour table, then the
// scan lines. PNG goes through libpng's simplified interface.
#include "platform/win/BitmapFiles.h"

#include "platform/win/Bitmaps.h"
#include "platform/win/DibFormat.h"
#include "platform/win/GdiObjects.h"

#include <png.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>

namespace {

constexpr std::size_t fileHeaderSize = 14;
constexpr std::size_t infoHeaderSize = 40;
constexpr Byte signatureFirst = 'B';
constexpr Byte signatureSecond = 'M';
constexpr LONG pixelsPerMetreAt96Dpi = 3780;

DWORD readDword(const Byte* at) {
    return at[0] | (at[1] << 8) | (at[2] << 16) | (DWORD(at[3]) << 24);
}

void appendWord(std::vector<Byte>& out, WORD value) {
    out.push_back(static_cast<Byte>(value));
    out.push_back(static_cast<Byte>(value >> 8));
}

void appendDword(std::vector<Byte>& out, DWORD value) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<Byte>(value >> shift));
}

bool isBlackAndWhite(const std::vector<Pixel>& colours) {
    return colours.size() == 2 &&
           std::set<Pixel>(colours.begin(), colours.end()) == std::set<Pixel>{PixelBlack, PixelWhite};
}

// The colours of the image, in order of first appearance; false when there are more than `limit`.
bool collectPalette(const PixelSurface& surface, std::size_t limit, std::vector<Pixel>& palette) {
    if (surface.IsMonochrome()) {
        palette = {PixelBlack, PixelWhite};
        return limit >= 2;
    }
    std::set<Pixel> seen;
    for (int y = 0; y < surface.Height(); ++y)
        for (int x = 0; x < surface.Width(); ++x) {
            Pixel pixel = surface.At(x, y) & PixelColourMask;
            if (seen.insert(pixel).second) {
                if (seen.size() > limit) return false;
                palette.push_back(pixel);
            }
        }
    return true;
}

std::vector<Byte> readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return {};
    return std::vector<Byte>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

} // namespace

std::shared_ptr<PixelSurface> DecodeBmp(const Byte* data, std::size_t size) {
    if (!data || size < fileHeaderSize + 4 || data[0] != signatureFirst || data[1] != signatureSecond)
        return nullptr;
    DibLayout layout;
    if (!ReadDibLayout(data + fileHeaderSize, size - fileHeaderSize, layout)) return nullptr;
    std::size_t pixelOffset = readDword(data + 10);
    if (pixelOffset < fileHeaderSize + layout.headerBytes || pixelOffset >= size)
        pixelOffset = fileHeaderSize + layout.headerBytes;
    if (pixelOffset >= size) return nullptr;
    bool monochrome = layout.bitCount == 1 && isBlackAndWhite(layout.colours);
    return NullWhenOutOfMemory([&]() -> std::shared_ptr<PixelSurface> {
        auto surface = std::make_shared<PixelSurface>(layout.width, layout.height, monochrome);
        if (!DecodeDibScanLines(layout, data + pixelOffset, size - pixelOffset, 0, layout.height, *surface))
            return nullptr;
        return surface;
    });
}

HBITMAP LoadBmpFromMemory(const Byte* data, std::size_t size) {
    auto surface = DecodeBmp(data, size);
    return surface ? CreateBitmapFromSurface(std::move(surface)) : nullptr;
}

HBITMAP LoadBmpFile(const std::string& path) {
    std::vector<Byte> bytes = readFile(path);
    return LoadBmpFromMemory(bytes.data(), bytes.size());
}

std::vector<Byte> EncodeBmp(const PixelSurface& surface, int bitCount, bool topDown) {
    std::vector<Pixel> palette;
    bool indexed = bitCount == 1 || bitCount == 4 || bitCount == 8;
    if (indexed && !collectPalette(surface, std::size_t{1} << bitCount, palette)) return {};
    std::vector<Byte> pixels = EncodeDibScanLines(surface, bitCount, topDown, palette);
    if (pixels.empty() && surface.Width() * surface.Height() > 0) return {};
    std::size_t tableEntries = indexed ? std::size_t{1} << bitCount : 0;
    std::size_t pixelOffset = fileHeaderSize + infoHeaderSize + 4 * tableEntries;
    std::vector<Byte> out;
    out.reserve(pixelOffset + pixels.size());
    out.push_back(signatureFirst);
    out.push_back(signatureSecond);
    appendDword(out, static_cast<DWORD>(pixelOffset + pixels.size()));
    appendDword(out, 0);
    appendDword(out, static_cast<DWORD>(pixelOffset));
    appendDword(out, infoHeaderSize);
    appendDword(out, static_cast<DWORD>(surface.Width()));
    appendDword(out, static_cast<DWORD>(topDown ? -surface.Height() : surface.Height()));
    appendWord(out, 1);
    appendWord(out, static_cast<WORD>(bitCount));
    appendDword(out, BI_RGB);
    appendDword(out, static_cast<DWORD>(pixels.size()));
    appendDword(out, pixelsPerMetreAt96Dpi);
    appendDword(out, pixelsPerMetreAt96Dpi);
    appendDword(out, static_cast<DWORD>(indexed ? palette.size() : 0));
    appendDword(out, 0);
    for (std::size_t i = 0; i < tableEntries; ++i)
        appendDword(out, i < palette.size() ? palette[i] : 0);
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

bool WriteBmpFile(const PixelSurface& surface, const std::string& path, int bitCount, bool topDown) {
    std::vector<Byte> bytes = EncodeBmp(surface, bitCount, topDown);
    if (bytes.empty()) return false;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

bool WriteBmpFile(HBITMAP bitmap, const std::string& path, int bitCount, bool topDown) {
    auto surface = BitmapSurface(bitmap);
    return surface && WriteBmpFile(*surface, path, bitCount, topDown);
}

bool WritePngFile(const PixelSurface& surface, const std::string& path) {
    if (surface.Width() == 0 || surface.Height() == 0) return false;
    std::vector<Byte> rgb;
    rgb.reserve(static_cast<std::size_t>(surface.Width()) * surface.Height() * 3);
    for (int y = 0; y < surface.Height(); ++y)
        for (int x = 0; x < surface.Width(); ++x) {
            Pixel pixel = surface.At(x, y);
            rgb.push_back(static_cast<Byte>(pixel >> 16));
            rgb.push_back(static_cast<Byte>(pixel >> 8));
            rgb.push_back(static_cast<Byte>(pixel));
        }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(surface.Width());
    image.height = static_cast<png_uint_32>(surface.Height());
    image.format = PNG_FORMAT_RGB;
    bool written = png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr) != 0;
    png_image_free(&image);
    return written;
}

bool WritePngFile(HBITMAP bitmap, const std::string& path) {
    auto surface = BitmapSurface(bitmap);
    return surface && WritePngFile(*surface, path);
}
