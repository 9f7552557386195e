#include "ui/bar_layout.hpp"

#include "platform/dpi.hpp"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ondrel {
namespace {

std::int32_t clamp32(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// left + fraction x span, truncated; a fraction that is no number stays at the left edge.
std::int32_t point_along(std::int32_t left, std::int32_t right, double fraction) {
    const double x = static_cast<double>(left) +
                     fraction * (static_cast<double>(right) - static_cast<double>(left));
    if (std::isnan(x)) {
        return left;
    }
    if (x >= 2147483647.0) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (x <= -2147483648.0) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(x);
}

} // namespace

BarLayout bar_layout(std::uint32_t dpi, std::int32_t width, std::int32_t height, bool compressing) {
    const std::int64_t p = scale_for_dpi(6, dpi);
    const std::int64_t b = scale_for_dpi(40, dpi);
    const std::int64_t g = scale_for_dpi(12, dpi);
    const auto column = [&](std::int64_t left) {
        return BarRect{clamp32(left), 0, clamp32(left + b), height};
    };
    BarLayout layout;
    std::size_t next = 0;
    for (const std::uint8_t item : {item_open, item_play_pause, item_back, item_forward}) {
        layout.buttons[next] = {item, column(p + static_cast<std::int64_t>(next) * b)};
        ++next;
    }
    const std::int64_t group_end = p + 4 * b; // L
    std::int64_t right = static_cast<std::int64_t>(width) - p;
    for (const std::uint8_t item :
         {item_help, item_full_screen, item_always_on_top, item_subtitles, item_audio}) {
        right -= b;
        layout.buttons[next++] = {item, column(right)};
    }
    const std::int64_t audio_left = right; // X5
    const std::int64_t volume_left = audio_left - scale_for_dpi(92, dpi);
    layout.volume = {clamp32(volume_left), 0, clamp32(audio_left - scale_for_dpi(8, dpi)), height};
    const std::int64_t mute_left = volume_left - b; // M
    layout.buttons[next] = {item_mute, column(mute_left)};

    const std::int64_t time_width = scale_for_dpi(compressing ? 300.0f : 150.0f, dpi);
    const std::int64_t reserve = scale_for_dpi(150, dpi);
    const std::int64_t shown = mute_left - group_end > time_width + reserve ? time_width : 0;
    const std::int64_t time_left = group_end + g / 2;
    layout.time = {clamp32(time_left), 0, clamp32(time_left + shown), height};
    const std::int64_t seek_left = group_end + g + shown;
    layout.seek = {clamp32(seek_left), 0, clamp32(std::max(mute_left - g, seek_left + 1)), height};
    return layout;
}

std::uint8_t bar_item_at(const BarLayout& layout, std::int32_t x, std::int32_t y,
                         bool compressing) {
    for (const BarButton& button : layout.buttons) {
        if (button.rect.contains(x, y)) {
            return button.item;
        }
    }
    if (layout.seek.contains(x, y)) {
        return item_seek;
    }
    if (layout.volume.contains(x, y)) {
        return item_volume;
    }
    if (compressing && layout.time.contains(x, y)) {
        return item_compression;
    }
    return item_none;
}

double slider_fraction(const BarRect& slider, std::int32_t x) {
    const std::int64_t span = static_cast<std::int64_t>(slider.right) - slider.left;
    const double width = span < 2 ? 1.0 : static_cast<double>(span);
    const double fraction = (static_cast<double>(x) - slider.left) / width;
    return std::clamp(fraction, 0.0, 1.0);
}

SliderShape slider_shape(const BarRect& slider, double fraction, bool active, std::uint32_t dpi) {
    const std::int64_t t = scale_for_dpi(active ? 6.0f : 4.0f, dpi);
    const std::int64_t mid = (static_cast<std::int64_t>(slider.top) + slider.bottom) / 2;
    const std::int32_t top = clamp32(mid - t / 2);
    const std::int32_t bottom = clamp32(mid + t - t / 2 + 1);
    SliderShape shape;
    shape.corner = clamp32(t);
    shape.track = {slider.left, top, clamp32(static_cast<std::int64_t>(slider.right) + 1), bottom};
    const std::int32_t end = point_along(slider.left, slider.right, fraction);
    if (end > slider.left) {
        shape.fill = BarRect{slider.left, top, clamp32(static_cast<std::int64_t>(end) + 1), bottom};
    }
    if (active) {
        const std::int64_t r = scale_for_dpi(7, dpi);
        shape.knob =
            BarRect{clamp32(end - r), clamp32(mid - r), clamp32(end + r + 1), clamp32(mid + r + 1)};
    }
    return shape;
}

} // namespace ondrel
