#include "ui/track_menu_win32.hpp"

#include "i18n/texts_menus.hpp"
#include "mpv/tracks.hpp"
#include "ui/bar_layout.hpp"
#include "ui/compression_link_win32.hpp"
#include "ui/menu_win32.hpp"
#include "ui/open_dialog_filter.hpp"
#include "ui/open_dialog_win32.hpp"

namespace ondrel {

std::vector<MenuEntry> track_entries(const AppState& state, std::string_view kind) {
    const PlayerSession& session = state.session;
    const bool loaded = session.playback.file_loaded;
    return track_menu_entries(kind, loaded ? list_tracks(session, kind) : std::vector<Track>{},
                              session.player.has_value(), loaded);
}

void build_track_menu(HMENU menu, const AppState& state, std::string_view kind) {
    append_menu_entries(menu, track_entries(state, kind));
}

void show_track_menu(AppState& state, std::string_view kind, std::uint8_t button) {
    const UniqueMenu menu = build_popup_menu(track_entries(state, kind));
    if (!menu) {
        return;
    }
    RECT bar{};
    GetClientRect(state.control_bar, &bar);
    const BarLayout layout = bar_layout(state.dpi, bar.right - bar.left, bar.bottom - bar.top,
                                        compression_running(state));
    POINT anchor{0, 0};
    for (const BarButton& candidate : layout.buttons) {
        if (candidate.item == button) {
            anchor.x = candidate.rect.left;
        }
    }
    ClientToScreen(state.control_bar, &anchor);
    const BOOL chosen = TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_BOTTOMALIGN, anchor.x,
                                       anchor.y, 0, state.main_window, nullptr);
    // The menu runs messages of its own: a player closed meanwhile takes no command.
    if (!state.closing) {
        dispatch_track_command(state, static_cast<std::uint32_t>(chosen));
    }
}

bool dispatch_track_command(AppState& state, std::uint32_t id) {
    const std::optional<TrackCommand> command = track_command(id);
    if (!command) {
        return false;
    }
    switch (command->kind) {
    case TrackCommand::Kind::SelectAudio:
        select_track(state.session, "audio", command->track_id);
        break;
    case TrackCommand::Kind::SelectSubtitle:
        select_track(state.session, "sub", command->track_id);
        break;
    case TrackCommand::Kind::LoadSubtitleFile:
        if (const auto path =
                open_dialog(state, tr(texts::dialog_subtitles), subtitle_file_pattern)) {
            add_subtitle_file(state.session, *path);
        }
        break;
    }
    return true;
}

} // namespace ondrel
