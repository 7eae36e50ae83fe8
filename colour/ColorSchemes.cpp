// The eight harmony schemes: from the base colour in the source panel each
// builder fills the first two rows of the 24-panel grid with hue, saturation
// and brightness steps; the third row mirrors six of them, the fourth holds
// their web-safe colours, and the preview copies the row chosen as output.
#include "colour/ColorTab.h"

#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/StdCtrls.h"
#include "rx/RXSlider.h"

namespace {

using Extended = long double;

constexpr TColor White = 0xFFFFFF;
constexpr TColor Black = 0;
constexpr Integer ChannelMax = 255;
constexpr int GreenShift = 8;
constexpr int BlueShift = 16;

// Captions turn white below this brightness, and in the second monochromatic
// row above this saturation.
constexpr Integer LightBrightness = 160;
constexpr Integer StrongSaturation = 180;
constexpr Integer MonochromeSaturationSteps = 8;
constexpr Integer MonochromeBrightnessSteps = 9;
constexpr Integer AchromaticSteps = 6;

constexpr unsigned int HalfCircle = 180;
constexpr unsigned int FullCircle = 360;
constexpr unsigned int ThirdOfCircle = 120;
constexpr unsigned int TwoThirdsOfCircle = 240;

// The steps are the doubles 0.9, 0.8 and 0.7, multiplied in the extended
// format and cut toward zero; 0.7 lies just below seven tenths, so 10 x 0.7 is 6.
Byte step(Byte Value, double Factor) {
    return static_cast<Byte>(static_cast<Extended>(Value) * Factor);
}

TColor composeColor(Byte Red, Byte Green, Byte Blue) {
    return static_cast<TColor>(Red | Green << GreenShift | Blue << BlueShift);
}

// The fourth row of the achromatic scheme.
constexpr std::array<TColor, 6> FixedGreys = {0x000000, 0x333333, 0x666666, 0x999999, 0xCCCCCC, 0xFFFFFF};

// The third row: which grid panel (0-based) each of its panels mirrors.
constexpr std::array<std::size_t, 6> MirrorSources = {5, 3, 0, 8, 6, 11};
constexpr std::size_t MirrorRow = 12;
constexpr std::size_t SafeRow = 18;
constexpr std::size_t RowLength = 6;

// The preview panels' source panels (0-based) within the output row: the
// first row's third and fourth panels trade places, the other rows go in order.
constexpr std::array<std::size_t, 6> FirstRowPreviewOrder = {0, 1, 3, 2, 4, 5};
constexpr std::array<std::size_t, 6> PreviewOrder = {0, 1, 2, 3, 4, 5};

} // namespace

struct TColorTab::SchemeSource {
    unsigned int hue;
    Byte saturation;
    Byte brightness;
    unsigned int offset;
};

TColorTab::SchemeSource TColorTab::readSource() {
    const TColor source = controls_.SourceColorPanel->Color();
    // The colour value stands in for the hue of an achromatic source, which
    // the conversion leaves alone; every panel is then a grey anyway.
    schemeHue_ = static_cast<unsigned int>(source);
    Byte saturation = 0;
    Byte brightness = 0;
    CalcRGB2HSV(schemeHue_, saturation, brightness, static_cast<Byte>(source & 0xFF),
                static_cast<Byte>((source >> GreenShift) & 0xFF),
                static_cast<Byte>((source >> BlueShift) & 0xFF));
    return {schemeHue_, saturation, brightness, static_cast<unsigned int>(controls_.OffsetSlider->Value())};
}

void TColorTab::paintPanel(std::size_t Index, unsigned int H, Byte S, Byte V, bool WhiteFont) {
    Byte red = 0;
    Byte green = 0;
    Byte blue = 0;
    CalcHSV2RGB(red, green, blue, H, S, V);
    TPanel* panel = grid_[Index];
    const TColor color = composeColor(red, green, blue);
    panel->SetColor(color);
    panel->SetCaption(Color2Hex(color));
    panel->Font()->SetColor(WhiteFont ? White : Black);
}

void TColorTab::paintPanelByValue(std::size_t Index, unsigned int H, Byte S, Byte V) {
    paintPanel(Index, H, S, V, V < LightBrightness);
}

// ---- The builders --------------------------------------------------------------------------------

void TColorTab::ColorCalcAhroma() {
    for (std::size_t k = 0; k < FixedGreys.size(); ++k) {
        TPanel* panel = grid_[SafeRow + k];
        panel->SetColor(FixedGreys[k]);
        panel->SetCaption(Color2Hex(FixedGreys[k]));
        panel->Font()->SetColor(k < FixedGreys.size() / 2 ? White : Black);
    }
    auto paintGrey = [this](std::size_t Index, Integer Grey) {
        TPanel* panel = grid_[Index];
        const TColor color =
            composeColor(static_cast<Byte>(Grey), static_cast<Byte>(Grey), static_cast<Byte>(Grey));
        panel->SetColor(color);
        panel->SetCaption(Color2Hex(color));
        panel->Font()->SetColor(Grey < LightBrightness ? White : Black);
    };
    Integer grey = controls_.GSlider->Value();
    Integer greyStep = (ChannelMax - grey) / AchromaticSteps;
    for (std::size_t k = 0; k < RowLength; ++k)
        paintGrey(k, grey += greyStep);
    grey = controls_.GSlider->Value();
    greyStep = grey / AchromaticSteps;
    for (std::size_t k = 0; k < RowLength; ++k)
        paintGrey(RowLength + k, grey -= greyStep);
    ColPalRdoGrClick();
}

void TColorTab::ColorCalcMonochrom() {
    const SchemeSource source = readSource();
    const Byte saturationStep = static_cast<Byte>(source.saturation / MonochromeSaturationSteps);
    const Byte brightnessStep = static_cast<Byte>(source.brightness / MonochromeBrightnessSteps);
    Byte brightness = source.brightness;
    for (std::size_t k = 0; k < RowLength; ++k) {
        brightness = static_cast<Byte>(brightness - brightnessStep);
        // The caption follows the next panel's brightness.
        paintPanel(k, source.hue, source.saturation, brightness,
                   static_cast<Byte>(brightness - brightnessStep) < LightBrightness);
    }
    const TColor sixth = grid_[RowLength - 1]->Color();
    Byte saturation = 0;
    Byte sixthBrightness = 0;
    CalcRGB2HSV(schemeHue_, saturation, sixthBrightness, static_cast<Byte>(sixth & 0xFF),
                static_cast<Byte>((sixth >> GreenShift) & 0xFF),
                static_cast<Byte>((sixth >> BlueShift) & 0xFF));
    for (std::size_t k = 0; k < RowLength; ++k) {
        saturation = static_cast<Byte>(saturation - saturationStep);
        paintPanel(RowLength + k, schemeHue_, saturation, sixthBrightness,
                   static_cast<Byte>(saturation - saturationStep) > StrongSaturation);
    }
    finishScheme();
}

void TColorTab::ColorCalcAhalog() {
    const SchemeSource source = readSource();
    const unsigned int hues[] = {source.hue + FullCircle - source.offset, source.hue + source.offset};
    const Byte s = source.saturation;
    const Byte v = source.brightness;
    const Byte s8 = step(s, 0.8);
    const Byte s87 = step(s8, 0.7);
    for (std::size_t row = 0; row < 2; ++row) {
        const std::size_t first = row * RowLength;
        const unsigned int hue = hues[row];
        paintPanelByValue(first, hue, s, v);
        paintPanelByValue(first + 1, hue, s, step(v, 0.8));
        paintPanelByValue(first + 2, hue, s, step(step(v, 0.8), 0.8));
        paintPanelByValue(first + 3, hue, s8, v);
        paintPanelByValue(first + 4, hue, s87, v);
        paintPanelByValue(first + 5, hue, step(s87, 0.7), v);
    }
    finishScheme();
}

void TColorTab::ColorCalcComplement() {
    const SchemeSource source = readSource();
    const unsigned int hue = source.hue + HalfCircle;
    Byte brightness = source.brightness;
    for (std::size_t k = 0; k < RowLength; ++k) {
        if (k > 0) brightness = step(brightness, 0.9);
        paintPanelByValue(k, hue, source.saturation, brightness);
    }
    Byte saturation = source.saturation;
    for (std::size_t k = 0; k < RowLength; ++k) {
        saturation = step(saturation, 0.8);
        paintPanelByValue(RowLength + k, hue, saturation, source.brightness);
    }
    finishScheme();
}

// Two columns per hue, always top-left, bottom-left, top-right, bottom-right;
// the pairs are built in the order columns 1-2, 5-6, 3-4.
void TColorTab::fourPanelScheme(unsigned int HueA, unsigned int HueB, unsigned int HueC,
                                const SchemeSource& Source) {
    const Byte s = Source.saturation;
    const Byte v = Source.brightness;
    const std::pair<std::size_t, unsigned int> pairs[] = {{0, HueA}, {4, HueB}, {2, HueC}};
    for (const auto& [column, hue] : pairs) {
        paintPanelByValue(column, hue, s, v);
        paintPanelByValue(column + RowLength, hue, s, step(v, 0.8));
        paintPanelByValue(column + 1, hue, step(s, 0.8), v);
        paintPanelByValue(column + 1 + RowLength, hue, step(step(s, 0.8), 0.8), v);
    }
    finishScheme();
}

void TColorTab::ColorCalcAnaComp() {
    const SchemeSource source = readSource();
    const unsigned int opposite = source.hue + HalfCircle;
    fourPanelScheme(opposite, opposite - source.offset, opposite + source.offset, source);
}

void TColorTab::ColorCalcDoubleComp() {
    const SchemeSource source = readSource();
    fourPanelScheme(source.hue + HalfCircle, source.hue + source.offset,
                    source.hue + TwoThirdsOfCircle - source.offset, source);
}

// Three columns per hue: brightness steps on top, saturation steps below.
void TColorTab::threeColumnScheme(unsigned int HueA, unsigned int HueB, const SchemeSource& Source) {
    const Byte s = Source.saturation;
    const Byte v = Source.brightness;
    const std::pair<std::size_t, unsigned int> halves[] = {{0, HueA}, {3, HueB}};
    for (const auto& [column, hue] : halves) {
        paintPanelByValue(column, hue, s, v);
        paintPanelByValue(column + 1, hue, s, step(v, 0.8));
        paintPanelByValue(column + 2, hue, s, step(step(v, 0.8), 0.8));
        paintPanelByValue(column + RowLength, hue, step(s, 0.8), v);
        paintPanelByValue(column + RowLength + 1, hue, step(step(s, 0.8), 0.8), v);
        paintPanelByValue(column + RowLength + 2, hue, step(step(step(s, 0.8), 0.8), 0.8), v);
    }
    finishScheme();
}

void TColorTab::ColorCalcSplitComp() {
    const SchemeSource source = readSource();
    const unsigned int opposite = source.hue + HalfCircle;
    threeColumnScheme(opposite - source.offset, opposite + source.offset, source);
}

void TColorTab::ColorCalcTriadic() {
    const SchemeSource source = readSource();
    threeColumnScheme(source.hue + ThirdOfCircle, source.hue + TwoThirdsOfCircle, source);
}

void TColorTab::finishScheme() {
    ColorPanelChange();
    SafePalettes();
    ColPalRdoGrClick();
}

// ---- Mirror row, web-safe row and preview --------------------------------------------------------

void TColorTab::ColorPanelChange() {
    for (std::size_t k = 0; k < RowLength; ++k) {
        TPanel* source = grid_[MirrorSources[k]];
        TPanel* mirror = grid_[MirrorRow + k];
        mirror->SetColor(source->Color());
        mirror->SetCaption(source->Caption());
        mirror->Font()->SetColor(source->Font()->Color());
    }
}

void TColorTab::SafePalettes() {
    for (std::size_t k = 0; k < RowLength; ++k) {
        TPanel* source = grid_[MirrorRow + k];
        TPanel* safe = grid_[SafeRow + k];
        const TColor color = WebSafeColor(source->Color());
        safe->SetColor(color);
        safe->SetCaption(Color2Hex(color));
        safe->Font()->SetColor(source->Font()->Color());
    }
}

void TColorTab::ColPalRdoGrClick() {
    const Integer output = controls_.ColPalRdoGr->ItemIndex();
    if (output < 0 || output > 3) return;
    const std::size_t row = static_cast<std::size_t>(output) * RowLength;
    const auto& order = output == 0 ? FirstRowPreviewOrder : PreviewOrder;
    for (std::size_t k = 0; k < PreviewPanelCount; ++k)
        preview_[k]->SetColor(grid_[row + order[k]]->Color());
}
