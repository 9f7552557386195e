// What ffprobe found out about a video: the result of the analysis the compression starts with.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace ondrel {

struct AudioStream {
    std::string codec;    // "?" when ffprobe names none
    std::string language; // empty when the stream has no language tag
    std::uint32_t channels = 0;
    std::uint64_t bit_rate = 0; // bits a second; 0 when ffprobe gives none

    bool operator==(const AudioStream&) const = default;
};

struct MediaInfo {
    std::filesystem::path path;
    std::string format_name = "?";
    double duration = 0; // seconds; 0 when unknown
    std::uint64_t bit_rate = 0;
    std::uint64_t size = 0;  // bytes on disk
    std::string video_codec; // empty without a video stream
    // The video stream described: ffmpeg addresses it as 0:v:N. Cover pictures are video
    // streams too and count in N.
    std::size_t video_stream = 0;
    // The picture as it is shown: the stored size turned by the stream's display rotation,
    // which ffmpeg applies while decoding.
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::string pix_fmt;
    double fps = 0;
    std::string first_audio_codec; // empty without an audio stream
    // In report order; entry N is the stream ffmpeg addresses as 0:a:N.
    std::vector<AudioStream> audio_streams;

    bool operator==(const MediaInfo&) const = default;
};

} // namespace ondrel
