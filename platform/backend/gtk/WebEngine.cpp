// The web engine module: a WebKitWebView behind each embedded browser, with
// its title, progress, hovered links and finished loads passed to the
// listener, and the browser windows it opens.
#include "platform/backend/gtk/DesktopWebView.h"
#include "platform/backend/gtk/WebEngineModule.h"

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

struct WebEngineView {
    explicit WebEngineView(DesktopWebViewListener& listener) : listener(listener) {}

    DesktopWebViewListener& listener;
    GtkWidget* widget = nullptr;
    std::string hoveredLink;
};

namespace {

constexpr int browserWindowWidth = 800;
constexpr int browserWindowHeight = 600;

WebKitWebView* webViewOf(WebEngineView* view) {
    return WEBKIT_WEB_VIEW(view->widget);
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
    static_cast<WebEngineView*>(data)->listener.TitleChanged(title ? title : "");
}

void progressChanged(WebKitWebView* view, GParamSpec*, gpointer data) {
    static_cast<WebEngineView*>(data)->listener.ProgressChanged(webkit_web_view_get_estimated_load_progress(view));
}

void mouseTargetChanged(WebKitWebView*, WebKitHitTestResult* hit, guint, gpointer data) {
    WebEngineView& view = *static_cast<WebEngineView*>(data);
    const gchar* link =
        webkit_hit_test_result_context_is_link(hit) ? webkit_hit_test_result_get_link_uri(hit) : nullptr;
    std::string hovered = link ? link : "";
    if (hovered == view.hoveredLink) return;
    view.hoveredLink = hovered;
    view.listener.LinkHovered(hovered);
}

void loadChanged(WebKitWebView* view, WebKitLoadEvent event, gpointer data) {
    if (event != WEBKIT_LOAD_FINISHED) return;
    const gchar* uri = webkit_web_view_get_uri(view);
    static_cast<WebEngineView*>(data)->listener.LoadFinished(uri ? uri : "");
}

void followTitleInWindow(WebKitWebView* view, GParamSpec*, gpointer window) {
    const gchar* title = webkit_web_view_get_title(view);
    gtk_window_set_title(GTK_WINDOW(window), title ? title : "");
}

void keepLinksInView(GtkWidget* view) {
    g_signal_connect(view, "decide-policy", G_CALLBACK(decidePolicy), nullptr);
    g_signal_connect(view, "create", G_CALLBACK(openInSameView), nullptr);
}

WebEngineView* create(DesktopWebViewListener& listener) {
    auto* view = new WebEngineView(listener);
    // The widget lives as long as the view, whichever window holds it.
    view->widget = GTK_WIDGET(g_object_ref_sink(createWebView()));
    keepLinksInView(view->widget);
    g_signal_connect(view->widget, "notify::title", G_CALLBACK(titleChanged), view);
    g_signal_connect(view->widget, "notify::estimated-load-progress", G_CALLBACK(progressChanged), view);
    g_signal_connect(view->widget, "mouse-target-changed", G_CALLBACK(mouseTargetChanged), view);
    g_signal_connect(view->widget, "load-changed", G_CALLBACK(loadChanged), view);
    return view;
}

void destroy(WebEngineView* view) {
    gtk_widget_destroy(view->widget);
    g_object_unref(view->widget);
    delete view;
}

GtkWidget* widget(WebEngineView* view) {
    return view->widget;
}

void load(WebEngineView* view, const std::string& uri) {
    webkit_web_view_load_uri(webViewOf(view), uri.c_str());
}

void reload(WebEngineView* view) {
    webkit_web_view_reload_bypass_cache(webViewOf(view));
}

void goBack(WebEngineView* view) {
    webkit_web_view_go_back(webViewOf(view));
}

void goForward(WebEngineView* view) {
    webkit_web_view_go_forward(webViewOf(view));
}

std::string uri(WebEngineView* view) {
    const gchar* shown = webkit_web_view_get_uri(webViewOf(view));
    return shown ? shown : "";
}

void openWindow(const std::string& address) {
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_default_size(GTK_WINDOW(window), browserWindowWidth, browserWindowHeight);
    GtkWidget* view = createWebView();
    keepLinksInView(view);
    g_signal_connect(view, "notify::title", G_CALLBACK(followTitleInWindow), window);
    gtk_container_add(GTK_CONTAINER(window), view);
    webkit_web_view_load_uri(WEBKIT_WEB_VIEW(view), address.c_str());
    gtk_widget_show_all(window);
}

constexpr WebEngineCalls calls = {create, destroy, widget, load, reload, goBack, goForward, uri, openWindow};

} // namespace

extern "C" __attribute__((visibility("default"))) const WebEngineCalls* QuorvaneWebEngineCalls() {
    return &calls;
}
