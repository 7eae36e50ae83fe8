// The scroll box: ranges from the children, positions that move them, the
// window's scroll bars, the wheel, ScrollInView and form resources. Writes
// scroll-box.png into the build folder for a person to look at.
#include "VisualTestSupport.h"

#include "platform/vcl/EditCtrls.h"
#include "platform/vcl/Filers.h"
#include "platform/vcl/ScrollBoxes.h"
#include "platform/win/Messages.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/Windows.h"

#include <filesystem>

namespace {

class ScrollBoxesTest : public VisualTest {
protected:
    std::unique_ptr<TForm> form = plainForm(300, 200);
    TScrollBox* box = nullptr;
    TBox* far = nullptr;

    // A 200 x 100 box without border holding a red box reaching to 180 down.
    void SetUp() override {
        VisualTest::SetUp();
        form->SetColor(clWhite);
        box = child<TScrollBox>(form.get(), alNone, {10, 10, 200, 100});
        box->SetBorderStyle(bsNone);
        box->SetColor(clSilver);
        far = child<TBox>(box, alNone, {10, 150, 50, 30});
        far->SetColor(clRed);
        form->Show();
        Application->ProcessMessages();
    }
    LONG style() { return GetWindowLongA(box->Handle(), GWL_STYLE); }
    void scroll(UINT Msg, WORD Code, Integer Position = 0) {
        SendMessageA(box->Handle(), Msg, MAKEWPARAM(Code, static_cast<WORD>(Position)), 0);
        Application->ProcessMessages();
    }
};

TEST_F(ScrollBoxesTest, TheRangeFollowsTheChildrenAndShowsOnlyTheBarThatIsNeeded) {
    EXPECT_EQ(box->VertScrollBar()->Range(), 180);
    EXPECT_EQ(box->HorzScrollBar()->Range(), 60);
    EXPECT_TRUE(style() & WS_VSCROLL);
    EXPECT_FALSE(style() & WS_HSCROLL);
    EXPECT_TRUE(box->VertScrollBar()->IsScrollBarVisible());
    EXPECT_EQ(box->ClientWidth(), 200 - GetSystemMetrics(SM_CXVSCROLL));
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    GetScrollInfo(box->Handle(), SB_VERT, &info);
    EXPECT_EQ(info.nMax, 180);
    EXPECT_EQ(info.nPage, 101u);
    far->SetTop(20);
    EXPECT_EQ(box->VertScrollBar()->Range(), 50);
    EXPECT_FALSE(style() & WS_VSCROLL);
    // A child aligned to the far edge adds its size; one anchored there does not count.
    auto* bottom = child<TBox>(box, alBottom, {0, 0, 10, 70});
    EXPECT_EQ(box->VertScrollBar()->Range(), 50 + 70);
    bottom->SetAlign(alNone);
    bottom->SetAnchors({akLeft, akBottom});
    box->Realign();
    EXPECT_EQ(box->VertScrollBar()->Range(), 50);
}

TEST_F(ScrollBoxesTest, PositionsStayInRangeAndMoveTheChildren) {
    box->VertScrollBar()->SetPosition(1000);
    EXPECT_EQ(box->VertScrollBar()->Position(), 80);
    EXPECT_EQ(far->Top(), 70);
    EXPECT_EQ(GetScrollPos(box->Handle(), SB_VERT), 80);
    box->VertScrollBar()->SetPosition(-5);
    EXPECT_EQ(far->Top(), 150);
    box->HorzScrollBar()->SetPosition(20);
    EXPECT_EQ(box->HorzScrollBar()->Position(), 0) << "nothing to scroll sideways";
}

TEST_F(ScrollBoxesTest, TheWindowsBarScrollsByIncrementPageAndThumb) {
    TControlScrollBar* bar = box->VertScrollBar();
    far->SetTop(300);
    scroll(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(bar->Position(), 8);
    bar->SetIncrement(5);
    scroll(WM_VSCROLL, SB_LINEUP);
    EXPECT_EQ(bar->Position(), 3);
    scroll(WM_VSCROLL, SB_PAGEDOWN);
    EXPECT_EQ(bar->Position(), 3 + 90) << "nine tenths of the client height, within the range";
    scroll(WM_VSCROLL, SB_TOP);
    scroll(WM_VSCROLL, SB_THUMBTRACK, 40);
    EXPECT_EQ(bar->Position(), 0) << "no tracking";
    bar->SetTracking(true);
    scroll(WM_VSCROLL, SB_THUMBTRACK, 40);
    EXPECT_EQ(bar->Position(), 40);
    scroll(WM_VSCROLL, SB_BOTTOM);
    EXPECT_EQ(bar->Position(), 230);
    EXPECT_EQ(far->Top(), 70);
    scroll(WM_VSCROLL, SB_THUMBPOSITION, 10);
    EXPECT_EQ(far->Top(), 290);
}

TEST_F(ScrollBoxesTest, TheWheelScrollsLines) {
    box->SetFocus();
    backend.TurnWheel(box->Handle(), {20, 20}, -1);
    Application->ProcessMessages();
    EXPECT_EQ(box->VertScrollBar()->Position(), 8 * Mouse->WheelScrollLines());
    backend.TurnWheel(box->Handle(), {20, 20}, 1);
    Application->ProcessMessages();
    EXPECT_EQ(box->VertScrollBar()->Position(), 0);
}

TEST_F(ScrollBoxesTest, ScrollInViewBringsAControlInWithTheMargin) {
    box->VertScrollBar()->SetMargin(4);
    box->ScrollInView(far);
    EXPECT_EQ(box->VertScrollBar()->Position(), 80) << "as far as the range goes";
    auto* near = child<TMark>(box, alNone, {10, -30, 20, 20});
    box->ScrollInView(near);
    EXPECT_EQ(box->VertScrollBar()->Position(), 80 - 34);
    EXPECT_EQ(near->Top(), 4);
}

TEST_F(ScrollBoxesTest, AControlTakingTheFocusIsScrolledIntoView) {
    auto* below = child<TEdit>(box, alNone, {10, 190, 60, 20});
    below->SetFocus();
    Application->ProcessMessages();
    // The edit's client area, inside its 2-pixel border, ends at the box's bottom edge.
    EXPECT_EQ(box->VertScrollBar()->Position(), 108);
    EXPECT_EQ(below->Top() + below->Height() - 2, box->ClientHeight());
}

TEST_F(ScrollBoxesTest, SettingARangeTurnsAutoScrollOff) {
    box->VertScrollBar()->SetRange(400);
    EXPECT_FALSE(box->AutoScroll());
    far->SetTop(500);
    EXPECT_EQ(box->VertScrollBar()->Range(), 400);
    box->VertScrollBar()->SetVisible(false);
    EXPECT_FALSE(style() & WS_VSCROLL);
    box->SetAutoScroll(true);
    box->VertScrollBar()->SetVisible(true);
    EXPECT_EQ(box->VertScrollBar()->Range(), 530);
}

TEST_F(ScrollBoxesTest, TheBorderIsASunkenEdge) {
    box->SetBorderStyle(bsSingle);
    EXPECT_TRUE(GetWindowLongA(box->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    box->SetCtl3D(false);
    EXPECT_TRUE(style() & WS_BORDER);
}

TEST_F(ScrollBoxesTest, ScrollBoxesAreReadFromFormResources) {
    TForm read(nullptr);
    ReadComponentText("object Main: TForm\n  Width = 300\n  Height = 200\n"
                      "  object Box: TScrollBox\n    Left = 0\n    Top = 0\n    Width = 150\n"
                      "    Height = 80\n    HorzScrollBar.Increment = 12\n    HorzScrollBar.Tracking = True\n"
                      "    VertScrollBar.Range = 300\n    VertScrollBar.Position = 40\n"
                      "    AutoScroll = False\n    BorderStyle = bsNone\n  end\nend\n",
                      &read);
    auto* readBox = static_cast<TScrollBox*>(read.FindComponent("Box"));
    ASSERT_NE(readBox, nullptr);
    EXPECT_EQ(readBox->HorzScrollBar()->Increment(), 12);
    EXPECT_TRUE(readBox->HorzScrollBar()->Tracking());
    EXPECT_EQ(readBox->VertScrollBar()->Range(), 300);
    EXPECT_EQ(readBox->VertScrollBar()->Position(), 40);
    EXPECT_FALSE(readBox->AutoScroll());
    EXPECT_EQ(readBox->BorderStyle(), bsNone);
    const AnsiString written = WriteComponentText(&read);
    EXPECT_NE(written.find("VertScrollBar.Range = 300"), AnsiString::npos) << written;
    EXPECT_NE(written.find("AutoScroll = False"), AnsiString::npos) << written;
}

TEST_F(ScrollBoxesTest, PixelsScrollWithTheChildren) {
    EXPECT_EQ(PixelAt(form->Handle(), {10 + 20, 10 + 20}), clSilver);
    box->VertScrollBar()->SetPosition(80);
    Application->ProcessMessages();
    EXPECT_EQ(PixelAt(form->Handle(), {10 + 20, 10 + 75}), clRed);
    EXPECT_EQ(PixelAt(form->Handle(), {10 + 20, 10 + 65}), clSilver);
    box->SetBorderStyle(bsSingle);
    Application->ProcessMessages();
    const std::filesystem::path path = std::filesystem::path(ProgramFolder()).parent_path() / "scroll-box.png";
    ASSERT_TRUE(backend.SavePng(form->Handle(), path.string()));
}

} // namespace
