#include "compress_cli/console_win32.hpp"

#include "compress_cli/console.hpp"

#include "platform/text.hpp"

#include <atomic>
#include <chrono>
#include <thread>

namespace ondrel {
namespace {

std::atomic<bool> interrupted{false};
std::atomic<bool> handled{false};

bool is_console(HANDLE handle) {
    DWORD mode = 0;
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle, &mode);
}

void write_to(DWORD which, std::string_view utf8) {
    const HANDLE handle = ::GetStdHandle(which);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
        return;
    }
    if (is_console(handle)) {
        const std::u16string wide = utf8_to_utf16(utf8);
        const wchar_t* data = reinterpret_cast<const wchar_t*>(wide.data());
        std::size_t left = wide.size();
        while (left > 0) {
            DWORD written = 0;
            const DWORD chunk = static_cast<DWORD>(left < 16384 ? left : 16384);
            if (!::WriteConsoleW(handle, data, chunk, &written, nullptr) || written == 0) {
                return;
            }
            data += written;
            left -= written;
        }
        return;
    }
    // A file or a pipe gets the UTF-8 bytes themselves.
    while (!utf8.empty()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(utf8.size() < 65536 ? utf8.size() : 65536);
        if (!::WriteFile(handle, utf8.data(), chunk, &written, nullptr) || written == 0) {
            return;
        }
        utf8.remove_prefix(written);
    }
}

} // namespace

BOOL WINAPI on_console_event(DWORD event) {
    interrupted.store(true);
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) {
        return TRUE; // handled: the program ends the job and exits by itself
    }
    // The console is closing, the user logging off or Windows shutting down: the process ends
    // as soon as this returns, so it waits while the main thread stops ffmpeg and removes the
    // files (that thread then ends the process itself). Windows allows a closing console
    // about 5 s; the limit only matters where nothing ends the process.
    const auto deadline = std::chrono::steady_clock::now() + closing_wait_limit;
    while (!handled.load() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return TRUE;
}

bool standard_output_is_terminal() {
    return is_console(::GetStdHandle(STD_OUTPUT_HANDLE));
}

bool standard_error_is_terminal() {
    return is_console(::GetStdHandle(STD_ERROR_HANDLE));
}

void write_standard_output(std::string_view utf8) {
    write_to(STD_OUTPUT_HANDLE, utf8);
}

void write_standard_error(std::string_view utf8) {
    write_to(STD_ERROR_HANDLE, utf8);
}

void watch_for_interrupt() {
    ::SetConsoleCtrlHandler(on_console_event, TRUE);
}

bool interrupt_requested() {
    return interrupted.load();
}

void interrupt_handled() {
    handled.store(true);
}

} // namespace ondrel
