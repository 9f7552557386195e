// A folder of one run's own under the user's temporary folder, for files nobody else should
// see (a first pass's statistics, the pieces an estimate encodes), gone with everything in it
// on every way out.
#pragma once

#include "platform/result.hpp"

#include <filesystem>
#include <string_view>

namespace ondrel {

struct WorkFolder {
    std::filesystem::path path; // empty until made

    WorkFolder() = default;
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;
    ~WorkFolder();
};

// Makes `<temporary folder>/<prefix><random number>`, only where nothing exists yet, so that no
// other run's folder is ever taken over. Fails with the file system's error.
Status make_work_folder(std::string_view prefix, WorkFolder& folder);

} // namespace ondrel
