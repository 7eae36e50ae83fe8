// WebKitWebView behind the embedded browser, and the browser windows it opens.
#include "platform/backend/gtk/DesktopWebView.h"

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

struct DesktopWebView::Parts {
    explicit Parts(DesktopWebViewListener& listener) : listener(listener) {}

    DesktopWebViewListener& listener;
    GtkWidget* view = nullptr;
    bool visible = true;
    std::string hoveredLink;
};

namespace {

using Parts = DesktopWebView::Parts;

constexpr int browserWindowWidth = 800;
constexpr int browserWindowHeight = 600;

WebKitWebView* webViewOf(GtkWidget* widget) {
    return WEBKIT_WEB_VIEW(widget);
}

// Drawing in software costs less memory and start-up time than setting up
// accelerated compositing, and works on every display. A page that names no
// character set is read in the program's code page, as the pages the program
// writes are.
GtkWidget* createWebView() {
    WebKitSettings* settings = webkit_settings_new();
    webkit_settings_set_hardware_acceleration_policy(settings, WEBKIT_HARDWARE_ACCELERATION_POLICY_NEVER);
    webkit_settings_set_default_charset(settings, "windows-1252");
    GtkWidget* view = GTK_WIDGET(g_object_new(WEBKIT_TYPE_WEB_VIEW, "settings", settings, nullptr));
    g_object_unref(settings);
    return view;
}

// A link that asks for a window of its own opens in the same view.
gboolean decidePolicy(WebKitWebView* view, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type,
                      gpointer) {
    if (type != WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION) return FALSE;
    WebKitNavigationAction* action =
        webkit_navigation_policy_decision_get_navigation_action(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
    webkit_web_view_load_request(view, webkit_navigation_action_get_request(action));
    webkit_policy_decision_ignore(decision);
    return TRUE;
}

GtkWidget* openInSameView(WebKitWebView* view, WebKitNavigationAction* action, gpointer) {
    webkit_web_view_load_request(view, webkit_navigation_action_get_request(action));
    return nullptr;
}

void titleChanged(WebKitWebView* view, GParamSpec*, gpointer data) {
    const gchar* title = webkit_web_view_get_title(view);
    static_cast<Parts*>(data)->listener.TitleChanged(title ? title : "");
}

void progressChanged(WebKitWebView* view, GParamSpec*, gpointer data) {
    static_cast<Parts*>(data)->listener.ProgressChanged(webkit_web_view_get_estimated_load_progress(view));
}

void mouseTargetChanged(WebKitWebView*, WebKitHitTestResult* hit, guint, gpointer data) {
    Parts& parts = *static_cast<Parts*>(data);
    const gchar* link =
        webkit_hit_test_result_context_is_link(hit) ? webkit_hit_test_result_get_link_uri(hit) : nullptr;
    std::string hovered = link ? link : "";
    if (hovered == parts.hoveredLink) return;
    parts.hoveredLink = hovered;
    parts.listener.LinkHovered(hovered);
}

void loadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer data) {
    if (event != WEBKIT_LOAD_FINISHED) return;
    const gchar* uri = webkit_web_view_get_uri(view);
    static_cast<Parts*>(data)->listener.LoadFinished(uri ? uri : "");
}

void followTitleInWindow(WebKitWebView* view, GParamSpec*, gpointer window) {
    const gchar* title = webkit_web_view_get_title(view);
    gtk_window_set_title(GTK_WINDOW(window), title ? title : "");
}

void keepLinksInView(GtkWidget* view) {
    g_signal_connect(view, "decide-policy", G_CALLBACK(decidePolicy), nullptr);
    g_signal_connect(view, "create", G_CALLBACK(openInSameView), nullptr);
}

} // namespace

DesktopWebView::DesktopWebView(DesktopWebViewListener& listener) : parts_(std::make_unique<Parts>(listener)) {
    Parts& parts = *parts_;
    // The view lives as long as this object, whichever window holds it.
    parts.view = GTK_WIDGET(g_object_ref_sink(createWebView()));
    keepLinksInView(parts.view);
    g_signal_connect(parts.view, "notify::title", G_CALLBACK(titleChanged), &parts);
    g_signal_connect(parts.view, "notify::estimated-load-progress", G_CALLBACK(progressChanged), &parts);
    g_signal_connect(parts.view, "mouse-target-changed", G_CALLBACK(mouseTargetChanged), &parts);
    g_signal_connect(parts.view, "load-changed", G_CALLBACK(loadChanged), &parts);
}

DesktopWebView::~DesktopWebView() {
    Attach(nullptr, {});
    gtk_widget_destroy(parts_->view);
    g_object_unref(parts_->view);
}

void DesktopWebView::Attach(DesktopWindow* window, const DesktopRect& content) {
    if (window == window_) {
        if (window_) window_->PlaceOverlay(parts_->view, content);
        return;
    }
    if (window_) window_->RemoveOverlay(parts_->view);
    window_ = window;
    if (window_) window_->AddOverlay(parts_->view, content);
    gtk_widget_set_visible(parts_->view, window_ && parts_->visible);
}

void DesktopWebView::Show(bool visible) {
    parts_->visible = visible;
    gtk_widget_set_visible(parts_->view, window_ && visible);
}

void DesktopWebView::Load(const std::string& uri) {
    webkit_web_view_load_uri(webViewOf(parts_->view), uri.c_str());
}

void DesktopWebView::Reload() {
    webkit_web_view_reload_bypass_cache(webViewOf(parts_->view));
}

void DesktopWebView::GoBack() {
    webkit_web_view_go_back(webViewOf(parts_->view));
}

void DesktopWebView::GoForward() {
    webkit_web_view_go_forward(webViewOf(parts_->view));
}

std::string DesktopWebView::Uri() const {
    const gchar* uri = webkit_web_view_get_uri(webViewOf(parts_->view));
    return uri ? uri : "";
}

void DesktopWebView::OpenWindow(const std::string& uri) {
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_default_size(GTK_WINDOW(window), browserWindowWidth, browserWindowHeight);
    GtkWidget* view = createWebView();
    keepLinksInView(view);
    g_signal_connect(view, "notify::title", G_CALLBACK(followTitleInWindow), window);
    gtk_container_add(GTK_CONTAINER(window), view);
    webkit_web_view_load_uri(webViewOf(view), uri.c_str());
    gtk_widget_show_all(window);
}
