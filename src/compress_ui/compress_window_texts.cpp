#include "compress_ui/compress_window_texts.hpp"

#include "i18n/formatters.hpp"
#include "i18n/texts_compress_window.hpp"
#include "platform/numbers.hpp"
#include "video_compress/options.hpp"

#include <cmath>

namespace ondrel {

std::string compress_window_title(const std::filesystem::path& video) {
    const std::filesystem::path name = video.has_filename() ? video.filename() : video;
    return fill(tr(texts::compress_window_title), {path_text(name)});
}

std::string quality_hint_text(std::uint32_t quality) {
    return fill(tr(texts::quality_hint), {std::to_string(quality)});
}

std::string aac_value_text(std::uint32_t kbps) {
    return fill(tr(texts::aac_value), {std::to_string(kbps)});
}

std::vector<std::string> audio_stream_items(const std::vector<AudioStream>& streams) {
    std::vector<std::string> items{std::string(tr(texts::all_audio_streams))};
    for (std::size_t n = 1; n <= streams.size(); ++n) {
        const std::string& language = streams[n - 1].language;
        items.push_back("#" + std::to_string(n) + (language.empty() ? "" : " - " + language));
    }
    return items;
}

std::optional<std::uint32_t> parse_width_text(std::string_view text) {
    const auto value = parse_digits(text, UINT32_MAX);
    if (!value) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(*value);
}

std::int32_t progress_bar_position(float percent) {
    if (!(percent > 0.0f)) {
        return 0; // negative or not a number
    }
    return static_cast<std::int32_t>(std::lround(std::fmin(percent, 100.0f) * 10.0f));
}

void append_log_line(std::deque<std::string>& log, std::string line) {
    if (log.size() >= log_line_limit) {
        log.pop_front();
    }
    log.push_back(std::move(line));
}

std::string log_box_text(const std::deque<std::string>& log) {
    const std::size_t first = log.size() > log_box_line_limit ? log.size() - log_box_line_limit : 0;
    std::string text;
    for (std::size_t i = first; i < log.size(); ++i) {
        if (i != first) {
            text += "\r\n";
        }
        text += log[i];
    }
    return text;
}

} // namespace ondrel
