// Cosmetic (one-pixel, possibly styled) lines are stepped pixel by pixel;
// wide lines and shape outlines are regions filled once, so that a mix mode
// such as R2_XORPEN touches each pixel exactly once.
#include "platform/win/Drawing.h"

#include "platform/win/GdiObjects.h"
#include "platform/win/Painter.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

// ---- Pens ----

struct ResolvedPen {
    bool visible = true;
    int width = 1;
    UINT style = PS_SOLID;
    Pixel colour = PixelBlack;

    bool Cosmetic() const { return width <= 1; }
    bool Styled() const { return Cosmetic() && style >= PS_DASH && style <= PS_DASHDOTDOT; }
    bool InsideFrame() const { return style == PS_INSIDEFRAME; }
};

ResolvedPen penOf(const DeviceContext& dc) {
    ResolvedPen pen;
    const PenObject* object = LookupPen(dc.state.pen);
    if (!object) return pen;
    pen.style = object->logPen.lopnStyle & PS_STYLE_MASK;
    pen.visible = pen.style != PS_NULL;
    pen.width = std::max<int>(object->logPen.lopnWidth.x, 1);
    pen.colour = ResolveColour(dc, object->logPen.lopnColor);
    return pen;
}

// On and off lengths of the styled cosmetic pens.
const std::vector<int>& styleDashes(UINT style) {
    static const std::vector<int> dash = {18, 6}, dot = {3, 3}, dashDot = {9, 6, 3, 6},
                                  dashDotDot = {9, 3, 3, 3, 3, 3}, solid = {1, 0};
    switch (style) {
    case PS_DASH:
        return dash;
    case PS_DOT:
        return dot;
    case PS_DASHDOT:
        return dashDot;
    case PS_DASHDOTDOT:
        return dashDotDot;
    default:
        return solid;
    }
}

// Steps a cosmetic line and remembers where in its dash pattern it is.
class CosmeticLine {
public:
    CosmeticLine(Painter& painter, const ResolvedPen& pen, RopTable mix)
        : painter_(painter), pen_(pen), mix_(mix), dashes_(styleDashes(pen.style)) {
        const DeviceContext& dc = painter.DC();
        gapColour_ = ResolveColour(dc, dc.state.backgroundColor);
        opaqueGaps_ = dc.state.backgroundMode == OPAQUE;
        for (int length : dashes_)
            period_ += length;
    }

    // From `from` to `to` in device coordinates, without the end point.
    void Draw(TPoint from, TPoint to) {
        int dx = std::abs(to.x - from.x), dy = -std::abs(to.y - from.y);
        int stepX = from.x < to.x ? 1 : -1, stepY = from.y < to.y ? 1 : -1;
        int error = dx + dy;
        TPoint at = from;
        while (at != to) {
            plot(at);
            int doubled = 2 * error;
            if (doubled >= dy) {
                error += dy;
                at.x += stepX;
            }
            if (doubled <= dx) {
                error += dx;
                at.y += stepY;
            }
        }
    }

    void DrawPoint(TPoint at) { plot(at); }

private:
    bool dashOn() const {
        int position = styleCounter_ % period_;
        for (std::size_t i = 0; i < dashes_.size(); ++i) {
            if (position < dashes_[i]) return i % 2 == 0;
            position -= dashes_[i];
        }
        return true;
    }

    void plot(TPoint at) {
        bool on = !pen_.Styled() || dashOn();
        ++styleCounter_;
        if (on)
            painter_.Plot(at.x, at.y, pen_.colour, mix_);
        else if (opaqueGaps_)
            painter_.Plot(at.x, at.y, gapColour_, mix_);
    }

    Painter& painter_;
    const ResolvedPen& pen_;
    RopTable mix_;
    const std::vector<int>& dashes_;
    int period_ = 0;
    int styleCounter_ = 0;
    Pixel gapColour_ = PixelWhite;
    bool opaqueGaps_ = true;
};

// ---- Wide lines ----

// The rows of a round pen tip of the given width, as (top offset, left, right) per row.
struct PenTipRow {
    int dy, left, right;
};

std::vector<PenTipRow> penTip(int width) {
    std::vector<PenTipRow> rows;
    double radius = width / 2.0;
    int start = -(width - 1) / 2;
    for (int j = 0; j < width; ++j) {
        double centre = j + 0.5 - radius;
        double half = std::sqrt(std::max(0.0, radius * radius - centre * centre));
        int left = width, right = -1;
        for (int i = 0; i < width; ++i)
            if (std::abs(i + 0.5 - radius) < half) {
                left = std::min(left, i);
                right = std::max(right, i);
            }
        if (right < left) left = right = (width - 1) / 2;
        rows.push_back({start + j, start + left, start + right + 1});
    }
    return rows;
}

// The pixels a round pen of `width` covers along the line, both ends included.
Region wideLineRegion(TPoint from, TPoint to, int width) {
    std::vector<PenTipRow> tip = penTip(width);
    int reach = width;
    int top = std::min(from.y, to.y) - reach, bottom = std::max(from.y, to.y) + reach + 1;
    std::vector<RegionSpan> rows(static_cast<std::size_t>(bottom - top), RegionSpan{0, 0});
    std::vector<bool> used(rows.size(), false);
    auto stamp = [&](TPoint at) {
        for (const PenTipRow& row : tip) {
            auto index = static_cast<std::size_t>(at.y + row.dy - top);
            RegionSpan span{at.x + row.left, at.x + row.right};
            if (!used[index]) {
                rows[index] = span;
                used[index] = true;
            } else {
                rows[index].left = std::min(rows[index].left, span.left);
                rows[index].right = std::max(rows[index].right, span.right);
            }
        }
    };
    int dx = std::abs(to.x - from.x), dy = -std::abs(to.y - from.y);
    int stepX = from.x < to.x ? 1 : -1, stepY = from.y < to.y ? 1 : -1;
    int error = dx + dy;
    TPoint at = from;
    for (;;) {
        stamp(at);
        if (at == to) break;
        int doubled = 2 * error;
        if (doubled >= dy) {
            error += dy;
            at.x += stepX;
        }
        if (doubled <= dx) {
            error += dx;
            at.y += stepY;
        }
    }
    std::vector<std::vector<RegionSpan>> spans(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (used[i]) spans[i].push_back(rows[i]);
    return Region::FromRows(top, spans);
}

// ---- Keeping work to the visible part ----

constexpr int longLine = 1 << 15;

TRect inflated(const TRect& rect, int by) {
    return {rect.Left - by, rect.Top - by, rect.Right + by, rect.Bottom + by};
}

// Cuts the segment to `limit` (Liang-Barsky); false when nothing of it lies inside.
bool clipSegment(TPoint& from, TPoint& to, const TRect& limit) {
    double x0 = from.x, y0 = from.y, dx = to.x - from.x, dy = to.y - from.y;
    double enter = 0.0, leave = 1.0;
    auto edge = [&](double direction, double distance) {
        if (direction == 0.0) return distance >= 0.0;
        double t = distance / direction;
        if (direction < 0.0)
            enter = std::max(enter, t);
        else
            leave = std::min(leave, t);
        return enter <= leave;
    };
    if (!edge(-dx, x0 - limit.Left) || !edge(dx, limit.Right - x0) || !edge(-dy, y0 - limit.Top) ||
        !edge(dy, limit.Bottom - y0))
        return false;
    TPoint clippedFrom{static_cast<int>(std::lround(x0 + enter * dx)),
                       static_cast<int>(std::lround(y0 + enter * dy))};
    TPoint clippedTo{static_cast<int>(std::lround(x0 + leave * dx)),
                     static_cast<int>(std::lround(y0 + leave * dy))};
    from = clippedFrom;
    to = clippedTo;
    return true;
}

// ---- Drawing with the DC's pen and brush ----

struct ShapeDrawing {
    explicit ShapeDrawing(DeviceContext& context)
        : dc(context), painter(context), mix(RopTableOfMixMode(context.state.mixMode)), pen(penOf(context)),
          brush(Paint::OfBrush(context, LookupBrush(context.state.brush))),
          limit(inflated(painter.Clip().Bounds(), pen.width + 2)) {}

    void StrokePolyline(const std::vector<TPoint>& devicePoints, bool closed) {
        if (!pen.visible || devicePoints.empty()) return;
        std::vector<TPoint> points = devicePoints;
        if (closed) points.push_back(points.front());
        if (pen.Cosmetic()) {
            CosmeticLine line(painter, pen, mix);
            if (points.size() == 1) line.DrawPoint(points.front());
            for (std::size_t i = 0; i + 1 < points.size(); ++i) {
                TPoint from = points[i], to = points[i + 1];
                bool huge = std::abs(to.x - from.x) > longLine || std::abs(to.y - from.y) > longLine;
                if (!huge || clipSegment(from, to, limit)) line.Draw(from, to);
            }
            return;
        }
        Region stroke;
        for (std::size_t i = 0; i + 1 < points.size(); ++i) {
            TPoint from = points[i], to = points[i + 1];
            if (clipSegment(from, to, limit)) stroke = stroke.Unite(wideLineRegion(from, to, pen.width));
        }
        painter.FillRegion(stroke, Paint::Solid(pen.colour), mix);
    }

    void FillInterior(const Region& interior) { painter.FillRegion(interior, brush, mix); }
    void FillOutline(const Region& outline) {
        if (pen.visible) painter.FillRegion(outline, Paint::Solid(pen.colour), mix);
    }

    DeviceContext& dc;
    Painter painter;
    RopTable mix;
    ResolvedPen pen;
    Paint brush;
    // The clip's bounds with room for the pen: shapes are worked out only there.
    TRect limit;
};

template <typename Action> BOOL withDC(HDC dcHandle, Action action) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(dcHandle);
    if (!dc) return FALSE;
    action(*dc);
    return TRUE;
}

TRect normalised(int left, int top, int right, int bottom) {
    return {std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
}

// The boxes of a shape's outline: the pen is centred on the shape's edge
// unless it is an inside-frame pen, which stays within the box.
struct OutlineBoxes {
    TRect outer, inner;
};

OutlineBoxes outlineBoxes(const TRect& box, const ResolvedPen& pen) {
    int half = pen.InsideFrame() ? 0 : (pen.width - 1) / 2;
    TRect outer = inflated(box, half);
    return {outer, inflated(outer, -pen.width)};
}

// ---- Arcs ----

struct ArcGeometry {
    double centreX, centreY;
    double startAngle, sweep;
    bool whole;

    ArcGeometry(const TRect& box, TPoint start, TPoint end) {
        centreX = (box.Left + box.Right) / 2.0;
        centreY = (box.Top + box.Bottom) / 2.0;
        startAngle = angleOf(start.x, start.y);
        double endAngle = angleOf(end.x, end.y);
        sweep = counterClockwise(startAngle, endAngle);
        whole = sweep == 0.0;
    }
    // Angles grow counter-clockwise on the screen (y grows downwards).
    double angleOf(double x, double y) const { return std::atan2(centreY - y, x - centreX); }
    static double counterClockwise(double from, double to) {
        double turn = 2 * std::numbers::pi;
        double difference = std::fmod(to - from, turn);
        return difference < 0 ? difference + turn : difference;
    }
    bool Contains(int x, int y) const {
        return whole || counterClockwise(startAngle, angleOf(x + 0.5, y + 0.5)) <= sweep;
    }
    // Where the radial at `angle` meets the edge of the ellipse in `box`.
    TPoint EdgePoint(const TRect& box, double angle) const {
        double rx = std::max((box.Width() - 1) / 2.0, 0.0), ry = std::max((box.Height() - 1) / 2.0, 0.0);
        return {static_cast<int>(std::lround(centreX - 0.5 + rx * std::cos(angle))),
                static_cast<int>(std::lround(centreY - 0.5 - ry * std::sin(angle)))};
    }
};

Region sectorOf(const Region& region, const ArcGeometry& arc) {
    if (arc.whole || region.IsEmpty()) return region;
    TRect bounds = region.Bounds();
    std::vector<std::vector<RegionSpan>> rows(static_cast<std::size_t>(bounds.Height()));
    for (const RegionBand& band : region.Bands())
        for (int y = band.top; y < band.bottom; ++y)
            for (const RegionSpan& span : band.spans)
                for (int x = span.left; x < span.right; ++x) {
                    if (!arc.Contains(x, y)) continue;
                    auto& row = rows[static_cast<std::size_t>(y - bounds.Top)];
                    if (!row.empty() && row.back().right == x)
                        row.back().right = x + 1;
                    else
                        row.push_back({x, x + 1});
                }
    return Region::FromRows(bounds.Top, rows);
}

void drawArc(HDC dcHandle, const TRect& logicalBox, TPoint logicalStart, TPoint logicalEnd, bool pie) {
    withDC(dcHandle, [&](DeviceContext& dc) {
        ShapeDrawing drawing(dc);
        TRect box = dc.ToDevice(logicalBox);
        ArcGeometry arc(box, dc.ToDevice(logicalStart), dc.ToDevice(logicalEnd));
        OutlineBoxes boxes = outlineBoxes(box, drawing.pen);
        if (pie) {
            Region interior =
                drawing.pen.visible
                    ? Region::Ellipse(boxes.inner, drawing.limit)
                    : Region::Ellipse({box.Left, box.Top, box.Right - 1, box.Bottom - 1}, drawing.limit);
            drawing.FillInterior(sectorOf(interior.Intersect(Region(drawing.limit)), arc));
        }
        if (!drawing.pen.visible) return;
        Region ring = Region::Ellipse(boxes.outer, drawing.limit)
                          .Subtract(Region::Ellipse(boxes.inner, drawing.limit))
                          .Intersect(Region(drawing.limit));
        drawing.FillOutline(sectorOf(ring, arc));
        if (pie && !arc.whole) {
            TPoint centre{static_cast<int>(std::floor(arc.centreX - 0.5)),
                          static_cast<int>(std::floor(arc.centreY - 0.5))};
            drawing.StrokePolyline(
                {arc.EdgePoint(box, arc.startAngle), centre, arc.EdgePoint(box, arc.startAngle + arc.sweep)},
                false);
        }
    });
}

} // namespace

BOOL MoveToEx(HDC dcHandle, int x, int y, LPPOINT previous) {
    return withDC(dcHandle, [&](DeviceContext& dc) {
        if (previous) *previous = dc.state.currentPosition;
        dc.state.currentPosition = {x, y};
    });
}

BOOL LineTo(HDC dcHandle, int x, int y) {
    return withDC(dcHandle, [&](DeviceContext& dc) {
        ShapeDrawing drawing(dc);
        drawing.StrokePolyline({dc.ToDevice(dc.state.currentPosition), dc.ToDevice(TPoint{x, y})}, false);
        dc.state.currentPosition = {x, y};
    });
}

BOOL GetCurrentPositionEx(HDC dcHandle, LPPOINT position) {
    return withDC(dcHandle, [&](DeviceContext& dc) {
        if (position) *position = dc.state.currentPosition;
    });
}

BOOL Polyline(HDC dcHandle, const POINT* points, int count) {
    if (!points || count < 2) return FALSE;
    return withDC(dcHandle, [&](DeviceContext& dc) {
        std::vector<TPoint> device;
        for (int i = 0; i < count; ++i)
            device.push_back(dc.ToDevice(points[i]));
        ShapeDrawing(dc).StrokePolyline(device, false);
    });
}

BOOL Polygon(HDC dcHandle, const POINT* points, int count) {
    if (!points || count < 2) return FALSE;
    return withDC(dcHandle, [&](DeviceContext& dc) {
        std::vector<TPoint> device;
        for (int i = 0; i < count; ++i)
            device.push_back(dc.ToDevice(points[i]));
        ShapeDrawing drawing(dc);
        drawing.FillInterior(Region::Polygon(device.data(), count, dc.state.polyFillMode, drawing.limit));
        drawing.StrokePolyline(device, true);
    });
}

BOOL Rectangle(HDC dcHandle, int left, int top, int right, int bottom) {
    return withDC(dcHandle, [&](DeviceContext& dc) {
        ShapeDrawing drawing(dc);
        TRect box = dc.ToDevice(normalised(left, top, right, bottom));
        if (!drawing.pen.visible) {
            drawing.FillInterior(Region({box.Left, box.Top, box.Right - 1, box.Bottom - 1}));
            return;
        }
        OutlineBoxes boxes = outlineBoxes(box, drawing.pen);
        drawing.FillInterior(Region(boxes.inner));
        if (drawing.pen.Styled())
            drawing.StrokePolyline({{box.Left, box.Top},
                                    {box.Right - 1, box.Top},
                                    {box.Right - 1, box.Bottom - 1},
                                    {box.Left, box.Bottom - 1}},
                                   true);
        else
            drawing.FillOutline(Region(boxes.outer).Subtract(Region(boxes.inner)));
    });
}

BOOL RoundRect(HDC dcHandle, int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight) {
    return withDC(dcHandle, [&](DeviceContext& dc) {
        ShapeDrawing drawing(dc);
        TRect box = dc.ToDevice(normalised(left, top, right, bottom));
        if (!drawing.pen.visible) {
            drawing.FillInterior(Region::RoundRect({box.Left, box.Top, box.Right - 1, box.Bottom - 1},
                                                   ellipseWidth, ellipseHeight, drawing.limit));
            return;
        }
        OutlineBoxes boxes = outlineBoxes(box, drawing.pen);
        int innerWidth = ellipseWidth - 2 * drawing.pen.width,
            innerHeight = ellipseHeight - 2 * drawing.pen.width;
        Region inner = Region::RoundRect(boxes.inner, innerWidth, innerHeight, drawing.limit);
        drawing.FillInterior(inner);
        drawing.FillOutline(
            Region::RoundRect(boxes.outer, ellipseWidth, ellipseHeight, drawing.limit).Subtract(inner));
    });
}

BOOL Ellipse(HDC dcHandle, int left, int top, int right, int bottom) {
    return withDC(dcHandle, [&](DeviceContext& dc) {
        ShapeDrawing drawing(dc);
        TRect box = dc.ToDevice(normalised(left, top, right, bottom));
        if (!drawing.pen.visible) {
            drawing.FillInterior(
                Region::Ellipse({box.Left, box.Top, box.Right - 1, box.Bottom - 1}, drawing.limit));
            return;
        }
        OutlineBoxes boxes = outlineBoxes(box, drawing.pen);
        Region inner = Region::Ellipse(boxes.inner, drawing.limit);
        drawing.FillInterior(inner);
        drawing.FillOutline(Region::Ellipse(boxes.outer, drawing.limit).Subtract(inner));
    });
}

BOOL Arc(HDC dc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) {
    if (!LookupDC(dc)) return FALSE;
    drawArc(dc, normalised(left, top, right, bottom), {xStart, yStart}, {xEnd, yEnd}, false);
    return TRUE;
}

BOOL Pie(HDC dc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) {
    if (!LookupDC(dc)) return FALSE;
    drawArc(dc, normalised(left, top, right, bottom), {xStart, yStart}, {xEnd, yEnd}, true);
    return TRUE;
}

int FillRect(HDC dcHandle, const RECT* rect, HBRUSH brushHandle) {
    if (!rect) return FALSE;
    GdiLock lock(GdiMutex());
    BrushObject* brush = LookupBrush(brushHandle);
    if (!brush) return FALSE;
    return withDC(dcHandle, [&](DeviceContext& dc) {
        Painter painter(dc);
        painter.FillRect(dc.ToDevice(*rect), Paint::OfBrush(dc, brush), RopTableOf(PATCOPY));
    });
}

int FrameRect(HDC dcHandle, const RECT* rect, HBRUSH brushHandle) {
    if (!rect) return FALSE;
    GdiLock lock(GdiMutex());
    BrushObject* brush = LookupBrush(brushHandle);
    if (!brush) return FALSE;
    return withDC(dcHandle, [&](DeviceContext& dc) {
        TRect box = dc.ToDevice(*rect);
        if (box.Width() <= 0 || box.Height() <= 0) return;
        Region frame = Region(box).Subtract(Region(inflated(box, -1)));
        Painter(dc).FillRegion(frame, Paint::OfBrush(dc, brush), RopTableOf(PATCOPY));
    });
}

BOOL InvertRect(HDC dcHandle, const RECT* rect) {
    if (!rect) return FALSE;
    return withDC(dcHandle, [&](DeviceContext& dc) {
        Painter(dc).FillRect(dc.ToDevice(*rect), Paint::Solid(PixelBlack), RopTableOf(DSTINVERT));
    });
}

BOOL DrawFocusRect(HDC dcHandle, const RECT* rect) {
    if (!rect) return FALSE;
    return withDC(dcHandle, [&](DeviceContext& dc) {
        TRect box = dc.ToDevice(*rect);
        if (box.Width() <= 0 || box.Height() <= 0) return;
        Painter painter(dc);
        Region frame = Region(box).Subtract(Region(inflated(box, -1)));
        RopTable invert = RopTableOf(DSTINVERT);
        for (const RegionBand& band : frame.Bands())
            for (int y = band.top; y < band.bottom; ++y)
                for (const RegionSpan& span : band.spans)
                    for (int x = span.left; x < span.right; ++x)
                        if ((x - box.Left + y - box.Top) % 2 == 0) painter.Plot(x, y, PixelBlack, invert);
    });
}

COLORREF SetPixel(HDC dcHandle, int x, int y, COLORREF color) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(dcHandle);
    if (!dc) return CLR_INVALID;
    Painter painter(*dc);
    TPoint at = dc->ToDevice(TPoint{x, y});
    if (!painter.CanPaint() || !painter.Clip().Contains(at.x, at.y)) return CLR_INVALID;
    Pixel pixel = ResolveColour(*dc, color);
    *painter.PixelAt(at.x, at.y) = pixel;
    return ColorRefFromPixel(pixel);
}

BOOL SetPixelV(HDC dc, int x, int y, COLORREF color) {
    return SetPixel(dc, x, y, color) != CLR_INVALID;
}

COLORREF GetPixel(HDC dcHandle, int x, int y) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(dcHandle);
    if (!dc) return CLR_INVALID;
    Painter painter(*dc);
    TPoint at = dc->ToDevice(TPoint{x, y});
    if (!painter.CanPaint() || !painter.Clip().Contains(at.x, at.y)) return CLR_INVALID;
    if (dc->refreshBeforeRead)
        dc->refreshBeforeRead({at.x + dc->surfaceOrigin.x, at.y + dc->surfaceOrigin.y,
                               at.x + dc->surfaceOrigin.x + 1, at.y + dc->surfaceOrigin.y + 1});
    return ColorRefFromPixel(*painter.PixelAt(at.x, at.y));
}
