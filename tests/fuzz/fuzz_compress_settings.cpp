// The remembered compression choices, as a hand-edited settings file might hold them.
#include "video_compress/compress_settings.hpp"
#include "video_compress/ffmpeg_args.hpp"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const ondrel::CompressOptions options = ondrel::parse_compress_settings(text);
    if (options.quality > 100 || options.resolution >= ondrel::resolution_count) {
        std::abort();
    }
    // What is written reads back as the same choices and is written the same again.
    const std::string written = ondrel::format_compress_settings(options);
    const ondrel::CompressOptions reread = ondrel::parse_compress_settings(written);
    if (ondrel::format_compress_settings(reread) != written || reread.quality != options.quality ||
        reread.codec != options.codec || reread.audio != options.audio ||
        reread.aac_kbps != options.aac_kbps) {
        std::abort();
    }
    return 0;
}
