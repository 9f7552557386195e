#include "mpv/loader.hpp"
#include "mpv/playback_rules.hpp"

#include <gtest/gtest.h>
#include <map>

#include <cmath>
#include <limits>

namespace ondrel {
namespace {

TEST(LibraryPath, BesideTheExecutableWithABackslash) {
    struct Case {
        std::string_view executable;
        std::string_view expected;
    };
    const Case cases[] = {
        {"C:\\Program Files\\Ondrel\\Ondrel.exe", "C:\\Program Files\\Ondrel\\libmpv-2.dll"},
        {"C:\\Vidéos\\outil\\Ondrel.exe", "C:\\Vidéos\\outil\\libmpv-2.dll"},
        {"\\\\server\\share\\Ondrel.exe", "\\\\server\\share\\libmpv-2.dll"},
        {"Ondrel.exe", "libmpv-2.dll"},
        {"", "libmpv-2.dll"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(library_path_beside(c.executable, "libmpv-2.dll"), c.expected) << c.executable;
    }
}

TEST(DisplayName, LastComponentOfAPathOrUrl) {
    struct Case {
        std::string_view path;
        std::string_view expected;
    };
    const Case cases[] = {
        {"C:\\Videos\\film.mkv", "film.mkv"},
        {"/home/me/clip one.mp4", "clip one.mp4"},
        {"https://example.com/videos/clip.mp4", "clip.mp4"},
        {"https://example.com/a\\b/c.mp4", "c.mp4"},
        {"https://example.com/dir\\part", "dir\\part"},
        {"film.mkv", "film.mkv"},
        {"C:\\Videos\\", "C:\\Videos\\"},
        {"D:\\Vidéos\\été.mkv", "été.mkv"},
        {"C:\\x\\bad\xFF.mkv", "bad\xEF\xBF\xBD.mkv"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(display_name(c.path), c.expected) << c.path;
    }
}

TEST(ResumeTime, MinutesAndSecondsOrHours) {
    struct Case {
        double seconds;
        std::string_view expected;
    };
    const Case cases[] = {
        {1.5, "0:01"},     {59.99, "0:59"},        {75, "1:15"},
        {600, "10:00"},    {3599.9, "59:59"},      {3600, "1:00:00"},
        {3725, "1:02:05"}, {36000, "10:00:00"},    {-4, "0:00"},
        {0, "0:00"},       {std::nan(""), "0:00"}, {1e300, "2562047788015215:30:07"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(format_resume_time(c.seconds), c.expected) << c.seconds;
    }
}

TEST(Speed, StepsThroughTheTable) {
    struct Case {
        double current;
        int step;
        double expected;
    };
    const Case cases[] = {
        {1.0, +1, 1.25},          {1.0, -1, 0.75}, {4.0, +1, 4.0}, {0.25, -1, 0.25},
        {0.8, +1, 1.25},          {0.8, -1, 0.75}, {2.0, +1, 3.0}, {3.0, +1, 4.0},
        {1.254, +1, 1.5},         {2.5, 0, 1.0},   {0.25, 0, 1.0}, {1.991, -1, 1.75},
        {std::nan(""), +1, 1.25},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(next_speed(c.current, c.step), c.expected) << c.current << " " << c.step;
    }
}

TEST(ProgressMarks, WholeSecondsAndTwoThousandthSteps) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double position;
        double duration;
        ProgressMarks expected;
    };
    const Case cases[] = {
        {12.7, 100, {12, 254}},
        {12.74, 100, {12, 254}},
        {12.75, 100, {12, 255}},
        {-0.5, 100, {0, -10}},
        {5, 0, {5, 0}},
        {5, -1, {5, 0}},
        {std::nan(""), 100, {0, 0}},
        {1e30, 100, {std::numeric_limits<std::int64_t>::max(), 2147483647}},
        {-1e30, 100, {std::numeric_limits<std::int64_t>::min(), -2147483647 - 1}},
        {inf, inf, {std::numeric_limits<std::int64_t>::max(), 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(progress_marks(c.position, c.duration), c.expected)
            << c.position << " / " << c.duration;
    }
}

// What the options must achieve rather than the list again: the video window first, the
// settings and the watch-later folder passed on, libmpv's own interface, scripts and
// configuration off, a file kept open at its end, and no option given twice (the later one
// would silently win over the earlier).
TEST(PlayerOptions, OursInOrder) {
    Settings settings;
    settings.volume = 62.5;
    settings.mute = true;
    const std::string folder = "C:\\Users\\é\\AppData\\Roaming\\Ondrel\\watch_later";
    const std::vector<MpvOption> options = player_options(0x20A04, settings, folder);
    std::map<std::string, std::string> value(options.begin(), options.end());
    EXPECT_EQ(value.size(), options.size()) << "an option is given twice";
    EXPECT_EQ(options.front(), MpvOption("wid", "133636"));
    EXPECT_EQ(value["watch-later-directory"], folder);
    EXPECT_EQ(value["volume"], "63");
    EXPECT_EQ(value["mute"], "yes");
    for (const char* off : {"config", "load-scripts", "ytdl", "osc", "input-default-bindings",
                            "input-vo-keyboard", "input-cursor", "cursor-autohide"}) {
        EXPECT_EQ(value[off], "no") << off;
    }
    for (const char* on : {"keep-open", "idle", "force-window", "resume-playback"}) {
        EXPECT_EQ(value[on], "yes") << on;
    }
}

TEST(PlayerOptions, VolumeRoundsHalvesAwayFromZeroAndWidIsSigned) {
    Settings settings;
    settings.volume = 0.49;
    EXPECT_EQ(player_options(0, settings, "")[18].second, "0");
    settings.volume = 99.5;
    EXPECT_EQ(player_options(0, settings, "")[18].second, "100");
    EXPECT_EQ(player_options(0, settings, "")[19].second, "no");
    // A handle value with the top bit set is written the way a signed integer reads.
    EXPECT_EQ(player_options(~ShellWindow{0}, settings, "")[0].second, "-1");
}

TEST(UserOptions, SplitAtSemicolonsAndTheFirstEquals) {
    using Options = std::vector<MpvOption>;
    struct Case {
        std::string_view text;
        Options expected;
    };
    const Case cases[] = {
        {"sub-font-size=50 ; ; novalue ;hwdec = no",
         Options{{"sub-font-size", "50"}, {"hwdec", "no"}}},
        {"", Options{}},
        {";;;", Options{}},
        {"vo=null;ao=null", Options{{"vo", "null"}, {"ao", "null"}}},
        {"glsl-shaders=a=b", Options{{"glsl-shaders", "a=b"}}},
        {"=value", Options{{"", "value"}}},
        {"\u00a0slang\u3000=\tfr,en ", Options{{"slang", "fr,en"}}},
        {"speed=0.8;", Options{{"speed", "0.8"}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(split_user_options(c.text), c.expected) << c.text;
    }
}

} // namespace
} // namespace ondrel
