// The pieces an estimate encodes, and how their sizes become the range of the output's size.
#include "video_compress/sample_estimate.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace ondrel {
namespace {

TEST(SampleEstimate, ShortOrUnknownVideosAreNotCutIntoPieces) {
    for (const double duration : {0.0, -5.0}) {
        EXPECT_TRUE(plan_samples(duration).samples.empty()) << duration;
    }
    // Three pieces of 12 s would cover more than 60 % of anything up to 60 s.
    for (const double duration : {0.5, 30.0, 59.9}) {
        const SamplePlan plan = plan_samples(duration);
        EXPECT_TRUE(plan.whole_file) << duration;
        EXPECT_EQ(plan.samples, (std::vector<SampleSpan>{{0, duration}})) << duration;
    }
}

TEST(SampleEstimate, LongVideosGetEvenlySpreadPieces) {
    struct Case {
        double duration;
        std::vector<double> starts;
    };
    const Case cases[] = {
        // One piece a share, in the middle of it: 120 s has four shares of 30 s.
        {120, {9, 39, 69, 99}},
        {61, {61.0 / 6 - 6, 30.5 - 6, 61.0 * 5 / 6 - 6}},
        // At most eight pieces however long the video.
        {3600, {219, 669, 1119, 1569, 2019, 2469, 2919, 3369}},
    };
    for (const Case& c : cases) {
        const SamplePlan plan = plan_samples(c.duration);
        EXPECT_FALSE(plan.whole_file) << c.duration;
        ASSERT_EQ(plan.samples.size(), c.starts.size()) << c.duration;
        for (std::size_t i = 0; i < c.starts.size(); ++i) {
            EXPECT_NEAR(plan.samples[i].start, c.starts[i], 1e-9) << c.duration << " #" << i;
            EXPECT_EQ(plan.samples[i].length, 12) << c.duration;
            EXPECT_LE(plan.samples[i].start + plan.samples[i].length, c.duration) << c.duration;
        }
    }
}

TEST(SampleEstimate, AddedBytesFollowTheAudioChoice) {
    MediaInfo media;
    media.fps = 25;
    media.audio_streams = {{"aac", "", 2, 128000}, {"dts", "", 6, 0}};
    media.first_audio_codec = "aac";
    struct Case {
        AudioMode mode;
        std::optional<std::size_t> stream;
        Container container;
        double audio_bytes_per_second;
        double audio_packets_per_second;
    };
    const Case cases[] = {
        {AudioMode::None, std::nullopt, Container::Mp4, 0, 0},
        // AAC at 160 kbit/s for each of the two streams.
        {AudioMode::Aac, std::nullopt, Container::Mkv, 2 * 20000, 2 * 47},
        // A copy weighs the source's bit rate; the second stream's is unknown.
        {AudioMode::Copy, std::nullopt, Container::Mkv, 16000, 2 * 47},
        {AudioMode::Copy, 1, Container::Mkv, 0, 47},
        // DTS chosen for MP4 becomes AAC at 192 kbit/s.
        {AudioMode::Copy, 1, Container::Mp4, 24000, 47},
    };
    for (const Case& c : cases) {
        CompressOptions options;
        options.audio = c.mode;
        options.aac_kbps = 160;
        options.audio_stream = c.stream;
        options.container = c.container;
        const AddedBytes added = added_bytes(options, media);
        EXPECT_EQ(added.audio_bytes_per_second, c.audio_bytes_per_second);
        EXPECT_EQ(added.audio_packets_per_second, c.audio_packets_per_second);
        EXPECT_EQ(added.video_frames_per_second, 25);
    }
    media.fps = 0; // counted at 30 frames a second
    EXPECT_EQ(added_bytes(CompressOptions{}, media).video_frames_per_second, 30);
}

TEST(SampleEstimate, RangeFromThePiecesSpreadNeverNarrowerThanTheFloor) {
    const AddedBytes none{};
    // Each piece: its 1000-byte container header, then 100 kB a second of video.
    const SampleResult steady{1000 + 12 * 100000, 12};
    const double middle = 100000.0 * 100 + 1000;
    const auto same = extrapolate_size({steady, steady, steady}, 100, none);
    ASSERT_TRUE(same.has_value());
    EXPECT_NEAR(static_cast<double>(same->low), middle * (1 - range_floor_share), 1);
    EXPECT_NEAR(static_cast<double>(same->high), middle * (1 + range_floor_share), 1);

    // Pieces at 50, 100 and 150 kB/s: two standard errors of their mean, 1000 s long.
    const auto spread = extrapolate_size(
        {{1000 + 12 * 50000, 12}, {1000 + 12 * 100000, 12}, {1000 + 12 * 150000, 12}}, 1000, none);
    ASSERT_TRUE(spread.has_value());
    const double error = 50000 / std::sqrt(3.0) * std::sqrt(1 - 36.0 / 1000);
    const double whole = 100000.0 * 1000 + 1000;
    EXPECT_NEAR(static_cast<double>(spread->low), whole - 2 * error * 1000, 1);
    EXPECT_NEAR(static_cast<double>(spread->high), whole + 2 * error * 1000, 1);

    // Audio and every packet's index entry are added; the pieces' own entries taken off.
    const AddedBytes sound{16000, 25, 47};
    const SampleResult indexed{1000 + 12 * 25 * 10 + 12 * 100000, 12};
    const auto with_audio = extrapolate_size({indexed}, 100, sound);
    ASSERT_TRUE(with_audio.has_value());
    const double total = 100000.0 * 100 + 16000.0 * 100 + 1000 + 10.0 * (25 + 47) * 100;
    EXPECT_NEAR(static_cast<double>(with_audio->low + with_audio->high) / 2, total, 1);

    EXPECT_FALSE(extrapolate_size({}, 100, none).has_value());
    EXPECT_FALSE(extrapolate_size({steady}, 0, none).has_value());
    EXPECT_FALSE(extrapolate_size({{5000, 0}}, 100, none).has_value());
}

} // namespace
} // namespace ondrel
