// Utility routines of the gl widget set: the drawing routines the widgets
// share (bevelled boxes, gradients, styled text, bitmaps in three looks), the
// small helpers for numbers, strings, colours, windows and the system, and an
// arithmetic expression evaluator. The drawing routines leave the device
// context's pen, font, background mode and map mode as they found them.
#pragma once

#include "gl/glTypes.h"
#include "platform/vcl/ExtCtrls.h"

class TBitmap;
class TFont;
class TGradient;
class TIllumination;
class TglCustomLabelColors;

// ---- Colours and numbers (glUtilsDrawing.cpp) ----------------------------------------

// Each of red, green and blue raised by Amount and capped at 255 (IncColor) or
// lowered and floored at 0 (DecColor); a system colour is taken as its RGB value.
TColor IncColor(TColor Color, Integer Amount);
TColor DecColor(TColor Color, Integer Amount);
// The second argument when Condition holds, else the third.
template <typename T> T IIF(bool Condition, const T& WhenTrue, const T& WhenFalse) {
    return Condition ? WhenTrue : WhenFalse;
}
inline Integer Min(Integer A, Integer B) {
    return A < B ? A : B;
}
inline Integer Max(Integer A, Integer B) {
    return A > B ? A : B;
}

// ---- Drawing (glUtilsDrawing.cpp) ------------------------------------------------------

// A memory device context compatible with another, drawing on a bitmap of its
// own; both are freed with it.
class OffscreenSurface {
public:
    OffscreenSurface(HDC Compatible, Integer Width, Integer Height);
    ~OffscreenSurface();
    OffscreenSurface(const OffscreenSurface&) = delete;
    OffscreenSurface& operator=(const OffscreenSurface&) = delete;
    HDC DC() const { return dc_; }

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ previous_;
};

// Draws the bevels (outer first) on the sides given with the pen style and
// width of the DC's pen and, unless Transparent, fills the inside with
// FillColor. Returns the rectangle inside the bevels.
TRect DrawBoxEx(HDC DC, TRect Rect, TglSides Sides, TBevelCut Inner, TBevelCut Outer, bool Bold, TColor FillColor,
                bool Transparent);
void GradientBox(HDC DC, const TRect& Rect, TGradient* Gradient, Integer PenStyle, Integer PenWidth);
// Text in one of the six styles, optionally outlined in DelineateColor,
// clipped to ClipRect. Draws nothing without a font.
void ExtTextOutExt(HDC DC, Integer X, Integer Y, const TRect& ClipRect, const AnsiString& Text, TglTextStyle Style,
                   bool Delineate, bool EffectsOff, TColor TextColor, TColor DelineateColor, TColor HighlightColor,
                   TColor ShadowColor, TIllumination* Illumination, TGradient* Gradient, TFont* Font);
// Draws Bitmap at Rect's top-left corner moved by the offsets, in the look of
// DrawState, once, stretched to Rect or tiled over it, optionally leaving out
// the pixels of TransparentColor. In the disabled look the pixels of
// DisabledMaskColor are the ones embossed. An empty bitmap draws nothing.
void CreateBitmapExt(HDC DC, TBitmap* Bitmap, const TRect& Rect, Integer OffsetX, Integer OffsetY,
                     TglWallpaperOption Wallpaper, TglDrawState DrawState, bool Transparent, TColor TransparentColor,
                     TColor DisabledMaskColor);
void DrawBitmapExt(HDC DC, TBitmap* Bitmap, const TRect& Rect, Integer OffsetX, Integer OffsetY,
                   TglWallpaperOption Wallpaper, TglDrawState DrawState, bool Transparent, TColor TransparentColor,
                   TColor DisabledMaskColor);
// Replaces every pixel of FromColor in Bitmap by ToColor.
void ChangeBitmapColor(TBitmap* Bitmap, TColor FromColor, TColor ToColor);
// The set's automatic shadow and highlight, derived from BaseColor when the
// set asks for them; written without the set's change notification.
void CalcShadowAndHighlightColors(TColor BaseColor, TglCustomLabelColors* Colors);

// ---- Expression evaluator (glUtils.cpp) --------------------------------------------------

// Evaluates + - * / with parentheses, unary minus and decimal numbers ("." or
// "," as separator) in single precision. Characters other than ( ) * + , - . /
// and digits are skipped wherever they stand, and text after the expression
// is ignored. Malformed input raises Exception with a fixed English message.
float CalcMathString(const AnsiString& expression);
