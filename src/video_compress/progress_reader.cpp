#include "video_compress/progress_reader.hpp"

#include "platform/numbers.hpp"
#include "platform/process_output_lines.hpp"
#include "platform/text.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace ondrel {
namespace {

// A rate worth showing: "nan" or "inf" would reach the screen as such.
std::optional<double> parse_rate(std::string_view text) {
    const auto value = parse_double(text);
    if (!value || !std::isfinite(*value)) {
        return std::nullopt;
    }
    return value;
}

message::Progress current(const ProgressState& state, float percent) {
    return message::Progress{state.bitrate, state.speed,       state.fps,
                             percent,       state.out_time_us, state.size_bytes};
}

} // namespace

std::optional<message::Progress> read_progress_line(ProgressState& state, std::string_view line) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view key = line.substr(0, equals);
    const std::string_view value = trim_unicode_space(line.substr(equals + 1));
    if (key == "fps") {
        if (const auto fps = parse_rate(value)) {
            state.fps = *fps;
        }
    } else if (key == "speed") {
        std::string_view number = value;
        while (!number.empty() && number.back() == 'x') {
            number.remove_suffix(1);
        }
        if (const auto speed = parse_rate(number)) {
            state.speed = *speed;
        }
    } else if (key == "bitrate") {
        state.bitrate = std::string(value);
    } else if (key == "total_size") {
        // "N/A" until the muxer has written something: the last known size stays.
        if (const auto size = parse_digits(value)) {
            state.size_bytes = *size;
        }
    } else if (key == "out_time_us") {
        const auto microseconds = parse_digits(value, INT64_MAX);
        if (!microseconds) {
            return std::nullopt;
        }
        state.out_time_us = static_cast<std::int64_t>(*microseconds);
        const double exact = state.duration > 0
                                 ? static_cast<double>(*microseconds) / 1e6 / state.duration * 100
                                 : 0;
        const auto percent = static_cast<float>(exact);
        if (percent >= 99.9 || std::fabs(percent - state.last_sent_percent) >= 0.25f) {
            state.last_sent_percent = percent;
            return current(state, std::min(percent, 100.0f));
        }
    } else if (key == "progress" && value == "end") {
        return current(state, 100.0f);
    }
    return std::nullopt;
}

void read_progress(PipeReader output, double duration, const CompressSender& sender) {
    LineReader lines(std::move(output));
    ProgressState state;
    state.duration = duration;
    try {
        while (const auto line = read_line(lines)) {
            if (!is_valid_utf8(*line)) {
                break;
            }
            if (auto progress = read_progress_line(state, *line)) {
                send(sender, CompressMessage(std::move(*progress)));
            }
        }
    } catch (...) {
        // Out of memory: the progress display stops, the job goes on.
    }
    stop_reading(lines);
}

} // namespace ondrel
