// Deferred window positions are kept until EndDeferWindowPos applies them.
#include "platform/win/WindowPlacement.h"

#include "platform/core/SysUtils.h"
#include "platform/win/DefWindowProc.h"
#include "platform/win/LastError.h"
#include "platform/win/NonClient.h"
#include "platform/win/Painting.h"
#include "platform/win/WindowProcedures.h"
#include "platform/win/WindowPos.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

struct DeferredWindowPositions {
    struct Move {
        HWND window;
        HWND insertAfter;
        int x;
        int y;
        int width;
        int height;
        UINT flags;
    };
    std::vector<Move> moves;
};

namespace {

struct OpenSets {
    std::mutex mutex;
    std::set<HDWP> sets;
};

OpenSets& openSets() {
    static OpenSets open;
    return open;
}

// Takes a set out of the open ones; null for an unknown handle.
std::unique_ptr<DeferredWindowPositions> takeSet(HDWP positions) {
    OpenSets& open = openSets();
    std::lock_guard lock(open.mutex);
    if (!open.sets.erase(positions)) return nullptr;
    return std::unique_ptr<DeferredWindowPositions>(positions);
}

bool isOpen(HDWP positions) {
    OpenSets& open = openSets();
    std::lock_guard lock(open.mutex);
    return open.sets.contains(positions);
}

} // namespace

HDWP BeginDeferWindowPos(int count) {
    if (count < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto positions = std::make_unique<DeferredWindowPositions>();
    positions->moves.reserve(static_cast<std::size_t>(count));
    OpenSets& open = openSets();
    std::lock_guard lock(open.mutex);
    return *open.sets.insert(positions.release()).first;
}

HDWP DeferWindowPos(HDWP positions, HWND window, HWND insertAfter, int x, int y, int width, int height,
                    UINT flags) {
    if (!isOpen(positions)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (!IsWindow(window)) {
        takeSet(positions);
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    positions->moves.push_back({window, insertAfter, x, y, width, height, flags});
    return positions;
}

BOOL EndDeferWindowPos(HDWP positions) {
    std::unique_ptr<DeferredWindowPositions> set = takeSet(positions);
    if (!set) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    BOOL allMoved = TRUE;
    for (const DeferredWindowPositions::Move& move : set->moves)
        if (!SetWindowPos(move.window, move.insertAfter, move.x, move.y, move.width, move.height, move.flags))
            allMoved = FALSE;
    return allMoved;
}

namespace {

// The caption animation's frames, the first on `from` and the last on `to`.
constexpr int CaptionFrames = 10;
constexpr DWORD CaptionFrameMilliseconds = 15;
constexpr DWORD CaptionBarStyle = WS_POPUP | WS_CAPTION;
constexpr DWORD CaptionBarExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;

int between(int from, int to, int frame) {
    return from + (to - from) * frame / CaptionFrames;
}

HWND createCaptionBar(HWND window) {
    static const bool registered = [] {
        WNDCLASSW bar{};
        bar.lpfnWndProc = WindowProcFromFunction(DefWindowProcW);
        bar.lpszClassName = AnimatedCaptionClass;
        return RegisterClassW(&bar) != 0;
    }();
    (void)registered;
    std::u16string text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, u'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return CreateWindowExW(CaptionBarExStyle, AnimatedCaptionClass, text.c_str(), CaptionBarStyle, 0, 0, 0, 0,
                           nullptr, nullptr, nullptr, nullptr);
}

} // namespace

BOOL DrawAnimatedRects(HWND window, int animation, const RECT* from, const RECT* to) {
    if (!from || !to) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (animation != IDANI_CAPTION) return TRUE;
    HWND bar = createCaptionBar(window);
    if (!bar) return FALSE;
    const TRect margins = NonClientMargins(CaptionBarStyle, CaptionBarExStyle);
    const int barHeight = margins.Top + margins.Bottom;
    for (int frame = 0; frame <= CaptionFrames; ++frame) {
        const int left = between(from->Left, to->Left, frame);
        const int top = between(from->Top, to->Top, frame);
        const int width = between(from->Right, to->Right, frame) - left;
        const int height = between(from->Bottom, to->Bottom, frame) - top;
        SetWindowPos(bar, HWND_TOPMOST, left, top, width, std::min(barHeight, height),
                     SWP_NOACTIVATE | SWP_SHOWWINDOW);
        UpdateWindow(bar);
        Sleep(CaptionFrameMilliseconds);
    }
    DestroyWindow(bar);
    return TRUE;
}
