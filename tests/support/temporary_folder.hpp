// A fresh folder for one test, removed with everything in it when the test ends.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace ondrel::testing {

struct TemporaryFolder {
    std::filesystem::path path;

    explicit TemporaryFolder(const std::string& name_hint = "test");
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    ~TemporaryFolder();
};

// Sets (or, with nothing, removes) an environment variable and puts the old value back.
struct ScopedEnvironment {
    std::string name;
    std::optional<std::string> previous;

    ScopedEnvironment(std::string variable, const std::optional<std::string>& value);
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
    ~ScopedEnvironment();
};

void set_environment(const std::string& name, const std::optional<std::string>& value);

// Writes `bytes` as the whole of `file`.
void write_bytes(const std::filesystem::path& file, const std::string& bytes);

// Every file name in the folder, sorted.
std::string list_folder(const std::filesystem::path& folder);

} // namespace ondrel::testing
