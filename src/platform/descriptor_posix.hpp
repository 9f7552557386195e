// POSIX file descriptors: their owner, and writing all of a text.
#pragma once

#include "platform/owned.hpp"

#include <string_view>

namespace ondrel {

struct DescriptorTraits {
    using Handle = int;
    static Handle invalid() { return -1; }
    static void close(Handle fd) noexcept;
};
using Descriptor = Owned<DescriptorTraits>;

// Writes every byte, again after an interrupted or partial write; false on any other error.
bool write_all(int fd, std::string_view bytes);

} // namespace ondrel
