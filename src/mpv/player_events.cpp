#include "i18n/formatters.hpp"
#include "i18n/texts_playback.hpp"
#include "mpv/mpv_calls.hpp"
#include "mpv/observed_properties.hpp"
#include "mpv/playback_rules.hpp"
#include "mpv/player.hpp"
#include "platform/text.hpp"

#include <atomic>
#include <cstring>
#include <iterator>

namespace ondrel {
namespace {

// Set by the wake-up callback, cleared when the events are drained: while it is set a
// WM_APP_MPV_WAKEUP is already on its way, so no second one is posted.
std::atomic<std::uint8_t> wakeup_pending{0};

std::optional<double> double_value(const mpv_event_property& property) {
    if (property.format != MPV_FORMAT_DOUBLE || property.data == nullptr) {
        return std::nullopt;
    }
    double value = 0;
    std::memcpy(&value, property.data, sizeof value);
    return value;
}

bool flag_value(const mpv_event_property& property) {
    if (property.format != MPV_FORMAT_FLAG || property.data == nullptr) {
        return false;
    }
    int value = 0;
    std::memcpy(&value, property.data, sizeof value);
    return value != 0;
}

bool subtitles_selected(const mpv_event_property& property) {
    if (property.format != MPV_FORMAT_STRING || property.data == nullptr) {
        return false;
    }
    const char* text = *static_cast<const char* const*>(property.data);
    if (text == nullptr) {
        return false;
    }
    const std::string_view sid(text);
    return is_valid_utf8(sid) && sid != "no";
}

void invalidate_bar(const Player& player) {
    shell_invalidate(player.control_bar);
}

// The bar shows whole seconds and a seek bar of progress_steps pixels; other position changes
// are not worth a repaint.
bool time_position_changed(PlaybackState& playback, const mpv_event_property& property) {
    playback.time_position = double_value(property).value_or(0);
    const ProgressMarks marks =
        progress_marks(playback.time_position, playback.duration, playback.progress_steps);
    if (marks.whole_second == playback.last_whole_second &&
        marks.progress_step == playback.last_progress_step) {
        return false;
    }
    playback.last_whole_second = marks.whole_second;
    playback.last_progress_step = marks.progress_step;
    return true;
}

// One observed property: libmpv's name and format, and how a change updates the mirror
// (true when the control bar must repaint). Its reply id is its place here, counted from 1.
struct ObservedProperty {
    const char* name;
    mpv_format format;
    bool (*update)(PlaybackState&, const mpv_event_property&);
};

// A property whose format is not the expected one (nothing while no file is open) takes the
// default given here.
constexpr ObservedProperty observed_properties[] = {
    {"time-pos", MPV_FORMAT_DOUBLE, time_position_changed},
    {"duration", MPV_FORMAT_DOUBLE,
     [](PlaybackState& playback, const mpv_event_property& property) {
         playback.duration = double_value(property).value_or(0);
         return true;
     }},
    {"pause", MPV_FORMAT_FLAG,
     [](PlaybackState& playback, const mpv_event_property& property) {
         playback.paused = flag_value(property);
         return true;
     }},
    {"volume", MPV_FORMAT_DOUBLE,
     [](PlaybackState& playback, const mpv_event_property& property) {
         playback.volume = double_value(property).value_or(playback.volume);
         return true;
     }},
    {"mute", MPV_FORMAT_FLAG,
     [](PlaybackState& playback, const mpv_event_property& property) {
         playback.muted = flag_value(property);
         return true;
     }},
    {"eof-reached", MPV_FORMAT_FLAG,
     [](PlaybackState& playback, const mpv_event_property& property) {
         playback.end_of_file = flag_value(property);
         return true;
     }},
    {"speed", MPV_FORMAT_DOUBLE,
     [](PlaybackState& playback, const mpv_event_property& property) {
         playback.speed = double_value(property).value_or(1.0);
         return true;
     }},
    {"sid", MPV_FORMAT_STRING,
     [](PlaybackState& playback, const mpv_event_property& property) {
         playback.subtitles_on = subtitles_selected(property);
         return true;
     }},
};

void property_changed(const Player& player, PlaybackState& playback, std::uint64_t reply_id,
                      const mpv_event_property& property) {
    if (reply_id == 0 || reply_id > std::size(observed_properties)) {
        return;
    }
    if (observed_properties[reply_id - 1].update(playback, property)) {
        invalidate_bar(player);
    }
}

void file_loaded(PlayerSession& session) {
    const Player& player = *session.player;
    session.playback.file_loaded = true;
    session.playback.end_of_file = false;
    // libmpv reports a property only when its value changes, so a file exactly as long as
    // the one before it would never replace the 0 that open_file put in the mirror.
    if (const std::optional<double> duration = read_double(player, "duration")) {
        session.playback.duration = *duration;
    }
    // libmpv has already moved to the remembered position, if it had one.
    const std::optional<double> position = read_double(player, "time-pos");
    if (position && *position > 1.0) {
        show_text(session, fill(tr(texts::resuming_at), {format_resume_time(*position)}), 2000);
    }
    // Only a window the user is working in takes the keyboard focus.
    if (shell_is_foreground(player.main_window) && !shell_has_focus(player.main_window)) {
        shell_set_focus(player.main_window);
    }
    invalidate_bar(player);
}

void file_ended(PlayerSession& session, const mpv_event& event) {
    session.playback.file_loaded = false;
    const auto* end = static_cast<const mpv_event_end_file*>(event.data);
    if (end != nullptr && end->reason == MPV_END_FILE_REASON_ERROR &&
        session.playback.current_file) {
        show_text(session,
                  fill(tr(texts::cannot_play), {display_name(*session.playback.current_file)}),
                  5000);
    }
    invalidate_bar(*session.player);
}

} // namespace

void observe_playback_properties(const MpvApi& api, mpv_handle* handle) {
    for (std::uint64_t reply_id = 1; reply_id <= std::size(observed_properties); ++reply_id) {
        const ObservedProperty& property = observed_properties[reply_id - 1];
        api.observe_property(handle, reply_id, property.name, property.format);
    }
}

void mpv_wakeup(void* main_window) noexcept {
    if (wakeup_pending.exchange(1) == 0 &&
        !shell_post_mpv_wakeup(reinterpret_cast<ShellWindow>(main_window))) {
        // Nothing is on its way, so nothing would ever clear the byte: the next event tries
        // again rather than every later event being lost.
        wakeup_pending.store(0);
    }
}

void clear_pending_wakeup() noexcept {
    wakeup_pending.store(0);
}

void pump_events(PlayerSession& session) {
    // Cleared before draining: an event that arrives during the drain posts a new message.
    wakeup_pending.exchange(0);
    while (session.player) {
        const Player& player = *session.player;
        const mpv_event* event = player.api.wait_event(player.handle.get(), 0);
        if (event == nullptr || event->event_id == MPV_EVENT_NONE ||
            event->event_id == MPV_EVENT_SHUTDOWN) {
            return;
        }
        switch (event->event_id) {
        case MPV_EVENT_END_FILE:
            file_ended(session, *event);
            break;
        case MPV_EVENT_FILE_LOADED:
            file_loaded(session);
            break;
        case MPV_EVENT_PROPERTY_CHANGE:
            if (event->data != nullptr) {
                property_changed(player, session.playback, event->reply_userdata,
                                 *static_cast<const mpv_event_property*>(event->data));
            }
            break;
        default:
            break;
        }
    }
}

} // namespace ondrel
