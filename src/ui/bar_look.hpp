// What the control bar shows: its colours, the glyph and colour of each button, the time text
// and the compression progress text. Chosen here from plain values so the rules can be checked
// without drawing (the icon font is missing on some systems).
#pragma once

#include "mpv/player.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ondrel {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb bar_background{28, 28, 30};
inline constexpr Rgb bar_separator{48, 48, 51};
inline constexpr Rgb bar_highlight{58, 58, 62}; // hover and the compression text
inline constexpr Rgb slider_track{74, 74, 78};
inline constexpr Rgb bar_foreground{234, 234, 234}; // glyphs, time text, slider knob
inline constexpr Rgb bar_disabled{138, 138, 142};   // also the volume fill while muted
inline constexpr Rgb bar_accent{59, 142, 240};

// The state a button's look depends on.
struct BarLook {
    bool file_loaded = false;
    bool paused = false;
    bool end_of_file = false;
    bool muted = false;
    double volume = 0;
    bool subtitles_on = false;
    bool always_on_top = false;
    bool full_screen = false;
};

BarLook bar_look(const PlaybackState& playback, bool always_on_top, bool full_screen);

// The Segoe MDL2 Assets character of a button; 0 for ids that are no button.
char16_t bar_glyph(std::uint8_t item, const BarLook& look);

// Grey when the button has nothing to act on, the accent colour when what it switches is on.
Rgb bar_glyph_colour(std::uint8_t item, const BarLook& look);

// "m:ss", or "h:mm:ss" when `with_hours`; negative and non-numbers count as 0, fractions are
// dropped.
std::string clock_text(double seconds, bool with_hours);

// "—" with nothing open; otherwise "position / duration" (the position being where the seek bar
// is dragged to, when it is), followed by "   ×speed" when the speed is not 1.
std::string bar_time_text(const PlaybackState& playback, std::optional<double> seek_preview);

// "Compressing 42%", percent rounded to a whole number.
std::string compression_progress_text(double percent);

// The tooltip of a button, in the current language.
std::string_view bar_tooltip_text(std::uint8_t item);

} // namespace ondrel
