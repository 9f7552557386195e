// Stand-ins for the parts of the interface that are not built yet. Each goes away when the
// real one lands: nothing here does anything a user could see.
#include "ui/compression_link_win32.hpp"
#include "ui/pending_commands_win32.hpp"

namespace ondrel {

// No compression window exists yet, so no job ever runs and none can be opened.
void CompressWindowDisposer::operator()(CompressWindow*) const noexcept {}

bool compression_running(const AppState&) {
    return false;
}

double compression_percent(const AppState&) {
    return 0;
}

HWND compression_window_handle(const CompressWindow&) {
    return nullptr;
}

Result<CompressWindowPtr> create_compression_window(HWND, const std::string&, const std::string&) {
    return Failure{"The compression window is not available in this build."};
}

// The menus, the open dialog and the help overlay are not built yet: their commands do nothing.
void show_track_menu(AppState&, std::string_view, std::uint8_t) {}

void toggle_help(AppState&) {}

void open_compression(AppState&) {}

void open_video_dialog(AppState&) {}

} // namespace ondrel
