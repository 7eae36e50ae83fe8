#include "platform/win/Blit.h"

#include "TestCanvas.h"

#include <gtest/gtest.h>

namespace {

const COLORREF white = RGB(255, 255, 255), black = RGB(0, 0, 0), red = RGB(255, 0, 0), blue = RGB(0, 0, 255);
const std::map<COLORREF, char> colourKey{{white, '.'}, {black, '#'}, {red, 'r'}, {blue, 'b'}};

} // namespace

TEST(Blit, MonochromeSourceTakesTheDestinationsTextAndBackgroundColours) {
    TestCanvas mask(4, 1, white, true);
    SetPixel(mask.DC, 1, 0, black);
    SetPixel(mask.DC, 2, 0, black);
    TestCanvas canvas(4, 1);
    SetTextColor(canvas.DC, red);
    SetBkColor(canvas.DC, blue);
    BitBlt(canvas.DC, 0, 0, 4, 1, mask.DC, 0, 0, SRCCOPY);
    EXPECT_EQ(canvas.Picture(colourKey), "brrb\n");
}

TEST(Blit, ColourToMonochromeMakesTheSourceBackgroundWhite) {
    TestCanvas source(4, 1, red);
    SetPixel(source.DC, 0, 0, blue);
    SetPixel(source.DC, 3, 0, RGB(254, 0, 0));
    SetBkColor(source.DC, red);
    TestCanvas mask(4, 1, black, true);
    BitBlt(mask.DC, 0, 0, 4, 1, source.DC, 0, 0, SRCCOPY);
    EXPECT_EQ(mask.Picture(), "#..#\n");
    // Monochrome to monochrome copies the bits as they are.
    TestCanvas copy(4, 1, white, true);
    SetTextColor(copy.DC, red);
    BitBlt(copy.DC, 0, 0, 4, 1, mask.DC, 0, 0, SRCCOPY);
    EXPECT_EQ(copy.Picture(), "#..#\n");
}

TEST(Blit, BrushThroughAMonochromeMaskPaintsOnlyTheMasksWhitePixels) {
    // The embossing step of disabled glyphs: mask from the glyph, then 0xE20746 with a brush.
    TestCanvas glyph(4, 2, white);
    SetPixel(glyph.DC, 1, 0, black);
    SetPixel(glyph.DC, 2, 1, black);
    SetBkColor(glyph.DC, white);
    TestCanvas mask(4, 2, white, true);
    BitBlt(mask.DC, 0, 0, 4, 2, glyph.DC, 0, 0, SRCCOPY);  // glyph ink black, the rest white
    BitBlt(mask.DC, 0, 0, 4, 2, nullptr, 0, 0, DSTINVERT); // ink white
    TestCanvas canvas(4, 2, blue);
    SetTextColor(canvas.DC, black);
    SetBkColor(canvas.DC, white);
    Selected brush(canvas.DC, CreateSolidBrush(red));
    BitBlt(canvas.DC, 0, 0, 4, 2, mask.DC, 0, 0, 0x00E20746);
    EXPECT_EQ(canvas.Picture(colourKey), Rows({"brbb", "bbrb"}));
}

TEST(Blit, PatternsFollowTheBrushOriginAndTheBackgroundMode) {
    // The framework's dither: an 8 x 8 checkerboard of two colours as a pattern brush.
    TestCanvas checker(8, 8, red);
    for (int y = 0; y < 8; ++y)
        for (int x = (y % 2); x < 8; x += 2)
            SetPixel(checker.DC, x, y, blue);
    TestCanvas canvas(4, 2);
    HBRUSH dither = CreatePatternBrush(checker.Bitmap);
    {
        Selected brush(canvas.DC, dither);
        PatBlt(canvas.DC, 0, 0, 4, 1, PATCOPY);
        SetBrushOrgEx(canvas.DC, 1, 1, nullptr);
        PatBlt(canvas.DC, 0, 1, 4, 1, PATCOPY);
    }
    EXPECT_EQ(canvas.Picture(colourKey), Rows({"brbr", "rbrb"}));

    TestCanvas hatched(8, 2, blue);
    Selected hatch(hatched.DC, CreateHatchBrush(HS_VERTICAL, black));
    SetBkColor(hatched.DC, white);
    PatBlt(hatched.DC, 0, 0, 8, 1, PATCOPY);
    SetBkMode(hatched.DC, TRANSPARENT);
    PatBlt(hatched.DC, 0, 1, 8, 1, PATCOPY);
    EXPECT_EQ(hatched.Picture(colourKey), Rows({".......#", "bbbbbbb#"}));
}

TEST(Blit, StretchModesMergeShrunkenPixels) {
    TestCanvas source(4, 1, white);
    SetPixel(source.DC, 0, 0, black);
    SetPixel(source.DC, 3, 0, black);
    struct Case {
        int mode;
        std::string picture;
    };
    const Case cases[] = {{BLACKONWHITE, "##\n"}, {WHITEONBLACK, "..\n"}, {COLORONCOLOR, "#.\n"}};
    for (const Case& c : cases) {
        TestCanvas canvas(2, 1, red);
        SetStretchBltMode(canvas.DC, c.mode);
        StretchBlt(canvas.DC, 0, 0, 2, 1, source.DC, 0, 0, 4, 1, SRCCOPY);
        EXPECT_EQ(canvas.Picture(colourKey), c.picture) << "mode " << c.mode;
    }
    TestCanvas halftone(2, 1, red);
    SetStretchBltMode(halftone.DC, HALFTONE);
    StretchBlt(halftone.DC, 0, 0, 2, 1, source.DC, 0, 0, 4, 1, SRCCOPY);
    EXPECT_EQ(halftone.At(0, 0), RGB(127, 127, 127));
}

TEST(Blit, StretchEnlargesAndMirrors) {
    TestCanvas source(3, 1, white);
    SetPixel(source.DC, 0, 0, red);
    SetPixel(source.DC, 2, 0, blue);
    TestCanvas canvas(6, 2);
    StretchBlt(canvas.DC, 0, 0, 6, 1, source.DC, 0, 0, 3, 1, SRCCOPY);
    // A negative width counts back from the origin pixel: the mirror image.
    StretchBlt(canvas.DC, 5, 1, -6, 1, source.DC, 0, 0, 3, 1, SRCCOPY);
    EXPECT_EQ(canvas.Picture(colourKey), Rows({"rr..bb", "bb..rr"}));
}

TEST(Blit, CopiesWithinOneSurfaceAndOnlyWhatTheSourceHolds) {
    TestCanvas canvas(3, 4);
    SetPixel(canvas.DC, 0, 0, red);
    SetPixel(canvas.DC, 1, 1, blue);
    // Scrolling down by one: an overlapping copy reads the pixels as they were.
    BitBlt(canvas.DC, 0, 1, 3, 3, canvas.DC, 0, 0, SRCCOPY);
    EXPECT_EQ(canvas.Picture(colourKey), Rows({"r..", "r..", ".b.", "..."}));

    TestCanvas small(2, 2, black);
    TestCanvas target(4, 4, red);
    BitBlt(target.DC, 0, 0, 4, 4, small.DC, -1, -1, SRCCOPY);
    EXPECT_EQ(target.Picture(colourKey), Rows({"rrrr", "r##r", "r##r", "rrrr"}));
}
