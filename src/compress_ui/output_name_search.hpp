// The next compression's output name, looked for away from the GUI thread: on a slow or lost
// network folder the look-up (up to 9,999 names) can take long, and the window must answer
// meanwhile. Only the latest question counts; an answer to an older one is dropped.
#pragma once

#include "platform/result.hpp"
#include "video_compress/media_info.hpp"
#include "video_compress/options.hpp"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>

namespace ondrel {

struct OutputNameShared;

struct OutputNameSearch {
    // With the worker; absent until the first question.
    std::shared_ptr<OutputNameShared> shared;
    // The latest question, and its number.
    std::optional<std::pair<MediaInfo, CompressOptions>> asked;
    std::uint64_t asked_serial = 0;
    bool answered = false;

    OutputNameSearch() = default;
    OutputNameSearch(const OutputNameSearch&) = delete;
    OutputNameSearch& operator=(const OutputNameSearch&) = delete;
    // Lets the worker end once its current look-up returns; never waits for it.
    ~OutputNameSearch();
};

// Asks for the output name of these choices, unless they are the latest question already.
void ask_output_name(OutputNameSearch& search, const MediaInfo& media,
                     const CompressOptions& options);

// Makes the next question a new one even when the choices are the same (the folder changed).
void forget_output_name(OutputNameSearch& search);

// The answer to the latest question, once, when it is in; never waits.
std::optional<Result<std::filesystem::path>> take_output_name(OutputNameSearch& search);

// True while the latest question has no answer yet.
bool output_name_pending(const OutputNameSearch& search);

// The look-up itself; replaceable so tests can hold it up. Null puts output_path_for back.
using OutputNameFinder = Result<std::filesystem::path> (*)(const MediaInfo&,
                                                           const CompressOptions&);
void set_output_name_finder(OutputNameFinder finder);

} // namespace ondrel
