// One input context per window, created on first use.
#include "platform/win/Ime.h"

#include "platform/core/CodePages.h"
#include "platform/win/BackendInterface.h"
#include "platform/win/Messages.h"
#include "platform/win/WindowObjects.h"

#include <cstring>
#include <map>
#include <mutex>

namespace {

struct InputContext {
    HWND window = nullptr;
    COMPOSITIONFORM form;
    LOGFONTW font{};
    bool open = false;
    WideString result;
};

struct ContextTable {
    std::mutex mutex;
    std::map<HWND, InputContext> contexts;
};

ContextTable& contextTable() {
    static ContextTable table;
    return table;
}

HIMC handleOf(HWND window) {
    return reinterpret_cast<HIMC>(window);
}

template <typename Action>
auto withContext(HIMC context, Action action) -> decltype(action(std::declval<InputContext&>())) {
    ContextTable& table = contextTable();
    std::lock_guard lock(table.mutex);
    auto found = table.contexts.find(reinterpret_cast<HWND>(context));
    if (found == table.contexts.end()) return {};
    return action(found->second);
}

LONG copyOut(const void* data, std::size_t bytes, LPVOID buffer, DWORD size) {
    if (size == 0 || !buffer) return static_cast<LONG>(bytes);
    std::size_t copied = std::min<std::size_t>(bytes, size);
    std::memcpy(buffer, data, copied);
    return static_cast<LONG>(copied);
}

} // namespace

HIMC ImmGetContext(HWND window) {
    if (!WindowOrError(window)) return nullptr;
    ContextTable& table = contextTable();
    std::lock_guard lock(table.mutex);
    table.contexts[window].window = window;
    return handleOf(window);
}

BOOL ImmReleaseContext(HWND, HIMC context) {
    return context ? TRUE : FALSE;
}

LONG ImmGetCompositionStringW(HIMC context, DWORD index, LPVOID buffer, DWORD size) {
    if (index != GCS_RESULTSTR && index != GCS_COMPSTR) return IMM_ERROR_NODATA;
    WideString text = index == GCS_RESULTSTR
                          ? withContext(context, [](InputContext& each) { return each.result; })
                          : WideString();
    return copyOut(text.data(), text.size() * sizeof(WCHAR), buffer, size);
}

LONG ImmGetCompositionStringA(HIMC context, DWORD index, LPVOID buffer, DWORD size) {
    if (index != GCS_RESULTSTR && index != GCS_COMPSTR) return IMM_ERROR_NODATA;
    WideString text = index == GCS_RESULTSTR
                          ? withContext(context, [](InputContext& each) { return each.result; })
                          : WideString();
    AnsiString ansi = WideToAnsi(text);
    return copyOut(ansi.data(), ansi.size(), buffer, size);
}

BOOL ImmSetCompositionWindow(HIMC context, const COMPOSITIONFORM* form) {
    if (!form) return FALSE;
    return withContext(context, [&](InputContext& each) {
        each.form = *form;
        return TRUE;
    });
}

BOOL ImmGetCompositionWindow(HIMC context, COMPOSITIONFORM* form) {
    if (!form) return FALSE;
    return withContext(context, [&](InputContext& each) {
        *form = each.form;
        return TRUE;
    });
}

BOOL ImmSetCompositionFontW(HIMC context, const LOGFONTW* font) {
    if (!font) return FALSE;
    return withContext(context, [&](InputContext& each) {
        each.font = *font;
        return TRUE;
    });
}

BOOL ImmSetCompositionFontA(HIMC context, const LOGFONTA* font) {
    if (!font) return FALSE;
    LOGFONTW wide{};
    CopyLogFontMetrics(wide, *font);
    WideString face = AnsiToWide(AnsiString(font->lfFaceName, strnlen(font->lfFaceName, LF_FACESIZE)));
    std::copy_n(face.data(), std::min<std::size_t>(face.size(), LF_FACESIZE - 1), wide.lfFaceName);
    return ImmSetCompositionFontW(context, &wide);
}

BOOL ImmGetOpenStatus(HIMC context) {
    return withContext(context, [](InputContext& each) { return each.open ? TRUE : FALSE; });
}

BOOL ImmSetOpenStatus(HIMC context, BOOL open) {
    return withContext(context, [&](InputContext& each) {
        each.open = open;
        return TRUE;
    });
}

WideString CompositionResultOf(HWND window) {
    return withContext(handleOf(window), [](InputContext& each) { return each.result; });
}

void DeliverComposition(const WideString& result) {
    std::shared_ptr<ThreadState> thread = InputThread();
    if (!thread || !thread->focus) return;
    HWND target = thread->focus;
    {
        ContextTable& table = contextTable();
        std::lock_guard lock(table.mutex);
        InputContext& context = table.contexts[target];
        context.window = target;
        context.result = result;
    }
    PostFrom(CharSet::Wide, target, WM_IME_STARTCOMPOSITION, 0, 0);
    PostFrom(CharSet::Wide, target, WM_IME_COMPOSITION, result.empty() ? 0 : result[0], GCS_RESULTSTR);
    PostFrom(CharSet::Wide, target, WM_IME_ENDCOMPOSITION, 0, 0);
}
