#include "video_compress/cli/console.hpp"

#include "platform/text.hpp"

#include <atomic>
#include <windows.h>

namespace ondrel {
namespace {

std::atomic<bool> interrupted{false};

BOOL WINAPI on_console_event(DWORD event) {
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) {
        interrupted.store(true);
        return TRUE; // handled: the program ends the job and exits by itself
    }
    return FALSE;
}

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

bool standard_output_is_terminal() {
    return is_console(::GetStdHandle(STD_OUTPUT_HANDLE));
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

} // namespace ondrel
