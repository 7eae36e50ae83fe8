// The drawing routines by pixels: bevelled boxes, styled text, bitmaps in
// their looks, and the device context left as it was found.
#include "gl/gl3DCol.h"
#include "gl/glCommCl.h"
#include "gl/glUtils.h"
#include "gl/tests/glDrawingSupport.h"
#include "platform/win/SysColors.h"
#include "platform/win/TextOut.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

constexpr TColor Marker = 0x010203;
constexpr TColor Dark = RGB(0, 0, 128);
constexpr TColor Light = RGB(0, 255, 0);
constexpr TColor Shade = RGB(128, 128, 0);
constexpr TColor Fill = RGB(255, 0, 0);

// Bevels in three colours that tell them apart: the global 3D colour set.
class BevelTest : public ::testing::Test {
protected:
    Tgl3DLocalColors colors{nullptr};
    void SetUp() override {
        colors.SetDkShadow(Dark);
        colors.SetHighlight(Light);
        colors.SetShadow(Shade);
        colors.MakeGlobal();
    }
    void TearDown() override { colors.MakeLocal(); }
    const std::map<TColor, char> legend{{Marker, '.'}, {Dark, 'D'}, {Light, 'H'}, {Shade, 'S'}, {Fill, 'F'}};
};

TEST_F(BevelTest, TheWorkedCaseFramesAndFillsOnePixelIn) {
    Surface target(101, 17, Marker);
    TRect inside = DrawBoxEx(target.DC(), {0, 6, 99, 15}, AllSides, bvSpace, bvNone, false, Fill, false);
    EXPECT_EQ(inside, (TRect{1, 7, 98, 14}));
    EXPECT_EQ(target.Pixel(0, 6), Shade);
    EXPECT_EQ(target.Pixel(99, 14), Shade);
    EXPECT_EQ(target.Pixel(99, 15), Shade);
    EXPECT_EQ(target.Pixel(100, 15), Marker);
    EXPECT_EQ(target.Pixel(0, 15), Shade);
    EXPECT_EQ(target.Pixel(1, 7), Fill);
    EXPECT_EQ(target.Pixel(98, 14), Fill);
    EXPECT_EQ(target.Pixel(99, 7), Shade);
    Surface transparent(101, 17, Marker);
    DrawBoxEx(transparent.DC(), {0, 6, 99, 15}, AllSides, bvSpace, bvNone, false, Fill, true);
    EXPECT_EQ(transparent.Pixel(1, 7), Marker);
}

TEST_F(BevelTest, EveryCutAndSideDrawsItsLines) {
    const struct {
        TBevelCut cut;
        bool bold;
        TglSides sides;
        TRect inside;
        const char* picture;
    } cases[] = {
        {bvLowered, false, AllSides, {2, 2, 5, 5}, ".......|.SSSSSH|.SFFFFH|.SFFFFH|.SFFFFH|.SFFFFH|.HHHHHH"},
        {bvLowered, true, AllSides, {3, 3, 5, 5}, ".......|.DDDDDH|.DSSSSH|.DSFFFH|.DSFFFH|.DSFFFH|.HHHHHH"},
        // Without a bottom side the second left line reaches one row further.
        {bvLowered, true, {fsdLeft}, {3, 1, 6, 6}, ".......|.D.....|.DS....|.DS....|.DS....|.DS....|..S...."},
        {bvRaised, false, AllSides, {2, 2, 5, 5}, ".......|.HHHHHS|.HFFFFS|.HFFFFS|.HFFFFS|.HFFFFS|.SSSSSS"},
        {bvRaised, true, AllSides, {2, 2, 4, 4}, ".......|.HHHHHD|.HFFFSD|.HFFFSD|.HFFFSD|.HSSSSD|.DDDDDD"},
        // Without a left side the second bottom line starts at the left edge.
        {bvRaised,
         true,
         {fsdBottom},
         {1, 1, 6, 4},
         ".......|.......|.......|.......|.......|.SSSSS.|.DDDDD."},
        {bvSpace, false, AllSides, {2, 2, 5, 5}, ".......|.SSSSSS|.SFFFFS|.SFFFFS|.SFFFFS|.SFFFFS|.SSSSSS"},
        {bvSpace,
         true,
         {fsdTop, fsdRight},
         {1, 2, 5, 6},
         ".......|.SSSSSS|......S|......S|......S|......S|......."},
    };
    for (const auto& each : cases) {
        Surface target(7, 7, Marker);
        TRect inside = DrawBoxEx(target.DC(), {1, 1, 6, 6}, each.sides, each.cut, bvNone, each.bold, Fill,
                                 each.sides != AllSides);
        EXPECT_EQ(inside, each.inside) << each.cut << " bold " << each.bold;
        EXPECT_EQ(target.Picture(legend), each.picture) << each.cut << " bold " << each.bold;
    }
}

TEST_F(BevelTest, TheOuterBevelComesFirst) {
    Surface target(8, 8, Marker);
    TRect inside = DrawBoxEx(target.DC(), {0, 0, 7, 7}, AllSides, bvLowered, bvRaised, false, Fill, false);
    EXPECT_EQ(inside, (TRect{2, 2, 5, 5}));
    EXPECT_EQ(target.Picture(legend),
              "HHHHHHHS|HSSSSSHS|HSFFFFHS|HSFFFFHS|HSFFFFHS|HSFFFFHS|HHHHHHHS|SSSSSSSS");
}

TEST(Bevels, WithoutAGlobalSetTheSystemColoursDraw) {
    Surface target(4, 4, Marker);
    DrawBoxEx(target.DC(), {0, 0, 3, 3}, AllSides, bvRaised, bvNone, false, Fill, true);
    EXPECT_EQ(target.Pixel(0, 0), static_cast<TColor>(GetSysColor(COLOR_BTNHIGHLIGHT)));
    EXPECT_EQ(target.Pixel(3, 3), static_cast<TColor>(GetSysColor(COLOR_BTNSHADOW)));
}

// ---- Styled text ----

// One copy of the text at an offset in a colour, as the styles are made of.
struct Copy {
    Integer dx;
    Integer dy;
    TColor color;
};

class StyledTextTest : public ::testing::Test {
protected:
    TFont font;
    TIllumination illumination;
    const TRect clip{0, 0, 40, 30};
    static constexpr TColor Text = RGB(200, 0, 0);
    static constexpr TColor Outline = RGB(0, 200, 0);
    static constexpr TColor High = RGB(250, 250, 0);
    static constexpr TColor Low = RGB(0, 0, 200);

    void SetUp() override { font.SetHeight(-16); }

    void drawStyled(Surface& Target, TglTextStyle Style, bool Delineate, bool EffectsOff, TFont* WithFont) {
        ExtTextOutExt(Target.DC(), 10, 5, clip, "Ab", Style, Delineate, EffectsOff, Text, Outline, High, Low,
                      &illumination, nullptr, WithFont);
    }
    void drawCopies(Surface& Target, const std::vector<Copy>& Copies) {
        HGDIOBJ previous = SelectObject(Target.DC(), font.Handle());
        SetBkMode(Target.DC(), TRANSPARENT);
        RECT area{clip.Left, clip.Top, clip.Right, clip.Bottom};
        for (const Copy& copy : Copies) {
            SetTextColor(Target.DC(), static_cast<COLORREF>(copy.color));
            ExtTextOutA(Target.DC(), 10 + copy.dx, 5 + copy.dy, ETO_CLIPPED, &area, "Ab", 2, nullptr);
        }
        SelectObject(Target.DC(), previous);
    }
};

TEST_F(StyledTextTest, EachStyleDrawsItsCopiesAtItsOffsets) {
    illumination.SetShadowDepth(2);
    const std::vector<Copy> outlineAtOne{{1, 1, Outline}, {3, 3, Outline}, {1, 3, Outline}, {3, 1, Outline}};
    auto with = [](std::vector<Copy> Copies, std::vector<Copy> More) {
        Copies.insert(Copies.end(), More.begin(), More.end());
        return Copies;
    };
    const struct {
        TglTextStyle style;
        bool delineate;
        bool effectsOff;
        std::vector<Copy> copies;
    } cases[] = {
        {fstNone, false, false, {{0, 0, Text}}},
        {fstRaised, false, false, {{0, 0, High}, {2, 2, Low}, {1, 1, Text}}},
        {fstRaised, false, true, {{1, 1, Text}}},
        {fstRaised, true, false, with({{0, 0, High}, {4, 4, Low}}, with(outlineAtOne, {{2, 2, Text}}))},
        {fstRecessed, false, false, {{0, 0, Low}, {2, 2, High}, {1, 1, Text}}},
        {fstPushed, false, false, {{1, 1, High}, {0, 0, Low}}},
        {fstPushed, true, true, {{1, 1, High}, {0, 0, Low}}},
        {fstShadow, false, false, {{2, 2, Low}, {0, 0, Text}}},
        {fstShadow, true, false,
         with({{3, 3, Low}},
              {{0, 0, Outline}, {2, 2, Outline}, {0, 2, Outline}, {2, 0, Outline}, {1, 1, Text}})},
        {fstVolumetric, false, false, {{1, 1, Low}, {2, 2, Low}, {0, 0, Text}}},
        {fstVolumetric, false, true, {{0, 0, Text}}},
    };
    for (const auto& each : cases) {
        Surface drawn(40, 30, Marker);
        Surface expected(40, 30, Marker);
        drawStyled(drawn, each.style, each.delineate, each.effectsOff, &font);
        drawCopies(expected, each.copies);
        EXPECT_TRUE(drawn.SameAs(expected))
            << each.style << " delineate " << each.delineate << " effects off " << each.effectsOff;
    }
}

TEST_F(StyledTextTest, NoFontDrawsNothingAndTheContextIsLeftAsFound) {
    Surface target(40, 30, Marker);
    drawStyled(target, fstRaised, false, false, nullptr);
    EXPECT_EQ(target.Picture({{Marker, '.'}}).find_first_not_of(".|"), std::string::npos);
    HDC dc = target.DC();
    TFont own;
    HGDIOBJ previousFont = SelectObject(dc, own.Handle());
    HPEN pen = CreatePen(PS_DOT, 1, RGB(1, 1, 1));
    HGDIOBJ previousPen = SelectObject(dc, pen);
    SetBkMode(dc, OPAQUE);
    SetMapMode(dc, MM_TEXT);
    drawStyled(target, fstShadow, true, false, &font);
    DrawBoxEx(dc, {0, 0, 20, 20}, AllSides, bvLowered, bvRaised, true, Fill, false);
    Tgl3DLocalColors unused(nullptr);
    TBitmap glyph;
    glyph.SetSize(4, 4);
    CreateBitmapExt(dc, &glyph, {0, 0, 20, 20}, 0, 0, fwoTile, fdsDisabled, true, clBlack, 0);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), own.Handle());
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);
    EXPECT_EQ(GetBkMode(dc), OPAQUE);
    EXPECT_EQ(GetMapMode(dc), MM_TEXT);
    SelectObject(dc, previousPen);
    SelectObject(dc, previousFont);
    DeleteObject(pen);
}

// ---- Bitmaps ----

// A 10 x 10 bitmap: a blue square with a one-pixel white border.
std::unique_ptr<TBitmap> framedSquare() {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetSize(10, 10);
    bitmap->Canvas()->Brush()->SetColor(clWhite);
    bitmap->Canvas()->FillRect({0, 0, 10, 10});
    bitmap->Canvas()->Brush()->SetColor(RGB(0, 0, 255));
    bitmap->Canvas()->FillRect({1, 1, 9, 9});
    return bitmap;
}

TEST(BitmapLooks, TilingCutsTheLastColumnAndRowToTheRectangle) {
    auto bitmap = framedSquare();
    Surface target(30, 20, Marker);
    CreateBitmapExt(target.DC(), bitmap.get(), {0, 0, 25, 15}, 0, 0, fwoTile, fdsDefault, false, 0, 0);
    // Tiles start at columns 0, 10, 20 and rows 0, 10: each starts with its white border.
    for (Integer x : {0, 10, 20})
        for (Integer y : {0, 10})
            EXPECT_EQ(target.Pixel(x, y), RGB(255, 255, 255)) << x << "," << y;
    EXPECT_EQ(target.Pixel(24, 14), RGB(0, 0, 255));
    EXPECT_EQ(target.Pixel(25, 14), Marker);
    EXPECT_EQ(target.Pixel(24, 15), Marker);
}

TEST(BitmapLooks, TransparentPixelsLeaveTheBackground) {
    auto bitmap = framedSquare();
    Surface target(12, 12, Marker);
    CreateBitmapExt(target.DC(), bitmap.get(), {1, 1, 11, 11}, 0, 0, fwoNone, fdsDefault, true, clWhite, 0);
    EXPECT_EQ(target.Pixel(1, 1), Marker);
    EXPECT_EQ(target.Pixel(2, 2), RGB(0, 0, 255));
    EXPECT_EQ(target.Pixel(10, 10), Marker);
}

TEST(BitmapLooks, StretchingFillsTheRectangleOrKeepsTheProportions) {
    auto bitmap = framedSquare();
    Surface stretched(40, 30, Marker);
    CreateBitmapExt(stretched.DC(), bitmap.get(), {0, 0, 40, 20}, 0, 0, fwoStretch, fdsDefault, false, 0, 0);
    EXPECT_EQ(stretched.Pixel(39, 19), RGB(255, 255, 255));
    EXPECT_EQ(stretched.Pixel(20, 10), RGB(0, 0, 255));
    EXPECT_EQ(stretched.Pixel(20, 20), Marker);
    Surface proportional(40, 30, Marker);
    CreateBitmapExt(proportional.DC(), bitmap.get(), {0, 0, 40, 20}, 0, 0, fwoPropStretch, fdsDefault, false,
                    0, 0);
    EXPECT_EQ(proportional.Pixel(19, 19), RGB(255, 255, 255));
    EXPECT_EQ(proportional.Pixel(20, 10), Marker);
}

TEST(BitmapLooks, TheDisabledLookEmbossesTheMarkedPixels) {
    TBitmap glyph;
    glyph.SetSize(6, 6);
    glyph.Canvas()->Brush()->SetColor(RGB(0, 128, 128));
    glyph.Canvas()->FillRect({0, 0, 6, 6});
    glyph.Canvas()->Brush()->SetColor(clBlack);
    glyph.Canvas()->FillRect({2, 2, 4, 4});
    Surface target(8, 8, Marker);
    CreateBitmapExt(target.DC(), &glyph, {0, 0, 8, 8}, 0, 0, fwoNone, fdsDisabled, true, RGB(0, 128, 128), 0);
    const TColor light = static_cast<TColor>(GetSysColor(COLOR_BTNHIGHLIGHT));
    const TColor shadow = static_cast<TColor>(GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(target.Picture({{Marker, '.'}, {light, 'H'}, {shadow, 'S'}}),
              "........|........|..SS....|..SSH...|...HH...|........|........|........");
}

TEST(BitmapLooks, TheDelicateLookSoftensWhiteAndGray) {
    TBitmap glyph;
    glyph.SetSize(2, 1);
    glyph.Canvas()->SetPixels(0, 0, clWhite);
    glyph.Canvas()->SetPixels(1, 0, clGray);
    Surface target(2, 1, Marker);
    CreateBitmapExt(target.DC(), &glyph, {0, 0, 2, 1}, 0, 0, fwoNone, fdsDelicate, false, 0, 0);
    EXPECT_EQ(target.Pixel(0, 0), static_cast<TColor>(GetSysColor(COLOR_BTNHIGHLIGHT)));
    EXPECT_EQ(target.Pixel(1, 0), static_cast<TColor>(GetSysColor(COLOR_BTNSHADOW)));
}

TEST(BitmapLooks, AnEmptyBitmapDrawsNothingWhateverTheOption) {
    for (TglWallpaperOption option : {fwoNone, fwoStretch, fwoPropStretch, fwoTile})
        for (auto [width, height] : {std::pair{0, 0}, {0, 5}, {5, 0}}) {
            TBitmap empty;
            empty.SetSize(width, height);
            Surface target(4, 4, Marker);
            CreateBitmapExt(target.DC(), &empty, {0, 0, 4, 4}, 0, 0, option, fdsDefault, true, 0, 0);
            EXPECT_EQ(target.Picture({{Marker, '.'}}), "....|....|....|....");
        }
}

TEST(BitmapLooks, ChangeBitmapColorReplacesExactlyOneColour) {
    auto bitmap = framedSquare();
    ChangeBitmapColor(bitmap.get(), clWhite, clRed);
    EXPECT_EQ(bitmap->Canvas()->Pixels(0, 0), clRed);
    EXPECT_EQ(bitmap->Canvas()->Pixels(5, 5), RGB(0, 0, 255));
}

} // namespace
