// Draws the editor's own bitmaps and writes them as 16-colour BMP files into
// the folder given on the command line (the program's resources folder):
//   SynEditInternalImages.bmp  ten 11 x 14 bookmark ribbons numbered 0 to 9
//   SynEditWrapped.bmp         the 15 x 14 mark of a wrapped row, on lime
#include "platform/win/BitmapFiles.h"

#include <array>
#include <cstdio>
#include <memory>
#include <string>

namespace {

constexpr Pixel Silver = 0xC0C0C0;
constexpr Pixel Black = 0x000000;
constexpr Pixel Yellow = 0xFFFF00;
constexpr Pixel Lime = 0x00FF00;
constexpr Pixel Navy = 0x000080;

using Art = std::array<const char*, 14>;

// One bookmark ribbon: 'K' outline, 'Y' fill, '.' background; the digit goes
// into the 5 x 7 box whose top-left corner is DigitLeft, DigitTop.
// clang-format off
constexpr Art Ribbon = {
    "...........",
    ".KKKKKKKKK.",
    ".KYYYYYYYK.",
    ".KYYYYYYYK.",
    ".KYYYYYYYK.",
    ".KYYYYYYYK.",
    ".KYYYYYYYK.",
    ".KYYYYYYYK.",
    ".KYYYYYYYK.",
    ".KYYYYYYYK.",
    ".KYYYYYYYK.",
    ".KYYYKYYYK.",
    ".KYYK.KYYK.",
    ".KKK...KKK.",
};
// clang-format on
constexpr int RibbonWidth = 11;
constexpr int BookmarkCount = 10;
constexpr int DigitLeft = 3;
constexpr int DigitTop = 3;

using Digit = std::array<const char*, 7>;
constexpr std::array<Digit, BookmarkCount> Digits = {{
    {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."},
    {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."},
    {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"},
    {"#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###."},
    {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."},
    {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."},
    {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."},
    {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."},
    {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."},
    {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."},
}};

// A return arrow: down the right, then back to the left.
// clang-format off
constexpr Art WrapArrow = {
    "...............",
    "..........##...",
    "..........##...",
    "..........##...",
    ".....#....##...",
    "....##....##...",
    "...###....##...",
    "..##########...",
    "..##########...",
    "...###.........",
    "....##.........",
    ".....#.........",
    "...............",
    "...............",
};
// clang-format on
constexpr int WrapArrowWidth = 15;

Pixel colourOf(char code) {
    switch (code) {
    case 'K':
        return Black;
    case 'Y':
        return Yellow;
    default:
        return Silver;
    }
}

void paintBookmark(PixelSurface& strip, int number) {
    const int left = number * RibbonWidth;
    for (int y = 0; y < static_cast<int>(Ribbon.size()); ++y)
        for (int x = 0; x < RibbonWidth; ++x)
            strip.Set(left + x, y, colourOf(Ribbon[y][x]));
    const Digit& digit = Digits[number];
    for (int y = 0; y < static_cast<int>(digit.size()); ++y)
        for (int x = 0; digit[y][x]; ++x)
            if (digit[y][x] == '#') strip.Set(left + DigitLeft + x, DigitTop + y, Navy);
}

std::unique_ptr<PixelSurface> bookmarkStrip() {
    auto strip = std::make_unique<PixelSurface>(RibbonWidth * BookmarkCount, static_cast<int>(Ribbon.size()));
    for (int number = 0; number < BookmarkCount; ++number)
        paintBookmark(*strip, number);
    return strip;
}

std::unique_ptr<PixelSurface> wrapGlyph() {
    auto glyph = std::make_unique<PixelSurface>(WrapArrowWidth, static_cast<int>(WrapArrow.size()));
    for (int y = 0; y < glyph->Height(); ++y)
        for (int x = 0; x < glyph->Width(); ++x)
            glyph->Set(x, y, WrapArrow[y][x] == '#' ? Navy : Lime);
    return glyph;
}

constexpr int SixteenColours = 4;

bool writeBmp(const PixelSurface& surface, const std::string& path) {
    return WriteBmpFile(surface, path, SixteenColours);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <resources folder>\n", argv[0]);
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";
    bool written = writeBmp(*bookmarkStrip(), folder + "SynEditInternalImages.bmp") &&
                   writeBmp(*wrapGlyph(), folder + "SynEditWrapped.bmp");
    if (!written) std::fprintf(stderr, "could not write the bitmaps into %s\n", argv[1]);
    return written ? 0 : 1;
}
