// The caret is drawn by inverting pixels (XOR), so drawing it twice takes it off.
#include "platform/win/Caret.h"

#include "platform/win/Bitmaps.h"
#include "platform/win/Messages.h"
#include "platform/win/Painting.h"
#include "platform/win/SystemInfo.h"

namespace {

const HBITMAP greyCaret = reinterpret_cast<HBITMAP>(1);
constexpr Pixel invertAll = PixelColourMask;
constexpr Pixel invertGrey = 0x00808080;

// Suspensions by painting and scrolling, per thread.
thread_local int suspensions = 0;

bool isVisible(const CaretState& caret) {
    return caret.window && caret.hideCount == 0 && suspensions == 0;
}

void invert(CaretState& caret) {
    Window* window = FindWindowObject(caret.window);
    if (!window) return;
    TPoint origin;
    std::shared_ptr<PixelSurface> surface = SurfaceOf(*window, origin);
    if (!surface) return;
    std::shared_ptr<PixelSurface> image =
        caret.bitmap && caret.bitmap != greyCaret ? BitmapSurface(caret.bitmap) : nullptr;
    Region visible = VisibleClientRegion(*window);
    for (int y = 0; y < caret.height; ++y)
        for (int x = 0; x < caret.width; ++x) {
            int clientX = caret.position.x + x, clientY = caret.position.y + y;
            int surfaceX = origin.x + clientX, surfaceY = origin.y + clientY;
            if (!visible.Contains(clientX, clientY) || !RectContains(surface->Bounds(), {surfaceX, surfaceY}))
                continue;
            Pixel mask = caret.bitmap == greyCaret                            ? invertGrey
                         : image && x < image->Width() && y < image->Height() ? image->At(x, y)
                                                                              : invertAll;
            surface->Set(surfaceX, surfaceY, surface->At(surfaceX, surfaceY) ^ (mask & PixelColourMask));
        }
    TRect changed{caret.position.x + window->clientRect.Left, caret.position.y + window->clientRect.Top, 0,
                  0};
    changed.Right = changed.Left + caret.width;
    changed.Bottom = changed.Top + caret.height;
    NoteChangedPixels(*window, changed);
    caret.drawn = !caret.drawn;
}

void takeOff(CaretState& caret) {
    if (caret.drawn) invert(caret);
}

// Shows the caret at once and starts a new blink period.
void putOn(CaretState& caret) {
    if (!caret.drawn && isVisible(caret)) invert(caret);
    caret.nextBlink = CurrentMilliseconds() + GetCaretBlinkTime();
}

CaretState* ownedCaret(HWND window) {
    CaretState& caret = CurrentThread().caret;
    if (!caret.window) return nullptr;
    if (window && caret.window != window) return nullptr;
    return &caret;
}

} // namespace

BOOL CreateCaret(HWND window, HBITMAP bitmap, int width, int height) {
    Window* object = WindowOrError(window);
    if (!object || object->thread.get() != &CurrentThread()) return FALSE;
    CaretState& caret = CurrentThread().caret;
    takeOff(caret);
    caret = CaretState{};
    caret.window = window;
    caret.bitmap = bitmap;
    if (auto image = bitmap && bitmap != greyCaret ? BitmapSurface(bitmap) : nullptr) {
        width = image->Width();
        height = image->Height();
    }
    caret.width = width > 0 ? width : GetSystemMetrics(SM_CXBORDER);
    caret.height = height > 0 ? height : GetSystemMetrics(SM_CYBORDER);
    caret.hideCount = 1;
    return TRUE;
}

BOOL DestroyCaret() {
    CaretState& caret = CurrentThread().caret;
    if (!caret.window) return FALSE;
    takeOff(caret);
    caret = CaretState{};
    return TRUE;
}

BOOL ShowCaret(HWND window) {
    CaretState* caret = ownedCaret(window);
    if (!caret) return FALSE;
    if (caret->hideCount > 0 && --caret->hideCount == 0) putOn(*caret);
    return TRUE;
}

BOOL HideCaret(HWND window) {
    CaretState* caret = ownedCaret(window);
    if (!caret) return FALSE;
    ++caret->hideCount;
    takeOff(*caret);
    return TRUE;
}

BOOL SetCaretPos(int x, int y) {
    CaretState& caret = CurrentThread().caret;
    if (!caret.window) return FALSE;
    if (caret.position == POINT{x, y}) return TRUE;
    takeOff(caret);
    caret.position = {x, y};
    putOn(caret);
    return TRUE;
}

BOOL GetCaretPos(LPPOINT point) {
    CaretState& caret = CurrentThread().caret;
    if (!point || !caret.window) return FALSE;
    *point = caret.position;
    return TRUE;
}

void DestroyCaretOf(ThreadState& thread, HWND window) {
    if (&thread == &CurrentThread() && thread.caret.window == window) DestroyCaret();
}

void SuspendCaret(ThreadState& thread, HWND window) {
    if (&thread != &CurrentThread()) return;
    ++suspensions;
    if (thread.caret.window == window) takeOff(thread.caret);
}

void ResumeCaret(ThreadState& thread, HWND window) {
    if (&thread != &CurrentThread() || suspensions == 0) return;
    --suspensions;
    if (thread.caret.window == window || suspensions == 0) putOn(thread.caret);
}

void MoveCaretWithScroll(ThreadState& thread, HWND window, const TRect& scrolled, int dx, int dy) {
    CaretState& caret = thread.caret;
    if (&thread == &CurrentThread() && caret.window == window && RectContains(scrolled, caret.position)) {
        caret.position.x += dx;
        caret.position.y += dy;
    }
}

void ServiceCaretBlink(ThreadState& thread) {
    CaretState& caret = thread.caret;
    if (&thread != &CurrentThread() || !isVisible(caret)) return;
    DWORD now = CurrentMilliseconds();
    if (static_cast<int>(now - caret.nextBlink) < 0) return;
    invert(caret);
    caret.nextBlink = now + GetCaretBlinkTime();
}

DWORD MillisecondsToCaretBlink(ThreadState& thread) {
    CaretState& caret = thread.caret;
    if (&thread != &CurrentThread() || !isVisible(caret)) return INFINITE;
    int remaining = static_cast<int>(caret.nextBlink - CurrentMilliseconds());
    return remaining <= 0 ? 0 : static_cast<DWORD>(remaining);
}
