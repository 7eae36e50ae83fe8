// Every block lives in one table, looked up by handle, so that a stale or
// foreign handle is reported instead of being followed.
#include "platform/win/GlobalMemory.h"

#include "platform/win/LastError.h"

#include <memory>
#include <mutex>
#include <new>
#include <unordered_map>

namespace {

struct Block {
    std::unique_ptr<std::byte[]> data;
    SIZE_T size = 0;
    bool moveable = false;
    unsigned lockCount = 0;
};

struct BlockTable {
    std::mutex mutex;
    std::unordered_map<HGLOBAL, Block> blocks;
    std::uintptr_t nextMovableNumber = 1;
};

BlockTable& blockTable() {
    static BlockTable table;
    return table;
}

// Movable handles are never 16-byte aligned, so they cannot coincide with the
// address of a fixed block, which the allocator aligns.
constexpr std::uintptr_t MovableHandleTag = 4;
constexpr int MovableHandleShift = 4;

HGLOBAL newMovableHandle(BlockTable& table) {
    HGLOBAL handle = nullptr;
    do {
        handle =
            reinterpret_cast<HGLOBAL>((table.nextMovableNumber++ << MovableHandleShift) | MovableHandleTag);
    } while (table.blocks.contains(handle));
    return handle;
}

Block* findBlock(BlockTable& table, HGLOBAL memory) {
    auto found = table.blocks.find(memory);
    if (found != table.blocks.end()) return &found->second;
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
}

} // namespace

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
    Block block;
    block.moveable = (flags & GMEM_MOVEABLE) != 0;
    block.size = bytes;
    if (bytes > 0 || !block.moveable) {
        // A fixed block of 0 bytes still needs an address of its own.
        block.data.reset(new (std::nothrow) std::byte[bytes == 0 ? 1 : bytes]());
        if (!block.data) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
    }
    BlockTable& table = blockTable();
    std::lock_guard lock(table.mutex);
    HGLOBAL handle = block.moveable ? newMovableHandle(table) : block.data.get();
    table.blocks.emplace(handle, std::move(block));
    return handle;
}

LPVOID GlobalLock(HGLOBAL memory) {
    BlockTable& table = blockTable();
    std::lock_guard lock(table.mutex);
    Block* block = findBlock(table, memory);
    if (!block) return nullptr;
    if (!block->data) {
        SetLastError(ERROR_DISCARDED);
        return nullptr;
    }
    if (block->moveable) ++block->lockCount;
    return block->data.get();
}

BOOL GlobalUnlock(HGLOBAL memory) {
    BlockTable& table = blockTable();
    std::lock_guard lock(table.mutex);
    Block* block = findBlock(table, memory);
    if (!block) return FALSE;
    if (block->lockCount == 0) {
        SetLastError(block->moveable ? ERROR_NOT_LOCKED : NO_ERROR);
        return FALSE;
    }
    if (--block->lockCount > 0) return TRUE;
    SetLastError(NO_ERROR);
    return FALSE;
}

SIZE_T GlobalSize(HGLOBAL memory) {
    BlockTable& table = blockTable();
    std::lock_guard lock(table.mutex);
    Block* block = findBlock(table, memory);
    return block ? block->size : 0;
}

HGLOBAL GlobalFree(HGLOBAL memory) {
    BlockTable& table = blockTable();
    std::lock_guard lock(table.mutex);
    if (table.blocks.erase(memory) == 1) return nullptr;
    SetLastError(ERROR_INVALID_HANDLE);
    return memory;
}
