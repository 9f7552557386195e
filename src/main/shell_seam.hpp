// The few places where portable code reaches the windows. The Win32 shell defines these
// functions; the native tests link definitions that only record the calls.
#pragma once

#include "i18n/language.hpp"

namespace ondrel {

// After a language switch: rebuild the tooltips, lay the main window out again, repaint the
// help overlay and the About window, and confirm the switch on the video.
void shell_language_changed(Language language);

} // namespace ondrel
