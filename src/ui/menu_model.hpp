// The menus as plain data, built anew for every showing: the right-click menu and the audio
// and subtitle track menus. The Win32 side turns these entries into popup menus.
#pragma once

#include "mpv/track.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ondrel {

// The command ids TrackPopupMenu returns; 0 means the menu was dismissed.
namespace menu_id {
inline constexpr std::uint32_t open = 1;
inline constexpr std::uint32_t play_pause = 2;
inline constexpr std::uint32_t full_screen = 3;
inline constexpr std::uint32_t multi_instance = 4;
inline constexpr std::uint32_t help = 5;
inline constexpr std::uint32_t quit = 6;
inline constexpr std::uint32_t inverted_wheel = 7;
inline constexpr std::uint32_t compression = 8;
inline constexpr std::uint32_t about = 9;
inline constexpr std::uint32_t always_on_top = 10;
inline constexpr std::uint32_t audio_base = 1000;    // + track id
inline constexpr std::uint32_t subtitle_base = 2000; // + track id; 2000 itself is "off"
inline constexpr std::uint32_t load_subtitles = 2999;
inline constexpr std::uint32_t french = 3001;
inline constexpr std::uint32_t english = 3002;
} // namespace menu_id

struct MenuEntry {
    enum class Kind : std::uint8_t { Item, Separator, Submenu };
    Kind kind = Kind::Item;
    std::string text; // as Windows gets it: "&" marks a mnemonic, "\t" starts the shortcut
    std::uint32_t id = 0;
    bool grayed = false;
    bool checked = false;
    std::vector<MenuEntry> children; // the submenu's entries

    friend bool operator==(const MenuEntry&, const MenuEntry&) = default;
};

// Every "&" doubled, so that Windows shows the text as it is (a track titled "Q&A").
std::string menu_literal(std::string_view text);

// The track menu of one kind ("audio" or "sub"), in the current language. Empty without a
// player; the tracks are the file's of that kind, in libmpv's order (none without a file).
std::vector<MenuEntry> track_menu_entries(std::string_view kind, const std::vector<Track>& tracks,
                                          bool player_exists, bool file_loaded);

// What the right-click menu shows of the player's state.
struct MainMenuFacts {
    bool file_loaded = false;
    bool full_screen = false;
    bool multi_instance = false;
    bool always_on_top = false;
    bool wheel_invert = false;
    bool compression_window_exists = false;
    bool compression_running = false;
    double compression_percent = 0;
};

// The right-click menu top to bottom, in the current language, around the two track menus.
std::vector<MenuEntry> main_menu_entries(const MainMenuFacts& facts,
                                         std::vector<MenuEntry> audio_entries,
                                         std::vector<MenuEntry> subtitle_entries);

// A chosen id that belongs to the track menus.
struct TrackCommand {
    enum class Kind : std::uint8_t { SelectAudio, SelectSubtitle, LoadSubtitleFile };
    Kind kind = Kind::SelectAudio;
    std::int64_t track_id = 0; // 0 with SelectSubtitle switches subtitles off
    friend bool operator==(const TrackCommand&, const TrackCommand&) = default;
};

// Ids 1001-1999, 2000-2998 and 2999; nothing for any other id.
std::optional<TrackCommand> track_command(std::uint32_t id);

} // namespace ondrel
