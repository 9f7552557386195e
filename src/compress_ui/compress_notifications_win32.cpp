// What reports on a compression outside its window.
#include "compress_ui/compress_window_win32.hpp"

#include "ui/app_state_win32.hpp"

namespace ondrel {

void announce_finished_job(AppState&, const CompressWindow&) {
    // The player's on-screen message about the finished compression ("Compression finished:
    // ..." or the failure) is shown from here once the player's notifications exist.
}

} // namespace ondrel
