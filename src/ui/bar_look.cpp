#include "ui/bar_look.hpp"

#include "i18n/formatters.hpp"
#include "i18n/glyphs.hpp"
#include "i18n/texts_bar.hpp"
#include "platform/numbers.hpp"
#include "ui/bar_layout.hpp"

#include <cmath>

namespace ondrel {
namespace {

std::string two_digits(std::int64_t value) {
    return (value < 10 ? "0" : "") + std::to_string(value);
}

std::int64_t whole_seconds(double seconds) {
    // Beyond about 30 000 years nothing meaningful is left to show.
    constexpr double longest = 1e12;
    if (!(seconds > 0)) {
        return 0;
    }
    return static_cast<std::int64_t>(std::min(seconds, longest));
}

bool item_enabled(std::uint8_t item, const BarLook& look) {
    switch (item) {
    case item_play_pause:
    case item_back:
    case item_forward:
    case item_audio:
    case item_subtitles:
        return look.file_loaded;
    default:
        return true;
    }
}

bool item_accented(std::uint8_t item, const BarLook& look) {
    switch (item) {
    case item_subtitles:
        return look.subtitles_on && look.file_loaded;
    case item_always_on_top:
        return look.always_on_top;
    default:
        return false;
    }
}

} // namespace

BarLook bar_look(const PlaybackState& playback, bool always_on_top, bool full_screen) {
    return {playback.file_loaded, playback.paused,       playback.end_of_file, playback.muted,
            playback.volume,      playback.subtitles_on, always_on_top,        full_screen};
}

char16_t bar_glyph(std::uint8_t item, const BarLook& look) {
    switch (item) {
    case item_open:
        return glyph::open_file;
    case item_play_pause:
        return look.file_loaded && !look.paused && !look.end_of_file ? glyph::pause : glyph::play;
    case item_back:
        return glyph::back_10;
    case item_forward:
        return glyph::forward_30;
    case item_mute:
        if (look.muted) {
            return glyph::muted;
        }
        if (look.volume >= 67) {
            return glyph::volume_3;
        }
        if (look.volume >= 34) {
            return glyph::volume_2;
        }
        return look.volume > 0 ? glyph::volume_1 : glyph::volume_0;
    case item_audio:
        return glyph::audio;
    case item_subtitles:
        return glyph::subtitles;
    case item_always_on_top:
        return glyph::pin;
    case item_full_screen:
        return look.full_screen ? glyph::leave_full_screen : glyph::full_screen;
    case item_help:
        return glyph::help;
    default:
        return 0;
    }
}

Rgb bar_glyph_colour(std::uint8_t item, const BarLook& look) {
    if (!item_enabled(item, look)) {
        return bar_disabled;
    }
    return item_accented(item, look) ? bar_accent : bar_foreground;
}

std::string clock_text(double seconds, bool with_hours) {
    const std::int64_t total = whole_seconds(seconds);
    const std::int64_t s = total % 60;
    if (with_hours) {
        return std::to_string(total / 3600) + ":" + two_digits(total / 60 % 60) + ":" +
               two_digits(s);
    }
    return std::to_string(total / 60) + ":" + two_digits(s);
}

std::string bar_time_text(const PlaybackState& playback, std::optional<double> seek_preview) {
    if (!(playback.duration > 0) && !playback.file_loaded) {
        return std::string(texts::bar_no_time);
    }
    const double position =
        seek_preview ? *seek_preview * playback.duration : playback.time_position;
    const bool long_file = whole_seconds(playback.duration) >= 3600;
    const auto clock = [&](double value) {
        return clock_text(value, long_file || whole_seconds(value) >= 3600);
    };
    std::string text = clock(position) + " / " + clock(playback.duration);
    if (std::fabs(playback.speed - 1.0) > 0.01) {
        text += "   ×" + format_shortest(playback.speed);
    }
    return text;
}

std::string compression_progress_text(double percent) {
    return fill(tr(texts::bar_compressing), {std::to_string(round_half_away_saturated(percent))});
}

std::string_view bar_tooltip_text(std::uint8_t item) {
    return item < texts::bar_tooltips.size() ? tr(texts::bar_tooltips[item]) : std::string_view{};
}

} // namespace ondrel
