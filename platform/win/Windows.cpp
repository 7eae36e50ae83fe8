// Classes, creation, destruction, the window slots and window text.
#include "platform/win/Windows.h"

#include "platform/core/CodePages.h"
#include "platform/win/BackendInterface.h"
#include "platform/win/Caret.h"
#include "platform/win/Focus.h"
#include "platform/win/Messages.h"
#include "platform/win/Mouse.h"
#include "platform/win/Painting.h"
#include "platform/win/Props.h"
#include "platform/win/SystemInfo.h"
#include "platform/win/Timers.h"
#include "platform/win/WindowObjects.h"
#include "platform/win/WindowPos.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace {

// The program's module handle, as the loader would have placed the executable.
const HINSTANCE programInstance = reinterpret_cast<HINSTANCE>(0x00400000);
constexpr ATOM firstClassAtom = 0xC000;
// Top-level windows created with CW_USEDEFAULT cascade from here.
constexpr int defaultPositionStep = 26;
constexpr int defaultPositionCount = 8;

struct ClassTable {
    std::vector<std::shared_ptr<WindowClass>> classes;
    ATOM nextAtom = firstClassAtom;
    int defaultPositions = 0;
};

ClassTable& classTable() {
    static ClassTable table;
    return table;
}

HINSTANCE effectiveInstance(HINSTANCE instance) {
    return instance ? instance : programInstance;
}

bool sameName(const WideString& a, const WideString& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (WideCharUpper(a[i]) != WideCharUpper(b[i])) return false;
    return true;
}

// A class name as given: an atom, or a name in either charset.
struct ClassName {
    ATOM atom = 0;
    WideString name;

    static ClassName of(LPCSTR name) {
        if (IS_INTRESOURCE(name)) return {static_cast<ATOM>(reinterpret_cast<UINT_PTR>(name)), {}};
        return {0, AnsiToWide(name)};
    }
    static ClassName of(LPCWSTR name) {
        if (IS_INTRESOURCE(name)) return {static_cast<ATOM>(reinterpret_cast<UINT_PTR>(name)), {}};
        return {0, WideString(name)};
    }
    bool matches(const WindowClass& windowClass) const {
        return atom ? windowClass.atom == atom : sameName(windowClass.name, name);
    }
};

std::shared_ptr<WindowClass> findClass(const ClassName& name, HINSTANCE instance) {
    HINSTANCE wanted = effectiveInstance(instance);
    std::shared_ptr<WindowClass> global;
    for (const auto& windowClass : classTable().classes) {
        if (!name.matches(*windowClass)) continue;
        if (windowClass->instance == wanted) return windowClass;
        if (windowClass->global && !global) global = windowClass;
    }
    return global;
}

template <typename Char>
ATOM registerClass(const WNDCLASSEX_T<Char>& description, CharSet charSet, bool system) {
    if (!description.lpszClassName || !description.lpfnWndProc || description.cbClsExtra < 0 ||
        description.cbWndExtra < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    ClassName name = ClassName::of(description.lpszClassName);
    HINSTANCE instance = effectiveInstance(description.hInstance);
    for (const auto& existing : classTable().classes)
        if (name.matches(*existing) && (existing->instance == instance || (system && existing->global))) {
            SetLastError(ERROR_CLASS_ALREADY_EXISTS);
            return 0;
        }
    auto windowClass = std::make_shared<WindowClass>();
    windowClass->atom = name.atom ? name.atom : classTable().nextAtom++;
    windowClass->name = name.name;
    windowClass->instance = instance;
    windowClass->global = system || (description.style & CS_GLOBALCLASS);
    windowClass->style = description.style;
    windowClass->procedure = {description.lpfnWndProc, charSet};
    windowClass->classExtraBytes = description.cbClsExtra;
    windowClass->windowExtraBytes = description.cbWndExtra;
    windowClass->icon = description.hIcon;
    windowClass->smallIcon = description.hIconSm;
    windowClass->cursor = description.hCursor;
    windowClass->background = description.hbrBackground;
    if (IS_INTRESOURCE(description.lpszMenuName)) {
        windowClass->menuId = static_cast<WORD>(reinterpret_cast<UINT_PTR>(description.lpszMenuName));
    } else if constexpr (sizeof(Char) == 1) {
        windowClass->menuNameAnsi = description.lpszMenuName;
        windowClass->menuNameWide = AnsiToWide(windowClass->menuNameAnsi);
    } else {
        windowClass->menuNameWide = description.lpszMenuName;
        windowClass->menuNameAnsi = WideToAnsi(windowClass->menuNameWide);
    }
    windowClass->extra.assign(static_cast<std::size_t>(description.cbClsExtra), 0);
    classTable().classes.push_back(windowClass);
    return windowClass->atom;
}

template <typename Char> WNDCLASSEX_T<Char> extendedFrom(const WNDCLASS_T<Char>& plain) {
    WNDCLASSEX_T<Char> extended;
    extended.style = plain.style;
    extended.lpfnWndProc = plain.lpfnWndProc;
    extended.cbClsExtra = plain.cbClsExtra;
    extended.cbWndExtra = plain.cbWndExtra;
    extended.hInstance = plain.hInstance;
    extended.hIcon = plain.hIcon;
    extended.hCursor = plain.hCursor;
    extended.hbrBackground = plain.hbrBackground;
    extended.lpszMenuName = plain.lpszMenuName;
    extended.lpszClassName = plain.lpszClassName;
    return extended;
}

template <typename Char> const Char* menuNameFor(const WindowClass& windowClass) {
    if (windowClass.menuId || (windowClass.menuNameWide.empty() && windowClass.menuNameAnsi.empty()))
        return reinterpret_cast<const Char*>(static_cast<UINT_PTR>(windowClass.menuId));
    if constexpr (sizeof(Char) == 1)
        return windowClass.menuNameAnsi.c_str();
    else
        return windowClass.menuNameWide.c_str();
}

template <typename Char>
BOOL getClassInfo(HINSTANCE instance, const Char* className, WNDCLASSEX_T<Char>& description,
                  CharSet reader) {
    std::shared_ptr<WindowClass> windowClass = findClass(ClassName::of(className), instance);
    if (!windowClass) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    description.style = windowClass->style;
    description.lpfnWndProc = ProcedureAsSeenBy(windowClass->procedure, reader);
    description.cbClsExtra = windowClass->classExtraBytes;
    description.cbWndExtra = windowClass->windowExtraBytes;
    description.hInstance = windowClass->instance;
    description.hIcon = windowClass->icon;
    description.hIconSm = windowClass->smallIcon;
    description.hCursor = windowClass->cursor;
    description.hbrBackground = windowClass->background;
    description.lpszMenuName = menuNameFor<Char>(*windowClass);
    description.lpszClassName = className;
    return TRUE;
}

template <typename Char>
BOOL getPlainClassInfo(HINSTANCE instance, const Char* className, WNDCLASS_T<Char>* plain, CharSet reader) {
    if (!plain) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    WNDCLASSEX_T<Char> extended;
    if (!getClassInfo(instance, className, extended, reader)) return FALSE;
    plain->style = extended.style;
    plain->lpfnWndProc = extended.lpfnWndProc;
    plain->cbClsExtra = extended.cbClsExtra;
    plain->cbWndExtra = extended.cbWndExtra;
    plain->hInstance = extended.hInstance;
    plain->hIcon = extended.hIcon;
    plain->hCursor = extended.hCursor;
    plain->hbrBackground = extended.hbrBackground;
    plain->lpszMenuName = extended.lpszMenuName;
    plain->lpszClassName = extended.lpszClassName;
    return TRUE;
}

BOOL unregisterClass(const ClassName& name, HINSTANCE instance) {
    auto& classes = classTable().classes;
    HINSTANCE wanted = effectiveInstance(instance);
    auto found = std::find_if(classes.begin(), classes.end(), [&](const auto& windowClass) {
        return name.matches(*windowClass) && windowClass->instance == wanted;
    });
    if (found == classes.end()) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    if ((*found)->windowCount > 0) {
        SetLastError(ERROR_CLASS_HAS_WINDOWS);
        return FALSE;
    }
    classes.erase(found);
    return TRUE;
}

// ---- Extra bytes ----

bool extraFits(const std::vector<Byte>& extra, int index, std::size_t size) {
    return index >= 0 && static_cast<std::size_t>(index) + size <= extra.size();
}

template <typename Value> Value readExtra(const std::vector<Byte>& extra, int index) {
    Value value{};
    std::memcpy(&value, extra.data() + index, sizeof value);
    return value;
}

template <typename Value> Value exchangeExtra(std::vector<Byte>& extra, int index, Value value) {
    Value previous = readExtra<Value>(extra, index);
    std::memcpy(extra.data() + index, &value, sizeof value);
    return previous;
}

// ---- Class slots ----

ULONG_PTR getClassLong(HWND handle, int index, CharSet reader) {
    Window* window = WindowOrError(handle);
    if (!window || !window->windowClass) return 0;
    const WindowClass& windowClass = *window->windowClass;
    switch (index) {
    case GCLP_WNDPROC:
        return reinterpret_cast<ULONG_PTR>(ProcedureAsSeenBy(windowClass.procedure, reader));
    case GCLP_HBRBACKGROUND:
        return reinterpret_cast<ULONG_PTR>(windowClass.background);
    case GCLP_HCURSOR:
        return reinterpret_cast<ULONG_PTR>(windowClass.cursor);
    case GCLP_HICON:
        return reinterpret_cast<ULONG_PTR>(windowClass.icon);
    case GCLP_HICONSM:
        return reinterpret_cast<ULONG_PTR>(windowClass.smallIcon);
    case GCLP_HMODULE:
        return reinterpret_cast<ULONG_PTR>(windowClass.instance);
    case GCL_STYLE:
        return windowClass.style;
    case GCL_CBWNDEXTRA:
        return static_cast<ULONG_PTR>(windowClass.windowExtraBytes);
    case GCL_CBCLSEXTRA:
        return static_cast<ULONG_PTR>(windowClass.classExtraBytes);
    case GCW_ATOM:
        return windowClass.atom;
    case GCLP_MENUNAME:
        return reader == CharSet::Ansi ? reinterpret_cast<ULONG_PTR>(menuNameFor<char>(windowClass))
                                       : reinterpret_cast<ULONG_PTR>(menuNameFor<WCHAR>(windowClass));
    default:
        if (extraFits(windowClass.extra, index, sizeof(ULONG_PTR)))
            return readExtra<ULONG_PTR>(windowClass.extra, index);
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
}

template <typename Handle> ULONG_PTR exchangeHandle(Handle& slot, LONG_PTR value) {
    auto previous = reinterpret_cast<ULONG_PTR>(slot);
    slot = reinterpret_cast<Handle>(value);
    return previous;
}

ULONG_PTR setClassLong(HWND handle, int index, LONG_PTR value, CharSet writer) {
    Window* window = WindowOrError(handle);
    if (!window || !window->windowClass) return 0;
    WindowClass& windowClass = *window->windowClass;
    switch (index) {
    case GCLP_WNDPROC: {
        ULONG_PTR previous = reinterpret_cast<ULONG_PTR>(ProcedureAsSeenBy(windowClass.procedure, writer));
        windowClass.procedure = ProcedureSetBy(reinterpret_cast<WNDPROC>(value), writer);
        return previous;
    }
    case GCLP_HBRBACKGROUND:
        return exchangeHandle(windowClass.background, value);
    case GCLP_HCURSOR:
        return exchangeHandle(windowClass.cursor, value);
    case GCLP_HICON:
        return exchangeHandle(windowClass.icon, value);
    case GCLP_HICONSM:
        return exchangeHandle(windowClass.smallIcon, value);
    case GCL_STYLE:
        return std::exchange(windowClass.style, static_cast<UINT>(value));
    default:
        if (extraFits(windowClass.extra, index, sizeof(ULONG_PTR)))
            return exchangeExtra<ULONG_PTR>(windowClass.extra, index, static_cast<ULONG_PTR>(value));
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
}

// ---- Creation ----

struct CreationRequest {
    DWORD exStyle = 0;
    DWORD style = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    HWND parent = nullptr;
    HMENU menu = nullptr;
    HINSTANCE instance = nullptr;
    // The caller's CREATESTRUCT, in its own charset.
    LPARAM createStruct = 0;
    CharSet charSet = CharSet::Wide;
};

bool isOverlapped(DWORD style) {
    return !(style & (WS_POPUP | WS_CHILD));
}

// Overlapped windows always have a caption; top-level windows always clip their siblings.
DWORD normalisedStyle(DWORD style) {
    if (isOverlapped(style)) style |= WS_CAPTION;
    if (!(style & WS_CHILD)) style |= WS_CLIPSIBLINGS;
    return style;
}

DWORD normalisedExStyle(DWORD exStyle, DWORD style) {
    if ((exStyle & WS_EX_DLGMODALFRAME) || ((style & WS_DLGFRAME) && !(style & WS_CHILD)) ||
        (style & WS_THICKFRAME))
        exStyle |= WS_EX_WINDOWEDGE;
    else
        exStyle &= ~WS_EX_WINDOWEDGE;
    return exStyle;
}

void applyDefaultGeometry(CreationRequest& request, bool topLevel) {
    SIZE screen = CurrentBackend().ScreenSize();
    bool overlapped = topLevel && isOverlapped(request.style);
    if (request.x == CW_USEDEFAULT) {
        if (overlapped) {
            int step = defaultPositionStep * (classTable().defaultPositions++ % defaultPositionCount);
            request.x = step;
            request.y = step;
        } else {
            request.x = 0;
            request.y = 0;
        }
    }
    if (request.width == CW_USEDEFAULT) {
        request.width = overlapped ? screen.cx * 3 / 4 : 0;
        request.height = overlapped ? screen.cy * 3 / 4 : 0;
    }
}

Window* placeInTree(Window& window, const CreationRequest& request) {
    Window* parent = FindWindowObject(request.parent);
    std::lock_guard lock(WindowTableMutex());
    if (request.style & WS_CHILD) {
        window.parent = parent;
        parent->children.push_back(&window);
        return parent;
    }
    Window& root = request.parent == HWND_MESSAGE ? MessageRootObject() : DesktopWindowObject();
    window.parent = &root;
    window.owner = request.parent == HWND_MESSAGE ? nullptr : TopLevelOf(parent);
    auto position = root.children.begin();
    if (!(window.exStyle & WS_EX_TOPMOST))
        position = std::find_if(root.children.begin(), root.children.end(),
                                [](const Window* sibling) { return !(sibling->exStyle & WS_EX_TOPMOST); });
    root.children.insert(position, &window);
    return nullptr;
}

void notifyParents(Window& window, UINT event) {
    if (!(window.style & WS_CHILD)) return;
    for (Window* child = &window; child->style & WS_CHILD; child = child->parent) {
        if (child->exStyle & WS_EX_NOPARENTNOTIFY || !child->parent || IsRootWindow(*child->parent)) break;
        SendMessageW(child->parent->handle, WM_PARENTNOTIFY,
                     MAKEWPARAM(static_cast<WORD>(event), static_cast<WORD>(window.id)),
                     reinterpret_cast<LPARAM>(window.handle));
    }
}

// The tracking sizes the window answers, which its size is kept to; none for
// a window the user cannot resize.
std::optional<MINMAXINFO> applyMinMaxInfo(Window& window, CreationRequest& request) {
    if (!(request.style & WS_THICKFRAME) && !isOverlapped(request.style)) return std::nullopt;
    MINMAXINFO info;
    SIZE screen = CurrentBackend().ScreenSize();
    info.ptMaxSize = {screen.cx, screen.cy};
    info.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    info.ptMaxTrackSize = {screen.cx + 2 * GetSystemMetrics(SM_CXFRAME),
                           screen.cy + 2 * GetSystemMetrics(SM_CYFRAME)};
    SendMessageFrom(request.charSet, window.handle, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    request.width = std::clamp<int>(request.width, info.ptMinTrackSize.x,
                                    std::max(info.ptMinTrackSize.x, info.ptMaxTrackSize.x));
    request.height = std::clamp<int>(request.height, info.ptMinTrackSize.y,
                                     std::max(info.ptMinTrackSize.y, info.ptMaxTrackSize.y));
    return info;
}

void calculateInitialClient(Window& window) {
    TRect rect = window.rect;
    SendMessageW(window.handle, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&rect));
    window.clientRect = OffsetRectBy(rect, -window.rect.Left, -window.rect.Top);
    window.clientRect.Right = std::max(window.clientRect.Right, window.clientRect.Left);
    window.clientRect.Bottom = std::max(window.clientRect.Bottom, window.clientRect.Top);
}

void sendInitialSizeAndPosition(Window& window) {
    SendMessageW(window.handle, WM_SIZE, SIZE_RESTORED,
                 MAKELPARAM(static_cast<WORD>(window.clientRect.Width()),
                            static_cast<WORD>(window.clientRect.Height())));
    TPoint client{window.rect.Left + window.clientRect.Left, window.rect.Top + window.clientRect.Top};
    SendMessageW(window.handle, WM_MOVE, 0,
                 MAKELPARAM(static_cast<WORD>(client.x), static_cast<WORD>(client.y)));
}

void showAsRequested(Window& window, DWORD requestedStyle) {
    if (requestedStyle & WS_MAXIMIZE)
        ShowWindow(window.handle, SW_SHOWMAXIMIZED);
    else if (requestedStyle & WS_MINIMIZE)
        ShowWindow(window.handle, SW_SHOWMINIMIZED);
    else if (requestedStyle & WS_VISIBLE)
        ShowWindow(window.handle, (requestedStyle & WS_CHILD) ? SW_SHOWNA : SW_SHOW);
}

void freeWindow(Window& window);

// The procedures see the geometry and styles as they were settled.
template <typename Char>
void updateCreateStruct(CREATESTRUCT_T<Char>& createStruct, const CreationRequest& request,
                        const Window& window) {
    createStruct.x = request.x;
    createStruct.y = request.y;
    createStruct.cx = request.width;
    createStruct.cy = request.height;
    createStruct.style = static_cast<LONG>(window.style);
    createStruct.dwExStyle = window.exStyle;
}

HWND createWindow(const ClassName& className, CreationRequest request) {
    std::shared_ptr<WindowClass> windowClass = findClass(className, request.instance);
    if (!windowClass) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    bool child = request.style & WS_CHILD;
    if (child && (!request.parent || request.parent == HWND_MESSAGE || !FindWindowObject(request.parent))) {
        SetLastError(request.parent ? ERROR_INVALID_WINDOW_HANDLE : ERROR_TLW_WITH_WSCHILD);
        return nullptr;
    }
    if (!child && request.parent && request.parent != HWND_MESSAGE && !WindowOrError(request.parent))
        return nullptr;
    applyDefaultGeometry(request, !child);
    RegisterWindowDrawingAreas();
    DWORD requestedStyle = request.style;

    auto owned = std::make_unique<Window>();
    Window& window = *owned;
    window.windowClass = windowClass;
    window.thread = CurrentThreadShared();
    window.procedure = windowClass->procedure;
    window.style = normalisedStyle(request.style) & ~(WS_VISIBLE | WS_MAXIMIZE | WS_MINIMIZE);
    window.exStyle = normalisedExStyle(request.exStyle, window.style);
    window.instance = request.instance;
    window.extra.assign(static_cast<std::size_t>(windowClass->windowExtraBytes), 0);
    window.id = child ? reinterpret_cast<LONG_PTR>(request.menu) : 0;
    HWND handle = InsertWindowObject(std::move(owned));
    ++windowClass->windowCount;
    placeInTree(window, request);

    const std::optional<MINMAXINFO> limits = applyMinMaxInfo(window, request);
    window.rect = {request.x, request.y, request.x + request.width, request.y + request.height};
    window.restoredRect = window.rect;
    if (IsTopLevelWindow(window) && window.parent == &DesktopWindowObject()) {
        CurrentBackend().WindowCreated(handle, window.rect);
        // The desktop lets the user resize the window itself, within these sizes.
        if (limits)
            CurrentBackend().WindowSizeLimits(handle, {limits->ptMinTrackSize.x, limits->ptMinTrackSize.y},
                                              {std::max(limits->ptMinTrackSize.x, limits->ptMaxTrackSize.x),
                                               std::max(limits->ptMinTrackSize.y, limits->ptMaxTrackSize.y)});
    }

    if (request.charSet == CharSet::Ansi)
        updateCreateStruct(*reinterpret_cast<CREATESTRUCTA*>(request.createStruct), request, window);
    else
        updateCreateStruct(*reinterpret_cast<CREATESTRUCTW*>(request.createStruct), request, window);
    if (!SendMessageFrom(request.charSet, handle, WM_NCCREATE, 0, request.createStruct)) {
        if (FindWindowObject(handle)) {
            SendMessageW(handle, WM_NCDESTROY, 0, 0);
            freeWindow(window);
        }
        return nullptr;
    }
    calculateInitialClient(window);
    if (SendMessageFrom(request.charSet, handle, WM_CREATE, 0, request.createStruct) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    if (!FindWindowObject(handle)) return nullptr;
    sendInitialSizeAndPosition(window);
    notifyParents(window, WM_CREATE);
    if (FindWindowObject(handle)) showAsRequested(window, requestedStyle);
    return FindWindowObject(handle) ? handle : nullptr;
}

// ---- Destruction ----

void removeFromParent(Window& window) {
    std::lock_guard lock(WindowTableMutex());
    if (!window.parent) return;
    auto& siblings = window.parent->children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), &window), siblings.end());
    window.parent = nullptr;
}

void purgePostedMessages(ThreadState& thread, HWND handle) {
    std::lock_guard lock(thread.mutex);
    std::erase_if(thread.posted, [&](const QueuedMessage& item) { return item.msg.hwnd == handle; });
}

void freeWindow(Window& window) {
    HWND handle = window.handle;
    ThreadState& thread = *window.thread;
    KillTimersOfWindow(thread, handle);
    DestroyCaretOf(thread, handle);
    RemoveAllProperties(window);
    purgePostedMessages(thread, handle);
    bool showsOnDesktop = IsTopLevelWindow(window) && window.parent == &DesktopWindowObject();
    for (Window* other : std::vector<Window*>(DesktopWindowObject().children))
        if (other->owner == &window) other->owner = nullptr;
    removeFromParent(window);
    if (showsOnDesktop) CurrentBackend().WindowDestroyed(handle);
    if (window.windowClass) --window.windowClass->windowCount;
    ForgetWindowInput(thread, handle);
    EraseWindowObject(handle);
}

void destroyTree(Window& window) {
    HWND handle = window.handle;
    SendMessageW(handle, WM_DESTROY, 0, 0);
    if (!FindWindowObject(handle)) return;
    for (Window* child : std::vector<Window*>(window.children)) {
        if (!FindWindowObject(child->handle) || child->destroying) continue;
        child->destroying = true;
        destroyTree(*child);
    }
    SendMessageW(handle, WM_NCDESTROY, 0, 0);
    if (FindWindowObject(handle)) freeWindow(window);
}

void destroyOwnedWindows(Window& owner) {
    for (Window* other : std::vector<Window*>(DesktopWindowObject().children))
        if (FindWindowObject(other->handle) && other->owner == &owner && !other->destroying)
            DestroyWindow(other->handle);
}

// ---- Window slots ----

LONG_PTR getWindowLong(HWND handle, int index, CharSet reader) {
    Window* window = WindowOrError(handle);
    if (!window) return 0;
    switch (index) {
    case GWLP_WNDPROC:
        return reinterpret_cast<LONG_PTR>(ProcedureAsSeenBy(window->procedure, reader));
    case GWLP_HINSTANCE:
        return reinterpret_cast<LONG_PTR>(window->instance);
    case GWLP_HWNDPARENT:
        return reinterpret_cast<LONG_PTR>(GetParent(handle));
    case GWLP_ID:
        return window->id;
    case GWL_STYLE:
        return static_cast<LONG_PTR>(window->style);
    case GWL_EXSTYLE:
        return static_cast<LONG_PTR>(window->exStyle);
    case GWLP_USERDATA:
        return window->userData;
    default:
        if (extraFits(window->extra, index, sizeof(LONG_PTR)))
            return readExtra<LONG_PTR>(window->extra, index);
        if (extraFits(window->extra, index, sizeof(LONG))) return readExtra<LONG>(window->extra, index);
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
}

LONG_PTR changeStyle(Window& window, int index, DWORD newStyle, CharSet writer) {
    DWORD& slot = index == GWL_STYLE ? window.style : window.exStyle;
    STYLESTRUCT change{slot, newStyle};
    SendMessageFrom(writer, window.handle, WM_STYLECHANGING, static_cast<WPARAM>(index),
                    reinterpret_cast<LPARAM>(&change));
    if (!FindWindowObject(window.handle)) return 0;
    DWORD previous = slot;
    slot = change.styleNew;
    change.styleOld = previous;
    SendMessageFrom(writer, window.handle, WM_STYLECHANGED, static_cast<WPARAM>(index),
                    reinterpret_cast<LPARAM>(&change));
    return static_cast<LONG_PTR>(previous);
}

LONG_PTR changeParentSlot(Window& window, LONG_PTR value) {
    HWND previous = GetParent(window.handle);
    HWND newParent = reinterpret_cast<HWND>(value);
    if (window.style & WS_CHILD)
        SetParent(window.handle, newParent);
    else
        window.owner = TopLevelOf(FindWindowObject(newParent));
    return reinterpret_cast<LONG_PTR>(previous);
}

LONG_PTR setWindowLong(HWND handle, int index, LONG_PTR value, CharSet writer) {
    Window* window = WindowOrError(handle);
    if (!window) return 0;
    switch (index) {
    case GWLP_WNDPROC: {
        LONG_PTR previous = reinterpret_cast<LONG_PTR>(ProcedureAsSeenBy(window->procedure, writer));
        window->procedure = ProcedureSetBy(reinterpret_cast<WNDPROC>(value), writer);
        return previous;
    }
    case GWLP_HINSTANCE:
        return exchangeHandle(window->instance, value);
    case GWLP_HWNDPARENT:
        return changeParentSlot(*window, value);
    case GWLP_ID:
        return std::exchange(window->id, value);
    case GWL_STYLE:
    case GWL_EXSTYLE:
        return changeStyle(*window, index, static_cast<DWORD>(value), writer);
    case GWLP_USERDATA:
        return std::exchange(window->userData, value);
    default:
        if (extraFits(window->extra, index, sizeof(LONG_PTR)))
            return exchangeExtra<LONG_PTR>(window->extra, index, value);
        if (extraFits(window->extra, index, sizeof(LONG)))
            return exchangeExtra<LONG>(window->extra, index, static_cast<LONG>(value));
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
}

// ---- Text ----

template <typename Char> int getWindowText(HWND handle, Char* buffer, int size, CharSet reader) {
    Window* window = WindowOrError(handle);
    if (!window || !buffer || size <= 0) return 0;
    if (window->thread.get() == &CurrentThread())
        return static_cast<int>(SendMessageFrom(reader, handle, WM_GETTEXT, static_cast<WPARAM>(size),
                                                reinterpret_cast<LPARAM>(buffer)));
    // Another thread's window: its text as stored, without asking its procedure.
    std::basic_string<Char> text;
    if constexpr (sizeof(Char) == 1)
        text = WideToAnsi(window->text);
    else
        text = window->text;
    std::size_t copied = std::min(text.size(), static_cast<std::size_t>(size - 1));
    std::copy_n(text.data(), copied, buffer);
    buffer[copied] = 0;
    return static_cast<int>(copied);
}

} // namespace

// ---- Classes ----

ATOM RegisterClassA(const WNDCLASSA* windowClass) {
    return windowClass ? registerClass(extendedFrom(*windowClass), CharSet::Ansi, false) : 0;
}
ATOM RegisterClassW(const WNDCLASSW* windowClass) {
    return windowClass ? registerClass(extendedFrom(*windowClass), CharSet::Wide, false) : 0;
}
ATOM RegisterClassExA(const WNDCLASSEXA* windowClass) {
    return windowClass ? registerClass(*windowClass, CharSet::Ansi, false) : 0;
}
ATOM RegisterClassExW(const WNDCLASSEXW* windowClass) {
    return windowClass ? registerClass(*windowClass, CharSet::Wide, false) : 0;
}
ATOM RegisterSystemClassA(const WNDCLASSEXA* windowClass) {
    return windowClass ? registerClass(*windowClass, CharSet::Ansi, true) : 0;
}
ATOM RegisterSystemClassW(const WNDCLASSEXW* windowClass) {
    return windowClass ? registerClass(*windowClass, CharSet::Wide, true) : 0;
}

BOOL UnregisterClassA(LPCSTR className, HINSTANCE instance) {
    return unregisterClass(ClassName::of(className), instance);
}
BOOL UnregisterClassW(LPCWSTR className, HINSTANCE instance) {
    return unregisterClass(ClassName::of(className), instance);
}

BOOL GetClassInfoA(HINSTANCE instance, LPCSTR className, WNDCLASSA* windowClass) {
    return getPlainClassInfo(instance, className, windowClass, CharSet::Ansi);
}
BOOL GetClassInfoW(HINSTANCE instance, LPCWSTR className, WNDCLASSW* windowClass) {
    return getPlainClassInfo(instance, className, windowClass, CharSet::Wide);
}
BOOL GetClassInfoExA(HINSTANCE instance, LPCSTR className, WNDCLASSEXA* windowClass) {
    return windowClass ? getClassInfo(instance, className, *windowClass, CharSet::Ansi) : FALSE;
}
BOOL GetClassInfoExW(HINSTANCE instance, LPCWSTR className, WNDCLASSEXW* windowClass) {
    return windowClass ? getClassInfo(instance, className, *windowClass, CharSet::Wide) : FALSE;
}

int GetClassNameA(HWND window, LPSTR buffer, int size) {
    Window* object = WindowOrError(window);
    if (!object || !object->windowClass || !buffer || size <= 0) return 0;
    AnsiString name = WideToAnsi(object->windowClass->name);
    std::size_t copied = std::min(name.size(), static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, name.data(), copied);
    buffer[copied] = 0;
    return static_cast<int>(copied);
}

int GetClassNameW(HWND window, LPWSTR buffer, int size) {
    Window* object = WindowOrError(window);
    if (!object || !object->windowClass || !buffer || size <= 0) return 0;
    const WideString& name = object->windowClass->name;
    std::size_t copied = std::min(name.size(), static_cast<std::size_t>(size - 1));
    std::copy_n(name.data(), copied, buffer);
    buffer[copied] = 0;
    return static_cast<int>(copied);
}

ULONG_PTR GetClassLongPtrA(HWND window, int index) {
    return getClassLong(window, index, CharSet::Ansi);
}
ULONG_PTR GetClassLongPtrW(HWND window, int index) {
    return getClassLong(window, index, CharSet::Wide);
}
ULONG_PTR SetClassLongPtrA(HWND window, int index, LONG_PTR value) {
    return setClassLong(window, index, value, CharSet::Ansi);
}
ULONG_PTR SetClassLongPtrW(HWND window, int index, LONG_PTR value) {
    return setClassLong(window, index, value, CharSet::Wide);
}

// ---- Windows ----

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID parameter) {
    CREATESTRUCTA createStruct{
        parameter,  instance,  menu,   parent, height, width, y, x, static_cast<LONG>(style),
        windowName, className, exStyle};
    CreationRequest request{exStyle,      style,  x,    y,        width,
                            height,       parent, menu, instance, reinterpret_cast<LPARAM>(&createStruct),
                            CharSet::Ansi};
    return createWindow(ClassName::of(className), request);
}

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID parameter) {
    CREATESTRUCTW createStruct{
        parameter,  instance,  menu,   parent, height, width, y, x, static_cast<LONG>(style),
        windowName, className, exStyle};
    CreationRequest request{exStyle,      style,  x,    y,        width,
                            height,       parent, menu, instance, reinterpret_cast<LPARAM>(&createStruct),
                            CharSet::Wide};
    return createWindow(ClassName::of(className), request);
}

BOOL DestroyWindow(HWND handle) {
    Window* window = WindowOrError(handle);
    if (!window || IsRootWindow(*window)) return FALSE;
    if (window->thread.get() != &CurrentThread()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (window->destroying) return TRUE;
    window->destroying = true;
    if (window->style & WS_VISIBLE)
        SetWindowPos(handle, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (!FindWindowObject(handle)) return TRUE;
    notifyParents(*window, WM_DESTROY);
    if (IsTopLevelWindow(*window)) destroyOwnedWindows(*window);
    LeaveWindowBeforeDestruction(*window);
    if (FindWindowObject(handle)) destroyTree(*window);
    return TRUE;
}

BOOL IsWindow(HWND window) {
    Window* object = FindWindowObject(window);
    return object && !IsRootWindow(*object) ? TRUE : FALSE;
}

BOOL IsWindowUnicode(HWND window) {
    Window* object = WindowOrError(window);
    return object && object->procedure.charSet == CharSet::Wide ? TRUE : FALSE;
}

LONG_PTR GetWindowLongPtrA(HWND window, int index) {
    return getWindowLong(window, index, CharSet::Ansi);
}
LONG_PTR GetWindowLongPtrW(HWND window, int index) {
    return getWindowLong(window, index, CharSet::Wide);
}
LONG_PTR SetWindowLongPtrA(HWND window, int index, LONG_PTR value) {
    return setWindowLong(window, index, value, CharSet::Ansi);
}
LONG_PTR SetWindowLongPtrW(HWND window, int index, LONG_PTR value) {
    return setWindowLong(window, index, value, CharSet::Wide);
}
LONG GetWindowLongA(HWND window, int index) {
    return static_cast<LONG>(getWindowLong(window, index, CharSet::Ansi));
}
LONG GetWindowLongW(HWND window, int index) {
    return static_cast<LONG>(getWindowLong(window, index, CharSet::Wide));
}
LONG SetWindowLongA(HWND window, int index, LONG value) {
    return static_cast<LONG>(setWindowLong(window, index, value, CharSet::Ansi));
}
LONG SetWindowLongW(HWND window, int index, LONG value) {
    return static_cast<LONG>(setWindowLong(window, index, value, CharSet::Wide));
}

int GetWindowTextA(HWND window, LPSTR buffer, int size) {
    return getWindowText(window, buffer, size, CharSet::Ansi);
}
int GetWindowTextW(HWND window, LPWSTR buffer, int size) {
    return getWindowText(window, buffer, size, CharSet::Wide);
}
int GetWindowTextLengthA(HWND window) {
    return WindowOrError(window) ? static_cast<int>(SendMessageA(window, WM_GETTEXTLENGTH, 0, 0)) : 0;
}
int GetWindowTextLengthW(HWND window) {
    return WindowOrError(window) ? static_cast<int>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0)) : 0;
}
BOOL SetWindowTextA(HWND window, LPCSTR text) {
    if (!WindowOrError(window)) return FALSE;
    return SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) ? TRUE : FALSE;
}
BOOL SetWindowTextW(HWND window, LPCWSTR text) {
    if (!WindowOrError(window)) return FALSE;
    return SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) ? TRUE : FALSE;
}

BOOL EnableWindow(HWND handle, BOOL enable) {
    Window* window = WindowOrError(handle);
    if (!window) return FALSE;
    BOOL wasDisabled = (window->style & WS_DISABLED) ? TRUE : FALSE;
    if (enable && wasDisabled) {
        window->style &= ~WS_DISABLED;
        SendMessageW(handle, WM_ENABLE, TRUE, 0);
    } else if (!enable && !wasDisabled) {
        SendMessageW(handle, WM_CANCELMODE, 0, 0);
        window = FindWindowObject(handle);
        if (!window) return FALSE;
        window->style |= WS_DISABLED;
        LeaveDisabledWindow(*window);
        SendMessageW(handle, WM_ENABLE, FALSE, 0);
    }
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND window) {
    Window* object = WindowOrError(window);
    return object && !(object->style & WS_DISABLED) ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND window) {
    Window* object = FindWindowObject(window);
    return object && IsShowing(*object) ? TRUE : FALSE;
}

BOOL IsChild(HWND parent, HWND window) {
    Window* ancestor = FindWindowObject(parent);
    Window* object = FindWindowObject(window);
    if (!ancestor || !object) return FALSE;
    for (Window* step = object; step && (step->style & WS_CHILD); step = step->parent)
        if (step->parent == ancestor) return TRUE;
    return FALSE;
}

HWND GetParent(HWND handle) {
    Window* window = WindowOrError(handle);
    if (!window) return nullptr;
    if (window->style & WS_CHILD)
        return window->parent && !IsRootWindow(*window->parent) ? window->parent->handle : nullptr;
    return window->owner ? window->owner->handle : nullptr;
}

HWND SetParent(HWND handle, HWND newParent) {
    Window* window = WindowOrError(handle);
    if (!window || IsRootWindow(*window)) return nullptr;
    Window* target = newParent ? (newParent == HWND_MESSAGE ? &MessageRootObject() : WindowOrError(newParent))
                               : &DesktopWindowObject();
    if (!target || target == window || IsDescendantOf(target, window)) return nullptr;
    Window* previous = window->parent;
    bool wasShowing = IsShowing(*window);
    if (wasShowing) InvalidateWindowArea(*window);
    bool wasTopLevel = IsTopLevelWindow(*window) && previous == &DesktopWindowObject();
    removeFromParent(*window);
    {
        std::lock_guard lock(WindowTableMutex());
        window->parent = target;
        target->children.insert(target->children.begin(), window);
    }
    bool isTopLevel = IsTopLevelWindow(*window) && target == &DesktopWindowObject();
    if (wasTopLevel && !isTopLevel) CurrentBackend().WindowDestroyed(handle);
    if (isTopLevel && !wasTopLevel) {
        window->surface.reset();
        CurrentBackend().WindowCreated(handle, window->rect);
        CurrentBackend().WindowShown(handle, window->style & WS_VISIBLE);
    }
    if (IsShowing(*window)) InvalidateWindowArea(*window);
    return previous && !IsRootWindow(*previous) ? previous->handle : GetDesktopWindow();
}

HWND GetDesktopWindow() {
    return DesktopWindowObject().handle;
}

DWORD GetWindowThreadProcessId(HWND window, LPDWORD processId) {
    Window* object = WindowOrError(window);
    if (!object || !object->thread) return 0;
    if (processId) *processId = GetCurrentProcessId();
    return object->thread->id;
}

HMODULE GetModuleHandleA(LPCSTR moduleName) {
    if (moduleName) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    return programInstance;
}

HMODULE GetModuleHandleW(LPCWSTR moduleName) {
    if (moduleName) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    return programInstance;
}
