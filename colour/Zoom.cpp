// The screen magnifier window. Each tick copies the screen around the pointer
// into a back buffer, enlarged, draws the cross-hair and the lens ring, shows
// the buffer, lets waiting messages run and then reports the colour one pixel
// up and left of the pointer.
#include "colour/Zoom.h"

#include "platform/core/SysUtils.h"
#include "platform/vcl/ExtCtrls.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/TypInfo.h"
#include "platform/win/Cursors.h"
#include "platform/win/Drawing.h"
#include "platform/win/Gdi.h"
#include "platform/win/Keyboard.h"
#include "platform/win/Messages.h"
#include "platform/win/Mouse.h"
#include "platform/win/Regions.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/WinUser.h"
#include "platform/win/WindowPos.h"
#include "platform/win/Windows.h"
#include "unicode/TntStdCtrls.h"

TZoomForm* ZoomForm = nullptr;

namespace {

constexpr DWORD NtPlatform = 2;
// The window's shape: the lens, and the tab below it with rounded corners.
constexpr int TabRight = 130;
constexpr int TabBottom = 176;
constexpr int TabCorner = 20;
// Drags the window by any point of its body: a move from the caption.
constexpr WPARAM DragMove = SC_MOVE | HTCAPTION;
constexpr SHORT PressedSinceLastQuery = 1;
constexpr Integer CrossHairRadius = 5;
constexpr Integer LensRingWidth = 4;
constexpr int GreenShift = 8;
constexpr int BlueShift = 16;

const TClass zoomFormClass = DescribeClass<TZoomForm, TForm>([](TClassBuilder<TZoomForm>& c) {
    for (TClass component :
         {ClassOf<TImage>(), ClassOf<TTimer>(), ClassOf<TShape>(), ClassOf<TEdit>(), ClassOf<TTntLabel>()})
        if (!GetClass(component->ClassName())) RegisterClass(component);
    c.Field("Image1", &TZoomForm::Image1);
    c.Field("Timer1", &TZoomForm::Timer1);
    c.Field("Shape1", &TZoomForm::Shape1);
    c.Field("ZoomColorEdit", &TZoomForm::ZoomColorEdit);
    c.Field("CaptureLabel", &TZoomForm::CaptureLabel);
    c.Method("FormCreate", &TZoomForm::FormCreate);
    c.Method("FormActivate", &TZoomForm::FormActivate);
    c.Method("FormMouseDown", &TZoomForm::FormMouseDown);
    c.Method("FormDblClick", &TZoomForm::FormDblClick);
    c.Method("FormClick", &TZoomForm::FormClick);
    c.Method("FormDestroy", &TZoomForm::FormDestroy);
    c.Method("Timer1Timer", &TZoomForm::Timer1Timer);
});

// Moves the rectangle by Shift along one axis when it sticks out of 0 .. Limit.
void keepInside(Integer& Low, Integer& High, Integer Limit) {
    if (Low < 0) {
        High -= Low;
        Low = 0;
    }
    if (High > Limit) {
        Low -= High - Limit;
        High = Limit;
    }
}

AnsiString colorText(TColor Color) {
    return "#" + IntToHex(Color & 0xFF, 2) + IntToHex((Color >> GreenShift) & 0xFF, 2) +
           IntToHex((Color >> BlueShift) & 0xFF, 2);
}

} // namespace

TRect MagnifierSourceRect(TPoint Pointer, Integer Zoom, TSize ImageSize, TSize ScreenSize) {
    const Integer dx = ImageSize.cx / (4 * Zoom);
    const Integer dy = ImageSize.cy / (4 * Zoom);
    TRect source{Pointer.x - dx, Pointer.y - dy, Pointer.x + dx, Pointer.y + dy};
    keepInside(source.Left, source.Right, ScreenSize.cx);
    keepInside(source.Top, source.Bottom, ScreenSize.cy);
    return source;
}

TZoomForm::TZoomForm(TComponent* AOwner, TZoomHost& Host) : TForm(AOwner), host_(Host) {
    LoadFormResource();
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(version);
    if (GetVersionExA(&version) && version.dwPlatformId == NtPlatform)
        SetWindowLongA(Handle(), GWLP_HWNDPARENT, 0);
}

TZoomForm::~TZoomForm() {
    if (ZoomForm == this) ZoomForm = nullptr;
}

void TZoomForm::FormCreate(TObject*) {
    HRGN shape = CreateEllipticRgn(0, 0, LensSize, LensSize);
    HRGN tab = CreateRoundRectRgn(0, LensSize, TabRight, TabBottom, TabCorner, TabCorner);
    CombineRgn(shape, shape, tab, RGN_OR);
    DeleteObject(tab);
    SetWindowRgn(Handle(), shape, TRUE);
}

void TZoomForm::FormActivate(TObject*) {
    // The key state's "pressed since the last query" is the whole desktop's:
    // an Esc that closed a menu before the lens opened must not stop it at
    // its first tick, frozen on the button that opened it.
    GetAsyncKeyState(VK_ESCAPE);
    CaptureLabel->SetVisible(true);
    Timer1->SetEnabled(true);
}

void TZoomForm::FormMouseDown(TObject*, TMouseButton Button, TShiftState, Integer, Integer) {
    if (Button != mbLeft) return;
    ReleaseCapture();
    SendMessageA(Handle(), WM_SYSCOMMAND, DragMove, 0);
}

void TZoomForm::FormDblClick(TObject*) {
    host_.ActivateMainWindow();
    SetFocus();
    Repaint();
}

void TZoomForm::FormClick(TObject*) {}

void TZoomForm::FormDestroy(TObject*) {}

void TZoomForm::CloseAndFree() {
    Close();
    Timer1->SetEnabled(false);
    if (ticking_) {
        closing_ = true;
        return;
    }
    delete this;
}

// The messages let through in the middle may close the window (the tick then
// stops and frees it) or fire the timer again (that tick does nothing).
void TZoomForm::Timer1Timer(TObject*) {
    if (ticking_ || closing_) return;
    ticking_ = true;
    if (GetAsyncKeyState(VK_ESCAPE) & PressedSinceLastQuery) {
        CaptureLabel->SetVisible(false);
        Timer1->SetEnabled(false);
    }
    POINT cursor{};
    GetCursorPos(&cursor);
    const TPoint pointer{cursor.x, cursor.y};
    if (!IsIconic(Application->Handle())) drawLens(pointer);
    Application->ProcessMessages();
    ticking_ = false;
    if (closing_) {
        Release();
        return;
    }
    reportColor(pointer);
}

void TZoomForm::drawLens(TPoint Pointer) {
    const Integer width = Image1->Width();
    const Integer height = Image1->Height();
    const Integer zoom = host_.ZoomFactor();
    const TRect source =
        MagnifierSourceRect(Pointer, zoom, {width, height}, {Screen->Width(), Screen->Height()});

    const HWND desktop = GetDesktopWindow();
    const HDC desktopDC = GetDC(desktop);
    TCanvas screen;
    screen.SetHandle(desktopDC);
    TCanvas* buffer = Image1->Canvas();
    buffer->SetCopyMode(cmSrcCopy);
    buffer->CopyRect(TRect{0, 0, width, height}, &screen, source);

    const TPoint centre{2 * zoom * (Pointer.x - source.Left), 2 * zoom * (Pointer.y - source.Top)};
    buffer->Pen()->SetMode(pmNot);
    buffer->Pen()->SetStyle(psDot);
    buffer->MoveTo(centre.x - width / 4, centre.y);
    buffer->LineTo(centre.x + width / 4, centre.y);
    buffer->MoveTo(centre.x, centre.y - height / 4);
    buffer->LineTo(centre.x, centre.y + height / 4);
    buffer->Pen()->SetStyle(psSolid);
    buffer->Brush()->SetStyle(bsClear);
    buffer->Ellipse(centre.x - CrossHairRadius, centre.y - CrossHairRadius, centre.x + CrossHairRadius + 1,
                    centre.y + CrossHairRadius + 1);
    buffer->Pen()->SetWidth(LensRingWidth);
    buffer->Ellipse(0, 0, LensSize - 1, LensSize - 1);
    buffer->Pen()->SetWidth(1);

    Canvas()->SetCopyMode(cmSrcCopy);
    Canvas()->CopyRect(TRect{0, 0, LensSize, LensSize}, buffer, TRect{0, 0, LensSize, LensSize});
    screen.SetHandle(nullptr);
    ReleaseDC(desktop, desktopDC);
}

void TZoomForm::reportColor(TPoint Pointer) {
    const HDC screenDC = GetDC(nullptr);
    const TColor color = static_cast<TColor>(GetPixel(screenDC, Pointer.x - 1, Pointer.y - 1));
    Shape1->Brush()->SetColor(color);
    host_.ZoomColorPicked(color);
    const AnsiString text = colorText(color);
    ZoomColorEdit->SetText(text);
    host_.ZoomTextPicked(text);
    ReleaseDC(nullptr, screenDC);
}
