#include "compress_cli/work_folder.hpp"

#include "platform/files.hpp"

#include <random>
#include <string>
#include <system_error>

namespace ondrel {

WorkFolder::~WorkFolder() {
    if (!path.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
}

Status make_work_folder(std::string_view prefix, WorkFolder& folder) {
    std::random_device seed;
    std::mt19937_64 numbers(seed());
    std::error_code error;
    for (int attempt = 0; attempt < 16; ++attempt) {
        const std::filesystem::path candidate =
            temporary_folder() / (std::string(prefix) + std::to_string(numbers() % 1000000000));
        if (std::filesystem::create_directory(candidate, error)) {
            folder.path = candidate;
            return success();
        }
        if (error) {
            break; // the temporary folder itself is not usable
        }
    }
    return Failure{error ? error.message() : std::string("?")};
}

} // namespace ondrel
