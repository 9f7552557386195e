// ffmpeg's progress report, line by line, as a broken or foreign ffmpeg might write it.
#include "video_compress/progress_reader.hpp"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    ondrel::ProgressState state;
    state.duration = 30;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        const auto progress = ondrel::read_progress_line(state, line);
        if (!progress) {
            continue;
        }
        // What reaches the screen: a percentage within 0-100 and finite rates.
        if (!(progress->percent >= 0 && progress->percent <= 100) ||
            !std::isfinite(progress->speed) || !std::isfinite(progress->fps)) {
            std::abort();
        }
    }
    return 0;
}
