#include "platform/files.hpp"
#include "settings/settings.hpp"
#include "support/temporary_folder.hpp"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#endif

namespace ondrel {
namespace {

using testing::list_folder;
using testing::ScopedEnvironment;
using testing::TemporaryFolder;
using testing::write_bytes;

TEST(SettingsFile, LivesInAppDataOndrel) {
    TemporaryFolder folder("appdata");
    ScopedEnvironment app_data("APPDATA", path_to_utf8(folder.path));
    EXPECT_EQ(settings_path(), folder.path / "Ondrel" / "settings.ini");
    EXPECT_EQ(program_data_folder(), folder.path / "Ondrel");
}

TEST(SettingsFile, SaveCreatesTheFolderAndLoadReadsItBack) {
    TemporaryFolder folder("appdata");
    ScopedEnvironment app_data("APPDATA", path_to_utf8(folder.path));
    Settings s;
    s.volume = 42;
    s.language = "fr";
    s.window = WindowRect{1, 2, 300, 400};
    ASSERT_TRUE(save_settings(s));
    EXPECT_EQ(read_file_bytes(settings_path()), format_settings(s));
    EXPECT_EQ(format_settings(load_settings()), format_settings(s));
    EXPECT_EQ(list_folder(folder.path / "Ondrel"), "settings.ini");
}

TEST(SettingsFile, MissingOrInvalidFilesGiveDefaults) {
    TemporaryFolder folder("settings");
    const auto file = folder.path / "settings.ini";
    EXPECT_EQ(format_settings(load_settings_from(file)), format_settings(Settings{}));
    write_bytes(file, "volume=10\nmute=1\n\xFF\n");
    EXPECT_EQ(format_settings(load_settings_from(file)), format_settings(Settings{}));
    write_bytes(file, "volume=10\r\nmute=1\r\n");
    const Settings crlf = load_settings_from(file);
    EXPECT_EQ(crlf.volume, 10);
    EXPECT_TRUE(crlf.mute);
}

TEST(SettingsFile, SaveReplacesTheWholeFile) {
    TemporaryFolder folder("settings");
    const auto file = folder.path / "settings.ini";
    write_bytes(file, std::string(5000, 'x'));
    Settings s;
    ASSERT_TRUE(save_settings_to(s, file));
    EXPECT_EQ(read_file_bytes(file), format_settings(s));
    EXPECT_EQ(list_folder(folder.path), "settings.ini");
}

TEST(SettingsFile, FailedSaveLeavesTheOldFileAndNoTemporaryFile) {
    TemporaryFolder folder("settings");
    // A name so long that the temporary name beside it cannot exist.
    const auto file = folder.path / std::string(250, 's');
    const std::string old = "volume=33\nmute=1\n";
    write_bytes(file, old);
    Settings s;
    EXPECT_FALSE(save_settings_to(s, file));
    EXPECT_EQ(read_file_bytes(file), old);
    EXPECT_EQ(list_folder(folder.path), std::string(250, 's'));
}

#ifndef _WIN32
// A disk that fills up half-way through the write.
TEST(SettingsFile, FullDiskDuringTheWriteKeepsTheOldFile) {
    TemporaryFolder folder("settings");
    const auto file = folder.path / "settings.ini";
    const std::string old = "volume=33\n";
    write_bytes(file, old);
    Settings s;
    s.mpv_options = std::string(100000, 'o');
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 4096;
    const auto previous_handler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved_ok = save_settings_to(s, file).ok();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous_handler);
    EXPECT_FALSE(saved_ok);
    EXPECT_EQ(read_file_bytes(file), old);
    EXPECT_EQ(list_folder(folder.path), "settings.ini");
}
#endif

TEST(SettingsFile, NonAsciiFolder) {
    TemporaryFolder folder("appdata");
    const auto base = folder.path / path_from_utf8("Données 映画");
    std::filesystem::create_directories(base);
    ScopedEnvironment app_data("APPDATA", path_to_utf8(base));
    Settings s;
    s.volume = 12;
    ASSERT_TRUE(save_settings(s));
    EXPECT_TRUE(std::filesystem::exists(base / "Ondrel" / "settings.ini"));
    EXPECT_EQ(load_settings().volume, 12);
}

} // namespace
} // namespace ondrel
