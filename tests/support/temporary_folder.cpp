#include "support/temporary_folder.hpp"

#include "platform/files.hpp"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <random>
#include <vector>

#ifdef _WIN32
#include "platform/win32/wide.hpp"
#include <windows.h>
#endif

namespace ondrel::testing {

TemporaryFolder::TemporaryFolder(const std::string& name_hint) {
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    path = std::filesystem::temp_directory_path() /
           path_from_utf8("ondrel-" + name_hint + "-" + std::to_string(random()) + "-" +
                          std::to_string(++counter));
    std::filesystem::create_directories(path);
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

void set_environment(const std::string& name, const std::optional<std::string>& value) {
#ifdef _WIN32
    ::SetEnvironmentVariableW(widen(name).c_str(), value ? widen(*value).c_str() : nullptr);
#else
    if (value) {
        ::setenv(name.c_str(), value->c_str(), 1);
    } else {
        ::unsetenv(name.c_str());
    }
#endif
}

ScopedEnvironment::ScopedEnvironment(std::string variable, const std::optional<std::string>& value)
    : name(std::move(variable)), previous(environment_variable(name)) {
    set_environment(name, value);
}

ScopedEnvironment::~ScopedEnvironment() {
    set_environment(name, previous);
}

void write_bytes(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string list_folder(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(path_to_utf8(entry.path().filename()));
    }
    std::sort(names.begin(), names.end());
    std::string joined;
    for (const auto& n : names) {
        joined += (joined.empty() ? "" : " ") + n;
    }
    return joined;
}

} // namespace ondrel::testing
