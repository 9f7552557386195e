// A video in a folder whose path is past the old 260-character limit, analysed and compressed.
#include "real_tools.hpp"
#include "video_compress/job.hpp"
#include "video_compress/probe.hpp"

#include <gtest/gtest.h>

namespace ondrel {
namespace {

using testing::real_tool;

TEST(RealEncode, AVideoInAFolderPastTheOldPathLimitIsAnalysedAndCompressed) {
    testing::TemporaryFolder folder("long path");
    std::filesystem::path inner = folder.path;
    for (char name = 'a'; path_to_utf8(inner).size() < 300; ++name) {
        inner /= std::string(60, name);
    }
    std::filesystem::create_directories(inner);
    std::filesystem::copy_file(testing::clips_folder() / "video_aac.mp4", inner / "clip.mp4");

    auto media = probe_media(real_tool("ffprobe"), inner / "clip.mp4");
    ASSERT_TRUE(media) << media.error();
    auto started = start_job(CompressOptions{}, media.value(), EncoderSupport{},
                             real_tool("ffmpeg"), real_tool("ffprobe"));
    ASSERT_TRUE(started.job) << started.job.error();
    const auto record = testing::collect_job(started.job.value());
    ASSERT_TRUE(record.outcome && std::holds_alternative<outcome::Done>(*record.outcome))
        << (record.log.empty() ? "" : record.log.back());
    auto output = probe_media(real_tool("ffprobe"), inner / "clip_h264_90p.mp4");
    ASSERT_TRUE(output) << output.error();
    EXPECT_EQ(output.value().height, 90u);
    EXPECT_NEAR(output.value().duration, 2.0, 0.2);
}

} // namespace
} // namespace ondrel
