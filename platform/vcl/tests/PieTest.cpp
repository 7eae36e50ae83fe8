// The pie control: the sector between its angles is filled with the brush
// and the rest of the control left to its parent; angles come from form resources.
#include "VisualTestSupport.h"

#include "platform/vcl/Filers.h"
#include "platform/vcl/Pie.h"

namespace {

class PieTest : public VisualTest {};

TEST_F(PieTest, TheSectorBetweenTheAnglesIsFilledAndFollowsThem) {
    auto form = plainForm(200, 200);
    form->SetColor(clWhite);
    auto* pie = new TPie(form.get());
    pie->SetParent(form.get());
    pie->SetBounds(0, 0, 100, 100);
    pie->Brush()->SetColor(clRed);
    pie->Pen()->SetColor(clBlack);
    pie->Angles()->SetStart(60);
    pie->Angles()->SetEnd(120);
    form->Show();
    Application->ProcessMessages();
    HWND window = form->Handle();
    struct Case {
        TPoint point;
        TColor colour;
    };
    // Straight up lies between 60 and 120 degrees; right, left and down do not.
    for (Case test : {Case{{50, 15}, clRed}, Case{{85, 50}, clWhite}, Case{{15, 50}, clWhite},
                      Case{{50, 85}, clWhite}, Case{{150, 50}, clWhite}})
        EXPECT_EQ(PixelAt(window, test.point), test.colour) << test.point.x << "," << test.point.y;

    pie->Angles()->SetStart(-30);
    pie->Angles()->SetEnd(30);
    Application->ProcessMessages();
    EXPECT_EQ(PixelAt(window, {85, 50}), clRed);
    EXPECT_EQ(PixelAt(window, {50, 15}), clWhite);
}

TEST_F(PieTest, AnglesAreReadFromAFormResource) {
    TForm owner(nullptr);
    ReadComponentText("object Main: TForm\n"
                      "  object Pie1: TPie\n"
                      "    Left = 8\n    Top = 8\n    Width = 40\n    Height = 40\n"
                      "    Angles.StartAngle = 60\n    Angles.EndAngle = 120\n"
                      "    Brush.Color = clYellow\n"
                      "  end\n"
                      "end\n",
                      &owner);
    auto* pie = dynamic_cast<TPie*>(owner.FindComponent("Pie1"));
    ASSERT_NE(pie, nullptr);
    EXPECT_EQ(pie->Angles()->StartAngle(), 60);
    EXPECT_EQ(pie->Angles()->EndAngle(), 120);
    EXPECT_EQ(pie->Brush()->Color(), clYellow);
}

} // namespace
