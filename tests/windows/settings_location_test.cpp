// Where the settings file goes on Windows.
#include "platform/files.hpp"
#include "platform/win32/wide.hpp"
#include "settings/settings.hpp"
#include "support/temporary_folder.hpp"

#include <gtest/gtest.h>
#include <windows.h>

namespace ondrel {
namespace {

// The user's temporary folder is the one TMP names (TEMP when TMP is not set); both point
// into a folder of the test's own, which goes away with everything saved there.
TEST(SettingsLocation, WithoutAppDataTheTemporaryFolderIsUsed) {
    testing::TemporaryFolder temporary("tmp");
    testing::ScopedEnvironment app_data("APPDATA", std::nullopt);
    testing::ScopedEnvironment tmp("TMP", narrow(temporary.path.wstring()));
    testing::ScopedEnvironment temp("TEMP", narrow(temporary.path.wstring()));
    const std::filesystem::path expected = temporary.path / L"Ondrel" / L"settings.ini";
    EXPECT_EQ(settings_path().lexically_normal(), expected.lexically_normal());

    Settings s;
    s.volume = 21;
    ASSERT_TRUE(save_settings(s));
    EXPECT_TRUE(std::filesystem::exists(expected));
    EXPECT_EQ(load_settings().volume, 21);
}

TEST(SettingsLocation, AppDataWithNonAsciiCharacters) {
    testing::TemporaryFolder folder("appdata");
    const std::filesystem::path base = folder.path / L"Jos\u00E9 \u6620\u753B \U0001F3AC";
    std::filesystem::create_directories(base);
    testing::ScopedEnvironment app_data("APPDATA", narrow(base.wstring()));
    EXPECT_EQ(settings_path(), base / L"Ondrel" / L"settings.ini");
    Settings s;
    s.language = "fr";
    s.volume = 64;
    ASSERT_TRUE(save_settings(s));
    const DWORD attributes = GetFileAttributesW((base / L"Ondrel" / L"settings.ini").c_str());
    EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    const Settings back = load_settings();
    EXPECT_EQ(back.volume, 64);
    EXPECT_EQ(back.language, "fr");
}

TEST(SettingsLocation, OsErrorTextNamesTheCode) {
    const std::string text = os_error_text(ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(text.ends_with(" (os error 2)")) << text;
    EXPECT_GT(text.size(), std::string(" (os error 2)").size());
    EXPECT_EQ(text.find('\n'), std::string::npos);
}

} // namespace
} // namespace ondrel
