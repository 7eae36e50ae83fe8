// The page scroller: its control laid out at full length and scrolled by
// the buttons, the distance open to OnScroll.
#include "platform/vcl/tests/VisualTestSupport.h"

#include "platform/vcl/PageScrollers.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/Messages.h"

namespace {

class TScrollLog : public TObject {
public:
    Integer delta = -1;
    Integer replacement = 0;
    void Scroll(TObject*, TShiftState, Integer, Integer, TPageScrollerOrientation, Integer& Delta) {
        delta = Delta;
        if (replacement) Delta = replacement;
    }
};

class PageScrollerTest : public VisualTest {
protected:
    std::unique_ptr<TForm> form = plainForm(300, 100);
    TPageScroller* scroller = child<TPageScroller>(form.get(), alNone, {0, 0, 200, 40});
    TBox* content = child<TBox>(form.get(), alNone, {0, 0, 500, 30});
    TScrollLog log;
    void SetUp() override {
        VisualTest::SetUp();
        scroller->SetControl(content);
        scroller->OnScroll = TPageScrollEvent(&log, &TScrollLog::Scroll);
        form->Show();
    }
    LRESULT buttonState(int Button) {
        return SendMessageA(scroller->Handle(), PGM_GETBUTTONSTATE, 0, Button);
    }
};

TEST_F(PageScrollerTest, TheControlKeepsItsLengthAndFillsTheScrollerAcross) {
    EXPECT_EQ(content->Parent(), scroller);
    EXPECT_EQ(content->Width(), 500);
    EXPECT_EQ(content->Height(), 40);
    EXPECT_EQ(content->Left(), 0) << "the buttons lie outside the client area";
    EXPECT_EQ(scroller->ClientWidth(), 200 - 24);
    EXPECT_EQ(buttonState(PGB_TOPORLEFT), PGF_GRAYED);
    EXPECT_EQ(buttonState(PGB_BOTTOMORRIGHT), PGF_NORMAL);
    scroller->SetPosition(1000);
    EXPECT_EQ(scroller->Position(), 500 - (200 - 24)) << "no further than the control's end";
    EXPECT_EQ(buttonState(PGB_BOTTOMORRIGHT), PGF_GRAYED);
    content->SetWidth(150);
    SendMessageA(scroller->Handle(), PGM_RECALCSIZE, 0, 0);
    EXPECT_EQ(buttonState(PGB_TOPORLEFT), PGF_INVISIBLE) << "the control fits";
    EXPECT_EQ(scroller->Position(), 0);
}

TEST_F(PageScrollerTest, AButtonScrollsByTheDistanceOnScrollLeaves) {
    backend.Click(scroller->Handle(), {180, 20});
    Application->ProcessMessages();
    EXPECT_EQ(log.delta, 176) << "the view's length by default";
    EXPECT_EQ(scroller->Position(), 176);
    log.replacement = 30;
    backend.Click(scroller->Handle(), {-6, 20});
    Application->ProcessMessages();
    EXPECT_EQ(scroller->Position(), 146);
}

} // namespace
