// Painting into a device context's surface within its clip: spans of solid,
// hatched or patterned pixels combined with the destination by a raster
// operation. The drawing units build on it; it knows nothing of handles.
#pragma once

#include "platform/win/GdiObjects.h"
#include "platform/win/RasterOps.h"

// The colour of a device-context colour on its surface: palette indexes
// resolved, and black or white on a monochrome surface.
Pixel ResolveColour(const DeviceContext& dc, COLORREF color);

// What a span is painted with, resolved for one device context.
class Paint {
public:
    static Paint None() { return Paint(); }
    static Paint Solid(Pixel colour);
    // Null brushes and BS_NULL give None; hatch backgrounds follow the DC's
    // background mode and colour, monochrome patterns its text and background colours.
    static Paint OfBrush(const DeviceContext& dc, const BrushObject* brush);

    bool IsNone() const { return kind_ == Kind::None; }
    bool IsSolid() const { return kind_ == Kind::Solid; }
    Pixel SolidColour() const { return foreground_; }
    // Whether some pixels are left alone (a hatch's background in transparent mode).
    bool HasGaps() const { return kind_ == Kind::Hatch && transparentGaps_; }
    // Pattern pixels of device row y from x on; `drawn` (when gaps are possible)
    // receives whether each pixel is painted.
    void Row(int x, int y, int count, Pixel* out, Byte* drawn) const;

private:
    enum class Kind { None, Solid, Hatch, Pattern };
    bool hatchBit(int x, int y) const;

    Kind kind_ = Kind::None;
    Pixel foreground_ = PixelBlack;
    Pixel background_ = PixelWhite;
    int hatchStyle_ = HS_HORIZONTAL;
    bool transparentGaps_ = false;
    std::shared_ptr<const PixelSurface> pattern_;
    bool monochromePattern_ = false;
    TPoint origin_;
};

class Painter {
public:
    explicit Painter(DeviceContext& dc);

    bool CanPaint() const { return surface_ != nullptr; }
    DeviceContext& DC() { return dc_; }
    PixelSurface& Surface() { return *surface_; }
    TPoint SurfaceOrigin() const { return dc_.surfaceOrigin; }
    const Region& Clip() const { return clip_; }

    // `area` in device coordinates.
    void FillRegion(const Region& area, const Paint& paint, RopTable table);
    void FillRect(const TRect& deviceRect, const Paint& paint, RopTable table);
    // One pixel, when inside the clip.
    void Plot(int x, int y, Pixel colour, RopTable table);
    // Pixel pointer of a device point; the point must lie inside the clip.
    Pixel* PixelAt(int x, int y) { return surface_->Row(y + dc_.surfaceOrigin.y) + x + dc_.surfaceOrigin.x; }

private:
    template <typename ForEachSpan>
    void fillSpans(const Paint& paint, RopTable table, ForEachSpan forEachSpan);
    void paintSpan(int x, int y, int count, const Paint& paint, RopTable table);

    DeviceContext& dc_;
    PixelSurface* surface_;
    const Region& clip_;
};
