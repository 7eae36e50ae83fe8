// The browser control's view: where it lies, what it loads, what it reports.
#include "platform/backend/gtk/GtkWebView.h"

#include "platform/backend/gtk/GtkBackend.h"
#include "platform/core/CodePages.h"
#include "platform/win/Focus.h"
#include "platform/win/WindowPos.h"
#include "platform/win/WindowTree.h"
#include "platform/win/Windows.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace {

constexpr int progressMax = 100;

bool isUri(const std::string& text) {
    for (const char* scheme : {"about:", "data:", "mailto:"})
        if (text.rfind(scheme, 0) == 0) return true;
    return text.find("://") != std::string::npos;
}

// A child window shows only inside the client areas of the windows that
// hold it: the view keeps to the part of its place, on the screen, that its
// host and every window up to `topLevel` show.
TRect visiblePlace(HWND host, const TRect& bounds, HWND topLevel) {
    POINT origin{bounds.Left, bounds.Top};
    ClientToScreen(host, &origin);
    TRect visible{origin.x, origin.y, origin.x + bounds.Width(), origin.y + bounds.Height()};
    for (HWND window = host; window; window = GetAncestor(window, GA_PARENT)) {
        RECT client{};
        GetClientRect(window, &client);
        POINT corner{0, 0};
        ClientToScreen(window, &corner);
        visible = TRect{std::max<int>(visible.Left, corner.x), std::max<int>(visible.Top, corner.y),
                        std::min<int>(visible.Right, corner.x + client.Right),
                        std::min<int>(visible.Bottom, corner.y + client.Bottom)};
        if (window == topLevel) break;
    }
    return visible;
}

// A window that clips its siblings draws nothing where a sibling above it
// lies: the page, in the host's place, lies under the shown siblings above
// the host and above each window holding it, where they overlap its place.
std::vector<TRect> placesAbove(HWND host, const TRect& place, HWND topLevel) {
    std::vector<TRect> above;
    for (HWND window = host; window && window != topLevel; window = GetAncestor(window, GA_PARENT)) {
        if (!(GetWindowLongW(window, GWL_STYLE) & WS_CLIPSIBLINGS)) continue;
        for (HWND sibling = GetWindow(window, GW_HWNDPREV); sibling;
             sibling = GetWindow(sibling, GW_HWNDPREV)) {
            RECT bounds{};
            if (!IsWindowVisible(sibling) || !GetWindowRect(sibling, &bounds)) continue;
            const TRect overlap = IntersectRects(place, bounds);
            if (!IsEmptyRect(overlap)) above.push_back(overlap);
        }
    }
    return above;
}

DesktopRect placeInContent(const TRect& place, const TRect& content) {
    return {place.Left - content.Left, place.Top - content.Top, std::max<int>(place.Width(), 0),
            std::max<int>(place.Height(), 0)};
}

} // namespace

std::string UriOfTarget(const WideString& target) {
    std::string text = UTF8Encode(target);
    if (isUri(text)) return text;
    std::replace(text.begin(), text.end(), '\\', '/');
    std::error_code unknownFolder;
    std::filesystem::path absolute = std::filesystem::absolute(text, unknownFolder);
    std::string path = (unknownFolder ? std::filesystem::path(text) : absolute).lexically_normal().string();
    // "page.htm#part" names a place in a page, unless a file has that very name.
    std::size_t anchor = path.rfind('#');
    if (anchor == std::string::npos || std::filesystem::exists(path)) return FileUriOf(path);
    return FileUriOf(path.substr(0, anchor)) + path.substr(anchor);
}

GtkWebView::GtkWebView(GtkBackend& backend, HWND host, const TRect& clientRect, WebViewEvents events)
    : backend_(backend), host_(host), bounds_(clientRect),
      events_(std::make_shared<WebViewEvents>(std::move(events))), view_(*this) {
    backend_.AddWebView(*this);
    Follow();
}

GtkWebView::~GtkWebView() {
    backend_.RemoveWebView(*this);
}

void GtkWebView::Navigate(const WideString& url) {
    view_.Load(UriOfTarget(url));
}

void GtkWebView::GoBack() {
    view_.GoBack();
}

void GtkWebView::GoForward() {
    view_.GoForward();
}

void GtkWebView::Refresh() {
    view_.Reload();
}

void GtkWebView::SetBounds(const TRect& clientRect) {
    bounds_ = clientRect;
    Follow();
}

void GtkWebView::SetVisible(bool visible) {
    visible_ = visible;
    Follow();
}

WideString GtkWebView::LocationUrl() const {
    return UTF8Decode(view_.Uri());
}

void GtkWebView::NavigateInNewWindow(const WideString& url) {
    DesktopWebView::OpenWindow(UriOfTarget(url));
}

void GtkWebView::Follow() {
    HWND topLevel = IsWindow(host_) ? GetAncestor(host_, GA_ROOT) : nullptr;
    // The view joins its window once the window's own pixels are on the
    // screen, so the web engine (opened then) never holds up a window.
    DesktopWindow* window =
        topLevel && backend_.HasBeenDrawn(topLevel) ? backend_.DesktopWindowOf(topLevel) : nullptr;
    std::optional<TRect> content = window ? backend_.ContentOnScreen(topLevel) : std::nullopt;
    if (!content) {
        view_.Attach(nullptr, {});
        return;
    }
    const TRect place = visiblePlace(host_, bounds_, topLevel);
    const bool shown = visible_ && place.Width() > 0 && place.Height() > 0 && IsWindowVisible(host_);
    std::vector<DesktopRect> covers;
    if (shown)
        for (const TRect& above : placesAbove(host_, place, topLevel))
            covers.push_back(placeInContent(above, *content));
    view_.SetCovers(covers);
    view_.Attach(window, placeInContent(place, *content));
    view_.Show(shown);
}

void GtkWebView::Release(const DesktopWindow* window) {
    if (view_.AttachedTo() == window) view_.Attach(nullptr, {});
}

// The window system's focus follows the click, as it would into a child
// window of the host; its WM_KILLFOCUS lets the control that had it stop
// drawing its focus.
void GtkWebView::PagePressed() {
    HWND host = host_;
    backend_.PostToInterfaceThread([host] {
        if (IsWindow(host)) SetFocus(host);
    });
}

void GtkWebView::report(std::function<void(const WebViewEvents&)> report) {
    std::weak_ptr<WebViewEvents> events = events_;
    backend_.PostToInterfaceThread([events, report = std::move(report)] {
        if (std::shared_ptr<WebViewEvents> alive = events.lock()) report(*alive);
    });
}

void GtkWebView::TitleChanged(const std::string& title) {
    WideString text = title.empty() ? LocationUrl() : UTF8Decode(title);
    report([text](const WebViewEvents& events) {
        if (events.TitleChanged) events.TitleChanged(text);
    });
}

void GtkWebView::ProgressChanged(double fraction) {
    int progress = static_cast<int>(std::lround(fraction * progressMax));
    report([progress](const WebViewEvents& events) {
        if (events.ProgressChanged) events.ProgressChanged(progress, progressMax);
    });
}

void GtkWebView::LinkHovered(const std::string& uri) {
    WideString text = UTF8Decode(uri);
    report([text](const WebViewEvents& events) {
        if (events.StatusTextChanged) events.StatusTextChanged(text);
    });
}

void GtkWebView::LoadFinished(const std::string& uri) {
    WideString text = UTF8Decode(uri);
    report([text](const WebViewEvents& events) {
        if (events.NavigationCompleted) events.NavigationCompleted(text);
    });
}
