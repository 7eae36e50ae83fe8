// Handles, selection, device-context state, origins and clip regions.
#include "platform/win/Gdi.h"

#include "platform/win/GdiObjects.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

constexpr int screenDotsPerInch = 96;
constexpr double millimetresPerInch = 25.4;
constexpr int defaultScreenWidth = 1024;
constexpr int defaultScreenHeight = 768;
constexpr int colourBitsPerPixel = 32;
constexpr int colourResolution = 24;
constexpr int monochromeBitsPerPixel = 1;

struct ScreenAccess {
    ScreenPixelReader reader;
    // Made at the first screen device context, not when the backend names the size.
    std::shared_ptr<PixelSurface> surface;
    SIZE size{defaultScreenWidth, defaultScreenHeight};
    WindowDrawingAreaLookup windowLookup;
};

ScreenAccess& screenAccess() {
    static ScreenAccess access;
    return access;
}

std::shared_ptr<PixelSurface> screenSurface() {
    ScreenAccess& access = screenAccess();
    if (!access.surface || access.surface->Width() != access.size.cx ||
        access.surface->Height() != access.size.cy)
        access.surface = std::make_shared<PixelSurface>(access.size.cx, access.size.cy);
    return access.surface;
}

// ---- Selection bookkeeping ----

void holdSelection(HGDIOBJ handle) {
    if (GdiObject* object = LookupObject(handle)) ++object->selections;
}

void releaseSelection(HGDIOBJ handle) {
    GdiObject* object = LookupObject(handle);
    if (!object) return;
    if (object->selections > 0) --object->selections;
    if (object->selections == 0 && object->deletePending) EraseObject(handle);
}

template <typename Handle> Handle swapSelection(Handle& slot, HGDIOBJ replacement) {
    Handle previous = slot;
    holdSelection(replacement);
    slot = static_cast<Handle>(replacement);
    releaseSelection(previous);
    return previous;
}

HGDIOBJ selectBitmap(HDC dcHandle, DeviceContext& dc, HBITMAP bitmapHandle) {
    BitmapObject* bitmap = LookupBitmap(bitmapHandle);
    if (!bitmap || dc.deviceKind != DeviceKind::Memory) return nullptr;
    bool shareable = bitmap->stock;
    if (!shareable && bitmap->selectedInto && bitmap->selectedInto != dcHandle) return nullptr;
    if (BitmapObject* previous = LookupBitmap(dc.state.bitmap); previous && !previous->stock)
        previous->selectedInto = nullptr;
    if (!shareable) bitmap->selectedInto = dcHandle;
    dc.surface = bitmap->surface;
    dc.ClipChanged();
    return swapSelection(dc.state.bitmap, bitmapHandle);
}

void initialiseObjects(DeviceContext& dc) {
    dc.state.pen = static_cast<HPEN>(StockObject(BLACK_PEN));
    dc.state.brush = static_cast<HBRUSH>(StockObject(WHITE_BRUSH));
    dc.state.font = static_cast<HFONT>(StockObject(SYSTEM_FONT));
    dc.state.palette = static_cast<HPALETTE>(StockObject(DEFAULT_PALETTE));
    for (HGDIOBJ object : {static_cast<HGDIOBJ>(dc.state.pen), static_cast<HGDIOBJ>(dc.state.brush),
                           static_cast<HGDIOBJ>(dc.state.font), static_cast<HGDIOBJ>(dc.state.palette)})
        holdSelection(object);
}

void releaseAllSelections(DeviceContext& dc) {
    if (BitmapObject* bitmap = LookupBitmap(dc.state.bitmap); bitmap && !bitmap->stock)
        bitmap->selectedInto = nullptr;
    for (HGDIOBJ object : {static_cast<HGDIOBJ>(dc.state.pen), static_cast<HGDIOBJ>(dc.state.brush),
                           static_cast<HGDIOBJ>(dc.state.font), static_cast<HGDIOBJ>(dc.state.palette),
                           static_cast<HGDIOBJ>(dc.state.bitmap)})
        releaseSelection(object);
}

HDC insertDC(std::unique_ptr<DeviceContext> dc) {
    initialiseObjects(*dc);
    return static_cast<HDC>(InsertObject(std::move(dc)));
}

// ---- GetObject ----

template <typename Value> int copyOut(const Value& value, int size, LPVOID buffer) {
    if (!buffer) return static_cast<int>(sizeof(Value));
    int count = std::clamp(size, 0, static_cast<int>(sizeof(Value)));
    std::memcpy(buffer, &value, static_cast<std::size_t>(count));
    return count;
}

BITMAP bitmapDescription(const BitmapObject& bitmap) {
    const PixelSurface& surface = *bitmap.surface;
    BITMAP description{};
    description.bmWidth = surface.Width();
    description.bmHeight = surface.Height();
    description.bmPlanes = 1;
    if (surface.IsMonochrome()) {
        description.bmBitsPixel = monochromeBitsPerPixel;
        description.bmWidthBytes = ((surface.Width() + 15) / 16) * 2;
    } else {
        description.bmBitsPixel = colourBitsPerPixel;
        description.bmWidthBytes = surface.Width() * 4;
    }
    description.bmBits = bitmap.dibBits.get();
    return description;
}

int getBitmapObject(const BitmapObject& bitmap, int size, LPVOID buffer) {
    if (bitmap.dibHeader && (!buffer || size >= static_cast<int>(sizeof(DIBSECTION)))) {
        DIBSECTION section{};
        section.dsBm = bitmapDescription(bitmap);
        section.dsBmih = *bitmap.dibHeader;
        return copyOut(section, size, buffer);
    }
    return copyOut(bitmapDescription(bitmap), size, buffer);
}

LOGFONTA narrowLogFont(const LOGFONTW& wide) {
    LOGFONTA narrow{};
    CopyLogFontMetrics(narrow, wide);
    for (int i = 0; i < LF_FACESIZE && wide.lfFaceName[i]; ++i)
        narrow.lfFaceName[i] = wide.lfFaceName[i] < 0x100 ? static_cast<CHAR>(wide.lfFaceName[i]) : '?';
    return narrow;
}

int getObject(HGDIOBJ handle, int size, LPVOID buffer, bool wide) {
    GdiLock lock(GdiMutex());
    GdiObject* object = LookupObject(handle);
    if (!object) return 0;
    switch (object->kind) {
    case GdiKind::Pen:
        return copyOut(static_cast<PenObject*>(object)->logPen, size, buffer);
    case GdiKind::Brush:
        return copyOut(static_cast<BrushObject*>(object)->logBrush, size, buffer);
    case GdiKind::Font: {
        const LOGFONTW& logFont = static_cast<FontObject*>(object)->logFont;
        return wide ? copyOut(logFont, size, buffer) : copyOut(narrowLogFont(logFont), size, buffer);
    }
    case GdiKind::Bitmap:
        return getBitmapObject(*static_cast<BitmapObject*>(object), size, buffer);
    case GdiKind::Palette:
        return copyOut(static_cast<WORD>(static_cast<PaletteObject*>(object)->entries.size()), size, buffer);
    default:
        return 0;
    }
}

// ---- Clipping ----

// What the device offers before any clip region: surface and visible region.
Region deviceExtent(const DeviceContext& dc) {
    Region extent;
    if (dc.surface) {
        extent = Region(dc.surface->Bounds());
        extent.Offset(-dc.surfaceOrigin.x, -dc.surfaceOrigin.y);
    }
    if (dc.visibleRegion) extent = extent.Intersect(*dc.visibleRegion);
    return extent;
}

int setClip(DeviceContext& dc, std::optional<Region> clip) {
    dc.state.clip = std::move(clip);
    dc.ClipChanged();
    return dc.EffectiveClip().Kind();
}

int combineClip(HDC dcHandle, const Region& region, int mode) {
    DeviceContext* dc = LookupDC(dcHandle);
    if (!dc) return RGN_ERROR;
    Region current = dc->state.clip ? *dc->state.clip : deviceExtent(*dc);
    return setClip(*dc, current.Combine(region, mode));
}

// ---- Origins ----

template <typename Change>
BOOL changePoint(HDC dcHandle, TPoint DeviceContextState::*field, LPPOINT previous, Change change) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(dcHandle);
    if (!dc) return FALSE;
    TPoint& point = dc->state.*field;
    if (previous) *previous = point;
    change(point);
    return TRUE;
}

template <typename Value, typename Setter> Value setAttribute(HDC dcHandle, Value failure, Setter setter) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(dcHandle);
    return dc ? setter(*dc) : failure;
}

template <typename Value> Value exchange(Value& slot, Value replacement) {
    Value previous = slot;
    slot = replacement;
    return previous;
}

} // namespace

// ---- Objects ----

HPEN CreatePen(int style, int width, COLORREF color) {
    auto pen = std::make_unique<PenObject>();
    pen->logPen = {static_cast<UINT>(style), {std::max(width, 0), 0}, color};
    return static_cast<HPEN>(InsertObject(std::move(pen)));
}

HPEN CreatePenIndirect(const LOGPEN* logPen) {
    if (!logPen) return nullptr;
    return CreatePen(static_cast<int>(logPen->lopnStyle), logPen->lopnWidth.x, logPen->lopnColor);
}

HBRUSH CreateSolidBrush(COLORREF color) {
    LOGBRUSH logBrush{BS_SOLID, color, 0};
    return CreateBrushIndirect(&logBrush);
}

HBRUSH CreateHatchBrush(int hatch, COLORREF color) {
    LOGBRUSH logBrush{BS_HATCHED, color, static_cast<ULONG_PTR>(hatch)};
    return CreateBrushIndirect(&logBrush);
}

HBRUSH CreatePatternBrush(HBITMAP bitmap) {
    LOGBRUSH logBrush{BS_PATTERN, 0, reinterpret_cast<ULONG_PTR>(bitmap)};
    return CreateBrushIndirect(&logBrush);
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* logBrush) {
    if (!logBrush) return nullptr;
    GdiLock lock(GdiMutex());
    auto brush = std::make_unique<BrushObject>();
    brush->logBrush = *logBrush;
    switch (logBrush->lbStyle) {
    case BS_SOLID:
    case BS_NULL:
        break;
    case BS_HATCHED:
        if (logBrush->lbHatch > static_cast<ULONG_PTR>(HS_DIAGCROSS)) return nullptr;
        break;
    case BS_PATTERN: {
        BitmapObject* bitmap = LookupBitmap(reinterpret_cast<HGDIOBJ>(logBrush->lbHatch));
        if (!bitmap) return nullptr;
        brush->pattern = bitmap->surface->Copy();
        break;
    }
    default:
        return nullptr;
    }
    return static_cast<HBRUSH>(InsertObject(std::move(brush)));
}

HGDIOBJ GetStockObject(int index) {
    return StockObject(index);
}

HGDIOBJ SelectObject(HDC dcHandle, HGDIOBJ handle) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(dcHandle);
    GdiObject* object = LookupObject(handle);
    if (!dc || !object) return nullptr;
    switch (object->kind) {
    case GdiKind::Pen:
        return swapSelection(dc->state.pen, handle);
    case GdiKind::Brush:
        return swapSelection(dc->state.brush, handle);
    case GdiKind::Font:
        return swapSelection(dc->state.font, handle);
    case GdiKind::Bitmap:
        return selectBitmap(dcHandle, *dc, static_cast<HBITMAP>(handle));
    case GdiKind::Region:
        return reinterpret_cast<HGDIOBJ>(
            static_cast<INT_PTR>(SelectClipRgn(dcHandle, static_cast<HRGN>(handle))));
    default:
        return nullptr;
    }
}

BOOL DeleteObject(HGDIOBJ handle) {
    GdiLock lock(GdiMutex());
    GdiObject* object = LookupObject(handle);
    if (!object || object->kind == GdiKind::DeviceContext || object->kind == GdiKind::Icon) return FALSE;
    if (object->stock) return TRUE;
    if (object->selections > 0)
        object->deletePending = true;
    else
        EraseObject(handle);
    return TRUE;
}

int GetObjectA(HGDIOBJ object, int size, LPVOID buffer) {
    return getObject(object, size, buffer, false);
}
int GetObjectW(HGDIOBJ object, int size, LPVOID buffer) {
    return getObject(object, size, buffer, true);
}

DWORD GetObjectType(HGDIOBJ handle) {
    GdiLock lock(GdiMutex());
    GdiObject* object = LookupObject(handle);
    if (!object) return 0;
    switch (object->kind) {
    case GdiKind::Pen:
        return OBJ_PEN;
    case GdiKind::Brush:
        return OBJ_BRUSH;
    case GdiKind::Font:
        return OBJ_FONT;
    case GdiKind::Bitmap:
        return OBJ_BITMAP;
    case GdiKind::Palette:
        return OBJ_PAL;
    case GdiKind::Region:
        return OBJ_REGION;
    case GdiKind::DeviceContext:
        return static_cast<DeviceContext*>(object)->deviceKind == DeviceKind::Memory ? OBJ_MEMDC : OBJ_DC;
    default:
        return 0;
    }
}

HGDIOBJ GetCurrentObject(HDC dcHandle, UINT type) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(dcHandle);
    if (!dc) return nullptr;
    switch (type) {
    case OBJ_PEN:
        return dc->state.pen;
    case OBJ_BRUSH:
        return dc->state.brush;
    case OBJ_FONT:
        return dc->state.font;
    case OBJ_BITMAP:
        return dc->state.bitmap;
    case OBJ_PAL:
        return dc->state.palette;
    default:
        return nullptr;
    }
}

HPALETTE CreatePalette(const LOGPALETTE* logPalette) {
    if (!logPalette || logPalette->palNumEntries == 0) return nullptr;
    auto palette = std::make_unique<PaletteObject>();
    palette->entries.assign(logPalette->palPalEntry, logPalette->palPalEntry + logPalette->palNumEntries);
    return static_cast<HPALETTE>(InsertObject(std::move(palette)));
}

HPALETTE SelectPalette(HDC dcHandle, HPALETTE palette, BOOL) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(dcHandle);
    if (!dc || !LookupPalette(palette)) return nullptr;
    return swapSelection(dc->state.palette, palette);
}

UINT RealizePalette(HDC) {
    return 0;
}

UINT GetPaletteEntries(HPALETTE paletteHandle, UINT start, UINT count, PALETTEENTRY* entries) {
    GdiLock lock(GdiMutex());
    PaletteObject* palette = LookupPalette(paletteHandle);
    if (!palette) return 0;
    UINT available = static_cast<UINT>(palette->entries.size());
    if (!entries) return available;
    if (start >= available) return 0;
    UINT copied = std::min(count, available - start);
    std::copy_n(palette->entries.begin() + start, copied, entries);
    return copied;
}

// ---- Device contexts ----

HDC CreateCompatibleDC(HDC) {
    GdiLock lock(GdiMutex());
    auto dc = std::make_unique<DeviceContext>();
    dc->deviceKind = DeviceKind::Memory;
    HDC handle = insertDC(std::move(dc));
    selectBitmap(handle, *LookupDC(handle), DefaultBitmap());
    return handle;
}

BOOL DeleteDC(HDC dcHandle) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(dcHandle);
    if (!dc) return FALSE;
    releaseAllSelections(*dc);
    EraseObject(dcHandle);
    return TRUE;
}

int SaveDC(HDC dcHandle) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(dcHandle);
    if (!dc) return 0;
    dc->savedStates.push_back(dc->state);
    return static_cast<int>(dc->savedStates.size());
}

BOOL RestoreDC(HDC dcHandle, int savedDC) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(dcHandle);
    if (!dc) return FALSE;
    int levels = static_cast<int>(dc->savedStates.size());
    int level = savedDC < 0 ? levels + 1 + savedDC : savedDC;
    if (level < 1 || level > levels) return FALSE;
    DeviceContextState restored = dc->savedStates[static_cast<std::size_t>(level - 1)];
    dc->savedStates.resize(static_cast<std::size_t>(level - 1));
    // Objects deleted since the save stay replaced by what is selected now.
    for (HGDIOBJ object : {static_cast<HGDIOBJ>(restored.pen), static_cast<HGDIOBJ>(restored.brush),
                           static_cast<HGDIOBJ>(restored.font), static_cast<HGDIOBJ>(restored.bitmap)})
        if (object && LookupObject(object)) SelectObject(dcHandle, object);
    if (LookupPalette(restored.palette)) swapSelection(dc->state.palette, restored.palette);
    restored.pen = dc->state.pen;
    restored.brush = dc->state.brush;
    restored.font = dc->state.font;
    restored.bitmap = dc->state.bitmap;
    restored.palette = dc->state.palette;
    dc->state = std::move(restored);
    dc->ClipChanged();
    return TRUE;
}

HDC GetDC(HWND window) {
    GdiLock lock(GdiMutex());
    if (!window) {
        auto dc = std::make_unique<DeviceContext>();
        dc->deviceKind = DeviceKind::Screen;
        dc->surface = screenSurface();
        dc->refreshBeforeRead = [](const TRect& rect) {
            ScreenAccess& access = screenAccess();
            if (access.reader && access.surface) access.reader(rect, *access.surface);
        };
        return insertDC(std::move(dc));
    }
    WindowDrawingArea area;
    const auto& lookup = screenAccess().windowLookup;
    if (!lookup || !lookup(window, false, area)) return nullptr;
    return CreateDrawingAreaDC(window, area);
}

HDC GetWindowDC(HWND window) {
    GdiLock lock(GdiMutex());
    if (!window) return GetDC(nullptr);
    WindowDrawingArea area;
    const auto& lookup = screenAccess().windowLookup;
    if (!lookup || !lookup(window, true, area)) return nullptr;
    return CreateDrawingAreaDC(window, area);
}

int ReleaseDC(HWND, HDC dcHandle) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(dcHandle);
    if (!dc || dc->deviceKind == DeviceKind::Memory) return 0;
    DeleteDC(dcHandle);
    return 1;
}

HWND WindowFromDC(HDC dcHandle) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(dcHandle);
    return dc ? dc->window : nullptr;
}

HDC CreateDrawingAreaDC(HWND window, const WindowDrawingArea& area) {
    GdiLock lock(GdiMutex());
    auto dc = std::make_unique<DeviceContext>();
    dc->deviceKind = DeviceKind::Window;
    dc->window = window;
    dc->surface = area.surface;
    dc->surfaceOrigin = area.origin;
    dc->visibleRegion = area.visible;
    return insertDC(std::move(dc));
}

WindowDrawingAreaLookup SetWindowDrawingAreaLookup(WindowDrawingAreaLookup lookup) {
    GdiLock lock(GdiMutex());
    return std::exchange(screenAccess().windowLookup, std::move(lookup));
}

ScreenPixelReader SetScreenPixelReader(ScreenPixelReader reader, int screenWidth, int screenHeight) {
    GdiLock lock(GdiMutex());
    ScreenAccess& access = screenAccess();
    access.size = {screenWidth, screenHeight};
    return std::exchange(access.reader, std::move(reader));
}

SIZE ScreenSize() {
    GdiLock lock(GdiMutex());
    return screenAccess().size;
}

COLORREF SetTextColor(HDC dc, COLORREF color) {
    return setAttribute(dc, CLR_INVALID,
                        [&](DeviceContext& d) { return exchange(d.state.textColor, color); });
}
COLORREF GetTextColor(HDC dc) {
    return setAttribute(dc, CLR_INVALID, [](DeviceContext& d) { return d.state.textColor; });
}
COLORREF SetBkColor(HDC dc, COLORREF color) {
    return setAttribute(dc, CLR_INVALID,
                        [&](DeviceContext& d) { return exchange(d.state.backgroundColor, color); });
}
COLORREF GetBkColor(HDC dc) {
    return setAttribute(dc, CLR_INVALID, [](DeviceContext& d) { return d.state.backgroundColor; });
}
int SetBkMode(HDC dc, int mode) {
    if (mode != TRANSPARENT && mode != OPAQUE) return 0;
    return setAttribute(dc, 0, [&](DeviceContext& d) { return exchange(d.state.backgroundMode, mode); });
}
int GetBkMode(HDC dc) {
    return setAttribute(dc, 0, [](DeviceContext& d) { return d.state.backgroundMode; });
}
int SetROP2(HDC dc, int mixMode) {
    if (mixMode < R2_BLACK || mixMode > R2_WHITE) return 0;
    return setAttribute(dc, 0, [&](DeviceContext& d) { return exchange(d.state.mixMode, mixMode); });
}
int GetROP2(HDC dc) {
    return setAttribute(dc, 0, [](DeviceContext& d) { return d.state.mixMode; });
}
int SetPolyFillMode(HDC dc, int mode) {
    if (mode != ALTERNATE && mode != WINDING) return 0;
    return setAttribute(dc, 0, [&](DeviceContext& d) { return exchange(d.state.polyFillMode, mode); });
}
int GetPolyFillMode(HDC dc) {
    return setAttribute(dc, 0, [](DeviceContext& d) { return d.state.polyFillMode; });
}
int SetStretchBltMode(HDC dc, int mode) {
    if (mode < BLACKONWHITE || mode > HALFTONE) return 0;
    return setAttribute(dc, 0, [&](DeviceContext& d) { return exchange(d.state.stretchMode, mode); });
}
int GetStretchBltMode(HDC dc) {
    return setAttribute(dc, 0, [](DeviceContext& d) { return d.state.stretchMode; });
}
UINT SetTextAlign(HDC dc, UINT align) {
    return setAttribute(dc, GDI_ERROR, [&](DeviceContext& d) { return exchange(d.state.textAlign, align); });
}
UINT GetTextAlign(HDC dc) {
    return setAttribute(dc, GDI_ERROR, [](DeviceContext& d) { return d.state.textAlign; });
}
int SetTextCharacterExtra(HDC dc, int extra) {
    return setAttribute(dc, static_cast<int>(0x80000000),
                        [&](DeviceContext& d) { return exchange(d.state.characterExtra, extra); });
}
int GetTextCharacterExtra(HDC dc) {
    return setAttribute(dc, static_cast<int>(0x80000000),
                        [](DeviceContext& d) { return d.state.characterExtra; });
}
int SetMapMode(HDC dc, int mode) {
    if (mode != MM_TEXT) return 0;
    return setAttribute(dc, 0, [](DeviceContext&) { return MM_TEXT; });
}
int GetMapMode(HDC dc) {
    return setAttribute(dc, 0, [](DeviceContext&) { return MM_TEXT; });
}

BOOL SetWindowOrgEx(HDC dc, int x, int y, LPPOINT previous) {
    return changePoint(dc, &DeviceContextState::windowOrigin, previous, [&](TPoint& p) { p = {x, y}; });
}
BOOL GetWindowOrgEx(HDC dc, LPPOINT origin) {
    return changePoint(dc, &DeviceContextState::windowOrigin, origin, [](TPoint&) {});
}
BOOL OffsetWindowOrgEx(HDC dc, int dx, int dy, LPPOINT previous) {
    return changePoint(dc, &DeviceContextState::windowOrigin, previous, [&](TPoint& p) {
        p = {p.x + dx, p.y + dy};
    });
}
BOOL SetViewportOrgEx(HDC dc, int x, int y, LPPOINT previous) {
    return changePoint(dc, &DeviceContextState::viewportOrigin, previous, [&](TPoint& p) { p = {x, y}; });
}
BOOL GetViewportOrgEx(HDC dc, LPPOINT origin) {
    return changePoint(dc, &DeviceContextState::viewportOrigin, origin, [](TPoint&) {});
}
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, LPPOINT previous) {
    return changePoint(dc, &DeviceContextState::viewportOrigin, previous, [&](TPoint& p) {
        p = {p.x + dx, p.y + dy};
    });
}
BOOL SetBrushOrgEx(HDC dc, int x, int y, LPPOINT previous) {
    return changePoint(dc, &DeviceContextState::brushOrigin, previous, [&](TPoint& p) { p = {x, y}; });
}
BOOL GetBrushOrgEx(HDC dc, LPPOINT origin) {
    return changePoint(dc, &DeviceContextState::brushOrigin, origin, [](TPoint&) {});
}

BOOL LPtoDP(HDC dcHandle, LPPOINT points, int count) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(dcHandle);
    if (!dc || !points) return FALSE;
    for (int i = 0; i < count; ++i)
        points[i] = dc->ToDevice(points[i]);
    return TRUE;
}

BOOL DPtoLP(HDC dcHandle, LPPOINT points, int count) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(dcHandle);
    if (!dc || !points) return FALSE;
    for (int i = 0; i < count; ++i)
        points[i] = dc->ToLogical(points[i]);
    return TRUE;
}

namespace {

int colourBitsOf(DeviceContext& dc) {
    if (dc.reportedColourBits) return dc.reportedColourBits;
    if (dc.surface && dc.surface->IsMonochrome()) return 1;
    return colourBitsPerPixel;
}

} // namespace

BOOL SetDeviceColourDepth(HDC dc, int bitsPerPixel) {
    GdiLock lock(GdiMutex());
    DeviceContext* context = LookupDC(dc);
    if (!context || bitsPerPixel < 0 || bitsPerPixel > colourBitsPerPixel) return FALSE;
    context->reportedColourBits = bitsPerPixel;
    return TRUE;
}

COLORREF GetNearestColor(HDC dc, COLORREF color) {
    GdiLock lock(GdiMutex());
    DeviceContext* context = LookupDC(dc);
    if (!context) return CLR_INVALID;
    if (context->surface && context->surface->IsMonochrome())
        return ColorRefFromPixel(NearestMonochrome(PixelFromColorRef(color)));
    return color & PixelColourMask;
}

int GetDeviceCaps(HDC dc, int index) {
    GdiLock lock(GdiMutex());
    if (!LookupDC(dc)) return 0;
    SIZE screen = ScreenSize();
    switch (index) {
    case TECHNOLOGY:
        return DT_RASDISPLAY;
    case HORZSIZE:
        return static_cast<int>(screen.cx * millimetresPerInch / screenDotsPerInch + 0.5);
    case VERTSIZE:
        return static_cast<int>(screen.cy * millimetresPerInch / screenDotsPerInch + 0.5);
    case HORZRES:
        return screen.cx;
    case VERTRES:
        return screen.cy;
    case BITSPIXEL:
        return colourBitsOf(*LookupDC(dc));
    case PLANES:
        return 1;
    case NUMCOLORS:
        return -1;
    case RASTERCAPS:
        return RC_BITBLT | RC_BITMAP64 | RC_DI_BITMAP | RC_STRETCHBLT;
    case LOGPIXELSX:
    case LOGPIXELSY:
        return screenDotsPerInch;
    case COLORRES:
        return colourResolution;
    default:
        return 0;
    }
}

BOOL GdiFlush() {
    return TRUE;
}

// ---- Clipping ----

int SelectClipRgn(HDC dc, HRGN region) {
    return ExtSelectClipRgn(dc, region, RGN_COPY);
}

int ExtSelectClipRgn(HDC dcHandle, HRGN regionHandle, int mode) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(dcHandle);
    if (!dc) return RGN_ERROR;
    RegionObject* region = LookupRegion(regionHandle);
    if (!region) {
        if (regionHandle || mode != RGN_COPY) return RGN_ERROR;
        return setClip(*dc, std::nullopt);
    }
    if (mode == RGN_COPY) return setClip(*dc, region->region);
    if (mode < RGN_AND || mode > RGN_DIFF) return RGN_ERROR;
    return combineClip(dcHandle, region->region, mode);
}

int IntersectClipRect(HDC dcHandle, int left, int top, int right, int bottom) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(dcHandle);
    if (!dc) return RGN_ERROR;
    return combineClip(dcHandle, Region(dc->ToDevice(TRect{left, top, right, bottom})), RGN_AND);
}

int ExcludeClipRect(HDC dcHandle, int left, int top, int right, int bottom) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(dcHandle);
    if (!dc) return RGN_ERROR;
    return combineClip(dcHandle, Region(dc->ToDevice(TRect{left, top, right, bottom})), RGN_DIFF);
}

int OffsetClipRgn(HDC dcHandle, int dx, int dy) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(dcHandle);
    if (!dc) return RGN_ERROR;
    if (dc->state.clip) {
        dc->state.clip->Offset(dx, dy);
        dc->ClipChanged();
    }
    return dc->EffectiveClip().Kind();
}

int GetClipBox(HDC dcHandle, LPRECT rect) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(dcHandle);
    if (!dc || !rect) return RGN_ERROR;
    const Region& clip = dc->EffectiveClip();
    if (clip.IsEmpty()) {
        *rect = {};
        return NULLREGION;
    }
    TRect bounds = clip.Bounds();
    TPoint topLeft = dc->ToLogical({bounds.Left, bounds.Top});
    *rect = {topLeft.x, topLeft.y, topLeft.x + bounds.Width(), topLeft.y + bounds.Height()};
    return clip.Kind();
}

int GetClipRgn(HDC dcHandle, HRGN regionHandle) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(dcHandle);
    RegionObject* region = LookupRegion(regionHandle);
    if (!dc || !region) return -1;
    if (!dc->state.clip) return 0;
    region->region = *dc->state.clip;
    return 1;
}

BOOL PtVisible(HDC dcHandle, int x, int y) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(dcHandle);
    if (!dc) return FALSE;
    TPoint device = dc->ToDevice(TPoint{x, y});
    return dc->EffectiveClip().Contains(device.x, device.y) ? TRUE : FALSE;
}

BOOL RectVisible(HDC dcHandle, const RECT* rect) {
    GdiLock lock(GdiMutex());
    DeviceContext* dc = LookupDC(dcHandle);
    if (!dc || !rect) return FALSE;
    return dc->EffectiveClip().Intersects(dc->ToDevice(*rect)) ? TRUE : FALSE;
}
