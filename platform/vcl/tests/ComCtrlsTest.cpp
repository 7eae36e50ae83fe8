#include "VisualTestSupport.h"

#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Filers.h"
#include "platform/vcl/StdActns.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/win/Focus.h"
#include "platform/win/Messages.h"
#include "platform/win/Windows.h"

namespace {

using ComCtrlsTest = VisualTest;

// Logs a page control's events; OnChanging answers as told.
struct TPageEvents : TObject {
    std::vector<std::string> lines;
    bool allow = true;
    TPageControl* pages = nullptr;
    void Changing(TObject*, bool& AllowChange) {
        lines.push_back("changing from " + pages->ActivePage()->Caption());
        AllowChange = allow;
    }
    void Change(TObject*) { lines.push_back("change to " + pages->ActivePage()->Caption()); }
    void Show(TObject* Sender) { lines.push_back("show " + static_cast<TTabSheet*>(Sender)->Caption()); }
    void Hide(TObject* Sender) { lines.push_back("hide " + static_cast<TTabSheet*>(Sender)->Caption()); }
};

struct PageFixture {
    std::unique_ptr<TForm> form;
    TPageControl* pages = nullptr;
    std::vector<TTabSheet*> sheets;
    TPageEvents events;

    explicit PageFixture(std::unique_ptr<TForm> Form) : form(std::move(Form)) {
        pages = new TPageControl(form.get());
        pages->SetBounds(10, 10, 260, 160);
        pages->SetParent(form.get());
        for (const char* caption : {"&Source", "Preview", "Settings"}) {
            auto* sheet = new TTabSheet(form.get());
            sheet->SetCaption(caption);
            sheet->SetPageControl(pages);
            sheets.push_back(sheet);
        }
        events.pages = pages;
        pages->OnChanging = TTabChangingEvent(&events, &TPageEvents::Changing);
        pages->OnChange = TNotifyEvent(&events, &TPageEvents::Change);
        form->Show();
        Application->ProcessMessages();
    }

    TPoint tabCentre(Integer Index) const {
        TRect rect = pages->TabRect(Index);
        return {rect.Left + rect.Width() / 2, rect.Top + rect.Height() / 2};
    }
};

TEST_F(ComCtrlsTest, PagesShowOneAtATimeInsideTheDisplayArea) {
    PageFixture f(plainForm());
    EXPECT_EQ(f.pages->PageCount(), 3);
    EXPECT_EQ(f.pages->ActivePage(), f.sheets[0]);
    EXPECT_EQ(f.pages->TabIndex(), 0);
    EXPECT_TRUE(f.sheets[0]->Visible());
    EXPECT_FALSE(f.sheets[1]->Visible());
    TRect display = f.pages->DisplayRect();
    EXPECT_EQ(f.sheets[0]->BoundsRect(), display);
    EXPECT_GT(display.Top, f.pages->TabRect(0).Bottom);

    f.pages->SetActivePageIndex(2);
    EXPECT_TRUE(f.sheets[2]->Visible());
    EXPECT_FALSE(f.sheets[0]->Visible());
    EXPECT_EQ(f.pages->TabIndex(), 2);
    // Setting the page in code fires no event.
    EXPECT_TRUE(f.events.lines.empty());

    char caption[32] = {};
    TCITEMA item;
    item.mask = TCIF_TEXT;
    item.pszText = caption;
    item.cchTextMax = 32;
    SendMessageA(f.pages->Handle(), TCM_GETITEMA, 1, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(caption, "Preview");
    f.sheets[1]->SetCaption("Browser");
    SendMessageA(f.pages->Handle(), TCM_GETITEMA, 1, reinterpret_cast<LPARAM>(&item));
    EXPECT_STREQ(caption, "Browser");
}

TEST_F(ComCtrlsTest, APageReportsWhenItShowsAndHides) {
    PageFixture f(plainForm());
    for (TTabSheet* sheet : f.sheets) {
        sheet->OnShow = TNotifyEvent(&f.events, &TPageEvents::Show);
        sheet->OnHide = TNotifyEvent(&f.events, &TPageEvents::Hide);
    }
    // The new page shows before the old one goes.
    f.pages->SetActivePageIndex(1);
    EXPECT_EQ(f.events.lines, (std::vector<std::string>{"show Preview", "hide &Source"}));
}

TEST_F(ComCtrlsTest, AClickOnATabTurnsThePageUnlessOnChangingRefuses) {
    PageFixture f(plainForm());
    backend.Click(f.pages->Handle(), f.tabCentre(1));
    Application->ProcessMessages();
    EXPECT_EQ(f.pages->ActivePage(), f.sheets[1]);
    EXPECT_EQ(f.events.lines, (std::vector<std::string>{"changing from &Source", "change to Preview"}));

    f.events.lines.clear();
    f.events.allow = false;
    backend.Click(f.pages->Handle(), f.tabCentre(2));
    Application->ProcessMessages();
    EXPECT_EQ(f.pages->ActivePage(), f.sheets[1]);
    EXPECT_EQ(f.pages->TabIndex(), 1);
    EXPECT_EQ(f.events.lines, (std::vector<std::string>{"changing from Preview"}));
}

TEST_F(ComCtrlsTest, KeysTurnThePages) {
    PageFixture f(plainForm());
    f.pages->SetFocus();
    backend.PressKey(VK_TAB, {VK_CONTROL});
    Application->ProcessMessages();
    EXPECT_EQ(f.pages->ActivePage(), f.sheets[1]);
    backend.PressKey(VK_RIGHT);
    Application->ProcessMessages();
    EXPECT_EQ(f.pages->ActivePage(), f.sheets[2]);
    backend.PressKey(VK_TAB, {VK_CONTROL, VK_SHIFT});
    Application->ProcessMessages();
    EXPECT_EQ(f.pages->ActivePage(), f.sheets[1]);
    EXPECT_EQ(f.events.lines, (std::vector<std::string>{"changing from &Source", "change to Preview",
                                                        "changing from Preview", "change to Settings",
                                                        "changing from Settings", "change to Preview"}));

    f.events.lines.clear();
    f.events.allow = false;
    backend.PressKey(VK_TAB, {VK_CONTROL});
    backend.PressKey(VK_LEFT);
    Application->ProcessMessages();
    EXPECT_EQ(f.pages->ActivePage(), f.sheets[1]);
    EXPECT_EQ(f.events.lines, (std::vector<std::string>{"changing from Preview", "changing from Preview"}));

    // Ctrl+Tab wraps around, and an accelerator picks its page.
    f.events.allow = true;
    backend.PressKey('S', {VK_MENU});
    Application->ProcessMessages();
    EXPECT_EQ(f.pages->ActivePage(), f.sheets[0]);
}

TEST_F(ComCtrlsTest, HiddenTabsAreSkippedAndPagesMove) {
    PageFixture f(plainForm());
    f.sheets[1]->SetTabVisible(false);
    EXPECT_EQ(f.pages->Tabs()->Count(), 2);
    EXPECT_EQ(f.sheets[1]->TabIndex(), -1);
    EXPECT_EQ(f.sheets[2]->TabIndex(), 1);
    EXPECT_EQ(f.pages->FindNextPage(f.sheets[0], true, true), f.sheets[2]);
    EXPECT_EQ(f.pages->FindNextPage(f.sheets[0], true, false), f.sheets[1]);
    f.sheets[1]->SetTabVisible(true);
    EXPECT_EQ(f.pages->Tabs()->Strings(1), "Preview");

    f.sheets[2]->SetPageIndex(0);
    EXPECT_EQ(f.pages->Pages(0), f.sheets[2]);
    EXPECT_EQ(f.pages->Tabs()->Strings(0), "Settings");
    EXPECT_EQ(f.pages->ActivePage()->TabIndex(), f.pages->TabIndex());
    EXPECT_THROW(f.sheets[2]->SetPageIndex(3), EListError);

    delete f.sheets[1];
    EXPECT_EQ(f.pages->PageCount(), 2);
    EXPECT_EQ(f.pages->Tabs()->Count(), 2);
}

TEST_F(ComCtrlsTest, APageControlIsReadFromAFormResource) {
    TForm form(nullptr);
    ReadComponentText(
        "object Main: TForm\n"
        "  Left = 0\n  Top = 0\n  Width = 300\n  Height = 200\n"
        "  object Pages: TPageControl\n"
        "    Left = 0\n    Top = 0\n    Width = 280\n    Height = 150\n"
        "    ActivePage = Second\n"
        "    object First: TTabSheet\n      Caption = 'One'\n    end\n"
        "    object Second: TTabSheet\n      Caption = 'Two'\n    end\n"
        "    object Hidden: TTabSheet\n      Caption = 'Three'\n      TabVisible = False\n    end\n"
        "  end\n"
        "  object Status: TStatusBar\n"
        "    Left = 0\n    Top = 181\n    Width = 300\n    Height = 19\n"
        "    Panels = <\n      item\n        Width = 50\n      end\n"
        "      item\n        Alignment = taCenter\n        Text = 'Mid'\n        Width = 80\n      end>\n"
        "    SimpleText = '***'\n"
        "  end\n"
        "end\n",
        &form);
    auto* pages = static_cast<TPageControl*>(form.FindComponent("Pages"));
    ASSERT_NE(pages, nullptr);
    EXPECT_EQ(pages->PageCount(), 3);
    EXPECT_EQ(pages->ActivePage(), form.FindComponent("Second"));
    EXPECT_EQ(pages->Tabs()->Count(), 2);
    auto* status = static_cast<TStatusBar*>(form.FindComponent("Status"));
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->Panels()->Count(), 2);
    EXPECT_EQ(status->Panels()->Items(1)->Text(), "Mid");
    EXPECT_EQ(status->Panels()->Items(1)->Alignment(), taCenter);
    EXPECT_EQ(status->SimpleText(), "***");
}

// A control docks in on a sheet of its own; its caption's first line and
// its visibility become the sheet's.
TEST_F(ComCtrlsTest, AControlDocksOntoANewSheet) {
    PageFixture fixture(plainForm(300, 200));
    auto* client = new TButton(fixture.form.get());
    client->SetCaption("Dock");
    TDragDockObject source(client);
    EXPECT_EQ(fixture.pages->Perform(CM_DOCKCLIENT, reinterpret_cast<WPARAM>(&source), 0), 0);
    ASSERT_EQ(fixture.pages->PageCount(), 4);
    TTabSheet* sheet = fixture.pages->Pages(3);
    EXPECT_EQ(client->Parent(), sheet);
    EXPECT_EQ(client->Align(), alClient);
    EXPECT_EQ(fixture.pages->ActivePage(), sheet);
    client->SetCaption("First\r\nSecond");
    EXPECT_EQ(sheet->Caption(), "First");
    client->SetVisible(false);
    EXPECT_FALSE(sheet->TabVisible());
}

// With AutoHint the application's hint shows in panel 0, or as the simple
// text without panels; an assigned OnHint takes it instead.
TEST_F(ComCtrlsTest, AnAutoHintStatusBarShowsTheApplicationsHint) {
    auto form = plainForm(300, 200);
    auto* bar = new TStatusBar(form.get());
    bar->SetParent(form.get());
    bar->SetAutoHint(true);
    form->Show();
    Application->SetHint("No panels");
    EXPECT_EQ(bar->SimpleText(), "No panels");
    bar->Panels()->Add();
    Application->SetHint("Panel zero");
    EXPECT_EQ(bar->Panels()->Items(0)->Text(), "Panel zero");
    THintAction action(nullptr);
    action.SetHint("Direct");
    EXPECT_TRUE(bar->ExecuteAction(&action));
    EXPECT_EQ(bar->Panels()->Items(0)->Text(), "Direct");
    bar->SetAutoHint(false);
    EXPECT_FALSE(bar->ExecuteAction(&action));
    Application->SetHint("");
}

TEST_F(ComCtrlsTest, StatusPanelsReachTheBarWithTheirAlignmentAndBevel) {
    auto form = plainForm(400, 200);
    auto* status = new TStatusBar(form.get());
    status->SetParent(form.get());
    for (Integer width : {50, 50, 200, 50})
        status->Panels()->Add()->SetWidth(width);
    status->Panels()->Items(1)->SetAlignment(taCenter);
    status->Panels()->Items(1)->SetText("mid");
    status->Panels()->Items(2)->SetAlignment(taRightJustify);
    status->Panels()->Items(2)->SetBevel(pbRaised);
    status->Panels()->Items(3)->SetText("hint");
    form->Show();
    Application->ProcessMessages();

    EXPECT_EQ(status->Top() + status->Height(), 200);
    HWND bar = status->Handle();
    int edges[4] = {};
    EXPECT_EQ(SendMessageA(bar, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)), 4);
    EXPECT_EQ(edges[2], 300);
    EXPECT_EQ(edges[3], -1);
    char text[32] = {};
    EXPECT_EQ(SendMessageA(bar, SB_GETTEXTA, 1, reinterpret_cast<LPARAM>(text)), MAKELONG(4, 0));
    EXPECT_STREQ(text, "\tmid");
    EXPECT_EQ(HIWORD(SendMessageA(bar, SB_GETTEXTA, 2, reinterpret_cast<LPARAM>(text))), SBT_POPOUT);
    EXPECT_STREQ(text, "\t\t");

    status->Panels()->Items(3)->SetText("new hint");
    SendMessageA(bar, SB_GETTEXTA, 3, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "new hint");

    status->SetSimpleText("***");
    status->SetSimplePanel(true);
    EXPECT_TRUE(SendMessageA(bar, SB_ISSIMPLE, 0, 0));
    SendMessageA(bar, SB_GETTEXTA, SB_SIMPLEID, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "***");
}

struct THintCounter : TObject {
    Integer hints = 0;
    void Hint(TObject*) { ++hints; }
};

// The application's hint reaches a status bar with AutoHint: its simple
// text, or its first panel; OnHint takes it instead.
TEST_F(ComCtrlsTest, AStatusBarWithAutoHintShowsTheApplicationsHint) {
    auto form = plainForm(400, 200);
    auto* status = new TStatusBar(form.get());
    status->SetParent(form.get());
    form->Show();
    Application->ProcessMessages();

    Application->SetHint("Opens a file");
    EXPECT_EQ(status->SimpleText(), "") << "AutoHint is off";
    status->SetAutoHint(true);
    Application->SetHint("Saves the file");
    EXPECT_EQ(status->SimpleText(), "Saves the file");

    status->Panels()->Add()->SetWidth(100);
    status->Panels()->Add();
    Application->SetHint("Closes");
    EXPECT_EQ(status->Panels()->Items(0)->Text(), "Closes");
    EXPECT_EQ(status->SimpleText(), "Saves the file");

    THintCounter counter;
    status->OnHint = TNotifyEvent(&counter, &THintCounter::Hint);
    Application->SetHint("Quits");
    EXPECT_EQ(counter.hints, 1);
    EXPECT_EQ(status->Panels()->Items(0)->Text(), "Closes");
    Application->SetHint("");
}

// Draws owner-drawn panels in a colour of their own.
struct TPanelPainter : TObject {
    std::vector<Integer> drawn;
    void Draw(TCustomStatusBar* StatusBar, TStatusPanel* Panel, const TRect& Rect) {
        drawn.push_back(Panel->Index());
        StatusBar->Canvas()->Brush()->SetColor(clRed);
        StatusBar->Canvas()->FillRect(Rect);
    }
};

TEST_F(ComCtrlsTest, AStatusBarHoldsAProgressBarAndOwnerDrawnPanels) {
    auto form = plainForm(400, 200);
    auto* status = new TStatusBar(form.get());
    status->SetParent(form.get());
    for (Integer width : {50, 50, 200, 50})
        status->Panels()->Add()->SetWidth(width);
    status->Panels()->Items(3)->SetStyle(psOwnerDraw);
    TPanelPainter painter;
    status->OnDrawPanel = TDrawPanelEvent(&painter, &TPanelPainter::Draw);
    // Placed over the third panel, as the main window does.
    auto* progress = new TProgressBar(status);
    progress->SetParent(status);
    progress->SetBounds(102, 2, 198, status->Height() - 3);
    progress->SetSmooth(true);
    progress->SetMax(10);
    progress->SetPosition(10);
    form->Show();
    Application->ProcessMessages();

    EXPECT_EQ(PixelAt(progress->Handle(), {50, 5}), ColorToRGB(clHighlight));
    EXPECT_EQ(PixelAt(status->Handle(), {330, 9}), clRed);
    EXPECT_FALSE(painter.drawn.empty());
    EXPECT_EQ(painter.drawn.back(), 3);
    progress->StepBy(-5);
    EXPECT_EQ(progress->Position(), 5);
}

TEST_F(ComCtrlsTest, AProgressBarKeepsItsValuesAcrossItsWindow) {
    auto form = plainForm();
    auto* bar = new TProgressBar(form.get());
    bar->SetMax(8);
    bar->SetStep(8);
    bar->SetParent(form.get());
    form->Show();
    Application->ProcessMessages();
    for (int step = 0; step < 8; ++step)
        bar->StepBy(1);
    EXPECT_EQ(bar->Position(), 8);
    bar->SetOrientation(pbVertical);
    Application->ProcessMessages();
    EXPECT_EQ(bar->Position(), 8);
    EXPECT_EQ(SendMessageA(bar->Handle(), PBM_GETRANGE, FALSE, 0), 8);
    EXPECT_TRUE(GetWindowLongA(bar->Handle(), GWL_STYLE) & PBS_VERTICAL);
    bar->StepIt();
    EXPECT_EQ(bar->Position(), 0);
}

TEST_F(ComCtrlsTest, ATabControlKeepsItsTabsAcrossItsWindow) {
    auto form = plainForm();
    auto* tabs = new TTabControl(form.get());
    tabs->SetParent(form.get());
    tabs->SetBounds(5, 5, 250, 120);
    TObject marker;
    tabs->Tabs()->Add("First");
    tabs->Tabs()->AddObject("Second", &marker);
    tabs->Tabs()->Add("&Third");
    tabs->SetTabIndex(1);
    form->Show();
    Application->ProcessMessages();
    EXPECT_EQ(SendMessageA(tabs->Handle(), TCM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(tabs->TabIndex(), 1);
    TCITEMA item;
    item.mask = TCIF_PARAM;
    SendMessageA(tabs->Handle(), TCM_GETITEMA, 1, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(item.lParam, reinterpret_cast<LPARAM>(&marker));

    tabs->SetMultiLine(true);
    Application->ProcessMessages();
    EXPECT_EQ(tabs->TabIndex(), 1);
    EXPECT_EQ(tabs->Tabs()->Objects(1), &marker);
    tabs->Tabs()->Delete(0);
    EXPECT_EQ(SendMessageA(tabs->Handle(), TCM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(tabs->IndexOfTabAt(tabs->TabRect(1).Left + 3, tabs->TabRect(1).Top + 3), 1);
    EXPECT_THROW(tabs->Tabs()->Strings(5), EStringListError);
}

// Logs what a track bar and an up-down report.
struct TSliderEvents : TObject {
    std::vector<std::string> lines;
    bool allow = true;
    void TrackChange(TObject* Sender) {
        lines.push_back("change " + std::to_string(static_cast<TTrackBar*>(Sender)->Position()));
    }
    void Changing(TObject*, bool& AllowChange, SmallInt NewValue, TUpDownDirection Direction) {
        lines.push_back("changing " + std::to_string(NewValue) + (Direction == updUp ? " up" : " down"));
        AllowChange = allow;
    }
    void Click(TObject* Sender, TUDBtnType Button) {
        lines.push_back(std::string(Button == btNext ? "next " : "prev ") +
                        std::to_string(static_cast<TUpDown*>(Sender)->Position()));
    }
};

TEST_F(ComCtrlsTest, ATrackBarFollowsKeysAndTheMouse) {
    auto form = plainForm();
    auto* bar = new TTrackBar(form.get());
    bar->SetParent(form.get());
    bar->SetBounds(10, 10, 200, 45);
    bar->SetMax(10);
    TSliderEvents events;
    bar->OnChange = TNotifyEvent(&events, &TSliderEvents::TrackChange);
    form->Show();
    Application->ProcessMessages();

    bar->SetFocus();
    backend.PressKey(VK_RIGHT);
    backend.PressKey(VK_NEXT);
    Application->ProcessMessages();
    EXPECT_EQ(bar->Position(), 3);
    EXPECT_EQ(events.lines, (std::vector<std::string>{"change 1", "change 1", "change 3", "change 3"}));

    events.lines.clear();
    RECT thumb;
    SendMessageA(bar->Handle(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    RECT channel;
    SendMessageA(bar->Handle(), TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    backend.MouseDown(bar->Handle(), {thumb.Left + 2, thumb.Top + 4});
    backend.MoveMouse(bar->Handle(), {channel.Right + 20, thumb.Top + 4});
    Application->ProcessMessages();
    backend.MouseUp(bar->Handle(), {channel.Right + 20, thumb.Top + 4});
    Application->ProcessMessages();
    EXPECT_EQ(bar->Position(), 10);
    EXPECT_EQ(events.lines, (std::vector<std::string>{"change 10", "change 10", "change 10"}));

    bar->SetOrientation(trVertical);
    EXPECT_EQ(bar->Width(), 45);
    EXPECT_EQ(bar->Height(), 200);
    Application->ProcessMessages();
    EXPECT_EQ(bar->Position(), 10);
}

// A box that wants the arrow keys, as an edit does.
class TArrowBox : public TBox {
public:
    using TBox::TBox;
    void Dispatch(TMessage& Message) override {
        if (Message.Msg == WM_GETDLGCODE)
            Message.Result = DLGC_WANTARROWS;
        else
            TBox::Dispatch(Message);
    }
};

TEST_F(ComCtrlsTest, AnUpDownStepsItsAssociateAndAsksFirst) {
    auto form = plainForm();
    TBox* box = child<TArrowBox>(form.get(), alNone, {10, 10, 80, 22});
    box->SetTabStop(true);
    auto* spin = new TUpDown(form.get());
    spin->SetParent(form.get());
    spin->SetMax(3);
    spin->SetPosition(1);
    spin->SetAssociate(box);
    TSliderEvents events;
    spin->OnChangingEx = TUDChangingEventEx(&events, &TSliderEvents::Changing);
    spin->OnClick = TUDClickEvent(&events, &TSliderEvents::Click);
    form->Show();
    Application->ProcessMessages();

    EXPECT_EQ(box->Width() + spin->Width(), 80);
    EXPECT_EQ(spin->Left(), box->Left() + box->Width());
    EXPECT_EQ(box->Text(), "1");
    const TPoint up{spin->Width() / 2, 3};
    const TPoint down{spin->Width() / 2, spin->Height() - 3};
    backend.Click(spin->Handle(), up);
    Application->ProcessMessages();
    EXPECT_EQ(spin->Position(), 2);
    EXPECT_EQ(box->Text(), "2");
    backend.Click(spin->Handle(), down);
    Application->ProcessMessages();
    EXPECT_EQ(events.lines,
              (std::vector<std::string>{"changing 2 up", "next 2", "changing 1 down", "prev 1"}));

    events.lines.clear();
    events.allow = false;
    backend.Click(spin->Handle(), up);
    Application->ProcessMessages();
    EXPECT_EQ(spin->Position(), 1);
    EXPECT_EQ(events.lines, (std::vector<std::string>{"changing 2 up"}));

    // The arrow keys in the associate step too.
    events.lines.clear();
    events.allow = true;
    box->SetFocus();
    backend.PressKey(VK_UP);
    backend.PressKey(VK_UP);
    backend.PressKey(VK_UP);
    Application->ProcessMessages();
    EXPECT_EQ(spin->Position(), 3);
    EXPECT_EQ(box->Text(), "3");
    EXPECT_EQ(events.lines.back(), "changing 4 up");
}

} // namespace
