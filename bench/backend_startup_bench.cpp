// Start-up to the first painted window with the desktop backend on a private
// X server, against the headless backend: the demonstration program is
// started and timed until it says its window is ready. Then the time to the
// first window mapped, best and median, of the demonstration beside a GTK text
// editor and a GTK colour picker from the system's packages (make bench-deps
// installs them), each on a server of its own. On the same server,
// in this process: a full repaint of a main-window-sized window until its
// pixels are on the screen, and reading the screen around the pointer the
// way a magnifier does (at least 40 times a second).
#include "FirstWindowMapped.h"
#include "platform/backend/Backend.h"
#include "platform/backend/gtk/GtkBackend.h"
#include "platform/backend/tests/PrivateXServer.h"
#include "platform/win/Bitmaps.h"
#include "platform/win/Blit.h"
#include "platform/win/DefWindowProc.h"
#include "platform/win/Drawing.h"
#include "platform/win/Focus.h"
#include "platform/win/Gdi.h"
#include "platform/win/Messages.h"
#include "platform/win/Painting.h"
#include "platform/win/Timers.h"
#include "platform/win/WindowPos.h"
#include "platform/win/Windows.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;

constexpr auto readyTimeout = 30s;
constexpr int mainWidth = 1000;
constexpr int mainHeight = 700;
constexpr int magnifierSide = 64;

PrivateXServer* sharedServer() {
    static std::unique_ptr<PrivateXServer> server =
        PrivateXServer::Installed() ? std::make_unique<PrivateXServer>() : nullptr;
    return server && !server->Display().empty() ? server.get() : nullptr;
}

void startUntilReady(benchmark::State& state, const Environment& environment) {
    for (auto _ : state) {
        auto started = std::chrono::steady_clock::now();
        ChildProcess demo({QUORVANE_BACKEND_DEMO, "--exit-after-paint"}, environment);
        bool ready = demo.WaitForLine("ready", readyTimeout).has_value();
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
        if (!ready) state.SkipWithError("the demonstration never became ready");
    }
}

void BM_StartupHeadless(benchmark::State& state) {
    startUntilReady(state, {{"QUORVANE_BACKEND", "headless"}});
}
BENCHMARK(BM_StartupHeadless)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_StartupDesktop(benchmark::State& state) {
    PrivateXServer* server = sharedServer();
    if (!server) {
        state.SkipWithError("Xvfb is not installed");
        return;
    }
    startUntilReady(state,
                    {{"DISPLAY", server->Display()}, {"QUORVANE_BACKEND", "gtk"}, {"NO_AT_BRIDGE", "1"}});
}
BENCHMARK(BM_StartupDesktop)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// ---- The first window mapped, ours beside other programs' ----

constexpr int startupRuns = 7;

bool installed(const std::string& program) {
    return program.find('/') != std::string::npos ? std::filesystem::exists(program) : ProgramOnPath(program);
}

// A settings folder of its own for every program, so that none finds another's state.
Environment startupEnvironment(const std::string& display, const std::filesystem::path& folder) {
    return {{"DISPLAY", display},
            {"QUORVANE_BACKEND", "gtk"},
            {"NO_AT_BRIDGE", "1"},
            {"XDG_CACHE_HOME", (folder / "cache").string()},
            {"XDG_CONFIG_HOME", (folder / "config").string()},
            {"XDG_DATA_HOME", (folder / "data").string()}};
}

void reportBestAndMedian(benchmark::State& state, std::vector<double> seconds) {
    if (seconds.empty()) return;
    std::sort(seconds.begin(), seconds.end());
    state.counters["best_ms"] = seconds.front() * 1000;
    state.counters["median_ms"] = seconds[(seconds.size() - 1) / 2] * 1000;
}

void BM_FirstWindowMapped(benchmark::State& state, std::vector<std::string> command) {
    if (!installed(command.front())) {
        state.SkipWithError((command.front() + " is not installed (make bench-deps)").c_str());
        return;
    }
    PrivateXServer server;
    if (server.Display().empty()) {
        state.SkipWithError("Xvfb is not installed");
        return;
    }
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("quorvane-startup-" + std::to_string(getpid()));
    const Environment environment = startupEnvironment(server.Display(), folder);
    FirstWindowMapped mapped(server.Display());
    if (!mapped.Watching()) {
        state.SkipWithError("the X server cannot be watched");
        return;
    }
    std::vector<double> seconds;
    for (auto _ : state) {
        mapped.Restart();
        auto started = std::chrono::steady_clock::now();
        ChildProcess program(command, environment);
        const bool seen = mapped.Wait(readyTimeout);
        seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count());
        state.SetIterationTime(seconds.back());
        if (!seen) {
            state.SkipWithError("no window was mapped");
            break;
        }
    }
    std::filesystem::remove_all(folder);
    reportBestAndMedian(state, seconds);
}
BENCHMARK_CAPTURE(BM_FirstWindowMapped, ours_backend_demo,
                  std::vector<std::string>{QUORVANE_BACKEND_DEMO, "--exit-after-paint"})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(startupRuns);
BENCHMARK_CAPTURE(BM_FirstWindowMapped, gtk_text_editor_mousepad, std::vector<std::string>{"mousepad"})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(startupRuns);
BENCHMARK_CAPTURE(BM_FirstWindowMapped, gtk_colour_picker_gcolor3, std::vector<std::string>{"gcolor3"})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(startupRuns);

// ---- In this process, on the private server ----

bool drawnOnce = false;

LRESULT fillProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) return DefWindowProcW(window, message, wParam, lParam);
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    static COLORREF colour = RGB(0, 0, 0);
    colour ^= RGB(40, 80, 120);
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &paint.rcPaint, brush);
    DeleteObject(brush);
    EndPaint(window, &paint);
    return 0;
}

GtkBackend* desktopBackend() {
    static std::shared_ptr<GtkBackend> backend = []() -> std::shared_ptr<GtkBackend> {
        PrivateXServer* server = sharedServer();
        if (!server) return nullptr;
        setenv("DISPLAY", server->Display().c_str(), 1);
        std::shared_ptr<GtkBackend> opened = GtkBackend::Open();
        if (!opened) return nullptr;
        InstallAsBackend(opened);
        // A message ends the wait of WaitMessage.
        opened->SetDrawnHandler([](HWND window) {
            drawnOnce = true;
            PostMessageW(window, WM_NULL, 0, 0);
        });
        return opened;
    }();
    return backend.get();
}

void pumpUntilDrawn() {
    MSG message;
    while (!drawnOnce) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
        if (!drawnOnce) WaitMessage();
    }
}

HWND shownMainWindow() {
    static HWND window = [] {
        WNDCLASSW fill{};
        fill.lpfnWndProc = WindowProcFromFunction(fillProcedure);
        fill.lpszClassName = u"BenchFill";
        RegisterClassW(&fill);
        HWND made = CreateWindowExW(0, u"BenchFill", u"Full repaint", WS_OVERLAPPEDWINDOW, 0, 0, mainWidth,
                                    mainHeight, nullptr, nullptr, nullptr, nullptr);
        ShowWindow(made, SW_SHOW);
        drawnOnce = false;
        pumpUntilDrawn();
        return made;
    }();
    return window;
}

void BM_FullRepaintOnScreen(benchmark::State& state) {
    if (!desktopBackend()) {
        state.SkipWithError("no private X server");
        return;
    }
    HWND window = shownMainWindow();
    for (auto _ : state) {
        drawnOnce = false;
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW);
        pumpUntilDrawn();
    }
}
BENCHMARK(BM_FullRepaintOnScreen)->Unit(benchmark::kMillisecond);

void BM_ReadScreenAroundPointer(benchmark::State& state) {
    GtkBackend* backend = desktopBackend();
    if (!backend) {
        state.SkipWithError("no private X server");
        return;
    }
    shownMainWindow();
    TRect around{100, 100, 100 + magnifierSide, 100 + magnifierSide};
    PixelSurface screen(backend->ScreenSize().cx, backend->ScreenSize().cy);
    for (auto _ : state)
        backend->ReadScreen(around, screen);
}
BENCHMARK(BM_ReadScreenAroundPointer)->Unit(benchmark::kMicrosecond);

// GetDC(nullptr) reads the whole screen before a magnifier copies its part.
void BM_ScreenDeviceContextCopy(benchmark::State& state) {
    if (!desktopBackend()) {
        state.SkipWithError("no private X server");
        return;
    }
    shownMainWindow();
    HDC memory = CreateCompatibleDC(nullptr);
    HBITMAP target = CreateCompatibleBitmap(memory, magnifierSide, magnifierSide);
    HGDIOBJ previous = SelectObject(memory, target);
    for (auto _ : state) {
        HDC screen = GetDC(nullptr);
        BitBlt(memory, 0, 0, magnifierSide, magnifierSide, screen, 100, 100, SRCCOPY);
        ReleaseDC(nullptr, screen);
    }
    SelectObject(memory, previous);
    DeleteObject(target);
    DeleteDC(memory);
}
BENCHMARK(BM_ScreenDeviceContextCopy)->Unit(benchmark::kMillisecond);

double processCpuSeconds() {
    timespec used{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
    return static_cast<double>(used.tv_sec) + static_cast<double>(used.tv_nsec) / 1e9;
}

// A window idling with a focused edit, its caret blinking, as a form waits for the
// user: the CPU time it takes over 2 s of WaitMessage should be a small share.
void BM_IdleWithBlinkingCaret(benchmark::State& state) {
    if (!desktopBackend()) {
        state.SkipWithError("no private X server");
        return;
    }
    HWND window = shownMainWindow();
    HWND edit = CreateWindowExW(0, u"EDIT", u"caret", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 200, 24,
                                window, nullptr, nullptr, nullptr);
    SetFocus(edit);
    constexpr UINT idleMilliseconds = 2000;
    constexpr UINT_PTR idleTimer = 1;
    double cpuSeconds = 0;
    for (auto _ : state) {
        SetTimer(window, idleTimer, idleMilliseconds, nullptr);
        const double before = processCpuSeconds();
        MSG message;
        for (bool idleOver = false; !idleOver;) {
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                idleOver = idleOver || message.message == WM_TIMER;
                DispatchMessageW(&message);
            }
            if (!idleOver) WaitMessage();
        }
        KillTimer(window, idleTimer);
        cpuSeconds = processCpuSeconds() - before;
    }
    DestroyWindow(edit);
    state.counters["cpu_ms_over_2s_idle"] = cpuSeconds * 1000;
    state.counters["cpu_percent_of_a_core"] = cpuSeconds / (idleMilliseconds / 1000.0) * 100;
}
BENCHMARK(BM_IdleWithBlinkingCaret)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
