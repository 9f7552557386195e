// Turning ffprobe's JSON report into a MediaInfo: every field rule and the odd reports.
#include "support/temporary_folder.hpp"
#include "video_compress/probe.hpp"

#include <fstream>
#include <gtest/gtest.h>
#include <tuple>

namespace ondrel {
namespace {

const std::filesystem::path no_file = "/nonexistent/ondrel/clip.mp4";

MediaInfo parse(const std::string& json) {
    auto info = parse_probe_json(json, no_file);
    EXPECT_TRUE(info) << json << ": " << info.error();
    return info ? info.value() : MediaInfo{};
}

std::string with_video(const std::string& fields) {
    return R"({"streams":[{"codec_type":"video")" + (fields.empty() ? "" : "," + fields) + "}]}";
}

TEST(ProbeJson, ATypicalReport) {
    const MediaInfo info = parse(R"({
        "streams": [
            {"index": 0, "codec_type": "video", "codec_name": "h264", "width": 1920,
             "height": 1080, "pix_fmt": "yuv420p", "avg_frame_rate": "30000/1001",
             "r_frame_rate": "60/1", "bit_rate": "4500000"},
            {"index": 1, "codec_type": "audio", "codec_name": "aac", "channels": 2,
             "bit_rate": "128000", "tags": {"language": "fre"}},
            {"index": 2, "codec_type": "audio", "codec_name": "ac3", "channels": 6},
            {"index": 3, "codec_type": "subtitle", "codec_name": "subrip"}
        ],
        "format": {"format_name": "mov,mp4,m4a,3gp,3g2,mj2", "duration": "61.500000",
                   "bit_rate": "4700000"}
    } )");
    EXPECT_EQ(info.path, no_file);
    EXPECT_EQ(info.format_name, "mov,mp4,m4a,3gp,3g2,mj2");
    EXPECT_EQ(info.duration, 61.5);
    EXPECT_EQ(info.bit_rate, 4500000u);
    EXPECT_EQ(info.size, 0u);
    EXPECT_EQ(info.video_codec, "h264");
    EXPECT_EQ(info.width, 1920u);
    EXPECT_EQ(info.height, 1080u);
    EXPECT_EQ(info.pix_fmt, "yuv420p");
    EXPECT_DOUBLE_EQ(info.fps, 30000.0 / 1001.0);
    EXPECT_EQ(info.first_audio_codec, "aac");
    EXPECT_EQ(info.audio_streams,
              (std::vector<AudioStream>{{"aac", "fre", 2, 128000}, {"ac3", "", 6, 0}}));
}

TEST(ProbeJson, AbsentOrWronglyTypedFieldsTakeTheirDefaults) {
    for (const std::string json :
         {"{}", "[]", "42", "null", "\"text\"", R"({"format": [], "streams": {}})"}) {
        const MediaInfo info = parse(json);
        EXPECT_EQ(info.format_name, "?") << json;
        EXPECT_EQ(info.duration, 0) << json;
        EXPECT_EQ(info.video_codec, "") << json;
        EXPECT_EQ(info.pix_fmt, "") << json;
        EXPECT_EQ(info.width, 0u) << json;
        EXPECT_TRUE(info.audio_streams.empty()) << json;
    }
    const MediaInfo bare = parse(R"({"streams":[{"codec_type":"video","codec_name":7,
        "pix_fmt":null},{"codec_type":"audio","codec_name":["aac"],"tags":{"language":3}},
        "not an object", {"codec_type":"VIDEO","width":10}, {"codec_type":["video"]}],
        "format":{"format_name":5}})");
    EXPECT_EQ(bare.format_name, "?");
    EXPECT_EQ(bare.video_codec, "?");
    EXPECT_EQ(bare.pix_fmt, "?");
    EXPECT_EQ(bare.width, 0u);
    EXPECT_EQ(bare.first_audio_codec, "?");
    EXPECT_EQ(bare.audio_streams, (std::vector<AudioStream>{{"?", "", 0}}));
}

TEST(ProbeJson, IntegerRule) {
    const std::pair<std::string, std::uint32_t> cases[] = {
        {"640", 640},      {"0", 0},
        {"-2", 0},         {"2.0", 0},
        {"\"640\"", 0},    {"true", 0},
        {"4294967296", 0}, {"4294967297", 1},
        {"1e3", 0},        {"18446744073709551615", 4294967295u},
    };
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(parse(with_video("\"width\":" + value + ",\"height\":" + value)).width, expected)
            << value;
        const MediaInfo audio =
            parse(R"({"streams":[{"codec_type":"audio","channels":)" + value + "}]}");
        EXPECT_EQ(audio.audio_streams.at(0).channels, expected) << value;
    }
}

TEST(ProbeJson, DecimalRuleForBitRates) {
    const std::pair<std::string, std::uint64_t> cases[] = {
        {"\"1500\"", 1500},
        {"\"+1500\"", 1500},
        {"\"18446744073709551615\"", 18446744073709551615u},
        {"\"18446744073709551616\"", 0},
        {"\"1.5e6\"", 0},
        {"\"\"", 0},
        {"\"+\"", 0},
        {"\"-\"", 0},
        {"\"-5\"", 0},
        {"\" 15\"", 0},
        {"\"N/A\"", 0},
        {"1500", 0},
    };
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(parse(with_video("\"bit_rate\":" + value)).bit_rate, expected) << value;
        EXPECT_EQ(parse(R"({"format":{"bit_rate":)" + value + "}}").bit_rate, expected) << value;
    }
}

TEST(ProbeJson, VideoBitRateFallsBackToTheFormats) {
    EXPECT_EQ(parse(R"({"streams":[{"codec_type":"video"}],"format":{"bit_rate":"800"}})").bit_rate,
              800u);
    EXPECT_EQ(parse(R"({"streams":[{"codec_type":"video","bit_rate":"0"}],
                        "format":{"bit_rate":"800"}})")
                  .bit_rate,
              800u);
    EXPECT_EQ(parse(R"({"streams":[{"codec_type":"video","bit_rate":"700"}],
                        "format":{"bit_rate":"800"}})")
                  .bit_rate,
              700u);
}

TEST(ProbeJson, Duration) {
    const std::pair<std::string, double> cases[] = {
        {"\"12.5\"", 12.5}, {"\"N/A\"", 0}, {"12.25", 12.25}, {"7", 7},
        {"\" 3\"", 0},      {"null", 0},    {"\"1e2\"", 100}, {"\"\"", 0},
    };
    for (const auto& [value, expected] : cases) {
        EXPECT_EQ(parse(R"({"format":{"duration":)" + value + "}}").duration, expected) << value;
    }
}

TEST(ProbeJson, FrameRateRule) {
    const std::pair<std::string, double> cases[] = {
        {R"("avg_frame_rate":"25/1")", 25},
        {R"("avg_frame_rate":"30/0")", 30},
        {R"("avg_frame_rate":"0/0","r_frame_rate":"25/1")", 0},
        {R"("avg_frame_rate":5,"r_frame_rate":"24/1")", 24},
        {R"("r_frame_rate":"50/2")", 25},
        {R"("avg_frame_rate":" 48 / 2 ")", 24},
        {R"("avg_frame_rate":"23.976")", 23.976},
        {R"("avg_frame_rate":"x/2")", 0},
        {R"("avg_frame_rate":"12/x")", 12},
        {R"("avg_frame_rate":"12/-3")", 12},
        {R"("avg_frame_rate":"-12/1")", 0},
        {R"("avg_frame_rate":"")", 0},
    };
    for (const auto& [fields, expected] : cases) {
        EXPECT_DOUBLE_EQ(parse(with_video(fields)).fps, expected) << fields;
    }
}

// Cover pictures are video streams too: the video is the first stream that is not one.
TEST(ProbeJson, TheVideoIsTheFirstStreamThatIsNotACoverPicture) {
    // Each stream ends in a comma; an empty object, which is skipped, closes the list.
    const std::string movie =
        R"({"codec_type":"video","width":1280,"disposition":{"attached_pic":0}},)";
    const std::string cover =
        R"({"codec_type":"video","width":600,"disposition":{"attached_pic":1}},)";
    const std::string other = R"({"codec_type":"video","width":640},)";
    const std::string audio = R"({"codec_type":"audio"},)";
    const std::tuple<std::string, std::uint32_t, std::size_t> cases[] = {
        {movie + audio + cover, 1280, 0},
        {cover + audio + movie, 1280, 1},
        {cover + cover + other + movie, 640, 2},
        {cover + audio, 0, 0},
    };
    for (const auto& [streams, width, index] : cases) {
        const MediaInfo info = parse(R"({"streams":[)" + streams + "{}]}");
        EXPECT_EQ(info.width, width) << streams;
        EXPECT_EQ(info.video_stream, index) << streams;
    }
}

// A quarter turn swaps the sides (real clips carry a display matrix, see RealEncode); the
// older tag counts when there is no matrix.
TEST(ProbeJson, TheSizeIsTheSizeAsShown) {
    const std::string matrix = R"("side_data_list":[{"side_data_type":"Display Matrix",)";
    const std::pair<std::string, std::uint32_t> cases[] = {
        {R"("tags":{"rotate":"90"})", 720},
        {R"("tags":{"rotate":"180"})", 1280},
        {matrix + R"("rotation":-90}])", 720},
        {matrix + R"("rotation":0}],"tags":{"rotate":"90"})", 1280},
    };
    for (const auto& [fields, width] : cases) {
        const MediaInfo info = parse(with_video(R"("width":1280,"height":720,)" + fields));
        EXPECT_EQ(info.width, width) << fields;
        EXPECT_EQ(info.height, width == 720 ? 1280u : 720u) << fields;
    }
}

TEST(ProbeJson, OnlyWhiteSpaceMayFollowTheValue) {
    EXPECT_TRUE(parse_probe_json("{} \t\r\n", no_file));
    for (const std::string bad : {"", " ", "{} x", "{}{}", "{\"a\":1", "nul", "{} \f"}) {
        auto info = parse_probe_json(bad, no_file);
        ASSERT_FALSE(info) << bad;
        EXPECT_FALSE(info.error().empty());
    }
}

TEST(ProbeJson, SizeComesFromTheFileSystem) {
    testing::TemporaryFolder folder("probe");
    const auto file = folder.path / "clip.mp4";
    std::ofstream(file, std::ios::binary) << std::string(4321, 'x');
    auto info = parse_probe_json("{}", file);
    ASSERT_TRUE(info);
    EXPECT_EQ(info.value().size, 4321u);
}

} // namespace
} // namespace ondrel
