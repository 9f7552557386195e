#include "dll_handle_win32.hpp"

namespace bridge {
namespace {

// Wine's exports for its own path mapping; absent on Windows itself.
using UnixFileName = char*(CDECL*)(const wchar_t*);
using DosFileName = wchar_t*(CDECL*)(const char*);

template <class Function> Function wine_function(const char* name) {
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    // Through void*, as the address is of a function with another signature than FARPROC's.
    void* address =
        kernel != nullptr ? reinterpret_cast<void*>(GetProcAddress(kernel, name)) : nullptr;
    return reinterpret_cast<Function>(address);
}

} // namespace

std::optional<std::string> unix_path(std::string_view windows_path) {
    static const auto to_unix = wine_function<UnixFileName>("wine_get_unix_file_name");
    if (to_unix == nullptr) {
        return std::nullopt;
    }
    char* converted = to_unix(ondrel::widen(windows_path).c_str());
    if (converted == nullptr) {
        return std::nullopt;
    }
    std::string result(converted);
    HeapFree(GetProcessHeap(), 0, converted);
    return result;
}

std::optional<std::string> windows_path(std::string_view unix_path) {
    static const auto to_dos = wine_function<DosFileName>("wine_get_dos_file_name");
    if (to_dos == nullptr) {
        return std::nullopt;
    }
    wchar_t* converted = to_dos(std::string(unix_path).c_str());
    if (converted == nullptr) {
        return std::nullopt;
    }
    std::string result = ondrel::narrow(converted);
    HeapFree(GetProcessHeap(), 0, converted);
    return result;
}

} // namespace bridge
