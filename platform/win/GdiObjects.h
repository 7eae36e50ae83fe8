// The objects behind the graphics handles, the device context's state and the
// table that maps handles to objects. Shared by the graphics units; callers of
// the graphics interface see only handles.
#pragma once

#include "platform/win/PixelSurface.h"
#include "platform/win/Region.h"
#include "platform/win/WinTypes.h"

#include <functional>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <vector>

class FontFace;

enum class GdiKind { Pen, Brush, Font, Bitmap, Palette, Region, DeviceContext, Icon };

struct GdiObject {
    explicit GdiObject(GdiKind objectKind) : kind(objectKind) {}
    virtual ~GdiObject() = default;
    GdiKind kind;
    bool stock = false;
    // Device contexts that have it selected; deleting it waits until this is 0.
    int selections = 0;
    bool deletePending = false;
};

struct PenObject : GdiObject {
    PenObject() : GdiObject(GdiKind::Pen) {}
    LOGPEN logPen{};
};

struct BrushObject : GdiObject {
    BrushObject() : GdiObject(GdiKind::Brush) {}
    LOGBRUSH logBrush{};
    // A pattern brush keeps its own copy of the bitmap it was made from.
    std::shared_ptr<const PixelSurface> pattern;
};

struct FontObject : GdiObject {
    FontObject() : GdiObject(GdiKind::Font) {}
    LOGFONTW logFont{};
    // Found and sized on first use.
    std::shared_ptr<FontFace> face;
};

struct BitmapObject : GdiObject {
    BitmapObject() : GdiObject(GdiKind::Bitmap) {}
    std::shared_ptr<PixelSurface> surface;
    // A DIB section's bits, which its surface draws on.
    std::unique_ptr<Pixel[]> dibBits;
    std::optional<BITMAPINFOHEADER> dibHeader;
    HDC selectedInto = nullptr;
};

struct PaletteObject : GdiObject {
    PaletteObject() : GdiObject(GdiKind::Palette) {}
    std::vector<PALETTEENTRY> entries;
};

struct RegionObject : GdiObject {
    RegionObject() : GdiObject(GdiKind::Region) {}
    Region region;
};

struct IconObject : GdiObject {
    IconObject() : GdiObject(GdiKind::Icon) {}
    bool isIcon = true;
    TPoint hotspot;
    // The AND mask (monochrome) and the colour image; a monochrome icon has no
    // colour image and a mask of twice its height (AND part, then XOR part).
    std::shared_ptr<PixelSurface> mask;
    std::shared_ptr<PixelSurface> colour;
};

// Everything SaveDC keeps and RestoreDC brings back.
struct DeviceContextState {
    HPEN pen = nullptr;
    HBRUSH brush = nullptr;
    HFONT font = nullptr;
    HBITMAP bitmap = nullptr;
    HPALETTE palette = nullptr;
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF backgroundColor = RGB(255, 255, 255);
    int backgroundMode = OPAQUE;
    int mixMode = R2_COPYPEN;
    int polyFillMode = ALTERNATE;
    int stretchMode = BLACKONWHITE;
    UINT textAlign = TA_LEFT | TA_TOP;
    int characterExtra = 0;
    TPoint windowOrigin;
    TPoint viewportOrigin;
    TPoint brushOrigin;
    TPoint currentPosition;
    // The application's clip region in device coordinates, when one is set.
    std::optional<Region> clip;
};

enum class DeviceKind { Memory, Window, Screen };

struct DeviceContext : GdiObject {
    DeviceContext() : GdiObject(GdiKind::DeviceContext) {}

    DeviceKind deviceKind = DeviceKind::Memory;
    DeviceContextState state;
    std::vector<DeviceContextState> savedStates;
    std::shared_ptr<PixelSurface> surface;
    // Device point (0, 0) lies at this point of the surface.
    TPoint surfaceOrigin;
    // For window DCs: the part of the window that may be drawn on, in device coordinates.
    std::optional<Region> visibleRegion;
    HWND window = nullptr;
    // What GetDeviceCaps reports as BITSPIXEL in place of the surface's depth; 0 for none.
    int reportedColourBits = 0;
    // Brings a rectangle of the surface up to date before it is read (the screen).
    std::function<void(const TRect& surfaceRect)> refreshBeforeRead;

    TPoint ToDevice(TPoint logical) const;
    TRect ToDevice(const TRect& logical) const;
    TPoint ToLogical(TPoint device) const;
    // Surface bounds, visible region and clip region together, in device coordinates.
    const Region& EffectiveClip();
    void ClipChanged() { effectiveClip_.reset(); }

private:
    std::optional<Region> effectiveClip_;
};

// Every call into the graphics layer holds this lock: handles are shared
// between threads (a worker thread may paint).
std::recursive_mutex& GdiMutex();
using GdiLock = std::lock_guard<std::recursive_mutex>;

HGDIOBJ InsertObject(std::unique_ptr<GdiObject> object);
GdiObject* LookupObject(HGDIOBJ handle);
void EraseObject(HGDIOBJ handle);

template <typename Object> Object* LookupObjectOf(HGDIOBJ handle, GdiKind kind) {
    GdiObject* object = LookupObject(handle);
    return object && object->kind == kind ? static_cast<Object*>(object) : nullptr;
}
inline DeviceContext* LookupDC(HDC dc) {
    return LookupObjectOf<DeviceContext>(dc, GdiKind::DeviceContext);
}
inline PenObject* LookupPen(HGDIOBJ pen) {
    return LookupObjectOf<PenObject>(pen, GdiKind::Pen);
}
inline FontObject* LookupFont(HGDIOBJ font) {
    return LookupObjectOf<FontObject>(font, GdiKind::Font);
}
inline BitmapObject* LookupBitmap(HGDIOBJ bitmap) {
    return LookupObjectOf<BitmapObject>(bitmap, GdiKind::Bitmap);
}
inline RegionObject* LookupRegion(HGDIOBJ region) {
    return LookupObjectOf<RegionObject>(region, GdiKind::Region);
}
inline PaletteObject* LookupPalette(HGDIOBJ palette) {
    return LookupObjectOf<PaletteObject>(palette, GdiKind::Palette);
}
inline IconObject* LookupIcon(HICON icon) {
    return LookupObjectOf<IconObject>(icon, GdiKind::Icon);
}
// A brush handle, or a system colour index plus one as the window classes and
// FillRect accept it.
BrushObject* LookupBrush(HGDIOBJ brush);

// Creates the stock objects on first use.
HGDIOBJ StockObject(int index);
// The 1 x 1 monochrome bitmap of a new memory DC.
HBITMAP DefaultBitmap();

// Runs a creation that may run out of memory: Windows reports that as a null handle.
template <typename Create> auto NullWhenOutOfMemory(Create create) -> decltype(create()) {
    try {
        return create();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

// Wraps a surface as a bitmap handle.
HBITMAP InsertBitmap(std::shared_ptr<PixelSurface> surface);
