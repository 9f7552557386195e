// Switching the interface language while the program runs.
#pragma once

#include "i18n/language.hpp"
#include "main/settings.hpp"

namespace ondrel {

// Stores the language, remembers it as "en" or "fr" in the settings file at once, then lets
// every open window take the new texts.
void set_language(Settings& settings, Language language);

} // namespace ondrel
