// Stand-ins for the parts of the interface that are not built yet. Each goes away when the
// real one lands: nothing here does anything a user could see.
#include "ui/compression_link_win32.hpp"

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

// The About window does not exist yet: its menu item opens nothing.
void open_about(AppState&) {}

} // namespace ondrel
