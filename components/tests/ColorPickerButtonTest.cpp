// The colour picker button: its colour and change events, the main part and
// the arrow part, dropping down and closing, placement near the screen's
// edges, painting, groups and the glyph's image count.
#include "components/tests/ColorPickerTestSupport.h"

#include "platform/vcl/ActnList.h"
#include "platform/vcl/Filers.h"
#include "platform/vcl/ImgList.h"
#include "platform/vcl/Pictures.h"
#include "platform/win/Messages.h"
#include "platform/win/SysColors.h"
#include "platform/win/WindowPos.h"
#include "platform/win/Windows.h"

namespace {

class ColorPickerButtonTest : public ColorPickerTest {
protected:
    void pressAt(Integer X) {
        backend.MouseDown(form->Handle(), {button->Left() + X, button->Top() + 10});
        Application->ProcessMessages();
        backend.MouseUp(form->Handle(), {button->Left() + X, button->Top() + 10});
        Application->ProcessMessages();
    }
    // The pixel at a point of the button.
    TColor buttonPixel(Integer X, Integer Y) {
        Application->ProcessMessages();
        return PixelAt(form->Handle(), {button->Left() + X, button->Top() + Y});
    }
    TRect popupScreenRect() {
        RECT R;
        GetWindowRect(popupWindow(), &R);
        return R;
    }
};

class ClickCounter : public TObject {
public:
    Integer clicks = 0;
    void Clicked(TObject*) { ++clicks; }
};

TEST_F(ColorPickerButtonTest, OnChangeFiresOncePerNewColour) {
    button->SetSelectionColor(clBlack);
    EXPECT_TRUE(events.changes.empty());
    button->SetSelectionColor(clRed);
    button->SetSelectionColor(clRed);
    button->SetSelectionColor(clBtnFace);
    EXPECT_EQ(events.changes, (std::vector<TColor>{clRed, clBtnFace}));
    EXPECT_EQ(buttonPixel(10, 10), 0xC0C0C0);
}

TEST_F(ColorPickerButtonTest, ThePressThatDropsDownStartsOneColumnIntoTheArrowPart) {
    ClickCounter counter;
    button->OnClick = TNotifyEvent(&counter, &ClickCounter::Clicked);
    pressAt(button->Width() - 15);
    EXPECT_FALSE(button->DroppedDown());
    EXPECT_FALSE(button->DropDownZone());
    EXPECT_EQ(counter.clicks, 1);
    EXPECT_FALSE(button->Down());
    pressAt(button->Width() - 14);
    EXPECT_TRUE(button->DroppedDown());
    EXPECT_TRUE(button->DropDownZone());
    EXPECT_EQ(counter.clicks, 1);
    EXPECT_EQ(events.dropChanges, 1);
    EXPECT_TRUE(IsWindowVisible(popupWindow()));
}

TEST_F(ColorPickerButtonTest, OnDropChangingCanRefuse) {
    events.allowDrop = false;
    pressAt(button->Width() - 5);
    EXPECT_FALSE(button->DroppedDown());
    EXPECT_TRUE(button->DropDownZone());
    EXPECT_EQ(events.dropChanges, 0);
    EXPECT_FALSE(IsWindowVisible(popupWindow()));
}

TEST_F(ColorPickerButtonTest, ClickOutsideFocusLossAndDeactivationCloseWithoutAChange) {
    button->SetSelectionColor(clRed);
    events.changes.clear();
    dropDown();
    ASSERT_TRUE(button->DroppedDown());
    backend.Click(form->Handle(), {300, 200});
    Application->ProcessMessages();
    EXPECT_FALSE(button->DroppedDown());

    dropDown();
    popup()->Perform(WM_KILLFOCUS, 0, 0);
    EXPECT_FALSE(button->DroppedDown());

    dropDown();
    SendMessageA(popupWindow(), WM_ACTIVATEAPP, 1, 0);
    EXPECT_TRUE(button->DroppedDown());
    SendMessageA(popupWindow(), WM_ACTIVATEAPP, 0, 0);
    EXPECT_FALSE(button->DroppedDown());
    EXPECT_FALSE(IsWindowVisible(popupWindow()));
    EXPECT_EQ(button->SelectionColor(), clRed);
    EXPECT_TRUE(events.changes.empty());
}

TEST_F(ColorPickerButtonTest, PopupOpensBelowTheButtonOrAboveItNearTheBottomAndShiftsLeftNearTheRight) {
    dropDown();
    const TPoint below = form->ClientToScreen({button->Left() - 1, button->Top() + button->Height()});
    EXPECT_EQ(popupScreenRect().Left, below.x);
    EXPECT_EQ(popupScreenRect().Top, below.y);
    button->SetDroppedDown(false);

    form->SetBounds(1024 - 340, 768 - 60, 340, 60);
    button->SetLeft(290);
    Application->ProcessMessages();
    dropDown();
    const TPoint buttonTop = form->ClientToScreen({button->Left(), button->Top()});
    const TRect placed = popupScreenRect();
    EXPECT_EQ(placed.Bottom, buttonTop.y);
    EXPECT_EQ(placed.Right, 1024);
    button->SetDroppedDown(false);

    form->SetBounds(-40, 10, 300, 100);
    button->SetLeft(0);
    dropDown();
    EXPECT_EQ(popupScreenRect().Left, 0);
}

TEST_F(ColorPickerButtonTest, FlatWizardButtonPaintsItsIndicatorAndArrow) {
    button->SetHeight(21);
    button->SetSelectionColor(0x3366CC);
    // The indicator (3, 3, 25, 18): a shadow frame around the colour.
    EXPECT_EQ(buttonPixel(3, 3), 0x808080);
    EXPECT_EQ(buttonPixel(24, 17), 0x808080);
    EXPECT_EQ(buttonPixel(4, 4), 0x3366CC);
    EXPECT_EQ(buttonPixel(23, 16), 0x3366CC);
    EXPECT_EQ(buttonPixel(25, 10), 0xC0C0C0);
    EXPECT_EQ(buttonPixel(10, 18), 0xC0C0C0);
    // No edges until the mouse comes.
    EXPECT_EQ(buttonPixel(0, 0), 0xC0C0C0);
    // The arrow: 6 wide and 3 high from (34, 10).
    EXPECT_EQ(buttonPixel(35, 10), clBlack);
    EXPECT_EQ(buttonPixel(36, 11), clBlack);
    EXPECT_EQ(buttonPixel(37, 13), clBlack);
    EXPECT_EQ(buttonPixel(37, 14), 0xC0C0C0);

    button->Perform(CM_MOUSEENTER, 0, 0);
    EXPECT_TRUE(button->MouseInControl());
    EXPECT_EQ(buttonPixel(0, 0), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(buttonPixel(44, 20), ColorToRGB(clBtnShadow));
}

TEST_F(ColorPickerButtonTest, DisabledArrowIsShadowWithoutOutlineAndPressesAreIgnored) {
    button->SetDropDownArrowColor(clRed);
    EXPECT_EQ(buttonPixel(36, 11), clRed);
    button->SetEnabled(false);
    EXPECT_EQ(buttonPixel(36, 11), ColorToRGB(clBtnShadow));
    EXPECT_EQ(button->State(), bsDisabled);
    pressAt(button->Width() - 5);
    EXPECT_FALSE(button->DroppedDown());
}

TEST_F(ColorPickerButtonTest, SystemColourIndicatorShowsTheCurrentSystemColour) {
    button->SetSelectionColor(clHighlight);
    EXPECT_EQ(buttonPixel(10, 10), static_cast<TColor>(GetSysColor(COLOR_HIGHLIGHT)));
}

TEST_F(ColorPickerButtonTest, CaptionPutsTheIndicatorUnderTheText) {
    button->SetBounds(20, 30, 90, 40);
    button->SetCaption("Text");
    button->SetSelectionColor(clRed);
    Application->ProcessMessages();
    bool foundBar = false;
    for (Integer y = 0; y < 40 && !foundBar; ++y)
        foundBar = buttonPixel(37, y) == clRed;
    EXPECT_TRUE(foundBar);
    // The bar stays two pixels above the inner bottom edge.
    EXPECT_NE(buttonPixel(37, 40 - 3), clRed);
}

TEST_F(ColorPickerButtonTest, GroupedButtonsStayDownOneAtATime) {
    auto* other = new TColorPickerButton(form.get());
    other->SetBounds(100, 30, 45, 21);
    other->SetParent(form.get());
    button->SetGroupIndex(1);
    other->SetGroupIndex(1);
    pressAt(10);
    EXPECT_TRUE(button->Down());
    EXPECT_EQ(button->State(), bsExclusive);
    backend.Click(form->Handle(), {110, 40});
    Application->ProcessMessages();
    EXPECT_TRUE(other->Down());
    EXPECT_FALSE(button->Down());
    // Without AllowAllUp a down button cannot be raised directly.
    other->SetDown(false);
    EXPECT_TRUE(other->Down());
    // Without a group a button never stays down.
    auto* single = new TColorPickerButton(form.get());
    single->SetDown(true);
    EXPECT_FALSE(single->Down());
}

TEST_F(ColorPickerButtonTest, GlyphImageCountFollowsTheBitmapsShape) {
    struct Case {
        Integer width, height, before, after;
    };
    for (const Case c : {Case{64, 16, 1, 4}, Case{80, 16, 2, 1}, Case{40, 16, 2, 2}, Case{16, 16, 3, 1}}) {
        SCOPED_TRACE(c.width);
        button->SetNumGlyphs(c.before);
        TBitmap bitmap;
        bitmap.SetSize(c.width, c.height);
        button->SetGlyph(&bitmap);
        EXPECT_EQ(button->NumGlyphs(), c.after);
    }
    button->SetNumGlyphs(7);
    EXPECT_EQ(button->NumGlyphs(), 4);
}

TEST_F(ColorPickerButtonTest, GlyphLeavesTheIndicatorBesideIt) {
    TBitmap bitmap;
    bitmap.SetSize(10, 10);
    bitmap.Canvas()->Brush()->SetColor(clLime);
    bitmap.Canvas()->FillRect({0, 0, 10, 10});
    bitmap.Canvas()->SetPixels(0, 9, clOlive);
    button->SetBounds(20, 30, 80, 24);
    button->SetGlyph(&bitmap);
    button->SetSelectionColor(clRed);
    Application->ProcessMessages();
    Integer glyphLeft = -1, indicatorLeft = -1;
    for (Integer x = 0; x < 80; ++x) {
        const TColor pixel = buttonPixel(x, 12);
        if (glyphLeft < 0 && pixel == clLime) glyphLeft = x;
        if (indicatorLeft < 0 && pixel == clRed) indicatorLeft = x;
    }
    ASSERT_GE(glyphLeft, 0);
    // The indicator's frame starts 4 pixels after the glyph, its colour one further.
    EXPECT_EQ(indicatorLeft, glyphLeft + 10 + 4 + 1);
}

// A button without a glyph shows its action's image, keyed on fuchsia.
TEST_F(ColorPickerButtonTest, AnActionsImageBecomesTheGlyph) {
    TBitmap picture;
    picture.SetSize(10, 10);
    picture.Canvas()->Brush()->SetColor(clFuchsia);
    picture.Canvas()->FillRect({0, 0, 10, 10});
    picture.Canvas()->Brush()->SetColor(clLime);
    picture.Canvas()->FillRect({2, 2, 8, 8});
    TImageList images(nullptr);
    images.SetWidth(10);
    images.SetHeight(10);
    images.AddMasked(&picture, clFuchsia);
    TActionList actions(nullptr);
    actions.SetImages(&images);
    TAction action(nullptr);
    action.SetActionList(&actions);
    action.SetImageIndex(0);
    button->SetBounds(20, 30, 80, 24);
    button->SetAction(&action);
    ASSERT_EQ(button->Glyph()->Width(), 10);
    EXPECT_EQ(button->Glyph()->Canvas()->Pixels(0, 0), clFuchsia);
    EXPECT_EQ(button->Glyph()->Canvas()->Pixels(5, 5), clLime);
    Application->ProcessMessages();
    Integer lime = 0;
    for (Integer x = 0; x < 80; ++x)
        for (Integer y = 0; y < 24; ++y)
            if (buttonPixel(x, y) == clLime) ++lime;
    EXPECT_EQ(lime, 6 * 6);
}

} // namespace

namespace {

TEST_F(ColorPickerButtonTest, WizardButtonsAreReadFromAndWrittenToFormResources) {
    TForm read(nullptr);
    ReadComponentText("object Wizard: TForm\n"
                      "  Left = 0\n  Top = 0\n  Width = 300\n  Height = 200\n"
                      "  object WColorBtn1: TColorPickerButton\n"
                      "    Left = 8\n    Top = 8\n    Width = 45\n    Height = 21\n"
                      "    CustomText = 'More Colors...'\n    DefaultText = 'Default'\n"
                      "    Flat = True\n    PopupSpacing = 8\n    SelectionColor = clBtnFace\n"
                      "    ShowSystemColors = False\n"
                      "  end\n"
                      "  object WColorBtn2: TColorPickerButton\n"
                      "    Left = 60\n    Top = 8\n    Width = 45\n    Height = 21\n"
                      "    Flat = True\n    PopupSpacing = 8\n    ShowSystemColors = False\n"
                      "  end\n"
                      "end\n",
                      &read);
    auto* first = dynamic_cast<TColorPickerButton*>(read.FindComponent("WColorBtn1"));
    auto* second = dynamic_cast<TColorPickerButton*>(read.FindComponent("WColorBtn2"));
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->SelectionColor(), clBtnFace);
    EXPECT_EQ(first->CustomText(), "More Colors...");
    EXPECT_EQ(first->DefaultText(), "Default");
    EXPECT_TRUE(first->Flat());
    EXPECT_EQ(first->PopupSpacing(), 8);
    EXPECT_EQ(second->SelectionColor(), clBlack);
    EXPECT_EQ(first->ColorPopup()->WindowRect().Width(), 164);

    const AnsiString text = WriteComponentText(&read);
    EXPECT_NE(text.find("SelectionColor = clBtnFace"), AnsiString::npos);
    EXPECT_NE(text.find("PopupSpacing = 8"), AnsiString::npos);
    EXPECT_NE(text.find("ShowSystemColors = False"), AnsiString::npos);
    // The second button's black is the default and is not written.
    EXPECT_EQ(text.find("SelectionColor", text.find("WColorBtn2")), AnsiString::npos);
}

} // namespace
