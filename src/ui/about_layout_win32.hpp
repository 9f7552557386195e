// The About window's one layout routine, which both measures and paints, and the fonts it
// uses.
#pragma once

#include "ui/about_win32.hpp"

#include <cstdint>
#include <windows.h>

namespace ondrel {

// s = max(dpi, 96) / 96.
float about_scale(std::uint32_t dpi);

// round(n x s), halves away from zero.
std::int32_t about_size(float n, float scale);

// The nine fonts for the window's scale.
std::array<UniqueFont, about_font_count> create_about_fonts(float scale);

// Lays the window out for a client `width` and returns the height it needs. Measures only
// when `draw` is false; paints too when it is true. Both rebuild the hot-spot list.
std::int32_t layout_about(AboutWindow& about, HDC dc, std::int32_t width, bool draw);

// Double-buffered painting of the whole client area.
void paint_about(AboutWindow& about, HDC dc, const RECT& client);

} // namespace ondrel
