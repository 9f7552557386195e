#include "main/language_switch.hpp"

namespace ondrel {

void set_language(Settings& settings, Language language) {
    store_language(language);
    settings.language = std::string(language_code(language));
    save_settings(settings);
    shell_language_changed(language);
}

} // namespace ondrel
