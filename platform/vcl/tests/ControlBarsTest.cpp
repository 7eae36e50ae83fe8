// The control bar: bands in rows of RowSize, a height that follows the
// rows, bands dragged by their grabbers, and the band-paint hook.
#include "VisualTestSupport.h"

#include "platform/vcl/ControlBars.h"
#include "platform/win/Messages.h"

namespace {

class TBandLog : public TObject {
public:
    std::vector<TControl*> painted;
    std::vector<TRect> moves;
    Integer pushRight = 0;
    void Painted(TObject*, TControl* Control, TCanvas*, TRect&, TBandPaintOptions& Options) {
        painted.push_back(Control);
        Options.Exclude(bpoGrabber);
    }
    void Moved(TObject*, TControl*, TRect& ARect) {
        moves.push_back(ARect);
        ARect.Left += pushRight;
        ARect.Right += pushRight;
    }
};

class ControlBarTest : public VisualTest {
protected:
    std::unique_ptr<TForm> form = plainForm(400, 200);
    TControlBar* bar = child<TControlBar>(form.get(), alNone, {0, 0, 400, 60});
    TBox* first = child<TBox>(bar, alNone, {20, 2, 60, 10});
    TBox* second = child<TBox>(bar, alNone, {40, 2, 60, 10});
    TBandLog log;
    // Bands are placed while the bar has a window.
    void SetUp() override {
        VisualTest::SetUp();
        form->Show();
    }
};

TEST_F(ControlBarTest, BandsLineUpInARowAndTakeItsHeight) {
    bar->Realign();
    EXPECT_EQ(first->Left(), 20);
    EXPECT_EQ(second->Left(), first->Left() + first->Width() + 2 + 11);
    EXPECT_EQ(first->Top(), 2);
    EXPECT_EQ(first->Height(), bar->RowSize() - 4);
    bar->SetRowSnap(false);
    first->SetBounds(first->Left(), first->Top(), 60, 10);
    EXPECT_EQ(first->Height(), 10);
}

TEST_F(ControlBarTest, AnAutoSizedBarIsAsHighAsItsRows) {
    bar->SetAutoSize(true);
    EXPECT_EQ(bar->Height(), 26);
    second->SetBounds(20, 30, 60, 10);
    EXPECT_EQ(second->Top(), 26 + 2);
    EXPECT_EQ(bar->Height(), 52);
    bar->SetRowSize(30);
    EXPECT_EQ(bar->Height(), 60);
}

TEST_F(ControlBarTest, ABandDraggedByItsGrabberMovesToAnotherRow) {
    bar->OnBandMove = TBandMoveEvent(&log, &TBandLog::Moved);
    log.pushRight = 5;
    form->Show();
    bar->Realign();
    const TRect band = bar->BandRect(second);
    const Integer x = band.Left + 4, y = band.Top + 6;
    bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    bar->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + 10, y + 26));
    bar->Perform(WM_LBUTTONUP, 0, MAKELPARAM(x + 10, y + 26));
    ASSERT_EQ(log.moves.size(), 1u);
    EXPECT_EQ(log.moves[0].Top, 26);
    EXPECT_EQ(second->Top(), 26 + 2);
    EXPECT_EQ(bar->BandRect(second).Left, band.Left + 10 + 5);
    // A press beside the grabber drags nothing.
    bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(first->Left() + 5, 5));
    bar->Perform(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(first->Left() + 50, 40));
    EXPECT_EQ(log.moves.size(), 1u);
}

TEST_F(ControlBarTest, OnBandPaintSeesEachBandAndMayDropTheGrabber) {
    bar->OnBandPaint = TBandPaintEvent(&log, &TBandLog::Painted);
    bar->SetColor(clWhite);
    form->Show();
    bar->Realign();
    Application->ProcessMessages();
    EXPECT_EQ(log.painted, (std::vector<TControl*>{first, second}));
    const TRect band = bar->BandRect(first);
    // No grabber was drawn; the frame was (its shadow side shows on white).
    EXPECT_EQ(PixelAt(bar->Handle(), {band.Left + 4, band.Top + 6}), static_cast<TColor>(clWhite));
    EXPECT_NE(PixelAt(bar->Handle(), {band.Right - 1, band.Top + 6}), static_cast<TColor>(clWhite));
}

} // namespace
