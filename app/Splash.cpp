#include "app/Splash.h"

#include "app/Gradient.h"

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
    return GradientColor(X, Y, Width, Height, BlueFactor);
}

TSplashForm::TSplashForm(TComponent* AOwner) : TForm(AOwner) {
    LoadFormResource();
    SendMessageA(ProgressBar1->Handle(), PBM_SETBARCOLOR, 0, BarYellow);
}

void TSplashForm::FormCreate(TObject*) {
    SetWindowRgn(Handle(), CreateRoundRectRgn(0, 0, Width(), Height(), CornerWidth, CornerHeight), TRUE);
}

void TSplashForm::FormPaint(TObject*) {
    PaintGradient(Canvas(), ClientWidth(), ClientHeight(), BlueFactor);
}
