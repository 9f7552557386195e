// How arguments are quoted on a Windows command line, and how search paths are split.
#include "platform/process.hpp"

#include <gtest/gtest.h>

namespace ondrel {
namespace {

using Strings = std::vector<std::string>;

TEST(WindowsCommandLine, QuotesOnlyWhatNeedsQuotes) {
    const std::pair<std::string, std::string> cases[] = {
        {"plain", "plain"},
        {"", "\"\""},
        {"two words", "\"two words\""},
        {"tab\there", "\"tab\there\""},
        {"back\\slash", "back\\slash"},               // no quote: backslashes are literal
        {"C:\\a b\\", "\"C:\\a b\\\\\""},             // doubled before the closing quote
        {"say \"hi\"", "\"say \\\"hi\\\"\""},         // quotes escaped
        {"a\\\"b", "\"a\\\\\\\"b\""},                 // a backslash before a quote: 2n+1
        {"trailing\\\\", "trailing\\\\"},             // unquoted, unchanged
        {"x\\\\ y\\\\", "\"x\\\\ y\\\\\\\\\""},       // quoted: only the trailing run doubles
        {"d\xc3\xa9j\xc3\xa0", "d\xc3\xa9j\xc3\xa0"}, // UTF-8 untouched
        {"%PATH%", "%PATH%"},
    };
    for (const auto& [argument, quoted] : cases) {
        EXPECT_EQ(windows_command_line("C:\\ffmpeg.exe", {argument}),
                  "\"C:\\ffmpeg.exe\" " + quoted)
            << argument;
    }
}

TEST(WindowsCommandLine, ProgramIsAlwaysQuotedAndArgumentsKeepTheirOrder) {
    EXPECT_EQ(windows_command_line("C:\\Program Files\\Ondrel\\ffmpeg.exe", {}),
              "\"C:\\Program Files\\Ondrel\\ffmpeg.exe\"");
    EXPECT_EQ(windows_command_line("ffprobe.exe", {"-v", "error", "C:\\My Videos\\a.mp4"}),
              "\"ffprobe.exe\" -v error \"C:\\My Videos\\a.mp4\"");
}

TEST(SearchPath, WindowsRules) {
    const std::pair<std::string, Strings> cases[] = {
        {"", {""}},
        {"C:\\a;D:\\b", {"C:\\a", "D:\\b"}},
        {"C:\\a;;D:\\b;", {"C:\\a", "", "D:\\b", ""}},
        {"\"C:\\with;semicolon\";D:\\b", {"C:\\with;semicolon", "D:\\b"}},
        {"C:\\\"quoted\"\\part", {"C:\\quoted\\part"}},
        {"C:/a:b", {"C:/a:b"}},
    };
    for (const auto& [text, entries] : cases) {
        EXPECT_EQ(split_windows_search_path(text), entries) << text;
    }
}

TEST(SearchPath, PosixRules) {
    const std::pair<std::string, Strings> cases[] = {
        {"", {""}},
        {"/usr/bin:/bin", {"/usr/bin", "/bin"}},
        {":/bin::", {"", "/bin", "", ""}},
        {"\"/quoted\";x", {"\"/quoted\";x"}},
    };
    for (const auto& [text, entries] : cases) {
        EXPECT_EQ(split_posix_search_path(text), entries) << text;
    }
}

TEST(SearchPath, ThisPlatformsRulesAndFileNames) {
#ifdef _WIN32
    EXPECT_EQ(split_search_path("a;b"), (Strings{"a", "b"}));
    EXPECT_EQ(executable_file_name("ffprobe"), "ffprobe.exe");
#else
    EXPECT_EQ(split_search_path("a:b"), (Strings{"a", "b"}));
    EXPECT_EQ(executable_file_name("ffprobe"), "ffprobe");
#endif
}

} // namespace
} // namespace ondrel
