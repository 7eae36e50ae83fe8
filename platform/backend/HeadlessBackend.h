// The headless backend: every window lives in memory. Tests drive it like a
// user: keys (as key codes, with the characters they type, or as text), mouse
// moves, clicks and wheel turns at screen points or at client points of a
// window; they read any window back as pixels or a PNG file, answer file
// dialogs, see the URLs opened, and run time in real time or step it. Web
// views cover their rectangles: a click there goes to the page, which then
// has the keyboard until the focus moves on.
#pragma once

#include "platform/win/BackendInterface.h"
#include "platform/win/Shell.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>

struct HeadlessWebViews;

class HeadlessBackend : public Backend {
public:
    static constexpr int DefaultScreenWidth = 1024;
    static constexpr int DefaultScreenHeight = 768;

    explicit HeadlessBackend(SIZE screen = {DefaultScreenWidth, DefaultScreenHeight});
    ~HeadlessBackend() override;

    // ---- Backend ----
    void WindowCreated(HWND window, const TRect& bounds) override;
    void WindowDestroyed(HWND window) override;
    void WindowMoved(HWND window, const TRect& bounds) override;
    void WindowShown(HWND window, bool visible) override;
    void WindowTextChanged(HWND window, const WideString& text) override;
    void WindowShapeChanged(HWND window, const std::optional<Region>& shape) override;
    void WindowActivated(HWND window) override;
    void FocusMoved(HWND window) override;
    void Present(HWND window, const PixelSurface& pixels, const TRect& changed) override;
    DWORD Milliseconds() override;
    void WaitForEvents(DWORD timeout) override;
    void Wake() override;
    // Only an idle handler can answer, and only on its first turn.
    bool AnswerMayCome(int quietWaits) override;
    void SetClipboardText(const WideString& text) override;
    std::optional<WideString> ClipboardText() override;
    void SetSelectionText(const WideString& text) override;
    SIZE ScreenSize() override;
    void ReadScreen(const TRect& rect, PixelSurface& screen) override;
    void SetCursorShape(CursorShape shape, HCURSOR cursor) override;
    void MovePointer(POINT screen) override;
    // Only the keys a test holds on the desktop (HoldKeyOnDesktop), once it
    // has held any; before that, none are known.
    std::optional<bool> KeyHeldOnDesktop(UINT virtualKey) override;
    bool RunFileDialog(FileDialogRequest& request) override;
    bool OpenUrl(const WideString& target) override;
    std::unique_ptr<WebView> CreateWebView(HWND host, const TRect& clientRect, WebViewEvents events) override;

    // ---- Time ----
    // Stepped time (the program's clock, Clock.h) stands still until
    // AdvanceTime or Sleep; a wait with nothing to do then moves it on by the
    // wait's time-out.
    void UseSteppedTime(bool stepped);
    void AdvanceTime(DWORD milliseconds);
    // How often the window system has waited for events so far: an idle thread that
    // spins shows as a count that runs away.
    std::size_t WaitCount() const;

    // ---- Input ----
    // Keys and typed text reach the program's windows unless a web view has
    // the keyboard; then the page takes them.
    void KeyDown(UINT virtualKey, const WideString& characters = {});
    void KeyUp(UINT virtualKey);
    // Holds the modifiers (VK_SHIFT, VK_CONTROL, VK_MENU) while the key goes down and up.
    void PressKey(UINT virtualKey, std::initializer_list<UINT> modifiers = {});
    // A key held down or let go while another program has the keyboard:
    // nothing reaches the program's windows.
    void HoldKeyOnDesktop(UINT virtualKey, bool held);
    // Characters as an input method delivers them.
    void TypeText(const WideString& text);
    void MoveMouse(POINT screen);
    void MoveMouse(HWND window, POINT client);
    // A press on a shown web view goes to the page instead of our windows,
    // and the focus moves to the view's host window (call it on the host's
    // thread).
    void MouseDown(HWND window, POINT client, MouseButton button = MouseButton::Left);
    void MouseUp(HWND window, POINT client, MouseButton button = MouseButton::Left);
    void Click(HWND window, POINT client, MouseButton button = MouseButton::Left);
    void DoubleClick(HWND window, POINT client);
    // Notches away from the user are positive.
    void TurnWheel(HWND window, POINT client, int notches);
    void DropFiles(HWND window, POINT client, const std::vector<WideString>& files);
    // Retrieves, translates and dispatches until the queue is empty.
    static void ProcessMessages();
    // Called whenever the program waits for input (a modal loop such as a
    // message box's, or GetMessage), so a test can answer what is shown. A
    // message box that neither queued input nor this handler answers takes
    // its default button at once and writes its text to stderr.
    void SetIdleHandler(std::function<void()> handler);

    // ---- The screen ----
    // Where no window of ours covers it, the screen shows this image (from the
    // top-left corner; the desktop colour beyond it). Null: the desktop colour.
    void SetScreenImage(std::shared_ptr<const PixelSurface> image);

    // ---- Reading back ----
    std::shared_ptr<PixelSurface> Capture(HWND window, bool clientOnly = false) const;
    bool SavePng(HWND window, const std::string& path, bool clientOnly = false) const;
    bool IsShown(HWND window) const;
    CursorShape CurrentCursor() const;
    std::vector<WideString> OpenedUrls() const;
    // The host window of the web view that has the keyboard, or null.
    HWND WebViewWithKeys() const;
    // The text last offered as the desktop's selection.
    WideString SelectionText() const;
    // Program starts through ShellExecute are kept here instead of run, until
    // the backend goes or a test stops it.
    void RecordProgramStarts(bool record);
    std::vector<ShellProgramStart> StartedPrograms() const;
    // The next file dialog answers with these names; none queued cancels it.
    void AnswerFileDialog(std::vector<WideString> fileNames, int filterIndex = 1);
    // The last file dialog asked.
    FileDialogRequest LastFileDialog() const;

private:
    static POINT toScreen(HWND window, POINT client);
    // The host window of the shown web view at the point, or null.
    HWND webViewAt(POINT screen) const;
    bool pageHasKeys() const { return WebViewWithKeys() != nullptr; }

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    bool woken_ = false;
    bool stepped_ = false;
    std::size_t waits_ = 0;
    std::size_t waitsWhenBoxAsked_ = 0;
    SIZE screen_;
    std::map<HWND, bool> shown_;
    std::optional<WideString> clipboard_;
    WideString selection_;
    CursorShape cursor_ = CursorShape::Arrow;
    std::vector<WideString> openedUrls_;
    bool recordingStarts_ = false;
    std::vector<ShellProgramStart> startedPrograms_;
    std::shared_ptr<const PixelSurface> screenImage_;
    std::optional<std::set<UINT>> keysHeldOnDesktop_;
    std::deque<std::pair<std::vector<WideString>, int>> dialogAnswers_;
    FileDialogRequest lastDialog_;
    std::shared_ptr<HeadlessWebViews> webViews_;
    HWND webViewWithKeys_ = nullptr;
    std::function<void()> idleHandler_;
    bool inIdleHandler_ = false;
};
