#include "rx/RXCtrls.h"
#include "rx/tests/RxTestSupport.h"
#include "rx/tests/RxWatchdog.h"

#include "platform/core/Classes.h"
#include "platform/core/Clock.h"
#include "platform/vcl/Filers.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/Thread.h"
#include "platform/vcl/Pictures.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/win/BitmapFiles.h"
#include "platform/win/Fonts.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <thread>

using namespace std::chrono_literals;

namespace {

class TPlayLog : public TObject {
public:
    std::vector<std::string> events;
    std::vector<bool> onMainThread;
    void Started(TObject*) { note("start"); }
    void Stopped(TObject*) { note("stop"); }

private:
    void note(const char* Event) {
        events.push_back(Event);
        onMainThread.push_back(IsMainThread());
    }
};

class SecretPanelTest : public VisualTest {
protected:
    std::unique_ptr<TForm> form = plainForm(300, 200);
    TSecretPanel* panel = nullptr;
    TPlayLog log;

    void SetUp() override {
        VisualTest::SetUp();
        UseSteppedClock(true);
        form->SetColor(clWhite);
        panel = child<TSecretPanel>(form.get(), alNone, {10, 10, 120, 40});
        form->Show();
        Application->ProcessMessages();
    }
    void TearDown() override {
        form.reset();
        UseSteppedClock(false);
        VisualTest::TearDown();
    }

    // Moves the stepped clock one interval and lets the step reach the screen.
    void step(int Count = 1) {
        for (int i = 0; i < Count; ++i) {
            AdvanceClock(panel->Interval());
            const auto limit = std::chrono::steady_clock::now() + 10s;
            while (panel->StepDue()) {
                ASSERT_LT(std::chrono::steady_clock::now(), limit) << "the step did not end";
                if (!CheckSynchronize()) std::this_thread::yield();
            }
            Application->ProcessMessages();
        }
    }

    void setUpAsAboutBox(TSecretPanel* Panel) {
        Panel->SetBounds(8, 20, 146, 19);
        Panel->SetColor(clBlack);
        Panel->Font()->SetColor(clLime);
        Panel->Font()->SetName("Verdana");
        Panel->SetBevelOuter(bvNone);
        Panel->SetAlignment(taLeftJustify);
        Panel->SetGlyphLayout(glGlyphBottom);
        Panel->SetScrollDirection(sdHorizontal);
        Panel->SetCycled(true);
        Panel->SetInterval(50);
        Panel->Lines()->SetText("Thanks to everyone who sent scripts, fixes and translations");
        Panel->SetActive(true);
    }

    // Columns of the text rectangle that hold the font's colour.
    std::vector<Integer> litColumns(TColor FontColour) {
        std::vector<Integer> columns;
        const TRect text = panel->TextRect();
        for (Integer x = text.Left; x < text.Right; ++x)
            for (Integer y = text.Top; y < text.Bottom; ++y)
                if (PixelAt(panel->Handle(), {x, y}) == FontColour) {
                    columns.push_back(x);
                    break;
                }
        return columns;
    }

    Integer lineHeightOf(TFont* Font, bool Embossed) {
        TBitmap probe;
        probe.Canvas()->SetFont(Font);
        TEXTMETRICA metrics{};
        GetTextMetricsA(probe.Canvas()->Handle(), &metrics);
        return metrics.tmHeight + metrics.tmExternalLeading + (Embossed ? 1 : 0);
    }
    Integer textWidthOf(TFont* Font, const AnsiString& Text) {
        TBitmap probe;
        probe.Canvas()->SetFont(Font);
        return probe.Canvas()->TextWidth(Text);
    }
};

// ---- Geometry --------------------------------------------------------------------

struct GlyphCase {
    TGlyphLayout layout;
    bool glyph;
    TRect text;
    TPoint origin;
};

TEST_F(SecretPanelTest, PlacesTheGlyphAndTheTextByTheLayout) {
    // 200 x 100, a lowered outer bevel of 1: paint rectangle (1, 1, 199, 99).
    panel->SetBounds(0, 0, 200, 100);
    TBitmap glyph;
    glyph.SetSize(16, 10);
    const GlyphCase cases[] = {
        {glGlyphLeft, true, {27, 4, 196, 96}, {7, 45}},   {glGlyphRight, true, {4, 4, 173, 96}, {177, 45}},
        {glGlyphTop, true, {4, 24, 196, 96}, {92, 7}},    {glGlyphBottom, true, {4, 4, 196, 76}, {92, 83}},
        {glGlyphLeft, false, {8, 4, 196, 96}, {4, 50}},   {glGlyphBottom, false, {4, 4, 196, 89}, {100, 96}},
    };
    panel->Lines()->SetText("alpha\nbeta\n");
    for (const GlyphCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "layout " << c.layout << " glyph " << c.glyph);
        panel->SetActive(false);
        if (c.glyph)
            panel->SetGlyph(&glyph);
        else
            panel->Glyph()->Assign(nullptr);
        panel->SetGlyphLayout(c.layout);
        panel->SetActive(true);
        EXPECT_EQ(panel->PaintRect(), Rect(1, 1, 199, 99));
        EXPECT_EQ(panel->TextRect(), c.text);
        EXPECT_EQ(panel->GlyphOrigin(), c.origin);
    }
}

struct LinesCase {
    const char* name;
    TScrollDirection direction;
    const char* lines;
    TBevelCut style;
};

TEST_F(SecretPanelTest, TakesTheScrollLengthAndLineRectanglesFromTheLines) {
    panel->SetBounds(0, 0, 200, 100);
    panel->SetBevelOuter(bvNone);
    panel->SetGlyphLayout(glGlyphLeft);
    const LinesCase cases[] = {
        {"vertical", sdVertical, "alpha\nbeta\n", bvNone},
        {"vertical after blank lines", sdVertical, "\n   \nalpha\nbeta\n", bvNone},
        {"vertical embossed", sdVertical, "alpha\nbeta\n", bvRaised},
        {"horizontal", sdHorizontal, "\n  \nalpha wide\nbeta\n\n", bvNone},
        {"horizontal embossed", sdHorizontal, "alpha wide\n", bvLowered},
    };
    for (const LinesCase& c : cases) {
        SCOPED_TRACE(c.name);
        panel->SetActive(false);
        panel->SetTextStyle(c.style);
        panel->SetScrollDirection(c.direction);
        panel->Lines()->SetText(c.lines);
        panel->SetActive(true);
        const Integer lineHeight = lineHeightOf(panel->Font(), c.style != bvNone);
        // Without a glyph the text keeps 3 pixels and 3 more on the left.
        TRect text = Rect(6, 3, 197, 97);
        if (c.direction == sdHorizontal) {
            const Integer lines = c.style == bvNone ? 2 : 1;
            const Integer spare = text.Height() - lines * lineHeight;
            text.Top += spare / 2;
            text.Bottom -= spare / 2;
        }
        EXPECT_EQ(panel->TextRect(), text);
        const Integer maxScroll = c.direction == sdVertical
                                      ? text.Height() + 2 * lineHeight
                                      : textWidthOf(panel->Font(), "alpha wide") + text.Width();
        EXPECT_EQ(panel->MaxScroll(), maxScroll);
        for (Integer scroll : {0, 1, maxScroll / 2, maxScroll}) {
            const TRect expected = c.direction == sdVertical
                                       ? Rect(0, text.Height() - scroll, text.Width(), text.Height() - scroll + lineHeight)
                                       : Rect(text.Width() - scroll, 0, maxScroll - scroll, lineHeight);
            EXPECT_EQ(panel->LineRect(scroll), expected) << "scroll " << scroll;
        }
    }
}

TEST_F(SecretPanelTest, AllBlankLinesLeaveNothingToShow) {
    panel->SetBounds(0, 0, 200, 100);
    panel->SetColor(clBlack);
    panel->Font()->SetColor(clLime);
    panel->Lines()->SetText("\n  \n\t\n");
    panel->SetActive(true);
    EXPECT_EQ(panel->MaxScroll(), panel->TextRect().Height());
    step(20);
    EXPECT_TRUE(litColumns(clLime).empty());
    panel->SetScrollDirection(sdHorizontal);
    // The space to centre the (no) lines in takes the whole height.
    EXPECT_EQ(panel->TextRect(), TRect{});
}

// ---- Scrolling by pixels ------------------------------------------------------------

TEST_F(SecretPanelTest, AHorizontalLineEntersAtTheRightAndLeavesAtTheLeftThenStartsAgain) {
    panel->SetColor(clBlack);
    panel->Font()->SetColor(clLime);
    panel->SetScrollDirection(sdHorizontal);
    panel->SetAlignment(taLeftJustify);
    panel->SetInterval(20);
    panel->SetCycled(true);
    panel->Lines()->SetText("MW");
    panel->SetActive(true);
    const TRect text = panel->TextRect();
    EXPECT_TRUE(litColumns(clLime).empty());
    step(3);
    std::vector<Integer> lit = litColumns(clLime);
    ASSERT_FALSE(lit.empty());
    EXPECT_GE(lit.front(), text.Right - 3);
    step(text.Width() - 3);
    lit = litColumns(clLime);
    ASSERT_FALSE(lit.empty());
    // The line has reached the left edge (its first glyph may keep a pixel of bearing).
    EXPECT_LE(lit.front(), text.Left + 1);
    // Leaving at the left, the line moves one pixel a step.
    step(panel->MaxScroll() - text.Width() - 8);
    Integer rightEnd = litColumns(clLime).back();
    for (int i = 0; i < 8; ++i) {
        step();
        lit = litColumns(clLime);
        ASSERT_FALSE(lit.empty());
        EXPECT_EQ(lit.back(), rightEnd - 1);
        rightEnd = lit.back();
    }
    EXPECT_EQ(panel->ScrollCount(), panel->MaxScroll());
    // The maximum is the measured width: only the ink past the last glyph's advance is left.
    EXPECT_LT(rightEnd - text.Left, textWidthOf(panel->Font(), "W"));
    // One more step starts again from the right.
    step(4);
    EXPECT_EQ(panel->ScrollCount(), 3);
    lit = litColumns(clLime);
    ASSERT_FALSE(lit.empty());
    EXPECT_GE(lit.front(), text.Right - 3);
}

TEST_F(SecretPanelTest, WithoutCycledItSwitchesItselfOffOnTheMainThread) {
    for (bool async : {true, false}) {
        SCOPED_TRACE(testing::Message() << "async " << async);
        TPlayLog play;
        panel->SetAsyncDrawing(async);
        panel->OnStartPlay = TNotifyEvent(&play, &TPlayLog::Started);
        panel->OnStopPlay = TNotifyEvent(&play, &TPlayLog::Stopped);
        panel->SetScrollDirection(sdHorizontal);
        panel->SetInterval(10);
        panel->Lines()->SetText("i");
        panel->SetActive(true);
        step(panel->MaxScroll());
        EXPECT_TRUE(panel->Active());
        step();
        EXPECT_FALSE(panel->Active());
        EXPECT_EQ(play.events, (std::vector<std::string>{"start", "stop"}));
        EXPECT_EQ(play.onMainThread, (std::vector<bool>{true, true}));
        panel->OnStartPlay = nullptr;
        panel->OnStopPlay = nullptr;
    }
}

TEST_F(SecretPanelTest, ChildControlsHideWhilePlaying) {
    auto* shown = child<TButton>(panel, alNone, {2, 2, 30, 20});
    auto* hidden = child<TButton>(panel, alNone, {40, 2, 30, 20});
    hidden->SetVisible(false);
    panel->Lines()->SetText("x");
    panel->SetActive(true);
    EXPECT_FALSE(shown->Visible());
    EXPECT_FALSE(hidden->Visible());
    panel->SetActive(false);
    EXPECT_TRUE(shown->Visible());
    EXPECT_FALSE(hidden->Visible());
}

TEST_F(SecretPanelTest, ADirectionOrLinesChangeStartsFromTheBeginning) {
    panel->Lines()->SetText("one\ntwo\n");
    panel->SetActive(true);
    step(5);
    EXPECT_EQ(panel->ScrollCount(), 5);
    panel->SetScrollDirection(sdHorizontal);
    EXPECT_EQ(panel->ScrollCount(), 0);
    step(2);
    panel->Lines()->Add("three");
    EXPECT_EQ(panel->ScrollCount(), 0);
    step();
    EXPECT_EQ(panel->ScrollCount(), 1);
}

// ---- For a person to look at ----------------------------------------------------------

void appendFrame(PixelSurface& Strip, const PixelSurface& Frame, int Index) {
    for (int y = 0; y < Frame.Height(); ++y)
        for (int x = 0; x < Frame.Width(); ++x) Strip.Set(x, Index * (Frame.Height() + 2) + y, Frame.At(x, y));
}

// The About box's panel: 19 pixels high, no bevel, the glyph layout at the
// bottom but no glyph. Its line shows whole, descenders included, on the
// panel's colour.
TEST_F(SecretPanelTest, AnAboutBoxLineWithoutAGlyphShowsWhole) {
    setUpAsAboutBox(panel);
    const Integer lineHeight = lineHeightOf(panel->Font(), false);
    const TRect text = panel->TextRect();
    EXPECT_GE(text.Height(), lineHeight);
    step(panel->MaxScroll() / 2);
    Integer lowestLit = -1;
    bool onPanelColour = true;
    for (Integer y = 0; y < panel->Height(); ++y)
        for (Integer x = 0; x < panel->Width(); ++x) {
            const TColor seen = PixelAt(panel->Handle(), {x, y});
            if (seen == clLime) lowestLit = std::max(lowestLit, y);
            const bool inText = x >= text.Left && x < text.Right && y >= text.Top && y < text.Bottom;
            if (!inText && seen != clBlack) onPanelColour = false;
        }
    // The line's lower half holds the foot of every letter.
    EXPECT_GE(lowestLit, text.Top + lineHeight * 3 / 4);
    EXPECT_TRUE(onPanelColour) << "the panel around the text is not its colour";
}

TEST_F(SecretPanelTest, WritesStripsOfFrames) {
    setUpAsAboutBox(panel);
    const int frames = 12;
    const Integer every = (panel->MaxScroll() + frames - 1) / frames;
    PixelSurface about(panel->Width(), frames * (panel->Height() + 2));
    for (int i = 0; i < frames; ++i) {
        step(every);
        appendFrame(about, *backend.Capture(panel->Handle(), true), i);
    }
    EXPECT_TRUE(WritePngFile(about, ScreenshotPath("rx-secretpanel-about.png")));

    panel->SetActive(false);
    panel->SetBounds(8, 20, 120, 90);
    panel->SetColor(clBtnFace);
    panel->Font()->SetColor(clNavy);
    panel->SetBevelOuter(bvLowered);
    panel->SetAlignment(taCenter);
    panel->SetScrollDirection(sdVertical);
    panel->SetTextStyle(bvRaised);
    panel->SetGlyphLayout(glGlyphTop);
    TBitmap glyph;
    glyph.SetSize(16, 16);
    glyph.Canvas()->Brush()->SetColor(clFuchsia);
    glyph.Canvas()->FillRect(Rect(0, 0, 16, 16));
    glyph.Canvas()->Brush()->SetColor(clRed);
    glyph.Canvas()->FillRect(Rect(3, 3, 13, 13));
    panel->SetGlyph(&glyph);
    panel->Lines()->SetText("Quorvane\nscripts\nand\ncolours");
    panel->SetActive(true);
    const Integer everyUp = (panel->MaxScroll() + frames - 1) / frames;
    PixelSurface vertical(panel->Width(), frames * (panel->Height() + 2));
    for (int i = 0; i < frames; ++i) {
        step(everyUp);
        appendFrame(vertical, *backend.Capture(panel->Handle(), true), i);
    }
    EXPECT_TRUE(WritePngFile(vertical, ScreenshotPath("rx-secretpanel-vertical.png")));
}

// ---- Stress: run under the sanitizers too ---------------------------------------

TEST_F(SecretPanelTest, TogglingResizingAndChangingLinesWhileScrollingNeverHangs) {
    Watchdog watchdog(120s);
    setUpAsAboutBox(panel);
    panel->SetInterval(1);
    for (int round = 0; round < 300; ++round) {
        AdvanceClock(1);
        switch (round % 5) {
        case 0: panel->SetActive(!panel->Active()); break;
        case 1: panel->SetBounds(8, 20, 100 + round % 60, 19 + round % 20); break;
        case 2: panel->Lines()->SetText(round % 2 ? "short" : "a somewhat longer line of thanks"); break;
        case 3: panel->SetScrollDirection(round % 2 ? sdVertical : sdHorizontal); break;
        default: Application->ProcessMessages(); break;
        }
        CheckSynchronize();
    }
    panel->SetActive(false);
}

class TAboutLikeForm : public TForm {
public:
    using TForm::TForm;
    TSecretPanel* SecretPanel1 = nullptr;
};

const TClass aboutLikeFormClass = DescribeClass<TAboutLikeForm, TForm>(
    [](TClassBuilder<TAboutLikeForm>& c) { c.Field("SecretPanel1", &TAboutLikeForm::SecretPanel1); });

const char* const aboutLikeFormText = R"(object AboutLikeForm: TAboutLikeForm
  Left = 10
  Top = 10
  BorderStyle = bsNone
  ClientWidth = 305
  ClientHeight = 323
  object SecretPanel1: TSecretPanel
    Left = 8
    Top = 202
    Width = 146
    Height = 19
    Active = True
    Alignment = taLeftJustify
    Cycled = True
    GlyphLayout = glGlyphBottom
    Interval = 50
    Lines.Strings = (
      'Thanks to everyone who helped')
    ScrollDirection = sdHorizontal
    BevelOuter = bvNone
    Color = clBlack
    Font.Color = clLime
    Font.Name = 'Verdana'
  end
end
)";

TEST_F(SecretPanelTest, ShowingAndClosingAFormWithAScrollingPanelNeverHangs) {
    Watchdog watchdog(120s);
    for (int round = 0; round < 40; ++round) {
        auto about = std::make_unique<TAboutLikeForm>(nullptr);
        ReadComponentText(aboutLikeFormText, about.get());
        ASSERT_NE(about->SecretPanel1, nullptr);
        EXPECT_TRUE(about->SecretPanel1->Active());
        EXPECT_EQ(about->SecretPanel1->Interval(), 50u);
        about->Show();
        for (int i = 0; i < round % 4; ++i) {
            AdvanceClock(50);
            CheckSynchronize();
            Application->ProcessMessages();
        }
        about->Close();
        Application->ProcessMessages();
    }
}

} // namespace
