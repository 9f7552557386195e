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

// The options in the settings text's words, with the AAC rate the text leaves out.
std::string described(const CompressOptions& o) {
    return format_compress_settings(o) + " (AAC at " + std::to_string(o.aac_kbps) + " kb/s)";
}

// Each text read on its own gives the defaults with the row's changes, and nothing else.
TEST(CompressSettings, EveryKeyAndValue) {
    using O = CompressOptions;
    struct Case {
        const char* text;
        void (*change)(CompressOptions&);
    };
    const auto unchanged = [](O&) {};
    const Case cases[] = {
        {"codec=h265", [](O& o) { o.codec = VideoCodec::H265; }},
        {"codec=H265", unchanged},
        {"codec=hevc", unchanged},
        {"enc=amf", [](O& o) { o.encoder = EncoderFamily::Amf; }},
        {"enc=nvenc", [](O& o) { o.encoder = EncoderFamily::Nvenc; }},
        {"enc=qsv", [](O& o) { o.encoder = EncoderFamily::Qsv; }},
        {"enc=mf", [](O& o) { o.encoder = EncoderFamily::MediaFoundation; }},
        {"enc=sw", [](O& o) { o.encoder = EncoderFamily::Software; }},
        {"enc=sw|enc=auto", unchanged},
        {"enc=SW", unchanged},
        {"res=7", [](O& o) { o.resolution = 7; }},
        {"res=+4", [](O& o) { o.resolution = 4; }},
        {"res=04", [](O& o) { o.resolution = 4; }},
        {"res=3|res=8", unchanged},
        {"res=3|res=", unchanged},
        {"res=-1", unchanged},
        {"res=260", unchanged},
        {"res= 3", unchanged},
        {"w=+1280", [](O& o) { o.custom_width = 1280; }},
        {"w=4294967295", [](O& o) { o.custom_width = 4294967295u; }},
        {"w=4294967296", unchanged},
        {"w=100", [](O& o) { o.custom_width = 100; }},
        {"w=800|w=x", unchanged},
        {"w=+", unchanged},
        {"up=1", [](O& o) { o.allow_upscale = true; }},
        {"up=true", unchanged},
        {"up=01", unchanged},
        {"q=0", [](O& o) { o.quality = 0; }},
        {"q=100", [](O& o) { o.quality = 100; }},
        {"q=101", [](O& o) { o.quality = 100; }},
        {"q=4294967295", [](O& o) { o.quality = 100; }},
        {"q=-5", unchanged},
        {"q=33", [](O& o) { o.quality = 33; }},
        {"speed=0", [](O& o) { o.speed = SpeedPreset::Fast; }},
        {"speed=2", [](O& o) { o.speed = SpeedPreset::Slow; }},
        {"speed=3", [](O& o) { o.speed = SpeedPreset::Max; }},
        {"speed=0|speed=4", unchanged},
        {"audio=none", [](O& o) { o.audio = AudioMode::None; }},
        {"audio=aac:256", [](O& o) { o.audio = AudioMode::Aac, o.aac_kbps = 256; }},
        {"audio=aac:+64", [](O& o) { o.audio = AudioMode::Aac, o.aac_kbps = 64; }},
        // The rate is clamped only when it is used.
        {"audio=aac:9999", [](O& o) { o.audio = AudioMode::Aac, o.aac_kbps = 9999; }},
        {"audio=aac:loud", [](O& o) { o.audio = AudioMode::Aac; }},
        {"audio=aac", unchanged},
        {"audio=aac:64|audio=copy", unchanged},
        {"audio=aac:64|audio=none|audio=aac:", [](O& o) { o.audio = AudioMode::Aac; }},
        {"audio=NONE", unchanged},
        {"cont=mkv", [](O& o) { o.container = Container::Mkv; }},
        {"cont=MKV", unchanged},
        {"hw=0", [](O& o) { o.hw_decode = false; }},
        {"hw=false", unchanged},
        {"hw=0|hw=", unchanged},
        {"dir=D:\\Vidéos\\out", [](O& o) { o.output_dir = path_from_utf8("D:\\Vidéos\\out"); }},
        // Later "=" signs belong to the value.
        {"dir=/a=b", [](O& o) { o.output_dir = path_from_utf8("/a=b"); }},
        {"dir=/x|dir=", unchanged},
        // Keys are neither trimmed nor case-folded; pieces without "=" and unknown keys are
        // ignored.
        {" q=10", unchanged},
        {"Q=10", unchanged},
        {"q =10", unchanged},
        {"q=10 ", unchanged},
        {"q10|speed=0|colour=red||=", [](O& o) { o.speed = SpeedPreset::Fast; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CompressOptions expected;
        c.change(expected);
        const CompressOptions options = parse_compress_settings(c.text);
        EXPECT_TRUE(options == expected)
            << "read as  " << described(options) << "\nexpected " << described(expected);
    }
}

TEST(CompressSettings, BadValuesFallBackToDefaults) {
    const CompressOptions options =
        parse_compress_settings("q=250|w=abc|res=9|speed=7|audio=aac:|hw=|up=true");
    // Only the quality (clamped) and the audio mode (without its rate) are taken.
    CompressOptions expected;
    expected.quality = 100;
    expected.audio = AudioMode::Aac;
    EXPECT_TRUE(options == expected) << described(options);
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
