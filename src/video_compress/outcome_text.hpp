// How the end of a job reads on screen.
#pragma once

#include "video_compress/compress_message.hpp"

#include <filesystem>
#include <string>

namespace ondrel {

// The text of an outcome in the current language: "Done in 2 min 05 s.", "Canceled." ...
std::string outcome_text(const JobOutcome& outcome);

bool outcome_succeeded(const JobOutcome& outcome);

// What the receiver of a job's Finished does: on Canceled it deletes the job's output and
// partial file (the job itself never does), on Error the output while it is still the empty
// reservation; then it gives the outcome's text, followed by what could not be deleted.
std::string conclude_job(const JobOutcome& outcome, const std::filesystem::path& output_path);

} // namespace ondrel
