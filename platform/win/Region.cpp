// Band arithmetic for regions: combining two regions walks their bands
// together and merges the spans of each horizontal stripe.
#include "platform/win/Region.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

bool combineInside(int mode, bool inFirst, bool inSecond) {
    switch (mode) {
    case RGN_AND:
        return inFirst && inSecond;
    case RGN_OR:
        return inFirst || inSecond;
    case RGN_XOR:
        return inFirst != inSecond;
    case RGN_DIFF:
        return inFirst && !inSecond;
    default:
        return inFirst;
    }
}

std::vector<int> spanEdges(const std::vector<RegionSpan>& first, const std::vector<RegionSpan>& second) {
    std::vector<int> edges;
    edges.reserve(2 * (first.size() + second.size()));
    for (const auto& span : first) {
        edges.push_back(span.left);
        edges.push_back(span.right);
    }
    for (const auto& span : second) {
        edges.push_back(span.left);
        edges.push_back(span.right);
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    return edges;
}

bool spansCover(const std::vector<RegionSpan>& spans, std::size_t& cursor, int x) {
    while (cursor < spans.size() && spans[cursor].right <= x)
        ++cursor;
    return cursor < spans.size() && spans[cursor].left <= x;
}

std::vector<RegionSpan> combineSpans(const std::vector<RegionSpan>& first,
                                     const std::vector<RegionSpan>& second, int mode) {
    std::vector<RegionSpan> result;
    std::vector<int> edges = spanEdges(first, second);
    std::size_t firstCursor = 0, secondCursor = 0;
    for (std::size_t i = 0; i + 1 < edges.size(); ++i) {
        int x = edges[i];
        bool inside =
            combineInside(mode, spansCover(first, firstCursor, x), spansCover(second, secondCursor, x));
        if (!inside) continue;
        if (!result.empty() && result.back().right == x)
            result.back().right = edges[i + 1];
        else
            result.push_back({x, edges[i + 1]});
    }
    return result;
}

const std::vector<RegionSpan>* spansCovering(const std::vector<RegionBand>& bands, std::size_t& cursor,
                                             int y) {
    static const std::vector<RegionSpan> none;
    while (cursor < bands.size() && bands[cursor].bottom <= y)
        ++cursor;
    if (cursor < bands.size() && bands[cursor].top <= y) return &bands[cursor].spans;
    return &none;
}

std::vector<int> bandEdges(const std::vector<RegionBand>& first, const std::vector<RegionBand>& second) {
    std::vector<int> edges;
    edges.reserve(2 * (first.size() + second.size()));
    for (const auto& band : first) {
        edges.push_back(band.top);
        edges.push_back(band.bottom);
    }
    for (const auto& band : second) {
        edges.push_back(band.top);
        edges.push_back(band.bottom);
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    return edges;
}

// The pixels of a row whose centres lie strictly between two x positions.
RegionSpan spanBetween(double left, double right) {
    return {static_cast<int>(std::floor(left - 0.5)) + 1, static_cast<int>(std::ceil(right - 0.5))};
}

// Half the width of an ellipse with radii (rx, ry) at vertical distance dy from its centre.
double ellipseHalfWidth(double rx, double ry, double dy) {
    double ratio = dy / ry;
    return ratio >= 1.0 ? 0.0 : rx * std::sqrt(1.0 - ratio * ratio);
}

struct PolygonEdge {
    double x0, y0, x1, y1;
    int direction;
};

std::vector<PolygonEdge> polygonEdges(const TPoint* points, int count) {
    std::vector<PolygonEdge> edges;
    for (int i = 0; i < count; ++i) {
        const TPoint& a = points[i];
        const TPoint& b = points[(i + 1) % count];
        if (a.y == b.y) continue;
        if (a.y < b.y)
            edges.push_back({double(a.x), double(a.y), double(b.x), double(b.y), 1});
        else
            edges.push_back({double(b.x), double(b.y), double(a.x), double(a.y), -1});
    }
    return edges;
}

std::vector<RegionSpan> polygonRow(const std::vector<PolygonEdge>& edges, double sampleY, int fillMode) {
    std::vector<std::pair<double, int>> crossings;
    for (const auto& edge : edges) {
        if (sampleY < edge.y0 || sampleY >= edge.y1) continue;
        double x = edge.x0 + (sampleY - edge.y0) * (edge.x1 - edge.x0) / (edge.y1 - edge.y0);
        crossings.push_back({x, edge.direction});
    }
    std::sort(crossings.begin(), crossings.end());
    std::vector<RegionSpan> spans;
    int winding = 0;
    for (std::size_t i = 0; i + 1 < crossings.size(); ++i) {
        winding += fillMode == WINDING ? crossings[i].second : 1;
        bool inside = fillMode == WINDING ? winding != 0 : (winding % 2) != 0;
        if (!inside) continue;
        RegionSpan span = spanBetween(crossings[i].first, crossings[i + 1].first);
        if (span.left >= span.right) continue;
        if (!spans.empty() && spans.back().right >= span.left)
            spans.back().right = std::max(spans.back().right, span.right);
        else
            spans.push_back(span);
    }
    return spans;
}

} // namespace

Region::Region(const TRect& rect) {
    if (rect.Left < rect.Right && rect.Top < rect.Bottom)
        bands_.push_back({rect.Top, rect.Bottom, {{rect.Left, rect.Right}}});
}

Region Region::FromRows(int top, const std::vector<std::vector<RegionSpan>>& rows) {
    Region region;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].empty()) continue;
        int y = top + static_cast<int>(i);
        region.bands_.push_back({y, y + 1, rows[i]});
    }
    region.coalesce();
    return region;
}

Region Region::Ellipse(const TRect& box, const TRect& within) {
    return RoundRect(box, box.Width(), box.Height(), within);
}

Region Region::RoundRect(const TRect& box, int ellipseWidth, int ellipseHeight, const TRect& within) {
    if (box.Width() <= 0 || box.Height() <= 0) return {};
    double rx = std::clamp(ellipseWidth, 0, box.Width()) / 2.0;
    double ry = std::clamp(ellipseHeight, 0, box.Height()) / 2.0;
    int top = std::max(box.Top, within.Top), bottom = std::min(box.Bottom, within.Bottom);
    if (top >= bottom) return {};
    if (rx < 1.0 || ry < 1.0) return Region({box.Left, top, box.Right, bottom});
    std::vector<std::vector<RegionSpan>> rows(static_cast<std::size_t>(bottom - top));
    double cornerTop = box.Top + ry, cornerBottom = box.Bottom - ry;
    for (int y = top; y < bottom; ++y) {
        double centreY = y + 0.5;
        double dy = centreY < cornerTop      ? cornerTop - centreY
                    : centreY > cornerBottom ? centreY - cornerBottom
                                             : 0.0;
        double inset = rx - ellipseHalfWidth(rx, ry, dy);
        RegionSpan span = spanBetween(box.Left + inset, box.Right - inset);
        if (span.left < span.right) rows[static_cast<std::size_t>(y - top)].push_back(span);
    }
    return FromRows(top, rows);
}

Region Region::Polygon(const TPoint* points, int count, int fillMode, const TRect& within) {
    if (!points || count < 3) return {};
    int top = std::numeric_limits<int>::max(), bottom = std::numeric_limits<int>::min();
    for (int i = 0; i < count; ++i) {
        top = std::min(top, points[i].y);
        bottom = std::max(bottom, points[i].y);
    }
    top = std::max(top, within.Top);
    bottom = std::min(bottom, within.Bottom);
    if (top >= bottom) return {};
    std::vector<PolygonEdge> edges = polygonEdges(points, count);
    std::vector<std::vector<RegionSpan>> rows(static_cast<std::size_t>(bottom - top));
    for (int y = top; y < bottom; ++y)
        rows[static_cast<std::size_t>(y - top)] = polygonRow(edges, y + 0.5, fillMode);
    return FromRows(top, rows);
}

TRect Region::Bounds() const {
    if (bands_.empty()) return {};
    TRect bounds{std::numeric_limits<int>::max(), bands_.front().top, std::numeric_limits<int>::min(),
                 bands_.back().bottom};
    for (const auto& band : bands_) {
        bounds.Left = std::min(bounds.Left, band.spans.front().left);
        bounds.Right = std::max(bounds.Right, band.spans.back().right);
    }
    return bounds;
}

int Region::Kind() const {
    if (bands_.empty()) return NULLREGION;
    return bands_.size() == 1 && bands_.front().spans.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

Region::BandIterator Region::firstBandEndingBelow(int y) const {
    return std::upper_bound(bands_.begin(), bands_.end(), y,
                            [](int row, const RegionBand& candidate) { return row < candidate.bottom; });
}

const RegionBand* Region::BandAt(int y) const {
    auto band = firstBandEndingBelow(y);
    if (band == bands_.end() || band->top > y) return nullptr;
    return &*band;
}

bool Region::Contains(int x, int y) const {
    const RegionBand* band = BandAt(y);
    if (!band) return false;
    auto span =
        std::upper_bound(band->spans.begin(), band->spans.end(), x,
                         [](int column, const RegionSpan& candidate) { return column < candidate.right; });
    return span != band->spans.end() && span->left <= x;
}

bool Region::Intersects(const TRect& rect) const {
    return !Intersect(Region(rect)).IsEmpty();
}

void Region::Offset(int dx, int dy) {
    for (auto& band : bands_) {
        band.top += dy;
        band.bottom += dy;
        for (auto& span : band.spans) {
            span.left += dx;
            span.right += dx;
        }
    }
}

Region Region::Combine(const Region& other, int mode) const {
    if (mode == RGN_COPY) return *this;
    Region result;
    std::vector<int> edges = bandEdges(bands_, other.bands_);
    std::size_t firstCursor = 0, secondCursor = 0;
    for (std::size_t i = 0; i + 1 < edges.size(); ++i) {
        int top = edges[i];
        const auto* firstSpans = spansCovering(bands_, firstCursor, top);
        const auto* secondSpans = spansCovering(other.bands_, secondCursor, top);
        std::vector<RegionSpan> spans = combineSpans(*firstSpans, *secondSpans, mode);
        if (!spans.empty()) result.bands_.push_back({top, edges[i + 1], std::move(spans)});
    }
    result.coalesce();
    return result;
}

std::vector<TRect> Region::Rectangles() const {
    std::vector<TRect> rectangles;
    for (const auto& band : bands_)
        for (const auto& span : band.spans)
            rectangles.push_back({span.left, band.top, span.right, band.bottom});
    return rectangles;
}

void Region::coalesce() {
    std::vector<RegionBand> merged;
    for (auto& band : bands_) {
        if (band.spans.empty() || band.top >= band.bottom) continue;
        if (!merged.empty() && merged.back().bottom == band.top && merged.back().spans == band.spans)
            merged.back().bottom = band.bottom;
        else
            merged.push_back(std::move(band));
    }
    bands_ = std::move(merged);
}
