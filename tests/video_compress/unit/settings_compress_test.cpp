#include "video_compress/compress_settings.hpp"

#include "platform/files.hpp"

#include <gtest/gtest.h>

namespace ondrel {
namespace {

constexpr std::string_view default_text =
    "codec=h264|enc=auto|res=0|w=1920|up=0|q=60|speed=1|audio=copy|cont=mp4|hw=1|dir=";

TEST(CompressSettings, DefaultsReadAsTheDocumentedText) {
    EXPECT_EQ(format_compress_settings(CompressOptions{}), default_text);
    EXPECT_EQ(parse_compress_settings(default_text), CompressOptions{});
    EXPECT_EQ(parse_compress_settings(""), CompressOptions{});
}

TEST(CompressSettings, EveryKeyAndValue) {
    struct Case {
        const char* text;
        void (*expect)(const CompressOptions&);
    };
    const Case cases[] = {
        {"codec=h265", [](const CompressOptions& o) { EXPECT_EQ(o.codec, VideoCodec::H265); }},
        {"codec=H265", [](const CompressOptions& o) { EXPECT_EQ(o.codec, VideoCodec::H264); }},
        {"codec=hevc", [](const CompressOptions& o) { EXPECT_EQ(o.codec, VideoCodec::H264); }},
        {"enc=amf", [](const CompressOptions& o) { EXPECT_EQ(o.encoder, EncoderFamily::Amf); }},
        {"enc=nvenc", [](const CompressOptions& o) { EXPECT_EQ(o.encoder, EncoderFamily::Nvenc); }},
        {"enc=qsv", [](const CompressOptions& o) { EXPECT_EQ(o.encoder, EncoderFamily::Qsv); }},
        {"enc=mf",
         [](const CompressOptions& o) { EXPECT_EQ(o.encoder, EncoderFamily::MediaFoundation); }},
        {"enc=sw", [](const CompressOptions& o) { EXPECT_EQ(o.encoder, EncoderFamily::Software); }},
        {"enc=sw|enc=auto",
         [](const CompressOptions& o) { EXPECT_EQ(o.encoder, EncoderFamily::Automatic); }},
        {"enc=SW",
         [](const CompressOptions& o) { EXPECT_EQ(o.encoder, EncoderFamily::Automatic); }},
        {"res=7", [](const CompressOptions& o) { EXPECT_EQ(o.resolution, 7); }},
        {"res=+4", [](const CompressOptions& o) { EXPECT_EQ(o.resolution, 4); }},
        {"res=04", [](const CompressOptions& o) { EXPECT_EQ(o.resolution, 4); }},
        {"res=3|res=8", [](const CompressOptions& o) { EXPECT_EQ(o.resolution, 0); }},
        {"res=3|res=", [](const CompressOptions& o) { EXPECT_EQ(o.resolution, 0); }},
        {"res=-1", [](const CompressOptions& o) { EXPECT_EQ(o.resolution, 0); }},
        {"res=260", [](const CompressOptions& o) { EXPECT_EQ(o.resolution, 0); }},
        {"res= 3", [](const CompressOptions& o) { EXPECT_EQ(o.resolution, 0); }},
        {"w=+1280", [](const CompressOptions& o) { EXPECT_EQ(o.custom_width, 1280u); }},
        {"w=4294967295", [](const CompressOptions& o) { EXPECT_EQ(o.custom_width, 4294967295u); }},
        {"w=4294967296", [](const CompressOptions& o) { EXPECT_EQ(o.custom_width, 1920u); }},
        {"w=100", [](const CompressOptions& o) { EXPECT_EQ(o.custom_width, 100u); }},
        {"w=800|w=x", [](const CompressOptions& o) { EXPECT_EQ(o.custom_width, 1920u); }},
        {"w=+", [](const CompressOptions& o) { EXPECT_EQ(o.custom_width, 1920u); }},
        {"up=1", [](const CompressOptions& o) { EXPECT_TRUE(o.allow_upscale); }},
        {"up=true", [](const CompressOptions& o) { EXPECT_FALSE(o.allow_upscale); }},
        {"up=01", [](const CompressOptions& o) { EXPECT_FALSE(o.allow_upscale); }},
        {"q=0", [](const CompressOptions& o) { EXPECT_EQ(o.quality, 0u); }},
        {"q=100", [](const CompressOptions& o) { EXPECT_EQ(o.quality, 100u); }},
        {"q=101", [](const CompressOptions& o) { EXPECT_EQ(o.quality, 100u); }},
        {"q=4294967295", [](const CompressOptions& o) { EXPECT_EQ(o.quality, 100u); }},
        {"q=-5", [](const CompressOptions& o) { EXPECT_EQ(o.quality, 60u); }},
        {"q=33", [](const CompressOptions& o) { EXPECT_EQ(o.quality, 33u); }},
        {"speed=0", [](const CompressOptions& o) { EXPECT_EQ(o.speed, SpeedPreset::Fast); }},
        {"speed=2", [](const CompressOptions& o) { EXPECT_EQ(o.speed, SpeedPreset::Slow); }},
        {"speed=3", [](const CompressOptions& o) { EXPECT_EQ(o.speed, SpeedPreset::Max); }},
        {"speed=0|speed=4",
         [](const CompressOptions& o) { EXPECT_EQ(o.speed, SpeedPreset::Balanced); }},
        {"audio=none", [](const CompressOptions& o) { EXPECT_EQ(o.audio, AudioMode::None); }},
        {"audio=aac:256",
         [](const CompressOptions& o) {
             EXPECT_EQ(o.audio, AudioMode::Aac);
             EXPECT_EQ(o.aac_kbps, 256u);
         }},
        {"audio=aac:+64",
         [](const CompressOptions& o) {
             EXPECT_EQ(o.audio, AudioMode::Aac);
             EXPECT_EQ(o.aac_kbps, 64u);
         }},
        {"audio=aac:9999",
         [](const CompressOptions& o) { EXPECT_EQ(o.aac_kbps, 9999u); }}, // clamped only when used
        {"audio=aac:loud",
         [](const CompressOptions& o) {
             EXPECT_EQ(o.audio, AudioMode::Aac);
             EXPECT_EQ(o.aac_kbps, 192u);
         }},
        {"audio=aac", [](const CompressOptions& o) { EXPECT_EQ(o.audio, AudioMode::Copy); }},
        {"audio=aac:64|audio=copy",
         [](const CompressOptions& o) {
             EXPECT_EQ(o.audio, AudioMode::Copy);
             EXPECT_EQ(o.aac_kbps, 192u);
         }},
        {"audio=aac:64|audio=none|audio=aac:",
         [](const CompressOptions& o) {
             EXPECT_EQ(o.audio, AudioMode::Aac);
             EXPECT_EQ(o.aac_kbps, 192u);
         }},
        {"audio=NONE", [](const CompressOptions& o) { EXPECT_EQ(o.audio, AudioMode::Copy); }},
        {"cont=mkv", [](const CompressOptions& o) { EXPECT_EQ(o.container, Container::Mkv); }},
        {"cont=MKV", [](const CompressOptions& o) { EXPECT_EQ(o.container, Container::Mp4); }},
        {"hw=0", [](const CompressOptions& o) { EXPECT_FALSE(o.hw_decode); }},
        {"hw=false", [](const CompressOptions& o) { EXPECT_TRUE(o.hw_decode); }},
        {"hw=0|hw=", [](const CompressOptions& o) { EXPECT_TRUE(o.hw_decode); }},
        {"dir=D:\\Vidéos\\out",
         [](const CompressOptions& o) {
             ASSERT_TRUE(o.output_dir.has_value());
             EXPECT_EQ(path_to_utf8(*o.output_dir), "D:\\Vidéos\\out");
         }},
        {"dir=/a=b", // later "=" signs belong to the value
         [](const CompressOptions& o) {
             ASSERT_TRUE(o.output_dir.has_value());
             EXPECT_EQ(path_to_utf8(*o.output_dir), "/a=b");
         }},
        {"dir=/x|dir=", [](const CompressOptions& o) { EXPECT_FALSE(o.output_dir.has_value()); }},
        // Keys are neither trimmed nor case-folded; pieces without "=" and unknown keys are
        // ignored.
        {" q=10", [](const CompressOptions& o) { EXPECT_EQ(o.quality, 60u); }},
        {"Q=10", [](const CompressOptions& o) { EXPECT_EQ(o.quality, 60u); }},
        {"q =10", [](const CompressOptions& o) { EXPECT_EQ(o.quality, 60u); }},
        {"q=10 ", [](const CompressOptions& o) { EXPECT_EQ(o.quality, 60u); }},
        {"q10|speed=0|colour=red||=",
         [](const CompressOptions& o) {
             EXPECT_EQ(o.quality, 60u);
             EXPECT_EQ(o.speed, SpeedPreset::Fast);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const CompressOptions options = parse_compress_settings(c.text);
        EXPECT_FALSE(options.audio_stream.has_value());
        c.expect(options);
    }
}

TEST(CompressSettings, BadValuesFallBackToDefaults) {
    const CompressOptions options =
        parse_compress_settings("q=250|w=abc|res=9|speed=7|audio=aac:|hw=|up=true");
    EXPECT_EQ(options.quality, 100u);
    EXPECT_EQ(options.custom_width, 1920u);
    EXPECT_EQ(options.resolution, resolution_original);
    EXPECT_EQ(options.speed, SpeedPreset::Balanced);
    EXPECT_EQ(options.audio, AudioMode::Aac);
    EXPECT_EQ(options.aac_kbps, 192u);
    EXPECT_TRUE(options.hw_decode);
    EXPECT_FALSE(options.allow_upscale);
}

TEST(CompressSettings, FormatReadsBackAsTheSameOptions) {
    CompressOptions everything_changed;
    everything_changed.output_dir = path_from_utf8("C:\\Users\\Zoé\\Vidéos");
    everything_changed.audio = AudioMode::Aac;
    everything_changed.aac_kbps = 320;
    everything_changed.custom_width = 1001;
    everything_changed.quality = 0;
    everything_changed.codec = VideoCodec::H265;
    everything_changed.allow_upscale = true;
    everything_changed.container = Container::Mkv;
    everything_changed.hw_decode = false;
    everything_changed.speed = SpeedPreset::Max;
    everything_changed.encoder = EncoderFamily::MediaFoundation;
    everything_changed.resolution = resolution_custom;
    EXPECT_EQ(format_compress_settings(everything_changed),
              "codec=h265|enc=mf|res=7|w=1001|up=1|q=0|speed=3|audio=aac:320|cont=mkv|hw=0|"
              "dir=C:\\Users\\Zoé\\Vidéos");

    std::vector<CompressOptions> samples{CompressOptions{}, everything_changed};
    for (std::uint8_t family = 0; family < encoder_family_count; ++family) {
        for (std::uint8_t speed = 0; speed < speed_count; ++speed) {
            CompressOptions o;
            o.encoder = static_cast<EncoderFamily>(family);
            o.speed = static_cast<SpeedPreset>(speed);
            o.resolution = static_cast<std::uint8_t>((family + speed) % resolution_count);
            o.audio = static_cast<AudioMode>(speed % audio_mode_count);
            o.aac_kbps = o.audio == AudioMode::Aac ? 96 : default_aac_kbps;
            samples.push_back(o);
        }
    }
    for (const CompressOptions& options : samples) {
        const std::string text = format_compress_settings(options);
        SCOPED_TRACE(text);
        EXPECT_EQ(parse_compress_settings(text), options);
    }
}

TEST(CompressSettings, AudioStreamAndUnusedBitRateAreNotKept) {
    CompressOptions options;
    options.audio_stream = 1;
    options.aac_kbps = 64; // not AAC: the rate is not stored
    const CompressOptions back = parse_compress_settings(format_compress_settings(options));
    EXPECT_FALSE(back.audio_stream.has_value());
    EXPECT_EQ(back.aac_kbps, 192u);
}

} // namespace
} // namespace ondrel
