// A rectangle of 32-bit pixels that device contexts draw on and the backend
// shows. A pixel is 0x00RRGGBB, the memory layout of a 32-bit DIB; a monochrome
// surface holds only black and white pixels.
#pragma once

#include "platform/win/WinTypes.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

using Pixel = std::uint32_t;

constexpr Pixel PixelBlack = 0x00000000;
constexpr Pixel PixelWhite = 0x00FFFFFF;
constexpr Pixel PixelColourMask = 0x00FFFFFF;

constexpr Pixel PixelFromColorRef(COLORREF color) {
    return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}
constexpr COLORREF ColorRefFromPixel(Pixel pixel) {
    return ((pixel & 0xFF) << 16) | (pixel & 0xFF00) | ((pixel >> 16) & 0xFF);
}
// The one of black and white nearer to the colour: how a colour lands on a
// monochrome surface.
constexpr Pixel NearestMonochrome(Pixel pixel) {
    constexpr int halfOfFullScale = 382; // (3 x 255) / 2, rounded down
    int sum = static_cast<int>(pixel & 0xFF) + static_cast<int>((pixel >> 8) & 0xFF) +
              static_cast<int>((pixel >> 16) & 0xFF);
    return sum > halfOfFullScale ? PixelWhite : PixelBlack;
}

// `colour` laid over `destination` at `coverage` out of 255, each channel
// rounded to the nearest value; the top byte of the result is 0. Red and blue
// are worked out side by side in one word, and x / 255 rounded is
// ((x + 128) + ((x + 128) >> 8)) >> 8, exact for every x up to 255 x 255.
constexpr Pixel BlendPixel(Pixel destination, Pixel colour, unsigned coverage) {
    constexpr Pixel redAndBlue = 0x00FF00FF, green = 0x0000FF00, redAndBlueHalf = 0x00800080;
    constexpr Pixel greenHalf = 0x80;
    const unsigned remaining = 255 - coverage;
    Pixel rb = (destination & redAndBlue) * remaining + (colour & redAndBlue) * coverage + redAndBlueHalf;
    rb = ((rb + ((rb >> 8) & redAndBlue)) >> 8) & redAndBlue;
    Pixel g = ((destination >> 8) & 0xFF) * remaining + ((colour >> 8) & 0xFF) * coverage + greenHalf;
    g = (g + (g >> 8)) & green;
    return rb | g;
}

class PixelSurface {
public:
    // Owns its pixels, all black at first.
    PixelSurface(int width, int height, bool monochrome = false);
    // Over pixels owned by someone else (a DIB section's bits): `rowStride`
    // pixels from one row to the next, negative for a bottom-up layout.
    PixelSurface(int width, int height, Pixel* firstRow, std::ptrdiff_t rowStride);
    PixelSurface(const PixelSurface&) = delete;
    PixelSurface& operator=(const PixelSurface&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool IsMonochrome() const { return monochrome_; }
    TRect Bounds() const { return {0, 0, width_, height_}; }

    Pixel* Row(int y) { return firstRow_ + y * rowStride_; }
    const Pixel* Row(int y) const { return firstRow_ + y * rowStride_; }
    Pixel At(int x, int y) const { return Row(y)[x]; }
    void Set(int x, int y, Pixel pixel) { Row(y)[x] = pixel; }
    void Fill(Pixel pixel);

    // An independent copy that owns its pixels.
    std::shared_ptr<PixelSurface> Copy() const;

private:
    int width_;
    int height_;
    struct FreePixels {
        void operator()(Pixel* pixels) const { std::free(pixels); }
    };

    bool monochrome_;
    // Black is all zero bits, so the pixels come zeroed from the allocator:
    // a large surface costs no fill, and the pages no one draws on none at all.
    std::unique_ptr<Pixel[], FreePixels> storage_;
    Pixel* firstRow_;
    std::ptrdiff_t rowStride_;
};
