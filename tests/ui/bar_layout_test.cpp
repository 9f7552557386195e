#include "ui/bar_layout.hpp"

#include <array>
#include <gtest/gtest.h>
#include <limits>

namespace ondrel {
namespace {

TEST(BarLayout, PlacesEveryItemAt96And144Dpi) {
    struct Case {
        std::uint32_t dpi;
        std::int32_t width;
        std::int32_t height;
        std::int32_t button;
        std::array<std::int32_t, 10> lefts; // of the buttons, in layout order
        BarRect time, seek, volume;
    };
    const Case cases[] = {
        {96,
         1000,
         44,
         40,
         {6, 46, 86, 126, 954, 914, 874, 834, 794, 662},
         {172, 0, 322, 44},
         {328, 0, 650, 44},
         {702, 0, 786, 44}},
        {144,
         1500,
         66,
         60,
         {9, 69, 129, 189, 1431, 1371, 1311, 1251, 1191, 993},
         {258, 0, 483, 66},
         {492, 0, 975, 66},
         {1053, 0, 1179, 66}},
    };
    const std::uint8_t order[] = {0, 1, 2, 3, 9, 8, 7, 6, 5, 4};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dpi);
        const BarLayout layout = bar_layout(c.dpi, c.width, c.height, false);
        for (std::size_t i = 0; i < 10; ++i) {
            EXPECT_EQ(layout.buttons[i].item, order[i]);
            EXPECT_EQ(layout.buttons[i].rect,
                      (BarRect{c.lefts[i], 0, c.lefts[i] + c.button, c.height}));
        }
        EXPECT_EQ(layout.time, c.time);
        EXPECT_EQ(layout.seek, c.seek);
        EXPECT_EQ(layout.volume, c.volume);
    }
    EXPECT_EQ(bar_strip_height(96), 44);
    EXPECT_EQ(bar_strip_height(144), 66);
    EXPECT_EQ(bar_strip_height(120), 55);
}

TEST(BarLayout, TimeTextNeedsMoreRoomThanItsWidthAndTheReserve) {
    // At 96 DPI M - L = width - 504: the times need 300 (600 while compressing) exceeded.
    struct Case {
        std::int32_t width;
        bool compressing;
        std::int32_t time_width;
    };
    const Case cases[] = {{804, false, 0}, {805, false, 150}, {954, true, 0}, {955, true, 300}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        const BarLayout layout = bar_layout(96, c.width, 44, c.compressing);
        EXPECT_EQ(layout.time.width(), c.time_width);
        EXPECT_EQ(layout.seek.left, 178 + c.time_width); // the room the times leave
    }
}

TEST(BarLayout, SeekBarKeepsOnePixelInATinyWindow) {
    const BarLayout layout = bar_layout(96, 300, 44, false);
    EXPECT_EQ(layout.seek.left, 178);
    EXPECT_EQ(layout.seek.right, 179);
    EXPECT_TRUE(layout.time.empty());
    // Extreme sizes saturate instead of overflowing.
    const BarLayout huge = bar_layout(96, std::numeric_limits<std::int32_t>::max(), 44, false);
    EXPECT_EQ(huge.buttons[4].rect.right, std::numeric_limits<std::int32_t>::max() - 6);
}

TEST(BarHitTest, HalfOpenRectanglesInOrder) {
    const BarLayout layout = bar_layout(96, 1000, 44, false);
    const BarLayout compressing = bar_layout(96, 1000, 44, true);
    struct Case {
        const BarLayout* layout;
        bool compressing;
        std::int32_t x, y;
        std::uint8_t item;
    };
    const Case cases[] = {
        {&layout, false, 5, 20, item_none},
        {&layout, false, 6, 20, item_open},
        {&layout, false, 45, 0, item_open},
        {&layout, false, 46, 43, item_play_pause},
        {&layout, false, 46, 44, item_none},
        {&layout, false, 200, 20, item_none},
        {&layout, false, 328, 20, item_seek},
        {&layout, false, 650, 20, item_none},
        {&layout, false, 662, 20, item_mute},
        {&layout, false, 785, 20, item_volume},
        {&layout, false, 786, 20, item_none},
        {&layout, false, 794, 20, item_audio},
        {&layout, false, 993, 20, item_help},
        {&layout, false, 994, 20, item_none},
        // The time area is the compression text only while a compression runs.
        {&compressing, true, 200, 20, item_compression},
        {&compressing, false, 200, 20, item_none},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        EXPECT_EQ(bar_item_at(*c.layout, c.x, c.y, c.compressing), c.item);
    }
}

TEST(SliderFraction, ClampedAndSafeOnNarrowSliders) {
    const BarRect slider{100, 0, 200, 44};
    EXPECT_DOUBLE_EQ(slider_fraction(slider, 150), 0.5);
    EXPECT_DOUBLE_EQ(slider_fraction(slider, 50), 0.0);
    EXPECT_DOUBLE_EQ(slider_fraction(slider, 250), 1.0);
    EXPECT_DOUBLE_EQ(slider_fraction(BarRect{100, 0, 101, 44}, 101), 1.0);
}

TEST(SliderShape, TrackFillAndKnob) {
    const BarRect slider{100, 0, 200, 44}; // centre line 22
    const SliderShape idle = slider_shape(slider, 0.25, false, 96);
    EXPECT_EQ(idle.track, (BarRect{100, 20, 201, 25}));
    ASSERT_TRUE(idle.fill.has_value());
    EXPECT_EQ(*idle.fill, (BarRect{100, 20, 126, 25}));
    EXPECT_FALSE(idle.knob.has_value());
    EXPECT_EQ(idle.corner, 4);

    const SliderShape active = slider_shape(slider, 0.25, true, 96);
    EXPECT_EQ(active.track, (BarRect{100, 19, 201, 26}));
    EXPECT_EQ(active.corner, 6);
    ASSERT_TRUE(active.knob.has_value());
    EXPECT_EQ(*active.knob, (BarRect{118, 15, 133, 30}));

    EXPECT_FALSE(slider_shape(slider, 0, false, 96).fill.has_value());
    const SliderShape nan =
        slider_shape(slider, std::numeric_limits<double>::quiet_NaN(), true, 96);
    EXPECT_FALSE(nan.fill.has_value());
    EXPECT_EQ(nan.knob->left, 100 - 7);
    EXPECT_EQ(slider_shape(slider, 1, false, 144).fill->right, 201);
}

} // namespace
} // namespace ondrel
