// The embedded browser's backend side: the web engine module is opened the
// first time a view is made, and each view's widget is laid over a desktop
// window. Without the module (a program folder missing it) a view shows
// nothing, and the reason is written to stderr once.
#include "platform/backend/gtk/DesktopWebView.h"

#include "platform/backend/gtk/WebEngineModule.h"

#include <gtk/gtk.h>

#include <dlfcn.h>

#include <filesystem>
#include <iostream>
#include <mutex>

struct DesktopWebView::Parts {
    WebEngineView* view = nullptr;
    bool visible = true;
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
    const char* failure = nullptr;
    WebEngineEntry entry = nullptr;
    if (module)
        entry = reinterpret_cast<WebEngineEntry>(dlsym(module, WebEngineEntryName));
    if (!module || !entry) failure = dlerror();
    if (!entry) {
        std::cerr << "The web engine could not be loaded (" << (failure ? failure : file) << "): pages are not shown.\n";
        return nullptr;
    }
    return entry();
}

} // namespace

const WebEngineCalls* WebEngine() {
    static std::once_flag opened;
    static const WebEngineCalls* calls = nullptr;
    std::call_once(opened, [] { calls = openModule(); });
    return calls;
}

DesktopWebView::DesktopWebView(DesktopWebViewListener& listener) : parts_(std::make_unique<Parts>()) {
    if (const WebEngineCalls* engine = WebEngine()) parts_->view = engine->Create(listener);
}

DesktopWebView::~DesktopWebView() {
    Attach(nullptr, {});
    if (parts_->view) WebEngine()->Destroy(parts_->view);
}

void DesktopWebView::Attach(DesktopWindow* window, const DesktopRect& content) {
    if (!parts_->view) {
        window_ = window;
        return;
    }
    GtkWidget* widget = WebEngine()->Widget(parts_->view);
    if (window == window_) {
        if (window_) window_->PlaceOverlay(widget, content);
        return;
    }
    if (window_) window_->RemoveOverlay(widget);
    window_ = window;
    if (window_) window_->AddOverlay(widget, content);
    gtk_widget_set_visible(widget, window_ && parts_->visible);
}

void DesktopWebView::Show(bool visible) {
    parts_->visible = visible;
    if (parts_->view) gtk_widget_set_visible(WebEngine()->Widget(parts_->view), window_ && visible);
}

void DesktopWebView::Load(const std::string& uri) {
    if (parts_->view) WebEngine()->Load(parts_->view, uri);
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
    return parts_->view ? WebEngine()->Uri(parts_->view) : std::string();
}

void DesktopWebView::OpenWindow(const std::string& uri) {
    if (const WebEngineCalls* engine = WebEngine()) engine->OpenWindow(uri);
}
