// The slider: values and thumb offsets both ways in both orientations,
// keyboard steps, snapping, the order of its two events for each kind of
// input, the ruler's repeat on the stepped clock, its pictures, its refusals
// and sizes too small to divide by. Sliders of each kind are saved under the
// build folder (rx-sliders.png).
#include "rx/RXSlider.h"

#include "rx/RXCtrls.h"
#include "rx/tests/RxTestSupport.h"

#include "platform/win/Cursors.h"

namespace {

struct SliderLog : TObject {
    std::vector<std::string> events;
    TRxSlider* slider = nullptr;
    void Change(TObject*) { events.push_back("change " + std::to_string(slider->Value())); }
    void Changed(TObject*) { events.push_back("changed"); }
};

class SliderTest : public VisualTest {
protected:
    std::unique_ptr<TForm> form = plainForm(400, 300);
    SliderLog log;

    TRxSlider* slider(TSliderOrientation Orientation = soHorizontal, Place Bounds = {10, 10, 212, 40}) {
        auto* created = child<TRxSlider>(form.get(), alNone, Bounds);
        created->SetOrientation(Orientation);
        created->SetBounds(Bounds.left, Bounds.top, Bounds.width, Bounds.height);
        created->OnChange = TNotifyEvent(&log, &SliderLog::Change);
        created->OnChanged = TNotifyEvent(&log, &SliderLog::Changed);
        log.slider = created;
        form->Show();
        Application->ProcessMessages();
        log.events.clear();
        return created;
    }

    void press(UINT Key) {
        backend.PressKey(Key);
        Application->ProcessMessages();
    }

    using Events = std::vector<std::string>;
};

TEST_F(SliderTest, ValuesAndOffsetsConvertBothWaysInBothOrientations) {
    // 212 wide: a ruler of 200 pixels, a thumb of 9: 191 pixels for 0 .. 100.
    auto* horizontal = slider();
    EXPECT_EQ(horizontal->Ruler()->Width(), 200);
    EXPECT_EQ(horizontal->GetOffsetByValue(0), 6);
    EXPECT_EQ(horizontal->GetOffsetByValue(50), 6 + 96);
    EXPECT_EQ(horizontal->GetOffsetByValue(100), 6 + 191);
    EXPECT_EQ(horizontal->GetValueByOffset(6 + 96), 50);
    EXPECT_EQ(horizontal->GetValueByOffset(0), 0);
    horizontal->SetValue(50);
    EXPECT_EQ(horizontal->ThumbRect().Left, 102);

    // 212 high: a ruler of 200, a thumb of 9; larger values are higher.
    auto* vertical = slider(soVertical, {240, 10, 40, 212});
    EXPECT_EQ(vertical->Ruler()->Height(), 200);
    EXPECT_EQ(vertical->GetOffsetByValue(100), 6);
    EXPECT_EQ(vertical->GetOffsetByValue(0), 212 - 6 - 9);
    EXPECT_EQ(vertical->GetValueByOffset(6), 100);
    EXPECT_EQ(vertical->GetValueByOffset(212 - 6 - 9), 0);
    vertical->SetValue(100);
    EXPECT_EQ(vertical->ThumbRect().Top, 6);
}

TEST_F(SliderTest, KeysStepFromTheNearestMultipleOfTheIncrement) {
    auto* s = slider();
    s->SetValue(25);
    s->SetFocus();
    log.events.clear();
    press(VK_RIGHT);
    EXPECT_EQ(s->Value(), 30);
    s->SetValue(25);
    log.events.clear();
    press(VK_LEFT);
    EXPECT_EQ(s->Value(), 10);
    EXPECT_EQ(log.events, (Events{"change 10", "changed"}));
    press(VK_END);
    EXPECT_EQ(s->Value(), 100);
    press(VK_HOME);
    EXPECT_EQ(s->Value(), 0);
    auto* vertical = slider(soVertical, {240, 10, 40, 212});
    vertical->SetFocus();
    press(VK_UP);
    EXPECT_EQ(vertical->Value(), 10);
}

TEST_F(SliderTest, WithoutSmoothOffsetsSnapToTheIncrement) {
    auto* s = slider();
    s->SetMinValue(3);
    EXPECT_EQ(s->GetValueByOffset(6 + 96), 52);
    s->SetOptions({soShowPoints});
    EXPECT_EQ(s->GetValueByOffset(6 + 96), 53) << "MinValue plus a multiple of Increment";
}

TEST_F(SliderTest, ProgrammaticValuesFireOnlyOnChange) {
    auto* s = slider();
    s->SetValue(40);
    s->SetValue(40);
    s->SetValue(500);
    EXPECT_EQ(log.events, (Events{"change 40", "change 100"}));
    log.events.clear();
    s->SetMinValue(20);
    s->SetMaxValue(30);
    EXPECT_EQ(s->Value(), 30);
    s->SetMinValue(40);
    EXPECT_EQ(s->MinValue(), 20) << "a minimum not below the maximum is ignored";
}

TEST_F(SliderTest, ADragChangesOnEveryValueAndEndsWithChanged) {
    auto* s = slider();
    const TRect thumb = s->ThumbRect();
    HWND window = s->Handle();
    backend.MouseDown(window, {thumb.Left + 4, thumb.Top + 4});
    Application->ProcessMessages();
    backend.MoveMouse(window, {thumb.Left + 4 + 96, thumb.Top + 4});
    Application->ProcessMessages();
    backend.MoveMouse(window, {thumb.Left + 4 + 500, thumb.Top + 4});
    Application->ProcessMessages();
    backend.MouseUp(window, {thumb.Left + 4 + 500, thumb.Top + 4});
    Application->ProcessMessages();
    EXPECT_EQ(log.events, (Events{"change 50", "change 100", "changed"}));
    EXPECT_EQ(s->ThumbRect().Left, 6 + 191);
}

TEST_F(SliderTest, HoldingTheRulerStepsEvery400MillisecondsUntilTheThumbArrives) {
    auto* s = slider();
    backend.UseSteppedTime(true);
    auto wait = [&](DWORD Milliseconds) {
        backend.AdvanceTime(Milliseconds);
        Application->ProcessMessages();
    };
    HWND window = s->Handle();
    const POINT beyond{6 + 40, s->RulerOrigin().y + 2};
    backend.MouseDown(window, beyond);
    Application->ProcessMessages();
    EXPECT_EQ(s->Value(), 10);
    wait(399);
    EXPECT_EQ(s->Value(), 10);
    wait(1);
    EXPECT_EQ(s->Value(), 20);
    wait(400);
    wait(400);
    EXPECT_EQ(s->Value(), 20) << "the thumb lies under the mouse now";
    backend.MouseUp(window, beyond);
    Application->ProcessMessages();
    EXPECT_EQ(log.events, (Events{"change 10", "change 20", "changed"}));
    backend.UseSteppedTime(false);
}

TEST_F(SliderTest, IncrementsOutsideTheRangeAreRefused) {
    auto* s = slider();
    for (Integer bad : {0, 101}) {
        try {
            s->SetIncrement(bad);
            FAIL() << bad;
        } catch (const Exception& error) {
            EXPECT_EQ(error.Message, "Value must be between 1 and 100");
        }
    }
    EXPECT_EQ(s->Increment(), 10);
}

TEST_F(SliderTest, NoPictureBringsBackTheDefaultAndDropsItsOpaqueOption) {
    auto* s = slider();
    TBitmap ruler;
    ruler.SetSize(20, 8);
    s->SetImageHRuler(&ruler);
    s->SetOptions(s->Options() + TSliderOptions{soRulerOpaque, soThumbOpaque});
    EXPECT_TRUE(s->UserImages().Contains(siHRuler));
    EXPECT_EQ(s->ImageHRuler()->Width(), 20);
    s->SetImageHRuler(nullptr);
    EXPECT_EQ(s->ImageHRuler()->Width(), 10);
    EXPECT_FALSE(s->UserImages().Contains(siHRuler));
    EXPECT_FALSE(s->Options().Contains(soRulerOpaque));
    EXPECT_TRUE(s->Options().Contains(soThumbOpaque));
}

TEST_F(SliderTest, SizesTooSmallToDivideByPutTheThumbAtTheStart) {
    auto* s = slider(soHorizontal, {10, 10, 20, 40});
    s->SetValue(70);
    EXPECT_EQ(s->GetOffsetByValue(70), 6);
    EXPECT_EQ(s->GetValueByOffset(30), 0);
    Application->ProcessMessages();
    // A ruler picture without a middle is drawn as it is.
    TBitmap edgesOnly;
    edgesOnly.SetSize(4, 8);
    s->SetBounds(10, 10, 212, 40);
    s->SetImageHRuler(&edgesOnly);
    EXPECT_EQ(s->Ruler()->Width(), 4);
    Application->ProcessMessages();
}

// A ruler picture 10 wide with edges of 2: its start, then its middle six
// columns over and over, then the end of the middle and its end edge, as
// the screen shows it beside the thumb.
TEST_F(SliderTest, TheRulerIsStretchedPieceByPiece) {
    auto* stretched = slider();
    TBitmap ruler;
    ruler.SetSize(10, 4);
    auto columnColour = [](Integer Column) {
        return static_cast<TColor>(RGB(20 * Column, 250 - 20 * Column, 100));
    };
    for (Integer x = 0; x < 10; ++x) {
        for (Integer y = 0; y < 3; ++y)
            ruler.Canvas()->SetPixels(x, y, columnColour(x));
        ruler.Canvas()->SetPixels(x, 3, clFuchsia);
    }
    stretched->SetImageHRuler(&ruler);
    stretched->SetValue(100);
    Application->ProcessMessages();
    // 200 pixels: columns 0..7 from the start, 194..199 from source 4..9, the rest repeat 2..7.
    auto sourceColumn = [](Integer X) { return X < 8 ? X : X >= 194 ? X - 190 : 2 + (X - 2) % 6; };
    const TPoint origin = stretched->RulerOrigin();
    const TRect thumb = stretched->ThumbRect();
    for (Integer x = 0; x < 200; ++x) {
        const Integer screenX = stretched->Left() + origin.x + x;
        if (origin.x + x >= thumb.Left && origin.x + x < thumb.Right) continue;
        EXPECT_EQ(PixelAt(form->Handle(), {screenX, stretched->Top() + origin.y}),
                  columnColour(sourceColumn(x)))
            << x;
    }
}

// Ticks at every Increment, the two ends longer, in the window text colour
// below the ruler.
TEST_F(SliderTest, TickMarksStandAtEveryIncrementWithLongerEnds) {
    auto* ticked = slider();
    ASSERT_TRUE(ticked->Options().Contains(soShowPoints));
    const auto image = Headless().Capture(form->Handle(), true);
    auto pixel = [&](Integer X, Integer Y) {
        return static_cast<TColor>(ColorRefFromPixel(image->Row(Y)[X] & PixelColourMask));
    };
    // The points start one row below the thumb (17 high) that stands 6 below the top.
    const Integer top = ticked->Top() + 6 + 17 + 1;
    for (Integer value = 0; value <= 100; value += 10) {
        const Integer x = ticked->Left() + ticked->GetOffsetByValue(value) + 9 / 2;
        const Integer length = value == 0 || value == 100 ? 5 : 3;
        for (Integer y = top; y < top + length; ++y)
            EXPECT_EQ(pixel(x, y), ColorToRGB(clWindowText)) << value << " " << y - top;
        EXPECT_NE(pixel(x, top + length), ColorToRGB(clWindowText)) << value;
        EXPECT_NE(pixel(x + 1, top), ColorToRGB(clWindowText)) << value;
    }
}

// Over the thumb the pointer is the hand; elsewhere it is the slider's own.
TEST_F(SliderTest, TheHandCursorShowsOverTheThumb) {
    auto* handled = slider();
    handled->SetValue(50);
    Application->ProcessMessages();
    const TRect thumb = handled->ThumbRect();
    backend.MoveMouse(form->Handle(), {handled->Left() + thumb.Left + 3, handled->Top() + thumb.Top + 5});
    Application->ProcessMessages();
    EXPECT_EQ(GetCursor(), Screen->Cursors(crHand));
    backend.MoveMouse(form->Handle(), {handled->Left() + 20, handled->Top() + thumb.Top + 5});
    Application->ProcessMessages();
    EXPECT_NE(GetCursor(), Screen->Cursors(crHand));
}

TEST_F(SliderTest, SlidersOfEachKindAreSavedForAPersonToLookAt) {
    auto* plain = slider();
    plain->SetValue(30);
    auto* focused = slider(soHorizontal, {10, 60, 212, 40});
    focused->SetValue(70);
    focused->SetIncrement(5);
    auto* disabled = slider(soHorizontal, {10, 110, 212, 40});
    disabled->SetValue(50);
    disabled->SetEnabled(false);
    auto* vertical = slider(soVertical, {240, 10, 40, 212});
    vertical->SetValue(60);
    auto* bevelled = slider(soVertical, {300, 10, 40, 212});
    bevelled->SetBevelStyle(bvLowered);
    focused->SetFocus();
    Application->ProcessMessages();
    EXPECT_TRUE(backend.SavePng(form->Handle(), ScreenshotPath("rx-sliders.png")));
}

} // namespace
