#include "platform/shared_library.hpp"

#include "platform/text.hpp"

#include <dlfcn.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace ondrel {

Result<SharedLibrary> load_shared_library(std::string_view path) {
    const std::string name(path);
    void* module = ::dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        const char* reason = ::dlerror();
        return Failure{reason != nullptr ? repair_utf8(reason) : "dlopen failed"};
    }
    return SharedLibrary{module};
}

void* find_library_function(SharedLibrary library, const char* name) {
    return ::dlsym(library.module, name);
}

std::string executable_path() {
    std::vector<char> buffer(4096);
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) {
            return {};
        }
        if (static_cast<std::size_t>(length) < buffer.size()) {
            return repair_utf8(std::string_view(buffer.data(), static_cast<std::size_t>(length)));
        }
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace ondrel
