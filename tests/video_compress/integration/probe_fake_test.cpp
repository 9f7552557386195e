// The probe's failure texts, with a fake ffprobe that prints what the test chooses.
#include "platform/files.hpp"
#include "support/temporary_folder.hpp"
#include "test_programs.hpp"
#include "video_compress/probe.hpp"

#include <gtest/gtest.h>

namespace ondrel {
namespace {

using testing::ScopedEnvironment;
using testing::TemporaryFolder;

struct FakeReport {
    TemporaryFolder folder{"probe"};
    std::filesystem::path video;
    ScopedEnvironment report;
    ScopedEnvironment errors;

    FakeReport(const std::string& json, const std::string& error_text)
        : video(folder.path / "film.mkv"),
          report("ONDREL_FAKE_PROBE_REPORT", path_to_utf8(folder.path / "report.json")),
          errors("ONDREL_FAKE_PROBE_STDERR", error_text) {
        testing::write_bytes(folder.path / "report.json", json);
        testing::write_bytes(video, std::string(1234, 'v'));
    }
};

const char* const video_report =
    R"({"streams":[{"codec_type":"video","codec_name":"h264","width":1920,"height":1080,)"
    R"("pix_fmt":"yuv420p","avg_frame_rate":"25/1"}],)"
    "\"format\":{\"format_name\":\"matroska,webm\xff\",\"duration\":\"12.5\"}}";

TEST(ProbeWithFake, AReportWithVideoGivesTheMediaInfo) {
    FakeReport fake(video_report, "");
    auto info = probe_media(testing::fake_ffprobe(), fake.video);
    ASSERT_TRUE(info) << info.error();
    EXPECT_EQ(info.value().path, fake.video);
    EXPECT_EQ(info.value().format_name, "matroska,webm\xEF\xBF\xBD"); // repaired
    EXPECT_EQ(info.value().duration, 12.5);
    EXPECT_EQ(info.value().width, 1920u);
    EXPECT_EQ(info.value().fps, 25.0);
    EXPECT_EQ(info.value().size, 1234u);
}

TEST(ProbeWithFake, OutputThatIsNoJsonGivesTheParserTextAndTheErrorOutput) {
    for (const std::string output : {"", "not json", "{\"format\":{}} trailing"}) {
        FakeReport fake(output, "film.mkv: Invalid data found when processing input");
        auto info = probe_media(testing::fake_ffprobe(), fake.video);
        ASSERT_FALSE(info) << output;
        const std::string suffix = " (film.mkv: Invalid data found when processing input)";
        ASSERT_TRUE(info.error().ends_with(suffix)) << info.error();
        EXPECT_GT(info.error().size(), suffix.size()) << "the parser's description is missing";
    }
}

TEST(ProbeWithFake, NoVideoStreamGivesThePath) {
    FakeReport fake(R"({"streams":[{"codec_type":"audio","codec_name":"aac"}],"format":{}})", "");
    auto info = probe_media(testing::fake_ffprobe(), fake.video);
    ASSERT_FALSE(info);
    EXPECT_EQ(info.error(), path_to_utf8(fake.video));
}

TEST(ProbeWithFake, AMissingFfprobeGivesTheSystemsText) {
    TemporaryFolder folder("probe");
    auto info = probe_media(folder.path / executable_file_name("ffprobe"), folder.path / "x.mp4");
    ASSERT_FALSE(info);
    EXPECT_TRUE(info.error().ends_with(" (os error 2)")) << info.error();
}

TEST(ProbeWithFake, TheWorkerSendsExactlyOneMessage) {
    for (const bool good : {true, false}) {
        FakeReport fake(good ? video_report : "{}", "");
        auto [sender, receiver] = make_channel<CompressMessage>();
        start_probe(testing::fake_ffprobe(), fake.video, std::move(sender));
        auto first = receive_for(receiver, std::chrono::seconds(60));
        ASSERT_EQ(first.status, ReceiveStatus::Received);
        if (good) {
            ASSERT_TRUE(std::holds_alternative<message::Info>(*first.message));
            EXPECT_EQ(std::get<message::Info>(*first.message).media.height, 1080u);
        } else {
            ASSERT_TRUE(std::holds_alternative<message::ProbeError>(*first.message));
            EXPECT_EQ(std::get<message::ProbeError>(*first.message).text, path_to_utf8(fake.video));
        }
        EXPECT_EQ(receive_for(receiver, std::chrono::seconds(30)).status,
                  ReceiveStatus::Disconnected);
    }
}

} // namespace
} // namespace ondrel
