// Interface sizes are given at 96 DPI and scaled for the window's DPI.
#pragma once

#include <cstdint>

namespace ondrel {

// round(size x dpi / 96) in single precision, halves away from zero, saturated to the
// signed 32-bit range; a result that is not a number gives 0.
std::int32_t scale_for_dpi(float size, std::uint32_t dpi);

// The About and compression windows never scale below 96 DPI.
inline std::uint32_t at_least_96(std::uint32_t dpi) {
    return dpi < 96 ? 96 : dpi;
}

// Saturating float-to-int32 conversion, truncating toward zero; NaN gives 0.
std::int32_t truncate_saturated(float value);

} // namespace ondrel
