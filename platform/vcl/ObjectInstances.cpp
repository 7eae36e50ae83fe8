#include "platform/vcl/ObjectInstances.h"

#include "platform/core/SysUtils.h"
#include "platform/win/DefWindowProc.h"
#include "platform/win/WindowProcedures.h"
#include "platform/win/Windows.h"

namespace {

constexpr const char* UtilWindowClassName = "TPUtilWindow";

WNDPROC defaultProcedure() {
    return WindowProcFromFunction(&DefWindowProcA);
}

// The utility class calls DefWindowProc until an object instance takes over;
// a class of that name registered with another procedure is replaced.
void registerUtilWindowClass() {
    WNDCLASSA existing;
    if (GetClassInfoA(HInstance(), UtilWindowClassName, &existing)) {
        if (existing.lpfnWndProc == defaultProcedure()) return;
        UnregisterClassA(UtilWindowClassName, HInstance());
    }
    WNDCLASSA utilClass;
    utilClass.lpfnWndProc = defaultProcedure();
    utilClass.hInstance = HInstance();
    utilClass.lpszClassName = UtilWindowClassName;
    if (!RegisterClassA(&utilClass)) RaiseLastOSError();
}

} // namespace

HINSTANCE HInstance() {
    return GetModuleHandleA(nullptr);
}

WNDPROC MakeObjectInstance(TWndMethod Method) {
    return CreateWindowProcObject([Method](HWND, UINT message, WPARAM wParam, LPARAM lParam) {
        TMessage record{message, wParam, lParam, 0};
        Method(record);
        return record.Result;
    });
}

void FreeObjectInstance(WNDPROC ObjectInstance) {
    if (ObjectInstance) FreeWindowProcObject(ObjectInstance);
}

HWND AllocateHWnd(TWndMethod Method) {
    registerUtilWindowClass();
    HWND window = CreateWindowExA(WS_EX_TOOLWINDOW, UtilWindowClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr,
                                  nullptr, HInstance(), nullptr);
    if (!window) RaiseLastOSError();
    if (Method)
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MakeObjectInstance(Method)));
    return window;
}

void DeallocateHWnd(HWND Wnd) {
    auto instance = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(Wnd, GWLP_WNDPROC));
    DestroyWindow(Wnd);
    if (instance != defaultProcedure()) FreeObjectInstance(instance);
}
