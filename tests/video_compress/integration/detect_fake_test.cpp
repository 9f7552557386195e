// Encoder detection against a fake ffmpeg with a chosen listing and chosen working encoders.
#include "platform/files.hpp"
#include "support/temporary_folder.hpp"
#include "support/words.hpp"
#include "test_programs.hpp"
#include "video_compress/detect_encoders.hpp"

#include <gtest/gtest.h>

namespace ondrel {
namespace {

using testing::ScopedEnvironment;
using testing::TemporaryFolder;
using testing::words;
using Strings = std::vector<std::string>;

Strings recorded_arguments(const std::filesystem::path& file) {
    Strings lines;
    std::string text = read_file_bytes(file).value_or("");
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

TEST(DetectWithFake, ListedEncodersWhoseTestFailsAreLeftOut) {
    ScopedEnvironment listing("ONDREL_FAKE_ENCODERS", " V....D h264_nvenc  NVIDIA NVENC H.264|"
                                                      " V....D hevc_nvenc  NVIDIA NVENC hevc|"
                                                      " V....D libx264     libx264");
    ScopedEnvironment working("ONDREL_FAKE_WORKING_ENCODERS", "libx264");
    ScopedEnvironment hwaccels("ONDREL_FAKE_HWACCELS", "cuda|dxva2|qsv|d3d11va");
    const EncoderSupport support = detect_encoders(testing::fake_ffmpeg());
    EXPECT_EQ(support.encoders, Strings{});
    EXPECT_FALSE(support.hwaccel_auto);
}

TEST(DetectWithFake, ResultFollowsTheListingOrderAndQsvGetsItsDevice) {
    TemporaryFolder record("detect");
    ScopedEnvironment listing("ONDREL_FAKE_ENCODERS",
                              " V..... hevc_qsv  HEVC (Intel Quick Sync Video)|"
                              " V..... h264_amf  AMD AMF H.264 Encoder");
    ScopedEnvironment working("ONDREL_FAKE_WORKING_ENCODERS", "h264_amf,hevc_qsv");
    ScopedEnvironment hwaccels("ONDREL_FAKE_HWACCELS", "dxva2| auto ");
    ScopedEnvironment record_dir("ONDREL_FAKE_RECORD_DIR", path_to_utf8(record.path));
    const EncoderSupport support = detect_encoders(testing::fake_ffmpeg());
    EXPECT_EQ(support.encoders, (Strings{"hevc_qsv", "h264_amf"}));
    EXPECT_TRUE(support.hwaccel_auto);
    EXPECT_EQ(
        recorded_arguments(record.path / "hevc_qsv.args"),
        words("-hide_banner -loglevel error -y -init_hw_device qsv=hw -filter_hw_device hw "
              "-f lavfi -i color=c=black:s=320x240:r=30 -frames:v 2 -c:v hevc_qsv -f null -"));
    EXPECT_EQ(
        recorded_arguments(record.path / "h264_amf.args"),
        words("-hide_banner -loglevel error -y "
              "-f lavfi -i color=c=black:s=320x240:r=30 -frames:v 2 -c:v h264_amf -f null -"));
}

// Each fake test encode waits until all eight have started: run one after another, they would
// give up and fail instead.
TEST(DetectWithFake, AllTestEncodesRunAtTheSameTime) {
    TemporaryFolder record("detect");
    std::string listing_text;
    std::string working_text;
    for (const auto name : hardware_encoder_candidates) {
        listing_text = std::string(" V..... ") + std::string(name) + " something|" + listing_text;
        working_text += std::string(name) + ",";
    }
    ScopedEnvironment listing("ONDREL_FAKE_ENCODERS", listing_text);
    ScopedEnvironment working("ONDREL_FAKE_WORKING_ENCODERS", working_text);
    ScopedEnvironment hwaccels("ONDREL_FAKE_HWACCELS", "");
    ScopedEnvironment record_dir("ONDREL_FAKE_RECORD_DIR", path_to_utf8(record.path));
    ScopedEnvironment barrier("ONDREL_FAKE_BARRIER", "8");
    const EncoderSupport support = detect_encoders(testing::fake_ffmpeg());
    // The listing named them last to first.
    Strings expected(hardware_encoder_candidates.rbegin(), hardware_encoder_candidates.rend());
    EXPECT_EQ(support.encoders, expected);
    EXPECT_FALSE(support.hwaccel_auto);
}

// What the scope leaves out is not asked of ffmpeg: no test encode runs without the
// encoders in scope, and "-hwaccel auto" is not found without the listing.
TEST(DetectWithFake, OnlyWhatTheScopeAsksForIsFoundOut) {
    struct Case {
        DetectionScope scope;
        EncoderSupport expected;
    };
    const Case cases[] = {
        {{true, true}, {{"h264_amf"}, true}},
        {{true, false}, {{"h264_amf"}, false}},
        {{false, true}, {{}, true}},
        {{false, false}, {{}, false}},
    };
    ScopedEnvironment listing("ONDREL_FAKE_ENCODERS", " V..... h264_amf  AMD AMF H.264 Encoder");
    ScopedEnvironment working("ONDREL_FAKE_WORKING_ENCODERS", "h264_amf");
    ScopedEnvironment hwaccels("ONDREL_FAKE_HWACCELS", "auto");
    for (const Case& c : cases) {
        TemporaryFolder record("detect");
        ScopedEnvironment record_dir("ONDREL_FAKE_RECORD_DIR", path_to_utf8(record.path));
        EXPECT_EQ(detect_encoders(testing::fake_ffmpeg(), c.scope), c.expected);
        EXPECT_EQ(std::filesystem::exists(record.path / "h264_amf.args"), c.scope.test_encodes);
    }
}

TEST(DetectWithFake, AnFfmpegThatCannotStartFindsNothing) {
    TemporaryFolder folder("detect");
    const EncoderSupport support = detect_encoders(folder.path / executable_file_name("none"));
    EXPECT_EQ(support, EncoderSupport{});
}

TEST(DetectWithFake, TheWorkerSendsOneMessageAndLetsGo) {
    ScopedEnvironment listing("ONDREL_FAKE_ENCODERS", " V..... h264_mf  MediaFoundation");
    ScopedEnvironment working("ONDREL_FAKE_WORKING_ENCODERS", "h264_mf");
    ScopedEnvironment hwaccels("ONDREL_FAKE_HWACCELS", "auto");
    auto [sender, receiver] = make_channel<CompressMessage>();
    start_encoder_detection(testing::fake_ffmpeg(), std::move(sender));
    auto first = receive_for(receiver, std::chrono::seconds(60));
    ASSERT_EQ(first.status, ReceiveStatus::Received);
    ASSERT_TRUE(std::holds_alternative<message::Encoders>(*first.message));
    EXPECT_EQ(std::get<message::Encoders>(*first.message).support,
              (EncoderSupport{{"h264_mf"}, true}));
    EXPECT_EQ(receive_for(receiver, std::chrono::seconds(30)).status, ReceiveStatus::Disconnected);
}

} // namespace
} // namespace ondrel
