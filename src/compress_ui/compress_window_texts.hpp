// The compression window's texts that follow its state, and the width box's reading rule.
#pragma once

#include "video_compress/media_info.hpp"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ondrel {

// ffmpeg's log keeps this many lines; the log box shows the newest few of them.
inline constexpr std::size_t log_line_limit = 500;
inline constexpr std::size_t log_box_line_limit = 300;

// "Video compression — clip.mp4": the file name, or the whole path when it has none.
std::string compress_window_title(const std::filesystem::path& video);

// "60   best <-> smallest".
std::string quality_hint_text(std::uint32_t quality);

// "192 kb/s".
std::string aac_value_text(std::uint32_t kbps);

// The audio-track list: "All", then "#1 - eng", "#2" ... one per stream.
std::vector<std::string> audio_stream_items(const std::vector<AudioStream>& streams);

// The width box's text as a width: one or more decimal digits, an optional leading "+", no
// larger than 32 bits hold; anything else is no width.
std::optional<std::uint32_t> parse_width_text(std::string_view text);

// A progress bar's position in tenths of a percent, 0 to 1000; negative and not-a-number
// count as 0.
std::int32_t progress_bar_position(float percent);

// Adds one line, dropping the oldest when the log is full.
void append_log_line(std::deque<std::string>& log, std::string line);

// The newest lines that the log box shows, joined with CR LF.
std::string log_box_text(const std::deque<std::string>& log);

} // namespace ondrel
