// The two palette pictures, which pick the colour under the mouse into the
// page, and the colour clipboard: a click on any colour panel copies its
// colour as "#RRGGBB".
#include "colour/ColorTab.h"

#include "gl/glGrBox.h"
#include "platform/core/SysUtils.h"
#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/win/WinUser.h"
#include "rx/ToolEdit.h"

namespace {

constexpr const char* Palette1File = "/Color/Palettes/Palette1.bmp";
constexpr const char* Palette2File = "/Color/Palettes/Palette2.bmp";
// Room around the picture inside an opened box: its frame and its caption.
constexpr Integer PaletteFrameWidth = 4;
constexpr Integer PaletteFrameHeight = 18;
constexpr Integer CollapsedWidth = 368;
constexpr Integer CollapsedHeight = 16;
constexpr int GreenShift = 8;
constexpr int BlueShift = 16;

} // namespace

void TColorTab::Palette1GroupBoxExpanded() {
    paletteExpanded(controls_.Palette1GroupBox, controls_.Palette1Image, Palette1File);
    Palette2GroupBoxCollapsed();
}

void TColorTab::Palette2GroupBoxExpanded() {
    paletteExpanded(controls_.Palette2GroupBox, controls_.Palette2Image, Palette2File);
    Palette1GroupBoxCollapsed();
}

void TColorTab::Palette1GroupBoxCollapsed() {
    paletteCollapsed(controls_.Palette1GroupBox);
}

void TColorTab::Palette2GroupBoxCollapsed() {
    paletteCollapsed(controls_.Palette2GroupBox);
}

// The picture is read on every opening, so a changed file shows at once; one
// that cannot be read raises before the box changes its size.
void TColorTab::paletteExpanded(TglGroupBox* Box, TImage* Image, const char* File) {
    const AnsiString path = host_.ProgramFolder() + File;
    if (FileExists(path)) {
        Image->Picture()->LoadFromFile(path);
        controls_.ZoomAutoChkBox->SetChecked(true);
    }
    Box->SetWidth(Image->Width() + PaletteFrameWidth);
    Box->SetHeight(Image->Height() + PaletteFrameHeight);
    ColorMode = colormode::Zoom;
}

void TColorTab::paletteCollapsed(TglGroupBox* Box) {
    Box->SetWidth(CollapsedWidth);
    Box->SetHeight(CollapsedHeight);
}

// Outside the picture the canvas gives CLR_INVALID, which picks white.
void TColorTab::PaletteImageGetPixColor(TImage* Image, TObject* Sender, TShiftState Shift, Integer X,
                                        Integer Y) {
    const TColor color = Image->Picture()->Bitmap()->Canvas()->Pixels(X, Y);
    CurRed = static_cast<Byte>(color & 0xFF);
    controls_.ZoRedBinEdit->SetText(IntToStr(CurRed));
    CurGreen = static_cast<Byte>((color >> GreenShift) & 0xFF);
    controls_.ZoGreenBinEdit->SetText(IntToStr(CurGreen));
    CurBlue = static_cast<Byte>((color >> BlueShift) & 0xFF);
    controls_.ZoBlueBinEdit->SetText(IntToStr(CurBlue));
    host_.ShowHint(Sender, Shift, X, Y);
}

// A left click freezes the colour under the pointer; any other button lets
// the picture pick again.
void TColorTab::PaletteImageMouseDown(TMouseButton Button) {
    controls_.ZoomAutoChkBox->SetChecked(Button != mbLeft);
}

void TColorTab::SelectColorPal(TObject* Sender) {
    auto* panel = dynamic_cast<TPanel*>(Sender);
    if (!panel) return;
    Clipboard()->SetAsText("#" + Color2Hex(panel->Color()));
    controls_.ClipColorEdit->Clear();
    controls_.ClipColorEdit->Perform(WM_PASTE, 0, 0);
}

void TColorTab::ClipColorEditButtonClick() {
    controls_.ClipColorEdit->SelectAll();
    controls_.ClipColorEdit->Perform(WM_COPY, 0, 0);
}
