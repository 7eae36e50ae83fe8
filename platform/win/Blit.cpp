// Every blit reduces to rows of (pattern, source, destination) pixels handed
// to the raster operation; the source is first brought to the destination's
// kind (colour or monochrome).
#include "platform/win/Blit.h"

#include "platform/win/GdiObjects.h"
#include "platform/win/Painter.h"

#include <algorithm>
#include <vector>

namespace {

// How source pixels are seen by a destination of the other kind.
struct SourceConversion {
    enum class Kind { None, MonochromeToColour, ColourToMonochrome } kind = Kind::None;
    Pixel textColour = PixelBlack;
    Pixel backgroundColour = PixelWhite;
    Pixel sourceBackground = PixelWhite;

    Pixel operator()(Pixel pixel) const {
        switch (kind) {
        case Kind::MonochromeToColour:
            return pixel ? backgroundColour : textColour;
        case Kind::ColourToMonochrome:
            return (pixel & PixelColourMask) == sourceBackground ? PixelWhite : PixelBlack;
        default:
            return pixel;
        }
    }
};

SourceConversion conversionBetween(const DeviceContext& source, const DeviceContext& destination) {
    SourceConversion conversion;
    bool sourceMonochrome = source.surface->IsMonochrome();
    bool destinationMonochrome = destination.surface->IsMonochrome();
    if (sourceMonochrome && !destinationMonochrome) {
        conversion.kind = SourceConversion::Kind::MonochromeToColour;
        conversion.textColour = ResolveColour(destination, destination.state.textColor);
        conversion.backgroundColour = ResolveColour(destination, destination.state.backgroundColor);
    } else if (!sourceMonochrome && destinationMonochrome) {
        conversion.kind = SourceConversion::Kind::ColourToMonochrome;
        conversion.sourceBackground = ResolveColour(source, source.state.backgroundColor);
    }
    return conversion;
}

struct RowScratch {
    std::vector<Pixel> source, pattern;
    std::vector<Byte> drawn;
    void Reserve(int count) {
        auto size = static_cast<std::size_t>(count);
        if (source.size() < size) {
            source.resize(size);
            pattern.resize(size);
            drawn.resize(size);
        }
    }
};

RowScratch& rowScratch() {
    thread_local RowScratch scratch;
    return scratch;
}

// The source as a blit reads it: a surface and the offset from destination
// device coordinates to that surface's coordinates.
struct BlitSource {
    const PixelSurface* surface = nullptr;
    TPoint offset;
    SourceConversion conversion;
};

void blitSpan(Painter& painter, int x, int y, int count, const BlitSource& source, const Paint& pattern,
              RopTable table) {
    RowScratch& scratch = rowScratch();
    scratch.Reserve(count);
    const Pixel* sourceRow = nullptr;
    if (source.surface) {
        const Pixel* from = source.surface->Row(y + source.offset.y) + x + source.offset.x;
        std::transform(from, from + count, scratch.source.begin(), source.conversion);
        sourceRow = scratch.source.data();
    }
    const Pixel* patternRow = nullptr;
    bool gaps = pattern.HasGaps();
    if (RopUsesPattern(table) && !pattern.IsNone()) {
        pattern.Row(x, y, count, scratch.pattern.data(), gaps ? scratch.drawn.data() : nullptr);
        if (painter.Surface().IsMonochrome())
            std::transform(scratch.pattern.begin(), scratch.pattern.begin() + count, scratch.pattern.begin(),
                           NearestMonochrome);
        patternRow = scratch.pattern.data();
    } else {
        gaps = false;
    }
    Pixel* destination = painter.PixelAt(x, y);
    if (!gaps) {
        ApplyRopToRow(table, destination, sourceRow, patternRow, count);
        return;
    }
    for (int i = 0; i < count; ++i)
        if (scratch.drawn[static_cast<std::size_t>(i)])
            destination[i] = ApplyRop(table, patternRow[i], sourceRow ? sourceRow[i] : 0, destination[i]);
}

void blitRect(Painter& painter, const TRect& deviceRect, const BlitSource& source, RopTable table) {
    DeviceContext& dc = painter.DC();
    Paint pattern = RopUsesPattern(table) ? Paint::OfBrush(dc, LookupBrush(dc.state.brush)) : Paint::None();
    if (RopUsesPattern(table) && pattern.IsNone()) return;
    Region area = Region(deviceRect).Intersect(painter.Clip());
    for (const RegionBand& band : area.Bands())
        for (int y = band.top; y < band.bottom; ++y)
            for (const RegionSpan& span : band.spans)
                blitSpan(painter, span.left, y, span.right - span.left, source, pattern, table);
}

TRect normalisedRect(int x, int y, int width, int height) {
    if (width < 0) {
        x += width;
        width = -width;
    }
    if (height < 0) {
        y += height;
        height = -height;
    }
    return {x, y, x + width, y + height};
}

void refreshSource(DeviceContext& source, const TRect& surfaceRect) {
    if (source.refreshBeforeRead) source.refreshBeforeRead(surfaceRect);
}

// ---- Stretching ----

// The source indexes that one destination index takes along an axis.
struct AxisSample {
    int first, last;
};

// Destination indexes [from, to) of `destinationLength`, mapped onto a source run.
struct AxisMapping {
    int destinationLength, sourceStart, sourceLength;
    bool mirrored;

    AxisSample operator()(int index) const {
        long long from = static_cast<long long>(index) * sourceLength / destinationLength;
        long long to = static_cast<long long>(index + 1) * sourceLength / destinationLength;
        int first = static_cast<int>(from), last = std::max(static_cast<int>(to) - 1, first);
        if (mirrored) return {sourceStart + sourceLength - 1 - last, sourceStart + sourceLength - 1 - first};
        return {sourceStart + first, sourceStart + last};
    }
};

// The run within [from, to) of destination indexes whose samples lie wholly inside [0, limit).
std::pair<int, int> validRun(const AxisMapping& mapping, int from, int to, int limit) {
    auto inside = [&](int index) {
        AxisSample sample = mapping(index);
        return sample.first >= 0 && sample.last < limit;
    };
    while (from < to && !inside(from))
        ++from;
    while (to > from && !inside(to - 1))
        --to;
    return {from, to};
}

// BLACKONWHITE and WHITEONBLACK merge the source's own pixels (its black or
// white bits win) before conversion; HALFTONE averages the converted colours.
Pixel mergeBlock(const PixelSurface& source, const AxisSample& across, const AxisSample& down, int mode,
                 const SourceConversion& conversion) {
    if (mode == COLORONCOLOR) return conversion(source.At(across.first, down.first));
    Pixel andAll = PixelColourMask, orAll = 0;
    unsigned red = 0, green = 0, blue = 0, count = 0;
    for (int y = down.first; y <= down.last; ++y)
        for (int x = across.first; x <= across.last; ++x) {
            Pixel pixel = source.At(x, y), converted = conversion(pixel);
            andAll &= pixel;
            orAll |= pixel;
            red += (converted >> 16) & 0xFF;
            green += (converted >> 8) & 0xFF;
            blue += converted & 0xFF;
            ++count;
        }
    switch (mode) {
    case WHITEONBLACK:
        return conversion(orAll);
    case HALFTONE:
        return ((red / count) << 16) | ((green / count) << 8) | (blue / count);
    default:
        return conversion(andAll);
    }
}

struct StretchRequest {
    TRect destination; // device coordinates, normalised
    TRect source;      // source surface coordinates, normalised
    bool mirrorX, mirrorY;
};

// The visible part of the destination, filled with the stretched source
// converted to the destination's kind; `request.destination` becomes that part.
std::shared_ptr<PixelSurface> stretchedSource(const PixelSurface& source, StretchRequest& request,
                                              const TRect& visible, const SourceConversion& conversion,
                                              int mode, bool monochrome) {
    const TRect& target = request.destination;
    AxisMapping across{target.Width(), request.source.Left, request.source.Width(), request.mirrorX};
    AxisMapping down{target.Height(), request.source.Top, request.source.Height(), request.mirrorY};
    auto [left, right] = validRun(across, std::max(visible.Left - target.Left, 0),
                                  std::min(visible.Right - target.Left, target.Width()), source.Width());
    auto [top, bottom] = validRun(down, std::max(visible.Top - target.Top, 0),
                                  std::min(visible.Bottom - target.Top, target.Height()), source.Height());
    auto stretched =
        std::make_shared<PixelSurface>(std::max(right - left, 0), std::max(bottom - top, 0), monochrome);
    for (int y = top; y < bottom; ++y) {
        AxisSample rows = down(y);
        for (int x = left; x < right; ++x)
            stretched->Set(x - left, y - top, mergeBlock(source, across(x), rows, mode, conversion));
    }
    request.destination = {target.Left + left, target.Top + top, target.Left + right, target.Top + bottom};
    return stretched;
}

// A mirrored extent counts from its origin pixel backwards.
std::pair<int, int> extentRange(int origin, int length) {
    return length < 0 ? std::pair{origin + length + 1, origin + 1} : std::pair{origin, origin + length};
}

} // namespace

BOOL PatBlt(HDC dcHandle, int x, int y, int width, int height, DWORD rop) {
    RopTable table = RopTableOf(rop);
    if (RopUsesSource(table)) return FALSE;
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(dcHandle);
    if (!dc) return FALSE;
    Painter painter(*dc);
    if (painter.CanPaint())
        blitRect(painter, dc->ToDevice(normalisedRect(x, y, width, height)), BlitSource{}, table);
    return TRUE;
}

BOOL BitBlt(HDC destinationHandle, int x, int y, int width, int height, HDC sourceHandle, int sourceX,
            int sourceY, DWORD rop) {
    RopTable table = RopTableOf(rop);
    if (!RopUsesSource(table)) return PatBlt(destinationHandle, x, y, width, height, rop);
    GdiLock lock(GdiMutex());
    DeviceContext* destination = LookupDC(destinationHandle);
    DeviceContext* source = LookupDC(sourceHandle);
    if (!destination || !source || !source->surface) return FALSE;
    Painter painter(*destination);
    if (!painter.CanPaint() || width <= 0 || height <= 0) return TRUE;
    TRect target = destination->ToDevice(TRect{x, y, x + width, y + height});
    TPoint sourceDevice = source->ToDevice(TPoint{sourceX, sourceY});
    TPoint sourceOnSurface{sourceDevice.x + source->surfaceOrigin.x,
                           sourceDevice.y + source->surfaceOrigin.y};
    // Only what the source surface holds is copied.
    TRect readable = source->surface->Bounds();
    TRect wanted{sourceOnSurface.x, sourceOnSurface.y, sourceOnSurface.x + width, sourceOnSurface.y + height};
    TRect available{std::max(wanted.Left, readable.Left), std::max(wanted.Top, readable.Top),
                    std::min(wanted.Right, readable.Right), std::min(wanted.Bottom, readable.Bottom)};
    if (available.Left >= available.Right || available.Top >= available.Bottom) return TRUE;
    refreshSource(*source, available);
    target = {target.Left + available.Left - wanted.Left, target.Top + available.Top - wanted.Top,
              target.Left + available.Right - wanted.Left, target.Top + available.Bottom - wanted.Top};
    BlitSource blitSource{source->surface.get(),
                          {available.Left - target.Left, available.Top - target.Top},
                          conversionBetween(*source, *destination)};
    // Copying within one surface (scrolling) reads from a snapshot.
    std::shared_ptr<PixelSurface> snapshot;
    if (source->surface == destination->surface) {
        snapshot = source->surface->Copy();
        blitSource.surface = snapshot.get();
    }
    blitRect(painter, target, blitSource, table);
    return TRUE;
}

BOOL StretchBlt(HDC destinationHandle, int x, int y, int width, int height, HDC sourceHandle, int sourceX,
                int sourceY, int sourceWidth, int sourceHeight, DWORD rop) {
    RopTable table = RopTableOf(rop);
    if (!RopUsesSource(table)) return PatBlt(destinationHandle, x, y, width, height, rop);
    if (width == sourceWidth && height == sourceHeight && width > 0 && height > 0)
        return BitBlt(destinationHandle, x, y, width, height, sourceHandle, sourceX, sourceY, rop);
    GdiLock lock(GdiMutex());
    DeviceContext* destination = LookupDC(destinationHandle);
    DeviceContext* source = LookupDC(sourceHandle);
    if (!destination || !source || !source->surface) return FALSE;
    Painter painter(*destination);
    if (!painter.CanPaint() || width == 0 || height == 0 || sourceWidth == 0 || sourceHeight == 0)
        return TRUE;
    auto [left, right] = extentRange(x, width);
    auto [top, bottom] = extentRange(y, height);
    auto [sourceLeft, sourceRight] = extentRange(sourceX, sourceWidth);
    auto [sourceTop, sourceBottom] = extentRange(sourceY, sourceHeight);
    TPoint sourceDevice = source->ToDevice(TPoint{sourceLeft, sourceTop});
    TPoint sourceOnSurface{sourceDevice.x + source->surfaceOrigin.x,
                           sourceDevice.y + source->surfaceOrigin.y};
    StretchRequest request{destination->ToDevice(TRect{left, top, right, bottom}),
                           {sourceOnSurface.x, sourceOnSurface.y,
                            sourceOnSurface.x + (sourceRight - sourceLeft),
                            sourceOnSurface.y + (sourceBottom - sourceTop)},
                           (width < 0) != (sourceWidth < 0),
                           (height < 0) != (sourceHeight < 0)};
    TRect readable = source->surface->Bounds();
    refreshSource(*source,
                  {std::max(request.source.Left, readable.Left), std::max(request.source.Top, readable.Top),
                   std::min(request.source.Right, readable.Right),
                   std::min(request.source.Bottom, readable.Bottom)});
    auto stretched = stretchedSource(*source->surface, request, painter.Clip().Bounds(),
                                     conversionBetween(*source, *destination), destination->state.stretchMode,
                                     destination->surface->IsMonochrome());
    BlitSource blitSource{stretched.get(), {-request.destination.Left, -request.destination.Top}, {}};
    blitRect(painter, request.destination, blitSource, table);
    return TRUE;
}
