#include "ui/about_hot_spots.hpp"

#include <gtest/gtest.h>

namespace ondrel {
namespace {

const std::vector<HotSpot> spots = {
    {10, 10, 20, 20, HotSpotKind::Close, ""},
    {15, 15, 40, 30, HotSpotKind::Link, "https://a.example/"},
    {0, 50, 100, 60, HotSpotKind::Link, "https://b.example/"},
    {0, 70, 100, 80, HotSpotKind::CheckBox, ""},
};

TEST(AboutHotSpots, FirstAreaHoldingThePointWins) {
    struct Case {
        std::int32_t x, y;
        int expected; // index into spots, -1 for none
    } cases[] = {
        {10, 10, 0},  {19, 19, 0}, // left and top edges inside
        {20, 15, 1},  {15, 20, 1}, // right and bottom edges outside the first
        {16, 16, 0},               // overlap: the earlier one
        {40, 20, -1}, {0, 49, -1}, {99, 59, 2}, {100, 55, -1}, {50, 75, 3}, {-1, -1, -1},
    };
    for (const Case& c : cases) {
        const HotSpot* found = hot_spot_at(spots, c.x, c.y);
        EXPECT_EQ(found == nullptr ? -1 : static_cast<int>(found - spots.data()), c.expected)
            << c.x << "," << c.y;
    }
    EXPECT_EQ(hot_spot_at({}, 0, 0), nullptr);
}

TEST(AboutHotSpots, HoverChangesOnlyWithKindOrAddress) {
    Hover hover;
    EXPECT_FALSE(update_hover(hover, nullptr));
    EXPECT_TRUE(update_hover(hover, &spots[1]));
    EXPECT_EQ(hover.kind, HotSpotKind::Link);
    EXPECT_EQ(hover.address, "https://a.example/");
    EXPECT_FALSE(update_hover(hover, &spots[1]));
    // Another link is another hover, though the kind is the same.
    EXPECT_TRUE(update_hover(hover, &spots[2]));
    EXPECT_EQ(hover.address, "https://b.example/");
    EXPECT_TRUE(update_hover(hover, &spots[0]));
    EXPECT_EQ(hover.kind, HotSpotKind::Close);
    EXPECT_EQ(hover.address, "");
    EXPECT_TRUE(update_hover(hover, nullptr));
    EXPECT_EQ(hover.kind, HotSpotKind::None);
    EXPECT_FALSE(update_hover(hover, nullptr));
}

} // namespace
} // namespace ondrel
