// ffprobe's JSON report, as a damaged or hostile file can make it, and everything shown of it
// before an encode.
#include "video_compress/estimate.hpp"
#include "video_compress/ffmpeg_args.hpp"
#include "video_compress/probe.hpp"
#include "video_compress/summary_text.hpp"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view report(reinterpret_cast<const char*>(data), size);
    const auto media = ondrel::parse_probe_json(report, "video.mp4");
    if (!media) {
        if (media.error().empty()) {
            std::abort(); // a failure always says why
        }
        return 0;
    }
    const ondrel::MediaInfo& info = media.value();
    ondrel::CompressOptions options;
    options.audio = ondrel::AudioMode::Aac;
    const auto estimate = ondrel::size_estimate(info, options);
    (void)ondrel::info_line(info);
    (void)ondrel::audio_tracks_line(info);
    (void)ondrel::encoder_line("libx264", estimate);
    return 0;
}
