// The gl widgets' drawing routines: bevelled boxes, gradient boxes, styled
// text and bitmaps in three looks, drawn straight onto a device context.
#include "gl/gl3DCol.h"
#include "gl/glCommCl.h"
#include "gl/glUtils.h"
#include "platform/vcl/Graphics.h"
#include "platform/win/Bitmaps.h"
#include "platform/win/Blit.h"
#include "platform/win/Drawing.h"
#include "platform/win/Gdi.h"
#include "platform/win/SysColors.h"
#include "platform/win/TextOut.h"

#include <algorithm>
#include <cmath>

namespace {

// Paints the brush where a monochrome source is white and leaves the
// destination where it is black (with text colour black, background white).
constexpr DWORD PaintThroughMask = 0x00E20746;
constexpr COLORREF Black = 0x000000;
constexpr COLORREF White = 0xFFFFFF;
constexpr TColor DelicateWhite = 0xFFFFFF;
constexpr TColor DelicateGray = 0x808080;
// Where the outline copies of a delineated text lie around the text's corner.
const TPoint OutlineOffsets[] = {{0, 0}, {2, 2}, {0, 2}, {2, 0}};

Integer channel(TColor Color, int Index) {
    return (static_cast<Cardinal>(ColorToRGB(Color)) >> (8 * Index)) & 0xFF;
}

TColor shiftColor(TColor Color, Integer Amount) {
    auto shifted = [&](int index) { return std::clamp(channel(Color, index) + Amount, 0, 255); };
    return static_cast<TColor>(RGB(shifted(0), shifted(1), shifted(2)));
}

// ---- Bevels ----

struct BevelPens {
    HPEN darkShadow;
    HPEN highlight;
    HPEN shadow;
};

void line(HDC DC, HPEN Pen, Integer X1, Integer Y1, Integer X2, Integer Y2) {
    SelectObject(DC, Pen);
    MoveToEx(DC, X1, Y1, nullptr);
    LineTo(DC, X2, Y2);
}

// The three colours of every bevel: the global 3D colour set's, else the system's.
BevelPens createBevelPens(HDC DC) {
    LOGPEN current{};
    GetObjectA(GetCurrentObject(DC, OBJ_PEN), sizeof(current), &current);
    const int style = static_cast<int>(current.lopnStyle);
    const int width = std::max<int>(current.lopnStyle == PS_NULL ? 1 : current.lopnWidth.x, 1);
    COLORREF darkShadow = GetSysColor(COLOR_3DDKSHADOW);
    COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    if (const Tgl3DLocalColors* colors = glGlobalData.GlobalColors) {
        darkShadow = static_cast<COLORREF>(ColorToRGB(colors->DkShadow()));
        highlight = static_cast<COLORREF>(ColorToRGB(colors->Highlight()));
        shadow = static_cast<COLORREF>(ColorToRGB(colors->Shadow()));
    }
    return {CreatePen(style, width, darkShadow), CreatePen(style, width, highlight),
            CreatePen(style, width, shadow)};
}

// One bevel on the edges of Inner, which every line drawn moves inwards by a pixel.
void drawBevel(HDC DC, TRect& Inner, TglSides Sides, TBevelCut Cut, bool Bold, const BevelPens& Pens) {
    const Integer L = Inner.Left, T = Inner.Top, R = Inner.Right, B = Inner.Bottom;
    const bool lowered = Cut == bvLowered;
    const bool raised = Cut == bvRaised;
    if (Sides.Contains(fsdLeft)) {
        if (lowered && Bold) {
            line(DC, Pens.darkShadow, L, T, L, B);
            line(DC, Pens.shadow, L + 1, T + 1, L + 1, B + (Sides.Contains(fsdBottom) ? 0 : 1));
            Inner.Left += 2;
        } else {
            line(DC, raised ? Pens.highlight : Pens.shadow, L, T, L, raised ? B + 1 : B);
            Inner.Left += 1;
        }
    }
    if (Sides.Contains(fsdTop)) {
        if (lowered && Bold) {
            line(DC, Pens.darkShadow, L, T, R, T);
            line(DC, Pens.shadow, L + 1, T + 1, R, T + 1);
            Inner.Top += 2;
        } else {
            line(DC, raised ? Pens.highlight : Pens.shadow, L, T, R, T);
            Inner.Top += 1;
        }
    }
    if (Sides.Contains(fsdRight)) {
        if (raised && Bold) {
            line(DC, Pens.darkShadow, R, T, R, B + 1);
            line(DC, Pens.shadow, R - 1, T + 1, R - 1, B + 1);
            Inner.Right -= 2;
        } else {
            line(DC, lowered ? Pens.highlight : Pens.shadow, R, T, R, raised ? B + 1 : B);
            Inner.Right -= 1;
        }
    }
    if (Sides.Contains(fsdBottom)) {
        if (raised && Bold) {
            line(DC, Pens.darkShadow, L, B, R, B);
            line(DC, Pens.shadow, L + (Sides.Contains(fsdLeft) ? 1 : 0), B - 1, R, B - 1);
            Inner.Bottom -= 2;
        } else {
            line(DC, lowered ? Pens.highlight : Pens.shadow, L, B, raised ? R : R + 1, B);
            Inner.Bottom -= 1;
        }
    }
}

// ---- Styled text ----

class StyledText {
public:
    StyledText(HDC DC, const TRect& Clip, const AnsiString& Text) : dc_(DC), clip_(Clip), text_(Text) {}
    void at(Integer X, Integer Y, TColor Color) const {
        SetTextColor(dc_, static_cast<COLORREF>(ColorToRGB(Color)));
        ExtTextOutA(dc_, X, Y, ETO_CLIPPED, &clip_, text_.data(), static_cast<UINT>(text_.size()), nullptr);
    }
    void inGradient(Integer X, Integer Y, TColor Color, TGradient* Gradient) const {
        if (!Gradient) return at(X, Y, Color);
        SetTextColor(dc_, static_cast<COLORREF>(ColorToRGB(Color)));
        Gradient->TextOut(dc_, text_, clip_, X, Y);
    }

private:
    HDC dc_;
    RECT clip_;
    const AnsiString& text_;
};

struct TextColors {
    TColor text;
    TColor delineate;
    TColor highlight;
    TColor shadow;
};

// The text itself at offset O, outlined when asked.
void drawMainText(const StyledText& Text, Integer X, Integer Y, Integer O, bool Delineate, bool EffectsOff,
                  const TextColors& Colors, TGradient* Gradient) {
    if (!Delineate) return Text.inGradient(X + O, Y + O, Colors.text, Gradient);
    if (!EffectsOff)
        for (const TPoint& around : OutlineOffsets)
            Text.at(X + O + around.x, Y + O + around.y, Colors.delineate);
    Text.inGradient(X + O + 1, Y + O + 1, Colors.text, Gradient);
}

// ---- Bitmaps ----

// A monochrome copy of Source's pixels: those of Color white, the rest black.
void maskOfColor(HDC Mask, HDC Source, Integer Width, Integer Height, TColor Color) {
    COLORREF saved = SetBkColor(Source, static_cast<COLORREF>(ColorToRGB(Color)));
    BitBlt(Mask, 0, 0, Width, Height, Source, 0, 0, SRCCOPY);
    SetBkColor(Source, saved);
}

// Paints Brush over Destination where the monochrome Mask is white.
void paintThroughMask(HDC Destination, Integer X, Integer Y, Integer Width, Integer Height, HDC Mask,
                      TColor Brush) {
    HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(Brush)));
    HGDIOBJ previousBrush = SelectObject(Destination, brush);
    COLORREF previousText = SetTextColor(Destination, Black);
    COLORREF previousBack = SetBkColor(Destination, White);
    BitBlt(Destination, X, Y, Width, Height, Mask, 0, 0, PaintThroughMask);
    SetBkColor(Destination, previousBack);
    SetTextColor(Destination, previousText);
    SelectObject(Destination, previousBrush);
    DeleteObject(brush);
}

void fillWith(HDC DC, Integer Width, Integer Height, TColor Color) {
    HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(Color)));
    RECT all{0, 0, Width, Height};
    FillRect(DC, &all, brush);
    DeleteObject(brush);
}

// The bitmap as the draw state shows it, on a background of the transparent colour.
void prepareLook(TBitmap& Work, TBitmap* Bitmap, TglDrawState DrawState, TColor TransparentColor,
                 TColor DisabledMaskColor) {
    const Integer width = Bitmap->Width();
    const Integer height = Bitmap->Height();
    HDC work = Work.Canvas()->Handle();
    HDC source = Bitmap->Canvas()->Handle();
    fillWith(work, width, height, TransparentColor);
    if (DrawState != fdsDisabled) {
        BitBlt(work, 0, 0, width, height, source, 0, 0, SRCCOPY);
        if (DrawState == fdsDelicate) {
            ChangeBitmapColor(&Work, DelicateWhite, clBtnHighlight);
            ChangeBitmapColor(&Work, DelicateGray, clBtnShadow);
        }
        return;
    }
    OffscreenSurface mono(nullptr, width, height);
    maskOfColor(mono.DC(), source, width, height, DisabledMaskColor);
    fillWith(work, width, height, clBtnFace);
    paintThroughMask(work, 1, 1, width, height, mono.DC(), clBtnHighlight);
    paintThroughMask(work, 0, 0, width, height, mono.DC(), clBtnShadow);
}

// Copies the top-left Width x Height of Image to (X, Y), leaving the DC's
// pixels where the image has the transparent colour.
void drawTransparent(HDC DC, Integer X, Integer Y, Integer Width, Integer Height, HDC Image,
                     TColor TransparentColor) {
    OffscreenSurface mask(nullptr, Width, Height);
    maskOfColor(mask.DC(), Image, Width, Height, TransparentColor);
    OffscreenSurface background(DC, Width, Height);
    BitBlt(background.DC(), 0, 0, Width, Height, DC, X, Y, SRCCOPY);
    SetTextColor(background.DC(), Black);
    SetBkColor(background.DC(), White);
    BitBlt(background.DC(), 0, 0, Width, Height, mask.DC(), 0, 0, SRCAND);
    OffscreenSurface image(DC, Width, Height);
    BitBlt(image.DC(), 0, 0, Width, Height, Image, 0, 0, SRCCOPY);
    PatBlt(mask.DC(), 0, 0, Width, Height, DSTINVERT);
    SetTextColor(image.DC(), Black);
    SetBkColor(image.DC(), White);
    BitBlt(image.DC(), 0, 0, Width, Height, mask.DC(), 0, 0, SRCAND);
    BitBlt(background.DC(), 0, 0, Width, Height, image.DC(), 0, 0, SRCPAINT);
    BitBlt(DC, X, Y, Width, Height, background.DC(), 0, 0, SRCCOPY);
}

} // namespace

// ---- Colours -------------------------------------------------------------------------------

TColor IncColor(TColor Color, Integer Amount) {
    return shiftColor(Color, Amount);
}

TColor DecColor(TColor Color, Integer Amount) {
    return shiftColor(Color, -Amount);
}

void CalcShadowAndHighlightColors(TColor BaseColor, TglCustomLabelColors* Colors) {
    if (Colors->AutoShadow()) Colors->shadow_ = shiftColor(BaseColor, -Colors->ColorShadowShift());
    if (Colors->AutoHighlight()) Colors->highlight_ = shiftColor(BaseColor, Colors->ColorHighlightShift());
}

// ---- Off-screen surfaces ----------------------------------------------------------------------

OffscreenSurface::OffscreenSurface(HDC Compatible, Integer Width, Integer Height)
    : dc_(CreateCompatibleDC(Compatible)),
      bitmap_(Compatible ? CreateCompatibleBitmap(Compatible, Width, Height)
                         : CreateBitmap(Width, Height, 1, 1, nullptr)),
      previous_(SelectObject(dc_, bitmap_)) {}

OffscreenSurface::~OffscreenSurface() {
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
}

// ---- Boxes ----------------------------------------------------------------------------------------

TRect DrawBoxEx(HDC DC, TRect Rect, TglSides Sides, TBevelCut Inner, TBevelCut Outer, bool Bold,
                TColor FillColor, bool Transparent) {
    HGDIOBJ previousPen = GetCurrentObject(DC, OBJ_PEN);
    BevelPens pens = createBevelPens(DC);
    TRect inside = Rect;
    if (Outer != bvNone) drawBevel(DC, inside, Sides, Outer, Bold, pens);
    if (Inner != bvNone) drawBevel(DC, inside, Sides, Inner, Bold, pens);
    SelectObject(DC, previousPen);
    for (HPEN pen : {pens.darkShadow, pens.highlight, pens.shadow})
        DeleteObject(pen);
    if (!Transparent) {
        HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(FillColor)));
        RECT fill{inside.Left, inside.Top, inside.Right + 1, inside.Bottom + 1};
        FillRect(DC, &fill, brush);
        DeleteObject(brush);
    }
    return inside;
}

void GradientBox(HDC DC, const TRect& Rect, TGradient* Gradient, Integer PenStyle, Integer PenWidth) {
    Gradient->Draw(DC, Rect, PenStyle, PenWidth);
}

// ---- Text -----------------------------------------------------------------------------------------

void ExtTextOutExt(HDC DC, Integer X, Integer Y, const TRect& ClipRect, const AnsiString& Text,
                   TglTextStyle Style, bool Delineate, bool EffectsOff, TColor TextColor,
                   TColor DelineateColor, TColor HighlightColor, TColor ShadowColor,
                   TIllumination* Illumination, TGradient* Gradient, TFont* Font) {
    if (!Font) return;
    HGDIOBJ previousFont = SelectObject(DC, Font->Handle());
    const int previousMode = SetBkMode(DC, TRANSPARENT);
    const COLORREF previousColor = GetTextColor(DC);
    Integer offset = Delineate ? 4 : 2;
    if (Style == fstNone || Style == fstShadow) offset = offset / 2 - 1;
    const Integer depth = Illumination ? Illumination->ShadowDepth() : 2;
    const StyledText text(DC, ClipRect, Text);
    const TextColors colors{TextColor, DelineateColor, HighlightColor, ShadowColor};
    auto mainText = [&](Integer O) { drawMainText(text, X, Y, O, Delineate, EffectsOff, colors, Gradient); };
    switch (Style) {
    case fstNone:
        mainText(0);
        break;
    case fstRaised:
    case fstRecessed:
        if (!EffectsOff) {
            text.at(X, Y, Style == fstRaised ? HighlightColor : ShadowColor);
            text.at(X + offset, Y + offset, Style == fstRaised ? ShadowColor : HighlightColor);
        }
        mainText(1);
        break;
    case fstPushed:
        text.at(X + 1, Y + 1, HighlightColor);
        text.at(X, Y, ShadowColor);
        break;
    case fstShadow:
        if (!EffectsOff) text.at(X + offset + depth, Y + offset + depth, ShadowColor);
        mainText(0);
        break;
    case fstVolumetric:
        if (!EffectsOff)
            for (Integer step = 1; step <= depth; ++step)
                text.at(X + step, Y + step, ShadowColor);
        mainText(0);
        break;
    }
    SetTextColor(DC, previousColor);
    SetBkMode(DC, previousMode);
    SelectObject(DC, previousFont);
}

// ---- Bitmaps --------------------------------------------------------------------------------------

void ChangeBitmapColor(TBitmap* Bitmap, TColor FromColor, TColor ToColor) {
    const Integer width = Bitmap->Width();
    const Integer height = Bitmap->Height();
    if (width == 0 || height == 0) return;
    HDC image = Bitmap->Canvas()->Handle();
    OffscreenSurface mask(nullptr, width, height);
    maskOfColor(mask.DC(), image, width, height, FromColor);
    paintThroughMask(image, 0, 0, width, height, mask.DC(), ToColor);
}

void CreateBitmapExt(HDC DC, TBitmap* Bitmap, const TRect& Rect, Integer OffsetX, Integer OffsetY,
                     TglWallpaperOption Wallpaper, TglDrawState DrawState, bool Transparent,
                     TColor TransparentColor, TColor DisabledMaskColor) {
    // An empty bitmap draws nothing: it has nothing to scale or tile.
    if (!Bitmap || Bitmap->Width() == 0 || Bitmap->Height() == 0) return;
    const Integer x = OffsetX + Rect.Left;
    const Integer y = OffsetY + Rect.Top;
    Integer width = Bitmap->Width();
    Integer height = Bitmap->Height();
    TBitmap work;
    work.SetSize(width, height);
    prepareLook(work, Bitmap, DrawState, TransparentColor, DisabledMaskColor);
    if (Wallpaper == fwoStretch || Wallpaper == fwoPropStretch) {
        Integer newWidth = Rect.Width();
        Integer newHeight = Rect.Height();
        if (Wallpaper == fwoPropStretch) {
            double scale = std::min(static_cast<double>(Rect.Width()) / width,
                                    static_cast<double>(Rect.Height()) / height);
            newWidth = static_cast<Integer>(std::lrint(width * scale));
            newHeight = static_cast<Integer>(std::lrint(height * scale));
        }
        TBitmap stretched;
        stretched.SetSize(newWidth, newHeight);
        StretchBlt(stretched.Canvas()->Handle(), 0, 0, newWidth, newHeight, work.Canvas()->Handle(), 0, 0,
                   width, height, SRCCOPY);
        work.Assign(&stretched);
        width = newWidth;
        height = newHeight;
    }
    HDC image = work.Canvas()->Handle();
    const TColor transparentColor = DrawState == fdsDisabled ? clBtnFace : TransparentColor;
    auto drawCopy = [&](Integer AtX, Integer AtY, Integer Width, Integer Height) {
        if (Width <= 0 || Height <= 0) return;
        if (Transparent)
            drawTransparent(DC, AtX, AtY, Width, Height, image, transparentColor);
        else
            BitBlt(DC, AtX, AtY, Width, Height, image, 0, 0, SRCCOPY);
    };
    if (Wallpaper != fwoTile) return drawCopy(x, y, width, height);
    for (Integer column = x; column < Rect.Right; column += width)
        for (Integer row = y; row < Rect.Bottom; row += height)
            drawCopy(column, row, std::min(width, Rect.Right - column), std::min(height, Rect.Bottom - row));
}

void DrawBitmapExt(HDC DC, TBitmap* Bitmap, const TRect& Rect, Integer OffsetX, Integer OffsetY,
                   TglWallpaperOption Wallpaper, TglDrawState DrawState, bool Transparent,
                   TColor TransparentColor, TColor DisabledMaskColor) {
    CreateBitmapExt(DC, Bitmap, Rect, OffsetX, OffsetY, Wallpaper, DrawState, Transparent, TransparentColor,
                    DisabledMaskColor);
}
