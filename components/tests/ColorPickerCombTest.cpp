// The custom colour area of the popup: the comb, the grey row, the
// brightness slider, choosing a cell with the mouse, and the hints.
#include "components/tests/ColorPickerTestSupport.h"

#include "platform/win/Messages.h"
#include "platform/win/Mouse.h"
#include "platform/win/WindowPos.h"
#include "platform/win/WindowTree.h"
#include "platform/win/Windows.h"

#include <cmath>

namespace {

class ColorCombTest : public ColorPickerTest {
protected:
    const Integer textHeight = GuiFontTextHeight();

    // Drops the popup down and opens the custom area through its entry.
    void openCustomArea() {
        dropDown();
        const TRect entryRect = popup()->CustomTextRect();
        clickPopup({entryRect.Left + 5, entryRect.Top + 5});
    }
    TPoint combCentre() const {
        const TRect comb = popup()->CombRect();
        return {comb.Left + popup()->CombSize(), comb.Top + popup()->CombSize()};
    }
    // A comb cell's centre in the popup's client coordinates.
    TPoint combCellPoint(Integer Cell) const {
        const TPoint at = popup()->CombCells()[Cell].Position;
        return {combCentre().x + at.x, combCentre().y + at.y};
    }
    // The hint with the mouse resting at Point.
    AnsiString hintTextAt(TPoint Point) {
        movePopup(Point);
        THintInfo info;
        info.CursorPos = Point;
        popup()->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
        return info.HintStr;
    }
};

TEST_F(ColorCombTest, CombHas127CellsWithThePureColoursAtItsCorners) {
    const TCombArray& comb = popup()->CombCells();
    ASSERT_EQ(comb.size(), 127u);
    EXPECT_EQ(comb[0].Color, clWhite);
    EXPECT_EQ(comb[0].Position, (TPoint{0, 0}));
    // Each sector's outermost run starts at its corner: cells 1 + 21 i + 15.
    struct Corner {
        TColor color;
        int xSign, ySign;
    };
    const Corner corners[6] = {{clFuchsia, 1, 0}, {clRed, 1, 1},   {clYellow, -1, 1},
                               {clLime, -1, 0},   {clAqua, -1, -1}, {clBlue, 1, -1}};
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        const TCombEntry& corner = comb[1 + 21 * i + 15];
        EXPECT_EQ(corner.Color, corners[i].color);
        auto sign = [](Integer v) { return (v > 0) - (v < 0); };
        EXPECT_EQ(sign(corner.Position.x), corners[i].xSign);
        EXPECT_EQ(sign(corner.Position.y), corners[i].ySign);
        EXPECT_NEAR(std::hypot(corner.Position.x, corner.Position.y), 54.6, 1.0);
    }
}

TEST_F(ColorCombTest, GreyRowRunsFromWhiteToBlackInAZigzag) {
    const TCombArray& grays = popup()->GrayCells();
    ASSERT_EQ(grays.size(), 17u);
    EXPECT_EQ(grays[0].Color, clWhite);
    EXPECT_EQ(grays[0].Position, (TPoint{11, 11}));
    for (Integer n = 1; n <= 15; ++n) {
        const Integer level = (16 - n) * 15;
        EXPECT_EQ(grays[n].Color, RGB(level, level, level));
        EXPECT_EQ(grays[n].Position, (TPoint{(n - 1) * 5 + 33, (n - 1) % 2 ? 14 : 6}));
    }
    EXPECT_EQ(grays[16].Color, clBlack);
    EXPECT_EQ(grays[16].Position, (TPoint{124, 11}));
}

TEST_F(ColorCombTest, AreaRectanglesFollowTheEntries) {
    // With a 13-pixel font: comb (10, 152)-(136, 278), grey row (10, 274)-(147, 300),
    // slider (136, 163)-(156, 267), enlarged height 304.
    const Integer shift = 2 * (textHeight - 13);
    EXPECT_EQ(popup()->CombRect(), (TRect{10, 152 + shift, 136, 278 + shift}));
    EXPECT_EQ(popup()->GrayRect(), (TRect{10, 274 + shift, 147, 300 + shift}));
    EXPECT_EQ(popup()->SliderRect(), (TRect{136, 163 + shift, 156, 267 + shift}));
    openCustomArea();
    ASSERT_TRUE(button->DroppedDown());
    RECT window;
    GetWindowRect(popupWindow(), &window);
    EXPECT_EQ(window.Height(), 304 + shift);
    EXPECT_EQ(window.Width(), 164);
}

TEST_F(ColorCombTest, ReleasingOnACombCellAcceptsIt) {
    openCustomArea();
    ASSERT_EQ(popup()->SelectedIndex(), TColorPopup::CustomCell);
    const TPoint cell = combCellPoint(40);
    const TColor expected = popup()->CombCells()[40].Color;
    backend.MouseDown(popupWindow(), cell);
    Application->ProcessMessages();
    EXPECT_EQ(popup()->CustomIndex(), 41);
    backend.MouseUp(popupWindow(), cell);
    Application->ProcessMessages();
    EXPECT_FALSE(button->DroppedDown());
    EXPECT_EQ(button->SelectionColor(), expected);

    // The next opening finds the colour again in the comb.
    dropDown();
    EXPECT_EQ(popup()->SelectedIndex(), TColorPopup::CustomCell);
    EXPECT_EQ(popup()->CustomIndex(), 41);
}

TEST_F(ColorCombTest, ReleasingOnAGreyCellAcceptsIt) {
    openCustomArea();
    // The grey row's hit origin lies 4 pixels below where it is drawn.
    const TRect gray = popup()->GrayRect();
    const TPoint at = popup()->GrayCells()[3].Position;
    clickPopup({gray.Left + at.x, gray.Top + at.y});
    EXPECT_FALSE(button->DroppedDown());
    EXPECT_EQ(button->SelectionColor(), RGB(195, 195, 195));
}

TEST_F(ColorCombTest, SliderDraggedBelowItsBottomMakesTheCentreBlackAndKeepsThePopupOpen) {
    openCustomArea();
    const TRect slider = popup()->SliderRect();
    backend.MouseDown(popupWindow(), {slider.Left + 5, slider.Top + 10});
    Application->ProcessMessages();
    backend.MoveMouse(popupWindow(), {slider.Left + 5, slider.Bottom + 30});
    Application->ProcessMessages();
    backend.MouseUp(popupWindow(), {slider.Left + 5, slider.Bottom + 30});
    Application->ProcessMessages();
    EXPECT_TRUE(button->DroppedDown());
    EXPECT_EQ(popup()->Brightness(), 0.0f);
    const TCombArray& comb = popup()->CombCells();
    EXPECT_EQ(comb[0].Color, clBlack);
    EXPECT_EQ(comb[16].Color, clFuchsia);
    button->SetShowHint(true);
    EXPECT_EQ(hintTextAt({slider.Left + 2, slider.Top + 5}), "Intensity: 0%");
}

TEST_F(ColorCombTest, PressBetweenHexagonsClearsTheChoice) {
    button->SetSelectionColor(popup()->CombCells()[10].Color);
    dropDown();
    ASSERT_EQ(popup()->CustomIndex(), 11);
    // The comb's top-left corner lies outside every hexagon.
    const TRect comb = popup()->CombRect();
    backend.MouseDown(popupWindow(), {comb.Left + 1, comb.Top + 1});
    Application->ProcessMessages();
    EXPECT_EQ(popup()->CustomIndex(), 0);
    backend.MouseUp(popupWindow(), {comb.Left + 1, comb.Top + 1});
    Application->ProcessMessages();
    EXPECT_TRUE(button->DroppedDown());
    // The swatch on the custom entry: an empty frame in the shadow colour.
    const TRect preview = popup()->PreviewRect();
    EXPECT_EQ(PixelAt(popupWindow(), {preview.Left, preview.Top + 4}), ColorToRGB(clBtnShadow));
    EXPECT_NE(PixelAt(popupWindow(), {preview.Left + 4, preview.Top + 4}), ColorToRGB(clBtnShadow));
}

// The brightness empties the comb until the next paint; a colour accepted
// before that paint is read from the rebuilt comb.
TEST_F(ColorCombTest, BrightnessChangeFollowedAtOnceByEnterAcceptsTheNewCombColour) {
    const TColor pale = popup()->CombCells()[5].Color;
    button->SetSelectionColor(pale);
    dropDown();
    const Integer chosen = popup()->CustomIndex();
    ASSERT_GT(chosen, 0);
    // Hidden, so that nothing paints between the slider's press and the key.
    ShowWindow(popupWindow(), SW_HIDE);
    const TRect slider = popup()->SliderRect();
    POINT press{slider.Left + 5, slider.Bottom - 1};
    MapWindowPoints(popupWindow(), button->PopupWnd(), &press, 1);
    SendMessageA(button->PopupWnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(press.x, press.y));
    SetCapture(button->PopupWnd());
    popup()->SetHoverIndex(TColorPopup::CustomCell);
    pressKey(VK_RETURN);
    EXPECT_FALSE(button->DroppedDown());
    EXPECT_LT(popup()->Brightness(), 0.05f);
    EXPECT_EQ(button->SelectionColor(), popup()->CombCells()[chosen - 1].Color);
    EXPECT_NE(button->SelectionColor(), pale);
}

TEST_F(ColorCombTest, HintsOverTheSliderAndTheCells) {
    button->SetShowHint(true);
    button->OnHint = THintEvent(&events, &PickerEvents::Hint);
    events.hintText = "elsewhere";
    openCustomArea();
    const TRect slider = popup()->SliderRect();
    movePopup({slider.Left + 3, slider.Top + 20});
    THintInfo info;
    info.CursorPos = {slider.Left + 3, slider.Top + 20};
    popup()->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.HintStr, "Intensity: 100%");
    EXPECT_EQ(info.HideTimeout, 5000);
    EXPECT_EQ(info.CursorRect, (TRect{slider.Left, slider.Top + 20, slider.Right, slider.Top + 20}));
    EXPECT_EQ(info.HintPos, popup()->ClientToScreen({slider.Right, slider.Top + 12}));

    EXPECT_EQ(hintTextAt(combCellPoint(0)), "red: 255, green: 255, blue: 255");
    EXPECT_EQ(hintTextAt(combCellPoint(16)), "red: 255, green: 0, blue: 255");
    const TRect gray = popup()->GrayRect();
    const TPoint black = popup()->GrayCells()[16].Position;
    EXPECT_EQ(hintTextAt({gray.Left + black.x, gray.Top + black.y}), "red: 0, green: 0, blue: 0");
    const TRect comb = popup()->CombRect();
    EXPECT_EQ(hintTextAt({comb.Left + 1, comb.Top + 1}), "elsewhere");
    EXPECT_EQ(events.hintCells, std::vector<Integer>{-1});
}

} // namespace
