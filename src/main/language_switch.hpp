// Switching the interface language while the program runs.
#pragma once

#include "i18n/language.hpp"
#include "settings/settings.hpp"

namespace ondrel {

// Stores the language, remembers it as "en" or "fr" in the settings file at once, then lets
// every open window take the new texts.
void set_language(Settings& settings, Language language);

// After a language switch: rebuild the tooltips, lay the main window out again, repaint the
// help overlay and the About window, and confirm the switch on the video. The Win32 shell
// defines it; the native tests record the call.
void shell_language_changed(Language language);

} // namespace ondrel
