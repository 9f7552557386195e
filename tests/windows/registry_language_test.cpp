// The installer's language value in the registry, written with Wine's own reg.exe.
#include "i18n/language.hpp"
#include "platform/system_language.hpp"
#include "support/windows_process.hpp"

#include <gtest/gtest.h>
#include <string>
#include <windows.h>

namespace ondrel {
namespace {

DWORD run_reg(const std::wstring& arguments) {
    return testing::run_and_wait(L"reg.exe " + arguments, 60000).value_or(0xFFFFFFFF);
}

const wchar_t* const user_key = L"HKCU\\Software\\Ondrel";
const wchar_t* const machine_key = L"HKLM\\Software\\Ondrel";

void set_value(const wchar_t* key, const std::wstring& type, const std::wstring& data) {
    ASSERT_EQ(run_reg(std::wstring(L"add ") + key + L" /v Language /t " + type + L" /d \"" + data +
                      L"\" /f"),
              0u);
}

void remove_value(const wchar_t* key) {
    run_reg(std::wstring(L"delete ") + key + L" /v Language /f");
}

struct RegistryLanguage : ::testing::Test {
    Language saved = current_language();
    void SetUp() override {
        remove_value(user_key);
        remove_value(machine_key);
    }
    void TearDown() override {
        remove_value(user_key);
        remove_value(machine_key);
        store_language(saved);
    }
};

TEST_F(RegistryLanguage, CurrentUserBeatsLocalMachine) {
    set_value(user_key, L"REG_SZ", L"fr");
    set_value(machine_key, L"REG_SZ", L"en");
    EXPECT_EQ(read_registry_language(RegistryScope::CurrentUser), "fr");
    EXPECT_EQ(read_registry_language(RegistryScope::LocalMachine), "en");
    store_language(Language::English);
    choose_language_at_startup("");
    EXPECT_EQ(current_language(), Language::French);
}

TEST_F(RegistryLanguage, LocalMachineWhenTheUserHasNoRecognisedValue) {
    set_value(machine_key, L"REG_SZ", L"Français ");
    EXPECT_FALSE(read_registry_language(RegistryScope::CurrentUser).has_value());
    EXPECT_EQ(read_registry_language(RegistryScope::LocalMachine), "Français ");
    store_language(Language::English);
    choose_language_at_startup("");
    EXPECT_EQ(current_language(), Language::French);

    set_value(user_key, L"REG_SZ", L"deutsch");
    store_language(Language::English);
    choose_language_at_startup("");
    EXPECT_EQ(current_language(), Language::French);
}

TEST_F(RegistryLanguage, SettingsValueComesFirst) {
    set_value(user_key, L"REG_SZ", L"fr");
    store_language(Language::French);
    choose_language_at_startup("en");
    EXPECT_EQ(current_language(), Language::English);
}

TEST_F(RegistryLanguage, TooLongOrNotAStringCountsAsNoValue) {
    set_value(user_key, L"REG_SZ", std::wstring(40, L'f'));
    EXPECT_FALSE(read_registry_language(RegistryScope::CurrentUser).has_value());
    set_value(user_key, L"REG_DWORD", L"12");
    EXPECT_FALSE(read_registry_language(RegistryScope::CurrentUser).has_value());
    // 31 characters and the NUL still fit the 32-unit buffer.
    set_value(user_key, L"REG_SZ", std::wstring(31, L'e'));
    EXPECT_EQ(read_registry_language(RegistryScope::CurrentUser), std::string(31, 'e'));
}

TEST_F(RegistryLanguage, WithoutAnyValueTheDisplayLanguageDecides) {
    const Language expected =
        (user_ui_language_id() & 0x3FF) == LANG_FRENCH ? Language::French : Language::English;
    store_language(expected == Language::French ? Language::English : Language::French);
    choose_language_at_startup("");
    EXPECT_EQ(current_language(), expected);
}

} // namespace
} // namespace ondrel
