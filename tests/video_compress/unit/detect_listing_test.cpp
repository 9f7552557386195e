// Reading ffmpeg's encoder and hardware-acceleration listings, and the test encode's arguments.
#include "video_compress/detect_encoders.hpp"

#include <gtest/gtest.h>

namespace ondrel {
namespace {

using Strings = std::vector<std::string>;

TEST(EncoderListing, WholeWordsInLineOrder) {
    const std::pair<std::string, Strings> cases[] = {
        {"", {}},
        {" V....D h264_nvenc           NVIDIA NVENC H.264 encoder (codec h264)\n"
         " V....D hevc_nvenc           NVIDIA NVENC hevc encoder (codec hevc)\n",
         {"h264_nvenc", "hevc_nvenc"}},
        {" V..... hevc_qsv  HEVC\r\n V..... h264_amf  AMD\r\n", {"hevc_qsv", "h264_amf"}},
        {" V..... h264_nvenc_extra  not a match\n V..... xh264_mf\n", {}},
        {" V..... libx264  H.264 / AVC\n V..... h264_vaapi\n", {}},
        // Within a line the candidates are taken in their fixed order.
        {"hevc_mf h264_amf", {"h264_amf", "hevc_mf"}},
        {"\th264_mf\t", {"h264_mf"}},
        {"H264_AMF", {}},
    };
    for (const auto& [listing, expected] : cases) {
        EXPECT_EQ(listed_hardware_encoders(listing), expected) << listing;
    }
}

TEST(HwaccelListing, ALineThatIsExactlyAuto) {
    const std::pair<std::string, bool> cases[] = {
        {"Hardware acceleration methods:\ncuda\ndxva2\nqsv\nd3d11va\n", false},
        {"Hardware acceleration methods:\nauto\n", true},
        {"  auto \r\n", true},
        {"autodetect\nauto-ish\n", false},
        {"AUTO\n", false},
        {"", false},
    };
    for (const auto& [listing, expected] : cases) {
        EXPECT_EQ(lists_hwaccel_auto(listing), expected) << listing;
    }
}

// Two black frames from the test source, to nowhere; Quick Sync needs its device made first.
TEST(TestEncode, ArgumentsAndTheQsvDevice) {
    EXPECT_EQ(test_encoder_arguments("h264_nvenc"),
              (Strings{"-hide_banner", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
                       "color=c=black:s=320x240:r=30", "-frames:v", "2", "-c:v", "h264_nvenc", "-f",
                       "null", "-"}));
    EXPECT_EQ(
        test_encoder_arguments("hevc_qsv"),
        (Strings{"-hide_banner", "-loglevel", "error", "-y", "-init_hw_device", "qsv=hw",
                 "-filter_hw_device", "hw", "-f", "lavfi", "-i", "color=c=black:s=320x240:r=30",
                 "-frames:v", "2", "-c:v", "hevc_qsv", "-f", "null", "-"}));
}

} // namespace
} // namespace ondrel
