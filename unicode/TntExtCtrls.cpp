#include "unicode/TntExtCtrls.h"

#include "unicode/TntGraphics.h"
#include "unicode/TntSystem.h"
#include "unicode/TntWindows.h"

void TTntCustomPanel::CreateWindowHandle(const TCreateParams& Params) {
    CreateUnicodeHandle(this, Params, WideString());
}

void TTntCustomPanel::Paint() {
    if (!Win32PlatformIsUnicode) {
        TCustomPanel::Paint();
        return;
    }
    TRect rect = PaintFrame();
    TCanvas* canvas = Canvas();
    const Integer fontHeight = WideCanvasTextHeight(canvas, u"W");
    rect.Top = (rect.Top + rect.Bottom - fontHeight) / 2;
    rect.Bottom = rect.Top + fontHeight;
    const WideString caption = Caption();
    canvas->RequiredState({csHandleValid, csFontValid, csBrushValid});
    Tnt_DrawTextW(canvas->Handle(), caption.c_str(), -1, &rect, CaptionFormat());
}

namespace {
const TClass tntPanelClass = DescribeClass<TTntPanel, TCustomPanel>([](TClassBuilder<TTntPanel>& c) {
    c.Property("Caption", &TTntPanel::Caption, &TTntPanel::SetCaption);
    c.Property("Hint", &TTntPanel::Hint, &TTntPanel::SetHint);
});
} // namespace
