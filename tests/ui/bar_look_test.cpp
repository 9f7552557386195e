#include "support/language_guard.hpp"
#include "ui/bar_layout.hpp"
#include "ui/bar_look.hpp"

#include <gtest/gtest.h>

namespace ondrel {
namespace {

using testing::LanguageGuard;

BarLook playing() {
    BarLook look;
    look.file_loaded = true;
    look.volume = 80;
    return look;
}

TEST(BarGlyph, PlayAndFullScreenFollowTheState) {
    BarLook paused = playing();
    paused.paused = true;
    BarLook ended = playing();
    ended.end_of_file = true;
    BarLook full_screen = playing();
    full_screen.full_screen = true;
    // Pause shows while something plays; play in every other case.
    EXPECT_EQ(bar_glyph(item_play_pause, playing()), 0xE769);
    for (const BarLook& look : {paused, ended, BarLook{}}) {
        EXPECT_EQ(bar_glyph(item_play_pause, look), 0xE768);
    }
    EXPECT_EQ(bar_glyph(item_full_screen, playing()), 0xE740);
    EXPECT_EQ(bar_glyph(item_full_screen, full_screen), 0xE73F);
    EXPECT_EQ(bar_glyph(item_seek, playing()), 0); // the sliders have no glyph
}

TEST(BarGlyph, MuteButtonByVolume) {
    struct Case {
        double volume;
        bool muted;
        char16_t glyph;
    };
    const Case cases[] = {{0, false, 0xE992},    {-1, false, 0xE992},  {0.1, false, 0xE993},
                          {33.9, false, 0xE993}, {34, false, 0xE994},  {66.9, false, 0xE994},
                          {67, false, 0xE995},   {100, false, 0xE995}, {100, true, 0xE74F},
                          {0, true, 0xE74F}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.volume);
        BarLook look;
        look.volume = c.volume;
        look.muted = c.muted;
        EXPECT_EQ(bar_glyph(item_mute, look), c.glyph);
    }
}

TEST(BarGlyphColour, GreyWithoutAFileAccentWhenSwitchedOn) {
    BarLook nothing_open;
    nothing_open.always_on_top = true;
    nothing_open.subtitles_on = true;
    for (const std::uint8_t item :
         {item_play_pause, item_back, item_forward, item_audio, item_subtitles}) {
        EXPECT_EQ(bar_glyph_colour(item, nothing_open), bar_disabled) << int(item);
        EXPECT_EQ(bar_glyph_colour(item, playing()), bar_foreground) << int(item);
    }
    for (const std::uint8_t item : {item_open, item_mute, item_full_screen, item_help}) {
        EXPECT_EQ(bar_glyph_colour(item, nothing_open), bar_foreground) << int(item);
    }
    // The pin keeps its accent without a file; the subtitle button only with one.
    EXPECT_EQ(bar_glyph_colour(item_always_on_top, nothing_open), bar_accent);
    EXPECT_EQ(bar_glyph_colour(item_always_on_top, playing()), bar_foreground);
    BarLook subtitles = playing();
    subtitles.subtitles_on = true;
    EXPECT_EQ(bar_glyph_colour(item_subtitles, subtitles), bar_accent);
}

TEST(BarTimeText, ClockFormsSpeedAndPreview) {
    const auto state = [](bool loaded, double position, double duration, double speed) {
        PlaybackState playback;
        playback.file_loaded = loaded;
        playback.time_position = position;
        playback.duration = duration;
        playback.speed = speed;
        return playback;
    };
    struct Case {
        PlaybackState playback;
        std::optional<double> preview;
        std::string text;
    };
    const Case cases[] = {
        {state(false, 0, 0, 1), std::nullopt, "—"},
        {state(true, 0, 0, 1), std::nullopt, "0:00 / 0:00"},
        {state(true, 7.9, 205, 1), std::nullopt, "0:07 / 3:25"},
        {state(true, 754, 3599, 1), std::nullopt, "12:34 / 59:59"},
        {state(true, 5, 3600, 1), std::nullopt, "0:00:05 / 1:00:00"},
        {state(true, -3, 100, 1), std::nullopt, "0:00 / 1:40"},
        {state(true, 3700, 0, 1), std::nullopt, "1:01:40 / 0:00"},
        {state(true, 10, 100, 1.005), std::nullopt, "0:10 / 1:40"},
        {state(true, 10, 100, 0.5), std::nullopt, "0:10 / 1:40   ×0.5"},
        {state(true, 10, 100, 2), std::nullopt, "0:10 / 1:40   ×2"},
        {state(true, 10, 100, 1.5), 0.75, "1:15 / 1:40   ×1.5"},
        // A file whose duration is known but that has ended still shows its times.
        {state(false, 100, 100, 1), std::nullopt, "1:40 / 1:40"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(bar_time_text(c.playback, c.preview), c.text);
    }
}

TEST(BarTexts, CompressionAndTooltipsInBothLanguages) {
    LanguageGuard guard(Language::English);
    EXPECT_EQ(compression_progress_text(41.5), "Compressing 42%");
    EXPECT_EQ(bar_tooltip_text(item_open), "Open a file (Ctrl+O)");
    EXPECT_EQ(bar_tooltip_text(item_full_screen), "Full screen (F, double-click) — Esc to exit");
    EXPECT_EQ(bar_tooltip_text(item_help), "Help (F1)");
    EXPECT_EQ(bar_tooltip_text(item_none), "");
    store_language(Language::French);
    EXPECT_EQ(compression_progress_text(7.2), "Compression 7 %");
    EXPECT_EQ(bar_tooltip_text(item_mute), "Muet (M) — molette ou ↑/↓ pour le volume");
    EXPECT_EQ(bar_tooltip_text(item_subtitles), "Sous-titres (S : suivant / désactiver)");
}

} // namespace
} // namespace ondrel
