// The installed backend, the built-in one used when none is installed (it
// keeps time and the clipboard, and shows nothing), and the backend's window
// requests.
#include "platform/win/BackendInterface.h"

#include "platform/core/Clock.h"
#include "platform/win/Gdi.h"
#include "platform/win/Messages.h"
#include "platform/win/Painting.h"
#include "platform/win/WindowObjects.h"
#include "platform/win/WindowPos.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace {

class DetachedBackend : public Backend {
public:
    void WindowCreated(HWND, const TRect&) override {}
    void WindowDestroyed(HWND) override {}
    void WindowMoved(HWND, const TRect&) override {}
    void WindowShown(HWND, bool) override {}
    void WindowTextChanged(HWND, const WideString&) override {}
    void WindowShapeChanged(HWND, const std::optional<Region>&) override {}
    void WindowActivated(HWND) override {}
    void Present(HWND, const PixelSurface&, const TRect&) override {}

    DWORD Milliseconds() override {
        return ClockMilliseconds();
    }

    void WaitForEvents(DWORD timeout) override {
        std::unique_lock lock(mutex_);
        if (timeout == INFINITE)
            wake_.wait(lock, [&] { return woken_; });
        else
            wake_.wait_for(lock, std::chrono::milliseconds(timeout), [&] { return woken_; });
        woken_ = false;
    }

    void Wake() override {
        std::lock_guard lock(mutex_);
        woken_ = true;
        wake_.notify_all();
    }

    void SetClipboardText(const WideString& text) override {
        std::lock_guard lock(mutex_);
        clipboard_ = text;
    }
    std::optional<WideString> ClipboardText() override {
        std::lock_guard lock(mutex_);
        return clipboard_;
    }

    SIZE ScreenSize() override { return {defaultScreenWidth, defaultScreenHeight}; }
    void ReadScreen(const TRect& rect, PixelSurface& screen) override { ComposeScreen(rect, screen); }
    void SetCursorShape(CursorShape, HCURSOR) override {}
    void MovePointer(POINT) override {}
    bool RunFileDialog(FileDialogRequest&) override { return false; }
    bool OpenUrl(const WideString&) override { return false; }
    std::unique_ptr<WebView> CreateWebView(HWND, const TRect&, WebViewEvents) override { return nullptr; }

private:
    static constexpr int defaultScreenWidth = 1024;
    static constexpr int defaultScreenHeight = 768;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool woken_ = false;
    std::optional<WideString> clipboard_;
};

struct Installed {
    std::mutex mutex;
    std::shared_ptr<Backend> backend = std::make_shared<DetachedBackend>();
};

Installed& installed() {
    static Installed state;
    return state;
}

void introduceWindows(Backend& backend) {
    for (Window* topLevel : std::vector<Window*>(DesktopWindowObject().children)) {
        backend.WindowCreated(topLevel->handle, topLevel->rect);
        backend.WindowTextChanged(topLevel->handle, topLevel->text);
        if (topLevel->windowRegion) backend.WindowShapeChanged(topLevel->handle, topLevel->windowRegion);
        backend.WindowShown(topLevel->handle, topLevel->style & WS_VISIBLE);
    }
}

} // namespace

void SetBackend(std::shared_ptr<Backend> backend) {
    if (!backend) backend = std::make_shared<DetachedBackend>();
    {
        std::lock_guard lock(installed().mutex);
        installed().backend = backend;
    }
    SIZE screen = backend->ScreenSize();
    Backend* reader = backend.get();
    SetScreenPixelReader(
        [reader](const TRect& rect, PixelSurface& pixels) { reader->ReadScreen(rect, pixels); }, screen.cx,
        screen.cy);
    introduceWindows(*backend);
}

Backend& CurrentBackend() {
    std::lock_guard lock(installed().mutex);
    return *installed().backend;
}

void DeliverCloseRequest(HWND window) {
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void DeliverWindowBounds(HWND handle, const TRect& bounds) {
    Window* window = FindWindowObject(handle);
    if (!window || window->thread.get() != &CurrentThread()) return;
    SetWindowPos(handle, nullptr, bounds.Left, bounds.Top, bounds.Width(), bounds.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}
