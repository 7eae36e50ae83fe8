// Backend selection and the adapters that let the clipboard and the shell
// reach the installed backend.
#include "platform/backend/Backend.h"

#include "platform/backend/HeadlessBackend.h"
#include "platform/core/CodePages.h"
#include "platform/win/Clipboard.h"
#include "platform/win/Shell.h"

#include <cstdlib>
#include <iostream>
#include <string>

namespace {

class BackendClipboard : public SystemClipboard {
public:
    explicit BackendClipboard(std::shared_ptr<Backend> backend) : backend_(std::move(backend)) {}
    std::optional<WideString> GetText() override { return backend_->ClipboardText(); }
    void SetText(const WideString& text) override { backend_->SetClipboardText(text); }
    void Clear() override { backend_->SetClipboardText(WideString()); }
    void OfferSelection(const WideString& text) override { backend_->SetSelectionText(text); }

private:
    std::shared_ptr<Backend> backend_;
};

bool isSet(const char* variable) {
    const char* value = std::getenv(variable);
    return value && *value;
}

bool headlessAsked() {
    const char* chosen = std::getenv("QUORVANE_BACKEND");
    return chosen && std::string(chosen) == "headless";
}

// The desktop backend when a display is there and it can be opened; null
// otherwise, with a line on stderr saying why the windows stay in memory.
std::shared_ptr<Backend> desktopBackend() {
    if (headlessAsked()) return nullptr;
    if (!isSet("DISPLAY") && !isSet("WAYLAND_DISPLAY")) {
        std::cerr
            << "No display ($DISPLAY, $WAYLAND_DISPLAY): windows are kept in memory (headless backend).\n";
        return nullptr;
    }
    if (!OpenDesktopBackend) {
        std::cerr << "Built without the desktop backend: windows are kept in memory (headless backend).\n";
        return nullptr;
    }
    if (std::shared_ptr<Backend> backend = OpenDesktopBackend()) return backend;
    std::cerr << "The display could not be opened: windows are kept in memory (headless backend).\n";
    return nullptr;
}

} // namespace

void InstallAsBackend(const std::shared_ptr<Backend>& backend) {
    SetBackend(backend);
    SetSystemClipboard(std::make_shared<BackendClipboard>(backend));
    std::weak_ptr<Backend> opener = backend;
    SetShellOpener([opener](const std::string& target) {
        std::shared_ptr<Backend> installed = opener.lock();
        return installed && installed->OpenUrl(UTF8Decode(target));
    });
}

std::shared_ptr<Backend> InstallBackend() {
    std::shared_ptr<Backend> backend = desktopBackend();
    if (!backend) backend = std::make_shared<HeadlessBackend>();
    InstallAsBackend(backend);
    return backend;
}
