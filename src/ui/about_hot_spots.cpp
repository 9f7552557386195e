#include "ui/about_hot_spots.hpp"

namespace ondrel {

const HotSpot* hot_spot_at(const std::vector<HotSpot>& spots, std::int32_t x, std::int32_t y) {
    for (const HotSpot& spot : spots) {
        if (x >= spot.left && x < spot.right && y >= spot.top && y < spot.bottom) {
            return &spot;
        }
    }
    return nullptr;
}

bool update_hover(Hover& hover, const HotSpot* spot) {
    if (spot == nullptr) {
        if (hover.kind == HotSpotKind::None) {
            return false;
        }
        hover = Hover{};
        return true;
    }
    if (spot->kind == hover.kind && spot->address == hover.address) {
        return false;
    }
    hover = Hover{spot->kind, spot->address};
    return true;
}

} // namespace ondrel
