#include "main/shell_seam.hpp"

namespace ondrel {

void shell_language_changed(Language) {
    // The windows that show translated text hook in here as they are built: the tooltips
    // are recreated, the main window is laid out again, the help overlay and the About
    // window repaint, and the player confirms the switch on screen.
}

} // namespace ondrel
