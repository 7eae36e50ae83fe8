// The collapsible group box: caption clicks, the collapse rules, groups,
// focus, the disabled look and streaming.
#include "gl/glGrBox.h"
#include "gl/glCommCl.h"
#include "gl/tests/glTestSupport.h"
#include "platform/vcl/Filers.h"
#include "platform/vcl/ScrollBoxes.h"
#include "platform/win/Windows.h"

namespace {

// Records the box's events with what was true when each came.
struct EventLog : TObject {
    std::vector<std::string> events;
    TControl* child = nullptr;
    void Collapsed(TObject* Sender) { record("collapsed", Sender); }
    void Expanded(TObject* Sender) { record("expanded", Sender); }
    void record(const std::string& Event, TObject* Sender) {
        auto* box = static_cast<TglGroupBox*>(Sender);
        std::string entry = box->Name() + " " + Event + " " + std::to_string(box->Height());
        if (child) entry += child->Visible() ? " shown" : " hidden";
        events.push_back(entry);
    }
};

bool hasReddishInk(const std::set<TColor>& Colors) {
    return std::any_of(Colors.begin(), Colors.end(),
                       [](TColor Color) { return GetRValue(Color) > GetGValue(Color) + 60; });
}

class GroupBoxTest : public GlVisualTest {
protected:
    std::unique_ptr<TForm> form = plainForm(400, 400);
    EventLog log;

    void SetUp() override {
        GlVisualTest::SetUp();
        backend.UseSteppedTime(true);
    }
    void TearDown() override {
        backend.UseSteppedTime(false);
        GlVisualTest::TearDown();
    }

    TglGroupBox* box(const char* Name, Place Bounds, TWinControl* Parent = nullptr) {
        auto* created = new TglGroupBox(form.get());
        created->SetName(Name);
        created->SetCaption(Name);
        created->SetBounds(Bounds.left, Bounds.top, Bounds.width, Bounds.height);
        created->SetParent(Parent ? Parent : form.get());
        created->OnCollapsed = TNotifyEvent(&log, &EventLog::Collapsed);
        created->OnExpanded = TNotifyEvent(&log, &EventLog::Expanded);
        return created;
    }
    void show() {
        form->Show();
        Application->ProcessMessages();
    }
    // A click well after the last one: two quick clicks make a double click.
    void clickCaption(TglGroupBox* Box) {
        backend.AdvanceTime(1000);
        const TRect& caption = Box->CaptionRect();
        backend.Click(Box->Handle(), {caption.Left + 2, caption.Top + 2});
        Application->ProcessMessages();
    }
    // The caption text's height in the box's font, as the box measures it.
    Integer textHeight(TglGroupBox* Box) {
        TBitmap scratch;
        scratch.SetSize(1, 1);
        scratch.Canvas()->SetFont(Box->Font());
        return scratch.Canvas()->TextHeight(Box->Caption());
    }
};

TEST_F(GroupBoxTest, CaptionClicksCollapseToTheCaptionAndExpandToTheFullHeight) {
    TglGroupBox* wizard = box("Wizard", {10, 10, 300, 181});
    auto* edit = new TEdit(form.get());
    edit->SetParent(wizard);
    edit->SetBounds(10, 40, 100, 21);
    log.child = edit;
    show();
    // Inner bevel bvSpace adds two pixels to the text's height; the box keeps one more row.
    const Integer captionBottom = textHeight(wizard) + 2;
    ASSERT_EQ(wizard->CaptionRect().Bottom, captionBottom);
    clickCaption(wizard);
    EXPECT_TRUE(wizard->Collapsed());
    EXPECT_EQ(wizard->Height(), captionBottom + 1);
    EXPECT_EQ(wizard->FullHeight(), 181);
    clickCaption(wizard);
    EXPECT_FALSE(wizard->Collapsed());
    EXPECT_EQ(wizard->Height(), 181);
    const std::string collapsedHeight = std::to_string(captionBottom + 1);
    EXPECT_EQ(log.events, (std::vector<std::string>{"Wizard collapsed " + collapsedHeight + " hidden",
                                                    "Wizard expanded 181 shown"}));
}

TEST_F(GroupBoxTest, ThirteenPixelCaptionGivesTheStoredCollapsedHeight) {
    TglGroupBox* palette = box("Palette1GroupBox", {10, 10, 300, 105});
    // The main window's font, 13 pixels high on Windows; the collapsed height
    // follows whatever height our substitute face gives it.
    palette->Font()->SetName("MS Sans Serif");
    palette->Font()->SetHeight(-11);
    show();
    const Integer height = textHeight(palette);
    EXPECT_EQ(palette->CaptionRect().Bottom, height + 2);
    palette->Collapse(true);
    EXPECT_EQ(palette->Height(), height + 3);
    EXPECT_GE(height, 12);
    EXPECT_LE(height, 13);
}

TEST_F(GroupBoxTest, CollapsingBeforeTheFirstPaintLeavesOneRow) {
    TglGroupBox* early = box("Early", {10, 10, 200, 100});
    early->Collapse(true);
    EXPECT_EQ(early->Height(), 1);
}

TEST_F(GroupBoxTest, SetCollapsedFollowsTheOptionAndFiresNothing) {
    TglGroupBox* fixed = box("Fixed", {10, 10, 200, 100});
    show();
    fixed->SetOptions(fixed->Options() - TglGrBoxOptions{fgoCanCollapse});
    fixed->SetCollapsed(true);
    EXPECT_FALSE(fixed->Collapsed());
    EXPECT_EQ(fixed->Height(), 100);
    fixed->SetOptions(fixed->Options() + TglGrBoxOptions{fgoCanCollapse});
    fixed->SetCollapsed(true);
    EXPECT_TRUE(fixed->Collapsed());
    fixed->SetOptions(fixed->Options() - TglGrBoxOptions{fgoCanCollapse});
    fixed->SetCollapsed(false);
    EXPECT_FALSE(fixed->Collapsed());
    EXPECT_EQ(fixed->Height(), 100);
    EXPECT_TRUE(log.events.empty());
}

TEST_F(GroupBoxTest, AClientAlignedBoxNeverCollapsesButReportsExpanding) {
    TglGroupBox* client = box("Client", {0, 0, 100, 100});
    client->SetAlign(alClient);
    show();
    clickCaption(client);
    EXPECT_FALSE(client->Collapsed());
    EXPECT_EQ(client->Height(), 400);
    client->Collapse(false);
    EXPECT_EQ(log.events, (std::vector<std::string>{"Client expanded 400"}));
}

TEST_F(GroupBoxTest, TheLastExpandedBoxOfAGroupStaysExpanded) {
    TglGroupBox* first = box("First", {10, 10, 150, 100});
    TglGroupBox* second = box("Second", {170, 10, 150, 100});
    for (TglGroupBox* each : {first, second}) {
        each->SetOptions(each->Options() + TglGrBoxOptions{fgoOneAlwaysExpanded});
        each->SetGroupIndex(1);
    }
    show();
    // Joining the group while expanded collapsed the box already in it.
    EXPECT_TRUE(first->Collapsed());
    log.events.clear();
    clickCaption(second);
    EXPECT_FALSE(second->Collapsed());
    EXPECT_EQ(second->Height(), 100);
    EXPECT_TRUE(log.events.empty());
}

TEST_F(GroupBoxTest, ExpandingCollapsesTheOthersOfItsGroupAmongTheOwnersComponents) {
    auto* panel = new TPanel(form.get());
    panel->SetParent(form.get());
    panel->SetBounds(0, 200, 400, 200);
    TglGroupBox* top = box("Top", {10, 10, 150, 100});
    TglGroupBox* nested = box("Nested", {10, 10, 150, 100}, panel);
    TglGroupBox* other = box("Other", {200, 10, 150, 100});
    show();
    for (TglGroupBox* each : {top, nested, other})
        each->SetOptions(each->Options() + TglGrBoxOptions{fgoCollapseOther});
    top->Collapse(true);
    top->SetGroupIndex(1);
    nested->SetGroupIndex(1);
    log.events.clear();
    top->Collapse(false);
    EXPECT_FALSE(top->Collapsed());
    EXPECT_TRUE(nested->Collapsed());
    EXPECT_FALSE(other->Collapsed());
    EXPECT_EQ(log.events, (std::vector<std::string>{"Top expanded 100"}));
}

TEST_F(GroupBoxTest, TheFocusedChildIsFocusedAgainOnExpanding) {
    TglGroupBox* wizard = box("Wizard", {10, 10, 300, 181});
    auto* first = new TEdit(form.get());
    first->SetParent(wizard);
    first->SetBounds(10, 30, 100, 21);
    auto* second = new TEdit(form.get());
    second->SetParent(wizard);
    second->SetBounds(10, 60, 100, 21);
    show();
    second->SetFocus();
    wizard->Collapse(true);
    EXPECT_FALSE(second->Visible());
    first->Show();
    first->SetFocus();
    wizard->Collapse(false);
    EXPECT_TRUE(second->Focused());
    // A remembered child that goes away is forgotten.
    wizard->Collapse(true);
    delete second;
    wizard->Collapse(false);
    EXPECT_TRUE(first->Visible());
}

TEST_F(GroupBoxTest, DraggingBelowTheCaptionScrollsTheScrollBoxUnderneath) {
    auto* scroller = new TScrollBox(form.get());
    scroller->SetParent(form.get());
    scroller->SetBounds(0, 0, 300, 200);
    TglGroupBox* tall = box("Tall", {0, 0, 280, 600}, scroller);
    show();
    ASSERT_EQ(scroller->VertScrollBar()->Position(), 0);
    backend.MouseDown(tall->Handle(), {50, 100});
    Application->ProcessMessages();
    EXPECT_EQ(Screen->Cursor(), crHandPoint);
    backend.MoveMouse(tall->Handle(), {50, 60});
    Application->ProcessMessages();
    EXPECT_EQ(scroller->VertScrollBar()->Position(), 40);
    backend.MouseUp(tall->Handle(), {50, 60});
    Application->ProcessMessages();
    EXPECT_EQ(Screen->Cursor(), crDefault);
    EXPECT_FALSE(tall->Collapsed());
    EXPECT_TRUE(log.events.empty());
}

TEST_F(GroupBoxTest, ResizeParentMovesTheParentsHeightWithTheBox) {
    auto* panel = new TPanel(form.get());
    panel->SetParent(form.get());
    panel->SetBounds(0, 0, 300, 300);
    TglGroupBox* inner = box("Inner", {10, 10, 200, 150}, panel);
    inner->SetOptions(inner->Options() + TglGrBoxOptions{fgoResizeParent});
    show();
    const Integer captionBottom = inner->CaptionRect().Bottom;
    inner->Collapse(true);
    EXPECT_EQ(panel->Height(), 300 - (150 - captionBottom));
    inner->Collapse(false);
    EXPECT_EQ(panel->Height(), 300);
}

TEST_F(GroupBoxTest, ADisabledBoxDisablesItsChildrenAndPushesItsCaption) {
    TglGroupBox* wizard = box("Wizard", {10, 10, 200, 100});
    wizard->SetCaptionTextStyle(fstRaised);
    wizard->Colors()->SetTextActive(clRed);
    auto* edit = new TEdit(form.get());
    edit->SetParent(wizard);
    edit->SetBounds(10, 40, 100, 21);
    form->SetColor(clBtnFace);
    show();
    wizard->SetEnabled(false);
    EXPECT_FALSE(edit->Enabled());
    Application->ProcessMessages();
    // The pushed style draws no text colour: no red ink in the caption.
    const TRect& caption = wizard->CaptionRect();
    EXPECT_FALSE(hasReddishInk(colorsIn(wizard->Handle(), caption)));
    wizard->SetEnabled(true);
    EXPECT_TRUE(edit->Enabled());
    Application->ProcessMessages();
    EXPECT_TRUE(hasReddishInk(colorsIn(wizard->Handle(), caption)));
}

TEST_F(GroupBoxTest, AnEmptyCaptionDrawsOnlyTheFrameAndKeepsTheCaptionRectangle) {
    TglGroupBox* plain = box("Plain", {10, 10, 200, 100});
    show();
    const TRect caption = plain->CaptionRect();
    plain->SetCaption("");
    Application->ProcessMessages();
    EXPECT_EQ(plain->CaptionRect(), caption);
    // The frame's top line runs through where the caption box stood.
    const Integer frameTop = textHeight(plain) / 2;
    EXPECT_EQ(PixelAt(plain->Handle(), {caption.Left + 1, frameTop}), ColorToRGB(clBtnShadow));
    EXPECT_EQ(PixelAt(plain->Handle(), {caption.Left + 1, frameTop + 1}), ColorToRGB(clBtnFace));
}

// Where the caption box stands across the width, and how much taller the
// delineated text and the text styles make it.
TEST_F(GroupBoxTest, CaptionAlignmentAndTextStylesPlaceAndSizeTheCaptionBox) {
    TglGroupBox* placed = box("Placed", {10, 10, 200, 100});
    show();
    const TRect natural = placed->CaptionRect();
    const Integer width = natural.Right - natural.Left;
    struct Alignment {
        TCaptionAlignment alignment;
        Integer left;
        Integer right;
    };
    for (const Alignment& a :
         {Alignment{fcaLeft, 0, width}, Alignment{fcaRight, 200 - width - 1, 199},
          Alignment{fcaCenter, (200 - width) / 2, (200 - width) / 2 + width}, Alignment{fcaWidth, 0, 199},
          Alignment{fcaNone, natural.Left, natural.Right}}) {
        placed->SetCaptionAlignment(a.alignment);
        Application->ProcessMessages();
        EXPECT_EQ(placed->CaptionRect().Left, a.left) << a.alignment;
        EXPECT_EQ(placed->CaptionRect().Right, a.right) << a.alignment;
    }
    placed->Illumination()->SetShadowDepth(4);
    struct Extra {
        TglTextStyle style;
        bool delineated;
        Integer extra;
    };
    for (const Extra& e : {Extra{fstNone, true, 2}, Extra{fstRaised, false, 2}, Extra{fstShadow, false, 4},
                           Extra{fstShadow, true, 2 + 4 - 2}, Extra{fstVolumetric, true, 2 + 2}}) {
        placed->SetCaptionTextStyle(e.style);
        TglGrBoxOptions options = placed->Options();
        if (e.delineated)
            options.Include(fgoDelineatedText);
        else
            options.Exclude(fgoDelineatedText);
        placed->SetOptions(options);
        Application->ProcessMessages();
        EXPECT_EQ(placed->CaptionRect().Bottom, natural.Bottom + e.extra) << e.style << e.delineated;
    }
}

// With fgoIgnoreMouse neither a caption click nor a drag does anything.
TEST_F(GroupBoxTest, IgnoreMouseLeavesCaptionClicksAlone) {
    TglGroupBox* deaf = box("Deaf", {10, 10, 200, 100});
    TglGrBoxOptions options = deaf->Options();
    options.Include(fgoIgnoreMouse);
    deaf->SetOptions(options);
    show();
    clickCaption(deaf);
    EXPECT_FALSE(deaf->Collapsed());
    EXPECT_EQ(deaf->Height(), 100);
    EXPECT_TRUE(log.events.empty());
    backend.MouseDown(deaf->Handle(), {50, 60});
    Application->ProcessMessages();
    EXPECT_EQ(Screen->Cursor(), crDefault) << "no drag gesture starts";
    backend.MouseUp(deaf->Handle(), {50, 60});
    Application->ProcessMessages();
}

// Each state shows its own glyph at the caption box's left, the text after it.
TEST_F(GroupBoxTest, TheCaptionShowsTheGlyphOfItsState) {
    TglGroupBox* glyphs = box("Glyphs", {10, 10, 200, 100});
    auto glyph = [](TColor Color) {
        auto bitmap = std::make_unique<TBitmap>();
        bitmap->SetSize(8, 8);
        bitmap->Canvas()->Brush()->SetColor(clFuchsia);
        bitmap->Canvas()->FillRect({0, 0, 8, 8});
        bitmap->Canvas()->Brush()->SetColor(Color);
        bitmap->Canvas()->FillRect({2, 2, 6, 6});
        return bitmap;
    };
    glyphs->SetGlyphExpanded(glyph(clLime).get());
    glyphs->SetGlyphCollapsed(glyph(clRed).get());
    show();
    const TRect caption = glyphs->CaptionRect();
    const std::set<TColor> expanded = colorsIn(glyphs->Handle(), caption);
    EXPECT_TRUE(expanded.contains(clLime));
    EXPECT_FALSE(expanded.contains(clRed));
    EXPECT_FALSE(expanded.contains(clFuchsia)) << "the glyph's corner colour is left out";
    glyphs->Collapse(true);
    Application->ProcessMessages();
    const std::set<TColor> collapsed = colorsIn(glyphs->Handle(), glyphs->CaptionRect());
    EXPECT_TRUE(collapsed.contains(clRed));
    EXPECT_FALSE(collapsed.contains(clLime));
}

// A transparent caption leaves its box unfilled, and both flags ask the
// window for the transparent extended style.
TEST_F(GroupBoxTest, TransparentCaptionLeavesTheCaptionUnfilled) {
    TglGroupBox* see = box("See", {10, 10, 200, 100});
    see->Colors()->SetCaption(clRed);
    see->Colors()->SetCaptionActive(clRed);
    show();
    const TRect caption = see->CaptionRect();
    EXPECT_EQ(PixelAt(see->Handle(), {caption.Right - 2, caption.Top + 2}), clRed);
    EXPECT_EQ(GetWindowLongA(see->Handle(), GWL_EXSTYLE) & WS_EX_TRANSPARENT, 0);
    see->SetTransparentCaption(true);
    Application->ProcessMessages();
    EXPECT_NE(PixelAt(see->Handle(), {caption.Right - 2, caption.Top + 2}), clRed);
    EXPECT_NE(GetWindowLongA(see->Handle(), GWL_EXSTYLE) & WS_EX_TRANSPARENT, 0);
    see->SetTransparentCaption(false);
    see->SetTransparent(true);
    Application->ProcessMessages();
    EXPECT_NE(GetWindowLongA(see->Handle(), GWL_EXSTYLE) & WS_EX_TRANSPARENT, 0);
}

TEST_F(GroupBoxTest, FullHeightAndTheInertOptionsRoundTripThroughAFormResource) {
    TglGroupBox* stored = box("Stored", {10, 10, 200, 120});
    show();
    stored->SetOptions(DefaultGroupBoxOptions + TglGrBoxOptions{fgoBufferedDraw});
    stored->Collapse(true);
    const AnsiString text = WriteComponentText(stored);
    EXPECT_NE(text.find("FullHeight = 120"), AnsiString::npos) << text;
    EXPECT_NE(text.find("fgoFluentlyCollapse"), AnsiString::npos) << text;
    TglGroupBox copy(nullptr);
    ReadComponentText(text, &copy);
    EXPECT_EQ(copy.FullHeight(), 120);
    EXPECT_TRUE(copy.Collapsed());
    EXPECT_EQ(copy.Height(), stored->Height());
    EXPECT_EQ(copy.Options(), stored->Options());
}

// The main window's three boxes as its form resource stores them.
const char* const MainWindowBoxes = R"(object Host: TForm
  Left = 0
  Top = 0
  Width = 400
  Height = 400
  object WizGroupBox: TglGroupBox
    Left = 0
    Top = 200
    Width = 400
    Height = 16
    Align = alBottom
    Caption = 'Wizard'
    CaptionShift.X = 8
    CaptionShift.Y = 0
    Collapsed = True
    Gradient.Active = False
    CaptionGradient.Active = False
    Options = [fgoCanCollapse, fgoFilledCaption, fgoFluentlyCollapse, fgoFluentlyExpand, fgoHideChildrenWhenCollapsed, fgoSaveChildFocus]
    FullHeight = 181
  end
  object Palette1GroupBox: TglGroupBox
    Left = 0
    Top = 0
    Width = 200
    Height = 16
    Caption = 'Palette 1'
    Collapsed = True
    Options = [fgoCanCollapse, fgoFilledCaption, fgoFluentlyCollapse, fgoFluentlyExpand, fgoHideChildrenWhenCollapsed, fgoSaveChildFocus]
    FullHeight = 105
  end
  object Palette2GroupBox: TglGroupBox
    Left = 0
    Top = 50
    Width = 200
    Height = 16
    Caption = 'Palette 2'
    Collapsed = True
    Options = [fgoCanCollapse, fgoFilledCaption, fgoFluentlyCollapse, fgoFluentlyExpand, fgoHideChildrenWhenCollapsed, fgoSaveChildFocus]
    FullHeight = 105
  end
end
)";

TEST_F(GroupBoxTest, TheMainWindowsBoxesLoadAsStoredAndExpandToTheirFullHeights) {
    TForm host(nullptr);
    ReadComponentText(MainWindowBoxes, &host);
    for (const auto& [name, full] :
         {std::pair{"WizGroupBox", 181}, {"Palette1GroupBox", 105}, {"Palette2GroupBox", 105}}) {
        auto* loaded = dynamic_cast<TglGroupBox*>(host.FindComponent(name));
        ASSERT_NE(loaded, nullptr) << name;
        EXPECT_TRUE(loaded->Collapsed());
        EXPECT_EQ(loaded->Height(), 16);
        EXPECT_EQ(loaded->FullHeight(), full);
        EXPECT_EQ(loaded->Options(), DefaultGroupBoxOptions);
        loaded->Collapse(false);
        EXPECT_EQ(loaded->Height(), full) << name;
    }
}

TEST_F(GroupBoxTest, ColourChangesRepaintThroughTheSecondNotificationOnly) {
    TglGroupBox* wizard = box("Wizard", {10, 10, 200, 100});
    show();
    const TRect& caption = wizard->CaptionRect();
    wizard->Colors()->SetCaptionActive(clRed);
    Application->ProcessMessages();
    EXPECT_EQ(PixelAt(wizard->Handle(), {caption.Left + 1, caption.Top + 1}), ColorToRGB(clRed));
    // Highlight is one of the first notification's colours: no repaint until something else asks.
    bool repainted = false;
    struct Painted : TObject {
        bool* flag;
        void After(TObject*) { *flag = true; }
    } painted;
    painted.flag = &repainted;
    wizard->AfterPaint = TNotifyEvent(&painted, &Painted::After);
    wizard->Colors()->SetHighlight(clLime);
    Application->ProcessMessages();
    EXPECT_FALSE(repainted);
    wizard->Colors()->SetClientActive(clBtnFace);
    Application->ProcessMessages();
    EXPECT_TRUE(repainted);
}

} // namespace
