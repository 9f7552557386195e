#include "platform/numbers.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace ondrel {

std::string format_shortest(double value) {
    if (std::isnan(value)) {
        return "NaN";
    }
    if (std::isinf(value)) {
        return value > 0 ? "inf" : "-inf";
    }
    if (value == 0) {
        return "0";
    }
    std::array<char, 400> buffer{};
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                         std::chars_format::fixed);
    if (ec != std::errc{}) {
        return "NaN";
    }
    return std::string(buffer.data(), end);
}

std::string format_fixed(double value, int decimals) {
    if (std::isnan(value)) {
        return "NaN";
    }
    if (std::isinf(value)) {
        return value > 0 ? "inf" : "-inf";
    }
    std::array<char, 420> buffer{};
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                         std::chars_format::fixed, decimals < 0 ? 0 : decimals);
    if (ec != std::errc{}) {
        return "NaN";
    }
    return std::string(buffer.data(), end);
}

namespace {

// Rough power of ten of a decimal text that from_chars found out of range: positive means
// too large for a double, otherwise too small.
std::int64_t decimal_magnitude(std::string_view text) {
    // Exponents beyond any double's reach are cut to a bound that keeps the sum below
    // exact; an exponent too long for 64 bits counts by its sign.
    constexpr std::int64_t exponent_bound = std::int64_t{1} << 40;
    const std::size_t e = text.find_first_of("eE");
    const std::string_view mantissa = text.substr(0, e);
    std::int64_t exponent = 0;
    if (e != std::string_view::npos) {
        const std::string_view digits = text.substr(e + 1);
        const bool negative = !digits.empty() && digits.front() == '-';
        exponent =
            std::clamp(parse_int64(digits).value_or(negative ? -exponent_bound : exponent_bound),
                       -exponent_bound, exponent_bound);
    }
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first_digit = mantissa.find_first_of("123456789");
    if (first_digit == std::string_view::npos) {
        return 0;
    }
    const auto position = first_digit < point ? static_cast<std::int64_t>(point - first_digit)
                                              : -static_cast<std::int64_t>(first_digit - point - 1);
    return position + exponent;
}

} // namespace

std::optional<double> parse_double(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // from_chars takes no sign of its own after ours, and no leading blanks.
    if (text.empty() || text.front() == '+' || text.front() == '-') {
        return std::nullopt;
    }
    double value = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    const auto [end, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (end != last) {
        return std::nullopt;
    }
    if (ec == std::errc::result_out_of_range) {
        value = decimal_magnitude(text) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (ec != std::errc{}) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

namespace {

template <class Int> std::optional<Int> parse_integer(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (text.empty() || text.front() == '-') {
            return std::nullopt;
        }
    }
    if (text.empty()) {
        return std::nullopt;
    }
    Int value = 0;
    const char* last = text.data() + text.size();
    const auto [end, ec] = std::from_chars(text.data(), last, value, 10);
    if (ec != std::errc{} || end != last) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<std::int32_t> parse_int32(std::string_view text) {
    return parse_integer<std::int32_t>(text);
}

std::optional<std::int64_t> parse_int64(std::string_view text) {
    return parse_integer<std::int64_t>(text);
}

std::optional<std::uint64_t> parse_digits(std::string_view text, std::uint64_t largest) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (value > largest / 10 || digit > largest - value * 10) {
            return std::nullopt;
        }
        value = value * 10 + digit;
    }
    return value;
}

std::int64_t round_half_away_saturated(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    // Not std::round: some C runtimes compute floor(x + 0.5), which turns 0.49999999999999994
    // into 1. The distance to the truncated value is exact.
    double r = std::trunc(value);
    if (std::fabs(value - r) >= 0.5) {
        r += std::copysign(1.0, value);
    }
    if (r >= 9223372036854775808.0) {
        return std::numeric_limits<std::int64_t>::max();
    }
    if (r < -9223372036854775808.0) {
        return std::numeric_limits<std::int64_t>::min();
    }
    return static_cast<std::int64_t>(r);
}

} // namespace ondrel
