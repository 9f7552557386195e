#include "platform/dpi.hpp"

#include <cmath>
#include <limits>

namespace ondrel {
namespace {

std::int32_t saturate(float value) {
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= 2147483648.0f) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (value < -2147483648.0f) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(value);
}

} // namespace

std::int32_t scale_for_dpi(float size, std::uint32_t dpi) {
    const float scaled = size * static_cast<float>(dpi) / 96.0f;
    // Halves away from zero without std::round, whose C-runtime versions differ.
    float rounded = std::trunc(scaled);
    if (std::fabs(scaled - rounded) >= 0.5f) {
        rounded += std::copysign(1.0f, scaled);
    }
    return saturate(rounded);
}

std::int32_t truncate_saturated(float value) {
    return saturate(std::trunc(value));
}

} // namespace ondrel
