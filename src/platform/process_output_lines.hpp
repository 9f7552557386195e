// A child's output read line by line. Lines are split on the raw bytes, before any decoding,
// so a UTF-8 sequence cut in two by a read boundary is never mistaken for an invalid one.
#pragma once

#include "platform/process.hpp"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace ondrel {

inline constexpr std::size_t line_reader_buffer_bytes = 8 * 1024;

struct LineReader {
    PipeReader pipe;
    std::vector<char> buffer;
    std::size_t begin = 0; // unread bytes of the buffer are [begin, end)
    std::size_t end = 0;
    bool finished = false;

    explicit LineReader(PipeReader source, std::size_t buffer_bytes = line_reader_buffer_bytes)
        : pipe(std::move(source)), buffer(buffer_bytes == 0 ? 1 : buffer_bytes) {}
};

// The next line's bytes without its line feed and a carriage return right before it. A last
// line without a line feed is returned too. Nothing at the end of the stream or after a read
// error; the pipe is closed then.
std::optional<std::string> read_line(LineReader& reader);

// Stops reading: closes the pipe, so the writer sees a broken pipe from now on.
void stop_reading(LineReader& reader);

} // namespace ondrel
