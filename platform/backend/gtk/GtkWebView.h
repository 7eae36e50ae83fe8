// The browser control's view on the desktop: a web engine laid over the host
// window's rectangle, following the host's place and visibility, and
// reporting title, progress, status text and finished loads through the
// user-interface thread's message queue, never from inside GTK's own event
// handling. A click into the page gives the host window the focus; the page
// has the keys while the host has the focus.
#pragma once

#include "platform/backend/gtk/DesktopWebView.h"
#include "platform/win/BackendInterface.h"

#include <memory>
#include <string>

class GtkBackend;

// A web address stays as it is; a file name (either separator, relative to
// the current folder, perhaps with a "#part" of the page) becomes a file://
// URI.
std::string UriOfTarget(const WideString& target);

class GtkWebView : public WebView, private DesktopWebViewListener {
public:
    GtkWebView(GtkBackend& backend, HWND host, const TRect& clientRect, WebViewEvents events);
    ~GtkWebView() override;

    void Navigate(const WideString& url) override;
    void GoBack() override;
    void GoForward() override;
    void Refresh() override;
    void SetBounds(const TRect& clientRect) override;
    void SetVisible(bool visible) override;
    WideString LocationUrl() const override;

    HWND Host() const { return host_; }
    void SetHasKeys(bool hasKeys) { view_.SetHasKeys(hasKeys); }

    // Shows `url` in a browser window of its own.
    void NavigateInNewWindow(const WideString& url);

    // Lays the view over the host's rectangle as the host now lies.
    void Follow();
    // The desktop window is going; the view leaves it.
    void Release(const DesktopWindow* window);

private:
    void TitleChanged(const std::string& title) override;
    void ProgressChanged(double fraction) override;
    void LinkHovered(const std::string& uri) override;
    void LoadFinished(const std::string& uri) override;
    void PagePressed() override;

    // Runs `report` with the events, from the message queue, if the view still exists then.
    void report(std::function<void(const WebViewEvents&)> report);

    GtkBackend& backend_;
    HWND host_;
    TRect bounds_;
    bool visible_ = true;
    std::shared_ptr<WebViewEvents> events_;
    DesktopWebView view_;
};
