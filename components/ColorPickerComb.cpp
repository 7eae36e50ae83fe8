// The custom colour area of the colour picker's drop-down window: a comb of
// hexagonal cells from a centre colour out to six pure colours, a row of
// greys and a slider that darkens the comb's centre, with their layout,
// drawing, mouse handling and hints.
#include "components/ColorPickerButton.h"
#include "components/ColorPickerSupport.h"

#include "platform/core/SysUtils.h"
#include "platform/vcl/Pictures.h"
#include "platform/win/Blit.h"
#include "platform/win/Painting.h"

#include <algorithm>
#include <cmath>
#include <numbers>

using namespace ColorPickerButton;

namespace {

constexpr Integer StartCombSize = 66;
constexpr Integer StartCombLevels = 7;
constexpr Integer GrayCellCount = 17;
constexpr Integer SliderWidth = 20;
constexpr Integer SliderGradientWidth = 10;
// The grey row's rectangle reaches this far into the comb's, and the row is drawn this far above it.
constexpr Integer GrayRowOverlap = 4;
constexpr DWORD HintHideTimeout = 5000;

const long double Cos30 = std::cos(std::numbers::pi_v<long double> / 6);
const long double Sin30 = 0.5L;

struct HexCorner {
    long double C;
    long double S;
};

// The corners of a hexagon of radius 0.5, from straight below the centre
// round towards the right (y grows downwards).
const std::array<HexCorner, 6>& hexCorners() {
    static const std::array<HexCorner, 6> corners = [] {
        std::array<HexCorner, 6> result{};
        for (int k = 0; k < 6; ++k) {
            const long double angle = (90.0L - 60.0L * k) * std::numbers::pi_v<long double> / 180.0L;
            result[k] = {0.5L * std::cos(angle), 0.5L * std::sin(angle)};
        }
        return result;
    }();
    return corners;
}

// The six pure colours at the comb's corners, clockwise from the right.
constexpr TFloatRGB CornerColors[6] = {
    {1, 0, 1}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 1, 1}, {0, 0, 1},
};

TColor floatRGBToColor(const TFloatRGB& C) {
    return RGB(RoundToEven(255.0L * C.Red), RoundToEven(255.0L * C.Green), RoundToEven(255.0L * C.Blue));
}

TColor grayToColor(Integer Value) {
    return RGB(Value, Value, Value);
}

TFloatRGB operator+(const TFloatRGB& A, const TFloatRGB& B) {
    return {A.Red + B.Red, A.Green + B.Green, A.Blue + B.Blue};
}
TFloatRGB operator-(const TFloatRGB& A, const TFloatRGB& B) {
    return {A.Red - B.Red, A.Green - B.Green, A.Blue - B.Blue};
}
TFloatRGB operator/(const TFloatRGB& A, float Divisor) {
    return {A.Red / Divisor, A.Green / Divisor, A.Blue / Divisor};
}

struct FloatPoint {
    long double X = 0;
    long double Y = 0;
};
FloatPoint operator+(const FloatPoint& A, const FloatPoint& B) {
    return {A.X + B.X, A.Y + B.Y};
}
FloatPoint operator-(const FloatPoint& A, const FloatPoint& B) {
    return {A.X - B.X, A.Y - B.Y};
}
FloatPoint operator/(const FloatPoint& A, long double Divisor) {
    return {A.X / Divisor, A.Y / Divisor};
}

bool pointInCircle(const TPoint& P, const TPoint& Centre, Integer Radius) {
    const Integer dx = P.x - Centre.x;
    const Integer dy = P.y - Centre.y;
    return dx * dx + dy * dy <= Radius * Radius;
}

} // namespace

// ---- Layout ------------------------------------------------------------------------------------------

void TColorPopup::initializeCustomArea() {
    combSize_ = StartCombSize;
    combLevels_ = StartCombLevels;
    hexSize_ = StartCombSize / 6;
    centerColor_ = {1, 1, 1};
    brightness_ = 1;
    customIndex_ = 0;
    trackState_ = 0;
}

void TColorPopup::layoutCombSizes() {
    combSize_ = columnCount_ * cellSize_ * 7 / 16;
    hexSize_ = RoundToEven(static_cast<long double>(combSize_) / (combLevels_ - 1) + 0.5L);
}

void TColorPopup::layoutCustomArea(Integer Bottom) {
    const Integer left = edgeWidth_ + spacing_;
    combRect_ = {left, Bottom, left + 2 * combSize_, Bottom + 2 * combSize_};
    grayRect_ = {combRect_.Left, combRect_.Bottom - GrayRowOverlap,
                 RoundToEven(Cos30 * GrayCellCount * hexSize_ / 2) + 6 * hexSize_,
                 combRect_.Bottom + 2 * hexSize_};
    sliderRect_ = {combRect_.Right, combRect_.Top + hexSize_, combRect_.Right + SliderWidth,
                   combRect_.Bottom - hexSize_};
}

// ---- The cells ---------------------------------------------------------------------------------------

const TCombArray& TColorPopup::CombCells() {
    if (combCells_.empty()) BuildCustomColors();
    return combCells_;
}

const TCombArray& TColorPopup::GrayCells() {
    if (combCells_.empty()) BuildCustomColors();
    return grayCells_;
}

void TColorPopup::BuildCustomColors() {
    HandleNeeded();
    combLevels_ = std::max(combLevels_, 1);
    const Integer rings = combLevels_ - 1;
    combCells_.clear();
    combCells_.reserve(rings * combLevels_ / 2 * 6 + 1);
    combCells_.push_back({{0, 0}, floatRGBToColor(centerColor_)});
    if (combLevels_ < 2) return;
    const long double radius = Cos30 * 2 * combSize_;
    const auto& corners = hexCorners();
    for (int i = 0; i < 6; ++i) {
        const int j = (i + 1) % 6;
        const FloatPoint startCorner{radius * corners[i].S, radius * corners[i].C};
        const FloatPoint endCorner{radius * corners[j].S, radius * corners[j].C};
        const FloatPoint startStep = startCorner / rings;
        const FloatPoint endStep = endCorner / rings;
        const TFloatRGB startColorStep = (CornerColors[i] - centerColor_) / static_cast<float>(rings);
        const TFloatRGB endColorStep = (CornerColors[j] - centerColor_) / static_cast<float>(rings);
        FloatPoint from, to;
        TFloatRGB fromColor = centerColor_, toColor = centerColor_;
        for (Integer ring = 0; ring < combLevels_; ++ring) {
            if (ring > 0) {
                // One ring's run of this sector: from its corner up to one step short of the next.
                const FloatPoint step = (to - from) / ring;
                const TFloatRGB colorStep = (toColor - fromColor) / static_cast<float>(ring);
                FloatPoint position = from;
                TFloatRGB color = fromColor;
                for (Integer n = 0; n < ring; ++n) {
                    combCells_.push_back(
                        {{RoundToEven(position.X), RoundToEven(position.Y)}, floatRGBToColor(color)});
                    position = position + step;
                    color = color + colorStep;
                }
            }
            from = from + startStep;
            to = to + endStep;
            fromColor = fromColor + startColorStep;
            toColor = toColor + endColorStep;
        }
    }
    buildGrayCells();
}

void TColorPopup::buildGrayCells() {
    grayCells_.assign(GrayCellCount, {});
    grayCells_[0] = {{hexSize_, hexSize_}, grayToColor(255)};
    const Integer x0 = 3 * hexSize_;
    const Integer y0 = (hexSize_ / 4) * 3;
    const Integer dx = RoundToEven(Cos30 * hexSize_ / 2);
    const Integer dy = RoundToEven((Sin30 + 1) * hexSize_ / 2);
    for (Integer k = 0; k < GrayCellCount - 2; ++k) {
        const Integer n = k + 1;
        grayCells_[n] = {{k * dx + x0, k % 2 != 0 ? y0 + dy : y0}, grayToColor((16 - n) * 15)};
    }
    grayCells_[GrayCellCount - 1] = {{16 * dx + x0 + hexSize_, hexSize_}, grayToColor(0)};
}

Integer TColorPopup::findCustomCell(TColor RGB) {
    const TCombArray& grays = GrayCells();
    for (std::size_t i = 0; i < grays.size(); ++i)
        if (grays[i].Color == RGB) return -static_cast<Integer>(i + 1);
    const TCombArray& comb = CombCells();
    for (std::size_t i = 0; i < comb.size(); ++i)
        if (comb[i].Color == RGB) return static_cast<Integer>(i + 1);
    return 0;
}

// Reading a cell builds the cells first: a brightness change empties the
// comb until the next paint, and a colour may be accepted before it.
TColor TColorPopup::customColor() {
    if (customIndex_ < 0) return GrayCells()[-(customIndex_ + 1)].Color;
    if (customIndex_ > 0) return CombCells()[customIndex_ - 1].Color;
    return clNone;
}

// ---- Hit tests ---------------------------------------------------------------------------------------

Integer TColorPopup::FindCombCell(Integer X, Integer Y) {
    const TPoint P{X - (combSize_ + combRect_.Left), Y - (combSize_ + combRect_.Top)};
    const TCombArray& cells = CombCells();
    for (std::size_t i = 0; i < cells.size(); ++i)
        if (pointInCircle(P, cells[i].Position, hexSize_ / 2)) return static_cast<Integer>(i);
    return -1;
}

Integer TColorPopup::FindGrayCell(Integer X, Integer Y) {
    const TPoint P{X - grayRect_.Left, Y - grayRect_.Top};
    const TCombArray& cells = GrayCells();
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const bool large = i == 0 || i + 1 == cells.size();
        if (pointInCircle(P, cells[i].Position, large ? hexSize_ : hexSize_ / 2)) return static_cast<Integer>(i);
    }
    return -1;
}

// ---- Drawing -----------------------------------------------------------------------------------------

void TColorPopup::drawHexagon(TCanvas* Canvas, Integer X, Integer Size, Integer Y) {
    std::array<TPoint, 6> points;
    const auto& corners = hexCorners();
    for (int k = 0; k < 6; ++k)
        points[k] = {RoundToEven(Size * corners[k].C + X), RoundToEven(Size * corners[k].S + Y)};
    Canvas->Polygon(points);
}

void TColorPopup::outlineHexagon(TCanvas* Canvas, Integer X, Integer Size, Integer Y) {
    Canvas->Pen()->SetStyle(psSolid);
    Canvas->Pen()->SetMode(pmXor);
    Canvas->Pen()->SetColor(clWhite);
    Canvas->Pen()->SetWidth(2);
    Canvas->Brush()->SetStyle(bsClear);
    drawHexagon(Canvas, X, Size, Y);
    Canvas->Pen()->SetStyle(psClear);
    Canvas->Pen()->SetMode(pmCopy);
    Canvas->Pen()->SetWidth(1);
}

void TColorPopup::drawSlider(TCanvas* Canvas) {
    Integer x = sliderRect_.Left;
    Integer y = sliderRect_.Top - combRect_.Top;
    const Integer height = sliderRect_.Height() - 1;
    const long double step = 255.0L / height;
    Canvas->Pen()->SetStyle(psSolid);
    for (Integer i = 0; i <= height; ++i) {
        Canvas->Pen()->SetColor(grayToColor(RoundToEven((height - i) * step)));
        Canvas->MoveTo(x, y + i);
        Canvas->LineTo(x + SliderGradientWidth, y + i);
    }
    x += SliderGradientWidth + 1;
    y += RoundToEven((1 - brightness_) * height);
    Canvas->Brush()->SetColor(clBlack);
    Canvas->Polygon({TPoint{x, y}, TPoint{x + 5, y - 3}, TPoint{x + 5, y + 3}});
    Canvas->Pen()->SetStyle(psClear);
}

// Drawn off screen and copied in one piece, below the compact window's part.
void TColorPopup::drawCustomColors() {
    TBitmap bitmap;
    bitmap.SetSize(Width(), combRect_.Height() + grayRect_.Height() + 2 * edgeWidth_);
    TCanvas* canvas = bitmap.Canvas();
    canvas->Brush()->SetColor(clBtnFace);
    canvas->FillRect({0, 0, bitmap.Width(), bitmap.Height()});
    canvas->Pen()->SetStyle(psClear);

    const TPoint combOrigin{combSize_ + combRect_.Left, combSize_};
    for (const TCombEntry& cell : CombCells()) {
        canvas->Brush()->SetColor(cell.Color);
        drawHexagon(canvas, combOrigin.x + cell.Position.x, hexSize_, combOrigin.y + cell.Position.y);
    }
    if (customIndex_ > 0) {
        const TPoint at = combCells_[customIndex_ - 1].Position;
        outlineHexagon(canvas, combOrigin.x + at.x, hexSize_, combOrigin.y + at.y);
    }

    const TPoint grayOrigin{combRect_.Left, grayRect_.Top - combRect_.Top - GrayRowOverlap};
    auto graySize = [&](std::size_t i) { return i == 0 || i + 1 == grayCells_.size() ? 2 * hexSize_ : hexSize_; };
    for (std::size_t i = 0; i < grayCells_.size(); ++i) {
        canvas->Brush()->SetColor(grayCells_[i].Color);
        drawHexagon(canvas, grayOrigin.x + grayCells_[i].Position.x, graySize(i),
                    grayOrigin.y + grayCells_[i].Position.y);
    }
    if (customIndex_ < 0) {
        const std::size_t i = -(customIndex_ + 1);
        outlineHexagon(canvas, grayOrigin.x + grayCells_[i].Position.x, graySize(i),
                       grayOrigin.y + grayCells_[i].Position.y);
    }

    drawSlider(canvas);
    BitBlt(canvas_->Handle(), 0, combRect_.Top, bitmap.Width(), bitmap.Height(), canvas->Handle(), 0, 0, SRCCOPY);
}

// ---- Mouse -------------------------------------------------------------------------------------------

void TColorPopup::handleCustomColors(TMessage& Message) {
    if (handleSlider(Message) || handleGrayRow(Message) || handleColorComb(Message)) return;
    clearCustomChoice();
}

void TColorPopup::invalidateArea(const TRect& Area) {
    InvalidateRect(WindowHandle(), &Area, FALSE);
}

// The grey row is drawn above its hit rectangle: its repaint takes that strip too.
TRect TColorPopup::grayRowPaintRect() const {
    return {grayRect_.Left, grayRect_.Top - GrayRowOverlap, grayRect_.Right, grayRect_.Bottom};
}

bool TColorPopup::handleSlider(TMessage& Message) {
    const TWMMouse mouse(Message);
    const TPoint P = mouse.Pos();
    // Vertical drags may leave the slider's rectangle.
    const bool applies = (PointInRect(sliderRect_, P) && trackState_ == 0) ||
                         (trackState_ == 3 && sliderRect_.Left <= P.x && P.x <= sliderRect_.Right);
    if (!applies) return false;
    if (mouse.Keys() & MK_LBUTTON) {
        trackState_ = 3;
        brightness_ = 1.0f - static_cast<float>(P.y - sliderRect_.Top) / (sliderRect_.Bottom - sliderRect_.Top);
        brightness_ = std::clamp(brightness_, 0.0f, 1.0f);
        centerColor_ = {brightness_, brightness_, brightness_};
        TRect marker = InflatedRect(sliderRect_, 0, 3);
        marker.Left += SliderGradientWidth;
        invalidateArea(marker);
        combCells_.clear();
        invalidateArea(combRect_);
        invalidateArea(previewRect_);
        UpdateWindow(WindowHandle());
    }
    return true;
}

bool TColorPopup::handleGrayRow(TMessage& Message) {
    const TWMMouse mouse(Message);
    if (!PointInRect(grayRect_, mouse.Pos()) || (trackState_ != 0 && trackState_ != 2)) return false;
    if (!(mouse.Keys() & MK_LBUTTON)) return true;
    trackState_ = 2;
    const Integer cell = FindGrayCell(mouse.XPos(), mouse.YPos());
    if (cell < 0) return false;
    if (customIndex_ > 0) invalidateArea(combRect_);
    if (customIndex_ != -(cell + 1)) {
        customIndex_ = -(cell + 1);
        invalidateArea(grayRowPaintRect());
        invalidateArea(previewRect_);
        UpdateWindow(WindowHandle());
    }
    return true;
}

bool TColorPopup::handleColorComb(TMessage& Message) {
    const TWMMouse mouse(Message);
    if (!PointInRect(combRect_, mouse.Pos()) || (trackState_ != 0 && trackState_ != 1)) return false;
    if (!(mouse.Keys() & MK_LBUTTON)) return true;
    trackState_ = 1;
    const Integer cell = FindCombCell(mouse.XPos(), mouse.YPos());
    if (cell < 0) return false;
    if (customIndex_ < 0) invalidateArea(grayRowPaintRect());
    if (customIndex_ != cell + 1) {
        customIndex_ = cell + 1;
        invalidateArea(combRect_);
        invalidateArea(previewRect_);
        UpdateWindow(WindowHandle());
    }
    return true;
}

void TColorPopup::clearCustomChoice() {
    if (customIndex_ > 0) invalidateArea(combRect_);
    if (customIndex_ < 0) invalidateArea(grayRowPaintRect());
    invalidateArea(previewRect_);
    customIndex_ = 0;
    UpdateWindow(WindowHandle());
}

// ---- Hints -------------------------------------------------------------------------------------------

void TColorPopup::customAreaHint(THintInfo& Info) {
    const TPoint P = Info.CursorPos;
    if (PointInRect(sliderRect_, P)) {
        // The hint follows every move along the slider.
        Info.HintStr = Format("Intensity: %d%%", {RoundToEven(100.0L * brightness_)});
        Info.HintPos = ClientToScreen({sliderRect_.Right, P.y - 8});
        Info.HideTimeout = HintHideTimeout;
        Info.CursorRect = {sliderRect_.Left, P.y, sliderRect_.Right, P.y};
        return;
    }
    Info.CursorRect = {P.x, P.y, P.x, P.y};
    const TCombArray* cells = nullptr;
    Integer cell = -1;
    if (PointInRect(grayRect_, P)) {
        cells = &GrayCells();
        cell = leftButtonHeld_ ? -(customIndex_ + 1) : FindGrayCell(P.x, P.y);
    } else if (PointInRect(combRect_, P)) {
        cells = &CombCells();
        cell = leftButtonHeld_ ? customIndex_ - 1 : FindCombCell(P.x, P.y);
    }
    if (cells && cell >= 0 && cell < static_cast<Integer>(cells->size())) {
        const TColor color = (*cells)[cell].Color;
        Info.HintStr = Format("red: %d, green: %d, blue: %d",
                              {Integer(GetRValue(color)), Integer(GetGValue(color)), Integer(GetBValue(color))});
        Info.HideTimeout = HintHideTimeout;
    } else {
        Info.HintStr = doHint(-1);
    }
}
