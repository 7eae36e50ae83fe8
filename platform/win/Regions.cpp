// The region handle calls over the band arithmetic of Region.
#include "platform/win/Regions.h"

#include "platform/win/GdiObjects.h"
#include "platform/win/Painter.h"

namespace {

TRect normalised(int left, int top, int right, int bottom) {
    return {std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
}

Region eroded(const Region& region, int width, int height) {
    Region inner = region;
    for (TPoint shift : {TPoint{width, 0}, TPoint{-width, 0}, TPoint{0, height}, TPoint{0, -height}}) {
        Region moved = region;
        moved.Offset(shift.x, shift.y);
        inner = inner.Intersect(moved);
    }
    return inner;
}

BOOL paintRegion(HDC dcHandle, Region area, HBRUSH brushHandle) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(dcHandle);
    BrushObject* brush = LookupBrush(brushHandle);
    if (!dc || !brush) return FALSE;
    TPoint shift = dc->ToDevice(TPoint{0, 0});
    area.Offset(shift.x, shift.y);
    Painter(*dc).FillRegion(area, Paint::OfBrush(*dc, brush), RopTableOf(PATCOPY));
    return TRUE;
}

} // namespace

HRGN CreateRegionHandle(const Region& region) {
    auto object = std::make_unique<RegionObject>();
    object->region = region;
    return static_cast<HRGN>(InsertObject(std::move(object)));
}

Region RegionOfHandle(HRGN handle) {
    GdiLock lock(GdiMutex());
    RegionObject* region = LookupRegion(handle);
    return region ? region->region : Region();
}

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
    return CreateRegionHandle(Region(normalised(left, top, right, bottom)));
}

// Shapes are worked out row by row, so a huge one may run out of memory.

HRGN CreateRectRgnIndirect(const RECT* rect) {
    return rect ? CreateRectRgn(rect->Left, rect->Top, rect->Right, rect->Bottom) : nullptr;
}

HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight) {
    return NullWhenOutOfMemory([&] {
        return CreateRegionHandle(
            Region::RoundRect(normalised(left, top, right, bottom), ellipseWidth, ellipseHeight));
    });
}

HRGN CreateEllipticRgn(int left, int top, int right, int bottom) {
    return NullWhenOutOfMemory(
        [&] { return CreateRegionHandle(Region::Ellipse(normalised(left, top, right, bottom))); });
}

HRGN CreateEllipticRgnIndirect(const RECT* rect) {
    return rect ? CreateEllipticRgn(rect->Left, rect->Top, rect->Right, rect->Bottom) : nullptr;
}

HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode) {
    if (!points || count < 0 || (fillMode != ALTERNATE && fillMode != WINDING)) return nullptr;
    return NullWhenOutOfMemory([&] { return CreateRegionHandle(Region::Polygon(points, count, fillMode)); });
}

BOOL SetRectRgn(HRGN handle, int left, int top, int right, int bottom) {
    GdiLock lock(GdiMutex());
    RegionObject* region = LookupRegion(handle);
    if (!region) return FALSE;
    region->region = Region(normalised(left, top, right, bottom));
    return TRUE;
}

int CombineRgn(HRGN destinationHandle, HRGN firstHandle, HRGN secondHandle, int mode) {
    GdiLock lock(GdiMutex());
    RegionObject* destination = LookupRegion(destinationHandle);
    RegionObject* first = LookupRegion(firstHandle);
    RegionObject* second = LookupRegion(secondHandle);
    if (!destination || !first || mode < RGN_AND || mode > RGN_COPY || (mode != RGN_COPY && !second))
        return RGN_ERROR;
    destination->region = mode == RGN_COPY ? first->region : first->region.Combine(second->region, mode);
    return destination->region.Kind();
}

BOOL PtInRegion(HRGN handle, int x, int y) {
    GdiLock lock(GdiMutex());
    RegionObject* region = LookupRegion(handle);
    return region && region->region.Contains(x, y) ? TRUE : FALSE;
}

BOOL RectInRegion(HRGN handle, const RECT* rect) {
    GdiLock lock(GdiMutex());
    RegionObject* region = LookupRegion(handle);
    if (!region || !rect) return FALSE;
    return region->region.Intersects(normalised(rect->Left, rect->Top, rect->Right, rect->Bottom)) ? TRUE
                                                                                                   : FALSE;
}

BOOL EqualRgn(HRGN firstHandle, HRGN secondHandle) {
    GdiLock lock(GdiMutex());
    RegionObject* first = LookupRegion(firstHandle);
    RegionObject* second = LookupRegion(secondHandle);
    if (!first || !second) return RGN_ERROR;
    return first->region == second->region ? TRUE : FALSE;
}

int OffsetRgn(HRGN handle, int dx, int dy) {
    GdiLock lock(GdiMutex());
    RegionObject* region = LookupRegion(handle);
    if (!region) return RGN_ERROR;
    region->region.Offset(dx, dy);
    return region->region.Kind();
}

int GetRgnBox(HRGN handle, LPRECT rect) {
    GdiLock lock(GdiMutex());
    RegionObject* region = LookupRegion(handle);
    if (!region || !rect) return RGN_ERROR;
    *rect = region->region.Bounds();
    return region->region.Kind();
}

BOOL FillRgn(HDC dc, HRGN region, HBRUSH brush) {
    GdiLock lock(GdiMutex());
    if (!LookupRegion(region)) return FALSE;
    return paintRegion(dc, RegionOfHandle(region), brush);
}

BOOL FrameRgn(HDC dc, HRGN region, HBRUSH brush, int width, int height) {
    GdiLock lock(GdiMutex());
    if (!LookupRegion(region) || width < 0 || height < 0) return FALSE;
    Region area = RegionOfHandle(region);
    return paintRegion(dc, area.Subtract(eroded(area, width, height)), brush);
}
