// Fitting an encode into a target size: the size notation, the plan (bit rate, refusals and
// the suggested resolution), the audio's share, the retry's lower rate and the argument lists.
#include "video_compress/target_size.hpp"

#include <algorithm>
#include <gtest/gtest.h>

namespace ondrel {
namespace {

TEST(TargetSize, Notation) {
    const std::pair<const char*, std::optional<std::uint64_t>> cases[] = {
        {"25MB", 25'000'000},
        {"8MiB", 8 * 1024 * 1024},
        {"500KB", 500'000},
        {"1.5GB", 1'500'000'000},
        {"2KiB", 2048},
        {"1GiB", 1024ull * 1024 * 1024},
        {"123456", 123456},
        {"0.5KB", 500},
        {"", std::nullopt},
        {"0", std::nullopt},
        {"0.0001KB", std::nullopt}, // less than a byte
        {"-5MB", std::nullopt},
        {"5 MB", std::nullopt},
        {"5TB", std::nullopt},
        {"1.", std::nullopt},
        {".5MB", std::nullopt},
        {"99999999999GB", std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(parse_target_size(text), expected) << text;
    }
}

MediaInfo source_720p() {
    MediaInfo info;
    info.path = "/v/clip.mp4";
    info.duration = 60;
    info.size = 100'000'000;
    info.width = 1280;
    info.height = 720;
    info.fps = 30;
    info.first_audio_codec = "aac";
    info.audio_streams = {{"aac", "eng", 2, 128000}};
    return info;
}

CompressOptions with_audio(AudioMode audio) {
    CompressOptions options;
    options.audio = audio;
    options.aac_kbps = 128;
    return options;
}

TEST(TargetSize, ContainerAllowanceCoversWhatWasMeasured) {
    // An mp4 of 30 s at 30 fps with AAC, about 2 MB, carried 33356 bytes beyond its packets;
    // its mkv copy 16499.
    MediaInfo source = source_720p();
    source.duration = 30;
    CompressOptions options = with_audio(AudioMode::Aac);
    const std::uint64_t mp4 = container_allowance(options, source, 2'000'000);
    EXPECT_GE(mp4, 33356u);
    EXPECT_LE(mp4, 2'000'000u * 5 / 100);
    options.container = Container::Mkv;
    const std::uint64_t mkv = container_allowance(options, source, 2'000'000);
    EXPECT_GE(mkv, 16499u);
    EXPECT_LT(mkv, mp4);
}

TEST(TargetSize, AudioShare) {
    MediaInfo two = source_720p();
    two.audio_streams = {{"aac", "eng", 2, 128000}, {"ac3", "fre", 6, 64000}};
    MediaInfo unknown = source_720p();
    unknown.audio_streams = {{"aac", "eng", 2, 0}};
    MediaInfo dts = source_720p();
    dts.audio_streams = {{"dts", "eng", 6, 1'500'000}};
    dts.first_audio_codec = "dts";
    CompressOptions second = with_audio(AudioMode::Copy);
    second.audio_stream = 1;
    struct Case {
        const char* what;
        CompressOptions options;
        MediaInfo source;
        std::uint64_t bits;
        bool aac_instead;
    };
    const Case cases[] = {
        {"none", with_audio(AudioMode::None), two, 0, false},
        {"aac, each stream", with_audio(AudioMode::Aac), two, 2 * 128000, false},
        {"copy, each stream", with_audio(AudioMode::Copy), two, 128000 + 64000, false},
        {"copy, the second", second, two, 64000, false},
        {"copy, size unknown", with_audio(AudioMode::Copy), unknown, 128000, true},
        {"copy of dts into mp4 is AAC", with_audio(AudioMode::Copy), dts, 192000, false},
    };
    for (const Case& c : cases) {
        const AudioPlan plan = plan_audio(c.options, c.source);
        EXPECT_EQ(plan.bits_per_second, c.bits) << c.what;
        EXPECT_EQ(plan.aac_instead_of_copy, c.aac_instead) << c.what;
    }
}

TEST(TargetSize, VideoGetsWhatAudioAndContainerLeave) {
    const MediaInfo source = source_720p();
    const CompressOptions options = with_audio(AudioMode::Aac);
    const std::uint64_t target = 20'000'000;
    const TargetPlan plan = plan_target(target, options, source, "libx264");
    ASSERT_EQ(plan.refusal, TargetRefusal::None);
    const std::uint64_t audio = 128000 / 8 * 60;
    EXPECT_EQ(plan.fixed_bytes, audio + container_allowance(options, source, target));
    const double video_bits = static_cast<double>(target - plan.fixed_bytes) * 8;
    EXPECT_EQ(plan.video_kbps, static_cast<std::uint32_t>(video_bits / 60 / 1000));
    // 0.01 bit per pixel of each frame.
    EXPECT_EQ(plan.floor_kbps, 1280u * 720 * 30 / 100 / 1000);

    // Hardware encoders aim 6 % lower.
    const TargetPlan hardware = plan_target(target, options, source, "h264_nvenc");
    ASSERT_EQ(hardware.refusal, TargetRefusal::None);
    EXPECT_NEAR(hardware.video_kbps, plan.video_kbps * 0.94, 1.0);
}

TEST(TargetSize, RefusalsAndTheSuggestedResolution) {
    MediaInfo no_duration = source_720p();
    no_duration.duration = 0;
    CompressOptions h265 = with_audio(AudioMode::None);
    h265.codec = VideoCodec::H265;
    CompressOptions upscaled_1080p = with_audio(AudioMode::None);
    upscaled_1080p.resolution = 3;
    upscaled_1080p.allow_upscale = true;
    struct Case {
        const char* what;
        std::uint64_t target;
        CompressOptions options;
        MediaInfo source;
        TargetRefusal refusal;
        std::optional<std::uint8_t> suggested;
        std::uint32_t suggested_height;
    };
    const Case cases[] = {
        {"reachable", 20'000'000, with_audio(AudioMode::Aac), source_720p(), TargetRefusal::None,
         std::nullopt, 0},
        {"no duration", 20'000'000, with_audio(AudioMode::Aac), no_duration,
         TargetRefusal::UnknownDuration, std::nullopt, 0},
        {"as large as the source", 100'000'000, with_audio(AudioMode::Aac), source_720p(),
         TargetRefusal::NotSmaller, std::nullopt, 0},
        {"audio alone is larger", 900'000, with_audio(AudioMode::Aac), source_720p(),
         TargetRefusal::AudioTooLarge, std::nullopt, 0},
        // About 260 kbit/s for 720p, which needs 276: 480p needs 122.
        {"720p too thin", 2'000'000, with_audio(AudioMode::None), source_720p(),
         TargetRefusal::BelowFloor, std::uint8_t{5}, 480},
        // About 290 kbit/s: too thin for 1080p, enough for the 720p source left as it is.
        {"enlarged to 1080p", 2'200'000, upscaled_1080p, source_720p(), TargetRefusal::BelowFloor,
         resolution_original, 720},
        // H.265 needs a third less: 193 kbit/s at 720p.
        {"enough for H.265", 2'000'000, h265, source_720p(), TargetRefusal::None, std::nullopt, 0},
        // About 35 kbit/s: even 360p needs 69.
        {"too thin at any size", 300'000, with_audio(AudioMode::None), source_720p(),
         TargetRefusal::BelowFloor, std::nullopt, 0},
    };
    for (const Case& c : cases) {
        const TargetPlan plan = plan_target(c.target, c.options, c.source, "libx264");
        EXPECT_EQ(plan.refusal, c.refusal) << c.what;
        EXPECT_EQ(plan.suggested_resolution, c.suggested) << c.what;
        EXPECT_EQ(plan.suggested_height, c.suggested_height) << c.what;
    }
}

TEST(TargetSize, RetryLowersTheVideoByTheExcess) {
    struct Case {
        std::uint32_t kbps;
        std::uint64_t actual;
        std::uint64_t target;
        std::uint64_t fixed;
        std::uint32_t expected;
    };
    const Case cases[] = {
        // 10 MB of video 1 MB over: 90 %, and 3 % more.
        {1000, 11'000'000, 10'000'000, 1'000'000, 873},
        // Over by more than the video holds: halved, and 3 % more.
        {1000, 3'000'000, 1'000'000, 2'500'000, 485},
        {1, 2'000'000, 1'000'000, 0, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(retry_kbps(c.kbps, c.actual, c.target, c.fixed), c.expected) << c.actual;
    }
}

bool has_run(const std::vector<std::string>& list, std::vector<std::string> run) {
    return std::search(list.begin(), list.end(), run.begin(), run.end()) != list.end();
}

bool has(const std::vector<std::string>& list, std::string_view word) {
    return std::find(list.begin(), list.end(), word) != list.end();
}

TEST(TargetSize, SoftwareEncodersTakeTwoPasses) {
    CompressOptions options = with_audio(AudioMode::Aac);
    options.resolution = 6;
    const auto passes = target_size_arguments(options, source_720p(), "libx264", false, 1000,
                                              "/tmp/logs/pass", "/v/out.part.mp4");
    ASSERT_EQ(passes.size(), 2u);
    for (const auto& pass : passes) {
        EXPECT_TRUE(has_run(pass, {"-vf", "scale=640:360:flags=lanczos"}));
        EXPECT_TRUE(has_run(pass, {"-c:v", "libx264", "-preset", "medium", "-b:v", "1000k",
                                   "-maxrate", "2000k", "-bufsize", "2000k"}));
        EXPECT_TRUE(has_run(pass, {"-passlogfile", "/tmp/logs/pass", "-pix_fmt", "yuv420p"}));
        EXPECT_FALSE(has(pass, "-crf"));
    }
    const auto& first = passes[0];
    EXPECT_TRUE(has_run(first, {"-pass", "1"}));
    EXPECT_TRUE(has_run(first, {"-an", "-f", "null", "-"}));
    EXPECT_EQ(first.back(), "-");
    EXPECT_FALSE(has(first, "0:a?"));
    const auto& second = passes[1];
    EXPECT_TRUE(has_run(second, {"-pass", "2"}));
    EXPECT_TRUE(has_run(second, {"-map", "0:a?"}));
    EXPECT_TRUE(has_run(second, {"-c:a", "aac", "-b:a", "128k"}));
    EXPECT_EQ(second.back(), "/v/out.part.mp4");

    // libx265 takes its pass and statistics file in its own parameters.
    options.codec = VideoCodec::H265;
    const auto x265 = target_size_arguments(options, source_720p(), "libx265", false, 1000,
                                            "C:/a=b/pass", "/v/out.part.mp4");
    ASSERT_EQ(x265.size(), 2u);
    EXPECT_TRUE(
        has_run(x265[0], {"-x265-params", "log-level=error:pass=1:stats=C\\:/a\\=b/pass.log"}));
    EXPECT_TRUE(
        has_run(x265[1], {"-x265-params", "log-level=error:pass=2:stats=C\\:/a\\=b/pass.log"}));
    EXPECT_FALSE(has(x265[0], "-pass"));
}

TEST(TargetSize, HardwareEncodersTakeOneCappedPass) {
    struct Case {
        const char* encoder;
        std::vector<std::string> mode;
    };
    const Case cases[] = {
        {"h264_nvenc", {"-rc", "vbr"}},
        {"h264_amf", {"-rc", "vbr_peak"}},
        {"h264_qsv", {"-preset", "medium"}},
        {"hevc_mf", {"-rate_control", "cbr"}},
    };
    for (const Case& c : cases) {
        const auto passes = target_size_arguments(with_audio(AudioMode::None), source_720p(),
                                                  c.encoder, false, 940, "/tmp/p", "/v/o.mp4");
        ASSERT_EQ(passes.size(), 1u) << c.encoder;
        const auto& pass = passes[0];
        EXPECT_TRUE(has_run(pass, c.mode)) << c.encoder;
        EXPECT_TRUE(has_run(pass, {"-b:v", "940k", "-maxrate", "940k", "-bufsize", "1880k",
                                   "-pix_fmt", "yuv420p", "-an"}))
            << c.encoder;
        for (const char* quality : {"-cq", "-qp_i", "-global_quality", "-pass"}) {
            EXPECT_FALSE(has(pass, quality)) << c.encoder << " " << quality;
        }
        EXPECT_EQ(pass.back(), "/v/o.mp4");
    }
}

} // namespace
} // namespace ondrel
