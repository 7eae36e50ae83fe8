// The window system's link to a screen. The window manager keeps every window
// and its pixels itself; a backend shows the top-level windows somewhere (in
// memory for tests, on a desktop for users), supplies the clock, and feeds the
// user's input back through the Deliver... calls at the end. Backends live in
// platform/backend and register themselves with SetBackend, so this layer
// never depends on them; without one, windows live in memory and nothing is
// shown.
#pragma once

#include "platform/win/PixelSurface.h"
#include "platform/win/Region.h"
#include "platform/win/WinUser.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

// The mouse pointers a backend knows how to show.
enum class CursorShape {
    Arrow,
    IBeam,
    Wait,
    Cross,
    UpArrow,
    SizeNWSE,
    SizeNESW,
    SizeWE,
    SizeNS,
    SizeAll,
    No,
    Hand,
    AppStarting,
    Help,
    // An image of the program's own (the cursor handle says which).
    Custom,
    // ShowCursor has hidden the pointer.
    Hidden,
};

// What an open or save dialog asks; the backend fills in FileNames.
struct FileDialogRequest {
    bool Save = false;
    // A folder is chosen, not files; it comes back as the file name.
    bool ChooseFolder = false;
    HWND Owner = nullptr;
    WideString Title;
    // Pairs of description and pattern list, as "Text files" and "*.txt;*.log".
    std::vector<std::pair<WideString, WideString>> Filters;
    // 1-based, as the dialogs count it; the backend reports the one chosen.
    int FilterIndex = 1;
    WideString InitialDirectory;
    WideString FileName;
    WideString DefaultExtension;
    bool AllowMultiple = false;
    std::vector<WideString> FileNames;
    // Names offered in a drop-down list beside the name field.
    std::vector<WideString> History;
    // A preview shows the picture file selected.
    bool PicturePreview = false;
    // Set: the dialog has a Help button that calls it, on the dialog's thread.
    std::function<void()> HelpRequested;
};

// The events an embedded browser reports to its host.
struct WebViewEvents {
    std::function<void(const WideString& title)> TitleChanged;
    std::function<void(const WideString& text)> StatusTextChanged;
    std::function<void(int progress, int progressMax)> ProgressChanged;
    std::function<void(const WideString& url)> NavigationCompleted;
};

// A browser shown over a rectangle of a window's client area.
class WebView {
public:
    virtual ~WebView() = default;
    virtual void Navigate(const WideString& url) = 0;
    virtual void GoBack() = 0;
    virtual void GoForward() = 0;
    virtual void Refresh() = 0;
    virtual void SetBounds(const TRect& clientRect) = 0;
    virtual void SetVisible(bool visible) = 0;
    virtual WideString LocationUrl() const = 0;
};

class Backend {
public:
    virtual ~Backend() = default;

    // ---- Top-level windows (bounds in screen coordinates, frame included) ----
    virtual void WindowCreated(HWND window, const TRect& bounds) = 0;
    virtual void WindowDestroyed(HWND window) = 0;
    virtual void WindowMoved(HWND window, const TRect& bounds) = 0;
    virtual void WindowShown(HWND window, bool visible) = 0;
    virtual void WindowTextChanged(HWND window, const WideString& text) = 0;
    // The window's outline in window coordinates, or none for its rectangle.
    virtual void WindowShapeChanged(HWND window, const std::optional<Region>& shape) = 0;
    // The least and greatest size (frame included) the user may drag a
    // resizable window to, as its WM_GETMINMAXINFO answers; told when the
    // window's size is about to change.
    virtual void WindowSizeLimits(HWND window, SIZE minimum, SIZE maximum) {
        (void)window;
        (void)minimum;
        (void)maximum;
    }
    // The window became the active one of the program (or stayed on top).
    virtual void WindowActivated(HWND window) = 0;
    // The keyboard focus moved to `window` (null: to none of our windows). A
    // web view takes its keys while its host window has the focus, and gives
    // them back when the focus moves on.
    virtual void FocusMoved(HWND window) { (void)window; }
    // The window's pixels (window coordinates) changed inside `changed`.
    virtual void Present(HWND window, const PixelSurface& pixels, const TRect& changed) = 0;

    // ---- Time and waiting ----
    // Milliseconds of the clock that timers, message times and the caret use.
    virtual DWORD Milliseconds() = 0;
    // Delivers pending input through the Deliver... calls and returns when
    // something was delivered, when Wake was called or after `timeout`
    // milliseconds (INFINITE waits for one of the others).
    virtual void WaitForEvents(DWORD timeout) = 0;
    // Ends a WaitForEvents in progress; safe from any thread.
    virtual void Wake() = 0;
    // Asked by a message box that has found nothing to do `quietWaits` times
    // running since its last message: false means nobody will ever answer it
    // (a headless run), and it takes its default answer at once.
    virtual bool AnswerMayCome(int quietWaits) {
        (void)quietWaits;
        return true;
    }

    // ---- Clipboard ----
    // Empty text leaves the desktop's clipboard holding no text at all.
    virtual void SetClipboardText(const WideString& text) = 0;
    virtual std::optional<WideString> ClipboardText() = 0;
    // The text a user selected, for a desktop with a primary selection.
    virtual void SetSelectionText(const WideString&) {}

    // ---- Screen and pointer ----
    virtual SIZE ScreenSize() = 0;
    // Copies the screen's pixels of `rect` into the same place of `screen`.
    virtual void ReadScreen(const TRect& rect, PixelSurface& screen) = 0;
    virtual void SetCursorShape(CursorShape shape, HCURSOR cursor) = 0;
    virtual void MovePointer(POINT screen) = 0;
    // Whether the key is held down now anywhere on the desktop, also while
    // another program has the keyboard; none where only the keys delivered
    // to this program are known.
    virtual std::optional<bool> KeyHeldOnDesktop(UINT virtualKey) {
        (void)virtualKey;
        return std::nullopt;
    }

    // ---- Desktop services ----
    // False when the user cancelled.
    virtual bool RunFileDialog(FileDialogRequest& request) = 0;
    // Opens a URL or document with the desktop's handler; false when none took it.
    virtual bool OpenUrl(const WideString& target) = 0;
    virtual std::unique_ptr<WebView> CreateWebView(HWND host, const TRect& clientRect,
                                                   WebViewEvents events) = 0;
};

// Installs the backend (null: the built-in one that shows nothing) and tells
// it about the windows that exist already.
void SetBackend(std::shared_ptr<Backend> backend);
Backend& CurrentBackend();

// ---- Input from the backend -------------------------------------------------
// The backend calls these on any thread; they queue the input for the thread
// that owns the active window, as the system's input queue does.

// A key went down or up. `characters` are what the key types with the current
// modifiers on the user's keyboard; empty lets TranslateMessage use the United
// States layout.
void DeliverKey(UINT virtualKey, bool down, const WideString& characters = {}, bool extended = false);
// Text from an input method, posted as WM_CHAR code units to the focus window.
void DeliverCharacters(const WideString& text);
// The result of an input-method composition (WM_IME_COMPOSITION with GCS_RESULTSTR).
void DeliverComposition(const WideString& result);

enum class MouseButton { Left, Right, Middle };
void DeliverMouseMove(POINT screen);
void DeliverMouseButton(MouseButton button, bool down, POINT screen);
// `delta` in WHEEL_DELTA units per notch, positive away from the user.
void DeliverMouseWheel(int delta, POINT screen);

// The desktop activated or deactivated one of our top-level windows.
void DeliverActivation(HWND window, bool active);
// The user asked to close a top-level window (its close button).
void DeliverCloseRequest(HWND window);
// The user moved or resized a top-level window; bounds in screen coordinates.
void DeliverWindowBounds(HWND window, const TRect& bounds);
// Files dropped at a screen point.
void DeliverDroppedFiles(POINT screen, const std::vector<WideString>& files);
