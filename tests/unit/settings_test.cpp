#include "settings/settings.hpp"

#include <gtest/gtest.h>

namespace ondrel {
namespace {

TEST(ParseSettings, EmptyTextGivesDefaults) {
    const Settings s = parse_settings("");
    EXPECT_EQ(s.volume, 80);
    EXPECT_FALSE(s.mute || s.multi_instance || s.wheel_invert || s.hide_about || s.always_on_top ||
                 s.maximized);
    EXPECT_EQ(s.compress, "");
    EXPECT_EQ(s.mpv_options, "");
    EXPECT_EQ(s.language, "");
    EXPECT_FALSE(s.window.has_value());
}

TEST(ParseSettings, Volume) {
    const std::pair<const char*, double> cases[] = {
        {"volume = 150 ", 100},
        {"volume=abc", 80},
        {"volume=-3", 0},
        {"volume=62.4", 62.4},
        {"volume=", 80},
        {"volume=+40", 40},
        {"volume=nan", 80},
        {"volume=inf", 100},
        {"volume=1,5", 80},
        {"volume=30\nvolume=x", 30},  // a bad later line keeps the earlier
        {"volume=30\nvolume=70", 70}, // the last line wins
        {"Volume=50", 80},            // keys are case-sensitive
        {"volume=55\r\n", 55},        // CRLF
        {"\xC2\xA0volume\t=\xE2\x80\x83"
         "20\xC2\xA0",
         20}, // Unicode blanks are trimmed
    };
    for (const auto& [text, volume] : cases) {
        EXPECT_EQ(parse_settings(text).volume, volume) << text;
    }
}

TEST(ParseSettings, FlagsAreOnOnlyForExactlyOne) {
    const std::pair<const char*, bool> cases[] = {
        {"mute=1", true},   {"mute = 1 ", true}, {"mute=true", false},      {"mute=yes", false},
        {"mute=01", false}, {"mute=", false},    {"mute=1\nmute=0", false}, {"mute", false},
    };
    for (const auto& [text, on] : cases) {
        EXPECT_EQ(parse_settings(text).mute, on) << text;
    }
    const Settings all = parse_settings(
        "multi_instance=1\nwheel_invert=1\nhide_about=1\nalways_on_top=1\nmaximized=1\n");
    EXPECT_TRUE(all.multi_instance && all.wheel_invert && all.hide_about && all.always_on_top &&
                all.maximized);
    EXPECT_FALSE(all.mute);
}

TEST(ParseSettings, WindowRectangle) {
    struct Case {
        const char* text;
        std::optional<WindowRect> rect;
    };
    const Case cases[] = {
        {"window=10, 20 ,x,800,600", WindowRect{10, 20, 800, 600}},
        {"window=800,20,10,600", std::nullopt},  // left not below right
        {"window=10,600,800,600", std::nullopt}, // top not below bottom
        {"window=1,2,3", std::nullopt},
        {"window=1,2,3,4,5", std::nullopt},
        {"window=-1920,+0,-1,1080", WindowRect{-1920, 0, -1, 1080}},
        {"window=0,0,2147483648,10", std::nullopt}, // out of range pieces are skipped
        {"window=,,1,,2,3,4,", WindowRect{1, 2, 3, 4}},
        {"window=1,2,3,4\nwindow=9,9,1,1",
         WindowRect{1, 2, 3, 4}}, // an invalid line changes nothing
        {"window=1,2,3,4\nwindow=5,6,7,8", WindowRect{5, 6, 7, 8}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(parse_settings(c.text).window, c.rect) << c.text;
    }
}

TEST(ParseSettings, TextsAreTrimmedAndSplitAtTheFirstEquals) {
    const Settings s =
        parse_settings("compress= codec=h265;quality=good \nmpv_options=hwdec=auto;sub-font=Arial\n"
                       "language=fr\nnoise\n=orphan\nunknown=1\n");
    EXPECT_EQ(s.compress, "codec=h265;quality=good");
    EXPECT_EQ(s.mpv_options, "hwdec=auto;sub-font=Arial");
    EXPECT_EQ(s.language, "fr");
}

TEST(ParseSettings, ByteOrderMarkBeforeTheFirstKey) {
    EXPECT_EQ(parse_settings("\xEF\xBB\xBFvolume=12\n").volume, 12);
}

TEST(FormatSettings, ExactLinesInOrder) {
    Settings s;
    s.volume = 65;
    s.wheel_invert = true;
    s.hide_about = true;
    s.maximized = true;
    s.compress = "codec=h264";
    s.language = "fr";
    s.window = WindowRect{100, 80, 1060, 670};
    EXPECT_EQ(format_settings(s), "volume=65\nmute=0\nmulti_instance=0\nwheel_invert=1\n"
                                  "hide_about=1\nalways_on_top=0\nmaximized=1\n"
                                  "compress=codec=h264\nmpv_options=\nlanguage=fr\n"
                                  "window=100,80,1060,670\n");
}

TEST(FormatSettings, NoWindowLineWithoutRectangleAndVolumeRounded) {
    Settings s;
    s.mute = true;
    s.multi_instance = true;
    s.always_on_top = true;
    const std::pair<double, const char*> volumes[] = {
        {62.4, "volume=62\n"}, {62.5, "volume=63\n"}, {0, "volume=0\n"}, {99.5, "volume=100\n"}};
    for (const auto& [volume, line] : volumes) {
        s.volume = volume;
        const std::string text = format_settings(s);
        EXPECT_TRUE(text.starts_with(line)) << text;
        EXPECT_EQ(text.find("window="), std::string::npos);
        EXPECT_NE(text.find("\nmute=1\nmulti_instance=1\n"), std::string::npos);
        EXPECT_NE(text.find("\nalways_on_top=1\n"), std::string::npos);
    }
}

TEST(FormatSettings, LineBreaksInTextsCannotAddLines) {
    Settings s;
    s.mpv_options = "a=1\nmute=1";
    const Settings back = parse_settings(format_settings(s));
    EXPECT_FALSE(back.mute);
    EXPECT_EQ(back.mpv_options, "a=1 mute=1");
}

TEST(FormatSettings, RoundTrip) {
    Settings s;
    s.volume = 37;
    s.mute = true;
    s.hide_about = true;
    s.compress = "codec=h265;audio=copy";
    s.mpv_options = "hwdec=no";
    s.language = "en";
    s.window = WindowRect{-5, -6, 700, 500};
    const Settings back = parse_settings(format_settings(s));
    EXPECT_EQ(format_settings(back), format_settings(s));
    EXPECT_EQ(back.window, s.window);
}

} // namespace
} // namespace ondrel
