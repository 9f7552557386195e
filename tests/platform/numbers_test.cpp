#include "platform/numbers.hpp"

#include <clocale>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <locale>
#include <optional>
#include <tuple>

namespace ondrel {
namespace {

TEST(FormatShortest, IntegersWithoutDecimalsAndFractionsAsNeeded) {
    const std::pair<double, const char*> cases[] = {
        {80, "80"},
        {62.4, "62.4"},
        {0.125, "0.125"},
        {-3, "-3"},
        {-0.0, "0"},
        {0.1, "0.1"},
        {1e21, "1000000000000000000000"},
        {2.5e-7, "0.00000025"},
        {1.0 / 3, "0.3333333333333333"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(format_shortest(value), text);
    }
    EXPECT_EQ(format_shortest(std::nan("")), "NaN");
    EXPECT_EQ(format_shortest(-std::numeric_limits<double>::infinity()), "-inf");
}

TEST(FormatFixed, RoundsToTheGivenDecimals) {
    EXPECT_EQ(format_fixed(1.5, 1), "1.5");
    EXPECT_EQ(format_fixed(12, 1), "12.0");
    EXPECT_EQ(format_fixed(999.999, 1), "1000.0");
    EXPECT_EQ(format_fixed(0.04, 1), "0.0");
    EXPECT_EQ(format_fixed(2.675, 2), "2.67"); // the double just below 2.675
    EXPECT_EQ(format_fixed(3, 0), "3");
}

TEST(ParseDouble, WholeTextOrNothing) {
    const std::pair<const char*, double> good[] = {
        {"62.4", 62.4}, {"+5", 5},    {"-3", -3},
        {".5", 0.5},    {"5.", 5},    {"1e2", 100},
        {"1E-2", 0.01}, {"150", 150}, {"1e999", std::numeric_limits<double>::infinity()},
        {"1e-999", 0},
    };
    for (const auto& [text, value] : good) {
        ASSERT_TRUE(parse_double(text).has_value()) << text;
        EXPECT_EQ(*parse_double(text), value) << text;
    }
    for (const char* bad :
         {"", "abc", "1,5", " 1", "1 ", "0x10", "--1", "+-1", "+", "1e", "62.4%"}) {
        EXPECT_FALSE(parse_double(bad).has_value()) << bad;
    }
    EXPECT_TRUE(std::isnan(parse_double("nan").value()));
    EXPECT_TRUE(std::isinf(parse_double("inf").value()));
}

TEST(ParseDouble, OutOfRangeGoesToInfinityOrZero) {
    const std::pair<const char*, double> cases[] = {
        {"1e400", HUGE_VAL},
        {"-1e400", -HUGE_VAL},
        {"1e-400", 0.0},
        {"0.000001e-399", 0.0},
        {"123456e-99999999999999999999", 0.0}, // exponent too long for 64 bits
        {"1e99999999999999999999", HUGE_VAL},
        {"1e9223372036854775807", HUGE_VAL},
        {"1e-9223372036854775808", 0.0},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(parse_double(text), expected) << text;
    }
}

TEST(ParseInt, Signed32And64) {
    EXPECT_EQ(parse_int32("+10"), 10);
    EXPECT_EQ(parse_int32("-2147483648"), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(parse_int32("2147483647"), 2147483647);
    for (const char* bad : {"2147483648", "", "+", "-", "1.0", " 1", "x", "+-1", "1e3"}) {
        EXPECT_FALSE(parse_int32(bad).has_value()) << bad;
    }
    EXPECT_EQ(parse_int64("9223372036854775807"), std::numeric_limits<std::int64_t>::max());
    EXPECT_FALSE(parse_int64("9223372036854775808").has_value());
}

TEST(ParseDigits, PlainUnsignedUpToALimit) {
    const std::tuple<const char*, std::uint64_t, std::optional<std::uint64_t>> cases[] = {
        {"0", UINT64_MAX, 0},
        {"+007", UINT64_MAX, 7},
        {"18446744073709551615", UINT64_MAX, UINT64_MAX},
        {"18446744073709551616", UINT64_MAX, std::nullopt},
        {"99999999999999999999", UINT64_MAX, std::nullopt},
        {"255", 255, 255},
        {"256", 255, std::nullopt},
        {"7", 6, std::nullopt},
        {"", UINT64_MAX, std::nullopt},
        {"+", UINT64_MAX, std::nullopt},
        {"-1", UINT64_MAX, std::nullopt},
        {"++1", UINT64_MAX, std::nullopt},
        {" 1", UINT64_MAX, std::nullopt},
        {"1 ", UINT64_MAX, std::nullopt},
        {"1.0", UINT64_MAX, std::nullopt},
        {"0x10", UINT64_MAX, std::nullopt},
        {"1e3", UINT64_MAX, std::nullopt},
        {"\xd9\xa3", UINT64_MAX, std::nullopt}, // Arabic-Indic three
    };
    for (const auto& [text, largest, expected] : cases) {
        EXPECT_EQ(parse_digits(text, largest), expected) << text << " up to " << largest;
    }
}

TEST(RoundHalfAway, HalvesGoAwayFromZero) {
    const std::pair<double, std::int64_t> cases[] = {
        {62.4, 62},  {62.5, 63},         {-62.5, -63},        {0.49999999999999994, 0},
        {99.5, 100}, {1e300, INT64_MAX}, {-1e300, INT64_MIN},
    };
    for (const auto& [value, rounded] : cases) {
        EXPECT_EQ(round_half_away_saturated(value), rounded) << value;
    }
    EXPECT_EQ(round_half_away_saturated(std::nan("")), 0);
}

// A locale whose decimal separator is a comma, as a French or German Windows has.
struct CommaDecimal : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

TEST(Numbers, DecimalCommaLocaleChangesNothing) {
    const std::locale saved =
        std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));
    const std::string saved_c = std::setlocale(LC_ALL, nullptr);
    bool c_locale_has_comma = false;
    for (const char* name :
         {"fr_FR.UTF-8", "de_DE.UTF-8", "French_France.1252", "fr-FR", "fr_FR"}) {
        if (std::setlocale(LC_ALL, name) != nullptr && *std::localeconv()->decimal_point == ',') {
            c_locale_has_comma = true;
            break;
        }
    }
    const std::string shortest = format_shortest(62.4);
    const std::string fixed = format_fixed(1234.5, 1);
    const auto parsed = parse_double("62.4");
    const auto comma = parse_double("62,4");
    std::setlocale(LC_ALL, saved_c.c_str());
    std::locale::global(saved);

    EXPECT_EQ(shortest, "62.4");
    EXPECT_EQ(fixed, "1234.5");
    EXPECT_EQ(parsed, 62.4);
    EXPECT_FALSE(comma.has_value());
    RecordProperty("c_locale_with_decimal_comma", c_locale_has_comma ? "yes" : "no");
}

} // namespace
} // namespace ondrel
