#include "app/Gradient.h"

#include "platform/vcl/Graphics.h"
#include "platform/vcl/Pictures.h"

TColor GradientColor(Integer X, Integer Y, Integer Width, Integer Height, Integer BlueFactor) {
    const Integer red = 255 * X / Width;
    const Integer green = 255 * Y / Height;
    const Integer blue = (BlueFactor * Y / Height) % 256;
    return static_cast<TColor>(red | green << 8 | blue << 16);
}

void PaintGradient(TCanvas* Canvas, Integer Width, Integer Height, Integer BlueFactor) {
    TBitmap gradient;
    gradient.SetSize(Width, Height);
    TCanvas* pixels = gradient.Canvas();
    for (Integer y = 0; y < Height; ++y)
        for (Integer x = 0; x < Width; ++x)
            pixels->SetPixels(x, y, GradientColor(x, y, Width, Height, BlueFactor));
    Canvas->Draw(0, 0, &gradient);
}
