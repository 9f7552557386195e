#include "main/command_line.hpp"

#include <gtest/gtest.h>

namespace ondrel {
namespace {

using Arguments = std::vector<std::u16string>;

TEST(SplitCommandLine, WindowsRules) {
    struct Case {
        const char16_t* line;
        Arguments expected;
    };
    const Case cases[] = {
        {u"Ondrel.exe", {u"Ondrel.exe"}},
        {u"\"C:\\Program Files\\Ondrel\\Ondrel.exe\" clip.mp4",
         {u"C:\\Program Files\\Ondrel\\Ondrel.exe", u"clip.mp4"}},
        // The program path keeps its backslashes even before a quote.
        {u"C:\\Ondrel\\Ondrel.exe \"C:\\My Videos\\a b.mkv\"",
         {u"C:\\Ondrel\\Ondrel.exe", u"C:\\My Videos\\a b.mkv"}},
        {u"x  a\tb ", {u"x", u"a", u"b"}},
        {u"x a\\\\\\\"b", {u"x", u"a\\\"b"}},     // 3 backslashes + quote: \ and a literal quote
        {u"x \"a\\\\\" b", {u"x", u"a\\", u"b"}}, // 2 backslashes + quote: \ and end of quoting
        {u"x a\\b\\\\c", {u"x", u"a\\b\\\\c"}},   // backslashes not before a quote stay
        {u"x \"a\"\"b\"", {u"x", u"a\"b"}},       // "" inside quotes gives one quote
        {u"x \"\"", {u"x", u""}},                 // an empty quoted argument exists
        {u"x \"unterminated arg", {u"x", u"unterminated arg"}},
        {u"x C:\\dir\\", {u"x", u"C:\\dir\\"}},
        {u"\"quoted prog\"tail first", {u"quoted progtail", u"first"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(split_command_line(c.line), c.expected);
    }
}

TEST(FirstArgument, OnlyTheFirstAfterTheProgram) {
    EXPECT_EQ(first_argument({u"prog"}), std::nullopt);
    EXPECT_EQ(first_argument({u"prog", u"one.mp4", u"two.mp4"}), "one.mp4");
    EXPECT_EQ(first_argument({u"prog", u"Vid\u00E9o \u6620\u753B.mkv"}), "Vidéo 映画.mkv");
    EXPECT_EQ(first_argument({u"prog", std::u16string(1, char16_t(0xD800))}), "\xEF\xBF\xBD");
}

TEST(IsUrl, AnyTextWithSchemeSeparator) {
    EXPECT_TRUE(is_url("https://example.com/v.mp4"));
    EXPECT_TRUE(is_url("C:\\odd://name"));
    EXPECT_FALSE(is_url("C:\\Videos\\clip.mp4"));
    EXPECT_FALSE(is_url("file:/x"));
}

} // namespace
} // namespace ondrel
