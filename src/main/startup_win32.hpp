// Everything between the start of the process and the first message the user can act on.
#pragma once

#include <optional>
#include <string>
#include <windows.h>

namespace ondrel {

// The command-line file: the first argument, made absolute unless it is a URL.
std::optional<std::string> command_line_file(const wchar_t* command_line);

enum class StartOutcome {
    Running,   // the main window is up; run the message loop
    HandedOff, // a running window took the file; end now
    Ended,     // the window could not be created, or a start-up error was shown
};

// The whole start-up in its fixed order, up to the message loop. A fatal error is shown in
// a message box owned by the main window before Ended is returned.
StartOutcome start_ondrel(HINSTANCE instance, const wchar_t* command_line);

// Runs until WM_QUIT; the compression window gets its dialog keys first.
void run_message_loop();

// The entry point's whole work; always exit code 0.
int run_ondrel(HINSTANCE instance);

} // namespace ondrel
