// The probe and the detection against the real tools, on clips made at test time.
#include "real_tools.hpp"
#include "support/temporary_folder.hpp"
#include "video_compress/detect_encoders.hpp"
#include "video_compress/probe.hpp"

#include <algorithm>
#include <gtest/gtest.h>

namespace ondrel {
namespace {

using testing::clips_folder;
using testing::real_tool;

MediaInfo probe_clip(const std::filesystem::path& clip) {
    auto info = probe_media(real_tool("ffprobe"), clip);
    EXPECT_TRUE(info) << info.error();
    return info ? info.value() : MediaInfo{};
}

TEST(RealProbe, VideoWithAacAudio) {
    const auto clip = clips_folder() / "video_aac.mp4";
    const MediaInfo info = probe_clip(clip);
    EXPECT_EQ(info.path, clip);
    EXPECT_NE(info.format_name.find("mp4"), std::string::npos) << info.format_name;
    EXPECT_NEAR(info.duration, 2.0, 0.1);
    EXPECT_GT(info.bit_rate, 0u);
    EXPECT_EQ(info.size, std::filesystem::file_size(clip));
    EXPECT_EQ(info.video_codec, "h264");
    EXPECT_EQ(info.width, 160u);
    EXPECT_EQ(info.height, 90u);
    EXPECT_EQ(info.pix_fmt, "yuv420p");
    EXPECT_DOUBLE_EQ(info.fps, 25.0);
    EXPECT_EQ(info.first_audio_codec, "aac");
    std::vector<AudioStream> audio = info.audio_streams;
    ASSERT_EQ(audio.size(), 1u);
    EXPECT_GT(audio[0].bit_rate, 0u); // MP4 states each stream's bit rate
    audio[0].bit_rate = 0;
    EXPECT_EQ(audio, (std::vector<AudioStream>{{"aac", "und", 1}}));
}

TEST(RealProbe, TwoTaggedAudioStreamsInReportOrder) {
    const MediaInfo info = probe_clip(clips_folder() / "two_audio.mkv");
    EXPECT_EQ(info.width, 160u);
    EXPECT_EQ(info.audio_streams, (std::vector<AudioStream>{{"aac", "fre", 2}, {"aac", "eng", 1}}));
}

TEST(RealProbe, CoverArtAfterTheVideoIsNotWhatIsReported) {
    const MediaInfo info = probe_clip(clips_folder() / "cover_art.mp4");
    EXPECT_EQ(info.video_codec, "h264");
    EXPECT_EQ(info.width, 160u);
    EXPECT_EQ(info.height, 90u);
}

TEST(RealProbe, AudioAloneIsAnErrorNamingTheFile) {
    const auto clip = clips_folder() / "audio_only.m4a";
    auto info = probe_media(real_tool("ffprobe"), clip);
    ASSERT_FALSE(info);
    EXPECT_EQ(info.error(), path_to_utf8(clip));
}

TEST(RealProbe, NonAsciiFolderAndFileNames) {
    testing::TemporaryFolder folder("probe");
    const auto inner = folder.path / path_from_utf8("dossier été 日本");
    std::filesystem::create_directories(inner);
    const auto clip = inner / path_from_utf8("vidéo 🎬.mkv");
    std::filesystem::copy_file(clips_folder() / "two_audio.mkv", clip);
    const MediaInfo info = probe_clip(clip);
    EXPECT_EQ(info.path, clip);
    EXPECT_EQ(info.height, 90u);
    EXPECT_EQ(info.audio_streams.size(), 2u);
}

TEST(RealDetection, FindsOnlyEncodersThatReallyWork) {
    const auto ffmpeg = real_tool("ffmpeg");
    const EncoderSupport support = detect_encoders(ffmpeg);
    for (const std::string& name : support.encoders) {
        EXPECT_NE(
            std::find(hardware_encoder_candidates.begin(), hardware_encoder_candidates.end(), name),
            hardware_encoder_candidates.end());
    }
    // ffmpeg's "-hwaccels" lists the methods themselves, never "auto".
    EXPECT_FALSE(support.hwaccel_auto);
    // The software encoder is never tested but the same test encode passes with it.
    EXPECT_TRUE(test_encoder(ffmpeg, "libx264"));
    EXPECT_FALSE(test_encoder(ffmpeg, "no_such_encoder"));
}

} // namespace
} // namespace ondrel
