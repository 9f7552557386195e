// Where the control bar's items lie and which one a point falls on: plain arithmetic shared by
// the painting, the mouse handling, the tooltips and the track menus.
#pragma once

#include "platform/dpi.hpp"

#include <array>
#include <cstdint>
#include <optional>

namespace ondrel {

// Bar item ids, as kept in the hovered and pressed items.
inline constexpr std::uint8_t item_open = 0;
inline constexpr std::uint8_t item_play_pause = 1;
inline constexpr std::uint8_t item_back = 2;
inline constexpr std::uint8_t item_forward = 3;
inline constexpr std::uint8_t item_mute = 4;
inline constexpr std::uint8_t item_audio = 5;
inline constexpr std::uint8_t item_subtitles = 6;
inline constexpr std::uint8_t item_always_on_top = 7;
inline constexpr std::uint8_t item_full_screen = 8;
inline constexpr std::uint8_t item_help = 9;
inline constexpr std::uint8_t item_none = 10;
inline constexpr std::uint8_t item_seek = 12;
inline constexpr std::uint8_t item_volume = 13;
inline constexpr std::uint8_t item_compression = 14;

// Half-open: left <= x < right, top <= y < bottom.
struct BarRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    std::int32_t width() const { return right - left; }
    bool empty() const { return right <= left || bottom <= top; }
    bool contains(std::int32_t x, std::int32_t y) const {
        return left <= x && x < right && top <= y && y < bottom;
    }
    friend bool operator==(const BarRect&, const BarRect&) = default;
};

struct BarButton {
    std::uint8_t item = item_none;
    BarRect rect;
};

struct BarLayout {
    // Open, play, back, forward from the left; help, full screen, pin, subtitles, audio from
    // the right; mute just left of the volume slider.
    std::array<BarButton, 10> buttons;
    BarRect time; // empty when the window is too narrow for the times
    BarRect seek;
    BarRect volume;
};

// The bar's height: 44 pixels at 96 DPI. Inline, so the main window's layout in the core
// uses the same one.
inline std::int32_t bar_strip_height(std::uint32_t dpi) {
    return scale_for_dpi(44, dpi);
}

// The items of a bar `width` x `height` pixels at `dpi`. While a compression runs the time
// area is twice as wide, to hold the progress text too.
BarLayout bar_layout(std::uint32_t dpi, std::int32_t width, std::int32_t height, bool compressing);

// The item under a point in bar coordinates: the buttons first, then the seek bar, the volume
// slider and, while a compression runs, the time area (its progress text). item_none elsewhere.
std::uint8_t bar_item_at(const BarLayout& layout, std::int32_t x, std::int32_t y, bool compressing);

// Where x lies along a slider, from 0 at its left edge to 1 at its right, clamped.
double slider_fraction(const BarRect& slider, std::int32_t x);

// The shapes of a slider: the rounded track, the filled part up to the value (none at 0) and,
// while active, the knob. Right and bottom edges are exclusive, as GDI fills them.
struct SliderShape {
    BarRect track;
    std::optional<BarRect> fill;
    std::optional<BarRect> knob;
    std::int32_t corner = 0; // width and height of the rounding ellipse
};

SliderShape slider_shape(const BarRect& slider, double fraction, bool active, std::uint32_t dpi);

} // namespace ondrel
