#include "compress_cli/progress_display.hpp"

#include "i18n/formatters.hpp"
#include "i18n/texts_compression.hpp"
#include "video_compress/progress_text.hpp"

#include <algorithm>
#include <cmath>

namespace ondrel {
namespace {

// Characters as a terminal counts them, near enough: every byte that does not continue a
// UTF-8 sequence.
std::size_t display_width(const std::string& text) {
    std::size_t width = 0;
    for (const char c : text) {
        width += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    }
    return width;
}

} // namespace

std::string progress_text(const message::Progress& progress, double elapsed_seconds) {
    std::string text =
        progress_line(progress.percent, progress.speed, progress.fps, progress.bitrate);
    if (const auto left = seconds_left(progress.percent, elapsed_seconds)) {
        text += "   -   " + fill(tr(texts::cli_time_left), {format_duration(*left)});
    }
    return text;
}

std::string progress_update(ProgressDisplay& display, const message::Progress& progress,
                            double elapsed_seconds, const std::string& indent) {
    const std::string text = indent + progress_text(progress, elapsed_seconds);
    if (display.live) {
        const std::size_t width = display_width(text);
        std::string out = "\r" + text;
        if (width < display.shown_width) {
            // Blank out the rest of the longer line before, then come back.
            out += std::string(display.shown_width - width, ' ') + "\r" + text;
        }
        display.shown_width = width;
        return out;
    }
    const float percent = std::isfinite(progress.percent) ? progress.percent : 0.0f;
    const int step = static_cast<int>(std::floor(std::clamp(percent, 0.0f, 100.0f) / 10.0f));
    if (step <= display.plain_step) {
        return {};
    }
    display.plain_step = step;
    return text + "\n";
}

std::string progress_finish(ProgressDisplay& display) {
    if (display.live && display.shown_width > 0) {
        display.shown_width = 0;
        return "\n";
    }
    return {};
}

} // namespace ondrel
