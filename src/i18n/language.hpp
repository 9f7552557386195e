// The interface language: one process-wide value, read by every thread that words a message.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ondrel {

enum class Language : std::uint8_t { French = 0, English = 1 };

// A text in both languages, English first.
struct TextPair {
    std::string_view english;
    std::string_view french;
};

Language current_language();
void store_language(Language language);

// The member of the pair in the current language.
std::string_view tr(std::string_view english, std::string_view french);
std::string_view tr(const TextPair& pair);

// "fr", "French", " Français " ... ; only ASCII letters are lower-cased before comparing.
std::optional<Language> parse_language(std::string_view text);

// What the start-up would choose, from each source in turn: the settings value, the
// current user's registry value, the machine's, then the Windows display language.
Language decide_startup_language(std::string_view settings_value,
                                 const std::optional<std::string>& user_registry_value,
                                 const std::optional<std::string>& machine_registry_value,
                                 std::uint16_t ui_language_id);

// Sets the language once, before any window exists. The settings value is not changed.
void choose_language_at_startup(std::string_view settings_language);

// "en" or "fr", as kept in the settings file.
std::string_view language_code(Language language);

} // namespace ondrel
