#include "i18n/language.hpp"
#include "support/language_guard.hpp"
#include "video_compress/progress_text.hpp"
#include "video_compress/summary_text.hpp"

#include <cmath>
#include <gtest/gtest.h>

namespace ondrel {
namespace {

using testing::LanguageGuard;

MediaInfo sample() {
    MediaInfo info;
    info.width = 1920;
    info.height = 1080;
    info.video_codec = "h264";
    info.fps = 30000.0 / 1001.0;
    info.duration = 125.4;
    info.size = 1500000;
    info.bit_rate = 8040000;
    info.audio_streams = {{"aac", "fre", 2}, {"ac3", "", 6}};
    return info;
}

TEST(InfoLine, SameWordsInBothLanguagesExceptTheSize) {
    LanguageGuard guard;
    store_language(Language::English);
    EXPECT_EQ(info_line(sample()),
              "1920x1080   |   H264   |   29.97 fps   |   2 min 05 s   |   1.5 MB   |   8.0 Mb/s");
    store_language(Language::French);
    EXPECT_EQ(info_line(sample()),
              "1920x1080   |   H264   |   29.97 fps   |   2 min 05 s   |   1,5 Mo   |   8.0 Mb/s");
}

TEST(InfoLine, BitRatePartOnlyWhenKnown) {
    LanguageGuard guard;
    store_language(Language::English);
    MediaInfo info = sample();
    info.bit_rate = 0;
    info.fps = 0;
    info.video_codec = "?";
    info.duration = 0;
    info.size = 999;
    EXPECT_EQ(info_line(info), "1920x1080   |   ?   |   0.00 fps   |   0 s   |   999 B");
    info.bit_rate = 1;
    EXPECT_EQ(info_line(info),
              "1920x1080   |   ?   |   0.00 fps   |   0 s   |   999 B   |   0.0 Mb/s");
    info.bit_rate = 2450000;
    info.fps = 25;
    EXPECT_EQ(info_line(info),
              "1920x1080   |   ?   |   25.00 fps   |   0 s   |   999 B   |   2.5 Mb/s");
}

TEST(AudioTracksLine, EntriesJoinedWithMiddleDots) {
    LanguageGuard guard;
    store_language(Language::English);
    EXPECT_EQ(audio_tracks_line(sample()), "Audio tracks: fre aac 2ch  ·  ac3 6ch");
    store_language(Language::French);
    EXPECT_EQ(audio_tracks_line(sample()), "Pistes audio : fre aac 2ch  ·  ac3 6ch");
    MediaInfo silent = sample();
    silent.audio_streams.clear();
    EXPECT_EQ(audio_tracks_line(silent), "");
}

TEST(EncoderLine, EstimateOnlyWhenThereIsOne) {
    LanguageGuard guard;
    store_language(Language::English);
    EXPECT_EQ(encoder_line("libx264", std::nullopt), "Encoder: libx264");
    EXPECT_EQ(encoder_line("h264_nvenc", 12345678),
              "Encoder: h264_nvenc  -  Estimated size: ~12.3 MB");
    store_language(Language::French);
    EXPECT_EQ(encoder_line("libx264", std::nullopt), "Encodeur : libx264");
    EXPECT_EQ(encoder_line("hevc_qsv", 12345678),
              "Encodeur : hevc_qsv  -  Taille estimée : ~12,3 Mo");
}

TEST(ProgressLine, BothLanguages) {
    LanguageGuard guard;
    struct Case {
        float percent;
        double speed, fps;
        const char* bitrate;
        const char* english;
        const char* french;
    };
    const Case cases[] = {
        {42.46f, 1.25, 29.6, "1234.5kbits/s", "42.5%   -   1.2x - 30 fps - 1234.5kbits/s",
         "42.5 %   -   1.2x - 30 im/s - 1234.5kbits/s"},
        {0.0f, 0.0, 0.0, "", "0.0%   -   0.0x - 0 fps - -", "0.0 %   -   0.0x - 0 im/s - -"},
        {100.0f, 12.04, 480.4, "N/A", "100.0%   -   12.0x - 480 fps - N/A",
         "100.0 %   -   12.0x - 480 im/s - N/A"},
    };
    for (const Case& c : cases) {
        store_language(Language::English);
        EXPECT_EQ(progress_line(c.percent, c.speed, c.fps, c.bitrate), c.english);
        store_language(Language::French);
        EXPECT_EQ(progress_line(c.percent, c.speed, c.fps, c.bitrate), c.french);
    }
}

TEST(SecondsLeft, FromTheShareDone) {
    EXPECT_FALSE(seconds_left(0.0f, 10.0));
    EXPECT_FALSE(seconds_left(-1.0f, 10.0));
    EXPECT_FALSE(seconds_left(std::nanf(""), 10.0));
    EXPECT_FALSE(seconds_left(50.0f, -1.0));
    EXPECT_DOUBLE_EQ(*seconds_left(25.0f, 10.0), 30.0);
    EXPECT_DOUBLE_EQ(*seconds_left(50.0f, 8.0), 8.0);
    EXPECT_DOUBLE_EQ(*seconds_left(100.0f, 8.0), 0.0);
    EXPECT_DOUBLE_EQ(*seconds_left(120.0f, 8.0), 0.0);
}

TEST(UpperCase, LettersWithASimpleCapital) {
    const std::pair<const char*, const char*> cases[] = {
        {"h264", "H264"},
        {"hevc", "HEVC"},
        {"prores_ks", "PRORES_KS"},
        {"?", "?"},
        {"", ""},
        {"éàüÿ÷ß", "ÉÀÜŸ÷SS"},
        {"ąčęłńőšžıſ", "ĄČĘŁŃŐŠŽIS"},
        {"αβγως", "ΑΒΓΩΣ"},
        {"кодек ё", "КОДЕК Ё"},
        {"日本", "日本"},
        {"a\xFF", "A\xEF\xBF\xBD"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(upper_case(text), expected) << text;
    }
}

} // namespace
} // namespace ondrel
