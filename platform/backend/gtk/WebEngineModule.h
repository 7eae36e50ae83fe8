// What the web engine module offers the gtk backend. The module alone links
// the web engine, so a program does not load the engine's many libraries
// until its first web view is made (DesktopWebView.cpp opens the module).
// Plain calls in one table, found by one unmangled name.
#pragma once

#include <string>

class DesktopWebViewListener;
struct _GtkWidget;

// One engine view, owned by the caller from Create to Destroy.
struct WebEngineView;

struct WebEngineCalls {
    WebEngineView* (*Create)(DesktopWebViewListener& listener);
    void (*Destroy)(WebEngineView* view);
    // The view's widget, for the backend to lay over its windows.
    _GtkWidget* (*Widget)(WebEngineView* view);
    void (*Load)(WebEngineView* view, const std::string& uri);
    // Loads the page again, none of it from the cache.
    void (*Reload)(WebEngineView* view);
    void (*GoBack)(WebEngineView* view);
    void (*GoForward)(WebEngineView* view);
    std::string (*Uri)(WebEngineView* view);
    // A browser window of its own showing `uri`, until the user closes it.
    void (*OpenWindow)(const std::string& uri);
};

// The module's file name, looked for beside the program.
inline constexpr const char* WebEngineModuleFile = "quorvane-webengine.so";
// The name of the module's one exported function, which returns its table.
inline constexpr const char* WebEngineEntryName = "QuorvaneWebEngineCalls";
using WebEngineEntry = const WebEngineCalls* (*)();
