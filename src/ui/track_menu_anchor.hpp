// Where a track menu hangs: the left edge of the audio or subtitle button in the bar.
#pragma once

#include <cstdint>

namespace ondrel {

// The button's left edge in bar pixels, for the bar's width. The buttons 9 to 5 lie side by
// side from the right edge inwards (6 pixels in, 40 wide, at 96 DPI).
std::int32_t track_button_left(std::uint32_t dpi, std::int32_t bar_width, std::uint8_t button);

} // namespace ondrel
