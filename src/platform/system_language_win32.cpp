#include "platform/system_language.hpp"

#include "platform/win32/wide.hpp"

#include <windows.h>

namespace ondrel {

std::optional<std::string> read_registry_language(RegistryScope scope) {
    wchar_t buffer[32] = {};
    DWORD size = sizeof buffer;
    const HKEY root = scope == RegistryScope::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    if (::RegGetValueW(root, L"Software\\Ondrel", L"Language", RRF_RT_REG_SZ, nullptr, buffer,
                       &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    const std::size_t units = size / sizeof(wchar_t);
    std::size_t length = 0;
    while (length < units && length < 32 && buffer[length] != L'\0') {
        ++length;
    }
    return narrow(std::wstring_view(buffer, length));
}

std::uint16_t user_ui_language_id() {
    return ::GetUserDefaultUILanguage();
}

} // namespace ondrel
