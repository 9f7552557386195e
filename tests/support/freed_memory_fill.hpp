// What a debug heap does with freed blocks, for the program that links freed_memory_fill.cpp:
// while a FreedMemoryFill lives, every block given back to operator delete is overwritten
// first, so code that still reads a disposed-of record reads garbage pointers and fails at
// once instead of quietly reading the old values.
#pragma once

namespace ondrel::testing {

struct FreedMemoryFill {
    FreedMemoryFill();
    FreedMemoryFill(const FreedMemoryFill&) = delete;
    FreedMemoryFill& operator=(const FreedMemoryFill&) = delete;
    ~FreedMemoryFill();
};

} // namespace ondrel::testing
