// The colour page's logic: one current colour kept consistent over the RGB
// and HSV sliders, its texts, swatches and rounded variants, the harmony
// schemes built from the base colour, the palette pictures, the colour
// clipboard and the magnifier. The main window's handlers call it; it works on
// the page's controls (TColorTabControls) and asks the main window, through
// TColorTabHost, for what lies outside the page.
#pragma once

#include "colour/ColorConvert.h"
#include "colour/ColorTabControls.h"
#include "colour/Zoom.h"
#include "platform/vcl/Controls.h"

#include <array>

// What the colour page needs of the main window.
class TColorTabHost {
public:
    virtual ~TColorTabHost() = default;
    // The program's folder, no trailing separator.
    virtual AnsiString ProgramFolder() = 0;
    // The chosen language file's name ("English.lng").
    virtual AnsiString LanguageFile() = 0;
    // The status-bar hint of the control under the mouse.
    virtual void ShowHint(TObject* Sender, TShiftState Shift, Integer X, Integer Y) = 0;
    // Brings the main window to the front with the focus.
    virtual void ActivateMainWindow() = 0;
};

// The colour modes: which controls drive the next conversion.
namespace colormode {
inline const AnsiString RGB = "RGB";
inline const AnsiString HSV = "HSV";
inline const AnsiString Zoom = "Zoom";
inline const AnsiString None = " ";
} // namespace colormode

// The language name of a language file: its name less the four characters
// of ".lng" from its first "." on; the whole name when it has no ".".
AnsiString LanguageName(const AnsiString& LanguageFile);

class TColorTab : public ColorStatusIndicator, public TZoomHost {
public:
    static constexpr std::size_t GridPanelCount = 24;
    static constexpr std::size_t PreviewPanelCount = 6;

    // Registers itself as the status indicator of the conversions; loads the
    // sliders' pictures and the status images.
    TColorTab(TColorTabControls& Controls, TColorTabHost& Host);
    ~TColorTab() override;
    TColorTab(const TColorTab&) = delete;
    TColorTab& operator=(const TColorTab&) = delete;

    // ---- State of the page ----
    // Empty at start: no conversion acts until a gesture sets a mode.
    AnsiString ColorMode;
    Byte CurRed = 0;
    Byte CurGreen = 0;
    Byte CurBlue = 0;
    Integer SavedRed = 0;
    Integer SavedGreen = 0;
    Integer SavedBlue = 0;
    bool AchromaActive = false;

    // ---- Sliders, texts and the central refresh (ColorTab.cpp) ----
    void RGB2HSV();
    void HSV2RGB();
    void RGB_SliderMouseDown();
    void HSV_SliderMouseDown();
    void ZoomAutoChkBoxClick();
    void DegreeColorSliderChange();
    void SaturateSliderChange();
    void BrightSliderChange();
    void RGBSliderChange();
    void SummColorBinChange();
    void ColorBaseGroupClick();
    void GreyCheckBoxClick();
    void ZoomColorChange();
    void ZoomColorEdButtonClick();
    void ColorCalculation();
    void ColorSchemeChange();
    void OffsetSliderChange();
    void OffsetEditClick();
    // The help page of the chosen language, or the English one.
    AnsiString HelpPage();

    // ---- Harmony schemes (ColorSchemes.cpp) ----
    void ColorCalcAhroma();
    void ColorCalcMonochrom();
    void ColorCalcAhalog();
    void ColorCalcComplement();
    void ColorCalcAnaComp();
    void ColorCalcSplitComp();
    void ColorCalcDoubleComp();
    void ColorCalcTriadic();
    void ColorPanelChange();
    void SafePalettes();
    void ColPalRdoGrClick();

    // ---- Palettes and the colour clipboard (ColorPalettes.cpp) ----
    void Palette1GroupBoxExpanded();
    void Palette2GroupBoxExpanded();
    void Palette1GroupBoxCollapsed();
    void Palette2GroupBoxCollapsed();
    void PaletteImageGetPixColor(TImage* Image, TObject* Sender, TShiftState Shift, Integer X, Integer Y);
    void PaletteImageMouseDown(TMouseButton Button);
    void SelectColorPal(TObject* Sender);
    void ClipColorEditButtonClick();

    // ---- The magnifier (ColorTab.cpp) ----
    // Closes it when it is open (WasOpen), opens it otherwise.
    void ToggleMagnifier(bool WasOpen);

    // ---- ColorStatusIndicator, TZoomHost ----
    void ShowColorStatus(ColorStatus Status) override;
    Integer ZoomFactor() override;
    void ZoomColorPicked(TColor Color) override;
    void ZoomTextPicked(const AnsiString& Text) override;
    void ActivateMainWindow() override;

private:
    using Grid = std::array<TPanel*, GridPanelCount>;
    struct SchemeSource;

    void loadPictures();
    void setGreyRuler(bool Grey);
    void navigateHelp(const AnsiString& Anchor);
    void nudgeGreen();
    void takeBaseColor(TPanel* From, const AnsiString& Caption);
    void showVariant(TEdit* Red, TEdit* Green, TEdit* Blue, TPanel* Swatch, TComboEdit* Hex,
                     int (*Quantise)(int));
    // The HSV of the source panel (the common first step of the seven
    // source-based schemes).
    SchemeSource readSource();
    // Paints panel Index (0-based) with (H, S, V); the caption font is white
    // when White.
    void paintPanel(std::size_t Index, unsigned int H, Byte S, Byte V, bool White);
    void paintPanelByValue(std::size_t Index, unsigned int H, Byte S, Byte V);
    void fourPanelScheme(unsigned int HueA, unsigned int HueB, unsigned int HueC, const SchemeSource& Source);
    void threeColumnScheme(unsigned int HueA, unsigned int HueB, const SchemeSource& Source);
    void finishScheme();
    void paletteExpanded(TglGroupBox* Box, TImage* Image, const char* File);
    void paletteCollapsed(TglGroupBox* Box);

    TColorTabControls& controls_;
    TColorTabHost& host_;
    Grid grid_{};
    std::array<TPanel*, PreviewPanelCount> preview_{};
    // The colour the scheme converted last keeps its hue here when the next
    // source is achromatic, as the conversion leaves the hue alone then.
    unsigned int schemeHue_ = 0;
};
