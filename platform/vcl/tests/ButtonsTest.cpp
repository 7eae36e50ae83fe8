// The speed button: latching in groups, pressing with the mouse, the layout
// of glyph and caption, and its pixels. Writes speed-buttons.png into the
// build folder for a person to look at.
#include "VisualTestSupport.h"

#include "platform/vcl/Buttons.h"
#include "platform/win/SysColors.h"

#include <filesystem>

namespace {

constexpr Integer GlyphSide = 16;

// A square glyph: a red square on an olive (transparent) ground with a black
// frame round the square, repeated Images times side by side, each image's
// square a little lighter.
std::unique_ptr<TBitmap> makeGlyph(Integer Images = 1) {
    auto glyph = std::make_unique<TBitmap>();
    glyph->SetSize(GlyphSide * Images, GlyphSide);
    TCanvas* canvas = glyph->Canvas();
    canvas->Brush()->SetColor(clOlive);
    canvas->FillRect({0, 0, GlyphSide * Images, GlyphSide});
    for (Integer i = 0; i < Images; ++i) {
        const Integer left = i * GlyphSide;
        canvas->Brush()->SetColor(clBlack);
        canvas->FillRect({left + 3, 3, left + 13, 13});
        canvas->Brush()->SetColor(static_cast<TColor>(0x0000C0 + 0x10 * i));
        canvas->FillRect({left + 4, 4, left + 12, 12});
    }
    return glyph;
}

class ButtonsTest : public VisualTest {
protected:
    std::unique_ptr<TForm> form = plainForm(300, 120);
    Integer clicks = 0;

    void SetUp() override {
        VisualTest::SetUp();
        form->SetColor(clWhite);
    }
    void show() {
        form->Show();
        Application->ProcessMessages();
    }
    TSpeedButton* button(Integer Left, Integer Group = 0) {
        auto* result = child<TSpeedButton>(form.get(), alNone, {Left, 10, 23, 22});
        result->SetGroupIndex(Group);
        result->OnClick = TNotifyEvent(this, &ButtonsTest::counted);
        return result;
    }
    void click(TControl* Control, TPoint At = {5, 5}) {
        backend.Click(form->Handle(), {Control->Left() + At.x, Control->Top() + At.y});
        Application->ProcessMessages();
    }
    TColor pixel(TPoint Point) { return PixelAt(form->Handle(), Point); }

private:
    void counted(TObject*) { ++clicks; }
};

TEST_F(ButtonsTest, AGroupLatchesOneButtonAtATime) {
    TSpeedButton* first = button(10, 1);
    TSpeedButton* second = button(40, 1);
    TSpeedButton* other = button(70, 2);
    other->SetDown(true);
    show();
    click(first);
    EXPECT_TRUE(first->Down());
    EXPECT_EQ(first->State(), bsExclusive);
    click(second);
    EXPECT_FALSE(first->Down());
    EXPECT_TRUE(second->Down());
    EXPECT_TRUE(other->Down()) << "another group is left alone";
    click(second);
    EXPECT_TRUE(second->Down()) << "the group may not be all up";
    EXPECT_EQ(clicks, 3) << "a click on the down button still clicks";
    first->SetAllowAllUp(true);
    EXPECT_TRUE(second->AllowAllUp()) << "the group shares AllowAllUp";
    click(second);
    EXPECT_FALSE(second->Down());
    second->SetDown(true);
    first->SetDown(true);
    EXPECT_FALSE(second->Down());
}

TEST_F(ButtonsTest, AnUngroupedButtonNeverStaysDown) {
    TSpeedButton* plain = button(10);
    plain->SetDown(true);
    EXPECT_FALSE(plain->Down());
    show();
    click(plain);
    EXPECT_FALSE(plain->Down());
    EXPECT_EQ(plain->State(), bsUp);
    EXPECT_EQ(clicks, 1);
}

TEST_F(ButtonsTest, PressingFollowsTheMouseAndReleasingOutsideDoesNotClick) {
    TSpeedButton* plain = button(10);
    show();
    backend.MouseDown(form->Handle(), {15, 15});
    Application->ProcessMessages();
    EXPECT_EQ(plain->State(), bsDown);
    backend.MoveMouse(form->Handle(), {100, 100});
    Application->ProcessMessages();
    EXPECT_EQ(plain->State(), bsUp);
    backend.MoveMouse(form->Handle(), {15, 15});
    Application->ProcessMessages();
    EXPECT_EQ(plain->State(), bsDown);
    backend.MoveMouse(form->Handle(), {100, 100});
    backend.MouseUp(form->Handle(), {100, 100});
    Application->ProcessMessages();
    EXPECT_EQ(plain->State(), bsUp);
    EXPECT_EQ(clicks, 0);
}

TEST_F(ButtonsTest, AGlyphOfSeveralImagesSetsNumGlyphs) {
    TSpeedButton* plain = button(10);
    for (auto [images, expected] : {std::pair{2, 2}, {4, 4}, {5, 1}, {1, 1}}) {
        plain->SetNumGlyphs(3);
        plain->SetGlyph(makeGlyph(images).get());
        EXPECT_EQ(plain->NumGlyphs(), expected) << images << " images";
    }
}

// Glyph 16 wide in a 100 x 30 client; no caption means no spacing.
TEST_F(ButtonsTest, LayoutPlacesTheGlyphByMarginAndLayout) {
    TSpeedButton* plain = button(10);
    plain->SetGlyph(makeGlyph().get());
    struct Case {
        TButtonLayout layout;
        Integer margin;
        TPoint glyph;
    };
    for (const Case& c :
         {Case{blGlyphLeft, -1, {42, 7}}, Case{blGlyphLeft, 5, {5, 7}}, Case{blGlyphRight, 5, {79, 7}},
          Case{blGlyphTop, 2, {42, 2}}, Case{blGlyphBottom, 2, {42, 12}}}) {
        plain->SetLayout(c.layout);
        plain->SetMargin(c.margin);
        EXPECT_EQ(plain->CalcButtonLayout(plain->Canvas(), {0, 0, 100, 30}).GlyphPos, c.glyph)
            << c.layout << " margin " << c.margin;
    }
}

TEST_F(ButtonsTest, LayoutSpacesGlyphAndCaption) {
    TSpeedButton* plain = button(10);
    plain->SetGlyph(makeGlyph().get());
    plain->SetCaption("Go");
    plain->Canvas()->SetFont(plain->Font());
    form->Show();
    const Integer textWidth = [&] {
        TBitmap measure;
        measure.Canvas()->SetFont(plain->Font());
        return measure.Canvas()->TextWidth("Go");
    }();
    const TRect client{0, 0, 100, 30};
    auto layout = plain->CalcButtonLayout(plain->Canvas(), client);
    const Integer margin = (100 - GlyphSide - 4 - textWidth + 1) / 2;
    EXPECT_EQ(layout.GlyphPos.x, margin);
    EXPECT_EQ(layout.TextBounds.Left, margin + GlyphSide + 4);
    EXPECT_EQ(layout.TextBounds.Width(), textWidth);
    plain->SetMargin(-1);
    plain->SetSpacing(-1);
    layout = plain->CalcButtonLayout(plain->Canvas(), client);
    const Integer third = (100 - GlyphSide - textWidth) / 3;
    EXPECT_EQ(layout.GlyphPos.x, third);
    EXPECT_EQ(layout.TextBounds.Left, 2 * third + GlyphSide);
    plain->SetMargin(10);
    layout = plain->CalcButtonLayout(plain->Canvas(), client);
    EXPECT_EQ(layout.TextBounds.Left, 10 + GlyphSide + (100 - 10 - GlyphSide - textWidth) / 2);
}

TEST_F(ButtonsTest, PixelsShowTheGlyphTheFrameAndTheLatchedPattern) {
    TSpeedButton* up = button(10, 1);
    TSpeedButton* down = button(40, 1);
    TSpeedButton* disabled = button(70);
    TSpeedButton* flat = button(100);
    for (TSpeedButton* each : {up, down, disabled, flat})
        each->SetGlyph(makeGlyph().get());
    down->SetDown(true);
    disabled->SetEnabled(false);
    flat->SetFlat(true);
    show();
    const TColor face = ColorToRGB(clBtnFace);
    // The 16 x 16 glyph is centred in the 19 x 18 room inside the frame.
    const TPoint upGlyph{10 + 2 + 2, 10 + 2 + 1};
    EXPECT_EQ(pixel({upGlyph.x + 8, upGlyph.y + 8}), 0x0000C0);
    EXPECT_EQ(pixel({upGlyph.x, upGlyph.y}), face) << "the glyph's ground is transparent";
    EXPECT_EQ(pixel({10, 10}), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(pixel({32, 31}), ColorToRGB(cl3DDkShadow));
    // Latched: sunken frame, pattern ground, glyph one pixel down and right.
    EXPECT_EQ(pixel({40, 10}), ColorToRGB(cl3DDkShadow));
    EXPECT_EQ(pixel({40 + 2 + 2 + 1 + 8, upGlyph.y + 1 + 8}), 0x0000C0);
    const TColor a = pixel({43, 13});
    const TColor b = pixel({44, 13});
    EXPECT_NE(a, b);
    EXPECT_TRUE((a == face && b == ColorToRGB(clBtnHighlight)) ||
                (b == face && a == ColorToRGB(clBtnHighlight)));
    // Disabled: the black frame of the square embossed, its red gone.
    const TPoint disabledGlyph{70 + 4, 10 + 3};
    EXPECT_EQ(pixel({disabledGlyph.x + 3, disabledGlyph.y + 5}), ColorToRGB(clBtnShadow));
    EXPECT_EQ(pixel({disabledGlyph.x + 8, disabledGlyph.y + 8}), face);
    EXPECT_EQ(pixel({disabledGlyph.x + 13, disabledGlyph.y + 8}), ColorToRGB(clBtnHighlight));
    // Flat and not under the mouse: no frame, the button's colour.
    EXPECT_EQ(pixel({100, 10}), flat->Color());
    // What the application's idle tracking tells the control under the mouse.
    flat->Perform(CM_MOUSEENTER, 0, 0);
    Application->ProcessMessages();
    EXPECT_EQ(pixel({100, 10}), ColorToRGB(clBtnHighlight)) << "raised while the mouse is over it";
}

// A transparent flat button shows its parent round the glyph, raised or not;
// an opaque one fills itself with its colour.
TEST_F(ButtonsTest, AFlatButtonIsSeeThroughUnlessMadeOpaque) {
    TSpeedButton* clear = button(10);
    TSpeedButton* opaque = button(40);
    for (TSpeedButton* each : {clear, opaque}) {
        each->SetFlat(true);
        each->SetColor(clYellow);
    }
    opaque->SetTransparent(false);
    EXPECT_TRUE(clear->Transparent());
    EXPECT_TRUE(opaque->ControlStyle().Contains(csOpaque));
    show();
    EXPECT_EQ(pixel({12, 12}), clWhite);
    EXPECT_EQ(pixel({42, 12}), clYellow);
    clear->Perform(CM_MOUSEENTER, 0, 0);
    Application->ProcessMessages();
    EXPECT_EQ(pixel({10, 10}), ColorToRGB(clBtnHighlight)) << "the raised edge is drawn";
    EXPECT_EQ(pixel({12, 12}), clWhite) << "but not the face";
}

TEST_F(ButtonsTest, Gallery) {
    form->SetBounds(10, 10, 330, 70);
    form->SetColor(clBtnFace);
    const std::vector<std::pair<TButtonLayout, const char*>> layouts{
        {blGlyphLeft, "Left"}, {blGlyphRight, "Right"}, {blGlyphTop, "Top"}, {blGlyphBottom, "Bottom"}};
    Integer left = 5;
    for (auto [layout, caption] : layouts) {
        auto* each = child<TSpeedButton>(form.get(), alNone, {left, 5, 75, 56});
        each->SetGlyph(makeGlyph().get());
        each->SetLayout(layout);
        each->SetCaption(caption);
        each->SetGroupIndex(layout == blGlyphTop ? 1 : 0);
        each->SetDown(true);
        each->SetEnabled(layout != blGlyphBottom);
        each->SetFlat(layout == blGlyphRight);
        left += 80;
    }
    show();
    const std::filesystem::path path =
        std::filesystem::path(ProgramFolder()).parent_path() / "speed-buttons.png";
    ASSERT_TRUE(backend.SavePng(form->Handle(), path.string()));
}

} // namespace
