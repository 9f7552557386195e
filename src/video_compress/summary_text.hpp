// The texts that sum up a probed video and the encode the options lead to.
#pragma once

#include "video_compress/media_info.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ondrel {

// "1920x1080   |   H264   |   29.97 fps   |   2 min 05 s   |   1.5 MB   |   8.0 Mb/s"; the bit
// rate part only when the bit rate is known.
std::string info_line(const MediaInfo& info);

// "Audio tracks: fre aac 2ch  ·  eng ac3 6ch"; empty when the file has no audio stream.
std::string audio_tracks_line(const MediaInfo& info);

// "Encoder: libx264", followed by "  -  Estimated size: ~12.3 MB" when there is an estimate.
std::string encoder_line(std::string_view encoder, std::optional<std::uint64_t> estimate);

// Capital letters for the letters that have a simple one-letter capital (Latin, Greek,
// Cyrillic); ß becomes SS; everything else unchanged.
std::string upper_case(std::string_view utf8);

} // namespace ondrel
