// A set of pixels as the graphics layer keeps it: horizontal bands, each a
// sorted list of disjoint spans. Clip regions, window regions, shape fills and
// the region handles are all made of it. Right and bottom edges are exclusive.
#pragma once

#include "platform/win/WinTypes.h"

#include <algorithm>
#include <vector>

struct RegionSpan {
    int left = 0;
    int right = 0;
    friend bool operator==(const RegionSpan&, const RegionSpan&) = default;
};

struct RegionBand {
    int top = 0;
    int bottom = 0;
    std::vector<RegionSpan> spans;
    friend bool operator==(const RegionBand&, const RegionBand&) = default;
};

class Region {
public:
    Region() = default;
    explicit Region(const TRect& rect);

    // One row of spans per pixel row from `top` down; spans sorted and disjoint.
    static Region FromRows(int top, const std::vector<std::vector<RegionSpan>>& rows);
    // The shapes below are worked out only for the rows of `within`, so that
    // a huge shape costs no more than its visible part.
    static constexpr TRect Everywhere{-(1 << 27), -(1 << 27), 1 << 27, 1 << 27};
    // Pixels whose centres lie inside the ellipse that fills `box`.
    static Region Ellipse(const TRect& box, const TRect& within = Everywhere);
    // `box` with its corners rounded by an ellipse of the given size.
    static Region RoundRect(const TRect& box, int ellipseWidth, int ellipseHeight,
                            const TRect& within = Everywhere);
    // Pixels whose centres lie inside the polygon, by ALTERNATE or WINDING.
    static Region Polygon(const TPoint* points, int count, int fillMode, const TRect& within = Everywhere);

    bool IsEmpty() const { return bands_.empty(); }
    TRect Bounds() const;
    // NULLREGION, SIMPLEREGION or COMPLEXREGION.
    int Kind() const;
    bool Contains(int x, int y) const;
    bool Intersects(const TRect& rect) const;
    void Offset(int dx, int dy);
    // RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF or RGN_COPY.
    Region Combine(const Region& other, int mode) const;
    Region Intersect(const Region& other) const { return Combine(other, RGN_AND); }
    Region Unite(const Region& other) const { return Combine(other, RGN_OR); }
    Region Subtract(const Region& other) const { return Combine(other, RGN_DIFF); }
    std::vector<TRect> Rectangles() const;

    const std::vector<RegionBand>& Bands() const { return bands_; }
    // The band holding row y, or null.
    const RegionBand* BandAt(int y) const;
    // Calls visit(y, left, right) for each row piece of the region that lies
    // inside `rect`, top to bottom, without building the intersection.
    template <typename Visit> void ForEachSpanWithin(const TRect& rect, Visit&& visit) const;

    friend bool operator==(const Region&, const Region&) = default;

private:
    using BandIterator = std::vector<RegionBand>::const_iterator;
    // The first band that ends below row y.
    BandIterator firstBandEndingBelow(int y) const;
    void coalesce();
    std::vector<RegionBand> bands_;
};

template <typename Visit> void Region::ForEachSpanWithin(const TRect& rect, Visit&& visit) const {
    if (rect.Left >= rect.Right || rect.Top >= rect.Bottom) return;
    for (auto band = firstBandEndingBelow(rect.Top); band != bands_.end() && band->top < rect.Bottom;
         ++band) {
        auto first = std::find_if(band->spans.begin(), band->spans.end(),
                                  [&](const RegionSpan& span) { return span.right > rect.Left; });
        auto last = std::find_if(first, band->spans.end(),
                                 [&](const RegionSpan& span) { return span.left >= rect.Right; });
        if (first == last) continue;
        int bottom = std::min(band->bottom, rect.Bottom);
        for (int y = std::max(band->top, rect.Top); y < bottom; ++y)
            for (auto span = first; span != last; ++span)
                visit(y, std::max(span->left, rect.Left), std::min(span->right, rect.Right));
    }
}
