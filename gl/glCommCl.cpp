// The gl widgets' style objects and the gradient's drawing.
#include "gl/glCommCl.h"

#include "gl/glUtils.h"
#include "platform/core/SysUtils.h"
#include "platform/win/Bitmaps.h"
#include "platform/win/Blit.h"
#include "platform/win/Drawing.h"
#include "platform/win/Gdi.h"
#include "platform/win/TextOut.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

namespace {

constexpr Integer MinimumSteps = 1;
constexpr Integer MaximumSteps = 255;
constexpr Integer MinimumGradientDepth = 16;
constexpr Integer FullFilling = 100;
constexpr Integer ItemStyleColorShift = 60;
// bsHorizontal is the first hatched brush style and HS_HORIZONTAL the first hatch.
constexpr Integer FirstHatchedStyle = bsHorizontal;

template <typename V> bool storeChanged(V& Field, V Value) {
    if (Field == Value) return false;
    Field = Value;
    return true;
}

void notify(const TNotifyEvent& Event, TObject* Sender) {
    if (Event) Event(Sender);
}

bool deviceShowsGradients(HDC DC) {
    return GetDeviceCaps(DC, BITSPIXEL) >= MinimumGradientDepth;
}

// One colour channel of an RGB value: 0 red, 1 green, 2 blue.
Integer channel(TColor Color, int Index) {
    return (static_cast<Cardinal>(Color) >> (8 * Index)) & 0xFF;
}
TColor fromChannels(Integer Red, Integer Green, Integer Blue) {
    return static_cast<TColor>(RGB(Red, Green, Blue));
}

// A band of a gradient: solid, hatched in the band's colour, or (a clear
// brush style, which has no hatch) nothing at all.
void fillBand(HDC DC, const TRect& Band, TColor Color, TBrushStyle Style) {
    if (Style == bsClear) return;
    HBRUSH brush = Style == bsSolid
                       ? CreateSolidBrush(static_cast<COLORREF>(Color))
                       : CreateHatchBrush(Style - FirstHatchedStyle, static_cast<COLORREF>(Color));
    FillRect(DC, &Band, brush);
    DeleteObject(brush);
}

} // namespace

// ---- TTwainColors ------------------------------------------------------------------------

void TTwainColors::changed() {
    notify(OnChanged, this);
}

void TTwainColors::SetFromColor(TColor Value) {
    if (!storeChanged(fromColor_, Value)) return;
    fromRGB_ = ColorToRGB(Value);
    changed();
}

void TTwainColors::SetToColor(TColor Value) {
    if (!storeChanged(toColor_, Value)) return;
    toRGB_ = ColorToRGB(Value);
    changed();
}

// ---- TCustomGradient ----------------------------------------------------------------------

void TCustomGradient::SetActive(bool Value) {
    if (storeChanged(active_, Value)) changed();
}

void TCustomGradient::SetOrientation(TglGradientDir Value) {
    if (storeChanged(orientation_, Value) && active_) changed();
}

void TCustomGradient::SetSteps(Integer Value) {
    if (storeChanged(steps_, std::clamp(Value, MinimumSteps, MaximumSteps))) changed();
}

void TCustomGradient::SetPercentFilling(TglPercent Value) {
    if (storeChanged(percentFilling_, Value)) changed();
}

void TCustomGradient::SetBrushStyle(TBrushStyle Value) {
    brushStyle_ = Value;
    changed();
}

void TCustomGradient::Draw(HDC DC, const TRect& Rect, Integer PenStyle, Integer PenWidth) {
    if (!active_ || glGlobalData.IgnoreGradients || steps_ == 1 || !deviceShowsGradients(DC)) return;
    if (orientation_ == fgdHorzConvergent || orientation_ == fgdVertConvergent)
        return drawConvergent(DC, Rect, PenStyle, PenWidth);
    if (!bufferedDraw_) return drawBands(DC, Rect, PenStyle, PenWidth);
    // The buffer starts with what lies under the rectangle, so that a partial
    // filling leaves the rest as it was, as direct drawing does.
    OffscreenSurface buffer(DC, Rect.Width(), Rect.Height());
    BitBlt(buffer.DC(), 0, 0, Rect.Width(), Rect.Height(), DC, Rect.Left, Rect.Top, SRCCOPY);
    drawBands(buffer.DC(), {0, 0, Rect.Width(), Rect.Height()}, PenStyle, PenWidth);
    BitBlt(DC, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), buffer.DC(), 0, 0, SRCCOPY);
}

// Two mirrored halves: FromColor at the outer edges, ToColor meeting in the middle.
void TCustomGradient::drawConvergent(HDC DC, const TRect& Rect, Integer PenStyle, Integer PenWidth) {
    TglGradientDir convergent = orientation_;
    TRect first = Rect;
    TRect second = Rect;
    if (convergent == fgdHorzConvergent) {
        first.Bottom -= Rect.Height() / 2;
        second.Top += Rect.Height() / 2;
        orientation_ = fgdHorizontal;
    } else {
        first.Right -= Rect.Width() / 2;
        second.Left += Rect.Width() / 2;
        orientation_ = fgdVertical;
    }
    Draw(DC, first, PenStyle, PenWidth);
    std::swap(fromRGB_, toRGB_);
    Draw(DC, second, PenStyle, PenWidth);
    std::swap(fromRGB_, toRGB_);
    orientation_ = convergent;
}

void TCustomGradient::drawBands(HDC DC, const TRect& Rect, Integer PenStyle, Integer PenWidth) {
    const Integer height = Rect.Height();
    const Integer width = Rect.Width();
    Integer bands = 0;
    switch (orientation_) {
    case fgdHorizontal:
        bands = std::min(steps_, height);
        break;
    case fgdVertical:
        bands = std::min(steps_, width);
        break;
    case fgdLeftBias:
    case fgdRightBias:
        bands = std::min(steps_, width + height);
        break;
    default:
        bands = std::min({steps_, width / 2, height / 2});
        break;
    }
    const bool leftBias = orientation_ == fgdLeftBias;
    TPoint a{leftBias ? Rect.Left : Rect.Right, Rect.Top};
    TPoint b = a;
    for (Integer band = 0; band < bands; ++band) {
        Integer rgb[3];
        for (int index = 0; index < 3; ++index) {
            Integer start = channel(fromRGB_, index);
            rgb[index] = bands == 1 ? start : start + MulDiv(band, channel(toRGB_, index) - start, bands - 1);
        }
        const TColor color = fromChannels(rgb[0], rgb[1], rgb[2]);
        TRect fill;
        switch (orientation_) {
        case fgdHorizontal:
            fill = {Rect.Left, Rect.Top + MulDiv(band, height, bands), Rect.Right,
                    Rect.Top + MulDiv(band + 1, height, bands)};
            break;
        case fgdVertical:
            fill = {Rect.Left + MulDiv(band, width, bands), Rect.Top,
                    Rect.Left + MulDiv(band + 1, width, bands), Rect.Bottom};
            break;
        case fgdLeftBias:
        case fgdRightBias:
            drawBiasBand(DC, Rect, PenStyle, PenWidth, color,
                         MulDiv(band + 1, width + height, bands) - MulDiv(band, width + height, bands), a, b);
            break;
        default: {
            Integer dx = MulDiv(band, width / 2, bands);
            Integer dy = MulDiv(band, height / 2, bands);
            fill = {Rect.Left + dx, Rect.Top + dy, Rect.Right - dx, Rect.Bottom - dy};
            break;
        }
        }
        if (orientation_ != fgdLeftBias && orientation_ != fgdRightBias)
            fillBand(DC, fill, color, brushStyle_);
        if (100.0 * band / bands > percentFilling_) break;
    }
}

void TCustomGradient::drawBiasBand(HDC DC, const TRect& Rect, Integer PenStyle, Integer PenWidth,
                                   TColor Color, Integer Lines, TPoint& A, TPoint& B) {
    const Integer step = std::max(PenWidth, 1);
    HPEN pen = CreatePen(PenStyle, PenWidth, static_cast<COLORREF>(Color));
    HGDIOBJ previous = SelectObject(DC, pen);
    for (Integer line = 0; line < Lines; ++line) {
        if (orientation_ == fgdLeftBias) {
            (A.y < Rect.Bottom ? A.y : A.x) += step;
            (B.x < Rect.Right ? B.x : B.y) += step;
        } else {
            if (A.x > Rect.Left)
                A.x -= step;
            else
                A.y += step;
            if (B.y < Rect.Bottom)
                B.y += step;
            else
                B.x -= step;
        }
        MoveToEx(DC, A.x, A.y, nullptr);
        LineTo(DC, B.x, B.y);
    }
    SelectObject(DC, previous);
    DeleteObject(pen);
}

void TCustomGradient::TextOut(HDC DC, const AnsiString& Text, const TRect& Rect, Integer X, Integer Y) {
    const UINT length = static_cast<UINT>(Text.size());
    if (!active_ || !deviceShowsGradients(DC)) {
        ExtTextOutA(DC, X, Y, 0, nullptr, Text.data(), length, nullptr);
        return;
    }
    const bool vertical = orientation_ == fgdVertical;
    const Integer strips = vertical ? Rect.Width() : Rect.Height();
    float current[3];
    float step[3];
    for (int index = 0; index < 3; ++index) {
        current[index] = static_cast<float>(channel(fromRGB_, index));
        step[index] = strips == 0 ? 0.0f : (channel(toRGB_, index) - current[index]) / strips;
    }
    const COLORREF saved = GetTextColor(DC);
    // The strips stop at the rectangle's edge: drawing stays inside the rectangle given.
    const Integer last = std::min(MulDiv(strips, percentFilling_, FullFilling), strips - 1);
    for (Integer strip = 0; strip <= last; ++strip) {
        SetTextColor(DC, RGB(std::lrint(current[0]), std::lrint(current[1]), std::lrint(current[2])));
        RECT clip = vertical ? RECT{Rect.Left + strip, Rect.Top, Rect.Left + strip + 1, Rect.Bottom}
                             : RECT{Rect.Left, Rect.Top + strip, Rect.Right, Rect.Top + strip + 1};
        ExtTextOutA(DC, X, Y, ETO_CLIPPED, &clip, Text.data(), length, nullptr);
        for (int index = 0; index < 3; ++index)
            current[index] += step[index];
    }
    SetTextColor(DC, saved);
}

TColor TCustomGradient::GetColorFromGradientLine(Word Length, Word Position) const {
    if (Length == 0) return fromRGB_;
    Integer rgb[3];
    for (int index = 0; index < 3; ++index) {
        float from = static_cast<float>(channel(fromRGB_, index));
        float to = static_cast<float>(channel(toRGB_, index));
        rgb[index] = static_cast<Integer>(std::lrint(from + Position * (to - from) / Length));
    }
    return fromChannels(rgb[0], rgb[1], rgb[2]);
}

// ---- TThreeDGradient ------------------------------------------------------------------------

TThreeDGradient::TThreeDGradient() {
    active_ = true;
}

void TThreeDGradient::SetDepth(Word Value) {
    if (storeChanged(depth_, Value) && active_) changed();
}

void TThreeDGradient::SetGType(TThreeDGradientType Value) {
    if (storeChanged(gType_, Value) && active_) changed();
}

// ---- TglBevel -------------------------------------------------------------------------------

void TglBevel::changed() {
    notify(OnChanged, this);
}

void TglBevel::SetInner(TBevelCut Value) {
    if (storeChanged(inner_, Value)) changed();
}

void TglBevel::SetOuter(TBevelCut Value) {
    if (storeChanged(outer_, Value)) changed();
}

void TglBevel::SetSides(TglSides Value) {
    if (storeChanged(sides_, Value)) changed();
}

void TglBevel::SetBold(bool Value) {
    if (storeChanged(bold_, Value)) changed();
}

Integer TglBevel::bordersAcross(TglSide First, TglSide Second) const {
    Integer sides = (sides_.Contains(First) ? 1 : 0) + (sides_.Contains(Second) ? 1 : 0);
    Integer cuts = (inner_ != bvNone ? 1 : 0) + (outer_ != bvNone ? 1 : 0);
    return sides * cuts;
}

Integer TglBevel::BordersWidth() const {
    return bordersAcross(fsdLeft, fsdRight);
}

Integer TglBevel::BordersHeight() const {
    return bordersAcross(fsdTop, fsdBottom);
}

void TglExtBevel::SetActive(bool Value) {
    if (storeChanged(active_, Value)) changed();
}

void TglExtBevel::SetBevelPenStyle(TPenStyle Value) {
    if (storeChanged(bevelPenStyle_, Value)) changed();
}

void TglExtBevel::SetBevelPenWidth(Word Value) {
    if (storeChanged(bevelPenWidth_, Value)) changed();
}

void TglExtBevel::SetInteriorOffset(Word Value) {
    if (storeChanged(interiorOffset_, Value)) changed();
}

// ---- Alignment, illumination, point, text styles ----------------------------------------------

void T2DAlign::SetHorizontal(TglHorAlign Value) {
    if (storeChanged(horizontal_, Value)) notify(OnChanged, this);
}

void T2DAlign::SetVertical(TglVertAlign Value) {
    if (storeChanged(vertical_, Value)) notify(OnChanged, this);
}

void TIllumination::SetShadowDepth(Integer Value) {
    if (storeChanged(shadowDepth_, std::max(Value, 0))) notify(OnShadowChanged, this);
}

void TPointClass::SetX(Integer Value) {
    if (storeChanged(x_, Value)) notify(OnChanged, this);
}

void TPointClass::SetY(Integer Value) {
    if (storeChanged(y_, Value)) notify(OnChanged, this);
}

void TglLabelTextStyles::set(TglTextStyle& Field, TglTextStyle Value) {
    if (storeChanged(Field, Value)) notify(OnChanged, this);
}

void TglLabelTextStyles::SetPassive(TglTextStyle Value) {
    set(passive_, Value);
}

void TglLabelTextStyles::SetActive(TglTextStyle Value) {
    set(active_, Value);
}

void TglLabelTextStyles::SetDisabled(TglTextStyle Value) {
    set(disabled_, Value);
}

// ---- Colour sets ------------------------------------------------------------------------------

void TglCustomTextColors::set(TColor& Field, TColor Value) {
    if (storeChanged(Field, Value)) notify(OnChanged, this);
}

void TglCustomLabelColors::labelChanged() {
    notify(OnLabelChanged, this);
}

void TglCustomLabelColors::SetAutoHighlight(bool Value) {
    set(autoHighlight_, Value);
}

void TglCustomLabelColors::SetAutoShadow(bool Value) {
    set(autoShadow_, Value);
}

void TglCustomLabelColors::SetColorHighlightShift(Integer Value) {
    set(colorHighlightShift_, Value);
}

void TglCustomLabelColors::SetColorShadowShift(Integer Value) {
    set(colorShadowShift_, Value);
}

void TglGrBoxColors::store(TColor& Field, TColor Value) {
    Field = Value;
    labelChanged();
}

// ---- Item styles ------------------------------------------------------------------------------

TglCustomListBoxItemStyle::TglCustomListBoxItemStyle()
    : font_(std::make_unique<TFont>()), bevel_(std::make_unique<TglBevel>()) {}

TglCustomListBoxItemStyle::~TglCustomListBoxItemStyle() = default;

void TglCustomListBoxItemStyle::changed() {
    notify(onChanged_, this);
}

void TglCustomListBoxItemStyle::SetOnChanged(const TNotifyEvent& Value) {
    onChanged_ = Value;
    bevel_->OnChanged = Value;
}

void TglCustomListBoxItemStyle::SetColor(TColor Value) {
    if (storeChanged(color_, Value)) changed();
}

void TglCustomListBoxItemStyle::SetDelineateColor(TColor Value) {
    if (storeChanged(delineateColor_, Value)) changed();
}

void TglCustomListBoxItemStyle::SetFont(TFont* Value) {
    font_->Assign(Value);
    changed();
}

void TglCustomListBoxItemStyle::SetTextStyle(TglTextStyle Value) {
    textStyle_ = Value;
    changed();
}

TColor TglCustomListBoxItemStyle::HighlightColor() const {
    return IncColor(color_, ItemStyleColorShift);
}

TColor TglCustomListBoxItemStyle::ShadowColor() const {
    return DecColor(color_, ItemStyleColorShift);
}

TglListBoxItemStyle::TglListBoxItemStyle()
    : gradient_(std::make_unique<TGradient>()), secondGradient_(std::make_unique<TGradient>()) {}

TglListBoxItemStyle::~TglListBoxItemStyle() = default;

void TglListBoxItemStyle::SetOnChanged(const TNotifyEvent& Value) {
    TglCustomListBoxItemStyle::SetOnChanged(Value);
    gradient_->OnChanged = Value;
}

TglAskListBoxItemStyle::TglAskListBoxItemStyle() : btnFont_(std::make_unique<TFont>()) {}

TglAskListBoxItemStyle::~TglAskListBoxItemStyle() = default;

void TglAskListBoxItemStyle::SetBtnColor(TColor Value) {
    if (storeChanged(btnColor_, Value)) changed();
}

void TglAskListBoxItemStyle::SetBtnFont(TFont* Value) {
    btnFont_->Assign(Value);
    changed();
}

void TglAskListBoxItemStyle::SetBtnTextStyle(TglTextStyle Value) {
    btnTextStyle_ = Value;
    changed();
}

// ---- Streaming --------------------------------------------------------------------------------

namespace {

// A colour property, stored unless it equals Default (always without one).
template <typename T, typename Owner>
void colorProperty(TClassBuilder<T>& c, const char* Name, TColor (Owner::*Get)() const,
                   void (Owner::*Set)(TColor), std::optional<TColor> Default = std::nullopt) {
    auto property = c.Property(Name, Get, Set);
    property.Type(TypeInfoColor());
    if (Default) property.Default(*Default);
}

const TClass twainColorsClass = DescribeClass<TTwainColors, TPersistent>([](TClassBuilder<TTwainColors>& c) {
    colorProperty(c, "FromColor", &TTwainColors::FromColor, &TTwainColors::SetFromColor, TColor(0x808080));
    colorProperty(c, "ToColor", &TTwainColors::ToColor, &TTwainColors::SetToColor, TColor(0));
});
const TClass customGradientClass = DescribeClass<TCustomGradient, TTwainColors>();
const TClass gradientClass = DescribeClass<TGradient, TCustomGradient>([](TClassBuilder<TGradient>& c) {
    c.Property("Active", &TGradient::Active, &TGradient::SetActive);
    c.Property("BufferedDraw", &TGradient::BufferedDraw, &TGradient::SetBufferedDraw).Default(false);
    c.Property("Orientation", &TGradient::Orientation, &TGradient::SetOrientation);
    c.Property("Steps", &TGradient::Steps, &TGradient::SetSteps).Default(255);
    c.Property("PercentFilling", &TGradient::PercentFilling, &TGradient::SetPercentFilling).Default(100);
    c.Property("BrushStyle", &TGradient::BrushStyle, &TGradient::SetBrushStyle).Default(bsSolid);
});
const TClass threeDGradientClass =
    DescribeClass<TThreeDGradient, TCustomGradient>([](TClassBuilder<TThreeDGradient>& c) {
        c.Property("Depth", &TThreeDGradient::Depth, &TThreeDGradient::SetDepth).Default(16);
        c.Property("GType", &TThreeDGradient::GType, &TThreeDGradient::SetGType).Default(fgtFlat);
    });

const TClass bevelClass = DescribeClass<TglBevel, TPersistent>([](TClassBuilder<TglBevel>& c) {
    c.Property("Inner", &TglBevel::Inner, &TglBevel::SetInner);
    c.Property("Outer", &TglBevel::Outer, &TglBevel::SetOuter);
    c.Property("Sides", &TglBevel::Sides, &TglBevel::SetSides).Default(AllSides);
    c.Property("Bold", &TglBevel::Bold, &TglBevel::SetBold);
});
const TClass extBevelClass = DescribeClass<TglExtBevel, TglBevel>([](TClassBuilder<TglExtBevel>& c) {
    c.Property("Active", &TglExtBevel::Active, &TglExtBevel::SetActive).Default(true);
    c.Property("BevelPenStyle", &TglExtBevel::BevelPenStyle, &TglExtBevel::SetBevelPenStyle).Default(psSolid);
    c.Property("BevelPenWidth", &TglExtBevel::BevelPenWidth, &TglExtBevel::SetBevelPenWidth).Default(1);
    c.Property("InteriorOffset", &TglExtBevel::InteriorOffset, &TglExtBevel::SetInteriorOffset).Default(0);
});

const TClass alignClass = DescribeClass<T2DAlign, TPersistent>([](TClassBuilder<T2DAlign>& c) {
    c.Property("Horizontal", &T2DAlign::Horizontal, &T2DAlign::SetHorizontal).Default(fhaLeft);
    c.Property("Vertical", &T2DAlign::Vertical, &T2DAlign::SetVertical).Default(fvaTop);
});
// The shadow depth is never stored.
const TClass illuminationClass = DescribeClass<TIllumination, T2DAlign>([](TClassBuilder<TIllumination>& c) {
    c.Property("ShadowDepth", &TIllumination::ShadowDepth, &TIllumination::SetShadowDepth).Stored(false);
});
const TClass pointClass = DescribeClass<TPointClass, TPersistent>([](TClassBuilder<TPointClass>& c) {
    c.Property("X", &TPointClass::X, &TPointClass::SetX);
    c.Property("Y", &TPointClass::Y, &TPointClass::SetY);
});
const TClass labelTextStylesClass =
    DescribeClass<TglLabelTextStyles, TPersistent>([](TClassBuilder<TglLabelTextStyles>& c) {
        c.Property("Passive", &TglLabelTextStyles::Passive, &TglLabelTextStyles::SetPassive)
            .Default(fstRaised);
        c.Property("Active", &TglLabelTextStyles::Active, &TglLabelTextStyles::SetActive).Default(fstRaised);
        c.Property("Disabled", &TglLabelTextStyles::Disabled, &TglLabelTextStyles::SetDisabled)
            .Default(fstPushed);
    });

const TClass customTextColorsClass = DescribeClass<TglCustomTextColors, TPersistent>();
const TClass simpleLabelColorsClass =
    DescribeClass<TglSimleLabelColors, TglCustomTextColors>([](TClassBuilder<TglSimleLabelColors>& c) {
        using T = TglSimleLabelColors;
        colorProperty(c, "Delineate", &T::Delineate, &T::SetDelineate, TColor(0xFFFFFF));
        colorProperty(c, "Shadow", &T::Shadow, &T::SetShadow, clBtnShadow);
        colorProperty(c, "Highlight", &T::Highlight, &T::SetHighlight, clBtnHighlight);
        colorProperty(c, "Background", &T::Background, &T::SetBackground, clBtnFace);
    });
const TClass customLabelColorsClass = DescribeClass<TglCustomLabelColors, TglCustomTextColors>();
const TClass labelColorsClass =
    DescribeClass<TglLabelColors, TglCustomLabelColors>([](TClassBuilder<TglLabelColors>& c) {
        using T = TglLabelColors;
        colorProperty(c, "Text", &T::Text, &T::SetText, TColor(0));
        colorProperty(c, "TextDisabled", &T::TextDisabled, &T::SetTextDisabled, TColor(0x808080));
        colorProperty(c, "Delineate", &T::Delineate, &T::SetDelineate, TColor(0xFFFFFF));
        colorProperty(c, "Shadow", &T::Shadow, &T::SetShadow, clBtnShadow);
        colorProperty(c, "Highlight", &T::Highlight, &T::SetHighlight, clBtnHighlight);
        colorProperty(c, "Background", &T::Background, &T::SetBackground, clBtnFace);
        colorProperty(c, "TextActive", &T::TextActive, &T::SetTextActive, TColor(0));
        colorProperty(c, "DelineateActive", &T::DelineateActive, &T::SetDelineateActive, TColor(0xFFFFFF));
        c.Property("AutoHighlight", &T::AutoHighlight, &T::SetAutoHighlight).Default(false);
        c.Property("AutoShadow", &T::AutoShadow, &T::SetAutoShadow).Default(false);
        c.Property("ColorHighlightShift", &T::ColorHighlightShift, &T::SetColorHighlightShift).Default(40);
        c.Property("ColorShadowShift", &T::ColorShadowShift, &T::SetColorShadowShift).Default(60);
        colorProperty(c, "BackgroundActive", &T::BackgroundActive, &T::SetBackgroundActive, clBtnFace);
    });
const TClass groupBoxColorsClass =
    DescribeClass<TglGrBoxColors, TglCustomLabelColors>([](TClassBuilder<TglGrBoxColors>& c) {
        using T = TglGrBoxColors;
        colorProperty(c, "Text", &T::Text, &T::SetText, TColor(0));
        colorProperty(c, "Delineate", &T::Delineate, &T::SetDelineate, TColor(0xFFFFFF));
        colorProperty(c, "Shadow", &T::Shadow, &T::SetShadow, clBtnShadow);
        colorProperty(c, "Highlight", &T::Highlight, &T::SetHighlight, clBtnHighlight);
        colorProperty(c, "TextActive", &T::TextActive, &T::SetTextActive, TColor(0));
        colorProperty(c, "DelineateActive", &T::DelineateActive, &T::SetDelineateActive, TColor(0xFFFFFF));
        colorProperty(c, "Caption", &T::Caption, &T::SetCaption);
        colorProperty(c, "CaptionActive", &T::CaptionActive, &T::SetCaptionActive);
        colorProperty(c, "Client", &T::Client, &T::SetClient);
        colorProperty(c, "ClientActive", &T::ClientActive, &T::SetClientActive);
    });

const TClass customItemStyleClass =
    DescribeClass<TglCustomListBoxItemStyle, TPersistent>([](TClassBuilder<TglCustomListBoxItemStyle>& c) {
        using T = TglCustomListBoxItemStyle;
        colorProperty(c, "Color", &T::Color, &T::SetColor);
        colorProperty(c, "DelineateColor", &T::DelineateColor, &T::SetDelineateColor);
        c.Property("Font", &T::Font, &T::SetFont);
        c.Property("Bevel", &T::Bevel);
        c.Property("TextStyle", &T::TextStyle, &T::SetTextStyle);
    });
const TClass itemStyleClass = DescribeClass<TglListBoxItemStyle, TglCustomListBoxItemStyle>(
    [](TClassBuilder<TglListBoxItemStyle>& c) { c.Property("Gradient", &TglListBoxItemStyle::Gradient); });
const TClass hintStyleClass = DescribeClass<TglHintStyle, TglListBoxItemStyle>();
const TClass speedButtonStyleClass =
    DescribeClass<TglSpeedButtonStyle, TglListBoxItemStyle>([](TClassBuilder<TglSpeedButtonStyle>& c) {
        c.Property("TextGradient", &TglSpeedButtonStyle::TextGradient);
    });
const TClass askItemStyleClass = DescribeClass<TglAskListBoxItemStyle, TglCustomListBoxItemStyle>(
    [](TClassBuilder<TglAskListBoxItemStyle>& c) {
        using T = TglAskListBoxItemStyle;
        colorProperty(c, "BtnColor", &T::BtnColor, &T::SetBtnColor);
        c.Property("BtnFont", &T::BtnFont, &T::SetBtnFont);
        c.Property("BtnTextStyle", &T::BtnTextStyle, &T::SetBtnTextStyle);
    });

const TClass customBoxStyleClass = DescribeClass<TglCustomBoxStyle, TglBevel>();
const TClass customTextBoxStyleClass = DescribeClass<TglCustomTextBoxStyle, TglCustomBoxStyle>();
const TClass textBoxStyleClass =
    DescribeClass<TglTextBoxStyle, TglCustomTextBoxStyle>([](TClassBuilder<TglTextBoxStyle>& c) {
        using T = TglTextBoxStyle;
        c.Property("PenStyle", &T::PenStyle, &T::SetPenStyle).Default(psSolid);
        colorProperty(c, "TextColor", &T::TextColor, &T::SetTextColor, TColor(0));
        colorProperty(c, "BackgroundColor", &T::BackgroundColor, &T::SetBackgroundColor, clWindow);
        colorProperty(c, "HighlightColor", &T::HighlightColor, &T::SetHighlightColor, clBtnHighlight);
        colorProperty(c, "ShadowColor", &T::ShadowColor, &T::SetShadowColor, clBtnShadow);
    });
const TClass bevelLinesClass = DescribeClass<TglBevelLines, TPersistent>([](TClassBuilder<TglBevelLines>& c) {
    using T = TglBevelLines;
    c.Property("Count", &T::Count, &T::SetCount).Default(0);
    c.Property("Step", &T::Step, &T::SetStep).Default(0);
    c.Property("Origin", &T::Origin, &T::SetOrigin).Default(forLeftTop);
    c.Property("Style", &T::Style, &T::SetStyle).Default(bvLowered);
    c.Property("Bold", &T::Bold, &T::SetBold).Default(false);
    c.Property("Thickness", &T::Thickness, &T::SetThickness).Default(1);
    c.Property("IgnoreBorder", &T::IgnoreBorder, &T::SetIgnoreBorder).Default(false);
});

} // namespace
