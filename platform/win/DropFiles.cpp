// Drops: the receiving window is found under the drop point, moving up to the
// nearest window that accepts files.
#include "platform/win/DropFiles.h"

#include "platform/core/CodePages.h"
#include "platform/win/BackendInterface.h"
#include "platform/win/Messages.h"
#include "platform/win/WindowObjects.h"
#include "platform/win/WindowTree.h"
#include "platform/win/Windows.h"

#include <cstring>
#include <map>
#include <mutex>

namespace {

constexpr UINT countQuery = 0xFFFFFFFF;

struct Drop {
    std::vector<WideString> files;
    POINT point;
    bool inClient = false;
};

struct DropTable {
    std::mutex mutex;
    std::map<HDROP, Drop> drops;
    UINT_PTR next = 0x30001;
};

DropTable& dropTable() {
    static DropTable table;
    return table;
}

template <typename Char> UINT queryFile(HDROP handle, UINT index, Char* buffer, UINT size) {
    DropTable& table = dropTable();
    std::lock_guard lock(table.mutex);
    auto found = table.drops.find(handle);
    if (found == table.drops.end()) return 0;
    const auto& files = found->second.files;
    if (index == countQuery) return static_cast<UINT>(files.size());
    if (index >= files.size()) return 0;
    std::basic_string<Char> name;
    if constexpr (sizeof(Char) == 1)
        name = WideToAnsi(files[index]);
    else
        name = files[index];
    if (!buffer || size == 0) return static_cast<UINT>(name.size());
    std::size_t copied = std::min<std::size_t>(name.size(), size - 1);
    std::copy_n(name.data(), copied, buffer);
    buffer[copied] = 0;
    return static_cast<UINT>(copied);
}

HWND acceptingWindowAt(POINT screen) {
    for (Window* window = FindWindowObject(WindowFromPoint(screen)); window && !IsRootWindow(*window);
         window = window->parent)
        if (window->exStyle & WS_EX_ACCEPTFILES) return window->handle;
    return nullptr;
}

} // namespace

void DragAcceptFiles(HWND handle, BOOL accept) {
    Window* window = WindowOrError(handle);
    if (!window) return;
    if (accept)
        window->exStyle |= WS_EX_ACCEPTFILES;
    else
        window->exStyle &= ~WS_EX_ACCEPTFILES;
}

UINT DragQueryFileA(HDROP drop, UINT index, LPSTR buffer, UINT size) {
    return queryFile(drop, index, buffer, size);
}

UINT DragQueryFileW(HDROP drop, UINT index, LPWSTR buffer, UINT size) {
    return queryFile(drop, index, buffer, size);
}

BOOL DragQueryPoint(HDROP drop, LPPOINT point) {
    DropTable& table = dropTable();
    std::lock_guard lock(table.mutex);
    auto found = table.drops.find(drop);
    if (found == table.drops.end() || !point) return FALSE;
    *point = found->second.point;
    return found->second.inClient ? TRUE : FALSE;
}

void DragFinish(HDROP drop) {
    DropTable& table = dropTable();
    std::lock_guard lock(table.mutex);
    table.drops.erase(drop);
}

void DeliverDroppedFiles(POINT screen, const std::vector<WideString>& files) {
    HWND target = acceptingWindowAt(screen);
    Window* window = FindWindowObject(target);
    if (!window) return;
    Drop drop;
    drop.files = files;
    TRect client = ClientRectOnScreen(*window);
    drop.point = {screen.x - client.Left, screen.y - client.Top};
    drop.inClient = RectContains(client, screen);
    HDROP handle;
    {
        DropTable& table = dropTable();
        std::lock_guard lock(table.mutex);
        handle = reinterpret_cast<HDROP>(table.next);
        table.next += 2;
        table.drops.emplace(handle, std::move(drop));
    }
    PostFrom(CharSet::Wide, target, WM_DROPFILES, reinterpret_cast<WPARAM>(handle), 0);
}
