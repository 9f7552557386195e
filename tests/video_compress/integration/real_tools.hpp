// The real ffmpeg and ffprobe: natively those on the PATH, under Wine the Windows builds
// kept in the build tree's cache (ONDREL_TOOLS_FROM_TESTS is the way there from the tests).
#pragma once

#include "platform/files.hpp"
#include "platform/process.hpp"
#include "test_programs.hpp"
#include "video_compress/tools.hpp"

#include <filesystem>
#include <string>

namespace ondrel::testing {

inline std::filesystem::path real_tool(const std::string& name) {
    const std::string relative = ONDREL_TOOLS_FROM_TESTS;
    if (!relative.empty()) {
        return test_programs_folder() / path_from_utf8(relative) /
               path_from_utf8(executable_file_name(name));
    }
    return find_tool(name).value_or(std::filesystem::path());
}

} // namespace ondrel::testing
