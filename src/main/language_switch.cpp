#include "main/language_switch.hpp"

namespace ondrel {

void set_language(Settings& settings, Language language) {
    store_language(language);
    settings.language = std::string(language_code(language));
    // The language holds for this session; a later save writes it once the file can be written.
    (void)save_settings(settings);
    shell_language_changed(language);
}

} // namespace ondrel
