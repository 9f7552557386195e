#include "ui/track_menu_anchor.hpp"

#include "platform/dpi.hpp"

namespace ondrel {

std::int32_t track_button_left(std::uint32_t dpi, std::int32_t bar_width, std::uint8_t button) {
    const std::int32_t padding = scale_for_dpi(6, dpi);
    const std::int32_t button_width = scale_for_dpi(40, dpi);
    // Item 9 is the rightmost; each lower id sits one button further left.
    const std::int32_t places_from_right = 10 - static_cast<std::int32_t>(button);
    return bar_width - padding - places_from_right * button_width;
}

} // namespace ondrel
