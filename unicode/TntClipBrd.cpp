// The wide clipboard text, kept in CF_UNICODETEXT beside the ANSI CF_TEXT.
#include "unicode/TntClipBrd.h"

#include "platform/core/CodePages.h"
#include "platform/win/GlobalMemory.h"

#include <cstring>
#include <memory>

namespace {

// Keeps the clipboard open for one exchange, also when it throws.
class OpenClipboardScope {
public:
    explicit OpenClipboardScope(TClipboard* clipboard) : clipboard_(clipboard) { clipboard_->Open(); }
    ~OpenClipboardScope() { clipboard_->Close(); }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;

private:
    TClipboard* clipboard_;
};

WideString textOfHandle(HANDLE data) {
    if (!data) return {};
    const auto* text = static_cast<const WideChar*>(GlobalLock(data));
    WideString result = text ? WideString(text) : WideString();
    GlobalUnlock(data);
    return result;
}

HGLOBAL handleOfText(const WideString& text) {
    const std::size_t bytes = (text.size() + 1) * sizeof(WideChar);
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, bytes);
    if (!data) throw EOutOfMemory("Out of memory");
    std::memcpy(GlobalLock(data), text.c_str(), bytes);
    GlobalUnlock(data);
    return data;
}

} // namespace

WideString TTntClipboard::GetAsWideText() {
    WideString text;
    {
        OpenClipboardScope open(this);
        text = textOfHandle(GetAsHandle(CF_UNICODETEXT));
    }
    return text.empty() ? AnsiToWide(AsText()) : text;
}

void TTntClipboard::SetAsWideText(const WideString& Value) {
    OpenClipboardScope open(this);
    SetAsText(WideToAnsi(Value));
    SetAsHandle(CF_UNICODETEXT, handleOfText(Value));
}

TTntClipboard* TntClipboard() {
    // Opened once while being made, so that the window it keeps exists (with
    // the window system's tables) before the object does: objects of this
    // kind go in reverse order at exit, and the window must still be there
    // when the clipboard object frees it.
    static const std::unique_ptr<TTntClipboard> clipboard = [] {
        auto made = std::make_unique<TTntClipboard>();
        made->Open();
        made->Close();
        return made;
    }();
    return clipboard.get();
}
