#include "compress_cli/cli_report.hpp"

#include "compress_cli/console.hpp"
#include "compress_cli/json_lines.hpp"
#include "compress_cli/progress_display.hpp"
#include "i18n/texts_compression.hpp"
#include "video_compress/outcome_text.hpp"
#include "video_compress/output_path.hpp"

#include <deque>

namespace ondrel {
namespace {

// How often a wait looks at the Ctrl+C flag.
constexpr std::chrono::milliseconds interrupt_poll{100};
// ffmpeg's last lines, shown when an encode fails.
constexpr std::size_t kept_log_lines = 20;

// The end of a job that the user (or the system) interrupted. An encode that had ended by
// itself and passed its check keeps its file; anything else leaves neither the output nor
// its partial file (ffmpeg may have seen the interrupt too and ended early on its own).
FileResult conclude_interrupted(const Report& report, const JobOutcome& outcome,
                                const std::filesystem::path& output_path) {
    if (outcome_succeeded(outcome)) {
        say(report, indent + outcome_text(outcome));
        return FileResult::Interrupted;
    }
    const Status removed = remove_output_files(output_path);
    if (std::holds_alternative<outcome::Error>(outcome)) {
        complain(indent + outcome_text(outcome)); // ffmpeg could not be stopped
    } else {
        say(report, indent + outcome_text(outcome::Canceled{}));
    }
    if (!removed) {
        complain(indent + removed.error());
    }
    return FileResult::Interrupted;
}

} // namespace

void show(const Report& report, std::string_view text) {
    if (report.ndjson) {
        write_standard_error(text);
    } else {
        write_standard_output(text);
    }
}
void say(const Report& report, std::string_view text) {
    show(report, std::string(text) + "\n");
}
void complain(std::string_view text) {
    write_standard_error(std::string(text) + "\n");
}
void fail(Report& report, std::string_view text) {
    report.failure = std::string(text);
    complain(indent + report.failure);
}
void emit(const Report& report, std::string_view line) {
    if (report.ndjson) {
        write_standard_output(line);
    }
}

FileResult follow_job(Report& report, CompressJob& job, const std::filesystem::path& output_path,
                      double duration) {
    const auto started = std::chrono::steady_clock::now();
    ProgressDisplay display;
    display.live = report.ndjson ? standard_error_is_terminal() : standard_output_is_terminal();
    std::deque<std::string> last_lines;
    bool cancel_sent = false;
    for (;;) {
        if (interrupt_requested() && !cancel_sent) {
            // A cancel that fails comes back as the job's Error outcome, shown below; one that
            // finds ffmpeg ended already lets the job's own outcome come.
            (void)cancel_job(job);
            cancel_sent = true;
        }
        Received<CompressMessage> received = receive_for(job.messages, interrupt_poll);
        if (received.status == ReceiveStatus::Empty) {
            continue;
        }
        if (received.status == ReceiveStatus::Disconnected) {
            show(report, progress_finish(display));
            fail(report, tr(texts::cli_ended_without_outcome));
            if (interrupt_requested()) {
                (void)remove_output_files(output_path);
                return FileResult::Interrupted;
            }
            return FileResult::Failed;
        }
        CompressMessage& message = *received.message;
        if (const auto* progress = std::get_if<message::Progress>(&message)) {
            const std::chrono::duration<double> elapsed =
                std::chrono::steady_clock::now() - started;
            show(report, progress_update(display, *progress, elapsed.count(), indent));
            emit(report, json_progress_line(*progress, duration));
        } else if (auto* log = std::get_if<message::Log>(&message)) {
            if (last_lines.size() == kept_log_lines) {
                last_lines.pop_front();
            }
            last_lines.push_back(std::move(log->line));
        } else if (const auto* finished = std::get_if<message::Finished>(&message)) {
            show(report, progress_finish(display));
            if (interrupt_requested()) {
                return conclude_interrupted(report, finished->outcome, output_path);
            }
            const std::string text = conclude_job(finished->outcome, output_path);
            if (outcome_succeeded(finished->outcome)) {
                say(report, indent + text);
                return FileResult::Done;
            }
            std::string details;
            for (const std::string& line : last_lines) {
                details += indent + indent + line + "\n";
            }
            write_standard_error(details);
            fail(report, text);
            return FileResult::Failed;
        }
    }
}

} // namespace ondrel
