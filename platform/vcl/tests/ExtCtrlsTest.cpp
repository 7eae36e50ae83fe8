#include "VisualTestSupport.h"

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Filers.h"

#include <filesystem>

namespace {

class ExtCtrlsTest : public VisualTest {
protected:
    std::unique_ptr<TForm> form = plainForm(400, 300);
    std::vector<std::string> clicks;

    void show() {
        form->SetColor(clWhite);
        form->Show();
        Application->ProcessMessages();
    }
    TColor pixel(TPoint Point) { return PixelAt(form->Handle(), Point); }
};

// Clicks on its buttons count only while it allows changes.
class TLockedRadioGroup : public TRadioGroup {
public:
    using TRadioGroup::TRadioGroup;
    bool locked = false;

protected:
    bool CanModify() override { return !locked; }
};

// An image that keeps its picture in an object of its own.
class TOwnPictureImage : public TImage {
public:
    explicit TOwnPictureImage(TComponent* AOwner) : TImage(AOwner) {
        ReplacePicture(std::make_unique<TPicture>());
    }
};

TEST_F(ExtCtrlsTest, ARadioGroupMakesAButtonPerItemAndReportsTheChoice) {
    auto* group = child<TLockedRadioGroup>(form.get(), alNone, {10, 10, 200, 100});
    group->SetName("Group");
    struct Listener : TObject {
        std::vector<std::string>* clicks;
        void Click(TObject* Sender) { clicks->push_back(static_cast<TComponent*>(Sender)->Name()); }
    } listener;
    listener.clicks = &clicks;
    group->OnClick = TNotifyEvent(&listener, &Listener::Click);
    for (const char* item : {"a", "b", "c", "d"})
        group->Items()->Add(item);
    group->SetColumns(2);
    ASSERT_EQ(group->ButtonCount(), 4);
    EXPECT_EQ(group->Buttons(1)->Caption(), "b");
    // Two columns of two: the third button heads the second column.
    EXPECT_EQ(group->Buttons(0)->Left(), 8);
    EXPECT_EQ(group->Buttons(2)->Left(), 8 + (200 - 10) / 2);
    EXPECT_EQ(group->Buttons(2)->Top(), group->Buttons(0)->Top());
    EXPECT_GT(group->Buttons(1)->Top(), group->Buttons(0)->Top());
    show();
    backend.Click(group->Buttons(3)->Handle(), {4, 4});
    Application->ProcessMessages();
    EXPECT_EQ(group->ItemIndex(), 3);
    EXPECT_TRUE(group->Buttons(3)->Checked());
    group->SetItemIndex(1);
    EXPECT_FALSE(group->Buttons(3)->Checked());
    EXPECT_EQ(clicks, (std::vector<std::string>{"Group", "Group"}));
    group->locked = true;
    backend.Click(group->Buttons(0)->Handle(), {4, 4});
    Application->ProcessMessages();
    EXPECT_EQ(group->ItemIndex(), 1);
}

TEST_F(ExtCtrlsTest, RadioGroupIndexAndColumnsStayInRange) {
    auto* group = child<TRadioGroup>(form.get(), alNone, {10, 10, 200, 100});
    for (const char* item : {"a", "b", "c", "d", "e", "f"})
        group->Items()->Add(item);
    group->SetItemIndex(5);
    TStringList three;
    three.SetCommaText("x,y,z");
    group->SetItems(&three);
    EXPECT_EQ(group->ItemIndex(), 2);
    EXPECT_EQ(group->ButtonCount(), 3);
    group->SetItemIndex(9);
    EXPECT_EQ(group->ItemIndex(), 2);
    group->SetColumns(0);
    EXPECT_EQ(group->Columns(), 1);
    group->SetColumns(40);
    EXPECT_EQ(group->Columns(), 16);
}

TEST_F(ExtCtrlsTest, APanelPaintsItsBevelsAndKeepsItsChildrenInside) {
    auto* panel = child<TPanel>(form.get(), alNone, {10, 10, 120, 60});
    panel->SetBevelInner(bvLowered);
    panel->SetBorderWidth(3);
    auto* inside = child<TPanel>(panel, alClient, {0, 0, 10, 10});
    inside->SetBevelOuter(bvNone);
    inside->SetColor(clRed);
    show();
    EXPECT_EQ(inside->BoundsRect(), (TRect{5, 5, 115, 55}));
    EXPECT_EQ(pixel({10, 10}), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(pixel({10 + 119, 10 + 59}), ColorToRGB(clBtnShadow));
    // The lowered inner bevel has its shadow on top.
    EXPECT_EQ(pixel({10 + 4, 10 + 4}), ColorToRGB(clBtnShadow));
    EXPECT_EQ(pixel({10 + 60, 10 + 30}), clRed);
}

TEST_F(ExtCtrlsTest, APanelCentresItsCaption) {
    auto* panel = child<TPanel>(form.get(), alNone, {10, 10, 200, 60});
    panel->SetCaption("Panel caption");
    panel->SetColor(clWhite);
    show();
    std::shared_ptr<PixelSurface> pixels = backend.Capture(form->Handle(), true);
    Integer left = 1000;
    Integer right = -1;
    for (Integer x = 12; x < 208; ++x)
        for (Integer y = 12; y < 68; ++y)
            if ((pixels->At(x, y) & 0xFF) < 96) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    ASSERT_GT(right, left);
    EXPECT_NEAR((left + right) / 2, 10 + 100, 2);
}

TEST_F(ExtCtrlsTest, ASelfSizingPanelWrapsItsVisibleChildren) {
    show();
    auto* stacked = child<TPanel>(form.get(), alTop, {0, 0, 400, 150});
    stacked->SetBevelOuter(bvNone);
    std::vector<TPanel*> rows;
    for (int i = 0; i < 3; ++i) rows.push_back(child<TPanel>(stacked, alTop, {0, 100 * i, 400, 21}));
    stacked->SetAutoSize(true);
    EXPECT_EQ(stacked->Height(), 63);
    EXPECT_EQ(stacked->Width(), 400) << "aligned to the top, it keeps the width the form gives it";
    rows[1]->SetVisible(false);
    EXPECT_EQ(stacked->Height(), 42);
    rows[0]->SetVisible(false);
    rows[2]->SetVisible(false);
    EXPECT_EQ(stacked->Height(), 0);

    auto* framed = child<TPanel>(form.get(), alNone, {10, 200, 300, 80});
    framed->SetBorderWidth(3);
    child<TPanel>(framed, alNone, {4, 4, 50, 20});
    framed->SetAutoSize(true);
    EXPECT_EQ(framed->BoundsRect(), Rect(10, 200, 10 + 4 + 50 + 4, 200 + 4 + 20 + 4))
        << "the bevel and border stay around the child";
}

TEST_F(ExtCtrlsTest, ShapesAndBevelsDrawInTheirColours) {
    auto* circle = child<TShape>(form.get(), alNone, {10, 10, 80, 40});
    circle->SetShape(stCircle);
    circle->Brush()->SetColor(clYellow);
    auto* line = child<TBevel>(form.get(), alNone, {10, 100, 80, 10});
    line->SetShape(bsTopLine);
    show();
    EXPECT_EQ(pixel({10 + 40, 10 + 20}), clYellow);
    // A circle in a wide control is as wide as the control is high, in the middle.
    EXPECT_EQ(pixel({10 + 12, 10 + 20}), clWhite);
    EXPECT_EQ(pixel({10 + 40, 10}), clBlack);
    EXPECT_EQ(pixel({20, 100}), ColorToRGB(clBtnShadow));
    EXPECT_EQ(pixel({20, 101}), ColorToRGB(clBtnHighlight));
    circle->SetShape(stRectangle);
    Application->ProcessMessages();
    EXPECT_EQ(pixel({10 + 12, 10 + 20}), clYellow);
}

TEST_F(ExtCtrlsTest, AnImageDrawsItsPictureAsItIsToldAndGivesItsBitmapCanvas) {
    auto* image = child<TImage>(form.get(), alNone, {10, 10, 40, 40});
    TCanvas* canvas = image->Canvas();
    EXPECT_EQ(image->Picture()->Width(), 40);
    canvas->Brush()->SetColor(clBlue);
    canvas->FillRect({0, 0, 20, 20});
    TBitmap small;
    small.SetSize(10, 10);
    small.Canvas()->Brush()->SetColor(clRed);
    small.Canvas()->FillRect({0, 0, 10, 10});
    auto* sized = child<TImage>(form.get(), alNone, {100, 10, 50, 50});
    sized->SetAutoSize(true);
    sized->Picture()->SetGraphic(&small);
    EXPECT_EQ(sized->Width(), 10);
    auto* own = child<TOwnPictureImage>(form.get(), alNone, {0, 200, 50, 50});
    own->SetAutoSize(true);
    own->Picture()->SetGraphic(&small);
    EXPECT_EQ(own->Height(), 10);
    auto* stretched = child<TImage>(form.get(), alNone, {200, 10, 50, 50});
    stretched->SetStretch(true);
    stretched->Picture()->SetGraphic(&small);
    auto* centred = child<TImage>(form.get(), alNone, {300, 10, 50, 50});
    centred->SetCenter(true);
    centred->Picture()->SetGraphic(&small);
    show();
    EXPECT_EQ(pixel({15, 15}), clBlue);
    EXPECT_EQ(pixel({245, 55}), clRed);
    EXPECT_EQ(pixel({302, 12}), clWhite);
    EXPECT_EQ(pixel({325, 35}), clRed);
    TIcon icon;
    auto* withIcon = child<TImage>(form.get(), alNone, {0, 0, 10, 10});
    withIcon->Picture()->SetGraphic(&icon);
    EXPECT_THROW(withIcon->Canvas(), EInvalidOperation);
}

TEST_F(ExtCtrlsTest, PanelsAndRadioGroupsAreReadFromFormResources) {
    TForm read(nullptr);
    ReadComponentText("object Main: TForm\n"
                      "  Left = 0\n  Top = 0\n  Width = 300\n  Height = 200\n"
                      "  object Info: TPanel\n    Left = 0\n    Top = 0\n    Width = 100\n    Height = 30\n"
                      "    Alignment = taLeftJustify\n    BevelInner = bvRaised\n    BevelOuter = bvLowered\n"
                      "    BorderWidth = 2\n    Caption = 'Info'\n  end\n"
                      "  object Output: TRadioGroup\n    Left = 0\n    Top = 40\n    Width = 150\n"
                      "    Height = 100\n    Caption = 'Output'\n    ItemIndex = 1\n    Columns = 2\n"
                      "    Items.Strings = (\n      'One'\n      'Two'\n      'Three')\n  end\n"
                      "  object Dot: TShape\n    Left = 200\n    Top = 0\n    Shape = stCircle\n"
                      "    Brush.Color = clRed\n  end\n"
                      "end\n",
                      &read);
    auto* info = static_cast<TPanel*>(read.FindComponent("Info"));
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->Alignment(), taLeftJustify);
    EXPECT_EQ(info->BevelInner(), bvRaised);
    EXPECT_EQ(info->BevelOuter(), bvLowered);
    EXPECT_EQ(info->BorderWidth(), 2);
    EXPECT_EQ(info->Caption(), "Info");
    auto* output = static_cast<TRadioGroup*>(read.FindComponent("Output"));
    EXPECT_EQ(output->ItemIndex(), 1);
    EXPECT_EQ(output->Columns(), 2);
    ASSERT_EQ(output->ButtonCount(), 3);
    EXPECT_TRUE(output->Buttons(1)->Checked());
    // The buttons are the group's own; they are not components of the form.
    EXPECT_EQ(read.FindComponent("Output")->ComponentCount(), 3);
    auto* dot = static_cast<TShape*>(read.FindComponent("Dot"));
    EXPECT_EQ(dot->Shape(), stCircle);
    EXPECT_EQ(dot->Brush()->Color(), clRed);
}


// ---- TSplitter ------------------------------------------------------------------------------

// A blue box, a splitter and a green box filling the rest, side by side.
class SplitterTest : public VisualTest {
protected:
    std::unique_ptr<TForm> form = plainForm(300, 200);
    TBox* side = nullptr;
    TSplitter* splitter = nullptr;
    TBox* rest = nullptr;
    Integer moves = 0;
    bool refuse = false;

    void SetUp() override {
        VisualTest::SetUp();
        form->SetColor(clWhite);
    }
    void build(TAlign Align) {
        const bool farSide = Align == alRight || Align == alBottom;
        side = child<TBox>(form.get(), Align, {farSide ? 200 : 0, farSide ? 100 : 0, 100, 100});
        side->SetColor(clBlue);
        splitter = child<TSplitter>(form.get(), Align, {farSide ? 199 : 100, farSide ? 99 : 100, 3, 3});
        splitter->SetColor(clBtnFace);
        splitter->OnMoved = TNotifyEvent(this, &SplitterTest::moved);
        splitter->OnCanResize = TSplitterCanResizeEvent(this, &SplitterTest::canResize);
        rest = child<TBox>(form.get(), alClient, {0, 0, 10, 10});
        rest->SetColor(clGreen);
        form->Show();
        Application->ProcessMessages();
    }
    // Presses the splitter's middle and lets go Distance pixels further along.
    void drag(Integer Distance, bool horizontal = true) {
        const TPoint start{splitter->Left() + 1, splitter->Top() + 1};
        const TPoint end{start.x + (horizontal ? Distance : 0), start.y + (horizontal ? 0 : Distance)};
        backend.MouseDown(form->Handle(), start);
        backend.MoveMouse(form->Handle(), end);
        Application->ProcessMessages();
        backend.MouseUp(form->Handle(), end);
        Application->ProcessMessages();
    }
    TColor pixel(TPoint Point) { return PixelAt(form->Handle(), Point); }

private:
    void moved(TObject*) { ++moves; }
    void canResize(TObject*, Integer&, bool& Accept) { Accept = !refuse; }
};

TEST_F(SplitterTest, DraggingResizesTheNeighbourOnItsSide) {
    build(alLeft);
    EXPECT_EQ(splitter->Left(), 100);
    EXPECT_EQ(splitter->Cursor(), crHSplit);
    drag(50);
    EXPECT_EQ(side->Width(), 150);
    EXPECT_EQ(splitter->Left(), 150);
    EXPECT_EQ(rest->Left(), 153);
    EXPECT_EQ(moves, 1);
    drag(500);
    EXPECT_EQ(side->Width(), 300 - 30 - 3) << "the rest keeps MinSize";
    refuse = true;
    drag(-50);
    EXPECT_EQ(side->Width(), 267);
}

TEST_F(SplitterTest, BelowMinSizeTheNeighbourSnapsShutUnlessAutoSnapIsOff) {
    build(alLeft);
    splitter->SetAutoSnap(false);
    drag(-90);
    EXPECT_EQ(side->Width(), 30);
    splitter->SetAutoSnap(true);
    drag(-1);
    EXPECT_EQ(side->Width(), 0);
    drag(60);
    EXPECT_EQ(side->Width(), 60) << "a shut neighbour is still found";
}

TEST_F(SplitterTest, AFarSideNeighbourMovesAsItGrows) {
    build(alBottom);
    EXPECT_EQ(splitter->Cursor(), crVSplit);
    EXPECT_EQ(side->Top(), 100);
    drag(-40, false);
    EXPECT_EQ(side->Height(), 140);
    EXPECT_EQ(side->Top(), 60);
    EXPECT_EQ(splitter->Top(), 57);
}

TEST_F(SplitterTest, TheLineIsDrawnInvertedWhileDraggingAndTheSizeSetAtTheEnd) {
    build(alLeft);
    splitter->SetResizeStyle(rsLine);
    backend.MouseDown(form->Handle(), {101, 50});
    backend.MoveMouse(form->Handle(), {161, 50});
    Application->ProcessMessages();
    EXPECT_EQ(side->Width(), 100) << "nothing moves before the button goes up";
    EXPECT_EQ(pixel({161, 50}), static_cast<TColor>(clGreen ^ 0xFFFFFF));
    EXPECT_EQ(pixel({165, 50}), clGreen);
    backend.MouseUp(form->Handle(), {161, 50});
    Application->ProcessMessages();
    EXPECT_EQ(side->Width(), 160);
    EXPECT_EQ(pixel({170, 50}), clGreen) << "the line is gone";
    splitter->SetResizeStyle(rsUpdate);
    backend.MouseDown(form->Handle(), {161, 50});
    backend.MoveMouse(form->Handle(), {141, 50});
    Application->ProcessMessages();
    EXPECT_EQ(side->Width(), 140) << "resized while dragging";
    backend.MouseUp(form->Handle(), {141, 50});
    Application->ProcessMessages();
}

TEST_F(SplitterTest, ABeveledSplitterIsPaintedAndPictured) {
    build(alLeft);
    splitter->SetWidth(6);
    splitter->SetBeveled(true);
    Application->ProcessMessages();
    EXPECT_EQ(pixel({100 + 2, 50}), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(pixel({100 + 0, 50}), ColorToRGB(clBtnShadow));
    EXPECT_EQ(pixel({100 + 1, 50}), ColorToRGB(clBtnFace));
    const std::filesystem::path path = std::filesystem::path(ProgramFolder()).parent_path() / "splitter.png";
    ASSERT_TRUE(backend.SavePng(form->Handle(), path.string()));
}

} // namespace
