// The style objects: their setters and notifications, and the gradient's
// bands, text and colours by pixels.
#include "gl/glCommCl.h"
#include "gl/glUtils.h"
#include "gl/tests/glDrawingSupport.h"
#include "platform/win/SysColors.h"
#include "platform/win/TextOut.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr TColor Marker = 0x010203;

struct Counter : TObject {
    int first = 0;
    int second = 0;
    void First(TObject*) { ++first; }
    void Second(TObject*) { ++second; }
};

TEST(StyleObjects, ColourShiftsAndClamps) {
    const TColor face = static_cast<TColor>(GetSysColor(COLOR_BTNFACE));
    const struct {
        TColor result;
        TColor expected;
    } cases[] = {
        {IncColor(clBtnFace, 60),
         static_cast<TColor>(RGB(std::min(GetRValue(face) + 60, 255), std::min(GetGValue(face) + 60, 255),
                                 std::min(GetBValue(face) + 60, 255)))},
        {DecColor(RGB(30, 100, 240), 60), RGB(0, 40, 180)},
        {IncColor(RGB(30, 100, 240), 60), RGB(90, 160, 255)},
        {IncColor(RGB(1, 2, 3), 0), RGB(1, 2, 3)},
        {DecColor(RGB(255, 255, 255), 255), RGB(0, 0, 0)},
    };
    for (const auto& each : cases)
        EXPECT_EQ(each.result, each.expected);
}

TEST(StyleObjects, SettersClampCompareAndNotify) {
    Counter counter;
    TGradient gradient;
    gradient.OnChanged = TNotifyEvent(&counter, &Counter::First);
    gradient.SetSteps(0);
    EXPECT_EQ(gradient.Steps(), 1);
    gradient.SetSteps(1000);
    EXPECT_EQ(gradient.Steps(), 255);
    gradient.SetSteps(255);
    EXPECT_EQ(counter.first, 2);
    // An inactive gradient's direction changes silently; an active one's does not.
    gradient.SetOrientation(fgdVertical);
    EXPECT_EQ(counter.first, 2);
    gradient.SetActive(true);
    gradient.SetOrientation(fgdHorizontal);
    EXPECT_EQ(counter.first, 4);
    // The brush style notifies even when it stays the same.
    gradient.SetBrushStyle(bsSolid);
    EXPECT_EQ(counter.first, 5);

    TIllumination illumination;
    illumination.OnShadowChanged = TNotifyEvent(&counter, &Counter::Second);
    illumination.OnChanged = TNotifyEvent(&counter, &Counter::First);
    illumination.SetShadowDepth(-3);
    EXPECT_EQ(illumination.ShadowDepth(), 0);
    illumination.SetHorizontal(fhaCenter);
    EXPECT_EQ(counter.second, 1);
    EXPECT_EQ(counter.first, 6);
}

TEST(StyleObjects, GroupBoxColoursNotifyThroughTheirOwnClassesNotification) {
    using Setter = std::function<void(TglGrBoxColors&)>;
    const struct {
        const char* name;
        Setter set;
        int first;
        int second;
    } cases[] = {
        {"Text", [](TglGrBoxColors& c) { c.SetText(clRed); }, 1, 0},
        {"Delineate", [](TglGrBoxColors& c) { c.SetDelineate(clRed); }, 1, 0},
        {"Shadow", [](TglGrBoxColors& c) { c.SetShadow(clRed); }, 1, 0},
        {"Highlight", [](TglGrBoxColors& c) { c.SetHighlight(clRed); }, 1, 0},
        {"Text unchanged", [](TglGrBoxColors& c) { c.SetText(0); }, 0, 0},
        {"TextActive", [](TglGrBoxColors& c) { c.SetTextActive(clRed); }, 0, 1},
        {"DelineateActive", [](TglGrBoxColors& c) { c.SetDelineateActive(clRed); }, 0, 1},
        {"TextActive unchanged", [](TglGrBoxColors& c) { c.SetTextActive(0); }, 0, 0},
        {"Caption unchanged", [](TglGrBoxColors& c) { c.SetCaption(clBtnFace); }, 0, 1},
        {"CaptionActive unchanged", [](TglGrBoxColors& c) { c.SetCaptionActive(clBtnFace); }, 0, 1},
        {"Client unchanged", [](TglGrBoxColors& c) { c.SetClient(clBtnFace); }, 0, 1},
        {"ClientActive unchanged", [](TglGrBoxColors& c) { c.SetClientActive(clBtnFace); }, 0, 1},
    };
    for (const auto& each : cases) {
        Counter counter;
        TglGrBoxColors colors;
        colors.OnChanged = TNotifyEvent(&counter, &Counter::First);
        colors.OnLabelChanged = TNotifyEvent(&counter, &Counter::Second);
        each.set(colors);
        EXPECT_EQ(counter.first, each.first) << each.name;
        EXPECT_EQ(counter.second, each.second) << each.name;
    }
}

TEST(StyleObjects, AutomaticShadowAndHighlightAreWrittenSilently) {
    Counter counter;
    TglLabelColors colors;
    colors.SetAutoShadow(true);
    colors.OnChanged = TNotifyEvent(&counter, &Counter::First);
    colors.OnLabelChanged = TNotifyEvent(&counter, &Counter::Second);
    CalcShadowAndHighlightColors(RGB(200, 200, 200), &colors);
    EXPECT_EQ(colors.Shadow(), RGB(140, 140, 140));
    EXPECT_EQ(colors.Highlight(), clBtnHighlight);
    colors.SetAutoHighlight(true);
    colors.SetAutoShadow(false);
    CalcShadowAndHighlightColors(RGB(240, 240, 240), &colors);
    EXPECT_EQ(colors.Highlight(), RGB(255, 255, 255));
    EXPECT_EQ(colors.Shadow(), RGB(140, 140, 140));
    EXPECT_EQ(counter.first, 0);
}

TEST(StyleObjects, BevelBordersCountCutsPerSide) {
    TglBevel bevel;
    EXPECT_EQ(bevel.BordersWidth(), 0);
    bevel.SetInner(bvRaised);
    bevel.SetOuter(bvLowered);
    bevel.SetBold(true);
    EXPECT_EQ(bevel.BordersWidth(), 4);
    bevel.SetSides({fsdLeft, fsdTop});
    EXPECT_EQ(bevel.BordersWidth(), 2);
    EXPECT_EQ(bevel.BordersHeight(), 2);
}

TEST(StyleObjects, ItemStylesPassTheirNotificationToTheirParts) {
    Counter counter;
    TglSpeedButtonStyle style;
    style.SetOnChanged(TNotifyEvent(&counter, &Counter::First));
    style.Bevel()->SetBold(true);
    style.Gradient()->SetActive(true);
    style.TextGradient()->SetActive(true);
    EXPECT_EQ(counter.first, 2);
    style.SetColor(RGB(100, 100, 100));
    EXPECT_EQ(style.HighlightColor(), RGB(160, 160, 160));
    EXPECT_EQ(style.ShadowColor(), RGB(40, 40, 40));
}

// ---- Gradients by pixels ----

class GradientPixels : public ::testing::Test {
protected:
    TGradient gradient;
    void SetUp() override {
        gradient.SetActive(true);
        gradient.SetFromColor(RGB(0, 0, 0));
        gradient.SetToColor(RGB(0, 0, 90));
    }
    // The colour of each row in the first column.
    std::vector<TColor> rows(Surface& Target) {
        std::vector<TColor> colors;
        for (Integer y = 0; y < Target.Height(); ++y)
            colors.push_back(Target.Pixel(0, y));
        return colors;
    }
};

TEST_F(GradientPixels, TenPixelsHighMakeTenBandsFromFirstToLastColour) {
    Surface target(4, 10, Marker);
    gradient.Draw(target.DC(), {0, 0, 4, 10}, PS_SOLID, 1);
    std::vector<TColor> expected;
    for (int band = 0; band < 10; ++band)
        expected.push_back(RGB(0, 0, band * 10));
    EXPECT_EQ(rows(target), expected);
}

TEST_F(GradientPixels, OnePixelHighIsTheFirstColour) {
    Surface target(4, 1, Marker);
    gradient.Draw(target.DC(), {0, 0, 4, 1}, PS_SOLID, 1);
    EXPECT_EQ(rows(target), std::vector<TColor>{RGB(0, 0, 0)});
}

TEST_F(GradientPixels, HalfFillingStopsAfterTheBandPastHalfway) {
    Surface target(4, 10, Marker);
    gradient.SetPercentFilling(50);
    for (bool buffered : {false, true}) {
        target.Fill({0, 0, 4, 10}, Marker);
        gradient.SetBufferedDraw(buffered);
        gradient.Draw(target.DC(), {0, 0, 4, 10}, PS_SOLID, 1);
        std::vector<TColor> expected;
        for (int band = 0; band < 10; ++band)
            expected.push_back(band <= 6 ? RGB(0, 0, band * 10) : Marker);
        EXPECT_EQ(rows(target), expected) << "buffered " << buffered;
    }
}

TEST_F(GradientPixels, HorizontalConvergenceMeetsInTheMiddle) {
    Surface target(4, 9, Marker);
    gradient.SetOrientation(fgdHorzConvergent);
    gradient.Draw(target.DC(), {0, 0, 4, 9}, PS_SOLID, 1);
    const std::vector<TColor> expected{RGB(0, 0, 0),  RGB(0, 0, 23), RGB(0, 0, 45),
                                       RGB(0, 0, 68), RGB(0, 0, 90), RGB(0, 0, 67),
                                       RGB(0, 0, 45), RGB(0, 0, 22), RGB(0, 0, 0)};
    // MulDiv rounds halves away from zero, so the way back is not quite the mirror.
    EXPECT_EQ(rows(target), expected);
    EXPECT_EQ(gradient.Orientation(), fgdHorzConvergent);
}

TEST_F(GradientPixels, NothingIsDrawnWithOneStepInactiveOrSwitchedOff) {
    Surface target(4, 4, Marker);
    gradient.SetSteps(1);
    gradient.Draw(target.DC(), {0, 0, 4, 4}, PS_SOLID, 1);
    gradient.SetSteps(255);
    glGlobalData.IgnoreGradients = true;
    gradient.Draw(target.DC(), {0, 0, 4, 4}, PS_SOLID, 1);
    glGlobalData.IgnoreGradients = false;
    gradient.SetActive(false);
    gradient.Draw(target.DC(), {0, 0, 4, 4}, PS_SOLID, 1);
    EXPECT_EQ(target.Picture({{Marker, '.'}}), "....|....|....|....");
}

TEST_F(GradientPixels, AnEightBitDeviceShowsNoGradientAndPlainText) {
    Surface target(60, 30, RGB(255, 255, 255));
    ASSERT_TRUE(SetDeviceColourDepth(target.DC(), 8));
    gradient.Draw(target.DC(), {0, 0, 60, 30}, PS_SOLID, 1);
    EXPECT_EQ(target.Pixel(0, 0), RGB(255, 255, 255));
    TFont font;
    font.SetHeight(-20);
    HGDIOBJ previous = SelectObject(target.DC(), font.Handle());
    SetBkMode(target.DC(), TRANSPARENT);
    SetTextColor(target.DC(), RGB(255, 0, 0));
    gradient.SetOrientation(fgdVertical);
    gradient.TextOut(target.DC(), "WW", {0, 0, 60, 30}, 0, 0);
    SelectObject(target.DC(), previous);
    bool red = false;
    for (Integer y = 0; y < 30; ++y)
        for (Integer x = 0; x < 60; ++x) {
            const TColor pixel = target.Pixel(x, y);
            red = red || (GetRValue(pixel) == 255 && GetGValue(pixel) < 100);
            EXPECT_EQ(GetGValue(pixel), GetBValue(pixel)) << x << "," << y;
        }
    EXPECT_TRUE(red);
}

TEST_F(GradientPixels, DirectionsPlaceTheirColours) {
    gradient.SetToColor(RGB(0, 0, 200));
    const struct {
        TglGradientDir direction;
        TPoint from;
        TPoint to;
    } cases[] = {
        {fgdVertical, {0, 5}, {19, 5}}, {fgdRectangle, {0, 0}, {10, 6}}, {fgdVertConvergent, {0, 5}, {10, 5}},
        {fgdLeftBias, {0, 0}, {19, 9}}, {fgdRightBias, {19, 0}, {0, 9}},
    };
    for (const auto& each : cases) {
        Surface target(20, 12, Marker);
        gradient.SetOrientation(each.direction);
        gradient.Draw(target.DC(), {0, 0, 20, 12}, PS_SOLID, 1);
        EXPECT_LT(GetBValue(target.Pixel(each.from.x, each.from.y)), 40) << each.direction;
        EXPECT_GT(GetBValue(target.Pixel(each.to.x, each.to.y)), 120) << each.direction;
    }
}

TEST_F(GradientPixels, HatchedBandsLeaveTheBackgroundBetweenTheirLines) {
    for (TBrushStyle style : {bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross}) {
        Surface target(16, 16, Marker);
        SetBkMode(target.DC(), TRANSPARENT);
        gradient.SetBrushStyle(style);
        gradient.Draw(target.DC(), {0, 0, 16, 16}, PS_SOLID, 1);
        const std::string picture = target.Picture({{Marker, '.'}});
        EXPECT_NE(picture.find('.'), std::string::npos) << style;
        EXPECT_NE(picture.find('?'), std::string::npos) << style;
    }
    Surface clear(4, 4, Marker);
    gradient.SetBrushStyle(bsClear);
    gradient.Draw(clear.DC(), {0, 0, 4, 4}, PS_SOLID, 1);
    EXPECT_EQ(clear.Picture({{Marker, '.'}}), "....|....|....|....");
}

TEST_F(GradientPixels, ColoursAlongALine) {
    gradient.SetToColor(RGB(100, 50, 10));
    EXPECT_EQ(gradient.GetColorFromGradientLine(0, 5), RGB(0, 0, 0));
    EXPECT_EQ(gradient.GetColorFromGradientLine(10, 10), RGB(100, 50, 10));
    // 2.5 rounds to the even neighbour.
    EXPECT_EQ(gradient.GetColorFromGradientLine(4, 1), RGB(25, 12, 2));
}

TEST_F(GradientPixels, GradientTextChangesColourAcrossTheText) {
    Surface target(60, 30, RGB(255, 255, 255));
    TFont font;
    font.SetHeight(-24);
    font.SetStyle({fsBold});
    HGDIOBJ previous = SelectObject(target.DC(), font.Handle());
    SetBkMode(target.DC(), TRANSPARENT);
    gradient.SetFromColor(RGB(255, 0, 0));
    gradient.SetToColor(RGB(0, 0, 255));
    gradient.SetOrientation(fgdVertical);
    gradient.TextOut(target.DC(), "WWWW", {0, 0, 60, 30}, 0, 0);
    SelectObject(target.DC(), previous);
    auto strongest = [&](Integer FromX, Integer ToX) {
        Integer red = 0;
        Integer blue = 0;
        for (Integer x = FromX; x < ToX; ++x)
            for (Integer y = 0; y < 30; ++y) {
                TColor pixel = target.Pixel(x, y);
                red = std::max<Integer>(red, GetRValue(pixel) - GetGValue(pixel));
                blue = std::max<Integer>(blue, GetBValue(pixel) - GetGValue(pixel));
            }
        return std::pair{red, blue};
    };
    auto [leftRed, leftBlue] = strongest(0, 10);
    auto [rightRed, rightBlue] = strongest(45, 60);
    EXPECT_GT(leftRed, leftBlue);
    EXPECT_GT(rightBlue, rightRed);
}

} // namespace
