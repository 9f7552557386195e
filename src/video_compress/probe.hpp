// The analysis of a video with ffprobe.
#pragma once

#include "platform/result.hpp"
#include "video_compress/compress_message.hpp"
#include "video_compress/media_info.hpp"
#include "video_compress/tools.hpp"

#include <chrono>
#include <filesystem>
#include <string_view>

namespace ondrel {

// ffprobe's JSON report turned into a MediaInfo; only white space may follow the value.
// Fails with the JSON parser's description when the text is not one JSON value.
Result<MediaInfo> parse_probe_json(std::string_view report, const std::filesystem::path& video);

// Runs ffprobe on the video and reads its report. Fails with the system's text when ffprobe
// cannot be started, with the parser's description followed by ffprobe's standard error in
// parentheses when the report does not parse, and with the video path when the file has no
// usable video stream. An ffprobe still running after `limit` is ended, and the probe fails
// saying so.
Result<MediaInfo> probe_media(const std::filesystem::path& ffprobe,
                              const std::filesystem::path& video,
                              std::chrono::milliseconds limit = probe_time_limit);

// Probes in a worker thread and returns at once. The worker sends exactly one Info or
// ProbeError and then drops its sender.
void start_probe(const std::filesystem::path& ffprobe, const std::filesystem::path& video,
                 CompressSender sender);

} // namespace ondrel
