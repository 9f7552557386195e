// A real encode from start to verified end.
#include "real_tools.hpp"
#include "support/temporary_folder.hpp"
#include "video_compress/job.hpp"
#include "video_compress/outcome_text.hpp"
#include "video_compress/probe.hpp"

#include <algorithm>
#include <gtest/gtest.h>
#include <utility>

namespace ondrel {
namespace {

using testing::real_tool;

TEST(RealEncode, EndsDoneWithAVerifiedOutputBesideANonAsciiSource) {
    testing::TemporaryFolder folder("encode");
    const auto inner = folder.path / path_from_utf8("été 日本");
    std::filesystem::create_directories(inner);
    const auto source = inner / path_from_utf8("vidéo 🎬.mp4");
    std::filesystem::copy_file(testing::clips_folder() / "video_aac.mp4", source);
    // The plain name is taken already: the job must write beside it, not over it.
    testing::write_bytes(inner / path_from_utf8("vidéo 🎬_h264_90p.mp4"), "the user's file");
    const auto before = testing::folder_contents(inner);

    auto media = probe_media(real_tool("ffprobe"), source);
    ASSERT_TRUE(media) << media.error();
    CompressOptions options;
    options.speed = SpeedPreset::Fast;
    auto started = start_job(options, media.value(), EncoderSupport{}, real_tool("ffmpeg"),
                             real_tool("ffprobe"));
    ASSERT_TRUE(started.job) << started.job.error();
    EXPECT_EQ(started.output_path, inner / path_from_utf8("vidéo 🎬_h264_90p (1).mp4"));

    const auto record = testing::collect_job(started.job.value());
    ASSERT_TRUE(record.outcome);
    EXPECT_TRUE(record.disconnected_after_finish);
    store_language(Language::English);
    ASSERT_TRUE(std::holds_alternative<outcome::Done>(*record.outcome))
        << outcome_text(*record.outcome) << "\n"
        << (record.log.empty() ? "" : record.log.back());
    ASSERT_FALSE(record.progress.empty());
    EXPECT_EQ(record.progress.back().percent, 100);
    EXPECT_FALSE(record.progress.back().bitrate.empty());

    auto output = probe_media(real_tool("ffprobe"), started.output_path);
    ASSERT_TRUE(output) << output.error();
    EXPECT_EQ(output.value().video_codec, "h264");
    EXPECT_EQ(output.value().width, 160u);
    EXPECT_EQ(output.value().height, 90u);
    EXPECT_NEAR(output.value().duration, 2.0, 0.2);
    EXPECT_EQ(output.value().first_audio_codec, "aac");

    auto after = testing::folder_contents(inner);
    after.erase("vidéo 🎬_h264_90p (1).mp4");
    EXPECT_EQ(after, before);
}

// The output shows the picture the source shows: the video rather than its cover, upright,
// scaled without a change of shape, and named after the height it really has.
TEST(RealEncode, ScalingKeepsTheShapeOfThePictureAsShown) {
    const std::pair<std::string, std::uint32_t> cases[] = {
        {"cover_art", 90}, {"rotated_90", 284}, {"rotated_180", 90}, {"rotated_270", 284}};
    testing::TemporaryFolder folder("encode");
    CompressOptions options;
    options.speed = SpeedPreset::Fast;
    options.resolution = resolution_custom;
    options.custom_width = 160; // the narrowest there is: the clips are small
    options.allow_upscale = true;
    for (const auto& [clip, height] : cases) {
        const auto source = folder.path / (clip + ".mp4");
        std::filesystem::copy_file(testing::clips_folder() / (clip + ".mp4"), source);
        auto media = probe_media(real_tool("ffprobe"), source);
        ASSERT_TRUE(media) << media.error();
        auto started = start_job(options, media.value(), EncoderSupport{}, real_tool("ffmpeg"),
                                 real_tool("ffprobe"));
        ASSERT_TRUE(started.job) << started.job.error();
        EXPECT_EQ(started.output_path.filename(),
                  clip + "_h264_" + std::to_string(height) + "p.mp4");
        const auto record = testing::collect_job(started.job.value());
        ASSERT_TRUE(record.outcome && std::holds_alternative<outcome::Done>(*record.outcome));
        auto output = probe_media(real_tool("ffprobe"), started.output_path);
        ASSERT_TRUE(output) << output.error();
        EXPECT_EQ(output.value().width, 160u) << clip;
        EXPECT_EQ(output.value().height, height) << clip;
    }
}

// "codec_type,codec_name" of every stream of the file, one per line.
std::string stream_list(const std::filesystem::path& file) {
    auto listed = run_capture(real_tool("ffprobe"),
                              {"-v", "error", "-show_entries", "stream=codec_type,codec_name",
                               "-of", "csv=p=0", path_to_utf8(file)});
    EXPECT_TRUE(listed) << listed.error();
    std::string text = listed ? listed.value().output : "";
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

// PCM audio cannot go into MP4 unchanged and becomes AAC there, MP4 takes no subtitles;
// Matroska takes both as they are.
TEST(RealEncode, AudioAndSubtitlesFollowTheContainer) {
    testing::TemporaryFolder folder("encode");
    const auto source = folder.path / "pcm.mkv";
    std::filesystem::copy_file(testing::clips_folder() / "pcm_subtitles.mkv", source);
    auto media = probe_media(real_tool("ffprobe"), source);
    ASSERT_TRUE(media) << media.error();
    ASSERT_EQ(media.value().first_audio_codec, "pcm_s16le");

    const std::pair<Container, std::string> cases[] = {
        {Container::Mp4, "h264,video\naac,audio\n"},
        {Container::Mkv, "h264,video\npcm_s16le,audio\nsubrip,subtitle\n"},
    };
    for (const auto& [container, streams] : cases) {
        CompressOptions options;
        options.speed = SpeedPreset::Fast;
        options.container = container;
        auto started = start_job(options, media.value(), EncoderSupport{}, real_tool("ffmpeg"),
                                 real_tool("ffprobe"));
        ASSERT_TRUE(started.job) << started.job.error();
        const auto record = testing::collect_job(started.job.value());
        ASSERT_TRUE(record.outcome);
        ASSERT_TRUE(std::holds_alternative<outcome::Done>(*record.outcome))
            << outcome_text(*record.outcome);
        EXPECT_EQ(stream_list(started.output_path), streams);
    }
}

} // namespace
} // namespace ondrel
