// The command line of ondrel-compress:
// ondrel-compress [--options TEXT] [--output-dir DIR] [--dry-run] [--estimate] [--encoders]
//                 [--lang en|fr] [--progress ndjson] [--target-size SIZE] FILE...
#pragma once

#include "i18n/language.hpp"
#include "platform/result.hpp"
#include "video_compress/options.hpp"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace ondrel {

// How the progress of a run is reported: as text for people, or as one JSON object a line on
// standard output for scripts (every text for people then goes to standard error).
enum class ProgressFormat { Text, Ndjson };

struct CliRequest {
    // From --options, read like the compress setting (bad values fall back the same way).
    CompressOptions options;
    std::vector<std::filesystem::path> files;
    // --output-dir; it takes the place of any dir= in --options.
    std::optional<std::filesystem::path> output_dir;
    bool dry_run = false;
    // Print the range of each output's size, measured on a few encoded pieces; write nothing.
    bool estimate = false;
    bool list_encoders = false;
    bool help = false;
    std::optional<Language> language;
    ProgressFormat progress = ProgressFormat::Text;
    // --target-size, in bytes: each output is made to fit in it.
    std::optional<std::uint64_t> target_size;
};

// The language asked for with a valid --lang, found before anything else is read, so that
// even a usage error speaks it.
std::optional<Language> requested_language(const std::vector<std::filesystem::path>& arguments);

// True when a valid --progress asks for JSON lines, found before anything else is read, so that
// a usage error is reported as one too.
bool json_progress_requested(const std::vector<std::filesystem::path>& arguments);

// The arguments after the program name, kept as paths so that file names reach the file
// system exactly as given. Fails with the usage error in the current language.
Result<CliRequest> parse_cli_arguments(const std::vector<std::filesystem::path>& arguments);

} // namespace ondrel
