// The console control handler of ondrel-compress, exposed so that its handling of the events
// that a test cannot send (closing the console, logoff, shutdown) can be tried directly.
#pragma once

#include <chrono>
#include <windows.h>

namespace ondrel {

// How long the handler of a closing console waits for interrupt_handled at most.
inline constexpr std::chrono::seconds closing_wait_limit{30};

// Sets the interrupt flag. Ctrl+C and Ctrl+Break return at once; the events after which
// Windows ends the process return once interrupt_handled was called (or after
// closing_wait_limit).
BOOL WINAPI on_console_event(DWORD event);

} // namespace ondrel
