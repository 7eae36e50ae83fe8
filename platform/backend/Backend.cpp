// Backend selection and the adapters that let the clipboard and the shell
// reach the installed backend.
#include "platform/backend/Backend.h"

#include "platform/backend/HeadlessBackend.h"
#include "platform/core/CodePages.h"
#include "platform/win/Clipboard.h"
#include "platform/win/Shell.h"

namespace {

class BackendClipboard : public SystemClipboard {
public:
    explicit BackendClipboard(std::shared_ptr<Backend> backend) : backend_(std::move(backend)) {}
    std::optional<WideString> GetText() override { return backend_->ClipboardText(); }
    void SetText(const WideString& text) override { backend_->SetClipboardText(text); }
    void Clear() override { backend_->SetClipboardText(WideString()); }

private:
    std::shared_ptr<Backend> backend_;
};

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
    auto backend = std::make_shared<HeadlessBackend>();
    InstallAsBackend(backend);
    return backend;
}
