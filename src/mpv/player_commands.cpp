#include "i18n/formatters.hpp"
#include "i18n/texts_playback.hpp"
#include "mpv/mpv_calls.hpp"
#include "mpv/playback_rules.hpp"
#include "mpv/player.hpp"
#include "platform/numbers.hpp"

#include <algorithm>
#include <cmath>

namespace ondrel {
namespace {

const Player* loaded_player(const PlayerSession& session) {
    return session.player && session.playback.file_loaded ? &*session.player : nullptr;
}

// A file paused in its last five seconds starts from the beginning next time.
void remember_or_forget_position(const Player& player, const PlaybackState& playback, bool at_end) {
    const bool near_end =
        at_end || (playback.duration > 0 && playback.time_position > playback.duration - 5);
    command_now(player, {near_end ? "delete-watch-later-config" : "write-watch-later-config"});
}

// The text as libmpv shows it unchanged. Messages carry file names, track titles and job
// texts: libmpv would expand "${...}" and "$$" in them, so a text with a "$" starts with "$>",
// which ends expansion for all that follows. The bytes 0xFD and 0xFE (never in UTF-8) are
// libmpv's switches for ASS styling in on-screen text; they become U+FFFD.
std::string literal_osd_text(std::string_view text) {
    std::string literal;
    literal.reserve(text.size() + 2);
    if (text.find('$') != std::string_view::npos) {
        literal = "$>";
    }
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == 0xFD || byte == 0xFE) {
            literal += "\xEF\xBF\xBD";
        } else {
            literal += c;
        }
    }
    return literal;
}

} // namespace

void show_text(const PlayerSession& session, std::string_view text, std::uint32_t milliseconds) {
    if (session.player) {
        command_later(*session.player,
                      {"show-text", literal_osd_text(text), std::to_string(milliseconds)});
    }
}

void open_file(PlayerSession& session, std::string_view path) {
    if (!session.player) {
        return;
    }
    const Player& player = *session.player;
    PlaybackState& playback = session.playback;
    if (playback.file_loaded) {
        save_resume_position(session);
    }
    // Clears any message still on screen, the start-up hint included.
    command_later(player, {"show-text", "", "1"});
    // The new file plays even when the one before it was paused.
    write_flag_later(player, "pause", false);
    command_now(player, {"loadfile", path});
    playback.current_file = std::string(path);
    playback.file_loaded = false;
    playback.end_of_file = false;
    playback.time_position = 0;
    playback.duration = 0;
    shell_set_window_title(player.main_window,
                           display_name(path) + std::string(texts::title_suffix));
    shell_invalidate(player.control_bar);
}

void toggle_pause(PlayerSession& session) {
    const Player* player = loaded_player(session);
    if (player == nullptr) {
        return;
    }
    PlaybackState& playback = session.playback;
    if (playback.end_of_file) {
        // At the end the file stays open on its last frame; play means play again.
        command_later(*player, {"seek", "0", "absolute+exact"});
        write_flag_later(*player, "pause", false);
    } else {
        playback.paused = !playback.paused;
        write_flag_later(*player, "pause", playback.paused);
        if (playback.paused) {
            remember_or_forget_position(*player, playback, false);
        }
    }
    shell_invalidate(player->control_bar);
}

void seek_to(const PlayerSession& session, double seconds, bool exact) {
    if (const Player* player = loaded_player(session)) {
        command_later(*player, {"seek", format_fixed(seconds, 3),
                                exact ? "absolute+exact" : "absolute+keyframes"});
    }
}

void seek_by(const PlayerSession& session, std::int32_t seconds) {
    if (const Player* player = loaded_player(session)) {
        command_line(*player, "osd-msg-bar seek " + std::to_string(seconds) + " relative+exact");
    }
}

void set_volume(PlayerSession& session, double value, bool show_message) {
    if (!session.player) {
        return;
    }
    const Player& player = *session.player;
    PlaybackState& playback = session.playback;
    const std::int64_t volume = round_half_away_saturated(std::clamp(value, 0.0, 100.0));
    playback.volume = static_cast<double>(volume);
    write_double_later(player, "volume", playback.volume);
    // Turning the volume up means the user wants to hear it.
    if (value > 0 && playback.muted) {
        playback.muted = false;
        write_flag_later(player, "mute", false);
    }
    if (show_message) {
        show_text(session, fill(tr(texts::volume_changed), {std::to_string(volume)}), 1000);
    }
    shell_invalidate(player.control_bar);
}

void toggle_mute(PlayerSession& session) {
    if (!session.player) {
        return;
    }
    PlaybackState& playback = session.playback;
    playback.muted = !playback.muted;
    write_flag_later(*session.player, "mute", playback.muted);
    show_text(session, tr(playback.muted ? texts::sound_muted : texts::sound_on), 1000);
    shell_invalidate(session.player->control_bar);
}

void step_speed(PlayerSession& session, int step) {
    // With or without a file: the speed chosen before opening one applies to it.
    if (!session.player) {
        return;
    }
    PlaybackState& playback = session.playback;
    playback.speed = next_speed(playback.speed, step);
    write_double_later(*session.player, "speed", playback.speed);
    show_text(session, fill(tr(texts::speed_changed), {format_shortest(playback.speed)}), 1000);
    shell_invalidate(session.player->control_bar);
}

void step_frame(const PlayerSession& session, bool forward) {
    if (const Player* player = loaded_player(session)) {
        command_later(*player, {forward ? "frame-step" : "frame-back-step"});
    }
}

void save_resume_position(const PlayerSession& session) {
    if (const Player* player = loaded_player(session)) {
        remember_or_forget_position(*player, session.playback, session.playback.end_of_file);
    }
}

void remember_window_and_sound(Settings& settings, const ShellPlacement& placement,
                               const PlaybackState& playback) {
    const WindowRect& r = placement.normal;
    if (r.left < r.right && r.top < r.bottom) {
        settings.window = r;
        settings.maximized = placement.maximized;
    }
    settings.volume = playback.volume;
    settings.mute = playback.muted;
}

void close_player(PlayerSession& session, Settings& settings, ShellWindow main_window,
                  const std::optional<ShellPlacement>& full_screen_placement) {
    // Without a player the window is only showing its start-up error (a WM_CLOSE can reach
    // it from the error box's own message loop), and a failed start writes no settings.
    if (!session.player) {
        return;
    }
    save_resume_position(session);
    remember_window_and_sound(settings,
                              full_screen_placement ? *full_screen_placement
                                                    : shell_window_placement(main_window),
                              session.playback);
    // The window is going away: there is nobody left to tell, and the file keeps its last
    // good contents.
    (void)save_settings(settings);
    shell_hide_window(main_window);
    session.player.reset(); // shuts libmpv down
}

} // namespace ondrel
