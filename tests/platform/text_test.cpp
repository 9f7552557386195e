#include "platform/files.hpp"
#include "platform/text.hpp"

#include <filesystem>
#include <gtest/gtest.h>
#include <type_traits>

namespace ondrel {
namespace {

const std::string fffd = "\xEF\xBF\xBD";

struct Utf8Case {
    const char* name;
    std::string bytes;
    bool valid;
    std::string repaired;
};

TEST(Utf8, ValidationAndRepairAgree) {
    const Utf8Case cases[] = {
        {"empty", "", true, ""},
        {"ascii", "settings.ini", true, "settings.ini"},
        {"two-byte", "Français", true, "Français"},
        {"em dash", "a \xE2\x80\x94 b", true, "a \xE2\x80\x94 b"},
        {"emoji", "\xF0\x9F\x8E\xAC", true, "\xF0\x9F\x8E\xAC"},
        {"lone continuation", "a\x80z", false, "a" + fffd + "z"},
        {"overlong slash", "\xC0\xAF", false, fffd + fffd},
        {"overlong three-byte", "\xE0\x80\xAF", false, fffd + fffd + fffd},
        {"surrogate", "\xED\xA0\x80", false, fffd + fffd + fffd},
        {"above U+10FFFF", "\xF4\x90\x80\x80", false, fffd + fffd + fffd + fffd},
        {"truncated at end", "ok\xE2\x80", false, "ok" + fffd},
        {"truncated before ascii", "\xE2\x80x", false, fffd + "x"},
        {"0xFF", "\xFF", false, fffd},
        {"embedded NUL is valid", std::string("a\0b", 3), true, std::string("a\0b", 3)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(is_valid_utf8(c.bytes), c.valid);
        EXPECT_EQ(repair_utf8(c.bytes), c.repaired);
        EXPECT_TRUE(is_valid_utf8(repair_utf8(c.bytes)));
    }
}

TEST(Utf16, ConversionBothWays) {
    EXPECT_EQ(utf8_to_utf16("Vid\xC3\xA9o"), u"Vidéo");
    EXPECT_EQ(utf8_to_utf16("\xF0\x9F\x8E\xAC"), u"\U0001F3AC");
    EXPECT_EQ(utf8_to_utf16("a\xFFz"), u"a\uFFFDz");
    EXPECT_EQ(utf16_to_utf8(u"\U0001F3AC \u00E9"), "\xF0\x9F\x8E\xAC \xC3\xA9");
    // A lone high or low surrogate cannot become UTF-8.
    EXPECT_EQ(utf16_to_utf8(std::u16string(1, char16_t(0xD83C)) + u"x"), fffd + "x");
    EXPECT_EQ(utf16_to_utf8(std::u16string(1, char16_t(0xDC00))), fffd);
    // The converted text is NUL-terminated for Win32.
    const std::u16string wide = utf8_to_utf16("abc");
    EXPECT_EQ(wide.c_str()[3], u'\0');
    for (const std::string text :
         {"", "plain", "C:\\Vid\xC3\xA9os\\\xE6\x98\xA0\xE7\x94\xBB.mkv"}) {
        EXPECT_EQ(utf16_to_utf8(utf8_to_utf16(text)), text);
    }
}

TEST(MpvText, EmbeddedNulsAreRemoved) {
    EXPECT_EQ(text_for_mpv(std::string("lo\0ad\0", 6)), "load");
    EXPECT_EQ(text_for_mpv("Vid\xC3\xA9o"), "Vid\xC3\xA9o");
    EXPECT_EQ(text_for_mpv(std::string(3, '\0')), "");
}

TEST(Trim, UnicodeWhiteSpaceOnBothEnds) {
    const std::pair<std::string, std::string> cases[] = {
        {"  volume \t", "volume"},
        {"\r", ""},
        {"\xC2\xA0"
         "fr\xE3\x80\x80",
         "fr"},                                 // no-break space, ideographic space
        {"\xE2\x80\x83x y\xE2\x80\xA8", "x y"}, // em space, line separator
        {"\xEF\xBB\xBFkey", "\xEF\xBB\xBFkey"}, // a byte-order mark is not white space
        {" \xFF ", "\xFF"},
        {"", ""},
    };
    for (const auto& [input, expected] : cases) {
        EXPECT_EQ(trim_unicode_space(input), expected) << input;
    }
}

TEST(AsciiLower, OnlyAsciiLettersChange) {
    EXPECT_EQ(ascii_lower("FRANÇAIS"), "franÇais");
    EXPECT_EQ(ascii_lower("Fr-CA_09"), "fr-ca_09");
}

TEST(PathText, ConversionNeverThrowsAndKeepsWhatItCan) {
    EXPECT_EQ(path_to_utf8(path_from_utf8("Vid\xC3\xA9os/\xE2\x80\x94 clip.mp4")),
              "Vid\xC3\xA9os/\xE2\x80\x94 clip.mp4");
    const std::filesystem::path invalid = path_from_utf8("a\xFF"
                                                         "b");
    if constexpr (std::is_same_v<std::filesystem::path::value_type, wchar_t>) {
        // UTF-16 paths cannot hold the byte: it becomes U+FFFD, as an unpaired surrogate does.
        EXPECT_EQ(invalid.native(), L"a\xFFFD"
                                    L"b");
        EXPECT_EQ(path_to_utf8(std::filesystem::path(std::wstring{L'c', wchar_t(0xD800)})),
                  "c\xEF\xBF\xBD");
    } else {
        EXPECT_EQ(path_to_utf8(invalid), "a\xFF"
                                         "b"); // bytes reach the file system as given
    }
}

} // namespace
} // namespace ondrel
