#include "ui/open_dialog_win32.hpp"

#include "i18n/texts_menus.hpp"
#include "ui/open_dialog_filter.hpp"

#include <string>

namespace ondrel {
namespace {

static_assert(sizeof(OPENFILENAMEW) == 152);

// The longest path Windows can hand back, with its NUL.
constexpr DWORD path_buffer_units = 32768;

OpenFileNameCall open_file_name_call = GetOpenFileNameW;

} // namespace

void set_open_file_name_call(OpenFileNameCall call) {
    open_file_name_call = call != nullptr ? call : GetOpenFileNameW;
}

std::optional<std::string> open_dialog(const AppState& state, std::string_view label,
                                       std::string_view pattern) {
    const std::u16string filter = open_dialog_filter(label, pattern);
    std::u16string buffer(path_buffer_units, u'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = state.main_window;
    dialog.lpstrFilter = reinterpret_cast<const wchar_t*>(filter.c_str());
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = reinterpret_cast<wchar_t*>(buffer.data());
    dialog.nMaxFile = path_buffer_units;
    // The current folder stays where the program started: the dialog would otherwise move it
    // to wherever the user browsed.
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR;
    // The dialog runs messages of its own: a player closed meanwhile opens nothing.
    if (!open_file_name_call(&dialog) || state.closing) {
        return std::nullopt;
    }
    std::string path = path_from_dialog_buffer(buffer);
    if (path.empty()) {
        return std::nullopt;
    }
    return path;
}

void open_video_dialog(AppState& state) {
    if (const auto path = open_dialog(state, tr(texts::dialog_videos), video_file_pattern)) {
        open_file(state.session, *path);
    }
}

} // namespace ondrel
