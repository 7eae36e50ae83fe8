// Draws the Rx controls' bitmaps and cursors and writes them into the folder
// given on the command line (the program's resources folder, Rx/):
//   W95_HTB.bmp, W95_VTB.bmp  slider thumbs, normal and pressed side by side
//   W95_HRL.bmp, W95_VRL.bmp  slider rulers, their 2-pixel ends never repeated
//   FEDITBMP.bmp              the file-name edit's folder
//   RXSPINUP.bmp, RXSPINDOWN.bmp  the spin button's arrows on button face
//   RX_HANDCUR.cur, RX_DRAGCUR.cur  the hand over a slider's thumb, and dragging
// Every bitmap's bottom-left pixel is its transparent colour.
#include "platform/win/BitmapFiles.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

using Art = std::vector<const char*>;

// 'k' black, 'g' grey (shadow), 'w' white (highlight), 's' silver (face),
// 'd' dark grey dither of a pressed thumb, 'y' yellow, 'o' olive, '.' the key colour.
const std::map<char, Pixel> palette = {
    {'k', 0x000000}, {'g', 0x808080}, {'w', 0xFFFFFF}, {'s', 0xC0C0C0},
    {'d', 0xE0E0E0}, {'y', 0xFFFF00}, {'o', 0x808000}, {'.', 0xFF00FF},
};

// clang-format off
const Art HorizontalThumb = {
    "wwwwwwwwk", "wsssssssk", "wsssssgsk", "wsssssgsk", "wsssssgsk", "wsssssgsk",
    "wsssssgsk", "wsssssgsk", "wsssssgsk", "wsssssgsk", "wsssssgsk", "wsssssgsk",
    "wssssssgk", ".wssssgk.", "..wssgk..", "...wgk...", "....k....",
};
const Art HorizontalThumbPressed = {
    "wwwwwwwwk", "wdsdsdsdk", "wsdsdsgsk", "wdsdsdgdk", "wsdsdsgsk", "wdsdsdgdk",
    "wsdsdsgsk", "wdsdsdgdk", "wsdsdsgsk", "wdsdsdgdk", "wsdsdsgsk", "wdsdsdgdk",
    "wsdsdsdgk", ".wsdsdgk.", "..wdsgk..", "...wgk...", "....k....",
};
const Art VerticalThumb = {
    ".wwwwwwwwwwwwwww...",
    ".wsssssssssssssgk..",
    ".wsssssssssssssgk..",
    ".wssssssssssssssgk.",
    ".wsssssssssssssssgk",
    ".wssssssssssssssgk.",
    ".wsssssssssssssgk..",
    ".wgggggggggggggk...",
    ".kkkkkkkkkkkkkk....",
};
const Art VerticalThumbPressed = {
    ".wwwwwwwwwwwwwww...",
    ".wdsdsdsdsdsdsdgk..",
    ".wsdsdsdsdsdsdsgk..",
    ".wdsdsdsdsdsdsdsgk.",
    ".wsdsdsdsdsdsdsdsgk",
    ".wdsdsdsdsdsdsdgk..",
    ".wsdsdsdsdsdsdsgk..",
    ".wgggggggggggggk...",
    ".kkkkkkkkkkkkkk....",
};
// A sunken groove; the two columns (rows) at each end are its rounded ends.
const Art HorizontalRuler = {
    "..........", "gggggggggw", "gkkkkkkksw", "gkssssssw.", "gsssssssw.", "wwwwwwwww.",
    "..........", "..........",
};
const Art VerticalRuler = {
    ".ggggw..", ".gkkks..", ".gksss..", ".gksss..", ".gksss..", ".gksss..",
    ".gksss..", ".gksss..", ".gsssw..", ".wwww...",
};
const Art Folder = {
    "..............",
    "..kkkk........",
    ".kyyyyk.......",
    "kyyyyyykkkkkk.",
    "kywwwwwwwwwwko",
    "kywyyyyyyyyyko",
    "kywyyyyyyyyyko",
    "kywyyyyyyyyyko",
    "kywyyyyyyyyyko",
    "kywyyyyyyyyyko",
    "kkkkkkkkkkkkko",
    "..............",
};
const Art SpinUp = {"sssssss", "sssksss", "sskkkss", "skkkkks", "sssssss"};
const Art SpinDown = {"sssssss", "skkkkks", "sskkkss", "sssksss", "sssssss"};

// Cursors: 'k' black, 'w' white, '.' transparent.
const Art HandCursor = {
    ".....kk.........",
    "....kwwk........",
    "....kwwk........",
    "....kwwk........",
    "....kwwkkk......",
    "....kwwkwwkkk...",
    "....kwwkwwkwwkk.",
    ".kk.kwwkwwkwwkwk",
    "kwwkkwwwwwwwwkwk",
    "kwwwkwwwwwwwwwwk",
    ".kwwkwwwwwwwwwwk",
    "..kwwwwwwwwwwwwk",
    "..kwwwwwwwwwwwk.",
    "...kwwwwwwwwwwk.",
    "....kwwwwwwwwk..",
    ".....kwwwwwwwk..",
    ".....kkkkkkkkk..",
};
const Art DragCursor = {
    "................",
    "................",
    "................",
    "....kk.kk.kk....",
    "...kwwkwwkwwkk..",
    "...kwwkwwkwwkwk.",
    ".kkkwwwwwwwwkwk.",
    "kwwkwwwwwwwwwwk.",
    "kwwwwwwwwwwwwwk.",
    ".kwwwwwwwwwwwwk.",
    "..kwwwwwwwwwwwk.",
    "...kwwwwwwwwwk..",
    "....kwwwwwwwwk..",
    ".....kwwwwwwk...",
    ".....kkkkkkkk...",
};
// clang-format on

constexpr int SixteenColours = 4;

void paint(PixelSurface& Surface, const Art& Picture, int Left) {
    for (int y = 0; y < static_cast<int>(Picture.size()); ++y)
        for (int x = 0; Picture[y][x]; ++x)
            Surface.Set(Left + x, y, palette.at(Picture[y][x]));
}

int widthOf(const Art& Picture) {
    return static_cast<int>(std::string(Picture[0]).size());
}

// The pictures side by side.
std::unique_ptr<PixelSurface> strip(const std::vector<const Art*>& Pictures) {
    int width = 0;
    for (const Art* picture : Pictures)
        width += widthOf(*picture);
    auto surface = std::make_unique<PixelSurface>(width, static_cast<int>(Pictures[0]->size()));
    int left = 0;
    for (const Art* picture : Pictures) {
        paint(*surface, *picture, left);
        left += widthOf(*picture);
    }
    return surface;
}

bool writeFile(const std::string& Path, const std::vector<Byte>& Bytes) {
    std::ofstream file(Path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
    return !Bytes.empty() && static_cast<bool>(file);
}

bool writeBmp(const std::string& Path, const std::vector<const Art*>& Pictures) {
    return writeFile(Path, EncodeBmp(*strip(Pictures), SixteenColours));
}

void putWord(std::vector<Byte>& Bytes, unsigned Value) {
    Bytes.push_back(static_cast<Byte>(Value & 0xFF));
    Bytes.push_back(static_cast<Byte>((Value >> 8) & 0xFF));
}

void putDword(std::vector<Byte>& Bytes, unsigned Value) {
    putWord(Bytes, Value & 0xFFFF);
    putWord(Bytes, Value >> 16);
}

constexpr int CursorSize = 32;
constexpr unsigned CursorRowBytes = CursorSize / 8;
constexpr unsigned InfoHeaderSize = 40;
constexpr unsigned DirectorySize = 6 + 16;

// A 32 x 32 monochrome cursor file: the picture at the top left, hot spot given.
std::vector<Byte> cursorFile(const Art& Picture, int HotX, int HotY) {
    const unsigned planeBytes = CursorRowBytes * CursorSize;
    const unsigned imageBytes = InfoHeaderSize + 8 + 2 * planeBytes;
    std::vector<Byte> bytes;
    putWord(bytes, 0);
    putWord(bytes, 2);
    putWord(bytes, 1);
    bytes.push_back(CursorSize);
    bytes.push_back(CursorSize);
    bytes.push_back(0);
    bytes.push_back(0);
    putWord(bytes, static_cast<unsigned>(HotX));
    putWord(bytes, static_cast<unsigned>(HotY));
    putDword(bytes, imageBytes);
    putDword(bytes, DirectorySize);
    putDword(bytes, InfoHeaderSize);
    putDword(bytes, CursorSize);
    putDword(bytes, CursorSize * 2);
    putWord(bytes, 1);
    putWord(bytes, 1);
    for (int i = 0; i < 6; ++i)
        putDword(bytes, i == 1 ? 2 * planeBytes : 0);
    putDword(bytes, 0x000000);
    putDword(bytes, 0xFFFFFF);
    // XOR plane (white pixels set), then AND plane (transparent pixels set); rows bottom up.
    for (int plane = 0; plane < 2; ++plane)
        for (int y = CursorSize - 1; y >= 0; --y)
            for (unsigned byte = 0; byte < CursorRowBytes; ++byte) {
                Byte bits = 0;
                for (int bit = 0; bit < 8; ++bit) {
                    const int x = static_cast<int>(byte * 8) + bit;
                    char code = '.';
                    if (y < static_cast<int>(Picture.size()) && x < widthOf(Picture)) code = Picture[y][x];
                    const bool set = plane == 0 ? code == 'w' : code == '.';
                    if (set) bits |= static_cast<Byte>(0x80 >> bit);
                }
                bytes.push_back(bits);
            }
    return bytes;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <resources folder>\n", argv[0]);
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";
    const bool written = writeBmp(folder + "W95_HTB.bmp", {&HorizontalThumb, &HorizontalThumbPressed}) &&
                         writeBmp(folder + "W95_HRL.bmp", {&HorizontalRuler}) &&
                         writeBmp(folder + "W95_VTB.bmp", {&VerticalThumb, &VerticalThumbPressed}) &&
                         writeBmp(folder + "W95_VRL.bmp", {&VerticalRuler}) &&
                         writeBmp(folder + "FEDITBMP.bmp", {&Folder}) &&
                         writeBmp(folder + "RXSPINUP.bmp", {&SpinUp}) &&
                         writeBmp(folder + "RXSPINDOWN.bmp", {&SpinDown}) &&
                         writeFile(folder + "RX_HANDCUR.cur", cursorFile(HandCursor, 5, 0)) &&
                         writeFile(folder + "RX_DRAGCUR.cur", cursorFile(DragCursor, 8, 6));
    if (!written) std::fprintf(stderr, "could not write the pictures into %s\n", argv[1]);
    return written ? 0 : 1;
}
