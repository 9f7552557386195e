#include "video_compress/outcome_text.hpp"

#include "i18n/formatters.hpp"
#include "i18n/texts_compression_job.hpp"
#include "video_compress/output_path.hpp"

#include <type_traits>

namespace ondrel {

std::string outcome_text(const JobOutcome& outcome) {
    return std::visit(
        [](const auto& ended) -> std::string {
            using Kind = std::decay_t<decltype(ended)>;
            if constexpr (std::is_same_v<Kind, outcome::Done>) {
                return fill(tr(texts::job_done), {format_duration(ended.elapsed_seconds)});
            } else if constexpr (std::is_same_v<Kind, outcome::Invalid>) {
                return fill(tr(texts::job_invalid), {format_duration(ended.elapsed_seconds)});
            } else if constexpr (std::is_same_v<Kind, outcome::Failed>) {
                const auto& text = ended.partial_file_removed ? texts::job_failed_partial_removed
                                                              : texts::job_failed;
                return fill(tr(text), {std::to_string(ended.exit_code),
                                       format_duration(ended.elapsed_seconds)});
            } else if constexpr (std::is_same_v<Kind, outcome::Error>) {
                if (ended.complete) {
                    return ended.text;
                }
                return fill(tr(texts::could_not_launch_ffmpeg), {ended.text});
            } else {
                return std::string(tr(texts::job_canceled));
            }
        },
        outcome);
}

bool outcome_succeeded(const JobOutcome& outcome) {
    return std::holds_alternative<outcome::Done>(outcome);
}

std::string conclude_job(const JobOutcome& outcome, const std::filesystem::path& output_path) {
    if (output_path.empty()) {
        return outcome_text(outcome);
    }
    if (std::holds_alternative<outcome::Canceled>(outcome)) {
        const Status removed = remove_output_files(output_path);
        if (!removed) {
            return outcome_text(outcome) + " " + removed.error();
        }
    } else if (std::holds_alternative<outcome::Error>(outcome)) {
        // ffmpeg may still hold its partial file, whose name says what it is; the empty file
        // that reserved the output's name need not stay to look like a result.
        release_reservation(output_path);
    }
    return outcome_text(outcome);
}

} // namespace ondrel
