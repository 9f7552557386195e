#include "platform/process_output_lines.hpp"

#include <cstring>

namespace ondrel {

void stop_reading(LineReader& reader) {
    reader.finished = true;
    reader.begin = reader.end = 0;
    close_pipe(reader.pipe);
}

std::optional<std::string> read_line(LineReader& reader) {
    std::string line;
    bool have_bytes = false;
    while (!reader.finished) {
        if (reader.begin < reader.end) {
            const char* start = reader.buffer.data() + reader.begin;
            const std::size_t available = reader.end - reader.begin;
            const auto* newline = static_cast<const char*>(std::memchr(start, '\n', available));
            if (newline != nullptr) {
                line.append(start, newline);
                reader.begin += static_cast<std::size_t>(newline - start) + 1;
                if (!line.empty() && line.back() == '\r') {
                    line.pop_back();
                }
                return line;
            }
            line.append(start, available);
            have_bytes = true;
            reader.begin = reader.end = 0;
        }
        auto read = read_pipe(reader.pipe, reader.buffer.data(), reader.buffer.size());
        if (!read) {
            // A broken stream ends here; its unfinished last line is not trusted.
            stop_reading(reader);
            return std::nullopt;
        }
        if (read.value() == 0) {
            stop_reading(reader);
            break;
        }
        reader.begin = 0;
        reader.end = read.value();
    }
    if (have_bytes) {
        return line;
    }
    return std::nullopt;
}

} // namespace ondrel
