// Fonts, pens, brushes and the canvas over our device contexts, the
// framework's 3D frame, and the type information that streams them.
#include "platform/vcl/Graphics.h"

#include "platform/core/SysUtils.h"
#include "platform/vcl/Filers.h"
#include "platform/win/Blit.h"
#include "platform/win/Drawing.h"
#include "platform/win/Fonts.h"
#include "platform/win/Gdi.h"
#include "platform/win/SysColors.h"
#include "platform/win/TextOut.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr const char* SNoCanvasHandle = "Canvas does not allow drawing";

constexpr const char* FirstDefaultFontName = "MS Sans Serif";
constexpr Integer DefaultFontHeight = -11;
constexpr Integer ScreenPixelsPerInch = 96;
constexpr Integer PointsPerInch = 72;
constexpr TColor SystemColorIndexMask = 0xFF;

const TTypeInfo* const fontPitchType =
    DefineEnum<TFontPitch>("TFontPitch", {"fpDefault", "fpVariable", "fpFixed"});
const TTypeInfo* const penStyleType = DefineEnum<TPenStyle>(
    "TPenStyle", {"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame"});
const TTypeInfo* const penModeType =
    DefineEnum<TPenMode>("TPenMode", {"pmBlack", "pmWhite", "pmNop", "pmNot", "pmCopy", "pmNotCopy",
                                      "pmMergePenNot", "pmMaskPenNot", "pmMergeNotPen", "pmMaskNotPen",
                                      "pmMerge", "pmNotMerge", "pmMask", "pmNotMask", "pmXor", "pmNotXor"});
const TTypeInfo* const brushStyleType =
    DefineEnum<TBrushStyle>("TBrushStyle", {"bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal",
                                            "bsBDiagonal", "bsCross", "bsDiagCross"});

constexpr TIdentMapEntry CharsetNames[] = {
    {0, "ANSI_CHARSET"},      {1, "DEFAULT_CHARSET"},    {2, "SYMBOL_CHARSET"},
    {77, "MAC_CHARSET"},      {128, "SHIFTJIS_CHARSET"}, {129, "HANGEUL_CHARSET"},
    {130, "JOHAB_CHARSET"},   {134, "GB2312_CHARSET"},   {136, "CHINESEBIG5_CHARSET"},
    {161, "GREEK_CHARSET"},   {162, "TURKISH_CHARSET"},  {163, "VIETNAMESE_CHARSET"},
    {177, "HEBREW_CHARSET"},  {178, "ARABIC_CHARSET"},   {186, "BALTIC_CHARSET"},
    {204, "RUSSIAN_CHARSET"}, {222, "THAI_CHARSET"},     {238, "EASTEUROPE_CHARSET"},
    {255, "OEM_CHARSET"},
};

// Indexed by TPenMode.
constexpr int PenModes[] = {R2_BLACK,       R2_WHITE,      R2_NOP,         R2_NOT,
                            R2_COPYPEN,     R2_NOTCOPYPEN, R2_MERGEPENNOT, R2_MASKPENNOT,
                            R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN,    R2_NOTMERGEPEN,
                            R2_MASKPEN,     R2_NOTMASKPEN, R2_XORPEN,      R2_NOTXORPEN};
// Indexed by TPenStyle.
constexpr UINT PenStyles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
// Indexed by TBrushStyle from bsHorizontal on.
constexpr int BrushHatches[] = {HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL,
                                HS_BDIAGONAL,  HS_CROSS,    HS_DIAGCROSS};

// ---- Type information ----------------------------------------------------------

const TClass describedGraphicsObject = DescribeClass<TGraphicsObject, TPersistent>();

const TClass describedFont = DescribeClass<TFont, TGraphicsObject>([](TClassBuilder<TFont>& c) {
    TypeInfoFontStyle();
    c.Property("Charset", &TFont::Charset, &TFont::SetCharset).Type(TypeInfoCharset());
    c.Property("Color", &TFont::Color, &TFont::SetColor).Type(TypeInfoColor());
    c.Property("Height", &TFont::Height, &TFont::SetHeight);
    c.Property("Name", &TFont::Name, &TFont::SetName);
    c.Property("Pitch", &TFont::Pitch, &TFont::SetPitch).Default(fpDefault);
    c.Property("Size", &TFont::Size, &TFont::SetSize).Stored(false);
    c.Property("Style", &TFont::Style, &TFont::SetStyle);
});

const TClass describedPen = DescribeClass<TPen, TGraphicsObject>([](TClassBuilder<TPen>& c) {
    c.Property("Color", &TPen::Color, &TPen::SetColor).Type(TypeInfoColor()).Default(clBlack);
    c.Property("Mode", &TPen::Mode, &TPen::SetMode).Default(pmCopy);
    c.Property("Style", &TPen::Style, &TPen::SetStyle).Default(psSolid);
    c.Property("Width", &TPen::Width, &TPen::SetWidth).Default(1);
});

const TClass describedBrush = DescribeClass<TBrush, TGraphicsObject>([](TClassBuilder<TBrush>& c) {
    c.Property("Color", &TBrush::Color, &TBrush::SetColor).Type(TypeInfoColor()).Default(clWhite);
    c.Property("Style", &TBrush::Style, &TBrush::SetStyle).Default(bsSolid);
});

const TClass describedCanvas = DescribeClass<TCanvas, TPersistent>([](TClassBuilder<TCanvas>& c) {
    c.Property("Brush", &TCanvas::Brush);
    c.Property("CopyMode", &TCanvas::CopyMode, &TCanvas::SetCopyMode).Default(cmSrcCopy);
    c.Property("Font", &TCanvas::Font);
    c.Property("Pen", &TCanvas::Pen);
});

} // namespace

Integer ColorToRGB(TColor Color) {
    if (Color < 0) return static_cast<Integer>(GetSysColor(Color & SystemColorIndexMask));
    return Color;
}

bool CharsetToIdent(Integer Charset, AnsiString& Ident) {
    return IntToIdent(Charset, Ident, CharsetNames);
}

bool IdentToCharset(const AnsiString& Ident, Integer& Charset) {
    return IdentToInt(Ident, Charset, CharsetNames);
}

// Defined on first use: highlighters describe their style sets from their own
// start-up code, which may run before this unit's.
const TTypeInfo* TypeInfoFontStyle() {
    static const TTypeInfo* info =
        DefineEnum<TFontStyle>("TFontStyle", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"});
    return info;
}

const TTypeInfo* TypeInfoCharset() {
    static const TTypeInfo* info = [] {
        const TTypeInfo* type = DefineIntegerType("TFontCharset");
        RegisterIntegerConsts(type, &IdentToCharset, &CharsetToIdent);
        return type;
    }();
    return info;
}

// ---- TGraphicsObject -------------------------------------------------------------

void TGraphicsObject::Changed() {
    if (OnChange) OnChange(this);
}

// ---- TFont ---------------------------------------------------------------------------

namespace {
TFontName& defaultFontName() {
    static TFontName name = FirstDefaultFontName;
    return name;
}
} // namespace

const TFontName& DefaultNewFontName() {
    return defaultFontName();
}

void SetDefaultNewFontName(const TFontName& Name) {
    defaultFontName() = Name;
}

TFont::TFont()
    : name_(defaultFontName()), height_(DefaultFontHeight), color_(clWindowText), charset_(DEFAULT_CHARSET),
      pixelsPerInch_(ScreenPixelsPerInch) {}

TFont::~TFont() {
    destroyHandle();
}

void TFont::destroyHandle() {
    if (handle_) DeleteObject(handle_);
    handle_ = nullptr;
}

void TFont::Changed() {
    destroyHandle();
    TGraphicsObject::Changed();
}

void TFont::Assign(TPersistent* Source) {
    auto* font = dynamic_cast<TFont*>(Source);
    if (!font) return TGraphicsObject::Assign(Source);
    if (font == this) return;
    Lock();
    name_ = font->name_;
    height_ = font->pixelsPerInch_ == pixelsPerInch_ ? font->height_
                                                     : -MulDiv(font->Size(), pixelsPerInch_, PointsPerInch);
    style_ = font->style_;
    color_ = font->color_;
    charset_ = font->charset_;
    pitch_ = font->pitch_;
    Changed();
    Unlock();
}

HFONT TFont::Handle() {
    Lock();
    if (!handle_) {
        LOGFONTA logFont{};
        logFont.lfHeight = height_;
        logFont.lfWeight = style_.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
        logFont.lfItalic = style_.Contains(fsItalic);
        logFont.lfUnderline = style_.Contains(fsUnderline);
        logFont.lfStrikeOut = style_.Contains(fsStrikeOut);
        logFont.lfCharSet = charset_;
        logFont.lfQuality = DEFAULT_QUALITY;
        logFont.lfPitchAndFamily = pitch_ == fpFixed      ? FIXED_PITCH
                                   : pitch_ == fpVariable ? VARIABLE_PITCH
                                                          : DEFAULT_PITCH;
        std::size_t length = std::min(name_.size(), static_cast<std::size_t>(LF_FACESIZE - 1));
        std::memcpy(logFont.lfFaceName, name_.data(), length);
        handle_ = CreateFontIndirectA(&logFont);
    }
    HFONT result = handle_;
    Unlock();
    return result;
}

void TFont::SetName(const TFontName& Value) {
    if (Value.empty() || Value == name_) return;
    name_ = Value;
    Changed();
}

void TFont::SetHeight(Integer Value) {
    if (Value == height_) return;
    height_ = Value;
    Changed();
}

Integer TFont::Size() const {
    return -MulDiv(height_, PointsPerInch, pixelsPerInch_);
}

void TFont::SetSize(Integer Value) {
    SetHeight(-MulDiv(Value, pixelsPerInch_, PointsPerInch));
}

void TFont::SetStyle(TFontStyles Value) {
    if (Value == style_) return;
    style_ = Value;
    Changed();
}

void TFont::SetColor(TColor Value) {
    if (Value == color_) return;
    color_ = Value;
    // The colour is the canvas's text colour, not part of the handle.
    TGraphicsObject::Changed();
}

void TFont::SetCharset(TFontCharset Value) {
    if (Value == charset_) return;
    charset_ = Value;
    Changed();
}

void TFont::SetPitch(TFontPitch Value) {
    if (Value == pitch_) return;
    pitch_ = Value;
    Changed();
}

// ---- TPen ------------------------------------------------------------------------------

TPen::TPen() = default;

TPen::~TPen() {
    destroyHandle();
}

void TPen::destroyHandle() {
    if (handle_) DeleteObject(handle_);
    handle_ = nullptr;
}

void TPen::Changed() {
    destroyHandle();
    TGraphicsObject::Changed();
}

void TPen::Assign(TPersistent* Source) {
    auto* pen = dynamic_cast<TPen*>(Source);
    if (!pen) return TGraphicsObject::Assign(Source);
    if (pen == this) return;
    color_ = pen->color_;
    mode_ = pen->mode_;
    style_ = pen->style_;
    width_ = pen->width_;
    Changed();
}

HPEN TPen::Handle() {
    Lock();
    if (!handle_) {
        LOGPEN logPen{PenStyles[style_], {width_, 0}, static_cast<COLORREF>(ColorToRGB(color_))};
        handle_ = CreatePenIndirect(&logPen);
    }
    HPEN result = handle_;
    Unlock();
    return result;
}

void TPen::SetColor(TColor Value) {
    if (Value == color_) return;
    color_ = Value;
    Changed();
}

void TPen::SetMode(TPenMode Value) {
    if (Value == mode_) return;
    mode_ = Value;
    TGraphicsObject::Changed();
}

void TPen::SetStyle(TPenStyle Value) {
    if (Value == style_) return;
    style_ = Value;
    Changed();
}

void TPen::SetWidth(Integer Value) {
    if (Value < 0 || Value == width_) return;
    width_ = Value;
    Changed();
}

// ---- TBrush --------------------------------------------------------------------------------

TBrush::TBrush() = default;

TBrush::~TBrush() {
    destroyHandle();
}

void TBrush::destroyHandle() {
    if (handle_) DeleteObject(handle_);
    handle_ = nullptr;
}

void TBrush::Changed() {
    destroyHandle();
    TGraphicsObject::Changed();
}

void TBrush::Assign(TPersistent* Source) {
    auto* brush = dynamic_cast<TBrush*>(Source);
    if (!brush) return TGraphicsObject::Assign(Source);
    if (brush == this) return;
    color_ = brush->color_;
    style_ = brush->style_;
    bitmap_ = brush->bitmap_;
    Changed();
}

HBRUSH TBrush::Handle() {
    Lock();
    if (!handle_) {
        if (bitmap_ && !bitmap_->Empty()) {
            handle_ = CreatePatternBrush(bitmap_->Handle());
        } else {
            COLORREF color = static_cast<COLORREF>(ColorToRGB(color_));
            LOGBRUSH logBrush{BS_SOLID, color, 0};
            if (style_ == bsClear)
                logBrush.lbStyle = BS_HOLLOW;
            else if (style_ >= bsHorizontal)
                logBrush = {BS_HATCHED, color, static_cast<ULONG_PTR>(BrushHatches[style_ - bsHorizontal])};
            handle_ = CreateBrushIndirect(&logBrush);
        }
    }
    HBRUSH result = handle_;
    Unlock();
    return result;
}

void TBrush::SetColor(TColor Value) {
    if (Value == color_ && style_ != bsClear) return;
    color_ = Value;
    if (style_ == bsClear) style_ = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle Value) {
    if (Value == style_) return;
    style_ = Value;
    Changed();
}

void TBrush::SetBitmap(TBitmap* Value) {
    if (Value == bitmap_) return;
    bitmap_ = Value;
    style_ = bsSolid;
    Changed();
}

// ---- TCanvas --------------------------------------------------------------------------------

TCanvas::TCanvas() : font_(new TFont), pen_(new TPen), brush_(new TBrush) {
    font_->OnChange = TNotifyEvent(this, &TCanvas::FontChanged);
    pen_->OnChange = TNotifyEvent(this, &TCanvas::PenChanged);
    brush_->OnChange = TNotifyEvent(this, &TCanvas::BrushChanged);
}

TCanvas::~TCanvas() {
    SetHandle(nullptr);
}

HDC TCanvas::Handle() {
    RequiredState({csHandleValid});
    return handle_;
}

void TCanvas::SetHandle(HDC Value) {
    if (Value == handle_) return;
    if (handle_) {
        deselectHandles();
        POINT position{};
        if (GetCurrentPositionEx(handle_, &position)) penPos_ = position;
        handle_ = nullptr;
        state_.Exclude(csHandleValid);
    }
    if (Value) {
        handle_ = Value;
        state_.Include(csHandleValid);
        MoveToEx(handle_, penPos_.x, penPos_.y, nullptr);
    }
}

void TCanvas::RequiredState(TCanvasState ReqState) {
    TCanvasState needed = ReqState - state_;
    if (needed.Empty()) return;
    if (needed.Contains(csHandleValid)) {
        CreateHandle();
        if (!handle_) throw EInvalidOperation(SNoCanvasHandle);
    }
    if (needed.Contains(csFontValid)) selectFont();
    if (needed.Contains(csPenValid)) selectPen();
    if (needed.Contains(csBrushValid)) selectBrush();
    state_ = state_ + needed;
}

void TCanvas::selectFont() {
    SelectObject(handle_, font_->Handle());
    SetTextColor(handle_, static_cast<COLORREF>(ColorToRGB(font_->Color())));
}

void TCanvas::selectPen() {
    SelectObject(handle_, pen_->Handle());
    SetROP2(handle_, PenModes[pen_->Mode()]);
}

// Text and hatches are drawn on the brush colour only with a solid brush.
void TCanvas::selectBrush() {
    SelectObject(handle_, brush_->Handle());
    COLORREF color = static_cast<COLORREF>(ColorToRGB(brush_->Color()));
    if (brush_->Style() == bsSolid) {
        SetBkColor(handle_, color);
        SetBkMode(handle_, OPAQUE);
    } else {
        SetBkColor(handle_, ~color & PixelColourMask);
        SetBkMode(handle_, TRANSPARENT);
    }
}

void TCanvas::deselectHandles() {
    TCanvasState objects{csFontValid, csPenValid, csBrushValid};
    if (!handle_ || (state_ * objects).Empty()) return;
    SelectObject(handle_, GetStockObject(BLACK_PEN));
    SelectObject(handle_, GetStockObject(HOLLOW_BRUSH));
    SelectObject(handle_, GetStockObject(SYSTEM_FONT));
    state_ = state_ - objects;
}

void TCanvas::Refresh() {
    deselectHandles();
}

void TCanvas::FontChanged(TObject*) {
    if (!state_.Contains(csFontValid)) return;
    state_.Exclude(csFontValid);
    SelectObject(handle_, GetStockObject(SYSTEM_FONT));
}

void TCanvas::PenChanged(TObject*) {
    if (!state_.Contains(csPenValid)) return;
    state_.Exclude(csPenValid);
    SelectObject(handle_, GetStockObject(BLACK_PEN));
}

void TCanvas::BrushChanged(TObject*) {
    if (!state_.Contains(csBrushValid)) return;
    state_.Exclude(csBrushValid);
    SelectObject(handle_, GetStockObject(HOLLOW_BRUSH));
}

TPoint TCanvas::PenPos() {
    RequiredState({csHandleValid});
    POINT position{};
    GetCurrentPositionEx(handle_, &position);
    return position;
}

TRect TCanvas::ClipRect() {
    RequiredState({csHandleValid});
    RECT rect{};
    GetClipBox(handle_, &rect);
    return rect;
}

TColor TCanvas::Pixels(Integer X, Integer Y) {
    RequiredState({csHandleValid});
    return static_cast<TColor>(GetPixel(handle_, X, Y));
}

void TCanvas::SetPixels(Integer X, Integer Y, TColor Value) {
    Changing();
    RequiredState({csHandleValid, csPenValid});
    SetPixel(handle_, X, Y, static_cast<COLORREF>(ColorToRGB(Value)));
    Changed();
}

// Every waiter and holder of the canvas counts itself in first, so that
// TryLock can tell a free canvas from a busy one without waiting.
void TCanvas::Lock() {
    {
        std::lock_guard guard(counterLock_);
        ++lockCount_;
    }
    lock_.lock();
}

void TCanvas::Unlock() {
    lock_.unlock();
    std::lock_guard guard(counterLock_);
    --lockCount_;
}

bool TCanvas::TryLock() {
    std::lock_guard guard(counterLock_);
    if (lockCount_ != 0) return false;
    ++lockCount_;
    lock_.lock();
    return true;
}

void TCanvas::Changing() {
    if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
    if (OnChange) OnChange(this);
}

void TCanvas::Arc(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3, Integer X4,
                  Integer Y4) {
    Changing();
    RequiredState({csHandleValid, csPenValid});
    ::Arc(handle_, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
    Changed();
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source) {
    Changing();
    RequiredState({csHandleValid, csFontValid, csBrushValid});
    Canvas->RequiredState({csHandleValid, csBrushValid});
    StretchBlt(handle_, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), Canvas->handle_, Source.Left,
               Source.Top, Source.Width(), Source.Height(), static_cast<DWORD>(copyMode_));
    Changed();
}

void TCanvas::Draw(Integer X, Integer Y, TGraphic* Graphic) {
    if (!Graphic || Graphic->Empty()) return;
    StretchDraw(Rect(X, Y, X + Graphic->Width(), Y + Graphic->Height()), Graphic);
}

// Monochrome pictures take the brush colour for white and the font colour for black.
void TCanvas::StretchDraw(const TRect& Rect, TGraphic* Graphic) {
    if (!Graphic || Graphic->Empty()) return;
    Changing();
    RequiredState({csHandleValid});
    SetBkColor(handle_, static_cast<COLORREF>(ColorToRGB(brush_->Color())));
    SetTextColor(handle_, static_cast<COLORREF>(ColorToRGB(font_->Color())));
    Graphic->Draw(this, Rect);
    Changed();
}

void TCanvas::DrawFocusRect(const TRect& Rect) {
    Changing();
    RequiredState({csHandleValid, csBrushValid});
    ::DrawFocusRect(handle_, &Rect);
    Changed();
}

void TCanvas::Ellipse(Integer X1, Integer Y1, Integer X2, Integer Y2) {
    Changing();
    RequiredState({csHandleValid, csPenValid, csBrushValid});
    ::Ellipse(handle_, X1, Y1, X2, Y2);
    Changed();
}

void TCanvas::FillRect(const TRect& Rect) {
    Changing();
    RequiredState({csHandleValid, csBrushValid});
    ::FillRect(handle_, &Rect, brush_->Handle());
    Changed();
}

void TCanvas::FrameRect(const TRect& Rect) {
    Changing();
    RequiredState({csHandleValid, csBrushValid});
    ::FrameRect(handle_, &Rect, brush_->Handle());
    Changed();
}

void TCanvas::LineTo(Integer X, Integer Y) {
    Changing();
    RequiredState({csHandleValid, csPenValid, csBrushValid});
    ::LineTo(handle_, X, Y);
    Changed();
}

void TCanvas::MoveTo(Integer X, Integer Y) {
    RequiredState({csHandleValid});
    MoveToEx(handle_, X, Y, nullptr);
}

void TCanvas::Pie(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3, Integer X4,
                  Integer Y4) {
    Changing();
    RequiredState({csHandleValid, csPenValid, csBrushValid});
    ::Pie(handle_, X1, Y1, X2, Y2, X3, Y3, X4, Y4);
    Changed();
}

void TCanvas::Polygon(std::span<const TPoint> Points) {
    Changing();
    RequiredState({csHandleValid, csPenValid, csBrushValid});
    ::Polygon(handle_, Points.data(), static_cast<int>(Points.size()));
    Changed();
}

void TCanvas::Polyline(std::span<const TPoint> Points) {
    Changing();
    RequiredState({csHandleValid, csPenValid, csBrushValid});
    ::Polyline(handle_, Points.data(), static_cast<int>(Points.size()));
    Changed();
}

void TCanvas::Rectangle(Integer X1, Integer Y1, Integer X2, Integer Y2) {
    Changing();
    RequiredState({csHandleValid, csPenValid, csBrushValid});
    ::Rectangle(handle_, X1, Y1, X2, Y2);
    Changed();
}

void TCanvas::RoundRect(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3) {
    Changing();
    RequiredState({csHandleValid, csPenValid, csBrushValid});
    ::RoundRect(handle_, X1, Y1, X2, Y2, X3, Y3);
    Changed();
}

TSize TCanvas::TextExtent(const AnsiString& Text) {
    RequiredState({csHandleValid, csFontValid});
    TSize size{0, 0};
    GetTextExtentPoint32A(handle_, Text.data(), static_cast<int>(Text.size()), &size);
    return size;
}

void TCanvas::TextOut(Integer X, Integer Y, const AnsiString& Text) {
    Changing();
    RequiredState({csHandleValid, csFontValid, csBrushValid});
    ExtTextOutA(handle_, X, Y, static_cast<UINT>(textFlags_), nullptr, Text.data(),
                static_cast<UINT>(Text.size()), nullptr);
    MoveTo(X + TextWidth(Text), Y);
    Changed();
}

void TCanvas::TextRect(const TRect& Rect, Integer X, Integer Y, const AnsiString& Text) {
    Changing();
    RequiredState({csHandleValid, csFontValid, csBrushValid});
    UINT options = ETO_CLIPPED | static_cast<UINT>(textFlags_);
    if (brush_->Style() != bsClear) options |= ETO_OPAQUE;
    ExtTextOutA(handle_, X, Y, options, &Rect, Text.data(), static_cast<UINT>(Text.size()), nullptr);
    Changed();
}

// ---- Frame3D --------------------------------------------------------------------------------

namespace {

// One ring of the frame on the rectangle's inclusive corners. Each polyline
// leaves out its last point, so the bottom colour owns the top-right and the
// bottom-left corners.
void drawFrameRing(TCanvas* canvas, const TRect& corners, TColor topColor, TColor bottomColor) {
    TPoint topLeft{corners.Left, corners.Top};
    TPoint topRight{corners.Right, corners.Top};
    TPoint bottomRight{corners.Right, corners.Bottom};
    TPoint bottomLeft{corners.Left, corners.Bottom};
    canvas->Pen()->SetColor(topColor);
    canvas->Polyline({bottomLeft, topLeft, topRight});
    canvas->Pen()->SetColor(bottomColor);
    canvas->Polyline({topRight, bottomRight, TPoint{bottomLeft.x - 1, bottomLeft.y}});
}

} // namespace

void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, Integer Width) {
    Canvas->Pen()->SetWidth(1);
    TRect corners{Rect.Left, Rect.Top, Rect.Right - 1, Rect.Bottom - 1};
    for (; Width > 0; --Width) {
        drawFrameRing(Canvas, corners, TopColor, BottomColor);
        corners = {corners.Left + 1, corners.Top + 1, corners.Right - 1, corners.Bottom - 1};
    }
    Rect = {corners.Left, corners.Top, corners.Right + 1, corners.Bottom + 1};
}

// The source is laid on with XOR, cleared where the mask is black, and
// XORed again: masked pixels come back as they were, the others as the source.
void TransparentStretchBlt(HDC Destination, const TRect& DestRect, HDC Source, const TRect& SourceRect,
                           HDC Mask) {
    auto blit = [&](HDC from, DWORD rop) {
        StretchBlt(Destination, DestRect.Left, DestRect.Top, DestRect.Width(), DestRect.Height(), from,
                   SourceRect.Left, SourceRect.Top, SourceRect.Width(), SourceRect.Height(), rop);
    };
    blit(Source, SRCINVERT);
    COLORREF textColor = SetTextColor(Destination, RGB(0, 0, 0));
    COLORREF backgroundColor = SetBkColor(Destination, RGB(255, 255, 255));
    blit(Mask, SRCAND);
    SetTextColor(Destination, textColor);
    SetBkColor(Destination, backgroundColor);
    blit(Source, SRCINVERT);
}
