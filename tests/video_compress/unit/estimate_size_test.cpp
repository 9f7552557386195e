#include "video_compress/estimate.hpp"

#include <gtest/gtest.h>
#include <limits>

namespace ondrel {
namespace {

MediaInfo source(std::uint32_t width, std::uint32_t height, std::uint64_t bit_rate,
                 double duration) {
    MediaInfo info;
    info.width = width;
    info.height = height;
    info.bit_rate = bit_rate;
    info.duration = duration;
    return info;
}

TEST(SizeEstimate, NeedsBitRateDurationAndSize) {
    const CompressOptions options;
    EXPECT_FALSE(size_estimate(source(1920, 1080, 0, 60), options));
    EXPECT_FALSE(size_estimate(source(1920, 1080, 8000000, 0), options));
    EXPECT_FALSE(size_estimate(source(1920, 1080, 8000000, -1), options));
    EXPECT_FALSE(size_estimate(source(0, 1080, 8000000, 60), options));
    EXPECT_FALSE(size_estimate(source(1920, 0, 8000000, 60), options));
    EXPECT_TRUE(size_estimate(source(1920, 1080, 8000000, 60), options));
}

TEST(SizeEstimate, Formula) {
    struct Case {
        const char* name;
        std::uint32_t width, height;
        std::uint8_t resolution;
        std::uint32_t custom_width;
        bool upscale;
        std::uint32_t quality;
        AudioMode audio;
        std::uint32_t aac_kbps;
        std::uint64_t expected;
    };
    // 8 Mb/s for 100 s is 100 MB before any factor.
    const Case cases[] = {
        {"quality 0: factor 1", 1920, 1080, 0, 1920, false, 0, AudioMode::Copy, 192, 100000000},
        // 1 - 0.55 is a hair below 0.45 in binary, and the bytes are truncated.
        {"quality 100: factor 0.45", 1920, 1080, 0, 1920, false, 100, AudioMode::Copy, 192,
         44999999},
        // Q 26: 1 - 10 x 0.0625 x 0.55 = 0.65625
        {"quality 60", 1920, 1080, 0, 1920, false, 60, AudioMode::Copy, 192, 65625000},
        {"1080p of 4K: pixels x 0.25", 3840, 2160, 3, 1920, false, 0, AudioMode::Copy, 192,
         25000000},
        {"4K of 1080p, no upscaling", 1920, 1080, 1, 1920, false, 0, AudioMode::Copy, 192,
         100000000},
        {"4K of 1080p, upscaling: x4", 1920, 1080, 1, 1920, true, 0, AudioMode::Copy, 192,
         400000000},
        {"same width, upscaling", 1920, 1080, 3, 1920, true, 0, AudioMode::Copy, 192, 100000000},
        // 720p of 1080p: 1280 x 720 / (1920 x 1080) = 4/9
        {"720p of 1080p", 1920, 1080, 4, 1920, false, 0, AudioMode::Copy, 192, 44444444},
        // custom 100 -> 160 x 90
        {"custom clamped", 1920, 1080, 7, 100, false, 0, AudioMode::Copy, 192, 694444},
        {"AAC counted", 1920, 1080, 0, 1920, false, 0, AudioMode::Aac, 192, 102400000},
        {"AAC rate clamped like the encode", 1920, 1080, 0, 1920, false, 0, AudioMode::Aac, 9999,
         106400000},
        {"no audio", 1920, 1080, 0, 1920, false, 0, AudioMode::None, 192, 100000000},
        // 2 lines high source at 160 wide: the new height 0 becomes 2.
        {"tiny height", 3000, 2, 7, 160, false, 0, AudioMode::Copy, 192, 5333333},
    };
    for (const Case& c : cases) {
        CompressOptions options;
        options.resolution = c.resolution;
        options.custom_width = c.custom_width;
        options.allow_upscale = c.upscale;
        options.quality = c.quality;
        options.audio = c.audio;
        options.aac_kbps = c.aac_kbps;
        const auto estimate = size_estimate(source(c.width, c.height, 8000000, 100), options);
        ASSERT_TRUE(estimate) << c.name;
        EXPECT_EQ(*estimate, c.expected) << c.name;
    }
}

TEST(SizeEstimate, SaturatesInsteadOfOverflowing) {
    MediaInfo huge = source(1920, 1080, std::numeric_limits<std::uint64_t>::max(), 1e300);
    EXPECT_EQ(size_estimate(huge, CompressOptions{}), std::numeric_limits<std::uint64_t>::max());
}

} // namespace
} // namespace ondrel
