// Where the settings file goes on Windows.
#include "platform/files.hpp"
#include "platform/win32/wide.hpp"
#include "settings/settings.hpp"
#include "support/temporary_folder.hpp"

#include <gtest/gtest.h>
#include <windows.h>

namespace ondrel {
namespace {

TEST(SettingsLocation, WithoutAppDataTheTemporaryFolderIsUsed) {
    testing::ScopedEnvironment app_data("APPDATA", std::nullopt);
    wchar_t temp[MAX_PATH + 2] = {};
    const DWORD n = GetTempPathW(MAX_PATH + 1, temp);
    ASSERT_GT(n, 0u);
    const std::filesystem::path expected =
        std::filesystem::path(std::wstring(temp, n)) / L"Ondrel" / L"settings.ini";
    EXPECT_EQ(settings_path().lexically_normal(), expected.lexically_normal());

    Settings s;
    s.volume = 21;
    save_settings(s);
    EXPECT_EQ(load_settings().volume, 21);
    std::error_code ignored;
    std::filesystem::remove(expected, ignored);
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
    save_settings(s);
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
