// The main window's colour page: its handlers hand over to the page's
// controller (colour/ColorTab.h), which reaches this window for the program
// folder, the language, the hints and the information strip.
#include "app/Main.h"

#include "colour/ColorTab.h"
#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/Menus.h"
#include "platform/vcl/Pie.h"
#include "platform/vcl/RichEdits.h"
#include "platform/vcl/ScrollBoxes.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/ToolBars.h"
#include "platform/vcl/TypInfo.h"
#include "rx/RXSlider.h"
#include "rx/ToolEdit.h"
#include "unicode/TntExtCtrls.h"
#include "unicode/TntMenus.h"

namespace {

// Image2 shows only when the window is wide enough to hold it beside the page.
constexpr Integer PageImageMinimumWidth = 950;
// Where the help browser goes while the page is shown, in the page's own
// coordinates: the page's controls lie in a scroll box, so that a window
// narrower or lower than the page can still reach all of it.
constexpr Integer HelpPanelTop = 390;

class TMainWindowLink : public TColorTabHost {
public:
    explicit TMainWindowLink(TMainForm& Form) : form_(Form) {}
    AnsiString ProgramFolder() override { return AppDir; }
    AnsiString LanguageFile() override { return LangFile; }
    void ShowHint(TObject* Sender, TShiftState Shift, Integer X, Integer Y) override {
        form_.HintMouseMove(Sender, Shift, X, Y);
    }
    void ActivateMainWindow() override {
        form_.Show();
        form_.SetFocus();
    }

private:
    TMainForm& form_;
};

} // namespace

struct TColourPage {
    explicit TColourPage(TMainForm& Form) : link(Form), tab(Form, link) {}
    TMainWindowLink link;
    TColorTab tab;
};

void TColourPageDeleter::operator()(TColourPage* Page) const {
    delete Page;
}

void TMainForm::createColourPage() {
    colourPage_.reset(new TColourPage(*this));
}

void TMainForm::destroyColourPage() {
    colourPage_.reset();
}

TColorTab* TMainForm::ColourTab() const {
    return colourPage_ ? &colourPage_->tab : nullptr;
}

// The form resource sets values before the page's controller exists; the
// handlers ignore what happens then.
#define COLOUR_TAB_CALL(Call)                                                                                \
    if (TColorTab* tab = ColourTab()) tab->Call

// ---- Sliders, texts and the refresh ----

void TMainForm::RGB2HSV() {
    COLOUR_TAB_CALL(RGB2HSV());
}
void TMainForm::HSV2RGB() {
    COLOUR_TAB_CALL(HSV2RGB());
}
void TMainForm::RGB_SliderMouseDown(TObject*, TMouseButton, TShiftState, Integer, Integer) {
    COLOUR_TAB_CALL(RGB_SliderMouseDown());
}
void TMainForm::HSV_SliderMouseDown(TObject*, TMouseButton, TShiftState, Integer, Integer) {
    COLOUR_TAB_CALL(HSV_SliderMouseDown());
}
void TMainForm::ZoomAutoChkBoxClick(TObject*) {
    COLOUR_TAB_CALL(ZoomAutoChkBoxClick());
}
void TMainForm::DegreeColorSliderChange(TObject*) {
    COLOUR_TAB_CALL(DegreeColorSliderChange());
}
void TMainForm::SaturateSliderChange(TObject*) {
    COLOUR_TAB_CALL(SaturateSliderChange());
}
void TMainForm::BrightSliderChange(TObject*) {
    COLOUR_TAB_CALL(BrightSliderChange());
}
void TMainForm::RGBSliderChange(TObject*) {
    COLOUR_TAB_CALL(RGBSliderChange());
}
void TMainForm::SummColorBinChange(TObject*) {
    COLOUR_TAB_CALL(SummColorBinChange());
}
void TMainForm::ColorBaseGroupClick(TObject*) {
    COLOUR_TAB_CALL(ColorBaseGroupClick());
}
void TMainForm::GreyCheckBoxClick(TObject*) {
    COLOUR_TAB_CALL(GreyCheckBoxClick());
}
void TMainForm::ZoomColorChange(TObject*) {
    COLOUR_TAB_CALL(ZoomColorChange());
}
void TMainForm::ZoomColorEdButtonClick(TObject*) {
    COLOUR_TAB_CALL(ZoomColorEdButtonClick());
}
void TMainForm::ColorCalculation() {
    COLOUR_TAB_CALL(ColorCalculation());
}
void TMainForm::ColorSchemeChange(TObject*) {
    COLOUR_TAB_CALL(ColorSchemeChange());
}
void TMainForm::OffsetSliderChange(TObject*) {
    COLOUR_TAB_CALL(OffsetSliderChange());
}
void TMainForm::OffsetEditClick(TObject*) {
    COLOUR_TAB_CALL(OffsetEditClick());
}

// ---- Harmony schemes ----

void TMainForm::ColorCalcAhroma() {
    COLOUR_TAB_CALL(ColorCalcAhroma());
}
void TMainForm::ColorCalcMonochrom() {
    COLOUR_TAB_CALL(ColorCalcMonochrom());
}
void TMainForm::ColorCalcAhalog() {
    COLOUR_TAB_CALL(ColorCalcAhalog());
}
void TMainForm::ColorCalcComplement() {
    COLOUR_TAB_CALL(ColorCalcComplement());
}
void TMainForm::ColorCalcAnaComp() {
    COLOUR_TAB_CALL(ColorCalcAnaComp());
}
void TMainForm::ColorCalcSplitComp() {
    COLOUR_TAB_CALL(ColorCalcSplitComp());
}
void TMainForm::ColorCalcDoubleComp() {
    COLOUR_TAB_CALL(ColorCalcDoubleComp());
}
void TMainForm::ColorCalcTriadic() {
    COLOUR_TAB_CALL(ColorCalcTriadic());
}
void TMainForm::ColorPanelChange() {
    COLOUR_TAB_CALL(ColorPanelChange());
}
void TMainForm::SafePalettes() {
    COLOUR_TAB_CALL(SafePalettes());
}
void TMainForm::ColPalRdoGrClick(TObject*) {
    COLOUR_TAB_CALL(ColPalRdoGrClick());
}

// ---- Palettes, clipboard and magnifier ----

void TMainForm::Palette1GroupBoxExpanded(TObject*) {
    COLOUR_TAB_CALL(Palette1GroupBoxExpanded());
}
void TMainForm::Palette2GroupBoxExpanded(TObject*) {
    COLOUR_TAB_CALL(Palette2GroupBoxExpanded());
}
void TMainForm::Palette1GroupBoxCollapsed(TObject*) {
    COLOUR_TAB_CALL(Palette1GroupBoxCollapsed());
}
void TMainForm::Palette2GroupBoxCollapsed(TObject*) {
    COLOUR_TAB_CALL(Palette2GroupBoxCollapsed());
}
void TMainForm::Palette1ImageGetPixColor(TObject* Sender, TShiftState Shift, Integer X, Integer Y) {
    COLOUR_TAB_CALL(PaletteImageGetPixColor(Palette1Image, Sender, Shift, X, Y));
}
void TMainForm::Palette2ImageGetPixColor(TObject* Sender, TShiftState Shift, Integer X, Integer Y) {
    COLOUR_TAB_CALL(PaletteImageGetPixColor(Palette2Image, Sender, Shift, X, Y));
}
void TMainForm::PaletteImageMouseDown(TObject*, TMouseButton Button, TShiftState, Integer, Integer) {
    COLOUR_TAB_CALL(PaletteImageMouseDown(Button));
}
void TMainForm::SelectColorPal(TObject* Sender) {
    COLOUR_TAB_CALL(SelectColorPal(Sender));
}
void TMainForm::ClipColorEditButtonClick(TObject*) {
    COLOUR_TAB_CALL(ClipColorEditButtonClick());
}

// The button still shows its state from before the click; it flips at the end.
void TMainForm::ZoomButtonClick(TObject*) {
    const bool wasDown = ZoomButton->Down();
    COLOUR_TAB_CALL(ToggleMagnifier(wasDown));
    ZoomButton->SetDown(!wasDown);
}

#undef COLOUR_TAB_CALL

// ---- Showing the page ----

void TMainForm::ColorTabSheetShow(TObject*) {
    TColorTab* tab = ColourTab();
    if (!tab) return;
    InfoButton->SetVisible(false);
    MenuInfoPanel->SetEnabled(false);
    if (MenuInfoPanel->Checked()) {
        Panel3->SetHeight(Panel3->Height() + InfoStripGrowth);
        for (TControl* text : {static_cast<TControl*>(InfoEdit), static_cast<TControl*>(RemarksEdit),
                               static_cast<TControl*>(FilesMemo)})
            text->SetVisible(false);
    }
    Panel4->SetTop(HelpPanelTop - ColorScrollBox->VertScrollBar()->Position());
    tab->ColorSchemeChange();
}

void TMainForm::ColorTabSheetHide(TObject*) {
    if (!ColourTab()) return;
    InfoButton->SetVisible(true);
    MenuInfoPanel->SetEnabled(true);
    if (MenuInfoPanel->Checked()) {
        Panel3->SetHeight(Panel3->Height() - InfoStripGrowth);
        for (TControl* text : {static_cast<TControl*>(InfoEdit), static_cast<TControl*>(RemarksEdit),
                               static_cast<TControl*>(FilesMemo)})
            text->SetVisible(true);
    }
}

void TMainForm::FormResize(TObject*) {
    if (Image2) Image2->SetVisible(Width() >= PageImageMinimumWidth);
}

void TMainForm::DescribeColourPage(TClassBuilder<TMainForm>& c) {
    for (TClass component : {ClassOf<TRxSlider>(), ClassOf<TPie>(), ClassOf<TComboEdit>(), ClassOf<TImage>(),
                             ClassOf<TShape>(), ClassOf<TPanel>(), ClassOf<TRadioGroup>(),
                             ClassOf<TCheckBox>(), ClassOf<TEdit>(), ClassOf<TLabel>()})
        if (!GetClass(component->ClassName())) RegisterClass(component);
    c.Method("RGB_SliderMouseDown", &TMainForm::RGB_SliderMouseDown);
    c.Method("HSV_SliderMouseDown", &TMainForm::HSV_SliderMouseDown);
    c.Method("ZoomAutoChkBoxClick", &TMainForm::ZoomAutoChkBoxClick);
    c.Method("DegreeColorSliderChange", &TMainForm::DegreeColorSliderChange);
    c.Method("SaturateSliderChange", &TMainForm::SaturateSliderChange);
    c.Method("BrightSliderChange", &TMainForm::BrightSliderChange);
    c.Method("RGBSliderChange", &TMainForm::RGBSliderChange);
    c.Method("SummColorBinChange", &TMainForm::SummColorBinChange);
    c.Method("ColorBaseGroupClick", &TMainForm::ColorBaseGroupClick);
    c.Method("GreyCheckBoxClick", &TMainForm::GreyCheckBoxClick);
    c.Method("ZoomColorChange", &TMainForm::ZoomColorChange);
    c.Method("ZoomColorEdButtonClick", &TMainForm::ZoomColorEdButtonClick);
    c.Method("ColorSchemeChange", &TMainForm::ColorSchemeChange);
    c.Method("OffsetSliderChange", &TMainForm::OffsetSliderChange);
    c.Method("OffsetEditClick", &TMainForm::OffsetEditClick);
    c.Method("ColorTabSheetShow", &TMainForm::ColorTabSheetShow);
    c.Method("ColorTabSheetHide", &TMainForm::ColorTabSheetHide);
    c.Method("FormResize", &TMainForm::FormResize);
    c.Method("ColPalRdoGrClick", &TMainForm::ColPalRdoGrClick);
    c.Method("Palette1GroupBoxExpanded", &TMainForm::Palette1GroupBoxExpanded);
    c.Method("Palette2GroupBoxExpanded", &TMainForm::Palette2GroupBoxExpanded);
    c.Method("Palette1GroupBoxCollapsed", &TMainForm::Palette1GroupBoxCollapsed);
    c.Method("Palette2GroupBoxCollapsed", &TMainForm::Palette2GroupBoxCollapsed);
    c.Method("Palette1ImageGetPixColor", &TMainForm::Palette1ImageGetPixColor);
    c.Method("Palette2ImageGetPixColor", &TMainForm::Palette2ImageGetPixColor);
    c.Method("PaletteImageMouseDown", &TMainForm::PaletteImageMouseDown);
    c.Method("SelectColorPal", &TMainForm::SelectColorPal);
    c.Method("ClipColorEditButtonClick", &TMainForm::ClipColorEditButtonClick);
    c.Method("ZoomButtonClick", &TMainForm::ZoomButtonClick);
    c.Method("HintMouseMove", &TMainForm::HintMouseMove);
}
