// Update regions, visible regions and the device contexts of windows.
#include "platform/win/Painting.h"

#include "platform/win/BackendInterface.h"
#include "platform/win/Caret.h"
#include "platform/win/Gdi.h"
#include "platform/win/Messages.h"
#include "platform/win/Regions.h"
#include "platform/win/SysColors.h"
#include "platform/win/WindowPos.h"
#include "platform/win/Windows.h"

#include <algorithm>

namespace {

// The region WM_NCPAINT passes when the whole frame is to be painted.
const WPARAM wholeFrame = 1;

TRect sizeRect(const TRect& rect) {
    return {0, 0, rect.Width(), rect.Height()};
}

Region offsetRegion(Region region, int dx, int dy) {
    region.Offset(dx, dy);
    return region;
}

// The part of another window that hides `window`: its rectangle and region, in top-level coordinates.
Region coverOf(const Window& other) {
    TPoint origin = OriginInTopLevel(other);
    Region cover(OffsetRectBy(sizeRect(other.rect), origin.x, origin.y));
    if (other.windowRegion) cover = cover.Intersect(offsetRegion(*other.windowRegion, origin.x, origin.y));
    return cover;
}

Region withoutSiblingsAbove(Region visible, const Window& window) {
    for (const Window* sibling : window.parent->children) {
        if (sibling == &window) break;
        if (sibling->style & WS_VISIBLE) visible = visible.Subtract(coverOf(*sibling));
    }
    return visible;
}

// What may be drawn of the window or its client area, in top-level coordinates.
Region visibleRegion(const Window& window, bool wholeWindow, bool clipChildren, bool clipSiblings) {
    if (!IsShowing(window)) return {};
    TPoint origin = OriginInTopLevel(window);
    TRect area = wholeWindow ? sizeRect(window.rect) : window.clientRect;
    Region visible(OffsetRectBy(area, origin.x, origin.y));
    if (window.windowRegion)
        visible = visible.Intersect(offsetRegion(*window.windowRegion, origin.x, origin.y));
    const Window* child = &window;
    for (const Window* parent = window.parent; parent && !IsRootWindow(*parent); parent = parent->parent) {
        bool clipsSiblings = child == &window ? clipSiblings : (child->style & WS_CLIPSIBLINGS);
        if (clipsSiblings) visible = withoutSiblingsAbove(visible, *child);
        TPoint parentOrigin = OriginInTopLevel(*parent);
        visible = visible.Intersect(Region(OffsetRectBy(parent->clientRect, parentOrigin.x, parentOrigin.y)));
        if (parent->windowRegion)
            visible = visible.Intersect(offsetRegion(*parent->windowRegion, parentOrigin.x, parentOrigin.y));
        child = parent;
    }
    if (clipChildren)
        for (const Window* each : window.children)
            if (each->style & WS_VISIBLE) visible = visible.Subtract(coverOf(*each));
    return visible;
}

std::shared_ptr<PixelSurface> ensureSurface(Window& topLevel) {
    int width = std::max(topLevel.rect.Width(), 1);
    int height = std::max(topLevel.rect.Height(), 1);
    if (!topLevel.surface) topLevel.surface = std::make_shared<PixelSurface>(width, height);
    return topLevel.surface;
}

void notePresent(Window& topLevel, const TRect& rect) {
    topLevel.presentPending =
        UnionRects(topLevel.presentPending, IntersectRects(rect, sizeRect(topLevel.rect)));
}

bool fillArea(HWND handle, bool wholeWindow, WindowDrawingArea& area, DWORD flags, const Region* extra,
              bool intersectExtra) {
    Window* window = FindWindowObject(handle);
    if (!window) return false;
    if (window == &DesktopWindowObject()) {
        SIZE screen = CurrentBackend().ScreenSize();
        area.surface =
            std::make_shared<PixelSurface>(std::max<int>(screen.cx, 1), std::max<int>(screen.cy, 1));
        CurrentBackend().ReadScreen(area.surface->Bounds(), *area.surface);
        area.origin = {};
        area.visible = Region(area.surface->Bounds());
        return true;
    }
    Window* topLevel = TopLevelOf(window);
    if (!topLevel) return false;
    const bool useStyle = flags & DCX_USESTYLE;
    bool clipChildren = (flags & DCX_CLIPCHILDREN) || (useStyle && (window->style & WS_CLIPCHILDREN));
    bool clipSiblings = (flags & DCX_CLIPSIBLINGS) || (useStyle && (window->style & WS_CLIPSIBLINGS));
    Region visible = visibleRegion(*window, wholeWindow, clipChildren, clipSiblings);
    if (extra) {
        TPoint topOrigin = WindowOriginOnScreen(*topLevel);
        Region translated = offsetRegion(*extra, -topOrigin.x, -topOrigin.y);
        visible = intersectExtra ? visible.Intersect(translated) : visible.Subtract(translated);
    }
    TPoint origin = OriginInTopLevel(*window);
    if (!wholeWindow) {
        origin.x += window->clientRect.Left;
        origin.y += window->clientRect.Top;
    }
    area.surface = ensureSurface(*topLevel);
    area.origin = origin;
    notePresent(*topLevel, visible.Bounds());
    visible.Offset(-origin.x, -origin.y);
    area.visible = visible;
    return true;
}

} // namespace

void RegisterWindowDrawingAreas() {
    static bool registered = [] {
        SetWindowDrawingAreaLookup([](HWND window, bool wholeWindow, WindowDrawingArea& area) {
            return fillArea(window, wholeWindow, area, DCX_USESTYLE, nullptr, false);
        });
        return true;
    }();
    (void)registered;
}

namespace {

// Splits a region given in client coordinates into the client part and whether it touches the frame.
struct Invalidation {
    Region client;
    bool touchesFrame = false;
};

Invalidation clipToWindow(const Window& window, const Region* region) {
    TRect client = sizeRect(window.clientRect);
    if (!region) return {Region(client), true};
    Invalidation result;
    result.client = region->Intersect(Region(client));
    TRect whole = OffsetRectBy(sizeRect(window.rect), -window.clientRect.Left, -window.clientRect.Top);
    result.touchesFrame = !region->Intersect(Region(whole)).Subtract(Region(client)).IsEmpty();
    return result;
}

bool includesChildren(const Window& window, UINT flags) {
    if (flags & RDW_ALLCHILDREN) return true;
    return !(flags & RDW_NOCHILDREN) && !(window.style & WS_CLIPCHILDREN);
}

void redraw(Window& window, const Region* region, UINT flags);

void redrawChildren(Window& window, const Region* region, UINT flags) {
    for (Window* child : window.children) {
        if (!(child->style & WS_VISIBLE)) continue;
        // The child's part of the region, moved into the child's client coordinates.
        int dx = -(child->rect.Left + child->clientRect.Left);
        int dy = -(child->rect.Top + child->clientRect.Top);
        Region childArea(child->rect);
        Region part = region ? region->Intersect(childArea) : childArea;
        if (part.IsEmpty()) continue;
        part.Offset(dx, dy);
        redraw(*child, &part, flags | RDW_FRAME);
    }
}

void redraw(Window& window, const Region* region, UINT flags) {
    if (window.redrawDisabled || !IsShowing(window)) return;
    Invalidation target = clipToWindow(window, region);
    if (flags & RDW_INVALIDATE) {
        window.updateRegion = window.updateRegion.Unite(target.client);
        if ((flags & RDW_ERASE) && !target.client.IsEmpty()) window.eraseNeeded = true;
        if ((flags & RDW_FRAME) && target.touchesFrame) window.frameNeedsPaint = true;
    }
    if (flags & RDW_INTERNALPAINT) window.internalPaint = true;
    if (flags & RDW_VALIDATE) {
        window.updateRegion = window.updateRegion.Subtract(target.client);
        if (window.updateRegion.IsEmpty()) window.eraseNeeded = false;
        if (flags & RDW_NOFRAME) window.frameNeedsPaint = false;
    }
    if (flags & RDW_NOINTERNALPAINT) window.internalPaint = false;
    if (flags & RDW_NOERASE) window.eraseNeeded = false;
    if (includesChildren(window, flags)) redrawChildren(window, region ? &target.client : nullptr, flags);
    if (!(flags & (RDW_INVALIDATE | RDW_VALIDATE)) || !window.updateRegion.IsEmpty() ||
        window.frameNeedsPaint)
        WakeThread(*window.thread);
}

void paintFrameNow(Window& window) {
    if (!window.frameNeedsPaint) return;
    window.frameNeedsPaint = false;
    SendMessageW(window.handle, WM_NCPAINT, wholeFrame, 0);
}

bool needsPaint(const Window& window) {
    return !window.updateRegion.IsEmpty() || window.internalPaint;
}

void updateTree(HWND handle) {
    Window* window = FindWindowObject(handle);
    if (!window || !IsShowing(*window)) return;
    paintFrameNow(*window);
    window = FindWindowObject(handle);
    if (window && needsPaint(*window)) SendMessageW(handle, WM_PAINT, 0, 0);
    window = FindWindowObject(handle);
    if (!window) return;
    std::vector<HWND> children;
    for (Window* child : window->children)
        children.push_back(child->handle);
    for (HWND child : children)
        updateTree(child);
}

Region regionFromRect(const RECT* rect, const Window& window) {
    return rect ? Region(*rect) : Region(sizeRect(window.clientRect));
}

BOOL changeUpdate(HWND handle, const Region* region, UINT flags) {
    Window* window = WindowOrError(handle);
    if (!window) return FALSE;
    redraw(*window, region, flags);
    return TRUE;
}

void moveUpdateRegion(Window& window, const Region& scrolled, int dx, int dy, const Region& clip) {
    Region moving = window.updateRegion.Intersect(scrolled);
    Region moved = offsetRegion(moving, dx, dy).Intersect(clip);
    window.updateRegion = window.updateRegion.Subtract(scrolled).Unite(moved);
}

void movePixels(PixelSurface& surface, const Region& destination, TPoint origin, int dx, int dy) {
    if (destination.IsEmpty()) return;
    TRect source = OffsetRectBy(destination.Bounds(), origin.x - dx, origin.y - dy);
    source = IntersectRects(source, surface.Bounds());
    PixelSurface copy(std::max(source.Width(), 1), std::max(source.Height(), 1));
    for (int y = source.Top; y < source.Bottom; ++y)
        for (int x = source.Left; x < source.Right; ++x)
            copy.Set(x - source.Left, y - source.Top, surface.At(x, y));
    for (const TRect& part : destination.Rectangles())
        for (int y = part.Top; y < part.Bottom; ++y)
            for (int x = part.Left; x < part.Right; ++x) {
                int fromX = x + origin.x - dx, fromY = y + origin.y - dy;
                int toX = x + origin.x, toY = y + origin.y;
                if (RectContains(source, {fromX, fromY}) && RectContains(surface.Bounds(), {toX, toY}))
                    surface.Set(toX, toY, copy.At(fromX - source.Left, fromY - source.Top));
            }
}

// Without a scroll rectangle every child moves, those outside the client area too.
void scrollChildren(Window& window, const RECT* scroll, const TRect& scrollRect, int dx, int dy) {
    for (Window* child : std::vector<Window*>(window.children))
        if (!scroll || !IsEmptyRect(IntersectRects(child->rect, scrollRect)))
            SetWindowPos(child->handle, nullptr, child->rect.Left + dx, child->rect.Top + dy, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void reportUpdate(const Region& invalid, HRGN update, LPRECT updateRect) {
    if (update) {
        HRGN copy = CreateRegionHandle(invalid);
        CombineRgn(update, copy, nullptr, RGN_COPY);
        DeleteObject(copy);
    }
    if (updateRect) *updateRect = invalid.IsEmpty() ? TRect{} : invalid.Bounds();
}

} // namespace

// ---- Update regions ----

BOOL InvalidateRect(HWND handle, const RECT* rect, BOOL erase) {
    if (!handle) {
        for (Window* topLevel : std::vector<Window*>(DesktopWindowObject().children))
            InvalidateRect(topLevel->handle, nullptr, erase);
        return TRUE;
    }
    Window* window = WindowOrError(handle);
    if (!window) return FALSE;
    Region region = regionFromRect(rect, *window);
    return changeUpdate(handle, &region, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL InvalidateRgn(HWND handle, HRGN region, BOOL erase) {
    if (!region) return InvalidateRect(handle, nullptr, erase);
    Region area = RegionOfHandle(region);
    return changeUpdate(handle, &area, RDW_INVALIDATE | (erase ? RDW_ERASE : 0));
}

BOOL ValidateRect(HWND handle, const RECT* rect) {
    Window* window = WindowOrError(handle);
    if (!window) return FALSE;
    Region region = regionFromRect(rect, *window);
    return changeUpdate(handle, &region, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL ValidateRgn(HWND handle, HRGN region) {
    if (!region) return ValidateRect(handle, nullptr);
    Region area = RegionOfHandle(region);
    return changeUpdate(handle, &area, RDW_VALIDATE | RDW_NOCHILDREN);
}

BOOL GetUpdateRect(HWND handle, LPRECT rect, BOOL erase) {
    Window* window = WindowOrError(handle);
    if (!window) return FALSE;
    bool empty = window->updateRegion.IsEmpty();
    if (rect) *rect = empty ? TRect{} : window->updateRegion.Bounds();
    if (erase && !empty && window->eraseNeeded) {
        HDC dc = GetDCEx(handle, nullptr, DCX_INTERSECTUPDATE | DCX_USESTYLE);
        window->eraseNeeded = false;
        SendMessageW(handle, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        ReleaseDC(handle, dc);
    }
    return empty ? FALSE : TRUE;
}

int GetUpdateRgn(HWND handle, HRGN region, BOOL erase) {
    Window* window = WindowOrError(handle);
    if (!window || !region) return ERROR;
    HRGN copy = CreateRegionHandle(window->updateRegion);
    int kind = CombineRgn(region, copy, nullptr, RGN_COPY);
    DeleteObject(copy);
    GetUpdateRect(handle, nullptr, erase);
    return kind;
}

BOOL RedrawWindow(HWND handle, const RECT* rect, HRGN region, UINT flags) {
    Window* window = WindowOrError(handle ? handle : GetDesktopWindow());
    if (!window) return FALSE;
    std::optional<Region> area;
    if (region)
        area = RegionOfHandle(region);
    else if (rect)
        area = Region(*rect);
    if (window == &DesktopWindowObject()) {
        for (Window* topLevel : std::vector<Window*>(window->children))
            RedrawWindow(topLevel->handle, nullptr, nullptr, flags);
        return TRUE;
    }
    redraw(*window, area ? &*area : nullptr, flags);
    if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) updateTree(handle);
    return TRUE;
}

// ---- Painting ----

HDC BeginPaint(HWND handle, PAINTSTRUCT* paint) {
    Window* window = WindowOrError(handle);
    if (!window || !paint) return nullptr;
    RegisterWindowDrawingAreas();
    SuspendCaret(*window->thread, handle);
    paintFrameNow(*window);
    window = FindWindowObject(handle);
    if (!window) return nullptr;
    Region update = window->updateRegion.Intersect(Region(sizeRect(window->clientRect)));
    bool erase = window->eraseNeeded;
    window->updateRegion = {};
    window->eraseNeeded = false;
    window->internalPaint = false;
    TPoint clientOrigin{window->clientRect.Left, window->clientRect.Top};
    Region clip = offsetRegion(update, clientOrigin.x, clientOrigin.y);
    TPoint windowOrigin = WindowOriginOnScreen(*window);
    clip.Offset(windowOrigin.x, windowOrigin.y);
    WindowDrawingArea area;
    fillArea(handle, false, area, DCX_USESTYLE, &clip, true);
    HDC dc = CreateDrawingAreaDC(handle, area);
    *paint = PAINTSTRUCT{};
    paint->hdc = dc;
    paint->rcPaint = update.IsEmpty() ? TRect{} : update.Bounds();
    paint->fErase = FALSE;
    if (erase)
        paint->fErase = SendMessageW(handle, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) ? FALSE : TRUE;
    return dc;
}

BOOL EndPaint(HWND handle, const PAINTSTRUCT* paint) {
    if (paint && paint->hdc) ReleaseDC(handle, paint->hdc);
    Window* window = FindWindowObject(handle);
    if (window) ResumeCaret(*window->thread, handle);
    return TRUE;
}

// What is painted here reaches the screen at once, as drawing on the screen
// does, also when no message is handled for a while afterwards.
BOOL UpdateWindow(HWND handle) {
    if (!WindowOrError(handle)) return FALSE;
    updateTree(handle);
    PresentPendingPixels(CurrentThread());
    return TRUE;
}

// ---- Scrolling ----

int ScrollWindowEx(HWND handle, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN update,
                   LPRECT updateRect, UINT flags) {
    Window* window = WindowOrError(handle);
    if (!window) return ERROR;
    TRect client = sizeRect(window->clientRect);
    TRect scrollRect = scroll ? IntersectRects(*scroll, client) : client;
    TRect clipRect = clip ? IntersectRects(*clip, client) : client;
    SuspendCaret(*window->thread, handle);
    TPoint origin;
    std::shared_ptr<PixelSurface> surface = SurfaceOf(*window, origin);
    Region visible = VisibleClientRegion(*window);
    Region scrolled(IntersectRects(scrollRect, clipRect));
    Region source = scrolled.Intersect(visible);
    Region destination = offsetRegion(source, dx, dy).Intersect(Region(clipRect)).Intersect(visible);
    if (surface) movePixels(*surface, destination, origin, dx, dy);
    Region invalid = scrolled.Intersect(visible).Subtract(destination);
    moveUpdateRegion(*window, scrolled, dx, dy, Region(clipRect));
    if (Window* topLevel = TopLevelOf(window)) {
        TPoint clientInTop = OriginInTopLevel(*window);
        notePresent(*topLevel, OffsetRectBy(scrollRect, clientInTop.x + window->clientRect.Left,
                                            clientInTop.y + window->clientRect.Top));
    }
    MoveCaretWithScroll(*window->thread, handle, scrollRect, dx, dy);
    if (flags & SW_SCROLLCHILDREN) scrollChildren(*window, scroll, scrollRect, dx, dy);
    if (flags & SW_INVALIDATE)
        redraw(*window, &invalid, RDW_INVALIDATE | ((flags & SW_ERASE) ? RDW_ERASE : 0) | RDW_NOCHILDREN);
    ResumeCaret(*window->thread, handle);
    reportUpdate(invalid, update, updateRect);
    return invalid.Kind();
}

BOOL ScrollWindow(HWND window, int dx, int dy, const RECT* scroll, const RECT* clip) {
    UINT flags = SW_INVALIDATE | SW_ERASE | (scroll ? 0 : SW_SCROLLCHILDREN);
    return ScrollWindowEx(window, dx, dy, scroll, clip, nullptr, nullptr, flags) != ERROR ? TRUE : FALSE;
}

// ---- Device contexts ----

HDC GetDCEx(HWND handle, HRGN clip, DWORD flags) {
    if (!handle) return GetDC(nullptr);
    Window* window = WindowOrError(handle);
    if (!window) return nullptr;
    RegisterWindowDrawingAreas();
    std::optional<Region> extra;
    bool intersect = flags & DCX_INTERSECTRGN;
    if (clip && reinterpret_cast<UINT_PTR>(clip) != wholeFrame &&
        (flags & (DCX_INTERSECTRGN | DCX_EXCLUDERGN)))
        extra = RegionOfHandle(clip);
    if (flags & (DCX_INTERSECTUPDATE | DCX_EXCLUDEUPDATE)) {
        Region update = offsetRegion(window->updateRegion, window->clientRect.Left, window->clientRect.Top);
        TPoint origin = WindowOriginOnScreen(*window);
        update.Offset(origin.x, origin.y);
        extra = extra ? extra->Intersect(update) : update;
        intersect = flags & DCX_INTERSECTUPDATE;
        if (flags & DCX_VALIDATE) window->updateRegion = {};
    }
    WindowDrawingArea area;
    if (!fillArea(handle, flags & DCX_WINDOW, area, flags, extra ? &*extra : nullptr, intersect))
        return nullptr;
    return CreateDrawingAreaDC(handle, area);
}

std::shared_ptr<PixelSurface> CaptureWindowPixels(HWND handle, bool clientOnly) {
    Window* window = FindWindowObject(handle);
    Window* topLevel = window ? TopLevelOf(window) : nullptr;
    if (!topLevel) return nullptr;
    std::shared_ptr<PixelSurface> surface = ensureSurface(*topLevel);
    TPoint origin = OriginInTopLevel(*window);
    TRect area = clientOnly ? window->clientRect : sizeRect(window->rect);
    area = OffsetRectBy(area, origin.x, origin.y);
    auto copy = std::make_shared<PixelSurface>(std::max(area.Width(), 1), std::max(area.Height(), 1));
    for (int y = 0; y < area.Height(); ++y)
        for (int x = 0; x < area.Width(); ++x)
            if (RectContains(surface->Bounds(), {area.Left + x, area.Top + y}))
                copy->Set(x, y, surface->At(area.Left + x, area.Top + y));
    return copy;
}

// Row by row: the magnifier reads the screen 40 times a second.
void ComposeScreen(const TRect& rect, PixelSurface& screen, const PixelSurface* desktopImage) {
    const TRect area = IntersectRects(rect, screen.Bounds());
    const Pixel desktop = PixelFromColorRef(GetSysColor(COLOR_DESKTOP));
    const TRect imaged = desktopImage ? IntersectRects(area, desktopImage->Bounds()) : TRect{};
    for (int y = area.Top; y < area.Bottom; ++y) {
        Pixel* row = screen.Row(y);
        std::fill(row + area.Left, row + area.Right, desktop);
        if (y >= imaged.Top && y < imaged.Bottom && imaged.Left < imaged.Right) {
            const Pixel* image = desktopImage->Row(y);
            std::copy(image + imaged.Left, image + imaged.Right, row + imaged.Left);
        }
    }
    std::vector<Window*> topLevels = DesktopWindowObject().children;
    for (auto each = topLevels.rbegin(); each != topLevels.rend(); ++each) {
        Window& window = **each;
        if (!(window.style & WS_VISIBLE) || !window.surface) continue;
        const TRect surfaceOnScreen{window.rect.Left, window.rect.Top, window.rect.Left + window.surface->Width(),
                                    window.rect.Top + window.surface->Height()};
        const TRect bounds = IntersectRects(IntersectRects(window.rect, area), surfaceOnScreen);
        for (int y = bounds.Top; y < bounds.Bottom; ++y) {
            const int windowY = y - window.rect.Top;
            const Pixel* source = window.surface->Row(windowY);
            Pixel* row = screen.Row(y);
            const int left = bounds.Left - window.rect.Left;
            const int right = bounds.Right - window.rect.Left;
            if (!window.windowRegion) {
                std::copy(source + left, source + right, row + bounds.Left);
                continue;
            }
            for (int windowX = left; windowX < right; ++windowX)
                if (window.windowRegion->Contains(windowX, windowY)) row[window.rect.Left + windowX] = source[windowX];
        }
    }
}

// ---- For the window units ----

HWND WindowNeedingPaint(ThreadState& thread, HWND filter) {
    Window* filterWindow = filter ? FindWindowObject(filter) : nullptr;
    for (HWND handle : WindowsOfThread(thread)) {
        Window* window = FindWindowObject(handle);
        if (!window || !IsShowing(*window)) continue;
        if (filter && window != filterWindow && !IsDescendantOf(window, filterWindow)) continue;
        if (window->frameNeedsPaint && !needsPaint(*window)) paintFrameNow(*window);
        window = FindWindowObject(handle);
        if (window && needsPaint(*window)) return handle;
    }
    return nullptr;
}

void PresentPendingPixels(ThreadState& thread) {
    for (Window* topLevel : std::vector<Window*>(DesktopWindowObject().children)) {
        if (topLevel->thread.get() != &thread || IsEmptyRect(topLevel->presentPending) || !topLevel->surface)
            continue;
        TRect changed = topLevel->presentPending;
        topLevel->presentPending = {};
        CurrentBackend().Present(topLevel->handle, *topLevel->surface, changed);
    }
}

void InvalidateWindowArea(Window& window) {
    if (IsTopLevelWindow(window) || !window.parent) return;
    Window& parent = *window.parent;
    Region area(window.rect);
    if (window.windowRegion)
        area = area.Intersect(offsetRegion(*window.windowRegion, window.rect.Left, window.rect.Top));
    redraw(parent, &area, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void InvalidateWholeWindow(Window& window) {
    redraw(window, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void ResizeWindowSurface(Window& window) {
    if (!window.surface) return;
    int width = std::max(window.rect.Width(), 1);
    int height = std::max(window.rect.Height(), 1);
    if (window.surface->Width() == width && window.surface->Height() == height) return;
    auto resized = std::make_shared<PixelSurface>(width, height);
    const int keptWidth = std::min(width, window.surface->Width());
    for (int y = 0; y < std::min(height, window.surface->Height()); ++y)
        std::copy_n(window.surface->Row(y), keptWidth, resized->Row(y));
    window.surface = resized;
    window.presentPending = resized->Bounds();
}

void NoteChangedPixels(Window& window, const TRect& windowRect) {
    Window* topLevel = TopLevelOf(&window);
    if (!topLevel) return;
    TPoint origin = OriginInTopLevel(window);
    notePresent(*topLevel, OffsetRectBy(windowRect, origin.x, origin.y));
}

std::shared_ptr<PixelSurface> SurfaceOf(Window& window, TPoint& clientOrigin) {
    Window* topLevel = TopLevelOf(&window);
    if (!topLevel) return nullptr;
    TPoint origin = OriginInTopLevel(window);
    clientOrigin = {origin.x + window.clientRect.Left, origin.y + window.clientRect.Top};
    return ensureSurface(*topLevel);
}

Region VisibleClientRegion(const Window& window) {
    Region visible =
        visibleRegion(window, false, window.style & WS_CLIPCHILDREN, window.style & WS_CLIPSIBLINGS);
    TPoint origin = OriginInTopLevel(window);
    visible.Offset(-origin.x - window.clientRect.Left, -origin.y - window.clientRect.Top);
    return visible;
}
