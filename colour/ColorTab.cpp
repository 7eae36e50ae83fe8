// The colour page's sliders, texts and swatches, the central refresh, grey
// mode, the scheme selector with its offset, and the magnifier switch. Every
// change travels through the controls' own change events: a slider or an edit
// reports only a real change, which is what ends the chains below.
#include "colour/ColorTab.h"

#include "gl/glGrBox.h"
#include "platform/core/CodePages.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Pie.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/WebBrowser.h"
#include "rx/RXSlider.h"
#include "rx/ToolEdit.h"
#include "unicode/TntStdCtrls.h"

namespace {

constexpr TColor White = 0xFFFFFF;
constexpr TColor Black = 0;
constexpr int GreenShift = 8;
constexpr int BlueShift = 16;
constexpr Integer ChannelMax = 255;
constexpr Integer PercentMax = 100;

// The caption font of the swatches turns white on dark or weak colours.
constexpr Integer DarkBrightness = 190;
constexpr Integer DarkGreen = 100;

constexpr Integer OffsetMiddle = 30;
constexpr Integer PieAxis = 90;
constexpr Integer GreenMiddle = 128;
// Lets the page settle before the source panel takes the unrounded colour.
constexpr DWORD BaseColorPause = 10;

constexpr Integer BaseUnsafe = 0;
constexpr Integer BaseSmart = 1;
constexpr Integer BaseSafe = 2;

constexpr Integer SchemeAchromatic = 0;
constexpr std::size_t MirrorRowStart = 12;
constexpr std::size_t MirrorRowLength = 6;

constexpr const char* DegreeSign = "\xB0";
constexpr const char* HelpFolder = "/Color/Help/";
constexpr const char* FallbackHelp = "English";
constexpr const char* HelpExtension = ".htm";
// What the language name drops from a language file's name: ".lng".
constexpr std::size_t ExtensionLength = 4;

// Each scheme's builder, its help page's anchor, and whether it uses the offset.
struct Scheme {
    void (TColorTab::*build)();
    const char* anchor;
    bool usesOffset;
};
constexpr std::array<Scheme, 8> Schemes = {{{&TColorTab::ColorCalcAhroma, "#Achroma", false},
                                            {&TColorTab::ColorCalcMonochrom, "#Mono", false},
                                            {&TColorTab::ColorCalcAhalog, "#Analog", true},
                                            {&TColorTab::ColorCalcComplement, "#Compl", false},
                                            {&TColorTab::ColorCalcAnaComp, "#AnCompl", true},
                                            {&TColorTab::ColorCalcSplitComp, "#SplitCompl", true},
                                            {&TColorTab::ColorCalcDoubleComp, "#DoubleCompl", true},
                                            {&TColorTab::ColorCalcTriadic, "#Triadic", false}}};

// The pictures the page's controls show, drawn by the build's resource tool.
constexpr const char* GreenRuler = "BITMAP_1";
constexpr const char* GreyRuler = "BITMAP_2";
constexpr const char* RedRuler = "COLOR_RED_RULER";
constexpr const char* BlueRuler = "COLOR_BLUE_RULER";
constexpr const char* HueRuler = "COLOR_HUE_RULER";
constexpr const char* SaturationRuler = "COLOR_SATURATION_RULER";
constexpr const char* BrightnessRuler = "COLOR_BRIGHTNESS_RULER";
constexpr const char* PlainHorizontalRuler = "COLOR_PLAIN_HRULER";
constexpr const char* PlainVerticalRuler = "COLOR_PLAIN_VRULER";
constexpr const char* HorizontalThumb = "COLOR_HTHUMB";
constexpr const char* VerticalThumb = "COLOR_VTHUMB";
constexpr const char* HexGlyph = "COLOR_HEX_GLYPH";
constexpr const char* OkImage = "COLOR_OK";
constexpr const char* ErrorImage = "COLOR_ERROR";
constexpr const char* PageImage = "COLOR_PAGE";

TColor composeColor(Integer Red, Integer Green, Integer Blue) {
    return static_cast<TColor>(Red | Green << GreenShift | Blue << BlueShift);
}

AnsiString twoHexDigits(Integer Value) {
    return IntToHex(Value, 2);
}

AnsiString percentText(Integer Value) {
    return IntToStr(Value * PercentMax / ChannelMax) + "%";
}

void setSliderPictures(TRxSlider* Slider, const char* Ruler) {
    TBitmap ruler;
    ruler.LoadFromResourceName(nullptr, Ruler);
    TBitmap thumb;
    if (Slider->Orientation() == soHorizontal) {
        thumb.LoadFromResourceName(nullptr, HorizontalThumb);
        Slider->SetImageHRuler(&ruler);
        Slider->SetImageHThumb(&thumb);
    } else {
        thumb.LoadFromResourceName(nullptr, VerticalThumb);
        Slider->SetImageVRuler(&ruler);
        Slider->SetImageVThumb(&thumb);
    }
}

} // namespace

AnsiString LanguageName(const AnsiString& LanguageFile) {
    const std::size_t dot = LanguageFile.find('.');
    return dot == AnsiString::npos ? LanguageFile : AnsiString(LanguageFile).erase(dot, ExtensionLength);
}

// ---- Construction ---------------------------------------------------------------------------

TColorTab::TColorTab(TColorTabControls& Controls, TColorTabHost& Host) : controls_(Controls), host_(Host) {
    TColorTabControls& c = controls_;
    grid_ = {c.ClPanel1,  c.ClPanel2,  c.ClPanel3,  c.ClPanel4,  c.ClPanel5,  c.ClPanel6,
             c.ClPanel7,  c.ClPanel8,  c.ClPanel9,  c.ClPanel10, c.ClPanel11, c.ClPanel12,
             c.ClPanel13, c.ClPanel14, c.ClPanel15, c.ClPanel16, c.ClPanel17, c.ClPanel18,
             c.ClPanel19, c.ClPanel20, c.ClPanel21, c.ClPanel22, c.ClPanel23, c.ClPanel24};
    preview_ = {c.PrePanel1, c.PrePanel2, c.PrePanel3, c.PrePanel4, c.PrePanel5, c.PrePanel6};
    loadPictures();
    SetColorStatusIndicator(this);
}

TColorTab::~TColorTab() {
    SetColorStatusIndicator(nullptr);
    if (ZoomForm) {
        ZoomForm->CloseAndFree();
        ZoomForm = nullptr;
    }
}

void TColorTab::loadPictures() {
    TColorTabControls& c = controls_;
    setSliderPictures(c.DegreeColorSlider, HueRuler);
    setSliderPictures(c.SaturateSlider, SaturationRuler);
    setSliderPictures(c.BrightSlider, BrightnessRuler);
    setSliderPictures(c.RSlider, RedRuler);
    setSliderPictures(c.GSlider, GreenRuler);
    setSliderPictures(c.BSlider, BlueRuler);
    setSliderPictures(c.OffsetSlider, PlainHorizontalRuler);
    setSliderPictures(c.ZoomSlider, PlainVerticalRuler);
    for (TComboEdit* hex :
         {c.MainColHexEdit, c.SmartColHexEdit, c.SafeColHexEdit, c.ZoomColorEd, c.ClipColorEdit}) {
        TBitmap glyph;
        glyph.LoadFromResourceName(nullptr, HexGlyph);
        hex->SetGlyph(&glyph);
    }
    c.OkColorImage->Picture()->Bitmap()->LoadFromResourceName(nullptr, OkImage);
    c.ErrColorImage->Picture()->Bitmap()->LoadFromResourceName(nullptr, ErrorImage);
    c.Image2->Picture()->Bitmap()->LoadFromResourceName(nullptr, PageImage);
}

// ---- The status indicator -------------------------------------------------------------------

void TColorTab::ShowColorStatus(ColorStatus Status) {
    const bool ok = Status == ColorStatus::ColorOk;
    controls_.OkColorImage->SetVisible(ok);
    controls_.ErrColorImage->SetVisible(!ok);
    controls_.ErColLabel->SetCaption(AnsiToWide(ColorStatusCaption(Status)));
}

// ---- Slider-bound conversions ----------------------------------------------------------------

void TColorTab::RGB2HSV() {
    if (ColorMode != colormode::RGB && ColorMode != colormode::Zoom) return;
    TColorTabControls& c = controls_;
    if (ColorMode == colormode::Zoom) {
        c.RSlider->SetValue(StrToInt(c.ZoRedBinEdit->Text()));
        c.GSlider->SetValue(StrToInt(c.ZoGreenBinEdit->Text()));
        c.BSlider->SetValue(StrToInt(c.ZoBlueBinEdit->Text()));
    }
    CurRed = static_cast<Byte>(c.RSlider->Value());
    CurGreen = static_cast<Byte>(c.GSlider->Value());
    CurBlue = static_cast<Byte>(c.BSlider->Value());
    unsigned int hue = static_cast<unsigned int>(c.DegreeColorSlider->Value());
    Byte saturation = 0;
    Byte brightness = 0;
    CalcRGB2HSV(hue, saturation, brightness, CurRed, CurGreen, CurBlue);
    // An achromatic colour leaves the hue as the slider had it.
    c.DegreeColorSlider->SetValue(static_cast<Integer>(hue));
    c.SaturateSlider->SetValue(saturation);
    c.BrightSlider->SetValue(brightness);
}

void TColorTab::HSV2RGB() {
    if (ColorMode != colormode::HSV && ColorMode != colormode::Zoom) return;
    TColorTabControls& c = controls_;
    CalcHSV2RGB(CurRed, CurGreen, CurBlue, static_cast<unsigned int>(c.DegreeColorSlider->Value()),
                static_cast<Byte>(c.SaturateSlider->Value()), static_cast<Byte>(c.BrightSlider->Value()));
    c.RSlider->SetValue(CurRed);
    c.GSlider->SetValue(CurGreen);
    c.BSlider->SetValue(CurBlue);
}

// ---- Event handlers ---------------------------------------------------------------------------

void TColorTab::RGB_SliderMouseDown() {
    ColorMode = colormode::RGB;
}

void TColorTab::HSV_SliderMouseDown() {
    ColorMode = colormode::HSV;
}

void TColorTab::ZoomAutoChkBoxClick() {
    ColorMode = controls_.ZoomAutoChkBox->Checked() ? colormode::Zoom : colormode::None;
}

void TColorTab::DegreeColorSliderChange() {
    controls_.DegreeEdit->SetText(IntToStr(controls_.DegreeColorSlider->Value()) + DegreeSign);
    HSV2RGB();
}

void TColorTab::SaturateSliderChange() {
    controls_.SaturatePerEdit->SetText(percentText(controls_.SaturateSlider->Value()));
    HSV2RGB();
}

void TColorTab::BrightSliderChange() {
    controls_.BrightPerEdit->SetText(percentText(controls_.BrightSlider->Value()));
    HSV2RGB();
}

void TColorTab::RGBSliderChange() {
    TColorTabControls& c = controls_;
    const Integer red = c.RSlider->Value();
    const Integer green = c.GSlider->Value();
    const Integer blue = c.BSlider->Value();
    c.RedBinEdit->SetText(IntToStr(red));
    c.RedBinLabel->SetCaption(twoHexDigits(red));
    c.GreenBinEdit->SetText(IntToStr(green));
    c.GreenBinLabel->SetCaption(twoHexDigits(green));
    c.BlueBinLabel->SetCaption(twoHexDigits(blue));
    c.BlueBinEdit->SetText(IntToStr(blue));
    c.SummColorBin->SetText("#" + c.RedBinLabel->Caption() + c.GreenBinLabel->Caption() +
                            c.BlueBinLabel->Caption());
    // The sliders are read again: the refresh above may have moved them.
    const TColor color = composeColor(c.RSlider->Value(), c.GSlider->Value(), c.BSlider->Value());
    c.Shape3->Brush()->SetColor(color);
    c.MainColorPanel->SetColor(color);
    c.MainColHexEdit->SetText(c.SummColorBin->Text());
    if (c.ColorBaseGroup->ItemIndex() == BaseUnsafe) takeBaseColor(c.MainColorPanel, c.SummColorBin->Text());
    if (c.GreyCheckBox->Checked()) {
        ShowColorStatus(ColorStatus::Grey);
        c.RSlider->SetValue(c.GSlider->Value());
        c.BSlider->SetValue(c.RSlider->Value());
        c.GSlider->SetValue(c.BSlider->Value());
    } else {
        RGB2HSV();
    }
}

void TColorTab::takeBaseColor(TPanel* From, const AnsiString& Caption) {
    controls_.SourceColorPanel->SetColor(From->Color());
    controls_.PrePanel0->SetColor(From->Color());
    controls_.SourceColorPanel->SetCaption(Caption);
}

void TColorTab::showVariant(TEdit* Red, TEdit* Green, TEdit* Blue, TPanel* Swatch, TComboEdit* Hex,
                            int (*Quantise)(int)) {
    TColorTabControls& c = controls_;
    Red->SetText(IntToStr(Quantise(StrToInt(c.RedBinEdit->Text()))));
    Green->SetText(IntToStr(Quantise(StrToInt(c.GreenBinEdit->Text()))));
    Blue->SetText(IntToStr(Quantise(StrToInt(c.BlueBinEdit->Text()))));
    const Integer red = StrToInt(Red->Text());
    const Integer green = StrToInt(Green->Text());
    const Integer blue = StrToInt(Blue->Text());
    Swatch->SetColor(composeColor(red, green, blue));
    Hex->SetText("#" + twoHexDigits(red) + twoHexDigits(green) + twoHexDigits(blue));
}

void TColorTab::SummColorBinChange() {
    TColorTabControls& c = controls_;
    showVariant(c.RedSafeEdit, c.GreenSafeEdit, c.BlueSafeEdit, c.SafeColorPanel, c.SafeColHexEdit,
                SafeChannel);
    showVariant(c.RedSmartEdit, c.GreenSmartEdit, c.BlueSmartEdit, c.SmartColorPanel, c.SmartColHexEdit,
                SmartChannel);
    const bool dark = c.BrightSlider->Value() <= DarkBrightness || c.GSlider->Value() <= DarkGreen;
    for (TPanel* swatch : {c.MainColorPanel, c.SmartColorPanel, c.SafeColorPanel, c.SourceColorPanel})
        swatch->Font()->SetColor(dark ? White : Black);
    ColorCalculation();
    if (c.ColorBaseGroup->ItemIndex() == BaseSmart)
        takeBaseColor(c.SmartColorPanel, c.SmartColHexEdit->Text());
    if (c.ColorBaseGroup->ItemIndex() == BaseSafe) takeBaseColor(c.SafeColorPanel, c.SafeColHexEdit->Text());
}

void TColorTab::ColorBaseGroupClick() {
    SummColorBinChange();
    if (controls_.ColorBaseGroup->ItemIndex() != BaseUnsafe) return;
    Sleep(BaseColorPause);
    controls_.SourceColorPanel->SetColor(controls_.MainColorPanel->Color());
    controls_.SourceColorPanel->SetCaption(controls_.SummColorBin->Text());
}

void TColorTab::GreyCheckBoxClick() {
    TColorTabControls& c = controls_;
    const bool grey = c.GreyCheckBox->Checked();
    if (grey) {
        c.RSlider->SetValue(c.GSlider->Value());
        c.BSlider->SetValue(c.GSlider->Value());
    }
    c.RSlider->SetVisible(!grey);
    c.BSlider->SetVisible(!grey);
    setGreyRuler(grey);
}

void TColorTab::setGreyRuler(bool Grey) {
    TBitmap ruler;
    ruler.LoadFromResourceName(nullptr, Grey ? GreyRuler : GreenRuler);
    controls_.GSlider->SetImageVRuler(&ruler);
}

void TColorTab::ZoomColorChange() {
    if (controls_.ZoomAutoChkBox->Checked()) RGB2HSV();
}

// The mode goes back whatever the conversion does: a failed one must not
// leave the page following the magnifier.
void TColorTab::ZoomColorEdButtonClick() {
    const AnsiString remembered = ColorMode;
    ColorMode = colormode::Zoom;
    try {
        RGB2HSV();
    } catch (...) {
        ColorMode = remembered;
        throw;
    }
    ColorMode = remembered;
}

void TColorTab::ColorCalculation() {
    const Integer scheme = controls_.ColorShemeRdoGr->ItemIndex();
    // The achromatic scheme has no mirror row.
    for (std::size_t mirror = MirrorRowStart; mirror < MirrorRowStart + MirrorRowLength; ++mirror)
        grid_[mirror]->SetVisible(scheme != SchemeAchromatic);
    if (scheme >= 0 && scheme < static_cast<Integer>(Schemes.size())) (this->*Schemes[scheme].build)();
}

AnsiString TColorTab::HelpPage() {
    const AnsiString folder = host_.ProgramFolder() + HelpFolder;
    const AnsiString page = folder + LanguageName(host_.LanguageFile()) + HelpExtension;
    return FileExists(page) ? page : folder + FallbackHelp + HelpExtension;
}

void TColorTab::navigateHelp(const AnsiString& Anchor) {
    controls_.ColorHelpWebBrowser->Navigate(AnsiToWide(HelpPage() + Anchor));
}

void TColorTab::ColorSchemeChange() {
    TColorTabControls& c = controls_;
    c.OffsetSlider->SetValue(OffsetMiddle);
    const Integer scheme = c.ColorShemeRdoGr->ItemIndex();
    if (scheme == SchemeAchromatic) {
        SavedRed = c.RSlider->Value();
        SavedGreen = c.GSlider->Value();
        SavedBlue = c.BSlider->Value();
        AchromaActive = true;
        c.GreyCheckBox->SetChecked(true);
        c.GreyCheckBox->SetEnabled(false);
        c.OffsetSlider->SetEnabled(false);
        ColorCalcAhroma();
        navigateHelp(Schemes[SchemeAchromatic].anchor);
    }
    if (AchromaActive && scheme != SchemeAchromatic) {
        c.GreyCheckBox->SetChecked(false);
        c.RSlider->SetValue(SavedRed);
        c.GSlider->SetValue(SavedGreen);
        c.BSlider->SetValue(SavedBlue);
        AchromaActive = false;
        c.GreyCheckBox->SetEnabled(true);
    }
    if (scheme > SchemeAchromatic && scheme < static_cast<Integer>(Schemes.size())) {
        c.OffsetSlider->SetEnabled(Schemes[scheme].usesOffset);
        navigateHelp(Schemes[scheme].anchor);
    }
    nudgeGreen();
}

// Moves green one step towards the middle and back, so that the change
// handlers rebuild everything; a step away from the middle could be clamped
// at either end and change nothing.
void TColorTab::nudgeGreen() {
    TRxSlider* green = controls_.GSlider;
    const Integer previous = green->Value();
    green->SetValue(previous < GreenMiddle ? previous + 1 : previous - 1);
    green->SetValue(previous);
}

void TColorTab::OffsetSliderChange() {
    ColorCalculation();
    const Integer value = controls_.OffsetSlider->Value();
    const Integer offset = value - OffsetMiddle;
    controls_.OffsetEdit->SetText((offset > 0 ? "+" : "") + IntToStr(offset));
    controls_.Pie1->Angles()->SetStart(PieAxis - value);
    controls_.Pie1->Angles()->SetEnd(PieAxis + value);
}

void TColorTab::OffsetEditClick() {
    controls_.OffsetSlider->SetValue(OffsetMiddle);
}

// ---- The magnifier ------------------------------------------------------------------------------

void TColorTab::ToggleMagnifier(bool WasOpen) {
    if (WasOpen) {
        if (ZoomForm) ZoomForm->CloseAndFree();
        ZoomForm = nullptr;
        return;
    }
    if (controls_.ZoomAutoChkBox->Checked()) ColorMode = colormode::Zoom;
    ZoomForm = NewForm<TZoomForm>(Application, *this);
    ZoomForm->Show();
    ZoomForm->SetTop(0);
    ZoomForm->SetLeft(Screen->Width() - TZoomForm::LensSize);
    ZoomForm->SetFormStyle(fsStayOnTop);
}

Integer TColorTab::ZoomFactor() {
    return controls_.ZoomSlider->Value();
}

void TColorTab::ZoomColorPicked(TColor Color) {
    controls_.ZoRedBinEdit->SetText(IntToStr(Color & 0xFF));
    controls_.ZoGreenBinEdit->SetText(IntToStr((Color >> GreenShift) & 0xFF));
    controls_.ZoBlueBinEdit->SetText(IntToStr((Color >> BlueShift) & 0xFF));
}

void TColorTab::ZoomTextPicked(const AnsiString& Text) {
    controls_.ZoomColorEd->SetText(Text);
}

void TColorTab::ActivateMainWindow() {
    host_.ActivateMainWindow();
}
