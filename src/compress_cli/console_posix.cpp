#include "compress_cli/console.hpp"

#include "platform/descriptor_posix.hpp"

#include <csignal>
#include <unistd.h>

namespace ondrel {
namespace {

volatile std::sig_atomic_t interrupted = 0;

extern "C" void on_interrupt(int) {
    interrupted = 1;
}

} // namespace

bool standard_output_is_terminal() {
    return ::isatty(STDOUT_FILENO) == 1;
}

bool standard_error_is_terminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

void write_standard_output(std::string_view utf8) {
    (void)write_all(STDOUT_FILENO, utf8); // a closed terminal or pipe: nothing more to show
}

void write_standard_error(std::string_view utf8) {
    (void)write_all(STDERR_FILENO, utf8);
}

void watch_for_interrupt() {
    struct sigaction action {};
    action.sa_handler = on_interrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    // A closed terminal (SIGHUP) and a polite kill or shutdown (SIGTERM) end the encode the
    // same way as Ctrl+C, so that no cut-short output is left behind.
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        ::sigaction(signal, &action, nullptr);
    }
    // A reader that goes away (ondrel-compress | head) must not kill us mid-encode.
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    ::sigaction(SIGPIPE, &ignore, nullptr);
}

bool interrupt_requested() {
    return interrupted != 0;
}

void interrupt_handled() {}

} // namespace ondrel
