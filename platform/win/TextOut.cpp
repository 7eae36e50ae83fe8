// Laying out a run along its (possibly rotated) baseline, filling its
// background and blending each cached glyph into the surface within the clip.
#include "platform/win/TextOut.h"

#include "platform/win/AnsiText.h"
#include "platform/win/FontFace.h"
#include "platform/win/GdiObjects.h"
#include "platform/win/Painter.h"

#include <cmath>
#include <vector>

namespace {

constexpr int fullCoverage = 255;
constexpr int halfCoverage = 128;
constexpr UINT horizontalAlignMask = TA_LEFT | TA_RIGHT | TA_CENTER;
constexpr UINT verticalAlignMask = TA_TOP | TA_BOTTOM | TA_BASELINE;

Pixel blend(Pixel destination, Pixel colour, int coverage) {
    Pixel result = 0;
    for (int shift : {0, 8, 16}) {
        int d = static_cast<int>((destination >> shift) & 0xFF),
            c = static_cast<int>((colour >> shift) & 0xFF);
        result |= static_cast<Pixel>((d * (fullCoverage - coverage) + c * coverage + fullCoverage / 2) /
                                     fullCoverage)
                  << shift;
    }
    return result;
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
    std::vector<int> advances;
    long width = 0;
    // Start of the baseline in device coordinates.
    double startX = 0, startY = 0;
};

RunLayout layoutRun(DeviceContext& dc, FontFace& face, const WideString& text, const INT* distances,
                    TPoint reference, const Baseline& baseline) {
    RunLayout run;
    for (std::size_t i = 0; i < text.size(); ++i) {
        int advance = distances ? distances[i] : face.Advance(text[i]) + dc.state.characterExtra;
        run.advances.push_back(advance);
        run.width += advance;
    }
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

// A band along the baseline from `from` to `to` pixels, `offset` pixels down from it and `thickness` deep.
Region bandAlongBaseline(const RunLayout& run, const Baseline& baseline, double from, double to,
                         double offset, double thickness) {
    if (baseline.Horizontal()) {
        int left = static_cast<int>(std::lround(run.startX + from));
        int top = static_cast<int>(std::lround(run.startY + offset));
        return Region(
            TRect{left, top, left + static_cast<int>(to - from), top + static_cast<int>(thickness)});
    }
    auto corner = [&](double along, double down) {
        return TPoint{
            static_cast<int>(std::lround(run.startX + along * baseline.alongX + down * baseline.downX)),
            static_cast<int>(std::lround(run.startY + along * baseline.alongY + down * baseline.downY))};
    };
    TPoint corners[4] = {corner(from, offset), corner(to, offset), corner(to, offset + thickness),
                         corner(from, offset + thickness)};
    return Region::Polygon(corners, 4, ALTERNATE);
}

void drawGlyph(Painter& painter, const Region& clip, const GlyphImage& glyph, int penX, int penY,
               Pixel colour) {
    if (glyph.width == 0 || glyph.height == 0) return;
    bool monochrome = painter.Surface().IsMonochrome();
    int left = penX + glyph.left, top = penY - glyph.top;
    for (int row = 0; row < glyph.height; ++row) {
        int y = top + row;
        const RegionBand* band = clip.BandAt(y);
        if (!band) continue;
        const Byte* coverage = glyph.coverage.data() + static_cast<std::size_t>(row) * glyph.width;
        for (const RegionSpan& span : band->spans) {
            int from = std::max(span.left, left), to = std::min(span.right, left + glyph.width);
            if (from >= to) continue;
            Pixel* destination = painter.PixelAt(from, y);
            for (int x = from; x < to; ++x, ++destination) {
                int amount = coverage[x - left];
                if (amount == 0) continue;
                if (monochrome)
                    *destination = amount >= halfCoverage ? colour : *destination;
                else
                    *destination = amount == fullCoverage ? colour : blend(*destination, colour, amount);
            }
        }
    }
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

    Region clip = painter.Clip();
    if (rect && (options & ETO_OPAQUE))
        painter.FillRect(dc.ToDevice(*rect), Paint::Solid(background), RopTableOf(PATCOPY));
    if (rect && (options & ETO_CLIPPED)) clip = clip.Intersect(Region(dc.ToDevice(*rect)));
    if (dc.state.backgroundMode == OPAQUE && run.width > 0)
        painter.FillRegion(bandAlongBaseline(run, baseline, 0, run.width, -metrics.tmAscent, metrics.tmHeight)
                               .Intersect(clip),
                           Paint::Solid(background), RopTableOf(PATCOPY));

    double pen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        int penX = static_cast<int>(std::lround(run.startX + pen * baseline.alongX));
        int penY = static_cast<int>(std::lround(run.startY + pen * baseline.alongY));
        drawGlyph(painter, clip, face.Glyph(text[i]), penX, penY, textColour);
        pen += run.advances[i];
    }
    const FaceLines& lines = face.Lines();
    if (font.logFont.lfUnderline && run.width > 0)
        painter.FillRegion(
            bandAlongBaseline(run, baseline, 0, run.width, lines.underlineOffset, lines.underlineThickness)
                .Intersect(clip),
            Paint::Solid(textColour), RopTableOf(PATCOPY));
    if (font.logFont.lfStrikeOut && run.width > 0)
        painter.FillRegion(
            bandAlongBaseline(run, baseline, 0, run.width, -lines.strikeoutOffset, lines.strikeoutThickness)
                .Intersect(clip),
            Paint::Solid(textColour), RopTableOf(PATCOPY));
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
