#include "compress_cli/progress_display.hpp"
#include "i18n/language.hpp"
#include "support/language_guard.hpp"

#include <gtest/gtest.h>

namespace ondrel {
namespace {

using testing::LanguageGuard;

message::Progress at(float percent, const char* bitrate = "900.0kbits/s") {
    return message::Progress{bitrate, 2.0, 50.0, percent, {}, {}};
}

TEST(ProgressText, TimeLeftFollowsTheLine) {
    LanguageGuard guard;
    store_language(Language::English);
    EXPECT_EQ(progress_text(at(25.0f), 10.0),
              "25.0%   -   2.0x - 50 fps - 900.0kbits/s   -   30 s left");
    EXPECT_EQ(progress_text(at(0.0f, ""), 10.0), "0.0%   -   2.0x - 50 fps - -");
    store_language(Language::French);
    EXPECT_EQ(progress_text(at(50.0f), 95.0),
              "50.0 %   -   2.0x - 50 im/s - 900.0kbits/s   -   reste 1 min 35 s");
}

TEST(ProgressDisplay, PlainLinesAtEveryTenth) {
    LanguageGuard guard;
    store_language(Language::English);
    ProgressDisplay display;
    struct Step {
        float percent;
        bool written;
    };
    const Step steps[] = {{0.0f, true},   {0.25f, false}, {9.9f, false},
                          {10.0f, true},  {14.0f, false}, {35.0f, true},
                          {39.0f, false}, {100.0f, true}, {100.0f, false}};
    for (const Step& step : steps) {
        const std::string out = progress_update(display, at(step.percent), 1.0, "  ");
        if (step.written) {
            EXPECT_EQ(out, "  " + progress_text(at(step.percent), 1.0) + "\n") << step.percent;
        } else {
            EXPECT_EQ(out, "") << step.percent;
        }
    }
    EXPECT_EQ(progress_finish(display), "");
}

TEST(ProgressDisplay, LiveLineIsRewrittenInPlace) {
    LanguageGuard guard;
    store_language(Language::English);
    ProgressDisplay display;
    display.live = true;
    const std::string first = "  " + progress_text(at(1.0f, "123456.7kbits/s"), 1.0);
    EXPECT_EQ(progress_update(display, at(1.0f, "123456.7kbits/s"), 1.0, "  "), "\r" + first);
    EXPECT_EQ(display.shown_width, first.size());
    // Every report shows; a shorter line blanks out what is left of the longer one.
    const std::string second = "  " + progress_text(at(1.25f, "9.0kbits/s"), 1.0);
    ASSERT_LT(second.size(), first.size());
    EXPECT_EQ(progress_update(display, at(1.25f, "9.0kbits/s"), 1.0, "  "),
              "\r" + second + std::string(first.size() - second.size(), ' ') + "\r" + second);
    EXPECT_EQ(progress_finish(display), "\n");
    EXPECT_EQ(progress_finish(display), "");
}

TEST(ProgressDisplay, WidthCountsCharactersNotBytes) {
    LanguageGuard guard;
    store_language(Language::French);
    ProgressDisplay display;
    display.live = true;
    progress_update(display, at(50.0f, "é"), 1.0, "");
    const std::string text = progress_text(at(50.0f, "é"), 1.0);
    EXPECT_EQ(display.shown_width, text.size() - 1); // "é" is two bytes, one character
}

} // namespace
} // namespace ondrel
