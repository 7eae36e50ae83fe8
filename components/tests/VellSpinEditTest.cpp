// The floating-point spin edit: reading and writing its text, clamping,
// stepping with the arrows and the keys, the gauge's geometry and colour,
// presses on the gauge and drags on the dropped-down track bar.
#include "components/VellSpinEdit.h"

#include "platform/vcl/Buttons.h"
#include "platform/vcl/Filers.h"
#include "platform/vcl/tests/VisualTestSupport.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/Messages.h"
#include "platform/win/Windows.h"

#include <filesystem>

namespace {

class VellSpinEditTest : public VisualTest {
protected:
    std::unique_ptr<TForm> form = plainForm(300, 200);
    TVellSpinEdit* edit = nullptr;
    TEdit* other = nullptr;
    Integer changes = 0;

    void Changed(TObject*) { ++changes; }

    void SetUp() override {
        VisualTest::SetUp();
        edit = new TVellSpinEdit(form.get());
        edit->SetBounds(10, 10, 120, 30);
        edit->SetParent(form.get());
        other = new TEdit(form.get());
        other->SetBounds(10, 100, 100, 21);
        other->SetParent(form.get());
        form->Show();
        edit->SetFocus();
        Application->ProcessMessages();
        edit->OnChange = TNotifyEvent(this, &VellSpinEditTest::Changed);
    }

    void typeText(const AnsiString& Text) { edit->SetText(Text); }
    void leave() {
        other->SetFocus();
        Application->ProcessMessages();
    }
    void pressKey(UINT Key) {
        edit->SetFocus();
        backend.PressKey(Key);
        Application->ProcessMessages();
    }
    // The speed button's centre in the client coordinates of the panel window it sits on.
    TPoint buttonPoint() const {
        TSpeedButton* button = edit->Button();
        return {button->Left() + button->Width() / 2, button->Top() + button->Height() / 2};
    }
};

// ---- Text and value ----------------------------------------------------------------------------------

TEST_F(VellSpinEditTest, ReadingTextsNeverChangesThem) {
    edit->SetMinValue(5);
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"", 0}, {"-", 0}, {"abc", 5}, {"1e", 5}, {"12.5", 12.5}, {"150", 150}, {"-3", -3}, {"7,5", 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        typeText(c.text);
        EXPECT_DOUBLE_EQ(edit->Value(), c.value);
        EXPECT_EQ(edit->Text(), c.text);
    }
}

TEST_F(VellSpinEditTest, LeavingTheFieldClampsAndReplacesAWrongText) {
    edit->SetMinValue(5);
    struct Case {
        const char* typed;
        const char* shown;
    };
    for (const Case c : {Case{"abc", "5.00"}, Case{"150", "100.00"}, Case{"2", "5.00"}, Case{"", "5.00"},
                         Case{"42.125", "42.125"}}) {
        SCOPED_TRACE(c.typed);
        edit->SetFocus();
        typeText(c.typed);
        leave();
        EXPECT_EQ(edit->Text(), c.shown);
    }
}

TEST_F(VellSpinEditTest, SetValueClampsFormatsAndNotifies) {
    edit->SetValue(12.3456);
    EXPECT_EQ(edit->Text(), "12.35");
    edit->SetValue(250);
    EXPECT_EQ(edit->Text(), "100.00");
    edit->SetValue(-1);
    EXPECT_EQ(edit->Text(), "0.00");
    changes = 0;
    edit->SetValue(0);
    EXPECT_EQ(changes, 0);
    // Equal bounds clamp nothing.
    edit->SetMinValue(10);
    edit->SetMaxValue(10);
    edit->SetValue(50);
    EXPECT_EQ(edit->Text(), "50.00");
}

TEST_F(VellSpinEditTest, PrecisionAndTrackBarWidthAreClamped) {
    edit->SetValue(3.14159);
    edit->SetPrecision(9);
    EXPECT_EQ(edit->Precision(), 6);
    EXPECT_EQ(edit->Text(), "3.140000");
    edit->SetPrecision(-1);
    EXPECT_EQ(edit->Precision(), 0);
    EXPECT_EQ(edit->Text(), "3");
    edit->SetTrackBarWidth(20);
    EXPECT_EQ(edit->TrackBarWidth(), 50);
    edit->SetTrackBarWidth(400);
    EXPECT_EQ(edit->TrackBarWidth(), 300);
}

TEST_F(VellSpinEditTest, NewBoundsMoveTheValueOntoThem) {
    edit->SetValue(80);
    edit->SetMaxValue(50);
    EXPECT_EQ(edit->Text(), "50.00");
    edit->SetValue(10);
    edit->SetMinValue(20);
    EXPECT_EQ(edit->Text(), "20.00");
}

// ---- Stepping ----------------------------------------------------------------------------------------

TEST_F(VellSpinEditTest, UpAtMaxLessIncrementGivesExactlyMax) {
    edit->SetMaxValue(1);
    edit->SetIncrement(0.1);
    edit->SetPrecision(6);
    edit->SetValue(0.9);
    pressKey(VK_UP);
    EXPECT_EQ(edit->Value(), 1.0);
    EXPECT_EQ(edit->Text(), "1.000000");
    pressKey(VK_UP);
    EXPECT_EQ(edit->Value(), 1.0);
}

TEST_F(VellSpinEditTest, ArrowKeysStepAndSelectTheText) {
    edit->SetValue(10);
    pressKey(VK_UP);
    EXPECT_EQ(edit->Text(), "11.00");
    pressKey(VK_DOWN);
    pressKey(VK_DOWN);
    EXPECT_EQ(edit->Text(), "9.00");
    // The caret never moved: the whole text is selected.
    EXPECT_EQ(edit->SelStart(), 0);
    EXPECT_EQ(edit->SelLength(), 4);
    edit->SetValue(0.5);
    pressKey(VK_DOWN);
    EXPECT_EQ(edit->Text(), "0.00");
    // A step replaces a text that was not a number.
    typeText("x");
    pressKey(VK_UP);
    EXPECT_EQ(edit->Text(), "1.00");
    // The arrows go back to their middle after each step.
    EXPECT_EQ(edit->UpDown()->Position(), 50);
}

TEST_F(VellSpinEditTest, UpDownArrowsStep) {
    edit->SetValue(3);
    TUpDown* upDown = edit->UpDown();
    backend.Click(upDown->Handle(), {upDown->Width() / 2, 2});
    Application->ProcessMessages();
    EXPECT_EQ(edit->Text(), "4.00");
    backend.Click(upDown->Handle(), {upDown->Width() / 2, upDown->Height() - 3});
    Application->ProcessMessages();
    EXPECT_EQ(edit->Text(), "3.00");
}

TEST_F(VellSpinEditTest, PasteAndCutNeedAnEnabledEditor) {
    edit->SetValue(7);
    edit->SelectAll();
    edit->SetEditorEnabled(false);
    SendMessageA(edit->Handle(), WM_CUT, 0, 0);
    EXPECT_EQ(edit->Text(), "7.00");
    edit->SetEditorEnabled(true);
    SendMessageA(edit->Handle(), WM_CUT, 0, 0);
    EXPECT_EQ(edit->Text(), "");
}

// ---- The gauge ---------------------------------------------------------------------------------------

TEST_F(VellSpinEditTest, GaugeBarAndColourWithAndWithoutACentre) {
    edit->SetGaugeBeginColor(clBlack);
    edit->SetGaugeEndColor(clRed);
    const TRect R{1, 1, 101, 6};
    struct Case {
        double centre;
        const char* value;
        bool drawn;
        Integer left, right;
        TColor color;
        Integer centreX;
    };
    const Case cases[] = {
        // A centre at the minimum: the plain bar, from the first column.
        {0, "50", true, 2, 52, 0x000080, -1},
        {0, "0", false, 2, 2, 0x000000, -1},
        {0, "100", true, 2, 100, 0x0000FF, -1},
        // Beyond the bounds the colour stays at the end colour.
        {0, "150", true, 2, 100, 0x0000FF, -1},
        // A centre inside: the bar grows from it both ways, darkest there.
        {50, "75", true, 52, 76, 0x000080, 52},
        {50, "25", true, 27, 52, 0x000080, 52},
        {50, "50", false, 52, 52, 0x000000, 52},
        // A centre outside the range: the bar starts at the left edge.
        {-10, "0", true, 1, 2, 0x000000, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.centre << " " << c.value);
        edit->SetGaugeAroundCenter(c.centre);
        typeText(c.value);
        const TAGauge::TBar bar = edit->Gauge()->BarIn(R);
        EXPECT_EQ(bar.Drawn, c.drawn);
        if (c.drawn) {
            EXPECT_EQ(bar.Left, c.left);
            EXPECT_EQ(bar.Right, c.right);
        }
        EXPECT_EQ(bar.Color, c.color);
        EXPECT_EQ(bar.CenterX, c.centreX);
    }
}

TEST_F(VellSpinEditTest, GaugeBoundsShapeTheBarAndPresses) {
    edit->SetGaugeMinValue(20);
    edit->SetGaugeMaxValue(40);
    typeText("30");
    const TAGauge::TBar bar = edit->Gauge()->BarIn({0, 0, 101, 5});
    EXPECT_EQ(bar.Right - bar.Left, 51);
    double value;
    ASSERT_TRUE(edit->Gauge()->ValueAt((edit->Gauge()->Width() - 2) / 2, value));
    EXPECT_NEAR(value, 30, 0.2);
}

TEST_F(VellSpinEditTest, PressesOnTheGaugeSetTheValue) {
    TAGauge* gauge = edit->Gauge();
    const Integer usable = gauge->Width() - 2;
    backend.Click(gauge->Handle(), {usable / 2, 2});
    Application->ProcessMessages();
    EXPECT_NEAR(edit->Value(), 50, 0.5);
    edit->SetIncrementGauge(10);
    backend.Click(gauge->Handle(), {usable * 33 / 100, 2});
    Application->ProcessMessages();
    EXPECT_EQ(edit->Text(), "30.00");
    // A drag follows the pointer, and the release selects the text.
    backend.MouseDown(gauge->Handle(), {usable * 70 / 100, 2});
    Application->ProcessMessages();
    backend.MoveMouse(gauge->Handle(), {-20, 2});
    Application->ProcessMessages();
    EXPECT_EQ(edit->Text(), "0.00");
    backend.MouseUp(gauge->Handle(), {usable + 30, 2});
    Application->ProcessMessages();
    EXPECT_EQ(edit->Text(), "100.00");
    EXPECT_EQ(edit->SelLength(), 6);
}

TEST_F(VellSpinEditTest, AGaugeTooNarrowToDivideBySetsNothing) {
    // The gauge is 4 pixels narrower than the edit.
    edit->SetWidth(6);
    ASSERT_EQ(edit->Gauge()->Width(), 2);
    double value = -1;
    EXPECT_FALSE(edit->Gauge()->ValueAt(1, value));
    edit->SetWidth(120);
    EXPECT_TRUE(edit->Gauge()->ValueAt(10, value));
    edit->SetMinValue(50);
    edit->SetMaxValue(50);
    EXPECT_FALSE(edit->Gauge()->ValueAt(10, value));
}

// ---- The drop-down track bar -------------------------------------------------------------------------

TEST_F(VellSpinEditTest, DraggingFromTheButtonSetsTheValueAlongTheTrackBar) {
    edit->SetIncrementGauge(25);
    HWND panel = edit->Button()->Parent()->Handle();
    backend.MouseDown(panel, buttonPoint());
    Application->ProcessMessages();
    TForm* popup = edit->PopupForm();
    ASSERT_TRUE(popup->Visible());
    EXPECT_TRUE(edit->Button()->Down());
    EXPECT_EQ(popup->Width(), 150);

    TTrackBar* track = edit->TrackBar();
    RECT channel{};
    SendMessageA(track->Handle(), TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    const TPoint left = track->ClientToScreen({channel.Left - 30, channel.Top});
    const TPoint right = track->ClientToScreen({channel.Right + 30, channel.Top});
    const TPoint middle = track->ClientToScreen({(channel.Left + channel.Right) / 2 + 3, channel.Top});
    backend.MoveMouse(right);
    Application->ProcessMessages();
    EXPECT_EQ(edit->Text(), "100.00");
    EXPECT_EQ(track->Position(), 1000);
    backend.MoveMouse(left);
    Application->ProcessMessages();
    EXPECT_EQ(edit->Text(), "0.00");
    backend.MoveMouse(middle);
    Application->ProcessMessages();
    EXPECT_EQ(edit->Text(), "50.00");

    backend.MouseUp(panel, buttonPoint());
    Application->ProcessMessages();
    EXPECT_FALSE(popup->Visible());
    EXPECT_FALSE(edit->Button()->Down());
}

TEST_F(VellSpinEditTest, AVerticalTrackBarRisesTowardsTheMaximum) {
    edit->SetTrackBarOrientation(trVertical);
    HWND panel = edit->Button()->Parent()->Handle();
    backend.MouseDown(panel, buttonPoint());
    Application->ProcessMessages();
    TForm* popup = edit->PopupForm();
    ASSERT_TRUE(popup->Visible());
    EXPECT_EQ(popup->Height(), 150);
    TTrackBar* track = edit->TrackBar();
    const TRect client = track->ClientRect();
    backend.MoveMouse(track->ClientToScreen({client.Width() / 2, -40}));
    Application->ProcessMessages();
    EXPECT_EQ(edit->Text(), "100.00");
    EXPECT_EQ(track->Position(), 0);
    backend.MoveMouse(track->ClientToScreen({client.Width() / 2, client.Height() + 40}));
    Application->ProcessMessages();
    EXPECT_EQ(edit->Text(), "0.00");
    EXPECT_EQ(track->Position(), 1000);
    backend.MouseUp(panel, buttonPoint());
    Application->ProcessMessages();
    EXPECT_FALSE(popup->Visible());
}

TEST_F(VellSpinEditTest, PicturesOfTheGaugeAndTheTrackBar) {
    edit->SetGaugeAroundCenter(40);
    edit->SetValue(75);
    auto* plain = new TVellSpinEdit(form.get());
    plain->SetBounds(140, 10, 120, 30);
    plain->SetParent(form.get());
    plain->SetValue(30);
    Application->ProcessMessages();
    std::filesystem::create_directories(QUORVANE_SCREENSHOT_DIR);
    const std::string folder = std::string(QUORVANE_SCREENSHOT_DIR) + "/";
    EXPECT_TRUE(backend.SavePng(form->Handle(), folder + "spinedit-gauge.png"));
    HWND panel = edit->Button()->Parent()->Handle();
    backend.MouseDown(panel, buttonPoint());
    Application->ProcessMessages();
    EXPECT_TRUE(backend.SavePng(edit->PopupForm()->Handle(), folder + "spinedit-trackbar.png"));
    backend.MouseUp(panel, buttonPoint());
    Application->ProcessMessages();
}

} // namespace

namespace {

TEST_F(VellSpinEditTest, ReadFromAFormResource) {
    TForm read(nullptr);
    ReadComponentText("object Main: TForm\n"
                      "  Left = 0\n  Top = 0\n  Width = 300\n  Height = 200\n"
                      "  object Amount: TVellSpinEdit\n"
                      "    Left = 8\n    Top = 8\n    Width = 120\n    Height = 30\n"
                      "    MinValue = 1.5\n    MaxValue = 10\n    Precision = 1\n    Value = 3.25\n"
                      "    TrackBarOrientation = trVertical\n    TrackBarWidth = 80\n"
                      "  end\n"
                      "end\n",
                      &read);
    auto* amount = dynamic_cast<TVellSpinEdit*>(read.FindComponent("Amount"));
    ASSERT_TRUE(amount);
    EXPECT_EQ(amount->MinValue(), 1.5);
    EXPECT_EQ(amount->Text(), "3.3");
    EXPECT_EQ(amount->TrackBar()->Orientation(), trVertical);
    EXPECT_EQ(amount->TrackBarWidth(), 80);
}

} // namespace
