#include "platform/win/RasterOps.h"

#include "TestCanvas.h"
#include "platform/win/Blit.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace {

// The result bit for one bit of pattern, source and destination, straight from the table.
Pixel bitwiseReference(RopTable table, Pixel p, Pixel s, Pixel d) {
    Pixel result = 0;
    for (int bit = 0; bit < 24; ++bit) {
        int index = (((p >> bit) & 1) << 2) | (((s >> bit) & 1) << 1) | ((d >> bit) & 1);
        result |= static_cast<Pixel>((table >> index) & 1) << bit;
    }
    return result;
}

} // namespace

TEST(RasterOps, EveryTableAgreesWithItsTruthTableOnEveryPath) {
    std::mt19937 random(7);
    std::uniform_int_distribution<Pixel> colour(0, PixelColourMask);
    for (int table = 0; table < 256; ++table) {
        Pixel pattern[16], source[16], destination[16], expected[16];
        for (int i = 0; i < 16; ++i) {
            pattern[i] = colour(random);
            source[i] = colour(random);
            destination[i] = colour(random);
            expected[i] =
                bitwiseReference(static_cast<RopTable>(table), pattern[i], source[i], destination[i]);
            ASSERT_EQ(ApplyRop(static_cast<RopTable>(table), pattern[i], source[i], destination[i]),
                      expected[i]);
        }
        ApplyRopToRow(static_cast<RopTable>(table), destination, source, pattern, 16);
        for (int i = 0; i < 16; ++i)
            ASSERT_EQ(destination[i], expected[i]) << "table " << table;
    }
}

TEST(RasterOps, KnowsWhichOperandsATableUses) {
    EXPECT_TRUE(RopUsesSource(RopTableOf(SRCCOPY)));
    EXPECT_FALSE(RopUsesPattern(RopTableOf(SRCCOPY)));
    EXPECT_FALSE(RopUsesDestination(RopTableOf(SRCCOPY)));
    EXPECT_FALSE(RopUsesSource(RopTableOf(PATINVERT)));
    EXPECT_TRUE(RopUsesDestination(RopTableOf(PATINVERT)));
    EXPECT_TRUE(RopUsesPattern(RopTableOf(0x00E20746)));
    EXPECT_TRUE(RopUsesSource(RopTableOf(0x00E20746)));
    EXPECT_FALSE(RopUsesSource(RopTableOf(BLACKNESS)));
}

// Every mix mode, applied by a one-pixel line of pen colour P over destination D.
TEST(RasterOps, EveryMixModeCombinesPenAndDestination) {
    const COLORREF pen = RGB(0xF0, 0x3C, 0x55), destination = RGB(0xCC, 0x0F, 0xA5);
    const Pixel p = PixelFromColorRef(pen), d = PixelFromColorRef(destination);
    struct Case {
        int mode;
        std::function<Pixel(Pixel, Pixel)> expected;
    };
    const Case cases[] = {
        {R2_BLACK, [](Pixel, Pixel) { return Pixel{0}; }},
        {R2_NOTMERGEPEN, [](Pixel p, Pixel d) { return ~(p | d); }},
        {R2_MASKNOTPEN, [](Pixel p, Pixel d) { return ~p & d; }},
        {R2_NOTCOPYPEN, [](Pixel p, Pixel) { return ~p; }},
        {R2_MASKPENNOT, [](Pixel p, Pixel d) { return p & ~d; }},
        {R2_NOT, [](Pixel, Pixel d) { return ~d; }},
        {R2_XORPEN, [](Pixel p, Pixel d) { return p ^ d; }},
        {R2_NOTMASKPEN, [](Pixel p, Pixel d) { return ~(p & d); }},
        {R2_MASKPEN, [](Pixel p, Pixel d) { return p & d; }},
        {R2_NOTXORPEN, [](Pixel p, Pixel d) { return ~(p ^ d); }},
        {R2_NOP, [](Pixel, Pixel d) { return d; }},
        {R2_MERGENOTPEN, [](Pixel p, Pixel d) { return ~p | d; }},
        {R2_COPYPEN, [](Pixel p, Pixel) { return p; }},
        {R2_MERGEPENNOT, [](Pixel p, Pixel d) { return p | ~d; }},
        {R2_MERGEPEN, [](Pixel p, Pixel d) { return p | d; }},
        {R2_WHITE, [](Pixel, Pixel) { return PixelWhite; }},
    };
    for (const Case& c : cases) {
        TestCanvas canvas(3, 1, destination);
        Selected selectedPen(canvas.DC, CreatePen(PS_SOLID, 1, pen));
        EXPECT_EQ(SetROP2(canvas.DC, c.mode), R2_COPYPEN);
        MoveToEx(canvas.DC, 0, 0, nullptr);
        LineTo(canvas.DC, 2, 0);
        EXPECT_EQ(canvas.At(0, 0), ColorRefFromPixel(c.expected(p, d) & PixelColourMask))
            << "mode " << c.mode;
        EXPECT_EQ(canvas.At(2, 0), destination) << "the end point stays untouched, mode " << c.mode;
    }
}

// Ternary operations through BitBlt with a pattern brush, a source and a destination.
TEST(RasterOps, BitBltAppliesTernaryOperations) {
    const COLORREF pattern = RGB(0xF0, 0x0F, 0x33), source = RGB(0xCC, 0x55, 0x0F),
                   destination = RGB(0xAA, 0x3C, 0x96);
    const Pixel p = PixelFromColorRef(pattern), s = PixelFromColorRef(source),
                d = PixelFromColorRef(destination);
    struct Case {
        DWORD rop;
        Pixel expected;
    };
    const Case cases[] = {
        {SRCCOPY, s},
        {SRCPAINT, s | d},
        {SRCAND, s & d},
        {SRCINVERT, s ^ d},
        {SRCERASE, s & ~d},
        {NOTSRCCOPY, ~s},
        {NOTSRCERASE, ~(s | d)},
        {MERGECOPY, p & s},
        {MERGEPAINT, ~s | d},
        {PATCOPY, p},
        {PATPAINT, p | ~s | d},
        {PATINVERT, p ^ d},
        {DSTINVERT, ~d},
        {BLACKNESS, 0},
        {WHITENESS, PixelWhite},
        {0x00E20746, d ^ (s & (p ^ d))}, // DSPDxax: the brush where the source is white
        {0x00B8074A, p ^ (s & (d ^ p))}, // PSDPxax: the destination where the source is white
        {0x00CA0749, d ^ (p & (s ^ d))}, // DPSDxax: the source where the brush is white
    };
    TestCanvas sourceCanvas(2, 1, source);
    for (const Case& c : cases) {
        TestCanvas canvas(2, 1, destination);
        Selected brush(canvas.DC, CreateSolidBrush(pattern));
        ASSERT_TRUE(BitBlt(canvas.DC, 0, 0, 2, 1, sourceCanvas.DC, 0, 0, c.rop));
        EXPECT_EQ(canvas.At(1, 0), ColorRefFromPixel(c.expected & PixelColourMask)) << std::hex << c.rop;
    }
}
