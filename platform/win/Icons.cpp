// Icon objects and their drawing through two stretched blits.
#include "platform/win/Icons.h"

#include "platform/win/Bitmaps.h"
#include "platform/win/Blit.h"
#include "platform/win/Drawing.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiObjects.h"

namespace {

constexpr int defaultIconSize = 32;

std::shared_ptr<PixelSurface> copyOf(HBITMAP bitmap) {
    auto surface = BitmapSurface(bitmap);
    return surface ? surface->Copy() : nullptr;
}

SIZE iconSize(const IconObject& icon) {
    if (icon.colour) return {icon.colour->Width(), icon.colour->Height()};
    return {icon.mask->Width(), icon.mask->Height() / 2};
}

HICON insertIcon(std::shared_ptr<PixelSurface> mask, std::shared_ptr<PixelSurface> colour, bool isIcon,
                 TPoint hotspot) {
    auto icon = std::make_unique<IconObject>();
    icon->mask = std::move(mask);
    icon->colour = std::move(colour);
    icon->isIcon = isIcon;
    icon->hotspot = hotspot;
    return static_cast<HICON>(InsertObject(std::move(icon)));
}

// Blits one of the icon's images through a temporary memory DC.
void blitImage(HDC dc, int x, int y, int width, int height, const std::shared_ptr<PixelSurface>& image,
               int top, int imageHeight, DWORD rop) {
    HBITMAP bitmap = CreateBitmapFromSurface(image);
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    StretchBlt(dc, x, y, width, height, memory, 0, top, image->Width(), imageHeight, rop);
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(bitmap);
}

} // namespace

HICON CreateIconIndirect(const ICONINFO* info) {
    if (!info) return nullptr;
    GdiLock lock(GdiMutex());
    auto mask = copyOf(info->hbmMask);
    if (!mask || !mask->IsMonochrome()) return nullptr;
    auto colour = info->hbmColor ? copyOf(info->hbmColor) : nullptr;
    if (info->hbmColor && !colour) return nullptr;
    TPoint hotspot{static_cast<int>(info->xHotspot), static_cast<int>(info->yHotspot)};
    return insertIcon(std::move(mask), std::move(colour), info->fIcon != FALSE, hotspot);
}

HICON CreateIcon(HANDLE, int width, int height, BYTE planes, BYTE bitsPerPixel, const BYTE* andBits,
                 const BYTE* xorBits) {
    if (!andBits || !xorBits) return nullptr;
    GdiLock lock(GdiMutex());
    ICONINFO info{};
    info.fIcon = TRUE;
    info.xHotspot = static_cast<DWORD>(width / 2);
    info.yHotspot = static_cast<DWORD>(height / 2);
    HBITMAP mask = CreateBitmap(width, height, 1, 1, andBits);
    HBITMAP colour = CreateBitmap(width, height, planes, bitsPerPixel, xorBits);
    HICON icon = nullptr;
    if (mask && colour && BitmapSurface(colour)->IsMonochrome()) {
        // A monochrome icon keeps its AND and XOR halves in one mask.
        auto stacked = std::make_shared<PixelSurface>(width, 2 * height, true);
        auto andSurface = BitmapSurface(mask), xorSurface = BitmapSurface(colour);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                stacked->Set(x, y, andSurface->At(x, y));
                stacked->Set(x, y + height, xorSurface->At(x, y));
            }
        icon = insertIcon(stacked, nullptr, true, {width / 2, height / 2});
    } else if (mask && colour) {
        info.hbmMask = mask;
        info.hbmColor = colour;
        icon = CreateIconIndirect(&info);
    }
    DeleteObject(mask);
    DeleteObject(colour);
    return icon;
}

HICON CopyIcon(HICON handle) {
    GdiLock lock(GdiMutex());
    IconObject* icon = LookupIcon(handle);
    if (!icon) return nullptr;
    return insertIcon(icon->mask->Copy(), icon->colour ? icon->colour->Copy() : nullptr, icon->isIcon,
                      icon->hotspot);
}

BOOL GetIconInfo(HICON handle, ICONINFO* info) {
    GdiLock lock(GdiMutex());
    IconObject* icon = LookupIcon(handle);
    if (!icon || !info) return FALSE;
    info->fIcon = icon->isIcon ? TRUE : FALSE;
    info->xHotspot = static_cast<DWORD>(icon->hotspot.x);
    info->yHotspot = static_cast<DWORD>(icon->hotspot.y);
    info->hbmMask = CreateBitmapFromSurface(icon->mask->Copy());
    info->hbmColor = icon->colour ? CreateBitmapFromSurface(icon->colour->Copy()) : nullptr;
    return TRUE;
}

// A shared icon (LoadIcon's stock icons) outlives every DestroyIcon.
BOOL DestroyIcon(HICON handle) {
    GdiLock lock(GdiMutex());
    IconObject* icon = LookupIcon(handle);
    if (!icon) return FALSE;
    if (!icon->stock) EraseObject(handle);
    return TRUE;
}

BOOL DrawIconEx(HDC dc, int x, int y, HICON handle, int width, int height, UINT, HBRUSH background,
                UINT flags) {
    GdiLock lock(GdiMutex());
    IconObject* icon = LookupIcon(handle);
    if (!icon || !LookupDC(dc)) return FALSE;
    SIZE size = iconSize(*icon);
    if (width == 0) width = (flags & DI_DEFAULTSIZE) ? defaultIconSize : size.cx;
    if (height == 0) height = (flags & DI_DEFAULTSIZE) ? defaultIconSize : size.cy;
    if (background) {
        RECT area{x, y, x + width, y + height};
        FillRect(dc, &area, background);
    }
    // Masks are monochrome: their black must stay black and their white white.
    COLORREF textColour = SetTextColor(dc, RGB(0, 0, 0));
    COLORREF backgroundColour = SetBkColor(dc, RGB(255, 255, 255));
    if (flags & DI_MASK) blitImage(dc, x, y, width, height, icon->mask, 0, size.cy, SRCAND);
    if (flags & DI_IMAGE) {
        DWORD rop = (flags & DI_MASK) ? SRCINVERT : SRCCOPY;
        if (icon->colour)
            blitImage(dc, x, y, width, height, icon->colour, 0, size.cy, rop);
        else
            blitImage(dc, x, y, width, height, icon->mask, size.cy, size.cy, rop);
    }
    SetTextColor(dc, textColour);
    SetBkColor(dc, backgroundColour);
    return TRUE;
}
