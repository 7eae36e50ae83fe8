#include "app/Splash.h"

#include "platform/vcl/ComCtrls.h"
#include "platform/vcl/Pictures.h"
#include "platform/vcl/StdCtrls.h"
#include "platform/vcl/TypInfo.h"
#include "platform/win/CommCtrl.h"
#include "platform/win/Messages.h"
#include "platform/win/Regions.h"
#include "platform/win/WindowPos.h"

TSplashForm* SplashForm = nullptr;

namespace {

constexpr COLORREF BarYellow = 0x0000FFFF;
constexpr int CornerWidth = 40;
constexpr int CornerHeight = 30;
// How much faster than green the blue grows down the window.
constexpr Integer BlueFactor = 365;

const TClass splashFormClass = DescribeClass<TSplashForm, TForm>([](TClassBuilder<TSplashForm>& c) {
    c.Field("Label14", &TSplashForm::Label14);
    c.Field("Label13", &TSplashForm::Label13);
    c.Field("Label2", &TSplashForm::Label2);
    c.Field("Label3", &TSplashForm::Label3);
    c.Field("ProgressBar1", &TSplashForm::ProgressBar1);
    c.Method("FormCreate", &TSplashForm::FormCreate);
    c.Method("FormPaint", &TSplashForm::FormPaint);
});

} // namespace

TColor SplashGradientColor(Integer X, Integer Y, Integer Width, Integer Height) {
    const Integer red = 255 * X / Width;
    const Integer green = 255 * Y / Height;
    const Integer blue = (BlueFactor * Y / Height) % 256;
    return static_cast<TColor>(red | green << 8 | blue << 16);
}

TSplashForm::TSplashForm(TComponent* AOwner) : TForm(AOwner) {
    LoadFormResource();
    SendMessageA(ProgressBar1->Handle(), PBM_SETBARCOLOR, 0, BarYellow);
}

void TSplashForm::FormCreate(TObject*) {
    SetWindowRgn(Handle(), CreateRoundRectRgn(0, 0, Width(), Height(), CornerWidth, CornerHeight), TRUE);
}

void TSplashForm::FormPaint(TObject*) {
    TBitmap gradient;
    const Integer width = ClientWidth();
    const Integer height = ClientHeight();
    gradient.SetSize(width, height);
    TCanvas* pixels = gradient.Canvas();
    for (Integer y = 0; y < height; ++y)
        for (Integer x = 0; x < width; ++x)
            pixels->SetPixels(x, y, SplashGradientColor(x, y, width, height));
    Canvas()->Draw(0, 0, &gradient);
}
