#include "platform/files.hpp"

#include "platform/win32/handles.hpp"
#include "platform/win32/wide.hpp"

#include <atomic>
#include <string>
#include <windows.h>

namespace ondrel {
namespace {

std::atomic<unsigned> temporary_counter{0};

// Antivirus scanners and indexers open new files for a moment; the replace is retried
// while they do.
bool is_transient_sharing_error(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED ||
           error == ERROR_LOCK_VIOLATION;
}

bool is_read_only(const std::filesystem::path& file) {
    const DWORD attributes = ::GetFileAttributesW(file.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

bool write_all(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk =
            bytes.size() > 0x40000000u ? 0x40000000u : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

// Folders are limited to MAX_PATH minus room for an 8.3 file name; files to MAX_PATH with
// the terminating null.
constexpr std::size_t longest_plain_path = MAX_PATH - 12 - 1;

bool is_separator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// "C:\..." or "\\server\share\...": a path that names the same place whatever the current
// folder and drive are.
bool is_full_path(const std::wstring& text) {
    if (text.size() >= 3 && text[1] == L':' && is_separator(text[2])) {
        return true;
    }
    return text.size() >= 2 && is_separator(text[0]) && is_separator(text[1]);
}

} // namespace

std::filesystem::path extended_length_path(const std::filesystem::path& path) {
    const std::wstring& text = path.native();
    if (text.size() <= longest_plain_path || !is_full_path(text) || text.starts_with(LR"(\\?\)") ||
        text.starts_with(LR"(\\.\)")) {
        return path;
    }
    const DWORD needed = ::GetFullPathNameW(text.c_str(), 0, nullptr, nullptr);
    if (needed == 0) {
        return path;
    }
    std::wstring full(needed, L'\0');
    const DWORD written = ::GetFullPathNameW(text.c_str(), needed, full.data(), nullptr);
    if (written == 0 || written >= needed) {
        return path;
    }
    full.resize(written);
    if (full.starts_with(LR"(\\)")) {
        return std::filesystem::path(LR"(\\?\UNC\)" + full.substr(2));
    }
    return std::filesystem::path(LR"(\\?\)" + full);
}

std::optional<std::string> read_file_bytes(const std::filesystem::path& path) {
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return std::nullopt;
    }
    std::string bytes;
    char buffer[16384];
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr)) {
            return std::nullopt;
        }
        if (read == 0) {
            return bytes;
        }
        bytes.append(buffer, read);
    }
}

Status replace_file_contents(const std::filesystem::path& target, std::string_view bytes) {
    // A file the user made read-only is refused, as writing into it would be. Renaming over it
    // would bypass that on some systems (Wine among them).
    if (is_read_only(target)) {
        return Failure{os_error_text(ERROR_ACCESS_DENIED)};
    }
    std::filesystem::path temporary;
    UniqueFile file;
    for (int attempt = 0; attempt < 16 && !file; ++attempt) {
        temporary = target;
        temporary += L"." + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                     std::to_wstring(++temporary_counter) + L".tmp";
        file.reset(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file && ::GetLastError() != ERROR_FILE_EXISTS) {
            break;
        }
    }
    if (!file) {
        return Failure{last_os_error_text()};
    }
    if (!write_all(file.get(), bytes) || !::FlushFileBuffers(file.get())) {
        const std::string text = last_os_error_text();
        file.reset();
        ::DeleteFileW(temporary.c_str());
        return Failure{text};
    }
    file.reset();
    DWORD error = ERROR_SUCCESS;
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (::MoveFileExW(temporary.c_str(), target.c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return success();
        }
        error = ::GetLastError();
        if (!is_transient_sharing_error(error) || is_read_only(target)) {
            break; // a read-only file stays so: waiting would only stall every save
        }
        ::Sleep(40 * (attempt + 1));
    }
    ::DeleteFileW(temporary.c_str());
    return Failure{os_error_text(static_cast<int>(error))};
}

std::optional<std::string> environment_variable(std::string_view name) {
    const std::wstring wide_name = widen(name);
    std::wstring value(256, L'\0');
    for (;;) {
        ::SetLastError(ERROR_SUCCESS);
        const DWORD n = ::GetEnvironmentVariableW(wide_name.c_str(), value.data(),
                                                  static_cast<DWORD>(value.size()));
        if (n == 0) {
            if (::GetLastError() == ERROR_ENVVAR_NOT_FOUND) {
                return std::nullopt;
            }
            return std::string();
        }
        if (n < value.size()) {
            value.resize(n);
            return narrow(value);
        }
        value.resize(n);
    }
}

std::filesystem::path temporary_folder() {
    // GetTempPath2W (Windows 11 and recent Windows 10) exists only on newer systems, so it is
    // looked up at run time.
    using TempPathFunction = DWORD(WINAPI*)(DWORD, LPWSTR);
    static const auto get_temp_path_2 = reinterpret_cast<TempPathFunction>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "GetTempPath2W")));
    // A folder past MAX_PATH is possible where long paths are enabled: the buffer grows to the
    // size the call asks for.
    std::wstring buffer(MAX_PATH + 1, L'\0');
    for (int attempt = 0; attempt < 4; ++attempt) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD n = get_temp_path_2 != nullptr ? get_temp_path_2(size, buffer.data())
                                                   : ::GetTempPathW(size, buffer.data());
        if (n == 0) {
            break;
        }
        if (n < size) {
            buffer.resize(n);
            return std::filesystem::path(buffer);
        }
        buffer.resize(n);
    }
    return std::filesystem::path(L".");
}

std::string os_error_text(int code) {
    wchar_t* message = nullptr;
    const DWORD n = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<LPWSTR>(&message), 0, nullptr);
    const LocalMemory owner(message);
    std::wstring text = n != 0 && message != nullptr ? std::wstring(message, n) : std::wstring();
    // FormatMessage ends its texts with a line break.
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
        text.pop_back();
    }
    if (text.empty()) {
        text = L"Unknown error";
    }
    return narrow(text) + " (os error " + std::to_string(code) + ")";
}

std::string last_os_error_text() {
    return os_error_text(static_cast<int>(::GetLastError()));
}

} // namespace ondrel
