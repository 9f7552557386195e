#include "compress_cli/json_lines.hpp"

#include "video_compress/options.hpp"

#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>

namespace ondrel {
namespace {

// Keys stay in the order written, "type" first, so that the lines read well too.
using Json = nlohmann::ordered_json;

// Rounded to a few decimals, so that 42.3f is not written 42.29999923706055.
Json number_or_null(std::optional<double> value, double scale) {
    if (!value || !std::isfinite(*value)) {
        return nullptr;
    }
    return std::round(*value * scale) / scale;
}

std::string line(const Json& object) {
    return object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

std::optional<double> known_duration(double seconds) {
    return seconds > 0 ? std::optional<double>(seconds) : std::nullopt;
}

} // namespace

std::string json_start_line(const std::filesystem::path& file, const std::filesystem::path& output,
                            double duration_seconds) {
    return line(Json{{"type", "start"},
                     {"file", path_text(file)},
                     {"output", path_text(output)},
                     {"duration_s", number_or_null(known_duration(duration_seconds), 1000)}});
}

std::string json_progress_line(const message::Progress& progress, double duration_seconds) {
    const std::optional<double> duration = known_duration(duration_seconds);
    std::optional<double> percent;
    std::optional<double> speed;
    std::optional<double> seconds_left;
    if (duration) {
        percent = progress.percent;
    }
    if (progress.speed > 0) {
        speed = progress.speed;
    }
    if (duration && speed && progress.out_time_us) {
        const double done = static_cast<double>(*progress.out_time_us) / 1e6;
        seconds_left = std::max(0.0, *duration - done) / *speed;
    }
    return line(Json{{"type", "progress"},
                     {"percent", number_or_null(percent, 100)},
                     {"out_time_us", progress.out_time_us ? Json(*progress.out_time_us) : nullptr},
                     {"size_bytes", progress.size_bytes ? Json(*progress.size_bytes) : nullptr},
                     {"speed", number_or_null(speed, 1000)},
                     {"eta_s", number_or_null(seconds_left, 10)}});
}

std::string json_done_line(const std::filesystem::path& output,
                           std::optional<std::uint64_t> size_bytes, double seconds) {
    return line(Json{{"type", "done"},
                     {"output", path_text(output)},
                     {"size_bytes", size_bytes ? Json(*size_bytes) : nullptr},
                     {"seconds", number_or_null(seconds, 100)}});
}

std::string json_pass_line(int number, int count) {
    return line(Json{{"type", "pass"}, {"number", number}, {"of", count}});
}

std::string json_retry_line(std::string_view reason, std::uint64_t size_bytes,
                            std::uint32_t bitrate_kbps) {
    return line(Json{{"type", "retry"},
                     {"reason", std::string(reason)},
                     {"size_bytes", size_bytes},
                     {"bitrate_kbps", bitrate_kbps}});
}

std::string json_estimate_line(const std::filesystem::path& file, std::uint64_t low_bytes,
                               std::uint64_t high_bytes, std::size_t samples) {
    return line(Json{{"type", "estimate"},
                     {"file", path_text(file)},
                     {"low_bytes", low_bytes},
                     {"high_bytes", high_bytes},
                     {"samples", samples}});
}

std::string json_error_line(std::string_view message, int exit_code,
                            const std::optional<std::filesystem::path>& file) {
    Json object{{"type", "error"}};
    if (file) {
        object["file"] = path_text(*file);
    }
    object["message"] = std::string(message);
    object["exit_code"] = exit_code;
    return line(object);
}

} // namespace ondrel
