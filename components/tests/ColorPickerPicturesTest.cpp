// Pictures of the colour picker for a person to look at (build/screenshots/).
#include "components/tests/ColorPickerTestSupport.h"

namespace {

class ColorPickerPictures : public ColorPickerTest {};

TEST_F(ColorPickerPictures, WizardRowClosedHoveredDroppedAndWithComb) {
    button->SetSelectionColor(clBtnFace);
    for (Integer i = 1; i < 7; ++i) {
        auto* other = new TColorPickerButton(form.get());
        other->SetBounds(20 + i * 50, 30, 45, 21);
        other->SetFlat(true);
        other->SetSelectionColor(TColorPopup::ColorValue(i * 5));
        other->SetParent(form.get());
    }
    Application->ProcessMessages();
    EXPECT_TRUE(backend.SavePng(form->Handle(), screenshotPath("colorpicker-closed")));

    // The application tells the control under the mouse when it idles.
    backend.MoveMouse(form->Handle(), {button->Left() + 10, button->Top() + 10});
    button->Perform(CM_MOUSEENTER, 0, 0);
    Application->ProcessMessages();
    EXPECT_TRUE(backend.SavePng(form->Handle(), screenshotPath("colorpicker-hovered")));

    dropDown();
    ASSERT_TRUE(button->DroppedDown());
    movePopup(cellCentre(20));
    EXPECT_TRUE(backend.SavePng(popupWindow(), screenshotPath("colorpicker-dropped")));

    clickPopup({popup()->CustomTextRect().Left + 5, popup()->CustomTextRect().Top + 5});
    ASSERT_TRUE(button->DroppedDown());
    EXPECT_EQ(popup()->SelectedIndex(), TColorPopup::CustomCell);
    const TRect comb = popup()->CombRect();
    const TPoint centre{comb.Left + popup()->CombSize(), comb.Top + popup()->CombSize()};
    backend.MouseDown(popupWindow(), {centre.x + 20, centre.y});
    Application->ProcessMessages();
    EXPECT_GT(popup()->CustomIndex(), 0);
    EXPECT_TRUE(backend.SavePng(popupWindow(), screenshotPath("colorpicker-comb")));
    backend.MouseUp(popupWindow(), {centre.x + 20, centre.y});
    Application->ProcessMessages();
}

} // namespace
