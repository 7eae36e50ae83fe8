// Laying out a run along its (possibly rotated) baseline, filling its
// background and blending each cached glyph into the surface within the clip.
#include "platform/win/TextOut.h"

#include "platform/win/AnsiText.h"
#include "platform/win/FontFace.h"
#include "platform/win/GdiObjects.h"
#include "platform/win/Painter.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace {

constexpr Byte halfCoverage = 128;
constexpr UINT horizontalAlignMask = TA_LEFT | TA_RIGHT | TA_CENTER;
constexpr UINT verticalAlignMask = TA_TOP | TA_BOTTOM | TA_BASELINE;
constexpr TRect unlimited{std::numeric_limits<int>::min(), std::numeric_limits<int>::min(),
                          std::numeric_limits<int>::max(), std::numeric_limits<int>::max()};

TRect intersection(const TRect& first, const TRect& second) {
    return {std::max(first.Left, second.Left), std::max(first.Top, second.Top),
            std::min(first.Right, second.Right), std::min(first.Bottom, second.Bottom)};
}

bool covers(const TRect& outer, const TRect& inner) {
    bool empty = inner.Left >= inner.Right || inner.Top >= inner.Bottom;
    return empty || (inner.Left >= outer.Left && inner.Top >= outer.Top && inner.Right <= outer.Right &&
                     inner.Bottom <= outer.Bottom);
}

// The direction of the baseline and the direction "down" from it, in device space.
struct Baseline {
    double alongX, alongY, downX, downY;
    explicit Baseline(double escapement)
        : alongX(std::cos(escapement)), alongY(-std::sin(escapement)), downX(std::sin(escapement)),
          downY(std::cos(escapement)) {}
    bool Horizontal() const { return alongY == 0.0 && alongX > 0.0; }
};

struct RunLayout {
    // The spacing array, or null for the glyphs' own advances plus the DC's extra spacing.
    const INT* distances = nullptr;
    int characterExtra = 0;
    long width = 0;
    // Start of the baseline in device coordinates.
    double startX = 0, startY = 0;

    int Advance(std::size_t index, const GlyphImage& glyph) const {
        return distances ? distances[index] : glyph.advance + characterExtra;
    }
};

RunLayout layoutRun(DeviceContext& dc, FontFace& face, const WideString& text, const INT* distances,
                    TPoint reference, const Baseline& baseline) {
    RunLayout run;
    run.distances = distances;
    run.characterExtra = dc.state.characterExtra;
    for (std::size_t i = 0; i < text.size(); ++i)
        run.width += run.Advance(i, face.Glyph(text[i]));
    const TEXTMETRICW& metrics = face.Metrics();
    double along = 0, down = 0;
    switch (dc.state.textAlign & horizontalAlignMask) {
    case TA_CENTER:
        along = -static_cast<double>(run.width / 2);
        break;
    case TA_RIGHT:
        along = -static_cast<double>(run.width);
        break;
    default:
        break;
    }
    switch (dc.state.textAlign & verticalAlignMask) {
    case TA_BASELINE:
        break;
    case TA_BOTTOM:
        down = -metrics.tmDescent;
        break;
    default:
        down = metrics.tmAscent;
        break;
    }
    TPoint device = dc.ToDevice(reference);
    run.startX = device.x + along * baseline.alongX + down * baseline.downX;
    run.startY = device.y + along * baseline.alongY + down * baseline.downY;
    return run;
}

// Where the run may paint: the DC's clip, and with ETO_CLIPPED only inside
// `limit` as well. Keeping the rectangle apart spares building a region per call.
struct TextClip {
    const Region& region;
    TRect limit = unlimited;
};

// A band along the baseline from `from` to `to` pixels, `offset` pixels down from it and `thickness` deep.
struct BandAlongBaseline {
    double from, to, offset, thickness;
};

// The band of a horizontal baseline.
TRect bandRect(const RunLayout& run, const BandAlongBaseline& band) {
    int left = static_cast<int>(std::lround(run.startX + band.from));
    int top = static_cast<int>(std::lround(run.startY + band.offset));
    return {left, top, left + static_cast<int>(band.to - band.from), top + static_cast<int>(band.thickness)};
}

// The band of any other baseline: a rotated rectangle.
Region slantedBand(const RunLayout& run, const Baseline& baseline, const BandAlongBaseline& band) {
    auto corner = [&](double along, double down) {
        return TPoint{
            static_cast<int>(std::lround(run.startX + along * baseline.alongX + down * baseline.downX)),
            static_cast<int>(std::lround(run.startY + along * baseline.alongY + down * baseline.downY))};
    };
    TPoint corners[4] = {corner(band.from, band.offset), corner(band.to, band.offset),
                         corner(band.to, band.offset + band.thickness),
                         corner(band.from, band.offset + band.thickness)};
    return Region::Polygon(corners, 4, ALTERNATE);
}

void fillBand(Painter& painter, const TextClip& clip, const RunLayout& run, const Baseline& baseline,
              const BandAlongBaseline& band, Pixel colour) {
    Paint paint = Paint::Solid(colour);
    if (baseline.Horizontal())
        painter.FillRect(intersection(bandRect(run, band), clip.limit), paint, RopTableOf(PATCOPY));
    else
        painter.FillRegion(slantedBand(run, baseline, band).Intersect(Region(clip.limit)), paint,
                           RopTableOf(PATCOPY));
}

// Without branches on the coverage, which edges make unpredictable; uncovered
// pixels keep even their top byte.
void blendRow(Pixel* destination, const Byte* coverage, int count, Pixel colour) {
    for (int i = 0; i < count; ++i) {
        Pixel blended = BlendPixel(destination[i], colour, coverage[i]);
        destination[i] = coverage[i] != 0 ? blended : destination[i];
    }
}

// A monochrome surface takes the pixels that are at least half covered.
void thresholdRow(Pixel* destination, const Byte* coverage, int count, Pixel colour) {
    for (int i = 0; i < count; ++i)
        if (coverage[i] >= halfCoverage) destination[i] = colour;
}

void drawGlyph(Painter& painter, const TextClip& clip, const GlyphImage& glyph, int penX, int penY,
               Pixel colour) {
    if (glyph.width == 0 || glyph.height == 0) return;
    auto drawRow = painter.Surface().IsMonochrome() ? thresholdRow : blendRow;
    int left = penX + glyph.left, top = penY - glyph.top;
    TRect box = intersection({left, top, left + glyph.width, top + glyph.height}, clip.limit);
    clip.region.ForEachSpanWithin(box, [&](int y, int from, int to) {
        const Byte* coverage = glyph.coverage.data() + static_cast<std::size_t>(y - top) * glyph.width;
        drawRow(painter.PixelAt(from, y), coverage + (from - left), to - from, colour);
    });
}

// The cells behind the text in opaque mode; skipped where the ETO_OPAQUE
// rectangle, filled just before in the same colour, already holds them.
void fillTextBackground(Painter& painter, const TextClip& clip, const RunLayout& run,
                        const Baseline& baseline, const TEXTMETRICW& metrics, Pixel background,
                        const TRect* opaqueRect) {
    BandAlongBaseline cells{0, static_cast<double>(run.width), static_cast<double>(-metrics.tmAscent),
                            static_cast<double>(metrics.tmHeight)};
    if (opaqueRect && baseline.Horizontal() &&
        covers(*opaqueRect, intersection(bandRect(run, cells), clip.limit)))
        return;
    fillBand(painter, clip, run, baseline, cells, background);
}

void drawRun(DeviceContext& dc, int x, int y, UINT options, const RECT* rect, const WideString& text,
             const INT* distances) {
    Painter painter(dc);
    if (!painter.CanPaint()) return;
    FontFace& face = FaceOfDC(dc);
    const FontObject& font = FontOfDC(dc);
    const TEXTMETRICW& metrics = face.Metrics();
    Baseline baseline(face.Escapement());
    bool updatePosition = (dc.state.textAlign & TA_UPDATECP) != 0;
    TPoint reference = updatePosition ? dc.state.currentPosition : TPoint{x, y};
    RunLayout run = layoutRun(dc, face, text, distances, reference, baseline);
    Pixel background = ResolveColour(dc, dc.state.backgroundColor);
    Pixel textColour = ResolveColour(dc, dc.state.textColor);

    TextClip clip{painter.Clip()};
    std::optional<TRect> opaqueRect;
    if (rect && (options & ETO_OPAQUE)) {
        opaqueRect = dc.ToDevice(*rect);
        painter.FillRect(*opaqueRect, Paint::Solid(background), RopTableOf(PATCOPY));
    }
    if (rect && (options & ETO_CLIPPED)) clip.limit = dc.ToDevice(*rect);
    if (dc.state.backgroundMode == OPAQUE && run.width > 0)
        fillTextBackground(painter, clip, run, baseline, metrics, background,
                           opaqueRect ? &*opaqueRect : nullptr);

    double pen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        int penX = static_cast<int>(std::lround(run.startX + pen * baseline.alongX));
        int penY = static_cast<int>(std::lround(run.startY + pen * baseline.alongY));
        const GlyphImage& glyph = face.Glyph(text[i]);
        drawGlyph(painter, clip, glyph, penX, penY, textColour);
        pen += run.Advance(i, glyph);
    }
    const FaceLines& lines = face.Lines();
    double width = static_cast<double>(run.width);
    if (font.logFont.lfUnderline && run.width > 0)
        fillBand(painter, clip, run, baseline,
                 {0, width, static_cast<double>(lines.underlineOffset),
                  static_cast<double>(lines.underlineThickness)},
                 textColour);
    if (font.logFont.lfStrikeOut && run.width > 0)
        fillBand(painter, clip, run, baseline,
                 {0, width, static_cast<double>(-lines.strikeoutOffset),
                  static_cast<double>(lines.strikeoutThickness)},
                 textColour);
    if (updatePosition) {
        UINT horizontal = dc.state.textAlign & horizontalAlignMask;
        if (horizontal == TA_LEFT)
            dc.state.currentPosition.x += static_cast<int>(run.width);
        else if (horizontal == TA_RIGHT)
            dc.state.currentPosition.x -= static_cast<int>(run.width);
    }
}

BOOL extTextOut(HDC dcHandle, int x, int y, UINT options, const RECT* rect, const WideString& text,
                const INT* distances) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(dcHandle);
    if (!dc) return FALSE;
    drawRun(*dc, x, y, options, rect, text, distances);
    return TRUE;
}

} // namespace

BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int count) {
    if (!text || count < 0) return FALSE;
    return extTextOut(dc, x, y, 0, nullptr, WideFromAnsi(text, count), nullptr);
}

BOOL TextOutW(HDC dc, int x, int y, LPCWSTR text, int count) {
    if (!text || count < 0) return FALSE;
    return extTextOut(dc, x, y, 0, nullptr, WideString(text, static_cast<std::size_t>(count)), nullptr);
}

BOOL ExtTextOutA(HDC dc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT count,
                 const INT* distances) {
    WideString wide = text ? WideFromAnsi(text, static_cast<int>(count)) : WideString();
    return extTextOut(dc, x, y, options, rect, wide, distances);
}

BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count,
                 const INT* distances) {
    WideString wide = text ? WideString(text, count) : WideString();
    return extTextOut(dc, x, y, options, rect, wide, distances);
}
