#include "platform/dpi.hpp"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace ondrel {
namespace {

TEST(ScaleForDpi, RoundsHalvesAwayAndSaturates) {
    struct Case {
        float size;
        std::uint32_t dpi;
        std::int32_t expected;
    };
    const Case cases[] = {
        {44, 96, 44},
        {44, 144, 66},
        {44, 120, 55},
        {1, 144, 2},   // 1.5 rounds up
        {3, 144, 5},   // 4.5 rounds up
        {-1, 144, -2}, // -1.5 rounds away
        {0, 288, 0},
        {5, 0, 0},
        {580, 144, 870},
        {300, 144, 450},
        {11.5f, 120, 14},     // 14.375
        {0.49999997f, 96, 0}, // just below a half
        {3e9f, 96, std::numeric_limits<std::int32_t>::max()},
        {-3e9f, 96, std::numeric_limits<std::int32_t>::min()},
        {std::numeric_limits<float>::infinity(), 96, std::numeric_limits<std::int32_t>::max()},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(scale_for_dpi(c.size, c.dpi), c.expected) << c.size << " at " << c.dpi;
    }
    EXPECT_EQ(scale_for_dpi(std::nanf(""), 144), 0);
}

TEST(TruncateSaturated, TowardZero) {
    EXPECT_EQ(truncate_saturated(1439.9f), 1439);
    EXPECT_EQ(truncate_saturated(-2.7f), -2);
    EXPECT_EQ(truncate_saturated(1e10f), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(truncate_saturated(std::nanf("")), 0);
    EXPECT_EQ(at_least_96(72), 96u);
    EXPECT_EQ(at_least_96(144), 144u);
}

} // namespace
} // namespace ondrel
