// Deferred window positions are kept until EndDeferWindowPos applies them.
#include "platform/win/WindowPlacement.h"

#include "platform/win/LastError.h"
#include "platform/win/WindowPos.h"
#include "platform/win/Windows.h"

#include <memory>
#include <mutex>
#include <set>
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

BOOL DrawAnimatedRects(HWND, int, const RECT*, const RECT*) {
    return TRUE;
}
