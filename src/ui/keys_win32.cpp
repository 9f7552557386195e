#include "ui/keys_win32.hpp"

#include "mpv/tracks.hpp"
#include "ui/help_win32.hpp"
#include "ui/keys_table.hpp"
#include "ui/menu_win32.hpp"
#include "ui/open_dialog_win32.hpp"
#include "ui/shell_actions_win32.hpp"

namespace ondrel {
namespace {

bool key_is_down(int virtual_key) {
    return GetKeyState(virtual_key) < 0;
}

} // namespace

bool handle_key_down(AppState& state, std::uint16_t virtual_key) {
    const KeyAction action =
        key_action(virtual_key, key_is_down(VK_CONTROL), key_is_down(VK_SHIFT));
    PlayerSession& session = state.session;
    switch (action.command) {
    case KeyCommand::None:
        return false;
    case KeyCommand::ToggleFullScreen:
        set_full_screen(state, !state.full_screen);
        break;
    case KeyCommand::LeaveFullScreen:
        set_full_screen(state, false);
        break;
    case KeyCommand::TogglePause:
        toggle_pause(session);
        break;
    case KeyCommand::SeekToStart:
        seek_to(session, 0, true);
        break;
    case KeyCommand::SeekBy:
        seek_by(session, action.amount);
        break;
    case KeyCommand::ChangeVolume:
        set_volume(session, session.playback.volume + action.amount, true);
        break;
    case KeyCommand::ToggleMute:
        toggle_mute(session);
        break;
    case KeyCommand::CycleAudio:
        cycle_track(session, "audio");
        break;
    case KeyCommand::CycleSubtitles:
        cycle_track(session, "sub");
        break;
    case KeyCommand::ToggleAlwaysOnTop:
        set_always_on_top(state, !state.settings.always_on_top);
        break;
    case KeyCommand::ToggleMultiInstance:
        toggle_multi_instance(state);
        break;
    case KeyCommand::OpenCompression:
        open_compression(state);
        break;
    case KeyCommand::OpenVideo:
        open_video_dialog(state);
        break;
    case KeyCommand::ToggleHelp:
        toggle_help(state);
        break;
    }
    return true;
}

void handle_char(AppState& state, char16_t unit) {
    PlayerSession& session = state.session;
    if (!session.player) {
        return;
    }
    switch (char_command(unit)) {
    case CharCommand::None:
        break;
    case CharCommand::Faster:
        step_speed(session, +1);
        break;
    case CharCommand::Slower:
        step_speed(session, -1);
        break;
    case CharCommand::NormalSpeed:
        step_speed(session, 0);
        break;
    case CharCommand::FrameBack:
        step_frame(session, false);
        break;
    case CharCommand::FrameForward:
        step_frame(session, true);
        break;
    }
}

} // namespace ondrel
