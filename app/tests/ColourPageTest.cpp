// The colour page of the main window driven as a user drives it: slider
// presses set the mode, value changes run the chains, panels are clicked and
// palettes opened in the headless backend.
#include "ColourPageFixture.h"

#include "gl/glGrBox.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Pie.h"
#include "platform/vcl/RichEdits.h"
#include "platform/vcl/ScrollBoxes.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/ToolBars.h"
#include "platform/vcl/WebBrowser.h"
#include "platform/win/Windows.h"
#include "rx/ToolEdit.h"
#include "unicode/TntExtCtrls.h"
#include "unicode/TntMenus.h"

namespace {

TEST_F(ColourPageTest, AGreyColourKeepsTheHueAndSetsOnlySaturationAndBrightness) {
    setRGB(128, 128, 0);
    EXPECT_EQ(tab->ColorMode, "RGB");
    EXPECT_EQ(form->DegreeColorSlider->Value(), 60);
    EXPECT_EQ(status(), "Color OK");
    EXPECT_TRUE(form->OkColorImage->Visible());
    EXPECT_FALSE(form->ErrColorImage->Visible());

    form->BSlider->SetValue(128);
    EXPECT_EQ(form->DegreeColorSlider->Value(), 60);
    EXPECT_EQ(form->DegreeEdit->Text(), "60\xB0");
    EXPECT_EQ(form->SaturateSlider->Value(), 0);
    EXPECT_EQ(form->BrightSlider->Value(), 128);
    EXPECT_EQ(status(), "Achroma");
    EXPECT_TRUE(form->ErrColorImage->Visible());
    EXPECT_FALSE(form->OkColorImage->Visible());
    EXPECT_EQ(form->SummColorBin->Text(), "#808080");
}

TEST_F(ColourPageTest, HsvSlidersMoveTheRgbSlidersAndSaturationZeroGivesTheBrightness) {
    press(form->SaturateSlider);
    EXPECT_EQ(tab->ColorMode, "HSV");
    form->DegreeColorSlider->SetValue(200);
    form->SaturateSlider->SetValue(128);
    form->BrightSlider->SetValue(200);
    EXPECT_EQ(rgb(), (std::array<Integer, 3>{99, 166, 200}));
    form->SaturateSlider->SetValue(0);
    EXPECT_EQ(rgb(), (std::array<Integer, 3>{200, 200, 200}));
    EXPECT_EQ(form->RedBinEdit->Text(), "200");
    EXPECT_EQ(form->GreenBinLabel->Caption(), "C8");
}

TEST_F(ColourPageTest, PercentTextsAreTruncated) {
    const std::pair<Integer, const char*> cases[] = {{254, "99%"}, {255, "100%"}, {0, "0%"}, {128, "50%"}};
    for (const auto& [value, text] : cases) {
        form->SaturateSlider->SetValue(value);
        form->BrightSlider->SetValue(value);
        EXPECT_EQ(form->SaturatePerEdit->Text(), text) << value;
        EXPECT_EQ(form->BrightPerEdit->Text(), text) << value;
    }
}

TEST_F(ColourPageTest, CaptionFontTurnsWhiteOnDarkOrWeakGreenColours) {
    struct Case {
        Integer red, green, blue;
        TColor font;
    };
    const Case cases[] = {
        {255, 100, 0, White}, // G = 100 with brightness 255
        {191, 101, 0, Black}, // G = 101 with brightness 191
        {190, 190, 0, White}, // brightness 190 whatever G is
        {255, 255, 255, Black},
    };
    for (const Case& c : cases) {
        setRGB(c.red, c.green, c.blue);
        // The refresh runs before the conversion moves the brightness slider;
        // the next refresh sees it.
        form->SummColorBinChange(form->SummColorBin);
        for (TPanel* swatch :
             {form->MainColorPanel, form->SmartColorPanel, form->SafeColorPanel, form->SourceColorPanel})
            EXPECT_EQ(swatch->Font()->Color(), c.font) << c.red << "," << c.green << "," << c.blue;
    }
}

TEST_F(ColourPageTest, TheRoundedVariantsAndTheBaseColourFollowTheSliders) {
    setRGB(126, 8, 245);
    EXPECT_EQ(form->SafeColHexEdit->Text(), "#9900FF");
    EXPECT_EQ(form->SmartColHexEdit->Text(), "#7711EE");
    EXPECT_EQ(form->RedSafeEdit->Text(), "153");
    EXPECT_EQ(form->BlueSmartEdit->Text(), "238");
    EXPECT_EQ(form->MainColHexEdit->Text(), "#7E08F5");
    EXPECT_EQ(form->MainColorPanel->Color(), TColor(0xF5087E));
    EXPECT_EQ(form->Shape3->Brush()->Color(), TColor(0xF5087E));
    // Base "Smart" (the design value): the source panel takes the smart colour.
    EXPECT_EQ(form->SourceColorPanel->Color(), TColor(0xEE1177));
    EXPECT_EQ(form->SourceColorPanel->Caption(), "#7711EE");
    form->ColorBaseGroup->SetItemIndex(2);
    EXPECT_EQ(form->SourceColorPanel->Color(), TColor(0xFF0099));
    EXPECT_EQ(form->PrePanel0->Color(), TColor(0xFF0099));
    form->ColorBaseGroup->SetItemIndex(0);
    EXPECT_EQ(form->SourceColorPanel->Color(), TColor(0xF5087E));
    EXPECT_EQ(form->SourceColorPanel->Caption(), "#7E08F5");
}

TEST_F(ColourPageTest, OffsetTextsAndPieAngles) {
    form->ColorShemeRdoGr->SetItemIndex(2);
    const std::pair<Integer, const char*> cases[] = {{31, "+1"}, {1, "-29"}, {60, "+30"}, {30, "0"}};
    for (const auto& [value, text] : cases) {
        form->OffsetSlider->SetValue(value);
        EXPECT_EQ(form->OffsetEdit->Text(), text) << value;
        EXPECT_EQ(form->Pie1->Angles()->StartAngle(), 90 - value);
        EXPECT_EQ(form->Pie1->Angles()->EndAngle(), 90 + value);
    }
    // The edit's button, pressed with the mouse, sets the offset back.
    form->OffsetSlider->SetValue(45);
    TControl* button = form->OffsetEdit->Button();
    const TRect bounds = button->BoundsRect();
    backend.Click(button->Parent()->Handle(),
                  POINT{(bounds.Left + bounds.Right) / 2, (bounds.Top + bounds.Bottom) / 2});
    HeadlessBackend::ProcessMessages();
    EXPECT_EQ(form->OffsetSlider->Value(), 30);
}

TEST_F(ColourPageTest, AchromaticForcesGreyModeAndAnotherSchemeRestoresTheColour) {
    setRGB(10, 200, 30);
    form->ColorShemeRdoGr->SetItemIndex(0);
    EXPECT_TRUE(tab->AchromaActive);
    EXPECT_TRUE(form->GreyCheckBox->Checked());
    EXPECT_FALSE(form->GreyCheckBox->Enabled());
    EXPECT_FALSE(form->OffsetSlider->Enabled());
    EXPECT_FALSE(form->RSlider->Visible());
    EXPECT_EQ(rgb(), (std::array<Integer, 3>{200, 200, 200}));
    EXPECT_FALSE(form->ClPanel13->Visible());

    form->ColorShemeRdoGr->SetItemIndex(5);
    EXPECT_FALSE(tab->AchromaActive);
    EXPECT_FALSE(form->GreyCheckBox->Checked());
    EXPECT_TRUE(form->GreyCheckBox->Enabled());
    EXPECT_TRUE(form->OffsetSlider->Enabled());
    EXPECT_TRUE(form->RSlider->Visible());
    EXPECT_TRUE(form->ClPanel13->Visible());
    EXPECT_EQ(rgb(), (std::array<Integer, 3>{10, 200, 30}));
}

TEST_F(ColourPageTest, InGreyModeGreenMovesRedAndBlue) {
    setRGB(10, 50, 90);
    form->GreyCheckBox->SetChecked(true);
    EXPECT_EQ(rgb(), (std::array<Integer, 3>{50, 50, 50}));
    press(form->GSlider);
    form->GSlider->SetValue(77);
    EXPECT_EQ(rgb(), (std::array<Integer, 3>{77, 77, 77}));
    EXPECT_EQ(status(), "Grey");
    EXPECT_TRUE(form->ErrColorImage->Visible());
    form->GreyCheckBox->SetChecked(false);
    EXPECT_TRUE(form->BSlider->Visible());
}

// The refresh nudge moves green towards the middle, so at either end it still
// rebuilds, and green ends where it was.
TEST_F(ColourPageTest, ChoosingASchemeRebuildsItWithGreenUnchanged) {
    for (Integer green : {0, 255}) {
        setRGB(255, green, 0);
        form->ClPanel1->SetColor(0x123456);
        form->ColorShemeRdoGr->SetItemIndex(green ? 3 : 7);
        EXPECT_EQ(form->GSlider->Value(), green);
        EXPECT_NE(form->ClPanel1->Color(), TColor(0x123456)) << green;
    }
}

TEST_F(ColourPageTest, EverySchemeShowsItsHelpAnchorWithTheEnglishFallback) {
    const char* anchors[] = {"#Achroma", "#Mono",       "#Analog",      "#Compl",
                             "#AnCompl", "#SplitCompl", "#DoubleCompl", "#Triadic"};
    const std::pair<const char*, const char*> languages[] = {
        {"English.lng", "English.htm"}, {"German.lng", "German.htm"},
        {"Klingon.lng", "English.htm"}, {"German", "German.htm"}, // no extension: the whole name
        {"German.x.y", "German.htm"},                             // four characters go from the first "."
    };
    for (const auto& [language, page] : languages) {
        LangFile = language;
        for (Integer scheme = 0; scheme < 8; ++scheme) {
            form->ColorShemeRdoGr->SetItemIndex(scheme);
            form->ColorSchemeChange(form->ColorShemeRdoGr);
            const AnsiString url = WideToAnsi(form->ColorHelpWebBrowser->LocationURL());
            EXPECT_TRUE(url.ends_with(AnsiString("/Color/Help/") + page + anchors[scheme])) << url;
        }
    }
    LangFile = "English.lng";
}

TEST_F(ColourPageTest, ZoomEditsConvertWhileAutoCaptureIsOn) {
    form->ZoomAutoChkBox->SetChecked(true);
    EXPECT_EQ(tab->ColorMode, "Zoom");
    form->ZoRedBinEdit->SetText("18");
    form->ZoGreenBinEdit->SetText("52");
    form->ZoBlueBinEdit->SetText("86");
    EXPECT_EQ(rgb(), (std::array<Integer, 3>{18, 52, 86}));
    EXPECT_EQ(form->DegreeColorSlider->Value(), 210);
    form->ZoomAutoChkBox->SetChecked(false);
    EXPECT_EQ(tab->ColorMode, " ");
    form->ZoRedBinEdit->SetText("200");
    EXPECT_EQ(form->RSlider->Value(), 18);
    // The combo edit's button takes the zoom colour once and leaves the mode alone.
    form->ZoomColorEdButtonClick(form->ZoomColorEd);
    EXPECT_EQ(form->RSlider->Value(), 200);
    EXPECT_EQ(tab->ColorMode, " ");
}

// In the zoom mode both conversions act; the chain must end, with the
// sliders on the picked colour, whatever the round trip through HSV gives.
TEST_F(ColourPageTest, ZoomChainsEndOnThePickedColour) {
    form->ZoomAutoChkBox->SetChecked(true);
    for (Integer red = 0; red < 256; red += 51)
        for (Integer green = 3; green < 256; green += 42)
            for (Integer blue = 7; blue < 256; blue += 37) {
                form->ZoRedBinEdit->SetText(IntToStr(red));
                form->ZoGreenBinEdit->SetText(IntToStr(green));
                form->ZoBlueBinEdit->SetText(IntToStr(blue));
                ASSERT_EQ(rgb(), (std::array<Integer, 3>{red, green, blue}));
            }
}

TEST_F(ColourPageTest, AFailedZoomConversionStillRestoresTheMode) {
    press(form->RSlider);
    form->ZoGreenBinEdit->SetText("green");
    EXPECT_THROW(form->ZoomColorEdButtonClick(form->ZoomColorEd), EConvertError);
    EXPECT_EQ(tab->ColorMode, "RGB");
}

TEST_F(ColourPageTest, TheZoomEditsStartAsNumbers) {
    for (TEdit* edit : {form->ZoRedBinEdit, form->ZoGreenBinEdit, form->ZoBlueBinEdit})
        EXPECT_EQ(edit->Text(), "0");
}

TEST_F(ColourPageTest, ThePageHidesTheInformationStripWhileShown) {
    EXPECT_FALSE(form->InfoButton->Visible());
    EXPECT_FALSE(form->MenuInfoPanel->Enabled());
    EXPECT_EQ(form->Panel4->Top(), 390);
    form->PageControl1->SetActivePageIndex(0);
    EXPECT_TRUE(form->InfoButton->Visible());
    EXPECT_TRUE(form->MenuInfoPanel->Enabled());
}

// In a window too low for the page, the help keeps its place in the page
// however far the page was scrolled when it is shown again.
TEST_F(ColourPageTest, TheHelpKeepsItsPlaceInAScrolledPage) {
    form->SetBounds(0, 0, 800, 600);
    HeadlessBackend::ProcessMessages();
    TControlScrollBar* bar = form->ColorScrollBox->VertScrollBar();
    ASSERT_TRUE(bar->IsScrollBarVisible());
    bar->SetPosition(40);
    for (int round = 0; round < 2; ++round) {
        form->PageControl1->SetActivePageIndex(0);
        form->PageControl1->SetActivePageIndex(ColorPage);
        EXPECT_EQ(form->Panel4->Top() + bar->Position(), 390);
    }
}

TEST_F(ColourPageTest, ThePageImageShowsFromAWidthOf950) {
    form->SetWidth(950);
    EXPECT_TRUE(form->Image2->Visible());
    form->SetWidth(949);
    EXPECT_FALSE(form->Image2->Visible());
}

TEST_F(ColourPageTest, OpeningAPaletteLoadsItsPictureAndShrinksTheOther) {
    backend.Click(form->Palette1GroupBox->Handle(), {30, 6});
    HeadlessBackend::ProcessMessages();
    EXPECT_FALSE(form->Palette1GroupBox->Collapsed());
    EXPECT_TRUE(form->ZoomAutoChkBox->Checked());
    EXPECT_EQ(tab->ColorMode, "Zoom");
    EXPECT_EQ(form->Palette1Image->Width(), 364);
    EXPECT_EQ(form->Palette1Image->Height(), 87);
    EXPECT_EQ(form->Palette1GroupBox->Width(), 368);
    EXPECT_EQ(form->Palette1GroupBox->Height(), 105);

    form->Palette2GroupBox->Collapse(false);
    EXPECT_EQ(form->Palette2GroupBox->Height(), 105);
    EXPECT_EQ(form->Palette1GroupBox->Width(), 368);
    EXPECT_EQ(form->Palette1GroupBox->Height(), 16);
}

TEST_F(ColourPageTest, WithoutPaletteFilesTheBoxesOpenToTheEmptyPicture) {
    AppDir = scratch.Path() + "nowhere";
    form->Palette1GroupBox->Collapse(false);
    EXPECT_FALSE(form->ZoomAutoChkBox->Checked());
    EXPECT_EQ(tab->ColorMode, "Zoom");
    EXPECT_EQ(form->Palette1GroupBox->Width(), form->Palette1Image->Width() + 4);
    EXPECT_EQ(form->Palette1GroupBox->Height(), form->Palette1Image->Height() + 18);
}

TEST_F(ColourPageTest, AnUnreadablePaletteRaisesAndTheBoxKeepsItsSize) {
    AppDir = scratch.Path() + "broken";
    WriteFile(AppDir + "/Color/Palettes/Palette2.bmp", "no picture");
    form->Palette2GroupBox->SetWidth(300);
    EXPECT_ANY_THROW(form->Palette2GroupBox->Collapse(false));
    EXPECT_EQ(form->Palette2GroupBox->Width(), 300);
}

TEST_F(ColourPageTest, MovingOverAPalettePicksItsPixelUntilALeftClickFreezesIt) {
    form->Palette2GroupBox->Collapse(false);
    HeadlessBackend::ProcessMessages();
    // The web-safe picture: 36 columns and 6 rows of colours.
    const TPoint image{form->Palette2Image->Left(), form->Palette2Image->Top()};
    backend.MoveMouse(form->Palette2GroupBox->Handle(), {image.x + 100, image.y + 10});
    HeadlessBackend::ProcessMessages();
    EXPECT_EQ(rgb(), (std::array<Integer, 3>{51, 153, 0}));
    EXPECT_EQ(form->ZoGreenBinEdit->Text(), "153");
    EXPECT_EQ(form->ZoBlueBinEdit->Text(), "0");

    backend.MouseDown(form->Palette2GroupBox->Handle(), {image.x + 100, image.y + 10});
    backend.MouseUp(form->Palette2GroupBox->Handle(), {image.x + 100, image.y + 10});
    backend.MoveMouse(form->Palette2GroupBox->Handle(), {image.x + 5, image.y + 5});
    HeadlessBackend::ProcessMessages();
    EXPECT_FALSE(form->ZoomAutoChkBox->Checked());
    EXPECT_EQ(rgb(), (std::array<Integer, 3>{51, 153, 0}));

    backend.MouseDown(form->Palette2GroupBox->Handle(), {image.x + 5, image.y + 5}, MouseButton::Right);
    backend.MouseUp(form->Palette2GroupBox->Handle(), {image.x + 5, image.y + 5}, MouseButton::Right);
    backend.MoveMouse(form->Palette2GroupBox->Handle(), {image.x + 20, image.y + 5});
    HeadlessBackend::ProcessMessages();
    EXPECT_TRUE(form->ZoomAutoChkBox->Checked());
    EXPECT_EQ(rgb(), (std::array<Integer, 3>{0, 51, 0}));
}

TEST_F(ColourPageTest, OutsideThePictureThePickIsWhite) {
    form->ZoomAutoChkBox->SetChecked(true);
    form->Palette1ImageGetPixColor(form->Palette1Image, {}, 5000, 5000);
    EXPECT_EQ(rgb(), (std::array<Integer, 3>{255, 255, 255}));
}

TEST_F(ColourPageTest, AClickOnAPanelCopiesItsColourText) {
    form->ClPanel7->SetColor(0xFF0000);
    backend.Click(form->ClPanel7->Handle(), {5, 5});
    HeadlessBackend::ProcessMessages();
    EXPECT_EQ(Clipboard()->AsText(), "#0000FF");
    EXPECT_EQ(form->ClipColorEdit->Text(), "#0000FF");

    Clipboard()->SetAsText("something else");
    form->ClipColorEditButtonClick(form->ClipColorEdit);
    EXPECT_EQ(Clipboard()->AsText(), "#0000FF");
}

// The magnifier sits at the screen's top right, the window at its left: the
// pointer goes where neither covers the screen picture.
TEST_F(ColourPageTest, TheMagnifierReportsIntoThePageAndAClickInsideATickClosesItSafely) {
    auto screen = std::make_shared<PixelSurface>(1024, 768);
    for (int y = 0; y < 768; ++y)
        for (int x = 0; x < 1024; ++x)
            screen->Set(x, y, (x == 1009 && y == 699) ? 0x12C863 : 0x000040);
    backend.SetScreenImage(screen);
    form->ZoomAutoChkBox->SetChecked(true);
    const POINT button{form->ZoomButton->Left() + 10, form->ZoomButton->Top() + 10};
    backend.Click(form->ToolBar1->Handle(), button);
    HeadlessBackend::ProcessMessages();
    ASSERT_NE(ZoomForm, nullptr);
    EXPECT_TRUE(form->ZoomButton->Down());
    EXPECT_EQ(ZoomForm->Left(), 1024 - 150);
    EXPECT_EQ(ZoomForm->Top(), 0);
    EXPECT_EQ(tab->ColorMode, "Zoom");

    backend.MoveMouse(POINT{1010, 700});
    ZoomForm->Timer1Timer(ZoomForm->Timer1);
    EXPECT_EQ(form->ZoomColorEd->Text(), "#12C863");
    EXPECT_EQ(form->ZoGreenBinEdit->Text(), "200");
    EXPECT_EQ(rgb(), (std::array<Integer, 3>{0x12, 0xC8, 0x63}));

    const HWND magnifier = ZoomForm->Handle();
    backend.Click(form->ToolBar1->Handle(), button);
    ZoomForm->Timer1Timer(ZoomForm->Timer1);
    EXPECT_EQ(ZoomForm, nullptr);
    EXPECT_FALSE(form->ZoomButton->Down());
    HeadlessBackend::ProcessMessages();
    EXPECT_FALSE(IsWindow(magnifier));
    backend.SetScreenImage(nullptr);
}

// The window at a size users give it, smaller than the page's design: the
// page takes the room of the information strip, and the window's own bars
// stay in place.
class ColourPageInASmallerWindowTest : public ColourPageTest {
protected:
    ColourPageInASmallerWindowTest() { windowSize = {850, 740}; }

    // Where a control lies in the window's client area.
    TRect onForm(TControl* Control) const {
        const TPoint corner = form->ScreenToClient(Control->ClientToScreen(TPoint{0, 0}));
        return {corner.x, corner.y, corner.x + Control->Width(), corner.y + Control->Height()};
    }
    void expectBarsInPlace() const {
        const TRect status = onForm(form->StatusBar);
        EXPECT_EQ(status.Bottom, form->ClientHeight());
        EXPECT_LE(onForm(form->Panel3).Bottom, status.Top);
        EXPECT_LE(onForm(form->InfoEdit).Bottom, status.Top);
    }
};

TEST_F(ColourPageInASmallerWindowTest, TheHelpStaysOnThePageAndTheStatusBarAtTheBottom) {
    ASSERT_TRUE(form->MenuInfoPanel->Checked());
    expectBarsInPlace();
    EXPECT_EQ(form->Panel4->Top(), 390);
    EXPECT_LE(form->Panel4->Top() + form->Panel4->Height(), form->ColorTabSheet->ClientHeight());

    // Back on another page the strip shows below the pages, above the status bar.
    form->PageControl1->SetActivePageIndex(0);
    HeadlessBackend::ProcessMessages();
    EXPECT_TRUE(form->InfoEdit->Visible());
    EXPECT_LE(onForm(form->Panel3).Bottom, onForm(form->InfoEdit).Top);
    expectBarsInPlace();

    // With the strip switched off the pages keep its room.
    form->MenuInfoPanel->Click();
    form->PageControl1->SetActivePageIndex(ColorPage);
    HeadlessBackend::ProcessMessages();
    expectBarsInPlace();
    EXPECT_LE(form->Panel4->Top() + form->Panel4->Height(), form->ColorTabSheet->ClientHeight());
}

TEST_F(ColourPageInASmallerWindowTest, ScreenshotOfThePage) {
    std::filesystem::create_directories(QUORVANE_SCREENSHOTS_DIR);
    EXPECT_TRUE(backend.SavePng(form->Handle(), QUORVANE_SCREENSHOTS_DIR "/colour-page-850x740.png"));
}

TEST_F(ColourPageTest, ScreenshotOfThePage) {
    setRGB(255, 127, 0);
    form->ColorShemeRdoGr->SetItemIndex(6);
    form->OffsetSlider->SetValue(40);
    form->Palette2GroupBox->Collapse(false);
    HeadlessBackend::ProcessMessages();
    std::filesystem::create_directories(QUORVANE_SCREENSHOTS_DIR);
    EXPECT_TRUE(backend.SavePng(form->Handle(), QUORVANE_SCREENSHOTS_DIR "/colour-page.png"));
}

} // namespace
