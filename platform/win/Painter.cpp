// Span painting with brushes, hatches and patterns.
#include "platform/win/Painter.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int hatchSize = 8;
constexpr int hatchLastRow = hatchSize - 1;

int positiveModulo(int value, int modulus) {
    int remainder = value % modulus;
    return remainder < 0 ? remainder + modulus : remainder;
}

struct RowBuffers {
    std::vector<Pixel> pattern;
    std::vector<Byte> drawn;
    void Reserve(int count) {
        if (pattern.size() < static_cast<std::size_t>(count)) {
            pattern.resize(static_cast<std::size_t>(count));
            drawn.resize(static_cast<std::size_t>(count));
        }
    }
};

RowBuffers& rowBuffers() {
    thread_local RowBuffers buffers;
    return buffers;
}

} // namespace

Pixel ResolveColour(const DeviceContext& dc, COLORREF color) {
    constexpr COLORREF paletteIndexFlag = 0x01000000;
    constexpr COLORREF flagMask = 0xFF000000;
    Pixel pixel;
    if ((color & flagMask) == paletteIndexFlag) {
        const PaletteObject* palette = LookupPalette(dc.state.palette);
        std::size_t index = color & 0xFFFF;
        PALETTEENTRY entry{};
        if (palette && index < palette->entries.size())
            entry = palette->entries[index];
        else if (palette && !palette->entries.empty())
            entry = palette->entries.front();
        pixel = PixelFromColorRef(RGB(entry.peRed, entry.peGreen, entry.peBlue));
    } else {
        pixel = PixelFromColorRef(color & PixelColourMask);
    }
    return dc.surface && dc.surface->IsMonochrome() ? NearestMonochrome(pixel) : pixel;
}

Paint Paint::Solid(Pixel colour) {
    Paint paint;
    paint.kind_ = Kind::Solid;
    paint.foreground_ = colour;
    return paint;
}

Paint Paint::OfBrush(const DeviceContext& dc, const BrushObject* brush) {
    if (!brush) return None();
    Paint paint;
    paint.origin_ = dc.state.brushOrigin;
    switch (brush->logBrush.lbStyle) {
    case BS_SOLID:
        return Solid(ResolveColour(dc, brush->logBrush.lbColor));
    case BS_HATCHED:
        paint.kind_ = Kind::Hatch;
        paint.foreground_ = ResolveColour(dc, brush->logBrush.lbColor);
        paint.background_ = ResolveColour(dc, dc.state.backgroundColor);
        paint.hatchStyle_ = static_cast<int>(brush->logBrush.lbHatch);
        paint.transparentGaps_ = dc.state.backgroundMode == TRANSPARENT;
        return paint;
    case BS_PATTERN:
        if (!brush->pattern || brush->pattern->Width() == 0 || brush->pattern->Height() == 0) return None();
        paint.kind_ = Kind::Pattern;
        paint.pattern_ = brush->pattern;
        paint.monochromePattern_ = brush->pattern->IsMonochrome();
        // A monochrome pattern is drawn in the text colour (0 bits) and the background colour (1 bits).
        paint.foreground_ = ResolveColour(dc, dc.state.textColor);
        paint.background_ = ResolveColour(dc, dc.state.backgroundColor);
        return paint;
    default:
        return None();
    }
}

bool Paint::hatchBit(int x, int y) const {
    int column = positiveModulo(x - origin_.x, hatchSize);
    int row = positiveModulo(y - origin_.y, hatchSize);
    bool horizontal = row == hatchLastRow, vertical = column == hatchLastRow;
    bool forward = column == row, backward = column + row == hatchLastRow;
    switch (hatchStyle_) {
    case HS_HORIZONTAL:
        return horizontal;
    case HS_VERTICAL:
        return vertical;
    case HS_FDIAGONAL:
        return forward;
    case HS_BDIAGONAL:
        return backward;
    case HS_CROSS:
        return horizontal || vertical;
    case HS_DIAGCROSS:
        return forward || backward;
    default:
        return false;
    }
}

void Paint::Row(int x, int y, int count, Pixel* out, Byte* drawn) const {
    switch (kind_) {
    case Kind::Solid:
        std::fill_n(out, count, foreground_);
        break;
    case Kind::Hatch:
        for (int i = 0; i < count; ++i) {
            bool line = hatchBit(x + i, y);
            out[i] = line ? foreground_ : background_;
            if (drawn) drawn[i] = line || !transparentGaps_;
        }
        break;
    case Kind::Pattern: {
        const Pixel* row = pattern_->Row(positiveModulo(y - origin_.y, pattern_->Height()));
        int column = positiveModulo(x - origin_.x, pattern_->Width());
        for (int i = 0; i < count; ++i) {
            Pixel value = row[column];
            out[i] = monochromePattern_ ? (value ? background_ : foreground_) : value;
            if (++column == pattern_->Width()) column = 0;
        }
        break;
    }
    case Kind::None:
        break;
    }
}

Painter::Painter(DeviceContext& dc) : dc_(dc), surface_(dc.surface.get()), clip_(dc.EffectiveClip()) {}

void Painter::paintSpan(int x, int y, int count, const Paint& paint, RopTable table) {
    Pixel* destination = PixelAt(x, y);
    RowBuffers& buffers = rowBuffers();
    buffers.Reserve(count);
    bool gaps = paint.HasGaps();
    paint.Row(x, y, count, buffers.pattern.data(), gaps ? buffers.drawn.data() : nullptr);
    if (surface_->IsMonochrome() && !paint.IsSolid())
        std::transform(buffers.pattern.begin(), buffers.pattern.begin() + count, buffers.pattern.begin(),
                       NearestMonochrome);
    if (!gaps) {
        ApplyRopToRow(table, destination, nullptr, buffers.pattern.data(), count);
        return;
    }
    for (int i = 0; i < count; ++i)
        if (buffers.drawn[static_cast<std::size_t>(i)])
            destination[i] = ApplyRop(table, buffers.pattern[static_cast<std::size_t>(i)], 0, destination[i]);
}

// A solid paint under a raster operation that ignores the destination comes
// down to one colour, worked out once for all the spans.
template <typename ForEachSpan>
void Painter::fillSpans(const Paint& paint, RopTable table, ForEachSpan forEachSpan) {
    if (paint.IsSolid() && !RopUsesDestination(table)) {
        Pixel colour = ApplyRop(table, paint.SolidColour(), 0, 0);
        forEachSpan([&](int y, int left, int right) { std::fill_n(PixelAt(left, y), right - left, colour); });
        return;
    }
    forEachSpan([&](int y, int left, int right) { paintSpan(left, y, right - left, paint, table); });
}

void Painter::FillRegion(const Region& area, const Paint& paint, RopTable table) {
    if (area.Kind() == SIMPLEREGION) {
        FillRect(area.Bounds(), paint, table);
        return;
    }
    if (!surface_ || paint.IsNone()) return;
    Region visible = area.Intersect(clip_);
    fillSpans(paint, table, [&](auto paintRow) {
        for (const RegionBand& band : visible.Bands())
            for (int y = band.top; y < band.bottom; ++y)
                for (const RegionSpan& span : band.spans)
                    paintRow(y, span.left, span.right);
    });
}

void Painter::FillRect(const TRect& deviceRect, const Paint& paint, RopTable table) {
    if (!surface_ || paint.IsNone()) return;
    fillSpans(paint, table, [&](auto paintRow) { clip_.ForEachSpanWithin(deviceRect, paintRow); });
}

void Painter::Plot(int x, int y, Pixel colour, RopTable table) {
    if (!surface_ || !clip_.Contains(x, y)) return;
    Pixel* destination = PixelAt(x, y);
    *destination = ApplyRop(table, colour, 0, *destination);
}
