// The spin edit (stepping and clamping, the characters each value type
// takes, hexadecimal and locale-dependent texts, 64-bit whole numbers) and
// the spin button (its repeat on the stepped clock while the mouse is held
// and dragged off and back). The button's three faces are saved under the
// build folder (rx-spinbutton.png).
#include "rx/RXSpin.h"

#include "rx/tests/RxTestSupport.h"

#include "platform/core/SysUtils.h"
#include "platform/win/Messages.h"
#include "platform/win/SystemInfo.h"

namespace {

struct SpinLog : TObject {
    int changes = 0;
    int topClicks = 0;
    int bottomClicks = 0;
    void Changed(TObject*) { ++changes; }
    void Top(TObject*) { ++topClicks; }
    void Bottom(TObject*) { ++bottomClicks; }
};

class SpinEditTest : public VisualTest {
protected:
    std::unique_ptr<TForm> form = plainForm(300, 120);
    SpinLog log;
    int beeps = 0;
    TRxSpinEdit* spin = nullptr;

    void SetUp() override {
        VisualTest::SetUp();
        SetBeepHandler([this](UINT) { ++beeps; });
        spin = child<TRxSpinEdit>(form.get(), alNone, {10, 10, 120, 21});
        spin->OnChange = TNotifyEvent(&log, &SpinLog::Changed);
        spin->OnTopClick = TNotifyEvent(&log, &SpinLog::Top);
        spin->OnBottomClick = TNotifyEvent(&log, &SpinLog::Bottom);
        form->Show();
        Application->ProcessMessages();
    }

    void TearDown() override {
        SetBeepHandler(nullptr);
        VisualTest::TearDown();
    }

    void press(UINT Key) {
        backend.PressKey(Key);
        Application->ProcessMessages();
    }

    // Types into an emptied, focused field.
    void typeInto(const WideString& Text) {
        spin->SetFocus();
        spin->SetText("");
        backend.TypeText(Text);
        Application->ProcessMessages();
    }
};

TEST_F(SpinEditTest, WithoutLimitsTheArrowsStepByOne) {
    spin->SetFocus();
    press(VK_UP);
    EXPECT_EQ(spin->Text(), "1");
    press(VK_DOWN);
    press(VK_DOWN);
    EXPECT_EQ(spin->Text(), "-1");
    EXPECT_EQ(log.changes, 3);
    EXPECT_EQ(log.topClicks, 1);
    EXPECT_EQ(log.bottomClicks, 2);
}

TEST_F(SpinEditTest, AStepAtTheLimitFiresTheClickButNoChange) {
    spin->SetMaxValue(10);
    spin->SetText("10");
    log.changes = 0;
    spin->SetFocus();
    press(VK_UP);
    EXPECT_EQ(spin->Text(), "10");
    EXPECT_EQ(log.changes, 0);
    EXPECT_EQ(log.topClicks, 1);
}

TEST_F(SpinEditTest, TypedTextIsClampedOnlyWhenTheFieldIsLeft) {
    auto* other = child<TRxSpinEdit>(form.get(), alNone, {10, 50, 120, 21});
    spin->SetMaxValue(10);
    typeInto(u"25");
    EXPECT_EQ(spin->Text(), "25");
    other->SetFocus();
    Application->ProcessMessages();
    EXPECT_EQ(spin->Text(), "10");
}

TEST_F(SpinEditTest, EachValueTypeTakesItsOwnCharacters) {
    struct Case {
        TRxSpinEdit::TValueType type;
        const char16_t* typed;
        const char* text;
        int beeps;
    };
    for (const Case& c : {Case{TRxSpinEdit::vtInt, u"1.5e", "15", 2}, Case{TRxSpinEdit::vtFloat, u"1.5.2", "1.52", 1},
                          Case{TRxSpinEdit::vtFloat, u"1E5e", "1E5", 1}, Case{TRxSpinEdit::vtHex, u"fFg", "fF", 1}}) {
        spin->SetValueType(c.type);
        beeps = 0;
        typeInto(c.typed);
        EXPECT_EQ(spin->Text(), c.text) << c.text;
        EXPECT_EQ(beeps, c.beeps) << c.text;
    }
}

TEST_F(SpinEditTest, HexadecimalTextIsReadAndWrittenWithoutPrefix) {
    spin->SetValueType(TRxSpinEdit::vtHex);
    spin->SetValue(255);
    EXPECT_EQ(spin->Text(), "FF");
    spin->SetText("ff");
    EXPECT_EQ(spin->Value(), 255);
    spin->SetText("zz");
    EXPECT_EQ(spin->Value(), 0) << "text that does not parse reads as MinValue";
}

// A negative number is shown as its 32-bit pattern and stepping goes on from
// it; numbers past 32 bits keep all their digits.
TEST_F(SpinEditTest, HexadecimalTextOfNegativeNumbersIsTheir32BitPattern) {
    spin->SetValueType(TRxSpinEdit::vtHex);
    struct Case {
        TSpinValue value;
        const char* text;
        TSpinValue readBack;
    };
    for (const Case& c :
         {Case{-1, "FFFFFFFF", -1}, Case{-2147483648.0, "80000000", -2147483648.0},
          Case{2147483647, "7FFFFFFF", 2147483647}, Case{4294967296.0, "100000000", 4294967296.0},
          Case{-4294967296.0, "FFFFFFFF00000000", -4294967296.0}}) {
        spin->SetValue(c.value);
        EXPECT_EQ(spin->Text(), c.text) << c.text;
        EXPECT_EQ(spin->Value(), c.readBack) << c.text;
    }
    spin->SetValue(-2);
    spin->SetFocus();
    press(VK_UP);
    EXPECT_EQ(spin->Text(), "FFFFFFFF");
    press(VK_UP);
    EXPECT_EQ(spin->Text(), "0");
}

TEST_F(SpinEditTest, FloatsUseTheLocaleSeparatorAndDecimal) {
    const char saved = DecimalSeparator;
    DecimalSeparator = ',';
    spin->SetValueType(TRxSpinEdit::vtFloat);
    spin->SetValue(2.5);
    EXPECT_EQ(spin->Text(), "2,50");
    spin->SetDecimal(1);
    EXPECT_EQ(spin->Text(), "2,5");
    DecimalSeparator = saved;
}

TEST_F(SpinEditTest, SwitchingToWholeNumbersRoundsTheIncrement) {
    spin->SetValueType(TRxSpinEdit::vtFloat);
    spin->SetIncrement(0.4);
    spin->SetValueType(TRxSpinEdit::vtInt);
    EXPECT_EQ(spin->Increment(), 1);
    spin->SetValueType(TRxSpinEdit::vtFloat);
    spin->SetIncrement(2.6);
    spin->SetValueType(TRxSpinEdit::vtHex);
    EXPECT_EQ(spin->Increment(), 3);
}

TEST_F(SpinEditTest, WithoutTheEditorOnlyTheButtonsChangeTheText) {
    spin->SetEditorEnabled(false);
    spin->SetText("5");
    spin->SetFocus();
    spin->SelectAll();
    backend.TypeText(u"7");
    press(VK_BACK);
    EXPECT_EQ(spin->Text(), "5");
    EXPECT_EQ(beeps, 2);
    SendMessageA(spin->Handle(), WM_CUT, 0, 0);
    EXPECT_EQ(spin->Text(), "5");
    press(VK_UP);
    EXPECT_EQ(spin->Text(), "6");
}

TEST_F(SpinEditTest, AReadOnlyFieldBeepsInsteadOfStepping) {
    spin->SetReadOnly(true);
    spin->SetFocus();
    press(VK_UP);
    EXPECT_EQ(spin->Text(), "0");
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(log.topClicks, 0);
}

TEST_F(SpinEditTest, WholeNumbersStepBeyondThirtyTwoBits) {
    spin->SetText("2147483647");
    spin->SetFocus();
    press(VK_UP);
    EXPECT_EQ(spin->Text(), "2147483648");
    press(VK_UP);
    EXPECT_EQ(spin->Text(), "2147483649");
    spin->SetText("9000000000000000000");
    press(VK_DOWN);
    EXPECT_EQ(spin->Text(), "8999999999999999999");
}

TEST_F(SpinEditTest, AFieldBelowTheMinimumHeightGrowsBack) {
    spin->SetHeight(4);
    Application->ProcessMessages();
    EXPECT_GT(spin->Height(), 4);
    EXPECT_EQ(spin->SpinButton()->Height(), spin->Height() - 3);
}

TEST_F(SpinEditTest, HoldingAHalfRepeatsUntilTheMouseLeavesIt) {
    backend.UseSteppedTime(true);
    auto wait = [&](DWORD Milliseconds) {
        backend.AdvanceTime(Milliseconds);
        Application->ProcessMessages();
    };
    HWND button = spin->SpinButton()->Parent()->Handle();
    const Integer size = spin->SpinButton()->Width();
    backend.MouseDown(button, {2, 2});
    Application->ProcessMessages();
    EXPECT_EQ(spin->Text(), "1");
    wait(399);
    EXPECT_EQ(spin->Text(), "1");
    wait(1);
    EXPECT_EQ(spin->Text(), "2");
    wait(100);
    EXPECT_EQ(spin->Text(), "3");
    backend.MoveMouse(button, {size - 2, size - 2});
    Application->ProcessMessages();
    EXPECT_EQ(spin->SpinButton()->State(), sbNotDown);
    wait(300);
    EXPECT_EQ(spin->Text(), "3");
    backend.MoveMouse(button, {2, 2});
    Application->ProcessMessages();
    wait(100);
    EXPECT_EQ(spin->Text(), "4");
    backend.MouseUp(button, {2, 2});
    Application->ProcessMessages();
    wait(300);
    EXPECT_EQ(spin->Text(), "4");
    EXPECT_EQ(log.bottomClicks, 0);
    backend.UseSteppedTime(false);
}

// The standard kind: a common up-down at the right edge, one step per click.
TEST_F(SpinEditTest, TheStandardKindStepsThroughAnUpDownAtTheRight) {
    spin->SetButtonKind(bkStandard);
    Application->ProcessMessages();
    EXPECT_EQ(spin->SpinButton(), nullptr);
    TRxUpDown* upDown = nullptr;
    for (Integer i = 0; i < spin->ControlCount(); ++i)
        if (auto* found = dynamic_cast<TRxUpDown*>(spin->Controls(i))) upDown = found;
    ASSERT_NE(upDown, nullptr);
    EXPECT_EQ(upDown->Width(), std::min(GetSystemMetrics(SM_CXVSCROLL), 15));
    EXPECT_EQ(upDown->Align(), alRight);
    EXPECT_EQ(upDown->Left() + upDown->Width(), spin->ClientWidth());
    const Integer middle = upDown->Width() / 2;
    backend.Click(upDown->Handle(), {middle, 2});
    Application->ProcessMessages();
    EXPECT_EQ(spin->Text(), "1");
    for (int i = 0; i < 2; ++i) {
        backend.AdvanceTime(1000);
        backend.Click(upDown->Handle(), {middle, upDown->Height() - 3});
        Application->ProcessMessages();
    }
    EXPECT_EQ(spin->Text(), "-1");
    EXPECT_EQ(log.topClicks, 1);
    EXPECT_EQ(log.bottomClicks, 2);
    spin->SetButtonKind(bkDiagonal);
    EXPECT_NE(spin->SpinButton(), nullptr);
}

// The faces: a window-frame outline and diagonal, the up half lit and the
// down half shaded, the pressed half's edges swapped.
TEST_F(SpinEditTest, TheSpinButtonFacesLightAndShadeTheirHalves) {
    auto* button = child<TRxSpinButton>(form.get(), alNone, {150, 10, 18, 18});
    Application->ProcessMessages();
    auto at = [&](Integer X, Integer Y) { return PixelAt(form->Handle(), {150 + X, 10 + Y}); };
    EXPECT_EQ(at(0, 0), ColorToRGB(clWindowFrame));
    EXPECT_EQ(at(17, 17), ColorToRGB(clWindowFrame));
    EXPECT_EQ(at(9, 8), ColorToRGB(clWindowFrame)) << "the diagonal";
    EXPECT_EQ(at(1, 8), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(at(8, 1), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(at(16, 8), ColorToRGB(clBtnShadow));
    EXPECT_EQ(at(8, 16), ColorToRGB(clBtnShadow));
    backend.MouseDown(form->Handle(), {152, 12});
    Application->ProcessMessages();
    ASSERT_EQ(button->State(), sbTopDown);
    EXPECT_EQ(at(1, 8), ColorToRGB(clBtnShadow));
    EXPECT_EQ(at(8, 1), ColorToRGB(clBtnShadow));
    backend.MouseUp(form->Handle(), {152, 12});
    Application->ProcessMessages();
    backend.AdvanceTime(1000);
    backend.MouseDown(form->Handle(), {166, 26});
    Application->ProcessMessages();
    ASSERT_EQ(button->State(), sbBottomDown);
    EXPECT_EQ(at(16, 8), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(at(8, 16), ColorToRGB(clBtnHighlight));
    backend.MouseUp(form->Handle(), {166, 26});
    Application->ProcessMessages();
}

TEST_F(SpinEditTest, TheThreeFacesAreSavedForAPersonToLookAt) {
    auto* up = child<TRxSpinButton>(form.get(), alNone, {150, 10, 18, 18});
    auto* down = child<TRxSpinButton>(form.get(), alNone, {180, 10, 18, 18});
    child<TRxSpinButton>(form.get(), alNone, {210, 10, 18, 18});
    Application->ProcessMessages();
    backend.MouseDown(form->Handle(), {152, 12});
    Application->ProcessMessages();
    EXPECT_EQ(up->State(), sbTopDown);
    EXPECT_TRUE(backend.SavePng(form->Handle(), ScreenshotPath("rx-spinbutton-up.png")));
    backend.MouseUp(form->Handle(), {152, 12});
    backend.MouseDown(form->Handle(), {196, 26});
    Application->ProcessMessages();
    EXPECT_EQ(down->State(), sbBottomDown);
    EXPECT_TRUE(backend.SavePng(form->Handle(), ScreenshotPath("rx-spinbutton-down.png")));
    backend.MouseUp(form->Handle(), {196, 26});
    Application->ProcessMessages();
}

} // namespace
