#include "ui/menu_win32.hpp"

#include "platform/win32/wide.hpp"
#include "ui/about_win32.hpp"
#include "ui/help_win32.hpp"
#include "ui/open_dialog_win32.hpp"
#include "ui/shell_actions_win32.hpp"
#include "ui/track_menu_win32.hpp"

namespace ondrel {

namespace {

UINT state_flags(const MenuEntry& entry) {
    return (entry.grayed ? MF_GRAYED : 0u) | (entry.checked ? MF_CHECKED : 0u);
}

} // namespace

void append_menu_entries(HMENU menu, const std::vector<MenuEntry>& entries) {
    for (const MenuEntry& entry : entries) {
        switch (entry.kind) {
        case MenuEntry::Kind::Separator:
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
            break;
        case MenuEntry::Kind::Item:
            AppendMenuW(menu, MF_STRING | state_flags(entry), entry.id, widen(entry.text).c_str());
            break;
        case MenuEntry::Kind::Submenu: {
            UniqueMenu submenu = build_popup_menu(entry.children);
            // Once appended, the submenu belongs to the menu and goes with it.
            if (AppendMenuW(menu, MF_POPUP | state_flags(entry),
                            reinterpret_cast<UINT_PTR>(submenu.get()), widen(entry.text).c_str())) {
                submenu.release();
            }
            break;
        }
        }
    }
}

namespace {

MainMenuFacts main_menu_facts(const AppState& state) {
    MainMenuFacts facts;
    facts.file_loaded = state.session.playback.file_loaded;
    facts.full_screen = state.full_screen;
    facts.multi_instance = state.settings.multi_instance;
    facts.always_on_top = state.settings.always_on_top;
    facts.wheel_invert = state.settings.wheel_invert;
    facts.compression_window_exists = state.compression != nullptr;
    facts.compression_running = compression_running(state);
    facts.compression_percent = compression_percent(state);
    return facts;
}

} // namespace

UniqueMenu build_popup_menu(const std::vector<MenuEntry>& entries) {
    UniqueMenu menu(CreatePopupMenu());
    if (menu) {
        append_menu_entries(menu.get(), entries);
    }
    return menu;
}

UniqueMenu build_main_menu(AppState& state) {
    // The track menus come first: the main menu takes them in as its two submenus.
    std::vector<MenuEntry> audio = track_entries(state, "audio");
    std::vector<MenuEntry> subtitles = track_entries(state, "sub");
    return build_popup_menu(
        main_menu_entries(main_menu_facts(state), std::move(audio), std::move(subtitles)));
}

void show_context_menu(AppState& state) {
    const UniqueMenu menu = build_main_menu(state);
    if (!menu) {
        return;
    }
    POINT cursor{};
    GetCursorPos(&cursor);
    const BOOL chosen = TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, cursor.x,
                                       cursor.y, 0, state.main_window, nullptr);
    // The menu runs messages of its own: a player closed meanwhile takes no command.
    if (!state.closing) {
        dispatch_menu_command(state, static_cast<std::uint32_t>(chosen));
    }
}

void dispatch_menu_command(AppState& state, std::uint32_t id) {
    if (dispatch_track_command(state, id)) {
        return;
    }
    switch (id) {
    case menu_id::open:
        open_video_dialog(state);
        break;
    case menu_id::play_pause:
        toggle_pause(state.session);
        break;
    case menu_id::full_screen:
        set_full_screen(state, !state.full_screen);
        break;
    case menu_id::multi_instance:
        toggle_multi_instance(state);
        break;
    case menu_id::help:
        toggle_help_after_click(state);
        break;
    case menu_id::quit:
        PostMessageW(state.main_window, WM_CLOSE, 0, 0);
        break;
    case menu_id::inverted_wheel:
        state.settings.wheel_invert = !state.settings.wheel_invert;
        save_current_settings(state);
        break;
    case menu_id::compression:
        open_compression(state);
        break;
    case menu_id::about:
        open_about(state);
        break;
    case menu_id::always_on_top:
        set_always_on_top(state, !state.settings.always_on_top);
        break;
    case menu_id::french:
        switch_language(state, Language::French);
        break;
    case menu_id::english:
        switch_language(state, Language::English);
        break;
    default:
        break; // dismissed
    }
}

} // namespace ondrel
