// The one libmpv instance of the process, the playback state mirrored from it, and the
// commands the interface gives it. Everything here runs on the GUI thread, except
// mpv_wakeup, which libmpv calls from its own threads.
#pragma once

#include "mpv/loader.hpp"
#include "mpv/mpv_api.hpp"
#include "mpv/player_window.hpp"
#include "platform/result.hpp"
#include "settings/settings.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ondrel {

struct Player {
    MpvApi api;
    MpvHandle handle;            // libmpv is shut down when the player is dropped
    ShellWindow main_window = 0; // receives the wake-up messages, the title and the focus
    ShellWindow control_bar = 0; // repainted when the mirror changes
};

// What the interface shows of the playback, written by pump_events and the commands below.
struct PlaybackState {
    std::optional<std::string> current_file; // the path or URL opened last
    bool file_loaded = false;
    double time_position = 0;
    double duration = 0; // 0 until libmpv knows it
    bool paused = false;
    double volume = 80;
    bool muted = false;
    bool end_of_file = false;
    double speed = 1.0;
    bool subtitles_on = false;
    // What the control bar last showed; a time-position change repaints it only when one of
    // these moves.
    std::int64_t last_whole_second = -1;
    std::int32_t last_progress_step = -1; // in progress_steps parts of the duration
    // How finely the seek bar can show the position: its width in pixels, so that a step the
    // bar cannot show costs no repaint.
    std::int32_t progress_steps = 2000;

    friend bool operator==(const PlaybackState&, const PlaybackState&) = default;
};

// The player (absent before start_player succeeds and after close_player) and its mirror.
// Every operation does nothing without the player.
struct PlayerSession {
    std::optional<Player> player;
    PlaybackState playback;
};

// The mirror at start-up: volume and mute from the settings, the rest cleared.
PlaybackState initial_playback(const Settings& settings);

struct PlayerWindows {
    ShellWindow main_window = 0;
    ShellWindow video_window = 0; // libmpv renders into it
    ShellWindow control_bar = 0;
};

// Sets the options (ours, then the user's mpv_options), initialises libmpv, observes the
// playback properties and installs the wake-up callback, then stores the player in the
// session. When mpv_initialize fails the handle is destroyed and the failure text, in the
// current language, is returned for the start-up error box.
Status start_player(PlayerSession& session, LoadedMpv mpv, const PlayerWindows& windows,
                    const Settings& settings, std::string_view watch_later_folder);

// The wake-up callback: at most one WM_APP_MPV_WAKEUP is ever waiting in the main window's
// queue. `main_window` is the ShellWindow value itself.
void mpv_wakeup(void* main_window) noexcept;

// Forgets a wake-up that can no longer arrive: one posted to a window that has since been
// destroyed would otherwise keep every later wake-up from being posted.
void clear_pending_wakeup() noexcept;

// On WM_APP_MPV_WAKEUP: drains libmpv's events without waiting and updates the mirror.
void pump_events(PlayerSession& session);

// Opens a path or URL; the file being left keeps its resume position.
void open_file(PlayerSession& session, std::string_view path);

// An on-screen message for `milliseconds`.
void show_text(const PlayerSession& session, std::string_view text, std::uint32_t milliseconds);

void toggle_pause(PlayerSession& session);
void seek_to(const PlayerSession& session, double seconds, bool exact);
void seek_by(const PlayerSession& session, std::int32_t seconds);
void set_volume(PlayerSession& session, double value, bool show_message);
void toggle_mute(PlayerSession& session);
// step is -1, 0 (back to normal speed) or +1.
void step_speed(PlayerSession& session, int step);
void step_frame(const PlayerSession& session, bool forward);

// Lets libmpv remember where the current file is, or forget it when the file was watched to
// its last five seconds.
void save_resume_position(const PlayerSession& session);

// Copies the window's normal rectangle (when it is a real rectangle) and maximized state, the
// volume and the mute state into the settings.
void remember_window_and_sound(Settings& settings, const ShellPlacement& placement,
                               const PlaybackState& playback);

// The end of the player, when the main window closes: the resume position, the window
// placement (the one saved on entering full screen, when given), the volume and the mute
// state are saved, the window is hidden and libmpv is shut down. Without a player nothing
// happens: a start that failed writes no settings.
void close_player(PlayerSession& session, Settings& settings, ShellWindow main_window,
                  const std::optional<ShellPlacement>& full_screen_placement);

} // namespace ondrel
