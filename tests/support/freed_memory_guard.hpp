// A use-after-free detector for records of one size, for the program that links
// freed_memory_guard.cpp. While a FreedMemoryGuard lives, every block of that size gets pages
// of its own; deleting it makes the pages inaccessible instead of freeing them, and a later
// access to them is counted. The heap alone would let such a read pass unnoticed.
#pragma once

#include <cstddef>

namespace ondrel::testing {

struct FreedMemoryGuard {
    explicit FreedMemoryGuard(std::size_t block_size);
    FreedMemoryGuard(const FreedMemoryGuard&) = delete;
    FreedMemoryGuard& operator=(const FreedMemoryGuard&) = delete;
    ~FreedMemoryGuard();

    // Accesses to deleted blocks so far.
    int accesses() const;
};

} // namespace ondrel::testing
