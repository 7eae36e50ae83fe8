#include "platform/core/Clock.h"

#include <cstdlib>
#include <ctime>
#include <mutex>
#include <string_view>
#include <vector>

namespace {

struct ClockState {
    std::mutex mutex;
    bool stepped = false;
    DWORD steppedNow = 0;
    std::vector<std::function<void()>> listeners;
};

ClockState& clockState() {
    static ClockState state;
    return state;
}

DWORD realMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const UInt64 milliseconds =
        static_cast<UInt64>(now.tv_sec) * 1000 + static_cast<UInt64>(now.tv_nsec) / 1000000;
    return static_cast<DWORD>(milliseconds);
}

void tellListeners() {
    std::vector<std::function<void()>> listeners;
    {
        std::lock_guard lock(clockState().mutex);
        listeners = clockState().listeners;
    }
    for (const auto& listener : listeners)
        listener();
}

} // namespace

DWORD ClockMilliseconds() {
    ClockState& state = clockState();
    std::lock_guard lock(state.mutex);
    return state.stepped ? state.steppedNow : realMilliseconds();
}

bool IsClockStepped() {
    ClockState& state = clockState();
    std::lock_guard lock(state.mutex);
    return state.stepped;
}

void UseSteppedClock(bool stepped) {
    ClockState& state = clockState();
    {
        std::lock_guard lock(state.mutex);
        if (stepped && !state.stepped) state.steppedNow = realMilliseconds();
        state.stepped = stepped;
    }
    // Waits on stepped time must now look at the real clock, and the other way round.
    tellListeners();
}

void AdvanceClock(DWORD milliseconds) {
    ClockState& state = clockState();
    {
        std::lock_guard lock(state.mutex);
        if (!state.stepped) return;
        state.steppedNow += milliseconds;
    }
    tellListeners();
}

void AddClockListener(std::function<void()> listener) {
    ClockState& state = clockState();
    std::lock_guard lock(state.mutex);
    state.listeners.push_back(std::move(listener));
}

bool PausesDisabled() {
    static const bool disabled = [] {
        const char* setting = std::getenv("QUORVANE_NO_PAUSES");
        return setting && *setting && std::string_view(setting) != "0";
    }();
    return disabled;
}
