// The hook chains kept per thread. A chain is walked by handle, so a hook may
// unhook itself (or others) while the chain runs.
#include "platform/win/Hooks.h"

#include "platform/win/MessageConversion.h"
#include "platform/win/Messages.h"
#include "platform/win/WindowObjects.h"

#include <algorithm>
#include <atomic>

namespace {

std::atomic<UINT_PTR> nextHookHandle{0x20001};

bool isSupported(int hookType) {
    return hookType == WH_GETMESSAGE || hookType == WH_CALLWNDPROC || hookType == WH_KEYBOARD ||
           hookType == WH_MOUSE;
}

HHOOK setHook(CharSet charSet, int hookType, HOOKPROC procedure, DWORD threadId) {
    if (!isSupported(hookType)) {
        SetLastError(ERROR_INVALID_HOOK_FILTER);
        return nullptr;
    }
    if (!procedure || (threadId != 0 && threadId != CurrentThreadIdentifier())) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    Hook hook;
    hook.handle = reinterpret_cast<HHOOK>(nextHookHandle.fetch_add(2));
    hook.type = hookType;
    hook.procedure = procedure;
    hook.charSet = charSet;
    auto& hooks = CurrentThread().hooks;
    hooks.insert(hooks.begin(), hook);
    return hook.handle;
}

// The first hook of the type after `after` (from the start when null).
const Hook* nextHook(int hookType, HHOOK after) {
    const auto& hooks = CurrentThread().hooks;
    auto start = hooks.begin();
    if (after) {
        start =
            std::find_if(hooks.begin(), hooks.end(), [&](const Hook& hook) { return hook.handle == after; });
        if (start == hooks.end()) return nullptr;
        ++start;
    }
    auto found = std::find_if(start, hooks.end(), [&](const Hook& hook) { return hook.type == hookType; });
    return found == hooks.end() ? nullptr : &*found;
}

LRESULT callGetMessageHook(const Hook& hook, CharSet messageCharSet, int code, WPARAM removing, MSG& msg) {
    MSG converted = msg;
    ConvertQueuedMessage(converted, messageCharSet, hook.charSet);
    LRESULT result = hook.procedure(code, removing, reinterpret_cast<LPARAM>(&converted));
    ConvertQueuedMessage(converted, hook.charSet, messageCharSet);
    msg = converted;
    return result;
}

LRESULT callWindowProcHook(const Hook& hook, CharSet caller, int code, WPARAM sentByThread,
                           const CWPSTRUCT& details) {
    HOOKPROC procedure = hook.procedure;
    return CallConverted(caller, hook.charSet, details.hwnd, details.message, details.wParam, details.lParam,
                         [&](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
                             CWPSTRUCT seen{lParam, wParam, message, window};
                             return procedure(code, sentByThread, reinterpret_cast<LPARAM>(&seen));
                         });
}

LRESULT callHook(const Hook& hook, CharSet charSetOfArguments, int code, WPARAM wParam, LPARAM lParam) {
    switch (hook.type) {
    case WH_GETMESSAGE:
        return callGetMessageHook(hook, charSetOfArguments, code, wParam, *reinterpret_cast<MSG*>(lParam));
    case WH_CALLWNDPROC:
        return callWindowProcHook(hook, charSetOfArguments, code, wParam,
                                  *reinterpret_cast<const CWPSTRUCT*>(lParam));
    default:
        return hook.procedure(code, wParam, lParam);
    }
}

} // namespace

HHOOK SetWindowsHookExA(int hookType, HOOKPROC procedure, HINSTANCE, DWORD threadId) {
    return setHook(CharSet::Ansi, hookType, procedure, threadId);
}

HHOOK SetWindowsHookExW(int hookType, HOOKPROC procedure, HINSTANCE, DWORD threadId) {
    return setHook(CharSet::Wide, hookType, procedure, threadId);
}

BOOL UnhookWindowsHookEx(HHOOK hook) {
    auto& hooks = CurrentThread().hooks;
    auto found =
        std::find_if(hooks.begin(), hooks.end(), [&](const Hook& each) { return each.handle == hook; });
    if (found == hooks.end()) {
        SetLastError(ERROR_INVALID_HOOK_HANDLE);
        return FALSE;
    }
    hooks.erase(found);
    return TRUE;
}

LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam) {
    const auto& hooks = CurrentThread().hooks;
    auto current =
        std::find_if(hooks.begin(), hooks.end(), [&](const Hook& each) { return each.handle == hook; });
    if (current == hooks.end()) return 0;
    const Hook* next = nextHook(current->type, hook);
    if (!next) return 0;
    Hook copy = *next;
    return callHook(copy, current->charSet, code, wParam, lParam);
}

void RunGetMessageHooks(MSG& msg, CharSet& charSet, bool removing) {
    const Hook* first = nextHook(WH_GETMESSAGE, nullptr);
    if (!first) return;
    Hook copy = *first;
    ConvertQueuedMessage(msg, charSet, copy.charSet);
    charSet = copy.charSet;
    copy.procedure(HC_ACTION, removing ? PM_REMOVE : PM_NOREMOVE, reinterpret_cast<LPARAM>(&msg));
}

void RunCallWndProcHooks(CharSet caller, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const Hook* first = nextHook(WH_CALLWNDPROC, nullptr);
    if (!first) return;
    Hook copy = *first;
    CWPSTRUCT details{lParam, wParam, message, window};
    callWindowProcHook(copy, caller, HC_ACTION, TRUE, details);
}

bool RunKeyboardHooks(bool removing, WPARAM virtualKey, LPARAM keyData) {
    const Hook* first = nextHook(WH_KEYBOARD, nullptr);
    if (!first) return false;
    Hook copy = *first;
    return copy.procedure(removing ? HC_ACTION : HC_NOREMOVE, virtualKey, keyData) != 0;
}

bool RunMouseHooks(bool removing, UINT message, const MOUSEHOOKSTRUCT& details) {
    const Hook* first = nextHook(WH_MOUSE, nullptr);
    if (!first) return false;
    Hook copy = *first;
    MOUSEHOOKSTRUCT seen = details;
    return copy.procedure(removing ? HC_ACTION : HC_NOREMOVE, message, reinterpret_cast<LPARAM>(&seen)) != 0;
}
