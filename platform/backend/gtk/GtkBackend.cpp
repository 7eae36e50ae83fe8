// The desktop backend's side facing the window system: which desktop window
// shows which of our windows and how, how the desktop's input and changes
// become the window system's input and messages, and the desktop services.
#include "platform/backend/gtk/GtkBackend.h"

#include "platform/backend/Backend.h"
#include "platform/backend/gtk/DesktopFileChooser.h"
#include "platform/backend/gtk/DesktopSession.h"
#include "platform/backend/gtk/DesktopText.h"
#include "platform/backend/gtk/DesktopWindow.h"
#include "platform/backend/gtk/GtkWebView.h"
#include "platform/backend/gtk/KeyMapping.h"
#include "platform/core/Clock.h"
#include "platform/core/CodePages.h"
#include "platform/win/Bitmaps.h"
#include "platform/win/Cursors.h"
#include "platform/win/DefWindowProc.h"
#include "platform/win/Gdi.h"
#include "platform/win/Icons.h"
#include "platform/win/Messages.h"
#include "platform/win/Mouse.h"
#include "platform/win/NonClient.h"
#include "platform/win/Painting.h"
#include "platform/win/WindowPos.h"
#include "platform/win/WindowTree.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <sstream>

namespace {

constexpr const char16_t* eventsWindowClass = u"QuorvaneDesktopEvents";
constexpr UINT runPostedMessage = WM_APP + 1;
constexpr int engineLoadPollMilliseconds = 10;

// The pointer theme's names for the standard shapes.
const std::map<CursorShape, std::string>& cursorNames() {
    static const std::map<CursorShape, std::string> names{
        {CursorShape::Arrow, "default"},
        {CursorShape::IBeam, "text"},
        {CursorShape::Wait, "wait"},
        {CursorShape::Cross, "crosshair"},
        {CursorShape::UpArrow, "sb_up_arrow"},
        {CursorShape::SizeNWSE, "nwse-resize"},
        {CursorShape::SizeNESW, "nesw-resize"},
        {CursorShape::SizeWE, "ew-resize"},
        {CursorShape::SizeNS, "ns-resize"},
        {CursorShape::SizeAll, "move"},
        {CursorShape::No, "not-allowed"},
        {CursorShape::Hand, "pointer"},
        {CursorShape::AppStarting, "progress"},
        {CursorShape::Help, "help"},
        {CursorShape::Hidden, "none"},
    };
    return names;
}

void onDesktopThread(std::function<void()> work) {
    if (OnDesktopThread())
        work();
    else
        RunOnDesktopThread(std::move(work));
}

DWORD styleOf(HWND window) {
    return static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
}

DWORD exStyleOf(HWND window) {
    return static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
}

// Captioned windows get the desktop's frame; owned or tool pop-ups are the
// program's menus, lists and tips, placed by the program itself.
DesktopWindowKind kindOf(HWND window) {
    DWORD style = styleOf(window), exStyle = exStyleOf(window);
    if ((style & WS_CAPTION) == WS_CAPTION) return DesktopWindowKind::Framed;
    bool owned = GetWindow(window, GW_OWNER) != nullptr;
    if ((style & WS_POPUP) && (owned || (exStyle & (WS_EX_TOOLWINDOW | WS_EX_TOPMOST))))
        return DesktopWindowKind::PopUp;
    return DesktopWindowKind::Plain;
}

// How far the desktop window's content lies inside our window on each side:
// a framed window leaves our own frame and caption to the desktop's.
TRect contentInsets(HWND window, DesktopWindowKind kind, const TRect& bounds) {
    if (kind != DesktopWindowKind::Framed) return {};
    NonClientLayout layout =
        LayoutNonClient(styleOf(window), exStyleOf(window), bounds.Width(), bounds.Height());
    int frame = layout.frameWidth;
    return {frame, std::max(frame, static_cast<int>(layout.caption.Bottom)), frame, frame};
}

DesktopRect desktopRect(const TRect& rect) {
    return {rect.Left, rect.Top, rect.Width(), rect.Height()};
}

std::shared_ptr<PixelSurface> surfaceOf(HWND handle) {
    Window* window = FindWindowObject(handle);
    TPoint clientOrigin;
    return window ? SurfaceOf(*window, clientOrigin) : nullptr;
}

std::ptrdiff_t rowStrideOf(const PixelSurface& surface) {
    return surface.Height() > 1 ? surface.Row(1) - surface.Row(0) : surface.Width();
}

// The desktop shows a colour where the cursor's mask keeps the screen and
// its image inverts it; black is the nearest it can show.
std::shared_ptr<DesktopCursor> imageCursor(HCURSOR cursor) {
    ICONINFO info{};
    if (!GetIconInfo(cursor, &info)) return nullptr;
    std::shared_ptr<PixelSurface> mask = BitmapSurface(info.hbmMask);
    std::shared_ptr<PixelSurface> colour = info.hbmColor ? BitmapSurface(info.hbmColor) : nullptr;
    std::shared_ptr<DesktopCursor> made;
    if (mask) {
        int width = colour ? std::min(colour->Width(), mask->Width()) : mask->Width();
        int height = colour ? std::min(colour->Height(), mask->Height()) : mask->Height() / 2;
        constexpr std::uint32_t opaque = 0xFF000000;
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * std::max(height, 0));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                bool keepsScreen = mask->At(x, y) == PixelWhite;
                Pixel image = (colour ? colour->At(x, y) : mask->At(x, y + height)) & PixelColourMask;
                pixels[static_cast<std::size_t>(y) * width + x] =
                    !keepsScreen ? opaque | image : (image ? opaque : 0);
            }
        made = DesktopCursor::FromImage(pixels, width, height,
                                        {static_cast<int>(info.xHotspot), static_cast<int>(info.yHotspot)});
    }
    DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    return made;
}

std::string nativePath(const WideString& path) {
    std::string text = UTF8Encode(path);
    std::replace(text.begin(), text.end(), '\\', '/');
    return text;
}

std::vector<std::string> splitPatterns(const WideString& patterns) {
    std::vector<std::string> result;
    std::stringstream list(UTF8Encode(patterns));
    for (std::string pattern; std::getline(list, pattern, ';');) {
        pattern.erase(0, pattern.find_first_not_of(' '));
        if (!pattern.empty()) result.push_back(pattern);
    }
    return result;
}

DesktopFileQuestion questionOf(const FileDialogRequest& request, DesktopWindow* owner) {
    DesktopFileQuestion question;
    question.save = request.Save;
    question.chooseFolder = request.ChooseFolder;
    question.owner = owner;
    question.title = UTF8Encode(request.Title);
    for (const auto& [name, patterns] : request.Filters)
        question.filters.push_back({UTF8Encode(name), splitPatterns(patterns)});
    question.filterIndex = request.FilterIndex > 0 ? static_cast<std::size_t>(request.FilterIndex - 1) : 0;
    question.folder = nativePath(request.InitialDirectory);
    question.fileName = nativePath(request.FileName);
    question.defaultExtension = UTF8Encode(request.DefaultExtension);
    if (!question.defaultExtension.empty() && question.defaultExtension.front() == '.')
        question.defaultExtension.erase(0, 1);
    question.multiple = request.AllowMultiple;
    for (const WideString& name : request.History)
        question.history.push_back(nativePath(name));
    question.picturePreview = request.PicturePreview;
    question.help = request.HelpRequested;
    return question;
}

} // namespace

// ---- One top-level window and its desktop window ----

struct GtkBackend::TopLevel : DesktopWindowListener {
    TopLevel(GtkBackend& backend, HWND handle, const TRect& bounds)
        : backend(backend), handle(handle), bounds(bounds) {}

    GtkBackend& backend;
    HWND handle;
    TRect bounds;
    bool visible = false;
    bool drawnOnce = false;
    WideString title;
    std::optional<Region> shape;
    // The frame's least and greatest size; none: the desktop's own.
    std::optional<std::pair<SIZE, SIZE>> sizeLimits;
    // Held so that the pixels the desktop window draws from stay while it shows them.
    std::shared_ptr<PixelSurface> surface;
    std::unique_ptr<DesktopWindow> desktop;

    TRect insets() const { return desktop ? contentInsets(handle, desktop->Kind(), bounds) : TRect{}; }

    TRect contentOnScreen() const {
        TRect in = insets();
        return {bounds.Left + in.Left, bounds.Top + in.Top, bounds.Right - in.Right,
                bounds.Bottom - in.Bottom};
    }

    POINT toScreen(DesktopPoint point) const {
        TRect content = contentOnScreen();
        return {content.Left + point.x, content.Top + point.y};
    }

    void KeyPressed(const DesktopKey& key, const std::string& typed) override {
        VirtualKey virtualKey = VirtualKeyOf(key.keysym, key.baseKeysym, key.hardwareCode);
        WideString characters = UTF8Decode(typed);
        if (virtualKey.withControl) DeliverKey(VK_LCONTROL, true);
        if (virtualKey.code)
            DeliverKey(virtualKey.code, true, characters, virtualKey.extended);
        else if (!characters.empty())
            DeliverCharacters(characters);
    }

    void KeyReleased(const DesktopKey& key) override {
        VirtualKey virtualKey = VirtualKeyOf(key.keysym, key.baseKeysym, key.hardwareCode);
        if (virtualKey.code) DeliverKey(virtualKey.code, false, {}, virtualKey.extended);
        if (virtualKey.withControl) DeliverKey(VK_LCONTROL, false);
    }

    void TextCommitted(const std::string& text, bool composed) override {
        if (composed)
            DeliverComposition(UTF8Decode(text));
        else
            DeliverCharacters(UTF8Decode(text));
    }

    void PointerMoved(DesktopPoint point) override {
        backend.notePointerOutside(false);
        DeliverMouseMove(toScreen(point));
    }

    void PointerLeft(DesktopPoint point) override {
        DeliverMouseMove(toScreen(point));
        backend.notePointerOutside(true);
    }

    void ButtonChanged(int button, bool down, DesktopPoint point) override {
        constexpr int middleButton = 2, rightButton = 3;
        MouseButton which = button == middleButton  ? MouseButton::Middle
                            : button == rightButton ? MouseButton::Right
                                                    : MouseButton::Left;
        // While a page has the keys, a click that moves no focus leaves them there.
        if (down && !backend.pageWithKeys_ && desktop) desktop->FocusContent();
        DeliverMouseButton(which, down, toScreen(point));
    }

    void WheelTurned(int notches, DesktopPoint point) override {
        DeliverMouseWheel(notches * WHEEL_DELTA, toScreen(point));
    }

    void Placed(const DesktopRect& content) override {
        TRect in = insets();
        TRect reported{content.x - in.Left, content.y - in.Top, content.x + content.width + in.Right,
                       content.y + content.height + in.Bottom};
        backend.placedByDesktop(*this, reported);
    }

    void CloseRequested() override { DeliverCloseRequest(handle); }

    void FocusChanged(bool focused) override { backend.noteFocus(handle, focused); }

    // The desktop's minimise and maximise buttons act like our caption's.
    void StateChanged(bool minimised, bool maximised) override {
        WPARAM command = 0;
        if (minimised && !IsIconic(handle))
            command = SC_MINIMIZE;
        else if (!minimised && IsIconic(handle))
            command = SC_RESTORE;
        else if (maximised && !IsZoomed(handle))
            command = SC_MAXIMIZE;
        else if (!maximised && !minimised && IsZoomed(handle))
            command = SC_RESTORE;
        if (command) PostMessageW(handle, WM_SYSCOMMAND, command, 0);
    }

    void Drawn() override { backend.drawn(handle); }

    // A menu being tracked holds our capture and reads the keys from the queue.
    bool TakesEveryKey() override { return GetCapture() != nullptr; }
};

// ---- Opening ----

std::shared_ptr<GtkBackend> GtkBackend::Open() {
    if (!StartDesktop()) return nullptr;
    return std::shared_ptr<GtkBackend>(new GtkBackend());
}

GtkBackend::GtkBackend() {
    DesktopSize screen = DesktopScreenSize();
    screen_ = {screen.width, screen.height};
    WNDCLASSW events{};
    events.lpfnWndProc = WindowProcFromFunction(eventsProcedure);
    events.lpszClassName = eventsWindowClass;
    RegisterClassW(&events);
    eventsWindow_ =
        CreateWindowExW(0, eventsWindowClass, u"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    SetWindowLongPtrW(eventsWindow_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

GtkBackend::~GtkBackend() {
    if (eventsWindow_) SetWindowLongPtrW(eventsWindow_, GWLP_USERDATA, 0);
}

// ---- Top-level windows ----

GtkBackend::TopLevel* GtkBackend::find(HWND window) const {
    auto found = windows_.find(window);
    return found == windows_.end() ? nullptr : found->second.get();
}

void GtkBackend::WindowCreated(HWND window, const TRect& bounds) {
    onDesktopThread(
        [this, window, bounds] { windows_[window] = std::make_unique<TopLevel>(*this, window, bounds); });
}

void GtkBackend::WindowDestroyed(HWND window) {
    onDesktopThread([this, window] {
        auto found = windows_.find(window);
        if (found == windows_.end()) return;
        releaseDesktopWindow(*found->second);
        windows_.erase(found);
        if (focusedWindow_ == window) focusedWindow_ = nullptr;
        if (activeWindow_ == window) activeWindow_ = nullptr;
    });
}

void GtkBackend::WindowMoved(HWND window, const TRect& bounds) {
    onDesktopThread([this, window, bounds] {
        TopLevel* topLevel = find(window);
        if (!topLevel) return;
        topLevel->bounds = bounds;
        if (!topLevel->desktop) return;
        if (topLevel->visible && kindOf(window) != topLevel->desktop->Kind())
            showDesktopWindow(*topLevel);
        else
            placeDesktopWindow(*topLevel);
    });
}

void GtkBackend::WindowShown(HWND window, bool visible) {
    onDesktopThread([this, window, visible] {
        TopLevel* topLevel = find(window);
        if (!topLevel) return;
        topLevel->visible = visible;
        if (visible)
            showDesktopWindow(*topLevel);
        else if (topLevel->desktop)
            topLevel->desktop->Show(false);
    });
}

void GtkBackend::WindowTextChanged(HWND window, const WideString& text) {
    onDesktopThread([this, window, text] {
        TopLevel* topLevel = find(window);
        if (!topLevel) return;
        topLevel->title = text;
        if (topLevel->desktop) topLevel->desktop->SetTitle(UTF8Encode(text));
    });
}

void GtkBackend::WindowShapeChanged(HWND window, const std::optional<Region>& shape) {
    onDesktopThread([this, window, shape] {
        TopLevel* topLevel = find(window);
        if (!topLevel) return;
        topLevel->shape = shape;
        applyShape(*topLevel);
    });
}

void GtkBackend::WindowSizeLimits(HWND window, SIZE minimum, SIZE maximum) {
    onDesktopThread([this, window, minimum, maximum] {
        TopLevel* topLevel = find(window);
        if (!topLevel) return;
        topLevel->sizeLimits = std::pair{minimum, maximum};
        applySizeLimits(*topLevel);
    });
}

void GtkBackend::WindowActivated(HWND window) {
    onDesktopThread([this, window] {
        TopLevel* topLevel = find(window);
        if (!topLevel || !topLevel->desktop || !topLevel->visible || IsIconic(window)) return;
        // Being made topmost comes with an activation, not always with a move.
        topLevel->desktop->SetKeepAbove(exStyleOf(window) & WS_EX_TOPMOST);
        if (!topLevel->desktop->HasFocus()) topLevel->desktop->Raise();
    });
}

// The page of a web view takes the keys while its host has the focus.
void GtkBackend::FocusMoved(HWND window) {
    onDesktopThread([this, window] {
        pageWithKeys_ = nullptr;
        for (GtkWebView* view : webViews_) {
            const bool hasKeys = window && view->Host() == window;
            view->SetHasKeys(hasKeys);
            if (hasKeys) pageWithKeys_ = window;
        }
    });
}

void GtkBackend::Present(HWND window, const PixelSurface& pixels, const TRect& changed) {
    const PixelSurface* presented = &pixels;
    onDesktopThread([this, window, presented, changed] {
        TopLevel* topLevel = find(window);
        if (!topLevel || !topLevel->desktop) return;
        if (presented != topLevel->surface.get()) showPixels(*topLevel);
        TRect in = topLevel->insets();
        topLevel->desktop->Invalidate(desktopRect(OffsetRectBy(changed, -in.Left, -in.Top)));
        topLevel->desktop->DrawNow();
    });
}

void GtkBackend::showDesktopWindow(TopLevel& topLevel) {
    DesktopWindowKind kind = kindOf(topLevel.handle);
    if (!topLevel.desktop || topLevel.desktop->Kind() != kind) buildDesktopWindow(topLevel);
    placeDesktopWindow(topLevel);
    topLevel.desktop->Show(true);
}

void GtkBackend::buildDesktopWindow(TopLevel& topLevel) {
    releaseDesktopWindow(topLevel);
    HWND handle = topLevel.handle;
    auto desktop = std::make_unique<DesktopWindow>(kindOf(handle), topLevel);
    desktop->SetTitle(UTF8Encode(topLevel.title));
    desktop->SetOwner(DesktopWindowOf(GetWindow(handle, GW_OWNER)));
    desktop->SetResizable(styleOf(handle) & WS_THICKFRAME);
    desktop->SetCursor(cursor_);
    topLevel.desktop = std::move(desktop);
    applySizeLimits(topLevel);
    applyShape(topLevel);
}

void GtkBackend::releaseDesktopWindow(TopLevel& topLevel) {
    if (!topLevel.desktop) return;
    for (GtkWebView* view : webViews_)
        view->Release(topLevel.desktop.get());
    if (grabbedFor_ == topLevel.handle) {
        DesktopWindow::ReleasePointer();
        grabbedFor_ = nullptr;
    }
    topLevel.desktop.reset();
    topLevel.surface.reset();
}

void GtkBackend::placeDesktopWindow(TopLevel& topLevel) {
    DesktopWindow& desktop = *topLevel.desktop;
    bool minimised = IsIconic(topLevel.handle);
    desktop.SetKeepAbove(exStyleOf(topLevel.handle) & WS_EX_TOPMOST);
    desktop.SetMinimised(minimised);
    // A minimised window's rectangle is where the window system parks it, not a place on the screen.
    if (minimised) return;
    desktop.SetMaximised(IsZoomed(topLevel.handle));
    // The desktop is not sent back what it reported, only where the window
    // would not go (a size below its minimum, say).
    if (applyingBoundsOf_ != topLevel.handle || topLevel.bounds != boundsFromDesktop_)
        desktop.Place(desktopRect(topLevel.contentOnScreen()));
    showPixels(topLevel);
    applyShape(topLevel);
}

void GtkBackend::showPixels(TopLevel& topLevel) {
    topLevel.surface = surfaceOf(topLevel.handle);
    if (!topLevel.surface || !topLevel.desktop) return;
    PixelSurface& pixels = *topLevel.surface;
    TRect in = topLevel.insets();
    topLevel.desktop->ShowPixels({pixels.Row(0), pixels.Width(), pixels.Height(), rowStrideOf(pixels)},
                                 {in.Left, in.Top});
}

// The desktop limits the content, which lies inside the frame we draw.
void GtkBackend::applySizeLimits(TopLevel& topLevel) {
    if (!topLevel.desktop || !topLevel.sizeLimits) return;
    const TRect in = topLevel.insets();
    const SIZE frame{in.Left + in.Right, in.Top + in.Bottom};
    const auto& [minimum, maximum] = *topLevel.sizeLimits;
    topLevel.desktop->SetSizeLimits({minimum.cx - frame.cx, minimum.cy - frame.cy},
                                    {maximum.cx - frame.cx, maximum.cy - frame.cy});
}

void GtkBackend::applyShape(TopLevel& topLevel) {
    if (!topLevel.desktop) return;
    if (!topLevel.shape) {
        topLevel.desktop->SetShape(nullptr);
        return;
    }
    TRect in = topLevel.insets();
    std::vector<DesktopRect> parts;
    for (const TRect& part : topLevel.shape->Rectangles())
        parts.push_back(desktopRect(OffsetRectBy(part, -in.Left, -in.Top)));
    topLevel.desktop->SetShape(&parts);
}

DesktopWindow* GtkBackend::DesktopWindowOf(HWND topLevel) const {
    TopLevel* found = topLevel ? find(topLevel) : nullptr;
    return found ? found->desktop.get() : nullptr;
}

bool GtkBackend::HasBeenDrawn(HWND topLevel) const {
    TopLevel* found = topLevel ? find(topLevel) : nullptr;
    return found && found->drawnOnce;
}

std::optional<TRect> GtkBackend::ContentOnScreen(HWND topLevel) const {
    TopLevel* found = find(topLevel);
    if (!found || !found->desktop) return std::nullopt;
    return found->contentOnScreen();
}

// ---- What the desktop reports ----

void GtkBackend::defer(std::function<void()> work) {
    deferred_.push_back(std::move(work));
}

void GtkBackend::placedByDesktop(TopLevel& topLevel, const TRect& bounds) {
    if (bounds == topLevel.bounds || IsIconic(topLevel.handle)) return;
    HWND handle = topLevel.handle;
    defer([this, handle, bounds] {
        applyingBoundsOf_ = handle;
        boundsFromDesktop_ = bounds;
        DeliverWindowBounds(handle, bounds);
        applyingBoundsOf_ = nullptr;
    });
}

void GtkBackend::noteFocus(HWND window, bool focused) {
    if (focused)
        focusedWindow_ = window;
    else if (focusedWindow_ == window)
        focusedWindow_ = nullptr;
    activationPending_ = true;
}

// A focus change between two of our windows is one activation, not a
// deactivation of the program followed by an activation.
void GtkBackend::deliverActivation() {
    if (!activationPending_) return;
    activationPending_ = false;
    if (focusedWindow_ == activeWindow_) return;
    HWND previous = activeWindow_;
    activeWindow_ = focusedWindow_;
    if (activeWindow_)
        DeliverActivation(activeWindow_, true);
    else if (previous)
        DeliverActivation(previous, false);
}

void GtkBackend::drawn(HWND window) {
    if (TopLevel* topLevel = find(window)) topLevel->drawnOnce = true;
    if (drawnHandler_) defer([this, window] { drawnHandler_(window); });
}

void GtkBackend::SetDrawnHandler(std::function<void(HWND)> handler) {
    drawnHandler_ = std::move(handler);
}

void GtkBackend::runDeferred() {
    while (!deferred_.empty()) {
        std::vector<std::function<void()>> work;
        work.swap(deferred_);
        for (const auto& each : work)
            each();
    }
    deliverActivation();
}

// ---- Time and waiting ----

DWORD GtkBackend::Milliseconds() {
    return ClockMilliseconds();
}

void GtkBackend::WaitForEvents(DWORD timeout) {
    if (!OnDesktopThread()) {
        waitOffDesktop(timeout);
        return;
    }
    followCapture();
    followPointer();
    for (GtkWebView* view : std::vector<GtkWebView*>(webViews_))
        view->Follow();
    int limit = timeout == INFINITE ? -1 : static_cast<int>(std::min<DWORD>(timeout, INT_MAX));
    // A view waiting for the web engine is made by Follow as soon as the
    // engine is there; meanwhile the wait looks again every few milliseconds.
    if (!webViews_.empty() && WebEngineLoading())
        limit = limit < 0 ? engineLoadPollMilliseconds : std::min(limit, engineLoadPollMilliseconds);
    RunDesktopUntil([this] { return woken_.load() || !deferred_.empty() || activationPending_; }, limit);
    woken_ = false;
    runDeferred();
}

void GtkBackend::waitOffDesktop(DWORD timeout) {
    std::unique_lock lock(wakeMutex_);
    auto woken = [&] { return woken_.load(); };
    if (timeout == INFINITE)
        wakeSignal_.wait(lock, woken);
    else
        wakeSignal_.wait_for(lock, std::chrono::milliseconds(timeout), woken);
    woken_ = false;
}

void GtkBackend::Wake() {
    {
        std::lock_guard lock(wakeMutex_);
        woken_ = true;
    }
    wakeSignal_.notify_all();
    WakeDesktop();
}

// Our capture holds the pointer the way a pressed button does, so that a menu
// or a drag sees the pointer outside the program's windows too.
void GtkBackend::followCapture() {
    HWND capture = GetCapture();
    HWND topLevel = capture ? GetAncestor(capture, GA_ROOT) : nullptr;
    if (topLevel == grabbedFor_) return;
    if (grabbedFor_) {
        DesktopWindow::ReleasePointer();
        grabbedFor_ = nullptr;
    }
    DesktopWindow* desktop = DesktopWindowOf(topLevel);
    if (desktop && desktop->GrabPointer()) grabbedFor_ = topLevel;
}

// Outside our windows the desktop reports no motion; the pointer position is
// asked for instead, so that GetCursorPos stays true everywhere.
void GtkBackend::followPointer() {
    if (!pointerOutside_) return;
    if (std::optional<DesktopPoint> pointer = DesktopPointerPosition())
        NoteCursorPosition({pointer->x, pointer->y});
}

// ---- The user-interface thread's queue ----

void GtkBackend::PostToInterfaceThread(std::function<void()> work) {
    {
        std::lock_guard lock(postedMutex_);
        posted_.push_back(std::move(work));
    }
    PostMessageW(eventsWindow_, runPostedMessage, 0, 0);
}

void GtkBackend::runPosted() {
    std::vector<std::function<void()>> work;
    {
        std::lock_guard lock(postedMutex_);
        work.swap(posted_);
    }
    for (const auto& each : work)
        each();
}

LRESULT GtkBackend::eventsProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != runPostedMessage) return DefWindowProcW(window, message, wParam, lParam);
    if (auto* backend = reinterpret_cast<GtkBackend*>(GetWindowLongPtrW(window, GWLP_USERDATA)))
        backend->runPosted();
    return 0;
}

void GtkBackend::AddWebView(GtkWebView& view) {
    webViews_.push_back(&view);
}

void GtkBackend::RemoveWebView(GtkWebView& view) {
    std::erase(webViews_, &view);
    if (view.Host() == pageWithKeys_) pageWithKeys_ = nullptr;
}

// ---- Clipboard ----

void GtkBackend::SetClipboardText(const WideString& text) {
    {
        std::lock_guard lock(clipboardMutex_);
        lastClipboardText_ = text.empty() ? std::nullopt : std::optional<WideString>(text);
    }
    std::optional<std::string> utf8 =
        text.empty() ? std::nullopt : std::optional<std::string>(UTF8Encode(ToDesktopLineEnds(text)));
    onDesktopThread([utf8] { SetDesktopClipboardText(utf8); });
}

void GtkBackend::SetSelectionText(const WideString& text) {
    std::string utf8 = UTF8Encode(ToDesktopLineEnds(text));
    onDesktopThread([utf8] { SetDesktopSelectionText(utf8); });
}

// Off the desktop thread the desktop cannot be asked; the text last seen serves.
// The desktop holding what we offered means the text is still ours, line ends and all.
std::optional<WideString> GtkBackend::ClipboardText() {
    if (OnDesktopThread()) {
        std::optional<std::string> text = DesktopClipboardText();
        std::optional<WideString> desktopText =
            text ? std::optional<WideString>(UTF8Decode(*text)) : std::nullopt;
        std::lock_guard lock(clipboardMutex_);
        const bool stillOurs =
            desktopText && lastClipboardText_ && *desktopText == ToDesktopLineEnds(*lastClipboardText_);
        if (!stillOurs)
            lastClipboardText_ =
                desktopText ? std::optional<WideString>(FromDesktopLineEnds(*desktopText)) : std::nullopt;
    }
    std::lock_guard lock(clipboardMutex_);
    return lastClipboardText_;
}

// ---- Screen and pointer ----

SIZE GtkBackend::ScreenSize() {
    if (OnDesktopThread()) {
        DesktopSize screen = DesktopScreenSize();
        screen_ = {screen.width, screen.height};
    }
    return screen_;
}

void GtkBackend::ReadScreen(const TRect& rect, PixelSurface& screen) {
    TRect area = IntersectRects(rect, screen.Bounds());
    if (!OnDesktopThread() || IsEmptyRect(area)) return;
    std::ptrdiff_t stride = rowStrideOf(screen);
    if (stride > 0) {
        ReadDesktopScreen(area.Left, area.Top, area.Width(), area.Height(), screen.Row(area.Top) + area.Left,
                          stride);
        return;
    }
    // A bottom-up surface: read into rows of our own, then copy.
    PixelSurface rows(area.Width(), area.Height());
    ReadDesktopScreen(area.Left, area.Top, area.Width(), area.Height(), rows.Row(0), area.Width());
    for (int y = 0; y < area.Height(); ++y)
        std::copy(rows.Row(y), rows.Row(y) + area.Width(), screen.Row(area.Top + y) + area.Left);
}

std::shared_ptr<DesktopCursor> GtkBackend::cursorFor(CursorShape shape, HCURSOR cursor) {
    if (shape == CursorShape::Custom) return imageCursor(cursor);
    auto known = namedCursors_.find(shape);
    if (known != namedCursors_.end()) return known->second;
    auto name = cursorNames().find(shape);
    std::shared_ptr<DesktopCursor> made =
        name == cursorNames().end() ? nullptr : DesktopCursor::Named(name->second);
    namedCursors_[shape] = made;
    return made;
}

void GtkBackend::SetCursorShape(CursorShape shape, HCURSOR cursor) {
    onDesktopThread([this, shape, cursor] {
        cursor_ = cursorFor(shape, cursor);
        for (const auto& [handle, topLevel] : windows_)
            if (topLevel->desktop) topLevel->desktop->SetCursor(cursor_);
    });
}

void GtkBackend::MovePointer(POINT screen) {
    onDesktopThread([screen] { MoveDesktopPointer({screen.x, screen.y}); });
}

// Each held key is named as a key event of this program would name it.
std::optional<bool> GtkBackend::KeyHeldOnDesktop(UINT virtualKey) {
    if (!OnDesktopThread()) return std::nullopt;
    const std::optional<std::vector<HeldKey>> held = DesktopKeysHeld();
    if (!held) return std::nullopt;
    for (const HeldKey& key : *held)
        if (VirtualKeyOf(key.baseKeysym, key.baseKeysym, key.hardwareCode).code == virtualKey) return true;
    return false;
}

// ---- Desktop services ----

bool GtkBackend::RunFileDialog(FileDialogRequest& request) {
    if (!OnDesktopThread()) return false;
    HWND owner = request.Owner ? GetAncestor(request.Owner, GA_ROOT) : nullptr;
    std::optional<DesktopFileAnswer> answer = AskDesktopForFiles(questionOf(request, DesktopWindowOf(owner)));
    if (!answer) return false;
    request.FileNames.clear();
    for (const std::string& file : answer->files)
        request.FileNames.push_back(UTF8Decode(file));
    request.FileName = request.FileNames.front();
    request.FilterIndex = static_cast<int>(answer->filterIndex) + 1;
    return true;
}

bool GtkBackend::OpenUrl(const WideString& target) {
    return OnDesktopThread() && OpenWithDesktop(UriOfTarget(target));
}

std::unique_ptr<WebView> GtkBackend::CreateWebView(HWND host, const TRect& clientRect, WebViewEvents events) {
    if (!OnDesktopThread()) return nullptr;
    return std::make_unique<GtkWebView>(*this, host, clientRect, std::move(events));
}

// ---- Choosing it ----

std::shared_ptr<Backend> OpenDesktopBackend() {
    return GtkBackend::Open();
}
