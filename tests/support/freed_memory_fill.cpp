// The replaced global operator new and delete behind FreedMemoryFill (Windows C runtime).
#include "support/freed_memory_fill.hpp"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <new>

namespace ondrel::testing {
namespace {

std::atomic<bool> filling{false};

// The byte a debug C runtime writes over freed blocks: as a pointer, no memory at all.
constexpr int freed_byte = 0xDD;

} // namespace

FreedMemoryFill::FreedMemoryFill() {
    filling = true;
}

FreedMemoryFill::~FreedMemoryFill() {
    filling = false;
}

} // namespace ondrel::testing

void* operator new(std::size_t size) {
    if (void* block = std::malloc(size == 0 ? 1 : size)) {
        return block;
    }
    throw std::bad_alloc();
}

void operator delete(void* block) noexcept {
    if (block == nullptr) {
        return;
    }
    if (ondrel::testing::filling) {
        std::memset(block, ondrel::testing::freed_byte, _msize(block));
    }
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept {
    operator delete(block);
}
