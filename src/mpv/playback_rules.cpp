#include "mpv/playback_rules.hpp"

#include "platform/numbers.hpp"
#include "platform/text.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ondrel {
namespace {

// Truncation toward zero that never overflows: NaN gives 0, huge values saturate.
std::int64_t truncate_saturated(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    constexpr double limit = 9223372036854775808.0; // 2^63
    if (value >= limit) {
        return std::numeric_limits<std::int64_t>::max();
    }
    if (value <= -limit) {
        return std::numeric_limits<std::int64_t>::min();
    }
    return static_cast<std::int64_t>(value);
}

std::string two_digits(std::int64_t value) {
    return (value < 10 ? "0" : "") + std::to_string(value);
}

} // namespace

std::string display_name(std::string_view path) {
    const bool is_url = path.find("://") != std::string_view::npos;
    const std::size_t separator = is_url ? path.rfind('/') : path.find_last_of("/\\");
    std::string_view name = path;
    if (separator != std::string_view::npos && separator + 1 < path.size()) {
        name = path.substr(separator + 1);
    }
    return repair_utf8(name);
}

std::string format_resume_time(double seconds) {
    const std::int64_t total = std::max<std::int64_t>(0, truncate_saturated(seconds));
    const std::int64_t hours = total / 3600;
    const std::int64_t minutes = total / 60 % 60;
    const std::int64_t rest = total % 60;
    if (hours > 0) {
        return std::to_string(hours) + ":" + two_digits(minutes) + ":" + two_digits(rest);
    }
    return std::to_string(total / 60) + ":" + two_digits(rest);
}

double next_speed(double current, int step) {
    constexpr int normal = 3;
    if (step == 0) {
        return speed_table[normal];
    }
    int index = normal;
    for (std::size_t i = 0; i < speed_table.size(); ++i) {
        if (std::fabs(current - speed_table[i]) < 0.01) {
            index = static_cast<int>(i);
            break;
        }
    }
    index = std::clamp(index + step, 0, static_cast<int>(speed_table.size()) - 1);
    return speed_table[static_cast<std::size_t>(index)];
}

ProgressMarks progress_marks(double time_position, double duration, std::int32_t steps) {
    ProgressMarks marks;
    marks.whole_second = truncate_saturated(time_position);
    if (duration > 0) {
        const double step = time_position / duration * static_cast<double>(std::max(1, steps));
        if (!std::isnan(step)) {
            const std::int64_t truncated = truncate_saturated(step);
            marks.progress_step = static_cast<std::int32_t>(
                std::clamp<std::int64_t>(truncated, std::numeric_limits<std::int32_t>::min(),
                                         std::numeric_limits<std::int32_t>::max()));
        }
    }
    return marks;
}

std::vector<MpvOption> player_options(ShellWindow video_window, const Settings& settings,
                                      std::string_view watch_later_folder) {
    // The window handle is a pointer-sized value; libmpv reads it as a signed integer.
    const auto wid = static_cast<std::int64_t>(video_window);
    return {
        {"wid", std::to_string(wid)},
        {"config", "no"},
        {"load-scripts", "no"},
        {"ytdl", "no"},
        {"osc", "no"},
        {"input-default-bindings", "no"},
        {"input-vo-keyboard", "no"},
        {"input-cursor", "no"},
        {"cursor-autohide", "no"},
        {"vo", "gpu-next,gpu"},
        {"gpu-api", "d3d11"},
        {"hwdec", "auto-safe"},
        {"keep-open", "yes"},
        {"idle", "yes"},
        {"force-window", "yes"},
        {"resume-playback", "yes"},
        {"watch-later-directory", std::string(watch_later_folder)},
        {"volume-max", "100"},
        {"volume", std::to_string(round_half_away_saturated(settings.volume))},
        {"mute", settings.mute ? "yes" : "no"},
        {"osd-duration", "1500"},
        {"osd-font-size", "36"},
        {"audio-client-name", "Ondrel"},
        {"watch-later-options", "start,aid,sid"},
        {"sub-auto", "fuzzy"},
    };
}

std::vector<MpvOption> split_user_options(std::string_view text) {
    std::vector<MpvOption> options;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(';', start), text.size());
        const std::string_view piece = text.substr(start, end - start);
        const std::size_t equals = piece.find('=');
        if (equals != std::string_view::npos) {
            options.emplace_back(std::string(trim_unicode_space(piece.substr(0, equals))),
                                 std::string(trim_unicode_space(piece.substr(equals + 1))));
        }
        start = end + 1;
    }
    return options;
}

} // namespace ondrel
