// The table ondrel-compress ends with when it was given several files: one row per file, on
// standard error, so that a script reading standard output is not disturbed.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace ondrel {

enum class FileOutcome { Done, Failed, NotAnalysed };

struct FileSummary {
    std::filesystem::path input;
    std::filesystem::path output; // empty when no file was written
    std::optional<std::uint64_t> size_before;
    std::optional<std::uint64_t> size_after;
    double seconds = 0;
    FileOutcome outcome = FileOutcome::Failed;
};

// The rows under a heading, in the current language, each column as wide as its widest cell
// (counted in characters), sizes and times right-aligned; file names without their folders.
std::string summary_table(const std::vector<FileSummary>& rows);

} // namespace ondrel
