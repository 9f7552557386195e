#include "i18n/language.hpp"
#include "main/language_switch.hpp"
#include "platform/files.hpp"
#include "support/language_guard.hpp"
#include "support/shell_seam_recording.hpp"
#include "support/temporary_folder.hpp"

#include <gtest/gtest.h>

namespace ondrel {
namespace {

using testing::LanguageGuard;

TEST(ParseLanguage, TrimmedAndAsciiLowerCased) {
    const std::pair<const char*, std::optional<Language>> cases[] = {
        {"fr", Language::French},
        {" French ", Language::French},
        {"francais", Language::French},
        {"Français ", Language::French},
        {"FRANÇAIS", std::nullopt}, // the capital C-cedilla is not lower-cased
        {"en", Language::English},
        {"ENGLISH", Language::English},
        {"\tAnglais\r", Language::English},
        {"", std::nullopt},
        {"fr-FR", std::nullopt},
        {"e n", std::nullopt},
        {"\xC2\xA0"
         "fr\xE2\x80\x83",
         Language::French},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(parse_language(text), expected) << text;
    }
}

TEST(StartupLanguage, FirstRecognisedSourceWins) {
    struct Case {
        const char* name;
        const char* settings;
        std::optional<std::string> user;
        std::optional<std::string> machine;
        std::uint16_t ui;
        Language expected;
    };
    const Case cases[] = {
        {"settings beat registry", "en", "fr", "fr", 0x040C, Language::English},
        {"settings French", " French ", std::nullopt, std::nullopt, 0x0409, Language::French},
        {"user registry", "", "fr", "en", 0x0409, Language::French},
        {"bad settings fall through", "klingon", "en", "fr", 0x040C, Language::English},
        {"machine when user unrecognised", "", "deutsch", "fr", 0x0409, Language::French},
        {"machine when user missing", "", std::nullopt, "Français ", 0x0409, Language::French},
        {"French Canada display", "", std::nullopt, std::nullopt, 0x0C0C, Language::French},
        {"German Switzerland display", "", std::nullopt, std::nullopt, 0x0807, Language::English},
        {"French France display", "", "", "", 0x040C, Language::French},
        {"capitals not lower-cased", "FRANÇAIS", std::nullopt, std::nullopt, 0x0409,
         Language::English},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(decide_startup_language(c.settings, c.user, c.machine, c.ui), c.expected)
            << c.name;
    }
}

TEST(Language, TrPicksTheMemberOfTheCurrentLanguage) {
    LanguageGuard guard;
    store_language(Language::English);
    EXPECT_EQ(tr("Open", "Ouvrir"), "Open");
    store_language(Language::French);
    EXPECT_EQ(tr(TextPair{"Open", "Ouvrir"}), "Ouvrir");
    EXPECT_EQ(language_code(Language::French), "fr");
    EXPECT_EQ(language_code(Language::English), "en");
}

TEST(Language, StartupFromSettingsLeavesTheSettingAlone) {
    LanguageGuard guard;
    choose_language_at_startup("fr");
    EXPECT_EQ(current_language(), Language::French);
    choose_language_at_startup("english");
    EXPECT_EQ(current_language(), Language::English);
}

TEST(SetLanguage, StoresSavesAndTellsTheWindows) {
    LanguageGuard guard;
    testing::TemporaryFolder folder("appdata");
    testing::ScopedEnvironment app_data("APPDATA", path_to_utf8(folder.path));
    testing::shell_record().language_changes.clear();
    Settings settings;
    settings.volume = 55;
    set_language(settings, Language::French);
    EXPECT_EQ(current_language(), Language::French);
    EXPECT_EQ(settings.language, "fr");
    EXPECT_EQ(load_settings().language, "fr");
    EXPECT_EQ(load_settings().volume, 55);
    set_language(settings, Language::English);
    EXPECT_EQ(load_settings().language, "en");
    EXPECT_EQ(testing::shell_record().language_changes,
              (std::vector<Language>{Language::French, Language::English}));
}

} // namespace
} // namespace ondrel
