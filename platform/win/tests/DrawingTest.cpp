#include "platform/win/Drawing.h"

#include "TestCanvas.h"
#include "platform/win/Blit.h"
#include "platform/win/SysColors.h"

#include <gtest/gtest.h>

TEST(Drawing, LineToLeavesOutItsEndPointInEveryDirection) {
    struct Case {
        POINT from, to;
        std::string picture;
    };
    const Case cases[] = {
        {{1, 1}, {5, 1}, Rows({".......", ".####..", ".......", ".......", "......."})},
        {{5, 1}, {1, 1}, Rows({".......", "..####.", ".......", ".......", "......."})},
        {{1, 0}, {1, 4}, Rows({".#.....", ".#.....", ".#.....", ".#.....", "......."})},
        {{0, 0}, {4, 4}, Rows({"#......", ".#.....", "..#....", "...#...", "......."})},
        {{4, 0}, {0, 4}, Rows({"....#..", "...#...", "..#....", ".#.....", "......."})},
        {{2, 2}, {2, 2}, Rows({".......", ".......", ".......", ".......", "......."})},
    };
    for (const Case& c : cases) {
        TestCanvas canvas(7, 5);
        MoveToEx(canvas.DC, c.from.x, c.from.y, nullptr);
        LineTo(canvas.DC, c.to.x, c.to.y);
        EXPECT_EQ(canvas.Picture(), c.picture);
        POINT position;
        GetCurrentPositionEx(canvas.DC, &position);
        EXPECT_EQ(position, c.to);
    }
}

TEST(Drawing, RectanglesExcludeTheirRightAndBottomEdges) {
    TestCanvas canvas(7, 6);
    Selected brush(canvas.DC, CreateSolidBrush(RGB(255, 0, 0)));
    Rectangle(canvas.DC, 1, 1, 6, 5);
    std::map<COLORREF, char> key{{RGB(255, 255, 255), '.'}, {RGB(0, 0, 0), '#'}, {RGB(255, 0, 0), 'r'}};
    EXPECT_EQ(canvas.Picture(key), Rows({".......", ".#####.", ".#rrr#.", ".#rrr#.", ".#####.", "......."}));

    // Without a pen the filled area is one pixel smaller in both directions.
    canvas.Fill(RGB(255, 255, 255));
    SelectObject(canvas.DC, GetStockObject(NULL_PEN));
    Rectangle(canvas.DC, 1, 1, 6, 5);
    EXPECT_EQ(canvas.Picture(key), Rows({".......", ".rrrr..", ".rrrr..", ".rrrr..", ".......", "......."}));

    canvas.Fill(RGB(255, 255, 255));
    RECT fill{1, 1, 4, 3};
    FillRect(canvas.DC, &fill, reinterpret_cast<HBRUSH>(COLOR_WINDOWTEXT + 1));
    RECT empty{4, 4, 2, 5};
    FillRect(canvas.DC, &empty, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(canvas.Picture(), Rows({".......", ".###...", ".###...", ".......", ".......", "......."}));
}

TEST(Drawing, FramesInversionsAndFocusRectangles) {
    TestCanvas canvas(6, 5);
    RECT box{0, 0, 5, 4};
    FrameRect(canvas.DC, &box, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(canvas.Picture(), Rows({"#####.", "#...#.", "#...#.", "#####.", "......"}));

    RECT inner{1, 1, 3, 2};
    InvertRect(canvas.DC, &inner);
    EXPECT_EQ(canvas.Picture(), Rows({"#####.", "###.#.", "#...#.", "#####.", "......"}));
    InvertRect(canvas.DC, &inner);

    canvas.Fill(RGB(255, 255, 255));
    DrawFocusRect(canvas.DC, &box);
    EXPECT_EQ(canvas.Picture(), Rows({"#.#.#.", "......", "#...#.", ".#.#..", "......"}));
    DrawFocusRect(canvas.DC, &box);
    EXPECT_EQ(canvas.InkBox(), RECT{});
}

TEST(Drawing, EllipsesStayInsideTheirBoxAndTouchEverySide) {
    for (RECT box : {RECT{0, 0, 11, 11}, RECT{2, 1, 12, 7}, RECT{1, 1, 4, 20}}) {
        TestCanvas canvas(14, 22);
        Ellipse(canvas.DC, box.Left, box.Top, box.Right, box.Bottom);
        EXPECT_EQ(canvas.InkBox(), box);
        // The outline is drawn in the pen, the inside in the white brush.
        int middleY = (box.Top + box.Bottom) / 2;
        EXPECT_EQ(canvas.At(box.Left, middleY), RGB(0, 0, 0));
        EXPECT_EQ(canvas.At(box.Right - 1, middleY), RGB(0, 0, 0));
    }
    TestCanvas canvas(11, 11);
    Ellipse(canvas.DC, 0, 0, 11, 11);
    EXPECT_EQ(canvas.Picture(),
              Rows({"...#####...", "..#.....#..", ".#.......#.", "#.........#", "#.........#", "#.........#",
                    "#.........#", "#.........#", ".#.......#.", "..#.....#..", "...#####..."}));
}

TEST(Drawing, PolygonsFillByTheirFillMode) {
    // A pentagram: the centre is enclosed twice, so ALTERNATE leaves it empty and WINDING fills it.
    const POINT star[] = {{10, 0}, {16, 19}, {0, 7}, {20, 7}, {4, 19}};
    for (int mode : {ALTERNATE, WINDING}) {
        TestCanvas canvas(21, 21);
        SelectObject(canvas.DC, GetStockObject(NULL_PEN));
        Selected brush(canvas.DC, CreateSolidBrush(RGB(0, 0, 0)));
        SetPolyFillMode(canvas.DC, mode);
        Polygon(canvas.DC, star, 5);
        EXPECT_EQ(canvas.At(10, 10), mode == WINDING ? RGB(0, 0, 0) : RGB(255, 255, 255));
        EXPECT_EQ(canvas.At(10, 3), RGB(0, 0, 0));
        EXPECT_EQ(canvas.At(1, 18), RGB(255, 255, 255));
    }
    // A polygon's own edges follow the rectangle rule: right and bottom are left out.
    TestCanvas canvas(6, 5);
    SelectObject(canvas.DC, GetStockObject(NULL_PEN));
    SelectObject(canvas.DC, GetStockObject(BLACK_BRUSH));
    const POINT square[] = {{1, 1}, {4, 1}, {4, 3}, {1, 3}};
    Polygon(canvas.DC, square, 4);
    EXPECT_EQ(canvas.Picture(), Rows({"......", ".###..", ".###..", "......", "......"}));
}

TEST(Drawing, StyledPensPaintTheirGapsOnlyInOpaqueMode) {
    TestCanvas canvas(12, 2);
    Selected pen(canvas.DC, CreatePen(PS_DOT, 1, RGB(0, 0, 0)));
    SetBkColor(canvas.DC, RGB(255, 0, 0));
    std::map<COLORREF, char> key{{RGB(255, 255, 255), '.'}, {RGB(0, 0, 0), '#'}, {RGB(255, 0, 0), 'r'}};
    SetBkMode(canvas.DC, TRANSPARENT);
    MoveToEx(canvas.DC, 0, 0, nullptr);
    LineTo(canvas.DC, 12, 0);
    SetBkMode(canvas.DC, OPAQUE);
    MoveToEx(canvas.DC, 0, 1, nullptr);
    LineTo(canvas.DC, 12, 1);
    EXPECT_EQ(canvas.Picture(key), Rows({"###...###...", "###rrr###rrr"}));
}

TEST(Drawing, WidePensAndXorShapesTouchEachPixelOnce) {
    TestCanvas canvas(9, 7);
    {
        Selected pen(canvas.DC, CreatePen(PS_SOLID, 3, RGB(0, 0, 0)));
        MoveToEx(canvas.DC, 2, 3, nullptr);
        LineTo(canvas.DC, 6, 3);
    }
    EXPECT_EQ(canvas.Picture(), Rows({".........", ".........", ".#######.", ".#######.", ".#######.",
                                      ".........", "........."}));
    canvas.Fill(RGB(255, 255, 255));
    SetROP2(canvas.DC, R2_XORPEN);
    Selected pen(canvas.DC, CreatePen(PS_SOLID, 2, RGB(255, 255, 255)));
    SelectObject(canvas.DC, GetStockObject(NULL_BRUSH));
    Ellipse(canvas.DC, 0, 0, 9, 7);
    EXPECT_NE(canvas.InkBox(), RECT{});
    Ellipse(canvas.DC, 0, 0, 9, 7);
    EXPECT_EQ(canvas.InkBox(), RECT{});
}

TEST(Drawing, PiesAndArcsKeepToTheirSector) {
    TestCanvas canvas(21, 21);
    SelectObject(canvas.DC, GetStockObject(BLACK_BRUSH));
    // Counter-clockwise from the right (east) radial to the top (north) one: the upper right quarter.
    Pie(canvas.DC, 0, 0, 21, 21, 20, 10, 10, 0);
    EXPECT_EQ(canvas.At(15, 5), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(5, 5), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(5, 15), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(15, 15), RGB(255, 255, 255));

    canvas.Fill(RGB(255, 255, 255));
    Arc(canvas.DC, 0, 0, 21, 21, 0, 10, 20, 10); // the lower half, from west to east
    RECT ink = canvas.InkBox();
    EXPECT_GE(ink.Top, 9);
    EXPECT_EQ(ink.Bottom, 21);
}

TEST(Drawing, PixelsAndOriginsFollowTheClip) {
    TestCanvas canvas(4, 4);
    EXPECT_EQ(SetPixel(canvas.DC, 1, 2, RGB(10, 20, 30)), RGB(10, 20, 30));
    EXPECT_EQ(canvas.At(1, 2), RGB(10, 20, 30));
    EXPECT_EQ(SetPixel(canvas.DC, 4, 0, RGB(0, 0, 0)), CLR_INVALID);
    EXPECT_EQ(GetPixel(canvas.DC, -1, 0), CLR_INVALID);

    SetWindowOrgEx(canvas.DC, 10, 10, nullptr);
    SetViewportOrgEx(canvas.DC, 1, 0, nullptr);
    RECT logical{10, 10, 12, 11};
    FillRect(canvas.DC, &logical, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(canvas.At(1, 0), RGB(0, 0, 0));
    SetWindowOrgEx(canvas.DC, 0, 0, nullptr);
    SetViewportOrgEx(canvas.DC, 0, 0, nullptr);
    EXPECT_EQ(canvas.Picture({{RGB(255, 255, 255), '.'}, {RGB(0, 0, 0), '#'}, {RGB(10, 20, 30), 'o'}}),
              Rows({".##.", "....", ".o..", "...."}));
}

TEST(Drawing, HugeShapesCostOnlyTheirVisiblePart) {
    TestCanvas canvas(8, 8);
    constexpr int far = 100000000;
    Ellipse(canvas.DC, -far, -far, far, far);
    EXPECT_EQ(canvas.At(4, 4), RGB(255, 255, 255));
    {
        Selected pen(canvas.DC, CreatePen(PS_SOLID, 3, RGB(0, 0, 0)));
        MoveToEx(canvas.DC, -far, -far, nullptr);
        LineTo(canvas.DC, far, far);
    }
    EXPECT_EQ(canvas.At(4, 4), RGB(0, 0, 0));
    canvas.Fill(RGB(255, 255, 255));
    MoveToEx(canvas.DC, -far, 2, nullptr);
    LineTo(canvas.DC, far, 2);
    EXPECT_EQ(canvas.Picture({{RGB(255, 255, 255), '.'}, {RGB(0, 0, 0), '#'}}, {0, 2, 8, 3}), "########\n");
    TestCanvas source(2, 2, RGB(255, 0, 0));
    StretchBlt(canvas.DC, -far, -far, 2 * far, 2 * far, source.DC, 0, 0, 2, 2, SRCCOPY);
    EXPECT_EQ(canvas.At(7, 7), RGB(255, 0, 0));
}
