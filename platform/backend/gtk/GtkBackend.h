// The desktop backend: each of our top-level windows becomes a desktop
// window that shows its pixels, the desktop's input, clipboard, screen, file
// chooser and default handlers reach the window system through it, and web
// views are a real browser engine laid over their host windows. GTK runs on
// the thread that opened the backend (the user-interface thread) whenever
// that thread waits for messages.
#pragma once

#include "platform/win/BackendInterface.h"

#include <atomic>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

class DesktopCursor;
class DesktopWindow;
class GtkWebView;

class GtkBackend : public Backend {
public:
    // Opens the display the environment names on the calling thread; null
    // when there is none.
    static std::shared_ptr<GtkBackend> Open();
    GtkBackend(const GtkBackend&) = delete;
    GtkBackend& operator=(const GtkBackend&) = delete;
    ~GtkBackend() override;

    // ---- Backend ----
    void WindowCreated(HWND window, const TRect& bounds) override;
    void WindowDestroyed(HWND window) override;
    void WindowMoved(HWND window, const TRect& bounds) override;
    void WindowShown(HWND window, bool visible) override;
    void WindowTextChanged(HWND window, const WideString& text) override;
    void WindowShapeChanged(HWND window, const std::optional<Region>& shape) override;
    void WindowSizeLimits(HWND window, SIZE minimum, SIZE maximum) override;
    void WindowActivated(HWND window) override;
    void FocusMoved(HWND window) override;
    void Present(HWND window, const PixelSurface& pixels, const TRect& changed) override;
    DWORD Milliseconds() override;
    void WaitForEvents(DWORD timeout) override;
    void Wake() override;
    void SetClipboardText(const WideString& text) override;
    std::optional<WideString> ClipboardText() override;
    void SetSelectionText(const WideString& text) override;
    SIZE ScreenSize() override;
    void ReadScreen(const TRect& rect, PixelSurface& screen) override;
    void SetCursorShape(CursorShape shape, HCURSOR cursor) override;
    void MovePointer(POINT screen) override;
    std::optional<bool> KeyHeldOnDesktop(UINT virtualKey) override;
    bool RunFileDialog(FileDialogRequest& request) override;
    bool OpenUrl(const WideString& target) override;
    std::unique_ptr<WebView> CreateWebView(HWND host, const TRect& clientRect, WebViewEvents events) override;

    // Called on the user-interface thread whenever a top-level window's
    // pixels have reached the screen.
    void SetDrawnHandler(std::function<void(HWND)> handler);

    // ---- For the gtk units ----
    // The desktop window showing a top-level window, while it is shown.
    DesktopWindow* DesktopWindowOf(HWND topLevel) const;
    // Whether the window's pixels have reached the screen since it was made.
    bool HasBeenDrawn(HWND topLevel) const;
    // Where the part of the window that the desktop window shows lies on the screen.
    std::optional<TRect> ContentOnScreen(HWND topLevel) const;
    // Runs `work` from the user-interface thread's message queue.
    void PostToInterfaceThread(std::function<void()> work);
    void AddWebView(GtkWebView& view);
    void RemoveWebView(GtkWebView& view);

    struct TopLevel;

private:
    GtkBackend();

    TopLevel* find(HWND window) const;
    void showDesktopWindow(TopLevel& topLevel);
    void buildDesktopWindow(TopLevel& topLevel);
    void releaseDesktopWindow(TopLevel& topLevel);
    void placeDesktopWindow(TopLevel& topLevel);
    void showPixels(TopLevel& topLevel);
    void applySizeLimits(TopLevel& topLevel);
    void applyShape(TopLevel& topLevel);
    std::shared_ptr<DesktopCursor> cursorFor(CursorShape shape, HCURSOR cursor);
    void followCapture();
    void followPointer();
    void runDeferred();
    void deliverActivation();
    void waitOffDesktop(DWORD timeout);
    void runPosted();
    static LRESULT eventsProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    friend struct TopLevel;
    // Desktop changes that run the program's code wait until GTK's event
    // handling is over.
    void defer(std::function<void()> work);
    void noteFocus(HWND window, bool focused);
    void notePointerOutside(bool outside) { pointerOutside_ = outside; }
    void placedByDesktop(TopLevel& topLevel, const TRect& content);
    void drawn(HWND window);

    std::map<HWND, std::unique_ptr<TopLevel>> windows_;
    std::vector<GtkWebView*> webViews_;
    std::vector<std::function<void()>> deferred_;
    std::function<void(HWND)> drawnHandler_;

    std::atomic<bool> woken_{false};
    std::mutex wakeMutex_;
    std::condition_variable wakeSignal_;

    bool activationPending_ = false;
    HWND focusedWindow_ = nullptr;
    HWND activeWindow_ = nullptr;
    // The window whose bounds the desktop reported and the window system is
    // taking over, and those bounds.
    HWND applyingBoundsOf_ = nullptr;
    TRect boundsFromDesktop_;
    HWND grabbedFor_ = nullptr;
    // The host window of the web view whose page has the keys, or null.
    HWND pageWithKeys_ = nullptr;
    bool pointerOutside_ = false;

    std::map<CursorShape, std::shared_ptr<DesktopCursor>> namedCursors_;
    std::shared_ptr<DesktopCursor> cursor_;
    SIZE screen_{};
    std::mutex clipboardMutex_;
    std::optional<WideString> lastClipboardText_;

    HWND eventsWindow_ = nullptr;
    std::mutex postedMutex_;
    std::vector<std::function<void()>> posted_;
};
