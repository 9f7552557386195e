#include "platform/shared_library.hpp"

#include "platform/files.hpp"
#include "platform/win32/wide.hpp"

#include <windows.h>

#include <vector>

namespace ondrel {

Result<SharedLibrary> load_shared_library(std::string_view path) {
    HMODULE module = ::LoadLibraryW(widen(path).c_str());
    if (module == nullptr) {
        return Failure{last_os_error_text()};
    }
    return SharedLibrary{module};
}

void* find_library_function(SharedLibrary library, const char* name) {
    return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(library.module), name));
}

std::string executable_path() {
    // The longest path Windows can hand out, so the name is never cut short.
    std::vector<wchar_t> buffer(32768);
    const DWORD length =
        ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    return narrow(std::wstring_view(buffer.data(), length));
}

} // namespace ondrel
