// Number texts that never depend on the process locale (no decimal comma, no grouping).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ondrel {

// Shortest text that reads back as the same double: 80, 62.4, 0.125, -3. NaN gives "NaN",
// infinities "inf" and "-inf"; negative zero is written "0".
std::string format_shortest(double value);

// Exactly `decimals` digits after the point, correctly rounded: 1.5 with 1 decimal is "1.5".
std::string format_fixed(double value, int decimals);

// A decimal floating-point number, whole text: optional sign, digits, point, exponent,
// "inf"/"infinity"/"nan". No white space, no hexadecimal.
std::optional<double> parse_double(std::string_view text);

// A signed decimal integer, whole text, optional leading + or -; out of range fails.
std::optional<std::int32_t> parse_int32(std::string_view text);
std::optional<std::int64_t> parse_int64(std::string_view text);

// Plain unsigned digits, whole text: an optional "+" and one or more ASCII digits, no larger
// than `largest`. No "-", no white space, no exponent (the form tools write counts and sizes in).
std::optional<std::uint64_t> parse_digits(std::string_view text,
                                          std::uint64_t largest = UINT64_MAX);

// Rounding to the nearest integer, halves away from zero, saturated; NaN gives 0.
std::int64_t round_half_away_saturated(double value);

} // namespace ondrel
