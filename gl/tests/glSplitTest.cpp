// The gl splitter: its face by pixels, hot tracking, and the double click
// that shrinks its neighbour.
#include "gl/glSplit.h"
#include "gl/tests/glTestSupport.h"

namespace {

struct MoveLog : TObject {
    int moves = 0;
    void Moved(TObject*) { ++moves; }
};

class SplitterTest : public GlVisualTest {
protected:
    std::unique_ptr<TForm> form = plainForm(300, 440);
    MoveLog log;

    // The main window's arrangement: a left panel, the splitter, the pages.
    TglSplitter* leftSplitter(TControl*& Neighbour) {
        Neighbour = child<TBox>(form.get(), alLeft, {0, 0, 100, 440});
        auto* splitter = child<TglSplitter>(form.get(), alLeft, {100, 0, 6, 440});
        child<TBox>(form.get(), alClient, {0, 0, 10, 10});
        splitter->OnMoved = TNotifyEvent(&log, &MoveLog::Moved);
        return splitter;
    }
    void show() {
        form->SetColor(clBtnFace);
        form->Show();
        Application->ProcessMessages();
    }
    TColor pixel(TglSplitter* Splitter, Integer X, Integer Y) {
        return PixelAt(form->Handle(), {Splitter->Left() + X, Splitter->Top() + Y});
    }
    // The distinct colours of the splitter's rows From to To (inclusive) in its first four columns.
    std::set<TColor> rowColors(TglSplitter* Splitter, Integer From, Integer To) {
        return colorsIn(form->Handle(), {Splitter->Left(), Splitter->Top() + From, Splitter->Left() + 4,
                                         Splitter->Top() + To + 1});
    }
};

TEST_F(SplitterTest, TheFaceHasTwentyDotPairsBetweenTwoArrows) {
    TControl* neighbour = nullptr;
    TglSplitter* splitter = leftSplitter(neighbour);
    show();
    ASSERT_EQ(splitter->Width(), 6);
    const TColor face = ColorToRGB(clBtnFace);
    const TColor light = ColorToRGB(clBtnHighlight);
    const TColor shadow = ColorToRGB(clBtnShadow);
    // Each dot: highlight at its top-left, shadow at its bottom-right, every four pixels.
    for (Integer top : {180, 184, 256}) {
        EXPECT_EQ(pixel(splitter, 0, top), light) << top;
        EXPECT_EQ(pixel(splitter, 3, top), light) << top;
        EXPECT_EQ(pixel(splitter, 2, top + 2), shadow) << top;
        EXPECT_EQ(pixel(splitter, 5, top + 2), shadow) << top;
    }
    EXPECT_EQ(rowColors(splitter, 259, 282), std::set<TColor>{face});
    EXPECT_EQ(rowColors(splitter, 157, 179), std::set<TColor>{face});
    // The arrows: white in the cold face, within rows 150..156 and 283..289.
    EXPECT_TRUE(rowColors(splitter, 150, 156).contains(RGB(255, 255, 255)));
    EXPECT_TRUE(rowColors(splitter, 283, 289).contains(RGB(255, 255, 255)));
    EXPECT_EQ(rowColors(splitter, 140, 149), std::set<TColor>{face});
    EXPECT_EQ(rowColors(splitter, 290, 300), std::set<TColor>{face});
}

TEST_F(SplitterTest, HotTrackingDarkensTheDotsWhileTheArrowsTurnGreyEitherWay) {
    TControl* neighbour = nullptr;
    TglSplitter* splitter = leftSplitter(neighbour);
    show();
    for (bool hotTrack : {true, false}) {
        splitter->SetHotTrack(hotTrack);
        splitter->Perform(CM_MOUSEENTER, 0, 0);
        EXPECT_TRUE(splitter->MouseOver());
        EXPECT_EQ(pixel(splitter, 2, 182), hotTrack ? RGB(0, 0, 0) : ColorToRGB(clBtnShadow)) << hotTrack;
        EXPECT_TRUE(rowColors(splitter, 150, 156).contains(RGB(128, 128, 128))) << hotTrack;
        EXPECT_FALSE(rowColors(splitter, 150, 156).contains(RGB(255, 255, 255))) << hotTrack;
        // For a person to look at: the face while the mouse is over it.
        if (hotTrack) backend.SavePng(form->Handle(), (screenshotFolder() / "gl-splitter-hot.png").string());
        splitter->Perform(CM_MOUSELEAVE, 0, 0);
        EXPECT_FALSE(splitter->MouseOver());
        EXPECT_EQ(pixel(splitter, 2, 182), ColorToRGB(clBtnShadow));
    }
    backend.SavePng(form->Handle(), (screenshotFolder() / "gl-splitter-cold.png").string());
}

TEST_F(SplitterTest, ADoubleClickShrinksTheNeighbourOnEachSide) {
    const struct {
        TAlign align;
        Place neighbour;
    } cases[] = {
        {alLeft, {0, 0, 100, 440}},
        {alRight, {200, 0, 100, 440}},
        {alTop, {0, 0, 300, 100}},
        {alBottom, {0, 340, 300, 100}},
    };
    for (const auto& each : cases) {
        auto host = plainForm(300, 440);
        auto* neighbour = child<TBox>(host.get(), each.align, each.neighbour);
        auto* splitter = child<TglSplitter>(host.get(), each.align, {100, 100, 6, 6});
        if (each.align == alTop || each.align == alBottom) splitter->SetHeight(6);
        auto* rest = child<TBox>(host.get(), alClient, {0, 0, 10, 10});
        MoveLog moves;
        splitter->OnMoved = TNotifyEvent(&moves, &MoveLog::Moved);
        host->Show();
        Application->ProcessMessages();
        ASSERT_EQ(splitter->FindControl(), neighbour) << each.align;
        splitter->SetDisplace(false);
        splitter->Perform(WM_LBUTTONDBLCLK, 0, 0);
        EXPECT_EQ(moves.moves, 0);
        splitter->SetDisplace(true);
        splitter->Perform(WM_LBUTTONDBLCLK, 0, 0);
        const bool across = each.align == alLeft || each.align == alRight;
        EXPECT_EQ(across ? neighbour->Width() : neighbour->Height(), 0) << each.align;
        EXPECT_EQ(across ? rest->Width() : rest->Height(), across ? 294 : 434) << each.align;
        EXPECT_EQ(moves.moves, 1) << each.align;
        // The neighbour of no size is still found, a pixel wide.
        EXPECT_EQ(splitter->FindControl(), neighbour) << each.align;
    }
}

TEST_F(SplitterTest, ADoubleClickWithoutANeighbourDoesNothing) {
    auto* splitter = child<TglSplitter>(form.get(), alLeft, {0, 0, 6, 440});
    auto* hidden = child<TBox>(form.get(), alNone, {-50, 0, 50, 440});
    hidden->Hide();
    splitter->OnMoved = TNotifyEvent(&log, &MoveLog::Moved);
    show();
    EXPECT_EQ(splitter->FindControl(), nullptr);
    splitter->Perform(WM_LBUTTONDBLCLK, 0, 0);
    EXPECT_EQ(log.moves, 0);
    EXPECT_EQ(hidden->Width(), 50);
}

TEST_F(SplitterTest, TrackCountZeroDrawsNoDotsAndALargeOneStartsBeforeTheSplitter) {
    TControl* neighbour = nullptr;
    TglSplitter* splitter = leftSplitter(neighbour);
    splitter->SetDisplace(false);
    splitter->SetTrackCount(0);
    show();
    EXPECT_EQ(rowColors(splitter, 0, 439), std::set<TColor>{ColorToRGB(clBtnFace)});
    // 200 pairs span 800 pixels: they start 180 pixels above the splitter, so row 0 is inside a dot.
    splitter->SetTrackCount(200);
    Application->ProcessMessages();
    EXPECT_EQ(pixel(splitter, 0, 0), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(pixel(splitter, 0, 436), ColorToRGB(clBtnHighlight));
}

} // namespace
