#include "video_compress/options.hpp"

#include "platform/files.hpp"
#include "support/language_guard.hpp"

#include <gtest/gtest.h>

namespace ondrel {
namespace {

using testing::LanguageGuard;

// The defaults the settings text shows are checked through that text in
// CompressSettings.DefaultsReadAsTheDocumentedText; these three are not part of it.
TEST(OptionsDefaults, AreTheDocumentedOnes) {
    const CompressOptions o;
    EXPECT_FALSE(o.audio_stream.has_value());
    EXPECT_FALSE(o.output_dir.has_value());
    EXPECT_EQ(o.aac_kbps, 192u);
}

TEST(OptionsLabels, ResolutionsInBothLanguages) {
    LanguageGuard guard;
    const char* english[] = {"Original",          "4K (3840x2160)",  "1440p (2560x1440)",
                             "1080p (1920x1080)", "720p (1280x720)", "480p (854x480)",
                             "360p (640x360)",    "Custom"};
    const char* french[] = {"Originale",         "4K (3840x2160)",  "1440p (2560x1440)",
                            "1080p (1920x1080)", "720p (1280x720)", "480p (854x480)",
                            "360p (640x360)",    "Personnalisée"};
    for (std::uint8_t i = 0; i < resolution_count; ++i) {
        store_language(Language::English);
        EXPECT_EQ(resolution_label(i), english[i]);
        store_language(Language::French);
        EXPECT_EQ(resolution_label(i), french[i]);
    }
}

TEST(OptionsLabels, SpeedsFamiliesAudioModesInBothLanguages) {
    LanguageGuard guard;
    struct Case {
        std::string_view (*label)(std::int64_t);
        std::int64_t index;
        const char* english;
        const char* french;
    };
    const auto speed = [](std::int64_t i) { return speed_label(speed_from_index(i)); };
    const auto family = [](std::int64_t i) {
        return encoder_family_label(encoder_family_from_index(i));
    };
    const auto audio = [](std::int64_t i) { return audio_mode_label(audio_mode_from_index(i)); };
    const Case cases[] = {
        {speed, 0, "Fast", "Rapide"},
        {speed, 1, "Balanced", "Équilibré"},
        {speed, 2, "Slow", "Lent"},
        {speed, 3, "Max", "Max"},
        {speed, 4, "Balanced", "Équilibré"},
        {family, 0, "Automatic", "Automatique"},
        {family, 1, "AMD AMF", "AMD AMF"},
        {family, 2, "NVIDIA NVENC", "NVIDIA NVENC"},
        {family, 3, "Intel QSV", "Intel QSV"},
        {family, 4, "Media Foundation (e.g. Adreno)", "Media Foundation (ex. Adreno)"},
        {family, 5, "Software (CPU)", "Logiciel (CPU)"},
        {family, 6, "Automatic", "Automatique"},
        {family, -1, "Automatic", "Automatique"},
        {audio, 0, "Copy", "Copier"},
        {audio, 1, "AAC", "AAC"},
        {audio, 2, "None", "Aucun"},
        {audio, 3, "Copy", "Copier"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.english);
        store_language(Language::English);
        EXPECT_EQ(c.label(c.index), c.english);
        store_language(Language::French);
        EXPECT_EQ(c.label(c.index), c.french);
    }
}

TEST(OptionsLabels, IndicesOutOfRangeGiveTheDefaultChoice) {
    EXPECT_EQ(resolution_from_index(7), 7);
    EXPECT_EQ(resolution_from_index(8), resolution_original);
    EXPECT_EQ(resolution_from_index(-1), resolution_original);
    EXPECT_EQ(encoder_family_from_index(5), EncoderFamily::Software);
    EXPECT_EQ(speed_from_index(0), SpeedPreset::Fast);
    EXPECT_EQ(audio_mode_from_index(2), AudioMode::None);
}

TEST(OptionsLabels, TagsAndExtensions) {
    EXPECT_EQ(codec_tag(VideoCodec::H264), "h264");
    EXPECT_EQ(codec_tag(VideoCodec::H265), "h265");
    EXPECT_EQ(container_extension(Container::Mp4), "mp4");
    EXPECT_EQ(container_extension(Container::Mkv), "mkv");
    EXPECT_EQ(codec_label(VideoCodec::H265), "H.265");
    EXPECT_EQ(container_label(Container::Mkv), "MKV");
}

TEST(PathText, KeepsUnicodeAndReplacesWhatIsNotUnicode) {
    EXPECT_EQ(path_text(path_from_utf8("dossier/été 日本.mp4")), "dossier/été 日本.mp4");
#ifdef _WIN32
    const std::filesystem::path broken(std::wstring{L'a', static_cast<wchar_t>(0xD800), L'b'});
#else
    const std::filesystem::path broken(std::string{"a\xFF"
                                                   "b"});
#endif
    EXPECT_EQ(path_text(broken), "a\xEF\xBF\xBD"
                                 "b");
}

} // namespace
} // namespace ondrel
