// The console of ondrel-compress: where its text goes and how Ctrl+C reaches it.
#pragma once

#include <string_view>

namespace ondrel {

// True when standard output (or standard error) is a terminal (a console on Windows) rather
// than a file or pipe.
bool standard_output_is_terminal();
bool standard_error_is_terminal();

// Writes UTF-8 text at once (a Windows console gets it as UTF-16, so that every character
// shows whatever the console's code page).
void write_standard_output(std::string_view utf8);
void write_standard_error(std::string_view utf8);

// From now on Ctrl+C no longer ends the program; it only sets the flag below. So do the
// other ways of being told to end: on Windows closing the console, logging off and shutting
// down; elsewhere SIGTERM and SIGHUP.
void watch_for_interrupt();
bool interrupt_requested();

// Called once the program has ended its encode and removed its files after an interrupt,
// just before it exits. Windows ends the process as soon as the handler of a closing
// console returns; that handler waits for this (a few seconds at most).
void interrupt_handled();

} // namespace ondrel
