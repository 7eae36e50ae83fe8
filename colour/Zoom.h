// The screen magnifier: a small always-on-top window shaped as a round lens
// with a tab below it. Every 25 ms it shows an enlarged image of the screen
// around the mouse pointer with a cross-hair and reports the colour beside
// the pointer's hot spot to the colour page (through TZoomHost).
#pragma once

#include "platform/vcl/Forms.h"

class TEdit;
class TImage;
class TShape;
class TTimer;
class TTntLabel;

// What the magnifier needs of the colour page.
class TZoomHost {
public:
    virtual ~TZoomHost() = default;
    // The magnification factor, 1..7.
    virtual Integer ZoomFactor() = 0;
    // The colour under the pointer, channel by channel into the page.
    virtual void ZoomColorPicked(TColor Color) = 0;
    // The same colour as "#RRGGBB".
    virtual void ZoomTextPicked(const AnsiString& Text) = 0;
    virtual void ActivateMainWindow() = 0;
};

// The screen rectangle a tick enlarges: (2 dx) x (2 dy) around the pointer,
// dx = Width div (4 z) and dy = Height div (4 z), shifted back onto a screen
// of ScreenSize where it would stick out.
TRect MagnifierSourceRect(TPoint Pointer, Integer Zoom, TSize ImageSize, TSize ScreenSize);

class TZoomForm : public TForm {
public:
    static constexpr Integer LensSize = 150;

    // Built from its form resource (make it with NewForm); the window has no
    // owner window, so it stays on the screen whatever the main window does.
    TZoomForm(TComponent* AOwner, TZoomHost& Host);
    ~TZoomForm() override;

    TImage* Image1 = nullptr;
    TTimer* Timer1 = nullptr;
    TShape* Shape1 = nullptr;
    TEdit* ZoomColorEdit = nullptr;
    TTntLabel* CaptureLabel = nullptr;

    void FormCreate(TObject* Sender);
    void FormActivate(TObject* Sender);
    void FormMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
    void FormDblClick(TObject* Sender);
    void FormClick(TObject* Sender);
    void FormDestroy(TObject* Sender);
    void Timer1Timer(TObject* Sender);

    // Closes the window and frees it; a tick that is running (the close came
    // from the messages it lets through) frees it once it returns.
    void CloseAndFree();

private:
    void drawLens(TPoint Pointer);
    void reportColor(TPoint Pointer);

    TZoomHost& host_;
    bool ticking_ = false;
    bool closing_ = false;
};

// The one magnifier window while it is open.
extern TZoomForm* ZoomForm;
