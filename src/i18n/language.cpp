#include "i18n/language.hpp"

#include "platform/system_language.hpp"
#include "platform/text.hpp"

#include <atomic>

namespace ondrel {
namespace {

// Any value but 1 means French.
std::atomic<std::uint8_t> language_byte{static_cast<std::uint8_t>(Language::English)};

constexpr std::uint16_t primary_language_french = 12;

} // namespace

Language current_language() {
    return language_byte.load(std::memory_order_relaxed) == 1 ? Language::English
                                                              : Language::French;
}

void store_language(Language language) {
    language_byte.store(static_cast<std::uint8_t>(language), std::memory_order_relaxed);
}

std::string_view tr(std::string_view english, std::string_view french) {
    return current_language() == Language::English ? english : french;
}

std::string_view tr(const TextPair& pair) {
    return tr(pair.english, pair.french);
}

std::optional<Language> parse_language(std::string_view text) {
    const std::string key = ascii_lower(trim_unicode_space(text));
    if (key == "fr" || key == "french" || key == "francais" || key == "français") {
        return Language::French;
    }
    if (key == "en" || key == "english" || key == "anglais") {
        return Language::English;
    }
    return std::nullopt;
}

Language decide_startup_language(std::string_view settings_value,
                                 const std::optional<std::string>& user_registry_value,
                                 const std::optional<std::string>& machine_registry_value,
                                 std::uint16_t ui_language_id) {
    if (const auto chosen = parse_language(settings_value)) {
        return *chosen;
    }
    for (const auto* registry : {&user_registry_value, &machine_registry_value}) {
        if (*registry) {
            if (const auto chosen = parse_language(**registry)) {
                return *chosen;
            }
        }
    }
    return (ui_language_id & 0x3FF) == primary_language_french ? Language::French
                                                               : Language::English;
}

void choose_language_at_startup(std::string_view settings_language) {
    // The registry and the display language are only asked when the settings say nothing.
    if (const auto chosen = parse_language(settings_language)) {
        store_language(*chosen);
        return;
    }
    const std::optional<std::string> user = read_registry_language(RegistryScope::CurrentUser);
    const std::optional<std::string> machine =
        parse_language(user.value_or("")) ? std::nullopt
                                          : read_registry_language(RegistryScope::LocalMachine);
    store_language(decide_startup_language("", user, machine, user_ui_language_id()));
}

std::string_view language_code(Language language) {
    return language == Language::English ? "en" : "fr";
}

} // namespace ondrel
