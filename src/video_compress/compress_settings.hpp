// The one-line text under which the compression choices are remembered between runs:
// codec=h264|enc=auto|res=0|w=1920|up=0|q=60|speed=1|audio=copy|cont=mp4|hw=1|dir=
#pragma once

#include "video_compress/options.hpp"

#include <string>
#include <string_view>

namespace ondrel {

// Starts from the defaults; unknown keys, bad values and pieces without "=" are ignored,
// so this never fails. The audio stream choice is never part of the text.
CompressOptions parse_compress_settings(std::string_view text);

// The text that parse_compress_settings reads back as the same options (the AAC bit rate
// is kept only while the audio mode is AAC).
std::string format_compress_settings(const CompressOptions& options);

} // namespace ondrel
