// The clickable areas of the About window and what the pointer is over. The layout pass
// records the areas; the window procedure asks them where the pointer is.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ondrel {

enum class HotSpotKind : std::int64_t { None = -1, Link = 0, CheckBox = 1, Close = 2 };

// Left and top inside, right and bottom outside, like a Win32 RECT.
struct HotSpot {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    HotSpotKind kind = HotSpotKind::None;
    std::string address; // links only
};

// What the pointer rests on: a kind, and for a link its address.
struct Hover {
    HotSpotKind kind = HotSpotKind::None;
    std::string address;
};

// The first area in list order that holds the point; null when none does.
const HotSpot* hot_spot_at(const std::vector<HotSpot>& spots, std::int32_t x, std::int32_t y);

// Moves the hover to the area under the pointer (null for none). True when it changed, so
// the window must be repainted.
bool update_hover(Hover& hover, const HotSpot* spot);

} // namespace ondrel
