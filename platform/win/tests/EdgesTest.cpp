#include "platform/win/Edges.h"

#include "TestCanvas.h"

#include <gtest/gtest.h>

namespace {

const COLORREF untouched = RGB(255, 0, 255);
// Classic colours: highlight, light (the same as the face), shadow, dark shadow.
const std::map<COLORREF, char> edgeKey{{untouched, '.'},
                                       {RGB(255, 255, 255), 'W'},
                                       {RGB(192, 192, 192), 'L'},
                                       {RGB(128, 128, 128), 'S'},
                                       {RGB(0, 0, 0), 'D'}};

std::string drawn(UINT edge, UINT flags, RECT* adjusted = nullptr) {
    TestCanvas canvas(6, 6, untouched);
    RECT rect{0, 0, 6, 6};
    EXPECT_TRUE(DrawEdge(canvas.DC, &rect, edge, flags));
    if (adjusted) *adjusted = rect;
    return canvas.Picture(edgeKey);
}

} // namespace

TEST(DrawEdge, RaisedAndSunkenLayersOwnTheirCorners) {
    RECT adjusted;
    EXPECT_EQ(drawn(EDGE_RAISED, BF_RECT, &adjusted),
              Rows({"LLLLLD", "LWWWSD", "LW..SD", "LW..SD", "LSSSSD", "DDDDDD"}));
    EXPECT_EQ(adjusted, (RECT{0, 0, 6, 6})) << "without BF_ADJUST the rectangle stays";
    EXPECT_EQ(drawn(EDGE_SUNKEN, BF_RECT | BF_MIDDLE | BF_ADJUST, &adjusted),
              Rows({"SSSSSW", "SDDDLW", "SDLLLW", "SDLLLW", "SLLLLW", "WWWWWW"}));
    EXPECT_EQ(adjusted, (RECT{2, 2, 4, 4}));
}

TEST(DrawEdge, EveryLayerKindAndSideSelection) {
    struct Case {
        UINT edge, flags;
        std::string picture;
        RECT adjusted;
    };
    const Case cases[] = {
        {BDR_RAISEDOUTER,
         BF_RECT | BF_ADJUST,
         Rows({"LLLLLD", "L....D", "L....D", "L....D", "L....D", "DDDDDD"}),
         {1, 1, 5, 5}},
        {BDR_SUNKENOUTER,
         BF_RECT,
         Rows({"SSSSSW", "S....W", "S....W", "S....W", "S....W", "WWWWWW"}),
         {0, 0, 6, 6}},
        {BDR_RAISEDINNER,
         BF_RECT,
         Rows({"WWWWWS", "W....S", "W....S", "W....S", "W....S", "SSSSSS"}),
         {0, 0, 6, 6}},
        {BDR_SUNKENINNER,
         BF_RECT,
         Rows({"DDDDDL", "D....L", "D....L", "D....L", "D....L", "LLLLLL"}),
         {0, 0, 6, 6}},
        {EDGE_ETCHED,
         BF_TOP | BF_ADJUST,
         Rows({"SSSSSS", "WWWWWW", "......", "......", "......", "......"}),
         {0, 2, 6, 6}},
        {EDGE_BUMP,
         BF_LEFT | BF_RIGHT,
         Rows({"LD..LD", "LD..LD", "LD..LD", "LD..LD", "LD..LD", "LD..LD"}),
         {0, 0, 6, 6}},
        {EDGE_RAISED,
         BF_TOPLEFT | BF_ADJUST,
         Rows({"LLLLLL", "LWWWWW", "LW....", "LW....", "LW....", "LW...."}),
         {2, 2, 6, 6}},
        {EDGE_RAISED,
         BF_BOTTOMRIGHT | BF_ADJUST,
         Rows({"....SD", "....SD", "....SD", "....SD", "SSSSSD", "DDDDDD"}),
         {0, 0, 4, 4}},
        {EDGE_RAISED,
         BF_RECT | BF_SOFT,
         Rows({"WWWWWD", "WLLLSD", "WL..SD", "WL..SD", "WSSSSD", "DDDDDD"}),
         {0, 0, 6, 6}},
        {EDGE_SUNKEN,
         BF_RECT | BF_FLAT | BF_MIDDLE,
         Rows({"SSSSSS", "SLLLLS", "SLWWLS", "SLWWLS", "SLLLLS", "SSSSSS"}),
         {0, 0, 6, 6}},
        {EDGE_SUNKEN,
         BF_RECT | BF_MONO,
         Rows({"DDDDDD", "DWWWWD", "DW..WD", "DW..WD", "DWWWWD", "DDDDDD"}),
         {0, 0, 6, 6}},
        {0,
         BF_RECT | BF_MIDDLE | BF_ADJUST,
         Rows({"LLLLLL", "LLLLLL", "LLLLLL", "LLLLLL", "LLLLLL", "LLLLLL"}),
         {0, 0, 6, 6}},
    };
    for (const Case& c : cases) {
        RECT adjusted;
        EXPECT_EQ(drawn(c.edge, c.flags, &adjusted), c.picture) << c.edge << " " << std::hex << c.flags;
        EXPECT_EQ(adjusted, c.adjusted) << c.edge << " " << std::hex << c.flags;
    }
}

TEST(DrawEdge, DiagonalsRunToTheNamedCorner) {
    std::string picture = drawn(BDR_RAISEDOUTER, BF_DIAGONAL_ENDTOPRIGHT);
    EXPECT_EQ(picture[0 * 7 + 5], 'L');
    EXPECT_EQ(picture[5 * 7 + 0], 'L');
    EXPECT_EQ(picture[0 * 7 + 0], '.');
    picture = drawn(BDR_RAISEDOUTER, BF_DIAGONAL_ENDBOTTOMRIGHT);
    EXPECT_EQ(picture[5 * 7 + 5], 'D');
    EXPECT_EQ(picture[0 * 7 + 0], 'D');
}

TEST(DrawFrameControl, PushButtonsAdjustAndPress) {
    TestCanvas canvas(8, 6, untouched);
    RECT rect{0, 0, 8, 6};
    ASSERT_TRUE(DrawFrameControl(canvas.DC, &rect, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT));
    EXPECT_EQ(rect, (RECT{2, 2, 6, 4}));
    EXPECT_EQ(canvas.Picture(edgeKey),
              Rows({"WWWWWWWD", "WLLLLLSD", "WLLLLLSD", "WLLLLLSD", "WSSSSSSD", "DDDDDDDD"}));
    rect = {0, 0, 8, 6};
    DrawFrameControl(canvas.DC, &rect, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED);
    EXPECT_EQ(rect, (RECT{0, 0, 8, 6}));
    EXPECT_EQ(canvas.Picture(edgeKey),
              Rows({"DDDDDDDW", "DSSSSSLW", "DSLLLLLW", "DSLLLLLW", "DLLLLLLW", "WWWWWWWW"}));
    EXPECT_FALSE(DrawFrameControl(canvas.DC, &rect, 3, 0));
}

TEST(DrawFrameControl, MenuGlyphsAreBlackOnWhiteMasks) {
    for (UINT glyph : {DFCS_MENUCHECK, DFCS_MENUBULLET, DFCS_MENUARROW, DFCS_MENUARROWRIGHT}) {
        TestCanvas mask(13, 13, untouched, true);
        RECT rect{0, 0, 13, 13};
        ASSERT_TRUE(DrawFrameControl(mask.DC, &rect, DFC_MENU, glyph));
        RECT ink = mask.InkBox();
        EXPECT_GT(ink.Right - ink.Left, 2) << glyph;
        EXPECT_GE(ink.Left, 2) << glyph;
        EXPECT_LE(ink.Right, 11) << glyph;
        // Centred within a pixel either way.
        EXPECT_LE(std::abs((ink.Left + ink.Right) - 13), 1) << glyph;
    }
}
