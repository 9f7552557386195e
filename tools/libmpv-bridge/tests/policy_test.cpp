// What the bridge changes between the Windows program and the native libmpv.
#include "policy.hpp"

#include <gtest/gtest.h>

namespace bridge {
namespace {

TEST(Policy, WindowsOnlyOptionsAreTranslatedOrDropped) {
    struct Case {
        const char* name;
        const char* value;
        std::optional<std::string> forwarded;
    };
    const Case cases[] = {
        {"wid", "65698", std::nullopt},
        {"vo", "gpu-next,gpu", "libmpv"},
        {"gpu-api", "d3d11", std::nullopt},
        {"gpu-context", "d3d11", std::nullopt},
        {"d3d11-flip", "yes", std::nullopt},
        {"hwdec", "auto-safe", "no"},
        {"video-rotate", "90", "no"},
        {"ao", "wasapi", "pulse"},
        {"volume", "80", "80"},
        {"watch-later-options", "start,aid,sid", "start,aid,sid"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(forwarded_option(c.name, c.value, "pulse"), c.forwarded) << c.name;
    }
}

TEST(Policy, WindowsPathsAreRecognised) {
    EXPECT_TRUE(is_windows_path("C:\\v.mp4"));
    EXPECT_TRUE(is_windows_path("z:/tmp/v.mp4"));
    EXPECT_TRUE(is_windows_path("\\\\server\\share\\v.mp4"));
    EXPECT_FALSE(is_windows_path("/tmp/v.mp4"));
    EXPECT_FALSE(is_windows_path("https://example.com/v.mp4"));
    EXPECT_FALSE(is_windows_path("C:"));
    EXPECT_FALSE(is_windows_path("v.mp4"));
}

// Stands in for Wine's mapping: Z: is the Unix root; other drives cannot be translated.
std::optional<std::string> z_drive(std::string_view path) {
    if (!path.starts_with("Z:\\")) {
        return std::nullopt;
    }
    std::string unix_path(path.substr(2));
    for (char& c : unix_path) {
        c = c == '\\' ? '/' : c;
    }
    return unix_path;
}

TEST(Policy, OnlyPathArgumentsOfCommandsAreTranslated) {
    using Arguments = std::vector<std::string>;
    struct Case {
        Arguments given;
        Arguments sent;
    };
    const Case cases[] = {
        {{"loadfile", "Z:\\tmp\\a b.mkv"}, {"loadfile", "/tmp/a b.mkv"}},
        {{"loadfile", "Z:\\tmp\\a.mkv", "replace"}, {"loadfile", "/tmp/a.mkv", "replace"}},
        {{"sub-add", "Z:\\tmp\\a.srt", "select"}, {"sub-add", "/tmp/a.srt", "select"}},
        {{"loadfile", "https://example.com/a.mkv"}, {"loadfile", "https://example.com/a.mkv"}},
        {{"loadfile", "D:\\unmapped.mkv"}, {"loadfile", "D:\\unmapped.mkv"}},
        {{"show-text", "Z:\\tmp\\a.mkv", "2000"}, {"show-text", "Z:\\tmp\\a.mkv", "2000"}},
        {{"loadfile"}, {"loadfile"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(translate_command(c.given, z_drive), c.sent) << c.given[0];
    }
}

TEST(Policy, PathPropertiesGoOneWayAndComeBackTheOther) {
    EXPECT_EQ(
        translate_property_value("watch-later-directory", "Z:\\home\\u\\watch_later", z_drive),
        "/home/u/watch_later");
    EXPECT_EQ(translate_property_value("title", "Z:\\not\\a\\path", z_drive), "Z:\\not\\a\\path");
    EXPECT_TRUE(reports_path("path", "/tmp/a.mkv"));
    EXPECT_TRUE(reports_path("track-list/3/external-filename", "/tmp/a.srt"));
    EXPECT_FALSE(reports_path("path", "https://example.com/a.mkv"));
    EXPECT_FALSE(reports_path("media-title", "/tmp/a.mkv"));
}

} // namespace
} // namespace bridge
