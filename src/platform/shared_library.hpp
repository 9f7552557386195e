// Loading a shared library at run time and finding its functions. A library loaded here is
// never unloaded: it stays until the process ends.
#pragma once

#include "platform/result.hpp"

#include <string>
#include <string_view>

namespace ondrel {

// The operating system's module handle, opaque to portable code.
struct SharedLibrary {
    void* module = nullptr;
};

// Loads the library at the UTF-8 path. A name without a folder leaves the search to the
// system. The failure text is the operating system's reason.
Result<SharedLibrary> load_shared_library(std::string_view path);

// The address of an exported function, or null when the library has no such export.
void* find_library_function(SharedLibrary library, const char* name);

// The running program's own file, as UTF-8 (invalid sequences replaced).
std::string executable_path();

} // namespace ondrel
