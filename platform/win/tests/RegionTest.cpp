#include "platform/win/Regions.h"

#include "TestCanvas.h"

#include <gtest/gtest.h>

namespace {

struct RegionHandle {
    explicit RegionHandle(HRGN handle) : Handle(handle) {}
    ~RegionHandle() { DeleteObject(Handle); }
    RegionHandle(const RegionHandle&) = delete;
    RegionHandle& operator=(const RegionHandle&) = delete;
    operator HRGN() const { return Handle; }
    HRGN Handle;
};

} // namespace

TEST(Regions, CombineByEveryMode) {
    RegionHandle first(CreateRectRgn(0, 0, 10, 10)), second(CreateRectRgn(5, 5, 15, 15));
    struct Case {
        int mode;
        int kind;
        RECT box;
        bool inOverlap, inFirstOnly, inSecondOnly;
    };
    const Case cases[] = {
        {RGN_AND, SIMPLEREGION, {5, 5, 10, 10}, true, false, false},
        {RGN_OR, COMPLEXREGION, {0, 0, 15, 15}, true, true, true},
        {RGN_XOR, COMPLEXREGION, {0, 0, 15, 15}, false, true, true},
        {RGN_DIFF, COMPLEXREGION, {0, 0, 10, 10}, false, true, false},
        {RGN_COPY, SIMPLEREGION, {0, 0, 10, 10}, true, true, false},
    };
    for (const Case& c : cases) {
        RegionHandle result(CreateRectRgn(0, 0, 0, 0));
        EXPECT_EQ(CombineRgn(result, first, second, c.mode), c.kind) << c.mode;
        RECT box;
        EXPECT_EQ(GetRgnBox(result, &box), c.kind);
        EXPECT_EQ(box, c.box) << c.mode;
        EXPECT_EQ(PtInRegion(result, 7, 7) != FALSE, c.inOverlap) << c.mode;
        EXPECT_EQ(PtInRegion(result, 2, 2) != FALSE, c.inFirstOnly) << c.mode;
        EXPECT_EQ(PtInRegion(result, 12, 12) != FALSE, c.inSecondOnly) << c.mode;
    }
    RegionHandle empty(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(CombineRgn(empty, first, first, RGN_DIFF), NULLREGION);
    EXPECT_EQ(CombineRgn(empty, first, nullptr, RGN_AND), RGN_ERROR);
    // Combining into one of the operands is allowed.
    EXPECT_EQ(CombineRgn(first, first, second, RGN_AND), SIMPLEREGION);
    EXPECT_TRUE(PtInRegion(first, 9, 9));
    EXPECT_FALSE(PtInRegion(first, 4, 4));
}

TEST(Regions, ShapesMoveAndCompare) {
    RegionHandle ellipse(CreateEllipticRgn(0, 0, 150, 150));
    RECT box;
    EXPECT_EQ(GetRgnBox(ellipse, &box), COMPLEXREGION);
    EXPECT_EQ(box, (RECT{0, 0, 150, 150}));
    EXPECT_TRUE(PtInRegion(ellipse, 75, 75));
    EXPECT_FALSE(PtInRegion(ellipse, 2, 2));
    EXPECT_FALSE(PtInRegion(ellipse, 150, 75));

    // The magnifier's window: a circle united with a rounded tab below it.
    RegionHandle tab(CreateRoundRectRgn(0, 150, 130, 176, 20, 20));
    EXPECT_EQ(CombineRgn(ellipse, ellipse, tab, RGN_OR), COMPLEXREGION);
    EXPECT_TRUE(PtInRegion(ellipse, 65, 160));
    EXPECT_FALSE(PtInRegion(ellipse, 0, 150));
    EXPECT_TRUE(PtInRegion(ellipse, 10, 163));

    const POINT triangle[] = {{0, 0}, {10, 0}, {0, 10}};
    RegionHandle polygon(CreatePolygonRgn(triangle, 3, ALTERNATE));
    EXPECT_TRUE(PtInRegion(polygon, 1, 1));
    EXPECT_FALSE(PtInRegion(polygon, 8, 8));
    RECT probe{7, 7, 9, 9};
    EXPECT_FALSE(RectInRegion(polygon, &probe));

    RegionHandle moved(CreateRectRgn(0, 0, 4, 4)), target(CreateRectRgn(3, 2, 7, 6));
    EXPECT_FALSE(EqualRgn(moved, target));
    EXPECT_EQ(OffsetRgn(moved, 3, 2), SIMPLEREGION);
    EXPECT_TRUE(EqualRgn(moved, target));
}

TEST(Regions, FillAndFrameInLogicalCoordinates) {
    TestCanvas canvas(6, 5);
    RegionHandle region(CreateRectRgn(1, 1, 5, 4));
    FrameRgn(canvas.DC, region, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), 1, 1);
    EXPECT_EQ(canvas.Picture(), Rows({"......", ".####.", ".#..#.", ".####.", "......"}));
    canvas.Fill(RGB(255, 255, 255));
    SetWindowOrgEx(canvas.DC, 1, 1, nullptr);
    FillRgn(canvas.DC, region, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(canvas.Picture(), Rows({"####..", "####..", "####..", "......", "......"}));
}

TEST(Clipping, RegionsAndRectanglesLimitDrawing) {
    TestCanvas canvas(8, 4);
    RECT clipBox;
    EXPECT_EQ(GetClipBox(canvas.DC, &clipBox), SIMPLEREGION);
    EXPECT_EQ(clipBox, (RECT{0, 0, 8, 4}));

    RegionHandle region(CreateRectRgn(1, 0, 7, 4));
    EXPECT_EQ(SelectClipRgn(canvas.DC, region), SIMPLEREGION);
    EXPECT_EQ(ExcludeClipRect(canvas.DC, 3, 1, 5, 3), COMPLEXREGION);
    EXPECT_EQ(IntersectClipRect(canvas.DC, 0, 1, 8, 4), COMPLEXREGION);
    EXPECT_EQ(GetClipBox(canvas.DC, &clipBox), COMPLEXREGION);
    EXPECT_EQ(clipBox, (RECT{1, 1, 7, 4}));
    EXPECT_FALSE(PtVisible(canvas.DC, 4, 2));
    EXPECT_TRUE(PtVisible(canvas.DC, 2, 2));

    canvas.Fill(RGB(0, 0, 0));
    EXPECT_EQ(canvas.Picture(), Rows({"........", ".##..##.", ".##..##.", ".######."}));

    // The clip region is kept by SaveDC and removed by selecting none.
    int saved = SaveDC(canvas.DC);
    SelectClipRgn(canvas.DC, nullptr);
    EXPECT_EQ(GetClipRgn(canvas.DC, region), 0);
    RestoreDC(canvas.DC, saved);
    EXPECT_EQ(GetClipRgn(canvas.DC, region), 1);
    EXPECT_FALSE(PtInRegion(region, 4, 2));
}

TEST(Clipping, RegionsAreInDeviceAndRectanglesInLogicalCoordinates) {
    TestCanvas canvas(6, 2);
    SetWindowOrgEx(canvas.DC, 10, 0, nullptr);
    RegionHandle region(CreateRectRgn(0, 0, 2, 2));
    SelectClipRgn(canvas.DC, region);
    RECT clipBox;
    GetClipBox(canvas.DC, &clipBox);
    EXPECT_EQ(clipBox, (RECT{10, 0, 12, 2}));
    SelectClipRgn(canvas.DC, nullptr);
    IntersectClipRect(canvas.DC, 14, 0, 16, 2);
    RECT everything{10, 0, 16, 2};
    FillRect(canvas.DC, &everything, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(canvas.Picture(), Rows({"....##", "....##"}));
}
