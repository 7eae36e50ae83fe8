// Window classes and windows: registration with ANSI or wide procedures,
// creation and destruction with their messages in Windows' order, the window
// and class slots (GetWindowLongPtr, GetClassLongPtr) with the ANSI/wide
// procedure rules, window text, enabling, parents and owners.
#pragma once

#include "platform/win/WinUser.h"
#include "platform/win/WindowProcedures.h"

// A class takes the charset of the call that registers it. Names compare
// without regard to case; a class is found for its own instance, and classes
// registered as system or CS_GLOBALCLASS classes for any instance.
ATOM RegisterClassA(const WNDCLASSA* windowClass);
ATOM RegisterClassW(const WNDCLASSW* windowClass);
ATOM RegisterClassExA(const WNDCLASSEXA* windowClass);
ATOM RegisterClassExW(const WNDCLASSEXW* windowClass);
// The standard control classes: found from every instance, whatever their style.
ATOM RegisterSystemClassA(const WNDCLASSEXA* windowClass);
ATOM RegisterSystemClassW(const WNDCLASSEXW* windowClass);
// Fails with ERROR_CLASS_HAS_WINDOWS while windows of the class exist.
BOOL UnregisterClassA(LPCSTR className, HINSTANCE instance);
BOOL UnregisterClassW(LPCWSTR className, HINSTANCE instance);
BOOL GetClassInfoA(HINSTANCE instance, LPCSTR className, WNDCLASSA* windowClass);
BOOL GetClassInfoW(HINSTANCE instance, LPCWSTR className, WNDCLASSW* windowClass);
BOOL GetClassInfoExA(HINSTANCE instance, LPCSTR className, WNDCLASSEXA* windowClass);
BOOL GetClassInfoExW(HINSTANCE instance, LPCWSTR className, WNDCLASSEXW* windowClass);
int GetClassNameA(HWND window, LPSTR buffer, int size);
int GetClassNameW(HWND window, LPWSTR buffer, int size);
ULONG_PTR GetClassLongPtrA(HWND window, int index);
ULONG_PTR GetClassLongPtrW(HWND window, int index);
ULONG_PTR SetClassLongPtrA(HWND window, int index, LONG_PTR value);
ULONG_PTR SetClassLongPtrW(HWND window, int index, LONG_PTR value);

// The first creation message goes to the class's procedure; WM_NCCREATE
// answering 0 or WM_CREATE answering -1 makes creation return null. `parent`
// HWND_MESSAGE makes a message-only window; a parent given to a window
// without WS_CHILD becomes its owner.
HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID parameter);
HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID parameter);
inline HWND CreateWindowA(LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                          int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID parameter) {
    return CreateWindowExA(0, className, windowName, style, x, y, width, height, parent, menu, instance,
                           parameter);
}
inline HWND CreateWindowW(LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                          int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID parameter) {
    return CreateWindowExW(0, className, windowName, style, x, y, width, height, parent, menu, instance,
                           parameter);
}
// Owned windows first; then WM_DESTROY to the window and, in turn, to each of
// its children, each child's WM_NCDESTROY after its own children's, and the
// window's WM_NCDESTROY last. Properties are removed and the handle freed after it.
BOOL DestroyWindow(HWND window);

BOOL IsWindow(HWND window);
// Whether the window procedure was installed through a wide call.
BOOL IsWindowUnicode(HWND window);
LONG_PTR GetWindowLongPtrA(HWND window, int index);
LONG_PTR GetWindowLongPtrW(HWND window, int index);
LONG_PTR SetWindowLongPtrA(HWND window, int index, LONG_PTR value);
LONG_PTR SetWindowLongPtrW(HWND window, int index, LONG_PTR value);
LONG GetWindowLongA(HWND window, int index);
LONG GetWindowLongW(HWND window, int index);
LONG SetWindowLongA(HWND window, int index, LONG value);
LONG SetWindowLongW(HWND window, int index, LONG value);

int GetWindowTextA(HWND window, LPSTR buffer, int size);
int GetWindowTextW(HWND window, LPWSTR buffer, int size);
int GetWindowTextLengthA(HWND window);
int GetWindowTextLengthW(HWND window);
BOOL SetWindowTextA(HWND window, LPCSTR text);
BOOL SetWindowTextW(HWND window, LPCWSTR text);

// Returns whether the window was disabled before.
BOOL EnableWindow(HWND window, BOOL enable);
BOOL IsWindowEnabled(HWND window);
BOOL IsWindowVisible(HWND window);
BOOL IsChild(HWND parent, HWND window);
// The parent of a child window, the owner of any other.
HWND GetParent(HWND window);
HWND SetParent(HWND window, HWND newParent);
HWND GetDesktopWindow();
DWORD GetWindowThreadProcessId(HWND window, LPDWORD processId);
// The program's module for a null name; null with ERROR_MOD_NOT_FOUND otherwise.
HMODULE GetModuleHandleA(LPCSTR moduleName);
HMODULE GetModuleHandleW(LPCWSTR moduleName);

constexpr DWORD ERROR_MOD_NOT_FOUND = 126;
constexpr DWORD ERROR_TLW_WITH_WSCHILD = 1406;
