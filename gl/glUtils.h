// Utility routines of the gl widget set: the drawing routines the widgets
// share (bevelled boxes, gradients, styled text, bitmaps in three looks), the
// small helpers for numbers, strings, colours, windows and the system, and an
// arithmetic expression evaluator. The drawing routines leave the device
// context's pen, font, background mode and map mode as they found them.
#pragma once

#include "gl/glTypes.h"
#include "platform/vcl/ExtCtrls.h"

class TBitmap;
class TCanvas;
class TComponent;
class TCustomForm;
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
TRect DrawBoxEx(HDC DC, TRect Rect, TglSides Sides, TBevelCut Inner, TBevelCut Outer, bool Bold,
                TColor FillColor, bool Transparent);
void GradientBox(HDC DC, const TRect& Rect, TGradient* Gradient, Integer PenStyle, Integer PenWidth);
// Text in one of the six styles, optionally outlined in DelineateColor,
// clipped to ClipRect. Draws nothing without a font.
void ExtTextOutExt(HDC DC, Integer X, Integer Y, const TRect& ClipRect, const AnsiString& Text,
                   TglTextStyle Style, bool Delineate, bool EffectsOff, TColor TextColor,
                   TColor DelineateColor, TColor HighlightColor, TColor ShadowColor,
                   TIllumination* Illumination, TGradient* Gradient, TFont* Font);
// Draws Bitmap at Rect's top-left corner moved by the offsets, in the look of
// DrawState, once, stretched to Rect or tiled over it, optionally leaving out
// the pixels of TransparentColor. In the disabled look the pixels of
// DisabledMaskColor are the ones embossed. An empty bitmap draws nothing.
void CreateBitmapExt(HDC DC, TBitmap* Bitmap, const TRect& Rect, Integer OffsetX, Integer OffsetY,
                     TglWallpaperOption Wallpaper, TglDrawState DrawState, bool Transparent,
                     TColor TransparentColor, TColor DisabledMaskColor);
void DrawBitmapExt(HDC DC, TBitmap* Bitmap, const TRect& Rect, Integer OffsetX, Integer OffsetY,
                   TglWallpaperOption Wallpaper, TglDrawState DrawState, bool Transparent,
                   TColor TransparentColor, TColor DisabledMaskColor);
// Replaces every pixel of FromColor in Bitmap by ToColor.
void ChangeBitmapColor(TBitmap* Bitmap, TColor FromColor, TColor ToColor);
// The set's automatic shadow and highlight, derived from BaseColor when the
// set asks for them; written without the set's change notification.
void CalcShadowAndHighlightColors(TColor BaseColor, TglCustomLabelColors* Colors);

// ---- Numbers, strings and rectangles (glUtilsRoutines.cpp) -------------------------------

// The smaller or larger; on equality the first.
float MinSingle(float A, float B);
float MaxSingle(float A, float B);
bool IsEven(Integer Value);
void SwapInt(Integer& A, Integer& B);
// The count is taken as its low 16 bits.
AnsiString Spaces(Integer Count);
AnsiString DupChar(char Character, Integer Count);
AnsiString DupStr(const AnsiString& Text, Integer Count);
// Padded on the right with spaces to Length; a longer text is returned unchanged.
AnsiString ExpandString(const AnsiString& Text, Integer Length);
// The first occurrence of the zero-terminated Pattern within the first Length
// bytes of Text (zero bytes there do not end the search), or null; null also
// for a missing text, a missing or empty pattern, or a length shorter than it.
const char* StrPosExt(const char* Text, const char* Pattern, Integer Length);
// True only strictly inside.
bool IsPointInRect(TPoint Point, const TRect& Rect);
// Windows' rule for a point in a rectangle: the left and top edges belong to it.
inline bool RectContains(const TRect& Rect, TPoint Point) {
    return Point.x >= Rect.Left && Point.x < Rect.Right && Point.y >= Rect.Top && Point.y < Rect.Bottom;
}
inline Integer RectW(const TRect& Rect) {
    return Rect.Right - Rect.Left;
}
inline Integer RectH(const TRect& Rect) {
    return Rect.Bottom - Rect.Top;
}
bool IsItAFilledBitmap(TBitmap* Bitmap);
// The colour of the corner pixel the option names; 0 for ftcUser or an empty bitmap.
TColor GetTransparentColor(TBitmap* Bitmap, TglAutoTransparentColor AutoTransparentColor);

// ---- Devices, fonts, text and boxes (glUtilsRoutines.cpp) ----------------------------------

Integer SantimsToPixels(HDC DC, bool Horizontal, float Santims);
// The screen has 96 horizontal pixels per inch.
bool IsSmallFonts();
Integer SystemColorDepth();
// A font handle (the caller's) like Font, its baseline turned by Angle tenths of a degree.
HFONT CreateRotatedFont(TFont* Font, Integer Angle);
// Text in one of the text styles; no flags mean one line, centred vertically.
void DrawTextInRect(HDC DC, TRect Rect, const AnsiString& Text, TglTextStyle Style, TFont* Font, UINT Flags);
void DrawTextInRectWithAlign(HDC DC, const TRect& Rect, const AnsiString& Text, TglHorAlign HorAlign,
                             TglVertAlign VertAlign, TglTextStyle Style, TFont* Font, UINT Flags);
// Text aligned in Rect; ftaBroadwise justifies every line but the last.
void DrawTextExtAligned(TCanvas* Canvas, const AnsiString& Text, const TRect& Rect, TglAlignment Alignment,
                        bool WordWrap);
// Draws the box's edges and shrinks Rect to its interior.
void DrawBox(HDC DC, TRect& Rect, TglBoxStyle Style);

// ---- Windows and controls (glUtilsRoutines.cpp) ---------------------------------------------

// The control itself when it is a form, else the nearest form among its
// parents. Qualified by its unit's name, as the framework's GetParentForm
// (the topmost parent) has the same signature.
namespace glUtils {
TCustomForm* GetParentForm(TControl* Control);
}
void BringParentWindowToTop(TWinControl* Control);
// Draws the control (when PaintSelf) and its children (windowed ones only
// with IncludeWindowedChildren) into DC with the control's corner at (X, Y).
void GetWindowImageFrom(TWinControl* Control, Integer X, Integer Y, bool PaintSelf,
                        bool IncludeWindowedChildren, HDC DC);
void GetWindowImage(TWinControl* Control, bool PaintSelf, bool IncludeWindowedChildren, HDC DC);
// Draws what lies under Rect (parent coordinates) in the control's parent
// into DC, Rect's corner at (0, 0).
void GetParentImageRect(TControl* Control, const TRect& Rect, HDC DC);
HWND FindMainWindow(const AnsiString& ClassName, const AnsiString& Caption);
// The last child of class T (or derived) whose bounds contain Point.
template <typename T> T* FindControlAtPt(TWinControl* Control, TPoint Point) {
    for (Integer index = Control->ControlCount() - 1; index >= 0; --index) {
        auto* child = dynamic_cast<T*>(Control->Controls(index));
        if (child && RectContains(child->BoundsRect(), Point)) return child;
    }
    return nullptr;
}

// ---- System, files and streaming (glUtilsRoutines.cpp) ---------------------------------------

AnsiString UserName();
AnsiString ComputerName();
// The program file's name with the extension ".ini".
AnsiString CreateIniFileName();
TglFileType GetFileType(const AnsiString& FileName);
// An information box owned by the application window, without a caption.
void Msg(const AnsiString& Text);
// Types each character with the key that makes it, Shift held where needed.
void TypeStringOnKeyboard(const AnsiString& Text);
// Starts playing the program's data resource of that name without waiting;
// false when it is missing or cannot be played.
bool PlayWaveResource(const AnsiString& ResourceName);
void SaveComponentToTextFile(TComponent* Component, const AnsiString& FileName);
void LoadComponentFromTextFile(TComponent* Component, const AnsiString& FileName);
AnsiString ComponentToString(TComponent* Component);
void StringToComponent(TComponent* Component, const AnsiString& Text);
// Cyrillic (code page 1251) to Latin letters, or back.
AnsiString Transliterate(const AnsiString& Text, bool ToLatin);

// ---- Expression evaluator (glUtils.cpp) --------------------------------------------------

// Evaluates + - * / with parentheses, unary minus and decimal numbers ("." or
// "," as separator) in single precision. Characters other than ( ) * + , - . /
// and digits are skipped wherever they stand, and text after the expression
// is ignored. Malformed input raises Exception with a fixed English message.
float CalcMathString(const AnsiString& expression);
