// The framework's graphics: fonts, pens and brushes that make their device
// handles on demand, and the canvas that draws with them on a device context.
// The pictures that draw themselves on a canvas are in Pictures.h, which this
// header brings in as the framework's Graphics unit does.
#pragma once

#include "platform/core/Classes.h"
#include "platform/vcl/Idents.h"
#include "platform/vcl/Pictures.h"
#include "platform/vcl/TypInfo.h"
#include "platform/win/WinTypes.h"

#include <atomic>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <span>

using TSize = SIZE;
using TColorRef = COLORREF;

// The RGB value of a colour: system colours become the current colour of
// their index (GetSysColor); every other value is returned unchanged.
Integer ColorToRGB(TColor Color);

// ---- Graphics objects --------------------------------------------------------

// A pen, brush or font: OnChange fires after every change of its attributes,
// and its device handle is made again the next time it is asked for.
class TGraphicsObject : public TPersistent {
public:
    TNotifyEvent OnChange;
    // Guards the object while a worker thread uses it.
    void Lock() { lock_.lock(); }
    void Unlock() { lock_.unlock(); }
    virtual bool HandleAllocated() const = 0;

protected:
    virtual void Changed();

private:
    std::recursive_mutex lock_;
};

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
// The streaming names of the font styles, for classes that publish a style set.
const TTypeInfo* TypeInfoFontStyle();
enum TFontPitch { fpDefault, fpVariable, fpFixed };
using TFontName = AnsiString;
using TFontCharset = Byte;

// The character sets that form resources write by name (ANSI_CHARSET ...).
bool CharsetToIdent(Integer Charset, AnsiString& Ident);
bool IdentToCharset(const AnsiString& Ident, Integer& Charset);
const TTypeInfo* TypeInfoCharset();

// The name every new font starts with ("MS Sans Serif" until a program sets another).
const TFontName& DefaultNewFontName();
void SetDefaultNewFontName(const TFontName& Name);

// Height is the character height in pixels, negative as in LOGFONT; Size is
// the same in points at PixelsPerInch.
class TFont : public TGraphicsObject {
public:
    TFont();
    ~TFont() override;

    void Assign(TPersistent* Source) override;
    HFONT Handle();
    bool HandleAllocated() const override { return handle_ != nullptr; }

    const TFontName& Name() const { return name_; }
    // An empty name is ignored.
    void SetName(const TFontName& Value);
    Integer Height() const { return height_; }
    void SetHeight(Integer Value);
    Integer Size() const;
    void SetSize(Integer Value);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles Value);
    TColor Color() const { return color_; }
    void SetColor(TColor Value);
    TFontCharset Charset() const { return charset_; }
    void SetCharset(TFontCharset Value);
    TFontPitch Pitch() const { return pitch_; }
    void SetPitch(TFontPitch Value);
    Integer PixelsPerInch() const { return pixelsPerInch_; }
    void SetPixelsPerInch(Integer Value) { pixelsPerInch_ = Value; }

protected:
    void Changed() override;

private:
    void destroyHandle();

    HFONT handle_ = nullptr;
    TFontName name_;
    Integer height_;
    TFontStyles style_;
    TColor color_;
    TFontCharset charset_;
    TFontPitch pitch_ = fpDefault;
    Integer pixelsPerInch_;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
// The mix modes of the device context (R2_BLACK ... R2_WHITE).
enum TPenMode {
    pmBlack,
    pmWhite,
    pmNop,
    pmNot,
    pmCopy,
    pmNotCopy,
    pmMergePenNot,
    pmMaskPenNot,
    pmMergeNotPen,
    pmMaskNotPen,
    pmMerge,
    pmNotMerge,
    pmMask,
    pmNotMask,
    pmXor,
    pmNotXor
};

class TPen : public TGraphicsObject {
public:
    TPen();
    ~TPen() override;

    void Assign(TPersistent* Source) override;
    HPEN Handle();
    bool HandleAllocated() const override { return handle_ != nullptr; }

    TColor Color() const { return color_; }
    void SetColor(TColor Value);
    // Carried by the canvas (SetROP2), not by the handle.
    TPenMode Mode() const { return mode_; }
    void SetMode(TPenMode Value);
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle Value);
    Integer Width() const { return width_; }
    // Negative widths are ignored.
    void SetWidth(Integer Value);

protected:
    void Changed() override;

private:
    void destroyHandle();

    HPEN handle_ = nullptr;
    TColor color_ = clBlack;
    TPenMode mode_ = pmCopy;
    TPenStyle style_ = psSolid;
    Integer width_ = 1;
};

enum TBrushStyle {
    bsSolid,
    bsClear,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,
    bsBDiagonal,
    bsCross,
    bsDiagCross
};

class TBrush : public TGraphicsObject {
public:
    TBrush();
    ~TBrush() override;

    void Assign(TPersistent* Source) override;
    HBRUSH Handle();
    bool HandleAllocated() const override { return handle_ != nullptr; }

    // Setting a colour on a clear brush makes it solid.
    TColor Color() const { return color_; }
    void SetColor(TColor Value);
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle Value);
    // A pattern brush of the bitmap, which the brush does not own.
    TBitmap* Bitmap() const { return bitmap_; }
    void SetBitmap(TBitmap* Value);

protected:
    void Changed() override;

private:
    void destroyHandle();

    HBRUSH handle_ = nullptr;
    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
    TBitmap* bitmap_ = nullptr;
};

// ---- Canvas ------------------------------------------------------------------

enum TCanvasStateFlag { csHandleValid, csFontValid, csPenValid, csBrushValid };
using TCanvasState = TSet<TCanvasStateFlag>;
enum TCanvasOrientation { coLeftToRight, coRightToLeft };

// The raster operation of CopyRect and of drawing bitmaps.
using TCopyMode = Integer;
constexpr TCopyMode cmBlackness = BLACKNESS;
constexpr TCopyMode cmDstInvert = DSTINVERT;
constexpr TCopyMode cmMergeCopy = MERGECOPY;
constexpr TCopyMode cmMergePaint = MERGEPAINT;
constexpr TCopyMode cmNotSrcCopy = NOTSRCCOPY;
constexpr TCopyMode cmNotSrcErase = NOTSRCERASE;
constexpr TCopyMode cmPatCopy = PATCOPY;
constexpr TCopyMode cmPatInvert = PATINVERT;
constexpr TCopyMode cmPatPaint = PATPAINT;
constexpr TCopyMode cmSrcAnd = SRCAND;
constexpr TCopyMode cmSrcCopy = SRCCOPY;
constexpr TCopyMode cmSrcErase = SRCERASE;
constexpr TCopyMode cmSrcInvert = SRCINVERT;
constexpr TCopyMode cmSrcPaint = SRCPAINT;
constexpr TCopyMode cmWhiteness = WHITENESS;

// Drawing on a device context with the canvas's own font, pen and brush. The
// objects are selected into the context only when a call needs them
// (RequiredState) and deselected as soon as they change. A canvas without a
// handle asks CreateHandle for one; a plain TCanvas gets its handle from
// outside (SetHandle). Every drawing call fires OnChanging before and
// OnChange after it.
class TCanvas : public TPersistent {
public:
    TCanvas();
    ~TCanvas() override;

    // EInvalidOperation "Canvas does not allow drawing" when no handle can be had.
    HDC Handle();
    void SetHandle(HDC Value);
    bool HandleAllocated() const { return handle_ != nullptr; }
    // Makes sure that the handle exists and the objects named are selected.
    void RequiredState(TCanvasState ReqState);
    // Deselects the font, pen and brush; the next drawing call selects them again.
    void Refresh();

    TFont* Font() const { return font_.get(); }
    void SetFont(TFont* Value) { font_->Assign(Value); }
    TPen* Pen() const { return pen_.get(); }
    void SetPen(TPen* Value) { pen_->Assign(Value); }
    TBrush* Brush() const { return brush_.get(); }
    void SetBrush(TBrush* Value) { brush_->Assign(Value); }
    TCopyMode CopyMode() const { return copyMode_; }
    void SetCopyMode(TCopyMode Value) { copyMode_ = Value; }
    TPoint PenPos();
    void SetPenPos(TPoint Value) { MoveTo(Value.x, Value.y); }
    TRect ClipRect();
    // CLR_INVALID (as a TColor, -1) outside the clip.
    TColor Pixels(Integer X, Integer Y);
    void SetPixels(Integer X, Integer Y, TColor Value);
    // ETO_ options added to every TextOut and TextRect.
    Integer TextFlags() const { return textFlags_; }
    void SetTextFlags(Integer Value) { textFlags_ = Value; }
    // Our device contexts are never mirrored.
    TCanvasOrientation CanvasOrientation() const { return coLeftToRight; }

    // Keeps other threads from drawing on the canvas until Unlock; nests.
    void Lock();
    void Unlock();
    // Locks and returns true only when no thread holds the canvas.
    bool TryLock();
    Integer LockCount() const { return lockCount_; }

    void Arc(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3, Integer X4, Integer Y4);
    // Copies Source of Bitmap to Dest, painting the pixels of Color with the
    // brush (leaving them alone with a clear brush).
    void BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor Color);
    // Stretches Source of Canvas into Dest with CopyMode.
    void CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source);
    void Draw(Integer X, Integer Y, TGraphic* Graphic);
    void DrawFocusRect(const TRect& Rect);
    void Ellipse(Integer X1, Integer Y1, Integer X2, Integer Y2);
    void Ellipse(const TRect& Rect) { Ellipse(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom); }
    void FillRect(const TRect& Rect);
    void FrameRect(const TRect& Rect);
    void LineTo(Integer X, Integer Y);
    void MoveTo(Integer X, Integer Y);
    void Pie(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3, Integer X4, Integer Y4);
    void Polygon(std::span<const TPoint> Points);
    void Polygon(std::initializer_list<TPoint> Points) { Polygon(std::span(Points.begin(), Points.size())); }
    void Polyline(std::span<const TPoint> Points);
    void Polyline(std::initializer_list<TPoint> Points) {
        Polyline(std::span(Points.begin(), Points.size()));
    }
    void Rectangle(Integer X1, Integer Y1, Integer X2, Integer Y2);
    void Rectangle(const TRect& Rect) { Rectangle(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom); }
    void RoundRect(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3);
    void StretchDraw(const TRect& Rect, TGraphic* Graphic);
    TSize TextExtent(const AnsiString& Text);
    Integer TextHeight(const AnsiString& Text) { return TextExtent(Text).cy; }
    Integer TextWidth(const AnsiString& Text) { return TextExtent(Text).cx; }
    // Leaves the pen at the end of the text.
    void TextOut(Integer X, Integer Y, const AnsiString& Text);
    // Clipped to Rect, whose background the brush fills unless it is clear.
    void TextRect(const TRect& Rect, Integer X, Integer Y, const AnsiString& Text);

    virtual void Changing();
    virtual void Changed();
    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    // Gives the canvas a handle when one is needed and there is none.
    virtual void CreateHandle() {}

private:
    void selectFont();
    void selectPen();
    void selectBrush();
    void deselectHandles();
    void FontChanged(TObject* Sender);
    void PenChanged(TObject* Sender);
    void BrushChanged(TObject* Sender);

    HDC handle_ = nullptr;
    TCanvasState state_;
    std::unique_ptr<TFont> font_;
    std::unique_ptr<TPen> pen_;
    std::unique_ptr<TBrush> brush_;
    TPoint penPos_;
    TCopyMode copyMode_ = cmSrcCopy;
    Integer textFlags_ = 0;
    std::recursive_mutex lock_;
    std::mutex counterLock_;
    std::atomic<Integer> lockCount_ = 0;
};

// The framework's three-dimensional frame: Width one-pixel rings, top and
// left in TopColor, bottom and right (with the top-right and bottom-left
// corners) in BottomColor. Rect shrinks by Width on every side; the pen is
// left one pixel wide in BottomColor.
void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, Integer Width);

// Stretches SourceRect of Source into DestRect of Destination, leaving out the
// pixels where the monochrome Mask (aligned with Source) is white.
void TransparentStretchBlt(HDC Destination, const TRect& DestRect, HDC Source, const TRect& SourceRect,
                           HDC Mask);
