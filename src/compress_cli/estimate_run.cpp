#include "compress_cli/estimate_run.hpp"

#include "compress_cli/cli_report.hpp"
#include "compress_cli/console.hpp"
#include "compress_cli/json_lines.hpp"
#include "compress_cli/work_folder.hpp"
#include "i18n/formatters.hpp"
#include "i18n/texts_compression.hpp"
#include "platform/files.hpp"
#include "video_compress/ffmpeg_args.hpp"
#include "video_compress/job.hpp"
#include "video_compress/outcome_text.hpp"
#include "video_compress/output_path.hpp"
#include "video_compress/sample_estimate.hpp"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <deque>
#include <system_error>

namespace ondrel {
namespace {

using namespace std::chrono_literals;

// How often a wait looks at the Ctrl+C flag, and how often the job looks at ffmpeg.
constexpr auto interrupt_poll = 100ms;
// ffmpeg's last lines, shown when a piece cannot be encoded.
constexpr std::size_t kept_log_lines = 20;

enum class SampleStatus { Done, Failed, Interrupted };

struct SampleRun {
    SampleStatus status = SampleStatus::Failed;
    SampleResult result;
    std::string failure;
    std::deque<std::string> last_lines;
};

// The encode's own arguments, audio left out (it is calculated), cut to the piece: seeking
// before "-i" is fast and still starts the output exactly at `start`.
std::vector<std::string> sample_arguments(const CompressOptions& options, const MediaInfo& media,
                                          const EncoderSupport& encoders, const SampleSpan& span,
                                          bool whole_file, const std::filesystem::path& output) {
    CompressOptions silent = options;
    silent.audio = AudioMode::None;
    std::vector<std::string> arguments = build_ffmpeg_args(
        silent, media, encoders.encoders, encoders.hwaccel_auto, partial_output_path(output));
    if (!whole_file) {
        const auto milliseconds = [](double seconds) {
            return std::to_string(std::llround(seconds * 1000)) + "ms";
        };
        const auto input = std::find(arguments.begin(), arguments.end(), "-i");
        arguments.insert(input, {"-ss", milliseconds(span.start), "-t", milliseconds(span.length)});
    }
    return arguments;
}

// Encodes one piece into `output` and follows it to its end, canceling it at Ctrl+C.
SampleRun encode_sample(const JobLaunch& launch, double length) {
    SampleRun run;
    Result<CompressJob> started = launch_job(launch);
    if (!started) {
        run.failure = started.error();
        return run;
    }
    CompressJob& job = started.value();
    std::optional<std::int64_t> encoded_us;
    bool cancel_sent = false;
    for (;;) {
        if (interrupt_requested() && !cancel_sent) {
            // A cancel that fails still ends in the job's outcome, awaited below.
            (void)cancel_job(job);
            cancel_sent = true;
        }
        Received<CompressMessage> received = receive_for(job.messages, interrupt_poll);
        if (received.status == ReceiveStatus::Empty) {
            continue;
        }
        if (received.status == ReceiveStatus::Disconnected) {
            run.status = interrupt_requested() ? SampleStatus::Interrupted : SampleStatus::Failed;
            run.failure = tr(texts::cli_ended_without_outcome);
            return run;
        }
        CompressMessage& message = *received.message;
        if (const auto* progress = std::get_if<message::Progress>(&message)) {
            encoded_us = progress->out_time_us;
        } else if (auto* log = std::get_if<message::Log>(&message)) {
            if (run.last_lines.size() == kept_log_lines) {
                run.last_lines.pop_front();
            }
            run.last_lines.push_back(std::move(log->line));
        } else if (const auto* finished = std::get_if<message::Finished>(&message)) {
            if (interrupt_requested()) {
                run.status = SampleStatus::Interrupted;
                return run;
            }
            if (!outcome_succeeded(finished->outcome)) {
                run.failure = outcome_text(finished->outcome);
                return run;
            }
            std::error_code error;
            const std::uintmax_t bytes = std::filesystem::file_size(launch.output_path, error);
            if (error) {
                run.failure = error.message();
                return run;
            }
            // A video whose real end comes before its stated duration gives a shorter piece.
            const double encoded = encoded_us ? static_cast<double>(*encoded_us) / 1e6 : length;
            run.result = SampleResult{bytes, encoded < 0.9 * length ? encoded : length};
            run.status = SampleStatus::Done;
            return run;
        }
    }
}

void show(bool ndjson, std::string_view text) {
    if (ndjson) {
        write_standard_error(text);
    } else {
        write_standard_output(text);
    }
}

// The failure shown under the file's name, with ffmpeg's last lines when there are any.
EstimateRun failed(const std::filesystem::path& given, std::string_view reason,
                   const std::deque<std::string>& last_lines = {}) {
    EstimateRun run{EstimateStatus::Failed, fill(tr(texts::cli_cannot_estimate), {reason})};
    std::string text = path_text(given) + "\n";
    for (const std::string& line : last_lines) {
        text += indent + indent + line + "\n";
    }
    write_standard_error(text + indent + run.failure + "\n");
    return run;
}

// On a terminal, which piece is being encoded, on a line of its own that the next one (or
// the range) takes the place of: a long video's estimate is not a silent wait.
struct PieceLine {
    bool live = standard_error_is_terminal();
    std::size_t width = 0; // bytes of the line on screen, enough to blank it out
};

void show_piece(PieceLine& piece, const std::filesystem::path& given, std::size_t number,
                std::size_t count) {
    if (!piece.live) {
        return;
    }
    const std::string text =
        fill(tr(texts::cli_estimate_piece),
             {path_text(given), std::to_string(number), std::to_string(count)});
    write_standard_error(
        "\r" + text + std::string(piece.width > text.size() ? piece.width - text.size() : 0, ' '));
    piece.width = std::max(piece.width, text.size());
}

void clear_piece(PieceLine& piece) {
    if (piece.live && piece.width > 0) {
        write_standard_error("\r" + std::string(piece.width, ' ') + "\r");
        piece.width = 0;
    }
}

} // namespace

EstimateRun estimate_file(const CliRequest& request, const std::filesystem::path& ffmpeg,
                          const std::filesystem::path& ffprobe, const std::filesystem::path& given,
                          const MediaInfo& media, const EncoderSupport& encoders) {
    const SamplePlan plan = plan_samples(media.duration);
    if (plan.samples.empty()) {
        return failed(given, tr(texts::cli_unknown_duration));
    }
    // The pieces are encoded into a folder of this run's own.
    WorkFolder folder;
    if (!make_work_folder("ondrel-estimate-", folder)) {
        return failed(given,
                      fill(tr(texts::cli_no_sample_folder), {path_text(temporary_folder())}));
    }
    const std::string extension(container_extension(request.options.container));
    std::vector<SampleResult> results;
    PieceLine piece;
    for (std::size_t i = 0; i < plan.samples.size(); ++i) {
        const SampleSpan& span = plan.samples[i];
        show_piece(piece, given, i + 1, plan.samples.size());
        const std::filesystem::path output =
            folder.path / ("sample-" + std::to_string(i + 1) + "." + extension);
        const JobLaunch launch{
            ffmpeg,
            ffprobe,
            sample_arguments(request.options, media, encoders, span, plan.whole_file, output),
            output,
            span.length,
            job_poll};
        const SampleRun run = encode_sample(launch, span.length);
        clear_piece(piece);
        if (run.status == SampleStatus::Interrupted) {
            return EstimateRun{EstimateStatus::Interrupted, {}};
        }
        if (run.status == SampleStatus::Failed) {
            return failed(given, run.failure, run.last_lines);
        }
        results.push_back(run.result);
        // Each piece is weighed once; the folder need not hold them all.
        std::error_code ignored;
        std::filesystem::remove(output, ignored);
    }
    const std::optional<SizeRange> range =
        extrapolate_size(results, media.duration, added_bytes(request.options, media));
    if (!range) {
        return failed(given, tr(texts::cli_unknown_duration));
    }
    const std::string low = format_size(range->low);
    const std::string high = format_size(range->high);
    const std::string line =
        plan.whole_file ? fill(tr(texts::cli_estimate_whole_line), {path_text(given), low, high})
                        : fill(tr(texts::cli_estimate_line),
                               {path_text(given), low, high, std::to_string(plan.samples.size()),
                                format_duration(sample_seconds)});
    const bool ndjson = request.progress == ProgressFormat::Ndjson;
    show(ndjson, line + "\n");
    if (ndjson) {
        write_standard_output(
            json_estimate_line(given, range->low, range->high, plan.samples.size()));
    }
    return EstimateRun{EstimateStatus::Done, {}};
}

} // namespace ondrel
