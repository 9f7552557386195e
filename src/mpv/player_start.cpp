#include "i18n/formatters.hpp"
#include "i18n/texts_playback.hpp"
#include "mpv/observed_properties.hpp"
#include "mpv/playback_rules.hpp"
#include "mpv/player.hpp"
#include "platform/text.hpp"

namespace ondrel {
namespace {

void set_option(const LoadedMpv& mpv, const MpvOption& option) {
    // A rejected option is not worth stopping for; libmpv keeps its default.
    const std::string name = text_for_mpv(option.first);
    const std::string value = text_for_mpv(option.second);
    mpv.api.set_option_string(mpv.handle.get(), name.c_str(), value.c_str());
}

} // namespace

PlaybackState initial_playback(const Settings& settings) {
    PlaybackState playback;
    playback.volume = settings.volume;
    playback.muted = settings.mute;
    return playback;
}

Status start_player(PlayerSession& session, LoadedMpv mpv, const PlayerWindows& windows,
                    const Settings& settings, std::string_view watch_later_folder) {
    for (const MpvOption& option :
         player_options(windows.video_window, settings, watch_later_folder)) {
        set_option(mpv, option);
    }
    // Last, so that the user's choices win over ours.
    for (const MpvOption& option : split_user_options(settings.mpv_options)) {
        set_option(mpv, option);
    }
    const int initialized = mpv.api.initialize(mpv.handle.get());
    if (initialized != 0) {
        mpv.handle.reset();
        return Failure{fill(tr(texts::mpv_initialize_failed), {std::to_string(initialized)})};
    }
    observe_playback_properties(mpv.api, mpv.handle.get());
    clear_pending_wakeup();
    mpv.api.set_wakeup_callback(mpv.handle.get(), mpv_wakeup,
                                reinterpret_cast<void*>(windows.main_window));
    session.player =
        Player{mpv.api, std::move(mpv.handle), windows.main_window, windows.control_bar};
    return success();
}

} // namespace ondrel
