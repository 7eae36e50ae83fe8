// The in-memory backend. Input goes straight into the window system's input
// queue; the screen is made up from the windows' own pixels.
#include "platform/backend/HeadlessBackend.h"

#include "platform/core/Clock.h"
#include "platform/core/CodePages.h"
#include "platform/win/BitmapFiles.h"
#include "platform/win/Focus.h"
#include "platform/win/Keyboard.h"
#include "platform/win/Messages.h"
#include "platform/win/Painting.h"
#include "platform/win/WindowTree.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <sstream>

namespace {
class HeadlessWebView;
}

// The web views alive, which a view leaves when it goes, whether or not its
// backend is still there.
struct HeadlessWebViews {
    std::mutex mutex;
    std::vector<const HeadlessWebView*> views;
};

namespace {

// A browser over a rectangle of its host window that reads the page and
// reports its title and progress, drawing nothing.
class HeadlessWebView : public WebView {
public:
    HeadlessWebView(std::shared_ptr<HeadlessWebViews> views, HWND host, const TRect& bounds,
                    WebViewEvents events)
        : views_(std::move(views)), host_(host), bounds_(bounds), events_(std::move(events)) {
        std::lock_guard lock(views_->mutex);
        views_->views.push_back(this);
    }
    ~HeadlessWebView() override {
        std::lock_guard lock(views_->mutex);
        std::erase(views_->views, this);
    }
    HeadlessWebView(const HeadlessWebView&) = delete;
    HeadlessWebView& operator=(const HeadlessWebView&) = delete;

    HWND Host() const { return host_; }
    bool Covers(POINT screen) const {
        if (!visible_ || !IsWindowVisible(host_) || WindowFromPoint(screen) != host_) return false;
        POINT client = screen;
        ScreenToClient(host_, &client);
        return client.x >= bounds_.Left && client.x < bounds_.Right && client.y >= bounds_.Top &&
               client.y < bounds_.Bottom;
    }

    void Navigate(const WideString& url) override {
        history_.resize(current_ + 1);
        history_.push_back(url);
        current_ = history_.size() - 1;
        load(url);
    }
    void GoBack() override {
        if (current_ > 0 && current_ < history_.size()) load(history_[--current_]);
    }
    void GoForward() override {
        if (current_ + 1 < history_.size()) load(history_[++current_]);
    }
    void Refresh() override {
        if (current_ < history_.size()) load(history_[current_]);
    }
    void SetBounds(const TRect& clientRect) override { bounds_ = clientRect; }
    void SetVisible(bool visible) override { visible_ = visible; }
    WideString LocationUrl() const override {
        return current_ < history_.size() ? history_[current_] : WideString();
    }

private:
    static constexpr int progressMax = 100;

    static std::string pathOf(const WideString& url) {
        std::string path = UTF8Encode(url);
        const std::string scheme = "file://";
        if (path.rfind(scheme, 0) == 0) path = path.substr(scheme.size());
        std::size_t anchor = path.find('#');
        return anchor == std::string::npos ? path : path.substr(0, anchor);
    }

    static WideString titleOf(const std::string& page) {
        std::string lower = page;
        for (char& each : lower)
            each = static_cast<char>(std::tolower(static_cast<unsigned char>(each)));
        std::size_t start = lower.find("<title>");
        std::size_t end = start == std::string::npos ? start : lower.find("</title>", start);
        if (end == std::string::npos) return {};
        return AnsiToWide(page.substr(start + 7, end - start - 7));
    }

    void load(const WideString& url) {
        if (events_.ProgressChanged) events_.ProgressChanged(0, progressMax);
        std::ifstream file(pathOf(url), std::ios::binary);
        std::stringstream contents;
        contents << file.rdbuf();
        WideString title = titleOf(contents.str());
        if (events_.TitleChanged) events_.TitleChanged(title.empty() ? url : title);
        if (events_.ProgressChanged) events_.ProgressChanged(progressMax, progressMax);
        if (events_.NavigationCompleted) events_.NavigationCompleted(url);
    }

    std::shared_ptr<HeadlessWebViews> views_;
    HWND host_;
    TRect bounds_;
    bool visible_ = true;
    WebViewEvents events_;
    std::vector<WideString> history_;
    std::size_t current_ = 0;
};

} // namespace

HeadlessBackend::HeadlessBackend(SIZE screen)
    : screen_(screen), webViews_(std::make_shared<HeadlessWebViews>()) {}

HeadlessBackend::~HeadlessBackend() {
    // The clock is the whole program's: a test's stepped time ends with its backend.
    if (stepped_) UseSteppedClock(false);
    if (recordingStarts_) SetProgramStarter(nullptr);
}

// ---- Windows ----

void HeadlessBackend::WindowCreated(HWND window, const TRect&) {
    std::lock_guard lock(mutex_);
    shown_[window] = false;
}

void HeadlessBackend::WindowDestroyed(HWND window) {
    std::lock_guard lock(mutex_);
    shown_.erase(window);
}

void HeadlessBackend::WindowMoved(HWND, const TRect&) {}

void HeadlessBackend::WindowShown(HWND window, bool visible) {
    std::lock_guard lock(mutex_);
    shown_[window] = visible;
}

void HeadlessBackend::WindowTextChanged(HWND, const WideString&) {}
void HeadlessBackend::WindowShapeChanged(HWND, const std::optional<Region>&) {}
void HeadlessBackend::WindowActivated(HWND) {}
// The pixels stay with the window system, where Capture reads them.
void HeadlessBackend::Present(HWND, const PixelSurface&, const TRect&) {}

// ---- Time and waiting ----

DWORD HeadlessBackend::Milliseconds() {
    return ClockMilliseconds();
}

void HeadlessBackend::WaitForEvents(DWORD timeout) {
    std::function<void()> handler;
    {
        std::lock_guard lock(mutex_);
        ++waits_;
        if (!inIdleHandler_) handler = idleHandler_;
        inIdleHandler_ = static_cast<bool>(handler);
    }
    if (handler) {
        handler();
        std::lock_guard lock(mutex_);
        inIdleHandler_ = false;
        return;
    }
    std::unique_lock lock(mutex_);
    if (IsClockStepped() && timeout != INFINITE && !woken_) {
        lock.unlock();
        AdvanceClock(timeout);
        return;
    }
    if (timeout == INFINITE)
        wake_.wait(lock, [&] { return woken_; });
    else
        wake_.wait_for(lock, std::chrono::milliseconds(timeout), [&] { return woken_; });
    woken_ = false;
}

// The idle handler answers a box; the box is given up only once the handler
// has had a wait of its own since the box last asked. A due timer can take
// the box's first quiet turn without any wait, so counting turns alone would
// give up on a handler that never ran.
bool HeadlessBackend::AnswerMayCome(int quietWaits) {
    std::lock_guard lock(mutex_);
    if (!idleHandler_ || inIdleHandler_) return false;
    const bool handlerHadItsTurn = quietWaits > 0 && waits_ != waitsWhenBoxAsked_;
    waitsWhenBoxAsked_ = waits_;
    return !handlerHadItsTurn;
}

void HeadlessBackend::Wake() {
    std::lock_guard lock(mutex_);
    woken_ = true;
    wake_.notify_all();
}

void HeadlessBackend::UseSteppedTime(bool stepped) {
    stepped_ = stepped;
    UseSteppedClock(stepped);
}

std::size_t HeadlessBackend::WaitCount() const {
    std::lock_guard lock(mutex_);
    return waits_;
}

void HeadlessBackend::AdvanceTime(DWORD milliseconds) {
    AdvanceClock(milliseconds);
}

void HeadlessBackend::SetIdleHandler(std::function<void()> handler) {
    std::lock_guard lock(mutex_);
    idleHandler_ = std::move(handler);
}

// ---- Clipboard, screen, pointer ----

void HeadlessBackend::SetClipboardText(const WideString& text) {
    std::lock_guard lock(mutex_);
    clipboard_ = text.empty() ? std::nullopt : std::optional<WideString>(text);
}

std::optional<WideString> HeadlessBackend::ClipboardText() {
    std::lock_guard lock(mutex_);
    return clipboard_;
}

void HeadlessBackend::SetSelectionText(const WideString& text) {
    std::lock_guard lock(mutex_);
    selection_ = text;
}

WideString HeadlessBackend::SelectionText() const {
    std::lock_guard lock(mutex_);
    return selection_;
}

SIZE HeadlessBackend::ScreenSize() {
    return screen_;
}

void HeadlessBackend::ReadScreen(const TRect& rect, PixelSurface& screen) {
    std::shared_ptr<const PixelSurface> image;
    {
        std::lock_guard lock(mutex_);
        image = screenImage_;
    }
    ComposeScreen(rect, screen, image.get());
}

void HeadlessBackend::SetScreenImage(std::shared_ptr<const PixelSurface> image) {
    std::lock_guard lock(mutex_);
    screenImage_ = std::move(image);
}

void HeadlessBackend::SetCursorShape(CursorShape shape, HCURSOR) {
    std::lock_guard lock(mutex_);
    cursor_ = shape;
}

void HeadlessBackend::MovePointer(POINT) {}

std::optional<bool> HeadlessBackend::KeyHeldOnDesktop(UINT virtualKey) {
    std::lock_guard lock(mutex_);
    if (!keysHeldOnDesktop_) return std::nullopt;
    return keysHeldOnDesktop_->contains(virtualKey);
}

CursorShape HeadlessBackend::CurrentCursor() const {
    std::lock_guard lock(mutex_);
    return cursor_;
}

// ---- Desktop services ----

bool HeadlessBackend::RunFileDialog(FileDialogRequest& request) {
    std::lock_guard lock(mutex_);
    lastDialog_ = request;
    if (dialogAnswers_.empty()) return false;
    auto [names, filterIndex] = dialogAnswers_.front();
    dialogAnswers_.pop_front();
    request.FileNames = names;
    request.FilterIndex = filterIndex;
    if (!names.empty()) request.FileName = names.front();
    return true;
}

void HeadlessBackend::AnswerFileDialog(std::vector<WideString> fileNames, int filterIndex) {
    std::lock_guard lock(mutex_);
    dialogAnswers_.emplace_back(std::move(fileNames), filterIndex);
}

FileDialogRequest HeadlessBackend::LastFileDialog() const {
    std::lock_guard lock(mutex_);
    return lastDialog_;
}

bool HeadlessBackend::OpenUrl(const WideString& target) {
    std::lock_guard lock(mutex_);
    openedUrls_.push_back(target);
    return true;
}

void HeadlessBackend::RecordProgramStarts(bool record) {
    recordingStarts_ = record;
    if (!record) {
        SetProgramStarter(nullptr);
        return;
    }
    SetProgramStarter([this](const ShellProgramStart& start) {
        std::lock_guard lock(mutex_);
        startedPrograms_.push_back(start);
        return true;
    });
}

std::vector<ShellProgramStart> HeadlessBackend::StartedPrograms() const {
    std::lock_guard lock(mutex_);
    return startedPrograms_;
}

std::vector<WideString> HeadlessBackend::OpenedUrls() const {
    std::lock_guard lock(mutex_);
    return openedUrls_;
}

std::unique_ptr<WebView> HeadlessBackend::CreateWebView(HWND host, const TRect& clientRect,
                                                        WebViewEvents events) {
    return std::make_unique<HeadlessWebView>(webViews_, host, clientRect, std::move(events));
}

HWND HeadlessBackend::webViewAt(POINT screen) const {
    std::lock_guard lock(webViews_->mutex);
    for (const HeadlessWebView* view : webViews_->views)
        if (view->Covers(screen)) return view->Host();
    return nullptr;
}

void HeadlessBackend::FocusMoved(HWND window) {
    bool hostsView = false;
    {
        std::lock_guard lock(webViews_->mutex);
        hostsView = window && std::ranges::any_of(webViews_->views, [window](const HeadlessWebView* view) {
                        return view->Host() == window;
                    });
    }
    std::lock_guard lock(mutex_);
    webViewWithKeys_ = hostsView ? window : nullptr;
}

HWND HeadlessBackend::WebViewWithKeys() const {
    std::lock_guard lock(mutex_);
    return webViewWithKeys_;
}

// ---- Input ----

POINT HeadlessBackend::toScreen(HWND window, POINT client) {
    ClientToScreen(window, &client);
    return client;
}

void HeadlessBackend::KeyDown(UINT virtualKey, const WideString& characters) {
    if (!pageHasKeys()) DeliverKey(virtualKey, true, characters);
}

void HeadlessBackend::KeyUp(UINT virtualKey) {
    if (!pageHasKeys()) DeliverKey(virtualKey, false);
}

void HeadlessBackend::HoldKeyOnDesktop(UINT virtualKey, bool held) {
    std::lock_guard lock(mutex_);
    if (!keysHeldOnDesktop_) keysHeldOnDesktop_.emplace();
    if (held)
        keysHeldOnDesktop_->insert(virtualKey);
    else
        keysHeldOnDesktop_->erase(virtualKey);
}

void HeadlessBackend::PressKey(UINT virtualKey, std::initializer_list<UINT> modifiers) {
    if (pageHasKeys()) return;
    for (UINT modifier : modifiers)
        DeliverKey(modifier, true);
    DeliverKey(virtualKey, true);
    DeliverKey(virtualKey, false);
    for (auto modifier = std::rbegin(modifiers); modifier != std::rend(modifiers); ++modifier)
        DeliverKey(*modifier, false);
}

void HeadlessBackend::TypeText(const WideString& text) {
    if (!pageHasKeys()) DeliverCharacters(text);
}

void HeadlessBackend::MoveMouse(POINT screen) {
    DeliverMouseMove(screen);
}

void HeadlessBackend::MoveMouse(HWND window, POINT client) {
    DeliverMouseMove(toScreen(window, client));
}

void HeadlessBackend::MouseDown(HWND window, POINT client, MouseButton button) {
    POINT screen = toScreen(window, client);
    if (HWND host = webViewAt(screen)) {
        SetFocus(host);
        return;
    }
    DeliverMouseMove(screen);
    DeliverMouseButton(button, true, screen);
}

void HeadlessBackend::MouseUp(HWND window, POINT client, MouseButton button) {
    POINT screen = toScreen(window, client);
    if (!webViewAt(screen)) DeliverMouseButton(button, false, screen);
}

void HeadlessBackend::Click(HWND window, POINT client, MouseButton button) {
    MouseDown(window, client, button);
    MouseUp(window, client, button);
}

void HeadlessBackend::DoubleClick(HWND window, POINT client) {
    Click(window, client);
    Click(window, client);
}

void HeadlessBackend::TurnWheel(HWND window, POINT client, int notches) {
    POINT screen = toScreen(window, client);
    DeliverMouseMove(screen);
    DeliverMouseWheel(notches * WHEEL_DELTA, screen);
}

void HeadlessBackend::DropFiles(HWND window, POINT client, const std::vector<WideString>& files) {
    DeliverDroppedFiles(toScreen(window, client), files);
}

void HeadlessBackend::ProcessMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// ---- Reading back ----

std::shared_ptr<PixelSurface> HeadlessBackend::Capture(HWND window, bool clientOnly) const {
    return CaptureWindowPixels(window, clientOnly);
}

bool HeadlessBackend::SavePng(HWND window, const std::string& path, bool clientOnly) const {
    std::shared_ptr<PixelSurface> pixels = Capture(window, clientOnly);
    return pixels && WritePngFile(*pixels, path);
}

bool HeadlessBackend::IsShown(HWND window) const {
    std::lock_guard lock(mutex_);
    auto found = shown_.find(window);
    return found != shown_.end() && found->second;
}
