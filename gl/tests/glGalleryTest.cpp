// Pictures for a person to look at, under build/screenshots: the group box in
// each text style, expanded and collapsed, with gradients and glyphs, and the
// gradient in every direction.
#include "gl/glCommCl.h"
#include "gl/glGrBox.h"
#include "gl/tests/glTestSupport.h"
#include "platform/vcl/ExtCtrls.h"

namespace {

class GalleryTest : public GlVisualTest {};

// A small arrow glyph on an olive background, which the box takes as transparent.
void drawArrowGlyph(TBitmap* Glyph, bool Down) {
    Glyph->SetSize(9, 9);
    TCanvas* canvas = Glyph->Canvas();
    canvas->Brush()->SetColor(clOlive);
    canvas->FillRect({0, 0, 9, 9});
    canvas->Brush()->SetColor(clBlack);
    canvas->Pen()->SetColor(clBlack);
    if (Down)
        canvas->Polygon({TPoint{1, 2}, TPoint{7, 2}, TPoint{4, 6}});
    else
        canvas->Polygon({TPoint{2, 1}, TPoint{6, 4}, TPoint{2, 7}});
}

TEST_F(GalleryTest, GroupBoxesInEveryTextStyle) {
    auto form = plainForm(660, 420);
    form->SetColor(clBtnFace);
    const TglTextStyle styles[] = {fstNone, fstRaised, fstRecessed, fstPushed, fstShadow, fstVolumetric};
    const char* names[] = {"None", "Raised", "Recessed", "Pushed", "Shadow", "Volumetric"};
    TBitmap collapsedGlyph;
    TBitmap expandedGlyph;
    drawArrowGlyph(&collapsedGlyph, false);
    drawArrowGlyph(&expandedGlyph, true);
    std::vector<TglGroupBox*> boxes;
    for (int index = 0; index < 6; ++index) {
        for (int column = 0; column < 2; ++column) {
            auto* box = new TglGroupBox(form.get());
            box->SetParent(form.get());
            box->SetBounds(10 + column * 325, 10 + index * 68, 315, 60);
            box->SetCaption(AnsiString("Style ") + names[index]);
            box->SetCaptionTextStyle(styles[index]);
            box->SetGlyphCollapsed(&collapsedGlyph);
            box->SetGlyphExpanded(&expandedGlyph);
            box->Colors()->SetTextActive(clWhite);
            if (index % 2 == 1) {
                box->Gradient()->SetActive(true);
                box->Gradient()->SetFromColor(RGB(40, 60, 120));
                box->Gradient()->SetToColor(RGB(200, 210, 240));
                box->CaptionGradient()->SetActive(true);
                box->CaptionGradient()->SetOrientation(fgdVertical);
            }
            if (index == 4) box->SetOptions(box->Options() + TglGrBoxOptions{fgoDelineatedText});
            if (index == 5) box->CaptionBorder()->SetOuter(bvRaised);
            if (column == 1 && index == 3) box->SetEnabled(false);
            boxes.push_back(box);
        }
    }
    form->Show();
    Application->ProcessMessages();
    // The left column collapsed, the right one expanded.
    for (std::size_t index = 0; index < boxes.size(); index += 2)
        boxes[index]->Collapse(true);
    Application->ProcessMessages();
    EXPECT_TRUE(backend.SavePng(form->Handle(), (screenshotFolder() / "gl-group-boxes.png").string()));
}

TEST_F(GalleryTest, GradientsInEveryDirection) {
    auto form = plainForm(560, 250);
    form->SetColor(clWhite);
    TBitmap picture;
    picture.SetSize(560, 250);
    picture.Canvas()->Brush()->SetColor(clWhite);
    picture.Canvas()->FillRect({0, 0, 560, 250});
    const TglGradientDir directions[] = {fgdHorizontal, fgdVertical,       fgdLeftBias,      fgdRightBias,
                                         fgdRectangle,  fgdHorzConvergent, fgdVertConvergent};
    TGradient gradient;
    gradient.SetActive(true);
    gradient.SetFromColor(RGB(200, 30, 30));
    gradient.SetToColor(RGB(30, 30, 200));
    for (int index = 0; index < 7; ++index) {
        gradient.SetOrientation(directions[index]);
        const TRect place{10 + (index % 4) * 135, 10 + (index / 4) * 120, 135 + (index % 4) * 135,
                          120 + (index / 4) * 120};
        gradient.Draw(picture.Canvas()->Handle(), place, PS_SOLID, 1);
    }
    gradient.SetOrientation(fgdHorizontal);
    gradient.SetBrushStyle(bsDiagCross);
    gradient.Draw(picture.Canvas()->Handle(), {415, 130, 540, 240}, PS_SOLID, 1);
    auto* image = child<TImage>(form.get(), alClient, {0, 0, 560, 250});
    image->Picture()->SetBitmap(&picture);
    form->Show();
    Application->ProcessMessages();
    EXPECT_TRUE(backend.SavePng(form->Handle(), (screenshotFolder() / "gl-gradients.png").string()));
}

} // namespace
