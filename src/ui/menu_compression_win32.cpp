// The one way into the compression tool, shared by the C key, the menu and the bar.
#include "i18n/texts_menus.hpp"
#include "i18n/texts_messages.hpp"
#include "platform/files.hpp"
#include "platform/win32/wide.hpp"
#include "ui/menu_win32.hpp"

#include <filesystem>
#include <system_error>

namespace ondrel {
namespace {

// A URL, a missing file or a folder cannot be compressed.
bool is_existing_regular_file(const std::string& path) {
    std::error_code error;
    const std::filesystem::file_status status =
        std::filesystem::status(path_from_utf8(path), error);
    return !error && std::filesystem::is_regular_file(status);
}

void show_compression_window(const CompressWindow& compression) {
    const HWND window = compression_window_handle(compression);
    ShowWindow(window, SW_SHOWNORMAL);
    SetForegroundWindow(window);
}

} // namespace

void open_compression(AppState& state) {
    if (state.compression) {
        // Open already, or hidden while its job runs in the background.
        show_compression_window(*state.compression);
        return;
    }
    if (!state.session.player) {
        return;
    }
    const PlaybackState& playback = state.session.playback;
    if (!playback.file_loaded || !playback.current_file ||
        !is_existing_regular_file(*playback.current_file)) {
        show_text(state.session, tr(texts::compress_needs_file), texts::compress_needs_file_ms);
        return;
    }
    Result<CompressWindowPtr> created = create_compression_window(
        state.main_window, *playback.current_file, state.settings.compress);
    if (created) {
        state.compression = std::move(created.value());
    } else {
        MessageBoxW(state.main_window, widen(created.error()).c_str(),
                    widen(tr(texts::compress_error_caption)).c_str(), MB_ICONERROR);
    }
}

} // namespace ondrel
