// The colour popup: its layout and hit tests with and without each entry
// and the system colours, locating a colour, ending a selection, and the
// keyboard, driven through the button's capture window.
#include "components/tests/ColorPickerTestSupport.h"

#include "platform/win/Mouse.h"
#include "platform/win/SysColors.h"
#include "platform/win/Windows.h"

namespace {

class ColorPopupTest : public ColorPickerTest {
protected:
    // The height of an entry: the text and its edges.
    const Integer entry = GuiFontTextHeight() + 10;

    void configure(bool Default, bool Custom, bool System) {
        button->SetDefaultText(Default ? "Default" : "");
        button->SetCustomText(Custom ? "More Colors..." : "");
        button->SetShowSystemColors(System);
    }
};

// ---- Layout ------------------------------------------------------------------------------------------

TEST_F(ColorPopupTest, LayoutWithAndWithoutEachEntryAndTheSystemColors) {
    struct Case {
        bool defaultText, customText, system;
    };
    for (const Case c : {Case{false, false, false}, Case{true, false, false}, Case{false, true, false},
                         Case{true, true, false}, Case{true, true, true}, Case{false, false, true}}) {
        SCOPED_TRACE(testing::Message() << c.defaultText << c.customText << c.system);
        configure(c.defaultText, c.customText, c.system);
        // The grid's five rows and the popup's edges, then each part below the other.
        Integer bottom = 5 * 18 + 8;
        if (c.defaultText) {
            EXPECT_EQ(popup()->DefaultTextRect(), (TRect{10, 4, 154, 4 + entry}));
            bottom += entry + 4;
        }
        const Integer firstRowTop = c.defaultText ? 4 + entry : 4;
        TRect cell;
        ASSERT_TRUE(popup()->GetCellRect(0, cell));
        EXPECT_EQ(cell, (TRect{10, firstRowTop, 28, firstRowTop + 18}));
        ASSERT_TRUE(popup()->GetCellRect(39, cell));
        EXPECT_EQ(cell, (TRect{136, firstRowTop + 72, 154, firstRowTop + 90}));
        ASSERT_TRUE(popup()->GetCellRect(40, cell));
        EXPECT_EQ(cell.Top, firstRowTop + 90 + 6);
        if (c.system) bottom += 4 * 18 + 4;
        EXPECT_EQ(popup()->GetCellRect(TColorPopup::CustomCell, cell), c.customText);
        EXPECT_EQ(popup()->GetCellRect(TColorPopup::DefaultCell, cell), c.defaultText);
        EXPECT_FALSE(popup()->GetCellRect(TColorPopup::NoCell, cell));
        if (c.customText) {
            EXPECT_EQ(popup()->CustomTextRect(), (TRect{10, bottom, 154, bottom + entry}));
            EXPECT_EQ(popup()->PreviewRect(), (TRect{137, bottom + 3 + (entry - 18) / 2, 149, bottom + 15 + (entry - 18) / 2}));
            bottom += entry + 4;
        }
        EXPECT_EQ(popup()->WindowRect(), (TRect{0, 0, 164, bottom}));
        EXPECT_EQ(popup()->CombRect().Top, bottom);
    }
}

TEST_F(ColorPopupTest, HitTestsOverTheEntriesTheGridAndTheGap) {
    struct Case {
        bool system;
        TPoint point;
        Integer item;
    };
    // With the Default entry the grid's hit origin is 5 pixels below it and 8 from the left.
    const Integer gridY = entry + 5;
    const Integer customY = popup()->CustomTextRect().Top;
    const Case cases[] = {
        {false, {12, 6}, TColorPopup::DefaultCell},
        {false, {153, 4 + entry - 1}, TColorPopup::DefaultCell},
        {false, {8, gridY + 5}, TColorPopup::NoCell},
        {false, {9, gridY}, 0},
        {false, {26, gridY}, 1},
        {false, {151, gridY + 17}, 7},
        {false, {152, gridY + 17}, TColorPopup::NoCell},
        {false, {9, gridY + 18}, 8},
        {false, {151, gridY + 89}, 39},
        {false, {9, gridY + 90}, TColorPopup::NoCell},
        {false, {12, customY + 2}, TColorPopup::CustomCell},
        {true, {9, gridY + 89}, 32},
        {true, {9, gridY + 90}, TColorPopup::NoCell},
        {true, {9, gridY + 95}, TColorPopup::NoCell},
        {true, {9, gridY + 96}, 40},
        {true, {9, gridY + 96 + 54}, 64},
        {true, {27, gridY + 96 + 54}, TColorPopup::NoCell},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.point.x << "," << c.point.y << " system " << c.system);
        configure(true, !c.system, c.system);
        EXPECT_EQ(popup()->ItemFromPoint(c.point.x, c.point.y), c.item);
    }
}

TEST_F(ColorPopupTest, IndexOfRowAndColumn) {
    struct Case {
        bool system;
        Integer row, column, index;
    };
    const Case cases[] = {
        {false, 0, 0, 0},   {false, 4, 7, 39},  {false, 5, 0, -1}, {true, 5, 0, 40},  {true, 8, 0, 64},
        {true, 8, 1, -1},   {true, 9, 0, -1},   {false, 0, 8, -1}, {false, 0, -1, -1}, {false, -1, 0, -1},
        {false, -2, 3, -2}, {false, 3, -3, -3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.row << "," << c.column);
        configure(true, true, c.system);
        EXPECT_EQ(popup()->GetIndex(c.row, c.column), c.index);
    }
    configure(false, false, false);
    EXPECT_EQ(popup()->GetIndex(-2, 0), -1);
    EXPECT_EQ(popup()->GetIndex(0, -3), -1);
    // Truncating division: nothing at all is row 0, column -1.
    EXPECT_EQ(popup()->GetRow(-1), 0);
    EXPECT_EQ(popup()->GetColumn(-1), -1);
}

// ---- Locating a colour -----------------------------------------------------------------------------

TEST_F(ColorPopupTest, SelectColorFindsTheEntryThatShowsIt) {
    const TColor gray225 = 0xE1E1E1;
    const TCombArray& comb = popup()->CombCells();
    const TColor combColor = comb[5].Color;
    Integer firstComb = 0;
    while (comb[firstComb].Color != combColor)
        ++firstComb;
    struct Case {
        TColor color;
        bool system;
        Integer selected;
        Integer custom;
    };
    const Case cases[] = {
        {clNone, false, TColorPopup::NoCell, 0},
        {clDefault, false, TColorPopup::DefaultCell, 0},
        {clBlack, false, 0, 0},
        {0x808080, false, 15, 0},
        {clBtnFace, false, 31, 0},
        {clBtnFace, true, 55, 0},
        {clSilver, true, 31, 0},
        {gray225, false, TColorPopup::CustomCell, -2},
        {0x0F0F0F, false, TColorPopup::CustomCell, -16},
        {combColor, false, TColorPopup::CustomCell, firstComb + 1},
        {0x123457, false, TColorPopup::NoCell, 0},
    };
    ASSERT_EQ(ColorToRGB(clBtnFace), 0xC0C0C0);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.color << " system " << c.system);
        configure(true, true, c.system);
        popup()->SelectColor(c.color);
        EXPECT_EQ(popup()->SelectedIndex(), c.selected);
        if (c.selected < 0) {
            EXPECT_EQ(popup()->CustomIndex(), c.custom);
        }
    }
}

TEST_F(ColorPopupTest, EndSelectionHandsOverTheChosenEntry) {
    struct Case {
        Integer selected;
        TColor colour;
        Integer changes;
        Integer defaults;
    };
    const TColor gray225 = 0xE1E1E1;
    const TColor combColor = popup()->CombCells()[5].Color;
    const Case cases[] = {
        {16, clRed, 1, 0},
        {TColorPopup::DefaultCell, clBlack, 0, 1},
        {TColorPopup::NoCell, clBlack, 0, 1},
        {-10, gray225, 1, 0},
        {-11, combColor, 1, 0},
        {TColorPopup::CustomCell, clBlack, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.selected);
        button->SetSelectionColor(clBlack);
        events.changes.clear();
        events.defaultSelects = 0;
        button->SetDroppedDown(true);
        if (c.selected == -10)
            popup()->SelectColor(gray225);
        else if (c.selected == -11)
            popup()->SelectColor(combColor);
        else if (c.selected == TColorPopup::CustomCell)
            popup()->SelectColor(0x123457), popup()->SelectIndex(TColorPopup::CustomCell);
        else if (c.selected == TColorPopup::NoCell)
            popup()->SelectColor(clNone);
        else
            popup()->SelectIndex(c.selected);
        popup()->EndSelection(false);
        EXPECT_FALSE(button->DroppedDown());
        EXPECT_EQ(button->SelectionColor(), c.colour);
        EXPECT_EQ(static_cast<Integer>(events.changes.size()), c.changes);
        EXPECT_EQ(events.defaultSelects, c.defaults);
    }
}

// ---- Keyboard ------------------------------------------------------------------------------------------

TEST_F(ColorPopupTest, ArrowKeysMoveTheHoverEntry) {
    struct Case {
        bool defaultText, customText, system;
        Integer from;
        UINT key;
        Integer to;
    };
    const Integer D = TColorPopup::DefaultCell, C = TColorPopup::CustomCell, N = TColorPopup::NoCell;
    const Case cases[] = {
        {true, true, false, 5, VK_LEFT, 4},    {true, true, false, 8, VK_LEFT, 7},
        {true, true, false, 0, VK_LEFT, D},    {true, true, false, D, VK_LEFT, C},
        {true, true, false, C, VK_LEFT, 39},   {true, true, true, C, VK_LEFT, 64},
        {true, true, false, 9, VK_UP, 1},      {true, true, false, 3, VK_UP, D},
        {true, true, false, D, VK_UP, C},      {true, true, false, C, VK_UP, 39},
        {true, true, false, 7, VK_RIGHT, 8},   {true, true, false, 39, VK_RIGHT, C},
        {true, true, true, 39, VK_RIGHT, 40},  {true, true, true, 64, VK_RIGHT, C},
        {true, true, false, D, VK_RIGHT, 0},   {true, true, false, C, VK_RIGHT, D},
        {true, true, false, 3, VK_DOWN, 11},   {true, true, false, 35, VK_DOWN, C},
        {true, true, true, 57, VK_DOWN, C},    {true, true, false, D, VK_DOWN, 0},
        {true, true, false, C, VK_DOWN, D},    {false, true, false, C, VK_DOWN, 0},
        {false, false, false, 0, VK_LEFT, 39}, {false, false, false, 39, VK_RIGHT, 0},
        {false, false, false, 35, VK_DOWN, 0}, {false, true, false, 0, VK_LEFT, C},
        {true, false, false, 39, VK_RIGHT, D}, {true, false, false, 36, VK_DOWN, D},
        {true, false, false, D, VK_LEFT, 39},  {true, true, false, N, VK_RIGHT, 0},
        {true, true, false, N, VK_DOWN, C},    {true, true, false, N, VK_LEFT, D},
        {true, true, false, N, VK_UP, D},      {false, false, false, N, VK_DOWN, 0},
    };
    button->SetSelectionColor(clNone);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "from " << c.from << " key " << c.key << " texts " << c.defaultText
                                        << c.customText << " system " << c.system);
        configure(c.defaultText, c.customText, c.system);
        button->SetDroppedDown(true);
        popup()->SetHoverIndex(c.from);
        pressKey(c.key);
        EXPECT_EQ(popup()->HoverIndex(), c.to);
        button->SetDroppedDown(false);
    }
}

TEST_F(ColorPopupTest, EnterChoosesTheHoverEntryAndEscapeCancels) {
    dropDown();
    popup()->SetHoverIndex(16);
    pressKey(VK_RETURN);
    EXPECT_FALSE(button->DroppedDown());
    EXPECT_EQ(button->SelectionColor(), clRed);
    EXPECT_EQ(events.changes, std::vector<TColor>{clRed});

    dropDown();
    popup()->SetHoverIndex(26);
    pressKey(VK_ESCAPE);
    EXPECT_FALSE(button->DroppedDown());
    EXPECT_EQ(button->SelectionColor(), clRed);

    // Nothing hovered: a default choice that keeps the colour.
    dropDown();
    popup()->SetHoverIndex(TColorPopup::NoCell);
    pressKey(VK_SPACE);
    EXPECT_FALSE(button->DroppedDown());
    EXPECT_EQ(button->SelectionColor(), clRed);
    EXPECT_EQ(events.defaultSelects, 1);
    EXPECT_EQ(events.changes.size(), 1u);
}

TEST_F(ColorPopupTest, AltWithTheAcceleratorsChoosesDefaultOrOpensTheCustomArea) {
    button->SetDefaultText("&Automatic");
    button->SetCustomText("&More Colors...");
    dropDown();
    backend.PressKey('M', {VK_MENU});
    Application->ProcessMessages();
    EXPECT_TRUE(button->DroppedDown());
    EXPECT_EQ(popup()->SelectedIndex(), TColorPopup::CustomCell);
    backend.PressKey('A', {VK_MENU});
    Application->ProcessMessages();
    EXPECT_FALSE(button->DroppedDown());
    EXPECT_EQ(events.defaultSelects, 1);
}

// ---- Mouse ----------------------------------------------------------------------------------------------

TEST_F(ColorPopupTest, ClickOnACellChoosesItAndTheReleaseAfterTheArrowKeepsItOpen) {
    dropDown();
    ASSERT_TRUE(button->DroppedDown());
    EXPECT_EQ(GetCapture(), button->PopupWnd());
    EXPECT_EQ(popup()->SelectedIndex(), 0);
    movePopup(cellCentre(13));
    EXPECT_EQ(popup()->HoverIndex(), 13);
    clickPopup(cellCentre(13));
    EXPECT_FALSE(button->DroppedDown());
    EXPECT_EQ(button->SelectionColor(), clBlue);
    EXPECT_FALSE(IsWindowVisible(popupWindow()));
}

TEST_F(ColorPopupTest, DefaultEntryNeverChangesTheColour) {
    button->SetSelectionColor(clRed);
    events.changes.clear();
    dropDown();
    const TRect entryRect = popup()->DefaultTextRect();
    clickPopup({entryRect.Left + 5, entryRect.Top + 5});
    EXPECT_FALSE(button->DroppedDown());
    EXPECT_EQ(button->SelectionColor(), clRed);
    EXPECT_TRUE(events.changes.empty());
    EXPECT_EQ(events.defaultSelects, 1);
}

TEST_F(ColorPopupTest, HintsNameTheHoveredCellOrAskTheButton) {
    button->SetShowHint(true);
    button->OnHint = THintEvent(&events, &PickerEvents::Hint);
    events.hintText = "pick";
    dropDown();
    THintInfo info;
    popup()->SetHoverIndex(22);
    EXPECT_EQ(popup()->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)), 0);
    EXPECT_EQ(info.HintStr, "Violet");
    TRect cell;
    popup()->GetCellRect(22, cell);
    EXPECT_EQ(info.CursorRect, cell);

    popup()->SetHoverIndex(TColorPopup::CustomCell);
    popup()->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.HintStr, "pick");
    EXPECT_EQ(events.hintCells, std::vector<Integer>{TColorPopup::CustomCell});

    button->SetShowHint(false);
    EXPECT_EQ(popup()->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)), 1);
}

} // namespace
