// The embedded browser for the gtk backend: a web engine view laid over a
// rectangle of a desktop window, with its title, progress, the link under the
// pointer and finished loads reported to a listener. Links that would open a
// window of their own open in the same view. The engine itself lives in a
// module of its own, opened on a worker thread when the first view is laid
// over a window (WebEngineModule.h); until it is there a view keeps what it
// was asked and shows nothing, and Attach, which the backend calls as it
// waits for events, makes the engine's view once it can.
// Plain types only (see DesktopSession.h); every call belongs on the desktop
// thread.
#pragma once

#include "platform/backend/gtk/DesktopWindow.h"

#include <memory>
#include <string>
#include <vector>

struct WebEngineCalls;

class DesktopWebViewListener {
public:
    virtual ~DesktopWebViewListener() = default;
    virtual void TitleChanged(const std::string& title) = 0;
    // From 0 to 1.
    virtual void ProgressChanged(double fraction) = 0;
    // The link under the pointer, or empty when it left the link.
    virtual void LinkHovered(const std::string& uri) = 0;
    virtual void LoadFinished(const std::string& uri) = 0;
    // A mouse button went down over the page, which takes the keys from then on.
    virtual void PagePressed() = 0;
};

class DesktopWebView {
public:
    explicit DesktopWebView(DesktopWebViewListener& listener);
    DesktopWebView(const DesktopWebView&) = delete;
    DesktopWebView& operator=(const DesktopWebView&) = delete;
    ~DesktopWebView();

    // Lays the view over `content` of `window`; null takes it off its window.
    void Attach(DesktopWindow* window, const DesktopRect& content);
    DesktopWindow* AttachedTo() const { return window_; }
    void Show(bool visible);
    // Rectangles of the window's content where its own pixels show above the
    // page: windows of ours that lie above the view.
    void SetCovers(const std::vector<DesktopRect>& covers);
    // The page takes the keys, or gives them back to the window it lies on.
    void SetHasKeys(bool hasKeys);

    void Load(const std::string& uri);
    // Loads the page again, none of it from the cache.
    void Reload();
    void GoBack();
    void GoForward();
    std::string Uri() const;

    // A browser window of its own showing `uri`, until the user closes it.
    static void OpenWindow(const std::string& uri);

    struct Parts;

private:
    // Makes the engine's view when the engine is there; false until then.
    bool realise();
    void applyKeys();
    void applyCovers();

    std::unique_ptr<Parts> parts_;
    DesktopWindow* window_ = nullptr;
};

// The web engine module's calls; the first call starts opening the module
// and every call waits until it is open. Null when it cannot be opened.
const WebEngineCalls* WebEngine();
// True from the start of the module's opening until it is open.
bool WebEngineLoading();
