// Draws the arrow glyphs of the floating-point spin edit's drop-down button
// and writes them as 16-colour BMP files into the folder given on the command
// line (the program's resources folder):
//   DropDown.bmp  a 7 x 4 arrow pointing down, for a horizontal track bar
//   DropLeft.bmp  a 4 x 7 arrow pointing left, for a vertical one
// The background (the bottom-left pixel) is olive, the glyphs' transparent colour.
#include "platform/win/BitmapFiles.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr Pixel Black = 0x000000;
constexpr Pixel Olive = 0x808000;
constexpr int SixteenColours = 4;

using Art = std::vector<std::string>;

const Art DownArrow = {
    "#######",
    ".#####.",
    "..###..",
    "...#...",
};

const Art LeftArrow = {
    "...#", "..##", ".###", "####", ".###", "..##", "...#",
};

bool writeGlyph(const Art& art, const std::string& path) {
    PixelSurface glyph(static_cast<int>(art[0].size()), static_cast<int>(art.size()));
    for (int y = 0; y < glyph.Height(); ++y)
        for (int x = 0; x < glyph.Width(); ++x)
            glyph.Set(x, y, art[y][x] == '#' ? Black : Olive);
    return WriteBmpFile(glyph, path, SixteenColours);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <resources folder>\n", argv[0]);
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";
    const bool written =
        writeGlyph(DownArrow, folder + "DropDown.bmp") && writeGlyph(LeftArrow, folder + "DropLeft.bmp");
    if (!written) std::fprintf(stderr, "could not write the bitmaps into %s\n", argv[1]);
    return written ? 0 : 1;
}
