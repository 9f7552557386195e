#include "support/words.hpp"
#include "video_compress/ffmpeg_args.hpp"

#include <gtest/gtest.h>

namespace ondrel {
namespace {

using Strings = std::vector<std::string>;

TEST(QualityNumber, SliderBecomesSixteenToThirtyTwo) {
    const std::pair<std::uint32_t, std::uint32_t> cases[] = {
        {0, 16},  {1, 16},  {3, 16},  {4, 17},  {10, 18},  {25, 20},  {50, 24},  {60, 26},
        {75, 28}, {90, 30}, {96, 31}, {97, 32}, {100, 32}, {101, 32}, {250, 32}, {4294967295u, 32},
    };
    for (const auto& [quality, expected] : cases) {
        EXPECT_EQ(quality_number(quality), expected) << quality;
    }
}

TEST(ChooseEncoder, ExplicitFamiliesWhateverWasDetected) {
    struct Case {
        EncoderFamily family;
        const char* h264;
        const char* h265;
    };
    const Case cases[] = {
        {EncoderFamily::Amf, "h264_amf", "hevc_amf"},
        {EncoderFamily::Nvenc, "h264_nvenc", "hevc_nvenc"},
        {EncoderFamily::Qsv, "h264_qsv", "hevc_qsv"},
        {EncoderFamily::MediaFoundation, "h264_mf", "hevc_mf"},
        {EncoderFamily::Software, "libx264", "libx265"},
    };
    const Strings detected_lists[] = {{}, {"h264_qsv", "hevc_nvenc"}, {"h264_amf", "hevc_amf"}};
    for (const Case& c : cases) {
        for (const Strings& detected : detected_lists) {
            EXPECT_EQ(choose_encoder(VideoCodec::H264, c.family, detected), c.h264);
            EXPECT_EQ(choose_encoder(VideoCodec::H265, c.family, detected), c.h265);
        }
    }
}

TEST(ChooseEncoder, AutomaticPrefersAmfThenNvencThenQsvThenMediaFoundation) {
    struct Case {
        VideoCodec codec;
        Strings detected;
        const char* expected;
    };
    const Case cases[] = {
        {VideoCodec::H264, {}, "libx264"},
        {VideoCodec::H265, {}, "libx265"},
        {VideoCodec::H264, {"h264_qsv", "h264_nvenc"}, "h264_nvenc"},
        {VideoCodec::H265, {"h264_qsv", "h264_nvenc"}, "libx265"},
        {VideoCodec::H264, {"h264_mf", "h264_qsv"}, "h264_qsv"},
        {VideoCodec::H264, {"h264_mf"}, "h264_mf"},
        {VideoCodec::H265, {"hevc_mf", "hevc_nvenc", "hevc_amf", "hevc_qsv"}, "hevc_amf"},
        {VideoCodec::H265, {"hevc_mf", "hevc_qsv"}, "hevc_qsv"},
        {VideoCodec::H264, {"hevc_amf", "hevc_nvenc"}, "libx264"},
        {VideoCodec::H264, {"h264_nvenc_extra", "H264_AMF"}, "libx264"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(choose_encoder(c.codec, EncoderFamily::Automatic, c.detected), c.expected)
            << c.expected;
    }
}

TEST(EncoderArguments, EveryEncoderAndSpeed) {
    struct Case {
        const char* encoder;
        SpeedPreset speed;
        std::uint32_t quality;
        const char* expected; // the arguments, separated by spaces
    };
    const Case cases[] = {
        {"h264_nvenc", SpeedPreset::Fast, 60, "-preset p3 -rc vbr -cq 26 -b:v 0 -pix_fmt yuv420p"},
        {"hevc_nvenc", SpeedPreset::Balanced, 0,
         "-preset p5 -rc vbr -cq 16 -b:v 0 -pix_fmt yuv420p"},
        {"h264_nvenc", SpeedPreset::Slow, 100, "-preset p6 -rc vbr -cq 32 -b:v 0 -pix_fmt yuv420p"},
        {"hevc_nvenc", SpeedPreset::Max, 50, "-preset p7 -rc vbr -cq 24 -b:v 0 -pix_fmt yuv420p"},
        {"h264_amf", SpeedPreset::Fast, 60,
         "-quality speed -rc cqp -qp_i 26 -qp_p 26 -pix_fmt yuv420p"},
        {"hevc_amf", SpeedPreset::Balanced, 60,
         "-quality balanced -rc cqp -qp_i 26 -qp_p 26 -pix_fmt yuv420p"},
        {"h264_amf", SpeedPreset::Slow, 60,
         "-quality quality -rc cqp -qp_i 26 -qp_p 26 -pix_fmt yuv420p"},
        {"hevc_amf", SpeedPreset::Max, 97,
         "-quality quality -rc cqp -qp_i 32 -qp_p 32 -pix_fmt yuv420p"},
        {"h264_qsv", SpeedPreset::Fast, 60, "-preset veryfast -global_quality 26 -pix_fmt yuv420p"},
        {"hevc_qsv", SpeedPreset::Balanced, 60,
         "-preset medium -global_quality 26 -pix_fmt yuv420p"},
        {"h264_qsv", SpeedPreset::Slow, 60, "-preset slow -global_quality 26 -pix_fmt yuv420p"},
        {"hevc_qsv", SpeedPreset::Max, 3, "-preset veryslow -global_quality 16 -pix_fmt yuv420p"},
        // Media Foundation takes the slider value itself, capped at 100, whatever the speed.
        {"h264_mf", SpeedPreset::Fast, 60, "-rate_control quality -quality 60 -pix_fmt yuv420p"},
        {"hevc_mf", SpeedPreset::Max, 0, "-rate_control quality -quality 0 -pix_fmt yuv420p"},
        {"h264_mf", SpeedPreset::Balanced, 250,
         "-rate_control quality -quality 100 -pix_fmt yuv420p"},
        {"libx264", SpeedPreset::Fast, 60, "-preset fast -crf 26 -pix_fmt yuv420p"},
        {"libx264", SpeedPreset::Balanced, 60, "-preset medium -crf 26 -pix_fmt yuv420p"},
        {"libx264", SpeedPreset::Slow, 60, "-preset slow -crf 26 -pix_fmt yuv420p"},
        {"libx264", SpeedPreset::Max, 60, "-preset veryslow -crf 26 -pix_fmt yuv420p"},
        {"libx265", SpeedPreset::Fast, 60,
         "-crf 26 -preset fast -x265-params log-level=error -pix_fmt yuv420p"},
        {"libx265", SpeedPreset::Max, 100,
         "-crf 32 -preset veryslow -x265-params log-level=error -pix_fmt yuv420p"},
        {"libsvtav1", SpeedPreset::Balanced, 60, ""},
        {"", SpeedPreset::Balanced, 60, ""},
        {"LIBX264", SpeedPreset::Balanced, 60, ""},
    };
    for (const Case& c : cases) {
        CompressOptions options;
        options.speed = c.speed;
        options.quality = c.quality;
        EXPECT_EQ(encoder_arguments(c.encoder, options), testing::words(c.expected))
            << c.encoder << " " << c.quality;
    }
}

TEST(TargetWidth, PresetsAndClampedCustomWidth) {
    const std::uint32_t none = 0;
    struct Case {
        std::uint8_t resolution;
        std::uint32_t custom_width;
        std::uint32_t expected; // 0 = no target
    };
    const Case cases[] = {
        {0, 1920, none}, {1, 1920, 3840}, {2, 1920, 2560}, {3, 100, 1920},  {4, 1920, 1280},
        {5, 1920, 854},  {6, 1920, 640},  {7, 100, 160},   {7, 9000, 7680}, {7, 1001, 1001},
        {7, 160, 160},   {7, 7680, 7680}, {7, 0, 160},     {8, 1920, none}, {255, 1920, none},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(target_width(c.resolution, c.custom_width).value_or(none), c.expected)
            << int(c.resolution) << " " << c.custom_width;
    }
}

TEST(ScaledSize, DecisionAndHeight) {
    struct Case {
        std::uint32_t width, height;
        std::uint8_t resolution;
        std::uint32_t custom_width;
        bool upscale;
        std::optional<PictureSize> expected;
        std::uint32_t output_height;
    };
    const Case cases[] = {
        {1920, 1080, 4, 0, false, PictureSize{1280, 720}, 720},
        {1920, 1080, 1, 0, false, std::nullopt, 1080},
        {1920, 1080, 1, 0, true, PictureSize{3840, 2160}, 2160},
        {1440, 1080, 3, 0, false, std::nullopt, 1080},
        {1440, 1080, 3, 0, true, PictureSize{1920, 1440}, 1440},
        {1920, 1080, 3, 0, false, std::nullopt, 1080},
        {1920, 1080, 3, 0, true, PictureSize{1920, 1080}, 1080},
        // 854 is wider than 720: scaled only with upscaling, to (576 x 854 + 360) / 720 = 683,
        // made even.
        {720, 576, 5, 0, false, std::nullopt, 576},
        {720, 576, 5, 0, true, PictureSize{854, 682}, 682},
        {1920, 1080, 7, 100, false, PictureSize{160, 90}, 90},
        {1920, 1080, 7, 1001, false, PictureSize{1001, 562}, 562}, // 563 made even
        {7680, 4320, 7, 9000, false, std::nullopt, 4320},
        {1920, 1080, 0, 0, true, std::nullopt, 1080},
        {0, 1080, 4, 0, false, std::nullopt, 1080},
        {1920, 0, 4, 0, false, std::nullopt, 0},
        {3000, 2, 7, 160, false, PictureSize{160, 2}, 2}, // 0 raised to 2
        {3840, 1600, 6, 0, false, PictureSize{640, 266}, 266},
        {1080, 1920, 4, 0, false, std::nullopt, 1920}, // portrait: the preset is wider
        {1080, 1920, 4, 0, true, PictureSize{1280, 2276}, 2276},
    };
    for (const Case& c : cases) {
        CompressOptions options;
        options.resolution = c.resolution;
        options.custom_width = c.custom_width;
        options.allow_upscale = c.upscale;
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + " res " +
                     std::to_string(c.resolution));
        EXPECT_EQ(scaled_size(options, c.width, c.height), c.expected);
        EXPECT_EQ(output_height(options, c.width, c.height), c.output_height);
    }
}

} // namespace
} // namespace ondrel
