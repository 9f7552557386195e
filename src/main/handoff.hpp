// One window for all launches: a second launch gives its file to the running window.
#pragma once

#include "ui/app_state_win32.hpp"
#include "ui/shell_actions_win32.hpp"

#include <optional>
#include <string>

namespace ondrel {

// Offers the file (or nothing) to a running Ondrel window; true when that window took it,
// in which case this process ends without showing anything.
bool hand_off_to_running_instance(const std::optional<std::string>& file);

// WM_COPYDATA from a second launch: 1 when the file was accepted, 0 otherwise.
LRESULT receive_handoff(AppState& state, const COPYDATASTRUCT* data);

} // namespace ondrel
