// The lines of --progress ndjson: one JSON object a line, its kind under "type". Readers are
// told to ignore keys they do not know, so that keys can be added later.
#pragma once

#include "video_compress/compress_message.hpp"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace ondrel {

// Each line ends with "\n". Unknown values are null; file names are UTF-8, with any bytes that
// are not valid UTF-8 replaced.
std::string json_start_line(const std::filesystem::path& file, const std::filesystem::path& output,
                            double duration_seconds);
std::string json_progress_line(const message::Progress& progress, double duration_seconds);
std::string json_done_line(const std::filesystem::path& output,
                           std::optional<std::uint64_t> size_bytes, double seconds);
// Before each ffmpeg run of an encode into a target size: run `number` of `count`. The progress
// lines that follow, up to the next pass line, are that run's.
std::string json_pass_line(int number, int count);
// The encode is made again with the video at bitrate_kbps; `reason` says why ("over_target",
// the last result of size_bytes being over the target).
std::string json_retry_line(std::string_view reason, std::uint64_t size_bytes,
                            std::uint32_t bitrate_kbps);
// The size range --estimate found for `file`; `samples` is 1 when the whole video was encoded.
std::string json_estimate_line(const std::filesystem::path& file, std::uint64_t low_bytes,
                               std::uint64_t high_bytes, std::size_t samples);
// `file` is the input that failed; none for a failure of the whole run.
std::string json_error_line(std::string_view message, int exit_code,
                            const std::optional<std::filesystem::path>& file);

} // namespace ondrel
