// The replaced global operator new and delete behind FreedMemoryGuard.
#include "support/freed_memory_guard.hpp"

#include <array>
#include <atomic>
#include <cstdlib>
#include <mutex>
#include <new>
#include <windows.h>

namespace ondrel::testing {
namespace {

struct GuardedBlock {
    std::uintptr_t start = 0;
    std::size_t length = 0;
    bool deleted = false;
};

std::atomic<std::size_t> guarded_size{0};
std::atomic<int> access_count{0};
std::mutex blocks_lock;
std::array<GuardedBlock, 64> blocks; // never forgotten: their pages are never reused
std::size_t block_count = 0;

void* guarded_new(std::size_t size) {
    const std::lock_guard<std::mutex> guard(blocks_lock);
    if (block_count == blocks.size()) {
        return nullptr;
    }
    void* pages = VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (pages != nullptr) {
        blocks[block_count++] = {reinterpret_cast<std::uintptr_t>(pages), size, false};
    }
    return pages;
}

// True when the block is a guarded one, now locked away.
bool guarded_delete(void* block) {
    const std::lock_guard<std::mutex> guard(blocks_lock);
    for (std::size_t i = 0; i < block_count; ++i) {
        if (blocks[i].start == reinterpret_cast<std::uintptr_t>(block)) {
            DWORD old = 0;
            VirtualProtect(block, blocks[i].length, PAGE_NOACCESS, &old);
            blocks[i].deleted = true;
            return true;
        }
    }
    return false;
}

LONG CALLBACK count_access(EXCEPTION_POINTERS* exception) {
    const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
    if (record.ExceptionCode == EXCEPTION_ACCESS_VIOLATION && record.NumberParameters >= 2) {
        const std::uintptr_t address = record.ExceptionInformation[1];
        for (std::size_t i = 0; i < block_count; ++i) {
            GuardedBlock& block = blocks[i];
            if (block.deleted && address >= block.start && address < block.start + block.length) {
                // Counted; then the pages, which still hold the old record, are opened again
                // so the program goes on as the heap would have let it, and the test reports.
                ++access_count;
                block.deleted = false;
                DWORD old = 0;
                VirtualProtect(reinterpret_cast<void*>(block.start), block.length, PAGE_READWRITE,
                               &old);
                return EXCEPTION_CONTINUE_EXECUTION;
            }
        }
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

} // namespace

FreedMemoryGuard::FreedMemoryGuard(std::size_t block_size) {
    static void* const handler = AddVectoredExceptionHandler(1, count_access);
    (void)handler;
    access_count = 0;
    guarded_size = block_size;
}

FreedMemoryGuard::~FreedMemoryGuard() {
    guarded_size = 0;
}

int FreedMemoryGuard::accesses() const {
    return access_count;
}

} // namespace ondrel::testing

void* operator new(std::size_t size) {
    if (size != 0 && size == ondrel::testing::guarded_size) {
        if (void* block = ondrel::testing::guarded_new(size)) {
            return block;
        }
    }
    if (void* block = std::malloc(size == 0 ? 1 : size)) {
        return block;
    }
    throw std::bad_alloc();
}

void operator delete(void* block) noexcept {
    if (block != nullptr && !ondrel::testing::guarded_delete(block)) {
        std::free(block);
    }
}

void operator delete(void* block, std::size_t) noexcept {
    operator delete(block);
}
