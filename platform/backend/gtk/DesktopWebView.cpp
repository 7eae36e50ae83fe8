// The embedded browser's backend side: the web engine module is opened on a
// worker thread when the first view is laid over a window, so that the
// program goes on while the dynamic loader works; a view is made in the
// engine, laid over its window and given its page once the module is there.
// Without the module (a program folder missing it) a view shows nothing, and
// the reason is written to stderr once.
#include "platform/backend/gtk/DesktopWebView.h"

#include "platform/backend/gtk/WebEngineModule.h"

#include <gtk/gtk.h>

#include <dlfcn.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <future>
#include <iostream>
#include <mutex>
#include <utility>

struct DesktopWebView::Parts {
    explicit Parts(DesktopWebViewListener& listener) : listener(listener) {}

    DesktopWebViewListener& listener;
    WebEngineView* view = nullptr;
    // The window the engine's widget lies on, once there is a widget.
    DesktopWindow* holder = nullptr;
    bool visible = true;
    bool hasKeys = false;
    // What was asked before the engine was there.
    DesktopRect content{};
    std::vector<DesktopRect> covers;
    std::string pendingUri;
};

namespace {

std::string moduleBesideProgram() {
    std::error_code unknown;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", unknown);
    return (program.parent_path() / WebEngineModuleFile).string();
}

const WebEngineCalls* openModule() {
    const std::string file = moduleBesideProgram();
    // The module stays loaded for the life of the process: views and the
    // engine's own threads may outlive any one caller.
    void* module = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    WebEngineEntry entry =
        module ? reinterpret_cast<WebEngineEntry>(dlsym(module, WebEngineEntryName)) : nullptr;
    if (!entry) {
        const char* failure = dlerror();
        std::cerr << "The web engine could not be loaded (" << (failure ? failure : file)
                  << "): pages are not shown.\n";
        return nullptr;
    }
    return entry();
}

struct EngineLoad {
    std::once_flag once;
    std::atomic<bool> started = false;
    std::shared_future<const WebEngineCalls*> calls;
};

EngineLoad& engineState() {
    static EngineLoad load;
    return load;
}

// The state, the module's opening started on the first call.
EngineLoad& engineLoad() {
    EngineLoad& load = engineState();
    std::call_once(load.once, [&load] {
        load.calls = std::async(std::launch::async, openModule).share();
        load.started = true;
    });
    return load;
}

gboolean pagePressed(GtkWidget*, GdkEventButton*, gpointer data) {
    static_cast<DesktopWebView::Parts*>(data)->listener.PagePressed();
    // The page goes on to handle the press itself.
    return FALSE;
}

bool engineThere() {
    return engineLoad().calls.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

} // namespace

const WebEngineCalls* WebEngine() {
    return engineLoad().calls.get();
}

bool WebEngineLoading() {
    return engineState().started && !engineThere();
}

DesktopWebView::DesktopWebView(DesktopWebViewListener& listener)
    : parts_(std::make_unique<Parts>(listener)) {}

DesktopWebView::~DesktopWebView() {
    Attach(nullptr, {});
    if (parts_->view) WebEngine()->Destroy(parts_->view);
}

bool DesktopWebView::realise() {
    if (parts_->view) return true;
    if (!window_ || !engineThere() || !WebEngine()) return false;
    parts_->view = WebEngine()->Create(parts_->listener);
    g_signal_connect(WebEngine()->Widget(parts_->view), "button-press-event", G_CALLBACK(pagePressed),
                     parts_.get());
    return true;
}

void DesktopWebView::Attach(DesktopWindow* window, const DesktopRect& content) {
    window_ = window;
    parts_->content = content;
    if (!realise()) return;
    GtkWidget* widget = WebEngine()->Widget(parts_->view);
    if (window == parts_->holder) {
        if (window) window->PlaceOverlay(widget, content);
    } else {
        if (parts_->holder) parts_->holder->RemoveOverlay(widget);
        parts_->holder = window;
        if (window) window->AddOverlay(widget, content);
    }
    gtk_widget_set_visible(widget, window && parts_->visible);
    applyCovers();
    applyKeys();
    if (!parts_->pendingUri.empty()) Load(std::exchange(parts_->pendingUri, {}));
}

void DesktopWebView::Show(bool visible) {
    parts_->visible = visible;
    if (parts_->view) gtk_widget_set_visible(WebEngine()->Widget(parts_->view), parts_->holder && visible);
}

void DesktopWebView::SetCovers(const std::vector<DesktopRect>& covers) {
    parts_->covers = covers;
    applyCovers();
}

void DesktopWebView::applyCovers() {
    if (parts_->view && parts_->holder)
        parts_->holder->CoverOverlay(WebEngine()->Widget(parts_->view), parts_->covers);
}

void DesktopWebView::SetHasKeys(bool hasKeys) {
    parts_->hasKeys = hasKeys;
    applyKeys();
}

void DesktopWebView::applyKeys() {
    if (!parts_->view || !parts_->holder) return;
    GtkWidget* widget = WebEngine()->Widget(parts_->view);
    const bool focused = gtk_window_get_focus(GTK_WINDOW(parts_->holder->Widget())) == widget;
    if (parts_->hasKeys && !focused)
        gtk_widget_grab_focus(widget);
    else if (!parts_->hasKeys && focused)
        parts_->holder->FocusContent();
}

void DesktopWebView::Load(const std::string& uri) {
    if (parts_->view)
        WebEngine()->Load(parts_->view, uri);
    else
        parts_->pendingUri = uri;
}

void DesktopWebView::Reload() {
    if (parts_->view) WebEngine()->Reload(parts_->view);
}

void DesktopWebView::GoBack() {
    if (parts_->view) WebEngine()->GoBack(parts_->view);
}

void DesktopWebView::GoForward() {
    if (parts_->view) WebEngine()->GoForward(parts_->view);
}

std::string DesktopWebView::Uri() const {
    return parts_->view ? WebEngine()->Uri(parts_->view) : parts_->pendingUri;
}

void DesktopWebView::OpenWindow(const std::string& uri) {
    if (const WebEngineCalls* engine = WebEngine()) engine->OpenWindow(uri);
}
