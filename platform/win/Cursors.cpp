// Cursor handles: the standard ones are drawn here once, so that a window can
// show them on any backend; the backend is told the shape by name.
#include "platform/win/Cursors.h"

#include "platform/win/Bitmaps.h"
#include "platform/win/Gdi.h"
#include "platform/win/Icons.h"

#include <map>
#include <mutex>

namespace {

constexpr int cursorSize = 32;

struct StandardCursor {
    WORD id;
    CursorShape shape;
    POINT hotspot;
};

constexpr StandardCursor standardCursors[] = {
    {IDC_ARROW.id, CursorShape::Arrow, {0, 0}},
    {IDC_IBEAM.id, CursorShape::IBeam, {16, 16}},
    {IDC_WAIT.id, CursorShape::Wait, {16, 16}},
    {IDC_CROSS.id, CursorShape::Cross, {16, 16}},
    {IDC_UPARROW.id, CursorShape::UpArrow, {16, 0}},
    {IDC_SIZE.id, CursorShape::SizeAll, {16, 16}},
    {IDC_ICON.id, CursorShape::Arrow, {0, 0}},
    {IDC_SIZENWSE.id, CursorShape::SizeNWSE, {16, 16}},
    {IDC_SIZENESW.id, CursorShape::SizeNESW, {16, 16}},
    {IDC_SIZEWE.id, CursorShape::SizeWE, {16, 16}},
    {IDC_SIZENS.id, CursorShape::SizeNS, {16, 16}},
    {IDC_SIZEALL.id, CursorShape::SizeAll, {16, 16}},
    {IDC_NO.id, CursorShape::No, {16, 16}},
    {IDC_HAND.id, CursorShape::Hand, {6, 0}},
    {IDC_APPSTARTING.id, CursorShape::AppStarting, {0, 0}},
    {IDC_HELP.id, CursorShape::Help, {0, 0}},
};

struct CursorState {
    std::mutex mutex;
    std::map<WORD, HCURSOR> standard;
    std::map<HCURSOR, CursorShape> shapes;
    CursorResourceLoader loader;
    HCURSOR current = nullptr;
    int displayCount = 0;
    POINT position;
};

CursorState& cursorState() {
    static CursorState state;
    return state;
}

// A plain cursor image: a white outline box, enough to stand for the shape
// when a backend has no pointer of its own for it.
HCURSOR makeCursor(POINT hotspot) {
    HBITMAP mask = CreateBitmap(cursorSize, cursorSize, 1, 1, nullptr);
    HBITMAP colour = CreateBitmap(cursorSize, cursorSize, 1, 32, nullptr);
    ICONINFO info{};
    info.fIcon = FALSE;
    info.xHotspot = static_cast<DWORD>(hotspot.x);
    info.yHotspot = static_cast<DWORD>(hotspot.y);
    info.hbmMask = mask;
    info.hbmColor = colour;
    HCURSOR cursor = CreateIconIndirect(&info);
    DeleteObject(mask);
    DeleteObject(colour);
    return cursor;
}

HCURSOR standardCursor(WORD id) {
    CursorState& state = cursorState();
    std::lock_guard lock(state.mutex);
    for (const StandardCursor& entry : standardCursors) {
        if (entry.id != id) continue;
        HCURSOR& cursor = state.standard[id];
        if (!cursor) {
            cursor = makeCursor(entry.hotspot);
            state.shapes[cursor] = entry.shape;
        }
        return cursor;
    }
    return nullptr;
}

HCURSOR loadResource(HINSTANCE instance, const AnsiString& name) {
    CursorResourceLoader loader;
    {
        CursorState& state = cursorState();
        std::lock_guard lock(state.mutex);
        loader = state.loader;
    }
    HCURSOR cursor = loader ? loader(instance, name) : nullptr;
    if (!cursor) SetLastError(ERROR_FILE_NOT_FOUND);
    return cursor;
}

CursorShape shapeOfCursorLocked(HCURSOR cursor) {
    auto& shapes = cursorState().shapes;
    auto found = shapes.find(cursor);
    return found == shapes.end() ? CursorShape::Custom : found->second;
}

void showCurrent() {
    CursorState& state = cursorState();
    CursorShape shape;
    HCURSOR cursor;
    {
        std::lock_guard lock(state.mutex);
        cursor = state.current;
        shape = state.displayCount < 0 || !cursor ? CursorShape::Hidden : shapeOfCursorLocked(cursor);
    }
    CurrentBackend().SetCursorShape(shape, cursor);
}

} // namespace

CursorShape ShapeOfCursor(HCURSOR cursor) {
    std::lock_guard lock(cursorState().mutex);
    return shapeOfCursorLocked(cursor);
}

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) {
    if (IS_INTRESOURCE(name)) {
        WORD id = static_cast<WORD>(reinterpret_cast<UINT_PTR>(name));
        if (!instance)
            if (HCURSOR cursor = standardCursor(id)) return cursor;
        return loadResource(instance, "#" + std::to_string(id));
    }
    return loadResource(instance, name);
}

HCURSOR LoadCursorW(HINSTANCE instance, LPCWSTR name) {
    if (IS_INTRESOURCE(name)) return LoadCursorA(instance, reinterpret_cast<LPCSTR>(name));
    AnsiString ansi;
    for (const WCHAR* each = name; *each; ++each)
        ansi.push_back(*each < 0x80 ? static_cast<char>(*each) : '?');
    return loadResource(instance, ansi);
}

HCURSOR SetCursor(HCURSOR cursor) {
    HCURSOR previous;
    {
        CursorState& state = cursorState();
        std::lock_guard lock(state.mutex);
        previous = state.current;
        state.current = cursor;
    }
    if (previous != cursor) showCurrent();
    return previous;
}

HCURSOR GetCursor() {
    std::lock_guard lock(cursorState().mutex);
    return cursorState().current;
}

int ShowCursor(BOOL show) {
    int count;
    {
        std::lock_guard lock(cursorState().mutex);
        count = cursorState().displayCount += show ? 1 : -1;
    }
    showCurrent();
    return count;
}

BOOL GetCursorPos(LPPOINT point) {
    if (!point) return FALSE;
    GetCursorPosition(*point);
    return TRUE;
}

BOOL SetCursorPos(int x, int y) {
    POINT point{x, y};
    NoteCursorPosition(point);
    CurrentBackend().MovePointer(point);
    DeliverMouseMove(point);
    return TRUE;
}

BOOL DestroyCursor(HCURSOR cursor) {
    {
        std::lock_guard lock(cursorState().mutex);
        for (const auto& [id, standard] : cursorState().standard)
            if (standard == cursor) return TRUE;
        cursorState().shapes.erase(cursor);
    }
    return DestroyIcon(cursor);
}

void SetCursorResourceLoader(CursorResourceLoader loader) {
    std::lock_guard lock(cursorState().mutex);
    cursorState().loader = std::move(loader);
}

void NoteCursorPosition(POINT screen) {
    std::lock_guard lock(cursorState().mutex);
    cursorState().position = screen;
}

void GetCursorPosition(POINT& screen) {
    std::lock_guard lock(cursorState().mutex);
    screen = cursorState().position;
}
