#include "ui/app_state_win32.hpp"

namespace ondrel {
namespace {

// Lives until the process ends; a new start-up (the GUI tests start the window more than
// once per process) replaces it only after the previous window is gone.
std::unique_ptr<AppState> the_state;

} // namespace

AppState* app() {
    return the_state.get();
}

AppState& create_app_state(Settings settings) {
    auto state = std::make_unique<AppState>();
    state->session.playback = initial_playback(settings);
    state->settings = std::move(settings);
    the_state = std::move(state);
    return *the_state;
}

} // namespace ondrel
