#include "platform/files.hpp"
#include "support/words.hpp"
#include "video_compress/ffmpeg_args.hpp"

#include <algorithm>
#include <gtest/gtest.h>
#include <tuple>

namespace ondrel {
namespace {

using Strings = std::vector<std::string>;
using testing::words;

MediaInfo source_with_audio(std::vector<AudioStream> streams) {
    MediaInfo info;
    info.path = path_from_utf8("/videos/holiday.mov");
    info.width = 1920;
    info.height = 1080;
    info.video_codec = "h264";
    info.first_audio_codec = streams.empty() ? "" : streams.front().codec;
    info.audio_streams = std::move(streams);
    return info;
}

// The arguments that follow the first occurrence of `flag`.
Strings after(const Strings& args, const std::string& flag, std::size_t count) {
    const auto it = std::find(args.begin(), args.end(), flag);
    if (it == args.end() || static_cast<std::size_t>(args.end() - it) <= count) {
        return {};
    }
    return Strings(it + 1, it + 1 + static_cast<std::ptrdiff_t>(count));
}

bool contains(const Strings& args, const std::string& value) {
    return std::find(args.begin(), args.end(), value) != args.end();
}

TEST(BuildFfmpegArgs, DefaultsGiveTheWholeListInOrder) {
    const MediaInfo source = source_with_audio({{"aac", "eng", 2}});
    const Strings args = build_ffmpeg_args(CompressOptions{}, source, {}, false,
                                           path_from_utf8("/videos/holiday_h264_1080p.mp4"));
    const Strings expected = words("-hide_banner -loglevel info -y -nostats -progress pipe:1 "
                                   "-i /videos/holiday.mov -map 0:v:0 -map 0:a? "
                                   "-c:v libx264 -preset medium -crf 26 -pix_fmt yuv420p -c:a copy "
                                   "-movflags +faststart /videos/holiday_h264_1080p.mp4");
    EXPECT_EQ(args, expected);
}

TEST(BuildFfmpegArgs, MkvWithScalingHardwareAndOneStream) {
    MediaInfo source = source_with_audio({{"dts", "fre", 6}, {"aac", "eng", 2}});
    source.video_stream = 2; // after two cover pictures
    CompressOptions options;
    options.container = Container::Mkv;
    options.resolution = 4;
    options.audio_stream = 1;
    options.codec = VideoCodec::H265;
    options.speed = SpeedPreset::Slow;
    options.quality = 0;
    const Strings args = build_ffmpeg_args(options, source, {"hevc_nvenc", "h264_nvenc"}, true,
                                           path_from_utf8("out.mkv"));
    const Strings expected = words("-hide_banner -loglevel info -y -nostats -progress pipe:1 "
                                   "-hwaccel auto -i /videos/holiday.mov "
                                   "-map 0:v:2 -map 0:a:1 -map 0:s? -c:s copy "
                                   "-vf scale=1280:720:flags=lanczos "
                                   "-c:v hevc_nvenc -preset p6 -rc vbr -cq 16 -b:v 0 "
                                   "-pix_fmt yuv420p -c:a copy out.mkv");
    EXPECT_EQ(args, expected);
}

TEST(BuildFfmpegArgs, HardwareDecodingNeedsBothFlags) {
    const MediaInfo source = source_with_audio({});
    for (const bool offered : {false, true}) {
        for (const bool wanted : {false, true}) {
            CompressOptions options;
            options.hw_decode = wanted;
            const Strings args = build_ffmpeg_args(options, source, {}, offered, "o.mp4");
            EXPECT_EQ(contains(args, "-hwaccel"), offered && wanted);
            // "-hwaccel auto" comes right before the input.
            EXPECT_EQ(args[7], offered && wanted ? "-hwaccel" : "-i");
        }
    }
}

TEST(BuildFfmpegArgs, AudioMapping) {
    struct Case {
        AudioMode mode;
        std::optional<std::size_t> stream;
        std::size_t stream_count;
        const char* map; // nullptr: no audio map at all
    };
    const Case cases[] = {
        {AudioMode::Copy, std::nullopt, 2, "0:a?"},
        {AudioMode::Copy, 0, 2, "0:a:0"},
        {AudioMode::Copy, 1, 2, "0:a:1"},
        {AudioMode::Copy, 3, 2, "0:a?"},
        {AudioMode::Copy, 2, 2, "0:a?"},
        {AudioMode::Aac, 1, 2, "0:a:1"},
        {AudioMode::Aac, 0, 0, "0:a?"},
        {AudioMode::None, 1, 2, nullptr},
        {AudioMode::None, std::nullopt, 0, nullptr},
    };
    for (const Case& c : cases) {
        MediaInfo source =
            source_with_audio(std::vector<AudioStream>(c.stream_count, AudioStream{"aac", "", 2}));
        CompressOptions options;
        options.audio = c.mode;
        options.audio_stream = c.stream;
        const Strings args = build_ffmpeg_args(options, source, {}, false, "o.mp4");
        const Strings maps = after(args, "0:v:0", 2);
        if (c.map == nullptr) {
            EXPECT_NE(maps.at(0), "-map");
            EXPECT_TRUE(contains(args, "-an"));
        } else {
            EXPECT_EQ(maps, (Strings{"-map", c.map}));
            EXPECT_FALSE(contains(args, "-an"));
        }
    }
}

TEST(AudioArguments, EveryRule) {
    struct Case {
        const char* name;
        AudioMode mode;
        Container container;
        std::vector<const char*> codecs; // the file's audio streams, in order
        std::optional<std::size_t> stream;
        std::uint32_t aac_kbps;
        const char* expected; // the arguments, separated by spaces
    };
    const auto none = std::nullopt;
    const auto Mp4 = Container::Mp4;
    const auto Mkv = Container::Mkv;
    const char* aac192 = "-c:a aac -b:a 192k";
    const char* copy = "-c:a copy";
    const Case cases[] = {
        {"none", AudioMode::None, Mp4, {"dts"}, none, 192, "-an"},
        {"aac", AudioMode::Aac, Mp4, {"aac"}, none, 192, aac192},
        {"aac low", AudioMode::Aac, Mkv, {}, none, 8, "-c:a aac -b:a 32k"},
        {"aac high", AudioMode::Aac, Mp4, {}, none, 9999, "-c:a aac -b:a 512k"},
        {"aac 320", AudioMode::Aac, Mp4, {}, none, 320, "-c:a aac -b:a 320k"},
        {"dts into mp4", AudioMode::Copy, Mp4, {"dts"}, none, 64, aac192},
        {"pcm into mp4", AudioMode::Copy, Mp4, {"pcm_s16le"}, none, 192, aac192},
        {"dts into mkv", AudioMode::Copy, Mkv, {"dts"}, none, 192, copy},
        {"pcm into mkv", AudioMode::Copy, Mkv, {"pcm_s16le"}, none, 192, copy},
        {"aac then dts, all", AudioMode::Copy, Mp4, {"aac", "dts"}, none, 192, copy},
        {"aac then dts, second", AudioMode::Copy, Mp4, {"aac", "dts"}, 1, 192, aac192},
        {"dts then aac, second", AudioMode::Copy, Mp4, {"dts", "aac"}, 1, 192, copy},
        {"stream out of range", AudioMode::Copy, Mp4, {"dts", "aac"}, 5, 192, aac192},
        {"no audio", AudioMode::Copy, Mp4, {}, none, 192, copy},
        {"unknown codec", AudioMode::Copy, Mp4, {"?"}, none, 192, aac192},
        {"capital AAC", AudioMode::Copy, Mp4, {"AAC"}, none, 192, aac192},
        {"mp3", AudioMode::Copy, Mp4, {"mp3"}, none, 192, copy},
        {"ac3", AudioMode::Copy, Mp4, {"ac3"}, none, 192, copy},
        {"eac3", AudioMode::Copy, Mp4, {"eac3"}, none, 192, copy},
        {"opus", AudioMode::Copy, Mp4, {"opus"}, none, 192, copy},
        {"flac", AudioMode::Copy, Mp4, {"flac"}, none, 192, copy},
        {"alac", AudioMode::Copy, Mp4, {"alac"}, none, 192, copy},
        {"vorbis", AudioMode::Copy, Mp4, {"vorbis"}, none, 192, aac192},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<AudioStream> streams;
        for (const char* codec : c.codecs) {
            streams.push_back({codec, "", 2});
        }
        const MediaInfo source = source_with_audio(streams);
        CompressOptions options;
        options.audio = c.mode;
        options.container = c.container;
        options.audio_stream = c.stream;
        options.aac_kbps = c.aac_kbps;
        const Strings expected = words(c.expected);
        EXPECT_EQ(audio_arguments(options, source), expected);
        // The same arguments end the full list, before the container's own.
        const Strings args = build_ffmpeg_args(options, source, {}, false, "o");
        const std::size_t tail = c.container == Container::Mp4 ? 3 : 1;
        ASSERT_GT(args.size(), expected.size() + tail);
        EXPECT_EQ(Strings(args.end() - static_cast<std::ptrdiff_t>(expected.size() + tail),
                          args.end() - static_cast<std::ptrdiff_t>(tail)),
                  expected);
    }
}

TEST(BuildFfmpegArgs, ContainerParts) {
    const MediaInfo source = source_with_audio({{"aac", "", 2}});
    CompressOptions options;
    options.container = Container::Mkv;
    Strings args = build_ffmpeg_args(options, source, {}, false, "o.mkv");
    EXPECT_EQ(after(args, "0:a?", 4), (Strings{"-map", "0:s?", "-c:s", "copy"}));
    EXPECT_FALSE(contains(args, "-movflags"));
    options.container = Container::Mp4;
    args = build_ffmpeg_args(options, source, {}, false, "o.mp4");
    EXPECT_FALSE(contains(args, "0:s?"));
    EXPECT_FALSE(contains(args, "-c:s"));
    EXPECT_EQ(Strings(args.end() - 3, args.end()), (Strings{"-movflags", "+faststart", "o.mp4"}));
}

TEST(BuildFfmpegArgs, ScaleFilter) {
    struct Case {
        std::uint32_t width, height;
        std::uint8_t resolution;
        bool upscale;
        const char* filter; // nullptr: no "-vf"
    };
    const Case cases[] = {
        {1920, 1080, 4, false, "scale=1280:720:flags=lanczos"},
        {1920, 1080, 1, false, nullptr},
        {1440, 1080, 3, false, nullptr},
        {1440, 1080, 3, true, "scale=1920:1440:flags=lanczos"},
        {1920, 1080, 3, true, "scale=1920:1080:flags=lanczos"},
        {720, 576, 5, true, "scale=854:682:flags=lanczos"},
        {720, 576, 5, false, nullptr},
        {1920, 1080, 0, true, nullptr},
    };
    for (const Case& c : cases) {
        MediaInfo source = source_with_audio({});
        source.width = c.width;
        source.height = c.height;
        CompressOptions options;
        options.resolution = c.resolution;
        options.allow_upscale = c.upscale;
        const Strings args = build_ffmpeg_args(options, source, {}, false, "o.mp4");
        if (c.filter == nullptr) {
            EXPECT_FALSE(contains(args, "-vf"));
        } else {
            EXPECT_EQ(after(args, "-vf", 2), (Strings{c.filter, "-c:v"}));
        }
    }
}

// Each family's encoder follows "-c:v" with its own arguments; a name the program does not
// know gets none, not even the pixel format.
TEST(BuildFfmpegArgs, UnknownEncoderGetsNoEncoderArguments) {
    const std::tuple<EncoderFamily, VideoCodec, const char*> cases[] = {
        {EncoderFamily::Automatic, VideoCodec::H264, "libx264 -preset medium -crf"},
        {EncoderFamily::Amf, VideoCodec::H265, "hevc_amf -quality balanced -rc"},
        {EncoderFamily::Nvenc, VideoCodec::H264, "h264_nvenc -preset p5 -rc"},
        {EncoderFamily::Qsv, VideoCodec::H265, "hevc_qsv -preset medium -global_quality"},
        {EncoderFamily::MediaFoundation, VideoCodec::H264,
         "h264_mf -rate_control quality -quality"},
        {EncoderFamily::Software, VideoCodec::H265, "libx265 -crf 26 -preset"},
    };
    for (const auto& [family, codec, arguments] : cases) {
        const Strings expected = words(arguments);
        CompressOptions options;
        options.encoder = family;
        options.codec = codec;
        const Strings args = build_ffmpeg_args(options, source_with_audio({}), {}, false, "o.mp4");
        EXPECT_EQ(after(args, "-c:v", expected.size()), expected) << arguments;
    }
    for (const char* unknown : {"h264_vaapi", "libsvtav1", ""}) {
        EXPECT_EQ(encoder_arguments(unknown, CompressOptions{}), Strings{}) << unknown;
    }
}

TEST(BuildFfmpegArgs, PathsAsText) {
    MediaInfo source = source_with_audio({});
    source.path = path_from_utf8("/vidéos/été 2024/clip \"1\".mkv");
    const Strings args =
        build_ffmpeg_args(CompressOptions{}, source, {}, false, path_from_utf8("/sortie/é.mp4"));
    EXPECT_EQ(after(args, "-i", 1), Strings{"/vidéos/été 2024/clip \"1\".mkv"});
    EXPECT_EQ(args.back(), "/sortie/é.mp4");
}

} // namespace
} // namespace ondrel
