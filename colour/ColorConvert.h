// The colour arithmetic of the colour tab: the colour text, the smart and
// web-safe quantisers and the RGB/HSV conversions that the tab's sliders and
// the harmony schemes are built on.
#pragma once

#include "platform/core/Types.h"

// What the tab's status indicator says about the colour being shown.
enum class ColorStatus { ColorOk, Achroma, Grey };

// Implemented by the window that shows the status (an OK image, an error
// image and a label).
class ColorStatusIndicator {
public:
    virtual ~ColorStatusIndicator() = default;
    virtual void ShowColorStatus(ColorStatus status) = 0;
};

// The label text for a status: "Color OK", "Achroma" or "Grey".
AnsiString ColorStatusCaption(ColorStatus status);

// The indicator that CalcRGB2HSV reports to: the main window registers itself
// once it is built and passes nullptr before it goes away. With none
// registered the conversion reports nothing.
void SetColorStatusIndicator(ColorStatusIndicator* indicator);

// Six uppercase hexadecimal digits, red then green then blue ("FF0000" for
// 0x0000FF). A value above 0xFFFFFF is not resolved first: the digits are
// taken from the same places of its longer hexadecimal text.
AnsiString Color2Hex(TColor color);

// One of the 16 levels 0, 17, ..., 255 nearest to the value (ties go up).
int SmartChannel(int value);

// One of the six web-safe levels 0, 51, 102, 153, 204, 255.
int SafeChannel(int value);

// The colour with each channel rounded by SafeChannel; the top byte is 0.
TColor WebSafeColor(TColor color);

// Hue in degrees 0..359, saturation and brightness 0..255. An achromatic
// colour (saturation 0) has no hue: H is then left as it was. Reports
// "Color OK" or "Achroma" to the registered status indicator.
void CalcRGB2HSV(unsigned int& H, Byte& S, Byte& V, Byte R, Byte G, Byte B);

// Hues of 360 and above are taken modulo 360.
void CalcHSV2RGB(Byte& R, Byte& G, Byte& B, unsigned int H, Byte S, Byte V);
