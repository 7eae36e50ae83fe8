// Draws the colour page's pictures. Usage:
//   colour_resources <resources folder> <program data folder Color>
// Into <resources>/ColorTab/: BITMAP_1 and BITMAP_2 (the green slider's
// ruler, green and grey ramps, 10 x 188), the other sliders' rulers and the
// thumbs, the hexadecimal fields' glyph, the status images and the page's
// picture. Into <Color>/Palettes/: Palette1.bmp (hues across, from white
// through the pure hue to black downwards) and Palette2.bmp (the 216
// web-safe colours), both 364 x 87. In every bitmap that has transparent
// parts the bottom-left pixel is the transparent colour.
#include "colour/ColorConvert.h"
#include "platform/win/BitmapFiles.h"

#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>

namespace {

constexpr Pixel Key = 0xFF00FF;
constexpr Pixel Frame = 0x404040;
constexpr Pixel Highlight = 0xFFFFFF;
constexpr Pixel Face = 0xC0C0C0;
constexpr Pixel PressedFace = 0xE0E0E0;
constexpr Pixel Shadow = 0x808080;
constexpr Pixel Dark = 0x000000;

constexpr int RulerLength = 188;
constexpr int RulerThickness = 10;
constexpr int GrooveThickness = 6;
constexpr int PaletteWidth = 364;
constexpr int PaletteHeight = 87;

Pixel rgb(int Red, int Green, int Blue) {
    return static_cast<Pixel>(Red << 16 | Green << 8 | Blue);
}

Pixel hsv(unsigned int Hue, int Saturation, int Value) {
    Byte red = 0;
    Byte green = 0;
    Byte blue = 0;
    CalcHSV2RGB(red, green, blue, Hue, static_cast<Byte>(Saturation), static_cast<Byte>(Value));
    return rgb(red, green, blue);
}

using Shade = std::function<Pixel(int Along)>;

// A ramp along the ruler with a dark frame and transparent corners; Along
// runs 0 .. 255 from the slider's minimum to its maximum (bottom to top on a
// vertical ruler).
std::unique_ptr<PixelSurface> ramp(bool Vertical, const Shade& Colour) {
    const int width = Vertical ? RulerThickness : RulerLength;
    const int height = Vertical ? RulerLength : RulerThickness;
    auto surface = std::make_unique<PixelSurface>(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool cornerX = x == 0 || x == width - 1;
            const bool cornerY = y == 0 || y == height - 1;
            const int position = Vertical ? height - 1 - y : x;
            const int along = position * 255 / (RulerLength - 1);
            Pixel pixel = Colour(along);
            if (cornerX || cornerY) pixel = Frame;
            if (cornerX && cornerY) pixel = Key;
            surface->Set(x, y, pixel);
        }
    return surface;
}

// A sunken groove for the sliders that carry no colour.
std::unique_ptr<PixelSurface> groove(bool Vertical) {
    const int width = Vertical ? GrooveThickness : RulerLength;
    const int height = Vertical ? RulerLength : GrooveThickness;
    auto surface = std::make_unique<PixelSurface>(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int across = Vertical ? x : y;
            const Pixel pixel = across == 0                     ? Shadow
                                : across == 1                   ? Dark
                                : across == GrooveThickness - 1 ? Highlight
                                                                : Face;
            surface->Set(x, y, pixel);
        }
    surface->Set(0, height - 1, Key);
    return surface;
}

// A thumb and its pressed look side by side: a raised block with a point
// towards the ruler (down on a horizontal slider, left on a vertical one).
std::unique_ptr<PixelSurface> thumb(bool Vertical) {
    const int length = 11;
    const int across = 19;
    const int width = Vertical ? across : length;
    const int height = Vertical ? length : across;
    auto surface = std::make_unique<PixelSurface>(2 * width, height);
    for (int state = 0; state < 2; ++state)
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const int a = Vertical ? x : y;                // across the ruler
                const int l = Vertical ? y : x;                // along the ruler
                const int tip = Vertical ? across - 1 - a : a; // distance from the point's far end
                const int pointStart = across - length / 2 - 1;
                const int inset = tip >= pointStart ? tip - pointStart : 0;
                Pixel pixel = Key;
                if (l >= inset && l <= length - 1 - inset) {
                    const bool edgeLow = l == inset || a == (Vertical ? across - 1 : 0);
                    const bool edgeHigh = l == length - 1 - inset || a == (Vertical ? 0 : across - 1);
                    pixel = edgeLow    ? Highlight
                            : edgeHigh ? Dark
                                       : ((state == 1 && (x + y) % 2) ? PressedFace : Face);
                }
                surface->Set(state * width + x, y, pixel);
            }
    surface->Set(0, height - 1, Key);
    return surface;
}

std::unique_ptr<PixelSurface> fromArt(const char* const* Rows, int Count, Pixel Ink, Pixel Paper) {
    const int width = static_cast<int>(std::char_traits<char>::length(Rows[0]));
    auto surface = std::make_unique<PixelSurface>(width, Count);
    for (int y = 0; y < Count; ++y)
        for (int x = 0; x < width; ++x)
            surface->Set(x, y, Rows[y][x] == '#' ? Ink : Rows[y][x] == 'o' ? Paper : Key);
    return surface;
}

const char* const HexGlyph[] = {
    "..........", "..#...#...", "..#...#...", "#########.", "..#...#...",
    ".#...#....", "#########.", ".#...#....", ".#...#....", "..........",
};

const char* const OkArt[] = {
    ".....oooooo.....", "...oooooooooo...", "..oooooooooooo..", ".oooooooooooo#o.",
    ".ooooooooooo##o.", "oooooooooo###ooo", "oo#ooooooo###ooo", "oo##ooooo###oooo",
    "oo###ooo###ooooo", "ooo###o###oooooo", "oooo#####ooooooo", ".oooo###ooooooo.",
    ".ooooo#oooooooo.", "..oooooooooooo..", "...oooooooooo...", ".....oooooo.....",
};

const char* const ErrorArt[] = {
    ".....oooooo.....", "...oooooooooo...", "..oooooooooooo..", ".ooo#oooooo#ooo.",
    ".ooo##oooo##ooo.", "ooooo##oo##ooooo", "oooooo####oooooo", "ooooooo##ooooooo",
    "oooooo####oooooo", "ooooo##oo##ooooo", "oooo##oooo##oooo", ".ooo#oooooo#ooo.",
    ".oooooooooooooo.", "..oooooooooooo..", "...oooooooooo...", ".....oooooo.....",
};

// A colour wheel: hue around, saturation outwards.
std::unique_ptr<PixelSurface> wheel() {
    const int size = 32;
    auto surface = std::make_unique<PixelSurface>(size, size);
    const double centre = (size - 1) / 2.0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double dx = x - centre;
            const double dy = centre - y;
            const double radius = std::sqrt(dx * dx + dy * dy);
            if (radius > centre) {
                surface->Set(x, y, Key);
                continue;
            }
            double degrees = std::atan2(dy, dx) * 180 / M_PI;
            if (degrees < 0) degrees += 360;
            surface->Set(
                x, y, hsv(static_cast<unsigned int>(degrees), static_cast<int>(255 * radius / centre), 255));
        }
    return surface;
}

// Hues across; from white at the top through the pure hue in the middle to
// black at the bottom.
std::unique_ptr<PixelSurface> hueField() {
    auto surface = std::make_unique<PixelSurface>(PaletteWidth, PaletteHeight);
    const int middle = PaletteHeight / 2;
    for (int y = 0; y < PaletteHeight; ++y)
        for (int x = 0; x < PaletteWidth; ++x) {
            const auto hue = static_cast<unsigned int>(x * 360 / PaletteWidth);
            const Pixel pixel =
                y <= middle ? hsv(hue, 255 * y / middle, 255)
                            : hsv(hue, 255, 255 * (PaletteHeight - 1 - y) / (PaletteHeight - 1 - middle));
            surface->Set(x, y, pixel);
        }
    return surface;
}

// The 216 web-safe colours in 36 columns and 6 rows: red and green change
// along a row in blocks of six, blue down the rows.
std::unique_ptr<PixelSurface> webSafeField() {
    constexpr int columns = 36;
    constexpr int rows = 6;
    constexpr int step = 51;
    auto surface = std::make_unique<PixelSurface>(PaletteWidth, PaletteHeight);
    for (int y = 0; y < PaletteHeight; ++y)
        for (int x = 0; x < PaletteWidth; ++x) {
            const int column = x * columns / PaletteWidth;
            const int row = y * rows / PaletteHeight;
            surface->Set(x, y, rgb(column / 6 * step, column % 6 * step, row * step));
        }
    return surface;
}

bool write(const std::string& Path, const std::unique_ptr<PixelSurface>& Surface) {
    if (WriteBmpFile(*Surface, Path, 24)) return true;
    std::fprintf(stderr, "could not write %s\n", Path.c_str());
    return false;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <resources folder> <Color folder>\n", argv[0]);
        return 2;
    }
    const std::string pictures = std::string(argv[1]) + "/ColorTab/";
    const std::string palettes = std::string(argv[2]) + "/Palettes/";
    const auto grey = [](int v) { return rgb(v, v, v); };
    bool written = true;
    written &= write(pictures + "BITMAP_1.bmp", ramp(true, [](int v) { return rgb(0, v, 0); }));
    written &= write(pictures + "BITMAP_2.bmp", ramp(true, grey));
    written &= write(pictures + "COLOR_RED_RULER.bmp", ramp(true, [](int v) { return rgb(v, 0, 0); }));
    written &= write(pictures + "COLOR_BLUE_RULER.bmp", ramp(true, [](int v) { return rgb(0, 0, v); }));
    written &=
        write(pictures + "COLOR_HUE_RULER.bmp",
              ramp(false, [](int v) { return hsv(static_cast<unsigned int>(v * 359 / 255), 255, 255); }));
    written &= write(pictures + "COLOR_SATURATION_RULER.bmp",
                     ramp(false, [](int v) { return rgb(255, 255 - v, 255 - v); }));
    written &= write(pictures + "COLOR_BRIGHTNESS_RULER.bmp", ramp(false, grey));
    written &= write(pictures + "COLOR_PLAIN_HRULER.bmp", groove(false));
    written &= write(pictures + "COLOR_PLAIN_VRULER.bmp", groove(true));
    written &= write(pictures + "COLOR_HTHUMB.bmp", thumb(false));
    written &= write(pictures + "COLOR_VTHUMB.bmp", thumb(true));
    written &= write(pictures + "COLOR_HEX_GLYPH.bmp", fromArt(HexGlyph, 10, 0x000080, Key));
    written &= write(pictures + "COLOR_OK.bmp", fromArt(OkArt, 16, Highlight, 0x008000));
    written &= write(pictures + "COLOR_ERROR.bmp", fromArt(ErrorArt, 16, Highlight, 0xC00000));
    written &= write(pictures + "COLOR_PAGE.bmp", wheel());
    written &= write(palettes + "Palette1.bmp", hueField());
    written &= write(palettes + "Palette2.bmp", webSafeField());
    return written ? 0 : 1;
}
