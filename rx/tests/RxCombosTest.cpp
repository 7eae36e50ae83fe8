// The colour combo box: the list per option set and names, ColorValue and
// its change events, typed names and numbers, the swatch frames by pixels
// and the item height of a small font. An open box is saved under the build
// folder (rx-colorcombo.png).
#include "rx/RxCombos.h"

#include "rx/tests/RxTestSupport.h"

#include "platform/vcl/Filers.h"
#include "platform/win/ComboBoxControl.h"
#include "platform/win/StandardControls.h"
#include "platform/win/Messages.h"

namespace {

struct ChangeCounter : TObject {
    int changes = 0;
    TColor seen = clNone;
    TColorComboBox* box = nullptr;
    void Changed(TObject*) {
        ++changes;
        seen = box->ColorValue();
    }
};

class ColorComboTest : public VisualTest {
protected:
    std::unique_ptr<TForm> form = plainForm(300, 260);
    ChangeCounter counter;

    TColorComboBox* box(Integer Width = 120) {
        auto* combo = child<TColorComboBox>(form.get(), alNone, {10, 10, Width, 22});
        counter.box = combo;
        combo->OnChange = TNotifyEvent(&counter, &ChangeCounter::Changed);
        form->Show();
        Application->ProcessMessages();
        counter.changes = 0;
        return combo;
    }

    static std::vector<AnsiString> names(TColorComboBox* Combo) {
        std::vector<AnsiString> list;
        for (Integer i = 0; i < Combo->Items()->Count(); ++i)
            list.push_back(Combo->Items()->Strings(i));
        return list;
    }
};

TEST_F(ColorComboTest, TheOptionsAddNoneAndDefaultAtTheEnd) {
    auto* combo = box();
    std::vector<AnsiString> standard = {"Black", "Maroon", "Green", "Olive", "Navy",    "Purple", "Teal", "Gray",
                                        "Silver", "Red",   "Lime",  "Yellow", "Blue", "Fuchsia", "Aqua", "White"};
    EXPECT_EQ(names(combo), standard);
    combo->SetOptions({coIncludeDefault, coIncludeNone});
    Application->ProcessMessages();
    standard.push_back("None");
    standard.push_back("Default");
    EXPECT_EQ(names(combo), standard);
    EXPECT_EQ(combo->ItemColor(17), clDefault);
}

TEST_F(ColorComboTest, ColorNamesReplaceTheStandardNamesByPosition) {
    auto* combo = box();
    combo->SetColorValue(clGreen);
    std::vector<AnsiString> lines(20);
    lines[9] = "Rot";
    lines[19] = "beyond the table";
    TStringList renamed;
    for (const AnsiString& line : lines)
        renamed.Add(line);
    combo->SetColorNames(&renamed);
    Application->ProcessMessages();
    EXPECT_EQ(combo->Items()->Strings(9), "Rot");
    EXPECT_EQ(combo->Items()->Strings(8), "Silver");
    EXPECT_EQ(combo->Items()->Count(), 16);
    EXPECT_EQ(combo->ItemIndex(), 2) << "the colour is chosen again in the new window";
}

TEST_F(ColorComboTest, WritingColorValueFiresOnChangeOnlyWhenItMatters) {
    auto* combo = box();
    combo->SetColorValue(clRed);
    EXPECT_EQ(combo->ItemIndex(), 9);
    EXPECT_EQ(counter.changes, 1);
    combo->SetColorValue(clRed);
    EXPECT_EQ(counter.changes, 1);
    combo->SetColorValue(0x123456);
    EXPECT_EQ(combo->ItemIndex(), -1);
    EXPECT_EQ(combo->ColorValue(), 0x123456);
    EXPECT_EQ(counter.changes, 2);
    combo->SetColorValue(0x123456);
    EXPECT_EQ(counter.changes, 3) << "with nothing selected the same value fires again";
    ReadComponentText("object Box: TColorComboBox\n  ColorValue = clBlue\nend\n", combo);
    EXPECT_EQ(combo->ColorValue(), clBlue);
    EXPECT_EQ(counter.changes, 3) << "no change while a form is read";
}

TEST_F(ColorComboTest, AChoiceInTheListBecomesTheColorValue) {
    auto* combo = box();
    combo->SetColorValue(clRed);
    counter.changes = 0;
    combo->SetFocus();
    backend.PressKey(VK_DOWN);
    Application->ProcessMessages();
    EXPECT_EQ(combo->ColorValue(), clLime);
    EXPECT_EQ(counter.seen, clLime);
    EXPECT_EQ(counter.changes, 1);
}

TEST_F(ColorComboTest, AnEditableBoxReadsTypedNamesAndNumbers) {
    auto* combo = box();
    combo->SetStyle(csDropDown);
    Application->ProcessMessages();
    struct Case {
        const char* text;
        TColor value;
    };
    combo->SetColorValue(clTeal);
    for (const Case& c : {Case{"yellow", clYellow}, Case{"255", 255}, Case{"$FF0000", 0xFF0000},
                          Case{"no colour", clTeal}}) {
        combo->SetItemIndex(-1);
        combo->SetText(c.text);
        EXPECT_EQ(combo->ColorValue(), c.value) << c.text;
    }
    combo->SetColorValue(0x654321);
    EXPECT_EQ(combo->Text(), "$00654321");
}

TEST_F(ColorComboTest, SwatchesAreFramedInBlackWhenBrightElseInTheirColour) {
    auto* combo = box(40);
    combo->SetDisplayNames(false);
    struct Case {
        TColor color;
        TColor frame;
    };
    for (const Case& c : {Case{clSilver, clSilver}, Case{clWhite, clBlack}, Case{clYellow, clBlack},
                          Case{clMaroon, clMaroon}}) {
        TBitmap item;
        item.SetSize(40, 16);
        const Integer index = combo->Items()->IndexOfObject(reinterpret_cast<TObject*>(static_cast<uintptr_t>(c.color)));
        DRAWITEMSTRUCT draw{};
        draw.CtlType = ODT_COMBOBOX;
        draw.itemID = static_cast<UINT>(index);
        draw.itemAction = ODA_DRAWENTIRE;
        draw.hDC = item.Canvas()->Handle();
        draw.rcItem = {0, 0, 40, 16};
        combo->Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
        EXPECT_EQ(item.Canvas()->Pixels(2, 2), c.frame) << c.color;
        EXPECT_EQ(item.Canvas()->Pixels(10, 8), c.color) << c.color;
        EXPECT_EQ(item.Canvas()->Pixels(36, 8), c.frame) << "the swatch runs to 3 pixels from the right";
        draw.itemState = ODS_SELECTED;
        combo->Perform(CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
        if (c.color == clSilver) {
            EXPECT_EQ(item.Canvas()->Pixels(2, 2), clWhite);
        }
    }
}

TEST_F(ColorComboTest, ItemsOfASmallFontAreNinePixelsHigh) {
    auto* combo = box();
    combo->Font()->SetHeight(-6);
    Application->ProcessMessages();
    EXPECT_EQ(SendMessageA(combo->Handle(), CB_GETITEMHEIGHT, 0, 0), 9);
    combo->Font()->SetHeight(-20);
    Application->ProcessMessages();
    EXPECT_GT(SendMessageA(combo->Handle(), CB_GETITEMHEIGHT, 0, 0), 20);
}

TEST_F(ColorComboTest, AnOpenBoxIsSavedForAPersonToLookAt) {
    auto* combo = box(150);
    combo->SetColorValue(clTeal);
    combo->SetDroppedDown(true);
    Application->ProcessMessages();
    ASSERT_TRUE(combo->DroppedDown());
    EXPECT_TRUE(backend.SavePng(combo->ListHandle(), ScreenshotPath("rx-colorcombo-list.png")));
    EXPECT_TRUE(backend.SavePng(form->Handle(), ScreenshotPath("rx-colorcombo.png")));
    combo->SetDroppedDown(false);
}

} // namespace
